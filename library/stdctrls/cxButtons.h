// The push button.
//
// Classes in this file:
//   TcxButtonColors        the button's colours by state
//   TcxButtonImageOptions  the glyph from an image list
//   TcxButton              the push button
//
// This is the minimal form of the push button: the class with the properties
// the main window and its form description use (Caption, Enabled,
// Colors.Default, OptionsImage.Images and .ImageIndex, LookAndFeel), over the
// class library's push button. It draws itself (owner-drawn) through the
// painter its look-and-feel resolves: the face and frame of its state (hot
// while the mouse is over it and the painter tracks it), the glyph when the
// image list has one, the caption in the painter's symbol colour, the focus
// rectangle where the painter puts it.
#pragma once

#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/StdCtrls.h"

#include <array>

class TcxButton;

class TcxButtonColors : public TPersistent {
  SK_CLASS(TcxButtonColors, TPersistent)
 public:
  static void Publish(TPublisher<TcxButtonColors>& P);

  static constexpr int ColorCount = 10;
  enum TIndex { iDefault, iDefaultText, iDisabled, iDisabledText, iHot, iHotText, iNormal, iNormalText, iPressed,
                iPressedText };

  void Create(TcxButton* AButton);
  void Assign(TPersistent* ASource) override;

  // A colour that is not assigned reads clDefault. Writing clNone or
  // clDefault unassigns it.
  TColor Color(int AIndex) const { return FColors[static_cast<std::size_t>(AIndex)]; }
  void SetColor(int AIndex, TColor AValue);
  bool IsAssigned(int AIndex) const { return (FAssigned >> AIndex) & 1; }
  template <int I>
  bool IsStored() const { return IsAssigned(I); }

  // The face and text colours of a paint state: the state's own when
  // assigned; else the normal state falls back to Default (DefaultText),
  // every other state to Normal (NormalText). clDefault: the painter's.
  TColor BackgroundColor(TcxButtonState AState) const;
  TColor TextColor(TcxButtonState AState) const;

  TColor Default() const { return Color(iDefault); }
  void SetDefault(TColor AValue) { SetColor(iDefault, AValue); }
  TColor DefaultText() const { return Color(iDefaultText); }
  void SetDefaultText(TColor AValue) { SetColor(iDefaultText, AValue); }
  TColor Disabled() const { return Color(iDisabled); }
  void SetDisabled(TColor AValue) { SetColor(iDisabled, AValue); }
  TColor DisabledText() const { return Color(iDisabledText); }
  void SetDisabledText(TColor AValue) { SetColor(iDisabledText, AValue); }
  TColor Hot() const { return Color(iHot); }
  void SetHot(TColor AValue) { SetColor(iHot, AValue); }
  TColor HotText() const { return Color(iHotText); }
  void SetHotText(TColor AValue) { SetColor(iHotText, AValue); }
  TColor Normal() const { return Color(iNormal); }
  void SetNormal(TColor AValue) { SetColor(iNormal, AValue); }
  TColor NormalText() const { return Color(iNormalText); }
  void SetNormalText(TColor AValue) { SetColor(iNormalText, AValue); }
  TColor Pressed() const { return Color(iPressed); }
  void SetPressed(TColor AValue) { SetColor(iPressed, AValue); }
  TColor PressedText() const { return Color(iPressedText); }
  void SetPressedText(TColor AValue) { SetColor(iPressedText, AValue); }

 protected:
  TPersistent* GetOwner() override;

 private:
  TcxButton* FButton;
  std::array<TColor, ColorCount> FColors;
  unsigned FAssigned;
};

class TcxButtonImageOptions : public TPersistent {
  SK_CLASS(TcxButtonImageOptions, TPersistent)
 public:
  static void Publish(TPublisher<TcxButtonImageOptions>& P);

  void Create(TcxButton* AButton);
  void Assign(TPersistent* ASource) override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue);

 protected:
  TPersistent* GetOwner() override;

 private:
  friend class TcxButton;
  TcxButton* FButton;
  TCustomImageList* FImages;
  int FImageIndex = -1;
};

class TcxButton : public TCustomButton, public TcxLookAndFeelOwner {
  SK_CLASS(TcxButton, TCustomButton)
 public:
  static void Publish(TPublisher<TcxButton>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TcxButtonColors* Colors() const { return FColors.get(); }
  void SetColors(TcxButtonColors* AValue) { FColors->Assign(AValue); }
  TcxButtonImageOptions* OptionsImage() const { return FOptionsImage.get(); }
  void SetOptionsImage(TcxButtonImageOptions* AValue) { FOptionsImage->Assign(AValue); }

  // The state the button paints in, given the owner-draw item's flags.
  TcxButtonState PaintState(bool APressed, bool AFocused) const;
  // Whether the mouse is over the button.
  bool IsHot() const { return FHot; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void CNDrawItem(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  friend class TcxButtonColors;
  friend class TcxButtonImageOptions;
  void Paint(const DRAWITEMSTRUCT& AItem);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void SetHot(bool AValue);

  TOwned<TcxButtonColors> FColors;
  TOwned<TcxButtonImageOptions> FOptionsImage;
  TOwned<TCanvas> FCanvas;
  TOwned<TcxCanvas> FcxCanvas;
  bool FHot;
};

// Unit start-up: registers the classes by name.
void cxButtonsInitialization();
