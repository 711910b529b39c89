// The program's start with and without serial ports. These tests empty and
// fill the system's port list (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM) and run
// apart from every other user of it (ctest entry app_ports).
#include "app/MainUnit.h"

#include "app/serial/SerialUtils.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "platform/runtime/Handles.h"
#include "tests/app/MainFormFixture.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const wchar_t* const SerialCommKey = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";

// Empties the port list for the scope and puts the values back afterwards.
class TPortList {
 public:
  TPortList() {
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, SerialCommKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, FKey.Receive(),
                    nullptr);
    for (const auto& [name, data] : Values()) {
      FSaved.emplace_back(name, data);
      RegDeleteValueW(FKey.Get(), name.c_str());
    }
  }
  ~TPortList() {
    for (const auto& [name, data] : Values()) RegDeleteValueW(FKey.Get(), name.c_str());
    for (const auto& [name, data] : FSaved) Add(name, data);
  }
  TPortList(const TPortList&) = delete;
  TPortList& operator=(const TPortList&) = delete;

  void Add(const String& AName, const String& APort) {
    RegSetValueExW(FKey.Get(), AName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(APort.c_str()),
                   static_cast<DWORD>((APort.size() + 1) * sizeof(wchar_t)));
  }
  // The ports in the order the registry lists its values.
  std::vector<String> Ports() const {
    std::vector<String> ports;
    for (const auto& [name, data] : Values()) ports.push_back(data);
    return ports;
  }

 private:
  std::vector<std::pair<String, String>> Values() const {
    std::vector<std::pair<String, String>> values;
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      wchar_t data[256] = {};
      DWORD nameLength = 256;
      DWORD dataSize = sizeof(data) - sizeof(wchar_t);
      DWORD type = 0;
      if (RegEnumValueW(FKey.Get(), i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
          ERROR_SUCCESS)
        break;
      values.emplace_back(name, data);
    }
    return values;
  }

  TRegKey FKey;
  std::vector<std::pair<String, String>> FSaved;
};

std::vector<String> Items(TStrings* AStrings) {
  std::vector<String> items;
  for (int i = 0; i < AStrings->Count(); ++i) items.push_back(AStrings->Strings(i));
  return items;
}

// ---------------------------------------------------------------------------
// FormShow on a form of this process

using SerialPortList = MainFormFixture;

TEST_F(SerialPortList, ShowListsThePortsInTheRegistrysOrder) {
  TPortList list;
  // Value names in another order than the port names.
  list.Add(L"\\Device\\Serial9", L"COM1");
  list.Add(L"\\Device\\Serial1", L"COM4");
  list.Add(L"\\Device\\Serial5", L"COM12");
  const std::vector<String> expected = list.Ports();
  ASSERT_EQ(expected.size(), 3u);

  Form->FormShow(Form);

  EXPECT_EQ(Items(Form->CB_Comport->Properties()->Items()), expected);
  EXPECT_EQ(Form->CB_Comport->ItemIndex(), 0);
  EXPECT_EQ(Form->CB_Comport->Text(), expected[0]);
  EXPECT_TRUE(Dialogs->Boxes.empty());
  EXPECT_FALSE(Application()->Terminated());
}

TEST_F(SerialPortList, ShowWithoutPortsReportsAndEndsTheProgram) {
  TPortList list;
  Form->FormShow(Form);
  ASSERT_EQ(Dialogs->Boxes.size(), 1u);
  EXPECT_EQ(Dialogs->Boxes[0].Text,
            L"Auf diesem System wurde kein Kommunikationsport gefunden.\r\n\r\nDas Programm wird beendet.");
  EXPECT_EQ(Dialogs->Boxes[0].Caption, L"Skarnivel");
  EXPECT_EQ(Dialogs->Boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(Application()->Terminated());
}

// ---------------------------------------------------------------------------
// The real program

std::vector<HWND> Children(HWND AParent, const wchar_t* AClass) {
  struct TSearch {
    const wchar_t* Class;
    std::vector<HWND> Found;
  } search{AClass, {}};
  EnumChildWindows(
      AParent,
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(AParam);
        wchar_t cls[256] = {};
        GetClassNameW(AWnd, cls, 256);
        if (String(cls) == s->Class) s->Found.push_back(AWnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

TEST(SerialPortListProgram, WithoutPortsTheProgramReportsAndEnds) {
  TPortList list;
  TScratchDir dir;
  TRunningProgram program(dir.Path());
  const HWND box = program.FindWindow(L"Skarnivel", L"#32770");
  ASSERT_NE(box, nullptr) << "no error box";
  String text;
  for (HWND child : Children(box, L"Static")) {
    wchar_t buffer[512] = {};
    GetWindowTextW(child, buffer, 512);
    text += buffer;
  }
  EXPECT_NE(text.find(L"Auf diesem System wurde kein Kommunikationsport gefunden."), String::npos)
      << UTF8Encode(text);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(SerialPortListProgram, WithPortsTheWindowListsThemAndClosesOnRequest) {
  TPortList list;
  list.Add(L"\\Device\\SkarnivelTestB", L"COM3");
  list.Add(L"\\Device\\SkarnivelTestA", L"COM8");
  const std::vector<String> expected = list.Ports();
  TScratchDir dir;
  TRunningProgram program(dir.Path());
  const HWND window = program.FindWindow(L"Skarnivel - Torvik", nullptr);
  ASSERT_NE(window, nullptr) << "no main window";
  // The port box shows the first port; the items themselves are checked in
  // process above.
  // The box answers its text through WM_GETTEXT, which GetWindowTextW does
  // not send to another process's window.
  bool found = false;
  for (HWND combo : Children(window, L"TcxComboBox")) {
    wchar_t text[64] = {};
    SendMessageW(combo, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    if (String(text) == expected[0]) found = true;
  }
  EXPECT_TRUE(found) << "no combo box shows the first port";
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0);
  // Closing saved the settings in the directory the program started in.
  const std::string settings = MainFormFixture::FileText(dir.File(L"Skarnivel.cfg"));
  EXPECT_NE(settings.find("CB_Baudrate.Text=9600"), std::string::npos) << settings;
}

}  // namespace
