// The image combo box: the item a value picks (or the defaults), the image
// in the edit area and in the list rows read back from the screen beside
// the image list's own drawing, a row picked by a real click, and
// MultiLineText wrapping in a popup as wide as the editor.
#include "library/stdctrls/cxImageComboBox.h"

#include "library/stdctrls/cxCheckGroup.h"

#include "platform/ui/Forms.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/SendInput.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

void ImageComboSettle() {
  PumpUntil([] { return GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) == 0; }, 2000);
  PumpFor(30);
  PumpPending();
}

// A window's client pixels as the screen shows them.
TPixelSurface CaptureClient(HWND AWnd) {
  RECT client;
  GetClientRect(AWnd, &client);
  TPixelSurface surface(client.right, client.bottom);
  HDC dc = GetDC(AWnd);
  BitBlt(surface.DC(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(AWnd, dc);
  return surface;
}

// Differing pixels between ARect of the capture and the image list's own
// drawing of AIndex over AColor.
int ImageMismatches(const TPixelSurface& ACapture, const TRect& ARect, HIMAGELIST AImages, int AIndex,
                    COLORREF ABackground) {
  TPixelSurface reference(ARect.Width(), ARect.Height(), ABackground);
  ImageList_Draw(AImages, AIndex, reference.DC(), 0, 0, ILD_NORMAL);
  int mismatches = 0;
  for (int y = 0; y < ARect.Height(); ++y)
    for (int x = 0; x < ARect.Width(); ++x)
      if (ACapture.Pixel(ARect.Left + x, ARect.Top + y) != reference.Pixel(x, y)) ++mismatches;
  return mismatches;
}

struct ImageComboOnForm : testing::Test {
  TOwned<TForm> Form{NewWith<TForm>([](TForm* f) { f->CreateNew(nullptr); })};
  TCustomImageList* Images = nullptr;
  TcxImageComboBox* Combo = nullptr;
  // Each image: a solid colour with a white square in its top-left corner,
  // so that a shifted or mirrored image does not match.
  const COLORREF Colours[3] = {RGB(200, 30, 30), RGB(30, 160, 40), RGB(40, 60, 210)};

  void SetUp() override {
    Form->SetBounds(100, 100, 420, 300);
    Form->Show();
    Images = New<TCustomImageList>(Form.get());
    Images->SetSize(16, 16);
    for (COLORREF colour : Colours) {
      TOwned<TBitmap> bitmap(New<TBitmap>());
      bitmap->SetSize(16, 16);
      HDC dc = bitmap->Canvas()->Handle();
      HBRUSH brush = CreateSolidBrush(colour);
      RECT all{0, 0, 16, 16};
      FillRect(dc, &all, brush);
      DeleteObject(brush);
      RECT corner{0, 0, 5, 5};
      FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      Images->Add(bitmap.get(), nullptr);
    }
    Combo = New<TcxImageComboBox>(Form.get());
    Combo->SetParent(Form.get());
    Combo->SetBounds(10, 10, 200, 24);
    Combo->Style()->LookAndFeel()->SetNativeStyle(false);
    TcxImageComboBoxProperties* properties = Combo->Properties();
    properties->SetImages(Images);
    const wchar_t* descriptions[] = {L"Alpha", L"Beta", L"Gamma"};
    for (int i = 0; i < 3; ++i) {
      TcxImageComboBoxItem* item = properties->Items()->Add();
      item->SetValue(Variant(i + 1));
      item->SetDescription(descriptions[i]);
    }
    properties->SetDefaultDescription(L"Nothing");
    properties->SetDefaultImageIndex(2);
    ImageComboSettle();
  }
  void TearDown() override {
    if (Combo->DroppedDown()) Combo->SetDroppedDown(false);
    ImageComboSettle();
  }

  void Open() {
    Combo->SetDroppedDown(true);
    ASSERT_TRUE(PumpUntil([&] { return Combo->DroppedDown(); }));
    ImageComboSettle();
  }
};

TEST_F(ImageComboOnForm, AValuePicksItsItemAndAnUnknownOneShowsTheDefaults) {
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Combo->Properties()->Items()->GetItems(i)->ImageIndex(), i)
      << "a new item takes its own image while the list has one for it";
  const struct {
    Variant Value;
    int Item;
    const wchar_t* Text;
    int Image;
  } cases[] = {{Variant(2), 1, L"Beta", 1}, {Variant(5), -1, L"Nothing", 2}, {Variant(1), 0, L"Alpha", 0},
               {Variant::NullValue(), -1, L"Nothing", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << VarToStr(c.Value));
    Combo->SetEditValue(c.Value);
    ImageComboSettle();
    EXPECT_EQ(Combo->CurrentItemIndex(), c.Item);
    EXPECT_EQ(Combo->ViewInfo()->ImageIndex, c.Image);
    EXPECT_EQ(Combo->ViewInfo()->Text, c.Text);
    EXPECT_EQ(Combo->Properties()->GetDisplayText(c.Value), c.Text);
    EXPECT_TRUE(IsSameEditValue(Combo->EditValue(), c.Value)) << "an unknown value is kept, not refused";
    EXPECT_EQ(Combo->Text(), c.Text);
  }
  // The item appears as the list's current row.
  Combo->SetEditValue(Variant(3));
  Open();
  EXPECT_EQ(Combo->LookupData()->List()->ItemIndex(), 2);
}

TEST_F(ImageComboOnForm, TheEditAreaAndTheRowsShowTheImageListsPictures) {
  SetForegroundWindow(Form->Handle());
  const COLORREF window = ColorToRGB(clWindow);
  for (int value = 1; value <= 3; ++value) {
    SCOPED_TRACE(value);
    Combo->SetEditValue(Variant(value));
    ImageComboSettle();
    RedrawWindow(Combo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const TRect image = Combo->ViewInfo()->ImageRect;
    ASSERT_EQ(image.Width(), 16);
    ASSERT_EQ(image.Height(), 16);
    // The text area starts beyond the image; the image sits in the client area.
    EXPECT_GT(Combo->ViewInfo()->TextRect.Left, image.Right);
    const TPixelSurface capture = CaptureClient(Combo->Handle());
    EXPECT_EQ(ImageMismatches(capture, image, Images->Handle(), value - 1, window), 0);
  }

  Open();
  TcxCustomEditListBox* list = Combo->LookupData()->List();
  auto* rows = dynamic_cast<TcxImageComboBoxListBox*>(list);
  ASSERT_NE(rows, nullptr);
  RedrawWindow(list->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const TPixelSurface capture = CaptureClient(list->Handle());
  for (int row = 0; row < 3; ++row) {
    SCOPED_TRACE(testing::Message() << "row " << row);
    RECT r;
    SendMessageW(list->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const TRect rowRect(r.left, r.top, r.right, r.bottom);
    const TRect image = rows->GetImageRect(row, rowRect);
    ASSERT_EQ(image.Width(), 16);
    EXPECT_LE(image.Left, rowRect.Left + 2 + 4) << "with descriptions the image keeps to the leading side";
    // The current row (2) is drawn in the selection colours.
    const COLORREF back = row == 2 ? capture.Pixel(rowRect.Right - 2, rowRect.Top + 1) : window;
    EXPECT_EQ(ImageMismatches(capture, image, Images->Handle(), row, back), 0);
  }
}

TEST_F(ImageComboOnForm, MultiLineTextWrapsInAPopupAsWideAsTheEditor) {
  TcxImageComboBoxProperties* properties = Combo->Properties();
  properties->Items()->GetItems(1)->SetDescription(
      L"A description far too long for one line of a list that is as narrow as this editor");
  properties->SetMultiLineText(true);
  ImageComboSettle();
  Open();
  TcxCustomEditListBox* list = Combo->LookupData()->List();
  const int one = static_cast<int>(SendMessageW(list->Handle(), LB_GETITEMHEIGHT, 0, 0));
  const int long_ = static_cast<int>(SendMessageW(list->Handle(), LB_GETITEMHEIGHT, 1, 0));
  EXPECT_GT(long_, one + GetFontHeight(list->Font()) / 2) << "the long description takes more than one line";
  RECT popup;
  GetWindowRect(Combo->GetPopupWindow()->Handle(), &popup);
  TRect owner;
  Combo->CalculatePopupOwnerBounds(owner);
  EXPECT_EQ(popup.right - popup.left, owner.Width());
  EXPECT_EQ(list->GetItemWidth(1), 0);

  // Without it the popup grows to the widest row.
  Combo->SetDroppedDown(false);
  ImageComboSettle();
  properties->SetMultiLineText(false);
  ImageComboSettle();
  Open();
  GetWindowRect(Combo->GetPopupWindow()->Handle(), &popup);
  EXPECT_GT(popup.right - popup.left, owner.Width());
  EXPECT_GT(list->GetItemWidth(1), owner.Width());
}

TEST_F(ImageComboOnForm, AClickedRowBecomesTheValue) {
  SetForegroundWindow(Form->Handle());
  Combo->SetFocus();
  ImageComboSettle();
  Open();
  TcxCustomEditListBox* list = Combo->LookupData()->List();
  RECT r;
  SendMessageW(list->Handle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  const TPoint at = list->ClientToScreen(TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  SendMouseMove(at);
  SendMouseButtons(at, MOUSEEVENTF_LEFTDOWN);
  SendMouseButtons(at, MOUSEEVENTF_LEFTUP);
  ImageComboSettle();
  SendMouseMove(TPoint(1, 1));
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_TRUE(IsSameEditValue(Combo->EditValue(), Variant(3)));
  EXPECT_EQ(Combo->ViewInfo()->ImageIndex, 2);
  EXPECT_EQ(Combo->Text(), L"Gamma");
}

}  // namespace

namespace {

TEST(ImageComboStartUp, RegistersTheKindsAndTheFilterHelper) {
  TcxRegisteredClasses* registry = GetRegisteredEditProperties();
  const struct {
    TClass Properties;
    const wchar_t* Name;
  } kinds[] = {{TcxImageComboBoxProperties::ClassInfo(), L"ImageComboBox"},
               {TcxCheckGroupProperties::ClassInfo(), L"CheckGroup"}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(std::wstring(kind.Name));
    int found = -1;
    for (int i = 0; i < registry->Count(); ++i)
      if (registry->Items(i) == kind.Properties) found = i;
    ASSERT_GE(found, 0);
    EXPECT_EQ(registry->Descriptions(found), kind.Name);
  }
  ASSERT_EQ(GetFilterEditsController()->FindHelper(TcxImageComboBoxProperties::ClassInfo()),
            TcxFilterImageComboBoxHelper::ClassInfo());

  // A filter row's copy is a fixed list that shows the descriptions.
  TOwned<TcxImageComboBoxProperties> source(New<TcxImageComboBoxProperties>(nullptr));
  source->SetShowDescriptions(false);
  source->Items()->Add()->SetDescription(L"Alpha");
  TOwned<TcxImageComboBoxProperties> copy(New<TcxImageComboBoxProperties>(nullptr));
  cxFilterEditHelper(TcxFilterImageComboBoxHelper::ClassInfo())->InitializeProperties(copy.get(), source.get(), true);
  EXPECT_EQ(copy->DropDownListStyle(), lsFixedList);
  EXPECT_TRUE(copy->ShowDescriptions());
  ASSERT_EQ(copy->Items()->Count(), 1);
  EXPECT_EQ(copy->Items()->GetItems(0)->Description(), L"Alpha");
  const TcxFilterControlOperators extended =
      cxFilterEditHelper(TcxFilterImageComboBoxHelper::ClassInfo())->GetSupportedFilterOperators(copy.get(), nullptr, true);
  EXPECT_TRUE(extended.Contains(fcoInList));
  EXPECT_FALSE(extended.Contains(fcoLess));
}

}  // namespace
