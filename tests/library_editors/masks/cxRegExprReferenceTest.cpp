// The engine against Python's re and python3-regex: 10^4 generated patterns,
// each fed three strings (reference/make_regexpr_reference.py).
#include "library/editors/masks/cxRegExpr.h"

#include "platform/runtime/SysUtils.h"
#include "platform/runtime/WinApi.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

std::string Resource(const wchar_t* AName) {
  HRSRC info = FindResourceW(nullptr, AName, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!info) return {};
  HGLOBAL data = LoadResource(nullptr, info);
  return {static_cast<const char*>(LockResource(data)), SizeofResource(nullptr, info)};
}

std::vector<std::string> Split(const std::string& AText, char ASeparator) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = AText.find(ASeparator, start);
    result.push_back(AText.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return result;
    start = end + 1;
  }
}

TEST(RegExprAgainstPython, EveryGeneratedPatternAgrees) {
  TFormatSettings saved = FormatSettings;
  FormatSettings.DateSeparator = L'/';
  FormatSettings.TimeSeparator = L':';
  FormatSettings.DecimalSeparator = L'.';
  const std::string table = Resource(L"REGEXPR_TSV");
  ASSERT_FALSE(table.empty());
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  std::string compiledPattern;
  int rows = 0, caseInsensitiveRows = 0, acceptedCharacters = 0, finals = 0, failures = 0;
  std::map<std::string, int> patterns;
  for (const std::string& line : Split(table, '\n')) {
    if (line.empty()) continue;
    const std::vector<std::string> row = Split(line, '\t');
    ASSERT_EQ(row.size(), 5u) << line;
    const bool caseInsensitive = row[0] == "1";
    const String text = UTF8ToString(row[2]);
    const std::size_t accepted = std::stoul(row[3]);
    const bool final = row[4] == "1";
    if (row[1] != compiledPattern) {
      engine->Compile(UTF8ToString(row[1]));
      compiledPattern = row[1];
    }
    engine->SetCaseInsensitive(caseInsensitive);
    engine->Reset();
    std::size_t count = 0;
    for (wchar_t c : text) {
      if (!engine->Next(c)) break;
      ++count;
    }
    ++rows;
    ++patterns[row[1]];
    caseInsensitiveRows += caseInsensitive;
    acceptedCharacters += static_cast<int>(count);
    finals += final;
    if (count != accepted || engine->IsFinal() != final) {
      if (++failures <= 20)
        ADD_FAILURE() << "pattern " << row[1] << " string \"" << row[2] << "\": accepted " << count << " (Python "
                      << accepted << "), final " << engine->IsFinal() << " (Python " << final << ")";
    }
  }
  FormatSettings = saved;
  std::printf("%d rows of %zu patterns (%d case-insensitive), %d characters accepted, %d complete matches, %d "
              "disagreements\n",
              rows, patterns.size(), caseInsensitiveRows, acceptedCharacters, finals, failures);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(rows, 30000);
}

}  // namespace
