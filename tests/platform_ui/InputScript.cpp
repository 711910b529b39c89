#include "tests/platform_ui/InputScript.h"

#include "platform/ui/ExtCtrls.h"
#include "platform/ui/GdiScopes.h"
#include "tests/support/SendInput.h"
#include "tests/support/WindowReading.h"

#include <algorithm>

namespace {

String TextOf(HWND AWnd) {
  const int length = GetWindowTextLengthW(AWnd);
  String text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(AWnd, text.data(), length + 1)));
  return text;
}

}  // namespace

TInputStep Key(WORD AVirtualKey) { return {{KeyInput(AVirtualKey, false), KeyInput(AVirtualKey, true)}}; }

TInputStep AltKey(WORD AVirtualKey) {
  return {{KeyInput(VK_MENU, false), KeyInput(AVirtualKey, false), KeyInput(AVirtualKey, true),
           KeyInput(VK_MENU, true)}};
}

std::vector<TInputStep> TypeText(const String& AText) {
  std::vector<TInputStep> steps;
  for (wchar_t c : AText) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    steps.push_back({{down, up}});
  }
  return steps;
}

void SendSteps(const std::vector<TInputStep>& ASteps) {
  for (const TInputStep& step : ASteps) {
    std::vector<INPUT> inputs = step.Inputs;
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }
}

void ClickAt(POINT AScreen) {
  const TPoint at{AScreen.x, AScreen.y};
  INPUT inputs[3] = {MouseInput(at, 0), MouseInput(at, MOUSEEVENTF_LEFTDOWN), MouseInput(at, MOUSEEVENTF_LEFTUP)};
  SendInput(3, inputs, sizeof(INPUT));
}

POINT CentreOf(const RECT& ARect) { return {(ARect.left + ARect.right) / 2, (ARect.top + ARect.bottom) / 2}; }

// ---------------------------------------------------------------------------

namespace {

BOOL CALLBACK CollectChild(HWND AWnd, LPARAM AList) {
  reinterpret_cast<std::vector<HWND>*>(AList)->push_back(AWnd);
  return TRUE;
}

}  // namespace

TDialogSnapshot TDialogSnapshot::Of(HWND ADialog) {
  TDialogSnapshot s;
  s.Caption = TextOf(ADialog);
  GetWindowRect(ADialog, &s.WindowRect);
  RECT client{};
  GetClientRect(ADialog, &client);
  s.ClientSize = {client.right, client.bottom};
  std::vector<HWND> children;
  EnumChildWindows(ADialog, &CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND wnd : children) {
    if (GetParent(wnd) != ADialog) continue;
    TChildInfo info;
    info.ClassName = ClassOf(wnd);
    info.Text = TextOf(wnd);
    info.Style = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
    info.Id = GetDlgCtrlID(wnd);
    GetWindowRect(wnd, &info.ScreenRect);
    info.ClientRect = info.ScreenRect;
    MapWindowPoints(nullptr, ADialog, reinterpret_cast<POINT*>(&info.ClientRect), 2);
    if (lstrcmpiW(info.ClassName.c_str(), L"Button") == 0) {
      info.Default = (info.Style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      s.Buttons.push_back(info);
    } else if (lstrcmpiW(info.ClassName.c_str(), L"Static") == 0) {
      if ((info.Style & SS_TYPEMASK) == SS_ICON) {
        s.Icon = reinterpret_cast<HICON>(SendMessageW(wnd, STM_GETICON, 0, 0));
      } else {
        s.Text = info.Text;
        s.TextRect = info.ClientRect;
        const TWindowDC dc(wnd);
        const TSelectObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc.Get(), &tm);
        s.LineHeight = tm.tmHeight;
      }
    }
    s.Children.push_back(info);
  }
  std::sort(s.Buttons.begin(), s.Buttons.end(),
            [](const TChildInfo& A, const TChildInfo& B) { return A.ClientRect.left < B.ClientRect.left; });
  return s;
}

const TChildInfo* TDialogSnapshot::ButtonWithText(const String& AText) const {
  for (const TChildInfo& b : Buttons)
    if (b.Text == AText) return &b;
  return nullptr;
}

// ---------------------------------------------------------------------------

class TDialogScriptDriver : public TObject {
  SK_CLASS(TDialogScriptDriver, TObject)
 public:
  String ClassName;
  String Title;
  std::vector<TInputStep> Steps;
  TDialogScript::TLook Look;
  std::function<bool()> Until;
  bool Sent = false;
  HWND Dialog = nullptr;
  ULONGLONG ActedAt = 0;
  bool TimedOut = false;
  TTimer* Timer = nullptr;

  void Start() {
    Timer = New<TTimer>(nullptr);
    Timer->SetInterval(15);
    Timer->SetOnTimer(BindEvent<&TDialogScriptDriver::Tick>(this));
  }
  void Destroy() override {
    FreeAndNil(Timer);
    inherited::Destroy();
  }

 private:
  static BOOL CALLBACK Match(HWND AWnd, LPARAM ASelf) {
    auto* self = reinterpret_cast<TDialogScriptDriver*>(ASelf);
    if (!IsWindowVisible(AWnd) || lstrcmpiW(ClassOf(AWnd).c_str(), self->ClassName.c_str()) != 0) return TRUE;
    if (!self->Title.empty() && TextOf(AWnd) != self->Title) return TRUE;
    self->Dialog = AWnd;
    return FALSE;
  }

  void Tick(TObject*) {
    if (!Dialog) {
      EnumThreadWindows(GetCurrentThreadId(), &Match, reinterpret_cast<LPARAM>(this));
      if (!Dialog) return;
      ActedAt = GetTickCount64();
      SetForegroundWindow(Dialog);
      if (Look) Look(Dialog);
    }
    if (!Sent && (!Until || Until())) {
      Sent = true;
      ActedAt = GetTickCount64();
      SendSteps(Steps);
      return;
    }
    // Still open long after the input: close whatever the thread shows
    // (the dialog and any box it opened), newest first, until it is gone.
    if (IsWindow(Dialog) && IsWindowVisible(Dialog) && GetTickCount64() - ActedAt > 5000) {
      TimedOut = true;
      EnumThreadWindows(GetCurrentThreadId(), &CloseVisible, 0);
    }
  }

  static BOOL CALLBACK CloseVisible(HWND AWnd, LPARAM) {
    if (IsWindowVisible(AWnd)) PostMessageW(AWnd, WM_CLOSE, 0, 0);
    return TRUE;
  }
};

TDialogScript::TDialogScript(const String& AClassName, std::vector<TInputStep> ASteps, TLook ALook,
                             const String& ATitle)
    : FDriver(New<TDialogScriptDriver>()) {
  FDriver->ClassName = AClassName;
  FDriver->Title = ATitle;
  FDriver->Steps = std::move(ASteps);
  FDriver->Look = std::move(ALook);
  FDriver->Start();
}

TDialogScript::~TDialogScript() = default;

void TDialogScript::SendWhen(std::function<bool()> APredicate) { FDriver->Until = std::move(APredicate); }

bool TDialogScript::Acted() const { return FDriver->Dialog != nullptr; }
bool TDialogScript::TimedOut() const { return FDriver->TimedOut; }
