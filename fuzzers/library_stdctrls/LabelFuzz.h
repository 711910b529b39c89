// The label driver of the standard controls' fuzzer:
//   label-settings  random angles over the whole Integer range, depths up to
//                   1000 with every effect and orientation, the four styles,
//                   captions with accelerators and line breaks, TrueType and
//                   raster faces at sizes from tiny to huge, wrapping, end
//                   ellipsis, the line, a picture fill, rescaling and sizes
//                   0..2000; after each setting the label is painted into a
//                   DIB, and its text and line rectangles must stay finite.
#pragma once

#include <string>
#include <vector>

class TForm;

std::vector<std::string> LabelSettingsSeeds();
void RunLabelSettings(const std::string& AInput, TForm* AForm);
