// Editor layout: border and buttons extents, button styles and the default
// button width against the system's own measures.
#include "library/editors/edit/cxEdit.h"

#include "library/core/system/dxDPIAwareUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TLayoutTestEdit : public TcxCustomEdit {
  SK_CLASS(TLayoutTestEdit, TcxCustomEdit)
};

// An ultra-flat, non-native standalone editor with one drop-down button, as
// the main window's combo boxes are set up.
struct TLayoutFixture {
  TOwned<TLayoutTestEdit> Edit{New<TLayoutTestEdit>(nullptr)};
  TLayoutFixture() {
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    Edit->ActiveProperties()->Buttons()->Add()->SetKind(bkDown);
  }
  TOwned<TcxCustomEditViewData> ViewData(bool AIsInplace = false) {
    TOwned<TcxCustomEditViewData> result = Edit->ActiveProperties()->CreateViewData(Edit->Style(), AIsInplace);
    result->SetEdit(Edit.get());
    return result;
  }
};

int SystemMetricForDpi(int AIndex, int ADpi) {
  using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
  const auto forDpi = reinterpret_cast<TGetSystemMetricsForDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
  return forDpi ? forDpi(AIndex, static_cast<UINT>(ADpi)) : -1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Border extent

TEST(cxEditViewDataBorders, TheExtentFollowsTransparencyBorderStyleEdgesAndShadow) {
  struct Row {
    const char* Name;
    bool TransparentBorder;
    TcxEditBorderStyle BorderStyle;
    TcxBorders Edges;
    bool Shadow;
    TRect Expected;
  };
  const TcxBorders all{bLeft, bTop, bRight, bBottom};
  const Row rows[] = {
      // The frame lies a pixel inside the bounds, the outer ring belongs to the parent.
      {"transparent border (the default)", true, ebsUltraFlat, all, false, TRect(2, 2, 2, 2)},
      {"transparent border without a border style", true, ebsNone, all, false, TRect(2, 2, 2, 2)},
      {"transparent border with a thick border", true, ebsThick, all, false, TRect(2, 2, 2, 2)},
      {"ultra-flat frame", false, ebsUltraFlat, all, false, TRect(1, 1, 1, 1)},
      {"office frame", false, ebsOffice11, all, false, TRect(1, 1, 1, 1)},
      {"single frame", false, ebsSingle, all, false, TRect(1, 1, 1, 1)},
      {"thick frame", false, ebsThick, all, false, TRect(2, 2, 2, 2)},
      {"3D frame", false, ebs3D, all, false, TRect(2, 2, 2, 2)},
      {"no frame", false, ebsNone, all, false, TRect(0, 0, 0, 0)},
      {"left and top edges only", false, ebsUltraFlat, TcxBorders{bLeft, bTop}, false, TRect(1, 1, 0, 0)},
      {"ultra-flat frame with a shadow", false, ebsUltraFlat, all, true, TRect(1, 1, 4, 4)},
      {"no frame with a shadow", false, ebsNone, all, true, TRect(0, 0, 3, 3)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TLayoutFixture f;
    EXPECT_TRUE(f.Edit->Style()->TransparentBorder()) << "the default a form description relies on";
    f.Edit->Style()->SetTransparentBorder(row.TransparentBorder);
    f.Edit->Style()->SetBorderStyle(row.BorderStyle);
    f.Edit->Style()->SetEdges(row.Edges);
    f.Edit->Style()->SetShadow(row.Shadow);
    auto vd = f.ViewData();
    EXPECT_EQ(vd->GetBorderExtent(), row.Expected);
    // Not native, the buttons sit inside the same ring.
    EXPECT_EQ(vd->GetButtonsExtent(nullptr), row.Expected);
  }
}

TEST(cxEditViewDataBorders, AnInplaceEditorIsBorderedByItsContentOffset) {
  TLayoutFixture f;
  auto vd = f.ViewData(true);
  EXPECT_EQ(vd->GetBorderExtent(), TRect(0, 0, 0, 0));
  EXPECT_EQ(vd->GetBorderStyle(), ebsNone);
  vd->ContentOffset = TRect(3, 1, 2, 4);
  EXPECT_EQ(vd->GetBorderExtent(), TRect(3, 1, 2, 4));
}

TEST(cxEditViewDataBorders, ATransparentEditorDrawsNoFrame) {
  TLayoutFixture f;
  f.Edit->Style()->SetTransparentBorder(false);
  f.Edit->ActiveProperties()->SetTransparent(true);
  EXPECT_EQ(f.ViewData()->GetBorderExtent(), TRect(0, 0, 0, 0));
}

// ---------------------------------------------------------------------------
// Styles and content parameters

TEST(cxEditViewDataStyles, TheButtonStyleComesFromTheBorderStyleOrTheLookAndFeelKind) {
  struct Row {
    const char* Name;
    TcxEditButtonStyle Assigned;
    TcxEditBorderStyle BorderStyle;
    bool Inplace;
    TcxLookAndFeelKind Kind;
    TcxEditButtonStyle Expected;
  };
  const Row rows[] = {
      {"the main window's combo box", btsDefault, ebsUltraFlat, false, lfUltraFlat, btsUltraFlat},
      {"an assigned style wins", bts3D, ebsUltraFlat, false, lfUltraFlat, bts3D},
      {"a single border gives hot-flat buttons", btsDefault, ebsSingle, false, lfFlat, btsHotFlat},
      {"no border gives simple buttons", btsDefault, ebsNone, false, lfUltraFlat, btsSimple},
      {"a thick border gives 3D buttons", btsDefault, ebsThick, false, lfFlat, bts3D},
      {"in place: the flat kind", btsDefault, ebsUltraFlat, true, lfFlat, btsFlat},
      {"in place: the standard kind", btsDefault, ebsUltraFlat, true, lfStandard, bts3D},
      {"in place: the office kind", btsDefault, ebsSingle, true, lfOffice11, btsOffice11},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TLayoutFixture f;
    f.Edit->Style()->LookAndFeel()->SetKind(row.Kind);
    f.Edit->Style()->SetButtonStyle(row.Assigned);
    f.Edit->Style()->SetBorderStyle(row.BorderStyle);
    EXPECT_EQ(f.ViewData(row.Inplace)->GetEffectiveButtonStyle(), row.Expected);
  }
}

TEST(cxEditViewDataStyles, ContentParametersOfStandaloneAndInplaceEditors) {
  TLayoutFixture f;
  auto standalone = f.ViewData(false);
  EXPECT_EQ(standalone->EditContentParams.Offsets, TRect(1, 1, 1, 3));
  EXPECT_EQ(standalone->EditContentParams.SizeCorrection, TSize(1, 0));
  EXPECT_TRUE(standalone->EditContentParams.Options.Contains(ecoOffsetButtonContent));
  EXPECT_EQ(standalone->GetEditContentSizeCorrection(), TSize(1 + 1 + 1, 1 + 3 + 0));
  auto inplace = f.ViewData(true);
  EXPECT_EQ(inplace->EditContentParams.Offsets, TRect(1, 1, 1, 1));
  EXPECT_EQ(inplace->GetEditContentSizeCorrection(), TSize(3, 2));
  EXPECT_EQ(inplace->ButtonVisibleCount, 1);
  EXPECT_TRUE(inplace->Enabled);
  EXPECT_EQ(inplace->SelTextColor, clDefault);
}

// ---------------------------------------------------------------------------
// Default button width

TEST(cxEditViewDataButtonWidth, TheDefaultWidthIsTheNativeDropDownListsButton) {
  TLayoutFixture f;
  const int height = 21;
  const HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 121, height, nullptr,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(combo, nullptr);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  DestroyWindow(combo);
  const int width = f.ViewData()->DefaultButtonWidth();
  EXPECT_EQ(width, GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(width, info.rcButton.right - info.rcButton.left);
}

TEST(cxEditViewDataButtonWidth, TheDefaultWidthFollowsTheScaleFactor) {
  for (const auto& [numerator, denominator] : {std::pair{5, 4}, std::pair{3, 2}, std::pair{2, 1}}) {
    const int dpi = 96 * numerator / denominator;
    SCOPED_TRACE(dpi);
    TLayoutFixture f;
    auto vd = f.ViewData();
    vd->ScaleFactor()->Assign(numerator, denominator, false);
    const int expected = SystemMetricForDpi(SM_CYHSCROLL, dpi);
    ASSERT_GT(expected, 0);
    EXPECT_EQ(vd->DefaultButtonWidth(), expected);
  }
}

// ---------------------------------------------------------------------------
// Calculation of a 121 x 21 drop-down editor's paint record

namespace {

struct TCalculated {
  TOwned<TcxCustomEditViewInfo> ViewInfo{New<TcxCustomEditViewInfo>()};
};

TRect Mirror(const TRect& R, int AWidth) { return TRect(AWidth - R.Right, R.Top, AWidth - R.Left, R.Bottom); }

}  // namespace

TEST(cxEditViewDataCalculate, StatesFromPointButtonsAndShift) {
  const int w = GetSystemMetrics(SM_CYHSCROLL);
  const TRect bounds(0, 0, 121, 21);
  // The frame ring and the button inside the transparent outer ring.
  const TRect button(121 - 2 - w, 2, 121 - 2, 21 - 2);
  const TPoint onButton((button.Left + button.Right) / 2, 10);
  const TPoint onText(20, 10);
  struct Row {
    const char* Name;
    bool Enabled;
    bool Focused;
    TPoint P;
    TcxMouseButton Button;
    TShiftState Shift;
    TcxContainerState State;
    TcxEditButtonState ButtonState;
    int Selected;
    int Pressed;
    bool ReallyPressed;
  };
  const Row rows[] = {
      {"mouse away", true, false, TPoint(-1, -1), cxmbNone, {}, {csNormal}, ebsNormal, -1, -1, false},
      {"hot over the text", true, false, onText, cxmbNone, {}, {csNormal, csHotTrack}, ebsNormal, -1, -1, false},
      {"hot over the button", true, false, onButton, cxmbNone, {}, {csNormal, csHotTrack}, ebsSelected, 0, -1, false},
      {"focused, hot over the button", true, true, onButton, cxmbNone, {}, {csActive, csHotTrack}, ebsSelected, 0,
       -1, false},
      // A held mouse button ends the hot state unless the editor holds the capture (none here).
      {"left press on the button", true, true, onButton, cxmbLeft, {ssLeft}, {csActive}, ebsPressed, -1, 0, true},
      {"a double click presses too", true, true, onButton, cxmbLeft, {ssLeft, ssDouble}, {csActive}, ebsPressed, -1, 0,
       true},
      {"shift and control are ignored", true, false, onButton, cxmbNone, {ssShift, ssCtrl}, {csNormal, csHotTrack},
       ebsSelected, 0, -1, false},
      {"right press on the button", true, true, onButton, cxmbRight, {ssRight}, {csActive}, ebsNormal, -1, -1, false},
      {"left held from elsewhere", true, false, onText, cxmbNone, {ssLeft}, {csNormal}, ebsNormal, -1, -1, false},
      {"disabled", false, false, onButton, cxmbNone, {}, {csDisabled}, ebsDisabled, -1, -1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TLayoutFixture f;
    auto vd = f.ViewData();
    vd->SetEdit(nullptr);
    vd->Enabled = row.Enabled;
    vd->Focused = row.Focused;
    TCalculated c;
    vd->Calculate(nullptr, bounds, row.P, row.Button, row.Shift, c.ViewInfo.get(), true);
    TcxCustomEditViewInfo* vi = c.ViewInfo.get();
    EXPECT_EQ(vi->ContainerState, row.State);
    ASSERT_EQ(vi->ButtonsInfo.size(), 1u);
    EXPECT_EQ(vi->ButtonsInfo[0]->Data.State, row.ButtonState);
    EXPECT_EQ(vi->SelectedButton, row.Selected);
    EXPECT_EQ(vi->PressedButton, row.Pressed);
    EXPECT_EQ(vi->IsButtonReallyPressed, row.ReallyPressed);
    EXPECT_EQ(vi->HotState, !f.Edit->Style()->HotTrack()               ? chsNoHotTrack
                            : row.State.Contains(csActive) || row.State.Contains(csHotTrack) ? chsSelected
                                                                                              : chsNormal);
    EXPECT_EQ(vi->ButtonsInfo[0]->Bounds, button);
    EXPECT_EQ(vi->ButtonsInfo[0]->VisibleBounds, button);
    EXPECT_EQ(vi->BorderRect, TRect(2, 2, 119, 19));
    EXPECT_EQ(vi->ClientRect, TRect(2, 2, button.Left, 19));
    EXPECT_EQ(vi->ButtonsInfo[0]->Data.Style, btsUltraFlat);
    EXPECT_TRUE(vi->ButtonsInfo[0]->Data.ComboBoxStyle);
    EXPECT_TRUE(vi->ButtonsInfo[0]->Data.Leftmost);
    EXPECT_TRUE(vi->ButtonsInfo[0]->Data.Rightmost);
  }
}

TEST(cxEditViewDataCalculate, RightToLeftIsTheMirrorOfLeftToRight) {
  const TRect bounds(0, 0, 121, 21);
  TLayoutFixture f;
  f.Edit->ActiveProperties()->Buttons()->Add()->SetKind(bkEllipsis);
  f.Edit->ActiveProperties()->Buttons()->Items(1)->SetLeftAlignment(true);
  TCalculated ltr, rtl;
  auto vd = f.ViewData();
  vd->SetEdit(nullptr);
  vd->Calculate(nullptr, bounds, TPoint(-1, -1), cxmbNone, {}, ltr.ViewInfo.get(), false);
  vd->UseRightToLeftAlignment = true;
  vd->Calculate(nullptr, bounds, TPoint(-1, -1), cxmbNone, {}, rtl.ViewInfo.get(), false);
  ASSERT_EQ(ltr.ViewInfo->ButtonsInfo.size(), 2u);
  ASSERT_EQ(rtl.ViewInfo->ButtonsInfo.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rtl.ViewInfo->ButtonsInfo[i]->Bounds, Mirror(ltr.ViewInfo->ButtonsInfo[i]->Bounds, 121));
    EXPECT_NE(rtl.ViewInfo->ButtonsInfo[i]->Data.LeftAlignment, ltr.ViewInfo->ButtonsInfo[i]->Data.LeftAlignment);
  }
  EXPECT_EQ(rtl.ViewInfo->ClientRect, Mirror(ltr.ViewInfo->ClientRect, 121));
}

TEST(cxEditViewDataCalculate, HiddenInactiveButtonsLeaveTheWholeInnerWidthAndOneFramePixelWithoutTransparency) {
  TLayoutFixture f;
  f.Edit->Style()->SetButtonTransparency(ebtHideInactive);
  f.Edit->Style()->SetTransparentBorder(false);
  auto vd = f.ViewData();
  vd->SetEdit(nullptr);
  TCalculated c;
  vd->Calculate(nullptr, TRect(0, 0, 121, 21), TPoint(-1, -1), cxmbNone, {}, c.ViewInfo.get(), false);
  EXPECT_TRUE(c.ViewInfo->ButtonsInfo.empty());
  EXPECT_EQ(c.ViewInfo->BorderRect, TRect(1, 1, 120, 20));
  EXPECT_EQ(c.ViewInfo->ClientRect, TRect(1, 1, 120, 20));
}
