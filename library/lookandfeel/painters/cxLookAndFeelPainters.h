// The painters unit: the drawing interface of the control library with the
// base painter's behaviour, the built-in painters and the painters manager.
//
// Classes in this file:
//   TcxLookAndFeelStyle, TcxButtonState, TcxArrowDirection, TcxNeighbors ...
//                                    the types the painter operations share
//   TcxCustomLookAndFeelPainter      the painter interface and the base painter
//                                    (cxLookAndFeelPainters.cpp: life cycle and
//                                    painter information; _DefaultColors.cpp;
//                                    _Arrows.cpp: arrows, borders, separators;
//                                    _Buttons.cpp; _Containers.cpp: editor
//                                    buttons, container borders, progress
//                                    bars, group boxes, panels, drop-down lists;
//                                    _StateGlyphs.cpp: expand buttons, check
//                                    boxes, toggle switch, radio buttons, label
//                                    lines; _ScrollBars.cpp: scroll-bar parts,
//                                    popups and size grips; _BevelsAndTokens;
//                                    _Galleries.cpp: galleries, image strips,
//                                    wheel picker, rich edit; _Calendars.cpp:
//                                    modern calendars and the clock;
//                                    _Headers.cpp: headers, sorting marks,
//                                    footers, filter and find panels, hints,
//                                    tabs, indicator; _GridViews.cpp: grid-like
//                                    views, layout and explorer records,
//                                    scheduler, clock, navigators, zoom
//                                    buttons; _TrackBars.cpp: track bars,
//                                    the range control and splitters;
//                                    _DataViews.cpp: gantt, list and tree
//                                    views, gauges, maps, the navigation
//                                    bar, PDF viewer, spreadsheets;
//                                    _LayoutAndPreview.cpp: layout control,
//                                    print preview, message box, calculator;
//                                    _BreadcrumbsAndAlerts.cpp)
//   TcxUltraFlatLookAndFeelPainter   flat one-pixel frames in system colours
//                                    (cxLookAndFeelPainters_UltraFlat.cpp)
//   TcxStandardLookAndFeelPainter    the classic three-dimensional look
//                                    (cxLookAndFeelPainters_Standard.cpp)
//   TcxFlatLookAndFeelPainter        one-pixel bevels
//                                    (cxLookAndFeelPainters_Flat.cpp)
//   TcxOffice11LookAndFeelPainter    UltraFlat in the Office11 colour set
//                                    (cxLookAndFeelPainters_Office11.cpp)
//   TcxWinXPLookAndFeelPainter       the Native painter: the visual-styles
//                                    theme, the Standard look where there is
//                                    none (cxLookAndFeelPainters_Native.cpp)
//   IcxLookAndFeelPainterListener    hears painters come and go
//   TcxLookAndFeelPaintersManager    the process-wide registry of painters
//                                    (cxLookAndFeelPainters_Manager.cpp)
//   DrawPlusMinusMark, GetRangeThumbRect, cxDrawSizeGrip, the halftone
//   brushes ...
//                                    what the painters share
//
// A control never draws a part of itself: it asks the painter that its
// look-and-feel resolved. Painters hold no per-control state, so one
// instance of each class serves every control; each operation is handed the
// canvas, the rectangle (device pixels), the state and the scale factor it
// needs. Operations whose names hold "Scaled" take a scale factor and scale
// their 96-DPI lengths through it at the point of use; their unscaled
// companions pass the system scale factor unless they say otherwise.
// Colours are TColor: clDefault returned means "the control keeps its own
// colour", clDefault passed in lets the painter choose, clNone draws
// nothing. UI thread only.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/system/dxThemeManager.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/imaging/dxColorPalettes.h"
#include "library/graphics/system/cxSystemPaletteChangedNotifier.h"
#include "library/lookandfeel/painters/cxButtonState.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "platform/classes/Lists.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// ---------------------------------------------------------------------------
// Shared types

// The style under which the manager files a painter.
enum TcxLookAndFeelStyle { lfsFlat, lfsStandard, lfsUltraFlat, lfsNative, lfsOffice11, lfsSkin };
constexpr int cxLookAndFeelStyleCount = lfsSkin + 1;

enum TcxButtonPart { cxbpButton, cxbpDropDownLeftPart, cxbpDropDownRightPart };
enum TcxCheckBoxState { cbsUnchecked, cbsChecked, cbsGrayed };
enum TcxExpandButtonState { cebsNormal, cebsSelected, cebsInactive };
enum TdxBevelShape {
  dxbsNone,
  dxbsBox,
  dxbsFrame,
  dxbsLineTop,
  dxbsLineBottom,
  dxbsLineLeft,
  dxbsLineRight,
  dxbsLineCenteredHorz,
  dxbsLineCenteredVert
};
enum TdxBevelStyle { dxbsLowered, dxbsRaised };
enum TcxArrowDirection { adUp, adDown, adLeft, adRight };
// Which sides of a part touch a neighbour (the sides themselves are
// TcxBorders of the geometry unit).
enum TcxNeighbor { nLeft, nTop, nRight, nBottom };
using TcxNeighbors = TSet<TcxNeighbor>;
enum TcxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };
enum TcxContainerBorderStyle { cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11 };
enum TcxEditStateColorKind { esckNormal, esckDisabled, esckInactive, esckReadOnly };
enum TcxEditBtnKind {
  cxbkCloseBtn, cxbkComboBtn, cxbkEditorBtn, cxbkEllipsisBtn, cxbkSpinUpBtn, cxbkSpinDownBtn, cxbkSpinLeftBtn,
  cxbkSpinRightBtn
};
enum TcxEditBtnPosition { cxbpLeft, cxbpRight };
enum TcxEditPopupBorderStyle { epbsDefault, epbsSingle, epbsFrame3D, epbsFlat };
enum TcxPopupBorderStyle { pbsNone, pbsUltraFlat, pbsFlat, pbs3D };
enum TcxProgressBarPart { pbpBackground, pbpProgressChunk, pbpOverloadBar, pbpPeakBar };
enum TcxGroupBoxCaptionPosition { cxgpTop, cxgpBottom, cxgpLeft, cxgpRight, cxgpCenter };
enum TcxIndicatorKind { ikNone, ikArrow, ikEdit, ikInsert, ikMultiDot, ikMultiArrow, ikFilter, ikInplaceEdit };
enum TcxCalendarElementState {
  cesNormal, cesHot, cesPressed, cesSelected, cesFocused, cesMarked, cesDisabled, cesHighlighted
};
using TcxCalendarElementStates = TSet<TcxCalendarElementState>;
enum TdxRatingControlIndicatorState { rcisUnchecked, rcisChecked, rcisHover };
enum TcxTrackBarTicksAlign { tbtaUp, tbtaDown, tbtaBoth };
using TcxArrowDirections = TSet<TcxArrowDirection>;
// List and tree views.
enum TdxListViewItemState { dxlisFocused, dxlisHot, dxlisSelected, dxlisDisabled, dxlisInactive };
using TdxListViewItemStates = TSet<TdxListViewItemState>;
enum TdxListViewGroupHeaderState { dxlgsFocused, dxlgsHot, dxlgsCollapsed, dxlgsInactive };
using TdxListViewGroupHeaderStates = TSet<TdxListViewGroupHeaderState>;
enum TdxListViewGroupTextKind { dxlgtHeader, dxlgtSubtitle, dxlgtFooter };
enum TdxTreeViewNodeState { dxtnsFocused, dxtnsHot, dxtnsSelected, dxtnsDisabled, dxtnsInactive };
using TdxTreeViewNodeStates = TSet<TdxTreeViewNodeState>;
// The parts of a layout view.
enum TcxLayoutElement {
  leGroup, leGroupWithoutBorders, leTabbedGroup, leRootGroup, leRootGroupWithoutBorders, leItem
};
// How a gallery item shows.
struct TdxGalleryItemViewState {
  bool Enabled = true;
  bool Checked = false;
  bool Hover = false;
  bool Pressed = false;
  bool Focused = false;
};
enum TdxBreadcrumbEditState { dxbcsNormal, dxbcsFocused, dxbcsHot, dxbcsDisabled };
enum TdxBreadcrumbEditButtonState { dxbcbsNormal, dxbcbsFocused, dxbcbsHot, dxbcbsPressed, dxbcbsDisabled };
// The calculator's buttons, each with its text colour.
enum TcxCalcButtonKind {
  cbBack, cbCancel, cbClear, cbMC, cbMR, cbMS, cbMP, cbNum0, cbNum1, cbNum2, cbNum3, cbNum4, cbNum5, cbNum6, cbNum7,
  cbNum8, cbNum9, cbSign, cbDecimal, cbDiv, cbMul, cbSub, cbAdd, cbSqrt, cbPercent, cbRev, cbEqual, cbNone
};
enum TdxAlertWindowButtonKind { awbkClose, awbkPin, awbkDropdown, awbkPrevious, awbkNext, awbkCustom };
enum TdxMapControlElementState { mcesNormal, mcesHot, mcesPressed, mcesSelected, mcesDisabled };

// A caller's background for a header or footer cell: true when it drew one.
using TcxDrawBackgroundEvent = std::function<bool(TcxCanvas* ACanvas, const TRect& ABounds)>;
enum TcxFilterSmartTagState { fstsNormal, fstsHot, fstsPressed, fstsParentHot };
// Colours and spacing of filter tokens.
struct TdxFilterTokenParams {
  TColor BoolOperatorTextColor = clDefault;
  TRect BoolOperatorTextMargins;
  int ElementsIndent = 0;
  TColor FilterControlBackgroundColor = clDefault;
  TRect FilterPanelItemMargins;
  TColor ItemCaptionTextColor = clDefault;
  TRect ItemCaptionTextMargins;
  TColor OperatorTextColor = clDefault;
  TRect OperatorTextMargins;
  TColor ValueTextColor = clDefault;
  TRect ValueTextMargins;
};

// The vertices of a filled arrow; [1] is the tip.
using TcxArrowPoints = std::array<TPoint, 3>;

// ---------------------------------------------------------------------------
// The painter interface and the base painter

class TcxCustomLookAndFeelPainter : public TPersistent {
  SK_CLASS(TcxCustomLookAndFeelPainter, TPersistent)
 public:
  // Virtual: the manager makes the built-in painters by class.
  virtual void Create();
  // Frees the cached resources.
  void Destroy() override;

  // Painter information
  // Painter-specific data; none in the built-in painters (false).
  virtual bool GetPainterData(void*& AData);
  // The painter's details (its name and icons for lists of styles), the
  // same object until the cached resources are freed.
  virtual bool GetPainterDetails(TdxSkinDetails*& ADetails);
  virtual bool IsInternalPainter();
  // Empty in the base: a painter names itself.
  virtual String LookAndFeelName();
  // lfsStandard in the base: a painter that forgets its own collides with
  // the Standard painter in the manager.
  virtual TcxLookAndFeelStyle LookAndFeelStyle();
  // Whether controls repaint wholly on resize.
  virtual bool NeedRedrawOnResize();
  // Called when the root look-and-feel is reset.
  virtual void ResetLookAndFeelSettings();

  // Default colours (cxLookAndFeelPainters_DefaultColors.cpp): what a part
  // takes when its style sets no colour. Derived ones call the operations
  // they follow, so an override reaches them too.
  virtual TColor DefaultContentColor();
  virtual TColor DefaultContentEvenColor();
  virtual TColor DefaultContentOddColor();
  virtual TColor DefaultContentTextColor();
  virtual IPtr<IdxColorPalette> DefaultContentGlyphColorPalette(TcxButtonState AState);
  virtual TColor DefaultControlColor();
  virtual TColor DefaultControlTextColor();
  virtual TColor DefaultEditorBackgroundColor(bool AIsDisabled);
  virtual TColor DefaultEditorBackgroundColorEx(TcxEditStateColorKind AKind);
  virtual TColor DefaultEditorTextColor(bool AIsDisabled);
  virtual TColor DefaultEditorTextColorEx(TcxEditStateColorKind AKind);
  virtual TColor DefaultLabelTextColorEx(TcxEditStateColorKind AKind);
  virtual TColor DefaultFilterBoxColor();
  virtual TColor DefaultFilterBoxTextColor();
  virtual TColor DefaultFixedSeparatorColor();
  virtual TColor DefaultFooterColor();
  virtual TColor DefaultFooterTextColor();
  virtual TColor DefaultGridDetailsSiteColor();
  virtual TColor DefaultGridLineColor();
  virtual TColor DefaultGroupByBoxColor();
  virtual TColor DefaultGroupByBoxLineColor();
  virtual TColor DefaultGroupByBoxTextColor();
  virtual TColor DefaultGroupColor();
  virtual TRect DefaultGroupContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TColor DefaultGroupTextColor();
  virtual TColor DefaultHeaderBackgroundColor();
  virtual TColor DefaultHeaderBackgroundTextColor();
  virtual TColor DefaultHeaderColor();
  virtual TColor DefaultHeaderTextColor();
  virtual TColor DefaultHotTrackColor();
  virtual TColor DefaultHotTrackTextColor();
  virtual TColor DefaultHyperlinkTextColor();
  virtual TColor DefaultInactiveColor();
  virtual TColor DefaultInactiveTextColor();
  virtual TColor DefaultPreviewTextColor();
  virtual TColor DefaultRecordSeparatorColor();
  virtual TColor DefaultSearchResultHighlightColor();
  virtual TColor DefaultSearchResultHighlightTextColor();
  virtual TColor DefaultSelectionColor();
  virtual TColor DefaultSelectionTextColor();
  virtual TColor DefaultSeparatorColor();
  virtual TColor DefaultSizeGripAreaColor();
  virtual TColor DefaultTabColor();
  virtual TColor DefaultTabTextColor();
  virtual TColor DefaultTabsBackgroundColor();
  virtual TColor DefaultRootTabsBackgroundColor();
  virtual TColor DefaultTreeListGridLineColor();
  virtual TColor DefaultTreeListTreeLineColor();
  virtual TColor DefaultVGridBandLineColor();
  virtual TColor DefaultVGridCategoryColor();
  virtual TColor DefaultVGridCategoryTextColor();
  virtual TColor DefaultVGridContentTextColor();
  virtual TColor DefaultVGridHeaderColor();
  virtual TColor DefaultVGridHeaderTextColor();
  virtual TColor DefaultVGridLineColor();
  virtual TColor DefaultGridOptionsTreeViewCategoryColor(bool ASelected);
  virtual TColor DefaultGridOptionsTreeViewCategoryTextColor(bool ASelected);
  // Layout views; AState by ordinal (hot: the selection, disabled: the
  // inactive caption).
  virtual TColor DefaultLayoutViewCaptionColor(TcxButtonState AState);
  virtual TColor DefaultLayoutViewCaptionTextColor(TcxGroupBoxCaptionPosition ACaptionPosition,
                                                   TcxButtonState AState);
  virtual TColor DefaultLayoutViewContentColor();
  virtual TColor DefaultLayoutViewContentTextColor(TcxButtonState AState);
  // Date navigator.
  virtual TColor DefaultDateNavigatorContentColor();
  virtual TColor DefaultDateNavigatorHeaderColor();
  virtual TColor DefaultDateNavigatorHeaderTextColor(bool AIsHighlight);
  virtual TColor DefaultDateNavigatorHolydayTextColor();
  virtual TColor DefaultDateNavigatorInactiveTextColor();
  virtual TColor DefaultDateNavigatorSelectionColor();
  virtual TColor DefaultDateNavigatorSelectionTextColor();
  virtual TColor DefaultDateNavigatorSeparator1Color();
  virtual TColor DefaultDateNavigatorSeparator2Color();
  virtual TColor DefaultDateNavigatorTextColor();
  virtual TColor DefaultDateNavigatorTodayFrameColor();
  virtual TColor DefaultDateNavigatorTodayTextColor(bool ASelected);
  virtual TColor DefaultDateNavigatorWeekendTextColor();
  // Scheduler and time grid.
  virtual TColor DefaultSchedulerBackgroundColor();
  virtual TColor DefaultSchedulerBorderColor();
  virtual TColor DefaultSchedulerContentColor(int AResourceIndex);
  virtual TColor DefaultSchedulerControlColor();
  virtual TColor DefaultSchedulerDateNavigatorArrowColor(bool AIsHighlight);
  virtual TColor DefaultSchedulerDayHeaderBorderColor();
  virtual TColor DefaultSchedulerDayHeaderColor();
  virtual TColor DefaultSchedulerDayHeaderTextColor();
  virtual TColor DefaultSchedulerEventColor(bool AIsAllDayEvent);
  virtual TColor DefaultSchedulerEventColorClassic(bool AIsAllDayEvent);
  virtual TColor DefaultSchedulerHeaderContainerAlternateBackgroundColor();
  virtual TColor DefaultSchedulerHeaderContainerBackgroundColor(bool ASelected);
  virtual TColor DefaultSchedulerHeaderContainerBorderColor();
  virtual TColor DefaultSchedulerHeaderContainerTextColor(bool ASelected);
  virtual TColor DefaultSchedulerNavigatorColor();
  virtual TColor DefaultSchedulerSelectedEventBorderColor();
  virtual TColor DefaultSchedulerTextColor();
  virtual TColor DefaultSchedulerTimeRulerBorderColor();
  virtual TColor DefaultSchedulerTimeRulerBorderColorClassic();
  virtual TColor DefaultSchedulerTimeRulerColor();
  virtual TColor DefaultSchedulerTimeRulerColorClassic();
  virtual TColor DefaultSchedulerTimeRulerTextColor();
  virtual TColor DefaultSchedulerTimeRulerTextColorClassic();
  virtual TColor DefaultSchedulerViewContentColor();
  virtual TColor DefaultSchedulerViewContentColorClassic();
  virtual TColor DefaultSchedulerViewSelectedTextColor();
  virtual TColor DefaultSchedulerViewTextColor();
  virtual TColor DefaultSchedulerYearViewUnusedContentColor(bool AIsWorkTime);
  virtual TColor DefaultTimeGridMajorScaleColor();
  virtual TColor DefaultTimeGridMajorScaleTextColor();
  virtual TColor DefaultTimeGridMinorScaleColor();
  virtual TColor DefaultTimeGridMinorScaleTextColor();
  virtual TColor DefaultTimeGridSelectionBarColor();
  // Charts.
  virtual TColor DefaultChartDiagramValueBorderColor();
  virtual TColor DefaultChartDiagramValueCaptionTextColor();
  virtual TColor DefaultChartHistogramAxisColor();
  virtual TColor DefaultChartHistogramGridLineColor();
  virtual TColor DefaultChartHistogramPlotColor();
  virtual TColor DefaultChartPieDiagramSeriesSiteBorderColor();
  virtual TColor DefaultChartPieDiagramSeriesSiteCaptionColor();
  virtual TColor DefaultChartPieDiagramSeriesSiteCaptionTextColor();
  virtual TColor DefaultChartToolBoxDataLevelInfoBorderColor();
  virtual TColor DefaultChartToolBoxItemSeparatorColor();
  // Alpha colours: scroll-bar annotations and the fixed-column highlight.
  virtual TdxAlphaColor DefaultCustomScrollbarAnnotationColor();
  virtual TdxAlphaColor DefaultErrorScrollbarAnnotationColor();
  virtual TdxAlphaColor DefaultFixedColumnHighlightColor();
  virtual TdxAlphaColor DefaultFocusedScrollbarAnnotationColor();
  virtual TdxAlphaColor DefaultSearchResultAnnotationColor();
  virtual TdxAlphaColor DefaultSelectedScrollbarAnnotationColor();

  // Arrows, borders and separators (cxLookAndFeelPainters_Arrows.cpp)
  // Proportional arrow points in R, filled.
  virtual void DrawArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxArrowDirection AArrowDirection, TColor AColor);
  // A double chevron pointing left, in the canvas brush.
  virtual void DrawCollapseArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor, int ALineWidth = 1);
  // The button background (with its border when asked), then the arrow in
  // the symbol colour.
  virtual void DrawScaledArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               TcxArrowDirection AArrowDirection, const TdxScaleFactor* AScaleFactor,
                               bool ADrawBorder = true);
  virtual void DrawScaledArrowBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     const TdxScaleFactor* AScaleFactor);
  // The arrow alone, embossed when disabled, shifted when pressed.
  virtual void DrawScaledScrollBarArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        TcxArrowDirection AArrowDirection, const TdxScaleFactor* AScaleFactor);
  virtual int BorderSize();
  virtual int SeparatorSize();
  virtual void DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R);
  // AWidth and AColor serve the single and thick styles; ABorders the flat
  // and 3-D ones.
  virtual void DrawContainerBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxContainerBorderStyle AStyle,
                                   int AWidth, TColor AColor, TcxBorders ABorders);

  // The arrow geometry shared with the scroll bars: AArrowSize 0 takes a
  // quarter of R's side; a proportional arrow uses R's centred square.
  static void CalculateArrowPoints(TRect R, TcxArrowPoints& P, TcxArrowDirection AArrowDirection,
                                   bool AProportional, int AArrowSize = 0);
  // A band of SeparatorSize centred in R, across its width when vertical.
  void DrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool AIsVertical);
  void DrawArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxArrowDirection AArrowDirection,
                 bool ADrawBorder = true);
  void DrawArrowBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawScrollBarArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                          TcxArrowDirection AArrowDirection);

  // Buttons (cxLookAndFeelPainters_Buttons.cpp)
  virtual int ButtonBorderSize(TcxButtonState AState = cxbsNormal);
  virtual TColor ButtonColor(TcxButtonState AState);
  // Nil: no recolouring of button glyphs.
  virtual IPtr<IdxColorPalette> ButtonColorPalette(TcxButtonState AState, TcxButtonPart APart = cxbpButton);
  virtual TColor ButtonDescriptionTextColor(TcxButtonState AState, TColor ADefaultColor,
                                            TcxButtonPart APart = cxbpButton);
  // The colour of a button's caption and glyph.
  virtual TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault,
                                   TcxButtonPart APart = cxbpButton);
  // The state in which glyphs are drawn.
  virtual TcxButtonState ButtonSymbolState(TcxButtonState AState);
  // Where the focus rectangle goes; R itself when the inset would empty it.
  virtual TRect ScaledButtonFocusRect(TcxCustomCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor);
  virtual int ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor);
  // How far a pressed button's content moves right and down.
  virtual int ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor);
  virtual void DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  // The border when asked, then the face inside it in AColor (clDefault:
  // ButtonColor of the state).
  virtual void DrawScaledButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                const TdxScaleFactor* AScaleFactor, bool ADrawBorder, bool AIsToolButton,
                                TcxButtonPart APart, TColor AColor);
  // The clear glyph stretched into R, red while hot or pressed.
  virtual void DrawScaledClearButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor);
  // The right part of a split button: a plain face in the base.
  virtual void DrawScaledDropDownButtonArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                             const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault);
  // The search glyph of the state, centred in R.
  virtual void DrawScaledSearchEditButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               const TdxScaleFactor* AScaleFactor);
  virtual TSize GetScaledClearButtonGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual int GetScaledDropDownButtonRightPartSize(const TdxScaleFactor* AScaleFactor);
  // Whether buttons show cxbsHot under the mouse.
  virtual bool IsButtonHotTrack();
  // One state band of the search glyph.
  virtual TSize ScaledSearchButtonGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor DefaultCommandLinkTextColor(TcxButtonState AState, TColor ADefaultColor);
  virtual void DrawScaledCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault);
  // The arrow glyph at AGlyphPos, the hot image while hot, mirrored on a
  // right-to-left canvas.
  virtual void DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor);
  virtual TSize GetScaledCommandLinkGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor);

  // The face, then a caption that is not empty.
  void DrawScaledButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption, TcxButtonState AState,
                        const TdxScaleFactor* AScaleFactor, bool ADrawBorder = true, TColor AColor = clDefault,
                        TColor ATextColor = clDefault, bool AWordWrap = false, bool AIsToolButton = false,
                        TcxButtonPart APart = cxbpButton);
  void DrawButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption, TcxButtonState AState,
                  bool ADrawBorder = true, TColor AColor = clDefault, TColor ATextColor = clDefault,
                  bool AWordWrap = false, bool AIsToolButton = false, TcxButtonPart APart = cxbpButton);
  // With its border, as a plain button.
  void DrawScaledButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                        const TdxScaleFactor* AScaleFactor, TcxButtonPart APart, TColor AColor);
  // An "x" two pixels thick, ASize scaled pixels across, one pixel lower
  // and further right while pressed.
  void DrawScaledButtonCrossEx(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState, int ASize,
                               const TdxScaleFactor* AScaleFactor);
  void DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState, int ASize);
  // The cross sized for a filter close button: half its width, made odd.
  void DrawScaledButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState,
                             const TdxScaleFactor* AScaleFactor);
  void DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState);
  // The eye glyph in AColor; pressed: on a highlight fill, the open eye in
  // the highlight text colour; hot: in the highlight colour.
  void DrawScaledPasswordRevealButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor AColor,
                                      const TdxScaleFactor* AScaleFactor);
  TRect ButtonFocusRect(TcxCustomCanvas* ACanvas, const TRect& R);
  int ButtonTextOffset();
  // Unscaled and not the painter's: always 0.
  int ButtonTextShift() { return 0; }
  int GetDropDownButtonRightPartSize();
  void DrawCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 TColor AColor = clDefault);
  void DrawCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState);
  TSize GetCommandLinkGlyphSize();
  TRect GetCommandLinkMargins();
  void DrawSearchEditButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);

  // Editor buttons, container borders, progress bars, group boxes, panels
  // and drop-down lists (cxLookAndFeelPainters_Containers.cpp). Much of the
  // base draws nothing and reports zero sizes: the control then draws its
  // own.
  virtual void DrawScaledEditorButton(TcxCanvas* ACanvas, const TRect& R, TcxEditBtnKind AButtonKind,
                                      TcxButtonState AState, const TdxScaleFactor* AScaleFactor,
                                      TcxEditBtnPosition APosition = cxbpRight);
  virtual void DrawScaledEditorButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxEditBtnKind AButtonKind,
                                           TcxButtonState AState, const TdxScaleFactor* AScaleFactor,
                                           TcxEditBtnPosition APosition = cxbpRight);
  virtual IPtr<IdxColorPalette> EditButtonColorPalette(TcxButtonState AState);
  // (0, 0): no size of the painter's own.
  virtual TSize EditButtonSize();
  virtual TColor EditButtonTextColor(TcxButtonState AState);
  virtual int EditButtonTextOffset();
  virtual TColor GetContainerBorderColor(bool AIsHighlightBorder);
  virtual int GetContainerBorderWidth(TcxContainerBorderStyle ABorderStyle);
  // The overload bar inverts ABounds; other parts draw nothing.
  virtual void DrawProgressBarPart(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ABarBounds,
                                   bool AVertical, const TdxScaleFactor* AScaleFactor, TcxProgressBarPart APart);
  virtual TRect ProgressBarBorderSize(bool AVertical);
  // clDefault for the bar's parts: their text is drawn inverting.
  virtual TColor ProgressBarTextColor(TcxProgressBarPart APart);
  virtual void DrawGroupBoxBackground(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& R);
  virtual void DrawGroupBoxCaption(TcxCanvas* ACanvas, const TRect& ACaptionRect, const TRect& ATextRect,
                                   TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual void DrawGroupBoxContent(TcxCanvas* ACanvas, const TRect& ABorderRect,
                                   TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders);
  virtual void DrawGroupBoxScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        const TdxScaleFactor* AScaleFactor);
  virtual void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                                 TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders);
  virtual void GroupBoxAdjustCaptionFont(TFont* ACaptionFont, TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual TRect GroupBoxBorderSize(bool ACaption, TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual int GroupBoxCaptionTailSize(TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual TColor GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual bool IsGroupBoxCaptionTextDrawnOverBorder(TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual bool IsGroupBoxTransparent(TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual void DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds,
                                   TColor AColorFrom = clDefault, TColor AColorTo = clDefault);
  virtual void DrawPanelBorders(TcxCanvas* ACanvas, const TRect& ABorderRect);
  virtual void DrawPanelCaption(TcxCanvas* ACanvas, const TRect& ACaptionRect,
                                TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual void DrawPanelContent(TcxCustomCanvas* ACanvas, const TRect& R);
  virtual TRect PanelBorderSize();
  virtual TColor PanelTextColor();
  virtual void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R, bool AHasBorders);
  virtual void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& R,
                                                         const TdxScaleFactor* AScaleFactor);
  virtual void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                                  const TdxScaleFactor* AScaleFactor);
  virtual void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                                  const TdxScaleFactor* AScaleFactor);
  // 3, though the base's bordered background draws two pixels.
  virtual int DropDownListBoxBordersSize();
  virtual TColor DropDownListBoxItemTextColor(bool ASelected);
  virtual TRect DropDownListBoxScaledItemImageOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TRect DropDownListBoxScaledItemTextOffsets(const TdxScaleFactor* AScaleFactor);
  virtual int DropDownListBoxScaledSeparatorSize(const TdxScaleFactor* AScaleFactor);

  // A progress bar's text centred in ABounds (turned a quarter clockwise
  // when vertical): in ATextColor when one is given; else inverting what
  // lies beneath while the chunk has no text colour; else each area in its
  // part's text colour, clipped to it.
  void DrawProgressBarText(TcxCanvas* ACanvas, const String& AText, const TRect& ABounds,
                           const TRect& AProgressRect, const TRect& AOverloadBarRect, const TRect& APeakBarRect,
                           TColor ATextColor, bool AVertical);
  void DrawEditorButton(TcxCanvas* ACanvas, const TRect& R, TcxEditBtnKind AButtonKind, TcxButtonState AState,
                        TcxEditBtnPosition APosition = cxbpRight);
  void DrawEditorButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxEditBtnKind AButtonKind, TcxButtonState AState,
                             TcxEditBtnPosition APosition = cxbpRight);
  void DrawGroupBoxButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawDropDownListBoxGutterBackground(TcxCanvas* ACanvas, const TRect& R);
  void DrawDropDownListBoxSelection(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect);
  void DrawDropDownListBoxSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect);
  TRect DropDownListBoxItemImageOffsets();
  TRect DropDownListBoxItemTextOffsets();
  int DropDownListBoxSeparatorSize();

  // Expand buttons, check boxes, toggle switch, radio buttons and label
  // lines (cxLookAndFeelPainters_StateGlyphs.cpp)
  // R holds P (half-open).
  virtual bool IsPointOverGroupExpandButton(const TRect& R, const TPoint& P);
  virtual bool DrawExpandButtonFirst();
  // Nothing and 0 in the base: every painter gives its own.
  virtual void DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                                      const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                                      TcxExpandButtonState AState = cebsNormal);
  virtual int ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  // A plain button face with the double chevron, turned by ARotationAngle.
  virtual void DrawScaledExpandButtonEx(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AExpanded,
                                        const TdxScaleFactor* AScaleFactor, TcxRotationAngle ARotationAngle = ra0);
  // Two chevrons two pixels thick, up when expanded.
  virtual void DrawScaledExpandMark(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor, bool AExpanded,
                                    const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledGroupExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                                           TcxButtonState AState, const TdxScaleFactor* AScaleFactor);
  // A frame in ABorderColor, AColor inside it unless clDefault, and the
  // plus or minus in the button text colour.
  virtual void DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                                           const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault);
  virtual int ScaledExpandButtonAreaSize(const TdxScaleFactor* AScaleFactor);
  virtual int ScaledGroupExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual int ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  // The painter's expand button (excluded from the clip afterwards) and its
  // square size; the explorer style looks no different.
  virtual void DrawTreeViewExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, bool AExplorerStyle,
                                        const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                                        TcxExpandButtonState AState = cebsNormal);
  virtual TSize TreeViewExpandButtonSize(bool AExplorerStyle, const TdxScaleFactor* AScaleFactor);
  virtual int CheckBorderSize();
  // Only the normal state looks at the check state.
  virtual TColor CheckButtonColor(TcxButtonState AState, TcxCheckBoxState ACheckState);
  // ScaledCheckButtonSize raised to the touch-mode minimum.
  virtual TSize ScaledCheckButtonAreaSize(const TdxScaleFactor* AScaleFactor);
  // The system's check-box size at AScaleFactor.
  virtual TSize ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual void DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  // The background when asked; for a checked or grayed state the mark,
  // three pixels thick, clipped to R less one pixel.
  virtual void DrawScaledCheck(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               TcxCheckBoxState ACheckState, TColor AColor, const TdxScaleFactor* AScaleFactor,
                               bool ADrawBackground);
  // The border, then the mark on a filled interior (always filled in the
  // base, whatever ADrawBackground says).
  virtual void DrawScaledCheckButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     TcxCheckBoxState ACheckState, const TdxScaleFactor* AScaleFactor,
                                     bool ADrawBackground);
  // The state pictures on either side of the thumb's centre (the checked
  // one on the leading side); the caller draws the thumb.
  virtual void DrawScaledToggleSwitch(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                      const TRect& AThumbBounds, const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                           bool AChecked, const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);
  // AText in AFont and the toggle switch's text colour, centred on one
  // line in ABounds; the canvas's font comes back afterwards.
  virtual void DrawToggleSwitchStateIndicator(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                                              TFont* AFont);
  virtual IPtr<IdxColorPalette> GetToggleSwitchColorPalette();
  virtual TColor GetToggleSwitchTextColor();
  virtual int GetToggleSwitchThumbPercentsWidth();
  virtual TColor ToggleSwitchToggleColor(bool AChecked);
  // The radio image of the painter's look from the image list of
  // AScaleFactor's DPI.
  virtual void DrawScaledRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AButtonState, bool AChecked,
                                     bool AFocused, TColor ABrushColor, const TdxScaleFactor* AScaleFactor,
                                     bool AIsDesigning = false);
  virtual TColor RadioButtonBodyColor(TcxButtonState AState);
  virtual TSize ScaledRadioButtonSize(const TdxScaleFactor* AScaleFactor);
  // A shadow line over a highlight line (side by side when vertical);
  // clDefault takes those two colours.
  virtual void DrawLabelLine(TcxCanvas* ACanvas, const TRect& R, TColor AOuterColor, TColor AInnerColor,
                             bool AIsVertical);
  virtual int LabelLineHeight();

  // The expand button, then R is excluded from the clip region so that
  // later background fills leave it alone.
  void DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, const TdxScaleFactor* AScaleFactor,
                              TColor AColor = clDefault, TcxExpandButtonState AState = cebsNormal);
  void DrawExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor = clDefault);
  int ExpandButtonSize();
  // The background is drawn exactly when the canvas brush is solid.
  void DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxCheckBoxState ACheckState,
                       TColor AColor, const TdxScaleFactor* AScaleFactor);
  void DrawScaledCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                             TcxCheckBoxState ACheckState, const TdxScaleFactor* AScaleFactor);
  void DrawCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked, TColor AColor);
  void DrawCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked);
  TSize CheckButtonSize();
  TSize CheckButtonAreaSize();
  void DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AButtonState, bool AChecked, bool AFocused,
                       TColor ABrushColor, bool AIsDesigning = false);
  TSize RadioButtonSize();
  void DrawExpandMark(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor, bool AExpanded);

  // Bevels and tokens (cxLookAndFeelPainters_BevelsAndTokens.cpp)
  // The lowered bevel's colours: first the top and left, then the bottom
  // and right; clNone as the second makes every bevel one plain colour.
  virtual void GetBevelShapeColors(TColor& AColor1, TColor& AColor2);
  virtual TSize GetBevelMinimalShapeSize(TdxBevelShape AShape);
  // A plain frame (AColor2 clNone), a box (AColor1 top and left, AColor2
  // bottom and right) or an etched frame.
  virtual void DrawBevelFrame(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                              bool ABoxStyle);
  // R filled with AColor1 when AColor2 is clNone, else AColor1 over (or left
  // of) AColor2.
  virtual void DrawBevelLine(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                             bool AIsVertical);
  // The frame or a line of the minimal shape size along the shape's edge.
  virtual void DrawBevelShape(TcxCustomCanvas* ACanvas, const TRect& R, TdxBevelShape AShape,
                              TdxBevelStyle AStyle);
  // A shadow frame; hot, pressed and default tokens get the button face
  // inside it.
  virtual void DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                         const TdxScaleFactor* AScaleFactor);
  void DrawTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  // An "x" of 7 scaled pixels in the token's text colour.
  virtual void DrawScaledTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                         const TdxScaleFactor* AScaleFactor);
  // 12 x 11 scaled, the width raised to the touch-mode minimum.
  virtual TSize GetScaledTokenCloseGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect GetScaledTokenContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TSize GetScaledTokenDefaultGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual IPtr<IdxColorPalette> GetTokenColorPalette(TcxButtonState AState);
  virtual TColor GetTokenTextColor(TcxButtonState AState);
  void DrawTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  TSize GetTokenCloseGlyphSize();
  TRect GetTokenContentOffsets();
  TSize GetTokenDefaultGlyphSize();

  // Headers, sorting marks, footers, filter and find panels, hints, tabs
  // and the indicator (cxLookAndFeelPainters_Headers.cpp). Header text is
  // drawn over a clear brush with the alignment, line and ellipsis flags
  // given.
  // A raised inner edge on every side, whatever ABorders says; the corners
  // that touch a neighbour are softened.
  virtual void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors, TcxBorders ABorders);
  virtual void DrawHeaderPressed(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                              TcxButtonState AState);
  virtual void DrawHeaderControlSectionContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                               const TRect& ATextAreaBounds, TcxButtonState AState,
                                               TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                               bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                               TFont* AFont, TColor ATextColor, TColor ABkColor);
  // Disabled text is embossed: highlight one pixel down and right, shadow
  // in place.
  virtual void DrawHeaderControlSectionText(TcxCanvas* ACanvas, const TRect& ATextAreaBounds, TcxButtonState AState,
                                            TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                            bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                            TFont* AFont, TColor ATextColor);
  // AIndentSize pixels of AViewParams at each end, AColor between.
  virtual void DrawHeaderSeparator(TcxCanvas* ACanvas, const TRect& ABounds, int AIndentSize, TColor AColor,
                                   const TcxViewParams& AViewParams);
  // The border, then the content in the default header colour.
  virtual void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                TcxNeighbors ANeighbors, TcxBorders ABorders, const TdxScaleFactor* AScaleFactor,
                                bool AIsLast = false, bool AIsGroup = false);
  // The border, then the background (AOnDrawBackground's or ABkColor) and
  // the text inside the content bounds.
  virtual void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                                const TcxDrawBackgroundEvent& AOnDrawBackground = {}, bool AIsLast = false,
                                bool AIsGroup = false);
  virtual void DrawScaledHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                  TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                  TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                  bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                  TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                                  const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  virtual void DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                              TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                              TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                              bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                              TFont* AFont, TColor ATextColor, TColor ABkColor,
                                              const TdxScaleFactor* AScaleFactor);
  virtual TcxBorders HeaderBorders(TcxNeighbors ANeighbors);
  virtual int HeaderBorderSize();
  // ABounds grown by the border size on the sides in ABorders that
  // HeaderBorders leaves out.
  virtual TRect HeaderBounds(const TRect& ABounds, TcxNeighbors ANeighbors, TcxBorders ABorders);
  // 2 scaled on every side plus the scaled header padding.
  virtual TRect HeaderContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual int HeaderControlSectionBorderSize(TcxButtonState AState);
  virtual TRect HeaderControlSectionContentBounds(const TRect& ABounds, TcxButtonState AState);
  // Moved one pixel down and right while pressed.
  virtual TRect HeaderControlSectionTextAreaBounds(const TRect& ABounds, TcxButtonState AState);
  virtual bool HeaderDrawCellsFirst();
  virtual IPtr<IdxColorPalette> HeaderGlyphColorPalette(TcxButtonState AState);
  virtual bool IsHeaderHotTrack();
  virtual TRect ScaledHeaderContentBounds(const TRect& ABounds, TcxBorders ABorders,
                                          const TdxScaleFactor* AScaleFactor);
  // Offsets, the font height and both borders, raised to the touch-mode
  // minimum.
  virtual int ScaledHeaderHeight(int AFontHeight, const TdxScaleFactor* AScaleFactor);
  // Offsets and the text width; a left border adds the border size, a right
  // one takes it away.
  virtual int ScaledHeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText, TFont* AFont,
                                const TdxScaleFactor* AScaleFactor);
  // Sorting marks: nothing and (0, 0) in the base; every painter gives its
  // own.
  virtual void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                     const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                            const TdxScaleFactor* AScaleFactor);
  virtual TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor);
  virtual TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor);
  // 16 scaled wide (20 in touch mode), as tall as the mark.
  virtual TPoint ScaledSortingMarkAreaSize(const TdxScaleFactor* AScaleFactor);
  // The summary-value indicator image centred in R.
  virtual void DrawScaledSummaryValueSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual TSize ScaledSummaryValueSortingMarkSize(const TdxScaleFactor* AScaleFactor);
  // Footers.
  virtual TcxBorders FooterBorders();
  virtual int FooterBorderSize();
  virtual int FooterCellBorderSize();
  virtual int FooterCellOffset();
  virtual bool FooterDrawCellsFirst();
  virtual TColor FooterSeparatorColor();
  virtual int FooterSeparatorSize();
  virtual void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R);
  // The separator along the top, the border below it.
  virtual void DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders);
  virtual void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                              TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText, TFont* AFont,
                              TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  virtual void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawFooterCellContent(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                                     TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText,
                                     TFont* AFont, TColor ATextColor, TColor ABkColor,
                                     const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  virtual void DrawFooterContent(TcxCanvas* ACanvas, const TRect& ARect, const TcxViewParams& AViewParams);
  virtual void DrawFooterSeparator(TcxCanvas* ACanvas, const TRect& R);
  // Grid group rows, the group-by box and the filter row.
  virtual void DrawGroupByBox(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent, TColor ABackgroundColor,
                              TBitmap* ABackgroundBitmap);
  virtual TColor GridGroupRowStyleOffice11ContentColor(bool AHasData);
  virtual TColor GridGroupRowStyleOffice11SeparatorColor();
  virtual TColor GridGroupRowStyleOffice11TextColor();
  virtual int GridBordersOverlapSize();
  virtual bool GridDrawHeaderCellsFirst();
  virtual void DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor);
  // Filter panel and filter control.
  virtual void DrawFilterPanel(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent, TColor ABackgroundColor,
                               TGraphic* ABackgroundBitmap);
  // A Boolean check button.
  virtual void DrawScaledFilterActivateButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                              bool AChecked, const TdxScaleFactor* AScaleFactor);
  // Nothing in the base: every painter gives its own.
  virtual void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                              bool AIsFilterActive, const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFilterSmartTag(TcxCanvas* ACanvas, const TRect& R, TcxFilterSmartTagState AState,
                                        bool AIsFilterActive, const TdxScaleFactor* AScaleFactor);
  virtual IPtr<IdxColorPalette> FilterControlMenuGetColorPalette();
  virtual TPoint ScaledFilterActivateButtonSize(const TdxScaleFactor* AScaleFactor);
  // 15 scaled wide, raised to the system's touch-mode minimum.
  virtual TPoint ScaledFilterDropDownButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual TSize ScaledFilterSmartTagSize(const TdxScaleFactor* AScaleFactor);
  // Token backgrounds: the hot look in cxbsDefault and cxbsHot.
  virtual void DrawScaledFilterBoolOperatorBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                      const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFilterItemCaptionBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                     const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFilterOperatorBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                  const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFilterValueBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFilterControlAddButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                     const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFilterControlRemoveButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                        const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFilterPanelRemoveButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                      const TdxScaleFactor* AScaleFactor);
  // An open bracket in the 4-pixel strip at each end of R.
  virtual void DrawScaledFilterPanelBrackets(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor);
  // A dotted outline in the hot remove-glyph colour.
  virtual void DrawScaledFilterPanelRemovingArea(TcxCanvas* ACanvas, const TRect& R,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual void GetScaledFilterTokenParams(TdxFilterTokenParams& AParams, const TdxScaleFactor* AScaleFactor);
  // The find panel.
  virtual void DrawFindPanel(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent, TColor ABackgroundColor,
                             TGraphic* ABackgroundBitmap);
  virtual void DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders);
  virtual void DrawScaledFindPanelNextButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                                  const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFindPanelPreviousButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                                      const TdxScaleFactor* AScaleFactor);
  // In AColor (clDefault: the content text colour while hot or pressed,
  // else the group-by box text colour), a given colour faded while hot or
  // pressed.
  virtual void DrawScaledGroupByBoxSearchButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                                     const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault);
  // Hints and screen tips.
  virtual TColor GetHintBorderColor();
  // clDefault: the info background.
  virtual void DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect, TColor AColor = clDefault);
  virtual IPtr<IdxColorPalette> ScreenTipGetColorPalette();
  virtual TColor ScreenTipGetDescriptionTextColor();
  virtual int ScreenTipGetFooterLineSize();
  virtual TColor ScreenTipGetTitleTextColor();
  virtual TRect ScreenTipGetWindowPadding();
  virtual TRect ScreenTipGetHeaderPadding();
  virtual TRect ScreenTipGetDescriptionPadding();
  virtual TRect ScreenTipGetSeparatorPadding();
  virtual TRect ScreenTipGetFooterPadding();
  // The hint background inside a rounded window-frame outline.
  virtual void ScreenTipDrawBackground(TcxCanvas* ACanvas, const TRect& ARect);
  // A window-frame line over a white one.
  virtual void ScreenTipDrawFooterLine(TcxCanvas* ACanvas, const TRect& ARect);
  // Tabs: nothing in the base.
  virtual void DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, const String& AText,
                       TcxButtonState AState, bool AVertical, TFont* AFont, TColor ATextColor, TColor ABkColor,
                       bool AShowPrefix = false);
  virtual void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                             bool AVertical);
  virtual void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical);
  virtual bool IsDrawTabImplemented(bool AVertical);
  virtual bool IsTabHotTrack(bool AVertical);
  virtual int TabBorderSize(bool AVertical);
  // The record indicator.
  virtual void DrawScaledIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                        const TdxScaleFactor* AScaleFactor);
  // A header cell without text in AColor, then the image in
  // AImageAreaBounds.
  virtual void DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                                       TcxIndicatorKind AKind, TColor AColor, const TdxScaleFactor* AScaleFactor,
                                       const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors,
                                       bool APaintLeftSide);
  void DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                               TcxIndicatorKind AKind, TColor AColor, const TdxScaleFactor* AScaleFactor,
                               const TcxDrawBackgroundEvent& AOnDrawBackground = {},
                               TcxNeighbors ANeighbors = {nTop, nBottom});
  void DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                               const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  virtual void DrawScaledIndicatorItemEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                                         const TdxScaleFactor* AScaleFactor,
                                         const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  // Five lines one scaled pixel high, 2 apart; the odd ones start with a
  // dot.
  virtual void DrawScaledIndicatorCustomizationMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                                    const TdxScaleFactor* AScaleFactor);
  virtual bool IndicatorDrawItemsFirst();

  // A triangle of the painter's mark size centred in R: the left edge
  // dark, the right edge light, the base light when ascending.
  void DrawSortingTriangle(TcxCanvas* ACanvas, const TRect& R, TColor ADarkColor, TColor ALightColor,
                           bool AAscending, const TdxScaleFactor* AScaleFactor);
  // Left and right arrows in the squares at R's ends (ASideWidth is not
  // used).
  void DrawMonthHeaderArrows(TcxCustomCanvas* ACanvas, const TRect& R, TcxArrowDirections AArrows, int ASideWidth,
                             TColor AColor);
  // A bar along R's top, then a triangle two pixels shorter below it.
  void DrawSummarySortingTriangle(TcxCanvas* ACanvas, const TRect& R, TColor ADarkColor, TColor ALightColor,
                                  bool AAscending, const TdxScaleFactor* AScaleFactor);
  // At 96 DPI.
  void DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                  TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                  TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                  TFont* AFont, TColor ATextColor, TColor ABkColor,
                  const TcxDrawBackgroundEvent& AOnDrawBackground = {}, bool AIsLast = false, bool AIsGroup = false);
  void DrawHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                    TFont* AFont, TColor ATextColor, TColor ABkColor,
                    const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  TRect HeaderContentBounds(const TRect& ABounds, TcxBorders ABorders);
  int HeaderHeight(int AFontHeight);
  // At the system's DPI.
  void DrawHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                TColor ABkColor);
  int HeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText, TFont* AFont);
  TPoint SortingMarkAreaSize();
  TSize SortingMarkSize();
  TSize SummarySortingMarkSize();
  TSize SummaryValueSortingMarkSize();
  void DrawSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting);
  // Draws nothing.
  void DrawSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting);
  void DrawSummaryValueSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting);
  // Clipped to ABounds: the content, then the border.
  void DrawFooterPanel(TcxCanvas* ACanvas, const TRect& ABounds, const TcxViewParams& AViewParams,
                       TcxBorders ABorders);
  void DrawFilterActivateButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked);
  void DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AIsFilterActive);
  void DrawFilterSmartTag(TcxCanvas* ACanvas, const TRect& R, TcxFilterSmartTagState AState, bool AIsFilterActive);
  TPoint FilterActivateButtonSize();
  TPoint FilterDropDownButtonSize();
  TSize FilterSmartTagSize();
  void DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind);
  void DrawIndicatorItem(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                         const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  void DrawIndicatorItemEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                           const TcxDrawBackgroundEvent& AOnDrawBackground = {});

  // Galleries, the back button, the rating and fixed-group indicators, the
  // wheel picker and the rich edit (cxLookAndFeelPainters_Galleries.cpp).
  // Images with state bands hold them stacked top to bottom.
  virtual TColor GetGalleryGroupTextColor();
  // A normal header with every border, at 96 DPI.
  virtual void DrawGalleryGroupHeader(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual TColor GetGalleryItemImageFrameColor();
  virtual TColor GetGalleryDropTargetSelectionColor();
  virtual TColor GetGalleryItemCaptionTextColor(const TdxGalleryItemViewState& AState);
  virtual TColor GetGalleryItemDescriptionTextColor(const TdxGalleryItemViewState& AState);
  virtual IPtr<IdxColorPalette> GetGalleryItemColorPalette(const TdxGalleryItemViewState& AState);
  virtual TRect GetGalleryScaledGroupHeaderContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual void DrawGalleryBackground(TcxCustomCanvas* ACanvas, const TRect& ABounds);
  virtual bool DrawGalleryItemSelectionFirst();
  // A translucent dark-blue fill and a two-pixel frame, both by state;
  // nothing for an item that is only enabled.
  virtual void DrawGalleryItemSelection(TcxCustomCanvas* ACanvas, const TRect& R,
                                        const TdxGalleryItemViewState& AViewState);
  virtual void DrawGalleryItemImageFrame(TcxCustomCanvas* ACanvas, const TRect& R);
  virtual TColor GetColorGalleryGlyphFrameColor();
  // Two one-pixel frames, orange outside and pale yellow inside, while
  // checked, pressed, hot or focused.
  virtual void DrawColorGalleryItemSelection(TcxCustomCanvas* ACanvas, const TRect& R,
                                             const TdxGalleryItemViewState& AViewState);
  virtual TSize GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor);
  // The band of AState stretched into R; the scale factor only sizes it.
  virtual void DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor);
  virtual TSize GetRatingControlScaledIndicatorSize(const TdxScaleFactor* AScaleFactor);
  virtual void DrawRatingControlScaledIndicator(TcxCanvas* ACanvas, const TRect& ABounds,
                                                TdxRatingControlIndicatorState AState,
                                                const TdxScaleFactor* AScaleFactor);
  virtual IPtr<IdxColorPalette> GetRatingControlIndicatorColorPalette(TdxRatingControlIndicatorState AState);
  virtual TSize GetScaledFixedGroupIndicatorSize(const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledFixedGroupIndicator(TcxCanvas* ACanvas, const TRect& ABounds,
                                             const TdxScaleFactor* AScaleFactor);
  // clDefault when neither hot nor pressed: the control keeps its own.
  virtual TColor GetWheelPickerBorderItemColor(TcxButtonState AState);
  virtual TColor GetWheelPickerFillItemColor(TcxButtonState AState);
  virtual IPtr<IdxColorPalette> GetWheelPickerColorPalette(TcxButtonState AState);
  virtual void DrawWheelPickerItemBackground(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxButtonState AState);
  virtual void DrawWheelPickerItemBorder(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxButtonState AState);
  virtual void DrawWheelPickerItem(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxButtonState AState);
  virtual TColor RichEditControlHeaderFooterLineColor();
  virtual TColor RichEditControlHeaderFooterMarkBackColor();
  virtual TColor RichEditControlHeaderFooterMarkTextColor();
  virtual TColor RichEditRulerControlColor();
  virtual TColor RichEditRulerActiveAreaColor();
  virtual TColor RichEditRulerInactiveAreaColor();
  virtual TColor RichEditRulerDefaultTabColor();
  virtual TColor RichEditRulerTabTypeToggleBorderColor();
  virtual TColor RichEditRulerTextColor();
  // The 96-DPI offsets.
  TRect GetGalleryGroupHeaderContentOffsets();
  TSize GetBackButtonSize();
  void DrawBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  TSize GetRatingControlIndicatorSize();
  void DrawRatingControlIndicator(TcxCanvas* ACanvas, const TRect& ABounds, TdxRatingControlIndicatorState AState);
  TSize GetFixedGroupIndicatorSize();
  void DrawFixedGroupIndicator(TcxCanvas* ACanvas, const TRect& ABounds);

  // Modern calendars and the clock (cxLookAndFeelPainters_Calendars.cpp)
  // A framed fill while hot or selected, the marked frame, the focus
  // rectangle.
  virtual void DrawModernCalendarDateCellSelection(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                                   TcxCalendarElementStates AStates);
  virtual void DrawModernCalendarDateHeaderSelection(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                                     TcxCalendarElementStates AStates);
  // Underlines the canvas font while hot or pressed; draws nothing.
  virtual void DrawModernCalendarHeaderSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TcxCalendarElementStates AStates);
  virtual TColor GetModernCalendarCellTextColor(TcxCalendarElementStates AStates);
  virtual TColor GetModernCalendarDateHeaderTextColor(TcxCalendarElementStates AStates);
  virtual TColor GetModernCalendarHeaderTextColor(TcxCalendarElementStates AStates);
  virtual TColor GetModernCalendarMarkedCellBorderColor();
  virtual TColor GetModernCalendarSelectedTextColor();
  virtual TRect GetModernCalendarHeaderTextOffsets();
  // A filled arrow; the scale factor is not used by the base.
  virtual void DrawScaledModernCalendarArrow(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                             TcxArrowDirection ADirection, TcxCalendarElementStates AState,
                                             const TdxScaleFactor* AScaleFactor);
  // Face, hands and glass composed over ABackgroundColor (clNone: what
  // lies beneath) and put into ARect.
  virtual void DrawModernCalendarClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                                       TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor);
  // Antialiased hour, minute and second hands from ARect's centre,
  // reaching out to the ellipse of ARect.
  virtual void DrawScaledModernClockHands(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                                          TColor AColor, const TdxScaleFactor* AScaleFactor);
  void DrawModernCalendarArrow(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                               TcxCalendarElementStates AState);
  // At 96 DPI.
  void DrawModernClockHands(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor AColor);

  // Scroll bars and size grips (cxLookAndFeelPainters_ScrollBars.cpp)
  // The page pattern over R.
  virtual void DrawScaledScrollBarBackground(TcxCustomCanvas* ACanvas, const TRect& R, bool AHorizontal,
                                             const TdxScaleFactor* AScaleFactor);
  // The line parts change places on a right-to-left horizontal bar; then
  // DoDrawScaledScrollBarPart.
  virtual void DrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                       TcxScrollBarPart APart, TcxButtonState AState,
                                       const TdxScaleFactor* AScaleFactor);
  virtual int ScaledScrollBarMinimalThumbSize(bool AVertical, const TdxScaleFactor* AScaleFactor);
  // A scroll-bar line part pointing ADirection.
  virtual void DrawScaledSliderButton(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                                      TcxButtonState AState, const TdxScaleFactor* AScaleFactor);
  virtual TSize ScaledSliderButtonSize(TcxArrowDirection ADirection, const TdxScaleFactor* AScaleFactor);
  // The button border of the state, then its face inside the normal
  // state's border width.
  virtual void DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     const TdxScaleFactor* AScaleFactor);
  virtual IPtr<IdxColorPalette> GetSmallButtonColorPalette(TcxButtonState AState);
  // The small close button: a small button with the filter cross.
  virtual void DrawScaledSmallCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor);
  // DoGetSmallCloseButtonSize scaled, raised to the touch-mode minimum.
  virtual TSize ScaledSmallCloseButtonSize(const TdxScaleFactor* AScaleFactor);
  // A small button with the cross in the symbol colour.
  virtual void DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);
  virtual TPoint ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor);
  void DrawSmallCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  TPoint FilterCloseButtonSize();

  // Popup windows (cxLookAndFeelPainters_ScrollBars.cpp)
  virtual TColor GetWindowContentTextColor();
  virtual void DrawWindowContent(TcxCanvas* ACanvas, const TRect& ARect);
  // The border of an editor's drop-down window; R comes back as the area
  // inside it.
  virtual void DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R, TcxEditPopupBorderStyle ABorderStyle,
                                         bool AClientEdge);
  virtual int GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle AStyle);
  virtual int GetEditPopupWindowClientEdgeWidth(TcxEditPopupBorderStyle AStyle);
  virtual TcxPopupBorderStyle PopupBorderStyle();
  // The band of a sizeable popup at the grip's edge, the grip in ACorner and
  // the close button at the band's other end.
  virtual void CalculateScaledPopupPanelClientRect(TRect& AClientRect, TRect& APanelRect, TRect& AGripRect,
                                                   TRect& ACloseButtonRect, TdxCorner ACorner,
                                                   const TRect& ABorders, const TRect& APanelBorders,
                                                   const TdxScaleFactor* AScaleFactor, int APanelHeight = 0,
                                                   bool AShowCloseButton = true, bool AShowGripSize = true);

  // The non-client band of the popup window AHandle, drawn on its window
  // DC: a frame of the client area's border width in ABorderColor, then the
  // band with grip and close button. The two rectangles are in screen
  // coordinates.
  virtual void DrawScaledPopupNCPanel(HWND AHandle, bool AMouseAboveCloseButton, bool ACloseButtonIsTracking,
                                      TdxCorner ACorner, const TRect& ACloseButtonRect, const TRect& AGripRect,
                                      TColor ABorderColor, const TdxScaleFactor* AScaleFactor);
  void CalculatePopupPanelClientRect(TRect& AClientRect, TRect& APanelRect, TRect& AGripRect,
                                     TRect& ACloseButtonRect, TdxCorner ACorner, const TRect& ABorders,
                                     const TRect& APanelBorders, int APanelHeight = 0, bool AShowCloseButton = true,
                                     bool AShowGripSize = true);
  void DrawPopupNCPanel(HWND AHandle, bool AMouseAboveCloseButton, bool ACloseButtonIsTracking, TdxCorner ACorner,
                        const TRect& ACloseButtonRect, const TRect& AGripRect, TColor ABorderColor);
  // A popup band: its border lines (ABorders wide) in ABorderColor, the
  // grip and the close button on window content, the rest window content.
  // Each part drawn leaves the clip region, the whole band last.
  void DrawScaledPopupPanelBand(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect,
                                const TRect& ACloseButtonRect, TdxCorner AGripCorner,
                                TcxButtonState ACloseButtonState, const TRect& ABorders, TColor ABorderColor,
                                const TdxScaleFactor* AScaleFactor, bool AShowGripSize = true,
                                bool AShowCloseButton = true);
  void DrawPopupPanelBand(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect,
                          const TRect& ACloseButtonRect, TdxCorner AGripCorner, TcxButtonState ACloseButtonState,
                          const TRect& ABorders, TColor ABorderColor, bool AShowGripSize = true,
                          bool AShowCloseButton = true);
  // The height of a popup band.
  int ScaledPopupPanelSize(const TdxScaleFactor* AScaleFactor);
  int PopupPanelSize();
  void DrawScrollBarBackground(TcxCustomCanvas* ACanvas, const TRect& R, bool AHorizontal);
  void DrawScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                         TcxButtonState AState);
  int ScrollBarMinimalThumbSize(bool AVertical);
  TSize SizeGripSize();
  TSize SliderButtonSize(TcxArrowDirection ADirection);
  void DrawSliderButton(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                        TcxButtonState AState);
  TSize SmallCloseButtonSize();
  void DrawSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  // The grip turned into ACorner over ABackgroundColor (clNone: what lies
  // beneath).
  virtual void DrawScaledSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor,
                                  TColor ABackgroundColor = clDefault, TdxCorner ACorner = coBottomRight);
  // The system's scroll-bar widths at AScaleFactor's DPI.
  virtual TSize ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor);
  void DrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor = clDefault,
                    TdxCorner ACorner = coBottomRight);

  // Grid-like views, layout and explorer records, the scheduler, the
  // clock, the data and date navigators and the zoom buttons
  // (cxLookAndFeelPainters_GridViews.cpp). Frames drawn "excluded" leave
  // the clip region once drawn, so that the fill after them keeps off; the
  // exclusion outlives the call.
  virtual TColor GridLikeControlBackgroundColor();
  virtual TColor GridLikeControlContentColor();
  virtual TColor GridLikeControlContentEvenColor();
  virtual TColor GridLikeControlContentOddColor();
  virtual TColor GridLikeControlContentTextColor();
  // True when the content, odd and even colours are not all one.
  virtual bool GridLikeControlDefaultUseOddEvenStyle();
  virtual TColor PivotGridHeadersAreaColor();
  virtual TColor PivotGridHeadersAreaTextColor();
  virtual TRect LayoutViewGetPadding(TcxLayoutElement AElement);
  virtual TRect LayoutViewGetSpacing(TcxLayoutElement AElement);
  // Hot: an excluded shadow frame, then the hot fill; ABorders is not used.
  virtual void LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                  TcxBorders ABorders);
  // An excluded one-pixel frame on ABorders, the selection colour while hot.
  virtual void LayoutViewDrawRecordBorder(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                          TcxBorders ABorders);
  // The record border all round, then AColor (clDefault without a bitmap:
  // the state's caption colour); a bitmap draws transparent.
  virtual void LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
                                           TcxGroupBoxCaptionPosition APosition, TcxButtonState AState,
                                           TColor AColor = clDefault, TBitmap* ABitmap = nullptr);
  virtual void LayoutViewDrawRecordContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                           TcxGroupBoxCaptionPosition ACaptionPosition, TcxButtonState AState,
                                           TcxBorders ABorders = cxBordersAll());
  virtual void LayoutViewDrawScaledRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                                      TcxButtonState AState, bool AExpanded,
                                                      const TdxScaleFactor* AScaleFactor);
  virtual int LayoutViewRecordCaptionTailSize(TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual bool LayoutViewRecordCaptionTextBold();
  virtual TColor WinExplorerViewDefaultRecordColor(TcxButtonState AState);
  // Hot, pressed and disabled records get an excluded shadow frame first.
  virtual void WinExplorerViewDrawRecord(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                         TColor AColor = clDefault, TBitmap* ABitmap = nullptr);
  virtual void WinExplorerViewDrawGroup(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                        TColor AColor = clDefault, TBitmap* ABitmap = nullptr);
  virtual void WinExplorerViewDrawGroupCaptionLine(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual void WinExplorerViewDrawScaledRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                                           TcxButtonState AState, bool AExpanded,
                                                           const TdxScaleFactor* AScaleFactor);
  virtual int WinExplorerViewScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual int WinExplorerViewGroupCaptionLineHeight();
  virtual TColor WinExplorerViewRecordTextColor(TcxButtonState AState);
  virtual TColor WinExplorerViewGroupTextColor(TcxButtonState AState);
  virtual bool WinExplorerViewGroupTextBold();
  virtual int ChartToolBoxDataLevelInfoBorderSize();
  void LayoutViewDrawRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                        bool AExpanded);
  void WinExplorerViewDrawRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                             bool AExpanded);
  int WinExplorerViewExpandButtonSize();
  // Scheduler. The navigation buttons sit at the edge of a view: ABounds
  // comes back fitted to the arrow (collapsed or without text) or grown to
  // the longer of the two texts.
  virtual void CalculateSchedulerNavigationButtonRects(bool AIsNextButton, bool ACollapsed,
                                                       const TSize& APrevButtonTextSize,
                                                       const TSize& ANextButtonTextSize, TRect& ABounds,
                                                       TRect& ATextRect, TRect& AArrowRect,
                                                       const TdxScaleFactor* AScaleFactor, bool AIsVertical);
  virtual void DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R);
  // A frame in grey around ABounds (filled with AViewParams unless
  // transparent), then AProgress in navy.
  virtual void DrawSchedulerScaledEventProgress(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AProgress,
                                                const TcxViewParams& AViewParams, bool ATransparent,
                                                const TdxScaleFactor* AScaleFactor);
  // A tab pointing down: six points with a black outline.
  virtual void DrawSchedulerGroup(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  virtual void DrawSchedulerScaledGroupSeparator(TcxCanvas* ACanvas, const TRect& ABounds,
                                                 TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor,
                                                 const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  // A grey diamond in the centred square of even side.
  virtual void DrawSchedulerMilestone(TcxCanvas* ACanvas, const TRect& R);
  // The content, then AText in ATextRect (turned a quarter when vertical).
  virtual void DrawSchedulerNavigationButton(TcxCanvas* ACanvas, const TRect& ARect, bool AIsNextButton,
                                             TcxButtonState AState, const String& AText, const TRect& ATextRect,
                                             const TRect& AArrowRect, bool AIsVertical);
  // A chevron of two-pixel bars stepping toward the tip, closed by a
  // one-pixel line at the tip's side.
  virtual void DrawSchedulerNavigationButtonArrow(TcxCanvas* ACanvas, const TRect& ARect, bool AIsNextButton,
                                                  TColor AColor, bool AForVertical);
  virtual void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                  const TdxScaleFactor* AScaleFactor);
  virtual void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                           bool AIsHorizontal);
  virtual void DrawSchedulerTaskExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                             const TdxScaleFactor* AScaleFactor);
  virtual TRect SchedulerEventProgressOffsets();
  virtual TColor SchedulerNavigationButtonTextColor(bool AIsNextButton, TcxButtonState AState,
                                                    TColor ADefaultColor);
  virtual void SchedulerNavigationButtonSizes(bool AIsNextButton, TRect& ABorders, TSize& AArrowSize,
                                              bool& AHasTextArea, const TdxScaleFactor* AScaleFactor,
                                              bool AIsVertical);
  virtual TSize SchedulerTaskExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  // A normal header with AText in AViewParams, then the arrows asked for.
  virtual void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                                     TcxNeighbors ANeighbors, const TcxViewParams& AViewParams,
                                     TcxArrowDirections AArrows, int ASideWidth, const TdxScaleFactor* AScaleFactor,
                                     const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  void DrawMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
                       const TcxViewParams& AViewParams, TcxArrowDirections AArrows, int ASideWidth,
                       const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  void DrawSchedulerEventProgress(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AProgress,
                                  const TcxViewParams& AViewParams, bool ATransparent);
  void DrawSchedulerGroupSeparator(TcxCanvas* ACanvas, const TRect& ABounds, TColor ABackgroundColor,
                                   const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  void DrawSchedulerNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  // The analogue clock: hour marks (left excluded from the clip region so
  // that the caller's later fills keep off them too), the background, the
  // filled hour and minute hands and the red second hand.
  virtual TSize ScaledClockSize(const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                               TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor);
  TSize ClockSize();
  void DrawClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor);
  // The data navigator.
  virtual void DrawNavigatorBorder(TcxCanvas* ACanvas, const TRect& R, bool ASelected);
  virtual void DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                         TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor);
  // AViewParams when its colour is valid or it has a bitmap, else the
  // details-site colour.
  virtual void DrawNavigatorInfoPanel(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams);
  virtual bool NavigatorBorderOverlap();
  virtual int NavigatorBorderSize();
  virtual IPtr<IdxColorPalette> NavigatorButtonColorPalette(bool AEnabled);
  virtual TRect NavigatorScaledButtonGlyphPadding(const TdxScaleFactor* AScaleFactor);
  virtual TSize NavigatorScaledButtonGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual TPoint NavigatorButtonPressedGlyphOffset();
  virtual TColor NavigatorButtonTextColor(TcxButtonState AState);
  virtual TSize NavigatorScaledButtonMinSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect NavigatorInfoPanelContentOffsets();
  virtual TColor NavigatorInfoPanelTextColor();
  void DrawNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor ABackgroundColor);
  TRect NavigatorButtonGlyphPadding();
  TSize NavigatorButtonGlyphSize();
  TSize NavigatorButtonMinSize();
  // The date navigator.
  virtual void DrawDateNavigatorCellSelection(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  // The header fill and a raised inner edge; R comes back inside the edge.
  virtual void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R);
  virtual void DrawDateNavigatorTodayCellSelection(TcxCanvas* ACanvas, const TRect& R);
  // The today frame for a marked cell; nothing otherwise.
  virtual void DrawCalendarDateCellSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                             TcxCalendarElementStates AStates);
  // Zoom buttons: the button face with a minus, or a plus, 3 scaled pixels
  // short of the edges.
  virtual void DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                       const TdxScaleFactor* AScaleFactor);
  virtual TSize GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual TSize GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor);
  void DrawZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  TSize GetZoomInButtonSize();
  TSize GetZoomOutButtonSize();

  // Track bars and splitters (cxLookAndFeelPainters_TrackBars.cpp). A
  // vertical track bar's thumb is the horizontal one with x and y
  // exchanged, so that tbtaDown points right and tbtaUp left.
  virtual void CorrectThumbRect(TcxCanvas* ACanvas, TRect& ARect, bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                                const TdxScaleFactor* AScaleFactor);
  virtual void DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect& ASelection,
                                       bool AShowSelection, bool AEnabled, bool AHorizontal, TColor ATrackColor,
                                       const TdxScaleFactor* AScaleFactor);
  virtual void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect);
  // The body in AThumbColor, pointing toward one-sided ticks; its outlines
  // go to DrawTrackBarThumbBorderUpDown, a two-sided thumb's rectangle to
  // DrawTrackBarThumbBorderBoth.
  virtual void DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                       bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                       const TdxScaleFactor* AScaleFactor);
  // Nothing in the base.
  virtual void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                             std::span<const TPoint> AShadowPolyLine,
                                             std::span<const TPoint> ADarkPolyLine);
  virtual void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect);
  virtual TSize TrackBarScaledThumbSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor);
  virtual int TrackBarScaledTrackSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor TrackBarTicksColor(bool AText);
  void DrawTrackBarTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect& ASelection, bool AShowSelection,
                         bool AEnabled, bool AHorizontal, TColor ATrackColor);
  void DrawTrackBarThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                         TcxTrackBarTicksAlign ATicks, TColor AThumbColor);
  TSize TrackBarThumbSize(bool AHorizontal);
  int TrackBarTrackSize();
  // A range track bar's two thumbs: each half of a one-sided thumb, cut
  // along its tip, in AThumbColor within GetRangeThumbRect of ARect; the
  // outlines go to DrawTrackBarThumbBorderUpDown as for the whole thumb.
  virtual void DrawRangeTrackBarScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                                bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                                const TdxScaleFactor* AScaleFactor);
  virtual void DrawRangeTrackBarScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                                 bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual TSize RangeTrackBarScaledLeftThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual TSize RangeTrackBarScaledRightThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                                                  const TdxScaleFactor* AScaleFactor);
  void DrawRangeTrackBarLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                                  TcxTrackBarTicksAlign ATicks, TColor AThumbColor);
  void DrawRangeTrackBarRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                                   TcxTrackBarTicksAlign ATicks, TColor AThumbColor);
  TSize RangeTrackBarLeftThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks);
  TSize RangeTrackBarRightThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks);
  // Splitters: a one-pixel line along the middle (and a light one beside it
  // when the splitter is thick enough) broken by three dashes in the
  // middle, or by a gap for the close mark.
  virtual TColor GetSplitterInnerColor(bool AHighlighted);
  virtual TColor GetSplitterOuterColor(bool AHighlighted);
  virtual TSize GetScaledSplitterSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked,
                                  bool AHorizontal, const TdxScaleFactor* AScaleFactor, bool AHasCloseMark = false,
                                  TcxArrowDirection AArrowDirection = adLeft);
  // Whether the splitter is more than one pixel thick across.
  bool HasSplitterInnerLine(bool AHorizontal, const TdxScaleFactor* AScaleFactor);
  // A chevron of short lines pointing AArrowDirection at ARect's centre,
  // in the plain outer colour whatever the state.
  void DrawSplitterCloseMark(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked,
                             bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                             TcxArrowDirection AArrowDirection);
  void DrawSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked, bool AHorizontal,
                    bool AHasCloseMark = false, TcxArrowDirection AArrowDirection = adLeft);
  TSize GetSplitterSize(bool AHorizontal);
  // The splitter between two scroll bars: a navigator button with its
  // border, and a vertical splitter two pixels inside.
  virtual void DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);

  // Gantt charts, list and tree views and gauges
  // (cxLookAndFeelPainters_DataViews.cpp). Gantt bars are translucent:
  // their colours fill at alpha 128 over what lies beneath.
  virtual TColor DefaultGanttCurrentDateGridLineColor();
  // The content text colour at 80 %.
  virtual TColor DefaultGanttProjectStartGridLineColor();
  virtual TColor DefaultGanttProjectFinishGridLineColor();
  virtual void DrawGanttTask(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  virtual void DoDrawGanttTaskProgress(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  // A bracket: a top bar 3 scaled pixels high and legs of that width below
  // it at both ends.
  virtual void DrawGanttSummaryTask(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                    TColor AColor);
  virtual void DoDrawGanttSummaryTaskProgress(TcxCanvas* ACanvas, const TRect& R,
                                              const TdxScaleFactor* AScaleFactor, TColor AColor);
  virtual void DrawGanttBaselineTask(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  // The bracket upside down.
  virtual void DrawGanttBaselineSummaryTask(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                            TColor AColor);
  // The scheduler's diamond in the milestone size, centred in R: filled, or
  // only outlined for a baseline.
  virtual void DrawGanttMilestone(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                  TColor AColor);
  virtual void DrawGanttBaselineMilestone(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                          TColor AColor);
  virtual void DrawGanttDependencyEditPoint(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                            bool AIsLeft);
  virtual void DrawGanttFocusedRow(TcxCanvas* ACanvas, const TRect& R, bool AIsActive);
  virtual void DrawGanttTaskTextLabel(TcxCanvas* ACanvas, const TRect& R);
  virtual TSize GetGanttDependencyEditPointSize(bool AIsLeft);
  virtual TSize GetGanttBaselineMilestoneSize();
  virtual TSize GetGanttMilestoneSize();
  virtual int GetGanttBaselineSummaryTaskHeight();
  virtual int GetGanttBaselineTaskHeight();
  virtual int GetGanttSummaryTaskHeight();
  virtual int GetGanttTaskHeight();
  virtual int GetGanttTaskTextLabelHeight();
  virtual int GetGanttTaskTextLabelOffset();
  virtual TColor GetGanttMilestoneColor();
  virtual TColor GetGanttSummaryTaskColor();
  virtual TColor GetGanttTaskColor(bool AManualSchedule);
  virtual bool GetGanttTaskTextLabelTextBold();
  virtual TColor GetGanttTaskTextLabelTextColor();
  // The progress over the whole task, clipped to AProgressRect.
  void DrawGanttTaskProgress(TcxCanvas* ACanvas, const TRect& ATaskRect, const TRect& AProgressRect, TColor AColor);
  void DrawGanttSummaryTaskProgress(TcxCanvas* ACanvas, const TRect& ATaskRect, const TRect& AProgressRect,
                                    const TdxScaleFactor* AScaleFactor, TColor AColor);
  // List and tree views.
  virtual void DrawListViewBackground(TcxCanvas* ACanvas, const TRect& ABounds, bool AExplorerStyle, bool AEnabled);
  // Hot items a pale blue (outlined when also selected), selected ones the
  // selection or inactive colour; a focused, active item's focus mark.
  virtual void DrawListViewItemBackground(TcxCanvas* ACanvas, const TRect& ABounds, TdxListViewItemStates AState,
                                          bool AExplorerStyle);
  virtual void DrawListViewCheckButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                       bool AChecked, const TdxScaleFactor* AScaleFactor);
  virtual void DrawListViewSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                       const TdxScaleFactor* AScaleFactor);
  virtual void DrawListViewGroupExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                             bool AExpanded, bool AExplorerStyle,
                                             const TdxScaleFactor* AScaleFactor);
  virtual void DrawListViewGroupHeaderBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                                 TdxListViewGroupHeaderStates AState, bool AExplorerStyle,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual void DrawListViewGroupHeaderLine(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual IPtr<IdxColorPalette> GetListViewColumnHeaderColorPalette(TcxButtonState AState, bool AExplorerStyle);
  virtual IPtr<IdxColorPalette> GetListViewGroupHeaderColorPalette(TdxListViewGroupHeaderStates AState,
                                                                   bool AExplorerStyle);
  virtual IPtr<IdxColorPalette> GetListViewItemColorPalette(TdxListViewItemStates AState, bool AExplorerStyle);
  virtual TRect GetListViewColumnHeaderContentOffsets(bool AExplorerStyle, const TdxScaleFactor* AScaleFactor);
  virtual TSize GetListViewColumnHeaderSortingMarkSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor GetListViewColumnHeaderTextColor(TcxButtonState AState, bool AExplorerStyle);
  virtual int GetListViewExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor GetListViewGroupTextColor(TdxListViewGroupTextKind AKind, TdxListViewGroupHeaderStates AState,
                                           bool AExplorerStyle);
  virtual TRect GetListViewItemContentPadding();
  virtual TColor GetListViewItemTextColor(TdxListViewItemStates AState, bool AExplorerStyle);
  virtual void DrawTreeViewNodeBackground(TcxCanvas* ACanvas, const TRect& ABounds, TdxTreeViewNodeStates AState);
  virtual TColor GetTreeViewBackgroundColor(bool AEnabled);
  virtual IPtr<IdxColorPalette> GetTreeViewNodeColorPalette(TdxTreeViewNodeStates AState);
  virtual TColor GetTreeViewNodeTextColor(TdxTreeViewNodeStates AState);
  // The sorting triangle's six points as five separate segments: right
  // edge light, left edge dark, the base light when ascending.
  void DrawListViewSortingTriangle(TcxCanvas* ACanvas, const TRect& R, TColor ADarkColor, TColor ALightColor,
                                   bool AAscending, const TdxScaleFactor* AScaleFactor);
  // Gauges.
  virtual TColor GaugeControlBackgroundColor();
  virtual void DrawGaugeControlBackground(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent,
                                          TColor ABackgroundColor);

  // The layout control, scroll boxes, print preview and the grid's message
  // box (cxLookAndFeelPainters_LayoutAndPreview.cpp).
  virtual TColor LayoutControlEmptyAreaColor();
  virtual void DrawLayoutControlBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawScrollBoxBackground(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  virtual TColor GetCustomizationFormListBackgroundColor();
  virtual TColor PrintPreviewBackgroundTextColor();
  // Unscaled: the page's frame and shadow stay thin at every DPI.
  virtual TRect PrintPreviewPageBordersScaledWidth(const TdxScaleFactor* AScaleFactor);
  virtual void DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas, const TRect& R,
                                                const TdxScaleFactor* AScaleFactor);
  // The content (when asked), a frame around it (the highlight when
  // selected) and the page's shadow two pixels down and right; the clip
  // region comes back as it was.
  virtual void DrawPrintPreviewPageScaledBackground(TcxCanvas* ACanvas, const TRect& ABorderRect,
                                                    const TRect& AContentRect, bool ASelected, bool ADrawContent,
                                                    const TdxScaleFactor* AScaleFactor);
  // An excluded grid-line frame, the fill (clNone: the group colour) and
  // AMessage centred on one line in AFont when given.
  virtual void DrawMessageBox(TcxCanvas* ACanvas, const TRect& ABounds, const String& AMessage,
                              TFont* AFont = nullptr, TColor AColor = clNone);
  TRect PrintPreviewPageBordersWidth();
  void DrawPrintPreviewBackground(TcxCanvas* ACanvas, const TRect& R);
  void DrawPrintPreviewPageBackground(TcxCanvas* ACanvas, const TRect& ABorderRect, const TRect& AContentRect,
                                      bool ASelected, bool ADrawContent);
  // The calculator's button text colours and the layout control's glyph
  // palettes (nil: no recolouring).
  virtual TColor CalcEditButtonTextColor(TcxCalcButtonKind AButtonKind);
  virtual IPtr<IdxColorPalette> LayoutControlGetColorPaletteForGroupButton(TcxButtonState AState);
  virtual IPtr<IdxColorPalette> LayoutControlGetColorPaletteForItemCaption();
  virtual IPtr<IdxColorPalette> LayoutControlGetColorPaletteForTabbedGroupCaption(bool ASelected);

  // Data-row layouts, the scheduler's day header and the navigator's
  // button glyph (cxLookAndFeelPainters_GridViews.cpp).
  virtual TColor DefaultDataRowLayoutContentTextColor(TcxButtonState AState);
  // A layout-view item without borders.
  virtual void DrawDataRowLayoutItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState);
  // Clipped to ABounds: the background inside the content offsets.
  void DrawDataRowLayoutContent(TcxCanvas* ACanvas, const TRect& ABounds);
  // Clipped to ABounds: the item inside the state's selection borders.
  void DrawDataRowLayoutSelection(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState);
  // The caller's background alone: the base draws no day header itself.
  virtual void DrawSchedulerDayHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                      TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                      TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                      bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                      TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                                      const TcxDrawBackgroundEvent& AOnDrawBackground = {});
  // The image-list item through a buffer, recoloured by
  // NavigatorButtonColorPalette and greyed when disabled.
  virtual void DrawNavigatorScaledButtonGlyph(TcxCanvas* ACanvas, TCustomImageList* AImageList, int AImageIndex,
                                              const TRect& AGlyphRect, bool AEnabled, bool AUserGlyphs,
                                              const TdxScaleFactor* AScaleFactor);
  void DrawNavigatorButtonGlyph(TcxCanvas* ACanvas, TCustomImageList* AImageList, int AImageIndex,
                                const TRect& AGlyphRect, bool AEnabled, bool AUserGlyphs);

  // The range control (cxLookAndFeelPainters_TrackBars.cpp), drawn
  // antialiased through GDI+; alpha colours carry their alpha in the top
  // byte, the default-colour marker lets the painter choose.
  // A framed rectangle with three vertical grip lines in the middle.
  virtual void DrawRangeControlScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                               TdxAlphaColor ABorderColor, const TdxScaleFactor* AScaleFactor);
  virtual void DrawRangeControlScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                                TdxAlphaColor ABorderColor, const TdxScaleFactor* AScaleFactor);
  // The fill, then the left and bottom edges in ABorderColor.
  virtual void DrawRangeControlScaledRulerHeader(TcxCanvas* ACanvas, const TRect& ARect, bool AIsHot,
                                                 TdxAlphaColor AColor, TdxAlphaColor ABorderColor,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual void DrawRangeControlScaledSizingGlyph(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor ABorderColor,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual TColor GetRangeControlBackColor();
  virtual TColor GetRangeControlBorderColor();
  virtual TColor GetRangeControlDefaultElementColor();
  virtual TColor GetRangeControlElementForeColor();
  virtual TdxAlphaColor GetRangeControlElementsBorderColor();
  virtual TColor GetRangeControlLabelColor();
  virtual TdxAlphaColor GetRangeControlOutOfRangeColor();
  virtual TColor GetRangeControlRangePreviewColor();
  virtual TdxAlphaColor GetRangeControlRulerColor();
  virtual TColor GetRangeControlScrollAreaColor();
  virtual TdxAlphaColor GetRangeControlSelectedRegionBackgroundColor();
  virtual TdxAlphaColor GetRangeControlSelectedRegionBorderColor();
  virtual TColor GetRangeControlViewPortPreviewColor();
  virtual int GetRangeControlScaledScrollAreaHeight(const TdxScaleFactor* AScaleFactor);
  virtual TSize GetRangeControlScaledSizingGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual TSize GetRangeControlScaledThumbSize(const TdxScaleFactor* AScaleFactor);
  void DrawRangeControlLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                 TdxAlphaColor ABorderColor);
  void DrawRangeControlRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                  TdxAlphaColor ABorderColor);
  void DrawRangeControlRulerHeader(TcxCanvas* ACanvas, const TRect& ARect, bool AIsHot, TdxAlphaColor AColor,
                                   TdxAlphaColor ABorderColor);
  void DrawRangeControlSizingGlyph(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor ABorderColor);
  int GetRangeControlScrollAreaHeight();
  TSize GetRangeControlSizingGlyphSize();
  TSize GetRangeControlThumbSize();

  // The breadcrumb editor and the alert window
  // (cxLookAndFeelPainters_BreadcrumbsAndAlerts.cpp). Breadcrumb buttons
  // draw as plain buttons in the matching button state: normal and focused
  // normal, hot hot, pressed pressed, disabled disabled.
  virtual TColor BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState AState);
  virtual TRect BreadcrumbEditBordersSize();
  virtual IPtr<IdxColorPalette> BreadcrumbEditButtonColorPalette(TdxBreadcrumbEditButtonState AState);
  virtual bool BreadcrumbEditIsFadingSupports();
  virtual TColor BreadcrumbEditNodeTextColor(TdxBreadcrumbEditButtonState AState);
  virtual TColor BreadcrumbEditProgressChunkTextColor();
  virtual int BreadcrumbEditScaledButtonAreaSeparatorSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect BreadcrumbEditScaledButtonContentOffsets(bool AIsFirst, bool AIsLast,
                                                         const TdxScaleFactor* AScaleFactor);
  // The system's scroll-bar arrow width at the factor's DPI.
  virtual int BreadcrumbEditScaledDropDownButtonWidth(const TdxScaleFactor* AScaleFactor);
  virtual int BreadcrumbEditScaledNodeDelimiterSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect BreadcrumbEditScaledNodeTextOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TSize BreadcrumbEditScaledProgressChunkOverlaySize(const TdxScaleFactor* AScaleFactor);
  virtual TRect BreadcrumbEditScaledProgressChunkPadding(const TdxScaleFactor* AScaleFactor);
  // A sunken one-pixel frame on ABorders.
  virtual void DrawBreadcrumbEditBorders(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxBorders ABorders,
                                         TdxBreadcrumbEditState AState);
  // Only focused, hot and pressed buttons show.
  virtual void DrawBreadcrumbEditScaledButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                              TdxBreadcrumbEditButtonState AState, bool AIsFirst, bool AIsLast,
                                              const TdxScaleFactor* AScaleFactor);
  virtual void DrawBreadcrumbEditScaledButtonAreaSeparator(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                                           TdxBreadcrumbEditState AState,
                                                           const TdxScaleFactor* AScaleFactor);
  virtual void DrawBreadcrumbEditScaledDropDownButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                                      TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
                                                      const TdxScaleFactor* AScaleFactor);
  virtual void DrawBreadcrumbEditScaledDropDownButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
                                                           const TdxScaleFactor* AScaleFactor);
  virtual void DrawBreadcrumbEditScaledNode(TcxCustomCanvas* ACanvas, const TRect& R,
                                            TdxBreadcrumbEditButtonState AState, bool AHasDelimiter,
                                            const TdxScaleFactor* AScaleFactor);
  virtual void DrawBreadcrumbEditScaledNodeDelimiter(TcxCustomCanvas* ACanvas, const TRect& R,
                                                     TdxBreadcrumbEditButtonState AState,
                                                     const TdxScaleFactor* AScaleFactor);
  // A down arrow, in the node text colour for clDefault.
  virtual void DrawBreadcrumbEditScaledNodeDelimiterGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                                          TdxBreadcrumbEditButtonState AState,
                                                          const TdxScaleFactor* AScaleFactor,
                                                          TColor AColor = clDefault);
  virtual void DrawBreadcrumbEditScaledNodeMoreButtonGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                                           TdxBreadcrumbEditButtonState AState,
                                                           const TdxScaleFactor* AScaleFactor,
                                                           TColor AColor = clDefault);
  virtual void DrawBreadcrumbEditScaledProgressChunk(TcxCustomCanvas* ACanvas, const TRect& R,
                                                     const TdxScaleFactor* AScaleFactor);
  virtual void DrawBreadcrumbEditScaledProgressChunkOverlay(TcxCustomCanvas* ACanvas, const TRect& R,
                                                            const TdxScaleFactor* AScaleFactor);
  int BreadcrumbEditButtonAreaSeparatorSize();
  TRect BreadcrumbEditButtonContentOffsets(bool AIsFirst, bool AIsLast);
  int BreadcrumbEditDropDownButtonWidth();
  int BreadcrumbEditNodeDelimiterSize();
  TRect BreadcrumbEditNodeTextOffsets();
  TRect BreadcrumbEditProgressChunkPadding();
  TSize BreadcrumbEditProgressChunkOverlaySize();
  void DrawBreadcrumbEditButtonAreaSeparator(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                             TdxBreadcrumbEditState AState);
  void DrawBreadcrumbEditButton(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState,
                                bool AIsFirst, bool AIsLast);
  void DrawBreadcrumbEditDropDownButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                        TdxBreadcrumbEditButtonState AState, bool AIsInEditor);
  void DrawBreadcrumbEditDropDownButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                             TdxBreadcrumbEditButtonState AState, bool AIsInEditor);
  void DrawBreadcrumbEditNode(TcxCustomCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
                              bool AHasDelimiter);
  void DrawBreadcrumbEditNodeDelimiter(TcxCustomCanvas* ACanvas, const TRect& R,
                                       TdxBreadcrumbEditButtonState AState);
  void DrawBreadcrumbEditNodeDelimiterGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                            TdxBreadcrumbEditButtonState AState, TColor AColor = clDefault);
  void DrawBreadcrumbEditNodeMoreButtonGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                             TdxBreadcrumbEditButtonState AState, TColor AColor = clDefault);
  void DrawBreadcrumbEditProgressChunk(TcxCustomCanvas* ACanvas, const TRect& R);
  void DrawBreadcrumbEditProgressChunkOverlay(TcxCustomCanvas* ACanvas, const TRect& R);
  // The alert window.
  virtual IPtr<IdxColorPalette> AlertWindowButtonGetColorPalette(TcxButtonState AState);
  virtual int AlertWindowCornerRadius();
  virtual TColor AlertWindowTextColor();
  virtual TColor AlertWindowNavigationPanelTextColor();
  virtual TRect AlertWindowScaledButtonContentOffsets(TdxAlertWindowButtonKind AKind,
                                                      const TdxScaleFactor* AScaleFactor);
  // None for a custom button.
  virtual TSize AlertWindowScaledButtonGlyphSize(TdxAlertWindowButtonKind AKind, const TdxScaleFactor* AScaleFactor);
  virtual TRect AlertWindowScaledContentOffsets(const TdxScaleFactor* AScaleFactor);
  // The button face, then outlined with the canvas's own pen and brush as a
  // rectangle rounded by AlertWindowCornerRadius.
  virtual void DrawAlertWindowBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                         const TdxScaleFactor* AScaleFactor);
  virtual void DrawAlertWindowNavigationPanel(TcxCanvas* ACanvas, const TRect& ABounds);
  // A button with the kind's glyph; ADown draws it pressed (and the pin
  // pinned).
  virtual void DrawAlertWindowScaledButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                           TdxAlertWindowButtonKind AKind, const TdxScaleFactor* AScaleFactor,
                                           bool ADown = false);
  TRect AlertWindowButtonContentOffsets(TdxAlertWindowButtonKind AKind);
  TSize AlertWindowButtonGlyphSize(TdxAlertWindowButtonKind AKind);
  TRect AlertWindowContentOffsets();
  void DrawAlertWindowButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                             TdxAlertWindowButtonKind AKind, bool ADown = false);
  // A pin of head, bar and needle in AColor: standing (pinned) or lying
  // with its needle to the left.
  void DrawPin(TcxCanvas* ACanvas, const TRect& ABounds, TColor AColor, bool APinned);
  // The shell's quick-access pin glyph fitted into R.
  void DrawShellQuickAccessPin(TcxCanvas* ACanvas, const TRect& R, TcxImageFitMode AImageFitMode,
                               IdxColorPalette* APalette = nullptr);

  // Maps, the office navigation bar, the PDF viewer, spreadsheets and the
  // gantt sheet header (cxLookAndFeelPainters_DataViews.cpp).
  virtual TColor MapControlBackgroundColor();
  virtual TdxAlphaColor MapControlPanelBackColor();
  virtual TdxAlphaColor MapControlPanelHotTrackedTextColor();
  virtual TdxAlphaColor MapControlPanelPressedTextColor();
  virtual TdxAlphaColor MapControlPanelTextColor();
  virtual TdxAlphaColor MapControlMapCustomElementTextColor();
  virtual TdxAlphaColor MapControlMapCustomElementTextGlowColor();
  virtual TdxAlphaColor MapControlMapPushpinTextColor();
  virtual TdxAlphaColor MapControlMapPushpinTextGlowColor();
  virtual TdxAlphaColor MapControlSelectedRegionBackgroundColor();
  virtual TdxAlphaColor MapControlSelectedRegionBorderColor();
  virtual TdxAlphaColor MapControlShapeColor();
  virtual TdxAlphaColor MapControlShapeHighlightedColor();
  virtual TdxAlphaColor MapControlShapeSelectedColor();
  virtual TdxAlphaColor MapControlShapeBorderColor();
  virtual TdxAlphaColor MapControlShapeBorderHighlightedColor();
  virtual TdxAlphaColor MapControlShapeBorderSelectedColor();
  virtual int MapControlShapeBorderWidth(const TdxScaleFactor* AScaleFactor);
  virtual int MapControlShapeBorderHighlightedWidth(const TdxScaleFactor* AScaleFactor);
  virtual int MapControlShapeBorderSelectedWidth(const TdxScaleFactor* AScaleFactor);
  virtual TSize MapControlGetMapPushpinSize(const TdxScaleFactor* AScaleFactor);
  virtual TPoint MapControlGetMapPushpinTextOrigin(const TdxScaleFactor* AScaleFactor);
  virtual TRect MapControlMapCustomElementSelectionOffset(const TdxScaleFactor* AScaleFactor);
  virtual void DrawMapPushpin(TcxCanvas* ACanvas, const TRect& ARect, TdxMapControlElementState AState,
                              const TdxScaleFactor* AScaleFactor);
  // An antialiased translucent rounded rectangle one pixel inside ARect,
  // by state; transparent unless hot, pressed or selected.
  virtual void DrawMapCustomElementBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                              TdxMapControlElementState AState);
  // The office navigation bar.
  virtual void OfficeNavigationBarDrawBackground(TcxCanvas* ACanvas, const TRect& ARect);
  virtual void OfficeNavigationBarDrawScaledButtonItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                                 TcxCalendarElementState AState,
                                                                 const TdxScaleFactor* AScaleFactor);
  // The customization glyph stretched into ARect; any colour but the
  // default marker recolours it (its alpha scaling the glyph's).
  virtual void OfficeNavigationBarDrawScaledCustomizationButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                                TcxCalendarElementState AState,
                                                                const TdxScaleFactor* AScaleFactor,
                                                                TdxAlphaColor AColor = TdxAlphaColors::Default);
  virtual void OfficeNavigationBarDrawScaledItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TcxCalendarElementState AState,
                                                           const TdxScaleFactor* AScaleFactor);
  virtual void OfficeNavigationBarDrawScaledImageSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TcxCalendarElementState AState,
                                                           const TdxScaleFactor* AScaleFactor);
  virtual TColor OfficeNavigationBarButtonItemTextColor(TcxCalendarElementState AState);
  virtual TColor OfficeNavigationBarItemTextColor(TcxCalendarElementState AState);
  virtual TRect OfficeNavigationBarScaledButtonItemContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual int OfficeNavigationBarScaledButtonItemFontSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect OfficeNavigationBarScaledContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TSize OfficeNavigationBarScaledCustomizationButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect OfficeNavigationBarScaledItemContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual int OfficeNavigationBarScaledItemFontSize(const TdxScaleFactor* AScaleFactor);
  void OfficeNavigationBarDrawCustomizationButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                  TcxCalendarElementState AState);
  void OfficeNavigationBarDrawImageSelection(TcxCanvas* ACanvas, const TRect& ARect, TcxCalendarElementState AState);
  void OfficeNavigationBarButtonItemDrawBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                   TcxCalendarElementState AState);
  void OfficeNavigationBarItemDrawBackground(TcxCanvas* ACanvas, const TRect& ARect, TcxCalendarElementState AState);
  TRect OfficeNavigationBarContentOffsets();
  TSize OfficeNavigationBarCustomizationButtonSize();
  TRect OfficeNavigationBarButtonItemContentOffsets();
  int OfficeNavigationBarButtonItemFontSize();
  TRect OfficeNavigationBarItemContentOffsets();
  int OfficeNavigationBarItemFontSize();
  // The PDF viewer.
  virtual IPtr<IdxColorPalette> PDFViewerNavigationPaneButtonColorPalette(TcxButtonState AState);
  virtual TRect PDFViewerNavigationPaneButtonContentOffsets(const TdxScaleFactor* AScaleFactor);
  // How far a selected or pressed pane button reaches out of its place.
  virtual TPoint PDFViewerNavigationPaneButtonOverlay(const TdxScaleFactor* AScaleFactor);
  virtual TSize PDFViewerNavigationPaneButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual TRect PDFViewerNavigationPaneContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TRect PDFViewerNavigationPanePageCaptionContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TColor PDFViewerNavigationPanePageCaptionTextColor();
  virtual TRect PDFViewerNavigationPanePageContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TRect PDFViewerNavigationPanePageToolbarContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TColor PDFViewerSelectionColor();
  // The border, then the control colour inside it on ABorders.
  virtual void PDFViewerDrawFindPanelBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders);
  virtual void PDFViewerDrawNavigationPaneBackground(TcxCanvas* ACanvas, const TRect& R,
                                                     const TdxScaleFactor* AScaleFactor);
  virtual void PDFViewerDrawNavigationPaneButton(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                                 const TdxScaleFactor* AScaleFactor, bool AMinimized, bool ASelected,
                                                 bool AIsFirst);
  virtual void PDFViewerDrawNavigationPanePageBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void PDFViewerDrawNavigationPanePageButton(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                                     const TdxScaleFactor* AScaleFactor);
  virtual void PDFViewerDrawNavigationPanePageCaptionBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void PDFViewerDrawNavigationPanePageToolbarBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void PDFViewerDrawPageThumbnailPreviewBackground(TcxCanvas* ACanvas, const TRect& R,
                                                           const TdxScaleFactor* AScaleFactor);
  // ARect grown by the button overlay when selected or pressed.
  TRect PDFViewerNavigationPaneButtonRect(const TRect& ARect, TcxButtonState AState, bool ASelected,
                                          const TdxScaleFactor* AScaleFactor);
  // Spreadsheets.
  // The header border, then its content in the state's colour.
  virtual void DrawSpreadSheetScaledHeader(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                                           TcxBorders ABorders, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);
  virtual void DrawSpreadSheetScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                      const TdxScaleFactor* AScaleFactor);
  // Item 8 (expanded) or 6 (collapsed) of ADefaultGlyphs, centred in R.
  virtual void DrawSpreadSheetScaledGroupExpandButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                           bool AExpanded, const TdxScaleFactor* AScaleFactor,
                                                           TCustomImageList* ADefaultGlyphs);
  virtual TColor SpreadSheetContentColor();
  virtual TColor SpreadSheetContentTextColor();
  virtual TColor SpreadSheetFrozenPaneSeparatorColor();
  virtual TColor SpreadSheetGroupExpandButtonTextColor(TcxButtonState AState);
  virtual TColor SpreadSheetGroupLineColor();
  virtual TColor SpreadSheetSelectionColor();
  virtual TRect SpreadSheetScaledGroupExpandButtonContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TSize SpreadSheetScaledGroupExpandButtonGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual TSize SpreadSheetScaledGroupLevelMarkSize(const TdxScaleFactor* AScaleFactor);
  // The vertical scroll bar's line-up part when expanded, line-down when not.
  virtual void DrawSpreadSheetFormulaBarScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                           bool AExpanded, const TdxScaleFactor* AScaleFactor);
  virtual void DrawSpreadSheetFormulaBarScaledSeparator(TcxCanvas* ACanvas, const TRect& R,
                                                        const TdxScaleFactor* AScaleFactor);
  virtual int SpreadSheetFormulaBarGetScaledSeparatorSize(const TdxScaleFactor* AScaleFactor);
  void DrawSpreadSheetGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawSpreadSheetGroupExpandButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                             bool AExpanded, TCustomImageList* ADefaultGlyphs);
  TRect SpreadSheetGroupExpandButtonContentOffsets();
  TSize SpreadSheetGroupExpandButtonGlyphSize();
  TSize SpreadSheetGroupLevelMarkSize();
  // The gantt sheet's header: a spreadsheet header.
  virtual void DrawGanttSheetHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                    TcxNeighbors ANeighbors, TcxBorders ABorders,
                                    const TdxScaleFactor* AScaleFactor);

 protected:
  friend class TcxLookAndFeelPaintersManager;

  // The page parts in the halftone pattern of the state (the second while
  // pressed); every other part is the painter's own.
  virtual void DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal,
                                         const TdxScaleFactor* AScaleFactor, TcxButtonState AState,
                                         TcxScrollBarPart APart, const TRect& R);
  // A bottom-right size grip filling ARect: the system's frame control.
  virtual void DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor);
  void DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect);
  // 14 x 15 at 96 DPI.
  virtual TSize DoGetSmallCloseButtonSize();

  // A new details object (the caller owns it): name and display name
  // LookAndFeelName, the built-in styles' group, and the icons of the
  // style's PNG resources (empty when a resource is missing).
  virtual TOwned<TdxSkinDetails> CreatePainterDetails();
  // The cached details, made on the first call.
  virtual TdxSkinDetails* GetPainterDetailsObject();
  // Frees the cached images and details (they are made again on demand).
  virtual void FreeCachedResources();
  // clHotLight from Windows Vista on, clHighlightText before.
  virtual TColor HighlightedArrowColor();
  // The alpha of DefaultFixedColumnHighlightColor.
  virtual std::uint8_t FixedColumnHighlightAlpha();
  // A button's caption, centred: inside its border when AWithBorder, the
  // height made even, raised by one below 18 pixels, shifted while pressed.
  virtual void DrawButtonCaption(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                 bool AWordWrap, bool AWithBorder, TColor AColor, TcxButtonState AState,
                                 const String& AText);
  // Header and footer cells: AOnDrawBackground's background, or
  // DrawHeaderBackground's, then the text in ATextAreaBounds.
  void DoDrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                    const TcxDrawBackgroundEvent& AOnDrawBackground);
  virtual void DrawHeaderBackground(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  // Opaque: AColor; transparent: ABitmap tiled when there is one.
  virtual void FillPartBackground(TcxCanvas* ACanvas, const TRect& R, TBitmap* ABitmap, TColor AColor,
                                  bool ATransparent);
  // A scheduler navigation button's face, frames and arrow.
  virtual void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect,
                                                    bool AIsNextButton, TcxButtonState AState, bool AIsVertical);
  // A filled triangle pointing down, half R's width (made odd) across.
  virtual void DrawFilterDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  // Data-row layouts: the background in DataRowLayoutContentColor inside
  // the content offsets; a hot selection one pixel in.
  virtual void DrawDataRowLayoutBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual TColor DataRowLayoutContentColor();
  virtual TRect DataRowLayoutContentOffsets();
  virtual TRect DataRowLayoutSelectionBorders(TcxButtonState AState);
  virtual TRect FooterCellContentBounds(const TRect& R);
  virtual TRect FooterCellTextAreaBounds(const TRect& R);
  virtual TdxAlphaColor FilterControlAddButtonGlyphColor(TcxButtonState AState);
  virtual TdxAlphaColor FilterControlRemoveButtonGlyphColor(TcxButtonState AState);
  virtual TColor FilterSmartTagColor(TcxFilterSmartTagState AState, bool AHighlighted);
  // The etched line of a separator band.
  virtual void DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool AIsVertical);
  // A band ASize thick centred in R: across its width when vertical, else
  // across its height.
  TRect CalculateSeparatorBounds(const TRect& R, int ASize, bool AIsVertical);
  // The clock face picture's own size; (0, 0) without the picture.
  TSize ClockFaceSize();

 private:
  TdxSmartImage* ClearButtonGlyph();
  TdxSmartImage* SearchButtonGlyph();
  TdxSmartGlyph* PasswordRevealButtonGlyph(bool AVisible);
  // The image in AImage, loaded from the resource on first use.
  static TdxSmartImage* CachedImage(TOwned<TdxSmartImage>& AImage, const wchar_t* AResource, const wchar_t* AType);

  TOwned<TdxSmartImage> FFilterControlAddButtonGlyph;
  TOwned<TdxSmartImage> FFilterControlRemoveButtonGlyph;
  TOwned<TdxSmartImage> FFilterPanelRemoveButtonGlyph;
  TOwned<TdxSmartImage> FFindPanelNextButtonGlyph;
  TOwned<TdxSmartImage> FFindPanelPreviousButtonGlyph;
  TOwned<TdxSmartImage> FGroupByBoxSearchButtonGlyph;
  TOwned<TdxSmartImage> FSmartTagGlyph;
  TOwned<TdxSmartImage> FBackButton;
  TOwned<TdxSmartImage> FClockFace;
  TOwned<TdxSmartImage> FClockGlass;
  TOwned<TdxSmartImage> FFixedGroupIndicator;
  TOwned<TdxSmartImage> FRatingControlIndicator;
  TOwned<TdxSmartImage> FClearButtonGlyph;
  std::array<TOwned<TdxSmartGlyph>, 2> FPasswordRevealButtonGlyphs;
  TOwned<TdxSmartImage> FSearchButtonGlyph;
  TOwned<TdxSmartImage> FMapPushpin;
  TOwned<TdxSmartImage> FNavigationBarCustomizationButton;
  TOwned<TdxSmartImage> FPinGlyph;
  TOwned<TdxSkinDetails> FLookAndFeelPainterDetailsCache;
};

// ---------------------------------------------------------------------------
// The UltraFlat painter

class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TcxUltraFlatLookAndFeelPainter, TcxCustomLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;

  // Default colours
  TColor DefaultFixedSeparatorColor() override;
  TColor DefaultSchedulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerTextColor() override;

  // Borders and separators: one pixel of the button shadow.
  int BorderSize() override;
  void DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) override;

  // Buttons: one-pixel frames (two for the default button); hot and pressed
  // faces are blends of the highlight colour; the content never moves.
  int ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  TColor ButtonColor(TcxButtonState AState) override;
  void DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault,
                           TcxButtonPart APart = cxbpButton) override;
  TcxButtonState ButtonSymbolState(TcxButtonState AState) override;
  TRect ScaledButtonFocusRect(TcxCustomCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor) override;
  int ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  int ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;
  bool IsButtonHotTrack() override;

  // Group boxes and drop-down lists
  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R, bool AHasBorders) override;
  void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& R,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  TColor DropDownListBoxItemTextColor(bool ASelected) override;

  // Expand buttons, check boxes, radio buttons and the toggle switch
  void DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                              TcxExpandButtonState AState = cebsNormal) override;
  int ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  TColor RadioButtonBodyColor(TcxButtonState AState) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;
  // Bevels are one plain shadow line or frame; tokens a one-pixel frame,
  // filled only while hot, pressed or default.
  void GetBevelShapeColors(TColor& AColor1, TColor& AColor2) override;
  TSize GetBevelMinimalShapeSize(TdxBevelShape AShape) override;
  void DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AChecked,
                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  // One pixel taller than the base's.
  TPoint ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) override;
  // A framed button with the drop-down arrow, blue while the filter is on.
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive, const TdxScaleFactor* AScaleFactor) override;

  // Headers, sorting marks, footers, indicator and tabs: one-pixel lines.
  int HeaderBorderSize() override;
  TcxBorders HeaderBorders(TcxNeighbors ANeighbors) override;
  void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors, TcxBorders ABorders) override;
  void DrawScaledHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                          TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                          TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                          bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                          TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                          const TcxDrawBackgroundEvent& AOnDrawBackground = {}) override;
  void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                      TcxButtonState AState) override;
  void DrawHeaderControlSectionContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                       TcxButtonState AState, TAlignment AAlignmentHorz,
                                       TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                                       const String& AText, TFont* AFont, TColor ATextColor,
                                       TColor ABkColor) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TcxBorders FooterBorders() override;
  int FooterBorderSize() override;
  int FooterCellBorderSize() override;
  int FooterCellOffset() override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) override;
  int TabBorderSize(bool AVertical) override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) override;
  // Navigator and scheduler: one-pixel frames, the highlight while
  // selected or hot.
  void DrawNavigatorBorder(TcxCanvas* ACanvas, const TRect& R, bool ASelected) override;
  void DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor ABackgroundColor,
                                 const TdxScaleFactor* AScaleFactor) override;
  bool NavigatorBorderOverlap() override;
  int NavigatorBorderSize() override;
  void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                   bool AIsHorizontal) override;
  // Track bars and splitters: window-text frames and outlines; the
  // splitter one pixel thick, in the highlight while highlighted.
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                     std::span<const TPoint> AShadowPolyLine,
                                     std::span<const TPoint> ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
  TColor GetSplitterOuterColor(bool AHighlighted) override;
  TSize GetScaledSplitterSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor) override;
  // The print preview on the button shadow lightened by a third.
  void DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas, const TRect& R,
                                        const TdxScaleFactor* AScaleFactor) override;
  // Breadcrumbs: one-pixel frames, the highlight while focused or hot;
  // buttons framed on their inner sides only.
  int BreadcrumbEditScaledButtonAreaSeparatorSize(const TdxScaleFactor* AScaleFactor) override;
  TRect BreadcrumbEditScaledButtonContentOffsets(bool AIsFirst, bool AIsLast,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditBorders(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxBorders ABorders,
                                 TdxBreadcrumbEditState AState) override;
  void DrawBreadcrumbEditScaledButtonAreaSeparator(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                                   TdxBreadcrumbEditState AState,
                                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                      TdxBreadcrumbEditButtonState AState, bool AIsFirst, bool AIsLast,
                                      const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledDropDownButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                              TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
                                              const TdxScaleFactor* AScaleFactor) override;
  using TcxCustomLookAndFeelPainter::DrawScaledHeader;
  using TcxCustomLookAndFeelPainter::DrawScaledExpandButton;

  // Added by this painter
  // The frame of a button part: the shadow while normal, else the highlight.
  virtual TColor ButtonFrameColor(TcxButtonState AState);
  // A breadcrumb button's face, framed on ABorders in its state's colour.
  virtual void DrawBreadcrumbButtonFrame(TcxCustomCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                         TdxBreadcrumbEditButtonState AState);
  virtual TColor TabBorderColor();
  virtual TColor TabSelectedBorderColor();
  // The hot or focused border of an editor.
  virtual TColor BorderHighlightColor();

 protected:
  void DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool AIsVertical) override;
  // Arrow buttons and the thumb as framed buttons (no disabled thumb); the
  // pages keep the base pattern.
  void DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                                 TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) override;
  void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect,
                                            bool AIsNextButton, TcxButtonState AState, bool AIsVertical) override;
  void FreeCachedResources() override;

 private:
  // The hot and pressed faces, mixed once for each set of system colours:
  // matching them to the screen costs more than drawing a button.
  struct TFaceBlends {
    TColor Hot;
    TColor Pressed;
  };
  const TFaceBlends& FaceBlends();
  void SystemPaletteChanged(TObject* Sender);

  std::optional<TFaceBlends> FFaceBlends;
  TOwned<TcxSystemPaletteChangedNotifier> FSystemPaletteChangedNotifier;
};

// ---------------------------------------------------------------------------
// The Standard painter

// The classic raised and sunken three-dimensional look in system colours;
// the Native painter falls back on it part by part.
class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TcxStandardLookAndFeelPainter, TcxCustomLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;

  // Default colours
  TColor DefaultSchedulerTimeRulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerTextColor() override;
  TColor DefaultSchedulerViewContentColor() override;
  TColor DefaultSchedulerViewContentColorClassic() override;

  // Borders: a sunken double edge.
  int BorderSize() override;
  void DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) override;

  // Buttons: raised double frames; a pressed button's content moves.
  int ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  void DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  int ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  int ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;

  // Group boxes, expand buttons, check boxes, the toggle switch and tokens
  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  void DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                              TcxExpandButtonState AState = cebsNormal) override;
  int ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  // The Flat painter's while it is registered.
  void DrawScaledGroupExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AChecked,
                                   const TdxScaleFactor* AScaleFactor) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;
  void DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;

  // Headers, sorting marks, footers, the filter button and tabs: system
  // edges and bevels in the button highlight and shadow.
  int HeaderBorderSize() override;
  void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                      TcxButtonState AState) override;
  // A pressed section has the one shadow frame.
  int HeaderControlSectionBorderSize(TcxButtonState AState) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  int FooterBorderSize() override;
  int FooterCellBorderSize() override;
  int FooterCellOffset() override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive, const TdxScaleFactor* AScaleFactor) override;
  void DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) override;
  int TabBorderSize(bool AVertical) override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) override;
  using TcxCustomLookAndFeelPainter::DrawScaledExpandButton;

  // Scheduler splitters and track bars: the sunken and raised double
  // frames.
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                   bool AIsHorizontal) override;
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                     std::span<const TPoint> AShadowPolyLine,
                                     std::span<const TPoint> ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
  // Framed and filled by this painter's own header drawing whatever a
  // descendant makes of DrawScaledHeader.
  void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
                             const TcxViewParams& AViewParams, TcxArrowDirections AArrows, int ASideWidth,
                             const TdxScaleFactor* AScaleFactor,
                             const TcxDrawBackgroundEvent& AOnDrawBackground = {}) override;

 protected:
  // Arrow buttons are the system's frame control, framed like the thumb;
  // hot parts look normal and a disabled thumb is not drawn.
  void DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                                 TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) override;
};

// ---------------------------------------------------------------------------
// The Flat painter

// Thin one-pixel bevels of the button highlight and shadow; no hot tracking.
class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TcxFlatLookAndFeelPainter, TcxCustomLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;

  // Default colours
  TColor DefaultSchedulerTimeRulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerTextColor() override;

  // Borders and separators
  int BorderSize() override;
  int SeparatorSize() override;
  void DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) override;

  // Buttons: a one-pixel bevel, inside a black frame for the default one.
  int ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  void DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  int ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  int ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;

  // Group boxes, expand buttons, check boxes and the toggle switch
  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  void DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                              TcxExpandButtonState AState = cebsNormal) override;
  int ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AChecked,
                                   const TdxScaleFactor* AScaleFactor) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;

  // Headers, sorting marks, footers, the filter button and tabs: system
  // edges and bevels in the button highlight and shadow.
  int HeaderBorderSize() override;
  void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                      TcxButtonState AState) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  int FooterBorderSize() override;
  int FooterCellBorderSize() override;
  int FooterCellOffset() override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive, const TdxScaleFactor* AScaleFactor) override;
  void DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) override;
  int TabBorderSize(bool AVertical) override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) override;
  // Scheduler splitters, the date header, track bars and splitters: one-
  // pixel bevels; a highlighted splitter in the dark shadow.
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                   bool AIsHorizontal) override;
  void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) override;
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                     std::span<const TPoint> AShadowPolyLine,
                                     std::span<const TPoint> ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
  TColor GetSplitterOuterColor(bool AHighlighted) override;

  using TcxCustomLookAndFeelPainter::DrawScaledExpandButton;

  // Shared with the Standard painter, which draws the same pieces.
  // One border strip of a tab, shortened where its neighbours are drawn;
  // ACornerColor marks the two pixels that round the leading border.
  static void DrawTabBorderStrip(TcxCanvas* ACanvas, TRect R, TcxBorder ABorder, TcxBorders ABorders,
                                 bool AVertical, TColor ACornerColor);
  // The filter button's edge (sunken while pressed) and face; returns the
  // face, where the arrow goes.
  static TRect DrawFilterDropDownButtonFace(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  // Blue while the filter is on.
  static TColor FilterDropDownArrowColor(bool AIsFilterActive);

 protected:
  // Line buttons and the thumb are plain buttons (hot looks normal, a
  // disabled thumb is not drawn); the pages keep the base pattern.
  void DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                                 TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) override;
};

// ---------------------------------------------------------------------------
// The Office11 painter

// The UltraFlat painter recoloured with the Office11 colour set
// (dxOffice11.h), which follows the system's visual-styles colour scheme
// (the shared system-colour listener keeps the set acquired).
class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
  SK_CLASS(TcxOffice11LookAndFeelPainter, TcxUltraFlatLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;
  bool NeedRedrawOnResize() override;

  // Default colours
  TColor DefaultControlColor() override;
  TColor DefaultControlTextColor() override;
  TColor DefaultDateNavigatorHeaderColor() override;
  TColor DefaultDateNavigatorSelectionColor() override;
  TColor DefaultDateNavigatorSelectionTextColor() override;
  TColor DefaultFilterBoxColor() override;
  TColor DefaultFilterBoxTextColor() override;
  TColor DefaultFooterColor() override;
  TColor DefaultFooterTextColor() override;
  TColor DefaultGroupColor() override;
  TColor DefaultGroupByBoxColor() override;
  TColor DefaultGroupByBoxTextColor() override;
  TColor DefaultHeaderColor() override;
  TColor DefaultHeaderBackgroundColor() override;
  TColor DefaultSchedulerBorderColor() override;
  TColor DefaultSchedulerControlColor() override;
  TColor DefaultSchedulerDayHeaderColor() override;
  TColor DefaultTabColor() override;
  TColor DefaultTabsBackgroundColor() override;
  TColor DefaultTimeGridMinorScaleColor() override;
  TColor DefaultTimeGridSelectionBarColor() override;

  // Borders and separators
  int SeparatorSize() override;
  void DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) override;

  // Buttons
  TColor ButtonColor(TcxButtonState AState) override;
  TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault,
                           TcxButtonPart APart = cxbpButton) override;
  void DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;

  // Group boxes, panels and drop-down lists: the group box is the Native
  // painter's while buttons are themed.
  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  TColor GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition) override;
  void DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds,
                           TColor AColorFrom = clDefault, TColor AColorTo = clDefault) override;
  void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R, bool AHasBorders) override;
  void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& R,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;

  // Expand buttons, check boxes and radio buttons
  bool DrawExpandButtonFirst() override;
  // The colour set's plus or minus picture, stretched to the factor and
  // centred in R.
  void DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                              TcxExpandButtonState AState = cebsNormal) override;
  void DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                                   const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault) override;
  int ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  using TcxCustomLookAndFeelPainter::DrawScaledExpandButton;
  TColor CheckButtonColor(TcxButtonState AState, TcxCheckBoxState ACheckState) override;
  TColor RadioButtonBodyColor(TcxButtonState AState) override;

  // Bevels and tokens
  void GetBevelShapeColors(TColor& AColor1, TColor& AColor2) override;
  TSize GetBevelMinimalShapeSize(TdxBevelShape AShape) override;
  void DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;

  // Scroll bars: the Native painter's while it is registered.
  void DrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                               TcxButtonState AState, const TdxScaleFactor* AScaleFactor) override;
  int ScaledScrollBarMinimalThumbSize(bool AVertical, const TdxScaleFactor* AScaleFactor) override;

  // Headers: a face shaded towards the bottom (lit while hot) inside a
  // pixel pattern of edges that runs on into the neighbours; sections
  // have all four borders and invert while pressed.
  TcxBorders HeaderBorders(TcxNeighbors ANeighbors) override;
  bool IsHeaderHotTrack() override;
  int GridBordersOverlapSize() override;
  void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors, TcxBorders ABorders) override;
  void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TcxNeighbors ANeighbors,
                        TcxBorders ABorders, const TdxScaleFactor* AScaleFactor, bool AIsLast = false,
                        bool AIsGroup = false) override;
  void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                        TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                        TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                        bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                        const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground = {},
                        bool AIsLast = false, bool AIsGroup = false) override;
  // The base painter's: through DrawScaledHeader.
  void DrawScaledHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                          TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                          TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                          bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                          TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                          const TcxDrawBackgroundEvent& AOnDrawBackground = {}) override;
  void DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                      TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                      TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                      bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                      TColor ABkColor, const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TColor FooterSeparatorColor() override;

  // Rich edit
  TColor RichEditControlHeaderFooterLineColor() override;
  TColor RichEditControlHeaderFooterMarkBackColor() override;
  TColor RichEditRulerInactiveAreaColor() override;
  TColor RichEditRulerTabTypeToggleBorderColor() override;

  // The UltraFlat painter's additions
  TColor ButtonFrameColor(TcxButtonState AState) override;
  void DrawBreadcrumbButtonFrame(TcxCustomCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                 TdxBreadcrumbEditButtonState AState) override;
  TColor TabBorderColor() override;
  TColor BorderHighlightColor() override;

  // Added by this painter: the header's colours.
  virtual TColor HeaderBottomColor();
  virtual TColor HeaderDarkEdgeColor();
  virtual TColor HeaderLightEdgeColor();
  virtual TColor HeaderTopColor();

  // Scheduler, date navigator, track bars, splitters and the layout
  // control in the set's colours; the scheduler's navigator button is the
  // Native painter's while it is registered.
  void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) override;
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                     std::span<const TPoint> AShadowPolyLine,
                                     std::span<const TPoint> ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
  TColor GetSplitterInnerColor(bool AHighlighted) override;
  TColor GetSplitterOuterColor(bool AHighlighted) override;
  void DrawLayoutControlBackground(TcxCanvas* ACanvas, const TRect& R) override;
  // The record's frame around a header face.
  void LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
                                   TcxGroupBoxCaptionPosition APosition, TcxButtonState AState,
                                   TColor AColor = clDefault, TBitmap* ABitmap = nullptr) override;
  // The view's colour one pixel inside the bounds, the text centred on it.
  void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
                             const TcxViewParams& AViewParams, TcxArrowDirections AArrows, int ASideWidth,
                             const TdxScaleFactor* AScaleFactor,
                             const TcxDrawBackgroundEvent& AOnDrawBackground = {}) override;
  // The modern clock, as large as its face picture.
  TSize ScaledClockSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor,
                       const TdxScaleFactor* AScaleFactor) override;

 protected:
  // The set's face for the state, framed in the scheduler's border colour.
  void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect,
                                            bool AIsNextButton, TcxButtonState AState, bool AIsVertical) override;
  TColor HighlightedArrowColor() override;
  std::uint8_t FixedColumnHighlightAlpha() override;
  void DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool AIsVertical) override;
  void DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor) override;
  // A header's face in AState: the header's top colour (the gradient's
  // light colour while hot) shading into its bottom colour over the last
  // four rows; a hot header also gets a glowing strip over its bottom
  // edge, one pixel wider to the left and below.
  virtual void DrawHeaderBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  using TcxUltraFlatLookAndFeelPainter::DrawHeaderBackground;
};

// ---------------------------------------------------------------------------
// The Native painter

// Draws each part through the visual-styles engine, opening the theme of the
// part's kind when it runs (at the DPI of the scale factor given); where no
// theme can be had, or where a tested theme call fails, it draws as the
// Standard painter does.
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
  SK_CLASS(TcxWinXPLookAndFeelPainter, TcxStandardLookAndFeelPainter)
 public:
  void Create() override;
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;
  // Whether visual styles are available at all.
  bool NeedRedrawOnResize() override;

  // One theme part into R on DC. When the theme was opened for AScaleFactor
  // and scaling is not forced it is drawn directly; otherwise it is drawn
  // into a 32-bit bitmap (of the part's true size, or of R's size at the
  // theme's scale), black made transparent, and blended smoothly into R.
  static void DrawScaledThemeBackground(HTHEME ATheme, HDC DC, int APartId, int AStateId, const TRect& R,
                                        const TdxScaleFactor* AScaleFactor, bool AForceScale = false,
                                        bool AUseThemePartSize = false);
  // AText through the theme's text drawing in AFont (nil: the canvas's own) and
  // ATextColor; a multi-line text is first aligned vertically to its wrapped height.
  virtual void DrawThemedCaption(TcxCanvas* ACanvas, HTHEME ATheme, int APartId, int AStateId, const TRect& ATextRect,
                                 TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                 bool AShowEndEllipsis, bool AShowPrefix, const String& AText, TFont* AFont,
                                 TColor ATextColor);

  // Default colours
  TColor DefaultFilterBoxColor() override;
  TColor DefaultFilterBoxTextColor() override;
  TColor DefaultFooterColor() override;
  TColor DefaultFooterTextColor() override;
  TColor DefaultGridLineColor() override;
  TColor DefaultGroupByBoxColor() override;
  TColor DefaultGroupByBoxTextColor() override;
  TColor DefaultSchedulerBorderColor() override;
  TColor DefaultSchedulerViewContentColor() override;
  TColor DefaultSchedulerViewContentColorClassic() override;

  // Arrows, borders and separators
  void DrawScaledArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                       TcxArrowDirection AArrowDirection, const TdxScaleFactor* AScaleFactor,
                       bool ADrawBorder = true) override;
  void DrawScaledArrowBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                             const TdxScaleFactor* AScaleFactor) override;
  int BorderSize() override;
  int SeparatorSize() override;
  void DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) override;

  // Buttons
  int ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  TColor ButtonColor(TcxButtonState AState) override;
  TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault,
                           TcxButtonPart APart = cxbpButton) override;
  TRect ScaledButtonFocusRect(TcxCustomCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor) override;
  int ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  int ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                        const TdxScaleFactor* AScaleFactor, bool ADrawBorder, bool AIsToolButton, TcxButtonPart APart,
                        TColor AColor) override;
  bool IsButtonHotTrack() override;
  // Command links: themed from Windows Vista on; otherwise, or when the
  // theme fails, a Flat button bordered only while hot or pressed.
  TColor DefaultCommandLinkTextColor(TcxButtonState AState, TColor ADefaultColor) override;
  void DrawScaledCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                       const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault) override;
  void DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState,
                                  const TdxScaleFactor* AScaleFactor) override;
  TSize GetScaledCommandLinkGlyphSize(const TdxScaleFactor* AScaleFactor) override;
  TRect GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor) override;
  using TcxCustomLookAndFeelPainter::DrawScaledButton;

  // Headers: the header theme's items, their captions the theme's text; a
  // pressed header needs no inverting. Sorting marks in the shadow colour.
  void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TcxNeighbors ANeighbors,
                        TcxBorders ABorders, const TdxScaleFactor* AScaleFactor, bool AIsLast = false,
                        bool AIsGroup = false) override;
  void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                        TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                        TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                        bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                        const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground = {},
                        bool AIsLast = false, bool AIsGroup = false) override;
  void DrawHeaderPressed(TcxCanvas* ACanvas, const TRect& ABounds) override;
  void DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                      TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                      TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                      bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                      TColor ABkColor, const TdxScaleFactor* AScaleFactor) override;
  int HeaderBorderSize() override;
  int HeaderControlSectionBorderSize(TcxButtonState AState) override;
  TRect HeaderControlSectionContentBounds(const TRect& ABounds, TcxButtonState AState) override;
  bool IsHeaderHotTrack() override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;

  // The filter button is the combo box's drop-down button; hints are the
  // tooltip theme's.
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive, const TdxScaleFactor* AScaleFactor) override;
  TColor GetHintBorderColor() override;
  void DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect, TColor AColor = clDefault) override;
  // Both the tooltip's text colour.
  TColor ScreenTipGetDescriptionTextColor() override;
  TColor ScreenTipGetTitleTextColor() override;
  // From Windows 10 on, framed in the grid line colour but for the left.
  void DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor) override;

  // The filter close button is the window's small close button, the
  // activate button as large as the theme's check box.
  void DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  TPoint ScaledFilterActivateButtonSize(const TdxScaleFactor* AScaleFactor) override;
  TPoint ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) override;

  // Footers: the edit theme's raised edge around, cells the track bar's
  // sunken track with the theme's text.
  int FooterBorderSize() override;
  int FooterCellBorderSize() override;
  int FooterCellOffset() override;
  bool FooterDrawCellsFirst() override;
  TColor FooterSeparatorColor() override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                      TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText, TFont* AFont,
                      TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground = {}) override;
  // Before Windows 10 the Flat painter's cell, else the base's.
  void DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                               TcxIndicatorKind AKind, TColor AColor, const TdxScaleFactor* AScaleFactor,
                               const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors,
                               bool APaintLeftSide) override;
  using TcxCustomLookAndFeelPainter::DrawScaledIndicatorItem;

  // Tabs: the tab theme's items and pane; a standing tab is the lying one
  // with x and y exchanged, its caption upright.
  void DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, const String& AText, TcxButtonState AState,
               bool AVertical, TFont* AFont, TColor ATextColor, TColor ABkColor, bool AShowPrefix = false) override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) override;
  bool IsDrawTabImplemented(bool AVertical) override;
  bool IsTabHotTrack(bool AVertical) override;
  int TabBorderSize(bool AVertical) override;

  // Galleries, calendars and list views: the explorer list view's items,
  // the header's sort arrow.
  void DrawGalleryGroupHeader(TcxCanvas* ACanvas, const TRect& ABounds) override;
  bool DrawGalleryItemSelectionFirst() override;
  void DrawGalleryItemSelection(TcxCustomCanvas* ACanvas, const TRect& R,
                                const TdxGalleryItemViewState& AViewState) override;
  void DrawModernCalendarDateCellSelection(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                           TcxCalendarElementStates AStates) override;
  TColor GetModernCalendarHeaderTextColor(TcxCalendarElementStates AStates) override;
  // The navigation theme's back button.
  TSize GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                            const TdxScaleFactor* AScaleFactor) override;
  void DrawListViewSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                               const TdxScaleFactor* AScaleFactor) override;
  TSize GetListViewColumnHeaderSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  // Items and group headers from Windows Vista on; the rest of a list view
  // in the list view theme's colours.
  void DrawListViewBackground(TcxCanvas* ACanvas, const TRect& ABounds, bool AExplorerStyle, bool AEnabled) override;
  void DrawListViewItemBackground(TcxCanvas* ACanvas, const TRect& ABounds, TdxListViewItemStates AState,
                                  bool AExplorerStyle) override;
  void DrawListViewGroupExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AExpanded,
                                     bool AExplorerStyle, const TdxScaleFactor* AScaleFactor) override;
  void DrawListViewGroupHeaderBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                         TdxListViewGroupHeaderStates AState, bool AExplorerStyle,
                                         const TdxScaleFactor* AScaleFactor) override;
  void DrawListViewGroupHeaderLine(TcxCanvas* ACanvas, const TRect& ABounds) override;
  TColor GetListViewColumnHeaderTextColor(TcxButtonState AState, bool AExplorerStyle) override;
  TColor GetListViewItemTextColor(TdxListViewItemStates AState, bool AExplorerStyle) override;
  TColor GetListViewGroupTextColor(TdxListViewGroupTextKind AKind, TdxListViewGroupHeaderStates AState,
                                   bool AExplorerStyle) override;
  // Nothing while inactive; the dotted focus rectangle inside ABounds, or
  // in explorer style a pale blue frame unless hot.
  virtual void DrawListViewFocusRect(TcxCanvas* ACanvas, const TRect& ABounds, bool AExplorerStyle, bool AHot,
                                     bool AInactive);

  // Layout and explorer views: tab text; hot, pressed and disabled items
  // are the menu's hot item.
  TColor DefaultLayoutViewCaptionTextColor(TcxGroupBoxCaptionPosition ACaptionPosition,
                                           TcxButtonState AState) override;
  TColor DefaultLayoutViewContentTextColor(TcxButtonState AState) override;
  TColor WinExplorerViewRecordTextColor(TcxButtonState AState) override;
  void LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                          TcxBorders ABorders) override;
  // The record border, then a borderless tab without text, standing unless
  // the caption is on top.
  void LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
                                   TcxGroupBoxCaptionPosition APosition, TcxButtonState AState,
                                   TColor AColor = clDefault, TBitmap* ABitmap = nullptr) override;
  void WinExplorerViewDrawRecord(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                 TColor AColor = clDefault, TBitmap* ABitmap = nullptr) override;

  // Scheduler, month headers and navigators
  void DrawSchedulerScaledEventProgress(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AProgress,
                                        const TcxViewParams& AViewParams, bool ATransparent,
                                        const TdxScaleFactor* AScaleFactor) override;
  TRect SchedulerEventProgressOffsets() override;
  void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor) override;
  // One line of the combo box's border colour on each long side.
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                   bool AIsHorizontal) override;
  void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
                             const TcxViewParams& AViewParams, TcxArrowDirections AArrows, int ASideWidth,
                             const TdxScaleFactor* AScaleFactor,
                             const TcxDrawBackgroundEvent& AOnDrawBackground = {}) override;
  void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) override;
  TPoint NavigatorButtonPressedGlyphOffset() override;
  TSize NavigatorScaledButtonMinSize(const TdxScaleFactor* AScaleFactor) override;
  // The modern clock, as large as its face picture.
  TSize ScaledClockSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor,
                       const TdxScaleFactor* AScaleFactor) override;
  // Zoom buttons: the push button with the painter's plus or minus glyph
  // centred on it (greyed while disabled), as large as the glyph and the
  // button's content margins.
  void DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) override;
  TSize GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor) override;
  TSize GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor) override;
  // The scroll bar's splitter keeps the base painter's dashes, which this
  // painter's own splitters leave out.
  void DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;

  // Track bars and splitters: the track bar theme's track and thumbs (a
  // range bar's halves are two-sided thumbs); a splitter shows only its
  // close mark.
  void CorrectThumbRect(TcxCanvas* ACanvas, TRect& ARect, bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                        const TdxScaleFactor* AScaleFactor) override;
  void DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect& ASelection, bool AShowSelection,
                               bool AEnabled, bool AHorizontal, TColor ATrackColor,
                               const TdxScaleFactor* AScaleFactor) override;
  void DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                               TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                               const TdxScaleFactor* AScaleFactor) override;
  void DrawRangeTrackBarScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                        bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                        const TdxScaleFactor* AScaleFactor) override;
  void DrawRangeTrackBarScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                         bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                         const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked, bool AHorizontal,
                          const TdxScaleFactor* AScaleFactor, bool AHasCloseMark = false,
                          TcxArrowDirection AArrowDirection = adLeft) override;

  // Group boxes, panels, progress bars and drop-down lists
  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  TColor GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition) override;
  void DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds,
                           TColor AColorFrom = clDefault, TColor AColorTo = clDefault) override;
  TColor ProgressBarTextColor(TcxProgressBarPart APart) override;
  void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R, bool AHasBorders) override;
  void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& R,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  TColor DropDownListBoxItemTextColor(bool ASelected) override;
  int DropDownListBoxScaledSeparatorSize(const TdxScaleFactor* AScaleFactor) override;

  // Expand buttons, check boxes, radio buttons and the toggle switch
  bool DrawExpandButtonFirst() override;
  bool IsPointOverGroupExpandButton(const TRect& R, const TPoint& P) override;
  void DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                              TcxExpandButtonState AState = cebsNormal) override;
  int ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  // Theme states of the default and disabled buttons: normal and normal
  // (the explorer bar has no disabled picture).
  void DrawScaledGroupExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  int ScaledGroupExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                                   const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault) override;
  int ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawTreeViewExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, bool AExplorerStyle,
                                const TdxScaleFactor* AScaleFactor, TColor AColor = clDefault,
                                TcxExpandButtonState AState = cebsNormal) override;
  TSize TreeViewExpandButtonSize(bool AExplorerStyle, const TdxScaleFactor* AScaleFactor) override;
  int CheckBorderSize() override;
  void DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  TSize ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledCheck(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxCheckBoxState ACheckState,
                       TColor AColor, const TdxScaleFactor* AScaleFactor, bool ADrawBackground) override;
  void DrawScaledRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AButtonState, bool AChecked,
                             bool AFocused, TColor ABrushColor, const TdxScaleFactor* AScaleFactor,
                             bool AIsDesigning = false) override;
  TSize ScaledRadioButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AChecked,
                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;
  using TcxCustomLookAndFeelPainter::DrawScaledCheck;
  using TcxCustomLookAndFeelPainter::DrawScaledExpandButton;

  // Bevels and tokens
  TSize GetBevelMinimalShapeSize(TdxBevelShape AShape) override;
  void DrawBevelFrame(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                      bool ABoxStyle) override;
  void DrawBevelLine(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                     bool AIsVertical) override;
  void DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;

  // Scroll bars, size grips, small buttons and popup windows
  int ScaledScrollBarMinimalThumbSize(bool AVertical, const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R, TcxEditPopupBorderStyle ABorderStyle,
                                 bool AClientEdge) override;
  int GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle AStyle) override;
  int GetEditPopupWindowClientEdgeWidth(TcxEditPopupBorderStyle AStyle) override;

 protected:
  void DrawButtonCaption(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor, bool AWordWrap,
                         bool AWithBorder, TColor AColor, TcxButtonState AState, const String& AText) override;
  void DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool AIsVertical) override;
  void DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                                 TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) override;
  void DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor) override;
  // The theme's part; under Windows 8 and later never smaller than 13 x 13.
  TSize DoGetSmallCloseButtonSize() override;
  // A tab item turned so that its open side faces away from the arrow's
  // tip, over what the canvas shows; then the arrow.
  void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect,
                                            bool AIsNextButton, TcxButtonState AState, bool AIsVertical) override;

 private:
  void DrawScaledZoomButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                            const TdxScaleFactor* AScaleFactor, bool AZoomIn);
  TSize GetScaledZoomButtonSize(const TdxScaleFactor* AScaleFactor, bool AZoomIn);

  // One tab item into R on DC, lying (a standing tab's drawing space has x
  // and y exchanged: its near end is R's left side).
  static void DrawTabItem(HTHEME ATheme, HDC DC, const TRect& R, TcxBorders ABorders, int AStateId, bool AVertical);
  // A tab item into R on the canvas, standing or lying.
  static void DrawTabFace(TcxCanvas* ACanvas, HTHEME ATheme, const TRect& R, TcxBorders ABorders, int AStateId,
                          bool AVertical);
  // The menu's hot item (disabled-hot while disabled) for hot, pressed and
  // disabled states; false when nothing was drawn.
  bool DrawMenuItemFace(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState);
  // A range bar's half thumb: the two-sided thumb.
  void DrawRangeThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                      TColor AThumbColor, const TdxScaleFactor* AScaleFactor);
  // The part through the canvas's native drawing at the DPI of
  // AScaleFactor's theme (nil: the system's); false without a theme or when
  // the theme failed to draw.
  bool DoDrawThemeBackground(TcxCustomCanvas* ACanvas, TdxThemedObjectType AThemedObjectType,
                             const TdxScaleFactor* AScaleFactor, const TRect& R, int APartId, int AStateId);
  // The same through DrawScaledThemeBackground at the part's true size;
  // true whenever a theme was opened.
  bool DoDrawScaledThemeBackground(TcxCustomCanvas* ACanvas, TdxThemedObjectType AThemedObjectType,
                                   const TdxScaleFactor* AScaleFactor, const TRect& R, int APartId, int AStateId);

  // Loaded with the painter; empty in a program built without them.
  TOwned<TcxBitmap32> FZoomInButtonGlyph;
  TOwned<TcxBitmap32> FZoomOutButtonGlyph;
};

// ---------------------------------------------------------------------------
// The painters manager

struct IcxLookAndFeelPainterListener : public virtual IInterface {
  static constexpr GUID IID = {0x60D58DEA, 0x2F90, 0x427E, {0x92, 0x9B, 0xA5, 0x6A, 0xFE, 0x5B, 0x62, 0xCA}};
  virtual void PainterAdded(TcxCustomLookAndFeelPainter* APainter) = 0;
  virtual void PainterRemoved(TcxCustomLookAndFeelPainter* APainter) = 0;

 protected:
  ~IcxLookAndFeelPainterListener() = default;
};

// Owns one painter of each kind, finds a painter by name (ignoring case) or
// by style, and tells listeners (last added first) when one comes or goes.
// A change of the painters refreshes the root look-and-feel unless the
// manager is locked; unlocking refreshes it once.
class TcxLookAndFeelPaintersManager : public TObject {
  SK_CLASS(TcxLookAndFeelPaintersManager, TObject)
 public:
  void Create();
  void Destroy() override;

  // Takes APainter. A painter whose name is taken already is freed (false);
  // otherwise it joins the list (kept sorted by name in the user locale's
  // order) and becomes the painter of its style.
  bool Register(TOwned<TcxCustomLookAndFeelPainter> APainter);
  // Removes and frees the painter of that name (false when there is none).
  // Its style forgets it only while it is still the style's painter, and no
  // look-and-feel keeps it: each one that resolved it resolves again first.
  // The painter is freed even when a listener raises.
  bool Unregister(const String& AName);

  // Nil when the style has no painter.
  TcxCustomLookAndFeelPainter* GetPainter(TcxLookAndFeelStyle AStyle) const;
  bool GetPainter(TcxLookAndFeelStyle AStyle, TcxCustomLookAndFeelPainter*& APainter) const;
  // The first painter of that name, ignoring case; nil when there is none.
  TcxCustomLookAndFeelPainter* GetPainter(const String& AName) const;
  bool GetPainter(const String& AName, TcxCustomLookAndFeelPainter*& APainter) const;
  // The painters in name order.
  int Count() const { return static_cast<int>(FPainters.size()); }
  TcxCustomLookAndFeelPainter* GetItem(int AIndex) const { return FPainters.at(static_cast<std::size_t>(AIndex)).get(); }
  // Adds the names of the skin painters (inside the list's BeginUpdate and
  // EndUpdate).
  void PopulateSkinNames(TStrings* AList) const;

  // Nothing for a listener that is there already.
  void AddListener(IcxLookAndFeelPainterListener* AListener);
  void RemoveListener(IcxLookAndFeelPainterListener* AListener);

  void BeginUpdate() { ++FLockCount; }
  // Refreshes the root look-and-feel when the lock ends.
  void EndUpdate();
  // Ends the lock without a refresh.
  void CancelUpdate() { --FLockCount; }

  // Every painter frees its cached resources.
  void FreePaintersCachedResources();

 private:
  void Changed();

  std::vector<IPtr<IcxLookAndFeelPainterListener>> FListeners;
  int FLockCount;
  std::vector<TOwned<TcxCustomLookAndFeelPainter>> FPainters;
  std::array<TcxCustomLookAndFeelPainter*, cxLookAndFeelStyleCount> FStandardPainters;
};

// The manager, made with the built-in painters on first use; nil once the
// unit's shut-down has begun.
TcxLookAndFeelPaintersManager* GetPaintersManager();

// ---------------------------------------------------------------------------
// What the painters share

// A plus, or a minus when AExpanded, in AColor centred in R, its bars
// (R's width less 2 x 2 scaled) / 2 from the centre.
void DrawPlusMinusMark(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor,
                       const TdxScaleFactor* AScaleFactor);
// A range track bar's thumb within R: one pixel narrower along the track
// for one-sided ticks.
void GetRangeThumbRect(const TRect& R, TcxTrackBarTicksAlign ATicks, bool AHorizontal, TRect& ARect);
// With touch mode on, a positive AValue is raised to 27 scaled (nil: the
// system scale factor).
void EnsureTouchModeMinimum(int& AValue, const TdxScaleFactor* AScaleFactor = nullptr);
void EnsureTouchModeMinimumSize(TSize& ASize, const TdxScaleFactor* AScaleFactor = nullptr);
// The size of one cell of the system's check-box bitmap, measured at
// start-up.
TSize cxStandardCheckBoxSize();
// The scroll-bar page patterns: brush 0 a checkerboard of the button face
// and its highlight, brush 1 (pressed) of black and the dark shadow; made on
// first use.
TBrush* cxLookAndFeelHalftoneBrush(int AIndex);
// Paints both patterns anew from the system colours (made first when they
// are missing).
void UpdateHalftoneBrushes();
// Draws a bottom-right size grip into ARect of the canvas given.
using TcxDrawSizeGripProc = std::function<void(TcxCanvas* ACanvas, const TRect& ARect)>;
// A grip in ACorner: AProc draws it into a bitmap turned so that ACorner is
// its bottom-right; over ABackgroundColor, or what lies beneath for clNone.
// A colour other than clNone and clDefault also floods what the grip left
// of the background from the opposite corner.
void cxDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TcxDrawSizeGripProc& AProc,
                    TColor ABackgroundColor, TdxCorner ACorner);

void cxLookAndFeelPaintersInitialization();
void cxLookAndFeelPaintersFinalization();
