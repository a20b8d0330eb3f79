#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "assets/resource_ids.h"
#include "fakes/fake_services.h"
#include "main_window/clock_caption.h"
#include "main_window/main_window.h"
#include "services.h"
#include "support.h"
#include "text.h"

namespace dv::test {
namespace {

// The real main window on a clock the test sets.
class MainWindowOnAClock : public ::testing::Test {
protected:
    void SetUp() override {
        window.Show();
        pumpFor(std::chrono::milliseconds(20));
    }
    HWND hwnd() const { return reinterpret_cast<HWND>(window.hWnd()); }
    std::vector<HFONT> viewFonts() const {
        std::vector<HFONT> fonts;
        for (HWND view : childrenOfClass(hwnd(), MONTHCAL_CLASSW))
            fonts.push_back(reinterpret_cast<HFONT>(::SendMessageW(view, WM_GETFONT, 0, 0)));
        return fonts;
    }

    RecordingMessageBox messages;
    fakes::FakeClock clock;
    win32::PrimaryScreen screen;
    win32::ShellNotifyIcon notifyIcon{instance(), IDI_DAYVANE};
    win32::MessageLoop loop;
    MainWindow window{{toolkit(), messages}, {clock, screen, notifyIcon, loop}, {}};
};

void display(HWND hwnd, DWORD state) {
    struct {
        GUID setting;
        DWORD length;
        DWORD data;
    } change{GUID_SESSION_DISPLAY_STATUS, sizeof(DWORD), state};
    ::SendMessageW(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&change));
}

TEST_F(MainWindowOnAClock, TheClockRunsOnlyWhileSeenAndIsRightTheMomentItIsSeenAgain) {
    const struct {
        const char* what;
        std::function<void(HWND)> change;
        bool seen;
    } steps[] = {
        {"hidden", [](HWND h) { ::ShowWindow(h, SW_HIDE); }, false},
        {"shown", [](HWND h) { ::ShowWindow(h, SW_SHOW); }, true},
        {"minimised", [](HWND h) { ::ShowWindow(h, SW_MINIMIZE); }, false},
        {"restored", [](HWND h) { ::ShowWindow(h, SW_RESTORE); }, true},
        {"minimised again", [](HWND h) { ::ShowWindow(h, SW_MINIMIZE); }, false},
        {"and hidden", [](HWND h) { ::ShowWindow(h, SW_HIDE); }, false},
        {"shown restored", [](HWND h) { ::ShowWindow(h, SW_RESTORE); }, true},
        {"locked", [](HWND h) { ::SendMessageW(h, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0); }, false},
        {"unlocked", [](HWND h) { ::SendMessageW(h, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0); }, true},
        {"display off", [](HWND h) { display(h, 0); }, false},
        {"display on", [](HWND h) { display(h, 1); }, true},
        {"display dimmed", [](HWND h) { display(h, 2); }, true},
    };
    bool seen = true;
    for (const auto& step : steps) {
        clock.time.minute = (clock.time.minute + 1) % 60;
        step.change(hwnd());
        EXPECT_EQ(window.Timer1.Enabled(), step.seen) << step.what;
        if (step.seen && !std::exchange(seen, step.seen)) {
            EXPECT_EQ(win32::narrow(windowText(hwnd())), clockCaption(clock.longTimeText(clock.time))) << step.what;
        }
        seen = step.seen;
    }
}

TEST_F(MainWindowOnAClock, BothMonthViewsKeepOneFontAcrossLoads) {
    const std::vector<HFONT> first = viewFonts();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], first[1]);
    window.Unload();
    EXPECT_EQ(::GetObjectType(first[0]), static_cast<DWORD>(OBJ_FONT)) << "the font went with the window";
    window.Show();
    EXPECT_EQ(viewFonts(), first);
}

}  // namespace
}  // namespace dv::test
