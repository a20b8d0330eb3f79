// The baseline of make bench: the least a program with Dayvane's window can
// be — a window with a menu and two month-calendar controls, nothing else,
// built with the same compiler, flags and manifest.
#include <windows.h>

#include <commctrl.h>

namespace {

constexpr wchar_t kClass[] = L"DayvaneBaseline";

HMENU makeMenu() {
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 1, L"Exit");
    ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), L"File");
    HMENU option = ::CreatePopupMenu();
    ::AppendMenuW(option, MF_STRING, 2, L"Add to start up");
    ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(option), L"Option");
    ::AppendMenuW(bar, MF_STRING, 3, L"Minimise");
    ::AppendMenuW(bar, MF_STRING, 4, L"About");
    return bar;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            for (int i = 0; i < 2; ++i)
                ::CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD | WS_VISIBLE | MCS_NOTODAY, 0, 150 + i * 160, 180,
                                  158, hwnd, nullptr, create->hInstance, nullptr);
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == 1) ::DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    ::RegisterClassExW(&wc);
    HWND hwnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"Baseline", WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 200, 520, nullptr, makeMenu(), instance, nullptr);
    if (!hwnd) return 1;
    ::ShowWindow(hwnd, show);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
