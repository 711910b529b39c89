// Canvas text layouts on the GDI-based canvas: when they lay out again,
// what they measure, where the text box goes, clipping, rotation, background
// and colour.
#include "tests/library_graphics/CanvasTesting.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// Counts the layouts it makes.
class TCountingTextLayout : public TcxGdiCanvasBasedTextLayout {
  SK_CLASS(TCountingTextLayout, TcxGdiCanvasBasedTextLayout)
 public:
  int Layouts = 0;

 protected:
  void CalculateLayout(int AMaxWidth, int AMaxHeight, int AMaxRowCount) override {
    ++Layouts;
    inherited::CalculateLayout(AMaxWidth, AMaxHeight, AMaxRowCount);
  }
};

// A font handle of no GDI canvas.
class TForeignFontHandle : public TcxCanvasBasedFontHandle {
  SK_CLASS(TForeignFontHandle, TcxCanvasBasedFontHandle)
 public:
  void CreateNativeHandle(TcxCustomCanvas*) override {}
  void FreeNativeHandle() override {}
};

class CanvasTextLayout : public CanvasTest {
 protected:
  void SetUp() override {
    CanvasTest::SetUp();
    FFont.reset(New<TFont>());
    FFont->SetName(L"MS Sans Serif");
    FFont->SetHeight(-13);
  }
  void TearDown() override {
    FLayout.reset();
    CanvasTest::TearDown();
  }

  TCountingTextLayout* Layout(TcxCustomCanvas* ACanvas, const String& AText, std::uint32_t AFlags = 0) {
    FLayout.reset(New<TCountingTextLayout>(ACanvas));
    FLayout->SetFont(FFont.get(), ooReferenced);
    FLayout->SetColor(clBlack);
    FLayout->SetFlags(AFlags);
    FLayout->SetText(AText);
    return FLayout.get();
  }
  // The text's extent and row height in the font.
  TSize Extent(const String& AText) {
    TdxTextMeasurer::TMeasureCanvas* canvas = SharedTextMeasureCanvas();
    canvas->SetFont(FFont.get());
    SIZE size{};
    GetTextExtentPoint32W(canvas->Handle(), AText.c_str(), static_cast<int>(AText.size()), &size);
    return TSize(size.cx, GetFontHeight(FFont.get()));
  }

  TOwned<TFont> FFont;
  TOwned<TCountingTextLayout> FLayout;
};

TEST_F(CanvasTextLayout, MeasuresTheRowsAndThePadding) {
  TSurfaceCanvas* canvas = Canvas();
  TCountingTextLayout* layout = Layout(canvas, L"");
  layout->SetPadding(TRect(1, 2, 3, 4));
  EXPECT_EQ(layout->MeasureSize(), TSize(4, 6)) << "no text: the padding alone";
  layout->SetText(L"Hello");
  EXPECT_EQ(layout->MeasureSize(), TSize(Extent(L"Hello").cx + 4, Extent(L"Hello").cy + 6));
  EXPECT_EQ(layout->MeasureSizeF(), TdxSizeF(layout->MeasureSize()));
  EXPECT_EQ(layout->RowCount(), 1);
  EXPECT_FALSE(layout->IsTruncated());
}

TEST_F(CanvasTextLayout, LaysOutAgainOnlyWhenItMatters) {
  TSurfaceCanvas* canvas = Canvas();
  TCountingTextLayout* layout = Layout(canvas, L"one two three");
  layout->SetLayoutConstraints(40, 0);
  layout->MeasureSize();
  EXPECT_EQ(layout->Layouts, 1);
  layout->SetLayoutConstraints(400, 0);
  layout->MeasureSize();
  EXPECT_EQ(layout->Layouts, 1) << "wider without word wrap or ellipsis: the same layout";
  layout->SetFlag(cxtoWordBreak, true);
  layout->MeasureSize();
  EXPECT_EQ(layout->Layouts, 2);
  layout->SetLayoutConstraints(40, 0);
  layout->MeasureSize();
  EXPECT_EQ(layout->Layouts, 3);
  EXPECT_GT(layout->RowCount(), 1);
  layout->SetFlag(cxtoCenterX, true);
  layout->SetColor(clRed);
  layout->SetRotation(360.0f);
  layout->MeasureSize();
  EXPECT_EQ(layout->Layouts, 3) << "alignment, colour and a full turn change nothing of the rows";
  EXPECT_EQ(layout->Transform(), nullptr);
  layout->SetText(L"one two three four");
  layout->MeasureSize();
  EXPECT_EQ(layout->Layouts, 4);
}

TEST_F(CanvasTextLayout, RowLimitsTruncate) {
  TSurfaceCanvas* canvas = Canvas();
  TCountingTextLayout* layout =
      Layout(canvas, L"one two three four five six seven eight nine ten", cxtoWordBreak);
  layout->SetLayoutConstraints(60, 0, 2);
  EXPECT_EQ(layout->MeasureSize().cy, 2 * Extent(L"x").cy);
  EXPECT_EQ(layout->RowCount(), 2);
  EXPECT_TRUE(layout->IsTruncated());
  // A height of two and a half rows: rounded up, or whole rows only.
  layout->SetLayoutConstraints(60, 5 * Extent(L"x").cy / 2, 0);
  EXPECT_EQ(layout->MeasureSize().cy, 3 * Extent(L"x").cy);
  EXPECT_EQ(layout->RowCount(), 3);
  layout->SetFlag(cxtoEditControl, true);
  layout->SetLayoutConstraints(60, 5 * Extent(L"x").cy / 2 + 1, 0);
  EXPECT_EQ(layout->MeasureSize().cy, 2 * Extent(L"x").cy);
  EXPECT_EQ(layout->RowCount(), 2);
  // With no width, the row count asks for the narrowest fitting width.
  layout->SetLayoutConstraints(0, 0, 3);
  layout->MeasureSize();
  EXPECT_LE(layout->RowCount(), 3);
  EXPECT_LT(layout->MeasureSize().cx, Extent(L"one two three four five six seven eight nine ten").cx);
  EXPECT_FALSE(layout->IsTruncated());
}

TEST_F(CanvasTextLayout, APaddingThatTakesTheWholeWidthStillLimitsIt) {
  TSurfaceCanvas* canvas = Canvas();
  TCountingTextLayout* layout = Layout(canvas, L"aa bb cc", cxtoWordBreak);
  layout->SetPadding(TRect(10, 0, 10, 0));
  layout->SetLayoutConstraints(20, 0);
  layout->MeasureSize();
  EXPECT_EQ(layout->RowCount(), 3) << "one word a row, not one unlimited row";
}

TEST_F(CanvasTextLayout, EndEllipsisCapsTheWidth) {
  TSurfaceCanvas* canvas = Canvas();
  TCountingTextLayout* layout = Layout(canvas, L"a rather long line of text", cxtoEndEllipsis | cxtoSingleLine);
  layout->SetLayoutConstraints(50, 0);
  EXPECT_EQ(layout->MeasureSize().cx, 50);
  EXPECT_TRUE(layout->IsTruncated());
  layout->SetLayoutConstraints(500, 0);
  EXPECT_FALSE(layout->IsTruncated()) << "end ellipsis: a wider constraint lays out again";
}

TEST_F(CanvasTextLayout, QuarterTurnsExchangeTheSides) {
  // Turned text is TrueType text.
  FFont->SetName(L"Tahoma");
  TSurfaceCanvas* canvas = Canvas();
  TCountingTextLayout* layout = Layout(canvas, L"Turned");
  const TSize plain = layout->MeasureSize();
  layout->SetRotation(raPlus90);
  EXPECT_EQ(layout->MeasureSize(), TSize(plain.cy, plain.cx));
  layout->SetRotation(ra180);
  EXPECT_EQ(layout->MeasureSize(), plain);
  layout->SetRotation(ra0);
  EXPECT_EQ(layout->Transform(), nullptr);
  // Any other angle: the bounds of the turned box.
  layout->SetRotation(45.0f);
  const TSize turned = layout->MeasureSize();
  const double diagonal = (plain.cx + plain.cy) / std::sqrt(2.0);
  EXPECT_NEAR(turned.cx, diagonal, 2);
  EXPECT_NEAR(turned.cy, diagonal, 2);
  layout->SetRotation(-315.0f);
  EXPECT_EQ(layout->MeasureSize(), turned) << "the same angle";
}

TEST_F(CanvasTextLayout, TheComplexTransformFitsTheLargestTurnedBox) {
  TOwned<TcxCanvasBasedTextLayoutComplexTransform> transform(New<TcxCanvasBasedTextLayoutComplexTransform>(90.0f));
  int width = 100;
  int height = 40;
  transform->CalculateConstraints(width, height);
  EXPECT_EQ(width, 40);
  EXPECT_EQ(height, 100);
  width = height = 0;
  transform->CalculateConstraints(width, height);
  EXPECT_EQ(width, 0) << "no limits stay none";
  TSize size(30, 10);
  transform->CalculateSize(size);
  EXPECT_EQ(size, TSize(10, 30));
}

TEST_F(CanvasTextLayout, DrawsItsBoxWhereTheFlagsPlaceIt) {
  struct TCase {
    const char* Name;
    std::uint32_t Flags;
    TPoint Origin;  // of the text box in (10, 10, 110, 50), given its size
  };
  const TSize size = Extent(L"Text");
  const TCase cases[] = {
      {"top left", 0, TPoint(10, 10)},
      {"centred", 0x1 | 0x10, TPoint((10 + 110 - size.cx) / 2, (10 + 50 - size.cy) / 2)},
      {"bottom right", 0x2 | 0x20, TPoint(110 - size.cx, 50 - size.cy)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSurfaceCanvas* canvas = Canvas(120, 60);
    TCountingTextLayout* layout = Layout(canvas, L"Text", c.Flags);
    canvas->ClipSaves = 0;
    layout->Draw(TRect(10, 10, 110, 50));
    const TRect ink = Surface().BoundsOfOther(White);
    EXPECT_TRUE(MakeBoundsRect(c.Origin.X, c.Origin.Y, size.cx, size.cy).Contains(ink)) << FormatRectText(ink);
    EXPECT_GT(ink.Width(), size.cx / 2);
    EXPECT_EQ(canvas->ClipSaves, 0) << "wholly inside: no clipping";
  }
}

TEST_F(CanvasTextLayout, ClipsToTheRectangleOnlyWhenItMust) {
  TSurfaceCanvas* canvas = Canvas(120, 60);
  TCountingTextLayout* layout = Layout(canvas, L"A longer text here");
  canvas->ClipSaves = 0;
  layout->Draw(TRect(50, 50, 50, 50));
  EXPECT_EQ(canvas->ClipSaves, 0) << "no overlap: nothing, not even the clip";
  EXPECT_EQ(Surface().CountOther(Surface().ClientRect(), White), 0);
  layout->Draw(TRect(5, 5, 30, 40));
  EXPECT_EQ(canvas->ClipSaves, 1);
  EXPECT_TRUE(TRect(5, 5, 30, 40).Contains(Surface().BoundsOfOther(White)));
  EXPECT_GT(Surface().CountOther(Surface().ClientRect(), White), 0);
  EXPECT_EQ(GetClipRgn(Surface().DC(), TOwnedRegion(CreateRectRgn(0, 0, 0, 0)).Get()), 0) << "the clip is back";

  // Right-aligned but never left of the rectangle: the text's start shows,
  // as when it is left-aligned.
  const auto picture = [&](std::uint32_t AFlags) {
    Surface().Fill(White);
    layout->SetFlags(AFlags);
    layout->Draw(TRect(5, 5, 30, 40));
    return Surface().Picture(White);
  };
  const std::string left = picture(0);
  EXPECT_EQ(picture(0x2 | cxtoPreventLeftExceed), left);
  EXPECT_NE(picture(0x2), left);
}

// Wine places turned text one ascent away from where Windows does (its
// top-aligned output under a world transform behaves like baseline output),
// so the text's own ink is checked for its shape; the background box shows
// where the turned box lies.
TEST_F(CanvasTextLayout, RotatedTextStandsUpright) {
  FFont->SetName(L"Tahoma");
  TSurfaceCanvas* canvas = Canvas(80, 120);
  TCountingTextLayout* layout = Layout(canvas, L"Upright text");
  layout->SetRotation(raPlus90);
  const TSize size = layout->MeasureSize();
  EXPECT_GT(size.cy, 2 * size.cx);
  layout->Draw(TRect(10, 10, 70, 110));
  const TRect ink = Surface().BoundsOfOther(White);
  EXPECT_GT(ink.Height(), 2 * ink.Width()) << Surface().Picture(White);
  EXPECT_TRUE(MakeBoundsRect(10, 10, size.cx, size.cy).IntersectsWith(ink)) << FormatRectText(ink);

  Surface().Fill(White);
  const TOwned<TcxCanvasBasedBrush> fill = canvas->CreateBrush(0xFFFFFF00);
  layout->SetBackgroundAppearance(fill.get(), nullptr);
  layout->Draw(TRect(10, 10, 70, 110));
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 255, 0)), MakeBoundsRect(10, 10, size.cx, size.cy));
  XFORM after{};
  GetWorldTransform(Surface().DC(), &after);
  EXPECT_TRUE(IsIdentityXForm(after)) << "the transform is back";
}

TEST_F(CanvasTextLayout, BackgroundBoxAndColours) {
  TSurfaceCanvas* canvas = Canvas(80, 40);
  TCountingTextLayout* layout = Layout(canvas, L"Box");
  layout->SetPadding(TRect(3, 3, 3, 3));
  const TOwned<TcxCanvasBasedBrush> fill = canvas->CreateBrush(0xFFFFFF00);
  layout->SetBackgroundAppearance(fill.get(), nullptr);
  layout->SetColor(clBlue);
  layout->Draw(TRect(5, 5, 75, 35));
  const TSize size = layout->MeasureSize();
  EXPECT_EQ(Surface().BoundsOfOther(White), MakeBoundsRect(5, 5, size.cx, size.cy));
  EXPECT_EQ(Surface().Pixel(6, 6), RGB(255, 255, 0));
  EXPECT_GT(Surface().Count(RGB(0, 0, 255)), 5) << "the text in its colour";

  // A translucent colour goes through the alpha recovery: blended over the box.
  Surface().Fill(White);
  layout->SetColor(TdxAlphaColor(0x800000FF));
  layout->Draw(TRect(5, 5, 75, 35));
  EXPECT_EQ(Surface().Count(RGB(0, 0, 255)), 0);
  EXPECT_GT(Surface().Count(RGB(127, 127, 128)) + Surface().Count(RGB(128, 128, 127)) +
                Surface().Count(RGB(127, 127, 127)) + Surface().Count(RGB(127, 127, 128)),
            0)
      << "half blue over yellow";
}

TEST_F(CanvasTextLayout, FontsOfTheRightKindOnly) {
  TSurfaceCanvas* canvas = Canvas();
  TCountingTextLayout* layout = Layout(canvas, L"x");
  EXPECT_THROW(layout->SetFontHandle(nullptr), EInvalidArgument);
  TForeignFontHandle* foreign = New<TForeignFontHandle>(FFont.get(), ooReferenced);
  foreign->AddRef();
  EXPECT_THROW(layout->SetFontHandle(foreign), EInvalidArgument);
  foreign->Release();
  const TOwned<TcxCanvasBasedTextLayout> fresh = canvas->CreateTextLayout();
  EXPECT_THROW(fresh->MeasureSize(), EInvalidArgument) << "no font yet";
  // A font resource owned by the layout call is freed afterwards.
  TOwned<TcxCanvasBasedFont> font = canvas->CreateFonT(FFont.get(), ooCloned);
  fresh->SetFont(font.release(), ooOwned);
  fresh->SetText(L"x");
  EXPECT_EQ(fresh->MeasureSize().cy, Extent(L"x").cy);
  EXPECT_EQ(TcxGdiCanvasBasedSharedFonts::Instance()->Count(), 2) << "the layouts' references";
}

TEST_F(CanvasTextLayout, ALineHeightFromTheFont) {
  TSurfaceCanvas* canvas = Canvas();
  const TOwned<TcxCanvasBasedFont> font = canvas->CreateFonT(FFont.get(), ooReferenced);
  EXPECT_EQ(font->LineHeight(), GetFontHeight(FFont.get()));
  auto* handle = static_cast<TcxCanvasBasedFontHandle*>(font->Handle());
  EXPECT_EQ(handle->GetLineHeight(canvas), GetFontHeight(FFont.get()));
}

}  // namespace
