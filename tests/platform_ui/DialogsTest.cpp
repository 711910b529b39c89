#include "platform/ui/Dialogs.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/ExtCtrls.h"

#include "tests/platform_ui/InputScript.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <commdlg.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace {

// Records what the dialogs were asked to show; answers from a script, or lets
// the real dialog run.
class TRecordingProvider : public TDialogProvider {
  SK_CLASS(TRecordingProvider, TDialogProvider)
 public:
  std::vector<TMessageDlgParams> Dialogs;
  std::vector<TMessageBoxParams> Boxes;
  std::vector<UINT> Sounds;
  std::vector<String> OpenTitles;
  TModalResult Answer = mrNone;
  bool Real = false;
  String ChosenFile;  // the open dialog's answer; empty: cancelled

  TModalResult MessageDlg(const TMessageDlgParams& AParams) override {
    Dialogs.push_back(AParams);
    return Real ? inherited::MessageDlg(AParams) : Answer;
  }
  int MessageBox(const TMessageBoxParams& AParams) override {
    Boxes.push_back(AParams);
    return static_cast<int>(Answer);
  }
  bool ExecuteOpenDialog(TOpenDialog* ADialog) override {
    if (Real) return inherited::ExecuteOpenDialog(ADialog);
    OpenTitles.push_back(ADialog->Title());
    if (ChosenFile.empty()) return false;
    ADialog->SetResult({ChosenFile}, 1, false, false);
    return true;
  }
  void MessageSound(UINT ASound) override { Sounds.push_back(ASound); }
};

class DialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    FProvider = New<TRecordingProvider>();
    FPrevious = SetDialogProvider(FProvider);
  }
  void TearDown() override {
    SetDialogProvider(FPrevious);
    FreeAndNil(FProvider);
  }
  TRecordingProvider* FProvider = nullptr;
  TDialogProvider* FPrevious = nullptr;
};

// ---------------------------------------------------------------------------
// What the dialogs ask for (through the provider)

TEST_F(DialogsTest, TypeGivesCaptionAndSound) {
  struct Case {
    TMsgDlgType Type;
    const wchar_t* Caption;
    UINT Sound;
  };
  const Case cases[] = {
      {mtWarning, L"Warnung", MB_ICONEXCLAMATION},
      {mtError, L"Fehler", MB_ICONHAND},
      {mtInformation, L"Information", MB_ICONASTERISK},
      {mtConfirmation, L"Bestätigen", MB_ICONQUESTION},
      {mtCustom, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Type));
    FProvider->Dialogs.clear();
    MessageDlg(L"Text", c.Type, {mbOK}, 0);
    ASSERT_EQ(FProvider->Dialogs.size(), 1u);
    EXPECT_EQ(FProvider->Dialogs[0].Caption, c.Caption ? String(c.Caption) : DialogApplicationTitle());
    EXPECT_EQ(FProvider->Dialogs[0].DlgType, c.Type);
    EXPECT_EQ(MsgDlgTypeSound(c.Type), c.Sound);
  }
  EXPECT_EQ(DialogApplicationTitle(), L"test_platform_ui");
}

TEST(DialogTexts, GermanButtonCaptionsAndResults) {
  struct Case {
    TMsgDlgBtn Button;
    const wchar_t* Caption;
    TModalResult Result;
  };
  const Case cases[] = {
      {mbYes, L"&Ja", mrYes},
      {mbNo, L"&Nein", mrNo},
      {mbOK, L"OK", mrOk},
      {mbCancel, L"Abbrechen", mrCancel},
      {mbAbort, L"&Abbrechen", mrAbort},
      {mbRetry, L"&Wiederholen", mrRetry},
      {mbIgnore, L"&Ignorieren", mrIgnore},
      {mbAll, L"&Alle", mrAll},
      {mbNoToAll, L"N&ein für alle", mrNoToAll},
      {mbYesToAll, L"Ja für a&lle", mrYesToAll},
      {mbHelp, L"&Hilfe", mrHelp},
      {mbClose, L"&Schließen", mrClose},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Caption);
    EXPECT_EQ(MsgDlgButtonCaption(c.Button), c.Caption);
    EXPECT_EQ(MsgDlgButtonResult(c.Button), c.Result);
  }
  EXPECT_THROW(MsgDlgButtonCaption(static_cast<TMsgDlgBtn>(40)), EDialogError);
  EXPECT_THROW(MsgDlgTypeCaption(static_cast<TMsgDlgType>(9)), EDialogError);
}

TEST(DialogParams, DefaultAndCancelButtons) {
  struct Case {
    const char* Name;
    TMsgDlgButtons Buttons;
    std::optional<TMsgDlgBtn> Asked;
    TMsgDlgBtn Default;
    std::optional<TMsgDlgBtn> Cancel;
  };
  const Case cases[] = {
      {"abort alone", {mbAbort}, {}, mbAbort, mbAbort},
      {"ok alone", {mbOK}, {}, mbOK, mbOK},
      {"yes no", mbYesNo, {}, mbYes, mbNo},
      {"yes no, no asked", mbYesNo, mbNo, mbNo, mbNo},
      {"asked button missing", mbYesNo, mbOK, mbYes, mbNo},
      {"ok cancel", mbOKCancel, {}, mbOK, mbCancel},
      {"abort retry ignore", mbAbortRetryIgnore, {}, mbRetry, {}},
      {"abort ignore", mbAbortIgnore, {}, mbAbort, {}},
      {"empty set shows ok", {}, {}, mbOK, mbOK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const TMsgDlgBtn* asked = c.Asked ? &*c.Asked : nullptr;
    const TMessageDlgParams p = MakeMessageDlgParams(L"x", mtWarning, c.Buttons, 0, -1, -1, asked);
    EXPECT_EQ(p.DefaultButton, c.Default);
    EXPECT_EQ(p.HasCancelButton, c.Cancel.has_value());
    if (c.Cancel) {
      EXPECT_EQ(p.CancelButton, *c.Cancel);
    }
    EXPECT_TRUE(p.Buttons.Contains(p.DefaultButton));
  }
  EXPECT_EQ(MakeMessageDlgParams(L"x", mtError, {}, 0, -1, -1, nullptr).Buttons, TMsgDlgButtons{mbOK});
}

TEST_F(DialogsTest, PositionTextButtonsAndAnswerReachTheProvider) {
  FProvider->Answer = mrAbort;
  const TModalResult result = MessageDlgPos(L"Error in Hex-File!", mtError, {mbAbort}, 0, 526, 717);
  EXPECT_EQ(result, mrAbort);
  ASSERT_EQ(FProvider->Dialogs.size(), 1u);
  const TMessageDlgParams& p = FProvider->Dialogs[0];
  EXPECT_EQ(p.Text, L"Error in Hex-File!");
  EXPECT_EQ(p.Caption, L"Fehler");
  EXPECT_EQ(p.X, 526);
  EXPECT_EQ(p.Y, 717);
  EXPECT_EQ(p.Buttons, TMsgDlgButtons{mbAbort});

  FProvider->Answer = mrOk;
  MessageDlg(L"centred", mtInformation, {mbOK}, 0);
  EXPECT_EQ(FProvider->Dialogs[1].X, -1);
  EXPECT_EQ(FProvider->Dialogs[1].Y, -1);
  // A main window on a monitor left of the primary one: the place is kept.
  MessageDlgPos(L"links", mtWarning, {mbOK}, 0, -1180, 300);
  EXPECT_EQ(FProvider->Dialogs[2].X, -1180);
  EXPECT_EQ(FProvider->Dialogs[2].Y, 300);
}

TEST_F(DialogsTest, ShowMessageIsACustomDialogWithOneOkButton) {
  ShowMessage(L"Der angegebene Port ist nicht bereit, Daten zu senden/empfangen.");
  ASSERT_EQ(FProvider->Dialogs.size(), 1u);
  const TMessageDlgParams& p = FProvider->Dialogs[0];
  EXPECT_EQ(p.DlgType, mtCustom);
  EXPECT_EQ(p.Caption, DialogApplicationTitle());
  EXPECT_EQ(p.Buttons, TMsgDlgButtons{mbOK});
  EXPECT_EQ(p.X, -1);
}

TEST_F(DialogsTest, MessageBoxGoesThroughTheProvider) {
  FProvider->Answer = IDNO;
  const int answer = DialogMessageBox(nullptr, L"Soll das Programm wirklich beendet werden?", L"Beenden",
                                      MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
  EXPECT_EQ(answer, IDNO);
  ASSERT_EQ(FProvider->Boxes.size(), 1u);
  EXPECT_EQ(FProvider->Boxes[0].Caption, L"Beenden");
  EXPECT_EQ(FProvider->Boxes[0].Flags, static_cast<UINT>(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2));
}

// ---------------------------------------------------------------------------
// The real message dialog, driven by real input

class RealMessageDialogTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    FProvider->Real = true;
    FWindows = ThreadWindowCount();
  }
  void TearDown() override {
    PumpPending();
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "a dialog window outlived its dialog";
    DialogsTest::TearDown();
  }
  int FWindows = 0;
};

struct TKeyCase {
  const char* Name;
  TMsgDlgButtons Buttons;
  std::vector<TInputStep> Keys;
  TModalResult Expected;
};

TEST_F(RealMessageDialogTest, KeyboardAnswers) {
  const TKeyCase cases[] = {
      {"enter presses the default", mbYesNo, {Key(VK_RETURN)}, mrYes},
      {"esc presses cancel", mbYesNoCancel, {Key(VK_ESCAPE)}, mrCancel},
      {"esc presses no without cancel", mbYesNo, {Key(VK_ESCAPE)}, mrNo},
      {"esc presses the only button", {mbAbort}, {Key(VK_ESCAPE)}, mrAbort},
      {"tab moves to the next button", mbYesNo, {Key(VK_TAB), Key(VK_SPACE)}, mrNo},
      {"alt and accelerator", mbYesNoCancel, {AltKey('N')}, mrNo},
      {"accelerator of abort", mbAbortRetryIgnore, {AltKey('I')}, mrIgnore},
  };
  for (const TKeyCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDialogScript script(L"TMessageForm", c.Keys);
    const TModalResult result = MessageDlg(L"Frage?", mtConfirmation, c.Buttons, 0);
    EXPECT_TRUE(script.Acted()) << "the dialog never showed";
    EXPECT_FALSE(script.TimedOut()) << "the input did not close the dialog";
    EXPECT_EQ(result, c.Expected);
  }
}

TEST_F(RealMessageDialogTest, ShowsAtPositionWithIconCaptionTextAndButtons) {
  TDialogSnapshot seen;
  TDialogScript script(L"TMessageForm", {}, [&](HWND ADialog) {
    seen = TDialogSnapshot::Of(ADialog);
    const TChildInfo* abort = seen.ButtonWithText(L"&Abbrechen");
    if (abort) ClickAt(CentreOf(abort->ScreenRect));
  });
  const TModalResult result =
      MessageDlgPos(L"checksum error!\r+File :\rfirmware.hex\rLine : 12", mtError, {mbAbort}, 0, 526, 317);
  ASSERT_TRUE(script.Acted());
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(result, mrAbort);
  EXPECT_EQ(FProvider->Sounds, std::vector<UINT>{MB_ICONHAND});

  EXPECT_EQ(seen.Caption, L"Fehler");
  EXPECT_EQ(seen.WindowRect.left, 526);
  EXPECT_EQ(seen.WindowRect.top, 317);
  EXPECT_EQ(seen.Icon, LoadIconW(nullptr, IDI_ERROR));
  EXPECT_EQ(seen.Text, L"checksum error!\r+File :\rfirmware.hex\rLine : 12");
  // Four lines: the carriage returns break the text.
  EXPECT_GE(seen.TextRect.bottom - seen.TextRect.top, 4 * seen.LineHeight);
  ASSERT_EQ(seen.Buttons.size(), 1u);
  EXPECT_TRUE(seen.Buttons[0].Default);
  // Everything lies inside the client area.
  for (const TChildInfo& child : seen.Children) {
    SCOPED_TRACE(child.Text);
    EXPECT_GE(child.ClientRect.left, 0);
    EXPECT_GE(child.ClientRect.top, 0);
    EXPECT_LE(child.ClientRect.right, seen.ClientSize.cx);
    EXPECT_LE(child.ClientRect.bottom, seen.ClientSize.cy);
  }
}

TEST_F(RealMessageDialogTest, ButtonsInOrderWithGermanCaptionsAndNoOverlap) {
  TDialogSnapshot seen;
  TDialogScript script(L"TMessageForm", {Key(VK_ESCAPE)}, [&](HWND ADialog) { seen = TDialogSnapshot::Of(ADialog); });
  const TModalResult result = MessageDlg(L"Alle ersetzen?", mtWarning, mbYesAllNoAllCancel + TMsgDlgButtons{mbHelp}, 0);
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(seen.Caption, L"Warnung");
  std::vector<String> captions;
  for (const TChildInfo& b : seen.Buttons) captions.push_back(b.Text);
  EXPECT_EQ(captions, (std::vector<String>{L"&Ja", L"&Nein", L"Abbrechen", L"N&ein für alle", L"Ja für a&lle",
                                           L"&Hilfe"}));
  for (std::size_t i = 1; i < seen.Buttons.size(); ++i) {
    EXPECT_LT(seen.Buttons[i - 1].ClientRect.right, seen.Buttons[i].ClientRect.left);
    EXPECT_EQ(seen.Buttons[i - 1].ClientRect.top, seen.Buttons[i].ClientRect.top);
  }
}

TEST_F(RealMessageDialogTest, CentredWithoutPosition) {
  TDialogSnapshot seen;
  TDialogScript script(L"TMessageForm", {Key(VK_RETURN)}, [&](HWND ADialog) { seen = TDialogSnapshot::Of(ADialog); });
  ShowMessage(L"Hallo");
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int centreX = (seen.WindowRect.left + seen.WindowRect.right) / 2;
  const int centreY = (seen.WindowRect.top + seen.WindowRect.bottom) / 2;
  EXPECT_NEAR(centreX, (work.left + work.right) / 2, 1);
  EXPECT_NEAR(centreY, (work.top + work.bottom) / 2, 1);
  EXPECT_EQ(seen.Icon, nullptr) << "a custom dialog shows no icon";
  EXPECT_EQ(seen.Caption, DialogApplicationTitle());
  EXPECT_TRUE(FProvider->Sounds.empty());
}

TEST_F(RealMessageDialogTest, CloseBoxAnswersTheCancelResult) {
  struct Case {
    const char* Name;
    TMsgDlgButtons Buttons;
    TModalResult Expected;
  };
  const Case cases[] = {
      {"yes no", mbYesNo, mrNo},
      {"ok cancel", mbOKCancel, mrCancel},
      {"abort retry ignore", mbAbortRetryIgnore, mrCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TDialogScript script(L"TMessageForm", {}, [](HWND ADialog) { PostMessageW(ADialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(MessageDlg(L"?", mtConfirmation, c.Buttons, 0), c.Expected);
  }
}

TEST_F(RealMessageDialogTest, OtherWindowsAreDisabledWhileOpenAndWorkGoesOn) {
  HWND other = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetActiveWindow(other);
  bool disabledWhileOpen = false;
  HWND ownerWhileOpen = nullptr;
  TDialogScript script(L"TMessageForm", {Key(VK_RETURN)}, [&](HWND ADialog) {
    disabledWhileOpen = !IsWindowEnabled(other);
    ownerWhileOpen = GetWindow(ADialog, GW_OWNER);
  });
  const int windows = ThreadWindowCount();
  MessageDlg(L"x", mtInformation, {mbOK}, 0);
  // The driver is itself a timer: its ticks ran inside the dialog's loop.
  EXPECT_TRUE(script.Acted());
  EXPECT_TRUE(disabledWhileOpen);
  EXPECT_EQ(ownerWhileOpen, other);
  EXPECT_TRUE(IsWindowEnabled(other));
  EXPECT_EQ(ThreadWindowCount(), windows);
  DestroyWindow(other);
}

TEST_F(RealMessageDialogTest, WorkQueuedByOtherThreadsRunsInOrderWhileOpen) {
  constexpr int Threads = 3;
  constexpr int Items = 20;
  std::vector<std::pair<int, int>> ran;  // (thread, item), in the order run
  std::vector<TThread*> workers;
  TDialogScript script(L"TMessageForm", {Key(VK_RETURN)}, [&](HWND) {
    for (int t = 0; t < Threads; ++t) {
      TThread* worker = TThread::CreateAnonymousThread([t, &ran] {
        for (int i = 0; i < Items; ++i) {
          // Queue does not wait; Synchronize waits until the dialog's loop ran it.
          auto record = [t, i, &ran] { ran.emplace_back(t, i); };
          if (i % 2) TThread::Queue(nullptr, record);
          else TThread::Synchronize(nullptr, record);
        }
      });
      worker->SetFreeOnTerminate(false);
      workers.push_back(worker);
      worker->Start();
    }
  });
  script.SendWhen([&] { return ran.size() == Threads * Items; });
  MessageDlg(L"Warten", mtInformation, {mbOK}, 0);
  EXPECT_FALSE(script.TimedOut()) << "queued work stalled while the dialog was open";
  for (TThread* worker : workers) {
    worker->WaitFor();
    worker->Free();
  }
  ASSERT_EQ(ran.size(), static_cast<std::size_t>(Threads * Items));
  std::vector<int> next(Threads, 0);
  for (const auto& [t, i] : ran) EXPECT_EQ(i, next[t]++) << "thread " << t << " ran out of order";
}

TEST_F(RealMessageDialogTest, QuitRequestEndsTheDialogAndStaysQueued) {
  TDialogScript script(L"TMessageForm", {}, [](HWND) { PostQuitMessage(3); });
  EXPECT_EQ(MessageDlg(L"x", mtWarning, mbYesNo, 0), mrNo);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(RealMessageDialogTest, NoGdiObjectsLeak) {
  auto once = [] {
    TDialogScript script(L"TMessageForm", {Key(VK_RETURN)});
    MessageDlg(L"Leak?", mtWarning, mbYesNoCancel, 0);
  };
  once();  // the system creates some objects on first use
  const int gdi = GdiObjectCount();
  once();
  once();
  EXPECT_EQ(GdiObjectCount(), gdi);
}

// ---------------------------------------------------------------------------
// The open dialog

TEST(OpenDialog, DefaultsOptionsAndFlags) {
  TOpenDialog* od = New<TOpenDialog>(nullptr);
  EXPECT_EQ(od->FilterIndex(), 1);
  EXPECT_EQ(od->Options(), (TOpenOptions{ofHideReadOnly, ofEnableSizing}));
  EXPECT_TRUE(IsDefaultOrdValue(od, FindPropInfo(od, L"Options")));
  EXPECT_EQ(GetClass(L"TOpenDialog"), TOpenDialog::ClassInfo());
  SetSetProp(od, FindPropInfo(od, L"Options"), L"[ofHideReadOnly,ofPathMustExist,ofFileMustExist,ofEnableSizing]");
  EXPECT_EQ(OpenOptionsToFlags(od->Options()),
            static_cast<DWORD>(OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                               OFN_ENABLESIZING));
  EXPECT_EQ(OpenOptionsToFlags({ofOldStyleDialog, ofAllowMultiSelect}), static_cast<DWORD>(OFN_ALLOWMULTISELECT));
  od->Free();
}

class TShowCloseSink : public TObject {
  SK_CLASS(TShowCloseSink, TObject)
 public:
  std::vector<String> Log;
  void Shown(TObject*) { Log.push_back(L"show"); }
  void Closed(TObject*) { Log.push_back(L"close"); }
};

TEST_F(DialogsTest, OpenDialogAnswersThroughTheProvider) {
  TOpenDialog* od = New<TOpenDialog>(nullptr);
  TShowCloseSink* sink = New<TShowCloseSink>();
  od->SetOnShow(BindEvent<&TShowCloseSink::Shown>(sink));
  od->SetOnClose(BindEvent<&TShowCloseSink::Closed>(sink));
  od->SetTitle(L"Torvik Projekt öffnen");
  EXPECT_FALSE(od->Execute());
  FProvider->ChosenFile = L"C:\\p\\a.PPRO";
  EXPECT_TRUE(od->Execute());
  EXPECT_EQ(od->FileName(), L"C:\\p\\a.PPRO");
  EXPECT_EQ(od->Files()->ToStringArray(), std::vector<String>{L"C:\\p\\a.PPRO"});
  EXPECT_EQ(FProvider->OpenTitles, (std::vector<String>{L"Torvik Projekt öffnen", L"Torvik Projekt öffnen"}));
  EXPECT_EQ(sink->Log, (std::vector<String>{L"show", L"close", L"show", L"close"}));
  od->Free();
  sink->Free();
}

class RealOpenDialogTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    FProvider->Real = true;
    // The dialog makes the chosen folder current; the test gives it back.
    FCurrentDir = std::filesystem::current_path();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    FDir = std::filesystem::path(temp) / (L"sk_open_" + std::filesystem::path(test->name()).wstring());
    std::error_code ignored;
    std::filesystem::remove_all(FDir, ignored);
    std::filesystem::create_directories(FDir);
    std::ofstream(FDir / L"projekt.PPRO") << "[Project]\n";
    std::ofstream(FDir / L"other.txt") << "x\n";
  }
  void TearDown() override {
    std::filesystem::current_path(FCurrentDir);
    std::error_code ignored;
    std::filesystem::remove_all(FDir, ignored);
    DialogsTest::TearDown();
  }
  std::filesystem::path FDir;
  std::filesystem::path FCurrentDir;
};

TEST_F(RealOpenDialogTest, ChosenFileWithTheApplicationsSettings) {
  TOwned<TOpenDialog> odOwner(New<TOpenDialog>(nullptr));
  TOpenDialog* od = odOwner.get();
  od->SetDefaultExt(L"*.PPRO");
  od->SetFilter(L"Torvik Projekt|*.PPRO");
  od->SetOptions({ofHideReadOnly, ofPathMustExist, ofFileMustExist, ofEnableSizing});
  od->SetTitle(L"Torvik Projekt öffnen");
  od->SetInitialDir(FDir.wstring());
  std::vector<TInputStep> steps = TypeText(L"projekt.PPRO");
  steps.push_back(Key(VK_RETURN));
  TDialogScript script(L"#32770", steps, nullptr, L"Torvik Projekt öffnen");
  const bool confirmed = od->Execute();
  EXPECT_TRUE(script.Acted()) << "the open dialog never showed";
  EXPECT_FALSE(script.TimedOut());
  ASSERT_TRUE(confirmed);
  EXPECT_TRUE(std::filesystem::equivalent(od->FileName(), FDir / L"projekt.PPRO")) << od->FileName();
  EXPECT_EQ(od->FilterIndex(), 1);
  odOwner.reset();
}

TEST_F(RealOpenDialogTest, SeveralChosenFilesComeWithFullPaths) {
  TOwned<TOpenDialog> odOwner(New<TOpenDialog>(nullptr));
  TOpenDialog* od = odOwner.get();
  od->SetTitle(L"Mehrere");
  od->SetOptions({ofAllowMultiSelect, ofFileMustExist, ofEnableSizing});
  od->SetInitialDir(FDir.wstring());
  std::vector<TInputStep> steps = TypeText(L"\"projekt.PPRO\" \"other.txt\"");
  steps.push_back(Key(VK_RETURN));
  TDialogScript script(L"#32770", steps, nullptr, L"Mehrere");
  ASSERT_TRUE(od->Execute());
  EXPECT_FALSE(script.TimedOut());
  std::vector<String> files = od->Files()->ToStringArray();
  std::sort(files.begin(), files.end());
  ASSERT_EQ(files.size(), 2u);
  EXPECT_TRUE(std::filesystem::equivalent(files[0], FDir / L"other.txt")) << files[0];
  EXPECT_TRUE(std::filesystem::equivalent(files[1], FDir / L"projekt.PPRO")) << files[1];
  EXPECT_EQ(od->FileName(), od->Files()->Strings(0));
  odOwner.reset();
}

TEST_F(RealOpenDialogTest, CancelAnswersFalseAndKeepsTheName) {
  TOpenDialog* od = New<TOpenDialog>(nullptr);
  od->SetTitle(L"Abbrechen-Test");
  od->SetFileName(L"vorher.PPRO");
  od->SetInitialDir(FDir.wstring());
  TDialogScript script(L"#32770", {Key(VK_ESCAPE)}, nullptr, L"Abbrechen-Test");
  EXPECT_FALSE(od->Execute());
  EXPECT_TRUE(script.Acted());
  EXPECT_EQ(od->FileName(), L"vorher.PPRO");
  od->Free();
}

}  // namespace
