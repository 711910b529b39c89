#include "library/graphics/cxImageList.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Streams.h"

// ---------------------------------------------------------------------------
// TcxImageInfoImage

void TcxImageInfoImage::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxImageInfoImage*>(ASource)) {
    FData = source->FData;
    return;
  }
  inherited::Assign(ASource);
}

void TcxImageInfoImage::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineBinaryProperty(
      L"Data",
      [this](TStream* AStream) {
        FData.resize(static_cast<std::size_t>(AStream->Size() - AStream->Position()));
        if (!FData.empty()) AStream->ReadBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
      },
      [this](TStream* AStream) {
        if (!FData.empty()) AStream->WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
      },
      !FData.empty());
}

// ---------------------------------------------------------------------------
// TcxImageInfoItem

void TcxImageInfoItem::Publish(TPublisher<TcxImageInfoItem>& P) {
  P.Property(L"ImageClass", &TcxImageInfoItem::ImageClass, &TcxImageInfoItem::SetImageClass);
  P.Property(L"Image", &TcxImageInfoItem::Image, &TcxImageInfoItem::SetImage);
}

void TcxImageInfoItem::Create(TCollection* ACollection) {
  FImage.reset(New<TcxImageInfoImage>());
  inherited::Create(ACollection);
}

void TcxImageInfoItem::Destroy() {
  inherited::Destroy();
  FImage.reset();
}

void TcxImageInfoItem::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxImageInfoItem*>(ASource)) {
    FImageClass = source->FImageClass;
    FImage->Assign(source->FImage.get());
    return;
  }
  inherited::Assign(ASource);
}

// ---------------------------------------------------------------------------
// TcxImageList

void TcxImageList::Publish(TPublisher<TcxImageList>& P) {
  P.Property(L"SourceDPI", &TcxImageList::SourceDPI, &TcxImageList::SetSourceDPI).Default(0);
}

void TcxImageList::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FImageInfo.reset(New<TcxImageInfoCollection>(TcxImageInfoItem::ClassInfo()));
}

void TcxImageList::Destroy() {
  FImageInfo.reset();
  inherited::Destroy();
}

void TcxImageList::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"FormatVersion", [this](TReader* AReader) { FFormatVersion = AReader->ReadInteger(); },
      [](TWriter* AWriter) { AWriter->WriteInteger(1); }, true);
  AFiler->DefineProperty(
      L"ImageInfo", [this](TReader* AReader) { AReader->ReadCollection(FImageInfo.get()); },
      [this](TWriter* AWriter) { AWriter->WriteCollection(FImageInfo.get()); }, FImageInfo->Count() > 0);
}

void cxImageListInitialization() { RegisterClasses({TcxImageList::ClassInfo()}); }
