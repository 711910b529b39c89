// Controls on a shown form: parent colour and font, focus and tab order,
// painting paths, mouse enter/leave, deferred destruction, leaks.
#include "platform/ui/ActnList.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/Menus.h"

#include "tests/platform_ui/UiTestClasses.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Records the events of the controls it is bound to.
class TSpy : public TObject {
  SK_CLASS(TSpy, TObject)
 public:
  std::vector<String> Events;
  TObject* FreeOnClick = nullptr;
  void Enter(TObject* Sender) { Events.push_back(L"enter " + static_cast<TComponent*>(Sender)->Name()); }
  void Exit(TObject* Sender) { Events.push_back(L"exit " + static_cast<TComponent*>(Sender)->Name()); }
  void MouseEnter(TObject* Sender) { Events.push_back(L"mouseenter " + static_cast<TComponent*>(Sender)->Name()); }
  void MouseLeave(TObject* Sender) { Events.push_back(L"mouseleave " + static_cast<TComponent*>(Sender)->Name()); }
  void Click(TObject* Sender) {
    Events.push_back(L"click " + static_cast<TComponent*>(Sender)->Name());
    if (TObject* victim = std::exchange(FreeOnClick, nullptr)) victim->Free();
  }
  void Execute(TObject*) { Events.push_back(L"execute"); }
  int Idles = 0;
  void Idle(TObject*, bool& Done) {
    ++Idles;
    Done = false;  // never wait: the test drives the loop itself
  }
  void FormKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == 'X') Key = 0;
  }
  void FormKeyPress(TObject*, wchar_t& Key) {
    if (Key == L'x') Key = 0;
  }
};

class ControlsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterUiTestClasses();
    // The popup menus' owner window is made by the first popup and lives as
    // long as the process: one popup comes before any window count.
    const TOwned<TPopupMenu> warmUp(New<TPopupMenu>(nullptr));
    const auto old = TPopupMenu::SetTrackProc([](HMENU, UINT, int, int, HWND) -> UINT { return 0; });
    warmUp->Popup(0, 0);
    TPopupMenu::SetTrackProc(old);
  }
  void SetUp() override {
    FWindows = ThreadWindowCount();
    FSpy = New<TSpy>();
    FForm = New<TForm>(nullptr);
    FForm->SetName(L"Form");
    FForm->SetBounds(60, 60, 320, 240);
  }
  void TearDown() override {
    if (FForm) FForm->Free();
    AppPumpPending();
    FreeAndNil(FSpy);
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }
  template <class T>
  T* Add(const wchar_t* AName, TWinControl* AParent, const TRect& ABounds) {
    T* c = New<T>(FForm);
    c->SetName(AName);
    c->SetBoundsRect(ABounds);
    c->SetParent(AParent);
    return c;
  }
  bool ShowAndActivate() {
    FForm->Show();
    return BringFormToFront(FForm);
  }
  TForm* FForm = nullptr;
  TSpy* FSpy = nullptr;
  int FWindows = 0;
};

// Parent colour and font -------------------------------------------------------

TEST_F(ControlsTest, ChildrenFollowParentColourUntilTheyHaveTheirOwn) {
  auto* group = Add<TTestGroup>(L"Group", FForm, Bounds(0, 0, 100, 100));
  auto* inner = Add<TTestGraphic>(L"Inner", group, Bounds(0, 0, 10, 10));
  inner->SetParentColor(true);
  EXPECT_EQ(clBtnFace, group->Color()) << "a new child takes its parent's colour";
  EXPECT_EQ(clBtnFace, inner->Color());
  FForm->SetColor(clYellow);
  EXPECT_EQ(clYellow, group->Color()) << "the change goes down the chain";
  EXPECT_EQ(clYellow, inner->Color());
  EXPECT_TRUE(inner->ParentColor());

  group->SetColor(clAqua);
  EXPECT_FALSE(group->ParentColor()) << "an own colour cuts the tie";
  FForm->SetColor(clLime);
  EXPECT_EQ(clAqua, group->Color());
  EXPECT_EQ(clAqua, inner->Color()) << "the grandchild follows its own parent";

  group->SetParentColor(true);
  EXPECT_EQ(clLime, group->Color()) << "restoring the tie takes the parent's colour at once";
  EXPECT_EQ(clLime, inner->Color());
  EXPECT_EQ(clLime, group->Brush()->Color()) << "the brush paints the colour";
}

TEST_F(ControlsTest, ChildrenFollowParentFontUntilTheyHaveTheirOwn) {
  FForm->Font()->SetName(L"Tahoma");
  FForm->Font()->SetHeight(-11);
  auto* group = Add<TTestGroup>(L"Group", FForm, Bounds(0, 0, 100, 100));
  auto* edit = Add<TTestEdit>(L"Edit", group, Bounds(0, 0, 50, 20));
  EXPECT_EQ(String(L"Tahoma"), edit->Font()->Name());
  FForm->Font()->SetHeight(-15);
  EXPECT_EQ(-15, edit->Font()->Height());
  EXPECT_TRUE(edit->ParentFont());

  edit->Font()->SetColor(clRed);
  EXPECT_FALSE(edit->ParentFont());
  FForm->Font()->SetHeight(-9);
  EXPECT_EQ(-9, group->Font()->Height());
  EXPECT_EQ(-15, edit->Font()->Height()) << "an own font stays";
  // The window gets the font it is told about.
  EXPECT_EQ(reinterpret_cast<LRESULT>(edit->Font()->Handle()), SendMessageW(edit->Handle(), WM_GETFONT, 0, 0));
  edit->SetParentFont(true);
  EXPECT_EQ(-9, edit->Font()->Height());
  EXPECT_EQ(reinterpret_cast<LRESULT>(edit->Font()->Handle()), SendMessageW(edit->Handle(), WM_GETFONT, 0, 0));
}

TEST_F(ControlsTest, ChildColourReachesTheStandardWindowThroughReflection) {
  auto* edit = Add<TTestEdit>(L"Edit", FForm, Bounds(0, 0, 50, 20));
  edit->SetColor(clYellow);
  edit->Font()->SetColor(clBlue);
  TPixelSurface surface(4, 4);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(FForm->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(surface.DC()),
                   reinterpret_cast<LPARAM>(edit->Handle())));
  EXPECT_EQ(edit->Brush()->Handle(), brush);
  EXPECT_EQ(ColorToColorRef(clBlue), GetTextColor(surface.DC()));
  EXPECT_EQ(ColorToColorRef(clYellow), GetBkColor(surface.DC()));
}

// Focus and tab order ----------------------------------------------------------

TEST_F(ControlsTest, TabOrderMovesWithinTheParentsList) {
  auto* a = Add<TTestEdit>(L"A", FForm, Bounds(0, 0, 10, 10));
  auto* b = Add<TTestEdit>(L"B", FForm, Bounds(0, 20, 10, 10));
  auto* c = Add<TTestEdit>(L"C", FForm, Bounds(0, 40, 10, 10));
  EXPECT_EQ(0, a->TabOrder());
  EXPECT_EQ(2, c->TabOrder());
  c->SetTabOrder(0);
  EXPECT_EQ(0, c->TabOrder());
  EXPECT_EQ(1, a->TabOrder());
  EXPECT_EQ(2, b->TabOrder());
  b->SetTabOrder(99);  // beyond the end: last
  EXPECT_EQ(2, b->TabOrder());
  b->SetTabOrder(-5);
  EXPECT_EQ(2, b->TabOrder());

  std::vector<TWinControl*> order;
  FForm->GetTabOrderList(order);
  EXPECT_EQ((std::vector<TWinControl*>{c, a, b}), order);
  // Removing a control closes the gap.
  a->SetParent(nullptr);
  EXPECT_EQ(1, b->TabOrder());
  a->Free();
}

TEST_F(ControlsTest, FindNextControlSkipsWhatCannotTakeTheFocusAndWraps) {
  auto* a = Add<TTestEdit>(L"A", FForm, Bounds(0, 0, 10, 10));
  auto* hidden = Add<TTestEdit>(L"Hidden", FForm, Bounds(0, 20, 10, 10));
  auto* disabled = Add<TTestEdit>(L"Disabled", FForm, Bounds(0, 40, 10, 10));
  auto* noStop = Add<TTestEdit>(L"NoStop", FForm, Bounds(0, 60, 10, 10));
  auto* b = Add<TTestEdit>(L"B", FForm, Bounds(0, 80, 10, 10));
  hidden->SetVisible(false);
  disabled->SetEnabled(false);
  noStop->SetTabStop(false);
  EXPECT_EQ(b, FForm->FindNextControl(a, true, true, false));
  EXPECT_EQ(a, FForm->FindNextControl(b, true, true, false)) << "wraps around";
  EXPECT_EQ(b, FForm->FindNextControl(a, false, true, false)) << "backwards wraps too";
  EXPECT_EQ(noStop, FForm->FindNextControl(a, true, false, false)) << "without the tab-stop check";
  EXPECT_EQ(a, FForm->FindNextControl(nullptr, true, true, false)) << "from nowhere: the first";
}

TEST_F(ControlsTest, FocusMovesSendExitAndEnterAlongTheParentChain) {
  auto* a = Add<TTestEdit>(L"A", FForm, Bounds(0, 0, 50, 20));
  auto* group = Add<TTestGroup>(L"Group", FForm, Bounds(0, 30, 100, 60));
  auto* inner = Add<TTestEdit>(L"Inner", group, Bounds(0, 0, 50, 20));
  for (TWinControl* c : std::initializer_list<TWinControl*>{a, group, inner}) {
    c->SetOnEnter(BindEvent<&TSpy::Enter>(FSpy));
    c->SetOnExit(BindEvent<&TSpy::Exit>(FSpy));
  }
  ASSERT_TRUE(ShowAndActivate());
  ASSERT_TRUE(AppPumpUntil([&] { return a->Focused(); }));
  FSpy->Events.clear();
  inner->SetFocus();
  EXPECT_TRUE(inner->Focused());
  EXPECT_EQ((std::vector<String>{L"exit A", L"enter Group", L"enter Inner"}), FSpy->Events);
  EXPECT_EQ(inner, FForm->ActiveControl());
  EXPECT_EQ(inner, Screen()->ActiveControl());
  FSpy->Events.clear();
  a->SetFocus();
  EXPECT_EQ((std::vector<String>{L"exit Inner", L"exit Group", L"enter A"}), FSpy->Events);
}

TEST_F(ControlsTest, HidingTheFocusedControlClearsTheActiveControl) {
  auto* a = Add<TTestEdit>(L"A", FForm, Bounds(0, 0, 50, 20));
  Add<TTestEdit>(L"B", FForm, Bounds(0, 30, 50, 20));
  ASSERT_TRUE(ShowAndActivate());
  a->SetFocus();
  ASSERT_EQ(a, FForm->ActiveControl());
  a->SetVisible(false);
  EXPECT_EQ(nullptr, FForm->ActiveControl());
  EXPECT_THROW(a->SetFocus(), EInvalidOperation);
  EXPECT_THROW(FForm->SetActiveControl(a), EInvalidOperation);
}

TEST_F(ControlsTest, KeyPreviewLetsTheFormSwallowKeys) {
  auto* edit = Add<TTestEdit>(L"Edit", FForm, Bounds(0, 0, 50, 20));
  FForm->SetKeyPreview(true);
  FForm->SetOnKeyDown(BindEvent<&TSpy::FormKeyDown>(FSpy));
  FForm->SetOnKeyPress(BindEvent<&TSpy::FormKeyPress>(FSpy));
  ASSERT_TRUE(ShowAndActivate());
  ASSERT_TRUE(AppPumpUntil([&] { return edit->Focused(); }));
  PressKey('X');
  PressKey('Y');
  ASSERT_TRUE(AppPumpUntil([&] { return !edit->Text().empty(); }));
  EXPECT_EQ(String(L"y"), edit->Text());
  EXPECT_EQ((std::vector<WORD>{'Y'}), edit->KeysDown) << "the swallowed key never reached the edit";
  EXPECT_EQ((std::vector<wchar_t>{L'y'}), edit->Chars);
}

// Painting ---------------------------------------------------------------------

TEST_F(ControlsTest, ParentPaintsItsGraphicChildrenInZOrder) {
  FForm->SetColor(clWhite);
  auto* below = Add<TTestGraphic>(L"Below", FForm, Bounds(10, 10, 40, 30));
  auto* above = Add<TTestGraphic>(L"Above", FForm, Bounds(30, 20, 40, 30));
  above->SetColor(clLime);
  below->SetColor(clBlue);
  TPixelSurface surface(100, 80, RGB(1, 2, 3));
  SendMessageW(FForm->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(RGB(255, 255, 255), surface.Pixel(2, 2)) << "the form's own background";
  EXPECT_EQ(RGB(0, 0, 255), surface.Pixel(12, 40 - 2));
  EXPECT_EQ(RGB(0, 255, 0), surface.Pixel(45, 35)) << "the upper control covers the lower one";
  EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(17, 17)) << "each child draws at its own origin";
  EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(37, 27));
  EXPECT_EQ(1, below->Paints);
  below->BringToFront();
  SendMessageW(FForm->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(RGB(0, 0, 255), surface.Pixel(45, 35)) << "after BringToFront the other one is on top";
}

TEST_F(ControlsTest, InvisibleGraphicChildIsNotPainted) {
  auto* child = Add<TTestGraphic>(L"Child", FForm, Bounds(0, 0, 40, 30));
  child->SetVisible(false);
  TPixelSurface surface(50, 40);
  SendMessageW(FForm->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
  EXPECT_EQ(0, child->Paints);
}

TEST_F(ControlsTest, EraseFillsWithTheControlColourExceptTheSystemEraseWhenDoubleBuffered) {
  auto* swatch = Add<TTestSwatch>(L"Swatch", FForm, Bounds(0, 0, 40, 30));
  swatch->SetColor(clYellow);
  TPixelSurface surface(40, 30, RGB(1, 2, 3));
  const auto dc = reinterpret_cast<WPARAM>(surface.DC());
  EXPECT_EQ(1, SendMessageW(swatch->Handle(), WM_ERASEBKGND, dc, 0));
  EXPECT_EQ(40 * 30, surface.Count(RGB(255, 255, 0)));

  swatch->SetDoubleBuffered(true);
  surface.Fill(RGB(1, 2, 3));
  EXPECT_EQ(1, SendMessageW(swatch->Handle(), WM_ERASEBKGND, dc, 0)) << "answered, so the system does not erase";
  EXPECT_EQ(40 * 30, surface.Count(RGB(1, 2, 3))) << "but nothing drawn: the buffer paints it all";
  EXPECT_EQ(1, SendMessageW(swatch->Handle(), WM_ERASEBKGND, dc, static_cast<LPARAM>(dc)));
  EXPECT_EQ(40 * 30, surface.Count(RGB(255, 255, 0))) << "the buffer's own erase";
}

TEST_F(ControlsTest, ParentBackgroundLetsTheParentEraseBehindTheChild) {
  FForm->SetColor(clAqua);
  auto* swatch = Add<TTestSwatch>(L"Swatch", FForm, Bounds(10, 10, 40, 30));
  swatch->SetColor(clYellow);
  swatch->SetParentBackground(true);
  TPixelSurface surface(40, 30, RGB(1, 2, 3));
  SendMessageW(swatch->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(40 * 30, surface.Count(RGB(0, 255, 255)));
  swatch->SetParentBackground(false);
  SendMessageW(swatch->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.DC()), 0);
  EXPECT_EQ(40 * 30, surface.Count(RGB(255, 255, 0)));
}

TEST_F(ControlsTest, DoubleBufferedControlPaintsTheSamePictureOnScreen) {
  auto* swatch = Add<TTestSwatch>(L"Swatch", FForm, Bounds(20, 20, 40, 30));
  swatch->SetDoubleBuffered(true);
  ASSERT_TRUE(ShowAndActivate());
  swatch->Repaint();
  ASSERT_GT(swatch->Paints, 0);
  TPixelSurface surface(40, 30, RGB(1, 2, 3));
  BitBlt(surface.DC(), 0, 0, 40, 30, TWindowDC(swatch->Handle()).Get(), 0, 0, SRCCOPY);
  EXPECT_EQ(100, surface.Count(RGB(0, 0, 0))) << surface.Picture(RGB(255, 0, 0));
  EXPECT_EQ(40 * 30 - 100, surface.Count(RGB(255, 0, 0)));
}

TEST_F(ControlsTest, CanvasUsedOutsidePaintingGivesItsDeviceContextBack) {
  auto* swatch = Add<TTestSwatch>(L"Swatch", FForm, Bounds(10, 10, 40, 30));
  auto* graphic = Add<TTestGraphic>(L"Graphic", FForm, Bounds(60, 10, 40, 30));
  FForm->Show();
  EXPECT_GT(swatch->Canvas()->TextWidth(L"Mess"), 0);
  EXPECT_GT(graphic->Canvas()->TextWidth(L"Mess"), 0);
  EXPECT_TRUE(swatch->Canvas()->HandleAllocated());
  EXPECT_TRUE(graphic->Canvas()->HandleAllocated());
  // The loop's idle step releases them.
  Application()->SetOnIdle(BindEvent<&TSpy::Idle>(FSpy));
  for (int i = 0; i < 100 && FSpy->Idles == 0; ++i) Application()->HandleMessage();
  Application()->SetOnIdle(nullptr);
  ASSERT_GT(FSpy->Idles, 0);
  EXPECT_FALSE(swatch->Canvas()->HandleAllocated());
  EXPECT_FALSE(graphic->Canvas()->HandleAllocated());
  // Destroying the window releases its context too.
  EXPECT_GT(graphic->Canvas()->TextWidth(L"Mess"), 0);
  FForm->RecreateWnd();
  EXPECT_FALSE(graphic->Canvas()->HandleAllocated());
}

TEST_F(ControlsTest, PaintToDrawsTheControlWithItsChildWindows) {
  FForm->SetColor(clWhite);
  auto* group = Add<TTestGroup>(L"Group", FForm, Bounds(0, 0, 100, 80));
  group->SetColor(clSilver);
  Add<TTestSwatch>(L"Swatch", group, Bounds(50, 40, 40, 30));
  TPixelSurface surface(100, 80, RGB(1, 2, 3));
  group->PaintTo(surface.DC(), 0, 0);
  EXPECT_EQ(RGB(192, 192, 192), surface.Pixel(5, 5));
  EXPECT_EQ(RGB(255, 0, 0), surface.Pixel(52, 42)) << "the child window is drawn at its place";
  EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(57, 47));
}

// Mouse ------------------------------------------------------------------------

TEST_F(ControlsTest, MouseEnterAndLeaveFollowTheCursorOverGraphicAndWindowedControls) {
  auto* graphic = Add<TTestGraphic>(L"Graphic", FForm, Bounds(10, 10, 40, 30));
  auto* swatch = Add<TTestSwatch>(L"Swatch", FForm, Bounds(100, 10, 40, 30));
  for (TControl* c : std::initializer_list<TControl*>{graphic, swatch}) {
    c->SetOnMouseEnter(BindEvent<&TSpy::MouseEnter>(FSpy));
    c->SetOnMouseLeave(BindEvent<&TSpy::MouseLeave>(FSpy));
  }
  ASSERT_TRUE(ShowAndActivate());
  SendMove(FForm->ClientToScreen(TPoint(200, 150)));
  FSpy->Events.clear();
  SendMove(graphic->ClientToScreen(TPoint(5, 5)));
  SendMove(swatch->ClientToScreen(TPoint(5, 5)));
  SendMove(FForm->ClientToScreen(TPoint(200, 150)));
  // Every enter is followed by the leave of the same control. The display
  // may echo a move late, which enters and leaves a visited control once
  // more, so the visits are compared without repeats, and the pump waits for
  // the leave of an echo's enter.
  AppPumpUntil([&] { return FSpy->Events.size() >= 4 && FSpy->Events.size() % 2 == 0; }, 1000);
  ASSERT_EQ(0u, FSpy->Events.size() % 2);
  std::vector<String> visits;
  for (std::size_t i = 0; i < FSpy->Events.size(); i += 2) {
    SCOPED_TRACE(i);
    ASSERT_EQ(0u, FSpy->Events[i].rfind(L"mouseenter ", 0));
    ASSERT_EQ(L"mouseleave " + FSpy->Events[i].substr(11), FSpy->Events[i + 1]);
    if (visits.empty() || visits.back() != FSpy->Events[i].substr(11)) visits.push_back(FSpy->Events[i].substr(11));
  }
  ASSERT_GE(visits.size(), 2u);
  EXPECT_EQ(String(L"Graphic"), visits[0]);
  EXPECT_EQ(String(L"Swatch"), visits[1]);
}

TEST_F(ControlsTest, ContextMenuShowsThePopupMenuAndRunsTheChosenItem) {
  auto* swatch = Add<TTestSwatch>(L"Swatch", FForm, Bounds(10, 10, 40, 30));
  TOwned<TPopupMenu> menuOwner(New<TPopupMenu>(FForm));
  TPopupMenu* menu = menuOwner.get();
  auto* first = New<TMenuItem>(FForm);
  first->SetName(L"First");
  first->SetCaption(L"&Erstes");
  auto* second = New<TMenuItem>(FForm);
  second->SetName(L"Second");
  second->SetCaption(L"&Zweites");
  second->SetOnClick(BindEvent<&TSpy::Click>(FSpy));
  menu->Items()->Add(first);
  menu->Items()->Add(second);
  swatch->SetPopupMenu(menu);
  static UINT GChosen = 0;
  static int GItems = 0;
  GChosen = second->Command();
  const auto old = TPopupMenu::SetTrackProc([](HMENU AMenu, UINT, int, int, HWND) {
    GItems = GetMenuItemCount(AMenu);
    return GChosen;
  });
  ASSERT_TRUE(ShowAndActivate());
  const TPoint at = swatch->ClientToScreen(TPoint(3, 3));
  SendMessageW(swatch->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(swatch->Handle()), PointToLParam(at));
  TPopupMenu::SetTrackProc(old);
  EXPECT_EQ(2, GItems);
  EXPECT_EQ((std::vector<String>{L"click Second"}), FSpy->Events);
  EXPECT_EQ(swatch, menu->PopupComponent());
  // Freeing the menu unhooks it from the control.
  menuOwner.reset();
  EXPECT_EQ(nullptr, swatch->PopupMenu());
}

TEST(MenuItemBreak, ABreakItemStartsANewColumnOfTheBuiltMenu) {
  TOwned<TPopupMenu> menu(New<TPopupMenu>(nullptr));
  const TMenuBreak breaks[] = {mbNone, mbBreak, mbBarBreak};
  for (TMenuBreak value : breaks) {
    auto* item = New<TMenuItem>(menu.get());
    item->SetCaption(L"Item");
    item->SetBreak(value);
    menu->Items()->Add(item);
  }
  const TOwnedMenu built(CreatePopupMenu());
  menu->Items()->BuildMenu(built.Get());
  const UINT expected[] = {0, MFT_MENUBREAK, MFT_MENUBARBREAK};
  for (int i = 0; i < 3; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(built.Get(), i, TRUE, &info));
    EXPECT_EQ(info.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK), expected[i]) << i;
  }
}

TEST(MenuBiDiMode, ARightToLeftMenuOrdersItsItemsFromTheRightAndOpensToTheLeft) {
  TOwned<TTestGroup> owner(New<TTestGroup>(nullptr));
  auto* menu = New<TPopupMenu>(owner.get());
  auto* item = New<TMenuItem>(menu);
  item->SetCaption(L"Eintrag");
  item->SetRadioItem(true);
  item->SetChecked(true);
  menu->Items()->Add(item);
  static UINT GFlags = 0;
  static UINT GType = 0;
  const auto old = TPopupMenu::SetTrackProc([](HMENU AMenu, UINT AFlags, int, int, HWND) -> UINT {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(AMenu, 0, TRUE, &info);
    GFlags = AFlags;
    GType = info.fType;
    return 0;
  });
  struct TRow {
    const char* Name;
    TBiDiMode OwnerMode;
    bool SetOwn;
    TPopupAlignment Alignment;
    bool RightToLeft;
    UINT Align;
  };
  for (const TRow& row : {TRow{"follows a left-to-right owner", bdLeftToRight, false, paLeft, false, TPM_LEFTALIGN},
                          TRow{"follows a right-to-left owner", bdRightToLeft, false, paLeft, true, TPM_RIGHTALIGN},
                          TRow{"right aligned turns left", bdRightToLeft, false, paRight, true, TPM_LEFTALIGN},
                          TRow{"centred stays", bdRightToLeft, false, paCenter, true, TPM_CENTERALIGN},
                          TRow{"its own mode wins", bdRightToLeft, true, paLeft, false, TPM_LEFTALIGN}}) {
    SCOPED_TRACE(row.Name);
    owner->SetBiDiMode(row.OwnerMode);
    menu->SetParentBiDiMode(true);
    if (row.SetOwn) menu->SetBiDiMode(bdLeftToRight);
    menu->SetAlignment(row.Alignment);
    menu->Popup(0, 0);
    EXPECT_EQ(menu->IsRightToLeft(), row.RightToLeft);
    EXPECT_EQ(GFlags & (TPM_LEFTALIGN | TPM_CENTERALIGN | TPM_RIGHTALIGN), row.Align);
    const UINT rtl = MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
    EXPECT_EQ(GType & rtl, row.RightToLeft ? rtl : 0);
    EXPECT_TRUE(GType & MFT_RADIOCHECK) << "the radio mark is kept";
  }
  TPopupMenu::SetTrackProc(old);

  // Only a mode of its own is written to a form description.
  const TPropInfo* mode = GetPropInfo(menu, L"BiDiMode");
  ASSERT_NE(mode, nullptr);
  EXPECT_FALSE(menu->ParentBiDiMode());
  EXPECT_TRUE(IsStoredProp(menu, mode));
  menu->SetParentBiDiMode(true);
  EXPECT_FALSE(IsStoredProp(menu, mode));
}

TEST_F(ControlsTest, ShortcutOfAPopupMenuItemRunsIt) {
  auto* edit = Add<TTestEdit>(L"Edit", FForm, Bounds(0, 0, 50, 20));
  auto* menu = New<TPopupMenu>(FForm);
  auto* item = New<TMenuItem>(FForm);
  item->SetName(L"Save");
  item->SetShortCut(TextToShortCut(L"Ctrl+S"));
  item->SetOnClick(BindEvent<&TSpy::Click>(FSpy));
  menu->Items()->Add(item);
  FForm->SetPopupMenu(menu);
  ASSERT_TRUE(ShowAndActivate());
  ASSERT_TRUE(AppPumpUntil([&] { return edit->Focused(); }));
  INPUT in[4]{};
  for (auto& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_CONTROL;
  in[1].ki.wVk = 'S';
  in[2].ki.wVk = 'S';
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_CONTROL;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
  EXPECT_TRUE(AppPumpUntil([&] { return FSpy->Events.size() == 1; }));
  EXPECT_EQ((std::vector<String>{L"click Save"}), FSpy->Events);
}

// Actions ----------------------------------------------------------------------

TEST_F(ControlsTest, ActionDrivesCaptionEnabledAndClick) {
  auto* button = Add<TTestButton>(L"Button", FForm, Bounds(0, 0, 75, 25));
  auto* action = New<TAction>(FForm);
  action->SetCaption(L"Verbinden");
  action->SetOnExecute(BindEvent<&TSpy::Execute>(FSpy));
  button->SetAction(action);
  EXPECT_EQ(String(L"Verbinden"), button->Caption());
  action->SetEnabled(false);
  EXPECT_FALSE(button->Enabled());
  action->SetEnabled(true);
  action->SetCaption(L"Verbunden");
  EXPECT_EQ(String(L"Verbunden"), button->Caption());
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ((std::vector<String>{L"execute"}), FSpy->Events);
  // A click handler of the control's own wins over the action.
  button->SetOnClick(BindEvent<&TSpy::Click>(FSpy));
  button->Click();
  EXPECT_EQ(String(L"click Button"), FSpy->Events.back());
  action->Free();
  EXPECT_EQ(nullptr, button->Action());
}

// A graphic control that takes the actions offered to it when told to, and
// answers the window's hit test with what it is given.
class TActionTarget : public TGraphicControl {
  SK_CLASS(TActionTarget, TGraphicControl)
 public:
  static void Publish(TPublisher<TActionTarget>& P) {
    P.Message<&TActionTarget::WMNCHitTest>(WM_NCHITTEST);
    P.Message<&TActionTarget::CMStyleElementsChanged>(CM_STYLEELEMENTSCHANGED);
  }
  bool Takes = false;
  std::vector<String>* Log = nullptr;
  LRESULT HitTest = 0;  // 0: the graphic control's own answer
  int StyleChanges = 0;
  bool ExecuteAction(TBasicAction* Action) override {
    if (auto* hint = dynamic_cast<THintAction*>(Action)) Log->push_back(Name() + L" offered hint " + hint->Hint());
    else Log->push_back(Name() + L" offered " + Action->Name());
    return Takes;
  }

 protected:
  void WMNCHitTest(TMessage& Message) {
    if (HitTest) Message.Result = HitTest;
    else InheritedMessage<TActionTarget>(Message);
  }
  void CMStyleElementsChanged(TMessage&) { ++StyleChanges; }
};

TEST_F(ControlsTest, AnActionWithoutOnExecuteGoesRoundTheActiveFormsControlsUntilOneTakesIt) {
  std::vector<String> log;
  auto* group = Add<TTestGroup>(L"Group", FForm, Bounds(0, 0, 200, 100));
  auto* inner = Add<TActionTarget>(L"Inner", group, Bounds(0, 0, 20, 20));
  auto* hidden = Add<TActionTarget>(L"Hidden", FForm, Bounds(0, 120, 20, 20));
  auto* last = Add<TActionTarget>(L"Last", FForm, Bounds(30, 120, 20, 20));
  for (TActionTarget* t : {inner, hidden, last}) t->Log = &log;
  hidden->SetVisible(false);
  Screen()->SetActiveForm(FForm);
  auto* action = New<TAction>(FForm);
  action->SetName(L"Open");
  // The form's own graphic controls come before its windows' children.
  EXPECT_FALSE(action->Execute()) << "nobody took it";
  EXPECT_EQ((std::vector<String>{L"Last offered Open", L"Inner offered Open"}), log);
  log.clear();
  last->Takes = true;
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(std::vector<String>{L"Last offered Open"}, log);

  // The application's hint without OnHint goes round as a hint action.
  log.clear();
  last->Takes = false;
  Application()->SetHint(L"Opens a project");
  EXPECT_EQ((std::vector<String>{L"Last offered hint Opens a project", L"Inner offered hint Opens a project"}), log);
  log.clear();
  Application()->SetOnHint(BindEvent<&TSpy::Execute>(FSpy));
  Application()->SetHint(L"");
  EXPECT_TRUE(log.empty()) << "OnHint takes the hint";
  EXPECT_EQ(std::vector<String>{L"execute"}, FSpy->Events);
  Application()->SetOnHint(TNotifyEvent());
  Screen()->SetActiveForm(nullptr);
}

TEST_F(ControlsTest, TheWindowAsksTheGraphicControlUnderAPointForItsHitTest) {
  auto* target = Add<TActionTarget>(L"Target", FForm, Bounds(10, 10, 40, 30));
  const HWND wnd = FForm->Handle();
  auto hitTest = [&](const TPoint& AClientPoint) {
    return SendMessageW(wnd, WM_NCHITTEST, 0, PointToLParam(FForm->ClientToScreen(AClientPoint)));
  };
  EXPECT_EQ(HTCLIENT, hitTest(TPoint(20, 20)));
  target->HitTest = HTBOTTOMRIGHT;
  EXPECT_EQ(HTBOTTOMRIGHT, hitTest(TPoint(20, 20))) << "the control answers for its place";
  EXPECT_EQ(HTCLIENT, hitTest(TPoint(100, 100))) << "elsewhere the window answers";
  target->HitTest = HTNOWHERE;
  EXPECT_EQ(HTCLIENT, hitTest(TPoint(20, 20))) << "HTNOWHERE leaves the point to the window";
  target->SetEnabled(false);
  target->HitTest = HTBOTTOMRIGHT;
  EXPECT_EQ(HTCLIENT, hitTest(TPoint(20, 20))) << "a disabled control is not asked";
  EXPECT_EQ(HTCAPTION, SendMessageW(wnd, WM_NCHITTEST, 0, PointToLParam(FForm->ClientToScreen(TPoint(20, -8)))));
}

TEST_F(ControlsTest, ChangingTheStyleElementsTellsTheControl) {
  auto* target = Add<TActionTarget>(L"Target", FForm, Bounds(10, 10, 40, 30));
  EXPECT_EQ(AllStyleElements, target->StyleElements());
  target->SetStyleElements({seClient, seBorder});
  target->SetStyleElements({seClient, seBorder});
  EXPECT_EQ(1, target->StyleChanges);
  EXPECT_FALSE(target->StyleElements().Contains(seFont));
}

// Destruction ------------------------------------------------------------------

TEST_F(ControlsTest, ClickHandlerMayFreeTheWholeForm) {
  auto* button = Add<TTestButton>(L"Button", FForm, Bounds(0, 0, 75, 25));
  button->SetOnClick(BindEvent<&TSpy::Click>(FSpy));
  FSpy->FreeOnClick = FForm;
  ASSERT_TRUE(ShowAndActivate());
  HWND formWnd = FForm->Handle();
  HWND buttonWnd = button->Handle();
  TControlTracker alive(FForm);
  SendMessageW(buttonWnd, BM_CLICK, 0, 0);
  EXPECT_FALSE(alive.Alive());
  FForm = nullptr;
  EXPECT_EQ(nullptr, FindControl(formWnd));
  EXPECT_EQ(nullptr, FindControl(buttonWnd));
  // The windows were inside their own procedures; they go right after.
  EXPECT_TRUE(AppPumpUntil([&] { return !IsWindow(formWnd) && !IsWindow(buttonWnd); }));
}

// Frees itself from inside its own message handler.
class TSelfFreeing : public TCustomControl {
  SK_CLASS(TSelfFreeing, TCustomControl)
 public:
  static constexpr UINT FreeMsg = WM_APP + 30;
  static void Publish(TPublisher<TSelfFreeing>& P) { P.Message<&TSelfFreeing::WMFree>(FreeMsg); }

 protected:
  void WMFree(TMessage& Message) {
    Message.Result = 42;
    Free();
  }
};

TEST_F(ControlsTest, ControlFreedInsideItsOwnMessageLosesItsWindowAfterwards) {
  auto* control = Add<TSelfFreeing>(L"Self", FForm, Bounds(0, 0, 20, 20));
  HWND wnd = control->Handle();
  EXPECT_EQ(42, SendMessageW(wnd, TSelfFreeing::FreeMsg, 0, 0));
  EXPECT_EQ(nullptr, FindControl(wnd));
  EXPECT_EQ(0, FForm->ControlCount());
  EXPECT_TRUE(AppPumpUntil([&] { return !IsWindow(wnd); }));
  // Messages that still reach the orphaned window meanwhile do no harm.
}

TEST_F(ControlsTest, CreatingAndFreeingFormsLeaksNoWindowsOrGdiObjects) {
  auto round = [this] {
    auto* form = New<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 150);
    auto* group = New<TTestGroup>(form);
    group->SetParent(form);
    auto* edit = New<TTestEdit>(form);
    edit->SetParent(group);
    edit->Font()->SetHeight(-20);
    auto* swatch = New<TTestSwatch>(form);
    swatch->SetParent(form);
    swatch->SetDoubleBuffered(true);
    auto* graphic = New<TTestGraphic>(form);
    graphic->SetParent(form);
    form->Show();
    form->Repaint();
    TPixelSurface surface(200, 150);
    form->PaintTo(surface.DC(), 0, 0);
    form->Free();
    AppPumpPending();
  };
  round();  // warm-up: caches and stock objects the system makes once
  const int windows = ThreadWindowCount();
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 10; ++i) round();
  EXPECT_EQ(windows, ThreadWindowCount());
  EXPECT_EQ(gdi, GdiObjectCount());
}

}  // namespace
