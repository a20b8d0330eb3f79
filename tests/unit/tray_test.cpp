#include <functional>
#include <string>

#include "main_window_fixture.h"

namespace dv {
namespace {

struct TrayMessage {
    const char* name;
    TrayMouse mouse;
    bool restores;
};

class TrayNotify : public MainWindowTest, public ::testing::WithParamInterface<TrayMessage> {};

TEST_P(TrayNotify, OnlyAFinishedClickOrKeySelectRestores) {
    window.Show();
    window.Command1.click();
    ASSERT_FALSE(screen().visible);
    window.peerEvent(FormEvent::TrayNotify, static_cast<int>(GetParam().mouse));
    EXPECT_EQ(screen().visible, GetParam().restores);
}

// NIN_SELECT always comes with a button-up; restoring on both would be twice.
INSTANTIATE_TEST_SUITE_P(Messages, TrayNotify,
                         ::testing::Values(TrayMessage{"LeftButtonUp", TrayMouse::LeftUp, true},
                                           TrayMessage{"RightButtonUp", TrayMouse::RightUp, true},
                                           TrayMessage{"KeySelect", TrayMouse::KeySelect, true},
                                           TrayMessage{"Other", TrayMouse::Other, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HideCase {
    const char* name;
    std::function<void(MainWindow&)> trigger;
    bool iconAdded;
};

class HideToTray : public MainWindowTest, public ::testing::WithParamInterface<HideCase> {};

TEST_P(HideToTray, HidesWithAnIconAndMinimisesWithout) {
    fakes.notifyIcon.addResult = GetParam().iconAdded;
    window.Show();
    GetParam().trigger(window);
    if (GetParam().iconAdded) {
        EXPECT_FALSE(screen().visible);
        EXPECT_FALSE(window.visible());
    } else {
        // Hidden without an icon, nothing could bring the window back.
        EXPECT_TRUE(screen().visible);
        EXPECT_EQ(screen().state, WindowState::Minimized);
    }

    window.peerEvent(FormEvent::RestoreRequested);
    EXPECT_TRUE(screen().visible);
    EXPECT_EQ(screen().state, WindowState::Normal);
    EXPECT_EQ(window.windowState(), WindowState::Normal);
    EXPECT_GE(screen().frontCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Triggers, HideToTray,
    ::testing::Values(HideCase{"Command1WithIcon", [](MainWindow& w) { w.Command1.click(); }, true},
                      HideCase{"Command1WithoutIcon", [](MainWindow& w) { w.Command1.click(); }, false},
                      HideCase{"MenuWithIcon", [](MainWindow& w) { w.mnuminimise.click(); }, true},
                      HideCase{"MenuWithoutIcon", [](MainWindow& w) { w.mnuminimise.click(); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, RestoreUnminimisesAWindowTheUserMinimised) {
    window.Show();
    screen().state = WindowState::Minimized;
    window.peerStateChanged(WindowState::Minimized);
    window.peerEvent(FormEvent::TrayNotify, static_cast<int>(TrayMouse::LeftUp));
    EXPECT_EQ(screen().state, WindowState::Normal);
}

TEST_F(MainWindowTest, FailedIconIsTriedAgainEveryFiveTicks) {
    fakes.notifyIcon.addResult = false;
    window.Show();
    ASSERT_EQ(fakes.notifyIcon.addCalls, 1);
    tick(4);
    EXPECT_EQ(fakes.notifyIcon.addCalls, 1);
    tick();
    EXPECT_EQ(fakes.notifyIcon.addCalls, 2);
    tick(4);
    EXPECT_EQ(fakes.notifyIcon.addCalls, 2);

    fakes.notifyIcon.addResult = true;
    tick();
    EXPECT_EQ(fakes.notifyIcon.addCalls, 3);
    EXPECT_TRUE(window.iconRegistered());
    tick(10);
    EXPECT_EQ(fakes.notifyIcon.addCalls, 3);
}

TEST_F(MainWindowTest, RestartedShellGetsTheIconAgain) {
    window.Show();
    fakes.notifyIcon.present = false;  // the shell forgot it
    window.peerEvent(FormEvent::TaskbarCreated);
    EXPECT_EQ(fakes.notifyIcon.addCalls, 2);
    EXPECT_TRUE(fakes.notifyIcon.present);
    EXPECT_EQ(fakes.notifyIcon.owner, screen().handle());
}

struct EndCase {
    const char* name;
    std::function<void(MainWindow&)> trigger;
    bool iconAdded;
};

class EndProgram : public MainWindowTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndProgram, RemovesARegisteredIconAndQuits) {
    fakes.notifyIcon.addResult = GetParam().iconAdded;
    window.Show();
    GetParam().trigger(window);
    EXPECT_EQ(fakes.application.quitCalls, 1);
    EXPECT_EQ(fakes.notifyIcon.removeCalls, GetParam().iconAdded ? 1 : 0);
    EXPECT_FALSE(fakes.notifyIcon.present);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EndProgram,
    ::testing::Values(EndCase{"ExitWithIcon", [](MainWindow& w) { w.mnuexit.click(); }, true},
                      EndCase{"ExitWithoutIcon", [](MainWindow& w) { w.mnuexit.click(); }, false},
                      EndCase{"CloseBoxWithIcon", [](MainWindow& w) { w.peerEvent(FormEvent::QueryUnload); }, true},
                      EndCase{"CloseBoxWithoutIcon", [](MainWindow& w) { w.peerEvent(FormEvent::QueryUnload); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dv
