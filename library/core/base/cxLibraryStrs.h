// The library's own texts: registry and style-repository errors, the
// built-in look-and-feel group caption, the locked-state text, the
// smart-input date keywords and two quick-customization captions.
//
// Each identifier names a resource string of the program; the unit's
// start-up registers them with the resource-string repository under the
// product "cxLibrary" (in this order), and its shut-down removes that
// product. Read a text through LoadLocalizedResString.
// The smart-input keywords (cxSDateToday to cxSDateNow) are read by the
// date utilities.
#pragma once

#include "library/core/base/dxCore.h"

extern const TResStringRec scxCantCreateRegistryKey;
extern const TResStringRec scxCantOpenRegistryKey;
extern const TResStringRec scxErrorStoreObject;
extern const TResStringRec scxConverterCantCreateStyleRepository;
extern const TResStringRec scxBuiltInLookAndFeelStyles;
extern const TResStringRec scxLockedStateText;
extern const TResStringRec cxSDateToday;
extern const TResStringRec cxSDateYesterday;
extern const TResStringRec cxSDateTomorrow;
extern const TResStringRec cxSDateSunday;
extern const TResStringRec cxSDateMonday;
extern const TResStringRec cxSDateTuesday;
extern const TResStringRec cxSDateWednesday;
extern const TResStringRec cxSDateThursday;
extern const TResStringRec cxSDateFriday;
extern const TResStringRec cxSDateSaturday;
extern const TResStringRec cxSDateFirst;
extern const TResStringRec cxSDateSecond;
extern const TResStringRec cxSDateThird;
extern const TResStringRec cxSDateFourth;
extern const TResStringRec cxSDateFifth;
extern const TResStringRec cxSDateSixth;
extern const TResStringRec cxSDateSeventh;
extern const TResStringRec cxSDateBOM;
extern const TResStringRec cxSDateEOM;
extern const TResStringRec cxSDateNow;
extern const TResStringRec scxQuickCustomizationAllCommandCaption;
extern const TResStringRec scxQuickCustomizationSortedCommandCaption;

// The product name under which the strings are registered.
extern const wchar_t* const LibraryProductName;

void cxLibraryStrsInitialization();
void cxLibraryStrsFinalization();
