// The state every painter operation for buttons, glyphs and parts takes.
//
// It belongs to the look-and-feel painters, which take it over when they
// arrive; until then the control framework's parts declare it here.
#pragma once

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
