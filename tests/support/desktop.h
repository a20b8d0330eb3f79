#pragma once

// What a test does on the desktop, to its own windows or to Dayvane's.
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dv::test {

using namespace std::chrono_literals;

// Runs the thread's messages until done() holds or the time is up.
bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s);
void pumpFor(std::chrono::milliseconds time);

std::wstring className(HWND hwnd);
std::wstring windowText(HWND hwnd);
HWND childWithText(HWND parent, const std::wstring& text);
// Dayvane's main windows, shown or hidden, of any process.
std::vector<HWND> mainWindows();
// Waits for a shown top-level window of the process with this class: it, or null.
HWND waitForShown(DWORD processId, const wchar_t* cls, std::chrono::milliseconds timeout = 10s);
// Waits for the process's message box and presses its OK: whether there was one.
bool answerMessageBox(DWORD processId);

// A menu item: its place on the bar, then its place in that drop-down (-1: the bar's item itself).
struct MenuPath { int bar = 0; int item = -1; };
constexpr MenuPath kAddToStartUp{1, 0};  // the options dialog
// Runs the item from the keyboard as a user does (under Wine another process's menu can be driven, not read).
bool chooseMenu(HWND hwnd, MenuPath path);

// Runs a command line to its end: its exit code, or nothing when it did not start or end.
std::optional<DWORD> runToEnd(std::wstring commandLine, std::chrono::milliseconds timeout = 2min);
std::wstring inQuotes(const std::filesystem::path& exe);
// Values under HKEY_CURRENT_USER.
std::optional<std::wstring> regString(const std::wstring& key, const wchar_t* name);

std::wstring dayvaneExe();
// What the window shows once it is painted, as <name>.bmp in the screenshot folder.
bool saveScreenshot(HWND hwnd, const std::wstring& name);

// A new, empty folder that goes with the test.
struct ScratchFolder {
    explicit ScratchFolder(std::filesystem::path at) : path(std::move(at)) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() { std::error_code ignored; std::filesystem::remove_all(path, ignored); }
    const std::filesystem::path path;
};

// One run of a Dayvane.exe; whatever is left of it ends with the test.
class Dayvane {
public:
    Dayvane() = default;
    ~Dayvane();
    Dayvane(const Dayvane&) = delete;
    Dayvane& operator=(const Dayvane&) = delete;

    // Until its main window is shown and its start-up is over.
    ::testing::AssertionResult start(const std::filesystem::path& exe = dayvaneExe());
    // True when the process ended within 10 s; its exit code in *code.
    bool waitForExit(DWORD* code = nullptr);
    bool running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

    HWND hwnd() const { return hwnd_; }
    HANDLE process() const { return info_.hProcess; }
    DWORD processId() const { return info_.dwProcessId; }
    bool choose(MenuPath path) const { return chooseMenu(hwnd_, path); }

private:
    PROCESS_INFORMATION info_{};
    HWND hwnd_ = nullptr;
};

}  // namespace dv::test
