#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <shlobj.h>
#include <tlhelp32.h>

#include "about_windows.h"
#include "process.h"

// The release as a user gets it: the installer and its uninstaller, run
// silently, and the portable zip unpacked into an awkward folder.
// scripts/test.sh makes the packages and names them in DAYVANE_SETUP and
// DAYVANE_PORTABLE.
namespace dv::e2e {
namespace {

namespace fs = std::filesystem;

constexpr MenuPath kAddToStartUp{1, 0};
constexpr MenuPath kCreateShortcut{1, 1};
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dayvane";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kSettingsKey[] = L"Software\\Dayvane";

std::optional<fs::path> envPath(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return std::nullopt;
    return fs::path(value);
}

fs::path knownFolder(REFKNOWNFOLDERID id) {
    PWSTR raw = nullptr;
    fs::path path;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &raw))) path = raw;
    ::CoTaskMemFree(raw);
    return path;
}

std::optional<std::wstring> regString(const wchar_t* key, const wchar_t* name) {
    wchar_t data[2048] = {};
    DWORD bytes = sizeof data;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return data;
}

bool keyExists(const wchar_t* key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    ::RegCloseKey(opened);
    return true;
}

// The program a shell link starts, read the way the shell reads it.
std::wstring linkTarget(const fs::path& link) {
    struct Com {
        const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ~Com() {
            if (SUCCEEDED(hr)) ::CoUninitialize();
        }
    } com;
    IShellLinkW* shellLink = nullptr;
    std::wstring target;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&shellLink))))
        return target;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t path[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    shellLink->Release();
    return target;
}

// Process ids of every running program whose file is named Dayvane.exe.
std::vector<DWORD> dayvaneProcesses() {
    std::vector<DWORD> ids;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        if (::lstrcmpiW(entry.szExeFile, L"Dayvane.exe") == 0) ids.push_back(entry.th32ProcessID);
    ::CloseHandle(snapshot);
    return ids;
}

// Runs a command line to its end; its exit code, or nothing.
std::optional<DWORD> runToEnd(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    std::optional<DWORD> code;
    if (::WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) {
        DWORD c = 0;
        ::GetExitCodeProcess(info.hProcess, &c);
        code = c;
    } else {
        ::TerminateProcess(info.hProcess, 99);
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

bool samePath(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

HWND childWithText(HWND parent, const std::wstring& text) {
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        if (windowText(h) == text) return h;
    return nullptr;
}

void clickLabel(HWND label) {
    ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Waits for the program's message box and presses its OK; its prompt.
std::wstring answerMessageBox(DWORD processId) {
    HWND box = nullptr;
    std::wstring prompt;
    if (!waitUntil([&] { return (box = messageBoxOf(processId, &prompt)) != nullptr; }, 10s)) return L"(none)";
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    waitUntil([&] { return !::IsWindow(box); }, 10s);
    return prompt;
}

// What a user does in the options dialog to start Dayvane with Windows and
// to put its shortcut on the desktop.
void registerThroughTheProgram(const Dayvane& app) {
    app.choose(kAddToStartUp);
    HWND dialog = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (dialog = shownWindow(app.processId(), L"Dayvane.frmstartup")) != nullptr; }, 10s));
    ::PostMessageW(childWithText(dialog, L"Click to add Dayvane to startup menu"), BM_CLICK, 0, 0);
    ::PostMessageW(childWithText(dialog, L"OK"), BM_CLICK, 0, 0);
    ASSERT_EQ(answerMessageBox(app.processId()), L"Dayvane will start automatically with Windows next time");
    ASSERT_TRUE(waitUntil([&] { return shownWindow(app.processId(), L"Dayvane.frmstartup") == nullptr; }, 10s));

    app.choose(kCreateShortcut);
    ASSERT_TRUE(
        waitUntil([&] { return (dialog = shownWindow(app.processId(), L"Dayvane.frmstartup")) != nullptr; }, 10s));
    clickLabel(childWithText(dialog, L"Add Dayvane shortcut to desktop"));
    ASSERT_EQ(answerMessageBox(app.processId()), L"A short cut in the desktop has been created.");
    ::PostMessageW(childWithText(dialog, L"Cancel"), BM_CLICK, 0, 0);
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setup.has_value()) << "DAYVANE_SETUP names no installer (make package)";
        ASSERT_TRUE(fs::exists(*setup)) << setup->string();
        ASSERT_TRUE(dayvaneProcesses().empty()) << "a Dayvane is running already";
        ASSERT_FALSE(fs::exists(installDir)) << "installed already: " << installDir.string();
    }

    const std::optional<fs::path> setup = envPath(L"DAYVANE_SETUP");
    const fs::path installDir = knownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Dayvane";
    const fs::path installed = installDir / L"Dayvane.exe";
    const fs::path startMenuLink = knownFolder(FOLDERID_Programs) / L"Dayvane.lnk";
    const fs::path desktopLink = knownFolder(FOLDERID_Desktop) / L"Dayvane.lnk";
};

TEST_F(Installer, SilentInstallThenUninstallLeavesNothingOfDayvane) {
    ASSERT_EQ(runToEnd(L"\"" + setup->wstring() + L"\" /S"), DWORD{0});

    for (const wchar_t* file : {L"Dayvane.exe", L"README.txt", L"LICENSE.txt", L"Uninstall.exe"})
        EXPECT_TRUE(fs::is_regular_file(installDir / file)) << fs::path(file).string();
    EXPECT_TRUE(samePath(linkTarget(startMenuLink), installed)) << startMenuLink.string();
    EXPECT_EQ(regString(kUninstallKey, L"DisplayName"), L"Dayvane");
    EXPECT_EQ(regString(kUninstallKey, L"DisplayVersion"), L"1.00");
    EXPECT_EQ(regString(kUninstallKey, L"InstallLocation"), installDir.wstring());
    const auto uninstall = regString(kUninstallKey, L"UninstallString");
    ASSERT_EQ(uninstall, L"\"" + (installDir / L"Uninstall.exe").wstring() + L"\"");
    // Only the finish page offers to start it; a silent install has none.
    EXPECT_TRUE(dayvaneProcesses().empty()) << "the silent install started Dayvane";

    Dayvane app;
    ASSERT_TRUE(app.start(installed.wstring()));
    ASSERT_TRUE(app.waitForWindow());
    registerThroughTheProgram(app);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(regString(kRunKey, L"Dayvane"), L"\"" + installed.wstring() + L"\"");
    EXPECT_TRUE(keyExists(kSettingsKey));
    EXPECT_TRUE(samePath(linkTarget(desktopLink), installed)) << desktopLink.string();

    // As "Apps & features" does it, with Dayvane still running: the
    // uninstaller closes it. It hands its work to a copy of itself in the
    // temporary folder, so the end shows as the folder going.
    EXPECT_EQ(runToEnd(*uninstall + L" /S"), DWORD{0});
    EXPECT_TRUE(waitUntil([&] { return !fs::exists(installDir) && !keyExists(kUninstallKey); }, 60s))
        << "the uninstaller did not finish";
    EXPECT_TRUE(app.waitForExit(10s)) << "Dayvane was not closed";

    EXPECT_FALSE(fs::exists(installDir));
    EXPECT_FALSE(fs::exists(startMenuLink));
    EXPECT_FALSE(fs::exists(desktopLink));
    EXPECT_EQ(regString(kRunKey, L"Dayvane"), std::nullopt);
    EXPECT_FALSE(keyExists(kSettingsKey));
    EXPECT_FALSE(keyExists(kUninstallKey));
}

// A portable copy's start-up registration and shortcut are not the
// installation's: uninstalling leaves them, and the settings, alone.
TEST_F(Installer, UninstallKeepsWhatBelongsToAnotherCopy) {
    const fs::path elsewhere = knownFolder(FOLDERID_Downloads) / L"Dayvane portable";
    struct Cleanup {
        fs::path folder;
        ~Cleanup() {
            HKEY run = nullptr;
            if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
                ::RegDeleteValueW(run, L"Dayvane");
                ::RegCloseKey(run);
            }
            ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } cleanup{elsewhere};
    fs::create_directories(elsewhere);
    fs::copy_file(dayvaneExe(), elsewhere / L"Dayvane.exe", fs::copy_options::overwrite_existing);
    const std::wstring command = L"\"" + (elsewhere / L"Dayvane.exe").wstring() + L"\" -b";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Dayvane", REG_SZ, command.c_str(),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Dayvane\\Settings", L"Startup", REG_SZ, L"TRUE",
                                5 * sizeof(wchar_t)),
              ERROR_SUCCESS);

    ASSERT_EQ(runToEnd(L"\"" + setup->wstring() + L"\" /S"), DWORD{0});
    const auto uninstall = regString(kUninstallKey, L"UninstallString");
    ASSERT_TRUE(uninstall.has_value());
    EXPECT_EQ(runToEnd(*uninstall + L" /S"), DWORD{0});
    EXPECT_TRUE(waitUntil([&] { return !fs::exists(installDir) && !keyExists(kUninstallKey); }, 60s));

    EXPECT_EQ(regString(kRunKey, L"Dayvane"), command);
    EXPECT_EQ(regString(L"Software\\Dayvane\\Settings", L"Startup"), L"TRUE");
}

// The zip's folder, unpacked under a name with blanks and letters beyond
// ASCII, holds a program that runs from there.
TEST(PortableZip, RunsFromAFolderWithBlanksAndNonAsciiLetters) {
    const auto folder = envPath(L"DAYVANE_PORTABLE");
    ASSERT_TRUE(folder.has_value()) << "DAYVANE_PORTABLE names no unpacked zip (make package)";
    for (const wchar_t* file : {L"Dayvane.exe", L"README.txt", L"LICENSE.txt"})
        EXPECT_TRUE(fs::is_regular_file(*folder / file)) << fs::path(file).string();
    ASSERT_TRUE(dayvaneProcesses().empty()) << "a Dayvane is running already";
    Dayvane app;
    ASSERT_TRUE(app.start((*folder / L"Dayvane.exe").wstring()));
    ASSERT_TRUE(app.waitForWindow());
    EXPECT_EQ(windowText(app.hwnd()).rfind(L"    Time now is  ", 0), 0u);
    app.post(WM_CLOSE);
    EXPECT_TRUE(app.waitForExit(10s));
}

}  // namespace
}  // namespace dv::e2e
