#include "desktop.h"

#include <cstdlib>
#include <fstream>

namespace dv::test {

namespace fs = std::filesystem;

namespace {

// A menu loop takes a thread message as a typed key; once the loop is over, nothing does.
void press(DWORD thread, UINT key) {
    ::PostThreadMessageW(thread, WM_KEYDOWN, key, 1);
    ::PostThreadMessageW(thread, WM_KEYUP, key, 0xC0000001);
}

// From the environment, or relative to this test program's folder.
fs::path fromEnvOr(const wchar_t* variable, const wchar_t* relative) {
    if (const wchar_t* value = ::_wgetenv(variable)) return value;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return (fs::path(self).parent_path() / relative).lexically_normal();
}

// What the screen shows where the window is, bottom row first as in a BMP file.
std::vector<char> capture(const RECT& r, BITMAPINFOHEADER& info) {
    info = {sizeof info, r.right - r.left, r.bottom - r.top, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<char> bits(static_cast<size_t>((info.biWidth * 3 + 3) & ~3) * static_cast<size_t>(info.biHeight));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, info.biWidth, info.biHeight);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, info.biWidth, info.biHeight, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    ::SelectObject(memory, old);
    if (::GetDIBits(memory, bitmap, 0, static_cast<UINT>(info.biHeight), bits.data(),
                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != info.biHeight)
        bits.clear();
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bits;
}

std::vector<HWND> topLevel(const wchar_t* cls) {
    std::vector<HWND> found;
    for (HWND h = ::FindWindowExW(nullptr, nullptr, cls, nullptr); h; h = ::FindWindowExW(nullptr, h, cls, nullptr))
        found.push_back(h);
    return found;
}

HWND shownWindow(DWORD processId, const wchar_t* cls) {
    for (HWND h : topLevel(cls)) {
        DWORD pid = 0;
        if (::GetWindowThreadProcessId(h, &pid) && pid == processId && ::IsWindowVisible(h)) return h;
    }
    return nullptr;
}

}  // namespace

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // A quit asked for by a window under test must not end the runner.
            if (msg.message == WM_QUIT) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void pumpFor(std::chrono::milliseconds time) { pumpUntil([] { return false; }, time); }

template <int (*Read)(HWND, LPWSTR, int)>
std::wstring read(HWND hwnd) {
    wchar_t text[512] = {};
    Read(hwnd, text, 512);
    return text;
}
std::wstring className(HWND hwnd) { return read<::GetClassNameW>(hwnd); }
std::wstring windowText(HWND hwnd) { return read<::GetWindowTextW>(hwnd); }

HWND childWithText(HWND parent, const std::wstring& text) {
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (windowText(h) == text) return h;
    return nullptr;
}

std::vector<HWND> mainWindows() { return topLevel(L"Dayvane.frmmain"); }

HWND waitForShown(DWORD processId, const wchar_t* cls, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    pumpUntil([&] { return (found = shownWindow(processId, cls)) != nullptr; }, timeout);
    return found;
}

bool answerMessageBox(DWORD processId) {
    HWND box = waitForShown(processId, L"#32770");
    if (!box) return false;
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return pumpUntil([&] { return !::IsWindow(box); }, 10s);
}

bool chooseMenu(HWND hwnd, MenuPath path) {
    DWORD pid = 0;
    const DWORD thread = ::GetWindowThreadProcessId(hwnd, &pid);
    const auto inMenu = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return ::GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMENUMODE);
    };
    // Under load Wine's menu loop now and then ends as soon as it starts: then once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        ::PostMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0);
        if (!pumpUntil(inMenu, 10s)) continue;
        for (int i = 0; i < path.bar; ++i) press(thread, VK_RIGHT);
        if (path.item >= 0) {
            press(thread, VK_DOWN);
            pumpUntil([&] { return shownWindow(pid, L"#32768") || !inMenu(); }, 10s);
            for (int i = 0; i < path.item; ++i) press(thread, VK_DOWN);
        }
        if (!inMenu()) continue;
        press(thread, VK_RETURN);
        if (pumpUntil([&] { return !inMenu(); }, 10s)) return true;
    }
    return false;
}

std::optional<DWORD> runToEnd(std::wstring commandLine, std::chrono::milliseconds timeout) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    DWORD exit = 0;
    std::optional<DWORD> code;
    const auto ms = static_cast<DWORD>(timeout.count());
    if (::WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0 && ::GetExitCodeProcess(info.hProcess, &exit))
        code = exit;
    else
        ::TerminateProcess(info.hProcess, 99);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

std::wstring inQuotes(const fs::path& exe) { return L"\"" + exe.wstring() + L"\""; }

std::optional<std::wstring> regString(const std::wstring& key, const wchar_t* name) {
    wchar_t data[2048] = {};
    DWORD bytes = sizeof data;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &bytes)) return {};
    return data;
}

std::wstring dayvaneExe() { return fromEnvOr(L"DAYVANE_EXE", L"..\\..\\Dayvane.exe").wstring(); }

bool saveScreenshot(HWND hwnd, const std::wstring& name) {
    // Painted and on screen: nothing left to paint, and the same picture after a round trip through its thread.
    BITMAPINFOHEADER info{};
    std::vector<char> bits, before;
    const auto settled = [&] {
        RECT r{};
        bool clean = ::GetWindowRect(hwnd, &r) && !::GetUpdateRect(hwnd, nullptr, FALSE);
        for (HWND h = ::GetWindow(hwnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            clean = clean && !::GetUpdateRect(h, nullptr, FALSE);
        ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        before = std::exchange(bits, capture(r, info));
        return clean && !bits.empty() && bits == before;
    };
    if (!pumpUntil(settled, 10s)) return false;
    const fs::path folder = fromEnvOr(L"DAYVANE_SCREENSHOTS", L"..\\..\\..\\screenshots");
    fs::create_directories(folder);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
    const BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(offset + bits.size()), 0, 0, offset};  // "BM"
    std::ofstream out(folder / (name + L".bmp"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(bits.data(), static_cast<std::streamsize>(bits.size()));
    return out.good();
}

Dayvane::~Dayvane() {
    if (!info_.hProcess) return;
    if (running()) ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 10000);
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

::testing::AssertionResult Dayvane::start(const fs::path& exe) {
    std::wstring commandLine = inQuotes(exe);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          exe.parent_path().c_str(), &startup, &info_))
        return ::testing::AssertionFailure() << "could not start " << exe.string() << ": " << ::GetLastError();
    hwnd_ = waitForShown(info_.dwProcessId, L"Dayvane.frmmain", 20s);
    if (hwnd_ && ::WaitForInputIdle(info_.hProcess, 10000) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no main window was shown" << (running() ? "" : "; the process has ended");
}

bool Dayvane::waitForExit(DWORD* code) {
    if (::WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0) return false;
    if (code) ::GetExitCodeProcess(info_.hProcess, code);
    return true;
}

}  // namespace dv::test
