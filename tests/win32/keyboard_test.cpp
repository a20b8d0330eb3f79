#include <gtest/gtest.h>

#include "../fakes/fake_services.h"
#include "about_box/about_box.h"
#include "options_dialog/options_dialog.h"
#include "readme_window/readme_window.h"
#include "support.h"

namespace dv::test {
namespace {

// Runs the thread's messages the way the program's loop does, so that the
// dialog manager sees every key, until done() holds.
bool runUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (; !done(); ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        if (std::chrono::steady_clock::now() >= end) return false;
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            HWND active = ::GetActiveWindow();
            if (msg.message == WM_QUIT || (active && ::IsDialogMessageW(active, &msg))) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

// A real key through the system's input queue, down and up, with a modifier held.
void type(WORD key, WORD modifier = 0) {
    if (modifier) ::keybd_event(static_cast<BYTE>(modifier), 0, 0, 0);
    ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    if (modifier) ::keybd_event(static_cast<BYTE>(modifier), 0, KEYEVENTF_KEYUP, 0);
}

// Tab until the window has the focus; false if Tab never reaches it.
bool tabTo(HWND target) {
    for (int i = 0; i < 8 && ::GetFocus() != target; ++i) {
        type(VK_TAB);
        runUntil([before = ::GetFocus()] { return ::GetFocus() != before; });
    }
    return ::GetFocus() == target;
}

HWND child(const Form& form, const wchar_t* cls, const wchar_t* text) {
    return ::FindWindowExW(reinterpret_cast<HWND>(form.hWnd()), nullptr, cls, text);
}

class Keyboard : public ::testing::Test {
protected:
    void show(Form& form) {
        form.Show();
        HWND hwnd = reinterpret_cast<HWND>(form.hWnd());
        ::SetForegroundWindow(hwnd);
        ASSERT_TRUE(runUntil([&] { return ::GetForegroundWindow() == hwnd; }));
    }

    fakes::FakePlatform fakes;
    AboutBox about{{toolkit(), fakes.messages}, fakes.about, fakes.identity};
    OptionsDialog options{{toolkit(), fakes.messages}, fakes.options, fakes.identity};
};

TEST_F(Keyboard, EnterPressesTheFocusedButtonAndEnterOrSpaceTheFocusedLink) {
    show(about);
    ASSERT_TRUE(tabTo(child(about, L"Button", L"Contact Us")));
    type(VK_RETURN);
    ASSERT_TRUE(runUntil([&] { return fakes.shell.calls.size() == 1; }));
    EXPECT_EQ(fakes.shell.calls[0].target.rfind("mailto:", 0), 0u) << "Contact Us, not the default OK";
    ASSERT_TRUE(tabTo(child(about, L"Static", L"Visit our Web Site")));
    type(VK_RETURN);
    type(VK_SPACE);
    EXPECT_TRUE(runUntil([&] { return fakes.shell.calls.size() == 3; }));
    EXPECT_TRUE(about.loaded());
}

TEST_F(Keyboard, AltF4PutsTheReadmeWindowAwayAndTheSameOneComesBack) {
    ReadmeWindow readme{{toolkit(), fakes.messages}};
    show(readme);
    const std::uintptr_t window = readme.hWnd();
    type(VK_F4, VK_MENU);
    EXPECT_TRUE(runUntil([&] { return !readme.visible(); }));
    readme.Show();
    EXPECT_EQ(readme.hWnd(), window);
}

TEST_F(Keyboard, ADoubleClickOnALabelIsOneClick) {
    show(options);
    int doubleClicks = 0;
    options.Label4.onDblClick = [&] { ++doubleClicks; };
    RECT r{};
    ::GetWindowRect(child(options, L"Static", L"2."), &r);
    ::SetCursorPos(r.left + 3, (r.top + r.bottom) / 2);
    for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        ::mouse_event(button, 0, 0, 0, 0);
    ASSERT_TRUE(runUntil([&] { return doubleClicks == 1; }));
    EXPECT_EQ(options.chkstartup.Value(), kChecked) << "toggled once";
}

}  // namespace
}  // namespace dv::test
