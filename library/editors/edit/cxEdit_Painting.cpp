// TcxCustomEdit: the layout calculator set up for the editor's state, the
// paint record it keeps, and the repaint of what a new layout changes.
#include "library/editors/edit/cxEdit.h"

#include <utility>

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
  AViewData->IsDesigning = IsDesigning();
}

void TcxCustomEdit::CalculateViewInfoAt(TcxCustomEditViewInfo* AViewInfo, const TPoint& P, TcxMouseButton AButton,
                                        TShiftState AShift, bool AIsMouseEvent) {
  const TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
  const TRect bounds(0, 0, Width(), Height());
  viewData->Calculate(Canvas(), bounds, P, AButton, AShift, AViewInfo, AIsMouseEvent);
  if (UseRightToLeftAlignment()) viewData->DoRightToLeftConversion(AViewInfo, bounds);
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
  CalculateViewInfoAt(ViewInfo(), P, AButton, AShift, AIsMouseEvent);
  // The leave notice that ends the hot state needs the mouse tracked.
  if (ViewInfo()->ContainerState.Contains(csHotTrack)) BeginHotTracking();
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
    // The record depends on the inner control's place and visibility only:
    // it is calculated again when placing the inner control changed them.
    const auto innerState = [this] {
      TWinControl* inner = InnerControl();
      return std::pair(inner && inner->Visible(), inner ? inner->BoundsRect() : TRect());
    };
    const auto before = innerState();
    AdjustInnerControlLocked();
    if (innerState() != before) UpdateHotTrackState(P, AButton, AShift, AIsMouseEvent);
    UpdateWindowRegion();
  }
  return true;
}
