#include "library/graphics/system/cxWindowGeometry.h"

#include "platform/ui/Controls.h"

TRect SafeGetWindowRect(HWND AHandle) {
  RECT r;
  if (!GetWindowRect(AHandle, &r)) return TRect();
  return r;
}

TRect SafeGetClientRect(HWND AHandle) {
  RECT r;
  if (!GetClientRect(AHandle, &r)) return TRect();
  return r;
}

TRect GetWindowBoundsOfHandle(HWND AHandle) {
  const TRect r = SafeGetWindowRect(AHandle);
  return TRect(0, 0, r.Width(), r.Height());
}

TRect GetControlWindowBounds(TWinControl* AControl) { return GetWindowBoundsOfHandle(AControl->Handle()); }

TRect MapRectBetweenWindows(HWND AFromWnd, HWND AToWnd, const TRect& R, bool AClientCoordinates) {
  TPoint shift;
  if (AClientCoordinates) {
    POINT p{R.Left, R.Top};
    MapWindowPoints(AFromWnd, AToWnd, &p, 1);
    shift = TPoint(p.x - R.Left, p.y - R.Top);
  } else {
    const TRect from = SafeGetWindowRect(AFromWnd);
    const TRect to = SafeGetWindowRect(AToWnd);
    shift = TPoint(from.Left - to.Left, from.Top - to.Top);
  }
  TRect result = R;
  result.Offset(shift.X, shift.Y);
  return result;
}

TPoint ClientPointToScreen(HWND AHandle, const TPoint& APoint) {
  POINT p{APoint.X, APoint.Y};
  ClientToScreen(AHandle, &p);
  return TPoint(p);
}

bool IsRightToLeftLayoutWindow(HWND AHandle) {
  return (GetWindowLongPtrW(AHandle, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

bool HasWindowStyle(HWND AHandle, int AStyle) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(AHandle, GWL_STYLE));
  return (style & static_cast<DWORD>(AStyle)) == static_cast<DWORD>(AStyle);
}
