#include "library/core/system/dxDPIAwareUtils.h"

#include "library/core/base/dxCore.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Forms.h"

#include <memory>
#include <utility>

namespace {

TdxDpiAwarenessApi GApi;
// Set by the unbind: the factors are no longer created from then on.
bool GDpiFinalizing = false;
TdxScaleFactor* GDefaultScaleFactor = nullptr;
TdxSystemScaleFactor* GSystemScaleFactor = nullptr;
TdxDesktopScaleFactor* GDesktopScaleFactor = nullptr;
std::unique_ptr<std::vector<TdxCursorManager::TCursorInfo>> GCursors;
// 0 until read from the executable.
int GSubsystemMajorVersion = 0;

template <class F>
void Bind(F& AEntry, HMODULE AModule, const char* AName) {
  AEntry = AModule ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(AModule, AName))) : nullptr;
}

// Frees the three factors when the global object destroyer lets it go, and
// only then forgets them: painters of forms destroyed before it still find
// the factors.
class TdxScaleFactorsReleaser : public TObject {
  SK_CLASS(TdxScaleFactorsReleaser, TObject)
 public:
  void Destroy() override {
    FreeAndNil(GDesktopScaleFactor);
    FreeAndNil(GDefaultScaleFactor);
    FreeAndNil(GSystemScaleFactor);
    inherited::Destroy();
  }
};

}  // namespace

namespace {
TdxGetSourceDPIProc GSourceDPIProc = nullptr;
}  // namespace

TdxGetSourceDPIProc dxGetSourceDPIProc() { return GSourceDPIProc; }

TdxGetSourceDPIProc dxSetSourceDPIProc(TdxGetSourceDPIProc AProc) { return std::exchange(GSourceDPIProc, AProc); }

int ScaleFactorToDpi(const TdxScaleFactor* AFactor) {
  if (!AFactor || !AFactor->Assigned()) return dxDefaultDPI;
  return MulDiv(dxDefaultDPI, AFactor->Numerator(), AFactor->Denominator());
}

// ---------------------------------------------------------------------------
// Binding

const TdxDpiAwarenessApi& dxDpiAwarenessApi() { return GApi; }

void dxSetDpiAwarenessApi(const TdxDpiAwarenessApi& AApi) {
  const HMODULE shcore = GApi.Shcore;
  GApi = AApi;
  GApi.Shcore = shcore;
}

void BindDpiAwarenessApi() {
  GDpiFinalizing = false;
  const HMODULE shcore = LoadLibraryW(L"Shcore.dll");
  // A handle of 32 or below is an old-style failure code.
  GApi.Shcore = reinterpret_cast<std::uintptr_t>(shcore) > 32 ? shcore : nullptr;
  Bind(GApi.GetDpiForMonitor, GApi.Shcore, "GetDpiForMonitor");
  Bind(GApi.GetProcessDpiAwareness, GApi.Shcore, "GetProcessDpiAwareness");
  Bind(GApi.SetProcessDpiAwareness, GApi.Shcore, "SetProcessDpiAwareness");
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  Bind(GApi.AreDpiAwarenessContextsEqual, user32, "AreDpiAwarenessContextsEqual");
  Bind(GApi.GetSystemMetricsForDpi, user32, "GetSystemMetricsForDpi");
  Bind(GApi.GetThreadDpiAwarenessContext, user32, "GetThreadDpiAwarenessContext");
  Bind(GApi.SetThreadDpiAwarenessContext, user32, "SetThreadDpiAwarenessContext");
  Bind(GApi.AdjustWindowRectExForDpi, user32, "AdjustWindowRectExForDpi");
}

void UnbindDpiAwarenessApi() {
  GDpiFinalizing = true;
  const HMODULE shcore = GApi.Shcore;
  GApi = TdxDpiAwarenessApi{};
  GCursors.reset();
  if (shcore) FreeLibrary(shcore);
}

// ---------------------------------------------------------------------------
// Awareness

bool DpiAwarenessContextsEqual(DPI_AWARENESS_CONTEXT A, DPI_AWARENESS_CONTEXT B) {
  if (GApi.AreDpiAwarenessContextsEqual) return GApi.AreDpiAwarenessContextsEqual(A, B) != FALSE;
  return A == B;
}

bool TryGetProcessDpiAwareness(HANDLE AProcess, int& AValue) {
  if (!GApi.GetProcessDpiAwareness) return false;
  int value = 0;
  if (FAILED(GApi.GetProcessDpiAwareness(AProcess, &value))) return false;
  AValue = value;
  return true;
}

int GetDpiAwarenessLevel() {
  if (GApi.GetThreadDpiAwarenessContext) {
    const DPI_AWARENESS_CONTEXT context = GApi.GetThreadDpiAwarenessContext();
    for (int level = 0; level < 5; ++level)
      if (DpiAwarenessContextsEqual(context, reinterpret_cast<DPI_AWARENESS_CONTEXT>(static_cast<INT_PTR>(-1 - level))))
        return level;
  }
  int value = 0;
  if (TryGetProcessDpiAwareness(GetCurrentProcess(), value)) return value;
  return IsDpiAwareProcess() ? 1 : 0;
}

bool IsDpiAwareProcess() { return IsWinVistaOrLater && IsProcessDPIAware(); }
bool IsPerMonitorV2Aware() { return IsWin10OrLater && GetDpiAwarenessLevel() == 3; }
bool IsUnawareGdiScaled() { return IsWin10Build17762OrLater && GetDpiAwarenessLevel() == 4; }

int ReadSubsystemMajorVersion(HMODULE AModule) {
  if (!AModule) return 0;
  const auto* base = reinterpret_cast<const std::uint8_t*>(AModule);
  // The header lies in the module's first pages; each read is checked
  // against the memory that is actually committed and readable.
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(base, &info, sizeof(info)) || info.State != MEM_COMMIT ||
      (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)))
    return 0;
  const std::size_t readable = static_cast<std::size_t>(static_cast<const std::uint8_t*>(info.BaseAddress) +
                                                        info.RegionSize - base);
  if (readable < sizeof(IMAGE_DOS_HEADER)) return 0;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0) return 0;
  const std::size_t ntOffset = static_cast<std::size_t>(dos->e_lfanew);
  if (ntOffset + sizeof(IMAGE_NT_HEADERS) > readable) return 0;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + ntOffset);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return 0;
  return nt->OptionalHeader.MajorSubsystemVersion;
}

void SetExecutableSubsystemVersion(int AMajorVersion) { GSubsystemMajorVersion = AMajorVersion; }

bool IsModernSubsystemExecutable() {
  if (GSubsystemMajorVersion == 0) GSubsystemMajorVersion = ReadSubsystemMajorVersion(GetModuleHandleW(nullptr));
  return IsWinVistaOrLater && GSubsystemMajorVersion > 5;
}

// ---------------------------------------------------------------------------
// DPI of things

int GetScreenDpi() {
  const TScreenDC screen;
  return screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : dxDefaultDPI;
}

int GetMonitorDpi(TScreenMonitor* AMonitor) { return AMonitor ? AMonitor->PixelsPerInch() : GetScreenDpi(); }

int GetDpiForPoint(const TPoint& P) { return GetMonitorDpi(Screen() ? Screen()->MonitorFromPoint(P) : nullptr); }

int GetMonitorDpiForWindow(HWND AHandle) {
  return GetMonitorDpi(Screen() ? Screen()->MonitorFromWindow(AHandle) : nullptr);
}

int ReadAppliedDpi() {
  TRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", 0, KEY_READ, key.Receive()) !=
      ERROR_SUCCESS)
    return GetScreenDpi();
  DWORD value = 0;
  DWORD size = sizeof(value);
  DWORD type = 0;
  const LSTATUS status =
      RegQueryValueExW(key.Get(), L"AppliedDPI", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return GetScreenDpi();
  return static_cast<int>(value);
}

namespace {

bool Designing(TComponent* AComponent) { return AComponent->ComponentState().Contains(csDesigning); }
bool Loading(TComponent* AComponent) { return AComponent->ComponentState().Contains(csLoading); }

// A designer shows what it edits at the screen's resolution.
int DesignerDpi() { return GetScreenDpi(); }

}  // namespace

int GetFormPixelsPerInch(TCustomForm* AForm) {
  if (AForm->Scaled() && Loading(AForm)) {
    if (Designing(AForm)) return DesignerDpi();
    if (AForm->PixelsPerInch() != dxDefaultDPI) return AForm->PixelsPerInch();
  }
  return AForm->CurrentPPI() != 0 ? AForm->CurrentPPI() : AForm->PixelsPerInch();
}

bool TryGetComponentDpiRatio(TComponent* AComponent, int& N, int& D) {
  if (!AComponent) return false;
  if (auto* form = dynamic_cast<TCustomForm*>(AComponent)) {
    N = GetFormPixelsPerInch(form);
    D = dxDefaultDPI;
    return true;
  }
  if (auto* frame = dynamic_cast<TCustomFrame*>(AComponent); frame && Loading(frame)) {
    N = Designing(frame) ? DesignerDpi() : frame->PixelsPerInch();
    D = dxDefaultDPI;
    return true;
  }
  if (IdxScaleFactor* owner = SupportsRaw<IdxScaleFactor>(AComponent)) {
    if (TdxScaleFactor* factor = owner->GetScaleFactor()) {
      N = factor->Numerator();
      D = factor->Denominator();
      return true;
    }
  }
  if (auto* control = dynamic_cast<TControl*>(AComponent)) return TryGetComponentDpiRatio(control->Parent(), N, D);
  if (auto* module = dynamic_cast<TDataModule*>(AComponent)) {
    N = module->PixelsPerInch() != 0 ? module->PixelsPerInch() : GetScreenDpi();
    D = dxDefaultDPI;
    return true;
  }
  return false;
}

int GetComponentDpi(TComponent* AComponent) {
  int n = 0;
  int d = 0;
  return TryGetComponentDpiRatio(AComponent, n, d) && d != 0 ? MulDiv(dxDefaultDPI, n, d) : dxDefaultDPI;
}

TdxScaleFactor* GetScaleFactorOf(TObject* AObject) {
  if (IdxScaleFactor* owner = SupportsRaw<IdxScaleFactor>(AObject))
    if (TdxScaleFactor* factor = owner->GetScaleFactor()) return factor;
  return SystemScaleFactor();
}

bool FindParentScaleFactor(TControl* AControl, TdxScaleFactor*& AFactor) {
  for (TControl* control = AControl; control; control = control->Parent()) {
    if (IdxScaleFactor* owner = SupportsRaw<IdxScaleFactor>(control)) {
      AFactor = owner->GetScaleFactor();
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// System scale factors

void TdxSystemBasedScaleFactor::AfterConstruction() {
  inherited::AfterConstruction();
  Update();
}

void TdxSystemScaleFactor::Update() { Assign(GetScreenDpi(), dxDefaultDPI, false); }

void TdxDesktopScaleFactor::Update() {
  Assign(IsDpiAwareProcess() ? ReadAppliedDpi() : GetScreenDpi(), dxDefaultDPI, false);
}

TdxScaleFactor* DefaultScaleFactor() {
  if (!GDefaultScaleFactor && !GDpiFinalizing) GDefaultScaleFactor = New<TdxScaleFactor>();
  return GDefaultScaleFactor;
}

TdxSystemScaleFactor* SystemScaleFactor() {
  if (!GSystemScaleFactor && !GDpiFinalizing) GSystemScaleFactor = New<TdxSystemScaleFactor>();
  return GSystemScaleFactor;
}

TdxDesktopScaleFactor* DesktopScaleFactor() {
  if (!GDesktopScaleFactor && !GDpiFinalizing) GDesktopScaleFactor = New<TdxDesktopScaleFactor>();
  return GDesktopScaleFactor;
}

// ---------------------------------------------------------------------------
// Metrics and fonts

namespace {

int MetricForScaleFactor(int AIndex, const TdxScaleFactor* AFactor) {
  if (!AFactor) return GetSystemMetrics(AIndex);
  if (GApi.GetSystemMetricsForDpi)
    return GApi.GetSystemMetricsForDpi(AIndex, static_cast<UINT>(ScaleFactorToDpi(AFactor)));
  const TdxScaleFactor* desktop = DesktopScaleFactor();
  const int value = GetSystemMetrics(AIndex);
  return desktop ? AFactor->Apply(value, desktop->Numerator(), desktop->Denominator()) : AFactor->Apply(value);
}

}  // namespace

int GetSystemMetricsForScaleFactor(int AIndex, const TdxScaleFactor* AFactor) {
  int result = MetricForScaleFactor(AIndex, AFactor);
  if ((AIndex == SM_CXFRAME || AIndex == SM_CYFRAME) && IsModernSubsystemExecutable())
    result += MetricForScaleFactor(SM_CXPADDEDBORDER, AFactor);
  return result;
}

TFont* CreateFontFor96Dpi() {
  TOwned<TFont> font(New<TFont>());
  font->SetHeight(PointSizeToHeight(font->Size(), dxDefaultDPI));
  return font.release();
}

void ScaleFontHeight(TFont* AFont, int N, int D) {
  if (AFont && D != 0) AFont->SetHeight(MulDiv(AFont->Height(), N, D));
}

void AssignScaledFont(TFont* ATarget, TFont* ASource, const TdxScaleFactor* ATargetFactor,
                      const TdxScaleFactor* ASourceFactor) {
  if (!ATarget || !ASource) return;
  ATarget->Assign(ASource);
  const int height = ASource->Height();
  if (ATargetFactor && ASourceFactor)
    ATarget->SetHeight(ATargetFactor->Apply(height, ASourceFactor->Numerator(), ASourceFactor->Denominator()));
}

// ---------------------------------------------------------------------------
// TdxCursorManager

void TdxCursorManager::Register(int ACursorIndex, HINSTANCE AResInstance, const wchar_t* AResName) {
  if (!GCursors) {
    if (GDpiFinalizing) return;
    GCursors = std::make_unique<std::vector<TCursorInfo>>();
  }
  TCursorInfo info;
  info.Index = ACursorIndex;
  info.ResInstance = AResInstance;
  if (IsIntegerIdentifier(AResName))
    info.ResInt = static_cast<WORD>(reinterpret_cast<std::uintptr_t>(AResName));
  else if (AResName)
    info.ResName = AResName;
  GCursors->push_back(info);
  LoadCursor(info);
}

void TdxCursorManager::Unregister(int ACursorIndex) {
  if (!GCursors) return;
  for (auto i = GCursors->size(); i-- > 0;) {
    if ((*GCursors)[i].Index != ACursorIndex) continue;
    if (Screen()) Screen()->SetCursors(ACursorIndex, nullptr);
    GCursors->erase(GCursors->begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TdxCursorManager::Refresh() {
  if (!GCursors) return;
  for (const TCursorInfo& info : *GCursors) LoadCursor(info);
}

void TdxCursorManager::LoadCursor(const TCursorInfo& AInfo) {
  const wchar_t* name = AInfo.ResName.empty() ? MAKEINTRESOURCEW(AInfo.ResInt) : AInfo.ResName.c_str();
  const HCURSOR cursor = LoadCursorFromResource(AInfo.ResInstance, name);
  if (Screen()) Screen()->SetCursors(AInfo.Index, cursor);
}

int TdxCursorManager::Count() { return GCursors ? static_cast<int>(GCursors->size()) : 0; }

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void dxDPIAwareUtilsInitialization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->AddUnit(&BindDpiAwarenessApi, &UnbindDpiAwarenessApi);
  else
    BindDpiAwarenessApi();
}

void dxDPIAwareUtilsFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&UnbindDpiAwarenessApi);
  else
    UnbindDpiAwarenessApi();
  if (GDefaultScaleFactor || GSystemScaleFactor || GDesktopScaleFactor)
    ScheduleGlobalObjectFreeObject(New<TdxScaleFactorsReleaser>());
}
