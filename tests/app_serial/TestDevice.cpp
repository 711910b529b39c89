#include "tests/app_serial/TestDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

String Environment(const wchar_t* AName) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(AName, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? String(buffer, length) : String();
}

// The text of a "name": "value" field of one log line.
std::string LogField(const std::string& ALine, const std::string& AName) {
  const std::string key = "\"" + AName + "\": \"";
  const std::size_t start = ALine.find(key);
  if (start == std::string::npos) return std::string();
  const std::size_t end = ALine.find('"', start + key.size());
  return end == std::string::npos ? std::string() : ALine.substr(start + key.size(), end - start - key.size());
}

std::string HexLine(int AType, std::uint32_t AOffset, const std::uint8_t* AData, std::size_t ACount) {
  TBytes record{static_cast<std::uint8_t>(ACount), static_cast<std::uint8_t>(AOffset >> 8),
                static_cast<std::uint8_t>(AOffset), static_cast<std::uint8_t>(AType)};
  record.insert(record.end(), AData, AData + ACount);
  std::uint8_t sum = 0;
  for (std::uint8_t b : record) sum = static_cast<std::uint8_t>(sum + b);
  record.push_back(static_cast<std::uint8_t>(-sum));
  std::string line = ":";
  char hex[3];
  for (std::uint8_t b : record) {
    std::snprintf(hex, sizeof hex, "%02X", b);
    line += hex;
  }
  return line + "\r\n";
}

}  // namespace

String TestPortName() { return Environment(L"SKARNIVEL_TEST_PORT"); }

String TestDeviceDir() { return Environment(L"SKARNIVEL_TEST_DEVICE_DIR"); }

std::string ReadWholeFile(const String& APath) {
  std::ifstream file(std::filesystem::path(APath), std::ios::binary);
  std::ostringstream data;
  data << file.rdbuf();
  return data.str();
}

int DeviceDumpCount() { return std::atoi(ReadWholeFile(TestDeviceDir() + L"\\dump-seq").c_str()); }

bool WaitForDeviceDump(int ABefore, int ATimeout) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ATimeout);
  while (DeviceDumpCount() <= ABefore) {
    if (GetTickCount64() > end) return false;
    Sleep(5);
  }
  return true;
}

std::string DeviceFile(const wchar_t* AName) { return ReadWholeFile(TestDeviceDir() + L"\\" + AName); }

void UseDevice(const std::string& AOptions) {
  // Written whole under another name first: the device may look at any time.
  const String name = TestDeviceDir() + L"\\device-options";
  {
    std::ofstream file(std::filesystem::path(name + L".tmp"), std::ios::binary | std::ios::trunc);
    file << AOptions;
  }
  ASSERT_TRUE(MoveFileExW((name + L".tmp").c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING))
      << "cannot give the device its options";
}

int TDeviceLog::Count(const std::string& AName) const {
  return static_cast<int>(std::ranges::count(Commands, AName, &TDeviceCommand::Name));
}

std::string TDeviceLog::Names() const {
  std::string names;
  for (const TDeviceCommand& command : Commands) names += (names.empty() ? "" : " ") + command.Name;
  return names;
}

TDeviceLog ReadDeviceLog() {
  TDeviceLog log;
  const std::string text = ReadWholeFile(TestDeviceDir() + L"\\device.log");
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = text.substr(start, end - start);
    const std::string event = LogField(line, "event");
    if (event == "session") {
      log.NewOptions = true;
      log.Commands.clear();
      log.Violations.clear();
    } else if (event == "command") {
      log.Commands.push_back({LogField(line, "cmd"), LogField(line, "raw"), LogField(line, "reply")});
    } else if (event == "violation") {
      log.Violations.push_back(LogField(line, "what"));
    } else if (event == "host") {
      log.HostStates.push_back(LogField(line, "state"));
    }
  }
  return log;
}

TDeviceLog WaitForDeviceLog(std::size_t ACommands, int ATimeout) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ATimeout);
  for (;;) {
    TDeviceLog log = ReadDeviceLog();
    if (log.Commands.size() >= ACommands || GetTickCount64() > end) return log;
    Sleep(5);
  }
}

TBytes PatternBytes(std::size_t ACount, std::uint32_t ASeed) {
  TBytes bytes(ACount);
  for (std::uint8_t& b : bytes) {
    ASeed = ASeed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(ASeed >> 16);
  }
  return bytes;
}

std::string HexText(const TImageParts& AParts) {
  std::string text;
  std::uint32_t segment = 0;
  for (const auto& [start, bytes] : AParts) {
    for (std::size_t i = 0; i < bytes.size(); i += 16) {
      const std::uint32_t address = start + static_cast<std::uint32_t>(i);
      if ((address & ~0xFFFFu) != segment) {
        segment = address & ~0xFFFFu;
        const std::uint8_t value[2] = {static_cast<std::uint8_t>(segment >> 12), 0};
        text += HexLine(2, 0, value, 2);
      }
      text += HexLine(0, address - segment, &bytes[i], std::min<std::size_t>(16, bytes.size() - i));
    }
  }
  return text + ":00000001FF\r\n";
}

std::string ErasedMemoryWith(std::size_t ASize, const TImageParts& AParts) {
  std::string memory(ASize, '\xFF');
  for (const auto& [start, bytes] : AParts)
    for (std::size_t i = 0; i < bytes.size() && start + i < ASize; ++i) memory[start + i] = static_cast<char>(bytes[i]);
  return memory;
}

void ExpectSameMemory(const std::string& AExpected, const std::string& AActual, const char* AWhat) {
  ASSERT_EQ(AExpected.size(), AActual.size()) << AWhat;
  for (std::size_t i = 0; i < AExpected.size(); ++i)
    if (AExpected[i] != AActual[i]) {
      ADD_FAILURE() << AWhat << " differs first at $" << std::hex << i << ": expected $" << (AExpected[i] & 0xFF)
                    << ", device has $" << (AActual[i] & 0xFF);
      return;
    }
}
