// The simulated device behind the test port, and the images tests send it.
//
// tools/with-device starts the device and names the port and its folder in
// the environment. A test chooses its device with UseDevice before it opens
// the port; the device reports what it did in its log (ReadDeviceLog) and
// writes the memory it received out when it is told to leave the loader.
#pragma once

#include "platform/runtime/System.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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
// A file of the device's folder: its memory (flash.bin, eeprom.bin,
// userrow.bin) or its log (device.log).
std::string DeviceFile(const wchar_t* AName);

// The next time the port is opened the device starts afresh with these
// tools/device-sim options (e.g. "--preset x128a1 --fault D:wrong").
void UseDevice(const std::string& AOptions);

// One command the device carried out.
struct TDeviceCommand {
  std::string Name;   // "A", "D", ...
  std::string Raw;    // the address bytes of an 'A', in hex
  std::string Reply;  // what the device answered, in hex
};

// What the device's log tells: the commands and protocol violations since
// the device last took new options (UseDevice), and every time the host
// opened or closed the port.
struct TDeviceLog {
  bool NewOptions = false;  // the device took the options of UseDevice
  std::vector<TDeviceCommand> Commands;
  std::vector<std::string> Violations;
  std::vector<std::string> HostStates;  // "open", "closed"

  int Count(const std::string& AName) const;
  // The commands' names separated by blanks ("I i E A D P ...").
  std::string Names() const;
};

TDeviceLog ReadDeviceLog();
// The log once it shows at least ACommands commands since the last new
// options, or as it is after ATimeout ms (the device logs a command once its
// reply has gone out).
TDeviceLog WaitForDeviceLog(std::size_t ACommands, int ATimeout = 5000);

// Test images: bytes by start address.
using TBytes = std::vector<std::uint8_t>;
using TImageParts = std::map<std::uint32_t, TBytes>;

// ACount bytes of a fixed pseudo-random sequence.
TBytes PatternBytes(std::size_t ACount, std::uint32_t ASeed);
// An Intel HEX text of the parts, 16 bytes a record, with segment records
// for addresses beyond 64 KiB, and the end record.
std::string HexText(const TImageParts& AParts);
// A memory of ASize bytes, erased ($FF), with the parts in it.
std::string ErasedMemoryWith(std::size_t ASize, const TImageParts& AParts);
// Compares two memories and names the first difference.
void ExpectSameMemory(const std::string& AExpected, const std::string& AActual, const char* AWhat);
