#include "tests/app/AppTestSupport.h"

#include "platform/runtime/Handles.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

void RemoveTree(const String& APath) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((APath + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const String name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const String full = APath + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(APath.c_str());
}

}  // namespace

TScratchDir::TScratchDir() {
  wchar_t base[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  FPath = String(base) + L"sk_app_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
  RemoveTree(FPath);
  CreateDirectoryW(FPath.c_str(), nullptr);
}

TScratchDir::~TScratchDir() { RemoveTree(FPath); }

String TScratchDir::Write(const String& AName, const std::string& ABytes) const {
  const String name = File(AName);
  ForceDirectories(ExtractFileDir(name));
  const TKernelHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  EXPECT_TRUE(file) << "cannot write " << UTF8Encode(name);
  if (file) {
    DWORD n = 0;
    WriteFile(file.Get(), ABytes.data(), static_cast<DWORD>(ABytes.size()), &n, nullptr);
  }
  return name;
}

std::string HexRecord(int AType, int AOffset, const std::vector<std::uint8_t>& AData) {
  std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(AData.size()), static_cast<std::uint8_t>(AOffset >> 8),
                                  static_cast<std::uint8_t>(AOffset), static_cast<std::uint8_t>(AType)};
  bytes.insert(bytes.end(), AData.begin(), AData.end());
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) sum = static_cast<std::uint8_t>(sum + b);
  bytes.push_back(static_cast<std::uint8_t>(-sum));
  std::string line = ":";
  char hex[3];
  for (std::uint8_t b : bytes) {
    std::snprintf(hex, sizeof hex, "%02X", b);
    line += hex;
  }
  return line;
}

std::string HexRecord(int AType, int AOffset, std::initializer_list<std::uint8_t> AData) {
  return HexRecord(AType, AOffset, std::vector<std::uint8_t>(AData));
}

std::string HexEnd() { return ":00000001FF"; }

TModalResult TDialogRecorder::MessageDlg(const TMessageDlgParams& AParams) {
  Dialogs.push_back(AParams);
  if (WhileOpen) WhileOpen();
  return AnswerDlg;
}

int TDialogRecorder::MessageBox(const TMessageBoxParams& AParams) {
  Boxes.push_back(AParams);
  if (WhileOpen) WhileOpen();
  return AnswerBox;
}

bool TDialogRecorder::ExecuteOpenDialog(TOpenDialog* ADialog) {
  OpenTitles.push_back(ADialog->Title());
  if (ChosenFile.empty()) return false;
  ADialog->SetResult({ChosenFile}, 1, false, false);
  return true;
}

TRecordedDialogs::TRecordedDialogs() {
  FRecorder = New<TDialogRecorder>();
  FPrevious = SetDialogProvider(FRecorder);
  TDialogRecorder* recorder = FRecorder;
  FPreviousBeep = SetBeepHook([recorder] { ++recorder->Beeps; });
}

TRecordedDialogs::~TRecordedDialogs() {
  SetBeepHook(FPreviousBeep);
  SetDialogProvider(FPrevious);
  FreeAndNil(FRecorder);
}

std::string ReadFileBytes(const String& AFileName) {
  std::string bytes;
  const TKernelHandle file(
      CreateFileW(AFileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n) bytes.append(buffer, n);
  return bytes;
}

// ---------------------------------------------------------------------------
// The real program

namespace {

// The program beside the test programs' folder.
String ProgramFile() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return ExtractFilePath(ExcludeTrailingPathDelimiter(ExtractFilePath(path))) + L"Skarnivel.exe";
}

}  // namespace

TRunningProgram::TRunningProgram(const String& ADirectory) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  String command = L"\"" + ProgramFile() + L"\"";
  EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, ADirectory.c_str(),
                             &startup, &FInfo))
      << "cannot start " << UTF8Encode(ProgramFile());
  if (FInfo.hProcess) WaitForInputIdle(FInfo.hProcess, 10000);
}

TRunningProgram::~TRunningProgram() {
  if (!FInfo.hProcess) return;
  if (WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(FInfo.hProcess, 99);
  CloseHandle(FInfo.hThread);
  CloseHandle(FInfo.hProcess);
}

HWND TRunningProgram::FindWindow(const String& ATitle, const wchar_t* AClass, unsigned ATimeoutMs) {
  struct TSearch {
    DWORD Process;
    const String* Title;
    const wchar_t* Class;
    HWND Found;
  } search{FInfo.dwProcessId, &ATitle, AClass, nullptr};
  const std::uint64_t start = TickCount();
  do {
    EnumWindows(
        [](HWND AWnd, LPARAM AParam) -> BOOL {
          auto* s = reinterpret_cast<TSearch*>(AParam);
          DWORD process = 0;
          GetWindowThreadProcessId(AWnd, &process);
          wchar_t text[256] = {};
          wchar_t cls[256] = {};
          GetWindowTextW(AWnd, text, 256);
          GetClassNameW(AWnd, cls, 256);
          if (process == s->Process && IsWindowVisible(AWnd) && *s->Title == text &&
              (!s->Class || String(cls) == s->Class)) {
            s->Found = AWnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.Found) return search.Found;
  } while (WaitForSingleObject(FInfo.hProcess, 50) == WAIT_TIMEOUT && TicksSince(start) < ATimeoutMs);
  return nullptr;
}

int TRunningProgram::WaitForExit(unsigned ATimeoutMs) {
  if (WaitForSingleObject(FInfo.hProcess, ATimeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(FInfo.hProcess, &code);
  return static_cast<int>(code);
}
