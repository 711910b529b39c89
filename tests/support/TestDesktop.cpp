#include "tests/support/TestDesktop.h"

#include "platform/runtime/Handles.h"
#include "platform/runtime/WinApi.h"

#include <cstdio>
#include <string>

namespace {

constexpr const wchar_t* DesktopSizesKey = L"Software\\Wine\\Explorer\\Desktops";
constexpr const wchar_t* DesktopVariable = L"SKARNIVEL_TEST_DESKTOP";

// The desktop of the second run. Wine starts new threads on the default
// desktop rather than on their process's, so each thread moves over as it
// begins, before it can own a window.
HDESK GTestDesktop = nullptr;

void NTAPI MoveThreadToTestDesktop(PVOID, DWORD AReason, PVOID) {
  if (AReason == DLL_THREAD_ATTACH && GTestDesktop) SetThreadDesktop(GTestDesktop);
}

// Run by the loader for every thread that starts.
[[gnu::section(".CRT$XLB"), gnu::used]] const PIMAGE_TLS_CALLBACK GTestDesktopThreadCallback =
    MoveThreadToTestDesktop;

}  // namespace

bool RunOnOwnDesktop(int& AExitCode) {
  if (GetEnvironmentVariableW(DesktopVariable, nullptr, 0) > 0) {
    GTestDesktop = GetThreadDesktop(GetCurrentThreadId());
    return false;
  }

  const std::wstring name = L"SkTest-" + std::to_wstring(GetCurrentProcessId());
  // Wine's explorer needs a size for a named desktop; without one every
  // window operation on it waits for a desktop window that never comes.
  static constexpr wchar_t size[] = L"1280x1024";
  if (RegSetKeyValueW(HKEY_CURRENT_USER, DesktopSizesKey, name.c_str(), REG_SZ, size, sizeof size) !=
      ERROR_SUCCESS)
    return false;
  {
    const TUniqueHandle<TFreedBy<HDESK, &CloseDesktop>> desktop(
        CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    if (!desktop) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopSizesKey, name.c_str());
      return false;
    }
    SetEnvironmentVariableW(DesktopVariable, name.c_str());

    // The second run ends with this one, also when the test runner kills it.
    const TKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job) SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = GetCommandLineW();
    std::wstring fullName = L"WinSta0\\" + name;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = fullName.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &info)) {
      std::fprintf(stderr, "cannot start the tests on their own desktop (error %lu)\n", GetLastError());
      AExitCode = 1;
    } else {
      const TKernelHandle process(info.hProcess);
      const TKernelHandle thread(info.hThread);
      if (job) AssignProcessToJobObject(job.Get(), process.Get());
      ResumeThread(thread.Get());
      WaitForSingleObject(process.Get(), INFINITE);
      DWORD code = 1;
      GetExitCodeProcess(process.Get(), &code);
      AExitCode = static_cast<int>(code);
    }
  }
  RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopSizesKey, name.c_str());
  return true;
}
