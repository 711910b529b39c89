#include "library/vector/dxXMLDoc.h"
#include "platform/runtime/Handles.h"
#include "tests/library_vector/XMLTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TReadCase {
  const char* Name;
  std::string Document;
  std::string Tree;
};

class XMLRead : public testing::TestWithParam<TReadCase> {};

TEST_P(XMLRead, BuildsTheTree) { EXPECT_EQ(DumpXMLTree(ReadXML(GetParam().Document)->Root()), GetParam().Tree); }

const TReadCase GReadCases[] = {
    {"empty", "", ""},
    {"white_space_only", " \r\n\t ", ""},
    {"element_with_attributes_and_text", "<a x=\"1\" y='2'>text</a>", "E a\n  A x=1\n  A y=2\n  T text\n"},
    {"nested_and_empty_elements", "<svg><g><path d='M0'/></g><rect/></svg>",
     "E svg\n  E g\n    E path\n      A d=M0\n  E rect\n"},
    {"the_first_top_level_element_ends_the_parse", "<a/><b/>", "E a\n"},
    {"the_first_closed_top_level_element_ends_the_parse", "<a><c/></a>text<b/>", "E a\n  E c\n"},
    {"markup_in_an_entity_value_makes_no_element",
     "<!DOCTYPE a [ <!ENTITY e \"<b>x</b>\"> <!-- ]> --> <!ENTITY f '>'> ]><a/>", "E a\n"},
    {"a_start_tag_without_a_name_ends_the_parse", "<a><b/><=c/><d/></a>", "E a\n  E b\n"},
    {"a_start_tag_with_no_xml_name_ends_the_parse", "<a><b/><1c/><d/></a>", "E a\n  E b\n"},
    {"an_attribute_without_a_name_is_dropped", "<a / x='1' 2='3' =\"4\"/>", "E a\n  A x=1\n"},
    {"declaration_and_document_type_make_no_node",
     "<?xml version=\"1.0\"?>\n<!DOCTYPE a [ <!ELEMENT a ANY> <!ATTLIST a x CDATA 'd'> ]>\n<a/>", "E a\n"},
    {"utf8_byte_order_mark", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>",
     "E a\n  T \xC3\xA9\n"},
    {"bare_value_and_attribute_without_value", "<a x=1 flag c='3'/>", "E a\n  A x=1\n  A flag=\n  A c=3\n"},
    {"value_white_space_stays", "<a v=\" a\tb\n\"/>", "E a\n  A v= a\\tb\\n\n"},
    {"entities_in_values_and_text", "<a v='&lt;&amp;&#65;&#x42;'>&quot;x&quot; &#10;</a>",
     "E a\n  A v=<&AB\n  T \"x\" \\n\n"},
    {"escaped_ampersand_decoded_once", "<a v='&amp;lt;'>&amp;#65;</a>", "E a\n  A v=&lt;\n  T &#65;\n"},
    {"character_escapes", "<a v='_x0041_'>_x0042_</a>", "E a\n  A v=A\n  T B\n"},
    {"leading_white_space_and_trailing_control_characters_dropped", "<r><a> \t x \n</a><b> x </b></r>",
     "E r\n  E a\n    T x \n  E b\n    T x \n"},
    {"preserved_white_space", "<a xml:space=\"preserve\"> x </a>", "E a\n  A xml:space=preserve\n  T  x \n"},
    {"a_run_after_an_empty_child_replaces_the_text", "<a>x<b/>y<c/>z</a>", "E a\n  T y\n  E b\n  E c\n"},
    {"a_blank_run_after_an_empty_child_keeps_the_text", "<a>x<b/>\n\t<c/>z</a>", "E a\n  T x\n  E b\n  E c\n"},
    {"the_run_after_a_closed_child_is_dropped", "<a>x<b></b>y<c/></a>", "E a\n  T x\n  E b\n  E c\n"},
    {"text_after_a_closed_child_is_dropped", "<a><b>in</b>after</a>", "E a\n  E b\n    T in\n"},
    {"cdata_is_decoded_and_replaces_the_text", "<a>x<![CDATA[1 &lt; 2]]>y</a>", "E a\n  T 1 < 2\n"},
    {"run_before_a_comment_is_dropped", "<r><a>x<!-- c -->y</a><b><!-- c --><c/></b></r>",
     "E r\n  E a\n  E b\n    E c\n"},
    {"comment_with_markup", "<!-- <a> --><b/>", "E b\n"},
    {"quoted_value_ends_at_a_bracket", "<a v=\"1>2\">t</a>", "E a\n  A v=1\n  T 2\">t\n"},
    {"attribute_names_are_case_sensitive_and_may_repeat", "<a class='x' Class='y' class='z'/>",
     "E a\n  A class=x\n  A Class=y\n  A class=z\n"},
    {"names_keep_their_scope", "<svg:svg xlink:href='#i'/>", "E svg:svg\n  A xlink:href=#i\n"},
    {"closing_names_are_not_checked", "<a><b></a><c/>", "E a\n  E b\n  E c\n"},
    {"extra_closing_tag_ends_the_parse", "<a/></b><c/>", "E a\n"},
    {"unclosed_elements_stay", "<a><b>text", "E a\n  E b\n"},
    {"bracket_inside_a_tag_ends_the_parse", "<a x='1' <b/>", "E a\n  A x=1\n"},
    {"comment_inside_a_tag_ends_the_parse", "<a <!-- c --> x='1'/><b/>", "E a\n"},
    {"unterminated_comment_is_a_declaration", "<r><a/><!-- open <b/><c/></r>", "E r\n  E a\n  E c\n"},
    {"lone_bracket_at_the_end_makes_no_element", "<r><a/><", "E r\n  E a\n"},
    {"processing_instruction_reads_like_a_declaration", "<?pi x='1'?><a/>", "E a\n"},
    {"processing_instruction_inside_an_element_is_no_text", "<r><a><?pi data?></a><b>x<?pi?>y</b></r>",
     "E r\n  E a\n  E b\n"},
    {"declaration_inside_an_element_is_no_text", "<a>x<!ELEMENT a ANY><b/></a>", "E a\n  E b\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, XMLRead, testing::ValuesIn(GReadCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// Encodings

// UTF-16 text, as Windows tools save it, with or without a byte-order
// mark: the same tree as its UTF-8 form, whatever its declaration says.
TEST(XMLReadEncoding, UTF16IsReadInEitherByteOrder) {
  const std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\x20AC\">\xE9\xD83D\xDE00</a>";
  const std::string expected = "E a\n  A v=\xE2\x82\xAC\n  T \xC3\xA9\xF0\x9F\x98\x80\n";
  const auto bytes = [&](bool ABigEndian, bool AMark) {
    std::string result;
    std::wstring units = (AMark ? std::wstring(1, L'\xFEFF') : std::wstring()) + text;
    for (const wchar_t c : units) {
      const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
      result += ABigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return result;
  };
  for (const bool bigEndian : {false, true})
    for (const bool mark : {true, false}) {
      SCOPED_TRACE(std::string(bigEndian ? "big" : "little") + (mark ? " endian with a mark" : " endian"));
      const TOwned<TdxXMLDocument> document = ReadXML(bytes(bigEndian, mark));
      EXPECT_EQ(DumpXMLTree(document->Root()), expected);
      // Written as UTF-8 and read back alike.
      EXPECT_EQ(DumpXMLTree(ReadXML(WriteXML(document.get()))->Root()), expected);
    }
}

TEST(XMLReadEncoding, TheDeclarationSelectsTheCodePage) {
  struct {
    const char* Encoding;
    UINT CodePage;
  } const cases[] = {
      {"windows-1252", 1252}, {"Windows-1251", 1251}, {"WINDOWS-1250", 1250}, {"utf-8", CP_UTF8},
      {"ISO-8859-1", CP_ACP},  {"Windows-x", CP_ACP},  {"", CP_ACP},
  };
  const std::string bytes = "\x80\xC0\xE9\xFF";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Encoding);
    TOwned<TdxXMLDocument> document = ReadXML("<?xml version='1.1' encoding='" + std::string(c.Encoding) + "'?><a v='" +
                                              bytes + "'>" + bytes + "</a>");
    EXPECT_EQ(document->Encoding(), c.Encoding);
    EXPECT_EQ(document->Version(), "1.1");
    const String expected = AnsiToString(bytes, c.CodePage);
    EXPECT_EQ(document->Root()->First()->TextAsString(), expected);
    EXPECT_EQ(document->Root()->First()->Attributes()->GetValueAsString("v"), expected);
  }
}

TEST(XMLReadEncoding, ADocumentWithoutDeclarationIsReadInTheDocumentsEncoding) {
  TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  document->LoadFromString("<a>\xC3\xA9</a>");
  EXPECT_EQ(document->Root()->First()->TextAsString(), L"é");
  document->SetEncoding("windows-1251");
  document->LoadFromString("<a>\xC0</a>");
  EXPECT_EQ(document->Root()->First()->TextAsString(), L"\x0410");
}

TEST(XMLReadEncoding, StandaloneIsNotRead) {
  TOwned<TdxXMLDocument> document = ReadXML("<?xml version='1.0' standalone='yes'?><a/>");
  EXPECT_EQ(document->Standalone(), "");
}

// ---------------------------------------------------------------------------
// Sources

class TXMLSources : public testing::Test {
 protected:
  void SetUp() override { FDocument.reset(New<TdxXMLDocument>(nullptr)); }
  TdxXMLDocument* Document() const { return FDocument.get(); }

 private:
  TOwned<TdxXMLDocument> FDocument;
};

TEST_F(TXMLSources, AStreamIsReadFromItsPosition) {
  const std::string bytes = "<skipped/><a>x</a>";
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream->SetPosition(10);
  Document()->LoadFromStream(stream.get());
  EXPECT_EQ(DumpXMLTree(Document()->Root()), "E a\n  T x\n");
  EXPECT_EQ(stream->Position(), stream->Size());
  // At its end, or beyond, the stream leaves an empty document.
  Document()->LoadFromStream(stream.get());
  EXPECT_FALSE(Document()->Root()->HasChildren());
  stream->SetPosition(100);
  Document()->LoadFromStream(stream.get());
  EXPECT_FALSE(Document()->Root()->HasChildren());
}

TEST_F(TXMLSources, FilesAreReadAndAMissingFileRaisesAfterClearingTheRoot) {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, folder);
  const String name = String(folder) + L"sk_xml_read_" + std::to_wstring(GetCurrentProcessId()) + L".xml";
  const std::string bytes = "<a><b/></a>";
  {
    const TKernelHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file.Valid());
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

  Document()->LoadFromFile(name);
  EXPECT_EQ(DumpXMLTree(Document()->Root()), "E a\n  E b\n");
  TOwned<TdxXMLDocument> created(TdxXMLDocument::CreateEx(name));
  EXPECT_EQ(DumpXMLTree(created->Root()), "E a\n  E b\n");
  DeleteFileW(name.c_str());
  EXPECT_THROW(Document()->LoadFromFile(name), EFOpenError);
  EXPECT_FALSE(Document()->Root()->HasChildren());
  EXPECT_THROW(TdxXMLDocument::CreateEx(name), EFOpenError);
}

TEST_F(TXMLSources, ResourcesAreRead) {
  Document()->LoadFromResource(GetModuleHandleW(nullptr), L"SAMPLE_XML", L"XML");
  EXPECT_EQ(DumpXMLTree(Document()->Root()), "E sample\n  A kind=resource\n  T \xC3\xBC\n");
  EXPECT_THROW(Document()->LoadFromResource(GetModuleHandleW(nullptr), L"MISSING", L"XML"), EResNotFound);
}

class TCountingDocument : public TdxXMLDocument {
  SK_CLASS(TCountingDocument, TdxXMLDocument)
 public:
  void BeginUpdate() override { ++Begun; }
  void EndUpdate() override { ++Ended; }
  int Begun = 0;
  int Ended = 0;
};

class TFailingStream : public TStream {
  SK_CLASS(TFailingStream, TStream)
 public:
  int Read(void*, int) override { throw EReadError(L"read failed"); }
  int Write(const void*, int) override { return 0; }
  std::int64_t Seek(std::int64_t, TSeekOrigin) override { return 0; }

 protected:
  std::int64_t GetSize() const override { return 10; }
};

TEST(XMLReadUpdates, LoadingRunsBetweenBeginAndEndUpdateAlsoWhenItFails) {
  TOwned<TCountingDocument> document(New<TCountingDocument>(nullptr));
  document->AddChild("old");
  TOwned<TFailingStream> stream(New<TFailingStream>());
  EXPECT_THROW(document->LoadFromStream(stream.get()), EReadError);
  EXPECT_EQ(document->Begun, 1);
  EXPECT_EQ(document->Ended, 1);
  EXPECT_FALSE(document->Root()->HasChildren());
}

// ---------------------------------------------------------------------------
// Limits and shared strings

TEST(XMLReadLimits, NestingDeeperThanTheLimitEndsTheParse) {
  std::string bytes;
  for (int i = 0; i < TdxXMLParser::MaxDepth + 10; ++i) bytes += "<e>";
  bytes += "<deepest/>";
  TOwned<TdxXMLDocument> document = ReadXML(bytes + "</e><after/>");
  int depth = 0;
  const TdxXMLNode* node = document->Root();
  for (; node->First(); node = node->First()) ++depth;
  EXPECT_EQ(depth, TdxXMLParser::MaxDepth);
  EXPECT_EQ(document->Root()->Count(), 1);
  // The deepest tree the reader builds can be written and read back.
  TOwned<TdxXMLDocument> full = ReadXML(bytes.substr(0, 3 * (TdxXMLParser::MaxDepth - 1)) + "<last/>");
  TOwned<TdxXMLDocument> again = ReadXML(WriteXML(full.get(), true));
  EXPECT_EQ(DumpXMLTree(again->Root()), DumpXMLTree(full->Root()));
}

TEST(XMLReadLimits, UnterminatedCommentsAndSectionsAreSearchedForTheirEndOnce) {
  // A million of them would take hours if each searched the rest of the input.
  std::string bytes = "<a>";
  for (int i = 0; i < 500000; ++i) bytes += "<!--<![CDATA[";
  TOwned<TdxXMLDocument> document = ReadXML(bytes);
  ASSERT_NE(document->Root()->First(), nullptr);
  EXPECT_EQ(document->Root()->First()->Name(), "a");
}

TEST(XMLSharedStrings, EqualStringsAreStoredOnce) {
  TOwned<TdxXMLSharedStrings> strings(New<TdxXMLSharedStrings>());
  const TdxXMLString& a = strings->Add(std::string_view("name"));
  const TdxXMLString& b = strings->Add(std::string("name"));
  const TdxXMLString& c = strings->Add(std::string_view("other"));
  EXPECT_EQ(&a, &b);
  EXPECT_NE(&a, &c);
  EXPECT_EQ(c, "other");
  const String& wide = strings->Add(std::wstring_view(L"name"));
  EXPECT_EQ(&wide, &strings->Add(std::wstring_view(L"name")));
  EXPECT_EQ(wide, L"name");
  // Many strings share the buckets; each keeps its own entry.
  std::vector<const TdxXMLString*> stored;
  for (int i = 0; i < 200000; ++i) stored.push_back(&strings->Add(std::to_string(i)));
  for (int i = 0; i < 200000; i += 997) {
    SCOPED_TRACE(i);
    EXPECT_EQ(&strings->Add(std::to_string(i)), stored[static_cast<std::size_t>(i)]);
    EXPECT_EQ(*stored[static_cast<std::size_t>(i)], std::to_string(i));
  }
  strings->Clear();
  EXPECT_EQ(strings->Add(std::string_view("name")), "name");
}

}  // namespace
