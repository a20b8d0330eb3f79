#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../fakes/fake_about.h"
#include "about_box/about_box.h"
#include "about_services.h"
#include "assets/resource_ids.h"
#include "main_window/main_window.h"
#include "messages.h"
#include "options_dialog/options_dialog.h"
#include "options_services.h"
#include "readme_window/readme_window.h"
#include "services.h"
#include "support.h"
#include "text.h"

#include <shellapi.h>

// Each window of the program on the real toolkit: what only real controls
// show (pixels and fonts at a DPI, the native order, message routing).
namespace dv::test {
namespace {

using namespace std::chrono_literals;

// Table rows print as their names.
template <typename Row>
    requires requires(Row row) { row.name; }
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

HWND hwndOf(const Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }

// The control whose designed box a child window covers at this DPI.
const Control* controlOf(const Form& form, HWND child) {
    const RECT r = rectInParent(child);
    for (const Control* c : form.controls()) {
        const TwipsBox& b = c->design().box;
        const int left = twipsToPx(b.left, form.dpi()), top = twipsToPx(b.top, form.dpi());
        const RECT box{left, top, left + twipsToPx(b.width, form.dpi()), top + twipsToPx(b.height, form.dpi())};
        // A line is as high or as wide as its stroke.
        if (b.width > 0 && r.left == box.left && r.top == box.top && r.right == box.right &&
            (b.height == 0 || r.bottom == box.bottom))
            return c;
    }
    return nullptr;
}

std::string nameOf(const Form& form, HWND child) {
    const Control* c = child ? controlOf(form, child) : nullptr;
    return c ? c->name() : "<" + win32::narrow(className(child)) + " on no designed box>";
}

HWND childNamed(const Form& form, const std::string& name) {
    for (HWND h = ::GetWindow(hwndOf(form), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (nameOf(form, h) == name) return h;
    return nullptr;
}

LONG fontHeight(HWND hwnd) {
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return std::abs(lf.lfHeight);
}

// Whether a child shows all it holds: a whole month, or the whole text.
bool showsItAll(HWND child, const RECT& parentClient) {
    const RECT box = rectInParent(child);
    if (className(child) == MONTHCAL_CLASSW) {
        RECT need{};
        ::SendMessageW(child, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
        return need.right <= std::min(box.right, parentClient.right) - box.left && need.bottom <= box.bottom - box.top;
    }
    if (className(child) != L"Edit") return true;
    // After the last CR LF the edit counts one more, empty line.
    const auto lines = ::SendMessageW(child, EM_GETLINECOUNT, 0, 0);
    const auto top = [&](LRESULT line) {
        return static_cast<short>(HIWORD(::SendMessageW(child, EM_POSFROMCHAR, ::SendMessageW(child, EM_LINEINDEX,
                                                                                              line, 0), 0)));
    };
    return lines > 2 && top(lines - 2) + (top(lines - 2) - top(lines - 3)) <= box.bottom - box.top;
}

// Every window of the program with the real services; only the message box
// and the About box's links and launches are recorded.
class RealWindows : public ::testing::Test {
protected:
    void chooseMenu(const wchar_t* caption) {
        const UINT id = menuItemId(hwndOf(frmmain), caption);
        ASSERT_NE(id, 0u) << "no menu item";
        ::SendMessageW(hwndOf(frmmain), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        pumpFor(20ms);
    }
    // The shell still knows the program's icon (NIM_MODIFY fails for one it does not).
    bool iconKnown() {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = hwndOf(frmmain);
        data.uID = 1;
        data.uFlags = NIF_TIP;
        ::wcscpy(data.szTip, L"Dayvane is running");
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }

    RecordingMessageBox messages;
    win32::SystemClock clock;
    win32::PrimaryScreen screen;
    win32::ShellNotifyIcon notifyIcon{instance(), IDI_DAYVANE};
    win32::MessageLoop loop;
    win32::RegistrySettings settings;
    win32::RunKeyStartup startup;
    win32::DesktopShortcutMaker shortcuts;
    win32::ReadOnlyRegistry registry;
    win32::SystemFileQuery files;
    fakes::FakeShellOpen shell;
    fakes::FakeProcessStart processes;
    const AppIdentity identity = win32::runningIdentity();
    MainWindow frmmain{{toolkit(), messages}, {clock, screen, notifyIcon, loop}, {}};
    OptionsDialog frmstartup{{toolkit(), messages}, {settings, startup, shortcuts}, identity};
    AboutBox frmAbout{{toolkit(), messages}, {shell, registry, files, processes}, identity};
    ReadmeWindow ThumbFrm5{{toolkit(), messages}};
    Form* const forms[4] = {&frmmain, &frmstartup, &frmAbout, &ThumbFrm5};
};

// --- one layout check per window, at the DPI it starts with and at 144 --------

struct Layout {
    const char* name;
    int form;  // in RealWindows::forms
    std::vector<std::string> order;  // the children, top first
    std::vector<std::string> tabs;   // where the focus starts, then where each Tab takes it
    bool caption, taskbarButton;
};

class WindowLayout : public RealWindows, public ::testing::WithParamInterface<Layout> {};

TEST_P(WindowLayout, SizesFontsAndOrderFollowTheDesignAtEachDpi) {
    const Layout& want = GetParam();
    Form& form = *forms[want.form];
    form.Show();
    pumpFor(20ms);
    const HWND hwnd = hwndOf(form);
    const auto style = ::GetWindowLongPtrW(hwnd, GWL_STYLE), ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, want.caption);
    EXPECT_EQ((ex & WS_EX_APPWINDOW) || !(::GetWindow(hwnd, GW_OWNER) || (ex & WS_EX_TOOLWINDOW)),
              want.taskbarButton);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    if (form.design().centred) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        EXPECT_LE(std::abs(r.left + r.right - monitor.rcWork.left - monitor.rcWork.right), 1);
        EXPECT_LE(std::abs(r.top + r.bottom - monitor.rcWork.top - monitor.rcWork.bottom), 1);
    }
    std::map<HWND, LONG> fontsBefore;
    const int startDpi = form.dpi();
    for (const int dpi : {startDpi, 144}) {
        if (dpi != startDpi) {
            RECT suggested{};
            ::GetWindowRect(hwnd, &suggested);
            ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
            pumpFor(20ms);
        }
        SCOPED_TRACE(dpi);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, twipsToPx(form.design().clientWidth, dpi));
        // A menu bar may wrap on a narrow window; the design stays whole.
        EXPECT_GE(client.bottom, twipsToPx(form.design().clientHeight, dpi));
        EXPECT_LT(client.bottom, twipsToPx(form.design().clientHeight, dpi) + ::GetSystemMetricsForDpi(SM_CYMENU, dpi));
        std::vector<std::string> order, tabs;
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            order.push_back(nameOf(form, child));
            EXPECT_TRUE(showsItAll(child, client)) << order.back();
            // Fonts follow the DPI; a month view may take a smaller one to fit.
            if (fontsBefore.count(child) && className(child) != MONTHCAL_CLASSW) {
                EXPECT_NEAR(fontHeight(child), fontsBefore[child] * dpi / startDpi, 1) << order.back();
            }
            fontsBefore.emplace(child, fontHeight(child));
        }
        EXPECT_EQ(order, want.order);
        HWND at = ::GetFocus();
        for (size_t i = 0; at && i < want.tabs.size(); ++i, at = ::GetNextDlgTabItem(hwnd, at, FALSE))
            tabs.push_back(nameOf(form, at));
        EXPECT_EQ(tabs, want.tabs);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowLayout,
    ::testing::Values(
        Layout{"Main", 0, {"Command1", "mv1", "mv3", "Picture1"}, {"Command1", "mv1", "mv3", "Command1"}, true, false},
        Layout{"Options", 1,
               {"chkstartup", "optfull", "OKButton", "optbasic", "Command1", "Label1", "Label2", "Label3", "Label4"},
               {"chkstartup", "OKButton", "Command1", "chkstartup"}, true, true},
        Layout{"About", 2, {"cmdOK", "cmdSysInfo", "Command1", "Line1", "lblTitle", "Label1", "Label2", "Label4"},
               {"cmdOK", "cmdSysInfo", "Command1", "cmdOK"}, true, false},
        // The text covers the title and the focus holder; it takes the focus only to give it back.
        Layout{"Readme", 3, {"Text1", "Picture1", "Label1", "Label3"}, {"Picture1", "Text1", "Text1"}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- keys and the mouse, as the program's message loop hands them on ---------

struct Input {
    const char* name;
    int form;
    const char* target;  // the control that gets it; nullptr: the one with the focus
    UINT message;
    WPARAM key;
    bool loaded, visible;
    size_t launches;          // links opened, programs started, messages shown
    const char* focusAfter;  // nullptr: not checked
};

class WindowInput : public RealWindows, public ::testing::WithParamInterface<Input> {};

TEST_P(WindowInput, ReachesTheHandlerItIsFor) {
    const Input& in = GetParam();
    Form& form = *forms[in.form];
    form.Show();
    pumpFor(20ms);
    HWND target = in.target ? childNamed(form, in.target) : ::GetFocus();
    ASSERT_NE(target, nullptr);
    MSG msg{target, in.message, in.key, in.message == WM_SYSCHAR ? (1 << 29) : 0, 0, {}};
    if (!::IsDialogMessageW(::GetActiveWindow(), &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    pumpFor(20ms);
    EXPECT_EQ(form.loaded(), in.loaded);
    EXPECT_EQ(form.visible(), in.visible);
    EXPECT_EQ(::IsWindowVisible(hwndOf(form)) != FALSE, in.visible);
    EXPECT_EQ(processes.attempts.size() + messages.prompts.size() + shell.calls.size(), in.launches);
    if (in.focusAfter) {
        EXPECT_EQ(nameOf(form, ::GetFocus()), in.focusAfter);
    }
}

// Esc is no press of the focused button; the text of the read-me never keeps the focus.
INSTANTIATE_TEST_SUITE_P(
    Routing, WindowInput,
    ::testing::Values(Input{"AboutEnterOnOk", 2, nullptr, WM_KEYDOWN, VK_RETURN, false, false, 0, nullptr},
                      Input{"AboutEscOnContactUs", 2, "Command1", WM_KEYDOWN, VK_ESCAPE, false, false, 0, nullptr},
                      Input{"AboutAltS", 2, nullptr, WM_SYSCHAR, 's', true, true, 1, nullptr},
                      Input{"AboutWebSiteClick", 2, "Label4", WM_LBUTTONDOWN, MK_LBUTTON, true, true, 1, nullptr},
                      Input{"ReadmeEnter", 3, nullptr, WM_KEYDOWN, VK_RETURN, true, false, 0, nullptr},
                      Input{"ReadmeEsc", 3, nullptr, WM_KEYDOWN, VK_ESCAPE, true, false, 0, nullptr},
                      Input{"ReadmeTextClick", 3, "Text1", WM_LBUTTONDOWN, MK_LBUTTON, true, true, 0, "Picture1"}),
    [](const auto& info) { return std::string(info.param.name); });

struct Pointer {
    const char* name;
    int form;
    const char* label;
    bool hand;
};

class LabelPointer : public RealWindows, public ::testing::WithParamInterface<Pointer> {};

TEST_P(LabelPointer, IsTheHandOnlyOverALink) {
    Form& form = *forms[GetParam().form];
    form.Show();
    HWND label = childNamed(form, GetParam().label);
    ASSERT_NE(label, nullptr);
    ::SendMessageW(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor() == ::LoadCursorW(nullptr, IDC_HAND), GetParam().hand);
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelPointer,
                         ::testing::Values(Pointer{"OptionsShortcutLink", 1, "Label2", true},
                                           Pointer{"OptionsText", 1, "Label1", false},
                                           Pointer{"AboutWebSiteLink", 2, "Label4", true},
                                           Pointer{"AboutTitle", 2, "lblTitle", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- the main window --------------------------------------------------------

// The real timer must be armed again after every tick.
TEST_F(RealWindows, ClockInTheCaptionKeepsTicking) {
    frmmain.Show();
    std::vector<std::wstring> captions{windowText(hwndOf(frmmain))};
    EXPECT_TRUE(pumpUntil(
        [&] {
            if (windowText(hwndOf(frmmain)) != captions.back()) captions.push_back(windowText(hwndOf(frmmain)));
            return captions.size() > 3;
        },
        10s))
        << "the caption changed " << captions.size() - 1 << " times, last to " << win32::narrow(captions.back());
}

TEST_F(RealWindows, ArrowClickOnTheMainViewMovesBothViews) {
    frmmain.Show();
    frmmain.mv1.setValue({2024, 12, 20});
    frmmain.AdjDate();
    HWND mv1 = childNamed(frmmain, "mv1");
    POINT arrow{};
    ASSERT_TRUE(findNextArrow(mv1, arrow));
    clickAt(mv1, arrow);
    pumpFor(50ms);
    EXPECT_EQ(frmmain.mv1.Value(), (Date{2025, 1, 20}));
    const SYSTEMTIME next = currentSelection(childNamed(frmmain, "mv3"));
    EXPECT_EQ((Date{next.wYear, next.wMonth, next.wDay}), frmmain.mv3.Value());
    EXPECT_EQ(frmmain.mv3.Month(), 2);
    EXPECT_TRUE(messages.prompts.empty());
}

TEST_F(RealWindows, EachMonthViewShowsItsOwnColours) {
    frmmain.Show();
    HWND plain = ::CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD, 0, 0, 200, 160, hwndOf(frmmain), nullptr,
                                   instance(), nullptr);
    for (const MonthView* view : {&frmmain.mv1, &frmmain.mv3}) {
        const MonthViewColors& c = view->colors();
        const std::pair<int, std::optional<unsigned>> parts[] = {
            {MCSC_TITLEBK, c.titleBack}, {MCSC_TITLETEXT, c.titleText},       {MCSC_MONTHBK, c.monthBack},
            {MCSC_TEXT, c.text},         {MCSC_TRAILINGTEXT, c.trailingText}, {MCSC_BACKGROUND, c.background}};
        // A part without a colour of its own keeps what a plain control has.
        for (const auto& [part, colour] : parts)
            EXPECT_EQ(::SendMessageW(childNamed(frmmain, view->name()), MCM_GETCOLOR, part, 0),
                      colour ? *colour : ::SendMessageW(plain, MCM_GETCOLOR, part, 0))
                << view->name() << " part " << part;
    }
    ::DestroyWindow(plain);
}

// The dialog manager turns Esc and Enter into IDCANCEL and IDOK; they must
// not be taken for menu items such as Exit.
TEST_F(RealWindows, DialogKeyCommandsAreNoMenuItems) {
    frmmain.Show();
    for (WPARAM id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDCLOSE, IDHELP})
        ::SendMessageW(hwndOf(frmmain), WM_COMMAND, id, 0);
    MSG quit;
    EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the program was told to end";
    EXPECT_TRUE(::IsWindowVisible(hwndOf(frmmain)));
    chooseMenu(L"Minimise");
    EXPECT_FALSE(::IsWindowVisible(hwndOf(frmmain))) << "the menu no longer works";
}

struct TrayCase {
    const char* name;
    UINT mouse;
    bool restores;
};

class TrayIcon : public RealWindows, public ::testing::WithParamInterface<TrayCase> {};

TEST_P(TrayIcon, OnlyAFinishedClickOrKeySelectBringsTheWindowBackInFront) {
    frmmain.Show();
    chooseMenu(L"Minimise");
    ASSERT_FALSE(::IsWindowVisible(hwndOf(frmmain)));
    // Another window holds the foreground, so that taking it back shows.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                   instance(), nullptr);
    ::SetForegroundWindow(other);
    // Version 4: the mouse message in the low word, the icon's id in the high.
    ::SendMessageW(hwndOf(frmmain), win32::kTrayCallbackMessage, 0, MAKELPARAM(GetParam().mouse, 1));
    pumpFor(50ms);
    EXPECT_EQ(::IsWindowVisible(hwndOf(frmmain)) != FALSE, GetParam().restores);
    EXPECT_EQ(::GetForegroundWindow() == hwndOf(frmmain), GetParam().restores);
    ::DestroyWindow(other);
}

INSTANTIATE_TEST_SUITE_P(Messages, TrayIcon,
                         ::testing::Values(TrayCase{"LeftButtonUp", WM_LBUTTONUP, true},
                                           TrayCase{"RightButtonUp", WM_RBUTTONUP, true},
                                           TrayCase{"KeySelect", NIN_KEYSELECT, true},
                                           TrayCase{"MouseMove", WM_MOUSEMOVE, false},
                                           TrayCase{"LeftButtonDown", WM_LBUTTONDOWN, false},
                                           TrayCase{"LeftDoubleClick", WM_LBUTTONDBLCLK, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Under Wine an icon goes with its dead window anyway: what the program asks
// the shell for shows only while its window lives.
TEST_F(RealWindows, ShellKnowsTheIconUntilExitAndGetsItBackAfterARestart) {
    frmmain.Show();
    ASSERT_TRUE(iconKnown()) << "the shell took no icon";
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = hwndOf(frmmain);
    data.uID = 1;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    ::SendMessageW(hwndOf(frmmain), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(iconKnown()) << "not added again when the shell restarted";

    chooseMenu(L"Exit");
    ASSERT_TRUE(::IsWindow(hwndOf(frmmain)));
    EXPECT_FALSE(iconKnown()) << "the icon stayed after Exit";
}

}  // namespace
}  // namespace dv::test
