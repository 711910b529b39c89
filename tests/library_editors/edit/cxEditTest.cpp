#include "library/editors/edit/cxEdit.h"
#include "library/editors/text/cxTextEdit.h"

#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using TLog = std::vector<std::string>;

// Properties that compare values (as every concrete editor kind's do) and,
// when asked, check the display value.
class TTestEditProperties : public TcxCustomEditProperties {
  SK_CLASS(TTestEditProperties, TcxCustomEditProperties)
 public:
  static void Publish(TPublisher<TTestEditProperties>& P) {
    using T = TTestEditProperties;
    P.Property(L"AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
    P.Property(L"BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
    P.Property(L"ButtonsViewStyle", &T::ButtonsViewStyle, &T::SetButtonsViewStyle).Default(bvsNormal);
    P.Property(L"ClearKey", &T::ClearKey, &T::SetClearKey).Default(TShortCut(0));
    P.Property(L"ClickKey", &T::ClickKey, &T::SetClickKey).Default(TShortCut(0x400D));
    P.Property(L"ImmediatePost", &T::ImmediatePost, &T::SetImmediatePost).Default(false);
    P.Property(L"ReadOnly", &T::ReadOnly, &T::SetReadOnly);
    P.Property(L"Transparent", &T::Transparent, &T::SetTransparent).Default(false);
    P.Property(L"UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
        .Default(true);
    P.Property(L"UseMouseWheel", &T::UseMouseWheel, &T::SetUseMouseWheel).Default(true);
    P.Property(L"ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(false);
    P.Property(L"ValidationErrorIconAlignment", &T::ValidationErrorIconAlignment,
               &T::SetValidationErrorIconAlignment);
    P.Property(L"ValidationOptions", &T::ValidationOptions, &T::SetValidationOptions);
    P.Property(L"MaxValue", &T::PublishedMaxValue, &T::SetMaxValue);
    P.Property(L"MinValue", &T::PublishedMinValue, &T::SetMinValue);
    P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
    P.Property(L"OnEditValueChanged", &T::OnEditValueChanged, &T::SetOnEditValueChanged);
    P.Property(L"OnValidate", &T::OnValidate, &T::SetOnValidate);
    P.Property(L"OnButtonClick", &T::OnButtonClick, &T::SetOnButtonClick);
  }
  double PublishedMaxValue() const { return const_cast<TTestEditProperties*>(this)->MaxValue(); }
  double PublishedMinValue() const { return const_cast<TTestEditProperties*>(this)->MinValue(); }
  bool Validates = false;
  bool ResetClass = false;
  bool CanCompareEditValue() override { return true; }
  bool ValidatesDisplayValue() override { return Validates; }
  bool IsResetEditClass() override { return ResetClass; }
};

// An editor whose display is the text form of its value.
class TTestEdit : public TcxCustomEdit {
  SK_CLASS(TTestEdit, TcxCustomEdit)
 public:
  static void Publish(TPublisher<TTestEdit>& P) {
    P.Property(L"Properties", &TTestEdit::PublishedProperties, &TTestEdit::SetPublishedProperties);
  }
  TTestEditProperties* PublishedProperties() const { return static_cast<TTestEditProperties*>(InternalProperties()); }
  void SetPublishedProperties(TTestEditProperties* AValue) { InternalProperties()->Assign(AValue); }
  TLog* Log = nullptr;
  int PropertiesChangedCount = 0;
  int PropertiesChangedWhileReading = 0;
  TTestEditProperties* Properties() { return static_cast<TTestEditProperties*>(InternalProperties()); }
  TClass GetPropertiesClass() override { return TTestEditProperties::ClassInfo(); }

  using TcxCustomEdit::BeginUserAction;
  using TcxCustomEdit::EndUserAction;
  using TcxCustomEdit::ValidateByOptions;
  using TcxCustomEdit::SavePrevEditValue;
  // Validation from inside the message loop, as a focus exit would run it.
  static constexpr UINT ValidateMessage = WM_APP + 1;
  static constexpr UINT RaiseMessage = WM_APP + 2;
  String Text;

 protected:
  void ReadState(TReader* Reader) override {
    FReadingValues = true;
    TryFinally([&] { inherited::ReadState(Reader); }, [this] { FReadingValues = false; });
  }
  void PropertiesChanged(TObject* Sender) override {
    ++PropertiesChangedCount;
    if (FReadingValues) ++PropertiesChangedWhileReading;
    if (Log) Log->push_back("PropertiesChanged");
    inherited::PropertiesChanged(Sender);
  }
  // As focus exit does: the settings are read while the focus leaves, also
  // when it leaves because the window is being destroyed.
  void WndProc(TMessage& Message) override {
    if (Message.Msg == ValidateMessage) {
      ValidateByOptions(false);
      return;
    }
    if (Message.Msg == RaiseMessage) throw Exception(L"marker");
    if (Message.Msg == WM_KILLFOCUS && Log)
      Log->push_back(ActiveProperties()->ValidationOptions().Contains(evoRaiseException) ? "FocusLost" : "?");
    inherited::WndProc(Message);
  }
  void GetDisplayString(String& AText) override { AText = Text; }
  void SyncDisplayValue() override { Text = VarToStr(EditValue()); }
  void SetDisplayText(const String& AText) override { Text = AText; }
  void ApplyDisplayValue(const Variant& AValue) override { Text = VarToStr(AValue); }

 private:
  bool FReadingValues = false;
};

class TTestRepositoryItem : public TcxEditRepositoryItem {
  SK_CLASS(TTestRepositoryItem, TcxEditRepositoryItem)
 protected:
  TClass EditPropertiesClass() override { return TTestEditProperties::ClassInfo(); }
};

// Receives the events the tests watch and writes them into the log.
class TRecorder : public TObject {
  SK_CLASS(TRecorder, TObject)
 public:
  TLog Log;
  TTestEdit* Edit = nullptr;
  Variant WriteInsideEditing;
  bool AllowEditing = true;

  void Change(TObject*) { Log.push_back("Change" + Flags()); }
  void EditValueChanged(TObject*) { Log.push_back("EditValueChanged" + Flags()); }
  void RepositoryChange(TObject*) { Log.push_back("RepositoryChange"); }
  void Click(TObject*) { Log.push_back("Click"); }
  void Editing(TObject*, bool& ACanEdit) {
    Log.push_back("Editing");
    if (!WriteInsideEditing.IsEmpty()) Edit->SetEditValue(WriteInsideEditing);
    ACanEdit = AllowEditing;
  }
  void PropertiesChanged(TObject*) { Log.push_back("PropertiesChanged"); }

 private:
  // The modified flags as the handler sees them.
  std::string Flags() const {
    if (!Edit || !Edit->IsInplace()) return "";
    return std::string("[") + (Edit->EditModified() ? "M" : "-") + (Edit->ModifiedAfterEnter() ? "A" : "-") + "]";
  }
};

TForm* NewShownForm() {
  TForm* form = NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); });
  form->SetBoundsRect(TRect(200, 150, 500, 350));
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpUntil([form] { return GetForegroundWindow() == form->Handle(); });
  return form;
}

struct EditorFixture : testing::Test {
  TOwned<TForm> Form{NewShownForm()};
  TOwned<TRecorder> Events{New<TRecorder>()};

  TTestEdit* NewEdit(bool AInplace = false) {
    auto* edit = NewWith<TTestEdit>([&](TTestEdit* e) { e->Create(Form.get(), AInplace); });
    edit->SetParent(Form.get());
    // The bare kind measures no content: without this it would shrink to its frame.
    edit->SetAutoSize(false);
    edit->SetBounds(10, 10, 100, 22);
    Events->Edit = edit;
    TTestEditProperties* p = edit->Properties();
    p->SetOnChange(BindEvent<&TRecorder::Change>(Events.get()));
    p->SetOnEditValueChanged(BindEvent<&TRecorder::EditValueChanged>(Events.get()));
    edit->SetOnClick(BindEvent<&TRecorder::Click>(Events.get()));
    return edit;
  }
};

// ---------------------------------------------------------------------------
// The value path

struct TValueStep {
  enum TKind { Write, InternalWrite, Lock, UnlockFire, UnlockQuiet, LockClk, UnlockClk, LockChanging, UnlockChanging };
  TKind Kind;
  Variant Value = Variant();
};

struct TValueRow {
  const char* Name;
  std::vector<TValueStep> Steps;
  TLog Expected;
};

using V = TValueStep;

TEST_F(EditorFixture, ValueWritesRaiseTheirEventsInOrder) {
  const TValueRow rows[] = {
      {"a different value", {{V::Write, Variant(5)}}, {"EditValueChanged", "Change"}},
      {"the same value twice", {{V::Write, Variant(5)}, {V::Write, Variant(5)}}, {"EditValueChanged", "Change"}},
      {"5 after 5.0", {{V::Write, Variant(5.0)}, {V::Write, Variant(5)}}, {"EditValueChanged", "Change"}},
      {"\"5\" after 5",
       {{V::Write, Variant(5)}, {V::Write, Variant(L"5")}},
       {"EditValueChanged", "Change", "EditValueChanged", "Change"}},
      {"Null again", {{V::Write, Variant::NullValue()}}, {}},
      {"three changes under a lock: each event once, OnChange first",
       {{V::Lock}, {V::Write, Variant(1)}, {V::Write, Variant(2)}, {V::Write, Variant(3)}, {V::UnlockFire}},
       {"Change", "EditValueChanged"}},
      {"nested locks fire at the outermost unlock",
       {{V::Lock}, {V::Lock}, {V::Write, Variant(1)}, {V::UnlockFire}, {V::Write, Variant(2)}, {V::UnlockFire}},
       {"Change", "EditValueChanged"}},
      {"an unlock without firing drops nothing until the next lock",
       {{V::Lock}, {V::Write, Variant(1)}, {V::UnlockQuiet}, {V::Write, Variant(2)}},
       {"EditValueChanged", "Change"}},
      {"a write under LockEditValueChanging is ignored",
       {{V::LockChanging}, {V::Write, Variant(7)}, {V::UnlockChanging}, {V::Write, Variant::NullValue()}},
       {}},
      {"EditValue never clicks", {{V::Write, Variant(1)}}, {"EditValueChanged", "Change"}},
      {"InternalEditValue clicks nothing by itself",
       {{V::InternalWrite, Variant(1)}},
       {"EditValueChanged", "Change"}},
  };
  for (const TValueRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TTestEdit* edit = NewEdit();
    Events->Log.clear();
    for (const TValueStep& step : row.Steps) {
      switch (step.Kind) {
        case V::Write: edit->SetEditValue(step.Value); break;
        case V::InternalWrite: edit->SetInternalEditValue(step.Value); break;
        case V::Lock: edit->LockChangeEvents(true); break;
        case V::UnlockFire: edit->LockChangeEvents(false, true); break;
        case V::UnlockQuiet: edit->LockChangeEvents(false, false); break;
        case V::LockClk: edit->LockClick(true); break;
        case V::UnlockClk: edit->LockClick(false); break;
        case V::LockChanging: edit->LockEditValueChanging(true); break;
        case V::UnlockChanging: edit->LockEditValueChanging(false); break;
      }
    }
    EXPECT_EQ(Events->Log, row.Expected);
    EXPECT_FALSE(edit->EditModified());
    EXPECT_FALSE(edit->ModifiedAfterEnter());
    edit->Free();
  }
}

TEST_F(EditorFixture, ClickLocksNestAndNeverGoBelowZero) {
  TTestEdit* edit = NewEdit();
  edit->LockClick(true);
  edit->LockClick(true);
  edit->LockClick(false);
  edit->LockClick(false);
  edit->LockClick(false);
  EXPECT_EQ(edit->ClickLockCount(), 0);
  // The count really is 0: a click goes through.
  SendMessageW(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Events->Log, TLog{"Click"});
}

TEST_F(EditorFixture, ValueWrittenInsideOnEditingIsIgnored) {
  TTestEdit* edit = NewEdit();
  edit->SetOnEditing(BindEvent<&TRecorder::Editing>(Events.get()));
  Events->WriteInsideEditing = Variant(99);
  edit->SetValidatableEditValue(Variant(3));
  EXPECT_EQ(Events->Log, (TLog{"Editing", "EditValueChanged", "Change"}));
  EXPECT_EQ(edit->EditValue().AsInteger(), 3);
  EXPECT_TRUE(edit->ModifiedAfterEnter());
  EXPECT_TRUE(edit->EditModified());
  EXPECT_EQ(edit->EditValueChangingLockCount(), 0);
}

TEST_F(EditorFixture, RefusedEditingKeepsTheValue) {
  TTestEdit* edit = NewEdit();
  edit->SetEditValue(Variant(1));
  edit->SetOnEditing(BindEvent<&TRecorder::Editing>(Events.get()));
  Events->AllowEditing = false;
  Events->Log.clear();
  edit->SetValidatableEditValue(Variant(2));
  EXPECT_EQ(Events->Log, TLog{"Editing"});
  EXPECT_EQ(edit->EditValue().AsInteger(), 1);
  EXPECT_FALSE(edit->ModifiedAfterEnter());
}

TEST_F(EditorFixture, InplaceHandlersSeeTheValueModifiedAndTheFlagsComeBack) {
  TTestEdit* edit = NewEdit(true);
  edit->SetEditValue(Variant(4));
  EXPECT_EQ(Events->Log, (TLog{"EditValueChanged[MA]", "Change[MA]"}));
  EXPECT_FALSE(edit->EditModified());
  EXPECT_FALSE(edit->ModifiedAfterEnter());
}

// A handler that raises: the value stays stored and every lock and counter is back.
class TRaiser : public TObject {
  SK_CLASS(TRaiser, TObject)
 public:
  void Raise(TObject*) { throw Exception(L"handler failed"); }
};

TEST_F(EditorFixture, RaisingHandlerLeavesEveryLockRestored) {
  TTestEdit* edit = NewEdit(true);
  TOwned<TRaiser> raiser(New<TRaiser>());
  edit->Properties()->SetOnChange(BindEvent<&TRaiser::Raise>(raiser.get()));
  EXPECT_THROW(edit->SetEditValue(Variant(8)), Exception);
  EXPECT_EQ(edit->EditValue().AsInteger(), 8);
  EXPECT_EQ(edit->ClickLockCount(), 0);
  EXPECT_FALSE(edit->IsUserActionDisabled());
  EXPECT_FALSE(edit->EditModified());
  EXPECT_FALSE(edit->ModifiedAfterEnter());
}

TEST_F(EditorFixture, ClearStoresNullWhichIsNotWrittenToTheForm) {
  TTestEdit* edit = NewEdit();
  edit->SetEditValue(Variant(1));
  edit->Clear();
  EXPECT_TRUE(edit->EditValue().IsNull());
}

// ---------------------------------------------------------------------------
// Settings reaching the editor

TEST_F(EditorFixture, SettingsChangesAndUpdateBrackets) {
  TTestEdit* edit = NewEdit();
  TTestEditProperties* p = edit->Properties();
  const int base = edit->PropertiesChangedCount;
  p->SetAutoSelect(true);  // already so
  EXPECT_EQ(edit->PropertiesChangedCount, base) << "an equal value reports nothing";

  p->BeginUpdate();
  p->SetBeepOnError(true);
  p->SetImmediatePost(true);
  p->SetValidateOnEnter(true);
  p->EndUpdate(true);
  EXPECT_EQ(edit->PropertiesChangedCount, base + 1);

  p->BeginUpdate();
  p->SetBeepOnError(false);
  p->EndUpdate(false);
  EXPECT_EQ(edit->PropertiesChangedCount, base + 1) << "EndUpdate(false) drops the change";
  p->BeginUpdate();
  p->EndUpdate(true);
  EXPECT_EQ(edit->PropertiesChangedCount, base + 1) << "and the next bracket starts clean";

  p->LockUpdate(true);
  p->LockUpdate(true);
  p->SetUseMouseWheel(false);
  p->LockUpdate(false);
  EXPECT_EQ(edit->PropertiesChangedCount, base + 1) << "one unlock ends both locks and reports nothing";
  p->SetUseMouseWheel(true);
  EXPECT_EQ(edit->PropertiesChangedCount, base + 2);
}

TEST_F(EditorFixture, TransparentSetsTheControlButFalseDoesNotClearIt) {
  TTestEdit* edit = NewEdit();
  edit->Properties()->SetTransparent(true);
  EXPECT_TRUE(edit->Transparent());
  edit->Properties()->SetTransparent(false);
  EXPECT_TRUE(edit->Transparent());
}

TEST_F(EditorFixture, FirstParentRefreshesOnce) {
  auto* edit = New<TTestEdit>(Form.get());
  const int created = edit->PropertiesChangedCount;
  edit->SetParent(Form.get());
  EXPECT_EQ(edit->PropertiesChangedCount, created + 1);
  edit->SetParent(nullptr);
  edit->SetParent(Form.get());
  EXPECT_EQ(edit->PropertiesChangedCount, created + 1);
}

// The lines of a description that store an edit value.
std::vector<std::wstring> EditValueLines(const String& AText) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start < AText.size()) {
    std::size_t end = AText.find(L"\r\n", start);
    if (end == String::npos) end = AText.size();
    const std::wstring line(AText, start, end - start);
    if (line.find(L"EditValue") != std::wstring::npos) lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

TEST_F(EditorFixture, EditValueIsStoredInTheFormUnlessNullAndReadsBackEqual) {
  RegisterClasses({TTestEdit::ClassInfo()});
  struct TCase {
    const char* Name;
    Variant Value;
    const wchar_t* Line;  // empty: no line at all
    TVarType ReadType;
  };
  const TCase cases[] = {
      {"null", Null(), L"", varNull},
      {"integer", Variant(-42), L"    EditValue = -42", varInteger},
      {"int64", Variant(static_cast<long long>(1) << 40), L"    EditValue = 1099511627776", varInt64},
      {"double", Variant(1234.5678), L"    EditValue = 1234.5678", varDouble},
      {"string", Variant(String(L"K\u00E4se 'n'")), L"    EditValue = 'K'#228'se ''n'''", varUString},
      {"boolean", Variant(true), L"    EditValue = True", varBoolean},
      {"empty", Unassigned(), L"    EditValue = nil", varEmpty},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TForm> source(NewShownForm());
    source->SetName(L"Source");
    auto* edit = NewWith<TTestEdit>([&](TTestEdit* e) { e->Create(source.get(), false); });
    edit->SetParent(source.get());
    edit->SetName(L"Edit1");
    edit->SetEditValue(c.Value);
    const String text = WriteComponentToText(source.get());
    const std::vector<std::wstring> expected =
        *c.Line ? std::vector<std::wstring>{c.Line} : std::vector<std::wstring>{};
    EXPECT_EQ(EditValueLines(text), expected) << std::wstring(text);

    const TOwned<TForm> target(NewShownForm());
    ReadComponentFromText(text, target.get());
    auto* read = static_cast<TTestEdit*>(target->FindComponent(L"Edit1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->EditValue().VType(), c.ReadType);
    EXPECT_EQ(VarCompareValue(read->EditValue(), c.Value), vrEqual);
  }
}

TEST_F(EditorFixture, FormStoringTwentySettingsRefreshesTheEditorOnce) {
  RegisterClasses({TTestEdit::ClassInfo()});
  // Twenty stored values, fifteen of them settings of the properties.
  ReadComponentFromText(L"object Form: TForm\n"
                        L"  object Edit1: TTestEdit\n"
                        L"    Left = 10\n"
                        L"    Top = 10\n"
                        L"    Width = 120\n"
                        L"    Height = 21\n"
                        L"    Properties.AutoSelect = False\n"
                        L"    Properties.BeepOnError = True\n"
                        L"    Properties.ButtonsViewStyle = bvsButtonsOnly\n"
                        L"    Properties.ClearKey = 46\n"
                        L"    Properties.ClickKey = 16397\n"
                        L"    Properties.ImmediatePost = True\n"
                        L"    Properties.ReadOnly = True\n"
                        L"    Properties.Transparent = True\n"
                        L"    Properties.UseLeftAlignmentOnEditing = False\n"
                        L"    Properties.UseMouseWheel = False\n"
                        L"    Properties.ValidateOnEnter = True\n"
                        L"    Properties.ValidationErrorIconAlignment = taRightJustify\n"
                        L"    Properties.ValidationOptions = [evoShowErrorIcon, evoAllowLoseFocus]\n"
                        L"    Properties.MaxValue = 10\n"
                        L"    Properties.MinValue = 2\n"
                        L"    Tag = 3\n"
                        L"  end\n"
                        L"end\n",
                        Form.get());
  auto* created = static_cast<TTestEdit*>(Form->FindComponent(L"Edit1"));
  ASSERT_NE(created, nullptr);
  // None while the values are read; the one from Loaded comes after them
  // (creation and the first parent refresh too, before any value is read).
  EXPECT_EQ(created->PropertiesChangedWhileReading, 0);
  ReadComponentFromText(L"object Form: TForm\n  object Edit2: TTestEdit\n  end\nend\n", Form.get());
  auto* bare = static_cast<TTestEdit*>(Form->FindComponent(L"Edit2"));
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(created->PropertiesChangedCount, bare->PropertiesChangedCount) << "twenty values cost no refresh";
  EXPECT_TRUE(created->Properties()->ReadOnly());
  EXPECT_EQ(created->Properties()->MaxValue(), 10.0);
  EXPECT_EQ(created->Tag(), 3);
}

TEST(EditPropertiesList, HoldsEveryLivePropertiesObjectInCreationOrder) {
  TOwned<TTestEditProperties> a(New<TTestEditProperties>(static_cast<TPersistent*>(nullptr)));
  TOwned<TTestEditProperties> b(New<TTestEditProperties>(static_cast<TPersistent*>(nullptr)));
  const auto& list = EditPropertiesList();
  ASSERT_GE(list.size(), 2u);
  EXPECT_EQ(list[list.size() - 2], a.get());
  EXPECT_EQ(list.back(), b.get());
  a.reset();
  EXPECT_EQ(std::count(list.begin(), list.end(), static_cast<TcxCustomEditProperties*>(nullptr)), 0);
  EXPECT_EQ(list.back(), b.get());
  EXPECT_EQ(std::find(list.begin(), list.end(), static_cast<TcxCustomEditProperties*>(a.get())), list.end());
}

TEST(EditPropertiesRegistry, SortsLikeCompareStringW) {
  // Twelve kinds under their descriptions, registered in unit order.
  const wchar_t* texts[] = {
      L"TextEdit|Represents a single line text editor", L"MaskEdit|Represents a generic masked editor",
      L"ComboBox|Represents the combo box editor",     L"PopupEdit|Represents an editor with a dropdown list",
      L"CheckBox|Represents a check box control",       L"Label|Represents a label",
      L"RadioGroup|Represents a group of radio buttons", L"SpinEdit|Represents a spin editor",
      L"ProgressBar|Represents a progress bar",          L"ImageComboBox|Represents an image combo box",
      L"CheckComboBox|Represents a check combo box",     L"checkgroup|lower case on purpose",
  };
  // Distinct classes to register: the registry keeps one entry per class.
  const TClass classes[] = {TcxCustomEditProperties::ClassInfo(), TTestEditProperties::ClassInfo(),
                            TcxEditRepositoryItem::ClassInfo(),   TTestRepositoryItem::ClassInfo(),
                            TcxEditRepository::ClassInfo(),       TcxCustomEdit::ClassInfo(),
                            TTestEdit::ClassInfo(),               TRecorder::ClassInfo(),
                            TRaiser::ClassInfo(),                 TcxEditDataBinding::ClassInfo(),
                            TcxEditChangeEventsCatcher::ClassInfo(), TcxCustomEditPropertiesValues::ClassInfo()};
  TcxRegisteredClasses* registry = GetRegisteredEditProperties();
  // The text editor unit's own entry stands aside for the test's "TextEdit".
  const String textEditEntry = registry->GetDescriptionByClass(TcxTextEditProperties::ClassInfo()) + L"|" +
                               registry->GetHintByClass(TcxTextEditProperties::ClassInfo());
  registry->Unregister(TcxTextEditProperties::ClassInfo());
  // Editor units register their own kinds at start-up.
  const int registeredAtStartUp = registry->Count();
  for (std::size_t i = 0; i < std::size(texts); ++i) registry->Register(classes[i], texts[i]);
  registry->Register(classes[0], L"Zzz|a second registration is ignored");
  ASSERT_EQ(registry->Count(), registeredAtStartUp + 12);
  for (int i = 1; i < registry->Count(); ++i) {
    const String a = registry->Descriptions(i - 1), b = registry->Descriptions(i);
    SCOPED_TRACE(std::string(a.begin(), a.end()) + " / " + std::string(b.begin(), b.end()));
    // A start-up kind may share a description with one registered here.
    EXPECT_NE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1), CSTR_GREATER_THAN);
  }
  EXPECT_EQ(registry->GetDescriptionByClass(classes[0]), L"TextEdit");
  EXPECT_EQ(registry->GetHintByClass(classes[5]), L"Represents a label");
  for (TClass c : classes) registry->Unregister(c);
  registry->Register(TcxTextEditProperties::ClassInfo(), textEditEntry);
}

// ---------------------------------------------------------------------------
// Repository

struct RepositoryFixture : EditorFixture {
  TcxEditRepository* Repository = New<TcxEditRepository>(Form.get());
  TcxEditRepositoryItem* Item = Repository->CreateItem(TTestRepositoryItem::ClassInfo());
};

// Records which editor is told, by index.
class TOrderListener : public TcxIUnknownObject, public IcxEditRepositoryItemListener {
  SK_CLASS(TOrderListener, TcxIUnknownObject)
 public:
  std::vector<int>* Order;
  int Index;
  void RepositoryItemRemoved(TcxEditRepositoryItem*) override { Order->push_back(-Index); }
  void RepositoryItemPropertiesChanged(TcxEditRepositoryItem*) override { Order->push_back(Index); }
};

TEST_F(RepositoryFixture, ChangesReachListenersInReverseOrderAndAddingTwiceKeepsOne) {
  std::vector<int> order;
  TOwned<TOrderListener> listeners[3];
  for (int i = 0; i < 3; ++i) {
    listeners[i].reset(New<TOrderListener>());
    listeners[i]->Order = &order;
    listeners[i]->Index = i + 1;
    Item->AddListener(listeners[i].get());
  }
  Item->AddListener(listeners[0].get());
  EXPECT_EQ(Item->ListenerCount(), 3);
  Item->Properties()->SetBeepOnError(true);
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1}));
  Item->RemoveListener(listeners[0].get());
  Item->RemoveListener(listeners[0].get());
  EXPECT_EQ(Item->ListenerCount(), 2);
  for (auto& l : listeners) Item->RemoveListener(l.get());
}

TEST_F(RepositoryFixture, FreeingTheItemLeavesEveryEditorWithoutIt) {
  TTestEdit* edits[3];
  for (auto*& edit : edits) {
    edit = NewEdit();
    edit->SetRepositoryItem(Item);
    EXPECT_EQ(edit->ActiveProperties(), Item->Properties());
  }
  Item->Free();
  for (auto* edit : edits) {
    EXPECT_EQ(edit->RepositoryItem(), nullptr);
    EXPECT_EQ(edit->ActiveProperties(), edit->InternalProperties());
  }
  EXPECT_EQ(Repository->Count(), 0);
}

TEST_F(RepositoryFixture, LinkedEditorFollowsTheItemNotItsOwnProperties) {
  TTestEdit* edit = NewEdit();
  edit->SetRepositoryItem(Item);
  const int linked = edit->PropertiesChangedCount;
  edit->Properties()->SetBeepOnError(true);
  EXPECT_EQ(edit->PropertiesChangedCount, linked) << "own properties are not heard while linked";
  edit->SetRepositoryItem(nullptr);
  EXPECT_GT(edit->PropertiesChangedCount, linked) << "unlinking re-applies the own properties";
  const int unlinked = edit->PropertiesChangedCount;
  edit->Properties()->SetBeepOnError(false);
  EXPECT_EQ(edit->PropertiesChangedCount, unlinked + 1);
}

TEST_F(RepositoryFixture, EventsRunOwnThenRepository) {
  TTestEdit* edit = NewEdit();
  Item->Properties()->SetOnChange(BindEvent<&TRecorder::RepositoryChange>(Events.get()));
  edit->SetRepositoryItem(Item);
  edit->SetEditValue(Variant(1));
  EXPECT_EQ(Events->Log, (TLog{"EditValueChanged", "Change", "RepositoryChange"}));
}

TEST_F(RepositoryFixture, UnacceptableItemRaisesAndKeepsTheOldOne) {
  TTestEdit* edit = NewEdit();
  edit->SetRepositoryItem(Item);
  TcxEditRepositoryItem* plain = Repository->CreateItem(TcxEditRepositoryItem::ClassInfo());
  try {
    edit->SetRepositoryItem(plain);
    FAIL() << "accepted an item of a base properties class";
  } catch (const EcxEditError& e) {
    EXPECT_EQ(String(e.Message()), L"The repository item is not acceptable");
  }
  EXPECT_EQ(edit->RepositoryItem(), Item);
}

TEST_F(RepositoryFixture, SharedProviderIsTheLastReaders) {
  TTestEdit* a = NewEdit();
  TTestEdit* b = NewEdit();
  a->SetRepositoryItem(Item);
  b->SetRepositoryItem(Item);
  a->ActiveProperties();
  EXPECT_EQ(Item->Properties()->DefaultValuesProvider(), a->DataBinding()->DefaultValuesProvider());
  b->ActiveProperties();
  EXPECT_EQ(Item->Properties()->DefaultValuesProvider(), b->DataBinding()->DefaultValuesProvider());
}

TEST_F(RepositoryFixture, ItemsByNameMovingAndRemoval) {
  Item->SetName(L"NumberItem");
  EXPECT_EQ(Repository->ItemByName(L"numberITEM"), Item);
  EXPECT_EQ(Repository->ItemByName(L"Other"), nullptr);
  auto* second = New<TcxEditRepository>(Form.get());
  Item->SetRepository(second);
  EXPECT_EQ(Repository->Count(), 0);
  ASSERT_EQ(second->Count(), 1);
  EXPECT_EQ(second->Items(0), Item);
  second->CreateItem(TcxEditRepositoryItem::ClassInfo());
  second->RemoveItems(TcxEditRepository::ClassInfo());
  EXPECT_EQ(second->Count(), 2) << "a class no item has changes nothing";
  second->RemoveItems(TcxEditRepositoryItem::ClassInfo());
  EXPECT_EQ(second->Count(), 0);
}

// ---------------------------------------------------------------------------
// Validation

class TValidator : public TObject {
  SK_CLASS(TValidator, TObject)
 public:
  int Calls = 0;
  bool Reject = false;
  Variant Correction;
  Variant Seen;
  void Validate(TObject*, Variant& ADisplayValue, String&, bool& AError) {
    ++Calls;
    AError = Reject;
    if (!Correction.IsEmpty()) ADisplayValue = Correction;
    Seen = ADisplayValue;
  }
};

struct ValidationFixture : EditorFixture {
  TTestEdit* Edit = nullptr;
  TOwned<TValidator> Validator{New<TValidator>()};
  void SetUp() override {
    Edit = NewEdit();
    Edit->Properties()->Validates = true;
    Edit->Properties()->SetOnValidate(BindEvent<&TValidator::Validate>(Validator.get()));
  }
  void Type(const String& AText) {
    Edit->Text = AText;
    Edit->SetModifiedAfterEnter(true);
  }
};

TEST_F(ValidationFixture, UnmodifiedEditorSkipsTheCheckUnlessForced) {
  EXPECT_TRUE(Edit->ValidateByOptions(false));
  EXPECT_EQ(Validator->Calls, 0);
  EXPECT_TRUE(Edit->ValidateEdit(false));
  EXPECT_EQ(Validator->Calls, 1);
}

TEST_F(ValidationFixture, BasePropertiesNeverFailAndNeverAsk) {
  Edit->Properties()->Validates = false;
  Validator->Reject = true;
  Type(L"x");
  EXPECT_TRUE(Edit->ValidateEdit(true));
  EXPECT_EQ(Validator->Calls, 0);
}

TEST_F(ValidationFixture, RejectionWithoutCorrectionGetsTheShownText) {
  Validator->Reject = true;
  Validator->Correction = Variant(L"other");
  Type(L"typed");
  Edit->SetFocus();
  EXPECT_FALSE(Edit->ValidateEdit(false));
  EXPECT_EQ(Edit->Text, L"other") << "a corrected value is applied even with an error";
  Validator->Correction = Variant();
  Type(L"again");
  EXPECT_FALSE(Edit->ValidateEdit(false));
  EXPECT_EQ(VarToStr(Validator->Seen), L"again");
}

TEST_F(ValidationFixture, ForcedFailureKeepsFocusAndRaisesNothingWithoutTheOption) {
  Validator->Reject = true;
  TButton* other = New<TButton>(Form.get());
  other->SetParent(Form.get());
  other->SetBounds(150, 10, 60, 22);
  other->SetFocus();
  Type(L"bad");
  EXPECT_FALSE(Edit->ValidateEdit(false));
  EXPECT_EQ(GetFocus(), Edit->Handle()) << "the focus is taken back";
}

TEST_F(ValidationFixture, RaiseExceptionCarriesTheDefaultText) {
  Validator->Reject = true;
  Type(L"bad");
  try {
    Edit->ValidateEdit(true);
    FAIL() << "no exception";
  } catch (const EcxEditValidationError& e) {
    EXPECT_EQ(String(e.Message()), L"Invalid input value. Use escape key to abandon changes");
  }
  EXPECT_FALSE(Edit->IsEditValidating());
  EXPECT_FALSE(Edit->IsUserActionDisabled());
}

TEST_F(ValidationFixture, UnforcedFailureWithoutTextAbortsSilently) {
  Validator->Reject = true;
  Edit->Properties()->SetValidationOptions({});
  Type(L"bad");
  EXPECT_THROW(Edit->ValidateByOptions(false), EAbort);
  EXPECT_TRUE(Edit->ValidationError());
}

// The text of the first message box the application shows for an exception
// that reaches the message loop, read and closed from a timer that the box's
// own modal loop dispatches.
String GBoxText;

void CALLBACK ReadAndCloseErrorBox(HWND, UINT, UINT_PTR ATimer, DWORD) {
  for (HWND box = FindWindowW(L"#32770", nullptr); box; box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(box)) continue;
    // A message box shows its text in the static control 0xFFFF.
    wchar_t buffer[512] = {};
    SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
    if (!buffer[0]) continue;
    GBoxText = buffer;
    KillTimer(nullptr, ATimer);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return;
  }
}

String FirstErrorBoxAfter(const std::function<void()>& APost) {
  GBoxText.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, ReadAndCloseErrorBox);
  APost();
  PumpUntil([] { return !GBoxText.empty(); });
  KillTimer(nullptr, timer);
  PumpPending();
  return GBoxText;
}

TEST_F(ValidationFixture, FailureInTheMessageLoopShowsTheErrorText) {
  Validator->Reject = true;
  Edit->SetFocus();
  Type(L"bad");
  const String shown = FirstErrorBoxAfter([this] { PostMessageW(Edit->Handle(), TTestEdit::ValidateMessage, 0, 0); });
  EXPECT_EQ(shown, L"Invalid input value. Use escape key to abandon changes.");
  EXPECT_EQ(GetFocus(), Edit->Handle());
}

TEST_F(ValidationFixture, SilentAbortInTheMessageLoopShowsNothing) {
  Validator->Reject = true;
  Edit->Properties()->SetValidationOptions({});
  Type(L"bad");
  // The abort first, then a marker: the first box must be the marker's.
  const String shown = FirstErrorBoxAfter([this] {
    PostMessageW(Edit->Handle(), TTestEdit::ValidateMessage, 0, 0);
    PostMessageW(Edit->Handle(), TTestEdit::RaiseMessage, 0, 0);
  });
  EXPECT_EQ(shown, L"marker.");
  EXPECT_TRUE(Edit->ValidationError());
}

TEST_F(ValidationFixture, AllowLoseFocusWritesBackAndMarksValidated) {
  Edit->Properties()->SetValidationOptions({evoAllowLoseFocus});
  Validator->Reject = true;
  Type(L"kept");
  EXPECT_FALSE(Edit->ValidateByOptions(false));
  EXPECT_TRUE(Edit->IsEditValidated());
}

TEST_F(ValidationFixture, ValidateInfoShowsAFailureAndIsResetByAPass) {
  Edit->Properties()->SetValidationOptions({evoShowErrorIcon});
  TOwned<TcxEditValidateInfo> info(New<TcxEditValidateInfo>());
  Validator->Reject = true;
  Type(L"bad");
  EXPECT_FALSE(Edit->ValidateEdit());
  Edit->CalculateValidateInfo(info.get());
  EXPECT_EQ(info->ErrorType(), eetError);
  EXPECT_EQ(info->ErrorText(), L"Invalid input value. Use escape key to abandon changes");
  EXPECT_TRUE(info->HasErrorIcon());
  Validator->Reject = false;
  Type(L"good");
  EXPECT_TRUE(Edit->ValidateEdit());
  Edit->CalculateValidateInfo(info.get());
  EXPECT_EQ(info->ErrorType(), eetNone);
  EXPECT_EQ(info->ErrorText(), L"");
  EXPECT_FALSE(info->HasErrorIcon());
}

TEST_F(ValidationFixture, BeepOnErrorBeepsOncePerFailure) {
  int beeps = 0;
  SetEditErrorBeep([&] { ++beeps; });
  Edit->Properties()->SetBeepOnError(true);
  Validator->Reject = true;
  Type(L"bad");
  EXPECT_FALSE(Edit->ValidateEdit(false));
  Validator->Reject = false;
  Type(L"good");
  EXPECT_TRUE(Edit->ValidateEdit(false));
  SetEditErrorBeep(nullptr);
  EXPECT_EQ(beeps, 1);
}

TEST_F(ValidationFixture, FailurePostsTheDeferredRefresh) {
  Validator->Reject = true;
  Type(L"bad");
  PumpPending();
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, Edit->Handle(), DXM_CONTAINERSHORTREFRESH, DXM_CONTAINERSHORTREFRESH, PM_NOREMOVE));
  Edit->ValidateEdit(false);
  EXPECT_TRUE(PeekMessageW(&msg, Edit->Handle(), DXM_CONTAINERSHORTREFRESH, DXM_CONTAINERSHORTREFRESH, PM_NOREMOVE));
}

TEST_F(ValidationFixture, RevertRestoresTheValueFromFocusEntry) {
  Edit->Properties()->ResetClass = true;
  Edit->SetEditValue(Variant(1));
  Edit->SetFocus();
  Edit->SavePrevEditValue(Edit->EditValue());  // what focus entry does
  Edit->SetValidatableEditValue(Variant(2));
  ASSERT_TRUE(Edit->ModifiedAfterEnter());
  Events->Log.clear();
  Edit->RevertEditValue();
  EXPECT_EQ(Edit->EditValue().AsInteger(), 1);
  EXPECT_FALSE(Edit->ModifiedAfterEnter());
  EXPECT_TRUE(Edit->EditModified());
  EXPECT_EQ(Events->Log, (TLog{"Change", "EditValueChanged"})) << "caught under the lock, fired once";
}

TEST_F(ValidationFixture, RevertDoesNothingForOtherKinds) {
  Edit->SetEditValue(Variant(1));
  Edit->SavePrevEditValue(Edit->EditValue());
  Edit->SetValidatableEditValue(Variant(2));
  Edit->RevertEditValue();
  EXPECT_EQ(Edit->EditValue().AsInteger(), 2);
}

// ---------------------------------------------------------------------------
// Destruction

TEST_F(EditorFixture, FreeingAFocusedEditorWithHandlersTouchesNothingFreed) {
  TcxEditRepository* repository = New<TcxEditRepository>(Form.get());
  TcxEditRepositoryItem* item = repository->CreateItem(TTestRepositoryItem::ClassInfo());
  for (int i = 0; i < 20; ++i) {
    TTestEdit* edit = NewEdit();
    edit->SetRepositoryItem(item);
    edit->SetEditValue(Variant(i));
    edit->SetFocus();
    ASSERT_EQ(GetFocus(), edit->Handle());
    SendMessageW(edit->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    TLog log;
    edit->Log = &log;
    edit->Free();
    // The focus left while the window went, and the settings were still there to read.
    EXPECT_EQ(log, TLog{"FocusLost"});
    EXPECT_EQ(item->ListenerCount(), 0);
  }
}

}  // namespace
