// Popup sizes across resolutions: the properties move their sizes with their
// scale, a copy converts them from the source's scale, and an editor on a
// scaled form opens, limits and keeps its popup at its own scale.
#include "tests/library_editors/dropdown/DropDownTesting.h"

namespace {

const int ScalingDpis[] = {96, 120, 144, 192};

TEST(DropDownEditScaling, ApplyScaleMovesThePopupSizesAndTheItemHeight) {
  for (const int dpi : ScalingDpis) {
    SCOPED_TRACE(dpi);
    TOwned<TcxComboBoxProperties> p(New<TcxComboBoxProperties>(static_cast<TPersistent*>(nullptr)));
    p->SetPopupMinWidth(90);
    p->SetPopupMinHeight(70);
    p->SetPopupWidth(131);
    p->SetPopupHeight(77);
    p->SetItemHeight(17);
    p->ApplyScale(dpi, 96);
    EXPECT_EQ(p->PopupMinWidth(), MulDiv(90, dpi, 96));
    EXPECT_EQ(p->PopupMinHeight(), MulDiv(70, dpi, 96));
    EXPECT_EQ(p->PopupWidth(), MulDiv(131, dpi, 96));
    EXPECT_EQ(p->PopupHeight(), MulDiv(77, dpi, 96));
    EXPECT_EQ(p->ItemHeight(), MulDiv(17, dpi, 96));
    EXPECT_EQ(p->ScaleFactor()->Apply(96), dpi);
    // And back: the scale returns to 96 DPI with the sizes.
    p->ApplyScale(96, dpi);
    EXPECT_FALSE(p->ScaleFactor()->Assigned());
    EXPECT_NEAR(p->PopupWidth(), 131, 1);
    EXPECT_NEAR(p->ItemHeight(), 17, 1);
  }
}

TEST(DropDownEditScaling, ACopyConvertsTheSizesFromTheSourcesScale) {
  TOwned<TcxComboBoxProperties> source(New<TcxComboBoxProperties>(static_cast<TPersistent*>(nullptr)));
  source->ApplyScale(192, 96);
  source->SetPopupMinWidth(200);
  source->SetPopupMinHeight(120);
  source->SetPopupWidth(300);
  source->SetPopupHeight(240);
  for (const int dpi : ScalingDpis) {
    SCOPED_TRACE(dpi);
    TOwned<TcxComboBoxProperties> copy(New<TcxComboBoxProperties>(static_cast<TPersistent*>(nullptr)));
    copy->ApplyScale(dpi, 96);
    copy->Assign(source.get());
    EXPECT_EQ(copy->PopupMinWidth(), MulDiv(200, dpi, 192));
    EXPECT_EQ(copy->PopupMinHeight(), MulDiv(120, dpi, 192));
    EXPECT_EQ(copy->PopupWidth(), MulDiv(300, dpi, 192));
    EXPECT_EQ(copy->PopupHeight(), MulDiv(240, dpi, 192));
  }
}

// A fixed-size, sizeable popup given at 96 DPI, opened on the form at each
// resolution; then a size the user gave it is kept at the editor's scale.
TEST_F(DropDownEditOnForm, AScaledEditorOpensLimitsAndKeepsItsPopupAtItsScale) {
  TcxCustomDropDownEditProperties* p = Edit->Properties();
  p->SetPopupAutoSize(false);
  p->SetPopupSizeable(true);
  // Multiples of 32: every step between the resolutions is exact.
  p->SetPopupMinWidth(128);
  p->SetPopupMinHeight(64);
  p->SetPopupWidth(192);
  p->SetPopupHeight(96);
  int previous = 96;
  for (const int dpi : ScalingDpis) {
    SCOPED_TRACE(dpi);
    Form->ScaleForPPI(dpi);
    PumpPending();
    ASSERT_EQ(Edit->ScaleFactor()->Apply(96), dpi);
    ASSERT_TRUE(OpenAndWait());
    TcxCustomEditPopupWindow* window = Edit->PopupWindow();
    EXPECT_EQ(window->Width(), MulDiv(192, dpi, 96));
    EXPECT_EQ(window->Height(), MulDiv(96, dpi, 96));
    EXPECT_EQ(window->MinWidth(), MulDiv(128, dpi, 96));
    EXPECT_EQ(window->MinHeight(), MulDiv(64, dpi, 96));
    int w = 1, h = 1;
    ASSERT_TRUE(window->CanResize(w, h));
    EXPECT_EQ(w, MulDiv(128, dpi, 96)) << "the scaled minimum holds a drag";
    EXPECT_EQ(h, MulDiv(64, dpi, 96));
    Edit->ClosePopup(crCancel);
    previous = dpi;
  }
  // The user's size at 192 DPI, stored and carried back to 96 DPI.
  ASSERT_TRUE(OpenAndWait());
  TcxCustomEditPopupWindow* window = Edit->PopupWindow();
  window->SetBounds(window->Left(), window->Top(), 440, 260);
  Edit->StorePopupSize();
  Edit->ClosePopup(crCancel);
  EXPECT_EQ(p->PopupWidth(), 440);
  EXPECT_EQ(p->PopupHeight(), 260);
  Form->ScaleForPPI(96);
  PumpPending();
  EXPECT_EQ(p->PopupWidth(), MulDiv(440, 96, previous));
  ASSERT_TRUE(OpenAndWait());
  EXPECT_EQ(Edit->PopupWindow()->Width(), 220);
  EXPECT_EQ(Edit->PopupWindow()->Height(), 130);
}

}  // namespace
