// The fair peer of the start-up benchmark (benchmarks/startup/run): the main
// window as a plain Win32 program builds it, up to the moment it shows. The
// same controls at the same places as the form description
// (resources/MainUnit.dfm) in the same font, the same 15 PNG glyphs decoded
// through GDI+ into a native image list that the buttons take their glyphs
// from, the version texts read from the version record, the two stored
// settings read from the same file and the port list filled from the
// registry, as the program does when its window shows.
#include "platform/runtime/WinApi.h"

#include <commctrl.h>
#include <objidl.h>
#include <shlwapi.h>

#include <cstdint>
#include <string>

namespace {

// The few flat GDI+ entries the peer needs, as gdiplus.dll exports them.
struct TGdiplusStartupInput {
  UINT32 GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
extern "C" {
int WINAPI GdiplusStartup(ULONG_PTR* AToken, const TGdiplusStartupInput* AInput, void* AOutput);
void WINAPI GdiplusShutdown(ULONG_PTR AToken);
int WINAPI GdipCreateBitmapFromStream(IStream* AStream, void** ABitmap);
int WINAPI GdipCreateHBITMAPFromBitmap(void* ABitmap, HBITMAP* AResult, DWORD ABackground);
int WINAPI GdipDisposeImage(void* AImage);
}

const wchar_t* const SettingsSection = L"Skarnivel configuration";
const wchar_t* const SettingsFile = L".\\Skarnivel.cfg";
constexpr int GlyphCount = 15;
constexpr int FirstGlyphResource = 100;
constexpr UINT_PTR CloseTimer = 1;

HFONT GFont;

HWND AddControl(HWND AParent, const wchar_t* AClass, const wchar_t* AText, DWORD AStyle, int X, int Y, int W, int H,
                DWORD AExStyle = 0) {
  const HWND wnd = CreateWindowExW(AExStyle, AClass, AText, WS_CHILD | WS_VISIBLE | AStyle, X, Y, W, H, AParent,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(GFont), FALSE);
  return wnd;
}

HWND AddButton(HWND AParent, HIMAGELIST AGlyphs, int AGlyph, const wchar_t* AText, bool AEnabled, int X, int Y, int W,
               int H) {
  const HWND button = AddControl(AParent, WC_BUTTONW, AText, WS_TABSTOP | BS_PUSHBUTTON, X, Y, W, H);
  const HICON icon = ImageList_GetIcon(AGlyphs, AGlyph, ILD_NORMAL);
  SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  EnableWindow(button, AEnabled);
  return button;
}

HWND AddCheckBox(HWND AParent, const wchar_t* AText, bool AEnabled, bool AVisible, int X, int Y, int W) {
  const HWND box = AddControl(AParent, WC_BUTTONW, AText, WS_TABSTOP | BS_AUTOCHECKBOX, X, Y, W, 19);
  EnableWindow(box, AEnabled);
  if (!AVisible) ShowWindow(box, SW_HIDE);
  return box;
}

// The glyphs decoded through GDI+ from the program's PNG resources.
HIMAGELIST LoadGlyphs() {
  const HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32, GlyphCount, 0);
  for (int i = 0; i < GlyphCount; ++i) {
    const HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(FirstGlyphResource + i), MAKEINTRESOURCEW(10));
    const HGLOBAL data = LoadResource(nullptr, info);
    IStream* stream = SHCreateMemStream(static_cast<const BYTE*>(LockResource(data)), SizeofResource(nullptr, info));
    void* bitmap = nullptr;
    HBITMAP handle = nullptr;
    if (stream && GdipCreateBitmapFromStream(stream, &bitmap) == 0 &&
        GdipCreateHBITMAPFromBitmap(bitmap, &handle, 0) == 0) {
      ImageList_Add(list, handle, nullptr);
      DeleteObject(handle);
    }
    if (bitmap) GdipDisposeImage(bitmap);
    if (stream) stream->Release();
  }
  return list;
}

std::wstring VersionField(const wchar_t* AName) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeW(path, &ignored), '\0');
  if (block.empty() || !GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data())) return {};
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = std::wstring(L"\\StringFileInfo\\040704B0\\") + AName;
  if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const wchar_t*>(value);
}

void FillPorts(HWND ACombo) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
    return;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256], port[256];
    DWORD nameLength = 256, portBytes = sizeof port, type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(port), &portBytes) !=
        ERROR_SUCCESS)
      break;
    if (type == REG_SZ) SendMessageW(ACombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(port));
  }
  RegCloseKey(key);
  SendMessageW(ACombo, CB_SETCURSEL, 0, 0);
}

void BuildWindow(HWND AForm) {
  const HIMAGELIST glyphs = LoadGlyphs();

  // A group box's controls are its siblings, placed inside it as a dialog places them.
  AddControl(AForm, WC_BUTTONW, L"Verbindungsparameter", BS_GROUPBOX, 8, 39, 201, 89);
  const HWND ports = AddControl(AForm, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                8 + 66, 39 + 24, 121, 200);
  AddControl(AForm, WC_STATICW, L"Anschluss", 0, 8 + 12, 39 + 25, 52, 17);
  AddControl(AForm, WC_STATICW, L"Baudrate", 0, 8 + 12, 39 + 52, 48, 17);
  const HWND baudRate = AddControl(AForm, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,
                                   8 + 66, 39 + 51, 121, 200);
  for (const wchar_t* rate : {L"9600", L"19200", L"38400", L"57600", L"100000", L"115200", L"200000", L"230400",
                              L"460800", L"500000", L"576000", L"921600", L"1000000", L"1500000", L"2000000"})
    SendMessageW(baudRate, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rate));

  AddButton(AForm, glyphs, 11, L"", true, 8, 8, 49, 25);
  AddButton(AForm, glyphs, 13, L"Verbinden", false, 151, 8, 82, 25);
  AddControl(AForm, WC_LISTBOXW, L"", WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 8, 164, 313, 185,
             WS_EX_CLIENTEDGE);
  AddButton(AForm, glyphs, 12, L"\u00D6ffnen", true, 63, 8, 82, 25);
  AddButton(AForm, glyphs, 14, L"Flash", false, 239, 8, 82, 25);
  AddControl(AForm, PROGRESS_CLASSW, L"", 0, 8, 352, 313, 21);

  AddControl(AForm, WC_BUTTONW, L"Optionen", BS_GROUPBOX, 215, 39, 106, 89);
  AddCheckBox(AForm, L"Flash", false, true, 215 + 11, 39 + 18, 85);
  AddCheckBox(AForm, L"EEprom", false, true, 215 + 11, 39 + 37, 85);
  AddCheckBox(AForm, L"UserRow", false, false, 215 + 11, 39 + 57, 85);

  AddControl(AForm, PROGRESS_CLASSW, L"", PBS_MARQUEE, 182, 376, 133, 11);
  AddControl(AForm, WC_BUTTONW, L"", BS_GROUPBOX, 8, 127, 313, 34);
  const HWND endAfterFlash =
      AddCheckBox(AForm, L"Nach erfolgreichem Flashen schlie\u00DFen", true, true, 8 + 3, 127 + 9, 250);

  AddControl(AForm, WC_STATICW, VersionField(L"CompanyName").c_str(), 0, 109, 371, 100, 20);
  AddControl(AForm, WC_STATICW, (L"Version: " + VersionField(L"FileVersion")).c_str(), 0, 8, 371, 101, 20);
  SetTimer(AForm, CloseTimer, 1000, nullptr);

  // What showing the window does: the stored settings, then the ports.
  wchar_t text[64];
  GetPrivateProfileStringW(SettingsSection, L"CB_Baudrate.Text", L"9600", text, 64, SettingsFile);
  SetWindowTextW(baudRate, text);
  if (GetPrivateProfileIntW(SettingsSection, L"CB_EndAfterFlash.Checked", 0, SettingsFile))
    SendMessageW(endAfterFlash, BM_SETCHECK, BST_CHECKED, 0);
  FillPorts(ports);
}

LRESULT CALLBACK NativeWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE AInstance, HINSTANCE, PWSTR, int AShow) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  ULONG_PTR gdiplus = 0;
  const TGdiplusStartupInput input;
  if (GdiplusStartup(&gdiplus, &input, nullptr) != 0) return 1;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = NativeWindowProc;
  windowClass.hInstance = AInstance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = L"NativeWindow";
  if (!RegisterClassExW(&windowClass)) return 1;
  GFont = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");

  // A dialog frame around a 329 x 391 client area, in the middle of the desktop.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  RECT frame{0, 0, 329, 391};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const HWND window = CreateWindowExW(exStyle, windowClass.lpszClassName, L"Skarnivel - Torvik", style,
                                      (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr, nullptr,
                                      AInstance, nullptr);
  if (!window) return 1;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GFont), FALSE);
  BuildWindow(window);
  ShowWindow(window, AShow);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  GdiplusShutdown(gdiplus);
  return static_cast<int>(message.wParam);
}
