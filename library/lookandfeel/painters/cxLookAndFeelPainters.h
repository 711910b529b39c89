// The painters unit: the drawing interface of the control library with the
// base painter's behaviour, the UltraFlat painter and the painters manager.
//
// Classes in this file:
//   TcxLookAndFeelStyle, TcxButtonState, TcxArrowDirection, TcxNeighbors ...
//                                    the types the painter operations share
//   TcxCustomLookAndFeelPainter      the painter interface and the base painter
//                                    (cxLookAndFeelPainters.cpp: life cycle and
//                                    painter information; _DefaultColors.cpp)
//   TcxUltraFlatLookAndFeelPainter   flat one-pixel frames in system colours
//                                    (cxLookAndFeelPainters_UltraFlat.cpp)
//   IcxLookAndFeelPainterListener    hears painters come and go
//   TcxLookAndFeelPaintersManager    the process-wide registry of painters
//                                    (cxLookAndFeelPainters_Manager.cpp)
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
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/imaging/dxColorPalettes.h"
#include "library/lookandfeel/skins/dxSkinsCore.h"
#include "platform/classes/Lists.h"

#include <array>
#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------
// Shared types

// The style under which the manager files a painter.
enum TcxLookAndFeelStyle { lfsFlat, lfsStandard, lfsUltraFlat, lfsNative, lfsOffice11, lfsSkin };
constexpr int cxLookAndFeelStyleCount = lfsSkin + 1;

// The state of a button, glyph or part.
enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
constexpr int cxButtonStateCount = cxbsDisabled + 1;
enum TcxButtonPart { cxbpButton, cxbpDropDownLeftPart, cxbpDropDownRightPart };
enum TcxCheckBoxState { cbsUnchecked, cbsChecked, cbsGrayed };
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
enum TcxProgressBarPart { pbpBackground, pbpProgressChunk, pbpOverloadBar, pbpPeakBar };
enum TcxGroupBoxCaptionPosition { cxgpTop, cxgpBottom, cxgpLeft, cxgpRight, cxgpCenter };
enum TcxIndicatorKind { ikNone, ikArrow, ikEdit, ikInsert, ikMultiDot, ikMultiArrow, ikFilter, ikInplaceEdit };
enum TcxCalendarElementState {
  cesNormal, cesHot, cesPressed, cesSelected, cesFocused, cesMarked, cesDisabled, cesHighlighted
};
enum TdxRatingControlIndicatorState { rcisUnchecked, rcisChecked, rcisHover };
enum TdxBreadcrumbEditState { dxbcsNormal, dxbcsFocused, dxbcsHot, dxbcsDisabled };
enum TdxBreadcrumbEditButtonState { dxbcbsNormal, dxbcbsFocused, dxbcbsHot, dxbcbsPressed, dxbcbsDisabled };

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

 protected:
  friend class TcxLookAndFeelPaintersManager;

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

 private:
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

void cxLookAndFeelPaintersInitialization();
void cxLookAndFeelPaintersFinalization();
