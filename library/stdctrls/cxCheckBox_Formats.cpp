// Check-state value formats: the caption items and the packing of many item
// states into one edit value.
#include "library/core/data/cxVariants.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxExtEditConsts.h"
#include "platform/runtime/FMTBcd.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

// ---------------------------------------------------------------------------
// Caption items

void TcxCaptionItem::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxCaptionItem*>(ASource)) {
    SetCaption(source->Caption());
    FTag = source->Tag();
  } else {
    inherited::Assign(ASource);
  }
}

void TcxCaptionItem::SetCaption(const String& AValue) {
  if (FCaption == AValue) return;
  FCaption = AValue;
  auto* items = dynamic_cast<TcxOwnedInterfacedCollection*>(Collection());
  if (items && items->Sorted())
    items->SortItems();
  else
    Changed(false);
}

bool TcxCaptionItems::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxCheckItems>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

int TcxCaptionItems::DoCompareItems(TCollectionItem* AItem1, TCollectionItem* AItem2) {
  return AnsiCompareText(static_cast<TcxCaptionItem*>(AItem1)->Caption(),
                         static_cast<TcxCaptionItem*>(AItem2)->Caption());
}

// ---------------------------------------------------------------------------
// Packing

namespace {

Variant PackCaptions(const TcxCheckStates& AStates, IcxCheckItems* AItems) {
  String grayed, checked;
  const int count = std::min(static_cast<int>(AStates.size()), AItems->GetCount());
  for (int i = 0; i < count; ++i) {
    if (AStates[i] == cbsUnchecked) continue;
    const String caption = AItems->GetItemCaption(i);
    // The length prefix lets a caption hold ";", ":" and ",".
    (AStates[i] == cbsGrayed ? grayed : checked) += IntToStr(static_cast<long long>(caption.size())) + L":" + caption;
  }
  return checked.empty() ? Variant(grayed) : Variant(grayed + L";" + checked);
}

Variant PackIndices(const TcxCheckStates& AStates) {
  String grayed, checked;
  for (std::size_t i = 0; i < AStates.size(); ++i) {
    if (AStates[i] == cbsUnchecked) continue;
    String& list = AStates[i] == cbsGrayed ? grayed : checked;
    if (!list.empty()) list += L",";
    list += IntToStr(static_cast<long long>(i));
  }
  return checked.empty() ? Variant(grayed) : Variant(grayed + L";" + checked);
}

constexpr auto IntegerFormatBits = static_cast<std::size_t>(cxIntegerFormatMaxItems);

Variant PackInteger(const TcxCheckStates& AStates) {
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < AStates.size() && i < IntegerFormatBits; ++i)
    if (AStates[i] == cbsChecked) bits |= std::uint64_t{1} << i;
  return Variant(static_cast<std::int64_t>(bits));
}

Variant PackStatesString(const TcxCheckStates& AStates) {
  String text;
  for (TcxCheckBoxState state : AStates) text += static_cast<wchar_t>(L'0' + static_cast<int>(state));
  return Variant(text);
}

// ---------------------------------------------------------------------------
// Unpacking

// The text of a Null or string value; nothing for any other kind.
std::optional<String> ValueText(const Variant& AValue) {
  if (AValue.IsNull()) return String();
  if (VarIsStr(AValue)) return AValue.AsString();
  return std::nullopt;
}

// Unsigned decimal within 2147483647 at APos (0-based), which moves past it.
std::optional<int> ReadNumber(const String& AText, std::size_t& APos) {
  const std::size_t start = APos;
  int result = 0;
  while (APos < AText.size() && AText[APos] >= L'0' && AText[APos] <= L'9') {
    const int digit = AText[APos] - L'0';
    if (result > 214748364 || (result == 214748364 && digit > 7)) return std::nullopt;
    result = result * 10 + digit;
    ++APos;
  }
  if (APos == start) return std::nullopt;
  return result;
}

bool ReadCaptions(const String& AText, IcxCheckItems* AItems, TcxCheckStates& AStates) {
  struct Entry {
    String Caption;
    TcxCheckBoxState State;
    bool Matched;
  };
  std::vector<Entry> entries;
  bool checkedPart = false;
  std::size_t pos = 0;
  while (pos < AText.size()) {
    if (!checkedPart && AText[pos] == L';') {
      checkedPart = true;
      ++pos;
    }
    const std::optional<int> length = ReadNumber(AText, pos);
    if (!length || pos >= AText.size() || AText[pos] != L':') return false;
    ++pos;
    if (AText.size() - pos < static_cast<std::size_t>(*length)) return false;
    entries.push_back({AText.substr(pos, *length), checkedPart ? cbsChecked : cbsGrayed, false});
    pos += *length;
  }
  for (std::size_t i = 0; i < AStates.size(); ++i) {
    const String caption = AItems->GetItemCaption(static_cast<int>(i));
    for (Entry& entry : entries)
      if (!entry.Matched && AnsiCompareText(entry.Caption, caption) == 0) {
        entry.Matched = true;
        AStates[i] = entry.State;
        break;
      }
  }
  return std::ranges::all_of(entries, &Entry::Matched);
}

bool ReadIndices(const String& AText, TcxCheckStates& AStates) {
  bool checkedPart = false;
  std::size_t pos = 0;
  while (pos < AText.size()) {
    if (!checkedPart && AText[pos] == L';') {
      checkedPart = true;
      ++pos;
    }
    const std::optional<int> index = ReadNumber(AText, pos);
    if (!index || *index >= static_cast<int>(AStates.size())) return false;
    AStates[*index] = checkedPart ? cbsChecked : cbsGrayed;
    if (pos < AText.size() && AText[pos] == L',') ++pos;
  }
  return true;
}

// The 64-bit integer form of a value, if it has one: a Double beyond the
// range, NaN or an infinity (and such a date or BCD value) has none.
std::optional<std::int64_t> IntegerOf(const Variant& AValue) {
  if (AValue.IsNull()) return 0;
  if (VarIsStr(AValue)) {
    std::int64_t result = 0;
    if (!TryStrToInt64(AValue.AsString(), result)) return std::nullopt;
    return result;
  }
  if (VarIsOrdinal(AValue)) {
    if (AValue.VType() == varUInt64 &&
        AValue.AsUInt64() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
      return std::nullopt;
    return AValue.AsInt64();
  }
  const double number = VarIsFMTBcd(AValue) ? BcdToDouble(VarToBcd(AValue)) : AValue.AsDouble();
  constexpr double limit = 9223372036854775808.0;  // 2^63
  if (!std::isfinite(number) || number >= limit || number < -limit) return std::nullopt;
  return Variant(number).AsInt64();
}

bool ReadInteger(const Variant& AValue, TcxCheckStates& AStates) {
  if (!AValue.IsNull() && !VarIsStr(AValue) && !VarIsNumericOrBcd(AValue) && !VarIsDateValue(AValue)) return false;
  const std::optional<std::int64_t> value = IntegerOf(AValue);
  if (!value) return false;
  const auto bits = static_cast<std::uint64_t>(*value);
  for (std::size_t i = 0; i < AStates.size(); ++i)
    AStates[i] = i < IntegerFormatBits && (bits >> i & 1) != 0 ? cbsChecked : cbsUnchecked;
  return true;
}

bool ReadStatesString(const String& AText, TcxCheckStates& AStates) {
  const std::size_t count = std::min(AText.size(), AStates.size());
  for (std::size_t i = 0; i < count; ++i) {
    if (AText[i] < L'0' || AText[i] > L'2') return false;
    AStates[i] = static_cast<TcxCheckBoxState>(AText[i] - L'0');
  }
  return true;
}

bool ReadCheckStates(const Variant& AValue, IcxCheckItems* AItems, TcxCheckStatesValueFormatEx AFormat,
                     TcxCheckStates& AStates) {
  if (AFormat == cvfInteger) return ReadInteger(AValue, AStates);
  const std::optional<String> text = ValueText(AValue);
  if (!text) return false;
  switch (AFormat) {
    case cvfCaptions: return ReadCaptions(*text, AItems, AStates);
    case cvfIndices: return ReadIndices(*text, AStates);
    case cvfStatesString: return ReadStatesString(*text, AStates);
    default: return false;
  }
}

}  // namespace

Variant CheckStatesToEditValue(const TcxCheckStates& ACheckStates, IcxCheckItems* AItems,
                               TcxCheckStatesValueFormatEx AFormat) {
  switch (AFormat) {
    case cvfCaptions: return PackCaptions(ACheckStates, AItems);
    case cvfIndices: return PackIndices(ACheckStates);
    case cvfInteger: return PackInteger(ACheckStates);
    case cvfStatesString: return PackStatesString(ACheckStates);
    default: return Null();
  }
}

void CheckItemCountForFormat(TcxCheckStatesValueFormatEx AFormat, int ACount) {
  if (AFormat == cvfInteger && ACount > cxIntegerFormatMaxItems)
    throw EdxException(LoadResString(&cxSCheckControlIncorrectItemCount));
}

bool EditValueToCheckStates(const Variant& AValue, IcxCheckItems* AItems, TcxCheckStatesValueFormatEx AFormat,
                            TcxCheckStates& ACheckStates) {
  ACheckStates.assign(static_cast<std::size_t>(AItems->GetCount()), cbsUnchecked);
  if (ReadCheckStates(AValue, AItems, AFormat, ACheckStates)) return true;
  // A failed reader may have set some items already.
  std::ranges::fill(ACheckStates, cbsUnchecked);
  return false;
}
