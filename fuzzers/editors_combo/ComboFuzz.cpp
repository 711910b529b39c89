// Random sequences of keys (with Alt and Shift), characters, wheel turns,
// clicks on the text and the button, clicks in the open list, presses on the
// button dragged into the list, grip drags, focus moves, hiding and freeing,
// at a combo box of each list style with 0, 3 or 15 items. After every step:
// no exception but the validation error reached the application, no popup
// shows while its editor is hidden, and in the two fixed styles the text is
// an item or empty. After every sequence the editor is freed with its popup
// possibly open, and the popup must not stay on screen.
//
// Usage: fuzz_editors_combo.exe [combo] [--rounds N] [--seed S] (see FuzzMain.h)
#include "fuzzers/support/FuzzMain.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/graphics/GraphicsUnits.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "platform/ui/UiUnits.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const wchar_t* const FuzzItems[] = {L"9600",   L"19200",  L"38400",   L"57600",   L"100000",
                                    L"115200", L"200000", L"230400",  L"460800",  L"500000",
                                    L"576000", L"921600", L"1000000", L"1500000", L"2000000"};

// Only the validation error may reach the application.
class TComboFuzzWatcher : public TObject {
  SK_CLASS(TComboFuzzWatcher, TObject)
 public:
  void Raised(TObject*, const Exception& E) {
    if (dynamic_cast<const EcxEditValidationError*>(&E) || dynamic_cast<const EAbort*>(&E)) return;
    std::fprintf(stderr, "unexpected exception: %ls\n", E.Message().c_str());
    FuzzInvariantBroken("an exception other than the validation error reached the application");
  }
};

constexpr std::array<WORD, 16> ComboKeys = {VK_F4,   VK_DOWN, VK_UP,    VK_RETURN, VK_ESCAPE, VK_TAB,
                                            VK_NEXT, VK_PRIOR, VK_HOME, VK_END,    VK_BACK,   VK_DELETE,
                                            VK_LEFT, VK_RIGHT, 'C',     VK_SPACE};
constexpr std::array<wchar_t, 10> ComboChars = {L'1', L'5', L'9', L'0', L'2', L'c', L'x', L'8', L'\b', L'\r'};

void SetComboModifiers(BYTE AMask) {
  BYTE state[256];
  if (!GetKeyboardState(state)) return;
  state[VK_SHIFT] = (AMask & 1) ? 0x80 : 0;
  state[VK_MENU] = (AMask & 2) ? 0x80 : 0;
  SetKeyboardState(state);
}

bool AltHeld() { return (GetKeyState(VK_MENU) & 0x8000) != 0; }

void Pump() { Application()->ProcessMessages(); }

// What the run reached, reported at the end: a driver that never opens a
// popup or never types into a fixed list proves nothing.
struct TComboFuzzCounts {
  long long Steps = 0;
  long long StepsOpen = 0;
  long long FixedChecks = 0;
  long long FreedOpen = 0;
} GComboCounts;

void LeftPressAt(HWND AWnd, const TPoint& P) {
  SendMessageW(AWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(P.X, P.Y));
}
void LeftReleaseAt(HWND AWnd, const TPoint& P) { SendMessageW(AWnd, WM_LBUTTONUP, 0, MAKELPARAM(P.X, P.Y)); }

// P of AFrom's client area in ATo's.
TPoint MapBetween(HWND AFrom, HWND ATo, TPoint P) {
  POINT pt{P.X, P.Y};
  MapWindowPoints(AFrom, ATo, &pt, 1);
  return TPoint(pt.x, pt.y);
}

bool PopupShown(TcxCustomComboBox* AEdit) {
  TcxCustomEditPopupWindow* window = AEdit->PopupWindow();
  return window && window->HandleAllocated() && IsWindowVisible(window->Handle());
}

bool TextIsAnItemOrEmpty(TcxCustomComboBox* AEdit) {
  const String text = AEdit->Text();
  return text.empty() || AEdit->ActiveProperties()->Items()->IndexOf(text) >= 0;
}

std::vector<std::string> ComboSeeds() {
  // Style and item count, then (operation, argument) pairs: open by F4, move,
  // type, click rows, drag from the button, drag the grip, hide, wheel.
  return {std::string("\x02\x00\x00\x00\x00\x01\x04\x05\x01\x00\x00\x03\x03\x01\x04\x22\x08\x00\x00\x00", 20),
          std::string("\x00\x10\x01\x01\x01\x00\x01\x08\x00\x00\x06\x40\x06\x13\x00\x0A\x02\x01\x00\x03", 20),
          std::string("\x01\x30\x05\x03\x00\x02\x02\x03\x00\x05\x00\x01\x09\x02\x00\x01\x00\x05\x07\x01", 20),
          std::string("\x02\x01\x03\x00\x04\x11\x01\x05\x01\x01\x00\x0B\x08\x01\x02\x00\x03\x01\x07\x02", 20)};
}

void RunCombo(const std::string& AInput) {
  static TOwned<TForm> form;
  static TOwned<TComboFuzzWatcher> watcher;
  if (!form) {
    watcher.reset(New<TComboFuzzWatcher>());
    form.reset(New<TForm>(nullptr));
    form->SetBounds(40, 40, 360, 220);
    form->Show();
  }
  if (AInput.size() < 2) return;
  Application()->SetOnException(BindEvent<&TComboFuzzWatcher::Raised>(watcher.get()));
  const auto style = static_cast<TcxEditDropDownListStyle>(static_cast<unsigned char>(AInput[0]) % 3);
  const int itemCount = std::array<int, 3>{15, 3, 0}[static_cast<unsigned char>(AInput[1]) % 3];
  auto* edit = NewWith<TcxComboBox>([](TcxComboBox* e) { e->Create(form.get()); });
  edit->SetParent(form.get());
  edit->SetBounds(10, 10, 121, 21);
  TcxComboBoxProperties* properties = edit->Properties();
  properties->SetDropDownListStyle(style);
  properties->SetDropDownSizeable((AInput[1] & 0x10) != 0);
  properties->SetPostPopupValueOnTab((AInput[1] & 0x20) != 0);
  properties->SetRevertable((AInput[1] & 0x40) != 0);
  for (int i = 0; i < itemCount; ++i) properties->Items()->Add(FuzzItems[i]);
  if (itemCount > 0 && style != lsEditList) edit->SetItemIndex(0);
  auto* other = NewWith<TEdit>([](TEdit* e) { e->Create(form.get()); });
  other->SetParent(form.get());
  other->SetBounds(10, 120, 100, 21);
  const bool fixed = style != lsEditList;
  edit->HandleNeeded();
  const HWND popupWnd = edit->PopupWindow()->Handle();
  // Each sequence starts in the active form with the box focused (the last
  // one may have left the focus nowhere), half of them with the list open.
  SetForegroundWindow(form->Handle());
  edit->SetFocus();
  Pump();
  if ((AInput[1] & 0x08) == 0 && itemCount > 0) {
    edit->SetDroppedDown(true);
    for (int i = 0; i < 25 && !edit->DroppedDown(); ++i) {
      Sleep(2);
      Pump();
    }
  }

  for (std::size_t at = 2; at + 2 <= AInput.size(); at += 2) {
    const auto op = static_cast<unsigned char>(AInput[at]);
    const auto arg = static_cast<unsigned char>(AInput[at + 1]);
    if (!edit->HandleAllocated()) break;
    const HWND inner = edit->InnerControl() && edit->InnerControl()->HandleAllocated()
                           ? edit->InnerControl()->Handle()
                           : edit->Handle();
    const HWND wnd = edit->Handle();
    const int w = edit->Width(), h = edit->Height();
    TcxCustomEditListBox* list = edit->ComboLookupData() ? edit->ComboLookupData()->List() : nullptr;
    const bool listShown = list && list->HandleAllocated() && IsWindowVisible(list->Handle());
    switch (op % 10) {
      case 0: {
        const WORD key = ComboKeys[arg % ComboKeys.size()];
        const bool alt = AltHeld();
        SendMessageW(inner, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? 0x20000001 : 1);
        SendMessageW(inner, alt ? WM_SYSKEYUP : WM_KEYUP, key, alt ? 0xE0000001 : 0xC0000001);
        break;
      }
      case 1:
        SendMessageW(inner, WM_CHAR, ComboChars[arg % ComboChars.size()], 1);
        break;
      case 2: {
        // A wheel over the editor, or over the open list.
        const HWND target = (arg & 1) && listShown ? list->Handle() : wnd;
        RECT r{};
        GetWindowRect(target, &r);
        SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, (arg & 2) ? -WHEEL_DELTA : WHEEL_DELTA),
                     MAKELPARAM(r.left + 5, r.top + 5));
        break;
      }
      case 3: {
        // The text, the button, the border.
        const std::array<TPoint, 3> points = {TPoint(20, h / 2), TPoint(w - 6, h / 2), TPoint(0, 0)};
        const TPoint p = points[arg % points.size()];
        LeftPressAt(wnd, p);
        LeftReleaseAt(wnd, p);
        if (arg & 0x10) SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
        break;
      }
      case 4:
        if (listShown) {
          const TPoint p(5 + arg % 40, (arg * 7) % std::max(1, list->ClientHeight() + 10));
          LeftPressAt(list->Handle(), p);
          LeftReleaseAt(list->Handle(), p);
        }
        break;
      case 5: {
        // Pressed on the button, dragged into the list, released there.
        const TPoint button(w - 6, h / 2);
        LeftPressAt(wnd, button);
        Pump();
        if (list && list->HandleAllocated()) {
          const TPoint inList(10, 3 + (arg % 8) * 14);
          const TPoint p = MapBetween(list->Handle(), wnd, inList);
          SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
          Pump();
          LeftReleaseAt(GetCapture() ? GetCapture() : wnd,
                        GetCapture() ? MapBetween(wnd, GetCapture(), p) : p);
        } else {
          LeftReleaseAt(wnd, button);
        }
        break;
      }
      case 6:
        if (PopupShown(edit)) {
          // A drag from a corner or an edge of the popup by a random amount.
          RECT r{};
          GetClientRect(popupWnd, &r);
          const std::array<TPoint, 4> from = {TPoint(r.right - 2, r.bottom - 2), TPoint(r.right - 1, r.bottom / 2),
                                              TPoint(r.right / 2, r.bottom - 1), TPoint(2, 2)};
          const TPoint p = from[arg % from.size()];
          const TPoint to(p.X + static_cast<signed char>(arg) / 2, p.Y + static_cast<signed char>(arg * 3) / 4);
          LeftPressAt(popupWnd, p);
          SendMessageW(popupWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.X, to.Y));
          if (arg & 0x40) SendMessageW(popupWnd, WM_KEYDOWN, VK_ESCAPE, 1);
          LeftReleaseAt(popupWnd, to);
        }
        break;
      case 7:
        switch (arg % 3) {
          case 0:
            // The program may only focus a box the user could reach.
            if (edit->CanFocus()) edit->SetFocus();
            break;
          case 1: other->SetFocus(); break;
          default: ::SetFocus(nullptr); break;
        }
        break;
      case 8:
        switch (arg % 4) {
          case 0: edit->SetVisible(!edit->Visible()); break;
          case 1: edit->SetDroppedDown(!edit->DroppedDown()); break;
          case 2: edit->SetItemIndex(itemCount ? arg % (itemCount + 1) - 1 : -1); break;
          default: edit->SetEnabled(!edit->Enabled()); break;
        }
        break;
      default:
        SetComboModifiers(arg);
        break;
    }
    Pump();
    ++GComboCounts.Steps;
    if (PopupShown(edit)) ++GComboCounts.StepsOpen;
    if (fixed) ++GComboCounts.FixedChecks;
    if (!edit->Visible() && PopupShown(edit)) FuzzInvariantBroken("a popup shows while its editor is hidden");
    if (fixed && !TextIsAnItemOrEmpty(edit)) {
      std::fprintf(stderr, "text \"%ls\" in style %d\n", edit->Text().c_str(), static_cast<int>(style));
      FuzzInvariantBroken("a fixed-style combo box holds a text that is no item");
    }
  }
  SetComboModifiers(0);
  if (GetCapture()) ReleaseCapture();
  if (PopupShown(edit)) ++GComboCounts.FreedOpen;
  other->Free();
  edit->Free();
  Pump();
  if (IsWindow(popupWnd) && IsWindowVisible(popupWnd)) FuzzInvariantBroken("a popup stays on screen after its editor was freed");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryControlsUnits(),
                   LibraryEditorsUnits()});
  static const TFuzzDriver drivers[] = {{L"combo", &ComboSeeds, &RunCombo}};
  const int result = RunFuzzDrivers(argc, argv, drivers);
  std::printf("%lld steps, %lld with the popup open, %lld text checks in a fixed style, %lld boxes freed open\n",
              GComboCounts.Steps, GComboCounts.StepsOpen, GComboCounts.FixedChecks, GComboCounts.FreedOpen);
  FinalizeUnits();
  return result;
}
