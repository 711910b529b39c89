#include "library/editors/edit/cxEdit.h"

#include "library/core/base/dxCore.h"
#include "platform/ui/GdiScopes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TGlyphRow {
  TcxEditErrorType Type;
  const wchar_t* Resource;
};

constexpr TGlyphRow GlyphRows[] = {
    {eetError, L"CXEDIT_GLYPH_ERROR"},
    {eetWarning, L"CXEDIT_GLYPH_WARNING"},
    {eetInfo, L"CXEDIT_GLYPH_INFO"},
};

// What Windows itself reads from the program's bitmap resource: its size and
// its pixels as a top-down 32-bit image.
struct TResourceBitmap {
  int Width = 0;
  int Height = 0;
  std::vector<RGBQUAD> Pixels;

  explicit TResourceBitmap(const wchar_t* AName) {
    TOwnedBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(HInstance(), AName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return;
    BITMAP info{};
    GetObjectW(bitmap.Get(), sizeof(info), &info);
    Width = info.bmWidth;
    Height = info.bmHeight;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = Width;
    header.bmiHeader.biHeight = -Height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    Pixels.resize(static_cast<std::size_t>(Width) * Height);
    TScreenDC dc;
    GetDIBits(dc.Get(), bitmap.Get(), 0, Height, Pixels.data(), &header, DIB_RGB_COLORS);
  }
};

bool SamePixels(const std::vector<RGBQUAD>& A, const std::vector<RGBQUAD>& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if (A[i].rgbBlue != B[i].rgbBlue || A[i].rgbGreen != B[i].rgbGreen || A[i].rgbRed != B[i].rgbRed ||
        A[i].rgbReserved != B[i].rgbReserved)
      return false;
  return true;
}

}  // namespace

TEST(EditStandardGlyphs, EachLoadsItsResourceWithItsSizeAndPixels) {
  for (const TGlyphRow& row : GlyphRows) {
    SCOPED_TRACE(testing::Message() << "resource " << String(row.Resource));
    const TResourceBitmap resource(row.Resource);
    ASSERT_GT(resource.Width, 0) << "the program carries no such bitmap";
    TdxSmartGlyph* glyph = cxEditStandardGlyph(row.Type);
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->Width(), resource.Width);
    EXPECT_EQ(glyph->Height(), resource.Height);
    EXPECT_TRUE(SamePixels(glyph->GetBitmapBits(), resource.Pixels));
  }
}

// The program links the painters' bitmaps beside the editors' ones; names
// with "_" against letters ("CX_ZOOM..." and "CXEDIT...") are where the
// linker's order and Windows' search disagree.
TEST(ProgramResources, EveryBitmapTheProgramListsIsFoundByName) {
  std::vector<String> names;
  EnumResourceNamesW(
      HInstance(), RT_BITMAP,
      [](HMODULE, LPCWSTR, LPWSTR AName, LONG_PTR AList) -> BOOL {
        if (!IS_INTRESOURCE(AName)) reinterpret_cast<std::vector<String>*>(AList)->emplace_back(AName);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  ASSERT_GE(names.size(), std::size(GlyphRows));
  for (const String& name : names)
    EXPECT_NE(FindResourceW(HInstance(), name.c_str(), RT_BITMAP), nullptr) << "listed but not found: " << name;
}

TEST(EditStandardGlyphs, AreLoadedOnceAndOnlyForTheStandardKinds) {
  TdxSmartGlyph* error = cxEditStandardGlyph(eetError);
  EXPECT_EQ(cxEditStandardGlyph(eetError), error) << "a second read loads again";
  EXPECT_NE(cxEditStandardGlyph(eetWarning), error);
  EXPECT_NE(cxEditStandardGlyph(eetInfo), cxEditStandardGlyph(eetWarning));
  EXPECT_FALSE(cxEditStandardGlyph(eetWarning)->Compare(error)) << "two kinds drawn alike";
  EXPECT_EQ(cxEditStandardGlyph(eetNone), nullptr);
  EXPECT_EQ(cxEditStandardGlyph(eetCustom), nullptr);
}

// ---------------------------------------------------------------------------
// TcxEditValidateInfo

struct ValidateInfoFixture : testing::Test {
  TOwned<TcxEditValidateInfo> Info{New<TcxEditValidateInfo>()};
  // A glyph unlike every standard one: the error glyph turned one colour.
  TOwned<TdxSmartGlyph> Custom{New<TdxSmartGlyph>()};
  void SetUp() override {
    Custom->Assign(cxEditStandardGlyph(eetError));
    Custom->ChangeColor(clGreen);
  }
  bool IconIs(TdxSmartGlyph* AGlyph) { return Info->ErrorIcon()->Compare(AGlyph); }
};

TEST_F(ValidateInfoFixture, StartsWithoutErrorAndWithoutIcon) {
  EXPECT_EQ(Info->ErrorType(), eetNone);
  EXPECT_FALSE(Info->IsError());
  EXPECT_FALSE(Info->HasErrorIcon());
  EXPECT_TRUE(Info->ErrorIcon()->Empty());
}

TEST_F(ValidateInfoFixture, EachKindTakesACopyOfItsStandardGlyph) {
  for (const TGlyphRow& row : GlyphRows) {
    SCOPED_TRACE(testing::Message() << "resource " << String(row.Resource));
    Info->SetErrorType(row.Type);
    EXPECT_TRUE(Info->IsError());
    EXPECT_TRUE(Info->HasErrorIcon());
    EXPECT_TRUE(IconIs(cxEditStandardGlyph(row.Type)));
    EXPECT_NE(Info->ErrorIcon(), cxEditStandardGlyph(row.Type)) << "the shared glyph itself";
  }
}

TEST_F(ValidateInfoFixture, CustomKeepsTheGivenIconAndNoneClearsIt) {
  Info->SetErrorType(eetWarning);
  Info->SetErrorIcon(Custom.get());
  Info->SetErrorType(eetCustom);
  EXPECT_TRUE(IconIs(Custom.get()));
  EXPECT_TRUE(Info->HasErrorIcon());
  Info->SetErrorType(eetNone);
  EXPECT_FALSE(Info->HasErrorIcon());
  EXPECT_TRUE(Info->ErrorIcon()->Empty());
}

TEST_F(ValidateInfoFixture, WritingTheSameKindAgainKeepsAGivenIcon) {
  Info->SetErrorType(eetError);
  Info->SetErrorIcon(Custom.get());
  Info->SetErrorType(eetError);
  EXPECT_TRUE(IconIs(Custom.get()));
}

TEST_F(ValidateInfoFixture, IconIsACopyAndNilTakesItAway) {
  Info->SetErrorType(eetCustom);
  Info->SetErrorIcon(Custom.get());
  Custom->Clear();
  EXPECT_TRUE(Info->HasErrorIcon()) << "clearing the source cleared the info's icon";
  Info->SetErrorIcon(nullptr);
  EXPECT_FALSE(Info->HasErrorIcon());
  EXPECT_EQ(Info->ErrorType(), eetCustom) << "the icon and the kind are separate";
}

TEST_F(ValidateInfoFixture, AnIconWithoutAKindIsNotShown) {
  Info->SetErrorIcon(Custom.get());
  EXPECT_FALSE(Info->HasErrorIcon());
}

TEST_F(ValidateInfoFixture, ResetClearsKindTextAndIcon) {
  Info->SetErrorType(eetInfo);
  Info->SetErrorText(L"note");
  Info->Reset();
  EXPECT_EQ(Info->ErrorType(), eetNone);
  EXPECT_EQ(Info->ErrorText(), L"");
  EXPECT_TRUE(Info->ErrorIcon()->Empty());
  Info->SetErrorType(eetInfo);
  EXPECT_TRUE(IconIs(cxEditStandardGlyph(eetInfo))) << "after a reset the kind is written afresh";
}
