// The control unit's routines: windows, geometry, mouse state, layered
// windows, text on glass, cursors and popup menus.
#include "library/controls/control/cxControls_Internal.h"

#include "library/controls/windows/cxDWMApi.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Bound from user32 at start-up; absent on systems without layered windows.
struct TLayeredWindowFunctions {
  BOOL(WINAPI* UpdateLayeredWindow)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD) = nullptr;
  BOOL(WINAPI* SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD) = nullptr;
} GLayered;

TdxApplicationActivateWindowHelper* GActivateWindowHelper = nullptr;

template <class F>
void Bind(F& AEntry, HMODULE AModule, const char* AName) {
  AEntry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(AModule, AName)));
}

}  // namespace

void BindLayeredWindowFunctions() {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  Bind(GLayered.UpdateLayeredWindow, user32, "UpdateLayeredWindow");
  Bind(GLayered.SetLayeredWindowAttributes, user32, "SetLayeredWindowAttributes");
}

// ---------------------------------------------------------------------------
// Mouse and keyboard state

TPoint ReadCursorPos() {
  POINT p{};
  if (!GetCursorPos(&p)) return TPoint();
  return TPoint(p);
}

WPARAM GetAsyncMouseKeys() {
  WPARAM keys = 0;
  const auto down = [](int AKey) { return GetAsyncKeyState(AKey) < 0; };
  if (down(VK_LBUTTON)) keys |= MK_LBUTTON;
  if (down(VK_RBUTTON)) keys |= MK_RBUTTON;
  if (down(VK_MBUTTON)) keys |= MK_MBUTTON;
  if (down(VK_SHIFT)) keys |= MK_SHIFT;
  if (down(VK_CONTROL)) keys |= MK_CONTROL;
  return keys;
}

UINT DoubleClickInterval() { return GetDoubleClickTime(); }

bool IsPlainMouseMove(const TShiftState& AShift) {
  return (AShift * TShiftState{ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble}).Empty();
}

bool IsLeftButtonOnly(const TShiftState& AShift, bool AAllowDoubleClick) {
  TShiftState shift = AShift;
  if (AAllowDoubleClick) shift.Exclude(ssDouble);
  return shift == TShiftState{ssLeft};
}

bool IsButtonDownMessage(UINT AMsg) {
  switch (AMsg) {
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsCtrlKeyDown() { return GetAsyncKeyState(VK_CONTROL) < 0; }

WPARAM ShiftToMouseKeyFlags(const TShiftState& AShift) { return ShiftStateToKeys(AShift); }

bool IsWithinDragDetectArea(const TPoint& AMouseDownPos, const TPoint& P) {
  const int threshold = Mouse()->DragThreshold();
  return std::abs(P.X - AMouseDownPos.X) < threshold && std::abs(P.Y - AMouseDownPos.Y) < threshold;
}

// ---------------------------------------------------------------------------
// Monitors and work areas

TRect WorkAreaAtPoint(const TPoint& P) {
  if (HMONITOR monitor = MonitorFromPoint(P, MONITOR_DEFAULTTONEAREST)) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info)) return TRect(info.rcWork);
  }
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return TRect(r);
}

TRect WorkAreaOfRect(const TRect& R) { return WorkAreaAtPoint(R.TopLeft()); }

TRect FitRectToWorkArea(const TRect& R, const TPoint& P) {
  const TRect area = WorkAreaAtPoint(P);
  TRect result = R;
  if (result.Right > area.Right) result.Offset(area.Right - result.Right, 0);
  if (result.Bottom > area.Bottom) result.Offset(0, area.Bottom - result.Bottom);
  if (result.Left < area.Left) result.Offset(area.Left - result.Left, 0);
  if (result.Top < area.Top) result.Offset(0, area.Top - result.Top);
  return result;
}

// ---------------------------------------------------------------------------
// Windows

bool IsChildWindowStyle(HWND AWnd) { return (GetWindowLongPtrW(AWnd, GWL_STYLE) & WS_CHILD) != 0; }

bool IsSameOrChildWindow(HWND AParent, HWND AWnd) {
  return AParent && AWnd && (AParent == AWnd || IsChild(AParent, AWnd));
}

bool IsWindowEnabledDeep(HWND AWnd) {
  for (HWND wnd = AWnd; wnd; wnd = GetParent(wnd)) {
    if (!IsWindowEnabled(wnd)) return false;
    if (!IsChildWindowStyle(wnd)) break;
  }
  return AWnd != nullptr;
}

bool IsControlWindowVisible(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() && IsWindowVisible(AControl->Handle());
}

TWinControl* FindClassLibraryControl(HWND AWnd) {
  for (HWND wnd = AWnd; wnd; wnd = GetParent(wnd))
    if (TWinControl* control = FindControl(wnd)) return control;
  return nullptr;
}

TComponent* FindComponentOfClass(TComponent* AOwner, TClass AClass) {
  if (!AOwner) return nullptr;
  for (int i = 0; i < AOwner->ComponentCount(); ++i)
    if (AOwner->Components(i)->InheritsFrom(AClass)) return AOwner->Components(i);
  return nullptr;
}

TPoint PointToParent(TControl* AControl, TWinControl* AParent, const TPoint& P) {
  if (AControl == AParent) return P;
  return AParent->ScreenToClient(AControl->ClientToScreen(P));
}

TCustomForm* ParentFormOfWindow(HWND AWnd) {
  TWinControl* control = FindClassLibraryControl(AWnd);
  return control ? GetParentForm(control) : nullptr;
}

TCustomForm* ActiveCustomForm() {
  if (Screen() && Screen()->ActiveForm()) return Screen()->ActiveForm();
  return ParentFormOfWindow(GetActiveWindow());
}

void PerformUpToForm(TControl* AControl, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  for (TControl* control = AControl; control && !Is<TCustomForm>(control); control = control->Parent())
    control->Perform(AMsg, AWParam, ALParam);
}

TPoint MapPointBetweenWindows(HWND AFromWnd, HWND AToWnd, const TPoint& P) {
  return MapRectBetweenWindows(AFromWnd, AToWnd, TRect(P, P), true).TopLeft();
}

void RequestRecreateWindow(TWinControl* AControl, bool APost) {
  if (!AControl || !AControl->HandleAllocated()) return;
  if (APost)
    PostMessageW(AControl->Handle(), CM_RECREATEWND, 0, 0);
  else
    AControl->Perform(CM_RECREATEWND, 0, 0);
}

TRect GetControlWindowRect(TWinControl* AControl) {
  if (!AControl || !AControl->HandleAllocated()) return TRect();
  TRect r = SafeGetWindowRect(AControl->Handle());
  if (r.IsEmpty() || !AControl->Parent()) return r;
  const TPoint origin = AControl->Parent()->ClientOrigin();
  r.Offset(-origin.X, -origin.Y);
  return r;
}

TPoint ClientOriginInWindow(HWND AWnd) {
  const TRect window = SafeGetWindowRect(AWnd);
  const TPoint client = ClientPointToScreen(AWnd, TPoint());
  // In a mirrored window the client origin is its right edge.
  if (IsRightToLeftLayoutWindow(AWnd)) return TPoint(window.Right - client.X, client.Y - window.Top);
  return TPoint(client.X - window.Left, client.Y - window.Top);
}

HWND DeepWindowFromPoint(const TPoint& P) {
  HWND wnd = WindowFromPoint(P);
  while (wnd) {
    POINT p{P.X, P.Y};
    ScreenToClient(wnd, &p);
    const HWND child = ChildWindowFromPointEx(wnd, p, CWP_SKIPINVISIBLE);
    if (!child || child == wnd) break;
    wnd = child;
  }
  return wnd;
}

void SetZOrder(HWND AWnd, HWND AInsertAfter, bool AActivate) {
  SetWindowPos(AWnd, AInsertAfter, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | (AActivate ? 0 : SWP_NOACTIVATE));
}

void AdjustControlAutoSize(TControl* AControl) {
  if (AControl && AControl->AutoSize()) AControl->AdjustSize();
}

LONG_PTR ModifyWindowLong(HWND AWnd, int AIndex, LONG_PTR AInclude, LONG_PTR AExclude) {
  const LONG_PTR value = (GetWindowLongPtrW(AWnd, AIndex) & ~AExclude) | AInclude;
  SetWindowLongPtrW(AWnd, AIndex, value);
  return value;
}

WNDPROC SetWindowProcOf(HWND AWnd, WNDPROC AWndProc) {
  return reinterpret_cast<WNDPROC>(SetWindowLongPtrW(AWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AWndProc)));
}

void RecalculateNonClient(HWND AWnd, bool AUpdate) {
  SetWindowPos(AWnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (AUpdate) UpdateWindow(AWnd);
}

bool IsWindowOfThisProcess(HWND AWnd) {
  DWORD process = 0;
  return GetWindowThreadProcessId(AWnd, &process) && process == GetCurrentProcessId();
}

bool HasUpdateRegion(HWND AWnd, HRGN ARegion) {
  const int kind = GetUpdateRgn(AWnd, ARegion, FALSE);
  if (IsWinSeven && !IsCompositionEnabled()) return false;
  return kind == SIMPLEREGION || kind == COMPLEXREGION;
}

bool IsPaintingOnGlass(TWinControl* AControl) {
  return AControl && AControl->HandleAllocated() && AControl->ControlState().Contains(csGlassPaint) &&
         IsCompositionEnabled();
}

bool CanHaveWindowHandle(TWinControl* AControl) {
  if (!AControl || AControl->ComponentState().Contains(csDestroying)) return false;
  if (AControl->HandleAllocated()) return true;
  if (TWinControl* parent = AControl->Parent()) return CanHaveWindowHandle(parent);
  if (AControl->ParentWindow()) return true;
  // A parentless form has a window of its own; so has a frame being designed.
  return Is<TCustomForm>(AControl) || Is<TCustomFrame>(AControl);
}

// ---------------------------------------------------------------------------
// Layered windows

void SetWindowLayeredAttributes(HWND AWnd, BYTE AAlpha, TColor AColorKey) {
  if (!GLayered.SetLayeredWindowAttributes) return;
  const bool keyed = AColorKey != clNone;
  if (AAlpha < 255 || keyed) {
    ModifyWindowLong(AWnd, GWL_EXSTYLE, WS_EX_LAYERED, 0);
    if (AAlpha < 255)
      GLayered.SetLayeredWindowAttributes(AWnd, 0, AAlpha, LWA_ALPHA);
    else
      GLayered.SetLayeredWindowAttributes(AWnd, ColorToColorRef(AColorKey), 0, LWA_COLORKEY);
    if (AAlpha < 255) return;
  } else {
    ModifyWindowLong(AWnd, GWL_EXSTYLE, 0, WS_EX_LAYERED);
  }
  RedrawWindow(AWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void UpdateLayeredWindowFromBitmap(HWND AWnd, HDC ABitmapDC, const TSize& ASize, BYTE AAlpha) {
  if (!GLayered.UpdateLayeredWindow) return;
  SIZE size{ASize.cx, ASize.cy};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, AAlpha, AC_SRC_ALPHA};
  GLayered.UpdateLayeredWindow(AWnd, nullptr, nullptr, &size, ABitmapDC, &source, 0, &blend, ULW_ALPHA);
}

// ---------------------------------------------------------------------------
// Text on glass

namespace {

// Where the text's reference point goes so that the text, turned by
// ARotation, sits in a box of AWidth x AHeight as the flags align it.
TPoint RotatedTextOrigin(const TSize& AExtent, int ARotation, int AWidth, int AHeight, UINT AFlags) {
  const bool upright = ARotation == 3;
  const int boxWidth = upright ? AExtent.cx : AExtent.cy;
  const int boxHeight = upright ? AExtent.cy : AExtent.cx;
  int x = 0;
  if (AFlags & DT_CENTER)
    x = (AWidth - boxWidth) / 2;
  else if (AFlags & DT_RIGHT)
    x = AWidth - boxWidth;
  int y = 0;
  if (AFlags & DT_VCENTER)
    y = (AHeight - boxHeight) / 2;
  else if (AFlags & DT_BOTTOM)
    y = AHeight - boxHeight;
  // The reference point is the corner the turned text starts from.
  switch (ARotation) {
    case 1: return TPoint(x, y + boxHeight);            // 90 degrees: runs upwards
    case 2: return TPoint(x + boxWidth, y);             // 270 degrees: runs downwards
    default: return TPoint(x + boxWidth, y + boxHeight);  // 180 degrees
  }
}

}  // namespace

void DrawTextOnGlass(HDC DC, const String& AText, HFONT AFont, const TRect& R, TColor AColor, UINT AFlags,
                     int AGlowSize, int ARotation, bool ACopyBackground) {
  if (!IsWinVistaOrLater || R.IsEmpty()) return;
  const int width = R.Width();
  const int height = R.Height();
  TMemoryDC buffer = TMemoryDC::Dib32(DC, width, height);
  if (!buffer) return;
  if (ACopyBackground) BitBlt(buffer.DC(), 0, 0, width, height, DC, R.Left, R.Top, SRCCOPY);

  HFONT font = AFont ? AFont : static_cast<HFONT>(GetCurrentObject(DC, OBJ_FONT));
  TOwnedFont rotated;
  if (ARotation >= 1 && ARotation <= 3) {
    LOGFONTW info{};
    GetObjectW(font, sizeof(info), &info);
    info.lfEscapement = info.lfOrientation = ARotation == 1 ? 900 : ARotation == 2 ? -900 : 1800;
    rotated.Reset(CreateFontIndirectW(&info));
    if (rotated) font = rotated.Get();
  }
  TSelectObject selectedFont(buffer.DC(), font);

  DTTOPTS options{};
  options.dwSize = sizeof(options);
  options.dwFlags = DTT_COMPOSITED | DTT_TEXTCOLOR;
  options.crText = AColor == clDefault ? GetTextColor(DC) : ColorToColorRef(AColor);
  if (AGlowSize > 0) {
    options.dwFlags |= DTT_GLOWSIZE;
    options.iGlowSize = AGlowSize;
  }
  TRect textRect(0, 0, width, height);
  UINT flags = AFlags;
  if (rotated) {
    SIZE extent{};
    GetTextExtentPoint32W(buffer.DC(), AText.c_str(), static_cast<int>(AText.size()), &extent);
    const TPoint origin = RotatedTextOrigin(TSize(extent.cx, extent.cy), ARotation, width, height, AFlags);
    textRect = TRect(origin.X, origin.Y, width, height);
    flags = (flags & ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) | DT_NOCLIP;
  }
  UxDrawThemeTextEx(OpenTheme(totWindow), buffer.DC(), 0, 0, AText, -1, flags, textRect, &options);
  BitBlt(DC, R.Left, R.Top, width, height, buffer.DC(), 0, 0, SRCCOPY);
}

void DrawTextOnGlass(TcxCanvas* ACanvas, const String& AText, const TRect& R, UINT AFlags, int AGlowSize,
                     int ARotation, bool ACopyBackground) {
  DrawTextOnGlass(ACanvas->Handle(), AText, ACanvas->Font()->Handle(), R, ACanvas->Font()->Color(), AFlags, AGlowSize,
                  ARotation, ACopyBackground);
}

// ---------------------------------------------------------------------------
// Cursors

namespace {

struct TLibraryCursor {
  int Index;
  const wchar_t* Name;
};

constexpr TLibraryCursor LibraryCursors[] = {
    {2100, L"CX_DRAGCOPYCURSOR"},         {2101, L"CX_FULLSCROLLCURSOR"},      {2102, L"CX_HORSCROLLCURSOR"},
    {2103, L"CX_VERSCROLLCURSOR"},        {2104, L"CX_UPSCROLLCURSOR"},        {2105, L"CX_RIGHTSCROLLCURSOR"},
    {2106, L"CX_DOWNSCROLLCURSOR"},       {2107, L"CX_LEFTSCROLLCURSOR"},      {2108, L"CX_REMOVECURSOR"},
    {2109, L"CX_VERTSIZECURSOR"},         {2110, L"CX_HORZSIZECURSOR"},        {2111, L"CX_MULTIDRAGCURSOR"},
    {2112, L"CX_NODROPCURSOR"},           {2113, L"CX_DRAGCURSOR"},            {2114, L"CX_COLORPICKERCURSOR"},
    {2115, L"CX_MULTIDRAGCOPYCURSOR"},    {2116, L"CX_HANDCURSOR"},            {2117, L"CX_HANDDRAGCURSOR"},
    {2119, L"DXLAYOUTCONTROLNODROP"},     {2120, L"DXLAYOUTCONTROLREMOVE"},    {2121, L"DXLAYOUTCONTROLDROPAFTER"},
    {2122, L"DXLAYOUTCONTROLDROPBEFORE"}, {2123, L"DXLAYOUTCONTROLDROPINSIDE"}, {2124, L"CXDROPAFTERCOPY"},
    {2125, L"CXDROPBEFORECOPY"},          {2126, L"CXDROPINSIDECOPY"},         {2127, L"CX_LEFTARROWCURSOR"},
    {2128, L"CX_RIGHTARROWCURSOR"},       {2129, L"CX_CROSSCURSOR"},           {2130, L"CX_TASKLINKCURSOR"},
    {2131, L"CX_HORZRESIZECURSOR"},       {-2099, L"CX_HANDPOINTCURSOR"},
};

}  // namespace

void RegisterCursor(int AIndex, const wchar_t* AResName) {
  TdxCursorManager::Register(AIndex, GetModuleHandleW(nullptr), AResName);
}

void UnregisterCursor(int AIndex) { TdxCursorManager::Unregister(AIndex); }

void RegisterLibraryCursors() {
  for (const TLibraryCursor& cursor : LibraryCursors) RegisterCursor(cursor.Index, cursor.Name);
}

void UnregisterLibraryCursors() {
  for (const TLibraryCursor& cursor : LibraryCursors) UnregisterCursor(cursor.Index);
}

// ---------------------------------------------------------------------------
// Popup menus

bool IsPopupMenuComponent(TComponent* AComponent) {
  return Is<TPopupMenu>(AComponent) || static_cast<bool>(Supports<IcxPopupMenu>(AComponent));
}

bool HandlePopupMenuShortcut(TComponent* AComponent, TMessage& Message) {
  if (IPtr<IcxPopupMenu> menu = Supports<IcxPopupMenu>(AComponent)) return menu->IsShortCut(Message);
  auto* popup = dynamic_cast<TPopupMenu*>(AComponent);
  return popup && popup->Items()->Count() > 0 && popup->IsShortCut(Message);
}

bool ShowPopupMenuAt(TControl* AControl, TComponent* AComponent, int X, int Y) {
  if (IPtr<IcxPopupMenu> menu = Supports<IcxPopupMenu>(AComponent)) {
    menu->Popup(X, Y);
    return true;
  }
  auto* popup = dynamic_cast<TPopupMenu*>(AComponent);
  if (!popup || !popup->AutoPopup()) return false;
  popup->SetPopupComponent(AControl);
  popup->Popup(X, Y);
  return true;
}

int GetPopupMenuHeight(TPopupMenu* AMenu, int ADpi) {
  const auto scaled = [ADpi](int AValue) { return MulDiv(AValue, ADpi, dxDefaultDPI); };
  // The text height of an item: "Zq" in the menu font at the DPI.
  NONCLIENTMETRICSW metrics = SystemInfo() ? SystemInfo()->NonClientMetrics() : NONCLIENTMETRICSW{};
  LOGFONTW menuFont = metrics.lfMenuFont;
  menuFont.lfHeight = MulDiv(menuFont.lfHeight, ADpi, GetScreenDpi());
  TOwnedFont font(CreateFontIndirectW(&menuFont));
  TMemoryDC dc = TMemoryDC::Compatible(nullptr, 1, 1);
  TSelectObject selected(dc.DC(), font.Get());
  SIZE extent{};
  GetTextExtentPoint32W(dc.DC(), L"Zq", 2, &extent);

  int padding;
  if (IsWin11OrLater && GetDpiAwarenessLevel() >= 2)
    padding = scaled(3);
  else if (ADpi < 144)
    padding = 2;
  else
    padding = IsWin10OrLater ? 3 : 1;
  const int itemHeight = std::max(22, static_cast<int>(extent.cy) + 2 * padding);
  const int separatorHeight = IsWin11OrLater ? scaled(4) + 5 : IsWin10OrLater ? 7 : 8;

  int tallest = 0;
  int column = 0;
  TMenuItem* items = AMenu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    if (!item->Visible()) continue;
    if (item->Break() != mbNone) {
      tallest = std::max(tallest, column);
      column = 0;
    }
    column += item->IsLine() ? separatorHeight : itemHeight;
  }
  return std::max(tallest, column) + 6;
}

bool ShowDropDownMenu(TControl* AButton, TComponent* AComponent, const TRect& AButtonRect,
                      TPopupAlignment AAlignment) {
  TPoint p(AButtonRect.Left, AButtonRect.Bottom);
  if (AAlignment == paRight)
    p.X += AButtonRect.Width();
  else if (AAlignment == paCenter)
    p.X += AButtonRect.Width() / 2;
  if (IPtr<IcxDropDownMenu> menu = Supports<IcxDropDownMenu>(AComponent)) {
    menu->Popup(p, AAlignment, AButtonRect);
    return true;
  }
  auto* popup = dynamic_cast<TPopupMenu*>(AComponent);
  if (!popup || !popup->AutoPopup()) return false;
  const TRect area = WorkAreaAtPoint(p);
  const int height = GetPopupMenuHeight(popup, GetDpiForPoint(p));
  if (p.Y + height > area.Bottom) p.Y -= height + AButtonRect.Height() + 2;
  TPopupAlignment alignment = AAlignment;
  if (p.X <= area.Left)
    alignment = paRight;
  else if (p.X >= area.Right)
    alignment = paLeft;
  const TPopupAlignment saved = popup->Alignment();
  TScopeExit restore([popup, saved] { popup->SetAlignment(saved); });
  popup->SetAlignment(alignment);
  popup->SetPopupComponent(AButton);
  popup->Popup(p.X, p.Y);
  return true;
}

// ---------------------------------------------------------------------------
// TdxApplicationActivateWindowHelper

void TdxApplicationActivateWindowHelper::Destroy() {
  for (TCustomForm* form : FWindows) form->RemoveFreeNotification(this);
  FWindows.clear();
  inherited::Destroy();
}

void TdxApplicationActivateWindowHelper::AddWindow(TCustomForm* AForm) {
  if (!AForm || std::find(FWindows.begin(), FWindows.end(), AForm) != FWindows.end()) return;
  FWindows.push_back(AForm);
  AForm->FreeNotification(this);
}

void TdxApplicationActivateWindowHelper::RemoveWindow(TCustomForm* AForm) {
  auto it = std::find(FWindows.begin(), FWindows.end(), AForm);
  if (it == FWindows.end()) return;
  FWindows.erase(it);
  AForm->RemoveFreeNotification(this);
}

void TdxApplicationActivateWindowHelper::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove) std::erase(FWindows, AComponent);
}

void TdxApplicationActivateWindowHelper::NormalizeTopMostWindows(TCustomForm* AForm) {
  TCustomForm* focused = Screen() ? Screen()->ActiveForm() : nullptr;
  if (!Application() || Application()->ModalLevel() == 0 || !AForm || AForm == focused) return;
  // The listed forms above the last modal one keep their places.
  auto lastModal = std::find_if(FWindows.rbegin(), FWindows.rend(),
                                [](TCustomForm* f) { return f->FormState().Contains(fsModal); });
  if (std::find(FWindows.rbegin(), lastModal, AForm) != lastModal) return;
  for (auto it = FWindows.rbegin(); it != FWindows.rend(); ++it)
    if ((*it)->HandleAllocated()) SetZOrder((*it)->Handle(), HWND_TOP, false);
  if (focused && focused->HandleAllocated()) SetZOrder(focused->Handle(), HWND_TOP, false);
}

TdxApplicationActivateWindowHelper* ApplicationActivateWindowHelper() { return GActivateWindowHelper; }

void CreateApplicationActivateWindowHelper() {
  if (!GActivateWindowHelper) GActivateWindowHelper = New<TdxApplicationActivateWindowHelper>(nullptr);
}

void FreeApplicationActivateWindowHelper() { FreeAndNil(GActivateWindowHelper); }
