#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

namespace dv::e2e {

using namespace std::chrono_literals;

// The folder of this test program, with a trailing backslash.
std::wstring testFolder();
std::wstring dayvaneExe();
// Created if missing; with a trailing backslash.
std::wstring screenshotFolder();

// Polls until done() holds or the time is up.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

std::wstring className(HWND hwnd);
std::wstring windowText(HWND hwnd);
// Every top-level Dayvane main window, of any process.
std::vector<HWND> mainWindows();

// Where an item sits in a window's menu: its place on the bar and, for an
// item of a sub-menu, its place there.
struct MenuPath {
    int bar = 0;
    int item = -1;  // -1: the bar's item itself
};
inline constexpr MenuPath kExit{0, 0};
inline constexpr MenuPath kMinimise{2, -1};

// Opens the menu from the keyboard as a user does (F10, arrows); with
// choose, Enter runs the item. Another process's menu cannot be read under
// Wine, only driven.
void openMenu(HWND hwnd, MenuPath path);
void chooseMenu(HWND hwnd, MenuPath path);
// Leaves menu mode; true once no menu of the window's process is open.
bool closeMenu(HWND hwnd);
// The open drop-down menu of a process, or null.
HWND openPopup(DWORD processId);
// Whether the notification area holds the window's icon: only a known icon can be modified.
bool iconKnown(HWND owner);
// Rectangle, position and size checks shared by every DPI.
void expectPlacedBottomRight(HWND hwnd, int dpi);

// One run of Dayvane.exe; whatever is left of it is ended with the test.
class Dayvane {
public:
    Dayvane() = default;
    ~Dayvane();
    Dayvane(const Dayvane&) = delete;
    Dayvane& operator=(const Dayvane&) = delete;

    ::testing::AssertionResult start(const std::wstring& exe = dayvaneExe());
    // Waits for this process's main window to be shown.
    ::testing::AssertionResult waitForWindow(std::chrono::milliseconds timeout = 20s);
    // True when the process ended within the time; its exit code in *code.
    bool waitForExit(std::chrono::milliseconds timeout, DWORD* code = nullptr);
    bool running() const;

    HWND hwnd() const { return hwnd_; }
    DWORD processId() const { return info_.dwProcessId; }
    void post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const { ::PostMessageW(hwnd_, msg, wParam, lParam); }
    void choose(MenuPath path) const { chooseMenu(hwnd_, path); }

private:
    PROCESS_INFORMATION info_{};
    HWND hwnd_ = nullptr;
};

// HKCU\Control Panel\Desktop\LogPixels for the programs started while this
// lives; the value before, or its absence, comes back afterwards.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi);
    ~LogPixels();
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;
    bool ok() const { return ok_; }

private:
    bool attempted_ = false;
    bool ok_ = false;
    bool had_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> before_;
};

// A test that starts with Dayvane running and its main window shown.
class StartedDayvaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mainWindows().empty()) << "a Dayvane from elsewhere is running";
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(app.waitForWindow());
    }
    Dayvane app;
};

}  // namespace dv::e2e
