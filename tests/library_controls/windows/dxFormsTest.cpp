#include "library/controls/windows/dxForms.h"

#include "library/controls/control/cxControls.h"
#include "library/controls/windows/cxDWMApi.h"
#include "library/core/base/cxClasses.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include "tests/library_controls/ScalableRecorder.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// The messages of the scaling bracket, as each control hears them.
std::vector<std::string>* GLog = nullptr;

void LogMessage(const TControl* AControl, const TMessage& Message) {
  if (!GLog) return;
  const std::string name(AControl->Name().begin(), AControl->Name().end());
  switch (Message.Msg) {
    case DXM_SCALECHANGING:
      GLog->push_back(name + " begin");
      break;
    case DXM_SCALECHANGED:
      GLog->push_back(name + " end");
      break;
    case WM_SETREDRAW:
      GLog->push_back(name + (Message.WParam ? " redraw on" : " redraw off"));
      break;
    default:
      break;
  }
}

class TSpyForm : public TdxCustomForm {
  SK_CLASS(TSpyForm, TdxCustomForm)
 public:
  bool AppliedDuringShow = false;
  void MirrorOnShow(TObject*) {
    SetRightToLeftLayout(bTrue);
    AppliedDuringShow = RightToLeftApplied();
  }
  void WndProc(TMessage& Message) override {
    LogMessage(this, Message);
    inherited::WndProc(Message);
  }
};

class TSpyPanel : public TCustomControl {
  SK_CLASS(TSpyPanel, TCustomControl)
 public:
  bool FailScaling = false;
  TControl* FreeWhenScaled = nullptr;
  void WndProc(TMessage& Message) override {
    LogMessage(this, Message);
    inherited::WndProc(Message);
  }
  void ChangeScale(int M, int D, bool AIsDpiChange) override {
    if (FailScaling) throw std::runtime_error("scaling failed");
    if (FreeWhenScaled) std::exchange(FreeWhenScaled, nullptr)->Free();
    inherited::ChangeScale(M, D, AIsDpiChange);
  }
};

TSpyForm* NewSpyForm(const TRect& AScreenBounds, bool AShow) {
  TSpyForm* form = NewWith<TSpyForm>([](TSpyForm* f) { f->CreateNew(nullptr); });
  form->SetName(L"form");
  form->SetBoundsRect(AScreenBounds);
  if (AShow) form->Show();
  form->HandleNeeded();
  return form;
}

TSpyPanel* NewPanel(TWinControl* AParent, const wchar_t* AName, const TRect& ABounds) {
  auto* panel = New<TSpyPanel>(AParent->Owner() ? AParent->Owner() : AParent);
  panel->SetName(AName);
  panel->SetParent(AParent);
  panel->SetBoundsRect(ABounds);
  return panel;
}

TSize WindowSize(HWND AWnd) {
  RECT r{};
  GetWindowRect(AWnd, &r);
  return TSize(r.right - r.left, r.bottom - r.top);
}

TSize ClientSize(HWND AWnd) {
  RECT r{};
  GetClientRect(AWnd, &r);
  return TSize(r.right, r.bottom);
}

// A form with a 400 × 300 client area at 96 DPI.
struct TFormFixture : testing::Test {
  TOwned<TSpyForm> Form;
  TSize Extent;
  std::vector<std::string> Log;

  void MakeForm(bool AShow) {
    Form.reset(NewSpyForm(TRect(40, 40, 440, 340), AShow));
    Form->SetClientWidth(400);
    Form->SetClientHeight(300);
    ASSERT_EQ(ClientSize(Form->Handle()), TSize(400, 300));
    const TSize window = WindowSize(Form->Handle());
    Extent = TSize(window.cx - 400, window.cy - 300);
    ASSERT_EQ(Form->CurrentPPI(), 96);
  }
  void SetUp() override { GLog = &Log; }
  void TearDown() override {
    GLog = nullptr;
    Form.reset();
    EXPECT_EQ(TdxFormHelper::ScaleChangeCount(), 0);
  }
};

TEST_F(TFormFixture, ScalingToAnotherDpiScalesTheClientAreaAndKeepsTheExtentAndCorner) {
  MakeForm(false);
  TSpyPanel* child = NewPanel(Form.get(), L"child", TRect(10, 20, 110, 70));
  SCOPED_TRACE("extent " + std::to_string(Extent.cx) + " x " + std::to_string(Extent.cy));
  const TPoint corner = Form->BoundsRect().TopLeft();

  Form->ScaleForPPI(144);

  EXPECT_EQ(ClientSize(Form->Handle()), TSize(600, 450));
  EXPECT_EQ(WindowSize(Form->Handle()), TSize(600 + Extent.cx, 450 + Extent.cy));
  EXPECT_EQ(Form->BoundsRect().TopLeft(), corner);
  EXPECT_EQ(child->BoundsRect(), TRect(15, 30, 165, 105));
  EXPECT_EQ(Form->PixelsPerInch(), 144);
  EXPECT_EQ(Form->CurrentPPI(), 144);
  EXPECT_EQ(Form->ScaleFactor()->Apply(96), 144);
}

TEST_F(TFormFixture, TheSuggestedRectangleOfADpiMessageIsAppliedAsGiven) {
  MakeForm(true);
  TSpyPanel* child = NewPanel(Form.get(), L"child", TRect(10, 20, 110, 70));
  RECT suggested{70, 80, 70 + 517, 80 + 401};

  SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));

  RECT window{};
  GetWindowRect(Form->Handle(), &window);
  EXPECT_EQ(TRect(window), TRect(suggested));
  EXPECT_EQ(Form->PixelsPerInch(), 120);
  // 10 × 1.25 = 12.5 rounds away from zero.
  EXPECT_EQ(child->BoundsRect(), TRect(13, 25, 138, 88));
}

TEST_F(TFormFixture, AMaximisedFormKeepsItsBoundsAndGetsAScaledRestoreRectangle) {
  MakeForm(true);
  WINDOWPLACEMENT before{};
  before.length = sizeof(before);
  ShowWindow(Form->Handle(), SW_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(Form->Handle()));
  ASSERT_TRUE(GetWindowPlacement(Form->Handle(), &before));
  RECT maximised{};
  GetWindowRect(Form->Handle(), &maximised);

  Form->ScaleForPPI(144);

  RECT after{};
  GetWindowRect(Form->Handle(), &after);
  EXPECT_EQ(TRect(after), TRect(maximised));
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  ASSERT_TRUE(GetWindowPlacement(Form->Handle(), &placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  const TRect normal(placement.rcNormalPosition);
  EXPECT_EQ(normal.TopLeft(), TRect(before.rcNormalPosition).TopLeft());
  EXPECT_EQ(normal.GetSize(), TSize(600 + Extent.cx, 450 + Extent.cy));
  // Restored, the window has the scaled client area.
  ShowWindow(Form->Handle(), SW_RESTORE);
  EXPECT_EQ(ClientSize(Form->Handle()), TSize(600, 450));
}

TEST_F(TFormFixture, DpisOutsideTheScalingRangeChangeNothing) {
  MakeForm(true);
  const TSize window = WindowSize(Form->Handle());
  for (const int dpi : {500, 481, 29, 0}) {
    SCOPED_TRACE(dpi);
    Form->ScaleForPPI(dpi);
    RECT suggested{0, 0, 900, 900};
    SendMessageW(Form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(WindowSize(Form->Handle()), window);
    EXPECT_EQ(Form->PixelsPerInch(), 96);
    EXPECT_FALSE(Form->ScaleFactor()->Assigned());
  }
  EXPECT_TRUE(Log.empty());
}

TEST_F(TFormFixture, EveryControlHearsTheBracketInOrderAndInReverseAroundTheRedrawLock) {
  MakeForm(true);
  TSpyPanel* a = NewPanel(Form.get(), L"a", TRect(0, 0, 100, 100));
  NewPanel(a, L"a1", TRect(0, 0, 50, 50));
  NewPanel(Form.get(), L"b", TRect(100, 0, 200, 100));
  Log.clear();

  Form->ScaleForPPI(144);

  const std::vector<std::string> expected = {"form begin", "a begin",     "a1 begin", "b begin", "form redraw off",
                                             "form redraw on", "b end", "a1 end",    "a end",   "form end"};
  EXPECT_EQ(Log, expected);
  EXPECT_TRUE(GetWindowLongPtrW(Form->Handle(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(TFormFixture, AnExceptionWhileScalingStillClosesTheBracket) {
  MakeForm(true);
  TSpyPanel* a = NewPanel(Form.get(), L"a", TRect(0, 0, 100, 100));
  a->FailScaling = true;
  Log.clear();

  EXPECT_THROW(Form->ScaleForPPI(144), std::runtime_error);

  const std::vector<std::string> expected = {"form begin", "a begin", "form redraw off", "form redraw on", "a end",
                                             "form end"};
  EXPECT_EQ(Log, expected);
  EXPECT_EQ(TdxFormHelper::ScaleChangeCount(), 0);
  EXPECT_TRUE(GetWindowLongPtrW(Form->Handle(), GWL_STYLE) & WS_VISIBLE);
  // The form is not left in a scale change: the next request runs.
  a->FailScaling = false;
  Form->ScaleForPPI(144);
  EXPECT_EQ(Form->PixelsPerInch(), 144);
}

TEST_F(TFormFixture, AControlFreedWhileTheFormScalesHearsNoEnd) {
  MakeForm(true);
  TSpyPanel* a = NewPanel(Form.get(), L"a", TRect(0, 0, 100, 100));
  a->FreeWhenScaled = NewPanel(Form.get(), L"b", TRect(100, 0, 200, 100));
  Log.clear();

  Form->ScaleForPPI(144);

  const std::vector<std::string> expected = {"form begin",     "a begin", "b begin", "form redraw off",
                                             "form redraw on", "a end",   "form end"};
  EXPECT_EQ(Log, expected);
  EXPECT_EQ(Form->PixelsPerInch(), 144);
}

TEST_F(TFormFixture, AnInvisibleFormScalesWithoutTheRedrawLock) {
  MakeForm(false);
  Form->ScaleForPPI(192);
  const std::vector<std::string> expected = {"form begin", "form end"};
  EXPECT_EQ(Log, expected);
  EXPECT_EQ(ClientSize(Form->Handle()), TSize(800, 600));
}

// The system metrics of a DPI, straight from user32.
int SystemMetricForDpi(int AIndex, UINT ADpi) {
  using TProc = int(WINAPI*)(int, UINT);
  const auto proc = reinterpret_cast<TProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  return proc ? proc(AIndex, ADpi) : -1;
}

TEST_F(TFormFixture, ChildrenMeasureWithTheSystemMetricsOfTheNewDpi) {
  MakeForm(false);
  auto* child = New<TcxControl>(Form.get());
  child->SetParent(Form.get());
  Form->ScaleForPPI(144);
  for (const int metric : {SM_CXVSCROLL, SM_CYHSCROLL, SM_CXSMICON, SM_CYMENU}) {
    SCOPED_TRACE(metric);
    const int expected = SystemMetricForDpi(metric, 144);
    ASSERT_GT(expected, 0);
    EXPECT_EQ(GetSystemMetricsForScaleFactor(metric, child->ScaleFactor()), expected);
  }
}

TEST_F(TFormFixture, ScalableComponentsOfTheFormAreToldTheNewDpi) {
  MakeForm(false);
  auto* thing = New<TScaleRecordingComponent>(Form.get());
  Form->ScaleForPPI(168);
  EXPECT_EQ(thing->Asked, std::vector<int>{168});
}

TEST_F(TFormFixture, ScaleByRunsTheWholeProcedureLikeTheDpiItNames) {
  MakeForm(false);
  TSpyPanel* child = NewPanel(Form.get(), L"child", TRect(10, 20, 110, 70));
  const TPoint corner = Form->BoundsRect().TopLeft();

  Form->ScaleBy(3, 2);

  EXPECT_EQ(ClientSize(Form->Handle()), TSize(600, 450));
  EXPECT_EQ(Form->BoundsRect().TopLeft(), corner);
  EXPECT_EQ(child->BoundsRect(), TRect(15, 30, 165, 105));
  EXPECT_EQ(Form->PixelsPerInch(), 144);
  EXPECT_EQ(Form->ScaleFactor()->Apply(96), 144);
  EXPECT_EQ(Log, (std::vector<std::string>{"form begin", "child begin", "child end", "form end"}));
  // A factor leading outside the scaling range changes nothing.
  Form->ScaleBy(4, 1);
  EXPECT_EQ(Form->PixelsPerInch(), 144);
}

TEST_F(TFormFixture, ComponentsOfAPlainFormHearADpiChangeInsideTheScalingRange) {
  TOwned<TForm> plain(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
  auto* thing = New<TScaleRecordingComponent>(plain.get());
  plain->ScaleForPPI(120);
  plain->ScaleForPPI(500);
  plain->ScaleForPPI(96);
  EXPECT_EQ(thing->Asked, (std::vector<int>{120, 96}));
}

class TLoadingComponent : public TComponent {
  SK_CLASS(TLoadingComponent, TComponent)
 public:
  void BeginLoading() { IncludeState(csLoading); }
};

TEST(dxFormHelper, ScalingFlagsAreResetUnlessAComponentLoadsAtAnEqualRatioOtherThanOne) {
  TOwned<TComponent> idle(New<TComponent>(nullptr));
  TOwned<TLoadingComponent> loading(New<TLoadingComponent>(nullptr));
  loading->BeginLoading();
  struct TRow {
    TComponent* Component;
    int M, D;
    bool Expected;
  };
  for (const TRow& row : {TRow{loading.get(), 2, 2, false}, TRow{loading.get(), 1, 1, true},
                          TRow{loading.get(), 3, 2, true}, TRow{idle.get(), 2, 2, true},
                          TRow{idle.get(), 3, 2, true}}) {
    SCOPED_TRACE(std::to_string(row.M) + "/" + std::to_string(row.D) +
                 (row.Component == loading.get() ? " loading" : " idle"));
    EXPECT_EQ(TdxFormHelper::CanResetScalingFlags(row.Component, row.M, row.D), row.Expected);
  }
}

TEST_F(TFormFixture, ResetScalingFlagsClearsThemDownTheWholeTree) {
  MakeForm(false);
  TSpyPanel* outer = NewPanel(Form.get(), L"outer", TRect(0, 0, 200, 200));
  TSpyPanel* inner = NewPanel(outer, L"inner", TRect(10, 10, 50, 50));
  for (TControl* c : {static_cast<TControl*>(Form.get()), static_cast<TControl*>(outer), static_cast<TControl*>(inner)})
    c->SetScalingFlags(AllScalingFlags);
  TdxFormHelper::ResetScalingFlags(outer);
  EXPECT_EQ(outer->ScalingFlags(), TScalingFlags{});
  EXPECT_EQ(inner->ScalingFlags(), TScalingFlags{});
  EXPECT_EQ(Form->ScalingFlags(), AllScalingFlags);
}

// ---------------------------------------------------------------------------
// Image lists

// A component that shows image lists: one of its own and one of a sub-object.
class TGlyphOptions : public TPersistent {
  SK_CLASS(TGlyphOptions, TPersistent)
 public:
  static void Publish(TPublisher<TGlyphOptions>& P) {
    P.Property(L"Glyphs", &TGlyphOptions::Glyphs, &TGlyphOptions::SetGlyphs);
  }
  TCustomImageList* Glyphs() const { return FGlyphs; }
  void SetGlyphs(TCustomImageList* AValue) { FGlyphs = AValue; }

 private:
  TCustomImageList* FGlyphs;
};

class TImageUser : public TComponent {
  SK_CLASS(TImageUser, TComponent)
 public:
  static void Publish(TPublisher<TImageUser>& P) {
    P.Property(L"Images", &TImageUser::Images, &TImageUser::SetImages);
    P.Property(L"Options", &TImageUser::Options);
  }
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    FOptions.reset(New<TGlyphOptions>());
  }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue) { FImages = AValue; }
  TGlyphOptions* Options() const { return FOptions.get(); }

 private:
  TCustomImageList* FImages;
  TOwned<TGlyphOptions> FOptions;
};

TCustomImageList* NewImageList(TComponent* AOwner, const wchar_t* AName) {
  auto* list = New<TImageList>(AOwner);
  list->SetName(AName);
  return list;
}

TEST(dxFormImageListHelper, TheListNamedAfterTheTargetOrTheHighestDpiBelowItWins) {
  struct TRow {
    const char* Name;
    std::vector<const wchar_t*> Lists;  // the first is the one in use
    int Target;
    const wchar_t* Expected;
  };
  const TRow rows[] = {
      {"exact target", {L"Images", L"Images144", L"Images120"}, 144, L"Images144"},
      {"highest below", {L"Images", L"Images144", L"Images120"}, 168, L"Images144"},
      {"between", {L"Images", L"Images144", L"Images120"}, 130, L"Images120"},
      {"bare name for 96", {L"Images", L"Images144", L"Images120"}, 110, L"Images"},
      {"96 before the bare name", {L"Images144", L"Images", L"Images96"}, 110, L"Images96"},
      {"back to 96 from a scaled list", {L"Images144", L"Images", L"Images96"}, 96, L"Images96"},
      {"back to the bare name at 96", {L"Images144", L"Images"}, 96, L"Images"},
      {"an odd target", {L"Images", L"Images150"}, 150, L"Images150"},
      {"an odd DPI is not a step", {L"Images", L"Images150"}, 168, L"Images"},
      {"trailing digits leave the base", {L"Icons2", L"Icons192"}, 200, L"Icons192"},
      {"nothing fits", {L"Images", L"Pictures144"}, 144, L"Images"},
      {"above every step", {L"Images", L"Images288", L"Images144"}, 480, L"Images288"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TOwned<TComponent> owner(New<TComponent>(nullptr));
    std::vector<TCustomImageList*> lists;
    for (const wchar_t* name : row.Lists) lists.push_back(NewImageList(owner.get(), name));
    TOwned<TdxFormImageListHelper> helper(New<TdxFormImageListHelper>(row.Target));
    EXPECT_EQ(helper->GetReplacement(lists.front())->Name(), String(row.Expected));
  }
}

TEST_F(TFormFixture, ScalingSwapsTheImageListsOfTheFormsComponentsAndTheirSubObjects) {
  MakeForm(false);
  TCustomImageList* images = NewImageList(Form.get(), L"Images");
  TCustomImageList* images144 = NewImageList(Form.get(), L"Images144");
  NewImageList(Form.get(), L"Images120");
  auto* user = New<TImageUser>(Form.get());
  user->SetImages(images);
  user->Options()->SetGlyphs(images);

  Form->ScaleForPPI(168);
  EXPECT_EQ(user->Images(), images144);
  EXPECT_EQ(user->Options()->Glyphs(), images144);

  Form->ScaleForPPI(96);
  EXPECT_EQ(user->Images(), images);
  EXPECT_EQ(user->Options()->Glyphs(), images);
}

// ---------------------------------------------------------------------------
// Frames

TEST_F(TFormFixture, AFrameFollowsTheDpiOfItsForm) {
  MakeForm(true);
  const int controllers = TdxFrameControllerManager::Count();
  auto* frame = New<TFrame>(Form.get());
  frame->SetParent(Form.get());
  frame->SetBounds(10, 10, 200, 100);
  TSpyPanel* inner = NewPanel(frame, L"inner", TRect(5, 5, 55, 25));
  frame->HandleNeeded();
  ASSERT_NE(TdxFrameControllerManager::Find(frame), nullptr);
  EXPECT_EQ(TdxFrameControllerManager::Count(), controllers + 1);

  Form->ScaleForPPI(144);

  EXPECT_EQ(frame->BoundsRect(), TRect(15, 15, 315, 165));
  EXPECT_EQ(frame->CurrentPPI(), 144);
  // 5 × 3 / 2 = 7.5 rounds away from zero.
  EXPECT_EQ(inner->BoundsRect(), TRect(8, 8, 83, 38));

  // Freed, the frame takes its controller with it.
  frame->Free();
  EXPECT_EQ(TdxFrameControllerManager::Count(), controllers);
}

TEST_F(TFormFixture, AFramePlacedOnAScaledFormTakesItsDpiWhenItsWindowIsMade) {
  MakeForm(true);
  Form->ScaleForPPI(144);
  auto* frame = New<TFrame>(Form.get());
  frame->SetBounds(0, 0, 200, 100);
  frame->SetParent(Form.get());
  frame->HandleNeeded();
  EXPECT_EQ(frame->CurrentPPI(), 144);
  EXPECT_EQ(frame->BoundsRect(), TRect(0, 0, 300, 150));
}

// ---------------------------------------------------------------------------
// Right to left

TEST_F(TFormFixture, AMirroredFormHasTheLayoutStylesAndItsClientOriginOnTheLeft) {
  MakeForm(true);
  Form->SetBiDiMode(bdRightToLeft);
  ASSERT_TRUE(Form->RightToLeftApplied());
  const LONG_PTR exStyle = GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE);
  EXPECT_EQ(exStyle & (WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT), WS_EX_LAYOUTRTL | WS_EX_NOINHERITLAYOUT);
  EXPECT_EQ(exStyle & (WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR), 0);
  // In a mirrored window client x runs from the right: the client's far
  // end is its left edge on the screen.
  POINT farEnd{Form->ClientWidth(), 0};
  MapWindowPoints(Form->Handle(), nullptr, &farEnd, 1);
  EXPECT_EQ(Form->ClientOrigin(), TPoint(farEnd));

  Form->SetRightToLeftLayout(bFalse);
  EXPECT_FALSE(Form->RightToLeftApplied());
  EXPECT_EQ(GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL, 0);
  POINT origin{0, 0};
  ClientToScreen(Form->Handle(), &origin);
  EXPECT_EQ(Form->ClientOrigin(), TPoint(origin));
}

TEST_F(TFormFixture, AMirroredFormTurnsItsMenusLeftToRightAndANormalOneLetsThemFollowIt) {
  MakeForm(false);
  auto* menu = New<TPopupMenu>(Form.get());
  menu->SetBiDiMode(bdRightToLeftNoAlign);
  Form->SetBiDiMode(bdRightToLeft);
  ASSERT_TRUE(Form->RightToLeftApplied());
  // The mirrored window turns the menu already; turned again it would read wrong.
  EXPECT_FALSE(menu->ParentBiDiMode());
  EXPECT_EQ(menu->BiDiMode(), bdLeftToRight);

  Form->SetRightToLeftLayout(bFalse);
  EXPECT_TRUE(menu->ParentBiDiMode());
  EXPECT_EQ(menu->BiDiMode(), bdRightToLeft);
}

TEST_F(TFormFixture, AnExplicitLayoutOverridesTheReadingOrder) {
  MakeForm(false);
  Form->SetRightToLeftLayout(bTrue);
  EXPECT_TRUE(GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  Form->SetBiDiMode(bdRightToLeft);
  Form->SetBiDiMode(bdLeftToRight);
  EXPECT_TRUE(Form->RightToLeftApplied());
  Form->SetRightToLeftLayout(bDefault);
  EXPECT_FALSE(Form->RightToLeftApplied());
}

TEST_F(TFormFixture, AMirroringAskedForWhileTheFormIsShownWaitsUntilTheShowingIsOver) {
  MakeForm(false);
  Form->SetOnShow(BindEvent<&TSpyForm::MirrorOnShow>(Form.get()));
  Form->Show();
  EXPECT_FALSE(Form->AppliedDuringShow);
  EXPECT_TRUE(PumpUntil([this] { return Form->RightToLeftApplied(); }));
  EXPECT_TRUE(GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

// ---------------------------------------------------------------------------
// Fluent design

class TAcrylicParent : public TNoRefCount<TCustomControl>, public IdxAcrylicContainer {
  SK_CLASS(TAcrylicParent, TCustomControl)
 public:
  bool Acrylic = true;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxAcrylicContainer>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  bool HasAcrylic() override { return Acrylic; }
};

class TStyledChild : public TNoRefCount<TCustomControl>, public IdxFluentDesignStyleListener {
  SK_CLASS(TStyledChild, TCustomControl)
 public:
  int Told = 0;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxFluentDesignStyleListener>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void LayeredStyleApplied() override { ++Told; }
};

TEST_F(TFormFixture, AControlOnAnAcrylicParentIsLayeredWithTheColourKeyAndLosesItAgain) {
  MakeForm(true);
  auto* parent = New<TAcrylicParent>(Form.get());
  parent->SetParent(Form.get());
  parent->SetBounds(0, 0, 200, 100);
  auto* child = New<TStyledChild>(Form.get());
  child->SetParent(parent);
  child->SetBounds(10, 10, 50, 30);
  const HWND wnd = child->Handle();

  TdxFluentDesignContainerControlHelper::CheckStyle(child);
  ASSERT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  COLORREF key = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, nullptr, &flags));
  EXPECT_EQ(key, RGB(0xFA, 0xFA, 0xFF));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
  TdxFluentDesignContainerControlHelper::CheckStyle(child);
  EXPECT_EQ(child->Told, 1);

  parent->Acrylic = false;
  TdxFluentDesignContainerControlHelper::CheckStyle(child);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);

  // A parent that knows nothing of acrylic leaves the style alone.
  auto* plain = New<TStyledChild>(Form.get());
  plain->SetParent(Form.get());
  TdxFluentDesignContainerControlHelper::CheckStyle(plain);
  EXPECT_FALSE(GetWindowLongPtrW(plain->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(plain->Told, 0);
}

// ---------------------------------------------------------------------------
// The visible part of a window

TEST_F(TFormFixture, OnlyANewlyVisiblePartIsRedrawnAndTheVisiblePartIsKept) {
  MakeForm(true);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(Form->Handle(), MONITOR_DEFAULTTONEAREST), &monitor));
  const TSize size = WindowSize(Form->Handle());
  // The window hangs 60 pixels over the work area's bottom edge.
  SetWindowPos(Form->Handle(), nullptr, monitor.rcWork.left + 10, monitor.rcWork.bottom - size.cy + 60, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT update{};
  ASSERT_TRUE(PumpUntil([this, &update] { return !GetUpdateRect(Form->Handle(), &update, FALSE); }));

  TOwnedRegion visible(CreateRectRgn(0, 0, 0, 0));
  TdxFormHelper::RepaintVisibleWindowArea(Form->Handle(), visible);
  TOwnedRegion expected(CreateRectRgn(0, 0, size.cx, size.cy - 60));
  EXPECT_TRUE(EqualRgn(visible.Get(), expected.Get()));
  EXPECT_TRUE(GetUpdateRect(Form->Handle(), &update, FALSE));

  // Painted, the window has nothing left to draw; the same visible part again draws nothing.
  ASSERT_TRUE(PumpUntil([this, &update] { return !GetUpdateRect(Form->Handle(), &update, FALSE); }));
  TdxFormHelper::RepaintVisibleWindowArea(Form->Handle(), visible);
  EXPECT_FALSE(GetUpdateRect(Form->Handle(), &update, FALSE));
  EXPECT_TRUE(EqualRgn(visible.Get(), expected.Get()));
}

// ---------------------------------------------------------------------------
// Windows 11 corners and regions

HRESULT GAnswer = S_OK;
DWORD GPreference = 0;
HRESULT WINAPI PreferenceProbe(HWND, DWORD AAttribute, PVOID AValue, DWORD ASize) {
  if (AAttribute != 33 || ASize != sizeof(DWORD)) return E_INVALIDARG;
  *static_cast<DWORD*>(AValue) = GPreference;
  return GAnswer;
}
bool Windows11() { return true; }
bool Windows10() { return false; }

struct TCornerFixture : TFormFixture {
  TdxDwmApi Saved;
  bool SavedBound = false;
  void SetUp() override {
    TFormFixture::SetUp();
    Saved = dxDwmApi();
    SavedBound = IsDwmApiBound();
  }
  void TearDown() override {
    dxSetDwmApi(Saved, SavedBound);
    dxSetWindows11Probe(nullptr);
    TFormFixture::TearDown();
  }
  void Inject(bool AWindows11, HRESULT AAnswer, DWORD APreference) {
    TdxDwmApi api = Saved;
    api.DwmGetWindowAttribute = &PreferenceProbe;
    dxSetDwmApi(api, true);
    dxSetWindows11Probe(AWindows11 ? &Windows11 : &Windows10);
    GAnswer = AAnswer;
    GPreference = APreference;
  }
};

TEST_F(TCornerFixture, ThePreferenceIsWhatTheWindowManagerAnswersAndOnlyOnWindows11) {
  MakeForm(false);
  const DWORD round = dxCornerRound;
  // Wine's window manager takes the preference but cannot give it back.
  const bool taken = SUCCEEDED(DwmSetWindowAttribute(Form->Handle(), 33, &round, sizeof(round)));
  DWORD read = 0;
  ASSERT_EQ(DwmGetWindowAttribute(Form->Handle(), 33, &read, sizeof(read)), E_NOTIMPL);

  dxSetWindows11Probe(&Windows11);
  EXPECT_EQ(GetWindowCornerPreference(Form->Handle()), 0);
  EXPECT_EQ(SetWindowCornerPreference(Form->Handle(), dxCornerRound), taken);
  EXPECT_FALSE(SetWindowCornerPreference(Form->Handle(), 4));
  dxSetWindows11Probe(&Windows10);
  EXPECT_FALSE(SetWindowCornerPreference(Form->Handle(), dxCornerRound));
}

TEST_F(TCornerFixture, TheDefaultRegionFollowsTheCornerPreferenceOnWindows11Only) {
  MakeForm(false);
  const TSize size = WindowSize(Form->Handle());
  struct TRow {
    const char* Name;
    bool Windows11;
    HRESULT Answer;
    DWORD Preference;
    int Expected;
    int Ellipse;  // 0: the plain window rectangle
  };
  const TRow rows[] = {
      {"Windows 10", false, S_OK, 2, 0, 0},          {"failure", true, E_FAIL, 2, 0, 0},
      {"default", true, S_OK, 0, 0, 0},              {"do not round", true, S_OK, 1, 1, 0},
      {"round", true, S_OK, 2, 2, 17},               {"round small", true, S_OK, 3, 3, 9},
      {"undocumented value", true, S_OK, 4, 0, 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    Inject(row.Windows11, row.Answer, row.Preference);
    EXPECT_EQ(GetWindowCornerPreference(Form->Handle()), row.Expected);
    TOwnedRegion region(TdxFormHelper::GetRegion(Form.get()));
    TOwnedRegion expected(row.Ellipse ? CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, row.Ellipse, row.Ellipse)
                                      : CreateRectRgn(0, 0, size.cx, size.cy));
    EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
  }
}

TEST_F(TCornerFixture, TheRoundedRadiusGrowsWithTheFormsScaleFactor) {
  MakeForm(false);
  Form->ScaleForPPI(144);
  Inject(true, S_OK, 2);
  const TSize size = WindowSize(Form->Handle());
  TOwnedRegion region(TdxFormHelper::GetRegion(Form.get()));
  // Radius 8 at 150 %: 12, an ellipse of 25.
  TOwnedRegion expected(CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 25, 25));
  EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
}

TEST_F(TCornerFixture, AWindowsOwnRegionIsKeptUnlessOnWindows11ItIsJustTheBounds) {
  MakeForm(false);
  const TSize size = WindowSize(Form->Handle());
  SetWindowRgn(Form->Handle(), CreateEllipticRgn(0, 0, 50, 40), FALSE);
  Inject(true, S_OK, 2);
  TOwnedRegion own(TdxFormHelper::GetRegion(Form.get()));
  // The system keeps its own copy of the ellipse; that copy is the reference.
  TOwnedRegion system(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(Form->Handle(), system.Get()), COMPLEXREGION);
  EXPECT_TRUE(EqualRgn(own.Get(), system.Get()));

  SetWindowRgn(Form->Handle(), CreateRectRgn(0, 0, size.cx, size.cy), FALSE);
  TOwnedRegion rounded(TdxFormHelper::GetRegion(Form.get()));
  TOwnedRegion expected(CreateRoundRectRgn(0, 0, size.cx + 1, size.cy + 1, 17, 17));
  EXPECT_TRUE(EqualRgn(rounded.Get(), expected.Get()));

  Inject(false, S_OK, 2);
  TOwnedRegion windows10(TdxFormHelper::GetRegion(Form.get()));
  TOwnedRegion bounds(CreateRectRgn(0, 0, size.cx, size.cy));
  EXPECT_TRUE(EqualRgn(windows10.Get(), bounds.Get()));
}

TEST(dxFormHelper, RoundedRegionsAndTheBorderTheyNeed) {
  TOwnedRegion region(TdxFormHelper::CreateRoundedRegion(TRect(2, 3, 40, 30), 4));
  TOwnedRegion expected(CreateRoundRectRgn(2, 3, 41, 31, 9, 9));
  EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
  // (1 - 0.7071) × radius, rounded, plus 2.
  const std::pair<int, int> widths[] = {{0, 2}, {4, 3}, {8, 4}, {12, 6}, {20, 8}};
  for (const auto& [radius, width] : widths) {
    SCOPED_TRACE(radius);
    EXPECT_EQ(TdxFormHelper::GetMinBorderWidth(radius), width);
  }
}

// ---------------------------------------------------------------------------
// Window helpers

TEST_F(TFormFixture, TextIsSetWhileTheWindowIsHiddenFromDrawing) {
  MakeForm(true);
  const LONG_PTR style = TdxFormHelper::LockWindowRedrawing(Form->Handle());
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_FALSE(IsWindowVisible(Form->Handle()));
  TdxFormHelper::UnlockWindowRedrawing(Form->Handle(), style);
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));

  TdxFormHelper::SetWindowTextWithoutRedrawing(Form->Handle(), L"Neu");
  wchar_t text[16]{};
  GetWindowTextW(Form->Handle(), text, 16);
  EXPECT_EQ(String(text), L"Neu");
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

TEST(dxFormHelper, TheAnimationSettingIsTheSystemsAndSettingItAnswersThePreviousOne) {
  ANIMATIONINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETANIMATION, sizeof(info), &info, 0));
  const bool original = info.iMinAnimate != 0;
  EXPECT_EQ(TdxFormHelper::GetAnimation(), original);
  EXPECT_EQ(TdxFormHelper::SetAnimation(original), original);
  // Wine keeps no animation setting of its own, so a change may not stick:
  // whatever the system then reports is what the next call answers.
  TdxFormHelper::SetAnimation(!original);
  const bool now = TdxFormHelper::GetAnimation();
  EXPECT_EQ(TdxFormHelper::SetAnimation(original), now);
  EXPECT_EQ(TdxFormHelper::GetAnimation(), original);
}

TEST(dxFormHelper, NoWindowOrGdiObjectIsLeftBehindByFormsWithFrames) {
  const auto round = [] {
    TOwned<TSpyForm> form(NewSpyForm(TRect(0, 0, 300, 200), false));
    auto* frame = New<TFrame>(form.get());
    frame->SetParent(form.get());
    frame->HandleNeeded();
    form->ScaleForPPI(144);
    form->SetRightToLeftLayout(bTrue);
    RECT suggested{0, 0, 500, 400};
    SendMessageW(form->Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  };
  round();
  PumpPending();
  const int windows = ThreadWindowCount();
  const int gdi = GdiObjectCount();
  const int controllers = TdxFrameControllerManager::Count();
  for (int i = 0; i < 20; ++i) round();
  PumpPending();
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(TdxFrameControllerManager::Count(), controllers);
}

}  // namespace
