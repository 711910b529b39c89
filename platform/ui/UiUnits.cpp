#include "platform/ui/UiUnits.h"

#include "platform/ui/ActnList.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

std::span<const TUnit> UiUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"Graphics", &GraphicsInitialization, &GraphicsFinalization},
      {L"ImgList", &ImgListInitialization, nullptr},
      {L"Clipbrd", nullptr, &ClipbrdFinalization},
      {L"ActnList", &ActnListInitialization, nullptr},
      {L"Menus", &MenusInitialization, &MenusFinalization},
      {L"Controls", &ControlsInitialization, &ControlsFinalization},
      {L"Forms", &FormsInitialization, &FormsFinalization},
      {L"StdCtrls", &StdCtrlsInitialization, nullptr},
      {L"ExtCtrls", &ExtCtrlsInitialization, nullptr},
      {L"Dialogs", &DialogsInitialization, &DialogsFinalization},
  };
  return units;
}
