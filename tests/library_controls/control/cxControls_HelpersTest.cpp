#include "library/controls/control/cxControls.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"

#include "tests/library_controls/ScalableRecorder.h"
#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Drag-and-drop object

class TZoomedDrag : public TcxDragAndDropObject {
  SK_CLASS(TZoomedDrag, TcxDragAndDropObject)
 public:
  int Zoom = 100;
  int DirtyChanges = 0;
  std::vector<bool> After;
  std::vector<std::pair<WORD, TShiftState>> Keys;
  int ZoomPercent() override { return Zoom; }
  using TcxDragAndDropObject::GetDragAndDropCursor;

 protected:
  void DirtyChanged() override { ++DirtyChanges; }
  void AfterDragAndDrop(bool Accepted) override { After.push_back(Accepted); }
  bool ProcessKeyDown(WORD Key, TShiftState Shift) override {
    Keys.push_back({Key, Shift});
    return Key == VK_SHIFT;
  }
};

struct TDragFixture : testing::Test {
  TOwned<TForm> Form;
  TCustomControl* Control = nullptr;
  void SetUp() override {
    Form.reset(NewShownForm(TRect(100, 100, 400, 300)));
    Control = New<TCustomControl>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 20, 200, 100);
  }
  void TearDown() override { Screen()->SetCursor(crDefault); }
};

TEST_F(TDragFixture, PositionsAreClientPointsDividedByTheZoom) {
  TOwned<TZoomedDrag> drag(New<TZoomedDrag>(Control, nullptr));
  EXPECT_EQ(drag->CurMousePos, TPoint(-1, -1));
  EXPECT_EQ(drag->PrevMousePos, TPoint(-1, -1));
  drag->Zoom = 200;
  SendMouseMove(Control->ClientToScreen(TPoint(100, 60)));
  drag->DoBeginDragAndDrop();
  EXPECT_EQ(drag->CurMousePos, TPoint(50, 30)) << "the cursor in client coordinates, halved";
  EXPECT_EQ(drag->PrevMousePos, TPoint(50, 30));
  bool accepted = false;
  drag->DoDragAndDrop(TPoint(100, 50), accepted);
  EXPECT_EQ(drag->CurMousePos, TPoint(50, 25));
  EXPECT_EQ(drag->PrevMousePos, TPoint(50, 30));
  drag->Zoom = 300;
  drag->DoDragAndDrop(TPoint(100, 50), accepted);
  EXPECT_EQ(drag->CurMousePos, TPoint(33, 17)) << "rounded as MulDiv rounds";
}

TEST_F(TDragFixture, TheCursorShowsWhetherThePositionIsAcceptedAndTheEndMarksThePictureDirty) {
  TOwned<TZoomedDrag> drag(New<TZoomedDrag>(Control, nullptr));
  drag->DoBeginDragAndDrop();
  EXPECT_EQ(drag->DirtyChanges, 1) << "starting tells of the picture";
  bool accepted = false;
  drag->DoDragAndDrop(TPoint(5, 5), accepted);
  EXPECT_EQ(Screen()->Cursor(), crNoDrop) << "nothing accepts in the base";
  accepted = true;
  drag->DoDragAndDrop(TPoint(6, 6), accepted);
  EXPECT_EQ(Screen()->Cursor(), crDrag);
  EXPECT_FALSE(drag->Dirty());
  EXPECT_EQ(drag->DirtyChanges, 1) << "tracking keeps it clean: no change";
  drag->DoEndDragAndDrop(false);
  EXPECT_TRUE(drag->Dirty());
  EXPECT_EQ(drag->DirtyChanges, 2);
  EXPECT_EQ(drag->After, std::vector<bool>{false});
}

TEST_F(TDragFixture, KeysGoToTheObjectWithTheirShiftStateAndTheBaseTakesNone) {
  TOwned<TcxDragAndDropObject> plain(New<TcxDragAndDropObject>(Control, nullptr));
  TMessage escape{WM_KEYDOWN, VK_ESCAPE, 1, 0};
  EXPECT_FALSE(plain->DoProcessKeyDown(escape)) << "any key ends a base drag";
  EXPECT_FALSE(plain->DoProcessKeyUp(escape));
  TOwned<TZoomedDrag> drag(New<TZoomedDrag>(Control, nullptr));
  TMessage altShift{WM_SYSKEYDOWN, VK_SHIFT, LPARAM(1) | (LPARAM(1) << 29), 0};
  EXPECT_TRUE(drag->DoProcessKeyDown(altShift));
  ASSERT_EQ(drag->Keys.size(), 1u);
  EXPECT_TRUE(drag->Keys[0].second.Contains(ssAlt)) << "the context bit of the key data";
}

// ---------------------------------------------------------------------------
// Right to left

TEST(dxRightToLeftLayoutConverter, GeometryMirrorsInsideTheParent) {
  using C = TdxRightToLeftLayoutConverter;
  const TRect parent(0, 0, 100, 50);
  EXPECT_EQ(C::ConvertRect(TRect(10, 0, 30, 5), parent), TRect(70, 0, 90, 5));
  EXPECT_EQ(C::ConvertRect(TRect(10, 5, 10, 9), parent), TRect(10, 5, 10, 9)) << "an empty rectangle stays";
  EXPECT_EQ(C::ConvertRect(TRect(15, 0, 40, 5), TRect(10, 0, 60, 5)), TRect(30, 0, 55, 5));
  EXPECT_EQ(C::ConvertXCoordinate(25, parent), 75);
  EXPECT_EQ(C::ConvertPoint(TPoint(25, 7), parent), TPoint(75, 7));
  const TdxRectF parentF(0, 0, 100.5f, 50);
  const TdxRectF r = C::ConvertRect(TdxRectF(10.25f, 1, 30.25f, 5), parentF);
  EXPECT_FLOAT_EQ(r.Left, 70.25f);
  EXPECT_FLOAT_EQ(r.Right, 90.25f);
  EXPECT_FLOAT_EQ(C::ConvertPoint(TdxPointF(0.5f, 2), parentF).X, 100.0f);
  EXPECT_EQ(C::ConvertOffsets(TRect(1, 2, 3, 4)), TRect(3, 2, 1, 4));
}

TEST(dxRightToLeftLayoutConverter, LeftAndRightSwapAndEverythingElseStays) {
  using C = TdxRightToLeftLayoutConverter;
  EXPECT_EQ(C::ConvertAlignment(taLeftJustify), taRightJustify);
  EXPECT_EQ(C::ConvertAlignment(taRightJustify), taLeftJustify);
  EXPECT_EQ(C::ConvertAlignment(taCenter), taCenter);
  EXPECT_EQ(C::ConvertcxTextAlignX(taLeft), taRight);
  EXPECT_EQ(C::ConvertcxTextAlignX(taCenterX), taCenterX);
  EXPECT_EQ(C::ConvertcxDrawTextAlignment(1), 2);
  EXPECT_EQ(C::ConvertcxDrawTextAlignment(2), 1);
  EXPECT_EQ(C::ConvertcxDrawTextAlignment(4), 4);
  EXPECT_EQ(C::ConvertBorder(bLeft), bRight);
  EXPECT_EQ(C::ConvertBorder(bTop), bTop);
  EXPECT_EQ(C::ConvertCorner(coTopLeft), coTopRight);
  EXPECT_EQ(C::ConvertCorner(coBottomRight), coBottomLeft);
  EXPECT_EQ(C::ConvertDirection(dirLeft), dirRight);
  EXPECT_EQ(C::ConvertDirection(dirUp), dirUp);
  EXPECT_EQ(C::ConvertPopupAlignHorz(pahRight), pahLeft);
  EXPECT_EQ(C::ConvertPopupAlignHorz(pahCenter), pahCenter);
  EXPECT_EQ(C::ConvertPopupAlignment(paLeft), paRight);
  EXPECT_EQ(C::ConvertPopupAlignment(paCenter), paCenter);
  EXPECT_EQ(C::ConvertVirtualKeyCode(VK_LEFT), VK_RIGHT);
  EXPECT_EQ(C::ConvertVirtualKeyCode(VK_UP), VK_UP);
}

TEST(dxRightToLeftLayoutConverter, ASetSwapsASideOnlyWhenItHoldsOneOfThem) {
  using C = TdxRightToLeftLayoutConverter;
  EXPECT_EQ(C::ConvertAnchors(TAnchors{akLeft, akTop}), (TAnchors{akRight, akTop}));
  EXPECT_EQ(C::ConvertAnchors(TAnchors{akLeft, akRight}), (TAnchors{akLeft, akRight}));
  EXPECT_EQ(C::ConvertAnchors(TAnchors{akTop, akBottom}), (TAnchors{akTop, akBottom}));
  EXPECT_EQ(C::ConvertBorders(TcxBorders{bRight, bBottom}), (TcxBorders{bLeft, bBottom}));
}

// ---------------------------------------------------------------------------
// Scaling

class TScaledControl : public TNoRefCount<TCustomControl>, public IdxScaleFactor {
  SK_CLASS(TScaledControl, TCustomControl)
 public:
  TOwned<TdxScaleFactor> Factor;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    Factor.reset(New<TdxScaleFactor>());
  }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxScaleFactor>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TdxScaleFactor* GetScaleFactor() override { return Factor.get(); }
  void ChangeScale(int M, int D, bool AIsDpiChange) override {
    Factor->Change(M, D);
    inherited::ChangeScale(M, D, AIsDpiChange);
  }
};

TEST(cxControlHelper, ChangingTheScaleFactorScalesFromWhereTheControlIs) {
  TOwned<TScaledControl> control(New<TScaledControl>(nullptr));
  control->SetBounds(0, 0, 100, 40);
  ASSERT_EQ(control->CurrentPPI(), 96);
  TcxControlHelper::ChangeScaleFactor(control.get(), 3, 2);
  EXPECT_EQ(control->CurrentPPI(), 144);
  EXPECT_EQ(control->Width(), 150);
  EXPECT_EQ(control->Factor->Numerator(), 3);
  TcxControlHelper::ChangeScaleFactor(control.get(), 3, 2);
  EXPECT_EQ(control->Width(), 150) << "the current ratio changes nothing";
  TcxControlHelper::ChangeScaleFactor(control.get(), 1, 1);
  EXPECT_EQ(control->CurrentPPI(), 96);
  EXPECT_EQ(control->Width(), 100);

  TOwned<TCustomControl> plain(New<TCustomControl>(nullptr));
  plain->SetBounds(0, 0, 100, 40);
  TcxControlHelper::ChangeScaleFactor(plain.get(), 2, 1);
  EXPECT_EQ(plain->Width(), 100) << "a control without a scale factor is left alone";
}

TEST(cxControlHelper, ALoadingControlTakesTheRatioWithoutScalingItselfButItsChildren) {
  TOwned<TScaledControl> control(New<TScaledControl>(nullptr));
  control->SetBounds(0, 0, 100, 40);
  TCustomControl* child = New<TCustomControl>(control.get());
  child->SetParent(control.get());
  child->SetBounds(0, 0, 30, 10);
  control->IncludeState(csLoading);
  TcxControlHelper::ChangeScaleFactor(control.get(), 2, 1);
  control->ExcludeState(csLoading);
  EXPECT_EQ(control->Factor->Numerator(), 2);
  EXPECT_EQ(control->CurrentPPI(), 192);
  EXPECT_EQ(control->Width(), 100) << "laid out for the new DPI already";
  EXPECT_EQ(child->CurrentPPI(), 192);
  EXPECT_EQ(child->Width(), 60);
}

TEST(cxControlHelper, AControlFollowsTheRatioOfItsNewParent) {
  TOwned<TScaledControl> parent(New<TScaledControl>(nullptr));
  parent->Factor->Assign(5, 4, false);
  TOwned<TScaledControl> control(New<TScaledControl>(nullptr));
  control->SetBounds(0, 0, 80, 40);
  EXPECT_TRUE(TcxControlHelper::CanSetParent(control.get(), parent.get()));
  control->SetParent(parent.get());
  EXPECT_FALSE(TcxControlHelper::CanSetParent(control.get(), parent.get()));
  control->IncludeState(csReading);
  EXPECT_TRUE(TcxControlHelper::CanSetParent(control.get(), parent.get())) << "while read from a stream";
  control->ExcludeState(csReading);
  TcxControlHelper::UpdateScaleFactorOnParentChange(control.get());
  EXPECT_EQ(control->CurrentPPI(), 120);
  EXPECT_EQ(control->Width(), 100);
  EXPECT_EQ(TcxControlHelper::GetCurrentDPIFromControl(control.get()), 120);
  TOwned<TComponent> component(New<TComponent>(nullptr));
  EXPECT_EQ(TcxControlHelper::GetCurrentDPIFromControl(component.get()), GetScreenDpi());
  control->SetParent(nullptr);
}

class TLockedOwner : public TNoRefCount<TCustomControl>, public IdxLockedStateImageOwner {
  SK_CLASS(TLockedOwner, TCustomControl)
 public:
  TOwned<TBitmap> Image;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxLockedStateImageOwner>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TBitmap* GetImage() override { return Image.get(); }
  TWinControl* GetControl() override { return this; }
};

TEST(cxControlHelper, TheLockedStateShowsThePartOfTheSnapshotUnderTheChild) {
  TOwned<TForm> form(NewShownForm(TRect(100, 100, 400, 300)));
  TLockedOwner* owner = New<TLockedOwner>(form.get());
  owner->SetParent(form.get());
  owner->SetBounds(0, 0, 200, 100);
  TCustomControl* child = New<TCustomControl>(form.get());
  child->SetParent(owner);
  child->SetBounds(40, 30, 20, 10);
  TPixelSurface target(20, 10, RGB(255, 255, 255));
  TOwned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(target.DC());
  TOwned<TcxCanvas> cx(New<TcxCanvas>(canvas.get()));
  EXPECT_FALSE(TcxControlHelper::DrawLockedState(cx.get(), owner, child)) << "no snapshot yet";

  owner->Image.reset(New<TBitmap>());
  owner->Image->SetSize(200, 100);
  // Left of x = 50 red, right of it blue.
  TOwnedBrush red(CreateSolidBrush(RGB(255, 0, 0)));
  TOwnedBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
  RECT left{0, 0, 50, 100};
  RECT right{50, 0, 200, 100};
  FillRect(owner->Image->Canvas()->Handle(), &left, red.Get());
  FillRect(owner->Image->Canvas()->Handle(), &right, blue.Get());
  ASSERT_TRUE(TcxControlHelper::DrawLockedState(cx.get(), owner, child));
  EXPECT_EQ(target.Count(TRect(0, 0, 10, 10), RGB(255, 0, 0)), 100) << "x 40..50 of the snapshot";
  EXPECT_EQ(target.Count(TRect(10, 0, 20, 10), RGB(0, 0, 255)), 100);
}

TEST(cxControlHelper, ScalingForADpiReachesComponentsAndControls) {
  TOwned<TScaleRecordingComponent> thing(New<TScaleRecordingComponent>(nullptr));
  TcxControlHelper::ScaleForPPI(thing.get(), 144);
  EXPECT_EQ(thing->Asked, std::vector<int>{144});
  TOwned<TCustomControl> control(New<TCustomControl>(nullptr));
  control->SetBounds(0, 0, 50, 50);
  TcxControlHelper::ScaleForPPI(control.get(), 192);
  EXPECT_EQ(control->Width(), 100);
}

// ---------------------------------------------------------------------------
// Default handling

class TApplicationWindowSpy : public TObject {
  SK_CLASS(TApplicationWindowSpy, TObject)
 public:
  std::vector<std::pair<WPARAM, LPARAM>> Offers;
  LRESULT Answer = 0;
  TcxWindowProcLinkedObject* Node = nullptr;
  void WndProc(TMessage& Message) {
    if (Message.Msg == TcxControlDefaultHandlerHelper::DX_KEYTOAPPLICATION) {
      Offers.push_back({Message.WParam, Message.LParam});
      Message.Result = Answer;
      return;
    }
    Node->DefaultProc(Message);
  }
};

TEST(cxControlDefaultHandlerHelper, KeyDownsAreOfferedToTheApplicationWindow) {
  TOwned<TApplicationWindowSpy> spy(New<TApplicationWindowSpy>());
  spy->Node = WindowProcController()->Add(Application()->Handle(), BindEvent<&TApplicationWindowSpy::WndProc>(spy.get()));
  TScopeExit unhook([&] { WindowProcController()->Remove(spy->Node); });
  TMessage key{WM_KEYDOWN, 'A', 0x1E0001, 0};
  EXPECT_FALSE(TcxControlDefaultHandlerHelper::Process(key)) << "nothing in the program takes it";
  spy->Answer = 1;
  TMessage sysKey{WM_SYSKEYDOWN, VK_F10, 0x20440001, 0};
  EXPECT_TRUE(TcxControlDefaultHandlerHelper::Process(sysKey));
  TMessage character{WM_CHAR, 'a', 0x1E0001, 0};
  EXPECT_FALSE(TcxControlDefaultHandlerHelper::Process(character));
  const std::vector<std::pair<WPARAM, LPARAM>> expected = {{'A', 0x1E0001}, {VK_F10, 0x20440001}};
  EXPECT_EQ(spy->Offers, expected) << "WM_CHAR is not offered";
}

// ---------------------------------------------------------------------------
// Design selector

struct TSelectorFixture : testing::Test {
  TOwned<TForm> Form;
  TCustomControl* Container = nullptr;
  TCustomControl* First = nullptr;
  TCustomControl* Second = nullptr;

  void SetUp() override {
    Form.reset(NewShownForm(TRect(100, 100, 500, 400)));
    Container = New<TCustomControl>(Form.get());
    Container->SetParent(Form.get());
    Container->SetBounds(10, 10, 200, 120);
    Container->IncludeState(csDesigning);
    First = New<TCustomControl>(Form.get());
    First->SetParent(Container);
    First->SetBounds(150, 70, 50, 50);
    Second = New<TCustomControl>(Form.get());
    Second->SetParent(Container);
    Second->SetBounds(0, 0, 40, 40);
  }
};

TEST(dxControlsDesignSelectorHelper, TheSquareSitsInTheBottomRightCornerOfTheDeflatedBounds) {
  EXPECT_EQ(TdxControlsDesignSelectorHelper::CalculateBounds(TRect(0, 0, 200, 100), nullptr),
            TRect(177, 77, 192, 92));
  TOwned<TdxScaleFactor> twice(New<TdxScaleFactor>());
  twice->Assign(2, 1, false);
  EXPECT_EQ(TdxControlsDesignSelectorHelper::CalculateBounds(TRect(0, 0, 200, 100), twice.get()),
            TRect(154, 54, 184, 84));
}

TEST_F(TSelectorFixture, TheSquareIsTransparentToHitTestsAndTheDesigner) {
  const TWndMethod initial = Container->WindowProc();
  auto* selector = New<TdxControlsDesignSelectorHelper>(Container);
  selector->SetSelectorBounds(TdxControlsDesignSelectorHelper::CalculateBounds(Container->ClientRect(), nullptr));
  const TPoint inSquare = Container->ClientToScreen(TPoint(180, 100));
  const TPoint outside = Container->ClientToScreen(TPoint(20, 100));
  EXPECT_EQ(SendMessageW(Container->Handle(), WM_NCHITTEST, 0, PointToLParam(inSquare)), HTTRANSPARENT);
  EXPECT_EQ(SendMessageW(Container->Handle(), WM_NCHITTEST, 0, PointToLParam(outside)), HTCLIENT);
  EXPECT_EQ(Container->Perform(CM_DESIGNHITTEST, 0, PointToLParam(TPoint(180, 100))), 0);
  selector->Free();
  EXPECT_TRUE(Container->WindowProc() == initial) << "the control gets its procedure back";
}

TEST_F(TSelectorFixture, ChildWindowsGetSelectorsThatFollowTheirControls) {
  auto* selector = New<TdxControlsDesignSelectorHelper>(Container);
  selector->SetSelectorBounds(TdxControlsDesignSelectorHelper::CalculateBounds(Container->ClientRect(), nullptr));
  Container->Perform(CM_CONTROLLISTCHANGE, 0, 0);
  ASSERT_EQ(selector->ChildCount(), 2);
  TdxControlsDesignSelectorHelper* firstSelector =
      selector->Children(0)->Control() == First ? selector->Children(0) : selector->Children(1);
  EXPECT_EQ(firstSelector->Parent(), selector);
  // The parent's square in the child's client coordinates.
  EXPECT_EQ(firstSelector->SelectorBounds(), TRect(177 - 150, 97 - 70, 192 - 150, 112 - 70));
  Second->Free();
  EXPECT_EQ(selector->ChildCount(), 1) << "a freed control takes its selector along";
  selector->Free();
}

TEST_F(TSelectorFixture, ThePaintOfTheControlEndsWithTheSelectorGlyphAndItsShadow) {
  auto* selector = New<TdxControlsDesignSelectorHelper>(Container);
  const TRect square = TdxControlsDesignSelectorHelper::CalculateBounds(Container->ClientRect(), nullptr);
  selector->SetSelectorBounds(square);
  TPixelSurface surface(200, 120, RGB(12, 34, 56));
  Container->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_EQ(surface.Pixel(square.Left, square.Top), shadow) << "the glyph's frame";
  EXPECT_EQ(surface.Pixel(square.Left + 7, square.Top + 7), shadow) << "its mark";
  EXPECT_EQ(surface.Pixel(square.Left + 2, square.Top + 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(surface.Pixel(square.Right, square.Bottom), shadow) << "the shadow, one pixel down and right";
  const int glyphs = DesignSelectorGlyphCount();
  EXPECT_GE(glyphs, 1);
  Container->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
  EXPECT_EQ(DesignSelectorGlyphCount(), glyphs) << "the glyph of a size is drawn once";
  selector->Free();
}

}  // namespace
