// The stored settings with the real program: started twice from the same
// directory, with a project opened from another directory in between.
#include "app/MainUnit.h"
#include "platform/runtime/Handles.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// One port in the system's list for the scope, so that the program starts.
class TProgramPort {
 public:
  TProgramPort() {
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    FKey.Receive(), nullptr);
    RegSetValueExW(FKey.Get(), Name, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"COM9"), sizeof(L"COM9"));
  }
  ~TProgramPort() { RegDeleteValueW(FKey.Get(), Name); }

 private:
  static constexpr const wchar_t* Name = L"\\Device\\SkarnivelSettingsProgram";
  TRegKey FKey;
};

// The baud-rate box: the combo box that lists 115200.
// The baud box: of the window's two combo boxes the lower one.
HWND BaudBox(HWND AWindow) {
  HWND baud = nullptr;
  LONG lowest = LONG_MIN;
  for (HWND child : Descendants(AWindow)) {
    if (ClassOf(child) != L"TcxComboBox") continue;
    RECT r{};
    GetWindowRect(child, &r);
    if (r.top > lowest) {
      lowest = r.top;
      baud = child;
    }
  }
  return baud;
}

HWND ChildWithText(HWND AWindow, const String& AText) {
  for (HWND child : Descendants(AWindow))
    if (WindowText(child) == AText) return child;
  return nullptr;
}

constexpr const wchar_t* MainTitle = L"Skarnivel - Torvik";

TEST(SettingsProgram, SettingsSurviveARestartAlsoAfterAProjectInAnotherDirectory) {
  TProgramPort port;
  TScratchDir start;
  TScratchDir projects;
  const String project = projects.Write(L"Board.PPRO", "[Project]\r\n");
  {
    TRunningProgram program(start.Path());
    const HWND window = program.FindWindow(MainTitle);
    ASSERT_NE(window, nullptr) << "no main window";
    const HWND baud = BaudBox(window);
    ASSERT_NE(baud, nullptr);
    EXPECT_EQ(WindowText(baud), L"9600");
    ASSERT_TRUE(SendMessageW(baud, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"500000")));
    ASSERT_EQ(WindowText(baud), L"500000");
    const HWND closeOption = ChildWithText(window, L"Nach erfolgreichem Flashen schließen");
    ASSERT_NE(closeOption, nullptr);
    SendMessageW(closeOption, BM_CLICK, 0, 0);
    ASSERT_EQ(SendMessageW(closeOption, BM_GETCHECK, 0, 0), BST_CHECKED);

    // Open the project through the open dialog; that moves the current directory.
    const HWND open = ChildWithText(window, L"Öffnen");
    ASSERT_NE(open, nullptr);
    PostMessageW(open, BM_CLICK, 0, 0);
    const HWND dialog = program.FindWindow(L"Torvik Projekt öffnen");
    ASSERT_NE(dialog, nullptr) << "no open dialog";
    // The file name box: the edit inside the dialog's name box (id 0x47C).
    HWND name = nullptr;
    for (HWND child : Descendants(dialog))
      if (GetDlgCtrlID(child) == 0x47C && ClassOf(child) == L"Edit") name = child;
    ASSERT_NE(name, nullptr);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(project.c_str()));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    // The project's lines appear in the information list once it is loaded.
    bool loaded = false;
    for (int i = 0; i < 200 && !loaded; ++i) {
      for (HWND child : Descendants(window))
        if (SendMessageW(child, LB_GETCOUNT, 0, 0) > 0 && ClassOf(child) != L"ComboLBox") loaded = true;
      if (!loaded) Sleep(25);
    }
    ASSERT_TRUE(loaded) << "the project was not opened";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
  }
  EXPECT_EQ(ReadFileBytes(start.File(L"Skarnivel.cfg")),
            "[Skarnivel configuration]\r\nCB_Baudrate.Text=500000\r\nCB_EndAfterFlash.Checked=True\r\n\r\n");
  EXPECT_FALSE(FileExists(projects.File(L"Skarnivel.cfg")));

  TRunningProgram program(start.Path());
  const HWND window = program.FindWindow(MainTitle);
  ASSERT_NE(window, nullptr);
  const HWND baud = BaudBox(window);
  ASSERT_NE(baud, nullptr);
  EXPECT_EQ(WindowText(baud), L"500000");
  const HWND closeOption = ChildWithText(window, L"Nach erfolgreichem Flashen schließen");
  ASSERT_NE(closeOption, nullptr);
  EXPECT_EQ(SendMessageW(closeOption, BM_GETCHECK, 0, 0), BST_CHECKED);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

}  // namespace
