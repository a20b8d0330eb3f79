#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "options_dialog/options_dialog.h"
#include "options_services.h"
#include "services.h"
#include "support.h"

namespace dv::test {
namespace {

// The real dialog on the real toolkit; only its message box records.
class RealOptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.Show();
        pumpFor(std::chrono::milliseconds(20));
    }

    HWND hwnd() const { return reinterpret_cast<HWND>(dialog.hWnd()); }
    // The native children in z-order, which follows the tab indices.
    std::vector<HWND> children() const {
        std::vector<HWND> found;
        for (HWND h = ::GetWindow(hwnd(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) found.push_back(h);
        return found;
    }
    HWND nativeOf(const Control& control) const {
        std::vector<const Control*> byTab(dialog.controls().begin(), dialog.controls().end());
        // Labels lie beneath the other controls, as painted on the form itself.
        const auto place = [](const Control* c) {
            return std::pair(dynamic_cast<const Label*>(c) != nullptr, c->design().tabIndex);
        };
        std::stable_sort(byTab.begin(), byTab.end(),
                         [&](const Control* a, const Control* b) { return place(a) < place(b); });
        const auto at = std::find(byTab.begin(), byTab.end(), &control) - byTab.begin();
        const auto all = children();
        return at < static_cast<long>(all.size()) ? all[static_cast<size_t>(at)] : nullptr;
    }

    RecordingMessageBox messages;
    win32::RegistrySettings settings;
    win32::RunKeyStartup startup;
    win32::DesktopShortcutMaker shortcuts;
    AppIdentity app = win32::runningIdentity();
    OptionsDialog dialog{{toolkit(), messages}, {settings, startup, shortcuts}, app};
};

TEST_F(RealOptionsDialog, FixedCentredWindowWithATaskbarButtonOfItsOwn) {
    EXPECT_EQ(className(hwnd()), L"Dayvane.frmstartup");
    EXPECT_EQ(windowText(hwnd()), L"Dayvane Options");
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(hwnd(), GW_OWNER), nullptr);

    const int dpi = static_cast<int>(::GetDpiForWindow(hwnd()));
    RECT client{}, outer{};
    ::GetClientRect(hwnd(), &client);
    ::GetWindowRect(hwnd(), &outer);
    EXPECT_EQ(client.right, twipsToPx(4125, dpi));
    EXPECT_EQ(client.bottom, twipsToPx(2280, dpi));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT& work = monitor.rcWork;
    EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);
    EXPECT_NEAR(outer.top - work.top, work.bottom - outer.bottom, 1);
}

TEST_F(RealOptionsDialog, ControlsArePlacedAsDesignedAndOnlyButtonsTakeTheFocus) {
    const int dpi = static_cast<int>(::GetDpiForWindow(hwnd()));
    ASSERT_EQ(children().size(), dialog.controls().size());
    for (const Control* c : dialog.controls()) {
        HWND h = nativeOf(*c);
        const TwipsBox& box = c->design().box;
        const RECT r = rectInParent(h);
        EXPECT_EQ(r.left, twipsToPx(box.left, dpi)) << c->name();
        EXPECT_EQ(r.top, twipsToPx(box.top, dpi)) << c->name();
        EXPECT_EQ(r.right - r.left, twipsToPx(box.width, dpi)) << c->name();
        EXPECT_EQ(r.bottom - r.top, twipsToPx(box.height, dpi)) << c->name();
        EXPECT_EQ(::IsWindowVisible(h) != FALSE, c->design().visible) << c->name();
        const bool label = dynamic_cast<const Label*>(c) != nullptr;
        EXPECT_EQ(className(h), label ? L"Static" : L"Button") << c->name();
        // Of the labels only the link takes the focus (an option button has a tab stop only while selected).
        if (label || dynamic_cast<const OptionButton*>(c) == nullptr) {
            EXPECT_EQ((::GetWindowLongPtrW(h, GWL_STYLE) & WS_TABSTOP) != 0, !label || c->design().link) << c->name();
        }
    }
    EXPECT_EQ(windowText(nativeOf(dialog.chkstartup)), L"Click to add Dayvane to startup menu");
    EXPECT_EQ(windowText(nativeOf(dialog.Label2)), L"Add Dayvane shortcut to desktop");
    EXPECT_EQ(windowText(nativeOf(dialog.Command1)), L"Cancel");

    // Tab runs over what can be seen: the box, OK, Cancel, the link.
    HWND box = nativeOf(dialog.chkstartup);
    EXPECT_EQ(::GetFocus(), box);
    HWND ok = ::GetNextDlgTabItem(hwnd(), box, FALSE);
    HWND cancel = ::GetNextDlgTabItem(hwnd(), ok, FALSE);
    HWND link = ::GetNextDlgTabItem(hwnd(), cancel, FALSE);
    EXPECT_EQ(ok, nativeOf(dialog.OKButton));
    EXPECT_EQ(cancel, nativeOf(dialog.Command1));
    EXPECT_EQ(link, nativeOf(dialog.Label2));
    EXPECT_EQ(::GetNextDlgTabItem(hwnd(), link, FALSE), box);
}

TEST_F(RealOptionsDialog, Label2ShowsTheSystemHand) {
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    ::SendMessageW(nativeOf(dialog.Label2), WM_SETCURSOR, reinterpret_cast<WPARAM>(nativeOf(dialog.Label2)),
                   overClient);
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
    ::SendMessageW(nativeOf(dialog.Label1), WM_SETCURSOR, reinterpret_cast<WPARAM>(nativeOf(dialog.Label1)),
                   overClient);
    EXPECT_NE(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace
}  // namespace dv::test
