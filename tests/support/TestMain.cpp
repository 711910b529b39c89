// The main routine of every test program: runs the units it links, then the tests.
#include "tests/support/TestDesktop.h"
#include "tests/support/TestUnits.h"

#include <gtest/gtest.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  int exitCode = 0;
  if (RunOnOwnDesktop(exitCode)) return exitCode;
  // A pipe gets full buffering: a run that dies would take its last lines along.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  testing::InitGoogleTest(&argc, argv);
  TestUnitsInitialize();
  const int result = RUN_ALL_TESTS();
  TestUnitsFinalize();
  return result;
}
