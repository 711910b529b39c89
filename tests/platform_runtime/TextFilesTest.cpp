#include "platform/runtime/TextFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    FDir = IncludeTrailingPathDelimiter(temp) + L"sk_textfile_" + IntToStr(static_cast<long long>(GetCurrentProcessId()));
    CreateDirectoryW(FDir.c_str(), nullptr);
  }
  void TearDown() override {
    for (const String& f : FFiles) DeleteFileW(f.c_str());
    RemoveDirectoryW(FDir.c_str());
  }

  String Fixture(const std::string& ABytes) {
    const String name = FDir + L"\\f" + IntToStr(static_cast<int>(FFiles.size())) + L".txt";
    {
      const TKernelHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      EXPECT_TRUE(file);
      DWORD written = 0;
      if (!ABytes.empty()) WriteFile(file.Get(), ABytes.data(), static_cast<DWORD>(ABytes.size()), &written, nullptr);
    }
    FFiles.push_back(name);
    return name;
  }

  std::string Bytes(const String& AName) {
    const TKernelHandle file(
        CreateFileW(AName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string r(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file.Get(), r.data(), static_cast<DWORD>(r.size()), &read, nullptr);
    r.resize(read);
    return r;
  }

  // Every line until Eof, the way the HEX loader reads.
  static std::vector<String> AllLines(const String& AName, UINT ACodePage = 1252) {
    TTextFile f;
    AssignFile(f, AName);
    f.SetCodePage(ACodePage);
    Reset(f);
    std::vector<String> lines;
    for (int guard = 0; !Eof(f) && guard < 100000; ++guard) {
      String line;
      ReadLn(f, line);
      lines.push_back(line);
    }
    CloseFile(f);
    return lines;
  }

  String FDir;
  std::vector<String> FFiles;
};

TEST_F(TextFileTest, LineEndsTable) {
  struct TCase {
    const char* Name;
    std::string Bytes;
    std::vector<String> Lines;
  };
  const std::vector<TCase> cases = {
      {"CR LF", "a\r\nb\r\n", {L"a", L"b"}},
      {"LF", "a\nb\n", {L"a", L"b"}},
      {"lone CR", "a\rb\r", {L"a", L"b"}},
      {"no final line end", "a\r\nb", {L"a", L"b"}},
      {"empty file", "", {}},
      {"only line ends", "\r\n\r\n", {L"", L""}},
      {"LF then CR LF", "a\n\r\nb", {L"a", L"", L"b"}},
      {"CR then CR LF", "a\r\r\nb", {L"a", L"", L"b"}},
      {"LF CR is two ends", "a\n\rb", {L"a", L"", L"b"}},
      {"Ctrl+Z ends the text", "x\x1Ay\r\nz", {L"x"}},
      {"Ctrl+Z at the start", "\x1A" "abc", {}},
      {"HEX records", ":10000000\r\n:00000001FF", {L":10000000", L":00000001FF"}},
      {"ANSI bytes", "gr\xF6\xDF" "e", {L"größe"}},
      {"NUL inside a line", std::string("a\0b", 3), {String(L"a\0b", 3)}},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    EXPECT_EQ(AllLines(Fixture(tc.Bytes)), tc.Lines);
  }
}

TEST_F(TextFileTest, LinesAcrossTheReadBuffer) {
  // Lines and a CR LF pair that straddle the 64 KiB read blocks.
  std::string bytes(65535, 'x');
  bytes += "\r\n";
  bytes += std::string(70000, 'y');
  bytes += "\rz";
  const std::vector<String> lines = AllLines(Fixture(bytes));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], String(65535, L'x'));
  EXPECT_EQ(lines[1], String(70000, L'y'));
  EXPECT_EQ(lines[2], L"z");
}

TEST_F(TextFileTest, ReadingPastTheEndGivesEmptyLines) {
  TTextFile f;
  f.Assign(Fixture("only"));
  f.Reset();
  EXPECT_EQ(f.ReadLn(), L"only");
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(f.ReadLn(), L"");
  EXPECT_TRUE(f.Eof());
  f.Reset();  // from the start again
  EXPECT_FALSE(f.Eof());
  EXPECT_EQ(f.ReadLn(), L"only");
  f.Close();
}

TEST_F(TextFileTest, OverlongLinesAreCutNotLoaded) {
  std::string bytes(3 * 1024 * 1024, 'x');
  bytes += "\nok\n";
  TTextFile f;
  f.Assign(Fixture(bytes));
  f.Reset();
  const String first = f.ReadLn();
  EXPECT_EQ(first.size(), TTextFile::DefaultMaxLineLength);
  EXPECT_TRUE(f.LineTruncated());
  EXPECT_EQ(f.ReadLn(), L"ok");
  EXPECT_FALSE(f.LineTruncated());
  EXPECT_TRUE(f.Eof());
  f.Close();

  f.SetMaxLineLength(4);
  f.Assign(Fixture("abcdefgh\r\nij"));
  f.Reset();
  EXPECT_EQ(f.ReadLn(), L"abcd");
  EXPECT_TRUE(f.LineTruncated());
  EXPECT_EQ(f.ReadLn(), L"ij");
  f.Close();
}

TEST_F(TextFileTest, BinaryGarbageReadsToTheEnd) {
  std::string bytes;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 300000; ++i) {
    seed = seed * 1103515245u + 12345u;
    char c = static_cast<char>(seed >> 24);
    if (c == 26) c = 27;  // no Ctrl+Z: read everything
    bytes += c;
  }
  std::size_t expectedEnds = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) ++expectedEnds;
  const std::vector<String> lines = AllLines(Fixture(bytes));
  const bool lastEnded = bytes.back() == '\n' || bytes.back() == '\r';
  EXPECT_EQ(lines.size(), expectedEnds + (lastEnded ? 0 : 1));
}

TEST_F(TextFileTest, OpenFailuresRaiseTheIOErrorNumber) {
  struct TCase {
    const char* Name;
    String File;
    int Code;
  };
  const TCase cases[] = {
      {"missing file", FDir + L"\\missing.hex", ERROR_FILE_NOT_FOUND},
      {"missing directory", FDir + L"\\nowhere\\x.hex", ERROR_PATH_NOT_FOUND},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    TTextFile f;
    AssignFile(f, tc.File);
    try {
      Reset(f);
      ADD_FAILURE() << "no exception";
    } catch (const EInOutError& e) {
      EXPECT_EQ(e.ErrorCode(), tc.Code);
      EXPECT_EQ(e.Message(), L"E/A-Fehler " + IntToStr(tc.Code));
    }
    EXPECT_FALSE(f.IsOpen());
  }
}

TEST_F(TextFileTest, MisuseRaisesTheRunTimeNumbers) {
  auto code = [](const std::function<void()>& AAction) {
    try {
      AAction();
    } catch (const EInOutError& e) {
      return e.ErrorCode();
    }
    return 0;
  };
  TTextFile f;
  EXPECT_EQ(code([&] { f.Reset(); }), ioFileNotAssigned);
  f.Assign(Fixture("x"));
  EXPECT_EQ(code([&] { f.ReadLn(); }), ioFileNotOpen);
  EXPECT_EQ(code([&] { f.Eof(); }), ioFileNotOpen);
  EXPECT_EQ(code([&] { f.Close(); }), ioFileNotOpen);
  f.Reset();
  EXPECT_EQ(code([&] { f.WriteLn(L"x"); }), ioNotOpenForOutput);
  f.Close();
  EXPECT_EQ(code([&] { f.Close(); }), ioFileNotOpen);
  f.Assign(FDir + L"\\out.txt");
  FFiles.push_back(FDir + L"\\out.txt");
  f.Rewrite();
  EXPECT_EQ(code([&] { f.ReadLn(); }), ioNotOpenForInput);
  f.Close();
}

TEST_F(TextFileTest, WriteThenReadBack) {
  const String name = FDir + L"\\written.txt";
  FFiles.push_back(name);
  TTextFile f;
  f.SetCodePage(1252);
  AssignFile(f, name);
  Rewrite(f);
  WriteLn(f, L"eins");
  f.Write(L"zw");
  f.WriteLn(L"ei");
  CloseFile(f);
  EXPECT_EQ(Bytes(name), "eins\r\nzwei\r\n");
  Append(f);
  f.WriteLn(L"drei ä");
  CloseFile(f);
  EXPECT_EQ(AllLines(name), (std::vector<String>{L"eins", L"zwei", L"drei ä"}));
  Rewrite(f);
  CloseFile(f);
  EXPECT_EQ(Bytes(name), "");
  {
    // Unflushed output is written when the variable goes.
    TTextFile g;
    g.Assign(name);
    g.Rewrite();
    g.Write(L"kept");
  }
  EXPECT_EQ(Bytes(name), "kept");
}

}  // namespace
