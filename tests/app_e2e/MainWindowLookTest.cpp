// The real program's buttons on the screen in the UltraFlat look, tried as a
// new user would: enabled buttons framed in the button text colour on the
// button face, disabled ones framed and captioned in the shadow colour; the
// mouse moved onto "Öffnen" makes it hot (a highlight frame on the hot
// blend), pressing it gives the pressed blend with the caption in the
// highlight text colour, and releasing the mouse off it clicks nothing.
#include "tests/app_e2e/ProgramDriver.h"
#include "tests/app_e2e/ScreenShot.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }

// Button face, highlight and window mixed with signed per-cent weights, each
// product rounded, the sum clamped.
COLORREF SystemMix(int AFace, int AHighlight, int AWindow) {
  const COLORREF f = Sys(COLOR_BTNFACE), h = Sys(COLOR_HIGHLIGHT), w = Sys(COLOR_WINDOW);
  const auto channel = [&](int cf, int ch, int cw) {
    const long sum = std::lround(cf * AFace / 100.0) + std::lround(ch * AHighlight / 100.0) +
                     std::lround(cw * AWindow / 100.0);
    return static_cast<int>(std::clamp(sum, 0L, 255L));
  };
  return RGB(channel(GetRValue(f), GetRValue(h), GetRValue(w)), channel(GetGValue(f), GetGValue(h), GetGValue(w)),
             channel(GetBValue(f), GetBValue(h), GetBValue(w)));
}

HWND ButtonWithCaption(HWND AWindow, const String& ACaption) {
  for (HWND child : Descendants(AWindow))
    if (ClassOf(child) == L"TcxButton" && WindowText(child) == ACaption) return child;
  return nullptr;
}

// How a button looks on the screen now: its outer frame is all of one
// colour, the face shows at the four corners inside it, and the caption's
// colour covers some pixels.
struct TButtonLook {
  COLORREF Frame;
  COLORREF Face;
  COLORREF Caption;  // CLR_INVALID: no caption to look for
};

std::string Describe(HWND AButton, const TButtonLook& ALook) {
  const TScreenShot shot(AButton);
  RECT r{};
  GetWindowRect(AButton, &r);
  char text[160];
  std::snprintf(text, sizeof(text), "frame %06lX (want %06lX), face %06lX (want %06lX)",
                static_cast<unsigned long>(shot.Pixel(r.left, r.top)), static_cast<unsigned long>(ALook.Frame),
                static_cast<unsigned long>(shot.Pixel(r.left + 1, r.top + 1)), static_cast<unsigned long>(ALook.Face));
  return text;
}

// Whether the button holds itself pushed, and where the cursor is.
std::string PushState(HWND AButton) {
  const LRESULT state = SendMessageW(AButton, BM_GETSTATE, 0, 0);
  POINT p{};
  GetCursorPos(&p);
  RECT r{};
  GetWindowRect(AButton, &r);
  char text[160];
  std::snprintf(text, sizeof(text), "; the button %s pushed, the cursor at %ld,%ld, the button at %ld,%ld-%ld,%ld",
                (state & BST_PUSHED) ? "is" : "is not", p.x, p.y, r.left, r.top, r.right, r.bottom);
  return text;
}

bool Looks(HWND AButton, const TButtonLook& ALook) {
  const TScreenShot shot(AButton);
  RECT r{};
  GetWindowRect(AButton, &r);
  for (int x = r.left; x < r.right; ++x)
    if (shot.Pixel(x, r.top) != ALook.Frame || shot.Pixel(x, r.bottom - 1) != ALook.Frame) return false;
  for (int y = r.top; y < r.bottom; ++y)
    if (shot.Pixel(r.left, y) != ALook.Frame || shot.Pixel(r.right - 1, y) != ALook.Frame) return false;
  for (const POINT p : {POINT{r.left + 1, r.top + 1}, POINT{r.right - 2, r.top + 1}, POINT{r.left + 1, r.bottom - 2},
                        POINT{r.right - 2, r.bottom - 2}})
    if (shot.Pixel(p.x, p.y) != ALook.Face) return false;
  if (ALook.Caption == CLR_INVALID) return true;
  int caption = 0;
  for (int y = r.top + 1; y < r.bottom - 1; ++y)
    for (int x = r.left + 1; x < r.right - 1; ++x) caption += shot.Pixel(x, y) == ALook.Caption;
  return caption > 10;
}

TEST(MainWindowLook, ButtonsShowTheUltraFlatLookAndFollowTheMouse) {
  RunOnOwnThread([] {
    const TTempDir dir;
    TProgramDriver driver(dir.File(L""));
    ASSERT_TRUE(driver.Started());
    const HWND window = driver.WaitForWindow(L"Skarnivel - Torvik");
    ASSERT_NE(window, nullptr);
    const HWND quit = ButtonWithCaption(window, L"");
    const HWND open = ButtonWithCaption(window, L"\u00D6ffnen");
    const HWND connect = ButtonWithCaption(window, L"Verbinden");
    const HWND flash = ButtonWithCaption(window, L"Flash");
    for (HWND button : {quit, open, connect, flash}) ASSERT_NE(button, nullptr);
    ASSERT_TRUE(IsWindowEnabled(open));
    ASSERT_FALSE(IsWindowEnabled(connect));
    // The mouse rests on the list, away from the buttons.
    driver.MoveMouseOnto(driver.ListBox(window));

    const TButtonLook enabled{Sys(COLOR_BTNTEXT), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT)};
    const TButtonLook disabled{Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW)};
    EXPECT_TRUE(driver.WaitUntil([&] { return Looks(open, enabled); })) << Describe(open, enabled);
    EXPECT_TRUE(driver.WaitUntil([&] { return Looks(quit, {enabled.Frame, enabled.Face, CLR_INVALID}); }))
        << Describe(quit, enabled);
    for (HWND button : {connect, flash})
      EXPECT_TRUE(driver.WaitUntil([&] { return Looks(button, disabled); })) << Describe(button, disabled);

    // Hot under the mouse.
    driver.MoveMouseOnto(open);
    const TButtonLook hot{Sys(COLOR_HIGHLIGHT), SystemMix(-2, 30, 72), Sys(COLOR_BTNTEXT)};
    EXPECT_TRUE(driver.WaitHoldingMouse([&] { return Looks(open, hot); })) << Describe(open, hot);
    EXPECT_TRUE(Looks(quit, {enabled.Frame, enabled.Face, CLR_INVALID})) << "only the button under the mouse";

    // Pressed, then released off the button: no click.
    driver.PressMouse();
    EXPECT_TRUE(driver.WaitUntil([&] { return driver.Capture() == open; })) << "the press reaches the button";
    const TButtonLook pressed{Sys(COLOR_HIGHLIGHT), SystemMix(14, 44, 40), Sys(COLOR_HIGHLIGHTTEXT)};
    EXPECT_TRUE(driver.WaitHoldingMouse([&] { return Looks(open, pressed); }))
        << Describe(open, pressed) << PushState(open);
    driver.MoveMouseOnto(driver.ListBox(window));
    driver.ReleaseMouse();
    EXPECT_TRUE(driver.WaitUntil([&] { return driver.Capture() == nullptr; })) << "the release is taken";
    // The press gave it the focus: the focused look's two frames.
    const TButtonLook focused{Sys(COLOR_WINDOWFRAME), Sys(COLOR_WINDOWFRAME), CLR_INVALID};
    EXPECT_TRUE(driver.WaitUntil([&] { return Looks(open, enabled) || Looks(open, focused); }))
        << "the button leaves its hot look: " << Describe(open, enabled);
    EXPECT_EQ(driver.FindWindow(L"Torvik Projekt \u00F6ffnen"), nullptr) << "no click, no file dialog";
  });
}

}  // namespace
