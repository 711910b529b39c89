// Layered forms: the attributes read back with GetLayeredWindowAttributes,
// and a colour key checked on the screen over a form of another colour.
#include "platform/ui/Forms.h"

#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TLayered {
  bool Layered = false;
  COLORREF Key = 0;
  BYTE Alpha = 0;
  DWORD Flags = 0;
};

TLayered ReadLayered(HWND AWnd) {
  TLayered result;
  result.Layered = (GetWindowLongPtrW(AWnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  if (result.Layered) GetLayeredWindowAttributes(AWnd, &result.Key, &result.Alpha, &result.Flags);
  return result;
}

COLORREF ScreenPixel(const TPoint& APoint) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, APoint.X, APoint.Y);
  ReleaseDC(nullptr, screen);
  return c;
}

// The X server composes the screen on its own time, without a message to
// this thread: look again every few milliseconds.
bool ScreenShows(const TPoint& APoint, TColor AColor) {
  return PumpUntilWith([] { PumpPending(); return true; },
                       [&] { return ScreenPixel(APoint) == ColorToColorRef(AColor); }, 5000, 20);
}

TEST(FormsLayered, TheAttributesAreAppliedWhenTheWindowIsMadeAndOnEachChange) {
  TOwned<TForm> form(New<TForm>(nullptr));
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(128);
  form->SetTransparentColor(true);
  form->SetTransparentColorValue(TColor(0x0000FF));
  ASSERT_FALSE(form->HandleAllocated());

  struct TStep {
    const char* Name;
    std::function<void()> Change;
    bool Layered;
    COLORREF Key;
    BYTE Alpha;
    DWORD Flags;
  } const steps[] = {
      {"made with both", [&] { form->HandleNeeded(); }, true, RGB(255, 0, 0), 128, LWA_ALPHA | LWA_COLORKEY},
      {"new alpha", [&] { form->SetAlphaBlendValue(40); }, true, RGB(255, 0, 0), 40, LWA_ALPHA | LWA_COLORKEY},
      {"colour key only", [&] { form->SetAlphaBlend(false); }, true, RGB(255, 0, 0), 40, LWA_COLORKEY},
      {"a system colour as key", [&] { form->SetTransparentColorValue(clBtnFace); }, true,
       GetSysColor(COLOR_BTNFACE), 40, LWA_COLORKEY},
      {"window made again", [&] { form->SetBorderStyle(bsDialog); }, true, GetSysColor(COLOR_BTNFACE), 40,
       LWA_COLORKEY},
      {"neither", [&] { form->SetTransparentColor(false); }, false, 0, 0, 0},
      {"alpha only", [&] { form->SetAlphaBlend(true); }, true, GetSysColor(COLOR_BTNFACE), 40, LWA_ALPHA},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Change();
    const TLayered read = ReadLayered(form->Handle());
    ASSERT_EQ(step.Layered, read.Layered);
    if (!step.Layered) continue;
    EXPECT_EQ(step.Flags, read.Flags);
    if (step.Flags & LWA_COLORKEY) {
      EXPECT_EQ(step.Key, read.Key);
    }
    if (step.Flags & LWA_ALPHA) {
      EXPECT_EQ(step.Alpha, read.Alpha);
    }
  }
}

TEST(FormsLayered, APlainFormIsNotLayered) {
  TOwned<TForm> form(New<TForm>(nullptr));
  EXPECT_FALSE(ReadLayered(form->Handle()).Layered);
}

// Where the colour key shows, the form below does.
TEST(FormsLayered, TheColourKeyLetsTheWindowBelowShowThrough) {
  const TColor below = TColor(0x00C000);
  const TColor key = TColor(0xC00000);
  TOwned<TForm> back(New<TForm>(nullptr));
  back->SetBorderStyle(bsNone);
  back->SetColor(below);
  back->SetBounds(100, 100, 200, 200);
  back->Show();
  TOwned<TForm> front(New<TForm>(nullptr));
  front->SetBorderStyle(bsNone);
  front->SetColor(key);
  front->SetTransparentColor(true);
  front->SetTransparentColorValue(key);
  front->SetBounds(150, 150, 100, 100);
  front->Show();
  const TPoint inside(200, 200);
  EXPECT_TRUE(ScreenShows(inside, below)) << std::hex << "screen shows " << ScreenPixel(inside);
  // The same form without the key covers it.
  front->SetTransparentColor(false);
  EXPECT_TRUE(ScreenShows(inside, key))
      << std::hex << "screen shows " << ScreenPixel(inside);
}

}  // namespace
