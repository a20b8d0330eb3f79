#include <functional>

#include "main_window_fixture.h"

// The clock wakes the program only while the window can be seen, and the
// caption is right the moment it is seen again.
namespace dv {
namespace {

struct Unseen {
    const char* name;
    std::function<void(MainWindow&)> leave, comeBack;  // each as the user and the peer do it
    bool shows;                                        // coming back shows the window
};

class ClockSight : public MainWindowTest, public ::testing::WithParamInterface<Unseen> {};

// As the peer reports it.
void sight(MainWindow& w, Sight s) { w.peerEvent(FormEvent::SightChanged, static_cast<int>(s)); }

TEST_P(ClockSight, NoWakeUpsWhileUnseenAndTheTimeRightWhenSeenAgain) {
    window.Show();
    sight(window, Sight::Seen);
    fakes::FakeTimerPeer& timer = *fakes.toolkit.timer(window.Timer1);
    ASSERT_TRUE(timer.running());

    GetParam().leave(window);
    EXPECT_FALSE(timer.running());
    fakes.clock.time.minute += 7;
    fakes.clock.time.millisecond = 400;
    const int armed = timer.armCount;
    tick(3);
    EXPECT_EQ(timer.armCount, armed) << "woke while unseen";

    GetParam().comeBack(window);
    if (GetParam().shows) {
        EXPECT_EQ(screen().captionWhenShown, "    Time now is  09:12:03") << "stale when shown";
    }
    EXPECT_EQ(screen().caption, "    Time now is  09:12:03");
    EXPECT_TRUE(timer.running());
    EXPECT_EQ(timer.interval, 601);  // just after the next second
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClockSight,
    ::testing::Values(
        Unseen{"HiddenToTheTrayAndBackByTheIcon",
               [](MainWindow& w) {
                   w.mnuminimise.click();
                   sight(w, Sight::Unseen);
               },
               [](MainWindow& w) {
                   w.peerEvent(FormEvent::TrayNotify, static_cast<int>(TrayMouse::LeftUp));
                   sight(w, Sight::Seen);
               },
               true},
        // Minimised, the session locked or the display off: the peer says so.
        Unseen{"OutOfSightWhileShown", [](MainWindow& w) { sight(w, Sight::Unseen); },
               [](MainWindow& w) { sight(w, Sight::Seen); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dv
