#include "library/vector/dxXMLDoc.h"
#include "tests/library_vector/XMLTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr const char* Declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

class TXMLWrite : public testing::Test {
 protected:
  void SetUp() override { FDocument.reset(New<TdxXMLDocument>(nullptr)); }
  TdxXMLDocument* Document() const { return FDocument.get(); }

 private:
  TOwned<TdxXMLDocument> FDocument;
};

// A declaration alone, two top-level elements or a name that is no XML name
// would be no XML: such a tree is refused, and nothing is written.
TEST_F(TXMLWrite, ATreeThatIsNoXMLIsRefusedBeforeAnythingIsWritten) {
  const struct {
    const char* Name;
    std::function<void(TdxXMLDocument*)> Build;
  } cases[] = {
      {"no element", [](TdxXMLDocument*) {}},
      {"two top-level elements", [](TdxXMLDocument* D) { D->AddChild("a"); D->AddChild("b"); }},
      {"empty element name", [](TdxXMLDocument* D) { D->AddChild("a")->AddChild(""); }},
      {"element name with a space", [](TdxXMLDocument* D) { D->AddChild("a b"); }},
      {"element name starting with a digit", [](TdxXMLDocument* D) { D->AddChild("a")->AddChild("1a"); }},
      {"attribute named /", [](TdxXMLDocument* D) { D->AddChild("a")->Attributes()->Add("/", L"x"); }},
      {"attribute name in bytes no UTF-8", [](TdxXMLDocument* D) { D->AddChild("a")->Attributes()->Add("\xFF", L"x"); }},
  };
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, folder);
  const String path = String(folder) + L"sk_xml_refused_" + std::to_wstring(GetCurrentProcessId()) + L".xml";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
    c.Build(document.get());
    const TOwned<TMemoryStream> stream(New<TMemoryStream>());
    EXPECT_THROW(document->SaveToStream(stream.get()), EdxException);
    EXPECT_EQ(stream->Size(), 0);
    {
      const TOwned<TFileStream> file(New<TFileStream>(path, fmCreate));
      file->WriteBuffer("kept", 4);
    }
    EXPECT_THROW(document->SaveToFile(path), EdxException);
    const TOwned<TFileStream> file(New<TFileStream>(path, fmOpenRead));
    EXPECT_EQ(file->Size(), 4);
  }
  DeleteFileW(path.c_str());
}

// The first of attributes of the same name is the one lookups find; the
// others would make the element no XML.
TEST_F(TXMLWrite, OfAttributesOfOneNameTheFirstIsWritten) {
  TdxXMLNode* a = Document()->AddChild("a");
  a->Attributes()->Add("class", L"first");
  a->Attributes()->Add("id", L"x");
  a->Attributes()->Add("class", L"second");
  EXPECT_EQ(WriteXML(Document()), std::string(Declaration) + "<a class=\"first\" id=\"x\"/>");
}

TEST_F(TXMLWrite, TheDeclarationNamesWhatIsSetInItsOrder) {
  Document()->AddChild("a");
  Document()->SetEncoding("windows-1252");
  Document()->SetStandalone("yes");
  EXPECT_EQ(WriteXML(Document()), "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<a/>");
  EXPECT_EQ(Document()->Encoding(), "UTF-8");
  Document()->SetVersion("");
  Document()->SetStandalone("");
  EXPECT_EQ(WriteXML(Document()), "<?xml encoding=\"UTF-8\"?>\r\n<a/>");
}

TEST_F(TXMLWrite, WithoutIndentationNothingFollowsTheDeclarationButTheElements) {
  TdxXMLNode* svg = Document()->AddChild("svg");
  svg->Attributes()->Add("width", 10);
  TdxXMLNode* g = svg->AddChild("g");
  g->AddChild("path");
  g->AddChild("text")->SetTextAsString(L"label");
  EXPECT_EQ(WriteXML(Document()), std::string(Declaration) + "<svg width=\"10\"><g><path/><text>label</text></g></svg>");
}

TEST_F(TXMLWrite, IndentationPutsEachElementOnALineWithTabs) {
  Document()->AddChild("svg")->AddChild("g")->AddChild("path");
  EXPECT_EQ(WriteXML(Document(), true),
            std::string(Declaration) + "<svg>\r\n\t<g>\r\n\t\t<path/>\r\n\t</g>\r\n</svg>\r\n");
}

TEST_F(TXMLWrite, IndentedTextStaysOnTheStartTagsLine) {
  TdxXMLNode* text = Document()->AddChild("text");
  text->SetTextAsString(L"label");
  text->AddChild("tspan")->SetTextAsString(L"inner");
  EXPECT_EQ(WriteXML(Document(), true),
            std::string(Declaration) + "<text>label\r\n\t<tspan>inner</tspan>\r\n</text>\r\n");
}

TEST_F(TXMLWrite, LineBreaksInTextPreserveSpacesAndBecomeCharacterReferences) {
  TdxXMLNode* node = Document()->AddChild("t");
  node->SetTextAsString(L"a\r\nb");
  node->Attributes()->Add("v", L"c\r\nd");
  EXPECT_EQ(WriteXML(Document()),
            std::string(Declaration) + "<t v=\"c  d\" xml:space=\"preserve\">a&#13;&#10;b</t>");
  EXPECT_EQ(node->Attributes()->GetValueAsString("xml:space"), L"preserve");
  // Text that no longer needs it loses the attribute.
  node->SetTextAsString(L"plain");
  EXPECT_EQ(WriteXML(Document()), std::string(Declaration) + "<t v=\"c  d\">plain</t>");
}

TEST_F(TXMLWrite, PreservedTextIsFollowedByItsFirstChildWithoutALineBreak) {
  TdxXMLNode* node = Document()->AddChild("t");
  node->SetTextAsString(L" spaced ");
  node->AddChild("c");
  EXPECT_EQ(WriteXML(Document(), true),
            std::string(Declaration) + "<t xml:space=\"preserve\"> spaced <c/>\r\n</t>\r\n");
}

TEST_F(TXMLWrite, ServiceCharactersAndControlsAreEncodedInValuesAndText) {
  TdxXMLNode* node = Document()->AddChild("e");
  node->Attributes()->Add("v", L"say \"<hi>\" & 'bye'\t_x0041_");
  node->SetTextAsString(L"1 < 2 & \"3\" > '0'\x0B\xFFFF");
  EXPECT_EQ(WriteXML(Document()),
            std::string(Declaration) +
                "<e v=\"say &quot;&lt;hi&gt;&quot; &amp; &apos;bye&apos;&#9;_x005F_x0041_\">"
                "1 &lt; 2 &amp; &quot;3&quot; &gt; &apos;0&apos;_x000B__xFFFF_</e>");
}

TEST_F(TXMLWrite, NamesAreWrittenAsStoredAndTextAsUTF8) {
  TdxXMLNode* node = Document()->AddChild("gr\xC3\xBC\xC3\x9F");
  node->Attributes()->Add("xlink:href", L"€");
  node->SetTextAsString(L"日本\U0001F600");
  EXPECT_EQ(WriteXML(Document()), std::string(Declaration) +
                                      "<gr\xC3\xBC\xC3\x9F xlink:href=\"\xE2\x82\xAC\">"
                                      "\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80</gr\xC3\xBC\xC3\x9F>");
}

TEST_F(TXMLWrite, SavingTwiceGivesTheSameBytes) {
  TdxXMLNode* node = Document()->AddChild("a");
  node->SetTextAsString(L" needs preserving ");
  node->AddChild("b")->Attributes()->Add("x", 1.5);
  const std::string first = WriteXML(Document(), true);
  EXPECT_EQ(WriteXML(Document(), true), first);
}

TEST_F(TXMLWrite, FilesAreReplacedAndAnUncreatableFileRaises) {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, folder);
  const String name = String(folder) + L"sk_xml_write_" + std::to_wstring(GetCurrentProcessId()) + L".xml";
  Document()->AddChild("long")->SetTextAsString(String(300000, L'x'));
  Document()->SaveToFile(name);
  Document()->Root()->Clear();
  Document()->AddChild("short");
  Document()->SaveToFile(name);
  TOwned<TdxXMLDocument> read(TdxXMLDocument::CreateEx(name));
  EXPECT_EQ(DumpXMLTree(read->Root()), "E short\n");
  Document()->Root()->Clear();
  Document()->AddChild("long")->SetTextAsString(String(300000, L'y'));
  Document()->SaveToFile(name);
  read->LoadFromFile(name);
  EXPECT_EQ(read->Root()->First()->TextAsString(), String(300000, L'y'));
  DeleteFileW(name.c_str());
  EXPECT_THROW(Document()->SaveToFile(String(folder) + L"sk_no_such_folder\\x.xml"), EFCreateError);
}

// ---------------------------------------------------------------------------
// Reading what was written

struct TRoundTripCase {
  const char* Name;
  std::string Document;
};

class XMLRoundTrip : public testing::TestWithParam<TRoundTripCase> {};

TEST_P(XMLRoundTrip, ADocumentReadWrittenAndReadAgainGivesTheSameTree) {
  for (bool indent : {false, true}) {
    SCOPED_TRACE(indent ? "indented" : "not indented");
    TOwned<TdxXMLDocument> first = ReadXML(GetParam().Document);
    const std::string written = WriteXML(first.get(), indent);
    TOwned<TdxXMLDocument> second = ReadXML(written);
    EXPECT_EQ(DumpXMLTree(second->Root()), DumpXMLTree(first->Root())) << written;
    EXPECT_EQ(WriteXML(second.get(), indent), written);
  }
}

const TRoundTripCase GRoundTripCases[] = {
    {"svg", "<svg width='10' height=\"20\"><g transform='translate(1,2)'><path d='M0 0L1 1'/></g></svg>"},
    {"text_and_children", "<a>before<b>inner</b><c/>after</a>"},
    {"text_before_empty_children", "<a>x<b/>y<c/>z</a>"},
    {"white_space_at_the_ends", "<a xml:space='preserve'>  both  <b> one</b></a><c>trailing </c>"},
    {"line_breaks_and_tabs", "<a v='1&#9;2'>line&#13;&#10;break&#9;<b/></a>"},
    {"entities_and_escapes", "<a v='&lt;&amp;&quot;&apos;_x005F_x0041_'>&amp;#65; &lt;![CDATA[ _x0041_</a>"},
    {"control_characters", "<a v='&#1;_x001F_'>&#11;</a>"},
    {"non_ascii", "<\xC3\xA9l\xC3\xA9ment attr='\xE2\x82\xAC'>\xF0\x9F\x98\x80 \xE6\x97\xA5</\xC3\xA9l\xC3\xA9ment>"},
    {"cdata", "<a><![CDATA[<raw> & ]]></a>"},
    {"deep", "<a><b><c><d><e><f>deep</f></e></d></c></b></a>"},
    {"several_top_level_elements", "<a/><b>x</b><c v='1'/>"},
};

INSTANTIATE_TEST_SUITE_P(Cases, XMLRoundTrip, testing::ValuesIn(GRoundTripCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

}  // namespace
