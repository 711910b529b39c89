// The image list: the native list and the items kept in step.
//
// The native list receives every image as 32-bit bitmaps of the list's
// size, one per cell, with straight (not premultiplied) alpha, which is
// what it blends with. Every operation that changes both representations
// runs inside one update bracket, so that the change is told once and only
// when the two agree again.
#include "library/graphics/imaging/cxImageList.h"

#include "library/core/base/cxClasses.h"
#include "library/core/data/dxZIPUtils.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"
#include "platform/classes/FormWriter.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr TResStringRec scxImageListSizeTooLarge = {L"Images of %d x %d pixels are larger than an image list holds (%d)."};
constexpr TResStringRec scxImageTooLarge = {L"The archive holds a file too large to be an image."};

COLORREF NativeListColor(TColor AColor) {
  if (AColor == clNone) return CLR_NONE;
  if (AColor == clDefault) return CLR_DEFAULT;
  return ColorToColorRef(AColor);
}

bool HasPremultipliedPixels(TGraphic* AGraphic) {
  if (Is<TdxCustomSmartImage>(AGraphic)) return true;
  auto* bitmap = dynamic_cast<TBitmap*>(AGraphic);
  return bitmap && bitmap->AlphaFormat() == afPremultiplied;
}

// Premultiplied pixels back to straight alpha; transparent pixels stay 0.
void UnPremultiplyPixels(TcxBitmap32* ABitmap) {
  TRGBColors colors;
  ABitmap->GetBitmapColors(colors);
  const TdxColors::TTable& table = TdxColors::UnpremultiplyTable();
  for (RGBQUAD& pixel : colors) {
    if (pixel.rgbReserved == 0) {
      pixel = RGBQUAD{};
    } else if (pixel.rgbReserved != 255) {
      pixel.rgbBlue = table[pixel.rgbBlue][pixel.rgbReserved];
      pixel.rgbGreen = table[pixel.rgbGreen][pixel.rgbReserved];
      pixel.rgbRed = table[pixel.rgbRed][pixel.rgbReserved];
    }
  }
  ABitmap->SetBitmapColors(colors);
}

// The ASourceRect part of a graphic over a cleared 32-bit bitmap of ASize.
TOwned<TcxBitmap32> NativeCell(TGraphic* AGraphic, const TRect& ASourceRect, const TSize& ASize) {
  TOwned<TcxBitmap32> cell(
      NewWith<TcxBitmap32>([&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(ASize.cx, ASize.cy, true); }));
  if (Is<TBitmap>(AGraphic) || Is<TdxCustomSmartImage>(AGraphic)) {
    TcxImageInfoHelper::CopyRect(cell.get(), cell->ClientRect(), ASourceRect, AGraphic);
  } else {
    cell->Canvas()->StretchDraw(cell->ClientRect(), AGraphic);
    GdiFlush();
  }
  if (HasPremultipliedPixels(AGraphic)) UnPremultiplyPixels(cell.get());
  return cell;
}

// The ASourceRect part of a mask, as a monochrome bitmap of ASize.
TOwned<TcxBitmap> MaskCell(TBitmap* AMask, const TRect& ASourceRect, const TSize& ASize) {
  TOwned<TcxBitmap> cell(
      NewWith<TcxBitmap>([&](TcxBitmap* ABitmap) { ABitmap->CreateSize(ASize.cx, ASize.cy, pf1bit); }));
  cell->Canvas()->CopyRect(cell->ClientRect(), AMask->Canvas(), ASourceRect);
  AMask->Dormant();
  return cell;
}

// A bitmap of the image's pixel format holding ASourceRect of the image.
TOwned<TcxBitmap> ItemCell(TGraphic* AImage, const TRect& ASourceRect, const TSize& ASize) {
  const TPixelFormat format = TcxImageInfoHelper::GetPixelFormat(AImage);
  TOwned<TcxBitmap> cell(
      NewWith<TcxBitmap>([&](TcxBitmap* ABitmap) { ABitmap->CreateSize(ASize.cx, ASize.cy, format); }));
  ClearBitmapToBlack(cell.get());
  TcxImageInfoHelper::CopyRect(cell.get(), cell->ClientRect(), ASourceRect, AImage);
  if (HasPremultipliedPixels(AImage)) cell->SetAlphaFormat(afPremultiplied);
  return cell;
}

// How an image falls into the list's cells: a strip of whole cells (one
// image per cell), or one image fitted to a cell.
struct TcxImageCells {
  int Columns = 1;
  int Rows = 1;
  bool Strip = false;

  TcxImageCells(TGraphic* AImage, const TSize& ACell) {
    const int w = AImage->Width(), h = AImage->Height();
    if ((w == ACell.cx && h == ACell.cy) || w % ACell.cx != 0 || h % ACell.cy != 0 || IsVectorGraphic(AImage)) return;
    Columns = w / ACell.cx;
    Rows = h / ACell.cy;
    Strip = true;
  }
  int Count() const { return Columns * Rows; }
  // Row by row, column by column.
  TRect Rect(int AIndex, const TSize& ACell) const {
    const int column = AIndex % Columns, row = AIndex / Columns;
    return TRect(column * ACell.cx, row * ACell.cy, (column + 1) * ACell.cx, (row + 1) * ACell.cy);
  }
};

TcxBitmap* NewBitmap32(int AWidth, int AHeight) {
  return NewWith<TcxBitmap>([&](TcxBitmap* ABitmap) { ABitmap->CreateSize(AWidth, AHeight, pf32bit); });
}

TcxBitmap* NewMonochrome(int AWidth, int AHeight) {
  return NewWith<TcxBitmap>([&](TcxBitmap* ABitmap) { ABitmap->CreateSize(AWidth, AHeight, pf1bit); });
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxBaseImageList

void TcxBaseImageList::Publish(TPublisher<TcxBaseImageList>& P) {
  // Stored whatever its value: form data tell the DPI they were made at.
  P.Property(L"SourceDPI", &TcxBaseImageList::SourceDPI, &TcxBaseImageList::SetSourceDPI).Default(0);
}

void TcxBaseImageList::Initialize() {
  inherited::Initialize();
  FSourceDPI = dxDefaultDPI;
}

void TcxBaseImageList::BeforeDestruction() {
  inherited::BeforeDestruction();
  NotifyOwnerOfRemoval(this);
}

bool TcxBaseImageList::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxSourceDPI>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxBaseImageList::SetSourceDPI(int AValue) {
  AValue = ClampDpi(AValue);
  if (FSourceDPI == AValue) return;
  FSourceDPI = AValue;
  Change();
}

// ---------------------------------------------------------------------------
// TcxCustomImageList: life and state

void TcxCustomImageList::Initialize() {
  // Setting up reports no change.
  BeginUpdate();
  inherited::Initialize();
  FImages.reset(New<TcxImageInfoCollection>(this));
  FAlphaBlending = true;
  SetColorDepth(cd32Bit);
  CancelUpdate();
}

void TcxCustomImageList::Destroy() {
  FImages.reset();
  inherited::Destroy();
}

void TcxCustomImageList::EndUpdate() {
  if (--FLockCount == 0) Change();
}

void TcxCustomImageList::Change() {
  if (FLockCount > 0 || !FImages) return;
  const TComponentState& state = ComponentState();
  if (state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csDestroying)) return;
  TdxImageListPaintCache::InvalidateImageList(this);
  if (Count() == FImages->Count())
    inherited::Change();
  else
    SynchronizeImageInfo();
}

void TcxCustomImageList::SetAlphaBlending(bool AValue) {
  if (FAlphaBlending == AValue) return;
  FAlphaBlending = AValue;
  Change();
}

void TcxCustomImageList::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TCustomImageList*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  if (source == this) return;
  WithUpdate(this, [&] {
    inherited::Assign(source);
    FImages->Clear();
    if (auto* images = dynamic_cast<TcxCustomImageList*>(source)) {
      FImages->Assign(images->FImages.get());
      return;
    }
    // A list of another kind: its images added one by one, as 32-bit
    // images with their masks.
    const int count = Count();
    const HIMAGELIST handle = source->Handle();
    TCustomImageList::Delete(-1);
    for (int i = 0; i < count; ++i) {
      TOwned<TcxBitmap> image(NewBitmap32(Width(), Height()));
      TOwned<TcxBitmap> mask(NewMonochrome(Width(), Height()));
      GetImageInfo(handle, i, image.get(), mask.get());
      Add(image.get(), mask.get());
    }
  });
}

bool TcxCustomImageList::Equals(TcxCustomImageList* AImages) {
  return AImages == this || (AImages && FImages->Equals(AImages->FImages.get()));
}

bool TcxCustomImageList::IsEquals(TCustomImageList* AImages1, TCustomImageList* AImages2) {
  if (!AImages1 || !AImages2) return AImages1 == AImages2;
  if (AImages1->Count() != AImages2->Count()) return false;
  if (AImages1->Count() == 0) return true;
  auto* images1 = dynamic_cast<TcxCustomImageList*>(AImages1);
  auto* images2 = dynamic_cast<TcxCustomImageList*>(AImages2);
  if (images1 && images2) return images1->Equals(images2);
  return WriteComponentToText(AImages1) == WriteComponentToText(AImages2);
}

// ---------------------------------------------------------------------------
// Adding

int TcxCustomImageList::AddImageInfo(TGraphic* AImage, TBitmap* AMask, const String& AFileName,
                                     const String& AKeywords, TColor AMaskColor) {
  if (!IsGraphicAssigned(AImage)) return -1;
  if (AMaskColor == clDefault) AMaskColor = TcxImageInfoHelper::GetDefaultTransparentColor(AImage, AMask);
  const bool masked = AMask && !AMask->Empty();
  const TSize size(Width(), Height());
  const TcxImageCells cells(AImage, size);
  int first = -1;
  WithUpdate(this, [&] {
    const HIMAGELIST handle = Handle();
    const int before = Count();
    // A vector image is rasterised once, from the list's own copy, whose
    // raster of the cell's size the list's drawing then reuses.
    const bool itemFirst = !cells.Strip && !IsSynchronizing() && IsVectorGraphic(AImage);
    if (itemFirst) AddItems(AImage, AMask, AFileName, AKeywords, AMaskColor);
    TGraphic* const image = itemFirst ? FImages->Items(FImages->Count() - 1)->Image() : AImage;
    // One native image per cell, so that the native list and the items stay
    // in step for strips of several rows too.
    for (int i = 0; i < cells.Count(); ++i) {
      const TRect source = cells.Strip ? cells.Rect(i, size) : GetGraphicRect(image);
      const TOwned<TcxBitmap32> cell = NativeCell(image, source, size);
      cell->Dormant();
      if (masked) {
        const TOwned<TcxBitmap> mask = MaskCell(AMask, source, size);
        mask->Dormant();
        ImageList_Add(handle, cell->Handle(), mask->Handle());
      } else if (AMaskColor == clNone) {
        // A monochrome mask of zeros: every pixel shows (rows are word aligned).
        const std::vector<std::uint8_t> zeros(static_cast<std::size_t>((size.cx + 15) / 16 * 2 * size.cy));
        const TOwnedBitmap mask(CreateBitmap(size.cx, size.cy, 1, 1, zeros.data()));
        ImageList_Add(handle, cell->Handle(), mask.Get());
      } else {
        ImageList_AddMasked(handle, cell->Handle(), ColorToColorRef(AMaskColor));
      }
    }
    if (Count() == before + cells.Count()) {
      first = before;
    } else {
      // A cell the native list refused: the others go too.
      while (Count() > before) TCustomImageList::Delete(Count() - 1);
      if (itemFirst) FImages->Delete(FImages->Count() - 1);
      return;
    }
    if (!IsSynchronizing() && !itemFirst) AddItems(AImage, AMask, AFileName, AKeywords, AMaskColor);
    Change();
  });
  return first;
}

void TcxCustomImageList::AddItems(TGraphic* AImage, TBitmap* AMask, const String& AFileName,
                                  const String& AKeywords, TColor AMaskColor) {
  const TSize size(Width(), Height());
  const TcxImageCells cells(AImage, size);
  if (!cells.Strip) {
    FImages->Add(AImage, AMask, AFileName, AKeywords, AMaskColor);
    return;
  }
  const bool masked = AMask && !AMask->Empty();
  for (int i = 0; i < cells.Count(); ++i) {
    const TRect source = cells.Rect(i, size);
    const TOwned<TcxBitmap> image = ItemCell(AImage, source, size);
    const TOwned<TcxBitmap> mask = masked ? MaskCell(AMask, source, size) : nullptr;
    FImages->Add(image.get(), mask.get(), AFileName, AKeywords, AMaskColor);
  }
}

int TcxCustomImageList::Add(TGraphic* AImage, TBitmap* AMask) {
  return AddImageInfo(AImage, AMask, String(), String(), clNone);
}

int TcxCustomImageList::Add(TdxSmartImage* AImage, const String& AKeywords, const String& ASourceFileName) {
  return AddImageInfo(AImage, nullptr, ASourceFileName, AKeywords, clNone);
}

int TcxCustomImageList::AddMasked(TGraphic* AImage, TColor AMaskColor) {
  return AddImageInfo(AImage, nullptr, String(), String(), AMaskColor);
}

int TcxCustomImageList::AddBitmap(TBitmap* AImage, TBitmap* AMask, TColor AMaskColor, bool AStretch,
                                  bool ASmooth) {
  if (!IsGraphicAssigned(AImage)) return -1;
  TOwned<TcxBitmap32> image;
  TOwned<TcxBitmap32> mask;
  if (AImage->Width() != Width() || AImage->Height() != Height()) {
    // Fitted to the list's size; around a centred image the mask is white
    // (transparent).
    const auto fitted = [&](TBitmap* ASource, TColor ABackground, bool ASmoothResize) {
      TOwned<TcxBitmap32> bitmap(NewWith<TcxBitmap32>(
          [&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(ASource->Width(), ASource->Height(), true); }));
      bitmap->CopyBitmap(ASource);
      ResizeBitmap32(bitmap.get(), Width(), Height(), AStretch, ASmoothResize, ABackground);
      return bitmap;
    };
    image = fitted(AImage, clNone, ASmooth && AImage->PixelFormat() == pf32bit);
    if (AMask && !AMask->Empty()) mask = fitted(AMask, clWhite, false);
  }
  TBitmap* finalImage = image ? image.get() : AImage;
  TBitmap* finalMask = mask ? mask.get() : AMask;
  return finalMask && !finalMask->Empty() ? Add(finalImage, finalMask) : AddMasked(finalImage, AMaskColor);
}

int TcxCustomImageList::AddIcon(TIcon* AImage) {
  int index = -1;
  WithUpdate(this, [&] {
    index = inherited::AddIcon(AImage);
    if (index < 0 || IsSynchronizing()) return;
    TOwned<TcxBitmap> image(NewBitmap32(Width(), Height()));
    TOwned<TcxBitmap> mask(NewMonochrome(Width(), Height()));
    GetImageInfo(Handle(), index, image.get(), mask.get());
    FImages->Add(image.get(), mask.get(), String(), String(), clNone);
  });
  return index;
}

int TcxCustomImageList::AddImage(TCustomImageList* AImages, int AIndex) {
  if (!AImages || AIndex < 0 || AIndex >= AImages->Count()) return -1;
  const int previous = Count();
  CopyImages(AImages, AIndex, AIndex);
  return previous;
}

int TcxCustomImageList::AddImageFromResource(HINSTANCE AInstance, const String& AResourceName,
                                             const wchar_t* AResType) {
  if (AResourceName.empty()) return -1;
  const TOwned<TdxSmartImage> image(New<TdxSmartImage>());
  image->LoadFromResource(AInstance, AResourceName, AResType);
  return Add(image.get(), nullptr);
}

void TcxCustomImageList::AddImagesFromZipStream(TStream* AStream) {
  const TOwned<TdxZIPStreamReader> archive(New<TdxZIPStreamReader>(AStream, false));
  WithUpdate(this, [&] {
    for (const TdxZIPFileEntry& entry : archive->Files()) {
      if (entry.IsDirectory) continue;
      // No image file is larger than its decoded pixels may be: a larger
      // entry is refused before it takes memory.
      if (static_cast<std::uint64_t>(entry.OriginalSize) > dxMaxDecodedImageBytes)
        throw EdxException(LoadLocalizedResString(&scxImageTooLarge));
      const TOwned<TMemoryStream> data(New<TMemoryStream>());
      archive->Extract(entry, data.get());
      data->SetPosition(0);
      const TOwned<TdxSmartImage> image(New<TdxSmartImage>());
      image->LoadFromStream(data.get());
      // Names are UTF-8 when the entry says so (bit 11), else the ANSI code page's.
      const String name = (entry.Flag & 0x0800) ? UTF8ToString(entry.Name) : AnsiToString(entry.Name);
      AddImageInfo(image.get(), nullptr, name, String(), clNone);
    }
  });
}

void TcxCustomImageList::AddImagesFromResZipStream(HINSTANCE AInstance, const String& AResourceName,
                                                   const wchar_t* AResType) {
  const TOwned<TResourceStream> stream(New<TResourceStream>(AInstance, AResourceName, AResType));
  AddImagesFromZipStream(stream.get());
}

void TcxCustomImageList::CopyImages(TCustomImageList* AImages, int AStartIndex, int AEndIndex) {
  if (!AImages) return;
  auto* source = dynamic_cast<TcxCustomImageList*>(AImages);
  if (!source) {
    const TOwned<TcxImageList> copy(New<TcxImageList>(nullptr));
    copy->Assign(AImages);
    CopyImages(copy.get(), AStartIndex, AEndIndex);
    return;
  }
  WithUpdate(this, [&] {
    // Fixed before adding: a list may copy its own images.
    const int last = source->FImages->Count() - 1;
    const int end = AEndIndex < 0 ? last : std::min(AEndIndex, last);
    for (int i = std::max(AStartIndex, 0); i <= end; ++i) {
      TcxImageInfo* info = source->FImages->Items(i)->ImageInfo();
      AddImageInfo(info->Image(), info->Mask(), info->FileName(), info->Keywords(), info->MaskColor());
    }
  });
}

bool TcxCustomImageList::LoadImage(HINSTANCE AInstance, const String& AResourceName, TColor AMaskColor,
                                   int AWidth, TLoadResources AFlags) {
  static constexpr UINT flags[] = {0, LR_DEFAULTSIZE, LR_LOADFROMFILE, LR_LOADMAP3DCOLORS, LR_LOADTRANSPARENT,
                                   LR_MONOCHROME};
  UINT loadFlags = LR_CREATEDIBSECTION;
  for (int i = lrDefaultColor; i <= lrMonoChrome; ++i)
    if (AFlags.Contains(static_cast<TLoadResource>(i))) loadFlags |= flags[i];
  const HIMAGELIST loaded = ImageList_LoadImageW(AInstance, AResourceName.c_str(), AWidth, AllocBy(),
                                                 NativeListColor(AMaskColor), IMAGE_BITMAP, loadFlags);
  if (!loaded) return false;
  const TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetHandle(loaded);
  CopyImages(images.get());
  return true;
}

// ---------------------------------------------------------------------------
// Inserting, replacing, deleting, moving

void TcxCustomImageList::InsertAdded(int AIndex, const std::function<int()>& AAdd) {
  if (AIndex < 0 || AIndex > Count()) return;
  WithUpdate(this, [&] {
    const int before = Count();
    const int first = AAdd();
    if (first < 0) return;
    const int added = Count() - before;
    for (int k = 0; k < added; ++k) Move(first + k, AIndex + k);
  });
}

void TcxCustomImageList::Insert(int AIndex, TGraphic* AImage, TBitmap* AMask) {
  InsertAdded(AIndex, [&] { return Add(AImage, AMask); });
}

void TcxCustomImageList::InsertMasked(int AIndex, TGraphic* AImage, TColor AMaskColor) {
  InsertAdded(AIndex, [&] { return AddMasked(AImage, AMaskColor); });
}

void TcxCustomImageList::InsertIcon(int AIndex, TIcon* AImage) {
  InsertAdded(AIndex, [&] { return AddIcon(AImage); });
}

void TcxCustomImageList::ReplaceWith(int AIndex, const std::function<void()>& AInsert) {
  WithUpdate(this, [&] {
    Delete(AIndex);
    AInsert();
  });
}

void TcxCustomImageList::Replace(int AIndex, TGraphic* AImage, TBitmap* AMask) {
  ReplaceWith(AIndex, [&] { Insert(AIndex, AImage, AMask); });
}

void TcxCustomImageList::ReplaceMasked(int AIndex, TGraphic* AImage, TColor AMaskColor) {
  ReplaceWith(AIndex, [&] { InsertMasked(AIndex, AImage, AMaskColor); });
}

void TcxCustomImageList::ReplaceIcon(int AIndex, TIcon* AImage) {
  ReplaceWith(AIndex, [&] { InsertIcon(AIndex, AImage); });
}

void TcxCustomImageList::Delete(int AIndex) {
  WithUpdate(this, [&] {
    inherited::Delete(AIndex);
    if (!IsSynchronizing()) FImages->Delete(AIndex);
  });
}

void TcxCustomImageList::Move(int ACurIndex, int ANewIndex) {
  WithUpdate(this, [&] {
    inherited::Move(ACurIndex, ANewIndex);
    if (!IsSynchronizing() && ACurIndex < FImages->Count() && ANewIndex < FImages->Count())
      FImages->Move(ACurIndex, ANewIndex);
  });
}

void TcxCustomImageList::Resize(const TSize& ASize) {
  WithUpdate(this, [&] {
    ++FSynchronizationLockCount;
    const TScopeExit synchronized([this] { --FSynchronizationLockCount; });
    for (int i = 0; i < FImages->Count(); ++i) FImages->Items(i)->ImageInfo()->Resize(ASize);
    TCustomImageList::SetSize(ASize.cx, ASize.cy);
    SynchronizeHandle();
  });
}

void TcxCustomImageList::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(1, AWidth);
  AHeight = std::max(1, AHeight);
  if (AWidth == Width() && AHeight == Height()) return;
  if (AWidth > dxImageListMaxImageSize || AHeight > dxImageListMaxImageSize)
    throw EInvalidOperation(LoadLocalizedResString(&scxImageListSizeTooLarge), {AWidth, AHeight, dxImageListMaxImageSize});
  WithUpdate(this, [&] {
    Clear();
    inherited::SetSize(AWidth, AHeight);
  });
}

void TcxCustomImageList::SetHandle(HIMAGELIST AValue) {
  if (HandleAllocated() && AValue == Handle()) return;
  const TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetHandle(AValue);
  Assign(images.get());
}

// ---------------------------------------------------------------------------
// Synchronisation

void TcxCustomImageList::SynchronizeHandle() {
  WithUpdate(this, [&] {
    ++FSynchronizationLockCount;
    const TScopeExit synchronized([this] { --FSynchronizationLockCount; });
    Clear();
    // Made with room for every item: grown by a few images at a time, the
    // native list would copy all it holds at every step.
    Handle();
    RecreateHandle(FImages->Count());
    for (int i = 0; i < FImages->Count();) {
      TcxImageInfo* info = FImages->Items(i)->ImageInfo();
      if (AddImageInfo(info->Image(), info->Mask(), info->FileName(), info->Keywords(), info->MaskColor()) < 0) {
        FImages->Delete(i);
      } else {
        info->Dormant();
        ++i;
      }
    }
  });
}

void TcxCustomImageList::SynchronizeImageInfo() {
  WithUpdate(this, [&] {
    FImages->Clear();
    const int count = Count();
    for (int i = 0; i < count; ++i) {
      TOwned<TcxBitmap> image(NewBitmap32(Width(), Height()));
      TOwned<TcxBitmap> mask(NewMonochrome(Width(), Height()));
      GetImageInfo(Handle(), i, image.get(), mask.get());
      FImages->Add(image.get(), mask.get(), String(), String(), clNone);
    }
  });
}

bool TcxCustomImageList::LoadNativeThenItems(const std::function<bool()>& ALoad) {
  bool result = false;
  WithUpdate(this, [&] {
    result = ALoad();
    SynchronizeImageInfo();
  });
  return result;
}

bool TcxCustomImageList::FileLoad(TResType AResType, const String& AName, TColor AMaskColor) {
  return LoadNativeThenItems([&] { return inherited::FileLoad(AResType, AName, AMaskColor); });
}

bool TcxCustomImageList::GetResource(TResType AResType, const String& AName, int AWidth, TLoadResources ALoadFlags,
                                     TColor AMaskColor) {
  return LoadNativeThenItems(
      [&] { return inherited::GetResource(AResType, AName, AWidth, ALoadFlags, AMaskColor); });
}

bool TcxCustomImageList::GetInstRes(HINSTANCE AInstance, TResType AResType, const String& AName, int AWidth,
                                    TLoadResources ALoadFlags, TColor AMaskColor) {
  return LoadNativeThenItems(
      [&] { return inherited::GetInstRes(AInstance, AResType, AName, AWidth, ALoadFlags, AMaskColor); });
}

bool TcxCustomImageList::ResourceLoad(TResType AResType, const String& AName, TColor AMaskColor) {
  return LoadNativeThenItems([&] { return inherited::ResourceLoad(AResType, AName, AMaskColor); });
}

bool TcxCustomImageList::ResInstLoad(HINSTANCE AInstance, TResType AResType, const String& AName,
                                     TColor AMaskColor) {
  return LoadNativeThenItems([&] { return inherited::ResInstLoad(AInstance, AResType, AName, AMaskColor); });
}

// ---------------------------------------------------------------------------
// Reading images back

void TcxCustomImageList::GetImageInfo(int AIndex, TBitmap* AImage, TBitmap* AMask, IdxColorPalette* APalette) {
  if (AIndex == -1) {
    GetImageInfo(Handle(), -1, AImage, AMask);
    return;
  }
  if (AIndex < 0 || AIndex >= FImages->Count()) return;
  TcxImageInfo* info = FImages->Items(AIndex)->ImageInfo();
  if (TcxImageInfoHelper::GetPixelFormat(info->Image()) == pf32bit) {
    if (AImage) {
      if (AImage->Empty()) AImage->SetSize(Width(), Height());
      DrawGraphicToBitmap(AImage, info->Image(), true, APalette);
    }
    if (AMask) {
      if (!info->Mask()->Empty()) {
        AMask->Assign(info->Mask());
      } else {
        TcxBitmap* internal = info->InternalMask();
        if (internal->Empty()) {
          internal->SetSize(Width(), Height());
          GetImageInfo(Handle(), AIndex, nullptr, internal);
        }
        AMask->Assign(internal);
      }
    }
  } else {
    GetImageInfo(Handle(), AIndex, AImage, AMask);
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(info->Image())) bitmap->Dormant();
}

void TcxCustomImageList::GetImage(int AIndex, TdxSmartImage* AImage) {
  if (!AImage || AIndex < 0 || AIndex >= FImages->Count()) return;
  TGraphic* image = FImages->Items(AIndex)->ImageInfo()->Image();
  if (TcxImageInfoHelper::GetPixelFormat(image) == pf32bit) {
    AImage->Assign(image);
    return;
  }
  const TOwned<TcxBitmap> bitmap(New<TcxBitmap>());
  GetImageInfo(AIndex, bitmap.get(), nullptr);
  AImage->Assign(bitmap.get());
}

void TcxCustomImageList::GetImageInfo(TCustomImageList* AImages, int AIndex, TBitmap* AImage, TBitmap* AMask,
                                      IdxColorPalette* APalette) {
  if (!AImages) return;
  if (auto* images = dynamic_cast<TcxCustomImageList*>(AImages))
    images->GetImageInfo(AIndex, AImage, AMask, APalette);
  else
    GetImageInfo(AImages->Handle(), AIndex, AImage, AMask);
}

void TcxCustomImageList::GetImageInfo(HIMAGELIST AHandle, int AIndex, TBitmap* AImage, TBitmap* AMask) {
  IMAGEINFO info{};
  if (!AHandle || !ImageList_GetImageInfo(AHandle, std::max(AIndex, 0), &info)) return;
  const TRect r(info.rcImage);
  // The native bitmaps stay selected in the list's own device context: the
  // images are drawn out of the list rather than copied from its bitmaps.
  const auto readBitmap = [&](TBitmap* ATarget, HBITMAP ASource, UINT AStyle) {
    if (AIndex == -1) {
      ATarget->SetHandle(static_cast<HBITMAP>(CopyImage(ASource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      return;
    }
    if (ATarget->Empty()) ATarget->SetSize(r.Width(), r.Height());
    const HDC dc = ATarget->Canvas()->Handle();
    const RECT all = TRect(0, 0, ATarget->Width(), ATarget->Height());
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(AStyle == ILD_MASK ? WHITE_BRUSH : BLACK_BRUSH)));
    ImageList_DrawEx(AHandle, AIndex, dc, 0, 0, 0, 0, CLR_NONE, CLR_NONE, AStyle);
    GdiFlush();
    ATarget->Changed(ATarget);
  };
  if (AImage) {
    readBitmap(AImage, info.hbmImage, ILD_IMAGE | ILD_PRESERVEALPHA);
    if (HasGraphicAlphaChannel(AImage)) {
      TRGBColors colors;
      if (GetGraphicPixels(AImage, colors, true)) {
        for (RGBQUAD& pixel : colors)
          if (pixel.rgbReserved == 0 && (pixel.rgbBlue | pixel.rgbGreen | pixel.rgbRed) != 0) pixel.rgbReserved = 255;
        SetGraphicPixels(AImage, colors, true);
      }
    }
    AImage->Dormant();
  }
  if (AMask) {
    if (info.hbmMask) {
      readBitmap(AMask, info.hbmMask, ILD_MASK);
    } else {
      if (AMask->Empty()) AMask->SetSize(r.Width(), r.Height());
      ClearBitmapToBlack(AMask);
    }
    AMask->Dormant();
  }
}

int TcxCustomImageList::GetPixelFormat(HIMAGELIST AHandle) {
  IMAGEINFO info{};
  BITMAP bitmap{};
  if (!AHandle || !ImageList_GetImageInfo(AHandle, 0, &info) || !GetBitmapData(info.hbmImage, bitmap)) return 0;
  return bitmap.bmBitsPixel;
}

// ---------------------------------------------------------------------------
// TcxImageList

void TcxImageList::Publish(TPublisher<TcxImageList>& P) {
  P.Property(L"AlphaBlending", &TcxImageList::AlphaBlending, &TcxImageList::SetAlphaBlending).Default(true);
  P.Property(L"BkColor", &TcxImageList::BkColor, &TcxImageList::SetBkColor).Default(clNone);
  P.Property(L"BlendColor", &TcxImageList::BlendColor, &TcxImageList::SetBlendColor).Default(clNone);
  P.Property(L"ColorDepth", &TcxImageList::ColorDepth, &TcxImageList::SetColorDepth).Default(cd32Bit);
  P.Property(L"CompressData", &TcxImageList::CompressData, &TcxImageList::SetCompressData).Default(false);
  P.Property(L"DrawingStyle", &TcxImageList::DrawingStyle, &TcxImageList::SetDrawingStyle).Default(dsNormal);
  P.Property(L"Height", &TcxImageList::Height, &TcxImageList::SetHeight).Default(16);
  P.Property(L"ImageType", &TcxImageList::ImageType, &TcxImageList::SetImageType).Default(itImage);
  P.Property(L"ShareImages", &TcxImageList::ShareImages, &TcxImageList::SetShareImages).Default(false);
  P.Property(L"Width", &TcxImageList::Width, &TcxImageList::SetWidth).Default(16);
  P.Property(L"OnChange", &TcxImageList::OnChange, &TcxImageList::SetOnChange);
}

void cxImageListInitialization() { RegisterClasses({TcxImageList::ClassInfo()}); }
