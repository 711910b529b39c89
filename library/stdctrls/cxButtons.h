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
// class library's push button. It draws itself (owner-drawn) so that the
// colour of the state shows: a raised face in Colors.Default when assigned,
// else the button face, the glyph when the image list has one, the caption.
#pragma once

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

  // The face colour of the present state (what the button paints).
  TColor FaceColor(bool APressed) const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void CNDrawItem(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);

 private:
  friend class TcxButtonColors;
  friend class TcxButtonImageOptions;
  void Paint(const DRAWITEMSTRUCT& AItem);

  TOwned<TcxButtonColors> FColors;
  TOwned<TcxButtonImageOptions> FOptionsImage;
  TOwned<TCanvas> FCanvas;
};

// Unit start-up: registers the classes by name.
void cxButtonsInitialization();
