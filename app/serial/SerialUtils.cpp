#include "app/serial/SerialUtils.h"

#include "platform/classes/Lists.h"
#include "platform/classes/Registry.h"
#include "platform/classes/Streams.h"

#include <atomic>

namespace {

// 0: not asked yet; -1: no performance counter.
std::atomic<std::int64_t> GCounterFrequency{0};

std::int64_t CounterFrequency() {
  std::int64_t frequency = GCounterFrequency.load(std::memory_order_relaxed);
  if (frequency == 0) {
    LARGE_INTEGER value;
    frequency = QueryPerformanceFrequency(&value) && value.QuadPart > 0 ? value.QuadPart : -1;
    GCounterFrequency.store(frequency, std::memory_order_relaxed);
  }
  return frequency;
}

}  // namespace

std::uint32_t ReadMillisecondTick() {
  const std::int64_t frequency = CounterFrequency();
  LARGE_INTEGER counter;
  if (frequency < 0 || !QueryPerformanceCounter(&counter)) return GetTickCount();
  // Split so that counter x 1000 cannot overflow.
  const std::uint64_t c = static_cast<std::uint64_t>(counter.QuadPart);
  const std::uint64_t f = static_cast<std::uint64_t>(frequency);
  return static_cast<std::uint32_t>(c / f * 1000 + c % f * 1000 / f);
}

std::uint32_t TickDistance(std::uint32_t AOld, std::uint32_t ANew) {
  if (AOld == ANew) return 0;
  if (ANew < AOld) {
    // One wrap-around: shift both by half the range.
    AOld += 0x80000000u;
    ANew += 0x80000000u;
  }
  return ANew >= AOld ? ANew - AOld : AOld - ANew;
}

int FindLineBreak(const RawByteString& AText, RawByteString& ABreak) {
  ABreak.clear();
  const std::size_t pos = AText.find_first_of("\r\n");
  if (pos == RawByteString::npos) return -1;
  ABreak = AText[pos];
  if (pos + 1 < AText.size()) {
    const char next = AText[pos + 1];
    if ((AText[pos] == '\r' && next == '\n') || (AText[pos] == '\n' && next == '\r')) ABreak += next;
  }
  return static_cast<int>(pos) + 1;
}

RawByteString IntToBigEndianText(std::int32_t AValue) {
  const std::uint32_t v = static_cast<std::uint32_t>(AValue);
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::int32_t SwapByteOrder(std::int32_t AValue) {
  const std::uint32_t v = static_cast<std::uint32_t>(AValue);
  return static_cast<std::int32_t>((v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24));
}

String ListSerialPorts() { return ListSerialPortsOf(HKEY_LOCAL_MACHINE, L"\\HARDWARE\\DEVICEMAP\\SERIALCOMM"); }

String ListSerialPortsOf(HKEY ARoot, const String& AKey) {
  const TOwned<TRegistry> registry(New<TRegistry>(KEY_READ));
  registry->SetRootKey(ARoot);
  if (!registry->OpenKeyReadOnly(AKey)) return String();
  const TOwned<TStringList> names(New<TStringList>());
  const TOwned<TStringList> ports(New<TStringList>());
  registry->GetValueNames(names.get());
  for (int i = 0; i < names->Count(); ++i) {
    String port;
    try {
      port = registry->ReadString(names->Strings(i));
    } catch (const ERegistryException&) {
      continue;  // not a text value: names no port
    }
    ports->Add(port.substr(0, port.find(L'\0')));
  }
  return ports->CommaText();
}

void WriteTextToStream(TStream* AStream, const RawByteString& AText) {
  AStream->WriteBuffer(AText.data(), static_cast<std::int64_t>(AText.size()));
}
