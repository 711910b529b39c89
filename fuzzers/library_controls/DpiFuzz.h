// The fuzzing driver of the DPI-aware form (DpiFuzz.cpp), listed in the
// folder's table (ControlsFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// One WM_DPICHANGED per input, with a DPI of any kind (0, inside 30..480,
// beyond 480) and a suggested rectangle of any shape, to a shown form that
// holds frames, one inside another: no scale change is left open, a DPI
// outside the range changes nothing, and after one inside it the form, its
// scale factor and every frame are at that DPI.
std::vector<std::string> DpiChangeSeeds();
void RunDpiChange(const std::string& AInput);
