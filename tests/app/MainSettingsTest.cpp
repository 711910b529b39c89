// The main window's stored settings and version panes, through the real form
// made from the program's form description.
#include "app/MainUnit.h"
#include "components/settings/RzCommon.h"
#include "components/settings/RzStatus.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/stdctrls/cxCheckBox.h"
#include "platform/ui/GdiScopes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void WriteBytes(const String& AFileName, const std::string& ABytes) {
  const TKernelHandle file(CreateFileW(AFileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file);
  DWORD n = 0;
  WriteFile(file.Get(), ABytes.data(), static_cast<DWORD>(ABytes.size()), &n, nullptr);
}

bool Exists(const String& AFileName) { return GetFileAttributesW(AFileName.c_str()) != INVALID_FILE_ATTRIBUTES; }

// One serial port in the registry, so that the window starts normally.
class TOnePort {
 public:
  TOnePort() {
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, KeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, FKey.Receive(), nullptr);
    RegSetValueExW(FKey.Get(), ValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"COM9"), sizeof(L"COM9"));
  }
  ~TOnePort() { RegDeleteValueW(FKey.Get(), ValueName); }

 private:
  static constexpr const wchar_t* KeyPath = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
  static constexpr const wchar_t* ValueName = L"\\Device\\SkarnivelSettingsTest";
  TRegKey FKey;
};

// ".\Skarnivel.cfg" of the directory the tests were started in: emptied for
// the test, and whatever was there before is put back afterwards.
class TSettingsFile {
 public:
  TSettingsFile() : FPath(IncludeTrailingPathDelimiter(StartDirectory()) + L"Skarnivel.cfg") {
    FHadOld = Exists(FPath) && !(GetFileAttributesW(FPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    if (FHadOld) FOld = ReadFileBytes(FPath);
    Clean();
  }
  ~TSettingsFile() {
    Clean();
    if (FHadOld) WriteBytes(FPath, FOld);
  }
  const String& Path() const { return FPath; }

 private:
  void Clean() {
    for (const wchar_t* suffix : {L"", L".bak", L".tmp"}) {
      const String name = FPath + suffix;
      SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(name.c_str());
      RemoveDirectoryW(name.c_str());
    }
  }
  String FPath;
  bool FHadOld = false;
  std::string FOld;
};

using TWindow = TOwned<TMainForm>;

class MainSettings : public testing::Test {
 protected:
  // One run of the program's window: made from its description and shown.
  TWindow Start() {
    TWindow window(New<TMainForm>(nullptr));
    window->Show();
    return window;
  }
  // Closing saves; the window is gone afterwards, as at the program's end.
  void Finish(TWindow& AWindow) {
    AWindow->Close();
    EXPECT_FALSE(AWindow->Visible());
    AWindow.reset();
  }
  String Baud(TMainForm* AWindow) { return AWindow->CB_Baudrate->Text(); }

  TOnePort Port;
  TSettingsFile Settings;
  TRecordedDialogs Dialogs;
};

TEST_F(MainSettings, WithoutAFileTheFormsDefaultsStand) {
  TWindow window = Start();
  EXPECT_EQ(Baud(window.get()), L"9600");
  EXPECT_FALSE(window->CB_EndAfterFlash->Checked());
  EXPECT_TRUE(Dialogs->Boxes.empty());
  EXPECT_FALSE(Exists(Settings.Path()));
  Finish(window);
  EXPECT_EQ(ReadFileBytes(Settings.Path()),
            "[Skarnivel configuration]\r\nCB_Baudrate.Text=9600\r\nCB_EndAfterFlash.Checked=False\r\n\r\n");
}

TEST_F(MainSettings, BothSettingsSurviveARestartAfterAProjectElsewhere) {
  TScopeExit restoreDir([saved = GetCurrentDir()] { SetCurrentDir(saved); });
  TScratchDir elsewhere;
  const String project = elsewhere.Write(L"Board.PPRO", "[Project]\r\n");
  {
    TWindow window = Start();
    window->CB_Baudrate->SetText(L"115200");
    window->CB_EndAfterFlash->SetChecked(true);
    // Opening a project makes its directory the current one.
    window->LoadFiles(project);
    ASSERT_EQ(UpperCase(ExcludeTrailingPathDelimiter(GetCurrentDir())), UpperCase(elsewhere.Path()));
    Finish(window);
  }
  EXPECT_FALSE(Exists(elsewhere.File(L"Skarnivel.cfg")));
  EXPECT_EQ(ReadFileBytes(Settings.Path()),
            "[Skarnivel configuration]\r\nCB_Baudrate.Text=115200\r\nCB_EndAfterFlash.Checked=True\r\n\r\n");
  // The next start, from the same place.
  TWindow window = Start();
  EXPECT_EQ(Baud(window.get()), L"115200");
  EXPECT_TRUE(window->CB_EndAfterFlash->Checked());
  EXPECT_TRUE(Dialogs->Boxes.empty());
  Finish(window);
}

TEST_F(MainSettings, AStoredRateOutsideTheListIsShownAsItStands) {
  WriteBytes(Settings.Path(), "[Skarnivel configuration]\r\nCB_Baudrate.Text=12345\r\n");
  TWindow window = Start();
  EXPECT_EQ(Baud(window.get()), L"12345");
  EXPECT_FALSE(window->CB_EndAfterFlash->Checked());
  Finish(window);
}

TEST_F(MainSettings, OtherSectionsOfTheFileStay) {
  WriteBytes(Settings.Path(), "[Mine]\r\nKeep=this\r\n[Skarnivel configuration]\r\nCB_Baudrate.Text=57600\r\n");
  TWindow window = Start();
  Finish(window);
  EXPECT_EQ(ReadFileBytes(Settings.Path()),
            "[Mine]\r\nKeep=this\r\n\r\n[Skarnivel configuration]\r\nCB_Baudrate.Text=57600\r\n"
            "CB_EndAfterFlash.Checked=False\r\n\r\n");
}

// Damaged and hostile files: a clear message, the window starts with its
// port list, and what was in the file is not lost without a word.
TEST_F(MainSettings, ABadEnumerationValueIsReportedAndTheWindowStarts) {
  WriteBytes(Settings.Path(),
             "[Skarnivel configuration]\r\nCB_Baudrate.Text=19200\r\nCB_EndAfterFlash.Checked=Vielleicht\r\n");
  TWindow window = Start();
  ASSERT_EQ(Dialogs->Boxes.size(), 1u);
  EXPECT_EQ(Dialogs->Boxes[0].Text, L"Ungültiges Eigenschaftselement: Vielleicht.");
  EXPECT_EQ(Baud(window.get()), L"19200");
  EXPECT_GE(window->CB_Comport->Properties()->Items()->Count(), 1);
  EXPECT_TRUE(window->Visible());
  Finish(window);
  EXPECT_NE(ReadFileBytes(Settings.Path()).find("CB_EndAfterFlash.Checked=False"), std::string::npos);
}

TEST_F(MainSettings, ADamagedFileIsKeptAsideAndReported) {
  struct TCase {
    const char* Name;
    std::string Bytes;
  };
  std::string utf16;
  for (char c : std::string("[Skarnivel configuration]\r\nCB_Baudrate.Text=38400\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 7) & 0xFF);
  const TCase cases[] = {{"UTF-16 without byte-order mark", utf16}, {"binary garbage", garbage}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Dialogs->Clear();
    WriteBytes(Settings.Path(), c.Bytes);
    TWindow window = Start();
    ASSERT_EQ(Dialogs->Boxes.size(), 1u);
    EXPECT_NE(Dialogs->Boxes[0].Text.find(L"Skarnivel.cfg.bak"), String::npos);
    EXPECT_EQ(Baud(window.get()), L"9600");
    EXPECT_GE(window->CB_Comport->Properties()->Items()->Count(), 1);
    Finish(window);
    EXPECT_EQ(ReadFileBytes(Settings.Path() + L".bak"), c.Bytes);
    EXPECT_EQ(ReadFileBytes(Settings.Path()),
              "[Skarnivel configuration]\r\nCB_Baudrate.Text=9600\r\nCB_EndAfterFlash.Checked=False\r\n\r\n");
    DeleteFileW((Settings.Path() + L".bak").c_str());
  }
}

TEST_F(MainSettings, AHugeValueIsReportedAndTheWindowStartsAtOnce) {
  const std::string huge(3 * 1024 * 1024, '9');
  WriteBytes(Settings.Path(), "[Skarnivel configuration]\r\nCB_Baudrate.Text=" + huge + "\r\n");
  const DWORD start = GetTickCount();
  TWindow window = Start();
  EXPECT_LT(GetTickCount() - start, 5000u);
  ASSERT_EQ(Dialogs->Boxes.size(), 1u);
  EXPECT_NE(Dialogs->Boxes[0].Text.find(L"CB_Baudrate.Text"), String::npos);
  EXPECT_EQ(Baud(window.get()), L"9600");
  EXPECT_GE(window->CB_Comport->Properties()->Items()->Count(), 1);
  Finish(window);
}

TEST_F(MainSettings, SettingsThatCannotBeWrittenAreReportedAndTheWindowCloses) {
  // A directory in the file's place: it reads as no file and cannot be written.
  ASSERT_TRUE(CreateDirectoryW(Settings.Path().c_str(), nullptr));
  TWindow window = Start();
  EXPECT_TRUE(Dialogs->Boxes.empty());
  Finish(window);
  ASSERT_EQ(Dialogs->Boxes.size(), 1u);
  EXPECT_NE(Dialogs->Boxes[0].Text.find(L"Skarnivel.cfg"), String::npos);
}

// ---------------------------------------------------------------------------
// The version panes

TEST_F(MainSettings, ThePanesShowTheProgramsVersionAndCompany) {
  TWindow window = Start();
  EXPECT_EQ(window->RzVersionInfoStatus1->Caption(), L"1.0.0.0");
  EXPECT_EQ(window->RzVersionInfoStatus1->FieldLabel(), L"Version:");
  EXPECT_EQ(window->RzVersionInfoStatus2->Caption(), L"Torvik");
  EXPECT_EQ(window->RzVersionInfoStatus1->BoundsRect(), TRect(8, 371, 109, 391));
  EXPECT_EQ(window->RzVersionInfoStatus2->BoundsRect(), TRect(109, 371, 209, 391));

  const TRect client = window->ClientRect();
  TPixelSurface s(client.Width(), client.Height(), RGB(1, 2, 3));
  // The form paints its own client area with the panes on it.
  SendMessageW(window->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  const COLORREF face = ColorToColorRef(clBtnFace);
  auto dark = [&](const TRect& R) {
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) {
        const COLORREF c = s.Pixel(x, y);
        if (GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80) ++n;
      }
    return n;
  };
  // No frame and no background of their own: the form's face at the edges.
  for (int x = 8; x < 209; ++x) {
    EXPECT_EQ(s.Pixel(x, 371), face);
    EXPECT_EQ(s.Pixel(x, 390), face);
  }
  // "Version:" from 8 + 4, then the version, then the company name.
  SIZE label{};
  {
    const TScreenDC dc;
    const TSelectObject font(dc.Get(), window->RzVersionInfoStatus1->Font()->Handle());
    GetTextExtentPoint32W(dc.Get(), L"Version:", 8, &label);
  }
  EXPECT_EQ(dark(TRect(8, 371, 8 + 4, 391)), 0);
  EXPECT_GT(dark(TRect(8 + 4, 371, 8 + 4 + label.cx, 391)), 10);
  EXPECT_GT(dark(TRect(8 + 1 + label.cx + 7, 371, 109, 391)), 10);
  EXPECT_GT(dark(TRect(109 + 8, 371, 209, 391)), 10);
  Finish(window);
}

}  // namespace
