#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"

#include "library/core/system/dxDPIAwareUtils.h"

#include <array>

namespace {

// The predefined bitmap of the system's check boxes and radio buttons: four
// columns and three rows of cells.
constexpr WORD ObmCheckBoxes = 32759;

TcxRadioButtonColors GDefaultRadioButtonColors;
TcxRadioButtonColors* GRadioButtonColors = nullptr;

TImageList* GIndicatorImages = nullptr;
bool GIndicatorImagesFreed = false;

bool IsBlack(std::uint32_t APixel) { return (APixel & 0x00FFFFFF) == 0; }

// A white 32-bit surface of ASize.
TMemoryDC WhiteSurface(const TSize& ASize) {
  TMemoryDC surface = TMemoryDC::Dib32(nullptr, ASize.cx, ASize.cy);
  PatBlt(surface.DC(), 0, 0, ASize.cx, ASize.cy, WHITENESS);
  return surface;
}

// The pixel of a surface as it stands after GDI's drawing.
std::uint32_t PixelAt(const TMemoryDC& ASurface, int X, int Y) {
  return ASurface.Bits()[static_cast<std::size_t>(Y) * static_cast<std::size_t>(ASurface.Width()) + X] & 0x00FFFFFF;
}

// An ellipse filling R, outlined with a black pen and filled with ABrush.
void DrawEllipse(HDC DC, const TRect& R, int ABrush) {
  const TSelectObject pen(DC, GetStockObject(BLACK_PEN));
  const TSelectObject brush(DC, GetStockObject(ABrush));
  Ellipse(DC, R.Left, R.Top, R.Right, R.Bottom);
  GdiFlush();
}

COLORREF ColorOf(TColor AColor) { return ColorToColorRef(AColor); }

}  // namespace

TcxRadioButtonColors* cxRadioButtonColors() {
  return GRadioButtonColors ? GRadioButtonColors : &GDefaultRadioButtonColors;
}

void cxSetRadioButtonColors(TcxRadioButtonColors* AValue) { GRadioButtonColors = AValue; }

// ---------------------------------------------------------------------------
// TcxRadioButtonImageList

void TcxRadioButtonImageList::Create(TdxScaleFactor* AScaleFactor) {
  inherited::Create();
  FScaleFactor.reset(New<TdxScaleFactor>());
  if (AScaleFactor) FScaleFactor->Assign(AScaleFactor);
  FList.reset(New<TImageList>(nullptr));
  FList->SetColorDepth(cd24Bit);
  FList->SetMasked(true);
  Build();
}

void TcxRadioButtonImageList::Destroy() {
  FBuffer.reset();
  FList.reset();
  FButtonMask.reset();
  FScaleFactor.reset();
  inherited::Destroy();
}

int TcxRadioButtonImageList::CombinationIndex(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked,
                                              bool AFocused, bool AIsDesigning) {
  return (AState - 1) + 4 * AChecked + 8 * AKind + 32 * AIsDesigning + 64 * AFocused;
}

void TcxRadioButtonImageList::Draw(TcxCanvas* ACanvas, int X, int Y, TColor ABackgroundColor,
                                   TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked, bool AFocused,
                                   bool AIsDesigning) {
  // The default state has no images of its own (its index would be another
  // combination's, or -1): it looks normal.
  const TcxButtonState state = AState == cxbsDefault ? cxbsNormal : AState;
  const int index = FRadioButtonImageListIndexes[static_cast<std::size_t>(
      CombinationIndex(AKind, state, AChecked, AFocused, AIsDesigning))];
  const HDC DC = ACanvas->Handle();
  if (ABackgroundColor == clDefault || ABackgroundColor == clNone) {
    ImageList_Draw(FList->Handle(), index, DC, X, Y, ILD_NORMAL);
    return;
  }
  if (!FBuffer) FBuffer.emplace(TMemoryDC::Dib32(nullptr, FRadioButtonSize.cx, FRadioButtonSize.cy));
  const TOwnedBrush brush(CreateSolidBrush(ColorOf(ABackgroundColor)));
  const RECT all{0, 0, FRadioButtonSize.cx, FRadioButtonSize.cy};
  FillRect(FBuffer->DC(), &all, brush.Get());
  ImageList_Draw(FList->Handle(), index, FBuffer->DC(), 0, 0, ILD_NORMAL);
  BitBlt(DC, X, Y, FRadioButtonSize.cx, FRadioButtonSize.cy, FBuffer->DC(), 0, 0, SRCCOPY);
}

void TcxRadioButtonImageList::Reset() { CreateImages(); }

void TcxRadioButtonImageList::SetScaleFactor(TdxScaleFactor* AValue) {
  if (!AValue || FScaleFactor->Equals(AValue)) return;
  FScaleFactor->Assign(AValue);
  Build();
}

void TcxRadioButtonImageList::Build() {
  Measure();
  FBuffer.reset();
  FList->SetSize(FRadioButtonSize.cx, FRadioButtonSize.cy);
  CreateMask();
  CreatePattern();
  CreateImages();
}

void TcxRadioButtonImageList::Measure() {
  TSize cell(13, 13);
  const TOwnedBitmap checkBoxes(LoadBitmapW(nullptr, MAKEINTRESOURCEW(ObmCheckBoxes)));
  BITMAP info{};
  if (checkBoxes.Get() && GetObjectW(checkBoxes.Get(), sizeof info, &info))
    cell = TSize(info.bmWidth / 4, info.bmHeight / 3);
  cell = FScaleFactor->Apply(cell, SystemScaleFactor());

  // The glyph: the rows and columns of the system's radio image that hold
  // black.
  TMemoryDC image = WhiteSurface(cell);
  RECT cellRect{0, 0, cell.cx, cell.cy};
  DrawFrameControl(image.DC(), &cellRect, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE);
  GdiFlush();
  TRect glyph(cell.cx, cell.cy, 0, 0);
  for (int y = 0; y < cell.cy; ++y)
    for (int x = 0; x < cell.cx; ++x)
      if (IsBlack(PixelAt(image, x, y))) glyph = TRect(std::min<int>(glyph.Left, x), std::min<int>(glyph.Top, y),
                                                       std::max<int>(glyph.Right, x + 1), std::max<int>(glyph.Bottom, y + 1));
  if (glyph.IsEmpty()) glyph = TRect(0, 0, cell.cx, cell.cy);
  FRadioButtonRect = glyph;
  FRadioButtonSize = glyph.GetSize();

  // The check dot: from the glyph's centre, the run of window-text pixels
  // along the middle column and the middle row of a checked radio button.
  TMemoryDC checked = WhiteSurface(cell);
  DrawFrameControl(checked.DC(), &cellRect, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_FLAT);
  GdiFlush();
  const std::uint32_t text = [] {
    const COLORREF c = GetSysColor(COLOR_WINDOWTEXT);
    return static_cast<std::uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
  }();
  const TPoint centre = GetRectCenter(glyph);
  const auto isDot = [&](int X, int Y) { return glyph.Contains(TPoint(X, Y)) && PixelAt(checked, X, Y) == text; };
  TRect dot(centre.X, centre.Y, centre.X + 1, centre.Y + 1);
  while (isDot(centre.X, dot.Top - 1)) --dot.Top;
  while (isDot(centre.X, dot.Bottom)) ++dot.Bottom;
  while (isDot(dot.Left - 1, centre.Y)) --dot.Left;
  while (isDot(dot.Right, centre.Y)) ++dot.Right;
  FRadioButtonCheckRect = dot;
}

void TcxRadioButtonImageList::CreateMask() {
  FButtonMask.reset(New<TBitmap>());
  FButtonMask->SetMonochrome(true);
  FButtonMask->SetSize(FRadioButtonSize.cx, FRadioButtonSize.cy);
  const HDC DC = FButtonMask->Canvas()->Handle();
  PatBlt(DC, 0, 0, FRadioButtonSize.cx, FRadioButtonSize.cy, WHITENESS);
  DrawEllipse(DC, TRect(0, 0, FRadioButtonSize.cx, FRadioButtonSize.cy), BLACK_BRUSH);
}

void TcxRadioButtonImageList::CreatePattern() {
  const int w = FRadioButtonSize.cx;
  const int h = FRadioButtonSize.cy;
  FRadioButtonPattern.assign(static_cast<std::size_t>(w * h), pcOutside);
  // Which half of a ring a pixel is in: above the diagonal from the
  // bottom-left to the top-right corner is the top-left half.
  const auto side = [&](int ARow, int AColumn) { return (h - 1) * (w - 1 - AColumn) - ARow * (w - 1); };

  // 1. The outer ring: the outline of an ellipse.
  TMemoryDC outline = WhiteSurface(FRadioButtonSize);
  DrawEllipse(outline.DC(), TRect(0, 0, w, h), WHITE_BRUSH);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c)
      if (IsBlack(PixelAt(outline, c, r))) Pattern(r, c) = side(r, c) >= 0 ? pcOuterTopLeft : pcOuterBottomRight;

  // 2. The body: every inner row from the middle outwards to the ring.
  const int middle = w / 2;
  for (int r = 1; r < h - 1; ++r) {
    if (Pattern(r, middle) != pcOutside) continue;
    for (int c = middle; c >= 0 && Pattern(r, c) == pcOutside; --c) Pattern(r, c) = pcBody;
    for (int c = middle + 1; c < w && Pattern(r, c) == pcOutside; ++c) Pattern(r, c) = pcBody;
  }

  // 3. The inner ring: the body's first pixel from each side of every inner
  // row and column, and the body of the first and last inner rows and
  // columns.
  const std::vector<TPixelClass> body = FRadioButtonPattern;
  const auto isBody = [&](int ARow, int AColumn) {
    return body[static_cast<std::size_t>(ARow * w + AColumn)] == pcBody;
  };
  const auto toInnerRing = [&](int ARow, int AColumn) {
    const int s = side(ARow, AColumn);
    const bool topLeft = s > 0 || (s == 0 && AColumn <= w / 2 - 1);
    Pattern(ARow, AColumn) = topLeft ? pcInnerTopLeft : pcInnerBottomRight;
  };
  for (int r = 1; r < h - 1; ++r) {
    int first = -1;
    int last = -1;
    for (int c = 0; c < w; ++c)
      if (isBody(r, c)) {
        if (first < 0) first = c;
        last = c;
      }
    if (first < 0) continue;
    toInnerRing(r, first);
    toInnerRing(r, last);
  }
  for (int c = 1; c < w - 1; ++c) {
    int first = -1;
    int last = -1;
    for (int r = 0; r < h; ++r)
      if (isBody(r, c)) {
        if (first < 0) first = r;
        last = r;
      }
    if (first < 0) continue;
    toInnerRing(first, c);
    toInnerRing(last, c);
  }
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c)
      if (isBody(r, c) && (r == 1 || r == h - 2 || c == 1 || c == w - 2)) toInnerRing(r, c);

  // 4. The check dot, where the system draws it.
  TMemoryDC dot = WhiteSurface(FRadioButtonSize);
  TRect check = FRadioButtonCheckRect;
  check.Offset(-FRadioButtonRect.Left, -FRadioButtonRect.Top);
  DrawEllipse(dot.DC(), check, BLACK_BRUSH);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c)
      if (IsBlack(PixelAt(dot, c, r))) Pattern(r, c) = pcCheck;
}

void TcxRadioButtonImageList::CreateImages() {
  TcxRadioButtonColors* colors = cxRadioButtonColors();
  const TOwned<TBitmap> image(New<TBitmap>());
  image->SetPixelFormat(pf32bit);
  image->SetSize(FRadioButtonSize.cx, FRadioButtonSize.cy);
  FList->BeginUpdate();
  const TScopeExit endUpdate([this] { FList->EndUpdate(); });
  FList->Clear();
  FRadioButtonImageListIndexes.assign(ImageCount, -1);
  for (int combination = 0; combination < ImageCount; ++combination) {
    const auto state = static_cast<TcxButtonState>(combination % 4 + 1);
    const bool checked = combination / 4 % 2;
    const auto kind = static_cast<TcxLookAndFeelKind>(combination / 8 % 4);
    const bool designing = combination / 32 % 2;
    const bool focused = combination / 64 % 2;

    const TColor bodyColor = colors->BodyColor(kind, state);
    const bool highlighted = focused || state == cxbsHot || state == cxbsPressed;
    TColor outer[2];
    TColor inner[2] = {bodyColor, bodyColor};
    switch (kind) {
      case lfFlat:
        outer[0] = clBtnShadow;
        outer[1] = clBtnHighlight;
        inner[0] = inner[1] = cl3DLight;
        break;
      case lfStandard:
        outer[0] = clBtnShadow;
        outer[1] = clBtnHighlight;
        inner[0] = cl3DDkShadow;
        inner[1] = cl3DLight;
        break;
      case lfUltraFlat:
        outer[0] = outer[1] = highlighted || (designing && state != cxbsDisabled) ? clHighlight : clBtnShadow;
        break;
      case lfOffice11:
        outer[0] = outer[1] = state == cxbsDisabled             ? colors->Office11DisabledTextColor()
                              : highlighted || designing        ? colors->Office11HighlightBorderColor()
                                                                : clBtnText;
        break;
    }
    TColor checkColor = bodyColor;
    if (checked)
      checkColor = state != cxbsDisabled ? clWindowText
                   : kind == lfOffice11  ? colors->Office11DisabledTextColor()
                                         : clBtnShadow;

    std::array<std::uint32_t, 7> pixels{};  // by class; outside stays black
    const TColor byClass[] = {clBlack, outer[0], outer[1], inner[0], inner[1], bodyColor, checkColor};
    for (int i = 1; i < 7; ++i) {
      const COLORREF c = ColorOf(byClass[i]);
      pixels[static_cast<std::size_t>(i)] =
          static_cast<std::uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    }
    for (int r = 0; r < FRadioButtonSize.cy; ++r) {
      auto* row = static_cast<std::uint32_t*>(image->ScanLine(r));
      for (int c = 0; c < FRadioButtonSize.cx; ++c) row[c] = pixels[Pattern(r, c)];
    }
    image->Changed(image.get());
    FRadioButtonImageListIndexes[static_cast<std::size_t>(combination)] = FList->Add(image.get(), FButtonMask.get());
  }
}

// ---------------------------------------------------------------------------
// Row indicator

TCustomImageList* cxIndicatorImages() {
  if (GIndicatorImages || GIndicatorImagesFreed) return GIndicatorImages;
  static constexpr const wchar_t* names[] = {L"CX_ARROWBITMAP",      L"CX_EDITBITMAP",       L"CX_INSERTBITMAP",
                                             L"CX_MULTIDOTBITMAP",   L"CX_MULTIARROWBITMAP", L"CX_FILTERBITMAP",
                                             L"CX_INPLACEEDITBITMAP", L"CX_SORTBYSUMMARYVALUE"};
  TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetSize(8, 9);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const wchar_t* name : names) {
    const TOwned<TBitmap> bitmap(New<TBitmap>());
    // A program built without the bitmaps keeps each image's place, blank.
    if (FindResourceW(instance, name, RT_BITMAP)) {
      bitmap->LoadFromResourceName(instance, name);
    } else {
      bitmap->SetSize(8, 9);
      PatBlt(bitmap->Canvas()->Handle(), 0, 0, 8, 9, WHITENESS);
    }
    images->AddMasked(bitmap.get(), clWhite);
  }
  GIndicatorImages = images.release();
  return GIndicatorImages;
}

void cxFreeIndicatorImages() {
  GIndicatorImagesFreed = true;
  FreeAndNil(GIndicatorImages);
}

void cxDrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                          const TdxScaleFactor* AScaleFactor) {
  TCustomImageList* images = cxIndicatorImages();
  if (AKind == ikNone || !images) return;
  const bool mirror = (AKind == ikArrow || AKind == ikMultiArrow) && ACanvas->UseRightToLeftAlignment();
  PaintMirroredIfRightToLeft(ACanvas->Handle(), R, mirror, [&] {
    DrawScaledImage(ACanvas->Canvas(), R, nullptr, images, AKind - 1, ifmNormal, idmNormal, false, nullptr,
                    AScaleFactor);
  });
}
