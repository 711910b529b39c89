// Canvas text layouts: the back-end-neutral part (when to lay out again,
// where the text box goes, clipping, rotation, background) and the GDI
// realisation over the text engine.
#include "library/graphics/canvas/cxCustomCanvas.h"

#include <cmath>
#include <optional>

namespace {

const wchar_t* const FontIsNotSetText = L"Font is not set";

// The flags whose change needs a new layout: word wrap, one line, end
// ellipsis, automatic margins, character breaks.
constexpr std::uint32_t LayoutFlags = 0x30B00;
// Flags of the text box's place in the drawing rectangle.
constexpr std::uint32_t PlaceCenterX = 0x1;
constexpr std::uint32_t PlaceRight = 0x2;
constexpr std::uint32_t PlaceCenterY = 0x10;
constexpr std::uint32_t PlaceBottom = 0x20;
// Rows from a height: whole rows only.
constexpr std::uint32_t WholeRows = cxtoEditControl;

constexpr float AngleTolerance = 0.0001f;

// Left and top rounded up, width and height truncated.
TRect RectFToConstraints(const TdxRectF& R) {
  const int left = CeilToInt(R.Left);
  const int top = CeilToInt(R.Top);
  return TRect(left, top, left + TruncToInt(R.Width()), top + TruncToInt(R.Height()));
}

void MeasureWithLayout(HDC DC, const wchar_t* AText, int ALength, bool AExpandTabs, void* AUserData, TSize& ASize) {
  static_cast<TcxGdiCanvasBasedTextLayout*>(AUserData)->MeasureText(DC, AText, ALength, AExpandTabs, ASize);
}

}  // namespace

// ---------------------------------------------------------------------------
// Transforms

void TcxCanvasBasedTextLayoutCustomTransform::Create(float AAngle) {
  inherited::Create();
  FAngle = AAngle;
  const double radians = AAngle * 3.14159265358979323846 / 180;
  const auto c = static_cast<float>(std::cos(radians));
  const auto s = static_cast<float>(std::sin(radians));
  FMatrix = XFORM{c, s, -s, c, 0, 0};
}

bool TcxCanvasBasedTextLayoutCustomTransform::Equals(float AAngle) const { return dxSameValue(FAngle, AAngle); }

bool TcxCanvasBasedTextLayoutCustomTransform::Equals(TcxRotationAngle AAngle) const { return Equals(AngleOf(AAngle)); }

float TcxCanvasBasedTextLayoutCustomTransform::AngleOf(TcxRotationAngle AAngle) {
  switch (AAngle) {
    case raPlus90:
      return 90;
    case raMinus90:
      return -90;
    case ra180:
      return 180;
    default:
      return 0;
  }
}

void TcxCanvasBasedTextLayoutSimpleTransform::Create(float AAngle) {
  inherited::Create(AAngle);
  FIsVertical = Equals(90.0f) || Equals(-90.0f);
}

void TcxCanvasBasedTextLayoutSimpleTransform::CalculateConstraints(int& AMaxWidth, int& AMaxHeight) {
  if (FIsVertical) std::swap(AMaxWidth, AMaxHeight);
}

void TcxCanvasBasedTextLayoutSimpleTransform::CalculateSize(TSize& ASize) {
  if (FIsVertical) std::swap(ASize.cx, ASize.cy);
}

void TcxCanvasBasedTextLayoutComplexTransform::CalculateConstraints(int& AMaxWidth, int& AMaxHeight) {
  if (AMaxWidth == 0 && AMaxHeight == 0) return;
  constexpr int Unlimited = 65535;
  const TdxRectF bounds(0, 0, static_cast<float>(AMaxWidth ? AMaxWidth : Unlimited),
                        static_cast<float>(AMaxHeight ? AMaxHeight : Unlimited));
  TdxPointF topLeft, topRight, bottomRight, bottomLeft;
  float width = 0;
  float height = 0;
  GetLargestRotatedRect(bounds, FAngle, topLeft, topRight, bottomRight, bottomLeft, width, height);
  AMaxWidth = RoundToInt(width);
  AMaxHeight = RoundToInt(height);
  if (AMaxWidth > Unlimited - 2) AMaxWidth = 0;
  if (AMaxHeight > Unlimited - 2) AMaxHeight = 0;
}

void TcxCanvasBasedTextLayoutComplexTransform::CalculateSize(TSize& ASize) {
  const TdxRectF bounds = GetRotatedRectBounds(TdxRectF(0, 0, static_cast<float>(ASize.cx), static_cast<float>(ASize.cy)),
                                               TdxPointF(0, 0), FAngle);
  ASize = TSize(CeilToInt(bounds.Width()), CeilToInt(bounds.Height()));
}

// ---------------------------------------------------------------------------
// TcxCanvasBasedTextLayout

void TcxCanvasBasedTextLayout::Create(TcxCustomCanvas* ACanvas) {
  inherited::Create(ACanvas);
  FIsDirty = true;
}

void TcxCanvasBasedTextLayout::Destroy() {
  FTransform.reset();
  inherited::Destroy();
}

void TcxCanvasBasedTextLayout::Release() {
  AssignHashTableItem(FFontHandle, static_cast<TcxCanvasBasedFontHandle*>(nullptr));
  AssignHashTableItem(FStroke, static_cast<TcxCanvasBasedResourceHandle*>(nullptr));
  AssignHashTableItem(FFill, static_cast<TcxCanvasBasedResourceHandle*>(nullptr));
  inherited::Release();
}

void TcxCanvasBasedTextLayout::SetFontHandle(TcxCanvasBasedFontHandle* AHandle) {
  if (!AHandle) throw EInvalidArgument(String(FontIsNotSetText));
  if (AssignHashTableItem(FFontHandle, AHandle)) FontChanged();
}

void TcxCanvasBasedTextLayout::Draw(const TRect& ARect) {
  CheckAbandoned();
  CheckLayout();
  const TSize size = FSize;
  int x = (FFlags & PlaceRight)     ? ARect.Right - size.cx
          : (FFlags & PlaceCenterX) ? (ARect.Left + ARect.Right - size.cx) / 2
                                    : ARect.Left;
  if (FFlags & cxtoPreventLeftExceed) x = std::max(x, ARect.Left);
  int y = (FFlags & PlaceBottom)     ? ARect.Bottom - size.cy
          : (FFlags & PlaceCenterY) ? (ARect.Top + ARect.Bottom - size.cy) / 2
                                    : ARect.Top;
  if (FFlags & cxtoPreventTopExceed) y = std::max(y, ARect.Top);

  TRect box = MakeBoundsRect(x, y, size.cx, size.cy);
  box.DeflateByMargins(FPadding);
  TRect visible;
  if (!GetRectIntersection(box, ARect, visible)) return;
  std::optional<TcxClipRegionScope<TcxCustomCanvas>> clip;
  if (visible != box) clip.emplace(FCanvas, visible);
  if (!FTransform) {
    DrawBox(box);
    return;
  }
  const TPoint center(box.Left + box.Width() / 2, box.Top + box.Height() / 2);
  const TcxWorldTransformScope transform(FCanvas);
  FCanvas->ModifyWorldTransform(MakeTranslationXForm(static_cast<float>(center.X), static_cast<float>(center.Y)));
  FCanvas->ModifyWorldTransform(FTransform->Matrix());
  FCanvas->ModifyWorldTransform(MakeTranslationXForm(static_cast<float>(-center.X), static_cast<float>(-center.Y)));
  DrawBox(MakeBoundsRect(center.X - FTextSize.cx / 2, center.Y - FTextSize.cy / 2, FTextSize.cx, FTextSize.cy));
}

void TcxCanvasBasedTextLayout::DrawBox(const TRect& ATextBox) {
  if (FFill || FStroke) {
    TRect background = ATextBox;
    background.InflateByMargins(FPadding);
    FCanvas->FillAndFrameRectF(TdxRectF(background), FFill, FStroke);
  }
  DrawCore(ATextBox);
}

bool TcxCanvasBasedTextLayout::IsTruncated() {
  CheckLayout();
  return FTextTruncated;
}

void TcxCanvasBasedTextLayout::SetFlags(std::uint32_t ACxTOFlags) {
  if (FFlags == ACxTOFlags) return;
  if ((FFlags ^ ACxTOFlags) & LayoutFlags) FIsDirty = true;
  FFlags = ACxTOFlags;
  FlagsChanged();
}

void TcxCanvasBasedTextLayout::SetText(const String& AText) {
  if (FText == AText) return;
  FText = AText;
  TextChanged();
}

void TcxCanvasBasedTextLayout::Draw(const TdxRectF& ARect) { Draw(RectFToConstraints(ARect)); }

void TcxCanvasBasedTextLayout::SetColor(TColor AColor) { SetColor(ColorToAlphaColor(AColor, 255)); }

void TcxCanvasBasedTextLayout::SetBackgroundAppearance(TcxCanvasBasedBrush* AFill, TcxCanvasBasedPen* AStroke) {
  AssignHashTableItem(FFill, AFill ? AFill->Handle() : nullptr);
  AssignHashTableItem(FStroke, AStroke ? AStroke->Handle() : nullptr);
}

void TcxCanvasBasedTextLayout::SetFlag(std::uint32_t ACxToFlag, bool AFlagState) {
  SetFlags(AFlagState ? FFlags | ACxToFlag : FFlags & ~ACxToFlag);
}

void TcxCanvasBasedTextLayout::SetFont(TcxCanvasBasedFont* AFont, TdxObjectOwnership AOwnership) {
  TryFinally([&] { SetFontHandle(AFont ? static_cast<TcxCanvasBasedFontHandle*>(AFont->Handle()) : nullptr); },
             [&] {
               if (AOwnership == ooOwned && AFont) AFont->Free();
             });
}

void TcxCanvasBasedTextLayout::SetFont(TFont* AFont, TdxObjectOwnership AOwnership) {
  CheckAbandoned();
  SetFontHandle(AFont ? FCanvas->GetSharedFonts()->GetOrCreate(AFont, AOwnership) : nullptr);
}

void TcxCanvasBasedTextLayout::SetLayoutConstraints(int AMaxWidth, int AMaxHeight, int AMaxRowCount) {
  AMaxWidth = std::max(AMaxWidth, 0);
  AMaxHeight = std::max(AMaxHeight, 0);
  AMaxRowCount = std::max(AMaxRowCount, 0);
  const bool wordWrap = FFlags & cxtoWordBreak;
  const bool endEllipsis = FFlags & cxtoEndEllipsis;
  if (AMaxRowCount != FMaxRowCount) FIsDirty = true;
  if (AMaxWidth != FMaxWidth && (AMaxWidth < FSize.cx || (AMaxWidth > FSize.cx && wordWrap) || endEllipsis))
    FIsDirty = true;
  if (AMaxHeight != FMaxHeight && (AMaxHeight < FSize.cy || (AMaxHeight > FSize.cy && endEllipsis))) FIsDirty = true;
  FMaxWidth = AMaxWidth;
  FMaxHeight = AMaxHeight;
  FMaxRowCount = AMaxRowCount;
}

void TcxCanvasBasedTextLayout::SetLayoutConstraints(const TRect& R, int AMaxRowCount) {
  SetLayoutConstraints(R.Width(), R.Height(), AMaxRowCount);
}

void TcxCanvasBasedTextLayout::SetLayoutConstraints(const TdxRectF& R, int AMaxRowCount) {
  SetLayoutConstraints(RectFToConstraints(R), AMaxRowCount);
}

void TcxCanvasBasedTextLayout::SetPadding(const TRect& APadding) {
  if (FPadding == APadding) return;
  FPadding = APadding;
  FIsDirty = true;
}

void TcxCanvasBasedTextLayout::SetRotation(float AAngle) {
  AAngle = std::fmod(AAngle, 360.0f);
  if (AAngle < 0) AAngle += 360;
  const bool zero = std::fabs(AAngle) < AngleTolerance;
  if (!FTransform && zero) return;
  if (FTransform && FTransform->Equals(AAngle)) return;
  SetTransform(zero ? nullptr : TOwned<TcxCanvasBasedTextLayoutCustomTransform>(
                                    New<TcxCanvasBasedTextLayoutComplexTransform>(AAngle)));
}

void TcxCanvasBasedTextLayout::SetRotation(TcxRotationAngle AAngle) {
  if (AAngle == ra0 ? !FTransform : FTransform && FTransform->Equals(AAngle)) return;
  SetTransform(AAngle == ra0 ? nullptr
                             : TOwned<TcxCanvasBasedTextLayoutCustomTransform>(New<TcxCanvasBasedTextLayoutSimpleTransform>(
                                   TcxCanvasBasedTextLayoutCustomTransform::AngleOf(AAngle))));
}

void TcxCanvasBasedTextLayout::SetTransform(TOwned<TcxCanvasBasedTextLayoutCustomTransform> ATransform) {
  FTransform = std::move(ATransform);
  TransformChanged();
}

TSize TcxCanvasBasedTextLayout::MeasureSize() {
  CheckLayout();
  return FSize;
}

TdxSizeF TcxCanvasBasedTextLayout::MeasureSizeF() { return TdxSizeF(MeasureSize()); }

void TcxCanvasBasedTextLayout::CheckLayout() {
  if (!FIsDirty) return;
  int width = FMaxWidth;
  int height = FMaxHeight;
  if (FTransform) FTransform->CalculateConstraints(width, height);
  // A limit stays a limit when the padding takes all of it: 0 is none.
  if (width != 0) width = std::max(width - FPadding.Left - FPadding.Right, 1);
  if (height != 0) height = std::max(height - FPadding.Top - FPadding.Bottom, 1);
  CalculateLayout(width, height, FMaxRowCount);
  FSize = TSize(FTextSize.cx + FPadding.Left + FPadding.Right, FTextSize.cy + FPadding.Top + FPadding.Bottom);
  if (FTransform) FTransform->CalculateSize(FSize);
  FIsDirty = false;
}

int TcxCanvasBasedTextLayout::RowsInHeight(int AMaxHeight, int ARowHeight) const {
  if (ARowHeight <= 0) return 0;
  return (FFlags & WholeRows) ? AMaxHeight / ARowHeight : (AMaxHeight + ARowHeight - 1) / ARowHeight;
}

// ---------------------------------------------------------------------------
// TcxGdiCanvasBasedTextLayout

void TcxGdiCanvasBasedTextLayout::Create(TcxCustomCanvas* ACanvas) {
  inherited::Create(ACanvas);
  FColor = AlphaColorToRGBQuad(ColorToAlphaColor(clWindowText, 255));
}

void TcxGdiCanvasBasedTextLayout::SetColor(TdxAlphaColor AColor) { FColor = AlphaColorToRGBQuad(AColor); }

void TcxGdiCanvasBasedTextLayout::SetFontHandle(TcxCanvasBasedFontHandle* AHandle) {
  if (AHandle && !Is<TcxGdiCanvasBasedFontHandle>(AHandle))
    throw EInvalidArgument(String(L"Resource was created for different Canvas"));
  inherited::SetFontHandle(AHandle);
}

TFont* TcxGdiCanvasBasedTextLayout::NativeFont() const {
  TFont* font = FFontHandle ? static_cast<TcxGdiCanvasBasedFontHandle*>(FFontHandle)->Font() : nullptr;
  if (!font) throw EInvalidArgument(String(FontIsNotSetText));
  return font;
}

void TcxGdiCanvasBasedTextLayout::MeasureText(HDC DC, const wchar_t* AText, int ALength, bool AExpandTabs,
                                              TSize& ASize) {
  GetTextExtentForDC(DC, AText, ALength, AExpandTabs, ASize);
}

void TcxGdiCanvasBasedTextLayout::CalculateLayout(int AMaxWidth, int AMaxHeight, int AMaxRowCount) {
  TdxTextMeasurer::TMeasureCanvas* canvas = SharedTextMeasureCanvas();
  if (!canvas) return;
  canvas->SetFont(NativeFont());
  // Rotated text is measured unrotated: logical extents do not depend on the
  // world transform, and Wine scales them by the cosine of the angle under
  // one (to nothing at a quarter turn).
  const HDC DC = canvas->Handle();

  TRect bounds(0, 0, AMaxWidth ? AMaxWidth : 65535, AMaxHeight);
  if (AMaxWidth == 0 && AMaxRowCount > 0 && (FFlags & cxtoWordBreak))
    CalcTextRectForRowCount(DC, FText, AMaxRowCount, FFlags, bounds);
  TcxTextParams params;
  CalcTextParamsForDC(DC, FFlags | cxtoCalcRowCount, 1.0, params);
  // Only the flag breaks words apart here, whatever the locale.
  params.CharBreak = FFlags & cxtoCharBreak;

  const int length = static_cast<int>(FText.size());
  int produced = 0;
  // Rows wider than the bounds widen them; laid out again, no row is wider.
  for (int pass = 0; pass < 4; ++pass) {
    BreakTextIntoRows(DC, FText.c_str(), length, bounds, params, FTextRows, produced,
                      AMaxRowCount > 0 ? AMaxRowCount + 1 : 0, this, &MeasureWithLayout);
    FRowCount = produced;
    if (AMaxRowCount > 0) FRowCount = std::min(FRowCount, AMaxRowCount);
    if (AMaxHeight > 0) FRowCount = std::min(FRowCount, RowsInHeight(AMaxHeight, params.FullRowHeight));
    FTextTruncated = produced > FRowCount;
    FTextSize = TSize(GetMaxTextRowWidth(FTextRows, FRowCount), FRowCount * params.FullRowHeight);
    if (bounds.Width() >= FTextSize.cx) break;
    bounds.Right = bounds.Left + FTextSize.cx;
  }
  if (FFlags & cxtoEndEllipsis) {
    if (AMaxWidth > 0 && AMaxWidth < FTextSize.cx) FTextTruncated = true;
    if (AMaxWidth > 0) FTextSize.cx = std::min(FTextSize.cx, AMaxWidth);
    if (AMaxHeight > 0) FTextSize.cy = std::min(FTextSize.cy, AMaxHeight);
  }
}

void TcxGdiCanvasBasedTextLayout::DrawCore(const TRect& R) { DrawRows(As<TcxGdiBasedCanvas>(FCanvas)->Handle(), R); }

void TcxGdiCanvasBasedTextLayout::DrawRows(HDC DC, const TRect& R) {
  const TSelectObject font(DC, NativeFont()->Handle());
  TcxTextParams params;
  if (FTransform) {
    // The font's metrics without the rotation, which Wine shrinks them by.
    const TSavedWorldTransform rotated(DC);
    ModifyWorldTransform(DC, nullptr, MWT_IDENTITY);
    CalcTextParamsForDC(DC, FFlags, 1.0, params);
  } else {
    CalcTextParamsForDC(DC, FFlags, 1.0, params);
  }
  CalcTextRowPositions(DC, R, params, FTextRows, FRowCount);
  if (FPaintOnGlass || FColor.rgbReserved != 255) {
    DrawTextRowsWithAlphaRecovery(DC, R, params, FTextRows, FRowCount, FTextTruncated, FColor);
    return;
  }
  const COLORREF color = SetTextColor(DC, RGB(FColor.rgbRed, FColor.rgbGreen, FColor.rgbBlue));
  TScopeExit restore([DC, color] { SetTextColor(DC, color); });
  DrawTextRowsWithColors(DC, R, params, FTextRows, FRowCount, 0, 0, clNone, clNone, FTextTruncated);
}
