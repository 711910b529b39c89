#include "fuzzers/library_controls/AccessibilityFuzz.h"

#include "fuzzers/support/AccessibilityInput.h"
#include "fuzzers/support/FuzzMain.h"
#include "library/controls/accessibility/cxAccessibility.h"
#include "library/core/base/dxCore.h"

#include <oleauto.h>

#include <cstring>

namespace {

// A list of simple children; names and values raise for every third child.
class TFuzzNode : public TcxAccessibilityHelper {
  SK_CLASS(TFuzzNode, TcxAccessibilityHelper)
 public:
  int Children = 0;
  int Properties = 0;

  int ChildCount() override { return Children; }
  bool ChildIsSimpleElement(int AIndex) override {
    if (AIndex < 0 || AIndex >= Children) throw EdxException(L"child out of range");
    return true;
  }
  String GetName(int AChildID) override {
    if (AChildID % 3 == 2) throw EdxException(L"no name");
    return L"item";
  }
  String GetValue(int AChildID) override {
    if (AChildID % 3 == 1) throw EdxException(L"no value");
    return L"value";
  }
  int GetSupportedProperties(int) override { return Properties; }
  TRect GetScreenBounds(int AChildID) override { return TRect(0, AChildID * 10, 100, AChildID * 10 + 10); }
  int NavigateToChild(int AIndex, TcxAccessibilityNavigationDirection ADirection) override {
    if (ADirection == andNext) throw EdxException(L"no next");
    return inherited::NavigateToChild(AIndex, ADirection);
  }
};

}  // namespace

std::vector<std::string> AccessibilitySeeds() {
  return {std::string("\x05\x7f\x00\x03\x01\x00\x00\x00", 8), std::string("\x03\x08\x04\x03\xff\xff\xff\xff\x09", 9)};
}

void RunAccessibility(const std::string& AInput) {
  TInputReader reader(AInput);
  auto* node = New<TFuzzNode>(nullptr);
  const TComPtr<IAccessible> object(static_cast<IAccessible*>(node));
  node->Children = static_cast<int>(reader.Next(1) % 8);
  node->Properties = static_cast<int>(reader.Next(1) & 0x7F);
  bool ownerGone = false;
  while (reader.More()) {
    const std::uint32_t op = reader.Next(1) % (AccessibleCallCount + 1);
    VARIANT child = MakeVariant(reader);
    if (op < AccessibleCallCount) {
      CheckAccessibleAnswer(CallAccessible(object.Get(), op, child, reader), child, node->Children, ownerGone);
    } else {
      if (!ownerGone) node->OwnerObjectDestroyed();
      ownerGone = true;
    }
    VariantClear(&child);
  }
}
