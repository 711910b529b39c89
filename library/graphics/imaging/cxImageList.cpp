// The image list's items: one image as it was added, and what is done to it
// whatever its graphic class.
#include "library/graphics/imaging/cxImageList.h"

#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>

namespace {

constexpr TResStringRec scxInvalidGraphicClass = {L"The \"%s\" is invalid graphic class"};

// The same object, or both present and saved to the same bytes.
bool SameGraphic(TGraphic* A, TGraphic* B) { return A == B || CompareGraphics(A, B); }

}  // namespace

// ---------------------------------------------------------------------------
// TcxImageInfo

void TcxImageInfo::Create() {
  FImage.reset(New<TcxBitmap>());
  FMask.reset(New<TcxBitmap>());
  FMaskColor = clNone;
  FIsAlphaUsed = bDefault;
}

void TcxImageInfo::Destroy() {
  FInternalMask.reset();
  FMask.reset();
  FImage.reset();
  inherited::Destroy();
}

void TcxImageInfo::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxImageInfo*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  if (source == this) return;
  SetImageClass(source->ImageClass());
  SetImage(source->Image());
  SetMask(source->Mask());
  FMaskColor = source->FMaskColor;
  FKeywords = source->FKeywords;
  FFileName = source->FFileName;
}

bool TcxImageInfo::Equals(TcxImageInfo* AInfo) {
  if (AInfo == this) return true;
  return AInfo && FMaskColor == AInfo->FMaskColor && FKeywords == AInfo->FKeywords &&
         FFileName == AInfo->FFileName && SameGraphic(Mask(), AInfo->Mask()) && SameGraphic(Image(), AInfo->Image());
}

void TcxImageInfo::SetImage(TGraphic* AValue) {
  if (AValue == FImage.get()) return;
  if (AValue && !AValue->Empty()) SetImageClass(AValue->ClassType());
  if (FImage) FImage->Assign(AValue);
  FIsAlphaUsed = bDefault;
}

void TcxImageInfo::SetImageClass(TGraphicClass AValue) {
  if (ImageClass() == AValue) return;
  FImage.reset(AValue ? NewOfClass<TGraphic>(AValue) : nullptr);
  FIsAlphaUsed = bDefault;
}

String TcxImageInfo::ImageClassName() const { return FImage ? FImage->ClassName() : String(); }

void TcxImageInfo::SetImageClassName(const String& AValue) {
  const TClass graphicClass = GetClass(AValue);
  // An abstract class would make no image either.
  if (!graphicClass || !graphicClass->InheritsFrom(TGraphic::ClassInfo()) || graphicClass->IsAbstract())
    throw EdxException(Format(LoadLocalizedResString(&scxInvalidGraphicClass), {AValue}));
  SetImageClass(graphicClass);
}

void TcxImageInfo::SetMask(TBitmap* AValue) {
  if (AValue == FMask.get()) return;
  FMask->Assign(AValue);
  FMask->Handle();
}

TcxBitmap* TcxImageInfo::InternalMask() {
  if (!FInternalMask) FInternalMask.reset(New<TcxBitmap>());
  return FInternalMask.get();
}

String TcxImageInfo::ImageType() {
  const String extension = UpperCase(GetGraphicDefaultExtension(FImage.get()));
  return extension.empty() ? String(L"IMG") : extension;
}

bool TcxImageInfo::IsAlphaUsed() {
  if (FIsAlphaUsed == bDefault) FIsAlphaUsed = BooleanToDefaultBoolean(TcxImageInfoHelper::IsAlphaUsed(FImage.get()));
  return FIsAlphaUsed == bTrue;
}

void TcxImageInfo::FlushMask() {
  FMask->Assign(nullptr);
  FMaskColor = clNone;
}

void TcxImageInfo::Reset() {
  FlushMask();
  SetImage(nullptr);
  FFileName.clear();
  FKeywords.clear();
}

void TcxImageInfo::Dormant() {
  DormantGraphic(FMask.get());
  DormantGraphic(FImage.get());
}

void TcxImageInfo::ConvertTo32Bit() {
  const bool hasMaskColor = FMaskColor != clNone && FMaskColor != clDefault;
  if (IsGraphicAssigned(FImage.get()) && (hasMaskColor || !FMask->Empty())) {
    TOwned<TcxAlphaBitmap> bitmap(NewWith<TcxAlphaBitmap>(
        [&](TcxAlphaBitmap* ABitmap) { ABitmap->CreateSize(FImage->Width(), FImage->Height()); }));
    TcxImageInfoHelper::CopyRect(bitmap.get(), bitmap->ClientRect(), FImage.get());
    if (hasMaskColor) {
      bitmap->RecoverTransparency(FMaskColor);
    } else {
      if (!IsAlphaUsed()) bitmap->MakeOpaque();
      // Where the mask is white the image is transparent.
      const TOwnedRegion transparent(CreateRegionFromBitmap(FMask.get(), clBlack));
      if (transparent) {
        const HDC dc = bitmap->Canvas()->Handle();
        const TSavedDC saved(dc);
        SelectClipRgn(dc, transparent.Get());
        const RECT all = bitmap->ClientRect();
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        GdiFlush();
        bitmap->Changed(bitmap.get());
      }
    }
    SetImageClass(TBitmap::ClassInfo());
    FImage->Assign(bitmap.get());
    FIsAlphaUsed = bDefault;
  }
  FlushMask();
}

void TcxImageInfo::Resize(const TSize& ASize) {
  ConvertTo32Bit();
  TcxImageInfoHelper::Resize(FImage.get(), ASize);
  FIsAlphaUsed = bDefault;
}

// ---------------------------------------------------------------------------
// TcxImageInfoHelper

void TcxImageInfoHelper::CopyRect(TBitmap* ADest, const TRect& ADestRect, TGraphic* ASource) {
  CopyRect(ADest, ADestRect, GetGraphicRect(ASource), ASource);
}

void TcxImageInfoHelper::CopyRect(TBitmap* ADest, const TRect& ADestRect, const TRect& ASourceRect,
                                  TGraphic* ASource) {
  if (!ADest || !ASource) return;
  if (auto* bitmap = dynamic_cast<TBitmap*>(ASource)) {
    ADest->Canvas()->CopyRect(ADestRect, bitmap->Canvas(), ASourceRect);
    bitmap->Dormant();
  } else if (auto* image = dynamic_cast<TdxCustomSmartImage*>(ASource)) {
    image->StretchDraw(ADest->Canvas()->Handle(), ADestRect, ASourceRect, 255, nullptr);
    GdiFlush();
    ADest->Changed(ADest);
  }
}

TColor TcxImageInfoHelper::GetDefaultTransparentColor(TGraphic* AImage, TBitmap* AMask) {
  auto* bitmap = dynamic_cast<TBitmap*>(AImage);
  if ((AMask && !AMask->Empty()) || !bitmap || bitmap->Empty() || IsAlphaUsed(bitmap)) return clNone;
  return GetPixel(bitmap, 0, bitmap->Height() - 1);
}

TColor TcxImageInfoHelper::GetPixel(TGraphic* AGraphic, int X, int Y) {
  auto* bitmap = dynamic_cast<TBitmap*>(AGraphic);
  return bitmap ? bitmap->Canvas()->Pixels(X, Y) : clNone;
}

TPixelFormat TcxImageInfoHelper::GetPixelFormat(TGraphic* AGraphic) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic)) return bitmap->PixelFormat();
  if (Is<TMetafile>(AGraphic)) return pf24bit;
  return pf32bit;
}

bool TcxImageInfoHelper::IsAlphaUsed(TGraphic* AGraphic) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic)) return HasGraphicAlphaChannel(bitmap);
  if (auto* image = dynamic_cast<TdxCustomSmartImage*>(AGraphic)) return !image->Empty() && image->IsAlphaUsed();
  return false;
}

void TcxImageInfoHelper::Resize(TGraphic* AGraphic, const TSize& ASize) {
  if (auto* image = dynamic_cast<TdxCustomSmartImage*>(AGraphic)) {
    image->Resize(ASize);
  } else if (auto* bitmap = dynamic_cast<TBitmap*>(AGraphic)) {
    TOwned<TcxBitmap32> resized(NewWith<TcxBitmap32>([&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(ASize.cx, ASize.cy); }));
    DrawGraphicToBitmap(resized.get(), bitmap, true);
    bitmap->Assign(resized.get());
  } else {
    throw EdxException(String());
  }
}

// ---------------------------------------------------------------------------
// TcxImageInfoItem

void TcxImageInfoItem::Publish(TPublisher<TcxImageInfoItem>& P) {
  P.Property(L"ImageClass", &TcxImageInfoItem::ImageClass, &TcxImageInfoItem::SetImageClass)
      .Stored(&TcxImageInfoItem::IsImageClassStored);
  P.Property(L"Image", &TcxImageInfoItem::Image, &TcxImageInfoItem::SetImage);
  P.Property(L"Mask", &TcxImageInfoItem::Mask, &TcxImageInfoItem::SetMask);
  P.Property(L"MaskColor", &TcxImageInfoItem::MaskColor, &TcxImageInfoItem::SetMaskColor).Default(clNone);
  P.Property(L"FileName", &TcxImageInfoItem::FileName, &TcxImageInfoItem::SetFileName);
  P.Property(L"Keywords", &TcxImageInfoItem::Keywords, &TcxImageInfoItem::SetKeywords);
  P.Property(L"CompressData", &TcxImageInfoItem::CompressData, &TcxImageInfoItem::SetCompressData).Default(false);
}

void TcxImageInfoItem::Create(TCollection* ACollection) {
  FImageInfo.reset(New<TcxImageInfo>());
  inherited::Create(ACollection);
  if (auto* collection = dynamic_cast<TcxImageInfoCollection*>(ACollection))
    SetCompressData(collection->CompressData());
}

void TcxImageInfoItem::Create(TCollection* ACollection, TGraphic* AImage, TBitmap* AMask, TColor AMaskColor) {
  Create(ACollection);
  FImageInfo->SetImage(AImage);
  FImageInfo->SetMask(AMask);
  FImageInfo->SetMaskColor(AMaskColor);
}

void TcxImageInfoItem::Destroy() {
  inherited::Destroy();
  FImageInfo.reset();
}

void TcxImageInfoItem::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxImageInfoItem*>(ASource)) {
    FImageInfo->Assign(source->FImageInfo.get());
    return;
  }
  inherited::Assign(ASource);
}

bool TcxImageInfoItem::IsImageClassStored() const { return !Is<TcxBitmap>(Image()); }

bool TcxImageInfoItem::CompressData() const {
  if (!static_cast<TcxBitmap*>(Mask())->CompressData()) return false;
  if (auto* bitmap = dynamic_cast<TcxBitmap*>(Image())) return bitmap->CompressData();
  return true;
}

void TcxImageInfoItem::SetCompressData(bool AValue) {
  if (CompressData() == AValue) return;
  if (auto* bitmap = dynamic_cast<TcxBitmap*>(Image())) bitmap->SetCompressData(AValue);
  static_cast<TcxBitmap*>(Mask())->SetCompressData(AValue);
}

// ---------------------------------------------------------------------------
// TcxImageInfoCollection

void TcxImageInfoCollection::Create(TcxCustomImageList* AImageList) {
  inherited::Create(TcxImageInfoItem::ClassInfo());
  FImageList = AImageList;
}

TPersistent* TcxImageInfoCollection::GetOwner() { return FImageList; }

TcxImageInfoItem* TcxImageInfoCollection::Add(TGraphic* AImage, TBitmap* AMask, const String& AFileName,
                                              const String& AKeywords, TColor AMaskColor) {
  auto* item = New<TcxImageInfoItem>(static_cast<TCollection*>(this), AImage, AMask, AMaskColor);
  item->SetKeywords(AKeywords);
  item->SetFileName(AFileName);
  item->ImageInfo()->Dormant();
  return item;
}

void TcxImageInfoCollection::Delete(int AIndex) {
  if (AIndex == -1)
    Clear();
  else
    inherited::Delete(AIndex);
}

void TcxImageInfoCollection::Move(int ACurrentIndex, int ANewIndex) { Items(ACurrentIndex)->SetIndex(ANewIndex); }

bool TcxImageInfoCollection::Equals(TcxImageInfoCollection* ACollection) {
  if (ACollection == this) return true;
  if (!ACollection || ACollection->Count() != Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (!Items(i)->Equals(ACollection->Items(i))) return false;
  return true;
}

int TcxImageInfoCollection::GetVectorImageCount() {
  int count = 0;
  for (int i = 0; i < Count(); ++i)
    if (IsVectorGraphic(Items(i)->Image())) ++count;
  return count;
}

void TcxImageInfoCollection::SetCompressData(bool AValue) {
  if (FCompressData == AValue) return;
  FCompressData = AValue;
  for (int i = 0; i < Count(); ++i) Items(i)->SetCompressData(AValue);
}
