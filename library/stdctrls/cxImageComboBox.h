// The image combo box: a fixed-list combo box whose edit value is the Value
// of one of its items; the edit area and every list row show the item's
// image and, optionally, its description.
//
// Classes in this file:
//   TcxImageAlign                          the image's side
//   TcxImageComboBoxItem, TcxImageComboBoxItems   the items
//   TcxCustomImageComboBoxProperties,
//   TcxImageComboBoxProperties             settings and the value-to-item mapping
//   TcxImageComboBoxViewData, TcxImageComboBoxViewInfo   layout and paint of the edit area
//   TcxImageComboBoxLookupData             the lookup that follows the edit value
//   TcxImageComboBoxListBox                the list rows with images
//   TcxCustomImageComboBox, TcxImageComboBox      the editor
//   TcxFilterImageComboBoxHelper           the editor in a filter row
#pragma once

#include "library/editors/dropdown/cxDropDownEdit.h"
#include "platform/classes/Collection.h"
#include "platform/ui/ImgList.h"

enum TcxImageAlign { iaLeft, iaRight };
template <>
struct TEnumInfo<TcxImageAlign> {
  static constexpr const wchar_t* Name = L"TcxImageAlign";
  static constexpr const wchar_t* Names[] = {L"iaLeft", L"iaRight"};
  static constexpr TcxImageAlign Last = iaRight;
};

class TcxCustomImageComboBoxProperties;
class TcxCustomImageComboBox;

// ---------------------------------------------------------------------------
// Items

class TcxImageComboBoxItem : public TCollectionItem {
  SK_CLASS(TcxImageComboBoxItem, TCollectionItem)
 public:
  static void Publish(TPublisher<TcxImageComboBoxItem>& P);
  // A new item shows its own image when the list has one for every item.
  void Create(TCollection* ACollection) override;
  void Assign(TPersistent* ASource) override;

  const String& Description() const { return FDescription; }
  void SetDescription(const String& AValue);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue);
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t AValue) { FTag = AValue; }
  const Variant& Value() const { return FValue; }
  // A value of another type or content reports a change.
  void SetValue(const Variant& AValue);
  bool IsTagStored() const { return FTag != 0; }
  bool IsValueStored() const { return !FValue.IsNull(); }

 private:
  String FDescription;
  int FImageIndex = -1;
  std::intptr_t FTag = 0;
  Variant FValue;
};

class TcxImageComboBoxItems : public TOwnedCollection {
  SK_CLASS(TcxImageComboBoxItems, TOwnedCollection)
 public:
  TcxImageComboBoxItem* Add() { return static_cast<TcxImageComboBoxItem*>(inherited::Add()); }
  TcxImageComboBoxItem* GetItems(int AIndex) const { return static_cast<TcxImageComboBoxItem*>(Items(AIndex)); }
  void SetItems(int AIndex, TcxImageComboBoxItem* AValue) { inherited::SetItems(AIndex, AValue); }
  TcxCustomImageComboBoxProperties* OwnerProperties() const;

 protected:
  void Update(TCollectionItem* AItem) override;
};

// ---------------------------------------------------------------------------
// TcxCustomImageComboBoxProperties

class TcxCustomImageComboBoxProperties : public TcxCustomComboBoxProperties {
  SK_CLASS(TcxCustomImageComboBoxProperties, TcxCustomComboBoxProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  const String& DefaultDescription() const { return FDefaultDescription; }
  void SetDefaultDescription(const String& AValue);
  int DefaultImageIndex() const { return FDefaultImageIndex; }
  void SetDefaultImageIndex(int AValue);
  TcxImageAlign ImageAlign() const { return FImageAlign; }
  void SetImageAlign(TcxImageAlign AValue);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  TcxImageComboBoxItems* Items() const { return FItems.get(); }
  void SetItems(TcxImageComboBoxItems* AValue) { FItems->Assign(AValue); }
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* AValue);
  bool MultiLineText() const { return FMultiLineText; }
  void SetMultiLineText(bool AValue);
  bool ShowDescriptions() const { return FShowDescriptions; }
  void SetShowDescriptions(bool AValue);
  bool ShowImageIndexInsteadDescription() const { return FShowImageIndexInsteadDescription; }
  void SetShowImageIndexInsteadDescription(bool AValue);
  // The list's images: LargeImages when set, else Images.
  TCustomImageList* ListImages() const { return FLargeImages ? FLargeImages : FImages; }

  // The first item whose Value equals AValue; a Boolean compares with a
  // non-Null value by their texts. Null when none.
  TcxImageComboBoxItem* FindItemByValue(const Variant& AValue) const;
  void GetImageComboBoxDisplayValue(const Variant& AEditValue, String& AText, int& AImageIndex);
  virtual void GetItemDisplayValue(TcxImageComboBoxItem* AItem, String& AText, bool AForceText, int& AImageIndex);
  // The text of item AIndex in the list and the search.
  String GetItemText(int AIndex) const;
  // A collection change, or a change of an image list.
  void ItemsChanged() { Changed(); }

  TClass GetContainerClass() override;
  TClass GetLookupDataClassType() override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  TcxEditSupportedOperations GetSupportedOperations() override;
  bool IsEditValueValid(Variant& AEditValue, bool AEditFocused) override;
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation);

 private:
  void ImageListChanged(TObject*) { Changed(); }

  String FDefaultDescription;
  int FDefaultImageIndex = -1;
  TcxImageAlign FImageAlign = iaLeft;
  TCustomImageList* FImages = nullptr;
  TOwned<TChangeLink> FImagesChangeLink;
  TOwned<TcxImageComboBoxItems> FItems;
  TCustomImageList* FLargeImages = nullptr;
  TOwned<TChangeLink> FLargeImagesChangeLink;
  bool FMultiLineText = false;
  bool FShowDescriptions = true;
  bool FShowImageIndexInsteadDescription = false;
};

class TcxImageComboBoxProperties : public TcxCustomImageComboBoxProperties {
  SK_CLASS(TcxImageComboBoxProperties, TcxCustomImageComboBoxProperties)
 public:
  static void Publish(TPublisher<TcxImageComboBoxProperties>& P);
};

// ---------------------------------------------------------------------------
// Layout and paint of the edit area

class TcxImageComboBoxViewInfo : public TcxCustomTextEditViewInfo {
  SK_CLASS(TcxImageComboBoxViewInfo, TcxCustomTextEditViewInfo)
 public:
  void Offset(int DX, int DY) override;
  // The image after the text.
  void DrawText(TcxCanvas* ACanvas) override;

  TRect ImageRect;
  bool ShowDescriptions = true;
  TcxImageAlign ImageAlign = iaLeft;
  int ImageIndex = -1;
  TCustomImageList* Images = nullptr;

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;

 private:
  void DrawImage(TcxCanvas* ACanvas);
  bool FImageDrawn = false;
};

class TcxImageComboBoxViewData : public TcxCustomDropDownEditViewData {
  SK_CLASS(TcxImageComboBoxViewData, TcxCustomDropDownEditViewData)
 public:
  TcxCustomImageComboBoxProperties* Properties() const {
    return static_cast<TcxCustomImageComboBoxProperties*>(inherited::Properties());
  }
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  void DisplayValueToDrawValue(const Variant& ADisplayValue, TcxCustomTextEditViewInfo* AViewInfo) override;

 protected:
  TSize CalculateEditSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                          TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) override;

 private:
  void SetDrawValue(const String& AText, int AImageIndex, TcxCustomTextEditViewInfo* AViewInfo);
};

// ---------------------------------------------------------------------------
// The lookup and its list

class TcxImageComboBoxLookupData : public TcxComboBoxLookupData {
  SK_CLASS(TcxImageComboBoxLookupData, TcxComboBoxLookupData)
 public:
  // The item found for the edit value becomes current.
  void TextChanged() override;
  // Wrapped rows take the editor's width: no content width of their own.
  TSize GetVisualAreaPreferredSize(int AMaxHeight, int AWidth) override;

 protected:
  String GetItemText(int AIndex) override;
  int GetItemCount() override;
  TClass GetListBoxClass() override;
  int GetMaxItemWidth() override;
  bool HasMultiLineItems() override;

 private:
  TcxCustomImageComboBoxProperties* ImageProperties() const;
};

class TcxImageComboBoxListBox : public TcxComboBoxListBox {
  SK_CLASS(TcxImageComboBoxListBox, TcxComboBoxListBox)
 public:
  void Create(TComponent* AOwner) override;
  int GetHeight(int ARowCount, int AMaxHeight) override;
  int GetItemHeight(int AIndex) override;
  int GetItemWidth(int AIndex) override;
  bool UsesItemPadding() override;
  void UpdateItemLayout() override;

  // Where row AIndex (an item index) draws its image; empty without one.
  TRect GetImageRect(int AIndex, const TRect& ARowRect);

 protected:
  void DrawListItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) override;
  std::uint32_t GetItemDrawTextFlags() override;

 private:
  TcxCustomImageComboBoxProperties* ImageProperties();
  TSize ImageSize();
  TdxScaleFactor* ListScaleFactor();
  int ScaledValue(int AValue);
  int MeasureRows(int ARowCount);

  int FClientWidth = 0;
  bool FHasScrollbar = false;
  // The rows' heights were last set for wrapped text.
  bool FWrappedHeights = false;
};

// ---------------------------------------------------------------------------
// TcxCustomImageComboBox

class TcxCustomImageComboBox : public TcxCustomComboBox {
  SK_CLASS(TcxCustomImageComboBox, TcxCustomComboBox)
 public:
  TcxCustomImageComboBoxProperties* ActiveProperties() {
    return static_cast<TcxCustomImageComboBoxProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomImageComboBoxProperties* Properties() const {
    return static_cast<TcxCustomImageComboBoxProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomImageComboBoxProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxCustomImageComboBoxProperties::ClassInfo(); }
  TcxImageComboBoxViewInfo* ViewInfo() const { return static_cast<TcxImageComboBoxViewInfo*>(inherited::ViewInfo()); }
  // The lookup's current item; -1 for none.
  int CurrentItemIndex();

  void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) override;

 protected:
  void SyncDisplayValue() override;
  void UpdateDrawValue() override;
  void GetValueWhileEditing(Variant& AValue) override;
  Variant LookupItemToEditValue(const Variant& AKey) override;
  bool IsValidInputChar(wchar_t Key) override { return Key >= L' '; }
};

class TcxImageComboBox : public TcxCustomImageComboBox {
  SK_CLASS(TcxImageComboBox, TcxCustomImageComboBox)
 public:
  static void Publish(TPublisher<TcxImageComboBox>& P);
  TClass GetPropertiesClass() override { return TcxImageComboBoxProperties::ClassInfo(); }
  TcxImageComboBoxProperties* Properties() const {
    return static_cast<TcxImageComboBoxProperties*>(InternalProperties());
  }
  void SetProperties(TcxImageComboBoxProperties* AValue) { InternalProperties()->Assign(AValue); }
};

// The image combo box in a filter row: a fixed list of the items with their
// descriptions, compared for equality only.
class TcxFilterImageComboBoxHelper : public TcxFilterComboBoxHelper {
  SK_CLASS(TcxFilterImageComboBoxHelper, TcxFilterComboBoxHelper)
 public:
  struct TMeta : TcxFilterComboBoxHelper::TMeta {
    TClass GetFilterEditClass() const override { return TcxImageComboBox::ClassInfo(); }
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* AProperties,
                                                          TcxValueTypeClass AValueTypeClass,
                                                          bool AExtendedSet = false) const override;
    void InitializeProperties(TcxCustomEditProperties* AProperties, TcxCustomEditProperties* AEditProperties,
                              bool AHasButtons) const override;
  };
};

// Unit start-up: the properties class with the editor repository and the
// filter helper, the classes by name; shut-down: the filter helper.
void cxImageComboBoxInitialization();
void cxImageComboBoxFinalization();
