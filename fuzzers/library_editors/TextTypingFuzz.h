// The fuzzing driver of a text editor's typing rules (TextTypingFuzz.cpp),
// listed in the folder's table (MaskFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Random typing sequences (characters, Backspace, Delete, arrows, Home,
// End, pages, select-all, cut and paste) at a text editor in each of the
// four editing styles over the baud-rate and port items: in the two list
// styles the text is always empty, an item or an item's prefix, and the
// current item is the one the text begins.
std::vector<std::string> TextTypingSeeds();
void RunTextTyping(const std::string& AInput);
