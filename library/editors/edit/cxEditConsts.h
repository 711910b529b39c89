// The editors' resource strings: the texts of the masks, the regular-expression
// engine and the spin editor. Read a text through LoadLocalizedResString at the
// moment it is shown.
//
// These records are not registered with the resource-string repository:
// the editors register their set there as a whole, so until the editors exist
// the texts are read as their defaults.
#pragma once

#include "library/core/base/dxCore.h"

extern const TResStringRec scxRegExprLine;
extern const TResStringRec scxRegExprChar;
extern const TResStringRec scxRegExprNotAssignedSourceStream;
extern const TResStringRec scxRegExprEmptySourceStream;
extern const TResStringRec scxRegExprCantUsePlusQuantifier;
extern const TResStringRec scxRegExprCantUseStarQuantifier;
extern const TResStringRec scxRegExprCantCreateEmptyAlt;
extern const TResStringRec scxRegExprCantCreateEmptyBlock;
extern const TResStringRec scxRegExprIllegalSymbol;
extern const TResStringRec scxRegExprIllegalQuantifier;
extern const TResStringRec scxRegExprIllegalIntegerValue;
extern const TResStringRec scxRegExprTooBigReferenceNumber;
extern const TResStringRec scxRegExprCantCreateEmptyEnum;
extern const TResStringRec scxRegExprSubrangeOrder;
extern const TResStringRec scxRegExprHexNumberExpected0;
extern const TResStringRec scxRegExprHexNumberExpected;
extern const TResStringRec scxRegExprMissing;
extern const TResStringRec scxRegExprUnnecessary;
extern const TResStringRec scxRegExprIncorrectSpace;
extern const TResStringRec scxRegExprNotCompiled;
extern const TResStringRec scxRegExprIncorrectParameterQuantifier;
extern const TResStringRec scxRegExprCantUseParameterQuantifier;
extern const TResStringRec scxMaskEditRegExprError;
extern const TResStringRec scxMaskEditInvalidEditValue;
extern const TResStringRec cxSSpinEditInvalidNumericValue;

// Editor model texts (ed1).
extern const TResStringRec cxSEditInvalidRepositoryItem;
extern const TResStringRec cxSEditValidateErrorText;
