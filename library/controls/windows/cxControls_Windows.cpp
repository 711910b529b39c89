#include "library/controls/windows/cxControls_Windows.h"

#include "library/controls/control/cxControls.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxPopupWindow

void TcxPopupWindow::Publish(TPublisher<TcxPopupWindow>& P) {
  P.Message<&TcxPopupWindow::WMActivate>(WM_ACTIVATE);
  P.Message<&TcxPopupWindow::WMActivateApp>(WM_ACTIVATEAPP);
  P.Message<&TcxPopupWindow::WMPaint>(WM_PAINT);
  P.Message<&TcxPopupWindow::CMVisibleChanged>(CM_VISIBLECHANGED);
}

void TcxPopupWindow::CreateNew(TComponent* AOwner) {
  inherited::CreateNew(AOwner);
  inherited::SetBorderStyle(bsNone);
  // The popup places itself beside its owner, on whichever monitor that is.
  SetDefaultMonitor(dmDesktop);
  FControlStyle.Include(csOverrideStylePaint);
  FAdjustable = true;
  FAlignHorz = pahLeft;
  FAlignVert = pavBottom;
  FBorderStyle = pbsNone;
  FDirection = pdVertical;
  FFrameColor = clWindowText;
}

void TcxPopupWindow::Destroy() {
  SetOwnerParent(nullptr);
  inherited::Destroy();
}

void TcxPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // Stays on top of every normal window, as a drop-down must.
  Params.ExStyle |= WS_EX_TOPMOST;
}

void TcxPopupWindow::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FOwnerParent) FOwnerParent = nullptr;
}

void TcxPopupWindow::SetOwnerParent(TControl* AValue) {
  if (FOwnerParent == AValue) return;
  if (FOwnerParent) FOwnerParent->RemoveFreeNotification(this);
  FOwnerParent = AValue;
  if (FOwnerParent) FOwnerParent->FreeNotification(this);
}

void TcxPopupWindow::SetAdjustable(bool AValue) {
  if (FAdjustable == AValue) return;
  FAdjustable = AValue;
  AdjustableChanged();
}

void TcxPopupWindow::SetBorderSpace(int AValue) {
  if (FBorderSpace == AValue) return;
  MoveChildren(-FChildrenOffset.X, -FChildrenOffset.Y);
  FChildrenOffset = TPoint();
  FBorderSpace = AValue;
  BorderChanged();
}

void TcxPopupWindow::SetBorderStyle(TcxPopupBorderStyle AValue) {
  if (FBorderStyle == AValue) return;
  MoveChildren(-FChildrenOffset.X, -FChildrenOffset.Y);
  FChildrenOffset = TPoint();
  FBorderStyle = AValue;
  BorderChanged();
  if (HandleAllocated()) Invalidate();
}

void TcxPopupWindow::SetFrameColor(TColor AValue) {
  if (FFrameColor == AValue) return;
  FFrameColor = AValue;
  if (HandleAllocated()) Invalidate();
}

void TcxPopupWindow::Popup() {
  TakeOwnerFont();
  const TSize size = DoCalculateSize();
  const TPoint position = CalculatePosition(size);
  SetBounds(position.X, position.Y, size.cx, size.cy);
  Show();
}

void TcxPopupWindow::CloseUp() { Hide(); }

void TcxPopupWindow::TakeOwnerFont() {
  if (FOwnerParent) Font()->Assign(FOwnerParent->Font());
}

int TcxPopupWindow::BorderWidth(TcxBorder) {
  switch (FBorderStyle) {
    case pbsUltraFlat:
    case pbsFlat:
      return 1;
    case pbs3D:
      return 2;
    case pbsNone:
      break;
  }
  return 0;
}

TRect TcxPopupWindow::GetClientBounds() {
  TRect r = ClientRect();
  r.Left += BorderWidthWithSpace(bLeft);
  r.Top += BorderWidthWithSpace(bTop);
  r.Right -= BorderWidthWithSpace(bRight);
  r.Bottom -= BorderWidthWithSpace(bBottom);
  return r;
}

TRect TcxPopupWindow::GetOwnerScreenBounds() {
  TRect r = FOwnerBounds;
  if (!OwnerBoundsAreClient() || !FOwnerParent) return r;
  auto* parent = dynamic_cast<TWinControl*>(FOwnerParent);
  if (FIsOwnerBoundsRTLDependent && parent && parent->HandleAllocated() &&
      (GetWindowLongPtrW(parent->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL)) {
    const int width = FOwnerParent->ClientRect().Width();
    r = TRect(width - r.Right, r.Top, width - r.Left, r.Bottom);
  }
  const TPoint origin = FOwnerParent->ClientToScreen(TPoint(0, 0));
  r.Offset(origin.X, origin.Y);
  return r;
}

void TcxPopupWindow::MoveChildren(int DX, int DY) {
  if (DX == 0 && DY == 0) return;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    child->SetBounds(child->Left() + DX, child->Top() + DY, child->Width(), child->Height());
  }
}

void TcxPopupWindow::PlaceChildrenInsideBorder() {
  const TPoint wanted(BorderWidthWithSpace(bLeft), BorderWidthWithSpace(bTop));
  MoveChildren(wanted.X - FChildrenOffset.X, wanted.Y - FChildrenOffset.Y);
  FChildrenOffset = wanted;
}

TSize TcxPopupWindow::DoCalculateSize() {
  if (!FAdjustable) return TSize{Width(), Height()};
  // The children are measured from where they stand before any border was
  // added, so opening the popup again and again gives the same size.
  PlaceChildrenInsideBorder();
  int right = 0;
  int bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    const TControl* child = Controls(i);
    right = std::max(right, child->Left() + child->Width() - FChildrenOffset.X);
    bottom = std::max(bottom, child->Top() + child->Height() - FChildrenOffset.Y);
  }
  return TSize{BorderWidthWithSpace(bLeft) + right + BorderWidthWithSpace(bRight),
               BorderWidthWithSpace(bTop) + bottom + BorderWidthWithSpace(bBottom)};
}

TPoint TcxPopupWindow::CalculatePosition(const TSize& ASize) {
  const TRect owner = GetOwnerScreenBounds();
  TcxPopupPlacement placement{{}, {}, FAlignHorz, FAlignVert};
  PlaceCentred(placement, owner, ASize);
  PlaceByDirection(placement, owner, ASize);
  CorrectPosition(placement, owner, ASize);
  return placement.Position;
}

void TcxPopupWindow::PlaceCentred(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize) {
  if (APlacement.AlignHorz == pahCenter)
    APlacement.Position.X = APlacement.Anchor.X = (AOwner.Left + AOwner.Right - ASize.cx) / 2;
  if (APlacement.AlignVert == pavCenter)
    APlacement.Position.Y = APlacement.Anchor.Y = (AOwner.Top + AOwner.Bottom - ASize.cy) / 2;
}

void TcxPopupWindow::PlaceByDirection(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize) {
  if (FDirection == pdVertical) PlaceVertically(APlacement, AOwner, ASize);
  else PlaceHorizontally(APlacement, AOwner, ASize);
}

// Below or above the owner, its left or right edges lined up.
void TcxPopupWindow::PlaceVertically(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize) {
  TPoint& p = APlacement.Position;
  TPoint& a = APlacement.Anchor;
  if (APlacement.AlignHorz == pahLeft) {
    p.X = AOwner.Left;
    a.X = AOwner.Left;
  } else if (APlacement.AlignHorz == pahRight) {
    p.X = AOwner.Right - ASize.cx;
    a.X = AOwner.Right - 1;
  }
  if (APlacement.AlignVert == pavTop) {
    p.Y = AOwner.Top - ASize.cy;
    a.Y = AOwner.Top;
  } else if (APlacement.AlignVert == pavBottom) {
    p.Y = AOwner.Bottom;
    a.Y = AOwner.Bottom - 1;
  }
}

// Left or right of the owner, its top or bottom edges lined up.
void TcxPopupWindow::PlaceHorizontally(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize) {
  TPoint& p = APlacement.Position;
  TPoint& a = APlacement.Anchor;
  if (APlacement.AlignHorz == pahLeft) {
    p.X = AOwner.Left - ASize.cx;
    a.X = AOwner.Left;
  } else if (APlacement.AlignHorz == pahRight) {
    p.X = AOwner.Right;
    a.X = AOwner.Right - 1;
  }
  if (APlacement.AlignVert == pavTop) {
    p.Y = AOwner.Top;
    a.Y = AOwner.Top;
  } else if (APlacement.AlignVert == pavBottom) {
    p.Y = AOwner.Bottom - ASize.cy;
    a.Y = AOwner.Bottom - 1;
  }
}

void TcxPopupWindow::CorrectPosition(TcxPopupPlacement& APlacement, const TRect& AOwner, const TSize& ASize) {
  if (FAcceptAnyPosition) return;
  const TRect area = WorkAreaAtPoint(APlacement.Anchor);
  if (FDirection == pdVertical) {
    const bool moreRoomAbove = AOwner.Top - area.Top > area.Bottom - AOwner.Bottom;
    if (APlacement.AlignVert == pavBottom && APlacement.Position.Y + ASize.cy > area.Bottom && moreRoomAbove)
      APlacement.AlignVert = pavTop;
    else if (APlacement.AlignVert == pavTop && APlacement.Position.Y < area.Top && !moreRoomAbove)
      APlacement.AlignVert = pavBottom;
  } else {
    const bool moreRoomLeft = AOwner.Left - area.Left > area.Right - AOwner.Right;
    if (APlacement.AlignHorz == pahRight && APlacement.Position.X + ASize.cx > area.Right && moreRoomLeft)
      APlacement.AlignHorz = pahLeft;
    else if (APlacement.AlignHorz == pahLeft && APlacement.Position.X < area.Left && !moreRoomLeft)
      APlacement.AlignHorz = pahRight;
  }
  PlaceByDirection(APlacement, AOwner, ASize);
  FitToWorkArea(APlacement, area, ASize);
}

void TcxPopupWindow::FitToWorkArea(TcxPopupPlacement& APlacement, const TRect& AWorkArea, const TSize& ASize) {
  TPoint& p = APlacement.Position;
  const auto fit = [](int& APos, int ASize, int ALow, int AHigh) {
    if (APos + ASize > AHigh) APos = AHigh - ASize;
    if (APos < ALow) APos = ALow;
  };
  // Along the owner's edge the popup slides into the work area. Across it,
  // it keeps to its side of the owner; only when neither side had room (or
  // the owner lies off the screen) is it pulled in as well, over the owner,
  // rather than opening where nobody can reach it.
  fit(p.X, ASize.cx, AWorkArea.Left, AWorkArea.Right);
  fit(p.Y, ASize.cy, AWorkArea.Top, AWorkArea.Bottom);
}

void TcxPopupWindow::DrawFrame(HDC DC) {
  TRect r;
  GetWindowRect(Handle(), r.WinRect());
  r.Offset(-r.Left, -r.Top);
  switch (FBorderStyle) {
    case pbsUltraFlat:
      FrameRectWithColor(DC, r, FFrameColor);
      break;
    case pbsFlat:
      DrawEdge(DC, r.WinRect(), BDR_RAISEDOUTER, BF_RECT);
      break;
    case pbs3D:
      DrawEdge(DC, r.WinRect(), BDR_RAISEDOUTER | BDR_RAISEDINNER, BF_RECT);
      break;
    case pbsNone:
      break;
  }
}

void TcxPopupWindow::PaintWindow(HDC DC) {
  TRect r = ClientRect();
  TOwnedBrush face(CreateSolidBrush(ColorToColorRef(Color())));
  FillRect(DC, r.WinRect(), face.Get());
}

void TcxPopupWindow::WMPaint(TMessage& Message) {
  // The window is painted as a whole (the frame over the children's
  // margins), so the paint handler draws it and then the frame.
  const TPaintScope paint(Handle(), TWMPaint(Message).DC());
  TControlTracker alive(this);
  PaintWindow(paint.DC());
  if (!alive.Alive()) return;
  PaintControls(paint.DC(), nullptr);
  if (alive.Alive()) DrawFrame(paint.DC());
  Message.Result = 0;
}

void TcxPopupWindow::WMActivate(TMessage& Message) {
  inherited::WMActivate(Message);
  if (LOWORD(Message.WParam) == WA_INACTIVE) return;
  // The window the user came from keeps its caption drawn active.
  FPrevActiveWindow = reinterpret_cast<HWND>(Message.LParam);
  if (FPrevActiveWindow) SendMessageW(FPrevActiveWindow, WM_NCACTIVATE, TRUE, 0);
}

void TcxPopupWindow::WMActivateApp(TMessage& Message) {
  InheritedMessage<TcxPopupWindow>(Message);
  if (Message.WParam) return;
  if (FPrevActiveWindow && IsWindow(FPrevActiveWindow)) SendMessageW(FPrevActiveWindow, WM_NCACTIVATE, FALSE, 0);
  CloseUp();
}

void TcxPopupWindow::Deactivate() {
  inherited::Deactivate();
  CloseUp();
}

void TcxPopupWindow::CMVisibleChanged(TMessage& Message) {
  InheritedMessage<TcxPopupWindow>(Message);
  VisibleChangedHook();
}

// ---------------------------------------------------------------------------
// TcxCustomDragImage

void TcxCustomDragImage::Publish(TPublisher<TcxCustomDragImage>& P) {
  P.Message<&TcxCustomDragImage::WMEraseBkgnd>(WM_ERASEBKGND);
  P.Message<&TcxCustomDragImage::WMNCHitTest>(WM_NCHITTEST);
}

void TcxCustomDragImage::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FcxCanvas.reset(New<TcxCanvas>(Canvas()));
  FVisible = false;
  SetBounds(0, 0, 0, 0);
  FAlphaBlend = true;
  FAlphaBlendValue = 180;
}

void TcxCustomDragImage::Destroy() {
  SetPopupParent(nullptr);
  FcxCanvas.reset();
  inherited::Destroy();
}

void TcxCustomDragImage::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOPMOST;
  if (!ComponentState().Contains(csDesigning) && WantsLayered()) Params.ExStyle |= WS_EX_LAYERED;
  TApplication* app = Application();
  TCustomForm* active = Screen() ? Screen()->ActiveForm() : nullptr;
  if (FPopupParent && FPopupParent->HandleAllocated()) Params.WndParent = FPopupParent->Handle();
  else if (active && active->HandleAllocated()) Params.WndParent = active->Handle();
  else if (app && app->MainFormOnTaskBar())
    Params.WndParent = app->MainForm() && app->MainForm()->HandleAllocated() ? app->MainForm()->Handle() : nullptr;
  else Params.WndParent = app ? app->Handle() : nullptr;
}

void TcxCustomDragImage::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FPopupParent) SetPopupParent(nullptr);
}

void TcxCustomDragImage::SetPopupParent(TWinControl* AValue) {
  if (FPopupParent == AValue) return;
  if (FPopupParent) FPopupParent->RemoveFreeNotification(this);
  FPopupParent = AValue;
  if (FPopupParent) FPopupParent->FreeNotification(this);
  if (HandleAllocated() && !ComponentState().Contains(csDestroying)) RecreateWnd();
}

void TcxCustomDragImage::SetAlphaBlend(bool AValue) {
  if (FAlphaBlend == AValue) return;
  FAlphaBlend = AValue;
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::SetAlphaBlendValue(BYTE AValue) {
  if (FAlphaBlendValue == AValue) return;
  FAlphaBlendValue = AValue;
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::SetTransparentColor(bool AValue) {
  if (FTransparentColor == AValue) return;
  FTransparentColor = AValue;
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::SetTransparentColorValue(TColor AValue) {
  if (FTransparentColorValue == AValue) return;
  FTransparentColorValue = AValue;
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::UpdateLayeredAttributes() {
  if (ComponentState().Contains(csDesigning) || !HandleAllocated()) return;
  ApplyLayeredAttributes(Handle(), FAlphaBlend, FAlphaBlendValue, FTransparentColor, FTransparentColorValue);
}

void TcxCustomDragImage::Init(const TRect& ASourceBounds, const TPoint& ASourcePoint) {
  SetBounds(Left(), Top(), ASourceBounds.Width(), ASourceBounds.Height());
  FPositionOffset = TPoint(ASourcePoint.X - ASourceBounds.Left, ASourcePoint.Y - ASourceBounds.Top);
}

void TcxCustomDragImage::MoveTo(const TPoint& APosition) {
  SetBounds(APosition.X - FPositionOffset.X, APosition.Y - FPositionOffset.Y, Width(), Height());
}

void TcxCustomDragImage::Offset(int DX, int DY) { SetBounds(Left() + DX, Top() + DY, Width(), Height()); }

void TcxCustomDragImage::Show(int AShowCommand) {
  const HWND wnd = Handle();
  SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  ShowWindow(wnd, AShowCommand);
  UpdateLayeredAttributes();
  Update();
}

void TcxCustomDragImage::Hide() {
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
}

bool TcxCustomDragImage::Visible() { return HandleAllocated() && IsWindowVisible(Handle()); }

void TcxCustomDragImage::SetVisible(bool AValue) {
  if (AValue) Show(SW_SHOWNOACTIVATE);
  else Hide();
}

void TcxCustomDragImage::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

// The mouse goes through to whatever lies below.
void TcxCustomDragImage::WMNCHitTest(TMessage& Message) { Message.Result = HTTRANSPARENT; }

// ---------------------------------------------------------------------------
// TcxSizeFrame

namespace {
// A two-colour checker: black and white pixels alternating.
TOwnedBrush NewCheckerBrush() {
  static constexpr WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  const TOwnedBitmap pattern(CreateBitmap(8, 8, 1, 1, rows));
  return TOwnedBrush(CreatePatternBrush(pattern.Get()));
}
}  // namespace

void TcxSizeFrame::Create(TComponent* AOwner, int AFrameWidth) {
  inherited::Create(AOwner);
  FFrameWidth = AFrameWidth;
  SetAlphaBlend(false);
  FRegion.reset(New<TcxRegion>());
  FPatternBrush = NewCheckerBrush();
}

void TcxSizeFrame::Destroy() {
  FRegion.reset();
  inherited::Destroy();
}

void TcxSizeFrame::Paint() {
  const HDC dc = Canvas()->Handle();
  TRect r = ClientRect();
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  FillRect(dc, r.WinRect(), FPatternBrush.Get());
}

void TcxSizeFrame::DrawSizeFrame(const TRect& R) {
  FRegion.reset(New<TcxRegion>(TRect(0, 0, R.Width(), R.Height())));
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TcxSizeFrame::DrawSizeFrame(const TRect& R, HRGN ARegion) {
  FRegion.reset(New<TcxRegion>());
  FRegion->Combine(ARegion, roSet);
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TcxSizeFrame::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FRegion && HandleAllocated() && 2 * FFrameWidth < Width() && 2 * FFrameWidth < Height()) ApplyRegion();
}

void TcxSizeFrame::ApplyRegion() {
  if (!FFillSelection) {
    // The inner part: what stays inside the region when it is shifted by the
    // frame width in each of the four directions.
    TOwned<TcxRegion> inner = FRegion->Clone();
    for (const TPoint shift : {TPoint(FFrameWidth, 0), TPoint(0, FFrameWidth), TPoint(-FFrameWidth, 0),
                               TPoint(0, -FFrameWidth)}) {
      TOwned<TcxRegion> shifted = FRegion->Clone();
      shifted->Offset(shift);
      inner->Combine(shifted.get(), roIntersect, false);
    }
    FRegion->Combine(inner.get(), roSubtract, false);
  }
  TOwned<TcxRegion> current(New<TcxRegion>());
  const bool hasRegion = GetWindowRgn(Handle(), current->Handle()) != ERROR;
  if (hasRegion && FRegion->IsEqual(current.get())) return;
  // The system owns the region handed over.
  TOwned<TcxRegion> copy = FRegion->Clone();
  const HRGN handed = copy->Handle();
  if (SetWindowRgn(Handle(), handed, TRUE)) copy->SetHandle(nullptr);
}

void cxControlsWindowsInitialization() {
  RegisterClass(TcxPopupWindow::ClassInfo());
  RegisterClass(TcxCustomDragImage::ClassInfo());
  RegisterClass(TcxSizeFrame::ClassInfo());
}
