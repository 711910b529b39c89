#include "platform/ui/Clipbrd.h"

#include <gtest/gtest.h>

namespace {

TEST(Clipbrd, TextRoundTrip) {
  Clipboard()->SetAsText(L"Grüße \x20AC aus Skarnivel");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(Clipboard()->AsText(), L"Grüße \x20AC aus Skarnivel");
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(Clipboard()->AsText(), L"");
}

TEST(Clipbrd, OneBracketHoldsSeveralFormats) {
  const UINT custom = RegisterClipboardFormatW(L"Skarnivel.Test");
  Clipboard()->Open();
  Clipboard()->SetAsText(L"text");
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 4);
  *static_cast<std::uint32_t*>(GlobalLock(data)) = 0xC0FFEE;
  GlobalUnlock(data);
  Clipboard()->SetAsHandle(custom, data);
  Clipboard()->Close();
  EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT)) << "the second format did not empty the first";
  EXPECT_TRUE(Clipboard()->HasFormat(custom));
  Clipboard()->Open();
  HANDLE back = Clipboard()->GetAsHandle(custom);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(*static_cast<std::uint32_t*>(GlobalLock(back)), 0xC0FFEEu);
  GlobalUnlock(back);
  Clipboard()->Close();
  // A new bracket starts afresh.
  Clipboard()->SetAsText(L"only this");
  EXPECT_FALSE(Clipboard()->HasFormat(custom));
}

TEST(Clipbrd, BitmapsGoThroughTheClipboard) {
  TOwned<TBitmap> bitmapOwner(New<TBitmap>());
  TBitmap* bitmap = bitmapOwner.get();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(6, 4);
  bitmap->Canvas()->Brush()->SetColor(clTeal);
  bitmap->Canvas()->FillRect(TRect(0, 0, 6, 4));
  bitmap->Canvas()->SetPixels(5, 3, clYellow);
  Clipboard()->Assign(bitmap);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));

  TOwned<TPicture> pictureOwner(New<TPicture>());
  TPicture* picture = pictureOwner.get();
  picture->Assign(Clipboard());
  ASSERT_TRUE(Is<TBitmap>(picture->Graphic()));
  EXPECT_EQ(picture->Width(), 6);
  EXPECT_EQ(picture->Bitmap()->Canvas()->Pixels(5, 3), clYellow);
  TBitmap* copy = New<TBitmap>();
  copy->Assign(Clipboard());
  EXPECT_EQ(copy->Canvas()->Pixels(0, 0), clTeal);
  // The clipboard still owns its handle: ours are copies.
  EXPECT_NE(copy->Handle(), Clipboard()->GetAsHandle(CF_BITMAP));

  Clipboard()->SetAsText(L"no picture");
  EXPECT_THROW(copy->Assign(Clipboard()), EClipboardException);
  EXPECT_EQ(copy->Width(), 6);
  copy->Free();
  pictureOwner.reset();
  bitmapOwner.reset();
}

}  // namespace
