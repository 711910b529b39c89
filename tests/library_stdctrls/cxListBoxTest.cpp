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

}  // namespace
