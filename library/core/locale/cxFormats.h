// The locale's date, time and currency formats as the editors need them: a
// date/time format string broken into typed items, and the one format
// controller that turns the locale's pictures into edit masks (standard and
// regular-expression syntax) and display formats, rebuilds them when the
// regional settings change and tells its listeners.
//
// Classes in this file:
//   TcxDateTimeFormatItemKind, TcxTimeSuffixKind, TcxDateTimeFormatItemKindArray
//   TcxDateTimeFormatItem        one item of a parsed format: its kind and normalised text
//   TcxDateTimeFormatInfo        a format string parsed into items
//   TcxDateTimeFormatItemInfo    where an item lies in a standard mask
//   TcxDateTimeMaskMode          date, time or date-and-time masks
//   IcxFormatControllerListener  told after the formats were rebuilt
//   IcxTimeChangeListener        told when the system time changes
//   TcxFormatController          the keeper of the locale formats (FormatController)
//
// Format strings use the run-time's syntax ("dd/mm/yyyy", "hh:nn:ss AMPM",
// "c", "ddddd" ...); the locale's own pictures (Windows syntax) are read
// through the date unit.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/locale/cxDateUtils.h"
#include "library/core/system/cxMessageWindow.h"
#include "library/core/base/dxCore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// ---------------------------------------------------------------------------
// Parsed formats

enum TcxDateTimeFormatItemKind : std::uint8_t {
  dtikString,
  dtikYear,
  dtikMonth,
  dtikDay,
  dtikHour,
  dtikMin,
  dtikSec,
  dtikMSec,
  dtikTimeSuffix,
  dtikDateSeparator,
  dtikTimeSeparator
};
constexpr int cxDateTimeFormatItemKindCount = 11;

enum TcxTimeSuffixKind { tskAP, tskAMPM, tskAMPMString };

using TcxDateTimeFormatItemKindArray = std::array<bool, cxDateTimeFormatItemKindCount>;

// Data by kind: literal text without quotes; "YY"/"YYYY"; "M".."MMMM";
// "D".."DDDD"; "H"/"HH" prefixed by "12" or "24"; "N"/"NN"; "S"/"SS";
// "Z".."ZZZ"; "AM/PM" or "A/P" as written, or "AMPM"; empty for separators.
class TcxDateTimeFormatItem : public TObject {
  SK_CLASS(TcxDateTimeFormatItem, TObject)
 public:
  void Create(TcxDateTimeFormatItemKind AKind, const String& AData);

  const String& Data() const { return FData; }
  void SetData(const String& AValue) { FData = AValue; }
  TcxDateTimeFormatItemKind Kind() const { return FKind; }
  void SetKind(TcxDateTimeFormatItemKind AValue) { FKind = AValue; }

 private:
  String FData;
  TcxDateTimeFormatItemKind FKind;
};

class TcxDateTimeFormatInfo : public TObject {
  SK_CLASS(TcxDateTimeFormatInfo, TObject)
 public:
  void Create();
  void Destroy() override;

  // Appends an item, without checks.
  void AddItem(TcxDateTimeFormatItemKind AKind, const String& AData);
  void RemoveItem(int AIndex);
  // Frees every item; no kind is defined afterwards.
  void ClearFormatInfo();

  TcxDateTimeFormatItem* Items(int AIndex) const { return static_cast<TcxDateTimeFormatItem*>(FItems->Items(AIndex)); }
  int ItemCount() const { return FItems->Count(); }
  // Which kinds the list holds (a day name never marks the day).
  bool DefinedItems(TcxDateTimeFormatItemKind AKind) const { return FDefinedItems[AKind]; }
  void SetDefinedItems(TcxDateTimeFormatItemKind AKind, bool AValue) { FDefinedItems[AKind] = AValue; }

 private:
  TOwned<TcxObjectList> FItems;
  TcxDateTimeFormatItemKindArray FDefinedItems;
};

// Fills AFormatInfo from a format string (an empty one means "C"). A format
// with an era letter, also inside a nested short or long date format, gives
// an empty list with no kind defined.
void ParseDateTimeFormat(const String& AFormat, TcxDateTimeFormatInfo* AFormatInfo);
// The long time format of the tokenizer and the controller: the run-time's
// when the controller uses the run-time's formats, else the thread locale's
// converted by ConvertLocaleTimeFormat.
String GetLongTimeFormat();
// A Windows time picture in the run-time's syntax: "t" becomes "A/P", a
// longer run of "t" "AMPM".
String ConvertLocaleTimeFormat(const String& AFormat);

// ---------------------------------------------------------------------------
// Masks and display formats of a parsed format

enum class TcxDateTimeMaskMode { Date, Time, DateTime };

struct TcxDateTimeFormatItemInfo {
  TcxDateTimeFormatItemKind Kind = dtikString;
  int ItemZoneStart = 0;  // 1-based
  int ItemZoneLength = 0;
  TcxTimeSuffixKind TimeSuffixKind = tskAP;  // set for a time suffix only
};

// The standard mask ("!99/99/9999;1; "); time mode has no "!" and ends ";1;0".
String GetDateTimeStandardMask(const TcxDateTimeFormatInfo* AFormatInfo, TcxDateTimeMaskMode AMode);
// The regular expression of the items of the mode (date mode: literals and
// date items; time mode: literals and time items; date-time mode: all).
String GetDateTimeRegExprMask(const TcxDateTimeFormatInfo* AFormatInfo, TcxDateTimeMaskMode AMode);
// The display format that goes with the masks ("dd/mm/yyyy hh:nn:ss").
String GetMaskedDateTimeFormat(const TcxDateTimeFormatInfo* AFormatInfo);
// The short date format with lone "d" and "M" doubled; with
// AShortenMonthNames a run of more than three "M" is cut to three.
String GetDateEditFormat(const String& AShortDateFormat, bool AShortenMonthNames = false);
// The genitive name of a month (GetDateFormatW "ddMMMM" of its first day in
// the current year), or the long month name when Windows has none.
String GetGenitiveMonthName(int AMonth);

// ---------------------------------------------------------------------------
// The format controller

struct IcxFormatControllerListener : public virtual IInterface {
  static constexpr GUID IID = {0x7C2E94B1, 0x5A06, 0x4D3F, {0x8B, 0x17, 0xE4, 0x60, 0x3D, 0x9A, 0xC2, 0x58}};
  virtual void FormatChanged() = 0;

 protected:
  ~IcxFormatControllerListener() = default;
};

struct IcxTimeChangeListener : public virtual IInterface {
  static constexpr GUID IID = {0x5E33A2A7, 0x0C77, 0x415F, {0xA3, 0x59, 0x11, 0x21, 0x03, 0xE5, 0x49, 0x37}};
  virtual void TimeChanged() = 0;

 protected:
  ~IcxTimeChangeListener() = default;
};

// The process-wide keeper of the locale formats. Its hidden window is a
// top-level one, so it hears WM_SETTINGCHANGE ("intl") and WM_TIMECHANGE.
// An assigned mask or currency format survives every rebuild until its
// Assigned flag is cleared.
class TcxFormatController : public TcxMessageWindow, public IdxLocalizerListener {
  SK_CLASS(TcxFormatController, TcxMessageWindow)
 public:
  void Create() override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // Listeners, each once, told in order of registration.
  virtual void AddListener(IcxFormatControllerListener* AListener);
  virtual void RemoveListener(IcxFormatControllerListener* AListener);
  int ListenerCount() const { return static_cast<int>(FList.size()); }
  // Between them nothing is rebuilt; EndUpdate only notifies.
  void BeginUpdate() { ++FLockCount; }
  void EndUpdate();
  void NotifyListeners();
  // Rebuilds everything from the run-time's settings and the thread locale.
  void GetFormats();
  // GetFormats and NotifyListeners outside an update.
  void Changed();
  void TranslationChanged() override { Changed(); }

  // The currency display format of the settings (",0.00" with the symbol).
  static String GetCurrencyFormat(const TFormatSettings& AFormatSettings);
  // The regular-expression mask of a format: date-time mode when it has an
  // hour, else date mode; no smart-input keywords.
  String RegExprCustomDateEditMask(const String& AFormatString);
  // The item of a standard-mask text at a 1-based character position.
  static bool GetDateTimeFormatItemStandardMaskInfo(const TcxDateTimeFormatInfo* AFormatInfo, int APos,
                                                    TcxDateTimeFormatItemInfo& AItemInfo);
  static int GetDateTimeStandardMaskStringLength(const TcxDateTimeFormatInfo* AFormatInfo);

  // Properties
  bool AssignedCurrencyFormat() const { return FAssignedCurrencyFormat; }
  void SetAssignedCurrencyFormat(bool AValue) { SetFlag(FAssignedCurrencyFormat, AValue); }
  bool AssignedRegExprDateEditMask() const { return FAssignedRegExprDateEditMask; }
  void SetAssignedRegExprDateEditMask(bool AValue) { SetFlag(FAssignedRegExprDateEditMask, AValue); }
  bool AssignedRegExprDateTimeEditMask() const { return FAssignedRegExprDateTimeEditMask; }
  void SetAssignedRegExprDateTimeEditMask(bool AValue) { SetFlag(FAssignedRegExprDateTimeEditMask, AValue); }
  bool AssignedStandardDateEditMask() const { return FAssignedStandardDateEditMask; }
  void SetAssignedStandardDateEditMask(bool AValue) { SetFlag(FAssignedStandardDateEditMask, AValue); }
  bool AssignedStandardDateTimeEditMask() const { return FAssignedStandardDateTimeEditMask; }
  void SetAssignedStandardDateTimeEditMask(bool AValue) { SetFlag(FAssignedStandardDateTimeEditMask, AValue); }
  bool AssignedStartOfWeek() const { return IsStartOfWeekAssigned(); }
  // True assigns the locale's start of the week; false clears it. Nothing is
  // rebuilt and nobody is told.
  void SetAssignedStartOfWeek(bool AValue);

  const String& CurrencyFormat() const { return FCurrencyFormat; }
  void SetCurrencyFormat(const String& AValue) { SetAssignedText(FCurrencyFormat, FAssignedCurrencyFormat, AValue); }
  const String& RegExprDateEditMask() const { return FRegExprDateEditMask; }
  void SetRegExprDateEditMask(const String& AValue) {
    SetAssignedText(FRegExprDateEditMask, FAssignedRegExprDateEditMask, AValue);
  }
  const String& RegExprDateTimeEditMask() const { return FRegExprDateTimeEditMask; }
  void SetRegExprDateTimeEditMask(const String& AValue) {
    SetAssignedText(FRegExprDateTimeEditMask, FAssignedRegExprDateTimeEditMask, AValue);
  }
  const String& StandardDateEditMask() const { return FStandardDateEditMask; }
  void SetStandardDateEditMask(const String& AValue) {
    SetAssignedText(FStandardDateEditMask, FAssignedStandardDateEditMask, AValue);
  }
  const String& StandardDateTimeEditMask() const { return FStandardDateTimeEditMask; }
  void SetStandardDateTimeEditMask(const String& AValue) {
    SetAssignedText(FStandardDateTimeEditMask, FAssignedStandardDateTimeEditMask, AValue);
  }

  bool DateEditShowZeroTime() const { return FDateEditShowZeroTime; }
  void SetDateEditShowZeroTime(bool AValue) { SetFlag(FDateEditShowZeroTime, AValue); }
  TcxFirstWeekOfYear FirstWeekOfYear() const { return FFirstWeekOfYear; }
  void SetFirstWeekOfYear(TcxFirstWeekOfYear AValue);
  // The assigned start of the week when one is assigned, else the locale's.
  TDay StartOfWeek() const { return GetStartOfWeek(); }
  void SetStartOfWeek(TDay AValue);
  // Take the long time format from the run-time's settings, not the locale.
  bool UseTarnelDateTimeFormats() const { return FUseTarnelDateTimeFormats; }
  void SetUseTarnelDateTimeFormats(bool AValue) { SetFlag(FUseTarnelDateTimeFormats, AValue); }

  const String& DateEditFormat() const { return FDateEditFormat; }
  const String& DateEditMask() const { return FDateEditMask; }
  TcxDateTimeFormatInfo* DateFormatInfo() const { return FDateFormatInfo.get(); }
  TcxDateTimeFormatInfo* TimeFormatInfo() const { return FTimeFormatInfo.get(); }
  TcxDateTimeFormatInfo* DateTimeFormatInfo() const { return FDateTimeFormatInfo.get(); }
  bool IsStandardMaskValid() const { return FIsStandardMaskValid; }
  const String& MaskedDateEditFormat() const { return FMaskedDateEditFormat; }
  const String& MaskedDateTimeEditFormat() const { return FMaskedDateTimeEditFormat; }
  // The thread locale's own pictures (Windows syntax), separators and AM/PM
  // strings; every other field is empty.
  const TFormatSettings& LocalFormatSettings() const { return FLocalFormatSettings; }
  bool LocalIsGregorianCalendar() const { return FLocalIsGregorianCalendar; }

 protected:
  bool IsMessageOnly() override { return false; }
  void WndProc(TMessage& AMessage) override;

 private:
  // Stores a changed value and rebuilds.
  void SetFlag(bool& AField, bool AValue);
  void SetAssignedText(String& AField, bool& AAssigned, const String& AValue);
  void UpdateLocalFormatSettings();
  void BuildMasks();
  // Each listener registered now and still registered when its turn comes.
  void ForEachListener(const std::function<void(IcxFormatControllerListener*)>& AProc);

  std::vector<IcxFormatControllerListener*> FList;
  int FLockCount;
  TOwned<TcxDateTimeFormatInfo> FDateFormatInfo;
  TOwned<TcxDateTimeFormatInfo> FTimeFormatInfo;
  TOwned<TcxDateTimeFormatInfo> FDateTimeFormatInfo;
  String FCurrencyFormat;
  bool FAssignedCurrencyFormat;
  String FDateEditFormat;
  String FDateEditMask;
  String FStandardDateEditMask;
  bool FAssignedStandardDateEditMask;
  String FStandardDateTimeEditMask;
  bool FAssignedStandardDateTimeEditMask;
  String FRegExprDateEditMask;
  bool FAssignedRegExprDateEditMask;
  String FRegExprDateTimeEditMask;
  bool FAssignedRegExprDateTimeEditMask;
  bool FIsStandardMaskValid;
  String FMaskedDateEditFormat;
  String FMaskedDateTimeEditFormat;
  bool FDateEditShowZeroTime;
  TcxFirstWeekOfYear FFirstWeekOfYear;
  bool FUseTarnelDateTimeFormats;
  TFormatSettings FLocalFormatSettings;
  bool FLocalIsGregorianCalendar;
};

// The global controller, created on the first call (the first controller
// ever created becomes it); nil once the unit's shut-down has begun.
TcxFormatController* FormatController();

// ---------------------------------------------------------------------------
// The unit's start-up and shut-down (listed in the layer's unit table)

void cxFormatsInitialization();
void cxFormatsFinalization();
