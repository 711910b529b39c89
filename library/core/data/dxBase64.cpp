#include "library/core/data/dxBase64.h"

#include <array>
#include <cstring>
#include <limits>

namespace {

constexpr wchar_t Alphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr wchar_t PadChar = L'=';
constexpr int LineLength = 76;
constexpr int GroupsPerLine = LineLength / 4;

// Character classes of the decoder below 128: 0..63 the digit's value.
constexpr std::uint8_t White = 64;
constexpr std::uint8_t Pad = 65;
constexpr std::uint8_t Invalid = 0xFF;

constexpr std::array<std::uint8_t, 128> MakeDecodeTable() {
  std::array<std::uint8_t, 128> table{};
  for (auto& entry : table) entry = Invalid;
  for (int i = 0; i < 64; ++i) table[static_cast<std::size_t>(Alphabet[i])] = static_cast<std::uint8_t>(i);
  for (wchar_t c : {L'\t', L'\n', L'\r', L' '}) table[static_cast<std::size_t>(c)] = White;
  table[static_cast<std::size_t>(PadChar)] = Pad;
  return table;
}
constexpr std::array<std::uint8_t, 128> DecodeTable = MakeDecodeTable();

std::uint8_t ClassOf(wchar_t AChar) { return AChar < 128 ? DecodeTable[AChar] : Invalid; }
bool IsWhite(wchar_t AChar) { return ClassOf(AChar) == White; }

[[noreturn]] void BadChar() { throw EdxBase64FormatException(L"Bad Base64 char"); }
[[noreturn]] void BadLength() { throw EdxBase64FormatException(L"Bad Base64 char array length"); }

// The two characters of every 12 bits, first character in the low half (the
// order they take in memory).
constexpr std::array<std::uint32_t, 4096> MakePairTable() {
  std::array<std::uint32_t, 4096> table{};
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = static_cast<std::uint32_t>(Alphabet[i >> 6]) | static_cast<std::uint32_t>(Alphabet[i & 63]) << 16;
  return table;
}
constexpr std::array<std::uint32_t, 4096> PairTable = MakePairTable();

wchar_t* EncodeGroup(wchar_t* AOut, const std::uint8_t* AIn) {
  const std::uint32_t v = std::uint32_t{AIn[0]} << 16 | std::uint32_t{AIn[1]} << 8 | AIn[2];
  const std::uint32_t pairs[2] = {PairTable[v >> 12], PairTable[v & 0xFFF]};
  std::memcpy(AOut, pairs, sizeof pairs);
  return AOut + 4;
}

}  // namespace

int Base64EncodedLength(int ACount, bool ALineBreaks) {
  if (ACount <= 0) return 0;
  const std::int64_t length = 4 * (static_cast<std::int64_t>(ACount) / 3) + (ACount % 3 != 0 ? 4 : 0);
  std::int64_t total = length;
  if (ALineBreaks) total += 2 * (length % LineLength != 0 ? length / LineLength : length / LineLength - 1);
  if (total > std::numeric_limits<int>::max()) throw EOutOfMemory(L"Zu wenig Arbeitsspeicher");
  return static_cast<int>(total);
}

String Base64Encode(const TBytes& AData, int AOffset, int ALength) {
  return Base64EncodeLines(AData, AOffset, ALength, false);
}

String Base64EncodeLines(const TBytes& AData, int AOffset, int ALength, bool ALineBreaks) {
  if (AData.empty()) throw EdxException(L"inArray");
  if (ALength < 0) throw EArgumentOutOfRangeException(L"length");
  if (AOffset < 0) throw EArgumentOutOfRangeException(L"offset");
  if (static_cast<std::int64_t>(AData.size()) - ALength < AOffset) throw EArgumentOutOfRangeException(L"offset");
  String text(static_cast<std::size_t>(Base64EncodedLength(ALength, ALineBreaks)), L'\0');
  Base64EncodeInto(text.data(), AData, AOffset, ALineBreaks, ALength);
  return text;
}

int Base64EncodeInto(wchar_t* AText, const TBytes& AData, int AOffset, bool ALineBreaks, int ALength) {
  const std::uint8_t* in = AData.data() + AOffset;
  const std::uint8_t* const fullEnd = in + ALength / 3 * 3;
  wchar_t* out = AText;
  int column = 0;  // groups on the current line
  const auto breakLineIfFull = [&] {
    if (ALineBreaks && column == GroupsPerLine) {
      *out++ = L'\r';
      *out++ = L'\n';
      column = 0;
    }
  };
  while (in < fullEnd) {
    breakLineIfFull();
    // A whole line (or what is left) without a column test per group.
    std::ptrdiff_t groups = (fullEnd - in) / 3;
    if (ALineBreaks) {
      groups = std::min<std::ptrdiff_t>(groups, GroupsPerLine - column);
      column += static_cast<int>(groups);
    }
    for (std::ptrdiff_t g = 0; g < groups; ++g, in += 3) out = EncodeGroup(out, in);
  }
  switch (ALength % 3) {
    case 1:
      breakLineIfFull();
      *out++ = Alphabet[in[0] >> 2];
      *out++ = Alphabet[(in[0] & 3) << 4];
      *out++ = PadChar;
      *out++ = PadChar;
      break;
    case 2:
      breakLineIfFull();
      *out++ = Alphabet[in[0] >> 2];
      *out++ = Alphabet[((in[0] & 3) << 4) | (in[1] >> 4)];
      *out++ = Alphabet[(in[1] & 15) << 2];
      *out++ = PadChar;
      break;
    default:
      break;
  }
  return static_cast<int>(out - AText);
}

int Base64Decode(const wchar_t* AText, int ACount, std::uint8_t* ABuffer, int ABufferLength) {
  // Trailing white space is skipped like any other, so "the last character"
  // below is the last one that is not white space.
  int end = ACount;
  while (end > 0 && IsWhite(AText[end - 1])) --end;
  std::uint32_t bits = 0;
  int inGroup = 0;  // characters of the current group
  int written = 0;
  for (int i = 0; i < end; ++i) {
    // Four alphabet characters in a row: the common case, decoded at once.
    if (inGroup == 0 && end - i >= 4) {
      const std::uint8_t c0 = ClassOf(AText[i]), c1 = ClassOf(AText[i + 1]), c2 = ClassOf(AText[i + 2]),
                         c3 = ClassOf(AText[i + 3]);
      if ((c0 | c1 | c2 | c3) < 64) {
        if (ABufferLength - written < 3) return -1;
        const std::uint32_t v = (std::uint32_t{c0} << 18) | (std::uint32_t{c1} << 12) | (std::uint32_t{c2} << 6) | c3;
        ABuffer[written++] = static_cast<std::uint8_t>(v >> 16);
        ABuffer[written++] = static_cast<std::uint8_t>(v >> 8);
        ABuffer[written++] = static_cast<std::uint8_t>(v);
        i += 3;
        continue;
      }
    }
    const std::uint8_t c = ClassOf(AText[i]);
    if (c == White) continue;
    if (c < 64) {
      bits = (bits << 6) | c;
      if (++inGroup == 4) {
        if (ABufferLength - written < 3) return -1;
        ABuffer[written++] = static_cast<std::uint8_t>(bits >> 16);
        ABuffer[written++] = static_cast<std::uint8_t>(bits >> 8);
        ABuffer[written++] = static_cast<std::uint8_t>(bits);
        bits = 0;
        inGroup = 0;
      }
      continue;
    }
    if (c != Pad) throw EArgumentException(String());
    if (i == end - 1) {
      // One pad character: the group holds three characters, two bytes.
      if (inGroup != 3) BadLength();
      if (ABufferLength - written < 2) return -1;
      ABuffer[written++] = static_cast<std::uint8_t>(bits >> 10);
      ABuffer[written++] = static_cast<std::uint8_t>(bits >> 2);
      return written;
    }
    // Two pad characters: the group holds two characters, one byte.
    int next = i + 1;
    while (IsWhite(AText[next])) ++next;  // the last character is no white space
    if (AText[next] != PadChar || next != end - 1) BadChar();
    if (inGroup != 2) BadLength();
    if (ABufferLength - written < 1) return -1;
    ABuffer[written++] = static_cast<std::uint8_t>(bits >> 4);
    return written;
  }
  if (inGroup != 0) BadLength();
  return written;
}
