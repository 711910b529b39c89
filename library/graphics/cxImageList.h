// The image list.
//
// Classes in this file:
//   TcxImageInfoImage        the stored form of one item's image
//   TcxImageInfoItem         one item: the image class and its data
//   TcxImageInfoCollection   the items
//   TcxImageList             the image list
//
// This is the minimal form of the image list: the class with what the main
// window's form description stores (SourceDPI, "FormatVersion" and the
// "ImageInfo" items, each an image class name and the image's data), over the
// class library's image list. The items are read and kept as stored, so that
// nothing of the description is lost, but not yet decoded into the native
// list: the list shows no images until the smart images arrive.
#pragma once

#include "platform/classes/Collection.h"
#include "platform/ui/ImgList.h"

#include <cstdint>
#include <vector>

class TcxImageInfoImage : public TPersistent {
  SK_CLASS(TcxImageInfoImage, TPersistent)
 public:
  const std::vector<std::uint8_t>& Data() const { return FData; }
  void SetData(std::vector<std::uint8_t> AValue) { FData = std::move(AValue); }
  void Assign(TPersistent* ASource) override;

 protected:
  void DefineProperties(TFiler* AFiler) override;

 private:
  std::vector<std::uint8_t> FData;
};

class TcxImageInfoItem : public TCollectionItem {
  SK_CLASS(TcxImageInfoItem, TCollectionItem)
 public:
  static void Publish(TPublisher<TcxImageInfoItem>& P);

  void Create(TCollection* ACollection) override;
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  // The registered name of the image's class (e.g. "TdxPNGImage").
  const String& ImageClass() const { return FImageClass; }
  void SetImageClass(const String& AValue) { FImageClass = AValue; }
  TcxImageInfoImage* Image() const { return FImage.get(); }
  void SetImage(TcxImageInfoImage* AValue) { FImage->Assign(AValue); }

 private:
  String FImageClass;
  TOwned<TcxImageInfoImage> FImage;
};

class TcxImageInfoCollection : public TCollection {
  SK_CLASS(TcxImageInfoCollection, TCollection)
 public:
  TcxImageInfoItem* Items(int AIndex) const { return static_cast<TcxImageInfoItem*>(inherited::Items(AIndex)); }
};

class TcxImageList : public TDragImageList {
  SK_CLASS(TcxImageList, TDragImageList)
 public:
  static void Publish(TPublisher<TcxImageList>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  // The DPI the images were made for.
  int SourceDPI() const { return FSourceDPI; }
  void SetSourceDPI(int AValue) { FSourceDPI = AValue; }
  // The stored items as read.
  TcxImageInfoCollection* ImageInfo() const { return FImageInfo.get(); }
  int FormatVersion() const { return FFormatVersion; }

 protected:
  void DefineProperties(TFiler* AFiler) override;

 private:
  int FSourceDPI;
  int FFormatVersion;
  TOwned<TcxImageInfoCollection> FImageInfo;
};

// Unit start-up: registers the class by name.
void cxImageListInitialization();
