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
    const std::uint32_t op = reader.Next(1) % 18;
    // Counted before the call: a default action changes the selection only.
    const long children = gone ? 0 : list->Count();
    VARIANT child = MakeVariant(reader);
    VARIANT out;
    VariantInit(&out);
    BSTR text = nullptr;
    HRESULT r = S_OK;
    bool takesChild = true;
    switch (op) {
      case 0: r = object->get_accName(child, &text); break;
      case 1: r = object->get_accDescription(child, &text); break;
      case 2: r = object->get_accRole(child, &out); break;
      case 3: r = object->get_accState(child, &out); break;
      case 4: {
        long l, t, w, h;
        r = object->accLocation(&l, &t, &w, &h, child);
        break;
      }
      case 5: r = object->accNavigate(static_cast<long>(reader.Next(4)), child, &out); break;
      case 6:
        takesChild = false;
        r = object->accHitTest(static_cast<long>(reader.Next(4)), static_cast<long>(reader.Next(4)), &out);
        break;
      case 7: {
        IDispatch* dispatch = nullptr;
        r = object->get_accChild(child, &dispatch);
        if (dispatch) dispatch->Release();
        break;
      }
      case 8: r = object->get_accDefaultAction(child, &text); break;
      case 9: r = object->accSelect(static_cast<long>(reader.Next(1)), child); break;
      case 10: r = object->get_accKeyboardShortcut(child, &text); break;
      case 11: r = object->accDoDefaultAction(child); break;
      case 12: r = object->get_accValue(child, &text); break;
      case 13: {
        takesChild = false;
        long count = 0;
        r = object->get_accChildCount(&count);
        if (!gone && r == S_OK && count != children) FuzzInvariantBroken("the child count is not the item count");
        break;
      }
      case 14:
        takesChild = false;
        r = object->get_accFocus(&out);
        break;
      // The items change under the node: an item more, the first one less,
      // or none at all.
      case 15:
        if (!gone) list->Add(L"added");
        VariantClear(&child);
        continue;
      case 16:
        if (!gone && list->Count() > 0) list->Items()->FreeAndDelete(0);
        VariantClear(&child);
        continue;
      case 17:
        if (!gone) {
          node->OwnerObjectDestroyed();
          list->Free();
        }
        gone = true;
        VariantClear(&child);
        continue;
    }
    SysFreeString(text);
    VariantClear(&out);
    CheckAccessibleAnswer(r, gone);
    const bool badChild = child.vt != VT_I4 || child.lVal < 0 || child.lVal > children;
    if (takesChild && badChild && !gone && r != E_INVALIDARG)
      FuzzInvariantBroken("a bad child identifier did not answer E_INVALIDARG");
  }
  if (!gone) {
    node->OwnerObjectDestroyed();
    list->Free();
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
}
