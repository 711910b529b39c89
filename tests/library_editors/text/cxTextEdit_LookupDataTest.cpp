#include "library/editors/text/cxTextEdit.h"

#include "platform/ui/Forms.h"

#include "tests/support/AccessibilityClient.h"
#include "tests/support/CommonControls6.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Properties answering the list styles a drop-down kind would.
class TLookupTestProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TLookupTestProperties, TcxCustomTextEditProperties)
 public:
  TcxEditEditingStyle Style = esEditList;
  TcxEditEditingStyle GetEditingStyle() override { return Style; }
};

class TLookupTestEdit : public TcxCustomTextEdit {
  SK_CLASS(TLookupTestEdit, TcxCustomTextEdit)
 public:
  bool PopupOpen = false;
  TClass GetPropertiesClass() override { return TLookupTestProperties::ClassInfo(); }
  bool HasPopupWindow() override { return PopupOpen; }
  TLookupTestProperties* Props() { return static_cast<TLookupTestProperties*>(ActiveProperties()); }
};

const std::vector<std::wstring> BaudItems = {L"9600",   L"19200",  L"38400",   L"57600",   L"100000",
                                             L"115200", L"200000", L"230400",  L"460800",  L"500000",
                                             L"576000", L"921600", L"1000000", L"1500000", L"2000000"};

struct LookupData : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TLookupTestEdit* Edit = nullptr;
  TOwned<TcxCustomTextEditLookupData> Lookup;
  HWND Native = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 420, 300);
    Form->Show();
    Edit = New<TLookupTestEdit>(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 200, 24);
    Lookup.reset(New<TcxCustomTextEditLookupData>(static_cast<TPersistent*>(Edit)));
  }
  void TearDown() override {
    if (Native) DestroyWindow(Native);
    Lookup.reset();
  }

  void SetItems(const std::vector<std::wstring>& AItems) {
    TStrings* items = Edit->Props()->LookupItems();
    items->BeginUpdate();
    items->Clear();
    for (const std::wstring& s : AItems) items->Add(String(s));
    items->EndUpdate();
    Lookup->ResetIncrementalFilter();
  }
  // The list built in a shown window, as the editor's popup shows it.
  TcxCustomEditListBox* OpenList(int AHeight = 200) {
    Edit->PopupOpen = true;
    Lookup->Initialize(Form.get());
    Lookup->List()->Parent()->SetVisible(true);
    Lookup->PositionVisualArea(TRect(200, 10, 400, 10 + AHeight));
    PumpPending();
    return Lookup->List();
  }
  void CloseList() {
    Edit->PopupOpen = false;
    if (Lookup->List()) Lookup->List()->Parent()->SetVisible(false);
  }
  // A native list box holding the same items.
  HWND NativeList(const std::vector<std::wstring>& AItems, TFont* AFont = nullptr) {
    if (Native) DestroyWindow(Native);
    Native = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_HASSTRINGS, 0, 0, 100, 100, Form->Handle(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (AFont) SendMessageW(Native, WM_SETFONT, reinterpret_cast<WPARAM>(AFont->Handle()), 0);
    for (const std::wstring& s : AItems) SendMessageW(Native, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    return Native;
  }
  int Key() { return Lookup->GetCurrentKey().AsInteger(); }
};

std::vector<std::wstring> Numbered(int ACount) {
  std::vector<std::wstring> items;
  for (int i = 0; i < ACount; ++i) items.push_back(L"Item" + std::to_wstring(100 + i));
  return items;
}

// ---------------------------------------------------------------------------
// Moves

TEST_F(LookupData, GoCoversEveryDirectionWithTheListOpenOrClosed) {
  struct TGoRow {
    TcxEditLookupDataGoDirection Direction;
    bool Circular;
    bool Open;
    int Start;
    int Expected;  // the current key when closed, the highlighted item when open
  };
  const TGoRow rows[] = {
      {egdPageDown, false, false, 0, 7},   {egdPageDown, false, false, 7, 14},  {egdPageDown, false, false, 14, 14},
      {egdPageDown, false, false, -1, 7},  {egdPageDown, true, false, 14, 0},   {egdPageDown, true, false, 10, 14},
      {egdPageUp, false, false, 10, 3},    {egdPageUp, false, false, 2, 0},     {egdPageUp, false, false, -1, -1},
      {egdPageUp, true, false, -1, 14},    {egdPageUp, true, false, 0, 14},     {egdPageUp, true, false, 3, 0},
      {egdNext, true, false, 14, 0},       {egdNext, false, false, 14, 14},     {egdNext, false, false, -1, 0},
      {egdNext, false, false, 5, 6},       {egdPrev, false, false, -1, -1},     {egdPrev, true, false, 0, 14},
      {egdPrev, false, false, 0, 0},       {egdPrev, false, false, 5, 4},       {egdPrev, true, false, -1, 14},
      {egdBegin, false, false, 9, 0},      {egdEnd, false, false, 2, 14},       {egdPageDown, false, true, 0, 7},
      {egdPageDown, false, true, 14, 14},  {egdPageUp, false, true, 10, 3},     {egdNext, true, true, 14, 0},
      {egdNext, false, true, 14, 14},      {egdPrev, false, true, 5, 4},        {egdPrev, true, true, 0, 14},
      {egdBegin, false, true, 9, 0},       {egdEnd, false, true, 2, 14},
  };
  SetItems(Numbered(15));
  for (const TGoRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "direction " << row.Direction << " circular " << row.Circular << " open "
                                    << row.Open << " from " << row.Start);
    CloseList();
    Lookup->SetCurrentKey(Variant(row.Start));
    // The editor shows its value, as it would after the key changed.
    Edit->SetText(row.Start >= 0 ? String(L"Item" + std::to_wstring(100 + row.Start)) : String());
    if (row.Open) OpenList();
    ASSERT_EQ(Key(), row.Start);
    Lookup->Go(row.Direction, row.Circular);
    if (row.Open) {
      // Only the list moves; the value follows when the list closes with a selection.
      EXPECT_EQ(Lookup->ItemIndex(), row.Expected);
      EXPECT_EQ(Lookup->List()->ItemIndex(), row.Expected);
      EXPECT_EQ(Key(), row.Start);
    } else {
      EXPECT_EQ(Key(), row.Expected);
    }
  }
  // Enter on the open list takes the highlighted row as the value.
  OpenList();
  Lookup->Go(egdNext, false);
  const int highlighted = Lookup->ItemIndex();
  Lookup->SelectItem();
  EXPECT_EQ(Key(), highlighted);
}

TEST_F(LookupData, AFilteredOpenListClearsTheHighlightPastItsEnds) {
  SetItems(BaudItems);
  Edit->Props()->SetIncrementalFiltering(true);
  Edit->Props()->SetIncrementalFilteringOptions({ifoUseContainsOperator});
  OpenList();
  Lookup->ApplyFilter(L"9");  // rows: 9600, 19200, 921600
  Lookup->Go(egdEnd, false);
  EXPECT_EQ(Lookup->ItemIndex(), 11);
  Lookup->Go(egdNext, false);
  EXPECT_EQ(Lookup->ItemIndex(), -1);
  Lookup->Go(egdPrev, false);
  EXPECT_EQ(Lookup->ItemIndex(), 11);
  Lookup->Go(egdBegin, false);
  Lookup->Go(egdPrev, false);
  EXPECT_EQ(Lookup->ItemIndex(), -1);
}

// ---------------------------------------------------------------------------
// Searches against the system

TEST_F(LookupData, PrefixSearchAgreesWithTheNativeListBox) {
  std::mt19937 random(42);
  std::vector<std::wstring> randomItems;
  for (int i = 0; i < 10000; ++i) {
    std::wstring s;
    const int length = 1 + static_cast<int>(random() % 8);
    for (int k = 0; k < length; ++k) s += static_cast<wchar_t>(L'0' + random() % 75);  // '0' .. 'z'
    randomItems.push_back(s);
  }
  static const std::vector<std::wstring> ports = {L"COM1", L"COM3", L"COM10", L"COM12", L"com4", L"\\\\.\\COM21"};
  for (const std::vector<std::wstring>* items : {&BaudItems, &ports, static_cast<const std::vector<std::wstring>*>(&randomItems)}) {
    SetItems(*items);
    const HWND native = NativeList(*items);
    std::vector<std::wstring> prefixes = {L"1", L"11", L"9", L"92", L"co", L"COM1", L"x", L"100000", L"2000000"};
    for (int i = 0; i < 300; ++i) {
      const std::wstring& item = (*items)[random() % items->size()];
      prefixes.push_back(item.substr(0, 1 + random() % item.size()));
    }
    for (const std::wstring& prefix : prefixes) {
      const int expected =
          static_cast<int>(SendMessageW(native, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(prefix.c_str())));
      EXPECT_EQ(Lookup->FindItemFrom(String(prefix), 0, false), expected == LB_ERR ? -1 : expected)
          << std::string(prefix.begin(), prefix.end());
    }
  }
}

TEST_F(LookupData, NonAsciiPrefixesFollowTheLocaleCaseRules) {
  const std::vector<std::wstring> items = {L"Zoll", L"Ärger", L"ärmel", L"Öl", L"Straße", L"ÉTÉ"};
  SetItems(items);
  for (const std::wstring prefix : {L"är", L"ÄR", L"öl", L"STRASSE", L"straß", L"été", L"Z"}) {
    int expected = -1;
    for (size_t i = 0; i < items.size() && expected == -1; ++i) {
      const std::wstring head = items[i].substr(0, prefix.size());
      if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, prefix.c_str(), static_cast<int>(prefix.size()),
                         head.c_str(), static_cast<int>(head.size())) == CSTR_EQUAL)
        expected = static_cast<int>(i);
    }
    EXPECT_EQ(Lookup->FindItemFrom(String(prefix), 0, false), expected);
  }
}

TEST_F(LookupData, TheContainsFilterAgreesWithTheLocaleUpperCase) {
  const auto upper = [](const std::wstring& S) {
    std::wstring r(S.size(), L'\0');
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, S.c_str(), static_cast<int>(S.size()), r.data(),
                 static_cast<int>(r.size()));
    return r;
  };
  Edit->Props()->SetIncrementalFiltering(true);
  Edit->Props()->SetIncrementalFilteringOptions({ifoUseContainsOperator});
  const std::vector<std::wstring> items = {L"9600", L"19200", L"921600", L"Ärger", L"bärig", L"COM3", L"com30", L"öl"};
  SetItems(items);
  for (const std::wstring needle : {L"9", L"00", L"ÄR", L"är", L"m3", L"Ö", L"x"}) {
    Lookup->ApplyFilter(String(needle));
    std::vector<int> expected;
    for (size_t i = 0; i < items.size(); ++i)
      if (upper(items[i]).find(upper(needle)) != std::wstring::npos) expected.push_back(static_cast<int>(i));
    EXPECT_EQ(Lookup->FilteredLookupItems(), expected) << std::string(needle.begin(), needle.end());
  }
  // Without the contains operator the filter keeps items that start with the text.
  SetItems(BaudItems);
  Lookup->ApplyFilter(L"9");
  EXPECT_EQ(Lookup->FilteredLookupItems(), (std::vector<int>{0, 1, 11}));
  Edit->Props()->SetIncrementalFilteringOptions({});
  Lookup->ApplyFilter(L"9");
  EXPECT_EQ(Lookup->FilteredLookupItems(), (std::vector<int>{0, 11}));
}

TEST_F(LookupData, SearchItemTakesTheItemsCaseAndAnswersTheTail) {
  SetItems(BaudItems);
  String text = L"11";
  String tail;
  EXPECT_TRUE(Lookup->Locate(text, tail, false));
  EXPECT_EQ(text, L"11");
  EXPECT_EQ(tail, L"5200");
  EXPECT_EQ(Key(), 5);
  // A fixed list keeps its item on a typed miss and clears it on a text change.
  Edit->Props()->Style = esFixedList;
  text = L"7";
  EXPECT_FALSE(Lookup->Locate(text, tail, false));
  EXPECT_EQ(Key(), 5);
  Edit->SetText(L"7");
  Lookup->TextChanged();
  EXPECT_EQ(Key(), -1);
}

// ---------------------------------------------------------------------------
// The list

TEST_F(LookupData, RowsMapToItemIndexesWhileFiltering) {
  SetItems(BaudItems);
  Edit->Props()->SetIncrementalFiltering(true);
  Edit->Props()->SetIncrementalFilteringOptions({ifoUseContainsOperator});
  TcxCustomEditListBox* list = OpenList();
  Lookup->ApplyFilter(L"9");
  const std::vector<int> filtered = Lookup->FilteredLookupItems();
  ASSERT_EQ(list->Items()->Count(), static_cast<int>(filtered.size()));
  for (int row = 0; row < static_cast<int>(filtered.size()); ++row) {
    EXPECT_EQ(list->Items()->Strings(row), String(BaudItems[static_cast<size_t>(filtered[static_cast<size_t>(row)])]));
    list->SetItemIndex(row);
    EXPECT_EQ(Lookup->ItemIndex(), filtered[static_cast<size_t>(row)]);
    EXPECT_EQ(Lookup->GetSelectedItem(), filtered[static_cast<size_t>(row)]);
  }
  Lookup->SetCurrentKey(Variant(11));
  EXPECT_EQ(list->ItemIndex(), 2);
  // An item the filter hides has no row.
  EXPECT_EQ(Lookup->ItemIndexToFilteredIndex(2), -1);
}

TEST_F(LookupData, ARowIsAsHighAsTheFontAndTheNativeList) {
  TcxCustomEditListBox* list = OpenList();
  for (const int size : {8, 12, 20}) {
    list->Font()->SetSize(size);
    TEXTMETRICW metrics{};
    {
      const HDC dc = GetDC(nullptr);
      const HGDIOBJ old = SelectObject(dc, list->Font()->Handle());
      GetTextMetricsW(dc, &metrics);
      SelectObject(dc, old);
      ReleaseDC(nullptr, dc);
    }
    const HWND native = NativeList({L"x"}, list->Font());
    EXPECT_EQ(list->GetItemHeight(-1), metrics.tmHeight) << size;
    EXPECT_EQ(list->GetItemHeight(-1), static_cast<int>(SendMessageW(native, LB_GETITEMHEIGHT, 0, 0))) << size;
    EXPECT_EQ(list->GetHeight(8, 0), 8 * metrics.tmHeight);
  }
}

TEST_F(LookupData, AccessibilityReadsTheNewNamesAfterTheItemsChangeToAsManyOthers) {
  SetItems({L"COM1", L"COM2", L"COM3"});
  TcxCustomEditListBox* list = OpenList();
  SetItems({L"COM7", L"COM8", L"COM9"});
  Lookup->PropertiesChanged();
  TComPtr<IAccessible> client = AccessibleClientOf(list->Handle());
  ASSERT_TRUE(client);
  long count = 0;
  ASSERT_EQ(client->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  for (int i = 1; i <= 3; ++i) {
    TBstr name;
    ASSERT_EQ(client->get_accName(AccessibleChild(i), &name.Value), S_OK);
    EXPECT_EQ(name.Text(), String(L"COM" + std::to_wstring(6 + i)));
  }
  // The same holds for a filter giving another subset of the same size.
  Edit->Props()->SetIncrementalFiltering(true);
  Lookup->ApplyFilter(L"COM8");
  EXPECT_EQ(list->Items()->Strings(0), L"COM8");
}

TEST_F(LookupData, HotTrackingBelowTheLastRowKeepsTheHighlightedRow) {
  SetItems({L"9600", L"19200", L"38400"});
  TcxCustomEditListBox* list = OpenList(200);
  list->SetItemIndex(1);
  const TRect last = list->ItemRect(2);
  const TPoint below = list->ClientToScreen(TPoint(10, last.Bottom + 20));
  SendMouseMove(below);
  PumpFor(100);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(Lookup->ItemIndex(), 1);
  const TPoint onLast = list->ClientToScreen(TPoint(10, (last.Top + last.Bottom) / 2));
  EXPECT_TRUE(MoveUntil(onLast, [&] { return list->ItemIndex() == 2; }));
  EXPECT_EQ(Lookup->ItemIndex(), 2);
}

TEST_F(LookupData, ScrollWidthIsAppliedAgainWhenUnchanged) {
  TcxCustomEditListBox* list = OpenList();
  list->SetScrollWidth(300);
  SendMessageW(list->Handle(), LB_SETHORIZONTALEXTENT, 50, 0);
  list->SetScrollWidth(300);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 300);
}

}  // namespace
