// The core unit of the control library: start-up and shut-down order,
// process-wide objects, resource strings, Windows version flags and the small
// routines every other library unit calls instead of repeating them.
//
// Classes in this file:
//   TdxUnitsLoader                 initialize/finalize procedures of library units
//   TdxGlobalObjectDestroyer       keeps process-wide objects until the application object goes
//   TResStringRec                  one resource string of the program
//   IdxLocalizerListener           told when the translation of the texts changes
//   TdxProductResourceStrings      one named set of resource strings
//   TdxResourceStringsRepository   every registered resource string, by product
//   TdxDefaultBoolean, TdxObjectOwnership, TdxCorner, TdxOrientation
//   EdxException                   the base of the library's exceptions
//   TdxWindowsVersion              what DetectWindowsVersion reads from the system
//   TSysCharSet                    a set of 8-bit characters
//   Safe                           checked casts that answer false instead of raising
//
// Process-wide services of this unit are created on first use; once the
// unit's shut-down has begun their accessors answer nil, and callers accept
// nil.
#pragma once

#include "platform/classes/Component.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/Types.h"
#include "platform/runtime/Variants.h"

#include <bitset>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

// ---------------------------------------------------------------------------
// Shared types

enum TdxDefaultBoolean { bFalse, bTrue, bDefault };
enum TdxObjectOwnership { ooOwned, ooReferenced, ooCloned };
enum TdxCorner { coTopLeft, coTopRight, coBottomLeft, coBottomRight };
enum TdxOrientation { orHorizontal, orVertical };
using TPoints = std::vector<TPoint>;
using TRects = std::vector<TRect>;

class EdxException : public Exception { public: using Exception::Exception; };

// ---------------------------------------------------------------------------
// Units loader

using TdxUnitProc = void (*)();

// Holds the initialize and finalize procedures that library units register.
// In an executable an initialize procedure runs at once, inside AddUnit; in a
// library module the procedures queue up until the module calls Initialize.
// Exceptions of the procedures are not caught here: they reach the caller.
class TdxUnitsLoader : public TObject {
  SK_CLASS(TdxUnitsLoader, TObject)
 public:
  // Inside a library module or not, as the running module is.
  void Create();
  // With the module kind given (a library module queues initialize procedures).
  void Create(bool AInsideLibrary);
  void Destroy() override;

  void AddUnit(TdxUnitProc AInitializeProc, TdxUnitProc AFinalizeProc);
  // Removes the first occurrence of AFinalizeProc and, when it was there and
  // initialization has run, calls it.
  void RemoveUnit(TdxUnitProc AFinalizeProc);
  // Runs the queued initialize procedures in the order of registration.
  void Initialize();
  // Runs the finalize procedures, last registered first, when initialization
  // has run; empties the list in every case. A procedure that raises is
  // already off the list; the ones before it stay for a later Finalize.
  void Finalize();
  // Raises when finalize procedures are still registered inside a library
  // module (the module has not called Finalize before it is unloaded).
  void CheckFinalized() const;

  bool InsideLibrary() const { return FInsideLibrary; }
  bool Initialized() const { return FInitialized; }
  const std::vector<TdxUnitProc>& InitializeList() const { return FInitializeList; }
  const std::vector<TdxUnitProc>& FinalizeList() const { return FFinalizeList; }

 private:
  std::vector<TdxUnitProc> FInitializeList;
  std::vector<TdxUnitProc> FFinalizeList;
  bool FInsideLibrary;
  bool FInitialized;
};

// The one loader, created on the first call; nil once the core unit's
// shut-down has begun.
TdxUnitsLoader* GetUnitsLoader();

// The module this library was linked into: its resources are there.
HINSTANCE HInstance();
// Whether the running module is a dynamic library (false in an executable).
bool IsInsideLibrary();

// ---------------------------------------------------------------------------
// Global object destroyer

// A component of the application object that frees the process-wide objects
// handed to it, in the order they were handed over, when the application
// object is destroyed.
class TdxGlobalObjectDestroyer : public TComponent {
  SK_CLASS(TdxGlobalObjectDestroyer, TComponent)
 public:
  void Destroy() override;
  std::vector<TObject*>& Objects() { return FObjects; }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  std::vector<TObject*> FObjects;
};

// The list of the global object destroyer, creating the destroyer (owned by
// the application object) on the first call; nil once shut-down has begun.
std::vector<TObject*>* GetGlobalObjectList();

// The application object announces itself here when it is created and
// withdraws (nullptr) when it is destroyed. The global object destroyer
// becomes one of its components, so it goes with the application object.
void dxSetApplicationObject(TComponent* AApplication);
TComponent* dxApplicationObject();

// Releases a process-wide object: while the application object exists and is
// not being destroyed (in an executable), the object is handed to the global
// object destroyer and freed with the application object (the reference keeps
// its value); otherwise it is freed at once. Answers true when handed over.
bool ScheduleGlobalObjectFreeObject(TObject* AObject);

template <class T>
void ScheduleGlobalObjectFree(T*& AObject) {
  if (!AObject) return;
  if (!ScheduleGlobalObjectFreeObject(AObject)) AObject = nullptr;
}

// ---------------------------------------------------------------------------
// Resource strings

// One resource string: the text the program carries for it, either in the
// record itself or, when Text is nil, in the string table of the module that
// holds the record, under Identifier. The record's address identifies the
// string (translators may key by it), so records are static objects.
struct TResStringRec {
  const wchar_t* Text;
  std::uint16_t Identifier = 0;
};
using PResStringRec = const TResStringRec*;

// The text stored for a resource string (empty for nil, and for an
// identifier the string table does not hold).
String LoadResString(PResStringRec AResString);

struct IdxLocalizerListener : public virtual IInterface {
  static constexpr GUID IID = {0x4E0B7B2A, 0x3C61, 0x4D7E, {0x9A, 0x51, 0x2F, 0x8C, 0x06, 0xD4, 0x71, 0xB3}};
  virtual void TranslationChanged() = 0;

 protected:
  ~IdxLocalizerListener() = default;
};

class TdxProductResourceStrings;
class TdxResourceStringsRepository;

using TdxAddResourceStringsProcedure = void (*)(TdxProductResourceStrings* AProduct);
using TdxLocalizationTranslateResStringEvent =
    Delegate<void(const String& AResStringName, PResStringRec AResString)>;

// One named set of resource strings, filled by the procedures registered for it.
class TdxProductResourceStrings : public TObject {
  SK_CLASS(TdxProductResourceStrings, TObject)
 public:
  // Runs AInitializeProc at once (see AddInitializeProc).
  void Create(const String& AName, TdxAddResourceStringsProcedure AInitializeProc);

  const String& Name() const { return FName; }
  // An identifier already present (compared ignoring case) is ignored: the
  // first registration stays.
  void Add(const String& AResStringName, PResStringRec AResStringAddr);
  // Appends a procedure not yet registered and runs it at once.
  void AddInitializeProc(TdxAddResourceStringsProcedure AProc);
  // The strings the procedure added stay.
  void RemoveInitializeProc(TdxAddResourceStringsProcedure AProc);
  int InitializeProcCount() const { return static_cast<int>(FInitializeProcedures.size()); }
  void Clear() { FResStringNames.clear(); }

  // The index of an identifier (ignoring case), or -1.
  int GetIndexByName(const String& AName) const;
  int ResStringsCount() const { return static_cast<int>(FResStringNames.size()); }
  // Index errors raise EListError.
  const String& Names(int AIndex) const;
  PResStringRec ResStrings(int AIndex) const;
  // The text loaded from the record at an index.
  String Values(int AIndex) const;

  void TranslateAll();
  void TranslateItem(int AIndex);

 private:
  friend class TdxResourceStringsRepository;
  void CheckIndex(int AIndex) const;

  String FName;
  // Sorted by identifier, ignoring case.
  std::vector<std::pair<String, PResStringRec>> FResStringNames;
  std::vector<TdxAddResourceStringsProcedure> FInitializeProcedures;
  TdxResourceStringsRepository* FRepository;
};

// Every resource string of the library, by product, in order of first
// registration.
class TdxResourceStringsRepository : public TObject {
  SK_CLASS(TdxResourceStringsRepository, TObject)
 public:
  void Destroy() override;

  // Adds AAddStringsProc to the product of that name (case-sensitive), or
  // creates the product, which runs the procedure at once.
  void RegisterProduct(const String& AProductName, TdxAddResourceStringsProcedure AAddStringsProc);
  // Removes the procedure; the product goes when none was given or none is left.
  void UnRegisterProduct(const String& AProductName, TdxAddResourceStringsProcedure AAddStringsProc = nullptr);
  int GetProductIndexByName(const String& AName) const;
  int ProductsCount() const { return static_cast<int>(FProducts.size()); }
  TdxProductResourceStrings* Products(int AIndex) const;
  // The text of the first product that holds the identifier; empty when none does.
  String GetOriginalValue(const String& AName) const;

  // Asks OnTranslateResString for every string of every product, when assigned.
  void Translate();
  void AddListener(IdxLocalizerListener* AListener);
  void RemoveListener(IdxLocalizerListener* AListener);
  void NotifyListeners();
  int ListenerCount() const { return static_cast<int>(FListeners.size()); }

  TdxLocalizationTranslateResStringEvent OnTranslateResString() const { return FOnTranslateResString; }
  void SetOnTranslateResString(TdxLocalizationTranslateResStringEvent AValue) { FOnTranslateResString = AValue; }

 private:
  std::vector<TdxProductResourceStrings*> FProducts;
  std::vector<IdxLocalizerListener*> FListeners;
  TdxLocalizationTranslateResStringEvent FOnTranslateResString;
};

// The one repository, created on the first call; nil once the core unit's
// shut-down has begun.
TdxResourceStringsRepository* GetResourceStringsRepository();

// The text of a resource string, through the translator when one is
// installed; the stored text otherwise. Every user-visible text of the
// library is read here.
String LoadLocalizedResString(PResStringRec AResString);

// How an installed translator finds a string: by its stored text, by its
// record, or not at all (the state at start-up).
enum class TdxResStringTranslatorMode : std::uint8_t { ByText = 0, ByRecord = 1, None = 2 };

// Installs a translator: AOriginals holds the stored texts (mode ByText) or
// the records (mode ByRecord), ATranslations the texts at the same indices.
void InstallResourceStringTranslator(TdxResStringTranslatorMode AMode,
                                     std::vector<std::pair<String, PResStringRec>> AOriginals,
                                     std::vector<String> ATranslations);
// Back to no translator; frees both lists.
void DetachResourceStringTranslator();

// What a string unit registers: the identifier and the record of each of its
// resource strings, in order.
struct TdxResourceStringName {
  const wchar_t* Name;
  PResStringRec ResString;
};
// The body of a string unit's filling procedure: Add for every row in order.
void AddResourceStringNames(TdxProductResourceStrings* AProduct, std::span<const TdxResourceStringName> ANames);
// A string unit's start-up and shut-down: the product registered with its
// filling procedure, and the whole product removed; nothing once the
// repository has gone.
void RegisterResourceStringsProduct(const String& AProductName, TdxAddResourceStringsProcedure AAddStringsProc);
void UnregisterResourceStringsProduct(const String& AProductName);

// ---------------------------------------------------------------------------
// Windows version flags: all false until DetectWindowsVersion runs in the
// core unit's start-up; never changed afterwards.

extern bool IsWin9X, IsWin95, IsWin98, IsWinME, IsWinNT;
extern bool IsWin2K, IsWin2KOrLater, IsWinXP, IsWinXPOrLater, IsWin2KOrXP;
extern bool IsWinVista, IsWinVistaOrLater, IsWinSeven, IsWinSevenOrLater, IsWin8, IsWin8OrLater;
extern bool IsServerWinSevenOrLater;
extern bool IsWin10OrLater, IsWin10Build16299, IsWin10Build17064OrLater, IsWin10Build17762OrLater;
extern bool IsWin10Build19041OrLater, IsWin11OrLater;
extern bool IsWow64;

// The system's view of its version, as DetectWindowsVersion reads it.
struct TdxWindowsVersion {
  DWORD Platform = 0;  // 1: the Windows 9x family, 2: the NT family
  DWORD Major = 0;
  DWORD Minor = 0;
  bool HasBuildVersion = false;  // RtlGetVersion answered
  RTL_OSVERSIONINFOEXW BuildVersion{};
  bool IsServer = false;
  bool IsWow64 = false;
};

// Reads the system's version and sets every flag.
void DetectWindowsVersion();
// Sets every flag from a version record.
void SetWindowsVersionFlags(const TdxWindowsVersion& AVersion);
// Whether the recorded version is not below AMajor.AMinor.ABuild.
bool IsVersionAtLeast(const RTL_OSVERSIONINFOEXW& AVersion, DWORD AMajor, DWORD AMinor, DWORD ABuild);
// Whether the product type is not the workstation type.
bool IsServerEdition();

// ---------------------------------------------------------------------------
// Locale

// 127 (the invariant locale) from Windows XP on, else English (United States).
LCID GetInvariantLocaleId();
// The settings of a locale. One that Windows supports but has not installed
// is read with the thread switched to it for the time being.
void CreateLocaleFormatSettings(LCID ALocale, TFormatSettings& ASettings);
// The settings of the invariant locale, for numbers in data formats; built
// at the core unit's start-up.
extern TFormatSettings InvariantFormatSettings;
// The locale information text without its terminating zero, or ADefault.
String GetLocaleInfoText(LCID ALocale, LCTYPE AType, const String& ADefault = String());

// ---------------------------------------------------------------------------
// Core routines

// A set of 8-bit characters.
class TSysCharSet {
 public:
  constexpr TSysCharSet() = default;
  constexpr TSysCharSet(std::string_view AChars) {
    for (char c : AChars) Include(static_cast<unsigned char>(c));
  }
  constexpr TSysCharSet& Include(unsigned char AChar) { FBits[AChar >> 6] |= std::uint64_t{1} << (AChar & 63); return *this; }
  constexpr TSysCharSet& IncludeRange(unsigned char AFirst, unsigned char ALast) {
    for (unsigned c = AFirst; c <= ALast; ++c) Include(static_cast<unsigned char>(c));
    return *this;
  }
  constexpr bool Contains(unsigned char AChar) const { return (FBits[AChar >> 6] >> (AChar & 63)) & 1; }

 private:
  std::uint64_t FBits[4]{};
};

void MoveMemoryBlock(const void* ASource, void* ADest, std::size_t ACount);
void ZeroMemoryBlock(void* ABlock, std::size_t ASize);
// A zero-filled block from the process heap; release it with FreeMemoryBlock.
void* AllocZeroedBlock(std::size_t ASize);
void FreeMemoryBlock(void* ABlock);

constexpr std::uint16_t SwapWordBytes(std::uint16_t AValue) {
  return static_cast<std::uint16_t>((AValue >> 8) | (AValue << 8));
}
constexpr std::uint32_t SwapLongBytes(std::uint32_t AValue) {
  return (AValue >> 24) | ((AValue >> 8) & 0xFF00u) | ((AValue << 8) & 0xFF0000u) | (AValue << 24);
}
template <class T>
void ExchangeValues(T& A, T& B) {
  T t = A;
  A = B;
  B = t;
}
// ALow in the low half (sign-extended), or-ed with AHigh in the high half.
constexpr std::int64_t MakeInt64Key(std::int32_t ALow, std::int32_t AHigh) {
  return static_cast<std::int64_t>(ALow) |
         static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(AHigh)) << 32);
}
constexpr int CompareIntegers(int A, int B) { return A < B ? -1 : (A > B ? 1 : 0); }
// A value below $10000: an integer identifier rather than an address.
inline bool IsIntegerIdentifier(const void* APointer) { return reinterpret_cast<std::uintptr_t>(APointer) < 0x10000; }

RawByteString ConvertUnicodeToAnsi(const String& AText, UINT ACodePage = CP_ACP);
String ConvertAnsiToUnicode(const RawByteString& AText, UINT ACodePage = CP_ACP);

// A one-dimensional array's elements byte for byte, an 8-bit string as it
// is, anything else as text in the ANSI code page.
RawByteString ConvertVariantToAnsi(const Variant& AValue);
// A string as it is; anything else through ConvertVariantToAnsi, decoded
// from the ANSI code page.
String ConvertVariantToUnicode(const Variant& AValue);
// A string or a one-dimensional array.
bool IsVariantTextOrBytes(const Variant& AValue);

// A new movable, shareable global memory block with the stream's whole
// content; 0 for a missing or empty stream or when allocation fails.
HGLOBAL CopyStreamToGlobalMemory(TMemoryStream* AStream);
// 4 bytes, little-endian.
void WriteInt32ToStream(TStream* AStream, std::int32_t AValue);

// Numbers with a given decimal separator and no other formatting; bad text
// raises EConvertError (or gives ADefault).
double StrToFloatWithSeparator(const String& AText, wchar_t ASeparator);
double StrToFloatDefWithSeparator(const String& AText, wchar_t ASeparator, double ADefault);
String FloatToStrWithSeparator(double AValue, wchar_t ASeparator);

// The type-1 character flags of the system (C1_ALPHA ...), 0 on failure.
WORD GetCharType(wchar_t AChar);
bool IsAlphaChar(wchar_t AChar);
bool IsDigitChar(wchar_t AChar);
bool IsLowerChar(wchar_t AChar);
wchar_t LowerCaseChar(wchar_t AChar);
// The locale's upper case of one character.
wchar_t UpperCaseChar(wchar_t AChar);
// Characters beyond 8 bits are never members.
inline bool IsCharInSet(wchar_t AChar, const TSysCharSet& ASet) {
  return AChar < 256 && ASet.Contains(static_cast<unsigned char>(AChar));
}
// Equal lengths and equal ignoring the case of ASCII letters.
bool IsSameText(std::wstring_view A, std::wstring_view B);

// Removes every accelerator marker "&"; a doubled marker leaves one. With
// AReplaceLast a marker at the very end becomes an underscore.
String StripAccelerators(const String& ACaption, bool AReplaceLast = false);
// AText with every AOld replaced by ANew.
RawByteString ReplaceAnsiChar(const RawByteString& AText, char AOld, char ANew);

inline void CallNotifyEvent(const TNotifyEvent& AEvent, TObject* ASender) { CallEvent(AEvent, ASender); }
constexpr TdxDefaultBoolean BooleanToDefaultBoolean(bool AValue) { return AValue ? bTrue : bFalse; }

// A check hook that does nothing in this build.
inline void DebugCheck(bool, const String&) {}
void ReportAbstractError();

struct Safe {
  // True and the object when it is assigned and inherits from AClass;
  // otherwise false and nil.
  static bool Cast(TObject* AObject, TClass AClass, TObject*& AValue) {
    AValue = AObject && AObject->InheritsFrom(AClass) ? AObject : nullptr;
    return AValue != nullptr;
  }
  template <class T>
  static bool Cast(TObject* AObject, T*& AValue) {
    AValue = AObject && AObject->InheritsFrom(T::ClassInfo()) ? static_cast<T*>(AObject) : nullptr;
    return AValue != nullptr;
  }
};

// ---------------------------------------------------------------------------
// The unit's start-up and shut-down (listed in the layer's unit table)

void dxCoreInitialization();
void dxCoreFinalization();
