#include "process.h"

#include <shellapi.h>

#include <cmath>
#include <filesystem>
#include <thread>

namespace dv::e2e {

namespace {

constexpr wchar_t kMainClass[] = L"Dayvane.frmmain";
constexpr UINT kIconId = 1;

std::wstring envOr(const wchar_t* name, const std::wstring& fallback) {
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(value, n) : fallback;
}

std::wstring fullPath(const std::wstring& path) {
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD n = ::GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(full, n) : path;
}

std::string utf8(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1) ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring testFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring dayvaneExe() { return fullPath(envOr(L"DAYVANE_EXE", testFolder() + L"..\\..\\Dayvane.exe")); }

std::wstring screenshotFolder() {
    std::wstring folder = fullPath(envOr(L"DAYVANE_SCREENSHOTS", testFolder() + L"..\\..\\..\\screenshots\\"));
    if (folder.back() != L'\\') folder += L'\\';
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(20ms);
    }
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

std::vector<HWND> mainWindows() {
    std::vector<HWND> found;
    ::EnumWindows(
        [](HWND hwnd, LPARAM list) -> BOOL {
            if (className(hwnd) == kMainClass) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

namespace {
void press(HWND hwnd, UINT key) {
    ::PostMessageW(hwnd, WM_KEYDOWN, key, 1);
    ::PostMessageW(hwnd, WM_KEYUP, key, 0xC0000001);
    std::this_thread::sleep_for(30ms);
}
}  // namespace

void openMenu(HWND hwnd, MenuPath path) {
    ::PostMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
    std::this_thread::sleep_for(30ms);
    for (int i = 0; i < path.bar; ++i) press(hwnd, VK_RIGHT);
    if (path.item >= 0) {
        // Down opens the sub-menu on its first item.
        press(hwnd, VK_DOWN);
        for (int i = 0; i < path.item; ++i) press(hwnd, VK_DOWN);
    }
}

void chooseMenu(HWND hwnd, MenuPath path) {
    openMenu(hwnd, path);
    press(hwnd, VK_RETURN);
}

HWND openPopup(DWORD processId) {
    struct Search {
        DWORD pid;
        HWND found;
    } search{processId, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid != s->pid || !::IsWindowVisible(hwnd) || className(hwnd) != L"#32768") return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool closeMenu(HWND hwnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    press(hwnd, VK_ESCAPE);
    press(hwnd, VK_ESCAPE);
    return waitUntil([&] { return openPopup(pid) == nullptr; }, 5s);
}

bool iconKnown(HWND owner) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = kIconId;
    data.uFlags = NIF_TIP;
    ::wcscpy(data.szTip, L"Dayvane is running");
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void expectPlacedBottomRight(HWND hwnd, int dpi) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    RECT outer{}, client{};
    ::GetWindowRect(hwnd, &outer);
    ::GetClientRect(hwnd, &client);
    EXPECT_GE(client.right, ::MulDiv(2685, dpi, 1440));
    EXPECT_GE(client.bottom, ::MulDiv(6975, dpi, 1440));

    const int margin = static_cast<int>(std::ceil(400.0 * dpi / 1440));
    const LONG bottom = std::min(monitor.rcWork.bottom, monitor.rcMonitor.bottom - margin);
    EXPECT_EQ(outer.right, monitor.rcWork.right);
    // A window taller than the room keeps its caption and menu on screen.
    if (outer.bottom - outer.top <= bottom - monitor.rcWork.top)
        EXPECT_EQ(outer.bottom, bottom) << "monitor bottom " << monitor.rcMonitor.bottom << ", work bottom "
                                        << monitor.rcWork.bottom << ", dpi " << dpi;
    else
        EXPECT_EQ(outer.top, monitor.rcWork.top) << "taller than the room: " << outer.bottom - outer.top;
}

Dayvane::~Dayvane() {
    if (info_.hProcess) {
        if (running()) {
            ::TerminateProcess(info_.hProcess, 99);
            ::WaitForSingleObject(info_.hProcess, 10000);
        }
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
}

::testing::AssertionResult Dayvane::start(const std::wstring& exe) {
    if (::GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        return ::testing::AssertionFailure() << "no program at " << utf8(exe);
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info_))
        return ::testing::AssertionFailure() << "CreateProcess failed: " << ::GetLastError();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Dayvane::waitForWindow(std::chrono::milliseconds timeout) {
    const bool found = waitUntil(
        [&] {
            HWND hwnd = ::FindWindowW(kMainClass, nullptr);
            DWORD pid = 0;
            if (hwnd) ::GetWindowThreadProcessId(hwnd, &pid);
            if (!hwnd || pid != info_.dwProcessId || !::IsWindowVisible(hwnd)) return false;
            hwnd_ = hwnd;
            return true;
        },
        timeout);
    // Then until the start-up is over and the program waits for the user.
    if (found && ::WaitForInputIdle(info_.hProcess, 10000) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no main window of the new process was shown"
                                         << (running() ? "" : "; the process has ended");
}

bool Dayvane::waitForExit(std::chrono::milliseconds timeout, DWORD* code) {
    if (::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
    if (code) ::GetExitCodeProcess(info_.hProcess, code);
    return true;
}

bool Dayvane::running() const { return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

namespace {
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
}  // namespace

LogPixels::LogPixels(DWORD dpi) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (::RegQueryValueExW(key, kLogPixels, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
        before_.resize(size);
        had_ = ::RegQueryValueExW(key, kLogPixels, nullptr, &type_, before_.data(), &size) == ERROR_SUCCESS;
        before_.resize(size);
    }
    attempted_ = true;
    ok_ = ::RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
          ERROR_SUCCESS;
    ::RegCloseKey(key);
}

LogPixels::~LogPixels() {
    if (!attempted_) return;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (had_)
        ::RegSetValueExW(key, kLogPixels, 0, type_, before_.data(), static_cast<DWORD>(before_.size()));
    else
        ::RegDeleteValueW(key, kLogPixels);
    ::RegCloseKey(key);
}

}  // namespace dv::e2e
