// What the text editor tests share: properties that answer an editing style
// as a combo box's list style does, until the combo box itself exists.
#pragma once

#include "library/editors/text/cxTextEdit.h"

class TTextEditListStyleProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TTextEditListStyleProperties, TcxCustomTextEditProperties)
 public:
  TcxEditEditingStyle GetEditingStyle() override { return FStyle; }
  void SetStyle(TcxEditEditingStyle AValue) {
    if (FStyle == AValue) return;
    FStyle = AValue;
    Changed();
  }

 private:
  TcxEditEditingStyle FStyle = esEdit;
};
