#include "library/stdctrls/dxIncrementalSearch.h"

void TdxIncrementalSearchController::Create() {
  inherited::Create();
  FAutoCompleteDelay = 1000;
  FTickCount = [] { return GetTickCount(); };
}

bool TdxIncrementalSearchController::ProcessChar(wchar_t AChar) {
  const DWORD now = FTickCount();
  // Unsigned difference: right across the tick count's wrap-around.
  if (now - FLastCharTime > FAutoCompleteDelay) ClearIncrementalSearch();
  FLastCharTime = now;
  FSearchText += AChar;
  if (FSearchText.size() == 2 && FSearchText[0] == FSearchText[1])
    FIsRepeat = true;
  else if (FIsRepeat && AChar != FSearchText[0])
    FIsRepeat = false;
  return Search(FSearchText);
}

void TdxIncrementalSearchController::ClearIncrementalSearch() {
  FSearchText.clear();
  FIsRepeat = false;
}

void TdxIncrementalSearchController::HandleKeyDown(WORD& AKey) {
  ClearIncrementalSearch();
  AKey = 0;
}

void TdxIncrementalSearchController::HandleKeyPress(wchar_t& AKey) {
  if (HandleChar(AKey)) AKey = 0;
}
