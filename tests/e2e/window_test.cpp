#include <algorithm>
#include <regex>
#include <thread>

#include "screen.h"

namespace dv::e2e {
namespace {

using StartedDayvane = StartedDayvaneTest;

TEST_F(StartedDayvane, OpensAtTheBottomRightOfTheWorkArea) {
    expectPlacedBottomRight(app.hwnd(), static_cast<int>(::GetDpiForWindow(app.hwnd())));
}

TEST_F(StartedDayvane, IsAToolWindowWithoutTaskbarButtonOrSizeBoxes) {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(app.hwnd(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(app.hwnd(), GWL_EXSTYLE));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_CAPTION);
}

TEST_F(StartedDayvane, CaptionIsALiveClock) {
    static const std::wregex clock(LR"(^    Time now is  \d{1,2}:\d{2}:\d{2}( [AP]M)?$)");
    const std::wstring first = windowText(app.hwnd());
    EXPECT_TRUE(std::regex_match(first, clock)) << std::string(first.begin(), first.end());
    std::wstring later;
    EXPECT_TRUE(waitUntil(
        [&] {
            later = windowText(app.hwnd());
            return later != first;
        },
        3s))
        << "the caption stood still";
    EXPECT_TRUE(std::regex_match(later, clock)) << std::string(later.begin(), later.end());
}

// What a menu looks like on screen, the bar's band or an opened drop-down.
ScreenShot barOf(HWND hwnd, const RECT& band) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return ScreenShot({r.left + band.left, r.top + band.top, r.left + band.right, r.top + band.bottom});
}

ScreenShot dropDownOf(HWND hwnd, DWORD processId, int barItem) {
    openMenu(hwnd, {barItem, 0});
    HWND popup = nullptr;
    waitUntil([&] { return (popup = openPopup(processId)) != nullptr; }, 5s);
    std::this_thread::sleep_for(200ms);  // drawn
    RECT r{};
    if (popup) ::GetWindowRect(popup, &r);
    ScreenShot shot(r);
    EXPECT_TRUE(closeMenu(hwnd));
    return shot;
}

void expectSame(const ScreenShot& actual, const ScreenShot& expected, const std::wstring& name) {
    EXPECT_FALSE(expected.empty()) << "nothing to compare";
    if (actual == expected) return;
    ADD_FAILURE() << "the menu differs; see menu-" << std::string(name.begin(), name.end())
                  << "-{actual,expected}.bmp";
    actual.save(screenshotFolder() + L"menu-" + name + L"-actual.bmp");
    expected.save(screenshotFolder() + L"menu-" + name + L"-expected.bmp");
}

TEST_F(StartedDayvane, MenusCarryTheirCaptionsInOrder) {
    RECT own{};
    ::GetWindowRect(app.hwnd(), &own);
    // Beside Dayvane, so that neither covers the other's menus.
    ReferenceWindow expected(app.hwnd(), {own.left - 2 * (own.right - own.left), own.top});
    ASSERT_NE(expected.hwnd(), nullptr);
    std::this_thread::sleep_for(300ms);

    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(::GetMenuBarInfo(expected.hwnd(), OBJID_MENU, 0, &bar));
    RECT reference{};
    ::GetWindowRect(expected.hwnd(), &reference);
    POINT clientTop{0, 0};
    ::ClientToScreen(expected.hwnd(), &clientTop);
    // Only the bar: the client areas differ.
    RECT band = bar.rcBar;
    band.bottom = std::min(band.bottom, clientTop.y);
    ::OffsetRect(&band, -reference.left, -reference.top);
    expectSame(barOf(app.hwnd(), band), barOf(expected.hwnd(), band), L"bar");

    expectSame(dropDownOf(app.hwnd(), app.processId(), 0), dropDownOf(expected.hwnd(), ::GetCurrentProcessId(), 0),
               L"file");
    expectSame(dropDownOf(app.hwnd(), app.processId(), 1), dropDownOf(expected.hwnd(), ::GetCurrentProcessId(), 1),
               L"option");
}

TEST_F(StartedDayvane, MinimiseHidesAndTheTrayIconBringsItBackInPlace) {
    RECT before{};
    ::GetWindowRect(app.hwnd(), &before);
    app.choose(kMinimise);
    ASSERT_TRUE(waitUntil([&] { return !::IsWindowVisible(app.hwnd()); }, 5s)) << "still shown";

    // Version 4 of the icon's callback: the mouse message in the low word, the icon's id in the high.
    app.post(WM_APP + 1, 0, MAKELPARAM(WM_LBUTTONUP, 1));
    ASSERT_TRUE(waitUntil([&] { return ::IsWindowVisible(app.hwnd()) != FALSE; }, 5s)) << "still hidden";
    RECT after{};
    ::GetWindowRect(app.hwnd(), &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
}

// The hidden button holds the focus, so Space sends the window away.
TEST_F(StartedDayvane, FocusStartsOnHiddenCommand1AndSpaceHides) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    HWND focus = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            focus = ::GetGUIThreadInfo(::GetWindowThreadProcessId(app.hwnd(), nullptr), &gui) ? gui.hwndFocus
                                                                                                : nullptr;
            return focus != nullptr;
        },
        5s));
    EXPECT_EQ(::GetAncestor(focus, GA_ROOT), app.hwnd());
    EXPECT_EQ(::CompareStringOrdinal(className(focus).c_str(), -1, L"Button", -1, TRUE), CSTR_EQUAL);
    EXPECT_EQ(windowText(focus), L"Command1");
    RECT client{}, button{};
    ::GetClientRect(app.hwnd(), &client);
    ::GetWindowRect(focus, &button);
    ::MapWindowPoints(nullptr, app.hwnd(), reinterpret_cast<POINT*>(&button), 2);
    EXPECT_GE(button.left, client.right) << "Command1 can be seen";

    // Esc and Enter reach the window as IDCANCEL and IDOK: neither is a menu command.
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        ::PostMessageW(focus, WM_KEYDOWN, key, 1);
        ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    }
    ASSERT_FALSE(app.waitForExit(1500ms)) << "a key ended Dayvane";
    EXPECT_TRUE(::IsWindowVisible(app.hwnd()));

    ::PostMessageW(focus, WM_KEYDOWN, VK_SPACE, 0x00390001);
    ::PostMessageW(focus, WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindowVisible(app.hwnd()); }, 5s)) << "still shown";
}

}  // namespace
}  // namespace dv::e2e
