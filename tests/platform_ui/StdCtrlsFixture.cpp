#include "tests/platform_ui/StdCtrlsFixture.h"

#include "tests/support/PumpUntil.h"

std::size_t TEventLog::Count(const String& AEntry) const {
  return static_cast<std::size_t>(std::count(Entries.begin(), Entries.end(), AEntry));
}

void TEventLog::Add(const String& AWhat, TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  Entries.push_back(AWhat + L" " + (component ? component->Name() : String(L"?")));
}

void StdCtrlsTest::SetUp() {
  FWindows = ThreadWindowCount();
  FLog = New<TEventLog>();
  FForm = New<TForm>(nullptr);
  FForm->SetName(L"TestForm");
  FForm->SetBounds(100, 100, 440, 340);
  FForm->SetCaption(L"StdCtrls");
  FForm->Show();
  SetForegroundWindow(FForm->Handle());
  Pump([this] { return GetForegroundWindow() == FForm->Handle(); }, 2000);
}

void StdCtrlsTest::TearDown() {
  FreeAndNil(FForm);
  FreeAndNil(FLog);
  PumpPending();
  EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
}

bool StdCtrlsTest::Pump(const std::function<bool()>& APredicate, unsigned ATimeoutMs) {
  TApplication* app = Application();
  return PumpUntilWith(
      [app] {
        if (app) app->ProcessMessages();
        else PumpPending();
        return true;
      },
      APredicate, ATimeoutMs, 50);
}

void StdCtrlsTest::PumpFor(unsigned ATimeMs) {
  Pump([] { return false; }, ATimeMs);
}

void StdCtrlsTest::ClickAtClient(TControl* AControl, const TPoint& AClient) {
  const TPoint p = AControl->ClientToScreen(AClient);
  ClickAt(POINT{p.X, p.Y});
}

void StdCtrlsTest::ClickControl(TControl* AControl) {
  ClickAtClient(AControl, TPoint(AControl->Width() / 2, AControl->Height() / 2));
}

void StdCtrlsTest::Keys(const std::vector<TInputStep>& ASteps) { SendSteps(ASteps); }

void StdCtrlsTest::FocusOn(TWinControl* AControl) {
  SetForegroundWindow(FForm->Handle());
  AControl->SetFocus();
  Pump([AControl] { return AControl->Focused(); }, 2000);
}
