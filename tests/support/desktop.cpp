#include "desktop.h"

#include <tlhelp32.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

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

std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* cls) {
    std::vector<HWND> found;
    for (HWND h = ::FindWindowExW(parent, nullptr, cls, nullptr); h; h = ::FindWindowExW(parent, h, cls, nullptr))
        found.push_back(h);
    return found;
}

HWND childWithText(HWND parent, const std::wstring& text) {
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (windowText(h) == text) return h;
    return nullptr;
}

HWND shownWindow(DWORD processId, const wchar_t* cls) {
    for (HWND h : childrenOfClass(nullptr, cls)) {
        DWORD pid = 0;
        if (::GetWindowThreadProcessId(h, &pid) && pid == processId && ::IsWindowVisible(h)) return h;
    }
    return nullptr;
}

HWND messageBoxOf(DWORD processId, std::wstring* prompt) {
    HWND box = shownWindow(processId, L"#32770");
    if (box && prompt) *prompt = windowText(::GetDlgItem(box, 0xFFFF));
    return box;
}

std::wstring answerMessageBox(DWORD processId) {
    HWND box = nullptr;
    std::wstring prompt = L"(no message box)";
    if (!pumpUntil([&] { return (box = messageBoxOf(processId, &prompt)) != nullptr; }, 10s)) return prompt;
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    pumpUntil([&] { return !::IsWindow(box); }, 10s);
    return prompt;
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

std::vector<DWORD> processesNamed(const wchar_t* exe, DWORD parent) {
    std::vector<DWORD> found;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if ((parent == 0 || entry.th32ParentProcessID == parent) && ::lstrcmpiW(entry.szExeFile, exe) == 0)
            found.push_back(entry.th32ProcessID);
    if (snapshot != INVALID_HANDLE_VALUE) ::CloseHandle(snapshot);
    return found;
}

std::optional<std::wstring> regString(const std::wstring& key, const wchar_t* name) {
    wchar_t data[2048] = {};
    DWORD bytes = sizeof data;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &bytes)) return {};
    return data;
}

void regDelete(const std::wstring& key, const wchar_t* name) {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name);
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

::testing::AssertionResult Dayvane::start(const std::wstring& exe) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         fs::path(exe).parent_path().c_str(), &startup, &info_))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "could not start " << fs::path(exe).string() << ": " << ::GetLastError();
}

::testing::AssertionResult Dayvane::waitForWindow(std::chrono::milliseconds timeout) {
    if (pumpUntil([&] { return (hwnd_ = shownWindow(info_.dwProcessId, L"Dayvane.frmmain")) != nullptr; }, timeout) &&
        ::WaitForInputIdle(info_.hProcess, 10000) == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no main window of the new process was shown"
                                         << (running() ? "" : "; the process has ended");
}

bool Dayvane::waitForExit(std::chrono::milliseconds timeout, DWORD* code) {
    if (::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return false;
    if (code) ::GetExitCodeProcess(info_.hProcess, code);
    return true;
}

}  // namespace dv::test
