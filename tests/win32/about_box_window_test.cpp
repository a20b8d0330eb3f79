#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../fakes/fake_about.h"
#include "about_box/about_box.h"
#include "about_services.h"
#include "support.h"
#include "text.h"

namespace dv::test {
namespace {

// The real About box; the links and the tool's start are recorded.
class RealAboutBox : public ::testing::Test {
protected:
    void SetUp() override {
        identity.title = "Dayvane";
        box.Show();
        pumpFor(std::chrono::milliseconds(20));
    }
    void TearDown() override { box.Unload(); }

    HWND hwnd() const { return reinterpret_cast<HWND>(box.hWnd()); }
    HWND button(const wchar_t* caption) const { return ::FindWindowExW(hwnd(), nullptr, L"Button", caption); }
    HWND label(const wchar_t* caption) const { return ::FindWindowExW(hwnd(), nullptr, L"Static", caption); }

    // A key as the program's message loop hands it to the dialog manager.
    void press(UINT message, WPARAM key) {
        MSG msg{::GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0, 0, {}};
        if (!::IsDialogMessageW(::GetActiveWindow(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        pumpFor(std::chrono::milliseconds(20));
    }

    AppIdentity identity;
    RecordingMessageBox messages;
    win32::ReadOnlyRegistry registry;
    win32::SystemFileQuery files;
    fakes::FakeShellOpen shell;
    fakes::FakeProcessStart processes;
    AboutBox box{{toolkit(), messages}, {shell, registry, files, processes}, identity};
};

TEST_F(RealAboutBox, FixedDialogWithCloseBoxOffTheTaskbarCentred) {
    EXPECT_EQ(windowText(hwnd()), L"About Dayvane");
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_NE(::GetWindow(hwnd(), GW_OWNER), nullptr) << "an owned window has no taskbar button";

    const int dpi = static_cast<int>(::GetDpiForWindow(hwnd()));
    RECT client{}, outer{};
    ::GetClientRect(hwnd(), &client);
    ::GetWindowRect(hwnd(), &outer);
    EXPECT_EQ(client.right, twipsToPx(5040, dpi));
    EXPECT_EQ(client.bottom, twipsToPx(2970, dpi));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_LE(std::abs((outer.left + outer.right) - (monitor.rcWork.left + monitor.rcWork.right)), 1);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)), 1);
}

TEST_F(RealAboutBox, EveryControlInsideTheClientAreaButTheClippedLine) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    int lines = 0;
    for (HWND child = ::GetWindow(hwnd(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const RECT r = rectInParent(child);
        if (r.bottom - r.top <= 3) {  // the line: two pixels high, running out at the right
            ++lines;
            EXPECT_GT(r.right, client.right);
            continue;
        }
        RECT inside{};
        ::IntersectRect(&inside, &r, &client);
        EXPECT_TRUE(::EqualRect(&inside, &r)) << win32::narrow(windowText(child));
    }
    EXPECT_EQ(lines, 1);
}

TEST_F(RealAboutBox, OpensWithTheFocusOnTheDefaultButtonOk) {
    HWND ok = button(L"OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(::GetFocus(), ok);
    EXPECT_EQ(::GetWindowLongPtrW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST_F(RealAboutBox, TabVisitsTheThreeButtonsAndTheLinkInTheirOrder) {
    const std::vector<HWND> expected = {button(L"&System Info..."), button(L"Contact Us"),
                                        label(L"Visit our Web Site"), button(L"OK")};
    std::vector<HWND> visited;
    for (int i = 0; i < 4; ++i) {
        press(WM_KEYDOWN, VK_TAB);
        visited.push_back(::GetFocus());
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(RealAboutBox, EnterOnOkClosesTheBox) {
    press(WM_KEYDOWN, VK_RETURN);
    EXPECT_FALSE(box.loaded());
}

TEST_F(RealAboutBox, EscClosesTheBoxWhereverTheFocusIs) {
    ::SetFocus(button(L"Contact Us"));
    press(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(box.loaded());
    EXPECT_TRUE(shell.calls.empty()) << "Esc is no press of the focused button";
}

TEST_F(RealAboutBox, AltSPressesSystemInfo) {
    press(WM_SYSCHAR, 's');
    EXPECT_EQ(processes.attempts.size() + messages.prompts.size(), 1u);
    EXPECT_TRUE(box.visible());
}

TEST_F(RealAboutBox, ContactUsCarriesItsTooltip) {
    HWND contact = button(L"Contact Us");
    ASSERT_NE(contact, nullptr);
    std::wstring found;
    struct Search {
        HWND owner, tool;
        std::wstring* text;
    } search{hwnd(), contact, &found};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND tip, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (className(tip) != TOOLTIPS_CLASSW) return TRUE;
            wchar_t text[80] = {};
            TTTOOLINFOW info{};
            info.cbSize = sizeof info;
            info.hwnd = s->owner;
            info.uId = reinterpret_cast<UINT_PTR>(s->tool);
            info.lpszText = text;
            ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
            if (text[0]) *s->text = text;
            return text[0] ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    EXPECT_EQ(found, L"Via Email");
}

TEST_F(RealAboutBox, WebSiteLabelShowsTheHandAndTheRestTheArrow) {
    HWND web = label(L"Visit our Web Site");
    ASSERT_NE(web, nullptr);
    ::SendMessageW(web, WM_SETCURSOR, reinterpret_cast<WPARAM>(web), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    HWND title = label(L"Dayvane-Free Version");
    ::SendMessageW(title, WM_SETCURSOR, reinterpret_cast<WPARAM>(title), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace dv::test
