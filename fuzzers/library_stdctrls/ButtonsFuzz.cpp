// Fuzzing drivers of the standard controls.
//   button-accessibility  random MSAA calls at a push button's accessibility
//                   node: plain or split button, enabled or not, child
//                   identifiers over the whole Integer range, every VARIANT
//                   type, navigation codes out of range; then the button
//                   freed and the node asked again. Every answer is an
//                   HRESULT of the node's set, a bad child E_INVALIDARG, and
//                   after the button is gone DISP_E_MEMBERNOTFOUND.
//   list-accessibility  the same at the item list's node while its items
//                   come and go (ListBoxFuzz.h).
//   progressbar-settings, label-settings  random settings of a progress bar
//                   and a label, each painted (ProgressBarFuzz.h, LabelFuzz.h).
//   check-states    EditValueToCheckStates on values built from the input in
//                   every format for 0..70 items (CheckStatesFuzz.h).
// Run one with: tools/fuzz library_stdctrls -- button-accessibility --rounds 100000
#include "fuzzers/library_stdctrls/CheckStatesFuzz.h"
#include "fuzzers/library_stdctrls/LabelFuzz.h"
#include "fuzzers/library_stdctrls/ListBoxFuzz.h"
#include "fuzzers/library_stdctrls/ProgressBarFuzz.h"
#include "fuzzers/support/AccessibilityInput.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/controls/ControlsUnits.h"
#include "library/core/CoreUnits.h"
#include "library/editors/EditorsUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/lookandfeel/LookAndFeelUnits.h"
#include "library/stdctrls/StdCtrlsUnits.h"
#include "library/stdctrls/cxButtons.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiUnits.h"

#include <oleauto.h>

#include <cstring>

namespace {

std::vector<std::string> ButtonAccessibilitySeeds() {
  return {std::string("\x02\x01\x00\x03\x01\x00\x00\x00\x0b\x03\x00\x00\x00\x00", 14),
          std::string("\x00\x00\x05\x03\xff\xff\xff\xff\x09\x0c\x02\x03\x01\x00\x00\x00", 16)};
}

// One form for every input (the button's window needs a parent), made and
// freed by the program while the units run.
TForm* GForm = nullptr;
TForm* SharedForm() { return GForm; }

void RunButtonAccessibility(const std::string& AInput) {
  TInputReader reader(AInput);
  auto* button = New<TcxButton>(SharedForm());
  button->SetParent(SharedForm());
  button->SetCaption(L"Go");
  const std::uint32_t setup = reader.Next(1);
  if (setup & 1) button->SetKind(cxbkDropDownButton);
  if (setup & 2) button->SetEnabled(false);
  const int children = button->Kind() == cxbkDropDownButton ? 1 : 0;
  auto* node = New<TdxButtonAccessibilityHelper>(button);
  const TComPtr<IAccessible> object(static_cast<IAccessible*>(node));
  bool gone = false;
  while (reader.More()) {
    // The button's own click runs no handler here; the arrow's posts a menu
    // request that no loop takes.
    const std::uint32_t op = reader.Next(1) % (AccessibleCallCount + 1);
    VARIANT child = MakeVariant(reader);
    if (op < AccessibleCallCount) {
      CheckAccessibleAnswer(CallAccessible(object.Get(), op, child, reader), child, children, gone);
    } else {
      if (!gone) {
        node->OwnerObjectDestroyed();
        button->Free();
      }
      gone = true;
    }
    VariantClear(&child);
  }
  if (!gone) {
    node->OwnerObjectDestroyed();
    button->Free();
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits(), LibraryLookAndFeelUnits(),
                   LibraryControlsUnits(), LibraryEditorsUnits(), LibraryStdCtrlsUnits()});
  static const TFuzzDriver drivers[] = {
      {L"button-accessibility", &ButtonAccessibilitySeeds, &RunButtonAccessibility},
      {L"list-accessibility", &ListBoxAccessibilitySeeds,
       [](const std::string& AInput) { RunListBoxAccessibility(AInput, SharedForm()); }},
      {L"progressbar-settings", &ProgressBarSettingsSeeds,
       [](const std::string& AInput) { RunProgressBarSettings(AInput, SharedForm()); }},
      {L"label-settings", &LabelSettingsSeeds,
       [](const std::string& AInput) { RunLabelSettings(AInput, SharedForm()); }},
      {L"check-states", &CheckStatesSeeds, &RunCheckStates},
  };
  int result = 0;
  {
    const TOwned<TForm> form(NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); }));
    GForm = form.get();
    result = RunFuzzDrivers(argc, argv, drivers);
    GForm = nullptr;
  }
  FinalizeUnits();
  return result;
}
