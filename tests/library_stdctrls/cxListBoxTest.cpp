#include "library/stdctrls/cxListBox.h"

#include "platform/runtime/TypInfo.h"
#include "platform/ui/Forms.h"

#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <oleacc.h>

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
  TComPtr<IAccessible> client;
  ASSERT_EQ(AccessibleObjectFromWindow(Box->InnerListBox()->Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), client.ReceiveVoid()),
            S_OK);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 2);
  for (int i = 1; i <= 2; ++i) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = i;
    BSTR name = nullptr;
    ASSERT_EQ(client->get_accName(child, &name), S_OK);
    EXPECT_EQ(String(name, SysStringLen(name)), Box->Items()->Strings(i - 1));
    SysFreeString(name);
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

}  // namespace
