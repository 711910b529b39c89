// Fuzzing drivers of the control framework: the text units here, the
// windowless scroll bar in ScrollBarFuzz.cpp.
//   scroll-params   scroll parameters over the whole Integer range, thumb
//                   drags and steps by code (ScrollBarFuzz.h).
//   main-scroll-bars  the same parameters given to a control's main bars,
//                   with thumb drags, gestures and wheel notches
//                   (ScrollBarFuzz.h).
//   formatted-text  random formatted texts (control characters, CR and LF
//                   mixes, tabs, lone surrogates, very long words, empty and
//                   URL runs) laid out with random flags, bounds (empty and
//                   negative) and zoom, then drawn and hit-tested: no crash
//                   or hang, and no character in more than one box.
//   truetype-file   TrueType files with tables cut short, lengths
//                   changed and files ended inside a table, added with AddFontMemResourceEx under a family
//                   name of their own, then measured as font infos, glyph
//                   sets and text measurements: no crash.
//   control-messages  random messages at a base control with tracking and a
//                   drag under way (ControlMessagesFuzz.h).
//   accessibility   random MSAA calls at an accessibility node, before and
//                   after its owner is gone (AccessibilityFuzz.h).
//   popup-placement popups opened beside random owner rectangles on and
//                   off the desktop (PopupPlacementFuzz.h).
//   dpi-change      WM_DPICHANGED with any DPI and suggested rectangle to a
//                   form holding nested frames (DpiFuzz.h).
// Run one with: tools/fuzz library_controls -- truetype-file --rounds 10000
#include "fuzzers/library_controls/AccessibilityFuzz.h"
#include "fuzzers/library_controls/ControlMessagesFuzz.h"
#include "fuzzers/library_controls/DpiFuzz.h"
#include "fuzzers/library_controls/PopupPlacementFuzz.h"
#include "fuzzers/library_controls/ScrollBarFuzz.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/controls/ControlsUnits.h"
#include "library/controls/text/dxFormattedText_Internal.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/vector/VectorUnits.h"
#include "platform/ui/UiUnits.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::string BytesOf(const String& AText) {
  std::string bytes;
  for (wchar_t c : AText) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// ---------------------------------------------------------------------------
// Formatted text: flags (4 bytes), width and height (2 bytes each, signed),
// zoom (1 byte), run split bytes (8), then the text as UTF-16.

constexpr std::size_t FormattedHeader = 17;

struct TTextSurface {
  TMemoryDC Surface{TMemoryDC::Dib32(nullptr, 64, 64)};
  TOwned<TFont> Font{New<TFont>()};
  TTextSurface() {
    Font->SetName(L"Tahoma");
    Font->SetHeight(-11);
  }
};

// Characters the boxes of a layout stand for.
int BoxCharacters(const TdxFormattedTextLayout* ALayout) {
  int result = 0;
  for (int r = 0; r < ALayout->Count(); ++r) {
    const TdxFormattedTextLayoutRow* row = ALayout->Items(r);
    for (int b = 0; b < row->Count(); ++b) {
      const TdxFormattedTextLayoutBox* box = row->Items(b);
      switch (box->GetKind()) {
        case TdxFormattedTextBoxKind::Text: {
          const String& text = static_cast<const TdxFormattedTextTextLayoutBox*>(box)->Text();
          if (text != L"...") result += static_cast<int>(text.size());
          break;
        }
        case TdxFormattedTextBoxKind::Space:
        case TdxFormattedTextBoxKind::Tab:
          result += static_cast<const TdxFormattedTextSpaceLayoutBox*>(box)->Count();
          break;
        case TdxFormattedTextBoxKind::LineBreak:
          result += 1;
          break;
        default:
          break;
      }
    }
  }
  return result;
}

void FormattedTextInput(const std::string& AInput) {
  static TTextSurface surface;
  if (AInput.size() < FormattedHeader) return;
  const auto byte = [&AInput](std::size_t AIndex) { return static_cast<unsigned char>(AInput[AIndex]); };
  std::uint32_t flags = 0;
  std::memcpy(&flags, AInput.data(), 4);
  const int width = static_cast<std::int16_t>(byte(4) | byte(5) << 8);
  const int height = static_cast<std::int16_t>(byte(6) | byte(7) << 8);
  const float zoom = 0.25f + (byte(8) % 8) / 4.0f;
  String text;
  for (std::size_t i = FormattedHeader; i + 1 < AInput.size(); i += 2)
    text += static_cast<wchar_t>(byte(i) | byte(i + 1) << 8);
  const int length = static_cast<int>(text.size());

  TOwned<TdxFormattedText> formatted(New<TdxFormattedText>());
  formatted->SetText(text);
  formatted->SetMeasureTrailingSpaces(byte(8) & 0x80);
  // Up to eight runs: plain or URL, opening or closing, some empty.
  int at = 0;
  for (std::size_t k = 0; k < 8; ++k) {
    const unsigned char split = byte(9 + k);
    if (k > 0 && split == 0) break;
    const int next = k == 7 ? length : std::min(length, at + split % 64 * (split & 0x40 ? 1 : 0));
    const TClass cls = split & 0x80 ? TdxFormattedTextURLRun::ClassInfo() : TdxFormattedTextRun::ClassInfo();
    auto* run = static_cast<TdxFormattedTextRun*>(cls->NewInstance());
    run->Create(formatted.get(), split & 0x20 ? traClose : traOpen, at, next - at);
    run->AfterConstruction();
    formatted->InternalRuns().Add(run);
    at = next;
  }
  if (at < length) formatted->InternalRuns().Add(New<TdxFormattedTextRun>(formatted.get(), traOpen, at, length - at));

  const HDC dc = surface.Surface.DC();
  formatted->CalculateLayout(dc, surface.Font.get(), TRect(0, 0, width, height), flags, nullptr, zoom, clRed);
  if (BoxCharacters(formatted->Layout()) > length) FuzzInvariantBroken("a character is in more than one box");
  formatted->Draw(dc, TPoint(byte(4) % 16 - 8, byte(6) % 16 - 8));
  formatted->HitTest(TPoint(byte(5) % 64, byte(7) % 64));
  formatted->TextSize();
}

std::vector<std::string> FormattedTextSeeds() {
  const auto seed = [](std::uint32_t AFlags, int AWidth, int AHeight, std::string ARuns, const String& AText) {
    std::string bytes(9, '\0');
    std::memcpy(bytes.data(), &AFlags, 4);
    bytes[4] = static_cast<char>(AWidth & 0xFF);
    bytes[5] = static_cast<char>(AWidth >> 8);
    bytes[6] = static_cast<char>(AHeight & 0xFF);
    bytes[7] = static_cast<char>(AHeight >> 8);
    bytes[8] = 3;
    ARuns.resize(8, '\0');
    return bytes + ARuns + BytesOf(AText);
  };
  return {
      seed(cxtoWordBreak, 60, 200, "\x45\xC5\xE3", L"The quick brown fox jumps over the lazy dog"),
      seed(cxtoWordBreak | cxtoEditControl | cxtoEndEllipsis, 30, 40, "\x48", L"Supercalifragilistic\r\nnext\n\rword\r"),
      seed(cxtoWordBreak | cxtoCharBreak | cxtoJustifyX, 20, 1000, "\x41\xC2\xA3",
           L"a\tb c\n\rd\r\re \xD83D\xDE00 f \xDC00 lone \xD800"),
      seed(cxtoSingleLine | cxtoExpandTabs | cxtoEndEllipsis, 50, 20, "", L"tab\tstop\t\tand\tmore\x01\x02\x7F"),
      seed(cxtoWordBreak | cxtoDistributeX | cxtoDistributeY, 50, 300, "\x44",
           L"\x65E5\x672C\x8A9E\x3001\x6587\x7AE0   words   and\x3002"),
      seed(cxtoWordBreak | cxtoCenterX | cxtoBottom | cxtoNoClip, -5, -7, "\xC0\xE0", L"negative bounds"),
      seed(cxtoWordBreak | cxtoExpandTabs | cxtoCenterY, 100, 100, "\x50", String(10000, L'w') + L" short"),
  };
}

// ---------------------------------------------------------------------------
// TrueType files

std::string ReadFile(const char* APath) {
  std::ifstream file(APath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::uint32_t Big32(const std::string& AData, std::size_t AAt) {
  if (AAt + 4 > AData.size()) return 0;
  return static_cast<std::uint32_t>(static_cast<unsigned char>(AData[AAt])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(AData[AAt + 1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(AData[AAt + 2])) << 8 |
         static_cast<unsigned char>(AData[AAt + 3]);
}

int Big16(const std::string& AData, std::size_t AAt) {
  if (AAt + 2 > AData.size()) return 0;
  return static_cast<unsigned char>(AData[AAt]) << 8 | static_cast<unsigned char>(AData[AAt + 1]);
}

// The table record of ATag: (offset of the record, offset of the table, length).
struct TTableRecord {
  std::size_t Record = 0;
  std::uint32_t Offset = 0;
  std::uint32_t Length = 0;
};

bool FindTable(const std::string& AData, const char* ATag, TTableRecord& ATable) {
  const int count = Big16(AData, 4);
  for (int i = 0; i < count; ++i) {
    const std::size_t record = 12 + static_cast<std::size_t>(i) * 16;
    if (record + 16 > AData.size()) return false;
    if (std::memcmp(AData.data() + record, ATag, 4) == 0) {
      ATable = {record, Big32(AData, record + 8), Big32(AData, record + 12)};
      return true;
    }
  }
  return false;
}

void SetBig32(std::string& AData, std::size_t AAt, std::uint32_t AValue) {
  for (int k = 0; k < 4; ++k) AData[AAt + static_cast<std::size_t>(k)] = static_cast<char>(AValue >> (24 - 8 * k));
}

// Every Windows family and full name starts with "Fz" instead: the mutated
// font never meets the installed face of its name. Answers the family.
String RenameFamily(std::string& AData) {
  TTableRecord name;
  if (!FindTable(AData, "name", name)) return String();
  const std::size_t base = name.Offset;
  const int count = Big16(AData, base + 2);
  const std::size_t strings = base + static_cast<std::size_t>(Big16(AData, base + 4));
  String family;
  for (int i = 0; i < count; ++i) {
    const std::size_t r = base + 6 + static_cast<std::size_t>(i) * 12;
    const int platform = Big16(AData, r), id = Big16(AData, r + 6), length = Big16(AData, r + 8);
    const std::size_t at = strings + static_cast<std::size_t>(Big16(AData, r + 10));
    if (platform != 3 || (id != 1 && id != 4) || length < 4 || at + static_cast<std::size_t>(length) > AData.size())
      continue;
    AData[at] = 0;
    AData[at + 1] = 'F';
    AData[at + 2] = 0;
    AData[at + 3] = 'z';
    if (id == 1 && family.empty())
      for (int k = 0; k + 1 < length; k += 2) family += static_cast<wchar_t>(Big16(AData, at + static_cast<std::size_t>(k)));
  }
  return family;
}

struct TFontSeed {
  std::string Data;
  String Family;
};

std::vector<TFontSeed>& FontSeedList() {
  static std::vector<TFontSeed> seeds;
  return seeds;
}

// The font files, each renamed. An input is a recipe of changes to one of
// them: its first byte picks the file, then every four bytes pick a table
// and cut it short, lengthen it or cut the file inside it. Random bytes in
// the glyph data are left out: Wine's own font loader does not return from
// some of those (inside AddFontMemResourceEx), which says nothing of ours.
std::vector<std::string> TrueTypeSeeds() {
  for (const char* path : {"Z:\\usr\\share\\wine\\fonts\\tahoma.ttf",
                           "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSansMono.ttf",
                           "Z:\\usr\\share\\fonts\\truetype\\liberation2\\LiberationSans-Regular.ttf"}) {
    std::string data = ReadFile(path);
    if (data.empty()) continue;
    const String family = RenameFamily(data);
    FontSeedList().push_back({data, family});
  }
  std::vector<std::string> result;
  const std::string recipes[] = {std::string(), std::string("\x05\x00\x40\x00", 4), std::string("\x07\x01\xFF\x7F", 4),
                                 std::string("\x03\x02\x10\x00\x09\x00\x01\x00", 8)};
  for (char font = 0; font < static_cast<char>(FontSeedList().size()); ++font)
    for (const std::string& recipe : recipes) result.push_back(std::string(1, font) + recipe);
  return result;
}

// Applies the recipe's changes to a copy of the file.
std::string ApplyRecipe(const std::string& AFile, const std::string& ARecipe) {
  std::string data = AFile;
  const int tables = Big16(data, 4);
  if (tables <= 0) return data;
  for (std::size_t at = 1; at + 4 <= ARecipe.size() && at < 1 + 4 * 6; at += 4) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(ARecipe[at + k]); };
    const std::size_t record = 12 + static_cast<std::size_t>(byte(0) % tables) * 16;
    if (record + 16 > data.size()) break;
    const std::uint32_t offset = Big32(data, record + 8);
    const std::uint32_t length = Big32(data, record + 12);
    const std::uint32_t value = byte(2) | byte(3) << 8;
    switch (byte(1) % 3) {
      case 0:  // the table cut short
        SetBig32(data, record + 12, static_cast<std::uint32_t>(static_cast<std::uint64_t>(length) * value / 65536));
        break;
      case 1:  // the table longer than it is
        SetBig32(data, record + 12, length + value);
        break;
      default:  // the file ends inside the table
        data.resize(std::min<std::size_t>(data.size(), offset + static_cast<std::uint64_t>(length) * value / 65536));
        break;
    }
  }
  return data;
}

void TrueTypeInput(const std::string& AInput) {
  static TOwned<TdxDocumentLayoutUnitConverter> converter(
      TdxDocumentLayoutUnitConverter::CreateConverter(TdxDocumentLayoutUnit::Pixel, 96));
  static TOwned<TdxFontInfoMeasurer> measurer(New<TdxFontInfoMeasurer>(converter.get()));
  static TOwned<TdxFormattedTextBoxMeasurer> boxes(New<TdxFormattedTextBoxMeasurer>());
  if (AInput.empty() || FontSeedList().empty()) return;
  const TFontSeed& seed = FontSeedList()[static_cast<unsigned char>(AInput[0]) % FontSeedList().size()];
  std::string data = ApplyRecipe(seed.Data, AInput);
  DWORD installed = 0;
  const HANDLE font = AddFontMemResourceEx(data.data(), static_cast<DWORD>(data.size()), nullptr, &installed);
  if (!font) return;
  const TScopeExit remove([font] { RemoveFontMemResourceEx(font); });
  for (const bool office : {false, true}) {
    TOwned<TdxFontInfo> info(New<TdxFontInfo>(measurer.get(), seed.Family, 20 + office * 7, TFontStyles(), true, office));
    TdxFontInfo::GetFontUnicodeRanges(measurer->Canvas(), info->GdiFontHandle());
    boxes->TextViewInfoCache()->Clear();
    boxes->MeasureText(L"Measured \x3042\xFB01", info.get());
    boxes->FindLengthToFit(measurer->Canvas(), L"Fit this text", info.get(), 30, true);
    measurer->DeselectFont();
  }
}

const TFuzzDriver Drivers[] = {
    {L"formatted-text", FormattedTextSeeds, FormattedTextInput},
    {L"truetype-file", TrueTypeSeeds, TrueTypeInput},
    {L"scroll-params", ScrollParamsSeeds, RunScrollParams},
    {L"main-scroll-bars", MainScrollBarsSeeds, RunMainScrollBars},
    {L"control-messages", ControlMessagesSeeds, RunControlMessages},
    {L"accessibility", AccessibilitySeeds, RunAccessibility},
    {L"popup-placement", PopupPlacementSeeds, RunPopupPlacement},
    {L"dpi-change", DpiChangeSeeds, RunDpiChange},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryVectorUnits(),
                   LibraryLookAndFeelUnits(), LibraryControlsUnits()});
  const int result = RunFuzzDrivers(argc, argv, Drivers);
  FinalizeUnits();
  return result;
}
