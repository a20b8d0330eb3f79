#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <shlobj.h>

#include "screen.h"

namespace dv::e2e {
namespace {

constexpr MenuPath kAddToStartUp{1, 0};
constexpr MenuPath kCreateShortcut{1, 1};
constexpr wchar_t kDialogClass[] = L"Dayvane.frmstartup";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRegistered[] = L"Dayvane will start automatically with Windows next time";
constexpr wchar_t kRemoved[] = L"Removed from Startup Menu";
constexpr wchar_t kShortcutMade[] = L"A short cut in the desktop has been created.";

// A shown top-level window of the process with this class.
HWND shownWindowOf(DWORD processId, const wchar_t* cls) {
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        HWND found;
    } search{processId, cls, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid != s->pid || !::IsWindowVisible(hwnd) || className(hwnd) != s->cls) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND childWithText(HWND parent, const std::wstring& text) {
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (windowText(h) == text) return h;
    return nullptr;
}

// Waits for the program's message box, reads it and presses its OK as a user would.
std::wstring answerMessageBox(DWORD processId) {
    HWND box = nullptr;
    if (!waitUntil([&] { return (box = shownWindowOf(processId, L"#32770")) != nullptr; }, 10s))
        return L"(no message box)";
    const std::wstring text = windowText(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    waitUntil([&] { return !::IsWindow(box); }, 10s);
    return text;
}

std::optional<std::wstring> runValue(const std::wstring& name) {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return data;
}

std::wstring desktopLink() {
    PWSTR raw = nullptr;
    std::wstring path;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &raw))) path = std::wstring(raw) + L"\\Dayvane.lnk";
    ::CoTaskMemFree(raw);
    return path;
}

// What a registration leaves behind: the settings, the Run value, the shortcut.
void forgetRegistration() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dayvane");
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueW(key, L"Dayvane");
        ::RegCloseKey(key);
    }
    ::DeleteFileW(desktopLink().c_str());
}

void press(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

// A real click with the mouse on the middle of the window's client area.
void clickOn(HWND hwnd) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    POINT at{client.right / 2, client.bottom / 4};
    ::ClientToScreen(hwnd, &at);
    ::SetCursorPos(at.x, at.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, clicks, sizeof(INPUT));
}

class OptionsDialogRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mainWindows().empty()) << "a Dayvane from elsewhere is running";
        forgetRegistration();
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(app.waitForWindow());
    }
    void TearDown() override { forgetRegistration(); }

    HWND open(MenuPath item) {
        app.choose(item);
        HWND dialog = nullptr;
        waitUntil([&] { return (dialog = shownWindowOf(app.processId(), kDialogClass)) != nullptr; }, 10s);
        return dialog;
    }
    bool checked(HWND dialog) const {
        return ::SendMessageW(childWithText(dialog, L"Click to add Dayvane to startup menu"), BM_GETCHECK, 0, 0) ==
               BST_CHECKED;
    }
    // Ticks or clears the box, presses OK and answers the message.
    std::wstring toggleAndOk(HWND dialog) {
        press(childWithText(dialog, L"Click to add Dayvane to startup menu"));
        press(childWithText(dialog, L"OK"));
        const std::wstring said = answerMessageBox(app.processId());
        EXPECT_TRUE(waitUntil([&] { return !::IsWindow(dialog); }, 10s)) << "OK left the dialog open";
        return said;
    }

    Dayvane app;
};

TEST_F(OptionsDialogRun, OpensFromTheMenuWithItsControls) {
    HWND dialog = open(kAddToStartUp);
    ASSERT_NE(dialog, nullptr) << "no dialog";
    EXPECT_EQ(windowText(dialog), L"Dayvane Options");
    for (const wchar_t* text :
         {L"Click to add Dayvane to startup menu", L"1.",
          L"If you wish to automatically start Dayvane when Windows Start, click checkBox above.", L"2.",
          L"Add Dayvane shortcut to desktop", L"OK", L"Cancel"}) {
        HWND control = childWithText(dialog, text);
        EXPECT_TRUE(control && ::IsWindowVisible(control)) << std::filesystem::path(text).string();
    }
    EXPECT_FALSE(checked(dialog));

    ::Sleep(300);  // painted
    RECT r{};
    ::GetWindowRect(dialog, &r);
    const ScreenShot shot(r);
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(shot.save(screenshotFolder() + L"options.bmp"));
    // Text was drawn on the face of the dialog.
    EXPECT_GT(shot.count(RGB(0, 0, 0)), 200);

    // The other menu item brings the same dialog forward, its box still ticked.
    press(childWithText(dialog, L"Click to add Dayvane to startup menu"));
    clickOn(app.hwnd());  // the main window comes to the front
    ASSERT_TRUE(waitUntil([&] { return ::GetForegroundWindow() == app.hwnd(); }, 5s));
    app.choose(kCreateShortcut);
    EXPECT_TRUE(waitUntil([&] { return ::GetForegroundWindow() == dialog; }, 5s)) << "not brought forward";
    EXPECT_EQ(shownWindowOf(app.processId(), kDialogClass), dialog);
    EXPECT_TRUE(checked(dialog));

}

TEST_F(OptionsDialogRun, TickOkRegistersAndUntickOkRemoves) {
    HWND dialog = open(kAddToStartUp);
    ASSERT_NE(dialog, nullptr) << "no dialog";
    EXPECT_EQ(toggleAndOk(dialog), kRegistered);
    EXPECT_EQ(runValue(L"Dayvane"), L"\"" + dayvaneExe() + L"\"");

    dialog = open(kAddToStartUp);
    ASSERT_NE(dialog, nullptr) << "no dialog the second time";
    EXPECT_TRUE(checked(dialog)) << "the registration was not remembered";
    EXPECT_EQ(toggleAndOk(dialog), kRemoved);
    EXPECT_EQ(runValue(L"Dayvane"), std::nullopt);
}

TEST_F(OptionsDialogRun, ShortcutLinkMakesTheFileAndKeepsTheDialog) {
    HWND dialog = open(kCreateShortcut);
    ASSERT_NE(dialog, nullptr) << "no dialog";
    HWND link = childWithText(dialog, L"Add Dayvane shortcut to desktop");
    ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(answerMessageBox(app.processId()), kShortcutMade);
    EXPECT_NE(::GetFileAttributesW(desktopLink().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(::IsWindowVisible(dialog));
}

bool underWine() { return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// The platform's own proof: a new session (what plain wineboot starts, as a
// log-on does) runs Dayvane from its Run value, also from a folder whose
// path has spaces and letters beyond ASCII.
TEST(StartWithWindows, NextSessionStartsDayvaneFromTheRunValue) {
    if (!underWine()) GTEST_SKIP() << "needs Wine's wineboot";
    ASSERT_TRUE(mainWindows().empty()) << "a Dayvane from elsewhere is running";
    forgetRegistration();
    wchar_t programs[MAX_PATH] = {};
    ASSERT_NE(::ExpandEnvironmentStringsW(L"%ProgramFiles%", programs, MAX_PATH), 0u);
    const std::filesystem::path folder = std::filesystem::path(programs) / L"Dayvane T\u00ebst \u00c5pp";
    const std::filesystem::path installed = folder / L"Dayvane.exe";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(dayvaneExe(), installed, std::filesystem::copy_options::overwrite_existing);
    struct Cleanup {
        std::filesystem::path folder;
        ~Cleanup() {
            forgetRegistration();
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } cleanup{folder};

    {
        Dayvane app;
        ASSERT_TRUE(app.start(installed.wstring()));
        ASSERT_TRUE(app.waitForWindow());
        app.choose(kAddToStartUp);
        HWND dialog = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (dialog = shownWindowOf(app.processId(), kDialogClass)) != nullptr; }, 10s));
        press(childWithText(dialog, L"Click to add Dayvane to startup menu"));
        press(childWithText(dialog, L"OK"));
        ASSERT_EQ(answerMessageBox(app.processId()), kRegistered);
        ASSERT_EQ(runValue(L"Dayvane"), L"\"" + installed.wstring() + L"\"");
        app.choose(kExit);
        ASSERT_TRUE(app.waitForExit(10s)) << "Dayvane did not end";
    }

    const std::wstring wineboot = [] {
        wchar_t system[MAX_PATH] = {};
        ::GetSystemDirectoryW(system, MAX_PATH);
        return std::wstring(system) + L"\\wineboot.exe";
    }();
    std::wstring commandLine = L"\"" + wineboot + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION boot{};
    ASSERT_TRUE(::CreateProcessW(wineboot.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &boot))
        << "wineboot: " << ::GetLastError();
    ::WaitForSingleObject(boot.hProcess, 120000);
    ::CloseHandle(boot.hThread);
    ::CloseHandle(boot.hProcess);

    std::vector<HWND> started;
    ASSERT_TRUE(waitUntil([&] { return !(started = mainWindows()).empty(); }, 30s)) << "Dayvane did not start";
    DWORD pid = 0;
    ::GetWindowThreadProcessId(started[0], &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    wchar_t image[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    ::QueryFullProcessImageNameW(process, 0, image, &size);
    EXPECT_EQ(std::filesystem::path(image), installed);

    // Its close box ends it, as it does for a user.
    ::PostMessageW(started[0], WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the started Dayvane did not end";
        ::TerminateProcess(process, 99);
        ::WaitForSingleObject(process, 10000);
    }
    ::CloseHandle(process);
}

}  // namespace
}  // namespace dv::e2e
