#include "fuzzers/library_stdctrls/ListBoxFuzz.h"

#include "fuzzers/support/AccessibilityInput.h"
#include "library/stdctrls/cxListBox.h"

#include <string>

std::vector<std::string> ListBoxAccessibilitySeeds() {
  return {std::string("\x03\x01\x00\x03\x02\x00\x00\x00\x0b\x03\x01\x00\x00\x00\x0d\x0e\x03\x03\x00\x00\x00", 21),
          std::string("\x05\x04\x05\x03\xff\xff\xff\xff\x07\x0f\x02\x03\x05\x00\x00\x00\x10", 17)};
}

void RunListBoxAccessibility(const std::string& AInput, TWinControl* AParent) {
  TInputReader reader(AInput);
  auto* list = New<TdxCustomListBox>(AParent);
  list->SetParent(AParent);
  list->SetBounds(0, 0, 120, 60);
  const std::uint32_t setup = reader.Next(1);
  for (std::uint32_t i = 0; i < setup % 8; ++i) list->Add(L"item " + std::to_wstring(i));
  list->SetItemIndex(static_cast<int>(reader.Next(1) % 10) - 1);
  if (setup & 8) list->SetEnabled(false);
  if (setup & 16) list->SetColumns(2);
  auto* node = New<TdxCustomListBoxAccessibilityHelper>(static_cast<TObject*>(list));
  const TComPtr<IAccessible> object(static_cast<IAccessible*>(node));
  bool gone = false;
  while (reader.More()) {
    const std::uint32_t op = reader.Next(1) % (AccessibleCallCount + 3);
    // Counted before the call: a default action changes the selection only.
    const long children = gone ? 0 : list->Count();
    VARIANT child = MakeVariant(reader);
    if (op < AccessibleCallCount) {
      const TAccessibleAnswer answer = CallAccessible(object.Get(), op, child, reader);
      CheckAccessibleAnswer(answer, child, children, gone);
      if (!gone && answer.Result == S_OK && answer.ChildCount >= 0 && answer.ChildCount != children)
        FuzzInvariantBroken("the child count is not the item count");
    } else if (op == AccessibleCallCount) {
      // The items change under the node: an item more, the first one less,
      // or none at all.
      if (!gone) list->Add(L"added");
    } else if (op == AccessibleCallCount + 1) {
      if (!gone && list->Count() > 0) list->Items()->FreeAndDelete(0);
    } else {
      if (!gone) {
        node->OwnerObjectDestroyed();
        list->Free();
      }
      gone = true;
    }
    VariantClear(&child);
  }
  if (!gone) {
    node->OwnerObjectDestroyed();
    list->Free();
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}
