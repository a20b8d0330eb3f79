#include "support.h"

namespace dv::test {

HINSTANCE instance() { return ::GetModuleHandleW(nullptr); }

dv::win32::Toolkit& toolkit() {
    static dv::win32::Toolkit kit(instance());
    return kit;
}

RECT rectInParent(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SYSTEMTIME currentSelection(HWND monthCalendar) {
    SYSTEMTIME st{};
    ::SendMessageW(monthCalendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

bool findNextArrow(HWND monthCalendar, POINT& at) {
    RECT client{};
    ::GetClientRect(monthCalendar, &client);
    MCHITTESTINFO hit{};
    hit.cbSize = sizeof hit;
    for (hit.pt.y = 1; hit.pt.y < client.bottom / 3; hit.pt.y += 2) {
        for (hit.pt.x = client.right - 1; hit.pt.x > client.right / 2; hit.pt.x -= 2) {
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
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

namespace {
UINT findIn(HMENU menu, std::wstring_view caption) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (UINT id = findIn(sub, caption)) return id;
        } else if (text == caption) {
            return ::GetMenuItemID(menu, i);
        }
    }
    return 0;
}
}  // namespace

UINT menuItemId(HWND hwnd, const wchar_t* caption) { return findIn(::GetMenu(hwnd), caption); }

int twipsToPx(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

}  // namespace dv::test
