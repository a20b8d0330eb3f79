#include <gtest/gtest.h>

#include <string>

#include "readme_window/readme_text.h"
#include "readme_window/readme_window.h"
#include "support.h"
#include "text.h"

namespace dv::test {
namespace {

class RealReadmeWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.Show();
        pumpFor(std::chrono::milliseconds(50));
    }
    void TearDown() override { window.Unload(); }

    HWND hwnd() const { return reinterpret_cast<HWND>(window.hWnd()); }
    HWND text() const { return ::FindWindowExW(hwnd(), nullptr, L"Edit", nullptr); }
    HWND ok() const { return ::FindWindowExW(hwnd(), nullptr, L"Static", L"OK"); }
    HWND focusHolder() const { return ::FindWindowExW(hwnd(), nullptr, L"Dayvane.Picture", nullptr); }

    // The colour on screen in the middle of a control's left margin, where no text is drawn.
    COLORREF colourBeside(HWND control) {
        ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpFor(std::chrono::milliseconds(20));
        RECT r{};
        ::GetWindowRect(control, &r);
        HDC screen = ::GetDC(nullptr);
        const COLORREF c = ::GetPixel(screen, r.left + 1, (r.top + r.bottom) / 2);
        ::ReleaseDC(nullptr, screen);
        return c;
    }
    void moveOver(HWND target) {
        ::SendMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
        pumpFor(std::chrono::milliseconds(20));
    }
    void press(WPARAM key) {
        MSG msg{::GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
        if (!::IsDialogMessageW(::GetActiveWindow(), &msg)) ::DispatchMessageW(&msg);
        pumpFor(std::chrono::milliseconds(20));
    }

    RecordingMessageBox messages;
    ReadmeWindow window{{toolkit(), messages}};
};

TEST_F(RealReadmeWindow, BorderlessCentredAndOffTheTaskbar) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_FALSE(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_NE(::GetWindow(hwnd(), GW_OWNER), nullptr);

    const int dpi = static_cast<int>(::GetDpiForWindow(hwnd()));
    RECT outer{};
    ::GetWindowRect(hwnd(), &outer);
    EXPECT_EQ(outer.right - outer.left, twipsToPx(4635, dpi));
    EXPECT_EQ(outer.bottom - outer.top, twipsToPx(6030, dpi));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    EXPECT_LE(std::abs((outer.left + outer.right) - (monitor.rcWork.left + monitor.rcWork.right)), 1);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)), 1);
}

TEST_F(RealReadmeWindow, TheTextIsShownWholeAndReadOnly) {
    ASSERT_NE(text(), nullptr);
    const int length = ::GetWindowTextLengthW(text());
    std::wstring shown(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(text(), WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(shown.data()));
    shown.resize(static_cast<size_t>(length));
    EXPECT_EQ(shown, win32::widen(readmeText()));
    const auto style = ::GetWindowLongPtrW(text(), GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_FALSE(style & (WS_VSCROLL | WS_HSCROLL));

    // All of it fits, wrapped or not: the last line of text ends inside the
    // box (after the last CR LF the edit counts one more, empty line).
    const auto lines = ::SendMessageW(text(), EM_GETLINECOUNT, 0, 0);
    ASSERT_GE(lines, 25);
    const auto top = [&](LRESULT line) {
        const auto at = ::SendMessageW(text(), EM_POSFROMCHAR, ::SendMessageW(text(), EM_LINEINDEX, line, 0), 0);
        return static_cast<short>(HIWORD(at));
    };
    const int lastBottom = top(lines - 2) + (top(lines - 2) - top(lines - 3));
    RECT client{};
    ::GetClientRect(text(), &client);
    EXPECT_EQ(::SendMessageW(text(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(top(0), 0);
    EXPECT_LE(lastBottom, client.bottom) << lines - 1 << " lines of text";
}

TEST_F(RealReadmeWindow, ColoursOfTheWindowTheTextAndTheOkLabel) {
    EXPECT_EQ(colourBeside(focusHolder()), RGB(0, 128, 0));
    EXPECT_EQ(colourBeside(text()), RGB(255, 224, 192));
    EXPECT_EQ(colourBeside(ok()), RGB(0, 128, 128)) << "the normal colour from the first activation";

    moveOver(ok());
    EXPECT_EQ(colourBeside(ok()), RGB(0, 160, 160));
    moveOver(text());
    EXPECT_EQ(colourBeside(ok()), RGB(0, 128, 128));
    moveOver(ok());
    moveOver(hwnd());
    EXPECT_EQ(colourBeside(ok()), RGB(0, 128, 128));
}

// The title and the focus holder overlap the text box in the design; the
// text box covers them there, so its first line shows whole.
TEST_F(RealReadmeWindow, NothingCoversTheTopOfTheText) {
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(std::chrono::milliseconds(20));
    RECT r{};
    ::GetWindowRect(text(), &r);
    HDC screen = ::GetDC(nullptr);
    int green = 0;
    for (int y = r.top; y < r.top + 10; ++y)
        for (int x = r.left; x < r.right; ++x) green += ::GetPixel(screen, x, y) == RGB(0, 128, 0);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(green, 0);
}

TEST_F(RealReadmeWindow, FocusNeverStaysInTheText) {
    EXPECT_EQ(::GetFocus(), focusHolder());
    ::SendMessageW(text(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ::SendMessageW(text(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    pumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(::GetFocus(), focusHolder());
    ::SetFocus(text());
    pumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(::GetFocus(), focusHolder());
}

TEST_F(RealReadmeWindow, OkHidesAndTheSameWindowComesBackReset) {
    HWND before = hwnd();
    moveOver(ok());
    ::SendMessageW(ok(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(ok(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    pumpFor(std::chrono::milliseconds(20));
    EXPECT_FALSE(::IsWindowVisible(before));
    EXPECT_TRUE(window.loaded());

    window.Show();
    pumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(hwnd(), before);
    EXPECT_TRUE(::IsWindowVisible(before));
    EXPECT_EQ(colourBeside(ok()), RGB(0, 128, 128));
}

class RealReadmeWindowKeys : public RealReadmeWindow, public ::testing::WithParamInterface<WPARAM> {};

TEST_P(RealReadmeWindowKeys, PutTheWindowAwayAsOkDoes) {
    press(GetParam());
    EXPECT_FALSE(::IsWindowVisible(hwnd()));
    EXPECT_TRUE(window.loaded());
}

INSTANTIATE_TEST_SUITE_P(EnterAndEsc, RealReadmeWindowKeys, ::testing::Values(VK_RETURN, VK_ESCAPE));

}  // namespace
}  // namespace dv::test
