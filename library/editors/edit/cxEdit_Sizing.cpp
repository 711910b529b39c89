// TcxCustomEdit: automatic size, the anchor that keeps a self-sizing editor
// in place, the size and anchors a form file holds, and their rescaling.
#include "library/editors/edit/cxEdit.h"

#include "library/controls/control/cxControls.h"
#include "platform/classes/Filer.h"

namespace {

// The distance from the start of an extent to its middle, rounded up, so
// that an odd extent keeps its extra pixel on the near side of the anchor.
int MiddleOffset(int AExtent) { return AExtent / 2 + AExtent % 2; }

}  // namespace

// ---------------------------------------------------------------------------
// Automatic size

bool TcxCustomEdit::CanAutoSize() { return !IsInplace() && AutoSize(); }

bool TcxCustomEdit::CanAutoWidth() { return ActiveProperties()->ButtonsViewStyle() == bvsButtonsAutoWidth; }

// An editor stretched between two opposite anchors takes its size on that
// axis from the parent, never from its content.
bool TcxCustomEdit::IsAutoWidthActive() {
  return CanAutoSize() && CanAutoWidth() && FAutoWidth && !(Anchors().Contains(akLeft) && Anchors().Contains(akRight));
}

bool TcxCustomEdit::IsAutoHeightActive() {
  return CanAutoSize() && CanAutoHeight() && FAutoHeight &&
         !(Anchors().Contains(akTop) && Anchors().Contains(akBottom));
}

void TcxCustomEdit::GetEditSizeProperties(TcxEditSizeProperties& ASizeProperties) {
  ASizeProperties = TcxEditSizeProperties{};
  ASizeProperties.MaxLineCount = 1;
}

void TcxCustomEdit::CalculateAutoSize(int& AWidth, int& AHeight) {
  // Measuring reuses the record of the last layout: before the first one
  // there is nothing to measure against.
  if (!CanAutoSize() || !ViewInfo() || !ViewInfo()->Calculated()) return;
  TcxEditSizeProperties sizeProperties;
  GetEditSizeProperties(sizeProperties);
  sizeProperties.Height = AHeight;
  sizeProperties.Width = AWidth;
  const TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
  TcxScreenCanvas* canvas = SharedScreenCanvas();
  const TScopeExit release([canvas] { canvas->Dormant(); });
  const TSize size = viewData->GetEditSize(canvas, EditValue(), sizeProperties, ViewInfo());
  if (IsAutoWidthActive()) AWidth = size.cx;
  if (IsAutoHeightActive()) AHeight = size.cy;
}

bool TcxCustomEdit::CanResize(int& NewWidth, int& NewHeight) {
  const bool result = inherited::CanResize(NewWidth, NewHeight);
  if (result && !IsLoading()) CalculateAutoSize(NewWidth, NewHeight);
  return result;
}

void TcxCustomEdit::SetAutoSize(bool AValue) {
  if (AValue == AutoSize() || IsInplace()) return;
  FAutoWidth = AValue;
  FAutoHeight = AValue;
  ApplyAutoSize(AValue);
}

void TcxCustomEdit::ApplyAutoSize(bool AValue) {
  AutoSizeChanged();
  if (!AValue) return;
  LockRefresh();
  const TScopeExit unlock([this] { UnlockRefresh(false); });
  EnsureHandle();
  AdjustInnerControlLocked();
}

// Creating the window lays the editor out, which may read the height again.
void TcxCustomEdit::EnsureHandle() {
  if (FHandleAllocating || HandleAllocated() || IsDestroying() || !CanHaveWindowHandle(this)) return;
  FHandleAllocating = true;
  const TScopeExit done([this] { FHandleAllocating = false; });
  HandleNeeded();
}

int TcxCustomEdit::Height() {
  EnsureHandle();
  return inherited::Height();
}

// ---------------------------------------------------------------------------
// Layout and anchors

void TcxCustomEdit::AdjustInnerControlBounds() {
  if (!HandleAllocated() || IsDestroying()) return;
  int width = Width(), height = inherited::Height();
  CalculateAutoSize(width, height);
  int left = Left(), top = Top();
  // While scaling, the bounds are the scaled ones; the anchor is taken from
  // them at the next layout.
  if (!IsScaleChanging() && KeepsAnchor() && IsAutoWidthActive() && !IsWordWrapped()) {
    if (!FIsFirstSetSize) CalculateAnchors();
    FIsFirstSetSize = false;
    // The layout calculator carries the content alignment of the properties.
    const TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
    if (KeepsHorizontalAnchor() && FAnchorX != NoAnchor)
      left = FAnchorX - (viewData->HorzAlignment == taCenter ? MiddleOffset(width) : width);
    if (KeepsVerticalAnchor() && FAnchorY != NoAnchor)
      top = FAnchorY - (viewData->VertAlignment == taVCenter ? MiddleOffset(height) : height);
  }
  const bool changed = width != Width() || height != inherited::Height();
  // Bounds that stay are not set again: setting them would measure the
  // content a second time to find the same size.
  if (changed || left != Left() || top != Top()) SetBounds(left, top, width, height);
  PlaceInnerEdit();
  if (changed) AdjustControlAutoSize(Parent());
}

void TcxCustomEdit::PlaceInnerEdit() {
  if (!HasInnerEdit() || !InnerControl()) return;
  TRect r = ViewInfo()->InnerEditRect;
  InnerControl()->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  AlignControls(InnerControl(), r);
}

void TcxCustomEdit::CalculateAnchors() {
  // Bounds being read are not final: the anchors read with them hold.
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  const TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
  const int width = Width(), height = inherited::Height();
  if (KeepsHorizontalAnchor())
    FAnchorX = Left() + (viewData->HorzAlignment == taCenter ? MiddleOffset(width) : width);
  if (KeepsVerticalAnchor())
    FAnchorY = Top() + (viewData->VertAlignment == taVCenter ? MiddleOffset(height) : height);
}

// ---------------------------------------------------------------------------
// Form files

// Height and Width are written here rather than by the property system, and
// only where the content does not decide them; the anchors of a kind that
// keeps them follow.
void TcxCustomEdit::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  auto* ancestor = dynamic_cast<TcxCustomEdit*>(AFiler->Ancestor());
  const bool heightStored = !(CanAutoSize() && CanAutoHeight()) &&
                            (!ancestor || ancestor->inherited::Height() != inherited::Height());
  const bool widthStored = !(CanAutoSize() && CanAutoWidth() && !IsWordWrapped()) &&
                           (!ancestor || ancestor->Width() != Width());
  AFiler->DefineProperty(
      L"Height", [this](TReader* R) { SetHeight(R->ReadInteger()); },
      [this](TWriter* W) { W->WriteInteger(inherited::Height()); }, heightStored);
  AFiler->DefineProperty(
      L"Width", [this](TReader* R) { SetWidth(R->ReadInteger()); }, [this](TWriter* W) { W->WriteInteger(Width()); },
      widthStored);
  AFiler->DefineProperty(
      L"AnchorX",
      [this](TReader* R) {
        FAnchorX = R->ReadInteger();
        FAnchorScalingFlags.Include(sfLeft);
      },
      [this](TWriter* W) {
        CalculateAnchors();
        W->WriteInteger(FAnchorX);
      },
      KeepsHorizontalAnchor());
  AFiler->DefineProperty(
      L"AnchorY",
      [this](TReader* R) {
        FAnchorY = R->ReadInteger();
        FAnchorScalingFlags.Include(sfTop);
      },
      [this](TWriter* W) {
        CalculateAnchors();
        W->WriteInteger(FAnchorY);
      },
      KeepsVerticalAnchor());
}

// ---------------------------------------------------------------------------
// Scaling

// Anchors read from a form file are in the file's resolution; those found at
// run time are taken from the scaled bounds at the next layout instead.
void TcxCustomEdit::ApplyScale(int M, int D, bool AIsDpiChange) {
  if (M != D && (!IsLoading() || !FAnchorScalingFlags.Empty())) {
    if (FAnchorScalingFlags.Contains(sfLeft)) FAnchorX = MulDiv(FAnchorX, M, D);
    if (FAnchorScalingFlags.Contains(sfTop)) FAnchorY = MulDiv(FAnchorY, M, D);
  }
  FAnchorScalingFlags = {};
  inherited::ApplyScale(M, D, AIsDpiChange);
}

void TcxCustomEdit::AfterScaleChange() {
  FillContentParams();
  inherited::AfterScaleChange();
}
