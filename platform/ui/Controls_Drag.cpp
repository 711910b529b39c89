// Dragging between controls: the drag objects, the one drag under way and
// the controls' side of it (BeginDrag, CM_DRAG, the drag events).
//
// The drag lives in a session that owns nothing but the platform's own drag
// object. While it runs, the mouse goes to the drag object's capture window
// and a keyboard hook of the thread watches Esc (cancel) and the shift keys
// (a target may take a copy instead of a move: the cursor is asked again).
// Every call out of the session (OnDragOver, OnDragDrop, Finished) may end
// the drag or free a control, so the session checks itself after each.

#include "platform/ui/Controls.h"
#include "platform/ui/Controls_Internal.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ImgList.h"

#include <cstdlib>
#include <utility>

namespace {

// Posted to the capture window when a shift key changes: by the time it
// comes, the key state says what the user holds.
constexpr UINT DragRefreshMessage = WM_USER + 1;

LRESULT CALLBACK DragKeyHook(int ACode, WPARAM AKey, LPARAM AFlags) noexcept;

}  // namespace

// ---------------------------------------------------------------------------
// TDragSession: the drag under way

class TDragSession {
 public:
  static void Begin(TControl* AControl, bool AImmediate, int AThreshold);
  static bool Active() { return FObject != nullptr; }
  static TControl* Control() { return FControl; }
  static TDragObject* Object() { return FObject; }
  static HWND CaptureWindow() { return FCapture; }
  static void MoveTo(const TPoint& AScreenPos);
  static void Refresh();
  static void Done(bool ADrop);
  static void CancelByKey();
  static void Cancel();
  // A control goes away: it stops being the target, and a drag object that
  // is being finished stops naming it.
  static void ControlDestroying(TControl* AControl);
  // The drag object goes away while the drag runs: the session lets go of
  // the mouse and the keyboard without calling anything.
  static void ObjectDestroying(TDragObject* AObject);

 private:
  // Gives back the capture, the hook and the images; the session is empty
  // afterwards.
  static void Release();
  static LRESULT AskTarget(TDragMessage AMessage, TControl* ATarget, const TPoint& AScreenPos);

  static inline TControl* FControl = nullptr;
  static inline TDragObject* FObject = nullptr;
  static inline bool FOwnsObject = false;
  static inline TPoint FStart;
  static inline int FThreshold = 0;
  static inline bool FStarted = false;
  static inline bool FAccepted = false;
  static inline bool FImagesShown = false;
  static inline HWND FCapture = nullptr;
  static inline HHOOK FKeyHook = nullptr;
  // The object of a drag being finished (after Release).
  static inline TDragObject* FEnding = nullptr;
  // Inside the source's DoStartDrag; a cancel there stops the start.
  static inline bool FStarting = false;
  static inline bool FStartCancelled = false;
};

void TDragSession::Begin(TControl* AControl, bool AImmediate, int AThreshold) {
  if (Active() || FEnding || FStarting) return;
  TControlTracker alive(AControl);
  TDragObject* object = nullptr;
  FStarting = true;
  FStartCancelled = false;
  {
    const TScopeExit started([] { FStarting = false; });
    AControl->DoStartDrag(object);
  }
  if (!alive.Alive() || Active() || std::exchange(FStartCancelled, false)) return;
  TOwned<TDragObject> own;
  if (!object) {
    own.reset(New<TDragControlObject>(AControl));
    object = own.get();
  }
  object->FDragTarget = nullptr;
  object->FDropped = false;
  object->FCancelling = false;
  object->FDragPos = Mouse()->CursorPos();
  object->FDragTargetPos = object->FDragPos;
  const HWND capture = object->Capture();
  FControl = AControl;
  FObject = object;
  FOwnsObject = own != nullptr;
  own.release();
  FStart = object->FDragPos;
  FThreshold = AThreshold < 0 ? Mouse()->DragThreshold() : AThreshold;
  FStarted = false;
  FAccepted = false;
  FImagesShown = false;
  FCapture = capture;
  FKeyHook = SetWindowsHookExW(WH_KEYBOARD, DragKeyHook, nullptr, GetCurrentThreadId());
  if (AImmediate) {
    FStarted = true;
    MoveTo(FStart);
  }
}

LRESULT TDragSession::AskTarget(TDragMessage AMessage, TControl* ATarget, const TPoint& AScreenPos) {
  TDragRec rec;
  rec.Pos = AScreenPos;
  rec.Source = FObject ? FObject : FEnding;
  rec.Target = ATarget;
  return ATarget->Perform(CM_DRAG, AMessage, reinterpret_cast<LPARAM>(&rec));
}

void TDragSession::MoveTo(const TPoint& AScreenPos) {
  if (!Active()) return;
  if (!FStarted) {
    if (std::abs(AScreenPos.X - FStart.X) < FThreshold && std::abs(AScreenPos.Y - FStart.Y) < FThreshold) return;
    FStarted = true;
  }
  TDragObject* object = FObject;
  object->FDragPos = AScreenPos;
  TControl* target = FindDragTarget(AScreenPos, false);
  if (target != object->FDragTarget) {
    if (TControl* old = object->FDragTarget) {
      object->FDragTarget = nullptr;
      FAccepted = false;
      AskTarget(dmDragLeave, old, AScreenPos);
      if (FObject != object) return;
    }
    object->FDragTarget = target;
    object->FDragTargetPos = target ? target->ScreenToClient(AScreenPos) : AScreenPos;
    FAccepted = target && AskTarget(dmDragEnter, target, AScreenPos) != 0;
  } else {
    object->FDragTargetPos = target ? target->ScreenToClient(AScreenPos) : AScreenPos;
    FAccepted = target && AskTarget(dmDragMove, target, AScreenPos) != 0;
  }
  if (FObject != object) return;
  if (TDragImageList* images = object->GetDragImages()) {
    if (!FImagesShown) FImagesShown = images->BeginDrag(GetDesktopWindow(), AScreenPos.X, AScreenPos.Y);
    else images->DragMove(AScreenPos.X, AScreenPos.Y);
    // The picture shows only over controls that ask for it.
    if (target && target->ControlStyle().Contains(csDisplayDragImage)) images->ShowDragImage();
    else images->HideDragImage();
  }
  SetCursor(Screen()->Cursors(object->GetDragCursor(FAccepted, AScreenPos.X, AScreenPos.Y)));
}

void TDragSession::Refresh() {
  if (Active() && FStarted) MoveTo(FObject->FDragPos);
}

void TDragSession::Release() {
  TDragObject* object = FObject;
  if (FKeyHook) UnhookWindowsHookEx(FKeyHook);
  const HWND capture = FCapture;
  const bool imagesShown = FImagesShown;
  FControl = nullptr;
  FObject = nullptr;
  FOwnsObject = false;
  FKeyHook = nullptr;
  FCapture = nullptr;
  FImagesShown = false;
  if (imagesShown)
    if (TDragImageList* images = object->GetDragImages()) images->EndDrag();
  object->ReleaseCapture(capture);
}

void TDragSession::Done(bool ADrop) {
  if (!Active()) return;
  TDragObject* object = FObject;
  TOwned<TDragObject> own(FOwnsObject ? object : nullptr);
  TControl* target = object->FDragTarget;
  const bool accepted = ADrop && FStarted && target && FAccepted;
  const TPoint pos = object->FDragPos;
  object->FDropped = accepted;
  FEnding = object;
  const TScopeExit ended([] { FEnding = nullptr; });
  Release();
  SetCursor(Screen()->Cursors(Screen()->Cursor()));
  if (target) {
    TControlTracker targetAlive(target);
    AskTarget(accepted ? dmDragDrop : dmDragLeave, target, pos);
    if (!targetAlive.Alive()) target = nullptr;
  }
  if (accepted && target) {
    const TPoint p = target->ScreenToClient(pos);
    object->Finished(target, p.X, p.Y, true);
  } else {
    object->Finished(nullptr, pos.X, pos.Y, false);
  }
}

void TDragSession::CancelByKey() {
  if (!Active()) return;
  FObject->FCancelling = true;
  Done(false);
}

void TDragSession::Cancel() {
  if (FStarting) FStartCancelled = true;
  else Done(false);
}

void TDragSession::ControlDestroying(TControl* AControl) {
  if (FObject && FObject->FDragTarget == AControl) {
    FObject->FDragTarget = nullptr;
    FAccepted = false;
  }
  if (auto* ending = dynamic_cast<TBaseDragControlObject*>(FEnding); ending && ending->Control() == AControl)
    ending->SetControl(nullptr);
}

void TDragSession::ObjectDestroying(TDragObject* AObject) {
  if (FEnding == AObject) FEnding = nullptr;
  if (FObject == AObject) Release();
}

namespace {

LRESULT CALLBACK DragKeyHook(int ACode, WPARAM AKey, LPARAM AFlags) noexcept {
  if (ACode == HC_ACTION && TDragSession::Active()) {
    try {
      const bool down = (AFlags & (LPARAM{1} << 31)) == 0;
      switch (AKey) {
        case VK_ESCAPE:
          // The key is the drag's: it does not reach the focused control.
          if (down) TDragSession::CancelByKey();
          return 1;
        case VK_CONTROL:
        case VK_SHIFT:
        case VK_MENU:
          PostMessageW(TDragSession::CaptureWindow(), DragRefreshMessage, 0, 0);
          break;
        default:
          break;
      }
    } catch (...) {
      HandleCallbackException(nullptr);
    }
  }
  return CallNextHookEx(nullptr, ACode, AKey, AFlags);
}

}  // namespace

TControl* DragControl() { return TDragSession::Control(); }
TDragObject* DragObject() { return TDragSession::Object(); }
void DragDone(bool ADrop) { TDragSession::Done(ADrop); }
void CancelDrag() { TDragSession::Cancel(); }

namespace controls_detail {

void DragControlDestroying(TControl* AControl) { TDragSession::ControlDestroying(AControl); }

}  // namespace controls_detail

// ---------------------------------------------------------------------------
// TDragObject

void TDragObject::Destroy() {
  TDragSession::ObjectDestroying(this);
  if (FDragHandle) ReleaseCapture(FDragHandle);
  inherited::Destroy();
}

void TDragObject::Assign(TDragObject* Source) {
  if (!Source) return;
  FDragPos = Source->FDragPos;
  FDragTarget = Source->FDragTarget;
  FDragTargetPos = Source->FDragTargetPos;
  FDropped = Source->FDropped;
  FCancelling = Source->FCancelling;
}

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) { return Accepted ? crDrag : crNoDrop; }

void TDragObject::HideDragImage() {
  if (TDragImageList* images = GetDragImages()) images->HideDragImage();
}

void TDragObject::ShowDragImage() {
  if (TDragImageList* images = GetDragImages()) images->ShowDragImage();
}

HWND TDragObject::Capture() {
  FDragHandle = AllocateHWnd(BindEvent<&TDragObject::WndProc>(this));
  SetCapture(FDragHandle);
  return FDragHandle;
}

void TDragObject::ReleaseCapture(HWND AHandle) {
  if (!AHandle) return;
  if (FDragHandle == AHandle) FDragHandle = nullptr;
  if (GetCapture() == AHandle) ::ReleaseCapture();
  DeallocateHWnd(AHandle);
}

void TDragObject::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      POINT p = PointFromLParam(Message.LParam);
      ClientToScreen(FDragHandle, &p);
      TDragSession::MoveTo(p);
      break;
    }
    case WM_LBUTTONUP:
      TDragSession::Done(true);
      break;
    case WM_CAPTURECHANGED:
      // Someone else took the mouse: the drag cannot go on.
      if (TDragSession::Object() == this && reinterpret_cast<HWND>(Message.LParam) != FDragHandle)
        TDragSession::Done(false);
      break;
    case DragRefreshMessage:
      if (TDragSession::Object() == this) TDragSession::Refresh();
      break;
    default:
      Message.Result = DefWindowProcW(FDragHandle, Message.Msg, Message.WParam, Message.LParam);
      break;
  }
}

// ---------------------------------------------------------------------------
// TBaseDragControlObject, TDragControlObject

void TBaseDragControlObject::Create(TControl* AControl) {
  inherited::Create();
  FControl = AControl;
}

void TBaseDragControlObject::Assign(TDragObject* Source) {
  inherited::Assign(Source);
  if (auto* other = dynamic_cast<TBaseDragControlObject*>(Source)) FControl = other->FControl;
}

void TBaseDragControlObject::Finished(TObject* Target, int X, int Y, bool Accepted) {
  if (!Accepted) {
    if (FControl) {
      TControlTracker alive(FControl);
      FControl->DragCanceled();
      if (!alive.Alive()) FControl = nullptr;
    }
    Target = nullptr;
  }
  EndDrag(Target, X, Y);
}

void TBaseDragControlObject::EndDrag(TObject* Target, int X, int Y) {
  if (FControl) FControl->DoEndDrag(Target, X, Y);
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, int, int) {
  return Accepted && Control() ? Control()->DragCursor() : crNoDrop;
}

TDragImageList* TDragControlObject::GetDragImages() { return Control() ? Control()->GetDragImages() : nullptr; }

// ---------------------------------------------------------------------------
// TControl: dragging

void TControl::BeginDrag(bool AImmediate, int AThreshold) {
  if (ComponentState().Contains(csDesigning)) return;
  TDragSession::Begin(this, AImmediate, AThreshold);
}

void TControl::EndDrag(bool ADrop) {
  if (Dragging()) TDragSession::Done(ADrop);
}

bool TControl::Dragging() const { return TDragSession::Control() == this; }

bool TControl::BeginAutoDrag() {
  BeginDrag(Mouse()->DragImmediate(), Mouse()->DragThreshold());
  return true;
}

void TControl::DoStartDrag(TDragObject*& DragObject) { CallEvent(FOnStartDrag, this, DragObject); }

void TControl::DoEndDrag(TObject* Target, int X, int Y) { CallEvent(FOnEndDrag, this, Target, X, Y); }

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = static_cast<bool>(FOnDragOver);
  CallEvent(FOnDragOver, this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, int X, int Y) { CallEvent(FOnDragDrop, this, Source, X, Y); }

void TControl::CMDrag(TMessage& Message) {
  const auto* rec = reinterpret_cast<const TDragRec*>(Message.LParam);
  if (!rec || !rec->Source) return;
  // A control's drag shows its targets the control itself.
  TObject* source = rec->Source;
  if (auto* controlDrag = dynamic_cast<TBaseDragControlObject*>(rec->Source); controlDrag && controlDrag->Control())
    source = controlDrag->Control();
  const TPoint p = ScreenToClient(rec->Pos);
  bool accept = false;
  switch (Message.WParam) {
    case dmDragEnter:
      DragOver(source, p.X, p.Y, dsDragEnter, accept);
      break;
    case dmDragMove:
      DragOver(source, p.X, p.Y, dsDragMove, accept);
      break;
    case dmDragLeave:
      DragOver(source, p.X, p.Y, dsDragLeave, accept);
      break;
    case dmDragDrop:
      DragDrop(source, p.X, p.Y);
      break;
    default:
      break;
  }
  Message.Result = accept ? 1 : 0;
}
