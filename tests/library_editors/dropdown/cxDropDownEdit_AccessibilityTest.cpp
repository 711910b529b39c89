// The expand/collapse pattern of a drop-down editor as a UI Automation client
// reaches it through MSAA (Wine has no UI Automation client of its own): the
// node's IServiceProvider gives its IAccessibleEx, whose element provider
// answers the pattern, checked against DroppedDown while real clicks and keys
// open and close the popup.
#include "tests/library_editors/dropdown/DropDownTesting.h"

#include "tests/support/AccessibilityClient.h"

#include <oleacc.h>
#include <servprov.h>

#include <functional>
#include <vector>

namespace {

// UI Automation's ExpandCollapseState values.
constexpr int PatternCollapsed = 0;
constexpr int PatternExpanded = 1;

// The pattern as a UI Automation client finds it behind a window's MSAA node.
TComPtr<IdxExpandCollapseProvider> ExpandCollapseOf(IAccessible* ANode, PATTERNID APattern = UIA_ExpandCollapsePatternId) {
  TComPtr<IServiceProvider> services;
  if (ANode->QueryInterface(__uuidof(IServiceProvider), services.ReceiveVoid()) != S_OK) return {};
  TComPtr<IAccessibleEx> ex;
  if (services->QueryService(__uuidof(IAccessibleEx), __uuidof(IAccessibleEx), ex.ReceiveVoid()) != S_OK) return {};
  TComPtr<IRawElementProviderSimple> element;
  if (ex->QueryInterface(__uuidof(IRawElementProviderSimple), element.ReceiveVoid()) != S_OK) return {};
  TComPtr<IUnknown> pattern;
  if (element->GetPatternProvider(APattern, pattern.Receive()) != S_OK || !pattern) return {};
  TComPtr<IdxExpandCollapseProvider> result;
  if (pattern->QueryInterface(__uuidof(IdxExpandCollapseProvider), result.ReceiveVoid()) != S_OK) return {};
  return result;
}

int StateOf(IdxExpandCollapseProvider* AProvider) {
  int state = -1;
  EXPECT_EQ(AProvider->get_ExpandCollapseState(&state), S_OK);
  return state;
}

std::vector<bool> GPatternRaised;
void RecordPatternRaised(TcxCustomDropDownEdit*, bool AExpanded) { GPatternRaised.push_back(AExpanded); }

TEST_F(DropDownEditOnForm, TheExpandCollapsePatternFollowsAndDrivesDroppedDown) {
  GPatternRaised.clear();
  const TcxExpandCollapseRaiser previous = cxSetExpandCollapseRaiser(&RecordPatternRaised);
  TScopeExit restore([&] { cxSetExpandCollapseRaiser(previous); });
  TComPtr<IAccessible> node = AccessibleClientOf(Edit->Handle());
  ASSERT_TRUE(node);
  TComPtr<IdxExpandCollapseProvider> pattern = ExpandCollapseOf(node.Get());
  ASSERT_TRUE(pattern);
  EXPECT_FALSE(ExpandCollapseOf(node.Get(), UIA_TogglePatternId)) << "a drop-down editor is no toggle";
  FocusEdit();

  // Each step, then whether the popup shows and what the pattern reads.
  const struct {
    const char* Name;
    std::function<void()> Step;
    bool Dropped;
  } rows[] = {
      {"closed at first", [] {}, false},
      {"Expand", [&] { EXPECT_EQ(pattern->Expand(), S_OK); }, true},
      {"Expand again keeps it open", [&] { EXPECT_EQ(pattern->Expand(), S_OK); }, true},
      {"Escape typed", [&] { Keys({VK_ESCAPE}); }, false},
      {"F4 typed", [&] { Keys({VK_F4}); }, true},
      {"Collapse", [&] { EXPECT_EQ(pattern->Collapse(), S_OK); }, false},
      {"Collapse again", [&] { EXPECT_EQ(pattern->Collapse(), S_OK); }, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    row.Step();
    PumpUntil([&] { return Edit->DroppedDown() == row.Dropped; }, 2000);
    PumpPending();
    EXPECT_EQ(Edit->DroppedDown(), row.Dropped);
    EXPECT_EQ(StateOf(pattern.Get()), row.Dropped ? PatternExpanded : PatternCollapsed);
  }
  // Opened by the pattern, by F4; closed by Escape, by the pattern.
  EXPECT_EQ(GPatternRaised, (std::vector<bool>{true, false, true, false}));
}

TEST_F(DropDownEditOnForm, ThePatternOfAFreedEditorFailsInsteadOfReachingIt) {
  TComPtr<IAccessible> node = AccessibleClientOf(Edit->Handle());
  ASSERT_TRUE(node);
  TComPtr<IdxExpandCollapseProvider> pattern = ExpandCollapseOf(node.Get());
  ASSERT_TRUE(pattern);
  Edit->Free();
  Edit = nullptr;
  int state = PatternExpanded;
  EXPECT_EQ(pattern->get_ExpandCollapseState(&state), E_FAIL);
  EXPECT_EQ(pattern->Expand(), E_FAIL);
  EXPECT_EQ(pattern->Collapse(), E_FAIL);
}

}  // namespace
