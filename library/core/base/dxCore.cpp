#include "library/core/base/dxCore.h"

#include "platform/runtime/Handles.h"

#include <algorithm>
#include <cstring>

namespace {

TdxUnitsLoader* GUnitsLoader = nullptr;
TdxGlobalObjectDestroyer* GGlobalObjectDestroyer = nullptr;
TComponent* GApplication = nullptr;
TdxResourceStringsRepository* GResourceStringsRepository = nullptr;
// Set when the core unit's shut-down begins; the accessors answer nil from then on.
bool GCoreFinalizing = false;

struct TTranslator {
  TdxResStringTranslatorMode Mode = TdxResStringTranslatorMode::None;
  std::vector<std::pair<String, PResStringRec>> Originals;
  std::vector<String> Translations;
};
TTranslator GTranslator;

// Ordinal comparison ignoring case, for identifiers.
int CompareIdentifiers(const String& A, const String& B) {
  const int r = CompareStringOrdinal(A.data(), static_cast<int>(A.size()), B.data(), static_cast<int>(B.size()), TRUE);
  return r - CSTR_EQUAL;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxUnitsLoader

void TdxUnitsLoader::Create() { Create(IsInsideLibrary()); }

void TdxUnitsLoader::Create(bool AInsideLibrary) {
  inherited::Create();
  FInsideLibrary = AInsideLibrary;
}

void TdxUnitsLoader::Destroy() {
  Finalize();
  inherited::Destroy();
}

void TdxUnitsLoader::AddUnit(TdxUnitProc AInitializeProc, TdxUnitProc AFinalizeProc) {
  if (AInitializeProc) {
    if (FInsideLibrary) {
      FInitializeList.push_back(AInitializeProc);
    } else {
      FInitialized = true;
      AInitializeProc();
    }
  }
  if (AFinalizeProc) FFinalizeList.push_back(AFinalizeProc);
}

void TdxUnitsLoader::RemoveUnit(TdxUnitProc AFinalizeProc) {
  const auto it = std::find(FFinalizeList.begin(), FFinalizeList.end(), AFinalizeProc);
  if (it == FFinalizeList.end()) return;
  FFinalizeList.erase(it);
  if (FInitialized && AFinalizeProc) AFinalizeProc();
}

void TdxUnitsLoader::Initialize() {
  // Taken off the list before it runs, so that a procedure that raises is
  // not run a second time by a later Initialize.
  while (!FInitializeList.empty()) {
    const TdxUnitProc proc = FInitializeList.front();
    FInitializeList.erase(FInitializeList.begin());
    proc();
  }
  FInitialized = true;
}

void TdxUnitsLoader::Finalize() {
  if (FInitialized) {
    while (!FFinalizeList.empty()) {
      const TdxUnitProc proc = FFinalizeList.back();
      FFinalizeList.pop_back();
      proc();
    }
  }
  FInitialized = false;
  FFinalizeList.clear();
}

void TdxUnitsLoader::CheckFinalized() const {
  if (FInsideLibrary && !FFinalizeList.empty()) throw Exception(L"Need call dxFinalize before free library!");
}

TdxUnitsLoader* GetUnitsLoader() {
  if (GCoreFinalizing) return nullptr;
  if (!GUnitsLoader) GUnitsLoader = New<TdxUnitsLoader>();
  return GUnitsLoader;
}

HINSTANCE HInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&HInstance), &module);
  return module;
}

bool IsInsideLibrary() {
  const HMODULE own = HInstance();
  return own && own != GetModuleHandleW(nullptr);
}

// ---------------------------------------------------------------------------
// Global object destroyer

void TdxGlobalObjectDestroyer::Destroy() {
  if (GGlobalObjectDestroyer == this) GGlobalObjectDestroyer = nullptr;
  // By index: an object's destruction must not invalidate the walk.
  for (std::size_t i = 0; i < FObjects.size(); ++i) {
    TObject* object = std::exchange(FObjects[i], nullptr);
    if (object) object->Free();
  }
  FObjects.clear();
  inherited::Destroy();
}

void TdxGlobalObjectDestroyer::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  // The application object is going: nothing may be handed over any more.
  if (AOperation == opRemove && AComponent && AComponent == GApplication) GApplication = nullptr;
}

namespace {

// Makes the destroyer one of the application object's components and lets it
// hear when the application object goes (before its components are freed).
void AttachDestroyer(TdxGlobalObjectDestroyer* ADestroyer, TComponent* AApplication) {
  if (ADestroyer->Owner() != AApplication) {
    // A destroyer made before the application object existed, or for an
    // application object announced earlier, joins the current one.
    if (TComponent* previous = ADestroyer->Owner()) previous->RemoveComponent(ADestroyer);
    AApplication->InsertComponent(ADestroyer);
  }
  AApplication->FreeNotification(ADestroyer);
}

}  // namespace

std::vector<TObject*>* GetGlobalObjectList() {
  if (GCoreFinalizing) return nullptr;
  if (!GGlobalObjectDestroyer) {
    GGlobalObjectDestroyer = New<TdxGlobalObjectDestroyer>(GApplication);
    if (GApplication) AttachDestroyer(GGlobalObjectDestroyer, GApplication);
  }
  return &GGlobalObjectDestroyer->Objects();
}

void dxSetApplicationObject(TComponent* AApplication) {
  GApplication = AApplication;
  if (!AApplication || GCoreFinalizing) return;
  if (GGlobalObjectDestroyer) AttachDestroyer(GGlobalObjectDestroyer, AApplication);
  else GetGlobalObjectList();
}

TComponent* dxApplicationObject() { return GApplication; }

bool ScheduleGlobalObjectFreeObject(TObject* AObject) {
  if (!AObject) return false;
  if (!IsInsideLibrary() && GApplication && !GApplication->ComponentState().Contains(csDestroying)) {
    if (std::vector<TObject*>* list = GetGlobalObjectList()) {
      list->push_back(AObject);
      return true;
    }
  }
  AObject->Free();
  return false;
}

// ---------------------------------------------------------------------------
// Resource strings

String LoadResString(PResStringRec AResString) {
  if (!AResString) return String();
  if (AResString->Text) return String(AResString->Text);
  // The string table travels with the code that declares the record: the
  // program, or the library module the record lives in.
  HMODULE module = nullptr;
  if (AResString->Identifier == 0 ||
      !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(AResString), &module))
    return String();
  // Without a buffer LoadStringW answers the text in place: no length limit.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, AResString->Identifier, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? String(text, static_cast<std::size_t>(length)) : String();
}

void TdxProductResourceStrings::Create(const String& AName, TdxAddResourceStringsProcedure AInitializeProc) {
  inherited::Create();
  FName = AName;
  AddInitializeProc(AInitializeProc);
}

void TdxProductResourceStrings::Add(const String& AResStringName, PResStringRec AResStringAddr) {
  const auto it = std::lower_bound(FResStringNames.begin(), FResStringNames.end(), AResStringName,
                                   [](const auto& AEntry, const String& AName) {
                                     return CompareIdentifiers(AEntry.first, AName) < 0;
                                   });
  if (it != FResStringNames.end() && CompareIdentifiers(it->first, AResStringName) == 0) return;
  FResStringNames.insert(it, {AResStringName, AResStringAddr});
}

void TdxProductResourceStrings::AddInitializeProc(TdxAddResourceStringsProcedure AProc) {
  if (!AProc) return;
  if (std::find(FInitializeProcedures.begin(), FInitializeProcedures.end(), AProc) != FInitializeProcedures.end())
    return;
  FInitializeProcedures.push_back(AProc);
  AProc(this);
}

void TdxProductResourceStrings::RemoveInitializeProc(TdxAddResourceStringsProcedure AProc) {
  const auto it = std::find(FInitializeProcedures.begin(), FInitializeProcedures.end(), AProc);
  if (it != FInitializeProcedures.end()) FInitializeProcedures.erase(it);
}

int TdxProductResourceStrings::GetIndexByName(const String& AName) const {
  int low = 0;
  int high = ResStringsCount() - 1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int c = CompareIdentifiers(FResStringNames[static_cast<std::size_t>(middle)].first, AName);
    if (c == 0) return middle;
    if (c < 0) low = middle + 1;
    else high = middle - 1;
  }
  return -1;
}

void TdxProductResourceStrings::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= ResStringsCount())
    throw EListError(L"Listenindex außerhalb des gültigen Bereichs (%d)", {AIndex});
}

const String& TdxProductResourceStrings::Names(int AIndex) const {
  CheckIndex(AIndex);
  return FResStringNames[static_cast<std::size_t>(AIndex)].first;
}

PResStringRec TdxProductResourceStrings::ResStrings(int AIndex) const {
  CheckIndex(AIndex);
  return FResStringNames[static_cast<std::size_t>(AIndex)].second;
}

String TdxProductResourceStrings::Values(int AIndex) const { return LoadResString(ResStrings(AIndex)); }

void TdxProductResourceStrings::TranslateAll() {
  for (int i = 0; i < ResStringsCount(); ++i) TranslateItem(i);
}

void TdxProductResourceStrings::TranslateItem(int AIndex) {
  CheckIndex(AIndex);
  TdxResourceStringsRepository* repository = FRepository ? FRepository : GetResourceStringsRepository();
  if (!repository) return;
  const auto& entry = FResStringNames[static_cast<std::size_t>(AIndex)];
  CallEvent(repository->OnTranslateResString(), entry.first, entry.second);
}

void TdxResourceStringsRepository::Destroy() {
  for (TdxProductResourceStrings* product : FProducts) product->Free();
  FProducts.clear();
  FListeners.clear();
  inherited::Destroy();
}

void TdxResourceStringsRepository::RegisterProduct(const String& AProductName,
                                                   TdxAddResourceStringsProcedure AAddStringsProc) {
  const int index = GetProductIndexByName(AProductName);
  if (index >= 0) {
    FProducts[static_cast<std::size_t>(index)]->AddInitializeProc(AAddStringsProc);
    return;
  }
  // The product knows its repository before its first procedure runs.
  TdxProductResourceStrings* product = New<TdxProductResourceStrings>(AProductName, nullptr);
  product->FRepository = this;
  FProducts.push_back(product);
  product->AddInitializeProc(AAddStringsProc);
}

void TdxResourceStringsRepository::UnRegisterProduct(const String& AProductName,
                                                     TdxAddResourceStringsProcedure AAddStringsProc) {
  const int index = GetProductIndexByName(AProductName);
  if (index < 0) return;
  TdxProductResourceStrings* product = FProducts[static_cast<std::size_t>(index)];
  if (AAddStringsProc) {
    product->RemoveInitializeProc(AAddStringsProc);
    if (product->InitializeProcCount() > 0) return;
  }
  FProducts.erase(FProducts.begin() + index);
  product->Free();
}

int TdxResourceStringsRepository::GetProductIndexByName(const String& AName) const {
  for (std::size_t i = 0; i < FProducts.size(); ++i)
    if (FProducts[i]->Name() == AName) return static_cast<int>(i);
  return -1;
}

TdxProductResourceStrings* TdxResourceStringsRepository::Products(int AIndex) const {
  if (AIndex < 0 || AIndex >= ProductsCount())
    throw EListError(L"Listenindex außerhalb des gültigen Bereichs (%d)", {AIndex});
  return FProducts[static_cast<std::size_t>(AIndex)];
}

String TdxResourceStringsRepository::GetOriginalValue(const String& AName) const {
  for (TdxProductResourceStrings* product : FProducts) {
    const int index = product->GetIndexByName(AName);
    if (index >= 0) return product->Values(index);
  }
  return String();
}

void TdxResourceStringsRepository::Translate() {
  if (!FOnTranslateResString) return;
  for (std::size_t i = 0; i < FProducts.size(); ++i) FProducts[i]->TranslateAll();
}

void TdxResourceStringsRepository::AddListener(IdxLocalizerListener* AListener) {
  if (AListener && std::find(FListeners.begin(), FListeners.end(), AListener) == FListeners.end())
    FListeners.push_back(AListener);
}

void TdxResourceStringsRepository::RemoveListener(IdxLocalizerListener* AListener) {
  const auto it = std::find(FListeners.begin(), FListeners.end(), AListener);
  if (it != FListeners.end()) FListeners.erase(it);
}

void TdxResourceStringsRepository::NotifyListeners() {
  // A listener may remove itself while it is told.
  const std::vector<IdxLocalizerListener*> listeners = FListeners;
  for (IdxLocalizerListener* listener : listeners)
    if (std::find(FListeners.begin(), FListeners.end(), listener) != FListeners.end()) listener->TranslationChanged();
}

TdxResourceStringsRepository* GetResourceStringsRepository() {
  if (GCoreFinalizing) return nullptr;
  if (!GResourceStringsRepository) GResourceStringsRepository = New<TdxResourceStringsRepository>();
  return GResourceStringsRepository;
}

namespace {

int FindTranslatedStringIndex(PResStringRec AResString) {
  const auto& originals = GTranslator.Originals;
  switch (GTranslator.Mode) {
    case TdxResStringTranslatorMode::ByText: {
      const String text = LoadResString(AResString);
      for (std::size_t i = 0; i < originals.size(); ++i)
        if (originals[i].first == text) return static_cast<int>(i);
      return -1;
    }
    case TdxResStringTranslatorMode::ByRecord:
      for (std::size_t i = 0; i < originals.size(); ++i)
        if (originals[i].second == AResString) return static_cast<int>(i);
      return -1;
    case TdxResStringTranslatorMode::None:
      break;
  }
  return -1;
}

}  // namespace

String LoadLocalizedResString(PResStringRec AResString) {
  const int index = FindTranslatedStringIndex(AResString);
  // A translation list shorter than the list of originals gives the stored text.
  if (index < 0 || static_cast<std::size_t>(index) >= GTranslator.Translations.size())
    return LoadResString(AResString);
  return GTranslator.Translations[static_cast<std::size_t>(index)];
}

void InstallResourceStringTranslator(TdxResStringTranslatorMode AMode,
                                     std::vector<std::pair<String, PResStringRec>> AOriginals,
                                     std::vector<String> ATranslations) {
  GTranslator.Mode = AMode;
  GTranslator.Originals = std::move(AOriginals);
  GTranslator.Translations = std::move(ATranslations);
}

void DetachResourceStringTranslator() {
  GTranslator.Mode = TdxResStringTranslatorMode::None;
  GTranslator.Originals = {};
  GTranslator.Translations = {};
}

void AddResourceStringNames(TdxProductResourceStrings* AProduct, std::span<const TdxResourceStringName> ANames) {
  for (const TdxResourceStringName& name : ANames) AProduct->Add(name.Name, name.ResString);
}

void RegisterResourceStringsProduct(const String& AProductName, TdxAddResourceStringsProcedure AAddStringsProc) {
  if (TdxResourceStringsRepository* repository = GetResourceStringsRepository())
    repository->RegisterProduct(AProductName, AAddStringsProc);
}

void UnregisterResourceStringsProduct(const String& AProductName) {
  if (TdxResourceStringsRepository* repository = GetResourceStringsRepository())
    repository->UnRegisterProduct(AProductName);
}

// ---------------------------------------------------------------------------
// Windows version flags

bool IsWin9X, IsWin95, IsWin98, IsWinME, IsWinNT;
bool IsWin2K, IsWin2KOrLater, IsWinXP, IsWinXPOrLater, IsWin2KOrXP;
bool IsWinVista, IsWinVistaOrLater, IsWinSeven, IsWinSevenOrLater, IsWin8, IsWin8OrLater;
bool IsServerWinSevenOrLater;
bool IsWin10OrLater, IsWin10Build16299, IsWin10Build17064OrLater, IsWin10Build17762OrLater;
bool IsWin10Build19041OrLater, IsWin11OrLater;
bool IsWow64;

bool IsVersionAtLeast(const RTL_OSVERSIONINFOEXW& AVersion, DWORD AMajor, DWORD AMinor, DWORD ABuild) {
  if (AVersion.dwMajorVersion != AMajor) return AVersion.dwMajorVersion > AMajor;
  if (AVersion.dwMinorVersion != AMinor) return AVersion.dwMinorVersion > AMinor;
  return AVersion.dwBuildNumber >= ABuild;
}

bool IsServerEdition() {
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  info.wProductType = VER_NT_WORKSTATION;
  const DWORDLONG mask = VerSetConditionMask(0, VER_PRODUCT_TYPE, VER_EQUAL);
  return !VerifyVersionInfoW(&info, VER_PRODUCT_TYPE, mask);
}

void SetWindowsVersionFlags(const TdxWindowsVersion& V) {
  IsWin9X = V.Platform == VER_PLATFORM_WIN32_WINDOWS;
  IsWin95 = IsWin9X && V.Minor == 0;
  IsWin98 = IsWin9X && V.Minor == 10;
  IsWinME = IsWin9X && V.Minor == 90;
  IsWinNT = V.Platform == VER_PLATFORM_WIN32_NT;
  IsWin2K = IsWinNT && V.Major == 5 && V.Minor == 0;
  IsWin2KOrLater = IsWinNT && V.Major > 4;
  IsWinXP = IsWinNT && V.Major == 5 && V.Minor > 0;
  IsWinXPOrLater = IsWinNT && V.Major >= 5 && !IsWin2K;
  IsWin2KOrXP = IsWin2K || IsWinXP;
  IsWinVista = IsWinNT && V.Major == 6 && V.Minor == 0;
  IsWinVistaOrLater = IsWinNT && V.Major > 5;
  IsWinSeven = IsWinNT && V.Major == 6 && V.Minor == 1;
  IsWinSevenOrLater = IsWinVistaOrLater && !IsWinVista;
  IsWin8 = IsWinNT && V.Major == 6 && V.Minor == 2;
  IsWin8OrLater = IsWinSevenOrLater && !IsWinSeven;
  IsServerWinSevenOrLater = IsWinSevenOrLater && V.IsServer;
  const bool builds = IsWin8OrLater && V.HasBuildVersion;
  const RTL_OSVERSIONINFOEXW& b = V.BuildVersion;
  IsWin10OrLater = builds && IsVersionAtLeast(b, 10, 0, 0);
  IsWin10Build16299 = IsWin10OrLater && b.dwBuildNumber == 16299;
  IsWin10Build17064OrLater = builds && IsVersionAtLeast(b, 10, 0, 17064);
  IsWin10Build17762OrLater = builds && IsVersionAtLeast(b, 10, 0, 17762);
  IsWin10Build19041OrLater = builds && IsVersionAtLeast(b, 10, 0, 19041);
  IsWin11OrLater = builds && IsVersionAtLeast(b, 10, 0, 22000);
  IsWow64 = V.IsWow64;
}

void DetectWindowsVersion() {
  TdxWindowsVersion version;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&info)) {
#pragma GCC diagnostic pop
    version.Platform = info.dwPlatformId;
    version.Major = info.dwMajorVersion;
    version.Minor = info.dwMinorVersion;
  }
  // The build is needed only from Windows 8 on, where the version the
  // system reports to programs without a manifest stops at 6.2.
  const bool win8OrLater =
      version.Platform == VER_PLATFORM_WIN32_NT && (version.Major > 6 || (version.Major == 6 && version.Minor >= 2));
  if (win8OrLater) {
    if (const TOwnedModule ntdll(LoadLibraryW(L"ntdll.dll")); ntdll) {
      using TRtlGetVersion = LONG(WINAPI*)(RTL_OSVERSIONINFOEXW*);
      auto rtlGetVersion = reinterpret_cast<TRtlGetVersion>(
          reinterpret_cast<void*>(GetProcAddress(ntdll.Get(), "RtlGetVersion")));
      if (rtlGetVersion) {
        RTL_OSVERSIONINFOEXW build{};
        build.dwOSVersionInfoSize = sizeof(build);
        if (rtlGetVersion(&build) == 0) {
          version.HasBuildVersion = true;
          version.BuildVersion = build;
        }
      }
    }
  }
  version.IsServer = version.Platform == VER_PLATFORM_WIN32_NT && IsServerEdition();
  using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
  if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
    auto isWow64Process = reinterpret_cast<TIsWow64Process>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    version.IsWow64 = isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
  }
  SetWindowsVersionFlags(version);
}

// ---------------------------------------------------------------------------
// Locale

LCID GetInvariantLocaleId() { return IsWinXPOrLater ? LOCALE_INVARIANT : MAKELCID(0x0409, SORT_DEFAULT); }

String GetLocaleInfoText(LCID ALocale, LCTYPE AType, const String& ADefault) {
  const int size = GetLocaleInfoW(ALocale, AType, nullptr, 0);
  if (size <= 0) return ADefault;
  String text(static_cast<std::size_t>(size), L'\0');
  const int written = GetLocaleInfoW(ALocale, AType, text.data(), size);
  if (written <= 0) return ADefault;
  text.resize(static_cast<std::size_t>(written - 1));
  return text;
}

void CreateLocaleFormatSettings(LCID ALocale, TFormatSettings& ASettings) {
  if (IsValidLocale(ALocale, LCID_INSTALLED) || !IsValidLocale(ALocale, LCID_SUPPORTED)) {
    ASettings = TFormatSettings::Create(ALocale);
    return;
  }
  const LCID previous = GetThreadLocale();
  SetThreadLocale(ALocale);
  TScopeExit restore([previous] { SetThreadLocale(previous); });
  ASettings = TFormatSettings::Create(ALocale);
}

TFormatSettings InvariantFormatSettings;

// ---------------------------------------------------------------------------
// Core routines

void MoveMemoryBlock(const void* ASource, void* ADest, std::size_t ACount) {
  if (ACount) std::memmove(ADest, ASource, ACount);
}

void ZeroMemoryBlock(void* ABlock, std::size_t ASize) {
  if (ASize) std::memset(ABlock, 0, ASize);
}

void* AllocZeroedBlock(std::size_t ASize) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, ASize ? ASize : 1); }

void FreeMemoryBlock(void* ABlock) {
  if (ABlock) HeapFree(GetProcessHeap(), 0, ABlock);
}

RawByteString ConvertUnicodeToAnsi(const String& AText, UINT ACodePage) {
  if (AText.empty()) return RawByteString();
  const int length = static_cast<int>(AText.size());
  const int size = WideCharToMultiByte(ACodePage, 0, AText.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return RawByteString();
  RawByteString result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(ACodePage, 0, AText.data(), length, result.data(), size, nullptr, nullptr);
  return result;
}

String ConvertAnsiToUnicode(const RawByteString& AText, UINT ACodePage) {
  if (AText.empty()) return String();
  // UTF-8 accepts no flags.
  const DWORD flags = ACodePage == CP_UTF8 ? 0 : MB_PRECOMPOSED;
  const int length = static_cast<int>(AText.size());
  const int size = MultiByteToWideChar(ACodePage, flags, AText.data(), length, nullptr, 0);
  if (size <= 0) return String();
  String result(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(ACodePage, flags, AText.data(), length, result.data(), size);
  return result;
}

RawByteString ConvertVariantToAnsi(const Variant& AValue) {
  if (VarIsArray(AValue) && VarArrayDimCount(AValue) == 1) {
    const int low = VarArrayLowBound(AValue, 1);
    const int high = VarArrayHighBound(AValue, 1);
    RawByteString result;
    result.reserve(high >= low ? static_cast<std::size_t>(high - low + 1) : 0);
    for (int i = low; i <= high; ++i) result += static_cast<char>(AValue.GetElement(i).AsInteger() & 0xFF);
    return result;
  }
  if (VarType(AValue) == varString) return AValue.AsRawByteString();
  return ConvertUnicodeToAnsi(VarToStr(AValue), CP_ACP);
}

String ConvertVariantToUnicode(const Variant& AValue) {
  if (VarIsStr(AValue)) return AValue.AsString();
  return ConvertAnsiToUnicode(ConvertVariantToAnsi(AValue), CP_ACP);
}

bool IsVariantTextOrBytes(const Variant& AValue) {
  return VarIsStr(AValue) || (VarIsArray(AValue) && VarArrayDimCount(AValue) == 1);
}

HGLOBAL CopyStreamToGlobalMemory(TMemoryStream* AStream) {
  if (!AStream || AStream->Size() <= 0) return nullptr;
  const std::int64_t size = AStream->Size();
  if (static_cast<std::uint64_t>(size) > SIZE_MAX) return nullptr;
  TGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(size)));
  if (!block) return nullptr;
  {
    const TGlobalLock lock(block.Get());
    if (!lock.Data()) return nullptr;
    std::memcpy(lock.Data(), AStream->Memory(), static_cast<std::size_t>(size));
  }
  return block.Release();
}

void WriteInt32ToStream(TStream* AStream, std::int32_t AValue) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(AValue), static_cast<std::uint8_t>(AValue >> 8),
                                 static_cast<std::uint8_t>(AValue >> 16), static_cast<std::uint8_t>(AValue >> 24)};
  AStream->WriteBuffer(bytes, 4);
}

namespace {

TFormatSettings SeparatorSettings(wchar_t ASeparator) {
  TFormatSettings settings;
  settings.ThousandSeparator = L'\0';
  settings.DecimalSeparator = ASeparator;
  return settings;
}

}  // namespace

double StrToFloatWithSeparator(const String& AText, wchar_t ASeparator) {
  return StrToFloat(AText, SeparatorSettings(ASeparator));
}

double StrToFloatDefWithSeparator(const String& AText, wchar_t ASeparator, double ADefault) {
  return StrToFloatDef(AText, ADefault, SeparatorSettings(ASeparator));
}

String FloatToStrWithSeparator(double AValue, wchar_t ASeparator) {
  return FloatToStr(AValue, SeparatorSettings(ASeparator));
}

WORD GetCharType(wchar_t AChar) {
  WORD type = 0;
  return GetStringTypeW(CT_CTYPE1, &AChar, 1, &type) ? type : 0;
}

bool IsAlphaChar(wchar_t AChar) { return (GetCharType(AChar) & C1_ALPHA) != 0; }
bool IsDigitChar(wchar_t AChar) { return (GetCharType(AChar) & C1_DIGIT) != 0; }
bool IsLowerChar(wchar_t AChar) { return (GetCharType(AChar) & C1_LOWER) != 0; }

wchar_t LowerCaseChar(wchar_t AChar) {
  wchar_t c = AChar;
  CharLowerBuffW(&c, 1);
  return c;
}

wchar_t UpperCaseChar(wchar_t AChar) {
  wchar_t c = AChar;
  CharUpperBuffW(&c, 1);
  return c;
}

bool IsSameText(std::wstring_view A, std::wstring_view B) {
  if (A.size() != B.size()) return false;
  auto fold = [](wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; };
  for (std::size_t i = 0; i < A.size(); ++i)
    if (fold(A[i]) != fold(B[i])) return false;
  return true;
}

String StripAccelerators(const String& ACaption, bool AReplaceLast) {
  String result;
  result.reserve(ACaption.size());
  const std::size_t n = ACaption.size();
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t c = ACaption[i];
    if (c != L'&') {
      result += c;
    } else if (i + 1 < n && ACaption[i + 1] == L'&') {
      result += L'&';
      ++i;
    } else if (i + 1 == n && AReplaceLast) {
      result += L'_';
    }
  }
  return result;
}

RawByteString ReplaceAnsiChar(const RawByteString& AText, char AOld, char ANew) {
  RawByteString result = AText;
  if (AOld != ANew) std::replace(result.begin(), result.end(), AOld, ANew);
  return result;
}

void ReportAbstractError() { DebugCheck(false, L"Abstrakter Fehler"); }

// ---------------------------------------------------------------------------
// Start-up and shut-down

void dxCoreInitialization() {
  GCoreFinalizing = false;
  GetGlobalObjectList();
  DetectWindowsVersion();
  CreateLocaleFormatSettings(GetInvariantLocaleId(), InvariantFormatSettings);
}

void dxCoreFinalization() {
  // Nothing reads the repository after this point; whoever frees it later
  // must not find it here again.
  TdxResourceStringsRepository* repository = std::exchange(GResourceStringsRepository, nullptr);
  ScheduleGlobalObjectFree(repository);
  DetachResourceStringTranslator();
  GCoreFinalizing = true;
  // Inside a library module, and in a program whose application object never
  // announced itself, nobody else would free the destroyer.
  if (GGlobalObjectDestroyer && (IsInsideLibrary() || !GGlobalObjectDestroyer->Owner())) {
    TdxGlobalObjectDestroyer* destroyer = GGlobalObjectDestroyer;
    destroyer->Free();
  }
  if (GUnitsLoader) {
    GUnitsLoader->CheckFinalized();
    TdxUnitsLoader* loader = std::exchange(GUnitsLoader, nullptr);
    loader->Free();
  }
  InvariantFormatSettings = TFormatSettings();
}
