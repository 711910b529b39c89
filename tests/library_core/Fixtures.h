// Test data that the build makes with the system's own tools
// (tests/library_core/make-fixtures) in BUILD\testdata\library_core.
#pragma once

#include "platform/runtime/System.h"

#include <string>

// The full name of a fixture file (AName relative, with backslashes).
String FixturePath(const String& AName);
// The file's bytes; empty when it cannot be read.
std::string ReadFixture(const String& AName);
