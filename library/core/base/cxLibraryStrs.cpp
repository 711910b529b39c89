#include "library/core/base/cxLibraryStrs.h"

constinit const TResStringRec scxCantCreateRegistryKey = {L"Can't create the registry key: \\%s"};
constinit const TResStringRec scxCantOpenRegistryKey = {L"Can't open the registry key: \\%s"};
constinit const TResStringRec scxErrorStoreObject = {L"Error store %s object"};
constinit const TResStringRec scxConverterCantCreateStyleRepository = {L"Can't create the Style Repository"};
constinit const TResStringRec scxBuiltInLookAndFeelStyles = {L"Built-In Look && Feel Styles"};
constinit const TResStringRec scxLockedStateText = {L"Please wait..."};
constinit const TResStringRec cxSDateToday = {L"today"};
constinit const TResStringRec cxSDateYesterday = {L"yesterday"};
constinit const TResStringRec cxSDateTomorrow = {L"tomorrow"};
constinit const TResStringRec cxSDateSunday = {L"Sunday"};
constinit const TResStringRec cxSDateMonday = {L"Monday"};
constinit const TResStringRec cxSDateTuesday = {L"Tuesday"};
constinit const TResStringRec cxSDateWednesday = {L"Wednesday"};
constinit const TResStringRec cxSDateThursday = {L"Thursday"};
constinit const TResStringRec cxSDateFriday = {L"Friday"};
constinit const TResStringRec cxSDateSaturday = {L"Saturday"};
constinit const TResStringRec cxSDateFirst = {L"first"};
constinit const TResStringRec cxSDateSecond = {L"second"};
constinit const TResStringRec cxSDateThird = {L"third"};
constinit const TResStringRec cxSDateFourth = {L"fourth"};
constinit const TResStringRec cxSDateFifth = {L"fifth"};
constinit const TResStringRec cxSDateSixth = {L"sixth"};
constinit const TResStringRec cxSDateSeventh = {L"seventh"};
constinit const TResStringRec cxSDateBOM = {L"bom"};
constinit const TResStringRec cxSDateEOM = {L"eom"};
constinit const TResStringRec cxSDateNow = {L"now"};
constinit const TResStringRec scxQuickCustomizationAllCommandCaption = {L"(All)"};
constinit const TResStringRec scxQuickCustomizationSortedCommandCaption = {L"(Sorted)"};

const wchar_t* const LibraryProductName = L"cxLibrary";

namespace {

constexpr TdxResourceStringName LibraryNames[] = {
    {L"scxCantCreateRegistryKey", &scxCantCreateRegistryKey},
    {L"scxCantOpenRegistryKey", &scxCantOpenRegistryKey},
    {L"scxErrorStoreObject", &scxErrorStoreObject},
    {L"scxConverterCantCreateStyleRepository", &scxConverterCantCreateStyleRepository},
    {L"scxBuiltInLookAndFeelStyles", &scxBuiltInLookAndFeelStyles},
    {L"scxLockedStateText", &scxLockedStateText},
    {L"cxSDateToday", &cxSDateToday},
    {L"cxSDateYesterday", &cxSDateYesterday},
    {L"cxSDateTomorrow", &cxSDateTomorrow},
    {L"cxSDateSunday", &cxSDateSunday},
    {L"cxSDateMonday", &cxSDateMonday},
    {L"cxSDateTuesday", &cxSDateTuesday},
    {L"cxSDateWednesday", &cxSDateWednesday},
    {L"cxSDateThursday", &cxSDateThursday},
    {L"cxSDateFriday", &cxSDateFriday},
    {L"cxSDateSaturday", &cxSDateSaturday},
    {L"cxSDateFirst", &cxSDateFirst},
    {L"cxSDateSecond", &cxSDateSecond},
    {L"cxSDateThird", &cxSDateThird},
    {L"cxSDateFourth", &cxSDateFourth},
    {L"cxSDateFifth", &cxSDateFifth},
    {L"cxSDateSixth", &cxSDateSixth},
    {L"cxSDateSeventh", &cxSDateSeventh},
    {L"cxSDateBOM", &cxSDateBOM},
    {L"cxSDateEOM", &cxSDateEOM},
    {L"cxSDateNow", &cxSDateNow},
    {L"scxQuickCustomizationAllCommandCaption", &scxQuickCustomizationAllCommandCaption},
    {L"scxQuickCustomizationSortedCommandCaption", &scxQuickCustomizationSortedCommandCaption},
};

void AddLibraryResourceStringNames(TdxProductResourceStrings* AProduct) { AddResourceStringNames(AProduct, LibraryNames); }

}  // namespace

void cxLibraryStrsInitialization() { RegisterResourceStringsProduct(LibraryProductName, &AddLibraryResourceStringNames); }
void cxLibraryStrsFinalization() { UnregisterResourceStringsProduct(LibraryProductName); }
