#include "platform/classes/Streams.h"
#include "platform/ui/ImgList.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// A 24-bit bitmap of W x H filled with one colour and a key-coloured border.
TBitmap* SolidBitmap(int W, int H, TColor AColor, TColor ABorder = clNone) {
  TBitmap* b = New<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(W, H);
  b->Canvas()->Brush()->SetColor(AColor);
  b->Canvas()->FillRect(TRect(0, 0, W, H));
  if (ABorder != clNone) {
    b->Canvas()->Brush()->SetColor(ABorder);
    b->Canvas()->FrameRect(TRect(0, 0, W, H));
  }
  return b;
}

// A strip of cells, each one colour.
TBitmap* Strip(std::initializer_list<TColor> AColors, int ACell = 16) {
  TBitmap* b = SolidBitmap(ACell * static_cast<int>(AColors.size()), ACell, clBlack);
  int x = 0;
  for (TColor c : AColors) {
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(TRect(x, 0, x + ACell, ACell));
    x += ACell;
  }
  return b;
}

struct TList {
  const TOwned<TImageList> List{New<TImageList>(nullptr)};
  // The centre pixel colour of image I drawn on white.
  COLORREF CentreOf(int I) {
    TPixelSurface s(List->Width(), List->Height(), White);
    TCanvas* c = New<TCanvas>();
    c->SetHandle(s.DC());
    List->Draw(c, 0, 0, I);
    c->Free();
    return s.Pixel(List->Width() / 2, List->Height() / 2);
  }
};

TEST(ImgList, DefaultsAndSize) {
  TList l;
  EXPECT_EQ(l.List->Width(), 16);
  EXPECT_EQ(l.List->Height(), 16);
  EXPECT_EQ(l.List->Count(), 0);
  EXPECT_TRUE(l.List->Masked());
  EXPECT_EQ(l.List->BkColor(), clNone);
  l.List->SetWidth(0);
  EXPECT_EQ(l.List->Width(), 1);
}

TEST(ImgList, StripsAddOneImagePerCellInOrder) {
  TList l;
  TBitmap* strip = Strip({clRed, clLime, clBlue});
  EXPECT_EQ(l.List->Add(strip, nullptr), 0);
  EXPECT_EQ(l.List->Count(), 3);
  EXPECT_EQ(l.CentreOf(0), RGB(255, 0, 0));
  EXPECT_EQ(l.CentreOf(1), RGB(0, 255, 0));
  EXPECT_EQ(l.CentreOf(2), RGB(0, 0, 255));
  TBitmap* single = SolidBitmap(16, 16, clYellow);
  EXPECT_EQ(l.List->Add(single, nullptr), 3);
  single->Free();
  strip->Free();
}

TEST(ImgList, AddMaskedLeavesTheKeyColourTransparent) {
  TList l;
  TBitmap* b = SolidBitmap(16, 16, clBlue, clFuchsia);
  ASSERT_EQ(l.List->AddMasked(b, clFuchsia), 0);
  EXPECT_EQ(b->Canvas()->Pixels(0, 0), clFuchsia) << "the caller's bitmap is left as it was";
  TPixelSurface s(16, 16, RGB(0, 255, 0));
  TOwned<TCanvas> cOwner(New<TCanvas>());
  TCanvas* c = cOwner.get();
  c->SetHandle(s.DC());
  l.List->Draw(c, 0, 0, 0);
  EXPECT_EQ(s.Count(RGB(255, 0, 255)), 0);
  EXPECT_EQ(s.Count(RGB(0, 255, 0)), 60) << "the frame shows the background";
  EXPECT_EQ(s.Count(RGB(0, 0, 255)), 196);
  // The mask: black where the image is.
  TOwned<TBitmap> maskOwner(New<TBitmap>());
  TBitmap* mask = maskOwner.get();
  ASSERT_TRUE(l.List->GetMask(0, mask));
  EXPECT_TRUE(mask->Monochrome());
  EXPECT_EQ(mask->Canvas()->Pixels(0, 0), clWhite);
  EXPECT_EQ(mask->Canvas()->Pixels(8, 8), clBlack);
  maskOwner.reset();
  cOwner.reset();
  b->Free();
}

TEST(ImgList, DrawDisabledUsesTheSystemShades) {
  TList l;
  TBitmap* b = SolidBitmap(16, 16, clRed, clFuchsia);
  l.List->AddMasked(b, clFuchsia);
  TPixelSurface s(20, 20, RGB(0, 0, 0));
  TCanvas* c = New<TCanvas>();
  c->SetHandle(s.DC());
  l.List->Draw(c, 0, 0, 0, false);
  EXPECT_EQ(s.Count(RGB(255, 0, 0)), 0);
  EXPECT_EQ(s.Pixel(8, 8), GetSysColor(COLOR_BTNSHADOW));
  // The highlight shows below and right of the shape (inside 1..14, shifted by one).
  EXPECT_EQ(s.Pixel(15, 15), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(s.Pixel(0, 0), RGB(0, 0, 0)) << "outside the shape stays";
  c->Free();
  b->Free();
}

TEST(ImgList, ThirtyTwoBitListsKeepAlpha) {
  TList l;
  l.List->SetColorDepth(cd32Bit);
  l.List->SetMasked(false);
  TOwned<TBitmap> bOwner(New<TBitmap>());
  TBitmap* b = bOwner.get();
  b->SetPixelFormat(pf32bit);
  b->SetSize(16, 16);
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<std::uint32_t*>(b->ScanLine(y));
    for (int x = 0; x < 16; ++x) row[x] = x < 8 ? 0xFF0000FFu : 0x00000000u;  // left opaque blue
  }
  ASSERT_EQ(l.List->Add(b, nullptr), 0);
  TOwned<TBitmap> backOwner(New<TBitmap>());
  TBitmap* back = backOwner.get();
  ASSERT_TRUE(l.List->GetBitmap(0, back));
  EXPECT_EQ(back->PixelFormat(), pf32bit);
  EXPECT_EQ(static_cast<std::uint32_t*>(back->ScanLine(3))[2], 0xFF0000FFu);
  EXPECT_EQ(static_cast<std::uint32_t*>(back->ScanLine(3))[12] >> 24, 0u);
  // Drawn on white: the transparent half stays white, also after a move.
  TBitmap* red = SolidBitmap(16, 16, clRed);
  l.List->Insert(0, red, nullptr);
  l.List->Move(0, 1);
  red->Free();
  EXPECT_EQ(l.CentreOf(0), White);
  TPixelSurface s(16, 16, White);
  TCanvas* c = New<TCanvas>();
  c->SetHandle(s.DC());
  l.List->Draw(c, 0, 0, 0);
  EXPECT_EQ(s.Count(TRect(0, 0, 8, 16), RGB(0, 0, 255)), 128);
  EXPECT_EQ(s.Count(TRect(8, 0, 16, 16), White), 128);
  c->Free();
  backOwner.reset();
  bOwner.reset();
}

TEST(ImgList, DeleteMoveInsertReplace) {
  TList l;
  TBitmap* strip = Strip({clRed, clLime, clBlue, clYellow});
  l.List->Add(strip, nullptr);
  l.List->Move(0, 2);  // lime, blue, red, yellow
  EXPECT_EQ(l.CentreOf(0), RGB(0, 255, 0));
  EXPECT_EQ(l.CentreOf(2), RGB(255, 0, 0));
  EXPECT_EQ(l.CentreOf(3), RGB(255, 255, 0));
  l.List->Move(3, 0);  // yellow, lime, blue, red
  EXPECT_EQ(l.CentreOf(0), RGB(255, 255, 0));
  EXPECT_EQ(l.CentreOf(3), RGB(255, 0, 0));
  l.List->Delete(1);  // yellow, blue, red
  EXPECT_EQ(l.List->Count(), 3);
  EXPECT_EQ(l.CentreOf(1), RGB(0, 0, 255));
  TBitmap* aqua = SolidBitmap(16, 16, clAqua);
  l.List->Insert(1, aqua, nullptr);  // yellow, aqua, blue, red
  EXPECT_EQ(l.CentreOf(1), RGB(0, 255, 255));
  EXPECT_EQ(l.CentreOf(2), RGB(0, 0, 255));
  TBitmap* white = SolidBitmap(16, 16, clWhite, clFuchsia);
  l.List->ReplaceMasked(2, white, clFuchsia);  // yellow, aqua, white, red
  EXPECT_EQ(l.List->Count(), 4);
  EXPECT_EQ(l.CentreOf(2), White);
  EXPECT_EQ(l.CentreOf(3), RGB(255, 0, 0));
  l.List->Replace(0, aqua, nullptr);
  EXPECT_EQ(l.CentreOf(0), RGB(0, 255, 255));
  for (int bad : {-2, 4, 99}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(l.List->Delete(bad), EInvalidOperation);
    EXPECT_THROW(l.List->Move(bad, 0), EInvalidOperation);
    EXPECT_THROW(l.List->Replace(bad, aqua, nullptr), EInvalidOperation);
  }
  EXPECT_THROW(l.List->Insert(5, aqua, nullptr), EInvalidOperation);
  EXPECT_EQ(l.List->Count(), 4);
  // Drawing a missing image draws nothing.
  EXPECT_EQ(l.CentreOf(7), White);
  l.List->Clear();
  EXPECT_EQ(l.List->Count(), 0);
  white->Free();
  aqua->Free();
  strip->Free();
}

TEST(ImgList, ChangeLinksHearChangesOncePerBracket) {
  struct TClient : TObject {
    int Count = 0;
    TObject* Sender = nullptr;
    void Changed(TObject* S) { ++Count; Sender = S; }
  } client;
  TList l;
  TChangeLink* link = New<TChangeLink>();
  link->SetOnChange(BindEvent<&TClient::Changed>(&client));
  l.List->RegisterChanges(link);
  EXPECT_EQ(link->Sender(), l.List.get());
  TBitmap* strip = Strip({clRed, clLime});
  l.List->Add(strip, nullptr);
  EXPECT_EQ(client.Count, 1);
  EXPECT_EQ(client.Sender, l.List.get());
  l.List->BeginUpdate();
  l.List->BeginUpdate();
  l.List->Add(strip, nullptr);
  l.List->Delete(0);
  l.List->EndUpdate();
  EXPECT_EQ(client.Count, 1);
  l.List->EndUpdate();
  EXPECT_EQ(client.Count, 2);
  // A freed link unregisters itself.
  link->Free();
  l.List->Delete(0);
  EXPECT_EQ(client.Count, 2);
  strip->Free();
}

TEST(ImgList, ALinkOutlivingItsListIsLetGo) {
  TChangeLink* link = New<TChangeLink>();
  {
    TList l;
    l.List->RegisterChanges(link);
  }
  EXPECT_EQ(link->Sender(), nullptr);
  link->Free();
}

TEST(ImgList, AssignAndAddImagesCopyImages) {
  TList a, b;
  TBitmap* strip = Strip({clRed, clLime});
  a.List->Add(strip, nullptr);
  b.List->Assign(a.List.get());
  EXPECT_EQ(b.List->Count(), 2);
  EXPECT_NE(b.List->Handle(), a.List->Handle());
  EXPECT_EQ(b.CentreOf(1), RGB(0, 255, 0));
  a.List->Delete(0);
  EXPECT_EQ(b.List->Count(), 2);
  b.List->AddImages(a.List.get());
  EXPECT_EQ(b.List->Count(), 3);
  EXPECT_EQ(b.CentreOf(2), RGB(0, 255, 0));
  EXPECT_EQ(b.List->AddImage(a.List.get(), 5), -1);
  strip->Free();
}

TEST(ImgList, NativeDataRoundTrip) {
  TList a, b;
  TBitmap* strip = Strip({clRed, clLime, clBlue});
  a.List->Add(strip, nullptr);
  TMemoryStream* s = New<TMemoryStream>();
  a.List->WriteData(s);
  EXPECT_GT(s->Size(), 0);
  s->SetPosition(0);
  b.List->ReadData(s);
  EXPECT_EQ(b.List->Count(), 3);
  EXPECT_EQ(b.CentreOf(2), RGB(0, 0, 255));
  TBytesStream* junk = New<TBytesStream>(TBytes{'x', 'y', 'z'});
  EXPECT_THROW(b.List->ReadData(junk), EReadError);
  EXPECT_EQ(b.List->Count(), 3);
  junk->Free();
  s->Free();
  strip->Free();
}

TEST(ImgList, IconsGoInAndComeOut) {
  TList l;
  TBitmap* b = SolidBitmap(16, 16, clNavy);
  l.List->Add(b, nullptr);
  TIcon* icon = New<TIcon>();
  l.List->GetIcon(0, icon);
  EXPECT_EQ(icon->Width(), 16);
  EXPECT_EQ(l.List->AddIcon(icon), 1);
  EXPECT_EQ(l.CentreOf(1), RGB(0, 0, 128));
  icon->Free();
  b->Free();
}

TEST(ImgList, CreateAndFreeLeaksNoGdiObjects) {
  auto cycle = [] {
    TList l;
    TBitmap* strip = Strip({clRed, clLime});
    l.List->Add(strip, nullptr);
    l.List->AddMasked(strip, clRed);
    l.CentreOf(0);
    TPixelSurface s(16, 16);
    TCanvas* c = New<TCanvas>();
    c->SetHandle(s.DC());
    l.List->Draw(c, 0, 0, 1, false);
    c->Free();
    TBitmap* out = New<TBitmap>();
    l.List->GetBitmap(0, out);
    l.List->GetMask(0, out);
    out->Free();
    strip->Free();
  };
  cycle();
  const int before = GdiObjectCount();
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
