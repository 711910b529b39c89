#include "components/settings/RzStatus.h"

#include "platform/classes/FormReader.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "tests/components_settings/SettingsTestSupport.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF Paper = RGB(1, 2, 3);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

COLORREF Sys(TColor AColor) { return ColorToColorRef(AColor); }

// Text in exact colours: no smoothing in these tests.
template <class T>
T* NewPane(TComponent* AOwner = nullptr) {
  T* pane = New<T>(AOwner);
  pane->Font()->SetQuality(fqNonAntialiased);
  pane->Font()->SetName(L"Tahoma");
  pane->Font()->SetHeight(-11);
  return pane;
}

void PaintPane(TControl* APane, TPixelSurface& ASurface) { APane->Perform(WM_PAINT, reinterpret_cast<WPARAM>(ASurface.DC()), 0); }

TSize TextSize(TControl* APane, const String& AText) {
  const TScreenDC dc;
  const TSelectObject font(dc.Get(), APane->Font()->Handle());
  SIZE size{};
  ::GetTextExtentPoint32W(dc.Get(), AText.c_str(), static_cast<int>(AText.size()), &size);
  return TSize(size.cx, size.cy);
}

// The bounds of pixels of exactly AColor inside R.
TRect InkOf(const TPixelSurface& S, COLORREF AColor, const TRect& R) {
  TRect bounds;
  bool any = false;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (S.Pixel(x, y) == AColor) {
        if (!any) bounds = TRect(x, y, x + 1, y + 1);
        bounds.Left = std::min(bounds.Left, x);
        bounds.Top = std::min(bounds.Top, y);
        bounds.Right = std::max(bounds.Right, x + 1);
        bounds.Bottom = std::max(bounds.Bottom, y + 1);
        any = true;
      }
  return bounds;
}

// ---------------------------------------------------------------------------
// Caption and label

TEST(RzStatusPane, TheVersionPaneDrawsItsLabelThenTheVersion) {
  TOwned<TComponent> owner(New<TComponent>(nullptr));
  auto* info = New<TRzVersionInfo>(owner.get());
  auto* pane = NewPane<TRzVersionInfoStatus>(owner.get());
  pane->SetWidth(101);
  pane->SetFrameStyle(fsNone);
  pane->SetFieldLabel(L"Version:");
  pane->SetFieldLabelColor(clBlack);
  pane->SetField(vifFileVersion);
  pane->SetVersionInfo(info);
  pane->Font()->SetColor(clRed);
  ASSERT_EQ(pane->Caption(), L"1.0.0.0");

  TPixelSurface s(101, 20, Paper);
  PaintPane(pane, s);
  const int labelWidth = TextSize(pane, L"Version:").cx;
  const int textHeight = TextSize(pane, L"Pp").cy;
  const int y = 1 + (18 - textHeight) / 2;
  const TRect label = InkOf(s, Black, s.ClientRect());
  const TRect version = InkOf(s, Red, s.ClientRect());
  ASSERT_FALSE(label.IsEmpty()) << s.Picture(Paper);
  ASSERT_FALSE(version.IsEmpty()) << s.Picture(Paper);
  // "Version:" starts at 1 + 2 + 1 and stays inside its own rectangle.
  EXPECT_GE(label.Left, 4);
  EXPECT_LE(label.Left, 5);
  EXPECT_LE(label.Right, 1 + labelWidth + 2 + 2);
  // The version starts after the label and two caption offsets.
  const int captionX = 1 + labelWidth + 2 * 2 + 2 + 1;
  EXPECT_GE(version.Left, captionX);
  EXPECT_LE(version.Left, captionX + 1);
  // Both centred on "Pp"; no frame and no background anywhere else.
  EXPECT_GE(label.Top, y);
  EXPECT_LE(label.Bottom, y + textHeight);
  EXPECT_GE(version.Top, y);
  EXPECT_LE(version.Bottom, y + textHeight);
  for (int x = 0; x < 101; ++x) {
    EXPECT_EQ(s.Pixel(x, 0), Paper);
    EXPECT_EQ(s.Pixel(x, 19), Paper);
  }
  EXPECT_EQ(s.Count(Paper) + s.Count(Black) + s.Count(Red), 101 * 20);
}

TEST(RzStatusPane, AlignmentPlacesTheCaption) {
  struct TCase {
    const wchar_t* Name;
    TAlignment Alignment;
    TBiDiMode BiDiMode;
    TAlignment Drawn;
  };
  const TCase cases[] = {
      {L"left", taLeftJustify, bdLeftToRight, taLeftJustify},
      {L"right", taRightJustify, bdLeftToRight, taRightJustify},
      {L"centre", taCenter, bdLeftToRight, taCenter},
      {L"left, read right to left", taLeftJustify, bdRightToLeft, taRightJustify},
      {L"right, read right to left", taRightJustify, bdRightToLeftReadingOnly, taLeftJustify},
      {L"centre, read right to left", taCenter, bdRightToLeft, taCenter},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TRzCustomStatusPane> pane(NewPane<TRzCustomStatusPane>());
    pane->SetCaption(L"Ready");
    pane->SetAlignment(c.Alignment);
    pane->SetBiDiMode(c.BiDiMode);
    pane->Font()->SetColor(clRed);
    TPixelSurface s(100, 20, Paper);
    PaintPane(pane.get(), s);
    const TRect ink = InkOf(s, Red, s.ClientRect());
    ASSERT_FALSE(ink.IsEmpty());
    const int width = TextSize(pane.get(), L"Ready").cx;
    // fsFlat: the caption rectangle is 2 pixels in; the text 2 + 1 further.
    int start = 0;
    if (c.Drawn == taLeftJustify) start = 2 + 2 + 1;
    else if (c.Drawn == taRightJustify) start = 98 - 2 - 1 - width;
    else start = 50 - width / 2;
    EXPECT_GE(ink.Left, start - 1);
    EXPECT_LE(ink.Right, start + width + 1);
  }
}

TEST(RzStatusPane, ReadRightToLeftTheFieldLabelStandsOnTheRight) {
  TOwned<TRzCustomFieldStatus> pane(NewPane<TRzCustomFieldStatus>());
  pane->SetBounds(0, 0, 120, 20);
  pane->SetFrameStyle(fsNone);
  pane->SetCaption(L"Ready");
  pane->SetFieldLabel(L"State:");
  pane->SetFieldLabelColor(clBlack);
  pane->Font()->SetColor(clRed);
  pane->SetBiDiMode(bdRightToLeft);
  TPixelSurface s(120, 20, Paper);
  PaintPane(pane.get(), s);
  const TRect label = InkOf(s, Black, s.ClientRect());
  const TRect caption = InkOf(s, Red, s.ClientRect());
  ASSERT_FALSE(label.IsEmpty()) << s.Picture(Paper);
  ASSERT_FALSE(caption.IsEmpty()) << s.Picture(Paper);
  const int labelWidth = TextSize(pane.get(), L"State:").cx;
  const int captionWidth = TextSize(pane.get(), L"Ready").cx;
  // The unshrunk caption rectangle ends at 119; the label ends 2 + 1 before.
  const int labelEnd = 119 - 2 - 1;
  EXPECT_LE(label.Right, labelEnd + 1);
  EXPECT_GE(label.Left, labelEnd - labelWidth - 1);
  // The caption, aligned left, is drawn right, before the label and its offsets.
  const int captionEnd = 119 - labelWidth - 2 * 2 - 2 - 1;
  EXPECT_LE(caption.Right, captionEnd + 1);
  EXPECT_GE(caption.Left, captionEnd - captionWidth - 1);
}

TEST(RzStatusPane, ADisabledPaneDrawsGrayText) {
  TOwned<TRzCustomFieldStatus> pane(NewPane<TRzCustomFieldStatus>());
  pane->SetCaption(L"Ready");
  pane->SetFieldLabel(L"State:");
  pane->SetFieldLabelColor(clBlue);
  pane->Font()->SetColor(clRed);
  pane->SetEnabled(false);
  TPixelSurface s(120, 20, Paper);
  PaintPane(pane.get(), s);
  EXPECT_GT(s.Count(Sys(clGrayText)), 20);
  EXPECT_EQ(s.Count(Red), 0);
  EXPECT_EQ(s.Count(Blue), 0);
}

// ---------------------------------------------------------------------------
// Frames and background

struct TPaneFrameCase {
  const char* Name;
  TFrameStyle Style;
  // Probes: a pixel and its expected colour (a system colour, or a marker).
  struct TProbe {
    int X, Y;
    int Kind;  // 0 paper, 1 flat colour, 2 clBtnShadow, 3 clBtnHighlight
  };
  std::vector<TProbe> Probes;
};
void PrintTo(const TPaneFrameCase& C, std::ostream* AOut) { *AOut << C.Name; }

class PaneFrames : public testing::TestWithParam<TPaneFrameCase> {};

TEST_P(PaneFrames, EachStyleInsideTheBorderWidth) {
  const TPaneFrameCase& c = GetParam();
  TOwned<TRzCustomStatusPane> pane(NewPane<TRzCustomStatusPane>());
  pane->SetWidth(60);
  pane->SetFrameStyle(c.Style);
  TPixelSurface s(60, 20, Paper);
  PaintPane(pane.get(), s);
  const COLORREF flat = Sys(AdjustColor(clBtnShadow, 30));
  for (const auto& p : c.Probes) {
    SCOPED_TRACE(testing::Message() << p.X << "," << p.Y);
    const COLORREF expected = p.Kind == 0 ? Paper : p.Kind == 1 ? flat : p.Kind == 2 ? Sys(clBtnShadow) : Sys(clBtnHighlight);
    EXPECT_EQ(s.Pixel(p.X, p.Y), expected) << s.Picture(Paper);
  }
  // The border width stays clear.
  for (int x = 0; x < 60; ++x) EXPECT_EQ(s.Pixel(x, 0), Paper);
}

INSTANTIATE_TEST_SUITE_P(
    All, PaneFrames,
    testing::Values(
        // Flat: one frame that leaves its corners out.
        TPaneFrameCase{"Flat", fsFlat, {{1, 1, 0}, {2, 1, 1}, {1, 2, 1}, {58, 18, 0}, {57, 18, 1}, {58, 17, 1}, {2, 2, 0}}},
        TPaneFrameCase{"FlatBold", fsFlatBold, {{1, 1, 1}, {2, 2, 1}, {57, 17, 1}, {3, 3, 0}}},
        TPaneFrameCase{"Status", fsStatus, {{1, 5, 2}, {30, 1, 2}, {58, 5, 3}, {30, 18, 3}, {2, 5, 0}}},
        TPaneFrameCase{"None", fsNone, {{1, 1, 0}, {1, 5, 0}, {58, 18, 0}}}),
    [](const testing::TestParamInfo<TPaneFrameCase>& I) { return std::string(I.param.Name); });

TEST(RzStatusPane, AnOpaquePaneFillsWithItsColour) {
  TOwned<TRzCustomStatusPane> pane(NewPane<TRzCustomStatusPane>());
  pane->SetFrameStyle(fsNone);
  pane->SetColor(clYellow);
  pane->SetTransparent(false);
  pane->SetCaption(L"x");
  TPixelSurface s(100, 20, Paper);
  PaintPane(pane.get(), s);
  EXPECT_EQ(s.Pixel(0, 0), RGB(255, 255, 0));
  EXPECT_EQ(s.Pixel(99, 19), RGB(255, 255, 0));
  EXPECT_EQ(s.Count(Paper), 0);
}

TEST(RzStatusPane, NotParentColouredPanesBecomeOpaqueWhenLoaded) {
  TOwned<TRzVersionInfoStatus> pane(NewPane<TRzVersionInfoStatus>());
  ReadComponentFromText(L"object P: TRzVersionInfoStatus\n Color = clAqua\n ParentColor = False\nend\n", pane.get());
  EXPECT_FALSE(pane->Transparent());
  EXPECT_EQ(pane->FillColor(), clAqua);
}

// ---------------------------------------------------------------------------
// Size

TEST(RzStatusPane, AutoSizeMeasuresTheCaption) {
  TOwned<TRzCustomStatusPane> pane(NewPane<TRzCustomStatusPane>());
  pane->SetAutoSize(true);
  EXPECT_EQ(pane->Width(), 40);
  pane->SetCaption(L"Ready");
  const int width = TextSize(pane.get(), L"Ready").cx;
  EXPECT_EQ(pane->Width(), width + 2 + 2 + 6);
  pane->SetCaptionOffset(5);
  EXPECT_EQ(pane->Width(), width + 2 + 5 + 6);
  pane->SetCaption(L"Line one\r\nthe longest line here");
  EXPECT_EQ(pane->Width(), TextSize(pane.get(), L"the longest line here").cx + 2 + 5 + 6);
  pane->SetAutoSize(false);
  pane->SetCaption(L"x");
  EXPECT_EQ(pane->Width(), TextSize(pane.get(), L"the longest line here").cx + 2 + 5 + 6);
}

TEST(RzStatusPane, AutoSizeOfAFieldPaneCountsItsLabel) {
  TOwned<TRzCustomFieldStatus> pane(NewPane<TRzCustomFieldStatus>());
  pane->SetCaption(L"Ready");
  pane->SetFieldLabel(L"State:");
  pane->SetAutoSize(true);
  EXPECT_EQ(pane->Width(), TextSize(pane.get(), L"Ready").cx + 2 + 2 + 6 + TextSize(pane.get(), L"State:").cx + 4);
}

// ---------------------------------------------------------------------------
// Blinking

class Blinking : public testing::Test {
 protected:
  void SetUp() override {
    Pane = NewPane<TRzCustomStatusPane>();
    Pane->SetCaption(L"Blink");
    Pane->Font()->SetColor(clRed);
    Pane->SetBlinkColor(clBlue);
    List = BlinkingControlsList();
    ASSERT_NE(List, nullptr);
  }
  void TearDown() override { Pane->Free(); }
  COLORREF CaptionPixels() {
    TPixelSurface s(100, 20, Paper);
    PaintPane(Pane, s);
    const bool red = s.Count(Red) > 0;
    const bool blue = s.Count(Blue) > 0;
    return red && !blue ? Red : blue && !red ? Blue : Paper;
  }
  TRzCustomStatusPane* Pane;
  TRzBlinkingControlsList* List;
};

TEST_F(Blinking, TheBlinkColourLastsIntervalOnAndTheFontColourIntervalOff) {
  Pane->SetBlinkIntervalOn(300);
  Pane->SetBlinkIntervalOff(700);
  Pane->SetBlinking(true);
  while (List->Phase() != bsOff) List->TimerFired(nullptr);
  List->TimerFired(nullptr);  // to bsOn: the normal colour, for IntervalOff
  EXPECT_EQ(CaptionPixels(), Red);
  EXPECT_EQ(List->Timer()->Interval(), 700u);
  List->TimerFired(nullptr);  // to bsOff: the blink colour, for IntervalOn
  EXPECT_EQ(CaptionPixels(), Blue);
  EXPECT_EQ(List->Timer()->Interval(), 300u);
  // Switching blinking off in the blink phase gives the font colour at once.
  Pane->SetBlinking(false);
  EXPECT_EQ(CaptionPixels(), Red);
  List->TimerFired(nullptr);
  List->TimerFired(nullptr);
  EXPECT_EQ(CaptionPixels(), Red);
}

TEST_F(Blinking, OnlyBlinkingPanesAreTold) {
  TOwned<TRzCustomStatusPane> quiet(NewPane<TRzCustomStatusPane>());
  EXPECT_EQ(quiet->Perform(BlinkQueryMessage, 0, 0), 0);
  Pane->SetBlinking(true);
  EXPECT_EQ(Pane->Perform(BlinkQueryMessage, 0, 0), 1);
  for (int i = 0; i < 4; ++i) {
    List->TimerFired(nullptr);
    EXPECT_EQ(quiet->CaptionColor(), quiet->Font()->Color());
  }
}

class TRecordingPane : public TRzCustomStatusPane {
  SK_CLASS(TRecordingPane, TRzCustomStatusPane)
 public:
  std::vector<bool> Phases;

 protected:
  void SetBlinkPhase(bool AFlag) override {
    Phases.push_back(AFlag);
    inherited::SetBlinkPhase(AFlag);
  }
};

TEST_F(Blinking, TheTimerAlternatesThePhases) {
  TOwned<TRecordingPane> pane(New<TRecordingPane>(nullptr));
  pane->SetBlinking(true);
  pane->SetBlinkIntervalOn(20);
  pane->SetBlinkIntervalOff(20);
  List->Timer()->SetInterval(20);
  ASSERT_TRUE(PumpUntil([&] { return pane->Phases.size() >= 4; }, 3000));
  for (std::size_t i = 1; i < pane->Phases.size(); ++i) EXPECT_NE(pane->Phases[i], pane->Phases[i - 1]);
  pane->SetBlinkIntervalOn(500);
  pane->SetBlinkIntervalOff(500);
}

TEST(BlinkingList, LivesFromTheFirstPaneToTheLast) {
  ASSERT_EQ(BlinkingControlsList(), nullptr);
  TOwned<TRzCustomStatusPane> first(New<TRzCustomStatusPane>(nullptr));
  TOwned<TRzCustomStatusPane> second(New<TRzVersionInfoStatus>(nullptr));
  ASSERT_NE(BlinkingControlsList(), nullptr);
  EXPECT_EQ(BlinkingControlsList()->Count(), 2);
  EXPECT_TRUE(BlinkingControlsList()->Timer()->Running());
  EXPECT_EQ(BlinkingControlsList()->Timer()->Interval(), 500u);
  first.reset();
  EXPECT_EQ(BlinkingControlsList()->Count(), 1);
  second.reset();
  EXPECT_EQ(BlinkingControlsList(), nullptr);
}

// ---------------------------------------------------------------------------
// Frame controller

TEST(RzStatusPane, TakesTheFrameControllersVisibleFrame) {
  TOwned<TComponent> owner(New<TComponent>(nullptr));
  auto* controller = New<TRzFrameController>(owner.get());
  auto* pane = NewPane<TRzCustomStatusPane>(owner.get());
  auto* partial = NewPane<TRzCustomStatusPane>(owner.get());
  partial->SetFrameControllerNotifications({fcpFrameColor});
  controller->SetFrameStyle(fsGroove);
  controller->SetFrameColor(clRed);
  pane->SetFrameController(controller);
  partial->SetFrameController(controller);
  // Without a visible frame the pane keeps its own.
  EXPECT_EQ(pane->FrameStyle(), fsFlat);
  controller->SetFrameVisible(true);
  EXPECT_EQ(pane->FrameStyle(), fsGroove);
  EXPECT_EQ(pane->FlatColor(), clRed);
  EXPECT_EQ(pane->FlatColorAdjustment(), 0);
  EXPECT_EQ(partial->FrameStyle(), fsFlat);
  EXPECT_EQ(partial->FlatColor(), clRed);
  controller->Free();
  EXPECT_EQ(pane->FrameController(), nullptr);
}

// ---------------------------------------------------------------------------
// Hints, size grips and style elements

TEST(RzStatusPane, WithAutoHintTheApplicationsHintBecomesTheCaption) {
  TOwned<TForm> form(New<TForm>(nullptr));
  auto* hinted = NewPane<TRzCustomStatusPane>(form.get());
  hinted->SetParent(form.get());
  hinted->SetAutoHint(true);
  auto* plain = NewPane<TRzCustomStatusPane>(form.get());
  plain->SetParent(form.get());
  plain->SetCaption(L"Ready");
  Screen()->SetActiveForm(form.get());
  Application()->SetHint(L"Opens a project");
  EXPECT_EQ(hinted->Caption(), L"Opens a project");
  EXPECT_EQ(plain->Caption(), L"Ready");
  // Other actions go to the class library's handling: nobody takes them.
  TOwned<TAction> action(New<TAction>(nullptr));
  EXPECT_FALSE(hinted->ExecuteAction(action.get()));
  Application()->SetHint(L"");
  EXPECT_EQ(hinted->Caption(), L"");
  Screen()->SetActiveForm(nullptr);
}

// The family's status bar as the panes see it: its own hit test answers
// HTBOTTOMRIGHT in the 16 pixels at its right edge while the grip shows.
class TGripBar : public TNoRefCount<TCustomControl>, public IRzStatusBarSizeGrip {
  SK_CLASS(TGripBar, TCustomControl)
 public:
  static void Publish(TPublisher<TGripBar>& P) { P.Message<&TGripBar::WMNCHitTest>(WM_NCHITTEST); }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IRzStatusBarSizeGrip>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  bool SizeGripVisible() override { return Grip; }
  bool Grip = true;

 protected:
  void WMNCHitTest(TMessage& Message) {
    const TPoint p = ScreenToClient(PointFromLParam(Message.LParam));
    if (Grip && p.X >= ClientWidth() - 16) Message.Result = HTBOTTOMRIGHT;
    else InheritedMessage<TGripBar>(Message);
  }
};

TEST(RzStatusPane, ASizeGripWorksThroughThePaneInTheTwelvePixelsBeforeItsEdge) {
  TOwned<TForm> form(New<TForm>(nullptr));
  form->SetClientWidth(300);
  auto* bar = New<TGripBar>(form.get());
  bar->SetParent(form.get());
  bar->SetBounds(0, 100, 200, 20);
  auto* pane = NewPane<TRzCustomStatusPane>(form.get());
  pane->SetParent(bar);
  pane->SetBounds(100, 0, 100, 20);
  auto hitTest = [&](int X) { return SendMessageW(bar->Handle(), WM_NCHITTEST, 0, PointToLParam(bar->ClientToScreen(TPoint(X, 10)))); };
  struct TCase {
    const char* Name;
    bool Grip;
    int PaneRight;
    int X;
    LRESULT Result;
  };
  const TCase cases[] = {
      {"inside the twelve pixels: the bar's grip", true, 200, 190, HTBOTTOMRIGHT},
      {"the last pixel", true, 200, 199, HTBOTTOMRIGHT},
      {"before the twelve pixels, in the bar's grip: the pane", true, 200, 186, HTCLIENT},
      {"the pane short of the edge covers the grip", true, 198, 190, HTCLIENT},
      {"no grip showing", false, 200, 190, HTCLIENT},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    bar->Grip = c.Grip;
    pane->SetWidth(c.PaneRight - 100);
    EXPECT_EQ(hitTest(c.X), c.Result);
  }
}

TEST(RzStatusPane, AChangeOfStyleElementsRepaintsThePane) {
  TOwned<TForm> form(New<TForm>(nullptr));
  auto* pane = NewPane<TRzCustomStatusPane>(form.get());
  pane->SetParent(form.get());
  pane->SetBounds(10, 10, 100, 20);
  pane->Font()->SetColor(clRed);
  form->Show();
  Application()->ProcessMessages();
  const HWND wnd = form->Handle();
  ValidateRect(wnd, nullptr);
  pane->SetStyleElements({seClient, seBorder});
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(wnd, &update, FALSE));
  EXPECT_EQ(TRect(update), TRect(10, 10, 110, 30));
  EXPECT_EQ(pane->CaptionColor(), clRed) << "the system's style keeps the font's colour";
}

// ---------------------------------------------------------------------------
// The order of the panes' virtual operations

// Takes the places of the protected operations too.
class TPaneSlots : public TRzVersionInfoStatus {
 public:
  static std::vector<std::ptrdiff_t> Added() {
    return {VirtualSlot(&TPaneSlots::GetAutoSizeWidth),
            VirtualSlot(&TPaneSlots::GetCaptionRect),
            VirtualSlot(&TPaneSlots::DrawCaption),
            VirtualSlot(&TPaneSlots::DrawBorder),
            VirtualSlot(&TPaneSlots::ApplyFrameController),
            VirtualSlot(&TPaneSlots::SetBlinkPhase),
            VirtualSlot(&TPaneSlots::SetAlignment),
            VirtualSlot(&TPaneSlots::SetDefaultWidth),
            VirtualSlot(&TPaneSlots::SetBlinking),
            VirtualSlot(&TPaneSlots::SetBlinkColor),
            VirtualSlot(&TPaneSlots::BlinkIntervalOff),
            VirtualSlot(&TPaneSlots::SetBlinkIntervalOff),
            VirtualSlot(&TPaneSlots::BlinkIntervalOn),
            VirtualSlot(&TPaneSlots::SetBlinkIntervalOn),
            VirtualSlot(&TPaneSlots::SetBorderWidth),
            VirtualSlot(&TPaneSlots::SetCaption),
            VirtualSlot(&TPaneSlots::SetCaptionOffset),
            VirtualSlot(&TPaneSlots::SetFillColor),
            VirtualSlot(&TPaneSlots::SetParentFillColor),
            VirtualSlot(&TPaneSlots::SetFlatColor),
            VirtualSlot(&TPaneSlots::SetFlatColorAdjustment),
            VirtualSlot(&TPaneSlots::SetFrameStyle),
            VirtualSlot(&TPaneSlots::SetFrameController),
            VirtualSlot(&TPaneSlots::SetTransparent),
            VirtualSlot(&TPaneSlots::IsAtGripEdge),
            // TRzCustomFieldStatus
            VirtualSlot(&TPaneSlots::SetFieldLabel),
            VirtualSlot(&TPaneSlots::SetFieldLabelColor),
            // TRzVersionInfoStatus
            VirtualSlot(&TPaneSlots::SetVersionInfo),
            VirtualSlot(&TPaneSlots::SetField)};
  }
};

TEST(RzStatusPane, TheAddedVirtualOperationsFollowOneAnotherInTheirOrder) {
  EXPECT_TRUE(FollowOneAnother(TPaneSlots::Added()));
}

// ---------------------------------------------------------------------------
// The two panes of the main window on their form

TEST(RzStatusPane, TheMainWindowsPanesOnTheirForm) {
  TOwned<TForm> form(New<TForm>(nullptr));
  form->SetColor(clBtnFace);
  form->Font()->SetName(L"Tahoma");
  form->Font()->SetHeight(-11);
  form->Font()->SetQuality(fqNonAntialiased);
  form->SetClientWidth(329);
  form->SetClientHeight(391);
  auto* info = New<TRzVersionInfo>(form.get());
  auto* company = New<TRzVersionInfoStatus>(form.get());
  company->SetParent(form.get());
  company->SetBounds(109, 371, 100, 20);
  company->SetFrameStyle(fsNone);
  company->SetField(vifCompanyName);
  company->SetVersionInfo(info);
  auto* version = New<TRzVersionInfoStatus>(form.get());
  version->SetParent(form.get());
  version->SetBounds(8, 371, 101, 20);
  version->SetFrameStyle(fsNone);
  version->SetFieldLabel(L"Version:");
  version->SetFieldLabelColor(clBlack);
  version->SetField(vifFileVersion);
  version->SetVersionInfo(info);
  EXPECT_EQ(version->Caption(), L"1.0.0.0");
  EXPECT_EQ(company->Caption(), L"Torvik");

  TPixelSurface s(329, 391, Paper);
  form->PaintTo(s.DC(), 0, 0);
  const COLORREF face = Sys(clBtnFace);
  const COLORREF text = Sys(clWindowText);
  // The form's face colour all round the panes: they fill nothing themselves.
  EXPECT_EQ(s.Pixel(10, 372), face);
  EXPECT_EQ(s.Pixel(200, 389), face);
  const TRect label = InkOf(s, Black, TRect(8, 371, 109, 391));
  ASSERT_FALSE(label.IsEmpty());
  EXPECT_GE(label.Left, 8 + 4);
  EXPECT_LE(label.Left, 8 + 5);
  const int labelWidth = TextSize(version, L"Version:").cx;
  const TRect versionInk = InkOf(s, text, TRect(8 + labelWidth + 5, 371, 109, 391));
  EXPECT_FALSE(versionInk.IsEmpty()) << s.Picture(face);
  const TRect companyInk = InkOf(s, text, TRect(109, 371, 209, 391));
  ASSERT_FALSE(companyInk.IsEmpty());
  EXPECT_GE(companyInk.Left, 109 + 1 + 4 + 3);
  EXPECT_LE(companyInk.Right, 109 + 1 + 4 + 3 + TextSize(company, L"Torvik").cx + 1);
}

}  // namespace
