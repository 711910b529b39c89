// Buttons, check boxes, radio buttons, edits, labels and group boxes, driven
// by real input where the user would act.
#include "tests/platform_ui/StdCtrlsFixture.h"

#include "platform/classes/FormReader.h"
#include "platform/ui/GdiScopes.h"

#include "tests/support/Pixels.h"

#include <optional>

namespace {

// ---------------------------------------------------------------------------
// Buttons

TEST_F(StdCtrlsTest, ButtonClickThroughRealInputRaisesOnClickOnce) {
  auto* button = Add<TButton>(L"Button1", 20, 20);
  button->SetCaption(L"Flash");
  button->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
  button->SetModalResult(mrOk);
  ClickControl(button);
  ASSERT_TRUE(Pump([&] { return !FLog->Entries.empty(); }));
  PumpFor(100);
  EXPECT_EQ(FLog->Entries, std::vector<String>{L"click Button1"});
  EXPECT_EQ(FForm->ModalResult(), mrOk) << "a click hands the button's result to its form";
}

TEST_F(StdCtrlsTest, DisabledButtonGetsNoClick) {
  auto* button = Add<TButton>(L"Button1", 20, 20);
  button->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
  button->SetEnabled(false);
  ClickControl(button);
  PumpFor(150);
  EXPECT_TRUE(FLog->Entries.empty());
}

TEST_F(StdCtrlsTest, ReturnPressesTheActiveButtonAndEscTheCancelButton) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  auto* ok = Add<TButton>(L"OK", 20, 60);
  auto* cancel = Add<TButton>(L"Cancel", 110, 60);
  auto* other = Add<TButton>(L"Other", 200, 60);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  for (TButton* b : {ok, cancel, other}) b->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));

  struct Case {
    const char* Name;
    TWinControl* Focus;
    WORD Key;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {"enter in the edit presses the default", edit, VK_RETURN, L"click OK"},
      {"esc presses the cancel button", edit, VK_ESCAPE, L"click Cancel"},
      {"enter on another button presses that one", other, VK_RETURN, L"click Other"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FLog->Clear();
    FocusOn(c.Focus);
    Keys({Key(c.Key)});
    ASSERT_TRUE(Pump([&] { return !FLog->Entries.empty(); }));
    PumpFor(50);
    EXPECT_EQ(FLog->Entries, std::vector<String>{c.Expected});
  }
}

TEST_F(StdCtrlsTest, DefaultLookFollowsTheFocus) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  auto* ok = Add<TButton>(L"OK", 20, 60);
  auto* other = Add<TButton>(L"Other", 110, 60);
  ok->SetDefault(true);
  auto isDefault = [](TButton* B) {
    return (GetWindowLongPtrW(B->Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  };
  FocusOn(edit);
  EXPECT_TRUE(ok->Active());
  EXPECT_TRUE(isDefault(ok));
  FocusOn(other);
  EXPECT_FALSE(ok->Active()) << "the focused button is the one Enter presses";
  EXPECT_TRUE(other->Active());
  EXPECT_FALSE(isDefault(ok));
  FocusOn(edit);
  EXPECT_TRUE(ok->Active());
  EXPECT_FALSE(other->Active());
}

TEST_F(StdCtrlsTest, AcceleratorClicksWithoutMovingTheFocus) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  auto* save = Add<TButton>(L"Save", 20, 60);
  save->SetCaption(L"&Speichern");
  save->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
  FocusOn(edit);
  Keys({AltKey('S')});
  ASSERT_TRUE(Pump([&] { return !FLog->Entries.empty(); }));
  EXPECT_EQ(FLog->Entries, std::vector<String>{L"click Save"});
  EXPECT_TRUE(edit->Focused());
}

// ---------------------------------------------------------------------------
// Check boxes and radio buttons

TEST_F(StdCtrlsTest, CheckBoxClicksCycleThroughTheStates) {
  struct Case {
    const char* Name;
    bool AllowGrayed;
    std::vector<TCheckBoxState> States;  // after each click
  };
  const Case cases[] = {
      {"two states", false, {cbChecked, cbUnchecked, cbChecked}},
      {"with grayed", true, {cbGrayed, cbChecked, cbUnchecked}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* box = Add<TCheckBox>(L"Box", 20, 20);
    box->SetCaption(L"EEprom");
    box->SetAllowGrayed(c.AllowGrayed);
    box->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
    FLog->Clear();
    for (std::size_t i = 0; i < c.States.size(); ++i) {
      ClickAtClient(box, TPoint(6, box->Height() / 2));
      ASSERT_TRUE(Pump([&] { return FLog->Entries.size() == i + 1; })) << "click " << i;
      EXPECT_EQ(box->State(), c.States[i]);
      EXPECT_EQ(box->Checked(), c.States[i] == cbChecked);
      EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(c.States[i]));
    }
    box->Free();
  }
}

TEST_F(StdCtrlsTest, CheckBoxSpaceToggles) {
  auto* box = Add<TCheckBox>(L"Box", 20, 20);
  FocusOn(box);
  Keys({Key(VK_SPACE)});
  ASSERT_TRUE(Pump([&] { return box->Checked(); }));
  Keys({Key(VK_SPACE)});
  ASSERT_TRUE(Pump([&] { return !box->Checked(); }));
}

TEST_F(StdCtrlsTest, CheckBoxStateSetByCodeClicksOnlyOnChangeAndNotWhileLoading) {
  auto* box = Add<TCheckBox>(L"Box", 20, 20);
  box->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
  box->SetCheckedState(true);
  box->SetCheckedState(true);
  EXPECT_EQ(FLog->Count(L"click Box"), 1u);
  box->IncludeState(csLoading);
  box->SetState(cbUnchecked);
  box->ExcludeState(csLoading);
  EXPECT_EQ(FLog->Count(L"click Box"), 1u);
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_THROW(box->SetState(static_cast<TCheckBoxState>(7)), EInvalidOperation);
}

TEST_F(StdCtrlsTest, CheckStatesSurviveANewWindow) {
  auto* box = Add<TCheckBox>(L"Box", 20, 20);
  auto* radio = Add<TRadioButton>(L"Radio", 20, 50);
  box->SetAllowGrayed(true);
  box->SetState(cbGrayed);
  radio->SetCheckedState(true);
  const HWND before = box->Handle();
  box->SetAlignment(taLeftJustify);  // a new window
  radio->SetAlignment(taLeftJustify);
  EXPECT_NE(box->Handle(), before);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  EXPECT_EQ(SendMessageW(radio->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(GetWindowLongPtrW(box->Handle(), GWL_STYLE) & BS_LEFTTEXT);
}

TEST_F(StdCtrlsTest, AcceleratorsOfCheckBoxesAndRadioButtons) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  auto* box = Add<TCheckBox>(L"Box", 20, 60);
  auto* first = Add<TRadioButton>(L"First", 20, 90);
  auto* second = Add<TRadioButton>(L"Second", 20, 120);
  box->SetCaption(L"&EEprom");
  first->SetCaption(L"&Flash");
  second->SetCaption(L"&UserRow");
  first->SetCheckedState(true);
  FocusOn(edit);
  Keys({AltKey('E')});
  ASSERT_TRUE(Pump([&] { return box->Checked(); }));
  EXPECT_TRUE(box->Focused()) << "a check box takes the focus, then toggles";
  Keys({AltKey('U')});
  ASSERT_TRUE(Pump([&] { return second->Checked(); }));
  EXPECT_TRUE(second->Focused());
  EXPECT_FALSE(first->Checked());
}

TEST_F(StdCtrlsTest, RadioButtonClickUnchecksItsSiblingsOnly) {
  auto* group = Add<TGroupBox>(L"Group", 220, 10);
  auto* a = Add<TRadioButton>(L"A", 20, 20);
  auto* b = Add<TRadioButton>(L"B", 20, 50);
  auto* inGroup = Add<TRadioButton>(L"C", 10, 30, group);
  for (TRadioButton* r : {a, b, inGroup}) r->SetOnClick(BindEvent<&TEventLog::Clicked>(FLog));
  a->SetCheckedState(true);
  inGroup->SetCheckedState(true);
  FLog->Clear();
  ClickAtClient(b, TPoint(6, b->Height() / 2));
  ASSERT_TRUE(Pump([&] { return b->Checked(); }));
  PumpFor(50);
  EXPECT_FALSE(a->Checked());
  EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(inGroup->Checked()) << "another parent is another group";
  EXPECT_EQ(FLog->Entries, std::vector<String>{L"click B"});
  // Tab reaches the group at its checked button.
  EXPECT_TRUE(b->TabStop());
  EXPECT_FALSE(a->TabStop());
}

// ---------------------------------------------------------------------------
// Edits

TEST_F(StdCtrlsTest, TypingChangesTextAndRaisesOnChangePerCharacter) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  edit->SetOnChange(BindEvent<&TEventLog::Changed>(FLog));
  edit->SetOnKeyPress(BindEvent<&TEventLog::KeyPressed>(FLog));
  FocusOn(edit);
  Keys(TypeText(L"9600"));
  ASSERT_TRUE(Pump([&] { return edit->Text() == L"9600"; }));
  EXPECT_EQ(FLog->Count(L"change Edit1"), 4u);
  EXPECT_EQ(FLog->Count(L"key 9 Edit1"), 1u);
  EXPECT_TRUE(edit->Modified());
}

TEST_F(StdCtrlsTest, TextSetByCodeRaisesOnChangeButANewWindowDoesNot) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  edit->SetOnChange(BindEvent<&TEventLog::Changed>(FLog));
  edit->HandleNeeded();
  edit->SetText(L"115200");
  EXPECT_EQ(FLog->Count(L"change Edit1"), 1u);
  edit->SetText(L"115200");
  EXPECT_EQ(FLog->Count(L"change Edit1"), 1u) << "the same text is no change";
  edit->SetModified(true);
  edit->SetCharCase(ecUpperCase);  // a new window with the text in it
  EXPECT_EQ(FLog->Count(L"change Edit1"), 1u);
  EXPECT_EQ(edit->Text(), L"115200");
  EXPECT_TRUE(edit->Modified()) << "the modified flag outlives the window";
}

TEST_F(StdCtrlsTest, MaxLengthReadOnlyAndCharCaseShapeTyping) {
  struct Case {
    const char* Name;
    std::function<void(TEdit*)> Setup;
    const wchar_t* Typed;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {"max length", [](TEdit* E) { E->SetMaxLength(3); }, L"abcdef", L"abc"},
      {"read only", [](TEdit* E) { E->SetReadOnly(true); }, L"abc", L""},
      {"upper case", [](TEdit* E) { E->SetCharCase(ecUpperCase); }, L"com3", L"COM3"},
      {"numbers only", [](TEdit* E) { E->SetNumbersOnly(true); }, L"1a2", L"12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* edit = Add<TEdit>(L"Edit1", 20, 20);
    c.Setup(edit);
    edit->SetOnKeyUp(BindEvent<&TEventLog::KeyReleased>(FLog));
    FLog->Clear();
    FocusOn(edit);
    Keys(TypeText(c.Typed));
    // The End key arrives after every character: then typing is done.
    Keys({Key(VK_END)});
    ASSERT_TRUE(Pump([&] { return FLog->Count(L"keyup 35 Edit1") == 1; }));
    EXPECT_EQ(edit->Text(), c.Expected);
    edit->Free();
  }
}

TEST_F(StdCtrlsTest, SelectionReadsAndReplaces) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  EXPECT_EQ(edit->SelStart(), 0) << "no window: no selection";
  edit->SetText(L"Skarnivel");
  edit->HandleNeeded();
  edit->SetSelStart(2);
  edit->SetSelLength(4);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 4);
  EXPECT_EQ(edit->SelText(), L"arni");
  edit->SetSelText(L"--");
  EXPECT_EQ(edit->Text(), L"Sk--vel");
  EXPECT_TRUE(edit->CanUndo());
  edit->Undo();
  EXPECT_EQ(edit->Text(), L"Skarnivel");
  edit->SelectAll();
  EXPECT_EQ(edit->SelLength(), 9);
}

TEST_F(StdCtrlsTest, PasswordCharMasksButKeepsTheText) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  edit->SetText(L"geheim");
  edit->SetPasswordChar(L'*');
  EXPECT_TRUE(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
  edit->SetPasswordChar(L'#');
  EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'#');
  EXPECT_EQ(edit->Text(), L"geheim");
  edit->SetPasswordChar(0);
  EXPECT_FALSE(GetWindowLongPtrW(edit->Handle(), GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(edit->Text(), L"geheim");
}

TEST_F(StdCtrlsTest, TabIntoAnEditSelectsItsText) {
  auto* first = Add<TEdit>(L"Edit1", 20, 20);
  auto* second = Add<TEdit>(L"Edit2", 20, 60);
  second->SetText(L"COM1");
  FocusOn(first);
  Keys({Key(VK_TAB)});
  ASSERT_TRUE(Pump([&] { return second->Focused(); }));
  EXPECT_EQ(second->SelLength(), 4);
  second->SetAutoSelect(false);
  first->SetFocus();
  second->SetSelStart(0);
  Keys({Key(VK_TAB)});
  ASSERT_TRUE(Pump([&] { return second->Focused(); }));
  EXPECT_EQ(second->SelLength(), 0);
}

TEST_F(StdCtrlsTest, AutoSizeFitsTheHeightToTheFont) {
  auto* edit = Add<TEdit>(L"Edit1", 20, 20);
  auto expected = [&] {
    const TScreenDC dc;
    const TSelectObject font(dc.Get(), edit->Font()->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    return static_cast<int>(tm.tmHeight) + 8 * GetSystemMetrics(SM_CYBORDER);
  };
  edit->HandleNeeded();
  EXPECT_EQ(edit->Height(), expected());
  edit->SetParentFont(false);
  edit->Font()->SetSize(20);
  EXPECT_EQ(edit->Height(), expected());
  edit->SetAutoSize(false);
  edit->SetHeight(50);
  EXPECT_EQ(edit->Height(), 50);
}

// ---------------------------------------------------------------------------
// Labels and group boxes

// The form's client area, painted into a bitmap (PaintTo draws the whole
// window: the frame is moved out to the top left).
struct TFormPicture {
  explicit TFormPicture(TForm* AForm) : Surface(AForm->ClientWidth(), AForm->ClientHeight()) {
    RECT window{};
    GetWindowRect(AForm->Handle(), &window);
    POINT client{0, 0};
    ClientToScreen(AForm->Handle(), &client);
    AForm->PaintTo(Surface.DC(), window.left - client.x, window.top - client.y);
  }
  TPixelSurface Surface;
};

TSize MeasureCaption(TFont* AFont, const String& AText) {
  const TScreenDC dc;
  const TSelectObject font(dc.Get(), AFont->Handle());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc.Get(), AText.c_str(), static_cast<int>(AText.size()), &r, DT_CALCRECT | DT_EXPANDTABS | DT_LEFT);
  return TSize(r.right, r.bottom);
}

TEST_F(StdCtrlsTest, LabelAutoSizeFitsTheCaptionAndKeepsItsAlignedEdge) {
  auto* label = Add<TLabel>(L"Label1", 50, 20);
  label->SetCaption(L"Anschluss");
  const TSize size = MeasureCaption(label->Font(), L"Anschluss");
  EXPECT_EQ(label->Width(), size.cx);
  EXPECT_EQ(label->Height(), size.cy);

  label->SetAlignment(taRightJustify);
  const int right = label->Left() + label->Width();
  label->SetCaption(L"Baudrate des Anschlusses");
  EXPECT_EQ(label->Left() + label->Width(), right) << "right-aligned: the right edge stays";
  EXPECT_EQ(label->Width(), MeasureCaption(label->Font(), L"Baudrate des Anschlusses").cx);

  label->SetAutoSize(false);
  label->SetCaption(L"x");
  EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(StdCtrlsTest, LabelPaintsTextOnItsColourOrTransparently) {
  FForm->SetColor(clWhite);
  auto* label = Add<TLabel>(L"Label1", 40, 30);
  label->SetCaption(L"Baudrate");
  label->SetColor(clYellow);
  label->Font()->SetColor(clRed);
  label->SetParentFont(false);
  const TRect bounds = label->BoundsRect();
  {
    TFormPicture picture(FForm);
    EXPECT_GT(picture.Surface.Count(bounds, RGB(255, 255, 0)), 0) << picture.Surface.Picture(RGB(255, 255, 255));
    EXPECT_GT(picture.Surface.Count(bounds, RGB(255, 0, 0)), 0) << "the text in the font's colour";
    EXPECT_EQ(picture.Surface.Count(RGB(255, 255, 0)), picture.Surface.Count(bounds, RGB(255, 255, 0)))
        << "nothing painted outside the label";
  }
  label->SetTransparent(true);
  {
    TFormPicture picture(FForm);
    EXPECT_EQ(picture.Surface.Count(bounds, RGB(255, 255, 0)), 0);
    EXPECT_GT(picture.Surface.Count(bounds, RGB(255, 0, 0)), 0);
  }
}

TEST_F(StdCtrlsTest, LabelLayoutPlacesTheTextVertically) {
  FForm->SetColor(clWhite);
  auto* label = Add<TLabel>(L"Label1", 40, 30);
  label->SetCaption(L"Mitte");
  label->SetAutoSize(false);
  label->SetHeight(60);
  label->Font()->SetColor(clBlack);
  label->SetParentFont(false);
  struct Case {
    TTextLayout Layout;
    double ExpectedCentre;  // of the text, as a fraction of the label's height
  };
  for (const Case c : {Case{tlTop, 0.1}, Case{tlCenter, 0.5}, Case{tlBottom, 0.9}}) {
    SCOPED_TRACE(static_cast<int>(c.Layout));
    label->SetLayout(c.Layout);
    TFormPicture picture(FForm);
    TPixelSurface& s = picture.Surface;
    int top = -1, bottom = -1;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
      if (s.Count(TRect(label->Left(), y, label->Left() + label->Width(), y + 1), RGB(0, 0, 0)) > 0) {
        if (top < 0) top = y;
        bottom = y;
      }
    ASSERT_GE(top, 0);
    const double centre = ((top + bottom) / 2.0 - label->Top()) / label->Height();
    EXPECT_NEAR(centre, c.ExpectedCentre, 0.15);
  }
}

TEST_F(StdCtrlsTest, DisabledLabelIsEngraved) {
  FForm->SetColor(clWhite);
  auto* label = Add<TLabel>(L"Label1", 40, 30);
  label->SetCaption(L"Aus");
  label->SetEnabled(false);
  TFormPicture picture(FForm);
  EXPECT_GT(picture.Surface.Count(label->BoundsRect(), GetSysColor(COLOR_BTNSHADOW)), 0);
  EXPECT_EQ(picture.Surface.Count(label->BoundsRect(), GetSysColor(COLOR_WINDOWTEXT)), 0)
      << "no text in the font's own colour";
}

TEST_F(StdCtrlsTest, LabelAcceleratorFocusesItsControl) {
  auto* label = Add<TLabel>(L"Label1", 20, 20);
  auto* port = Add<TEdit>(L"Port", 100, 20);
  auto* other = Add<TEdit>(L"Other", 100, 60);
  label->SetCaption(L"&Anschluss");
  label->SetFocusControl(port);
  FocusOn(other);
  Keys({AltKey('A')});
  ASSERT_TRUE(Pump([&] { return port->Focused(); }));
  // A freed focus control is forgotten.
  port->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdCtrlsTest, GroupBoxDrawsFrameAndCaptionAndHoldsChildrenInside) {
  FForm->SetColor(clWhite);
  auto* group = Add<TGroupBox>(L"Group", 20, 20);
  group->SetCaption(L"Optionen");
  group->SetBounds(20, 20, 200, 120);
  group->SetColor(static_cast<TColor>(RGB(200, 220, 240)));
  group->SetParentColor(false);
  auto* inner = Add<TCheckBox>(L"Inner", 0, 0, group);
  inner->SetAlign(alClient);

  const int fontHeight = MeasureCaption(group->Font(), L"0").cy;
  EXPECT_GE(inner->Top(), fontHeight) << "the caption's line is not for children";
  EXPECT_GE(inner->Left(), 1);
  EXPECT_LE(inner->Left() + inner->Width(), group->Width() - 1);
  EXPECT_LE(inner->Top() + inner->Height(), group->Height() - 1);

  inner->SetVisible(false);
  TFormPicture picture(FForm);
  TPixelSurface& s = picture.Surface;
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const TRect frame = group->FrameRect();
  // The left edge of the frame is a vertical line in the shadow colour.
  const int left = group->Left() + frame.Left;
  EXPECT_GE(s.Count(TRect(left, group->Top() + fontHeight, left + 1, group->Top() + group->Height() - 2), shadow),
            group->Height() - fontHeight - 4);
  // The caption sits on the top line, on the group's colour.
  const TRect captionArea(group->Left() + 8, group->Top(), group->Left() + 8 + MeasureCaption(group->Font(), L"Optionen").cx,
                          group->Top() + fontHeight);
  EXPECT_GT(s.CountOther(captionArea, RGB(200, 220, 240)), 0) << s.Picture(RGB(255, 255, 255));
  EXPECT_EQ(s.Count(captionArea, shadow), 0) << "the caption interrupts the frame";
}

TEST_F(StdCtrlsTest, GroupBoxAcceleratorFocusesItsFirstControl) {
  auto* group = Add<TGroupBox>(L"Group", 20, 20);
  group->SetCaption(L"&Verbindungsparameter");
  auto* inner = Add<TEdit>(L"Inner", 10, 30, group);
  auto* outside = Add<TEdit>(L"Outside", 250, 20);
  FocusOn(outside);
  Keys({AltKey('V')});
  ASSERT_TRUE(Pump([&] { return inner->Focused(); }));
}

// ---------------------------------------------------------------------------
// Form descriptions and resources

TEST_F(StdCtrlsTest, ControlsComeFromAFormDescription) {
  const String text = LR"(object TestForm: TForm
  object GroupBox1: TGroupBox
    Left = 8
    Top = 39
    Width = 201
    Height = 89
    Caption = 'Verbindungsparameter'
    TabOrder = 0
    object Label1: TLabel
      Left = 12
      Top = 25
      Caption = 'Anschluss'
      FocusControl = Edit1
    end
    object Edit1: TEdit
      Left = 66
      Top = 24
      Width = 121
      MaxLength = 6
      Text = '9600'
      TabOrder = 0
    end
  end
  object List1: TListBox
    Left = 8
    Top = 164
    Width = 313
    Height = 85
    ExtendedSelect = False
    Items.Strings = (
      'eins'
      'zwei')
    ItemIndex = 1
    TabOrder = 1
  end
  object Combo1: TComboBox
    Left = 220
    Top = 40
    Style = csDropDownList
    Items.Strings = (
      'COM1'
      'COM3')
    ItemIndex = 1
    TabOrder = 2
  end
  object Check1: TCheckBox
    Left = 11
    Top = 130
    Caption = 'EEprom'
    State = cbChecked
    Enabled = False
    TabOrder = 3
  end
  object Radio1: TRadioButton
    Left = 120
    Top = 130
    Caption = 'Eins'
    Checked = True
    TabOrder = 4
  end
  object Button1: TButton
    Left = 151
    Top = 8
    Width = 82
    Height = 25
    Caption = 'Verbinden'
    Default = True
    ModalResult = 1
    TabOrder = 5
  end
end
)";
  ReadComponentFromText(text, FForm);
  auto* edit = dynamic_cast<TEdit*>(FForm->FindComponent(L"Edit1"));
  auto* label = dynamic_cast<TLabel*>(FForm->FindComponent(L"Label1"));
  auto* list = dynamic_cast<TListBox*>(FForm->FindComponent(L"List1"));
  auto* combo = dynamic_cast<TComboBox*>(FForm->FindComponent(L"Combo1"));
  auto* check = dynamic_cast<TCheckBox*>(FForm->FindComponent(L"Check1"));
  auto* radio = dynamic_cast<TRadioButton*>(FForm->FindComponent(L"Radio1"));
  auto* button = dynamic_cast<TButton*>(FForm->FindComponent(L"Button1"));
  ASSERT_TRUE(edit && label && list && combo && check && radio && button);
  EXPECT_EQ(edit->Text(), L"9600");
  EXPECT_EQ(edit->MaxLength(), 6);
  EXPECT_EQ(label->FocusControl(), edit);
  EXPECT_EQ(label->Width(), MeasureCaption(label->Font(), L"Anschluss").cx) << "sized once loaded";
  EXPECT_EQ(list->Items()->Text(), L"eins\r\nzwei\r\n");
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_FALSE(list->ExtendedSelect());
  EXPECT_EQ(combo->Text(), L"COM3");
  EXPECT_EQ(check->State(), cbChecked);
  EXPECT_FALSE(check->Enabled());
  EXPECT_TRUE(radio->Checked());
  EXPECT_TRUE(button->Default());
  EXPECT_EQ(button->ModalResult(), mrOk);
  // Shown: the windows take what was read.
  FForm->Show();
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  wchar_t buffer[16] = {};
  GetWindowTextW(edit->Handle(), buffer, 16);
  EXPECT_STREQ(buffer, L"9600");
}

TEST_F(StdCtrlsTest, IndexAndTextReadBeforeTheItemsStillApply) {
  const String text = LR"(object TestForm: TForm
  object List1: TListBox
    ItemIndex = 2
    Items.Strings = (
      'a'
      'b'
      'c')
  end
  object Combo1: TComboBox
    ItemIndex = 1
    Items.Strings = (
      '9600'
      '19200')
  end
  object Combo2: TComboBox
    Style = csDropDownList
    Text = 'COM3'
    Items.Strings = (
      'COM1'
      'COM3')
  end
  object List2: TListBox
    ItemIndex = 5
    Items.Strings = (
      'a')
  end
end
)";
  ReadComponentFromText(text, FForm);
  auto* list = dynamic_cast<TListBox*>(FForm->FindComponent(L"List1"));
  auto* combo = dynamic_cast<TComboBox*>(FForm->FindComponent(L"Combo1"));
  auto* droplist = dynamic_cast<TComboBox*>(FForm->FindComponent(L"Combo2"));
  auto* outOfRange = dynamic_cast<TListBox*>(FForm->FindComponent(L"List2"));
  ASSERT_TRUE(list && combo && droplist && outOfRange);
  EXPECT_EQ(list->ItemIndex(), 2);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), L"19200") << "an edit combo box shows its selected item";
  EXPECT_EQ(droplist->ItemIndex(), 1);
  EXPECT_EQ(outOfRange->ItemIndex(), -1);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(SendMessageW(outOfRange->Handle(), LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(StdCtrlsTest, CreatingAndFreeingControlsLeaksNoGdiObjects) {
  auto round = [this] {
    auto* group = Add<TGroupBox>(L"G", 10, 10);
    Add<TLabel>(L"L", 5, 20, group)->SetCaption(L"Text");
    Add<TEdit>(L"E", 5, 40, group)->SetText(L"abc");
    Add<TButton>(L"B", 220, 10)->SetDefault(true);
    Add<TCheckBox>(L"C", 220, 40)->SetCheckedState(true);
    Add<TRadioButton>(L"R", 220, 70);
    auto* list = Add<TListBox>(L"LB", 220, 100);
    list->SetStyle(lbOwnerDrawFixed);
    list->Items()->AddStrings({L"a", L"b"});
    auto* combo = Add<TComboBox>(L"CB", 10, 150);
    combo->Items()->AddStrings({L"x", L"y"});
    FForm->Repaint();
    PumpFor(30);
    FForm->DestroyComponents();
  };
  round();
  const int gdi = GdiObjectCount();
  round();
  round();
  EXPECT_EQ(GdiObjectCount(), gdi);
}

}  // namespace
