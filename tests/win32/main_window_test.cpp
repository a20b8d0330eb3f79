#include <cmath>
#include <optional>
#include <tuple>

#include "main_window_fixture.h"
#include "messages.h"

#include <shellapi.h>

namespace dv::test {
namespace {

// --- the two month views -------------------------------------------------

class MainWindowViews : public RealMainWindow {};

TEST_F(MainWindowViews, NextMonthViewFollowsARealArrowClick) {
    window.Show();
    window.mv1.setValue({2024, 11, 20});
    window.AdjDate();
    for (const auto& [year, month, nextYear, nextMonth] :
         {std::tuple{2024, 12, 2025, 1}, std::tuple{2025, 1, 2025, 2}}) {
        POINT arrow{};
        ASSERT_TRUE(findNextArrow(mv1Hwnd(), arrow));
        clickAt(mv1Hwnd(), arrow);
        pumpFor(std::chrono::milliseconds(50));
        EXPECT_EQ(window.mv1.Year(), year);
        EXPECT_EQ(window.mv1.Month(), month);
        const SYSTEMTIME next = currentSelection(mv3Hwnd());
        EXPECT_EQ(next.wYear, nextYear);
        EXPECT_EQ(next.wMonth, nextMonth);
        EXPECT_EQ(window.mv3.Value(), (Date{next.wYear, next.wMonth, next.wDay}));
    }
    EXPECT_TRUE(messages.prompts.empty());
}

TEST_F(MainWindowViews, BothColourSetsReachTheirControls) {
    window.Show();
    const auto views = {std::pair{&window.mv1, mv1Hwnd()}, std::pair{&window.mv3, mv3Hwnd()}};
    HWND plain = ::CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD, 0, 0, 200, 160, hwnd(), nullptr, instance(),
                                   nullptr);
    ASSERT_NE(plain, nullptr);
    for (const auto& [view, control] : views) {
        const MonthViewColors& c = view->colors();
        const std::pair<int, std::optional<unsigned>> parts[] = {
            {MCSC_TITLEBK, c.titleBack}, {MCSC_TITLETEXT, c.titleText},       {MCSC_MONTHBK, c.monthBack},
            {MCSC_TEXT, c.text},         {MCSC_TRAILINGTEXT, c.trailingText}, {MCSC_BACKGROUND, c.background}};
        for (const auto& [part, colour] : parts) {
            // A part without a colour of its own keeps what a plain control has.
            const auto expected = colour ? *colour : ::SendMessageW(plain, MCM_GETCOLOR, part, 0);
            EXPECT_EQ(::SendMessageW(control, MCM_GETCOLOR, part, 0), expected)
                << view->name() << " part " << part;
        }
    }
    ::DestroyWindow(plain);
}

// --- commands -----------------------------------------------------------------

// The message loop's dialog manager turns Esc and Enter into IDCANCEL and
// IDOK; they must not be taken for menu items such as Exit.
TEST_F(RealMainWindow, DialogKeyCommandsAreNoMenuItems) {
    window.Show();
    pumpFor(std::chrono::milliseconds(20));
    ASSERT_TRUE(window.iconRegistered());
    for (WPARAM id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDCLOSE, IDHELP})
        ::SendMessageW(hwnd(), WM_COMMAND, id, 0);
    MSG quit;
    EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the program was told to end";
    EXPECT_TRUE(window.iconRegistered());
    EXPECT_TRUE(::IsWindowVisible(hwnd()));

    chooseMenu(L"Minimise");
    EXPECT_FALSE(::IsWindowVisible(hwnd())) << "the menu no longer works";
}

// --- where it opens ----------------------------------------------------------

TEST_F(RealMainWindow, OpensAtTheBottomRightOfTheWorkArea) {
    window.Show();
    pumpFor(std::chrono::milliseconds(50));
    const int dpi = static_cast<int>(::GetDpiForWindow(hwnd()));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    RECT outer{}, client{};
    ::GetWindowRect(hwnd(), &outer);
    ::GetClientRect(hwnd(), &client);

    EXPECT_EQ(client.right, twipsToPx(2685, dpi));
    EXPECT_GE(client.bottom, twipsToPx(6975, dpi));
    RECT frame{0, 0, client.right, client.bottom};
    ::AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_STYLE)), FALSE,
                               static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE)),
                               static_cast<UINT>(dpi));
    EXPECT_EQ(outer.right - outer.left, frame.right - frame.left);
    EXPECT_GT(outer.bottom - outer.top, frame.bottom - frame.top) << "no room for the menu bar";

    const int margin = static_cast<int>(std::ceil(400.0 * dpi / 1440));
    const LONG bottom = std::min(monitor.rcWork.bottom, monitor.rcMonitor.bottom - margin);
    EXPECT_EQ(outer.right, monitor.rcWork.right);
    if (outer.bottom - outer.top <= bottom - monitor.rcWork.top)
        EXPECT_EQ(outer.bottom, bottom);
    else
        EXPECT_EQ(outer.top, monitor.rcWork.top);
}

// --- the notification icon ---------------------------------------------------

class TrayIcon : public RealMainWindow {
protected:
    void SetUp() override {
        window.Show();
        pumpFor(std::chrono::milliseconds(20));
        ASSERT_TRUE(window.iconRegistered()) << "the shell took no icon";
        chooseMenu(L"Minimise");
        ASSERT_FALSE(::IsWindowVisible(hwnd()));
        // Another window holds the foreground, so that taking it back shows.
        other_ = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                   instance(), nullptr);
        ::SetForegroundWindow(other_);
        pumpFor(std::chrono::milliseconds(20));
    }
    void TearDown() override {
        if (other_) ::DestroyWindow(other_);
    }

    // Version 4: the mouse message in the low word, the icon's id in the high.
    void iconSays(UINT mouseMessage) {
        ::SendMessageW(hwnd(), win32::kTrayCallbackMessage, 0, MAKELPARAM(mouseMessage, 1));
        pumpFor(std::chrono::milliseconds(50));
    }

    static bool iconKnown(HWND owner) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = owner;
        data.uID = 1;
        data.uFlags = NIF_TIP;
        ::wcscpy(data.szTip, L"Dayvane is running");
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }

    HWND other_ = nullptr;
};

class TrayIconRestores : public TrayIcon, public ::testing::WithParamInterface<UINT> {};

TEST_P(TrayIconRestores, HiddenWindowComesBackInFront) {
    iconSays(GetParam());
    EXPECT_TRUE(::IsWindowVisible(hwnd()));
    EXPECT_EQ(::GetForegroundWindow(), hwnd());
    EXPECT_TRUE(window.visible());
}

INSTANTIATE_TEST_SUITE_P(Buttons, TrayIconRestores, ::testing::Values(WM_LBUTTONUP, WM_RBUTTONUP));

class TrayIconIgnores : public TrayIcon, public ::testing::WithParamInterface<UINT> {};

TEST_P(TrayIconIgnores, WindowStaysHidden) {
    iconSays(GetParam());
    EXPECT_FALSE(::IsWindowVisible(hwnd()));
    EXPECT_FALSE(window.visible());
}

INSTANTIATE_TEST_SUITE_P(MouseActivity, TrayIconIgnores,
                         ::testing::Values(WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK));

TEST_F(TrayIcon, TaskbarCreatedAddsTheIconAgain) {
    ASSERT_TRUE(iconKnown(hwnd()));
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwnd();
    data.uID = 1;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    ASSERT_FALSE(iconKnown(hwnd()));

    ::SendMessageW(hwnd(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(iconKnown(hwnd()));
    // The icon is still the way back to the hidden window.
    iconSays(WM_LBUTTONUP);
    EXPECT_TRUE(::IsWindowVisible(hwnd()));
}

}  // namespace
}  // namespace dv::test
