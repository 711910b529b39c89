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
