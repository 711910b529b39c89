// Type-ahead: characters typed in quick succession become one search text,
// and the owner selects the first item that matches it.
#pragma once

#include "platform/runtime/System.h"

#include <functional>

class TdxIncrementalSearchController : public TObject {
  SK_CLASS(TdxIncrementalSearchController, TObject)
 public:
  virtual void Create();

  // Milliseconds after which the next character starts a new text; 1000.
  unsigned AutoCompleteDelay() const { return FAutoCompleteDelay; }
  void SetAutoCompleteDelay(unsigned AValue) { FAutoCompleteDelay = AValue; }
  // The text so far consists of one character typed twice.
  bool IsRepeat() const { return FIsRepeat; }
  const String& SearchText() const { return FSearchText; }
  void SetSearchText(const String& AValue) { FSearchText = AValue; }
  // The millisecond tick count; tests put their own clock in.
  void SetTickCount(std::function<DWORD()> AValue) { FTickCount = std::move(AValue); }

  virtual bool CanProcessChar(wchar_t AChar) { return IsSearchChar(AChar); }
  // Adds the character and searches; whether an item was found.
  virtual bool ProcessChar(wchar_t AChar);
  virtual bool IsSearchChar(wchar_t AChar) { return AChar > 31; }
  virtual bool HandleChar(wchar_t AChar) { return CanProcessChar(AChar) && ProcessChar(AChar); }
  virtual void ClearIncrementalSearch();

  // A navigation key ends the search and is consumed.
  void HandleKeyDown(WORD& AKey);
  // A character that found an item is consumed.
  void HandleKeyPress(wchar_t& AKey);
  void HandleMouseDown() { ClearIncrementalSearch(); }

 protected:
  virtual bool Search(const String& AText) = 0;

 private:
  unsigned FAutoCompleteDelay;
  bool FIsRepeat;
  String FSearchText;
  DWORD FLastCharTime;
  std::function<DWORD()> FTickCount;
};
