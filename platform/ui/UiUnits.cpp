#include "platform/ui/UiUnits.h"

#include "platform/ui/Clipbrd.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"

std::span<const TUnit> UiUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"Graphics", &GraphicsInitialization, &GraphicsFinalization},
      {L"ImgList", &ImgListInitialization, nullptr},
      {L"Clipbrd", nullptr, &ClipbrdFinalization},
      {L"Controls", nullptr, nullptr},
      {L"Forms", nullptr, nullptr},
      {L"ExtCtrls", &ExtCtrlsInitialization, nullptr},
  };
  return units;
}
