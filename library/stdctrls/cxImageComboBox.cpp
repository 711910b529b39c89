// The image combo box. The edit value is an item's Value; the text the edit
// window shows is only that item's description, so the lookup follows the
// value, never the text.
#include "library/stdctrls/cxImageComboBox.h"

#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"

#include <algorithm>

namespace {

TcxImageAlign Mirrored(TcxImageAlign AValue) { return AValue == iaLeft ? iaRight : iaLeft; }

// An image centred in R at the editor's scale. At the list's own size and
// enabled, the list draws it itself: the same pixels, without the scaling
// path's buffers (a list of a hundred rows draws a hundred images).
void DrawItemImage(TCanvas* ACanvas, const TRect& R, TCustomImageList* AImages, int AIndex, bool AEnabled,
                   const TdxScaleFactor* AScaleFactor) {
  const TSize size = GetImageListScaledSize(AImages, AScaleFactor);
  if (AEnabled && size.cx == AImages->Width() && size.cy == AImages->Height()) {
    AImages->Draw(ACanvas, R.Left + (R.Width() - size.cx) / 2, R.Top + (R.Height() - size.cy) / 2, AIndex, true);
    return;
  }
  DrawScaledImage(ACanvas, R, nullptr, AImages, AIndex, ifmNormal, AEnabled ? idmNormal : idmDisabled, false, nullptr,
                  AScaleFactor);
}

int ImageComboStarts = 0;

}  // namespace

// ---------------------------------------------------------------------------
// Items

void TcxImageComboBoxItem::Publish(TPublisher<TcxImageComboBoxItem>& P) {
  using T = TcxImageComboBoxItem;
  P.Property(L"Description", &T::Description, &T::SetDescription);
  P.Property(L"ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(-1);
  P.Property(L"Tag", &T::Tag, &T::SetTag).Stored(&T::IsTagStored);
  P.Property(L"Value", &T::Value, &T::SetValue).Stored(&T::IsValueStored);
}

void TcxImageComboBoxItem::Create(TCollection* ACollection) {
  FValue = Variant::NullValue();
  FImageIndex = -1;
  inherited::Create(ACollection);
  auto* items = dynamic_cast<TcxImageComboBoxItems*>(ACollection);
  TcxCustomImageComboBoxProperties* properties = items ? items->OwnerProperties() : nullptr;
  TCustomImageList* images = properties ? properties->Images() : nullptr;
  if (images && images->Count() >= ACollection->Count()) FImageIndex = Index();
}

void TcxImageComboBoxItem::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxImageComboBoxItem*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  FDescription = source->Description();
  FImageIndex = source->ImageIndex();
  FTag = source->Tag();
  FValue = source->Value();
  Changed(false);
}

void TcxImageComboBoxItem::SetDescription(const String& AValue) {
  if (FDescription == AValue) return;
  FDescription = AValue;
  Changed(false);
}

void TcxImageComboBoxItem::SetImageIndex(int AValue) {
  if (FImageIndex == AValue) return;
  FImageIndex = AValue;
  Changed(false);
}

void TcxImageComboBoxItem::SetValue(const Variant& AValue) {
  if (FValue.VType() == AValue.VType() && VariantsEqual(FValue, AValue)) return;
  FValue = AValue;
  Changed(false);
}

TcxCustomImageComboBoxProperties* TcxImageComboBoxItems::OwnerProperties() const {
  return dynamic_cast<TcxCustomImageComboBoxProperties*>(const_cast<TcxImageComboBoxItems*>(this)->GetOwner());
}

void TcxImageComboBoxItems::Update(TCollectionItem* AItem) {
  inherited::Update(AItem);
  if (TcxCustomImageComboBoxProperties* properties = OwnerProperties()) properties->ItemsChanged();
}

// ---------------------------------------------------------------------------
// TcxCustomImageComboBoxProperties

void TcxCustomImageComboBoxProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FDefaultImageIndex = -1;
  FImageAlign = iaLeft;
  FImagesChangeLink.reset(New<TChangeLink>());
  FImagesChangeLink->SetOnChange(BindEvent<&TcxCustomImageComboBoxProperties::ImageListChanged>(this));
  FItems.reset(New<TcxImageComboBoxItems>(static_cast<TPersistent*>(this), TcxImageComboBoxItem::ClassInfo()));
  FLargeImagesChangeLink.reset(New<TChangeLink>());
  FLargeImagesChangeLink->SetOnChange(BindEvent<&TcxCustomImageComboBoxProperties::ImageListChanged>(this));
  FShowDescriptions = true;
  SetDropDownListStyle(lsFixedList);
}

void TcxCustomImageComboBoxProperties::Destroy() {
  if (FImagesChangeLink) SetImageListLink(nullptr, FImages, FImagesChangeLink.get(), nullptr);
  if (FLargeImagesChangeLink) SetImageListLink(nullptr, FLargeImages, FLargeImagesChangeLink.get(), nullptr);
  BeginUpdate();
  FItems.reset();
  EndUpdate(false);
  inherited::Destroy();
}

void TcxCustomImageComboBoxProperties::SetDefaultDescription(const String& AValue) {
  if (FDefaultDescription == AValue) return;
  FDefaultDescription = AValue;
  Changed();
}

void TcxCustomImageComboBoxProperties::SetDefaultImageIndex(int AValue) {
  if (FDefaultImageIndex == AValue) return;
  FDefaultImageIndex = AValue;
  Changed();
}

void TcxCustomImageComboBoxProperties::SetImageAlign(TcxImageAlign AValue) {
  if (FImageAlign == AValue) return;
  FImageAlign = AValue;
  Changed();
}

void TcxCustomImageComboBoxProperties::SetImages(TCustomImageList* AValue) {
  SetImageListLink(AValue, FImages, FImagesChangeLink.get(), nullptr);
}

void TcxCustomImageComboBoxProperties::SetLargeImages(TCustomImageList* AValue) {
  SetImageListLink(AValue, FLargeImages, FLargeImagesChangeLink.get(), nullptr);
}

void TcxCustomImageComboBoxProperties::SetMultiLineText(bool AValue) {
  if (FMultiLineText == AValue) return;
  FMultiLineText = AValue;
  Changed();
}

void TcxCustomImageComboBoxProperties::SetShowDescriptions(bool AValue) {
  if (FShowDescriptions == AValue) return;
  FShowDescriptions = AValue;
  Changed();
}

void TcxCustomImageComboBoxProperties::SetShowImageIndexInsteadDescription(bool AValue) {
  if (FShowImageIndexInsteadDescription == AValue) return;
  FShowImageIndexInsteadDescription = AValue;
  Changed();
}

TcxImageComboBoxItem* TcxCustomImageComboBoxProperties::FindItemByValue(const Variant& AValue) const {
  for (int i = 0; i < FItems->Count(); ++i)
    if (VariantsEqualBooleanAware(FItems->GetItems(i)->Value(), AValue)) return FItems->GetItems(i);
  return nullptr;
}

void TcxCustomImageComboBoxProperties::GetItemDisplayValue(TcxImageComboBoxItem* AItem, String& AText,
                                                           bool AForceText, int& AImageIndex) {
  AImageIndex = AItem ? AItem->ImageIndex() : FDefaultImageIndex;
  if (!AForceText && !FShowDescriptions) {
    AText.clear();
    return;
  }
  if (FShowImageIndexInsteadDescription)
    AText = IntToStr(static_cast<long long>(AImageIndex));
  else
    AText = AItem ? AItem->Description() : FDefaultDescription;
}

void TcxCustomImageComboBoxProperties::GetImageComboBoxDisplayValue(const Variant& AEditValue, String& AText,
                                                                    int& AImageIndex) {
  GetItemDisplayValue(FindItemByValue(AEditValue), AText, false, AImageIndex);
}

String TcxCustomImageComboBoxProperties::GetItemText(int AIndex) const {
  TcxImageComboBoxItem* item = FItems->GetItems(AIndex);
  return FShowImageIndexInsteadDescription ? IntToStr(static_cast<long long>(item->ImageIndex()))
                                           : item->Description();
}

TClass TcxCustomImageComboBoxProperties::GetContainerClass() { return TcxImageComboBox::ClassInfo(); }
TClass TcxCustomImageComboBoxProperties::GetLookupDataClassType() { return TcxImageComboBoxLookupData::ClassInfo(); }
TClass TcxCustomImageComboBoxProperties::GetViewDataClassType() { return TcxImageComboBoxViewData::ClassInfo(); }
TClass TcxCustomImageComboBoxProperties::GetViewInfoClass() { return TcxImageComboBoxViewInfo::ClassInfo(); }

void TcxCustomImageComboBoxProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomImageComboBoxProperties*>(ASource);
  if (!source) return;
  SetDefaultDescription(source->DefaultDescription());
  SetDefaultImageIndex(source->DefaultImageIndex());
  SetImageAlign(source->ImageAlign());
  SetShowImageIndexInsteadDescription(source->ShowImageIndexInsteadDescription());
  SetImages(source->Images());
  SetItems(source->Items());
  SetLargeImages(source->LargeImages());
  SetMultiLineText(source->MultiLineText());
  SetShowDescriptions(source->ShowDescriptions());
}

bool TcxCustomImageComboBoxProperties::CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) {
  String text1, text2;
  int image1 = -1, image2 = -1;
  GetItemDisplayValue(FindItemByValue(AEditValue1), text1, true, image1);
  GetItemDisplayValue(FindItemByValue(AEditValue2), text2, true, image2);
  return text1 == text2 && (!FImages || image1 == image2);
}

String TcxCustomImageComboBoxProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  String text;
  int image = -1;
  GetItemDisplayValue(FindItemByValue(AEditValue), text, true, image);
  return text;
}

TcxEditSupportedOperations TcxCustomImageComboBoxProperties::GetSupportedOperations() {
  TcxEditSupportedOperations result{esoEditing, esoFiltering, esoHorzAlignment, esoSorting};
  if (Buttons()->Count() > 0) result.Include(esoHotTrack);
  if (FShowDescriptions) result.Include(esoIncSearch);
  return result;
}

bool TcxCustomImageComboBoxProperties::IsEditValueValid(Variant&, bool) { return true; }

void TcxCustomImageComboBoxProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool) {
  String text;
  int image = -1;
  GetItemDisplayValue(FindItemByValue(AEditValue), text, true, image);
  ADisplayValue = Variant(text);
}

void TcxImageComboBoxProperties::Publish(TPublisher<TcxImageComboBoxProperties>& P) {
  using T = TcxImageComboBoxProperties;
  P.Property(L"Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property(L"AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property(L"ClearKey", &T::ClearKey, &T::SetClearKey).Default(0);
  P.Property(L"DefaultDescription", &T::DefaultDescription, &T::SetDefaultDescription);
  P.Property(L"DefaultImageIndex", &T::DefaultImageIndex, &T::SetDefaultImageIndex).Default(-1);
  P.Property(L"DropDownRows", &T::DropDownRows, &T::SetDropDownRows).Default(8);
  P.Property(L"ImageAlign", &T::ImageAlign, &T::SetImageAlign).Default(iaLeft);
  P.Property(L"Images", &T::Images, &T::SetImages);
  P.Property(L"ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property(L"ImeName", &T::ImeName, &T::SetImeName);
  P.Property(L"ImmediateDropDownWhenActivated", &T::ImmediateDropDownWhenActivated,
             &T::SetImmediateDropDownWhenActivated)
      .Default(false);
  P.Property(L"ImmediateDropDownWhenKeyPressed", &T::ImmediateDropDownWhenKeyPressed,
             &T::SetImmediateDropDownWhenKeyPressed)
      .Default(true);
  P.Property(L"ImmediatePost", &T::ImmediatePost, &T::SetImmediatePost).Default(false);
  P.Property(L"ImmediateUpdateText", &T::ImmediateUpdateText, &T::SetImmediateUpdateText).Default(false);
  P.Property(L"IncrementalFiltering", &T::IncrementalFiltering, &T::SetIncrementalFiltering).Default(false);
  P.Property(L"Items", &T::Items, &T::SetItems);
  P.Property(L"LargeImages", &T::LargeImages, &T::SetLargeImages);
  P.Property(L"MultiLineText", &T::MultiLineText, &T::SetMultiLineText).Default(false);
  P.Property(L"PopupAlignment", &T::PopupAlignment, &T::SetPopupAlignment).Default(taLeftJustify);
  P.Property(L"PostPopupValueOnTab", &T::PostPopupValueOnTab, &T::SetPostPopupValueOnTab).Default(false);
  P.Property(L"ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyAssigned);
  P.Property(L"Revertable", &T::Revertable, &T::SetRevertable).Default(false);
  P.Property(L"ShowDescriptions", &T::ShowDescriptions, &T::SetShowDescriptions).Default(true);
  P.Property(L"ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(true);
  P.Property(L"ValidationOptions", &T::ValidationOptions, &T::SetValidationOptions)
      .Default(TcxEditValidationOptions{evoRaiseException});
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
  P.Property(L"OnCloseUp", &T::OnCloseUp, &T::SetOnCloseUp);
  P.Property(L"OnEditValueChanged", &T::OnEditValueChanged, &T::SetOnEditValueChanged);
  P.Property(L"OnInitPopup", &T::OnInitPopup, &T::SetOnInitPopup);
  P.Property(L"OnPopup", &T::OnPopup, &T::SetOnPopup);
  P.Property(L"OnValidate", &T::OnValidate, &T::SetOnValidate);
}

// ---------------------------------------------------------------------------
// Layout and paint of the edit area

void TcxImageComboBoxViewInfo::Offset(int DX, int DY) {
  inherited::Offset(DX, DY);
  ImageRect.Offset(DX, DY);
}

void TcxImageComboBoxViewInfo::DrawText(TcxCanvas* ACanvas) {
  inherited::DrawText(ACanvas);
  DrawImage(ACanvas);
}

void TcxImageComboBoxViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  FImageDrawn = false;
  inherited::InternalPaint(ACanvas);
  // The text may be the edit window's, so the image is drawn here too.
  if (!FImageDrawn) DrawImage(ACanvas);
}

void TcxImageComboBoxViewInfo::DrawImage(TcxCanvas* ACanvas) {
  FImageDrawn = true;
  if (!IsValidImageIndex(Images, ImageIndex) || ImageRect.IsEmpty()) return;
  const TcxClipRegionScope clip(ACanvas, BorderRect);
  ACanvas->IntersectClipRect(ImageRect);
  if (!Transparent && !(NativeStyle && IsWinVistaOrLater)) ACanvas->FillRect(ImageRect, BackgroundColor());
  DrawItemImage(ACanvas->Canvas(), ImageRect, Images, ImageIndex, Enabled, ScaleFactor());
}

void TcxImageComboBoxViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                         TcxMouseButton Button, TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                         bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  auto* vi = static_cast<TcxImageComboBoxViewInfo*>(AViewInfo);
  TcxCustomImageComboBoxProperties* properties = Properties();
  vi->ImageAlign = UseRightToLeftAlignment ? Mirrored(properties->ImageAlign()) : properties->ImageAlign();
  vi->Images = properties->Images();
  vi->ShowDescriptions = properties->ShowDescriptions();
  TRect T = IsInplace() ? vi->TextRect : vi->ClientRect;
  vi->ImageRect = TRect();
  if (vi->Images) {
    const TSize size = GetImageListScaledSize(vi->Images, ScaleFactor());
    TRect image = vi->ClientRect;
    image.Left += 2;
    image.Right -= 2;
    const int gap = ScaleFactor()->Apply(2) * (IsInplace() ? 2 : 1);
    if (size.cx >= image.Width()) {
      T.Left = T.Right;
    } else if (!vi->ShowDescriptions) {
      image.Left += (image.Width() - size.cx) / 2;
      image.Right = image.Left + size.cx;
    } else if (vi->ImageAlign == iaRight) {
      image.Left = image.Right - size.cx;
      T.Right = image.Left - gap;
    } else {
      image.Right = image.Left + size.cx;
      T.Left = image.Right + gap;
    }
    if (size.cy < image.Height()) {
      image.Top += (image.Height() - size.cy) / 2;
      image.Bottom = image.Top + size.cy;
    }
    vi->ImageRect = image;
  }
  if (!IsInplace()) {
    vi->ClientRect = T;
    T.Left += 2;
    T.Right -= 2;
    T.Top += 1;
    T.Bottom -= 1;
    vi->DrawSelectionBar = false;
  }
  vi->TextRect = T;
  if (!vi->ShowDescriptions) vi->Text.clear();
}

void TcxImageComboBoxViewData::SetDrawValue(const String& AText, int AImageIndex,
                                            TcxCustomTextEditViewInfo* AViewInfo) {
  auto* vi = static_cast<TcxImageComboBoxViewInfo*>(AViewInfo);
  vi->ImageIndex = AImageIndex;
  vi->Text = Properties()->ShowDescriptions() ? AText : String();
}

void TcxImageComboBoxViewData::EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) {
  auto* vi = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!vi) return;
  String text;
  int image = -1;
  Properties()->GetImageComboBoxDisplayValue(AEditValue, text, image);
  SetDrawValue(text, image, vi);
}

void TcxImageComboBoxViewData::DisplayValueToDrawValue(const Variant& ADisplayValue,
                                                       TcxCustomTextEditViewInfo* AViewInfo) {
  auto* edit = dynamic_cast<TcxCustomImageComboBox*>(Edit());
  if (!edit) {
    inherited::DisplayValueToDrawValue(ADisplayValue, AViewInfo);
    return;
  }
  TcxCustomImageComboBoxProperties* properties = Properties();
  const int current = edit->CurrentItemIndex();
  TcxImageComboBoxItem* item = current >= 0 && current < properties->Items()->Count()
                                   ? properties->Items()->GetItems(current)
                                   : properties->FindItemByValue(edit->EditValue());
  String text;
  int image = -1;
  properties->GetItemDisplayValue(item, text, false, image);
  SetDrawValue(text, image, AViewInfo);
}

TSize TcxImageComboBoxViewData::CalculateEditSize(TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties,
                                                  TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) {
  TSize size = inherited::CalculateEditSize(ACanvas, AEditSizeProperties, MinContentSize, AViewInfo);
  if (TCustomImageList* images = Properties()->Images()) {
    const TSize image = GetImageListScaledSize(images, ScaleFactor());
    MinContentSize.cy = std::max<int>(MinContentSize.cy, image.cy);
    size.cy = std::max<int>(size.cy, MinContentSize.cy);
    size.cx += ScaleFactor()->Apply(5) + image.cx;
  } else {
    size.cx += 1;
  }
  return size;
}

// ---------------------------------------------------------------------------
// The lookup and its list

TcxCustomImageComboBoxProperties* TcxImageComboBoxLookupData::ImageProperties() const {
  return static_cast<TcxCustomImageComboBoxProperties*>(ActiveProperties());
}

void TcxImageComboBoxLookupData::TextChanged() {
  TcxCustomTextEdit* edit = Edit();
  if (edit->EditModeSetting()) return;
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  TcxImageComboBoxItem* item = properties->FindItemByValue(edit->EditValue());
  InternalSetCurrentKey(item ? item->Index() : -1);
}

TSize TcxImageComboBoxLookupData::GetVisualAreaPreferredSize(int AMaxHeight, int AWidth) {
  TSize size = inherited::GetVisualAreaPreferredSize(AMaxHeight, AWidth);
  if (ImageProperties()->MultiLineText()) size.cx = 0;
  return size;
}

String TcxImageComboBoxLookupData::GetItemText(int AIndex) { return ImageProperties()->GetItemText(AIndex); }
int TcxImageComboBoxLookupData::GetItemCount() { return ImageProperties()->Items()->Count(); }
TClass TcxImageComboBoxLookupData::GetListBoxClass() { return TcxImageComboBoxListBox::ClassInfo(); }
bool TcxImageComboBoxLookupData::HasMultiLineItems() { return ImageProperties()->MultiLineText(); }

int TcxImageComboBoxLookupData::GetMaxItemWidth() {
  if (ImageProperties()->MultiLineText() || !FList) return 0;
  int width = 0;
  const int count = GetVisibleItemCount();
  for (int row = 0; row < count; ++row) width = std::max(width, FList->GetItemWidth(FilteredIndexToItemIndex(row)));
  return width;
}

void TcxImageComboBoxListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetStyle(lbOwnerDrawVariable);
}

TcxCustomImageComboBoxProperties* TcxImageComboBoxListBox::ImageProperties() {
  TcxCustomComboBox* combo = ComboBox();
  return combo ? static_cast<TcxCustomImageComboBoxProperties*>(combo->ActiveProperties()) : nullptr;
}

TdxScaleFactor* TcxImageComboBoxListBox::ListScaleFactor() {
  TcxCustomComboBox* combo = ComboBox();
  return combo ? combo->ScaleFactor() : nullptr;
}

int TcxImageComboBoxListBox::ScaledValue(int AValue) {
  TdxScaleFactor* scale = ListScaleFactor();
  return scale ? scale->Apply(AValue) : AValue;
}

TSize TcxImageComboBoxListBox::ImageSize() {
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  TCustomImageList* images = properties ? properties->ListImages() : nullptr;
  return images ? GetImageListScaledSize(images, ListScaleFactor()) : TSize();
}

void TcxImageComboBoxListBox::UpdateItemLayout() {
  // Rows differ in height: the base list's layout, not the combo list's.
  SetStyle(lbOwnerDrawVariable);
  MeasureRows(0);
}

bool TcxImageComboBoxListBox::UsesItemPadding() {
  if (ComboBox() && ComboBox()->HasMeasureItemHandler()) return false;
  return inherited::UsesItemPadding();
}

int TcxImageComboBoxListBox::GetItemHeight(int AIndex) {
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  if (!properties) return inherited::GetItemHeight(AIndex);
  const bool padding = ItemPaddingApplies();
  const TRect pad = padding ? TdxVisualRefinements::ItemPadding() : TRect();
  int width = FClientWidth - ScaledValue(2) - (padding ? ScaledValue(pad.Left) + ScaledValue(pad.Right) : 0);
  const TSize image = ImageSize();
  int height = 0;
  if (!(image.cx <= 0 || image.cy <= 0)) {
    const bool hasImage = AIndex >= 0 && AIndex < properties->Items()->Count() &&
                          IsValidImageIndex(properties->ListImages(), properties->Items()->GetItems(AIndex)->ImageIndex());
    if (hasImage) {
      width -= ScaledValue(4) + image.cx;
      height = ScaledValue(2) + image.cy;
    }
  }
  if (properties->MultiLineText() && width > 0 && AIndex >= 0 && AIndex < properties->Items()->Count()) {
    RECT R{0, 0, width, 0};
    const String text = properties->GetItemText(AIndex);
    TScreenDC dc;
    const TSelectObject font(dc.Get(), Font()->Handle());
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &R,
                GetItemDrawTextFlags() | DT_CALCRECT);
    height = std::max<int>(height, R.bottom - R.top + ScaledValue(2));
  } else {
    height = std::max(height, GetFontHeight(Font()) + ScaledValue(2));
  }
  if (padding) height += ScaledValue(pad.Top) + ScaledValue(pad.Bottom);
  EnsureTouchModeMinimum(height, ListScaleFactor());
  if (AIndex >= 0)
    if (TcxCustomComboBox* combo = ComboBox()) combo->DoMeasureItem(AIndex, height);
  return height;
}

int TcxImageComboBoxListBox::MeasureRows(int ARowCount) {
  TcxCustomTextEditLookupData* lookup = ComboBox() ? ComboBox()->LookupData() : nullptr;
  int height = 0;
  for (int row = 0; row < ARowCount; ++row) height += GetItemHeight(lookup ? lookup->FilteredIndexToItemIndex(row) : row);
  // Wrapped rows change their heights with the width, and keep them after
  // wrapping is switched off: the list must ask again.
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  const bool wrapped = properties && properties->MultiLineText();
  if (!HandleAllocated() || !(wrapped || FWrappedHeights)) return height;
  FWrappedHeights = wrapped;
  for (int row = 0; row < Items()->Count(); ++row)
    SendMessageW(Handle(), LB_SETITEMHEIGHT, static_cast<WPARAM>(row),
                 GetItemHeight(lookup ? lookup->FilteredIndexToItemIndex(row) : row));
  return height;
}

int TcxImageComboBoxListBox::GetHeight(int ARowCount, int AMaxHeight) {
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  TcxCustomComboBox* combo = ComboBox();
  if (!properties || !combo) return inherited::GetHeight(ARowCount, AMaxHeight);
  FHasScrollbar = false;
  FClientWidth = 0;
  if (properties->MultiLineText()) {
    TRect owner;
    combo->CalculatePopupOwnerBounds(owner);
    const TRect extents = combo->GetPopupWindow()->ViewInfo()->GetClientExtent();
    FClientWidth = owner.Width() - extents.Left - extents.Right;
  }
  int height = MeasureRows(ARowCount);
  if (properties->MultiLineText() && ((AMaxHeight > 0 && height > AMaxHeight) || ARowCount < Items()->Count())) {
    FHasScrollbar = true;
    FClientWidth -= GetSystemMetrics(SM_CXVSCROLL);
    height = MeasureRows(ARowCount);
  }
  return height;
}

int TcxImageComboBoxListBox::GetItemWidth(int AIndex) {
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  if (!properties) return inherited::GetItemWidth(AIndex);
  if (properties->MultiLineText() || AIndex < 0 || AIndex >= properties->Items()->Count()) return 0;
  int width = GetTextWidthWithFont(Font(), properties->GetItemText(AIndex));
  const TSize image = ImageSize();
  if (!(image.cx <= 0 || image.cy <= 0) && IsValidImageIndex(properties->ListImages(), properties->Items()->GetItems(AIndex)->ImageIndex()))
    width += 2 * ScaledValue(4) + image.cx;
  else
    width += ScaledValue(4);
  if (ItemPaddingApplies()) {
    const TRect pad = TdxVisualRefinements::ItemPadding();
    width += ScaledValue(pad.Left) + ScaledValue(pad.Right);
  }
  return width;
}

TRect TcxImageComboBoxListBox::GetImageRect(int AIndex, const TRect& ARowRect) {
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  if (!properties || AIndex < 0 || AIndex >= properties->Items()->Count()) return TRect();
  TCustomImageList* images = properties->ListImages();
  if (!IsValidImageIndex(images, properties->Items()->GetItems(AIndex)->ImageIndex())) return TRect();
  bool anyDescription = properties->ShowDescriptions();
  for (int i = 0; !anyDescription && i < properties->Items()->Count(); ++i)
    anyDescription = !properties->Items()->GetItems(i)->Description().empty();
  const TSize size = ImageSize();
  TRect place = ARowRect;
  if (anyDescription) {
    const bool right = (properties->ImageAlign() == iaRight) != UseRightToLeftReading();
    if (right)
      place.Left = place.Right - size.cx - ScaledValue(4);
    else
      place.Right = place.Left + size.cx + ScaledValue(4);
  }
  const int left = place.Left + (place.Width() - size.cx) / 2;
  const int top = place.Top + (place.Height() - size.cy) / 2;
  return TRect(left, top, left + size.cx, top + size.cy);
}

std::uint32_t TcxImageComboBoxListBox::GetItemDrawTextFlags() {
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  if (!properties || !properties->MultiLineText() || HighlightsSearchText()) return inherited::GetItemDrawTextFlags();
  std::uint32_t flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING | DT_RIGHT;
  return flags;
}

void TcxImageComboBoxListBox::DrawListItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  TcxCustomImageComboBoxProperties* properties = ImageProperties();
  TcxCustomComboBox* combo = ComboBox();
  const int item = combo && AIndex >= 0 ? combo->LookupData()->FilteredIndexToItemIndex(AIndex) : -1;
  if (!properties || item < 0 || item >= properties->Items()->Count()) {
    inherited::DrawListItem(AIndex, ARect, AState);
    return;
  }
  const TRect image = GetImageRect(item, ARect);
  TRect text = ARect;
  if (!image.IsEmpty()) {
    bool anyDescription = properties->ShowDescriptions();
    for (int i = 0; !anyDescription && i < properties->Items()->Count(); ++i)
      anyDescription = !properties->Items()->GetItems(i)->Description().empty();
    if (anyDescription) {
      const int taken = image.Width() + ScaledValue(4);
      if ((properties->ImageAlign() == iaRight) != UseRightToLeftReading())
        text.Right = ARect.Right - taken;
      else
        text.Left = ARect.Left + taken;
    }
  }
  // The text part (background, indent, highlight) as the plain list draws it.
  Canvas()->FillRect(ARect);
  if (properties->ShowDescriptions() && !text.IsEmpty())
    inherited::DrawListItem(AIndex, text, AState);
  if (!image.IsEmpty())
    DrawItemImage(Canvas(), image, properties->ListImages(), properties->Items()->GetItems(item)->ImageIndex(),
                  Enabled(), ListScaleFactor());
}

// ---------------------------------------------------------------------------
// TcxCustomImageComboBox

int TcxCustomImageComboBox::CurrentItemIndex() {
  if (!ILookupData()) return -1;
  const Variant key = ILookupData()->GetCurrentKey();
  return key.IsNull() || key.IsEmpty() ? -1 : key.AsInteger();
}

void TcxCustomImageComboBox::PrepareEditValue(const Variant&, Variant& AEditValue, bool) {
  const int current = CurrentItemIndex();
  TcxImageComboBoxItems* items = ActiveProperties()->Items();
  AEditValue = current >= 0 && current < items->Count() ? items->GetItems(current)->Value() : Variant::NullValue();
}

void TcxCustomImageComboBox::GetValueWhileEditing(Variant& AValue) { PrepareEditValue(Variant(), AValue, true); }

Variant TcxCustomImageComboBox::LookupItemToEditValue(const Variant& AKey) {
  const int index = AKey.IsNull() || AKey.IsEmpty() ? -1 : AKey.AsInteger();
  TcxImageComboBoxItems* items = ActiveProperties()->Items();
  return index >= 0 && index < items->Count() ? items->GetItems(index)->Value() : Variant::NullValue();
}

void TcxCustomImageComboBox::SyncDisplayValue() {
  if (!ILookupData()) {
    inherited::SyncDisplayValue();
    return;
  }
  // The display is rebuilt from the item the value picks; the text is never
  // read back into the value (an unknown value stays as it was written).
  const int before = CurrentItemIndex();
  PushModifiedState();
  TryFinally(
      [&] {
        LockClick(true);
        TryFinally([&] { ILookupData()->TextChanged(); }, [&] { LockClick(false); });
        if (CurrentItemIndex() != before) SetModifiedAndClick();
      },
      [this] { PopModifiedState(); });
  ResetFindSelection();
  UpdateDrawValue();
}

void TcxCustomImageComboBox::UpdateDrawValue() {
  inherited::UpdateDrawValue();
  // The edit window shows the drawn text (a description, or nothing).
  if (!ViewInfo() || !HasInnerEdit() || DisplayText() == ViewInfo()->Text) return;
  const Variant text(ViewInfo()->Text);
  PushModifiedState();
  TryFinally([&] { DataBinding()->SetDisplayValue(text); }, [this] { PopModifiedState(); });
}

void TcxImageComboBox::Publish(TPublisher<TcxImageComboBox>& P) {
  using T = TcxImageComboBox;
  P.Property(L"Properties", &T::Properties, &T::SetProperties);
  P.Property(L"ItemIndex", &T::ItemIndex, &T::SetItemIndex).Stored(false);
}

// ---------------------------------------------------------------------------
// Filter rows

TcxFilterControlOperators TcxFilterImageComboBoxHelper::TMeta::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                                           TcxValueTypeClass,
                                                                                           bool AExtendedSet) const {
  TcxFilterControlOperators result{fcoEqual, fcoNotEqual, fcoBlanks, fcoNonBlanks};
  if (AExtendedSet) result.Include(fcoInList).Include(fcoNotInList);
  return result;
}

void TcxFilterImageComboBoxHelper::TMeta::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                               TcxCustomEditProperties* AEditProperties,
                                                               bool AHasButtons) const {
  TcxFilterComboBoxHelper::TMeta::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  auto* combo = dynamic_cast<TcxCustomImageComboBoxProperties*>(AProperties);
  if (!combo) return;
  combo->SetDropDownListStyle(lsFixedList);
  combo->SetImmediateDropDownWhenKeyPressed(true);
  combo->SetShowDescriptions(true);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxImageComboBoxInitialization() {
  if (ImageComboStarts++ > 0) return;
  RegisterClasses({TcxImageComboBox::ClassInfo(), TcxImageComboBoxProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxImageComboBoxProperties::ClassInfo(),
                                          LoadResString(&scxSEditRepositoryImageComboBoxItem));
  GetFilterEditsController()->Register(TcxImageComboBoxProperties::ClassInfo(),
                                       TcxFilterImageComboBoxHelper::ClassInfo());
}

void cxImageComboBoxFinalization() {
  if (--ImageComboStarts > 0) return;
  GetFilterEditsController()->Unregister(TcxImageComboBoxProperties::ClassInfo(),
                                         TcxFilterImageComboBoxHelper::ClassInfo());
}
