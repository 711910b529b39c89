// The image lists of the painters unit (cxLookAndFeelPainters): every look
// of a radio glyph for one scale factor, shaped after the system's own radio
// button, and the row-indicator images.
//
// Classes in this file:
//   TcxButtonState            the state every painter operation for buttons and parts takes
//   TcxRadioButtonColors      the colours the images take from the painters
//   TcxRadioButtonImageList   128 images of a radio glyph for one scale factor
//   TcxIndicatorKind          the marks of a grid row's indicator
//
// The glyph is measured from the system at the list's scale factor (a cell
// of OBM_CHECKBOXES and DrawFrameControl's radio images), never stretched:
// each pixel gets a class (outside, the outer and inner ring halves, body,
// check dot) once, and each image colours the classes for its look
// kind, state, checked, focused and design-time flags. UI thread only.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/cxLookAndFeels.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"

#include <cstdint>
#include <optional>
#include <vector>

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };

// The colours of the radio images that the painters decide. The painters
// unit installs its own at start-up (each kind's painter and the Office11
// colour set); this base answers as if no painter existed: a clWindow body,
// and the Office11 colours of the colour set without a scheme.
class TcxRadioButtonColors {
 public:
  virtual ~TcxRadioButtonColors() = default;
  // RadioButtonBodyColor of the painter of the kind's style.
  virtual TColor BodyColor(TcxLookAndFeelKind, TcxButtonState) { return clWindow; }
  virtual TColor Office11DisabledTextColor() { return clGrayText; }
  virtual TColor Office11HighlightBorderColor() { return clHighlight; }
};

// The colours in use; nil puts the base back. The caller keeps its object
// alive while it is installed.
TcxRadioButtonColors* cxRadioButtonColors();
void cxSetRadioButtonColors(TcxRadioButtonColors* AValue);

class TcxRadioButtonImageList : public TObject {
  SK_CLASS(TcxRadioButtonImageList, TObject)
 public:
  // Pixel classes of the pattern.
  enum TPixelClass : std::uint8_t {
    pcOutside,
    pcOuterTopLeft,
    pcOuterBottomRight,
    pcInnerTopLeft,
    pcInnerBottomRight,
    pcBody,
    pcCheck
  };
  static constexpr int ImageCount = 128;

  // Measures the glyph at AScaleFactor (nil: 96 dpi) and builds every image.
  void Create(TdxScaleFactor* AScaleFactor);
  void Destroy() override;

  // The image of the combination at (X, Y): masked onto the canvas for
  // clDefault, otherwise on ABackgroundColor. cxbsDefault draws as cxbsNormal.
  void Draw(TcxCanvas* ACanvas, int X, int Y, TColor ABackgroundColor, TcxLookAndFeelKind AKind,
            TcxButtonState AState, bool AChecked, bool AFocused, bool AIsDesigning);
  TSize GetSize() const { return FRadioButtonSize; }
  // Colours every image anew from the pattern kept (after a system colour
  // change); nothing is measured again.
  void Reset();

  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  // Another ratio measures and builds everything again.
  void SetScaleFactor(TdxScaleFactor* AValue);

  // (state - 1) + 4 checked + 8 kind + 32 designing + 64 focused, for the
  // states cxbsNormal to cxbsDisabled.
  static int CombinationIndex(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked, bool AFocused,
                              bool AIsDesigning);

 private:
  void Build();
  void Measure();
  void CreateMask();
  void CreatePattern();
  void CreateImages();
  TPixelClass& Pattern(int ARow, int AColumn) {
    return FRadioButtonPattern[static_cast<std::size_t>(ARow * FRadioButtonSize.cx + AColumn)];
  }

  TOwned<TBitmap> FButtonMask;
  TOwned<TImageList> FList;
  TRect FRadioButtonCheckRect;
  std::vector<int> FRadioButtonImageListIndexes;
  std::vector<TPixelClass> FRadioButtonPattern;  // rows by columns
  TRect FRadioButtonRect;
  TSize FRadioButtonSize;
  TOwned<TdxScaleFactor> FScaleFactor;
  // Where an image is put on its background before it is copied.
  std::optional<TMemoryDC> FBuffer;
};

// ---------------------------------------------------------------------------
// Row indicator

enum TcxIndicatorKind { ikNone, ikArrow, ikEdit, ikInsert, ikMultiDot, ikMultiArrow, ikFilter, ikInplaceEdit };

// The indicator images, 8 x 9 each, from the bitmap resources CX_ARROWBITMAP,
// CX_EDITBITMAP, CX_INSERTBITMAP, CX_MULTIDOTBITMAP, CX_MULTIARROWBITMAP,
// CX_FILTERBITMAP, CX_INPLACEEDITBITMAP and CX_SORTBYSUMMARYVALUE (white is
// transparent). Created on first use; nil once freed at shut-down.
TCustomImageList* cxIndicatorImages();
// Frees the list (the painters unit's shut-down); no list is made after it.
void cxFreeIndicatorImages();
// Image AKind - 1 at its size for the factor, centred in R; the arrows are
// mirrored on a right-to-left canvas. Nothing for ikNone.
void cxDrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                          const TdxScaleFactor* AScaleFactor);
