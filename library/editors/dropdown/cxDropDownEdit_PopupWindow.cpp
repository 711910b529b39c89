// The drop-down editors' popup window: its extents, size and place beside
// the editor, the grip corner, the shadow region, the system panel, and
// resizing by the grip or the edges next to it.
#include "library/editors/dropdown/cxDropDownEdit.h"

#include "platform/ui/GdiScopes.h"

namespace {

constexpr int ShadowSize = TcxCustomEditPopupWindowViewInfo::ShadowSize;

bool IsRightCorner(TdxCorner ACorner) { return ACorner == coTopRight || ACorner == coBottomRight; }
bool IsBottomCorner(TdxCorner ACorner) { return ACorner == coBottomLeft || ACorner == coBottomRight; }
int DiagonalCode(TdxCorner ACorner) {
  return ACorner == coTopLeft || ACorner == coBottomRight ? cxPopupHitCornerNWSE : cxPopupHitCornerNESW;
}

TCursor HitCursor(int ACode) {
  switch (ACode) {
    case cxPopupHitCornerNWSE: return crSizeNWSE;
    case cxPopupHitCornerNESW: return crSizeNESW;
    case cxPopupHitVert: return crSizeNS;
    case cxPopupHitHorz: return crSizeWE;
    default: return crDefault;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomEditPopupWindowViewInfo

int TcxCustomEditPopupWindowViewInfo::GetBorderWidth() {
  if (OnCustomDrawBorder) {
    bool handled = false;
    int width = 0;
    OnCustomDrawBorder(this, nullptr, TRect(), handled, width);
    if (handled) return width;
  }
  return Painter ? Painter->GetEditPopupWindowBorderWidth(BorderStyle) : 1;
}

int TcxCustomEditPopupWindowViewInfo::GetClientEdgeWidth() {
  return ClientEdge && Painter ? Painter->GetEditPopupWindowClientEdgeWidth(BorderStyle) : 0;
}

int TcxCustomEditPopupWindowViewInfo::GetSysPanelHeight() {
  const int panel = SysPanelStyle && Painter ? Painter->ScaledPopupPanelSize(ScaleFactor) : 0;
  return std::max(MinSysPanelHeight, panel);
}

TRect TcxCustomEditPopupWindowViewInfo::GetBorderExtent() {
  const int width = GetBorderWidth() + GetClientEdgeWidth();
  TRect result(width, width, width, width);
  if (Shadow) {
    result.Right += ShadowSize;
    result.Bottom += ShadowSize;
  }
  SysPanelHeight = SysPanelStyle ? GetSysPanelHeight() : 0;
  if (IsBottomCorner(SizeGripCorner)) result.Bottom += SysPanelHeight;
  else result.Top += SysPanelHeight;
  if (ShowSearchInfoPanel) result.Bottom += GetSearchInfoPanelHeight();
  return result;
}

TRect TcxCustomEditPopupWindowViewInfo::PanelSeparators() {
  if (!NativeStyle && BorderStyle != epbsSingle && !UseSkins) return TRect();
  return IsBottomCorner(SizeGripCorner) ? TRect(0, 1, 0, 0) : TRect(0, 0, 0, 1);
}

void TcxCustomEditPopupWindowViewInfo::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  if (OnCustomDrawBorder) {
    bool handled = false;
    int width = 0;
    OnCustomDrawBorder(this, ACanvas, R, handled, width);
    if (handled) return;
  }
  TRect r = R;
  if (Painter) Painter->DrawEditPopupWindowBorder(ACanvas, r, BorderStyle, ClientEdge);
}

void TcxCustomEditPopupWindowViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  TRect body = Bounds;
  if (Shadow) {
    body.Right -= ShadowSize;
    body.Bottom -= ShadowSize;
    DrawContainerShadow(ACanvas, body);
  }
  DrawBorder(ACanvas, body);
  if (ClientEdge) {
    const int edge = GetClientEdgeWidth();
    TRect r = ClientRect;
    r.Inflate(edge, edge);
    ACanvas->DrawEdge(r, true, true);
    if (BorderStyle != epbsFlat || NativeStyle) {
      r.Inflate(-1, -1);
      ACanvas->DrawEdge(r, true, true);
    }
  }
  if (SysPanelStyle && Painter)
    Painter->DrawScaledPopupPanelBand(ACanvas, SysPanelBounds, SizeGripRect, CloseButtonRect, SizeGripCorner,
                                      CloseButtonState, PanelSeparators(), Painter->GetContainerBorderColor(false),
                                      ScaleFactor, Sizeable, ShowCloseButton);
  if (Painter) Painter->DrawWindowContent(ACanvas, ClientRect);
  if (ShowSearchInfoPanel) DrawSearchInfoPanel(ACanvas);
}

// ---------------------------------------------------------------------------
// TcxCustomEditPopupWindow

void TcxCustomEditPopupWindow::Create(TComponent* AOwnerControl) {
  inherited::Create(AOwnerControl);
  ViewInfo()->CloseButtonState = cxbsNormal;
  ViewInfo()->ScaleFactor = ScaleFactor();
  SetIsOwnerBoundsRTLDependent(true);
}

void TcxCustomEditPopupWindow::Destroy() {
  FSizeFrame.reset();
  inherited::Destroy();
}

TcxCustomDropDownEdit* TcxCustomEditPopupWindow::Edit() const {
  return dynamic_cast<TcxCustomDropDownEdit*>(OwnerControl());
}

bool TcxCustomEditPopupWindow::ConsumesClosingClick(HWND AWnd, UINT, const TPoint& APoint, TShiftState) {
  // The press on the editor's drop-down button that closed the popup must
  // not open it again when it reaches the editor.
  TcxCustomDropDownEdit* edit = Edit();
  if (!edit || !edit->HandleAllocated() || AWnd != edit->Handle()) return false;
  return edit->IsDropDownButtonAt(edit->ScreenToClient(APoint));
}

void TcxCustomEditPopupWindow::SetPopupBorderStyle(TcxEditPopupBorderStyle AValue) {
  FBorderStyle = AValue;
  ViewInfo()->BorderStyle = AValue;
}
void TcxCustomEditPopupWindow::SetClientEdge(bool AValue) {
  FClientEdge = AValue;
  ViewInfo()->ClientEdge = AValue;
}
void TcxCustomEditPopupWindow::SetCloseButton(bool AValue) {
  FCloseButton = AValue;
  ViewInfo()->ShowCloseButton = AValue;
}
void TcxCustomEditPopupWindow::SetNativeStyle(bool AValue) {
  FNativeStyle = AValue;
  ViewInfo()->NativeStyle = AValue;
}
void TcxCustomEditPopupWindow::SetShadow(bool AValue) {
  FShadow = AValue;
  ViewInfo()->Shadow = AValue;
}
void TcxCustomEditPopupWindow::SetSizeable(bool AValue) {
  FSizeable = AValue;
  ViewInfo()->Sizeable = AValue;
}
void TcxCustomEditPopupWindow::SetSysPanelStyle(bool AValue) {
  FSysPanelStyle = AValue;
  ViewInfo()->SysPanelStyle = AValue;
}

bool TcxCustomEditPopupWindow::IsRightGrip() const { return IsRightCorner(ViewInfo()->SizeGripCorner); }
bool TcxCustomEditPopupWindow::IsBottomGrip() const { return IsBottomCorner(ViewInfo()->SizeGripCorner); }

void TcxCustomEditPopupWindow::UpdateOwnerBounds() {
  if (TcxCustomDropDownEdit* edit = Edit()) {
    TRect r;
    edit->CalculatePopupOwnerBounds(r);
    SetOwnerBounds(r);
  }
}

void TcxCustomEditPopupWindow::CalculateViewInfo() {
  TcxCustomEditPopupWindowViewInfo* v = ViewInfo();
  v->UpdateStyle(Style());
  v->ScaleFactor = ScaleFactor();
  v->Bounds = TRect(0, 0, Width(), Height());
  v->ClientRect = v->Bounds;
  if (v->Shadow) {
    v->ClientRect.Right -= ShadowSize;
    v->ClientRect.Bottom -= ShadowSize;
  }
  const int border = v->GetBorderWidth();
  if (v->SysPanelStyle) {
    v->GetBorderExtent();  // sets SysPanelHeight
    v->Painter->CalculateScaledPopupPanelClientRect(v->ClientRect, v->SysPanelBounds, v->SizeGripRect,
                                                    v->CloseButtonRect, v->SizeGripCorner,
                                                    TRect(border, border, border, border), v->PanelSeparators(),
                                                    v->ScaleFactor, v->SysPanelHeight, v->ShowCloseButton,
                                                    v->Sizeable);
    v->SizeGripSizingRect = v->SizeGripRect;
    if (v->Sizeable) {
      if (IsRightCorner(v->SizeGripCorner)) v->SizeGripSizingRect.Right = v->SysPanelBounds.Right;
      else v->SizeGripSizingRect.Left = v->SysPanelBounds.Left;
      if (IsBottomCorner(v->SizeGripCorner)) v->SizeGripSizingRect.Bottom = v->SysPanelBounds.Bottom;
      else v->SizeGripSizingRect.Top = v->SysPanelBounds.Top;
    }
  } else {
    v->ClientRect.Inflate(-border, -border);
    v->SysPanelBounds = v->SizeGripRect = v->SizeGripSizingRect = v->CloseButtonRect = TRect();
  }
  const int edge = v->GetClientEdgeWidth();
  v->ClientRect.Inflate(-edge, -edge);
  if (HandleAllocated()) {
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(Handle(), &p);
    UpdateHitState({p.x, p.y}, (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0);
  }
  if (v->ShowSearchInfoPanel) {
    v->SearchInfoPanelBounds = v->ClientRect;
    v->SearchInfoPanelBounds.Top = v->ClientRect.Bottom - v->GetSearchInfoPanelHeight();
    v->ClientRect.Bottom = v->SearchInfoPanelBounds.Top;
  } else {
    v->SearchInfoPanelBounds = TRect();
  }
  v->UseRightToLeftAlignment = UseRightToLeftAlignment();
  v->SetCalculated(true);
}

TSize TcxCustomEditPopupWindow::MinSize() {
  const TRect ce = ViewInfo()->GetClientExtent();
  TSize result{ce.Left + ce.Right, ce.Top + ce.Bottom};
  if (FSizeable && FSysPanelStyle)
    result.cx += ViewInfo()->CloseButtonRect.Width() + ViewInfo()->SizeGripSizingRect.Width() + 10;
  return result;
}

TSize TcxCustomEditPopupWindow::DoCalculateSize() {
  ViewInfo()->SizeGripCorner = coBottomRight;
  UpdateOwnerBounds();
  const TRect ce = ViewInfo()->GetClientExtent();
  const TSize m = MinSize();
  TcxCustomDropDownEdit* edit = Edit();
  const TSize content = edit ? edit->CalculatePopupSize() : TSize{0, 0};
  TSize result;
  if (FPopupAutoSize) result.cx = ce.Left + ce.Right + content.cx;
  else result.cx = FPopupWidth != 0 ? FPopupWidth : OwnerBounds().Width();
  if (FSizeable && FMinWidth > 0) result.cx = std::max(result.cx, FMinWidth);
  result.cx = std::max(result.cx, m.cx);
  if (FPopupAutoSize) result.cy = ce.Top + ce.Bottom + content.cy;
  else result.cy = FPopupHeight > 0 ? FPopupHeight : std::max(m.cy, FMinHeight);
  if (FSizeable && FMinHeight > 0) result.cy = std::max(result.cy, FMinHeight);
  result.cy = std::max(result.cy, m.cy);
  return result;
}

void TcxCustomEditPopupWindow::CorrectPosition(TcxPopupPlacement& APlacement, const TRect& AOwner,
                                               const TSize& ASize) {
  inherited::CorrectPosition(APlacement, AOwner, ASize);
  UpdateSizeGripCorner(APlacement.Position, ASize);
  const bool up = !IsBottomGrip();
  if (FShadow && up) APlacement.Position.Y += ShadowSize;
  (void)AOwner;
}

void TcxCustomEditPopupWindow::UpdateSizeGripCorner(const TPoint& P, const TSize& S) {
  const TRect o = OwnerScreenBounds();
  const TRect w = WorkAreaAtPoint(P);
  const bool left = (AlignHorz() == pahRight && P.X + S.cx == o.Right && P.X > w.Left) || P.X + S.cx == o.Left ||
                    (P.X + S.cx == w.Right && P.X < o.Right);
  const bool up = P.Y + S.cy == o.Top || (P.Y + S.cy == w.Bottom && P.Y < o.Bottom);
  if (left && up) ViewInfo()->SizeGripCorner = coTopLeft;
  else if (left) ViewInfo()->SizeGripCorner = coBottomLeft;
  else if (up) ViewInfo()->SizeGripCorner = coTopRight;
  else ViewInfo()->SizeGripCorner = coBottomRight;
}

void TcxCustomEditPopupWindow::SetRegionWithShadow() {
  if (!HandleAllocated()) return;
  if (!FShadow || FNativeStyle) {
    SetWindowRgn(Handle(), nullptr, TRUE);
    return;
  }
  const int w = Width() - ShadowSize;
  const int h = Height() - ShadowSize;
  TOwnedRegion region(CreateRectRgn(0, 0, w, h));
  TOwnedRegion shadow(CreateRectRgn(ShadowSize, ShadowSize, w + ShadowSize, h + ShadowSize));
  CombineRgn(region.Get(), region.Get(), shadow.Get(), RGN_OR);
  if (!IsBottomGrip()) {
    // The bottom strip lies over the editor's top edge: cut that part out.
    const TRect o = OwnerScreenBounds();
    const int editLeft = o.Left - Left();
    const int editRight = o.Right - Left() - ShadowSize;
    TOwnedRegion cut(CreateRectRgn(editLeft, h, editRight, h + ShadowSize));
    CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_DIFF);
  }
  // The system owns the region once the window takes it.
  if (SetWindowRgn(Handle(), region.Get(), TRUE)) (void)region.Release();
}

bool TcxCustomEditPopupWindow::NeedsWorkAreaCorrection() {
  TcxCustomDropDownEdit* edit = Edit();
  return edit && edit->ActiveProperties()->PopupWindowCorrectsBounds();
}

void TcxCustomEditPopupWindow::AdjustClientRect(TRect& ARect) {
  // The form aligns its children while it is being made, before the view info.
  if (!TcxCustomPopupWindow::ViewInfo()) return;
  const TRect ce = ViewInfo()->GetClientExtent();
  ARect = TRect(ARect.Left + ce.Left, ARect.Top + ce.Top, ARect.Right - ce.Right, ARect.Bottom - ce.Bottom);
}

void TcxCustomEditPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FNativeStyle) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TcxCustomEditPopupWindow::Popup(TWinControl* AFocusedControl) {
  TcxCustomDropDownEdit* edit = Edit();
  if (edit && (!edit->HandleAllocated() || !IsWindowVisible(edit->Handle()))) edit->DoFinalizePopup();
  inherited::Popup(AFocusedControl);
}

void TcxCustomEditPopupWindow::Resize() {
  inherited::Resize();
  if (!TcxCustomPopupWindow::ViewInfo()) return;
  CalculateViewInfo();
  SetRegionWithShadow();
}

void TcxCustomEditPopupWindow::PaintWindow(HDC DC) {
  if (!ViewInfo()->Calculated()) CalculateViewInfo();
  inherited::PaintWindow(DC);
}

// -- hit test and sizing

int TcxCustomEditPopupWindow::GetHitTest(const TPoint& P) {
  TcxCustomEditPopupWindowViewInfo* v = ViewInfo();
  if (v->CloseButtonRect.Contains(P)) return cxPopupHitCloseButton;
  if (!FSizeable) return cxPopupHitNone;
  if (v->SizeGripSizingRect.Contains(P)) return DiagonalCode(v->SizeGripCorner);
  if (FSysPanelStyle) return cxPopupHitNone;
  if (!v->Bounds.Contains(P) || v->ClientRect.Contains(P)) return cxPopupHitNone;
  const bool right = IsRightCorner(v->SizeGripCorner);
  const bool bottom = IsBottomCorner(v->SizeGripCorner);
  const int cornerX = right ? v->Bounds.Right - TcxCustomEditPopupWindowViewInfo::CornerSize : v->Bounds.Left;
  const int cornerY = bottom ? v->Bounds.Bottom - TcxCustomEditPopupWindowViewInfo::CornerSize : v->Bounds.Top;
  if (P.X >= cornerX && P.X < cornerX + TcxCustomEditPopupWindowViewInfo::CornerSize && P.Y >= cornerY &&
      P.Y < cornerY + TcxCustomEditPopupWindowViewInfo::CornerSize)
    return DiagonalCode(v->SizeGripCorner);
  if ((!bottom && P.Y < v->ClientRect.Top) || (bottom && P.Y >= v->ClientRect.Bottom)) return cxPopupHitVert;
  if ((!right && P.X < v->ClientRect.Left) || (right && P.X >= v->ClientRect.Right)) return cxPopupHitHorz;
  return cxPopupHitNone;
}

void TcxCustomEditPopupWindow::UpdateHitState(const TPoint& P, bool ALeftHeld) {
  const int code = GetHitTest(P);
  TcxCustomEditPopupWindowViewInfo* v = ViewInfo();
  const TcxButtonState state = code != cxPopupHitCloseButton ? cxbsNormal : ALeftHeld ? cxbsPressed : cxbsHot;
  if (state != v->CloseButtonState) {
    v->CloseButtonState = state;
    if (HandleAllocated()) {
      const RECT r = v->CloseButtonRect;
      InvalidateRect(Handle(), &r, FALSE);
    }
  }
  if (!FSizingCapture) SetCursor(HitCursor(code));
}

bool TcxCustomEditPopupWindow::CanResize(int& NewWidth, int& NewHeight) {
  if (!TcxCustomPopupWindow::ViewInfo()) return true;
  if (!FSizeable || FLockCheckSizeCount > 0 || (NewWidth == Width() && NewHeight == Height())) return true;
  const TSize m = MinSize();
  NewWidth = std::max({NewWidth, m.cx, FMinWidth});
  NewHeight = std::max({NewHeight, m.cy, FMinHeight});
  TcxCustomDropDownEdit* edit = Edit();
  if ((NewWidth != Width() || NewHeight != Height()) && edit && edit->UsesLookupData() &&
      edit->ActiveProperties()->ShowsLookupListInPopup()) {
    const TRect ce = ViewInfo()->GetClientExtent();
    TSize content{NewWidth - ce.Left - ce.Right, NewHeight - ce.Top - ce.Bottom};
    const TSize maxContent = GetMaxContentSize();
    if (edit->ILookupData()->CanResizeVisualArea(content, maxContent.cy, maxContent.cx)) {
      NewWidth = std::max(content.cx + ce.Left + ce.Right, m.cx);
      NewHeight = std::max(content.cy + ce.Top + ce.Bottom, m.cy);
    } else {
      NewWidth = Width();
      NewHeight = Height();
    }
  }
  return true;
}

TSize TcxCustomEditPopupWindow::GetMaxContentSize() {
  const TRect r = OwnerScreenBounds();
  const int a = FShadow ? ShadowSize : 0;
  const TRect w = WorkAreaAtPoint({r.Left, r.Top});
  TcxCustomDropDownEdit* edit = Edit();
  TSize result;
  if (edit && edit->ActiveProperties()->PopupDirection() == pdHorizontal) {
    result = {std::max(r.Left - w.Left + a, w.Right - r.Right) + 1, w.Height()};
  } else {
    result = {w.Width(), std::max(r.Top - w.Top + a, w.Bottom - r.Bottom)};
  }
  const TRect ce = ViewInfo()->GetClientExtent();
  result.cx -= ce.Left + ce.Right;
  result.cy -= ce.Top + ce.Bottom;
  return result;
}

void TcxCustomEditPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  UpdateHitState({X, Y}, Button == mbLeft);
  const int code = GetHitTest({X, Y});
  if (Button != mbLeft || code < cxPopupHitCornerNWSE) return;
  SetCaptureControl(this);
  POINT p{X, Y};
  ::ClientToScreen(Handle(), &p);
  FCapturePoint = {p.x, p.y};
  FCaptureBounds = BoundsRect();
  FFrameBounds = FCaptureBounds;
  FSizingCapture = true;
  FSizingHitTest = code;
  if (!FShowContentWhileResize) {
    const TcxCustomEditPopupWindowViewInfo* v = ViewInfo();
    const int border = const_cast<TcxCustomEditPopupWindowViewInfo*>(v)->GetBorderWidth();
    FSizeFrame.reset(New<TcxSizeFrame>(static_cast<TComponent*>(nullptr), border <= 1 ? 2 : border));
    FSizeFrame->SetPopupParent(this);
    FSizeFrame->DrawSizeFrame(FCaptureBounds);
  }
}

void TcxCustomEditPopupWindow::MouseMove(TShiftState Shift, int X, int Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FSizingCapture) {
    UpdateHitState({X, Y}, Shift.Contains(ssLeft));
    return;
  }
  // Every new size comes from the size and the point where the drag began,
  // so moves taken live do not add up on the window's current size.
  POINT p{X, Y};
  ::ClientToScreen(Handle(), &p);
  const int dx = p.x - FCapturePoint.X;
  const int dy = p.y - FCapturePoint.Y;
  const bool right = IsRightGrip();
  const bool bottom = IsBottomGrip();
  int width = FCaptureBounds.Width();
  int height = FCaptureBounds.Height();
  if (FSizingHitTest != cxPopupHitVert) width -= dx * (right ? -1 : 1);
  if (FSizingHitTest != cxPopupHitHorz) height -= dy * (bottom ? -1 : 1);
  if (!CanResize(width, height)) return;
  TRect r;
  r.Left = right ? FCaptureBounds.Left : FCaptureBounds.Right - width;
  r.Right = r.Left + width;
  r.Top = bottom ? FCaptureBounds.Top : FCaptureBounds.Bottom - height;
  r.Bottom = r.Top + height;
  const TRect editor = OwnerScreenBounds();
  if (r.Left > editor.Right - 1) r.Offset(editor.Right - 1 - r.Left, 0);
  if (r.Right < editor.Left + 1) r.Offset(editor.Left + 1 - r.Right, 0);
  if (r == FFrameBounds) return;
  FFrameBounds = r;
  if (FShowContentWhileResize) ApplyBounds(r);
  else if (FSizeFrame) FSizeFrame->DrawSizeFrame(r);
}

void TcxCustomEditPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FSizingCapture) {
    EndSizing(true);
    return;
  }
  if (GetHitTest({X, Y}) == cxPopupHitCloseButton && ViewInfo()->CloseButtonState == cxbsPressed && CloseQuery())
    if (TcxCustomDropDownEdit* edit = Edit()) edit->ClosePopup(crUnknown);
  UpdateHitState({X, Y}, false);
}

void TcxCustomEditPopupWindow::MouseLeave() {
  inherited::MouseLeave();
  if (!FSizingCapture) UpdateHitState({-1, -1}, false);
}

void TcxCustomEditPopupWindow::EndSizing(bool AApply) {
  if (!FSizingCapture) return;
  FSizingCapture = false;
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  FSizeFrame.reset();
  if (AApply && !FShowContentWhileResize && !FFrameBounds.IsEmpty() && FFrameBounds != BoundsRect())
    ApplyBounds(FFrameBounds);
}

void TcxCustomEditPopupWindow::ApplyBounds(const TRect& R) {
  TcxCustomDropDownEdit* edit = Edit();
  if (edit) edit->SetPopupSizeChanged(true);
  LockCheckSize();
  {
    TScopeExit unlock([this] { UnlockCheckSize(); });
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
  }
  UpdateOwnerBounds();
  CalculateViewInfo();
  if (edit) edit->PositionPopupContent(ViewInfo()->ClientRect);
  Invalidate();
  Update();
  if (edit) edit->StorePopupSize();
}

void TcxCustomEditPopupWindow::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && FSizingCapture) {
    EndSizing(false);
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TcxCustomEditPopupWindow::DoClosing() {
  inherited::DoClosing();
  EndSizing(false);
}

void TcxCustomEditPopupWindow::CloseOnModalResult() {
  TcxCustomDropDownEdit* edit = Edit();
  if (!edit) {
    inherited::CloseOnModalResult();
    return;
  }
  const TModalResult result = ModalResult();
  edit->ClosePopup(result == mrOk ? crEnter : result == mrCancel ? crCancel : crUnknown);
}

bool TcxCustomEditPopupWindow::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  if (Parent()) return inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
  TcxCustomDropDownEdit* edit = Edit();
  return edit && edit->DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomEditPopupWindow::HandleEditKey(wchar_t AChar) {
  TcxCustomDropDownEdit* edit = Edit();
  if (edit && edit->ActiveProperties()->IsIncrementalFilteringActive()) Refresh();
  if (HWND focus = GetFocus()) SendMessageW(focus, WM_CHAR, static_cast<WPARAM>(AChar), 0);
}

void TcxCustomEditPopupWindow::WndProc(TMessage& Message) {
  if (Message.Msg == DXM_POPUP_FORWARDCHAR) {
    if (IsVisible()) HandleEditKey(static_cast<wchar_t>(LOWORD(Message.WParam)));
    return;
  }
  inherited::WndProc(Message);
}
