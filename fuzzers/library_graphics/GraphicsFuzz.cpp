// Fuzzing drivers of the graphics layer: colour texts, the text layout and
// drawing engine and scripts of GDI+ canvas operations. Each input must parse or
// raise the documented conversion error, every layout must cover its text
// with rows in order, and a canvas script may meet only the documented GDI+
// and argument errors and must leave no GDI+ object behind. The pixel-buffer
// drivers are in PixelsFuzz.cpp, the image codecs' in ImageCodecsFuzz.cpp,
// the compressed bitmap data in BitmapDataFuzz.cpp, the image list's
// stream in ImageListFuzz.cpp.
#include "fuzzers/library_graphics/BitmapDataFuzz.h"
#include "fuzzers/library_graphics/Direct2DCanvasFuzz.h"
#include "fuzzers/library_graphics/ImageCodecsFuzz.h"
#include "fuzzers/library_graphics/ImageListFuzz.h"
#include "fuzzers/library_graphics/PixelsFuzz.h"
#include "fuzzers/support/FormatMutators.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/ui/UiUnits.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

namespace {

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
        FuzzInvariantBroken("hexadecimal text does not read back");
    } catch (const EConvertError&) {
    }
  }
  try {
    const TdxAlphaColor color = TdxAlphaColors::CssTextToAlphaColor(text) | 0xFF000000u;
    if (TdxAlphaColors::CssTextToAlphaColor(TdxAlphaColors::AlphaColorToText(color, false)) != color)
      FuzzInvariantBroken("colour text does not read back");
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

// The input of the layout drivers.
struct TLayoutInput {
  std::uint32_t Flags = 0;
  int Width = 0;
  int Height = 0;
  int MaxRows = 0;
  String Text;
};

std::optional<TLayoutInput> ReadLayoutInput(const std::string& AInput) {
  if (AInput.size() < 9) return std::nullopt;
  const auto int16At = [&AInput](std::size_t AIndex) {
    return static_cast<int>(static_cast<std::int16_t>(static_cast<unsigned char>(AInput[AIndex]) |
                                                      (static_cast<unsigned char>(AInput[AIndex + 1]) << 8)));
  };
  TLayoutInput result;
  std::memcpy(&result.Flags, AInput.data(), 4);
  result.Width = int16At(4);
  result.Height = int16At(6);
  result.MaxRows = static_cast<signed char>(AInput[8]);
  result.Text = WideOf(AInput, 9);
  return result;
}

void Layout(const std::string& AInput) {
  static TLayoutDC dc;
  const std::optional<TLayoutInput> input = ReadLayoutInput(AInput);
  if (!input) return;
  const std::uint32_t flags = input->Flags;
  const int width = input->Width;
  const int height = input->Height;
  const int maxRows = input->MaxRows;
  const String& text = input->Text;

  TcxTextParams params;
  CalcTextParamsForDC(dc.DC.Get(), flags, 1.0 + (flags >> 28) / 4.0, params);
  TcxTextRows rows;
  int count = 0;
  const TRect bounds(0, 0, width, height);
  BreakTextIntoRows(dc.DC.Get(), text.c_str(), static_cast<int>(text.size()), bounds, params, rows, count, maxRows);
  CalcTextRowPositions(dc.DC.Get(), bounds, params, rows, count);
  if (maxRows > 0 && count > maxRows) FuzzInvariantBroken("more rows than the limit");
  int lastEnd = 0;
  for (int i = 0; i < count; ++i) {
    const TcxTextRow& row = rows[i];
    if (row.StartOffset < lastEnd || row.Text != text.c_str() + row.StartOffset) FuzzInvariantBroken("rows out of order");
    if (row.TextLength < 0 || row.StartOffset + row.TextLength > static_cast<int>(text.size())) FuzzInvariantBroken("a row outside the text");
    lastEnd = row.StartOffset + row.TextLength;
  }
  if (count > 0 && GetMaxTextRowWidth(rows, count) < 0) FuzzInvariantBroken("a negative width");
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

// ---------------------------------------------------------------------------
// Text drawing: the layout's input drawn with the engine onto a 64 x 64
// surface, with a highlight made of the column's and height's low bits. The
// DC keeps its font, colours, modes and clip region.

struct TDrawingDC {
  TMemoryDC Surface{TMemoryDC::Dib32(nullptr, 64, 64)};
  TOwnedFont Font{CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")};
  TSelectObject Selected{Surface.DC(), Font.Get()};
};

void Drawing(const std::string& AInput) {
  static TDrawingDC drawing;
  const std::optional<TLayoutInput> input = ReadLayoutInput(AInput);
  if (!input) return;
  const HDC dc = drawing.Surface.DC();

  const HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  const COLORREF color = GetTextColor(dc);
  const int mode = GetBkMode(dc);
  const UINT align = GetTextAlign(dc);
  TRect r(2, 2, 2 + input->Width, 2 + input->Height);
  DrawTextFormatted(dc, input->Text, r, input->Flags, input->Width & 7, input->Height & 7, nullptr, clHighlight,
                    clHighlightText, input->MaxRows, 1, 1, clDefault, 1.0 + (input->Flags >> 28) / 4.0);
  const TOwnedRegion clip(CreateRectRgn(0, 0, 0, 0));
  if (GetCurrentObject(dc, OBJ_FONT) != font || GetTextColor(dc) != color || GetBkMode(dc) != mode ||
      GetTextAlign(dc) != align)
    FuzzInvariantBroken("the DC's font, colour or modes changed");
  if (GetClipRgn(dc, clip.Get()) != 0) FuzzInvariantBroken("a clip region was left behind");
}


// ---------------------------------------------------------------------------
// Canvas scripts: one opcode byte per operation, followed by its arguments
// (coordinates as 128ths of a pixel within +-256, integers as bytes around
// 0, scale factors of 0.25 to 2 either way). Operations act on a canvas over
// a 64 x 64 DIB, or on the shared paint canvas while a paint is open.
// Coordinates stay finite and moderate, angles whole, transforms regular and
// donut slices unoutlined: Wine's GDI+ itself does not return from outlining
// a shape at infinite, NaN or far-away (1e7) coordinates, under a transform
// that flattens the plane, or along some tiny arcs (a donut slice closes
// with an arc of 0.001 degrees).

class TCanvasScript {
 public:
  explicit TCanvasScript(const std::string& AInput) : FInput(AInput) {}

  void Run(HDC DC) {
    const TOwned<TdxGPCanvas> own(New<TdxGPCanvas>(DC));
    TdxGPPaintCanvas* paint = SharedGPPaintCanvas();
    int paints = 0;
    while (FAt < FInput.size()) {
      TdxGPCanvas* canvas = paints > 0 ? paint : own.get();
      const int op = Byte() % 27;
      try {
        if (op == 21) {
          paint->BeginPaint(DC, IntRect());
          ++paints;
        } else if (op == 22) {
          if (paints > 0) {
            --paints;
            paint->EndPaint();
          }
        } else {
          Step(canvas, op);
        }
      } catch (const EdxGdipException&) {
      } catch (const EArgumentOutOfRangeException&) {
      }
    }
    while (paints-- > 0) paint->EndPaint();
  }

 private:
  std::uint8_t Byte() { return FAt < FInput.size() ? static_cast<std::uint8_t>(FInput[FAt++]) : 0; }
  float Float() {
    const auto low = Byte();
    return static_cast<std::int16_t>(low | Byte() << 8) / 128.0f;
  }
  float Angle() { return static_cast<float>(static_cast<std::int8_t>(Byte()) * 3); }
  // 0.25 to 2, either sign: never a singular transform.
  float Factor() {
    const std::uint8_t value = Byte();
    return (value & 0x80 ? -1.0f : 1.0f) * static_cast<float>(1 + value % 8) / 4;
  }
  int Int() { return static_cast<std::int8_t>(Byte()); }
  TdxRectF FloatRect() { return TdxRectF(Float(), Float(), Float(), Float()); }
  TRect IntRect() { return TRect(Int(), Int(), Int(), Int()); }
  TdxAlphaColor Color() { return Byte() % 3 == 0 ? 0 : 0xFF000000u | Byte() << 16 | Byte(); }
  std::vector<TdxPointF> Points() {
    std::vector<TdxPointF> result(Byte() % 6);
    for (TdxPointF& point : result) point = TdxPointF(Float(), Float());
    return result;
  }

  void Step(TdxGPCanvas* C, int AOp) {
    static const TOwned<TdxGPFont> font(TdxGPFont::SafeCreate(L"Tahoma", 9));
    const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
    brush->SetColor(Color());
    if (Byte() % 2) {
      brush->SetStyle(gpbsGradient);
      brush->GradientPoints()->Add(0.5f, Color());
    }
    const TOwned<TdxGPPen> pen(New<TdxGPPen>(Color(), Float()));
    switch (AOp) {
      case 0: C->SaveClipRegion(); break;
      case 1: C->RestoreClipRegion(); break;
      case 2: C->SetClipRect(FloatRect(), static_cast<TdxGPCombineMode>(Byte() % 6)); break;
      case 3: C->SaveWorldTransform(); break;
      case 4: C->RestoreWorldTransform(); break;
      case 5: C->TranslateWorldTransform(Float(), Float()); break;
      case 6: C->ScaleWorldTransform(Factor(), Factor(), TdxPointF(Float(), Float())); break;
      case 7: C->RotateWorldTransform(Angle(), TdxPointF(Float(), Float()), static_cast<TdxGpMatrixOrder>(Byte() % 2)); break;
      case 8: C->FlipWorldTransform(Byte() % 2, Byte() % 2, Float(), Float()); break;
      case 9: C->Ellipse(FloatRect(), Color(), Color(), Float(), static_cast<TPenStyle>(Byte() % 9)); break;
      case 10: C->Pie(IntRect(), Angle(), Angle(), Color(), Color(), Float(), psSolid); break;
      case 11: C->Arc(IntRect(), TPoint(Int(), Int()), TPoint(Int(), Int()), Color(), Float(), psDash); break;
      case 12: C->Line(Float(), Float(), Float(), Float(), pen.get()); break;
      case 13: C->Polygon(Points(), pen.get(), brush.get()); break;
      case 14: C->Polyline(Points(), pen.get()); break;
      case 15: C->RoundRect(IntRect(), pen.get(), brush.get(), Int(), Int()); break;
      case 16: C->FillRectangleByGradient(FloatRect(), Color(), Color(), static_cast<TdxGPBrushGradientMode>(Byte() % 4)); break;
      case 17: C->DonutSlice(FloatRect(), Angle(), Angle(), Float(), brush.get(), nullptr); break;
      case 18: C->Draw(Image(), FloatRect(), FloatRect(), Byte()); break;
      case 19: C->DrawTile(Image(), IntRect(), IntRect(), Byte()); break;
      case 20: {
        const String text(Byte() % 8, static_cast<wchar_t>(L'a' + Byte() % 26));
        C->DrawString(text, font.get(), brush.get(), FloatRect());
        C->MeasureString(text, font.get(), Float());
        break;
      }
      case 23: PaintGPMirroredIfRightToLeft(C, IntRect(), Byte() % 2, [&] { C->Rectangle(IntRect(), Color(), Color(), 1, psSolid); }); break;
      case 24:
        C->SetSmoothingMode(static_cast<TdxGPSmoothingMode>(Byte() % 5));
        C->SetInterpolationMode(static_cast<TdxGPInterpolationMode>(Byte() % 8));
        C->SetPixelOffsetMode(static_cast<TdxGpPixelOffsetMode>(Byte() % 5));
        break;
      case 25: {
        TRect bounds;
        C->GetClipBounds(bounds);
        C->GetClipGdiRegion();
        C->IsClipEmpty();
        break;
      }
      case 26: {
        std::vector<TdxPointF> points = Points();
        C->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, points);
        break;
      }
    }
  }

  static GpImage* Image() {
    static const TdxGpOwnedImage image = [] {
      TdxGpOwnedImage result = CreateGdipBitmap(5, 7);
      GdipBitmapSetPixel(static_cast<GpBitmap*>(result.Get()), 2, 3, 0x80FF0000);
      return result;
    }();
    return image.Get();
  }

  const std::string& FInput;
  std::size_t FAt = 0;
};

// The GDI+ objects that only a script makes: none may outlive it.
int ScriptObjectCount() {
  int result = 0;
  for (TdxGpObjectKind kind : {TdxGpObjectKind::Graphics, TdxGpObjectKind::Region, TdxGpObjectKind::Matrix,
                               TdxGpObjectKind::Path})
    result += TdxGdiPlusLibrary::ObjectCount(kind);
  return result;
}

void CanvasScript(const std::string& AInput) {
  static const TMemoryDC surface = TMemoryDC::Dib32(nullptr, 64, 64);
  const int before = ScriptObjectCount();
  TCanvasScript(AInput).Run(surface.DC());
  // The shared canvas keeps what a script saved on its stacks and left there.
  dxGDIPlusClassesFreePaintCanvases();
  if (ScriptObjectCount() != before) FuzzInvariantBroken("a canvas script left GDI+ objects behind");
}

std::vector<std::string> CanvasSeeds() {
  const auto floats = [](std::initializer_list<float> AValues) {
    std::string bytes;
    for (float value : AValues) {
      const auto fixed = static_cast<std::int16_t>(value * 128);
      bytes += static_cast<char>(fixed & 0xFF);
      bytes += static_cast<char>(fixed >> 8);
    }
    return bytes;
  };
  const auto op = [](int ACode, const std::string& AArgs = {}) { return std::string(1, static_cast<char>(ACode)) + AArgs; };
  // Every operation first takes its brush colour (two bytes), gradient flag and pen.
  const std::string tools = std::string("\x01\x10\x00\x00", 4) + "\x01\x20\x30" + floats({1.5f});
  return {
      op(0, tools) + op(2, tools + floats({1, 1, 30, 30}) + "\x01") + op(9, tools + floats({0, 0, 20, 20}) + "\x01\x40\x50\x01\x60\x70") +
          floats({2}) + "\x00" + op(1, tools),
      op(3, tools) + op(5, tools + floats({3, 4})) + op(7, tools + floats({30, 10, 10}) + "\x01") + op(13, tools + "\x03" + floats({0, 0, 20, 0, 10, 20})) +
          op(4, tools),
      op(21, std::string("\x02\x02\x30\x30", 4)) + op(18, tools + floats({0, 0, 40, 40, 0, 0, 5, 7}) + "\x80") + op(21, std::string("\x00\x00\x10\x10", 4)) +
          op(19, tools + std::string("\x00\x00\x30\x30\x00\x00\x05\x07\xFF", 9)) + op(22) + op(22),
      op(17, tools + floats({0, 0, 40, 30, 10, 200, 50})) + op(23, tools + std::string("\x00\x00\x40\x10\x01\x05\x05\x20\x08\x01\x10\x00\x00", 13)) +
          op(20, tools + "\x05\x03" + floats({0, 0, 60, 20, 30})) + op(16, tools + floats({0, 0, 30, 30}) + "\x01\x10\x20\x01\x30\x40\x02"),
      op(24, tools + "\x04\x05\x04") + op(26, tools + "\x02" + floats({1, 2, 3, 4})) + op(25, tools) + op(6, tools + "\x80\xC0" + floats({10, 10})) +
          op(15, tools + std::string("\x00\x00\x20\x20\x05\x05", 6)) + op(8, tools + "\x01\x00" + floats({20, 0})),
  };
}

const TFuzzDriver Drivers[] = {
    {L"colour-text", ColorSeeds, ColorText},
    {L"text-layout", LayoutSeeds, Layout},
    {L"text-drawing", LayoutSeeds, Drawing},
    {L"smooth-resize", SmoothResizeSeeds, SmoothResizeInput},
    {L"flood-fill", FloodFillSeeds, FloodFillInput},
    {L"gp-canvas", CanvasSeeds, CanvasScript},
    {L"bmp-header", BmpSeeds, ParseBmpHeader},
    {L"memory-bitmap-header", BmpSeeds, ParseMemoryBitmapHeader},
    {L"png-header", PngSeeds, ParsePngHeader},
    {L"tiff-header", TiffSeeds, ParseTiffHeader},
    {L"gif-header", GifSeeds, ParseGifHeader},
    {L"jpeg-header", JpegSeeds, ParseJpegHeader},
    {L"emf-header", EmfSeeds, ParseEmfHeader},
    {L"wmf-header", WmfSeeds, ParseWmfHeader},
    {L"smart-image", ImageSeeds, LoadSmartImage},
    {L"png", PngSeeds, LoadSmartImage, MutatePng},
    {L"gif", GifSeeds, LoadSmartImage, MutateGif},
    {L"jpeg", JpegSeeds, LoadSmartImage, MutateJpeg},
    {L"tiff", TiffSeeds, LoadSmartImage, MutateTiff},
    {L"bmp", BmpSeeds, LoadSmartImage},
    {L"emf", EmfSeeds, LoadSmartImage, MutateEmf},
    {L"wmf", WmfSeeds, LoadSmartImage, MutateWmf},
    {L"bitmap-form-data", BitmapFormDataSeeds, BitmapFormDataInput},
    {L"bitmap-payload", BitmapPayloadSeeds, BitmapPayloadInput},
    {L"dxil-stream", ImageListStreamSeeds, ImageListStreamInput},
    {L"imagelist-form", ImageListFormSeeds, ImageListFormInput, MutateFormText},
    {L"d2d-canvas", Direct2DCanvasSeeds, Direct2DCanvasScript},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  const int result = RunFuzzDrivers(argc, argv, Drivers);
  Direct2DCanvasFuzzDone();
  FinalizeUnits();
  return result;
}
