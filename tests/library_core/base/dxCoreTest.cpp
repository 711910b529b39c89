#include "library/core/base/dxCore.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Units loader

std::vector<std::string> GCalls;
void InitA() { GCalls.push_back("init A"); }
void InitB() { GCalls.push_back("init B"); }
void FinA() { GCalls.push_back("fin A"); }
void FinB() { GCalls.push_back("fin B"); }
void FinC() { GCalls.push_back("fin C"); }
void FinRaising() {
  GCalls.push_back("fin raising");
  throw Exception(L"broken");
}

using Calls = std::vector<std::string>;

TEST(UnitsLoader, InExecutableInitializesAtOnceAndFinalizesInReverse) {
  GCalls.clear();
  TdxUnitsLoader* loader = New<TdxUnitsLoader>(false);
  loader->AddUnit(&InitA, &FinA);
  EXPECT_EQ(GCalls, Calls{"init A"});  // ran inside AddUnit
  loader->AddUnit(&InitB, &FinB);
  loader->AddUnit(nullptr, &FinC);
  EXPECT_TRUE(loader->Initialized());
  EXPECT_TRUE(loader->InitializeList().empty());
  loader->Finalize();
  EXPECT_EQ(GCalls, (Calls{"init A", "init B", "fin C", "fin B", "fin A"}));
  EXPECT_FALSE(loader->Initialized());
  EXPECT_TRUE(loader->FinalizeList().empty());
  loader->Free();
}

TEST(UnitsLoader, FinalizeOnlyRegistrationLeavesTheFlagAsItWas) {
  GCalls.clear();
  TdxUnitsLoader* loader = New<TdxUnitsLoader>(false);
  loader->AddUnit(nullptr, &FinA);
  EXPECT_FALSE(loader->Initialized());
  // Finalize with the flag false runs nothing and still empties the list.
  loader->Finalize();
  EXPECT_TRUE(GCalls.empty());
  EXPECT_TRUE(loader->FinalizeList().empty());
  loader->Free();
}

TEST(UnitsLoader, RemoveUnitCallsOncePerOccurrenceAndIgnoresStrangers) {
  GCalls.clear();
  TdxUnitsLoader* loader = New<TdxUnitsLoader>(false);
  loader->AddUnit(&InitA, &FinA);
  loader->AddUnit(nullptr, &FinA);
  loader->RemoveUnit(&FinB);  // never registered
  EXPECT_EQ(GCalls, Calls{"init A"});
  loader->RemoveUnit(&FinA);
  EXPECT_EQ(loader->FinalizeList().size(), 1u);
  loader->RemoveUnit(&FinA);
  loader->RemoveUnit(&FinA);  // gone now
  EXPECT_EQ(GCalls, (Calls{"init A", "fin A", "fin A"}));
  loader->Free();
  EXPECT_EQ(GCalls.size(), 3u);
}

TEST(UnitsLoader, DestroyRunsWhatIsStillRegistered) {
  GCalls.clear();
  TdxUnitsLoader* loader = New<TdxUnitsLoader>(false);
  loader->AddUnit(&InitA, &FinA);
  loader->AddUnit(&InitB, &FinB);
  loader->RemoveUnit(&FinB);
  loader->Free();
  EXPECT_EQ(GCalls, (Calls{"init A", "init B", "fin B", "fin A"}));
}

TEST(UnitsLoader, InsideALibraryProceduresWaitForInitialize) {
  GCalls.clear();
  TdxUnitsLoader* loader = New<TdxUnitsLoader>(true);
  loader->AddUnit(&InitA, &FinA);
  loader->AddUnit(&InitB, &FinB);
  EXPECT_TRUE(GCalls.empty());
  EXPECT_FALSE(loader->Initialized());
  loader->RemoveUnit(&FinB);  // before initialization: not called
  EXPECT_TRUE(GCalls.empty());
  loader->Initialize();
  EXPECT_EQ(GCalls, (Calls{"init A", "init B"}));
  EXPECT_TRUE(loader->InitializeList().empty());
  try {
    loader->CheckFinalized();
    ADD_FAILURE() << "a registered finalize procedure must be reported";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Need call dxFinalize before free library!");
  }
  loader->Finalize();
  EXPECT_NO_THROW(loader->CheckFinalized());
  EXPECT_EQ(GCalls, (Calls{"init A", "init B", "fin A"}));
  loader->Free();
}

TEST(UnitsLoader, RaisingFinalizeReachesTheCallerAndIsNotRunTwice) {
  GCalls.clear();
  TdxUnitsLoader* loader = New<TdxUnitsLoader>(false);
  loader->AddUnit(&InitA, &FinA);
  loader->AddUnit(nullptr, &FinRaising);
  EXPECT_THROW(loader->Finalize(), Exception);
  EXPECT_EQ(GCalls, (Calls{"init A", "fin raising"}));
  loader->Free();  // the rest still runs
  EXPECT_EQ(GCalls, (Calls{"init A", "fin raising", "fin A"}));
}

TEST(GlobalObjectDestroyer, TheApplicationObjectOwnsItFromStartUp) {
  ASSERT_NE(Application(), nullptr);
  ASSERT_NE(GetGlobalObjectList(), nullptr);
  bool owned = false;
  for (int i = 0; i < Application()->ComponentCount(); ++i)
    owned = owned || Application()->Components(i)->ClassType() == TdxGlobalObjectDestroyer::ClassInfo();
  EXPECT_TRUE(owned);
}

TEST(UnitsLoader, TheProcessLoaderRunsInAnExecutable) {
  EXPECT_FALSE(IsInsideLibrary());
  TdxUnitsLoader* loader = GetUnitsLoader();
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(loader, GetUnitsLoader());
  EXPECT_FALSE(loader->InsideLibrary());
}

// ---------------------------------------------------------------------------
// Global object destroyer

class TTracked : public TObject {
  SK_CLASS(TTracked, TObject)
 public:
  void Create(std::string AName) { FName = std::move(AName); }
  void Destroy() override {
    GCalls.push_back("free " + FName);
    inherited::Destroy();
  }

 private:
  std::string FName;
};

TEST(GlobalObjectDestroyer, ObjectsLiveUntilTheApplicationObjectGoesAndDieInOrder) {
  GCalls.clear();
  TOwned<TComponent> applicationOwner(New<TComponent>(nullptr));
  TComponent* application = applicationOwner.get();
  dxSetApplicationObject(application);
  TTracked* first = New<TTracked>("first");
  TTracked* second = New<TTracked>("second");
  ScheduleGlobalObjectFree(first);
  ScheduleGlobalObjectFree(second);
  EXPECT_NE(first, nullptr);  // the variable keeps its value
  EXPECT_NE(second, nullptr);
  ASSERT_NE(GetGlobalObjectList(), nullptr);
  EXPECT_EQ(GetGlobalObjectList()->size(), 2u);
  EXPECT_TRUE(GCalls.empty());

  applicationOwner.reset();
  EXPECT_EQ(GCalls, (Calls{"free first", "free second"}));
  // The application object is gone: what comes now is freed at once.
  EXPECT_EQ(dxApplicationObject(), nullptr);
  TTracked* late = New<TTracked>("late");
  ScheduleGlobalObjectFree(late);
  EXPECT_EQ(late, nullptr);
  EXPECT_EQ(GCalls.back(), "free late");
  dxSetApplicationObject(Application());
}

TEST(GlobalObjectDestroyer, ApplicationBeingDestroyedFreesAtOnce) {
  GCalls.clear();
  TComponent* application = New<TComponent>(nullptr);
  dxSetApplicationObject(application);
  application->Destroying();
  TTracked* object = New<TTracked>("object");
  ScheduleGlobalObjectFree(object);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(GCalls, Calls{"free object"});
  dxSetApplicationObject(Application());
  application->Free();
}

TEST(GlobalObjectDestroyer, WithoutApplicationObjectFreesAtOnce) {
  GCalls.clear();
  dxSetApplicationObject(nullptr);
  TTracked* object = New<TTracked>("object");
  ScheduleGlobalObjectFree(object);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(GCalls, Calls{"free object"});
  TTracked* none = nullptr;
  ScheduleGlobalObjectFree(none);  // nothing happens
  EXPECT_EQ(GCalls.size(), 1u);
  dxSetApplicationObject(Application());
}

TEST(GlobalObjectDestroyer, TheDestroyerJoinsTheAnnouncedApplicationObject) {
  GCalls.clear();
  dxSetApplicationObject(nullptr);
  ASSERT_NE(GetGlobalObjectList(), nullptr);  // belongs to no application object now
  TComponent* application = New<TComponent>(nullptr);
  dxSetApplicationObject(application);
  TTracked* object = New<TTracked>("object");
  ScheduleGlobalObjectFree(object);
  EXPECT_TRUE(GCalls.empty());
  application->Free();
  EXPECT_EQ(GCalls, Calls{"free object"});
  dxSetApplicationObject(Application());
}

// ---------------------------------------------------------------------------
// Resource strings

constexpr TResStringRec sToday{L"today"};
constexpr TResStringRec sYesterday{L"yesterday"};
constexpr TResStringRec sTodayUpper{L"TODAY (second registration)"};
constexpr TResStringRec sError{L"Error store %s object"};

int GFillCount = 0;
void FillDates(TdxProductResourceStrings* AProduct) {
  ++GFillCount;
  AProduct->Add(L"cxSDateToday", &sToday);
  AProduct->Add(L"cxSDateYesterday", &sYesterday);
}
void FillErrors(TdxProductResourceStrings* AProduct) {
  ++GFillCount;
  AProduct->Add(L"scxErrorStoreObject", &sError);
  AProduct->Add(L"CXSDATETODAY", &sTodayUpper);  // same identifier, other case
}

class ResourceStrings : public testing::Test {
 protected:
  void SetUp() override {
    GFillCount = 0;
    FRepository = New<TdxResourceStringsRepository>();
  }
  void TearDown() override { FRepository->Free(); }
  TdxResourceStringsRepository* FRepository = nullptr;
};

TEST_F(ResourceStrings, RegisteringTheSameProcedureTwiceRunsItOnce) {
  FRepository->RegisterProduct(L"Library", &FillDates);
  FRepository->RegisterProduct(L"Library", &FillDates);
  EXPECT_EQ(GFillCount, 1);
  ASSERT_EQ(FRepository->ProductsCount(), 1);
  EXPECT_EQ(FRepository->Products(0)->ResStringsCount(), 2);
}

TEST_F(ResourceStrings, ASecondProcedureRunsAtOnceAndKeepsBothSetsOfStrings) {
  FRepository->RegisterProduct(L"Library", &FillDates);
  FRepository->RegisterProduct(L"Library", &FillErrors);
  EXPECT_EQ(GFillCount, 2);
  TdxProductResourceStrings* product = FRepository->Products(0);
  // The identifier that differs only in case was ignored; the first stays.
  EXPECT_EQ(product->ResStringsCount(), 3);
  EXPECT_EQ(FRepository->GetOriginalValue(L"cxsdatetoday"), L"today");
  EXPECT_EQ(FRepository->GetOriginalValue(L"scxErrorStoreObject"), L"Error store %s object");
  EXPECT_EQ(FRepository->GetOriginalValue(L"unknown"), L"");
  // Sorted by identifier, ignoring case.
  EXPECT_EQ(product->Names(0), L"cxSDateToday");
  EXPECT_EQ(product->Names(1), L"cxSDateYesterday");
  EXPECT_EQ(product->Names(2), L"scxErrorStoreObject");
  EXPECT_EQ(product->GetIndexByName(L"SCXERRORSTOREOBJECT"), 2);
  EXPECT_EQ(product->GetIndexByName(L"scxErrorStore"), -1);
  EXPECT_EQ(product->Values(1), L"yesterday");
  EXPECT_THROW(product->Names(3), EListError);
}

TEST_F(ResourceStrings, ProductNamesAreCaseSensitive) {
  FRepository->RegisterProduct(L"Library", &FillDates);
  FRepository->RegisterProduct(L"library", &FillDates);
  EXPECT_EQ(FRepository->ProductsCount(), 2);
  EXPECT_EQ(FRepository->GetProductIndexByName(L"library"), 1);
  EXPECT_EQ(FRepository->GetProductIndexByName(L"LIBRARY"), -1);
}

TEST_F(ResourceStrings, UnRegisteringOneOfTwoProceduresKeepsTheProductAndItsStrings) {
  FRepository->RegisterProduct(L"Library", &FillDates);
  FRepository->RegisterProduct(L"Library", &FillErrors);
  FRepository->UnRegisterProduct(L"Library", &FillErrors);
  ASSERT_EQ(FRepository->ProductsCount(), 1);
  EXPECT_EQ(FRepository->Products(0)->ResStringsCount(), 3);
  FRepository->UnRegisterProduct(L"Library", &FillDates);  // none left: the product goes
  EXPECT_EQ(FRepository->ProductsCount(), 0);
  FRepository->UnRegisterProduct(L"Library");  // unknown now: nothing
}

TEST_F(ResourceStrings, UnRegisteringWithoutProcedureRemovesTheWholeProduct) {
  FRepository->RegisterProduct(L"Library", &FillDates);
  FRepository->RegisterProduct(L"Data", &FillErrors);
  FRepository->UnRegisterProduct(L"Library");
  ASSERT_EQ(FRepository->ProductsCount(), 1);
  EXPECT_EQ(FRepository->Products(0)->Name(), L"Data");
  // The first product holding an identifier answers.
  EXPECT_EQ(FRepository->GetOriginalValue(L"cxSDateToday"), L"TODAY (second registration)");
}

class TTranslationSpy : public TObject {
  SK_CLASS(TTranslationSpy, TObject)
 public:
  void Translate(const String& AName, PResStringRec AString) { Seen.emplace_back(AName, AString); }
  std::vector<std::pair<String, PResStringRec>> Seen;
};

TEST_F(ResourceStrings, TranslateAsksTheHandlerForEveryStringInOrder) {
  FRepository->RegisterProduct(L"Library", &FillDates);
  FRepository->RegisterProduct(L"Data", &FillErrors);
  FRepository->Translate();  // no handler: nothing
  TTranslationSpy* spy = New<TTranslationSpy>();
  FRepository->SetOnTranslateResString(BindEvent<&TTranslationSpy::Translate>(spy));
  FRepository->Translate();
  const std::vector<std::pair<String, PResStringRec>> expected = {
      {L"cxSDateToday", &sToday}, {L"cxSDateYesterday", &sYesterday},
      {L"CXSDATETODAY", &sTodayUpper}, {L"scxErrorStoreObject", &sError}};
  EXPECT_EQ(spy->Seen, expected);
  spy->Free();
}

class TListener : public TNoRefCount<TObject>, public IdxLocalizerListener {
 public:
  void TranslationChanged() override {
    GCalls.push_back(Name);
    if (RemoveFrom) RemoveFrom->RemoveListener(this);
  }
  std::string Name;
  TdxResourceStringsRepository* RemoveFrom = nullptr;
};

TEST_F(ResourceStrings, ListenersAreAddedOnceAndToldInOrder) {
  GCalls.clear();
  TListener a, b;
  a.Name = "a";
  b.Name = "b";
  a.RemoveFrom = FRepository;  // leaves while it is told
  FRepository->AddListener(&a);
  FRepository->AddListener(&b);
  FRepository->AddListener(&a);
  EXPECT_EQ(FRepository->ListenerCount(), 2);
  FRepository->NotifyListeners();
  EXPECT_EQ(GCalls, (Calls{"a", "b"}));
  FRepository->NotifyListeners();
  EXPECT_EQ(GCalls, (Calls{"a", "b", "b"}));
  FRepository->RemoveListener(&b);
  FRepository->RemoveListener(&b);
  EXPECT_EQ(FRepository->ListenerCount(), 0);
}

TEST(LoadLocalizedResString, WithoutTranslatorReturnsTheStoredText) {
  EXPECT_EQ(LoadLocalizedResString(&sToday), L"today");
  EXPECT_EQ(LoadLocalizedResString(nullptr), L"");
}

TEST(LoadLocalizedResString, AnInstalledTranslatorAnswersByTextOrByRecord) {
  InstallResourceStringTranslator(TdxResStringTranslatorMode::ByText, {{L"today", nullptr}}, {L"heute"});
  EXPECT_EQ(LoadLocalizedResString(&sToday), L"heute");
  EXPECT_EQ(LoadLocalizedResString(&sYesterday), L"yesterday");
  InstallResourceStringTranslator(TdxResStringTranslatorMode::ByRecord, {{L"", &sYesterday}}, {L"gestern"});
  EXPECT_EQ(LoadLocalizedResString(&sToday), L"today");
  EXPECT_EQ(LoadLocalizedResString(&sYesterday), L"gestern");
  DetachResourceStringTranslator();
  EXPECT_EQ(LoadLocalizedResString(&sYesterday), L"yesterday");
}

TEST(ResourceStringsRepository, TheProcessRepositoryExistsUntilShutDown) {
  TdxResourceStringsRepository* repository = GetResourceStringsRepository();
  ASSERT_NE(repository, nullptr);
  EXPECT_EQ(repository, GetResourceStringsRepository());
}

// ---------------------------------------------------------------------------
// Shut-down of the core unit

TEST(CoreUnit, AccessorsAnswerNilAfterShutDownAndRegisteredProceduresRun) {
  GCalls.clear();
  GetUnitsLoader()->AddUnit(&InitA, &FinA);
  ASSERT_NE(GetResourceStringsRepository(), nullptr);
  dxCoreFinalization();
  EXPECT_EQ(GCalls, (Calls{"init A", "fin A"}));
  EXPECT_EQ(GetUnitsLoader(), nullptr);
  EXPECT_EQ(GetResourceStringsRepository(), nullptr);
  EXPECT_EQ(GetGlobalObjectList(), nullptr);
  TTracked* object = New<TTracked>("object");
  ScheduleGlobalObjectFree(object);
  EXPECT_EQ(object, nullptr);
  dxCoreInitialization();
  EXPECT_NE(GetUnitsLoader(), nullptr);
  EXPECT_NE(GetResourceStringsRepository(), nullptr);
}

// ---------------------------------------------------------------------------
// Windows version flags

struct VersionCase {
  const char* Name;
  DWORD Platform, Major, Minor;
  DWORD BuildMajor, BuildMinor, Build;  // 0.0.0: RtlGetVersion not answered
  bool Server;
  // Expected flags.
  bool Win9X, WinNT, XPOrLater, VistaOrLater, SevenOrLater, Win8OrLater, Win10OrLater;
  bool B16299, B17064, B17762, B19041, Win11, ServerSeven;
};

class WindowsVersionFlags : public testing::TestWithParam<VersionCase> {
 protected:
  void TearDown() override { DetectWindowsVersion(); }
};

TEST_P(WindowsVersionFlags, FollowTheReportedVersion) {
  const VersionCase& c = GetParam();
  TdxWindowsVersion v;
  v.Platform = c.Platform;
  v.Major = c.Major;
  v.Minor = c.Minor;
  v.IsServer = c.Server;
  if (c.BuildMajor) {
    v.HasBuildVersion = true;
    v.BuildVersion.dwMajorVersion = c.BuildMajor;
    v.BuildVersion.dwMinorVersion = c.BuildMinor;
    v.BuildVersion.dwBuildNumber = c.Build;
  }
  SetWindowsVersionFlags(v);
  EXPECT_EQ(IsWin9X, c.Win9X);
  EXPECT_EQ(IsWinNT, c.WinNT);
  EXPECT_EQ(IsWinXPOrLater, c.XPOrLater);
  EXPECT_EQ(IsWinVistaOrLater, c.VistaOrLater);
  EXPECT_EQ(IsWinSevenOrLater, c.SevenOrLater);
  EXPECT_EQ(IsWin8OrLater, c.Win8OrLater);
  EXPECT_EQ(IsWin10OrLater, c.Win10OrLater);
  EXPECT_EQ(IsWin10Build16299, c.B16299);
  EXPECT_EQ(IsWin10Build17064OrLater, c.B17064);
  EXPECT_EQ(IsWin10Build17762OrLater, c.B17762);
  EXPECT_EQ(IsWin10Build19041OrLater, c.B19041);
  EXPECT_EQ(IsWin11OrLater, c.Win11);
  EXPECT_EQ(IsServerWinSevenOrLater, c.ServerSeven);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowsVersionFlags,
    testing::Values(
        //          name        pf maj min  build           srv   9x     nt    xp    vista  7      8      10     16299  17064  17762  19041  11     srv7
        VersionCase{"Win98", 1, 4, 10, 0, 0, 0, false, true, false, false, false, false, false, false, false, false, false, false, false, false},
        VersionCase{"Win2K", 2, 5, 0, 0, 0, 0, false, false, true, false, false, false, false, false, false, false, false, false, false, false},
        VersionCase{"WinXP", 2, 5, 1, 0, 0, 0, false, false, true, true, false, false, false, false, false, false, false, false, false, false},
        VersionCase{"Seven", 2, 6, 1, 0, 0, 0, true, false, true, true, true, true, false, false, false, false, false, false, false, true},
        VersionCase{"Win8", 2, 6, 2, 6, 2, 9200, false, false, true, true, true, true, true, false, false, false, false, false, false, false},
        VersionCase{"Win10_16299", 2, 6, 2, 10, 0, 16299, false, false, true, true, true, true, true, true, true, false, false, false, false, false},
        VersionCase{"Win10_19045", 2, 6, 2, 10, 0, 19045, false, false, true, true, true, true, true, true, false, true, true, true, false, false},
        VersionCase{"Win11_22621", 2, 10, 0, 10, 0, 22621, false, false, true, true, true, true, true, true, false, true, true, true, true, false},
        VersionCase{"Win8NoRtl", 2, 6, 3, 0, 0, 0, false, false, true, true, true, true, true, false, false, false, false, false, false, false}),
    [](const testing::TestParamInfo<VersionCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST(WindowsVersion, DetectionReadsThePinnedTestSystem) {
  DetectWindowsVersion();
  // The test prefix reports Windows 10.
  EXPECT_TRUE(IsWinNT);
  EXPECT_FALSE(IsWin9X);
  EXPECT_TRUE(IsWin8OrLater);
  EXPECT_TRUE(IsWin10OrLater);
  EXPECT_FALSE(IsWow64);  // a 64-bit process
  EXPECT_EQ(GetInvariantLocaleId(), static_cast<LCID>(LOCALE_INVARIANT));
}

TEST(WindowsVersion, IsVersionAtLeastComparesMajorMinorBuild) {
  RTL_OSVERSIONINFOEXW v{};
  v.dwMajorVersion = 10;
  v.dwMinorVersion = 0;
  v.dwBuildNumber = 19045;
  EXPECT_TRUE(IsVersionAtLeast(v, 10, 0, 19045));
  EXPECT_FALSE(IsVersionAtLeast(v, 10, 0, 19046));
  EXPECT_TRUE(IsVersionAtLeast(v, 6, 3, 99999));
  EXPECT_FALSE(IsVersionAtLeast(v, 10, 1, 0));
}

// ---------------------------------------------------------------------------
// Core routines

TEST(CoreRoutines, StripAccelerators) {
  struct Case {
    const wchar_t* Caption;
    bool ReplaceLast;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"&Open", false, L"Open"},         {L"Save && Exit", false, L"Save & Exit"},
      {L"E&xit&", true, L"Exit_"},        {L"E&xit&", false, L"Exit"},
      {L"A&&", true, L"A&"},              {L"&&&x", false, L"&x"},
      {L"", true, L""},                   {L"&", true, L"_"},
      {L"No marker", false, L"No marker"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.Caption) << " / " << c.ReplaceLast);
    EXPECT_EQ(StripAccelerators(c.Caption, c.ReplaceLast), c.Expected);
  }
}

TEST(CoreRoutines, IsSameTextFoldsOnlyAsciiCase) {
  EXPECT_TRUE(IsSameText(L"Hello World", L"hELLO wORLD"));
  EXPECT_FALSE(IsSameText(L"abc", L"abcd"));
  EXPECT_FALSE(IsSameText(L"\u00E4", L"\u00C4"));  // not ASCII
  EXPECT_FALSE(IsSameText(L"a[", L"A{"));           // [ and { are no letters
  EXPECT_TRUE(IsSameText(L"", L""));
}

TEST(CoreRoutines, ByteOrderAndKeys) {
  EXPECT_EQ(SwapWordBytes(0x1234), 0x3412);
  EXPECT_EQ(SwapLongBytes(0x12345678u), 0x78563412u);
  EXPECT_EQ(MakeInt64Key(5, 7), (std::int64_t{7} << 32) | 5);
  // The low half is sign-extended before the high half is or-ed in.
  EXPECT_EQ(MakeInt64Key(-1, 7), std::int64_t{-1});
  EXPECT_EQ(CompareIntegers(3, 9), -1);
  EXPECT_EQ(CompareIntegers(9, 3), 1);
  EXPECT_EQ(CompareIntegers(-4, -4), 0);
  EXPECT_TRUE(IsIntegerIdentifier(reinterpret_cast<const void*>(0xFFFF)));
  EXPECT_FALSE(IsIntegerIdentifier(reinterpret_cast<const void*>(0x10000)));
  int a = 1, b = 2;
  ExchangeValues(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
}

TEST(CoreRoutines, AnsiConversions) {
  EXPECT_EQ(ConvertAnsiToUnicode("\xC4pfel", 1252), L"\u00C4pfel");
  EXPECT_EQ(ConvertUnicodeToAnsi(L"\u00C4pfel", 1252), "\xC4pfel");
  EXPECT_EQ(ConvertAnsiToUnicode("\xC3\x84pfel", CP_UTF8), L"\u00C4pfel");
  EXPECT_EQ(ConvertUnicodeToAnsi(L"\u20AC", CP_UTF8), "\xE2\x82\xAC");
  EXPECT_EQ(ConvertAnsiToUnicode("", 1252), L"");
  EXPECT_EQ(ConvertUnicodeToAnsi(L"", CP_UTF8), "");
  EXPECT_EQ(ReplaceAnsiChar("a.b.c", '.', ','), "a,b,c");
  EXPECT_EQ(ReplaceAnsiChar("a.b", '.', '.'), "a.b");
}

TEST(CoreRoutines, CharacterClasses) {
  EXPECT_TRUE(IsAlphaChar(L'\u00E4'));
  EXPECT_FALSE(IsAlphaChar(L'1'));
  EXPECT_TRUE(IsDigitChar(L'7'));
  EXPECT_FALSE(IsDigitChar(L'x'));
  EXPECT_TRUE(IsLowerChar(L'\u00E4'));
  EXPECT_FALSE(IsLowerChar(L'\u00C4'));
  EXPECT_EQ(LowerCaseChar(L'\u00C4'), L'\u00E4');
  EXPECT_EQ(LowerCaseChar(L'1'), L'1');
  const TSysCharSet digits = TSysCharSet().IncludeRange('0', '9');
  EXPECT_TRUE(IsCharInSet(L'5', digits));
  EXPECT_FALSE(IsCharInSet(L'a', digits));
  EXPECT_FALSE(IsCharInSet(static_cast<wchar_t>(0x0135), TSysCharSet("5")));  // low byte is '5'
  EXPECT_TRUE(IsCharInSet(L'\u00FF', TSysCharSet("\xFF")));
}

TEST(CoreRoutines, LocaleInfoTextHasNoTerminatorAndFallsBack) {
  EXPECT_EQ(GetLocaleInfoText(MAKELCID(0x0407, SORT_DEFAULT), LOCALE_SDECIMAL), L",");
  EXPECT_EQ(GetLocaleInfoText(MAKELCID(0x0407, SORT_DEFAULT), 0xFFFF, L"none"), L"none");
}

TEST(CoreRoutines, InvariantSettingsAndSeparators) {
  EXPECT_EQ(InvariantFormatSettings.DecimalSeparator, L'.');
  EXPECT_EQ(InvariantFormatSettings.ThousandSeparator, L',');
  EXPECT_DOUBLE_EQ(StrToFloatWithSeparator(L"1,5", L','), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloatWithSeparator(L"-2.25E1", L'.'), -22.5);
  EXPECT_THROW(StrToFloatWithSeparator(L"1.5", L','), EConvertError);
  EXPECT_THROW(StrToFloatWithSeparator(L"1,000.5", L'.'), EConvertError);  // no thousands
  EXPECT_DOUBLE_EQ(StrToFloatDefWithSeparator(L"x", L'.', 7.0), 7.0);
  EXPECT_EQ(FloatToStrWithSeparator(2.25, L','), L"2,25");
  EXPECT_EQ(FloatToStrWithSeparator(1234567.5, L'.'), L"1234567.5");
}

TEST(CoreRoutines, VariantsToText) {
  const Variant bytes = VarArrayOf({Variant(static_cast<unsigned char>(0xC4)), Variant(static_cast<unsigned char>('B'))});
  EXPECT_EQ(ConvertVariantToAnsi(bytes), "\xC4" "B");
  EXPECT_EQ(ConvertVariantToAnsi(Variant(RawByteString("raw\x01"))), "raw\x01");
  EXPECT_EQ(ConvertVariantToAnsi(Variant(42)), "42");
  EXPECT_EQ(ConvertVariantToUnicode(Variant(String(L"\u20AC text"))), L"\u20AC text");
  // Bytes are decoded from the ANSI code page of the test system (1252).
  EXPECT_EQ(ConvertVariantToUnicode(bytes), L"\u00C4" L"B");
  EXPECT_TRUE(IsVariantTextOrBytes(bytes));
  EXPECT_TRUE(IsVariantTextOrBytes(Variant(String(L"x"))));
  EXPECT_FALSE(IsVariantTextOrBytes(Variant(1.5)));
  EXPECT_FALSE(IsVariantTextOrBytes(VarArrayCreate({0, 1, 0, 1}, varVariant)));  // two dimensions
}

TEST(CoreRoutines, StreamsToGlobalMemoryAndIntegers) {
  const TOwned<TMemoryStream> owned(New<TMemoryStream>());
  TMemoryStream* stream = owned.get();
  EXPECT_EQ(CopyStreamToGlobalMemory(nullptr), nullptr);
  EXPECT_EQ(CopyStreamToGlobalMemory(stream), nullptr);
  WriteInt32ToStream(stream, 0x12345678);
  WriteInt32ToStream(stream, -2);
  ASSERT_EQ(stream->Size(), 8);
  const std::uint8_t expected[8] = {0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(stream->Memory(), expected, 8), 0);
  const TGlobalMemory block(CopyStreamToGlobalMemory(stream));
  ASSERT_TRUE(block);
  const TGlobalLock data(block.Get());
  EXPECT_GE(data.Size(), 8u);
  EXPECT_EQ(std::memcmp(data.Data(), expected, 8), 0);
}

TEST(CoreRoutines, SafeCast) {
  TComponent* component = New<TComponent>(nullptr);
  TObject* object = component;
  TPersistent* persistent = nullptr;
  EXPECT_TRUE(Safe::Cast(object, persistent));
  EXPECT_EQ(persistent, component);
  TdxUnitsLoader* loader = reinterpret_cast<TdxUnitsLoader*>(1);
  EXPECT_FALSE(Safe::Cast(object, loader));
  EXPECT_EQ(loader, nullptr);
  TObject* result = object;
  EXPECT_FALSE(Safe::Cast(nullptr, TObject::ClassInfo(), result));
  EXPECT_EQ(result, nullptr);
  component->Free();
}

}  // namespace
