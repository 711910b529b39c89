#include "library/editors/edit/cxEdit.h"

#include "library/core/data/cxVariants.h"
#include "platform/classes/ClassErrors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

// Table rows print as their names.
template <class TRow>
  requires requires(const TRow& ARow) { ARow.Name; }
void PrintTo(const TRow& ARow, std::ostream* AStream) {
  *AStream << ARow.Name;
}

// Properties whose sharing the test chooses; every copy into an editor's own
// properties is counted together with the state the editor is in meanwhile.
class TPoolProperties : public TcxCustomEditProperties {
  SK_CLASS(TPoolProperties, TcxCustomEditProperties)
 public:
  bool Shareable = true;
  bool Validates = false;
  int CopiedIn = 0;
  bool CopiedWhileInitializing = false;
  bool CopiedWithEventsLocked = false;

  bool AllowRepositorySharing() override { return Shareable; }
  bool CanCompareEditValue() override { return true; }
  bool ValidatesDisplayValue() override { return Validates; }
  TClass GetContainerClass() override;
  void CopyFrom(TcxCustomEditProperties* ASource) override {
    inherited::CopyFrom(ASource);
    ++CopiedIn;
    if (auto* edit = dynamic_cast<TcxCustomEdit*>(Owner())) {
      CopiedWhileInitializing = edit->IsInplaceInitializing();
      CopiedWithEventsLocked = edit->AreChangeEventsLocked();
    }
  }
};

class TPoolEditData : public TcxCustomEditData {
  SK_CLASS(TPoolEditData, TcxCustomEditData)
};

using TMessageLog = std::vector<std::vector<UINT_PTR>>;  // {message, wParam, lParam}

// An editor that shows its value as text and records the messages that
// activation replays on it.
class TPoolEdit : public TcxCustomEdit {
  SK_CLASS(TPoolEdit, TcxCustomEdit)
 public:
  static inline int Live = 0;
  std::string Label;
  String Text;
  bool KeepsData = false;
  wchar_t RefusedKey = 0;
  int Restored = 0;
  int Prepared = 0;
  int Initialised = 0;
  TMessageLog Messages;

  using TcxCustomEdit::Create;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    ++Live;
  }
  void Destroy() override {
    --Live;
    inherited::Destroy();
  }
  TClass GetPropertiesClass() override { return TPoolProperties::ClassInfo(); }
  TPoolProperties* Properties() const { return static_cast<TPoolProperties*>(InternalProperties()); }
  TClass GetEditDataClass() override { return KeepsData ? TPoolEditData::ClassInfo() : nullptr; }
  bool ForwardsActivationKey(wchar_t Key) override { return Key != RefusedKey; }

  using TcxCustomEdit::BeginUserAction;
  using TcxCustomEdit::IsEditingAllowed;

 protected:
  void RestoreEditData() override { ++Restored; }
  void PrepareUnsharedProperties() override { ++Prepared; }
  void GetDisplayString(String& AText) override { AText = Text; }
  void SyncDisplayValue() override { Text = VarToStr(EditValue()); }
  void SetDisplayText(const String& AText) override { Text = AText; }
  void ApplyDisplayValue(const Variant& AValue) override { Text = VarToStr(AValue); }
  void WndProc(TMessage& Message) override {
    const UINT msg = Message.Msg;
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || msg == WM_CHAR)
      Messages.push_back({msg, static_cast<UINT_PTR>(Message.WParam), static_cast<UINT_PTR>(Message.LParam)});
    inherited::WndProc(Message);
  }
};

TClass TPoolProperties::GetContainerClass() { return TPoolEdit::ClassInfo(); }

// A second kind, so that pools hold editors of two classes.
class TOtherProperties : public TPoolProperties {
  SK_CLASS(TOtherProperties, TPoolProperties)
 public:
  TClass GetContainerClass() override;
};

class TOtherEdit : public TPoolEdit {
  SK_CLASS(TOtherEdit, TPoolEdit)
 public:
  TClass GetPropertiesClass() override { return TOtherProperties::ClassInfo(); }
};

TClass TOtherProperties::GetContainerClass() { return TOtherEdit::ClassInfo(); }

TForm* NewShownForm() {
  TForm* form = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  form->SetBoundsRect(TRect(200, 150, 500, 350));
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpUntil([form] { return GetForegroundWindow() == form->Handle(); });
  return form;
}

// ---------------------------------------------------------------------------
// The pool

// One step of a pool script on properties p1..p3 of one kind, o of the
// other kind, and the two kinds themselves.
struct TPoolStep {
  enum TKind { Get, GetKind, GetOtherKind, Disconnect, FreeProperties, Remove, RemoveKind, GetOther } Kind;
  int Properties = 0;
};

struct TPoolRow {
  const char* Name;
  std::vector<TPoolStep> Steps;
  // The pool after the script: each editor by the letter it got when first
  // handed out, with the properties it serves ("-" when free).
  std::string Expected;
  int LiveEditors;
};

struct InplacePoolTest : testing::TestWithParam<TPoolRow> {
  void SetUp() override { TPoolEdit::Live = 0; }
};

std::string Picture(TcxInplaceEditList* AList, const std::vector<TOwned<TPoolProperties>>& AProperties,
                    TcxCustomEditProperties* AOther) {
  std::string picture;
  for (int i = 0; i < AList->Count(); ++i) {
    const TcxEditListItem& item = AList->Items(i);
    std::string served = item.Properties && item.Properties == AOther ? "o" : "-";
    for (std::size_t p = 0; p < AProperties.size(); ++p)
      if (AProperties[p] && item.Properties == AProperties[p].get()) served = "p" + std::to_string(p + 1);
    if (!picture.empty()) picture += ' ';
    picture += static_cast<TPoolEdit*>(item.Edit)->Label + ":" + served;
  }
  return picture;
}

TEST_P(InplacePoolTest, ScriptLeavesThePoolAsExpected) {
  const TPoolRow& row = GetParam();
  TOwned<TcxInplaceEditList> list(New<TcxInplaceEditList>(static_cast<TComponent*>(nullptr)));
  std::vector<TOwned<TPoolProperties>> properties;
  for (int i = 0; i < 3; ++i) {
    properties.emplace_back(New<TPoolProperties>(static_cast<TPersistent*>(nullptr)));
    properties.back()->SetClickKey(static_cast<TShortCut>(scCtrl | ('1' + i)));
  }
  TOwned<TOtherProperties> other(New<TOtherProperties>(static_cast<TPersistent*>(nullptr)));
  char next = 'a';
  const auto name = [&](TcxCustomEdit* AEdit) {
    auto* edit = static_cast<TPoolEdit*>(AEdit);
    if (edit->Label.empty()) edit->Label = std::string(1, next++);
  };
  for (const TPoolStep& step : row.Steps) {
    TPoolProperties* p = step.Properties ? properties[static_cast<std::size_t>(step.Properties - 1)].get() : nullptr;
    switch (step.Kind) {
      case TPoolStep::Get: {
        auto* edit = static_cast<TPoolEdit*>(list->GetEdit(p));
        name(edit);
        EXPECT_EQ(edit->Properties()->ClickKey(), p->ClickKey()) << "initialised from the properties";
        EXPECT_EQ(edit->Properties()->CopiedIn, ++edit->Initialised);
        EXPECT_TRUE(edit->Properties()->CopiedWhileInitializing);
        EXPECT_TRUE(edit->Properties()->CopiedWithEventsLocked);
        EXPECT_FALSE(edit->IsInplaceInitializing());
        EXPECT_FALSE(edit->AreChangeEventsLocked());
        break;
      }
      case TPoolStep::GetKind: {
        auto* edit = static_cast<TPoolEdit*>(list->GetEdit(TPoolProperties::ClassInfo()));
        name(edit);
        EXPECT_EQ(edit->Properties()->CopiedIn, edit->Initialised) << "taken by kind, never initialised";
        break;
      }
      case TPoolStep::GetOtherKind: name(list->GetEdit(TOtherProperties::ClassInfo())); break;
      case TPoolStep::GetOther: name(list->GetEdit(other.get())); break;
      case TPoolStep::Disconnect: list->DisconnectProperties(p); break;
      case TPoolStep::FreeProperties: properties[static_cast<std::size_t>(step.Properties - 1)].reset(); break;
      case TPoolStep::Remove: list->RemoveItem(p); break;
      case TPoolStep::RemoveKind: list->RemoveItem(TPoolProperties::ClassInfo()); break;
    }
  }
  EXPECT_EQ(Picture(list.get(), properties, other.get()), row.Expected);
  EXPECT_EQ(TPoolEdit::Live, row.LiveEditors);
  EXPECT_THROW(list->Items(list->Count()), EListError);
  EXPECT_THROW(list->Items(-1), EListError);
  list.reset();
  EXPECT_EQ(TPoolEdit::Live, 0) << "the list frees what it made";
}

using S = TPoolStep;
INSTANTIATE_TEST_SUITE_P(
    Pool, InplacePoolTest,
    testing::Values(
        TPoolRow{"SecondPropertiesOfABusyKindGetASecondEditor", {{S::Get, 1}, {S::Get, 2}}, "a:p1 b:p2", 2},
        TPoolRow{"SamePropertiesGetTheirEditorAgain", {{S::Get, 1}, {S::Get, 2}, {S::Get, 1}}, "a:p1 b:p2", 2},
        TPoolRow{"DisconnectedEditorServesTheNextProperties",
                 {{S::Get, 1}, {S::Get, 2}, {S::Disconnect, 1}, {S::Get, 3}},
                 "a:p3 b:p2",
                 2},
        TPoolRow{"ByKindNeverTakesABusyEditor", {{S::Get, 1}, {S::GetKind}}, "a:p1 b:-", 2},
        TPoolRow{"ByKindTakesTheFreeEditorAgain", {{S::Get, 1}, {S::GetKind}, {S::GetKind}}, "a:p1 b:-", 2},
        TPoolRow{"ByKindTakesADisconnectedEditor", {{S::Get, 1}, {S::Disconnect, 1}, {S::GetKind}}, "a:-", 1},
        TPoolRow{"AnotherKindsFreeEditorIsNotReused", {{S::GetOtherKind}, {S::Get, 1}}, "a:- b:p1", 2},
        TPoolRow{"FreedPropertiesLeaveTheirEditorFree", {{S::Get, 1}, {S::Get, 2}, {S::FreeProperties, 1}},
                 "a:- b:p2", 2},
        TPoolRow{"FreedPropertiesEditorServesTheNext",
                 {{S::Get, 1}, {S::FreeProperties, 1}, {S::Get, 2}},
                 "a:p2",
                 1},
        TPoolRow{"DisconnectingUnknownPropertiesChangesNothing", {{S::Get, 1}, {S::Disconnect, 2}}, "a:p1", 1},
        TPoolRow{"RemovingPropertiesFreesTheirEditor", {{S::Get, 1}, {S::Get, 2}, {S::Remove, 1}}, "b:p2", 1},
        TPoolRow{"RemovingAKindFreesItsFreeEditorsOnly",
                 {{S::GetKind}, {S::Get, 1}, {S::GetKind}, {S::GetOtherKind}, {S::GetOther}, {S::GetOtherKind},
                  {S::RemoveKind}},
                 "a:p1 c:o d:-",
                 3}),
    [](const testing::TestParamInfo<TPoolRow>& AInfo) { return std::string(AInfo.param.Name); });

TEST(InplacePool, UnshareablePropertiesArePreparedAndTheirValueForgottenSilently) {
  TOwned<TcxInplaceEditList> list(New<TcxInplaceEditList>(static_cast<TComponent*>(nullptr)));
  TOwned<TPoolProperties> shared(New<TPoolProperties>(static_cast<TPersistent*>(nullptr)));
  TOwned<TPoolProperties> unshared(New<TPoolProperties>(static_cast<TPersistent*>(nullptr)));
  unshared->Shareable = false;
  for (TPoolProperties* properties : {shared.get(), unshared.get()}) {
    SCOPED_TRACE(properties->Shareable ? "shareable" : "not shareable");
    auto* edit = static_cast<TPoolEdit*>(list->GetEdit(properties));
    EXPECT_EQ(edit->Prepared, properties->Shareable ? 0 : 1);
    int changes = 0;
    struct TCounter : TObject {
      int* Count = nullptr;
      void Changed(TObject*) { ++*Count; }
    } counter;
    counter.Count = &changes;
    edit->SetEditValue(Variant(L"row value"));
    edit->Properties()->SetOnEditValueChanged(BindEvent<&TCounter::Changed>(&counter));
    list->DisconnectProperties(properties);
    EXPECT_EQ(VarToStr(edit->EditValue()), properties->Shareable ? L"row value" : L"");
    EXPECT_EQ(edit->EditValue().IsNull(), !properties->Shareable);
    EXPECT_EQ(changes, 0) << "the reset fires no change";
    EXPECT_FALSE(edit->AreChangeEventsLocked());
    edit->Properties()->SetOnEditValueChanged(TNotifyEvent());
    list->RemoveItem(TPoolProperties::ClassInfo());
  }
}

TEST(InplacePool, EditorFreedByItsOwnerLeavesThePool) {
  TPoolEdit::Live = 0;
  TOwned<TComponent> owner(New<TComponent>(static_cast<TComponent*>(nullptr)));
  TOwned<TcxInplaceEditList> list(New<TcxInplaceEditList>(owner.get()));
  TOwned<TPoolProperties> properties(New<TPoolProperties>(static_cast<TPersistent*>(nullptr)));
  TcxCustomEdit* edit = list->GetEdit(properties.get());
  EXPECT_EQ(edit->Owner(), owner.get());
  EXPECT_TRUE(edit->IsInplace());
  EXPECT_FALSE(edit->Visible()) << "pooled editors start hidden";
  owner.reset();
  EXPECT_EQ(TPoolEdit::Live, 0);
  EXPECT_EQ(list->Count(), 0);
  list.reset();  // frees nothing a second time
  EXPECT_EQ(TPoolEdit::Live, 0);
}

TEST(InplacePool, FreedPropertiesAreLetGoByEveryList) {
  TOwned<TcxInplaceEditList> first(New<TcxInplaceEditList>(static_cast<TComponent*>(nullptr)));
  TOwned<TcxInplaceEditList> second(New<TcxInplaceEditList>(static_cast<TComponent*>(nullptr)));
  TOwned<TPoolProperties> properties(New<TPoolProperties>(static_cast<TPersistent*>(nullptr)));
  first->GetEdit(properties.get());
  second->GetEdit(properties.get());
  properties.reset();
  for (TcxInplaceEditList* list : {first.get(), second.get()}) {
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Items(0).Properties, nullptr);
  }
}

// ---------------------------------------------------------------------------
// Activation

struct InplaceEditorFixture : testing::Test {
  TOwned<TForm> Form{NewShownForm()};
  TOwned<TcxInplaceEditList> List{New<TcxInplaceEditList>(static_cast<TComponent*>(Form.get()))};
  TOwned<TPoolProperties> Properties{New<TPoolProperties>(static_cast<TPersistent*>(nullptr))};
  TPoolEdit* Edit = nullptr;
  TButton* Other = nullptr;

  void SetUp() override {
    Edit = static_cast<TPoolEdit*>(List->GetEdit(Properties.get()));
    Edit->SetParent(Form.get());
    Edit->SetBounds(30, 40, 120, 24);
    Other = New<TButton>(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(30, 100, 60, 24);
    Other->SetFocus();
  }
  void TearDown() override { List.reset(); }
};

TEST_F(InplaceEditorFixture, ActivateShowsSynchronisesClearsTheFlagsAndFocusesWhenAsked) {
  for (const bool focus : {false, true}) {
    SCOPED_TRACE(focus ? "focus asked" : "no focus");
    Edit->SetVisible(false);
    Edit->SetEditValue(Variant(42));
    Edit->Text = L"stale";
    Edit->SetModifiedAfterEnter(true);
    Edit->SetEditModified(true);
    Edit->InplaceParams().MultiRowParent = false;
    Other->SetFocus();
    TcxCustomEditData* data = nullptr;
    Edit->Activate(data, focus);
    EXPECT_EQ(data, nullptr) << "the base kind keeps no data";
    EXPECT_TRUE(Edit->Visible());
    EXPECT_EQ(Edit->Text, L"42");
    EXPECT_FALSE(Edit->EditModified());
    EXPECT_FALSE(Edit->ModifiedAfterEnter());
    EXPECT_TRUE(Edit->InplaceParams().MultiRowParent);
    EXPECT_EQ(GetFocus() == Edit->Handle(), focus);
  }
}

TEST_F(InplaceEditorFixture, EditDataIsMadeRestoredOnceAndCleared) {
  Edit->KeepsData = true;
  TcxCustomEditData* data = nullptr;
  Edit->Activate(data, false);
  ASSERT_NE(data, nullptr);
  TOwned<TcxCustomEditData> owned(data);
  EXPECT_EQ(data->ClassType(), TPoolEditData::ClassInfo());
  EXPECT_EQ(data->Edit(), Edit);
  EXPECT_EQ(Edit->EditData(), data);
  EXPECT_EQ(Edit->Restored, 1) << "new data starts cleared and is restored by its activation";
  EXPECT_FALSE(data->Cleared());

  Edit->Activate(data, false);
  EXPECT_EQ(Edit->Restored, 1) << "data already restored is not restored again";

  data->Clear();
  EXPECT_EQ(Edit->Restored, 2) << "the current activation's data is restored at once";
  EXPECT_FALSE(data->Cleared());

  TcxCustomEditData* second = nullptr;
  Edit->Activate(second, false);
  TOwned<TcxCustomEditData> ownedSecond(second);
  EXPECT_EQ(Edit->Restored, 3);
  data->Clear();
  EXPECT_EQ(Edit->Restored, 3) << "data of another row only waits";
  EXPECT_TRUE(data->Cleared());
  Edit->Activate(data, false);
  EXPECT_EQ(Edit->Restored, 4);
  EXPECT_FALSE(data->Cleared());

  owned.reset();
  EXPECT_EQ(Edit->EditData(), nullptr) << "freed data is no longer the editor's";
}

TEST_F(InplaceEditorFixture, EditDataOutlivesItsEditor) {
  Edit->KeepsData = true;
  TcxCustomEditData* data = nullptr;
  Edit->Activate(data, false);
  TOwned<TcxCustomEditData> owned(data);
  List->RemoveItem(Properties.get());
  EXPECT_EQ(data->Edit(), nullptr);
  data->Clear();
  EXPECT_TRUE(data->Cleared());
}

struct TKeyRow {
  const char* Name;
  wchar_t Key;
  wchar_t Refused;
  bool Typed;
};

struct ActivateByKeyTest : InplaceEditorFixture, testing::WithParamInterface<TKeyRow> {};

TEST_P(ActivateByKeyTest, TypesTheKeyOnlyWhenTheKindForwardsIt) {
  const TKeyRow& row = GetParam();
  Edit->RefusedKey = row.Refused;
  TcxCustomEditData* data = nullptr;
  Edit->ActivateByKey(row.Key, data);
  EXPECT_EQ(GetFocus(), Edit->Handle()) << "activation by key takes the focus";
  TMessageLog expected;
  if (row.Typed) expected.push_back({WM_CHAR, static_cast<UINT_PTR>(row.Key), 0});
  EXPECT_EQ(Edit->Messages, expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, ActivateByKeyTest,
                         testing::Values(TKeyRow{"Forwarded", L'x', 0, true}, TKeyRow{"Refused", L'x', L'x', false},
                                         TKeyRow{"OtherKeyRefused", L'5', L'x', true}),
                         [](const testing::TestParamInfo<TKeyRow>& AInfo) { return std::string(AInfo.param.Name); });

struct TActivationMouseRow {
  const char* Name;
  TShiftState Shift;
  std::vector<UINT> Messages;
  WPARAM Keys;  // of the last message
};

struct ActivateByMouseTest : InplaceEditorFixture, testing::WithParamInterface<TActivationMouseRow> {};

TEST_P(ActivateByMouseTest, ReplaysTheClickAtTheEditorsPoint) {
  const TActivationMouseRow& row = GetParam();
  // A point of the host's client area, and where Windows maps it on the editor.
  POINT host{47, 51};
  POINT onEdit = host;
  MapWindowPoints(Form->Handle(), Edit->Handle(), &onEdit, 1);
  const auto lParam = static_cast<UINT_PTR>(MAKELPARAM(onEdit.x, onEdit.y));
  TcxCustomEditData* data = nullptr;
  Edit->ActivateByMouse(row.Shift, host.x, host.y, data);
  ASSERT_EQ(Edit->Messages.size(), row.Messages.size());
  for (std::size_t i = 0; i < row.Messages.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Edit->Messages[i][0], row.Messages[i]);
    EXPECT_EQ(Edit->Messages[i][2], lParam);
  }
  if (row.Messages.size() > 1) {
    EXPECT_EQ(Edit->Messages[0][1], 0u) << "the move carries no keys";
  }
  EXPECT_EQ(Edit->Messages.back()[1], row.Keys);
  EXPECT_NE(GetCapture(), Edit->Handle()) << "no button is down: the capture is not kept";
  EXPECT_TRUE(Edit->DblClickTimer()->Enabled());
  EXPECT_EQ(Edit->DblClickTimer()->Interval(), GetDoubleClickTime());
}

INSTANTIATE_TEST_SUITE_P(
    Mouse, ActivateByMouseTest,
    testing::Values(TActivationMouseRow{"LeftPress", TShiftState{ssLeft}, {WM_MOUSEMOVE, WM_LBUTTONDOWN}, MK_LBUTTON},
                    TActivationMouseRow{"LeftPressWithShift", TShiftState{ssLeft, ssShift}, {WM_MOUSEMOVE, WM_LBUTTONDOWN},
                              MK_LBUTTON | MK_SHIFT},
                    TActivationMouseRow{"WithoutLeftOnlyARelease", TShiftState{ssCtrl}, {WM_LBUTTONUP}, MK_CONTROL},
                    TActivationMouseRow{"RightOnlyARelease", TShiftState{ssRight}, {WM_LBUTTONUP}, MK_RBUTTON}),
    [](const testing::TestParamInfo<TActivationMouseRow>& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(InplaceEditorFixture, DoubleClickTimerStopsItselfAndOnDeactivate) {
  TcxCustomEditData* data = nullptr;
  Edit->ActivateByMouse(TShiftState{ssLeft}, 40, 45, data);
  ASSERT_TRUE(Edit->DblClickTimer()->Enabled());
  // The timers of the library share one window; run them until the editor's came.
  for (MSG timer = TakeTimerMessage(cxTimerWindowHandle());; timer = TakeTimerMessage(cxTimerWindowHandle())) {
    DispatchMessageW(&timer);
    if (timer.wParam == Edit->DblClickTimer()->EventID() || !timer.hwnd) break;
  }
  EXPECT_FALSE(Edit->DblClickTimer()->Enabled()) << "one period, then it stops";
  Edit->ActivateByMouse(TShiftState{ssLeft}, 40, 45, data);
  EXPECT_TRUE(Edit->Deactivate());
  EXPECT_FALSE(Edit->DblClickTimer()->Enabled());
}

class TDoubleClickCounter : public TObject {
  SK_CLASS(TDoubleClickCounter, TObject)
 public:
  int Count = 0;
  void DblClick(TObject*) { ++Count; }
};

// The click that activated the editor went to the host: a press within the
// double-click time is that double click's second click.
TEST_F(InplaceEditorFixture, APressWhileTheTimerRunsIsTheSecondClickOfADoubleClick) {
  TOwned<TDoubleClickCounter> counter(New<TDoubleClickCounter>());
  Edit->SetOnDblClick(BindEvent<&TDoubleClickCounter::DblClick>(counter.get()));
  TcxCustomEditData* data = nullptr;
  Edit->ActivateByMouse(TShiftState{}, 40, 45, data);
  ASSERT_TRUE(Edit->DblClickTimer()->Enabled());
  const LPARAM point = MAKELPARAM(10, 10);
  SendMessageW(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(Edit->Handle(), WM_LBUTTONUP, 0, point);
  EXPECT_EQ(counter->Count, 1);
  EXPECT_FALSE(Edit->DblClickTimer()->Enabled());
  // Once the timer stopped, a press is a plain press.
  SendMessageW(Edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(Edit->Handle(), WM_LBUTTONUP, 0, point);
  EXPECT_EQ(counter->Count, 1);
}

class TRejectingValidator : public TObject {
  SK_CLASS(TRejectingValidator, TObject)
 public:
  bool Reject = true;
  void Validate(TObject*, Variant&, String&, bool& AError) { AError = Reject; }
};

TEST_F(InplaceEditorFixture, DeactivateValidatesAndKeepsTheDisplayOnFailure) {
  TOwned<TRejectingValidator> rejecter(New<TRejectingValidator>());
  Edit->Properties()->Validates = true;
  Edit->Properties()->SetValidationOptions({evoAllowLoseFocus});
  Edit->Properties()->SetOnValidate(BindEvent<&TRejectingValidator::Validate>(rejecter.get()));
  TcxCustomEditData* data = nullptr;
  Edit->Activate(data, true);
  Edit->SetEditValue(Variant(L"stored"));
  for (const bool reject : {true, false}) {
    SCOPED_TRACE(reject ? "rejected" : "accepted");
    rejecter->Reject = reject;
    Edit->Text = L"typed";
    Edit->SetModifiedAfterEnter(true);
    Edit->BeginUserAction();
    EXPECT_EQ(Edit->Deactivate(), !reject);
    EXPECT_FALSE(Edit->IsUserAction()) << "user actions end with the activation";
    // Accepted, the display is synchronised with the value again.
    EXPECT_EQ(Edit->Text, reject ? L"typed" : L"stored");
    EXPECT_EQ(Edit->ValidationError(), reject);
  }
}

TEST_F(InplaceEditorFixture, DeactivatePassesAFailureTheOptionsReportToTheHost) {
  TOwned<TRejectingValidator> rejecter(New<TRejectingValidator>());
  Edit->Properties()->Validates = true;
  Edit->Properties()->SetOnValidate(BindEvent<&TRejectingValidator::Validate>(rejecter.get()));
  TcxCustomEditData* data = nullptr;
  Edit->Activate(data, true);
  Edit->Properties()->SetValidationOptions({evoRaiseException});
  Edit->Text = L"typed";
  Edit->SetModifiedAfterEnter(true);
  EXPECT_THROW(Edit->Deactivate(), EcxEditValidationError);
  Edit->Properties()->SetValidationOptions({});
  EXPECT_THROW(Edit->Deactivate(), EAbort) << "without options the failure aborts silently";
  EXPECT_EQ(Edit->Text, L"typed");
}

// ---------------------------------------------------------------------------
// Whether an in-place editor may edit

class TTestProvider : public TcxCustomEditDefaultValuesProvider {
  SK_CLASS(TTestProvider, TcxCustomEditDefaultValuesProvider)
 public:
  bool ReadOnly = false;
  bool CanModify = true;
  bool EditMode = true;
  bool DefaultReadOnly() override { return ReadOnly; }
  bool DefaultCanModify() override { return CanModify; }
  bool CanSetEditMode() override { return EditMode; }
};

struct TAllowRow {
  const char* Name;
  int ReadOnly;  // -1 unassigned, else the assigned value
  bool Provider;
  bool ProviderReadOnly, CanModify, EditMode;
  bool Allowed;
};

struct AllowsInplaceEditingTest : testing::TestWithParam<TAllowRow> {};

TEST_P(AllowsInplaceEditingTest, AnswersAndAnInplaceEditorAsksIt) {
  const TAllowRow& row = GetParam();
  TOwned<TTestProvider> provider(New<TTestProvider>(static_cast<TPersistent*>(nullptr)));
  provider->ReadOnly = row.ProviderReadOnly;
  provider->CanModify = row.CanModify;
  provider->EditMode = row.EditMode;
  TOwned<TPoolEdit> edit(NewWith<TPoolEdit>([](TPoolEdit* e) { e->Create(nullptr, true); }));
  TcxCustomEditProperties* properties = edit->Properties();
  if (row.ReadOnly >= 0) properties->SetReadOnly(row.ReadOnly != 0);
  if (row.Provider) properties->SetDefaultValuesProvider(provider.get());
  EXPECT_EQ(properties->AllowsInplaceEditing(), row.Allowed);
  EXPECT_EQ(edit->IsEditingAllowed(), row.Allowed);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, AllowsInplaceEditingTest,
    testing::Values(TAllowRow{"NothingSet", -1, false, false, true, true, true},
                    TAllowRow{"AssignedWritable", 0, true, true, false, false, true},
                    TAllowRow{"AssignedReadOnly", 1, false, false, true, true, false},
                    TAllowRow{"AssignedReadOnlyOverProvider", 1, true, false, true, true, false},
                    TAllowRow{"ProviderAllInFavour", -1, true, false, true, true, true},
                    TAllowRow{"ProviderCannotModify", -1, true, false, false, true, false},
                    TAllowRow{"ProviderNoEditMode", -1, true, false, true, false, false},
                    TAllowRow{"ProviderReadOnly", -1, true, true, true, true, false}),
    [](const testing::TestParamInfo<TAllowRow>& AInfo) { return std::string(AInfo.param.Name); });

}  // namespace
