// Focus entry and exit by real moves (Tab, clicks, SetFocus): the order of
// OnEnter, the post and OnExit, validation keeping or letting go the focus,
// Enter and Escape, a closing modal form, and an OnExit that raises.
#include "tests/library_editors/edit/cxEdit_InputTesting.h"

#include "tests/support/ExceptionLog.h"

#include <algorithm>

namespace {

using namespace input_testing;

// The focus steps of the log, without the keys.
TLog FocusSteps(const TLog& ALog) {
  TLog result;
  std::copy_if(ALog.begin(), ALog.end(), std::back_inserter(result), [](const std::string& S) {
    return S == "Enter" || S.rfind("Exit", 0) == 0 || S.rfind("Post", 0) == 0 || S.rfind("Validate", 0) == 0;
  });
  return result;
}

struct FocusFixture : InputFixture {
  void SetUp() override {
    InputFixture::SetUp();
    Log.reset(New<TApplicationExceptionLog>());
  }
  void TearDown() override {
    Log.reset();
    InputFixture::TearDown();
  }

  enum TMove { ByTab, ByShiftTab, ByClick, BySetFocus };
  void MoveTo(TWinControl* ATarget, TMove AMove) {
    const HWND target = ATarget->Handle();
    switch (AMove) {
      case ByTab:
        Chord({VK_TAB}, target);
        break;
      case ByShiftTab:
        Chord({VK_SHIFT, VK_TAB}, target);
        break;
      case ByClick: {
        const TPoint p = ATarget->ClientToScreen(TPoint(8, ATarget->Height() / 2));
        ASSERT_TRUE(SendMouseUntil(p, MOUSEEVENTF_LEFTDOWN, [target] { return GetFocus() == target; }));
        SendMouseButtons(p, MOUSEEVENTF_LEFTUP);
        AppPumpUntil([] { return GetQueueStatus(QS_MOUSEBUTTON) == 0; });
        break;
      }
      case BySetFocus:
        ATarget->SetFocus();
        ASSERT_TRUE(AppPumpUntil([target] { return GetFocus() == target; }));
        break;
    }
    Application()->ProcessMessages();
  }
  void StartOnOther() {
    Other->SetFocus();
    ASSERT_TRUE(PumpUntil([this] { return GetFocus() == Other->Handle(); }));
    Events->Log.clear();
  }

  TOwned<TApplicationExceptionLog> Log;
};

TEST_F(FocusFixture, EnteringAndLeavingByRealMovesPostsTheTypedValueBeforeOnExit) {
  struct TRow {
    const char* Name;
    TMove In, Out;
  };
  const TRow rows[] = {
      {"SetFocus in, Tab out", BySetFocus, ByTab},
      {"click in, click out", ByClick, ByClick},
      {"Shift+Tab in, SetFocus out", ByShiftTab, BySetFocus},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    StartOnOther();
    MoveTo(Edit, row.In);
    EXPECT_TRUE(Edit->FocusedState());
    EXPECT_FALSE(Edit->ModifiedAfterEnter());
    Edit->Text.clear();
    Type(L"ab");
    EXPECT_TRUE(Edit->ModifiedAfterEnter());
    MoveTo(Other, row.Out);
    // The post sees the typed value; OnExit the flags as they were before it.
    EXPECT_EQ(FocusSteps(Events->Log), (TLog{"Enter", "Post ab", "Exit modified"}));
    EXPECT_FALSE(Edit->ModifiedAfterEnter());
    EXPECT_FALSE(Edit->FocusedState());
    EXPECT_EQ(VarToStr(Edit->EditValue()), L"ab");

    // In and out again without typing: nothing to post.
    Events->Log.clear();
    MoveTo(Edit, row.In);
    MoveTo(Other, row.Out);
    EXPECT_EQ(FocusSteps(Events->Log), (TLog{"Enter", "Exit modified"}));
  }
  EXPECT_TRUE(Log->Messages.empty());
}

TEST_F(FocusFixture, AFailedCheckKeepsTheFocusUnlessTheOptionsLetItGo) {
  struct TRow {
    const char* Name;
    TcxEditValidationOptions Options;
    const wchar_t* ErrorText;
    bool KeepsFocus;
    bool Raises;
  };
  const TRow rows[] = {
      {"default options", {evoRaiseException}, L"not a number", true, true},
      {"default options, no text: silent", {evoRaiseException}, L"", true, false},
      {"allowed to lose the focus", {evoAllowLoseFocus}, L"not a number", false, false},
      {"allowed, but a text to raise", {evoRaiseException, evoAllowLoseFocus}, L"not a number", true, true},
  };
  Edit->Properties()->Validates = true;
  Events->RejectValue = true;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Edit->Properties()->SetValidationOptions(row.Options);
    Events->ErrorText = row.ErrorText;
    Log->Messages.clear();
    FocusEdit();
    Type(L"x");
    const std::size_t checks = Events->Validated.size();
    Chord({VK_TAB}, row.KeepsFocus ? nullptr : Other->Handle());
    ASSERT_TRUE(AppPumpUntil([&] { return Events->Validated.size() > checks; }));
    Application()->ProcessMessages();
    EXPECT_EQ(GetFocus(), row.KeepsFocus ? Edit->Handle() : Other->Handle());
    // The state the editor paints with follows the focus it kept.
    EXPECT_EQ(Edit->FocusedState(), row.KeepsFocus);
    EXPECT_TRUE(Edit->ValidationError());
    if (row.Raises)
      EXPECT_EQ(Log->Messages, std::vector<String>{String(row.ErrorText)});
    else
      EXPECT_TRUE(Log->Messages.empty());
    EXPECT_FALSE(Edit->IsHiding());
    Edit->SetModifiedAfterEnter(false);
    Other->SetFocus();
    AppPumpUntil([this] { return GetFocus() == Other->Handle(); });
  }
}

TEST_F(FocusFixture, EnterValidatesAndPostsOnlyWithValidateOnEnter) {
  Edit->Properties()->Validates = true;
  for (bool validateOnEnter : {true, false}) {
    SCOPED_TRACE(validateOnEnter ? "ValidateOnEnter" : "without");
    Edit->Properties()->SetValidateOnEnter(validateOnEnter);
    FocusEdit();
    Edit->Text.clear();
    Type(L"7");
    Events->Log.clear();
    Chord({VK_RETURN});
    const TLog expected = validateOnEnter ? TLog{"Validate 7", "Post 7"} : TLog{};
    EXPECT_EQ(FocusSteps(Events->Log), expected);
    EXPECT_EQ(GetFocus(), Edit->Handle());
    Edit->SetModifiedAfterEnter(false);
  }
}

TEST_F(FocusFixture, EscapeRevertsWhatWasTypedAndSwallowsItsCharacter) {
  for (bool resets : {true, false}) {
    SCOPED_TRACE(resets ? "a reset class" : "no reset class");
    Edit->Properties()->ResetClass = resets;
    Other->SetFocus();
    PumpUntil([this] { return GetFocus() == Other->Handle(); });
    Edit->SetEditValue(Variant(L"old"));
    FocusEdit();
    Type(L"x");
    ASSERT_EQ(VarToStr(Edit->EditValue()), L"oldx");
    Events->Log.clear();
    Chord({VK_ESCAPE});
    const bool typedEscape = std::count(Events->Log.begin(), Events->Log.end(), "KeyPress 27") != 0;
    if (resets) {
      EXPECT_EQ(VarToStr(Edit->EditValue()), L"old");
      EXPECT_FALSE(Edit->ModifiedAfterEnter());
      EXPECT_FALSE(typedEscape);
      // The swallow is spent: the next Escape types its character.
      Events->Log.clear();
      Chord({VK_ESCAPE});
      EXPECT_EQ(std::count(Events->Log.begin(), Events->Log.end(), "KeyPress 27"), 1);
    } else {
      EXPECT_EQ(VarToStr(Edit->EditValue()), L"oldx");
      EXPECT_TRUE(typedEscape);
      Edit->SetModifiedAfterEnter(false);
    }
  }
}

TEST_F(FocusFixture, AModalFormClosedWithOkValidatesItsFocusedEditorAndWithCancelDoesNot) {
  for (TModalResult result : {mrOk, mrYes, mrCancel}) {
    SCOPED_TRACE(static_cast<int>(result));
    TOwned<TForm> dialog(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    dialog->SetBoundsRect(TRect(260, 200, 480, 320));
    auto* edit = NewWith<TInputEdit>([&](TInputEdit* e) { e->Create(dialog.get()); });
    edit->SetParent(dialog.get());
    edit->SetBounds(10, 10, 120, 21);
    edit->Properties()->Validates = true;
    edit->Properties()->SetOnValidate(BindEvent<&TInputRecorder::Validate>(Events.get()));
    dialog->SetActiveControl(edit);
    Events->Validated.clear();
    // Inside the modal loop, once the editor has the focus: the user's value,
    // then the form's result.
    edit->OnPostedStep = [&] {
      if (GetFocus() != edit->Handle()) {
        PostMessageW(edit->Handle(), TInputEdit::PostedStep, 0, 0);
        return;
      }
      edit->BeginUserAction();
      edit->SetEditValue(Variant(L"typed"));
      edit->EndUserAction();
      dialog->SetModalResult(result);
    };
    PostMessageW(edit->Handle(), TInputEdit::PostedStep, 0, 0);
    EXPECT_EQ(dialog->ShowModal(), result);
    Application()->ProcessMessages();
    const std::vector<String> expected =
        result == mrCancel ? std::vector<String>{} : std::vector<String>{L"typed"};
    EXPECT_EQ(Events->Validated, expected);
    EXPECT_EQ(edit->SavedModifiedStateCount(), 0u);
  }
}

TEST_F(FocusFixture, AnOnExitThatRaisesLeavesNoHidingStateAndNoSavedFlags) {
  FocusEdit();
  Type(L"q");
  Events->RaiseOnExit = true;
  Other->SetFocus();
  AppPumpUntil([this] { return !Log->Messages.empty(); });
  Application()->ProcessMessages();
  ASSERT_EQ(Log->Messages, std::vector<String>{L"from OnExit"});
  EXPECT_FALSE(Edit->IsHiding());
  EXPECT_EQ(Edit->SavedModifiedStateCount(), 0u);
  EXPECT_FALSE(Edit->ModifiedAfterEnter()) << "cleared also when OnExit raised";
  EXPECT_EQ(FocusSteps(Events->Log).back(), "Exit modified");
  Events->RaiseOnExit = false;
}

}  // namespace
