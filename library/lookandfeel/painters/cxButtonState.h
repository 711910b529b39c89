// The state of a button, glyph or part: shared by the painters and the skin
// elements, which the painters' header itself includes.
#pragma once

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
constexpr int cxButtonStateCount = cxbsDisabled + 1;
