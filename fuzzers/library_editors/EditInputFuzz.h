// The fuzzing driver of the editor's keyboard, mouse and focus processing
// (EditInputFuzz.cpp), listed in the folder's table (MaskFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Random keys with random modifiers, characters, clicks and double clicks
// on the buttons and the text, accelerators, clipboard messages, wheel
// turns and focus moves at an editor with buttons that validates, reverts
// on Escape and rejects some values: no exception but the validation
// error reaches the application, and after each sequence the user-action
// counters are 0, no modified state is left saved and no exit is running.
std::vector<std::string> EditInputSeeds();
void RunEditInput(const std::string& AInput);
