// The lookup's prefix search beside the native list box's in the same run:
// 10^4 Locate calls with random prefixes over 10^4 items, beside 10^4
// LB_FINDSTRING over a native LISTBOX holding the same items (target: at
// most 1.0).
#include "benchmarks/support/Ratios.h"
#include "library/editors/text/cxTextEdit.h"
#include "platform/ui/Forms.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Items = 10000;
constexpr int Searches = 10000;
constexpr int Runs = 3;

class TLookupBenchProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TLookupBenchProperties, TcxCustomTextEditProperties)
 public:
  TcxEditEditingStyle GetEditingStyle() override { return esEditList; }
};

class TLookupBenchEdit : public TcxCustomTextEdit {
  SK_CLASS(TLookupBenchEdit, TcxCustomTextEdit)
 public:
  TClass GetPropertiesClass() override { return TLookupBenchProperties::ClassInfo(); }
};

}  // namespace

void RunLookupLocate() {
  std::mt19937 random(7);
  std::vector<std::wstring> items;
  for (int i = 0; i < Items; ++i) {
    std::wstring s;
    for (int k = 0, n = 3 + static_cast<int>(random() % 8); k < n; ++k) s += static_cast<wchar_t>(L'a' + random() % 26);
    items.push_back(s);
  }
  std::vector<std::wstring> prefixes;
  for (int i = 0; i < Searches; ++i) {
    const std::wstring& item = items[random() % items.size()];
    prefixes.push_back(item.substr(0, 1 + random() % 3));
  }
  TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  form->HandleNeeded();
  auto* edit = New<TLookupBenchEdit>(form.get());
  edit->SetParent(form.get());
  TStrings* lookupItems = edit->ActiveProperties()->LookupItems();
  lookupItems->BeginUpdate();
  for (const std::wstring& s : items) lookupItems->Add(String(s));
  lookupItems->EndUpdate();
  TOwned<TcxCustomTextEditLookupData> lookup(New<TcxCustomTextEditLookupData>(static_cast<TPersistent*>(edit)));
  const HWND native = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_HASSTRINGS, 0, 0, 100, 100, form->Handle(),
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  for (const std::wstring& s : items) SendMessageW(native, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));

  bench::TRatioReport report("lookup", "LISTBOX", 1.0, 26);
  int found = 0;
  const double theirs = bench::BestOf(Runs, [] {}, [&] {
    for (const std::wstring& p : prefixes)
      found += SendMessageW(native, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(p.c_str())) >= 0;
  });
  const double ours = bench::BestOf(Runs, [] {}, [&] {
    for (const std::wstring& p : prefixes) {
      String text(p), tail;
      found += lookup->Locate(text, tail, false);
    }
  });
  std::printf("found %d\n", found);
  report.Add("10^4 prefix searches", ours, theirs);
  DestroyWindow(native);
}
