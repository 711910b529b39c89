// The gesture helper driven by synthetic WM_GESTURENOTIFY and WM_GESTURE
// messages: Wine's gesture functions are stubs, so the tests bind their own
// GetGestureInfo (which reads the information the test prepared for a
// handle) and their own panning-feedback functions.
#include "library/core/system/dxGestures.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxUxTheme.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// The injected system functions

struct TGesturesTestSystem {
  std::map<std::uintptr_t, GESTUREINFO> Infos;
  std::vector<std::uintptr_t> Closed;
  std::vector<std::vector<GESTURECONFIG>> Configs;
  std::vector<std::string> Feedback;
  std::uintptr_t NextHandle = 0x1000;
};
TGesturesTestSystem* GSystem = nullptr;

BOOL WINAPI FakeGetGestureInfo(HGESTUREINFO AHandle, PGESTUREINFO AInfo) {
  const auto found = GSystem->Infos.find(reinterpret_cast<std::uintptr_t>(AHandle));
  if (found == GSystem->Infos.end() || AInfo->cbSize != sizeof(GESTUREINFO)) return FALSE;
  *AInfo = found->second;
  return TRUE;
}
BOOL WINAPI FakeCloseGestureInfoHandle(HGESTUREINFO AHandle) {
  GSystem->Closed.push_back(reinterpret_cast<std::uintptr_t>(AHandle));
  return TRUE;
}
BOOL WINAPI FakeSetGestureConfig(HWND, DWORD, UINT ACount, PGESTURECONFIG AConfigs, UINT ASize) {
  if (ASize != sizeof(GESTURECONFIG)) return FALSE;
  GSystem->Configs.emplace_back(AConfigs, AConfigs + ACount);
  return TRUE;
}
BOOL WINAPI FakeBeginPanningFeedback(HWND) {
  GSystem->Feedback.push_back("begin");
  return TRUE;
}
BOOL WINAPI FakeUpdatePanningFeedback(HWND, LONG AX, LONG AY, BOOL AInertia) {
  GSystem->Feedback.push_back("update " + std::to_string(AX) + "," + std::to_string(AY) + (AInertia ? " inertia" : ""));
  return TRUE;
}
BOOL WINAPI FakeEndPanningFeedback(HWND, BOOL AAnimateBack) {
  GSystem->Feedback.push_back(AAnimateBack ? "end animated" : "end");
  return TRUE;
}

template <class F>
FARPROC AsEntryPoint(F AFunction) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(AFunction));
}

std::string PointText(const TPoint& P) { return std::to_string(P.X) + "," + std::to_string(P.Y); }

// ---------------------------------------------------------------------------
// Controls

// A control without a window that records the gestures it receives and
// takes them.
class TcxGesturesTestChild : public TGraphicControl {
  SK_CLASS(TcxGesturesTestChild, TGraphicControl)
 public:
  static void Publish(TPublisher<TcxGesturesTestChild>& P) { P.Message<&TcxGesturesTestChild::CMGesture>(CM_GESTURE); }
  std::vector<TGestureEventInfo> Events;

 private:
  void CMGesture(TMessage& Message) {
    Events.push_back(*reinterpret_cast<const TGestureEventInfo*>(Message.LParam));
    Message.Result = 1;
  }
};

// The control that owns a helper, as the library's controls do: its window
// procedure offers messages to the helper first, its gesture handling goes
// to the helper, and it is the gesture client itself, a list that scrolls
// between 0 and 100 pixels vertically.
class TcxGesturesTestOwner : public TNoRefCount<TCustomControl>,
                             public IdxGestureOwner,
                             public IdxGestureClient,
                             public IdxGestureClient2,
                             public IdxZoomClient,
                             public IdxRotationClient {
  SK_CLASS(TcxGesturesTestOwner, TCustomControl)
 public:
  static void Publish(TPublisher<TcxGesturesTestOwner>& P) { P.Message<&TcxGesturesTestOwner::CMGesture>(CM_GESTURE); }
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    Helper = New<TdxGestureHelper>(static_cast<IdxGestureOwner*>(this));
  }
  void Destroy() override {
    FreeAndNil(Helper);
    inherited::Destroy();
  }
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxGestureOwner, IdxGestureClient, IdxGestureClient2, IdxZoomClient, IdxRotationClient>(
               this, AIID, AObj) ||
           inherited::GetInterface(AIID, AObj);
  }
  void WndProc(TMessage& Message) override {
    if (Helper && Helper->HandleMessage(Message)) return;
    inherited::WndProc(Message);
  }

  // IdxGestureOwner
  HWND GestureWindowHandle() override { return Handle(); }
  IPtr<IInterface> GetGestureClient(const TPoint&) override {
    return HasClient ? IPtr<IInterface>(static_cast<IdxGestureClient*>(this)) : nullptr;
  }
  bool IsGestureTarget(HWND AWindow) override { return AWindow == Handle(); }
  TPoint GestureScreenToClient(const TPoint& APoint) override { return ScreenToClient(APoint); }

  // IdxGestureClient: a list scrolled between 0 and 100 in each direction.
  void BeginGestureScroll(const TPoint& APoint) override { Log.push_back("begin " + PointText(APoint)); }
  void GestureScroll(int ADeltaX, int ADeltaY) override {
    Log.push_back("scroll " + std::to_string(ADeltaX) + "," + std::to_string(ADeltaY));
    const auto scroll = [&](int& APosition, int ADelta, TScrollBarKind AKind) {
      if (ADelta == 0) return;
      const int wanted = APosition - ADelta;
      APosition = std::clamp(wanted, 0, 100);
      Helper->CheckOverpan(AKind, wanted, 0, 100, ADeltaX, ADeltaY);
    };
    scroll(Position, ADeltaY, sbVertical);
    scroll(PositionX, ADeltaX, sbHorizontal);
  }
  void EndGestureScroll() override { Log.push_back("end"); }
  bool IsGestureEnabled(DWORD) override { return true; }
  bool AllowsPan(TScrollBarKind AScrollKind) override { return AScrollKind == sbHorizontal ? PanHorizontal : PanVertical; }
  bool IsPanArea(const TPoint&) override { return PanArea; }
  bool WantsPanFeedback(TScrollBarKind) override { return Feedback; }
  bool IsPanning() override { return Helper->IsPanning(); }
  // IdxGestureClient2
  bool IsPanMirrored() override { return Mirrored; }
  // IdxZoomClient, IdxRotationClient
  void Zoom(int ADelta, bool& AHandled) override {
    Log.push_back("zoom " + std::to_string(ADelta));
    AHandled = true;
  }
  void Rotate(double AAngle, bool& AHandled) override {
    Log.push_back("rotate " + std::to_string(static_cast<int>(AAngle * 1000)));
    AHandled = true;
  }

  TdxGestureHelper* Helper;
  std::vector<std::string> Log;
  std::vector<TGestureEventInfo> Events;
  bool HasClient = true;
  bool PanArea = true;
  bool PanHorizontal = true;
  bool PanVertical = true;
  bool Feedback = true;
  bool Mirrored = false;
  int Position = 0;
  int PositionX = 0;

 private:
  void CMGesture(TMessage& Message) {
    const auto& event = *reinterpret_cast<const TGestureEventInfo*>(Message.LParam);
    Events.push_back(event);
    bool handled = false;
    Helper->DoGesture(event, handled);
    Message.Result = handled ? 1 : 0;
  }
};

// ---------------------------------------------------------------------------
// Fixture: a form with the owner (10, 10, 300 x 200) and a child
// (20, 20, 100 x 50) in it; gestures arrive at screen points.

class Gestures : public testing::Test {
 protected:
  void SetUp() override {
    GSystem = &FSystem;
    FOldApi = dxGestureApi();
    TdxGestureApi api;
    api.GetGestureInfo = &FakeGetGestureInfo;
    api.CloseGestureInfoHandle = &FakeCloseGestureInfoHandle;
    api.SetGestureConfig = &FakeSetGestureConfig;
    dxSetGestureApi(api);
    FOldUxTheme = dxUxThemeBinding();
    TdxUxThemeBinding uxtheme = FOldUxTheme;
    uxtheme.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::BeginPanningFeedback)] =
        AsEntryPoint(&FakeBeginPanningFeedback);
    uxtheme.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::UpdatePanningFeedback)] =
        AsEntryPoint(&FakeUpdatePanningFeedback);
    uxtheme.EntryPoints[static_cast<std::size_t>(TdxUxThemeEntry::EndPanningFeedback)] =
        AsEntryPoint(&FakeEndPanningFeedback);
    dxSetUxThemeBinding(uxtheme);
    FOldConversion = dxGesturePanPointConversion();
    dxSetGesturePanPointConversion(false);

    Form.reset(New<TForm>(nullptr));
    Form->SetBounds(50, 50, 400, 300);
    Owner = New<TcxGesturesTestOwner>(Form.get());
    Owner->SetParent(Form.get());
    Owner->SetBounds(10, 10, 300, 200);
    Child = New<TcxGesturesTestChild>(Form.get());
    Child->SetParent(Owner);
    Child->SetBounds(20, 20, 100, 50);
    Owner->HandleNeeded();
  }
  void TearDown() override {
    Form.reset();
    dxSetGestureApi(FOldApi);
    dxSetUxThemeBinding(FOldUxTheme);
    dxSetGesturePanPointConversion(FOldConversion);
    GSystem = nullptr;
  }

  TPoint Screen(int X, int Y) { return Owner->ClientToScreen(TPoint(X, Y)); }

  void Notify(int X, int Y) {
    GESTURENOTIFYSTRUCT notify{};
    notify.cbSize = sizeof notify;
    notify.hwndTarget = Owner->Handle();
    const TPoint p = Screen(X, Y);
    notify.ptsLocation = {static_cast<SHORT>(p.X), static_cast<SHORT>(p.Y)};
    SendMessageW(Owner->Handle(), WM_GESTURENOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
  }

  // The handle of prepared gesture information.
  HGESTUREINFO Prepare(DWORD AId, DWORD AFlags, int X, int Y, ULONGLONG AArguments) {
    GESTUREINFO info{};
    info.cbSize = sizeof info;
    info.dwFlags = AFlags;
    info.dwID = AId;
    info.hwndTarget = Owner->Handle();
    const TPoint p = Screen(X, Y);
    info.ptsLocation = {static_cast<SHORT>(p.X), static_cast<SHORT>(p.Y)};
    info.ullArguments = AArguments;
    const std::uintptr_t handle = FSystem.NextHandle++;
    FSystem.Infos[handle] = info;
    return reinterpret_cast<HGESTUREINFO>(handle);
  }

  LRESULT Gesture(DWORD AId, DWORD AFlags, int X, int Y, ULONGLONG AArguments = 0) {
    return SendMessageW(Owner->Handle(), WM_GESTURE, AId, reinterpret_cast<LPARAM>(Prepare(AId, AFlags, X, Y, AArguments)));
  }

  void Configure(bool AHasClient = true) {
    Owner->HasClient = AHasClient;
    TInteractiveGestures gestures{igPan};
    TInteractiveGestureOptions options{igoPanSingleFingerHorizontal, igoPanSingleFingerVertical};
    Owner->Helper->CheckGestureOptions(gestures, options);
  }

  TGesturesTestSystem FSystem;
  TOwned<TForm> Form;
  TcxGesturesTestOwner* Owner = nullptr;
  TcxGesturesTestChild* Child = nullptr;

 private:
  TdxGestureApi FOldApi;
  TdxUxThemeBinding FOldUxTheme;
  bool FOldConversion = false;
};

// ---------------------------------------------------------------------------
// Routines

TEST(GestureRoutines, Conversions) {
  const std::pair<DWORD, TInteractiveGesture> kinds[] = {
      {GID_ZOOM, igZoom}, {GID_PAN, igPan}, {GID_ROTATE, igRotate}, {GID_TWOFINGERTAP, igTwoFingerTap},
      {GID_PRESSANDTAP, igPressAndTap}, {GID_BEGIN, igPressAndTap}, {99, igPressAndTap}};
  for (const auto& [id, kind] : kinds) {
    SCOPED_TRACE(id);
    EXPECT_EQ(GestureIdToGestureKind(id), kind);
  }
  EXPECT_EQ(PanOptionToGestureOption(2), igoPanSingleFingerVertical);
  EXPECT_EQ(PanOptionToGestureOption(4), igoPanSingleFingerHorizontal);
  EXPECT_EQ(PanOptionToGestureOption(8), igoPanGutter);
  EXPECT_EQ(PanOptionToGestureOption(1), igoPanInertia);
  EXPECT_EQ(PanOptionsToGestureOptions(2 | 8), (TInteractiveGestureOptions{igoPanSingleFingerVertical, igoPanGutter}));
  EXPECT_EQ(PanOptionsToGestureOptions(31), (TInteractiveGestureOptions{igoPanSingleFingerVertical, igoPanSingleFingerHorizontal,
                                                                         igoPanGutter, igoPanInertia}));
  EXPECT_EQ(GestureOptionsToPanOptions({igoPanSingleFingerHorizontal, igoPanInertia, igoParentPassthrough}), 4u | 16u);
  EXPECT_EQ(GestureOptionsToPanOptions({igoPanSingleFingerVertical, igoPanGutter}), 2u | 8u);
}

TEST_F(Gestures, ConfigurationWithAndWithoutSetGestureConfig) {
  struct TCase {
    const char* Name;
    bool Bound;
  };
  for (const TCase& c : {TCase{"bound", true}, TCase{"a system without SetGestureConfig", false}}) {
    SCOPED_TRACE(c.Name);
    TdxGestureApi api = dxGestureApi();
    api.SetGestureConfig = c.Bound ? &FakeSetGestureConfig : nullptr;
    dxSetGestureApi(api);
    FSystem.Configs.clear();
    EXPECT_EQ(ApplyGestureConfig(Owner->Handle(), {{GID_PAN, 1, 0}, {GID_ZOOM, 1, 0}}), c.Bound);
    TMessage message;
    DisableAllGestures(Owner->Handle(), message);
    EXPECT_EQ(message.Result, 1);
    ASSERT_EQ(FSystem.Configs.size(), c.Bound ? 2u : 0u);
    if (c.Bound) {
      EXPECT_EQ(FSystem.Configs[0].size(), 2u);
      EXPECT_EQ(FSystem.Configs[0][1].dwID, static_cast<DWORD>(GID_ZOOM));
      ASSERT_EQ(FSystem.Configs[1].size(), 1u);
      EXPECT_EQ(FSystem.Configs[1][0].dwID, 0u);
      EXPECT_EQ(FSystem.Configs[1][0].dwWant, 0u);
      EXPECT_EQ(FSystem.Configs[1][0].dwBlock, 1u);
    }
  }
}

TEST_F(Gestures, ConfiguredGesturesLimitedToTheClient) {
  struct TCase {
    const char* Name;
    bool HasClient, PanArea, Horizontal, Vertical;
    bool PanStays;
    TInteractiveGestureOptions Options;
  };
  const TInteractiveGestureOptions both{igoPanSingleFingerHorizontal, igoPanSingleFingerVertical, igoPanInertia};
  const std::vector<TCase> cases = {
      {"client allows both", true, true, true, true, true, both},
      {"outside the pan area", true, false, true, true, false, {igoPanInertia}},
      {"vertical only", true, true, false, true, true, {igoPanSingleFingerVertical, igoPanInertia}},
      {"neither direction", true, true, false, false, false, {igoPanInertia}},
      {"no client under the point", false, true, true, true, false, {igoPanInertia}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Owner->HasClient = c.HasClient;
    Owner->PanArea = c.PanArea;
    Owner->PanHorizontal = c.Horizontal;
    Owner->PanVertical = c.Vertical;
    TInteractiveGestures gestures{igPan, igZoom};
    TInteractiveGestureOptions options = both;
    Notify(200, 150);
    Owner->Helper->CheckGestureOptions(gestures, options);
    EXPECT_EQ(gestures.Contains(igPan), c.PanStays);
    EXPECT_TRUE(gestures.Contains(igZoom));
    EXPECT_EQ(options, c.Options);
  }
  // Without pan among the gestures the options stay as they are.
  Owner->PanArea = false;
  TInteractiveGestures gestures{igZoom};
  TInteractiveGestureOptions options = both;
  Owner->Helper->CheckGestureOptions(gestures, options);
  EXPECT_EQ(options, both);
}

TEST_F(Gestures, TargetFoundUpThroughParents) {
  struct TCase {
    const char* Name;
    TPoint At;
    TInteractiveGestures ChildGestures;
    TInteractiveGestureOptions ChildOptions;
    bool ToChild;
  };
  const std::vector<TCase> cases = {
      {"child takes pan", {30, 30}, {igPan}, {igoParentPassthrough}, true},
      {"child lets pan through to its parent", {30, 30}, {igZoom}, {igoParentPassthrough}, false},
      {"child without pass-through keeps it", {30, 30}, {igZoom}, {}, true},
      {"no child under the finger", {200, 150}, {igPan}, {igoParentPassthrough}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Child->Touch().SetInteractiveGestures(c.ChildGestures);
    Child->Touch().SetInteractiveGestureOptions(c.ChildOptions);
    Child->Events.clear();
    Owner->Events.clear();
    Notify(c.At.X, c.At.Y);
    Configure();
    EXPECT_EQ(Gesture(GID_PAN, GF_BEGIN, c.At.X, c.At.Y), 1);
    EXPECT_EQ(Gesture(GID_PAN, GF_END, c.At.X + 5, c.At.Y), 1);
    const std::vector<TGestureEventInfo>& events = c.ToChild ? Child->Events : Owner->Events;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ((c.ToChild ? Owner->Events : Child->Events).size(), 0u);
    EXPECT_EQ(events[0].GestureID, igiPan);
    EXPECT_EQ(events[0].Flags, TInteractiveGestureFlags{gfBegin});
    EXPECT_EQ(events[1].Flags, TInteractiveGestureFlags{gfEnd});
    // The location in the receiver's client coordinates.
    const TPoint origin = c.ToChild ? TPoint(20, 20) : TPoint();
    EXPECT_EQ(PointText(events[0].Location), PointText(c.At - origin));
  }
}

TEST_F(Gestures, NothingOutsideTheClientAreaOrAfterTheEnd) {
  Notify(350, 150);  // beyond the owner's 300 pixels
  Configure();
  EXPECT_EQ(Gesture(GID_PAN, GF_BEGIN, 350, 150), 0);  // DefWindowProcW's answer
  EXPECT_TRUE(Owner->Events.empty());

  Notify(200, 150);
  Configure();
  Gesture(GID_PAN, GF_BEGIN, 200, 150);
  Gesture(GID_PAN, GF_END, 210, 150);
  EXPECT_EQ(Owner->Events.size(), 2u);
  // The gesture has ended: a stray step reaches nobody.
  EXPECT_EQ(Gesture(GID_PAN, 0, 220, 150), 0);
  EXPECT_EQ(Owner->Events.size(), 2u);
  // The bare begin and end of a gesture sequence are not passed on either.
  Gesture(GID_BEGIN, GF_BEGIN, 200, 150);
  Gesture(GID_END, GF_END, 200, 150);
  EXPECT_EQ(Owner->Events.size(), 2u);
}

TEST_F(Gestures, UnreadableInformationIsHandledAndClosed) {
  const auto unknown = reinterpret_cast<HGESTUREINFO>(std::uintptr_t{0x77});
  TMessage message{WM_GESTURE, GID_PAN, reinterpret_cast<LPARAM>(unknown), 0};
  EXPECT_TRUE(Owner->Helper->HandleMessage(message));
  EXPECT_EQ(message.Result, 0);
  EXPECT_TRUE(Owner->Events.empty());
  EXPECT_EQ(FSystem.Closed, std::vector<std::uintptr_t>{0x77});
  // Read or not, every handle is closed.
  Notify(200, 150);
  Configure();
  const HGESTUREINFO handle = Prepare(GID_PAN, GF_BEGIN, 200, 150, 0);
  SendMessageW(Owner->Handle(), WM_GESTURE, GID_PAN, reinterpret_cast<LPARAM>(handle));
  EXPECT_EQ(FSystem.Closed.back(), reinterpret_cast<std::uintptr_t>(handle));
  // The other messages: the notification and WM_DESTROY go on to the control.
  TMessage other{WM_GESTURENOTIFY, 0, 0, 0};
  EXPECT_FALSE(Owner->Helper->HandleMessage(other));
  TMessage paint{WM_PAINT, 0, 0, 0};
  EXPECT_FALSE(Owner->Helper->HandleMessage(paint));
}

TEST_F(Gestures, OverpanTakenBackBeforeScrolling) {
  Notify(200, 100);
  Configure();
  Gesture(GID_PAN, GF_BEGIN, 200, 100);
  EXPECT_TRUE(Owner->Helper->IsPanning());
  // 30 pixels down at the top of the list: nothing to scroll, all over-pan.
  Gesture(GID_PAN, 0, 200, 130);
  EXPECT_EQ(PointText(Owner->Helper->OverPan()), "0,30");
  // 50 back up: 30 return the over-pan, only 20 scroll.
  Gesture(GID_PAN, 0, 200, 80);
  EXPECT_EQ(PointText(Owner->Helper->OverPan()), "0,0");
  EXPECT_EQ(Owner->Position, 20);
  Gesture(GID_PAN, GF_END, 200, 80);
  EXPECT_FALSE(Owner->Helper->IsPanning());
  EXPECT_EQ(Owner->Log, (std::vector<std::string>{"begin 200,100", "scroll 0,30", "scroll 0,-20", "scroll 0,0", "end"}));
  EXPECT_EQ(FSystem.Feedback, (std::vector<std::string>{"begin", "update 0,30", "update 0,0", "end animated"}));
}

TEST_F(Gestures, MirroredClientsScrollTheOtherWay) {
  Owner->Mirrored = true;
  Owner->Feedback = false;
  Notify(100, 100);
  Configure();
  Gesture(GID_PAN, GF_BEGIN, 100, 100);
  Gesture(GID_PAN, GF_INERTIA, 120, 90);
  EXPECT_TRUE(Owner->Helper->IsInertia());
  Gesture(GID_PAN, GF_END, 120, 90);
  EXPECT_EQ(Owner->Log, (std::vector<std::string>{"begin 100,100", "scroll -20,-10", "scroll 0,0", "end"}));
  EXPECT_TRUE(FSystem.Feedback.empty());  // the client wants none
}

TEST_F(Gestures, MirroredOverPanIsShownInTheFingersDirection) {
  Owner->Mirrored = true;
  Notify(100, 100);
  Configure();
  Gesture(GID_PAN, GF_BEGIN, 100, 100);
  // 20 to the left: the mirrored list is asked to scroll 20 the other way,
  // past its start; the window bounces the way the finger went.
  Gesture(GID_PAN, 0, 80, 100);
  EXPECT_EQ(PointText(Owner->Helper->OverPan()), "-20,0");
  // 30 back to the right: 20 take the bounce back, 10 scroll.
  Gesture(GID_PAN, 0, 110, 100);
  EXPECT_EQ(PointText(Owner->Helper->OverPan()), "0,0");
  EXPECT_EQ(Owner->PositionX, 10);
  Gesture(GID_PAN, GF_END, 110, 100);
  EXPECT_EQ(Owner->Log, (std::vector<std::string>{"begin 100,100", "scroll 20,0", "scroll -10,0", "scroll 0,0", "end"}));
  EXPECT_EQ(FSystem.Feedback, (std::vector<std::string>{"begin", "update -20,0", "update 0,0", "end animated"}));
}

TEST_F(Gestures, PanPointsComeFromTheDesktopScaleToTheSystemScale) {
  // A desktop laid out at 144 DPI on a system at 96: the gesture reports
  // locations at one and a half times their size.
  ASSERT_TRUE(DesktopScaleFactor() && SystemScaleFactor());
  ASSERT_EQ(SystemScaleFactor()->Numerator(), SystemScaleFactor()->Denominator());
  DesktopScaleFactor()->Assign(3, 2, false);
  dxSetGesturePanPointConversion(true);
  Notify(150, 90);
  Configure();
  Gesture(GID_PAN, GF_BEGIN, 150, 90);
  Gesture(GID_PAN, 0, 150, 120);
  Gesture(GID_PAN, GF_END, 150, 120);
  DesktopScaleFactor()->Update();
  EXPECT_EQ(Owner->Log, (std::vector<std::string>{"begin 100,60", "scroll 0,20", "scroll 0,0", "end"}));
}

TEST_F(Gestures, DestroyEndsAPan) {
  Notify(100, 100);
  Configure();
  Gesture(GID_PAN, GF_BEGIN, 100, 100);
  TMessage destroy{WM_DESTROY, 0, 0, 0};
  EXPECT_FALSE(Owner->Helper->HandleMessage(destroy));
  EXPECT_FALSE(Owner->Helper->IsPanning());
  EXPECT_EQ(Owner->Log.back(), "end");
}

TEST_F(Gestures, ZoomRotateAndPressAndTap) {
  Owner->Touch().SetInteractiveGestures({igPan, igZoom, igRotate});
  Child->Touch().SetInteractiveGestures({igPressAndTap});
  Notify(100, 100);
  Configure();
  EXPECT_EQ(Gesture(GID_ZOOM, GF_BEGIN, 100, 100, 100), 1);
  EXPECT_EQ(Gesture(GID_ZOOM, 0, 100, 100, 130), 1);
  EXPECT_EQ(Gesture(GID_ZOOM, GF_END, 100, 100, 125), 1);
  const ULONGLONG quarterTurn = GID_ROTATE_ANGLE_TO_ARGUMENT(3.14159265 / 2);
  EXPECT_EQ(Gesture(GID_ROTATE, GF_BEGIN | GF_END, 100, 100, quarterTurn), 1);
  ASSERT_EQ(Owner->Events.size(), 4u);
  EXPECT_EQ(Owner->Events[1].Distance, 130);
  EXPECT_NEAR(Owner->Events[3].Angle, 3.14159265 / 2, 1e-3);
  ASSERT_EQ(Owner->Log.size(), 4u);
  EXPECT_EQ(Owner->Log[0], "zoom 0");
  EXPECT_EQ(Owner->Log[1], "zoom 30");
  EXPECT_EQ(Owner->Log[2], "zoom -5");
  EXPECT_NEAR(std::stoi(Owner->Log[3].substr(7)), 1570, 2);

  // A tap beside a press on the child: both in the child's coordinates.
  Notify(30, 30);
  Configure();
  const ULONGLONG offset = static_cast<ULONGLONG>(static_cast<WORD>(static_cast<SHORT>(-4))) | (ULONGLONG{6} << 16);
  EXPECT_EQ(Gesture(GID_PRESSANDTAP, GF_BEGIN | GF_END, 30, 30, offset), 1);
  ASSERT_EQ(Child->Events.size(), 1u);
  EXPECT_EQ(Child->Events[0].GestureID, igiPressAndTap);
  EXPECT_EQ(PointText(Child->Events[0].Location), "10,10");
  EXPECT_EQ(Child->Events[0].TapLocation, (TSmallPoint{6, 16}));
}

TEST_F(Gestures, AFreedTouchControlIsForgotten) {
  Notify(30, 30);
  Configure();
  Gesture(GID_PAN, GF_BEGIN, 30, 30);
  FreeAndNil(Child);
  EXPECT_EQ(Gesture(GID_PAN, 0, 40, 30), 0);
  EXPECT_TRUE(Owner->Events.empty());
}

}  // namespace
