// The simulated device behind the test port: tools/with-device starts it and
// names the port and its folder in the environment.
#pragma once

#include "platform/runtime/System.h"

#include <cstdint>
#include <string>

// The COM port of the simulated device ("COM21"); empty outside with-device.
String TestPortName();
// The device's folder (memory files, log) as a Windows path; empty outside
// with-device.
String TestDeviceDir();
// Reads a whole file; empty when it is missing.
std::string ReadWholeFile(const String& APath);
// The device's dump counter (dump-seq), 0 before the first dump.
int DeviceDumpCount();
// Waits until the device's dump counter passes ABefore, up to ATimeout ms.
bool WaitForDeviceDump(int ABefore, int ATimeout);
