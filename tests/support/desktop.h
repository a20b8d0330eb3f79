#pragma once

// What a test does on the desktop, to its own windows or to Dayvane's.
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace dv::test {

using namespace std::chrono_literals;

// Runs the thread's messages until done() holds or the time is up.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s);
void pumpFor(std::chrono::milliseconds time);

std::wstring className(HWND hwnd);
std::wstring windowText(HWND hwnd);
// The children of a class; of no parent, the top-level windows.
std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* cls);
HWND childWithText(HWND parent, const std::wstring& text);
// A shown top-level window of the process with this class, or null.
HWND shownWindow(DWORD processId, const wchar_t* cls);
// A message box of the process, or null; its prompt in *prompt.
HWND messageBoxOf(DWORD processId, std::wstring* prompt = nullptr);
// Waits for the process's message box and presses its OK: its prompt.
std::wstring answerMessageBox(DWORD processId);

// A menu item: its place on the bar, then its place in that drop-down (-1: the bar's item itself).
struct MenuPath { int bar = 0; int item = -1; };
// Runs the item from the keyboard as a user does (under Wine another process's menu can be driven, not read).
bool chooseMenu(HWND hwnd, MenuPath path);

// Running processes whose file is named exe; of one parent unless it is 0.
std::vector<DWORD> processesNamed(const wchar_t* exe, DWORD parent = 0);
// Values under HKEY_CURRENT_USER.
std::optional<std::wstring> regString(const std::wstring& key, const wchar_t* name);
void regDelete(const std::wstring& key, const wchar_t* name);

std::wstring dayvaneExe();
// What the window shows once it is painted, as <name>.bmp in the screenshot folder.
bool saveScreenshot(HWND hwnd, const std::wstring& name);

// One run of a Dayvane.exe; whatever is left of it ends with the test.
class Dayvane {
public:
    Dayvane() = default;
    ~Dayvane();
    Dayvane(const Dayvane&) = delete;
    Dayvane& operator=(const Dayvane&) = delete;

    ::testing::AssertionResult start(const std::wstring& exe = dayvaneExe());
    // Until this process's main window is shown and its start-up is over.
    ::testing::AssertionResult waitForWindow(std::chrono::milliseconds timeout = 20s);
    // True when the process ended within the time; its exit code in *code.
    bool waitForExit(std::chrono::milliseconds timeout, DWORD* code = nullptr);
    bool running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

    HWND hwnd() const { return hwnd_; }
    HANDLE process() const { return info_.hProcess; }
    DWORD processId() const { return info_.dwProcessId; }
    void post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { ::PostMessageW(hwnd_, msg, wParam, lParam); }
    bool choose(MenuPath path) const { return chooseMenu(hwnd_, path); }

private:
    PROCESS_INFORMATION info_{};
    HWND hwnd_ = nullptr;
};

}  // namespace dv::test
