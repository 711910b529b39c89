// The popup edit: a group box taken into the popup and put back as it was, and
// the error for a popup control that holds the editor.
#include "library/editors/dropdown/cxDropDownEdit.h"

#include "platform/ui/StdCtrls.h"
#include "platform/ui/Forms.h"

#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

namespace {

// What the panel looked like while the popup showed it; closes the popup
// from inside its local loop.
class TPopupEditPanelWatch : public TObject {
  SK_CLASS(TPopupEditPanelWatch, TObject)
 public:
  TcxPopupEdit* Edit = nullptr;
  TWinControl* ParentWhileOpen = nullptr;
  TAlign AlignWhileOpen = alNone;
  bool VisibleWhileOpen = false;
  TRect BoundsWhileOpen;
  TRect ClientWhileOpen;
  TcxEditCloseUpReason Reason = crUnknown;

  void Shown(TObject*) {
    TControl* panel = Edit->Properties()->PopupControl();
    ParentWhileOpen = panel->Parent();
    AlignWhileOpen = panel->Align();
    VisibleWhileOpen = panel->Visible();
    BoundsWhileOpen = panel->BoundsRect();
    ClientWhileOpen = Edit->PopupWindow()->ViewInfo()->ClientRect;
    Edit->RequestClosePopup(crEnter);
  }
  void Closed(TObject*, TcxEditCloseUpReason AReason) { Reason = AReason; }
};

struct PopupEditOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TcxPopupEdit* Edit = nullptr;
  TGroupBox* Holder = nullptr;
  TGroupBox* Panel = nullptr;

  void SetUp() override {
    Form->SetBounds(100, 100, 500, 400);
    Form->Show();
    Holder = New<TGroupBox>(Form.get());
    Holder->SetParent(Form.get());
    Holder->SetBounds(10, 10, 300, 60);
    Edit = New<TcxPopupEdit>(Form.get());
    Edit->SetParent(Holder);
    Edit->SetBounds(10, 10, 120, 21);
    Panel = New<TGroupBox>(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(20, 120, 180, 90);
    Panel->SetAlign(alNone);
    Panel->SetVisible(false);
    PumpPending();
  }
};

TEST_F(PopupEditOnForm, APanelIsHostedAndPutBackAsItWas) {
  TPopupEditPanelWatch watch;
  watch.Edit = Edit;
  Edit->Properties()->SetPopupControl(Panel);
  Edit->Properties()->SetOnPopup(BindEvent<&TPopupEditPanelWatch::Shown>(&watch));
  Edit->Properties()->SetOnClosePopup(BindEvent<&TPopupEditPanelWatch::Closed>(&watch));
  Edit->SetDroppedDown(true);
  ASSERT_TRUE(PumpUntil([&] { return watch.ParentWhileOpen != nullptr && !Edit->DroppedDown(); }));
  EXPECT_EQ(watch.ParentWhileOpen, Edit->PopupWindow());
  EXPECT_EQ(watch.AlignWhileOpen, alClient);
  EXPECT_TRUE(watch.VisibleWhileOpen);
  EXPECT_EQ(watch.BoundsWhileOpen, watch.ClientWhileOpen) << "the panel fills the popup's client area";
  EXPECT_EQ(watch.Reason, crEnter);
  EXPECT_EQ(Panel->Parent(), Form.get());
  EXPECT_EQ(Panel->Align(), alNone);
  EXPECT_EQ(Panel->BoundsRect(), TRect(20, 120, 200, 210));
  EXPECT_FALSE(Panel->Visible());
}

TEST_F(PopupEditOnForm, APopupControlHoldingTheEditorIsRefused) {
  for (TWinControl* control : {static_cast<TWinControl*>(Holder), static_cast<TWinControl*>(Form.get())}) {
    Edit->Properties()->SetPopupControl(control);
    try {
      Edit->SetDroppedDown(true);
      ADD_FAILURE() << "no error";
    } catch (const EcxEditError& e) {
      EXPECT_EQ(String(e.Message()), L"Circular referencing is not allowed");
    }
    PumpFor(30);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_FALSE(Edit->PopupInitialized());
    EXPECT_EQ(Holder->Parent(), Form.get());
  }
}

TEST_F(PopupEditOnForm, AFreedPopupControlIsForgotten) {
  Edit->Properties()->SetPopupControl(Panel);
  Panel->Free();
  Panel = nullptr;
  EXPECT_EQ(Edit->Properties()->PopupControl(), nullptr);
  EXPECT_FALSE(Edit->CanDropDown());
}

}  // namespace
