// A real editor window painting itself: each state reached by real input,
// its pixels against the system colours, and the repaint a hover causes.
#include "library/editors/edit/cxEdit.h"

#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Records the region the first paint after Arm() finds invalid.
class TPaintedEdit : public TcxCustomEdit {
  SK_CLASS(TPaintedEdit, TcxCustomEdit)
 public:
  void Arm() {
    FArmed = true;
    FPaintRegion.Reset();
  }
  HRGN PaintRegion() const { return FPaintRegion.Get(); }

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_PAINT && FArmed) {
      FArmed = false;
      FPaintRegion.Reset(CreateRectRgn(0, 0, 0, 0));
      GetUpdateRgn(Handle(), FPaintRegion.Get(), FALSE);
    }
    inherited::WndProc(Message);
  }

 private:
  bool FArmed = false;
  TOwnedRegion FPaintRegion;
};

constexpr int W = 121, H = 21;

// The frame sits one pixel inside the bounds (the outer ring is the
// parent's), the button inside the frame at the system's scroll-arrow width.
TRect Button() {
  const int w = GetSystemMetrics(SM_CYHSCROLL);
  return TRect(W - 2 - w, 2, W - 2, H - 2);
}

// The main window's combo box look: ultra-flat, not native, one drop-down
// button, 121 x 21 on a shown form.
class EditPaintingTest : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    Form->SetBoundsRect(TRect(200, 150, 500, 350));
    Form->Show();
    SetForegroundWindow(Form->Handle());
    ASSERT_TRUE(PumpUntil([this] { return GetForegroundWindow() == Form->Handle(); }));
    Edit = NewWith<TPaintedEdit>([this](TPaintedEdit* e) { e->Create(Form.get()); });
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    Edit->ActiveProperties()->Buttons()->Add()->SetKind(bkDown);
    Edit->SetParent(Form.get());
    // The bare kind measures no content: without this it would shrink to its frame.
    Edit->SetAutoSize(false);
    Edit->SetBounds(20, 20, W, H);
    MoveAway();
    PumpPending();
  }
  void TearDown() override {
    SendMouseMove(Screen(TPoint(W / 2, H + 40)));
    Form.reset();
  }

  TPoint Screen(const TPoint& P) const { return Edit->ClientToScreen(P); }
  TPoint OverText() const { return Screen(TPoint(20, H / 2)); }
  TPoint OverButton() const { return Screen(TPoint((Button().Left + Button().Right) / 2, H / 2)); }
  void MoveAway() {
    MoveUntil(Screen(TPoint(W / 2, H + 40)),
              [this] { return !Edit->ViewInfo()->ContainerState.Contains(csHotTrack); });
  }

  // The window's pixels once its pending paint is done.
  TPixelSurface Shown() const {
    UpdateWindow(Edit->Handle());
    TPixelSurface result(W, H, Bg);
    const TWindowDC dc(Edit->Handle());
    BitBlt(result.DC(), 0, 0, W, H, dc.Get(), 0, 0, SRCCOPY);
    return result;
  }

  void WalkThroughTheStates();

  TOwned<TForm> Form;
  TPaintedEdit* Edit = nullptr;
};

struct TExpected {
  COLORREF Frame;
  COLORREF Fill;
  COLORREF Face;
  COLORREF Arrow;
  bool HighlightLine;  // the line that separates a hot or pressed button from the text
};

// Every pixel of the frame ring, of the text area and of a strip of the
// button's face above its arrow; the arrow on the face.
void ExpectPainted(const TPixelSurface& S, const TExpected& E) {
  const TRect b = Button();
  const int frameWidth = W - 2, frameHeight = H - 2;
  const int ring = 2 * (frameWidth + frameHeight) - 4;
  const int ringFramed = S.Count(TRect(1, 1, 1 + frameWidth, 1 + frameHeight), E.Frame) -
                         S.Count(TRect(2, 2, frameWidth, frameHeight), E.Frame);
  EXPECT_EQ(ringFramed, ring) << S.Picture(E.Frame);
  const TRect text(2, 2, b.Left, H - 2);
  EXPECT_EQ(S.Count(text, E.Fill), text.Width() * text.Height()) << S.Picture(E.Fill);
  const TRect faceStrip(b.Left + 1, b.Top + 1, b.Right - 1, b.Top + 4);
  EXPECT_EQ(S.Count(faceStrip, E.Face), faceStrip.Width() * faceStrip.Height()) << S.Picture(E.Face);
  EXPECT_GT(S.Count(b, E.Arrow), 3) << "the arrow";
  const TRect line(b.Left, b.Top, b.Left + 1, b.Bottom);
  if (E.HighlightLine)
    EXPECT_EQ(S.Count(line, Sys(COLOR_HIGHLIGHT)), line.Height());
  else
    EXPECT_EQ(S.Count(line, Sys(COLOR_HIGHLIGHT)), 0);
}

COLORREF Nearest(COLORREF AColor) {
  const TScreenDC screen;
  return GetNearestColor(screen.Get(), AColor);
}

// The states in the order real input reaches them.
void EditPaintingTest::WalkThroughTheStates() {
  const TPoint overText = OverText(), overButton = OverButton();
  const COLORREF shadow = Sys(COLOR_BTNSHADOW), highlight = Sys(COLOR_HIGHLIGHT), window = Sys(COLOR_WINDOW),
                 face = Sys(COLOR_BTNFACE), ink = Sys(COLOR_BTNTEXT);
  TcxCustomEditViewInfo* vi = Edit->ViewInfo();
  {
    SCOPED_TRACE("mouse away");
    ExpectPainted(Shown(), {shadow, window, face, ink, false});
  }
  {
    SCOPED_TRACE("over the text");
    ASSERT_TRUE(MoveUntil(overText, [vi] { return vi->ContainerState.Contains(csHotTrack) && vi->SelectedButton < 0; }));
    ExpectPainted(Shown(), {highlight, window, face, ink, false});
  }
  {
    SCOPED_TRACE("over the button");
    ASSERT_TRUE(MoveUntil(overButton, [vi] { return vi->SelectedButton == 0; }));
    ExpectPainted(Shown(), {highlight, window, Nearest(HotBlend()), ink, true});
  }
  {
    SCOPED_TRACE("pressed on the button");
    ASSERT_TRUE(SendMouseUntil(overButton, MOUSEEVENTF_LEFTDOWN, [vi] { return vi->PressedButton == 0; }));
    ExpectPainted(Shown(), {highlight, window, Nearest(PressedBlend()), ink, true});
    SendMouseButtons(overButton, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([vi] { return vi->PressedButton < 0; }));
  }
  {
    SCOPED_TRACE("focused, mouse away");
    MoveAway();
    Edit->SetFocus();
    ASSERT_TRUE(PumpUntil([this] { return Edit->Focused(); }));
    ExpectPainted(Shown(), {highlight, window, face, ink, false});
  }
  {
    SCOPED_TRACE("disabled");
    Edit->SetEnabled(false);
    PumpPending();
    ExpectPainted(Shown(), {shadow, face, face, shadow, false});
  }
}

// Other system colours for the test's span, the old ones back after it.
class TSystemColorsSwap {
 public:
  TSystemColorsSwap(std::array<int, 4> AIndexes, std::array<COLORREF, 4> AColors) : FIndexes(AIndexes) {
    for (std::size_t i = 0; i < FIndexes.size(); ++i) FSaved[i] = GetSysColor(FIndexes[i]);
    SetSysColors(static_cast<int>(FIndexes.size()), FIndexes.data(), AColors.data());
  }
  ~TSystemColorsSwap() { SetSysColors(static_cast<int>(FIndexes.size()), FIndexes.data(), FSaved.data()); }
  TSystemColorsSwap(const TSystemColorsSwap&) = delete;
  TSystemColorsSwap& operator=(const TSystemColorsSwap&) = delete;

 private:
  std::array<int, 4> FIndexes;
  std::array<COLORREF, 4> FSaved{};
};

}  // namespace

TEST_F(EditPaintingTest, EachStateReachedByInputPaintsTheSystemColours) {
  // The transparent outer ring is left to the parent.
  const TOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(Edit->Handle(), region.Get()), ERROR);
  const TOwnedRegion frame(CreateRectRgn(1, 1, W - 1, H - 1));
  EXPECT_TRUE(EqualRgn(region.Get(), frame.Get()));
  WalkThroughTheStates();
}

TEST_F(EditPaintingTest, TheNextPaintFollowsNewSystemColours) {
  const TSystemColorsSwap swap({COLOR_WINDOW, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_HIGHLIGHT},
                              {RGB(250, 240, 200), RGB(90, 60, 30), RGB(200, 220, 240), RGB(160, 0, 80)});
  PumpPending();
  ASSERT_EQ(Sys(COLOR_HIGHLIGHT), RGB(160, 0, 80));
  // The record keeps system colour names, not values: a paint is all it takes.
  RedrawWindow(Edit->Handle(), nullptr, nullptr, RDW_INVALIDATE);
  WalkThroughTheStates();
}

TEST_F(EditPaintingTest, AHoverRepaintsTheButtonOnly) {
  TcxCustomEditViewInfo* vi = Edit->ViewInfo();
  ASSERT_TRUE(MoveUntil(OverText(), [vi] { return vi->ContainerState.Contains(csHotTrack); }));
  UpdateWindow(Edit->Handle());
  Edit->Arm();
  ASSERT_TRUE(MoveUntil(OverButton(), [vi] { return vi->SelectedButton == 0; }));
  ASSERT_TRUE(PumpUntil([this] { return Edit->PaintRegion() != nullptr; }));
  const TRect b = Button();
  const TOwnedRegion button(CreateRectRgn(b.Left, b.Top, b.Right, b.Bottom));
  RECT box{};
  GetRgnBox(Edit->PaintRegion(), &box);
  EXPECT_TRUE(EqualRgn(Edit->PaintRegion(), button.Get()))
      << box.left << "," << box.top << "," << box.right << "," << box.bottom;

  // Leaving the editor changes the frame: the whole ring is painted again.
  Edit->Arm();
  MoveAway();
  ASSERT_TRUE(PumpUntil([this] { return Edit->PaintRegion() != nullptr; }));
  const TOwnedRegion ring(CreateRectRgn(1, 1, W - 1, H - 1));
  const TOwnedRegion covered(CreateRectRgn(0, 0, 0, 0));
  CombineRgn(covered.Get(), ring.Get(), Edit->PaintRegion(), RGN_DIFF);
  EXPECT_EQ(GetRgnBox(covered.Get(), &box), NULLREGION);
}
