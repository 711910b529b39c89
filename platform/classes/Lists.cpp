#include "platform/classes/Lists.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

const wchar_t* const SListIndexError = L"Listenindex außerhalb des gültigen Bereichs (%d)";
const wchar_t* const SListCapacityError = L"Kapazität der Liste ist erschöpft (%d)";
const wchar_t* const SListCountError = L"Zu viele Einträge in der Liste (%d)";
const wchar_t* const SSortedListError = L"Operation bei sortierten Listen nicht zulässig";
const wchar_t* const SDuplicateString = L"Die Stringliste erlaubt keine Duplikate";

// More items than this cannot be addressed by the int indices of a list.
constexpr int MaxListSize = 0x7FFFFFFF / 16;


// Quicksort over positions L..R through a compare and an exchange of
// positions, so that it serves comparers that take indices. The scans are
// bounded, so an inconsistent comparer gives a wrong order but never leaves
// the range; recursion goes into the smaller part only.
template <class Compare, class Exchange>
void QuickSortRange(int L, int R, const Compare& ACompare, const Exchange& AExchange) {
  while (L < R) {
    int i = L;
    int j = R;
    int pivot = L + (R - L) / 2;
    do {
      while (i < R && ACompare(i, pivot) < 0) ++i;
      while (j > L && ACompare(j, pivot) > 0) --j;
      if (i <= j) {
        if (i != j) {
          AExchange(i, j);
          if (pivot == i) pivot = j;
          else if (pivot == j) pivot = i;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - L < R - i) {
      if (L < j) QuickSortRange(L, j, ACompare, AExchange);
      L = i;
    } else {
      if (i < R) QuickSortRange(i, R, ACompare, AExchange);
      R = j;
    }
  }
}

bool IsSpaceOrControl(wchar_t C) { return C <= L' '; }

}  // namespace

// ---------------------------------------------------------------------------
// TList

void TList::Destroy() {
  Clear();
  inherited::Destroy();
}

void TList::Error(const wchar_t* AMessage, std::int64_t AData) { throw EListError(AMessage, {AData}); }

void TList::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) Error(SListIndexError, AIndex);
}

void TList::Grow() {
  const int capacity = Capacity();
  if (capacity >= MaxListSize) Error(SListCountError, capacity);
  const int delta = capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4;
  FList.reserve(static_cast<std::size_t>(std::min(MaxListSize, capacity + delta)));
}

void TList::SetCapacity(int AValue) {
  if (AValue < Count() || AValue > MaxListSize) Error(SListCapacityError, AValue);
  if (AValue == Capacity()) return;
  if (AValue > Capacity()) {
    FList.reserve(static_cast<std::size_t>(AValue));
  } else {
    std::vector<void*> list;
    list.reserve(static_cast<std::size_t>(AValue));
    list.assign(FList.begin(), FList.end());
    FList.swap(list);
  }
}

void TList::SetCount(int AValue) {
  if (AValue < 0 || AValue > MaxListSize) Error(SListCountError, AValue);
  if (AValue > Count()) {
    if (AValue > Capacity()) SetCapacity(AValue);
    FList.resize(static_cast<std::size_t>(AValue), nullptr);
  } else {
    // One at a time from the end: a notified owner may touch the list.
    while (Count() > AValue) Delete(Count() - 1);
  }
}

void* TList::Items(int AIndex) const {
  CheckIndex(AIndex);
  return FList[static_cast<std::size_t>(AIndex)];
}

void TList::SetItems(int AIndex, void* AItem) {
  CheckIndex(AIndex);
  void* old = FList[static_cast<std::size_t>(AIndex)];
  if (old == AItem) return;
  FList[static_cast<std::size_t>(AIndex)] = AItem;
  if (old) Notify(old, lnDeleted);
  if (AItem) Notify(AItem, lnAdded);
}

int TList::Add(void* AItem) {
  const int index = Count();
  if (index == Capacity()) Grow();
  FList.push_back(AItem);
  if (AItem) Notify(AItem, lnAdded);
  return index;
}

void TList::Insert(int AIndex, void* AItem) {
  if (AIndex < 0 || AIndex > Count()) Error(SListIndexError, AIndex);
  if (Count() == Capacity()) Grow();
  FList.insert(FList.begin() + AIndex, AItem);
  if (AItem) Notify(AItem, lnAdded);
}

void TList::Delete(int AIndex) {
  CheckIndex(AIndex);
  void* item = FList[static_cast<std::size_t>(AIndex)];
  FList.erase(FList.begin() + AIndex);
  if (item) Notify(item, lnDeleted);
}

int TList::RemoveItem(void* AItem, TDirection ADirection) {
  const int index = IndexOfItem(AItem, ADirection);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::ExtractItem(void* AItem, TDirection ADirection) {
  const int index = IndexOfItem(AItem, ADirection);
  if (index < 0) return nullptr;
  FList.erase(FList.begin() + index);
  if (AItem) Notify(AItem, lnExtracted);
  return AItem;
}

int TList::IndexOfItem(void* AItem, TDirection ADirection) const {
  if (ADirection == TDirection::FromEnd) {
    for (int i = Count() - 1; i >= 0; --i)
      if (FList[static_cast<std::size_t>(i)] == AItem) return i;
    return -1;
  }
  const auto it = std::find(FList.begin(), FList.end(), AItem);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Exchange(int AIndex1, int AIndex2) {
  CheckIndex(AIndex1);
  CheckIndex(AIndex2);
  std::swap(FList[static_cast<std::size_t>(AIndex1)], FList[static_cast<std::size_t>(AIndex2)]);
}

void TList::Move(int ACurIndex, int ANewIndex) {
  if (ACurIndex == ANewIndex) return;
  CheckIndex(ANewIndex);
  CheckIndex(ACurIndex);
  void* item = FList[static_cast<std::size_t>(ACurIndex)];
  FList.erase(FList.begin() + ACurIndex);
  FList.insert(FList.begin() + ANewIndex, item);
}

void* TList::First() const { return Items(0); }

void* TList::Last() const { return Items(Count() - 1); }

TList* TList::Expand() {
  if (Count() == Capacity()) Grow();
  return this;
}

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::Sort(TListSortCompare ACompare) {
  if (!ACompare) return;
  SortList([ACompare](void* A, void* B) { return ACompare(A, B); });
}

void TList::SortList(const TListSortCompareFunc& ACompare) {
  if (Count() < 2 || !ACompare) return;
  QuickSortRange(
      0, Count() - 1,
      [&](int A, int B) { return ACompare(FList[static_cast<std::size_t>(A)], FList[static_cast<std::size_t>(B)]); },
      [&](int A, int B) { std::swap(FList[static_cast<std::size_t>(A)], FList[static_cast<std::size_t>(B)]); });
}

void TList::Assign(TList* AListA, TListAssignOp AOperator, TList* AListB) {
  TList* source = AListA;
  if (AListB) {
    Assign(AListA, laCopy);
    source = AListB;
  }
  if (!source) return;
  // Work on a copy: the source may be this list.
  const std::vector<void*> items = source->FList;
  auto sourceHas = [&](void* AItem) { return std::find(items.begin(), items.end(), AItem) != items.end(); };
  switch (AOperator) {
    case laCopy:
      if (source == this) return;
      Clear();
      SetCapacity(std::max(source->Capacity(), static_cast<int>(items.size())));
      for (void* item : items) Add(item);
      break;
    case laAnd:
      for (int i = Count() - 1; i >= 0; --i)
        if (i < Count() && !sourceHas(FList[static_cast<std::size_t>(i)])) Delete(i);
      break;
    case laOr:
      for (void* item : items)
        if (IndexOf(item) < 0) Add(item);
      break;
    case laXor: {
      std::vector<void*> added;
      for (void* item : items)
        if (IndexOf(item) < 0) added.push_back(item);
      for (int i = Count() - 1; i >= 0; --i)
        if (i < Count() && sourceHas(FList[static_cast<std::size_t>(i)])) Delete(i);
      for (void* item : added) Add(item);
      break;
    }
    case laSrcUnique:
      for (int i = Count() - 1; i >= 0; --i)
        if (i < Count() && sourceHas(FList[static_cast<std::size_t>(i)])) Delete(i);
      break;
    case laDestUnique: {
      std::vector<void*> unique;
      for (void* item : items)
        if (IndexOf(item) < 0) unique.push_back(item);
      Clear();
      for (void* item : unique) Add(item);
      break;
    }
  }
}

void TList::Notify(void*, TListNotification) {}

// ---------------------------------------------------------------------------
// TObjectList

int TObjectList::FindInstanceOf(TClass AClass, bool AExact, int AStartAt) const {
  for (int i = std::max(AStartAt, 0); i < Count(); ++i) {
    const TObject* object = Items(i);
    if (object && (AExact ? object->ClassType() == AClass : object->InheritsFrom(AClass))) return i;
  }
  return -1;
}

void TObjectList::Notify(void* AItem, TListNotification AAction) {
  if (FOwnsObjects && AAction == lnDeleted) static_cast<TObject*>(AItem)->Free();
  inherited::Notify(AItem, AAction);
}

// ---------------------------------------------------------------------------
// TComponentList

// Hears of the freeing of every component in its list.
class TComponentListNexus : public TComponent {
  SK_CLASS(TComponentListNexus, TComponent)
 public:
  TComponentList* FList;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override {
    if (AOperation == opRemove && FList && AComponent != this) FList->ComponentFreed(AComponent);
    inherited::Notification(AComponent, AOperation);
  }
};

void TComponentList::Destroy() {
  Clear();
  if (FNexus) static_cast<TComponentListNexus*>(FNexus.get())->FList = nullptr;
  FNexus.reset();
  inherited::Destroy();
}

void TComponentList::ComponentFreed(TComponent* AComponent) {
  while (IndexOf(AComponent) >= 0) Extract(AComponent);
}

void TComponentList::Notify(void* AItem, TListNotification AAction) {
  auto* component = static_cast<TComponent*>(AItem);
  if (AAction == lnAdded) {
    if (!FNexus) {
      auto* nexus = New<TComponentListNexus>(nullptr);
      FNexus.reset(nexus);
      nexus->FList = this;
    }
    FNexus->FreeNotification(component);
  } else if (FNexus && IndexOf(component) < 0) {
    // Before an owning list frees it: the nexus must not hear of it any more.
    FNexus->RemoveFreeNotification(component);
  }
  inherited::Notify(AItem, AAction);
}

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(const wchar_t* AMessage, std::int64_t AData) const {
  throw EStringListError(AMessage, {AData});
}

String TStrings::Names(int AIndex) const {
  const String line = Get(AIndex);
  const std::size_t p = line.find(FNameValueSeparator);
  return p == String::npos ? String() : line.substr(0, p);
}

String TStrings::ValueFromIndex(int AIndex) const {
  if (AIndex < 0) return String();
  const String line = Get(AIndex);
  const std::size_t p = line.find(FNameValueSeparator);
  return p == String::npos ? String() : line.substr(p + 1);
}

void TStrings::SetValueFromIndex(int AIndex, const String& AValue) {
  if (!AValue.empty()) {
    if (AIndex < 0) AIndex = Add(String());
    Put(AIndex, Names(AIndex) + FNameValueSeparator + AValue);
  } else if (AIndex >= 0) {
    Delete(AIndex);
  }
}

String TStrings::Values(const String& AName) const { return ValueFromIndex(IndexOfName(AName)); }

void TStrings::SetValues(const String& AName, const String& AValue) {
  const int index = IndexOfName(AName);
  if (!AValue.empty()) {
    const String line = AName + FNameValueSeparator + AValue;
    if (index < 0) Add(line);
    else Put(index, line);
  } else if (index >= 0) {
    Delete(index);
  }
}

String TStrings::DelimitedTextWith(wchar_t ADelimiter, wchar_t AQuote, bool AStrict) const {
  const int count = GetCount();
  // A single empty line would otherwise read back as no line at all.
  if (count == 1 && AQuote && Get(0).empty()) return String(2, AQuote);
  String result;
  for (int i = 0; i < count; ++i) {
    const String item = Get(i);
    if (i > 0) result += ADelimiter;
    const bool quote = AQuote && std::any_of(item.begin(), item.end(), [&](wchar_t c) {
                         return c == ADelimiter || c == AQuote || (!AStrict && IsSpaceOrControl(c));
                       });
    if (!quote) {
      result += item;
      continue;
    }
    result += AQuote;
    for (wchar_t c : item) {
      if (c == AQuote) result += AQuote;
      result += c;
    }
    result += AQuote;
  }
  return result;
}

void TStrings::SetDelimitedTextWith(const String& AValue, wchar_t ADelimiter, wchar_t AQuote, bool AStrict) {
  WithUpdate(this, [&] {
    Clear();
    const std::size_t n = AValue.size();
    std::size_t i = 0;
    auto separates = [&](wchar_t c) { return c == ADelimiter || (!AStrict && IsSpaceOrControl(c)); };
    auto skipSpaces = [&] {
      if (!AStrict)
        while (i < n && IsSpaceOrControl(AValue[i]) && AValue[i] != ADelimiter) ++i;
    };
    skipSpaces();
    while (i < n) {
      String item;
      if (AQuote && AValue[i] == AQuote) {
        ++i;
        while (i < n) {
          if (AValue[i] == AQuote) {
            if (i + 1 < n && AValue[i + 1] == AQuote) {
              item += AQuote;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item += AValue[i++];
        }
      }
      // Unquoted text, or what follows a closing quote up to the separator.
      while (i < n && !separates(AValue[i])) item += AValue[i++];
      Add(item);
      skipSpaces();
      if (i < n && AValue[i] == ADelimiter) {
        ++i;
        skipSpaces();
        // A delimiter at the end stands before one more, empty item.
        if (i >= n) Add(String());
      }
    }
  });
}

String TStrings::DelimitedText() const { return DelimitedTextWith(FDelimiter, FQuoteChar, FStrictDelimiter); }

void TStrings::SetDelimitedText(const String& AValue) {
  SetDelimitedTextWith(AValue, FDelimiter, FQuoteChar, FStrictDelimiter);
}

String TStrings::CommaText() const { return DelimitedTextWith(L',', L'"', false); }

void TStrings::SetCommaText(const String& AValue) { SetDelimitedTextWith(AValue, L',', L'"', false); }

String TStrings::GetTextStr() const {
  String result;
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    result += Get(i);
    if (i < count - 1 || !FNoTrailingLineBreak) result += FLineBreak;
  }
  return result;
}

void TStrings::SetTextStr(const String& AValue) {
  WithUpdate(this, [&] {
    Clear();
    const std::size_t n = AValue.size();
    std::size_t start = 0;
    if (FLineBreak == L"\r\n" || FLineBreak.empty()) {
      for (std::size_t i = 0; i < n; ++i) {
        const wchar_t c = AValue[i];
        if (c != L'\r' && c != L'\n') continue;
        Add(AValue.substr(start, i - start));
        if (c == L'\r' && i + 1 < n && AValue[i + 1] == L'\n') ++i;
        start = i + 1;
      }
    } else {
      for (std::size_t p = AValue.find(FLineBreak, start); p != String::npos; p = AValue.find(FLineBreak, start)) {
        Add(AValue.substr(start, p - start));
        start = p + FLineBreak.size();
      }
    }
    if (start < n) Add(AValue.substr(start));
  });
}

int TStrings::Add(const String& AValue) {
  const int index = GetCount();
  Insert(index, AValue);
  return index;
}

int TStrings::AddObject(const String& AValue, TObject* AObject) {
  const int index = Add(AValue);
  PutObject(index, AObject);
  return index;
}

int TStrings::AddPair(const String& AName, const String& AValue, TObject* AObject) {
  return AddObject(AName + FNameValueSeparator + AValue, AObject);
}

void TStrings::AddStrings(TStrings* AStrings) {
  if (!AStrings) return;
  WithUpdate(this, [&] {
    // Fixed before the loop: AStrings may be this list.
    const int count = AStrings->Count();
    for (int i = 0; i < count; ++i) AddObject(AStrings->Get(i), AStrings->GetObject(i));
  });
}

void TStrings::AddStrings(std::initializer_list<String> AStrings) {
  WithUpdate(this, [&] {
    for (const String& s : AStrings) Add(s);
  });
}

void TStrings::AddStrings(const std::vector<String>& AStrings) {
  WithUpdate(this, [&] {
    for (const String& s : AStrings) Add(s);
  });
}

void TStrings::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TStrings*>(ASource)) {
    if (source == this) return;
    WithUpdate(this, [&] {
      Clear();
      FNameValueSeparator = source->FNameValueSeparator;
      FDelimiter = source->FDelimiter;
      FQuoteChar = source->FQuoteChar;
      FStrictDelimiter = source->FStrictDelimiter;
      FLineBreak = source->FLineBreak;
      FNoTrailingLineBreak = source->FNoTrailingLineBreak;
      AddStrings(source);
    });
    return;
  }
  inherited::Assign(ASource);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

bool TStrings::Equals(TStrings* AStrings) const {
  if (!AStrings) return false;
  const int count = GetCount();
  if (count != AStrings->GetCount()) return false;
  for (int i = 0; i < count; ++i)
    if (Get(i) != AStrings->Get(i)) return false;
  return true;
}

void TStrings::Exchange(int AIndex1, int AIndex2) {
  WithUpdate(this, [&] {
    const String s1 = Get(AIndex1);
    TObject* o1 = GetObject(AIndex1);
    const String s2 = Get(AIndex2);
    TObject* o2 = GetObject(AIndex2);
    Put(AIndex1, s2);
    PutObject(AIndex1, o2);
    Put(AIndex2, s1);
    PutObject(AIndex2, o1);
  });
}

int TStrings::IndexOf(const String& AValue) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i)
    if (CompareStrings(Get(i), AValue) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const String& AName) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    const String line = Get(i);
    const std::size_t p = line.find(FNameValueSeparator);
    if (p != String::npos && CompareStrings(line.substr(0, p), AName) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

void TStrings::InsertObject(int AIndex, const String& AValue, TObject* AObject) {
  Insert(AIndex, AValue);
  PutObject(AIndex, AObject);
}

void TStrings::Move(int ACurIndex, int ANewIndex) {
  if (ACurIndex == ANewIndex) return;
  WithUpdate(this, [&] {
    const String s = Get(ACurIndex);
    TObject* object = GetObject(ACurIndex);
    Delete(ACurIndex);
    InsertObject(ANewIndex, s, object);
  });
}

std::vector<String> TStrings::ToStringArray() const {
  std::vector<String> result;
  const int count = GetCount();
  result.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) result.push_back(Get(i));
  return result;
}

void TStrings::LoadFromFile(const String& AFileName, TEncoding* AEncoding) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(file.get(), AEncoding);
}

void TStrings::LoadFromStream(TStream* AStream, TEncoding* AEncoding) {
  const std::int64_t size = std::max<std::int64_t>(0, AStream->Size() - AStream->Position());
  TBytes bytes(static_cast<std::size_t>(size));
  if (size) AStream->ReadBuffer(bytes.data(), size);
  const std::size_t preamble = TEncoding::GetBufferEncoding(bytes, AEncoding, DefaultEncoding());
  FEncoding = AEncoding;
  SetTextStr(AEncoding->GetString(bytes.data() + preamble, bytes.size() - preamble));
}

void TStrings::SaveToFile(const String& AFileName, TEncoding* AEncoding) {
  TOwned<TFileStream> file(New<TFileStream>(AFileName, fmCreate));
  SaveToStream(file.get(), AEncoding);
}

void TStrings::SaveToStream(TStream* AStream, TEncoding* AEncoding) {
  if (!AEncoding) AEncoding = FEncoding ? FEncoding : DefaultEncoding();
  if (!FNoWriteBOM) {
    const TBytes preamble = AEncoding->GetPreamble();
    AStream->WriteBuffer(preamble.data(), static_cast<std::int64_t>(preamble.size()));
  }
  const TBytes bytes = AEncoding->GetBytes(GetTextStr());
  AStream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void TStrings::ReadData(TReader* AReader) {
  AReader->ReadListBegin();
  WithUpdate(this, [&] {
    Clear();
    while (!AReader->EndOfList()) Add(AReader->ReadString());
  });
  AReader->ReadListEnd();
}

void TStrings::WriteData(TWriter* AWriter) {
  AWriter->WriteListBegin();
  const int count = GetCount();
  for (int i = 0; i < count; ++i) AWriter->WriteString(Get(i));
  AWriter->WriteListEnd();
}

void TStrings::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"Strings", [this](TReader* AReader) { ReadData(AReader); }, [this](TWriter* AWriter) { WriteData(AWriter); },
      GetCount() > 0);
}

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::Put(int AIndex, const String& AValue) {
  WithUpdate(this, [&] {
    TObject* object = GetObject(AIndex);
    Delete(AIndex);
    InsertObject(AIndex, AValue, object);
  });
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const String& S1, const String& S2) const {
  const int result = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, S1.data(), static_cast<int>(S1.size()),
                                      S2.data(), static_cast<int>(S2.size()));
  if (result) return result - CSTR_EQUAL;
  return S1.compare(S2);
}

// ---------------------------------------------------------------------------
// TStringList

void TStringList::Create(TDuplicates ADuplicates, bool ASorted, bool ACaseSensitive) {
  FDuplicates = ADuplicates;
  FSorted = ASorted;
  FCaseSensitive = ACaseSensitive;
}

void TStringList::Destroy() {
  FOnChange = nullptr;
  FOnChanging = nullptr;
  std::vector<TStringItem> items;
  items.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& item : items)
      if (item.FObject) item.FObject->Free();
  inherited::Destroy();
}

void TStringList::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= GetCount()) Error(SListIndexError, AIndex);
}

void TStringList::SetSorted(bool AValue) {
  if (FSorted == AValue) return;
  if (AValue) Sort();
  FSorted = AValue;
}

void TStringList::SetCaseSensitive(bool AValue) {
  if (FCaseSensitive == AValue) return;
  FCaseSensitive = AValue;
  if (FSorted) {
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

int TStringList::Add(const String& AValue) { return AddObject(AValue, nullptr); }

int TStringList::AddObject(const String& AValue, TObject* AObject) {
  int index = GetCount();
  if (FSorted && Find(AValue, index)) {
    switch (FDuplicates) {
      case dupIgnore: return index;
      case dupError: throw EStringListError(SDuplicateString);
      case dupAccept: break;
    }
  }
  if (index >= MaxListSize) Error(SListCountError, index);
  InsertItem(index, AValue, AObject);
  return index;
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> items;
  items.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& item : items)
      if (item.FObject) item.FObject->Free();
  Changed();
}

void TStringList::Delete(int AIndex) {
  CheckIndex(AIndex);
  Changing();
  TObject* object = FList[static_cast<std::size_t>(AIndex)].FObject;
  FList.erase(FList.begin() + AIndex);
  if (FOwnsObjects && object) object->Free();
  Changed();
}

void TStringList::Exchange(int AIndex1, int AIndex2) {
  if (FSorted) throw EStringListError(SSortedListError);
  CheckIndex(AIndex1);
  CheckIndex(AIndex2);
  Changing();
  ExchangeItems(AIndex1, AIndex2);
  Changed();
}

void TStringList::ExchangeItems(int AIndex1, int AIndex2) {
  std::swap(FList[static_cast<std::size_t>(AIndex1)], FList[static_cast<std::size_t>(AIndex2)]);
}

bool TStringList::Find(const String& AValue, int& AIndex) const {
  // The first position whose line does not sort before AValue.
  int low = 0;
  int high = GetCount() - 1;
  bool found = false;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int c = CompareStrings(FList[static_cast<std::size_t>(middle)].FString, AValue);
    if (c < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (c == 0) found = true;
    }
  }
  AIndex = low;
  return found;
}

int TStringList::IndexOf(const String& AValue) const {
  if (!FSorted) return inherited::IndexOf(AValue);
  int index = 0;
  return Find(AValue, index) ? index : -1;
}

void TStringList::Insert(int AIndex, const String& AValue) { InsertObject(AIndex, AValue, nullptr); }

void TStringList::InsertObject(int AIndex, const String& AValue, TObject* AObject) {
  if (FSorted) throw EStringListError(SSortedListError);
  if (AIndex < 0 || AIndex > GetCount()) Error(SListIndexError, AIndex);
  if (AIndex >= MaxListSize) Error(SListCountError, AIndex);
  InsertItem(AIndex, AValue, AObject);
}

void TStringList::InsertItem(int AIndex, const String& AValue, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + AIndex, TStringItem{AValue, AObject});
  Changed();
}

void TStringList::Move(int ACurIndex, int ANewIndex) {
  if (FSorted) throw EStringListError(SSortedListError);
  if (ACurIndex == ANewIndex) return;
  CheckIndex(ACurIndex);
  CheckIndex(ANewIndex);
  Changing();
  TStringItem item = std::move(FList[static_cast<std::size_t>(ACurIndex)]);
  FList.erase(FList.begin() + ACurIndex);
  FList.insert(FList.begin() + ANewIndex, std::move(item));
  Changed();
}

void TStringList::Sort() {
  CustomSort(TStringListSortCompareFunc([](TStringList* AList, int A, int B) {
    return AList->CompareStrings(AList->FList[static_cast<std::size_t>(A)].FString,
                                 AList->FList[static_cast<std::size_t>(B)].FString);
  }));
}

void TStringList::CustomSort(const TStringListSortCompareFunc& ACompare) {
  if (FSorted || GetCount() < 2 || !ACompare) return;
  Changing();
  QuickSort(0, GetCount() - 1, ACompare);
  Changed();
}

void TStringList::QuickSort(int L, int R, const TStringListSortCompareFunc& ACompare) {
  QuickSortRange(
      L, R, [&](int A, int B) { return ACompare(this, A, B); }, [&](int A, int B) { ExchangeItems(A, B); });
}

void TStringList::Changed() {
  if (UpdateCount() == 0) CallEvent(FOnChange, this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0) CallEvent(FOnChanging, this);
}

String TStringList::Get(int AIndex) const {
  CheckIndex(AIndex);
  return FList[static_cast<std::size_t>(AIndex)].FString;
}

TObject* TStringList::GetObject(int AIndex) const {
  CheckIndex(AIndex);
  return FList[static_cast<std::size_t>(AIndex)].FObject;
}

void TStringList::Put(int AIndex, const String& AValue) {
  if (FSorted) throw EStringListError(SSortedListError);
  CheckIndex(AIndex);
  Changing();
  FList[static_cast<std::size_t>(AIndex)].FString = AValue;
  Changed();
}

void TStringList::PutObject(int AIndex, TObject* AObject) {
  CheckIndex(AIndex);
  TObject*& slot = FList[static_cast<std::size_t>(AIndex)].FObject;
  if (slot == AObject) return;
  Changing();
  TObject* old = slot;
  slot = AObject;
  if (FOwnsObjects && old) old->Free();
  Changed();
}

void TStringList::SetCapacityValue(int AValue) {
  if (AValue < GetCount() || AValue > MaxListSize) Error(SListCapacityError, AValue);
  if (AValue > GetCapacity()) {
    FList.reserve(static_cast<std::size_t>(AValue));
  } else if (AValue < GetCapacity()) {
    std::vector<TStringItem> list;
    list.reserve(static_cast<std::size_t>(AValue));
    for (TStringItem& item : FList) list.push_back(std::move(item));
    FList.swap(list);
  }
}

void TStringList::SetUpdateState(bool AUpdating) {
  if (AUpdating) Changing();
  else Changed();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
  if (!FCaseSensitive) return inherited::CompareStrings(S1, S2);
  const int result = ::CompareStringW(LOCALE_USER_DEFAULT, 0, S1.data(), static_cast<int>(S1.size()), S2.data(),
                                      static_cast<int>(S2.size()));
  if (result) return result - CSTR_EQUAL;
  return S1.compare(S2);
}
