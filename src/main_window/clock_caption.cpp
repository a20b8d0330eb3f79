#include "clock_caption.h"

#include <algorithm>

namespace dv {

std::string clockCaption(const std::string& longTimeText) { return kClockPrefix + longTimeText; }

int msToNextSecond(const LocalTime& t) {
    // One millisecond past the boundary: a timer that fires a hair early
    // must not read the old second again.
    return 1000 - std::clamp(t.millisecond, 0, 999) + 1;
}

}  // namespace dv
