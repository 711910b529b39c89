#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

using namespace Gdiplus;

namespace {

// The test prefix has the DejaVu families; nothing else is sure to be there.
constexpr const wchar_t* InstalledFamily = L"DejaVu Sans";
constexpr const wchar_t* MissingFamily = L"No Such Family Anywhere";

class GdiPlusText : public GdiPlusTest {};

TEST_F(GdiPlusText, StringFormatsKeepTheirSettingsAndCopyThem) {
  const TOwned<TdxGPStringFormat> format(New<TdxGPStringFormat>(StringFormatFlagsNoWrap | StringFormatFlagsNoClip,
                                                                LANGID(0x10409)));
  EXPECT_EQ(format->FormatFlags(), StringFormatFlagsNoWrap | StringFormatFlagsNoClip);
  format->SetAlignment(StringAlignmentCenter);
  format->SetLineAlignment(StringAlignmentFar);
  format->SetTrimming(StringTrimmingEllipsisWord);
  format->SetHotkeyPrefix(HotkeyPrefixShow);
  const float tabs[] = {10, 20, 30};
  format->SetTabStops(5, 3, tabs);
  const TdxGpCharacterRange ranges[] = {{0, 2}, {3, 1}};
  format->SetMeasurableCharacterRanges(2, ranges);
  format->SetDigitSubstitution(0x0409, StringDigitSubstituteNone);

  const TOwned<TdxGPStringFormat> copy(format->Clone());
  for (const TdxGPStringFormat* f : {format.get(), copy.get()}) {
    EXPECT_EQ(f->Alignment(), StringAlignmentCenter);
    EXPECT_EQ(f->LineAlignment(), StringAlignmentFar);
    EXPECT_EQ(f->Trimming(), StringTrimmingEllipsisWord);
    EXPECT_EQ(f->HotkeyPrefix(), HotkeyPrefixShow);
    EXPECT_EQ(f->GetTabStopCount(), 3);
    float first = 0;
    EXPECT_EQ(f->GetTabStops(3, first), (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(first, 5);
    EXPECT_EQ(f->MeasurableCharacterRangeCount(), 2);
    EXPECT_EQ(f->DigitSubstitutionLanguage(), 0x0409);
    EXPECT_EQ(f->DigitSubstitutionMethod(), StringDigitSubstituteNone);
  }
  const TOwned<TdxGPStringFormat> other(New<TdxGPStringFormat>());
  other->Assign(format.get());
  EXPECT_EQ(other->Alignment(), StringAlignmentCenter);
  other->SetFormatFlags(0);
  EXPECT_EQ(format->FormatFlags(), StringFormatFlagsNoWrap | StringFormatFlagsNoClip);
}

TEST_F(GdiPlusText, FamiliesByNameAndTheirMetrics) {
  const TOwned<TdxGPFontFamily> family(New<TdxGPFontFamily>(InstalledFamily));
  ASSERT_NE(family->Handle(), nullptr);
  EXPECT_EQ(family->Name(), InstalledFamily);
  EXPECT_GT(family->GetEmHeight(FontStyleRegular), 0);
  EXPECT_GT(family->GetLineSpacing(FontStyleRegular), family->GetCellAscent(FontStyleRegular));
  EXPECT_EQ(family->GetCellAscent(FontStyleRegular) + family->GetCellDescent(FontStyleRegular) > 0, true);
  EXPECT_TRUE(family->IsStyleAvailable(FontStyleRegular));
  const TOwned<TdxGPFontFamily> clone(family->Clone());
  EXPECT_EQ(clone->Name(), InstalledFamily);
  const TOwned<TdxGPFontFamily> missing(New<TdxGPFontFamily>(MissingFamily));
  EXPECT_EQ(missing->Handle(), nullptr);  // not an error until a font is built on it
}

TEST_F(GdiPlusText, StylesAndTheirBits) {
  struct {
    TFontStyles Styles;
    int Bits;
    bool Bold, Italic;
  } const cases[] = {
      {{}, 0, false, false},
      {{fsBold}, 1, true, false},
      {{fsItalic}, 2, false, true},
      {{fsUnderline, fsStrikeOut}, 12, false, false},
      {{fsBold, fsItalic, fsUnderline, fsStrikeOut}, 15, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bits);
    EXPECT_EQ(GdipFontStyleFromFontStyles(c.Styles), c.Bits);
    const TOwned<TdxGPFont> font(New<TdxGPFont>(String(InstalledFamily), 10.0f, c.Bits));
    EXPECT_EQ(font->Bold(), c.Bold);
    EXPECT_EQ(font->Italic(), c.Italic);
    EXPECT_EQ(font->Underline(), (c.Bits & 4) != 0);
    EXPECT_EQ(font->Strikeout(), (c.Bits & 8) != 0);
  }
}

TEST_F(GdiPlusText, FontSizesThatAreNoPositiveNumbersAndMissingFamiliesRaise) {
  struct {
    const char* Name;
    String Family;
    float Size;
    GpStatus Status;
  } const cases[] = {
      {"size 0", InstalledFamily, 0, InvalidParameter},
      {"negative size", InstalledFamily, -3, InvalidParameter},
      {"not a number", InstalledFamily, std::numeric_limits<float>::quiet_NaN(), InvalidParameter},
      {"infinite", InstalledFamily, std::numeric_limits<float>::infinity(), InvalidParameter},
      {"family not installed", MissingFamily, 10, InvalidParameter},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      TOwned<TdxGPFont> font(New<TdxGPFont>(c.Family, c.Size));
      ADD_FAILURE() << "no exception";
    } catch (const EdxGdipException& e) {
      if (c.Family == InstalledFamily) {
        EXPECT_EQ(e.Status(), c.Status);
      }
    }
  }
  EXPECT_THROW(New<TdxGPFont>(static_cast<const TdxGPFontFamily*>(nullptr), 10.0f), EdxGdipException);
}

decltype(GdipCreateFontFromLogfontW) GRealFontFromLogFont = nullptr;
GpStatus WINGDIPAPI FontOfTheFaceWithoutItsMark(HDC ADC, GDIPCONST LOGFONTW* ALogFont, GpFont** AFont) {
  LOGFONTW logFont = *ALogFont;
  if (logFont.lfFaceName[0] == L'@')
    std::memmove(logFont.lfFaceName, logFont.lfFaceName + 1, sizeof logFont.lfFaceName - sizeof(WCHAR));
  return GRealFontFromLogFont(ADC, &logFont, AFont);
}

TEST_F(GdiPlusText, TheVerticalMarkTravelsFromTheNameToTheLogFont) {
  const String name = String(L"@") + InstalledFamily;
  const TOwned<TdxGPFont> font(New<TdxGPFont>(name, 12.0f));
  EXPECT_EQ(font->OriginalFontName(), name);
  EXPECT_TRUE(font->GdiVerticalFont());
  EXPECT_EQ(font->Name(), InstalledFamily);
  LOGFONTW logFont{};
  font->ToLogFont(logFont);
  EXPECT_EQ(String(logFont.lfFaceName), name);
  EXPECT_EQ(logFont.lfCharSet, DEFAULT_CHARSET);

  // Wine's GDI+ makes no font of a vertical face once a font with vertical
  // forms is installed (nothing is left behind then); the font of the face
  // without its mark stands in, so that the mark's way back is seen here.
  try {
    const TOwned<TdxGPFont> direct(TdxGPFont::FromLogFont(logFont));
  } catch (const EdxGdipException& e) {
    EXPECT_EQ(e.Status(), NotTrueTypeFont);
  }
  GRealFontFromLogFont = std::exchange(GdipCreateFontFromLogfontW, &FontOfTheFaceWithoutItsMark);
  const TScopeExit restore([] { GdipCreateFontFromLogfontW = GRealFontFromLogFont; });
  const TOwned<TdxGPFont> back(TdxGPFont::FromLogFont(logFont));
  EXPECT_TRUE(back->GdiVerticalFont());
  EXPECT_EQ(back->GdiCharSet(), DEFAULT_CHARSET);
  EXPECT_NEAR(back->Height(), font->Height(), 1);

  struct {
    const wchar_t* Name;
    bool Vertical;
    const wchar_t* Stripped;
  } const names[] = {{L"@Tahoma", true, L"Tahoma"}, {L"Tahoma", false, L"Tahoma"}, {L"@", true, L"@"}, {L"", false, L""}};
  for (const auto& n : names) {
    SCOPED_TRACE(n.Name);
    EXPECT_EQ(TdxGPFont::IsVerticalName(n.Name), n.Vertical);
    EXPECT_EQ(TdxGPFont::StripVerticalName(n.Name), n.Stripped);
  }
}

TEST_F(GdiPlusText, AFamilyThatIsMissingFallsBackToTheGenericSansSerif) {
  // GDI+'s own generic family is the oracle: where it has none, there is no
  // fallback and the font cannot be made.
  TdxGpOwnedFontFamily generic;
  const bool hasGeneric = GdipGetGenericFontFamilySansSerif(generic.Receive()) == Ok;
  if (!hasGeneric) {
    try {
      TOwned<TdxGPFont> font(TdxGPFont::SafeCreate(MissingFamily, 10));
      ADD_FAILURE() << "no exception";
    } catch (const EdxGdipException& e) {
      EXPECT_EQ(e.Status(), FontFamilyNotFound);
    }
  } else {
    const TOwned<TdxGPFont> font(TdxGPFont::SafeCreate(MissingFamily, 10));
    WCHAR name[LF_FACESIZE];
    GdipGetFamilyName(generic.Get(), name, 0);
    EXPECT_EQ(font->Name(), name);
  }
  const TOwned<TdxGPFont> installed(TdxGPFont::SafeCreate(String(L"@") + InstalledFamily, 10));
  EXPECT_EQ(installed->Name(), InstalledFamily);
}

TEST_F(GdiPlusText, FontsComeFromAndGoBackToGdi) {
  LOGFONTW logFont{};
  logFont.lfHeight = -16;
  logFont.lfWeight = FW_BOLD;
  logFont.lfCharSet = EASTEUROPE_CHARSET;
  wcscpy(logFont.lfFaceName, InstalledFamily);
  const TOwnedFont gdiFont(CreateFontIndirectW(&logFont));
  const TOwned<TdxGPFont> font(TdxGPFont::FromHFont(gdiFont.Get()));
  EXPECT_TRUE(font->Bold());
  EXPECT_EQ(font->GdiCharSet(), EASTEUROPE_CHARSET);
  EXPECT_EQ(font->Height(), static_cast<int>(std::ceil(font->GetHeight())));
  const TOwnedFont back(font->ToHfont());
  LOGFONTW backLog{};
  GetObjectW(back.Get(), sizeof(backLog), &backLog);
  EXPECT_EQ(std::abs(backLog.lfHeight), 16);
  EXPECT_EQ(backLog.lfWeight, FW_BOLD);
  EXPECT_STREQ(backLog.lfFaceName, InstalledFamily);

  const TOwned<TdxGPFont> clone(font->Clone());
  EXPECT_EQ(clone->Size(), font->Size());
  EXPECT_EQ(clone->GdiCharSet(), EASTEUROPE_CHARSET);
  EXPECT_EQ(clone->GetHashCode(), font->GetHashCode());
  const TOwned<TdxGPFont> italic(New<TdxGPFont>(font.get(), int(FontStyleItalic)));
  EXPECT_TRUE(italic->Italic());
  EXPECT_FALSE(italic->Bold());
  EXPECT_NE(italic->GetHashCode(), font->GetHashCode());
  EXPECT_THROW(font->GetHeight(static_cast<TdxGPCanvas*>(nullptr)), EdxGdipException);
  LOGFONTW unused{};
  EXPECT_THROW(font->ToLogFont(unused, nullptr), EdxGdipException);

  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  const TSelectObject selected(dc.Get(), gdiFont.Get());
  const TOwned<TdxGPFont> fromDC(TdxGPFont::FromHdc(dc.Get()));
  EXPECT_EQ(fromDC->GdiCharSet(), 0);
  EXPECT_EQ(fromDC->Name(), InstalledFamily);
  EXPECT_TRUE(fromDC->Bold());
}

TEST_F(GdiPlusText, SizesInPointsWhateverTheUnit) {
  const TOwned<TdxGPFont> points(New<TdxGPFont>(String(InstalledFamily), 12.0f));
  EXPECT_FLOAT_EQ(points->SizeInPoints(), 12);
  EXPECT_NEAR(points->GetHeight(192.0f), 2 * points->GetHeight(96.0f), 0.01);
  // 16 pixels at the test prefix's 96 DPI are 12 points.
  const TOwned<TdxGPFont> pixels(New<TdxGPFont>(String(InstalledFamily), 16.0f, 0, int(UnitPixel)));
  EXPECT_NEAR(pixels->SizeInPoints(), 12, 0.05);
}

TEST_F(GdiPlusText, AUnitWithoutAStyleIsTheUnit) {
  const TOwned<TdxGPFontFamily> family(New<TdxGPFontFamily>(String(InstalledFamily)));
  const TOwned<TdxGPFont> fonts[] = {TOwned<TdxGPFont>(New<TdxGPFont>(String(InstalledFamily), 16.0f, UnitPixel)),
                                     TOwned<TdxGPFont>(New<TdxGPFont>(family.get(), 16.0f, UnitPixel))};
  for (const TOwned<TdxGPFont>& font : fonts) {
    // What GDI+ itself made.
    Gdiplus::Unit unit = UnitWorld;
    INT style = -1;
    ASSERT_EQ(GdipGetFontUnit(font->NativeFont(), &unit), Ok);
    ASSERT_EQ(GdipGetFontStyle(font->NativeFont(), &style), Ok);
    EXPECT_EQ(unit, UnitPixel);
    EXPECT_EQ(style, 0);
    EXPECT_EQ(font->Unit(), int(UnitPixel));
    EXPECT_FALSE(font->Italic());
  }
}

TEST_F(GdiPlusText, SettingTheFamilyFreesTheOldOneOnce) {
  const TOwned<TdxGPFont> font(New<TdxGPFont>(String(InstalledFamily), 10.0f));
  const int families = TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::FontFamily);
  font->SetFontFamily(New<TdxGPFontFamily>(L"DejaVu Serif"));
  EXPECT_EQ(TdxGdiPlusLibrary::ObjectCount(TdxGpObjectKind::FontFamily), families);
  EXPECT_EQ(font->FontFamily()->Name(), L"DejaVu Serif");
  font->SetFontFamily(font->FontFamily());  // the same: kept
  EXPECT_EQ(font->FontFamily()->Name(), L"DejaVu Serif");
}

TEST_F(GdiPlusText, TextOutlinesFollowTheFont) {
  const TOwned<TdxGPFont> font(New<TdxGPFont>(String(InstalledFamily), 20.0f, 0, int(UnitPixel)));
  const TOwned<TdxGPStringFormat> format(New<TdxGPStringFormat>());
  const auto bounds = [](const auto& AAdd) {
    const TOwned<TdxGPPath> path(New<TdxGPPath>());
    AAdd(path.get());
    TdxRectF result;
    EXPECT_EQ(path->TryGetBoundsF(result), Ok);
    EXPECT_GT(path->GetPointCount(), 0);
    return result;
  };
  const TdxRectF wide = bounds([&](TdxGPPath* P) { P->AddString(L"Wide text", font.get(), TdxPointF(10, 10), format.get()); });
  const TdxRectF narrow = bounds([&](TdxGPPath* P) { P->AddString(L"W", font.get(), TdxPointF(10, 10), format.get()); });
  EXPECT_GT(wide.Width(), narrow.Width() * 3);
  EXPECT_GE(narrow.Left, 10);
  EXPECT_GE(narrow.Top, 10);
  const TdxRectF large = bounds([&](TdxGPPath* P) {
    P->AddString(L"W", font->FontFamily(), 0, 40, TdxRectF(0, 0, 200, 100), format.get());
  });
  EXPECT_GT(large.Height(), narrow.Height() * 1.5f);
  TFont* gdiFont = New<TFont>();
  gdiFont->SetName(InstalledFamily);
  const TdxRectF fromGdi = bounds([&](TdxGPPath* P) { P->AddString(L"W", gdiFont, 40, TRect(0, 0, 200, 100)); });
  gdiFont->Free();
  EXPECT_NEAR(fromGdi.Height(), large.Height(), 1);
}

}  // namespace
