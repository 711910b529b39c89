#include "library/core/data/dxBase64.h"

#include "tests/library_core/ErrorText.h"
#include "tests/library_core/Fixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

TBytes BytesOf(const std::string& AText) { return TBytes(AText.begin(), AText.end()); }

String Encode(const std::string& AText, bool ALineBreaks = false) {
  const TBytes data = BytesOf(AText);
  return Base64EncodeLines(data, 0, static_cast<int>(data.size()), ALineBreaks);
}

// The decoded bytes as text, or the error's class and message.
std::string Decode(const String& AText, int ABufferLength = 1024) {
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(ABufferLength));
  int n = 0;
  const String error = ErrorOf([&] { n = Base64Decode(AText.data(), static_cast<int>(AText.size()), buffer.data(), ABufferLength); });
  if (error != L"(no error)") return UTF8Encode(error);
  return n < 0 ? "-1" : std::string(buffer.begin(), buffer.begin() + n);
}

TEST(Base64, Rfc4648Vectors) {
  struct TCase {
    std::string Data;
    const wchar_t* Text;
  };
  const std::vector<TCase> cases = {
      {"f", L"Zg=="},         {"fo", L"Zm8="},         {"foo", L"Zm9v"},       {"foob", L"Zm9vYg=="},
      {"fooba", L"Zm9vYmE="}, {"foobar", L"Zm9vYmFy"}, {"abc", L"YWJj"},       {"ab", L"YWI="},
      {"a", L"YQ=="},         {std::string("\xFB\xFF\xBF", 3), L"+/+/"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Data);
    EXPECT_EQ(Encode(c.Data), c.Text);
    EXPECT_EQ(Decode(c.Text), c.Data);
  }
  EXPECT_EQ(Decode(L""), "");
  // Part of an array.
  EXPECT_EQ(Base64Encode(BytesOf("xfooy"), 1, 3), L"Zm9v");
  EXPECT_EQ(Base64Encode(BytesOf("x"), 1, 0), L"");
}

TEST(Base64, EncodedLength) {
  struct TCase {
    int Count;
    bool LineBreaks;
    int Length;
  };
  const std::vector<TCase> cases = {
      {0, false, 0},  {0, true, 0},   {1, false, 4},   {3, false, 4},    {4, false, 8},
      {57, true, 76}, {58, true, 82}, {114, true, 154}, {115, true, 160}, {1610612733, false, 2147483644},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Count);
    EXPECT_EQ(Base64EncodedLength(c.Count, c.LineBreaks), c.Length);
  }
  EXPECT_THROW(Base64EncodedLength(1610612734, false), EOutOfMemory);
  EXPECT_THROW(Base64EncodedLength(1593835519, true), EOutOfMemory);
}

TEST(Base64, LinesOf76) {
  EXPECT_EQ(Encode(std::string(57, 'x'), true).size(), 76u);
  const String two = Encode(std::string(58, 'x'), true);
  ASSERT_EQ(two.size(), 82u);
  EXPECT_EQ(two.substr(76, 2), L"\r\n");
  EXPECT_EQ(two.substr(78), L"eA==");
  // Whole lines end without a break.
  const String full = Encode(std::string(114, 'x'), true);
  EXPECT_EQ(full.size(), 154u);
  EXPECT_EQ(full.find(L"\r\n"), 76u);
  EXPECT_NE(full.substr(full.size() - 2), L"\r\n");
}

TEST(Base64, ArgumentErrors) {
  const TBytes four = BytesOf("abcd");
  struct TCase {
    const char* Name;
    std::function<void()> Call;
    String Error;
  };
  const std::vector<TCase> cases = {
      {"empty array", [] { Base64Encode(TBytes(), 0, -1); }, L"EdxException: inArray"},
      {"negative length", [&] { Base64Encode(four, -1, -1); }, L"EArgumentOutOfRangeException: length"},
      {"negative offset", [&] { Base64Encode(four, -1, 1); }, L"EArgumentOutOfRangeException: offset"},
      {"beyond the array", [&] { Base64EncodeLines(four, 2, 3, true); }, L"EArgumentOutOfRangeException: offset"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ErrorOf(c.Call), c.Error);
  }
}

TEST(Base64, DecodingWhiteSpaceAndPadding) {
  const std::string badChar = "EdxBase64FormatException: Bad Base64 char";
  const std::string badLength = "EdxBase64FormatException: Bad Base64 char array length";
  const std::string outside = "EArgumentException: ";
  struct TCase {
    const wchar_t* Text;
    std::string Result;
  };
  const std::vector<TCase> cases = {
      {L"YW Jj", "abc"},
      {L" \tY\r\nW\nJ j  \r\n", "abc"},
      {L"YQ = =", "a"},
      {L"YWI=\r\n", "ab"},
      {L"YWJ", badLength},
      {L"YQ=x", badChar},
      {L"YQ==x", badChar},
      {L"YQ===", badChar},
      {L"YQ==YQ==", badChar},
      {L"YQ=", badLength},
      {L"YWJ==", badLength},
      {L"=", badLength},
      {L"Y===", badChar},
      {L"YW*j", outside},
      {L"YW\u00e9j", outside},
      {L"YWJjYQ", badLength},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(&c - cases.data()));
    EXPECT_EQ(Decode(c.Text), c.Result);
  }
}

TEST(Base64, ShortBufferKeepsWhatFitted) {
  EXPECT_EQ(Decode(L"YWJj", 2), "-1");
  EXPECT_EQ(Decode(L"YWI=", 1), "-1");
  EXPECT_EQ(Decode(L"YQ==", 0), "-1");
  std::uint8_t buffer[4] = {};
  const String text = L"YWJjYQ==";
  EXPECT_EQ(Base64Decode(text.data(), static_cast<int>(text.size()), buffer, 3), -1);
  EXPECT_EQ(std::string(buffer, buffer + 3), "abc");
  EXPECT_EQ(Base64Decode(text.data(), static_cast<int>(text.size()), buffer, 4), 4);
}

// The encoding of coreutils' base64 (-w 76, LF line ends) made in the build.
TEST(Base64, AgreesWithCoreutils) {
  const std::string data = ReadFixture(L"base64\\random.bin");
  const std::string reference = ReadFixture(L"base64\\random.b64");
  ASSERT_FALSE(data.empty());
  const TBytes bytes = BytesOf(data);
  const String ours = Base64EncodeLines(bytes, 0, static_cast<int>(bytes.size()), true);
  String expected = UTF8ToString(reference);
  while (!expected.empty() && expected.back() == L'\n') expected.pop_back();
  EXPECT_EQ(ours, StringReplace(expected, L"\n", L"\r\n", {rfReplaceAll}));
  const String native = UTF8ToString(reference);
  EXPECT_EQ(Decode(native, static_cast<int>(data.size())), data);
}

TEST(Base64, RoundTripsEveryLength) {
  std::mt19937 random(7);
  for (int length = 1; length < 200; ++length) {
    SCOPED_TRACE(length);
    TBytes data(static_cast<std::size_t>(length));
    for (auto& b : data) b = static_cast<std::uint8_t>(random());
    for (bool lines : {false, true}) {
      const String text = Base64EncodeLines(data, 0, length, lines);
      ASSERT_EQ(static_cast<int>(text.size()), Base64EncodedLength(length, lines));
      std::vector<std::uint8_t> back(data.size());
      ASSERT_EQ(Base64Decode(text.data(), static_cast<int>(text.size()), back.data(), length), length);
      EXPECT_EQ(back, data);
    }
  }
}

}  // namespace
