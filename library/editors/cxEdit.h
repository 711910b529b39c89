// Editor styles.
//
// Classes in this file:
//   TcxEditButtonTransparency   how an editor's buttons draw their background
//   TcxCustomEditStyle, TcxEditStyle   an editor's look in one state
//   TcxEditStyles               the four state styles an editor owns
//   TcxEditStylesOwner          the four styles as a control's published properties
//   TcxCaptionSize, cxCaptionSize   a caption measured for sizing a control to it
//   EcxEditError                the editors' exception
//
// This is the minimal form of the editor styles: the values the main window's
// controls store (HotTrack, ButtonTransparency, Font, LookAndFeel) with their
// published names and defaults, kept so that form descriptions read the same
// once the editor framework arrives. The controls that own them are built
// over the class library's native controls, which draw themselves; only the
// font is used for painting yet. What those minimal controls share lives
// here too.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/Graphics.h"

// The editors' exception: what an editor, its masks and its validation raise.
class EcxEditError : public EdxException { public: using EdxException::EdxException; };

enum TcxEditButtonTransparency { ebtNone, ebtInactive, ebtAlways, ebtHideInactive, ebtHideUnselected };
template <>
struct TEnumInfo<TcxEditButtonTransparency> {
  static constexpr const wchar_t* Name = L"TcxEditButtonTransparency";
  static constexpr const wchar_t* Names[] = {L"ebtNone", L"ebtInactive", L"ebtAlways", L"ebtHideInactive",
                                             L"ebtHideUnselected"};
  static constexpr TcxEditButtonTransparency Last = ebtHideUnselected;
};

class TcxCustomEditStyle : public TPersistent, public TcxLookAndFeelOwner {
  SK_CLASS(TcxCustomEditStyle, TPersistent)
 public:
  static void Publish(TPublisher<TcxCustomEditStyle>& P);

  // AOwner is the control (it names the style in messages).
  void Create(TPersistent* AOwner);
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool AValue);
  TcxEditButtonTransparency ButtonTransparency() const { return FButtonTransparency; }
  void SetButtonTransparency(TcxEditButtonTransparency AValue);
  // The style's own font; in use once assigned (IsFontAssigned).
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* AValue) { FFont->Assign(AValue); }
  bool IsFontAssigned() const { return FFontAssigned; }

  // Raised after each change.
  TNotifyEvent OnChanged() const { return FOnChanged; }
  void SetOnChanged(TNotifyEvent AValue) { FOnChanged = AValue; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }
  // "IsFontAssigned": stored with an assigned font, so that a font equal to
  // the default one still counts as the style's own.
  void DefineProperties(TFiler* AFiler) override;

 private:
  void FontChanged(TObject* Sender);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void Changed() { CallEvent(FOnChanged, this); }
  bool IsFontStored() const { return FFontAssigned; }

  TPersistent* FOwner;
  bool FHotTrack = true;
  TcxEditButtonTransparency FButtonTransparency = ebtNone;
  TOwned<TFont> FFont;
  bool FFontAssigned;
  TNotifyEvent FOnChanged;
};

class TcxEditStyle : public TcxCustomEditStyle {
  SK_CLASS(TcxEditStyle, TcxCustomEditStyle)
};

// The normal, disabled, focused and hot styles of one control, freed with it.
class TcxEditStyles {
 public:
  TcxEditStyles() = default;
  ~TcxEditStyles() = default;  // hot to normal: the reverse of their making
  TcxEditStyles(const TcxEditStyles&) = delete;
  TcxEditStyles& operator=(const TcxEditStyles&) = delete;

  // Makes the four styles; AOnChanged hears every change of the normal one.
  void Create(TPersistent* AOwner, TNotifyEvent AOnChanged);

  TcxEditStyle* Normal() const { return FNormal.get(); }
  TcxEditStyle* Disabled() const { return FDisabled.get(); }
  TcxEditStyle* Focused() const { return FFocused.get(); }
  TcxEditStyle* Hot() const { return FHot.get(); }

 private:
  TOwned<TcxEditStyle> FNormal;
  TOwned<TcxEditStyle> FDisabled;
  TOwned<TcxEditStyle> FFocused;
  TOwned<TcxEditStyle> FHot;
};

// The four state styles as a control's published properties Style,
// StyleDisabled, StyleFocused and StyleHot: a second base of the control's
// class, after its TObject base. A control whose base class has a Style of
// its own names these with using-declarations.
class TcxEditStylesOwner {
 public:
  TcxEditStyle* Style() const { return FStyles.Normal(); }
  void SetStyle(TcxEditStyle* AValue) { FStyles.Normal()->Assign(AValue); }
  TcxEditStyle* StyleDisabled() const { return FStyles.Disabled(); }
  void SetStyleDisabled(TcxEditStyle* AValue) { FStyles.Disabled()->Assign(AValue); }
  TcxEditStyle* StyleFocused() const { return FStyles.Focused(); }
  void SetStyleFocused(TcxEditStyle* AValue) { FStyles.Focused()->Assign(AValue); }
  TcxEditStyle* StyleHot() const { return FStyles.Hot(); }
  void SetStyleHot(TcxEditStyle* AValue) { FStyles.Hot()->Assign(AValue); }

 protected:
  TcxEditStylesOwner() = default;
  ~TcxEditStylesOwner() = default;
  TcxEditStylesOwner(const TcxEditStylesOwner&) = delete;
  TcxEditStylesOwner& operator=(const TcxEditStylesOwner&) = delete;

  template <class C>
  static void PublishStyles(TPublisher<C>& P) {
    P.Property(L"Style", &C::Style, &C::SetStyle);
    P.Property(L"StyleDisabled", &C::StyleDisabled, &C::SetStyleDisabled);
    P.Property(L"StyleFocused", &C::StyleFocused, &C::SetStyleFocused);
    P.Property(L"StyleHot", &C::StyleHot, &C::SetStyleHot);
  }
  // The normal style's font, once assigned, becomes AControlFont.
  void ApplyStyleFont(TFont* AControlFont) const;

  TcxEditStyles FStyles;
};

// A caption as a control that sizes itself to it measures it: the width of
// the text without its accelerator marks, and the font's line height.
struct TcxCaptionSize {
  int Width = 0;
  int LineHeight = 0;
};
TcxCaptionSize cxCaptionSize(TFont* AFont, const String& ACaption);
