// Fuzzing driver of the SVG import (SVGFuzz.cpp): mutated SVG files from
// librsvg's test fixtures (crash, render-crash and reference tests, read
// from Debian's librsvg2-tests folder) are sized, loaded through the SVG
// codec, written and read back, and rasterised at small sizes; memory must
// stay bounded.
#pragma once

#include "fuzzers/support/FuzzMain.h"

void SVGImportInput(const std::string& AInput);
std::vector<std::string> SVGImportSeeds();
