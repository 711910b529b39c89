// Hostile inputs to the XML reader and the SVG codec, made here: pictures
// whose work grows without what they show growing (many arcs, arcs of huge
// radii, strokes of near-zero curves, dashes far finer than a pixel along a
// long line, use elements side by side, an unterminated quote) and documents
// that were quadratic or changed on every round trip. Each ends with its
// result within a generous time, and the process's peak working set
// (GetProcessMemoryInfo) grows by a bounded amount.
#include "library/vector/dxSVGImage.h"
#include "tests/library_vector/SVGTestSupport.h"
#include "tests/library_vector/XMLTestSupport.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <chrono>
#include <functional>
#include <string>

namespace {

// Far above what any of the cases needs once bounded; far below what they
// took before (minutes, gigabytes).
constexpr double MaxSeconds = 20;
constexpr std::size_t MaxPeakGrowth = std::size_t{512} << 20;

std::size_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  EXPECT_TRUE(GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)));
  return counters.PeakWorkingSetSize;
}

std::string Repeat(const std::string& AText, int ACount) {
  std::string result;
  result.reserve(AText.size() * static_cast<std::size_t>(ACount));
  for (int i = 0; i < ACount; ++i) result += AText;
  return result;
}

std::string Picture(const std::string& ABody) {
  return R"(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="48" height="48" viewBox="0 0 48 48">)" +
         ABody + "</svg>";
}

// The picture loaded through the codec and rasterised at 48 x 48 and 256 x 256;
// false when the codec refuses it.
bool LoadAndDraw(const std::string& AText, int& AInkedPixels) {
  const TOwned<TMemoryStream> stream(New<TMemoryStream>());
  stream->WriteBuffer(AText.data(), static_cast<int>(AText.size()));
  stream->SetPosition(0);
  TOwned<TdxSmartImageCustomHandle> loaded;
  if (!dxCodec<TdxSVGImageCodec>()->Load(stream.get(), loaded)) return false;
  auto* picture = static_cast<TdxSVGImageHandle*>(loaded.get());
  AInkedPixels = 0;
  for (const TSize& size : {TSize(48, 48), TSize(256, 256)}) {
    const std::vector<std::uint32_t> pixels = Render(picture, size);
    if (size.cx == 48)
      for (const std::uint32_t p : pixels) AInkedPixels += (p >> 24) != 0;
  }
  return true;
}

struct THostileCase {
  const char* Name;
  std::function<void()> Run;
};

void ExpectDrawn(const std::string& AText, int AMinInk) {
  int ink = 0;
  ASSERT_TRUE(LoadAndDraw(AText, ink));
  EXPECT_GE(ink, AMinInk);
}

// The tree read, written and read again is the tree written.
void ExpectStableRoundTrip(const std::string& AText) {
  const TOwned<TdxXMLDocument> first = ReadXML(AText);
  const std::string written = WriteXML(first.get());
  const std::string again = WriteXML(ReadXML(written).get());
  EXPECT_EQ(written, again);
}

const THostileCase GCases[] = {
    {"svg_100000_arcs",
     [] { ExpectDrawn(Picture(R"(<path fill="none" stroke="black" d="M4 24)" + Repeat(" a2 2 0 0 1 0.4 0", 100000) + R"("/>)"), 1); }},
    {"svg_arcs_of_huge_radii",
     [] {
       ExpectDrawn(Picture(R"(<path fill="red" stroke="black" d="M4 4)" +
                           Repeat(" A1e30 1e30 0 1 1 44 44 A1e9 3 45 1 0 4 44 a1e20 1e-20 10 1 1 40 -40", 2000) +
                           R"(z"/>)"),
                   0);
     }},
    {"svg_stroked_near_zero_cubics",
     [] {
       ExpectDrawn(Picture(R"(<path fill="none" stroke="black" stroke-width="2" stroke-linejoin="round" d="M4 24)" +
                           Repeat(" c0.00001 0.00002 0.00002 -0.00001 0.00003 0.00001", 200000) + R"( L44 24"/>)"),
                   20);
     }},
    {"svg_tiny_dashes_along_a_long_line",
     [] {
       ExpectDrawn(Picture(R"(<line x1="-1000000" y1="24" x2="1000000" y2="24" stroke="black" stroke-width="2" stroke-dasharray="0.0001 0.0001"/>
                              <path d="M4 4 H44" stroke="black" stroke-dasharray="0.00001,0.00002" stroke-width="4"/>)"),
                   1);
     }},
    {"svg_use_elements_side_by_side",
     [] {
       // A group of a thousand shapes used ten thousand times, each use of
       // a group that uses it ten times more.
       std::string body = R"(<defs><g id="a">)" + Repeat(R"(<rect x="1" y="1" width="1" height="1"/>)", 1000) + "</g>";
       body += R"(<g id="b">)" + Repeat(R"(<use xlink:href="#a"/>)", 10) + "</g></defs>";
       body += Repeat(R"(<use xlink:href="#b"/>)", 10000) + R"(<rect x="10" y="10" width="20" height="20"/>)";
       ExpectDrawn(Picture(body), 1);
     }},
    {"svg_unterminated_quote",
     [] {
       // The value runs to the next '>', which then ends the tag.
       const std::string body = R"(<path fill="#2e3436" d="M8 1c-3.86 0-7 3.14-7 7s3.14 7 7 7 7-3.14 7-7-3.14-7-7-7z/>)" +
                                Repeat(R"(<path fill="red" d="M1 1h2v2h-2z"/><g opacity=".5><rect width="4" height="4"/></g>)", 200) +
                                R"(<path d="M0 0h48v48h-48z)";
       ExpectDrawn(Picture(body), 100);
     }},
    {"xml_names_sharing_their_last_bytes",
     [] {
       // Some 6 MB of elements whose names differ only in their first bytes.
       std::string text = "<r>";
       for (int i = 0; i < 200000; ++i)
         text += "<n" + std::to_string(i) + "_a_common_suffix_of_the_names/>";
       text += "</r>";
       const TOwned<TdxXMLDocument> document = ReadXML(text);
       EXPECT_EQ(document->Root()->First()->Count(), 200000);
     }},
    {"xml_damaged_documents_round_trip_unchanged",
     [] {
       for (const char* text : {"<a / b='1' c/>", "<a><b x='1' x='2'/><", "<a x=\"1>\"2\"/>", "<a><!DOCTYPE x [<!ENTITY e '<b>'>]><c/></a>",
                                "<a xmlns:p='u' p:='1' :q='2' 3='4'><p:b/></a>", "<a>\xC3\x28</a><b/>"}) {
         SCOPED_TRACE(text);
         ExpectStableRoundTrip(text);
       }
     }},
};

class HostileInput : public testing::TestWithParam<THostileCase> {};

TEST_P(HostileInput, EndsWithItsResultQuicklyAndWithinBoundedMemory) {
  const std::size_t peakBefore = PeakWorkingSet();
  const auto start = std::chrono::steady_clock::now();
  GetParam().Run();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::size_t growth = PeakWorkingSet() - peakBefore;
  std::printf("[ hostile  ] %s: %.2f s, peak working set +%zu MB\n", GetParam().Name, seconds, growth >> 20);
  EXPECT_LT(seconds, MaxSeconds);
  EXPECT_LT(growth, MaxPeakGrowth);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileInput, testing::ValuesIn(GCases),
                         [](const testing::TestParamInfo<THostileCase>& AInfo) { return std::string(AInfo.param.Name); });

}  // namespace
