#include "library/core/CoreUnits.h"

#include "library/core/base/cxClasses.h"
#include "library/core/data/cxDataConsts.h"
#include "library/core/data/cxDataStorage.h"
#include "library/core/locale/cxDateUtils.h"
#include "library/core/locale/cxFormats.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/cxLibraryStrs.h"
#include "library/core/base/dxCore.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/locale/dxCultureInfo.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxGestures.h"
#include "library/core/containers/dxHashUtils.h"
#include "library/core/system/dxHooks.h"
#include "library/core/base/dxStringHelper.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/threading/dxThreading.h"
#include "library/core/threading/dxUIThreadSyncService.h"
#include "library/core/system/dxUxTheme.h"
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
