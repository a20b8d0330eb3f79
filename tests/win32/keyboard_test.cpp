#include <gtest/gtest.h>

#include "../fakes/fake_about.h"
#include "../fakes/fake_options.h"
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
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            HWND active = ::GetActiveWindow();
            if (msg.message == WM_QUIT || (active && ::IsDialogMessageW(active, &msg))) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Real keys through the system's input queue; each key goes down and up,
// the modifier around them all.
void type(std::initializer_list<WORD> keys, WORD modifier = 0) {
    std::vector<INPUT> in;
    const auto key = [&](WORD vk, DWORD flags) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = flags;
        in.push_back(i);
    };
    if (modifier) key(modifier, 0);
    for (WORD k : keys) {
        key(k, 0);
        key(k, KEYEVENTF_KEYUP);
    }
    if (modifier) key(modifier, KEYEVENTF_KEYUP);
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// Tab until the window has the focus; false if Tab never reaches it.
bool tabTo(HWND target) {
    for (int i = 0; i < 8 && ::GetFocus() != target; ++i) {
        HWND before = ::GetFocus();
        type({VK_TAB});
        if (!runUntil([&] { return ::GetFocus() != before; })) return false;
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

    RecordingMessageBox messages;
    AppIdentity identity = identityFor("C:\\Dayvane\\Dayvane.exe");
    fakes::FakeShellOpen shell;
    fakes::FakeRegistryReader registry;
    fakes::FakeFileQuery files;
    fakes::FakeProcessStart processes;
    AboutBox about{{toolkit(), messages}, {shell, registry, files, processes}, identity};
    fakes::FakeSettingsStore settings;
    fakes::FakeStartupRegistry startup;
    fakes::FakeShortcutMaker shortcuts;
    OptionsDialog options{{toolkit(), messages}, {settings, startup, shortcuts}, identity};
};

TEST_F(Keyboard, TabReachesEachLinkAndEnterOrSpaceClicksIt) {
    show(about);
    ASSERT_TRUE(tabTo(child(about, L"Static", L"Visit our Web Site")));
    type({VK_RETURN});
    type({VK_SPACE});
    EXPECT_TRUE(runUntil([&] { return shell.calls.size() == 2; }));
    EXPECT_TRUE(about.loaded()) << "Enter on the link is not OK";
    about.Unload();

    show(options);
    ASSERT_TRUE(tabTo(child(options, L"Static", L"Add Dayvane shortcut to desktop")));
    type({VK_SPACE});
    EXPECT_TRUE(runUntil([&] { return shortcuts.requests.size() == 1 && messages.prompts.size() == 1; }));
    options.Unload();
}

TEST_F(Keyboard, EnterPressesTheFocusedButtonAndEscStillClosesTheBox) {
    show(about);
    ASSERT_TRUE(tabTo(child(about, L"Button", L"Contact Us")));
    type({VK_RETURN});
    ASSERT_TRUE(runUntil([&] { return shell.calls.size() == 1; }));
    EXPECT_EQ(shell.calls[0].target.rfind("mailto:", 0), 0u);
    EXPECT_TRUE(about.loaded());
    type({VK_ESCAPE});
    EXPECT_TRUE(runUntil([&] { return !about.loaded(); }));

    show(options);
    ASSERT_TRUE(tabTo(child(options, L"Button", L"OK")));
    type({VK_RETURN});
    EXPECT_TRUE(runUntil([&] { return !options.loaded(); }));
    EXPECT_EQ(messages.prompts.size(), 1u) << "OK told its outcome; Cancel would not";
}

TEST_F(Keyboard, AltF4PutsTheReadmeWindowAwayAndTheSameOneComesBack) {
    ReadmeWindow readme{{toolkit(), messages}};
    show(readme);
    const std::uintptr_t window = readme.hWnd();
    type({VK_F4}, VK_MENU);
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
    INPUT in[4]{};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    ::SendInput(4, in, sizeof(INPUT));
    ASSERT_TRUE(runUntil([&] { return doubleClicks == 1; }));
    EXPECT_EQ(options.chkstartup.Value(), kChecked) << "toggled once";
    options.Unload();
}

}  // namespace
}  // namespace dv::test
