// Popup sizes across resolutions: the properties keep them at their own
// scale and move them with it; the editor converts them to its scale when it
// sizes the popup and back when the user has resized it.
#include "library/editors/dropdown/cxDropDownEdit.h"

void TcxCustomDropDownEditProperties::ApplyScale(int M, int D) {
  FScaleFactor->Change(M, D);
  // Straight into the fields: the setters would raise a size to a minimum
  // already scaled, and a size never changes the look.
  FPopupMinHeight = MulDiv(FPopupMinHeight, M, D);
  FPopupMinWidth = MulDiv(FPopupMinWidth, M, D);
  FPopupHeight = MulDiv(FPopupHeight, M, D);
  FPopupWidth = MulDiv(FPopupWidth, M, D);
}

void TcxCustomComboBoxProperties::ApplyScale(int M, int D) {
  inherited::ApplyScale(M, D);
  SetItemHeight(MulDiv(ItemHeight(), M, D));
}

void TcxCustomDropDownEdit::ApplyScale(int M, int D, bool AIsDpiChange) {
  inherited::ApplyScale(M, D, AIsDpiChange);
  Properties()->ApplyScale(M, D);
}
