// The drop-down editor's opening and closing: the posted open request, the
// close-up reasons of every key and of focus loss, the order of the events,
// the properties' size rules and what MSAA clients read.
#include "tests/library_editors/dropdown/DropDownTesting.h"

#include "tests/support/AccessibilityClient.h"

#include <oleacc.h>

namespace {

TEST(DropDownEditProperties, PopupSizesFollowTheirMinimums) {
  TOwned<TcxCustomDropDownEditProperties> p{New<TcxCustomDropDownEditProperties>(static_cast<TPersistent*>(nullptr))};
  EXPECT_EQ(p->Buttons()->Count(), 1);
  EXPECT_EQ(p->Buttons()->Items(0)->Kind(), bkDown);
  p->SetPopupMinWidth(100);
  p->SetPopupWidth(50);
  EXPECT_EQ(p->PopupWidth(), 100);
  p->SetPopupWidth(0);
  EXPECT_EQ(p->PopupWidth(), 0) << "0 stands for the editor's width";
  p->SetPopupWidth(-5);
  EXPECT_EQ(p->PopupWidth(), 0);
  p->SetPopupMinHeight(-3);
  EXPECT_EQ(p->PopupMinHeight(), 0);
  p->SetPopupHeight(40);
  p->SetPopupMinHeight(60);
  EXPECT_EQ(p->PopupHeight(), 60) << "a new minimum raises the height";
  p->SetPopupAlignment(taRightJustify);
  EXPECT_EQ(p->PopupHorzAlignment(), pahRight);
}

TEST_F(DropDownEditOnForm, OpeningWaitsForThePostedRequestAndASecondOneIsIgnored) {
  Edit->SetDroppedDown(true);
  EXPECT_FALSE(Edit->DroppedDown()) << "the window opens when the posted request arrives";
  EXPECT_TRUE(Edit->IsOpenPending());
  Edit->SetDroppedDown(true);
  EXPECT_EQ(Edit->PrepareCount, 1) << "a request while one waits changes nothing";
  ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); })) << testing::PrintToString(Edit->Log);
  EXPECT_FALSE(Edit->IsOpenPending());
  EXPECT_EQ(Edit->Log, (std::vector<std::wstring>{L"InitPopup hidden", L"Popup shown"}));
  Edit->SetDroppedDown(false);
  EXPECT_FALSE(Edit->WindowShown());
  EXPECT_EQ(Edit->CloseUpReason(), crUnknown);
}

TEST_F(DropDownEditOnForm, NothingToShowRunsInitAndFinalizeOnly) {
  Edit->Content = false;
  Edit->SetDroppedDown(true);
  PumpFor(50);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_FALSE(Edit->PopupInitialized());
  EXPECT_EQ(Edit->Log, (std::vector<std::wstring>{L"InitPopup hidden", L"FinalizePopup hidden"}));
}

TEST_F(DropDownEditOnForm, AHiddenEditorDoesNotOpen) {
  Edit->SetVisible(false);
  Edit->SetDroppedDown(true);
  PumpFor(50);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_TRUE(Edit->Log.empty());
}

TEST_F(DropDownEditOnForm, TheFirstCloseReasonIsKept) {
  ASSERT_TRUE(OpenAndWait());
  Edit->CloseAgainWhileClosing = true;
  Edit->ClosePopup(crEnter);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(Edit->CloseUpReason(), crEnter);
  EXPECT_EQ(std::count(Edit->Log.begin(), Edit->Log.end(), L"ClosePopup crEnter hidden"), 1);
  EXPECT_EQ(std::count(Edit->Log.begin(), Edit->Log.end(), L"ClosePopup crCancel hidden"), 0);
}

TEST_F(DropDownEditOnForm, EventsComeInOrderForEnterAndEscape) {
  struct TCase {
    WORD Key;
    std::vector<std::wstring> Expected;
  };
  const TCase cases[] = {
      {VK_RETURN,
       {L"InitPopup hidden", L"Popup shown", L"FinalizePopup hidden", L"ClosePopup crEnter hidden", L"CloseUp hidden"}},
      {VK_ESCAPE,
       {L"InitPopup hidden", L"Popup shown", L"FinalizePopup hidden", L"ClosePopup crCancel hidden",
        L"CloseUp hidden"}},
  };
  FocusEdit();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key);
    Edit->Log.clear();
    Keys({VK_F4});
    ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
    Keys({c.Key});
    ASSERT_TRUE(PumpUntil([&] { return !Edit->DroppedDown(); }));
    EXPECT_EQ(Edit->Log, c.Expected);
  }
}

TEST_F(DropDownEditOnForm, KeysOpenAndCloseWithTheirReasons) {
  struct TCase {
    const char* Name;
    std::initializer_list<WORD> Open;
    std::initializer_list<WORD> Close;
    bool PostOnTab;
    TcxEditCloseUpReason Reason;
  };
  const TCase cases[] = {
      {"F4, F4", {VK_F4}, {VK_F4}, false, crClose},
      {"Alt+Down, Alt+Up", {VK_MENU, VK_DOWN}, {VK_MENU, VK_UP}, false, crClose},
      {"Alt+Down, Alt+Down", {VK_MENU, VK_DOWN}, {VK_MENU, VK_DOWN}, false, crClose},
      {"F4, Enter", {VK_F4}, {VK_RETURN}, false, crEnter},
      {"F4, Escape", {VK_F4}, {VK_ESCAPE}, false, crCancel},
      {"F4, Tab posting on Tab", {VK_F4}, {VK_TAB}, true, crTab},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit->Properties()->SetPostPopupValueOnTab(c.PostOnTab);
    FocusEdit();
    Edit->Log.clear();
    Keys(c.Open);
    ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
    Keys(c.Close);
    ASSERT_TRUE(PumpUntil([&] { return !Edit->DroppedDown(); }));
    EXPECT_EQ(Edit->CloseUpReason(), c.Reason);
  }
}

TEST_F(DropDownEditOnForm, FocusLeavingClosesWithoutAReason) {
  FocusEdit();
  Keys({VK_F4});
  ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
  Other->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return !Edit->DroppedDown(); }));
  EXPECT_EQ(Edit->CloseUpReason(), crUnknown);
  EXPECT_FALSE(Edit->PopupInitialized());
}

TEST_F(DropDownEditOnForm, TheButtonOpensAndClosesThePopup) {
  FocusEdit();
  const TRect b = Edit->ViewInfo()->ButtonsInfo.at(0)->Bounds;
  POINT p{(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2};
  ClientToScreen(Edit->Handle(), &p);
  const TPoint centre(p.x, p.y);
  SendMouseSteps({{centre, MOUSEEVENTF_LEFTDOWN}, {centre, MOUSEEVENTF_LEFTUP}});
  ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
  SendMouseSteps({{centre, MOUSEEVENTF_LEFTDOWN}, {centre, MOUSEEVENTF_LEFTUP}});
  ASSERT_TRUE(PumpUntil([&] { return !Edit->DroppedDown(); }));
  PumpFor(100);
  EXPECT_FALSE(Edit->DroppedDown()) << "the press that closed the popup does not open it again";
}

TEST_F(DropDownEditOnForm, AccessibilityReportsAComboBoxExpandedOrCollapsed) {
  TComPtr<IAccessible> node = AccessibleClientOf(Edit->Handle());
  ASSERT_TRUE(node);
  const VARIANT self = AccessibleChild(CHILDID_SELF);
  VARIANT role;
  VariantInit(&role);
  ASSERT_EQ(node->get_accRole(self, &role), S_OK);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_COMBOBOX);
  const auto state = [&] {
    VARIANT v;
    VariantInit(&v);
    node->get_accState(self, &v);
    return v.lVal;
  };
  const auto action = [&] {
    BSTR text = nullptr;
    node->get_accDefaultAction(self, &text);
    return TakeBstr(text);
  };
  EXPECT_TRUE(state() & STATE_SYSTEM_COLLAPSED);
  EXPECT_EQ(action(), L"Open");
  ASSERT_EQ(node->accDoDefaultAction(self), S_OK);
  ASSERT_TRUE(PumpUntil([&] { return Edit->DroppedDown(); }));
  EXPECT_TRUE(state() & STATE_SYSTEM_EXPANDED);
  EXPECT_FALSE(state() & STATE_SYSTEM_COLLAPSED);
  EXPECT_EQ(action(), L"Close");
  ASSERT_EQ(node->accDoDefaultAction(self), S_OK);
  PumpPending();
  EXPECT_FALSE(Edit->DroppedDown());
}

// The expand/collapse raiser sees each opening and closing.
std::vector<bool> GRaisedStates;
void RecordRaised(TcxCustomDropDownEdit*, bool AExpanded) { GRaisedStates.push_back(AExpanded); }

TEST_F(DropDownEditOnForm, OpeningAndClosingRaiseTheExpandCollapseChange) {
  GRaisedStates.clear();
  const TcxExpandCollapseRaiser previous = cxSetExpandCollapseRaiser(&RecordRaised);
  TScopeExit restore([&] { cxSetExpandCollapseRaiser(previous); });
  ASSERT_TRUE(OpenAndWait());
  Edit->ClosePopup(crClose);
  EXPECT_EQ(GRaisedStates, (std::vector<bool>{true, false}));
}

}  // namespace
