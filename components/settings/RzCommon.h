// Settings storage, the property store, the frame controller and the
// colour and frame-drawing routines shared by the status panes.
//
// Classes in this file:
//   TRzPathType, TRzSpecialFolder, TRzIniFileEncoding, TRzRegKey,
//   TRzRegAccessKey, TRzRegAccess           settings storage choices
//   ERzSettingsFileError                    a settings file that cannot be used as it is
//   TRzRegIniFile                           an INI file in memory or a registry key, typed access
//   TRzPropertyItem, TRzPropertyCollection  (component, property name) pairs
//   ERzPropertyStoreError                   stored data the property store cannot take
//   TRzPropertyStore                        saves and loads published properties into a section
//   TFrameStyleEx, TFrameStyle, TSide, TSides, TFramingPreference
//   TRzFrameControllerProperty, TRzFrameControllerNotifications
//   IRzCustomFramingNotification            how a control hears of its frame controller
//   ENoRegIniFile                           a frame controller without storage
//   TRzFrameController                      one set of frame settings pushed to many controls
//   TRzOldPropReader                        reads and drops values of obsolete stored properties
//   ColorToHSL ... DrawFrameAllSides        colour and frame-drawing routines
//
// Settings files: a relative INI path is resolved once, against the
// directory the program was started in, when the storage is first built;
// the file is then read and written there for the whole run, whatever the
// current directory becomes. A file is written to a temporary file beside
// it first and then moved over it, so a failed write leaves the old file.
#pragma once

#include "platform/classes/Collection.h"
#include "platform/classes/IniFiles.h"
#include "platform/classes/Lists.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <vector>

class TStream;
class TFiler;
class TReader;
class TWriter;
class TRzFrameController;

// ---------------------------------------------------------------------------
// Settings storage choices

enum TRzPathType { ptIniFile, ptRegistry };
template <>
struct TEnumInfo<TRzPathType> {
  static constexpr const wchar_t* Name = L"TRzPathType";
  static constexpr const wchar_t* Names[] = {L"ptIniFile", L"ptRegistry"};
  static constexpr TRzPathType Last = ptRegistry;
};

enum TRzSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };
template <>
struct TEnumInfo<TRzSpecialFolder> {
  static constexpr const wchar_t* Name = L"TRzSpecialFolder";
  static constexpr const wchar_t* Names[] = {L"sfNone", L"sfUserAppDataRoaming", L"sfUserAppDataLocal",
                                             L"sfUserDocuments", L"sfProgramData"};
  static constexpr TRzSpecialFolder Last = sfProgramData;
};

enum TRzIniFileEncoding { feDefault, feUTF8, feUnicode };
template <>
struct TEnumInfo<TRzIniFileEncoding> {
  static constexpr const wchar_t* Name = L"TRzIniFileEncoding";
  static constexpr const wchar_t* Names[] = {L"feDefault", L"feUTF8", L"feUnicode"};
  static constexpr TRzIniFileEncoding Last = feUnicode;
};

// The predefined registry roots $80000000 to $80000006, in this order.
enum TRzRegKey {
  hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData, hkeyCurrentConfig, hkeyDynData
};
template <>
struct TEnumInfo<TRzRegKey> {
  static constexpr const wchar_t* Name = L"TRzRegKey";
  static constexpr const wchar_t* Names[] = {L"hkeyClassesRoot",     L"hkeyCurrentUser",   L"hkeyLocalMachine",
                                             L"hkeyUsers",           L"hkeyPerformanceData", L"hkeyCurrentConfig",
                                             L"hkeyDynData"};
  static constexpr TRzRegKey Last = hkeyDynData;
};
HKEY RegKeyHandle(TRzRegKey AKey);

enum TRzRegAccessKey {
  keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink, keyRead, keyWrite,
  keyExecute, keyAllAccess
};
template <>
struct TEnumInfo<TRzRegAccessKey> {
  static constexpr const wchar_t* Name = L"TRzRegAccessKey";
  static constexpr const wchar_t* Names[] = {L"keyQueryValue", L"keySetValue", L"keyCreateSubKey",
                                             L"keyEnumerateSubKeys", L"keyNotify", L"keyCreateLink",
                                             L"keyRead", L"keyWrite", L"keyExecute", L"keyAllAccess"};
  static constexpr TRzRegAccessKey Last = keyAllAccess;
};
using TRzRegAccess = TSet<TRzRegAccessKey>;
// The OR of the access masks of the set's members.
REGSAM RegAccessMask(const TRzRegAccess& AAccess);

// The shell folder identifier of a special folder (0 for sfNone).
int SpecialFolderId(TRzSpecialFolder AFolder);
// The path of a shell folder with a trailing delimiter; empty when the
// system cannot say.
String GetSpecialFolderPath(int AFolderId);
// A special folder + ASubDirectory, created with its missing parents, with a
// trailing delimiter; empty for sfNone or an unknown folder.
String GetSettingsFolder(TRzSpecialFolder AFolder, const String& ASubDirectory);

// The directory the program was started in (kept by the unit's start-up;
// the current directory when the unit has not started).
String StartDirectory();

// One line of a registry section's listing: "name=text" by the value's type.
String FormatRegistryValueLine(const String& AName, DWORD AType, const std::uint8_t* AData, std::size_t ASize);

// ---------------------------------------------------------------------------
// TRzRegIniFile

// A settings file that could not be read, or that had to be moved aside
// because it was damaged.
class ERzSettingsFileError : public Exception { public: using Exception::Exception; };

class TRzRegIniFile : public TComponent {
  SK_CLASS(TRzRegIniFile, TComponent)
 public:
  static void Publish(TPublisher<TRzRegIniFile>& P);

  // Settings files above this size are taken as damaged.
  static constexpr std::int64_t MaxFileSize = 16 * 1024 * 1024;

  // Construction and destruction. Destroying writes the file first when
  // AutoUpdateIniFile is off.
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Properties. Every change rebuilds the storage at the next access.
  // After the first access Path holds the resolved path.
  const String& Path() const { return FPath; }
  void SetPath(const String& AValue);
  TRzPathType PathType() const { return FPathType; }
  void SetPathType(TRzPathType AValue);
  TRzSpecialFolder SpecialFolder() const { return FSpecialFolder; }
  void SetSpecialFolder(TRzSpecialFolder AValue);
  TRzIniFileEncoding FileEncoding() const { return FFileEncoding; }
  void SetFileEncoding(TRzIniFileEncoding AValue);
  TRzRegKey RegKey() const { return FRegKey; }
  void SetRegKey(TRzRegKey AValue);
  TRzRegAccess RegAccess() const { return FRegAccess; }
  void SetRegAccess(TRzRegAccess AValue);
  bool AutoUpdateIniFile() const { return FAutoUpdateIniFile; }
  void SetAutoUpdateIniFile(bool AValue);

  // Reading
  bool SectionExists(const String& ASection);
  bool ValueExists(const String& ASection, const String& AName);
  bool ReadBool(const String& ASection, const String& AName, bool ADefault);
  TDateTime ReadDate(const String& ASection, const String& AName, TDateTime ADefault);
  TDateTime ReadDateTime(const String& ASection, const String& AName, TDateTime ADefault);
  double ReadFloat(const String& ASection, const String& AName, double ADefault);
  int ReadInteger(const String& ASection, const String& AName, int ADefault);
  String ReadString(const String& ASection, const String& AName, const String& ADefault);
  TDateTime ReadTime(const String& ASection, const String& AName, TDateTime ADefault);
  int ReadBinaryStream(const String& ASection, const String& AName, TStream* AStream);
  void ReadSection(const String& ASection, TStrings* AStrings);
  void ReadSections(TStrings* AStrings);
  void ReadSectionValues(const String& ASection, TStrings* AStrings);

  // Writing; in INI mode each ends with UpdateIniFile while AutoUpdateIniFile is on.
  void WriteBool(const String& ASection, const String& AName, bool AValue);
  void WriteDate(const String& ASection, const String& AName, TDateTime AValue);
  void WriteDateTime(const String& ASection, const String& AName, TDateTime AValue);
  void WriteFloat(const String& ASection, const String& AName, double AValue);
  void WriteInteger(const String& ASection, const String& AName, int AValue);
  void WriteString(const String& ASection, const String& AName, const String& AValue);
  void WriteTime(const String& ASection, const String& AName, TDateTime AValue);
  void WriteBinaryStream(const String& ASection, const String& AName, TStream* AStream);
  void EraseSection(const String& ASection);
  void DeleteKey(const String& ASection, const String& AName);

  // Writes the INI file (nothing in registry mode). With feDefault the file
  // keeps the Unicode encoding its byte-order mark named when it was read;
  // otherwise it is written in the ANSI code page, unless the content holds
  // characters that code page cannot represent, which makes it UTF-8 (with
  // its byte-order mark) rather than losing them.
  void UpdateIniFile();

 private:
  // Builds the storage when a property changed since the last build.
  TCustomIniFile* Storage();
  void RefreshStorage();
  TCustomIniFile* OpenIniFile(String& APath);
  TCustomIniFile* OpenRegistry(String& APath);
  String ResolveIniPath() const;
  void Changed() { FRefreshStorage = true; }
  void AfterWrite();
  TEncoding* WriteEncoding(const String& AText) const;

  String FPath;
  TRzPathType FPathType;
  TRzSpecialFolder FSpecialFolder;
  TRzIniFileEncoding FFileEncoding;
  TRzRegKey FRegKey;
  TRzRegAccess FRegAccess;
  bool FAutoUpdateIniFile;
  bool FRefreshStorage;
  TOwned<TCustomIniFile> FIniFile;  // a TMemIniFile or a TRegistryIniFile
  TEncoding* FFoundEncoding;      // what the INI file was read in
  bool FFoundByteOrderMark;
};

// ---------------------------------------------------------------------------
// TRzPropertyStore

class TRzPropertyStore;

class TRzPropertyItem : public TCollectionItem {
  SK_CLASS(TRzPropertyItem, TCollectionItem)
 public:
  static void Publish(TPublisher<TRzPropertyItem>& P);

  void Destroy() override;
  void Assign(TPersistent* ASource) override;
  // "Name.Property", with "<CompName>" and "<PropName>" for what is missing.
  String DisplayName() override;

  TComponent* Component() const { return FComponent; }
  void SetComponent(TComponent* AValue);
  const String& PropertyName() const { return FPropertyName; }
  void SetPropertyName(const String& AValue);

 private:
  TRzPropertyStore* Store() const;
  TComponent* FComponent;
  String FPropertyName;
};

class TRzPropertyCollection : public TOwnedCollection {
  SK_CLASS(TRzPropertyCollection, TOwnedCollection)
 public:
  void Create(TRzPropertyStore* AStore);

  TRzPropertyStore* Store() const { return FStore; }
  TRzPropertyItem* Add() { return static_cast<TRzPropertyItem*>(TCollection::Add()); }
  TRzPropertyItem* AddProperty(TComponent* AComponent, const String& APropertyName);
  TRzPropertyItem* Items(int AIndex) const { return static_cast<TRzPropertyItem*>(TCollection::Items(AIndex)); }
  // Copies AValue's component and property name into the item.
  void SetItems(int AIndex, TRzPropertyItem* AValue) { TCollection::SetItems(AIndex, AValue); }

 private:
  TRzPropertyStore* FStore;
};

// Stored data that cannot be applied (a count beyond any sensible size).
class ERzPropertyStoreError : public Exception { public: using Exception::Exception; };

class TRzPropertyStore : public TComponent {
  SK_CLASS(TRzPropertyStore, TComponent)
 public:
  static void Publish(TPublisher<TRzPropertyStore>& P);

  // Collections and string lists stored with more entries than this are
  // taken as damaged.
  static constexpr int MaxStoredCount = 100000;
  // Longer stored texts are taken as damaged: no control takes more as typed
  // text, and native edit windows slow down badly on such texts.
  static constexpr int MaxStoredTextLength = 32767;

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // Properties
  TRzPropertyCollection* Properties() const { return FProperties.get(); }
  void SetProperties(TRzPropertyCollection* AValue) { FProperties->Assign(AValue); }
  TRzRegIniFile* RegIniFile() const { return FRegIniFile; }
  void SetRegIniFile(TRzRegIniFile* AValue);
  const String& Section() const { return FSection; }
  void SetSection(const String& AValue) { FSection = AValue; }

  // Operations. Without RegIniFile both show an error dialog and do nothing.
  virtual void Save();
  virtual void Load();
  TRzPropertyItem* AddProperty(TComponent* AComponent, const String& APropertyName);
  // Section when set; else, on a form, the form's name (or class name) +
  // "_Properties"; else "Properties".
  String GetSectionName();

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  friend class TRzPropertyItem;
  void WatchComponent(TComponent* AComponent);
  using TValueTransfer = void (TRzPropertyStore::*)(TObject* AObject, const TPropInfo* AProp, const String& AKey,
                                                    bool ATopLevel);
  // ATransfer for each listed property that names a component and one of its
  // published properties, keyed "Component.Property" in the store's section;
  // without a storage component the user is shown AMissingStorage instead.
  void TransferAll(const wchar_t* AMissingStorage, TValueTransfer ATransfer);
  void SaveValue(TObject* AObject, const TPropInfo* AProp, const String& AKey, bool ATopLevel);
  void SaveCollection(TCollection* ACollection, const String& AKey);
  void SaveStrings(TStrings* AStrings, const String& AKey);
  void SavePersistent(TPersistent* APersistent, const String& AKey);
  void LoadValue(TObject* AObject, const TPropInfo* AProp, const String& AKey, bool ATopLevel);
  void LoadCollection(TCollection* ACollection, const String& AKey);
  void LoadStrings(TStrings* AStrings, const String& AKey);
  void LoadPersistent(TPersistent* APersistent, const String& AKey);
  int ReadCount(const String& AKey);
  String ReadText(const String& AKey);

  TOwned<TRzPropertyCollection> FProperties;
  TRzRegIniFile* FRegIniFile;
  String FSection;
  String FCurrentSection;  // the section of the Save or Load that runs
};

// ---------------------------------------------------------------------------
// Frame styles and the frame controller

enum TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus, fsPopup, fsFlatBold,
  fsFlatRounded
};
template <>
struct TEnumInfo<TFrameStyleEx> {
  static constexpr const wchar_t* Name = L"TFrameStyleEx";
  static constexpr const wchar_t* Names[] = {L"fsNone",     L"fsFlat",       L"fsGroove", L"fsBump",
                                             L"fsLowered",  L"fsButtonDown", L"fsRaised", L"fsButtonUp",
                                             L"fsStatus",   L"fsPopup",      L"fsFlatBold", L"fsFlatRounded"};
  static constexpr TFrameStyleEx Last = fsFlatRounded;
};
// The frame styles of controls: fsNone to fsFlatBold (fsFlatRounded is drawn
// as a groove where it turns up).
using TFrameStyle = TFrameStyleEx;

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
template <>
struct TEnumInfo<TSide> {
  static constexpr const wchar_t* Name = L"TSide";
  static constexpr const wchar_t* Names[] = {L"sdLeft", L"sdTop", L"sdRight", L"sdBottom"};
  static constexpr TSide Last = sdBottom;
};
using TSides = TSet<TSide>;
inline const TSides sdAllSides{sdLeft, sdTop, sdRight, sdBottom};

enum TFramingPreference { fpCustomFraming, fpXPThemes };
template <>
struct TEnumInfo<TFramingPreference> {
  static constexpr const wchar_t* Name = L"TFramingPreference";
  static constexpr const wchar_t* Names[] = {L"fpCustomFraming", L"fpXPThemes"};
  static constexpr TFramingPreference Last = fpXPThemes;
};

enum TRzFrameControllerProperty {
  fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpParentColor,
  fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack, fcpFrameHotStyle,
  fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference, fcpAll
};
template <>
struct TEnumInfo<TRzFrameControllerProperty> {
  static constexpr const wchar_t* Name = L"TRzFrameControllerProperty";
  static constexpr const wchar_t* Names[] = {
      L"fcpColor",           L"fcpFocusColor",      L"fcpDisabledColor", L"fcpReadOnlyColor",
      L"fcpReadOnlyColorOnFocus", L"fcpParentColor", L"fcpFlatButtonColor", L"fcpFlatButtons",
      L"fcpFrameColor",      L"fcpFrameHotColor",   L"fcpFrameHotTrack", L"fcpFrameHotStyle",
      L"fcpFrameSides",      L"fcpFrameStyle",      L"fcpFrameVisible",  L"fcpFramingPreference",
      L"fcpAll"};
  static constexpr TRzFrameControllerProperty Last = fcpAll;
};
// A set of fcpColor to fcpFramingPreference.
using TRzFrameControllerNotifications = TSet<TRzFrameControllerProperty>;
TRzFrameControllerNotifications AllFrameControllerNotifications();

// A control that takes its frame settings itself when its controller changes.
struct IRzCustomFramingNotification : virtual IInterface {
  static constexpr GUID IID = {0x6c2f1a40, 0x93d1, 0x4b7e, {0x8e, 0x5a, 0x2d, 0x71, 0xc4, 0x0b, 0x9f, 0x13}};
  virtual void CustomFramingChanged() = 0;
};

class ENoRegIniFile : public Exception { public: using Exception::Exception; };

class TRzFrameController : public TComponent {
  SK_CLASS(TRzFrameController, TComponent)
 public:
  static void Publish(TPublisher<TRzFrameController>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;
  // From another frame controller: every setting, the controls told once.
  void Assign(TPersistent* ASource) override;

  // Registered controls
  void AddControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void UpdateControls() { NotifyControls(fcpAll); }

  // Storage; both raise ENoRegIniFile without RegIniFile.
  void Load(const String& ASection);
  void Save(const String& ASection);

 protected:
  // The virtual operations this class adds, in the order of its table of
  // virtual operations: these two, then the setters below.
  // Tells one control of a change (fcpAll: of everything).
  virtual void UpdateControl(TControl* AControl, TRzFrameControllerProperty AProperty);
  // Tells every control, unless an update is running.
  virtual void NotifyControls(TRzFrameControllerProperty AProperty);

 public:
  // Properties
  TColor Color() const { return FColor; }
  virtual void SetColor(TColor AValue);
  bool ParentColor() const { return FParentColor; }
  virtual void SetParentColor(bool AValue);
  TColor FlatButtonColor() const { return FFlatButtonColor; }
  virtual void SetFlatButtonColor(TColor AValue);
  bool FlatButtons() const { return FFlatButtons; }
  virtual void SetFlatButtons(bool AValue);
  TColor DisabledColor() const { return FDisabledColor; }
  virtual void SetDisabledColor(TColor AValue);
  TColor ReadOnlyColor() const { return FReadOnlyColor; }
  virtual void SetReadOnlyColor(TColor AValue);
  bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
  virtual void SetReadOnlyColorOnFocus(bool AValue);
  TColor FocusColor() const { return FFocusColor; }
  virtual void SetFocusColor(TColor AValue);
  TColor FrameColor() const { return FFrameColor; }
  virtual void SetFrameColor(TColor AValue);
  TColor FrameHotColor() const { return FFrameHotColor; }
  virtual void SetFrameHotColor(TColor AValue);
  bool FrameHotTrack() const { return FFrameHotTrack; }
  virtual void SetFrameHotTrack(bool AValue);
  TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
  virtual void SetFrameHotStyle(TFrameStyle AValue);
  TSides FrameSides() const { return FFrameSides; }
  virtual void SetFrameSides(TSides AValue);
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  virtual void SetFrameStyle(TFrameStyle AValue);
  bool FrameVisible() const { return FFrameVisible; }
  virtual void SetFrameVisible(bool AValue);
  TFramingPreference FramingPreference() const { return FFramingPreference; }
  virtual void SetFramingPreference(TFramingPreference AValue);
  TRzRegIniFile* RegIniFile() const { return FRegIniFile; }
  virtual void SetRegIniFile(TRzRegIniFile* AValue);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  // Accepts the obsolete stored properties FrameFlat, FrameFocusStyle and FrameFlatStyle.
  void DefineProperties(TFiler* AFiler) override;

 private:
  bool IsColorStored() const { return !FParentColor; }
  void SetControlProperty(TControl* AControl, const wchar_t* AName, TRzFrameControllerProperty AProperty);
  void ReadFrameFlat(TReader* AReader);
  void ReadFrameFocusStyle(TReader* AReader);

  TColor FColor;
  bool FParentColor;
  TColor FFlatButtonColor;
  bool FFlatButtons;
  TColor FDisabledColor;
  TColor FReadOnlyColor;
  bool FReadOnlyColorOnFocus;
  TColor FFocusColor;
  TColor FFrameColor;
  TColor FFrameHotColor;
  bool FFrameHotTrack;
  TFrameStyle FFrameHotStyle;
  TSides FFrameSides;
  TFrameStyle FFrameStyle;
  bool FFrameVisible;
  TFramingPreference FFramingPreference;
  TRzRegIniFile* FRegIniFile;
  int FUpdateCount;
  std::vector<TControl*> FControls;
};

// Reads one stored value of an obsolete property and drops it; writes nothing.
class TRzOldPropReader : public TObject {
  SK_CLASS(TRzOldPropReader, TObject)
 public:
  static void ReadOldBooleanProp(TReader* AReader);
  static void ReadOldEnumProp(TReader* AReader);
  static void ReadOldIdentProp(TReader* AReader);
  static void ReadOldIntegerProp(TReader* AReader);
  static void ReadOldSetProp(TReader* AReader);
  static void ReadOldStringProp(TReader* AReader);
  static void WriteOldProp(TWriter*) {}
};

// ---------------------------------------------------------------------------
// Colour routines. Hue, saturation and lightness run from 0 to 240.

struct TRzHSL {
  std::uint8_t H;
  std::uint8_t S;
  std::uint8_t L;
  friend bool operator==(const TRzHSL&, const TRzHSL&) = default;
};
TRzHSL ColorToHSL(TColor AColor);
TColor HSLToColor(int H, int S, int L);
// Amounts run from -255 to 255.
TColor DarkenColor(TColor AColor, int AAmount);
TColor LightenColor(TColor AColor, int AAmount);
TColor AdjustColor(TColor AColor, int AAmount);

// The desktop colour scheme: 0 (standard), 1 ("HOMESTEAD") or 2 ("METALLIC"),
// read once at the unit's start-up.
int GetXPColorScheme();
// Reads the scheme from the registry now.
int ReadXPColorScheme();

struct TRzFrameColors {
  TColor First;
  TColor Second;
  TColor Third;
};
TRzFrameColors GetFrameColors(TControl* AControl, TFramingPreference APreference);

// Visual styles. The class library draws with the system's own style, so
// colours pass unchanged and fonts are the controls' own; what depends on
// the system's visual styles (themes) asks StyleServicesEnabled.
enum TRzStyleFont { sfStatusText, sfStatusTextDisabled, sfFieldLabel };
bool IsSystemStyle();
bool StyleServicesEnabled();
// Replaces the probe of StyleServicesEnabled (null: the system's); the old one.
using TRzStyleServicesProbe = bool (*)();
TRzStyleServicesProbe SetStyleServicesProbe(TRzStyleServicesProbe AProbe);
TColor GetStyledSystemColor(TControl* AControl, TColor AColor);
TColor GetStyledFontColor(TControl* AControl, TRzStyleFont AElement);
bool UsesStyledFont(TControl* AControl);

// ---------------------------------------------------------------------------
// Frame drawing. Each routine returns the rectangle inside what it drew.

TRect DrawFrameSides(TCanvas* ACanvas, const TRect& R, TColor AColor1, const TSides& ASides, TColor AColor2);
TRect DrawFrameLines(TCanvas* ACanvas, const TRect& R, TColor AColor1, const TSides& ASides, TColor AColor2,
                     int ACount);
// fsLowered and fsRaised.
TRect DrawStyledFrame(TCanvas* ACanvas, const TRect& R, TFrameStyleEx AStyle, const TSides& ASides);
// fsButtonDown and fsButtonUp, by the active visual style.
TRect DrawThemedFrame(TCanvas* ACanvas, const TRect& R, TFrameStyleEx AStyle, const TSides& ASides);
TRect DrawFrame(TCanvas* ACanvas, const TRect& R, const TSides& ASides, TFrameStyleEx AStyle);
TRect DrawFrameAllSides(TCanvas* ACanvas, const TRect& R, TFrameStyleEx AStyle);
// The whole text laid out in R with DrawText format flags (DT_xxx).
void DrawTextInRect(TCanvas* ACanvas, const String& AText, TRect R, UINT AFormat);

// The unit's start-up: the start directory, the colour scheme, the classes by name.
void RzCommonInitialization();
