// The fuzzing driver of the masked editor's typing (MaskTypingFuzz.cpp),
// listed in the folder's table (MaskFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Random key sequences (characters, Backspace, Delete, arrows, Home, End,
// Ctrl and Shift combinations, selections, cut and paste) at a focused
// masked editor with a random classic mask or pattern in each mask kind: no
// exception reaches the application; after every key a classic mask's text
// keeps the mask's length, and a pattern mode's head and tail together are
// the editor's text.
std::vector<std::string> MaskTypingSeeds();
void RunMaskTyping(const std::string& AInput);
