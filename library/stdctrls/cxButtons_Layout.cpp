// The button's layout and painting: the view information, its painter and
// the layout calculators.
#include "library/controls/control/cxControls.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/stdctrls/cxButtons.h"
#include "platform/ui/GdiScopes.h"

#include <vssym32.h>

#include <algorithm>
#include <cstring>

namespace {

bool IsHorizontal(TButtonLayout ALayout) { return ALayout == blGlyphLeft || ALayout == blGlyphRight; }

// The size DrawText gives the text in AWidth (DT_CALCRECT) with the font.
TSize MeasureText(const String& AText, TFont* AFont, int AWidth, int AFlags) {
  const HDC dc = SharedMeasureCanvas()->Handle();
  const TSelectObject font(dc, AFont->Handle());
  RECT r{0, 0, AWidth, 0};
  DrawTextW(dc, AText.c_str(), static_cast<int>(AText.size()), &r, static_cast<UINT>(AFlags | DT_CALCRECT));
  return TSize(r.right - r.left, r.bottom - r.top);
}

// A copy of the font that keeps ADest's handle when only the colour differs
// (a colour change of Assign would drop it, and fonts are costly to make).
void AssignFont(TFont* ADest, TFont* ASource) {
  ADest->SetColor(ASource->Color());
  ADest->Assign(ASource);
}

}  // namespace

// ---------------------------------------------------------------------------
// Layout calculators

class TcxButtonStandardLayoutCalculator {
 public:
  explicit TcxButtonStandardLayoutCalculator(TcxButtonViewInfo* AViewInfo)
      : FViewInfo(AViewInfo), FButton(AViewInfo->FButton) {}
  virtual ~TcxButtonStandardLayoutCalculator() = default;

  void Calculate() {
    FMargin = FButton->OptionsImage()->Margin();
    FSpacing = FButton->OptionsImage()->Spacing();
    LayoutContent(FViewInfo->GetContentRect(cxbsDefault));
  }

 protected:
  virtual void LayoutContent(TRect R) {
    if (FViewInfo->FState == cxbsPressed) {
      const int shift = FViewInfo->Painter()->GetPressedTextShift();
      R.Offset(shift, shift);
    }
    FGlyphSize = FViewInfo->IsGlyphVisible() ? FViewInfo->GetImageSize() : TSize(0, 0);
    MeasureTextArea(R);
    ResolveMarginAndSpacing(R);
    PlaceGlyph(R);
    StoreCaptionRect(PlaceCaption(R));
    PlaceDropDownArrow();
  }

  virtual void PlaceDropDownArrow() {
    if (FViewInfo->HasDropDownButton()) FViewInfo->FDropDownArrowRect = FViewInfo->FDropDownButtonRect;
  }

  virtual TRect TextMargins() const {
    return FViewInfo->IsGlyphVisible() ? TRect(0, 0, 0, 0) : TRect(1, 0, 2, 0);
  }

  // The width left for the text beside the glyph.
  int TextWidth(const TRect& R) const {
    const TRect m = TextMargins();
    int result = R.Width() - m.Right - m.Left;
    if (IsHorizontal(FViewInfo->FLayout)) result -= FGlyphSize.cx + FSpacing + std::max(FMargin, 0);
    return result;
  }

  int CaptionFlags() const {
    return FViewInfo->Painter()->GetBiDiFlags() | (FButton->WordWrap() ? DT_WORDBREAK : 0);
  }

  virtual void MeasureTextArea(const TRect& R) {
    if (!FViewInfo->IsCaptionVisible()) {
      FTextArea = TSize(0, 0);
      return;
    }
    const TRect m = TextMargins();
    const TSize text = MeasureText(FButton->Caption(), FViewInfo->CaptionFont(), TextWidth(R), CaptionFlags());
    FTextArea = TSize(text.cx + m.Left + m.Right, text.cy + m.Top + m.Bottom);
  }

  virtual void StoreCaptionRect(const TRect& AArea) { FViewInfo->FCaptionRect = AArea; }

  void ResolveMarginAndSpacing(const TRect& R) {
    const bool horizontal = IsHorizontal(FViewInfo->FLayout);
    const int size = horizontal ? R.Width() : R.Height();
    const int glyph = horizontal ? FGlyphSize.cx : FGlyphSize.cy;
    const int text = horizontal ? FTextArea.cx : FTextArea.cy;
    if (FTextArea.cx == 0 || FGlyphSize.cx == 0) FSpacing = 0;
    if (FMargin == -1 && FSpacing == -1) {
      FMargin = FSpacing = (size - (glyph + text)) / 3;
    } else if (FMargin == -1) {
      FMargin = (size - (glyph + text + FSpacing)) / 2;
    } else if (FSpacing == -1) {
      FSpacing = (size - glyph - 2 * FMargin - text) / 2;
    }
  }

  void PlaceGlyph(const TRect& R) {
    TPoint& p = FViewInfo->FGlyphPos;
    switch (FViewInfo->FLayout) {
      case blGlyphLeft: p.X = R.Left + FMargin; break;
      case blGlyphRight: p.X = R.Left + R.Width() - FMargin - FGlyphSize.cx; break;
      case blGlyphTop: p.Y = R.Top + FMargin; break;
      case blGlyphBottom: p.Y = R.Top + R.Height() - FMargin - FGlyphSize.cy; break;
    }
    if (IsHorizontal(FViewInfo->FLayout))
      p.Y = R.Top + (R.Height() - FGlyphSize.cy) / 2;
    else
      p.X = R.Left + (R.Width() - FGlyphSize.cx) / 2;
  }

  TRect PlaceCaption(const TRect& R) const {
    const TRect m = TextMargins();
    TRect result(m.Left, m.Top, FTextArea.cx - m.Right, FTextArea.cy - m.Bottom);
    const TPoint& glyph = FViewInfo->FGlyphPos;
    switch (FViewInfo->FLayout) {
      case blGlyphLeft: result.Offset(glyph.X + FGlyphSize.cx + FSpacing, 0); break;
      case blGlyphRight: result.Offset(glyph.X - FSpacing - FTextArea.cx, 0); break;
      case blGlyphTop: result.Offset(0, glyph.Y + FGlyphSize.cy + FSpacing); break;
      case blGlyphBottom: result.Offset(0, glyph.Y - FSpacing - FTextArea.cy); break;
    }
    // The caption sits one pixel higher than the glyph's centre line would give.
    if (IsHorizontal(FViewInfo->FLayout))
      result.Offset(0, R.Top + (R.Height() - FTextArea.cy - 1) / 2);
    else
      result.Offset(R.Left + (R.Width() - FTextArea.cx) / 2, 0);
    return result;
  }

  TcxButtonViewInfo* FViewInfo;
  TcxCustomButton* FButton;
  int FMargin = 0;
  int FSpacing = 0;
  TSize FGlyphSize;
  TSize FTextArea;
};

// The caption with the description under it and the arrow beside them.
class TcxButtonOfficeDropDownLayoutCalculator : public TcxButtonStandardLayoutCalculator {
 public:
  using TcxButtonStandardLayoutCalculator::TcxButtonStandardLayoutCalculator;

 protected:
  void LayoutContent(TRect R) override {
    const int arrow = ArrowSize() + 2;
    const bool rightToLeft = FButton->UseRightToLeftAlignment();
    const TButtonLayout layout = FViewInfo->FLayout;
    if (IsHorizontal(layout)) {
      if (rightToLeft)
        R.Left += arrow;
      else
        R.Right -= arrow;
    }
    if (FMargin < 0) {
      const bool onArrowSide = layout == (rightToLeft ? blGlyphLeft : blGlyphRight);
      FMargin = onArrowSide ? 0 : FButton->ScaleFactor()->Apply(7);
    }
    TcxButtonStandardLayoutCalculator::LayoutContent(R);
  }

  TRect TextMargins() const override {
    TRect result = TcxButtonStandardLayoutCalculator::TextMargins();
    if (!IsHorizontal(FViewInfo->FLayout)) {
      result.Left += ArrowSize() + 2;
      result.Right += ArrowSize() + 2;
    }
    return result;
  }

  void MeasureTextArea(const TRect& R) override {
    const int width = TextWidth(R);
    FCaptionSize = FDescriptionSize = TSize(0, 0);
    if (FViewInfo->IsCaptionVisible())
      FCaptionSize = MeasureText(FButton->Caption(), FViewInfo->CaptionFont(), width, CaptionFlags());
    if (IsHorizontal(FViewInfo->FLayout)) FCaptionSize.cx = std::min(FCaptionSize.cx, width);
    const String& description = FButton->Description();
    TSize text = FCaptionSize;
    if (!description.empty()) {
      FDescriptionSize = MeasureText(description, FViewInfo->DescriptionFont(), width,
                                     FViewInfo->Painter()->GetBiDiFlags() | DT_WORDBREAK);
      text = TSize(std::max(FCaptionSize.cx, FDescriptionSize.cx), FCaptionSize.cy + FDescriptionSize.cy + 2);
    }
    const TRect m = TextMargins();
    FTextArea = text.cx == 0 && text.cy == 0 ? TSize(0, 0)
                                             : TSize(text.cx + m.Left + m.Right, text.cy + m.Top + m.Bottom);
  }

  void StoreCaptionRect(const TRect& AArea) override {
    const auto place = [&](const TSize& ASize, int ATop) {
      int left = AArea.Left;
      if (FViewInfo->FLayout == blGlyphRight)
        left = AArea.Right - ASize.cx;
      else if (!IsHorizontal(FViewInfo->FLayout))
        left = AArea.Left + (AArea.Width() - ASize.cx) / 2;
      return TRect(left, ATop, left + ASize.cx, ATop + ASize.cy);
    };
    FViewInfo->FCaptionRect = place(FCaptionSize, AArea.Top);
    if (!FButton->Description().empty())
      FViewInfo->FDescriptionRect = place(FDescriptionSize, AArea.Bottom - FDescriptionSize.cy);
  }

  void PlaceDropDownArrow() override {
    const int size = ArrowSize();
    const TRect& bounds = FViewInfo->FBounds;
    TRect& arrow = FViewInfo->FDropDownArrowRect;
    if (IsHorizontal(FViewInfo->FLayout)) {
      arrow = TRect(bounds.Right - 2 - size, bounds.Top, bounds.Right - 2, bounds.Bottom);
      if (FButton->UseRightToLeftAlignment()) {
        const int left = bounds.Left + bounds.Right - arrow.Right;
        arrow = TRect(left, arrow.Top, left + size, arrow.Bottom);
      }
      return;
    }
    TRect text = FViewInfo->FCaptionRect;
    if (!FViewInfo->FDescriptionRect.IsEmpty()) text = UnionRectangles(text, FViewInfo->FDescriptionRect);
    const int top = text.Top + (text.Height() - size) / 2;
    arrow = TRect(text.Right, top, text.Right + size, top + size);
  }

 private:
  int ArrowSize() const { return FViewInfo->Painter()->GetDropDownButtonSize(); }

  TSize FCaptionSize;
  TSize FDescriptionSize;
};

class TcxButtonCommandLinkLayoutCalculator {
 public:
  explicit TcxButtonCommandLinkLayoutCalculator(TcxButtonViewInfo* AViewInfo)
      : FViewInfo(AViewInfo), FButton(AViewInfo->FButton) {}

  void Calculate() {
    const TRect r = FViewInfo->GetContentRect(cxbsDefault);
    const TRect margins = FViewInfo->Painter()->GetCommandLinkMargins();
    TRect a(r.Left + margins.Left, r.Top + margins.Top, r.Right - margins.Right, r.Bottom - margins.Bottom);
    const int margin = FButton->OptionsImage()->Margin();
    if (margin >= 0) {
      a.Left = r.Left + margin;
      a.Right = r.Right - margin;
    }
    const TSize glyph = FViewInfo->GetImageSize();
    TPoint glyphPos(a.Left, a.Top);
    TRect caption = a;
    if (glyph.cx > 0) caption.Left += glyph.cx + std::max(FButton->OptionsImage()->Spacing(), 0);
    const int flags = FViewInfo->Painter()->GetBiDiFlags() | DT_WORDBREAK | DT_END_ELLIPSIS;
    const TSize text = FButton->Caption().empty()
                           ? TSize(0, 0)
                           : MeasureText(FButton->Caption(), FViewInfo->CaptionFont(), caption.Width(), flags);
    caption.Bottom = std::min(caption.Bottom, caption.Top + text.cy);
    TRect description = a;
    description.Left = caption.Left;
    if (text.cy > 0) description.Top = caption.Bottom + 2;
    if (FButton->UseRightToLeftAlignment()) {
      const auto mirror = [&r](TRect& x) {
        const int left = r.Left + r.Right - x.Right;
        x = TRect(left, x.Top, left + x.Width(), x.Bottom);
      };
      mirror(caption);
      mirror(description);
      glyphPos.X = r.Left + r.Right - glyphPos.X - glyph.cx;
    }
    FViewInfo->FGlyphPos = glyphPos;
    FViewInfo->FCaptionRect = caption;
    if (!FButton->Description().empty()) FViewInfo->FDescriptionRect = description;
  }

 private:
  TcxButtonViewInfo* FViewInfo;
  TcxCustomButton* FButton;
};

// ---------------------------------------------------------------------------
// TcxButtonGlyphCache

void TcxButtonGlyphCache::Draw(HDC DC, const TRect& R, TKey AKey, const std::function<void()>& ADraw) {
  RECT box;
  const int region = GetClipBox(DC, &box);
  if (region == NULLREGION) return;
  if (region == COMPLEXREGION || R.IsEmpty()) {
    FValid = false;
    return ADraw();
  }
  RECT visible;
  const RECT target = R;
  if (!IntersectRect(&visible, &target, &box)) return;
  AKey.Clip = TRect(visible);
  AKey.Clip.Offset(-R.Left, -R.Top);
  const int width = R.Width(), height = R.Height();
  if (width != FSize.cx || height != FSize.cy) {
    FValid = false;
    FSize = TSize(width, height);
    FUnder.emplace(TMemoryDC::Dib32(DC, width, height));
    FDrawn.emplace(TMemoryDC::Dib32(DC, width, height));
    FProbe.emplace(TMemoryDC::Dib32(DC, width, height));
  }
  BitBlt(FProbe->DC(), 0, 0, width, height, DC, R.Left, R.Top, SRCCOPY);
  GdiFlush();
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * sizeof(uint32_t);
  if (FValid && AKey == FKey && std::memcmp(FProbe->Bits(), FUnder->Bits(), bytes) == 0) {
    BitBlt(DC, R.Left, R.Top, width, height, FDrawn->DC(), 0, 0, SRCCOPY);
    return;
  }
  std::memcpy(FUnder->Bits(), FProbe->Bits(), bytes);
  ADraw();
  BitBlt(FDrawn->DC(), 0, 0, width, height, DC, R.Left, R.Top, SRCCOPY);
  FKey = AKey;
  FValid = true;
}

// ---------------------------------------------------------------------------
// TcxButtonPainter

void TcxButtonPainter::Create(TcxCustomButton* AButton) {
  inherited::Create();
  FButton = AButton;
}

TcxCustomLookAndFeelPainter* TcxButtonPainter::LookAndFeelPainter() const { return FButton->Painter(); }

TcxLookAndFeelStyle TcxButtonPainter::LookAndFeelStyle() const { return FButton->LookAndFeel()->ActiveStyle(); }

const TdxScaleFactor* TcxButtonPainter::ScaleFactor() const { return FButton->ScaleFactor(); }

void TcxButtonPainter::DrawButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonPart APart, TColor AColor,
                                  TcxButtonState AState) {
  TcxCustomLookAndFeelPainter* painter = LookAndFeelPainter();
  if (FButton->Kind() == cxbkCommandLink) {
    painter->DrawScaledCommandLinkBackground(ACanvas, R, AState, ScaleFactor(), AColor);
    if (!FButton->ViewInfo()->IsGlyphVisible())
      painter->DrawScaledCommandLinkGlyph(ACanvas, FButton->ViewInfo()->GlyphPos(), AState, ScaleFactor());
    return;
  }
  if (!FButton->IsSpeedButtonPartsDrawn()) {
    painter->DrawScaledButton(ACanvas, R, AState, ScaleFactor(), true, false, APart, AColor);
    return;
  }
  // A flat or transparent speed button: the border and the face only where
  // its state shows them.
  const TcxLookAndFeelStyle style = LookAndFeelStyle();
  const TcxSpeedButtonOptions& options = *FButton->SpeedButtonOptions();
  const bool hot = FButton->InternalStates().Contains(bisHot);
  TRect face = R;
  if (style != lfsSkin && style != lfsNative && style != lfsOffice11 &&
      (!options.Flat() || (AState != cxbsDisabled && (hot || AState != cxbsNormal)))) {
    painter->DrawButtonBorder(ACanvas, face, AState);
    face.Deflate(painter->ButtonBorderSize(AState));
  }
  if (!options.Transparent() || (hot && painter->IsButtonHotTrack()) ||
      (!hot && AState != cxbsNormal && AState != cxbsDisabled)) {
    const TcxClipRegionScope clip(ACanvas, face);
    painter->DrawScaledButton(ACanvas, face, AState, ScaleFactor(), false, true, APart, AColor);
  }
}

void TcxButtonPainter::DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  LookAndFeelPainter()->DrawScaledScrollBarArrow(ACanvas, R, AState, adDown, ScaleFactor());
}

void TcxButtonPainter::DrawFocusRect(TcxCanvas* ACanvas, const TRect& R) {
  const TRect focus = LookAndFeelPainter()->ScaledButtonFocusRect(ACanvas, R, ScaleFactor());
  // Straight on the device context: the canvas's own route re-selects its
  // brush and font around the call and took a third of a focused repaint.
  // The dotted pattern takes the DC's text and background colours.
  const HDC dc = ACanvas->Handle();
  const TSavedDC saved(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  ::DrawFocusRect(dc, focus.WinRect());
}

void TcxButtonPainter::DrawParentBackground(TcxCanvas* ACanvas, const TRect& R) {
  const TcxLookAndFeelStyle style = LookAndFeelStyle();
  bool shows = FButton->SpeedButtonOptions()->Transparent() || style == lfsSkin;
  if (style == lfsNative && !shows) {
    // The theme's push button may let what lies behind it show at its corners.
    const HTHEME theme = OpenTheme(totButton);
    shows = theme && UxIsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, PBS_NORMAL);
  }
  if (shows && FButton->Parent()) DrawControlParentBackground(FButton, ACanvas, R);
}

int TcxButtonPainter::GetDropDownButtonSize() const {
  TcxCustomLookAndFeelPainter* painter = LookAndFeelPainter();
  return painter ? painter->GetScaledDropDownButtonRightPartSize(ScaleFactor()) : 0;
}

void TcxButtonPainter::DrawTexT(TcxCanvas* ACanvas, const String& AText, const TRect& R, int AFlags,
                                TcxButtonState AState) {
  if (AText.empty() || R.IsEmpty()) return;
  const HDC dc = ACanvas->Handle();
  const TcxDCStateScope saved(ACanvas);
  const TSelectObject font(dc, ACanvas->Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  const int flags = AFlags | GetBiDiFlags();
  const bool onGlass = IsPaintingOnGlass(FButton);
  const auto draw = [&](TRect r, TColor AColor) {
    if (onGlass) return DrawTextOnGlass(dc, AText, ACanvas->Font()->Handle(), r, AColor, static_cast<UINT>(flags));
    SetTextColor(dc, ColorToRGB(AColor));
    RECT rect = r;
    DrawTextW(dc, AText.c_str(), static_cast<int>(AText.size()), &rect, static_cast<UINT>(flags));
  };
  const TcxLookAndFeelStyle style = LookAndFeelStyle();
  if (AState == cxbsDisabled && style != lfsNative && style != lfsSkin) {
    TRect shadow = R;
    shadow.Offset(1, 1);
    draw(shadow, clBtnHighlight);
  }
  draw(R, ACanvas->Font()->Color());
}

int TcxButtonPainter::GetPressedTextShift() const { return LookAndFeelPainter()->ScaledButtonTextShift(ScaleFactor()); }

TColor TcxButtonPainter::GetTextColor(TcxButtonState AState, TColor ADefault) const {
  const TColor assigned = FButton->Colors()->TextColor(AState);
  if (assigned != clDefault) return assigned;
  TcxCustomLookAndFeelPainter* painter = LookAndFeelPainter();
  if (FButton->Kind() == cxbkCommandLink) return painter->DefaultCommandLinkTextColor(AState, ADefault);
  const bool dropDownPart =
      FButton->Kind() == cxbkDropDownButton && !(LookAndFeelStyle() == lfsSkin && AState == cxbsDisabled);
  return painter->ButtonSymbolColor(AState, ADefault, dropDownPart ? cxbpDropDownLeftPart : cxbpButton);
}

TSize TcxButtonPainter::GetCommandLinkGlyphSize() const {
  return LookAndFeelPainter()->GetScaledCommandLinkGlyphSize(ScaleFactor());
}

TRect TcxButtonPainter::GetCommandLinkMargins() const {
  return LookAndFeelPainter()->GetScaledCommandLinkMargins(ScaleFactor());
}

int TcxButtonPainter::GetBiDiFlags() const {
  return FButton->UseRightToLeftAlignment() ? DT_RIGHT | DT_RTLREADING : 0;
}

// ---------------------------------------------------------------------------
// TcxButtonViewInfo

void TcxButtonViewInfo::Create(TcxCustomButton* AButton) {
  inherited::Create();
  FButton = AButton;
  FCaptionFont.reset(New<TFont>());
  FDescriptionFont.reset(New<TFont>());
  FPainter.reset(New<TcxButtonPainter>(AButton));
}

void TcxButtonViewInfo::Destroy() {
  FPainter.reset();
  FDescriptionFont.reset();
  FCaptionFont.reset();
  inherited::Destroy();
}

void TcxButtonViewInfo::Calculate(const TRect& ABounds) {
  FBounds = ABounds;
  FState = FButton->GetPaintState();
  FLayout = FButton->OptionsImage()->Layout();
  // Right to left, the glyph changes sides; above and below stay.
  if (FPainter->GetBiDiFlags() & DT_RIGHT) {
    if (FLayout == blGlyphLeft)
      FLayout = blGlyphRight;
    else if (FLayout == blGlyphRight)
      FLayout = blGlyphLeft;
  }
  CalculateColorsAndFonts();
  CalculateButtonRects();
  CalculateLayout();
}

void TcxButtonViewInfo::CalculateColorsAndFonts() {
  AssignFont(FCaptionFont.get(), FButton->Font());
  FCaptionFont->SetColor(FPainter->GetTextColor(FState, FCaptionFont->Color()));
  AssignFont(FDescriptionFont.get(), FCaptionFont.get());
  FDescriptionFont->SetColor(
      FPainter->LookAndFeelPainter()->ButtonDescriptionTextColor(FState, FDescriptionFont->Color(), cxbpButton));
  if (FButton->Kind() == cxbkCommandLink) {
    FDescriptionFont->SetHeight(MulDiv(FCaptionFont->Height(), 3, 4));
    if (FDescriptionFont->Size() < 1) FDescriptionFont->SetSize(1);
  }
  FBackgroundColor = FButton->Colors()->BackgroundColor(FState);
  FButton->DoGetDrawParams(FState, FBackgroundColor, FCaptionFont.get());
}

void TcxButtonViewInfo::CalculateButtonRects() {
  FButtonRect = FBounds;
  FDropDownButtonRect = TRect();
  if (!HasDropDownButton()) return;
  const int size = FPainter->GetDropDownButtonSize();
  if (FButton->UseRightToLeftAlignment()) {
    FDropDownButtonRect = TRect(FBounds.Left, FBounds.Top, FBounds.Left + size, FBounds.Bottom);
    FButtonRect.Left = FDropDownButtonRect.Right;
  } else {
    FDropDownButtonRect = TRect(FBounds.Right - size, FBounds.Top, FBounds.Right, FBounds.Bottom);
    FButtonRect.Right = FDropDownButtonRect.Left;
  }
  // The two borders overlap.
  if (FPainter->LookAndFeelStyle() != lfsSkin && !FButton->IsSpeedButtonPartsDrawn()) {
    if (FButton->UseRightToLeftAlignment())
      FButtonRect.Left -= 2;
    else
      FButtonRect.Right += 2;
  }
}

void TcxButtonViewInfo::CalculateLayout() {
  FCaptionRect = FDescriptionRect = FDropDownArrowRect = TRect();
  FGlyphPos = TPoint(0, 0);
  switch (FButton->Kind()) {
    case cxbkCommandLink: TcxButtonCommandLinkLayoutCalculator(this).Calculate(); break;
    case cxbkOfficeDropDown: TcxButtonOfficeDropDownLayoutCalculator(this).Calculate(); break;
    default: TcxButtonStandardLayoutCalculator(this).Calculate(); break;
  }
}

TRect TcxButtonViewInfo::GetContentRect(TcxButtonState AState) const {
  TRect r = FButtonRect;
  if (FButton->Kind() != cxbkCommandLink) r.Deflate(FPainter->LookAndFeelPainter()->ButtonBorderSize(AState));
  return r;
}

bool TcxButtonViewInfo::HasDropDownButton() const { return FButton->Kind() == cxbkDropDownButton; }

bool TcxButtonViewInfo::IsCaptionVisible() const {
  return (FButton->PaintStyle() != bpsGlyph || FButton->Kind() == cxbkCommandLink) && !FButton->Caption().empty();
}

bool TcxButtonViewInfo::IsGlyphVisible() const {
  return FButton->PaintStyle() != bpsCaption && FButton->OptionsImage()->IsImageAssigned();
}

bool TcxButtonViewInfo::NeedDrawDropDownArrow() const {
  return !FDropDownArrowRect.IsEmpty() && !(HasDropDownButton() && FPainter->LookAndFeelStyle() == lfsSkin);
}

bool TcxButtonViewInfo::NeedDrawFocusRect() const {
  return FButton->CanBeFocused() && FButton->ShowFocusRect() && FButton->IsPaintFocused() &&
         !FButton->InternalStates().Contains(bisMenuVisible);
}

TSize TcxButtonViewInfo::GetImageSize() const {
  const TcxButtonGlyph* holder = FButton->GlyphHolder();
  if (holder->IsLoaded()) {
    TdxSmartGlyph* glyph = holder->Glyph();
    const TSize frame(glyph->SourceWidth() / holder->NumGlyphs(), glyph->SourceHeight());
    return FButton->ScaleFactor()->Apply(frame, glyph->SourceDPI(), dxDefaultDPI);
  }
  TCustomImageList* images = FButton->OptionsImage()->Images();
  if (FButton->OptionsImage()->IsImageAssigned())
    return FButton->ScaleFactor()->Apply(TSize(images->Width(), images->Height()));
  return FButton->Kind() == cxbkCommandLink ? FPainter->GetCommandLinkGlyphSize() : TSize(0, 0);
}

int TcxButtonViewInfo::GlyphFrame() const {
  if (FButton->Down()) return 3;
  switch (FState) {
    case cxbsDisabled: return 1;
    case cxbsPressed: return FButton->GlyphHolder()->NumGlyphs() < 3 ? 0 : 2;
    default: return 0;
  }
}

int TcxButtonViewInfo::CaptionTextFlags() const {
  const int wrap = FButton->WordWrap() ? DT_WORDBREAK : 0;
  switch (FButton->Kind()) {
    case cxbkCommandLink: return DT_WORDBREAK | DT_END_ELLIPSIS;
    case cxbkOfficeDropDown: return DT_VCENTER | (IsHorizontal(FLayout) ? 0 : DT_CENTER) | wrap;
    default: return DT_CENTER | DT_VCENTER | DT_NOCLIP | wrap;
  }
}

int TcxButtonViewInfo::DescriptionTextFlags() const {
  if (FButton->Kind() != cxbkOfficeDropDown) return DT_WORDBREAK;
  switch (FLayout) {
    case blGlyphLeft: return DT_WORDBREAK | DT_LEFT;
    case blGlyphRight: return DT_WORDBREAK | DT_RIGHT;
    default: return DT_WORDBREAK | DT_CENTER;
  }
}

TcxButtonState TcxButtonViewInfo::DropDownState() const {
  if (FButton->InternalStates().Contains(bisMenuVisible)) return cxbsPressed;
  if (FState == cxbsPressed) return FButton->IsFocused() ? cxbsHot : cxbsNormal;
  return FState;
}

void TcxButtonViewInfo::Draw(TcxCanvas* ACanvas) {
  if (!FPainter->LookAndFeelPainter()) return ACanvas->FillRect(FBounds, clBtnFace);
  FPainter->DrawParentBackground(ACanvas, FBounds);
  // A running cross-fade shows its frame in place of the face.
  TcxButtonFadingHelper* fading = FButton->FadingHelper();
  if (!(fading && fading->DrawImage(ACanvas->Handle(), FBounds))) DrawBackground(ACanvas);
  DrawContent(ACanvas);
  if (NeedDrawFocusRect()) FPainter->DrawFocusRect(ACanvas, FButtonRect);
}

void TcxButtonViewInfo::DrawBackground(TcxCanvas* ACanvas) {
  if (HasDropDownButton()) {
    FPainter->DrawButton(ACanvas, FButtonRect, cxbpDropDownLeftPart, FBackgroundColor, FState);
    FPainter->DrawButton(ACanvas, FDropDownButtonRect, cxbpDropDownRightPart, FBackgroundColor, DropDownState());
  } else {
    FPainter->DrawButton(ACanvas, FButtonRect, cxbpButton, FBackgroundColor, FState);
  }
}

void TcxButtonViewInfo::DrawContent(TcxCanvas* ACanvas) {
  if (NeedDrawDropDownArrow()) FPainter->DrawDropDownArrow(ACanvas, FDropDownArrowRect, DropDownState());
  const TcxClipRegionScope clip(ACanvas, GetContentRect(FState));
  if (IsGlyphVisible()) DrawGlyph(ACanvas);
  if (IsCaptionVisible() && !FCaptionRect.IsEmpty()) {
    AssignFont(ACanvas->Font(), FCaptionFont.get());
    FPainter->DrawTexT(ACanvas, FButton->Caption(), FCaptionRect, CaptionTextFlags(), FState);
  }
  if (!FDescriptionRect.IsEmpty()) {
    AssignFont(ACanvas->Font(), FDescriptionFont.get());
    FPainter->DrawTexT(ACanvas, FButton->Description(), FDescriptionRect, DescriptionTextFlags(), FState);
  }
}

void TcxButtonViewInfo::DrawGlyph(TcxCanvas* ACanvas) {
  const TSize size = GetImageSize();
  const TRect dest(FGlyphPos.X, FGlyphPos.Y, FGlyphPos.X + size.cx, FGlyphPos.Y + size.cy);
  const TcxButtonPart part = HasDropDownButton() ? cxbpDropDownLeftPart : cxbpButton;
  const IPtr<IdxColorPalette> palette = FPainter->LookAndFeelPainter()->ButtonColorPalette(FState, part);
  const int frame = GlyphFrame();
  const TcxButtonGlyph* holder = FButton->GlyphHolder();
  if (holder->IsLoaded() && holder->NumGlyphs() > 1) return DrawGlyphFrame(ACanvas, dest, frame, palette.Get());
  TCustomImageList* images = FButton->OptionsImage()->Images();
  const int index = FButton->OptionsImage()->ImageIndex();
  const bool disabled = frame == 1;
  // At its own size the list draws the image itself; scaled, through the
  // shared routine.
  if (!holder->IsLoaded() && size.cx == images->Width() && size.cy == images->Height()) {
    FGlyphCache.Draw(ACanvas->Handle(), dest, {images, index, !disabled, TRect()},
                     [&] { images->Draw(ACanvas->Canvas(), FGlyphPos.X, FGlyphPos.Y, index, !disabled); });
    return;
  }
  DrawScaledImage(ACanvas->Canvas(), dest, holder->IsLoaded() ? holder->Glyph() : nullptr, images, index, ifmStretch,
                  disabled ? idmDisabled : idmNormal, true, palette.Get(), FButton->ScaleFactor());
}

void TcxButtonViewInfo::DrawGlyphFrame(TcxCanvas* ACanvas, const TRect& R, int AFrame,
                                       IdxColorPalette* APalette) const {
  const TcxButtonGlyph* holder = FButton->GlyphHolder();
  TdxSmartGlyph* glyph = holder->Glyph();
  const int count = holder->NumGlyphs();
  const int frame = AFrame < count ? AFrame : 0;
  const int width = glyph->Width() / count;
  const TRect source(frame * width, 0, (frame + 1) * width, glyph->Height());
  const HDC dc = ACanvas->Handle();
  if (R.Width() == source.Width() && R.Height() == source.Height()) {
    glyph->StretchDraw(dc, R, source, 255, APalette);
    return;
  }
  const TMemoryDC buffer = TMemoryDC::Dib32(dc, R.Width(), R.Height());
  BitBlt(buffer.DC(), 0, 0, R.Width(), R.Height(), dc, R.Left, R.Top, SRCCOPY);
  glyph->StretchDraw(buffer.DC(), TRect(0, 0, R.Width(), R.Height()), source, 255, APalette);
  BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), buffer.DC(), 0, 0, SRCCOPY);
}
