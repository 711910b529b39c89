// The fuzzing driver of popup placement (PopupPlacementFuzz.cpp), listed in
// the folder's table (ControlsFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Random owner rectangles (partly or wholly off every monitor, empty or
// inside out), sizes up to twice the screen, directions and alignments: a
// popup opened there and no larger than a work area lies inside one.
std::vector<std::string> PopupPlacementSeeds();
void RunPopupPlacement(const std::string& AInput);
