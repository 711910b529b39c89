// A form read from its description, shown under the display and driven by
// real keyboard and mouse input through the application's loop.
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"

#include "tests/platform_ui/UiTestClasses.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

namespace {

class TInputTestForm : public TForm {
  SK_CLASS(TInputTestForm, TForm)
 public:
  static void Publish(TPublisher<TInputTestForm>& P) {
    P.Method<&TInputTestForm::FormCloseQuery>(L"FormCloseQuery");
    P.Method<&TInputTestForm::FormClose>(L"FormClose");
    P.Method<&TInputTestForm::FormShow>(L"FormShow");
    P.Method<&TInputTestForm::OkButtonClick>(L"OkButtonClick");
    P.Method<&TInputTestForm::FailButtonClick>(L"FailButtonClick");
  }

  template <class T>
  T* Find(const wchar_t* AName) {
    return As<T>(FindComponent(AName));
  }

  int Shows = 0;
  int OkClicks = 0;
  int FailClicks = 0;
  bool AllowClose = true;
  TCloseAction CloseAction = caHide;
  int CloseQueries = 0;
  int Closes = 0;

  void FormShow(TObject*) { ++Shows; }
  void OkButtonClick(TObject*) { ++OkClicks; }
  void FailButtonClick(TObject*) {
    ++FailClicks;
    throw EConvertError(L"'9600x' ist kein gültiger Integerwert");
  }
  void FormCloseQuery(TObject*, bool& CanClose) {
    ++CloseQueries;
    CanClose = AllowClose;
  }
  void FormClose(TObject*, TCloseAction& Action) {
    ++Closes;
    Action = CloseAction;
  }
};

class FormsInputTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterUiTestClasses();
    RegisterClasses({TInputTestForm::ClassInfo()});
  }
  void SetUp() override {
    FWindows = ThreadWindowCount();
    Application()->ResetTerminated();
    FRecorder = New<TRecorder>();
    Application()->SetOnException(BindEvent<&TRecorder::Record>(FRecorder));
    FForm = New<TInputTestForm>(nullptr);
  }
  void TearDown() override {
    if (FForm) FForm->Free();
    AppPumpPending();
    Application()->SetOnException(nullptr);
    FreeAndNil(FRecorder);
    Application()->ResetTerminated();
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }

  // Collects what reaches the application's exception handler.
  class TRecorder : public TObject {
    SK_CLASS(TRecorder, TObject)
   public:
    std::vector<String> Messages;
    TObject* LastSender = nullptr;
    void Record(TObject* Sender, const Exception& E) {
      Messages.push_back(E.Message());
      LastSender = Sender;
    }
  };

  bool ShowAndActivate() {
    FForm->Show();
    return BringFormToFront(FForm);
  }
  TPoint CenterOf(TControl* AControl) {
    return AControl->ClientToScreen(TPoint(AControl->Width() / 2, AControl->Height() / 2));
  }

  TInputTestForm* FForm = nullptr;
  int FWindows = 0;
  TRecorder* FRecorder = nullptr;
};

TEST_F(FormsInputTest, DescriptionGivesControlsPropertiesAndEvents) {
  auto* ok = FForm->Find<TTestButton>(L"OkButton");
  auto* editC = FForm->Find<TTestEdit>(L"EditC");
  ASSERT_NE(nullptr, ok);
  ASSERT_NE(nullptr, editC);
  EXPECT_EQ(FForm->Find<TTestGroup>(L"Group"), editC->Parent());
  EXPECT_EQ(String(L"&Ok"), ok->Caption());
  EXPECT_EQ(bsDialog, FForm->BorderStyle());
  EXPECT_EQ(13, FForm->TextHeight());
  EXPECT_EQ(260, FForm->ClientWidth());
  EXPECT_EQ(160, FForm->ClientHeight());
  // Stored tab orders are applied once the whole description is read.
  EXPECT_EQ(0, FForm->Find<TTestEdit>(L"EditA")->TabOrder());
  EXPECT_EQ(1, FForm->Find<TTestEdit>(L"EditB")->TabOrder());
  EXPECT_EQ(2, ok->TabOrder());
  // The form's font reaches the children that follow their parent.
  EXPECT_EQ(String(L"Tahoma"), editC->Font()->Name());
  ok->Click();
  EXPECT_EQ(1, FForm->OkClicks);
}

TEST_F(FormsInputTest, ShownDialogIsCenteredOnTheDesktopWithItsClientSize) {
  ASSERT_TRUE(ShowAndActivate());
  EXPECT_EQ(1, FForm->Shows);
  RECT client{};
  GetClientRect(FForm->Handle(), &client);
  EXPECT_EQ(260, client.right);
  EXPECT_EQ(160, client.bottom);
  const TRect desk = Screen()->DesktopRect();
  const TRect bounds = FForm->BoundsRect();
  EXPECT_LE(std::abs((bounds.Left - desk.Left) - (desk.Right - bounds.Right)), 1);
  EXPECT_LE(std::abs((bounds.Top - desk.Top) - (desk.Bottom - bounds.Bottom)), 1);
  const LONG_PTR style = GetWindowLongPtrW(FForm->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX) << "a dialog frame has no minimise box";
}

TEST_F(FormsInputTest, TabKeysMoveTheFocusInTabOrderAcrossContainers) {
  ASSERT_TRUE(ShowAndActivate());
  auto* editA = FForm->Find<TTestEdit>(L"EditA");
  auto* editB = FForm->Find<TTestEdit>(L"EditB");
  auto* ok = FForm->Find<TTestButton>(L"OkButton");
  auto* editC = FForm->Find<TTestEdit>(L"EditC");
  auto* fail = FForm->Find<TTestButton>(L"FailButton");
  ASSERT_TRUE(AppPumpUntil([&] { return editA->Focused(); })) << "the first control in tab order starts focused";
  const TWinControl* forward[] = {editB, ok, editC, fail, editA};
  for (const TWinControl* expected : forward) {
    PressKey(VK_TAB);
    ASSERT_TRUE(AppPumpUntil([&] { return GetFocus() == const_cast<TWinControl*>(expected)->Handle(); }))
        << "expected " << testing::PrintToString(expected->Name());
    EXPECT_EQ(expected, FForm->ActiveControl());
  }
  PressKey(VK_TAB, true);
  ASSERT_TRUE(AppPumpUntil([&] { return fail->Focused(); })) << "Shift+Tab goes back";
  // The edit does not see the Tab key: the form took it as a dialog key.
  EXPECT_TRUE(std::find(editA->KeysDown.begin(), editA->KeysDown.end(), VK_TAB) == editA->KeysDown.end());
}

TEST_F(FormsInputTest, TypedCharactersReachTheFocusedEdit) {
  ASSERT_TRUE(ShowAndActivate());
  auto* editA = FForm->Find<TTestEdit>(L"EditA");
  ASSERT_TRUE(AppPumpUntil([&] { return editA->Focused(); }));
  PressKey('K');
  ASSERT_TRUE(AppPumpUntil([&] { return editA->Text() == L"k"; }));
  EXPECT_FALSE(editA->Chars.empty());
  EXPECT_FALSE(editA->KeysDown.empty());
}

TEST_F(FormsInputTest, MouseClickRaisesTheBoundEvent) {
  ASSERT_TRUE(ShowAndActivate());
  SendClick(CenterOf(FForm->Find<TTestButton>(L"OkButton")));
  EXPECT_TRUE(AppPumpUntil([&] { return FForm->OkClicks == 1; }));
}

TEST_F(FormsInputTest, AcceleratorClicksItsButton) {
  ASSERT_TRUE(ShowAndActivate());
  auto* editA = FForm->Find<TTestEdit>(L"EditA");
  ASSERT_TRUE(AppPumpUntil([&] { return editA->Focused(); }));
  INPUT in[4]{};
  for (auto& i : in) i.type = INPUT_KEYBOARD;
  in[0].ki.wVk = VK_MENU;
  in[1].ki.wVk = 'O';
  in[2].ki.wVk = 'O';
  in[2].ki.dwFlags = KEYEVENTF_KEYUP;
  in[3].ki.wVk = VK_MENU;
  in[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, in, sizeof(INPUT));
  EXPECT_TRUE(AppPumpUntil([&] { return FForm->OkClicks == 1; }));
}

TEST_F(FormsInputTest, ExceptionInClickHandlerIsReportedAndTheLoopGoesOn) {
  ASSERT_TRUE(ShowAndActivate());
  SendClick(CenterOf(FForm->Find<TTestButton>(L"FailButton")));
  ASSERT_TRUE(AppPumpUntil([&] { return FRecorder->Messages.size() == 1; }))
      << "downs " << FForm->Find<TTestButton>(L"FailButton")->Downs << " ups "
      << FForm->Find<TTestButton>(L"FailButton")->Ups << " fail clicks " << FForm->FailClicks;
  EXPECT_EQ(String(L"'9600x' ist kein gültiger Integerwert"), FRecorder->Messages[0]);
  // The same loop still delivers input.
  SendClick(CenterOf(FForm->Find<TTestButton>(L"OkButton")));
  EXPECT_TRUE(AppPumpUntil([&] { return FForm->OkClicks == 1; }));
  EXPECT_EQ(1, FForm->FailClicks);
}

TEST_F(FormsInputTest, CustomControlPaintsThroughItsCanvasOnScreen) {
  ASSERT_TRUE(ShowAndActivate());
  auto* swatch = FForm->Find<TTestSwatch>(L"Swatch");
  ASSERT_TRUE(AppPumpUntil([&] { return swatch->Paints > 0; }));
  UpdateWindow(FForm->Handle());
  // Read what the window shows.
  TPixelSurface surface(swatch->Width(), swatch->Height(), RGB(1, 2, 3));
  BitBlt(surface.DC(), 0, 0, swatch->Width(), swatch->Height(), TWindowDC(swatch->Handle()).Get(), 0, 0, SRCCOPY);
  EXPECT_EQ(RGB(0, 0, 0), surface.Pixel(7, 7)) << surface.Picture(RGB(255, 0, 0));
  EXPECT_EQ(100, surface.Count(RGB(0, 0, 0)));
  EXPECT_EQ(40 * 30 - 100, surface.Count(RGB(255, 0, 0)));
}

TEST_F(FormsInputTest, CloseFollowsCloseQueryAndCloseAction) {
  ASSERT_TRUE(ShowAndActivate());
  FForm->AllowClose = false;
  SendMessageW(FForm->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(1, FForm->CloseQueries);
  EXPECT_EQ(0, FForm->Closes);
  EXPECT_TRUE(IsWindowVisible(FForm->Handle())) << "refused: the form stays";

  FForm->AllowClose = true;
  FForm->CloseAction = caNone;
  FForm->Close();
  EXPECT_EQ(1, FForm->Closes);
  EXPECT_TRUE(IsWindowVisible(FForm->Handle())) << "caNone keeps the form";

  FForm->CloseAction = caHide;
  FForm->Close();
  EXPECT_FALSE(FForm->Visible());
  EXPECT_FALSE(IsWindowVisible(FForm->Handle()));

  FForm->Show();
  FForm->CloseAction = caFree;
  FForm->Close();
  ASSERT_TRUE(AppPumpUntil([&] { return Screen()->FormCount() == 0; })) << "caFree frees the form later";
  FForm = nullptr;
}

}  // namespace
