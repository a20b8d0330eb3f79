#include "main_window_fixture.h"

// The clock wakes the program only while the window can be seen, and the
// caption is right the moment it is seen again.
namespace dv {
namespace {

class ClockSight : public MainWindowTest {
protected:
    void sight(Sight s) { window.peerEvent(FormEvent::SightChanged, static_cast<int>(s)); }  // as the peer reports
    const fakes::FakeTimerPeer& timer() { return *fakes.toolkit.timer(window.Timer1); }
};

// Minimised, the session locked or the display off: the peer says so.
TEST_F(ClockSight, SleepsOutOfSightAndIsRightWhenSeenAgain) {
    window.Show();
    sight(Sight::Unseen);
    EXPECT_FALSE(timer().running());
    fakes.clock.time = {.date = {2024, 3, 15}, .hour = 9, .minute = 12, .second = 3, .millisecond = 400};
    sight(Sight::Seen);
    EXPECT_EQ(screen().caption, "    Time now is  09:12:03");
    EXPECT_EQ(timer().interval, 601);  // just after the next second
}

TEST_F(ClockSight, BackFromTheTrayTheFirstFrameShowsTheTimeNow) {
    window.Show();
    window.mnuminimise.click();
    sight(Sight::Unseen);
    fakes.clock.time.minute += 7;
    window.peerEvent(FormEvent::TrayNotify, static_cast<int>(TrayMouse::LeftUp));
    EXPECT_TRUE(screen().visible);
    EXPECT_EQ(screen().captionWhenShown, "    Time now is  09:12:03");
}

}  // namespace
}  // namespace dv
