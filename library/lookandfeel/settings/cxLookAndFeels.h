// The look-and-feel unit: the settings that decide which painter draws a
// control, the root at the end of every chain of them, the form component
// that edits the root, and the global visual refinements.
//
// Classes in this file:
//   TcxLookAndFeelKind, TcxLookAndFeelValue(s), TdxScrollbarMode, TdxScrollMode,
//   TdxTouchScrollUIMode             the settings' values
//   TcxLookAndFeelData               the six values and the skins switch
//   IcxLookAndFeelNotificationListener, IcxLookAndFeelNotificationListener2
//                                    hear the changes of a look-and-feel
//   IcxLookAndFeelContainer, IdxSkinSupport, IdxSkinSupport2
//                                    declared here for controls to implement
//   TcxLookAndFeel                   the settings of a control, style or popup
//   TcxRootLookAndFeel               the process-wide end of every chain
//   TcxLookAndFeelController         a form component that edits the root
//   IdxVisualRefinementsListener, TdxVisualRefinements
//                                    the global paddings (zero in this system)
//   TcxLookAndFeelOwner              publishes an owned look-and-feel as LookAndFeel
//
// A value the owner has not assigned is read at each change from the master
// look-and-feel (the root when there is none), so a change of the root
// reaches every look-and-feel that does not assign the value, through any
// depth of masters. Each change re-resolves the painter and tells the
// listeners. A master that would lead back to the look-and-feel itself is
// refused. After the unit's shut-down has begun there is no root: values
// read their built-in defaults and nothing is reported. UI thread only.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/system/dxThemeManager.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/system/cxSystemPaletteChangedNotifier.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/classes/Component.h"

#include <vector>

// ---------------------------------------------------------------------------
// Values (names and order are part of the stored format)

enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };
template <>
struct TEnumInfo<TcxLookAndFeelKind> {
  static constexpr const wchar_t* Name = L"TcxLookAndFeelKind";
  static constexpr const wchar_t* Names[] = {L"lfFlat", L"lfStandard", L"lfUltraFlat", L"lfOffice11"};
  static constexpr TcxLookAndFeelKind Last = lfOffice11;
};

enum TcxLookAndFeelValue { lfvKind, lfvNativeStyle, lfvSkinName, lfvScrollbarMode, lfvRenderMode, lfvScrollMode };
template <>
struct TEnumInfo<TcxLookAndFeelValue> {
  static constexpr const wchar_t* Name = L"TcxLookAndFeelValue";
  static constexpr const wchar_t* Names[] = {L"lfvKind",          L"lfvNativeStyle", L"lfvSkinName",
                                             L"lfvScrollbarMode", L"lfvRenderMode",  L"lfvScrollMode"};
  static constexpr TcxLookAndFeelValue Last = lfvScrollMode;
};
using TcxLookAndFeelValues = TSet<TcxLookAndFeelValue>;
inline TcxLookAndFeelValues cxLookAndFeelAllValues() {
  return {lfvKind, lfvNativeStyle, lfvSkinName, lfvScrollbarMode, lfvRenderMode, lfvScrollMode};
}

enum TdxScrollbarMode { sbmDefault, sbmTouch, sbmClassic, sbmHybrid };
template <>
struct TEnumInfo<TdxScrollbarMode> {
  static constexpr const wchar_t* Name = L"TdxScrollbarMode";
  static constexpr const wchar_t* Names[] = {L"sbmDefault", L"sbmTouch", L"sbmClassic", L"sbmHybrid"};
  static constexpr TdxScrollbarMode Last = sbmHybrid;
};

enum TdxScrollMode { scmDefault, scmClassic, scmSmooth };
template <>
struct TEnumInfo<TdxScrollMode> {
  static constexpr const wchar_t* Name = L"TdxScrollMode";
  static constexpr const wchar_t* Names[] = {L"scmDefault", L"scmClassic", L"scmSmooth"};
  static constexpr TdxScrollMode Last = scmSmooth;
};

// Read from old streams only.
enum TdxTouchScrollUIMode { tsmDefault, tsmEnabled, tsmDisabled };
template <>
struct TEnumInfo<TdxTouchScrollUIMode> {
  static constexpr const wchar_t* Name = L"TdxTouchScrollUIMode";
  static constexpr const wchar_t* Names[] = {L"tsmDefault", L"tsmEnabled", L"tsmDisabled"};
  static constexpr TdxTouchScrollUIMode Last = tsmDisabled;
};

using TdxSkinName = String;

struct TcxLookAndFeelData {
  TcxLookAndFeelKind Kind = lfUltraFlat;
  bool NativeStyle = true;
  TdxSkinName SkinName;
  TdxScrollbarMode ScrollbarMode = sbmDefault;
  TdxScrollMode ScrollMode = scmDefault;
  TdxRenderMode RenderMode = rmDefault;
  bool UseSkins = true;
};

TcxLookAndFeelStyle LookAndFeelKindToStyle(TcxLookAndFeelKind AKind);
// lfsNative gives lfStandard, lfsSkin lfUltraFlat.
TcxLookAndFeelKind LookAndFeelStyleToKind(TcxLookAndFeelStyle AStyle);

// ---------------------------------------------------------------------------
// Listener interfaces

class TcxLookAndFeel;
using TcxLookAndFeelChangedEvent = Delegate<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues)>;

struct IcxLookAndFeelNotificationListener : public virtual IInterface {
  static constexpr GUID IID = {0xC696DB29, 0x279B, 0x4950, {0x88, 0xFA, 0xEE, 0xA2, 0x7C, 0x71, 0x98, 0xD9}};
  // The object behind the interface.
  virtual TObject* ListenerObject() = 0;
  virtual void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) = 0;
  virtual void MasterDestroying(TcxLookAndFeel* Sender) = 0;

 protected:
  ~IcxLookAndFeelNotificationListener() = default;
};

// Told before and after every listener hears a change.
struct IcxLookAndFeelNotificationListener2 : public virtual IInterface {
  static constexpr GUID IID = {0xF64FCE51, 0x2A7B, 0x4B70, {0x8B, 0x01, 0x93, 0xA0, 0xD4, 0x26, 0x6F, 0x48}};
  virtual void MasterBeginChange(TcxLookAndFeel* Sender) = 0;
  virtual void MasterEndChange(TcxLookAndFeel* Sender) = 0;

 protected:
  ~IcxLookAndFeelNotificationListener2() = default;
};

// A control that shows its look-and-feel.
struct IcxLookAndFeelContainer : public virtual IInterface {
  static constexpr GUID IID = {0x92551D82, 0x754B, 0x41EF, {0x9A, 0x43, 0x58, 0xFF, 0x2F, 0xA3, 0xB1, 0xE2}};
  virtual TcxLookAndFeel* GetLookAndFeel() = 0;

 protected:
  ~IcxLookAndFeelContainer() = default;
};

// Marks a skinnable control.
struct IdxSkinSupport : public virtual IInterface {
  static constexpr GUID IID = {0x3B61FFA1, 0x1E51, 0x4A75, {0xAF, 0x30, 0x47, 0x46, 0x35, 0x4A, 0x47, 0x03}};

 protected:
  ~IdxSkinSupport() = default;
};

// Answers whether the object is skinnable.
struct IdxSkinSupport2 : public virtual IInterface {
  static constexpr GUID IID = {0x14D8DB65, 0xE9EB, 0x4F47, {0xBD, 0x47, 0xCA, 0x38, 0x7F, 0x4C, 0xD4, 0xCC}};
  virtual bool IsSkinnable() = 0;

 protected:
  ~IdxSkinSupport2() = default;
};

// ---------------------------------------------------------------------------
// TcxLookAndFeel

class TcxLookAndFeel : public TcxInterfacedPersistent,
                       public IcxLookAndFeelNotificationListener,
                       public IcxLookAndFeelNotificationListener2 {
  SK_CLASS(TcxLookAndFeel, TcxInterfacedPersistent)
 public:
  static void Publish(TPublisher<TcxLookAndFeel>& P);

  // Listens to the root (made on demand) and resolves its values and painter.
  void Create(TPersistent* AOwner) override;
  // Tells its listeners that it goes, then leaves its master.
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // From another look-and-feel: its assigned values and its master; the
  // values that differ afterwards are reported once.
  void Assign(TPersistent* ASource) override;

  // Changes between the two are reported once, as their union.
  void BeginUpdate() { ++FUpdateLockCount; }
  void EndUpdate();
  // Reports all six values.
  void Refresh() { Changed(cxLookAndFeelAllValues()); }
  // Unassigns every value; the root also resets its painter's settings and
  // the global switches.
  void Reset();
  // NativeStyle for lfsNative; otherwise NativeStyle off and the style's kind.
  void SetStyle(TcxLookAndFeelStyle AStyle);

  // The painter to draw with when the control needs these theme parts; nil
  // when none is registered for the style (callers accept nil).
  TcxCustomLookAndFeelPainter* GetAvailablePainter(TdxThemedObjectType ANeededThemedObjectType);
  virtual TcxCustomLookAndFeelPainter* GetAvailablePainter(
      const TdxThemedObjectTypes& ANeededThemedObjectTypes = TdxThemedObjectTypes());

  // Objects that implement IcxLookAndFeelNotificationListener; a controller
  // only on the root; nothing for an object there already.
  void AddChangeListener(TObject* AListener);
  void RemoveChangeListener(TObject* AListener);

  // Properties. Reads give the effective values.
  TcxLookAndFeelValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues AValue);
  TcxLookAndFeelKind Kind() const { return FCurrentState.Kind; }
  void SetKind(TcxLookAndFeelKind AValue);
  bool NativeStyle() const { return FCurrentState.NativeStyle; }
  void SetNativeStyle(bool AValue);
  TdxRenderMode RenderMode() const { return FCurrentState.RenderMode; }
  void SetRenderMode(TdxRenderMode AValue);
  TdxScrollbarMode ScrollbarMode() const { return FCurrentState.ScrollbarMode; }
  void SetScrollbarMode(TdxScrollbarMode AValue);
  TdxScrollMode ScrollMode() const { return FCurrentState.ScrollMode; }
  void SetScrollMode(TdxScrollMode AValue);
  const TdxSkinName& SkinName() const { return FCurrentState.SkinName; }
  void SetSkinName(const TdxSkinName& AValue);
  // The explicit master, else the root.
  TcxLookAndFeel* MasterLookAndFeel() const;
  // Nil (or the root) makes the root the master again. Refused for the
  // root itself and for a master whose chain leads back to this object.
  void SetMasterLookAndFeel(TcxLookAndFeel* AValue);
  TcxLookAndFeelStyle ActiveStyle() const;
  TcxCustomLookAndFeelPainter* Painter() const { return FPainter; }
  TcxCustomLookAndFeelPainter* SkinPainter() const { return FSkinPainter; }
  TdxTouchScrollUIMode TouchScrollUIMode() const;
  void SetTouchScrollUIMode(TdxTouchScrollUIMode AValue);
  bool IsRootLookAndFeel() const { return FIsRootLookAndFeel; }

  // Events
  TcxLookAndFeelChangedEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TcxLookAndFeelChangedEvent AValue) { FOnChanged = AValue; }
  TNotifyEvent OnMasterBeginChange() const { return FOnMasterBeginChange; }
  void SetOnMasterBeginChange(TNotifyEvent AValue) { FOnMasterBeginChange = AValue; }
  TNotifyEvent OnMasterEndChange() const { return FOnMasterEndChange; }
  void SetOnMasterEndChange(TNotifyEvent AValue) { FOnMasterEndChange = AValue; }

  // Listening to the master
  TObject* ListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) override;
  void MasterDestroying(TcxLookAndFeel* Sender) override;
  void MasterBeginChange(TcxLookAndFeel* Sender) override;
  void MasterEndChange(TcxLookAndFeel* Sender) override;

 protected:
  friend void cxLookAndFeelsPainterRemoved(TcxCustomLookAndFeelPainter* APainter);
  friend class TcxRootLookAndFeel;

  // "SkinName" when it is assigned empty, and the old "TouchScrollUIMode".
  void DefineProperties(TFiler* AFiler) override;

  // Nil when skins are off or the name is empty.
  virtual TcxCustomLookAndFeelPainter* GetSkinPainterByName(const String& AName);
  virtual void UpdateCurrentState();
  virtual void UpdatePainter();
  // The effective value of each field: assigned here, else the root's
  // default, else the master's.
  virtual TcxLookAndFeelKind ResolveKind();
  virtual bool ResolveNativeStyle();
  virtual TdxRenderMode ResolveRenderMode();
  virtual TdxScrollbarMode ResolveScrollbarMode();
  virtual TdxScrollMode ResolveScrollMode();
  virtual TdxSkinName ResolveSkinName();
  virtual TcxCustomLookAndFeelPainter* ResolveSkinPainter();
  // Reports [lfvNativeStyle].
  virtual void SystemPaletteChanged(TObject* Sender);

  // Re-resolves and tells the listeners, unless locked (then the values
  // wait for EndUpdate).
  void Changed(TcxLookAndFeelValues AChangedValues);
  // Passes on what this object does not assign itself.
  void MasterValuesChanged(TcxLookAndFeel* AMaster, TcxLookAndFeelValues AChangedValues);

 private:
  template <TcxLookAndFeelValue V>
  bool IsValueStored() const { return FAssignedValues.Contains(V); }
  template <class T>
  T ResolveValue(TcxLookAndFeelValue AValue, T TcxLookAndFeelData::*AField);
  template <class T>
  void SetValue(TcxLookAndFeelValue AValue, T TcxLookAndFeelData::*AField, const T& ANewValue);
  // The master, else the root (made on demand); nil after shut-down.
  TcxLookAndFeel* CurrentMaster() const;
  bool IsMasterAllowed(TcxLookAndFeel* AValue) const;
  void ChangeMaster(TcxLookAndFeel* AValue);
  // The six values as they resolve now.
  TcxLookAndFeelData ResolvedState();
  // Reports the values that differ from FPrevState.
  void ReportChangesSinceSnapshot();
  void NotifyListeners(TcxLookAndFeelValues AChangedValues);

  TcxLookAndFeelValues FAssignedValues;
  TcxLookAndFeelValues FChangedValues;
  std::vector<TObject*> FChangeListenerList;
  TcxLookAndFeelData FCurrentState;
  TcxLookAndFeelData FData;
  bool FIsDestruction;
  bool FIsRootLookAndFeel;
  TcxLookAndFeel* FMasterLookAndFeel;
  TcxCustomLookAndFeelPainter* FPainter;
  TcxCustomLookAndFeelPainter* FSkinPainter;
  TcxLookAndFeelData FPrevState;
  TOwned<TcxSystemPaletteChangedNotifier> FSystemPaletteChangedNotifier;
  int FUpdateLockCount;
  TcxLookAndFeelChangedEvent FOnChanged;
  TNotifyEvent FOnMasterBeginChange;
  TNotifyEvent FOnMasterEndChange;
};

class TcxRootLookAndFeel : public TcxLookAndFeel {
  SK_CLASS(TcxRootLookAndFeel, TcxLookAndFeel)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;
};

// The root, made on first use; nil once the unit's shut-down has begun.
TcxLookAndFeel* GetRootLookAndFeel();
bool HasRootLookAndFeel();
// True without a root, or when the root's scroll-bar mode is the default or touch.
bool IsTouchScrollUIEnabled();

// The global switches: touch mode (off) and skins (on) until changed; the
// root's Reset puts them back.
bool cxIsTouchModeEnabled();
bool cxUseSkins();
void SetcxUseSkins(bool AValue);

// Every look-and-feel that resolved APainter (as its painter or its skin
// painter) resolves again: the manager calls it before it frees a painter.
void cxLookAndFeelsPainterRemoved(TcxCustomLookAndFeelPainter* APainter);

// ---------------------------------------------------------------------------
// TcxLookAndFeelController

// Edits the root from a form: every property reads and writes the root.
class TcxLookAndFeelController : public TNoRefCount<TcxCustomComponent>, public IcxLookAndFeelNotificationListener {
  SK_CLASS(TcxLookAndFeelController, TcxCustomComponent)
 public:
  static void Publish(TPublisher<TcxLookAndFeelController>& P);

  // Listens to the root; the root is reset when its last controller goes.
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  void BeginUpdate();
  void EndUpdate();
  void Reset();

  // Without a root, reads give lfUltraFlat, True, sbmDefault, scmClassic,
  // an empty name and rmGDI, and writes do nothing.
  TcxLookAndFeelKind Kind() const;
  void SetKind(TcxLookAndFeelKind AValue);
  bool NativeStyle() const;
  void SetNativeStyle(bool AValue);
  TdxScrollbarMode ScrollbarMode() const;
  void SetScrollbarMode(TdxScrollbarMode AValue);
  TdxScrollMode ScrollMode() const;
  void SetScrollMode(TdxScrollMode AValue);
  TdxSkinName SkinName() const;
  void SetSkinName(const TdxSkinName& AValue);
  TdxRenderMode RenderMode() const;
  void SetRenderMode(TdxRenderMode AValue);
  // The global touch-mode switch; a change refreshes the root.
  bool TouchMode() const { return cxIsTouchModeEnabled(); }
  void SetTouchMode(bool AValue);

  // Changes of the root are of no concern to it at run time.
  TObject* ListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) override {}
  void MasterDestroying(TcxLookAndFeel*) override {}

 protected:
  // The old Boolean "TouchScrollUIMode".
  void DefineProperties(TFiler* AFiler) override;
};

// ---------------------------------------------------------------------------
// Visual refinements

// A control told when the visual refinements change.
struct IdxVisualRefinementsListener : public virtual IInterface {
  static constexpr GUID IID = {0x6C7FF87C, 0x8137, 0x49CC, {0xB6, 0x7F, 0xD9, 0x3D, 0x7E, 0x9C, 0xE0, 0x88}};
  virtual void RefinementsChanged() = 0;

 protected:
  ~IdxVisualRefinementsListener() = default;
};

// Paddings (left, top, right, bottom, unscaled) and the switch for lighter
// lines: zero and off in this system, which never changes them.
class TdxVisualRefinements {
 public:
  TdxVisualRefinements() = delete;
  static TRect Padding() { return TRect(); }
  static TRect ItemPadding() { return TRect(); }
  static TRect HeaderPadding() { return TRect(); }
  static bool LightBorders() { return false; }
};

// Controls that implement IdxVisualRefinementsListener (others are not
// added); removal while the list exists.
void AddVisualRefinementsListener(TObject* AControl);
void RemoveVisualRefinementsListener(TObject* AControl);

// ---------------------------------------------------------------------------
// TcxLookAndFeelOwner

// A look-and-feel that an object owns and publishes as LookAndFeel: a second
// base of the object's class, after its TObject base. Freed with the object.
class TcxLookAndFeelOwner {
 public:
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* AValue) { FLookAndFeel->Assign(AValue); }

 protected:
  TcxLookAndFeelOwner() = default;
  ~TcxLookAndFeelOwner() = default;
  TcxLookAndFeelOwner(const TcxLookAndFeelOwner&) = delete;
  TcxLookAndFeelOwner& operator=(const TcxLookAndFeelOwner&) = delete;

  // Makes the look-and-feel (once, from the object's Create). AOwner names
  // it in messages; AOnChanged hears its changes.
  void CreateLookAndFeel(TPersistent* AOwner, TcxLookAndFeelChangedEvent AOnChanged = nullptr);
  void FreeLookAndFeel() { FLookAndFeel.reset(); }
  template <class C>
  static void PublishLookAndFeel(TPublisher<C>& P) {
    P.Property(L"LookAndFeel", &C::LookAndFeel, &C::SetLookAndFeel);
  }

 private:
  TOwned<TcxLookAndFeel> FLookAndFeel;
};

void cxLookAndFeelsInitialization();
void cxLookAndFeelsFinalization();
