#include "library/editors/masks/cxStandardMask.h"

#include "library/core/base/dxCore.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Positions

bool TcxStandardMaskManyItem::Check(wchar_t& AChar) const {
  const bool result = Accepts(AChar);
  if (FCaseControl == ccUpperCase)
    AChar = UpperCaseChar(AChar);
  else if (FCaseControl == ccLowerCase)
    AChar = LowerCaseChar(AChar);
  return result;
}

bool TcxStandardMaskNumericItem::Accepts(wchar_t AChar) const { return IsDigitChar(AChar); }

bool TcxStandardMaskNumericSymbolItem::Accepts(wchar_t AChar) const {
  return IsDigitChar(AChar) || AChar == L'+' || AChar == L'-';
}

bool TcxStandardMaskAlphaItem::Accepts(wchar_t AChar) const { return IsAlphaChar(AChar); }

bool TcxStandardMaskAlphaNumericItem::Accepts(wchar_t AChar) const {
  return IsAlphaChar(AChar) || IsDigitChar(AChar);
}

// ---------------------------------------------------------------------------
// Mask

void TcxStandardMask::Compile(const String& AMask) {
  FItems.clear();
  FLeading = false;
  FSaveLiteralCharacters = true;
  FBlank = L'_';
  FMask = AMask;
  FLeading = !AMask.empty() && AMask[0] == L'!';
  ParseMask(FLeading ? AMask.substr(1) : AMask);
}

void TcxStandardMask::ParseMask(const String& AMask) {
  TcxCaseControl caseControl = ccUserCase;
  auto addLiteral = [this](wchar_t C) { FItems.push_back(std::make_unique<TcxStandardMaskLiteralItem>(C)); };
  auto isSaveFlag = [](wchar_t C) { return C == L'0' || C == L'1'; };
  const std::size_t length = AMask.size();
  for (std::size_t i = 0; i < length; ++i) {
    const wchar_t c = AMask[i];
    const std::size_t rest = length - i - 1;
    switch (c) {
      case L'0':
      case L'9':
        FItems.push_back(std::make_unique<TcxStandardMaskNumericItem>(caseControl, c == L'9'));
        break;
      case L'#':
        FItems.push_back(std::make_unique<TcxStandardMaskNumericSymbolItem>(caseControl));
        break;
      case L'L':
      case L'l':
        FItems.push_back(std::make_unique<TcxStandardMaskAlphaItem>(caseControl, c == L'l'));
        break;
      case L'A':
      case L'a':
        FItems.push_back(std::make_unique<TcxStandardMaskAlphaNumericItem>(caseControl, c == L'a'));
        break;
      case L'C':
      case L'c':
        FItems.push_back(std::make_unique<TcxStandardMaskASCIIItem>(caseControl, c == L'c'));
        break;
      case L'/':
        addLiteral(FormatSettings.DateSeparator);
        break;
      case L':':
        addLiteral(FormatSettings.TimeSeparator);
        break;
      case L'\\':
        if (rest > 0) addLiteral(AMask[++i]);  // a final backslash is dropped
        break;
      case L'<':
        if (rest > 0 && AMask[i + 1] == L'>') {
          caseControl = ccUserCase;
          ++i;
        } else {
          caseControl = ccLowerCase;
        }
        break;
      case L'>':
        caseControl = ccUpperCase;
        break;
      case L';':
        if (rest == 3 && isSaveFlag(AMask[i + 1]) && AMask[i + 2] == L';') {
          FSaveLiteralCharacters = AMask[i + 1] == L'1';
          FBlank = AMask[i + 3];
          return;
        }
        if (rest == 1 && isSaveFlag(AMask[i + 1])) {
          FSaveLiteralCharacters = AMask[i + 1] == L'1';
          return;
        }
        addLiteral(c);
        break;
      default:
        addLiteral(c);
        break;
    }
  }
}

String TcxStandardMask::FullEmptyString() const {
  String result;
  result.reserve(FItems.size());
  for (const auto& item : FItems)
    result += item->IsLiteral() ? static_cast<const TcxStandardMaskLiteralItem&>(*item).Literal() : FBlank;
  return result;
}

String TcxStandardMask::EmptyString() const {
  String result;
  for (const auto& item : FItems) {
    if (!item->IsLiteral())
      result += L' ';
    else if (FSaveLiteralCharacters)
      result += static_cast<const TcxStandardMaskLiteralItem&>(*item).Literal();
  }
  return result;
}

void TcxStandardMask::Format(String& AText, bool AChangeCharCase, bool AMatchForBlanksAndLiterals) const {
  String result = FullEmptyString();
  const std::size_t count = FItems.size();
  const bool skipLiterals = !FSaveLiteralCharacters && !AMatchForBlanksAndLiterals && AText.size() != count;
  // With leading fill, positions and characters are both walked from the end.
  auto at = [this](std::size_t AStep, std::size_t ALength) { return FLeading ? ALength - 1 - AStep : AStep; };
  std::size_t current = 0;
  for (std::size_t step = 0; step < AText.size() && current < count; ++step) {
    const wchar_t original = AText[at(step, AText.size())];
    for (std::size_t position = current; position < count; ++position) {
      const std::size_t index = at(position, count);
      const TcxStandardMaskCustomItem& item = *FItems[index];
      if (item.IsLiteral() && skipLiterals) continue;
      wchar_t converted = original;
      if (item.Check(converted)) {
        result[index] = AChangeCharCase ? converted : original;
        current = position + 1;
        break;
      }
      if (!item.IsLiteral() && IsBlank(original)) {
        current = position + 1;
        break;
      }
    }
  }
  AText = result;
}

void TcxStandardMask::Format2(String& AText) const {
  String result;
  const std::size_t length = std::min(AText.size(), FItems.size());
  for (std::size_t i = 0; i < length; ++i) {
    const bool literal = FItems[i]->IsLiteral();
    if (literal && !FSaveLiteralCharacters) continue;
    result += !literal && IsBlank(AText[i]) ? L' ' : AText[i];
  }
  AText = result;
}

bool TcxStandardMask::IsValid(String& AText) const {
  if (AText.size() > FItems.size()) return false;
  for (std::size_t i = 0; i < AText.size(); ++i) {
    const wchar_t original = AText[i];
    const TcxStandardMaskCustomItem& item = *FItems[i];
    if (!item.Check(AText[i]) && (item.IsLiteral() || !IsBlank(original))) return false;
  }
  return true;
}

bool TcxStandardMask::IsFullValid(String& AText) const {
  if (AText.size() != FItems.size()) return false;
  for (std::size_t i = 0; i < AText.size(); ++i) {
    const wchar_t original = AText[i];
    const TcxStandardMaskCustomItem& item = *FItems[i];
    if (item.Check(AText[i])) continue;
    const auto* input = dynamic_cast<const TcxStandardMaskManyItem*>(&item);
    if (input == nullptr || !input->Optional() || !IsBlank(original)) return false;
  }
  return true;
}
