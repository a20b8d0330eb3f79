#pragma once

#include <compare>

namespace dv {

struct YearMonth {
    int year = 0, month = 0;
    auto operator<=>(const YearMonth&) const = default;
};

// The month after the given one: M + 1 of the year, or January of the next.
YearMonth monthAfter(int year, int month);

}  // namespace dv
