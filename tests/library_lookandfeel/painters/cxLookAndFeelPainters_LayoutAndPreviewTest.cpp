#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintPreview, APageIsFramedShadowedAndLeavesTheClipAsItWas) {
  const TRect border(2, 2, 32, 42);
  const TRect content(6, 6, 26, 36);
  struct TRow {
    const char* Name;
    bool Selected, DrawContent;
  };
  const TRow rows[] = {{"plain", false, true}, {"selected", true, true}, {"no content", false, false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(36, 46, Bg);
    UltraFlatPainter()->DrawPrintPreviewPageBackground(canvas.Get(), border, content, row.Selected,
                                                       row.DrawContent);
    // Painted back to front: the shadow, the frame over it, the content.
    TPixelSurface reference(36, 46, Bg);
    TRect page(2, 2, 30, 40);
    if (!row.Selected) page.Deflate(1);
    TRect shadow = page;
    shadow.Offset(2, 2);
    GdiFill(reference.DC(), shadow, Sys(COLOR_WINDOWTEXT));
    GdiFill(reference.DC(), page, row.Selected ? Sys(COLOR_HIGHLIGHT) : Sys(COLOR_WINDOWTEXT));
    GdiFill(reference.DC(), content, row.DrawContent ? Sys(COLOR_WINDOW) : Bg);
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
    canvas->FillRect(canvas.Surface.ClientRect(), clYellow);
    EXPECT_EQ(canvas.Surface.Count(RGB(255, 255, 0)), 36 * 46) << "the clip region is restored";
  }
}

TEST(PrintPreview, UltraFlatLightensTheShadowByAThird) {
  TCanvasOnSurface canvas(4, 4, Bg);
  UltraFlatPainter()->DrawPrintPreviewBackground(canvas.Get(), TRect(0, 0, 4, 4));
  const COLORREF s = Sys(COLOR_BTNSHADOW);
  const auto third = [](int c) { return c + (255 - c) / 3; };
  EXPECT_EQ(canvas.Surface.Pixel(1, 1), RGB(third(GetRValue(s)), third(GetGValue(s)), third(GetBValue(s))));
}

TEST(MessageBoxes, AnExcludedFrameAFillAndTheMessageCentred) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 79, 25);
  TCanvasOnSurface canvas(80, 26, Bg);
  painter->DrawMessageBox(canvas.Get(), r, L"No data", nullptr, clYellow);
  const COLORREF line = static_cast<COLORREF>(ColorToRGB(painter->DefaultGridLineColor()));
  EXPECT_EQ(RingCount(canvas.Surface, r, line), RingLength(r));
  // The text in the middle, measured with DrawText on the same font.
  TPixelSurface reference(80, 26, RGB(255, 255, 0));
  const HGDIOBJ old = SelectObject(reference.DC(), canvas->Font()->Handle());
  SetBkMode(reference.DC(), TRANSPARENT);
  SetTextColor(reference.DC(), static_cast<COLORREF>(ColorToRGB(canvas->Font()->Color())));
  RECT text = r;
  DrawTextW(reference.DC(), L"No data", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(reference.DC(), old);
  TRect inner = r;
  inner.Deflate(1);
  int differing = 0;
  for (int y = inner.Top; y < inner.Bottom; ++y)
    for (int x = inner.Left; x < inner.Right; ++x) differing += canvas.Surface.Pixel(x, y) != reference.Pixel(x, y);
  EXPECT_EQ(differing, 0) << canvas.Surface.Picture(RGB(255, 255, 0));
  EXPECT_GT(canvas.Surface.CountOther(inner, RGB(255, 255, 0)), 10) << "some text";
  // The frame stays out of later fills.
  canvas->FillRect(canvas.Surface.ClientRect(), clBlue);
  EXPECT_EQ(RingCount(canvas.Surface, r, line), RingLength(r));
}

TEST(Calculator, ButtonTextColoursByKind) {
  auto* painter = UltraFlatPainter();
  constexpr COLORREF maroon = RGB(128, 0, 0), red = RGB(255, 0, 0), blue = RGB(0, 0, 255), navy = RGB(0, 0, 128);
  struct TRow {
    TcxCalcButtonKind First, Last;
    COLORREF Color;
  };
  const TRow rows[] = {{cbBack, cbClear, maroon}, {cbMC, cbMP, red},     {cbNum0, cbDecimal, blue},
                       {cbDiv, cbAdd, red},       {cbSqrt, cbRev, navy}, {cbEqual, cbEqual, red},
                       {cbNone, cbNone, blue}};
  for (const TRow& row : rows)
    for (int kind = row.First; kind <= row.Last; ++kind) {
      SCOPED_TRACE(kind);
      EXPECT_EQ(ColorToRGB(painter->CalcEditButtonTextColor(static_cast<TcxCalcButtonKind>(kind))), row.Color);
    }
}

}  // namespace
