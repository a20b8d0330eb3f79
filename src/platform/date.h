#pragma once

#include <compare>

namespace dv {

struct Date {
    int year = 1753, month = 1, day = 1;
    auto operator<=>(const Date&) const = default;
};

constexpr bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int daysInMonth(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// A day the month lacks settles on the month's last day.
constexpr Date settleDay(int year, int month, int day) {
    const int last = daysInMonth(year, month);
    return {year, month, day < 1 ? 1 : (day > last ? last : day)};
}

struct LocalTime {
    Date date;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

}  // namespace dv
