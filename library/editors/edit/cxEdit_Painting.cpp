// TcxCustomEdit: the layout calculator set up for the editor's state, the
// paint record it keeps, and the repaint of what a new layout changes.
#include "library/editors/edit/cxEdit.h"

#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"

#include <tuple>

// ---------------------------------------------------------------------------
// View data

TClass TcxCustomEdit::ViewInfoClass() {
  // The container makes its record before the properties exist; InitializeEdit
  // makes it again once they do.
  return FProperties ? FProperties->GetViewInfoClass() : inherited::ViewInfoClass();
}

TOwned<TcxCustomEditViewData> TcxCustomEdit::CreateEditViewData() {
  TOwned<TcxCustomEditViewData> result =
      ActiveProperties()->CreateViewData(static_cast<TcxCustomEditStyle*>(CurrentStyle()), IsInplace());
  result->ScaleFactor()->Assign(ScaleFactor());
  result->SupportsTouchMode = FSupportsTouchMode;
  // An in-place editor's owner may have changed its margins.
  if (FIsContentParamsInitialized && IsInplace()) result->EditContentParams = ContentParams;
  result->SetEdit(IsInnerControlMissing() ? nullptr : this);
  result->WindowHandle = HandleAllocated() ? Handle() : nullptr;
  FillViewDataState(result.get());
  return result;
}

void TcxCustomEdit::FillViewDataState(TcxCustomEditViewData* AViewData) {
  AViewData->Enabled = Enabled();
  AViewData->Focused = Focused();
  AViewData->IsTouchScrollUIMode = IsOverlayScrollMode();
  AViewData->UseRightToLeftScrollBar = UseRightToLeftScrollBar();
  AViewData->UseRightToLeftAlignment = UseRightToLeftAlignment();
  AViewData->UseRightToLeftReading = UseRightToLeftReading();
  AViewData->PaintOnGlass = ControlState().Contains(csGlassPaint);
  AViewData->HScrollBar = IsScrollBarVisible(sbHorizontal) ? GetHorzScrollBar() : nullptr;
  AViewData->InnerEdit = FInnerEdit;
  AViewData->IsDesigning = IsDesigning();
  AViewData->VScrollBar = IsScrollBarVisible(sbVertical) ? GetVertScrollBar() : nullptr;
}

void TcxCustomEdit::PrepareViewData(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo) {
  AViewData->Focused = Focused();
  if (InternalProperties()->UseLeftAlignmentOnEditing()) AViewData->HorzAlignment = taLeftJustify;
  AViewData->SelBackgroundColor = clHighlight;
  AViewData->SelTextColor = clHighlightText;
  PrepareViewDataValue(AViewData, AViewInfo);
}

void TcxCustomEdit::PrepareViewDataValue(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo) {
  AViewData->EditValueToDrawValue(EditingValue(), AViewInfo);
}

void TcxCustomEdit::FillContentParams() {
  const TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
  viewData->InitializeEditContentParams(ContentParams);
  FIsContentParamsInitialized = true;
}

void TcxCustomEdit::CalculateViewInfoAt(TcxCustomEditViewInfo* AViewInfo, const TPoint& P, TcxMouseButton AButton,
                                        TShiftState AShift, bool AIsMouseEvent) {
  const TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
  const TRect bounds(0, 0, Width(), Height());
  viewData->Calculate(Canvas(), bounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  if (UseRightToLeftAlignment()) viewData->DoRightToLeftConversion(AViewInfo, bounds);
}

TOwned<TcxCustomEditViewInfo> TcxCustomEdit::NewEditViewInfo() {
  TOwned<TcxCustomEditViewInfo> result(NewOfClass<TcxCustomEditViewInfo>(ActiveProperties()->GetViewInfoClass()));
  result->SetEdit(this);
  return result;
}

void TcxCustomEdit::GetBorderExtents(TRect& R) {
  const TcxCustomEditViewInfo* vi = ViewInfo();
  R = TRect(vi->ShadowRect.Left - vi->Bounds.Left, vi->ShadowRect.Top - vi->Bounds.Top,
            vi->Bounds.Right - vi->ShadowRect.Right, vi->Bounds.Bottom - vi->ShadowRect.Bottom);
}

// ---------------------------------------------------------------------------
// Refresh

void TcxCustomEdit::UpdateHotTrackState(const TPoint& P, TcxMouseButton AButton, TShiftState AShift,
                                        bool AIsMouseEvent) {
  const bool wasHot = ViewInfo()->ContainerState.Contains(csHotTrack);
  CalculateViewInfoAt(ViewInfo(), P, AButton, AShift, AIsMouseEvent);
  const bool hot = ViewInfo()->ContainerState.Contains(csHotTrack);
  // The leave notice that ends the hot state needs the mouse tracked.
  if (hot) BeginHotTracking();
  if (hot != wasHot)
    if (TdxFader* fader = GetFader()) fader->Fade(this, hot ? fsFadeIn : fsFadeOut);
}

bool TcxCustomEdit::RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent) {
  if (!MouseCapture()) FCaptureButtonVisibleIndex = -1;
  // Mouse moves repaint only what they change: the record before them is kept
  // to compare with.
  TOwned<TcxCustomEditViewInfo> previous;
  if (AIsMouseEvent) {
    previous.reset(NewOfClass<TcxCustomEditViewInfo>(ActiveProperties()->GetViewInfoClass()));
    previous->Assign(ViewInfo());
  }
  ViewInfo()->SaveButtonStates();
  UpdateHotTrackState(P, AButton, AShift, AIsMouseEvent);
  const TRect innerEditBounds = IsEditClass() && InnerControl() ? InnerControl()->BoundsRect() : TRect();
  const bool changed = ViewInfo()->Repaint(this, innerEditBounds, previous.get());
  if (changed || !previous) {
    // The record depends on the editor's size (automatic size may change it)
    // and the inner control's place and visibility only: it is calculated
    // again when the inner layout changed them.
    const auto layoutState = [this] {
      TWinControl* inner = InnerControl();
      const TRect bounds = BoundsRect();
      return std::tuple(bounds.Width(), bounds.Height(), inner && inner->Visible(), inner ? inner->BoundsRect() : TRect());
    };
    const auto before = layoutState();
    AdjustInnerControlLocked();
    if (layoutState() != before) UpdateHotTrackState(P, AButton, AShift, AIsMouseEvent);
    UpdateWindowRegion();
  }
  return true;
}

// ---------------------------------------------------------------------------
// Painting

void TcxCustomEdit::PaintControl() {
  if (!UsesDataPanelPainting()) {
    inherited::PaintControl();
    return;
  }
  PaintOnDataPanel();
  PaintScrollBars(ActualCanvas());
}

bool TcxCustomEdit::IsBoundToDataStorage() {
  TcxCustomEditDefaultValuesProvider* provider = DataBinding()->DefaultValuesProvider();
  return provider && provider->IsDataStorage();
}

// A copy painted for a data-aware panel's other rows shows the stored value,
// not the one being edited.
bool TcxCustomEdit::UsesDataPanelPainting() {
  if (ModifiedAfterEnter() || !ControlState().Contains(csPaintCopy) || !IsBoundToDataStorage() ||
      IsPaintingAsParentBackground(this))
    return false;
  for (TWinControl* ancestor = Parent(); ancestor; ancestor = ancestor->Parent())
    if (ancestor->ClassName() == L"TDBCtrlPanel") return true;
  return false;
}

void TcxCustomEdit::PaintOnDataPanel() {
  TcxCanvas* canvas = Canvas();
  canvas->SetClipRegion(NewWith<TcxRegion>([this](TcxRegion* r) { r->CreateFromWindow(Handle()); }), roIntersect);
  const TRect bounds(0, 0, Width(), inherited::Height());
  const TOwned<TcxCustomEditViewInfo> viewInfo = NewEditViewInfo();
  const TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
  viewData->EditValueToDrawValue(DataBinding()->GetStoredValue(), viewInfo.get());
  viewData->Calculate(canvas, bounds, TPoint(-1, -1), cxmbLeft, {}, viewInfo.get(), false);
  viewInfo->Paint(canvas);
  canvas->ExcludeClipRect(bounds);
}

bool TcxCustomEdit::NeedsDoubleBuffering() {
  if (inherited::NeedsDoubleBuffering()) return true;
  const TdxFader* fader = GetFader();
  return fader && fader->Contains(this);
}

// ---------------------------------------------------------------------------
// Fading

bool TcxCustomEdit::IsFadingEnabled() { return ViewInfo()->IsFadingAvailable() && !IsInplace(); }

void TcxCustomEdit::GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) {
  TOwned<TcxBitmap32> normal, hot;
  GetFadeImages(normal, hot);
  AFadeOutImage.reset(normal.release());
  AFadeInImage.reset(hot.release());
}

void TcxCustomEdit::GetFadeImages(TOwned<TcxBitmap32>& ANormal, TOwned<TcxBitmap32>& AHot) {
  const auto frameAt = [this](const TPoint& P) {
    const TOwned<TcxCustomEditViewInfo> viewInfo = NewEditViewInfo();
    CalculateViewInfoAt(viewInfo.get(), P, cxmbLeft, {}, true);
    // The fader takes pure black for transparent.
    viewInfo->SetBackgroundColor(TdxFadingHelper::CheckColor(viewInfo->BackgroundColor()));
    viewInfo->BorderColor = TdxFadingHelper::CheckColor(viewInfo->BorderColor);
    const TRect& bounds = viewInfo->Bounds;
    TOwned<TcxBitmap32> result(
        NewWith<TcxBitmap32>([&bounds](TcxBitmap32* b) { b->CreateSize(bounds.Width(), bounds.Height()); }));
    TcxCanvas* canvas = result->cxCanvas();
    const TcxWindowOrgScope origin(canvas, TPoint(-bounds.Left, -bounds.Top));
    PaintEditBackground(canvas, viewInfo.get(), true);
    return result;
  };
  ANormal = frameAt(TPoint(-1, -1));
  AHot = frameAt(GetRectCenter(TRect(0, 0, Width(), Height())));
}
