#include "platform/classes/Lists.h"
#include "platform/classes/Streams.h"

#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

template <class T>
using TOwned = TOwned<T>;

std::vector<String> Lines(const TStrings* AStrings) { return AStrings->ToStringArray(); }

template <class E, class F>
String MessageOf(F&& AAction) {
  try {
    AAction();
  } catch (const E& e) {
    return e.Message();
  }
  ADD_FAILURE() << "no exception";
  return String();
}

// Counts live instances, so that ownership faults show.
int GLiveTokens = 0;
class TToken : public TObject {
  SK_CLASS(TToken, TObject)
 public:
  void Create(int AValue) {
    Value = AValue;
    ++GLiveTokens;
  }
  void Destroy() override {
    --GLiveTokens;
    inherited::Destroy();
  }
  int Value;
};

// ---------------------------------------------------------------------------
// TList

// Records what the list reports.
class TLoggingList : public TList {
  SK_CLASS(TLoggingList, TList)
 public:
  std::vector<std::pair<void*, TListNotification>> Log;

 protected:
  void Notify(void* AItem, TListNotification AAction) override { Log.emplace_back(AItem, AAction); }
};

int A, B, C, D;

TEST(List, NotifiesAddDeleteExtractButNotNullItems) {
  TOwned<TLoggingList> list(New<TLoggingList>());
  list->Add(&A);
  list->Add(nullptr);
  list->Insert(0, &B);
  list->Delete(1);
  EXPECT_EQ(list->Extract(&C), nullptr);
  EXPECT_EQ(list->Extract(&B), &B);
  list->SetItems(0, &C);
  using E = std::pair<void*, TListNotification>;
  EXPECT_EQ(list->Log, (std::vector<E>{{&A, lnAdded}, {&B, lnAdded}, {&A, lnDeleted}, {&B, lnExtracted},
                                       {&C, lnAdded}}));
  EXPECT_EQ(list->Count(), 1);
}

TEST(List, IndexErrorsNameTheOffendingValue) {
  TOwned<TList> list(New<TList>());
  list->Add(&A);
  list->Add(&B);
  list->Add(&C);
  struct TCase {
    const char* Name;
    std::function<void()> Action;
    const wchar_t* Message;
  } cases[] = {
      {"Items(3)", [&] { list->Items(3); }, L"Listenindex außerhalb des gültigen Bereichs (3)"},
      {"Items(-1)", [&] { list->Items(-1); }, L"Listenindex außerhalb des gültigen Bereichs (-1)"},
      {"Insert past Count", [&] { list->Insert(4, &D); }, L"Listenindex außerhalb des gültigen Bereichs (4)"},
      {"Exchange names the first bad index", [&] { list->Exchange(5, 9); },
       L"Listenindex außerhalb des gültigen Bereichs (5)"},
      {"Capacity below count", [&] { list->SetCapacity(2); }, L"Kapazität der Liste ist erschöpft (2)"},
      {"negative count", [&] { list->SetCount(-1); }, L"Zu viele Einträge in der Liste (-1)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(MessageOf<EListError>(c.Action), c.Message);
    EXPECT_EQ(list->Count(), 3);
  }
  TOwned<TList> empty(New<TList>());
  EXPECT_EQ(MessageOf<EListError>([&] { empty->First(); }), L"Listenindex außerhalb des gültigen Bereichs (0)");
  EXPECT_EQ(MessageOf<EListError>([&] { empty->Last(); }), L"Listenindex außerhalb des gültigen Bereichs (-1)");
}

TEST(List, InsertAtCountAppendsAndMoveKeepsOthersInOrder) {
  TOwned<TList> list(New<TList>());
  list->Add(&A);
  list->Add(&B);
  list->Insert(2, &C);
  list->Insert(0, &D);  // D A B C
  list->Move(0, 3);     // A B C D
  EXPECT_EQ(list->Items(0), &A);
  EXPECT_EQ(list->Items(3), &D);
  list->Move(3, 1);  // A D B C
  EXPECT_EQ(list->Items(1), &D);
  EXPECT_EQ(list->Items(2), &B);
  EXPECT_EQ(list->IndexOfItem(&B, TDirection::FromEnd), 2);
}

TEST(List, CountGrowsWithNullsAndPackRemovesThem) {
  TOwned<TList> list(New<TList>());
  list->Add(&A);
  list->SetCount(4);
  list->Add(&B);
  EXPECT_EQ(list->Count(), 5);
  EXPECT_EQ(list->Items(2), nullptr);
  EXPECT_GE(list->Capacity(), 5);
  list->Pack();
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Items(1), &B);
}

TEST(List, SortOrdersByCompareAndSurvivesAnInconsistentCompare) {
  TOwned<TList> list(New<TList>());
  std::vector<int> values;
  for (int i = 0; i < 200; ++i) values.push_back((i * 7919) % 211);
  for (int& v : values) list->Add(&v);
  list->Sort([](void* X, void* Y) { return *static_cast<int*>(X) - *static_cast<int*>(Y); });
  for (int i = 1; i < list->Count(); ++i)
    ASSERT_LE(*static_cast<int*>(list->Items(i - 1)), *static_cast<int*>(list->Items(i)));
  // A compare that always says "less" must not run outside the list.
  list->Sort([](void*, void*) { return -1; });
  list->Sort([](void*, void*) { return 1; });
  EXPECT_EQ(list->Count(), 200);
}

TEST(List, AssignOperators) {
  struct TCase {
    const char* Name;
    TListAssignOp Op;
    std::vector<int*> Expected;
  } cases[] = {
      {"copy", laCopy, {&B, &C, &D}},
      {"and", laAnd, {&B}},
      {"or", laOr, {&A, &B, &C, &D}},
      {"xor", laXor, {&A, &C, &D}},
      {"source unique", laSrcUnique, {&A}},
      {"destination unique", laDestUnique, {&C, &D}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TList> list(New<TList>());
    TOwned<TList> source(New<TList>());
    list->Add(&A);
    list->Add(&B);
    source->Add(&B);
    source->Add(&C);
    source->Add(&D);
    list->Assign(source.get(), c.Op);
    std::vector<int*> items;
    for (int i = 0; i < list->Count(); ++i) items.push_back(static_cast<int*>(list->Items(i)));
    EXPECT_EQ(items, c.Expected);
  }
}

TEST(ObjectList, OwnsWhatItDeletesButNotWhatItExtracts) {
  GLiveTokens = 0;
  TOwned<TObjectList> list(New<TObjectList>());
  TToken* kept = New<TToken>(1);
  list->Add(kept);
  list->Add(New<TToken>(2));
  list->Add(New<TToken>(3));
  EXPECT_EQ(GLiveTokens, 3);
  list->Delete(1);
  EXPECT_EQ(GLiveTokens, 2);
  EXPECT_EQ(list->Extract(kept), kept);
  list->SetItems(0, New<TToken>(4));  // replaces token 3, which is freed
  EXPECT_EQ(GLiveTokens, 2);
  EXPECT_EQ(list->FindInstanceOf(TToken::ClassInfo()), 0);
  list.reset();
  EXPECT_EQ(GLiveTokens, 1);
  kept->Free();
  EXPECT_EQ(GLiveTokens, 0);
}

TEST(ComponentList, DropsAComponentFreedElsewhere) {
  TOwned<TComponentList> list(New<TComponentList>(false));
  TComponent* a = New<TComponent>(nullptr);
  TOwned<TComponent> bOwner(New<TComponent>(nullptr));
  TComponent* b = bOwner.get();
  list->Add(a);
  list->Add(b);
  a->Free();
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Items(0), b);
  list->Delete(0);  // not owned: b lives on and no longer reports to the list
  list.reset();
  bOwner.reset();
}

TEST(ComponentList, OwningListFreesItsComponentsOnce) {
  TOwned<TComponentList> list(New<TComponentList>(true));
  TComponent* owner = New<TComponent>(nullptr);
  list->Add(New<TComponent>(owner));
  list->Add(New<TComponent>(nullptr));
  list.reset();
  EXPECT_EQ(owner->ComponentCount(), 0);
  owner->Free();
}

// ---------------------------------------------------------------------------
// TStrings: delimited text

struct TDelimitedCase {
  const char* Name;
  std::vector<String> Items;
  String Comma;  // CommaText of Items
};

class CommaTextRoundTrip : public testing::TestWithParam<TDelimitedCase> {};

TEST_P(CommaTextRoundTrip, WritesQuotedAndReadsBack) {
  const TDelimitedCase& c = GetParam();
  TOwned<TStringList> list(New<TStringList>());
  list->AddStrings(c.Items);
  EXPECT_EQ(list->CommaText(), c.Comma);
  TOwned<TStringList> back(New<TStringList>());
  back->SetCommaText(c.Comma);
  EXPECT_EQ(Lines(back.get()), c.Items);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommaTextRoundTrip,
    testing::Values(TDelimitedCase{"plain", {L"COM1", L"COM4"}, L"COM1,COM4"},
                    TDelimitedCase{"none", {}, L""},
                    TDelimitedCase{"one empty item", {L""}, L"\"\""},
                    TDelimitedCase{"empty items between", {L"a", L"", L"b"}, L"a,,b"},
                    TDelimitedCase{"empty item at the end", {L"a", L""}, L"a,"},
                    TDelimitedCase{"empty item at the start", {L"", L"a"}, L",a"},
                    TDelimitedCase{"space", {L"a b", L"c"}, L"\"a b\",c"},
                    TDelimitedCase{"comma", {L"1,5", L"x"}, L"\"1,5\",x"},
                    TDelimitedCase{"quote doubled", {L"say \"hi\""}, L"\"say \"\"hi\"\"\""},
                    TDelimitedCase{"lone quote", {L"\""}, L"\"\"\"\""},
                    TDelimitedCase{"tab and line break", {L"a\tb", L"c\r\nd"}, L"\"a\tb\",\"c\r\nd\""},
                    TDelimitedCase{"umlauts stay bare", {L"Größe", L"Übung"}, L"Größe,Übung"}),
    [](const testing::TestParamInfo<TDelimitedCase>& I) {
      std::string name = I.param.Name;
      for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(StringsDelimitedText, ParsesHandWrittenTexts) {
  struct TCase {
    const char* Name;
    bool Strict;
    String Text;
    std::vector<String> Expected;
  } cases[] = {
      {"spaces separate", false, L"a b  c", {L"a", L"b", L"c"}},
      {"spaces around delimiters", false, L"  a ; b ;c  ", {L"a", L"b", L"c"}},
      {"control characters separate", false, L"a\tb\r\nc", {L"a", L"b", L"c"}},
      {"quoted keeps spaces", false, L"\"a b\" c", {L"a b", L"c"}},
      {"quoted keeps delimiter", false, L"\"x;y\";z", {L"x;y", L"z"}},
      {"text after closing quote joins the item", false, L"\"ab\"cd;e", {L"abcd", L"e"}},
      {"unterminated quote takes the rest", false, L"\"abc;def", {L"abc;def"}},
      {"trailing delimiter and spaces", false, L"a;  ", {L"a", L""}},
      {"strict keeps spaces", true, L" a b ;c", {L" a b ", L"c"}},
      {"strict quoted", true, L"\"a;b\";c", {L"a;b", L"c"}},
      {"strict empty items", true, L";;", {L"", L"", L""}},
      {"only spaces", false, L"   ", {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TStringList> list(New<TStringList>());
    list->SetDelimiter(L';');
    list->SetStrictDelimiter(c.Strict);
    list->SetDelimitedText(c.Text);
    EXPECT_EQ(Lines(list.get()), c.Expected);
  }
}

TEST(StringsDelimitedText, StrictDelimiterQuotesOnlyDelimiterAndQuote) {
  TOwned<TStringList> list(New<TStringList>());
  list->SetDelimiter(L'|');
  list->SetQuoteChar(L'\'');
  list->SetStrictDelimiter(true);
  list->AddStrings({L"a b", L"c|d", L"it's"});
  EXPECT_EQ(list->DelimitedText(), L"a b|'c|d'|'it''s'");
  // CommaText ignores the list's own settings.
  EXPECT_EQ(list->CommaText(), L"\"a b\",c|d,it's");
  TOwned<TStringList> back(New<TStringList>());
  back->SetDelimiter(L'|');
  back->SetQuoteChar(L'\'');
  back->SetStrictDelimiter(true);
  back->SetDelimitedText(list->DelimitedText());
  EXPECT_TRUE(back->Equals(list.get()));
}

// ---------------------------------------------------------------------------
// TStrings: names and values, text

TEST(StringsValues, NamesValuesAndDeletionByEmptyValue) {
  TOwned<TStringList> list(New<TStringList>());
  list->SetText(L"Port=COM3\r\nbare line\r\nBaud=9600=fast\r\n");
  EXPECT_EQ(list->Names(0), L"Port");
  EXPECT_EQ(list->Names(1), L"");
  EXPECT_EQ(list->ValueFromIndex(1), L"");
  EXPECT_EQ(list->Values(L"baud"), L"9600=fast");  // names are not case-sensitive
  EXPECT_EQ(list->Values(L"missing"), L"");
  list->SetValues(L"PORT", L"COM4");
  EXPECT_EQ(list->Strings(0), L"PORT=COM4");
  list->SetValues(L"Parity", L"none");
  EXPECT_EQ(list->Strings(3), L"Parity=none");
  list->SetValues(L"Port", L"");
  EXPECT_EQ(list->IndexOfName(L"Port"), -1);
  EXPECT_EQ(list->Count(), 3);
  list->SetValueFromIndex(0, L"x");
  EXPECT_EQ(list->Strings(0), L"=x");
  list->SetNameValueSeparator(L':');
  list->AddPair(L"Key", L"V");
  EXPECT_EQ(list->Values(L"key"), L"V");
}

TEST(StringsText, SplitsAtEveryLineBreakKindAndJoinsWithLineBreak) {
  TOwned<TStringList> list(New<TStringList>());
  list->SetText(L"a\r\nb\nc\rd\n\re");
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"a", L"b", L"c", L"d", L"", L"e"}));
  list->SetText(L"\r\n");
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L""}));
  list->SetText(L"");
  EXPECT_EQ(list->Count(), 0);
  list->AddStrings({L"x", L"y"});
  EXPECT_EQ(list->Text(), L"x\r\ny\r\n");
  list->SetTrailingLineBreak(false);
  list->SetLineBreak(L"|");
  EXPECT_EQ(list->Text(), L"x|y");
  list->SetText(L"1|2\r\n3|");
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"1", L"2\r\n3"}));
}

// ---------------------------------------------------------------------------
// TStringList: sorting, duplicates, events, ownership

TEST(StringListSorted, DuplicatesModes) {
  struct TCase {
    const char* Name;
    TDuplicates Mode;
    std::vector<String> Expected;
    bool Raises;
  } cases[] = {
      {"ignore", dupIgnore, {L"a", L"b", L"c"}, false},
      {"accept", dupAccept, {L"a", L"b", L"b", L"c"}, false},
      {"error", dupError, {L"a", L"b", L"c"}, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TStringList> list(New<TStringList>(c.Mode, true, false));
    list->Add(L"c");
    list->Add(L"a");
    list->Add(L"b");
    if (c.Raises) EXPECT_THROW(list->Add(L"B"), EStringListError);
    else list->Add(L"B");
    std::vector<String> lower;
    for (String s : Lines(list.get())) lower.push_back(s == L"B" ? L"b" : s);
    EXPECT_EQ(lower, c.Expected);
  }
}

TEST(StringListSorted, CaseSensitivityDecidesFindAndDuplicates) {
  TOwned<TStringList> list(New<TStringList>(dupIgnore, true, false));
  list->AddStrings({L"beta", L"Alpha", L"gamma"});
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"Alpha", L"beta", L"gamma"}));
  int index = -1;
  EXPECT_TRUE(list->Find(L"ALPHA", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list->Find(L"delta", index));
  EXPECT_EQ(index, 2);  // where it would go
  list->Add(L"BETA");
  EXPECT_EQ(list->Count(), 3);

  list->SetCaseSensitive(true);
  EXPECT_FALSE(list->Find(L"ALPHA", index));
  list->Add(L"BETA");
  EXPECT_EQ(list->Count(), 4);
  EXPECT_GE(list->IndexOf(L"BETA"), 0);
  EXPECT_GE(list->IndexOf(L"beta"), 0);
  EXPECT_NE(list->IndexOf(L"BETA"), list->IndexOf(L"beta"));
}

TEST(StringListSorted, RefusesPositionalChanges) {
  TOwned<TStringList> list(New<TStringList>(dupIgnore, true, false));
  list->AddStrings({L"b", L"a"});
  EXPECT_THROW(list->Insert(0, L"z"), EStringListError);
  EXPECT_THROW(list->SetStrings(0, L"z"), EStringListError);
  EXPECT_THROW(list->Move(0, 1), EStringListError);
  EXPECT_THROW(list->Exchange(0, 1), EStringListError);
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"a", L"b"}));
}

TEST(StringList, SortingOnSwitchAndCustomSort) {
  TOwned<TStringList> list(New<TStringList>());
  list->AddStrings({L"10", L"9", L"100", L"1"});
  list->CustomSort([](TStringList* L, int I, int J) {
    return std::stoi(L->Strings(I)) - std::stoi(L->Strings(J));
  });
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"1", L"9", L"10", L"100"}));
  list->SetSorted(true);
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"1", L"10", L"100", L"9"}));
}

class TEventSink : public TObject {
  SK_CLASS(TEventSink, TObject)
 public:
  void Change(TObject*) { Log += L"+"; }
  void Changing(TObject*) { Log += L"-"; }
  String Log;
};

TEST(StringListEvents, UpdateBlockReportsOnce) {
  TOwned<TStringList> list(New<TStringList>());
  TOwned<TEventSink> sink(New<TEventSink>());
  list->SetOnChange(BindEvent<&TEventSink::Change>(sink.get()));
  list->SetOnChanging(BindEvent<&TEventSink::Changing>(sink.get()));
  list->Add(L"a");
  EXPECT_EQ(sink->Log, L"-+");
  sink->Log.clear();
  list->BeginUpdate();
  list->BeginUpdate();
  list->Add(L"b");
  list->Delete(0);
  list->EndUpdate();
  EXPECT_EQ(sink->Log, L"-");
  list->EndUpdate();
  EXPECT_EQ(sink->Log, L"-+");
  sink->Log.clear();
  list->SetCommaText(L"x,y,z");  // one batch
  EXPECT_EQ(sink->Log, L"-+");
  sink->Log.clear();
  list->EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(list->UpdateCount(), 0);
  EXPECT_EQ(sink->Log, L"");
}

class TRaisingSink : public TObject {
  SK_CLASS(TRaisingSink, TObject)
 public:
  void Change(TObject*) { throw EInvalidOperation(L"change refused"); }
};

// The change told at the end of a batch may raise like any other; the
// batch is closed all the same and the list stays usable.
TEST(StringListEvents, AChangeHandlerThatRaisesAtTheEndOfABatchLeavesAClosedBatch) {
  TOwned<TStringList> list(New<TStringList>());
  TOwned<TStringList> source(New<TStringList>());
  source->AddStrings({L"a", L"b"});
  TOwned<TRaisingSink> sink(New<TRaisingSink>());
  list->SetOnChange(BindEvent<&TRaisingSink::Change>(sink.get()));
  EXPECT_THROW(list->Assign(source.get()), EInvalidOperation);
  EXPECT_EQ(list->UpdateCount(), 0);
  EXPECT_EQ(Lines(list.get()), Lines(source.get()));
  EXPECT_THROW(list->SetCommaText(L"x,y"), EInvalidOperation);
  EXPECT_EQ(list->UpdateCount(), 0);
  EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"x", L"y"}));
}

TEST(StringListObjects, OwnedObjectsFreedOnDeleteClearReplaceAndDestroy) {
  GLiveTokens = 0;
  TOwned<TStringList> list(New<TStringList>(true));
  list->AddObject(L"a", New<TToken>(1));
  list->AddObject(L"b", New<TToken>(2));
  list->AddObject(L"c", New<TToken>(3));
  list->Delete(0);
  EXPECT_EQ(GLiveTokens, 2);
  TObject* two = list->Objects(0);
  list->SetObjects(0, two);  // the same object stays alive
  EXPECT_EQ(GLiveTokens, 2);
  list->SetObjects(0, New<TToken>(4));
  EXPECT_EQ(GLiveTokens, 2);
  list->Move(1, 0);  // moving keeps the object
  EXPECT_EQ(static_cast<TToken*>(list->Objects(0))->Value, 3);
  EXPECT_EQ(list->IndexOfObject(list->Objects(1)), 1);
  list.reset();
  EXPECT_EQ(GLiveTokens, 0);
}

TEST(StringList, AssignCopiesLinesObjectsAndSettings) {
  TOwned<TStringList> source(New<TStringList>());
  TOwned<TToken> token(New<TToken>(7));
  source->SetDelimiter(L';');
  source->SetNameValueSeparator(L':');
  source->AddObject(L"k:v", token.get());
  source->Add(L"w");
  TOwned<TStringList> dest(New<TStringList>());
  dest->Add(L"old");
  dest->Assign(source.get());
  EXPECT_TRUE(dest->Equals(source.get()));
  EXPECT_EQ(dest->Objects(0), token.get());
  EXPECT_EQ(dest->Delimiter(), L';');
  EXPECT_EQ(dest->Values(L"k"), L"v");
  dest->Assign(dest.get());
  EXPECT_EQ(dest->Count(), 2);
  dest->AddStrings(dest.get());
  EXPECT_EQ(dest->Count(), 4);
  EXPECT_THROW(dest->Assign(nullptr), EConvertError);
}

// ---------------------------------------------------------------------------
// TStrings: files and streams

TEST(StringsFiles, LoadDetectsTheMarkAndSaveReusesTheEncoding) {
  TTempDir dir;
  struct TCase {
    const char* Name;
    std::string Bytes;
    TEncoding* Expected;
  } cases[] = {
      {"UTF-8 with mark", "\xEF\xBB\xBFK\xC3\xBChe\r\nZwei\r\n", TEncoding::UTF8()},
      {"UTF-16 with mark", std::string("\xFF\xFEK\0\xFC\0h\0e\0\n\0Z\0w\0e\0i\0", 20), TEncoding::Unicode()},
      {"ANSI without mark", "K\xFChe\nZwei", TEncoding::Default()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const String name = dir.File(L"lines.txt");
    WriteFileBytes(name, c.Bytes);
    TOwned<TStringList> list(New<TStringList>());
    list->LoadFromFile(name);
    EXPECT_EQ(Lines(list.get()), (std::vector<String>{L"K\u00FChe", L"Zwei"}));
    EXPECT_EQ(list->Encoding(), c.Expected);
    list->SaveToFile(name);
    const TBytes preamble = c.Expected->GetPreamble();
    const TBytes body = c.Expected->GetBytes(String(L"K\u00FChe\r\nZwei\r\n"));
    std::string expected(preamble.begin(), preamble.end());
    expected.append(body.begin(), body.end());
    EXPECT_EQ(ReadFileBytes(name), expected);
  }
}

TEST(StringsFiles, ExplicitEncodingWithoutMarkAndWithoutWritingOne) {
  TOwned<TStringList> list(New<TStringList>());
  list->AddStrings({L"\u00E4", L"b"});
  list->SetWriteBOM(false);
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  list->SaveToStream(stream.get(), TEncoding::UTF8());
  EXPECT_EQ(std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size())),
            "\xC3\xA4\r\nb\r\n");
  // Loading reads from the position on.
  stream->SetPosition(2);
  TOwned<TStringList> back(New<TStringList>());
  back->LoadFromStream(stream.get(), TEncoding::UTF8());
  EXPECT_EQ(Lines(back.get()), (std::vector<String>{L"", L"b"}));
  EXPECT_THROW(back->LoadFromFile(L"Z:\\no\\such\\file.txt"), EFOpenError);
  EXPECT_EQ(back->Count(), 2);  // a failed load keeps the lines
}

}  // namespace
