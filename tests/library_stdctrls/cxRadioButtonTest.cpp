// The radio button: real clicks beside the platform's auto radio buttons,
// groups and tab stops, the mark beside the theme's own drawing, the caption
// margins, automatic size and accessibility.
#include "library/stdctrls/cxRadioGroup.h"

#include "library/core/system/dxUxTheme.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "tests/support/AccessibilityClient.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

class TRadioClickLog : public TComponent {
  SK_CLASS(TRadioClickLog, TComponent)
 public:
  void Clicked(TObject* Sender) { Clicks.push_back(Sender); }
  int Count(TObject* Sender) const { return static_cast<int>(std::count(Clicks.begin(), Clicks.end(), Sender)); }
  std::vector<TObject*> Clicks;
};

struct TRadioButtonOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TRadioClickLog> Log{New<TRadioClickLog>(nullptr)};
  bool MovedPointer = false;
  void TearDown() override {
    if (MovedPointer) SendMouseMove(TPoint(1, 1));
  }

  TcxRadioButton* NewRadio(const String& ACaption, int ALeft, int ATop, int AGroupIndex = 0) {
    auto* radio = New<TcxRadioButton>(Form.get());
    radio->SetParent(Form.get());
    radio->SetBounds(ALeft, ATop, 100, 21);
    radio->SetCaption(ACaption);
    radio->SetGroupIndex(AGroupIndex);
    radio->LookAndFeel()->SetNativeStyle(false);
    radio->SetOnClick(BindEvent<&TRadioClickLog::Clicked>(Log.get()));
    return radio;
  }
};

// Real keys reach the controls through the application's loop (dialog keys).
bool AppPumpFor(const std::function<bool()>& ACondition) {
  const ULONGLONG until = GetTickCount64() + 2000;
  while (GetTickCount64() < until) {
    Application()->ProcessMessages();
    if (ACondition()) return true;
    Sleep(5);
  }
  return ACondition();
}

HWND NativeRadio(HWND AParent, const wchar_t* ACaption, int ALeft, int ATop, bool AFirstOfGroup) {
  return CreateWindowExW(0, L"BUTTON", ACaption,
                         WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (AFirstOfGroup ? WS_GROUP | WS_TABSTOP : 0),
                         ALeft, ATop, 100, 21, AParent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

bool NativeChecked(HWND AWnd) { return SendMessageW(AWnd, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST_F(TRadioButtonOnForm, RealClicksLeaveThePatternOfThePlatformsAutoRadioButtons) {
  Form->SetBounds(100, 100, 300, 160);
  Form->Show();
  MovedPointer = true;
  TcxRadioButton* ours[3] = {NewRadio(L"a", 10, 10), NewRadio(L"b", 10, 40), NewRadio(L"c", 10, 70)};
  const HWND native[3] = {NativeRadio(Form->Handle(), L"a", 150, 10, true),
                          NativeRadio(Form->Handle(), L"b", 150, 40, false),
                          NativeRadio(Form->Handle(), L"c", 150, 70, false)};
  PumpPending();
  const TPoint outside(100 + 120, 100 + 130);
  struct TRow {
    const char* Name;
    int Target;
    std::function<void(HWND)> Script;
  };
  const auto click = [](HWND w) {
    SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN}, {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP}});
  };
  const TRow rows[] = {
      {"click the first", 0, click},
      {"click the second", 1, click},
      {"click the checked one again", 1, click},
      {"press on the third, release outside", 2,
       [&](HWND w) {
         SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN}, {outside, 0}, {outside, MOUSEEVENTF_LEFTUP}});
       }},
      {"double click the third", 2,
       [](HWND w) {
         SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP}});
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const bool wasChecked = ours[row.Target]->Checked();
    Log->Clicks.clear();
    row.Script(ours[row.Target]->Handle());
    SettleInput();
    SendMouseMove(outside);
    row.Script(native[row.Target]);
    SettleInput();
    SendMouseMove(outside);
    SettleInput();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(ours[i]->Checked(), NativeChecked(native[i])) << "button " << i;
      EXPECT_EQ(ours[i]->TabStop(), ours[i]->Checked()) << "button " << i;
    }
    // A click that checks raises one Click, a double click too.
    EXPECT_EQ(Log->Count(ours[row.Target]), !wasChecked && ours[row.Target]->Checked() ? 1 : 0);
  }
  EXPECT_TRUE(ours[2]->Checked());
}

TEST_F(TRadioButtonOnForm, GroupIndexSeparatesLibraryButtonsButNotPlainOnes) {
  TcxRadioButton* zero = NewRadio(L"zero", 10, 10, 0);
  TcxRadioButton* oneA = NewRadio(L"one a", 10, 40, 1);
  TcxRadioButton* oneB = NewRadio(L"one b", 10, 70, 1);
  auto* plain = New<TRadioButton>(Form.get());
  plain->SetParent(Form.get());
  TRadioButton* all[] = {zero, oneA, oneB, plain};
  struct TStep {
    const char* Name;
    TRadioButton* Checked;
    bool Expected[4];  // zero, one a, one b, plain
  };
  const TStep steps[] = {
      {"one a", oneA, {false, true, false, false}},
      {"zero leaves group 1 alone", zero, {true, true, false, false}},
      {"one b unchecks its own group only", oneB, {true, false, true, false}},
      {"a plain button unchecks every library button", plain, {false, false, false, true}},
      {"a library button unchecks the plain one whatever its group", oneA, {false, true, false, false}},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Checked->SetCheckedState(true);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(all[i]->Checked(), step.Expected[i]) << "button " << i;
      EXPECT_EQ(all[i]->TabStop(), step.Expected[i]) << "button " << i;
    }
  }
}

TEST_F(TRadioButtonOnForm, TabbingIntoAnUncheckedButtonChecksItWithOneClick) {
  Form->SetBounds(100, 100, 300, 120);
  Form->Show();
  auto* edit = New<TEdit>(Form.get());
  edit->SetParent(Form.get());
  edit->SetBounds(10, 10, 80, 21);
  TcxRadioButton* radio = NewRadio(L"&Next", 10, 40);
  radio->SetTabStop(true);
  edit->SetFocus();
  PumpPending();
  SendKey(VK_TAB, false);
  SendKey(VK_TAB, true);
  AppPumpFor([&] { return GetFocus() == radio->Handle(); });
  PumpFor(50);
  EXPECT_EQ(GetFocus(), radio->Handle());
  EXPECT_TRUE(radio->Checked());
  EXPECT_EQ(Log->Count(radio), 1);
}

// The theme's radio part drawn by the test where the control put its mark,
// over the control's colour.
void DrawReferenceMark(HDC DC, const TRect& AMark, int AState, int ADpi) {
  const HTHEME theme = UxOpenThemeData(nullptr, L"BUTTON", static_cast<UINT>(ADpi));
  ASSERT_NE(theme, nullptr);
  const RECT r = AMark;
  DrawThemeBackground(theme, DC, BP_RADIOBUTTON, AState, &r, nullptr);
  CloseThemeData(theme);
}

TEST_F(TRadioButtonOnForm, TheNativeMarkIsTheThemesRadioPartAtEveryScale) {
  if (!IsThemeActive()) GTEST_SKIP() << "no visual styles";
  {
    const HTHEME theme = OpenThemeData(nullptr, L"BUTTON");
    SIZE size{};
    GetThemePartSize(theme, nullptr, BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, nullptr, TS_TRUE, &size);
    CloseThemeData(theme);
    EXPECT_EQ(size.cx, 13);
    EXPECT_EQ(size.cy, 13);
  }
  struct TRow {
    int Dpi;
    bool Checked;
    bool Enabled;
    int ThemeState;
  };
  const TRow rows[] = {{96, false, true, RBS_UNCHECKEDNORMAL},
                       {96, true, true, RBS_CHECKEDNORMAL},
                       {96, false, false, RBS_UNCHECKEDDISABLED},
                       {96, true, false, RBS_CHECKEDDISABLED}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.Dpi << " dpi, checked " << row.Checked << ", enabled " << row.Enabled);
    TcxRadioButton* radio = NewRadio(L"", 0, 0);
    radio->LookAndFeel()->SetNativeStyle(true);
    radio->SetParentBackground(false);
    radio->SetColor(clWindow);
    if (row.Dpi != 96) radio->ChangeScale(row.Dpi, 96, true);
    radio->SetCheckedState(row.Checked);
    radio->SetEnabled(row.Enabled);
    TPixelSurface ours(radio->Width(), radio->Height(), RGB(1, 2, 3));
    radio->PaintTo(ours.DC());
    const TRect mark = radio->GetCheckRect();
    EXPECT_EQ(mark.Width(), 13);
    TPixelSurface reference(radio->Width(), radio->Height(), ColorToRGB(clWindow));
    DrawReferenceMark(reference.DC(), mark, row.ThemeState, row.Dpi);
    int different = 0;
    for (int y = mark.Top; y < mark.Bottom; ++y)
      for (int x = mark.Left; x < mark.Right; ++x) different += ours.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(different, 0) << ours.Picture(ColorToRGB(clWindow));
    radio->Free();
  }
}

TEST(RadioButtonTextMargins, TheMarginsByPlaceLookAndLayout) {
  struct TRow {
    const char* Name;
    bool Inplace, Native, WordWrap;
    TAlignment Alignment;
    TRect Margins;
  };
  const TRow rows[] = {
      {"in place", true, false, true, taLeftJustify, TRect(5, 0, 1, 0)},
      {"in place, native", true, true, false, taRightJustify, TRect(3, 0, 0, 0)},
      {"left of the mark", false, false, false, taLeftJustify, TRect(2, -1, 1, 0)},
      {"right of the mark", false, false, false, taRightJustify, TRect(5, -1, 0, 0)},
      {"wrapped, left", false, false, true, taLeftJustify, TRect(2, -1, 6, 0)},
      {"wrapped, right", false, false, true, taRightJustify, TRect(5, -1, 2, 0)},
      {"native, left", false, true, false, taLeftJustify, TRect(2, 0, 1, 0)},
      {"native, right", false, true, false, taRightJustify, TRect(3, 0, 0, 0)},
      {"native, wrapped, left", false, true, true, taLeftJustify, TRect(2, 0, 3, 0)},
      {"native, wrapped, right", false, true, true, taRightJustify, TRect(3, 0, 0, 0)},
  };
  TOwned<TdxScaleFactor> twice(New<TdxScaleFactor>());
  twice->Assign(2, 1, false);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(GetRadioButtonTextMargins(row.Inplace, row.Native, row.WordWrap, row.Alignment), row.Margins);
    // Right to left swaps the sides; the scale applies to all four.
    TRect r(0, 0, 100, 20);
    ApplyRadioButtonTextMargins(r, row.Inplace, row.Native, row.WordWrap, row.Alignment, true, twice.get());
    EXPECT_EQ(r, TRect(2 * row.Margins.Right, 2 * row.Margins.Top, 100 - 2 * row.Margins.Left,
                       20 - 2 * row.Margins.Bottom));
  }
}

TEST_F(TRadioButtonOnForm, RightToLeftPutsTheMarkRightAndSwapsTheMargins) {
  TcxRadioButton* radio = NewRadio(L"Flash", 10, 10);
  radio->SetBiDiMode(bdRightToLeft);
  const TRect mark = radio->GetCheckRect();
  EXPECT_EQ(mark.Right, radio->Width() - 1);
  const TRect text = radio->GetTextRect();
  EXPECT_EQ(text.Right, mark.Left - 5);
  EXPECT_EQ(text.Left, 0);
  radio->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(radio->GetCheckRect().Left, 1);
  EXPECT_EQ(radio->GetTextRect().Left, radio->GetCheckRect().Right + 5);
}

TEST_F(TRadioButtonOnForm, AutoSizeFitsTheMarkAndTheCaption) {
  TcxRadioButton* radio = NewRadio(L"", 10, 10);
  radio->SetAutoSize(true);
  const TRect mark = radio->GetCheckRect();
  EXPECT_EQ(radio->Width(), mark.Width() + 2 * mark.Left);
  EXPECT_EQ(radio->Height(), mark.Height() + 4);
  radio->SetCaption(L"A much longer caption");
  SIZE text{};
  {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, radio->Font()->Handle());
    GetTextExtentPoint32W(dc, L"A much longer caption", 21, &text);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
  }
  EXPECT_GE(radio->GetTextRect().Width(), text.cx);
  EXPECT_LT(radio->GetTextRect().Width(), text.cx + 10);
  EXPECT_EQ(radio->Height(), std::max<int>(text.cy, mark.Height()) + 4);
}

TEST_F(TRadioButtonOnForm, AutoSizeKeepsTheAlignedEdge) {
  Form->SetBounds(100, 100, 300, 200);
  Form->Show();
  for (const TAlign align : {alRight, alBottom}) {
    SCOPED_TRACE(align == alRight ? "alRight" : "alBottom");
    TcxRadioButton* radio = NewRadio(L"short", 10, 10);
    radio->SetAlign(align);
    radio->SetAutoSize(true);
    radio->SetCaption(L"a caption a good deal longer");
    PumpPending();
    if (align == alRight) {
      EXPECT_EQ(radio->Left() + radio->Width(), Form->ClientWidth());
    } else {
      EXPECT_EQ(radio->Top() + radio->Height(), Form->ClientHeight());
    }
    radio->Free();
  }
}

TEST_F(TRadioButtonOnForm, TheFocusRectangleIsDrawnOnlyAroundACaption) {
  Form->SetBounds(100, 100, 300, 120);
  Form->Show();
  auto* edit = New<TEdit>(Form.get());
  edit->SetParent(Form.get());
  edit->SetBounds(200, 10, 80, 21);
  for (const wchar_t* caption : {L"Flash", L""}) {
    SCOPED_TRACE(caption[0] ? "caption" : "no caption");
    TcxRadioButton* radio = NewRadio(caption, 10, 10);
    radio->SetCheckedState(true);
    const auto paint = [&](TPixelSurface& ASurface) { radio->PaintTo(ASurface.DC()); };
    TPixelSurface unfocused(radio->Width(), radio->Height());
    edit->SetFocus();
    PumpPending();
    paint(unfocused);
    radio->SetFocus();
    PumpPending();
    ASSERT_TRUE(radio->Focused());
    TPixelSurface focused(radio->Width(), radio->Height());
    paint(focused);
    // The mark has a focused look of its own; the rectangle lies beside it.
    const TRect mark = radio->GetCheckRect();
    int different = 0;
    for (int y = 0; y < radio->Height(); ++y)
      for (int x = mark.Right + 1; x < radio->Width(); ++x) different += focused.Pixel(x, y) != unfocused.Pixel(x, y);
    if (caption[0])
      EXPECT_GT(different, 0);
    else
      EXPECT_EQ(different, 0);
    edit->SetFocus();
    radio->Free();
  }
}

struct TNameChangeEvent {
  HWND Wnd;
  LONG Object;
  LONG Child;
};
std::vector<TNameChangeEvent>* RadioNameChanges = nullptr;

void CALLBACK RecordNameChange(HWINEVENTHOOK, DWORD, HWND AWnd, LONG AObject, LONG AChild, DWORD, DWORD) {
  if (RadioNameChanges) RadioNameChanges->push_back({AWnd, AObject, AChild});
}

TEST_F(TRadioButtonOnForm, AnMsaaClientReadsARadioButtonAndHearsItChecked) {
  Form->Show();
  TcxRadioButton* radio = NewRadio(L"EEprom", 10, 10);
  TcxRadioButton* other = NewRadio(L"Flash", 10, 40);
  const TComPtr<IAccessible> client = AccessibleClientOf(radio->Handle());
  ASSERT_TRUE(client);
  const VARIANT self = AccessibleChild(CHILDID_SELF);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(client->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_RADIOBUTTON);
  BSTR name = nullptr;
  ASSERT_EQ(client->get_accName(self, &name), S_OK);
  EXPECT_EQ(TakeBstr(name), L"EEprom");
  const auto state = [&] {
    VARIANT v;
    VariantInit(&v);
    client->get_accState(self, &v);
    return v.lVal;
  };
  std::vector<TNameChangeEvent> events;
  RadioNameChanges = &events;
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
                                             &RecordNameChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(state() & STATE_SYSTEM_CHECKED, 0);
  radio->SetCheckedState(true);
  PumpPending();
  EXPECT_EQ(state() & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
  EXPECT_NE(state() & STATE_SYSTEM_FOCUSABLE, 0);
  other->SetCheckedState(true);
  PumpPending();
  EXPECT_EQ(state() & STATE_SYSTEM_CHECKED, 0);
  UnhookWinEvent(hook);
  RadioNameChanges = nullptr;
  // One event for each button that became checked, none for the one unchecked.
  const auto seen = [&](HWND AWnd) {
    return std::count_if(events.begin(), events.end(), [&](const TNameChangeEvent& e) {
      return e.Wnd == AWnd && e.Object == OBJID_CLIENT && e.Child == CHILDID_SELF;
    });
  };
  EXPECT_EQ(seen(radio->Handle()), 1);
  EXPECT_EQ(seen(other->Handle()), 1);
}

}  // namespace
