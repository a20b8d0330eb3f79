#include "placement.h"

#include <algorithm>

namespace dv {

Point placeBottomRight(Size outer, const ScreenInfo& screen) {
    const Rect& work = screen.workArea;
    const int margin = twipsToPixelsCeil(kBottomMarginTwips, screen.dpi);
    const int bottom = std::min(work.bottom, screen.monitor.bottom - margin);
    const int top = std::max(bottom - outer.height, work.top);
    const int left = std::max(work.right - outer.width, work.left);
    return {left, top};
}

Point keepWhole(const Rect& window, const Rect& workArea) {
    const auto along = [](int start, int length, int low, int high) {
        return std::max(std::min(start, high - length), low);
    };
    return {along(window.left, window.width(), workArea.left, workArea.right),
            along(window.top, window.height(), workArea.top, workArea.bottom)};
}

}  // namespace dv
