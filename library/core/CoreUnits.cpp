#include "library/core/CoreUnits.h"

#include "library/core/cxClasses.h"
#include "library/core/cxDataConsts.h"
#include "library/core/cxDataStorage.h"
#include "library/core/cxDateUtils.h"
#include "library/core/cxFormats.h"
#include "library/core/cxGeometry.h"
#include "library/core/cxLibraryStrs.h"
#include "library/core/dxCore.h"
#include "library/core/dxCoreGraphics.h"
#include "library/core/dxCultureInfo.h"
#include "library/core/dxDPIAwareUtils.h"
#include "library/core/dxGestures.h"
#include "library/core/dxHashUtils.h"
#include "library/core/dxHooks.h"
#include "library/core/dxStringHelper.h"
#include "library/core/dxThemeManager.h"
#include "library/core/dxThreading.h"
#include "library/core/dxUIThreadSyncService.h"
#include "library/core/dxUxTheme.h"
#include "platform/ui/Forms.h"

namespace {

// The windowed layer starts before this one: its application object owns the
// global object destroyer from the core unit's start-up on.
void CoreInitialization() {
  dxSetApplicationObject(Application());
  dxCoreInitialization();
}

}  // namespace

std::span<const TUnit> LibraryCoreUnits() {
  // Each entry: {name, initialization, finalization}, in link order. The core
  // unit starts first and finalizes last.
  static constexpr TUnit units[] = {
      {L"dxCore", &CoreInitialization, &dxCoreFinalization},
      {L"dxStringHelper", nullptr, &dxStringHelperFinalization},
      {L"dxCoreClasses", nullptr, nullptr},
      {L"dxHashUtils", &dxHashUtilsInitialization, nullptr},
      {L"dxGenerics", nullptr, nullptr},
      {L"cxGeometry", &cxGeometryInitialization, &cxGeometryFinalization},
      {L"dxCoreGraphics", &dxCoreGraphicsInitialization, &dxCoreGraphicsFinalization},
      {L"dxThreading", &dxThreadingInitialization, &dxThreadingFinalization},
      {L"dxUIThreadSyncService", &dxUIThreadSyncServiceInitialization, &dxUIThreadSyncServiceFinalization},
      {L"dxHooks", nullptr, &dxHooksFinalization},
      {L"dxUxTheme", &dxUxThemeInitialization, &dxUxThemeFinalization},
      {L"dxDPIAwareUtils", &dxDPIAwareUtilsInitialization, &dxDPIAwareUtilsFinalization},
      {L"dxThemeManager", &dxThemeManagerInitialization, &dxThemeManagerFinalization},
      {L"cxMessageWindow", nullptr, nullptr},
      {L"cxClasses", &cxClassesInitialization, &cxClassesFinalization},
      {L"cxVariants", nullptr, nullptr},
      {L"dxBase64", nullptr, nullptr},
      {L"dxZIPUtils", nullptr, nullptr},
      {L"cxDataStorage", &cxDataStorageInitialization, &cxDataStorageFinalization},
      {L"cxDataUtils", nullptr, nullptr},
      {L"cxLibraryStrs", &cxLibraryStrsInitialization, &cxLibraryStrsFinalization},
      {L"cxDataConsts", &cxDataConstsInitialization, &cxDataConstsFinalization},
      {L"dxCultureInfo", &dxCultureInfoInitialization, &dxCultureInfoFinalization},
      {L"dxGestures", &dxGesturesInitialization, &dxGesturesFinalization},
      {L"cxDateUtils", &cxDateUtilsInitialization, &cxDateUtilsFinalization},
      {L"cxFormats", &cxFormatsInitialization, &cxFormatsFinalization},
  };
  return units;
}
