// The editors' shared routines and process-wide lists.
#include "library/editors/edit/cxEdit.h"

#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEdit_Internal.h"
#include "library/graphics/canvas/cxGraphics.h"

#include <array>

namespace {

bool IsStringVariant(const Variant& V) { return VarIsStr(V); }

TOwned<TcxRegisteredClasses>& RegisteredEditPropertiesStore() {
  static TOwned<TcxRegisteredClasses> registry;
  return registry;
}

std::function<void()>& ErrorBeep() {
  static std::function<void()> beep;
  return beep;
}

}  // namespace

bool EditValuesComparable(const Variant& A, const Variant& B) {
  return (VarIsNumericOrBcd(A) && VarIsNumericOrBcd(B)) || A.VType() == B.VType() ||
         (IsStringVariant(A) && IsStringVariant(B));
}

bool EditValuesEqual(const Variant& A, const Variant& B) {
  return EditValuesComparable(A, B) && VariantsEqualBooleanAware(A, B);
}

bool IsSameEditValue(const Variant& A, const Variant& B) {
  return A.VType() == B.VType() && VariantsEqualBooleanAware(A, B);
}

// The tables hold the three buttons a mouse has; an extra button (or a
// number past 3) has no shift state rather than whatever lies past the table.
TShiftState MouseButtonToShift(TMouseButton AButton) {
  static const std::array<TShiftState, 3> shifts = {TShiftState{ssLeft}, TShiftState{ssRight}, TShiftState{ssMiddle}};
  const auto index = static_cast<std::size_t>(AButton);
  return index < shifts.size() ? shifts[index] : TShiftState();
}

TShiftState ButtonNumberToShift(int ANumber) {
  static const std::array<TShiftState, 4> shifts = {TShiftState(), TShiftState{ssLeft}, TShiftState{ssRight},
                                                    TShiftState{ssMiddle}};
  return ANumber >= 0 && static_cast<std::size_t>(ANumber) < shifts.size() ? shifts[static_cast<std::size_t>(ANumber)]
                                                                            : TShiftState();
}

void ResolveDefaultSelectionColors(TColor& ATextColor, TColor& ABackgroundColor, TColor AStyleColor) {
  const bool textDefault = ATextColor == clDefault;
  if (ABackgroundColor == clDefault) {
    if (textDefault) {
      // On an editor coloured like the selection, the selection would vanish.
      if (AStyleColor == clHighlight) {
        ABackgroundColor = clBlack;
        ATextColor = clWhite;
      } else {
        ABackgroundColor = clHighlight;
        ATextColor = clHighlightText;
      }
    } else {
      ABackgroundColor = InvertColor(ATextColor);
    }
  } else if (textDefault) {
    ATextColor = InvertColor(ABackgroundColor);
  }
}

TComponent* GetPropertiesOwnerComponent(TPersistent* AProperties) {
  for (TPersistent* owner = AProperties; owner; owner = GetPersistentOwner(owner))
    if (auto* component = dynamic_cast<TComponent*>(owner)) return component;
  return nullptr;
}

TcxCustomEdit* GetNonInplaceEdit(TcxCustomEdit* AEdit) { return AEdit && !AEdit->IsInplace() ? AEdit : nullptr; }

LRESULT SendMouseMessage(TWinControl* AReceiver, UINT AMessage, TShiftState AShift, const TPoint& P) {
  const auto lParam = static_cast<LPARAM>(MAKELONG(static_cast<WORD>(P.X), static_cast<WORD>(P.Y)));
  return SendMessageW(AReceiver->Handle(), AMessage, ShiftStateToKeys(AShift), lParam);
}

LRESULT SendEditKeyMessage(TWinControl* AReceiver, UINT AMessage, WORD AKey, TShiftState) {
  return SendMessageW(AReceiver->Handle(), AMessage, AKey, 0);
}

LRESULT SendEditKeyDown(TWinControl* AReceiver, WORD AKey, TShiftState AShift) {
  return SendEditKeyMessage(AReceiver, WM_KEYDOWN, AKey, AShift);
}

LRESULT SendEditKeyPress(TWinControl* AReceiver, wchar_t AKey) {
  return SendEditKeyMessage(AReceiver, WM_CHAR, static_cast<WORD>(AKey), TShiftState());
}

void CombineRegionsOr(HRGN ADest, HRGN ASource) { CombineRgn(ADest, ADest, ASource, RGN_OR); }

bool IsWhiteSpaceChar(wchar_t C) {
  switch (C) {
    case 0: case 9: case 10: case 12: case 13: case 32: return true;
    default: return false;
  }
}

std::vector<TcxCustomEditProperties*>& MutableEditPropertiesList() {
  static std::vector<TcxCustomEditProperties*> list;
  return list;
}

const std::vector<TcxCustomEditProperties*>& EditPropertiesList() { return MutableEditPropertiesList(); }

TcxRegisteredClasses* GetRegisteredEditProperties() {
  auto& registry = RegisteredEditPropertiesStore();
  if (!registry) {
    registry.reset(New<TcxRegisteredClasses>(false));
    registry->SetSorted(true);
  }
  return registry.get();
}

void ReleaseRegisteredEditProperties() { RegisteredEditPropertiesStore().reset(); }

void SetEditErrorBeep(std::function<void()> ABeep) { ErrorBeep() = std::move(ABeep); }

void EditErrorBeep() {
  if (ErrorBeep())
    ErrorBeep()();
  else
    MessageBeep(0);
}

void cxEditInitialization() {
  RegisterClasses({TcxEditStyleController::ClassInfo()});
  CreateDefaultEditStyleController();
}

void cxEditFinalization() {
  ReleaseStandardValidationGlyphs();
  FreeDefaultEditStyleController();
  ReleaseRegisteredEditProperties();
}
