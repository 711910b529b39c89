// The library's image list and its items.
//
// Classes in this file:
//   EcxUnsupportedImageListStreamFormat  a "DXIL" stream of another signature or version
//   TcxImageInfo             one image as it was added: graphic, mask or mask colour,
//                            file name, keywords                    (cxImageList.cpp)
//   TcxImageInfoHelper       what is done to an item's graphic whatever its class
//   TcxImageInfoItem         the collection item through which an image is stored
//   TcxImageInfoCollection   the items of one list
//   TcxBaseImageList         a class-library image list with a source DPI
//   TcxCustomImageList       the native list and the items in step  (cxImageList_List.cpp);
//                            drawing (cxImageList_Draw.cpp); the "DXIL" stream and the
//                            form data                          (cxImageList_Stream.cpp)
//   TcxImageList             publishes the properties form data store
//
// The native Windows list does the classic drawing and answers the class
// library; the items keep every image as it was added (PNG smart images,
// 32-bit bitmaps, masks) and are what the list stores and what it draws
// with alpha blending. While the native list is rebuilt from the items
// (synchronising), additions and deletions touch only the native list.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/imaging/dxColorPalettes.h"
#include "platform/classes/Collection.h"
#include "platform/ui/ImgList.h"

class TcxBitmap;
class TcxCustomImageList;

// The largest side of an image list's images: larger cells are no images a
// list holds, and a damaged size would ask for gigabytes.
constexpr int dxImageListMaxImageSize = 4096;
class TdxSmartImage;

class EcxUnsupportedImageListStreamFormat : public EdxException {
 public:
  using EdxException::EdxException;
};

// ---------------------------------------------------------------------------
// Items

class TcxImageInfo : public TPersistent {
  SK_CLASS(TcxImageInfo, TPersistent)
 public:
  // An empty TcxBitmap image and mask, no mask colour.
  void Create();
  void Destroy() override;
  // From another TcxImageInfo: image, mask, mask colour, keywords, file name.
  void Assign(TPersistent* ASource) override;
  // Equal mask colours, keywords and file names, and images and masks that
  // are the same or save to the same bytes.
  bool Equals(TcxImageInfo* AInfo);

  // A non-empty value first makes the image of its class; then the image
  // takes the value (nil empties it).
  TGraphic* Image() const { return FImage.get(); }
  void SetImage(TGraphic* AValue);
  // Nil without an image; another class replaces the image by an empty one.
  TGraphicClass ImageClass() const { return FImage ? FImage->ClassType() : nullptr; }
  void SetImageClass(TGraphicClass AValue);
  String ImageClassName() const;
  // A class registered by that name that makes graphics, else EdxException.
  void SetImageClassName(const String& AValue);
  TBitmap* Mask() const { return FMask.get(); }
  void SetMask(TBitmap* AValue);
  TColor MaskColor() const { return FMaskColor; }
  void SetMaskColor(TColor AValue) { FMaskColor = AValue; }
  const String& FileName() const { return FFileName; }
  void SetFileName(const String& AValue) { FFileName = AValue; }
  const String& Keywords() const { return FKeywords; }
  void SetKeywords(const String& AValue) { FKeywords = AValue; }
  // The native list's mask of the item, filled once by the list when the
  // item has no mask of its own.
  TcxBitmap* InternalMask();
  // The image's default file extension in capitals ("PNG", "BMP"); "IMG"
  // when there is none.
  String ImageType();
  // Computed once after each change of the image.
  bool IsAlphaUsed();

  void FlushMask();
  // Image, mask, mask colour, file name and keywords cleared.
  void Reset();
  // The image and the mask release their decoded or device resources.
  void Dormant();
  // An item with a mask or a mask colour becomes a 32-bit bitmap whose alpha
  // channel holds that transparency; the mask goes in every case.
  void ConvertTo32Bit();
  void Resize(const TSize& ASize);

 private:
  TOwned<TGraphic> FImage;
  TOwned<TcxBitmap> FMask;
  TColor FMaskColor;
  TOwned<TcxBitmap> FInternalMask;
  TdxDefaultBoolean FIsAlphaUsed;
  String FFileName;
  String FKeywords;
};

// An item's graphic whatever its class: bitmaps, smart images, others.
class TcxImageInfoHelper {
 public:
  TcxImageInfoHelper() = delete;

  // A bitmap by a canvas copy, a smart image drawn onto ADest (no palette,
  // opacity 255); other graphics are not copied.
  static void CopyRect(TBitmap* ADest, const TRect& ADestRect, TGraphic* ASource);
  static void CopyRect(TBitmap* ADest, const TRect& ADestRect, const TRect& ASourceRect, TGraphic* ASource);
  // The bottom-left pixel of a bitmap that uses no alpha and has no mask;
  // otherwise clNone.
  static TColor GetDefaultTransparentColor(TGraphic* AImage, TBitmap* AMask);
  // A bitmap's pixel; clNone for any other graphic.
  static TColor GetPixel(TGraphic* AGraphic, int X, int Y);
  // A bitmap's own; pf24bit for a metafile; pf32bit for every other graphic.
  static TPixelFormat GetPixelFormat(TGraphic* AGraphic);
  // A 32-bit bitmap (fully opaque ones too), a smart image that uses alpha.
  static bool IsAlphaUsed(TGraphic* AGraphic);
  // Smart images and bitmaps; any other graphic raises.
  static void Resize(TGraphic* AGraphic, const TSize& ASize);
};

class TcxImageInfoItem : public TCollectionItem {
  SK_CLASS(TcxImageInfoItem, TCollectionItem)
 public:
  static void Publish(TPublisher<TcxImageInfoItem>& P);

  // CompressData follows the collection's.
  void Create(TCollection* ACollection) override;
  void Create(TCollection* ACollection, TGraphic* AImage, TBitmap* AMask, TColor AMaskColor);
  void Destroy() override;
  void Assign(TPersistent* ASource) override;
  bool Equals(TcxImageInfoItem* AItem) { return AItem && FImageInfo->Equals(AItem->FImageInfo.get()); }

  TcxImageInfo* ImageInfo() const { return FImageInfo.get(); }

  // Published, in this order; ImageClass is stored unless the image is a
  // TcxBitmap, so reading it first makes the image of the stored class
  // before its data arrives.
  String ImageClass() const { return FImageInfo->ImageClassName(); }
  void SetImageClass(const String& AValue) { FImageInfo->SetImageClassName(AValue); }
  TGraphic* Image() const { return FImageInfo->Image(); }
  void SetImage(TGraphic* AValue) { FImageInfo->SetImage(AValue); }
  TBitmap* Mask() const { return FImageInfo->Mask(); }
  void SetMask(TBitmap* AValue) { FImageInfo->SetMask(AValue); }
  TColor MaskColor() const { return FImageInfo->MaskColor(); }
  void SetMaskColor(TColor AValue) { FImageInfo->SetMaskColor(AValue); }
  String FileName() const { return FImageInfo->FileName(); }
  void SetFileName(const String& AValue) { FImageInfo->SetFileName(AValue); }
  String Keywords() const { return FImageInfo->Keywords(); }
  void SetKeywords(const String& AValue) { FImageInfo->SetKeywords(AValue); }
  // Whether the image (when a TcxBitmap) and the mask store compressed form data.
  bool CompressData() const;
  void SetCompressData(bool AValue);

 private:
  bool IsImageClassStored() const;

  TOwned<TcxImageInfo> FImageInfo;
};

class TcxImageInfoCollection : public TCollection {
  SK_CLASS(TcxImageInfoCollection, TCollection)
 public:
  using inherited::Add;
  void Create(TcxCustomImageList* AImageList);

  TcxImageInfoItem* Items(int AIndex) const { return static_cast<TcxImageInfoItem*>(inherited::Items(AIndex)); }
  TcxCustomImageList* ImageList() const { return FImageList; }

  // The item keeps copies; its resources are released at once.
  TcxImageInfoItem* Add(TGraphic* AImage, TBitmap* AMask, const String& AFileName, const String& AKeywords,
                        TColor AMaskColor);
  // -1 deletes every item.
  void Delete(int AIndex);
  void Move(int ACurrentIndex, int ANewIndex);
  // The same object, or as many items, pairwise equal.
  bool Equals(TcxImageInfoCollection* ACollection);
  // Items whose image is a vector image.
  int GetVectorImageCount();
  bool CompressData() const { return FCompressData; }
  // Set on every item.
  void SetCompressData(bool AValue);

 protected:
  TPersistent* GetOwner() override;

 private:
  TcxCustomImageList* FImageList;
  bool FCompressData;
};

// ---------------------------------------------------------------------------
// The image list

class TcxBaseImageList : public TNoRefCount<TDragImageList>, public IdxSourceDPI {
  SK_CLASS(TcxBaseImageList, TDragImageList)
 public:
  static void Publish(TPublisher<TcxBaseImageList>& P);

  void BeforeDestruction() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  // The DPI the images were made for, 30..480.
  int SourceDPI() const { return FSourceDPI; }
  void SetSourceDPI(int AValue);

  // IdxSourceDPI
  int GetSourceDPI() override { return FSourceDPI; }

 protected:
  void Initialize() override;

 private:
  int FSourceDPI;
};

class TcxCustomImageList : public TcxBaseImageList {
  SK_CLASS(TcxCustomImageList, TcxBaseImageList)
 public:
  using TCustomImageList::Draw;
  using TCustomImageList::DrawOverlay;

  void Destroy() override;
  // From an image list: its native list and settings, and its items (from
  // a TcxCustomImageList) or its native images.
  void Assign(TPersistent* ASource) override;
  // The same object, or a TcxCustomImageList with equal items.
  bool Equals(TcxCustomImageList* AImages);
  // Equal counts, and equal items, or the same stored form data.
  static bool IsEquals(TCustomImageList* AImages1, TCustomImageList* AImages2);

  // Adding: each answers the native index of the first image added, -1 when
  // nothing was added. An image that is a strip of whole cells adds one
  // item per cell.
  int Add(TGraphic* AImage, TBitmap* AMask);
  int Add(TBitmap* AImage, TBitmap* AMask) override { return Add(static_cast<TGraphic*>(AImage), AMask); }
  int Add(TdxSmartImage* AImage, const String& AKeywords, const String& ASourceFileName);
  int AddMasked(TGraphic* AImage, TColor AMaskColor);
  int AddMasked(TBitmap* AImage, TColor AMaskColor) override {
    return AddMasked(static_cast<TGraphic*>(AImage), AMaskColor);
  }
  // An image (and mask) of another size is fitted to the list's first:
  // stretched (smoothly only when asked and 32-bit) or centred.
  int AddBitmap(TBitmap* AImage, TBitmap* AMask, TColor AMaskColor, bool AStretch, bool ASmooth);
  int AddIcon(TIcon* AImage) override;
  // -1 for no list or an index beyond it; otherwise the previous Count.
  int AddImage(TCustomImageList* AImages, int AIndex);
  void AddImages(TCustomImageList* AImages) { CopyImages(AImages, 0, -1); }
  // -1 for an empty name; a smart image from the module's resource (a
  // missing one raises EResNotFound).
  int AddImageFromResource(HINSTANCE AInstance, const String& AResourceName, const wchar_t* AResType);
  // Every entry of the archive, in archive order, with its name as file name.
  void AddImagesFromZipStream(TStream* AStream);
  void AddImagesFromResZipStream(HINSTANCE AInstance, const String& AResourceName, const wchar_t* AResType);
  // Items AStartIndex..AEndIndex (the last when negative) of another list.
  void CopyImages(TCustomImageList* AImages, int AStartIndex = 0, int AEndIndex = -1);
  // A bitmap resource cut into images AWidth wide; true when it loaded.
  bool LoadImage(HINSTANCE AInstance, const String& AResourceName, TColor AMaskColor, int AWidth,
                 TLoadResources AFlags);

  // Only for 0 <= AIndex <= Count; every image the addition made moves there.
  void Insert(int AIndex, TGraphic* AImage, TBitmap* AMask);
  void Insert(int AIndex, TBitmap* AImage, TBitmap* AMask) override {
    Insert(AIndex, static_cast<TGraphic*>(AImage), AMask);
  }
  void InsertMasked(int AIndex, TGraphic* AImage, TColor AMaskColor);
  void InsertMasked(int AIndex, TBitmap* AImage, TColor AMaskColor) override {
    InsertMasked(AIndex, static_cast<TGraphic*>(AImage), AMaskColor);
  }
  void InsertIcon(int AIndex, TIcon* AImage) override;
  // Delete, then the matching insert at AIndex.
  void Replace(int AIndex, TGraphic* AImage, TBitmap* AMask);
  void Replace(int AIndex, TBitmap* AImage, TBitmap* AMask) override {
    Replace(AIndex, static_cast<TGraphic*>(AImage), AMask);
  }
  void ReplaceMasked(int AIndex, TGraphic* AImage, TColor AMaskColor);
  void ReplaceMasked(int AIndex, TBitmap* AImage, TColor AMaskColor) override {
    ReplaceMasked(AIndex, static_cast<TGraphic*>(AImage), AMaskColor);
  }
  void ReplaceIcon(int AIndex, TIcon* AImage) override;
  // -1 deletes every image.
  void Delete(int AIndex) override;
  void Move(int ACurIndex, int ANewIndex) override;
  // Every item converted to 32 bits and resized; the native list rebuilt.
  void Resize(const TSize& ASize);
  // Each side at least 1; a new size deletes every image. A side above
  // dxImageListMaxImageSize raises EInvalidOperation and changes nothing: the
  // native list could hold no image of it, nor be written.
  void SetSize(int AWidth, int AHeight) override;
  void SetSize(const TSize& ASize) { SetSize(ASize.cx, ASize.cy); }

  // The update counter: EndUpdate reports once the counter is back at 0,
  // CancelUpdate does not.
  void BeginUpdate() { ++FLockCount; }
  void EndUpdate();
  void CancelUpdate() { --FLockCount; }

  // The native handle: this list takes over the handle's images and
  // settings, and the handle is destroyed.
  void SetHandle(HIMAGELIST AValue);

  // The loading of the class library, then the items rebuilt from the
  // native list.
  bool FileLoad(TResType AResType, const String& AName, TColor AMaskColor) override;
  bool GetResource(TResType AResType, const String& AName, int AWidth, TLoadResources ALoadFlags,
                   TColor AMaskColor) override;
  bool GetInstRes(HINSTANCE AInstance, TResType AResType, const String& AName, int AWidth,
                  TLoadResources ALoadFlags, TColor AMaskColor) override;
  bool ResourceLoad(TResType AResType, const String& AName, TColor AMaskColor) override;
  bool ResInstLoad(HINSTANCE AInstance, TResType AResType, const String& AName, TColor AMaskColor) override;

  // Reading images back. -1: the native list's whole bitmaps; an index
  // outside the list: nothing. 32-bit items answer from the item (the image
  // drawn through the palette, the item's mask or the native mask), other
  // items from the native list.
  void GetImageInfo(int AIndex, TBitmap* AImage, TBitmap* AMask, IdxColorPalette* APalette = nullptr);
  void GetImage(int AIndex, TBitmap* AImage) { GetImageInfo(AIndex, AImage, nullptr); }
  void GetMask(int AIndex, TBitmap* AMask) { GetImageInfo(AIndex, nullptr, AMask); }
  // The item's own image when it is 32-bit, else the image as read.
  void GetImage(int AIndex, TdxSmartImage* AImage);
  static void GetImageInfo(TCustomImageList* AImages, int AIndex, TBitmap* AImage, TBitmap* AMask,
                           IdxColorPalette* APalette = nullptr);
  static void GetImageInfo(HIMAGELIST AHandle, int AIndex, TBitmap* AImage, TBitmap* AMask);
  // Bits per pixel of the native list's image bitmap; 0 when unreadable.
  static int GetPixelFormat(HIMAGELIST AHandle);

  // Drawing with DrawingStyle and ImageType: a rectangle of the list's size
  // is never stretched; without stretching the image is centred.
  void Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, bool AStretch = true, bool ASmoothResize = false,
            bool AEnabled = true);
  void DrawOverlay(TCanvas* ACanvas, int X, int Y, int AImageIndex, int AOverlay, TDrawingStyle ADrawingStyle,
                   TImageType AImageType, bool AEnabled = true);

  // The "DXIL" stream. Loading is all or nothing: a stream that cannot be
  // read whole raises (EcxUnsupportedImageListStreamFormat for another
  // signature or version, EReadError for damaged data) and leaves the list
  // as it was.
  void LoadFromStream(TStream* AStream);
  void SaveToStream(TStream* AStream);
  void LoadFromFile(const String& AFileName);
  void SaveToFile(const String& AFileName);
  void LoadFromResource(HINSTANCE AInstance, const String& AResourceName, const wchar_t* AResourceType);

  bool AlphaBlending() const { return FAlphaBlending; }
  void SetAlphaBlending(bool AValue);
  bool CompressData() const { return FImages->CompressData(); }
  void SetCompressData(bool AValue) { FImages->SetCompressData(AValue); }
  int DesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(int AValue) { FDesignInfo = AValue; }
  // The form-data version read or written (0: data from before the items).
  int FormatVersion() const { return FFormatVersion; }
  TcxImageInfoCollection* Images() const { return FImages.get(); }

 protected:
  void Initialize() override;
  // Nothing while updating, loading, reading or being destroyed; else the
  // paint cache forgets the list and the class library tells the links.
  void Change() override;
  void DoDraw(int AIndex, TCanvas* ACanvas, int X, int Y, UINT AStyle, bool AEnabled) override;
  void DefineProperties(TFiler* AFiler) override;

 private:
  friend class TcxImageInfoCollection;

  // The core add: the image goes into the native list as a 32-bit bitmap
  // and, unless synchronising, into the items (a strip as one item a cell).
  int AddImageInfo(TGraphic* AImage, TBitmap* AMask, const String& AFileName, const String& AKeywords,
                   TColor AMaskColor);
  void AddItems(TGraphic* AImage, TBitmap* AMask, const String& AFileName, const String& AKeywords,
                TColor AMaskColor);
  // Adds through AAdd and moves what it made to AIndex on.
  void InsertAdded(int AIndex, const std::function<int()>& AAdd);
  // Only when the native list holds AIndex: deleted, then AInsert.
  void ReplaceWith(int AIndex, const std::function<void()>& AInsert);
  bool IsSynchronizing() const { return FSynchronizationLockCount > 0; }
  // The native list rebuilt from the items.
  void SynchronizeHandle();
  // The items rebuilt from the native list.
  void SynchronizeImageInfo();
  // A class-library operation that changes the native list, then the items
  // made anew from it.
  bool LoadNativeThenItems(const std::function<bool()>& ALoad);
  // ARect drawn in with the native flags AStyle where the native list draws.
  void DrawItem(TCanvas* ACanvas, const TRect& ARect, int AIndex, UINT AStyle, bool AStretch, bool ASmooth,
                bool AEnabled);
  // The "DXIL" stream: the native data and the items read into this list.
  void ReadStreamContent(TStream* AStream);
  // This list takes over another's size, colours, native list and items.
  void TakeContent(TcxCustomImageList* ASource);
  void ReadImageInfo(TReader* AReader);
  void WriteImageInfo(TWriter* AWriter);
  bool NeedsNativeData();
  void ReadNativeData(TStream* AStream);

  TOwned<TcxImageInfoCollection> FImages;
  bool FAlphaBlending;
  int FFormatVersion;
  int FLockCount;
  int FSynchronizationLockCount;
  int FDesignInfo;
};

class TcxImageList : public TcxCustomImageList {
  SK_CLASS(TcxImageList, TcxCustomImageList)
 public:
  static void Publish(TPublisher<TcxImageList>& P);
};

// Unit start-up: registers the classes by name.
void cxImageListInitialization();
