// Changing the system colours for the length of a scope. SetSysColors is
// global to the Wine session and broadcasts WM_SYSCOLORCHANGE both when the
// colours change and when they are put back; other test programs see the
// change too. Test programs that use this hold ctest's gdi_objects lock, as do
// the programs that compare pixels with system colours.
#pragma once

#include "platform/runtime/WinApi.h"

#include <initializer_list>
#include <vector>

class TSystemColorsChange {
 public:
  struct TEntry {
    int Index;  // COLOR_xxx
    COLORREF Color;
  };

  explicit TSystemColorsChange(std::initializer_list<TEntry> AEntries) {
    std::vector<COLORREF> colors;
    for (const TEntry& e : AEntries) {
      FIndexes.push_back(e.Index);
      FOld.push_back(GetSysColor(e.Index));
      colors.push_back(e.Color);
    }
    SetSysColors(static_cast<int>(FIndexes.size()), FIndexes.data(), colors.data());
  }
  ~TSystemColorsChange() { SetSysColors(static_cast<int>(FIndexes.size()), FIndexes.data(), FOld.data()); }
  TSystemColorsChange(const TSystemColorsChange&) = delete;
  TSystemColorsChange& operator=(const TSystemColorsChange&) = delete;

 private:
  std::vector<INT> FIndexes;
  std::vector<COLORREF> FOld;
};
