// The control unit's helpers: the drag-and-drop object, scaling, unhandled
// keys, right-to-left mirroring and the design selector.
#include "library/controls/control/cxControls_Internal.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <map>
#include <memory>
#include <utility>

// ---------------------------------------------------------------------------
// TcxDragAndDropObject

void TcxDragAndDropObject::Create(TWinControl* AControl, TcxCanvas* ACanvas) {
  FControl = AControl;
  FCanvas = ACanvas;
  CurMousePos = PrevMousePos = TPoint(-1, -1);
}

void TcxDragAndDropObject::SetDirty(bool AValue) {
  if (FDirty == AValue) return;
  FDirty = AValue;
  DirtyChanged();
}

void TcxDragAndDropObject::GetClientCursorPos(TPoint& P) {
  const TPoint cursor = ReadCursorPos();
  P = FControl ? FControl->ScreenToClient(cursor) : cursor;
}

TCursor TcxDragAndDropObject::GetDragAndDropCursor(bool Accepted) { return Accepted ? crDrag : crNoDrop; }

TPoint TcxDragAndDropObject::TranslateCoords(const TPoint& P) {
  const int zoom = ZoomPercent();
  return TPoint(MulDiv(P.X, 100, zoom), MulDiv(P.Y, 100, zoom));
}

void TcxDragAndDropObject::StartDragging() { DirtyChanged(); }

void TcxDragAndDropObject::TrackDragging(const TPoint& /*P*/, bool& Accepted) {
  SetDirty(false);
  if (Screen()) Screen()->SetCursor(GetDragAndDropCursor(Accepted));
}

void TcxDragAndDropObject::FinishDragging(bool /*Accepted*/) { SetDirty(true); }

void TcxDragAndDropObject::DoBeginDragAndDrop() {
  BeforeBeginDragAndDrop();
  TPoint p;
  GetClientCursorPos(p);
  CurMousePos = PrevMousePos = TranslateCoords(p);
  StartDragging();
}

void TcxDragAndDropObject::DoDragAndDrop(const TPoint& P, bool& Accepted) {
  PrevMousePos = CurMousePos;
  CurMousePos = TranslateCoords(P);
  TrackDragging(CurMousePos, Accepted);
}

void TcxDragAndDropObject::DoEndDragAndDrop(bool Accepted) {
  FinishDragging(Accepted);
  AfterDragAndDrop(Accepted);
}

bool TcxDragAndDropObject::DoProcessKeyDown(TMessage& Message) {
  return ProcessKeyDown(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam));
}

bool TcxDragAndDropObject::DoProcessKeyUp(TMessage& Message) {
  return ProcessKeyUp(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam));
}

// ---------------------------------------------------------------------------
// TcxControlHelper

bool TcxControlHelper::CanSetParent(TControl* AControl, TWinControl* ANewParent) {
  return AControl->Parent() != ANewParent || AControl->ComponentState().Contains(csReading);
}

void TcxControlHelper::ChangeScaleFactor(TControl* AControl, int M, int D) {
  IdxScaleFactor* owner = SupportsRaw<IdxScaleFactor>(AControl);
  TdxScaleFactor* factor = owner ? owner->GetScaleFactor() : nullptr;
  if (!factor) return;
  // The ratio from where the control is to where it goes.
  int n = M * factor->Denominator();
  int d = D * factor->Numerator();
  ReduceFraction(n, d);
  const int ppi = MulDiv(AControl->CurrentPPI(), n, d);
  if (AControl->ComponentState().Contains(csLoading)) {
    // A loading control is laid out for its form's DPI already.
    factor->Assign(M, D, true);
    if (n == d) return;
    AControl->SetCurrentPPI(ppi);
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl))
      for (int i = 0; i < windowed->ControlCount(); ++i) windowed->Controls(i)->ScaleForPPI(ppi);
  } else if (n != d) {
    AControl->ScaleForPPI(ppi);
  }
}

void TcxControlHelper::ChangeScaleFactor(TControl* AControl, const TdxScaleFactor* ATarget) {
  ChangeScaleFactor(AControl, ATarget->Numerator(), ATarget->Denominator());
}

bool TcxControlHelper::DrawLockedState(TcxCanvas* ACanvas, TControl* AOwner, TControl* AChild) {
  IdxLockedStateImageOwner* owner = SupportsRaw<IdxLockedStateImageOwner>(AOwner);
  TBitmap* image = owner ? owner->GetImage() : nullptr;
  if (!image) return false;
  TWinControl* snapshotControl = owner->GetControl();
  const TPoint origin = snapshotControl->ScreenToClient(AChild->ClientToScreen(TPoint()));
  const TRect client = AChild->ClientRect();
  BitBlt(ACanvas->Handle(), client.Left, client.Top, client.Width(), client.Height(), image->Canvas()->Handle(),
         origin.X, origin.Y, SRCCOPY);
  return true;
}

int TcxControlHelper::GetCurrentDPIFromControl(TObject* AObject) {
  if (auto* control = dynamic_cast<TControl*>(AObject)) return control->CurrentPPI();
  return GetScreenDpi();
}

void TcxControlHelper::ScaleForPPI(TObject* AObject, int ATargetPPI) {
  if (IcxScalableComponent* scalable = SupportsRaw<IcxScalableComponent>(AObject))
    scalable->ScaleForPPI(ATargetPPI);
  else if (auto* control = dynamic_cast<TControl*>(AObject))
    control->ScaleForPPI(ATargetPPI);
}

void TcxControlHelper::UpdateScaleFactorOnParentChange(TControl* AControl) {
  int n = 0;
  int d = 0;
  if (AControl->Parent() && TryGetComponentDpiRatio(AControl->Parent(), n, d)) ChangeScaleFactor(AControl, n, d);
}

// ---------------------------------------------------------------------------
// TcxControlDefaultHandlerHelper

bool TcxControlDefaultHandlerHelper::Process(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN && Message.Msg != WM_SYSKEYDOWN) return false;
  const HWND application = Application() ? Application()->Handle() : nullptr;
  return application && SendMessageW(application, DX_KEYTOAPPLICATION, Message.WParam, Message.LParam) != 0;
}

// ---------------------------------------------------------------------------
// TdxRightToLeftLayoutConverter

namespace {

// Swaps two values of an enumeration and keeps the others.
template <class E>
E Swapped(E AValue, E A, E B) {
  return AValue == A ? B : AValue == B ? A : AValue;
}

// Replaces one side by the other when exactly one of them is in the set.
template <class E>
TSet<E> SwappedSides(TSet<E> AValue, E A, E B) {
  if (AValue.Contains(A) == AValue.Contains(B)) return AValue;
  const bool hadA = AValue.Contains(A);
  AValue.Exclude(hadA ? A : B);
  AValue.Include(hadA ? B : A);
  return AValue;
}

}  // namespace

TAlignment TdxRightToLeftLayoutConverter::ConvertAlignment(TAlignment AValue) {
  return Swapped(AValue, taLeftJustify, taRightJustify);
}

TAnchors TdxRightToLeftLayoutConverter::ConvertAnchors(const TAnchors& AValue) {
  return SwappedSides(AValue, akLeft, akRight);
}

int TdxRightToLeftLayoutConverter::ConvertcxDrawTextAlignment(int AValue) { return Swapped(AValue, 1, 2); }

TcxTextAlignX TdxRightToLeftLayoutConverter::ConvertcxTextAlignX(TcxTextAlignX AValue) {
  return Swapped(AValue, taLeft, taRight);
}

TcxBorder TdxRightToLeftLayoutConverter::ConvertBorder(TcxBorder AValue) { return Swapped(AValue, bLeft, bRight); }

TcxBorders TdxRightToLeftLayoutConverter::ConvertBorders(const TcxBorders& AValue) {
  return SwappedSides(AValue, bLeft, bRight);
}

TdxCorner TdxRightToLeftLayoutConverter::ConvertCorner(TdxCorner AValue) {
  return Swapped(Swapped(AValue, coTopLeft, coTopRight), coBottomLeft, coBottomRight);
}

TcxDirection TdxRightToLeftLayoutConverter::ConvertDirection(TcxDirection AValue) {
  return Swapped(AValue, dirLeft, dirRight);
}

TcxPopupAlignHorz TdxRightToLeftLayoutConverter::ConvertPopupAlignHorz(TcxPopupAlignHorz AValue) {
  return Swapped(AValue, pahLeft, pahRight);
}

TPopupAlignment TdxRightToLeftLayoutConverter::ConvertPopupAlignment(TPopupAlignment AValue) {
  return Swapped(AValue, paLeft, paRight);
}

int TdxRightToLeftLayoutConverter::ConvertXCoordinate(int X, const TRect& AParent) {
  return AParent.Left + AParent.Right - X;
}

float TdxRightToLeftLayoutConverter::ConvertXCoordinate(float X, const TdxRectF& AParent) {
  return AParent.Left + AParent.Right - X;
}

TPoint TdxRightToLeftLayoutConverter::ConvertPoint(const TPoint& P, const TRect& AParent) {
  return TPoint(ConvertXCoordinate(P.X, AParent), P.Y);
}

TdxPointF TdxRightToLeftLayoutConverter::ConvertPoint(const TdxPointF& P, const TdxRectF& AParent) {
  return TdxPointF(ConvertXCoordinate(P.X, AParent), P.Y);
}

TRect TdxRightToLeftLayoutConverter::ConvertRect(const TRect& R, const TRect& AParent) {
  if (R.IsEmpty()) return R;
  const int left = AParent.Left + AParent.Right - R.Right;
  return TRect(left, R.Top, left + R.Width(), R.Bottom);
}

TdxRectF TdxRightToLeftLayoutConverter::ConvertRect(const TdxRectF& R, const TdxRectF& AParent) {
  if (R.IsEmpty()) return R;
  const float left = AParent.Left + AParent.Right - R.Right;
  return TdxRectF(left, R.Top, left + (R.Right - R.Left), R.Bottom);
}

TRect TdxRightToLeftLayoutConverter::ConvertOffsets(const TRect& AOffsets) {
  return TRect(AOffsets.Right, AOffsets.Top, AOffsets.Left, AOffsets.Bottom);
}

WORD TdxRightToLeftLayoutConverter::ConvertVirtualKeyCode(WORD AKey) {
  return Swapped<WORD>(AKey, VK_LEFT, VK_RIGHT);
}

// ---------------------------------------------------------------------------
// TdxControlsDesignSelectorHelper

namespace {

// The glyphs of the squares drawn so far, by size (negative: checked).
std::unique_ptr<std::map<int, TOwned<TcxBitmap>>> GSelectorGlyphs;

// A control that keeps the design selectors away from itself and its children.
struct IdxNoDesignSelector : public virtual IInterface {
  static constexpr GUID IID = {0xAD2130FB, 0xEDA5, 0x4034, {0xA5, 0x51, 0x9C, 0x26, 0xA8, 0xDA, 0xAE, 0x41}};

 protected:
  ~IdxNoDesignSelector() = default;
};

bool RefusesSelector(TControl* AControl) { return SupportsRaw<IdxNoDesignSelector>(AControl) != nullptr; }

}  // namespace

void CreateDesignSelectorGlyphCache() {
  if (!GSelectorGlyphs) GSelectorGlyphs = std::make_unique<std::map<int, TOwned<TcxBitmap>>>();
}

void FreeDesignSelectorGlyphCache() { GSelectorGlyphs.reset(); }

int DesignSelectorGlyphCount() { return GSelectorGlyphs ? static_cast<int>(GSelectorGlyphs->size()) : 0; }

void TdxControlsDesignSelectorHelper::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FControl = dynamic_cast<TControl*>(AOwner);
  FChildren.reset(New<TcxComponentList>());
  if (FControl) {
    FWindowProcObject = WindowProcController()->Add(FControl, BindEvent<&TdxControlsDesignSelectorHelper::WndProc>(this));
    FControl->FreeNotification(this);
  }
}

void TdxControlsDesignSelectorHelper::Destroy() {
  if (FParent) FParent->RemoveChild(this);
  while (FChildren && FChildren->Count() > 0) Children(FChildren->Count() - 1)->Free();
  if (TcxWindowProcController* controller = WindowProcController()) controller->Remove(FWindowProcObject);
  if (FControl) FControl->RemoveFreeNotification(this);
  FChildren.reset();
  inherited::Destroy();
}

TdxControlsDesignSelectorHelper* TdxControlsDesignSelectorHelper::Children(int AIndex) const {
  return static_cast<TdxControlsDesignSelectorHelper*>(FChildren->Items(AIndex));
}

void TdxControlsDesignSelectorHelper::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FControl) {
    // The control's window procedure goes with it.
    if (TcxWindowProcController* controller = WindowProcController()) controller->Remove(FWindowProcObject);
    FControl = nullptr;
  }
}

TRect TdxControlsDesignSelectorHelper::CalculateBounds(const TRect& R, const TdxScaleFactor* AScaleFactor) {
  const auto scaled = [AScaleFactor](int AValue) { return AScaleFactor ? AScaleFactor->Apply(AValue) : AValue; };
  TRect area = R;
  area.Inflate(-scaled(8), -scaled(8));
  const int size = scaled(15);
  return TRect(area.Right - size, area.Bottom - size, area.Right, area.Bottom);
}

void TdxControlsDesignSelectorHelper::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxControlsDesignSelectorHelper*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  TRect bounds = source->SelectorBounds();
  if (source->Control() && FControl) {
    const TPoint shift = FControl->ScreenToClient(source->Control()->ClientToScreen(TPoint()));
    bounds.Offset(shift.X, shift.Y);
  }
  FSelectorBounds = bounds;
  RefreshChildren();
}

bool TdxControlsDesignSelectorHelper::HitTest(const TPoint& P) { return FSelectorBounds.Contains(P); }

bool TdxControlsDesignSelectorHelper::ProcessMessage(TMessage& Message) {
  if (!FControl) return false;
  if (Message.Msg == WM_NCHITTEST && HitTest(FControl->ScreenToClient(PointFromLParam(Message.LParam)))) {
    Message.Result = HTTRANSPARENT;
    return true;
  }
  if (Message.Msg == CM_DESIGNHITTEST && HitTest(TWMMouse(Message).Pos())) {
    Message.Result = 0;
    return true;
  }
  return false;
}

void TdxControlsDesignSelectorHelper::WndProc(TMessage& Message) {
  // The control's processing may free this selector.
  TcxObjectLink* alive = AddObjectLink(this);
  TScopeExit release([alive] { RemoveObjectLink(alive); });
  TcxWindowProcLinkedObject* node = FWindowProcObject;
  if (!ProcessMessage(Message) && node) node->DefaultProc(Message);
  if (!alive->Ref || !FControl) return;
  switch (Message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (Message.WParam) {
        Draw(reinterpret_cast<HDC>(Message.WParam));
      } else if (auto* windowed = dynamic_cast<TWinControl*>(FControl); windowed && windowed->HandleAllocated()) {
        TWindowDC dc(windowed->Handle());
        Draw(dc.Get());
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if (FParent) Assign(FParent);
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(Message.WParam) == WM_CREATE || LOWORD(Message.WParam) == WM_DESTROY) RefreshChildren();
      break;
    case CM_CONTROLLISTCHANGE:
      RefreshChildren();
      break;
  }
}

TClass TdxControlsDesignSelectorHelper::GetChildClass() { return TdxControlsDesignSelectorHelper::ClassInfo(); }

TdxControlsDesignSelectorHelper* TdxControlsDesignSelectorHelper::AddChild(TControl* AControl) {
  auto* child = NewOfClass<TdxControlsDesignSelectorHelper>(GetChildClass(), static_cast<TComponent*>(AControl));
  FChildren->Add(child);
  child->FParent = this;
  return child;
}

void TdxControlsDesignSelectorHelper::RemoveChild(TdxControlsDesignSelectorHelper* AChild) {
  FChildren->Extract(AChild);
  AChild->FParent = nullptr;
}

void TdxControlsDesignSelectorHelper::RefreshChildren() {
  for (int i = 0; i < FChildren->Count(); ++i) Children(i)->FChecked = false;
  auto* windowed = dynamic_cast<TWinControl*>(FControl);
  if (windowed && windowed->HandleAllocated() && !RefusesSelector(windowed)) {
    for (int i = 0; i < windowed->ControlCount(); ++i) {
      auto* child = dynamic_cast<TWinControl*>(windowed->Controls(i));
      if (!child || child->ComponentState().Contains(csDestroying) || RefusesSelector(child) ||
          !child->HandleAllocated())
        continue;
      TdxControlsDesignSelectorHelper* selector = nullptr;
      for (int j = 0; j < FChildren->Count() && !selector; ++j)
        if (Children(j)->Control() == child) selector = Children(j);
      if (!selector) selector = AddChild(child);
      selector->Assign(this);
      selector->FChecked = true;
    }
  }
  for (int i = FChildren->Count() - 1; i >= 0; --i)
    if (!Children(i)->FChecked) Children(i)->Free();
}

bool TdxControlsDesignSelectorHelper::IsChecked() {
  // No form designer runs in this program to report a selection.
  return FParent && FParent->IsChecked();
}

bool TdxControlsDesignSelectorHelper::IsUsable() {
  return !ComponentState().Contains(csDestroying) && FControl && !FControl->ComponentState().Contains(csDestroying);
}

bool TdxControlsDesignSelectorHelper::IsVisible() {
  if (!FParent) return true;
  auto* windowed = dynamic_cast<TWinControl*>(FControl);
  return windowed && IsControlWindowVisible(windowed);
}

bool TdxControlsDesignSelectorHelper::CanDraw() { return IsUsable() && IsVisible(); }

void TdxControlsDesignSelectorHelper::DrawGlyph(HDC DC, const TRect& R, bool AChecked) {
  const COLORREF frame = ColorToColorRef(AChecked ? clHighlight : clBtnShadow);
  const COLORREF face = ColorToColorRef(AChecked ? clHighlightText : clBtnFace);
  TOwnedBrush faceBrush(CreateSolidBrush(face));
  TOwnedBrush frameBrush(CreateSolidBrush(frame));
  const RECT r = R;
  FillRect(DC, &r, faceBrush.Get());
  FrameRect(DC, &r, frameBrush.Get());
  // A small square in the middle: the handle that selects the container.
  TRect mark = R;
  mark.Inflate(-R.Width() / 3, -R.Height() / 3);
  const RECT m = mark;
  FillRect(DC, &m, frameBrush.Get());
}

void TdxControlsDesignSelectorHelper::Draw(HDC DC) {
  if (!CanDraw() || FSelectorBounds.IsEmpty()) return;
  TRect r = FSelectorBounds;
  // A control without a window draws on its parent's device context.
  if (!FControl->IsWindowed() && !FControl->ControlState().Contains(csPaintCopy)) r.Offset(FControl->Left(), FControl->Top());
  const bool checked = IsChecked();
  SelectClipRgn(DC, nullptr);
  if (r.Width() != r.Height() || !GSelectorGlyphs) {
    DrawGlyph(DC, r, checked);
  } else {
    const int key = checked ? -r.Width() : r.Width();
    TOwned<TcxBitmap>& glyph = (*GSelectorGlyphs)[key];
    if (!glyph) {
      glyph.reset(NewWith<TcxBitmap>([&](TcxBitmap* b) { b->CreateSize(r.Width(), r.Height()); }));
      DrawGlyph(glyph->Canvas()->Handle(), TRect(0, 0, r.Width(), r.Height()), checked);
    }
    BitBlt(DC, r.Left, r.Top, r.Width(), r.Height(), glyph->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
  TRect shadow = r;
  shadow.Offset(1, 1);
  TOwnedBrush shadowBrush(CreateSolidBrush(ColorToColorRef(clBtnShadow)));
  const RECT s = shadow;
  FillRect(DC, &s, shadowBrush.Get());
  ExcludeClipRect(DC, s.left, s.top, s.right, s.bottom);
}
