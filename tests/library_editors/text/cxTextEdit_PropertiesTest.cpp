// The text editor properties: their settings and what each write reports,
// validation against the lookup items in the list styles, numeric display
// and edit formats, a form written and read back, and the number parsing
// against Python's float() (reference/make_number_reference.py).
#include "library/editors/text/cxTextEdit.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/WinApi.h"
#include "platform/ui/Forms.h"

#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// Counts the changes the properties report to their editors.
class TTepChangeCounter : public TObject {
  SK_CLASS(TTepChangeCounter, TObject)
 public:
  void PropertiesChanged(TObject*) { ++Count; }
  int Count = 0;
};

// Reads the format flag while the change is reported.
class TTepFlagReader : public TObject {
  SK_CLASS(TTepFlagReader, TObject)
 public:
  void Changed(TObject*) { *Flag = Properties->FormatChanging(); }
  TcxTextEditProperties* Properties = nullptr;
  bool* Flag = nullptr;
};

// A value source with the defaults a data field would give.
class TTepProvider : public TcxCustomEditDefaultValuesProvider {
  SK_CLASS(TTepProvider, TcxCustomEditDefaultValuesProvider)
 public:
  int DefaultMaxLength() override { return MaxLength; }
  bool IsCurrency() override { return Currency; }
  String DefaultDisplayFormat() override { return DisplayFormat; }
  int MaxLength = 0;
  bool Currency = false;
  String DisplayFormat;
};

// A kind that answers the editing style as a combo box would, and a numeric
// one as the spin editor would.
class TTepListProperties : public TcxTextEditProperties {
  SK_CLASS(TTepListProperties, TcxTextEditProperties)
 public:
  TcxEditEditingStyle GetEditingStyle() override { return Style; }
  // A combo box names its own lookup data class; only its presence matters
  // to validation.
  TClass GetLookupDataClassType() override { return TTepListProperties::ClassInfo(); }
  TcxEditEditingStyle Style = esEditList;
};

class TTepNumericProperties : public TcxTextEditProperties {
  SK_CLASS(TTepNumericProperties, TcxTextEditProperties)
 public:
  bool IsValueNumeric() override { return true; }
};

// Publishes the formats as descendants do, so that their flags follow the
// stored rule.
class TTepFormattedProperties : public TcxTextEditProperties {
  SK_CLASS(TTepFormattedProperties, TcxTextEditProperties)
 public:
  static void Publish(TPublisher<TTepFormattedProperties>& P) {
    using T = TTepFormattedProperties;
    P.Property(L"DisplayFormat", &T::DisplayFormat, &T::SetDisplayFormat).Stored(&T::IsDisplayFormatStored);
  }
};

class TTepFormEdit : public TcxCustomTextEdit {
  SK_CLASS(TTepFormEdit, TcxCustomTextEdit)
 public:
  static void Publish(TPublisher<TTepFormEdit>& P) {
    P.Property(L"Properties", &TTepFormEdit::PublishedProperties, &TTepFormEdit::SetPublishedProperties);
  }
  TTepFormattedProperties* PublishedProperties() const {
    return static_cast<TTepFormattedProperties*>(InternalProperties());
  }
  void SetPublishedProperties(TTepFormattedProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TTepFormattedProperties::ClassInfo(); }
};

const std::vector<String> BaudItems = {L"9600",   L"14400",  L"19200",  L"28800",   L"38400",
                                       L"56000",  L"57600",  L"115200", L"128000",  L"230400",
                                       L"256000", L"460800", L"500000", L"1000000", L"2000000"};

template <class T>
TOwned<T> NewProperties() {
  return TOwned<T>(New<T>(static_cast<TPersistent*>(nullptr)));
}

struct TSeparatorsScope {
  TFormatSettings Saved = FormatSettings;
  TSeparatorsScope() {
    FormatSettings.DecimalSeparator = L'.';
    FormatSettings.ThousandSeparator = L',';
    FormatSettings.CurrencyDecimals = 2;
  }
  ~TSeparatorsScope() { FormatSettings = Saved; }
};

struct TextEditProperties : testing::Test {
  TSeparatorsScope Separators;
  TOwned<TTepChangeCounter> Changes{New<TTepChangeCounter>()};
  TOwned<TTepProvider> Provider{New<TTepProvider>(static_cast<TPersistent*>(nullptr))};

  template <class T>
  TOwned<T> Counted() {
    TOwned<T> properties = NewProperties<T>();
    properties->SetOnPropertiesChanged(BindEvent<&TTepChangeCounter::PropertiesChanged>(Changes.get()));
    return properties;
  }
};

// ---------------------------------------------------------------------------
// Settings

TEST_F(TextEditProperties, EdgeCases) {
  struct TRow {
    const char* Name;
    std::function<void(TextEditProperties&, TcxTextEditProperties*)> Check;
  };
  const std::vector<TRow> rows = {
      {"MaxLength -5 stores 0 and marks it assigned",
       [](TextEditProperties& t, TcxTextEditProperties* p) {
         p->SetMaxLength(-5);
         EXPECT_EQ(p->MaxLength(), 0);
         EXPECT_TRUE(p->AssignedValues()->MaxLength());
         EXPECT_TRUE(p->IsMaxLengthStored());
         EXPECT_EQ(t.Changes->Count, 1);
         p->SetMaxLength(0);
         EXPECT_EQ(t.Changes->Count, 1) << "the same value again";
       }},
      {"MaxLength unassigned: 0 without a provider, else the provider's",
       [](TextEditProperties& t, TcxTextEditProperties* p) {
         EXPECT_EQ(p->MaxLength(), 0);
         EXPECT_FALSE(p->IsMaxLengthStored());
         t.Provider->MaxLength = 7;
         p->SetDefaultValuesProvider(t.Provider.get());
         EXPECT_EQ(p->MaxLength(), 7);
         p->SetMaxLength(3);
         EXPECT_EQ(p->MaxLength(), 3);
         p->SetDefaultValuesProvider(nullptr);
       }},
      {"an empty DisplayFormat while unassigned marks it assigned",
       [](TextEditProperties& t, TcxTextEditProperties* p) {
         p->SetDisplayFormat(L"");
         EXPECT_TRUE(p->AssignedValues()->DisplayFormat());
         EXPECT_TRUE(p->IsDisplayFormatStored());
         EXPECT_EQ(p->DisplayFormat(), L"");
         EXPECT_EQ(t.Changes->Count, 1);
         p->SetDisplayFormat(L"");
         EXPECT_EQ(t.Changes->Count, 1);
       }},
      {"the provider's DisplayFormat shows until one is assigned",
       [](TextEditProperties& t, TcxTextEditProperties* p) {
         t.Provider->DisplayFormat = L"0.0";
         p->SetDefaultValuesProvider(t.Provider.get());
         EXPECT_EQ(p->DisplayFormat(), L"0.0");
         EXPECT_FALSE(p->IsDisplayFormatStored());
         p->SetDisplayFormat(L"");
         EXPECT_EQ(p->DisplayFormat(), L"");
         p->SetDefaultValuesProvider(nullptr);
       }},
      {"ViewStyle buttons-only gives esNoEdit, normal gives esEdit again",
       [](TextEditProperties& t, TcxTextEditProperties* p) {
         p->SetViewStyle(vsButtonsOnly);
         EXPECT_EQ(p->ViewStyle(), vsButtonsOnly);
         EXPECT_EQ(p->ButtonsViewStyle(), bvsButtonsOnly);
         EXPECT_EQ(p->GetEditingStyle(), esNoEdit);
         EXPECT_FALSE(p->IsResetEditClass());
         EXPECT_EQ(t.Changes->Count, 1) << "one change for both fields";
         p->SetViewStyle(vsNormal);
         EXPECT_EQ(p->ViewStyle(), vsNormal);
         EXPECT_EQ(p->GetEditingStyle(), esEdit);
         p->SetViewStyle(vsHideCursor);
         EXPECT_EQ(p->ViewStyle(), vsHideCursor);
         EXPECT_EQ(p->ButtonsViewStyle(), bvsNormal);
         EXPECT_EQ(p->GetEditingStyle(), esNoEdit);
       }},
      {"the reveal button is an invisible glyph at index 0 in normal echo mode",
       [](TextEditProperties&, TcxTextEditProperties* p) {
         p->Buttons()->Add()->SetKind(bkEllipsis);
         p->SetShowPasswordRevealButton(true);
         ASSERT_EQ(p->Buttons()->Count(), 2);
         EXPECT_EQ(p->PasswordRevealButtonIndex(), 0);
         EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkGlyph);
         EXPECT_FALSE(p->Buttons()->Items(0)->Visible());
         EXPECT_EQ(p->Buttons()->Items(1)->Kind(), bkEllipsis);
         p->SetEchoMode(eemPassword);
         p->SetPasswordRevealButtonPressed(true);
         EXPECT_EQ(p->EchoMode(), eemNormal);
         EXPECT_TRUE(p->IsPasswordRevealButtonPressed());
         p->SetPasswordRevealButtonPressed(false);
         EXPECT_EQ(p->EchoMode(), eemPassword);
         p->SetShowPasswordRevealButton(false);
         ASSERT_EQ(p->Buttons()->Count(), 1);
         EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkEllipsis);
         EXPECT_EQ(p->PasswordRevealButtonIndex(), -1);
       }},
      {"the reveal button shows over a password and goes with the text, released",
       [](TextEditProperties&, TcxTextEditProperties* p) {
         EXPECT_FALSE(p->UpdatePasswordRevealButton(true)) << "no button";
         p->SetEchoMode(eemPassword);
         p->SetShowPasswordRevealButton(true);
         EXPECT_TRUE(p->Buttons()->Items(0)->Visible());
         EXPECT_FALSE(p->UpdatePasswordRevealButton(true)) << "already visible";
         p->SetPasswordRevealButtonPressed(true);
         EXPECT_FALSE(p->UpdatePasswordRevealButton(true)) << "pressed, the text stays shown";
         EXPECT_TRUE(p->UpdatePasswordRevealButton(false));
         EXPECT_FALSE(p->Buttons()->Items(0)->Visible());
         EXPECT_FALSE(p->IsPasswordRevealButtonPressed());
         EXPECT_EQ(p->EchoMode(), eemPassword);
       }},
      {"CopyFrom sorted items gives the same items, sorted",
       [](TextEditProperties&, TcxTextEditProperties* p) {
         TOwned<TcxTextEditProperties> source = NewProperties<TcxTextEditProperties>();
         for (const wchar_t* item : {L"57600", L"115200", L"9600", L"115200"}) source->LookupItems()->Add(item);
         source->SetLookupItemsSorted(true);
         source->SetMaxLength(6);
         source->SetCharCase(ecUpperCase);
         source->SetEditFormat(L"0.0");
         p->SetDisplayFormat(L"0.00");
         p->Assign(source.get());
         EXPECT_TRUE(p->LookupItemsSorted());
         EXPECT_EQ(p->LookupItems()->Text(), source->LookupItems()->Text());
         EXPECT_EQ(p->LookupItems()->Count(), 4) << "duplicates stay";
         EXPECT_EQ(p->LookupItems()->Strings(0), L"115200");
         EXPECT_EQ(p->MaxLength(), 6);
         EXPECT_EQ(p->CharCase(), ecUpperCase);
         EXPECT_TRUE(p->AssignedValues()->EditFormat());
         EXPECT_FALSE(p->AssignedValues()->DisplayFormat()) << "the source has none assigned";
       }},
      {"every setting reports one change, an equal value none",
       [](TextEditProperties& t, TcxTextEditProperties* p) {
         p->SetCharCase(ecLowerCase);
         p->SetCharCase(ecLowerCase);
         p->SetNullstring(L"-");
         p->SetPasswordChar(L'#');
         p->SetHideSelection(false);
         EXPECT_EQ(t.Changes->Count, 4);
         p->SetIncrementalFilteringOptions({});
         p->SetIncrementalFiltering(true);
         p->SetImmediateUpdateText(true);
         EXPECT_EQ(t.Changes->Count, 4) << "plain fields report nothing";
         p->LookupItems()->Add(L"9600");
         EXPECT_EQ(t.Changes->Count, 5) << "the items' own change";
         p->Alignment()->SetHorz(taRightJustify);
         EXPECT_EQ(t.Changes->Count, 6);
       }},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Changes->Count = 0;
    TOwned<TcxTextEditProperties> properties = Counted<TcxTextEditProperties>();
    Changes->Count = 0;
    row.Check(*this, properties.get());
  }
}

TEST_F(TextEditProperties, DefaultsAfterConstruction) {
  TOwned<TcxTextEditProperties> p = NewProperties<TcxTextEditProperties>();
  EXPECT_EQ(p->CharCase(), ecNormal);
  EXPECT_EQ(p->EchoMode(), eemNormal);
  EXPECT_TRUE(p->HideSelection());
  EXPECT_TRUE(p->IncrementalSearch());
  EXPECT_TRUE(p->FixedListSelection());
  EXPECT_EQ(p->IncrementalFilteringOptions(),
            (TcxTextEditIncrementalFilteringOptions{ifoHighlightSearchText, ifoUseContainsOperator}));
  EXPECT_EQ(p->Alignment()->Vert(), taVCenter);
  EXPECT_EQ(p->PasswordRevealButtonIndex(), -1);
  EXPECT_EQ(p->GetDropDownRowCount(), 8);
  EXPECT_TRUE(p->IsIncrementalSearchActive());
  p->SetIncrementalSearch(false);
  EXPECT_FALSE(p->IsIncrementalSearchActive());
  EXPECT_EQ(p->DefaultValidationErrorText(1), L"Value out of bounds");
  EXPECT_TRUE(p->GetSupportedOperations().Contains(esoEditingAutoHeight));
  p->SetEchoMode(eemPassword);
  EXPECT_FALSE(p->GetSupportedOperations().Contains(esoEditingAutoHeight));
}

TEST_F(TextEditProperties, StartUpRegistersTheKindAndItsFilterHelper) {
  TcxRegisteredClasses* registry = GetRegisteredEditProperties();
  const int index = registry->GetIndexByClass(TcxTextEditProperties::ClassInfo());
  ASSERT_GE(index, 0);
  EXPECT_EQ(registry->Descriptions(index), L"TextEdit");
  EXPECT_EQ(registry->Hints(index), L"Represents a single line text editor");
  EXPECT_EQ(GetFilterEditsController()->FindHelper(TcxTextEditProperties::ClassInfo()),
            TcxFilterTextEditHelper::ClassInfo());
  EXPECT_EQ(GetFilterEditsController()->FindHelper(TTepListProperties::ClassInfo()),
            TcxFilterTextEditHelper::ClassInfo());

  TOwned<TcxTextEditProperties> filter = NewProperties<TcxTextEditProperties>();
  TOwned<TcxTextEditProperties> source = NewProperties<TcxTextEditProperties>();
  source->SetAutoSelect(false);
  source->SetHideSelection(false);
  source->SetViewStyle(vsHideCursor);
  cxFilterEditHelper(TcxFilterTextEditHelper::ClassInfo())->InitializeProperties(filter.get(), source.get(), false);
  EXPECT_TRUE(filter->AutoSelect());
  EXPECT_TRUE(filter->HideSelection());
  EXPECT_EQ(filter->ViewStyle(), vsNormal);
}

TEST_F(TextEditProperties, AFormatSettingsChangeIsReportedWhileFlagged) {
  TOwned<TcxTextEditProperties> p = Counted<TcxTextEditProperties>();
  bool flaggedDuringChange = false;
  TOwned<TTepFlagReader> reader(New<TTepFlagReader>());
  reader->Properties = p.get();
  reader->Flag = &flaggedDuringChange;
  p->SetOnPropertiesChanged(BindEvent<&TTepFlagReader::Changed>(reader.get()));
  ASSERT_NE(FormatController(), nullptr);
  FormatController()->NotifyListeners();
  EXPECT_TRUE(flaggedDuringChange);
  EXPECT_FALSE(p->FormatChanging());
}

// ---------------------------------------------------------------------------
// Validation in the list styles

TEST_F(TextEditProperties, TypedTextMustBeALookupItemInTheListStyles) {
  struct TRow {
    const char* Name;
    TcxEditEditingStyle Style;
    TEditCharCase CharCase;
    const wchar_t* Text;
    bool Valid;
    const wchar_t* Result;  // the display value afterwards
  };
  const std::vector<TRow> rows = {
      {"an item of the baud box", esEditList, ecNormal, L"115200", true, L"115200"},
      {"a prefix is no item", esEditList, ecNormal, L"1152", false, L"1152"},
      {"an empty text", esEditList, ecNormal, L"", true, L""},
      {"the fixed list is as strict", esFixedList, ecNormal, L"1152", false, L"1152"},
      {"the plain editor takes anything", esEdit, ecNormal, L"1152", true, L"1152"},
      {"another letter case is the item", esFixedList, ecNormal, L"com3", true, L"com3"},
      {"and comes back in the CharCase", esEditList, ecUpperCase, L"com3", true, L"COM3"},
      {"lower case", esEditList, ecLowerCase, L"COM3", true, L"com3"},
      {"no item in another case either", esEditList, ecUpperCase, L"com4", false, L"com4"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TTepListProperties> p = NewProperties<TTepListProperties>();
    for (const String& item : BaudItems) p->LookupItems()->Add(item);
    p->LookupItems()->Add(L"COM3");
    p->Style = row.Style;
    p->SetCharCase(row.CharCase);
    Variant display(String(row.Text));
    EXPECT_EQ(p->IsDisplayValueValid(display, true), row.Valid);
    EXPECT_EQ(VarToStr(display), row.Result);
    Variant edit(String(row.Text));
    EXPECT_EQ(p->IsEditValueValid(edit, false), row.Valid);
  }
}

// ---------------------------------------------------------------------------
// Display and edit formats

TEST_F(TextEditProperties, NumericDisplayAndEditFormats) {
  struct TRow {
    const char* Name;
    Variant Value;
    const wchar_t* DisplayFormat;  // nullptr: unassigned
    const wchar_t* EditFormat;     // nullptr: unassigned
    bool UseDisplayFormatWhenEditing;
    bool Focused;
    const wchar_t* Expected;
  };
  const std::vector<TRow> rows = {
      {"unfocused by DisplayFormat", Variant(3.14159), L"0.00", nullptr, false, false, L"3.14"},
      {"unfocused, no format: the value's text", Variant(1234.5), nullptr, nullptr, false, false, L"1234.5"},
      {"a numeric string is formatted too", Variant(L"2.5"), L"0.000", nullptr, false, false, L"2.500"},
      {"an integer", Variant(9600), L"#,##0", nullptr, false, false, L"9,600"},
      {"focused: the general format, not the display format", Variant(3.14159), L"0.00", nullptr, false, true,
       L"3.14159"},
      {"focused with UseDisplayFormatWhenEditing", Variant(3.14159), L"0.00", nullptr, true, true, L"3.14"},
      {"an assigned EditFormat wins while focused", Variant(3.14159), L"0.00", L"0.0", false, true, L"3.1"},
      {"and is not used unfocused", Variant(3.14159), L"0.00", L"0.0", false, false, L"3.14"},
      {"focused, 15 digits", Variant(0.1 + 0.2), nullptr, nullptr, false, true, L"0.3"},
      {"a text that is no number stays as it is", Variant(L"abc"), nullptr, nullptr, false, true, L"abc"},
      {"Null", Variant::NullValue(), L"0.00", nullptr, false, false, L""},
      {"an empty string", Variant(L""), L"0.00", nullptr, false, true, L""},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TTepNumericProperties> p = NewProperties<TTepNumericProperties>();
    if (row.DisplayFormat) p->SetDisplayFormat(row.DisplayFormat);
    if (row.EditFormat) p->SetEditFormat(row.EditFormat);
    p->SetUseDisplayFormatWhenEditing(row.UseDisplayFormatWhenEditing);
    Variant display;
    p->PrepareDisplayValue(row.Value, display, row.Focused);
    EXPECT_EQ(VarToStr(display), row.Expected);
  }
}

TEST_F(TextEditProperties, NumericKindsRefuseWhatIsNeitherNumberNorText) {
  TOwned<TTepNumericProperties> p = NewProperties<TTepNumericProperties>();
  p->SetDisplayFormat(L"0.00");
  for (const Variant& value : {Variant::FromDateTime(TDateTime(45000.5)), VarArrayCreate({0, 1}, varVariant)}) {
    Variant display;
    try {
      p->PrepareDisplayValue(value, display, false);
      ADD_FAILURE() << "no error for " << std::wstring(VarTypeAsText(VarType(value)));
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), L"Could not convert to numeric value");
    }
  }
  Variant display;
  EXPECT_THROW(p->PrepareDisplayValue(Variant(L"abc"), display, false), EConvertError)
      << "a format cannot apply to a text that is no number";
}

TEST_F(TextEditProperties, CurrencyFromTheProviderWhileFocused) {
  TOwned<TTepNumericProperties> p = NewProperties<TTepNumericProperties>();
  Provider->Currency = true;
  p->SetDefaultValuesProvider(Provider.get());
  bool isCurrency = false;
  String format;
  p->GetEditFormatInfo(isCurrency, format);
  EXPECT_TRUE(isCurrency);
  Variant display;
  p->PrepareDisplayValue(Variant(2.5), display, true);
  EXPECT_EQ(VarToStr(display), L"2.50");
  p->SetDisplayFormat(L"0.0");
  p->GetEditFormatInfo(isCurrency, format);
  EXPECT_FALSE(isCurrency) << "an assigned display format decides";
  EXPECT_EQ(format, L"") << "not used while editing";
  p->SetDefaultValuesProvider(nullptr);
}

TEST_F(TextEditProperties, NullStringLetterCaseAndMask) {
  TOwned<TcxTextEditProperties> p = NewProperties<TcxTextEditProperties>();
  p->SetNullstring(L"(none)");
  EXPECT_EQ(p->GetDisplayText(Variant::NullValue()), L"");
  p->SetUseNullString(true);
  EXPECT_EQ(p->GetDisplayText(Variant::NullValue()), L"(none)");
  EXPECT_TRUE(p->IsNullStringCase(Variant::NullValue()));
  Variant display;
  p->PrepareDisplayValue(Variant::NullValue(), display, true);
  EXPECT_EQ(VarToStr(display), L"") << "focused";
  EXPECT_EQ(p->GetEditValueSource(false), evsValue);
  EXPECT_EQ(p->GetEditValueSource(true), evsText);

  p->SetCharCase(ecUpperCase);
  EXPECT_EQ(p->GetDisplayText(Variant(L"com3")), L"COM3");
  EXPECT_TRUE(p->CompareDisplayValues(Variant(L"Com3"), Variant(L"COM3")));
  p->SetCharCase(ecNormal);
  EXPECT_FALSE(p->CompareDisplayValues(Variant(L"Com3"), Variant(L"COM3")));

  const TcxInnerTextEditSystemProbe saved = cxSetInnerTextEditSystemProbe({[] { return true; }, [] { return true; }});
  struct TRow {
    wchar_t PasswordChar;
    bool NativeStyle;
    const wchar_t* Expected;
  };
  p->SetEchoMode(eemPassword);
  p->SetCharCase(ecUpperCase);
  for (const TRow& row : {TRow{0, false, L"***"}, TRow{0, true, L"\x25CF\x25CF\x25CF"}, TRow{L'#', true, L"###"}}) {
    p->SetPasswordChar(row.PasswordChar);
    String text = L"abc";
    p->MaskDisplayText(row.NativeStyle, text);
    EXPECT_EQ(text, row.Expected);
  }
  cxSetInnerTextEditSystemProbe(saved);
}

// ---------------------------------------------------------------------------
// Bounds

TEST_F(TextEditProperties, ValueBounds) {
  struct TRow {
    const char* Name;
    std::function<void(TcxTextEditProperties*)> Act;
    bool Min, Max;
  };
  const std::vector<TRow> rows = {
      {"none", [](TcxTextEditProperties*) {}, false, false},
      {"both, max above min", [](TcxTextEditProperties* p) { p->SetMinMaxValues(10, 1); }, true, true},
      {"both, max below min", [](TcxTextEditProperties* p) { p->SetMinMaxValues(1, 10); }, false, false},
      {"only the minimum", [](TcxTextEditProperties* p) { p->SetMinValue(5); }, true, false},
      {"only the maximum", [](TcxTextEditProperties* p) { p->SetMaxValue(-5); }, false, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TcxTextEditProperties> p = NewProperties<TcxTextEditProperties>();
    row.Act(p.get());
    EXPECT_EQ(p->IsValueBoundDefined(0), row.Min);
    EXPECT_EQ(p->IsValueBoundDefined(1), row.Max);
    EXPECT_EQ(p->HasValueBounds(), row.Min || row.Max);
  }
  TOwned<TcxTextEditProperties> p = NewProperties<TcxTextEditProperties>();
  p->SetMinMaxValues(10, 1);
  for (const auto& [value, error] : std::vector<std::pair<Variant, bool>>{
           {Variant(0), true}, {Variant(1), false}, {Variant(10.0), false}, {Variant(10.5), true},
           {Variant(L"50"), false} /* only numbers and dates are checked */}) {
    String text;
    bool failed = false;
    p->CheckValueBounds(value, text, nullptr, failed);
    EXPECT_EQ(failed, error) << std::wstring(VarToStr(value));
    EXPECT_EQ(text, error ? L"Value out of bounds" : L"");
  }
}

// ---------------------------------------------------------------------------
// Forms

std::vector<std::wstring> TepLinesWith(const String& AText, const wchar_t* AWord) {
  std::vector<std::wstring> result;
  std::wstring line;
  for (const wchar_t c : AText + L"\n") {
    if (c != L'\n' && c != L'\r') {
      line += c;
      continue;
    }
    const std::size_t start = line.find_first_not_of(L' ');
    if (start != std::wstring::npos && line.find(AWord) != std::wstring::npos) result.push_back(line.substr(start));
    line.clear();
  }
  return result;
}

struct TextEditPropertiesForm : TextEditProperties {
  TOwned<TForm> Source{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TOwned<TForm> Target{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TTepFormEdit* Edit = nullptr;

  void SetUp() override {
    RegisterClasses({TTepFormEdit::ClassInfo()});
    Source->SetName(L"Source");
    Edit = New<TTepFormEdit>(Source.get());
    Edit->SetParent(Source.get());
    Edit->SetName(L"Edit1");
  }
  TTepFormEdit* ReadBack(const String& AText) {
    ReadComponentFromText(AText, Target.get());
    return static_cast<TTepFormEdit*>(Target->FindComponent(L"Edit1"));
  }
};

TEST_F(TextEditPropertiesForm, SettingsGoThroughAFormAndBack) {
  TTepFormattedProperties* p = Edit->PublishedProperties();
  p->SetCharCase(ecUpperCase);
  p->SetMaxLength(6);
  p->SetEchoMode(eemPassword);
  p->SetPasswordChar(L'#');
  p->SetNullstring(L"(none)");
  p->SetIncrementalSearch(false);
  for (const String& item : BaudItems) p->LookupItems()->Add(item);
  p->SetDisplayFormat(L"0.00");
  const String text = WriteComponentToText(Source.get());
  EXPECT_EQ(TepLinesWith(text, L"MaxLength"), std::vector<std::wstring>{L"Properties.MaxLength = 6"})
      << std::wstring(text);
  EXPECT_EQ(TepLinesWith(text, L"AssignedValues").size(), 0u) << "the format text speaks for itself";
  EXPECT_EQ(TepLinesWith(text, L"HideSelection").size(), 0u) << "defaults are not written";

  TTepFormEdit* read = ReadBack(text);
  ASSERT_NE(read, nullptr);
  TTepFormattedProperties* r = read->PublishedProperties();
  EXPECT_EQ(r->CharCase(), ecUpperCase);
  EXPECT_EQ(r->MaxLength(), 6);
  EXPECT_TRUE(r->AssignedValues()->MaxLength());
  EXPECT_EQ(r->EchoMode(), eemPassword);
  EXPECT_EQ(r->PasswordChar(), L'#');
  EXPECT_EQ(r->Nullstring(), L"(none)");
  EXPECT_FALSE(r->IncrementalSearch());
  EXPECT_EQ(r->LookupItems()->Text(), p->LookupItems()->Text());
  EXPECT_EQ(r->DisplayFormat(), L"0.00");
}

TEST_F(TextEditPropertiesForm, AnAssignedEmptyFormatIsKeptByItsFlag) {
  Edit->PublishedProperties()->SetDisplayFormat(L"");
  const String text = WriteComponentToText(Source.get());
  EXPECT_EQ(TepLinesWith(text, L"AssignedValues"),
            std::vector<std::wstring>{L"Properties.AssignedValues.DisplayFormat = True"})
      << std::wstring(text);
  TTepFormEdit* read = ReadBack(text);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->PublishedProperties()->AssignedValues()->DisplayFormat());
  EXPECT_EQ(read->PublishedProperties()->DisplayFormat(), L"");
}

TEST_F(TextEditPropertiesForm, TheOldFlagIsReadButNeverWritten) {
  const String text = WriteComponentToText(Source.get());
  EXPECT_EQ(TepLinesWith(text, L"IsDisplayFormatAssigned").size(), 0u);
  const std::wstring old = std::wstring(text);
  const std::size_t at = old.find(L"Edit1: TTepFormEdit");
  ASSERT_NE(at, std::wstring::npos) << old;
  const std::size_t lineEnd = old.find(L'\n', at);
  const String withFlag = old.substr(0, lineEnd + 1) + L"    Properties.IsDisplayFormatAssigned = True\n" +
                          old.substr(lineEnd + 1);
  TTepFormEdit* read = ReadBack(withFlag);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(read->PublishedProperties()->AssignedValues()->DisplayFormat());
}

// ---------------------------------------------------------------------------
// Number parsing against Python

std::string TepResource(const wchar_t* AName) {
  HRSRC info = FindResourceW(nullptr, AName, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return {};
  HGLOBAL data = LoadResource(nullptr, info);
  return {static_cast<const char*>(LockResource(data)), SizeofResource(nullptr, info)};
}

TEST_F(TextEditProperties, TryTextToDoubleAgreesWithPythonsFloat) {
  const std::string table = TepResource(L"TEXTNUMBERS_TSV");
  ASSERT_FALSE(table.empty());
  int rows = 0, accepted = 0;
  bool sawSmallest = false, sawLargest = false, sawDenormal = false;
  std::size_t start = 0;
  while (start < table.size()) {
    std::size_t end = table.find('\n', start);
    if (end == std::string::npos) end = table.size();
    const std::string line = table.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
    ASSERT_NE(tab2, std::string::npos) << line;
    const String text = UTF8ToString(RawByteString(line.substr(0, tab1)));
    const bool ok = line[tab1 + 1] == '1';
    const std::uint64_t bits = std::stoull(line.substr(tab2 + 1));
    double value = -1;
    const bool answer = TryTextToDouble(text, value);
    EXPECT_EQ(answer, ok) << line;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(value), bits) << line;
    ++rows;
    accepted += ok ? 1 : 0;
    sawSmallest |= text == L"2.2250738585072014e-308";
    sawLargest |= text == L"1.7976931348623157e308";
    sawDenormal |= text == L"1e-320";
  }
  EXPECT_GT(rows, 5000);
  EXPECT_GT(accepted, rows / 2);
  EXPECT_TRUE(sawSmallest && sawLargest && sawDenormal);
}

}  // namespace
