#include "fuzzers/library_controls/DpiFuzz.h"

#include "fuzzers/support/FuzzMain.h"
#include "library/controls/windows/dxForms.h"

#include <cstdint>

namespace {

struct TDpiForm {
  TOwned<TdxCustomForm> Form;
  std::vector<TCustomFrame*> Frames;

  TDpiForm() {
    Form.reset(NewWith<TdxCustomForm>([](TdxCustomForm* f) { f->CreateNew(nullptr); }));
    Form->SetBounds(20, 20, 400, 300);
    TWinControl* parent = Form.get();
    for (int i = 0; i < 3; ++i) {
      auto* frame = New<TFrame>(Form.get());
      frame->SetBounds(10, 10, 200 - 40 * i, 150 - 30 * i);
      frame->SetParent(parent);
      auto* inner = New<TCustomControl>(Form.get());
      inner->SetBounds(5, 5, 30, 20);
      inner->SetParent(frame);
      Frames.push_back(frame);
      parent = frame;
    }
    Form->Show();
  }
};

// A signed 16-bit value folded into -AHalf..AHalf-1: window sizes stay small
// enough for the display's window surfaces.
int Fold(std::uint16_t AValue, int AHalf) { return static_cast<int>(AValue % (2 * AHalf)) - AHalf; }

}  // namespace

std::vector<std::string> DpiChangeSeeds() {
  // class/DPI (3 bytes), then left, top, width, height (2 bytes each)
  return {std::string("\x80\x90\x00\x14\x00\x14\x00\x58\x02\xC2\x01", 11),
          std::string("\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 11),
          std::string("\x40\xF4\x01\x10\x00\x10\x00\x20\x03\x58\x02", 11),
          std::string("\xC0\x60\x00\xF0\xFF\xF0\xFF\x10\x00\x10\x00", 11)};
}

void RunDpiChange(const std::string& AInput) {
  static TDpiForm target;
  const auto byte = [&AInput](std::size_t AIndex) -> std::uint16_t {
    return AIndex < AInput.size() ? static_cast<unsigned char>(AInput[AIndex]) : 0;
  };
  const auto word = [&byte](std::size_t AIndex) { return static_cast<std::uint16_t>(byte(AIndex) | byte(AIndex + 1) << 8); };
  int dpi = 0;
  switch (byte(0) >> 6) {
    case 0:
      dpi = 0;
      break;
    case 1:
      dpi = word(1);  // mostly beyond 480
      break;
    default:
      dpi = 30 + word(1) % 451;
      break;
  }
  RECT suggested{Fold(word(3), 4096), Fold(word(5), 4096), 0, 0};
  suggested.right = suggested.left + Fold(word(7), 2048);
  suggested.bottom = suggested.top + Fold(word(9), 2048);

  TdxCustomForm* form = target.Form.get();
  const int before = form->PixelsPerInch();
  SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

  if (TdxFormHelper::ScaleChangeCount() != 0) FuzzInvariantBroken("a scale change was left open");
  const int expected = dpi >= 30 && dpi <= 480 ? dpi : before;
  if (form->PixelsPerInch() != expected || form->CurrentPPI() != expected)
    FuzzInvariantBroken("the form is not at the DPI of the last valid message");
  if (form->ScaleFactor()->Apply(96) != expected) FuzzInvariantBroken("the form's scale factor drifted");
  for (TCustomFrame* frame : target.Frames)
    if (frame->CurrentPPI() != expected) FuzzInvariantBroken("a frame did not follow its parent's DPI");
}
