#include "library/controls/text/dxFontHelpers.h"

#include "library/core/containers/dxHashUtils.h"
#include "platform/classes/ClassErrors.h"
#include "platform/ui/GdiScopes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <vector>

namespace {

struct TCodeRange {
  int First;
  int Last;
};

struct TFontFileFacts {
  const wchar_t* Face;
  int HheaAscender;
  int HheaDescender;
  int HheaLineGap;
  int WinAscent;
  int WinDescent;
  int TypoAscender;
  int TypoDescender;
  int TypoLineGap;
  unsigned FsSelection;
  int UnitsPerEm;
  unsigned CjkCodePageBits;
  BYTE Panose[10];
  int RangeCount;
  std::vector<TCodeRange> Cmap;
};

struct TUnicodeRangeRow {
  int First;
  int Last;
  int Bit;
};

#include "FontTable.inc"

// ceil(A / B) for B > 0.
long long CeilDiv(long long A, long long B) { return A >= 0 ? (A + B - 1) / B : -((-A) / B); }

// What GDI says of the face at a pixel height.
struct TGdiFacts {
  TEXTMETRICW Text{};
  OUTLINETEXTMETRICW Outline{};
  int Charset = 0;
  int SpaceWidth = 0;
};

TGdiFacts ReadGdiFacts(const wchar_t* AFace, int AHeight) {
  TGdiFacts facts;
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  const TOwnedFont font(CreateFontW(AHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DefFontData().Charset, 0, 0, 0, 0, AFace));
  const TSelectObject selected(dc.Get(), font.Get());
  GetTextMetricsW(dc.Get(), &facts.Text);
  facts.Outline.otmSize = sizeof facts.Outline;
  GetOutlineTextMetricsW(dc.Get(), sizeof facts.Outline, &facts.Outline);
  facts.Charset = GetTextCharset(dc.Get());
  SIZE space{};
  GetTextExtentPoint32W(dc.Get(), L" ", 1, &space);
  facts.SpaceWidth = space.cx;
  return facts;
}

// The CJK face is not installed on the machine (it would change what other
// programs' GDI+ makes of vertical "@" families): added to this process,
// then the loader enumerates again.
void AddTestFonts() {
  static bool added = false;
  if (added) return;
  added = true;
  const std::string path = SK_TEST_CJK_FONT;
  ASSERT_GT(AddFontResourceExW(String(path.begin(), path.end()).c_str(), FR_PRIVATE, nullptr), 0) << path;
  TOwned<TdxFontCache::TTrueTypeFontLoader> loader(New<TdxFontCache::TTrueTypeFontLoader>(false, false));
  loader->WaitFor();
}

bool FaceInstalled(const wchar_t* AFace) { return dxIsTrueTypeFont(AFace); }

class FontFileMetrics : public testing::TestWithParam<float> {};

// A 10-point regular font of each face against the rules applied to what
// fontTools reads from its file, and against GetTextMetricsW and
// GetOutlineTextMetricsW of the same font.
TEST_P(FontFileMetrics, MetricsFollowTheTablesAndGdi) {
  AddTestFonts();
  const float dpi = GetParam();
  for (const bool office : {false, true}) {
    TdxFontCache* cache = office ? TdxFontCacheManager::GetOfficeFontCache(TdxDocumentLayoutUnit::Pixel, dpi)
                                 : TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, dpi);
    for (const TFontFileFacts& face : FontFiles) {
      SCOPED_TRACE(testing::Message() << face.Face << (office ? " office" : " class library") << " at " << dpi);
      ASSERT_TRUE(FaceInstalled(face.Face)) << "the test prefix lacks the face";
      TdxFontInfo* info = cache->Items(cache->CalcFontIndex(face.Face, 20, TFontStyles(), TdxCharacterFormattingScript::Normal));
      // 10 points at dpi: the pixel height, rounded half to even.
      const int height = static_cast<int>(std::nearbyint(10.0 * dpi / 72));
      LOGFONTW created{};
      GetObjectW(info->GdiFontHandle(), sizeof created, &created);
      EXPECT_EQ(created.lfHeight, -height);
      EXPECT_EQ(info->FamilyName(), String(face.Face));
      const TGdiFacts gdi = ReadGdiFacts(face.Face, -height);

      const long long ascent = face.HheaAscender;
      const long long descent = -face.HheaDescender;
      const long long spacing = ascent + descent + face.HheaLineGap;
      const bool cjk = face.CjkCodePageBits != 0;
      const bool typographic = (face.FsSelection & 0x80) != 0;
      // Design units to layout units: x * (10 * dpi / 72) / em, rounded up.
      const auto scaled = [&](long long x) { return static_cast<int>(CeilDiv(x * 10 * static_cast<long long>(dpi), 72LL * face.UnitsPerEm)); };
      int expectedAscent, expectedDescent, expectedSpacing;
      if (office || cjk || typographic) {
        expectedAscent = scaled(ascent);
        expectedDescent = scaled(descent);
        expectedSpacing = scaled(spacing);
      } else {
        expectedAscent = gdi.Text.tmAscent;
        expectedDescent = gdi.Text.tmDescent;
        expectedSpacing = gdi.Text.tmExternalLeading + gdi.Text.tmAscent + gdi.Text.tmDescent;
      }
      EXPECT_EQ(info->IsCJKFont(), cjk);
      if (cjk) {
        // Not typographic: 1.3 times the height, half of the extra above,
        // the odd unit below.
        ASSERT_FALSE(typographic);
        const int lineSpacing = static_cast<int>(CeilDiv((expectedAscent + expectedDescent) * 13LL, 10));
        const int extra = lineSpacing - expectedAscent - expectedDescent;
        expectedAscent += extra / 2;
        expectedDescent += extra - extra / 2;
        expectedSpacing = lineSpacing;
        EXPECT_TRUE(info->ApplyCjkUnderline());
      }
      if (expectedSpacing < expectedAscent + expectedDescent) {
        expectedDescent = std::max(0, expectedSpacing - expectedAscent);
        expectedAscent = std::min(expectedAscent, expectedSpacing);
      }
      EXPECT_EQ(info->Ascent(), expectedAscent);
      EXPECT_EQ(info->Descent(), expectedDescent);
      EXPECT_EQ(info->LineSpacing(), expectedSpacing);
      EXPECT_EQ(info->Free(), expectedSpacing - expectedAscent - expectedDescent);
      EXPECT_FALSE(info->UseGetGlyphIndices());
      if (office || typographic || cjk) {
        EXPECT_EQ(info->DrawingOffset(), gdi.Text.tmAscent - info->Ascent());
      }

      EXPECT_EQ(0, std::memcmp(&info->Panose(), face.Panose, sizeof face.Panose));
      if (!info->ApplyCjkUnderline()) {
        EXPECT_EQ(info->UnderlinePosition(), -gdi.Outline.otmsUnderscorePosition);
        EXPECT_EQ(info->UnderlineThickness(), static_cast<int>(gdi.Outline.otmsUnderscoreSize));
      }

      EXPECT_EQ(info->StrikeoutPosition(), gdi.Outline.otmsStrikeoutPosition);
      EXPECT_EQ(info->StrikeoutThickness(), static_cast<int>(gdi.Outline.otmsStrikeoutSize));
      EXPECT_EQ(info->SubscriptSize().cy, gdi.Outline.otmptSubscriptSize.y);
      EXPECT_EQ(info->SuperscriptOffset().Y, -gdi.Outline.otmptSuperscriptOffset.y);
      EXPECT_EQ(info->Charset(), gdi.Charset);
      EXPECT_EQ(info->SpaceWidth(), gdi.SpaceWidth);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, FontFileMetrics, testing::Values(96.0f, 144.0f));

TEST(dxFontHelpers, CoverageSetsEqualTheCmapPlusTheFixedRanges) {
  AddTestFonts();
  TdxFontCache* cache = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 96);
  for (const TFontFileFacts& face : FontFiles) {
    SCOPED_TRACE(testing::Message() << face.Face);
    TdxFontCharacterSet* set = cache->GetFontCharacterSet(face.Face);
    std::vector<bool> expected(0x10000);
    for (const TCodeRange& range : face.Cmap)
      for (int c = range.First; c <= range.Last; ++c) expected[static_cast<std::size_t>(c)] = true;
    for (int c = 0; c <= 0xFF; ++c) expected[static_cast<std::size_t>(c)] = true;
    for (int c = 0xF000; c <= 0xF0FF; ++c) expected[static_cast<std::size_t>(c)] = true;
    int mismatches = 0;
    for (int c = 0; c < 0x10000; ++c)
      if (set->ContainsChar(c) != expected[static_cast<std::size_t>(c)] && ++mismatches < 10)
        ADD_FAILURE() << "U+" << std::hex << c << (expected[static_cast<std::size_t>(c)] ? " missing" : " extra");
    EXPECT_EQ(0, std::memcmp(&set->Panose(), face.Panose, sizeof face.Panose));
    EXPECT_FALSE(set->ContainsChar(-1));
    EXPECT_FALSE(set->ContainsChar(0x10000));
  }
}

TEST(dxFontHelpers, UnicodeRangeTableEqualsFontTools) {
  TOwned<TdxUnicodeRangeInfo> info(New<TdxUnicodeRangeInfo>());
  ASSERT_EQ(info->Count(), static_cast<int>(std::size(FontToolsUnicodeRanges)));
  for (int i = 0; i < info->Count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(static_cast<int>(info->Items(i).LowValue), FontToolsUnicodeRanges[i].First);
    EXPECT_EQ(static_cast<int>(info->Items(i).HiValue), FontToolsUnicodeRanges[i].Last);
    EXPECT_EQ(info->Items(i).Bit, FontToolsUnicodeRanges[i].Bit);
  }
  // Lookups: inside, at both ends, in a gap, at the top.
  EXPECT_EQ(info->LookupSubrange(L'A')->Bit, 0);
  EXPECT_EQ(info->LookupSubrange(L'\x3042')->Bit, 49);
  EXPECT_EQ(info->LookupSubrange(L'\x07FF')->Bit, 14);
  EXPECT_EQ(info->LookupSubrange(L'\x0800'), nullptr);
  EXPECT_EQ(info->LookupSubrange(L'\xFFFF')->Bit, 69);
}

TEST(dxFontHelpers, MLangGivesTheCodePageOfACharacter) {
  EXPECT_EQ(TdxFontLink::GetCharCodePage(L'\x3042'), 932u);
  TdxFontLink::Release();
  // Created again after a release.
  EXPECT_EQ(TdxFontLink::GetCharCodePage(L'\x3042'), 932u);
}

// "AB" and "B2" have the same ELF hash: the key alone would give the second
// name the first one's font.
TEST(dxFontHelpers, NamesWithTheSameHashKeepTheirOwnFonts) {
  ASSERT_EQ(HashTextUpperCase(L"AB", 2), HashTextUpperCase(L"B2", 2));
  TdxFontCache* cache = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 96);
  const int ab = cache->CalcFontIndex(L"AB", 20, TFontStyles(), TdxCharacterFormattingScript::Normal);
  const int b2 = cache->CalcFontIndex(L"B2", 20, TFontStyles(), TdxCharacterFormattingScript::Normal);
  EXPECT_NE(ab, b2);
  EXPECT_EQ(cache->Items(ab)->Name(), L"AB");
  EXPECT_EQ(cache->Items(b2)->Name(), L"B2");
  // Both again: the same indexes, nothing new.
  const int count = cache->Count();
  EXPECT_EQ(cache->CalcFontIndex(L"ab", 20, TFontStyles(), TdxCharacterFormattingScript::Normal), ab);
  EXPECT_EQ(cache->CalcFontIndex(L"B2", 20, TFontStyles(), TdxCharacterFormattingScript::Normal), b2);
  EXPECT_EQ(cache->Count(), count);
  // A face GDI does not have falls back to Times New Roman.
  EXPECT_EQ(cache->Items(ab)->FamilyName(), L"Times New Roman");
  EXPECT_THROW(cache->Items(count), EListError);
}

TEST(dxFontHelpers, CachesAreSharedPerUnitAndDpi) {
  TdxFontCache* first = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 120);
  EXPECT_EQ(TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 120), first);
  EXPECT_NE(TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 121), first);
  EXPECT_NE(TdxFontCacheManager::GetOfficeFontCache(TdxDocumentLayoutUnit::Pixel, 120), first);
  TdxFontCache* twips = TdxFontCacheManager::GetFontCache(TdxDocumentLayoutUnit::Twip, 96);
  EXPECT_EQ(TdxFontCacheManager::GetOfficeFontCache(TdxDocumentLayoutUnit::Twip, 300), twips);
  EXPECT_TRUE(twips->UseOfficeFonts());
}

TEST(dxFontHelpers, SubAndSuperscriptFontsFollowTheirBase) {
  TdxFontCache* cache = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 96);
  const int base = cache->CalcFontIndex(L"DejaVu Sans", 24, TFontStyles(), TdxCharacterFormattingScript::Normal);
  const int sub = cache->CalcFontIndex(L"DejaVu Sans", 24, TFontStyles(), TdxCharacterFormattingScript::Subscript);
  const int super = cache->CalcFontIndex(L"DejaVu Sans", 24, TFontStyles(), TdxCharacterFormattingScript::Superscript);
  TdxFontInfo* b = cache->Items(base);
  TdxFontInfo* s = cache->Items(sub);
  TdxFontInfo* p = cache->Items(super);
  EXPECT_EQ(s->BaseFontIndex(), base);
  EXPECT_EQ(p->BaseFontIndex(), base);
  EXPECT_EQ(b->BaseFontIndex(), -1);
  // The script size: the base's outline script height in points.
  EXPECT_EQ(s->SizeInPoints(), static_cast<float>(std::nearbyint(0.75 * b->SubscriptSize().cy)));
  EXPECT_LT(s->SizeInPoints(), b->SizeInPoints());
  EXPECT_LE(s->SubscriptOffset().Y, b->SubscriptOffset().Y);
  EXPECT_EQ(s->GetBaseFontInfo(cache), b);
  EXPECT_EQ(s->GetBaseAscentAndFree(cache), b->AscentAndFree());
}

TEST(dxFontHelpers, SubstituteFaceHasTheCharacterAtTheSmallestDistance) {
  AddTestFonts();
  TdxFontCache* cache = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 96);
  TdxFontCharacterSet* set = nullptr;
  const String found = TdxFontCache::FindSubstituteFont(L"Tahoma", L'\x3042', set);
  ASSERT_NE(found, L"Tahoma");
  TdxFontCharacterSet* foundSet = cache->GetFontCharacterSet(found);
  EXPECT_TRUE(foundSet->ContainsChar(0x3042));
  const PANOSE& source = cache->GetFontCharacterSet(L"Tahoma")->Panose();
  const int distance = TdxFontCharacterSet::CalculatePanoseDistance(source, foundSet->Panose());
  const TOwned<TStringList> faces(TdxFontCache::CreateSystemTrueTypeFonts());
  for (int i = 0; i < faces->Count(); ++i) {
    TdxFontCharacterSet* other = cache->GetFontCharacterSet(faces->Strings(i));
    if (other->ContainsChar(0x3042)) {
      EXPECT_GE(TdxFontCharacterSet::CalculatePanoseDistance(source, other->Panose()), distance) << faces->Strings(i);
    }
  }
  // A character every face has keeps the source.
  EXPECT_EQ(TdxFontCache::FindSubstituteFont(L"Tahoma", L'A', set), L"TAHOMA");
}

TEST(dxFontHelpers, SupportedStylesOfTrueTypeFaces) {
  using S = TdxSupportedFontStyle;
  const TOwned<TStringList> faces(TdxFontCache::CreateSystemTrueTypeFonts());
  const int tahoma = faces->IndexOf(L"Tahoma");
  ASSERT_GE(tahoma, 0);
  auto* info = static_cast<TdxTrueTypeFontInfo*>(faces->Objects(tahoma));
  EXPECT_EQ(info->FontType() & 0xFF, TRUETYPE_FONTTYPE);
  const TdxSupportedFontStylesInfo& styles = info->SupportedStyles();
  EXPECT_EQ(styles.SupportedStyles, (TdxSupportedFontStyles{S::Regular, S::Bold, S::Italic, S::BoldItalic}));
  EXPECT_TRUE(styles.NativeStyles[static_cast<std::size_t>(S::Regular)]);
  EXPECT_TRUE(styles.NativeStyles[static_cast<std::size_t>(S::Bold)]);
  EXPECT_FALSE(styles.NativeStyles[static_cast<std::size_t>(S::Italic)]);
  const int mono = faces->IndexOf(L"DejaVu Sans Mono");
  ASSERT_GE(mono, 0);
  EXPECT_NE(static_cast<TdxTrueTypeFontInfo*>(faces->Objects(mono))->FontType() & TdxTrueTypeFontInfo::FixedPitchFont, 0);
  EXPECT_EQ(info->FontType() & TdxTrueTypeFontInfo::FixedPitchFont, 0);
}

TEST(dxFontHelpers, DrawingAbilityFollowsTheUnicodeRangeBits) {
  TdxFontCache* cache = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 96);
  TdxFontInfo* info = cache->Items(cache->CalcFontIndex(L"DejaVu Sans", 20, TFontStyles(), TdxCharacterFormattingScript::Normal));
  FONTSIGNATURE signature{};
  {
    const TOwnedDC dc(CreateCompatibleDC(nullptr));
    const TSelectObject selected(dc.Get(), info->GdiFontHandle());
    GetTextCharsetInfo(dc.Get(), &signature, 0);
  }
  const auto bit = [&](int ABit) { return (signature.fsUsb[ABit / 32] >> (ABit % 32) & 1) != 0; };
  EXPECT_EQ(cache->ShouldUseDefaultFontToDrawInvisibleCharacter(info, L'A'), bit(0));
  EXPECT_EQ(cache->ShouldUseDefaultFontToDrawInvisibleCharacter(info, L'\x0416'), bit(9));
  EXPECT_EQ(cache->ShouldUseDefaultFontToDrawInvisibleCharacter(info, L'\x3042'), bit(49));
  // Beyond the first 1536 characters the table grows; a gap between blocks
  // cannot be drawn.
  EXPECT_FALSE(cache->ShouldUseDefaultFontToDrawInvisibleCharacter(info, L'\x0800'));
  EXPECT_EQ(cache->ShouldUseDefaultFontToDrawInvisibleCharacter(info, L'\x3042'), bit(49));
}

TEST(dxFontHelpers, CharsetByFontNameCreatesTheFontOnce) {
  TdxFontCache* cache = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 96);
  const int charset = cache->GetCharsetByFontName(L"Liberation Sans");
  const int count = cache->Count();
  EXPECT_EQ(cache->GetCharsetByFontName(L"liberation sans"), charset);
  EXPECT_EQ(cache->Count(), count);
  EXPECT_EQ(charset, ReadGdiFacts(L"Liberation Sans", -16).Charset);
}

// A loader told to stop before it starts looks at one entry and ends,
// letting go of the dictionaries' lock.
TEST(dxFontHelpers, LoaderEndsAtItsNextCheck) {
  TOwned<TdxFontCache::TTrueTypeFontLoader> loader(New<TdxFontCache::TTrueTypeFontLoader>(true, false));
  loader->Terminate();
  loader->Start();
  loader->WaitFor();
  EXPECT_EQ(loader->StepsTaken(), 1);
  EXPECT_TRUE(dxIsTrueTypeFont(L"Tahoma"));
}

TEST(dxFontHelpers, OfficeFontsTakeKnownSubstitutes) {
  // "Courier" becomes "COURIER NEW" only when that face is installed.
  const String substitute = dxGetSubstituteFontName(L"Courier");
  EXPECT_EQ(substitute, dxIsTrueTypeFont(L"Courier New") ? String(L"COURIER NEW") : String(L"Courier"));
  EXPECT_EQ(dxGetSubstituteFontName(L"Tahoma"), L"Tahoma");
}

}  // namespace
