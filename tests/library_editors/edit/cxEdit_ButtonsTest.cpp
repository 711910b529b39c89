// Editor buttons: defaults, change reports, the single default button,
// captions, scaling, storing and the action link.
#include "library/editors/edit/cxEdit.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

class TButtonsTestProperties : public TcxCustomEditProperties {
  SK_CLASS(TButtonsTestProperties, TcxCustomEditProperties)
 public:
  static void Publish(TPublisher<TButtonsTestProperties>& P) {
    P.Property(L"Buttons", &TButtonsTestProperties::Buttons, &TButtonsTestProperties::SetButtons);
  }
};

class TButtonsTestEdit : public TcxCustomEdit {
  SK_CLASS(TButtonsTestEdit, TcxCustomEdit)
 public:
  static void Publish(TPublisher<TButtonsTestEdit>& P) {
    P.Property(L"Properties", &TButtonsTestEdit::Properties, &TButtonsTestEdit::SetProperties);
  }
  TButtonsTestProperties* Properties() const { return static_cast<TButtonsTestProperties*>(InternalProperties()); }
  void SetProperties(TButtonsTestProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TButtonsTestProperties::ClassInfo(); }
  int PropertiesChangedCount = 0;

 protected:
  void PropertiesChanged(TObject* Sender) override {
    ++PropertiesChangedCount;
    TcxCustomEdit::PropertiesChanged(Sender);
  }
};

class TButtonsChangeCounter : public TObject {
  SK_CLASS(TButtonsChangeCounter, TObject)
 public:
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

// A collection of its own whose OnChange is counted.
struct TCountedButtons {
  TCountedButtons() {
    Buttons.reset(New<TcxEditButtons>(static_cast<TPersistent*>(nullptr), TcxEditButtons::GetButtonClass()));
    Buttons->SetOnChange(BindEvent<&TButtonsChangeCounter::Changed>(Counter.get()));
  }
  TOwned<TButtonsChangeCounter> Counter{New<TButtonsChangeCounter>()};
  TOwned<TcxEditButtons> Buttons;
};

TEST(EditButton, ANewButtonIsAVisibleEnabledStretchableDropDownButtonOfDefaultWidth) {
  TCountedButtons c;
  TcxEditButton* button = c.Buttons->Add();
  EXPECT_EQ(c.Counter->Count, 1) << "adding is one change";
  EXPECT_EQ(button->Kind(), bkDown);
  EXPECT_TRUE(button->Enabled());
  EXPECT_TRUE(button->Visible());
  EXPECT_TRUE(button->Stretchable());
  EXPECT_FALSE(button->Default());
  EXPECT_FALSE(button->LeftAlignment());
  EXPECT_EQ(button->ImageIndex(), -1);
  EXPECT_EQ(button->Width(), 0);
  EXPECT_EQ(button->ContentAlignment(), taCenter);
  EXPECT_EQ(button->TextColor(), clBtnText);
  EXPECT_EQ(button->Action(), nullptr);
  EXPECT_TRUE(button->Glyph()->Empty());
}

// Each setter: its current value reports nothing, another value one change.
TEST(EditButton, OnlyEffectiveChangesReachTheCollection) {
  struct TRow {
    const char* Name;
    std::function<void(TcxEditButton*)> Same;
    std::function<void(TcxEditButton*)> Other;
  };
  const TRow rows[] = {
      {"Caption", [](TcxEditButton* b) { b->SetCaption(L""); }, [](TcxEditButton* b) { b->SetCaption(L"x"); }},
      {"ContentAlignment", [](TcxEditButton* b) { b->SetContentAlignment(taCenter); },
       [](TcxEditButton* b) { b->SetContentAlignment(taLeftJustify); }},
      {"Default", [](TcxEditButton* b) { b->SetDefault(false); }, [](TcxEditButton* b) { b->SetDefault(true); }},
      {"Enabled", [](TcxEditButton* b) { b->SetEnabled(true); }, [](TcxEditButton* b) { b->SetEnabled(false); }},
      {"ImageIndex", [](TcxEditButton* b) { b->SetImageIndex(-1); }, [](TcxEditButton* b) { b->SetImageIndex(2); }},
      {"Kind", [](TcxEditButton* b) { b->SetKind(bkDown); }, [](TcxEditButton* b) { b->SetKind(bkEllipsis); }},
      {"LeftAlignment", [](TcxEditButton* b) { b->SetLeftAlignment(false); },
       [](TcxEditButton* b) { b->SetLeftAlignment(true); }},
      {"Stretchable", [](TcxEditButton* b) { b->SetStretchable(true); },
       [](TcxEditButton* b) { b->SetStretchable(false); }},
      {"TextColor", [](TcxEditButton* b) { b->SetTextColor(clBtnText); },
       [](TcxEditButton* b) { b->SetTextColor(clRed); }},
      {"Visible", [](TcxEditButton* b) { b->SetVisible(true); }, [](TcxEditButton* b) { b->SetVisible(false); }},
      {"Width", [](TcxEditButton* b) { b->SetWidth(0); }, [](TcxEditButton* b) { b->SetWidth(25); }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCountedButtons c;
    TcxEditButton* button = c.Buttons->Add();
    const int base = c.Counter->Count;
    row.Same(button);
    EXPECT_EQ(c.Counter->Count, base);
    row.Other(button);
    EXPECT_EQ(c.Counter->Count, base + 1);
  }
  // The hint is stored without a report.
  TCountedButtons c;
  TcxEditButton* button = c.Buttons->Add();
  const int base = c.Counter->Count;
  button->SetHint(L"Opens the list");
  EXPECT_EQ(c.Counter->Count, base);
  EXPECT_EQ(button->Hint(), L"Opens the list");
}

TEST(EditButton, AtMostOneButtonIsTheDefault) {
  TCountedButtons c;
  TcxEditButton* first = c.Buttons->Add();
  TcxEditButton* second = c.Buttons->Add();
  first->SetDefault(true);
  second->SetDefault(true);
  EXPECT_FALSE(first->Default());
  EXPECT_TRUE(second->Default());
  second->SetDefault(false);
  EXPECT_FALSE(first->Default());
  EXPECT_FALSE(second->Default());
}

TEST(EditButton, TheVisibleCaptionLeavesTheAcceleratorMarkersOut) {
  const std::pair<const wchar_t*, const wchar_t*> rows[] = {
      {L"&Open", L"Open"}, {L"Save && close", L"Save & close"}, {L"Next&", L"Next_"}, {L"", L""}, {L"Plain", L"Plain"}};
  TCountedButtons c;
  TcxEditButton* button = c.Buttons->Add();
  for (const auto& [caption, visible] : rows) {
    SCOPED_TRACE(std::wstring(caption));
    button->SetCaption(caption);
    EXPECT_EQ(button->Caption(), caption);
    EXPECT_EQ(button->VisibleCaption(), visible);
  }
}

TEST(EditButton, ChangeScaleScalesGivenWidthsAndKeepsTheDefaultOneInOneChange) {
  TCountedButtons c;
  c.Buttons->Add()->SetWidth(20);
  c.Buttons->Add();
  c.Buttons->Add()->SetWidth(7);
  const int base = c.Counter->Count;
  c.Buttons->ChangeScale(3, 2);
  EXPECT_EQ(c.Buttons->Items(0)->Width(), 30);
  EXPECT_EQ(c.Buttons->Items(1)->Width(), 0);
  EXPECT_EQ(c.Buttons->Items(2)->Width(), MulDiv(7, 3, 2));
  EXPECT_EQ(c.Counter->Count, base + 1);
}

TEST(EditButton, AssignCopiesEveryValueAndOtherSourcesFail) {
  TCountedButtons c;
  TcxEditButton* source = c.Buttons->Add();
  source->SetCaption(L"&Go");
  source->SetContentAlignment(taRightJustify);
  source->SetEnabled(false);
  source->SetImageIndex(4);
  source->SetKind(bkText);
  source->SetLeftAlignment(true);
  source->SetStretchable(false);
  source->SetTag(77);
  source->SetTextColor(clNavy);
  source->SetVisible(false);
  source->SetWidth(33);
  source->SetHint(L"go");
  TcxEditButton* target = c.Buttons->Add();
  const int base = c.Counter->Count;
  target->Assign(source);
  EXPECT_EQ(c.Counter->Count, base + 1) << "one report for the whole copy";
  EXPECT_EQ(target->Caption(), L"&Go");
  EXPECT_EQ(target->VisibleCaption(), L"Go");
  EXPECT_EQ(target->ContentAlignment(), taRightJustify);
  EXPECT_FALSE(target->Enabled());
  EXPECT_EQ(target->ImageIndex(), 4);
  EXPECT_EQ(target->Kind(), bkText);
  EXPECT_TRUE(target->LeftAlignment());
  EXPECT_FALSE(target->Stretchable());
  EXPECT_EQ(target->Tag(), 77);
  EXPECT_EQ(target->TextColor(), clNavy);
  EXPECT_FALSE(target->Visible());
  EXPECT_EQ(target->Width(), 33);
  EXPECT_EQ(target->Hint(), L"go");
  EXPECT_EQ(c.Buttons->VisibleCount(), 0);

  const TOwned<TFont> font(New<TFont>());
  EXPECT_THROW(target->Assign(font.get()), EConvertError);
  EXPECT_EQ(c.Buttons->UpdateCount(), 0) << "the bracket is closed also then";
}

TEST(EditButton, ChangesReachTheEditorsThroughItsProperties) {
  const TOwned<TButtonsTestEdit> edit(New<TButtonsTestEdit>(nullptr));
  TcxEditButton* button = edit->Properties()->Buttons()->Add();
  const int base = edit->PropertiesChangedCount;
  button->SetKind(bkEllipsis);
  EXPECT_EQ(edit->PropertiesChangedCount, base + 1);
  button->SetKind(bkEllipsis);
  EXPECT_EQ(edit->PropertiesChangedCount, base + 1);
}

// ---------------------------------------------------------------------------
// Actions

TEST(EditButtonAction, FollowsTheActionAndIsStoredOnlyWhereItDiffers) {
  TCountedButtons c;
  TcxEditButton* button = c.Buttons->Add();
  const TOwned<TAction> action(New<TAction>(nullptr));
  action->SetCaption(L"Browse");
  action->SetHint(L"Browse for a file");
  action->SetImageIndex(3);
  button->SetAction(action.get());
  EXPECT_EQ(button->Action(), action.get());
  EXPECT_EQ(button->Caption(), L"Browse");
  EXPECT_EQ(button->Hint(), L"Browse for a file");
  EXPECT_EQ(button->ImageIndex(), 3);
  for (const wchar_t* name : {L"Caption", L"Hint", L"ImageIndex", L"Enabled", L"Visible"}) {
    SCOPED_TRACE(std::wstring(name));
    EXPECT_FALSE(IsStoredProp(button, GetPropInfo(button, name)));
  }
  EXPECT_TRUE(IsStoredProp(button, GetPropInfo(button, L"Action")));

  // A change of the action reaches the button.
  action->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(IsStoredProp(button, GetPropInfo(button, L"Enabled")));

  // Changed away from the action's, the caption is the button's own again.
  button->SetCaption(L"Other");
  EXPECT_TRUE(IsStoredProp(button, GetPropInfo(button, L"Caption")));
  button->SetAction(nullptr);
  EXPECT_EQ(button->ActionLink(), nullptr);
  EXPECT_EQ(button->Caption(), L"Other");
}

TEST(EditButtonAction, AnActionAssignedWhileLoadingKeepsTheButtonsOwnValues) {
  RegisterClasses({TButtonsTestEdit::ClassInfo(), TButtonsTestProperties::ClassInfo()});
  // Action comes after the button's own values, so the link is made while
  // the action is still loading.
  const String text =
      L"object Form: TForm\n"
      L"  object Browse: TAction\n"
      L"    Caption = 'Browse'\n"
      L"    Hint = 'Browse for a file'\n"
      L"    ImageIndex = 3\n"
      L"  end\n"
      L"  object Edit: TButtonsTestEdit\n"
      L"    Properties.Buttons = <\n"
      L"      item\n"
      L"        Caption = 'Mine'\n"
      L"        Enabled = False\n"
      L"        Hint = 'My hint'\n"
      L"        ImageIndex = 5\n"
      L"        Visible = False\n"
      L"        Action = Browse\n"
      L"      end\n"
      L"      item\n"
      L"        Action = Browse\n"
      L"      end>\n"
      L"  end\n"
      L"end\n";
  const TOwned<TForm> form(New<TForm>(nullptr));
  ReadComponentFromText(text, form.get());
  auto* edit = static_cast<TButtonsTestEdit*>(form->FindComponent(L"Edit"));
  ASSERT_NE(edit, nullptr);
  TcxEditButtons* buttons = edit->Properties()->Buttons();
  ASSERT_EQ(buttons->Count(), 2);
  TcxEditButton* own = buttons->Items(0);
  ASSERT_NE(own->Action(), nullptr);
  EXPECT_EQ(own->Caption(), L"Mine");
  EXPECT_EQ(own->Hint(), L"My hint");
  EXPECT_EQ(own->ImageIndex(), 5);
  EXPECT_FALSE(own->Enabled());
  EXPECT_FALSE(own->Visible());
  // A button at its defaults takes the action's values.
  TcxEditButton* plain = buttons->Items(1);
  EXPECT_EQ(plain->Caption(), L"Browse");
  EXPECT_EQ(plain->Hint(), L"Browse for a file");
  EXPECT_EQ(plain->ImageIndex(), 3);
  EXPECT_TRUE(plain->Enabled());

  // Assigned outside loading, the action's values win.
  auto* action = static_cast<TAction*>(form->FindComponent(L"Browse"));
  own->SetAction(nullptr);
  own->SetAction(action);
  EXPECT_EQ(own->Caption(), L"Browse");
  EXPECT_EQ(own->ImageIndex(), 3);
  EXPECT_TRUE(own->Enabled());
  EXPECT_TRUE(own->Visible());
}

// Freeing an action leaves no button pointing at it, however the buttons
// came to share it or stopped sharing it.
TEST(EditButtonAction, AFreedActionIsDroppedByEveryButtonThatFollowsIt) {
  struct TRow {
    const char* Name;
    // Given the buttons and the two actions; the first action is then freed.
    std::function<void(TcxEditButtons*, TAction*, TAction*)> Arrange;
    bool FirstFollowsOther;
  };
  const TRow rows[] = {
      {"two buttons", [](TcxEditButtons* b, TAction* a, TAction*) {
         b->Items(0)->SetAction(a);
         b->Items(1)->SetAction(a);
       },
       false},
      {"one of two switched to another action",
       [](TcxEditButtons* b, TAction* a, TAction* other) {
         b->Items(0)->SetAction(a);
         b->Items(1)->SetAction(a);
         b->Items(0)->SetAction(other);
       },
       true},
      {"one of two cleared",
       [](TcxEditButtons* b, TAction* a, TAction*) {
         b->Items(0)->SetAction(a);
         b->Items(1)->SetAction(a);
         b->Items(0)->SetAction(nullptr);
       },
       false},
      {"copied by Assign",
       [](TcxEditButtons* b, TAction* a, TAction*) {
         b->Items(0)->SetAction(a);
         b->Items(1)->Assign(b->Items(0));
       },
       false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCountedButtons c;
    c.Buttons->Add();
    c.Buttons->Add();
    TAction* action = New<TAction>(nullptr);
    const TOwned<TAction> other(New<TAction>(nullptr));
    row.Arrange(c.Buttons.get(), action, other.get());
    action->Free();
    EXPECT_EQ(c.Buttons->Items(0)->Action(), row.FirstFollowsOther ? other.get() : nullptr);
    EXPECT_EQ(c.Buttons->Items(1)->Action(), nullptr);
    EXPECT_EQ(c.Buttons->Items(1)->ActionLink(), nullptr);
    // The buttons still work: a new action links and reports.
    const TOwned<TAction> again(New<TAction>(nullptr));
    again->SetCaption(L"Again");
    c.Buttons->Items(1)->SetAction(again.get());
    EXPECT_EQ(c.Buttons->Items(1)->Caption(), L"Again");
  }
}

// ---------------------------------------------------------------------------
// Storing

TEST(EditButtonStore, WritesOnlyWhatDiffersFromTheDefaultsAndReadsBackEqual) {
  RegisterClasses({TButtonsTestEdit::ClassInfo(), TButtonsTestProperties::ClassInfo()});
  const TOwned<TButtonsTestEdit> edit(New<TButtonsTestEdit>(nullptr));
  edit->SetName(L"Edit");
  edit->Properties()->Buttons()->Add();  // all defaults
  TcxEditButton* text = edit->Properties()->Buttons()->Add();
  text->SetKind(bkText);
  text->SetCaption(L"&Go");
  text->SetDefault(true);
  text->SetWidth(40);
  text->SetTag(5);
  const String written = WriteComponentToText(edit.get());
  for (const wchar_t* absent : {L"Stretchable", L"ContentAlignment", L"LeftAlignment", L"ImageIndex", L"Visible",
                                L"Enabled", L"Hint"})
    EXPECT_EQ(written.find(absent), String::npos) << std::wstring(absent) << "\n" << std::wstring(written);
  for (const wchar_t* present : {L"Kind = bkText", L"Caption = '&Go'", L"Default = True", L"Width = 40", L"Tag = 5"})
    EXPECT_NE(written.find(present), String::npos) << std::wstring(present) << "\n" << std::wstring(written);

  const TOwned<TButtonsTestEdit> read(static_cast<TButtonsTestEdit*>(ReadComponentFromText(written)));
  ASSERT_NE(read.get(), nullptr);
  EXPECT_EQ(WriteComponentToText(read.get()), written);
  ASSERT_EQ(read->Properties()->Buttons()->Count(), 2);
  EXPECT_EQ(read->Properties()->Buttons()->Items(1)->VisibleCaption(), L"Go");
  EXPECT_TRUE(read->Properties()->Buttons()->Items(1)->Default());
}

}  // namespace
