#include "library/vector/dxXMLDoc.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class TXMLModel : public testing::Test {
 protected:
  void SetUp() override { FDocument.reset(New<TdxXMLDocument>(nullptr)); }
  TdxXMLDocument* Document() const { return FDocument.get(); }

 private:
  TOwned<TdxXMLDocument> FDocument;
};

// ---------------------------------------------------------------------------
// Tree

TEST_F(TXMLModel, ANewDocumentHasANamelessEmptyRootAndItsDefaults) {
  EXPECT_EQ(Document()->Encoding(), "UTF-8");
  EXPECT_EQ(Document()->Version(), "1.0");
  EXPECT_EQ(Document()->Standalone(), "");
  EXPECT_FALSE(Document()->AutoIndent());
  ASSERT_NE(Document()->Root(), nullptr);
  EXPECT_EQ(Document()->Root()->Name(), "");
  EXPECT_TRUE(Document()->Root()->IsEmpty());
  EXPECT_EQ(Document()->Root()->Parent(), nullptr);
}

TEST_F(TXMLModel, LevelsIndicesAndItemsFollowTheTree) {
  TdxXMLNode* svg = Document()->AddChild("svg");
  TdxXMLNode* defs = svg->AddChild("defs");
  TdxXMLNode* g = svg->AddChild("g");
  TdxXMLNode* path = g->AddChild("path");
  EXPECT_EQ(Document()->Root()->Level(), -1);
  EXPECT_EQ(svg->Level(), 0);
  EXPECT_EQ(path->Level(), 2);
  EXPECT_EQ(svg->Parent(), Document()->Root());
  EXPECT_EQ(Document()->Root()->Index(), -1);
  EXPECT_EQ(defs->Index(), 0);
  EXPECT_EQ(g->Index(), 1);
  EXPECT_EQ(svg->Count(), 2);
  EXPECT_EQ(path->Count(), 0);
  EXPECT_EQ(svg->First(), defs);
  EXPECT_EQ(defs->Next(), g);
  EXPECT_EQ(g->Next(), nullptr);
  EXPECT_EQ(svg->GetItem(1), g);
  for (int index : {-1, 2}) {
    SCOPED_TRACE(index);
    try {
      svg->GetItem(index);
      ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), L"Listenindex außerhalb des gültigen Bereichs (" + std::to_wstring(index) + L")");
    }
  }
  EXPECT_THROW(path->GetItem(0), EListError);
}

TEST_F(TXMLModel, NameScopesSplitAtTheLastColon) {
  struct {
    TdxXMLString Name, Scope, Local;
  } const cases[] = {
      {"svg", "", "svg"},
      {"xlink:href", "xlink:", "href"},
      {"a:b:c", "a:b:", "c"},
      {":x", ":", "x"},
      {"x:", "x:", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TdxXMLNode* node = Document()->AddChild(c.Name);
    EXPECT_EQ(node->NameScope(), c.Scope);
    EXPECT_EQ(node->NameWithoutNameScope(), c.Local);
  }
}

TEST_F(TXMLModel, FindingFollowsPathsAndCreatesMissingStepsOnlyWhenAsked) {
  TdxXMLNode* svg = Document()->AddChild("svg");
  TdxXMLNode* first = svg->AddChild("g");
  svg->AddChild("g");
  TdxXMLNode* found = nullptr;
  EXPECT_TRUE(Document()->FindChild("svg", found));
  EXPECT_EQ(found, svg);
  EXPECT_FALSE(Document()->FindChild("SVG", found));  // byte for byte
  EXPECT_EQ(Document()->FindChild({"svg", "g"}), first);
  EXPECT_EQ(Document()->FindChild({"svg", "defs"}), nullptr);
  EXPECT_FALSE(Document()->FindChild(std::span<const TdxXMLString>(), found));
  EXPECT_EQ(svg->Count(), 2);

  EXPECT_FALSE(svg->FindChild({"defs", "style"}, false, found));
  EXPECT_EQ(svg->FindChild("defs"), nullptr);
  ASSERT_TRUE(svg->FindChild({"defs", "style"}, true, found));
  EXPECT_EQ(found->Name(), "style");
  EXPECT_EQ(found->Parent()->Name(), "defs");
  EXPECT_EQ(found->Parent()->Parent(), svg);
  EXPECT_EQ(svg->Count(), 3);
}

TEST_F(TXMLModel, ForEachVisitsTheDirectChildrenInOrder) {
  TdxXMLNode* list = Document()->AddChild("list");
  for (const char* name : {"a", "b", "c"}) list->AddChild(name)->AddChild("deeper");
  int tag = 7;
  std::vector<TdxXMLString> seen;
  Document()->ForEach(std::vector<TdxXMLString>{"list"}, &tag, [&](TdxXMLNode* ANode, void* AUserData) {
    EXPECT_EQ(AUserData, &tag);
    seen.push_back(ANode->Name());
  });
  EXPECT_EQ(seen, (std::vector<TdxXMLString>{"a", "b", "c"}));
  seen.clear();
  Document()->ForEach(std::vector<TdxXMLString>{"missing"}, nullptr,
                      [&](TdxXMLNode* ANode, void*) { seen.push_back(ANode->Name()); });
  EXPECT_TRUE(seen.empty());
}

TEST_F(TXMLModel, AssignCopiesNamesAttributesAndChildrenButNoText) {
  TdxXMLNode* source = Document()->AddChild("source");
  source->SetTextAsString(L"source text");
  source->Attributes()->Add("a", L"1");
  source->Attributes()->Add("a", L"2");
  TdxXMLNode* child = source->AddChild("child");
  child->Attributes()->Add("b", L"3");
  child->SetTextAsString(L"child text");
  child->AddChild("grandchild");

  TdxXMLNode* target = Document()->AddChild("target");
  target->SetTextAsString(L"kept");
  target->AddChild("old");
  target->Assign(source);
  EXPECT_EQ(target->Name(), "source");
  EXPECT_EQ(target->TextAsString(), L"kept");
  ASSERT_EQ(target->Count(), 1);
  EXPECT_EQ(target->Attributes()->First()->ValueAsString(), L"1");
  EXPECT_EQ(target->Attributes()->Last()->ValueAsString(), L"2");
  TdxXMLNode* copy = target->First();
  EXPECT_NE(copy, child);
  EXPECT_EQ(copy->Parent(), target);
  EXPECT_EQ(copy->Attributes()->GetValueAsString("b"), L"3");
  EXPECT_EQ(copy->TextAsString(), L"");
  ASSERT_NE(copy->First(), nullptr);
  EXPECT_EQ(copy->First()->Name(), "grandchild");
}

TEST_F(TXMLModel, ClearRemovesAttributesAndChildrenAndKeepsTheText) {
  TdxXMLNode* node = Document()->AddChild("node");
  node->SetTextAsString(L"text");
  node->Attributes()->Add("a");
  node->AddChild("child");
  EXPECT_FALSE(node->IsEmpty());
  node->Clear();
  EXPECT_EQ(node->Count(), 0);
  EXPECT_FALSE(node->HasChildren());
  EXPECT_EQ(node->Attributes()->First(), nullptr);
  EXPECT_EQ(node->TextAsString(), L"text");
  node->SetTextAsString(L"");
  EXPECT_TRUE(node->IsEmpty());
}

TEST_F(TXMLModel, AFreedNodeLeavesItsParent) {
  TdxXMLNode* parent = Document()->AddChild("parent");
  TdxXMLNode* a = parent->AddChild("a");
  TdxXMLNode* b = parent->AddChild("b");
  TdxXMLNode* c = parent->AddChild("c");
  b->Free();
  EXPECT_EQ(parent->Count(), 2);
  EXPECT_EQ(a->Next(), c);
  EXPECT_EQ(c->Index(), 1);
  c->Free();
  a->Free();
  EXPECT_FALSE(parent->HasChildren());
}

TEST_F(TXMLModel, AVeryDeepTreeIsFreedWithoutExhaustingTheStack) {
  TdxXMLNode* node = Document()->AddChild("deep");
  for (int i = 0; i < 200000; ++i) node = node->AddChild("deep");
  EXPECT_EQ(node->Level(), 200000);
  Document()->Root()->Clear();
  EXPECT_FALSE(Document()->Root()->HasChildren());
}

// ---------------------------------------------------------------------------
// Typed values

TEST_F(TXMLModel, BooleansReadFromIntegersAndTrueInAnyCase) {
  struct {
    const wchar_t* Text;
    bool Value;
  } const cases[] = {
      {L"true", true}, {L"TRUE", true}, {L"True", true}, {L"1", true},   {L"-7", true},
      {L"0", false},   {L"false", false}, {L"yes", false}, {L"", false}, {L"truex", false},
      // Decimal integers only: hexadecimal text is no number here.
      {L"+3", true},   {L"$1", false},    {L"0x1", false}, {L" 1", false}, {L"-", false},
  };
  TdxXMLNode* node = Document()->AddChild("node");
  TdxXMLNodeAttribute* attribute = node->Attributes()->Add("flag");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(TdxXMLHelper::DecodeBoolean(c.Text), c.Value);
    node->SetTextAsString(c.Text);
    EXPECT_EQ(node->TextAsBoolean(), c.Value);
    attribute->SetValueAsString(c.Text);
    EXPECT_EQ(attribute->ValueAsBoolean(), c.Value);
    EXPECT_EQ(node->Attributes()->GetValueAsBoolean("flag"), c.Value);
  }
  attribute->SetValueAsBoolean(true);
  EXPECT_EQ(attribute->ValueAsString(), L"1");
  attribute->SetValueAsBoolean(false);
  EXPECT_EQ(attribute->ValueAsString(), L"0");
  node->SetTextAsBoolean(true);
  EXPECT_EQ(node->TextAsString(), L"true");
  node->SetTextAsBoolean(false);
  EXPECT_EQ(node->TextAsString(), L"false");
}

TEST_F(TXMLModel, IntegerAttributesTakeTrueAndFalseAndRaiseOnOtherText) {
  TdxXMLNodeAttributes* attributes = Document()->AddChild("node")->Attributes();
  TdxXMLNodeAttribute* attribute = attributes->Add("n", L"True");
  EXPECT_EQ(attribute->ValueAsInteger(), 1);
  EXPECT_EQ(attribute->ValueAsInt64(), 1);
  attribute->SetValueAsString(L"FALSE");
  EXPECT_EQ(attribute->ValueAsInteger(), 0);
  attribute->SetValueAsString(L"-42");
  EXPECT_EQ(attribute->ValueAsInteger(), -42);
  attribute->SetValueAsString(L"9000000000");
  EXPECT_EQ(attribute->ValueAsInt64(), 9000000000);
  EXPECT_THROW(attribute->ValueAsInteger(), EConvertError);
  EXPECT_EQ(attributes->GetValueAsInteger("n", 5), 5);

  attribute->SetValueAsString(L"12a");
  try {
    attribute->ValueAsInteger();
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'12a' ist kein gültiger Integerwert");
  }
  EXPECT_THROW(attribute->ValueAsInt64(), EConvertError);
  EXPECT_EQ(attributes->GetValueAsInteger("n", 5), 5);
  EXPECT_EQ(attributes->GetValueAsInt64("n", -5), -5);
  EXPECT_EQ(attributes->GetValueAsInteger("missing", 3), 3);

  // Decimal, as written: hexadecimal text raises, and the getters give the default.
  for (const wchar_t* text : {L"$10", L"0x10", L"1e3", L"--1"}) {
    SCOPED_TRACE(text);
    attribute->SetValueAsString(text);
    EXPECT_THROW(attribute->ValueAsInteger(), EConvertError);
    EXPECT_THROW(attribute->ValueAsInt64(), EConvertError);
    EXPECT_EQ(attributes->GetValueAsInteger("n", 5), 5);
    TdxXMLNode* node = attributes->Node();
    node->SetTextAsString(text);
    EXPECT_THROW(node->TextAsInteger(), EConvertError);
  }
  attribute->SetValueAsString(L"-2147483648");
  EXPECT_EQ(attribute->ValueAsInteger(), -2147483647 - 1);
  attribute->SetValueAsString(L"2147483648");
  EXPECT_THROW(attribute->ValueAsInteger(), EConvertError);

  attributes->SetValueAsInteger("n", 17);
  EXPECT_EQ(attribute->ValueAsString(), L"17");
  attributes->SetValueAsInt64("m", -9000000000);
  EXPECT_EQ(attributes->GetValueAsString("m"), L"-9000000000");
}

TEST_F(TXMLModel, FloatsUseAPointAndRaiseOnBadText) {
  TdxXMLNode* node = Document()->AddChild("node");
  TdxXMLNodeAttributes* attributes = node->Attributes();
  attributes->Add("x", 2.25);
  EXPECT_EQ(attributes->GetValueAsString("x"), L"2.25");
  EXPECT_DOUBLE_EQ(attributes->GetValueAsFloat("x"), 2.25);
  EXPECT_DOUBLE_EQ(attributes->GetValueAsFloat("missing", -1.5), -1.5);
  attributes->SetValueAsString("x", L"1,5");
  EXPECT_THROW(attributes->GetValueAsFloat("x"), EConvertError);

  node->SetTextAsFloat(-0.125);
  EXPECT_EQ(node->TextAsString(), L"-0.125");
  EXPECT_DOUBLE_EQ(node->TextAsFloat(), -0.125);
  node->SetTextAsString(L"abc");
  EXPECT_THROW(node->TextAsFloat(), EConvertError);
  EXPECT_THROW(node->TextAsInteger(), EConvertError);
  node->SetTextAsInteger(-3);
  EXPECT_EQ(node->TextAsInteger(), -3);
}

TEST_F(TXMLModel, TheEightBitAccessorsTravelThroughUTF8) {
  TdxXMLNode* node = Document()->AddChild("node");
  node->SetText("gr\xC3\xBC\xC3\x9F \xE2\x82\xAC");
  EXPECT_EQ(node->TextAsString(), L"grüß €");
  EXPECT_EQ(node->Text(), "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC");
  node->SetNameAsString(L"straße");
  EXPECT_EQ(node->Name(), "stra\xC3\x9F" "e");
  EXPECT_EQ(node->NameAsString(), L"straße");
  TdxXMLNodeAttribute* attribute = node->Attributes()->Add("v", TdxXMLString("\xC3\xA9t\xC3\xA9"));
  EXPECT_EQ(attribute->ValueAsString(), L"été");
  EXPECT_EQ(attribute->Value(), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(node->Attributes()->GetValue("v"), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(node->Attributes()->GetValue("w", "none"), "none");
  EXPECT_EQ(dxXMLStringToString(dxStringToXMLString(L"\U0001F600 ok")), L"\U0001F600 ok");
  EXPECT_EQ(dxStringToXMLString(L"\U0001F600"), "\xF0\x9F\x98\x80");
  // A lone surrogate cannot be written as UTF-8.
  EXPECT_EQ(dxStringToXMLString(String(L"a\xD800") + L"b\xDC00"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST_F(TXMLModel, AttributesKeepOrderAndDuplicatesAndLookupsTakeTheFirst) {
  TdxXMLNodeAttributes* attributes = Document()->AddChild("node")->Attributes();
  attributes->Add("class", L"first");
  attributes->Add("Class", L"other case");
  attributes->Add("class", L"second");
  EXPECT_EQ(attributes->Count(), 3);
  EXPECT_EQ(attributes->GetValueAsString("class"), L"first");
  EXPECT_EQ(attributes->GetValueAsString("Class"), L"other case");
  attributes->SetValueAsString("class", L"changed");
  EXPECT_EQ(attributes->First()->ValueAsString(), L"changed");
  EXPECT_EQ(attributes->Last()->ValueAsString(), L"second");
  attributes->Delete("class");
  EXPECT_EQ(attributes->GetValueAsString("class"), L"second");
  attributes->Delete("missing");
  EXPECT_EQ(attributes->Count(), 2);
  attributes->SetValueAsString("new", L"appended");
  EXPECT_EQ(attributes->Last()->Name(), "new");
  EXPECT_EQ(attributes->Node()->Name(), "node");

  // A narrow text literal is text, never a Boolean.
  EXPECT_EQ(attributes->Add("fill", "red")->ValueAsString(), L"red");
  EXPECT_EQ(attributes->Add("on", true)->ValueAsString(), L"1");
  EXPECT_EQ(attributes->Add("n", 7)->ValueAsString(), L"7");
  EXPECT_EQ(attributes->Add("big", std::int64_t{1} << 40)->ValueAsString(), L"1099511627776");
}

TEST_F(TXMLModel, DefaultBooleansDeleteTheAttributeForDefault) {
  TdxXMLNode* node = Document()->AddChild("node");
  TdxXMLNodeAttributes* attributes = node->Attributes();
  EXPECT_EQ(attributes->GetValueAsDefaultBoolean("b"), bDefault);
  attributes->SetValueAsDefaultBoolean("b", bTrue);
  EXPECT_EQ(attributes->GetValueAsString("b"), L"1");
  EXPECT_EQ(attributes->GetValueAsDefaultBoolean("b"), bTrue);
  attributes->SetValueAsDefaultBoolean("b", bFalse);
  EXPECT_EQ(attributes->GetValueAsDefaultBoolean("b"), bFalse);
  attributes->SetValueAsDefaultBoolean("b", bDefault);
  EXPECT_FALSE(node->HasAttribute("b"));
}

TEST_F(TXMLModel, SetAttributeStoresTheVariantsText) {
  TdxXMLNode* node = Document()->AddChild("node");
  node->SetAttribute("i", Variant(42));
  node->SetAttribute("s", Variant(String(L"text")));
  node->SetAttribute("i", Variant(43));
  EXPECT_EQ(node->Attributes()->Count(), 2);
  EXPECT_EQ(node->Attributes()->GetValueAsString("i"), L"43");
  EXPECT_EQ(node->Attributes()->GetValueAsString("s"), L"text");
  EXPECT_TRUE(node->HasAttribute("s"));
}

TEST_F(TXMLModel, AttributesAreAssignedAsCopies) {
  TdxXMLNodeAttributes* source = Document()->AddChild("a")->Attributes();
  source->Add("x", L"1");
  source->Add("y", L"2");
  TdxXMLNodeAttributes* target = Document()->AddChild("b")->Attributes();
  target->Add("old", L"gone");
  target->Assign(source);
  ASSERT_EQ(target->Count(), 2);
  EXPECT_EQ(target->First()->Name(), "x");
  EXPECT_NE(target->First(), source->First());
  EXPECT_EQ(target->Last()->ValueAsString(), L"2");
  EXPECT_FALSE(target->Exists("old"));
}

TEST_F(TXMLModel, ChildValuesAreTheTextOfTheFirstChildOfThatName) {
  TdxXMLNode* node = Document()->AddChild("node");
  node->AddChild("title")->SetTextAsString(L"first");
  node->AddChild("title")->SetTextAsString(L"second");
  EXPECT_EQ(node->GetChildValue("title"), L"first");
  EXPECT_EQ(node->GetChildValue("missing"), L"");
}

// ---------------------------------------------------------------------------
// Entities and escapes

struct TDecodeCase {
  const char* Name;
  const wchar_t* Text;
  const wchar_t* Decoded;
};

class XMLDecodeString : public testing::TestWithParam<TDecodeCase> {};

TEST_P(XMLDecodeString, DecodesEachReferenceOnce) { EXPECT_EQ(TdxXMLHelper::DecodeString(GetParam().Text), GetParam().Decoded); }

const TDecodeCase GDecodeCases[] = {
    {"plain", L"plain text", L"plain text"},
    {"service_entities", L"&lt;a&gt; &amp; &quot;b&quot; &apos;c&apos;", L"<a> & \"b\" 'c'"},
    {"white_space_references", L"a&#9;b&#10;c&#13;d", L"a\tb\nc\rd"},
    {"decimal_reference", L"&#65;", L"A"},
    {"hexadecimal_reference", L"&#65;&#x42;&#x6a;", L"ABj"},
    {"hexadecimal_beyond_the_basic_plane", L"&#x1F600;", L"\U0001F600"},
    {"decimal_beyond_the_basic_plane", L"&#128512;", L"\U0001F600"},
    {"largest_code_point", L"&#x10FFFF;", L"\U0010FFFF"},
    {"too_large_stays", L"&#x110000;&#99999999999999999999;", L"&#x110000;&#99999999999999999999;"},
    {"leading_zeros", L"&#0000065;&#x0000041;", L"AA"},
    {"escaped_ampersand_once", L"&amp;#65;", L"&#65;"},
    {"escaped_ampersand_before_lt", L"&amp;lt;", L"&lt;"},
    {"double_escaped_ampersand", L"&amp;amp;", L"&amp;"},
    {"no_digits", L"&#;&#x;a", L"&#;&#x;a"},
    {"unterminated", L"x&#65", L"x&#65"},
    {"other_character_in_reference", L"&#6a;&#xg;", L"&#6a;&#xg;"},
    {"upper_case_x_is_no_hexadecimal_mark", L"&#X41;", L"&#X41;"},
    {"other_named_entities_stay", L"&nbsp;&copy", L"&nbsp;&copy"},
    {"lone_ampersand", L"a & b &", L"a & b &"},
    {"character_escape", L"a_x0041_b", L"aAb"},
    {"escaped_underscore", L"a_x005F_x0041_b", L"a_x0041_b"},
    {"escape_digits_in_either_case", L"_x00e9__x00E9_", L"éé"},
    {"incomplete_escapes_stay", L"_x004_ _X0041_ _x0041 _x00G1_", L"_x004_ _X0041_ _x0041 _x00G1_"},
    {"escape_at_the_end", L"ab_x0031_", L"ab1"},
    {"empty", L"", L""},
};

INSTANTIATE_TEST_SUITE_P(Cases, XMLDecodeString, testing::ValuesIn(GDecodeCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST(XMLDecodeString, ACharacterReferenceToZeroGivesTheCharacterZero) {
  EXPECT_EQ(TdxXMLHelper::DecodeString(L"a&#0;b"), String(L"a\0b", 3));
}

struct TEncodeCase {
  const char* Name;
  const wchar_t* Text;
  bool RemoveLineBreaks, SkipEntities, KeepLineBreaks;
  const wchar_t* Encoded;
};

class XMLEncodeString : public testing::TestWithParam<TEncodeCase> {};

TEST_P(XMLEncodeString, EncodesByTheFirstRuleThatApplies) {
  const TEncodeCase& c = GetParam();
  EXPECT_EQ(TdxXMLHelper::EncodeString(c.Text, c.RemoveLineBreaks, c.SkipEntities, c.KeepLineBreaks), c.Encoded);
}

const TEncodeCase GEncodeCases[] = {
    {"plain", L"plain ünïcode", false, false, false, L"plain ünïcode"},
    {"service_characters", L"<a & \"b\" 'c'>", false, false, false, L"&lt;a &amp; &quot;b&quot; &apos;c&apos;&gt;"},
    {"white_space", L"a\tb\r\nc", false, false, false, L"a&#9;b&#13;&#10;c"},
    {"line_breaks_removed", L"a\r\nb\tc", true, false, false, L"a  b&#9;c"},
    {"line_breaks_kept", L"a\r\nb", false, false, true, L"a\r\nb"},
    {"removing_wins_over_keeping", L"a\nb", true, false, true, L"a b"},
    {"entities_skipped", L"<&>\t", false, true, false, L"<&>_x0009_"},
    {"control_characters", L"\x0B\x01\x1F", false, false, false, L"_x000B__x0001__x001F_"},
    {"character_65535", L"a\xFFFF", false, false, false, L"a_xFFFF_"},
    {"underscore_before_an_escape", L"a_x0041_b", false, false, false, L"a_x005F_x0041_b"},
    {"underscore_alone", L"a_b _x _x004", false, false, false, L"a_b _x _x004"},
    {"underscore_before_digits_and_an_escaped_character", L"_x0041\x01_x0041\xFFFF_x0041<", false, false, false,
     L"_x005F_x0041_x0001__x005F_x0041_xFFFF__x0041&lt;"},
    {"underscore_before_digits_and_a_skipped_entity", L"_x0041\t", false, true, false, L"_x005F_x0041_x0009_"},
    {"underscore_before_digits_and_a_kept_line_break", L"_x0041\n", false, false, true, L"_x0041\n"},
    {"empty", L"", false, false, false, L""},
};

INSTANTIATE_TEST_SUITE_P(Cases, XMLEncodeString, testing::ValuesIn(GEncodeCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST(XMLEncodeString, DecodingUndoesEncodingForAnyText) {
  // Texts made of the pieces that take part in entities and escapes.
  const wchar_t* const pieces[] = {L"_",  L"x",  L"_x",   L"0041", L"005F", L"FFFF", L"f",      L"&",     L"#",
                                   L";",  L"amp", L"lt",  L"#65;", L"#x42", L"<",    L"\"",    L"\t",    L"\r\n",
                                   L"\x01", L"\x1F", L"\xFFFF", L"é",  L"_x0041_", L"&amp;", L"&#10;"};
  std::mt19937 random(1234);
  for (int round = 0; round < 50000; ++round) {
    String text;
    for (int n = static_cast<int>(random() % 10); n > 0; --n) text += pieces[random() % std::size(pieces)];
    const String encoded = TdxXMLHelper::EncodeString(text);
    ASSERT_EQ(TdxXMLHelper::DecodeString(encoded), text) << "encoded as " << UTF8Encode(encoded);
  }
}

TEST(XMLHelper, PreservingSpacesIsNeededForEdgeWhiteSpaceAndLineBreaks) {
  struct {
    const wchar_t* Text;
    bool Needed;
  } const cases[] = {
      {L"", false},       {L"a b", false},  {L" a", true},   {L"a ", true},   {L"\ta", true},
      {L"a\n", true},     {L"a\nb", true},  {L"a\rb", true}, {L"a\tb", false}, {L" ", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(UTF8Encode(c.Text));
    EXPECT_EQ(TdxXMLHelper::IsPreserveSpacesNeeded(c.Text), c.Needed);
  }
}

// ---------------------------------------------------------------------------
// Date-times

struct TDateTimeCase {
  const char* Name;
  const wchar_t* Text;
  int Year, Month, Day, Hour, Minute, Second, Millisecond;
  bool IsUTC;
};

class XMLDateTimeParse : public testing::TestWithParam<TDateTimeCase> {};

TEST_P(XMLDateTimeParse, ReadsTheFields) {
  const TDateTimeCase& c = GetParam();
  const TdxXMLDateTime value = TdxXMLDateTime::Create(c.Text);
  EXPECT_EQ(value.Year, c.Year);
  EXPECT_EQ(value.Month, c.Month);
  EXPECT_EQ(value.Day, c.Day);
  EXPECT_EQ(value.Hour, c.Hour);
  EXPECT_EQ(value.Minute, c.Minute);
  EXPECT_EQ(value.Second, c.Second);
  EXPECT_EQ(value.Millisecond, c.Millisecond);
  EXPECT_EQ(value.IsUTC, c.IsUTC);
}

const TDateTimeCase GDateTimeCases[] = {
    {"date_only", L"2021-03-04", 2021, 3, 4, 0, 0, 0, 0, false},
    {"date_and_time", L"2021-03-04T05:06:07", 2021, 3, 4, 5, 6, 7, 0, false},
    {"utc", L"2021-03-04T05:06:07Z", 2021, 3, 4, 5, 6, 7, 0, true},
    {"date_in_utc", L"2021-03-04Z", 2021, 3, 4, 0, 0, 0, 0, true},
    {"fraction_and_offset", L"2021-03-04T05:06:07.5+01:30", 2021, 3, 4, 3, 36, 7, 500, true},
    {"negative_offset_into_the_next_day", L"2021-12-31T23:30:00-01:00", 2022, 1, 1, 0, 30, 0, 0, true},
    {"offset_into_the_previous_day", L"2021-03-01T00:15:00+00:30", 2021, 2, 28, 23, 45, 0, 0, true},
    {"offset_in_hours_only", L"2021-03-04T05:06:07+02", 2021, 3, 4, 3, 6, 7, 0, true},
    {"three_digit_fraction", L"2021-03-04T05:06:07.123", 2021, 3, 4, 5, 6, 7, 123, false},
    {"fraction_rounded_down", L"2021-03-04T05:06:07.12349", 2021, 3, 4, 5, 6, 7, 123, false},
    {"fraction_rounded_up", L"2021-03-04T05:06:07.12351", 2021, 3, 4, 5, 6, 7, 124, false},
    {"half_to_even_down", L"2021-03-04T05:06:07.0125", 2021, 3, 4, 5, 6, 7, 12, false},
    {"half_to_even_up", L"2021-03-04T05:06:07.0135", 2021, 3, 4, 5, 6, 7, 14, false},
    {"long_fraction", L"2021-03-04T05:06:07.12345678901234567890123456789", 2021, 3, 4, 5, 6, 7, 123, false},
    {"fraction_carried_into_the_next_second", L"2021-03-04T05:06:07.9996", 2021, 3, 4, 5, 6, 8, 0, false},
    {"fraction_carried_into_the_next_year", L"2021-12-31T23:59:59.99999999999999999999", 2022, 1, 1, 0, 0, 0, 0,
     false},
    {"carry_then_offset", L"2021-03-04T00:59:59.9999+01:00", 2021, 3, 4, 0, 0, 0, 0, true},
    {"empty_fraction", L"2021-03-04T05:06:07.", 2021, 3, 4, 5, 6, 7, 0, false},
    {"missing_runs_read_as_zero", L"--T::", 0, 0, 0, 0, 0, 0, 0, false},
    {"runs_saturate", L"99999999999-1-1", 65535, 1, 1, 0, 0, 0, 0, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, XMLDateTimeParse, testing::ValuesIn(GDateTimeCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST(XMLDateTime, UnexpectedCharactersRaiseNamingTheCharacterAndTheText) {
  struct {
    const wchar_t* Text;
    const wchar_t* Token;
  } const cases[] = {
      {L"2021/03/04", L"/"},
      {L"2021", L"#0"},
      {L"2021-03-04 05:06", L" "},
      {L"2021-03-04T05-06", L"-"},
      {L"2021-03-04T05:06", L"#0"},
      {L"2021-03-04T05:06:07+01:00x", L"x"},
      {L"2021-03-04T05:06:07Zx", L"x"},
      {L"2021-03-04T05:06:07.5.5", L"."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(UTF8Encode(c.Text));
    try {
      TdxXMLDateTime::Create(c.Text);
      ADD_FAILURE() << "no error";
    } catch (const EdxXMLUnexpectedToken& e) {
      EXPECT_EQ(e.Message(), String(L"Unexpected token was found (\"") + c.Token + L"\" in \"" + c.Text + L"\")");
    }
  }
}

TEST(XMLDateTime, AnOffsetOnFieldsThatMakeNoDateRaisesTheConversionError) {
  EXPECT_THROW(TdxXMLDateTime::Create(L"2021-13-04T05:06:07+01:00"), EConvertError);
  // Without an offset the fields are kept; the conversion fails later.
  const TdxXMLDateTime value = TdxXMLDateTime::Create(L"2021-13-04T05:06:59.9999");
  EXPECT_EQ(value.Month, 13);
  EXPECT_EQ(value.Second, 60);
  EXPECT_EQ(value.Millisecond, 0);
  EXPECT_THROW(value.ToDateTime(), EConvertError);
}

TEST(XMLDateTime, ConvertsToDateTimesAndText) {
  const TdxXMLDateTime value = TdxXMLDateTime::Create(L"2021-03-04T05:06:07.5+01:30");
  EXPECT_EQ(value.ToString(), L"2021-03-04T03:36:07.500Z");
  EXPECT_DOUBLE_EQ(value.ToDateTime(), EncodeDateTime(2021, 3, 4, 3, 36, 7, 500));
  const TdxXMLDateTime local = TdxXMLDateTime::Create(EncodeDateTime(1850, 6, 7, 8, 9, 10, 11), false);
  EXPECT_EQ(local.Year, 1850);
  EXPECT_EQ(local.Millisecond, 11);
  EXPECT_EQ(local.ToString(), L"1850-06-07T08:09:10.011");
  EXPECT_DOUBLE_EQ(TdxXMLDateTime::Create(local.ToString()).ToDateTime(), local.ToDateTime());
  TdxXMLDateTime cleared = value;
  cleared.Clear();
  EXPECT_EQ(cleared.Year, 0);
  EXPECT_FALSE(cleared.IsUTC);
}

TEST_F(TXMLModel, DateTimeAccessorsWriteLocalTimeAndReadAnyForm) {
  const TDateTime moment = EncodeDateTime(2024, 2, 29, 12, 34, 56, 789);
  TdxXMLNode* node = Document()->AddChild("node");
  node->SetTextAsDateTime(moment);
  EXPECT_EQ(node->TextAsString(), L"2024-02-29T12:34:56.789");
  EXPECT_DOUBLE_EQ(node->TextAsDateTime(), moment);
  TdxXMLNodeAttributes* attributes = node->Attributes();
  attributes->SetValueAsDateTime("local", moment);
  EXPECT_EQ(attributes->GetValueAsString("local"), L"2024-02-29T12:34:56.789");
  attributes->SetValueAsDateTime("utc", TdxXMLDateTime::Create(moment, true));
  EXPECT_EQ(attributes->GetValueAsString("utc"), L"2024-02-29T12:34:56.789Z");
  EXPECT_DOUBLE_EQ(attributes->GetValueAsDateTime("utc"), moment);
  EXPECT_DOUBLE_EQ(attributes->GetValueAsDateTime("missing", 5.0), 5.0);
  TdxXMLDateTime read;
  EXPECT_TRUE(attributes->GetValueAsDateTime("utc", read));
  EXPECT_TRUE(read.IsUTC);
  EXPECT_EQ(read.Hour, 12);
  EXPECT_FALSE(attributes->GetValueAsDateTime("missing", read));
  attributes->SetValueAsString("bad", L"yesterday");
  EXPECT_THROW(attributes->GetValueAsDateTime("bad"), EdxXMLUnexpectedToken);
}

}  // namespace
