// Lists of pointers, objects, components and strings.
//
// Classes in this file:
//   TListNotification, TListAssignOp, TListSortCompare
//   TList                   a list of untyped pointers with change notification
//   TObjectList             a TList of objects that may own them
//   TComponentList          an object list of components that drops a component when it is freed
//   TDuplicates, TStringListSortCompare
//   TStrings                the abstract list of strings with associated objects
//   TStringList             the string list with its own storage, sorting and change events
//
// Index, capacity and count errors raise EListError (pointer lists) or
// EStringListError (string lists) with the offending value in the message.
#pragma once

#include "platform/classes/Component.h"
#include "platform/runtime/Encoding.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

class TStream;
class TStringList;

// ---------------------------------------------------------------------------
// Pointer lists

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
enum TListAssignOp { laCopy, laAnd, laOr, laXor, laSrcUnique, laDestUnique };
enum class TDirection { FromBeginning, FromEnd };

// Negative when Item1 sorts before Item2.
using TListSortCompare = int (*)(void* Item1, void* Item2);
using TListSortCompareFunc = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
  SK_CLASS(TList, TObject)
 public:
  void Destroy() override;

  // Properties
  int Count() const { return static_cast<int>(FList.size()); }
  // Growing adds null items; shrinking deletes the items beyond (notified).
  void SetCount(int AValue);
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  // Raises EListError when below Count.
  void SetCapacity(int AValue);
  void* Items(int AIndex) const;
  void SetItems(int AIndex, void* AItem);
  void* const* List() const { return FList.data(); }

  // Operations
  int Add(void* AItem);
  void Insert(int AIndex, void* AItem);
  void Delete(int AIndex);
  // Removes the first (or, FromEnd, the last) match; the former index or -1.
  int Remove(void* AItem) { return RemoveItem(AItem, TDirection::FromBeginning); }
  int RemoveItem(void* AItem, TDirection ADirection);
  // Takes the item out without the owner's deletion; AItem or null when absent.
  void* Extract(void* AItem) { return ExtractItem(AItem, TDirection::FromBeginning); }
  void* ExtractItem(void* AItem, TDirection ADirection);
  int IndexOf(void* AItem) const { return IndexOfItem(AItem, TDirection::FromBeginning); }
  int IndexOfItem(void* AItem, TDirection ADirection) const;
  void Exchange(int AIndex1, int AIndex2);
  void Move(int ACurIndex, int ANewIndex);
  void* First() const;
  void* Last() const;
  // Grows the capacity when the list is full.
  TList* Expand();
  // Removes the null items.
  void Pack();
  virtual void Clear();
  void Sort(TListSortCompare ACompare);
  void SortList(const TListSortCompareFunc& ACompare);
  // Combines this list with AListA (and, when given, AListB) by AOperator.
  void Assign(TList* AListA, TListAssignOp AOperator = laCopy, TList* AListB = nullptr);

 protected:
  // Every item that enters or leaves the list, after the list changed; null
  // items are not reported.
  virtual void Notify(void* AItem, TListNotification AAction);
  [[noreturn]] static void Error(const wchar_t* AMessage, std::int64_t AData);

 private:
  void CheckIndex(int AIndex) const;
  void Grow();
  std::vector<void*> FList;
};

class TObjectList : public TList {
  SK_CLASS(TObjectList, TList)
 public:
  // An owning list.
  void Create() { Create(true); }
  void Create(bool AOwnsObjects) { FOwnsObjects = AOwnsObjects; }

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }
  TObject* Items(int AIndex) const { return static_cast<TObject*>(TList::Items(AIndex)); }
  void SetItems(int AIndex, TObject* AObject) { TList::SetItems(AIndex, AObject); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }
  TObject* Extract(TObject* AItem) { return static_cast<TObject*>(TList::Extract(AItem)); }
  // The index of the first object of AClass (or, not AExact, of a descendant)
  // from AStartAt on; -1 when none.
  int FindInstanceOf(TClass AClass, bool AExact = true, int AStartAt = 0) const;

 protected:
  // Frees a deleted object when the list owns its objects.
  void Notify(void* AItem, TListNotification AAction) override;

 private:
  bool FOwnsObjects;
};

class TComponentList : public TObjectList {
  SK_CLASS(TComponentList, TObjectList)
 public:
  void Destroy() override;

  TComponent* Items(int AIndex) const { return static_cast<TComponent*>(TList::Items(AIndex)); }
  void SetItems(int AIndex, TComponent* AComponent) { TList::SetItems(AIndex, AComponent); }
  TComponent* First() const { return static_cast<TComponent*>(TList::First()); }
  TComponent* Last() const { return static_cast<TComponent*>(TList::Last()); }

 protected:
  void Notify(void* AItem, TListNotification AAction) override;

 private:
  friend class TComponentListNexus;
  void ComponentFreed(TComponent* AComponent);
  TOwned<TComponent> FNexus;
};

// ---------------------------------------------------------------------------
// String lists

enum TDuplicates { dupIgnore, dupAccept, dupError };

// Negative when the string at Index1 sorts before the one at Index2.
using TStringListSortCompare = int (*)(TStringList* List, int Index1, int Index2);
using TStringListSortCompareFunc = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStrings : public TPersistent {
  SK_CLASS(TStrings, TPersistent)
 public:
  // Properties
  int Count() const { return GetCount(); }
  String Strings(int AIndex) const { return Get(AIndex); }
  void SetStrings(int AIndex, const String& AValue) { Put(AIndex, AValue); }
  TObject* Objects(int AIndex) const { return GetObject(AIndex); }
  void SetObjects(int AIndex, TObject* AObject) { PutObject(AIndex, AObject); }
  int Capacity() const { return GetCapacity(); }
  void SetCapacity(int AValue) { SetCapacityValue(AValue); }

  // Name=value lines. Names(i) is the part before the separator (empty when
  // the line has none); setting a value to the empty text deletes the line.
  String Names(int AIndex) const;
  String Values(const String& AName) const;
  void SetValues(const String& AName, const String& AValue);
  String ValueFromIndex(int AIndex) const;
  void SetValueFromIndex(int AIndex, const String& AValue);
  wchar_t NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(wchar_t AValue) { FNameValueSeparator = AValue; }

  // Delimited text. Writing quotes every item that holds the delimiter, the
  // quote character or (without StrictDelimiter) a space or control
  // character, doubling embedded quote characters. Reading splits at the
  // delimiter and, without StrictDelimiter, at runs of spaces and control
  // characters; quoted items keep whatever they contain.
  wchar_t Delimiter() const { return FDelimiter; }
  void SetDelimiter(wchar_t AValue) { FDelimiter = AValue; }
  wchar_t QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(wchar_t AValue) { FQuoteChar = AValue; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool AValue) { FStrictDelimiter = AValue; }
  String DelimitedText() const;
  void SetDelimitedText(const String& AValue);
  // DelimitedText with ',' and '"' and without StrictDelimiter, whatever
  // the list's own settings are.
  String CommaText() const;
  void SetCommaText(const String& AValue);

  // The lines joined by LineBreak (after each line, the last one too unless
  // TrailingLineBreak is off). Reading splits at CR LF, LF and CR while
  // LineBreak is CR LF, else at LineBreak.
  String Text() const { return GetTextStr(); }
  void SetText(const String& AValue) { SetTextStr(AValue); }
  const String& LineBreak() const { return FLineBreak; }
  void SetLineBreak(const String& AValue) { FLineBreak = AValue; }
  bool TrailingLineBreak() const { return !FNoTrailingLineBreak; }
  void SetTrailingLineBreak(bool AValue) { FNoTrailingLineBreak = !AValue; }

  // Files and streams: loading detects a byte-order mark and otherwise
  // reads DefaultEncoding (the system's ANSI code page unless set); the
  // encoding found is kept and used again by saving without an encoding.
  TEncoding* Encoding() const { return FEncoding; }
  TEncoding* DefaultEncoding() const { return FDefaultEncoding ? FDefaultEncoding : TEncoding::Default(); }
  void SetDefaultEncoding(TEncoding* AValue) { FDefaultEncoding = AValue; }
  // Whether saving writes the encoding's byte-order mark (on by default).
  bool WriteBOM() const { return !FNoWriteBOM; }
  void SetWriteBOM(bool AValue) { FNoWriteBOM = !AValue; }

  int UpdateCount() const { return FUpdateCount; }

  // Operations
  virtual int Add(const String& AValue);
  virtual int AddObject(const String& AValue, TObject* AObject);
  int AddPair(const String& AName, const String& AValue, TObject* AObject = nullptr);
  void Append(const String& AValue) { Add(AValue); }
  virtual void AddStrings(TStrings* AStrings);
  void AddStrings(std::initializer_list<String> AStrings);
  void AddStrings(const std::vector<String>& AStrings);
  // Replaces the lines by ASource's; from another TStrings the separator,
  // delimiter, quote and line-break settings are copied too.
  void Assign(TPersistent* ASource) override;
  void SetStrings(TStrings* ASource) { Assign(ASource); }
  void BeginUpdate();
  void EndUpdate();
  virtual void Clear() = 0;
  virtual void Delete(int AIndex) = 0;
  // Same count and the same lines (case-sensitive).
  bool Equals(TStrings* AStrings) const;
  virtual void Exchange(int AIndex1, int AIndex2);
  // The first line equal to AValue by CompareStrings; -1 when none.
  virtual int IndexOf(const String& AValue) const;
  virtual int IndexOfName(const String& AName) const;
  virtual int IndexOfObject(TObject* AObject) const;
  virtual void Insert(int AIndex, const String& AValue) = 0;
  virtual void InsertObject(int AIndex, const String& AValue, TObject* AObject);
  virtual void Move(int ACurIndex, int ANewIndex);
  std::vector<String> ToStringArray() const;

  void LoadFromFile(const String& AFileName, TEncoding* AEncoding = nullptr);
  // Reads from the stream's position to its end.
  virtual void LoadFromStream(TStream* AStream, TEncoding* AEncoding = nullptr);
  void SaveToFile(const String& AFileName, TEncoding* AEncoding = nullptr);
  virtual void SaveToStream(TStream* AStream, TEncoding* AEncoding = nullptr);

  // The stored form of the lines (the list property "Strings" of a form
  // description), used by DefineProperties.
  void ReadData(TReader* AReader);
  void WriteData(TWriter* AWriter);

 protected:
  void DefineProperties(TFiler* AFiler) override;
  // Storage of a concrete list.
  virtual String Get(int AIndex) const = 0;
  virtual int GetCount() const = 0;
  virtual TObject* GetObject(int AIndex) const;
  virtual void Put(int AIndex, const String& AValue);
  virtual void PutObject(int AIndex, TObject* AObject);
  virtual int GetCapacity() const { return GetCount(); }
  virtual void SetCapacityValue(int) {}
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& AValue);
  // BeginUpdate calls it with true before the first level, EndUpdate with
  // false after the last.
  virtual void SetUpdateState(bool AUpdating);
  // How IndexOf, IndexOfName and Values compare: not case-sensitive here.
  virtual int CompareStrings(const String& S1, const String& S2) const;
  [[noreturn]] void Error(const wchar_t* AMessage, std::int64_t AData) const;

 private:
  String DelimitedTextWith(wchar_t ADelimiter, wchar_t AQuote, bool AStrict) const;
  void SetDelimitedTextWith(const String& AValue, wchar_t ADelimiter, wchar_t AQuote, bool AStrict);

  wchar_t FNameValueSeparator = L'=';
  wchar_t FDelimiter = L',';
  wchar_t FQuoteChar = L'"';
  bool FStrictDelimiter = false;
  String FLineBreak = L"\r\n";
  bool FNoTrailingLineBreak = false;
  bool FNoWriteBOM = false;
  TEncoding* FEncoding = nullptr;
  TEncoding* FDefaultEncoding = nullptr;
  int FUpdateCount = 0;
};

class TStringList : public TStrings {
  SK_CLASS(TStringList, TStrings)
 public:
  void Create() {}
  void Create(bool AOwnsObjects) { FOwnsObjects = AOwnsObjects; }
  void Create(TDuplicates ADuplicates, bool ASorted, bool ACaseSensitive);
  void Destroy() override;

  // Properties
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates AValue) { FDuplicates = AValue; }
  bool Sorted() const { return FSorted; }
  // Switching on sorts the list.
  void SetSorted(bool AValue);
  bool CaseSensitive() const { return FCaseSensitive; }
  // A sorted list is sorted again.
  void SetCaseSensitive(bool AValue);
  // Deleting a line or clearing the list frees its object.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }

  // Events: OnChanging before and OnChange after each change, once per
  // outermost BeginUpdate/EndUpdate pair while updating.
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }
  TNotifyEvent OnChanging() const { return FOnChanging; }
  void SetOnChanging(TNotifyEvent AValue) { FOnChanging = AValue; }

  // Operations
  // A sorted list puts the line in order and applies Duplicates.
  int Add(const String& AValue) override;
  int AddObject(const String& AValue, TObject* AObject) override;
  void Clear() override;
  void Delete(int AIndex) override;
  void Exchange(int AIndex1, int AIndex2) override;
  // Binary search of a sorted list: whether AValue is there, and in AIndex
  // its index or where it would go.
  virtual bool Find(const String& AValue, int& AIndex) const;
  int IndexOf(const String& AValue) const override;
  // Insert, Move and assigning a line raise EStringListError on a sorted list.
  void Insert(int AIndex, const String& AValue) override;
  void InsertObject(int AIndex, const String& AValue, TObject* AObject) override;
  void Move(int ACurIndex, int ANewIndex) override;
  virtual void Sort();
  // Takes a TStringListSortCompare function as well.
  virtual void CustomSort(const TStringListSortCompareFunc& ACompare);

 protected:
  virtual void Changed();
  virtual void Changing();
  void ExchangeItems(int AIndex1, int AIndex2);
  String Get(int AIndex) const override;
  int GetCount() const override { return static_cast<int>(FList.size()); }
  TObject* GetObject(int AIndex) const override;
  void Put(int AIndex, const String& AValue) override;
  void PutObject(int AIndex, TObject* AObject) override;
  int GetCapacity() const override { return static_cast<int>(FList.capacity()); }
  void SetCapacityValue(int AValue) override;
  void SetUpdateState(bool AUpdating) override;
  // AnsiCompareStr or AnsiCompareText by CaseSensitive.
  int CompareStrings(const String& S1, const String& S2) const override;
  virtual void InsertItem(int AIndex, const String& AValue, TObject* AObject);

 private:
  struct TStringItem {
    String FString;
    TObject* FObject;
  };
  void CheckIndex(int AIndex) const;
  void QuickSort(int L, int R, const TStringListSortCompareFunc& ACompare);

  std::vector<TStringItem> FList;
  TDuplicates FDuplicates;
  bool FSorted;
  bool FCaseSensitive;
  bool FOwnsObjects;
  TNotifyEvent FOnChange;
  TNotifyEvent FOnChanging;
};
