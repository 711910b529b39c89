// Forms: TApplication (the message loop, exceptions, hints, work queued for
// the main thread) and the unit's start-up.
#include "platform/ui/Forms.h"

#include "platform/classes/FormReader.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/Controls_Internal.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"

#include <algorithm>

namespace {

TApplication* GApplication = nullptr;
TScreen* GScreen = nullptr;
TClass GHintWindowClass = nullptr;

constexpr UINT WakeMsg = WM_APP + 1;
constexpr UINT_PTR HintShowTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;

void CallbackExceptionHandler(TObject* ASender) {
  if (GApplication) GApplication->HandleException(ASender);
}

// Forms found by name in references of other forms' descriptions.
TComponent* FindGlobalForm(const String& AName) {
  if (!GScreen) return nullptr;
  for (int i = 0; i < GScreen->FormCount(); ++i) {
    TCustomForm* form = GScreen->Forms(i);
    if (CompareStringOrdinal(form->Name().c_str(), -1, AName.c_str(), -1, TRUE) == CSTR_EQUAL) return form;
  }
  return nullptr;
}

// The run-time's queue of work for the main thread.
HANDLE QueuedWorkEvent() { return SyncEvent(); }
void RunQueued() {
  if (IsMainThread()) CheckSynchronize(0);
}
void InstallWakeHook(HWND AWnd) {
  if (AWnd) SetWakeMainThread([AWnd] { PostMessageW(AWnd, WakeMsg, 0, 0); });
  else SetWakeMainThread(nullptr);
}

}  // namespace

TApplication* Application() { return GApplication; }
TScreen* Screen() { return GScreen; }
TClass HintWindowClass() { return GHintWindowClass ? GHintWindowClass : THintWindow::ClassInfo(); }
void SetHintWindowClass(TClass AValue) { GHintWindowClass = AValue; }

// ---------------------------------------------------------------------------
// Modal support

std::vector<HWND> DisableTaskWindows(HWND AActiveWindow) {
  struct TData {
    HWND Active;
    std::vector<HWND> Disabled;
  } data{AActiveWindow, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND AWnd, LPARAM AParam) -> BOOL {
        auto* d = reinterpret_cast<TData*>(AParam);
        if (AWnd != d->Active && IsWindowVisible(AWnd) && IsWindowEnabled(AWnd)) {
          EnableWindow(AWnd, FALSE);
          d->Disabled.push_back(AWnd);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&data));
  return data.Disabled;
}

void EnableTaskWindows(const std::vector<HWND>& AWindows) {
  for (HWND wnd : AWindows)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
}

// ---------------------------------------------------------------------------
// TApplication

void TApplication::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FHandle = AllocateHWnd(BindEvent<&TApplication::WndProc>(this));
  FShowMainForm = true;
  FUpdateFormatSettings = true;
  FShowHint = true;
  FHintPause = 500;
  FHintShortPause = 50;
  FHintHidePause = 2500;
  FHintColor = clInfoBk;
}

void TApplication::Destroy() {
  if (FHandle) {
    KillTimer(FHandle, HintShowTimer);
    KillTimer(FHandle, HintHideTimer);
  }
  FreeAndNil(FHintWindow);
  // The forms the application owns go first, while the window still exists.
  DestroyComponents();
  DeallocateHWnd(FHandle);
  FHandle = nullptr;
  inherited::Destroy();
}

void TApplication::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  if (AComponent == FMainForm) FMainForm = nullptr;
  if (AComponent == FHintControl) FHintControl = nullptr;
}

void TApplication::CreateForm(TClass AClass, TCustomForm*& AReference) {
  TCustomForm* form = NewOfClass<TCustomForm>(AClass, this);
  AReference = form;
  if (!FMainForm) FMainForm = form;
}

void TApplication::SetMainFormOnTaskBar(bool AValue) {
  if (FMainFormOnTaskBar == AValue) return;
  FMainFormOnTaskBar = AValue;
  // The main form's window changes its owner: it is made anew.
  if (FMainForm && FMainForm->HandleAllocated()) FMainForm->RecreateWnd();
}

String TApplication::ExeName() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool TApplication::Active() const {
  HWND active = GetActiveWindow();
  return active && FindControl(active) != nullptr;
}

int TApplication::MessageBox(const String& AText, const String& ACaption, UINT AFlags) {
  HWND owner = GetActiveWindow();
  if (!owner && FMainForm && FMainForm->HandleAllocated()) owner = FMainForm->Handle();
  const std::vector<HWND> disabled = DisableTaskWindows(nullptr);
  ++FModalLevel;
  // Through the dialog provider, so that tests can see and answer the box.
  const int result = DialogMessageBox(owner, AText, ACaption.empty() ? FTitle : ACaption, AFlags);
  --FModalLevel;
  EnableTaskWindows(disabled);
  if (owner && IsWindow(owner)) SetActiveWindow(owner);
  return result;
}

void TApplication::Run() {
  if (FMainForm && FShowMainForm) {
    if (FMainForm->WindowState() == wsMinimized) ShowWindow(FMainForm->Handle(), SW_SHOWMINNOACTIVE);
    FMainForm->SetVisible(true);
  }
  do {
    HandleMessage();
  } while (!FTerminated);
}

void TApplication::Terminate() {
  FTerminated = true;
  // Wakes a loop that waits; the quit message ends a native modal loop too.
  PostQuitMessage(0);
}

void TApplication::HandleMessage() {
  MSG msg{};
  try {
    if (!ProcessMessage(msg)) Idle(msg);
  } catch (...) {
    HandleException(this);
  }
}

void TApplication::ProcessMessages() {
  MSG msg{};
  for (;;) {
    bool got = false;
    try {
      got = ProcessMessage(msg);
    } catch (...) {
      HandleException(this);
      got = true;
    }
    if (!got) break;
  }
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  CallEvent(FOnMessage, Msg, handled);
  if (handled) return true;
  if (IsHintMsg(Msg)) return true;
  if (IsKeyMsg(Msg)) return true;
  TranslateMessage(&Msg);
  DispatchMessageW(&Msg);
  return true;
}

bool TApplication::IsHintMsg(const MSG& Msg) {
  // A key or a click hides a shown hint; the message goes on.
  if (FHintActive && ((Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) ||
                      Msg.message == WM_LBUTTONDOWN || Msg.message == WM_RBUTTONDOWN ||
                      Msg.message == WM_MBUTTONDOWN || Msg.message == WM_ACTIVATE))
    CancelHint();
  return false;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) wnd = Msg.hwnd;
  // An inner window of a standard control (a combo box's edit) answers
  // through the nearest control of ours.
  TWinControl* control = nullptr;
  while (wnd && !(control = FindControl(wnd))) wnd = GetParent(wnd);
  if (!control) return false;
  return control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::Idle(const MSG&) {
  controls_detail::FreeDeviceContexts(nullptr);
  bool done = true;
  try {
    CallEvent(FOnIdle, this, done);
    UpdateActions();
  } catch (...) {
    HandleException(this);
  }
  RunQueuedWork();
  if (done && !FTerminated) {
    // Wakes for messages and for work queued by other threads.
    HANDLE sync = QueuedWorkEvent();
    MsgWaitForMultipleObjectsEx(sync ? 1 : 0, sync ? &sync : nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    RunQueuedWork();
  }
}

void TApplication::UpdateActions() {
  if (!GScreen) return;
  for (int f = 0; f < GScreen->FormCount(); ++f) {
    TCustomForm* form = GScreen->Forms(f);
    if (!form->Visible()) continue;
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* control = dynamic_cast<TControl*>(form->Components(i)))
        if (TControlActionLink* link = control->ActionLink()) link->Update();
  }
}

void TApplication::RunQueuedWork() {
  // A procedure that raises stops the run; the rest stays queued.
  for (int guard = 0; guard < 1000; ++guard) {
    try {
      RunQueued();
      return;
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WakeMsg:
      RunQueuedWork();
      return;
    case WM_TIMER:
      if (Message.WParam == HintShowTimer) {
        StopHintTimer(HintShowTimer);
        POINT p{};
        GetCursorPos(&p);
        ActivateHint(TPoint(p));
      } else if (Message.WParam == HintHideTimer) {
        CancelHint();
      }
      return;
    case WM_SETTINGCHANGE:
      if (TMouse* mouse = Mouse()) mouse->SettingChanged();
      break;
    case WM_ENDSESSION:
      if (Message.WParam) Terminate();
      break;
    default:
      break;
  }
  Message.Result = DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// Exceptions -----------------------------------------------------------------

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  // A handler that raises again must not recurse without end.
  if (FHandlingException) return;
  FHandlingException = true;
  try {
    try {
      std::rethrow_exception(current);
    } catch (const EAbort&) {
      // The silent exception.
    } catch (const Exception& e) {
      if (FOnException) FOnException(Sender, e);
      else ShowException(e);
    } catch (const std::exception& e) {
      const Exception wrapped(Format(L"%s", {String(e.what(), e.what() + std::char_traits<char>::length(e.what()))}));
      if (FOnException) FOnException(Sender, wrapped);
      else ShowException(wrapped);
    } catch (...) {
      const Exception wrapped(L"Unbekannte Ausnahme");
      if (FOnException) FOnException(Sender, wrapped);
      else ShowException(wrapped);
    }
  } catch (...) {
    // OnException itself failed: nothing more can be told.
  }
  FHandlingException = false;
}

void TApplication::ShowException(const Exception& E) {
  String text = E.Message();
  if (!text.empty() && text.back() > L'.') text += L'.';
  MessageBox(text, FTitle.empty() ? L"Fehler" : FTitle, MB_OK | MB_ICONSTOP);
}

// Hints ----------------------------------------------------------------------

void TApplication::SetShowHint(bool AValue) {
  if (FShowHint == AValue) return;
  FShowHint = AValue;
  if (!AValue) CancelHint();
}

void TApplication::SetHint(const String& AValue) {
  if (FHint == AValue) return;
  FHint = AValue;
  if (FOnHint) {
    FOnHint(this);
    return;
  }
  TOwned<THintAction> action(New<THintAction>(nullptr));
  action->SetHint(AValue);
  action->Execute();
}

namespace {

// The control, then its children, each before its own children.
bool OfferAction(TControl* AControl, TBasicAction* AAction) {
  if (AControl->ExecuteAction(AAction)) return true;
  if (auto* parent = dynamic_cast<TWinControl*>(AControl))
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* child = parent->Controls(i);
      if (child->Visible() && OfferAction(child, AAction)) return true;
    }
  return false;
}

}  // namespace

bool TApplication::ExecuteAction(TBasicAction* AAction) {
  TCustomForm* form = GScreen && GScreen->ActiveForm() ? GScreen->ActiveForm() : FMainForm;
  if (!form) return false;
  if (TWinControl* active = form->ActiveControl(); active && active->ExecuteAction(AAction)) return true;
  return OfferAction(form, AAction);
}

void TApplication::StartHintTimer(int AValue, UINT AId) {
  if (FHandle) SetTimer(FHandle, AId, static_cast<UINT>(std::max(AValue, 1)), nullptr);
}

void TApplication::StopHintTimer(UINT AId) {
  if (FHandle) KillTimer(FHandle, AId);
}

namespace {
// The control's own ShowHint, or its parents' when it follows them.
bool ControlShowsHint(TControl* AControl) {
  for (TControl* c = AControl; c; c = c->Parent()) {
    if (!c->Hint().empty()) return c->ShowHint();
  }
  return false;
}

TControl* HintSource(TControl* AControl) {
  for (TControl* c = AControl; c; c = c->Parent())
    if (!c->Hint().empty()) return c;
  return nullptr;
}
}  // namespace

void TApplication::HintMouseMessage(TControl* AControl, TMessage& Message) {
  if (Message.Msg != WM_MOUSEMOVE) return;
  const TPoint p = TWMMouse(Message).Pos();
  TControl* source = HintSource(AControl);
  if (source) SetHint(source->Hint());
  else SetHint(L"");
  if (!FShowHint) return;
  if (FHintControl == AControl && FHintActive && FHintCursorRect.Contains(p)) return;
  if (FHintControl != AControl || (FHintActive && !FHintCursorRect.Contains(p))) {
    const bool wasActive = FHintActive;
    HideHint();
    FHintControl = AControl;
    if (AControl) AControl->FreeNotification(this);
    if (source && ControlShowsHint(AControl)) StartHintTimer(wasActive ? FHintShortPause : FHintPause, HintShowTimer);
    else StopHintTimer(HintShowTimer);
  }
}

void TApplication::ActivateHint(const TPoint& ACursorPos) {
  TControl* control = FHintControl;
  if (!control || !FShowHint) return;
  TControl* source = HintSource(control);
  if (!source || !ControlShowsHint(control)) return;
  THintInfo info;
  info.HintControl = control;
  info.HintPos = ACursorPos;
  info.HintPos.Y += GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
  info.HintMaxWidth = GScreen ? GScreen->Width() : 640;
  info.HintColor = FHintColor;
  info.CursorPos = control->ScreenToClient(ACursorPos);
  info.CursorRect = control->ClientRect();
  info.HintStr = source->Hint();
  info.HideTimeout = FHintHidePause;
  info.HintWindowClass = HintWindowClass();
  TControlTracker alive(control);
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (!alive.Alive()) return;
  if (canShow) CallEvent(FOnShowHint, info.HintStr, canShow, info);
  if (!canShow || info.HintStr.empty()) return;
  TClass windowClass = info.HintWindowClass ? info.HintWindowClass : HintWindowClass();
  if (FHintWindow && FHintWindow->ClassType() != windowClass) FreeAndNil(FHintWindow);
  if (!FHintWindow) FHintWindow = NewOfClass<THintWindow>(windowClass, this);
  FHintWindow->SetColor(info.HintColor);
  TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
  r.Offset(info.HintPos.X, info.HintPos.Y);
  FHintWindow->ActivateHint(r, info.HintStr);
  FHintCursorRect = info.CursorRect;
  FHintActive = true;
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, HintHideTimer);
}

void TApplication::HideHint() {
  StopHintTimer(HintHideTimer);
  if (FHintWindow && FHintWindow->HandleAllocated()) ShowWindow(FHintWindow->Handle(), SW_HIDE);
  FHintActive = false;
}

void TApplication::CancelHint() {
  StopHintTimer(HintShowTimer);
  HideHint();
  FHintControl = nullptr;
}

void TApplication::ControlDestroyed(TControl* AControl) {
  if (FHintControl == AControl) CancelHint();
  if (FMainForm == AControl) FMainForm = nullptr;
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void FormsInitialization() {
  GScreen = New<TScreen>(nullptr);
  GApplication = New<TApplication>(nullptr);
  SetCallbackExceptionHandler(&CallbackExceptionHandler);
  InstallWakeHook(GApplication->Handle());
  RegisterFindGlobalComponent(&FindGlobalForm);
  RegisterClasses({TForm::ClassInfo()});
}

void FormsFinalization() {
  UnRegisterFindGlobalComponent(&FindGlobalForm);
  InstallWakeHook(nullptr);
  SetCallbackExceptionHandler(nullptr);
  FreeAndNil(GApplication);
  FreeAndNil(GScreen);
}
