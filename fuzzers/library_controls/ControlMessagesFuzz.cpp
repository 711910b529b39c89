#include "fuzzers/library_controls/ControlMessagesFuzz.h"

#include "library/controls/control/cxControls.h"
#include "platform/ui/Forms.h"

#include <cstdio>
#include <cstdlib>

namespace {

class TFuzzControl : public TcxControl, public IcxMouseTrackingCaller {
  SK_CLASS(TFuzzControl, TcxControl)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxMouseTrackingCaller>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void MouseLeave() override {}

 protected:
  bool AllowsDragAndDropAt(TMouseButton, TShiftState, int, int) override { return true; }
  int WheelScrollKind() override { return sbVertical + 1; }
  bool CanHorzWheelScroll() override { return true; }
};

constexpr UINT Messages[] = {WM_MOUSEMOVE,    WM_LBUTTONDOWN,   WM_LBUTTONUP,         WM_LBUTTONDBLCLK,
                             WM_RBUTTONDOWN,  WM_RBUTTONUP,     WM_RBUTTONDBLCLK,     WM_MBUTTONDOWN,
                             WM_MOUSEWHEEL,   WM_MOUSEHWHEEL,   WM_CANCELMODE,        WM_SETFOCUS,
                             WM_KILLFOCUS,    WM_CAPTURECHANGED, WM_SETCURSOR,        WM_GETDLGCODE,
                             CM_MOUSEENTER,   CM_MOUSELEAVE,    DXM_SCALECHANGING,    DXM_SCALECHANGED,
                             DXM_FORWARDEDHWHEEL, DXM_CHECKSCROLLBARSIZES, WM_KEYDOWN, WM_ERASEBKGND};

}  // namespace

std::vector<std::string> ControlMessagesSeeds() {
  return {std::string("\x01\x10\x00\x10\x00", 5), std::string("\x08\x00\x80\x00\x00\x0a\x00\x00\x00\x00", 10)};
}

void RunControlMessages(const std::string& AInput) {
  static TOwned<TForm> form;
  if (!form) {
    form.reset(New<TForm>(nullptr));
    form->SetBounds(10, 10, 300, 200);
    form->Show();
  }
  const int gdi = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  {
    TFuzzControl* control = New<TFuzzControl>(form.get());
    control->SetBounds(10, 10, 200, 100);
    control->SetParent(form.get());
    const HWND wnd = control->Handle();
    BeginMouseTracking(control, TRect(0, 0, 200, 100), static_cast<IcxMouseTrackingCaller*>(control));
    control->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    control->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 80));
    for (std::size_t at = 0; at + 5 <= AInput.size(); at += 5) {
      const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(AInput[at + k]); };
      const UINT msg = Messages[byte(0) % std::size(Messages)];
      const auto high = static_cast<WORD>(byte(1) | byte(2) << 8);  // wheel deltas over the whole range
      const auto low = static_cast<WORD>(byte(3) | byte(4) << 8);
      WPARAM w = MAKEWPARAM(low & 0x1F, high);
      LPARAM l = MAKELPARAM(low, high);
      if (msg == WM_ERASEBKGND) continue;  // needs a real DC, covered by the tests
      if (msg == WM_SETCURSOR) w = reinterpret_cast<WPARAM>(wnd);
      if (!IsWindow(wnd)) break;
      SendMessageW(wnd, msg, w, l);
    }
    if (IsWindow(wnd)) control->Free();
  }
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  const int after = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  if (after > gdi) {
    std::fprintf(stderr, "GDI objects leaked: %d\n", after - gdi);
    std::abort();
  }
}
