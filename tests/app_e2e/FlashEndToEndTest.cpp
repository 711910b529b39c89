// The whole job with the real program: a project is opened through the open
// dialog, the device is connected and flashed, all by real input, through a
// COM port to the simulated bootloader. run-cases runs every test of this
// program on its own, with a device and an X display of its own
// (tools/with-device); each project names the device it is flashed into
// (UseDevice), and the memory the device received is compared with the HEX
// images byte for byte.
#include "tests/app_e2e/ProgramDriver.h"
#include "tests/app_e2e/ScreenShot.h"
#include "tests/app_serial/TestDevice.h"

#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

void WriteBytes(const String& AName, const std::string& ABytes) {
  const TKernelHandle file(CreateFileW(AName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(file) << "cannot write " << UTF8Encode(AName);
  DWORD n = 0;
  WriteFile(file.Get(), ABytes.data(), static_cast<DWORD>(ABytes.size()), &n, nullptr);
}

// A folder for the program (settings) and the project, removed at the end.
class TWorkDir {
 public:
  TWorkDir() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    FPath = String(base) + L"sk_e2e_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter);
    CreateDirectoryW(FPath.c_str(), nullptr);
  }
  ~TWorkDir() {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((FPath + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do DeleteFileW(File(data.cFileName).c_str());
      while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(FPath.c_str());
  }
  TWorkDir(const TWorkDir&) = delete;
  TWorkDir& operator=(const TWorkDir&) = delete;
  const String& Path() const { return FPath; }
  String File(const String& AName) const { return FPath + L"\\" + AName; }

 private:
  String FPath;
};

struct TProject {
  std::string Device;  // tools/device-sim options
  std::string Params;  // the lines of section MainParams
  TImageParts Flash;
  TImageParts Eeprom;
  TImageParts UserRow;
  bool CloseAfterFlash = false;
  std::string BaudText = "38400";  // as the settings file keeps it
};

void WriteProject(const TWorkDir& ADir, const TProject& AProject) {
  UseDevice(AProject.Device);
  // The baud rate and the close-after-flash option, as the user left them.
  WriteBytes(ADir.File(L"Skarnivel.cfg"), "[Skarnivel configuration]\r\nCB_Baudrate.Text=" + AProject.BaudText +
                                             "\r\nCB_EndAfterFlash.Checked=" +
                                             (AProject.CloseAfterFlash ? "True" : "False") + "\r\n");
  WriteBytes(ADir.File(L"Board.PPRO"), "[MainParams]\r\nMainFile=Board.c\r\n" + AProject.Params);
  if (!AProject.Flash.empty()) WriteBytes(ADir.File(L"Board.hex"), HexText(AProject.Flash));
  if (!AProject.Eeprom.empty()) WriteBytes(ADir.File(L"Board.eep"), HexText(AProject.Eeprom));
  if (!AProject.UserRow.empty()) WriteBytes(ADir.File(L"Board.usr"), HexText(AProject.UserRow));
}

std::string JoinLines(const std::vector<String>& ALines) {
  std::string text;
  for (const String& line : ALines) text += UTF8Encode(line) + "\n";
  return text;
}

constexpr const wchar_t* MainTitle = L"Skarnivel - Torvik";

// One run of the program: the window, its controls and the steps a person
// takes. Every step uses real input.
class TSession {
 public:
  TSession(TProgramDriver& ADriver) : D(ADriver) {}

  // Finds the window and its controls; false when the program did not come up.
  bool Attach() {
    Window = D.WaitForWindow(MainTitle);
    if (!Window) return false;
    List = D.ListBox(Window);
    Open = D.ChildWithText(Window, L"Öffnen");
    Connect = D.ChildWithText(Window, L"Verbinden");
    Flash = D.ChildWithText(Window, L"Flash");
    Quit = nullptr;
    std::vector<HWND> boxes;
    for (HWND child : Descendants(Window)) {
      const String cls = ClassOf(child);
      if (cls == L"TcxComboBox") boxes.push_back(child);
      if (cls == L"TcxCheckBox") Boxes[WindowText(child)] = child;
      // The "Flash" check box carries the button's text too.
      if (cls != L"TcxCheckBox" && WindowText(child) == L"Flash" && ClassOf(Flash) == L"TcxCheckBox") Flash = child;
    }
    // The port box sits above the baud box.
    std::sort(boxes.begin(), boxes.end(), [](HWND A, HWND B) {
      RECT a, b;
      GetWindowRect(A, &a);
      GetWindowRect(B, &b);
      return a.top < b.top;
    });
    if (boxes.size() == 2) {
      Port = boxes[0];
      Baud = boxes[1];
    }
    return List && Open && Connect && Flash && Port && Baud;
  }

  std::vector<String> Lines() { return D.ListLines(List); }
  bool Enabled(HWND AControl) { return IsWindowEnabled(AControl) != FALSE; }

  // Chooses the test's port in the port box with the keyboard.
  void ChoosePort() { ChooseItem(Port, TestPortName()); }

  // Chooses an item of a combo box with the keyboard.
  void ChooseItem(HWND ABox, const String& AItem) {
    // A click gives the box the focus (and may open its list, which Escape
    // closes again); Ctrl+PageUp goes to the first item and Down walks on
    // until the item shows or the list ends. Checked and repeated, as keys
    // may meet a list that was still opening.
    for (int attempt = 0; attempt < 5 && WindowText(ABox) != AItem; ++attempt) {
      D.Activate(Window);
      D.ClickOn(ABox);
      D.Key(VK_ESCAPE);
      D.KeyWith(VK_CONTROL, VK_PRIOR);
      String last;
      for (int step = 0; step < 64 && WindowText(ABox) != AItem && WindowText(ABox) != last; ++step) {
        last = WindowText(ABox);
        D.Key(VK_DOWN);
        D.WaitUntil([&] { return WindowText(ABox) != last; }, 300);
      }
      D.WaitUntil([&] { return WindowText(ABox) == AItem; }, 1000);
    }
    ASSERT_EQ(WindowText(ABox), AItem) << "the box does not show the item";
  }

  // Opens the project through the open dialog.
  void OpenProject(const String& AFileName) {
    D.Activate(Window);
    D.ClickOn(Open);
    const HWND dialog = D.WaitForWindow(L"Torvik Projekt öffnen");
    ASSERT_NE(dialog, nullptr) << "no open dialog";
    D.Activate(dialog);
    D.TypeText(AFileName);
    D.Key(VK_RETURN);
    ASSERT_TRUE(D.WaitUntil([&] { return !D.FindWindow(L"Torvik Projekt öffnen") && !Lines().empty(); }))
        << "the project was not opened";
  }

  void ClickConnect() {
    D.Activate(Window);
    D.ClickOn(Connect);
  }

  void ClickFlash() {
    D.Activate(Window);
    D.ClickOn(Flash);
  }

  // Waits for a line of the list (ATimeout ms); the lines seen last stay in
  // SeenLines also when the window has gone meanwhile.
  bool WaitForLine(const String& ALine, DWORD ATimeout = 20000) {
    return D.WaitUntil(
        [&] {
          if (IsWindow(List)) {
            std::vector<String> lines = Lines();
            if (lines.size() >= SeenLines.size()) SeenLines = lines;
          }
          for (const String& line : SeenLines)
            if (line == ALine) return true;
          return false;
        },
        ATimeout);
  }

  // The text of a dialog of the program: the static that is not an icon.
  static String DialogText(HWND ADialog) {
    String text;
    for (HWND child : Descendants(ADialog))
      if (ClassOf(child) == L"Static" || ClassOf(child) == L"STATIC") {
        const String t = WindowText(child);
        if (t.size() > text.size()) text = t;
      }
    return text;
  }

  // Waits for a dialog with that title, answers it with Enter and gives its
  // text.
  String AnswerDialog(const String& ATitle) {
    const HWND dialog = D.WaitForWindow(ATitle, 15000);
    if (!dialog) {
      ADD_FAILURE() << "no dialog \"" << UTF8Encode(ATitle) << "\"; list:\n" << JoinLines(Lines());
      return String();
    }
    const String text = DialogText(dialog);
    D.Activate(dialog);
    D.Key(VK_RETURN);
    EXPECT_TRUE(D.WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 5000))
        << "the dialog stayed open";
    return text;
  }

  // Quits with the quit button... that has no caption; the close box does
  // the same through the system menu: Alt+F4.
  void Close() {
    D.Activate(Window);
    PostMessageW(Window, WM_CLOSE, 0, 0);
  }

  TProgramDriver& D;
  HWND Window = nullptr;
  HWND List = nullptr;
  HWND Open = nullptr;
  HWND Connect = nullptr;
  HWND Flash = nullptr;
  HWND Quit = nullptr;
  HWND Port = nullptr;
  HWND Baud = nullptr;
  std::map<String, HWND> Boxes;
  std::vector<String> SeenLines;
};

// The last lines of the device's log, for a failure's message.
std::string DeviceLogTail(std::size_t ALines = 8) {
  const std::string text = DeviceFile(L"device.log");
  std::size_t start = text.size();
  for (std::size_t n = 0; n <= ALines; ++n) {
    if (start == 0) return text;
    start = text.rfind('\n', start - 1);
    if (start == std::string::npos) return text;
  }
  return text.substr(start + 1);
}

// ---------------------------------------------------------------------------
// The projects

// An ATmega328P: flash in three places with whole erased blocks between them,
// an EEPROM image longer than the project's EEPROM limit.
TProject ClassicProject() {
  TProject p;
  p.Device = "--preset m328p --loader-id 0x0102 --strict";
  p.Params = "CPUname=ATmega328P\r\nDeviceID=2004239\r\nBootLoaderID=258\r\nFlashMax=32768\r\nEEpromMax=512\r\n"
             "PageSize=64\r\nEPageSize=0\r\n";
  p.Flash[0] = PatternBytes(300, 1);
  p.Flash[0x1000] = PatternBytes(256, 2);
  p.Flash[0x2345] = {0x42};
  p.Eeprom[0] = PatternBytes(600, 3);
  return p;
}

const std::vector<String> ClassicProjectLines = {
    L"----- MCU -----", L"ATMEGA328P", L"Flash 32768 Bytes", L"EEprom 512 Bytes", L"----- Bytes to write -----",
    L"Flash : 9030 Bytes", L"EEprom : 600 Bytes"};

const std::vector<String> ClassicHandshakeLines = {L"----- Flashloader Info -----", L"Device ID : $1E950F",
                                                   L"Blocksize : 128", L"FlashEnd : 15360", L"LoaderID : $0102"};

// An XMEGA128A1: flash also above 64 KiB, EEPROM in chunks of 32, a user row.
TProject XmegaProject() {
  TProject p;
  p.Device = "--preset x128a1 --strict";
  p.Params = "CPUname=XMEGA128A1\r\nDeviceID=2004812\r\nBootLoaderID=-1\r\nFlashMax=139264\r\nEEpromMax=0\r\n"
             "PageSize=256\r\nEPageSize=64\r\n";
  p.Flash[0] = PatternBytes(0x400, 4);
  p.Flash[0x10200] = PatternBytes(0x80, 5);
  p.Eeprom[0] = PatternBytes(100, 6);
  p.UserRow[0] = PatternBytes(40, 7);
  p.CloseAfterFlash = true;
  return p;
}

std::vector<String> Concat(std::initializer_list<std::vector<String>> AParts) {
  std::vector<String> all;
  for (const auto& part : AParts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Starts the program on the project, chooses the port and connects.
struct TStartedSession {
  TWorkDir Dir;
  TProgramDriver Driver{Dir.Path()};
  TSession Session{Driver};
};

void StartAndOpen(TStartedSession& S, const TProject& AProject) {
  ASSERT_FALSE(TestPortName().empty()) << "run this program through tools/with-device";
  WriteProject(S.Dir, AProject);
  ASSERT_TRUE(S.Driver.Started());
  ASSERT_TRUE(S.Session.Attach()) << "the main window did not come up with its controls; "
                                  << (S.Driver.Running() ? "running" : "ended with ") << S.Driver.WaitForExit(0);
  ASSERT_NO_FATAL_FAILURE(S.Session.ChoosePort());
  ASSERT_NO_FATAL_FAILURE(S.Session.OpenProject(S.Dir.File(L"Board.PPRO")));
}

// The state after a failed handshake: disconnected, ready for another try.
void ExpectDisconnectedAfterFailure(TSession& S) {
  EXPECT_EQ(WindowText(S.Connect), L"Verbinden");
  EXPECT_TRUE(S.Enabled(S.Connect));
  EXPECT_FALSE(S.Enabled(S.Flash));
  EXPECT_TRUE(S.Enabled(S.Open));
  EXPECT_TRUE(S.Enabled(S.Port));
  EXPECT_TRUE(S.Enabled(S.Baud));
}

void CloseAndExpectExit(TStartedSession& S) {
  S.Session.Close();
  EXPECT_EQ(S.Driver.WaitForExit(), 0);
}

// ---------------------------------------------------------------------------
// Successful runs

TEST(FlashEndToEnd, ClassicProjectIsWrittenAndTheWindowStays) {
  RunOnOwnThread([] {
    TStartedSession s;
    const TProject project = ClassicProject();
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    TSession& S = s.Session;
    EXPECT_EQ(JoinLines(S.Lines()), JoinLines(ClassicProjectLines));

    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0102")) << JoinLines(S.Lines());
    ASSERT_TRUE(S.D.WaitUntil([&] { return WindowText(S.Connect) == L"Verbunden"; }));
    EXPECT_TRUE(S.Enabled(S.Flash));
    EXPECT_FALSE(S.Enabled(S.Open));
    EXPECT_FALSE(S.Enabled(S.Port));

    const int dumps = DeviceDumpCount();
    S.ClickFlash();
    ASSERT_TRUE(S.WaitForLine(L"Flashen erfolgreich beendet!")) << JoinLines(S.Lines());
    EXPECT_EQ(JoinLines(S.Lines()),
              JoinLines(Concat({ClassicProjectLines, ClassicHandshakeLines,
                                {L"schreibe Flash...", L"Flash erfolgreich geschrieben", L"schreibe EEprom...",
                                 L"EEprom erfolgreich geschrieben", L"Flashen erfolgreich beendet!"}})));
    // Only quitting and the options are left.
    ASSERT_TRUE(S.D.WaitUntil([&] { return S.Enabled(S.Boxes[L"Flash"]); }, 3000));
    EXPECT_FALSE(S.Enabled(S.Connect));
    EXPECT_FALSE(S.Enabled(S.Open));
    EXPECT_FALSE(S.Enabled(S.Flash));
    EXPECT_TRUE(S.Enabled(S.Boxes[L"EEprom"]));

    ASSERT_TRUE(WaitForDeviceDump(dumps, 5000)) << "the device was not told to leave the loader:\n" << DeviceLogTail();
    // Erased blocks are skipped, the rest is there; the EEPROM limit holds.
    ExpectSameMemory(ErasedMemoryWith(0x8000, project.Flash), DeviceFile(L"flash.bin"), "flash");
    ExpectSameMemory(
        ErasedMemoryWith(0x400, {{0, TBytes(project.Eeprom.at(0).begin(), project.Eeprom.at(0).begin() + 512)}}),
        DeviceFile(L"eeprom.bin"), "EEPROM");
    // The close-after-flash option is off: the window stays.
    EXPECT_FALSE(S.D.WaitUntil([&] { return !S.D.Running(); }, 1500));
    CloseAndExpectExit(s);
  });
}

const std::vector<String> XmegaProjectLines = {
    L"----- MCU -----", L"XMEGA128A1", L"Flash 139264 Bytes", L"EEprom 0 Bytes", L"----- Bytes to write -----",
    L"Flash : 66176 Bytes", L"EEprom : 100 Bytes"};

const std::vector<String> XmegaRunLines = {
    L"----- Flashloader Info -----", L"Device ID : $1E974C", L"Blocksize : 512", L"FlashEnd : 65536",
    L"LoaderID : $0000", L"schreibe Flash...", L"Flash erfolgreich geschrieben", L"schreibe EEprom...",
    L"schreibe UserRow...", L"UserRow erfolgreich geschrieben", L"Flashen erfolgreich beendet!"};

void ExpectXmegaMemory(const TProject& AProject) {
  ExpectSameMemory(ErasedMemoryWith(0x22000, AProject.Flash), DeviceFile(L"flash.bin"), "flash");
  // Whole chunks of 32: the fourth takes the erased bytes after the image.
  ExpectSameMemory(ErasedMemoryWith(0x800, AProject.Eeprom), DeviceFile(L"eeprom.bin"), "EEPROM");
  ExpectSameMemory(ErasedMemoryWith(512, AProject.UserRow), DeviceFile(L"userrow.bin"), "user row");
}

TEST(FlashEndToEnd, XmegaProjectWithUserRowIsWritten) {
  RunOnOwnThread([] {
    TStartedSession s;
    TProject project = XmegaProject();
    project.CloseAfterFlash = false;
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    TSession& S = s.Session;
    EXPECT_EQ(JoinLines(S.Lines()), JoinLines(XmegaProjectLines));
    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0000")) << JoinLines(S.Lines());
    ASSERT_TRUE(S.D.WaitUntil([&] { return S.Enabled(S.Flash); }));
    const int dumps = DeviceDumpCount();
    S.ClickFlash();
    ASSERT_TRUE(S.WaitForLine(L"Flashen erfolgreich beendet!")) << JoinLines(S.Lines());
    EXPECT_EQ(JoinLines(S.Lines()), JoinLines(Concat({XmegaProjectLines, XmegaRunLines})));
    ASSERT_TRUE(WaitForDeviceDump(dumps, 5000)) << "the device was not told to leave the loader:\n" << DeviceLogTail();
    ExpectXmegaMemory(project);
    CloseAndExpectExit(s);
  });
}

TEST(FlashEndToEnd, WithTheCloseOptionTheWindowClosesItselfAfterTheFlash) {
  RunOnOwnThread([] {
    TStartedSession s;
    const TProject project = XmegaProject();
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    TSession& S = s.Session;
    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0000")) << JoinLines(S.Lines());
    ASSERT_TRUE(S.D.WaitUntil([&] { return S.Enabled(S.Flash); }));
    const int dumps = DeviceDumpCount();
    S.ClickFlash();
    // Reads the lines until the last one shows or the program ends.
    S.WaitForLine(L"Flashen erfolgreich beendet!", 10000);
    // About a second after success, without a question.
    EXPECT_EQ(S.D.WaitForExit(10000), 0) << "the window did not close after the flash";
    // The window may close before the last lines could be read: what was
    // seen is the start of the run's lines.
    const std::vector<String> all = Concat({XmegaProjectLines, XmegaRunLines});
    ASSERT_LE(S.SeenLines.size(), all.size());
    EXPECT_EQ(JoinLines(S.SeenLines), JoinLines(std::vector<String>(all.begin(), all.begin() + S.SeenLines.size())));
    ASSERT_TRUE(WaitForDeviceDump(dumps, 5000)) << "the device was not told to leave the loader:\n" << DeviceLogTail();
    ExpectXmegaMemory(project);
  });
}

// ---------------------------------------------------------------------------
// Faults of the device

// The project is opened and Connect clicked; the device is refused with the
// dialog ATitle / AText, the list shows the project's lines and then
// AInfoLines, and the window is left disconnected.
void ExpectRefusedHandshake(const TProject& AProject, const std::vector<String>& AProjectLines, const wchar_t* ATitle,
                            const wchar_t* AText, std::vector<String> AInfoLines) {
  RunOnOwnThread([&] {
    TStartedSession s;
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, AProject));
    TSession& S = s.Session;
    S.ClickConnect();
    EXPECT_EQ(S.AnswerDialog(ATitle), AText);
    EXPECT_EQ(JoinLines(S.Lines()), JoinLines(Concat({AProjectLines, AInfoLines})));
    ExpectDisconnectedAfterFailure(S);
    CloseAndExpectExit(s);
  });
}

// A classic project flashed into a device that ACommand changes.
TProject ClassicProjectWithDevice(const std::string& AChange) {
  TProject p = ClassicProject();
  p.Device += " " + AChange;
  return p;
}

TEST(FlashEndToEnd, NoEchoReportsThatNoDeviceAnswers) {
  ExpectRefusedHandshake(ClassicProjectWithDevice("--fault I:silent"), ClassicProjectLines, L"Skarnivel",
                         L"Das Device ist nicht zu ermitteln.\r\n\r\nBefindet sich das Device im Bootloader-Modus?",
                         {L"----- Flashloader Info -----"});
}

// A device that gives its echo and then nothing more is no device, even to a
// project that would accept any device ID and loader 0.
TEST(FlashEndToEnd, ADeviceThatFallsSilentAfterItsEchoIsRefused) {
  TProject project = ClassicProjectWithDevice("--fault I:short --fault i:silent");
  project.Params = "CPUname=ATmega328P\r\nFlashMax=32768\r\nEEpromMax=512\r\nPageSize=64\r\nEPageSize=0\r\n";
  ExpectRefusedHandshake(project, ClassicProjectLines, L"Skarnivel",
                         L"Das Device ist nicht zu ermitteln.\r\n\r\nBefindet sich das Device im Bootloader-Modus?",
                         {L"----- Flashloader Info -----"});
}

TEST(FlashEndToEnd, WrongDeviceIdIsRefused) {
  ExpectRefusedHandshake(
      ClassicProjectWithDevice("--device-id 1E9999"), ClassicProjectLines, L"Warnung",
      L"Device ID : \r1E950F\rexpected!",
      {L"----- Flashloader Info -----", L"Device ID : $1E9999", L"Blocksize : 128", L"FlashEnd : 15360"});
}

TEST(FlashEndToEnd, WrongLoaderIdIsRefused) {
  ExpectRefusedHandshake(
      ClassicProjectWithDevice("--loader-id 5"), ClassicProjectLines, L"Fehler",
      L"Requested LoaderID is 258\rLoaderID in device is 5",
      {L"----- Flashloader Info -----", L"Device ID : $1E950F", L"Blocksize : 128", L"FlashEnd : 15360"});
}

// After a failed flash only quitting is left; the options stay disabled.
void ExpectStoppedAfterFlashError(TSession& S) {
  EXPECT_FALSE(S.Enabled(S.Connect));
  EXPECT_FALSE(S.Enabled(S.Open));
  EXPECT_FALSE(S.Enabled(S.Flash));
  EXPECT_FALSE(S.Enabled(S.Boxes[L"Flash"]));
  EXPECT_FALSE(S.Enabled(S.Boxes[L"EEprom"]));
  EXPECT_EQ(WindowText(S.Connect), L"Verbunden");
}

void ConnectAndFlash(TSession& S) {
  S.ClickConnect();
  ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0102")) << JoinLines(S.Lines());
  ASSERT_TRUE(S.D.WaitUntil([&] { return S.Enabled(S.Flash); }));
  S.ClickFlash();
}

TEST(FlashEndToEnd, WrongChecksumOfTheFirstBlockStopsTheFlash) {
  RunOnOwnThread([] {
    TStartedSession s;
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, ClassicProjectWithDevice("--fault D:wrong")));
    TSession& S = s.Session;
    ASSERT_NO_FATAL_FAILURE(ConnectAndFlash(S));
    EXPECT_EQ(S.AnswerDialog(L"Fehler"), L"Communication error block 5: $000. Checksum");
    EXPECT_EQ(JoinLines(S.Lines()),
              JoinLines(Concat({ClassicProjectLines, ClassicHandshakeLines, {L"schreibe Flash..."}})));
    ExpectStoppedAfterFlashError(S);
    CloseAndExpectExit(s);
  });
}

TEST(FlashEndToEnd, MissingAcknowledgementInTheEepromStepStopsTheFlash) {
  RunOnOwnThread([] {
    TStartedSession s;
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, ClassicProjectWithDevice("--fault B:silent")));
    TSession& S = s.Session;
    ASSERT_NO_FATAL_FAILURE(ConnectAndFlash(S));
    EXPECT_EQ(S.AnswerDialog(L"Fehler"), L"Communication error 10");
    EXPECT_EQ(JoinLines(S.Lines()),
              JoinLines(Concat({ClassicProjectLines, ClassicHandshakeLines,
                                {L"schreibe Flash...", L"Flash erfolgreich geschrieben", L"schreibe EEprom..."}})));
    ExpectStoppedAfterFlashError(S);
    CloseAndExpectExit(s);
  });
}

// ---------------------------------------------------------------------------
// What the window refuses, guards and cleans up

std::string JoinStates(const std::vector<std::string>& AStates) {
  std::string text;
  for (const std::string& state : AStates) text += (text.empty() ? "" : " ") + state;
  return text;
}

bool Checked(HWND ABox) { return SendMessageW(ABox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// Waits until the device logged at least ACount host events (the program
// may have ended already).
bool WaitForHostEvents(std::size_t ACount, DWORD ATimeout = 3000) {
  const ULONGLONG deadline = GetTickCount64() + ATimeout;
  while (ReadDeviceLog().HostStates.size() < ACount) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(10);
  }
  return true;
}

// Only the handshake reached the device.
void ExpectOnlyTheHandshake() {
  EXPECT_EQ(ReadDeviceLog().Names(), "I i") << "the device got more than the handshake";
}

TEST(FlashEndToEnd, ProjectBlockSizeBeyondTheBufferIsRefusedBeforeAnythingIsWritten) {
  RunOnOwnThread([] {
    TStartedSession s;
    TProject project = ClassicProject();
    // 600 words: blocks of 1200 bytes.
    const std::size_t at = project.Params.find("\r\nPageSize=64");
    ASSERT_NE(at, std::string::npos);
    project.Params.replace(at, 14, "\r\nPageSize=600");
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    TSession& S = s.Session;
    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0102")) << JoinLines(S.Lines());
    EXPECT_EQ(S.Lines()[ClassicProjectLines.size() + 2], L"Blocksize : 1200");
    ASSERT_TRUE(S.D.WaitUntil([&] { return S.Enabled(S.Flash); }));

    S.ClickFlash();
    EXPECT_EQ(S.AnswerDialog(L"Fehler"), L"Blocksize 1200 is not supported (1 to 1024 bytes).\rNothing was written.");
    ExpectOnlyTheHandshake();
    EXPECT_EQ(S.Lines().back(), L"LoaderID : $0102");
    // Still connected: the EEPROM alone, written byte by byte, can go.
    EXPECT_TRUE(S.Enabled(S.Flash));
    const HWND flashBox = S.Boxes[L"Flash"];
    S.D.ClickOn(flashBox);
    ASSERT_TRUE(S.D.WaitUntil([&] { return !Checked(flashBox); }, 3000)) << "the Flash box stayed checked";
    const int dumps = DeviceDumpCount();
    S.ClickFlash();
    ASSERT_TRUE(S.WaitForLine(L"Flashen erfolgreich beendet!")) << JoinLines(S.Lines());
    ASSERT_TRUE(WaitForDeviceDump(dumps, 5000)) << "the device was not told to leave the loader:\n" << DeviceLogTail();
    EXPECT_EQ(ReadDeviceLog().Count("P"), 0) << "flash pages were written";
    ExpectSameMemory(ErasedMemoryWith(0x8000, {}), DeviceFile(L"flash.bin"), "flash");
    ExpectSameMemory(
        ErasedMemoryWith(0x400, {{0, TBytes(project.Eeprom.at(0).begin(), project.Eeprom.at(0).begin() + 512)}}),
        DeviceFile(L"eeprom.bin"), "EEPROM");
    CloseAndExpectExit(s);
  });
}

TEST(FlashEndToEnd, DeviceBlockSizeBeyondTheBufferAndAnEepromChunkOfNoneAreRefused) {
  RunOnOwnThread([] {
    TStartedSession s;
    TProject project = XmegaProject();
    project.Device += " --page-size 2048";
    project.CloseAfterFlash = false;
    // The user-row box is hidden: its step cannot be left out by the user.
    project.UserRow.clear();
    const std::size_t at = project.Params.find("EPageSize=64");
    ASSERT_NE(at, std::string::npos);
    project.Params.replace(at, 12, "EPageSize=0");
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    TSession& S = s.Session;
    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0000")) << JoinLines(S.Lines());
    EXPECT_EQ(S.Lines()[XmegaProjectLines.size() + 2], L"Blocksize : 2048");
    ASSERT_TRUE(S.D.WaitUntil([&] { return S.Enabled(S.Flash); }));

    S.ClickFlash();
    EXPECT_EQ(S.AnswerDialog(L"Fehler"), L"Blocksize 2048 is not supported (1 to 1024 bytes).\rNothing was written.");
    // Without the flash step the block size does not matter, but the EEPROM
    // chunk of the project's EEPROM page size 0 does.
    S.D.ClickOn(S.Boxes[L"Flash"]);
    ASSERT_TRUE(S.D.WaitUntil([&] { return !Checked(S.Boxes[L"Flash"]); }, 3000)) << "the Flash box stayed checked";
    ASSERT_TRUE(Checked(S.Boxes[L"EEprom"]));
    S.ClickFlash();
    EXPECT_EQ(S.AnswerDialog(L"Fehler"), L"EEprom page size 0 is not supported (1 to 32 bytes).\rNothing was written.");
    ExpectOnlyTheHandshake();
    EXPECT_EQ(S.Lines().back(), L"LoaderID : $0000");
    CloseAndExpectExit(s);
  });
}

TEST(FlashEndToEnd, TwoClicksOnFlashInOneBatchMakeOneRun) {
  RunOnOwnThread([] {
    TStartedSession s;
    TProject project = XmegaProject();
    project.CloseAfterFlash = false;
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    TSession& S = s.Session;
    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0000")) << JoinLines(S.Lines());
    ASSERT_TRUE(S.D.WaitUntil([&] { return S.Enabled(S.Flash); }));
    const int dumps = DeviceDumpCount();
    S.D.Activate(S.Window);
    S.D.ClickOn(S.Flash, 2);
    ASSERT_TRUE(S.WaitForLine(L"Flashen erfolgreich beendet!")) << JoinLines(S.Lines());
    ASSERT_TRUE(WaitForDeviceDump(dumps, 5000)) << "the device was not told to leave the loader:\n" << DeviceLogTail();
    // A second run would show in the list and erase the device again.
    EXPECT_FALSE(S.D.WaitUntil([&] { return S.Lines().size() > XmegaProjectLines.size() + XmegaRunLines.size(); }, 1000))
        << JoinLines(S.Lines());
    EXPECT_EQ(JoinLines(S.Lines()), JoinLines(Concat({XmegaProjectLines, XmegaRunLines})));
    const TDeviceLog log = ReadDeviceLog();
    EXPECT_EQ(log.Count("E"), 1) << log.Names();
    EXPECT_EQ(log.Count("V"), 1);
    EXPECT_EQ(log.Count("X"), 1);
    ExpectXmegaMemory(project);
    CloseAndExpectExit(s);
  });
}

// An XMEGA project whose flash takes a few seconds on a device that needs
// 150 ms per page.
TProject SlowXmegaProject() {
  TProject p;
  p.Device = "--preset x128a1 --strict --fault P#*:delay=150";
  p.Params = "CPUname=XMEGA128A1\r\nDeviceID=2004812\r\nBootLoaderID=-1\r\nFlashMax=139264\r\nEEpromMax=0\r\n"
             "PageSize=256\r\nEPageSize=64\r\n";
  p.Flash[0] = PatternBytes(0x4000, 8);
  return p;
}

// Connects, starts the flash, waits until it runs and asks to close with
// Alt+F4; gives the question's window.
HWND StartFlashAndAskToClose(TStartedSession& s) {
  TSession& S = s.Session;
  S.ClickConnect();
  if (!S.WaitForLine(L"LoaderID : $0000") || !S.D.WaitUntil([&] { return S.Enabled(S.Flash); })) {
    ADD_FAILURE() << "not connected:\n" << JoinLines(S.Lines());
    return nullptr;
  }
  S.ClickFlash();
  if (!S.WaitForLine(L"schreibe Flash...")) {
    ADD_FAILURE() << "the flash did not start:\n" << JoinLines(S.Lines());
    return nullptr;
  }
  S.D.Activate(S.Window);
  S.D.KeyWith(VK_MENU, VK_F4);
  const HWND question = S.D.WaitForWindow(L"Beenden", 5000);
  if (!question) {
    ADD_FAILURE() << "no question";
    return nullptr;
  }
  EXPECT_EQ(TSession::DialogText(question),
            L"Aktuell wird eine MCU beschrieben.\r\n\r\nSoll das Programm wirklich beendet werden?\r\n\r\n"
            L"Vorsicht : Die MCU kann unbrauchbar werden!");
  return question;
}

TEST(FlashEndToEnd, ClosingDuringTheFlashAndAnsweringYesEndsTheProgramCleanly) {
  RunOnOwnThread([] {
    TStartedSession s;
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, SlowXmegaProject()));
    const HWND question = StartFlashAndAskToClose(s);
    ASSERT_NE(question, nullptr);
    const HWND yes = GetDlgItem(question, IDYES);
    ASSERT_NE(yes, nullptr);
    s.Driver.Activate(question);
    s.Driver.ClickOn(yes);
    // The task stops at its next step; nothing hangs, nothing crashes.
    EXPECT_EQ(s.Driver.WaitForExit(5000), 0);
    // The port was closed in the middle of the flash: no finish, no exit.
    ASSERT_TRUE(WaitForHostEvents(2)) << DeviceFile(L"device.log");
    const TDeviceLog log = ReadDeviceLog();
    EXPECT_EQ(JoinStates(log.HostStates), "open closed");
    EXPECT_EQ(log.Count("E"), 1);
    EXPECT_GE(log.Count("P"), 1);
    EXPECT_LT(log.Count("P"), 0x4000 / 512) << "the flash was not cut short";
    EXPECT_EQ(log.Count("V"), 0);
    EXPECT_EQ(log.Count("X"), 0);
  });
}

TEST(FlashEndToEnd, ClosingDuringTheFlashAndAnsweringNoLetsTheFlashSucceed) {
  RunOnOwnThread([] {
    TStartedSession s;
    const TProject project = SlowXmegaProject();
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    const int dumps = DeviceDumpCount();
    const HWND question = StartFlashAndAskToClose(s);
    ASSERT_NE(question, nullptr);
    s.Driver.Activate(question);
    s.Driver.Key(VK_RETURN);  // No is the default answer
    TSession& S = s.Session;
    ASSERT_TRUE(S.WaitForLine(L"Flashen erfolgreich beendet!")) << JoinLines(S.Lines());
    EXPECT_TRUE(s.Driver.Running());
    ASSERT_TRUE(WaitForDeviceDump(dumps, 5000)) << "the device was not told to leave the loader:\n" << DeviceLogTail();
    ExpectSameMemory(ErasedMemoryWith(0x22000, project.Flash), DeviceFile(L"flash.bin"), "flash");
    // After the flash, closing asks nothing.
    CloseAndExpectExit(s);
  });
}

// ---------------------------------------------------------------------------
// The port and baud boxes, by keyboard and mouse

// The open list of a combo box of the program: the popup's list box.
HWND OpenComboList(TProgramDriver& D) {
  HWND list = nullptr;
  D.WaitUntil(
      [&] {
        const HWND popup = D.FindWindow(String(), L"TcxComboBoxPopupWindow");
        if (!popup || !IsWindowVisible(popup)) return false;
        for (HWND child : Descendants(popup))
          if (SendMessageW(child, LB_GETCOUNT, 0, 0) > 0) list = child;
        return list != nullptr;
      },
      3000);
  return list;
}

// The program's visible top-level windows, for a failure's message.
std::string ProgramWindows(TProgramDriver& D, HWND AMain) {
  DWORD process = 0;
  GetWindowThreadProcessId(AMain, &process);
  std::string text = "; windows:";
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != process || !IsWindowVisible(w)) continue;
    text += " " + UTF8Encode(ClassOf(w));
    for (HWND child : Descendants(w))
      text += " [" + UTF8Encode(ClassOf(child)) + " " + std::to_string(SendMessageW(child, LB_GETCOUNT, 0, 0)) + "]";
  }
  (void)D;
  return text;
}

bool ComboListClosed(TProgramDriver& D) {
  return D.WaitUntil(
      [&] {
        const HWND popup = D.FindWindow(String(), L"TcxComboBoxPopupWindow");
        return !popup || !IsWindowVisible(popup);
      },
      3000);
}

int IndexOf(const std::vector<String>& ALines, const String& AText) {
  const auto it = std::find(ALines.begin(), ALines.end(), AText);
  return it == ALines.end() ? -1 : static_cast<int>(it - ALines.begin());
}

// The middle of a row of an open list, on the screen.
POINT ListRowCentre(HWND AList, int ARow) {
  const int height = static_cast<int>(SendMessageW(AList, LB_GETITEMHEIGHT, 0, 0));
  const int top = static_cast<int>(SendMessageW(AList, LB_GETTOPINDEX, 0, 0));
  POINT p{20, (ARow - top) * height + height / 2};
  ClientToScreen(AList, &p);
  return p;
}

// The drop-down button of a box: the right end inside its frame.
POINT ComboButtonCentre(HWND ABox) {
  RECT r{};
  GetWindowRect(ABox, &r);
  return POINT{r.right - 9, (r.top + r.bottom) / 2};
}

void ClickAt(TProgramDriver& D, const POINT& AAt) {
  D.MoveMouseTo(AAt);
  D.PressMouse();
  D.ReleaseMouse();
}

// The focused window of the program and its selection, if it is an edit.
HWND ProgramFocus(HWND AWindow) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(AWindow, nullptr), &info);
  return info.hwndFocus;
}

int CountPixels(const TScreenShot& AShot, const RECT& AIn, COLORREF AColour) {
  int n = 0;
  for (int y = AIn.top; y < AIn.bottom; ++y)
    for (int x = AIn.left; x < AIn.right; ++x) n += AShot.Pixel(x, y) == AColour;
  return n;
}

// How a box shows on the screen: inside a one-pixel margin of the parent's
// colour, a one-pixel frame of AFrame round a field of AField, and at its
// right a 17-pixel button whose button-face middle holds an arrow of AArrow.
std::string ComboLookFault(HWND ABox, COLORREF AFrame, COLORREF AField, COLORREF AArrow, bool ALeftFrame = true) {
  RECT r{};
  GetWindowRect(ABox, &r);
  const TScreenShot shot(ABox);
  std::string fault;
  const auto say = [&](const char* AWhat, COLORREF AGot, COLORREF AWant) {
    char text[120];
    std::snprintf(text, sizeof(text), "%s %06lX (want %06lX); ", AWhat, static_cast<unsigned long>(AGot),
                  static_cast<unsigned long>(AWant));
    fault += text;
  };
  if (r.right - r.left != 121) fault += "width " + std::to_string(r.right - r.left) + " (want 121); ";
  const int midY = (r.top + r.bottom) / 2;
  for (const POINT p : {POINT{r.left + 30, r.top + 1}, POINT{r.left + 30, r.bottom - 2}, POINT{r.left + 1, r.top + 3},
                        POINT{r.right - 2, midY}})
    if ((ALeftFrame || p.x != r.left + 1) && shot.Pixel(p.x, p.y) != AFrame) say("frame", shot.Pixel(p.x, p.y), AFrame);
  const int buttonLeft = r.right - 2 - 17;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  if (shot.Pixel(buttonLeft - 2, r.top + 3) != AField)
    say("field", shot.Pixel(buttonLeft - 2, r.top + 3), AField);
  if (shot.Pixel(buttonLeft + 2, r.top + 3) != face) say("button face", shot.Pixel(buttonLeft + 2, r.top + 3), face);
  const RECT button{buttonLeft, r.top + 2, r.right - 2, r.bottom - 2};
  if (CountPixels(shot, button, AArrow) < 4) fault += "no arrow in the button; ";
  if (!fault.empty()) {
    char text[64];
    fault += "\nrow:";
    for (int x = r.left; x < r.right; ++x) {
      std::snprintf(text, sizeof(text), " %06lX", static_cast<unsigned long>(shot.Pixel(x, midY)));
      fault += text;
    }
    fault += "\ncolumn:";
    for (int y = r.top; y < r.bottom; ++y) {
      std::snprintf(text, sizeof(text), " %06lX", static_cast<unsigned long>(shot.Pixel(r.left + 30, y)));
      fault += text;
    }
  }
  return fault;
}

TEST(FlashEndToEnd, PortChosenByKeyboardAndMouseAndTheTypedBaudRateIsUsedAndKept) {
  RunOnOwnThread([] {
    TStartedSession s;
    TProject project = ClassicProject();
    project.BaudText = "9600";
    ASSERT_FALSE(TestPortName().empty()) << "run this program through tools/with-device";
    WriteProject(s.Dir, project);
    ASSERT_TRUE(s.Driver.Started());
    TSession& S = s.Session;
    TProgramDriver& D = s.Driver;
    ASSERT_TRUE(S.Attach());
    D.Activate(S.Window);
    D.MoveMouseOnto(S.List);
    EXPECT_EQ(WindowText(S.Baud), L"9600");
    // At rest, away from the mouse and the focus.
    const COLORREF window = GetSysColor(COLOR_WINDOW), shadow = GetSysColor(COLOR_BTNSHADOW);
    std::string look;
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    EXPECT_TRUE(D.WaitUntil([&] { return (look = ComboLookFault(S.Baud, shadow, window, text)).empty(); }, 3000))
        << look;

    // The keyboard: the list opened with Alt+Down, walked with Down, taken
    // with Enter.
    // A click gives the box the focus (a click into a focused box opens it).
    D.ClickOn(S.Port);
    D.Key(VK_ESCAPE);
    ASSERT_TRUE(ComboListClosed(D));
    D.KeyWith(VK_MENU, VK_DOWN);
    HWND list = OpenComboList(D);
    ASSERT_NE(list, nullptr) << "Alt+Down opens the list" << ProgramWindows(D, S.Window);
    std::vector<String> ports = D.ListLines(list);
    const int wanted = IndexOf(ports, TestPortName());
    ASSERT_GE(wanted, 0) << "the port box lists the device's port";
    const int other = wanted == 0 ? static_cast<int>(ports.size()) - 1 : 0;
    const int from = IndexOf(ports, WindowText(S.Port));
    ASSERT_GE(from, 0);
    for (int i = from; i < wanted; ++i) D.Key(VK_DOWN);
    for (int i = from; i > wanted; --i) D.Key(VK_UP);
    EXPECT_EQ(WindowText(S.Port), ports[static_cast<std::size_t>(from)]) << "the open list moves alone";
    D.Key(VK_RETURN);
    ASSERT_TRUE(ComboListClosed(D));
    EXPECT_EQ(WindowText(S.Port), TestPortName());

    // The mouse: the button opens the list, a click on a row takes it.
    if (other != wanted) {
      ClickAt(D, ComboButtonCentre(S.Port));
      list = OpenComboList(D);
      ASSERT_NE(list, nullptr) << "the button opens the list";
      ClickAt(D, ListRowCentre(list, other));
      ASSERT_TRUE(ComboListClosed(D));
      EXPECT_EQ(WindowText(S.Port), ports[static_cast<std::size_t>(other)]);
    }
    ClickAt(D, ComboButtonCentre(S.Port));
    list = OpenComboList(D);
    ASSERT_NE(list, nullptr) << "the button opens the list";
    ClickAt(D, ListRowCentre(list, wanted));
    ASSERT_TRUE(ComboListClosed(D));
    ASSERT_EQ(WindowText(S.Port), TestPortName());
    // Focused and closed, the port shows on a highlight bar.
    D.MoveMouseOnto(S.List);
    RECT port{};
    GetWindowRect(S.Port, &port);
    EXPECT_TRUE(D.WaitUntil(
        [&] { return CountPixels(TScreenShot(S.Port), port, GetSysColor(COLOR_HIGHLIGHT)) > 100; }, 3000))
        << "no highlight bar in the focused port box";

    // Tab selects the whole rate; 1 completes it to the first rate with a 1,
    // 19200, and a second 1 to 115200.
    D.Key(VK_TAB);
    HWND edit = nullptr;
    ASSERT_TRUE(D.WaitUntil([&] {
      edit = ProgramFocus(S.Window);
      return edit && (edit == S.Baud || IsChild(S.Baud, edit));
    })) << "Tab goes to the baud box";
    const LRESULT selection = SendMessageW(edit, EM_GETSEL, 0, 0);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 4) << "all of 9600 selected";
    D.TypeText(L"1");
    EXPECT_TRUE(D.WaitUntil([&] { return WindowText(S.Baud) == L"19200"; }, 2000)) << UTF8Encode(WindowText(S.Baud));
    D.TypeText(L"1");
    EXPECT_TRUE(D.WaitUntil([&] { return WindowText(S.Baud) == L"115200"; }, 2000)) << UTF8Encode(WindowText(S.Baud));

    // Used for the whole job.
    ASSERT_NO_FATAL_FAILURE(S.OpenProject(s.Dir.File(L"Board.PPRO")));
    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0102")) << JoinLines(S.Lines());
    ASSERT_TRUE(D.WaitUntil([&] { return S.Enabled(S.Flash); }));
    // Disabled while connected: button-face fields.
    D.MoveMouseOnto(S.List);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // The port box, focused when it was disabled, loses the left line of its
    // frame on the way (an open fault of its painting); the rest holds.
    EXPECT_TRUE(D.WaitUntil([&] { return (look = ComboLookFault(S.Port, shadow, face, shadow, false)).empty(); }, 3000))
        << look;
    EXPECT_TRUE(D.WaitUntil([&] { return (look = ComboLookFault(S.Baud, shadow, face, shadow)).empty(); }, 3000))
        << look;
    S.ClickFlash();
    ASSERT_TRUE(S.WaitForLine(L"Flashen erfolgreich beendet!")) << JoinLines(S.Lines());
    CloseAndExpectExit(s);

    // The next start shows the rate again.
    TProgramDriver again(s.Dir.Path());
    TSession next(again);
    ASSERT_TRUE(next.Attach());
    EXPECT_EQ(WindowText(next.Baud), L"115200");
    next.Close();
    EXPECT_EQ(again.WaitForExit(), 0);
  });
}

TEST(FlashEndToEnd, ABaudRateTextThatIsNoNumberLeavesThePortFreeForTheNextAttempt) {
  RunOnOwnThread([] {
    TStartedSession s;
    TProject project = ClassicProject();
    project.BaudText = "abc";
    ASSERT_NO_FATAL_FAILURE(StartAndOpen(s, project));
    TSession& S = s.Session;
    EXPECT_EQ(WindowText(S.Baud), L"abc");
    S.ClickConnect();
    EXPECT_EQ(S.AnswerDialog(L"Fehler"), L"'abc' ist kein gültiger Integerwert.");
    // Closed at once, not only by the next attempt.
    EXPECT_TRUE(WaitForHostEvents(2)) << "the port stayed open: " << JoinStates(ReadDeviceLog().HostStates);
    ExpectDisconnectedAfterFailure(S);
    ASSERT_NO_FATAL_FAILURE(S.ChooseItem(S.Baud, L"38400"));
    S.ClickConnect();
    ASSERT_TRUE(S.WaitForLine(L"LoaderID : $0102")) << JoinLines(S.Lines());
    EXPECT_TRUE(S.D.WaitUntil([&] { return WindowText(S.Connect) == L"Verbunden"; }));
    EXPECT_EQ(JoinStates(ReadDeviceLog().HostStates), "open closed open");
    CloseAndExpectExit(s);
  });
}

}  // namespace
