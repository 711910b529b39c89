#include "library/controls/text/dxDocumentLayoutUnitConverter.h"

#include "platform/ui/GdiScopes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <map>

namespace {

struct TUnitIntCase {
  const wchar_t* Unit;
  float ConverterDpi;
  const wchar_t* Operation;
  long long Value;
  float Dpi;
  long long Expected;
};

struct TUnitFloatCase {
  const wchar_t* Unit;
  float ConverterDpi;
  const wchar_t* Operation;
  std::uint32_t Value;
  float Dpi;
  std::uint32_t Expected;
};

#include "UnitTable.inc"

TOwned<TdxDocumentLayoutUnitConverter> MakeConverter(const String& AUnit, float ADpi) {
  const TdxDocumentLayoutUnit unit = AUnit == L"Pixel" ? TdxDocumentLayoutUnit::Pixel
                                     : AUnit == L"Twip" ? TdxDocumentLayoutUnit::Twip
                                                        : TdxDocumentLayoutUnit::Document;
  return TOwned<TdxDocumentLayoutUnitConverter>(TdxDocumentLayoutUnitConverter::CreateConverter(unit, ADpi));
}

using TIntOperation = std::function<long long(const TdxDocumentLayoutUnitConverter&, long long, float)>;
using TFloatOperation = std::function<float(const TdxDocumentLayoutUnitConverter&, float, float)>;

// The compound forms are read back from one coordinate: x through the first
// DPI, y through the second.
const std::map<String, TIntOperation>& IntOperations() {
  using C = const TdxDocumentLayoutUnitConverter&;
  static const std::map<String, TIntOperation> operations = {
      {L"DocumentsToLayoutUnits", [](C c, long long v, float) { return c.DocumentsToLayoutUnits(static_cast<int>(v)); }},
      {L"DocumentsToLayoutUnitsRect",
       [](C c, long long v, float) {
         const int i = static_cast<int>(v);
         return c.DocumentsToLayoutUnits(TRect(0, i, 0, 0)).Top;
       }},
      {L"LayoutUnitsToDocumentsRect",
       [](C c, long long v, float) { return c.LayoutUnitsToDocuments(TRect(0, 0, static_cast<int>(v), 0)).Right; }},
      {L"LayoutUnitsToHundredthsOfInch",
       [](C c, long long v, float) {
         const int single = c.LayoutUnitsToHundredthsOfInch(static_cast<int>(v));
         EXPECT_EQ(c.LayoutUnitsToHundredthsOfInch(TSize(0, static_cast<int>(v))).cy, single);
         return single;
       }},
      {L"LayoutUnitsToPixels",
       [](C c, long long v, float d) {
         const int single = c.LayoutUnitsToPixels(static_cast<int>(v), d);
         EXPECT_EQ(c.LayoutUnitsToPixels(TSize(static_cast<int>(v), 1), d, 1e9f).cx, single);
         EXPECT_EQ(c.LayoutUnitsToPixels(TPoint(0, static_cast<int>(v)), 1e9f, d).Y, single);
         return single;
       }},
      {L"LayoutUnitsToPixelsRect",
       [](C c, long long v, float d) {
         return c.LayoutUnitsToPixels(TRect(0, 0, 0, static_cast<int>(v)), 1e9f, d).Bottom;
       }},
      {L"LayoutUnitsToTwips", [](C c, long long v, float) { return c.LayoutUnitsToTwips(static_cast<int>(v)); }},
      {L"LayoutUnitsToTwips64",
       [](C c, long long v, float) { return c.LayoutUnitsToTwips(static_cast<std::int64_t>(v)); }},
      {L"PixelsToLayoutUnits",
       [](C c, long long v, float d) {
         const int single = c.PixelsToLayoutUnits(static_cast<int>(v), d);
         EXPECT_EQ(c.PixelsToLayoutUnits(TPoint(static_cast<int>(v), 0), d, 96).X, single);
         return single;
       }},
      {L"PixelsToLayoutUnitsRect",
       [](C c, long long v, float d) {
         const int size = c.PixelsToLayoutUnits(TSize(1, static_cast<int>(v)), 96, d).cy;
         EXPECT_EQ(c.PixelsToLayoutUnits(TRect(static_cast<int>(v), 0, 0, 0), d, 96).Left, size);
         return size;
       }},
      {L"PointsToFontUnits", [](C c, long long v, float) { return c.PointsToFontUnits(static_cast<int>(v)); }},
      {L"PointsToLayoutUnits", [](C c, long long v, float) { return c.PointsToLayoutUnits(static_cast<int>(v)); }},
      {L"SnapToPixels", [](C c, long long v, float d) { return c.SnapToPixels(static_cast<int>(v), d); }},
      {L"TwipsToLayoutUnits", [](C c, long long v, float) { return c.TwipsToLayoutUnits(static_cast<int>(v)); }},
      {L"TwipsToLayoutUnits64",
       [](C c, long long v, float) { return c.TwipsToLayoutUnits(static_cast<std::int64_t>(v)); }},
  };
  return operations;
}

const std::map<String, TFloatOperation>& FloatOperations() {
  using C = const TdxDocumentLayoutUnitConverter&;
  static const std::map<String, TFloatOperation> operations = {
      {L"DocumentsToFontUnitsF", [](C c, float v, float) { return c.DocumentsToFontUnitsF(v); }},
      {L"DocumentsToLayoutUnitsRectF",
       [](C c, float v, float) { return c.DocumentsToLayoutUnits(TdxRectF(0, 0, 0, v)).Bottom; }},
      {L"InchesToFontUnitsF", [](C c, float v, float) { return c.InchesToFontUnitsF(v); }},
      {L"LayoutUnitsToDocumentsRectF",
       [](C c, float v, float) { return c.LayoutUnitsToDocuments(TdxRectF(v, 0, 0, 0)).Left; }},
      {L"LayoutUnitsToPixelsF", [](C c, float v, float d) { return c.LayoutUnitsToPixelsF(v, d); }},
      {L"LayoutUnitsToPointsF", [](C c, float v, float) { return c.LayoutUnitsToPointsF(v); }},
      {L"MillimetersToFontUnitsF", [](C c, float v, float) { return c.MillimetersToFontUnitsF(v); }},
      {L"PixelsToLayoutUnitsF", [](C c, float v, float d) { return c.PixelsToLayoutUnitsF(v, d); }},
      {L"PointsToFontUnitsF", [](C c, float v, float) { return c.PointsToFontUnitsF(v); }},
      {L"PointsToLayoutUnitsF", [](C c, float v, float) { return c.PointsToLayoutUnitsF(v); }},
  };
  return operations;
}

TEST(dxDocumentLayoutUnitConverter, IntegerOperationsEqualExactArithmetic) {
  int failures = 0;
  for (const TUnitIntCase& row : IntCases) {
    const auto converter = MakeConverter(row.Unit, row.ConverterDpi);
    const auto operation = IntOperations().find(row.Operation);
    ASSERT_NE(operation, IntOperations().end()) << row.Operation;
    const long long actual = operation->second(*converter, row.Value, row.Dpi);
    if (actual != row.Expected && ++failures < 20)
      ADD_FAILURE() << row.Unit << " " << row.ConverterDpi << " " << row.Operation << "(" << row.Value
                    << ", " << row.Dpi << ") = " << actual << ", expected " << row.Expected;
  }
  EXPECT_EQ(failures, 0);
}

TEST(dxDocumentLayoutUnitConverter, SingleOperationsEqualExactArithmetic) {
  int failures = 0;
  for (const TUnitFloatCase& row : FloatCases) {
    const auto converter = MakeConverter(row.Unit, row.ConverterDpi);
    const auto operation = FloatOperations().find(row.Operation);
    ASSERT_NE(operation, FloatOperations().end()) << row.Operation;
    const float actual = operation->second(*converter, std::bit_cast<float>(row.Value), row.Dpi);
    if (std::bit_cast<std::uint32_t>(actual) != row.Expected && ++failures < 20)
      ADD_FAILURE() << row.Unit << " " << row.ConverterDpi << " " << row.Operation << "("
                    << std::bit_cast<float>(row.Value) << ", " << row.Dpi << ") = " << actual << ", expected "
                    << std::bit_cast<float>(row.Expected);
  }
  EXPECT_EQ(failures, 0);
}

TEST(dxDocumentLayoutUnitConverter, PropertiesOfEachUnit) {
  const auto pixels = MakeConverter(L"Pixel", 96);
  const auto twips = MakeConverter(L"Twip", 96);
  const auto documents = MakeConverter(L"Document", 96);
  EXPECT_EQ(pixels->Dpi(), 96);
  EXPECT_EQ(pixels->FontSizeScale(), 0.75f);
  EXPECT_EQ(pixels->FontSizeScaleForPrinting(), 1);
  EXPECT_EQ(pixels->FontUnit(), guPoint);
  EXPECT_EQ(pixels->GraphicsPageUnit(), guPixel);
  EXPECT_EQ(pixels->GraphicsPageScale(), 1);
  EXPECT_EQ(twips->Dpi(), 1440);
  EXPECT_EQ(twips->FontSizeScale(), 0.05f);
  EXPECT_EQ(twips->FontSizeScaleForPrinting(), 20);
  EXPECT_EQ(twips->FontUnit(), guPoint);
  EXPECT_EQ(twips->GraphicsPageUnit(), guPoint);
  EXPECT_EQ(twips->GraphicsPageScale(), 0.05f);
  EXPECT_EQ(documents->Dpi(), 300);
  EXPECT_EQ(documents->FontSizeScale(), 1);
  EXPECT_EQ(documents->FontUnit(), guDocument);
  EXPECT_EQ(documents->GraphicsPageUnit(), guDocument);
  EXPECT_EQ(MakeConverter(L"Pixel", 120)->FontSizeScale(), 0.6f);
}

TEST(dxDocumentLayoutUnitConverter, EdgeCases) {
  const auto pixels = MakeConverter(L"Pixel", 96);
  EXPECT_EQ(pixels->PointsToLayoutUnits(10), 14);
  EXPECT_EQ(pixels->TwipsToLayoutUnits(1440), 96);
  EXPECT_EQ(pixels->LayoutUnitsToTwips(96), 1440);
  EXPECT_EQ(pixels->DocumentsToLayoutUnits(-300), -96);
  const auto twips = MakeConverter(L"Twip", 0);
  EXPECT_EQ(twips->LayoutUnitsToPixels(15, 96), 1);
  EXPECT_EQ(twips->PixelsToLayoutUnits(1, 96), 15);
  EXPECT_EQ(twips->SnapToPixels(20, 96), 15);
  const auto documents = MakeConverter(L"Document", 0);
  EXPECT_EQ(documents->PointsToLayoutUnits(12), 50);
  EXPECT_EQ(documents->LayoutUnitsToHundredthsOfInch(300), 100);
}

TEST(dxDocumentLayoutUnitConverter, EqualsComparesClassAndDpi) {
  const auto a = MakeConverter(L"Pixel", 96);
  const auto b = MakeConverter(L"Pixel", 96);
  const auto c = MakeConverter(L"Pixel", 120);
  const auto t1 = MakeConverter(L"Twip", 96);
  const auto t2 = MakeConverter(L"Twip", 120);
  const auto d = MakeConverter(L"Document", 300);
  EXPECT_TRUE(a->Equals(a.get()));
  EXPECT_TRUE(a->Equals(b.get()));
  EXPECT_FALSE(a->Equals(c.get()));
  EXPECT_FALSE(a->Equals(nullptr));
  EXPECT_TRUE(t1->Equals(t2.get()));
  // A pixels converter of 300 DPI is not a document converter.
  EXPECT_FALSE(MakeConverter(L"Pixel", 300)->Equals(d.get()));
}

TEST(dxDocumentLayoutUnitConverter, ScreenDpiDefaultsAndOverloads) {
  const TScreenDC screen;
  const float screenDpi = static_cast<float>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
  const auto pixels = MakeConverter(L"Pixel", 192);
  EXPECT_EQ(pixels->ScreenDpi(), screenDpi);
  EXPECT_EQ(pixels->ScreenDpiX(), screenDpi);
  EXPECT_EQ(pixels->LayoutUnitsToPixels(192), pixels->LayoutUnitsToPixels(192, screenDpi));
  EXPECT_EQ(pixels->PixelsToLayoutUnits(7), pixels->PixelsToLayoutUnits(7, screenDpi));

  TOwned<TdxDocumentLayoutUnitPixelsConverter> own(New<TdxDocumentLayoutUnitPixelsConverter>(96.0f));
  own->TdxDpiSupport::Create(144, 72);
  EXPECT_EQ(own->ScreenDpi(), 144);
  EXPECT_EQ(own->LayoutUnitsToPixels(TSize(96, 96)), TSize(144, 72));
  EXPECT_EQ(own->PixelsToLayoutUnits(TRect(144, 72, 288, 144)), TRect(96, 96, 192, 192));
}

}  // namespace
