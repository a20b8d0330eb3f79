#include <gtest/gtest.h>

#include <algorithm>
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

    RecordingMessageBox messages;
    fakes::FakeClock clock;
    win32::PrimaryScreen screen;
    win32::ShellNotifyIcon notifyIcon{instance(), IDI_DAYVANE};
    win32::MessageLoop loop;
    MainWindow window{{toolkit(), messages}, {clock, screen, notifyIcon, loop}, {}};
};

void display(HWND hwnd, DWORD state) {  // as a POWERBROADCAST_SETTING
    struct { GUID setting; DWORD length, data; } change{GUID_SESSION_DISPLAY_STATUS, sizeof(DWORD), state};
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
    for (bool wasSeen = true; const auto& step : steps) {
        clock.time.minute = (clock.time.minute + 1) % 60;
        step.change(hwnd());
        EXPECT_EQ(window.Timer1.Enabled(), step.seen) << step.what;
        if (step.seen && !std::exchange(wasSeen, step.seen)) {
            EXPECT_EQ(win32::narrow(windowText(hwnd())), clockCaption(clock.longTimeText(clock.time))) << step.what;
        }
        wasSeen = step.seen;
    }
}

// Wine's month calendar keeps a copy of every font it is given: one per view and load.
std::vector<HFONT> fontsGiven;
LRESULT CALLBACK recordFonts(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETFONT && className(call->hwnd) == MONTHCAL_CLASSW)
        fontsGiven.push_back(reinterpret_cast<HFONT>(call->wParam));
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindowOnAClock, BothMonthViewsGetOneFontOnceAcrossLoads) {
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, recordFonts, nullptr, ::GetCurrentThreadId());
    for (int load = 0; load < 2; ++load) {
        window.Unload();
        window.Show();
    }
    ::UnhookWindowsHookEx(hook);
    ASSERT_EQ(fontsGiven.size(), 4u);
    EXPECT_EQ(std::count(fontsGiven.begin(), fontsGiven.end(), fontsGiven[0]), 4);
}

}  // namespace
}  // namespace dv::test
