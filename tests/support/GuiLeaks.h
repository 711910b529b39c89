// Counting windows and GDI objects, for leak checks in tests. The system's
// own counters (GetGuiResources) answer zero under Wine, so these count
// directly. GDI counts include objects the system creates lazily on first
// use: take the baseline after one warm-up round of the code under test.
#pragma once

// Windows of the calling thread: top-level ones and all their descendants.
int ThreadWindowCount();
// Live GDI objects of the process.
int GdiObjectCount();
