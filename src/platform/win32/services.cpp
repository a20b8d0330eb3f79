#include "services.h"

#include <commctrl.h>
#include <shellapi.h>
#include <utility>

#include "messages.h"
#include "text.h"

namespace dv::win32 {

AppIdentity runningIdentity() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return identityFor("Dayvane.exe");
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);  // a long path: try a larger buffer
    }
    return identityFor(narrow(path));
}

LocalTime SystemClock::now() const {
    SYSTEMTIME st{};
    ::GetLocalTime(&st);
    return {{st.wYear, st.wMonth, st.wDay}, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string SystemClock::longTimeText(const LocalTime& t) const {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.date.year);
    st.wMonth = static_cast<WORD>(t.date.month);
    st.wDay = static_cast<WORD>(t.date.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    wchar_t text[128] = {};
    // No format given: the user's long time format.
    if (!::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, text, 128)) {
        // hh:mm:ss by hand: a printf would bring its whole formatter along.
        const int parts[] = {t.hour, t.minute, t.second};
        for (int i = 0; i < 3; ++i) {
            text[i * 3] = static_cast<wchar_t>(L'0' + parts[i] / 10 % 10);
            text[i * 3 + 1] = static_cast<wchar_t>(L'0' + parts[i] % 10);
            text[i * 3 + 2] = i < 2 ? L':' : L'\0';
        }
    }
    return narrow(text);
}

ScreenInfo PrimaryScreen::primary() const {
    HMONITOR monitor = ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ScreenInfo screen;
    if (::GetMonitorInfoW(monitor, &info)) {
        screen.monitor = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
        screen.workArea = {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    } else {
        screen.monitor = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        screen.workArea = screen.monitor;
    }
    // The primary monitor's DPI is the system's (GetDpiForMonitor would load
    // shcore, and under Wine shell32 with it, before the first frame).
    screen.dpi = static_cast<int>(::GetDpiForSystem());
    return screen;
}

Rect PrimaryScreen::workAreaOf(const Rect& window) const {
    const RECT r{window.left, window.top, window.right, window.bottom};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return primary().workArea;
    return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

bool SystemAccessibility::highContrast() const {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void TaskModalMessageBox::show(std::string_view prompt) {
    ::MessageBoxW(nullptr, widen(prompt).c_str(), L"Dayvane", MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

bool ShellNotifyIcon::add(std::uintptr_t ownerWindow, std::string_view tooltip) {
    owner_ = reinterpret_cast<HWND>(ownerWindow);
    // Loaded afresh each time: a shell restart or a new DPI wants its own size.
    HICON icon = nullptr;
    if (FAILED(::LoadIconMetric(instance_, MAKEINTRESOURCEW(iconResource_), LIM_SMALL, &icon))) icon = nullptr;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon;
    ::wcsncpy(data.szTip, widen(tooltip).c_str(), std::size(data.szTip) - 1);
    // An icon that survived (TaskbarCreated also comes on a DPI change) is updated instead.
    const bool ok = ::Shell_NotifyIconW(NIM_ADD, &data) || ::Shell_NotifyIconW(NIM_MODIFY, &data);
    if (ok) {
        data.uVersion = NOTIFYICON_VERSION_4;
        ::Shell_NotifyIconW(NIM_SETVERSION, &data);
    }
    icon_.reset(icon);
    return ok;
}

void ShellNotifyIcon::remove() {
    if (!owner_) return;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = 1;
    ::Shell_NotifyIconW(NIM_DELETE, &data);
    owner_ = nullptr;
}

namespace {
constexpr wchar_t kTimerWindowClass[] = L"Dayvane.AfterFirstFrame";
}  // namespace

void MessageLoop::afterFirstFrame(std::function<void()> work) {
    afterFirstFrame_.push_back(std::move(work));
    if (!timerWindow_) {
        HINSTANCE instance = ::GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = timerWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kTimerWindowClass;
        ::RegisterClassExW(&wc);  // fails harmlessly when already there
        timerWindow_.reset(::CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                             instance, nullptr));
        if (timerWindow_) ::SetWindowLongPtrW(timerWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    // Without a timer, better now than never.
    if (!timerWindow_ || !::SetTimer(timerWindow_.get(), 1, USER_TIMER_MINIMUM, nullptr))
        for (auto& pending : std::exchange(afterFirstFrame_, {})) pending();
}

LRESULT CALLBACK MessageLoop::timerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MessageLoop*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg != WM_TIMER || !self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    ::KillTimer(hwnd, 1);
    for (auto& work : std::exchange(self->afterFirstFrame_, {})) work();
    return 0;
}

int MessageLoop::run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Tab, the arrow keys and the mnemonics move between controls.
        HWND active = ::GetActiveWindow();
        if (active && ::IsDialogMessageW(active, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void MessageLoop::quit() { ::PostQuitMessage(0); }

namespace {
constexpr wchar_t kInstanceMutex[] = L"Local\\Dayvane.Instance";
constexpr wchar_t kMainClass[] = L"Dayvane.frmmain";
}  // namespace

bool SessionInstance::acquire() {
    mutex_.reset(::CreateMutexW(nullptr, FALSE, kInstanceMutex));
    // Without the mutex there is no way to tell: better to run than not to.
    return !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void SessionInstance::wakeRunning() {
    // The first instance may still be creating its window.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (HWND running = ::FindWindowW(kMainClass, nullptr)) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(running, &pid);
            // This process was just started by the user and may hand on the foreground.
            ::AllowSetForegroundWindow(pid);
            ::PostMessageW(running, kRestoreRequestMessage, 0, 0);
            return;
        }
        ::Sleep(100);
    }
}

}  // namespace dv::win32
