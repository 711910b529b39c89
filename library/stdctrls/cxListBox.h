// The list box.
//
// This is the minimal form of the list box: the class with the properties the
// main window and its form description use (Items, Clear, ExtendedSelect,
// ItemHeight, the four state styles' LookAndFeel), over the class library's
// list box, which draws its items and scrolls itself.
#pragma once

#include "library/editors/cxEdit.h"
#include "platform/ui/StdCtrls.h"

class TcxListBox : public TCustomListBox, public TcxEditStylesOwner {
  SK_CLASS(TcxListBox, TCustomListBox)
 public:
  static void Publish(TPublisher<TcxListBox>& P);

  void Create(TComponent* AOwner) override;

  // The state styles, not the list box's item style.
  using TcxEditStylesOwner::Style;
  using TcxEditStylesOwner::SetStyle;
};

// Unit start-up: registers the class by name.
void cxListBoxInitialization();
