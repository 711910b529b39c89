// The label.
//
// This is the minimal form of the label: the class with the properties the
// main window and its form description use (Caption, the four state styles'
// LookAndFeel), over the class library's label, which draws its caption on
// the parent.
#pragma once

#include "library/editors/cxEdit.h"
#include "platform/ui/StdCtrls.h"

class TcxLabel : public TCustomLabel {
  SK_CLASS(TcxLabel, TCustomLabel)
 public:
  static void Publish(TPublisher<TcxLabel>& P);

  void Create(TComponent* AOwner) override;

  TcxEditStyle* Style() const { return FStyles.Normal(); }
  void SetStyle(TcxEditStyle* AValue) { FStyles.Normal()->Assign(AValue); }
  TcxEditStyle* StyleDisabled() const { return FStyles.Disabled(); }
  void SetStyleDisabled(TcxEditStyle* AValue) { FStyles.Disabled()->Assign(AValue); }
  TcxEditStyle* StyleFocused() const { return FStyles.Focused(); }
  void SetStyleFocused(TcxEditStyle* AValue) { FStyles.Focused()->Assign(AValue); }
  TcxEditStyle* StyleHot() const { return FStyles.Hot(); }
  void SetStyleHot(TcxEditStyle* AValue) { FStyles.Hot()->Assign(AValue); }

 private:
  TcxEditStyles FStyles;
};

// Unit start-up: registers the class by name.
void cxLabelInitialization();
