#pragma once

#include <string>

#include "platform/date.h"

namespace dv {

inline constexpr const char* kClockPrefix = "    Time now is  ";

std::string clockCaption(const std::string& longTimeText);

// Milliseconds from t until just after the next whole second, so that a
// timer armed with it wakes once a second and shows each new second at once.
int msToNextSecond(const LocalTime& t);

}  // namespace dv
