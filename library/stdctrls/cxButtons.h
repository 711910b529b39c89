// The push button.
//
// Classes in this file:
//   TcxButtonColors                     the button's colours by state
//   TcxButtonGlyph                      the glyph picture and the number of frames in its strip
//   TcxButtonImageOptions               the glyph: image list, index, layout, margin, spacing
//   TcxSpeedButtonOptions               speed-button use: groups, Down, flat and transparent looks
//   TcxButtonGlyphCache                 the image list's last drawing of the glyph, copied while nothing changed
//   TcxButtonViewInfo                   the rectangles, colours and fonts of one paint (cxButtons_Layout.cpp)
//   TcxButtonPainter                    the parts of the button on the look-and-feel painter (cxButtons_Layout.cpp)
//   (cxButtons_Layout.cpp also holds the layout calculators: standard, glyph and caption side by side
//   or stacked; office drop-down, the caption over its description and the arrow beside; command link, glyph at the top left with caption and description beside it)
//   TcxButtonFadingHelper               the button's cross-fade between its normal and hot faces (cxButtons_Fading.cpp)
//   TdxButtonAccessibilityHelper        the button's accessibility node
//   TcxCustomButton, TcxButton          the push button
//
// The button is a platform BUTTON window created owner-drawn: the platform
// keeps focus, keys, capture and BN_CLICKED; every owner-draw request lays
// the button out and paints it off screen through the look-and-feel painter,
// copied in one block transfer.
#pragma once

#include "library/controls/accessibility/cxAccessibility.h"
#include "library/core/base/cxClasses.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/animation/dxFading.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/StdCtrls.h"

#include <array>
#include <functional>
#include <optional>

class TcxCustomButton;

enum TcxButtonKind { cxbkStandard, cxbkDropDown, cxbkDropDownButton, cxbkCommandLink, cxbkOfficeDropDown };
enum TcxButtonPaintStyle { bpsDefault, bpsCaption, bpsGlyph };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TcxButtonInternalState { bisDown, bisHot, bisPressed, bisMenuButtonPressed, bisMenuVisible, bisAccelExecute };
using TcxButtonInternalStates = TSet<TcxButtonInternalState>;

template <>
struct TEnumInfo<TcxButtonKind> {
  static constexpr const wchar_t* Name = L"TcxButtonKind";
  static constexpr const wchar_t* Names[] = {L"cxbkStandard", L"cxbkDropDown", L"cxbkDropDownButton",
                                             L"cxbkCommandLink", L"cxbkOfficeDropDown"};
  static constexpr TcxButtonKind Last = cxbkOfficeDropDown;
};
template <>
struct TEnumInfo<TcxButtonPaintStyle> {
  static constexpr const wchar_t* Name = L"TcxButtonPaintStyle";
  static constexpr const wchar_t* Names[] = {L"bpsDefault", L"bpsCaption", L"bpsGlyph"};
  static constexpr TcxButtonPaintStyle Last = bpsGlyph;
};
template <>
struct TEnumInfo<TButtonLayout> {
  static constexpr const wchar_t* Name = L"TButtonLayout";
  static constexpr const wchar_t* Names[] = {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"};
  static constexpr TButtonLayout Last = blGlyphBottom;
};

// The private messages that open the drop-down menu and report it closed.
constexpr UINT DXM_DROPDOWNPOPUPMENU = 0x8098;
constexpr UINT DXM_DROPDOWNPOPUPMENUCLOSED = 0x8099;

// ---------------------------------------------------------------------------

class TcxButtonColors : public TPersistent {
  SK_CLASS(TcxButtonColors, TPersistent)
 public:
  static void Publish(TPublisher<TcxButtonColors>& P);

  static constexpr int ColorCount = 10;
  enum TIndex { iDefault, iDefaultText, iDisabled, iDisabledText, iHot, iHotText, iNormal, iNormalText, iPressed,
                iPressedText };

  void Create(TcxCustomButton* AButton);
  void Assign(TPersistent* ASource) override;

  // A colour that is not assigned reads clDefault. Writing clNone or
  // clDefault unassigns it.
  TColor Color(int AIndex) const { return FColors[static_cast<std::size_t>(AIndex)]; }
  void SetColor(int AIndex, TColor AValue);
  bool IsAssigned(int AIndex) const { return (FAssigned >> AIndex) & 1; }
  // One bit per colour index.
  unsigned AssignedColors() const { return FAssigned; }
  // Only while the button is designed: a colour left out becomes clDefault,
  // a clDefault colour cannot be kept in. Ignored at run time.
  void SetAssignedColors(unsigned AValue);
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
  TcxCustomButton* FButton;
  std::array<TColor, ColorCount> FColors;
  unsigned FAssigned;
};

// ---------------------------------------------------------------------------

// A glyph picture may be a strip of frames side by side: normal, disabled,
// pressed, down.
class TcxButtonGlyph : public TPersistent {
  SK_CLASS(TcxButtonGlyph, TPersistent)
 public:
  void Create(TcxCustomButton* AButton);
  void Destroy() override;

  TdxSmartGlyph* Glyph() const { return FGlyph.get(); }
  // Takes a copy; a strip of two to four square frames sets NumGlyphs to
  // their number, anything else to 1.
  void SetGlyph(TdxSmartGlyph* AValue);
  int NumGlyphs() const { return FNumGlyphs; }
  // Clamped to 1..4.
  void SetNumGlyphs(int AValue);
  bool IsLoaded() const { return !FGlyph->Empty(); }

 private:
  void GlyphChanged(TObject* Sender);

  TcxCustomButton* FButton;
  TOwned<TdxSmartGlyph> FGlyph;
  int FNumGlyphs = 1;
};

// ---------------------------------------------------------------------------

class TcxButtonImageOptions : public TPersistent {
  SK_CLASS(TcxButtonImageOptions, TPersistent)
 public:
  static void Publish(TPublisher<TcxButtonImageOptions>& P);

  void Create(TcxCustomButton* AButton);
  void Destroy() override;
  void Assign(TPersistent* ASource) override;

  // Through to the button's glyph holder.
  TdxSmartGlyph* Glyph() const;
  void SetGlyph(TdxSmartGlyph* AValue);
  int NumGlyphs() const;
  void SetNumGlyphs(int AValue);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* AValue);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int AValue);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout AValue);
  // -1 centres the glyph and caption together; below -1 is ignored.
  int Margin() const { return FMargin; }
  void SetMargin(int AValue);
  // -1 spreads the glyph and caption evenly.
  int Spacing() const { return FSpacing; }
  void SetSpacing(int AValue);

  // A glyph picture is loaded, or Images is assigned and ImageIndex is one
  // of its images.
  bool IsImageAssigned() const;
  bool IsImageIndexStored() const;

 protected:
  TPersistent* GetOwner() override;

 private:
  friend class TcxCustomButton;
  void Changed();
  // The list's images changed: the glyph is drawn afresh.
  void ImagesChanged(TObject* Sender);

  TcxCustomButton* FButton;
  TOwned<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages;
  int FImageIndex = -1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
};

// ---------------------------------------------------------------------------

class TcxSpeedButtonOptions : public TPersistent {
  SK_CLASS(TcxSpeedButtonOptions, TPersistent)
 public:
  static void Publish(TPublisher<TcxSpeedButtonOptions>& P);

  void Create(TcxCustomButton* AButton);
  void Assign(TPersistent* ASource) override;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool AValue);
  bool CanBeFocused() const { return FCanBeFocused; }
  void SetCanBeFocused(bool AValue);
  bool Down() const;
  // Through the Down rule: a button without a group never goes down, and the
  // last down button of a group stays down unless AllowAllUp.
  void SetDown(bool AValue);
  bool Flat() const { return FFlat; }
  void SetFlat(bool AValue);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int AValue);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);

  // The button is in a group or cannot take the focus.
  bool Active() const;
  bool IsDownStored() const;
  bool IsGroupIndexStored() const;

  void BeginUpdate() { ++FLockCount; }
  void CancelUpdate() { --FLockCount; }
  void EndUpdate();

 protected:
  TPersistent* GetOwner() override;

 private:
  friend class TcxCustomButton;
  // Tells the other buttons of the group that this one went down.
  void NotifyGroup();

  TcxCustomButton* FButton;
  bool FAllowAllUp = false;
  bool FCanBeFocused = true;
  int FGroupIndex = 0;
  bool FFlat = false;
  int FLockCount = 0;
  bool FTransparent = false;
};

// ---------------------------------------------------------------------------
// Layout and painting (cxButtons_Layout.cpp)

class TcxButtonViewInfo;

// The image list draws slowly under Wine (about a third of a millisecond a
// glyph), and a button repaints the same glyph over the same face again and
// again: the last drawing is kept with the pixels it was drawn over and
// copied while the glyph, the clip and those pixels are the same.
class TcxButtonGlyphCache {
 public:
  struct TKey {
    TCustomImageList* Images = nullptr;
    int Index = -1;
    bool Enabled = true;
    TRect Clip;  // the visible part, relative to the glyph's rectangle
    bool operator==(const TKey&) const = default;
  };
  // ADraw draws the glyph into R of DC unless the last drawing can be copied.
  void Draw(HDC DC, const TRect& R, TKey AKey, const std::function<void()>& ADraw);
  // The list's images changed.
  void Reset() { FValid = false; }

 private:
  bool FValid = false;
  TKey FKey;
  TSize FSize;
  std::optional<TMemoryDC> FUnder;
  std::optional<TMemoryDC> FDrawn;
  std::optional<TMemoryDC> FProbe;
};

class TcxButtonPainter : public TObject {
  SK_CLASS(TcxButtonPainter, TObject)
 public:
  void Create(TcxCustomButton* AButton);

  TcxCustomLookAndFeelPainter* LookAndFeelPainter() const;
  TcxLookAndFeelStyle LookAndFeelStyle() const;
  const TdxScaleFactor* ScaleFactor() const;

  void DrawButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonPart APart, TColor AColor, TcxButtonState AState);
  void DrawDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawFocusRect(TcxCanvas* ACanvas, const TRect& R);
  void DrawParentBackground(TcxCanvas* ACanvas, const TRect& R);
  int GetDropDownButtonSize() const;
  // The caption in the state's font colour; disabled (but for the native
  // and skin looks) embossed: first in clBtnHighlight one pixel right and down.
  void DrawTexT(TcxCanvas* ACanvas, const String& AText, const TRect& R, int AFlags, TcxButtonState AState);
  int GetPressedTextShift() const;
  TColor GetTextColor(TcxButtonState AState, TColor ADefault) const;
  TSize GetCommandLinkGlyphSize() const;
  TRect GetCommandLinkMargins() const;
  // DT_RIGHT | DT_RTLREADING while the button aligns right to left.
  int GetBiDiFlags() const;

 private:
  TcxCustomButton* FButton;
};

class TcxButtonViewInfo : public TObject {
  SK_CLASS(TcxButtonViewInfo, TObject)
 public:
  void Create(TcxCustomButton* AButton);
  void Destroy() override;

  void Calculate(const TRect& ABounds);
  void Draw(TcxCanvas* ACanvas);
  void DrawBackground(TcxCanvas* ACanvas);
  void DrawGlyph(TcxCanvas* ACanvas);
  // The button rectangle inside the painter's border of AState.
  TRect GetContentRect(TcxButtonState AState) const;

  bool HasDropDownButton() const;
  bool IsCaptionVisible() const;
  bool IsGlyphVisible() const;
  bool NeedDrawDropDownArrow() const;
  bool NeedDrawFocusRect() const;
  TSize GetImageSize() const;
  // The frame of a glyph strip the state shows: 0 normal, 1 disabled,
  // 2 pressed (with three frames or more), 3 down.
  int GlyphFrame() const;
  // Frame AFrame of the strip into R; scaled through a copy of what lies
  // under R.
  void DrawGlyphFrame(TcxCanvas* ACanvas, const TRect& R, int AFrame, IdxColorPalette* APalette) const;
  int CaptionTextFlags() const;
  int DescriptionTextFlags() const;

  TcxButtonPainter* Painter() const { return FPainter.get(); }
  TcxButtonState State() const { return FState; }
  void SetState(TcxButtonState AValue) { FState = AValue; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  TFont* DescriptionFont() const { return FDescriptionFont.get(); }
  TButtonLayout Layout() const { return FLayout; }
  const TRect& Bounds() const { return FBounds; }
  const TRect& ButtonRect() const { return FButtonRect; }
  const TRect& CaptionRect() const { return FCaptionRect; }
  const TRect& DescriptionRect() const { return FDescriptionRect; }
  const TRect& DropDownArrowRect() const { return FDropDownArrowRect; }
  const TRect& DropDownButtonRect() const { return FDropDownButtonRect; }
  const TPoint& GlyphPos() const { return FGlyphPos; }
  TcxButtonGlyphCache& GlyphCache() { return FGlyphCache; }

 private:
  friend class TcxButtonStandardLayoutCalculator;
  friend class TcxButtonOfficeDropDownLayoutCalculator;
  friend class TcxButtonCommandLinkLayoutCalculator;
  void CalculateColorsAndFonts();
  void CalculateButtonRects();
  void CalculateLayout();
  void DrawContent(TcxCanvas* ACanvas);
  // The state of the drop-down part of a split button.
  TcxButtonState DropDownState() const;

  TcxCustomButton* FButton;
  TColor FBackgroundColor = clDefault;
  TOwned<TFont> FDescriptionFont;
  TOwned<TFont> FCaptionFont;
  TButtonLayout FLayout = blGlyphLeft;
  TOwned<TcxButtonPainter> FPainter;
  TRect FBounds;
  TRect FButtonRect;
  TRect FCaptionRect;
  TRect FDescriptionRect;
  TRect FDropDownArrowRect;
  TRect FDropDownButtonRect;
  TPoint FGlyphPos;
  TcxButtonState FState = cxbsNormal;
  TcxButtonGlyphCache FGlyphCache;
};

// ---------------------------------------------------------------------------
// Cross-fading (cxButtons_Fading.cpp)

// What the fader sees of a button: whether it may fade, its two faces and a
// repaint request.
class TcxButtonFadingHelper : public TdxFadingObjectHelper {
  SK_CLASS(TcxButtonFadingHelper, TdxFadingObjectHelper)
 public:
  void Create(TcxCustomButton* AButton);

  bool CanFade() override;
  void DrawFadeImage() override;
  void GetFadingImages(TOwned<TBitmap>& AFadeOutImage, TOwned<TBitmap>& AFadeInImage) override;

 private:
  // The background alone, in AState, as a 32-bit picture of the bounds.
  TOwned<TBitmap> StateImage(TcxButtonState AState);

  TcxCustomButton* FButton;
};

// ---------------------------------------------------------------------------

class TdxButtonAccessibilityHelper : public TcxAccessibilityHelper {
  SK_CLASS(TdxButtonAccessibilityHelper, TcxAccessibilityHelper)
 public:
  TRect GetScreenBounds(int AChildID) override;

 protected:
  bool ChildIsSimpleElement(int) override { return true; }
  int ChildCount() override;
  void DoDefaultAction(int AChildID) override;
  String GetDefaultActionDescription(int AChildID) override;
  String GetDescription(int AChildID) override;
  String GetName(int AChildID) override;
  HWND OwnerObjectWindow() override;
  int GetRole(int AChildID) override;
  int GetState(int AChildID) override;
  int GetSupportedProperties(int AChildID) override;

 private:
  TcxCustomButton* Button() const;
};

// ---------------------------------------------------------------------------

class TcxCustomButton : public TCustomButton, public TcxLookAndFeelOwner {
  SK_CLASS(TcxCustomButton, TCustomButton)
 public:
  static void Publish(TPublisher<TcxCustomButton>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TcxButtonColors* Colors() const { return FColors.get(); }
  void SetColors(TcxButtonColors* AValue) { FColors->Assign(AValue); }
  TcxButtonImageOptions* OptionsImage() const { return FOptionsImage.get(); }
  void SetOptionsImage(TcxButtonImageOptions* AValue) { FOptionsImage->Assign(AValue); }
  TcxSpeedButtonOptions* SpeedButtonOptions() const { return FSpeedButtonOptions.get(); }
  void SetSpeedButtonOptions(TcxSpeedButtonOptions* AValue) { FSpeedButtonOptions->Assign(AValue); }
  TcxButtonViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TcxButtonGlyph* GlyphHolder() const { return FGlyph.get(); }
  const TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }

  TcxButtonKind Kind() const { return FKind; }
  // Recreates the window: a command link is created with the command-link style.
  void SetKind(TcxButtonKind AValue);
  TcxButtonPaintStyle PaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TcxButtonPaintStyle AValue);
  const String& Description() const { return FDescription; }
  void SetDescription(const String& AValue);
  // Only a popup menu is taken; anything else leaves nil.
  TComponent* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TComponent* AValue);
  TPopupAlignment PopupAlignment() const { return FPopupAlignment; }
  void SetPopupAlignment(TPopupAlignment AValue) { FPopupAlignment = AValue; }
  bool RepeatClick() const { return FRepeatClick; }
  void SetRepeatClick(bool AValue) { FRepeatClick = AValue; }
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool AValue);
  bool UseSystemPaint() const { return FUseSystemPaint; }
  void SetUseSystemPaint(bool AValue) { FUseSystemPaint = AValue; }

  // Pass-throughs to the speed-button options; a command link is always
  // focusable and never grouped.
  bool CanBeFocused() const;
  bool Down() const { return FSpeedButtonOptions->Down(); }
  void SetDown(bool AValue) { FSpeedButtonOptions->SetDown(AValue); }
  int GroupIndex() const;

  TcxButtonInternalStates InternalStates() const { return FInternalStates; }
  // The one way to change the internal states: repaints on a change, and
  // entering or leaving the hot look starts a cross-fade.
  void SetInternalStates(const TcxButtonInternalStates& AValue);
  // Fading runs for the native and skin looks only, with hot tracking and
  // no OnCustomDraw; never for a command link before Windows Vista.
  bool CanFade() const;
  TcxButtonFadingHelper* FadingHelper() const { return FFadingHelper.get(); }
  // The state every part is drawn in.
  TcxButtonState GetPaintState() const;
  // The painter the button draws with (its look-and-feel's).
  TcxCustomLookAndFeelPainter* Painter() const;
  bool IsHotTrackAvailable() const;
  bool IsSpeedButtonModeAllowed() const { return FKind != cxbkCommandLink; }
  // The button cannot take the focus or belongs to a group.
  bool IsSpeedButtonMode() const;
  // Speed-button parts (flat or transparent) are drawn.
  bool IsSpeedButtonPartsDrawn() const;
  // The drop-down part in client coordinates: empty for the standard kind,
  // the arrow strip of a split button, the whole button otherwise.
  TRect DropDownPartRect() const;
  // The caption width plus three "R" by 14/8 of the font height.
  TSize GetOptimalSize();

  // Left button still held, asked at each repeat tick; tests replace it.
  std::function<bool()> IsLeftButtonDown;
  // One tick of the repeat timer.
  void RepeatClickTick();
  bool RepeatTimerEnabled() const { return FButtonPressTimer->Enabled(); }
  unsigned RepeatTimerInterval() const { return FButtonPressTimer->Interval(); }

  // Whether the button is the one Enter would press.
  bool IsFocused() const { return FIsFocused; }
  bool IsHot() const { return FInternalStates.Contains(bisHot); }
  // The focus as the last owner-draw request reported it.
  bool IsPaintFocused() const { return FIsPaintFocused; }

  void Click() override;
  bool CanFocus() override;
  void ChangeScale(int M, int D, bool AIsDpiChange) override;

  // Shows PopupMenu for the button at a screen point; true when shown.
  virtual bool PopupContextMenu(const TPoint& AScreenPos);

  // Whether the linked action supplies these values (then they are not
  // stored): its image index, its checked state as Down, its group index.
  bool IsImageIndexLinked() const;
  bool IsCheckedLinked() const;
  bool IsGroupIndexLinked() const;

  // May replace the drop-down menu about to be shown, or show something
  // else and report it handled.
  using TDropDownMenuPopupEvent = Delegate<void(TObject* Sender, TPopupMenu*& APopupMenu, bool& AHandled)>;
  TDropDownMenuPopupEvent OnDropDownMenuPopup() const { return FOnDropDownMenuPopup; }
  void SetOnDropDownMenuPopup(TDropDownMenuPopupEvent AValue) { FOnDropDownMenuPopup = AValue; }
  // May change the face colour and the caption font of a paint state.
  using TGetDrawParamsEvent =
      Delegate<void(TcxCustomButton* Sender, TcxButtonState AState, TColor& AColor, TFont* AFont)>;
  TGetDrawParamsEvent OnGetDrawParams() const { return FOnGetDrawParams; }
  void SetOnGetDrawParams(TGetDrawParamsEvent AValue) { FOnGetDrawParams = AValue; }
  // Draws the button itself when it sets AHandled.
  using TCustomDrawEvent =
      Delegate<void(TcxCustomButton* Sender, TcxCanvas* ACanvas, TcxButtonViewInfo* AViewInfo, bool& AHandled)>;
  TCustomDrawEvent OnCustomDraw() const { return FOnCustomDraw; }
  void SetOnCustomDraw(TCustomDrawEvent AValue) { FOnCustomDraw = AValue; }
  // Asks OnGetDrawParams.
  void DoGetDrawParams(TcxButtonState AState, TColor& AColor, TFont* AFont);

 protected:
  void CreateParams(TCreateParams& Params) override;
  // With AutoSize on, every new size is the optimal size.
  bool CanResize(int& NewWidth, int& NewHeight) override;
  void SetButtonStyle(bool ADefault) override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseEnter() override;
  void MouseLeave() override;
  // The platform's values (caption, enabled, hint, visible, OnClick), then
  // the action's image index, group index and checked state as Down; while
  // the action loads the button keeps the ones it has.
  void ActionChange(TObject* Sender, bool ACheckDefaults) override;
  // OnContextPopup, then PopupMenu at the point (the client origin for a
  // request from the keyboard).
  void DoContextPopup(const TPoint& MousePos, bool& Handled) override;

  void CNDrawItem(TMessage& Message);
  void CNCommand(TMessage& Message);
  void CNMeasureItem(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMButtonPressed(TMessage& Message);

 private:
  friend class TcxButtonColors;
  friend class TcxButtonImageOptions;
  friend class TcxSpeedButtonOptions;
  friend class TdxButtonAccessibilityHelper;
  void PaintButton(const DRAWITEMSTRUCT& AItem);
  void DrawViewInfo(TcxCanvas* ACanvas);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void ButtonPressTimerHandler(TObject* Sender);
  void MarkPressed(const TPoint& P);
  void NotifyMouseEnter();
  void NotifyMouseLeave();
  void IncludeState(TcxButtonInternalState AState) { SetInternalStates(TcxButtonInternalStates(FInternalStates).Include(AState)); }
  void ExcludeState(TcxButtonInternalState AState) { SetInternalStates(TcxButtonInternalStates(FInternalStates).Exclude(AState)); }
  void PostDropDownMenu();
  void HandleDropDownMenuMessage();
  void HandleDropDownMenuClosed();
  TCustomAction* LinkedAction() const;
  // Down changed by the Down rule: bisDown follows, the group hears of it.
  void SetDownState(bool AValue);

  TOwned<TcxTimer> FButtonPressTimer;
  // The off-screen picture, kept while the size stays.
  std::optional<TMemoryDC> FBuffer;
  TOwned<TCanvas> FControlCanvas;
  TOwned<TcxCanvas> FCanvas;
  TOwned<TcxButtonColors> FColors;
  String FDescription;
  TComponent* FDropDownMenu;
  TOwned<TcxButtonGlyph> FGlyph;
  TComPtr<IcxAccessibilityHelper> FAccessibilityHelper;
  TcxButtonInternalStates FInternalStates;
  bool FIsDropDownMenuClosing;
  bool FIsFocused;
  bool FIsPaintDefault;
  bool FIsPaintFocused;
  bool FIsPaintPressed;
  TcxButtonKind FKind;
  TOwned<TcxButtonImageOptions> FOptionsImage;
  TcxButtonPaintStyle FPaintStyle;
  // The action's image index the button last took, so that an index of the
  // button's own is not overwritten by the action's later changes.
  std::optional<int> FActionImageIndex;
  // The action of the last change, compared only: a new one is taken whole.
  const TObject* FLinkedAction = nullptr;
  TPopupAlignment FPopupAlignment;
  bool FRepeatClick;
  TOwned<TdxScaleFactor> FScaleFactor;
  bool FShowFocusRect;
  TOwned<TcxSpeedButtonOptions> FSpeedButtonOptions;
  bool FUseSystemPaint;
  TOwned<TcxButtonViewInfo> FViewInfo;
  TOwned<TcxButtonFadingHelper> FFadingHelper;
  TDropDownMenuPopupEvent FOnDropDownMenuPopup;
  TGetDrawParamsEvent FOnGetDrawParams;
  TCustomDrawEvent FOnCustomDraw;
};

class TcxButton : public TcxCustomButton {
  SK_CLASS(TcxButton, TcxCustomButton)
 public:
  static void Publish(TPublisher<TcxButton>&) {}
};

// Unit start-up: registers the classes by name.
void cxButtonsInitialization();
