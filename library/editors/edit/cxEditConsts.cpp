#include "library/editors/edit/cxEditConsts.h"

constinit const TResStringRec scxRegExprLine = {L"Line"};
constinit const TResStringRec scxRegExprChar = {L"Char"};
constinit const TResStringRec scxRegExprNotAssignedSourceStream = {L"The source stream is not assigned"};
constinit const TResStringRec scxRegExprEmptySourceStream = {L"The source stream is empty"};
constinit const TResStringRec scxRegExprCantUsePlusQuantifier = {L"The '+' quantifier cannot be applied here"};
constinit const TResStringRec scxRegExprCantUseStarQuantifier = {L"The '*' quantifier cannot be applied here"};
constinit const TResStringRec scxRegExprCantCreateEmptyAlt = {L"The alternative should not be empty"};
constinit const TResStringRec scxRegExprCantCreateEmptyBlock = {L"The block should not be empty"};
constinit const TResStringRec scxRegExprIllegalSymbol = {L"Illegal '%s'"};
constinit const TResStringRec scxRegExprIllegalQuantifier = {L"Illegal quantifier '%s'"};
constinit const TResStringRec scxRegExprIllegalIntegerValue = {L"Illegal integer value"};
constinit const TResStringRec scxRegExprTooBigReferenceNumber = {L"Too big reference number"};
constinit const TResStringRec scxRegExprCantCreateEmptyEnum = {L"Can't create empty enumeration"};
constinit const TResStringRec scxRegExprSubrangeOrder = {
    L"The starting character of the subrange must be less than the finishing one"};
constinit const TResStringRec scxRegExprHexNumberExpected0 = {L"Hexadecimal number expected"};
constinit const TResStringRec scxRegExprHexNumberExpected = {L"Hexadecimal number expected but '%s' found"};
constinit const TResStringRec scxRegExprMissing = {L"Missing '%s'"};
constinit const TResStringRec scxRegExprUnnecessary = {L"Unnecessary '%s'"};
constinit const TResStringRec scxRegExprIncorrectSpace = {L"The space character is not allowed after '\\'"};
constinit const TResStringRec scxRegExprNotCompiled = {L"Regular expression is not compiled"};
constinit const TResStringRec scxRegExprIncorrectParameterQuantifier = {L"Incorrect parameter quantifier"};
constinit const TResStringRec scxRegExprCantUseParameterQuantifier = {
    L"The parameter quantifier cannot be applied here"};
constinit const TResStringRec scxMaskEditRegExprError = {L"Regular expression errors:"};
constinit const TResStringRec scxMaskEditInvalidEditValue = {L"The edit value is invalid"};
constinit const TResStringRec cxSSpinEditInvalidNumericValue = {L"Invalid numeric value"};

// Editor model texts (ed1).
constinit const TResStringRec cxSEditInvalidRepositoryItem = {L"The repository item is not acceptable"};
constinit const TResStringRec cxSEditValidateErrorText = {L"Invalid input value. Use escape key to abandon changes"};
