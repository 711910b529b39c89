// What the drop-down editor tests share: an editor kind with a popup of a
// fixed content size that logs its events, on a shown form.
#pragma once

#include "library/editors/dropdown/cxDropDownEdit.h"

#include "platform/ui/Forms.h"

#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A drop-down editor whose popup holds nothing but its size. Each event is
// logged with whether the popup window was visible at that moment.
class TDropDownLogEdit : public TcxCustomDropDownEdit {
  SK_CLASS(TDropDownLogEdit, TcxCustomDropDownEdit)
 public:
  bool Content = true;
  TSize ContentSize{150, 80};
  int PrepareCount = 0;
  // A close request made while the window is already closing.
  bool CloseAgainWhileClosing = false;
  std::vector<std::wstring> Log;

  void BindEvents() {
    Properties()->SetOnInitPopup(BindEvent<&TDropDownLogEdit::InitPopup>(this));
    Properties()->SetOnPopup(BindEvent<&TDropDownLogEdit::PopupShown>(this));
    Properties()->SetOnFinalizePopup(BindEvent<&TDropDownLogEdit::FinalizePopup>(this));
    Properties()->SetOnClosePopup(BindEvent<&TDropDownLogEdit::PopupClosed>(this));
    Properties()->SetOnCloseUp(BindEvent<&TDropDownLogEdit::CloseUpDone>(this));
  }
  bool CanDropDown() override { return Content; }
  TSize CalculatePopupSize() override { return ContentSize; }
  void PreparePopupWindow() override {
    ++PrepareCount;
    inherited::PreparePopupWindow();
  }
  bool WindowShown() {
    return PopupWindow() && PopupWindow()->HandleAllocated() && IsWindowVisible(PopupWindow()->Handle());
  }

 protected:
  void PopupWindowBeforeClosing(TObject* Sender) override {
    if (CloseAgainWhileClosing) {
      CloseAgainWhileClosing = false;
      ClosePopup(crCancel);
    }
    inherited::PopupWindowBeforeClosing(Sender);
  }

 private:
  void Add(const wchar_t* AName) { Log.push_back(std::wstring(AName) + (WindowShown() ? L" shown" : L" hidden")); }
  void InitPopup(TObject*) { Add(L"InitPopup"); }
  void PopupShown(TObject*) { Add(L"Popup"); }
  void FinalizePopup(TObject*) { Add(L"FinalizePopup"); }
  void PopupClosed(TObject*, TcxEditCloseUpReason AReason) {
    Add((std::wstring(L"ClosePopup ") + TEnumInfo<TcxEditCloseUpReason>::Names[AReason]).c_str());
  }
  void CloseUpDone(TObject*) { Add(L"CloseUp"); }
};

struct DropDownEditOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TDropDownLogEdit* Edit = nullptr;
  TEdit* Other = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 420, 300);
    Form->Show();
    Edit = New<TDropDownLogEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->SetBounds(10, 10, 120, 21);
    Edit->BindEvents();
    Other = New<TEdit>(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(200, 10, 100, 21);
    PumpPending();
  }
  void TearDown() override {
    if (Edit && Edit->DroppedDown()) Edit->ClosePopup(crUnknown);
    PumpPending();
  }
  void FocusEdit() {
    ::SetFocus(Edit->InnerControl()->Handle());
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Edit->InnerControl()->Handle(); }));
  }
  // The keys pressed in order, released in reverse.
  void Keys(std::initializer_list<WORD> AKeys) {
    for (WORD k : AKeys) SendKey(k, false);
    for (auto it = std::rbegin(AKeys); it != std::rend(AKeys); ++it) SendKey(*it, true);
    SettleInput();
  }
  bool OpenAndWait() {
    Edit->SetDroppedDown(true);
    return PumpUntil([&] { return Edit->DroppedDown(); });
  }
  TRect ScreenRectOf(HWND AWnd) {
    RECT r{};
    GetWindowRect(AWnd, &r);
    return TRect(r.left, r.top, r.right, r.bottom);
  }
  // The part of the editor a popup lines up with: its visible bounds.
  TRect EditScreenRect() {
    TRect r = Edit->VisibleBounds();
    const TRect window = ScreenRectOf(Edit->Handle());
    r.Offset(window.Left, window.Top);
    return r;
  }
  TRect PopupScreenRect() { return ScreenRectOf(Edit->PopupWindow()->Handle()); }
};
