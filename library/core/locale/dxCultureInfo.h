// Culture names: Windows language and locale identifiers to the language
// tags of cultures ("en-US", "zh-Hans"), for library code that works with
// culture names. Built once at start-up and freed at shut-down.
//
// Classes in this file:
//   TdxCultureNameDictionary   identifier to culture name
#pragma once

#include "library/core/base/dxCore.h"

#include <unordered_map>

// Identifiers to culture names; adding an identifier twice raises EListError.
class TdxCultureNameDictionary : public TObject {
  SK_CLASS(TdxCultureNameDictionary, TObject)
 public:
  void Add(int AKey, const String& AValue);
  bool TryGetValue(int AKey, String& AValue) const;
  bool ContainsKey(int AKey) const { return FItems.contains(AKey); }
  int Count() const { return static_cast<int>(FItems.size()); }

 private:
  std::unordered_map<int, String> FItems;
};

// The dictionary: 376 entries, keyed by primary language identifiers (1 to
// 146; 127, the invariant locale, maps to the empty name), full locale
// identifiers (from 0x0401 on) and the neutral identifiers of script and
// language groups (0x701A to 0x7C92). Nil outside start-up and shut-down.
TdxCultureNameDictionary* CultureNames();
// Creates the dictionary and adds every entry in ascending order.
void RegisterCultureNames();
void FreeCultureNames();

void dxCultureInfoInitialization();
void dxCultureInfoFinalization();
