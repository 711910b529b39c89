// The fuzzing driver of the text editors' numeric display and edit formats
// (TextFormatFuzz.cpp), listed in the folder's table (MaskFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// A random DisplayFormat and EditFormat (the first two lines of the input)
// applied to values made of the rest (doubles of any bit pattern, integers,
// texts), focused and unfocused, with and without the display format while
// editing: the only exception allowed is the conversion error of a value
// that is no number.
std::vector<std::string> TextFormatSeeds();
void RunTextFormat(const std::string& AInput);
