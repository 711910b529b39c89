// The group box.
//
// This is the minimal form of the group box: the class with the properties
// the main window and its form description use (Caption, ParentBackground,
// the four state styles' LookAndFeel), over the class library's group box,
// which draws the frame and caption and holds the child controls.
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "platform/ui/StdCtrls.h"

class TcxGroupBox : public TCustomGroupBox, public TcxEditStylesOwner {
  SK_CLASS(TcxGroupBox, TCustomGroupBox)
 public:
  static void Publish(TPublisher<TcxGroupBox>& P);

  void Create(TComponent* AOwner) override;

  // Whether the parent's background shows through (else the box fills its
  // own colour).
  bool ParentBackground() const { return ControlStyle().Contains(csParentBackground); }
  void SetParentBackground(bool AValue);
};

// Unit start-up: registers the class by name.
void cxGroupBoxInitialization();
