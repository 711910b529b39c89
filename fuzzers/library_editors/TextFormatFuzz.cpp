#include "fuzzers/library_editors/TextFormatFuzz.h"

#include "fuzzers/support/FuzzMain.h"
#include "library/editors/text/cxTextEdit.h"
#include "platform/runtime/SysUtils.h"

#include <cstdint>
#include <cstring>

namespace {

// Numeric as the spin editor's properties are.
class TFuzzNumericTextProperties : public TcxTextEditProperties {
  SK_CLASS(TFuzzNumericTextProperties, TcxTextEditProperties)
 public:
  bool IsValueNumeric() override { return true; }
};

String Widen(const std::string& AText) {
  String result;
  for (const unsigned char c : AText) result += static_cast<wchar_t>(c);
  return result;
}

std::vector<Variant> ValuesOf(const std::string& AData) {
  std::vector<Variant> values;
  std::size_t at = 0;
  while (at < AData.size()) {
    const unsigned char kind = static_cast<unsigned char>(AData[at++]) % 4;
    if (kind == 0 && at + 8 <= AData.size()) {
      double value;
      std::memcpy(&value, AData.data() + at, sizeof value);
      values.emplace_back(value);
      at += 8;
    } else if (kind == 1 && at + 4 <= AData.size()) {
      std::int32_t value;
      std::memcpy(&value, AData.data() + at, sizeof value);
      values.emplace_back(static_cast<int>(value));
      at += 4;
    } else {
      const std::size_t length = at < AData.size() ? static_cast<unsigned char>(AData[at++]) % 24 : 0;
      values.emplace_back(Widen(AData.substr(at, length)));
      at += length;
    }
  }
  values.emplace_back(Variant::NullValue());
  return values;
}

}  // namespace

std::vector<std::string> TextFormatSeeds() {
  using namespace std::string_literals;
  std::string bits(8, '\0');
  const double pi = 3.14159;
  std::memcpy(bits.data(), &pi, sizeof pi);
  return {"0.00\n#,##0.0\n\x00"s + bits + "\x02\x04" "9600"s,
          "#,##0.00;(#,##0.00);'zero'\n0.###E+00\n\x01\x80\x25\x00\x00"s,
          "'$'0.00\"x\"\n\n\x02\x07" "1e308.5",
          "00000000000000000000.000000000000000000000E-0000\n##,,,..;;;\n\x00"s + bits,
          "\n0\n\x03\x05-0.00"};
}

void RunTextFormat(const std::string& AInput) {
  const std::size_t first = AInput.find('\n');
  const std::size_t second = first == std::string::npos ? std::string::npos : AInput.find('\n', first + 1);
  const std::string displayFormat = AInput.substr(0, first);
  const std::string editFormat =
      first == std::string::npos
          ? std::string()
          : AInput.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
  const std::string data = second == std::string::npos ? std::string() : AInput.substr(second + 1);
  TOwned<TFuzzNumericTextProperties> properties(New<TFuzzNumericTextProperties>(static_cast<TPersistent*>(nullptr)));
  properties->SetDisplayFormat(Widen(displayFormat));
  if (!editFormat.empty()) properties->SetEditFormat(Widen(editFormat));
  for (const Variant& value : ValuesOf(data)) {
    for (const bool whenEditing : {false, true}) {
      properties->SetUseDisplayFormatWhenEditing(whenEditing);
      for (const bool focused : {false, true}) {
        try {
          Variant display;
          properties->PrepareDisplayValue(value, display, focused);
          properties->GetDisplayText(value);
        } catch (const EConvertError&) {
          // A value that is no number; nothing else may escape.
        }
      }
    }
  }
}
