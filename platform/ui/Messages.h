// The platform's own window messages and typed views of common messages.
//
// Contents:
//   CM_*                    control messages (CM_BASE + n), sent between controls
//   CN_*                    notifications reflected back to the child (CN_BASE + WM_*)
//   TWMKey, TWMChar         keyboard messages
//   TWMMouse, TWMMouseWheel mouse messages
//   TWMPaint, TWMEraseBkgnd painting messages
//   TWMCommand, TWMNotify, TWMSetFocus, TWMKillFocus, TWMContextMenu
//   TCMDialogKey, TCMDialogChar, TCMMouseEnter, TCMHintShow, TCMFocusChanged
//
// A view is a reference wrapper over TMessage: reading and writing a view's
// fields reads and writes the message itself, so a handler can use either.
#pragma once

#include "platform/runtime/System.h"
#include "platform/runtime/Types.h"

#include <cstdint>

// ---------------------------------------------------------------------------
// Control messages

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
constexpr UINT CM_INVALIDATEDOCKHOST = CM_BASE + 70;
constexpr UINT CM_SETACTIVECONTROL = CM_BASE + 71;
constexpr UINT CM_POPUPHWNDDESTROY = CM_BASE + 72;
constexpr UINT CM_CREATEPOPUP = CM_BASE + 73;
constexpr UINT CM_DESTROYHANDLE = CM_BASE + 74;
constexpr UINT CM_MOUSEACTIVATE = CM_BASE + 75;
constexpr UINT CM_CONTROLLISTCHANGING = CM_BASE + 76;
constexpr UINT CM_BUFFEREDPRINTCLIENT = CM_BASE + 77;
constexpr UINT CM_UNTHEMECONTROL = CM_BASE + 78;
constexpr UINT CM_DOUBLEBUFFEREDCHANGED = CM_BASE + 79;
constexpr UINT CM_PARENTDOUBLEBUFFEREDCHANGED = CM_BASE + 80;
constexpr UINT CM_THEMECHANGED = CM_BASE + 81;
constexpr UINT CM_GESTURE = CM_BASE + 82;
constexpr UINT CM_CUSTOMGESTURESCHANGED = CM_BASE + 83;
constexpr UINT CM_GESTUREMANAGERCHANGED = CM_BASE + 84;
constexpr UINT CM_STANDARDGESTURESCHANGED = CM_BASE + 85;
constexpr UINT CM_INPUTLANGCHANGE = CM_BASE + 86;
constexpr UINT CM_TABLETOPTIONSCHANGED = CM_BASE + 87;
constexpr UINT CM_PARENTTABLETOPTIONSCHANGED = CM_BASE + 88;
// The control's StyleElements changed.
constexpr UINT CM_STYLEELEMENTSCHANGED = CM_BASE + 89;

// ---------------------------------------------------------------------------
// Notifications a parent window receives from a child, reflected to the child

constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// ---------------------------------------------------------------------------
// Typed views

namespace messages_detail {
inline WORD Lo(std::uintptr_t A) { return static_cast<WORD>(A & 0xFFFF); }
inline WORD Hi(std::uintptr_t A) { return static_cast<WORD>((A >> 16) & 0xFFFF); }
}  // namespace messages_detail

// WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP and their CN_ twins; CM_DIALOGKEY,
// CM_WANTSPECIALKEY. CharCode is the virtual key; KeyData the LParam.
struct TWMKey {
  TMessage& M;
  explicit TWMKey(TMessage& AMessage) : M(AMessage) {}
  WORD CharCode() const { return static_cast<WORD>(M.WParam); }
  void SetCharCode(WORD AValue) { M.WParam = AValue; }
  LPARAM KeyData() const { return M.LParam; }
  LRESULT& Result() { return M.Result; }
};
using TCMDialogKey = TWMKey;

// WM_CHAR, WM_SYSCHAR, CN_CHAR, CM_DIALOGCHAR: CharCode is the character.
struct TWMChar {
  TMessage& M;
  explicit TWMChar(TMessage& AMessage) : M(AMessage) {}
  wchar_t CharCode() const { return static_cast<wchar_t>(M.WParam); }
  void SetCharCode(wchar_t AValue) { M.WParam = static_cast<WPARAM>(AValue); }
  LPARAM KeyData() const { return M.LParam; }
  LRESULT& Result() { return M.Result; }
};
using TCMDialogChar = TWMChar;

// Client-area mouse messages: key flags in WParam, signed position in LParam.
struct TWMMouse {
  TMessage& M;
  explicit TWMMouse(TMessage& AMessage) : M(AMessage) {}
  UINT Keys() const { return static_cast<UINT>(M.WParam); }
  TPoint Pos() const { return PointFromLParam(M.LParam); }
  int XPos() const { return Pos().X; }
  int YPos() const { return Pos().Y; }
  void SetPos(const TPoint& P) { M.LParam = PointToLParam(P); }
  LRESULT& Result() { return M.Result; }
};

// WM_MOUSEWHEEL, WM_MOUSEHWHEEL: position in screen coordinates.
struct TWMMouseWheel {
  TMessage& M;
  explicit TWMMouseWheel(TMessage& AMessage) : M(AMessage) {}
  UINT Keys() const { return messages_detail::Lo(M.WParam); }
  int WheelDelta() const { return static_cast<std::int16_t>(messages_detail::Hi(M.WParam)); }
  TPoint Pos() const { return PointFromLParam(M.LParam); }
  LRESULT& Result() { return M.Result; }
};

// WM_PAINT (DC in WParam when painting into a given context), WM_PRINTCLIENT.
struct TWMPaint {
  TMessage& M;
  explicit TWMPaint(TMessage& AMessage) : M(AMessage) {}
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
  LRESULT& Result() { return M.Result; }
};
using TWMEraseBkgnd = TWMPaint;

struct TWMCommand {
  TMessage& M;
  explicit TWMCommand(TMessage& AMessage) : M(AMessage) {}
  WORD ItemID() const { return messages_detail::Lo(M.WParam); }
  WORD NotifyCode() const { return messages_detail::Hi(M.WParam); }
  HWND Ctl() const { return reinterpret_cast<HWND>(M.LParam); }
  LRESULT& Result() { return M.Result; }
};

struct TWMNotify {
  TMessage& M;
  explicit TWMNotify(TMessage& AMessage) : M(AMessage) {}
  NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(M.LParam); }
  LRESULT& Result() { return M.Result; }
};

// WM_SETFOCUS: the window that lost the focus; WM_KILLFOCUS: the one that gets it.
struct TWMSetFocus {
  TMessage& M;
  explicit TWMSetFocus(TMessage& AMessage) : M(AMessage) {}
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(M.WParam); }
};
using TWMKillFocus = TWMSetFocus;

// WM_CONTEXTMENU: screen position, (-1, -1) when asked for by keyboard.
struct TWMContextMenu {
  TMessage& M;
  explicit TWMContextMenu(TMessage& AMessage) : M(AMessage) {}
  HWND Wnd() const { return reinterpret_cast<HWND>(M.WParam); }
  TPoint Pos() const { return PointFromLParam(M.LParam); }
  LRESULT& Result() { return M.Result; }
};

class TControl;

// CM_MOUSEENTER / CM_MOUSELEAVE: LParam names the control the mouse entered
// or left; the message climbs the parent chain unchanged.
struct TCMMouseEnter {
  TMessage& M;
  explicit TCMMouseEnter(TMessage& AMessage) : M(AMessage) {}
  TControl* Control() const { return reinterpret_cast<TControl*>(M.LParam); }
};
using TCMMouseLeave = TCMMouseEnter;

// CM_FOCUSCHANGED: the control that now has the focus (LParam).
struct TCMFocusChanged {
  TMessage& M;
  explicit TCMFocusChanged(TMessage& AMessage) : M(AMessage) {}
  TControl* Sender() const { return reinterpret_cast<TControl*>(M.LParam); }
};

// CM_HITTEST: a client point of a graphic control (LParam); a non-zero
// result claims the point.
struct TCMHitTest {
  TMessage& M;
  explicit TCMHitTest(TMessage& AMessage) : M(AMessage) {}
  TPoint Pos() const { return PointFromLParam(M.LParam); }
  LRESULT& Result() { return M.Result; }
};
