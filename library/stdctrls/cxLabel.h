// The label.
//
// This is the minimal form of the label: the class with the properties the
// main window and its form description use (Caption, the four state styles'
// LookAndFeel). Like the library's own label it is a window of its own that
// never takes the focus, sizes itself to its caption (AutoSize) and draws the
// caption at its top left over the parent's colour.
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "platform/ui/Controls.h"

class TcxLabel : public TCustomControl, public TcxEditStylesOwner {
  SK_CLASS(TcxLabel, TCustomControl)
 public:
  static void Publish(TPublisher<TcxLabel>& P);

  void Create(TComponent* AOwner) override;

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue);

 protected:
  void Paint() override;
  void Loaded() override;
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  void AdjustToCaption();

  bool FAutoSize;
};

// Unit start-up: registers the class by name.
void cxLabelInitialization();
