#include "library/controls/scrollbars/cxScrollBar.h"

#include "library/core/base/dxCore.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// A bar with a recording controller and a painter of flat colours

class TRecordingController : public TcxScrollBarController {
  SK_CLASS(TRecordingController, TcxScrollBarController)
 public:
  std::vector<TPoint> Downs;
  int Stops = 0;
  void MouseDown(TMouseButton, TShiftState, int X, int Y) override { Downs.push_back(TPoint(X, Y)); }
  void MouseEnter(TControl*) override {}
  void MouseLeave(TControl*) override {}
  void MouseMove(TShiftState, int, int) override {}
  void MouseUp(TMouseButton, TShiftState, int, int) override {}
  void StopScrolling(TcxScrollBarPart AHotPart) override {
    ++Stops;
    ScrollBar()->ViewInfo()->SetHotPart(AHotPart);
    ScrollBar()->ViewInfo()->SetPressedPart(sbpNone);
  }
};

constexpr TColor PartColors[] = {clNone, clRed, clBlue, clLime, clYellow, clAqua};

class TFlatPainter : public TcxScrollBarPainter {
  SK_CLASS(TFlatPainter, TcxScrollBarPainter)
 public:
  int MinThumb = 8;
  bool HotTrack = true;
  int MinThumbnailSize() override { return MinThumb; }
  bool IsButtonHotTrack() override { return HotTrack; }

 protected:
  void DrawLookBackground(TcxCustomCanvas* ACanvas, const TRect& R) override { ACanvas->FillRect(R, clBlack); }
  void DrawLookPart(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState, TcxScrollBarPart APart) override {
    if (auto* canvas = dynamic_cast<TcxCanvas*>(ACanvas)) GetBrushOrgEx(canvas->Handle(), &BrushOrigin);
    ACanvas->FillRect(R, PartColors[APart]);
  }

 public:
  POINT BrushOrigin{};
};

class TTestScrollBar : public TcxScrollBarHelper {
  SK_CLASS(TTestScrollBar, TcxScrollBarHelper)
 public:
  TRecordingController* Recorder() const { return static_cast<TRecordingController*>(Controller()); }
  TFlatPainter* Flat() const { return static_cast<TFlatPainter*>(Painter()); }

 protected:
  TClass GetControllerClass() override { return TRecordingController::ClassInfo(); }
  TClass GetPainterClass() override { return TFlatPainter::ClassInfo(); }
};

class TBarOwner : public TcxIUnknownObject, public IcxScrollBarOwner {
  SK_CLASS(TBarOwner, TcxIUnknownObject)
 public:
  TWinControl* Control = nullptr;
  TOwned<TdxScaleFactor> Factor;
  void Create() { Factor.reset(New<TdxScaleFactor>()); }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxScrollBarOwner>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TWinControl* GetControl() override { return Control; }
  TcxLookAndFeel* GetLookAndFeel() override { return nullptr; }
  TdxScaleFactor* GetScaleFactor() override { return Factor.get(); }
};

// An owner whose bar sits at an origin inside its control.
class TPlacedBarOwner : public TBarOwner, public IcxScrollBarOwner2 {
  SK_CLASS(TPlacedBarOwner, TBarOwner)
 public:
  TPoint Origin;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxScrollBarOwner2>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TPoint GetOwnerOrigin() override { return Origin; }
  bool GetOwnerVisible() override { return true; }
};

struct TBarFixture : testing::Test {
  TOwned<TBarOwner> Owner;
  TOwned<TTestScrollBar> Bar;

  void SetUp() override {
    Owner.reset(New<TBarOwner>());
    Bar.reset(New<TTestScrollBar>(static_cast<IcxScrollBarOwner*>(Owner.get())));
  }
  void Lay(TScrollBarKind AKind, const TRect& ABounds, int AMin, int AMax, int APage, int APosition) {
    Bar->SetKind(AKind);
    Bar->SetBoundsRect(ABounds);
    Bar->SetScrollParams(AMin, AMax, APosition, APage, false);
    Bar->Calculate();
  }
  TRect Part(TcxScrollBarPart APart) const { return Bar->ViewInfo()->PartBounds(APart); }
};

// ---------------------------------------------------------------------------
// Geometry against the system's own scroll bar

TEST_F(TBarFixture, TheThumbLiesWhereTheSystemsScrollBarPutsItsOwn) {
  TOwned<TForm> form(NewShownForm(TRect(50, 50, 450, 350)));
  const struct {
    const char* Name;
    int Min, Max, Page, Position;
  } rows[] = {
      {"near the end (measured 121..133)", 0, 99, 10, 90},
      {"no page, half way (measured 67..84)", 0, 100, 0, 50},
      {"at the start", 0, 99, 10, 0},
      {"a long range", 0, 999, 50, 500},
      {"a big page", 0, 200, 100, 101},
      {"negative minimum", -50, 50, 20, -10},
      {"no page, at the end", 0, 30, 0, 30},
  };
  for (TScrollBarKind kind : {sbVertical, sbHorizontal}) {
    const bool vertical = kind == sbVertical;
    const TRect bounds = vertical ? TRect(0, 0, 17, 150) : TRect(0, 0, 150, 17);
    const HWND native = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | (vertical ? SBS_VERT : SBS_HORZ),
                                        10, 10, bounds.Width(), bounds.Height(), form->Handle(), nullptr, nullptr,
                                        nullptr);
    ASSERT_NE(native, nullptr);
    for (const auto& row : rows) {
      SCOPED_TRACE(String(vertical ? L"vertical " : L"horizontal ") + String(row.Name, row.Name + strlen(row.Name)));
      SCROLLINFO info{sizeof(info), SIF_ALL, row.Min, row.Max, static_cast<UINT>(row.Page), row.Position, 0};
      SetScrollInfo(native, SB_CTL, &info, TRUE);
      SCROLLBARINFO bar{};
      bar.cbSize = sizeof(bar);
      ASSERT_TRUE(GetScrollBarInfo(native, OBJID_CLIENT, &bar));
      Lay(kind, bounds, row.Min, row.Max, row.Page, row.Position);
      const TRect thumb = Part(sbpThumbnail);
      EXPECT_NEAR(vertical ? thumb.Top : thumb.Left, bar.xyThumbTop, 1);
      EXPECT_NEAR(vertical ? thumb.Bottom : thumb.Right, bar.xyThumbBottom, 1);
    }
    DestroyWindow(native);
  }
  // The two that were measured, exactly.
  Lay(sbVertical, TRect(0, 0, 17, 150), 0, 99, 10, 90);
  EXPECT_EQ(Part(sbpThumbnail).Top, 121);
  EXPECT_EQ(Part(sbpThumbnail).Bottom, 133);
  Lay(sbVertical, TRect(0, 0, 17, 150), 0, 100, 0, 50);
  EXPECT_EQ(Part(sbpThumbnail).Top, 67);
  EXPECT_EQ(Part(sbpThumbnail).Bottom, 84);
}

// ---------------------------------------------------------------------------
// Layout

TEST_F(TBarFixture, ButtonsThumbAndPagesOfAVerticalBarTileIt) {
  const int thickness = GetSystemMetrics(SM_CXVSCROLL);
  const int arrow = thickness;  // the arrow of a vertical bar is as long as the bar is thick
  const TRect bounds(5, 10, 5 + thickness, 10 + 2 * arrow + 200);
  Lay(sbVertical, bounds, 0, 99, 10, 0);
  EXPECT_EQ(Part(sbpLineUp), TRect(5, 10, 5 + thickness, 10 + arrow));
  EXPECT_EQ(Part(sbpLineDown), TRect(5, bounds.Bottom - arrow, 5 + thickness, bounds.Bottom));
  // Track 200, page 10 of 100: the thumb is 20 long; position 0 at the top.
  EXPECT_EQ(Part(sbpThumbnail), TRect(5, 10 + arrow, bounds.Right, 10 + arrow + 20));
  EXPECT_EQ(Part(sbpPageUp), TRect(5, 10 + arrow, bounds.Right, 10 + arrow)) << "empty at the start";
  EXPECT_EQ(Part(sbpPageDown), TRect(5, 10 + arrow + 20, bounds.Right, bounds.Bottom - arrow));
}

TEST_F(TBarFixture, TheEdgeCasesOfTheThumb) {
  ASSERT_EQ(GetSystemMetrics(SM_CYVTHUMB), 17) << "the cases below count with the system thumb of 17";
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  const auto track = [&](int ALength) { return TRect(0, 0, arrow, 2 * arrow + ALength); };
  const struct {
    const char* Name;
    int Track, Min, Max, Page, Position, MinThumb;
    int Offset, Length;  // -1: no thumb
  } rows[] = {
      {"no page: MulDiv(183, 50, 100)", 200, 0, 100, 0, 50, 8, 92, 17},
      {"page 10: at 90 the end", 200, 0, 99, 10, 90, 8, 180, 20},
      {"page 10: at 99 still the end", 200, 0, 99, 10, 99, 8, 180, 20},
      {"the minimum thumb wins", 200, 0, 9999, 10, 0, 30, 0, 30},
      {"a track shorter than the minimum thumb", 20, 0, 99, 10, 0, 30, -1, -1},
      {"no page, a track shorter than the system thumb", 16, 0, 99, 0, 0, 8, -1, -1},
      {"no page, the track is the thumb", 17, 0, 99, 0, 50, 8, 0, 17},
      {"no page, no range", 200, 7, 7, 0, 7, 8, 0, 17},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    Bar->Flat()->MinThumb = row.MinThumb;
    Lay(sbVertical, track(row.Track), row.Min, row.Max, row.Page, row.Position);
    const TRect thumb = Part(sbpThumbnail);
    if (row.Length < 0) {
      EXPECT_TRUE(thumb.IsEmpty());
      EXPECT_TRUE(Part(sbpPageUp).IsEmpty() && Part(sbpPageDown).IsEmpty()) << "no page areas without a thumb";
      continue;
    }
    EXPECT_EQ(thumb.Top - arrow, row.Offset);
    EXPECT_EQ(thumb.Height(), row.Length);
  }
}

TEST_F(TBarFixture, ABarShorterThanTwoButtonsGetsHalfOfItForEachAndNoThumb) {
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  Lay(sbHorizontal, TRect(0, 0, arrow, 17), 0, 99, 10, 0);
  EXPECT_EQ(Part(sbpLineUp), TRect(0, 0, arrow / 2, 17));
  EXPECT_EQ(Part(sbpLineDown), TRect(arrow - arrow / 2, 0, arrow, 17));
  EXPECT_TRUE(Part(sbpThumbnail).IsEmpty());
}

TEST_F(TBarFixture, AReversedBarStartsAtTheBottomAndAtTheRight) {
  Bar->SetReverseDirection(true);
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  Lay(sbVertical, TRect(0, 0, arrow, 2 * arrow + 200), 0, 99, 10, 0);
  EXPECT_EQ(Part(sbpThumbnail).Bottom, Part(sbpLineDown).Top) << "Min at the bottom end";
  Bar->SetPosition(90);
  EXPECT_EQ(Part(sbpThumbnail).Top, Part(sbpLineUp).Bottom) << "the end at the top";
  Lay(sbHorizontal, TRect(0, 0, 2 * arrow + 200, 17), 0, 99, 10, 0);
  EXPECT_EQ(Part(sbpThumbnail).Right, Part(sbpLineDown).Left);
}

TEST_F(TBarFixture, ARightToLeftHorizontalBarMirrorsButtonsThumbAndPages) {
  TOwned<TCustomControl> control(New<TCustomControl>(nullptr));
  control->SetBiDiMode(bdRightToLeft);
  Owner->Control = control.get();
  const int arrow = GetSystemMetrics(SM_CYHSCROLL);
  const TRect bounds(0, 0, 2 * arrow + 200, 17);
  Lay(sbHorizontal, bounds, 0, 99, 10, 0);
  EXPECT_EQ(Part(sbpLineDown), TRect(0, 0, arrow, 17)) << "the down button on the left";
  EXPECT_EQ(Part(sbpLineUp), TRect(bounds.Right - arrow, 0, bounds.Right, 17));
  EXPECT_EQ(Part(sbpThumbnail).Right, Part(sbpLineUp).Left) << "Min at the right end";
  EXPECT_EQ(Part(sbpPageDown), TRect(arrow, 0, Part(sbpThumbnail).Left, 17));
  EXPECT_TRUE(Part(sbpPageUp).IsEmpty());
  Bar->SetPosition(90);
  EXPECT_EQ(Part(sbpThumbnail).Left, Part(sbpLineDown).Right);
  Owner->Control = nullptr;
}

TEST_F(TBarFixture, AFullIntegerRangeLaysOutLikeAnyOther) {
  // 32-bit arithmetic on Max - Min overflows here.
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  const int length = 400;
  ASSERT_NO_THROW(Lay(sbVertical, TRect(0, 0, arrow, 2 * arrow + length), INT_MIN, INT_MAX, 1 << 30, 0));
  const TRect thumb = Part(sbpThumbnail);
  EXPECT_EQ(thumb.Height(), length / 4) << "a quarter of the range";
  // Position 0 is 2^31 above Min; the last position is Max - page + 1.
  const double expected = (length - length / 4) * (2147483648.0 / (4294967295.0 - 1073741824.0 + 1));
  EXPECT_NEAR(thumb.Top - arrow, expected, 1.0);
  Bar->SetPosition(INT_MAX);
  EXPECT_EQ(Part(sbpThumbnail).Bottom, Part(sbpLineDown).Top);
  Bar->SetPosition(INT_MIN);
  EXPECT_EQ(Part(sbpThumbnail).Top, Part(sbpLineUp).Bottom);
}

TEST_F(TBarFixture, ADisabledBarHasNoThumbAndItsPartsShowDisabled) {
  Lay(sbVertical, TRect(0, 0, 17, 200), 0, 99, 10, 50);
  Bar->SetEnabled(false);
  EXPECT_EQ(Bar->Recorder()->Stops, 1) << "disabling stops any scrolling";
  Bar->Calculate();
  EXPECT_TRUE(Part(sbpThumbnail).IsEmpty());
  EXPECT_EQ(Bar->ViewInfo()->PartInfos(sbpLineUp)->State(), cxbsDisabled);
}

// ---------------------------------------------------------------------------
// Parameters

TEST_F(TBarFixture, ParametersAreCheckedAndThePositionHeldToTheRange) {
  int changes = 0;
  struct TCounter : TObject {
    int* Count;
    void Changed(TObject*) { ++*Count; }
  };
  TOwned<TCounter> counter(New<TCounter>());
  counter->Count = &changes;
  Bar->SetOnChange(BindEvent<&TCounter::Changed>(counter.get()));
  Lay(sbVertical, TRect(0, 0, 17, 200), 0, 99, 10, 0);
  EXPECT_EQ(changes, 0);

  for (const auto& [min, max, page] : {std::tuple{10, 5, 0}, std::tuple{0, 9, 10}, std::tuple{0, 99, -1}}) {
    SCOPED_TRACE(testing::Message() << min << ".." << max << " page " << page);
    try {
      Bar->SetScrollParams(min, max, 0, page);
      ADD_FAILURE() << "accepted";
    } catch (const EInvalidOperation& E) {
      EXPECT_EQ(E.Message(), L"Eigenschaft Scrollbar außerhalb des zulässigen Bereichs");
    }
    EXPECT_EQ(Bar->Min(), 0);
    EXPECT_EQ(Bar->Max(), 99);
    EXPECT_EQ(Bar->PageSize(), 10);
  }
  Bar->SetPosition(500);
  EXPECT_EQ(Bar->Position(), 99) << "held to Max";
  EXPECT_EQ(changes, 1);
  Bar->SetPosition(95);
  EXPECT_EQ(Bar->Position(), 95) << "beyond Max - PageSize + 1 is allowed";
  Bar->SetPosition(95);
  EXPECT_EQ(changes, 2) << "no change, no event";
  Bar->SetMin(-20);
  EXPECT_EQ(changes, 2) << "a range change alone keeps the position";
  Bar->SetMax(50);
  EXPECT_EQ(Bar->Position(), 50);
  EXPECT_EQ(changes, 3);
}

TEST_F(TBarFixture, HitTestsAndPartStates) {
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  Lay(sbVertical, TRect(0, 0, arrow, 2 * arrow + 200), 0, 99, 10, 50);
  TcxScrollBarViewInfo* info = Bar->ViewInfo();
  const TRect thumb = Part(sbpThumbnail);
  EXPECT_EQ(info->HitTest(TPoint(2, 2)), sbpLineUp);
  EXPECT_EQ(info->HitTest(TPoint(2, Part(sbpLineDown).Top)), sbpLineDown);
  EXPECT_EQ(info->HitTest(TPoint(2, thumb.Top)), sbpThumbnail);
  EXPECT_EQ(info->HitTest(TPoint(2, thumb.Top - 1)), sbpPageUp);
  EXPECT_EQ(info->HitTest(TPoint(2, thumb.Bottom)), sbpPageDown);
  EXPECT_EQ(info->HitTest(TPoint(arrow, 2)), sbpNone);

  const struct {
    const char* Name;
    TcxScrollBarPart Hot, Pressed, Part;
    bool HotTrack;
    TcxButtonState Expected;
  } rows[] = {
      {"not hot", sbpLineDown, sbpNone, sbpLineUp, true, cxbsNormal},
      {"hot", sbpLineUp, sbpNone, sbpLineUp, true, cxbsHot},
      {"pressed", sbpLineUp, sbpLineUp, sbpLineUp, true, cxbsPressed},
      {"hot while another is pressed", sbpLineUp, sbpPageDown, sbpLineUp, true, cxbsNormal},
      {"a thumb without hot tracking", sbpThumbnail, sbpNone, sbpThumbnail, false, cxbsNormal},
      {"a button without hot tracking", sbpLineUp, sbpNone, sbpLineUp, false, cxbsHot},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    info->SetHotPart(row.Hot);
    info->SetPressedPart(row.Pressed);
    Bar->Flat()->HotTrack = row.HotTrack;
    EXPECT_EQ(info->PartInfos(row.Part)->State(), row.Expected);
  }
}

TEST_F(TBarFixture, MouseInputReachesTheControllerRelativeToTheOwnerOrigin) {
  TOwned<TPlacedBarOwner> placed(New<TPlacedBarOwner>());
  placed->Origin = TPoint(30, 40);
  TOwned<TTestScrollBar> bar(New<TTestScrollBar>(static_cast<IcxScrollBarOwner*>(placed.get())));
  bar->MouseDown(mbLeft, TShiftState(), 35, 47);
  EXPECT_EQ(bar->Recorder()->Downs, std::vector<TPoint>{TPoint(5, 7)});
  EXPECT_EQ(bar->GetOwnerOrigin(), TPoint(30, 40));
  bar->SetVisible(true);
  bar->SetVisible(false);
  EXPECT_EQ(bar->Recorder()->Stops, 1) << "hiding stops any scrolling";
}

// ---------------------------------------------------------------------------
// Invalidation and painting

TEST_F(TBarFixture, InvalidationCoversThePartOfTheBarAtTheOwnerOrigin) {
  TOwned<TForm> form(NewShownForm(TRect(60, 60, 460, 360)));
  TOwned<TPlacedBarOwner> placed(New<TPlacedBarOwner>());
  placed->Origin = TPoint(30, 40);
  placed->Control = form.get();
  TOwned<TTestScrollBar> bar(New<TTestScrollBar>(static_cast<IcxScrollBarOwner*>(placed.get())));
  bar->SetBoundsRect(TRect(0, 0, 17, 150));
  UpdateWindow(form->Handle());
  bar->InvalidateRect(TRect(-10, 100, 40, 300), false);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(form->Handle(), &update, FALSE));
  EXPECT_EQ(TRect(update), TRect(30, 140, 47, 190)) << "within the bar, moved by the origin";

  UpdateWindow(form->Handle());
  bar->SetVisibleRegion(CreateRectRgn(0, 0, 17, 20));
  bar->InvalidateAll();
  ASSERT_TRUE(GetUpdateRect(form->Handle(), &update, FALSE));
  EXPECT_EQ(TRect(update), TRect(30, 40, 47, 60)) << "only the visible region";
  EXPECT_TRUE(bar->HitTestVisible(TPoint(5, 10)));
  EXPECT_FALSE(bar->HitTestVisible(TPoint(5, 30)));
  bar->SetBoundsRect(TRect(0, 0, 17, 160));
  EXPECT_EQ(bar->VisibleRegion(), nullptr) << "new bounds drop the visible region";
}

struct TCanvasOnPixels {
  explicit TCanvasOnPixels(int AWidth, int AHeight) : Surface(AWidth, AHeight, RGB(255, 255, 255)) {
    Canvas.reset(New<TCanvas>());
    Canvas->SetHandle(Surface.DC());
    Cx.reset(New<TcxCanvas>(Canvas.get()));
  }
  TPixelSurface Surface;
  TOwned<TCanvas> Canvas;
  TOwned<TcxCanvas> Cx;
};

TEST_F(TBarFixture, PaintingDrawsThePartsInsideTheBarAndLeavesTheBarOutOfTheClip) {
  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
  for (bool throughBitmap : {false, true}) {
    SCOPED_TRACE(throughBitmap ? "through a bitmap" : "directly");
    const bool vista = IsWinVistaOrLater;
    TScopeExit restore([vista] { IsWinVistaOrLater = vista; });
    IsWinVistaOrLater = !throughBitmap;
    Lay(sbVertical, TRect(10, 5, 10 + arrow, 5 + 2 * arrow + 100), 0, 99, 10, 50);
    TCanvasOnPixels target(60, 200);
    Bar->Paint(target.Cx.get());
    const TRect thumb = Part(sbpThumbnail);
    EXPECT_EQ(target.Surface.Pixel(12, 7), ColorToColorRef(clRed)) << "the up button";
    EXPECT_EQ(target.Surface.Pixel(12, thumb.Top + 1), ColorToColorRef(clLime)) << "the thumb";
    EXPECT_EQ(target.Surface.Pixel(12, thumb.Bottom + 1), ColorToColorRef(clAqua)) << "the page below it";
    EXPECT_EQ(target.Surface.Count(TRect(0, 0, 10, 200), RGB(255, 255, 255)), 10 * 200) << "nothing outside";
    // The bar is out of the clip now: a fill of everything leaves it.
    target.Cx->FillRect(TRect(0, 0, 60, 200), clBlack);
    EXPECT_EQ(target.Surface.Pixel(12, thumb.Top + 1), ColorToColorRef(clLime));
    EXPECT_EQ(target.Surface.Pixel(5, 5), RGB(0, 0, 0));
  }
}

TEST_F(TBarFixture, PartsAreDrawnWithTheBrushOriginAtTheOwnerOrigin) {
  TOwned<TPlacedBarOwner> placed(New<TPlacedBarOwner>());
  placed->Origin = TPoint(20, 30);
  TOwned<TTestScrollBar> bar(New<TTestScrollBar>(static_cast<IcxScrollBarOwner*>(placed.get())));
  bar->SetKind(sbVertical);
  bar->SetBoundsRect(TRect(0, 0, 17, 150));
  bar->Calculate();
  TCanvasOnPixels target(60, 200);
  bar->Painter()->Paint(target.Cx.get());
  EXPECT_EQ(TPoint(bar->Flat()->BrushOrigin.x, bar->Flat()->BrushOrigin.y), TPoint(20, 30))
      << "hatched backgrounds line up with the owner's";
  POINT after{};
  GetBrushOrgEx(target.Surface.DC(), &after);
  EXPECT_EQ(TPoint(after.x, after.y), TPoint()) << "and the origin comes back";
}

TEST_F(TBarFixture, PaintingOnTheOwnersCanvasShiftsTheBarByTheOwnerOrigin) {
  TOwned<TPlacedBarOwner> placed(New<TPlacedBarOwner>());
  placed->Origin = TPoint(20, 30);
  TOwned<TTestScrollBar> bar(New<TTestScrollBar>(static_cast<IcxScrollBarOwner*>(placed.get())));
  bar->SetKind(sbHorizontal);
  bar->SetBoundsRect(TRect(0, 0, 120, 17));
  bar->SetScrollParams(0, 10, 0, 0, false);
  bar->Calculate();
  TPixelSurface surface(200, 100, RGB(255, 255, 255));
  TOwned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(surface.DC());
  bar->Paint(canvas.get());
  EXPECT_EQ(surface.Pixel(21, 31), ColorToColorRef(clRed)) << "the first button at the origin";
  EXPECT_EQ(surface.Pixel(19, 31), RGB(255, 255, 255));
  EXPECT_EQ(surface.Pixel(138, 46), ColorToColorRef(clBlue)) << "the last button";
  EXPECT_EQ(surface.Pixel(141, 46), RGB(255, 255, 255)) << "nothing beyond the bar";
  EXPECT_EQ(surface.Pixel(21, 48), RGB(255, 255, 255));
}

// ---------------------------------------------------------------------------
// Sizes

TEST(cxScrollBarSizes, TheSystemSizeFollowsTheScaleFactorAsTheSystemScalesItsMetrics) {
  using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
  const auto forDpi = reinterpret_cast<TGetSystemMetricsForDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  ASSERT_NE(forDpi, nullptr);
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
    factor->Assign(dpi, 96, false);
    EXPECT_EQ(GetSystemScrollBarSize(factor.get()),
              TSize(forDpi(SM_CXVSCROLL, static_cast<UINT>(dpi)), forDpi(SM_CYHSCROLL, static_cast<UINT>(dpi))));
    EXPECT_EQ(GetTouchScrollBarSize(factor.get()), TSize(16 * dpi / 96, 16 * dpi / 96));
    EXPECT_EQ(GetHybridScrollBarSize(factor.get(), true), TSize(16 * dpi / 96, 16 * dpi / 96));
    EXPECT_EQ(GetHybridScrollBarSize(factor.get(), false), TSize(MulDiv(6, dpi, 96), MulDiv(6, dpi, 96)));
  }
  EXPECT_EQ(GetDefaultSystemScrollBarSize(), TSize(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)));
}

}  // namespace
