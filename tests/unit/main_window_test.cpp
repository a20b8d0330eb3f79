#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "assets/resource_ids.h"
#include "main_window/clock_caption.h"
#include "main_window/month_sync.h"
#include "main_window_fixture.h"

namespace dv {
namespace {

TEST_F(MainWindowTest, DesignOfTheWindowAndItsControls) {
    const FormDesign& d = window.design();
    EXPECT_EQ(d.clientWidth, 2685);
    EXPECT_EQ(d.clientHeight, 6975);
    EXPECT_EQ(d.border, BorderStyle::FixedToolWindow);
    EXPECT_FALSE(d.showInTaskbar);
    EXPECT_EQ(d.iconResource, IDI_DAYVANE);
    EXPECT_EQ(window.Picture1.imageResource(), IDR_PHOTO);

    // Name, left, top, width, height (twips), tab index; the timer takes no focus.
    using Place = std::tuple<std::string, int, int, int, int, int>;
    std::vector<Place> places;
    for (const Control* c : window.controls()) {
        const ControlDesign& cd = c->design();
        if (cd.tabIndex >= 0) places.emplace_back(cd.name, cd.box.left, cd.box.top, cd.box.width, cd.box.height, cd.tabIndex);
    }
    const std::vector<Place> expected = {
        {"Command1", 3960, 120, 615, 375, 0},
        {"mv1", 0, 2160, 2700, 2370, 1},
        {"mv3", 0, 4560, 2700, 2370, 2},
        {"Picture1", 0, 0, 2700, 2175, 4},
    };
    EXPECT_EQ(places, expected);
}

TEST_F(MainWindowTest, MenuCaptionsOrderAndParents) {
    std::vector<std::pair<std::string, std::string>> menu;
    for (const MenuItem* item : window.menuItems())
        menu.emplace_back(item->caption(), item->parent() ? item->parent()->caption() : "");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"File", ""},
        {"Exit", "File"},
        {"Option", ""},
        {"Add to start up", "Option"},
        {"Create Shortcut", "Option"},
        {"Refresh Dayvane", "Option"},
        {"Add own photo", "Option"},
        {"Minimise", ""},
        {"About", ""},
    };
    EXPECT_EQ(menu, expected);
}

TEST_F(MainWindowTest, MenuOpensTheOtherWindows) {
    window.Show();
    window.mnustartup.click();
    window.mnushortcut.click();
    window.mnuphoto.click();
    window.mnuabout.click();
    EXPECT_EQ(optionsOpened, 2);
    EXPECT_EQ(readmeOpened, 1);
    EXPECT_EQ(aboutOpened, 1);
}

TEST(MainWindowWithoutOtherWindows, MenuItemsDoNothingAndReportNothing) {
    fakes::FakePlatform fakes;
    MainWindow window(fakes.env(), {fakes.clock, fakes.screen, fakes.notifyIcon, fakes.application}, {});
    window.Show();
    for (MenuItem* item : {&window.mnustartup, &window.mnushortcut, &window.mnuphoto, &window.mnuabout}) item->click();
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

TEST_F(MainWindowTest, LoadPlacesRegistersAndShowsTodayAndTheTime) {
    fakes.clock.time = {.date = {2024, 3, 15}, .hour = 9, .minute = 5, .second = 3, .millisecond = 250};
    window.Show();

    EXPECT_TRUE(screen().visible);
    EXPECT_EQ(screen().right(), 1024);
    EXPECT_EQ(screen().bottom(), 728);
    EXPECT_EQ(fakes.notifyIcon.addCalls, 1);
    EXPECT_EQ(fakes.notifyIcon.tooltip, "Dayvane is running");
    EXPECT_EQ(fakes.notifyIcon.owner, screen().handle());
    EXPECT_TRUE(window.iconRegistered());

    EXPECT_EQ(window.mv1.Value(), (Date{2024, 3, 15}));
    EXPECT_EQ(shown(window.mv1).selection, (Date{2024, 3, 15}));
    EXPECT_EQ(std::pair(window.mv3.Year(), window.mv3.Month()), std::pair(2024, 4));
    EXPECT_EQ(shown(window.mv3).selection, window.mv3.Value());

    EXPECT_EQ(screen().caption, "    Time now is  09:05:03");
    EXPECT_EQ(fakes.toolkit.timer(window.Timer1)->interval, 751);
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

TEST_F(MainWindowTest, EachTickShowsTheNewSecondAndWaitsForTheNext) {
    window.Show();
    fakes.clock.time = {.date = {2024, 3, 15}, .hour = 23, .minute = 59, .second = 59, .millisecond = 2};
    tick();
    EXPECT_EQ(screen().caption, "    Time now is  23:59:59");
    EXPECT_EQ(fakes.toolkit.timer(window.Timer1)->interval, 999);
}

TEST(ClockCaption, WaitEndsJustPastTheNextSecond) {
    for (const auto& [ms, wait] : std::vector<std::pair<int, int>>{{0, 1001}, {1, 1000}, {500, 501}, {999, 2}})
        EXPECT_EQ(msToNextSecond({.date = {}, .millisecond = ms}), wait) << ms;
}

class LoadOnDay : public MainWindowTest, public ::testing::WithParamInterface<std::pair<Date, YearMonth>> {};

TEST_P(LoadOnDay, NextViewShowsTheMonthAfterToday) {
    fakes.clock.time.date = GetParam().first;
    window.Show();
    EXPECT_EQ(window.mv1.Value(), GetParam().first);
    EXPECT_EQ((YearMonth{window.mv3.Year(), window.mv3.Month()}), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Days, LoadOnDay,
                         ::testing::Values(std::pair(Date{2024, 3, 15}, YearMonth{2024, 4}),
                                           std::pair(Date{2024, 12, 1}, YearMonth{2025, 1}),
                                           std::pair(Date{2023, 12, 31}, YearMonth{2024, 1}),
                                           std::pair(Date{2024, 1, 31}, YearMonth{2024, 2})));

}  // namespace
}  // namespace dv
