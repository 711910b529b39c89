// The expand/collapse pattern of a drop-down editor's accessibility node: the
// UI Automation bridge reaches it through IAccessibleEx.
#include "library/editors/dropdown/cxDropDownEdit.h"

namespace {
// UI Automation's ExpandCollapseState values.
constexpr int ExpandCollapseCollapsed = 0;
constexpr int ExpandCollapseExpanded = 1;
}  // namespace

// A client may keep the pattern after the editor is gone: the call then
// fails (E_FAIL) instead of reaching the freed editor.
TcxCustomDropDownEdit* TdxCustomDropDownExpandCollapseProvider::Edit() const {
  if (!Owner()->IsOwnerObjectLive()) throw EInvalidOperation(L"The drop-down editor no longer exists");
  return FEdit;
}

void TdxCustomDropDownExpandCollapseProvider::DoCollapse() { Edit()->SetDroppedDown(false); }

void TdxCustomDropDownExpandCollapseProvider::DoExpand() { Edit()->SetDroppedDown(true); }

int TdxCustomDropDownExpandCollapseProvider::GetExpandCollapseState() {
  return Edit()->DroppedDown() ? ExpandCollapseExpanded : ExpandCollapseCollapsed;
}

void TdxCustomDropDownEditAccessibilityHelper::Destroy() {
  FExpandCollapseProvider.reset();
  inherited::Destroy();
}

bool TdxCustomDropDownEditAccessibilityHelper::GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider,
                                                                   int AChildID) {
  if (APatternID != UIA_ExpandCollapsePatternId || AChildID != CHILDID_SELF)
    return inherited::GetPatternProvider(APatternID, AProvider, AChildID);
  if (!FExpandCollapseProvider)
    FExpandCollapseProvider = std::make_unique<TdxCustomDropDownExpandCollapseProvider>(this, DropDownEdit());
  AProvider = TComPtr<IUnknown>(static_cast<IdxExpandCollapseProvider*>(FExpandCollapseProvider.get()));
  return true;
}
