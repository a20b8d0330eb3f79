#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <tuple>

#include "main_window/clock_caption.h"
#include "messages.h"
#include "support.h"

#include <shellapi.h>

// Each window of the program on the real toolkit and services: what only real controls show (pixels and
// fonts at a DPI, the native order, keys, clicks, timers and colours) and the real registry's value kinds.
namespace dv::test {
namespace {

using namespace std::string_literals;

int twipsToPx(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

RECT rectInParent(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The control whose designed box the child covers at the form's DPI (a line is as high as its stroke).
const Control* controlOf(const Form& form, HWND child) {
    const RECT r = rectInParent(child);
    const auto px = [&](int twips) { return twipsToPx(twips, form.dpi()); };
    for (const Control* c : form.controls()) {
        const TwipsBox& b = c->design().box;
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

LONG fontHeight(HWND child) {
    LOGFONTW lf{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return std::abs(lf.lfHeight);
}

struct Layout {
    const char* name;
    int form;                        // in RealWindows::forms
    std::vector<std::string> order;  // the children, top first
    std::vector<std::string> tabs;   // where the focus starts, then where each Tab key takes it
};

class WindowLayout : public RealWindows, public ::testing::WithParamInterface<Layout> {};

// One layout check per window, at the DPI it starts with and at 144; also the pointer: the hand over a
// link label only.
TEST_P(WindowLayout, SizesFontsAndOrderFollowTheDesignAtEachDpi) {
    const Layout& want = GetParam();
    Form& form = *forms[want.form];
    form.Show();
    drain();
    const HWND hwnd = hwndOf(form);
    const auto style = ::GetWindowLongPtrW(hwnd, GWL_STYLE), ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    EXPECT_EQ((style & WS_CAPTION) == WS_CAPTION, form.design().border != BorderStyle::None);
    const bool taskbarButton = (ex & WS_EX_APPWINDOW) || !(::GetWindow(hwnd, GW_OWNER) || (ex & WS_EX_TOOLWINDOW));
    EXPECT_EQ(taskbarButton, form.design().showInTaskbar);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
    RECT outer{};
    ::GetWindowRect(hwnd, &outer);
    if (const Rect work = screen.primary().workArea; form.design().centred) {
        EXPECT_LE(std::abs(outer.left + outer.right - work.left - work.right), 1);
        EXPECT_LE(std::abs(outer.top + outer.bottom - work.top - work.bottom), 1);
    }
    std::map<HWND, LONG> fontsAtStart;
    const int startDpi = form.dpi();
    for (const int dpi : {startDpi, 144}) {
        // What the system sends as the window crosses to a monitor of another DPI.
        if (dpi != startDpi) {
            ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&outer));
        }
        drain();
        SCOPED_TRACE(dpi);
        RECT client{};
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, twipsToPx(form.design().clientWidth, dpi));
        // A menu bar may wrap on a narrow window; the design stays whole.
        EXPECT_GE(client.bottom, twipsToPx(form.design().clientHeight, dpi));
        EXPECT_LT(client.bottom, twipsToPx(form.design().clientHeight, dpi) + ::GetSystemMetricsForDpi(SM_CYMENU, dpi));
        std::vector<std::string> order, tabs;
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const std::string name = order.emplace_back(nameOf(form, child));
            EXPECT_TRUE(showsItAll(child, client)) << name;
            ::SendMessageW(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            const Control* control = controlOf(form, child);
            const bool hand = control && control->design().pointer == Pointer::Hand;
            EXPECT_EQ(::GetCursor() == ::LoadCursorW(nullptr, IDC_HAND), hand) << name;
            // A month view may take a smaller font to fit.
            if (fontsAtStart.count(child) && className(child) != MONTHCAL_CLASSW) {
                EXPECT_NEAR(fontHeight(child), fontsAtStart[child] * dpi / startDpi, 1) << name;
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
        Layout{"Main", 0, {"Command1", "mv1", "mv3", "Picture1"}, {"Command1", "mv1", "mv3", "Command1"}},
        Layout{"Options", 1,
               {"chkstartup", "optfull", "OKButton", "optbasic", "Command1", "Label1", "Label2", "Label3", "Label4"},
               {"chkstartup", "OKButton", "Command1", "Label2", "chkstartup"}},
        Layout{"About", 2, {"cmdOK", "cmdSysInfo", "Command1", "Line1", "lblTitle", "Label1", "Label2", "Label4"},
               {"cmdOK", "cmdSysInfo", "Command1", "Label4", "cmdOK"}},
        // The text covers the title and the focus holder; it takes the focus only to give it back.
        Layout{"Readme", 3, {"Text1", "Picture1", "Label1", "Label3"}, {"Picture1", "Picture1"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Registry values as other programs may have left them. Windows keeps a REG_SZ as written; Wine adds a
// NUL. Either way the text is whole.
TEST_F(RealWindows, RegistryValuesReadAsTextOnlyWhenTheyAreText) {
    const std::wstring app = L"Software\\DayvaneTests \u00c4rger", key = app + L"\\Kinds";
    const std::string mixed = "\xc3\xa8\xe6\x97\xa5\xf0\x9f\x90\x9e";  // a letter, an ideograph, an emoji
    const struct {
        const char* name;
        DWORD type;  // 0: no value at all
        std::wstring stored;
        std::optional<std::string> aboutReads;  // none: not found; "stale": found, but no text
        std::string settingsReads;
    } kinds[] = {
        {"WithNul", REG_SZ, L"C:\\a b\\x.exe"s + L'\0', "C:\\a b\\x.exe", "C:\\a b\\x.exe"},
        {"WithoutNul", REG_SZ, L"TRUE", "TRUE", "TRUE"},
        {"TwoNuls", REG_SZ, L"abc\0\0"s, "abc\0"s, "abc"},
        {"NonAsciiAndASurrogatePair", REG_SZ, L"\u00e8\u65e5\U0001F41E"s, mixed, mixed},
        {"Empty", REG_SZ, L"", std::nullopt, ""},
        {"Absent", 0, L"", std::nullopt, ""},
        {"LongestForAbout", REG_SZ, std::wstring(511, L'x') + L'\0', std::string(511, 'x'), std::string(511, 'x')},
        {"LongestSetting", REG_SZ, std::wstring(4096, L'y'), std::nullopt, std::string(4096, 'y')},
        {"TooLong", REG_SZ, std::wstring(4097, L'y') + L'\0', std::nullopt, ""},
        {"Dword", REG_DWORD, L"\x0105\0"s, "&h000105", ""},
        {"Expandable", REG_EXPAND_SZ, L"%SystemRoot%\\msinfo32.exe"s + L'\0',
         std::getenv("SystemRoot") + "\\msinfo32.exe"s, ""},
        {"Binary", REG_BINARY, L"TRUE", "stale", ""},
        {"Multi", REG_MULTI_SZ, L"a\0b\0\0"s, "stale", ""}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, app.c_str());
        const auto bytes = static_cast<DWORD>(kind.stored.size() * sizeof(wchar_t));
        ASSERT_TRUE(!kind.type || ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Value", kind.type,
                                                    kind.stored.data(), bytes) == ERROR_SUCCESS);
        std::string text = "stale";
        const bool found = frmAbout.GetKeyValue(RegistryRoot::CurrentUser, win32::narrow(key), "Value", text);
        EXPECT_EQ(found ? std::optional(text) : std::nullopt, kind.aboutReads);
        EXPECT_EQ(settings.read("DayvaneTests \xc3\x84rger", "Kinds", "Value"), kind.settingsReads);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, app.c_str());
}

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

// The next-month arrow, found the way a user would: by looking along the title.
bool findNextArrow(HWND monthCalendar, POINT& at) {
    RECT client{};
    ::GetClientRect(monthCalendar, &client);
    MCHITTESTINFO hit{};
    hit.cbSize = sizeof hit;
    for (hit.pt.y = 1; hit.pt.y < client.bottom / 3; hit.pt.y += 2)
        for (hit.pt.x = client.right - 1; hit.pt.x > client.right / 2; hit.pt.x -= 2)
            if (::SendMessageW(monthCalendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)),
                hit.uHit == MCHT_TITLEBTNNEXT)
                return at = hit.pt, true;
    return false;
}

TEST_F(RealWindows, ArrowClickOnTheMainViewMovesBothViews) {
    frmmain.Show();
    frmmain.mv1.setValue({2024, 12, 20});
    frmmain.AdjDate();
    const std::vector<HWND> views = childrenOfClass(hwndOf(frmmain), MONTHCAL_CLASSW);
    ASSERT_EQ(views.size(), 2u);
    POINT arrow{};
    ASSERT_TRUE(findNextArrow(views[0], arrow));
    ::SendMessageW(views[0], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow.x, arrow.y));
    ::SendMessageW(views[0], WM_LBUTTONUP, 0, MAKELPARAM(arrow.x, arrow.y));
    EXPECT_TRUE(pumpUntil([&] { return frmmain.mv1.Value() == Date{2025, 1, 20}; }));
    SYSTEMTIME next{};
    ::SendMessageW(views[1], MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&next));
    EXPECT_EQ((Date{next.wYear, next.wMonth, next.wDay}), frmmain.mv3.Value());
    EXPECT_EQ(frmmain.mv3.Month(), 2);
}

// The dialog manager turns Esc and Enter into IDCANCEL and IDOK; they must not be taken for menu items.
TEST_F(RealWindows, DialogKeyCommandsAreNoMenuItems) {
    frmmain.Show();
    ASSERT_TRUE(frmmain.iconRegistered());
    for (WPARAM id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDCLOSE, IDHELP})
        ::SendMessageW(hwndOf(frmmain), WM_COMMAND, id, 0);
    EXPECT_EQ(application.quitCalls, 0) << "the program was told to end";
    EXPECT_TRUE(::IsWindowVisible(hwndOf(frmmain)));
    runMenu(L"Minimise");
    EXPECT_FALSE(::IsWindowVisible(hwndOf(frmmain))) << "the menu no longer works";
}

// Version 4 of the callback: the mouse message in the low word, the icon's id in the high.
TEST_F(RealWindows, OnlyAFinishedClickOrKeySelectOnTheIconBringsTheWindowBackInFront) {
    frmmain.Show();
    // Another window holds the foreground, so that taking it back shows.
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, 0, 0, instance(), 0);
    for (const auto& [name, mouse, restores] :
         {std::tuple{"LeftButtonUp", WM_LBUTTONUP, true}, std::tuple{"RightButtonUp", WM_RBUTTONUP, true},
          std::tuple{"KeySelect", NIN_KEYSELECT, true}, std::tuple{"LeftButtonDown", WM_LBUTTONDOWN, false}}) {
        runMenu(L"Minimise");
        ::SetForegroundWindow(other);
        ::SendMessageW(hwndOf(frmmain), win32::kTrayCallbackMessage, 0, MAKELPARAM(mouse, 1));
        const auto inFront = [&] { return ::GetForegroundWindow() == hwndOf(frmmain); };
        EXPECT_EQ(pumpUntil(inFront, restores ? 5s : 0ms), restores) << name;
        EXPECT_EQ(::IsWindowVisible(hwndOf(frmmain)) != FALSE, restores) << name;
    }
    ::DestroyWindow(other);
}

// Under Wine an icon goes with its dead window anyway: what the program asked the shell for shows only
// while its window lives.
TEST_F(RealWindows, ShellKnowsTheIconUntilExitAndGetsItBackAfterARestart) {
    const auto askShell = [&](DWORD what) {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = hwndOf(frmmain);
        data.uID = 1;
        return ::Shell_NotifyIconW(what, &data) != FALSE;
    };
    frmmain.Show();
    ASSERT_TRUE(askShell(NIM_MODIFY)) << "the shell took no icon";
    ASSERT_TRUE(askShell(NIM_DELETE));
    ::SendMessageW(hwndOf(frmmain), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(askShell(NIM_MODIFY)) << "not added again when the shell restarted";
    runMenu(L"Exit");
    ASSERT_TRUE(::IsWindow(hwndOf(frmmain)));
    EXPECT_FALSE(askShell(NIM_MODIFY)) << "the icon stayed after Exit";
}

// What the system does as the window goes out of sight and back: a ShowWindow (message 0), a session
// change or a change of the display's state, sent as a POWERBROADCAST_SETTING.
void change(HWND hwnd, UINT message, WPARAM how) {
    struct { GUID setting; DWORD length, data; } display{GUID_SESSION_DISPLAY_STATUS, sizeof(DWORD), DWORD(how)};
    if (!message) {
        ::ShowWindow(hwnd, static_cast<int>(how));
    } else if (message == WM_POWERBROADCAST) {
        ::SendMessageW(hwnd, message, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&display));
    } else {
        ::SendMessageW(hwnd, message, how, 0);
    }
}

// On a clock the test sets, so that a caption left behind shows.
TEST_F(RealWindows, TheClockRunsOnlyWhileSeenAndIsRightTheMomentItIsSeenAgain) {
    fakes::FakeClock fixed;
    MainWindow window{{toolkit(), messages}, {fixed, screen, notifyIcon, application}, {}};
    window.Show();
    constexpr UINT kSession = WM_WTSSESSION_CHANGE, kPower = WM_POWERBROADCAST;
    const struct { const char* what; UINT message; WPARAM how; bool seen; } steps[] = {
        {"hidden", 0, SW_HIDE, false}, {"shown", 0, SW_SHOW, true}, {"minimised", 0, SW_MINIMIZE, false},
        {"restored", 0, SW_RESTORE, true}, {"minimised again", 0, SW_MINIMIZE, false},
        {"and hidden", 0, SW_HIDE, false}, {"shown restored", 0, SW_RESTORE, true},
        {"locked", kSession, WTS_SESSION_LOCK, false}, {"unlocked", kSession, WTS_SESSION_UNLOCK, true},
        {"display off", kPower, 0, false}, {"display on", kPower, 1, true}, {"display dimmed", kPower, 2, true}};
    for (bool wasSeen = true; const auto& step : steps) {
        fixed.time.minute = (fixed.time.minute + 1) % 60;
        change(hwndOf(window), step.message, step.how);
        EXPECT_EQ(window.Timer1.Enabled(), step.seen) << step.what;
        if (step.seen && !wasSeen) {
            const std::string now = clockCaption(fixed.longTimeText(fixed.time));
            EXPECT_EQ(win32::narrow(windowText(hwndOf(window))), now) << step.what;
        }
        wasSeen = step.seen;
    }
}

struct Keys {
    const char* name;
    int form;                // in RealWindows::forms
    const wchar_t* focused;  // the child's text; nullptr: where the focus starts
    WORD key, modifier;
    bool loaded, visible;
    size_t launches;  // links opened, programs started, messages shown
};

class KeyPress : public RealWindows, public ::testing::WithParamInterface<Keys> {};

// Real keys, through the system's input queue and the dialog manager; a form put away but still loaded
// comes back as the same window.
TEST_P(KeyPress, ReachesTheHandlerItIsFor) {
    const Keys& k = GetParam();
    Form& form = *forms[k.form];
    showInFront(form);
    if (k.focused) ::SetFocus(::FindWindowExW(hwndOf(form), nullptr, nullptr, k.focused));
    const std::uintptr_t window = form.hWnd();
    type(k.key, k.modifier);
    const auto outcome = [&] { return std::tuple(form.loaded(), form.visible(), launches()); };
    EXPECT_TRUE(runUntil([&] { return outcome() == std::tuple(k.loaded, k.visible, k.launches); }))
        << "loaded " << form.loaded() << ", visible " << form.visible() << ", " << launches() << " launches";
    if (k.loaded && !k.visible) {
        form.Show();
        EXPECT_EQ(form.hWnd(), window);
    }
}

// Esc is no press of the focused button; the read-me window has no button to take Enter or Esc.
INSTANTIATE_TEST_SUITE_P(
    Keyboard, KeyPress,
    ::testing::Values(Keys{"EnterOnAButtonNotTheDefault", 2, L"Contact Us", VK_RETURN, 0, true, true, 1},
                      Keys{"EnterOnALink", 2, L"Visit our Web Site", VK_RETURN, 0, true, true, 1},
                      Keys{"SpaceOnALink", 2, L"Visit our Web Site", VK_SPACE, 0, true, true, 1},
                      Keys{"EscOnAButtonNotTheCancel", 2, L"Contact Us", VK_ESCAPE, 0, false, false, 0},
                      Keys{"ReadmeEnter", 3, nullptr, VK_RETURN, 0, true, false, 0},
                      Keys{"ReadmeEsc", 3, nullptr, VK_ESCAPE, 0, true, false, 0},
                      Keys{"ReadmeAltF4", 3, nullptr, VK_F4, VK_MENU, true, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealWindows, ADoubleClickOnALabelIsOneClick) {
    showInFront(frmstartup);
    int doubleClicks = 0;
    frmstartup.Label4.onDblClick = [&] { ++doubleClicks; };
    const auto before = frmstartup.chkstartup.Value();
    RECT r{};
    ::GetWindowRect(::FindWindowExW(hwndOf(frmstartup), nullptr, L"Static", L"2."), &r);
    ::SetCursorPos(r.left + 3, (r.top + r.bottom) / 2);
    for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        ::mouse_event(button, 0, 0, 0, 0);
    ASSERT_TRUE(runUntil([&] { return doubleClicks == 1; }));
    EXPECT_NE(frmstartup.chkstartup.Value(), before) << "toggled once";
}

// Each activation puts the focus on that window's own control, also when the About box opened from the
// main window's menu closes and the main window takes it back.
TEST_F(RealWindows, FocusFollowsTheUserIntoTheAboutBoxAndBack) {
    showInFront(frmmain);
    HWND command1 = ::FindWindowExW(hwndOf(frmmain), nullptr, L"Button", L"Command1");
    ASSERT_EQ(::GetFocus(), command1) << "the main window starts with its hidden button focused";
    runMenu(L"About");
    ASSERT_TRUE(runUntil([&] { return ::GetActiveWindow() == hwndOf(frmAbout); })) << "About opened nothing";
    EXPECT_EQ(windowText(::GetFocus()), L"OK");
    type('S', VK_MENU);
    EXPECT_TRUE(runUntil([&] { return launches() == 1; })) << "Alt+S did not press System Info";
    type(VK_ESCAPE);
    EXPECT_TRUE(runUntil([&] { return !frmAbout.loaded(); }));
    EXPECT_TRUE(runUntil([&] { return ::GetFocus() == command1; })) << "the main window did not get its focus back";
}

bool isSystemColour(COLORREF c) {
    for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i)
        if (::GetSysColor(i) == c) return true;
    return false;
}

// The main view's parts and the About box's link; the designed ones are no system colour.
TEST_F(RealWindows, HighContrastIsFollowedAtOnceAndTheDesignComesBackExactly) {
    frmmain.Show();
    frmAbout.Show();
    const HWND view = childrenOfClass(hwndOf(frmmain), MONTHCAL_CLASSW).at(0), about = hwndOf(frmAbout);
    const auto colours = [&] {
        std::vector<COLORREF> c;
        for (int part : {MCSC_TITLEBK, MCSC_TITLETEXT, MCSC_MONTHBK, MCSC_TEXT, MCSC_TRAILINGTEXT, MCSC_BACKGROUND})
            c.push_back(static_cast<COLORREF>(::SendMessageW(view, MCM_GETCOLOR, part, 0)));
        HDC dc = ::CreateCompatibleDC(nullptr);
        ::SendMessageW(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(::FindWindowExW(about, nullptr, L"Static", L"Visit our Web Site")));
        c.push_back(::GetTextColor(dc));
        ::DeleteDC(dc);
        return c;
    };
    const std::vector<COLORREF> design = colours();
    ASSERT_FALSE(isSystemColour(design[0]) || isSystemColour(design.back()));
    highContrast.on = true;
    for (HWND hwnd : {hwndOf(frmmain), about}) ::SendMessageW(hwnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    for (COLORREF c : colours()) EXPECT_TRUE(isSystemColour(c)) << std::hex << c;
    highContrast.on = false;
    for (HWND hwnd : {hwndOf(frmmain), about}) ::SendMessageW(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(colours(), design);
}

}  // namespace
}  // namespace dv::test
