#pragma once

#include "platform/geometry.h"
#include "platform/services.h"

namespace dv {

// The screen's bottom edge keeps this much room below the window.
constexpr int kBottomMarginTwips = 400;

// Where the main window's outer top-left goes: its right edge on the work
// area's right edge, its bottom on the work area's bottom and at least
// kBottomMarginTwips above the screen's bottom. A window taller than the
// work area keeps its top (caption and menu) on the work area's top, and
// one wider than it keeps its left edge (the menu's start) on its left edge.
Point placeBottomRight(Size outer, const ScreenInfo& screen);

// Where a window goes to lie whole on the work area, moved as little as
// possible; one larger than the work area keeps its top-left corner on it.
Point keepWhole(const Rect& window, const Rect& workArea);

}  // namespace dv
