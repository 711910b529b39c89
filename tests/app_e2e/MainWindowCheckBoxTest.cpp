// The real program's enabled check boxes on the screen: each mark is the
// system check-box size with a one-pixel shadow frame around the window
// colour, a check in the button text colour exactly when the box reads
// checked, and a highlight frame while the real pointer rests on it; a real
// click toggles it.
#include "tests/app_e2e/ProgramDriver.h"
#include "tests/app_e2e/ScreenShot.h"
#include "tests/platform_classes/TempFiles.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The mark's frame: the first rectangle at least 8 pixels wide and high
// whose outline is all AFrame and whose inside corners are clWindow or, when
// hot, anything but AFrame.
std::optional<RECT> FindMarkFrame(HWND ABox, COLORREF AFrame) {
  const TScreenShot shot(ABox);
  RECT r{};
  GetWindowRect(ABox, &r);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      if (shot.Pixel(x, y) != AFrame) continue;
      int right = x;
      while (right + 1 < r.right && shot.Pixel(right + 1, y) == AFrame) ++right;
      int bottom = y;
      while (bottom + 1 < r.bottom && shot.Pixel(x, bottom + 1) == AFrame) ++bottom;
      if (right - x < 7 || bottom - y < 7) continue;
      bool outline = true;
      for (int i = x; i <= right && outline; ++i) outline = shot.Pixel(i, bottom) == AFrame;
      for (int j = y; j <= bottom && outline; ++j) outline = shot.Pixel(right, j) == AFrame;
      if (outline) return RECT{x, y, right + 1, bottom + 1};
    }
  return std::nullopt;
}

struct TMarkLook {
  bool Found = false;
  SIZE Mark{};        // the frame grown by its ring of background
  int Fill = 0;       // clWindow (clBtnFace disabled) pixels inside the frame
  int Check = 0;      // clBtnText (clBtnShadow disabled) pixels inside the frame
  int Inside = 0;
};

TMarkLook LookOf(HWND ABox, COLORREF AFrame) {
  TMarkLook look;
  const std::optional<RECT> frame = FindMarkFrame(ABox, AFrame);
  if (!frame) return look;
  look.Found = true;
  look.Mark = SIZE{frame->right - frame->left + 2, frame->bottom - frame->top + 2};
  const TScreenShot shot(ABox);
  const bool enabled = IsWindowEnabled(ABox);
  const COLORREF fill = GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
  const COLORREF check = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
  for (int y = frame->top + 1; y < frame->bottom - 1; ++y)
    for (int x = frame->left + 1; x < frame->right - 1; ++x) {
      ++look.Inside;
      look.Fill += shot.Pixel(x, y) == fill;
      look.Check += shot.Pixel(x, y) == check;
    }
  return look;
}

bool Checked(HWND ABox) { return SendMessageW(ABox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(MainWindowCheckBoxes, MarksShowTheStateAndFollowTheRealPointer) {
  RunOnOwnThread([] {
    const TTempDir dir;
    TProgramDriver driver(dir.File(L""));
    ASSERT_TRUE(driver.Started());
    const HWND window = driver.WaitForWindow(L"Skarnivel - Torvik");
    ASSERT_NE(window, nullptr);
    std::vector<HWND> boxes;
    for (HWND child : Descendants(window))
      if (ClassOf(child) == L"TcxCheckBox" && IsWindowVisible(child) && IsWindowEnabled(child)) boxes.push_back(child);
    // Without a project only the boxes of the program's own settings take
    // input; the memory boxes wait for one.
    ASSERT_FALSE(boxes.empty());
    driver.MoveMouseOnto(driver.ListBox(window));
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    for (HWND box : boxes) {
      SCOPED_TRACE(testing::Message() << "box " << box << " enabled " << IsWindowEnabled(box) << " checked "
                                      << Checked(box));
      ASSERT_TRUE(driver.WaitUntil([&] { return LookOf(box, shadow).Found; })) << "a clBtnShadow frame";
      const TMarkLook look = LookOf(box, shadow);
      EXPECT_EQ(look.Mark.cx, 14) << "Wine's check-box cells are 14 wide";
      EXPECT_EQ(look.Mark.cy, 13);
      if (Checked(box)) {
        EXPECT_GT(look.Check, 5) << "the check";
        EXPECT_EQ(look.Fill + look.Check, look.Inside);
      } else {
        EXPECT_EQ(look.Check, 0);
        EXPECT_EQ(look.Fill, look.Inside);
      }
    }
    // Under the real pointer the frame turns to the highlight colour.
    const HWND box = boxes.front();
    driver.MoveMouseOnto(box);
    EXPECT_TRUE(driver.WaitHoldingMouse([&] { return LookOf(box, GetSysColor(COLOR_HIGHLIGHT)).Found; }))
        << "a clHighlight frame under the pointer";
    // A real click toggles it, and the mark follows; the click focused it,
    // so the frame keeps the highlight colour.
    const bool before = Checked(box);
    driver.ClickOn(box);
    EXPECT_TRUE(driver.WaitUntil([&] { return Checked(box) != before; }));
    driver.MoveMouseOnto(driver.ListBox(window));
    EXPECT_TRUE(driver.WaitUntil([&] {
      const TMarkLook look = LookOf(box, GetSysColor(COLOR_HIGHLIGHT));
      return look.Found && (look.Check > 5) == !before;
    }));
  });
}

}  // namespace
