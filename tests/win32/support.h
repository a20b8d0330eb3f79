#pragma once

// This process's real toolkit and every window of the program on it, seen from inside.
#include "win32.h"

#include <commctrl.h>

#include "../fakes/fake_services.h"
#include "about_box/about_box.h"
#include "about_services.h"
#include "assets/resource_ids.h"
#include "desktop.h"
#include "main_window/main_window.h"
#include "options_dialog/options_dialog.h"
#include "options_services.h"
#include "readme_window/readme_window.h"
#include "services.h"
#include "text.h"
#include "toolkit.h"

namespace dv::test {

// Wine cannot switch high contrast on: a test sets what the toolkit reads and notifies the windows.
struct SettableContrast final : Accessibility {
    bool on = false;
    bool highContrast() const override { return on; }
};
extern SettableContrast highContrast;

HINSTANCE instance();
win32::Toolkit& toolkit();
inline HWND hwndOf(const Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }
std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* cls);
// Runs the thread's messages as the program's loop does, the dialog manager first, until done() holds.
bool runUntil(const std::function<bool()>& done);
// A real key through the system's input queue, down and up, with a modifier held.
void type(WORD key, WORD modifier = 0);
// Runs what is waiting, paints included, without waiting for more.
inline void drain() { pumpUntil([] { return true; }, 0ms); }

// Every window of the program with the real services, wired as the program wires them; only the message
// box, the end of the program and the About box's links and launches are recorded.
class RealWindows : public ::testing::Test {
protected:
    // Shown and holding the foreground, so that real keys reach it.
    void showInFront(Form& form) {
        form.Show();
        ::SetForegroundWindow(hwndOf(form));
        ASSERT_TRUE(runUntil([&] { return ::GetForegroundWindow() == hwndOf(form); }));
    }
    // The item of the main window's menu with this caption, as its click sends it.
    void runMenu(const wchar_t* caption);

    fakes::FakeMessageBox messages;
    fakes::FakeApplication application;  // quitting the runner's loop would end it
    win32::SystemClock clock;
    win32::PrimaryScreen screen;
    win32::ShellNotifyIcon notifyIcon{instance(), IDI_DAYVANE};
    win32::RegistrySettings settings;
    win32::RunKeyStartup startup;
    win32::DesktopShortcutMaker shortcuts;
    win32::ReadOnlyRegistry registry;
    win32::SystemFileQuery files;
    fakes::FakeShellOpen shell;
    fakes::FakeProcessStart processes;
    const AppIdentity identity = win32::runningIdentity();
    OptionsDialog frmstartup{{toolkit(), messages}, {settings, startup, shortcuts}, identity};
    AboutBox frmAbout{{toolkit(), messages}, {shell, registry, files, processes}, identity};
    ReadmeWindow ThumbFrm5{{toolkit(), messages}};
    MainWindow frmmain{{toolkit(), messages},
                       {clock, screen, notifyIcon, application},
                       {[this] { frmstartup.Show(); }, [this] { frmAbout.Show(); }, [this] { ThumbFrm5.Show(); }}};
    Form* const forms[4] = {&frmmain, &frmstartup, &frmAbout, &ThumbFrm5};
    size_t launches() const { return shell.calls.size() + processes.attempts.size() + messages.prompts.size(); }
};

}  // namespace dv::test
