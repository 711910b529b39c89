// The program's main routine: unit start-up, the application object, the
// main window from its form description, the message loop, shut-down.
#include "app/AppUnits.h"
#include "app/MainUnit.h"
#include "platform/runtime/SysUtils.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    for (std::span<const TUnit> layer : ProgramUnitLayers()) InitializeUnits({layer});
  } catch (...) {
    // The windowed library may not be up: the system's own box.
    MessageBoxW(nullptr, CurrentExceptionMessage().c_str(), L"Skarnivel", MB_OK | MB_ICONERROR);
    return 1;
  }
  int exitCode = 0;
  try {
    Application()->Initialize();
    Application()->SetMainFormOnTaskBar(true);
    Application()->CreateForm(MainForm);
    Application()->Run();
  } catch (...) {
    Application()->HandleException(nullptr);
    exitCode = 1;
  }
  FinalizeUnits();
  return exitCode;
}
