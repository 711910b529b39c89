// The check box.
//
// This is the minimal form of the check box: the class with the properties
// the main window, its form description and the settings store use (Caption,
// Checked, Enabled, Visible, the four state styles' LookAndFeel), over the
// class library's check box. Like the library's own it sizes itself to its
// caption (AutoSize).
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/StdCtrls.h"

class TcxCheckBox : public TCustomCheckBox, public TcxEditStylesOwner {
  SK_CLASS(TcxCheckBox, TCustomCheckBox)
 public:
  static void Publish(TPublisher<TcxCheckBox>& P);

  void Create(TComponent* AOwner) override;

  // True exactly when the state is checked; writing sets checked or unchecked.
  bool Checked() const { return inherited::Checked(); }
  void SetChecked(bool AValue) override { inherited::SetChecked(AValue); }

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool AValue);

 protected:
  void Loaded() override;
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);

 private:
  // The size that shows the box and the whole caption.
  void AdjustToCaption();

  bool FAutoSize;
};

// -- check-mark drawing
// How a check-type control draws and indexes its mark; no state is kept.

enum TcxEditCheckState { ecsNormal, ecsHot, ecsPressed, ecsDisabled };
// How cbsGrayed is shown.
enum TcxCheckBoxNullValueShowingStyle { nssUnchecked, nssInactive, nssGrayedChecked };

// The name of image AIndex of a default glyph strip; "Not Used" past 5.
String GetCheckGlyphPartName(int AIndex);
// The BUTTON class's BP_CHECKBOX state, 1 to 12.
int CheckBoxThemeState(TcxCheckBoxState ACheckState, TcxEditCheckState AEditState);
// The image to cut from a strip of ACount images; always inside the strip,
// image 0 when the state has no picture in it.
int GetCheckGlyphIndex(TcxCheckBoxState ACheckState, TcxEditCheckState AEditState, bool AThreeStateStrip,
                       int ACount);
// The size of one image of a valid glyph strip at the scale factor, else
// the painter's check size (a missing one: the native or standard painter).
TSize GetCheckMarkSize(TGraphic* AGlyph, int AGlyphCount, bool ANativeStyle, TcxCustomLookAndFeelPainter* APainter,
                       const TdxScaleFactor* AScaleFactor);
// The hand-drawn mark (native theme, or frame and inside by border style).
// A skin painter draws the whole mark instead when given.
void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxCheckBoxState ACheckState, TcxEditCheckState AEditState,
                   TcxEditBorderStyle ABorderStyle, bool ANativeStyle, TColor ABorderColor, TColor ABackgroundColor,
                   bool ADrawBackground, bool AIsDesigning, bool AFocused, TcxCustomLookAndFeelPainter* ASkinPainter,
                   const TdxScaleFactor* AScaleFactor, TcxCheckBoxNullValueShowingStyle ANullStyle);
// -- end check-mark drawing

// Unit start-up: registers the class by name.
void cxCheckBoxInitialization();

// -- check-state value formats
// The states of many check items packed into one edit value, and the item
// collection that carries their captions (cxCheckBox_Formats.cpp).

using TcxCheckStates = std::vector<TcxCheckBoxState>;

enum TcxCheckStatesValueFormatEx { cvfCaptions, cvfIndices, cvfInteger, cvfStatesString, cvfCustom };
using TcxCheckStatesValueFormat = TcxCheckStatesValueFormatEx;  // cvfCaptions .. cvfStatesString

using TcxCheckStatesToValueEvent =
    Delegate<void(TObject* Sender, const TcxCheckStates& ACheckStates, Variant& AValue)>;
using TcxValueToCheckStatesEvent =
    Delegate<void(TObject* Sender, const Variant& AValue, TcxCheckStates& ACheckStates)>;

// What the conversions read of the items: captions and count.
struct IcxCheckItems : public virtual IInterface {
  static constexpr GUID IID = {0x5BF13228, 0xCF05, 0x4741, {0x98, 0x33, 0xF2, 0xB8, 0xFB, 0xFD, 0x57, 0xED}};
  virtual String GetItemCaption(int AIndex) = 0;
  virtual int GetCount() = 0;

 protected:
  ~IcxCheckItems() = default;
};

class TcxCaptionItem : public TCollectionItem {
  SK_CLASS(TcxCaptionItem, TCollectionItem)
 public:
  void Assign(TPersistent* ASource) override;

  const String& Caption() const { return FCaption; }
  // A new text re-sorts a sorted collection, else reports the item changed.
  void SetCaption(const String& AValue);
  std::intptr_t Tag() const { return FTag; }
  void SetTag(std::intptr_t AValue) { FTag = AValue; }

 private:
  String FCaption;
  std::intptr_t FTag = 0;
};

class TcxCaptionItems : public TcxOwnedInterfacedCollection, public IcxCheckItems {
  SK_CLASS(TcxCaptionItems, TcxOwnedInterfacedCollection)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override;

  TcxCaptionItem* GetItem(int AIndex) const { return static_cast<TcxCaptionItem*>(Items(AIndex)); }
  void SetItem(int AIndex, TcxCaptionItem* AValue) { SetItems(AIndex, AValue); }

  String GetItemCaption(int AIndex) override { return GetItem(AIndex)->Caption(); }
  int GetCount() override { return Count(); }

 protected:
  // By caption, ignoring case as the locale does.
  int DoCompareItems(TCollectionItem* AItem1, TCollectionItem* AItem2) override;
};

// Null for cvfCustom or a format outside the four.
Variant CheckStatesToEditValue(const TcxCheckStates& ACheckStates, IcxCheckItems* AItems,
                               TcxCheckStatesValueFormatEx AFormat);
// ACheckStates always ends with one state per item. A value that cannot be
// read (wrong kind, malformed text, a number without a 64-bit integer form)
// answers False and leaves every item unchecked; it never raises.
bool EditValueToCheckStates(const Variant& AValue, IcxCheckItems* AItems, TcxCheckStatesValueFormatEx AFormat,
                            TcxCheckStates& ACheckStates);
