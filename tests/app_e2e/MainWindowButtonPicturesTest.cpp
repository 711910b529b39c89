// The real program's four buttons, pixel by pixel: each button's picture on
// the screen equals one the test draws with GDI on a DIB of its own: the
// face in its system colour, the frame of the state, the caption drawn by
// DrawTextW in the form's font at the place worked out from its measured
// width, and the focus rectangle as DrawFocusRect draws it. The glyph's own
// pixels are left to MainWindowGlyphsTest.cpp.
#include "platform/runtime/SysUtils.h"
#include "platform/ui/GdiScopes.h"
#include "tests/app_e2e/ProgramDriver.h"
#include "tests/app_e2e/ScreenShot.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int GlyphSize = 16;
constexpr int Spacing = 4;  // between glyph and caption

COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }

// Button face, highlight and window mixed with signed per-cent weights, each
// product rounded, the sum clamped: the hot face.
COLORREF HotFace() {
  const COLORREF f = Sys(COLOR_BTNFACE), h = Sys(COLOR_HIGHLIGHT), w = Sys(COLOR_WINDOW);
  const auto channel = [](int cf, int ch, int cw) {
    const long sum = std::lround(cf * -2 / 100.0) + std::lround(ch * 30 / 100.0) + std::lround(cw * 72 / 100.0);
    return static_cast<BYTE>(std::clamp(sum, 0L, 255L));
  };
  return RGB(channel(GetRValue(f), GetRValue(h), GetRValue(w)), channel(GetGValue(f), GetGValue(h), GetGValue(w)),
             channel(GetBValue(f), GetBValue(h), GetBValue(w)));
}

enum class TLook { Normal, Focused, Hot, Disabled };

// The form's font (Tahoma, 11 pixels), which the buttons take from it.
HFONT FormFont() {
  LOGFONTW lf{};
  lf.lfHeight = -11;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"Tahoma");
  return CreateFontIndirectW(&lf);
}

// A 32-bit DIB the size of the button with the picture the button should
// show, and the glyph's rectangle, which the comparison leaves out.
struct TExpected {
  int Width, Height;
  std::vector<std::uint32_t> Pixels;
  RECT Glyph;
};

TExpected Draw(int AWidth, int AHeight, const String& ACaption, TLook ALook) {
  TExpected result{AWidth, AHeight, {}, {}};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), AWidth, -AHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const TScreenDC screen;
  const TOwnedDC dc(CreateCompatibleDC(screen.Get()));
  void* bits = nullptr;
  const TOwnedBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const TSelectObject selected(dc.Get(), bitmap.Get());
  const TOwnedFont font(FormFont());
  const TSelectObject fontSelected(dc.Get(), font.Get());

  const COLORREF face = ALook == TLook::Hot ? HotFace() : Sys(COLOR_BTNFACE);
  const COLORREF frame = ALook == TLook::Normal     ? Sys(COLOR_BTNTEXT)
                         : ALook == TLook::Focused  ? Sys(COLOR_WINDOWFRAME)
                         : ALook == TLook::Hot      ? Sys(COLOR_HIGHLIGHT)
                                                    : Sys(COLOR_BTNSHADOW);
  RECT all{0, 0, AWidth, AHeight};
  const TOwnedBrush faceBrush(CreateSolidBrush(face));
  const TOwnedBrush frameBrush(CreateSolidBrush(frame));
  FillRect(dc.Get(), &all, faceBrush.Get());
  FrameRect(dc.Get(), &all, frameBrush.Get());
  if (ALook == TLook::Focused) {
    RECT inner{1, 1, AWidth - 1, AHeight - 1};
    FrameRect(dc.Get(), &inner, frameBrush.Get());
  }

  // Glyph and caption are centred together inside the focused look's
  // two-pixel border, whatever the look; the caption one pixel above the
  // glyph's centre line.
  const RECT content{2, 2, AWidth - 2, AHeight - 2};
  const int contentWidth = content.right - content.left, contentHeight = content.bottom - content.top;
  RECT measured{0, 0, 0, 0};
  int textWidth = 0, textHeight = 0;
  if (!ACaption.empty()) {
    DrawTextW(dc.Get(), ACaption.c_str(), static_cast<int>(ACaption.size()), &measured, DT_CALCRECT);
    textWidth = measured.right - measured.left;
    textHeight = measured.bottom - measured.top;
  }
  const int spacing = ACaption.empty() ? 0 : Spacing;
  const int margin = (contentWidth - (GlyphSize + textWidth + spacing)) / 2;
  const int glyphX = content.left + margin, glyphY = content.top + (contentHeight - GlyphSize) / 2;
  result.Glyph = RECT{glyphX, glyphY, glyphX + GlyphSize, glyphY + GlyphSize};
  if (!ACaption.empty()) {
    const int left = glyphX + GlyphSize + spacing, top = content.top + (contentHeight - textHeight - 1) / 2;
    // Drawn inside the border of the look.
    const int border = ALook == TLook::Focused ? 2 : 1;
    const TOwnedRegion clip(CreateRectRgn(border, border, AWidth - border, AHeight - border));
    SelectClipRgn(dc.Get(), clip.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    const auto text = [&](int dx, COLORREF AColor) {
      RECT r{left + dx, top + dx, left + textWidth + dx, top + textHeight + dx};
      SetTextColor(dc.Get(), AColor);
      DrawTextW(dc.Get(), ACaption.c_str(), static_cast<int>(ACaption.size()), &r, DT_CENTER | DT_VCENTER | DT_NOCLIP);
    };
    if (ALook == TLook::Disabled) {
      text(1, Sys(COLOR_BTNHIGHLIGHT));
      text(0, Sys(COLOR_BTNSHADOW));
    } else {
      text(0, Sys(COLOR_BTNTEXT));
    }
    SelectClipRgn(dc.Get(), nullptr);
  }
  if (ALook == TLook::Focused) {
    RECT focus{3, 3, AWidth - 3, AHeight - 3};
    SetTextColor(dc.Get(), RGB(0, 0, 0));
    SetBkColor(dc.Get(), RGB(255, 255, 255));
    DrawFocusRect(dc.Get(), &focus);
  }
  GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  result.Pixels.assign(pixels, pixels + static_cast<std::size_t>(AWidth) * AHeight);
  return result;
}

// The first pixel outside the glyph where the screen differs from the
// expected picture, described; empty when none does.
std::string Difference(HWND AButton, const TExpected& AExpected) {
  const TScreenShot shot(AButton);
  RECT r{};
  GetWindowRect(AButton, &r);
  int differing = 0;
  std::string first;
  for (int y = 0; y < AExpected.Height; ++y)
    for (int x = 0; x < AExpected.Width; ++x) {
      const POINT p{x, y};
      if (PtInRect(&AExpected.Glyph, p)) continue;
      const std::uint32_t e = AExpected.Pixels[static_cast<std::size_t>(y * AExpected.Width + x)];
      const COLORREF want = RGB((e >> 16) & 0xFF, (e >> 8) & 0xFF, e & 0xFF);
      const COLORREF got = shot.Pixel(r.left + x, r.top + y);
      if (got == want) continue;
      if (differing++ == 0) {
        char text[120];
        std::snprintf(text, sizeof(text), "(%d,%d) is %06lX, want %06lX", x, y, static_cast<unsigned long>(got),
                      static_cast<unsigned long>(want));
        first = text;
      }
    }
  return differing ? std::to_string(differing) + " pixels differ, first " + first : std::string();
}

HWND FocusOf(HWND AWindow) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(AWindow, nullptr), &info) ? info.hwndFocus : nullptr;
}

TEST(MainWindowButtonPictures, EachButtonEqualsItsPictureDrawnWithGdi) {
  RunOnOwnThread([] {
    const TTempDir dir;
    TProgramDriver driver(dir.File(L""));
    ASSERT_TRUE(driver.Started());
    const HWND window = driver.WaitForWindow(L"Skarnivel - Torvik");
    ASSERT_NE(window, nullptr);
    // The mouse rests on the list, away from the buttons.
    driver.MoveMouseOnto(driver.ListBox(window));
    const String captions[] = {L"", L"\u00D6ffnen", L"Verbinden", L"Flash"};
    HWND open = nullptr;
    for (const String& caption : captions) {
      SCOPED_TRACE(testing::Message() << "button \"" << UTF8Encode(caption) << "\"");
      HWND button = nullptr;
      for (HWND child : Descendants(window))
        if (ClassOf(child) == L"TcxButton" && WindowText(child) == caption) button = child;
      ASSERT_NE(button, nullptr);
      if (caption == captions[1]) open = button;
      RECT r{};
      GetWindowRect(button, &r);
      const auto look = [&] {
        return !IsWindowEnabled(button) ? TLook::Disabled : FocusOf(window) == button ? TLook::Focused : TLook::Normal;
      };
      std::string difference;
      EXPECT_TRUE(driver.WaitUntil([&] {
        difference = Difference(button, Draw(r.right - r.left, r.bottom - r.top, caption, look()));
        return difference.empty();
      })) << difference;
    }
    // The connect and flash buttons start disabled.
    EXPECT_FALSE(IsWindowEnabled(driver.ChildWithText(window, L"Verbinden")));
    EXPECT_FALSE(IsWindowEnabled(driver.ChildWithText(window, L"Flash")));

    // Hot under the mouse.
    ASSERT_NE(open, nullptr);
    driver.MoveMouseOnto(open);
    RECT r{};
    GetWindowRect(open, &r);
    const TExpected hot = Draw(r.right - r.left, r.bottom - r.top, captions[1], TLook::Hot);
    std::string difference;
    EXPECT_TRUE(driver.WaitHoldingMouse([&] {
      difference = Difference(open, hot);
      return difference.empty();
    })) << difference;
  });
}

}  // namespace
