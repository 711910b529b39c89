#include "library/editors/edit/cxEdit.h"
#include "library/editors/edit/cxEditPaintUtils.h"

#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

namespace {

// A standalone 121 x 21 editor of the main window's look: a one-pixel frame
// and one right-aligned drop-down button 17 pixels wide inside it.
class EditViewInfoTest : public testing::Test {
 protected:
  static constexpr TRect ButtonBounds{103, 1, 120, 20};

  void SetUp() override {
    VI.reset(New<TcxCustomEditViewInfo>());
    Fill(VI.get());
  }

  static void Fill(TcxCustomEditViewInfo* AViewInfo) {
    AViewInfo->Painter = UltraFlatPainter();
    AViewInfo->Bounds = TRect(0, 0, 121, 21);
    AViewInfo->BorderRect = TRect(1, 1, 120, 20);
    AViewInfo->ClientRect = TRect(1, 1, 103, 20);
    // Ultra-flat borders reach the record as single ones.
    AViewInfo->BorderStyle = ebsSingle;
    AViewInfo->BorderColor = clBtnShadow;
    AViewInfo->Edges = cxBordersAll();
    AViewInfo->SetBackgroundColor(clWindow);
    AViewInfo->TextColor = clWindowText;
    AViewInfo->SetButtonCount(1);
    TcxEditButtonViewInfo* button = AViewInfo->ButtonsInfo[0].get();
    button->Bounds = ButtonBounds;
    button->VisibleBounds = ButtonBounds;
    button->ButtonIndex = 0;
    button->ButtonVisibleIndex = 0;
    button->Data.Kind = bkDown;
    button->Data.Style = btsUltraFlat;
    button->Data.State = ebsNormal;
    button->Data.Rightmost = true;
    button->Data.Leftmost = true;
  }

  TcxEditButtonViewInfo* Button() const { return VI->ButtonsInfo[0].get(); }

  // The record painted on a surface of the editor's size.
  TPixelSurface Painted() const {
    TCanvasOnSurface canvas(121, 21, Bg);
    VI->Paint(canvas.Get());
    TPixelSurface result(121, 21, Bg);
    BitBlt(result.DC(), 0, 0, 121, 21, canvas.Surface.DC(), 0, 0, SRCCOPY);
    return result;
  }

  // Frame and text area drawn by GDI.
  static TPixelSurface EditorReference() {
    TPixelSurface reference(121, 21, Bg);
    GdiFrame(reference.DC(), TRect(0, 0, 121, 21), Sys(COLOR_BTNSHADOW));
    GdiFill(reference.DC(), TRect(1, 1, 120, 20), Sys(COLOR_WINDOW));
    return reference;
  }

  // Pixels that differ outside the arrow's area; the arrow itself must
  // be button text on the face, inside AArrowArea and nowhere else.
  static int DifferingExceptArrow(const TPixelSurface& A, const TPixelSurface& B, const TRect& AArrowArea) {
    int result = 0;
    for (int y = 0; y < A.Height(); ++y)
      for (int x = 0; x < A.Width(); ++x) {
        const bool arrow = A.Pixel(x, y) == Sys(COLOR_BTNTEXT) && AArrowArea.Contains(x, y);
        result += !arrow && A.Pixel(x, y) != B.Pixel(x, y);
      }
    return result;
  }

  TOwned<TcxCustomEditViewInfo> VI;
};

TEST_F(EditViewInfoTest, ANormalButtonIsAFaceFramedInTheBackground) {
  const TPixelSurface painted = Painted();
  TPixelSurface reference = EditorReference();
  GdiFrame(reference.DC(), ButtonBounds, Sys(COLOR_WINDOW));
  GdiFill(reference.DC(), TRect(104, 2, 119, 19), Sys(COLOR_BTNFACE));
  const TRect content(105, 2, 118, 19);
  EXPECT_EQ(DifferingExceptArrow(painted, reference, content), 0) << painted.Picture(Sys(COLOR_WINDOW));
  EXPECT_GT(painted.Count(content, Sys(COLOR_BTNTEXT)), 3);
  EXPECT_EQ(painted.Count(Sys(COLOR_BTNTEXT)), painted.Count(content, Sys(COLOR_BTNTEXT)));
}

// Hot and pressed: one highlight line separates the button from the text;
// the frame's own right side stays the editor's.
TEST_F(EditViewInfoTest, AHotOrPressedButtonShowsOneHighlightLineAndTheBlendedFace) {
  const TScreenDC screen;
  struct TRow {
    TcxEditButtonState State;
    COLORREF Face;
  };
  for (const TRow& row : {TRow{ebsSelected, GetNearestColor(screen.Get(), HotBlend())},
                          TRow{ebsPressed, GetNearestColor(screen.Get(), PressedBlend())}}) {
    SCOPED_TRACE(row.State);
    Button()->Data.State = row.State;
    const TPixelSurface painted = Painted();
    TPixelSurface reference = EditorReference();
    GdiFill(reference.DC(), TRect(103, 1, 104, 20), Sys(COLOR_HIGHLIGHT));
    GdiFill(reference.DC(), TRect(104, 1, 119, 20), row.Face);
    // The pressed arrow moves one pixel right and down.
    const TRect content(105, 2, 118, 19);
    EXPECT_EQ(DifferingExceptArrow(painted, reference, row.State == ebsPressed ? TRect(105, 2, 119, 20) : content), 0)
        << painted.Picture(Sys(COLOR_WINDOW));
    EXPECT_GT(painted.Count(Sys(COLOR_BTNTEXT)), 3);
  }
}

TEST_F(EditViewInfoTest, ThePressedArrowIsTheNormalOneMovedRightAndDown) {
  Button()->Data.State = ebsSelected;
  const TPixelSurface hot = Painted();
  Button()->Data.State = ebsPressed;
  const TPixelSurface pressed = Painted();
  const COLORREF ink = Sys(COLOR_BTNTEXT);
  const TRect a = hot.BoundsOf(ink), b = pressed.BoundsOf(ink);
  EXPECT_FALSE(a.IsEmpty());
  EXPECT_EQ(b, TRect(a.Left + 1, a.Top + 1, a.Right + 1, a.Bottom + 1));
  EXPECT_EQ(hot.Count(ink), pressed.Count(ink));
}

TEST_F(EditViewInfoTest, ADisabledArrowIsEmbossed) {
  Button()->Data.State = ebsDisabled;
  const TPixelSurface painted = Painted();
  // The highlight copy sits one pixel right and down of the shadow arrow.
  int arrow = 0, embossed = 0;
  for (int y = 2; y < 19; ++y)
    for (int x = 105; x < 118; ++x)
      if (painted.Pixel(x, y) == Sys(COLOR_BTNSHADOW)) {
        ++arrow;
        const COLORREF below = painted.Pixel(x + 1, y + 1);
        embossed += below == Sys(COLOR_BTNHIGHLIGHT) || below == Sys(COLOR_BTNSHADOW);
      }
  EXPECT_GT(arrow, 3);
  EXPECT_EQ(embossed, arrow);
  EXPECT_EQ(painted.Count(TRect(105, 2, 118, 19), Sys(COLOR_BTNTEXT)), 0);
}

TEST_F(EditViewInfoTest, ATransparentRecordPaintsTheFrameOnly) {
  VI->Transparent = true;
  const TPixelSurface painted = Painted();
  TPixelSurface reference(121, 21, Bg);
  GdiFrame(reference.DC(), TRect(0, 0, 121, 21), Sys(COLOR_BTNSHADOW));
  // Only the button's face and arrow remain inside; no frame in the background colour.
  EXPECT_EQ(painted.Count(TRect(1, 1, 120, 20), Sys(COLOR_WINDOW)), 0);
  EXPECT_EQ(painted.Count(TRect(1, 1, 103, 20), Bg), 102 * 19);
  int frame = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 121; ++x)
      if (!TRect(1, 1, 120, 20).Contains(x, y)) frame += painted.Pixel(x, y) == reference.Pixel(x, y);
  EXPECT_EQ(frame, 2 * (121 + 21) - 4);
}

TEST_F(EditViewInfoTest, MissingEdgesLeaveTheirLinesOutside) {
  VI->Edges = TcxBorders{bLeft, bTop};
  VI->BorderRect = TRect(1, 1, 121, 21);
  VI->SetButtonCount(0);
  const TPixelSurface painted = Painted();
  TPixelSurface reference(121, 21, Bg);
  GdiFill(reference.DC(), TRect(0, 0, 121, 1), Sys(COLOR_BTNSHADOW));
  GdiFill(reference.DC(), TRect(0, 0, 1, 21), Sys(COLOR_BTNSHADOW));
  GdiFill(reference.DC(), TRect(1, 1, 121, 21), Sys(COLOR_WINDOW));
  EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_WINDOW));
}

TEST_F(EditViewInfoTest, PartsUnderThePoint) {
  VI->FErrorBounds = TRect(2, 2, 18, 18);
  EXPECT_EQ(VI->HitTestPart(TPoint(110, 10)), 0);
  EXPECT_EQ(VI->HitTestPart(TPoint(50, 10)), ecpNone);
  EXPECT_EQ(VI->HitTestPart(TPoint(0, 10)), ecpOutside);
  EXPECT_EQ(VI->HitTestPart(TPoint(120, 10)), ecpOutside);
  EXPECT_EQ(VI->HitTestPart(TPoint(5, 5)), ecpNone) << "no error set";
  VI->ErrorData()->SetErrorText(L"bad");
  VI->ErrorData()->SetErrorType(eetCustom);
  EXPECT_EQ(VI->HitTestPart(TPoint(5, 5)), ecpErrorIcon);
  EXPECT_EQ(VI->GetHitPartBounds(ecpErrorIcon), TRect(2, 2, 18, 18));
  EXPECT_EQ(VI->GetHitPartBounds(ecpNone), TRect(1, 1, 103, 20));
  EXPECT_EQ(VI->GetHitPartBounds(0), ButtonBounds);
  EXPECT_TRUE(VI->GetHitPartBounds(ecpOutside).IsEmpty());
  Button()->Data.Hint = L"Open|the list";
  EXPECT_EQ(VI->GetPartHintText(0), L"Open|the list");
  EXPECT_EQ(VI->GetPartHintText(ecpErrorIcon), L"bad");
  EXPECT_EQ(VI->GetPartHintText(ecpNone), L"");
}

// What a new record invalidates against its predecessor.
TEST_F(EditViewInfoTest, UpdateRegionsCoverOnlyWhatChanged) {
  TOwned<TcxCustomEditViewInfo> old(New<TcxCustomEditViewInfo>());
  Fill(old.get());
  old->Assign(VI.get());
  EXPECT_TRUE(VI->GetUpdateRegion(old.get())->IsEmpty());

  Button()->Data.State = ebsSelected;
  EXPECT_EQ(VI->GetUpdateRegion(old.get())->BoundsRect(), ButtonBounds);

  old->Assign(VI.get());
  EXPECT_TRUE(VI->GetUpdateRegion(old.get())->IsEmpty());
  VI->BorderColor = clHighlight;
  EXPECT_EQ(VI->GetUpdateRegion(old.get())->BoundsRect(), VI->Bounds);
  VI->BorderStyle = ebsNone;
  old->BorderStyle = ebsNone;
  EXPECT_TRUE(VI->GetUpdateRegion(old.get())->IsEmpty()) << "a border colour without a border";
}

TEST_F(EditViewInfoTest, RightToLeftHitTestsFollowTheMirroredLayout) {
  // The same editor mirrored: the button at the left.
  VI->ClientRect = TRect(18, 1, 120, 20);
  Button()->Bounds = Button()->VisibleBounds = TRect(1, 1, 18, 20);
  Button()->Data.LeftAlignment = true;
  VI->UseRightToLeftAlignment = true;
  for (int x = 0; x < 121; ++x) {
    TOwned<TcxCustomEditViewInfo> ltr(New<TcxCustomEditViewInfo>());
    Fill(ltr.get());
    ASSERT_EQ(VI->HitTestPart(TPoint(x, 10)), ltr->HitTestPart(TPoint(120 - x, 10))) << x;
  }
  EXPECT_EQ(VI->GetHitPartBounds(ecpNone), TRect(18, 1, 120, 20));
}

TEST_F(EditViewInfoTest, SetButtonCountMakesAndDropsEntriesOwnedByTheRecord) {
  VI->SetButtonCount(3);
  ASSERT_EQ(VI->ButtonsInfo.size(), 3u);
  for (const auto& button : VI->ButtonsInfo) {
    EXPECT_EQ(button->EditViewInfo, VI.get());
    EXPECT_NE(button->FadingHelper.get(), nullptr);
  }
  VI->SetButtonCount(1);
  EXPECT_EQ(VI->ButtonsInfo.size(), 1u);
  EXPECT_EQ(VI->LastPressedButton, -1);
  EXPECT_EQ(VI->PressedButton, -1);
  EXPECT_EQ(VI->SelectedButton, -1);
}

}  // namespace

namespace {

// The native frame is the edit theme's border part drawn around the content,
// which the background brush fills.
TEST_F(EditViewInfoTest, TheNativeFrameIsTheThemesEditBorder) {
  const HTHEME theme = OpenThemeData(nullptr, L"Edit");
  if (!theme) GTEST_SKIP() << "no active theme";
  VI->SetButtonCount(0);
  VI->NativeStyle = true;
  VI->FEditorBounds = VI->Bounds;
  for (const int state : {1, 2, 3, 4}) {
    SCOPED_TRACE(state);
    VI->NativeState = state;
    const TPixelSurface painted = Painted();

    TPixelSurface reference(121, 21, Bg);
    {
      const TSavedDC saved(reference.DC());
      ExcludeClipRect(reference.DC(), 2, 2, 119, 19);
      const RECT bounds{0, 0, 121, 21};
      DrawThemeBackground(theme, reference.DC(), EP_EDITBORDER_NOSCROLL, state, &bounds, nullptr);
    }
    GdiFill(reference.DC(), TRect(2, 2, 119, 19), Sys(COLOR_WINDOW));
    EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_WINDOW));
    // The theme drew a frame: the outer ring holds neither the surface nor the fill.
    const int ring = RingLength(TRect(0, 0, 121, 21));
    EXPECT_LT(RingCount(painted, TRect(0, 0, 121, 21), Bg) + RingCount(painted, TRect(0, 0, 121, 21), Sys(COLOR_WINDOW)),
              ring / 2);
  }
  CloseThemeData(theme);
}

}  // namespace

namespace {

// What a new record invalidates in a real window, read back with
// GetUpdateRgn before anything paints.
class EditViewInfoRepaintTest : public EditViewInfoTest {
 protected:
  void SetUp() override {
    EditViewInfoTest::SetUp();
    Form.reset(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    Form->SetBoundsRect(TRect(200, 150, 500, 350));
    Control = New<TCustomControl>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 10, 121, 21);
    Form->Show();
    Old.reset(New<TcxCustomEditViewInfo>());
    Fill(Old.get());
    Old->Assign(VI.get());
  }

  // Whether the window's invalid region is exactly AExpected.
  ::testing::AssertionResult InvalidatedAfterRepaint(const TOwnedRegion& AExpected, bool AResult) {
    ValidateRect(Control->Handle(), nullptr);
    const bool result = VI->Repaint(Control, VI->ClientRect, Old.get());
    const TOwnedRegion invalid(CreateRectRgn(0, 0, 0, 0));
    GetUpdateRgn(Control->Handle(), invalid.Get(), FALSE);
    if (result != AResult) return ::testing::AssertionFailure() << "answered " << result;
    RECT box{};
    GetRgnBox(invalid.Get(), &box);
    if (!EqualRgn(invalid.Get(), AExpected.Get()))
      return ::testing::AssertionFailure() << "invalid box " << box.left << "," << box.top << "," << box.right << ","
                                           << box.bottom;
    return ::testing::AssertionSuccess();
  }

  static TOwnedRegion Ring(const TRect& AOuter, const TRect& AInner) {
    TOwnedRegion ring(CreateRectRgn(AOuter.Left, AOuter.Top, AOuter.Right, AOuter.Bottom));
    const TOwnedRegion inner(CreateRectRgn(AInner.Left, AInner.Top, AInner.Right, AInner.Bottom));
    CombineRgn(ring.Get(), ring.Get(), inner.Get(), RGN_DIFF);
    return ring;
  }

  TOwned<TForm> Form;
  TCustomControl* Control = nullptr;
  TOwned<TcxCustomEditViewInfo> Old;
};

TEST_F(EditViewInfoRepaintTest, NothingChangedInvalidatesNothing) {
  EXPECT_TRUE(InvalidatedAfterRepaint(TOwnedRegion(CreateRectRgn(0, 0, 0, 0)), false));
}

TEST_F(EditViewInfoRepaintTest, AHoverInvalidatesTheButtonOnly) {
  Button()->Data.State = ebsSelected;
  EXPECT_TRUE(InvalidatedAfterRepaint(TOwnedRegion(CreateRectRgn(103, 1, 120, 20)), true));
}

TEST_F(EditViewInfoRepaintTest, AFocusChangeInvalidatesTheRingAroundTheText) {
  VI->ContainerState = {csActive};
  EXPECT_TRUE(InvalidatedAfterRepaint(Ring(TRect(0, 0, 121, 21), TRect(1, 1, 103, 20)), true));
}

TEST_F(EditViewInfoRepaintTest, ABorderColourInvalidatesTheFrameRing) {
  VI->BorderColor = clHighlight;
  EXPECT_TRUE(InvalidatedAfterRepaint(Ring(TRect(0, 0, 121, 21), TRect(1, 1, 120, 20)), true));
  VI->BorderStyle = Old->BorderStyle = ebsNone;
  EXPECT_TRUE(InvalidatedAfterRepaint(TOwnedRegion(CreateRectRgn(0, 0, 0, 0)), false));
}

}  // namespace

namespace {

// Stands in for a skin's painter: records the editor-button calls.
class TRecordingPainter : public TcxUltraFlatLookAndFeelPainter {
  SK_CLASS(TRecordingPainter, TcxUltraFlatLookAndFeelPainter)
 public:
  struct TCall {
    std::string Name;
    TRect R;
    TcxEditBtnKind Kind;
    TcxButtonState State;
  };
  void DrawScaledEditorButton(TcxCanvas*, const TRect& R, TcxEditBtnKind AKind, TcxButtonState AState,
                              const TdxScaleFactor*, TcxEditBtnPosition) override {
    Calls.push_back({"button", R, AKind, AState});
  }
  void DrawScaledEditorButtonGlyph(TcxCanvas*, const TRect& R, TcxEditBtnKind AKind, TcxButtonState AState,
                                   const TdxScaleFactor*, TcxEditBtnPosition) override {
    Calls.push_back({"glyph", R, AKind, AState});
  }
  std::vector<TCall> Calls;
};

TEST_F(EditViewInfoTest, ASkinnedButtonIsTheSkinPaintersButtonAndGlyph) {
  TOwned<TRecordingPainter> painter(New<TRecordingPainter>());
  VI->Painter = painter.get();
  VI->UseSkins = true;
  VI->TextColor = clWindowText;
  struct TRow {
    TcxEditButtonState State;
    TcxButtonState Expected;
  };
  for (const TRow& row : {TRow{ebsNormal, cxbsNormal}, TRow{ebsSelected, cxbsHot}, TRow{ebsPressed, cxbsPressed},
                          TRow{ebsDisabled, cxbsDisabled}}) {
    SCOPED_TRACE(row.State);
    painter->Calls.clear();
    Button()->Data.State = row.State;
    Painted();
    ASSERT_EQ(painter->Calls.size(), 2u);
    EXPECT_EQ(painter->Calls[0].Name, "button");
    EXPECT_EQ(painter->Calls[1].Name, "glyph");
    for (const auto& call : painter->Calls) {
      EXPECT_EQ(call.R, ButtonBounds);
      EXPECT_EQ(call.Kind, cxbkComboBtn);
      EXPECT_EQ(call.State, row.Expected);
    }
  }
}

}  // namespace

namespace {

class TNativeTestEdit : public TcxCustomEdit {
  SK_CLASS(TNativeTestEdit, TcxCustomEdit)
};

// A standalone editor with one drop-down button, laid out and painted the way
// a window paints it; only the look and feel's native flag and the button's
// side vary.
TPoint CentreOf(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }

struct TLaidOutEditor {
  static constexpr TRect Bounds{0, 0, 121, 21};

  TOwned<TNativeTestEdit> Edit{New<TNativeTestEdit>(nullptr)};
  TOwned<TcxCustomEditViewInfo> ViewInfo{New<TcxCustomEditViewInfo>()};

  TLaidOutEditor(bool ANative, bool ALeftButton, TcxEditButtonState AState) {
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(ANative);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    Edit->ActiveProperties()->Buttons()->Add()->SetKind(bkDown);
    Edit->ActiveProperties()->Buttons()->Items(0)->SetLeftAlignment(ALeftButton);
    const TOwned<TcxCustomEditViewData> data = Edit->ActiveProperties()->CreateViewData(Edit->Style(), false);
    data->Enabled = AState != ebsDisabled;
    // The state comes from the mouse as the window would report it: over the
    // button for hot, held down on it for pressed.
    const TPoint away(-1, -1);
    data->Calculate(nullptr, Bounds, away, cxmbNone, {}, ViewInfo.get(), true);
    const TPoint onButton = ViewInfo->ButtonsInfo.empty() ? away : CentreOf(ViewInfo->ButtonsInfo[0]->Bounds);
    const bool down = AState == ebsPressed;
    const TShiftState shift = down ? TShiftState{ssLeft} : TShiftState{};
    data->Calculate(nullptr, Bounds, AState == ebsNormal ? away : onButton, down ? cxmbLeft : cxmbNone, shift,
                    ViewInfo.get(), true);
  }

  TcxEditButtonViewInfo* Button() const { return ViewInfo->ButtonsInfo[0].get(); }

  TPixelSurface Painted() const {
    TCanvasOnSurface canvas(Bounds.Width(), Bounds.Height(), Bg);
    ViewInfo->Paint(canvas.Get());
    TPixelSurface result(Bounds.Width(), Bounds.Height(), Bg);
    BitBlt(result.DC(), 0, 0, Bounds.Width(), Bounds.Height(), canvas.Surface.DC(), 0, 0, SRCCOPY);
    return result;
  }
};

struct TButtonRow {
  const char* Name;
  TcxEditButtonState State;
  int ThemeState;
};

constexpr TButtonRow ButtonRows[] = {
    {"normal", ebsNormal, CBXS_NORMAL},
    {"hot", ebsSelected, CBXS_HOT},
    {"pressed", ebsPressed, CBXS_PRESSED},
    {"disabled", ebsDisabled, CBXS_DISABLED},
};

// Pixels of ARect where A and B differ.
int DifferingIn(const TPixelSurface& A, const TPixelSurface& B, const TRect& ARect) {
  int result = 0;
  for (int y = ARect.Top; y < ARect.Bottom; ++y)
    for (int x = ARect.Left; x < ARect.Right; ++x) result += A.Pixel(x, y) != B.Pixel(x, y);
  return result;
}

// The combo box theme's drop-down part for the button's side, in the
// button's state, over whatever the editor painted beneath the button.
TEST(EditViewInfoNativeButton, TheDropDownButtonIsTheComboBoxThemesButtonPart) {
  const HTHEME theme = OpenThemeData(nullptr, L"ComboBox");
  if (!theme) GTEST_SKIP() << "no active theme";
  for (const bool left : {false, true})
    for (const TButtonRow& row : ButtonRows) {
      SCOPED_TRACE(std::string(left ? "left " : "right ") + row.Name);
      const TLaidOutEditor editor(true, left, row.State);
      ASSERT_TRUE(editor.ViewInfo->NativeStyle);
      ASSERT_EQ(editor.ViewInfo->ButtonsInfo.size(), 1u);
      const TcxEditButtonViewInfo* button = editor.Button();
      ASSERT_EQ(button->Data.State, row.State);
      const TRect bounds = button->Bounds;
      ASSERT_FALSE(bounds.IsEmpty());
      // The button lies on the side it was given.
      EXPECT_EQ(bounds.Left < TLaidOutEditor::Bounds.Width() / 2, left);
      const TPixelSurface painted = editor.Painted();

      // The reference: the editor painted without its button, the part
      // straight from uxtheme over it.
      editor.Button()->VisibleBounds = TRect();
      const TPixelSurface reference = editor.Painted();
      const RECT r{bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
      DrawThemeBackground(theme, reference.DC(), left ? CP_DROPDOWNBUTTONLEFT : CP_DROPDOWNBUTTONRIGHT,
                          row.ThemeState, &r, nullptr);
      EXPECT_EQ(Differing(painted, reference), 0) << painted.Picture(Sys(COLOR_WINDOW));
      // uxtheme drew something of its own: the button is not the bare background.
      EXPECT_GT(DifferingIn(reference, editor.Painted(), bounds), 0);
    }
  CloseThemeData(theme);
}

// uxtheme answering that no theme is active, for the scope's lifetime; the
// theme manager reads the answer again on each theme change.
BOOL WINAPI NoThemeActive() { return FALSE; }

class TThemesOff {
 public:
  TThemesOff() : FSaved(dxUxThemeBinding()) {
    TdxUxThemeBinding binding = FSaved;
    binding.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::IsThemeActive)] =
        reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&NoThemeActive));
    dxSetUxThemeBinding(binding);
    ThemeChanged();
  }
  ~TThemesOff() {
    dxSetUxThemeBinding(FSaved);
    ThemeChanged();
  }
  TThemesOff(const TThemesOff&) = delete;
  TThemesOff& operator=(const TThemesOff&) = delete;

 private:
  static void ThemeChanged() { SendMessageW(ThemeChangedEventReceiver()->Handle(), WM_THEMECHANGED, 0, 0); }
  TdxUxThemeBinding FSaved;
};

TEST(EditViewInfoNativeButton, WithoutAThemeANativeEditorPaintsTheUltraFlatWay) {
  if (!IsUxThemeLoaded() || !ThemeChangedEventReceiver()) GTEST_SKIP() << "no visual styles library";
  const TThemesOff off;
  ASSERT_FALSE(AreThemesActive());
  for (const TButtonRow& row : ButtonRows) {
    SCOPED_TRACE(row.Name);
    const TLaidOutEditor native(true, false, row.State);
    const TLaidOutEditor flat(false, false, row.State);
    EXPECT_FALSE(native.ViewInfo->NativeStyle);
    ASSERT_EQ(native.ViewInfo->ButtonsInfo.size(), 1u);
    EXPECT_FALSE(native.Button()->Data.NativeStyle);
    EXPECT_EQ(native.Button()->Data.State, row.State);
    const TPixelSurface painted = native.Painted();
    EXPECT_EQ(Differing(painted, flat.Painted()), 0) << painted.Picture(Sys(COLOR_WINDOW));
    // The ultra-flat drawing: at rest, a frame in the button shadow colour
    // one pixel inside the bounds, where the theme's frame was not.
    const TRect frame(1, 1, TLaidOutEditor::Bounds.Right - 1, TLaidOutEditor::Bounds.Bottom - 1);
    if (row.State == ebsNormal) {
      EXPECT_EQ(RingCount(painted, frame, Sys(COLOR_BTNSHADOW)), RingLength(frame));
    }
  }
}

}  // namespace
