// The serial path's cost under Wine, against the simulated XMEGA bootloader
// (tools/device-sim --preset x128a1, started by this folder's run script):
// a bare one-byte overlapped write, SendByte, a reply round trip, and a
// whole 128 KiB flash image written with the bootloader's block protocol.
#include "app/serial/BlockSerial.h"
#include "benchmarks/support/BareWrite.h"
#include "platform/runtime/Units.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

String Environment(const wchar_t* AName) {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(AName, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? String(buffer, length) : String();
}


double ProcessCpu() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

bool Expect(TBlockSerial* ASerial, std::uint8_t AReply, const char* AWhat, int ATimeout = 1000) {
  const std::uint8_t reply = ASerial->RecvByte(ATimeout);
  if (ASerial->LastError() == 0 && reply == AReply) return true;
  std::printf("%s: reply $%02X, expected $%02X (%ls)\n", AWhat, reply, AReply, ASerial->LastErrorDesc().c_str());
  return false;
}

void SendAddress(TBlockSerial* ASerial, std::uint32_t AAddress) {
  ASerial->SendByte('A');
  for (int i = 0; i < 3; ++i) ASerial->SendByte(static_cast<std::uint8_t>(AAddress >> (8 * i)));
}

std::uint8_t SendData(TBlockSerial* ASerial, const std::uint8_t* AData, int ALength) {
  ASerial->SendByte('D');
  ASerial->SendByte(static_cast<std::uint8_t>(ALength));
  ASerial->SendByte(static_cast<std::uint8_t>(ALength >> 8));
  std::uint8_t sum = 0;
  for (int i = 0; i < ALength; ++i) {
    ASerial->SendByte(AData[i]);
    sum = static_cast<std::uint8_t>(sum + AData[i]);
  }
  return sum;
}

int Run() {
  const String port = Environment(L"SKARNIVEL_TEST_PORT");
  if (port.empty()) {
    std::printf("run through benchmarks/app_serial/run (tools/with-device)\n");
    return 2;
  }
  // Closed on every way out, so that the device is free for the next run.
  TOwned<TBlockSerial> owned(New<TBlockSerial>());
  TBlockSerial* serial = owned.get();
  serial->Connect(port);
  serial->Config(38400, 8, 'N', 0, false, false);
  if (serial->LastError() != 0) {
    std::printf("cannot open %ls: %ls\n", port.c_str(), serial->LastErrorDesc().c_str());
    return 1;
  }
  serial->SendByte('I');
  std::uint8_t identity[9];
  for (std::uint8_t& b : identity) b = serial->RecvByte(1000);
  const int blockSize = identity[4] | identity[5] << 8;
  const std::uint32_t flashEnd = identity[6] | identity[7] << 8 | static_cast<std::uint32_t>(identity[8]) << 16;
  if (identity[0] != 'I' || blockSize < 1 || blockSize > 1024) {
    std::printf("no XMEGA bootloader answers (%ls)\n", serial->LastErrorDesc().c_str());
    return 1;
  }

  const bench::TBareWrite bare = bench::MeasureBareWrite(serial);
  if (bare.Fresh < 0 || bare.Steady < 0) {
    std::printf("the device did not take the bare writes\n");
    return 1;
  }
  constexpr int Count = 8192;
  std::vector<std::uint8_t> filler(Count, 0x5A);

  // SendByte, same traffic.
  double start = bench::PerfNow();
  const std::uint8_t sum = SendData(serial, filler.data(), Count);
  const double sendByte = (bench::PerfNow() - start) / (Count + 3);
  // A paced device may still be taking the block in.
  Expect(serial, sum, "checksum", 30000);

  // A reply round trip: one command byte, one reply byte awaited.
  constexpr int Trips = 300;
  start = bench::PerfNow();
  for (int i = 0; i < Trips; ++i) {
    serial->SendByte('V');
    if (!Expect(serial, 0x0D, "V")) return 1;
  }
  const double roundTrip = (bench::PerfNow() - start) / Trips;

  // 128 KiB of flash, block by block as the flasher writes it.
  const std::uint32_t imageSize = std::min<std::uint32_t>(0x20000, flashEnd * 2);
  std::vector<std::uint8_t> image(imageSize);
  std::uint32_t seed = 12345;
  for (std::uint8_t& b : image) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(seed >> 16);
  }
  long long protocolBytes = 0;
  double sendTime = 0, replyTime = 0;
  const double cpuBefore = ProcessCpu();
  start = bench::PerfNow();
  serial->SendByte('E');
  if (!Expect(serial, 0x0D, "E")) return 1;
  protocolBytes += 2;
  for (std::uint32_t pos = 0; pos < imageSize; pos += static_cast<std::uint32_t>(blockSize)) {
    SendAddress(serial, pos);
    if (!Expect(serial, 0x0D, "A")) return 1;
    const double t0 = bench::PerfNow();
    const std::uint8_t blockSum = SendData(serial, &image[pos], blockSize);
    sendTime += bench::PerfNow() - t0;
    const double t1 = bench::PerfNow();
    if (!Expect(serial, blockSum, "D")) return 1;
    replyTime += bench::PerfNow() - t1;
    serial->SendByte('P');
    if (!Expect(serial, 0x0D, "P")) return 1;
    protocolBytes += 4 + 3 + blockSize + 1 + 3;
  }
  const double flashTime = bench::PerfNow() - start;
  const double flashCpu = ProcessCpu() - cpuBefore;
  serial->SendByte('X');
  owned.reset();

  std::printf("bare one-byte overlapped write   %8.1f us (quartiles %.1f-%.1f us over %d samples of %d writes;\n"
              "                                            the first 4 KiB on the new port: %.1f us)\n",
              bare.Steady * 1e6, bare.Lower * 1e6, bare.Upper * 1e6, bare.Samples, bench::SampleWrites,
              bare.Fresh * 1e6);
  std::printf("SendByte                         %8.1f us\n", sendByte * 1e6);
  std::printf("command and reply round trip     %8.1f us\n", roundTrip * 1e6);
  std::printf("flash %u bytes in %d-byte blocks: %.2f s, %lld protocol bytes\n", imageSize, blockSize, flashTime,
              protocolBytes);
  std::printf("  data sends %.2f s, checksum waits %.2f s\n", sendTime, replyTime);
  std::printf("  per protocol byte: %.1f us wall, %.1f us host CPU\n", flashTime / protocolBytes * 1e6,
              flashCpu / protocolBytes * 1e6);
  const String dir = Environment(L"SKARNIVEL_TEST_DEVICE_DIR");
  std::printf("  (the device's copy is checked by the run script in %ls)\n", dir.c_str());
  std::ofstream(std::filesystem::path(dir + L"\\image.bin"), std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
  return 0;
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits()});
  const int result = Run();
  FinalizeUnits();
  return result;
}
