// Fuzzing driver of popup placement: each input opens a popup beside an
// owner rectangle anywhere on or off the desktop and checks where it shows.
// Run it with: tools/fuzz library_controls -- popup-placement --rounds 10000
#include "fuzzers/library_controls/PopupPlacementFuzz.h"

#include "fuzzers/support/FuzzMain.h"
#include "library/controls/windows/cxControls_Windows.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Input: owner left, top, width, height and popup width, height (int32
// each, folded into ranges), then direction and alignment bits (1 byte).
constexpr std::size_t InputSize = 6 * 4 + 1;

std::vector<TRect> WorkAreas() {
  std::vector<TRect> areas;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR AMonitor, HDC, LPRECT, LPARAM AData) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoW(AMonitor, &info)) reinterpret_cast<std::vector<TRect>*>(AData)->push_back(info.rcWork);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  return areas;
}

std::int32_t Int32At(const std::string& AInput, std::size_t AOffset) {
  std::int32_t value = 0;
  std::memcpy(&value, AInput.data() + AOffset, sizeof(value));
  return value;
}

// A value in [-ARange, ARange].
int Fold(std::int32_t AValue, int ARange) {
  const std::int64_t span = 2 * static_cast<std::int64_t>(ARange) + 1;
  return static_cast<int>(((static_cast<std::int64_t>(AValue) % span) + span) % span - ARange);
}

TcxPopupWindow* SharedPopup() {
  static TcxPopupWindow* popup = [] {
    auto* p = New<TcxPopupWindow>(nullptr);
    p->SetAdjustable(false);
    return p;
  }();
  return popup;
}

std::string Input(int AOwnerLeft, int AOwnerTop, int AOwnerWidth, int AOwnerHeight, int AWidth, int AHeight,
                  std::uint8_t AFlags) {
  std::string s(InputSize, '\0');
  const std::int32_t values[] = {AOwnerLeft, AOwnerTop, AOwnerWidth, AOwnerHeight, AWidth, AHeight};
  std::memcpy(s.data(), values, sizeof(values));
  s[InputSize - 1] = static_cast<char>(AFlags);
  return s;
}

}  // namespace

std::vector<std::string> PopupPlacementSeeds() {
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  return {
      Input(100, 100, 80, 20, 120, 60, 0x00),        // below, left
      Input(100, h - 30, 80, 20, 120, 200, 0x00),    // at the bottom
      Input(w - 10, 100, 80, 20, 300, 60, 0x15),     // off the right edge, sideways
      Input(-5000, -5000, 80, 20, 120, 60, 0x0A),    // wholly off the desktop
      Input(200, 200, -80, -20, w, h, 0x1F),         // inside out, as large as the screen
  };
}

void RunPopupPlacement(const std::string& AInput) {
  if (AInput.size() < InputSize) return;
  const int screen = std::max(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const int left = Fold(Int32At(AInput, 0), 4 * screen);
  const int top = Fold(Int32At(AInput, 4), 4 * screen);
  const TRect owner(left, top, left + Fold(Int32At(AInput, 8), screen), top + Fold(Int32At(AInput, 12), screen));
  const int width = std::abs(Fold(Int32At(AInput, 16), 2 * screen));
  const int height = std::abs(Fold(Int32At(AInput, 20), 2 * screen));
  const auto flags = static_cast<std::uint8_t>(AInput[InputSize - 1]);

  TcxPopupWindow* popup = SharedPopup();
  popup->SetOwnerBounds(owner);
  popup->SetDirection(flags & 1 ? pdHorizontal : pdVertical);
  popup->SetAlignHorz(static_cast<TcxPopupAlignHorz>((flags >> 1) % 3));
  popup->SetAlignVert(static_cast<TcxPopupAlignVert>((flags >> 3) % 3));
  popup->SetBounds(0, 0, width, height);
  popup->Popup();
  RECT shown{};
  GetWindowRect(popup->Handle(), &shown);
  popup->CloseUp();

  const TRect r(shown);
  bool fitsSomewhere = false;
  for (const TRect& area : WorkAreas()) {
    if (r.Width() > area.Width() || r.Height() > area.Height()) continue;
    fitsSomewhere = true;
    if (r.Left >= area.Left && r.Top >= area.Top && r.Right <= area.Right && r.Bottom <= area.Bottom) return;
  }
  if (fitsSomewhere) FuzzInvariantBroken("a popup no larger than a work area lies outside every work area");
}
