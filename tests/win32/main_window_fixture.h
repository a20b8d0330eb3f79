#pragma once

#include <gtest/gtest.h>

#include <algorithm>

#include "assets/resource_ids.h"
#include "main_window/main_window.h"
#include "services.h"
#include "support.h"

namespace dv::test {

// The real main window with the real services; only its message box records.
class RealMainWindow : public ::testing::Test {
protected:
    HWND hwnd() const { return reinterpret_cast<HWND>(window.hWnd()); }

    // The two month views, top one first.
    HWND mv1Hwnd() const { return calendars().at(0); }
    HWND mv3Hwnd() const { return calendars().at(1); }
    std::vector<HWND> calendars() const {
        auto found = childrenOfClass(hwnd(), MONTHCAL_CLASSW);
        std::sort(found.begin(), found.end(),
                  [](HWND a, HWND b) { return rectInParent(a).top < rectInParent(b).top; });
        return found;
    }

    void chooseMenu(const wchar_t* caption) {
        const UINT id = menuItemId(hwnd(), caption);
        ASSERT_NE(id, 0u) << "no menu item";
        ::SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        pumpFor(std::chrono::milliseconds(20));
    }

    RecordingMessageBox messages;
    win32::SystemClock clock;
    win32::PrimaryScreen screen;
    win32::ShellNotifyIcon notifyIcon{instance(), IDI_DAYVANE};
    win32::MessageLoop loop;
    MainWindow window{{toolkit(), messages}, {clock, screen, notifyIcon, loop}, {}};
};

}  // namespace dv::test
