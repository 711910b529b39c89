// The check box: toggling by real input beside the platform's auto check
// box, the value mapping, loading, posting, accessibility and its layout.
#include "library/stdctrls/cxCheckBox.h"

#include "platform/classes/FormReader.h"
#include "platform/ui/Forms.h"
#include "tests/support/AccessibilityClient.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"
#include "tests/support/WindowReading.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Records the order of a check box's events.
class TCheckEventLog : public TComponent {
  SK_CLASS(TCheckEventLog, TComponent)
 public:
  void Clicked(TObject*) { Events.push_back("click"); }
  void Changed(TObject*) { Events.push_back("change"); }
  void Posted(TObject*) { Events.push_back("post"); }
  int Count(const std::string& AEvent) const {
    return static_cast<int>(std::count(Events.begin(), Events.end(), AEvent));
  }
  std::vector<std::string> Events;
};

// A check box that counts its clicks from the moment it exists, so that a
// form reading it can show whether loading clicked.
class TClickCountingCheckBox : public TcxCheckBox {
  SK_CLASS(TClickCountingCheckBox, TcxCheckBox)
 public:
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    Log.reset(New<TCheckEventLog>(nullptr));
    SetOnClick(BindEvent<&TCheckEventLog::Clicked>(Log.get()));
  }
  TOwned<TCheckEventLog> Log;
};

struct TCheckBoxOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TCheckEventLog> Log{New<TCheckEventLog>(nullptr)};
  bool MovedPointer = false;
  void TearDown() override {
    if (MovedPointer) SendMouseMove(TPoint(1, 1));
  }

  TcxCheckBox* NewBox(const String& ACaption = L"&Flash", int ALeft = 10) {
    auto* box = New<TcxCheckBox>(Form.get());
    box->SetParent(Form.get());
    box->SetAutoSize(false);
    box->SetBounds(ALeft, 10, 100, 21);
    box->SetCaption(ACaption);
    box->Style()->LookAndFeel()->SetNativeStyle(false);
    box->SetOnClick(BindEvent<&TCheckEventLog::Clicked>(Log.get()));
    box->Properties()->SetOnChange(BindEvent<&TCheckEventLog::Changed>(Log.get()));
    return box;
  }
};

// A platform check box (BS_AUTOCHECKBOX, or BS_AUTO3STATE) in the same form.
HWND NativeCheckBox(HWND AParent, const wchar_t* ACaption, int ALeft, DWORD AStyle = BS_AUTOCHECKBOX) {
  return CreateWindowExW(0, L"BUTTON", ACaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | AStyle, ALeft, 10, 100, 21,
                         AParent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST_F(TCheckBoxOnForm, ScriptsOfRealInputLeaveTheSameStateAsThePlatformsCheckBox) {
  Form->SetBounds(100, 100, 360, 120);
  Form->Show();
  MovedPointer = true;
  TcxCheckBox* box = NewBox(L"&Flash", 10);
  const HWND native = NativeCheckBox(Form->Handle(), L"&Ga", 150);
  // Something else to take the focus away.
  const HWND other = NativeCheckBox(Form->Handle(), L"other", 260);
  TcxCheckBox* otherBox = NewBox(L"other", 260);
  otherBox->SetTop(50);
  PumpPending();
  const auto outside = [] { return TPoint(100 + 200, 100 + 90); };
  const auto click = [](HWND w) {
    SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN}, {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP}});
  };
  struct TRow {
    const char* Name;
    bool Toggles;  // measured on the platform's box
    std::function<void(HWND, wchar_t)> Script;
  };
  const TRow rows[] = {
      {"click", true, [&](HWND w, wchar_t) { click(w); }},
      {"press, drag out, release", false,
       [&](HWND w, wchar_t) {
         SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN}, {outside(), 0}, {outside(), MOUSEEVENTF_LEFTUP}});
       }},
      {"double click", false,
       [](HWND w, wchar_t) {
         SendMouseSteps({{ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTDOWN},
                         {ScreenCentreOf(w), MOUSEEVENTF_LEFTUP}});
       }},
      {"space down and up", true,
       [](HWND w, wchar_t) {
         SetFocus(w);
         SendKey(VK_SPACE, false);
         SendKey(VK_SPACE, true);
       }},
      {"space down, focus leaves, space up", false,
       [&](HWND w, wchar_t) {
         SetFocus(w);
         SendKey(VK_SPACE, false);
         SettleInput();
         SetFocus(other);
         SendKey(VK_SPACE, true);
       }},
      {"alt and the accelerator", true,
       [&](HWND w, wchar_t AKey) {
         // The platform's box answers its accelerator through the dialog
         // manager, ours through the application's message loop.
         const bool platforms = w == native;
         SetFocus(platforms ? other : otherBox->Handle());
         SendKey(VK_MENU, false);
         SendKey(static_cast<WORD>(AKey), false);
         SendKey(static_cast<WORD>(AKey), true);
         SendKey(VK_MENU, true);
         const ULONGLONG until = GetTickCount64() + 300;
         MSG msg;
         while (GetTickCount64() < until) {
           if (!platforms) {
             Application()->ProcessMessages();
             continue;
           }
           while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
             if (!IsDialogMessageW(Form->Handle(), &msg)) {
               TranslateMessage(&msg);
               DispatchMessageW(&msg);
             }
         }
       }},
      {"disabled", false,
       [&](HWND w, wchar_t) {
         EnableWindow(w, FALSE);
         click(w);
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const bool nativeBefore = SendMessageW(native, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const bool boxBefore = box->Checked();
    if (std::string(row.Name) == "disabled") box->SetEnabled(false);
    row.Script(box->Handle(), L'F');
    SettleInput();
    SendMouseMove(outside());
    row.Script(native, L'G');
    SettleInput();
    SendMouseMove(outside());
    SettleInput();
    const bool nativeAfter = SendMessageW(native, BM_GETCHECK, 0, 0) == BST_CHECKED;
    EXPECT_EQ(nativeAfter != nativeBefore, row.Toggles) << "the platform's box";
    EXPECT_EQ(box->Checked() != boxBefore, row.Toggles);
  }
}

TEST_F(TCheckBoxOnForm, AllowGrayedCyclesThroughGrayed) {
  TcxCheckBox* box = NewBox();
  box->Properties()->SetAllowGrayed(true);
  const TcxCheckBoxState expected[] = {cbsGrayed, cbsChecked, cbsUnchecked, cbsGrayed};
  for (const TcxCheckBoxState state : expected) {
    box->Toggle();
    EXPECT_EQ(box->State(), state);
  }
  // Without it a grayed value set from outside goes on to checked.
  box->Properties()->SetAllowGrayed(false);
  box->Toggle();
  EXPECT_EQ(box->State(), cbsChecked);
  box->Toggle();
  EXPECT_EQ(box->State(), cbsUnchecked);
  box->Toggle();
  EXPECT_EQ(box->State(), cbsChecked);
}

TEST_F(TCheckBoxOnForm, TheEditValueMapsToAState) {
  TcxCheckBox* box = NewBox();
  struct TRow {
    const char* Name;
    Variant Value;
    TcxCheckBoxState State;
    bool Valid;
  };
  const TRow rows[] = {
      {"True", Variant(true), cbsChecked, true},
      {"False", Variant(false), cbsUnchecked, true},
      {"the string True", Variant(String(L"True")), cbsChecked, false},
      {"the string False", Variant(String(L"False")), cbsUnchecked, false},
      {"the integer 1", Variant(1), cbsGrayed, false},
      {"Null", Variant::NullValue(), cbsGrayed, true},
      {"a foreign string", Variant(String(L"maybe")), cbsGrayed, false},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    box->SetEditValue(row.Value);
    EXPECT_EQ(box->State(), row.State);
    EXPECT_EQ(box->Checked(), row.State == cbsChecked);
    Variant value = row.Value;
    EXPECT_EQ(box->Properties()->IsEditValueValid(value, false), row.Valid);
    EXPECT_EQ(box->Properties()->GetDisplayText(row.Value),
              row.State == cbsChecked ? String(L"True") : row.State == cbsUnchecked ? String(L"False") : String());
  }
  // Writing Checked stores the properties' value for the state, once.
  box->SetEditValue(Variant(false));
  Log->Events.clear();
  box->SetChecked(true);
  EXPECT_EQ(box->EditValue().VType(), varBoolean);
  EXPECT_TRUE(box->EditValue().AsBoolean());
  box->SetChecked(true);
  EXPECT_EQ(Log->Events, (std::vector<std::string>{"click", "change"}));
  // A state ordinal outside the three makes no value.
  Variant made = Variant(5);
  box->PrepareEditValue(Variant(3), made, false);
  EXPECT_TRUE(made.IsEmpty());
}

TEST_F(TCheckBoxOnForm, ValueSettersRefuseValuesThatWouldCollide) {
  TcxCheckBox* box = NewBox();
  TcxCheckBoxProperties* p = box->Properties();
  p->SetValueChecked(Variant(1));
  p->SetValueUnchecked(Variant(0));
  p->SetValueGrayed(Variant(2));
  struct TRow {
    const char* Name;
    void (TcxCustomCheckBoxProperties::*Setter)(const Variant&);
    Variant Value;
    bool Accepted;
  };
  const TRow rows[] = {
      {"checked equal to unchecked", &TcxCustomCheckBoxProperties::SetValueChecked, Variant(0), false},
      {"checked Null", &TcxCustomCheckBoxProperties::SetValueChecked, Variant::NullValue(), false},
      {"unchecked equal to grayed", &TcxCustomCheckBoxProperties::SetValueUnchecked, Variant(2), false},
      {"unchecked Null", &TcxCustomCheckBoxProperties::SetValueUnchecked, Variant::NullValue(), false},
      {"grayed equal to checked", &TcxCustomCheckBoxProperties::SetValueGrayed, Variant(1), false},
      {"grayed Null", &TcxCustomCheckBoxProperties::SetValueGrayed, Variant::NullValue(), true},
      {"checked of another type", &TcxCustomCheckBoxProperties::SetValueChecked, Variant(String(L"0")), true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const Variant before[] = {p->ValueChecked(), p->ValueUnchecked(), p->ValueGrayed()};
    (p->*row.Setter)(row.Value);
    const Variant after[] = {p->ValueChecked(), p->ValueUnchecked(), p->ValueGrayed()};
    int changed = 0;
    for (int i = 0; i < 3; ++i) changed += IsSameEditValue(before[i], after[i]) ? 0 : 1;
    EXPECT_EQ(changed, row.Accepted ? 1 : 0);
  }
}

TEST(CheckBoxLoading, AStateReadFromAFormIsInForceWithoutAClick) {
  RegisterClasses({TClickCountingCheckBox::ClassInfo()});
  const TOwned<TClickCountingCheckBox> box(static_cast<TClickCountingCheckBox*>(
      ReadComponentFromText(L"object B: TClickCountingCheckBox\n  Caption = 'EEprom'\n  State = cbsChecked\nend")));
  ASSERT_NE(box.get(), nullptr);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(box->Caption(), L"EEprom");
  EXPECT_TRUE(box->Log->Events.empty());
  box->SetChecked(false);
  EXPECT_EQ(box->Log->Count("click"), 1) << "after loading the clicks come again";
}

TEST_F(TCheckBoxOnForm, ImmediatePostPostsBeforeTheChangeEventsAreReleased) {
  auto* box = New<TcxCheckBox>(Form.get(), true);
  box->SetParent(Form.get());
  box->Properties()->SetImmediatePost(true);
  box->Properties()->SetOnChange(BindEvent<&TCheckEventLog::Changed>(Log.get()));
  box->SetOnPostEditValue(BindEvent<&TCheckEventLog::Posted>(Log.get()));
  box->Toggle();
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(Log->Events, (std::vector<std::string>{"post", "change"}));
  Log->Events.clear();
  box->Properties()->SetImmediatePost(false);
  box->Toggle();
  EXPECT_EQ(Log->Events, (std::vector<std::string>{"change"}));
}

// The window's client area as it paints.
TPixelSurface Shot(TcxCheckBox* ABox) {
  TPixelSurface surface(ABox->Width(), ABox->Height(), RGB(1, 2, 3));
  ABox->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  return surface;
}

COLORREF Sys(TColor AColor) { return static_cast<COLORREF>(ColorToRGB(AColor)); }

// --- accessibility -------------------------------------------------------------

DWORD GSeenEvents = 0;
HWND GWatchedWindow = nullptr;

void CALLBACK CheckStateEventProc(HWINEVENTHOOK, DWORD AEvent, HWND AWnd, LONG AObject, LONG AChild, DWORD, DWORD) {
  if (AEvent == 0x7586 && AWnd == GWatchedWindow && AObject == OBJID_CLIENT && AChild == CHILDID_SELF) ++GSeenEvents;
}

TEST_F(TCheckBoxOnForm, AnAccessibilityClientReadsAndSwitchesIt) {
  Form->Show();
  TcxCheckBox* box = NewBox();
  TComPtr<IAccessible> node = AccessibleClientOf(box->Handle());
  ASSERT_TRUE(node);
  EXPECT_EQ(WindowText(box->Handle()), L"&Flash");
  const VARIANT self = AccessibleChild(CHILDID_SELF);
  VARIANT role;
  ASSERT_EQ(node->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.lVal, 44);
  VARIANT state;
  ASSERT_EQ(node->get_accState(self, &state), S_OK);
  EXPECT_EQ(state.lVal & STATE_SYSTEM_CHECKED, 0);
  BSTR action = nullptr;
  ASSERT_EQ(node->get_accDefaultAction(self, &action), S_OK);
  EXPECT_EQ(TakeBstr(action), L"To switch");

  GWatchedWindow = box->Handle();
  GSeenEvents = 0;
  const HWINEVENTHOOK hook = SetWinEventHook(0x7586, 0x7586, nullptr, CheckStateEventProc, GetCurrentProcessId(), 0,
                                             WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  ASSERT_EQ(node->accDoDefaultAction(self), S_OK);
  EXPECT_TRUE(box->Checked());
  ASSERT_EQ(node->get_accState(self, &state), S_OK);
  EXPECT_EQ(state.lVal & STATE_SYSTEM_CHECKED, STATE_SYSTEM_CHECKED);
  box->SetChecked(true);  // no change, no event
  box->SetState(cbsGrayed);
  ASSERT_EQ(node->get_accState(self, &state), S_OK);
  EXPECT_EQ(state.lVal & STATE_SYSTEM_CHECKED, 0) << "grayed is not checked";
  PumpUntil([] { return GSeenEvents >= 2; }, 2000);
  PumpPending();
  UnhookWinEvent(hook);
  EXPECT_EQ(GSeenEvents, 2u) << "one event per change of state";
}

// --- layout --------------------------------------------------------------------

struct TCaptionLayoutCase {
  const char* Name;
  TAlignment Alignment;
  bool RightToLeft;
  bool MarkOnTheRight;
};

// The caption drawn beside the mark, the text gap away, matches DrawTextW of
// the same text in the same rectangle; the right-aligned and right-to-left
// layouts put the mark at the right.
TEST_F(TCheckBoxOnForm, TheCaptionStandsAtTheTextGapBesideTheMark) {
  Form->Show();
  const TCaptionLayoutCase cases[] = {
      {"left", taLeftJustify, false, false},
      {"right", taRightJustify, false, true},
      {"left, right to left", taLeftJustify, true, true},
  };
  for (const TCaptionLayoutCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TcxCheckBox* box = NewBox(L"Flash", 10);
    box->Properties()->Alignment()->SetHorz(c.Alignment);
    if (c.RightToLeft) {
      box->SetBiDiMode(bdRightToLeft);
      box->Properties()->Changed();
    }
    PumpPending();
    const TcxCustomCheckBoxViewInfo* info = box->ViewInfo();
    const TRect client = info->ClientRect;
    const TRect mark = info->CheckBoxRect;
    if (c.MarkOnTheRight) {
      EXPECT_EQ(mark.Right, client.Right);
      EXPECT_EQ(info->TextRect.Right, mark.Left - 5);
    } else {
      EXPECT_EQ(mark.Left, client.Left);
      EXPECT_EQ(info->TextRect.Left, mark.Right + 5);
    }
    // The caption's pixels are those of DrawTextW in the rectangle.
    const TPixelSurface shot = Shot(box);
    TPixelSurface expected(box->Width(), box->Height(), shot.Pixel(info->TextRect.Left, 0));
    {
      const HFONT font = box->Style()->GetVisibleFont()->Handle();
      const HGDIOBJ old = SelectObject(expected.DC(), font);
      SetBkMode(expected.DC(), TRANSPARENT);
      SetTextColor(expected.DC(), Sys(clWindowText));
      RECT r = *info->TextRect.WinRect();
      DrawTextW(expected.DC(), L"Flash", 5, &r,
                DT_SINGLELINE | DT_VCENTER | (c.RightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT));
      SelectObject(expected.DC(), old);
    }
    int differing = 0;
    for (int y = info->TextRect.Top; y < info->TextRect.Bottom; ++y)
      for (int x = info->TextRect.Left; x < info->TextRect.Right; ++x)
        differing += shot.Pixel(x, y) != expected.Pixel(x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0);
    EXPECT_GT(shot.Count(info->TextRect, Sys(clWindowText)), 10) << "the caption was drawn";
    box->Free();
  }
}

// The main window's look: the system check-box size, a 1-pixel clBtnShadow
// frame, clWindow inside and a clBtnText check when checked.
TEST_F(TCheckBoxOnForm, TheUltraFlatMarkOfTheMainWindow) {
  Form->Show();
  TcxCheckBox* box = NewBox(L"EEprom");
  box->SetChecked(true);
  PumpPending();
  const TRect mark = box->ViewInfo()->CheckBoxRect;
  const TPixelSurface shot = Shot(box);
  TRect frame = mark;
  frame.Deflate(1);
  const int frameLength = 2 * (frame.Width() + frame.Height()) - 4;
  EXPECT_EQ(shot.Count(frame, Sys(clBtnShadow)) - shot.Count(InflateRectangle(frame, -1), Sys(clBtnShadow)),
            frameLength);
  TRect inside = mark;
  inside.Deflate(2);
  EXPECT_GT(shot.Count(inside, Sys(clBtnText)), 5) << "the check";
  EXPECT_GT(shot.Count(inside, Sys(clWindow)), inside.Width() * inside.Height() / 3);
  box->SetChecked(false);
  PumpPending();
  const TPixelSurface cleared = Shot(box);
  EXPECT_EQ(cleared.Count(inside, Sys(clWindow)), inside.Width() * inside.Height());
}

}  // namespace
namespace {

// A box read disabled from a form, as the main window's are, takes input
// again once enabled.
TEST(CheckBoxEnabling, AFormDisabledBoxIsEnabledWithItsWindow) {
  RegisterClasses({TClickCountingCheckBox::ClassInfo()});
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->Show();
  TOwned<TClickCountingCheckBox> box(static_cast<TClickCountingCheckBox*>(
      ReadComponentFromText(L"object B: TClickCountingCheckBox\n  Caption = 'Flash'\n  Enabled = False\nend")));
  box->SetParent(form.get());
  PumpPending();
  EXPECT_FALSE(IsWindowEnabled(box->Handle()));
  box->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(box->Handle()));
  EXPECT_EQ(SendMessageW(box->Handle(), BM_CLICK, 0, 0), 0);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  box->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box->Handle()));
  SendMessageW(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(box->Checked()) << "a disabled box is not clicked";
}

}  // namespace
