// What the library knows about DPI: the system's optional per-monitor DPI
// functions (bound by name at start-up), the thread's awareness, the three
// process-wide scale factors, the DPI of components, forms and monitors,
// system metrics and font heights for a scale factor, and the custom cursors.
//
// Classes in this file:
//   TdxDpiAwarenessApi          the bound entry points (each null when missing)
//   TdxSystemBasedScaleFactor   a scale factor whose value comes from the system
//   TdxSystemScaleFactor        the screen's DPI over 96
//   TdxDesktopScaleFactor       the DPI the desktop was laid out for, over 96
//   TdxCursorManager            the library's cursors, loaded from resources
//   IdxSourceSize, IdxSourceDPI what a graphic designed for a size and a DPI reports
//
// A missing DLL or entry point is never an error: each routine falls back to
// what the older systems offer.
#pragma once

#include "library/core/geometry/cxGeometry.h"

#include <vector>

class TComponent;
class TControl;
class TCustomForm;
class TFont;
class TScreenMonitor;

constexpr int dxDefaultDPI = 96;

// A DPI limited to 30..480.
constexpr int ClampDpi(int AValue) { return AValue < 30 ? 30 : AValue > 480 ? 480 : AValue; }
// MulDiv(96, Numerator, Denominator); 96 for no factor or a factor of 1.
int ScaleFactorToDpi(const TdxScaleFactor* AFactor);

// A graphic drawn for a size of its own (a glyph strip's cell, say) reports it.
struct IdxSourceSize : public virtual IInterface {
  static constexpr GUID IID = {0x2F6C8D14, 0xA95B, 0x4E37, {0x8C, 0x02, 0x5B, 0xD1, 0x46, 0x7E, 0x93, 0xA8}};
  virtual TSize GetSourceSize() = 0;

 protected:
  ~IdxSourceSize() = default;
};

// A graphic drawn for a DPI of its own reports it.
struct IdxSourceDPI : public virtual IInterface {
  static constexpr GUID IID = {0x9D15E3B7, 0x4C68, 0x4A2F, {0xB5, 0x9E, 0x07, 0xC3, 0x6A, 0xF2, 0x18, 0x5D}};
  virtual int GetSourceDPI() = 0;

 protected:
  ~IdxSourceDPI() = default;
};

// Answers the DPI an object that does not report one itself was designed
// for, or false. Nil unless installed; the setter answers the previous one.
using TdxGetSourceDPIProc = bool (*)(TObject* AObject, int& ADPI);
TdxGetSourceDPIProc dxGetSourceDPIProc();
TdxGetSourceDPIProc dxSetSourceDPIProc(TdxGetSourceDPIProc AProc);

// ---------------------------------------------------------------------------
// The bound entry points

struct TdxDpiAwarenessApi {
  HMODULE Shcore = nullptr;
  HRESULT(WINAPI* GetDpiForMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
  HRESULT(WINAPI* GetProcessDpiAwareness)(HANDLE, int*) = nullptr;
  HRESULT(WINAPI* SetProcessDpiAwareness)(int) = nullptr;
  BOOL(WINAPI* AreDpiAwarenessContextsEqual)(DPI_AWARENESS_CONTEXT, DPI_AWARENESS_CONTEXT) = nullptr;
  int(WINAPI* GetSystemMetricsForDpi)(int, UINT) = nullptr;
  DPI_AWARENESS_CONTEXT(WINAPI* GetThreadDpiAwarenessContext)() = nullptr;
  DPI_AWARENESS_CONTEXT(WINAPI* SetThreadDpiAwarenessContext)(DPI_AWARENESS_CONTEXT) = nullptr;
  BOOL(WINAPI* AdjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;
};

// The binding as it stands, and a replacement for it (tests reach the
// branches of systems this one is not; the DLL handle stays the binding's).
const TdxDpiAwarenessApi& dxDpiAwarenessApi();
void dxSetDpiAwarenessApi(const TdxDpiAwarenessApi& AApi);

// Registered with the units loader; in an executable the bind runs at once.
void BindDpiAwarenessApi();
// Sets the finalization mark (no factor is created any more), clears the
// entry points, frees the cursor registry and the DLL.
void UnbindDpiAwarenessApi();

// ---------------------------------------------------------------------------
// Awareness

// 0 unaware, 1 system aware, 2 per-monitor, 3 per-monitor version 2,
// 4 unaware with GDI scaling.
int GetDpiAwarenessLevel();
bool DpiAwarenessContextsEqual(DPI_AWARENESS_CONTEXT A, DPI_AWARENESS_CONTEXT B);
bool TryGetProcessDpiAwareness(HANDLE AProcess, int& AValue);
bool IsDpiAwareProcess();
bool IsPerMonitorV2Aware();
bool IsUnawareGdiScaled();
// Vista or later and the executable declares a subsystem version above 5.
bool IsModernSubsystemExecutable();
// The major subsystem version in a module's PE header; 0 when the header
// cannot be read.
int ReadSubsystemMajorVersion(HMODULE AModule);
// Replaces the executable's version that IsModernSubsystemExecutable caches
// (tests); 0 reads it from the executable again.
void SetExecutableSubsystemVersion(int AMajorVersion);

// ---------------------------------------------------------------------------
// DPI of things

int GetScreenDpi();
// The monitor's DPI; the screen's for no monitor.
int GetMonitorDpi(TScreenMonitor* AMonitor);
int GetDpiForPoint(const TPoint& P);
int GetMonitorDpiForWindow(HWND AHandle);
// The DPI the desktop was laid out for ("AppliedDPI" of the user), else the
// screen's.
int ReadAppliedDpi();
// A scaled form that is loading answers the DPI its description was made at
// (unless that is 96); otherwise a form answers its current DPI, or its
// PixelsPerInch while it has none.
int GetFormPixelsPerInch(TCustomForm* AForm);
// Over 96: a form's DPI, a loading frame's PixelsPerInch; the factor of an
// object with IdxScaleFactor; a control's parent's answer; over 96 a data
// module's PixelsPerInch (the screen's while it has none). False when none of
// these is known. At design time forms and frames answer the designer's DPI.
bool TryGetComponentDpiRatio(TComponent* AComponent, int& N, int& D);
// 96 when nothing is known.
int GetComponentDpi(TComponent* AComponent);
// The object's own factor, else the system factor.
TdxScaleFactor* GetScaleFactorOf(TObject* AObject);
// The nearest of the control and its parents that has a scale factor.
bool FindParentScaleFactor(TControl* AControl, TdxScaleFactor*& AFactor);

// ---------------------------------------------------------------------------
// System scale factors

class TdxSystemBasedScaleFactor : public TdxScaleFactor {
  SK_CLASS(TdxSystemBasedScaleFactor, TdxScaleFactor)
 public:
  void AfterConstruction() override;
  // Reads the value from the system again.
  virtual void Update() = 0;
  int TargetDPI() const { return ScaleFactorToDpi(this); }
};

class TdxSystemScaleFactor : public TdxSystemBasedScaleFactor {
  SK_CLASS(TdxSystemScaleFactor, TdxSystemBasedScaleFactor)
 public:
  void Update() override;
};

class TdxDesktopScaleFactor : public TdxSystemBasedScaleFactor {
  SK_CLASS(TdxDesktopScaleFactor, TdxSystemBasedScaleFactor)
 public:
  void Update() override;
};

// Each created on first use; once the unbind has run they are no longer
// created (the answer may then be nil).
TdxScaleFactor* DefaultScaleFactor();
TdxSystemScaleFactor* SystemScaleFactor();
TdxDesktopScaleFactor* DesktopScaleFactor();

// ---------------------------------------------------------------------------
// Metrics and fonts

// The metric at the factor's DPI; the frame sizes include the padded border
// for an executable with a modern subsystem version.
int GetSystemMetricsForScaleFactor(int AIndex, const TdxScaleFactor* AFactor);
// -MulDiv(ASize, ADpi, 72): a negative height selects the character height.
constexpr int PointSizeToHeight(int ASize, int ADpi) {
  const long long v = static_cast<long long>(ASize) * ADpi;
  return -static_cast<int>(v >= 0 ? (v + 36) / 72 : -((-v + 36) / 72));
}
// A new default font sized for 96 DPI; the caller owns it.
TFont* CreateFontFor96Dpi();
void ScaleFontHeight(TFont* AFont, int N, int D);
// ATarget takes every attribute of ASource, its height converted from the
// source factor's scale to the target factor's.
void AssignScaledFont(TFont* ATarget, TFont* ASource, const TdxScaleFactor* ATargetFactor,
                      const TdxScaleFactor* ASourceFactor);

// ---------------------------------------------------------------------------
// Cursors

class TdxCursorManager {
 public:
  struct TCursorInfo {
    int Index = 0;  // the screen's cursor index
    HINSTANCE ResInstance = nullptr;
    String ResName;  // empty when ResInt identifies the resource
    WORD ResInt = 0;
  };

  TdxCursorManager() = delete;

  // Records the cursor and loads it into the screen's cursor table at once.
  // An integer identifier (a value below 65536 in place of a name) is kept
  // as a number.
  static void Register(int ACursorIndex, HINSTANCE AResInstance, const wchar_t* AResName);
  // Every registration of the index goes, last first; the screen's cursor
  // of that index is cleared.
  static void Unregister(int ACursorIndex);
  // Loads every registered cursor again, in order of registration.
  static void Refresh();
  static void LoadCursor(const TCursorInfo& AInfo);
  static int Count();
};

// The unit's start-up and shut-down.
void dxDPIAwareUtilsInitialization();
void dxDPIAwareUtilsFinalization();
