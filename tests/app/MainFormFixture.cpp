#include "tests/app/MainFormFixture.h"

#include "app/UDefines.h"
#include "app/serial/BlockSerial.h"
#include "components/settings/RzCommon.h"
#include "platform/runtime/Handles.h"

void MainFormFixture::SetUp() {
  FSavedDir = GetCurrentDir();
  Connected = false;
  FlashedOK = false;
  FlasherState = StateIdle;
  DeviceFamily = 0;
  Application()->ResetTerminated();
  DrainQuit();
  Application()->CreateForm(MainForm);
  Form = MainForm;
  ASSERT_EQ(Application()->MainForm(), Form);
  // Settings go to the scratch directory, not where the tests run.
  Form->RzRegIniFile1->SetPath(Dir.File(L"Skarnivel.cfg"));
}

void MainFormFixture::TearDown() {
  if (Form) Form->Free();
  Form = nullptr;
  MainForm = nullptr;
  if (SerialPort) SerialPort->CloseSocket();
  FreeAndNil(SerialPort);
  Connected = false;
  FlashedOK = false;
  FlasherState = StateIdle;
  SetCurrentDir(FSavedDir);
  Application()->ResetTerminated();
  DrainQuit();
}

void MainFormFixture::ShowForm() {
  const TNotifyEvent onShow = Form->OnShow();
  Form->SetOnShow(nullptr);
  Form->Show();
  Form->SetOnShow(onShow);
}

void MainFormFixture::DrainQuit() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

std::string MainFormFixture::FileText(const String& AFileName) {
  std::string bytes;
  const TKernelHandle file(CreateFileW(AFileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
  if (!file) return bytes;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &n, nullptr) && n) bytes.append(buffer, n);
  return bytes;
}
