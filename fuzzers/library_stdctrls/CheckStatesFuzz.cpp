#include "fuzzers/library_stdctrls/CheckStatesFuzz.h"

#include "fuzzers/support/AccessibilityInput.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/stdctrls/cxCheckBox.h"
#include "platform/runtime/FMTBcd.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// Text whose bytes mostly land on the characters the readers parse, so
// that mutations reach past the first number.
String TextFrom(TInputReader& AReader) {
  static constexpr wchar_t Alphabet[] = L"0123456789;,:;,:0129aA\x00e9 -x";
  String text;
  const std::uint32_t length = AReader.Next(1);
  for (std::uint32_t i = 0; i < length && AReader.More(); ++i) {
    const std::uint32_t b = AReader.Next(1);
    text += b < 0xF0 ? Alphabet[b % (std::size(Alphabet) - 1)] : static_cast<wchar_t>(AReader.Next(2));
  }
  return text;
}

double DoubleFrom(TInputReader& AReader) {
  const std::uint64_t bits = AReader.Next(4) | static_cast<std::uint64_t>(AReader.Next(4)) << 32;
  return std::bit_cast<double>(bits);
}

Variant ValueFrom(TInputReader& AReader, const TcxCaptionItems* AItems) {
  switch (AReader.Next(1) % 12) {
    case 0: return Null();
    case 1: return Variant();
    case 2: return Variant(TextFrom(AReader));
    case 3: return Variant(static_cast<std::int64_t>(AReader.Next(4) | static_cast<std::uint64_t>(AReader.Next(4)) << 32));
    case 4: return Variant(DoubleFrom(AReader));
    case 5: return Variant::FromDateTime(DoubleFrom(AReader));
    case 6: {
      TBcd bcd;
      return TryStrToBcd(TextFrom(AReader), bcd) ? VarFMTBcdCreate(bcd) : Null();
    }
    case 7: return Variant(AReader.Next(1) % 2 == 1);
    case 8: return Variant(static_cast<std::uint64_t>(AReader.Next(4)) << 32 | AReader.Next(4));
    case 9: return Variant(Currency::FromScaled(static_cast<std::int32_t>(AReader.Next(4))));
    case 10: {
      // A well-formed caption list with one caption changed by the input.
      String text;
      for (int i = 0; i < AItems->Count(); ++i) {
        String caption = AItems->GetItem(i)->Caption();
        if (AReader.Next(1) % 16 == 0) caption += L";";
        text += IntToStr(static_cast<long long>(caption.size())) + L":" + caption;
      }
      return Variant(text);
    }
    default: return VarArrayCreate({0, 1}, varVariant);
  }
}

}  // namespace

std::vector<std::string> CheckStatesSeeds() {
  return {std::string("\x00\x04\x02\x05" "0;2,3", 9), std::string("\x02\x46\x04\x00\x00\x00\x00\x00\x00\xf0\x7f", 11),
          std::string("\x01\x05\x0a\x00\x00\x00\x00\x00", 8), std::string("\x03\x03\x02\x02" "21", 6)};
}

void RunCheckStates(const std::string& AInput) {
  TInputReader reader(AInput);
  const auto format = static_cast<TcxCheckStatesValueFormatEx>(reader.Next(1) % 5);
  const int count = static_cast<int>(reader.Next(1) % 71);
  const TOwned<TcxCaptionItems> items(New<TcxCaptionItems>(nullptr, TcxCaptionItem::ClassInfo()));
  for (int i = 0; i < count; ++i)
    static_cast<TcxCaptionItem*>(items->Add())->SetCaption(i % 7 == 0 ? String(L"a:b") : L"c" + IntToStr(i % 9));
  while (reader.More()) {
    const Variant value = ValueFrom(reader, items.get());
    TcxCheckStates states(static_cast<std::size_t>(reader.Next(1)), cbsChecked);
    const bool read = EditValueToCheckStates(value, items.get(), format, states);
    if (states.size() != static_cast<std::size_t>(count)) FuzzInvariantBroken("one state per item");
    if (std::ranges::any_of(states, [](TcxCheckBoxState s) { return s < cbsUnchecked || s > cbsGrayed; }))
      FuzzInvariantBroken("a state outside the three");
    if (!read && std::ranges::any_of(states, [](TcxCheckBoxState s) { return s != cbsUnchecked; }))
      FuzzInvariantBroken("a failed reading left an item set");
    if (read && format == cvfCustom) FuzzInvariantBroken("the custom format read");
  }
}
