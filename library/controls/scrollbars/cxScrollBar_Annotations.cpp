// The scroll-bar unit: annotation marks on the track — their layout, painting,
// the hot mark with its hint and its click, and the bar as a renderer of an
// annotation source.
#include "library/controls/scrollbars/cxScrollBar.h"

#include "library/controls/control/cxControls.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// How far the visible pixels of the current cursor reach below its hot spot.
int VisibleCursorHeightBelowHotSpot() {
  const int fallback = GetSystemMetrics(SM_CYCURSOR);
  ICONINFO info{};
  if (!GetIconInfo(GetCursor(), &info)) return fallback;
  const TOwnedBitmap mask(info.hbmMask);
  const TOwnedBitmap color(info.hbmColor);
  BITMAP bm{};
  if (!GetObjectW(info.hbmMask, sizeof(bm), &bm) || bm.bmWidth <= 0) return fallback;
  // Monochrome cursors stack the AND mask over the XOR mask.
  const int height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } bi{};
  bi.Header.biSize = sizeof(bi.Header);
  bi.Header.biWidth = bm.bmWidth;
  bi.Header.biHeight = -bm.bmHeight;
  bi.Header.biPlanes = 1;
  bi.Header.biBitCount = 32;
  std::vector<std::uint32_t> bits(static_cast<std::size_t>(bm.bmWidth) * static_cast<std::size_t>(bm.bmHeight));
  const TScreenDC screen;
  if (!GetDIBits(screen.Get(), info.hbmMask, 0, static_cast<UINT>(bm.bmHeight), bits.data(),
                 reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS))
    return fallback;
  const auto pixel = [&](int X, int Y) { return bits[static_cast<std::size_t>(Y) * bm.bmWidth + X] & 0xFFFFFF; };
  int lowest = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < bm.bmWidth; ++x) {
      const bool opaque = pixel(x, y) == 0;
      const bool inverted = !info.hbmColor && pixel(x, y + height) != 0;
      if (opaque || inverted) lowest = y;
    }
  if (lowest < 0) return fallback;
  return std::max(0, lowest + 1 - static_cast<int>(info.yHotspot));
}

// A mark's band across the bar, before it is placed along the track.
TRect CrossBand(const TRect& ABounds, const TdxScrollbarAnnotationStyle& AStyle, int AWidth, bool AVertical) {
  TRect r = ABounds;
  if (AVertical) {
    switch (AStyle.Alignment) {
      case saaNear: r.Right = r.Left + AWidth; break;
      case saaCenter: r.Left = r.Left + (r.Width() - AWidth) / 2; r.Right = r.Left + AWidth; break;
      case saaFar: r.Left = r.Right - AWidth; break;
      case saaClient: break;
    }
    r.Offset(AStyle.Offset, 0);
  } else {
    switch (AStyle.Alignment) {
      case saaNear: r.Bottom = r.Top + AWidth; break;
      case saaCenter: r.Top = r.Top + (r.Height() - AWidth) / 2; r.Bottom = r.Top + AWidth; break;
      case saaFar: r.Top = r.Bottom - AWidth; break;
      case saaClient: break;
    }
    r.Offset(0, AStyle.Offset);
  }
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxScrollbarAnnotationInfos

void TcxScrollbarAnnotationInfos::Create(TcxScrollBarHelper* AScrollbar) {
  inherited::Create();
  FScrollbar = AScrollbar;
}

void TcxScrollbarAnnotationInfos::Invalidate() { FScrollbar->InvalidateRect(FBounds, false); }

int TcxScrollbarAnnotationInfos::GetMarkLength(const TdxScrollbarAnnotationStyle& AStyle, double X) const {
  const TdxScaleFactor* factor = FScrollbar->ScaleFactor();
  const auto scaled = [factor](int V) { return factor ? factor->Apply(V) : V; };
  int minimum = scaled(std::max(0, AStyle.MinHeight));
  const int maximum = scaled(std::max(0, AStyle.MaxHeight));
  if (maximum != 0) minimum = std::min(maximum, minimum);
  if (X < minimum) return minimum;
  if (maximum != 0 && X > maximum) return maximum;
  return static_cast<int>(std::nearbyint(X));  // halves to even
}

void TcxScrollbarAnnotationInfos::Calculate(const TRect& ABounds) {
  FBounds = ABounds;
  TdxScrollbarAnnotations* source = FScrollbar->Annotations();
  if (!source) {
    FInfos.clear();
    return;
  }
  for (auto it = FInfos.begin(); it != FInfos.end();)
    it = FChangedAnnotationKinds.test(it->first) ? FInfos.erase(it) : std::next(it);
  if (FBounds.IsEmpty() || source->GetScrollableRecordCount() <= 0) return;
  for (const auto& [kind, rows] : source->ItemLists())
    if (!rows.empty() && FChangedAnnotationKinds.test(kind)) CalculateKind(kind, rows);
  FChangedAnnotationKinds.reset();
}

void TcxScrollbarAnnotationInfos::CalculateKind(TdxScrollbarAnnotationKind AKind,
                                                const TdxScrollbarAnnotationRowIndexList& ARows) {
  TdxScrollbarAnnotations* source = FScrollbar->Annotations();
  TdxScrollbarAnnotationStyle style;
  source->GetStyle(AKind, style);
  const TdxAlphaColor color =
      style.Color == dxScrollbarAnnotationDefaultColor ? FScrollbar->GetAnnotationDefaultColor(AKind) : style.Color;
  const bool vertical = FScrollbar->Kind() == sbVertical;
  const TdxScaleFactor* factor = FScrollbar->ScaleFactor();
  const int width = factor ? factor->Apply(std::max(0, style.Width)) : std::max(0, style.Width);
  const TRect band = CrossBand(FBounds, style, width, vertical);
  const std::int64_t t0 = vertical ? FBounds.Top : FBounds.Left;
  const std::int64_t trackEnd = vertical ? FBounds.Bottom : FBounds.Right;
  const std::int64_t l = vertical ? FBounds.Height() : FBounds.Width();
  const std::int64_t d = source->GetDataScrollSize();
  // Data that reports no extent cannot be mapped onto the track.
  if (d <= 0) return;

  const bool byRecord = source->IsRecordIndexBasedRendering();
  const double perRecord = static_cast<double>(l) / static_cast<double>(d);
  const int recordLength = byRecord ? GetMarkLength(style, perRecord) : 0;
  const int lastScrollable = source->GetScrollableRecordCount() - 1;
  TcxScrollbarAnnotationInfoList& marks = FInfos[AKind];
  std::int64_t previousStart = INT64_MIN;
  for (int row : ARows) {
    std::int64_t start;
    int length;
    if (byRecord) {
      start = static_cast<std::int64_t>(source->GetScrollableRecordIndexByRecordIndex(row) * perRecord +
                                        static_cast<double>(t0));
      length = recordLength;
    } else {
      const std::int64_t p0 = source->GetRecordPixelScrollPosition(row);
      const int lastInBand = source->GetLastIndexInScrollBand(row);
      const std::int64_t bandSize =
          lastInBand < lastScrollable ? source->GetRecordPixelScrollPosition(lastInBand + 1) - p0 : d - p0;
      length = GetMarkLength(style, static_cast<double>(bandSize * l) / static_cast<double>(d));
      start = static_cast<std::int64_t>(static_cast<double>(l * p0) / static_cast<double>(d) +
                                        static_cast<double>(t0));
    }
    if (!marks.empty() && start == previousStart) {
      marks.back()->RecordIndexes().push_back(row);
      continue;
    }
    previousStart = start;
    std::int64_t end = start + length;
    if (end > trackEnd) {
      start -= end - trackEnd;
      end = trackEnd;
    }
    TRect r = band;
    if (vertical) {
      r.Top = static_cast<int>(start);
      r.Bottom = static_cast<int>(end);
    } else {
      r.Left = static_cast<int>(start);
      r.Right = static_cast<int>(end);
    }
    TOwned<TcxScrollbarAnnotationInfo> info(New<TcxScrollbarAnnotationInfo>());
    info->SetBounds(r);
    info->SetColor(color);
    info->RecordIndexes().push_back(row);
    marks.push_back(std::move(info));
  }
  if (FScrollbar->UseRightToLeft())
    for (auto& mark : marks) mark->SetBounds(TdxRightToLeftLayoutConverter::ConvertRect(mark->Bounds(), FBounds));
}

// ---------------------------------------------------------------------------
// The bar as a renderer

bool TcxScrollBarHelper::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxScrollbarAnnotationRenderer>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxScrollBarHelper::SetAnnotations(TdxScrollbarAnnotations* AAnnotations) {
  if (FAnnotations == AAnnotations) return;
  if (FAnnotations) FAnnotations->RemoveRenderer(this);
  FAnnotations = AAnnotations;
  if (FAnnotations) FAnnotations->AddRenderer(this);
  if (FViewInfo) ScrollbarAnnotationsUpdate();
}

void TcxScrollBarHelper::ScrollbarAnnotationsInvalidate(const TdxScrollbarAnnotationKinds& AAnnotationKinds) {
  FViewInfo->AnnotationInfos()->SetChangedAnnotationKinds(AAnnotationKinds);
}

void TcxScrollBarHelper::ScrollbarAnnotationsUpdate() {
  TcxScrollbarAnnotationInfos* infos = FViewInfo->AnnotationInfos();
  infos->SetChangedAnnotationKinds(FAnnotations ? FAnnotations->ChangedKinds() : AllScrollbarAnnotationKinds());
  if (!FVisible) return;
  if (infos->ChangedAnnotationKinds().any()) infos->Calculate(FViewInfo->AnnotationInfosBounds());
  if (HasOwnerWindow()) infos->Invalidate();
}

TdxAlphaColor TcxScrollBarHelper::GetAnnotationDefaultColor(TdxScrollbarAnnotationKind AKind) {
  TcxLookAndFeel* lookAndFeel = LookAndFeel();
  if (!lookAndFeel && HasRootLookAndFeel()) lookAndFeel = GetRootLookAndFeel();
  TcxCustomLookAndFeelPainter* painter = lookAndFeel ? lookAndFeel->GetAvailablePainter(totScrollBar) : nullptr;
  if (!painter) return dxScrollbarAnnotationDefaultColor;
  switch (AKind) {
    case dxSelectedRowsAnnotationKind: return painter->DefaultSelectedScrollbarAnnotationColor();
    case dxFocusedRowAnnotationKind: return painter->DefaultFocusedScrollbarAnnotationColor();
    case dxSearchResultsAnnotationKind: return painter->DefaultSearchResultAnnotationColor();
    case dxErrorsAnnotationKind: return painter->DefaultErrorScrollbarAnnotationColor();
    default: return painter->DefaultCustomScrollbarAnnotationColor();
  }
}

// ---------------------------------------------------------------------------
// Painting

void TcxScrollBarPainter::DrawAnnotation(TcxCustomCanvas* ACanvas, const TcxScrollbarAnnotationInfo* AInfo) {
  const TdxAlphaColor color = AInfo->Color();
  ACanvas->FillRect(AInfo->Bounds(), color);
}

void TcxScrollBarPainter::DrawAnnotationsByKind(TcxCustomCanvas* ACanvas) {
  for (const auto& [kind, marks] : FScrollBar->ViewInfo()->AnnotationInfos()->Infos())
    for (const auto& mark : marks) DrawAnnotation(ACanvas, mark.get());
}

void TcxScrollBarPainter::DrawAnnotations(TcxCustomCanvas* ACanvas) { DrawAnnotationsByKind(ACanvas); }

// ---------------------------------------------------------------------------
// The hot mark

bool TcxScrollBarController::HasAnnotations() const { return FScrollBar->Annotations() != nullptr; }

void TcxScrollBarController::UpdateHotAnnotation(const TPoint& P) {
  FHotAnnotationRowIndex = -1;
  FHotAnnotationRowIndexLists.clear();
  const TPoint origin = FScrollBar->GetOwnerOrigin();
  for (const auto& [kind, marks] : FScrollBar->ViewInfo()->AnnotationInfos()->Infos())
    for (const auto& mark : marks) {
      if (!mark->Bounds().Contains(P)) continue;
      auto& rows = FHotAnnotationRowIndexLists[kind];
      rows.insert(rows.end(), mark->RecordIndexes().begin(), mark->RecordIndexes().end());
      if (FHotAnnotationRowIndex == -1) {
        FHotAnnotationRowIndex = mark->RecordIndexes().front();
        TRect r = mark->Bounds();
        r.Offset(origin.X, origin.Y);  // the hint helper works in owner client coordinates
        FAnnotationsHintableObject->SetBounds(r);
      }
    }
}

void TcxScrollBarController::ShowAnnotationHint() {
  if (FHotAnnotationRowIndex == -1) return;
  String text;
  FScrollBar->Annotations()->GetHint(FHotAnnotationRowIndexLists, text);
  if (text.empty()) return;
  // Leaving the mark ends the helper's mouse tracking over it, and the hint.
  const TRect area = FAnnotationsHintableObject->Bounds();
  FAnnotationsHintableObject->SetHintText(text);
  FHintHelper->ShowHint(area, area, nullptr, FAnnotationsHintableObject.get(), false, text);
}

void TcxScrollBarController::ClickHotAnnotation() {
  if (FHotAnnotationRowIndex == -1) return;
  bool handled = false;
  TdxScrollbarAnnotations* source = FScrollBar->Annotations();
  source->Click(FHotAnnotationRowIndexLists, handled);
  if (!handled) source->SetCurrentRecordIndex(FHotAnnotationRowIndex);
}

// ---------------------------------------------------------------------------
// TcxScrollBarAnnotationHintableObject, TcxScrollBarHintHelper

bool TcxScrollBarAnnotationHintableObject::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxHintableObject, IcxHintableObject2>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

void TcxScrollBarHintHelper::Create(TcxScrollBarHelper* AScrollBar) {
  inherited::Create();
  FScrollBar = AScrollBar;
}

TControl* TcxScrollBarHintHelper::GetHintControl() {
  IcxScrollBarOwner* owner = FScrollBar->Owner();
  return owner ? owner->GetControl() : nullptr;
}

TRect TcxScrollBarHintHelper::CalculateHintWindowRect(const TRect& AHintAreaBounds, const TRect& ATextRect,
                                                      bool AUseTextWidth, const String& AText) {
  TRect r = inherited::CalculateHintWindowRect(AHintAreaBounds, ATextRect, AUseTextWidth, AText);
  const TPoint cursor = ReadCursorPos();
  TControl* control = GetHintControl();
  const bool rightToLeft = control && control->UseRightToLeftAlignment();
  r.Offset((rightToLeft ? cursor.X - r.Right : cursor.X - r.Left), cursor.Y - r.Top + VisibleCursorHeightBelowHotSpot());
  return r;
}
