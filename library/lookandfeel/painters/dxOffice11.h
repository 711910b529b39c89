// The Office11 colour set: process-wide colours that follow the Windows
// visual-styles colour scheme (blue, olive or silver), or blends of the
// system colours under any other theme, with the grip and highlight brushes
// and the routines that draw with them.
//
// Classes in this file:
//   TdxOffice11Scheme          the colour scheme the set follows
//   TdxOffice11Color           the colours of the scheme table, by their index
//   TdxOffice11ThemeNameProbe  reads the theme's file and colour-scheme names
//
// The set is reference counted: the first acquisition computes the colours
// and makes the brushes, the last release frees the brushes. The shared
// system-colour listener acquires it and refreshes it on every change of
// the system colours before any notifier runs. System colours are resolved
// to RGB when the set is computed. UI thread only.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "platform/ui/Graphics.h"

#include <cstdint>
#include <functional>
#include <span>

enum class TdxOffice11Scheme { None, Blue, Olive, Silver };

// The place of each colour in a row of the scheme table (a row has 49; the
// others are of no use to the library).
enum TdxOffice11Color {
  Office11GradientLightColor = 0,
  Office11GradientDarkColor = 1,
  Office11BackgroundColor = 2,
  Office11ControlColor = 3,
  Office11GroupByBoxColor1 = 4,
  Office11GroupByBoxColor2 = 11,
  Office11GripDarkColor = 12,
  Office11GripLightColor = 13,
  Office11SeparatorDarkColor = 14,
  Office11SeparatorLightColor = 15,
  Office11FilterBoxColor = 16,
  Office11FrameColor = 18,
  Office11DropDownBackgroundColor = 19,
  Office11HighlightBorderColor = 21,
  Office11HotColor = 22,
  Office11HotColor2 = 23,
  Office11PressedColor = 24,
  Office11PressedColor2 = 25,
  Office11PressedDarkColor = 27,
  Office11TextColor = 30,
  Office11DisabledTextColor = 31,
  Office11GroupColor = 32,
  Office11DateNavigatorSelectionColor = 33,
  Office11SchedulerControlColor = 34,
  Office11SchedulerBorderColor = 35,
  Office11GroupRowTextColor = 36,
};

// The set's current value of a colour (RGB).
TColor Office11Color(TdxOffice11Color AColor);
// Colours made from the others.
TColor Office11GroupByBoxColor();
TColor Office11FilterBoxTextColor();
TColor Office11GroupRowContentColor();
TColor Office11GroupRowSeparatorColor();
// Where the bent gradient bends, per cent.
int Office11GradientBend();

TdxOffice11Scheme Office11Scheme();
// Visual styles are available and a scheme is followed.
bool IsOffice11Themed();

void AcquireOffice11Colors();
void ReleaseOffice11Colors();
// Computes the colours again; while the set is acquired the brushes too.
void RefreshOffice11Colors();

// The set's solid brushes; nil while it is not acquired.
HBRUSH Office11GripDarkBrush();
HBRUSH Office11GripLightBrush();
HBRUSH Office11HighlightBorderBrush();

// The expand button's picture, a plus or (AExpanded) a minus, recoloured to
// the set's gradient: an 11 x 11 top-down 32-bit DIB section with
// premultiplied alpha; nil while the set is not acquired.
HBITMAP Office11ExpandButtonBitmap(bool AExpanded);
// Recolours a loaded picture in place (32-bit BGRA pixels, alpha ignored):
// the colour of the first pixel becomes transparent, black stays black, and
// every other pixel becomes the blend of the gradient's light and dark
// colours at the place of its red value in the picture's range of reds
// (light at the top of the range). Pixels that all share one red value take
// the light colour.
void Office11RecolorPixels(std::span<std::uint32_t> APixels);

// The two-colour gradient that bends at Office11GradientBend.
void Office11FillBentGradient(HDC DC, const TRect& R, TColor AColor1, bool AHorizontal, TColor AColor2);
// A staircase of square dots in the bottom-right corner of R, each a dark
// square over a light one a step lower and further right; either colour may
// be clDefault for the set's grip colours.
void Office11DrawSizeGrip(HDC DC, const TRect& R, TColor ADarkColor, const TdxScaleFactor* AScaleFactor,
                          TColor ALightColor);

// Answers the current theme's file name and colour-scheme name, false when
// visual styles are off or the names cannot be read.
using TdxOffice11ThemeNameProbe = std::function<bool(String& AFileName, String& AColorSchemeName)>;
// Replaces the probe (nil: the system's); refresh the set to see its answer.
void SetOffice11ThemeNameProbe(TdxOffice11ThemeNameProbe AProbe);

void dxOffice11Initialization();
void dxOffice11Finalization();
