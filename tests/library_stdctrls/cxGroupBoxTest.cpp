// The group box as a window on a form: caption places for every alignment,
// the caption's pixels against DrawTextW and turned captions against an
// escapement font, the frame broken under the caption, the children's
// rectangle, the caption cache and the accelerator.
#include "library/stdctrls/cxGroupBox.h"

#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/geometry/cxGeometry.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/StdCtrls.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int GroupW = 201;
constexpr int GroupH = 89;

class GroupBoxFixture : public testing::Test {
 protected:
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxGroupBox* Box = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 420, 300);
    Form->Show();
    Box = New<TcxGroupBox>(Form.get());
    Box->Style()->LookAndFeel()->SetNativeStyle(false);
    Box->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Box->SetParent(Form.get());
    Box->SetBounds(8, 8, GroupW, GroupH);
    Box->SetCaption(L"Verbindungsparameter");
    PumpPending();
  }

  TPixelSurface Paint() {
    TPixelSurface surface(Box->Width(), Box->Height(), RGB(1, 2, 3));
    Box->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
    return surface;
  }

  COLORREF Background() { return ColorToRGB(Box->ViewInfo()->BackgroundColor()); }

  // The caption's size as DrawTextW measures it in the caption font.
  TSize CaptionSize() {
    TPixelSurface scratch(4, 4);
    const TSelectObject font(scratch.DC(), Box->CaptionFont()->Handle());
    const String text = Box->Caption();
    RECT r{0, 0, 0, 0};
    DrawTextW(scratch.DC(), text.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    return TSize(r.right - r.left, r.bottom - r.top);
  }

  // The ink of a caption rectangle, cropped to its bounds: '#' where the
  // pixel differs from the background.
  static std::vector<std::string> InkOf(const TPixelSurface& S, const TRect& R, COLORREF ABackground) {
    TRect ink(R.Right, R.Bottom, R.Left, R.Top);
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x)
        if (S.Pixel(x, y) != ABackground) {
          ink.Left = std::min(ink.Left, x);
          ink.Top = std::min(ink.Top, y);
          ink.Right = std::max(ink.Right, x + 1);
          ink.Bottom = std::max(ink.Bottom, y + 1);
        }
    std::vector<std::string> rows;
    for (int y = ink.Top; y < ink.Bottom; ++y) {
      std::string row;
      for (int x = ink.Left; x < ink.Right; ++x) row += S.Pixel(x, y) != ABackground ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
  }
};

struct GroupCaptionCase {
  TcxCaptionAlignment Alignment;
  bool Shadow;
};

// Where each alignment puts a caption of w x h in a W x H box with a shadow
// of s and the indent 8; side captions run their length vertically.
TRect ExpectedCaption(TcxCaptionAlignment A, int w, int h, int s) {
  const int W = GroupW, H = GroupH, i = 8;
  switch (A) {
    case alTopLeft: return TRect(i, 0, i + w, h);
    case alTopCenter: return TRect((W - s - w) / 2, 0, (W - s - w) / 2 + w, h);
    case alTopRight: return TRect(W - s - w - i, 0, W - s - i, h);
    case alBottomLeft: return TRect(i, H - h, i + w, H);
    case alBottomCenter: return TRect((W - s - w) / 2, H - h, (W - s - w) / 2 + w, H);
    case alBottomRight: return TRect(W - s - w - i, H - h, W - s - i, H);
    case alCenterCenter: return TRect((W - s - w) / 2, (H - s - h) / 2, (W - s - w) / 2 + w, (H - s - h) / 2 + h);
    case alLeftTop: return TRect(0, i, h, i + w + 1);
    case alLeftCenter: {
      const int b = H - s - (H - s - w) / 2;
      return TRect(0, b - w - 1, h, b);
    }
    case alLeftBottom: return TRect(0, H - s - w - 1 - i, h, H - s - i);
    case alRightTop: return TRect(W - h, i, W, i + w);
    case alRightCenter: return TRect(W - h, (H - w) / 2, W, (H - w) / 2 + w);
    case alRightBottom: return TRect(W - h, H - w - i, W, H - i);
  }
  return TRect();
}

TEST_F(GroupBoxFixture, CaptionPlacesAndExtentsForEveryAlignment) {
  // A one-pixel frame on the bounds, so that the editor's extent is 1.
  Box->Style()->SetTransparentBorder(false);
  Box->SetCaption(L"Optionen");
  const TSize size = CaptionSize();
  const int h = size.cy, w = size.cx;
  const GroupCaptionCase cases[] = {
      {alTopLeft, false},    {alTopCenter, false},    {alTopRight, false},   {alBottomLeft, false},
      {alBottomCenter, false}, {alBottomRight, false}, {alLeftTop, false},    {alLeftCenter, false},
      {alLeftBottom, false}, {alRightTop, false},     {alRightCenter, false}, {alRightBottom, false},
      {alCenterCenter, false}, {alTopRight, true},     {alLeftBottom, true},   {alBottomRight, true},
  };
  for (const GroupCaptionCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << c.Alignment << " shadow " << c.Shadow);
    Box->Style()->SetShadow(c.Shadow);
    Box->SetAlignment(c.Alignment);
    PumpPending();
    // Only the top row and the left column draw a shadow.
    const TcxCaptionAlignment a = c.Alignment;
    const bool shadow = c.Shadow && (a <= alTopRight || (a >= alLeftTop && a <= alLeftBottom));
    EXPECT_EQ(Box->ViewInfo()->Shadow, shadow);
    EXPECT_EQ(Box->ViewInfo()->CaptionRect, ExpectedCaption(a, w, h, shadow ? 3 : 0));
    EXPECT_EQ(Box->ViewInfo()->TextRect, Box->ViewInfo()->CaptionRect);

    // The frame's caption side runs through the caption's middle; the
    // children start below (beside) the caption.
    const TRect border = Box->ViewInfo()->BorderExtent;
    TRect client;
    Box->AdjustClientRect(client);
    const int s = shadow ? 3 : 0;
    switch (CaptionAlignmentToPosition(a)) {
      case cxgpTop:
        EXPECT_EQ(border.Top, h / 2 + 1);
        EXPECT_EQ(client, TRect(1, h + 1 + 3, GroupW - 1 - s, GroupH - 1 - s));
        break;
      case cxgpBottom:
        EXPECT_EQ(border.Bottom, h / 2 + 1);
        EXPECT_EQ(client, TRect(1, 1, GroupW - 1, GroupH - h - 1 - 3));
        break;
      case cxgpLeft:
        EXPECT_EQ(border.Left, h / 2);
        EXPECT_EQ(client, TRect(h + 1 + 3, 1, GroupW - 1 - s, GroupH - 1 - s));
        break;
      case cxgpRight:
        EXPECT_EQ(border.Right, h / 2);
        EXPECT_EQ(client, TRect(1, 1, GroupW - h - 1 - 3, GroupH - 1));
        break;
      case cxgpCenter:
        EXPECT_EQ(border, TRect(1, 1, 1, 1));
        EXPECT_EQ(client, TRect(1, 1, GroupW - 1, GroupH - 1));
        break;
    }
  }
}

// As the main window has it: the editor's transparent border keeps the frame
// one pixel inside the bounds.
TEST_F(GroupBoxFixture, TopLeftCaptionAtThirteenPixelText) {
  Box->Style()->Font()->SetName(L"Tahoma");
  Box->Style()->Font()->SetHeight(-11);
  PumpPending();
  ASSERT_EQ(GetFontHeight(Box->CaptionFont()), 13);
  EXPECT_EQ(Box->ViewInfo()->CaptionRect.TopLeft(), TPoint(8, 0));
  EXPECT_EQ(Box->ViewInfo()->BorderExtent.Top, 7);
  EXPECT_EQ(Box->ViewInfo()->FrameRect, TRect(1, 6, GroupW - 1, GroupH - 1));
  EXPECT_EQ(Box->ViewInfo()->ClientRect.Top, 13 + 2 + 3);
}

TEST_F(GroupBoxFixture, CaptionPixelsAreDrawTextsAndTheFrameBreaksUnderIt) {
  const TPixelSurface painted = Paint();
  const TRect caption = Box->ViewInfo()->CaptionRect;
  const COLORREF paper = Background();

  TPixelSurface reference(Box->Width(), Box->Height(), paper);
  {
    const TSelectObject font(reference.DC(), Box->CaptionFont()->Handle());
    SetBkMode(reference.DC(), TRANSPARENT);
    SetTextColor(reference.DC(), ColorToRGB(clWindowText));
    RECT r{caption.Left, caption.Top, caption.Right, caption.Bottom};
    DrawTextW(reference.DC(), L"Verbindungsparameter", -1, &r, DT_SINGLELINE);
  }
  for (int y = caption.Top; y < caption.Bottom; ++y)
    for (int x = caption.Left; x < caption.Right; ++x)
      ASSERT_EQ(painted.Pixel(x, y), reference.Pixel(x, y)) << x << ", " << y;

  const COLORREF line = ColorToRGB(clBtnShadow);
  const TRect frame = Box->ViewInfo()->FrameRect;
  const int top = frame.Top;
  EXPECT_EQ(top, caption.Top + caption.Height() / 2);
  for (int x = frame.Left; x < frame.Right; ++x) {
    const bool under = x >= caption.Left && x < caption.Right;
    if (under)
      EXPECT_NE(painted.Pixel(x, top), line) << x;
    else
      EXPECT_EQ(painted.Pixel(x, top), line) << x;
  }
  // Nothing of the box is drawn above the frame beside the caption.
  EXPECT_EQ(painted.CountOther(TRect(0, 0, caption.Left, top), paper), 0);
  EXPECT_EQ(painted.Count(InflateRectangle(frame, -1), line), 0);
}

TEST_F(GroupBoxFixture, EmptyCaptionClosesTheFrameAllRound) {
  Box->SetCaption(L"");
  PumpPending();
  EXPECT_TRUE(Box->ViewInfo()->CaptionRect.IsEmpty());
  const TPixelSurface painted = Paint();
  const TRect frame = Box->ViewInfo()->FrameRect;
  const COLORREF line = ColorToRGB(clBtnShadow);
  EXPECT_EQ(painted.Count(TRect(frame.Left, frame.Top, frame.Right, frame.Top + 1), line), frame.Width());
  EXPECT_EQ(painted.Count(TRect(frame.Left, frame.Bottom - 1, frame.Right, frame.Bottom), line), frame.Width());
  EXPECT_EQ(painted.Count(TRect(frame.Left, frame.Top, frame.Left + 1, frame.Bottom), line), frame.Height());
  EXPECT_EQ(painted.Count(TRect(frame.Right - 1, frame.Top, frame.Right, frame.Bottom), line), frame.Height());
}

// A quarter turn of an ink picture: counter-clockwise for +90.
std::vector<std::string> TurnedInk(const std::vector<std::string>& AInk, bool ACounterClockwise) {
  const int h = static_cast<int>(AInk.size());
  const int w = h ? static_cast<int>(AInk[0].size()) : 0;
  std::vector<std::string> result(static_cast<std::size_t>(w), std::string(static_cast<std::size_t>(h), '.'));
  for (int r = 0; r < w; ++r)
    for (int c = 0; c < h; ++c)
      result[r][c] = ACounterClockwise ? AInk[c][w - 1 - r] : AInk[h - 1 - c][r];
  return result;
}

// Left captions read upwards, right captions downwards: the upright caption
// turned a quarter, pixel for pixel; an escapement font of +-900 (which
// Wine rasterises with its own hinting) covers the same extent.
TEST_F(GroupBoxFixture, SideCaptionsAreTheUprightTextTurned) {
  Box->SetCaption(L"Optionen");
  Box->Style()->Font()->SetName(L"Tahoma");
  Box->Style()->Font()->SetHeight(-11);
  const struct {
    TcxCaptionAlignment Alignment;
    int Escapement;
  } cases[] = {{alLeftTop, 900}, {alLeftCenter, 900}, {alRightBottom, -900}, {alRightCenter, -900}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "alignment " << c.Alignment);
    Box->SetAlignment(c.Alignment);
    PumpPending();
    const TPixelSurface painted = Paint();
    const TRect caption = Box->ViewInfo()->CaptionRect;
    EXPECT_EQ(caption.Height(), CaptionSize().cx + (c.Escapement > 0 ? 1 : 0));
    const COLORREF paper = Background();
    const std::vector<std::string> ink = InkOf(painted, caption, paper);
    ASSERT_FALSE(ink.empty());

    TPixelSurface upright(200, 40, paper);
    {
      const TSelectObject font(upright.DC(), Box->CaptionFont()->Handle());
      SetBkMode(upright.DC(), TRANSPARENT);
      SetTextColor(upright.DC(), ColorToRGB(clWindowText));
      RECT r{10, 10, 190, 30};
      DrawTextW(upright.DC(), L"Optionen", -1, &r, DT_SINGLELINE);
    }
    EXPECT_EQ(ink, TurnedInk(InkOf(upright, upright.ClientRect(), paper), c.Escapement > 0));

    TPixelSurface turned(200, 200, paper);
    LOGFONTW logFont = Box->CaptionFont()->LogFont();
    logFont.lfEscapement = logFont.lfOrientation = c.Escapement;
    const TOwnedFont escapement(CreateFontIndirectW(&logFont));
    {
      const TSelectObject font(turned.DC(), escapement.Get());
      SetBkMode(turned.DC(), TRANSPARENT);
      SetTextColor(turned.DC(), ColorToRGB(clWindowText));
      ExtTextOutW(turned.DC(), 100, 100, 0, nullptr, L"Optionen", 8, nullptr);
    }
    const std::vector<std::string> reference = InkOf(turned, turned.ClientRect(), paper);
    // Wine advances its turned glyphs a little further: 46 against 43 pixels.
    EXPECT_NEAR(static_cast<int>(ink.size()), static_cast<int>(reference.size()), 3);
    EXPECT_NEAR(static_cast<int>(ink[0].size()), static_cast<int>(reference[0].size()), 1);
  }
}

TEST_F(GroupBoxFixture, ChildrenGetTheContentRectangle) {
  TButton* filler = New<TButton>(Form.get());
  filler->SetParent(Box);
  filler->SetAlign(alClient);
  TButton* placed = New<TButton>(Form.get());
  placed->SetParent(Box);
  placed->SetBounds(11, 18, 60, 20);
  PumpPending();
  // The editor's transparent border is 2 pixels on every side.
  const int h = GetFontHeight(Box->CaptionFont());
  EXPECT_EQ(filler->BoundsRect(), TRect(2, h + 2 + 3, GroupW - 2, GroupH - 2));
  EXPECT_EQ(placed->BoundsRect(), TRect(11, 18, 71, 38));

  Box->PanelStyle()->SetActive(true);
  Box->PanelStyle()->SetBorderWidth(4);
  PumpPending();
  EXPECT_EQ(filler->BoundsRect(), TRect(6, 6, GroupW - 6, GroupH - 6));
}

TEST_F(GroupBoxFixture, CaptionCacheSurvivesResizeButNotCaptionChange) {
  PumpPending();
  const int measured = cxGroupBoxMeasureCount();
  Box->SetBounds(8, 8, GroupW + 40, GroupH + 20);
  Box->Repaint();
  PumpPending();
  EXPECT_EQ(cxGroupBoxMeasureCount(), measured);
  Box->SetCaption(L"Optionen");
  PumpPending();
  EXPECT_GT(cxGroupBoxMeasureCount(), measured);
  EXPECT_EQ(Box->ViewInfo()->CaptionRect.Width(), CaptionSize().cx);
}

TEST_F(GroupBoxFixture, WrappedPanelCaptionFollowsTheWidth) {
  Box->SetCaption(L"Eins zwei drei vier");
  Box->PanelStyle()->SetActive(true);
  Box->PanelStyle()->SetWordWrap(true);
  Box->SetBounds(8, 8, 300, GroupH);
  PumpPending();
  const int oneLine = Box->ViewInfo()->CaptionRect.Height();
  EXPECT_EQ(oneLine, GetFontHeight(Box->CaptionFont()));
  Box->SetBounds(8, 8, 50, GroupH);
  PumpPending();
  EXPECT_GE(Box->ViewInfo()->CaptionRect.Height(), 3 * oneLine) << "a narrower panel wraps the caption again";
  Box->SetBounds(8, 8, 300, GroupH);
  PumpPending();
  EXPECT_EQ(Box->ViewInfo()->CaptionRect.Height(), oneLine);
}

TEST_F(GroupBoxFixture, AcceleratorFocusesTheFirstChild) {
  Box->SetCaption(L"&Optionen");
  TButton* first = New<TButton>(Form.get());
  first->SetParent(Box);
  first->SetBounds(11, 20, 60, 20);
  TButton* second = New<TButton>(Form.get());
  second->SetParent(Box);
  second->SetBounds(11, 50, 60, 20);
  TButton* outside = New<TButton>(Form.get());
  outside->SetParent(Form.get());
  outside->SetBounds(250, 200, 60, 20);
  SetForegroundWindow(Form->Handle());
  outside->SetFocus();
  PumpPending();
  ASSERT_TRUE(outside->Focused());
  SendKey(VK_MENU, false);
  SendKey('O', false);
  SendKey('O', true);
  SendKey(VK_MENU, true);
  // The application's loop routes Alt+letter to the form's accelerators.
  EXPECT_TRUE(PumpUntilWith(
      [] {
        Application()->ProcessMessages();
        return true;
      },
      [&] { return first->Focused(); }, 5000, 50));
  EXPECT_FALSE(Box->Focused()) << "the box itself never takes the focus";
}

}  // namespace
