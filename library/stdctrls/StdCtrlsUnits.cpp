#include "library/stdctrls/StdCtrlsUnits.h"

#include "library/stdctrls/cxButtons.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxCheckComboBox.h"
#include "library/stdctrls/cxCheckGroup.h"
#include "library/stdctrls/cxExtEditConsts.h"
#include "library/stdctrls/cxGroupBox.h"
#include "library/stdctrls/cxImageComboBox.h"
#include "library/stdctrls/cxLabel.h"
#include "library/stdctrls/cxListBox.h"
#include "library/stdctrls/cxProgressBar.h"
#include "library/stdctrls/cxRadioGroup.h"
#include "library/stdctrls/dxActivityIndicator.h"

std::span<const TUnit> LibraryStdCtrlsUnits() {
  // Each entry: {name, initialization, finalization}, in link order.
  static constexpr TUnit units[] = {
      {L"cxExtEditConsts", &cxExtEditConstsInitialization, &cxExtEditConstsFinalization},
      {L"cxProgressBar", &cxProgressBarInitialization, &cxProgressBarFinalization},
      {L"dxActivityIndicator", &dxActivityIndicatorInitialization, &dxActivityIndicatorFinalization},
      {L"cxCheckBox", &cxCheckBoxInitialization, &cxCheckBoxFinalization},
      {L"cxGroupBox", &cxGroupBoxInitialization, nullptr},
      {L"cxButtons", &cxButtonsInitialization, nullptr},
      {L"cxListBox", &cxListBoxInitialization, &cxListBoxFinalization},
      {L"cxLabel", &cxLabelInitialization, &cxLabelFinalization},
      {L"cxRadioGroup", &cxRadioGroupInitialization, nullptr},
      {L"cxCheckComboBox", &cxCheckComboBoxInitialization, &cxCheckComboBoxFinalization},
      {L"cxCheckGroup", &cxCheckGroupInitialization, &cxCheckGroupFinalization},
      {L"cxImageComboBox", &cxImageComboBoxInitialization, &cxImageComboBoxFinalization},
  };
  return units;
}
