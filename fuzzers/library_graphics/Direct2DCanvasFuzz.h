// Fuzzing driver of the Direct2D canvas (Direct2DCanvasFuzz.cpp): scripts of
// canvas operations drawn into an off-screen target, every draw ending
// without a Direct2D error.
#pragma once

#include "fuzzers/support/FuzzMain.h"

void Direct2DCanvasScript(const std::string& AInput);
std::vector<std::string> Direct2DCanvasSeeds();
// Frees the canvas and its device chain while the Direct2D units still run.
void Direct2DCanvasFuzzDone();
