// A shown form for tests of the standard controls, driven by real input:
// messages pass the application's filters (dialog keys, accelerators), as
// in the program's own loop.
#pragma once

#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include "tests/platform_ui/InputScript.h"
#include "tests/support/GuiLeaks.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Records the events bound to it, in order ("click Button1", "change Edit1" ...).
class TEventLog : public TObject {
  SK_CLASS(TEventLog, TObject)
 public:
  std::vector<String> Entries;
  void Clicked(TObject* Sender) { Add(L"click", Sender); }
  void DblClicked(TObject* Sender) { Add(L"dblclick", Sender); }
  void Changed(TObject* Sender) { Add(L"change", Sender); }
  void Selected(TObject* Sender) { Add(L"select", Sender); }
  void Entered(TObject* Sender) { Add(L"enter", Sender); }
  void KeyPressed(TObject* Sender, wchar_t& Key) { Add(String(L"key ") + Key, Sender); }
  void KeyReleased(TObject* Sender, WORD& Key, TShiftState) { Add(L"keyup " + std::to_wstring(Key), Sender); }
  std::size_t Count(const String& AEntry) const;
  void Clear() { Entries.clear(); }

 private:
  void Add(const String& AWhat, TObject* Sender);
};

class StdCtrlsTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the application's message handling until APredicate holds.
  bool Pump(const std::function<bool()>& APredicate, unsigned ATimeoutMs = 5000);
  // Handles what waits now, for ATimeMs (for checks that nothing happens).
  void PumpFor(unsigned ATimeMs);
  // Real input.
  void ClickControl(TControl* AControl);
  void ClickAtClient(TControl* AControl, const TPoint& AClient);
  void Keys(const std::vector<TInputStep>& ASteps);
  // Makes the form the foreground window with AControl focused.
  void FocusOn(TWinControl* AControl);

  template <class T>
  T* Add(const wchar_t* AName, int ALeft, int ATop, TWinControl* AParent = nullptr) {
    T* control = New<T>(FForm);
    control->SetName(AName);
    control->SetLeft(ALeft);
    control->SetTop(ATop);
    control->SetParent(AParent ? AParent : FForm);
    return control;
  }

  TForm* FForm = nullptr;
  TEventLog* FLog = nullptr;
  int FWindows = 0;
};
