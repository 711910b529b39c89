#include "tests/platform_ui/UiTestClasses.h"

#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

// ---------------------------------------------------------------------------
// TTestEdit

void TTestEdit::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(0, 0, 100, 21);
  SetTabStop(true);
  SetParentColor(false);
  ApplyDefaultColor(clWindow);
}

void TTestEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"EDIT");
  Params.Style |= ES_AUTOHSCROLL;
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TTestEdit::KeyDown(WORD& Key, TShiftState Shift) {
  KeysDown.push_back(Key);
  inherited::KeyDown(Key, Shift);
}

void TTestEdit::KeyPress(wchar_t& Key) {
  Chars.push_back(Key);
  inherited::KeyPress(Key);
}

// ---------------------------------------------------------------------------
// TTestButton

void TTestButton::Publish(TPublisher<TTestButton>& P) {
  P.Message<&TTestButton::CNCommand>(CN_COMMAND);
  P.Message<&TTestButton::CMDialogChar>(CM_DIALOGCHAR);
}

void TTestButton::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  ControlStyle() = {csSetCaption, csDoubleClicks};
}

void TTestButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  Params.Style |= BS_PUSHBUTTON;
}

void TTestButton::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Click();
}

void TTestButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<wchar_t>(Message.WParam), Caption()) && CanFocus()) {
    Click();
    Message.Result = 1;
  }
}

// ---------------------------------------------------------------------------
// TTestGroup, TTestSwatch, TTestGraphic

void TTestGroup::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  ControlStyle().Include(csAcceptsControls);
  SetBounds(0, 0, 100, 60);
}

void TTestSwatch::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(0, 0, 40, 30);
  SetParentColor(false);
  ApplyDefaultColor(clRed);
}

void TTestSwatch::Paint() {
  ++Paints;
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
  Canvas()->Brush()->SetColor(clBlack);
  Canvas()->FillRect(Bounds(5, 5, 10, 10));
}

void TTestGraphic::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(0, 0, 40, 30);
  SetParentColor(false);
  ApplyDefaultColor(clBlue);
}

void TTestGraphic::Paint() {
  ++Paints;
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
  Canvas()->Brush()->SetColor(clBlack);
  Canvas()->FillRect(Bounds(5, 5, 10, 10));
}

void RegisterUiTestClasses() {
  RegisterClasses({TTestEdit::ClassInfo(), TTestButton::ClassInfo(), TTestGroup::ClassInfo(),
                   TTestSwatch::ClassInfo(), TTestGraphic::ClassInfo()});
}

// ---------------------------------------------------------------------------
// Loop and input

bool AppPumpUntil(const std::function<bool()>& APredicate, unsigned ATimeoutMs) {
  return PumpUntilWith(
      [] {
        Application()->ProcessMessages();
        return true;
      },
      APredicate, ATimeoutMs, 50);
}

void AppPumpPending() { Application()->ProcessMessages(); }

void PressKey(WORD AKey, bool AShift) {
  std::vector<INPUT> inputs;
  if (AShift) inputs.push_back(KeyInput(VK_SHIFT, false));
  inputs.push_back(KeyInput(AKey, false));
  inputs.push_back(KeyInput(AKey, true));
  if (AShift) inputs.push_back(KeyInput(VK_SHIFT, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

void SendMouse(const TPoint& AScreenPos, DWORD AFlags) {
  INPUT in = MouseInput(AScreenPos, AFlags);
  SendInput(1, &in, sizeof(INPUT));
}

bool CursorAt(const TPoint& AScreenPos) {
  POINT p{};
  return GetCursorPos(&p) && p.x == AScreenPos.X && p.y == AScreenPos.Y;
}

}  // namespace

void SendMove(const TPoint& AScreenPos) {
  SendMouse(AScreenPos, MOUSEEVENTF_MOVE);
  AppPumpUntil([&] { return CursorAt(AScreenPos); }, 1000);
  // The display echoes each move a little later; let the echo pass before
  // the next move so that it cannot arrive out of order.
  const ULONGLONG settle = GetTickCount64() + 40;
  AppPumpUntil([settle] { return GetTickCount64() >= settle; }, 100);
}

void SendClick(const TPoint& AScreenPos) {
  // Each step waits until the system has taken the previous one. The display
  // may still echo an earlier pointer position; down and up carry the
  // position themselves, so that an echo cannot take them elsewhere.
  SendMove(AScreenPos);
  if (!CursorAt(AScreenPos)) {
    SetCursorPos(AScreenPos.X, AScreenPos.Y);
    AppPumpUntil([&] { return CursorAt(AScreenPos); }, 1000);
  }
  SendMouse(AScreenPos, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN);
  AppPumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) < 0; }, 1000);
  SendMouse(AScreenPos, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP);
  AppPumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; }, 1000);
}

bool BringFormToFront(TCustomForm* AForm) {
  HWND wnd = AForm->Handle();
  SetForegroundWindow(wnd);
  return AppPumpUntil([wnd] { return GetForegroundWindow() == wnd && GetActiveWindow() == wnd; });
}
