// The fuzzing driver of the item list's accessibility node (ListBoxFuzz.cpp),
// listed in the folder's table (ButtonsFuzz.cpp).
#pragma once

#include <string>
#include <vector>

class TWinControl;

// Random MSAA calls at the node of a self-drawn item list whose items come
// and go between the calls: child identifiers over the whole Integer range,
// every VARIANT type, navigation codes out of range, calls after the list is
// freed. Every answer is an HRESULT of the node's set, a child outside
// 0..Count E_INVALIDARG, and after the list is gone DISP_E_MEMBERNOTFOUND.
std::vector<std::string> ListBoxAccessibilitySeeds();
void RunListBoxAccessibility(const std::string& AInput, TWinControl* AParent);
