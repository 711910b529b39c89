// Graphics types shared by the canvases: the bounded value cache, colours
// with alpha and their tables.
//
// Classes in this file:
//   TdxValueCacheManager         a dictionary with first-in-first-out eviction
//                                (keys compare by TdxDefaultEqualityComparer unless
//                                a comparer is given: scalars by value, records
//                                over every byte)
//   TdxAlphaColor                a 32-bit straight (not premultiplied) ARGB colour
//   TdxGraphicUnit               the GDI+ units, in GDI+'s order
//   TdxAlphaColors               the system-colour, named-colour and CSS keyword
//                                tables, and the text forms of a colour
//   TdxTextMeasurer              the measuring surface of the text helpers
//                                (dxCoreGraphics_Text.cpp)
#pragma once

#include "library/core/containers/dxGenerics.h"
#include "platform/classes/ClassErrors.h"
#include "platform/runtime/System.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

// A bounded cache: a dictionary plus a ring of Capacity slots that remembers
// the order in which keys were added. When the ring is full, each Add evicts
// the oldest surviving addition; a lookup does not refresh an entry. Every
// value that leaves (eviction, Remove, Clear, destruction) goes through
// ValueRemoved, where descendants release it.
//
// The ring's slots hold the entries themselves, in the order of addition;
// the dictionary is an index of slot numbers, sized once (the ring bounds
// the count) to at least twice the capacity, with open addressing and
// linear probing. A removal shifts the rest of its run back rather than
// leaving a marker, so constant eviction never slows lookups down.
template <class TKey, class TValue, class TComparer = TdxDefaultEqualityComparer<TKey>>
class TdxValueCacheManager : public TObject {
  SK_CLASS(TdxValueCacheManager, TObject)
 public:
  void Create(int ACapacity, TComparer AComparer = TComparer()) {
    inherited::Create();
    FCapacity = ACapacity > 0 ? ACapacity : 1;
    FComparer = AComparer;
    int bits = 1;
    while ((std::size_t{1} << bits) < 2 * static_cast<std::size_t>(FCapacity)) ++bits;
    FShift = 64 - bits;
    FMask = (std::size_t{1} << bits) - 1;
    FIndex.assign(FMask + 1, FreeEntry);
    FCount = 0;
    FQueue.assign(static_cast<std::size_t>(FCapacity), TSlot{});
    FQueueCursor = 0;
  }
  void Destroy() override {
    ReleaseAll(false);
    inherited::Destroy();
  }

  int Capacity() const { return FCapacity; }
  int Count() const { return FCount; }
  // The ring slot the next Add fills.
  int QueueCursor() const { return FQueueCursor; }

  // Evicts the entry at the ring's cursor, then adds the pair. A key already
  // present raises EListError: callers look a key up first.
  void Add(const TKey& AKey, const TValue& AValue) {
    const auto cursor = static_cast<std::int32_t>(FQueueCursor);
    if (const TSlot& oldest = FQueue[static_cast<std::size_t>(cursor)]; oldest.Occupied)
      if (const std::size_t i = Find(oldest.Key); i != NotFound) RemoveAt(i);
    std::size_t i = Home(AKey);
    for (; FIndex[i] != FreeEntry; i = (i + 1) & FMask)
      if (FComparer.Equals(Slot(i).Key, AKey)) throw EListError(String(L"Duplikate sind nicht zulässig"));
    FQueue[static_cast<std::size_t>(cursor)] = TSlot{AKey, AValue, true};
    FIndex[i] = cursor;
    ++FCount;
    FQueueCursor = FQueueCursor + 1 < FCapacity ? FQueueCursor + 1 : 0;
  }

  // AValue is the empty value when the key is missing. The ring is not touched.
  bool Get(const TKey& AKey, TValue& AValue) const {
    const std::size_t i = Find(AKey);
    if (i == NotFound) {
      AValue = TValue();
      return false;
    }
    AValue = Slot(i).Value;
    return true;
  }

  // Frees the key's ring slot; the cursor stays, so the slot is reused only
  // when the cursor reaches it again.
  void Remove(const TKey& AKey) {
    if (const std::size_t i = Find(AKey); i != NotFound) RemoveAt(i);
  }

  void Clear() {
    ReleaseAll(true);
    FQueueCursor = 0;
  }

 protected:
  virtual void ValueRemoved(const TValue&) {}

 private:
  static constexpr std::size_t NotFound = ~std::size_t{0};
  static constexpr std::int32_t FreeEntry = -1;

  struct TSlot {
    TKey Key{};
    TValue Value{};
    bool Occupied = false;
  };

  const TSlot& Slot(std::size_t AIndexEntry) const { return FQueue[static_cast<std::size_t>(FIndex[AIndexEntry])]; }

  // The comparer's hash spread over the index (Fibonacci hashing), so keys
  // whose low bits agree, such as aligned addresses, do not crowd together.
  std::size_t Home(const TKey& AKey) const {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(FComparer.GetHashCode(AKey)) * 0x9E3779B97F4A7C15ull) >>
                                    FShift);
  }

  // The index entry of the key. The index always has a free entry.
  std::size_t Find(const TKey& AKey) const {
    if (FCount == 0) return NotFound;
    for (std::size_t i = Home(AKey); FIndex[i] != FreeEntry; i = (i + 1) & FMask)
      if (FComparer.Equals(Slot(i).Key, AKey)) return i;
    return NotFound;
  }

  // Takes the entry out of the index and its slot, then releases its value.
  void RemoveAt(std::size_t AIndexEntry) {
    TSlot& slot = FQueue[static_cast<std::size_t>(FIndex[AIndexEntry])];
    // Closes the gap: each later entry of the run that may live at the gap
    // (its home is not between the gap and itself) moves into it.
    for (std::size_t j = (AIndexEntry + 1) & FMask; FIndex[j] != FreeEntry; j = (j + 1) & FMask) {
      if (((j - Home(Slot(j).Key)) & FMask) >= ((j - AIndexEntry) & FMask)) {
        FIndex[AIndexEntry] = FIndex[j];
        AIndexEntry = j;
      }
    }
    FIndex[AIndexEntry] = FreeEntry;
    --FCount;
    const TValue value = std::move(slot.Value);
    slot = TSlot{};
    ValueRemoved(value);
  }

  // The cache is emptied first, so that a ValueRemoved that looks at it
  // finds it consistent; ARebuild leaves it ready for use.
  void ReleaseAll(bool ARebuild) {
    std::vector<TSlot> ring(ARebuild ? FQueue.size() : 0);
    ring.swap(FQueue);
    if (ARebuild) std::fill(FIndex.begin(), FIndex.end(), FreeEntry);
    else FIndex.clear();
    FCount = 0;
    for (const TSlot& slot : ring)
      if (slot.Occupied) ValueRemoved(slot.Value);
  }

  int FCapacity;
  TComparer FComparer;
  std::vector<TSlot> FQueue;          // the ring: the entries in the order of addition
  std::vector<std::int32_t> FIndex;   // the dictionary: slot numbers (FreeEntry: none)
  std::size_t FMask;
  int FShift;
  int FCount;
  int FQueueCursor;
};

// ---------------------------------------------------------------------------
// Colours with alpha
//
// Bits 24-31 alpha (0 transparent, 255 opaque), 16-23 red, 8-15 green, 0-7
// blue; the channels are straight. In memory the four bytes are blue, green,
// red, alpha: an RGBQUAD, and one pixel of a 32-bit top-down DIB, so arrays
// of colours and pixel rows are the same memory.

using TdxAlphaColor = std::uint32_t;
using PdxAlphaColor = TdxAlphaColor*;
using TdxAlphaColorDynArray = std::vector<TdxAlphaColor>;
using TdxAlphaColorFunc = std::function<TdxAlphaColor()>;
using TRGBColors = std::vector<RGBQUAD>;
using TdxRGBQuadArray = RGBQUAD[];
using PdxRGBQuadArray = RGBQUAD*;

enum TdxGraphicUnit { guWorld, guDisplay, guPixel, guPoint, guInch, guDocument, guMillimeter };

constexpr std::uint8_t AlphaOf(TdxAlphaColor AColor) { return static_cast<std::uint8_t>(AColor >> 24); }
constexpr std::uint8_t RedOf(TdxAlphaColor AColor) { return static_cast<std::uint8_t>(AColor >> 16); }
constexpr std::uint8_t GreenOf(TdxAlphaColor AColor) { return static_cast<std::uint8_t>(AColor >> 8); }
constexpr std::uint8_t BlueOf(TdxAlphaColor AColor) { return static_cast<std::uint8_t>(AColor); }

// Each argument is truncated to 8 bits.
constexpr TdxAlphaColor ComposeAlphaColor(int AAlpha, int ARed, int AGreen, int ABlue) {
  return (static_cast<TdxAlphaColor>(AAlpha & 0xFF) << 24) | (static_cast<TdxAlphaColor>(ARed & 0xFF) << 16) |
         (static_cast<TdxAlphaColor>(AGreen & 0xFF) << 8) | static_cast<TdxAlphaColor>(ABlue & 0xFF);
}
constexpr TdxAlphaColor ArgbToAlphaColor(int AAlpha, int ARed, int AGreen, int ABlue) {
  return ComposeAlphaColor(AAlpha, ARed, AGreen, ABlue);
}
// Exchanges the red and blue bytes; alpha and green stay.
constexpr TdxAlphaColor SwapRedBlue(TdxAlphaColor AColor) {
  return (AColor & 0xFF00FF00u) | ((AColor >> 16) & 0xFFu) | ((AColor & 0xFFu) << 16);
}
inline RGBQUAD AlphaColorToRGBQuad(TdxAlphaColor AColor) { return std::bit_cast<RGBQUAD>(AColor); }

// clNone gives the empty colour, clDefault the default marker; any other
// colour is resolved (system colours become their current RGB) and takes
// AAlpha.
TdxAlphaColor ColorToAlphaColor(TColor AColor, std::uint8_t AAlpha = 255);
// The reverse: the empty colour gives clNone and the default marker
// clDefault, both with alpha 0; anything else its RGB and its alpha.
TColor ConvertAlphaColorToColor(TdxAlphaColor AColor, std::uint8_t& AAlpha);
TColor AlphaColorToTColor(TdxAlphaColor AColor);
// The colour's current RGB in the RGBQUAD order, AReserved in rgbReserved.
RGBQUAD ColorToQuad(TColor AColor, std::uint8_t AReserved = 0);
// False for the empty colour, the default marker and $00FFFFFF.
bool IsAlphaColorVisible(TdxAlphaColor AColor);

// ---------------------------------------------------------------------------
// Colour tables and text forms

// A Windows system colour: the row's name and its COLOR_ index.
struct TdxSystemColorData {
  std::wstring_view Name;
  int Index;
};

// The system colours; a row's place is its index in the current colours.
inline constexpr TdxSystemColorData dxSystemColorTable[] = {
    {L"ActiveBorder", COLOR_ACTIVEBORDER},
    {L"ActiveCaption", COLOR_ACTIVECAPTION},
    {L"ActiveCaptionText", COLOR_CAPTIONTEXT},
    {L"AppWorkspace", COLOR_APPWORKSPACE},
    {L"ButtonFace", COLOR_BTNFACE},
    {L"ButtonHighlight", COLOR_BTNHIGHLIGHT},
    {L"ButtonShadow", COLOR_BTNSHADOW},
    {L"Control", COLOR_BTNFACE},
    {L"ControlDark", COLOR_BTNSHADOW},
    {L"ControlDarkDark", COLOR_3DDKSHADOW},
    {L"ControlLight", COLOR_3DLIGHT},
    {L"ControlLightLight", COLOR_BTNHIGHLIGHT},
    {L"ControlText", COLOR_BTNTEXT},
    {L"Desktop", COLOR_DESKTOP},
    {L"GradientActiveCaption", COLOR_GRADIENTACTIVECAPTION},
    {L"GradientInactiveCaption", COLOR_GRADIENTINACTIVECAPTION},
    {L"GrayText", COLOR_GRAYTEXT},
    {L"Highlight", COLOR_HIGHLIGHT},
    {L"HighlightText", COLOR_HIGHLIGHTTEXT},
    {L"HotTrack", COLOR_HOTLIGHT},
    {L"InactiveBorder", COLOR_INACTIVEBORDER},
    {L"InactiveCaption", COLOR_INACTIVECAPTION},
    {L"InactiveCaptionText", COLOR_INACTIVECAPTIONTEXT},
    {L"Info", COLOR_INFOBK},
    {L"InfoText", COLOR_INFOTEXT},
    {L"Menu", COLOR_MENU},
    {L"MenuBar", COLOR_MENUBAR},
    {L"MenuHighlight", COLOR_MENUHILIGHT},
    {L"MenuText", COLOR_MENUTEXT},
    {L"ScrollBar", COLOR_SCROLLBAR},
    {L"Window", COLOR_WINDOW},
    {L"WindowFrame", COLOR_WINDOWFRAME},
    {L"WindowText", COLOR_WINDOWTEXT},
};

// The row of a system colour by its name, at compile time.
consteval int dxSystemColorRow(std::wstring_view AName) {
  for (int i = 0; i < static_cast<int>(std::size(dxSystemColorTable)); ++i)
    if (dxSystemColorTable[i].Name == AName) return i;
  throw "no such system-colour row";
}

class TdxAlphaColors {
 public:
  using TSystemColorData = TdxSystemColorData;
  struct TColorInfo {
    TdxAlphaColor Color;
    std::wstring_view Name;
  };
  // The hidden window that hears of system colour changes.
  class TUpdateSystemColorsListener;

  TdxAlphaColors() = delete;

  // The two reserved values, both with alpha 0.
  static constexpr TdxAlphaColor Empty = 0;             // no colour (clNone)
  static constexpr TdxAlphaColor Default = 0x00010203;  // the control's own colour (clDefault)

  static constexpr std::span<const TSystemColorData> SystemColorTable = dxSystemColorTable;
  static constexpr int SystemColorCount = static_cast<int>(std::size(dxSystemColorTable));

  // The current colour of each system-colour row (all 0 outside the unit's
  // lifetime).
  static TdxAlphaColor SystemColor(int ARow);
  static TdxAlphaColor ActiveBorder() { return SystemColor(dxSystemColorRow(L"ActiveBorder")); }
  static TdxAlphaColor ActiveCaption() { return SystemColor(dxSystemColorRow(L"ActiveCaption")); }
  static TdxAlphaColor ActiveCaptionText() { return SystemColor(dxSystemColorRow(L"ActiveCaptionText")); }
  static TdxAlphaColor AppWorkspace() { return SystemColor(dxSystemColorRow(L"AppWorkspace")); }
  static TdxAlphaColor Control() { return SystemColor(dxSystemColorRow(L"Control")); }
  static TdxAlphaColor ControlDark() { return SystemColor(dxSystemColorRow(L"ControlDark")); }
  static TdxAlphaColor ControlDarkDark() { return SystemColor(dxSystemColorRow(L"ControlDarkDark")); }
  static TdxAlphaColor ControlLight() { return SystemColor(dxSystemColorRow(L"ControlLight")); }
  static TdxAlphaColor ControlLightLight() { return SystemColor(dxSystemColorRow(L"ControlLightLight")); }
  static TdxAlphaColor ControlText() { return SystemColor(dxSystemColorRow(L"ControlText")); }
  static TdxAlphaColor Desktop() { return SystemColor(dxSystemColorRow(L"Desktop")); }
  static TdxAlphaColor GradientActiveCaption() { return SystemColor(dxSystemColorRow(L"GradientActiveCaption")); }
  static TdxAlphaColor GradientInactiveCaption() { return SystemColor(dxSystemColorRow(L"GradientInactiveCaption")); }
  static TdxAlphaColor GrayText() { return SystemColor(dxSystemColorRow(L"GrayText")); }
  static TdxAlphaColor Highlight() { return SystemColor(dxSystemColorRow(L"Highlight")); }
  static TdxAlphaColor HighlightText() { return SystemColor(dxSystemColorRow(L"HighlightText")); }
  static TdxAlphaColor HotTrack() { return SystemColor(dxSystemColorRow(L"HotTrack")); }
  static TdxAlphaColor InactiveBorder() { return SystemColor(dxSystemColorRow(L"InactiveBorder")); }
  static TdxAlphaColor InactiveCaption() { return SystemColor(dxSystemColorRow(L"InactiveCaption")); }
  static TdxAlphaColor InactiveCaptionText() { return SystemColor(dxSystemColorRow(L"InactiveCaptionText")); }
  static TdxAlphaColor Info() { return SystemColor(dxSystemColorRow(L"Info")); }
  static TdxAlphaColor InfoText() { return SystemColor(dxSystemColorRow(L"InfoText")); }
  static TdxAlphaColor Menu() { return SystemColor(dxSystemColorRow(L"Menu")); }
  static TdxAlphaColor MenuBar() { return SystemColor(dxSystemColorRow(L"MenuBar")); }
  static TdxAlphaColor MenuHighlight() { return SystemColor(dxSystemColorRow(L"MenuHighlight")); }
  static TdxAlphaColor MenuText() { return SystemColor(dxSystemColorRow(L"MenuText")); }
  static TdxAlphaColor ScrollBar() { return SystemColor(dxSystemColorRow(L"ScrollBar")); }
  static TdxAlphaColor Window() { return SystemColor(dxSystemColorRow(L"Window")); }
  static TdxAlphaColor WindowFrame() { return SystemColor(dxSystemColorRow(L"WindowFrame")); }
  static TdxAlphaColor WindowText() { return SystemColor(dxSystemColorRow(L"WindowText")); }

  // The named colours in table order: the CSS keywords (one spelling each,
  // plus "Grey"), then "Default" and "Empty". The only source of names for
  // AlphaColorToText.
  static std::span<const TColorInfo> NamedColors();

  // Text of 6 (RRGGBB) or 8 (AARRGGBB) hexadecimal digits, each optionally
  // after one prefix character; shorter texts are padded on the left with
  // "0"; any other length gives 0. Six digits are opaque. Raises EConvertError
  // for a group that is no hexadecimal number.
  static TdxAlphaColor HexTextToAlphaColor(const String& AText, bool ASwapRedBlue);
  // "#RRGGBB", "#RGB", a system-colour keyword, a colour name or a system
  // colour's row name (any case); 0 for anything else.
  static TdxAlphaColor CssTextToAlphaColor(const String& AText);
  // With names: the first name of the colour, a CSS system-colour keyword,
  // else "#rrggbb"; without: "#rrggbb". The empty colour gives "".
  static String AlphaColorToText(TdxAlphaColor AColor, bool AUseNames);
  // Lower-case digits, no prefix: aarrggbb or rrggbb.
  static String AlphaColorToHexText(TdxAlphaColor AColor, bool AWithAlpha, bool ASwapRedBlue);
  static String AlphaColorToPrefixedHexText(TdxAlphaColor AColor, bool AWithAlpha, wchar_t APrefix);

  // Reads the system colours again (the unit does so when they change).
  static void UpdateSystemColors();
};

// ---------------------------------------------------------------------------
// Text measurement
//
// What a text will need before anything is painted: font heights, extents,
// DrawText rectangles, the narrowest rectangle for a number of lines and
// per-character rectangles. Measuring on the shared canvas belongs to the UI
// thread.

class TdxTextMeasurer {
 public:
  // A canvas on a memory device context of its own, made when first needed.
  class TMeasureCanvas : public TCanvas {
    SK_CLASS(TMeasureCanvas, TCanvas)
   public:
    void Destroy() override;
    // Takes the font's attributes and selects them at once.
    void SetFont(TFont* AFont);

   protected:
    void CreateHandle() override;

   private:
    TOwnedDC FDeviceContext;
  };

  TdxTextMeasurer() = delete;
};

// The unit's measuring canvas; nil outside the unit's lifetime.
TdxTextMeasurer::TMeasureCanvas* SharedTextMeasureCanvas();

// tmHeight of the font selected into the DC.
int GetDCTextHeight(HDC DC);
// tmHeight of the font.
int GetFontHeight(TFont* AFont);
bool GetTextMetricsForFont(TFont* AFont, TEXTMETRICW& AMetrics);
// The extent of the text in the font, or in the font at APointSize when that
// is neither 0 nor the font's own size. An empty text gives (0, 0).
void MeasureTextWithFont(TFont* AFont, const String& AText, int APointSize, TSize& ASize);
int GetTextWidthWithFont(TFont* AFont, const String& AText, int APointSize = 0);
// The width of the text in the font with AStyle in place of its own style.
int GetTextWidthWithFontStyle(TFont* AFont, const String& AText, TFontStyles AStyle);
// DrawTextW of the whole text with AFlags + DT_CALCRECT; AR receives the
// result.
void CalcTextRect(HDC DC, const String& AText, TRect& AR, UINT AFlags);
void CalcTextRectWithFont(TRect& AR, const String& AText, TFont* AFont, UINT AFlags);
// Width and height of the text's DrawText rectangle from (0, 0, 0, 0).
TSize MeasureTextRect(TFont* AFont, const String& AText, UINT AFlags);
// The height DrawTextW reports for the text in (0, 0, AWidth, AHeight)
// (AFlags without DT_VCENTER); 0 for an empty text.
int GetTextHeightInWidth(TFont* AFont, const String& AText, int AWidth, int AHeight, UINT AFlags);

// Computes the rectangle the text needs when laid out with AFlags, starting
// from the rectangle in AR.
using TdxTextRectMeasureProc = void (*)(HDC DC, const String& AText, TRect& AR, UINT AFlags);
// The narrowest rectangle in which the text takes at most ALineCount lines
// (0 or less: up to 32000 pixels high), found by halving the width between
// the widest unbreakable piece and the one-line width. ASetBottom makes the
// result as high as the line limit.
void FitTextToLines(HDC DC, const String& AText, int ALineCount, TdxTextRectMeasureProc AMeasure,
                    UINT ASingleLineFlags, UINT AWrappedFlags, bool ASetBottom, TRect& AResult);

// One rectangle per character (the first ACount of AText) from the system's
// character placement, each from AR's top to its bottom; visual order for
// right-to-left text. AFont, when given, is selected for the call. Empty
// when the system cannot place the text.
std::vector<TRect> GetCharacterRects(HDC DC, const String& AText, int ACount, const TRect& AR, HFONT AFont,
                                     bool ARightToLeft);
// The union of the rectangles of characters AStart .. AStart + ALength - 1
// (within ACount) that have a width; none when there is no such character.
TOwnedRegion CreateTextRegion(HDC DC, const String& AText, int ACount, bool ARightToLeft, HFONT AFont, int ALength,
                              int AStart, const TRect& AR);

// The DC's clip region, or none when it has no clipping.
TOwnedRegion SaveClipRegion(HDC DC);
// Selects ARegion as the clip region (none removes clipping) and frees it.
void RestoreClipRegion(HDC DC, TOwnedRegion ARegion);

// A cursor from a module's resources, at the system's cursor size where the
// system scales cursors (Windows 8 and later).
HCURSOR LoadCursorFromResource(HINSTANCE AInstance, const wchar_t* AName);

// The unit's start-up and shut-down.
void dxCoreGraphicsInitialization();
void dxCoreGraphicsFinalization();
