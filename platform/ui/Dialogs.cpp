#include "platform/ui/Dialogs.h"

#include "platform/runtime/Threads.h"
#include "platform/ui/Forms.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace {

const wchar_t* const MessageFormClass = L"TMessageForm";

// The common dialogs' library, loaded by the first file dialog and kept for
// the rest of the run. Linked, it would bring the shell and the printing
// system (under Wine, CUPS with its TLS and Kerberos libraries, some
// megabytes) into every run, most of which show no file dialog.
struct TCommonDialogs {
  decltype(&GetOpenFileNameW) OpenFileName = nullptr;
  decltype(&CommDlgExtendedError) ExtendedError = nullptr;
};

const TCommonDialogs& CommonDialogs() {
  static const TCommonDialogs entries = [] {
    TCommonDialogs found;
    if (const HMODULE module = LoadLibraryW(L"comdlg32.dll")) {
      found.OpenFileName = reinterpret_cast<decltype(&GetOpenFileNameW)>(
          reinterpret_cast<void*>(GetProcAddress(module, "GetOpenFileNameW")));
      found.ExtendedError = reinterpret_cast<decltype(&CommDlgExtendedError)>(
          reinterpret_cast<void*>(GetProcAddress(module, "CommDlgExtendedError")));
    }
    return found;
  }();
  if (!entries.OpenFileName || !entries.ExtendedError)
    throw EDialogError(L"Die Standarddialoge sind nicht verfügbar (comdlg32.dll)");
  return entries;
}

struct TButtonInfo {
  const wchar_t* Caption;
  TModalResult Result;
};

// In TMsgDlgBtn order. The results double as the buttons' control ids.
constexpr std::array<TButtonInfo, 12> ButtonInfos = {{
    {L"&Ja", mrYes},
    {L"&Nein", mrNo},
    {L"OK", mrOk},
    {L"Abbrechen", mrCancel},
    {L"&Abbrechen", mrAbort},
    {L"&Wiederholen", mrRetry},
    {L"&Ignorieren", mrIgnore},
    {L"&Alle", mrAll},
    {L"N&ein für alle", mrNoToAll},
    {L"Ja für a&lle", mrYesToAll},
    {L"&Hilfe", mrHelp},
    {L"&Schließen", mrClose},
}};

struct TDlgTypeInfo {
  const wchar_t* Caption;
  LPCWSTR Icon;  // a system icon, or null
  UINT Sound;    // a MessageBeep type, or 0 for none
};

// In TMsgDlgType order.
const std::array<TDlgTypeInfo, 5> TypeInfos = {{
    {L"Warnung", IDI_WARNING, MB_ICONEXCLAMATION},
    {L"Fehler", IDI_ERROR, MB_ICONHAND},
    {L"Information", IDI_INFORMATION, MB_ICONASTERISK},
    {L"Bestätigen", IDI_QUESTION, MB_ICONQUESTION},
    {L"", nullptr, 0},
}};

constexpr TMsgDlgBtn AllButtons[] = {mbYes,    mbNo,  mbOK,      mbCancel,   mbAbort, mbRetry,
                                     mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp,  mbClose};

TDialogProvider* GDefaultProvider = nullptr;
TDialogProvider* GProvider = nullptr;

std::size_t IndexOf(TMsgDlgBtn AButton) {
  const auto index = static_cast<std::size_t>(AButton);
  if (index >= ButtonInfos.size()) throw EDialogError(L"Unbekannte Dialogschaltfläche %d", {static_cast<int>(AButton)});
  return index;
}

const TDlgTypeInfo& InfoOf(TMsgDlgType AType) {
  const auto index = static_cast<std::size_t>(AType);
  if (index >= TypeInfos.size()) throw EDialogError(L"Unbekannter Dialogtyp %d", {static_cast<int>(AType)});
  return TypeInfos[index];
}

String StripAccelerator(const String& ACaption) {
  String result;
  for (std::size_t i = 0; i < ACaption.size(); ++i) {
    if (ACaption[i] == L'&' && i + 1 < ACaption.size()) ++i;
    result += ACaption[i];
  }
  return result;
}

// ---------------------------------------------------------------------------
// The real message dialog: a window of its own class that the dialog manager
// serves (DefDlgProcW: Tab, Enter, Esc, accelerators, the default button).

class TMessageDialogWindow {
 public:
  explicit TMessageDialogWindow(const TMessageDlgParams& AParams) : FParams(AParams) {}
  TMessageDialogWindow(const TMessageDialogWindow&) = delete;
  TMessageDialogWindow& operator=(const TMessageDialogWindow&) = delete;
  ~TMessageDialogWindow();

  TModalResult Run();

  static LRESULT CALLBACK WndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam);

 private:
  void CreateWindowAndControls(HWND AOwner);
  void Finish(TModalResult AResult) {
    if (FDone) return;
    FResult = AResult;
    FDone = true;
  }
  TModalResult CancelResult() const {
    return FParams.HasCancelButton ? MsgDlgButtonResult(FParams.CancelButton) : mrCancel;
  }
  bool IsOwnButton(HWND AWnd) const { return AWnd && GetParent(AWnd) == FWnd; }
  LRESULT Handle(UINT AMsg, WPARAM AWParam, LPARAM ALParam);

  const TMessageDlgParams& FParams;
  HWND FWnd = nullptr;
  TOwnedFont FFont;  // the stock font in its place is never really deleted
  TModalResult FResult = mrNone;
  bool FDone = false;
};

void RegisterMessageFormClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), MessageFormClass, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = &TMessageDialogWindow::WndProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;  // the dialog manager keeps its state there
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = MessageFormClass;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EDialogError(L"RegisterClassExW für den Meldungsdialog schlug fehl (Fehler %d)",
                       {static_cast<unsigned long>(GetLastError())});
}

TMessageDialogWindow::~TMessageDialogWindow() {
  // The controls go with the window, before the font they use.
  if (FWnd) DestroyWindow(FWnd);
}

LRESULT CALLBACK TMessageDialogWindow::WndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_NCCREATE) {
    auto* self = static_cast<TMessageDialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(ALParam)->lpCreateParams);
    self->FWnd = AWnd;
    SetWindowLongPtrW(AWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TMessageDialogWindow*>(GetWindowLongPtrW(AWnd, GWLP_USERDATA));
  if (!self) return DefDlgProcW(AWnd, AMsg, AWParam, ALParam);
  try {
    return self->Handle(AMsg, AWParam, ALParam);
  } catch (...) {
    HandleCallbackException(nullptr);
    return 0;
  }
}

LRESULT TMessageDialogWindow::Handle(UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  switch (AMsg) {
    case WM_COMMAND: {
      const HWND control = reinterpret_cast<HWND>(ALParam);
      if (HIWORD(AWParam) == BN_CLICKED && IsOwnButton(control)) {
        Finish(static_cast<TModalResult>(LOWORD(AWParam)));
        return 0;
      }
      // Esc (and the dialog manager's close) without a button of that id.
      if (LOWORD(AWParam) == IDCANCEL && !control && FParams.HasCancelButton) Finish(CancelResult());
      return 0;
    }
    case WM_CLOSE:
      Finish(CancelResult());
      return 0;
    case WM_DESTROY:
      // Destroyed from outside while open: the dialog ends as if closed.
      Finish(CancelResult());
      SetWindowLongPtrW(FWnd, GWLP_USERDATA, 0);
      FWnd = nullptr;
      break;
    default:
      break;
  }
  return DefDlgProcW(FWnd, AMsg, AWParam, ALParam);
}

// Work other threads queued for the main thread runs while the dialog is
// open, as it does in the application's own loop.
void RunQueuedWork() {
  if (TApplication* app = Application()) {
    app->RunQueuedWork();
    return;
  }
  if (!IsMainThread()) return;
  try {
    CheckSynchronize(0);
  } catch (...) {
    HandleCallbackException(nullptr);
  }
}

// Windows of this thread that the dialog disables while it is open.
BOOL CALLBACK CollectEnabledTopLevel(HWND AWnd, LPARAM AList) {
  if (IsWindowVisible(AWnd) && IsWindowEnabled(AWnd)) reinterpret_cast<std::vector<HWND>*>(AList)->push_back(AWnd);
  return TRUE;
}

void TMessageDialogWindow::CreateWindowAndControls(HWND AOwner) {
  RegisterMessageFormClass();
  const TDlgTypeInfo& type = InfoOf(FParams.DlgType);

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    FFont.Reset(CreateFontIndirectW(&metrics.lfMessageFont));
  if (!FFont) FFont.Reset(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
  if (!CreateWindowExW(exStyle, MessageFormClass, FParams.Caption.c_str(), style, 0, 0, 0, 0, AOwner, nullptr,
                       GetModuleHandleW(nullptr), this))
    throw EDialogError(L"Der Meldungsdialog konnte nicht erzeugt werden (Fehler %d)",
                       {static_cast<unsigned long>(GetLastError())});

  // The monitor the dialog belongs to bounds the text width and centres it.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(AOwner ? AOwner : GetDesktopWindow(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT work = monitor.rcWork;

  // Measurements in dialog units of the message font.
  const TWindowDC windowDC(FWnd);
  const HDC dc = windowDC.Get();
  const TSelectObject font(dc, FFont.Get());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const wchar_t alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE alphabetSize{};
  GetTextExtentPoint32W(dc, alphabet, 52, &alphabetSize);
  const int dux = std::max(1, static_cast<int>((alphabetSize.cx / 26 + 1) / 2));
  const int duy = std::max(1, static_cast<int>(tm.tmHeight));
  const int horzMargin = MulDiv(8, dux, 4);
  const int vertMargin = MulDiv(8, duy, 8);
  const int horzSpacing = MulDiv(10, dux, 4);
  const int vertSpacing = MulDiv(10, duy, 8);
  const int buttonSpacing = MulDiv(4, dux, 4);
  const int buttonHeight = MulDiv(14, duy, 8);
  int buttonWidth = MulDiv(50, dux, 4);

  RECT textRect{0, 0, std::max<LONG>(100, (work.right - work.left) / 2), 0};
  const UINT textFlags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT;
  DrawTextW(dc, FParams.Text.c_str(), static_cast<int>(FParams.Text.size()), &textRect, textFlags);

  std::vector<TMsgDlgBtn> buttons;
  for (TMsgDlgBtn b : AllButtons) {
    if (!FParams.Buttons.Contains(b)) continue;
    buttons.push_back(b);
    const String caption = StripAccelerator(ButtonInfos[IndexOf(b)].Caption);
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    buttonWidth = std::max(buttonWidth, static_cast<int>(size.cx) + 2 * horzMargin);
  }

  const int iconSize = type.Icon ? GetSystemMetrics(SM_CXICON) : 0;
  const int textLeft = horzMargin + (type.Icon ? iconSize + horzSpacing : 0);
  const int textWidth = textRect.right - textRect.left;
  const int textHeight = textRect.bottom - textRect.top;
  const int iconTextWidth = textLeft - horzMargin + textWidth;
  const int iconTextHeight = std::max(iconSize, textHeight);
  const int count = static_cast<int>(buttons.size());
  const int groupWidth = count * buttonWidth + (count - 1) * buttonSpacing;
  const int clientWidth = std::max(iconTextWidth, groupWidth) + 2 * horzMargin;
  const int clientHeight = iconTextHeight + vertSpacing + buttonHeight + 2 * vertMargin;

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  auto child = [&](const wchar_t* AClass, const wchar_t* AText, DWORD AStyle, int AId, int X, int Y, int W, int H) {
    HWND wnd = CreateWindowExW(0, AClass, AText, WS_CHILD | WS_VISIBLE | AStyle, X, Y, W, H, FWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(AId)), instance, nullptr);
    if (!wnd)
      throw EDialogError(L"Ein Element des Meldungsdialogs konnte nicht erzeugt werden (Fehler %d)",
                         {static_cast<unsigned long>(GetLastError())});
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
    return wnd;
  };
  if (type.Icon) {
    HWND icon = child(L"STATIC", L"", SS_ICON, 0xFFFF, horzMargin, vertMargin, iconSize, iconSize);
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, type.Icon)), 0);
  }
  child(L"STATIC", FParams.Text.c_str(), SS_LEFT | SS_NOPREFIX, 0xFFFF, textLeft, vertMargin, textWidth, textHeight);
  int x = (clientWidth - groupWidth) / 2;
  const int y = vertMargin + iconTextHeight + vertSpacing;
  for (TMsgDlgBtn b : buttons) {
    const TButtonInfo& info = ButtonInfos[IndexOf(b)];
    const DWORD kind = b == FParams.DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    child(L"BUTTON", info.Caption, kind | WS_TABSTOP, info.Result, x, y, buttonWidth, buttonHeight);
    x += buttonWidth + buttonSpacing;
  }
  SendMessageW(FWnd, WM_SETFONT, reinterpret_cast<WPARAM>(FFont.Get()), FALSE);
  SendMessageW(FWnd, DM_SETDEFID, static_cast<WPARAM>(MsgDlgButtonResult(FParams.DefaultButton)), 0);

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = FParams.X != -1 ? FParams.X : work.left + (work.right - work.left - width) / 2;
  const int top = FParams.Y != -1 ? FParams.Y : work.top + (work.bottom - work.top - height) / 2;
  SetWindowPos(FWnd, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

TModalResult TMessageDialogWindow::Run() {
  HWND owner = GetActiveWindow();
  if (owner) owner = GetAncestor(owner, GA_ROOTOWNER);
  CreateWindowAndControls(owner);

  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledTopLevel, reinterpret_cast<LPARAM>(&disabled));
  std::erase(disabled, FWnd);
  for (HWND wnd : disabled) EnableWindow(wnd, FALSE);

  ShowWindow(FWnd, SW_SHOWNORMAL);
  SetForegroundWindow(FWnd);
  if (HWND button = GetDlgItem(FWnd, MsgDlgButtonResult(FParams.DefaultButton)))
    SendMessageW(FWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);

  bool quit = false;
  WPARAM quitCode = 0;
  while (!FDone) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quitCode = msg.wParam;
        Finish(CancelResult());
        break;
      }
      if (FWnd && IsDialogMessageW(FWnd, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    RunQueuedWork();
    if (FDone) break;
    // Wakes for messages and for work other threads queue for this one.
    HANDLE sync = IsMainThread() ? SyncEvent() : nullptr;
    MsgWaitForMultipleObjectsEx(sync ? 1 : 0, sync ? &sync : nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }

  // Enable the others before the dialog goes, so that activation returns to
  // the owner and not to some other program.
  for (HWND wnd : disabled)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  if (FWnd) {
    if (owner && IsWindow(owner) && GetActiveWindow() == FWnd) SetActiveWindow(owner);
    DestroyWindow(FWnd);
  }
  // The quit request belongs to the loop that runs the program.
  if (quit) PostQuitMessage(static_cast<int>(quitCode));
  return FResult;
}

// "Text|*.ext|Text|*.ext" -> "Text\0*.ext\0Text\0*.ext\0\0"
std::vector<wchar_t> FilterBuffer(const String& AFilter) {
  std::vector<wchar_t> buffer;
  for (wchar_t c : AFilter) buffer.push_back(c == L'|' ? L'\0' : c);
  buffer.push_back(L'\0');
  buffer.push_back(L'\0');
  return buffer;
}

String TrimDefaultExt(const String& AExt) {
  std::size_t start = 0;
  while (start < AExt.size() && (AExt[start] == L'*' || AExt[start] == L'.')) ++start;
  return AExt.substr(start);
}

}  // namespace

// ---------------------------------------------------------------------------
// Texts and results

String MsgDlgTypeCaption(TMsgDlgType AType) { return InfoOf(AType).Caption; }
String MsgDlgButtonCaption(TMsgDlgBtn AButton) { return ButtonInfos[IndexOf(AButton)].Caption; }
TModalResult MsgDlgButtonResult(TMsgDlgBtn AButton) { return ButtonInfos[IndexOf(AButton)].Result; }
UINT MsgDlgTypeSound(TMsgDlgType AType) { return InfoOf(AType).Sound; }

String DialogApplicationTitle() {
  if (TApplication* app = Application())
    if (!app->Title().empty()) return app->Title();
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  String name(path.begin(), path.end());
  if (const auto slash = name.find_last_of(L"\\/:"); slash != String::npos) name.erase(0, slash + 1);
  if (const auto dot = name.rfind(L'.'); dot != String::npos && dot > 0) name.erase(dot);
  return name;
}

TMessageDlgParams MakeMessageDlgParams(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons,
                                       int AHelpCtx, int AX, int AY, const TMsgDlgBtn* ADefault) {
  TMessageDlgParams p;
  p.DlgType = ADlgType;
  p.Caption = ADlgType == mtCustom ? DialogApplicationTitle() : MsgDlgTypeCaption(ADlgType);
  p.Text = AMsg;
  // A dialog without buttons could only be closed from the system menu.
  for (TMsgDlgBtn b : AllButtons)
    if (AButtons.Contains(b)) p.Buttons.Include(b);
  if (p.Buttons.Empty()) p.Buttons = {mbOK};
  // Only -1 means "centred": a monitor left of or above the primary one has
  // negative coordinates, and a dialog placed there must stay there.
  p.X = AX;
  p.Y = AY;
  p.HelpCtx = AHelpCtx;

  auto first = [&](std::span<const TMsgDlgBtn> ACandidates, TMsgDlgBtn& AFound) {
    for (TMsgDlgBtn b : ACandidates)
      if (p.Buttons.Contains(b)) {
        AFound = b;
        return true;
      }
    return false;
  };
  constexpr TMsgDlgBtn defaults[] = {mbOK, mbYes, mbRetry};
  constexpr TMsgDlgBtn cancels[] = {mbCancel, mbNo, mbOK};
  if (ADefault && p.Buttons.Contains(*ADefault)) p.DefaultButton = *ADefault;
  else if (!first(defaults, p.DefaultButton)) first(AllButtons, p.DefaultButton);
  p.HasCancelButton = first(cancels, p.CancelButton);
  // A dialog with one button lets Esc and the close box press it.
  if (!p.HasCancelButton && p.Buttons.Count() == 1) {
    p.CancelButton = p.DefaultButton;
    p.HasCancelButton = true;
  }
  return p;
}

// ---------------------------------------------------------------------------
// The provider

TModalResult TDialogProvider::MessageDlg(const TMessageDlgParams& AParams) {
  if (const UINT sound = MsgDlgTypeSound(AParams.DlgType)) MessageSound(sound);
  TMessageDialogWindow dialog(AParams);
  return dialog.Run();
}

int TDialogProvider::MessageBox(const TMessageBoxParams& AParams) {
  return MessageBoxW(AParams.Owner, AParams.Text.c_str(), AParams.Caption.c_str(), AParams.Flags);
}

void TDialogProvider::MessageSound(UINT ASound) { MessageBeep(ASound); }

bool TDialogProvider::ExecuteOpenDialog(TOpenDialog* ADialog) {
  const std::vector<wchar_t> filter = FilterBuffer(ADialog->Filter());
  const String defaultExt = TrimDefaultExt(ADialog->DefaultExt());
  std::vector<wchar_t> file(std::max<std::size_t>(32768, ADialog->FileName().size() + 2), L'\0');
  std::copy(ADialog->FileName().begin(), ADialog->FileName().end(), file.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  HWND owner = GetActiveWindow();
  ofn.hwndOwner = owner ? GetAncestor(owner, GA_ROOTOWNER) : nullptr;
  ofn.lpstrFilter = ADialog->Filter().empty() ? nullptr : filter.data();
  ofn.nFilterIndex = static_cast<DWORD>(std::max(0, ADialog->FilterIndex()));
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = ADialog->InitialDir().empty() ? nullptr : ADialog->InitialDir().c_str();
  ofn.lpstrTitle = ADialog->Title().empty() ? nullptr : ADialog->Title().c_str();
  ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  ofn.Flags = OpenOptionsToFlags(ADialog->Options());

  const TCommonDialogs& dialogs = CommonDialogs();
  if (!dialogs.OpenFileName(&ofn)) {
    if (const DWORD error = dialogs.ExtendedError())
      throw EDialogError(L"Der Dialog zum Öffnen konnte nicht gezeigt werden (Fehler %x)",
                         {static_cast<unsigned long>(error)});
    return false;
  }

  // One name: the full path. Several: the folder, then each name, each
  // ended by a zero, the list by a second zero.
  std::vector<String> parts;
  for (const wchar_t* p = file.data(); *p && p < file.data() + file.size(); p += wcslen(p) + 1) parts.emplace_back(p);
  std::vector<String> files;
  if (parts.size() <= 1) {
    files = parts;
  } else {
    String folder = parts[0];
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    for (std::size_t i = 1; i < parts.size(); ++i) files.push_back(folder + parts[i]);
  }
  ADialog->SetResult(files, static_cast<int>(ofn.nFilterIndex), (ofn.Flags & OFN_READONLY) != 0,
                     (ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0);
  return true;
}

TDialogProvider* DialogProvider() {
  if (GProvider) return GProvider;
  if (!GDefaultProvider) GDefaultProvider = New<TDialogProvider>();
  return GDefaultProvider;
}

TDialogProvider* SetDialogProvider(TDialogProvider* AProvider) {
  TDialogProvider* previous = GProvider;
  GProvider = AProvider;
  return previous;
}

// ---------------------------------------------------------------------------
// Message dialogs

TModalResult MessageDlg(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx) {
  return DialogProvider()->MessageDlg(MakeMessageDlgParams(AMsg, ADlgType, AButtons, AHelpCtx, -1, -1, nullptr));
}

TModalResult MessageDlg(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx,
                        TMsgDlgBtn ADefault) {
  return DialogProvider()->MessageDlg(MakeMessageDlgParams(AMsg, ADlgType, AButtons, AHelpCtx, -1, -1, &ADefault));
}

TModalResult MessageDlgPos(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx,
                           int AX, int AY) {
  return DialogProvider()->MessageDlg(MakeMessageDlgParams(AMsg, ADlgType, AButtons, AHelpCtx, AX, AY, nullptr));
}

TModalResult MessageDlgPos(const String& AMsg, TMsgDlgType ADlgType, TMsgDlgButtons AButtons, int AHelpCtx,
                           int AX, int AY, TMsgDlgBtn ADefault) {
  return DialogProvider()->MessageDlg(MakeMessageDlgParams(AMsg, ADlgType, AButtons, AHelpCtx, AX, AY, &ADefault));
}

void ShowMessage(const String& AMsg) { ShowMessagePos(AMsg, -1, -1); }

void ShowMessagePos(const String& AMsg, int AX, int AY) { MessageDlgPos(AMsg, mtCustom, {mbOK}, 0, AX, AY); }

int DialogMessageBox(HWND AOwner, const String& AText, const String& ACaption, UINT AFlags) {
  return DialogProvider()->MessageBox({AOwner, AText, ACaption, AFlags});
}

// ---------------------------------------------------------------------------
// TOpenDialog

DWORD OpenOptionsToFlags(const TOpenOptions& AOptions) {
  // In TOpenOption order; ofOldStyleDialog turns the explorer style off.
  static constexpr DWORD flags[] = {
      OFN_READONLY,        OFN_OVERWRITEPROMPT,     OFN_HIDEREADONLY,      OFN_NOCHANGEDIR,
      OFN_SHOWHELP,        OFN_NOVALIDATE,          OFN_ALLOWMULTISELECT,  OFN_EXTENSIONDIFFERENT,
      OFN_PATHMUSTEXIST,   OFN_FILEMUSTEXIST,       OFN_CREATEPROMPT,      OFN_SHAREAWARE,
      OFN_NOREADONLYRETURN, OFN_NOTESTFILECREATE,   OFN_NONETWORKBUTTON,   OFN_NOLONGNAMES,
      0,                   OFN_NODEREFERENCELINKS,  OFN_ENABLEINCLUDENOTIFY, OFN_ENABLESIZING,
      OFN_DONTADDTORECENT, OFN_FORCESHOWHIDDEN};
  DWORD result = AOptions.Contains(ofOldStyleDialog) ? 0 : OFN_EXPLORER;
  for (std::size_t i = 0; i < std::size(flags); ++i)
    if (AOptions.Contains(static_cast<TOpenOption>(i))) result |= flags[i];
  return result;
}

void TCommonDialog::Publish(TPublisher<TCommonDialog>& P) {
  P.Property(L"HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext).Default(0);
  P.Property(L"OnShow", &TCommonDialog::OnShow, &TCommonDialog::SetOnShow);
  P.Property(L"OnClose", &TCommonDialog::OnClose, &TCommonDialog::SetOnClose);
}

void TOpenDialog::Publish(TPublisher<TOpenDialog>& P) {
  P.Property(L"DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
  P.Property(L"FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
  P.Property(L"Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
  P.Property(L"FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
  P.Property(L"InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
  P.Property(L"Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
      .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
  P.Property(L"Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
}

void TOpenDialog::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FFiles.reset(New<TStringList>());
  FFilterIndex = 1;
  FOptions = {ofHideReadOnly, ofEnableSizing};
}

void TOpenDialog::Destroy() {
  FFiles.reset();
  inherited::Destroy();
}

bool TOpenDialog::Execute() {
  DoShow();
  return TryFinally([this] { return DialogProvider()->ExecuteOpenDialog(this); }, [this] { DoClose(); });
}

void TOpenDialog::SetResult(const std::vector<String>& AFiles, int AFilterIndex, bool AReadOnly,
                            bool AExtensionDifferent) {
  FFiles->Clear();
  FFiles->AddStrings(AFiles);
  FFileName = AFiles.empty() ? String() : AFiles.front();
  FFilterIndex = AFilterIndex;
  if (AReadOnly) FOptions.Include(ofReadOnly); else FOptions.Exclude(ofReadOnly);
  if (AExtensionDifferent) FOptions.Include(ofExtensionDifferent); else FOptions.Exclude(ofExtensionDifferent);
}

// ---------------------------------------------------------------------------
// Unit start-up

void DialogsInitialization() { RegisterClasses({TOpenDialog::ClassInfo()}); }

void DialogsFinalization() {
  GProvider = nullptr;
  FreeAndNil(GDefaultProvider);
  UnregisterClassW(MessageFormClass, GetModuleHandleW(nullptr));
}
