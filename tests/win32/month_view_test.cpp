#include <gtest/gtest.h>

#include <stdexcept>

#include "test_form.h"

namespace dv::test {
namespace {

::testing::AssertionResult shows(HWND calendar, int year, int month, int day) {
    const SYSTEMTIME st = currentSelection(calendar);
    if (st.wYear == year && st.wMonth == month && st.wDay == day) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the control shows " << st.wYear << "-" << st.wMonth << "-" << st.wDay
                                         << ", not " << year << "-" << month << "-" << day;
}

class MonthViewControl : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        ASSERT_NE(form.viewHwnd(), nullptr);
        form.view.onSelChange = [this] { ++selChanges; };
        form.view.onClick = [this] { ++clicks; };
    }

    // Clicks the next-month arrow as the mouse would.
    void clickNext() {
        POINT arrow{};
        ASSERT_TRUE(findNextArrow(form.viewHwnd(), arrow)) << "no next-month arrow along the title";
        clickAt(form.viewHwnd(), arrow);
        pumpFor(std::chrono::milliseconds(50));
    }

    RecordingMessageBox messages;
    CalendarForm form{messages};
    int selChanges = 0, clicks = 0;
};

TEST_F(MonthViewControl, WritesByCodeReachTheControlWithTheDaySettled) {
    form.view.setValue({2024, 1, 31});
    EXPECT_TRUE(shows(form.viewHwnd(), 2024, 1, 31));
    form.view.setMonth(2);
    EXPECT_TRUE(shows(form.viewHwnd(), 2024, 2, 29));
    form.view.setYear(2023);
    EXPECT_TRUE(shows(form.viewHwnd(), 2023, 2, 28));
    form.view.setValue({1600, 5, 5});
    EXPECT_TRUE(shows(form.viewHwnd(), 1753, 1, 1));
    // Code moves the view without pretending to be the user.
    EXPECT_EQ(selChanges, 0);
}

TEST_F(MonthViewControl, RangeCoversDesignedDatesOnly) {
    SYSTEMTIME range[2] = {};
    const auto flags = ::SendMessageW(form.viewHwnd(), MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range));
    EXPECT_EQ(flags, GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(range[0].wYear, 1753);
    EXPECT_EQ(range[0].wMonth, 1);
    EXPECT_EQ(range[0].wDay, 1);
    EXPECT_EQ(range[1].wYear, 9999);
    EXPECT_EQ(range[1].wMonth, 12);
    EXPECT_EQ(range[1].wDay, 31);
}

TEST_F(MonthViewControl, ArrowClickMovesValueAndRaisesEvents) {
    form.view.setValue({2024, 3, 15});
    clickNext();
    EXPECT_EQ(form.view.Value(), (Date{2024, 4, 15}));
    EXPECT_TRUE(shows(form.viewHwnd(), 2024, 4, 15));
    EXPECT_EQ(selChanges, 1);
    EXPECT_GE(clicks, 1);
    EXPECT_TRUE(messages.prompts.empty());
}

TEST_F(MonthViewControl, ArrowClickCrossesTheYear) {
    form.view.setValue({2024, 12, 15});
    clickNext();
    EXPECT_EQ(form.view.Value(), (Date{2025, 1, 15}));
    EXPECT_EQ(form.view.Year(), 2025);
    EXPECT_EQ(form.view.Month(), 1);
}

// A handler that fails is reported once, and neither the control nor its
// form stops working.
TEST_F(MonthViewControl, FailingHandlerIsReportedOnceAndTheFormGoesOn) {
    form.view.onSelChange = [] { throw std::runtime_error("no more months"); };
    form.view.setValue({2024, 3, 15});
    clickNext();
    ASSERT_EQ(messages.prompts.size(), 1u);
    EXPECT_NE(messages.prompts[0].find("frmcalendar.view_SelChange"), std::string::npos) << messages.prompts[0];
    EXPECT_NE(messages.prompts[0].find("no more months"), std::string::npos) << messages.prompts[0];
    EXPECT_EQ(form.view.Value(), (Date{2024, 4, 15}));

    int pressed = 0;
    form.button.onClick = [&] { ++pressed; };
    ::SendMessageW(form.buttonHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(pressed, 1);
    form.view.setValue({2030, 6, 1});
    EXPECT_TRUE(shows(form.viewHwnd(), 2030, 6, 1));
    EXPECT_TRUE(::IsWindowVisible(form.hwnd()));
    EXPECT_EQ(messages.prompts.size(), 1u);
}

TEST_F(MonthViewControl, FailingButtonHandlerIsReportedOnce) {
    form.button.onClick = [] { throw 42; };
    ::SendMessageW(form.buttonHwnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(messages.prompts.size(), 1u);
    EXPECT_NE(messages.prompts[0].find("frmcalendar.button_Click"), std::string::npos) << messages.prompts[0];
    ::SendMessageW(form.buttonHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(messages.prompts.size(), 2u);
    EXPECT_TRUE(::IsWindow(form.hwnd()));
}

}  // namespace
}  // namespace dv::test
