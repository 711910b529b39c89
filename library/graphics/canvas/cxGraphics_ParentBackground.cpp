// Parent-background painting through print messages, and mirrored painting.
//
// A control asks its parent to paint the part behind it into the control's
// canvas: the parent and its other child windows print themselves there,
// each at its place in the parent's window coordinates. Two lists keep this
// from feeding on itself: the parents now painting as a background (a
// parent's paint that asks for its own background gets nothing), and the
// windows left out while a background is composed (the asking control).
#include "library/graphics/canvas/cxGraphics.h"

#include "library/core/system/dxUxTheme.h"
#include "library/graphics/canvas/cxGraphics_Internal.h"
#include "library/graphics/system/cxWindowGeometry.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/Controls.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<TWinControl*> GPaintingParents;
std::vector<HWND> GExcludedWindows;

// Adds an item to a list for a scope; the last such item leaves again.
template <class T>
class [[nodiscard]] TListEntryScope {
 public:
  TListEntryScope(std::vector<T>& AList, T AItem) : FList(AList), FItem(AItem) { FList.push_back(AItem); }
  ~TListEntryScope() {
    const auto it = std::find(FList.rbegin(), FList.rend(), FItem);
    if (it != FList.rend()) FList.erase(std::next(it).base());
  }
  TListEntryScope(const TListEntryScope&) = delete;
  TListEntryScope& operator=(const TListEntryScope&) = delete;

 private:
  std::vector<T>& FList;
  T FItem;
};

bool IsExcludedWindow(HWND AWnd) {
  return std::find(GExcludedWindows.begin(), GExcludedWindows.end(), AWnd) != GExcludedWindows.end();
}

// The direct child windows of AWnd, in the system's order.
std::vector<HWND> ChildWindows(HWND AWnd) {
  struct TEnumeration {
    HWND Parent;
    std::vector<HWND> Children;
  } enumeration{AWnd, {}};
  EnumChildWindows(
      AWnd,
      [](HWND AChild, LPARAM AData) -> BOOL {
        auto* e = reinterpret_cast<TEnumeration*>(AData);
        if (GetAncestor(AChild, GA_PARENT) == e->Parent) e->Children.push_back(AChild);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&enumeration));
  return enumeration.Children;
}

bool HasNonClientArea(HWND AWnd) {
  return SafeGetWindowRect(AWnd).GetSize() != SafeGetClientRect(AWnd).GetSize();
}

// Where the client area's origin lies in the window's own coordinates.
TPoint ClientOffset(HWND AWnd) {
  const TPoint origin = IsRightToLeftLayoutWindow(AWnd) ? TPoint(SafeGetClientRect(AWnd).Width(), 0) : TPoint();
  return ClientPointToScreen(AWnd, origin) - SafeGetWindowRect(AWnd).TopLeft();
}

// Runs AProc with the window origin of DC moved so that what is drawn at
// (0, 0) lands at AOffset.
template <class F>
void WithOriginMovedBy(HDC DC, const TPoint& AOffset, const F& AProc) {
  const TSavedWindowOrg saved(DC);
  OffsetWindowOrgEx(DC, -AOffset.X, -AOffset.Y, nullptr);
  AProc();
}

void PrintWindowTo(HWND AWnd, HDC DC, UINT AFlags, const TPoint& AOffset) {
  WithOriginMovedBy(DC, AOffset, [&] {
    if (AFlags & (PRF_CLIENT | PRF_CHILDREN)) {
      SendMessageW(AWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
      AFlags &= ~static_cast<UINT>(PRF_ERASEBKGND);
    }
    if (AFlags & PRF_CLIENT) {
      SendMessageW(AWnd, WM_PRINT, reinterpret_cast<WPARAM>(DC), AFlags & ~static_cast<UINT>(PRF_NONCLIENT));
      AFlags &= ~static_cast<UINT>(PRF_CLIENT);
    }
  });
  if (AFlags) SendMessageW(AWnd, WM_PRINT, reinterpret_cast<WPARAM>(DC), AFlags);
}

// A window of no class-library control at R of DC. Standard controls clip
// what they print to their client rectangle taken as device coordinates,
// which a moved window origin does not move: such a window prints into a
// bitmap of its own, over a copy of what lies under it, that goes back to R.
void PaintWindowAt(HWND AWnd, HDC DC, const TRect& R, bool APaintChildren) {
  const TMemoryDC buffer = TMemoryDC::Compatible(DC, R.Width(), R.Height());
  if (!buffer) return;
  const TRect local(0, 0, R.Width(), R.Height());
  CopyDCRect(buffer.DC(), DC, local, R.TopLeft());
  PaintWindowToDC(AWnd, buffer.DC(), true, APaintChildren);
  CopyDCRect(DC, buffer.DC(), R, TPoint());
}

void PaintChildren(TWinControl* AControl, TcxCanvas* ACanvas, bool APaintChildren, bool AVisibleOnly) {
  const HWND parent = AControl->Handle();
  std::vector<HWND> windows = ChildWindows(parent);
  for (int i = 0; i < AControl->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(AControl->Controls(i));
    if (!child || !child->HandleAllocated()) continue;
    const HWND handle = child->Handle();
    windows.erase(std::remove(windows.begin(), windows.end(), handle), windows.end());
    if (!child->Visible() || IsExcludedWindow(handle)) continue;
    const TRect bounds = GetControlWindowBounds(child);
    const TRect r = MapRectBetweenWindows(handle, parent, bounds, false);
    if (ACanvas->RectVisible(r)) PaintControlTo(child, ACanvas, r.TopLeft(), bounds, APaintChildren, true, true, true);
  }
  for (const HWND window : windows) {
    if (IsExcludedWindow(window) || (AVisibleOnly && !IsWindowVisible(window))) continue;
    const TRect r = MapRectBetweenWindows(window, parent, GetWindowBoundsOfHandle(window), false);
    if (ACanvas->RectVisible(r)) PaintWindowAt(window, ACanvas->Handle(), r, APaintChildren);
  }
}

}  // namespace

void cxParentBackgroundInitialization() { GExcludedWindows.clear(); }

void cxParentBackgroundFinalization() {
  GPaintingParents.clear();
  GExcludedWindows.clear();
}

bool IsPaintingAsParentBackground(TWinControl* AControl) {
  return std::find(GPaintingParents.begin(), GPaintingParents.end(), AControl) != GPaintingParents.end();
}

void DrawControlParentBackground(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& R) {
  if (!AControl) return;
  const TWinControl* parent = AControl->Parent();
  if ((parent && parent->DoubleBuffered()) || !IsUxThemeLoaded())
    DrawParentBackground(AControl, ACanvas, R, false);
  else
    UxDrawThemeParentBackground(AControl->Handle(), ACanvas->Handle(), &R);
}

void DrawParentBackground(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& R, bool APaintChildren) {
  DrawParentBackgroundAt(AControl, ACanvas, R, R.TopLeft(), APaintChildren);
}

void DrawParentBackgroundAt(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& R, const TPoint& AOffset,
                            bool APaintChildren) {
  if (!AControl || !AControl->Parent() || IsPaintingAsParentBackground(AControl->Parent())) return;
  TWinControl* parent = AControl->Parent();
  const TRect r = MapRectBetweenWindows(AControl->Handle(), parent->Handle(), R, false);
  const TListEntryScope painting(GPaintingParents, parent);
  const TListEntryScope excluded(GExcludedWindows, AControl->Handle());
  PaintControlTo(parent, ACanvas, AOffset, r, APaintChildren, false, true, true);
}

void PaintControlTo(TWinControl* AControl, TcxCanvas* ACanvas, const TPoint& AOffset, const TRect& R,
                    bool APaintChildren, bool AWithNonClient, bool AClipToWindowRegion, bool AVisibleOnly) {
  if (AControl->ComponentState().Contains(csDestroying) || !AControl->HandleAllocated()) return;
  const HWND handle = AControl->Handle();
  const TcxDCStateScope saved(ACanvas);
  ACanvas->MoveWindowOrg(AOffset - R.TopLeft());
  ACanvas->IntersectClipRect(R);
  if (AClipToWindowRegion) {
    TOwned<TcxRegion> region(New<TcxRegion>());
    if (GetWindowRgn(handle, region->Handle()) != ERROR) ACanvas->SetClipRegion(region.release(), roIntersect);
  }
  if (ACanvas->RectVisible(R)) {
    const bool copying = AControl->ControlState().Contains(csPaintCopy);
    AControl->ControlState().Include(csPaintCopy);
    const TScopeExit copied([&] {
      if (!copying) AControl->ControlState().Exclude(csPaintCopy);
    });
    const TcxCanvasStateScope state(ACanvas);
    ACanvas->Lock();
    TryFinally([&] { PaintWindowToDC(handle, ACanvas->Handle(), AWithNonClient, false); },
               [&] { ACanvas->Unlock(); });
  }
  if (APaintChildren) {
    if (AWithNonClient && HasNonClientArea(handle)) {
      TRect client = SafeGetClientRect(handle);
      if (client.Width() != AControl->Width() || client.Height() != AControl->Height()) {
        client.Offset(ClientOffset(handle));
        ACanvas->IntersectClipRect(client);
      }
    }
    PaintChildren(AControl, ACanvas, APaintChildren, AVisibleOnly);
  }
}

void PaintWindowToDC(HWND AWnd, HDC DC, bool AWithNonClient, bool APaintChildren) {
  const TPoint offset = ClientOffset(AWnd);
  if (!AWithNonClient || !HasNonClientArea(AWnd)) {
    PrintWindowTo(AWnd, DC, PRF_CLIENT | PRF_ERASEBKGND | (APaintChildren ? PRF_CHILDREN : 0), offset);
    return;
  }
  const TRect bounds = GetWindowBoundsOfHandle(AWnd);
  const TMemoryDC buffer = TMemoryDC::Compatible(DC, bounds.Width(), bounds.Height());
  if (!buffer) return;
  if (const TWinControl* control = FindControl(AWnd)) FillRectWithColor(buffer.DC(), bounds, control->Color());
  if (APaintChildren) {
    PrintWindowTo(AWnd, buffer.DC(), PRF_CLIENT | PRF_ERASEBKGND, offset);
    const TPoint topLeft = SafeGetWindowRect(AWnd).TopLeft();
    for (const HWND child : ChildWindows(AWnd)) {
      if (!HasWindowStyle(child, WS_VISIBLE)) continue;
      TRect r = GetWindowBoundsOfHandle(child);
      r.Offset(SafeGetWindowRect(child).TopLeft() - topLeft);
      PaintWindowAt(child, buffer.DC(), r, APaintChildren);
    }
    PrintWindowTo(AWnd, buffer.DC(), PRF_NONCLIENT, offset);
  } else {
    PrintWindowTo(AWnd, buffer.DC(), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND, offset);
  }
  buffer.BlitTo(DC, 0, 0);
}

// ---------------------------------------------------------------------------
// Mirrored painting

void PaintMirroredIfRightToLeft(HDC DC, const TRect& R, bool AMirror, const std::function<void()>& AProc,
                                bool AExclusiveRight) {
  if (!AMirror) {
    AProc();
    return;
  }
  const TSavedWorldTransform saved(DC);
  const float centre = (R.Left + R.Right - (AExclusiveRight ? 1 : 0)) / 2.0f;
  const XFORM mirror = MakeFlipXForm(true, false, centre, 0);
  ModifyWorldTransform(DC, &mirror, MWT_LEFTMULTIPLY);
  AProc();
}

void PaintMirroredOnCanvas(TcxCanvas* ACanvas, const TRect& R, const std::function<void()>& AProc) {
  PaintMirroredIfRightToLeft(ACanvas->Handle(), R, ACanvas->UseRightToLeftAlignment(), AProc, true);
}
