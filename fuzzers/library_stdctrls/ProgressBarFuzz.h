// The progress-bar driver of the standard controls' fuzzer:
//   progressbar-settings  random ranges, positions, overload and peak values
//                   (NaN, infinities, +-1e308, subnormals and raw bits),
//                   string values, sizes 0..2000, every bar style, both
//                   orientations, marquee and text settings; after each
//                   setting the bar is laid out and painted into a DIB, and
//                   its rectangles must stay inside the content.
#pragma once

#include <string>
#include <vector>

class TForm;

std::vector<std::string> ProgressBarSettingsSeeds();
void RunProgressBarSettings(const std::string& AInput, TForm* AForm);
