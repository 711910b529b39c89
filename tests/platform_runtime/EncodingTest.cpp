#include "platform/runtime/Encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TBytes Bytes(const std::string& A) { return TBytes(A.begin(), A.end()); }

TEST(Encoding, DetectsByteOrderMarks) {
  struct TCase {
    const char* Name;
    std::string Buffer;
    TEncoding* Expected;
    std::size_t MarkLength;
  } cases[] = {
      {"UTF-8", "\xEF\xBB\xBFx", TEncoding::UTF8(), 3},
      {"UTF-16", "\xFF\xFEx\0", TEncoding::Unicode(), 2},
      {"UTF-16 big-endian", "\xFE\xFF\0x", TEncoding::BigEndianUnicode(), 2},
      {"no mark", "plain", TEncoding::Default(), 0},
      {"a partial mark is no mark", "\xEF\xBB", TEncoding::Default(), 0},
      {"empty", "", TEncoding::Default(), 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TEncoding* found = nullptr;
    EXPECT_EQ(TEncoding::GetBufferEncoding(Bytes(c.Buffer), found), c.MarkLength);
    EXPECT_EQ(found, c.Expected);
  }
  // A given encoding recognises only its own mark.
  TEncoding* given = TEncoding::UTF8();
  EXPECT_EQ(TEncoding::GetBufferEncoding(Bytes("\xFF\xFEx\0"), given), 0u);
  EXPECT_EQ(given, TEncoding::UTF8());
  // Without a mark the caller's default applies.
  TEncoding* fallback = nullptr;
  TEncoding::GetBufferEncoding(Bytes("abc"), fallback, TEncoding::UTF8());
  EXPECT_EQ(fallback, TEncoding::UTF8());
}

TEST(Encoding, RoundTripsAndPreambles) {
  const String text = L"Grüße \x20AC \xD83D\xDE00";  // umlauts, euro sign, a surrogate pair
  for (TEncoding* e : {TEncoding::UTF8(), TEncoding::Unicode(), TEncoding::BigEndianUnicode()}) {
    SCOPED_TRACE(testing::PrintToString(e->EncodingName()));
    EXPECT_EQ(e->GetString(e->GetBytes(text)), text);
  }
  EXPECT_EQ(TEncoding::UTF8()->GetBytes(L"\x20AC"), Bytes("\xE2\x82\xAC"));
  EXPECT_EQ(TEncoding::UTF8()->GetPreamble(), Bytes("\xEF\xBB\xBF"));
  EXPECT_EQ(TEncoding::Unicode()->GetPreamble(), Bytes("\xFF\xFE"));
  EXPECT_TRUE(TEncoding::Default()->GetPreamble().empty());
  EXPECT_EQ(TEncoding::GetEncoding(CP_UTF8), TEncoding::UTF8());
  EXPECT_EQ(TEncoding::GetEncoding(1200), TEncoding::Unicode());
  EXPECT_TRUE(TEncoding::IsStandardEncoding(TEncoding::ASCII()));
}

TEST(Encoding, InvalidInputBecomesReplacementCharacters) {
  EXPECT_EQ(TEncoding::ASCII()->GetString(Bytes("a\xE9z")), String(L"a\xFFFDz"));
  EXPECT_EQ(TEncoding::ASCII()->GetBytes(L"a\x00E9z"), Bytes("a?z"));
  const String decoded = TEncoding::UTF8()->GetString(Bytes("ok\xF0\x28\x8C\x28 end"));
  EXPECT_EQ(decoded.substr(0, 2), L"ok");
  EXPECT_NE(decoded.find(L'\xFFFD'), String::npos);
  EXPECT_EQ(decoded.substr(decoded.size() - 4), L" end");
  EXPECT_EQ(TEncoding::Unicode()->GetString(Bytes(std::string("a\0b", 3))), String(L"a\xFFFD"));
  EXPECT_THROW(TEncoding::GetEncoding(12345), EEncodingError);
  EXPECT_THROW(TEncoding::UTF8()->GetString(Bytes("abc"), 2, 5), EEncodingError);
}

TEST(Encoding, ConvertsBetweenEncodings) {
  TEncoding* latin1 = TEncoding::GetEncoding(28591);
  EXPECT_EQ(TEncoding::Convert(TEncoding::UTF8(), latin1, Bytes("\xC3\xA4")), Bytes("\xE4"));
  EXPECT_EQ(TEncoding::GetEncoding(28591), latin1);  // one object per code page
  EXPECT_TRUE(latin1->IsSingleByte());
  EXPECT_FALSE(TEncoding::UTF8()->IsSingleByte());
}

}  // namespace
