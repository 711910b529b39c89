// An editor on a shown form for the keyboard, mouse and focus tests: it
// types printable characters into its text, counts its button and
// clipboard steps and writes every event it raises into one log.
#pragma once

#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEdit.h"

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace input_testing {

using TLog = std::vector<std::string>;

inline std::string Narrow(const String& S) { return std::string(S.begin(), S.end()); }

class TInputEditProperties : public TcxCustomEditProperties {
  SK_CLASS(TInputEditProperties, TcxCustomEditProperties)
 public:
  bool Validates = false;
  bool ResetClass = false;
  bool CanCompareEditValue() override { return true; }
  bool ValidatesDisplayValue() override { return Validates; }
  bool IsResetEditClass() override { return ResetClass; }
};

class TInputEdit;

// A binding to a value source that keeps its own modified flag, as a
// data-aware one does: set by the user's edits, cleared by the post, which
// writes the value into the log. (The base binding reports the editor's
// ModifiedAfterEnter, which a successful check on leaving has cleared.)
class TLoggingDataBinding : public TcxEditDataBinding {
  SK_CLASS(TLoggingDataBinding, TcxEditDataBinding)
 public:
  bool Modified() override { return FDataModified; }
  bool EnterEditMode() override {
    FDataModified = true;
    return inherited::EnterEditMode();
  }
  void SetModified() override {
    FDataModified = true;
    inherited::SetModified();
  }
  void SetStoredValue(const Variant& AValue) override;
  void Unmodify() { FDataModified = false; }

 private:
  bool FDataModified = false;
};

class TInputEdit : public TcxCustomEdit {
  SK_CLASS(TInputEdit, TcxCustomEdit)
 public:
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    // As a hosted edit window does: every key reaches the editor.
    SetKeys({kAll, kArrows, kChars, kTab});
  }
  TInputEditProperties* Properties() { return static_cast<TInputEditProperties*>(InternalProperties()); }
  TClass GetPropertiesClass() override { return TInputEditProperties::ClassInfo(); }
  TClass GetDataBindingClass() override { return TLoggingDataBinding::ClassInfo(); }

  TLog* Log = nullptr;
  String Text;
  int Presses = 0, Releases = 0, Copies = 0, Cuts = 0, Pastes = 0;
  bool PastedWhileLocked = false;
  bool NavigationKeysHandled = false;
  WORD KeyAfterProcessing = 0xFFFF;
  HWND ContextMenuWParam = nullptr;
  // Runs when PostedStep arrives, inside whatever message loop reads it.
  static constexpr UINT PostedStep = WM_APP + 7;
  std::function<void()> OnPostedStep;

  void Write(const std::string& S) {
    if (Log) Log->push_back(S);
  }

  using TcxCustomEdit::ClickButton;
  using TcxCustomEdit::CompleteMouseClick;
  using TcxCustomEdit::HintTextAt;
  using TcxCustomEdit::ProcessExit;

  void CopyToClipboard() override { ++Copies; }
  void CutToClipboard() override { ++Cuts; }
  void PasteFromClipboard() override {
    ++Pastes;
    PastedWhileLocked = AreChangeEventsLocked();
  }

 protected:
  void PressButton(int AIndex) override {
    ++Presses;
    Write("Press" + std::to_string(AIndex));
  }
  void ReleaseButton(int AIndex) override {
    ++Releases;
    Write("Release" + std::to_string(AIndex));
  }
  void ProcessKeyDown(WORD& Key, TShiftState Shift) override {
    inherited::ProcessKeyDown(Key, Shift);
    KeyAfterProcessing = Key;
  }
  bool HandlesNavigationKeys() override { return NavigationKeysHandled; }
  // Printable characters are typed at the end of the text, as the user's edit.
  void ProcessKeyPress(wchar_t& Key) override {
    inherited::ProcessKeyPress(Key);
    if (Key < L' ' || !DoEditing()) return;
    Text += Key;
    SetInternalEditValue(Variant(Text));
  }
  bool IsEditingChar(wchar_t Key) override { return Key >= L' '; }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == PostedStep && OnPostedStep) {
      OnPostedStep();
      return;
    }
    if (Message.Msg == WM_CONTEXTMENU) {
      ContextMenuWParam = reinterpret_cast<HWND>(Message.WParam);
      Message.Result = 0x5A;
      return;
    }
    inherited::WndProc(Message);
  }
  void GetDisplayString(String& AText) override { AText = Text; }
  void SyncDisplayValue() override { Text = VarToStr(EditValue()); }
  void SetDisplayText(const String& AText) override { Text = AText; }
  void ApplyDisplayValue(const Variant& AValue) override { Text = VarToStr(AValue); }
};

inline void TLoggingDataBinding::SetStoredValue(const Variant& AValue) {
  FDataModified = false;
  static_cast<TInputEdit*>(Edit())->Write("Post " + Narrow(VarToStr(AValue)));
}

inline std::string KeyName(WORD AKey) { return "K" + std::to_string(AKey); }

// The events of the editor in the order raised.
class TInputRecorder : public TObject {
  SK_CLASS(TInputRecorder, TObject)
 public:
  TLog Log;
  TInputEdit* Edit = nullptr;
  int KeyUps = 0;
  int AfterKeyDowns = 0;
  bool ClearAfterKey = false;
  bool QueuedCharAtClick = false;
  bool RaiseOnExit = false;
  std::vector<int> Clicks;
  std::vector<String> Validated;
  String ErrorText;
  bool RejectValue = false;

  void KeyDown(TObject*, WORD& Key, TShiftState) { Log.push_back("KeyDown " + KeyName(Key)); }
  void KeyUp(TObject*, WORD&, TShiftState) { ++KeyUps; }
  void KeyPress(TObject*, wchar_t& Key) { Log.push_back("KeyPress " + std::to_string(static_cast<int>(Key))); }
  void AfterKeyDown(TObject*, WORD& Key, TShiftState) {
    ++AfterKeyDowns;
    Log.push_back("AfterKeyDown " + KeyName(Key));
    if (ClearAfterKey) Key = 0;
  }
  void ButtonClick(TObject*, int AIndex) {
    Clicks.push_back(AIndex);
    Log.push_back("ButtonClick" + std::to_string(AIndex));
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE)) QueuedCharAtClick = true;
  }
  void Enter(TObject*) { Log.push_back("Enter"); }
  void Exit(TObject*) {
    Log.push_back(std::string("Exit ") + (Edit->EditModified() ? "modified" : "unmodified"));
    if (RaiseOnExit) throw Exception(L"from OnExit");
  }
  void Validate(TObject*, Variant& ADisplayValue, String& AErrorText, bool& AError) {
    Validated.push_back(VarToStr(ADisplayValue));
    Log.push_back("Validate " + Narrow(VarToStr(ADisplayValue)));
    if (!RejectValue) return;
    AError = true;
    AErrorText = ErrorText;
  }
};

// Runs the application's own message step (key reflection, dialog keys and
// characters) until the condition holds.
inline bool AppPumpUntil(const std::function<bool()>& APredicate, unsigned ATimeoutMs = 5000) {
  return PumpUntilWith(
      [] {
        Application()->ProcessMessages();
        return true;
      },
      APredicate, ATimeoutMs, 50);
}

inline TForm* NewShownForm(const TRect& ABounds = TRect(200, 150, 520, 350)) {
  TForm* form = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  form->SetBoundsRect(ABounds);
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpUntil([form] { return GetForegroundWindow() == form->Handle(); });
  return form;
}

// A form with the editor and a plain edit after it in tab order.
struct InputFixture : testing::Test {
  void SetUp() override {
    Form.reset(NewShownForm());
    Edit = NewWith<TInputEdit>([this](TInputEdit* e) { e->Create(Form.get()); });
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    Edit->SetAutoSize(false);
    Edit->SetParent(Form.get());
    Edit->SetBounds(20, 20, W, H);
    Edit->SetTabOrder(0);
    Other = NewWith<TEdit>([this](TEdit* e) { e->Create(Form.get()); });
    Other->SetParent(Form.get());
    Other->SetBounds(20, 80, 120, 22);
    Other->SetTabOrder(1);
    Edit->Log = &Events->Log;
    Events->Edit = Edit;
    Edit->SetOnKeyDown(BindEvent<&TInputRecorder::KeyDown>(Events.get()));
    Edit->SetOnKeyUp(BindEvent<&TInputRecorder::KeyUp>(Events.get()));
    Edit->SetOnKeyPress(BindEvent<&TInputRecorder::KeyPress>(Events.get()));
    Edit->SetOnEnter(BindEvent<&TInputRecorder::Enter>(Events.get()));
    Edit->SetOnExit(BindEvent<&TInputRecorder::Exit>(Events.get()));
    Edit->Properties()->SetOnButtonClick(BindEvent<&TInputRecorder::ButtonClick>(Events.get()));
    Edit->Properties()->SetOnValidate(BindEvent<&TInputRecorder::Validate>(Events.get()));
    PumpPending();
  }
  void TearDown() override {
    // Nothing the editor ran may leave a counter or a saved state behind.
    if (Edit) {
      EXPECT_FALSE(Edit->IsUserActionDisabled());
      EXPECT_FALSE(Edit->IsUserAction());
      EXPECT_EQ(Edit->SavedModifiedStateCount(), 0u);
      EXPECT_FALSE(Edit->IsHiding());
    }
    Form.reset();
  }

  void SetAfterKeyDownHandler() { Edit->SetOnAfterKeyDown(BindEvent<&TInputRecorder::AfterKeyDown>(Events.get())); }

  void FocusEdit() {
    Edit->SetFocus();
    ASSERT_TRUE(PumpUntil([this] { return GetFocus() == Edit->Handle(); }));
    PumpPending();
  }
  // The keys pressed in order and released in reverse order; done once the
  // editor has seen the last key up, or the focus went to AFocusAfter.
  void Chord(std::initializer_list<WORD> AKeys, HWND AFocusAfter = nullptr) {
    const int ups = Events->KeyUps;
    for (WORD k : AKeys) SendKey(k, false);
    for (auto it = std::rbegin(AKeys); it != std::rend(AKeys); ++it) SendKey(*it, true);
    if (AFocusAfter)
      ASSERT_TRUE(AppPumpUntil([AFocusAfter] { return GetFocus() == AFocusAfter; }));
    else
      ASSERT_TRUE(AppPumpUntil([this, ups] { return Events->KeyUps > ups; }));
    Application()->ProcessMessages();
  }
  void Type(const String& AText) {
    for (wchar_t c : AText) {
      const int ups = Events->KeyUps;
      SendText(String(1, c));
      ASSERT_TRUE(AppPumpUntil([this, ups] { return Events->KeyUps > ups; }));
    }
    Application()->ProcessMessages();
  }

  TPoint Screen(const TPoint& P) const { return Edit->ClientToScreen(P); }
  // The ultra-flat frame sits one pixel inside the bounds; the buttons lie
  // inside it from the right, each the system's scroll-arrow width.
  static TRect ButtonRect(int AFromRight) {
    const int w = GetSystemMetrics(SM_CYHSCROLL);
    return TRect(W - 2 - (AFromRight + 1) * w, 2, W - 2 - AFromRight * w, H - 2);
  }
  static TPoint Center(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

  static constexpr int W = 161, H = 21;
  TOwned<TForm> Form;
  TOwned<TInputRecorder> Events{New<TInputRecorder>()};
  TInputEdit* Edit = nullptr;
  TEdit* Other = nullptr;
};

}  // namespace input_testing
