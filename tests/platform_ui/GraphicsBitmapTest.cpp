#include "platform/classes/Streams.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Graphics.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// Frees the bitmaps of a test.
struct TBitmaps {
  std::vector<TOwned<TBitmap>> Items;
  TBitmap* Make(TPixelFormat AFormat = pf24bit, int W = 0, int H = 0) {
    TBitmap* b = Items.emplace_back(New<TBitmap>()).get();
    if (AFormat != pfDevice) b->SetPixelFormat(AFormat);
    b->SetSize(W, H);
    return b;
  }
};

// A recognisable picture: four coloured quadrants.
void PaintQuadrants(TBitmap* B) {
  const int w = B->Width(), h = B->Height();
  TCanvas* c = B->Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(TRect(0, 0, w / 2, h / 2));
  c->Brush()->SetColor(clLime);
  c->FillRect(TRect(w / 2, 0, w, h / 2));
  c->Brush()->SetColor(clBlue);
  c->FillRect(TRect(0, h / 2, w / 2, h));
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect(w / 2, h / 2, w, h));
}

void ExpectQuadrants(TBitmap* B) {
  const int w = B->Width(), h = B->Height();
  EXPECT_EQ(B->Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(B->Canvas()->Pixels(w - 1, 0), clLime);
  EXPECT_EQ(B->Canvas()->Pixels(0, h - 1), clBlue);
  EXPECT_EQ(B->Canvas()->Pixels(w - 1, h - 1), clWhite);
}

TBytes SaveBytes(TGraphic* G) {
  const TOwned<TBytesStream> s(New<TBytesStream>());
  G->SaveToStream(s.get());
  return TBytes(s->Bytes().begin(), s->Bytes().begin() + s->Size());
}

void LoadBytes(TGraphic* G, const TBytes& ABytes) {
  const TOwned<TBytesStream> s(New<TBytesStream>(ABytes));
  G->LoadFromStream(s.get());
}

TEST(GraphicsBitmap, NewBitmapIsEmptyAndDeviceDependent) {
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pfDevice);
  EXPECT_TRUE(b->Empty());
  EXPECT_EQ(b->Handle(), nullptr);
  EXPECT_EQ(b->PixelFormat(), pfDevice);
  b->SetSize(4, 3);
  EXPECT_FALSE(b->Empty());
  EXPECT_NE(b->Handle(), nullptr);
  EXPECT_EQ(b->HandleType(), bmDDB);
}

struct TFormatCase {
  TPixelFormat Format;
  int Bits;
};

class GraphicsBitmapFormats : public testing::TestWithParam<TFormatCase> {};

TEST_P(GraphicsBitmapFormats, ScanLinesAreRowsOfTheFormatTopFirst) {
  const TFormatCase& c = GetParam();
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(c.Format, 13, 5);
  EXPECT_EQ(b->PixelFormat(), c.Format);
  EXPECT_EQ(b->HandleType(), bmDIB);
  EXPECT_EQ(b->ScanLineStride(), ((13 * c.Bits + 31) / 32) * 4);
  b->Canvas()->Brush()->SetColor(clBlack);
  b->Canvas()->FillRect(TRect(0, 0, 13, 5));
  b->Canvas()->SetPixels(0, 1, clWhite);
  // The white pixel is the first one of the second row, whatever its encoding.
  const auto* row1 = static_cast<const std::uint8_t*>(b->ScanLine(1));
  const auto* row0 = static_cast<const std::uint8_t*>(b->ScanLine(0));
  EXPECT_NE(row1[0], 0) << "second row";
  EXPECT_EQ(row0[0], 0) << "first row";
  EXPECT_THROW(b->ScanLine(5), EInvalidGraphicOperation);
  EXPECT_THROW(b->ScanLine(-1), EInvalidGraphicOperation);
}

TEST_P(GraphicsBitmapFormats, BmpRoundTripKeepsPixelsAndFormat) {
  const TFormatCase& c = GetParam();
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(c.Format, 10, 6);
  PaintQuadrants(b);
  if (c.Format == pf1bit) {
    b->Canvas()->Brush()->SetColor(clBlack);
    b->Canvas()->FillRect(TRect(0, 0, 5, 6));
  }
  const TBytes bytes = SaveBytes(b);
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  TBitmap* copy = bitmaps.Make(pfDevice);
  LoadBytes(copy, bytes);
  EXPECT_EQ(copy->PixelFormat(), c.Format);
  ASSERT_EQ(copy->Width(), 10);
  ASSERT_EQ(copy->Height(), 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      SCOPED_TRACE(testing::Message() << x << "," << y);
      ASSERT_EQ(copy->Canvas()->Pixels(x, y), b->Canvas()->Pixels(x, y));
    }
  // Saving again gives the same file.
  EXPECT_EQ(SaveBytes(copy), bytes);
}

INSTANTIATE_TEST_SUITE_P(All, GraphicsBitmapFormats,
                         testing::Values(TFormatCase{pf1bit, 1}, TFormatCase{pf4bit, 4}, TFormatCase{pf8bit, 8},
                                         TFormatCase{pf15bit, 16}, TFormatCase{pf16bit, 16},
                                         TFormatCase{pf24bit, 24}, TFormatCase{pf32bit, 32}),
                         [](const auto& info) { return "bits" + std::to_string(info.param.Bits) + "_" +
                                                       std::to_string(static_cast<int>(info.param.Format)); });

TEST(GraphicsBitmap, AlphaSurvivesTheBmpRoundTrip) {
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pf32bit, 3, 2);
  for (int y = 0; y < 2; ++y) {
    auto* px = static_cast<std::uint32_t*>(b->ScanLine(y));
    for (int x = 0; x < 3; ++x) px[x] = static_cast<std::uint32_t>((x * 40 + y * 100) << 24 | (x << 16) | y);
  }
  TBitmap* copy = bitmaps.Make(pfDevice);
  LoadBytes(copy, SaveBytes(b));
  ASSERT_EQ(copy->PixelFormat(), pf32bit);
  for (int y = 0; y < 2; ++y)
    EXPECT_EQ(std::memcmp(copy->ScanLine(y), b->ScanLine(y), 12), 0) << "row " << y;
}

TEST(GraphicsBitmap, SetSizeKeepsThePixelsThatFit) {
  TBitmaps bitmaps;
  for (TPixelFormat f : {pf24bit, pfDevice}) {
    SCOPED_TRACE(static_cast<int>(f));
    TBitmap* b = bitmaps.Make(f, 10, 10);
    PaintQuadrants(b);
    b->SetSize(20, 6);
    EXPECT_EQ(b->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b->Canvas()->Pixels(9, 0), clLime);
    EXPECT_EQ(b->Canvas()->Pixels(0, 5), clBlue);
    EXPECT_EQ(b->Canvas()->Pixels(15, 3), clBlack) << "new pixels are zero";
    b->SetSize(0, 6);
    EXPECT_TRUE(b->Empty());
    EXPECT_EQ(b->Handle(), nullptr);
  }
}

TEST(GraphicsBitmap, PixelFormatChangesKeepColours) {
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pf32bit, 8, 8);
  PaintQuadrants(b);
  for (TPixelFormat f : {pf24bit, pf16bit, pf8bit, pfDevice, pf32bit}) {
    SCOPED_TRACE(static_cast<int>(f));
    b->SetPixelFormat(f);
    EXPECT_EQ(b->PixelFormat(), f);
    ExpectQuadrants(b);
  }
  EXPECT_THROW(b->SetPixelFormat(pfCustom), EInvalidGraphic);
  ExpectQuadrants(b);
}

TEST(GraphicsBitmap, ScanLineOfADeviceBitmapTurnsItIntoADib) {
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pfDevice, 4, 4);
  PaintQuadrants(b);
  ASSERT_EQ(b->HandleType(), bmDDB);
  ASSERT_NE(b->ScanLine(0), nullptr);
  EXPECT_EQ(b->HandleType(), bmDIB);
  ExpectQuadrants(b);
}

TEST(GraphicsBitmap, AssignCopiesPixelsIndependently) {
  TBitmaps bitmaps;
  for (TPixelFormat f : {pf8bit, pf24bit, pf32bit, pfDevice}) {
    SCOPED_TRACE(static_cast<int>(f));
    TBitmap* a = bitmaps.Make(f, 6, 4);
    PaintQuadrants(a);
    a->SetTransparentColor(clLime);
    TBitmap* b = bitmaps.Make(pfDevice);
    b->Assign(a);
    EXPECT_EQ(b->PixelFormat(), f);
    EXPECT_EQ(b->TransparentColor(), clLime);
    ExpectQuadrants(b);
    EXPECT_NE(b->Handle(), a->Handle());
    b->Canvas()->SetPixels(0, 0, clYellow);
    EXPECT_EQ(a->Canvas()->Pixels(0, 0), clRed);
  }
  TBitmap* c = bitmaps.Make(pf24bit, 3, 3);
  c->Assign(nullptr);
  EXPECT_TRUE(c->Empty());
}

TEST(GraphicsBitmap, DrawAndStretchDrawCopyPixels) {
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pf24bit, 4, 4);
  PaintQuadrants(b);
  TPixelSurface surface(20, 20);
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(surface.DC());
  canvas->Draw(1, 2, b);
  EXPECT_EQ(surface.Count(TRect(1, 2, 3, 4), RGB(255, 0, 0)), 4);
  EXPECT_EQ(surface.BoundsOf(RGB(0, 0, 255)), TRect(1, 4, 3, 6));
  surface.Fill(RGB(0, 0, 0));
  canvas->StretchDraw(TRect(10, 10, 18, 18), b);
  EXPECT_EQ(surface.Count(RGB(255, 0, 0)), 16);
  EXPECT_EQ(surface.BoundsOf(RGB(0, 255, 0)), TRect(14, 10, 18, 14));
  canvas->Free();
}

TEST(GraphicsBitmap, TransparentDrawLeavesTheKeyColourOut) {
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pf24bit, 4, 4);
  b->Canvas()->Brush()->SetColor(clFuchsia);
  b->Canvas()->FillRect(TRect(0, 0, 4, 4));
  b->Canvas()->SetPixels(1, 1, clBlue);
  b->SetTransparent(true);
  EXPECT_EQ(b->TransparentMode(), tmAuto);
  EXPECT_EQ(b->TransparentColor(), clFuchsia) << "the bottom-left pixel";
  TPixelSurface surface(8, 8, White);
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(surface.DC());
  canvas->Draw(2, 2, b);
  EXPECT_EQ(surface.Count(RGB(255, 0, 255)), 0);
  EXPECT_EQ(surface.Pixel(3, 3), RGB(0, 0, 255));
  EXPECT_EQ(surface.Count(White), 63);
  // A fixed colour.
  b->SetTransparentColor(clBlue);
  EXPECT_EQ(b->TransparentMode(), tmFixed);
  surface.Fill(White);
  canvas->Draw(2, 2, b);
  EXPECT_EQ(surface.Pixel(3, 3), White);
  EXPECT_EQ(surface.Count(RGB(255, 0, 255)), 15);
  canvas->Free();
}

TEST(GraphicsBitmap, AlphaFormatsBlend) {
  TBitmaps bitmaps;
  TPixelSurface surface(4, 1, White);
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(surface.DC());
  struct Case { TAlphaFormat Format; std::uint32_t Pixel; COLORREF Expected; int Tolerance; };
  const Case cases[] = {
      {afIgnored, 0x80FF0000, RGB(255, 0, 0), 0},       // alpha ignored: plain copy
      {afDefined, 0x800000FF, RGB(127, 127, 255), 2},   // straight half-blue over white
      {afPremultiplied, 0x80000080, RGB(127, 127, 255), 2},
      {afDefined, 0x00FF0000, White, 0},                // fully transparent
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Format << " " << std::hex << c.Pixel);
    TBitmap* b = bitmaps.Make(pf32bit, 1, 1);
    *static_cast<std::uint32_t*>(b->ScanLine(0)) = c.Pixel;
    b->SetAlphaFormat(c.Format);
    surface.Fill(White);
    canvas->Draw(0, 0, b);
    const COLORREF got = surface.Pixel(0, 0);
    EXPECT_NEAR(GetRValue(got), GetRValue(c.Expected), c.Tolerance);
    EXPECT_NEAR(GetGValue(got), GetGValue(c.Expected), c.Tolerance);
    EXPECT_NEAR(GetBValue(got), GetBValue(c.Expected), c.Tolerance);
  }
  canvas->Free();
}

TEST(GraphicsBitmap, CanvasDrawingFiresOnChange) {
  struct TCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
  } counter;
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pf24bit, 4, 4);
  b->SetOnChange(BindEvent<&TCounter::Changed>(&counter));
  b->SetModified(false);
  b->Canvas()->FillRect(TRect(0, 0, 2, 2));
  EXPECT_EQ(counter.Count, 1);
  EXPECT_TRUE(b->Modified());
  b->SetSize(4, 4);
  EXPECT_EQ(counter.Count, 1) << "the same size is no change";
  b->SetSize(5, 4);
  EXPECT_EQ(counter.Count, 2);
}

TEST(GraphicsBitmap, SetHandleAndReleaseHandleHandOwnership) {
  TBitmaps bitmaps;
  HBITMAP ddb = CreateCompatibleBitmap(TScreenDC().Get(), 7, 3);
  TBitmap* b = bitmaps.Make(pfDevice);
  b->SetHandle(ddb);
  EXPECT_EQ(b->Width(), 7);
  EXPECT_EQ(b->Height(), 3);
  EXPECT_EQ(b->PixelFormat(), pfDevice);
  b->Canvas()->FillRect(TRect(0, 0, 7, 3));
  const TOwnedBitmap released(b->ReleaseHandle());
  EXPECT_EQ(released.Get(), ddb);
  EXPECT_TRUE(b->Empty());
  EXPECT_TRUE(GdiObjectAlive(released.Get())) << "the caller owns it now";
  // It can be selected elsewhere: the canvas let go of it.
  EXPECT_TRUE(TBitmapDC(released.Get()));

  // A top-down DIB section keeps its row order.
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  static_cast<std::uint32_t*>(bits)[0] = 0x00FF0000;  // top-left red
  static_cast<std::uint32_t*>(bits)[3] = 0x000000FF;  // bottom-right blue
  TBitmap* t = bitmaps.Make(pfDevice);
  t->SetHandle(dib);
  EXPECT_EQ(t->PixelFormat(), pf32bit);
  EXPECT_EQ(*static_cast<std::uint32_t*>(t->ScanLine(0)), 0x00FF0000u);
  EXPECT_EQ(static_cast<std::uint32_t*>(t->ScanLine(1))[1], 0x000000FFu);
  EXPECT_EQ(t->Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(t->Canvas()->Pixels(1, 1), clBlue);
  EXPECT_THROW(t->SetHandle(reinterpret_cast<HBITMAP>(static_cast<ULONG_PTR>(0x4321))), EInvalidGraphic);
  EXPECT_EQ(t->Handle(), dib) << "a bad handle changes nothing";
}

TEST(GraphicsBitmap, FormDataIsALengthAndABmpFile) {
  TBitmaps bitmaps;
  TBitmap* b = bitmaps.Make(pf24bit, 3, 3);
  PaintQuadrants(b);
  const TBytes file = SaveBytes(b);
  struct TAccess : TBitmap {
    static void Write(TBitmap* B, TStream* S) { static_cast<TAccess*>(B)->WriteData(S); }
    static void Read(TBitmap* B, TStream* S) { static_cast<TAccess*>(B)->ReadData(S); }
  };
  TOwned<TBytesStream> sOwner(New<TBytesStream>());
  TBytesStream* s = sOwner.get();
  TAccess::Write(b, s);
  ASSERT_EQ(s->Size(), static_cast<std::int64_t>(file.size() + 4));
  std::int32_t length = 0;
  std::memcpy(&length, s->Memory(), 4);
  EXPECT_EQ(length, static_cast<std::int32_t>(file.size()));
  // Reading stops at the length, whatever follows.
  const std::uint8_t trailer[3] = {1, 2, 3};
  s->WriteBuffer(trailer, 3);
  s->SetPosition(0);
  TBitmap* copy = bitmaps.Make(pfDevice);
  TAccess::Read(copy, s);
  EXPECT_EQ(s->Position(), static_cast<std::int64_t>(file.size() + 4));
  ExpectQuadrants(copy);
  // A length beyond the stream is a read error, and nothing changes.
  s->SetPosition(0);
  const std::int32_t tooLong = 1 << 20;
  s->WriteBufferData(tooLong);
  s->SetPosition(0);
  EXPECT_THROW(TAccess::Read(copy, s), EReadError);
  ExpectQuadrants(copy);
  sOwner.reset();
}

TEST(GraphicsBitmap, CreateAndFreeLeaksNoGdiObjects) {
  auto cycle = [] {
    TBitmaps bitmaps;
    for (TPixelFormat f : {pfDevice, pf1bit, pf8bit, pf24bit, pf32bit}) {
      TBitmap* b = bitmaps.Make(f, 9, 9);
      PaintQuadrants(b);
      b->Canvas()->TextOut(0, 0, L"x");
      TBitmap* c = bitmaps.Make(pfDevice);
      c->Assign(b);
      LoadBytes(c, SaveBytes(b));
      c->SetSize(3, 3);
      c->SetAlphaFormat(afDefined);
      TPixelSurface surface(10, 10);
      TCanvas* canvas = New<TCanvas>();
      canvas->SetHandle(surface.DC());
      canvas->Draw(0, 0, c);
      canvas->Free();
    }
  };
  cycle();
  const int before = GdiObjectCount();
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
