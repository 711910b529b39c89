// The label as a window on a form: turned text against ExtTextOutW with an
// escapement font, raster faces never turned, outline and picture fill
// against the test's own paths, the depth effects, raised and lowered text,
// the line beside the text, the measuring cache, the accelerator, the
// caption and edit value, and the accessibility role.
#include "library/stdctrls/cxLabel.h"

#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/StdCtrls.h"
#include "tests/support/AccessibilityClient.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF LabelPaper = RGB(255, 255, 255);
constexpr COLORREF LabelInk = RGB(0, 0, 0);

class LabelFixture : public testing::Test {
 protected:
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxLabel* Label = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 400, 360);
    Form->SetColor(clWhite);
    Form->Font()->SetName(L"Tahoma");
    Form->Font()->SetSize(14);
    Form->Font()->SetColor(clBlack);
    Form->Show();
    Label = New<TcxLabel>(Form.get());
    Label->SetParent(Form.get());
    Label->SetAutoSize(false);
    Label->SetBounds(10, 10, 300, 300);
    Label->SetCaption(L"Anschluss");
    PumpPending();
  }

  TcxLabelProperties* Properties() { return Label->Properties(); }

  TPixelSurface Paint() {
    TPixelSurface surface(Label->Width(), Label->Height(), RGB(1, 2, 3));
    Label->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
    return surface;
  }

  // The label's font turned by AAngle, as GDI makes it.
  TOwnedFont TurnedFont(int AAngle) {
    LOGFONTW logFont = Label->Style()->GetVisibleFont()->LogFont();
    logFont.lfEscapement = AAngle * 10;
    return TOwnedFont(CreateFontIndirectW(&logFont));
  }

  // The test's own drawing of the plain text at P in the turned font.
  TPixelSurface Reference(int AAngle, const TPoint& P, const String& AText) {
    TPixelSurface surface(Label->Width(), Label->Height(), LabelPaper);
    const TOwnedFont font = TurnedFont(AAngle);
    const TSelectObject selected(surface.DC(), font.Get());
    SetBkMode(surface.DC(), TRANSPARENT);
    SetTextColor(surface.DC(), LabelInk);
    ExtTextOutW(surface.DC(), P.X, P.Y, 0, nullptr, AText.c_str(), static_cast<UINT>(AText.size()), nullptr);
    return surface;
  }

  // The start point the label computes for its text rectangle.
  TPoint StartPoint(int AAngle, const String& AText) {
    TPixelSurface scratch(4, 4);
    const TcxPaintCanvasScope paint(scratch.DC());
    PrepareCanvasFontForAngle(paint.Canvas(), Label->Style()->GetVisibleFont(), AAngle);
    return TcxLabelHelper::CalculatePositionOfRotatedText(paint.Canvas(), AText, true, Label->ViewInfo()->TextRect,
                                                          TSize(0, 0), AAngle, taLeftJustify, taTopJustify);
  }
};

void ExpectNear(const TRect& AActual, const TRect& AExpected, int ATolerance) {
  EXPECT_LE(std::abs(AActual.Left - AExpected.Left), ATolerance);
  EXPECT_LE(std::abs(AActual.Top - AExpected.Top), ATolerance);
  EXPECT_LE(std::abs(AActual.Right - AExpected.Right), ATolerance);
  EXPECT_LE(std::abs(AActual.Bottom - AExpected.Bottom), ATolerance);
}

// ---------------------------------------------------------------------------
// Turned text

TEST_F(LabelFixture, TurnedTextCoversWhatExtTextOutDrawsAtTheStartPoint) {
  std::vector<int> angles;
  for (int angle = 0; angle < 360; angle += 15) angles.push_back(angle);
  angles.push_back(450);
  Label->SetCaption(L"Ba&udrate");
  for (const int angle : angles) {
    SCOPED_TRACE(angle);
    Properties()->SetAngle(angle);
    PumpPending();
    const int effective = angle % 360;
    const TPixelSurface drawn = Paint();
    const TRect ink = drawn.BoundsOf(LabelInk);
    ASSERT_FALSE(ink.IsEmpty()) << drawn.Picture(RGB(1, 2, 3));
    const TRect text = Label->ViewInfo()->TextRect;
    if (effective == 0) {
      // Unturned text is drawn by DrawText with the accelerator underlined.
      TPixelSurface reference(Label->Width(), Label->Height(), LabelPaper);
      const TOwnedFont font = TurnedFont(0);
      const TSelectObject selected(reference.DC(), font.Get());
      SetBkMode(reference.DC(), TRANSPARENT);
      RECT r{text.Left, text.Top, text.Right, text.Bottom};
      DrawTextW(reference.DC(), L"Ba&udrate", -1, &r, DT_LEFT | DT_TOP);
      ExpectNear(ink, reference.BoundsOf(LabelInk), 0);
      continue;
    }
    const TPixelSurface reference = Reference(effective, StartPoint(effective, L"Ba&udrate"), L"Baudrate");
    ExpectNear(ink, reference.BoundsOf(LabelInk), 1);
    // The turned cell is aligned in the text rectangle: the ink stays inside it.
    EXPECT_GE(ink.Left, text.Left - 1);
    EXPECT_GE(ink.Top, text.Top - 1);
    EXPECT_LE(ink.Right, text.Right + 1);
    EXPECT_LE(ink.Bottom, text.Bottom + 1);
  }
}

TEST_F(LabelFixture, ARasterFaceIsNeverTurned) {
  Label->Style()->Font()->SetName(L"System");
  Label->SetCaption(L"Baudrate");
  PumpPending();
  const TRect upright = Paint().BoundsOf(LabelInk);
  ASSERT_FALSE(upright.IsEmpty());
  for (const int angle : {90, 450, -30}) {
    SCOPED_TRACE(angle);
    Properties()->SetAngle(angle);
    PumpPending();
    EXPECT_EQ(Paint().BoundsOf(LabelInk), upright);
    EXPECT_GT(Label->ViewInfo()->TextRect.Width(), Label->ViewInfo()->TextRect.Height()) << "measured unturned";
  }
}

// ---------------------------------------------------------------------------
// Outline and picture fill against the test's own paths

TEST_F(LabelFixture, OutlineIsTheStrokedPathOfTheTurnedText) {
  Label->SetCaption(L"Baudrate");
  Properties()->SetLabelStyle(cxlsOutLine);
  Properties()->SetPenWidth(2);
  Properties()->SetAngle(30);
  PumpPending();
  const TPixelSurface drawn = Paint();
  const TPoint P = StartPoint(30, L"Baudrate");
  TPixelSurface reference(Label->Width(), Label->Height(), RGB(1, 2, 3));
  {
    const TOwnedFont font = TurnedFont(30);
    const TSelectObject selected(reference.DC(), font.Get());
    SetBkMode(reference.DC(), TRANSPARENT);
    BeginPath(reference.DC());
    ExtTextOutW(reference.DC(), P.X, P.Y, 0, nullptr, L"Baudrate", 8, nullptr);
    EndPath(reference.DC());
    const TOwnedPen pen(CreatePen(PS_SOLID, 2, LabelInk));
    const TSelectObject selectedPen(reference.DC(), pen.Get());
    StrokePath(reference.DC());
  }
  const TRect all = reference.ClientRect();
  EXPECT_GT(reference.Count(all, LabelInk), 0);
  EXPECT_EQ(drawn.Count(all, LabelInk), reference.Count(all, LabelInk));
  EXPECT_EQ(drawn.BoundsOf(LabelInk), reference.BoundsOf(LabelInk));
}

TEST_F(LabelFixture, PictureFillPaintsThePatternOnlyThroughTheTextPath) {
  Label->SetCaption(L"WWW");
  Form->Font()->SetSize(40);
  TOwned<TBitmap> bitmap(New<TBitmap>());
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(2, 2);
  SetPixel(bitmap->Canvas()->Handle(), 0, 0, RGB(255, 0, 0));
  SetPixel(bitmap->Canvas()->Handle(), 1, 0, RGB(0, 0, 255));
  SetPixel(bitmap->Canvas()->Handle(), 0, 1, RGB(0, 0, 255));
  SetPixel(bitmap->Canvas()->Handle(), 1, 1, RGB(255, 0, 0));
  Properties()->Glyph()->Assign(bitmap.get());
  PumpPending();
  const TPixelSurface drawn = Paint();
  const TRect T = Label->ViewInfo()->TextRect;
  TPixelSurface reference(Label->Width(), Label->Height(), RGB(1, 2, 3));
  {
    const TOwned<TBitmap> glyph = Properties()->Glyph()->GetAsBitmap();
    const TOwnedFont font = TurnedFont(0);
    const TSelectObject selected(reference.DC(), font.Get());
    SetBkMode(reference.DC(), TRANSPARENT);
    BeginPath(reference.DC());
    RECT r{T.Left, T.Top, T.Right, T.Bottom};
    DrawTextW(reference.DC(), L"WWW", -1, &r, DT_LEFT | DT_TOP);
    EndPath(reference.DC());
    SelectClipPath(reference.DC(), RGN_COPY);
    const TOwnedBrush brush(CreatePatternBrush(glyph->Handle()));
    FillRect(reference.DC(), &r, brush.Get());
  }
  const TRect all = reference.ClientRect();
  ASSERT_GT(reference.Count(all, RGB(255, 0, 0)), 20);
  EXPECT_EQ(drawn.Count(all, RGB(255, 0, 0)), reference.Count(all, RGB(255, 0, 0)));
  EXPECT_EQ(drawn.Count(all, RGB(0, 0, 255)), reference.Count(all, RGB(0, 0, 255)));
}

// ---------------------------------------------------------------------------
// Depth effects and styles

TEST_F(LabelFixture, ExtrudeDrawsOneCopyPerPixelOfDepthBehindTheText) {
  Label->SetCaption(L"I");
  Properties()->SetShadowedColor(clRed);
  PumpPending();
  const TRect plain = Paint().BoundsOf(LabelInk);
  ASSERT_FALSE(plain.IsEmpty());

  Properties()->SetLabelEffect(cxleExtrude);
  Properties()->SetDepth(3);
  PumpPending();
  const TPixelSurface drawn = Paint();
  EXPECT_EQ(drawn.BoundsOf(LabelInk), plain) << "the text stays at (0, 0)";
  // Copies at (1, 1) .. (3, 3): the red reaches three pixels past the text.
  const TRect shadow = drawn.BoundsOf(RGB(255, 0, 0));
  EXPECT_EQ(shadow.Right, plain.Right + 3);
  EXPECT_EQ(shadow.Bottom, plain.Bottom + 3);
  EXPECT_EQ(shadow.Left, plain.Left + 1);
  EXPECT_EQ(shadow.Top, plain.Top + 1);

  Properties()->SetLabelEffect(cxleCool);
  PumpPending();
  const TPixelSurface cool = Paint();
  // One copy at (3, 3): no red in the two columns right after the text's.
  EXPECT_EQ(cool.BoundsOf(RGB(255, 0, 0)).Left, plain.Left + 3);

  Properties()->SetDepth(0);
  PumpPending();
  EXPECT_EQ(Paint().Count(RGB(255, 0, 0)), 0) << "an effect without depth draws nothing";
}

TEST_F(LabelFixture, ExtrudeGrowsTheContentSizeByTheDepth) {
  Label->SetAutoSize(true);
  PumpPending();
  const int width = Label->Width();
  const int height = Label->Height();
  Properties()->SetLabelEffect(cxleExtrude);
  Properties()->SetDepth(3);
  PumpPending();
  EXPECT_EQ(Label->Width(), width + 3);
  EXPECT_EQ(Label->Height(), height + 3);
}

TEST_F(LabelFixture, ADepthThatRescalesToNothingDrawsNoEffect) {
  Label->SetCaption(L"I");
  Properties()->SetShadowedColor(clRed);
  PumpPending();
  const TRect plain = Paint().BoundsOf(LabelInk);
  // Depth 1 given at 240 DPI is nothing at the label's 96.
  Properties()->ScaleFactor()->Assign(240, 96, false);
  Properties()->SetLabelEffect(cxleExtrude);
  Properties()->SetDepth(1);
  PumpPending();
  const TPixelSurface drawn = Paint();
  EXPECT_EQ(drawn.Count(RGB(255, 0, 0)), 0);
  EXPECT_EQ(drawn.BoundsOf(LabelInk), plain);
}

struct TRaisedCase {
  const char* Name;
  int Points;
  TcxLabelStyle Style;
  int Offset;  // the style offset the content size grows by
};

class LabelRaisedLowered : public LabelFixture, public testing::WithParamInterface<TRaisedCase> {};

TEST_P(LabelRaisedLowered, DrawsHighlightAndShadowByPointSize) {
  const TRaisedCase& c = GetParam();
  // The highlight must stand out from the paper.
  Form->SetColor(TColor(RGB(200, 230, 200)));
  Form->Font()->SetSize(c.Points);
  Label->SetCaption(L"I");
  PumpPending();
  const TRect plain = Paint().BoundsOf(LabelInk);
  ASSERT_FALSE(plain.IsEmpty());
  Properties()->SetLabelStyle(c.Style);
  PumpPending();
  const TPixelSurface drawn = Paint();
  const COLORREF highlight = ColorToColorRef(clBtnHighlight);
  const COLORREF shadow = ColorToColorRef(clBtnShadow);
  TRect expectedFace = plain;
  expectedFace.Offset(1, 1);
  EXPECT_EQ(drawn.BoundsOf(LabelInk), expectedFace) << drawn.Picture(RGB(1, 2, 3));
  const bool large = c.Points >= 12;
  const TRect lit = drawn.BoundsOf(highlight);
  ASSERT_FALSE(lit.IsEmpty());
  if (c.Style == cxlsRaised) {
    EXPECT_EQ(lit.Left, plain.Left);
    EXPECT_EQ(drawn.Count(shadow) > 0, large);
    if (large) {
      EXPECT_EQ(drawn.BoundsOf(shadow).Right, plain.Right + 2);
    }
  } else {
    EXPECT_EQ(lit.Right, plain.Right + 2);
    EXPECT_EQ(drawn.Count(shadow) > 0, large);
  }
  Label->SetAutoSize(true);
  PumpPending();
  const int styled = Label->Width();
  Properties()->SetLabelStyle(cxlsNormal);
  PumpPending();
  EXPECT_EQ(styled - Label->Width(), c.Offset);
}

INSTANTIATE_TEST_SUITE_P(Cases, LabelRaisedLowered,
                         testing::Values(TRaisedCase{"Raised10", 10, cxlsRaised, 1},
                                         TRaisedCase{"Raised12", 12, cxlsRaised, 2},
                                         TRaisedCase{"Lowered10", 10, cxlsLowered, 1},
                                         TRaisedCase{"Lowered14", 14, cxlsLowered, 2}),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

// ---------------------------------------------------------------------------
// The line

TEST_F(LabelFixture, TheLineStartsThreePixelsRightOfTheTextAndRunsToTheEdge) {
  Label->SetCaption(L"I");
  Properties()->LineOptions()->SetOuterColor(clRed);
  Properties()->LineOptions()->SetInnerColor(clBlue);
  Properties()->LineOptions()->SetVisible(true);
  PumpPending();
  EXPECT_FALSE(Label->AutoSize()) << "a visible line switches automatic size off";
  const TPixelSurface drawn = Paint();
  const TRect text = Label->ViewInfo()->TextRect;
  const TRect red = drawn.BoundsOf(RGB(255, 0, 0));
  ASSERT_FALSE(red.IsEmpty());
  EXPECT_EQ(red.Left, text.Right + 3);
  EXPECT_EQ(std::max(red.Right, drawn.BoundsOf(RGB(0, 0, 255)).Right), Label->ViewInfo()->ClientRect.Right);

  Properties()->LineOptions()->SetAlignment(cxllaTop);
  PumpPending();
  EXPECT_EQ(Label->ViewInfo()->TextRect.Top, text.Top + 2) << "the text moves down by the line height";
}

// ---------------------------------------------------------------------------
// Measuring cache, accelerator, caption and value, accessibility

TEST_F(LabelFixture, ARepaintWithoutChangeMeasuresNothing) {
  Label->Invalidate();
  Label->Update();
  const int before = cxLabelMeasureCount();
  Label->Invalidate();
  Label->Update();
  Label->SetBounds(Label->Left(), Label->Top(), Label->Width(), Label->Height());
  PumpPending();
  EXPECT_EQ(cxLabelMeasureCount(), before);
  Label->SetCaption(L"Baudrate");
  PumpPending();
  EXPECT_GT(cxLabelMeasureCount(), before) << "a new caption is measured";
}

TEST_F(LabelFixture, TheAcceleratorFocusesFocusControl) {
  TEdit* edit = New<TEdit>(Form.get());
  edit->SetParent(Form.get());
  edit->SetBounds(10, 320, 100, 24);
  TButton* other = New<TButton>(Form.get());
  other->SetParent(Form.get());
  other->SetBounds(200, 320, 80, 24);
  Label->SetCaption(L"&Port");
  Label->SetFocusControl(edit);
  Label->SetFocusControl(Label);
  EXPECT_EQ(Label->FocusControl(), edit) << "the label cannot be its own focus control";
  SetForegroundWindow(Form->Handle());
  other->SetFocus();
  PumpPending();
  ASSERT_FALSE(edit->Focused());
  // Alt+P typed: the application's own message step turns the character into
  // the form's dialog character, which a bare dispatch loop never does.
  SendKey(VK_MENU, false);
  SendKey('P', false);
  SendKey('P', true);
  SendKey(VK_MENU, true);
  const auto appPump = [] {
    Application()->ProcessMessages();
    return true;
  };
  EXPECT_TRUE(PumpUntilWith(appPump, [&] { return edit->Focused(); }, 5000, 50));
  PumpUntilWith(appPump, [] { return GetQueueStatus(QS_INPUT) == 0; }, 2000, 50);
  EXPECT_FALSE(Label->CanFocus());

  edit->Free();
  EXPECT_EQ(Label->FocusControl(), nullptr);
}

TEST_F(LabelFixture, CaptionAndEditValueFollowEachOther) {
  Label->SetCaption(L"Port");
  EXPECT_EQ(VarToStr(Label->EditValue()), L"Port");
  Label->SetEditValue(Variant(String(L"Baud")));
  EXPECT_EQ(Label->Caption(), L"Baud");
  EXPECT_EQ(Label->ViewInfo()->Text, L"Baud");
  Label->SetEditValue(Variant(42));
  EXPECT_EQ(Label->Caption(), L"42");
}

TEST_F(LabelFixture, MsaaReadsStaticText) {
  const TComPtr<IAccessible> client = AccessibleClientOf(Label->Handle());
  ASSERT_TRUE(client);
  VARIANT role{};
  ASSERT_EQ(client->get_accRole(AccessibleChild(CHILDID_SELF), &role), S_OK);
  EXPECT_EQ(role.vt, VT_I4);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_STATICTEXT);
}

}  // namespace
