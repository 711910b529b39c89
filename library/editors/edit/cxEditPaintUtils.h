// Drawing routines that the editors' paint records, their layout and several
// editor kinds share: solid fills through the shared brush cache, one-pixel
// button sides, arrow triangles made of filled lines, the painter of a
// look-and-feel kind, the hot and pressed ultra-flat colours and the
// conversion between the two sets of text flags. None keeps state.
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include <span>

class TcxCustomEditViewData;

// R filled with the cached solid brush of AColor.
void FillRectByColor(HDC ADC, const TRect& R, TColor AColor);
void FillRectByColor(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
// AOuterRect without AInnerRect, which must lie inside it: the left, top,
// right and bottom strips. Nothing when the two are equal or the outer one is
// empty; all of it when the inner one is empty.
void FillRectExcept(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInnerRect, HBRUSH ABrush);
// A polyline of horizontal and vertical segments through
// APoints[0..AHighIndex] that includes its last pixel. AUseFillRect fills
// each segment as a one-pixel rectangle, independent of the pen.
void DrawPolylineWithEnd(TcxCanvas* ACanvas, std::span<const TPoint> APoints, int AHighIndex, TColor AColor,
                         bool AUseFillRect = false);
// One-pixel lines on the chosen sides, each across the whole side of R as
// given; R shrinks past every line drawn.
void DrawEditButtonSides(TcxCanvas* ACanvas, TRect& R, TcxBorders ABorders, TColor AColor);
// One triangle (two with AIsDoubleArrow) of AArrowSize rows or columns,
// centred in AContentRect, one pixel right and down with AOffsetContent.
void DrawEditButtonArrow(TcxCanvas* ACanvas, int AArrowSize, const TRect& AContentRect, TcxArrowDirection ADirection,
                         bool AIsDoubleArrow, bool AOffsetContent, TColor AColor);
// The width and height of an arrow that fits ASize; the height is the
// AArrowSize of DrawEditButtonArrow (for left and right arrows the width).
TSize GetEditButtonArrowSize(const TSize& ASize, TcxArrowDirection ADirection);
TcxCustomLookAndFeelPainter* GetLookAndFeelPainterForKind(bool ANativeStyle, TcxLookAndFeelKind AKind);
// The face of a hot or pressed ultra-flat (or Office 11) button.
TColor GetEditButtonColor(bool APressed, bool AIsOffice11);
TColor EditHotBorderColor(bool AIsOffice11);
int EditButtonContentVerticalOffset(TcxCanvas* ACanvas, TcxEditButtonStyle AButtonStyle, bool ANativeStyle);
int NativeTextEditHeightCorrection(TcxCustomEditProperties* AProperties, bool AIsInplace);
bool EditHasShadow(TcxCustomEditViewData* AViewData);
// Multi-line text-output flags to canvas text flags and back; flags without
// a counterpart are dropped.
int TextOutFlagsToCanvasFlags(int AFlags);
int CanvasFlagsToTextOutFlags(int AFlags);
bool IsNumericChar(wchar_t AChar);
int CalculateEditButtonWidth(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AButtonViewInfo);
// The frame and background of an editor.
void PaintEditBackground(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, bool ADrawBackground);
