// Typing into a masked editor beside a native EDIT (MaskTypingBench.cpp),
// run by the folder's main (RegExprBench.cpp); answers the number of lines
// over their limit.
#pragma once

int RunMaskTyping();
