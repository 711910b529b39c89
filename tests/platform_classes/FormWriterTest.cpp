#include "platform/classes/FormWriter.h"

#include "platform/classes/FormReader.h"
#include "platform/classes/Streams.h"
#include "tests/platform_classes/FormTestClasses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

class FormWriterTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterTestFormClasses(); }
  void SetUp() override { FLiveBefore = GLiveTestObjects; }
  void TearDown() override { EXPECT_EQ(GLiveTestObjects, FLiveBefore) << "test objects leaked"; }

  int FLiveBefore = 0;
};

// Expected texts are written with \n; the writer ends lines with CR LF.
String Crlf(const String& AText) {
  String out;
  for (wchar_t c : AText) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

TTestPanel* NewPanel(TComponent* AOwner, const wchar_t* AName) {
  TTestPanel* p = New<TTestPanel>(AOwner);
  p->SetName(AName);
  return p;
}

TEST_F(FormWriterTest, WritesOnlyStoredNonDefaultValuesInPublishedOrder) {
  TTestForm* form = New<TTestForm>(nullptr);
  form->SetName(L"F");
  form->SetCaption(L"Hi");
  form->SetColor(tcRed);
  form->Font()->SetName(L"Tahoma");
  form->Font()->SetHeight(-11);
  form->SetOnShow(BindEvent<&TTestForm::FormShow>(form));
  TTestPanel* p = NewPanel(form, L"P");
  TTestPanel* p2 = NewPanel(form, L"P2");
  TTestPanel* inner = NewPanel(form, L"Inner");
  inner->SetParentComponent(p);
  p->SetWidth(127);
  p->SetVisible(false);
  p->SetAnchors({akLeft, akRight});
  p->SetRatio(0.5);
  p->Items()->Add(L"a");
  p->Items()->Add(L"it's");
  auto* item = dynamic_cast<TTestItem*>(p->Columns()->Add());
  item->SetCaption(L"c");
  item->SetLink(p2);
  item->Image()->Bytes = {0x01, 0xAB};
  p->SetPartner(p2);
  p->OptionsImage()->SetImageIndex(2);
  p->SetOnClick(BindEvent<&TTestForm::ButtonClick>(form));
  inner->SetAccel(L'q');
  TTestStore* store = New<TTestStore>(form);
  store->SetName(L"S");
  store->SetCount(3);
  p->OptionsImage()->SetImages(store);

  EXPECT_EQ(WriteComponentToText(form), Crlf(L"object F: TTestForm\n"
                                             L"  Caption = 'Hi'\n"
                                             L"  Color = clRed\n"
                                             L"  Font.Name = 'Tahoma'\n"
                                             L"  Font.Height = -11\n"
                                             L"  OnShow = FormShow\n"
                                             L"  object P: TTestPanel\n"
                                             L"    Width = 127\n"
                                             L"    Visible = False\n"
                                             L"    Anchors = [akLeft, akRight]\n"
                                             L"    Ratio = 0.5\n"
                                             L"    Items.Strings = (\n"
                                             L"      'a'\n"
                                             L"      'it''s')\n"
                                             L"    Columns = <\n"
                                             L"      item\n"
                                             L"        Caption = 'c'\n"
                                             L"        Link = P2\n"
                                             L"        Image.Data = {\n"
                                             L"          01AB}\n"
                                             L"      end>\n"
                                             L"    OptionsImage.Images = S\n"
                                             L"    OptionsImage.ImageIndex = 2\n"
                                             L"    Partner = P2\n"
                                             L"    OnClick = ButtonClick\n"
                                             L"    object Inner: TTestPanel\n"
                                             L"      Accel = 'q'\n"
                                             L"    end\n"
                                             L"  end\n"
                                             L"  object P2: TTestPanel\n"
                                             L"  end\n"
                                             L"  object S: TTestStore\n"
                                             L"    Count = 3\n"
                                             L"    FormatVersion = 1\n"
                                             L"  end\n"
                                             L"end\n"));
  form->Free();
}

// Everything the reader test's main case holds, and more: read, write,
// read again gives the same values, and writing that gives the same text.
const wchar_t* const KRichForm =
    L"object MainForm: TTestForm\n"
    L"  Left = -426\n"
    L"  Caption = 'Skarnivel - '#214'ffnen '#9'tab '#0'nul '#55357#56832' and a long text that needs more than one "
    L"line in the description'\n"
    L"  Color = -16777201\n"
    L"  Font.Name = 'Tahoma'\n"
    L"  OnShow = FormShow\n"
    L"  object Panel1: TTestPanel\n"
    L"    Caption = ''''\n"
    L"    Width = 0\n"
    L"    Align = taClient\n"
    L"    Anchors = []\n"
    L"    Ratio = 0.1\n"
    L"    Big = -9223372036854775808\n"
    L"    Small = 255\n"
    L"    Accel = #0\n"
    L"    Partner = Panel2\n"
    L"    Items.Strings = (\n"
    L"      ''\n"
    L"      '19200')\n"
    L"    Columns = <\n"
    L"      item\n"
    L"        Caption = 'first'\n"
    L"        Value = -3\n"
    L"        Link = Panel2\n"
    L"        Image.Data = {\n"
    L"          000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
    L"          20FF}\n"
    L"      end\n"
    L"      item\n"
    L"      end>\n"
    L"    OnClick = ButtonClick\n"
    L"    OnKeyPress = KeyPress\n"
    L"    object Inner: TTestPanel\n"
    L"      Font.Color = clRed\n"
    L"      Ratio = 1.7976931348623157E308\n"
    L"    end\n"
    L"  end\n"
    L"  object Panel2: TTestPanel\n"
    L"    Big = 9223372036854775807\n"
    L"    Ratio = -2.5E-300\n"
    L"    Partner = Inner\n"
    L"  end\n"
    L"  object Store1: TTestStore\n"
    L"    Count = 7\n"
    L"  end\n"
    L"end\n";

struct TPanelValues {
  String Caption;
  int Width;
  bool Visible;
  TTestAlign Align;
  std::uint64_t Anchors;
  double Ratio;
  std::int64_t Big;
  int Small;
  wchar_t Accel;
  TTestColor FontColor;
  std::vector<String> Items;
  std::vector<String> Columns;  // caption|value|link|bytes
  String Partner;
  bool OnClick;
  bool OnKeyPress;
  String Parent;
  friend bool operator==(const TPanelValues&, const TPanelValues&) = default;
};

TPanelValues ValuesOf(TTestPanel* P) {
  TPanelValues v{P->Caption(), P->Width(), P->Visible(), P->Align(), P->Anchors().ToBits(), P->Ratio(), P->Big(),
                 P->Small(), P->Accel(), P->Font()->Color(), LinesOf(P->Items()), {}, {}, false, false, {}};
  for (int i = 0; i < P->Columns()->Count(); ++i) {
    auto* item = dynamic_cast<TTestItem*>(P->Columns()->Items(i));
    String bytes;
    for (std::uint8_t b : item->Image()->Bytes) bytes += std::to_wstring(b) + L",";
    v.Columns.push_back(item->Caption() + L"|" + std::to_wstring(item->Value()) + L"|" +
                        (item->Link() ? item->Link()->Name() : L"-") + L"|" + bytes);
  }
  v.Partner = P->Partner() ? P->Partner()->Name() : L"-";
  v.OnClick = P->OnClick().Assigned();
  v.OnKeyPress = P->OnKeyPress().Assigned();
  v.Parent = P->ParentPanel() ? P->ParentPanel()->Name() : L"-";
  return v;
}

void ExpectSameForms(TTestForm* A, TTestForm* B) {
  EXPECT_EQ(A->Name(), B->Name());
  EXPECT_EQ(A->Caption(), B->Caption());
  EXPECT_EQ(A->Left(), B->Left());
  EXPECT_EQ(A->Color(), B->Color());
  EXPECT_EQ(A->Font()->Name(), B->Font()->Name());
  EXPECT_EQ(A->OnShow().Assigned(), B->OnShow().Assigned());
  ASSERT_EQ(A->ComponentCount(), B->ComponentCount());
  for (int i = 0; i < A->ComponentCount(); ++i) {
    TComponent* a = A->Components(i);
    TComponent* b = B->FindComponent(a->Name());
    SCOPED_TRACE(testing::Message() << "component " << i);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->ClassType(), b->ClassType());
    if (auto* pa = dynamic_cast<TTestPanel*>(a)) {
      EXPECT_TRUE(ValuesOf(pa) == ValuesOf(dynamic_cast<TTestPanel*>(b)));
    }
    if (auto* sa = dynamic_cast<TTestStore*>(a)) {
      EXPECT_EQ(sa->Count(), dynamic_cast<TTestStore*>(b)->Count());
    }
  }
}

TEST_F(FormWriterTest, ReadWriteReadKeepsEveryValue) {
  auto* first = dynamic_cast<TTestForm*>(ReadComponentFromText(KRichForm));
  ASSERT_NE(first, nullptr);
  const String text = WriteComponentToText(first);
  auto* second = dynamic_cast<TTestForm*>(ReadComponentFromText(text));
  ASSERT_NE(second, nullptr);
  ExpectSameForms(first, second);
  // The values that are easy to lose on the way.
  auto* panel1 = dynamic_cast<TTestPanel*>(second->FindComponent(L"Panel1"));
  auto* panel2 = dynamic_cast<TTestPanel*>(second->FindComponent(L"Panel2"));
  auto* inner = dynamic_cast<TTestPanel*>(second->FindComponent(L"Inner"));
  ASSERT_TRUE(panel1 && panel2 && inner);
  EXPECT_EQ(second->Caption(), first->Caption());
  EXPECT_NE(second->Caption().find(String(1, L'\0')), String::npos);
  EXPECT_EQ(panel1->Width(), 0);        // differs from the default 50
  EXPECT_TRUE(panel1->Anchors().Empty());  // differs from the default [akLeft, akTop]
  EXPECT_EQ(panel1->Big(), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(panel2->Big(), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(inner->Ratio(), std::numeric_limits<double>::max());
  EXPECT_EQ(panel2->Ratio(), -2.5E-300);
  EXPECT_EQ(panel1->Ratio(), 0.1);
  EXPECT_EQ(inner->ParentPanel(), panel1);
  EXPECT_EQ(panel2->Partner(), inner);
  EXPECT_EQ(dynamic_cast<TTestItem*>(panel1->Columns()->Items(0))->Image()->Bytes.size(), 34u);
  EXPECT_EQ(WriteComponentToText(second), text);
  first->Free();
  second->Free();
}

TEST_F(FormWriterTest, ReferencesAndEventsThatCannotBeNamedAreLeftOut) {
  TTestForm* form = New<TTestForm>(nullptr);
  form->SetName(L"F");
  TTestForm* other = New<TTestForm>(nullptr);
  other->SetName(L"Other");
  TTestPanel* foreign = NewPanel(other, L"Foreign");
  TTestPanel* a = NewPanel(form, L"A");
  TTestPanel* b = NewPanel(form, L"B");
  TTestPanel* unnamed = New<TTestPanel>(other);
  a->SetPartner(foreign);
  b->SetPartner(unnamed);
  a->SetOnClick(BindEvent<&TTestForm::ButtonClick>(other));  // another object's method
  const String text = WriteComponentToText(form);
  EXPECT_NE(text.find(L"Partner = Other.Foreign"), String::npos) << Exception(text).what();
  EXPECT_EQ(text.find(L"OnClick"), String::npos);
  EXPECT_EQ(text.find(L"Partner = \r\n"), String::npos);
  EXPECT_NE(text.find(L"  object B: TTestPanel\r\n  end\r\n"), String::npos);

  // The qualified name resolves through the registered global lookup.
  static TTestForm* GOther = nullptr;
  GOther = other;
  const TFindGlobalComponent find = [](const String& AName) -> TComponent* {
    return AName == L"Other" ? GOther : nullptr;
  };
  RegisterFindGlobalComponent(find);
  TTestForm* copy = New<TTestForm>(nullptr);
  ReadComponentFromText(text, copy);
  UnRegisterFindGlobalComponent(find);
  EXPECT_EQ(dynamic_cast<TTestPanel*>(copy->FindComponent(L"A"))->Partner(), foreign);
  copy->Free();
  form->Free();
  other->Free();
}

// A component whose stored data procedure breaks the rules.
class TBadWriter : public TComponent {
  SK_CLASS(TBadWriter, TComponent)
 public:
  int Mode = 0;

 protected:
  void DefineProperties(TFiler* AFiler) override {
    AFiler->DefineProperty(
        L"Bad", nullptr,
        [this](TWriter* W) {
          if (Mode == 0) return;  // writes nothing
          if (Mode == 1) {        // two values without a list
            W->WriteInteger(1);
            W->WriteInteger(2);
          }
          if (Mode == 2) W->WriteListBegin();  // an open list
        },
        true);
  }
};

TEST_F(FormWriterTest, AStoredDataProcedureMustWriteExactlyOneValue) {
  for (int mode = 0; mode < 3; ++mode) {
    SCOPED_TRACE(mode);
    TBadWriter* bad = New<TBadWriter>(nullptr);
    bad->Mode = mode;
    EXPECT_THROW(WriteComponentToText(bad), EWriteError);
    EXPECT_FALSE(bad->ComponentState().Contains(csWriting));
    bad->Free();
  }
}

TEST_F(FormWriterTest, FloatsAndStringsReadBackExactly) {
  const double floats[] = {0.1, -1.0 / 3.0, 1e-310, 123456789.0, 2.5e17, std::numeric_limits<double>::min()};
  const String strings[] = {L"", L"'", L"''''", String(200, L'x') + L"\u00FC", String(1, L'\0'), L"a\r\nb",
                            String(64, L'\'')};
  for (double f : floats) {
    SCOPED_TRACE(f);
    TTestPanel* p = New<TTestPanel>(nullptr);
    p->SetRatio(f);
    TComponent* copy = ReadComponentFromText(WriteComponentToText(p));
    EXPECT_EQ(dynamic_cast<TTestPanel*>(copy)->Ratio(), f);
    copy->Free();
    p->Free();
  }
  for (const String& s : strings) {
    SCOPED_TRACE(s.size());
    TTestPanel* p = New<TTestPanel>(nullptr);
    p->SetCaption(s);
    p->Items()->Add(s);
    TComponent* copy = ReadComponentFromText(WriteComponentToText(p));
    EXPECT_EQ(dynamic_cast<TTestPanel*>(copy)->Caption(), s);
    EXPECT_EQ(LinesOf(dynamic_cast<TTestPanel*>(copy)->Items()), std::vector<String>{s});
    copy->Free();
    p->Free();
  }
}

TEST_F(FormWriterTest, ACollectionTravelsThroughAStreamOnItsOwn) {
  TOwned<TTestForm> formOwner(New<TTestForm>(nullptr));
  TTestForm* form = formOwner.get();
  TTestPanel* target = NewPanel(form, L"Target");
  TOwned<TCollection> sourceOwner(New<TCollection>(TTestItem::ClassInfo()));
  TCollection* source = sourceOwner.get();
  auto* a = dynamic_cast<TTestItem*>(source->Add());
  a->SetCaption(L"\u00C4rger");
  a->Image()->Bytes = {1, 2, 3};
  auto* b = dynamic_cast<TTestItem*>(source->Add());
  b->SetValue(-7);
  b->SetLink(target);

  TOwned<TMemoryStream> streamOwner(New<TMemoryStream>());
  TMemoryStream* stream = streamOwner.get();
  const std::uint32_t header = 0x4C495844;
  stream->WriteBuffer(&header, sizeof header);
  WriteCollectionToStream(stream, source, form);

  TOwned<TCollection> copyOwner(New<TCollection>(TTestItem::ClassInfo()));
  TCollection* copy = copyOwner.get();
  copy->Add();
  copy->Add();
  copy->Add();  // replaced by what the stream holds
  stream->SetPosition(sizeof header);
  ReadCollectionFromStream(stream, copy, form);
  ASSERT_EQ(copy->Count(), 2);
  auto* a2 = dynamic_cast<TTestItem*>(copy->Items(0));
  auto* b2 = dynamic_cast<TTestItem*>(copy->Items(1));
  EXPECT_EQ(a2->Caption(), L"\u00C4rger");
  EXPECT_EQ(a2->Image()->Bytes, (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(b2->Value(), -7);
  EXPECT_EQ(b2->Link(), target);

  // Without a root the reference cannot be resolved, and the reader says so.
  stream->SetPosition(sizeof header);
  EXPECT_THROW(ReadCollectionFromStream(stream, copy, nullptr), EReadError);
  // An empty rest of the stream is no collection.
  stream->SetPosition(stream->Size());
  EXPECT_THROW(ReadCollectionFromStream(stream, copy, form), EParserError);

  streamOwner.reset();
  copyOwner.reset();
  sourceOwner.reset();
  formOwner.reset();
}


// ---------------------------------------------------------------------------
// Variant properties

// A component with one Variant property, stored whatever its value.
class TVariantHolder : public TComponent {
  SK_CLASS(TVariantHolder, TComponent)
 public:
  static void Publish(TPublisher<TVariantHolder>& P) {
    P.Property(L"Value", &TVariantHolder::Value, &TVariantHolder::SetValue);
  }
  Variant Value() const { return FValue; }
  void SetValue(const Variant& AValue) { FValue = AValue; }

 private:
  Variant FValue;
};

struct TVariantCase {
  const char* Name;
  Variant Value;
  const wchar_t* Text;    // the value as the description holds it
  TVarType ReadType;      // the type it reads back as
};

const TVariantCase VariantCases[] = {
    {"empty", Unassigned(), L"nil", varEmpty},
    {"null", Null(), L"Null", varNull},
    {"shortint", Variant(static_cast<signed char>(-100)), L"-100", varInteger},
    {"byte", Variant(static_cast<unsigned char>(255)), L"255", varInteger},
    {"smallint", Variant(static_cast<short>(-32768)), L"-32768", varInteger},
    {"word", Variant(static_cast<unsigned short>(65535)), L"65535", varInteger},
    {"integer min", Variant(-2147483647 - 1), L"-2147483648", varInteger},
    {"longword", Variant(4294967295u), L"4294967295", varInt64},
    {"int64 min", Variant(static_cast<long long>(-9223372036854775807LL - 1)), L"-9223372036854775808", varInt64},
    {"uint64 in range", Variant(9000000000ULL), L"9000000000", varInt64},
    {"double tenth", Variant(0.1), L"0.1", varDouble},
    {"double negative", Variant(-2.5), L"-2.5", varDouble},
    {"double integral", Variant(3.0), L"3.0", varDouble},
    {"double large", Variant(1e300), L"1E+300", varDouble},
    {"double tiny", Variant(-4.9e-324), L"-5E-324", varDouble},
    {"single", Variant(0.1f), L"0.10000000149011612", varDouble},
    {"string empty", Variant(String()), L"''", varUString},
    {"string quotes", Variant(String(L"it's \"x\"")), L"'it''s \"x\"'", varUString},
    {"string non-ascii", Variant(String(L"\u00DCber \u20AC")), L"#220'ber '#8364", varUString},
    {"olestr", Variant::FromOleStr(L"ole"), L"'ole'", varUString},
    {"true", Variant(true), L"True", varBoolean},
    {"false", Variant(false), L"False", varBoolean},
};

TEST_F(FormWriterTest, VariantValuesAreWrittenAsTheirTextAndReadBackEqual) {
  RegisterClasses({TVariantHolder::ClassInfo()});
  for (const TVariantCase& c : VariantCases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TVariantHolder> holder(New<TVariantHolder>(nullptr));
    holder->SetName(L"H");
    holder->SetValue(c.Value);
    const String text = WriteComponentToText(holder.get());
    EXPECT_EQ(text, Crlf(L"object H: TVariantHolder\n  Value = " + String(c.Text) + L"\nend\n"));

    const TOwned<TComponent> copy(ReadComponentFromText(text));
    const Variant read = dynamic_cast<TVariantHolder*>(copy.get())->Value();
    EXPECT_EQ(read.VType(), c.ReadType);
    EXPECT_EQ(VarCompareValue(read, c.Value), vrEqual);
  }
}

// Keeps a list of Variants as stored data, through the filer's Variant operations.
class TVariantList : public TComponent {
  SK_CLASS(TVariantList, TComponent)
 public:
  std::vector<Variant> Values;

 protected:
  void DefineProperties(TFiler* AFiler) override {
    AFiler->DefineProperty(
        L"Values",
        [this](TReader* R) {
          R->ReadListBegin();
          while (!R->EndOfList()) Values.push_back(R->ReadVariant());
          R->ReadListEnd();
        },
        [this](TWriter* W) {
          W->WriteListBegin();
          for (const Variant& value : Values) W->WriteVariant(value);
          W->WriteListEnd();
        },
        !Values.empty());
  }
};

TEST_F(FormWriterTest, StoredDataListsOfVariantsReadBackEqual) {
  RegisterClasses({TVariantList::ClassInfo()});
  const TOwned<TVariantList> list(New<TVariantList>(nullptr));
  for (const TVariantCase& c : VariantCases) list->Values.push_back(c.Value);
  const TOwned<TComponent> copy(ReadComponentFromText(WriteComponentToText(list.get())));
  const std::vector<Variant>& read = dynamic_cast<TVariantList*>(copy.get())->Values;
  ASSERT_EQ(read.size(), std::size(VariantCases));
  for (std::size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE(VariantCases[i].Name);
    EXPECT_EQ(read[i].VType(), VariantCases[i].ReadType);
    EXPECT_EQ(VarCompareValue(read[i], VariantCases[i].Value), vrEqual);
  }

  const TOwned<TVariantList> bad(New<TVariantList>(nullptr));
  EXPECT_THROW(
      ReadComponentFromText(L"object L: TVariantList\r\n  Values = (\r\n    1\r\n    [x])\r\nend\r\n", bad.get()),
      EReadError);
}

TEST_F(FormWriterTest, VariantTypesADescriptionCannotHoldAreRefused) {
  const Variant refused[] = {Variant(18446744073709551615ULL), Variant(Currency{12345}),
                             Variant::FromDateTime(TDateTime(45000.5)), VarArrayOf({Variant(1), Variant(2)})};
  for (const Variant& value : refused) {
    SCOPED_TRACE(VarType(value));
    const TOwned<TVariantHolder> holder(New<TVariantHolder>(nullptr));
    holder->SetValue(value);
    EXPECT_THROW(WriteComponentToText(holder.get()), EWriteError);
  }
}

TEST_F(FormWriterTest, BadVariantTextIsAReadErrorNamingLineAndProperty) {
  RegisterClasses({TVariantHolder::ClassInfo()});
  const wchar_t* const values[] = {L"Maybe", L"[a, b]", L"(1 2)", L"<>", L"{00FF}", L"end"};
  for (const wchar_t* value : values) {
    SCOPED_TRACE(testing::Message() << std::wstring(value));
    const TOwned<TVariantHolder> holder(New<TVariantHolder>(nullptr));
    holder->SetValue(Variant(7));
    String message;
    try {
      ReadComponentFromText(L"object H: TVariantHolder\r\n  Value = " + String(value) + L"\r\nend\r\n", holder.get());
      ADD_FAILURE() << "no exception";
    } catch (const EReadError& e) {
      message = e.Message();
    }
    EXPECT_NE(message.find(L"Zeile 2:"), String::npos) << std::wstring(message);
    EXPECT_NE(message.find(L"Value"), String::npos) << std::wstring(message);
    // The value before the failed line is kept.
    EXPECT_EQ(holder->Value().VType(), varInteger);
    EXPECT_EQ(holder->Value().AsInteger(), 7);
  }
}

}  // namespace
