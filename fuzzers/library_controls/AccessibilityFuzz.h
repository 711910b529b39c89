// The fuzzing driver of the accessibility node (AccessibilityFuzz.cpp),
// listed in the folder's table (ControlsFuzz.cpp).
#pragma once

#include <string>
#include <vector>

// Random calls at a node with simple children, some of whose answers raise:
// child identifiers over the whole Integer range, every VARIANT type, each
// navigation direction, calls after the owner is gone. Every call answers an
// HRESULT of the node's set, and after the owner is gone DISP_E_MEMBERNOTFOUND.
std::vector<std::string> AccessibilitySeeds();
void RunAccessibility(const std::string& AInput);
