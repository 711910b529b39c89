// Small controls for the tests of the windowed layer: standard windows
// under our control (edit, button), a container and a control that paints
// itself, plus helpers that run the application's loop and make real input.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

#include <functional>
#include <vector>

// A standard EDIT window.
class TTestEdit : public TWinControl {
  SK_CLASS(TTestEdit, TWinControl)
 public:
  void Create(TComponent* AOwner) override;
  std::vector<WORD> KeysDown;
  std::vector<wchar_t> Chars;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
};

// A standard BUTTON window: BN_CLICKED comes back as CN_COMMAND and clicks;
// its caption's accelerator clicks it too.
class TTestButton : public TWinControl {
  SK_CLASS(TTestButton, TWinControl)
 public:
  static void Publish(TPublisher<TTestButton>& P);
  void Create(TComponent* AOwner) override;
  int Downs = 0;
  int Ups = 0;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CNCommand(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++Downs;
    inherited::MouseDown(Button, Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++Ups;
    inherited::MouseUp(Button, Shift, X, Y);
  }
};

// A plain container.
class TTestGroup : public TCustomControl {
  SK_CLASS(TTestGroup, TCustomControl)
 public:
  void Create(TComponent* AOwner) override;
};

// Paints its colour, with a black 10 x 10 square at (5, 5).
class TTestSwatch : public TCustomControl {
  SK_CLASS(TTestSwatch, TCustomControl)
 public:
  void Create(TComponent* AOwner) override;
  int Paints = 0;

 protected:
  void Paint() override;
};

// The same picture without a window.
class TTestGraphic : public TGraphicControl {
  SK_CLASS(TTestGraphic, TGraphicControl)
 public:
  void Create(TComponent* AOwner) override;
  int Paints = 0;

 protected:
  void Paint() override;
};

void RegisterUiTestClasses();

// Runs the application's loop (with its keyboard filters) until APredicate
// holds; false after ATimeoutMs.
bool AppPumpUntil(const std::function<bool()>& APredicate, unsigned ATimeoutMs = 5000);
void AppPumpPending();

// Real input through SendInput.
void PressKey(WORD AKey, bool AShift = false);
void SendClick(const TPoint& AScreenPos);
// Puts the form in front and waits until it is the active window.
bool BringFormToFront(TCustomForm* AForm);
// Moves the mouse (real input) and waits until the system has taken it.
void SendMove(const TPoint& AScreenPos);
