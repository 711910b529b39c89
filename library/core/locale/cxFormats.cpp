// The date/time format tokenizer and the format controller.
#include "library/core/locale/cxFormats.h"

#include "platform/ui/Forms.h"

#include <algorithm>
#include <cwchar>

namespace {

TcxFormatController* GFormatController = nullptr;
bool GFormatControllerFinalized = false;

wchar_t UpperAscii(wchar_t AChar) { return AChar >= L'a' && AChar <= L'z' ? static_cast<wchar_t>(AChar - 32) : AChar; }

// Whether S holds AToken at APos, ignoring the case of ASCII letters.
bool HasTokenAt(const String& S, std::size_t APos, const wchar_t* AToken) {
  const std::size_t length = std::wcslen(AToken);
  if (APos + length > S.size()) return false;
  for (std::size_t i = 0; i < length; ++i)
    if (UpperAscii(S[APos + i]) != AToken[i]) return false;
  return true;
}

// ---------------------------------------------------------------------------
// The tokenizer

class TFormatTokenScanner {
 public:
  explicit TFormatTokenScanner(TcxDateTimeFormatInfo* AInfo) : FInfo(AInfo) {}

  // Nested formats are expanded one level deep; a format nested inside that
  // one is ignored.
  bool Scan(const String& S, int ALevel) {
    if (ALevel >= 2) return true;
    bool hourSeen = false;
    bool suffixSeen = false;
    const bool result = ScanItems(S, ALevel, hourSeen, suffixSeen);
    // The outermost level that saw an hour decides the clock.
    if (hourSeen) FTwelveHour = suffixSeen;
    return result;
  }

  bool TwelveHour() const { return FTwelveHour; }

 private:
  bool ScanItems(const String& S, int ALevel, bool& AHourSeen, bool& ASuffixSeen) {
    wchar_t lastLetter = L' ';
    std::size_t pos = 0;
    while (pos < S.size()) {
      const wchar_t original = S[pos];
      const std::size_t start = pos++;
      wchar_t c = UpperAscii(original);
      if (c >= L'A' && c <= L'Z') {
        if (c == L'M' && lastLetter == L'H') c = L'N';
        lastLetter = c;
      }
      int count = 1;
      if (std::wcschr(L"CDEHMNSTYZ", c) && c != L'\0') {
        while (pos < S.size() && S[pos] == original) {
          ++pos;
          ++count;
        }
      }
      switch (c) {
        case L'"':
        case L'\'': {
          const std::size_t close = S.find(original, pos);
          const std::size_t end = close == String::npos ? S.size() : close;
          AppendLiteral(S.substr(pos, end - pos));
          pos = close == String::npos ? S.size() : close + 1;
          break;
        }
        case L'/': AddFormatItem(dtikDateSeparator, String()); break;
        case L':': AddFormatItem(dtikTimeSeparator, String()); break;
        case L'A':
          if (HasTokenAt(S, start, L"AM/PM")) {
            AddFormatItem(dtikTimeSuffix, S.substr(start, 5));
            pos = start + 5;
            ASuffixSeen = true;
          } else if (HasTokenAt(S, start, L"A/P")) {
            AddFormatItem(dtikTimeSuffix, S.substr(start, 3));
            pos = start + 3;
            ASuffixSeen = true;
          } else if (HasTokenAt(S, start, L"AMPM")) {
            AddFormatItem(dtikTimeSuffix, L"AMPM");
            pos = start + 4;
            ASuffixSeen = true;
          } else if (HasTokenAt(S, start, L"AAAA")) {
            AddFormatItem(dtikDay, L"DDDD");
            pos = start + 4;
          } else if (HasTokenAt(S, start, L"AAA")) {
            AddFormatItem(dtikDay, L"DDD");
            pos = start + 3;
          } else {
            AppendLiteral(String(1, original));
          }
          break;
        case L'C':
          if (!Scan(FormatSettings.ShortDateFormat, ALevel + 1)) return false;
          AppendLiteral(L" ");
          if (!Scan(GetLongTimeFormat(), ALevel + 1)) return false;
          break;
        case L'D':
          if (count <= 4)
            AddFormatItem(dtikDay, String(static_cast<std::size_t>(count), L'D'));
          else if (!Scan(count == 5 ? FormatSettings.ShortDateFormat : FormatSettings.LongDateFormat, ALevel + 1))
            return false;
          break;
        case L'E':
        case L'Y': AddFormatItem(dtikYear, count <= 2 ? L"YY" : L"YYYY"); break;
        case L'G': return false;  // era formats are not supported
        case L'H':
          AddFormatItem(dtikHour, String(static_cast<std::size_t>(std::min(count, 2)), L'H'));
          AHourSeen = true;
          break;
        case L'M': AddFormatItem(dtikMonth, String(static_cast<std::size_t>(std::min(count, 4)), L'M')); break;
        case L'N': AddFormatItem(dtikMin, String(static_cast<std::size_t>(std::min(count, 2)), L'N')); break;
        case L'S': AddFormatItem(dtikSec, String(static_cast<std::size_t>(std::min(count, 2)), L'S')); break;
        case L'T':
          if (!Scan(count == 1 ? FormatSettings.ShortTimeFormat : GetLongTimeFormat(), ALevel + 1)) return false;
          break;
        case L'Z': AddFormatItem(dtikMSec, String(static_cast<std::size_t>(std::min(count, 3)), L'Z')); break;
        default: AppendLiteral(String(1, original)); break;
      }
    }
    return true;
  }

  // The first item of each kind from year to time suffix wins; a day name
  // never marks the day, so a day number after it is still added.
  void AddFormatItem(TcxDateTimeFormatItemKind AKind, const String& AData) {
    if (AKind >= dtikYear && AKind <= dtikTimeSuffix && FInfo->DefinedItems(AKind)) return;
    FInfo->AddItem(AKind, AData);
    if (!(AKind == dtikDay && AData.size() > 2)) FInfo->SetDefinedItems(AKind, true);
  }

  // Consecutive literal characters form one item.
  void AppendLiteral(const String& AText) {
    const int count = FInfo->ItemCount();
    if (count == 0 || FInfo->Items(count - 1)->Kind() != dtikString) AddFormatItem(dtikString, String());
    TcxDateTimeFormatItem* item = FInfo->Items(FInfo->ItemCount() - 1);
    item->SetData(item->Data() + AText);
  }

  TcxDateTimeFormatInfo* FInfo;
  bool FTwelveHour = false;
};

// The hour item learns its clock; a time suffix without an hour goes.
void MarkHourClock(TcxDateTimeFormatInfo* AInfo, bool ATwelveHour) {
  if (AInfo->DefinedItems(dtikHour)) {
    for (int i = 0; i < AInfo->ItemCount(); ++i)
      if (TcxDateTimeFormatItem* item = AInfo->Items(i); item->Kind() == dtikHour) {
        item->SetData((ATwelveHour ? L"12" : L"24") + item->Data());
        return;
      }
  } else if (AInfo->DefinedItems(dtikTimeSuffix)) {
    for (int i = 0; i < AInfo->ItemCount(); ++i)
      if (AInfo->Items(i)->Kind() == dtikTimeSuffix) {
        AInfo->RemoveItem(i);
        break;
      }
    AInfo->SetDefinedItems(dtikTimeSuffix, false);
  }
}

// ---------------------------------------------------------------------------
// Mask texts

TcxTimeSuffixKind TimeSuffixKindOf(const String& AData) {
  const String upper = UpperCase(AData);
  if (upper == L"A/P") return tskAP;
  if (upper == L"AM/PM") return tskAMPM;
  return tskAMPMString;
}

int LongerTimeStringLength() {
  return static_cast<int>(std::max(FormatSettings.TimeAMString.size(), FormatSettings.TimePMString.size()));
}

bool IsNameItem(const TcxDateTimeFormatItem* AItem) { return AItem->Data().size() > 2; }

// The length of an item in a standard mask.
int StandardMaskLength(const TcxDateTimeFormatItem* AItem) {
  switch (AItem->Kind()) {
    case dtikString: return static_cast<int>(AItem->Data().size());
    case dtikYear: return AItem->Data() == L"YY" ? 2 : 4;
    case dtikMonth:
    case dtikDay: return IsNameItem(AItem) ? 3 : 2;
    case dtikHour:
    case dtikMin:
    case dtikSec: return 2;
    case dtikMSec: return 0;
    case dtikTimeSuffix:
      switch (TimeSuffixKindOf(AItem->Data())) {
        case tskAP: return 1;
        case tskAMPM: return 2;
        default: return LongerTimeStringLength();
      }
    default: return 1;  // the separators
  }
}

// A literal of the regular-expression syntax. An apostrophe of the text ends
// the quotes and stands escaped between them.
String QuotedRegExprText(const String& AText) {
  if (AText.find(L'\'') == String::npos) return L"'" + AText + L"'";
  String result;
  AddQuotedRegExprLiteral(result, AText);
  return result;
}

String RegExprSeparator(wchar_t ASeparator) {
  if (ASeparator == L'\0') return String();
  if (ASeparator == L' ') return L"' '";
  return String(L"\\") + ASeparator;
}

String RegExprMonth(const String& AData) {
  String names;
  for (int i = 0; i < 12; ++i) {
    if (i > 0) names += L'|';
    if (AData == L"MMMM") {
      names += QuotedRegExprText(FormatSettings.LongMonthNames[i]);
      const String genitive = GetGenitiveMonthName(i + 1);
      if (!AnsiSameText(genitive, FormatSettings.LongMonthNames[i])) names += L"|" + QuotedRegExprText(genitive);
    } else {
      names += QuotedRegExprText(FormatSettings.ShortMonthNames[i]);
    }
  }
  return L"((0?[1-9]|1[012])|(" + names + L"))";
}

String RegExprTimeSuffix(const String& AData) {
  switch (TimeSuffixKindOf(AData)) {
    case tskAP: return L"(A|P)?";
    case tskAMPM: return L"(AM|PM)?";
    default: break;
  }
  const String& am = FormatSettings.TimeAMString;
  const String& pm = FormatSettings.TimePMString;
  if (am.empty() && pm.empty()) return String();
  if (!am.empty() && !pm.empty()) return L"(" + QuotedRegExprText(am) + L"|" + QuotedRegExprText(pm) + L")?";
  return L"(" + QuotedRegExprText(am.empty() ? pm : am) + L")?";
}

bool IsDateModeItem(TcxDateTimeFormatItemKind AKind) {
  return AKind == dtikString || AKind == dtikYear || AKind == dtikMonth || AKind == dtikDay ||
         AKind == dtikDateSeparator;
}

bool IsTimeModeItem(TcxDateTimeFormatItemKind AKind) {
  return AKind == dtikString || (AKind >= dtikHour && AKind <= dtikTimeSuffix) || AKind == dtikTimeSeparator;
}

String RegExprItem(const TcxDateTimeFormatItem* AItem) {
  const String& data = AItem->Data();
  switch (AItem->Kind()) {
    case dtikString: return QuotedRegExprText(data);
    case dtikYear: return data == L"YY" ? L"\\d\\d" : L"\\d\\d\\d\\d";
    case dtikMonth: return RegExprMonth(data);
    case dtikDay: return L"([012]?[1-9]|[123]0|31)";
    case dtikDateSeparator: return RegExprSeparator(FormatSettings.DateSeparator);
    case dtikHour: return data.starts_with(L"12") ? L"(0?[1-9]|1[012])" : L"([01]?\\d|2[0-3])";
    case dtikMin:
    case dtikSec: return L"[0-5]?\\d";
    case dtikMSec: return String();
    case dtikTimeSuffix: return RegExprTimeSuffix(data);
    case dtikTimeSeparator: return RegExprSeparator(FormatSettings.TimeSeparator);
  }
  return String();
}

String StandardMaskItem(const TcxDateTimeFormatItem* AItem, TcxDateTimeMaskMode AMode) {
  const String& data = AItem->Data();
  switch (AItem->Kind()) {
    case dtikString: {
      String result;
      for (wchar_t c : data) {
        result += L'\\';
        result += c;
      }
      return result;
    }
    case dtikYear: return data == L"YY" ? L"99" : L"9999";
    case dtikMonth:
    case dtikDay: return IsNameItem(AItem) ? L"lll" : L"99";
    case dtikHour:
    case dtikMin:
    case dtikSec: return AMode == TcxDateTimeMaskMode::Time ? L"00" : L"99";
    case dtikMSec: return String();
    case dtikTimeSuffix:
      return String(static_cast<std::size_t>(StandardMaskLength(AItem)), L'c');
    case dtikDateSeparator: return L"/";
    case dtikTimeSeparator: return L":";
  }
  return String();
}

String MaskedFormatItem(const TcxDateTimeFormatItem* AItem) {
  switch (AItem->Kind()) {
    case dtikString: return L"'" + AItem->Data() + L"'";
    case dtikYear:
    case dtikTimeSuffix: return LowerCase(AItem->Data());
    case dtikMonth: return IsNameItem(AItem) ? L"mmm" : L"mm";
    case dtikDay: return IsNameItem(AItem) ? L"ddd" : L"dd";
    case dtikHour: return L"hh";
    case dtikMin: return L"nn";
    case dtikSec: return L"ss";
    case dtikMSec: return String();
    case dtikDateSeparator: return L"/";
    case dtikTimeSeparator: return L":";
  }
  return String();
}

// The settings with nothing in them.
TFormatSettings EmptyFormatSettings() {
  TFormatSettings s;
  s.CurrencyDecimals = 0;
  s.ThousandSeparator = s.DecimalSeparator = s.DateSeparator = s.TimeSeparator = s.ListSeparator = L'\0';
  s.TwoDigitYearCenturyWindow = 0;
  return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxDateTimeFormatItem, TcxDateTimeFormatInfo

void TcxDateTimeFormatItem::Create(TcxDateTimeFormatItemKind AKind, const String& AData) {
  inherited::Create();
  FKind = AKind;
  FData = AData;
}

void TcxDateTimeFormatInfo::Create() {
  inherited::Create();
  FItems.reset(New<TcxObjectList>(true));
}

void TcxDateTimeFormatInfo::Destroy() {
  if (FItems) ClearFormatInfo();
  FItems.reset();
  inherited::Destroy();
}

void TcxDateTimeFormatInfo::AddItem(TcxDateTimeFormatItemKind AKind, const String& AData) {
  FItems->Add(New<TcxDateTimeFormatItem>(AKind, AData));
}

void TcxDateTimeFormatInfo::RemoveItem(int AIndex) { FItems->FreeAndDelete(AIndex); }

void TcxDateTimeFormatInfo::ClearFormatInfo() {
  FItems->Clear();
  FDefinedItems.fill(false);
}

// ---------------------------------------------------------------------------
// Tokenizer

void ParseDateTimeFormat(const String& AFormat, TcxDateTimeFormatInfo* AFormatInfo) {
  AFormatInfo->ClearFormatInfo();
  TFormatTokenScanner scanner(AFormatInfo);
  if (!scanner.Scan(AFormat.empty() ? String(L"C") : AFormat, 0)) {
    AFormatInfo->ClearFormatInfo();
    return;
  }
  MarkHourClock(AFormatInfo, scanner.TwelveHour());
}

String ConvertLocaleTimeFormat(const String& AFormat) {
  String result;
  std::size_t i = 0;
  while (i < AFormat.size()) {
    if (AFormat[i] == L't' || AFormat[i] == L'T') {
      std::size_t run = 0;
      while (i < AFormat.size() && (AFormat[i] == L't' || AFormat[i] == L'T')) {
        ++i;
        ++run;
      }
      result += run == 1 ? L"A/P" : L"AMPM";
    } else {
      result += AFormat[i++];
    }
  }
  return result;
}

String GetLongTimeFormat() {
  const TcxFormatController* controller = FormatController();
  if (controller && controller->UseTarnelDateTimeFormats()) return FormatSettings.LongTimeFormat;
  return ConvertLocaleTimeFormat(GetLocaleLongTimeFormat());
}

// ---------------------------------------------------------------------------
// Masks and display formats

String GetDateTimeStandardMask(const TcxDateTimeFormatInfo* AFormatInfo, TcxDateTimeMaskMode AMode) {
  const bool time = AMode == TcxDateTimeMaskMode::Time;
  String result = time ? String() : String(L"!");
  for (int i = 0; i < AFormatInfo->ItemCount(); ++i) result += StandardMaskItem(AFormatInfo->Items(i), AMode);
  return result + (time ? L";1;0" : L";1; ");
}

String GetDateTimeRegExprMask(const TcxDateTimeFormatInfo* AFormatInfo, TcxDateTimeMaskMode AMode) {
  String result;
  for (int i = 0; i < AFormatInfo->ItemCount(); ++i) {
    const TcxDateTimeFormatItem* item = AFormatInfo->Items(i);
    const bool taken = AMode == TcxDateTimeMaskMode::Date   ? IsDateModeItem(item->Kind())
                       : AMode == TcxDateTimeMaskMode::Time ? IsTimeModeItem(item->Kind())
                                                            : true;
    if (taken) result += RegExprItem(item);
  }
  return result;
}

String GetMaskedDateTimeFormat(const TcxDateTimeFormatInfo* AFormatInfo) {
  String result;
  for (int i = 0; i < AFormatInfo->ItemCount(); ++i) result += MaskedFormatItem(AFormatInfo->Items(i));
  return result;
}

String GetDateEditFormat(const String& AShortDateFormat, bool AShortenMonthNames) {
  String result;
  const std::size_t n = AShortDateFormat.size();
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t c = AShortDateFormat[i];
    const bool single = (c == L'd' || c == L'M') && (i == 0 || AShortDateFormat[i - 1] != c) &&
                        (i + 1 == n || AShortDateFormat[i + 1] != c);
    result += c;
    if (single) result += c;
  }
  if (AShortenMonthNames) {
    String shortened;
    std::size_t run = 0;
    for (wchar_t c : result) {
      run = c == L'M' ? run + 1 : 0;
      if (run <= 3) shortened += c;
    }
    result = std::move(shortened);
  }
  return result;
}

String GetGenitiveMonthName(int AMonth) {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  st.wMonth = static_cast<WORD>(AMonth);
  st.wDay = 1;
  st.wDayOfWeek = 0;
  wchar_t buffer[100];
  const int length = GetDateFormatW(GetThreadLocale(), 0, &st, L"ddMMMM", buffer, 100);
  if (length <= 0) return FormatSettings.LongMonthNames[AMonth - 1];
  return String(buffer + std::min(2, length - 1), buffer + length - 1);
}

// ---------------------------------------------------------------------------
// TcxFormatController

void TcxFormatController::Create() {
  inherited::Create();
  FFirstWeekOfYear = fwySystem;
  FUseTarnelDateTimeFormats = false;
  FDateFormatInfo.reset(New<TcxDateTimeFormatInfo>());
  FTimeFormatInfo.reset(New<TcxDateTimeFormatInfo>());
  FDateTimeFormatInfo.reset(New<TcxDateTimeFormatInfo>());
  GetFormats();
  if (TdxResourceStringsRepository* repository = GetResourceStringsRepository()) repository->AddListener(this);
}

void TcxFormatController::Destroy() {
  if (TdxResourceStringsRepository* repository = GetResourceStringsRepository()) repository->RemoveListener(this);
  // A freed controller must not stay the global one.
  if (GFormatController == this) GFormatController = nullptr;
  FDateTimeFormatInfo.reset();
  FTimeFormatInfo.reset();
  FDateFormatInfo.reset();
  FList.clear();
  inherited::Destroy();
}

bool TcxFormatController::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxLocalizerListener>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxFormatController::AddListener(IcxFormatControllerListener* AListener) {
  if (AListener && std::find(FList.begin(), FList.end(), AListener) == FList.end()) FList.push_back(AListener);
}

void TcxFormatController::RemoveListener(IcxFormatControllerListener* AListener) {
  std::erase(FList, AListener);
}

void TcxFormatController::EndUpdate() {
  if (--FLockCount == 0) NotifyListeners();
}

void TcxFormatController::NotifyListeners() {
  ForEachListener([](IcxFormatControllerListener* AListener) { AListener->FormatChanged(); });
}

void TcxFormatController::ForEachListener(const std::function<void(IcxFormatControllerListener*)>& AProc) {
  // A listener may leave, or make others leave, while it is told: the list
  // as it stood is walked, and whoever has left since is skipped.
  const std::vector<IcxFormatControllerListener*> listeners = FList;
  for (IcxFormatControllerListener* listener : listeners)
    if (std::find(FList.begin(), FList.end(), listener) != FList.end()) AProc(listener);
}

void TcxFormatController::Changed() {
  if (FLockCount != 0) return;
  GetFormats();
  NotifyListeners();
}

void TcxFormatController::GetFormats() {
  if (!GFormatController && !GFormatControllerFinalized) GFormatController = this;
  if (!FAssignedCurrencyFormat) FCurrencyFormat = GetCurrencyFormat(TFormatSettings(FormatSettings));
  FDateEditFormat = GetDateEditFormat(FormatSettings.ShortDateFormat);
  UpdateLocalFormatSettings();
  BuildMasks();
}

void TcxFormatController::UpdateLocalFormatSettings() {
  FLocalFormatSettings = EmptyFormatSettings();
  GetLocaleFormatSettings(FLocalFormatSettings);
  FLocalIsGregorianCalendar = IsGregorianCalendar();
}

void TcxFormatController::BuildMasks() {
  const String dateFormat = FormatSettings.ShortDateFormat;
  const String timeFormat = GetLongTimeFormat();
  ParseDateTimeFormat(dateFormat, FDateFormatInfo.get());
  ParseDateTimeFormat(timeFormat, FTimeFormatInfo.get());
  ParseDateTimeFormat(dateFormat + L" " + timeFormat, FDateTimeFormatInfo.get());

  FDateEditMask = GetDateTimeStandardMask(FDateFormatInfo.get(), TcxDateTimeMaskMode::Date);
  if (FAssignedStandardDateEditMask) {
    FIsStandardMaskValid = true;
  } else {
    FStandardDateEditMask = FDateEditMask;
    // Month names fit a fixed-width mask only when they are all as long.
    bool monthName = false;
    for (int i = 0; i < FDateFormatInfo->ItemCount(); ++i)
      if (FDateFormatInfo->Items(i)->Kind() == dtikMonth && IsNameItem(FDateFormatInfo->Items(i))) monthName = true;
    bool sameLength = true;
    for (const String& name : FormatSettings.ShortMonthNames)
      if (name.size() != FormatSettings.ShortMonthNames[0].size()) sameLength = false;
    FIsStandardMaskValid = !monthName || sameLength;
  }
  if (!FAssignedRegExprDateEditMask) {
    FRegExprDateEditMask = GetDateTimeRegExprMask(FDateFormatInfo.get(), TcxDateTimeMaskMode::Date);
    AddSmartInputToRegExpr(FRegExprDateEditMask, false);
  }
  if (!FAssignedRegExprDateTimeEditMask) {
    FRegExprDateTimeEditMask = GetDateTimeRegExprMask(FDateFormatInfo.get(), TcxDateTimeMaskMode::Date) + L" ' '(" +
                               GetDateTimeRegExprMask(FTimeFormatInfo.get(), TcxDateTimeMaskMode::Time) + L")?";
    AddSmartInputToRegExpr(FRegExprDateTimeEditMask, true);
  }
  if (!FAssignedStandardDateTimeEditMask)
    FStandardDateTimeEditMask = GetDateTimeStandardMask(FDateTimeFormatInfo.get(), TcxDateTimeMaskMode::DateTime);
  FMaskedDateEditFormat = GetMaskedDateTimeFormat(FDateFormatInfo.get());
  FMaskedDateTimeEditFormat = GetMaskedDateTimeFormat(FDateTimeFormatInfo.get());
}

String TcxFormatController::GetCurrencyFormat(const TFormatSettings& AFormatSettings) {
  const String number = L",0." + String(AFormatSettings.CurrencyDecimals, L'0');
  String symbol;
  for (wchar_t c : AFormatSettings.CurrencyString) {
    if (c == L',' || c == L'.')
      symbol += String(L"'") + c + L"'";
    else
      symbol += c;
  }
  String positive;
  switch (AFormatSettings.CurrencyFormat) {
    case 0: positive = symbol + number; break;
    case 1: positive = number + symbol; break;
    case 2: positive = symbol + L" " + number; break;
    case 3: positive = number + L" " + symbol; break;
    default: break;
  }
  String negative;
  switch (AFormatSettings.NegCurrFormat) {
    case 0: negative = L"(" + symbol + number + L")"; break;
    case 1: negative = L"-" + symbol + number; break;
    case 2: negative = symbol + L"-" + number; break;
    case 3: negative = symbol + number + L"-"; break;
    case 4: negative = L"(" + number + symbol + L")"; break;
    case 5: negative = L"-" + number + symbol; break;
    case 6: negative = number + L"-" + symbol; break;
    case 7: negative = number + symbol + L"-"; break;
    case 8: negative = L"-" + number + L" " + symbol; break;
    case 9: negative = L"-" + symbol + L" " + number; break;
    case 10: negative = number + L" " + symbol + L"-"; break;
    case 11: negative = symbol + L" " + number + L"-"; break;
    case 12: negative = symbol + L" -" + number; break;
    case 13: negative = number + L"- " + symbol; break;
    case 14: negative = L"(" + symbol + L" " + number + L")"; break;
    case 15: negative = L"(" + number + L" " + symbol + L")"; break;
    default: break;
  }
  return positive + L";" + negative;
}

String TcxFormatController::RegExprCustomDateEditMask(const String& AFormatString) {
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(AFormatString, info.get());
  return GetDateTimeRegExprMask(info.get(), info->DefinedItems(dtikHour) ? TcxDateTimeMaskMode::DateTime
                                                                          : TcxDateTimeMaskMode::Date);
}

bool TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(const TcxDateTimeFormatInfo* AFormatInfo, int APos,
                                                                TcxDateTimeFormatItemInfo& AItemInfo) {
  if (APos <= 0) return false;
  int start = 1;
  for (int i = 0; i < AFormatInfo->ItemCount(); ++i) {
    const TcxDateTimeFormatItem* item = AFormatInfo->Items(i);
    const int length = StandardMaskLength(item);
    if (start + length > APos) {
      AItemInfo.Kind = item->Kind();
      AItemInfo.ItemZoneStart = start;
      AItemInfo.ItemZoneLength = length;
      if (item->Kind() == dtikTimeSuffix) AItemInfo.TimeSuffixKind = TimeSuffixKindOf(item->Data());
      return true;
    }
    start += length;
  }
  return false;
}

int TcxFormatController::GetDateTimeStandardMaskStringLength(const TcxDateTimeFormatInfo* AFormatInfo) {
  int result = 0;
  for (int i = 0; i < AFormatInfo->ItemCount(); ++i) result += StandardMaskLength(AFormatInfo->Items(i));
  return result;
}

void TcxFormatController::SetFlag(bool& AField, bool AValue) {
  if (AField == AValue) return;
  AField = AValue;
  Changed();
}

void TcxFormatController::SetAssignedText(String& AField, bool& AAssigned, const String& AValue) {
  AAssigned = true;
  if (AField == AValue) return;
  AField = AValue;
  Changed();
}

void TcxFormatController::SetAssignedStartOfWeek(bool AValue) {
  if (AValue)
    ::SetAssignedStartOfWeek(GetLocaleStartOfWeek());
  else
    ClearAssignedStartOfWeek();
}

void TcxFormatController::SetFirstWeekOfYear(TcxFirstWeekOfYear AValue) {
  if (FFirstWeekOfYear == AValue) return;
  FFirstWeekOfYear = AValue;
  Changed();
}

void TcxFormatController::SetStartOfWeek(TDay AValue) {
  if (GetStartOfWeek() == AValue) return;
  ::SetAssignedStartOfWeek(AValue);
  Changed();
}

void TcxFormatController::WndProc(TMessage& AMessage) {
  switch (AMessage.Msg) {
    case WM_SETTINGCHANGE: {
      const auto* section = reinterpret_cast<const wchar_t*>(AMessage.LParam);
      if (AMessage.WParam != 0 || !section || std::wcscmp(section, L"intl") != 0) break;
      if (Application() && Application()->UpdateFormatSettings()) {
        SetThreadLocale(LOCALE_USER_DEFAULT);
        GetFormatSettings();
        GetFormats();
        NotifyListeners();
      } else {
        UpdateLocalFormatSettings();
      }
      AMessage.Result = 0;
      return;
    }
    case WM_TIMECHANGE: {
      ForEachListener([](IcxFormatControllerListener* AListener) {
        if (IPtr<IcxTimeChangeListener> timeListener = Supports<IcxTimeChangeListener>(AListener))
          timeListener->TimeChanged();
      });
      AMessage.Result = 0;
      return;
    }
    default: break;
  }
  inherited::WndProc(AMessage);
}

// ---------------------------------------------------------------------------
// The global controller and the unit

TcxFormatController* FormatController() {
  if (!GFormatController && !GFormatControllerFinalized) New<TcxFormatController>();
  return GFormatController;
}

void cxFormatsInitialization() { GFormatControllerFinalized = false; }

void cxFormatsFinalization() {
  GFormatControllerFinalized = true;
  // In an executable the controller lives on with the application object;
  // its destruction clears the variable.
  ScheduleGlobalObjectFree(GFormatController);
}
