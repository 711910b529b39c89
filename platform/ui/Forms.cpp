// Forms: TCustomForm, TForm, THintWindow, TScreenMonitor, TScreen. TApplication
// lives in Forms_Application.cpp.
#include "platform/ui/Forms.h"

#include "platform/classes/Filer.h"
#include "platform/classes/FormReader.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Menus.h"

#include <algorithm>

namespace {

// A form placed inside another control, or inside a window of another
// form, is a child window.
bool IsChildForm(TCustomForm* AForm) { return AForm->Parent() || AForm->ParentWindow(); }

// Sends a focus message and answers whether the focus stayed where it was.
bool SendFocusMessage(TControl* AControl, UINT AMsg) {
  HWND focus = GetFocus();
  AControl->Perform(AMsg, 0, 0);
  return GetFocus() == focus;
}

}  // namespace

TCustomForm* GetParentForm(TControl* AControl, bool ATopForm) {
  if (!AControl) return nullptr;
  TControl* c = AControl;
  if (ATopForm) {
    while (c->Parent()) c = c->Parent();
    return dynamic_cast<TCustomForm*>(c);
  }
  for (; c; c = c->Parent())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
  return nullptr;
}

// ---------------------------------------------------------------------------
// TCustomForm

void TCustomForm::Publish(TPublisher<TCustomForm>& P) {
  P.Message<&TCustomForm::WMActivate>(WM_ACTIVATE);
  P.Message<&TCustomForm::WMClose>(WM_CLOSE);
  P.Message<&TCustomForm::WMQueryEndSession>(WM_QUERYENDSESSION);
  P.Message<&TCustomForm::WMSetFocus>(WM_SETFOCUS);
  P.Message<&TCustomForm::CMActivate>(CM_ACTIVATE);
  P.Message<&TCustomForm::CMDeactivate>(CM_DEACTIVATE);
  P.Message<&TCustomForm::CMDialogKey>(CM_DIALOGKEY);
  P.Message<&TCustomForm::CMShowingChanged>(CM_SHOWINGCHANGED);
  P.Message<&TCustomForm::WMDpiChanged>(WM_DPICHANGED);
  P.Message<&TCustomForm::CMRelease>(CM_RELEASE);
}

void TCustomForm::Create(TComponent* AOwner) {
  CreateNew(AOwner);
  // Forms of our own classes come with a description; a plain form has none.
  if (ClassType() != TForm::ClassInfo() && ClassType() != TCustomForm::ClassInfo()) {
    FFormState.Include(fsCreating);
    TScopeExit created([this] { FFormState.Exclude(fsCreating); });
    InitInheritedComponent(this, TForm::ClassInfo());
  }
}

void TCustomForm::CreateNew(TComponent* AOwner) {
  TWinControl::Create(AOwner);
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  SetParentColor(false);
  ApplyDefaultColor(clBtnFace);
  SetParentFont(false);
  SetParentShowHint(false);
  FBorderStyle = bsSizeable;
  FBorderIcons = {biSystemMenu, biMinimize, biMaximize};
  FPosition = poDefaultPosOnly;
  FDefaultMonitor = dmActiveForm;
  FAlphaBlendValue = 255;
  FScaled = true;
  FPixelsPerInch = Screen() ? Screen()->PixelsPerInch() : 96;
  SetBounds(0, 0, 320, 240);
  if (Screen()) Screen()->AddForm(this);
}

void TCustomForm::AfterConstruction() {
  inherited::AfterConstruction();
  DoCreate();
}

void TCustomForm::BeforeDestruction() {
  inherited::BeforeDestruction();
  DoDestroy();
}

void TCustomForm::Destroy() {
  if (TScreen* screen = Screen()) screen->RemoveForm(this);
  if (TApplication* app = Application()) {
    if (app->FMainForm == this) app->FMainForm = nullptr;
  }
  inherited::Destroy();
}

void TCustomForm::DoCreate() {
  TControlTracker alive(this);
  try {
    CallEvent(FOnCreate, this);
  } catch (...) {
    // OnCreate failing is reported; the form exists all the same.
    if (TApplication* app = Application()) app->HandleException(this);
    else throw;
  }
}

void TCustomForm::DoDestroy() {
  try {
    CallEvent(FOnDestroy, this);
  } catch (...) {
    if (TApplication* app = Application()) app->HandleException(this);
  }
}

void TCustomForm::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  if (AComponent == FActiveControl) FActiveControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
  if (AComponent == FPopupParent) {
    FPopupParent = nullptr;
    RecreateForNewOwner();
  }
}

void TCustomForm::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"TextHeight", [this](TReader* R) { ReadTextHeight(R); }, [this](TWriter* W) { WriteTextHeight(W); },
      FTextHeight != 0);
}

void TCustomForm::ReadTextHeight(TReader* AReader) { FTextHeight = AReader->ReadInteger(); }

void TCustomForm::WriteTextHeight(TWriter* AWriter) { AWriter->WriteInteger(FTextHeight); }

void TCustomForm::Loaded() {
  inherited::Loaded();
  // A form laid out at another resolution grows or shrinks to this one.
  if (FScaled && Screen() && FPixelsPerInch > 0 && FPixelsPerInch != Screen()->PixelsPerInch()) {
    const int from = FPixelsPerInch;
    const int to = Screen()->PixelsPerInch();
    const TSize client(ClientWidth(), ClientHeight());
    ScaleBy(to, from);
    SetClientWidth(MulDiv(client.cx, to, from));
    SetClientHeight(MulDiv(client.cy, to, from));
    FPixelsPerInch = to;
  }
  if (FActiveControl && !FActiveControl->CanFocus()) FActiveControl = nullptr;
}

void TCustomForm::WMDpiChanged(TMessage& Message) {
  Message.Result = 0;
  const int dpi = HIWORD(Message.WParam);
  if (!FScaled || dpi <= 0) return;
  ScaleForPPI(dpi);
  FPixelsPerInch = dpi;
  if (const auto* suggested = reinterpret_cast<const RECT*>(Message.LParam)) SetBoundsRect(TRect(*suggested));
}

void TCustomForm::FormStyles(DWORD& AStyle, DWORD& AExStyle) const {
  AStyle = WS_CLIPCHILDREN;
  AExStyle = 0;
  TBorderIcons icons = FBorderIcons;
  switch (FBorderStyle) {
    case bsNone:
      AStyle |= WS_POPUP;
      icons = {};
      break;
    case bsSingle:
      AStyle |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
      AStyle |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      // A dialog has a system menu at most (and maybe help), no size boxes.
      AStyle |= WS_POPUP | WS_CAPTION;
      AExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons = icons * TBorderIcons{biSystemMenu, biHelp};
      break;
    case bsToolWindow:
      AStyle |= WS_CAPTION;
      AExStyle |= WS_EX_TOOLWINDOW;
      icons = icons * TBorderIcons{biSystemMenu};
      break;
    case bsSizeToolWin:
      AStyle |= WS_CAPTION | WS_THICKFRAME;
      AExStyle |= WS_EX_TOOLWINDOW;
      icons = icons * TBorderIcons{biSystemMenu};
      break;
  }
  if (icons.Contains(biSystemMenu)) {
    AStyle |= WS_SYSMENU;
    if (icons.Contains(biMinimize)) AStyle |= WS_MINIMIZEBOX;
    if (icons.Contains(biMaximize)) AStyle |= WS_MAXIMIZEBOX;
    if (icons.Contains(biHelp) && !icons.Contains(biMinimize) && !icons.Contains(biMaximize))
      AExStyle |= WS_EX_CONTEXTHELP;
  }
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (IsChildForm(this)) return;
  DWORD style = 0, exStyle = 0;
  FormStyles(style, exStyle);
  Params.Style = style;
  Params.ExStyle = exStyle;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  Params.WindowClass.style = CS_DBLCLKS;
  TApplication* app = Application();
  const bool isMain = app && (!app->MainForm() || app->MainForm() == this);
  if (const HWND owner = PopupOwnerWindow()) {
    Params.WndParent = owner;
  } else if (app) {
    if (isMain && app->MainFormOnTaskBar()) {
      Params.WndParent = nullptr;
      Params.ExStyle |= WS_EX_APPWINDOW;
    } else if (!isMain && app->MainFormOnTaskBar() && app->MainForm() && app->MainForm()->HandleAllocated()) {
      Params.WndParent = app->MainForm()->Handle();
    } else {
      Params.WndParent = app->Handle();
    }
  }
  if (FWindowState == wsMaximized) Params.Style |= WS_MAXIMIZE;
  else if (FWindowState == wsMinimized) Params.Style |= WS_MINIMIZE;
}

void TCustomForm::CreateWnd() {
  inherited::CreateWnd();
  UpdateLayeredAttributes();
  // A client size asked for earlier is met exactly now that the frame is real.
  if (FPendingClientSize.cx > 0 || FPendingClientSize.cy > 0) {
    const TSize pending = FPendingClientSize;
    FPendingClientSize = TSize();
    const TRect client = ClientRect();
    const int w = pending.cx > 0 ? pending.cx : client.Width();
    const int h = pending.cy > 0 ? pending.cy : client.Height();
    SetBounds(FLeft, FTop, FWidth - client.Width() + w, FHeight - client.Height() + h);
  }
}

TRect TCustomForm::ClientRect() {
  if (HandleAllocated() || IsChildForm(this)) return inherited::ClientRect();
  // Without a window the frame is what the styles would give.
  DWORD style = 0, exStyle = 0;
  FormStyles(style, exStyle);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int w = FWidth - static_cast<int>(frame.right - frame.left);
  const int h = FHeight - static_cast<int>(frame.bottom - frame.top);
  return TRect(0, 0, std::max(w, 0), std::max(h, 0));
}

void TCustomForm::SetClientWidth(int AValue) {
  if (!HandleAllocated()) FPendingClientSize.cx = AValue;
  SetClientSize(TSize(AValue, ClientHeight()));
}

void TCustomForm::SetClientHeight(int AValue) {
  if (!HandleAllocated()) FPendingClientSize.cy = AValue;
  SetClientSize(TSize(ClientWidth(), AValue));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle AValue) {
  if (FBorderStyle == AValue) return;
  const TSize client(ClientWidth(), ClientHeight());
  FBorderStyle = AValue;
  // The client area keeps its size under the new frame.
  if (!HandleAllocated() && ComponentState().Contains(csLoading)) return;
  RecreateWnd();
  if (!HandleAllocated()) SetClientSize(client);
}

void TCustomForm::SetBorderIcons(TBorderIcons AValue) {
  if (FBorderIcons == AValue) return;
  FBorderIcons = AValue;
  RecreateWnd();
}

void TCustomForm::SetPosition(TPosition AValue) { FPosition = AValue; }

void TCustomForm::SetWindowState(TWindowState AValue) {
  if (FWindowState == AValue) return;
  FWindowState = AValue;
  if (HandleAllocated() && Showing()) {
    static const int commands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    ShowWindow(Handle(), commands[AValue]);
  }
}

void TCustomForm::SetAlphaBlend(bool AValue) {
  if (FAlphaBlend == AValue) return;
  FAlphaBlend = AValue;
  UpdateLayeredAttributes();
}

void TCustomForm::SetAlphaBlendValue(BYTE AValue) {
  if (FAlphaBlendValue == AValue) return;
  FAlphaBlendValue = AValue;
  UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColor(bool AValue) {
  if (FTransparentColor == AValue) return;
  FTransparentColor = AValue;
  UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColorValue(TColor AValue) {
  if (FTransparentColorValue == AValue) return;
  FTransparentColorValue = AValue;
  UpdateLayeredAttributes();
}

void TCustomForm::UpdateLayeredAttributes() {
  // A form inside another control is a child window, which cannot be layered.
  if (!HandleAllocated() || IsChildForm(this) || ComponentState().Contains(csDesigning)) return;
  ApplyLayeredAttributes(Handle(), FAlphaBlend, FAlphaBlendValue, FTransparentColor, FTransparentColorValue);
}

void ApplyLayeredAttributes(HWND AWnd, bool AAlphaBlend, BYTE AAlphaBlendValue, bool ATransparentColor,
                            TColor ATransparentColorValue) {
  const LONG_PTR exStyle = GetWindowLongPtrW(AWnd, GWL_EXSTYLE);
  if (AAlphaBlend || ATransparentColor) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(AWnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    DWORD flags = 0;
    if (AAlphaBlend) flags |= LWA_ALPHA;
    if (ATransparentColor) flags |= LWA_COLORKEY;
    SetLayeredWindowAttributes(AWnd, ColorToColorRef(ATransparentColorValue), AAlphaBlendValue, flags);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongPtrW(AWnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(AWnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  }
}

HWND TCustomForm::PopupOwnerWindow() const {
  TCustomForm* owner = nullptr;
  TCustomForm* mainForm = Application() ? Application()->MainForm() : nullptr;
  switch (FPopupMode) {
    case pmNone:
      return nullptr;
    case pmAuto:
      owner = Screen() && Screen()->ActiveForm() != this ? Screen()->ActiveForm() : nullptr;
      if (!owner || !owner->HandleAllocated()) owner = mainForm;
      if (owner && !owner->HandleAllocated()) owner = nullptr;
      break;
    case pmExplicit:
      // The owner's window must exist before this one can belong to it.
      owner = FPopupParent ? FPopupParent : mainForm;
      break;
  }
  return owner && owner != this ? owner->Handle() : nullptr;
}

void TCustomForm::SetPopupMode(TPopupMode AValue) {
  if (FPopupMode == AValue) return;
  FPopupMode = AValue;
  RecreateForNewOwner();
}

void TCustomForm::SetPopupParent(TCustomForm* AValue) {
  if (FPopupParent == AValue) return;
  for (TCustomForm* f = AValue; f; f = f->FPopupParent)
    if (f == this) throw EInvalidOperation(L"Ein Fenster kann nicht sein eigener Besitzer sein");
  if (FPopupParent) FPopupParent->RemoveFreeNotification(this);
  FPopupParent = AValue;
  if (AValue) {
    AValue->FreeNotification(this);
    if (FPopupMode == pmNone) FPopupMode = pmExplicit;
  }
  RecreateForNewOwner();
}

void TCustomForm::RecreateForNewOwner() {
  // The owner of a top-level window is fixed when the window is made.
  if (HandleAllocated() && !IsChildForm(this) && !ComponentState().Contains(csLoading) &&
      !ComponentState().Contains(csDestroying))
    RecreateWnd();
}

TScreenMonitor* TCustomForm::DefaultMonitorTarget() {
  TScreen* screen = Screen();
  if (!screen) return nullptr;
  TCustomForm* form = nullptr;
  switch (FDefaultMonitor) {
    case dmDesktop:
      return nullptr;
    case dmPrimary:
      return screen->PrimaryMonitor();
    case dmMainForm:
      form = Application() ? Application()->MainForm() : nullptr;
      break;
    case dmActiveForm:
      form = screen->ActiveForm();
      break;
  }
  return form && form != this && form->HandleAllocated() ? screen->MonitorFromWindow(form->Handle()) : nullptr;
}

void TCustomForm::MoveToDefaultMonitor() {
  TScreenMonitor* target = DefaultMonitorTarget();
  if (!target) return;
  TRect r = BoundsRect();
  const RECT bounds = r;
  if (MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL) == target->Handle()) return;
  // The same place on the target monitor as on the nearest one, kept inside
  // the target's work area (left and top win for a form larger than it).
  TScreenMonitor* nearest = Screen()->MonitorFromRect(r);
  if (nearest) r.Offset(target->Left() - nearest->Left(), target->Top() - nearest->Top());
  const TRect work = target->WorkareaRect();
  if (r.Right > work.Right) r.Offset(work.Right - r.Right, 0);
  if (r.Left < work.Left) r.Offset(work.Left - r.Left, 0);
  if (r.Bottom > work.Bottom) r.Offset(0, work.Bottom - r.Bottom);
  if (r.Top < work.Top) r.Offset(0, work.Top - r.Top);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomForm::ApplyPosition() {
  if (FPositioned) return;
  FPositioned = true;
  TScreen* screen = Screen();
  if (!screen) return;
  auto center = [&](const TRect& AArea) {
    SetBounds(AArea.Left + (AArea.Width() - FWidth) / 2, AArea.Top + (AArea.Height() - FHeight) / 2, FWidth, FHeight);
  };
  switch (FPosition) {
    case poScreenCenter: {
      TScreenMonitor* monitor = DefaultMonitorTarget();
      if (!monitor) monitor = screen->MonitorFromWindow(Handle());
      center(monitor ? monitor->BoundsRect() : TRect(0, 0, screen->Width(), screen->Height()));
      break;
    }
    case poDesktopCenter:
      center(screen->DesktopRect());
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* other = FPosition == poOwnerFormCenter ? dynamic_cast<TCustomForm*>(Owner()) : nullptr;
      if (!other && Application()) other = Application()->MainForm();
      if (other && other != this) center(other->BoundsRect());
      else center(screen->WorkAreaRect());
      break;
    }
    default:
      MoveToDefaultMonitor();
      break;
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::CMShowingChanged(TMessage&) {
  if (IsChildForm(this)) {
    // A form inside another control shows like any child window.
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (Showing() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    return;
  }
  TControlTracker alive(this);
  if (Showing()) {
    {
      FFormState.Include(fsShowing);
      TScopeExit shown([&] {
        if (alive.Alive()) FFormState.Exclude(fsShowing);
      });
      DoShow();
    }
    if (!alive.Alive()) return;
    if (!FVisible) return;  // OnShow hid the form again
    ApplyPosition();
    if (!FActiveControl) {
      if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FActiveControl = first;
    }
    static const int commands[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(Handle(), commands[FWindowState]);
    SetForegroundWindow(Handle());
    FFormState.Include(fsVisible);
  } else {
    try {
      DoHide();
    } catch (...) {
      if (alive.Alive() && HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
      throw;
    }
    if (!alive.Alive()) return;
    ShowWindow(Handle(), SW_HIDE);
    FFormState.Exclude(fsVisible);
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  CallEvent(FOnCloseQuery, this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  TControlTracker alive(this);
  if (!CloseQuery() || !alive.Alive()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (!alive.Alive() || action == caNone) return;
  if (Application() && Application()->MainForm() == this) {
    Application()->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::CloseModal() {
  TControlTracker alive(this);
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      if (!alive.Alive()) return;
      action = caHide;
      DoClose(action);
    }
    if (!alive.Alive()) return;
    if (action == caNone) FModalResult = mrNone;
    else if (action == caFree) Release();
  } catch (...) {
    if (alive.Alive()) FModalResult = mrNone;
    if (TApplication* app = Application()) app->HandleException(this);
  }
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !Enabled() || FFormState.Contains(fsModal))
    throw EInvalidOperation(L"Ein sichtbares Fenster kann nicht modal gemacht werden");
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  TApplication* app = Application();
  FFormState.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  const std::vector<HWND> disabled = DisableTaskWindows(nullptr);
  if (app) ++app->FModalLevel;
  TControlTracker alive(this);
  TModalResult result = mrNone;
  try {
    Show();
    FModalResult = mrNone;
    Perform(CM_ACTIVATE, 0, 0);
    do {
      if (app) app->HandleMessage();
      else WaitMessage();
      if (!alive.Alive()) break;
      if (app && app->Terminated()) FModalResult = mrCancel;
      else if (FModalResult != mrNone) CloseModal();
    } while (alive.Alive() && FModalResult == mrNone);
    if (alive.Alive()) {
      result = FModalResult;
      Perform(CM_DEACTIVATE, 0, 0);
      if (GetActiveWindow() != Handle()) activeWindow = nullptr;
      Hide();
    }
  } catch (...) {
    if (alive.Alive()) {
      Hide();
      FFormState.Exclude(fsModal);
    }
    if (app) --app->FModalLevel;
    EnableTaskWindows(disabled);
    if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
    throw;
  }
  if (alive.Alive()) FFormState.Exclude(fsModal);
  if (app) --app->FModalLevel;
  EnableTaskWindows(disabled);
  if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
  return result;
}

void TCustomForm::Release() { PostMessageW(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::CMRelease(TMessage&) { Free(); }

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMQueryEndSession(TMessage& Message) { Message.Result = CloseQuery() ? 1 : 0; }

void TCustomForm::WMActivate(TMessage& Message) {
  // No default processing: the focus goes to the active control, not to the
  // form's own window.
  SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

void TCustomForm::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  // The form's own window passes the focus on to its active control.
  if (FActiveControl && FActiveControl->HandleAllocated() && FActiveControl->CanFocus() &&
      GetFocus() == Handle())
    ::SetFocus(FActiveControl->Handle());
}

void TCustomForm::SetActive(bool AValue) {
  FActive = AValue;
  if (AValue) {
    if (Screen()) Screen()->SetActiveForm(this);
    if (!FActiveControl) {
      if (TWinControl* first = FindNextControl(nullptr, true, true, false)) FActiveControl = first;
    }
    SetWindowFocus();
    Perform(CM_ACTIVATE, 0, 0);
  } else {
    Perform(CM_DEACTIVATE, 0, 0);
  }
}

void TCustomForm::CMActivate(TMessage&) { Activate(); }

void TCustomForm::CMDeactivate(TMessage&) { Deactivate(); }

void TCustomForm::SetWindowFocus() {
  HWND target = nullptr;
  if (FActiveControl && FActiveControl->CanFocus()) target = FActiveControl->Handle();
  else target = Handle();
  if (target && GetFocus() != target) ::SetFocus(target);
}

bool TCustomForm::CanFocus() { return FVisible && Enabled(); }

void TCustomForm::SetFocus() {
  if (!FActive) {
    if (!(FVisible && Enabled()))
      throw EInvalidOperation(L"Ein deaktiviertes oder unsichtbares Fenster kann den Fokus nicht erhalten");
    SetWindowFocus();
  }
}

void TCustomForm::SetActiveControl(TWinControl* AValue) {
  if (FActiveControl == AValue) return;
  if (AValue && (AValue == this || GetParentForm(AValue) != this ||
                 (!ComponentState().Contains(csLoading) && !AValue->CanFocus())))
    throw EInvalidOperation(L"Ein deaktiviertes oder unsichtbares Fenster kann den Fokus nicht erhalten");
  FActiveControl = AValue;
  if (AValue) AValue->FreeNotification(this);
  if (!ComponentState().Contains(csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* AControl) {
  const bool wasActive = FActive;
  SetActiveControl(AControl);
  if (!wasActive) {
    // An inactive but showing form gets the focus for its control at once.
    if (FVisible && Enabled() && HandleAllocated() && AControl && AControl->HandleAllocated()) ::SetFocus(AControl->Handle());
    else if (FVisible && Enabled()) SetFocus();
  }
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  TPopupMenu* menu = GetPopupMenu();
  return menu && menu->IsShortCut(Message);
}

bool TCustomForm::SetFocusedControl(TWinControl* AControl) {
  FActiveControl = AControl != this ? AControl : nullptr;
  if (TScreen* screen = Screen()) {
    screen->SetActiveForm(this);
    screen->SetActiveControl(AControl);
  }
  if (AControl->ControlState().Contains(csFocusing)) return false;
  TControlTracker alive(AControl);
  AControl->ControlState().Include(csFocusing);
  TScopeExit focused([&] {
    if (alive.Alive()) AControl->ControlState().Exclude(csFocusing);
  });
  bool result = false;
  try {
    if (!FFocusedControl) FFocusedControl = this;
    if (FFocusedControl != AControl) {
      // Exit from the old focus up to the common parent ...
      while (FFocusedControl && !FFocusedControl->ContainsControl(AControl)) {
        TWinControl* leaving = FFocusedControl;
        FFocusedControl = FFocusedControl->Parent();
        if (!SendFocusMessage(leaving, CM_EXIT) || !alive.Alive()) throw EAbort();
      }
      // ... and enter down to the new one.
      while (FFocusedControl != AControl) {
        TWinControl* entering = AControl;
        while (entering->Parent() != FFocusedControl) entering = entering->Parent();
        FFocusedControl = entering;
        if (!SendFocusMessage(entering, CM_ENTER) || !alive.Alive()) throw EAbort();
      }
      Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(AControl));
    }
    result = true;
  } catch (const EAbort&) {
    result = false;
  }
  return result;
}

void TCustomForm::DefocusControl(TWinControl* AControl, bool ARemoving) {
  if (ARemoving && FFocusedControl && AControl->ContainsControl(FFocusedControl)) FFocusedControl = AControl->Parent();
  if (FActiveControl && AControl->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    if (TScreen* screen = Screen())
      if (screen->ActiveControl() && AControl->ContainsControl(screen->ActiveControl())) screen->SetActiveControl(nullptr);
  }
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  const WORD key = TWMKey(Message).CharCode();
  if (GetKeyState(VK_MENU) >= 0) {
    switch (key) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl, key == VK_RIGHT || key == VK_DOWN, false);
          Message.Result = 1;
          return;
        }
        break;
      default:
        break;
    }
  }
  inherited::CMDialogKey(Message);
}

// ---------------------------------------------------------------------------
// TForm

void TForm::Publish(TPublisher<TForm>& P) {
  P.Property(L"ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
  P.Property(L"AlphaBlend", &TForm::AlphaBlend, &TForm::SetAlphaBlend).Default(false);
  P.Property(L"AlphaBlendValue", &TForm::AlphaBlendValue, &TForm::SetAlphaBlendValue).Default(BYTE{255});
  P.Property(L"BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  P.Property(L"BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  P.Property(L"ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
  P.Property(L"ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
  P.Property(L"Color", &TForm::Color, &TForm::SetColor).Default(clBtnFace);
  P.Property(L"ParentFont", &TForm::ParentFont, &TForm::SetParentFont).Default(false);
  P.Property(L"KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(false);
  P.Property(L"DefaultMonitor", &TForm::DefaultMonitor, &TForm::SetDefaultMonitor).Default(dmActiveForm);
  P.Property(L"PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch);
  P.Property(L"PopupMode", &TForm::PopupMode, &TForm::SetPopupMode).Default(pmNone);
  P.Property(L"PopupParent", &TForm::PopupParent, &TForm::SetPopupParent);
  P.Property(L"Position", &TForm::Position, &TForm::SetPosition).Default(poDefaultPosOnly);
  P.Property(L"TransparentColor", &TForm::TransparentColor, &TForm::SetTransparentColor).Default(false);
  P.Property(L"TransparentColorValue", &TForm::TransparentColorValue, &TForm::SetTransparentColorValue)
      .Default(clBlack);
  P.Property(L"Scaled", &TForm::Scaled, &TForm::SetScaled).Default(true);
  P.Property(L"Visible", &TForm::Visible, &TForm::SetVisible).Default(false);
  P.Property(L"WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
  P.Property(L"OnActivate", &TForm::OnActivate, &TForm::SetOnActivate);
  P.Property(L"OnClose", &TForm::OnClose, &TForm::SetOnClose);
  P.Property(L"OnCloseQuery", &TForm::OnCloseQuery, &TForm::SetOnCloseQuery);
  P.Property(L"OnCreate", &TForm::OnCreate, &TForm::SetOnCreate);
  P.Property(L"OnDeactivate", &TForm::OnDeactivate, &TForm::SetOnDeactivate);
  P.Property(L"OnDestroy", &TForm::OnDestroy, &TForm::SetOnDestroy);
  P.Property(L"OnHide", &TForm::OnHide, &TForm::SetOnHide);
  P.Property(L"OnShow", &TForm::OnShow, &TForm::SetOnShow);
}

// ---------------------------------------------------------------------------
// TCustomFrame

void TCustomFrame::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FControlStyle.Include(csAcceptsControls);
  FPixelsPerInch = Screen() ? Screen()->PixelsPerInch() : 96;
  SetBounds(0, 0, 320, 240);
}

void TFrame::Publish(TPublisher<TFrame>& P) {
  P.Property(L"PixelsPerInch", &TFrame::PixelsPerInch, &TFrame::SetPixelsPerInch);
}

// ---------------------------------------------------------------------------
// THintWindow

void THintWindow::Publish(TPublisher<THintWindow>& P) { P.Message<&THintWindow::WMNCHitTest>(WM_NCHITTEST); }

void THintWindow::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetParentColor(false);
  SetColor(clInfoBk);
  SetParentFont(false);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    Font()->SetHandle(CreateFontIndirectW(&metrics.lfStatusFont));
  }
  Font()->SetColor(clInfoText);
  FVisible = false;
}

void THintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS;
  Params.WndParent = Application() ? Application()->Handle() : nullptr;
}

void THintWindow::WMNCHitTest(TMessage& Message) { Message.Result = HTTRANSPARENT; }

TRect THintWindow::CalcHintRect(int AMaxWidth, const String& AHint) {
  TRect r(0, 0, AMaxWidth, 0);
  String text = AHint;
  Canvas()->Font()->Assign(Font());
  {
    const TScreenDC screen;
    const TCanvasDCScope measuring(Canvas(), screen.Get());
    Canvas()->TextRect(r, text, {tfCalcRect, tfLeft, tfWordBreak, tfNoPrefix});
  }
  r.Right += 6;
  r.Bottom += 2;
  return r;
}

void THintWindow::ActivateHint(const TRect& ARect, const String& AHint) {
  SetCaption(AHint);
  TRect r = ARect;
  // Keep the window on the screen.
  if (TScreen* screen = Screen()) {
    const TRect desk = screen->DesktopRect();
    if (r.Right > desk.Right) r.Offset(desk.Right - r.Right, 0);
    if (r.Left < desk.Left) r.Offset(desk.Left - r.Left, 0);
    if (r.Bottom > desk.Bottom) r.Offset(0, desk.Bottom - r.Bottom);
    if (r.Top < desk.Top) r.Offset(0, desk.Top - r.Top);
  }
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  r.Deflate(2);
  r.Left += 1;
  String text = Caption();
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Font()->Assign(Font());
  Canvas()->TextRect(r, text, {tfLeft, tfWordBreak, tfNoPrefix});
}

// ---------------------------------------------------------------------------
// TScreenMonitor

void TScreenMonitor::Create(HMONITOR AHandle, int ANum) {
  inherited::Create();
  FHandle = AHandle;
  FNum = ANum;
}

namespace {
MONITORINFO MonitorInfo(HMONITOR AHandle) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(AHandle, &info)) info = MONITORINFO{};
  return info;
}
}  // namespace

TRect TScreenMonitor::BoundsRect() const { return TRect(MonitorInfo(FHandle).rcMonitor); }
TRect TScreenMonitor::WorkareaRect() const { return TRect(MonitorInfo(FHandle).rcWork); }
bool TScreenMonitor::Primary() const { return (MonitorInfo(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0; }
int TScreenMonitor::PixelsPerInch() const { return Screen() ? Screen()->PixelsPerInch() : 96; }

// ---------------------------------------------------------------------------
// TScreen

namespace {

struct TStockCursor {
  TCursor Cursor;
  const wchar_t* Resource;
};
const TStockCursor StockCursors[] = {
    {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},      {crIBeam, IDC_IBEAM},
    {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},    {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},     {crUpArrow, IDC_UPARROW},  {crHourGlass, IDC_WAIT},
    {crDrag, IDC_ARROW},        {crNoDrop, IDC_NO},        {crHSplit, IDC_SIZEWE},
    {crVSplit, IDC_SIZENS},     {crMultiDrag, IDC_ARROW},  {crSQLWait, IDC_WAIT},
    {crNo, IDC_NO},             {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
    {crHandPoint, IDC_HAND},    {crSizeAll, IDC_SIZEALL},
};

}  // namespace

void TScreen::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  const TScreenDC screen;
  FPixelsPerInch = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  for (const auto& c : StockCursors) FCursors.emplace_back(c.Cursor, LoadCursorW(nullptr, c.Resource));
  FCursors.emplace_back(crDefault, LoadCursorW(nullptr, IDC_ARROW));
}

void TScreen::Destroy() {
  for (TScreenMonitor* m : FMonitors) m->Free();
  FMonitors.clear();
  // Cursors a program registered are its own; stock ones are shared.
  for (auto& [index, cursor] : FCursors)
    if (index > 0 && cursor) DestroyCursor(cursor);
  inherited::Destroy();
}

TRect TScreen::DesktopRect() const {
  return Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return TRect(0, 0, Width(), Height());
  return TRect(r);
}

void TScreen::LoadMonitors() {
  for (TScreenMonitor* m : FMonitors) m->Free();
  FMonitors.clear();
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR AMonitor, HDC, LPRECT, LPARAM AData) -> BOOL {
        auto* list = reinterpret_cast<std::vector<TScreenMonitor*>*>(AData);
        try {
          list->push_back(New<TScreenMonitor>(AMonitor, static_cast<int>(list->size())));
        } catch (...) {
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&FMonitors));
}

int TScreen::MonitorCount() {
  LoadMonitors();
  return static_cast<int>(FMonitors.size());
}

TScreenMonitor* TScreen::Monitors(int AIndex) {
  if (FMonitors.empty()) LoadMonitors();
  if (AIndex < 0 || AIndex >= static_cast<int>(FMonitors.size()))
    throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
  return FMonitors[AIndex];
}

namespace {
TScreenMonitor* FindMonitor(std::vector<TScreenMonitor*>& AList, HMONITOR AHandle) {
  for (TScreenMonitor* m : AList)
    if (m->Handle() == AHandle) return m;
  return nullptr;
}
}  // namespace

TScreenMonitor* TScreen::PrimaryMonitor() { return MonitorFromPoint(TPoint(0, 0)); }

TScreenMonitor* TScreen::MonitorFromPoint(const TPoint& APoint) {
  HMONITOR h = ::MonitorFromPoint(APoint, MONITOR_DEFAULTTONEAREST);
  TScreenMonitor* m = FindMonitor(FMonitors, h);
  if (!m) {
    LoadMonitors();
    m = FindMonitor(FMonitors, h);
  }
  return m;
}

TScreenMonitor* TScreen::MonitorFromRect(const TRect& ARect) {
  const RECT r = ARect;
  HMONITOR h = ::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
  TScreenMonitor* m = FindMonitor(FMonitors, h);
  if (!m) {
    LoadMonitors();
    m = FindMonitor(FMonitors, h);
  }
  return m;
}

TScreenMonitor* TScreen::MonitorFromWindow(HWND AWnd) {
  HMONITOR h = ::MonitorFromWindow(AWnd, MONITOR_DEFAULTTONEAREST);
  TScreenMonitor* m = FindMonitor(FMonitors, h);
  if (!m) {
    LoadMonitors();
    m = FindMonitor(FMonitors, h);
  }
  return m;
}

void TScreen::SetCursor(TCursor AValue) {
  if (FCursor == AValue) return;
  FCursor = AValue;
  // Show it at once, without waiting for the next mouse move.
  POINT p{};
  GetCursorPos(&p);
  if (AValue != crDefault) ::SetCursor(Cursors(AValue));
  else if (HWND wnd = WindowFromPoint(p)) SendMessageW(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

HCURSOR TScreen::Cursors(int AIndex) const {
  for (const auto& [index, cursor] : FCursors)
    if (index == AIndex) return cursor;
  for (const auto& [index, cursor] : FCursors)
    if (index == crDefault) return cursor;
  return nullptr;
}

void TScreen::SetCursors(int AIndex, HCURSOR AValue) {
  if (AIndex == crDefault) return;
  for (auto& [index, cursor] : FCursors)
    if (index == AIndex) {
      if (index > 0 && cursor && cursor != AValue) DestroyCursor(cursor);
      cursor = AValue;
      return;
    }
  FCursors.emplace_back(AIndex, AValue);
}

TCustomForm* TScreen::Forms(int AIndex) const {
  if (AIndex < 0 || AIndex >= FormCount()) throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
  return FForms[AIndex];
}

void TScreen::AddForm(TCustomForm* AForm) {
  if (std::find(FForms.begin(), FForms.end(), AForm) == FForms.end()) FForms.push_back(AForm);
}

void TScreen::RemoveForm(TCustomForm* AForm) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), AForm), FForms.end());
  if (FActiveForm == AForm) FActiveForm = nullptr;
  if (FActiveControl && GetParentForm(FActiveControl) == AForm) FActiveControl = nullptr;
}

void TScreen::SetActiveForm(TCustomForm* AForm) {
  if (FActiveForm == AForm) return;
  FActiveForm = AForm;
  CallEvent(FOnActiveFormChange, this);
}

void TScreen::SetActiveControl(TWinControl* AControl) {
  if (FActiveControl == AControl) return;
  FActiveControl = AControl;
  CallEvent(FOnActiveControlChange, this);
}
