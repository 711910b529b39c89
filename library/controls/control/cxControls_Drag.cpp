// Dragging a library control onto other controls through the class
// library's drag: the drag object a control hands out, and the control's
// side of the drag (start after the drag-detect loop, start and refusal,
// the drag object a target hears of, the picture that follows the mouse);
// and middle-button scrolling, which starts from the same press.

#include "library/controls/control/cxControls_Internal.h"

namespace {

TDragObject* GDragObject = nullptr;

}  // namespace

// A remembered object counts only while its drag runs: afterwards it may be gone.
TDragObject* cxDragObject() { return GDragObject && GDragObject == DragObject() ? GDragObject : nullptr; }

// ---------------------------------------------------------------------------
// TcxDragControlObject

void TcxDragControlObject::Finished(TObject* Target, int X, int Y, bool Accepted) {
  inherited::Finished(Target, X, Y, Accepted);
  Free();
}

TCursor TcxDragControlObject::GetDragCursor(bool Accepted, int X, int Y) {
  auto* control = dynamic_cast<TcxControl*>(Control());
  if (Accepted && control && control->IsCopyDragging()) return static_cast<TCursor>(crDragCopy);
  return inherited::GetDragCursor(Accepted, X, Y);
}

// ---------------------------------------------------------------------------
// TcxControl: the class library's drag

void TcxControl::BeginAutoDragAt(TMouseButton Button, int X, int Y) {
  if (Button == mbMiddle) {
    if (WantsScrollBars())
      MiddleButtonScrolling(this, IsScrollBarVisible(sbHorizontal), IsScrollBarVisible(sbVertical),
                            FIsScrollingContent, [this](TcxDirection ADirection) { ScrollContent(ADirection); });
    return;
  }
  if (Button != mbLeft || DragMode() != dmAutomatic || !MouseCapture()) return;
  if ((IsDesigning() && !AllowsDesignTimeDrag(X, Y)) || !CanDrag(X, Y)) return;
  if (cxDragDetect(Handle(), ClientToScreen(TPoint(X, Y))) == ddDrag) BeginDrag(false, -1);
}

TClass TcxControl::GetDragControlObjectClass() { return TcxDragControlObject::ClassInfo(); }

void TcxControl::DoStartDrag(TDragObject*& DragObject) {
  TControlTracker alive(this);
  Update();
  inherited::DoStartDrag(DragObject);
  if (!alive.Alive()) return;
  if (!DragObject) DragObject = NewOfClass<TDragControlObject>(GetDragControlObjectClass(), static_cast<TControl*>(this));
  if (!StartDrag()) {
    FreeAndNil(DragObject);
    CancelDrag();
  }
}

void TcxControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  if (auto* object = dynamic_cast<TDragObject*>(Source)) GDragObject = State == dsDragLeave ? nullptr : object;
  inherited::DragOver(Source, X, Y, State, Accept);
}

void TcxControl::DoEndDrag(TObject* Target, int X, int Y) {
  inherited::DoEndDrag(Target, X, Y);
  FDragImages.reset();
}

// ---------------------------------------------------------------------------
// TcxControl: the dragged picture

TClass TcxControl::DragImageListClass() { return TcxDragImageList::ClassInfo(); }

TDragImageList* TcxControl::GetDragImages() {
  if (!ShowsDragImage()) return nullptr;
  if (!FDragImages) {
    FDragImages.reset(NewOfClass<TDragImageList>(DragImageListClass(), nullptr));
    PrepareDragImages();
  }
  return FDragImages->Count() > 0 ? FDragImages.get() : nullptr;
}

void TcxControl::PrepareDragImages() {
  const TSize size = DragImageSize();
  if (size.cx <= 0 || size.cy <= 0) {
    FDragImages->Clear();
    return;
  }
  FDragImages->SetSize(size.cx, size.cy);
  const TOwned<TcxBitmap> picture(New<TcxBitmap>());
  picture->CreateSize(size.cx, size.cy);
  DrawDragImage(picture->cxCanvas(), picture->ClientRect());
  FDragImages->AddMasked(picture.get(), picture->TransparentColor());
}

void TcxControl::ScrollWindow(int DX, int DY, const TRect& AScrollRect) {
  TDragObject* dragged = cxDragObject();
  if (dragged) dragged->HideDragImage();
  const RECT r = AScrollRect;
  ScrollWindowEx(Handle(), DX, DY, &r, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  if (dragged) dragged->ShowDragImage();
}
