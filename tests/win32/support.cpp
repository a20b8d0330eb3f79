#include "support.h"

#include <thread>

namespace dv::test {

HINSTANCE instance() { return ::GetModuleHandleW(nullptr); }

dv::win32::Toolkit& toolkit() {
    static dv::win32::Toolkit kit(instance());
    return kit;
}

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // A quit asked for by the window under test must not end the runner.
            if (msg.message == WM_QUIT) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pumpFor(std::chrono::milliseconds time) {
    pumpUntil([] { return false; }, time);
}

std::wstring className(HWND hwnd) {
    wchar_t name[256] = {};
    ::GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring windowText(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

RECT rectInParent(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* cls) {
    std::vector<HWND> found;
    for (HWND h = ::FindWindowExW(parent, nullptr, cls, nullptr); h; h = ::FindWindowExW(parent, h, cls, nullptr))
        found.push_back(h);
    return found;
}

SYSTEMTIME currentSelection(HWND monthCalendar) {
    SYSTEMTIME st{};
    ::SendMessageW(monthCalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

bool findNextArrow(HWND monthCalendar, POINT& at) {
    RECT client{};
    ::GetClientRect(monthCalendar, &client);
    for (int y = 1; y < client.bottom / 3; y += 2) {
        for (int x = client.right - 1; x > client.right / 2; x -= 2) {
            MCHITTESTINFO hit{};
            hit.cbSize = sizeof hit;
            hit.pt = {x, y};
            ::SendMessageW(monthCalendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_TITLEBTNNEXT) {
                at = hit.pt;
                return true;
            }
        }
    }
    return false;
}

void clickAt(HWND hwnd, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, where);
}

namespace {
UINT findIn(HMENU menu, const wchar_t* caption) {
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (UINT id = findIn(sub, caption)) return id;
        } else if (std::wstring_view(text) == caption) {
            return ::GetMenuItemID(menu, i);
        }
    }
    return 0;
}
}  // namespace

UINT menuItemId(HWND hwnd, const wchar_t* caption) { return findIn(::GetMenu(hwnd), caption); }

int twipsToPx(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

}  // namespace dv::test
