#include "library/stdctrls/cxListBox.h"

#include "platform/runtime/TypInfo.h"
#include "platform/ui/Forms.h"

#include "tests/support/AccessibilityClient.h"
#include "tests/support/NativeScrollBars.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <functional>

namespace {

struct ListBox : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxListBox* Box = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 300, 250);
    Form->Show();
    Box = New<TcxListBox>(Form.get());
    Box->SetParent(Form.get());
    Box->SetBounds(10, 10, 200, 120);
    Box->Style()->LookAndFeel()->SetNativeStyle(false);
    // These cases are about the classic layout: the bars beside the list.
    Box->LookAndFeel()->SetScrollbarMode(sbmClassic);
    PumpPending();
  }
};

TEST_F(ListBox, TheStatePublishedStylesAreTheContainersFour) {
  const std::pair<const wchar_t*, TcxContainerStyle*> styles[] = {{L"Style", Box->Style()},
                                                                  {L"StyleDisabled", Box->StyleDisabled()},
                                                                  {L"StyleFocused", Box->StyleFocused()},
                                                                  {L"StyleHot", Box->StyleHot()}};
  for (const auto& [name, style] : styles) {
    SCOPED_TRACE(std::wstring(name));
    const TPropInfo* prop = GetPropInfo(Box, name);
    ASSERT_NE(prop, nullptr);
    EXPECT_EQ(GetObjectProp(Box, prop), style);
  }
  // Written by property, a style is copied into the control's own.
  TOwned<TcxContainerStyles> source(New<TcxContainerStyles>(nullptr, nullptr));
  source->StyleHot()->SetBorderColor(clRed);
  SetObjectProp(Box, GetPropInfo(Box, L"StyleHot"), source->StyleHot());
  EXPECT_EQ(Box->StyleHot()->BorderColor(), clRed);
  EXPECT_NE(Box->StyleHot(), source->StyleHot());
}

TEST_F(ListBox, ItemsAndListSettingsReachTheInnerNativeList) {
  TcxCustomInnerListBox* inner = Box->InnerListBox();
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(Box->InnerControl(), inner);
  Box->Items()->Add(L"first");
  Box->Items()->Add(L"second");
  EXPECT_EQ(SendMessageW(inner->Handle(), LB_GETCOUNT, 0, 0), 2);
  Box->SetExtendedSelect(false);
  EXPECT_FALSE(inner->ExtendedSelect());
  Box->Clear();
  EXPECT_EQ(SendMessageW(inner->Handle(), LB_GETCOUNT, 0, 0), 0);
  // The inner list fills the content inside the container's ring.
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(inner->BoundsRect(), Box->ViewInfo()->ClientRect);
  EXPECT_EQ(Box->ViewInfo()->ClientRect, TRect(2, 2, 198, 118));
}

TEST_F(ListBox, TheStylesFontIsTheInnerListsFont) {
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-15);
  Box->Style()->SetFont(font.get());
  EXPECT_EQ(Box->Font()->Name(), L"Tahoma");
  EXPECT_EQ(Box->InnerListBox()->Font()->Height(), -15);
}

TEST_F(ListBox, AnAccessibilityClientReadsTheLines) {
  for (const wchar_t* line : {L"Device ID : $1E9702", L"Flash written"}) Box->Items()->Add(line);
  TComPtr<IAccessible> client = AccessibleClientOf(Box->InnerListBox()->Handle());
  ASSERT_TRUE(client);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 2);
  for (int i = 1; i <= 2; ++i) {
    TBstr name;
    ASSERT_EQ(client->get_accName(AccessibleChild(i), &name.Value), S_OK);
    EXPECT_EQ(name.Text(), Box->Items()->Strings(i - 1));
  }
}

TEST_F(ListBox, ItsBarScrollsTheInnerListAndFollowsIt) {
  for (int i = 0; i < 40; ++i) Box->Items()->Add(L"line " + std::to_wstring(i));
  PumpPending();
  IcxControlScrollBar* bar = Box->GetVertScrollBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->GetVisible());
  auto* control = dynamic_cast<TcxScrollBar*>(bar->GetControl());
  ASSERT_NE(control, nullptr);
  const HWND inner = Box->InnerListBox()->Handle();
  const struct {
    const char* Name;
    TScrollCode Code;
    WORD NativeCode;
  } steps[] = {{"a line down", scLineDown, SB_LINEDOWN}, {"a page down", scPageDown, SB_PAGEDOWN},
               {"a line up", scLineUp, SB_LINEUP},     {"to the bottom", scBottom, SB_BOTTOM}};
  // The expected positions: a plain list of the same size scrolled by the
  // same codes.
  const TRect r = Box->InnerListBox()->BoundsRect();
  const HWND plain = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, r.Width(),
                                     r.Height(), Form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(plain, nullptr);
  SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(Box->InnerListBox()->Font()->Handle()), TRUE);
  for (int i = 0; i < Box->Items()->Count(); ++i)
    SendMessageW(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Box->Items()->Strings(i).c_str()));
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    SendMessageW(plain, WM_VSCROLL, MAKEWPARAM(step.NativeCode, 0), 0);
    control->Helper()->Scroll(step.Code);
    PumpPending();
    EXPECT_EQ(GetScrollPos(inner, SB_VERT), GetScrollPos(plain, SB_VERT));
    EXPECT_EQ(bar->GetPosition(), GetScrollPos(inner, SB_VERT));
  }
  DestroyWindow(plain);
}

// ---------------------------------------------------------------------------
// Touch and hybrid bars: the native list covers the content with its own bars
// past it, the container's popup bars float over the content's far edges.

TEST(ListBoxModes, ARunTimeListBoxFollowsTheApplicationsTouchDefault) {
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  auto* box = New<TcxListBox>(form.get());
  box->SetParent(form.get());
  form->Show();
  PumpPending();
  EXPECT_EQ(box->LookAndFeel()->ScrollbarMode(), sbmDefault);
  EXPECT_EQ(box->ScrollbarMode(), sbmTouch);
}

// Shows its bars on request, as a touch, the wheel or the mouse would.
class TRevealingListBox : public TcxListBox {
  SK_CLASS(TRevealingListBox, TcxListBox)
 public:
  using TcxListBox::HideScrollBars;
  using TcxListBox::RevealScrollBars;
};

struct ListBoxOverlay : testing::TestWithParam<TdxScrollbarMode> {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TRevealingListBox* Box = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 300, 250);
    Form->Show();
    Box = New<TRevealingListBox>(Form.get());
    Box->SetParent(Form.get());
    Box->SetBounds(10, 10, 200, 121);
    Box->Style()->LookAndFeel()->SetNativeStyle(false);
    Box->LookAndFeel()->SetScrollbarMode(sbmClassic);
    for (int i = 0; i < 40; ++i) Box->Items()->Add(L"line " + std::to_wstring(i));
    Box->InnerListBox()->SetItemIndex(7);
    PumpPending();
    // The list's window exists: the mode change remakes it.
    Box->LookAndFeel()->SetScrollbarMode(GetParam());
    PumpPending();
  }
  TRect ContentOnScreen() const {
    TRect content = Box->ViewInfo()->ClientRect;
    content.Offset(Box->ClientToScreen(TPoint(0, 0)));
    return content;
  }
};

TEST_P(ListBoxOverlay, TheNativeListCoversTheContentAndKeepsItsItems) {
  ASSERT_EQ(Box->ScrollbarMode(), GetParam());
  const HWND list = Box->InnerListBox()->Handle();
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 40);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 7);
  wchar_t text[32]{};
  SendMessageW(list, LB_GETTEXT, 39, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"line 39");
  // Right and below, a system bar's room past the content, to the pixel.
  const TRect content = ContentOnScreen();
  EXPECT_EQ(ScreenRectOf(list), TRect(content.Left, content.Top, content.Right + GetSystemMetrics(SM_CXVSCROLL),
                                      content.Bottom + GetSystemMetrics(SM_CYHSCROLL)));
  ASSERT_TRUE(NativeBarShown(list, sbVertical));
  EXPECT_GE(NativeBarInfo(list, sbVertical).rcScrollBar.left, content.Right);
}

TEST_P(ListBoxOverlay, ThePopupBarLiesAtTheContentsRightEdgeAndFollowsTheList) {
  const HWND list = Box->InnerListBox()->Handle();
  const TRect content = ContentOnScreen();
  const int thickness = 16;  // touch and expanded hybrid bars at 96 DPI
  const struct {
    const char* Name;
    UINT Message;
    WPARAM WParam;
  } steps[] = {
      {"as made", WM_NULL, 0},
      {"a page down", WM_VSCROLL, SB_PAGEDOWN},
      {"to the end", WM_KEYDOWN, VK_END},
      {"a line up", WM_VSCROLL, SB_LINEUP},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    SendMessageW(list, step.Message, step.WParam, 0);
    PumpPending();
    Box->RevealScrollBars(false);
    PumpPending();
    IcxControlScrollBar* bar = Box->GetVertScrollBar();
    ASSERT_NE(bar, nullptr);
    auto* window = dynamic_cast<TcxControlPopupScrollBar*>(bar->GetControl());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->HandleAllocated() && IsWindowVisible(window->Handle()));
    EXPECT_EQ(ScreenRectOf(window->Handle()),
              TRect(content.Right - thickness, content.Top, content.Right, content.Bottom));
    const SCROLLINFO info = NativeScrollInfo(list, sbVertical);
    EXPECT_EQ(bar->GetMin(), info.nMin);
    EXPECT_EQ(bar->GetMax(), info.nMax);
    EXPECT_EQ(bar->GetPageSize(), static_cast<int>(info.nPage));
    EXPECT_EQ(bar->GetPosition(), info.nPos);
  }
}

TEST_P(ListBoxOverlay, MovingOverTheListOrScrollingItShowsTheBar) {
  const HWND list = Box->InnerListBox()->Handle();
  IcxControlScrollBar* bar = Box->GetVertScrollBar();
  ASSERT_NE(bar, nullptr);
  auto* window = dynamic_cast<TWinControl*>(bar->GetControl());
  ASSERT_NE(window, nullptr);
  const auto shown = [&] { return window->HandleAllocated() && IsWindowVisible(window->Handle()); };
  const TRect content = ContentOnScreen();
  const TPoint start(content.Left + 20, content.Top + 20);
  const int step = TdxTouchScrollUIActivityHelper::JitterDistance * 2;
  const struct {
    const char* Name;
    std::function<void()> Act;
  } ways[] = {
      {"a scroll message", [&] { SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0); }},
      {"the mouse moving over the lines",
       [&] {
         for (int i = 0; i < 3; ++i) SendMouseMove(TPoint(start.X, start.Y + i * step));
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.Name);
    SendMouseMove(TPoint(content.Right + 60, content.Bottom + 60));
    Box->HideScrollBars(true);
    PumpPending();
    ASSERT_FALSE(shown());
    way.Act();
    EXPECT_TRUE(PumpUntil(shown, 3000));
  }
}

TEST_P(ListBoxOverlay, BackInClassicModeTheListShrinksBesideTheContainersBar) {
  Box->LookAndFeel()->SetScrollbarMode(sbmClassic);
  PumpPending();
  const HWND list = Box->InnerListBox()->Handle();
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 40);
  const TRect content = ContentOnScreen();
  EXPECT_EQ(ScreenRectOf(list), content);
  // The container's bar lies exactly over the list's own.
  IcxControlScrollBar* bar = Box->GetVertScrollBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(bar->GetVisible());
  auto* window = dynamic_cast<TWinControl*>(bar->GetControl());
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(NativeBarShown(list, sbVertical));
  EXPECT_EQ(ScreenRectOf(window->Handle()), TRect(NativeBarInfo(list, sbVertical).rcScrollBar));
}

INSTANTIATE_TEST_SUITE_P(Modes, ListBoxOverlay, testing::Values(sbmTouch, sbmHybrid),
                         [](const testing::TestParamInfo<TdxScrollbarMode>& AInfo) {
                           return AInfo.param == sbmTouch ? "Touch" : "Hybrid";
                         });

}  // namespace
