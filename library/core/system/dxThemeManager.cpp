#include "library/core/system/dxThemeManager.h"

#include "library/core/base/dxCore.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WindowAllocation.h"

#include <cstdlib>
#include <memory>

namespace {

const wchar_t* const ClassLists[dxThemedObjectTypeCount] = {
    L"Button",      L"Clock",   L"ComboBox", L"Edit",     L"ExplorerBar", L"Header",   L"ListBox",
    L"ListView",    L"Menu",    L"Page",     L"Progress", L"Rebar",       L"ScrollBar", L"Spin",
    L"StartPanel",  L"Status",  L"Tab",      L"TaskBand", L"TaskBar",     L"ToolBar",  L"ToolTip",
    L"TrackBar",    L"TrayNotify", L"TreeView", L"Window", L"Navigation", L"Explorer::ListView",
    L"TEXTSTYLE",   L"ItemsView::ListView", L"ItemsView::Header", L"Explorer::TreeView",
};

bool GThemesActive = false;
TdxThemeDataManager* GManager = nullptr;
std::unique_ptr<std::vector<TdxThemeChangedNotificator*>> GNotificators;
TdxThemeChangedEventReceiver* GReceiver = nullptr;

String UpperCaseList(const String& AList) {
  String s = AList;
  if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

}  // namespace

const wchar_t* const dxLunaThemeFileName = L"LUNA.MSSTYLES";
const wchar_t* const dxRoyaleThemeFileName = L"ROYALE.MSSTYLES";

const wchar_t* ThemedObjectClassList(TdxThemedObjectType AType) { return ClassLists[AType]; }

bool AreThemesActive() { return GThemesActive; }

TdxThemeDataManager* ThemeDataManager() { return GManager; }
TdxThemeChangedEventReceiver* ThemeChangedEventReceiver() { return GReceiver; }

// ---------------------------------------------------------------------------
// TdxThemeData

void TdxThemeData::Create(HTHEME ATheme, const String& AClassNameList, int ADpi) {
  inherited::Create();
  FTheme = ATheme;
  FClassNameList = AClassNameList;
  if (ADpi > 0) {
    FScaleFactor.reset(New<TdxScaleFactor>());
    FScaleFactor->Assign(ADpi, dxDefaultDPI, false);
  }
}

void TdxThemeData::Destroy() {
  if (FTheme) UxCloseThemeData(std::exchange(FTheme, nullptr));
  FScaleFactor.reset();
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// TdxThemeDataManager

void TdxThemeDataManager::Create() {
  inherited::Create();
  FThemes.reserve(93);
}

void TdxThemeDataManager::Destroy() {
  CloseAll();
  inherited::Destroy();
}

const std::vector<int>& TdxThemeDataManager::GetMonitorDpiList() {
  if (!FMonitorDpisValid) {
    FMonitorDpis.clear();
    if (TScreen* screen = Screen())
      for (int i = 0; i < screen->MonitorCount(); ++i) FMonitorDpis.push_back(GetMonitorDpi(screen->Monitors(i)));
    FMonitorDpisValid = true;
  }
  return FMonitorDpis;
}

void TdxThemeDataManager::SetMonitorDpiList(std::vector<int> ADpis) {
  FMonitorDpis = std::move(ADpis);
  FMonitorDpisValid = true;
}

int TdxThemeDataManager::SnapDpi(int ADpi) {
  if (!IsPerDpiThemeAvailable() || ADpi < dxDefaultDPI) return 0;
  int result = 0;
  int best = -1;
  for (int dpi : GetMonitorDpiList()) {
    const int distance = std::abs(dpi - ADpi);
    if (best < 0 || distance < best) {
      best = distance;
      result = dpi;
    }
  }
  return result;
}

HTHEME TdxThemeDataManager::Open(TdxThemedObjectType AType, int ADpi, const wchar_t* AClassList) {
  const int dpi = SnapDpi(ADpi);
  const std::int64_t key = (static_cast<std::int64_t>(dpi) << 32) | static_cast<std::int64_t>(AType);
  auto cached = FThemes.find(key);
  if (cached != FThemes.end()) {
    if (!AClassList || UpperCaseList(AClassList) == UpperCaseList(cached->second->ClassNameList()))
      return cached->second->Theme();
  }
  const String list = AClassList ? String(AClassList) : String(ThemedObjectClassList(AType));
  const HTHEME theme = UxOpenThemeData(nullptr, list.c_str(), static_cast<UINT>(dpi));
  TdxThemeData* data = New<TdxThemeData>(theme, list, dpi);
  if (cached != FThemes.end()) {
    TdxThemeData* old = std::exchange(cached->second, data);
    if (old->Theme()) FHandles.erase(old->Theme());
    old->Free();
  } else {
    FThemes.emplace(key, data);
  }
  if (theme) FHandles[theme] = data;
  return theme;
}

void TdxThemeDataManager::CloseAll() {
  FMonitorDpis.clear();
  FMonitorDpisValid = false;
  FHandles.clear();
  for (auto& entry : FThemes) entry.second->Free();
  FThemes.clear();
}

TdxThemeData* TdxThemeDataManager::FindByHandle(HTHEME ATheme) const {
  auto it = FHandles.find(ATheme);
  return it == FHandles.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------
// Notification of theme changes

void TdxThemeChangedNotificator::Create() {
  inherited::Create();
  if (IsUxThemeLoaded() && GNotificators) GNotificators->push_back(this);
}

void TdxThemeChangedNotificator::Destroy() {
  if (IsUxThemeLoaded() && GNotificators)
    std::erase(*GNotificators, this);
  inherited::Destroy();
}

void TdxThemeChangedNotificator::DoThemeChanged() { CallEvent(FOnThemeChanged); }

void TdxThemeChangedEventReceiver::Create() {
  inherited::Create();
  FHandle = AllocateHWnd(BindEvent<&TdxThemeChangedEventReceiver::WndProc>(this));
}

void TdxThemeChangedEventReceiver::Destroy() {
  GThemesActive = false;
  DeallocateHWnd(std::exchange(FHandle, nullptr));
  inherited::Destroy();
}

void TdxThemeChangedEventReceiver::WndProc(TMessage& AMessage) {
  switch (AMessage.Msg) {
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
      try {
        CloseAllThemes();
        DefWindowProcW(FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
        GThemesActive = UxIsThemeActive();
        // A handler may add or remove notificators: the ones present now are told.
        const std::size_t count = GNotificators ? GNotificators->size() : 0;
        for (std::size_t i = 0; i < count && GNotificators && i < GNotificators->size(); ++i)
          (*GNotificators)[i]->DoThemeChanged();
      } catch (...) {
        HandleCallbackException(this);
      }
      AMessage.Result = 0;
      return;
    case WM_SETTINGCHANGE:
      // Per-DPI handles depend on the monitors' DPI, which a setting change may move.
      if (IsPerDpiThemeAvailable()) CloseAllThemes();
      break;
  }
  AMessage.Result = DefWindowProcW(FHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
}

// ---------------------------------------------------------------------------
// Unit routines

HTHEME OpenTheme(TdxThemedObjectType AType, const wchar_t* AClassList) { return OpenThemeForDpi(AType, 0, AClassList); }

HTHEME OpenThemeForDpi(TdxThemedObjectType AType, int ADpi, const wchar_t* AClassList) {
  if (!GThemesActive || !IsUxThemeLoaded() || !GManager) return nullptr;
  return GManager->Open(AType, ADpi, AClassList);
}

HTHEME OpenThemeForScaleFactor(TdxThemedObjectType AType, const TdxScaleFactor* AFactor, const wchar_t* AClassList) {
  return AFactor ? OpenThemeForDpi(AType, ScaleFactorToDpi(AFactor), AClassList) : OpenTheme(AType, AClassList);
}

bool IsThemedObjectTypeAvailable(TdxThemedObjectType AType) {
  return GThemesActive && IsUxThemeLoaded() && OpenTheme(AType) != nullptr;
}

bool AreVisualStylesAvailable(const TdxThemedObjectTypes& ATypes) {
  if (!GThemesActive || !IsUxThemeLoaded()) return false;
  for (int t = 0; t < dxThemedObjectTypeCount; ++t)
    if (ATypes.Contains(static_cast<TdxThemedObjectType>(t)) && !OpenTheme(static_cast<TdxThemedObjectType>(t)))
      return false;
  return true;
}

void CloseAllThemes() {
  if (GManager) GManager->CloseAll();
}

TdxScaleFactor* GetThemeHandleScaleFactor(HTHEME ATheme) {
  if (GThemesActive && IsUxThemeLoaded() && GManager)
    if (TdxThemeData* data = GManager->FindByHandle(ATheme))
      if (data->ScaleFactor()) return data->ScaleFactor();
  return SystemScaleFactor();
}

bool GetScaledThemePartSize(TdxThemedObjectType AType, const TdxScaleFactor* AFactor, int APart, int AState,
                            int ASourceMode, TSize& ASize) {
  const HTHEME theme = OpenThemeForScaleFactor(AType, AFactor);
  if (!theme) return false;
  TSize size;
  if (UxGetThemePartSizeNoRect(theme, nullptr, APart, AState, TS_TRUE, size) != S_OK) return false;
  const TdxScaleFactor* source = ASourceMode == tpsDefault       ? DefaultScaleFactor()
                                 : ASourceMode == tpsThemeHandle ? GetThemeHandleScaleFactor(theme)
                                                                 : SystemScaleFactor();
  const TdxScaleFactor* target = AFactor ? AFactor : DefaultScaleFactor();
  ASize = target && source ? target->Apply(size, source) : size;
  return true;
}

TSize GetThemePartSizeOrDefault(TdxThemedObjectType AType, const TdxScaleFactor* AFactor, int APart, int AState,
                                int ASourceMode) {
  TSize size;
  if (!GetScaledThemePartSize(AType, AFactor, APart, AState, ASourceMode, size)) return TSize(0, 0);
  return size;
}

bool GetThemedObjectColor(TdxThemedObjectType AType, int APart, int AState, int AProperty, COLORREF& AColor) {
  const HTHEME theme = OpenTheme(AType);
  return theme && UxGetThemeColorValue(theme, APart, AState, AProperty, AColor) == S_OK;
}

bool DrawThemedObjectBackground(HDC DC, TdxThemedObjectType AType, int APart, int AState, const TRect& ARect) {
  const HTHEME theme = OpenTheme(AType);
  return theme && SUCCEEDED(UxDrawThemeBackground(theme, DC, APart, AState, ARect));
}

bool DrawThemedObjectBackgroundScaled(HDC DC, TdxThemedObjectType AType, const TdxScaleFactor* AFactor, int APart,
                                      int AState, const TRect& ARect) {
  const HTHEME theme = OpenThemeForScaleFactor(AType, AFactor);
  return theme && SUCCEEDED(UxDrawThemeBackground(theme, DC, APart, AState, ARect));
}

void StartThemeManager() {
  if (!IsUxThemeLoaded()) return;
  GThemesActive = UxIsThemeActive();
  if (!GManager) GManager = New<TdxThemeDataManager>();
  if (!GNotificators) GNotificators = std::make_unique<std::vector<TdxThemeChangedNotificator*>>();
  if (!GReceiver) GReceiver = New<TdxThemeChangedEventReceiver>();
}

void StopThemeManager() {
  if (!IsUxThemeLoaded()) return;
  FreeAndNil(GReceiver);
  CloseAllThemes();
  GNotificators.reset();
  FreeAndNil(GManager);
}

void dxThemeManagerInitialization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->AddUnit(&StartThemeManager, &StopThemeManager);
  else
    StartThemeManager();
}

void dxThemeManagerFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&StopThemeManager);
  else
    StopThemeManager();
}
