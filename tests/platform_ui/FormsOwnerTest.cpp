// Which window owns a form's window (read back with GetWindow(GW_OWNER)) and
// the monitor a form moves onto when it shows (against GetMonitorInfoW).
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

namespace {

HWND OwnerOf(TCustomForm* AForm) { return GetWindow(AForm->Handle(), GW_OWNER); }

TRect WindowBounds(TCustomForm* AForm) {
  RECT r{};
  GetWindowRect(AForm->Handle(), &r);
  return TRect(r);
}

MONITORINFO PrimaryMonitorInfo() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  return info;
}

struct TFormOwnerFixture : testing::Test {
  TOwned<TForm> Host{New<TForm>(nullptr)};
  TOwned<TForm> Other{New<TForm>(nullptr)};
  TOwned<TForm> Form{New<TForm>(nullptr)};
  // What a form without a popup mode gets, read from one made alike.
  HWND UsualOwner() {
    TOwned<TForm> plain(New<TForm>(nullptr));
    return OwnerOf(plain.get());
  }
};

TEST_F(TFormOwnerFixture, EachPopupModeChoosesItsOwner) {
  Host->SetBounds(50, 50, 300, 200);
  Host->Show();
  SetActiveWindow(Host->Handle());
  ASSERT_EQ(Host.get(), Screen()->ActiveForm());
  const HWND usual = UsualOwner();
  ASSERT_NE(usual, Host->Handle());

  struct TCase {
    const char* Name;
    TPopupMode Mode;
    TCustomForm* Parent;
    HWND Expected;
  } const cases[] = {
      {"none", pmNone, nullptr, usual},
      {"explicit", pmExplicit, Other.get(), Other->Handle()},
      {"auto takes the active form", pmAuto, nullptr, Host->Handle()},
      {"auto ignores the popup parent", pmAuto, Other.get(), Host->Handle()},
      {"none ignores the popup parent", pmNone, Other.get(), usual},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetPopupParent(c.Parent);
    form->SetPopupMode(c.Mode);
    EXPECT_EQ(c.Expected, OwnerOf(form.get()));
  }
}

TEST_F(TFormOwnerFixture, APopupParentMakesTheModeExplicitAndMovesAnExistingWindow) {
  const HWND before = Form->Handle();
  ASSERT_NE(Host->Handle(), OwnerOf(Form.get()));
  Form->SetPopupParent(Host.get());
  EXPECT_EQ(pmExplicit, Form->PopupMode());
  EXPECT_EQ(Host->Handle(), OwnerOf(Form.get()));
  EXPECT_FALSE(IsWindow(before)) << "the owner of a window cannot change: it is made again";
  Form->SetPopupParent(Other.get());
  EXPECT_EQ(Other->Handle(), OwnerOf(Form.get()));
  Form->SetPopupMode(pmNone);
  EXPECT_EQ(UsualOwner(), OwnerOf(Form.get()));
}

TEST_F(TFormOwnerFixture, AFreedPopupParentIsForgotten) {
  Form->SetPopupParent(Other.get());
  ASSERT_EQ(Other->Handle(), OwnerOf(Form.get()));
  Other.reset();
  EXPECT_EQ(nullptr, Form->PopupParent());
  // The form lives on with a window of its own again.
  EXPECT_EQ(UsualOwner(), OwnerOf(Form.get()));
}

TEST_F(TFormOwnerFixture, ACircleOfPopupParentsIsRefused) {
  Host->SetPopupParent(Other.get());
  Other->SetPopupParent(Form.get());
  EXPECT_THROW(Form->SetPopupParent(Host.get()), EInvalidOperation);
  EXPECT_THROW(Form->SetPopupParent(Form.get()), EInvalidOperation);
  EXPECT_EQ(nullptr, Form->PopupParent());
}

// A designed form put off every monitor, shown while another form is active.
TEST_F(TFormOwnerFixture, ADefaultMonitorBringsAFormOntoIt) {
  Host->SetBounds(50, 50, 300, 200);
  Host->Show();
  SetActiveWindow(Host->Handle());
  ASSERT_EQ(Host.get(), Screen()->ActiveForm());
  const MONITORINFO primary = PrimaryMonitorInfo();
  const TRect work(primary.rcWork);

  struct TCase {
    const char* Name;
    TDefaultMonitor Monitor;
    bool Moves;
  } const cases[] = {
      {"desktop", dmDesktop, false},
      {"primary", dmPrimary, true},
      {"active form", dmActiveForm, true},
      {"main form, without one", dmMainForm, false},
  };
  ASSERT_EQ(nullptr, Application()->MainForm());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetPosition(poDesigned);
    form->SetDefaultMonitor(c.Monitor);
    const TRect offScreen(-6000, -5000, -6000 + 240, -5000 + 160);
    form->SetBoundsRect(offScreen);
    form->Show();
    // Only one monitor here: the form lands on the top-left corner of its
    // work area (it lay above and left of it).
    const TRect expected = c.Moves ? TRect(work.Left, work.Top, work.Left + 240, work.Top + 160) : offScreen;
    EXPECT_EQ(expected, WindowBounds(form.get()));
  }
}

TEST_F(TFormOwnerFixture, AFormAlreadyOnItsMonitorStays) {
  Form->SetPosition(poDesigned);
  Form->SetDefaultMonitor(dmPrimary);
  const TRect work(PrimaryMonitorInfo().rcWork);
  const TRect placed(work.Right - 100, work.Top + 30, work.Right + 140, work.Top + 190);
  Form->SetBoundsRect(placed);
  Form->Show();
  EXPECT_EQ(placed, WindowBounds(Form.get())) << "partly outside, mostly on it";
}

TEST_F(TFormOwnerFixture, ScreenCentreIsTheCentreOfTheDefaultMonitor) {
  Form->SetPosition(poScreenCenter);
  Form->SetDefaultMonitor(dmPrimary);
  Form->SetBounds(-6000, -5000, 241, 161);
  Form->Show();
  const TRect monitor(PrimaryMonitorInfo().rcMonitor);
  const TRect r = WindowBounds(Form.get());
  // Equal margins on both sides, up to the odd pixel.
  EXPECT_LE(std::abs((r.Left - monitor.Left) - (monitor.Right - r.Right)), 1);
  EXPECT_LE(std::abs((r.Top - monitor.Top) - (monitor.Bottom - r.Bottom)), 1);
  EXPECT_EQ(241, r.Width());
}

}  // namespace
