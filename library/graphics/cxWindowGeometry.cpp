#include "library/graphics/cxWindowGeometry.h"

TRect SafeGetWindowRect(HWND AHandle) {
  RECT r;
  if (!GetWindowRect(AHandle, &r)) return TRect();
  return r;
}

TRect GetWindowBoundsOfHandle(HWND AHandle) {
  const TRect r = SafeGetWindowRect(AHandle);
  return TRect(0, 0, r.Width(), r.Height());
}
