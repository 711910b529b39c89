// Fuzzing driver of the image list's "DXIL" stream (ImageListFuzz.cpp).
#pragma once

#include "fuzzers/support/FuzzMain.h"

void ImageListStreamInput(const std::string& AInput);
std::vector<std::string> ImageListStreamSeeds();
// Form text of an image list, read, written and read back.
void ImageListFormInput(const std::string& AInput);
std::vector<std::string> ImageListFormSeeds();
