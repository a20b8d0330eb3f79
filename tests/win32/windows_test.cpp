#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <tuple>
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

// Each window of the program on the real toolkit and services: what only real controls show
// (pixels and fonts at a DPI, the native order, message routing) and the real registry's value kinds.
namespace dv::test {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

HWND hwndOf(const Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }

// The control whose designed box the child covers at the form's DPI.
const Control* controlOf(const Form& form, HWND child) {
    const RECT r = rectInParent(child);
    const auto px = [&](int twips) { return twipsToPx(twips, form.dpi()); };
    for (const Control* c : form.controls()) {
        const TwipsBox& b = c->design().box;
        // A line is as high as its stroke.
        if (b.width > 0 && r.left == px(b.left) && r.top == px(b.top) && r.right == px(b.left) + px(b.width) &&
            (b.height == 0 || r.bottom == px(b.top) + px(b.height)))
            return c;
    }
    return nullptr;
}

std::string nameOf(const Form& form, HWND child) {
    const Control* c = controlOf(form, child);
    return c ? c->name() : "<" + win32::narrow(className(child)) + " on no designed box>";
}

HWND childNamed(const Form& form, const std::string& name) {
    for (HWND h = ::GetWindow(hwndOf(form), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (nameOf(form, h) == name) return h;
    return nullptr;
}

// A month view shows a whole month, a text box the whole text, in the part of it that is seen.
bool showsItAll(HWND child, const RECT& parentClient) {
    const RECT box = rectInParent(child);
    if (className(child) == MONTHCAL_CLASSW) {
        RECT need{};
        ::SendMessageW(child, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
        return need.right <= std::min(box.right, parentClient.right) - box.left && need.bottom <= box.bottom - box.top;
    }
    if (className(child) != L"Edit") return true;
    const auto top = [&](LRESULT line) {
        const auto first = ::SendMessageW(child, EM_LINEINDEX, line, 0);
        return static_cast<short>(HIWORD(::SendMessageW(child, EM_POSFROMCHAR, first, 0)));
    };
    // After the last CR LF the edit counts one more, empty line.
    const auto last = ::SendMessageW(child, EM_GETLINECOUNT, 0, 0) - 2;
    return last > 0 && 2 * top(last) - top(last - 1) <= box.bottom - box.top;
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
    // What the shell is asked about the program's own icon (hWnd, uID 1).
    bool askShell(DWORD what) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = hwndOf(frmmain);
        data.uID = 1;
        return ::Shell_NotifyIconW(what, &data) != FALSE;
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
    int form;                        // in RealWindows::forms
    std::vector<std::string> order;  // the children, top first
    std::vector<std::string> tabs;   // where the focus starts, then where each Tab key takes it
    bool caption, taskbarButton;
};

class WindowLayout : public RealWindows, public ::testing::WithParamInterface<Layout> {};

// Also the pointer: the hand over a link label only.
TEST_P(WindowLayout, SizesFontsAndOrderFollowTheDesignAtEachDpi) {
    const Layout& want = GetParam();
    Form& form = *forms[want.form];
    form.Show();
    pumpFor(20ms);
    const HWND hwnd = hwndOf(form);
    const auto style = ::GetWindowLongPtrW(hwnd, GWL_STYLE), ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, want.caption);
    EXPECT_EQ((ex & WS_EX_APPWINDOW) || !(::GetWindow(hwnd, GW_OWNER) || (ex & WS_EX_TOOLWINDOW)), want.taskbarButton);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    RECT outer{};
    ::GetWindowRect(hwnd, &outer);
    if (const Rect work = screen.primary().workArea; form.design().centred) {
        EXPECT_LE(std::abs(outer.left + outer.right - work.left - work.right), 1);
        EXPECT_LE(std::abs(outer.top + outer.bottom - work.top - work.bottom), 1);
    }
    const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
    const auto fontHeight = [](HWND child) {
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return std::abs(lf.lfHeight);
    };
    std::map<HWND, LONG> fontsAtStart;
    const int startDpi = form.dpi();
    for (const int dpi : {startDpi, 144}) {
        // What the system sends as the window crosses to a monitor of another DPI.
        if (dpi != startDpi) {
            ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&outer));
        }
        pumpFor(20ms);
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
            ::SendMessageW(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            const Control* control = controlOf(form, child);
            EXPECT_EQ(::GetCursor() == hand, control && control->design().pointer == Pointer::Hand) << order.back();
            // A month view may take a smaller font to fit.
            if (fontsAtStart.count(child) && className(child) != MONTHCAL_CLASSW) {
                EXPECT_NEAR(fontHeight(child), fontsAtStart[child] * dpi / startDpi, 1) << order.back();
            }
            fontsAtStart.emplace(child, fontHeight(child));
        }
        EXPECT_EQ(order, want.order);
        // A full round, so that the focus ends where it started.
        for (MSG tab{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}}; tab.hwnd; tab.hwnd = ::GetFocus()) {
            tabs.push_back(nameOf(form, tab.hwnd));
            if (tabs.size() == want.tabs.size()) break;
            ::IsDialogMessageW(hwnd, &tab);
        }
        EXPECT_EQ(tabs, want.tabs);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowLayout,
    ::testing::Values(
        Layout{"Main", 0, {"Command1", "mv1", "mv3", "Picture1"}, {"Command1", "mv1", "mv3", "Command1"}, true, false},
        Layout{"Options", 1,
               {"chkstartup", "optfull", "OKButton", "optbasic", "Command1", "Label1", "Label2", "Label3", "Label4"},
               {"chkstartup", "OKButton", "Command1", "Label2", "chkstartup"}, true, true},
        Layout{"About", 2, {"cmdOK", "cmdSysInfo", "Command1", "Line1", "lblTitle", "Label1", "Label2", "Label4"},
               {"cmdOK", "cmdSysInfo", "Command1", "Label4", "cmdOK"}, true, false},
        // The text covers the title and the focus holder; it takes the focus only to give it back.
        Layout{"Readme", 3, {"Text1", "Picture1", "Label1", "Label3"}, {"Picture1", "Picture1"}, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// --- registry values as other programs may have left them ---------------------

const std::wstring kKey = L"Software\\DayvaneTests \u00c4rger\\Kinds";
const std::string kApp = "DayvaneTests \xc3\x84rger";

struct Kind {
    const char* name;
    DWORD type;  // 0: no value at all
    std::wstring stored;
    std::optional<std::string> aboutReads;  // none: not found; "stale": found, but no text
    std::string settingsReads;
};

class RegistryKinds : public RealWindows, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\DayvaneTests \u00c4rger"); }
    void TearDown() override { SetUp(); }
};

TEST_P(RegistryKinds, ReadAsTextOnlyWhenTheyAreText) {
    const Kind& kind = GetParam();
    const auto bytes = static_cast<DWORD>(kind.stored.size() * sizeof(wchar_t));
    ASSERT_TRUE(!kind.type || ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey.c_str(), L"Value", kind.type,
                                                kind.stored.data(), bytes) == ERROR_SUCCESS);
    std::string text = "stale";
    const bool found = frmAbout.GetKeyValue(RegistryRoot::CurrentUser, win32::narrow(kKey), "Value", text);
    EXPECT_EQ(found ? std::optional(text) : std::nullopt, kind.aboutReads);
    EXPECT_EQ(settings.read(kApp, "Kinds", "Value"), kind.settingsReads);
}

// Windows keeps a REG_SZ as written; Wine adds a NUL. Either way the text is whole.
INSTANTIATE_TEST_SUITE_P(
    Values, RegistryKinds,
    ::testing::Values(
        Kind{"WithNul", REG_SZ, L"C:\\a b\\x.exe"s + L'\0', "C:\\a b\\x.exe", "C:\\a b\\x.exe"},
        Kind{"WithoutNul", REG_SZ, L"TRUE", "TRUE", "TRUE"},
        Kind{"TwoNuls", REG_SZ, L"abc\0\0"s, "abc\0"s, "abc"},
        Kind{"NonAsciiAndASurrogatePair", REG_SZ, L"\u00e8\u65e5\U0001F41E"s, "\xc3\xa8\xe6\x97\xa5\xf0\x9f\x90\x9e",
             "\xc3\xa8\xe6\x97\xa5\xf0\x9f\x90\x9e"},
        Kind{"Empty", REG_SZ, L"", std::nullopt, ""},
        Kind{"Absent", 0, L"", std::nullopt, ""},
        Kind{"LongestForAbout", REG_SZ, std::wstring(511, L'x') + L'\0', std::string(511, 'x'), std::string(511, 'x')},
        Kind{"LongestSetting", REG_SZ, std::wstring(4096, L'y'), std::nullopt, std::string(4096, 'y')},
        Kind{"TooLong", REG_SZ, std::wstring(4097, L'y') + L'\0', std::nullopt, ""},
        Kind{"Dword", REG_DWORD, L"\x0105\0"s, "&h000105", ""},
        Kind{"Expandable", REG_EXPAND_SZ, L"%SystemRoot%\\msinfo32.exe"s + L'\0',
             std::getenv("SystemRoot") + "\\msinfo32.exe"s, ""},
        Kind{"Binary", REG_BINARY, L"TRUE", "stale", ""},
        Kind{"Multi", REG_MULTI_SZ, L"a\0b\0\0"s, "stale", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- keys and the mouse, as the program's message loop hands them on ---------

struct Input {
    const char* name;
    int form;
    const char* target;  // the control that gets it; nullptr: the one with the focus
    UINT message;
    WPARAM key;
    bool loaded, visible;
    size_t launches;  // links opened, programs started, messages shown
};

class WindowInput : public RealWindows, public ::testing::WithParamInterface<Input> {};

TEST_P(WindowInput, ReachesTheHandlerItIsFor) {
    const Input& in = GetParam();
    Form& form = *forms[in.form];
    form.Show();
    pumpFor(20ms);
    MSG msg{in.target ? childNamed(form, in.target) : ::GetFocus(), in.message, in.key, 0, 0, {}};
    ASSERT_NE(msg.hwnd, nullptr);
    if (in.message == WM_SYSCHAR) msg.lParam = 1 << 29;  // Alt is down
    if (!::IsDialogMessageW(::GetActiveWindow(), &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    pumpFor(20ms);
    EXPECT_EQ(form.loaded(), in.loaded);
    EXPECT_EQ(::IsWindowVisible(hwndOf(form)) != FALSE, in.visible);
    EXPECT_EQ(processes.attempts.size() + messages.prompts.size() + shell.calls.size(), in.launches);
}

// Esc is no press of the focused button.
INSTANTIATE_TEST_SUITE_P(
    Routing, WindowInput,
    ::testing::Values(Input{"AboutEnterOnOk", 2, nullptr, WM_KEYDOWN, VK_RETURN, false, false, 0},
                      Input{"AboutEscOnContactUs", 2, "Command1", WM_KEYDOWN, VK_ESCAPE, false, false, 0},
                      Input{"AboutAltS", 2, nullptr, WM_SYSCHAR, 's', true, true, 1},
                      Input{"AboutWebSiteClick", 2, "Label4", WM_LBUTTONDOWN, MK_LBUTTON, true, true, 1},
                      Input{"ReadmeEnter", 3, nullptr, WM_KEYDOWN, VK_RETURN, true, false, 0},
                      Input{"ReadmeEsc", 3, nullptr, WM_KEYDOWN, VK_ESCAPE, true, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the main window --------------------------------------------------------

// The real timer must be armed again after every tick.
TEST_F(RealWindows, ClockInTheCaptionKeepsTicking) {
    frmmain.Show();
    std::vector<std::wstring> captions{windowText(hwndOf(frmmain))};
    const auto changedThrice = [&] {
        if (windowText(hwndOf(frmmain)) != captions.back()) captions.push_back(windowText(hwndOf(frmmain)));
        return captions.size() > 3;
    };
    EXPECT_TRUE(pumpUntil(changedThrice, 10s))
        << "the caption changed " << captions.size() - 1 << " times, last to " << win32::narrow(captions.back());
}

TEST_F(RealWindows, ArrowClickOnTheMainViewMovesBothViews) {
    frmmain.Show();
    frmmain.mv1.setValue({2024, 12, 20});
    frmmain.AdjDate();
    POINT arrow{};
    ASSERT_TRUE(findNextArrow(childNamed(frmmain, "mv1"), arrow));
    clickAt(childNamed(frmmain, "mv1"), arrow);
    pumpFor(50ms);
    EXPECT_EQ(frmmain.mv1.Value(), (Date{2025, 1, 20}));
    const SYSTEMTIME next = currentSelection(childNamed(frmmain, "mv3"));
    EXPECT_EQ((Date{next.wYear, next.wMonth, next.wDay}), frmmain.mv3.Value());
    EXPECT_EQ(frmmain.mv3.Month(), 2);
}

// The dialog manager turns Esc and Enter into IDCANCEL and IDOK; they must
// not be taken for menu items such as Exit.
TEST_F(RealWindows, DialogKeyCommandsAreNoMenuItems) {
    frmmain.Show();
    pumpUntil([&] { return frmmain.iconRegistered(); });  // added once the first frame is drawn
    for (WPARAM id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDCLOSE, IDHELP})
        ::SendMessageW(hwndOf(frmmain), WM_COMMAND, id, 0);
    MSG quit;
    EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the program was told to end";
    EXPECT_TRUE(::IsWindowVisible(hwndOf(frmmain)));
    chooseMenu(L"Minimise");
    EXPECT_FALSE(::IsWindowVisible(hwndOf(frmmain))) << "the menu no longer works";
}

// Version 4 of the callback: the mouse message in the low word, the icon's id in the high.
TEST_F(RealWindows, OnlyAFinishedClickOrKeySelectOnTheIconBringsTheWindowBackInFront) {
    frmmain.Show();
    // Another window holds the foreground, so that taking it back shows.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, instance(), 0);
    for (const auto& [name, mouse, restores] :
         {std::tuple{"LeftButtonUp", WM_LBUTTONUP, true}, std::tuple{"RightButtonUp", WM_RBUTTONUP, true},
          std::tuple{"KeySelect", NIN_KEYSELECT, true}, std::tuple{"MouseMove", WM_MOUSEMOVE, false},
          std::tuple{"LeftButtonDown", WM_LBUTTONDOWN, false}, std::tuple{"DoubleClick", WM_LBUTTONDBLCLK, false}}) {
        chooseMenu(L"Minimise");
        ::SetForegroundWindow(other);
        ::SendMessageW(hwndOf(frmmain), win32::kTrayCallbackMessage, 0, MAKELPARAM(mouse, 1));
        pumpFor(50ms);
        EXPECT_EQ(::IsWindowVisible(hwndOf(frmmain)) != FALSE, restores) << name;
        EXPECT_EQ(::GetForegroundWindow() == hwndOf(frmmain), restores) << name;
    }
    ::DestroyWindow(other);
}

// Under Wine an icon goes with its dead window anyway: what the program asked
// the shell for shows only while its window lives.
TEST_F(RealWindows, ShellKnowsTheIconUntilExitAndGetsItBackAfterARestart) {
    frmmain.Show();
    pumpUntil([&] { return frmmain.iconRegistered(); });  // added once the first frame is drawn
    ASSERT_TRUE(askShell(NIM_MODIFY)) << "the shell took no icon";
    ASSERT_TRUE(askShell(NIM_DELETE));
    ::SendMessageW(hwndOf(frmmain), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(askShell(NIM_MODIFY)) << "not added again when the shell restarted";
    chooseMenu(L"Exit");
    ASSERT_TRUE(::IsWindow(hwndOf(frmmain)));
    EXPECT_FALSE(askShell(NIM_MODIFY)) << "the icon stayed after Exit";
}

}  // namespace
}  // namespace dv::test
