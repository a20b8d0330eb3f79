#include "support.h"

namespace dv::test {

SettableContrast highContrast;

HINSTANCE instance() { return ::GetModuleHandleW(nullptr); }

win32::Toolkit& toolkit() {
    static win32::Toolkit kit(instance(), highContrast);
    return kit;
}

std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* cls) {
    std::vector<HWND> found;
    for (HWND h = ::FindWindowExW(parent, nullptr, cls, nullptr); h; h = ::FindWindowExW(parent, h, cls, nullptr))
        found.push_back(h);
    return found;
}

bool runUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    for (; !done(); ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        if (std::chrono::steady_clock::now() >= end) return false;
        for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            HWND active = ::GetActiveWindow();
            if (msg.message == WM_QUIT || (active && ::IsDialogMessageW(active, &msg))) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return true;
}

void type(WORD key, WORD modifier) {
    if (modifier) ::keybd_event(static_cast<BYTE>(modifier), 0, 0, 0);
    ::keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    ::keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    if (modifier) ::keybd_event(static_cast<BYTE>(modifier), 0, KEYEVENTF_KEYUP, 0);
}

static UINT menuItemId(HMENU menu, std::wstring_view caption) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (UINT id = menuItemId(sub, caption)) return id;
        } else if (text == caption) {
            return ::GetMenuItemID(menu, i);
        }
    }
    return 0;
}

void RealWindows::runMenu(const wchar_t* caption) {
    const UINT id = menuItemId(::GetMenu(hwndOf(frmmain)), caption);
    ASSERT_NE(id, 0u) << "no menu item " << win32::narrow(caption);
    ::SendMessageW(hwndOf(frmmain), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

}  // namespace dv::test

int main(int argc, char** argv) {
    // A copy started by the launch tests only leaves "<its own path>.ran" beside itself.
    wchar_t self[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"DAYVANE_LAUNCHED", nullptr, 0) && ::GetModuleFileNameW(nullptr, self, MAX_PATH))
        return !dv::win32::UniqueHandle(::CreateFileW((std::wstring(self) + L".ran").c_str(), GENERIC_WRITE, 0,
                                                      nullptr, CREATE_ALWAYS, 0, nullptr));
    // The picture box decodes its photo with WIC, as Dayvane's own start-up allows.
    dv::win32::ComApartment com;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
