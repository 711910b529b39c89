// The list box.
//
// This is the minimal form of the list box: the class with the properties the
// main window and its form description use (Items, Clear, ExtendedSelect,
// ItemHeight, the four state styles' LookAndFeel), over the class library's
// list box, which draws its items and scrolls itself.
#pragma once

#include "library/editors/cxEdit.h"
#include "platform/ui/StdCtrls.h"

class TcxListBox : public TCustomListBox {
  SK_CLASS(TcxListBox, TCustomListBox)
 public:
  static void Publish(TPublisher<TcxListBox>& P);

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
void cxListBoxInitialization();
