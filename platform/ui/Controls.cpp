// Controls: routines, TMouse, TControlCanvas, TControl, TGraphicControl and
// TCustomControl. TWinControl lives in Controls_Win.cpp.
#include "platform/ui/Controls.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/Controls_Internal.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cwctype>
#include <memory>
#include <vector>

namespace controls_detail {

TControl* GCaptureControl = nullptr;
TControl* GMouseControl = nullptr;
TMouse* GMouse = nullptr;
// Control canvases that hold a device context of a window.
std::vector<TControlCanvas*> GCanvasesWithDC;

void FreeDeviceContexts(HWND AWnd) {
  // A copy: freeing takes the canvas off the list.
  const std::vector<TControlCanvas*> canvases = GCanvasesWithDC;
  for (TControlCanvas* canvas : canvases)
    if (!AWnd || canvas->WindowHandle() == AWnd) canvas->FreeHandle();
}

void ControlDestroying(TControl* AControl) {
  if (GCaptureControl == AControl) {
    GCaptureControl = nullptr;
    if (!AControl->IsWindowed()) ReleaseCapture();
  }
  if (GMouseControl == AControl) GMouseControl = nullptr;
  DragControlDestroying(AControl);
}

void SetMouseControl(TControl* AControl) {
  if (GMouseControl == AControl) return;
  TControl* old = GMouseControl;
  GMouseControl = AControl;
  // Each message climbs the parent chain with the control it concerns.
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (AControl && GMouseControl == AControl)
    AControl->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(AControl));
}

}  // namespace controls_detail

using namespace controls_detail;

// ---------------------------------------------------------------------------
// Routines

TShiftState KeysToShiftState(WORD AKeys) {
  TShiftState s;
  if (AKeys & MK_SHIFT) s.Include(ssShift);
  if (AKeys & MK_CONTROL) s.Include(ssCtrl);
  if (AKeys & MK_LBUTTON) s.Include(ssLeft);
  if (AKeys & MK_RBUTTON) s.Include(ssRight);
  if (AKeys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM AKeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  // Bit 29 of a key message: the Alt key was down.
  if (AKeyData & 0x20000000) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

WPARAM ShiftStateToKeys(const TShiftState& AShift) {
  WPARAM keys = 0;
  if (AShift.Contains(ssShift)) keys |= MK_SHIFT;
  if (AShift.Contains(ssCtrl)) keys |= MK_CONTROL;
  if (AShift.Contains(ssLeft)) keys |= MK_LBUTTON;
  if (AShift.Contains(ssRight)) keys |= MK_RBUTTON;
  if (AShift.Contains(ssMiddle)) keys |= MK_MBUTTON;
  return keys;
}

TControl* FindDragTarget(const TPoint& AScreenPos, bool AAllowDisabled) {
  HWND wnd = WindowFromPoint(AScreenPos);
  TWinControl* control = nullptr;
  // A standard control's inner window (a combo box's edit) belongs to the
  // nearest window of ours.
  while (wnd && !(control = FindControl(wnd))) wnd = GetParent(wnd);
  if (!control) return nullptr;
  TControl* result = control;
  if (TControl* child = control->ControlAtPos(control->ScreenToClient(AScreenPos), AAllowDisabled))
    result = child;
  return result;
}

TControl* GetCaptureControl() {
  HWND capture = GetCapture();
  if (!capture) {
    GCaptureControl = nullptr;
    return nullptr;
  }
  // A graphic control holds the capture through its parent's window.
  if (GCaptureControl && GCaptureControl->Parent() && GCaptureControl->Parent()->HandleAllocated() &&
      GCaptureControl->Parent()->Handle() == capture)
    return GCaptureControl;
  return FindControl(capture);
}

void SetCaptureControl(TControl* AControl) {
  ReleaseCapture();
  GCaptureControl = nullptr;
  if (!AControl) return;
  if (!AControl->IsWindowed()) {
    if (!AControl->Parent()) return;
    GCaptureControl = AControl;
    AControl = AControl->Parent();
  }
  SetCapture(static_cast<TWinControl*>(AControl)->Handle());
}

bool IsAccel(wchar_t AChar, const String& ACaption) {
  for (std::size_t i = 0; i + 1 < ACaption.size(); ++i) {
    if (ACaption[i] != L'&') continue;
    // "&&" is a literal ampersand.
    if (ACaption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return std::towupper(ACaption[i + 1]) == std::towupper(AChar);
  }
  return false;
}

namespace {

struct TCursorIdent {
  TCursor Value;
  const wchar_t* Name;
};
constexpr TCursorIdent CursorIdents[] = {
    {crDefault, L"crDefault"},   {crNone, L"crNone"},         {crArrow, L"crArrow"},
    {crCross, L"crCross"},       {crIBeam, L"crIBeam"},       {crSizeNESW, L"crSizeNESW"},
    {crSizeNS, L"crSizeNS"},     {crSizeNWSE, L"crSizeNWSE"}, {crSizeWE, L"crSizeWE"},
    {crUpArrow, L"crUpArrow"},   {crHourGlass, L"crHourGlass"}, {crDrag, L"crDrag"},
    {crNoDrop, L"crNoDrop"},     {crHSplit, L"crHSplit"},     {crVSplit, L"crVSplit"},
    {crMultiDrag, L"crMultiDrag"}, {crSQLWait, L"crSQLWait"}, {crNo, L"crNo"},
    {crAppStart, L"crAppStart"}, {crHelp, L"crHelp"},         {crHandPoint, L"crHandPoint"},
    {crSizeAll, L"crSizeAll"},
};

bool SameIdent(const String& A, const wchar_t* B) { return CompareStringOrdinal(A.c_str(), -1, B, -1, TRUE) == CSTR_EQUAL; }

std::vector<TChangeScaleListener> GChangeScaleListeners;

}  // namespace

bool CursorToIdent(std::int64_t ACursor, String& AIdent) {
  for (const auto& c : CursorIdents)
    if (c.Value == ACursor) {
      AIdent = c.Name;
      return true;
    }
  return false;
}

bool IdentToCursor(const String& AIdent, std::int64_t& ACursor) {
  for (const auto& c : CursorIdents)
    if (SameIdent(AIdent, c.Name)) {
      ACursor = c.Value;
      return true;
    }
  return false;
}

// ---------------------------------------------------------------------------
// TControlTracker

TControlTracker::TControlTracker(TControl* AControl) : FControl(AControl), FNext(nullptr) {
  if (FControl) {
    FNext = FControl->FTrackers;
    FControl->FTrackers = this;
  }
}

TControlTracker::~TControlTracker() {
  if (!FControl) return;
  for (TControlTracker** p = &FControl->FTrackers; *p; p = &(*p)->FNext)
    if (*p == this) {
      *p = FNext;
      break;
    }
}

// ---------------------------------------------------------------------------
// TMouse

void TMouse::Create() {
  inherited::Create();
  FDragImmediate = true;
  SettingChanged();
}

void TMouse::SettingChanged() {
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  FWheelScrollLines = lines == WHEEL_PAGESCROLL ? -1 : static_cast<int>(lines);
  FDragThreshold = std::max(GetSystemMetrics(SM_CXDRAG), 1);
}

TPoint TMouse::CursorPos() const {
  POINT p{};
  if (!GetCursorPos(&p)) return TPoint();
  return TPoint(p);
}

void TMouse::SetCursorPos(const TPoint& AValue) { ::SetCursorPos(AValue.X, AValue.Y); }

HWND TMouse::Capture() const { return GetCapture(); }

void TMouse::SetCapture(HWND AValue) {
  if (AValue) ::SetCapture(AValue);
  else ReleaseCapture();
}

TMouse* Mouse() { return GMouse; }

// ---------------------------------------------------------------------------
// TControlCanvas

void TControlCanvas::Destroy() {
  FreeHandle();
  inherited::Destroy();
}

void TControlCanvas::SetControl(TControl* AValue) {
  if (FControl == AValue) return;
  FreeHandle();
  FControl = AValue;
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
  GCanvasesWithDC.erase(std::remove(GCanvasesWithDC.begin(), GCanvasesWithDC.end(), this), GCanvasesWithDC.end());
}

void TControlCanvas::CreateHandle() {
  if (!FControl) {
    inherited::CreateHandle();
    return;
  }
  if (!FDeviceContext) {
    FWindowHandle = FControl->GetDeviceContextWindow();
    if (!FWindowHandle) return;
    FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!FDeviceContext) return;
    // Given back when the loop idles or the window goes.
    GCanvasesWithDC.push_back(this);
    if (!FControl->IsWindowed()) {
      // A graphic control draws on its parent's window: move the origin to
      // the control and clip to it.
      SetWindowOrgEx(FDeviceContext, -FControl->Left(), -FControl->Top(), nullptr);
      IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
    }
  }
  SetHandle(FDeviceContext);
  UpdateTextFlags();
}

void TControlCanvas::UpdateTextFlags() {
  if (FControl && FControl->IsRightToLeft()) SetTextFlags(TextFlags() | ETO_RTLREADING);
  else SetTextFlags(TextFlags() & ~ETO_RTLREADING);
}

// ---------------------------------------------------------------------------
// TControl

void TControl::Publish(TPublisher<TControl>& P) {
  P.Property(L"Left", &TControl::Left, &TControl::SetLeft);
  P.Property(L"Top", &TControl::Top, &TControl::SetTop);
  P.Property(L"Width", &TControl::Width, &TControl::SetWidth);
  P.Property(L"Height", &TControl::Height, &TControl::SetHeight);
  P.Property(L"Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
  P.Property(L"Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property(L"AutoSize", &TControl::AutoSize, &TControl::SetAutoSize).Default(false);
  P.Property(L"BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Stored(&TControl::IsBiDiModeStored);
  P.Property(L"Constraints", &TControl::Constraints, &TControl::SetConstraints);
  P.Property(L"ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
  P.Property(L"StyleElements", &TControl::StyleElements, &TControl::SetStyleElements).Default(AllStyleElements);
  P.Property(L"Action", &TControl::Action, &TControl::SetAction);
  P.Property(L"Caption", &TControl::Caption, &TControl::SetCaption).Stored(&TControl::IsCaptionStored);
  P.Property(L"Color", &TControl::Color, &TControl::SetColor).Stored(&TControl::IsColorStored).Default(clWindow);
  P.Property(L"Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
  P.Property(L"DragCursor", &TControl::DragCursor, &TControl::SetDragCursor).Default(crDrag);
  P.Property(L"DragMode", &TControl::DragMode, &TControl::SetDragMode).Default(dmManual);
  P.Property(L"Enabled", &TControl::Enabled, &TControl::SetEnabled)
      .Stored(&TControl::IsEnabledStored)
      .Default(true);
  P.Property(L"Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
  P.Property(L"Hint", &TControl::Hint, &TControl::SetHint).Stored(&TControl::IsHintStored);
  P.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
  P.Property(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
  P.Property(L"ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
  P.Property(L"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  P.Property(L"ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
  P.Property(L"Visible", &TControl::Visible, &TControl::SetVisible)
      .Stored(&TControl::IsVisibleStored)
      .Default(true);
  P.Property(L"OnClick", &TControl::OnClick, &TControl::SetOnClick).Stored(&TControl::IsOnClickStored);
  P.Property(L"OnContextPopup", &TControl::OnContextPopup, &TControl::SetOnContextPopup);
  P.Property(L"OnDblClick", &TControl::OnDblClick, &TControl::SetOnDblClick);
  P.Property(L"OnMouseDown", &TControl::OnMouseDown, &TControl::SetOnMouseDown);
  P.Property(L"OnMouseEnter", &TControl::OnMouseEnter, &TControl::SetOnMouseEnter);
  P.Property(L"OnMouseLeave", &TControl::OnMouseLeave, &TControl::SetOnMouseLeave);
  P.Property(L"OnMouseMove", &TControl::OnMouseMove, &TControl::SetOnMouseMove);
  P.Property(L"OnMouseUp", &TControl::OnMouseUp, &TControl::SetOnMouseUp);
  P.Property(L"OnMouseWheel", &TControl::OnMouseWheel, &TControl::SetOnMouseWheel);
  P.Property(L"OnResize", &TControl::OnResize, &TControl::SetOnResize);
  P.Property(L"OnDragDrop", &TControl::OnDragDrop, &TControl::SetOnDragDrop);
  P.Property(L"OnDragOver", &TControl::OnDragOver, &TControl::SetOnDragOver);
  P.Property(L"OnEndDrag", &TControl::OnEndDrag, &TControl::SetOnEndDrag);
  P.Property(L"OnStartDrag", &TControl::OnStartDrag, &TControl::SetOnStartDrag);

  P.Message<&TControl::WMLButtonDown>(WM_LBUTTONDOWN);
  P.Message<&TControl::WMLButtonUp>(WM_LBUTTONUP);
  P.Message<&TControl::WMLButtonDblClk>(WM_LBUTTONDBLCLK);
  P.Message<&TControl::WMRButtonDown>(WM_RBUTTONDOWN);
  P.Message<&TControl::WMRButtonUp>(WM_RBUTTONUP);
  P.Message<&TControl::WMRButtonDblClk>(WM_RBUTTONDBLCLK);
  P.Message<&TControl::WMMButtonDown>(WM_MBUTTONDOWN);
  P.Message<&TControl::WMMButtonUp>(WM_MBUTTONUP);
  P.Message<&TControl::WMMButtonDblClk>(WM_MBUTTONDBLCLK);
  P.Message<&TControl::WMMouseMove>(WM_MOUSEMOVE);
  P.Message<&TControl::WMMouseWheel>(WM_MOUSEWHEEL);
  P.Message<&TControl::WMContextMenu>(WM_CONTEXTMENU);
  P.Message<&TControl::WMCancelMode>(WM_CANCELMODE);
  P.Message<&TControl::CMMouseEnter>(CM_MOUSEENTER);
  P.Message<&TControl::CMMouseLeave>(CM_MOUSELEAVE);
  P.Message<&TControl::CMVisibleChanged>(CM_VISIBLECHANGED);
  P.Message<&TControl::CMEnabledChanged>(CM_ENABLEDCHANGED);
  P.Message<&TControl::CMColorChanged>(CM_COLORCHANGED);
  P.Message<&TControl::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TControl::CMParentColorChanged>(CM_PARENTCOLORCHANGED);
  P.Message<&TControl::CMParentFontChanged>(CM_PARENTFONTCHANGED);
  P.Message<&TControl::CMParentShowHintChanged>(CM_PARENTSHOWHINTCHANGED);
  P.Message<&TControl::CMParentBiDiModeChanged>(CM_PARENTBIDIMODECHANGED);
  P.Message<&TControl::CMHitTest>(CM_HITTEST);
  P.Message<&TControl::CMMouseWheel>(CM_MOUSEWHEEL);
  P.Message<&TControl::CMDrag>(CM_DRAG);
}

void TControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FConstraints.reset(New<TSizeConstraints>(this));
  FConstraints->SetOnChange(BindEvent<&TControl::ConstraintsChanged>(this));
  FParentBiDiMode = true;
  FStyleElements = AllStyleElements;
  FCurrentPPI = ScreenLogPixels();
  FWindowProc = BindEvent<&TControl::WndProc>(this);
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = true;
  FEnabled = true;
  FAnchors = {akLeft, akTop};
  FColor = clWindow;
  FParentColor = true;
  FFont.reset(New<TFont>());
  FFont->SetOnChange(BindEvent<&TControl::FontChanged>(this));
  FParentFont = true;
  FParentShowHint = true;
  FCursor = crDefault;
  FDragCursor = crDrag;
}

void TControl::BeforeDestruction() {
  inherited::BeforeDestruction();
  // A drag from this control ends while its overridables still work.
  EndDrag(false);
  ControlDestroying(this);
  if (TApplication* app = Application()) app->ControlDestroyed(this);
}

void TControl::Destroy() {
  // Anyone still holding a tracker learns that the control is gone.
  for (TControlTracker* t = FTrackers; t; t = t->FNext) t->FControl = nullptr;
  FTrackers = nullptr;
  ControlDestroying(this);
  if (FParent) FParent->RemoveControl(this);
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FActionLink.reset();
  FFont.reset();
  FConstraints.reset();
  inherited::Destroy();
}

LRESULT TControl::Perform(UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  TMessage message{AMsg, AWParam, ALParam, 0};
  HandleMessage(message);
  return message.Result;
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FDragMode == dmAutomatic && !ComponentState().Contains(csDesigning) && !DragControl()) {
        // The press starts the drag instead of reaching the control.
        if (BeginAutoDrag()) return;
      }
      if (FControlStyle.Contains(csCaptureMouse) && !ComponentState().Contains(csDesigning))
        SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
      break;
    case WM_LBUTTONUP:
      FControlState.Exclude(csLButtonDown);
      break;
    case WM_MOUSEMOVE:
      if (TApplication* app = Application()) app->HintMouseMessage(this, Message);
      break;
    default:
      break;
  }
  Dispatch(Message);
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<wchar_t*>(Message.LParam);
      const std::size_t size = Message.WParam;
      if (!buffer || size == 0) {
        Message.Result = 0;
        break;
      }
      const std::size_t n = std::min(size - 1, FText.size());
      std::copy_n(FText.data(), n, buffer);
      buffer[n] = L'\0';
      Message.Result = static_cast<LRESULT>(n);
      break;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(FText.size());
      break;
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const wchar_t*>(Message.LParam);
      FText = text ? text : L"";
      Message.Result = TRUE;
      break;
    }
    default:
      Message.Result = 0;
      break;
  }
}

String TControl::GetText() const {
  auto* self = const_cast<TControl*>(this);
  const auto length = static_cast<std::size_t>(self->Perform(WM_GETTEXTLENGTH, 0, 0));
  String text(length + 1, L'\0');
  const auto got = static_cast<std::size_t>(
      self->Perform(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(got, length));
  return text;
}

void TControl::SetText(const String& AValue) {
  if (GetText() == AValue) return;
  SetTextBuf(AValue);
}

void TControl::SetTextBuf(const String& AValue) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AValue.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetParent(TWinControl* AValue) {
  if (FParent == AValue) return;
  if (AValue == this) throw EInvalidOperation(L"Ein Steuerelement kann nicht sein eigener Vorfahr sein");
  for (TWinControl* p = AValue; p; p = p->Parent())
    if (p == this) throw EInvalidOperation(L"Ein Steuerelement kann nicht sein eigener Vorfahr sein");
  if (FParent) FParent->RemoveControl(this);
  if (AValue) {
    AValue->InsertControl(this);
    UpdateAnchorRules();
  }
}

TComponent* TControl::GetParentComponent() { return FParent; }

void TControl::SetParentComponent(TComponent* AValue) {
  if (auto* parent = dynamic_cast<TWinControl*>(AValue)) SetParent(parent);
}

bool TControl::CanResize(int&, int&) { return true; }

bool TControl::CanAutoSize(int&, int&) { return true; }

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight) {
  int w = NewWidth, h = NewHeight;
  if (!CanResize(w, h)) return false;
  if (FAutoSize && !ComponentState().Contains(csLoading) && !CanAutoSize(w, h)) return false;
  FConstraints->Apply(w, h);
  NewWidth = std::max(w, 0);
  NewHeight = std::max(h, 0);
  return true;
}

void TControl::SetAutoSize(bool AValue) {
  if (FAutoSize == AValue) return;
  FAutoSize = AValue;
  if (AValue) AdjustSize();
}

void TControl::AdjustSize() {
  if (ComponentState().Contains(csLoading)) return;
  int w = FWidth, h = FHeight;
  if (!CheckNewSize(w, h) || (w == FWidth && h == FHeight)) return;
  SetBounds(FLeft, FTop, w, h);
}

void TControl::ConstraintsChanged(TObject*) { AdjustSize(); }

void TControl::SetBiDiMode(TBiDiMode AValue) {
  if (FBiDiMode == AValue) return;
  FBiDiMode = AValue;
  FParentBiDiMode = false;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetStyleElements(TStyleElements AValue) {
  if (FStyleElements == AValue) return;
  FStyleElements = AValue;
  Perform(CM_STYLEELEMENTSCHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool AValue) {
  if (FParentBiDiMode == AValue) return;
  FParentBiDiMode = AValue;
  if (FParent && AValue && !ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
  if (!FParentBiDiMode || !FParent) return;
  SetBiDiMode(FParent->BiDiMode());
  FParentBiDiMode = true;
}

void TControl::ScaleForPPI(int ANewPPI) {
  if (ANewPPI <= 0 || ANewPPI == FCurrentPPI) return;
  const int old = FCurrentPPI;
  ChangeScale(ANewPPI, old, true);
  FCurrentPPI = ANewPPI;
  // A copy: a listener may subscribe or leave while it is told.
  const std::vector<TChangeScaleListener> listeners = GChangeScaleListeners;
  for (TChangeScaleListener listener : listeners) listener({this, ANewPPI, old});
}

void SubscribeToChangeScale(TChangeScaleListener AListener) {
  if (std::find(GChangeScaleListeners.begin(), GChangeScaleListeners.end(), AListener) == GChangeScaleListeners.end())
    GChangeScaleListeners.push_back(AListener);
}

void UnsubscribeFromChangeScale(TChangeScaleListener AListener) { std::erase(GChangeScaleListeners, AListener); }

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  Invalidate();
  RequestAlign();
  if (resized && !ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::ClientRect() { return TRect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(const TSize& AValue) {
  const TRect client = ClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Width() + AValue.cx, FHeight - client.Height() + AValue.cy);
}

void TControl::SetClientWidth(int AValue) { SetClientSize(TSize(AValue, ClientHeight())); }

void TControl::SetClientHeight(int AValue) { SetClientSize(TSize(ClientWidth(), AValue)); }

TPoint TControl::ClientOrigin() {
  // A window knows where it is; a form has no parent control to ask.
  if (IsWindowed() && static_cast<TWinControl*>(this)->HandleAllocated()) {
    POINT p{0, 0};
    ::ClientToScreen(static_cast<TWinControl*>(this)->FHandle, &p);
    return TPoint(p);
  }
  if (!FParent) throw EInvalidOperation(L"Steuerelement '%s' hat kein übergeordnetes Fenster", {Name()});
  return FParent->ClientOrigin() + TPoint(FLeft, FTop);
}

TPoint TControl::ClientToParent(const TPoint& P, TWinControl* AParent) {
  if (!AParent) AParent = FParent;
  if (!AParent) throw EInvalidOperation(L"Steuerelement '%s' hat kein übergeordnetes Fenster", {Name()});
  TPoint result = P;
  for (TControl* c = this; c != AParent; c = c->FParent) {
    if (!c->FParent)
      throw EInvalidOperation(L"Steuerelement '%s' ist kein Vorfahr von '%s'", {AParent->Name(), Name()});
    result.Offset(c->FLeft, c->FTop);
  }
  return result;
}

TPoint TControl::ParentToClient(const TPoint& P, TWinControl* AParent) {
  const TPoint origin = ClientToParent(TPoint(), AParent);
  return P - origin;
}

void TControl::SetAlign(TAlign AValue) {
  if (FAlign == AValue) return;
  const TAlign old = FAlign;
  FAlign = AValue;
  FAnchors = AnchorAlign[AValue];
  if (!ComponentState().Contains(csLoading) && old != alNone && AValue == alNone) UpdateAnchorRules();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors AValue) {
  if (FAnchors == AValue) return;
  FAnchors = AValue;
  if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!FParent || ComponentState().Contains(csLoading)) return;
  // Positions the parent gives while it aligns are not the user's choice.
  if (FParent->ControlState().Contains(csAligning)) return;
  FAnchorOrigin = BoundsRect();
  FAnchorParentSize = FParent->ClientRect().GetSize();
  FAnchorValid = true;
}

TRect TControl::AnchoredBounds(const TSize& AParentClient) const {
  TRect r = BoundsRect();
  if (!FAnchorValid) return r;
  const int dx = AParentClient.cx - FAnchorParentSize.cx;
  const int dy = AParentClient.cy - FAnchorParentSize.cy;
  const TRect& o = FAnchorOrigin;
  auto place = [](bool ANear, bool AFar, int AOrigin, int AExtent, int ADelta, int& APos, int& ASize) {
    if (ANear && AFar) {
      APos = AOrigin;
      ASize = std::max(AExtent + ADelta, 0);
    } else if (AFar) {
      APos = AOrigin + ADelta;
      ASize = AExtent;
    } else if (ANear) {
      APos = AOrigin;
      ASize = AExtent;
    } else {
      // Anchored to neither side: keeps its relative place in the middle.
      APos = AOrigin + ADelta / 2;
      ASize = AExtent;
    }
  };
  int x = 0, y = 0, w = 0, h = 0;
  place(FAnchors.Contains(akLeft), FAnchors.Contains(akRight), o.Left, o.Width(), dx, x, w);
  place(FAnchors.Contains(akTop), FAnchors.Contains(akBottom), o.Top, o.Height(), dy, y, h);
  return Bounds(x, y, w, h);
}

void TControl::SetZOrder(bool ATopMost) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (ATopMost) list.push_back(this);
  else list.insert(list.begin(), this);
  InvalidateControl(FVisible, true);
}

void TControl::SetVisible(bool AValue) {
  if (FVisible == AValue) return;
  VisibleChanging();
  FVisible = AValue;
  Perform(CM_VISIBLECHANGED, AValue, 0);
  RequestAlign();
}

void TControl::Show() {
  if (FParent) {
    // Showing a control shows the parents it needs.
    for (TWinControl* p = FParent; p; p = p->Parent())
      if (!p->Visible() && p->Parent()) p->SetVisible(true);
  }
  SetVisible(true);
}

void TControl::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::IsVisibleOnScreen() {
  for (TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  TControl* top = this;
  while (top->FParent) top = top->FParent;
  auto* win = static_cast<TWinControl*>(top);
  return top->IsWindowed() && win->HandleAllocated() && IsWindowVisible(win->Handle());
}

void TControl::SetColor(TColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool AValue) {
  if (FParentColor == AValue) return;
  FParentColor = AValue;
  if (FParent && AValue && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool AValue) {
  if (FParentFont == AValue) return;
  FParentFont = AValue;
  if (FParent && AValue && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
  if (!FApplyingParentFont) FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor AValue) {
  if (FCursor == AValue) return;
  FCursor = AValue;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool AValue) {
  if (FShowHint == AValue && !FParentShowHint) return;
  FShowHint = AValue;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool AValue) {
  if (FParentShowHint == AValue) return;
  FParentShowHint = AValue;
  if (FParent && AValue && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* AValue) {
  if (FPopupMenu == AValue) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = AValue;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* AValue) {
  if (!AValue) {
    FActionLink.reset();
    FControlStyle.Exclude(csActionClient);
    return;
  }
  FControlStyle.Include(csActionClient);
  if (!FActionLink) FActionLink.reset(New<TControlActionLink>(this));
  FActionLink->SetAction(AValue);
  FActionLink->SetOnChange(BindEvent<&TControl::DoActionChange>(this));
  ActionChange(AValue, ComponentState().Contains(csLoading));
  AValue->FreeNotification(this);
}

void TControl::DoActionChange(TObject* Sender) {
  if (FActionLink && Sender == FActionLink->Action()) ActionChange(Sender, false);
}

void TControl::ActionChange(TObject* Sender, bool ACheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!ACheckDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
  if (!ACheckDefaults || FEnabled) SetEnabled(action->Enabled());
  if (!ACheckDefaults || FHint.empty()) SetHint(action->Hint());
  if (!ACheckDefaults || FVisible) SetVisible(action->Visible());
  if (!ACheckDefaults || !FOnClick) FOnClick = action->OnExecute();
}

bool TControl::ExecuteAction(TBasicAction* Action) {
  if (!Action || !Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TControl::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TControl::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }
bool TControl::IsEnabledStored() const { return !FActionLink || !FActionLink->IsEnabledLinked(); }
bool TControl::IsVisibleStored() const { return !FActionLink || !FActionLink->IsVisibleLinked(); }
bool TControl::IsOnClickStored() const { return !FActionLink || !FActionLink->IsOnExecuteLinked(); }

void TControl::Click() {
  // The click handler of the control wins over the action's, unless it is
  // the action's own (taken over by ActionChange).
  if (FOnClick && Action() && FOnClick != Action()->OnExecute()) {
    FOnClick(this);
  } else if (FActionLink && !ComponentState().Contains(csDesigning)) {
    FActionLink->Execute(this);
  } else {
    CallEvent(FOnClick, this);
  }
}

void TControl::DblClick() { CallEvent(FOnDblClick, this); }

void TControl::ReadState(TReader* Reader) {
  // What the description holds is laid out for the resolution it was made at.
  FScalingFlags = AllScalingFlags;
  inherited::ReadState(Reader);
}

void TControl::Loaded() {
  inherited::Loaded();
  if (FActionLink) ActionChange(FActionLink->Action(), true);
  UpdateAnchorRules();
  RequestAlign();
}

void TControl::Resize() { CallEvent(FOnResize, this); }

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

HWND TControl::GetDeviceContextWindow() { return FParent ? FParent->Handle() : nullptr; }

void TControl::InvalidateControl(bool AIsVisible, bool AIsOpaque) {
  if (!FParent || !FParent->HandleAllocated() || IsWindowed()) return;
  if (!AIsVisible && !FVisible) return;
  const RECT r = BoundsRect();
  // An opaque control covers what lies below it: no erase needed.
  InvalidateRect(FParent->Handle(), &r, !(AIsOpaque || FControlStyle.Contains(csOpaque)));
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  if (!FControlStyle.Contains(csOpaque)) {
    Invalidate();
    FParent->Update();
    return;
  }
  const TWindowDC dc(FParent->Handle());
  if (!dc) return;
  const TSavedDC saved(dc.Get());
  IntersectClipRect(dc.Get(), FLeft, FTop, FLeft + FWidth, FTop + FHeight);
  FParent->PaintControls(dc.Get(), this);
}

bool TControl::MouseCapture() { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool AValue) {
  if (MouseCapture() == AValue) return;
  SetCaptureControl(AValue ? this : nullptr);
}

void TControl::ScaleBy(int M, int D) {
  if (D == 0) throw EInvalidOperation(L"Skalierung mit dem Nenner 0");
  ChangeScale(M, D, false);
}

void TControl::ChangeScale(int M, int D, bool) {
  if (M == D || D == 0) return;
  // A control still being read scales only what its description laid out,
  // and that once.
  const TScalingFlags flags = ComponentState().Contains(csLoading) ? FScalingFlags : AllScalingFlags;
  FScalingFlags = {};
  const int scaledLeft = MulDiv(FLeft, M, D);
  const int scaledTop = MulDiv(FTop, M, D);
  // Right and bottom edges are scaled too, so neighbours stay flush.
  const int width = flags.Contains(sfWidth) ? MulDiv(FLeft + FWidth, M, D) - scaledLeft : FWidth;
  const int height = flags.Contains(sfHeight) ? MulDiv(FTop + FHeight, M, D) - scaledTop : FHeight;
  SetBounds(flags.Contains(sfLeft) ? scaledLeft : FLeft, flags.Contains(sfTop) ? scaledTop : FTop, width, height);
  if (!FParentFont && flags.Contains(sfFont)) {
    FApplyingParentFont = true;  // scaling keeps the font's own status
    FFont->SetHeight(MulDiv(FFont->Height(), M, D));
    FApplyingParentFont = false;
  }
}

// Mouse ----------------------------------------------------------------------

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TWMMouse m(Message);
  MouseDown(Button, Shift + KeysToShiftState(static_cast<WORD>(m.Keys())), m.XPos(), m.YPos());
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TWMMouse m(Message);
  MouseUp(Button, KeysToShiftState(static_cast<WORD>(m.Keys())), m.XPos(), m.YPos());
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  CallEvent(FOnMouseDown, this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) { CallEvent(FOnMouseMove, this, Shift, X, Y); }

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  CallEvent(FOnMouseUp, this, Button, Shift, X, Y);
}

// The default processing runs first (a standard control reacts as usual),
// then the events; each step checks that the control survived the last.

bool TControl::ButtonDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  TControlTracker alive(this);
  DefaultHandler(Message);
  if (!alive.Alive()) return false;
  DoMouseDown(Message, Button, Shift);
  return alive.Alive();
}

void TControl::ButtonUpMessage(TMessage& Message, TMouseButton Button) {
  TControlTracker alive(this);
  DefaultHandler(Message);
  if (alive.Alive()) DoMouseUp(Message, Button);
}

void TControl::WMLButtonDown(TMessage& Message) { ButtonDownMessage(Message, mbLeft, {}); }

void TControl::WMLButtonDblClk(TMessage& Message) {
  if (ButtonDownMessage(Message, mbLeft, {ssDouble}) && FControlStyle.Contains(csDoubleClicks)) DblClick();
}

void TControl::WMLButtonUp(TMessage& Message) {
  TControlTracker alive(this);
  DefaultHandler(Message);
  if (!alive.Alive()) return;
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(TWMMouse(Message).Pos())) Click();
  }
  if (alive.Alive()) DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& Message) { ButtonDownMessage(Message, mbRight, {}); }
void TControl::WMRButtonDblClk(TMessage& Message) { ButtonDownMessage(Message, mbRight, {ssDouble}); }
void TControl::WMRButtonUp(TMessage& Message) { ButtonUpMessage(Message, mbRight); }
void TControl::WMMButtonDown(TMessage& Message) { ButtonDownMessage(Message, mbMiddle, {}); }
void TControl::WMMButtonDblClk(TMessage& Message) { ButtonDownMessage(Message, mbMiddle, {ssDouble}); }
void TControl::WMMButtonUp(TMessage& Message) { ButtonUpMessage(Message, mbMiddle); }

void TControl::WMMouseMove(TMessage& Message) {
  TControlTracker alive(this);
  DefaultHandler(Message);
  if (alive.Alive() && !FControlStyle.Contains(csNoStdEvents)) {
    const TWMMouse m(Message);
    MouseMove(KeysToShiftState(static_cast<WORD>(m.Keys())), m.XPos(), m.YPos());
  }
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  bool handled = false;
  CallEvent(FOnMouseWheel, this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::WMMouseWheel(TMessage& Message) {
  const TWMMouseWheel m(Message);
  if (Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) == 0) {
    DefaultHandler(Message);
    return;
  }
  (void)m;
  Message.Result = 1;
}

void TControl::CMMouseWheel(TMessage& Message) {
  const TWMMouseWheel m(Message);
  const TShiftState shift = KeysToShiftState(static_cast<WORD>(m.Keys()));
  TControlTracker alive(this);
  bool handled = DoMouseWheel(shift, m.WheelDelta(), m.Pos());
  // Unhandled wheel messages climb to the parent.
  if (!handled && alive.Alive() && FParent) handled = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0;
  Message.Result = handled ? 1 : 0;
}

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  CallEvent(FOnContextPopup, this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  const TWMContextMenu m(Message);
  TPoint pos = m.Pos();
  const bool byKeyboard = pos.X == -1 && pos.Y == -1;
  TPoint clientPos = byKeyboard ? TPoint(-1, -1) : ScreenToClient(pos);
  bool handled = false;
  TControlTracker alive(this);
  DoContextPopup(clientPos, handled);
  if (!alive.Alive()) return;
  if (handled) {
    Message.Result = 1;
    return;
  }
  TPopupMenu* menu = GetPopupMenu();
  if (menu && menu->AutoPopup()) {
    if (byKeyboard) pos = ClientToScreen(TPoint());
    menu->SetPopupComponent(this);
    menu->Popup(pos.X, pos.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TControl::WMCancelMode(TMessage& Message) {
  if (MouseCapture()) {
    SetMouseCapture(false);
    FControlState.Exclude(csClicked);
  }
  DefaultHandler(Message);
}

void TControl::CMMouseEnter(TMessage& Message) {
  if (Message.LParam == 0) Message.LParam = reinterpret_cast<LPARAM>(this);
  TControlTracker alive(this);
  if (Message.LParam == reinterpret_cast<LPARAM>(this)) MouseEnter();
  if (alive.Alive() && FParent) FParent->Perform(CM_MOUSEENTER, 0, Message.LParam);
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (Message.LParam == 0) Message.LParam = reinterpret_cast<LPARAM>(this);
  TControlTracker alive(this);
  if (Message.LParam == reinterpret_cast<LPARAM>(this)) MouseLeave();
  if (alive.Alive() && FParent) FParent->Perform(CM_MOUSELEAVE, 0, Message.LParam);
}

void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque)); }

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }

void TControl::CMColorChanged(TMessage&) { Invalidate(); }

void TControl::CMFontChanged(TMessage&) { Invalidate(); }

void TControl::CMParentColorChanged(TMessage& Message) {
  if (!FParentColor || !FParent) return;
  const TColor color = Message.WParam ? static_cast<TColor>(Message.LParam) : FParent->Color();
  SetColor(color);
  FParentColor = true;
}

void TControl::CMParentFontChanged(TMessage& Message) {
  if (!FParentFont || !FParent) return;
  {
    FApplyingParentFont = true;
    TScopeExit applied([this] { FApplyingParentFont = false; });
    if (Message.WParam) FFont->Assign(reinterpret_cast<TFont*>(Message.LParam));
    else FFont->Assign(FParent->Font());
  }
  FParentFont = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  FShowHint = FParent->ShowHint();
  FParentShowHint = true;
}

void TControl::CMHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

// ---------------------------------------------------------------------------
// TSizeConstraints

void TSizeConstraints::Publish(TPublisher<TSizeConstraints>& P) {
  P.Property(L"MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
  P.Property(L"MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
  P.Property(L"MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
  P.Property(L"MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

void TSizeConstraints::Create(TControl* AControl) {
  inherited::Create();
  FControl = AControl;
}

TPersistent* TSizeConstraints::GetOwner() { return FControl; }

void TSizeConstraints::Assign(TPersistent* ASource) {
  auto* other = dynamic_cast<TSizeConstraints*>(ASource);
  if (!other) {
    inherited::Assign(ASource);
    return;
  }
  FMinWidth = other->FMinWidth;
  FMinHeight = other->FMinHeight;
  FMaxWidth = other->FMaxWidth;
  FMaxHeight = other->FMaxHeight;
  Change();
}

// A maximum below the minimum follows it (and the other way round), so the
// limits never contradict each other.
void TSizeConstraints::SetLimit(int& ALimit, int AValue, int& AMin, int& AMax) {
  AValue = std::max(AValue, 0);
  if (ALimit == AValue) return;
  ALimit = AValue;
  if (AMax > 0 && AMax < AMin) (&ALimit == &AMin ? AMax : AMin) = ALimit;
  Change();
}

void TSizeConstraints::SetMinWidth(int AValue) { SetLimit(FMinWidth, AValue, FMinWidth, FMaxWidth); }
void TSizeConstraints::SetMinHeight(int AValue) { SetLimit(FMinHeight, AValue, FMinHeight, FMaxHeight); }
void TSizeConstraints::SetMaxWidth(int AValue) { SetLimit(FMaxWidth, AValue, FMinWidth, FMaxWidth); }
void TSizeConstraints::SetMaxHeight(int AValue) { SetLimit(FMaxHeight, AValue, FMinHeight, FMaxHeight); }

void TSizeConstraints::Apply(int& AWidth, int& AHeight) const {
  if (FMaxWidth > 0 && AWidth > FMaxWidth) AWidth = FMaxWidth;
  if (FMaxHeight > 0 && AHeight > FMaxHeight) AHeight = FMaxHeight;
  if (AWidth < FMinWidth) AWidth = FMinWidth;
  if (AHeight < FMinHeight) AHeight = FMinHeight;
}

void TSizeConstraints::Change() { CallEvent(FOnChange, this); }

// ---------------------------------------------------------------------------
// TGraphicControl

void TGraphicControl::Publish(TPublisher<TGraphicControl>& P) {
  P.Message<&TGraphicControl::WMPaint>(WM_PAINT);
  P.Message<&TGraphicControl::WMNCHitTest>(WM_NCHITTEST);
}

void TGraphicControl::WMNCHitTest(TMessage& Message) { Message.Result = HTCLIENT; }

void TGraphicControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  auto* canvas = New<TControlCanvas>();
  FCanvas.reset(canvas);
  canvas->SetControl(this);
}

void TGraphicControl::Destroy() {
  FCanvas.reset();
  inherited::Destroy();
}

void TGraphicControl::WMPaint(TMessage& Message) {
  HDC dc = TWMPaint(Message).DC();
  if (!dc) return;
  const TCanvasDCScope painting(FCanvas.get(), dc);
  // Each paint starts with the control's font and colour.
  FCanvas->Font()->Assign(Font());
  FCanvas->Brush()->SetColor(Color());
  Paint();
}

// ---------------------------------------------------------------------------
// TCustomControl

void TCustomControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  auto* canvas = New<TControlCanvas>();
  FCanvas.reset(canvas);
  canvas->SetControl(this);
  FControlState.Include(csCustomPaint);
}

void TCustomControl::Destroy() {
  FCanvas.reset();
  inherited::Destroy();
}

void TCustomControl::PaintWindow(HDC DC) {
  const TCanvasDCScope painting(FCanvas.get(), DC);
  static_cast<TControlCanvas*>(FCanvas.get())->UpdateTextFlags();
  // Each paint starts with the control's font and colour.
  FCanvas->Font()->Assign(Font());
  FCanvas->Brush()->SetColor(Color());
  Paint();
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void ControlsInitialization() {
  // Controls and the components streamed with them are looked up by name in
  // a class group of their own.
  StartClassGroup(TControl::ClassInfo());
  ActivateClassGroup(TControl::ClassInfo());
  GMouse = New<TMouse>();
  ControlsWinInitialization();
}

void ControlsFinalization() {
  ControlsWinFinalization();
  FreeAndNil(GMouse);
  GCaptureControl = nullptr;
  GMouseControl = nullptr;
}
