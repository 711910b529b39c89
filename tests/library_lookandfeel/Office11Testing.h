// Shared pieces of the Office11 tests: theme names chosen by the test.
#pragma once

#include "library/lookandfeel/painters/dxOffice11.h"

// Answers the theme names a test chooses, until the test ends; the colour
// set is refreshed on both ends.
class TThemeNames {
 public:
  TThemeNames(const String& AFile, const String& AScheme) {
    SetOffice11ThemeNameProbe([=](String& F, String& S) {
      F = AFile;
      S = AScheme;
      return true;
    });
    RefreshOffice11Colors();
  }
  ~TThemeNames() {
    SetOffice11ThemeNameProbe(nullptr);
    RefreshOffice11Colors();
  }
  TThemeNames(const TThemeNames&) = delete;
  TThemeNames& operator=(const TThemeNames&) = delete;
};
