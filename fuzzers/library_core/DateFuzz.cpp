// Each input must end with a result or one of the documented exceptions
// (EConvertError for an impossible Gregorian date or time, EInvalidArgument
// for text that is no number), never a crash, a hang, or a converted date
// outside the table's supported range.
#include "fuzzers/library_core/DateFuzz.h"

#include "fuzzers/support/FuzzMain.h"
#include "library/core/locale/cxDateUtils.h"
#include "library/core/locale/cxFormats.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Bytes as UTF-16 text; pairs of bytes make one character, so letters,
// quotes and Hebrew or Arabic characters all occur.
String TextOf(const std::string& ABytes) {
  String text;
  for (std::size_t i = 0; i + 1 < ABytes.size(); i += 2)
    text += static_cast<wchar_t>(static_cast<unsigned char>(ABytes[i]) |
                                 static_cast<unsigned char>(ABytes[i + 1]) << 8);
  return text;
}

std::string BytesOf(const std::wstring& AText) {
  std::string bytes;
  for (wchar_t c : AText) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// Reads numbers from the input, repeating it when it runs out.
class TDateFuzzReader {
 public:
  explicit TDateFuzzReader(const std::string& AInput) : FInput(AInput) {}

  std::uint32_t Next() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
      value = value << 8 | (FInput.empty() ? 0u : static_cast<unsigned char>(FInput[FPos++ % FInput.size()]));
    return value;
  }
  int Int() { return static_cast<int>(Next()); }
  int Small(int ALimit) { return static_cast<int>(Next() % static_cast<std::uint32_t>(ALimit)); }
  double Double() {
    std::uint64_t bits = static_cast<std::uint64_t>(Next()) << 32 | Next();
    double value = 0;
    std::memcpy(&value, &bits, sizeof(value));
    // Mostly dates of the run-time's range, sometimes any double.
    return Small(8) == 0 ? value : std::fmod(std::fabs(value), 3700000.0) - 700000.0;
  }

 private:
  const std::string& FInput;
  std::size_t FPos = 0;
};

template <class F>
void Tolerate(F&& AWork) {
  try {
    AWork();
  } catch (const EConvertError&) {
  } catch (const EInvalidArgument&) {
  }
}

void CheckInRange(const TcxCustomCalendarTable* ATable, TDateTime ADate) {
  TDateTime clamped = ADate;
  ATable->ClampToSupportedRange(clamped);
  if (clamped != ADate) FuzzInvariantBroken("a calendar result outside its table's supported range");
}

}  // namespace

std::vector<std::string> DateFormatSeeds() {
  const wchar_t* const formats[] = {L"dd/mm/yyyy", L"hh:nn:ss AMPM", L"c", L"ddddd", L"dddddd tt",
                                    L"'at' hh \"o'clock\"", L"d.M.yy H:mm:ss.zzz a/p", L"yyyy\u5E74M\u6708d\u65E5",
                                    L"aaaa, d. MMMM yyyy e gg", L"d\u200F/M\u200F/yyyy"};
  std::vector<std::string> seeds;
  for (const wchar_t* format : formats) seeds.push_back(BytesOf(format));
  return seeds;
}

void RunDateFormat(const std::string& AInput) {
  const String text = TextOf(AInput);
  const TFormatSettings saved = FormatSettings;
  // The same text as the nested formats, cut at different places.
  FormatSettings.ShortDateFormat = text.substr(0, text.size() / 2);
  FormatSettings.LongDateFormat = text.substr(text.size() / 3);
  FormatSettings.ShortTimeFormat = text.substr(text.size() / 4);
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(text, info.get());
  for (const TcxDateTimeMaskMode mode :
       {TcxDateTimeMaskMode::Date, TcxDateTimeMaskMode::Time, TcxDateTimeMaskMode::DateTime}) {
    GetDateTimeStandardMask(info.get(), mode);
    GetDateTimeRegExprMask(info.get(), mode);
  }
  GetMaskedDateTimeFormat(info.get());
  const int length = TcxFormatController::GetDateTimeStandardMaskStringLength(info.get());
  TcxDateTimeFormatItemInfo item;
  for (int pos = -1; pos <= length + 1; pos += 1 + length / 16)
    if (TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), pos, item) &&
        (item.ItemZoneStart < 1 || item.ItemZoneStart > pos || item.ItemZoneStart + item.ItemZoneLength <= pos))
      FuzzInvariantBroken("a standard-mask item that does not hold its position");
  GetDateEditFormat(text, true);
  ConvertLocaleTimeFormat(text);
  FormatDatePicture(text, text.empty() ? L'\0' : text[0], 45000.5);
  if (TcxFormatController* controller = FormatController()) {
    controller->RegExprCustomDateEditMask(text);
    controller->GetFormats();
  }
  String mask = text;
  AddSmartInputToRegExpr(mask, true);
  FormatSettings = saved;
}

std::vector<std::string> CalendarSeeds() {
  std::vector<std::string> seeds;
  for (int id : {1, 3, 4, 5, 6, 7, 8, 10, 23}) {
    std::string seed(48, '\0');
    seed[3] = static_cast<char>(id);
    for (std::size_t i = 4; i < seed.size(); ++i) seed[i] = static_cast<char>(i * 37 + id);
    seeds.push_back(seed);
  }
  return seeds;
}

void RunCalendar(const std::string& AInput) {
  TDateFuzzReader in(AInput);
  TcxCustomCalendarTable* table = GetCalendarTable(in.Small(14));
  if (!table) return;
  const TDateTime date = in.Double();
  const TcxDateTime converted = table->FromDateTime(date);
  Tolerate([&] { CheckInRange(table, table->ToDateTime(converted)); });
  TcxDateTime any = converted;
  any.Era = in.Small(6) - 1;
  any.Year = in.Small(3) == 0 ? in.Int() : converted.Year + in.Small(40) - 20;
  any.Month = in.Small(3) == 0 ? in.Int() : in.Small(15);
  any.Day = in.Small(3) == 0 ? in.Int() : in.Small(33);
  const int count = in.Small(2) == 0 ? in.Int() : in.Small(400) - 200;
  Tolerate([&] { CheckInRange(table, table->AddDays(any, count)); });
  Tolerate([&] { CheckInRange(table, table->AddWeeks(any, count)); });
  Tolerate([&] { CheckInRange(table, table->AddMonths(any, count)); });
  Tolerate([&] { CheckInRange(table, table->AddYears(any, count)); });
  Tolerate([&] { table->ToDateTime(any); });
  Tolerate([&] { table->GetWeekNumber(any, static_cast<TDay>(in.Small(7)), static_cast<TcxFirstWeekOfYear>(in.Small(4))); });
  Tolerate([&] { table->GetFirstDayOfWeek(date, static_cast<TDay>(in.Small(7))); });
  Tolerate([&] { table->GetLastDayOfYear(any); });
  Tolerate([&] { table->GetDayOfYear(any); });
  Tolerate([&] { GetGregorianWeekNumber(date, static_cast<TcxFirstWeekOfYear>(in.Small(4))); });
  const String text = TextOf(AInput.substr(AInput.size() / 2));
  int value = 0;
  table->TryGetDayNumber(text, value);
  table->TryGetMonthNumber(any.Year, text, value, FormatSettings);
  table->TryGetYearNumber(text, value);
  SYSTEMTIME rule{};
  rule.wYear = static_cast<WORD>(in.Next());
  rule.wMonth = static_cast<WORD>(in.Small(3) == 0 ? in.Next() : in.Small(13));
  rule.wDayOfWeek = static_cast<WORD>(in.Small(9));
  rule.wDay = static_cast<WORD>(in.Small(3) == 0 ? in.Next() : in.Small(7));
  rule.wHour = static_cast<WORD>(in.Small(26));
  TDateTime transition = 0;
  TdxTimeZoneHelper::TryTransitionDate(in.Small(10001), rule, transition);
}
