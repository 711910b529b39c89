#include "tests/support/SampleMetafiles.h"

#include "platform/classes/Streams.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"

#include <cmath>
#include <functional>

namespace {

constexpr int Width = 120;
constexpr int Height = 90;

using TPainter = std::function<void(HDC)>;

std::string Saved(TMetafile* AMetafile, bool AEnhanced) {
  AMetafile->SetEnhanced(AEnhanced);
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  AMetafile->SaveToStream(stream.get());
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}

TSampleMetafile Record(const wchar_t* AName, const TPainter& APaint) {
  TOwned<TMetafile> metafile(New<TMetafile>());
  metafile->SetWidth(Width);
  metafile->SetHeight(Height);
  {
    TOwned<TMetafileCanvas> canvas(New<TMetafileCanvas>(metafile.get(), nullptr));
    APaint(canvas->Handle());
  }
  TSampleMetafile result{AName, Width, Height, Saved(metafile.get(), true), {}};
  result.Wmf = Saved(metafile.get(), false);
  return result;
}

// A new brush, pen or font selected for one drawing call.
template <class THandle>
void With(HDC DC, THandle AObject, const std::function<void()>& ADraw) {
  const TGdiObject<THandle> owned(AObject);
  const TSelectObject selected(DC, owned.Get());
  ADraw();
}

void Shapes(HDC DC) {
  With(DC, CreateSolidBrush(RGB(200, 40, 40)), [&] { Rectangle(DC, 4, 4, 40, 30); });
  With(DC, CreatePen(PS_SOLID, 3, RGB(0, 0, 160)), [&] { Ellipse(DC, 44, 4, 90, 40); });
  With(DC, CreateSolidBrush(RGB(20, 160, 60)), [&] { RoundRect(DC, 4, 40, 50, 80, 12, 8); });
  Pie(DC, 60, 44, 110, 86, 110, 64, 60, 44);
  Chord(DC, 92, 4, 118, 40, 92, 20, 118, 20);
  Arc(DC, 50, 50, 80, 86, 80, 60, 50, 60);
}

void Curves(HDC DC) {
  const POINT star[] = {{60, 5}, {72, 40}, {110, 40}, {80, 60}, {92, 88}, {60, 70}, {28, 88}, {40, 60}, {10, 40}, {48, 40}};
  SetPolyFillMode(DC, WINDING);
  With(DC, CreateSolidBrush(RGB(250, 200, 0)), [&] { Polygon(DC, star, 10); });
  const POINT two[] = {{2, 2}, {20, 2}, {20, 20}, {2, 20}, {6, 6}, {16, 6}, {16, 16}, {6, 16}};
  const INT counts[] = {4, 4};
  SetPolyFillMode(DC, ALTERNATE);
  PolyPolygon(DC, two, counts, 2);
  const POINT bezier[] = {{0, 80}, {30, 40}, {60, 120}, {118, 60}};
  PolyBezier(DC, bezier, 4);
  const POINT line[] = {{100, 2}, {110, 20}, {118, 4}, {104, 30}};
  Polyline(DC, line, 4);
}

void Text(HDC DC) {
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, RGB(0, 90, 200));
  With(DC, CreateFontW(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"),
       [&] { TextOutW(DC, 4, 4, L"Skarn", 5); });
  With(DC, CreateFontW(-12, 0, 450, 450, FW_NORMAL, 1, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"), [&] {
    const INT dx[] = {9, 9, 9, 9, 9, 9};
    ExtTextOutW(DC, 10, 80, 0, nullptr, L"spaced", 6, dx);
    const RECT clip{60, 40, 118, 60};
    ExtTextOutW(DC, 60, 40, ETO_OPAQUE | ETO_CLIPPED, &clip, L"clipped text", 12, nullptr);
  });
}

void Bitmaps(HDC DC) {
  // A 24-bit gradient and an 8-bit palette picture, stretched.
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, 16, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::string rgb(16 * 16 * 3, '\0');
  for (int i = 0; i < 256; ++i) {
    rgb[i * 3] = static_cast<char>(i);
    rgb[i * 3 + 1] = static_cast<char>(255 - i);
    rgb[i * 3 + 2] = static_cast<char>(i * 7);
  }
  StretchDIBits(DC, 2, 2, 48, 48, 0, 0, 16, 16, rgb.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[4];
  } palette{{sizeof(BITMAPINFOHEADER), 8, 8, 1, 8, BI_RGB, 0, 0, 0, 4, 0},
            {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}}};
  std::string indexes(8 * 8, '\0');
  for (int i = 0; i < 64; ++i) indexes[i] = static_cast<char>((i + i / 8) % 4);
  StretchDIBits(DC, 60, 2, 56, 40, 0, 0, 8, 8, indexes.data(), reinterpret_cast<BITMAPINFO*>(&palette), DIB_RGB_COLORS,
                SRCCOPY);
  SetDIBitsToDevice(DC, 60, 50, 16, 16, 0, 0, 0, 16, rgb.data(), &info, DIB_RGB_COLORS);
  const TOwnedBitmap pattern(CreateBitmap(8, 8, 1, 1, "\xAA\0\x55\0\xAA\0\x55\0\xAA\0\x55\0\xAA\0\x55\0"));
  With(DC, CreatePatternBrush(pattern.Get()), [&] { PatBlt(DC, 4, 56, 40, 30, PATCOPY); });
}

void Blending(HDC DC) {
  TMemoryDC source = TMemoryDC::Dib32(DC, 20, 20);
  const TOwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  const RECT all{0, 0, 20, 20};
  FillRect(source.DC(), &all, red.Get());
  const BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  GdiAlphaBlend(DC, 4, 4, 40, 40, source.DC(), 0, 0, 20, 20, half);
  GdiTransparentBlt(DC, 50, 4, 20, 20, source.DC(), 0, 0, 20, 20, RGB(0, 0, 0));
  TRIVERTEX vertices[] = {{4, 50, 0xFF00, 0, 0, 0}, {60, 86, 0, 0, 0xFF00, 0}, {118, 50, 0, 0xFF00, 0, 0}};
  GRADIENT_RECT rect{0, 1};
  GdiGradientFill(DC, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_H);
  GRADIENT_TRIANGLE triangle{0, 1, 2};
  GdiGradientFill(DC, vertices, 3, &triangle, 1, GRADIENT_FILL_TRIANGLE);
}

void Paths(HDC DC) {
  BeginPath(DC);
  MoveToEx(DC, 10, 10, nullptr);
  LineTo(DC, 100, 20);
  ArcTo(DC, 60, 20, 110, 80, 110, 50, 60, 50);
  LineTo(DC, 10, 80);
  CloseFigure(DC);
  EndPath(DC);
  With(DC, CreateSolidBrush(RGB(90, 0, 140)), [&] { StrokeAndFillPath(DC); });
  const TOwnedRegion region(CreateEllipticRgn(20, 20, 100, 70));
  ExtSelectClipRgn(DC, region.Get(), RGN_COPY);
  With(DC, CreateHatchBrush(HS_DIAGCROSS, RGB(0, 120, 0)), [&] { Rectangle(DC, 0, 0, 120, 90); });
  SelectClipRgn(DC, nullptr);
  IntersectClipRect(DC, 0, 0, 60, 45);
  ExcludeClipRect(DC, 10, 10, 20, 20);
  Ellipse(DC, 0, 0, 60, 45);
}

void Mapping(HDC DC) {
  const int saved = SaveDC(DC);
  SetMapMode(DC, MM_ANISOTROPIC);
  SetWindowExtEx(DC, 1000, 1000, nullptr);
  SetViewportExtEx(DC, 120, 90, nullptr);
  SetWindowOrgEx(DC, -100, -100, nullptr);
  Rectangle(DC, 0, 0, 400, 300);
  ScaleViewportExtEx(DC, 1, 2, 1, 2, nullptr);
  Ellipse(DC, 400, 400, 800, 800);
  RestoreDC(DC, saved);
  SaveDC(DC);
  SetGraphicsMode(DC, GM_ADVANCED);
  const double angle = 0.4;
  const XFORM rotate{static_cast<FLOAT>(std::cos(angle)), static_cast<FLOAT>(std::sin(angle)),
                     static_cast<FLOAT>(-std::sin(angle)), static_cast<FLOAT>(std::cos(angle)), 60, 10};
  SetWorldTransform(DC, &rotate);
  With(DC, CreateSolidBrush(RGB(0, 150, 150)), [&] { Rectangle(DC, 0, 0, 40, 20); });
  const XFORM scale{1.5f, 0, 0, 0.5f, 0, 0};
  ModifyWorldTransform(DC, &scale, MWT_LEFTMULTIPLY);
  RoundRect(DC, 0, 30, 40, 60, 10, 10);
  RestoreDC(DC, -1);
  SetViewportOrgEx(DC, 5, 5, nullptr);
  LineTo(DC, 100, 80);
}

void Pens(HDC DC) {
  LOGBRUSH solid{BS_SOLID, RGB(200, 0, 0), 0};
  const DWORD dashes[] = {6, 2, 1, 2};
  With(DC, ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, 3, &solid, 4, dashes), [&] {
    MoveToEx(DC, 4, 10, nullptr);
    LineTo(DC, 116, 10);
  });
  With(DC, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_BEVEL, 9, &solid, 0, nullptr), [&] {
    const POINT zigzag[] = {{10, 30}, {40, 60}, {70, 30}, {100, 60}};
    Polyline(DC, zigzag, 4);
  });
  LOGBRUSH hatch{BS_HATCHED, RGB(0, 0, 200), HS_CROSS};
  With(DC, ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 7, &hatch, 0, nullptr), [&] { Rectangle(DC, 10, 66, 110, 86); });
  With(DC, CreatePen(PS_DASHDOT, 1, RGB(0, 0, 0)), [&] { Ellipse(DC, 20, 20, 100, 80); });
  SetMiterLimit(DC, 4, nullptr);
  SetArcDirection(DC, AD_CLOCKWISE);
  AngleArc(DC, 60, 45, 30, 10, 200);
}

void Regions(HDC DC) {
  const TOwnedRegion a(CreateRectRgn(4, 4, 60, 50));
  const TOwnedRegion b(CreateRoundRectRgn(30, 30, 116, 86, 20, 20));
  const TOwnedRegion both(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(both.Get(), a.Get(), b.Get(), RGN_XOR);
  const TOwnedBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  FillRgn(DC, both.Get(), blue.Get());
  const TOwnedBrush black(CreateSolidBrush(RGB(0, 0, 0)));
  FrameRgn(DC, a.Get(), black.Get(), 2, 2);
  InvertRgn(DC, b.Get());
  SetROP2(DC, R2_XORPEN);
  Rectangle(DC, 20, 20, 80, 60);
  SetROP2(DC, R2_COPYPEN);
  for (int x = 0; x < 40; ++x) SetPixelV(DC, 70 + x, 10 + x / 2, RGB(x * 6, 0, 0));
}

void Chart(HDC DC) {
  // Axes, grid lines, a data line, labels: many small records.
  const TOwnedFont small(CreateFontW(-8, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  const TSelectObject selected(DC, small.Get());
  With(DC, CreatePen(PS_DOT, 1, RGB(180, 180, 180)), [&] {
    for (int x = 10; x < Width; x += 6) {
      MoveToEx(DC, x, 2, nullptr);
      LineTo(DC, x, 80);
    }
  });
  POINT data[50];
  for (int i = 0; i < 50; ++i) data[i] = {10 + i * 2, 40 + static_cast<LONG>(30 * std::sin(i / 5.0))};
  With(DC, CreatePen(PS_SOLID, 2, RGB(220, 80, 0)), [&] { Polyline(DC, data, 50); });
  for (int i = 0; i < 10; ++i) {
    wchar_t label[4] = {static_cast<wchar_t>(L'0' + i), 0};
    TextOutW(DC, 10 + i * 10, 82, label, 1);
    Rectangle(DC, 10 + i * 10, 70 - i * 5, 16 + i * 10, 80);
  }
}

}  // namespace

std::vector<TSampleMetafile> SampleMetafiles() {
  return {Record(L"shapes", Shapes),   Record(L"curves", Curves),   Record(L"text", Text),
          Record(L"bitmaps", Bitmaps), Record(L"blending", Blending), Record(L"paths", Paths),
          Record(L"mapping", Mapping), Record(L"pens", Pens),       Record(L"regions", Regions),
          Record(L"chart", Chart)};
}
