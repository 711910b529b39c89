// The fuzzing driver of the windowless scroll bar (ScrollBarFuzz.cpp), listed
// in the folder's table (ControlsFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Scroll parameters over the whole Integer range, each set followed by a
// thumb drag to random points and steps by code: refused sets leave the bar
// as it was, and the position stays within Min..Max.
std::vector<std::string> ScrollParamsSeeds();
void RunScrollParams(const std::string& AInput);
// Parameters over the whole Integer range (pages beyond the range, with and
// without show and hide) given to a control's main bars, each set followed
// by a thumb drag, gesture pixels and wheel notches: invalid data leaves a
// bar as it was, and every position stays within Min..Max.
std::vector<std::string> MainScrollBarsSeeds();
void RunMainScrollBars(const std::string& AInput);
