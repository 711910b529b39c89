// Visual-styles theme handles, opened once per (themed object type, DPI) and
// kept until the theme or the system colours change.
//
// Classes in this file:
//   TdxThemedObjectType             the 31 kinds of themed objects
//   TdxThemeData                    one open theme handle, its class list and DPI
//   TdxThemeDataManager             the cache of open handles
//   TdxThemeChangedNotificator      tells its owner that the Windows theme changed
//   TdxThemeChangedEventReceiver    the hidden window that hears of theme changes
//
// Nothing is opened while uxtheme is missing or themes are inactive. A failed
// open is cached like a successful one and not retried until the cache is
// closed (on every theme or system-colour change).
#pragma once

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxUxTheme.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

enum TdxThemedObjectType {
  totButton, totClock, totComboBox, totEdit, totExplorerBar, totHeader, totListBox, totListView, totMenu, totPage,
  totProgress, totRebar, totScrollBar, totSpin, totStartPanel, totStatus, totTab, totTaskBand, totTaskBar,
  totToolBar, totToolTip, totTrackBar, totTrayNotify, totTreeView, totWindow, totNavigation, totExplorerListView,
  totTextStyle, totItemsViewListView, totItemsViewHeader, totExplorerTreeView
};
constexpr int dxThemedObjectTypeCount = totExplorerTreeView + 1;
using TdxThemedObjectTypes = TSet<TdxThemedObjectType>;

// The class list opened for a type by default.
const wchar_t* ThemedObjectClassList(TdxThemedObjectType AType);

// The theme files the Office11 colour scheme compares with the current one.
extern const wchar_t* const dxLunaThemeFileName;
extern const wchar_t* const dxRoyaleThemeFileName;

// Whether uxtheme reported an active theme (read at start and after each
// theme or system-colour change).
bool AreThemesActive();

class TdxThemeData : public TObject {
  SK_CLASS(TdxThemeData, TObject)
 public:
  // A scale factor of ADpi/96 only for ADpi above 0.
  void Create(HTHEME ATheme, const String& AClassNameList, int ADpi);
  // Closes the handle.
  void Destroy() override;

  HTHEME Theme() const { return FTheme; }
  const String& ClassNameList() const { return FClassNameList; }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

 private:
  HTHEME FTheme;
  String FClassNameList;
  TOwned<TdxScaleFactor> FScaleFactor;
};

class TdxThemeDataManager : public TObject {
  SK_CLASS(TdxThemeDataManager, TObject)
 public:
  void Create();
  void Destroy() override;

  // The cached handle for the type at the snapped DPI, opened on first need;
  // AClassList (nil: the type's default) replaces a cached handle that was
  // opened with another list (compared ignoring case). May answer 0.
  HTHEME Open(TdxThemedObjectType AType, int ADpi, const wchar_t* AClassList = nullptr);
  // Closes every handle and forgets the monitors.
  void CloseAll();
  // 0 unless per-DPI themes exist and ADpi >= 96; then the DPI of the
  // monitor nearest to it (the first of equally near ones).
  int SnapDpi(int ADpi);
  // One DPI per monitor, in the screen's order.
  const std::vector<int>& GetMonitorDpiList();
  // Replaces the monitor list until the next CloseAll (tests).
  void SetMonitorDpiList(std::vector<int> ADpis);
  TdxThemeData* FindByHandle(HTHEME ATheme) const;
  int Count() const { return static_cast<int>(FThemes.size()); }

 private:
  std::unordered_map<std::int64_t, TdxThemeData*> FThemes;  // owned
  std::unordered_map<HTHEME, TdxThemeData*> FHandles;
  std::vector<int> FMonitorDpis;
  bool FMonitorDpisValid;
};

using TdxThemeChangedEvent = Delegate<void()>;

class TdxThemeChangedNotificator : public TObject {
  SK_CLASS(TdxThemeChangedNotificator, TObject)
 public:
  void Create();
  void Destroy() override;

  TdxThemeChangedEvent OnThemeChanged() const { return FOnThemeChanged; }
  void SetOnThemeChanged(TdxThemeChangedEvent AValue) { FOnThemeChanged = AValue; }

  virtual void DoThemeChanged();

 private:
  TdxThemeChangedEvent FOnThemeChanged;
};

class TdxThemeChangedEventReceiver : public TObject {
  SK_CLASS(TdxThemeChangedEventReceiver, TObject)
 public:
  void Create();
  // Clears the themes-active flag and destroys the window.
  void Destroy() override;
  HWND Handle() const { return FHandle; }

 private:
  void WndProc(TMessage& AMessage);
  HWND FHandle;
};

// The process-wide objects; nil while uxtheme is missing and after shut-down.
TdxThemeDataManager* ThemeDataManager();
TdxThemeChangedEventReceiver* ThemeChangedEventReceiver();

HTHEME OpenTheme(TdxThemedObjectType AType, const wchar_t* AClassList = nullptr);
HTHEME OpenThemeForDpi(TdxThemedObjectType AType, int ADpi, const wchar_t* AClassList = nullptr);
HTHEME OpenThemeForScaleFactor(TdxThemedObjectType AType, const TdxScaleFactor* AFactor,
                               const wchar_t* AClassList = nullptr);
bool IsThemedObjectTypeAvailable(TdxThemedObjectType AType);
// Themes active, uxtheme loaded, and a handle for every type of the set.
bool AreVisualStylesAvailable(const TdxThemedObjectTypes& ATypes = TdxThemedObjectTypes());
void CloseAllThemes();
// The factor the handle was opened for, else the system factor.
TdxScaleFactor* GetThemeHandleScaleFactor(HTHEME ATheme);

// Where the part sizes of GetScaledThemePartSize are taken to be measured.
enum TdxThemePartSizeSource { tpsDefault = 0, tpsSystem = 1, tpsThemeHandle = 2 };
// The part's true size at AFactor's scale; false when there is no handle or
// the size cannot be read.
bool GetScaledThemePartSize(TdxThemedObjectType AType, const TdxScaleFactor* AFactor, int APart, int AState,
                            int ASourceMode, TSize& ASize);
// The same, or (0, 0).
TSize GetThemePartSizeOrDefault(TdxThemedObjectType AType, const TdxScaleFactor* AFactor, int APart, int AState,
                                int ASourceMode);
bool GetThemedObjectColor(TdxThemedObjectType AType, int APart, int AState, int AProperty, COLORREF& AColor);
bool DrawThemedObjectBackground(HDC DC, TdxThemedObjectType AType, int APart, int AState, const TRect& ARect);
bool DrawThemedObjectBackgroundScaled(HDC DC, TdxThemedObjectType AType, const TdxScaleFactor* AFactor, int APart,
                                      int AState, const TRect& ARect);

// Registered with the units loader; in an executable the start runs at once.
void StartThemeManager();
void StopThemeManager();

void dxThemeManagerInitialization();
void dxThemeManagerFinalization();
