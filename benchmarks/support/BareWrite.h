// The floor under every protocol byte: a bare one-byte overlapped write on a
// port connected to the simulated XMEGA bootloader, inside data blocks that the
// device takes without a word.
#pragma once

#include "app/serial/BlockSerial.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace bench {

// Seconds per write. Under Wine, the first few thousand writes on a newly
// opened port often run several times faster than every later one; a flash
// lives almost wholly in the later state, so that is the floor it is measured
// against. The first block is reported for the record. The later state
// itself swings with the load of the machine from one moment to the next,
// so it is sampled many times: the median is the floor, the quartiles its
// spread.
struct TBareWrite {
  double Fresh;   // the first 4 KiB after the port was opened
  double Steady;  // the median of the samples after another 4 KiB of warm-up
  double Lower;   // their first quartile
  double Upper;   // their third quartile
  int Samples;    // blocks of SampleWrites writes each
};

constexpr int SampleWrites = 512;
constexpr int SampleCount = 48;

inline double PerfNow() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One data block of ACount filler bytes, each its own overlapped write;
// seconds per write, or a negative value when the device's checksum is wrong.
inline double BareWriteBlock(TBlockSerial* ASerial, int ACount) {
  for (std::uint8_t b : {std::uint8_t('A'), std::uint8_t(0), std::uint8_t(0), std::uint8_t(0)}) ASerial->SendByte(b);
  ASerial->RecvByte(1000);
  for (std::uint8_t b : {std::uint8_t('D'), std::uint8_t(ACount & 0xFF), std::uint8_t(ACount >> 8)})
    ASerial->SendByte(b);
  const std::uint8_t filler = 0x5A;
  const HANDLE handle = ASerial->Handle();
  const TKernelHandle writeDone(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE event = writeDone.Get();
  const double start = PerfNow();
  for (int i = 0; i < ACount; ++i) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    DWORD written = 0;
    if (!WriteFile(handle, &filler, 1, nullptr, &overlapped) && GetLastError() == ERROR_IO_PENDING)
      WaitForSingleObject(event, 1000);
    GetOverlappedResult(handle, &overlapped, &written, FALSE);
  }
  const double perWrite = (PerfNow() - start) / ACount;
  // A paced device may still be taking the block in.
  const std::uint8_t checksum = ASerial->RecvByte(30000);
  return ASerial->LastError() == 0 && checksum == static_cast<std::uint8_t>(ACount * filler) ? perWrite : -1;
}

// To be called right after the port was opened. Negative figures: the
// device did not take the writes.
inline TBareWrite MeasureBareWrite(TBlockSerial* ASerial) {
  TBareWrite result{};
  result.Fresh = BareWriteBlock(ASerial, 4096);
  BareWriteBlock(ASerial, 4096);
  std::vector<double> samples;
  for (int i = 0; i < SampleCount; ++i) {
    const double sample = BareWriteBlock(ASerial, SampleWrites);
    if (sample < 0) {
      result.Steady = result.Lower = result.Upper = -1;
      return result;
    }
    samples.push_back(sample);
  }
  std::sort(samples.begin(), samples.end());
  // Quartiles by the median of each half.
  const auto median = [&](std::size_t AFirst, std::size_t ALast) {
    const std::size_t n = ALast - AFirst;
    return n % 2 ? samples[AFirst + n / 2] : (samples[AFirst + n / 2 - 1] + samples[AFirst + n / 2]) / 2;
  };
  const std::size_t n = samples.size();
  result.Steady = median(0, n);
  result.Lower = median(0, n / 2);
  result.Upper = median((n + 1) / 2, n);
  result.Samples = static_cast<int>(n);
  return result;
}

}  // namespace bench
