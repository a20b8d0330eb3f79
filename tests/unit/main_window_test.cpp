#include <gtest/gtest.h>

#include <tuple>

#include "fakes/fake_services.h"
#include "main_window/main_window.h"
#include "main_window/month_sync.h"
#include "main_window/placement.h"

namespace dv {
namespace {

struct WindowOnFakes {
    fakes::FakePlatform fakes;
    MainWindow window{fakes.env(), {fakes.clock, fakes.screen, fakes.notifyIcon, fakes.application}, {}};

    fakes::FakeFormPeer& screen() { return *fakes.toolkit.form(window); }
    fakes::FakeControlPeer& shown(const MonthView& view) { return *fakes.toolkit.peer(view); }
    YearMonth nextViewMonth() const { return {window.mv3.Year(), window.mv3.Month()}; }
    // Seconds pass on the window's clock timer.
    void tick() { fakes.toolkit.peer(window.Timer1)->elapse(); }
};

class MainWindowTest : public ::testing::Test, public WindowOnFakes {};

TEST_F(MainWindowTest, LoadPlacesRegistersAndShowsTodayAndTheTime) {
    window.Show();
    EXPECT_EQ(std::tuple(screen().visible, screen().topLeft), std::tuple(true, Point{1024 - 185, 728 - 507}));
    EXPECT_EQ(std::tuple(fakes.notifyIcon.addCalls, fakes.notifyIcon.owner), std::tuple(1, screen().handle()));
    EXPECT_EQ(shown(window.mv1).selection, fakes.clock.time.date);
    EXPECT_EQ(nextViewMonth(), (YearMonth{2024, 4}));
    EXPECT_EQ(screen().caption, "    Time now is  09:05:03");
    EXPECT_EQ(fakes.toolkit.peer(window.Timer1)->interval, 751);
    fakes.clock.time = {.date = {2024, 3, 15}, .hour = 23, .minute = 59, .second = 59, .millisecond = 2};
    tick();
    EXPECT_EQ(screen().caption, "    Time now is  23:59:59");
    EXPECT_EQ(fakes.toolkit.peer(window.Timer1)->interval, 999);
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

// At 96 dpi the 400 twips margin is 26.7 px, kept at 27: bottom at most 741.
TEST(Placement, BottomRightOfTheWorkAreaAboveTheScreenBottomMargin) {
    constexpr Rect kScreen{0, 0, 1024, 768};
    constexpr Size kOuter{185, 507};
    const struct { const char* name; ScreenInfo screen; Size outer; Point expected; } cases[] = {
        {"NoTaskbar", {kScreen, kScreen, 96}, kOuter, {839, 741 - 507}},
        {"TaskbarRight", {kScreen, {0, 0, 960, 768}, 96}, kOuter, {960 - 185, 741 - 507}},
        {"TooShort", {{0, 0, 640, 480}, {0, 30, 640, 480}, 96}, kOuter, {640 - 185, 30}},
        {"TooNarrow", {{0, 0, 160, 600}, {20, 0, 160, 560}, 96}, kOuter, {20, 560 - 507}},
        {"Dpi120", {{0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 120}, {231, 632}, {1049, 1024 - 34 - 632}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(placeBottomRight(c.outer, c.screen), c.expected);
    }
}

// A window the program placed follows the corner; one the user dragged moves only to be whole again.
TEST(DisplayChange, MovesOnlyAWindowStillInTheProgramsPlaceOrNoLongerWhole) {
    const struct { const char* name; std::optional<Point> draggedTo; Rect workArea; Point expected; } cases[] = {
        {"ProgramPlacedFollowsTheCorner", {}, {0, 0, 1600, 1160}, {1415, 1160 - 507}},
        {"DraggedAndWholeStays", Point{100, 50}, {0, 0, 1600, 1160}, {100, 50}},
        {"DraggedOffTheBottomComesJustBack", Point{100, 600}, {0, 0, 1600, 1000}, {100, 493}},
        {"DraggedPastTheRightComesJustBack", Point{1500, 100}, {0, 0, 1600, 1200}, {1415, 100}},
        {"TooSmallAWorkAreaKeepsTheTopLeftOnIt", Point{9, 9}, {20, 30, 200, 400}, {20, 30}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowOnFakes w;  // its window is 185 x 507 px
        w.window.Show();
        if (c.draggedTo) {
            w.window.moveTo(*c.draggedTo);
            w.window.peerEvent(FormEvent::MovedByUser);
        }
        w.fakes.screen.info = {.monitor = {0, 0, 1600, 1200}, .workArea = c.workArea, .dpi = 96};
        w.window.peerEvent(FormEvent::DisplayChanged);
        EXPECT_EQ(w.window.position(), c.expected);
    }
}

// The clock wakes the program only while the window can be seen; seen again, the caption is right at once.
TEST_F(MainWindowTest, ClockSleepsOutOfSightAndTheFirstFrameSeenShowsTheTimeNow) {
    const auto sight = [&](Sight s) { window.peerEvent(FormEvent::SightChanged, static_cast<int>(s)); };
    window.Show();
    sight(Sight::Unseen);
    EXPECT_FALSE(fakes.toolkit.peer(window.Timer1)->running());
    fakes.clock.time = {.date = {2024, 3, 15}, .hour = 9, .minute = 12, .second = 3, .millisecond = 400};
    sight(Sight::Seen);
    EXPECT_EQ(screen().caption, "    Time now is  09:12:03");
    EXPECT_EQ(fakes.toolkit.peer(window.Timer1)->interval, 601);  // just after the next second
    window.mnuminimise.click();
    sight(Sight::Unseen);
    fakes.clock.time.minute += 7;
    window.peerEvent(FormEvent::TrayNotify, static_cast<int>(TrayMouse::LeftUp));
    EXPECT_EQ(screen().captionWhenShown, "    Time now is  09:19:03");
}

TEST(TrayNotify, OnlyAFinishedClickOrKeySelectRestoresAHiddenOrMinimisedWindow) {
    const struct { const char* name; TrayMouse mouse; bool restores; } cases[] = {
        {"LeftUp", TrayMouse::LeftUp, true}, {"RightUp", TrayMouse::RightUp, true},
        {"KeySelect", TrayMouse::KeySelect, true}, {"Other", TrayMouse::Other, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowOnFakes t;
        t.window.Show();
        t.screen().state = WindowState::Minimized;  // by the user
        t.window.peerStateChanged(WindowState::Minimized);
        t.window.Command1.click();
        t.window.peerEvent(FormEvent::TrayNotify, static_cast<int>(c.mouse));
        EXPECT_EQ(t.screen().visible, c.restores);
        EXPECT_EQ(t.screen().state, c.restores ? WindowState::Normal : WindowState::Minimized);
    }
}

// Without an icon a hidden window could not come back: it minimises instead.
TEST(HideAndEnd, CommandsBehaveByWhetherTheIconIsThere) {
    const struct { const char* name; void (*run)(MainWindow&); bool ends; } cases[] = {
        {"Command1", [](MainWindow& w) { w.Command1.click(); }, false},
        {"Exit", [](MainWindow& w) { w.mnuexit.click(); }, true},
        {"CloseBox", [](MainWindow& w) { w.peerEvent(FormEvent::QueryUnload); }, true}};
    for (const auto& c : cases) {
        for (bool icon : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.name << (icon ? " with" : " without") << " an icon");
            WindowOnFakes t;
            t.fakes.notifyIcon.addResult = icon;
            t.window.Show();
            c.run(t.window);
            EXPECT_EQ(t.fakes.application.quitCalls, c.ends ? 1 : 0);
            EXPECT_EQ(t.fakes.notifyIcon.removeCalls, c.ends && icon ? 1 : 0);
            EXPECT_EQ(t.window.iconRegistered(), icon && !c.ends);
            if (c.ends) continue;
            const WindowState hidden = icon ? WindowState::Normal : WindowState::Minimized;
            EXPECT_EQ(std::tuple(t.window.visible(), t.screen().visible, t.screen().state),
                      std::tuple(!icon, !icon, hidden));
            t.window.peerEvent(FormEvent::RestoreRequested);  // as a second start of the program asks
            const auto normal = std::tuple(true, WindowState::Normal, WindowState::Normal);
            EXPECT_EQ(std::tuple(t.screen().visible, t.screen().state, t.window.windowState()), normal);
            EXPECT_GE(t.screen().frontCount, 1);
        }
    }
}

TEST_F(MainWindowTest, FailedIconIsTriedAgainEveryFiveTicksAndARestartedShellGetsItAgain) {
    fakes.notifyIcon.addResult = false;
    window.Show();
    for (int calls : {1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3}) {
        fakes.notifyIcon.addResult = calls == 3;  // the second retry succeeds
        tick();
        EXPECT_EQ(fakes.notifyIcon.addCalls, calls);
    }
    EXPECT_TRUE(window.iconRegistered());
    fakes.notifyIcon.present = false;  // the shell forgot it
    window.peerEvent(FormEvent::TaskbarCreated);
    const auto& icon = fakes.notifyIcon;
    EXPECT_EQ(std::tuple(icon.addCalls, icon.present, icon.owner), std::tuple(4, true, screen().handle()));
}

// ---- The next-month view follows the main view ----

TEST_F(MainWindowTest, NextViewMovesToTheFollowingMonthAndItsDaySettles) {
    struct Case { Date mv1, mv3Before, mv3After; };
    std::vector<Case> cases;
    for (int month = 1; month <= 11; ++month) cases.push_back({{2023, month, 20}, {2001, 1, 9}, {2023, month + 1, 9}});
    cases.insert(cases.end(), {{{2023, 12, 20}, {2001, 1, 10}, {2024, 1, 10}},
                               {{2023, 3, 31}, {2001, 1, 31}, {2023, 4, 30}},
                               {{2024, 1, 31}, {2001, 1, 31}, {2024, 2, 29}},
                               {{2023, 1, 31}, {2001, 1, 29}, {2023, 2, 28}},
                               {{2023, 2, 28}, {2001, 1, 31}, {2023, 3, 31}},
                               // Year and month move together: 29 survives the trip
                               // through a February the target year lacks it in.
                               {{2023, 2, 10}, {2024, 2, 29}, {2023, 3, 29}},
                               {{9999, 12, 20}, {2001, 1, 10}, {9999, 12, 31}}});  // the range ends
    window.Show();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mv1.year << "-" << c.mv1.month << "-" << c.mv1.day);
        window.mv3.setValue(c.mv3Before);
        window.mv1.setValue(c.mv1);
        window.AdjDate();
        EXPECT_EQ(std::tuple(window.mv3.Value(), *shown(window.mv3).selection), std::tuple(c.mv3After, c.mv3After));
        EXPECT_EQ(window.mv1.Value(), c.mv1);
    }
}

// The next view's own events move nothing.
TEST_F(MainWindowTest, EveryEventOfTheMainViewAndRefreshBringTheNextViewBack) {
    const struct { const char* name; void (*fire)(WindowOnFakes&); YearMonth expected; } cases[] = {
        {"Click", [](WindowOnFakes& t) { t.window.mv1.click(); }, {2024, 4}},
        {"DblClick", [](WindowOnFakes& t) { t.window.mv1.dblClick(); }, {2024, 4}},
        {"SelChange", [](WindowOnFakes& t) { t.shown(t.window.mv1).pick({2024, 12, 24}); }, {2025, 1}},
        {"NextViewClick", [](WindowOnFakes& t) { t.window.mv3.click(); }, {2031, 8}},
        {"NextViewDblClick", [](WindowOnFakes& t) { t.window.mv3.dblClick(); }, {2031, 8}},
        {"Refresh", [](WindowOnFakes& t) { t.window.mnurefresh.click(); }, {2024, 4}}};
    window.Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        shown(window.mv1).pick({2024, 3, 1});
        shown(window.mv3).pick({2031, 8, 8});
        c.fire(*this);
        EXPECT_EQ(nextViewMonth(), c.expected);
        EXPECT_EQ(shown(window.mv3).selection, window.mv3.Value());
    }
    EXPECT_EQ(window.mv1.Value(), fakes.clock.time.date) << "Refresh brings the main view back to today";
}

}  // namespace
}  // namespace dv
