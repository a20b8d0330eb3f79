#include <gtest/gtest.h>

#include "services.h"
#include "support.h"
#include "text.h"

namespace dv::test {
namespace {

class LongTimeText : public ::testing::TestWithParam<LocalTime> {};

TEST_P(LongTimeText, IsTheUsersDefaultTimeFormat) {
    const LocalTime t = GetParam();
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.date.year);
    st.wMonth = static_cast<WORD>(t.date.month);
    st.wDay = static_cast<WORD>(t.date.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    wchar_t expected[128] = {};
    ASSERT_GT(::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, expected, 128), 0);
    EXPECT_EQ(win32::SystemClock().longTimeText(t), win32::narrow(expected));
}

INSTANTIATE_TEST_SUITE_P(TimesOfDay, LongTimeText,
                         ::testing::Values(LocalTime{{2024, 3, 15}, 0, 0, 0, 0}, LocalTime{{2024, 3, 15}, 9, 5, 3, 0},
                                           LocalTime{{2024, 3, 15}, 12, 30, 59, 999},
                                           LocalTime{{2024, 12, 31}, 23, 59, 59, 0}));

TEST(SystemClockNow, ReadsEveryFieldOfTheLocalTime) {
    // Read until no second boundary falls between the readings.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SYSTEMTIME before{}, after{};
        ::GetLocalTime(&before);
        const LocalTime now = win32::SystemClock().now();
        ::GetLocalTime(&after);
        if (before.wSecond != after.wSecond) continue;
        EXPECT_EQ(now.date, (Date{before.wYear, before.wMonth, before.wDay}));
        EXPECT_EQ(now.hour, before.wHour);
        EXPECT_EQ(now.minute, before.wMinute);
        EXPECT_EQ(now.second, before.wSecond);
        EXPECT_GE(now.millisecond, before.wMilliseconds);
        EXPECT_LE(now.millisecond, after.wMilliseconds);
        return;
    }
    FAIL() << "the clock never held still for a second";
}

}  // namespace
}  // namespace dv::test
