// Fuzzing drivers of the compressed bitmap form data (BitmapDataFuzz.cpp):
// any bytes read as a TcxBitmap's form data, and any payload decoded.
#pragma once

#include "fuzzers/support/FuzzMain.h"

void BitmapFormDataInput(const std::string& AInput);
std::vector<std::string> BitmapFormDataSeeds();
void BitmapPayloadInput(const std::string& AInput);
std::vector<std::string> BitmapPayloadSeeds();
