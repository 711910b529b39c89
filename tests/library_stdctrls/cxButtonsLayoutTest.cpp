// The button's layout against arithmetic of its own, and its pixels against
// what GDI and the image list draw on the same kind of surface: the test
// paints the same button with an invisible caption and a blank glyph, draws
// the caption with DrawTextW and the glyph with the list itself where the
// layout puts them, and expects every pixel to match.
#include "library/stdctrls/cxButtons.h"

#include "platform/ui/Forms.h"
#include "tests/support/Pixels.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr COLORREF Bg = RGB(10, 200, 60);

int Differences(const TPixelSurface& A, const TPixelSurface& B) {
  int result = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) result += A.Pixel(x, y) != B.Pixel(x, y);
  return result;
}

// A 16 x 16 list: image 0 a pattern with a transparent border, image 1
// wholly transparent.
TOwned<TImageList> NewGlyphs() {
  TOwned<TImageList> list(New<TImageList>(nullptr));
  list->SetSize(16, 16);
  TOwned<TBitmap> image(New<TBitmap>());
  image->SetSize(16, 16);
  const HDC dc = image->Canvas()->Handle();
  const RECT all{0, 0, 16, 16};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  const TOwnedBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(dc, &all, magenta.Get());
  const TOwnedBrush red(CreateSolidBrush(RGB(200, 0, 0))), blue(CreateSolidBrush(RGB(0, 0, 190)));
  const RECT a{2, 2, 14, 8}, b{2, 8, 14, 14};
  FillRect(dc, &a, red.Get());
  FillRect(dc, &b, blue.Get());
  list->AddMasked(image.get(), static_cast<TColor>(RGB(255, 0, 255)));
  FillRect(dc, &all, magenta.Get());
  list->AddMasked(image.get(), static_cast<TColor>(RGB(255, 0, 255)));
  return list;
}

class TButtonLayoutTest : public testing::Test {
 protected:
  void SetUp() override {
    Glyphs = NewGlyphs();
    Button.reset(New<TcxButton>(nullptr));
    Button->LookAndFeel()->SetNativeStyle(false);
    Button->Font()->SetName(L"Tahoma");
    Button->Font()->SetHeight(-11);
    Button->OptionsImage()->SetImages(Glyphs.get());
    Button->OptionsImage()->SetImageIndex(0);
  }
  void Paint(TPixelSurface& ASurface, UINT AItemState = 0) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemState = AItemState;
    item.hDC = ASurface.DC();
    item.rcItem = RECT{0, 0, Button->Width(), Button->Height()};
    Button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  // The caption's size as DrawTextW measures it in the button's font.
  TSize Measure(const String& AText) {
    TPixelSurface s(1, 1);
    const TSelectObject font(s.DC(), Button->Font()->Handle());
    RECT r{0, 0, 1000, 0};
    DrawTextW(s.DC(), AText.c_str(), -1, &r, DT_CALCRECT);
    return TSize(r.right, r.bottom);
  }
  // The button painted again with an invisible caption and a blank glyph,
  // then the caption and glyph drawn by GDI and the list at the given place.
  std::unique_ptr<TPixelSurface> Reference(UINT AItemState, const TRect& ACaption, const TPoint& AGlyph,
                                           COLORREF ATextColor, bool AEmbossed = false) {
    auto result = std::make_unique<TPixelSurface>(Button->Width(), Button->Height(), Bg);
    const TcxButtonState state = Button->ViewInfo()->State();
    const TColor face = ColorToRGB(Button->LookAndFeel()->Painter()->ButtonColor(state));
    Button->Colors()->SetColor(2 * state + 1, face);
    Button->OptionsImage()->SetImageIndex(1);
    Paint(*result, AItemState);
    Button->Colors()->SetColor(2 * state + 1, clDefault);
    Button->OptionsImage()->SetImageIndex(0);
    TOwned<TCanvas> canvas(New<TCanvas>());
    const TCanvasDCScope drawing(canvas.get(), result->DC());
    Glyphs->Draw(canvas.get(), AGlyph.X, AGlyph.Y, 0, Button->Enabled());
    const HDC dc = result->DC();
    const TSelectObject font(dc, Button->Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    const String caption = Button->Caption();
    if (AEmbossed) {
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      RECT r{ACaption.Left + 1, ACaption.Top + 1, ACaption.Right + 1, ACaption.Bottom + 1};
      DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_NOCLIP);
    }
    SetTextColor(dc, ATextColor);
    RECT r = ACaption;
    DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_NOCLIP);
    return result;
  }

  TOwned<TImageList> Glyphs;
  TOwned<TcxButton> Button;
};

// An 82 x 25 button, glyph left of a one-line caption, Margin -1, Spacing 4,
// under a painter with a 2-pixel border and no pressed shift: the group is
// centred in (2, 2, 80, 23), the caption one pixel above the glyph's centre
// line. Without a caption the glyph alone is centred.
TEST_F(TButtonLayoutTest, TheGlyphAndCaptionGroupIsCentredAndDrawnAsGdiAndTheListDrawThem) {
  struct TRow {
    const wchar_t* Caption;
    int Width;
  };
  for (const TRow& row : {TRow{L"Flash", 82}, TRow{L"Verbinden", 82}, TRow{L"", 49}}) {
    SCOPED_TRACE(String(row.Caption).empty() ? "no caption" : "caption");
    Button->SetCaption(row.Caption);
    Button->SetBounds(0, 0, row.Width, 25);
    TPixelSurface painted(row.Width, 25, Bg);
    Paint(painted);
    ASSERT_EQ(Button->LookAndFeel()->Painter()->ButtonBorderSize(cxbsDefault), 2);
    const TcxButtonViewInfo* info = Button->ViewInfo();
    const int inner = row.Width - 4;
    TRect caption;
    TPoint glyph;
    if (String(row.Caption).empty()) {
      // Spacing plays no part: (45 - 16) / 2 = 14 for the close button.
      glyph = TPoint(2 + (inner - 16) / 2, 4);
      EXPECT_TRUE(info->CaptionRect().IsEmpty());
    } else {
      const TSize text = Measure(row.Caption);
      const int margin = (inner - 16 - 4 - text.cx) / 2;
      glyph = TPoint(2 + margin, 2 + (21 - 16) / 2);
      const int top = 2 + (21 - text.cy - 1) / 2;
      caption = TRect(22 + margin, top, 22 + margin + text.cx, top + text.cy);
      EXPECT_EQ(info->CaptionRect(), caption);
    }
    EXPECT_EQ(info->GlyphPos(), glyph);
    const auto reference = Reference(0, caption, glyph, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(Differences(painted, *reference), 0) << painted.Picture(GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(painted.Count(RGB(200, 0, 0)), 40) << "the glyph is there";
  }
  EXPECT_EQ(Button->ViewInfo()->GlyphPos(), TPoint(16, 4));
}

TEST_F(TButtonLayoutTest, ADisabledCaptionIsEmbossedAndTheGlyphDrawnDisabledByTheList) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  Button->SetEnabled(false);
  TPixelSurface painted(82, 25, Bg);
  Paint(painted);
  ASSERT_EQ(Button->ViewInfo()->State(), cxbsDisabled);
  const auto reference = Reference(0, Button->ViewInfo()->CaptionRect(), Button->ViewInfo()->GlyphPos(),
                                   GetSysColor(COLOR_BTNSHADOW), true);
  EXPECT_EQ(Differences(painted, *reference), 0);
  EXPECT_EQ(painted.Count(RGB(200, 0, 0)), 0) << "not in its own colours";
}

TEST_F(TButtonLayoutTest, TheFocusRectangleIsTheSystemsThreePixelsIn) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  Button->SetShowFocusRect(false);
  TPixelSurface reference(82, 25, Bg);
  Paint(reference, ODS_FOCUS);
  const RECT focus{3, 3, 79, 22};
  DrawFocusRect(reference.DC(), &focus);
  Button->SetShowFocusRect(true);
  TPixelSurface painted(82, 25, Bg);
  Paint(painted, ODS_FOCUS);
  EXPECT_EQ(Differences(painted, reference), 0);
}

// Margin and Spacing given or left to the layout, along both axes.
TEST_F(TButtonLayoutTest, MarginAndSpacingResolveAlongTheLayoutAxis) {
  Button->SetCaption(L"Wide");
  Button->SetBounds(0, 0, 120, 60);
  const TSize text = Measure(L"Wide");
  struct TRow {
    const char* Name;
    TButtonLayout Layout;
    int Margin, Spacing;
  };
  const TRow rows[] = {
      {"left, both free", blGlyphLeft, -1, -1},  {"left, margin 5", blGlyphLeft, 5, 4},
      {"right, centred", blGlyphRight, -1, 4},   {"top, spacing free", blGlyphTop, 3, -1},
      {"bottom, centred", blGlyphBottom, -1, 2},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button->OptionsImage()->SetLayout(row.Layout);
    Button->OptionsImage()->SetMargin(row.Margin);
    Button->OptionsImage()->SetSpacing(row.Spacing);
    TPixelSurface painted(120, 60, Bg);
    Paint(painted);
    const TcxButtonViewInfo* info = Button->ViewInfo();
    const TRect content(2, 2, 118, 58);
    const bool horizontal = row.Layout == blGlyphLeft || row.Layout == blGlyphRight;
    const int length = horizontal ? content.Width() : content.Height();
    const int textLength = horizontal ? text.cx : text.cy;
    int margin = row.Margin, spacing = row.Spacing;
    if (margin < 0 && spacing < 0) margin = spacing = (length - 16 - textLength) / 3;
    if (margin < 0) margin = (length - 16 - textLength - spacing) / 2;
    if (spacing < 0) spacing = (length - 16 - textLength - 2 * margin) / 2;
    const TRect& caption = info->CaptionRect();
    const TPoint& glyph = info->GlyphPos();
    switch (row.Layout) {
      case blGlyphLeft:
        EXPECT_EQ(glyph.X - content.Left, margin);
        EXPECT_EQ(caption.Left - (glyph.X + 16), spacing);
        break;
      case blGlyphRight:
        EXPECT_EQ(content.Right - (glyph.X + 16), margin);
        EXPECT_EQ(glyph.X - caption.Right, spacing);
        break;
      case blGlyphTop:
        EXPECT_EQ(glyph.Y - content.Top, margin);
        EXPECT_EQ(caption.Top - (glyph.Y + 16), spacing);
        break;
      case blGlyphBottom:
        EXPECT_EQ(content.Bottom - (glyph.Y + 16), margin);
        EXPECT_EQ(glyph.Y - caption.Bottom, spacing);
        break;
    }
    EXPECT_EQ(caption.Width(), text.cx);
    EXPECT_EQ(caption.Height(), text.cy);
    // The other axis: centred.
    if (horizontal)
      EXPECT_EQ(glyph.Y, content.Top + (content.Height() - 16) / 2);
    else
      EXPECT_EQ(caption.Left, content.Left + (content.Width() - text.cx) / 2);
    const auto reference = Reference(0, caption, glyph, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(Differences(painted, *reference), 0);
  }
}

TEST_F(TButtonLayoutTest, RightToLeftPutsTheGlyphOnTheOtherSide) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  TPixelSurface painted(82, 25, Bg);
  Paint(painted);
  const TPoint leftToRight = Button->ViewInfo()->GlyphPos();
  const TRect captionLeftToRight = Button->ViewInfo()->CaptionRect();
  Button->SetBiDiMode(bdRightToLeft);
  Paint(painted);
  EXPECT_EQ(Button->ViewInfo()->Layout(), blGlyphRight);
  // The same margin, now from the right side of (2, 2, 80, 23); the caption
  // left of the glyph.
  const int margin = leftToRight.X - 2;
  EXPECT_EQ(Button->ViewInfo()->GlyphPos().X, 80 - margin - 16);
  EXPECT_EQ(Button->ViewInfo()->CaptionRect().Right, 80 - margin - 16 - 4);
  EXPECT_EQ(Button->ViewInfo()->CaptionRect().Width(), captionLeftToRight.Width());
  Button->OptionsImage()->SetLayout(blGlyphTop);
  Paint(painted);
  EXPECT_EQ(Button->ViewInfo()->Layout(), blGlyphTop) << "above and below stay";
}

// Glyph sizes and fixed margins follow the scale; -1 keeps its meaning.
TEST_F(TButtonLayoutTest, ScalingGrowsTheGlyphMarginAndSpacing) {
  for (const int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    TOwned<TcxButton> button(New<TcxButton>(nullptr));
    button->OptionsImage()->SetImages(Glyphs.get());
    button->OptionsImage()->SetImageIndex(0);
    button->OptionsImage()->SetSpacing(4);
    button->OptionsImage()->SetMargin(3);
    button->ChangeScale(dpi, 96, true);
    const auto scaled = [dpi](int v) { return (v * dpi + 48) / 96; };
    EXPECT_EQ(button->ViewInfo()->GetImageSize(), TSize(scaled(16), scaled(16)));
    EXPECT_EQ(button->OptionsImage()->Spacing(), scaled(4));
    EXPECT_EQ(button->OptionsImage()->Margin(), scaled(3));
    button->OptionsImage()->SetMargin(-1);
    button->ChangeScale(96, 96, true);
    EXPECT_EQ(button->OptionsImage()->Margin(), -1);
  }
}

TEST_F(TButtonLayoutTest, TheGlyphAloneOrTheCaptionAloneByPaintStyle) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  TPixelSurface painted(82, 25, Bg);
  Button->SetPaintStyle(bpsGlyph);
  Paint(painted);
  EXPECT_TRUE(Button->ViewInfo()->CaptionRect().IsEmpty());
  EXPECT_EQ(Button->ViewInfo()->GlyphPos(), TPoint(2 + (78 - 16) / 2, 4));
  EXPECT_EQ(painted.Count(GetSysColor(COLOR_BTNTEXT)), 82 * 2 + 23 * 2) << "the frame only";
  Button->SetPaintStyle(bpsCaption);
  Paint(painted);
  EXPECT_EQ(painted.Count(RGB(200, 0, 0)), 0);
  // Text margins 1 and 2 without a glyph, the caption centred.
  const TSize text = Measure(L"Flash");
  EXPECT_EQ(Button->ViewInfo()->CaptionRect().Left, 2 + 1 + (78 - (text.cx + 3)) / 2);
}

TEST_F(TButtonLayoutTest, ASplitButtonHasAnArrowStripOverlappingTheFace) {
  Button->SetCaption(L"Go");
  Button->SetBounds(0, 0, 90, 25);
  Button->SetKind(cxbkDropDownButton);
  TPixelSurface painted(90, 25, Bg);
  Paint(painted);
  const int strip = Button->LookAndFeel()->Painter()->GetScaledDropDownButtonRightPartSize(Button->ScaleFactor());
  ASSERT_GT(strip, 0);
  EXPECT_EQ(Button->ViewInfo()->DropDownButtonRect(), TRect(90 - strip, 0, 90, 25));
  EXPECT_EQ(Button->ViewInfo()->ButtonRect(), TRect(0, 0, 90 - strip + 2, 25));
  EXPECT_EQ(Button->ViewInfo()->DropDownArrowRect(), Button->ViewInfo()->DropDownButtonRect());
  // The arrow in the strip: symbol-coloured pixels there.
  EXPECT_GT(painted.Count(Button->ViewInfo()->DropDownButtonRect(), GetSysColor(COLOR_BTNTEXT)), 2 * 25 + 3);
}

TEST_F(TButtonLayoutTest, ACommandLinkPutsItsGlyphAtTheTopLeftAndTheDescriptionBelowTheCaption) {
  Button->SetKind(cxbkCommandLink);
  Button->SetCaption(L"Next");
  Button->SetDescription(L"Goes on");
  Button->SetBounds(0, 0, 200, 60);
  TPixelSurface painted(200, 60, Bg);
  Paint(painted);
  const TRect margins = Button->LookAndFeel()->Painter()->GetScaledCommandLinkMargins(Button->ScaleFactor());
  const TcxButtonViewInfo* info = Button->ViewInfo();
  EXPECT_EQ(info->GlyphPos(), TPoint(margins.Left, margins.Top));
  EXPECT_EQ(info->CaptionRect().Left, margins.Left + 16 + 4);
  EXPECT_EQ(info->DescriptionRect().Left, info->CaptionRect().Left);
  EXPECT_EQ(info->DescriptionRect().Top, info->CaptionRect().Bottom + 2);
  EXPECT_EQ(info->CaptionRect().Height(), Measure(L"Next").cy);
}

// The office drop-down kind: the description under the caption, a glyph
// margin of 7 away from the arrow, the arrow a strip 2 pixels inside the
// right side (beside the glyph and text) or a square right of the text
// (above or below the glyph).
TEST_F(TButtonLayoutTest, AnOfficeDropDownStacksCaptionAndDescriptionBesideItsArrow) {
  Button->SetKind(cxbkOfficeDropDown);
  Button->SetCaption(L"Save");
  Button->SetDescription(L"All files");
  Button->SetBounds(0, 0, 200, 70);
  const int arrow = Button->LookAndFeel()->Painter()->GetScaledDropDownButtonRightPartSize(Button->ScaleFactor());
  ASSERT_GT(arrow, 0);
  const TSize caption = Measure(L"Save");
  const TSize description = Measure(L"All files");
  const TSize text(std::max(caption.cx, description.cx), caption.cy + description.cy + 2);
  const TRect content(2, 2, 198, 68);
  for (const TButtonLayout layout : {blGlyphLeft, blGlyphTop}) {
    SCOPED_TRACE(layout == blGlyphLeft ? "glyph left" : "glyph top");
    Button->OptionsImage()->SetLayout(layout);
    TPixelSurface painted(200, 70, Bg);
    Paint(painted);
    const TcxButtonViewInfo* info = Button->ViewInfo();
    TRect area;
    if (layout == blGlyphLeft) {
      EXPECT_EQ(info->GlyphPos(), TPoint(content.Left + 7, content.Top + (content.Height() - 16) / 2));
      const int top = content.Top + (content.Height() - text.cy - 1) / 2;
      area = TRect(content.Left + 7 + 16 + 4, top, content.Left + 7 + 16 + 4 + text.cx, top + text.cy);
      EXPECT_EQ(info->CaptionRect(), TRect(area.Left, area.Top, area.Left + caption.cx, area.Top + caption.cy));
      EXPECT_EQ(info->DescriptionRect(),
                TRect(area.Left, area.Bottom - description.cy, area.Left + description.cx, area.Bottom));
      EXPECT_EQ(info->DropDownArrowRect(), TRect(198 - arrow, 0, 198, 70));
    } else {
      EXPECT_EQ(info->GlyphPos(), TPoint(content.Left + (content.Width() - 16) / 2, content.Top + 7));
      const int left = content.Left + (content.Width() - (text.cx + 2 * (arrow + 2))) / 2 + arrow + 2;
      area = TRect(left, content.Top + 7 + 16 + 4, left + text.cx, content.Top + 7 + 16 + 4 + text.cy);
      const int captionLeft = area.Left + (text.cx - caption.cx) / 2;
      const int descriptionLeft = area.Left + (text.cx - description.cx) / 2;
      EXPECT_EQ(info->CaptionRect(), TRect(captionLeft, area.Top, captionLeft + caption.cx, area.Top + caption.cy));
      EXPECT_EQ(info->DescriptionRect(), TRect(descriptionLeft, area.Bottom - description.cy,
                                               descriptionLeft + description.cx, area.Bottom));
      const int right = std::max(captionLeft + caption.cx, descriptionLeft + description.cx);
      const int top = area.Top + (text.cy - arrow) / 2;
      EXPECT_EQ(info->DropDownArrowRect(), TRect(right, top, right + arrow, top + arrow));
    }
    // The arrow is drawn in its rectangle, inside the border.
    TRect inner = info->DropDownArrowRect();
    inner.Top = std::max(inner.Top, 2);
    inner.Bottom = std::min(inner.Bottom, 68);
    EXPECT_GT(painted.Count(inner, GetSysColor(COLOR_BTNTEXT)), 3) << painted.Picture(GetSysColor(COLOR_BTNFACE));
    // Both texts are drawn where they were placed.
    EXPECT_GT(painted.Count(info->CaptionRect(), GetSysColor(COLOR_BTNTEXT)), 5);
    EXPECT_GT(painted.Count(info->DescriptionRect(), GetSysColor(COLOR_BTNTEXT)), 5);
  }
}

// Repaints copy the list's last drawing while nothing under it changed: a
// new face colour, a new image in the list and the other look each show at
// once, pixel for pixel as the list draws them.
TEST_F(TButtonLayoutTest, ARepaintShowsEveryChangeOfFaceImageOrLook) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  TPixelSurface first(82, 25, Bg);
  Paint(first);
  const TPoint p = Button->ViewInfo()->GlyphPos();
  const TRect glyph(p.X, p.Y, p.X + 16, p.Y + 16);
  // The list's own drawing over the painted face, on a second surface.
  const auto listOver = [&](const TPixelSurface& APainted, bool AEnabled) {
    auto result = std::make_unique<TPixelSurface>(82, 25, Bg);
    BitBlt(result->DC(), 0, 0, 82, 25, APainted.DC(), 0, 0, SRCCOPY);
    const COLORREF face = APainted.Pixel(p.X, p.Y);
    const TOwnedBrush brush(CreateSolidBrush(face));
    const RECT r = glyph;
    FillRect(result->DC(), &r, brush.Get());
    TOwned<TCanvas> canvas(New<TCanvas>());
    const TCanvasDCScope drawing(canvas.get(), result->DC());
    Glyphs->Draw(canvas.get(), p.X, p.Y, 0, AEnabled);
    return result;
  };
  EXPECT_EQ(Differences(first, *listOver(first, true)), 0);

  Button->Colors()->SetNormal(static_cast<TColor>(RGB(40, 90, 250)));
  Button->Colors()->SetDefault(static_cast<TColor>(RGB(40, 90, 250)));
  TPixelSurface recoloured(82, 25, Bg);
  Paint(recoloured);
  EXPECT_EQ(recoloured.Pixel(p.X, p.Y), RGB(40, 90, 250)) << "the new face around the glyph";
  EXPECT_EQ(Differences(recoloured, *listOver(recoloured, true)), 0);
  Button->Colors()->SetNormal(clDefault);
  Button->Colors()->SetDefault(clDefault);

  Button->SetEnabled(false);
  TPixelSurface disabled(82, 25, Bg);
  Paint(disabled);
  EXPECT_EQ(Differences(disabled, *listOver(disabled, false)), 0);
  Button->SetEnabled(true);
  TPixelSurface again(82, 25, Bg);
  Paint(again);
  EXPECT_EQ(Differences(again, first), 0);

  // A new image at the same index.
  TOwned<TBitmap> image(New<TBitmap>());
  image->SetSize(16, 16);
  const RECT all{0, 0, 16, 16};
  const TOwnedBrush yellow(CreateSolidBrush(RGB(240, 220, 0)));
  FillRect(image->Canvas()->Handle(), &all, yellow.Get());
  Glyphs->ReplaceMasked(0, image.get(), static_cast<TColor>(RGB(255, 0, 255)));
  TPixelSurface replaced(82, 25, Bg);
  Paint(replaced);
  EXPECT_EQ(replaced.Count(glyph, RGB(240, 220, 0)), 16 * 16);
  EXPECT_EQ(replaced.Count(RGB(200, 0, 0)), 0);
}

class TDrawHandlers : public TObject {
  SK_CLASS(TDrawHandlers, TObject)
 public:
  TColor Face = clDefault;
  TColor Text = clDefault;
  bool Handles = false;
  int CustomDraws = 0;
  void GetDrawParams(TcxCustomButton*, TcxButtonState, TColor& AColor, TFont* AFont) {
    AColor = Face;
    AFont->SetColor(Text);
  }
  void CustomDraw(TcxCustomButton*, TcxCanvas* ACanvas, TcxButtonViewInfo* AViewInfo, bool& AHandled) {
    ++CustomDraws;
    if (!Handles) return;
    const TOwnedBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
    const RECT r = AViewInfo->Bounds();
    FillRect(ACanvas->Handle(), &r, brush.Get());
    AHandled = true;
  }
};

// The draw-parameters event colours the face and caption as the Default
// colours would; a custom draw that handles the paint is all there is.
TEST_F(TButtonLayoutTest, DrawEventsRecolourOrReplaceThePainting) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  TOwned<TDrawHandlers> handlers(New<TDrawHandlers>());
  const TColor face = static_cast<TColor>(RGB(40, 90, 250));
  const TColor text = static_cast<TColor>(RGB(250, 250, 0));
  Button->Colors()->SetDefault(face);
  Button->Colors()->SetDefaultText(text);
  TPixelSurface byColors(82, 25, Bg);
  Paint(byColors);
  Button->Colors()->SetDefault(clDefault);
  Button->Colors()->SetDefaultText(clDefault);

  handlers->Face = face;
  handlers->Text = text;
  Button->SetOnGetDrawParams(BindEvent<&TDrawHandlers::GetDrawParams>(handlers.get()));
  Button->SetOnCustomDraw(BindEvent<&TDrawHandlers::CustomDraw>(handlers.get()));
  TPixelSurface byEvent(82, 25, Bg);
  Paint(byEvent);
  EXPECT_EQ(handlers->CustomDraws, 1);
  EXPECT_EQ(Differences(byEvent, byColors), 0);
  EXPECT_GT(byEvent.Count(Button->ViewInfo()->CaptionRect(), RGB(250, 250, 0)), 5);
  EXPECT_GT(byEvent.Count(RGB(40, 90, 250)), 78 * 21 / 2);

  handlers->Handles = true;
  TPixelSurface custom(82, 25, Bg);
  Paint(custom);
  EXPECT_EQ(custom.Count(RGB(1, 2, 3)), 82 * 25);
}

// ---------------------------------------------------------------------------
// Glyph strips: frames side by side, normal, disabled, pressed, down.

// Frame AFrame's pixel (X, Y) of the test strip: every pixel of every frame
// differs, so a shifted or wrong frame cannot match.
COLORREF StripPixel(int AFrame, int X, int Y) { return RGB(30 + 50 * AFrame, 10 + 14 * X, 12 + 15 * Y); }

// An opaque strip of AFrames frames of ASize x ASize; ASolid paints each
// frame in its (0, 0) colour.
TOwned<TdxSmartGlyph> NewStrip(int AFrames, int ASize = 16, bool ASolid = false, int AHeight = 0) {
  const int height = AHeight ? AHeight : ASize;
  const int width = AFrames * ASize;
  std::vector<RGBQUAD> bits(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const COLORREF c = ASolid ? StripPixel(x / ASize, 0, 0) : StripPixel(x / ASize, x % ASize, y);
      bits[static_cast<std::size_t>(y * width + x)] = RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 255};
    }
  return TOwned<TdxSmartGlyph>(NewWith<TdxSmartGlyph>(
      [&](TdxSmartGlyph* AGlyph) { AGlyph->CreateFromBits(width, height, bits.data(), afPremultiplied); }));
}

TEST_F(TButtonLayoutTest, AStripOfSquareFramesSetsTheNumberOfGlyphs) {
  struct TRow {
    const char* Name;
    int Frames, Size, Height, Expected;
  };
  const TRow rows[] = {
      {"four frames", 4, 16, 0, 4}, {"two frames", 2, 16, 0, 2},  {"one frame", 1, 16, 0, 1},
      {"five frames", 5, 16, 0, 1}, {"not square", 1, 40, 16, 1}, {"three of 8", 3, 8, 0, 3},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button->OptionsImage()->SetNumGlyphs(2);
    Button->OptionsImage()->SetGlyph(NewStrip(row.Frames, row.Size, false, row.Height).get());
    EXPECT_EQ(Button->OptionsImage()->NumGlyphs(), row.Expected);
  }
  Button->OptionsImage()->SetNumGlyphs(7);
  EXPECT_EQ(Button->OptionsImage()->NumGlyphs(), 4);
  Button->OptionsImage()->SetNumGlyphs(0);
  EXPECT_EQ(Button->OptionsImage()->NumGlyphs(), 1);
  TOwned<TdxSmartGlyph> empty(New<TdxSmartGlyph>());
  Button->OptionsImage()->SetGlyph(empty.get());
  EXPECT_TRUE(Button->OptionsImage()->Glyph()->Empty());
  EXPECT_TRUE(Button->OptionsImage()->IsImageAssigned()) << "the list's image again";
}

// Each state shows its frame where the layout puts a 16 x 16 glyph, pixel
// for pixel as the strip holds it; fewer frames fall back to the first.
TEST_F(TButtonLayoutTest, EachStateShowsItsFrameOfTheStrip) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  Button->OptionsImage()->SetImages(nullptr);
  const TSize text = Measure(L"Flash");
  const TPoint expectedPos(2 + (78 - 16 - 4 - text.cx) / 2, 4);
  enum TLook { Normal, Disabled, Pressed, Down };
  struct TRow {
    const char* Name;
    int Frames;
    TLook Look;
    int Frame;
  };
  const TRow rows[] = {
      {"normal", 4, Normal, 0},     {"disabled", 4, Disabled, 1},   {"pressed", 4, Pressed, 2},
      {"down", 4, Down, 3},         {"two, pressed", 2, Pressed, 0}, {"two, disabled", 2, Disabled, 1},
      {"three, down", 3, Down, 0},  {"three, pressed", 3, Pressed, 2},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Button->OptionsImage()->SetGlyph(NewStrip(row.Frames).get());
    ASSERT_EQ(Button->OptionsImage()->NumGlyphs(), row.Frames);
    Button->SetEnabled(row.Look != Disabled);
    Button->SpeedButtonOptions()->SetGroupIndex(row.Look == Down ? 1 : 0);
    Button->SetDown(row.Look == Down);
    TPixelSurface painted(82, 25, Bg);
    Paint(painted, row.Look == Pressed ? ODS_SELECTED : 0);
    ASSERT_EQ(Button->ViewInfo()->GetImageSize(), TSize(16, 16));
    EXPECT_EQ(Button->ViewInfo()->GlyphPos(), expectedPos);
    int wrong = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        wrong += painted.Pixel(expectedPos.X + x, expectedPos.Y + y) != StripPixel(row.Frame, x, y);
    EXPECT_EQ(wrong, 0);
    // Nothing of the strip beyond the frame's square.
    EXPECT_NE(painted.Pixel(expectedPos.X - 1, expectedPos.Y + 8), StripPixel(row.Frame, 0, 8));
    EXPECT_NE(painted.Pixel(expectedPos.X + 16, expectedPos.Y + 8), StripPixel(row.Frame + 1, 0, 8));
  }
}

// At twice the size a frame is stretched over a 32 x 32 square: a solid
// frame fills it and stays inside it.
TEST_F(TButtonLayoutTest, AScaledFrameFillsTheScaledGlyphSquare) {
  Button->OptionsImage()->SetImages(nullptr);
  Button->SetCaption(L"");
  Button->ChangeScale(2, 1, true);
  Button->SetBounds(0, 0, 98, 50);
  Button->OptionsImage()->SetGlyph(NewStrip(4, 16, true).get());
  Button->SetEnabled(false);
  TPixelSurface painted(98, 50, Bg);
  Paint(painted);
  ASSERT_EQ(Button->ViewInfo()->GetImageSize(), TSize(32, 32));
  const TPoint p = Button->ViewInfo()->GlyphPos();
  const COLORREF frame1 = StripPixel(1, 0, 0);
  EXPECT_EQ(painted.Count(TRect(p.X + 2, p.Y + 2, p.X + 30, p.Y + 30), frame1), 28 * 28);
  EXPECT_EQ(painted.BoundsOf(frame1).Width(), 32) << painted.Picture(frame1);
  EXPECT_LE(painted.Count(frame1), 32 * 32);
  EXPECT_EQ(painted.Count(StripPixel(0, 0, 0)), 0) << "only the disabled frame";
}

// A single picture shows itself in every enabled state and is drawn
// disabled (not in its own colours) when the button is.
TEST_F(TButtonLayoutTest, ASinglePictureIsDrawnDisabledWhenTheButtonIs) {
  Button->SetCaption(L"Flash");
  Button->SetBounds(0, 0, 82, 25);
  Button->OptionsImage()->SetGlyph(NewStrip(1).get());
  TPixelSurface painted(82, 25, Bg);
  Paint(painted);
  const TPoint p = Button->ViewInfo()->GlyphPos();
  int wrong = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) wrong += painted.Pixel(p.X + x, p.Y + y) != StripPixel(0, x, y);
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(painted.Count(RGB(200, 0, 0)), 0) << "the picture, not the list's image";
  Button->SetEnabled(false);
  Paint(painted);
  int own = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) own += painted.Pixel(p.X + x, p.Y + y) == StripPixel(0, x, y);
  EXPECT_LT(own, 8);
}

}  // namespace

namespace {

// With the native look the face is the theme's push button, drawn by the
// test with DrawThemeBackground over the parent's colour: the part is partly
// transparent, so the form shows at its corners.
TEST(TButtonNativeStyle, TheFaceIsTheThemesPushButtonOverTheParent) {
  const HTHEME theme = OpenThemeData(nullptr, L"BUTTON");
  if (!theme) GTEST_SKIP() << "no button theme";
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->SetColor(static_cast<TColor>(RGB(180, 40, 200)));
  form->SetBounds(0, 0, 200, 100);
  auto* button = New<TcxButton>(form.get());
  button->SetParent(form.get());
  button->SetBounds(10, 10, 82, 25);
  button->LookAndFeel()->SetNativeStyle(true);
  form->HandleNeeded();
  TPixelSurface painted(82, 25, Bg);
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.hDC = painted.DC();
  item.rcItem = RECT{0, 0, 82, 25};
  button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  ASSERT_EQ(button->ViewInfo()->State(), cxbsNormal);

  TPixelSurface expected(82, 25, RGB(180, 40, 200));
  const RECT r{0, 0, 82, 25};
  ASSERT_EQ(DrawThemeBackground(theme, expected.DC(), BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr), S_OK);
  EXPECT_EQ(Differences(painted, expected), 0);
  // Over the surface's own colour the theme's part looks different: what
  // shows through is the form.
  EXPECT_TRUE(IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, PBS_NORMAL));
  TPixelSurface overSurface(82, 25, Bg);
  DrawThemeBackground(theme, overSurface.DC(), BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr);
  CloseThemeData(theme);
  EXPECT_GT(Differences(painted, overSurface), 0);
}

}  // namespace
