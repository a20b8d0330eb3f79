#include <gtest/gtest.h>

#include "support.h"

// Real keys and clicks through the system's input queue and the dialog manager, as a user gives them,
// and the peers' reaction to a change of the system's colours.
namespace dv::test {
namespace {

struct Keys {
    const char* name;
    int form;                // in RealWindows::forms
    const wchar_t* focused;  // the child's text; nullptr: where the focus starts
    WORD key, modifier;
    bool loaded, visible;
    size_t launches;  // links opened, programs started, messages shown
};

class KeyPress : public RealWindows, public ::testing::WithParamInterface<Keys> {};

// A form put away but still loaded comes back as the same window.
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
