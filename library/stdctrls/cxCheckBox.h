// The check box.
//
// This is the minimal form of the check box: the class with the properties
// the main window, its form description and the settings store use (Caption,
// Checked, Enabled, Visible, the four state styles' LookAndFeel), over the
// class library's check box. Like the library's own it sizes itself to its
// caption (AutoSize).
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "platform/ui/StdCtrls.h"

class TcxCheckBox : public TCustomCheckBox, public TcxEditStylesOwner {
  SK_CLASS(TcxCheckBox, TCustomCheckBox)
 public:
  static void Publish(TPublisher<TcxCheckBox>& P);

  void Create(TComponent* AOwner) override;

  // True exactly when the state is checked; writing sets checked or unchecked.
  bool Checked() const { return inherited::Checked(); }
  void SetChecked(bool AValue) override { inherited::SetChecked(AValue); }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue);

 protected:
  void Loaded() override;
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  // The size that shows the box and the whole caption.
  void AdjustToCaption();

  bool FAutoSize;
};

// Unit start-up: registers the class by name.
void cxCheckBoxInitialization();
