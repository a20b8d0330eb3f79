#include "about_windows.h"

#include <tlhelp32.h>

#include <thread>

namespace dv::e2e {

namespace {
DWORD processOf(HWND hwnd) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}
}  // namespace

HWND shownWindow(DWORD processId, const wchar_t* cls) {
    for (HWND h = ::FindWindowExW(nullptr, nullptr, cls, nullptr); h; h = ::FindWindowExW(nullptr, h, cls, nullptr))
        if (processOf(h) == processId && ::IsWindowVisible(h)) return h;
    return nullptr;
}

GUITHREADINFO guiOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info;
}

HWND messageBoxOf(DWORD processId, std::wstring* prompt) {
    HWND box = shownWindow(processId, L"#32770");
    if (box && prompt) *prompt = windowText(::GetDlgItem(box, 0xFFFF));
    return box;
}

std::vector<DWORD> childrenNamed(DWORD parent, const wchar_t* exe) {
    std::vector<DWORD> found;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return found;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == parent && ::_wcsicmp(entry.szExeFile, exe) == 0)
            found.push_back(entry.th32ProcessID);
    ::CloseHandle(snapshot);
    return found;
}

void endProcesses(const std::vector<DWORD>& ids) {
    for (DWORD id : ids) {
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!process) continue;
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, 10000);
        ::CloseHandle(process);
    }
}

void pressKey(HWND target, UINT key) {
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
    ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
    std::this_thread::sleep_for(30ms);
}

}  // namespace dv::e2e
