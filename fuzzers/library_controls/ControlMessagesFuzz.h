// The fuzzing driver of the base control (ControlMessagesFuzz.cpp), listed
// in the folder's table (ControlsFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Random messages (mouse, wheel deltas to +-32,768, capture, focus, cancel
// mode, the control's private messages) at a control with mouse tracking
// and a drag under way: no crash, and no GDI object left behind.
std::vector<std::string> ControlMessagesSeeds();
void RunControlMessages(const std::string& AInput);
