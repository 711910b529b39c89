#include "library/graphics/imaging/dxPixelBuffers.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <functional>
#include <map>
#include <string>

using namespace Gdiplus;

namespace {

// Both kinds of buffer run every shared test. Each test runs inside the
// GDI+ leak check, so a GDI+ buffer must give its bitmap and its reference
// on the binding back when it is freed.
struct TFastDIBKind {
  const char* Name;
  TdxCustomFastDIB* (*Make)(int AWidth, int AHeight, bool AClear);
};

const TFastDIBKind FastDIBKinds[] = {
    {"TdxFastDIB", [](int W, int H, bool C) -> TdxCustomFastDIB* { return New<TdxFastDIB>(W, H, C); }},
    {"TdxGpFastDIB", [](int W, int H, bool C) -> TdxCustomFastDIB* { return New<TdxGpFastDIB>(W, H, C); }},
};

// Pictures of small buffers, a character per pixel.
const std::map<char, TdxAlphaColor> PictureColors = {
    {'.', 0xFF202020}, {'#', 0xFFC0C0C0}, {'o', 0xFF222121}, {'F', 0xFF0000FF}, {'x', 0x00000000},
};

class FastDIB : public GdiPlusTest, public testing::WithParamInterface<TFastDIBKind> {
 protected:
  void TearDown() override {
    FBuffer.reset();
    GdiPlusTest::TearDown();
  }

  TdxCustomFastDIB* Make(int AWidth, int AHeight, bool AClear = false) {
    FBuffer.reset(GetParam().Make(AWidth, AHeight, AClear));
    return FBuffer.get();
  }
  // A buffer holding the picture, rows separated by '\n'.
  TdxCustomFastDIB* MakePicture(const std::string& APicture) {
    const int width = static_cast<int>(APicture.find('\n'));
    const int height = static_cast<int>(std::count(APicture.begin(), APicture.end(), '\n'));
    TdxCustomFastDIB* buffer = Make(width, height);
    int y = 0;
    int x = 0;
    for (char c : APicture) {
      if (c == '\n') {
        ++y;
        x = 0;
        continue;
      }
      *buffer->GetPixel(x++, y) = std::bit_cast<RGBQUAD>(PictureColors.at(c));
    }
    return buffer;
  }
  std::string Picture() const {
    std::string result;
    for (int y = 0; y < FBuffer->Height(); ++y) {
      for (int x = 0; x < FBuffer->Width(); ++x) {
        const auto color = std::bit_cast<TdxAlphaColor>(*FBuffer->GetPixel(x, y));
        char c = '?';
        for (const auto& [name, value] : PictureColors)
          if (value == color) c = name;
        result += c;
      }
      result += '\n';
    }
    return result;
  }

  TOwned<TdxCustomFastDIB> FBuffer;
};

INSTANTIATE_TEST_SUITE_P(Kinds, FastDIB, testing::ValuesIn(FastDIBKinds),
                         [](const testing::TestParamInfo<TFastDIBKind>& AInfo) { return std::string(AInfo.param.Name); });

TEST_P(FastDIB, SizesAndPixelMemory) {
  struct {
    const char* Name;
    int Width, Height;
    int ExpectedWidth, ExpectedHeight;
  } const cases[] = {
      {"3 x 2", 3, 2, 3, 2},
      {"0 x 5", 0, 5, 0, 5},
      {"4 x 0", 4, 0, 4, 0},
      {"negative width", -3, 4, 0, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TdxCustomFastDIB* buffer = Make(c.Width, c.Height, true);
    EXPECT_EQ(buffer->Width(), c.ExpectedWidth);
    EXPECT_EQ(buffer->Height(), c.ExpectedHeight);
    EXPECT_EQ(buffer->ClientRect(), TRect(0, 0, c.ExpectedWidth, c.ExpectedHeight));
    EXPECT_EQ(buffer->Empty(), c.ExpectedWidth == 0 || c.ExpectedHeight == 0);
    EXPECT_EQ(buffer->Bits() == nullptr, buffer->Empty()) << "an empty buffer holds no pixel memory";
  }
}

TEST_P(FastDIB, ResizeKeepsTheMemoryOnlyForTheSameSize) {
  TdxCustomFastDIB* buffer = Make(4, 3);
  RGBQUAD* bits = buffer->Bits();
  *buffer->GetPixel(1, 1) = Quad(1, 2, 3, 4);
  buffer->Resize(TRect(10, 10, 14, 13));
  EXPECT_EQ(buffer->Bits(), bits) << "same size: nothing happens";
  EXPECT_EQ(Channels(*buffer->GetPixel(1, 1)), (TChannels{1, 2, 3, 4}));

  buffer->Resize(5, 5);
  EXPECT_EQ(buffer->Width(), 5);
  ASSERT_NE(buffer->Bits(), nullptr);
  EXPECT_EQ(Channels(*buffer->GetPixel(4, 4)), (TChannels{0, 0, 0, 0})) << "new memory starts zeroed";

  buffer->Resize(0, 5);
  EXPECT_TRUE(buffer->Empty());
  EXPECT_EQ(buffer->Bits(), nullptr);
  buffer->ChangeColor(clRed);
  buffer->MakeOpaque();
  buffer->Premultiply();
  buffer->Clear();
  EXPECT_THROW(buffer->GetPixel(0, 0), EInvalidArgument);
}

TEST_P(FastDIB, ClearZeroesEveryByte) {
  TdxCustomFastDIB* buffer = Make(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) *buffer->GetPixel(x, y) = Quad(x, y, 77, 255);
  buffer->Clear();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(Channels(*buffer->GetPixel(x, y)), (TChannels{0, 0, 0, 0})) << x << "," << y;
}

TEST_P(FastDIB, PixelsAreRowsTopDownWithoutPadding) {
  TdxCustomFastDIB* buffer = Make(3, 2);
  EXPECT_EQ(buffer->GetPixel(0, 0), buffer->Bits());
  EXPECT_EQ(buffer->GetPixel(2, 0) + 1, buffer->GetPixel(0, 1));
  EXPECT_EQ(buffer->GetPixel(2, 1), buffer->Bits() + 5);
  struct {
    int X, Y;
    const wchar_t* Message;
  } const outside[] = {
      {3, 0, L"The 3.0 point is our of bounds"},
      {0, 2, L"The 0.2 point is our of bounds"},
      {-1, 1, L"The -1.1 point is our of bounds"},
      {1, -7, L"The 1.-7 point is our of bounds"},
  };
  for (const auto& c : outside) {
    SCOPED_TRACE(testing::Message() << c.X << "," << c.Y);
    try {
      buffer->GetPixel(c.X, c.Y);
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidArgument& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_THROW(buffer->Fill(c.X, c.Y, 0xFF0000FF, 0), EInvalidArgument);
  }
}

TEST_P(FastDIB, FloodFillIsFourConnected) {
  struct {
    const char* Name;
    const char* Picture;
    int X, Y, Tolerance;
    const char* Expected;
  } const cases[] = {
      {"the area of the seed only, not across a diagonal",
       "..#..\n"
       ".#...\n"
       "#.#.#\n",
       0, 0, 0,
       "FF#..\n"
       "F#...\n"
       "#.#.#\n"},
      {"around an obstacle",
       ".....\n"
       ".###.\n"
       ".#.#.\n"
       ".###.\n",
       4, 3, 0,
       "FFFFF\n"
       "F###F\n"
       "F#.#F\n"
       "F###F\n"},
      {"a near colour joins within the tolerance",
       "..o#o\n"
       "o.o#.\n",
       1, 1, 3,
       "FFF#o\n"
       "FFF#.\n"},
      {"but not without it",
       "..o#o\n"
       "o.o#.\n",
       1, 1, 0,
       "FFo#o\n"
       "oFo#.\n"},
      {"pixels already of the fill colour stop it",
       "..F..\n"
       ".FF..\n",
       0, 0, 0,
       "FFF..\n"
       "FFF..\n"},
      {"a seed of the fill colour changes nothing",
       "FF#..\n"
       ".F#..\n",
       0, 0, 255,
       "FF#..\n"
       ".F#..\n"},
      {"a negative tolerance matches nothing, not even the seed",
       "..#\n",
       0, 0, -1,
       "..#\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MakePicture(c.Picture)->Fill(c.X, c.Y, PictureColors.at('F'), c.Tolerance);
    EXPECT_EQ(Picture(), c.Expected);
  }
}

// A fill that visits every pixel of a large buffer one neighbour after the
// other (recursively it would nest once per pixel) must not run out of stack.
TEST_P(FastDIB, FloodFillCoversALargeArea) {
  constexpr int Size = 1024;
  TdxCustomFastDIB* buffer = Make(Size, Size);
  // Walls from alternate sides make one path through all the rows.
  for (int y = 1; y < Size; y += 2)
    for (int x = 0; x < Size - 1; ++x) *buffer->GetPixel(y % 4 == 1 ? x : x + 1, y) = Quad(255, 255, 255, 255);
  buffer->Fill(Size / 2, 0, 0xFF00FF00, 0);
  int filled = 0;
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) filled += std::bit_cast<TdxAlphaColor>(*buffer->GetPixel(x, y)) == 0xFF00FF00u;
  EXPECT_EQ(filled, Size * Size - (Size / 2) * (Size - 1));
  EXPECT_EQ(std::bit_cast<TdxAlphaColor>(*buffer->GetPixel(0, Size - 1)), 0xFF00FF00u) << "the far end of the path";
}

TEST_P(FastDIB, TransparencyAndOpacity) {
  struct {
    const char* Name;
    int Tolerance;  // INT_MIN: the exact form
    const char* Expected;
  } const cases[] = {
      {"exact value", INT_MIN, "x#o\n"},
      {"tolerance 0 is the exact value", 0, "x#o\n"},
      {"within a tolerance of 2", 2, "x#x\n"},
      {"a negative tolerance changes nothing", -1, ".#o\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TdxCustomFastDIB* buffer = MakePicture(".#o\n");
    if (c.Tolerance == INT_MIN)
      buffer->MakeTransparent(PictureColors.at('.'));
    else
      buffer->MakeTransparent(PictureColors.at('.'), c.Tolerance);
    EXPECT_EQ(Picture(), c.Expected);
  }
  TdxCustomFastDIB* buffer = Make(2, 1);
  *buffer->GetPixel(0, 0) = Quad(1, 2, 3, 0);
  *buffer->GetPixel(1, 0) = Quad(4, 5, 6, 128);
  buffer->MakeOpaque();
  EXPECT_EQ(Channels(*buffer->GetPixel(0, 0)), (TChannels{1, 2, 3, 255}));
  EXPECT_EQ(Channels(*buffer->GetPixel(1, 0)), (TChannels{4, 5, 6, 255}));
}

TEST_P(FastDIB, ColourOperationsReachEveryPixel) {
  TdxCustomFastDIB* buffer = Make(2, 2);
  const auto reset = [&] {
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) *buffer->GetPixel(x, y) = Quad(200, 100, 50, 128);
  };
  const struct {
    const char* Name;
    std::function<void()> Operation;
    TChannels Expected;
  } cases[] = {
      {"ChangeColor", [&] { buffer->ChangeColor(TColor(RGB(50, 100, 200))); }, {100, 50, 25, 128}},
      {"ChangeColor to clNone", [&] { buffer->ChangeColor(clNone); }, {200, 100, 50, 128}},
      {"ChangeColor to clDefault", [&] { buffer->ChangeColor(clDefault); }, {200, 100, 50, 128}},
      {"Premultiply", [&] { buffer->Premultiply(); }, {100, 50, 25, 128}},
      {"UnPremultiply", [&] { buffer->UnPremultiply(); }, {163, 199, 100, 128}},
      {"GrayScale", [&] { buffer->GrayScale(); }, {124, 124, 124, 128}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    reset();
    c.Operation();
    EXPECT_EQ(Channels(*buffer->GetPixel(0, 0)), c.Expected);
    EXPECT_EQ(Channels(*buffer->GetPixel(1, 1)), c.Expected);
  }
}

TEST_P(FastDIB, EqualsComparesSizeAndEveryPixel) {
  TdxCustomFastDIB* buffer = MakePicture(".#\n#.\n");
  const TOwned<TdxCustomFastDIB> other(GetParam().Make(2, 2, false));
  const TOwned<TdxCustomFastDIB> wider(GetParam().Make(3, 2, false));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) *other->GetPixel(x, y) = *buffer->GetPixel(x, y);
  EXPECT_TRUE(buffer->Equals(other.get(), 0));
  other->GetPixel(1, 1)->rgbRed += 2;
  EXPECT_FALSE(buffer->Equals(other.get(), 0));
  EXPECT_FALSE(buffer->Equals(other.get(), 1));
  EXPECT_TRUE(buffer->Equals(other.get(), 2));
  EXPECT_FALSE(buffer->Equals(wider.get(), 255));
  EXPECT_FALSE(buffer->Equals(nullptr, 0));
}

// ---------------------------------------------------------------------------
// The two kinds of pixel memory

class FastDIBMemory : public GdiPlusTest {};

TEST_F(FastDIBMemory, GdiDrawsIntoTheDibPixels) {
  const TOwned<TdxFastDIB> buffer(New<TdxFastDIB>(8, 4, true));
  ASSERT_NE(buffer->DC(), nullptr);
  const TOwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  const RECT right{4, 0, 8, 4};
  FillRect(buffer->DC(), &right, red.Get());
  GdiFlush();
  EXPECT_EQ(Channels(*buffer->GetPixel(5, 2)), (TChannels{0, 0, 255, 0}));
  EXPECT_EQ(Channels(*buffer->GetPixel(3, 2)), (TChannels{0, 0, 0, 0}));

  BITMAP info{};
  ASSERT_TRUE(GetBitmapObject(buffer->Handle(), info));
  EXPECT_EQ(info.bmBits, static_cast<void*>(buffer->Bits()));
  EXPECT_EQ(GetCurrentObject(buffer->DC(), OBJ_BITMAP), buffer->Handle());
}

TEST_F(FastDIBMemory, TheDibIsReleasedWithTheBuffer) {
  TOwned<TdxFastDIB> buffer(New<TdxFastDIB>(8, 4, false));
  const HBITMAP bitmap = buffer->Handle();
  const HDC dc = buffer->DC();
  buffer->Resize(2, 2);
  EXPECT_FALSE(GdiObjectAlive(bitmap));
  EXPECT_FALSE(GdiObjectAlive(dc));
  const HBITMAP second = buffer->Handle();
  buffer.reset();
  EXPECT_FALSE(GdiObjectAlive(second));
}

TEST_F(FastDIBMemory, ADibThatCannotBeMadeLeavesTheBufferEmpty) {
  const TOwned<TdxFastDIB> buffer(New<TdxFastDIB>(4, 4, false));
  EXPECT_THROW(buffer->Resize(1 << 20, 1 << 20), EOutOfResources);
  EXPECT_TRUE(buffer->Empty());
  EXPECT_EQ(buffer->Bits(), nullptr);
  EXPECT_EQ(buffer->DC(), nullptr);
  EXPECT_THROW(buffer->GetPixel(0, 0), EInvalidArgument);
  EXPECT_THROW(New<TdxFastDIB>(1 << 20, 1 << 20, true), EOutOfResources);
}

TEST_F(FastDIBMemory, GdiPlusDrawsPremultipliedIntoTheBufferPixels) {
  const int references = TdxGdiPlusLibrary::ReferenceCount();
  TOwned<TdxGpFastDIB> buffer(New<TdxGpFastDIB>(8, 4, false));
  ASSERT_NE(buffer->Handle(), nullptr);
  EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), references + 1) << "the bitmap holds the binding";
  PixelFormat format = 0;
  ASSERT_EQ(GdipGetImagePixelFormat(buffer->Handle(), &format), Ok);
  EXPECT_EQ(format, static_cast<PixelFormat>(0xE200B));

  TdxGpOwnedGraphics graphics;
  ASSERT_EQ(GdipGetImageGraphicsContext(buffer->Handle(), graphics.Receive()), Ok);
  GpSolidFill* fill = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0x80FF0000, &fill), Ok);
  const TdxGpOwnedBrush brush(fill);
  ASSERT_EQ(GdipFillRectangleI(graphics.Get(), brush.Get(), 0, 0, 4, 4), Ok);
  graphics.Reset();
  EXPECT_EQ(Channels(*buffer->GetPixel(1, 1)), (TChannels{0, 0, 128, 128}));
  EXPECT_EQ(Channels(*buffer->GetPixel(6, 1)), (TChannels{0, 0, 0, 0}));
  buffer.reset();
  EXPECT_EQ(TdxGdiPlusLibrary::ReferenceCount(), references);
}

TEST_F(FastDIBMemory, ACanvasDrawsIntoTheGdiPlusBuffer) {
  const TOwned<TdxGpFastDIB> buffer(New<TdxGpFastDIB>(6, 3, true));
  {
    const TOwned<TdxGPCanvas> canvas(buffer->CreateCanvas());
    canvas->FillRectangle(TRect(0, 0, 3, 3), TdxAlphaColor{0x800000FF});
    canvas->FillRectangle(TRect(3, 0, 6, 3), TdxAlphaColor{0xFF00FF00});
  }
  EXPECT_EQ(Channels(*buffer->GetPixel(1, 1)), (TChannels{128, 0, 0, 128})) << "premultiplied";
  EXPECT_EQ(Channels(*buffer->GetPixel(4, 2)), (TChannels{0, 255, 0, 255}));

  const TOwned<TdxGpFastDIB> empty(New<TdxGpFastDIB>(0, 3, false));
  EXPECT_THROW(TOwned<TdxGPCanvas>(empty->CreateCanvas()), EdxGdipException);
}

}  // namespace
