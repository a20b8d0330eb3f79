#include <gtest/gtest.h>

#include "../fakes/fake_about.h"
#include "about_box/about_box.h"
#include "about_services.h"
#include "assets/resource_ids.h"
#include "main_window/main_window.h"
#include "services.h"
#include "support.h"

namespace dv::test {
namespace {

// The focus as a user moves it from the main window into the About box it
// opens and back: each activation puts it on that window's own control.
class FocusAcrossWindows : public ::testing::Test {
protected:
    void SetUp() override {
        main.Show();
        ASSERT_TRUE(pumpUntil([&] { return ::GetActiveWindow() == hwnd(main); }));
    }
    void TearDown() override {
        about.Unload();
        main.Unload();
    }
    static HWND hwnd(const Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }
    // A key as the program's message loop hands it on: the active window's dialog manager first.
    static void type(UINT message, WPARAM key) {
        MSG msg{::GetFocus(), message, key, message == WM_SYSCHAR ? (1 << 29) : 0, 0, {}};
        if (!::IsDialogMessageW(::GetActiveWindow(), &msg)) ::DispatchMessageW(&msg);
        pumpFor(std::chrono::milliseconds(20));
    }

    RecordingMessageBox messages;
    win32::SystemClock clock;
    win32::PrimaryScreen screen;
    win32::ShellNotifyIcon notifyIcon{instance(), IDI_DAYVANE};
    win32::MessageLoop loop;
    win32::ReadOnlyRegistry registry;
    win32::SystemFileQuery files;
    fakes::FakeShellOpen shell;
    fakes::FakeProcessStart processes;
    AppIdentity identity;
    AboutBox about{{toolkit(), messages}, {shell, registry, files, processes}, identity};
    MainWindow main{{toolkit(), messages}, {clock, screen, notifyIcon, loop}, {{}, [this] { about.Show(); }, {}}};
};

TEST_F(FocusAcrossWindows, AboutFromTheMenuTakesTheFocusToOkAndEscGivesItBack) {
    HWND command1 = ::FindWindowExW(hwnd(main), nullptr, L"Button", L"Command1");
    ASSERT_EQ(::GetFocus(), command1) << "the main window starts with its hidden button focused";
    ::SendMessageW(hwnd(main), WM_COMMAND, menuItemId(hwnd(main), L"About"), 0);
    ASSERT_TRUE(pumpUntil([&] { return ::GetActiveWindow() == hwnd(about); })) << "About opened nothing";
    EXPECT_EQ(windowText(::GetFocus()), L"OK");

    type(WM_SYSCHAR, 's');
    EXPECT_EQ(processes.attempts.size() + messages.prompts.size(), 1u) << "Alt+S did not press System Info";

    type(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(about.loaded());
    EXPECT_TRUE(pumpUntil([&] { return ::GetFocus() == command1; })) << "the main window did not get its focus back";
}

}  // namespace
}  // namespace dv::test
