#include "platform/ui/Graphics.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

namespace {

TEST(GraphicsFont, DefaultsComeFromDefFontData) {
  TFont* font = New<TFont>();
  EXPECT_EQ(font->Name(), DefFontData().Name);
  EXPECT_EQ(font->Height(), DefFontData().Height);
  EXPECT_EQ(font->Color(), clWindowText);
  EXPECT_EQ(font->Charset(), TFontCharset(DEFAULT_CHARSET));
  EXPECT_EQ(font->PixelsPerInch(), ScreenLogPixels());
  EXPECT_TRUE(font->Style().Empty());
  font->Free();
}

TEST(GraphicsFont, HandleIsCachedUntilTheFontChanges) {
  TOwned<TFont> fontOwner(New<TFont>());
  TFont* font = fontOwner.get();
  EXPECT_FALSE(font->HandleAllocated());
  HFONT first = font->Handle();
  ASSERT_TRUE(GdiObjectAlive(first));
  EXPECT_EQ(font->Handle(), first);

  font->SetStyle({fsBold});
  EXPECT_FALSE(GdiObjectAlive(first)) << "the old handle is deleted";
  HFONT bold = font->Handle();
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(bold, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);

  // The colour is no part of the handle.
  font->SetColor(clRed);
  EXPECT_EQ(font->Handle(), bold);
  // An equal value changes nothing.
  font->SetStyle({fsBold});
  EXPECT_EQ(font->Handle(), bold);
  fontOwner.reset();
  EXPECT_FALSE(GdiObjectAlive(bold));
}

TEST(GraphicsFont, HandleCarriesEveryProperty) {
  TOwned<TFont> fontOwner(New<TFont>());
  TFont* font = fontOwner.get();
  font->SetName(L"Tahoma");
  font->SetHeight(-17);
  font->SetStyle({fsItalic, fsUnderline, fsStrikeOut});
  font->SetCharset(TFontCharset(EASTEUROPE_CHARSET));
  font->SetPitch(fpFixed);
  font->SetOrientation(900);
  font->SetQuality(fqNonAntialiased);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(font->Handle(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
  EXPECT_EQ(lf.lfHeight, -17);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
  EXPECT_EQ(lf.lfCharSet, EASTEUROPE_CHARSET);
  EXPECT_EQ(lf.lfPitchAndFamily & 3, FIXED_PITCH);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfQuality, NONANTIALIASED_QUALITY);
  fontOwner.reset();
}

TEST(GraphicsFont, SizeAndHeightFollowPixelsPerInch) {
  TFont* font = New<TFont>();
  font->SetPixelsPerInch(96);
  font->SetSize(9);
  EXPECT_EQ(font->Height(), -12);
  EXPECT_EQ(font->Size(), 9);
  font->SetPixelsPerInch(144);
  EXPECT_EQ(font->Height(), -12) << "a new scale does not recreate the font";
  EXPECT_EQ(font->Size(), 6);

  // Assigning across scales keeps the point size.
  TFont* other = New<TFont>();
  other->SetPixelsPerInch(96);
  other->SetSize(12);
  font->Assign(other);
  EXPECT_EQ(font->Size(), 12);
  EXPECT_EQ(font->Height(), -24);
  other->Free();
  font->Free();
}

TEST(GraphicsFont, AssignCopiesAndNotifies) {
  struct TCounter : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
  } counter;
  TFont* a = New<TFont>();
  TFont* b = New<TFont>();
  b->SetOnChange(BindEvent<&TCounter::Changed>(&counter));
  a->SetName(L"Courier New");
  a->SetStyle({fsBold});
  a->SetColor(clMaroon);
  b->Assign(a);
  EXPECT_EQ(b->Name(), L"Courier New");
  EXPECT_EQ(b->Style(), TFontStyles{fsBold});
  EXPECT_EQ(b->Color(), clMaroon);
  EXPECT_EQ(counter.Count, 1);
  b->Assign(a);
  EXPECT_EQ(counter.Count, 1) << "an equal font is no change";
  TPen* pen = New<TPen>();
  EXPECT_THROW(b->Assign(pen), EConvertError);
  pen->Free();
  a->Free();
  b->Free();
}

TEST(GraphicsFont, SetHandleTakesOverTheFont) {
  LOGFONTW lf{};
  lf.lfHeight = -20;
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = TRUE;
  wcscpy(lf.lfFaceName, L"Tahoma");
  HFONT handle = CreateFontIndirectW(&lf);
  TFont* font = New<TFont>();
  font->SetHandle(handle);
  EXPECT_EQ(font->Handle(), handle);
  EXPECT_EQ(font->Height(), -20);
  EXPECT_EQ(font->Name(), L"Tahoma");
  EXPECT_EQ(font->Style(), (TFontStyles{fsBold, fsItalic}));
  font->Free();
  EXPECT_FALSE(GdiObjectAlive(handle));
  TFont* bad = New<TFont>();
  EXPECT_THROW(bad->SetHandle(reinterpret_cast<HFONT>(static_cast<ULONG_PTR>(0x1234))), EInvalidGraphicOperation);
  bad->Free();
}

TEST(GraphicsFont, ACanvasDrawsWithTheChangedFont) {
  TPixelSurface surface(200, 60);
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(surface.DC());
  canvas->Font()->SetName(L"Tahoma");
  canvas->Font()->SetHeight(-11);
  const TSize small = canvas->TextExtent(L"Wide text");
  HFONT selected = static_cast<HFONT>(GetCurrentObject(surface.DC(), OBJ_FONT));
  EXPECT_EQ(selected, canvas->Font()->Handle());
  canvas->Font()->SetHeight(-30);
  const TSize large = canvas->TextExtent(L"Wide text");
  EXPECT_GT(large.cx, small.cx);
  EXPECT_GT(large.cy, small.cy);
  EXPECT_FALSE(GdiObjectAlive(selected)) << "the replaced font was taken out and deleted";
  canvas->Free();
}

TEST(GraphicsPenBrush, HandlesFollowTheirProperties) {
  TOwned<TPen> penOwner(New<TPen>());
  TPen* pen = penOwner.get();
  pen->SetColor(clRed);
  pen->SetWidth(4);
  pen->SetStyle(psDash);
  LOGPEN lp{};
  ASSERT_EQ(GetObjectW(pen->Handle(), sizeof(lp), &lp), static_cast<int>(sizeof(lp)));
  EXPECT_EQ(lp.lopnColor, RGB(255, 0, 0));
  EXPECT_EQ(lp.lopnWidth.x, 4);
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  HPEN old = pen->Handle();
  pen->SetMode(pmXor);
  EXPECT_EQ(pen->Handle(), old) << "the mode is no part of the pen";
  penOwner.reset();
  EXPECT_FALSE(GdiObjectAlive(old));

  TOwned<TBrush> brushOwner(New<TBrush>());
  TBrush* brush = brushOwner.get();
  struct Case { TBrushStyle Style; UINT LbStyle; LONG_PTR Hatch; };
  const Case cases[] = {{bsSolid, BS_SOLID, 0},       {bsClear, BS_NULL, 0},
                        {bsCross, BS_HATCHED, HS_CROSS}, {bsBDiagonal, BS_HATCHED, HS_BDIAGONAL}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Style);
    brush->SetStyle(c.Style);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(brush->Handle(), sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbStyle, c.LbStyle);
    if (c.LbStyle == BS_HATCHED) {
      EXPECT_EQ(static_cast<LONG_PTR>(lb.lbHatch), c.Hatch);
    }
  }
  // A colour on a clear brush makes it solid.
  brush->SetStyle(bsClear);
  brush->SetColor(clGreen);
  EXPECT_EQ(brush->Style(), bsSolid);
  brushOwner.reset();
}

TEST(GraphicsPenBrush, SetHandleReadsTheObject) {
  TBrush* brush = New<TBrush>();
  brush->SetHandle(CreateHatchBrush(HS_DIAGCROSS, RGB(1, 2, 3)));
  EXPECT_EQ(brush->Style(), bsDiagCross);
  EXPECT_EQ(brush->Color(), TColor(0x030201));
  brush->Free();
  TPen* pen = New<TPen>();
  pen->SetHandle(CreatePen(PS_DOT, 1, RGB(9, 8, 7)));
  EXPECT_EQ(pen->Style(), psDot);
  EXPECT_EQ(pen->Color(), TColor(0x070809));
  pen->Free();
}

TEST(GraphicsPenBrush, PatternBrushPaintsTheBitmap) {
  TBitmap* pattern = New<TBitmap>();
  pattern->SetPixelFormat(pf24bit);
  pattern->SetSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern->Canvas()->SetPixels(x, y, (x + y) % 2 ? clBlack : clWhite);
  TPixelSurface surface(16, 16, RGB(255, 0, 0));
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(surface.DC());
  canvas->Brush()->SetBitmap(pattern);
  canvas->FillRect(TRect(0, 0, 16, 16));
  EXPECT_EQ(surface.Count(RGB(0, 0, 0)), 128);
  EXPECT_EQ(surface.Count(RGB(255, 255, 255)), 128);
  EXPECT_NE(surface.Pixel(0, 0), surface.Pixel(1, 0));
  canvas->Free();
  pattern->Free();
}

TEST(GraphicsFont, CreateAndFreeLeaksNothing) {
  auto cycle = [] {
    TFont* font = New<TFont>();
    TPen* pen = New<TPen>();
    TBrush* brush = New<TBrush>();
    for (int i = 0; i < 3; ++i) {
      font->SetHeight(-10 - i);
      pen->SetWidth(1 + i);
      brush->SetColor(TColor(i));
      font->Handle();
      pen->Handle();
      brush->Handle();
    }
    brush->SetStyle(bsClear);
    brush->Handle();
    font->Free();
    pen->Free();
    brush->Free();
  };
  cycle();
  const int before = GdiObjectCount();
  for (int i = 0; i < 5; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
