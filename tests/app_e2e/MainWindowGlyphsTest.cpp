// The real program's main window on the screen: each button that names an
// image of the window's image list shows that glyph, vertically centred in
// the button and left of its caption, in the button's enabled or disabled
// look. The glyphs are the PNG files the form's list was made from, decoded
// here and laid over the button's face by the drawing modes' formulas.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/ui/GdiScopes.h"
#include "tests/app_e2e/ProgramDriver.h"
#include "tests/app_e2e/ScreenShot.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int GlyphSize = 16;

// The decoded PNG's premultiplied pixels, top row first.
TRGBColors DecodedGlyph(const wchar_t* AResource) {
  const TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromResource(GetModuleHandleW(nullptr), AResource, RT_RCDATA);
  EXPECT_EQ(image->Width(), GlyphSize);
  EXPECT_EQ(image->Height(), GlyphSize);
  return image->GetBitmapBits();
}

// The glyph over a face colour as the button shows it: enabled as it is,
// disabled turned grey and blended at 151/255.
COLORREF Expected(const RGBQUAD& APixel, COLORREF AFace, bool AEnabled) {
  double b = APixel.rgbBlue, g = APixel.rgbGreen, r = APixel.rgbRed, constant = 255;
  if (!AEnabled) {
    b = g = r = std::clamp(std::round(r * 0.0729 + g * 0.7146 + b * 0.2125), 0.0, 255.0);
    constant = 151;
  }
  const double keep = 1 - APixel.rgbReserved * constant / 255 / 255;
  const auto channel = [&](double c, int face) { return static_cast<BYTE>(std::lround(c * constant / 255 + face * keep)); };
  return RGB(channel(r, GetRValue(AFace)), channel(g, GetGValue(AFace)), channel(b, GetBValue(AFace)));
}

int Distance(COLORREF A, COLORREF B) {
  return std::max({std::abs(GetRValue(A) - GetRValue(B)), std::abs(GetGValue(A) - GetGValue(B)),
                   std::abs(GetBValue(A) - GetBValue(B))});
}

struct TGlyphButton {
  const wchar_t* Caption;
  const wchar_t* Glyph;
};

// The largest difference of any glyph pixel placed with its top-left corner
// at (X, Y) on the screen.
int GlyphDistance(const TScreenShot& AShot, const TRGBColors& AGlyph, int X, int Y, COLORREF AFace, bool AEnabled) {
  int worst = 0;
  for (int y = 0; y < GlyphSize; ++y)
    for (int x = 0; x < GlyphSize; ++x)
      worst = std::max(worst, Distance(AShot.Pixel(X + x, Y + y),
                                       Expected(AGlyph[static_cast<std::size_t>(y * GlyphSize + x)], AFace, AEnabled)));
  return worst;
}

TEST(MainWindowGlyphs, EachButtonShowsItsGlyphAtItsPlace) {
  RunOnOwnThread([] {
    const TTempDir dir;
    TProgramDriver driver(dir.File(L""));
    ASSERT_TRUE(driver.Started());
    const HWND window = driver.WaitForWindow(L"Skarnivel - Torvik");
    ASSERT_NE(window, nullptr);
    const TGlyphButton buttons[] = {{L"", L"GLYPH_QUIT"},
                                    {L"Öffnen", L"GLYPH_OPEN"},
                                    {L"Verbinden", L"GLYPH_CONNECT"},
                                    {L"Flash", L"GLYPH_FLASH"}};
    for (const TGlyphButton& b : buttons) {
      SCOPED_TRACE(testing::Message() << "button \"" << UTF8Encode(b.Caption) << "\"");
      HWND button = nullptr;
      for (HWND child : Descendants(window))
        if (ClassOf(child) == L"TcxButton" && WindowText(child) == b.Caption) button = child;
      ASSERT_NE(button, nullptr);
      const TRGBColors glyph = DecodedGlyph(b.Glyph);
      ASSERT_EQ(glyph.size(), static_cast<std::size_t>(GlyphSize * GlyphSize));
      const bool enabled = IsWindowEnabled(button) != FALSE;
      RECT r{};
      GetWindowRect(button, &r);
      // Vertically centred; searched for along the row, left of the middle
      // when the button has a caption.
      const int top = (r.top + r.bottom - GlyphSize) / 2;
      const int lastLeft = *b.Caption ? (r.left + r.right) / 2 - GlyphSize : r.right - GlyphSize;
      int best = 256, bestLeft = -1;
      const bool shown = driver.WaitUntil([&] {
        const TScreenShot shot(button);
        const COLORREF face = shot.Pixel(r.left + 3, top + GlyphSize / 2);
        best = 256;
        for (int x = r.left; x <= lastLeft; ++x)
          for (int y = top - 1; y <= top + 1; ++y)
            if (const int d = GlyphDistance(shot, glyph, x, y, face, enabled); d < best) best = d, bestLeft = x;
        return best <= 6;
      });
      EXPECT_TRUE(shown) << "closest match differs by " << best << " at x = " << bestLeft - r.left;
    }
  });
}

}  // namespace
