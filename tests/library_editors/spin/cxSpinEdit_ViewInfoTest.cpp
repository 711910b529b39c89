// The spin buttons' layout and pixels: the default stacked pair, side by side
// and fast buttons, right to left, the hot ultra-flat line patterns, and the
// themed buttons beside uxtheme drawing Wine's Spin parts.
#include "library/editors/spin/cxSpinEdit.h"

#include "library/editors/edit/cxEditPaintUtils.h"
#include "platform/ui/Forms.h"

#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/support/CommonControls6.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <uxtheme.h>

#include <utility>

namespace {

constexpr COLORREF SpinBg = RGB(10, 200, 60);

// A standalone ultra-flat spin editor laid out through its layout
// calculator, with both buttons 17 pixels wide by default.
struct SpinButtonsLayout : testing::Test {
  TCommonControls6 Controls6;
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxSpinEdit* Edit = nullptr;
  TOwned<TcxSpinEditViewInfo> VI{New<TcxSpinEditViewInfo>()};
  TRect Bounds{0, 0, 121, 19};
  // Layout measures text, as the editor's own paint canvas would.
  TCanvasOnSurface LayoutCanvas{300, 60};

  void SetUp() override {
    Edit = New<TcxSpinEdit>(Form.get());
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    SetButtonWidths();
  }
  void SetButtonWidths() {
    for (int i = 0; i < Edit->Properties()->Buttons()->Count(); ++i)
      Edit->Properties()->Buttons()->Items(i)->SetWidth(17);
  }
  void LayOut(const TPoint& P = TPoint(-1, -1), bool ARightToLeft = false) {
    const TOwned<TcxCustomEditViewData> data = Edit->Properties()->CreateViewData(Edit->Style(), false);
    data->UseRightToLeftAlignment = ARightToLeft;
    data->Calculate(LayoutCanvas.Get(), Bounds, P, cxmbNone, TShiftState{}, VI.get(), true);
  }
  TRect Button(int AIndex) const { return VI->ButtonsInfo.at(AIndex)->Bounds; }
  TPixelSurface Painted() {
    TCanvasOnSurface canvas(Bounds.Width(), Bounds.Height(), SpinBg);
    VI->Paint(canvas.Get());
    TPixelSurface result(Bounds.Width(), Bounds.Height(), SpinBg);
    BitBlt(result.DC(), 0, 0, Bounds.Width(), Bounds.Height(), canvas.Surface.DC(), 0, 0, SRCCOPY);
    return result;
  }
};

TEST_F(SpinButtonsLayout, TheDefaultStackedPair) {
  LayOut();
  ASSERT_EQ(VI->ButtonsInfo.size(), 2u);
  const TRect down = Button(0), up = Button(1);
  ASSERT_EQ(VI->BorderRect.Height(), 15);
  EXPECT_EQ(VI->ArrowSize, 3);
  EXPECT_EQ(up.Width(), 17);
  EXPECT_EQ(down.Width(), 17);
  EXPECT_EQ(up.Top, VI->BorderRect.Top);
  EXPECT_EQ(up.Height(), 7);
  EXPECT_EQ(down.Top, up.Bottom);
  EXPECT_EQ(down.Height(), 8);
  EXPECT_EQ(up.Right, VI->BorderRect.Right);
  EXPECT_EQ(down.Left, up.Left);
}

TEST_F(SpinButtonsLayout, SideBySideAndFastButtons) {
  Edit->Properties()->SpinButtons()->SetPosition(sbpHorzRight);
  Edit->Properties()->SpinButtons()->SetShowFastButtons(true);
  SetButtonWidths();
  LayOut();
  ASSERT_EQ(VI->ButtonsInfo.size(), 4u);
  EXPECT_EQ(Button(0).Width(), 9);
  EXPECT_EQ(Button(1).Width(), 9);
  EXPECT_EQ(Button(2).Width(), 15);
  EXPECT_EQ(Button(3).Width(), 15);
  // Right to left: fast down, down, up, fast up.
  EXPECT_EQ(Button(3).Right, VI->BorderRect.Right);
  EXPECT_EQ(Button(1).Right, Button(3).Left);
  EXPECT_EQ(Button(0).Right, Button(1).Left);
  EXPECT_EQ(Button(2).Right, Button(0).Left);

  // Mirrored: the group at the left, its order unchanged.
  LayOut(TPoint(-1, -1), true);
  EXPECT_EQ(Button(2).Left, VI->BorderRect.Left);
  EXPECT_EQ(Button(0).Left, Button(2).Right);
  EXPECT_EQ(Button(1).Left, Button(0).Right);
  EXPECT_EQ(Button(3).Left, Button(1).Right);
}

TEST_F(SpinButtonsLayout, LeftRightIsNotMirrored) {
  Edit->Properties()->SpinButtons()->SetPosition(sbpHorzLeftRight);
  for (const bool rtl : {false, true}) {
    SCOPED_TRACE(rtl);
    LayOut(TPoint(-1, -1), rtl);
    EXPECT_EQ(Button(0).Left, VI->BorderRect.Left);
    EXPECT_EQ(Button(1).Right, VI->BorderRect.Right);
  }
}

TEST_F(SpinButtonsLayout, HiddenButtonsLeaveNone) {
  Edit->Properties()->SpinButtons()->SetVisible(false);
  LayOut();
  EXPECT_TRUE(VI->ButtonsInfo.empty());
}

// A hot button of the stacked pair on a bordered editor draws only the lines
// its neighbours do not: the up button its bottom and left (pattern 5), the
// down button its top and left (pattern 6).
TEST_F(SpinButtonsLayout, HotStackedButtonsDrawOnlyTheirInnerLines) {
  const COLORREF highlight = ColorToRGB(EditHotBorderColor(false));
  const COLORREF face = ColorToRGB(GetEditButtonColor(false, false));
  for (const int index : {1, 0}) {
    SCOPED_TRACE(index == 1 ? "up, pattern 5" : "down, pattern 6");
    LayOut();
    const TRect b = Button(index);
    LayOut(TPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
    ASSERT_EQ(VI->ButtonsInfo[index]->Data.State, ebsSelected);
    const TPixelSurface s = Painted();
    const int lineY = index == 1 ? b.Bottom - 1 : b.Top;
    const int otherY = index == 1 ? b.Top : b.Bottom - 1;
    EXPECT_EQ(s.Count(TRect(b.Left, lineY, b.Right, lineY + 1), highlight), b.Width()) << s.Picture(SpinBg);
    EXPECT_EQ(s.Count(TRect(b.Left, b.Top, b.Left + 1, b.Bottom), highlight), b.Height());
    // No line on the other sides: the editor's frame is there.
    EXPECT_EQ(s.Count(TRect(b.Left + 1, otherY, b.Right, otherY + 1), highlight), 0);
    EXPECT_EQ(s.Count(TRect(b.Right - 1, b.Top, b.Right, b.Bottom), highlight), 1);
    EXPECT_GT(s.Count(b, face), 0);
  }
}

TEST_F(SpinButtonsLayout, ADisabledButtonShowsAnEmbossedArrow) {
  Edit->SetEnabled(false);
  const TOwned<TcxCustomEditViewData> data = Edit->Properties()->CreateViewData(Edit->Style(), false);
  data->Enabled = false;
  data->Calculate(LayoutCanvas.Get(), Bounds, TPoint(-1, -1), cxmbNone, TShiftState{}, VI.get(), true);
  const TPixelSurface s = Painted();
  const TRect up = Button(1);
  EXPECT_GT(s.Count(up, ColorToRGB(clBtnHighlight)), 0);
  EXPECT_GT(s.Count(up, ColorToRGB(clBtnShadow)), 0);
}

// Native style: each button equals uxtheme's Spin part in its state drawn on
// a second surface. The buttons reach under the editor's frame, so the
// editor clips each to what the frame leaves visible; uxtheme stretches a
// clipped part's edges differently from an unclipped one, so the reference
// is drawn under the same clip.
TEST_F(SpinButtonsLayout, ThemedButtonsAreTheSpinThemeParts) {
  const HTHEME theme = OpenThemeData(nullptr, L"Spin");
  if (!theme) GTEST_SKIP() << "no Spin theme";
  Edit->Style()->LookAndFeel()->SetNativeStyle(true);
  Bounds = TRect(0, 0, 121, 21);
  for (const auto& [position, hover] : {std::pair{sbpVert, false}, std::pair{sbpVert, true},
                                        std::pair{sbpHorzRight, false}, std::pair{sbpHorzRight, true}}) {
    SCOPED_TRACE(testing::Message() << position << (hover ? " hot" : ""));
    Edit->Properties()->SpinButtons()->SetPosition(position);
    Edit->Properties()->SpinButtons()->SetShowFastButtons(position == sbpHorzRight);
    LayOut();
    if (hover) {
      // The mouse over the up button makes it hot: the theme's hot state.
      LayOut(Button(1).GetCenter());
      ASSERT_EQ(VI->ButtonsInfo[1]->Data.NativeState, 2);
    }
    const TPixelSurface painted = Painted();
    int parts = 0;
    for (const auto& button : VI->ButtonsInfo) {
      const TRect full = button->Bounds;
      // What the editor's frame leaves visible of the button.
      const TRect b = button->VisibleBounds;
      ASSERT_NE(button->Data.NativePart, 0);
      parts |= 1 << button->Data.NativePart;
      // The part drawn over black and over white: where both agree the
      // theme painted opaquely, and those pixels must be the editor's.
      const RECT r{full.Left, full.Top, full.Right, full.Bottom};
      const RECT clip{b.Left, b.Top, b.Right, b.Bottom};
      TPixelSurface overBlack(Bounds.Width(), Bounds.Height(), RGB(0, 0, 0));
      TPixelSurface overWhite(Bounds.Width(), Bounds.Height(), RGB(255, 255, 255));
      DrawThemeBackground(theme, overBlack.DC(), button->Data.NativePart, button->Data.NativeState, &r, &clip);
      DrawThemeBackground(theme, overWhite.DC(), button->Data.NativePart, button->Data.NativeState, &r, &clip);
      int differing = 0, opaque = 0;
      for (int y = b.Top; y < b.Bottom; ++y)
        for (int x = b.Left; x < b.Right; ++x) {
          if (overBlack.Pixel(x, y) != overWhite.Pixel(x, y)) continue;
          ++opaque;
          differing += painted.Pixel(x, y) != overBlack.Pixel(x, y);
        }
      EXPECT_GT(opaque, b.Width() * b.Height() / 2);
      EXPECT_EQ(differing, 0) << "part " << button->Data.NativePart;
    }
    EXPECT_EQ(parts, position == sbpVert ? (1 << 1 | 1 << 2) : (1 << 3 | 1 << 4));
  }
  CloseThemeData(theme);
}

}  // namespace
