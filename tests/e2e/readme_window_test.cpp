#include <algorithm>
#include <string>
#include <thread>

#include "about_windows.h"
#include "screen.h"

namespace dv::e2e {
namespace {

constexpr wchar_t kReadmeClass[] = L"Dayvane.ThumbFrm5";
constexpr COLORREF kOkNormal = RGB(0, 128, 128);
constexpr COLORREF kOkHover = RGB(0, 160, 160);

class ReadmeInDayvane : public StartedDayvaneTest {
protected:
    HWND openReadme() {
        app.choose(kAddOwnPhoto);
        HWND window = nullptr;
        waitUntil([&] { return (window = shownWindow(app.processId(), kReadmeClass)) != nullptr; }, 10s);
        waitUntil([&] { return window && guiOf(window).hwndActive == window && guiOf(window).hwndFocus; }, 10s);
        return window;
    }
    static HWND okOf(HWND window) { return ::FindWindowExW(window, nullptr, L"Static", L"OK"); }
    static std::wstring textOf(HWND window) {
        HWND edit = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
        std::wstring text(4096, L'\0');
        const auto n = ::SendMessageW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(n));
        return text;
    }
    // The OK label's colour beside its text, where the pointer never is.
    static bool okShows(HWND ok, COLORREF colour) {
        return waitUntil(
            [&] {
                RECT r{};
                ::GetWindowRect(ok, &r);
                return ScreenShot({r.left, r.top, r.left + 4, r.bottom}).count(colour) == 4 * (r.bottom - r.top);
            },
            10s);
    }
    static void pointAt(HWND hwnd, int dx, int dy) {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        ::SetCursorPos(r.left + dx, r.top + dy);
    }

};

TEST_F(ReadmeInDayvane, AddOwnPhotoShowsTheReadmeOkHidesItAndTheSameComesBack) {
    HWND window = openReadme();
    ASSERT_NE(window, nullptr) << "no read-me window";
    const std::wstring text = textOf(window);
    EXPECT_TRUE(text.starts_with(L"Thank you for using Free Dayvane.\r\n")) << text.substr(0, 40).c_str();
    EXPECT_TRUE(text.ends_with(L"\r\nKeep Smiling !\r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 24);
    EXPECT_EQ(className(guiOf(window).hwndFocus), L"Dayvane.Picture") << "the focus is never in the text";

    // Away from the window first, so that the picture shows the normal colour.
    ::SetCursorPos(0, 0);
    HWND ok = okOf(window);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(okShows(ok, kOkNormal));
    RECT r{};
    ::GetWindowRect(window, &r);
    const ScreenShot shot(r);
    EXPECT_TRUE(shot.save(screenshotFolder() + L"readme.bmp"));
    EXPECT_GT(shot.count(RGB(0, 128, 0)), 1000) << "no green background";
    EXPECT_GT(shot.count(RGB(255, 224, 192)), 10000) << "no peach text background";

    pointAt(ok, 6, 4);
    EXPECT_TRUE(okShows(ok, kOkHover)) << "OK does not light up under the mouse";
    pointAt(::FindWindowExW(window, nullptr, L"Edit", nullptr), 40, 40);
    EXPECT_TRUE(okShows(ok, kOkNormal)) << "OK stays lit over the text";

    ::PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ::PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(waitUntil([&] { return !::IsWindowVisible(window); }, 10s)) << "OK left the window shown";

    EXPECT_EQ(openReadme(), window) << "not the same window";
    pressKey(guiOf(window).hwndFocus, VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindowVisible(window); }, 10s)) << "Esc left the window shown";
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(app.running());
    ::SetCursorPos(0, 0);
}

}  // namespace
}  // namespace dv::e2e
