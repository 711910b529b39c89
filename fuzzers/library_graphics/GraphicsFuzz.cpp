// Fuzzing drivers of the graphics layer: colour texts, the text layout
// engine and the image codecs (ImageCodecsFuzz.cpp). Each input must parse
// or raise the documented conversion error, and every layout must cover its
// text with rows in order.
#include "fuzzers/library_graphics/ImageCodecsFuzz.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/cxDrawTextUtils.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void Fail(const char* AWhat) {
  std::fprintf(stderr, "invariant broken: %s\n", AWhat);
  std::fflush(stderr);
  std::abort();
}

String WideOf(const std::string& ABytes, std::size_t AFrom) {
  String text;
  for (std::size_t i = AFrom; i + 1 < ABytes.size(); i += 2)
    text += static_cast<wchar_t>(static_cast<unsigned char>(ABytes[i]) | (static_cast<unsigned char>(ABytes[i + 1]) << 8));
  return text;
}

std::string BytesOf(const String& AText) {
  std::string bytes;
  for (wchar_t c : AText) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// ---------------------------------------------------------------------------
// Colour texts

void ColorText(const std::string& AInput) {
  const String text = WideOf(AInput, 0);
  for (bool swap : {false, true}) {
    try {
      const TdxAlphaColor color = TdxAlphaColors::HexTextToAlphaColor(text, swap);
      if (TdxAlphaColors::HexTextToAlphaColor(TdxAlphaColors::AlphaColorToHexText(color, true, swap), swap) != color)
        Fail("hexadecimal text does not read back");
    } catch (const EConvertError&) {
    }
  }
  try {
    const TdxAlphaColor color = TdxAlphaColors::CssTextToAlphaColor(text) | 0xFF000000u;
    if (TdxAlphaColors::CssTextToAlphaColor(TdxAlphaColors::AlphaColorToText(color, false)) != color)
      Fail("colour text does not read back");
  } catch (const EConvertError&) {
  }
}

std::vector<std::string> ColorSeeds() {
  return {BytesOf(L"#ff8800"), BytesOf(L"#F80"), BytesOf(L"80FF0000"), BytesOf(L"xff8800"), BytesOf(L"ButtonFace"),
          BytesOf(L"lightgrey"), BytesOf(L"f"), BytesOf(L"DarkSlateGrey")};
}

// ---------------------------------------------------------------------------
// Text layout: flags (4 bytes), column width and height (2 bytes each), the
// row limit (1 byte), then the text.

struct TLayoutDC {
  TOwnedDC DC{CreateCompatibleDC(nullptr)};
  TOwnedFont Font{CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")};
  TSelectObject Selected{DC.Get(), Font.Get()};
};

void Layout(const std::string& AInput) {
  static TLayoutDC dc;
  if (AInput.size() < 9) return;
  std::uint32_t flags;
  std::memcpy(&flags, AInput.data(), 4);
  const int width = static_cast<std::int16_t>(static_cast<unsigned char>(AInput[4]) | (static_cast<unsigned char>(AInput[5]) << 8));
  const int height = static_cast<std::int16_t>(static_cast<unsigned char>(AInput[6]) | (static_cast<unsigned char>(AInput[7]) << 8));
  const int maxRows = static_cast<signed char>(AInput[8]);
  const String text = WideOf(AInput, 9);

  TcxTextParams params;
  CalcTextParamsForDC(dc.DC.Get(), flags, 1.0 + (flags >> 28) / 4.0, params);
  TcxTextRows rows;
  int count = 0;
  const TRect bounds(0, 0, width, height);
  BreakTextIntoRows(dc.DC.Get(), text.c_str(), static_cast<int>(text.size()), bounds, params, rows, count, maxRows);
  CalcTextRowPositions(dc.DC.Get(), bounds, params, rows, count);
  if (maxRows > 0 && count > maxRows) Fail("more rows than the limit");
  int lastEnd = 0;
  for (int i = 0; i < count; ++i) {
    const TcxTextRow& row = rows[i];
    if (row.StartOffset < lastEnd || row.Text != text.c_str() + row.StartOffset) Fail("rows out of order");
    if (row.TextLength < 0 || row.StartOffset + row.TextLength > static_cast<int>(text.size())) Fail("a row outside the text");
    lastEnd = row.StartOffset + row.TextLength;
  }
  if (count > 0 && GetMaxTextRowWidth(rows, count) < 0) Fail("a negative width");
}

std::vector<std::string> LayoutSeeds() {
  const auto seed = [](std::uint32_t AFlags, int AWidth, int AHeight, int AMaxRows, const String& AText) {
    std::string bytes(9, '\0');
    std::memcpy(bytes.data(), &AFlags, 4);
    bytes[4] = static_cast<char>(AWidth & 0xFF);
    bytes[5] = static_cast<char>(AWidth >> 8);
    bytes[6] = static_cast<char>(AHeight & 0xFF);
    bytes[7] = static_cast<char>(AHeight >> 8);
    bytes[8] = static_cast<char>(AMaxRows);
    return bytes + BytesOf(AText);
  };
  return {
      seed(cxtoWordBreak, 60, 200, 0, L"The quick brown fox jumps over the lazy dog"),
      seed(cxtoWordBreak | cxtoEditControl | cxtoEndEllipsis, 30, 40, 0, L"Supercalifragilistic\r\nnext word"),
      seed(cxtoWordBreak | cxtoCharBreak | cxtoJustifyX, 20, 1000, 3, L"a\tb c\n\rd\r\re \xD83D\xDE00 f"),
      seed(cxtoSingleLine | cxtoCalcRect | cxtoExpandTabs, 0, 0, 0, L"tab\tstop\tand more"),
      seed(cxtoWordBreak | cxtoDistributeX | cxtoDistributeY | cxtoExcelStyle, 50, 300, 0,
           L"\x65E5\x672C\x8A9E\x3001\x6587\x7AE0   words   and\x3002"),
      seed(cxtoWordBreak | cxtoCenterX | cxtoBottom | cxtoPreventLeftExceed | cxtoRTLReading, 1, 1, 0,
           L"\x05e9\x05dc\x05d5\x05dd \x05e2\x05d5\x05dc\x05dd"),
  };
}

const TFuzzDriver Drivers[] = {
    {L"colour-text", ColorSeeds, ColorText},
    {L"text-layout", LayoutSeeds, Layout},
    {L"bmp-header", BmpSeeds, ParseBmpHeader},
    {L"memory-bitmap-header", BmpSeeds, ParseMemoryBitmapHeader},
    {L"png-header", PngSeeds, ParsePngHeader},
    {L"tiff-header", TiffSeeds, ParseTiffHeader},
    {L"gif-header", GifSeeds, ParseGifHeader},
    {L"jpeg-header", JpegSeeds, ParseJpegHeader},
    {L"emf-header", EmfSeeds, ParseEmfHeader},
    {L"wmf-header", WmfSeeds, ParseWmfHeader},
    {L"smart-image", ImageSeeds, LoadSmartImage},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  const int result = RunFuzzDrivers(argc, argv, Drivers);
  FinalizeUnits();
  return result;
}
