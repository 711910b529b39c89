// Graphics in form descriptions: published properties by name, colour and
// charset names, and the binary data of pictures and image lists.
#include "platform/classes/FormReader.h"
#include "platform/classes/FormWriter.h"
#include "platform/ui/ImgList.h"

#include <gtest/gtest.h>

namespace {

class TGraphicsHolder : public TComponent {
  SK_CLASS(TGraphicsHolder, TComponent)
 public:
  static void Publish(TPublisher<TGraphicsHolder>& P) {
    P.Property(L"Color", &TGraphicsHolder::Color, &TGraphicsHolder::SetColor).Default(clBtnFace);
    P.Property(L"Font", &TGraphicsHolder::Font);
    P.Property(L"Picture", &TGraphicsHolder::Picture);
  }
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    FColor = clBtnFace;
    FFont = New<TFont>();
    FPicture = New<TPicture>();
  }
  void Destroy() override {
    FreeAndNil(FFont);
    FreeAndNil(FPicture);
    inherited::Destroy();
  }
  void GetChildren(const TGetChildProc& AProc, TComponent* ARoot) override {
    for (int i = 0; i < ComponentCount(); ++i) AProc(Components(i));
    (void)ARoot;
  }
  TColor Color() const { return FColor; }
  void SetColor(TColor AValue) { FColor = AValue; }
  TFont* Font() const { return FFont; }
  TPicture* Picture() const { return FPicture; }

 private:
  TColor FColor;
  TFont* FFont;
  TPicture* FPicture;
};

class GraphicsFormData : public testing::Test {
 protected:
  void SetUp() override { RegisterClass(TGraphicsHolder::ClassInfo()); }
};

TEST_F(GraphicsFormData, FontAndColourReadByName) {
  const String text =
      L"object Holder: TGraphicsHolder\n"
      L"  Color = clInfoBk\n"
      L"  Font.Charset = EASTEUROPE_CHARSET\n"
      L"  Font.Color = clRed\n"
      L"  Font.Height = -11\n"
      L"  Font.Name = 'Tahoma'\n"
      L"  Font.Style = [fsBold, fsUnderline]\n"
      L"  Font.Pitch = fpFixed\n"
      L"end\n";
  auto* holder = static_cast<TGraphicsHolder*>(ReadComponentFromText(text));
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(holder->Color(), clInfoBk);
  EXPECT_EQ(holder->Font()->Charset(), TFontCharset(EASTEUROPE_CHARSET));
  EXPECT_EQ(holder->Font()->Color(), clRed);
  EXPECT_EQ(holder->Font()->Height(), -11);
  EXPECT_EQ(holder->Font()->Name(), L"Tahoma");
  EXPECT_EQ(holder->Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(holder->Font()->Pitch(), fpFixed);
  holder->Free();
}

TEST_F(GraphicsFormData, WrittenAndReadBackWithPicturesAndImageLists) {
  TGraphicsHolder* holder = New<TGraphicsHolder>(nullptr);
  holder->SetName(L"Holder");
  holder->SetColor(TColor(0x123456));
  holder->Font()->SetStyle({fsItalic});
  TBitmap* bitmap = holder->Picture()->Bitmap();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(5, 3);
  bitmap->Canvas()->Brush()->SetColor(clGreen);
  bitmap->Canvas()->FillRect(TRect(0, 0, 5, 3));
  bitmap->Canvas()->SetPixels(4, 2, clRed);
  TImageList* images = New<TImageList>(holder);
  images->SetName(L"Images");
  images->SetSize(8, 8);
  TBitmap* cell = New<TBitmap>();
  cell->SetPixelFormat(pf24bit);
  cell->SetSize(16, 8);
  cell->Canvas()->Brush()->SetColor(clNavy);
  cell->Canvas()->FillRect(TRect(0, 0, 16, 8));
  images->Add(cell, nullptr);
  cell->Free();

  const String text = WriteComponentToText(holder);
  SCOPED_TRACE(testing::Message() << text);
  EXPECT_NE(text.find(L"Color = 1193046"), String::npos) << "an unnamed colour is a number";
  EXPECT_NE(text.find(L"Font.Style = [fsItalic]"), String::npos);
  EXPECT_EQ(text.find(L"Font.Size"), String::npos) << "the size is not stored";
  // A stored font is complete.
  EXPECT_NE(text.find(L"Font.Charset = DEFAULT_CHARSET"), String::npos);
  EXPECT_NE(text.find(L"Font.Color = clWindowText"), String::npos);
  EXPECT_NE(text.find(L"Picture.Data"), String::npos);
  EXPECT_NE(text.find(L"Height = 8"), String::npos);
  EXPECT_NE(text.find(L"Bitmap = {"), String::npos);
  holder->Free();

  auto* back = static_cast<TGraphicsHolder*>(ReadComponentFromText(text));
  EXPECT_EQ(back->Color(), TColor(0x123456));
  EXPECT_EQ(back->Font()->Style(), TFontStyles{fsItalic});
  ASSERT_TRUE(Is<TBitmap>(back->Picture()->Graphic()));
  EXPECT_EQ(back->Picture()->Width(), 5);
  EXPECT_EQ(back->Picture()->Bitmap()->Canvas()->Pixels(4, 2), clRed);
  auto* list = dynamic_cast<TImageList*>(back->FindComponent(L"Images"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Width(), 8);
  EXPECT_EQ(list->Count(), 2);
  TOwned<TBitmap> imageOwner(New<TBitmap>());
  TBitmap* image = imageOwner.get();
  ASSERT_TRUE(list->GetBitmap(1, image));
  EXPECT_EQ(image->Canvas()->Pixels(4, 4), clNavy);
  imageOwner.reset();
  back->Free();
}

}  // namespace
