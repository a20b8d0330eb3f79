#include <filesystem>

#include "desktop.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Runs a program to its end.
bool run(const fs::path& exe) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return false;
    const bool ended = ::WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0;
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return ended;
}

// What the shell does with the Run value at a log-on (under Wine, plain
// wineboot starts a session so): Dayvane registered from a folder whose
// name has blanks and letters beyond ASCII starts from there.
TEST(StartWithWindows, NextSessionStartsDayvaneFromTheRunValue) {
    if (!::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) GTEST_SKIP() << "needs wineboot";
    ASSERT_TRUE(childrenOfClass(nullptr, L"Dayvane.frmmain").empty()) << "a Dayvane from elsewhere is running";
    wchar_t programs[MAX_PATH] = {};
    ASSERT_NE(::ExpandEnvironmentStringsW(L"%ProgramFiles%", programs, MAX_PATH), 0u);
    const fs::path installed = fs::path(programs) / L"Dayvane T\u00ebst \u00c5pp" / L"Dayvane.exe";
    struct Cleanup {
        fs::path folder;
        ~Cleanup() {
            regDelete(kRunKey, L"Dayvane");
            ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Dayvane");
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } cleanup{installed.parent_path()};
    fs::create_directories(installed.parent_path());
    fs::copy_file(dayvaneExe(), installed, fs::copy_options::overwrite_existing);

    {
        Dayvane app;
        ASSERT_TRUE(app.start(installed.wstring()));
        ASSERT_TRUE(app.waitForWindow());
        ASSERT_TRUE(app.choose({1, 0}));  // Option > Add to start up
        HWND dialog = nullptr;
        const auto opened = [&] { return (dialog = shownWindow(app.processId(), L"Dayvane.frmstartup")) != nullptr; };
        ASSERT_TRUE(pumpUntil(opened, 10s));
        EXPECT_TRUE(saveScreenshot(dialog, L"options"));
        ::PostMessageW(childWithText(dialog, L"Click to add Dayvane to startup menu"), BM_CLICK, 0, 0);
        ::PostMessageW(childWithText(dialog, L"OK"), BM_CLICK, 0, 0);
        answerMessageBox(app.processId());
        ASSERT_TRUE(regString(kRunKey, L"Dayvane").has_value()) << "OK with the box ticked wrote no Run value";
        app.post(WM_CLOSE);
        ASSERT_TRUE(app.waitForExit(10s)) << "the close box left Dayvane running";
    }

    wchar_t system[MAX_PATH] = {};
    ASSERT_NE(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_TRUE(run(fs::path(system) / L"wineboot.exe"));
    HWND started = nullptr;
    ASSERT_TRUE(pumpUntil([&] { return (started = ::FindWindowW(L"Dayvane.frmmain", nullptr)) != nullptr; }, 30s))
        << "the session did not start Dayvane";
    DWORD pid = 0;
    ::GetWindowThreadProcessId(started, &pid);
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    wchar_t image[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    ::QueryFullProcessImageNameW(process, 0, image, &size);
    EXPECT_EQ(fs::path(image), installed);
    ::PostMessageW(started, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process, 99);
    ::CloseHandle(process);
}

}  // namespace
}  // namespace dv::test
