#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

namespace {

// A form with one child, at 96 DPI.
struct TDpiFormFixture : testing::Test {
  TOwned<TForm> Form{New<TForm>(nullptr)};
  TCustomControl* Child = nullptr;
  void SetUp() override {
    Form->SetBounds(30, 40, 320, 240);
    Child = New<TCustomControl>(Form.get());
    Child->SetParent(Form.get());
    Child->SetBounds(8, 16, 100, 40);
    Form->HandleNeeded();
    ASSERT_EQ(Form->CurrentPPI(), 96);
  }
  RECT WindowRect() const {
    RECT r{};
    GetWindowRect(Form->Handle(), &r);
    return r;
  }
};

TEST_F(TDpiFormFixture, AScaledFormTakesTheNewDpiAndTheSuggestedRectangle) {
  RECT suggested{100, 120, 100 + 401, 120 + 299};
  SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(TRect(WindowRect()), TRect(suggested));
  EXPECT_EQ(Form->PixelsPerInch(), 144);
  EXPECT_EQ(Form->CurrentPPI(), 144);
  // 8, 16, 108, 56 at one and a half times.
  EXPECT_EQ(Child->BoundsRect(), TRect(12, 24, 162, 84));
}

TEST_F(TDpiFormFixture, AFormThatIsNotScaledIgnoresTheMessage) {
  Form->SetScaled(false);
  const RECT before = WindowRect();
  RECT suggested{100, 120, 500, 420};
  SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(TRect(WindowRect()), TRect(before));
  EXPECT_EQ(Form->PixelsPerInch(), 96);
  EXPECT_EQ(Child->BoundsRect(), TRect(8, 16, 108, 56));
}

}  // namespace
