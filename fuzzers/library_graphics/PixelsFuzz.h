// Fuzzing drivers of the pixel buffers (PixelsFuzz.cpp): smooth resizing of
// arbitrary sizes, kernels and pixel arrays, and flood fills of arbitrary
// pictures, tolerances and seeds.
#pragma once

#include "fuzzers/support/FuzzMain.h"

void SmoothResizeInput(const std::string& AInput);
std::vector<std::string> SmoothResizeSeeds();
void FloodFillInput(const std::string& AInput);
std::vector<std::string> FloodFillSeeds();
