#include "platform/ui/Graphics.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphicsColor, SystemColorsResolveThroughGetSysColor) {
  struct Case { TColor Color; int Index; };
  const Case cases[] = {
      {clScrollBar, COLOR_SCROLLBAR},   {clBtnFace, COLOR_BTNFACE},         {clWindow, COLOR_WINDOW},
      {clWindowText, COLOR_WINDOWTEXT}, {clHighlight, COLOR_HIGHLIGHT},     {clBtnShadow, COLOR_BTNSHADOW},
      {cl3DDkShadow, COLOR_3DDKSHADOW}, {clInfoBk, COLOR_INFOBK},           {clHotLight, COLOR_HOTLIGHT},
      {clMenuHighlight, COLOR_MENUHILIGHT}, {clMenuBar, COLOR_MENUBAR},     {clGrayText, COLOR_GRAYTEXT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ColorToString(c.Color));
    EXPECT_EQ(static_cast<std::uint32_t>(c.Color), 0xFF000000u + static_cast<std::uint32_t>(c.Index));
    EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(c.Color)), GetSysColor(c.Index));
  }
}

TEST(GraphicsColor, PlainColorsAndMarkersPassUnchanged) {
  for (TColor c : {clBlack, clLime, clRed, TColor(0x123456), clNone, clDefault}) {
    SCOPED_TRACE(ColorToString(c));
    EXPECT_EQ(ColorToRGB(c), c);
  }
  EXPECT_EQ(static_cast<std::uint32_t>(clNone), 0x1FFFFFFFu);
  EXPECT_EQ(static_cast<std::uint32_t>(clDefault), 0x20000000u);
  // Red lives in the low byte.
  EXPECT_EQ(ColorToColorRef(clRed), RGB(255, 0, 0));
}

TEST(GraphicsColor, EveryNameRoundTrips) {
  for (const TColorIdent& ident : ColorIdents()) {
    SCOPED_TRACE(ident.Name);
    EXPECT_EQ(StringToColor(ident.Name), ident.Value);
    String name;
    ASSERT_TRUE(ColorToIdent(ident.Value, name));
    // Aliases (clLtGray) give the first name of their value.
    EXPECT_EQ(StringToColor(name), ident.Value);
  }
}

TEST(GraphicsColor, TextForms) {
  struct Case { const wchar_t* Text; TColor Color; const wchar_t* Back; };
  const Case cases[] = {
      {L"clBtnFace", clBtnFace, L"clBtnFace"},
      {L"CLBTNFACE", clBtnFace, L"clBtnFace"},
      {L"$00123456", TColor(0x123456), L"$00123456"},
      {L"$FF00000F", clBtnFace, L"clBtnFace"},
      {L"255", clRed, L"clRed"},
      {L"-16777201", clBtnFace, L"clBtnFace"},
      {L"$0080FF", TColor(0x0080FF), L"$000080FF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(StringToColor(c.Text), c.Color);
    EXPECT_EQ(ColorToString(c.Color), c.Back);
  }
}

TEST(GraphicsColor, BadTextRaisesConvertError) {
  for (const wchar_t* text : {L"", L"clNoSuchColour", L"$", L"12x", L"$1FFFFFFFF", L"99999999999"}) {
    SCOPED_TRACE(testing::Message() << "[" << text << "]");
    EXPECT_THROW(StringToColor(text), EConvertError);
  }
}

TEST(GraphicsColor, PublishedThroughIdents) {
  const TTypeInfo* info = TypeInfoOf<TColor>();
  ASSERT_NE(info->IntToIdent, nullptr);
  String s;
  ASSERT_TRUE(info->IntToIdent(clWindowText, s));
  EXPECT_EQ(s, L"clWindowText");
  std::int64_t v = 0;
  ASSERT_TRUE(info->IdentToInt(L"clNone", v));
  EXPECT_EQ(v, clNone);

  const TTypeInfo* charset = TypeInfoOf<TFontCharset>();
  ASSERT_TRUE(charset->IntToIdent(DEFAULT_CHARSET, s));
  EXPECT_EQ(s, L"DEFAULT_CHARSET");
  ASSERT_TRUE(charset->IdentToInt(L"EASTEUROPE_CHARSET", v));
  EXPECT_EQ(v, EASTEUROPE_CHARSET);
  EXPECT_FALSE(charset->IdentToInt(L"KLINGON_CHARSET", v));
}

}  // namespace
