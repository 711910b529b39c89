// Small value types shared by forms, buttons and dialogs.
//
// Contents:
//   TModalResult, mrNone ... mrYesToAll   the answer of a modal form or dialog
//   TAlignment, TLeftRight                horizontal alignment of text
//
// The values of mrOk to mrHelp equal the Windows dialog ids IDOK to IDHELP,
// so a dialog button's control id can be its modal result.
#pragma once

#include "platform/runtime/System.h"

using TModalResult = int;

inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;        // IDOK
inline constexpr TModalResult mrCancel = 2;    // IDCANCEL
inline constexpr TModalResult mrAbort = 3;     // IDABORT
inline constexpr TModalResult mrRetry = 4;     // IDRETRY
inline constexpr TModalResult mrIgnore = 5;    // IDIGNORE
inline constexpr TModalResult mrYes = 6;       // IDYES
inline constexpr TModalResult mrNo = 7;        // IDNO
inline constexpr TModalResult mrClose = 8;     // IDCLOSE
inline constexpr TModalResult mrHelp = 9;      // IDHELP
inline constexpr TModalResult mrTryAgain = 10; // IDTRYAGAIN
inline constexpr TModalResult mrContinue = 11; // IDCONTINUE
inline constexpr TModalResult mrAll = mrContinue + 1;
inline constexpr TModalResult mrNoToAll = mrAll + 1;
inline constexpr TModalResult mrYesToAll = mrNoToAll + 1;

// ---------------------------------------------------------------------------
// Horizontal alignment of text in a control

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
template <>
struct TEnumInfo<TAlignment> {
  static constexpr const wchar_t* Name = L"TAlignment";
  static constexpr const wchar_t* Names[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
  static constexpr TAlignment Last = taCenter;
};
// Left or right only (check boxes and radio buttons: the side of the text).
using TLeftRight = TAlignment;
