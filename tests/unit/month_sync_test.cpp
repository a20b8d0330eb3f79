#include <functional>
#include <string>
#include <utility>

#include "main_window/month_sync.h"
#include "main_window_fixture.h"

namespace dv {
namespace {

class AdjDateEveryMonth : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(AdjDateEveryMonth, NextViewMovesToTheFollowingMonthKeepingItsDay) {
    const int month = GetParam();
    window.Show();
    window.mv3.setValue({2001, 1, 10});
    window.mv1.setValue({2023, month, 20});
    window.AdjDate();
    const Date expected = month == 12 ? Date{2024, 1, 10} : Date{2023, month + 1, 10};
    EXPECT_EQ(window.mv3.Value(), expected);
    EXPECT_EQ(shown(window.mv3).selection, expected);
    EXPECT_EQ(window.mv1.Value(), (Date{2023, month, 20}));
}

INSTANTIATE_TEST_SUITE_P(Months, AdjDateEveryMonth, ::testing::Range(1, 13));

struct SettleCase {
    Date mv1, mv3Before, mv3After;
};

class AdjDateSettles : public MainWindowTest, public ::testing::WithParamInterface<SettleCase> {};

TEST_P(AdjDateSettles, DayTheTargetMonthLacksSettlesOnItsLastDay) {
    const SettleCase& c = GetParam();
    window.Show();
    window.mv3.setValue(c.mv3Before);
    window.mv1.setValue(c.mv1);
    window.AdjDate();
    EXPECT_EQ(window.mv3.Value(), c.mv3After);
    EXPECT_EQ(window.mv1.Value(), c.mv1);
}

INSTANTIATE_TEST_SUITE_P(Days, AdjDateSettles,
                         ::testing::Values(SettleCase{{2023, 3, 31}, {2001, 1, 31}, {2023, 4, 30}},
                                           SettleCase{{2024, 1, 31}, {2001, 1, 31}, {2024, 2, 29}},
                                           SettleCase{{2023, 1, 31}, {2001, 1, 31}, {2023, 2, 28}},
                                           SettleCase{{2023, 1, 31}, {2001, 1, 29}, {2023, 2, 28}},
                                           SettleCase{{2023, 2, 28}, {2001, 1, 31}, {2023, 3, 31}},
                                           SettleCase{{2023, 12, 31}, {2001, 1, 31}, {2024, 1, 31}},
                                           SettleCase{{2023, 5, 31}, {2001, 1, 30}, {2023, 6, 30}},
                                           // Year and month move together: 29 survives the trip
                                           // through a February the target year lacks it in.
                                           SettleCase{{2023, 2, 10}, {2024, 2, 29}, {2023, 3, 29}}));

TEST_F(MainWindowTest, AtTheLastMonthOfTheRangeTheNextViewStaysOnIt) {
    window.Show();
    shown(window.mv1).pick({9999, 12, 20});
    EXPECT_EQ(window.mv1.Value(), (Date{9999, 12, 20}));
    EXPECT_EQ(std::pair(window.mv3.Year(), window.mv3.Month()), std::pair(9999, 12));
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

TEST_F(MainWindowTest, RefreshBringsBothViewsBackToToday) {
    fakes.clock.time.date = {2024, 11, 30};
    window.Show();
    shown(window.mv1).pick({1990, 6, 6});
    shown(window.mv3).pick({1995, 2, 2});
    window.mnurefresh.click();
    EXPECT_EQ(window.mv1.Value(), (Date{2024, 11, 30}));
    EXPECT_EQ(std::pair(window.mv3.Year(), window.mv3.Month()), std::pair(2024, 12));
}

struct Mv1Event {
    const char* name;
    std::function<void(MainWindow&, fakes::FakeMonthViewPeer&)> fire;
};

class Mv1EventResyncs : public MainWindowTest, public ::testing::WithParamInterface<Mv1Event> {};

TEST_P(Mv1EventResyncs, NextViewReturnsToTheMonthAfterTheMainView) {
    fakes.clock.time.date = {2024, 6, 10};
    window.Show();
    shown(window.mv3).pick({2031, 8, 8});
    GetParam().fire(window, shown(window.mv1));
    const YearMonth expected = monthAfter(window.mv1.Year(), window.mv1.Month());
    EXPECT_EQ((YearMonth{window.mv3.Year(), window.mv3.Month()}), expected);
    EXPECT_EQ(shown(window.mv3).selection, window.mv3.Value());
}

INSTANTIATE_TEST_SUITE_P(
    Events, Mv1EventResyncs,
    ::testing::Values(Mv1Event{"Click", [](MainWindow& w, auto&) { w.mv1.click(); }},
                      Mv1Event{"DblClick", [](MainWindow& w, auto&) { w.mv1.dblClick(); }},
                      Mv1Event{"SelChange", [](MainWindow&, auto& mv1) { mv1.pick({2024, 12, 24}); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, NextViewMovesFreelyWithoutTouchingTheMainView) {
    window.Show();
    const Date mainBefore = window.mv1.Value();
    const int writesBefore = shown(window.mv1).selectionWrites;
    shown(window.mv3).pick({2031, 8, 8});
    window.mv3.click();
    window.mv3.dblClick();
    EXPECT_EQ(window.mv3.Value(), (Date{2031, 8, 8}));
    EXPECT_EQ(window.mv1.Value(), mainBefore);
    EXPECT_EQ(shown(window.mv1).selectionWrites, writesBefore);
}

}  // namespace
}  // namespace dv
