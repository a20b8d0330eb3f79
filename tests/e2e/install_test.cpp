#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <shlobj.h>

#include "desktop.h"

// The release as a user gets it: the signed installer and its uninstaller, run silently, and the portable
// zip unpacked into an awkward folder. scripts/test.sh makes them and names them in DAYVANE_SETUP and
// DAYVANE_PORTABLE.
namespace dv::test {
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

std::vector<HWND> mainWindows() { return childrenOfClass(nullptr, L"Dayvane.frmmain"); }

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

// Runs a command line to its end; its exit code, or nothing.
std::optional<DWORD> runToEnd(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return std::nullopt;
    DWORD code = 0;
    const bool ended = ::WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0;
    if (ended) ::GetExitCodeProcess(info.hProcess, &code);
    if (!ended) ::TerminateProcess(info.hProcess, 99);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return ended ? std::optional<DWORD>(code) : std::nullopt;
}

bool samePath(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// Whether a Dayvane started from that file shows its main window.
bool runningFrom(const fs::path& exe) {
    for (HWND hwnd : mainWindows()) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        wchar_t path[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        const bool named = process && ::QueryFullProcessImageNameW(process, 0, path, &size);
        if (process) ::CloseHandle(process);
        if (named && samePath(path, exe)) return true;
    }
    return false;
}

// What a user does in the options dialog to start Dayvane with Windows and
// to put its shortcut on the desktop.
void registerThroughTheProgram(const Dayvane& app) {
    app.choose(kAddToStartUp);
    HWND dialog = nullptr;
    ASSERT_TRUE(
        pumpUntil([&] { return (dialog = shownWindow(app.processId(), L"Dayvane.frmstartup")) != nullptr; }, 10s));
    ::PostMessageW(childWithText(dialog, L"Click to add Dayvane to startup menu"), BM_CLICK, 0, 0);
    ::PostMessageW(childWithText(dialog, L"OK"), BM_CLICK, 0, 0);
    ASSERT_EQ(answerMessageBox(app.processId()), L"Dayvane will start automatically with Windows next time");
    ASSERT_TRUE(pumpUntil([&] { return shownWindow(app.processId(), L"Dayvane.frmstartup") == nullptr; }, 10s));

    app.choose(kCreateShortcut);
    ASSERT_TRUE(
        pumpUntil([&] { return (dialog = shownWindow(app.processId(), L"Dayvane.frmstartup")) != nullptr; }, 10s));
    HWND link = childWithText(dialog, L"Add Dayvane shortcut to desktop");
    ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(answerMessageBox(app.processId()), L"A short cut in the desktop has been created.");
    ::PostMessageW(childWithText(dialog, L"Cancel"), BM_CLICK, 0, 0);
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(setup && fs::exists(*setup)) << "DAYVANE_SETUP names no installer (make package)";
        ASSERT_TRUE(mainWindows().empty()) << "a Dayvane is running already";
        ASSERT_FALSE(fs::exists(installDir)) << "installed already: " << installDir.string();
    }
    void TearDown() override {  // a Dayvane that Setup started is no child of the test's
        for (HWND hwnd : mainWindows()) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        pumpUntil([] { return mainWindows().empty(); }, 20s);
    }
    std::optional<DWORD> install(const std::wstring& options = L"") const {
        return runToEnd(L"\"" + setup->wstring() + L"\" /S" + options);
    }
    // As "Apps & features" does it. The uninstaller hands its work to a copy of itself in the
    // temporary folder, so the end shows as the folder going.
    void uninstall(const fs::path& folder) const {
        const auto command = regString(kUninstallKey, L"UninstallString");
        ASSERT_EQ(command, L"\"" + (folder / L"Uninstall.exe").wstring() + L"\"");
        EXPECT_EQ(runToEnd(*command + L" /S"), DWORD{0});
        EXPECT_TRUE(pumpUntil([&] { return !fs::exists(folder) && !keyExists(kUninstallKey); }, 60s))
            << "the uninstaller did not finish";
    }
    const std::optional<fs::path> setup = envPath(L"DAYVANE_SETUP");
    const fs::path installDir = knownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Dayvane";
    const fs::path installed = installDir / L"Dayvane.exe";
    const fs::path startMenuLink = knownFolder(FOLDERID_Programs) / L"Dayvane.lnk";
    const fs::path desktopLink = knownFolder(FOLDERID_Desktop) / L"Dayvane.lnk";
};

TEST_F(Installer, SilentInstallThenUninstallLeavesNothingOfDayvane) {
    ASSERT_EQ(install(), DWORD{0});
    std::uintmax_t bytes = 0;
    for (const wchar_t* file : {L"Dayvane.exe", L"README.txt", L"LICENSE.txt", L"Uninstall.exe"}) {
        EXPECT_TRUE(fs::is_regular_file(installDir / file)) << fs::path(file).string();
        bytes += fs::file_size(installDir / file);
    }
    EXPECT_TRUE(samePath(linkTarget(startMenuLink), installed)) << startMenuLink.string();
    DWORD kib = 0, size = sizeof kib;
    ::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &kib, &size);
    EXPECT_GE(kib * 1024ull, bytes) << "the size shown is less than what is installed";
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    EXPECT_EQ(regString(kUninstallKey, L"InstallDate"), std::to_wstring(now.wYear * 10000 + now.wMonth * 100 + now.wDay));
    // Only the finish page offers to start it; a silent install has none.
    EXPECT_TRUE(mainWindows().empty()) << "the silent install started Dayvane";

    // An uninstaller elsewhere leaves this installation's entry and shortcut.
    const fs::path stray = knownFolder(FOLDERID_Downloads) / L"stray uninstaller";
    fs::create_directories(stray);
    fs::copy_file(installDir / L"Uninstall.exe", stray / L"Uninstall.exe");
    EXPECT_EQ(runToEnd(L"\"" + (stray / L"Uninstall.exe").wstring() + L"\" /S _?=" + stray.wstring()), DWORD{0});
    fs::remove_all(stray);
    EXPECT_TRUE(fs::exists(startMenuLink));
    EXPECT_EQ(regString(kUninstallKey, L"InstallLocation"), installDir.wstring());

    Dayvane app;
    ASSERT_TRUE(app.start(installed.wstring()));
    ASSERT_TRUE(app.waitForWindow());
    registerThroughTheProgram(app);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(regString(kRunKey, L"Dayvane"), L"\"" + installed.wstring() + L"\"");
    EXPECT_TRUE(keyExists(kSettingsKey));
    EXPECT_TRUE(samePath(linkTarget(desktopLink), installed)) << desktopLink.string();

    uninstall(installDir);  // with Dayvane still running: the uninstaller closes it
    EXPECT_TRUE(app.waitForExit(10s)) << "Dayvane was not closed";
    EXPECT_FALSE(fs::exists(startMenuLink));
    EXPECT_FALSE(fs::exists(desktopLink));
    EXPECT_EQ(regString(kRunKey, L"Dayvane"), std::nullopt);
    EXPECT_FALSE(keyExists(kSettingsKey));
}

// Setup again, silently, while the installed Dayvane runs: the update goes into the folder chosen
// the first time and starts Dayvane again.
TEST_F(Installer, UpdateStaysInItsFolderAndRestartsDayvane) {
    const fs::path custom = knownFolder(FOLDERID_Profile) / L"Custom Dayvane";
    ASSERT_EQ(install(L" /D=" + custom.wstring()), DWORD{0});
    Dayvane app;
    ASSERT_TRUE(app.start((custom / L"Dayvane.exe").wstring()));
    ASSERT_TRUE(app.waitForWindow());

    ASSERT_EQ(install(), DWORD{0});
    EXPECT_TRUE(app.waitForExit(10s)) << "the running Dayvane was not closed";
    EXPECT_TRUE(pumpUntil([&] { return runningFrom(custom / L"Dayvane.exe"); }, 20s)) << "Dayvane was not restarted";
    EXPECT_FALSE(fs::exists(installDir)) << "a second copy went into the default folder";
    EXPECT_EQ(regString(kUninstallKey, L"InstallLocation"), custom.wstring());
    EXPECT_TRUE(samePath(linkTarget(startMenuLink), custom / L"Dayvane.exe"));

    // Another folder chosen for the update: the old one goes, and Dayvane starts from the new one.
    ASSERT_EQ(install(L" /D=" + installDir.wstring()), DWORD{0});
    EXPECT_FALSE(fs::exists(custom)) << "a copy stayed in the old folder";
    EXPECT_TRUE(pumpUntil([&] { return runningFrom(installed); }, 20s)) << "Dayvane was not restarted";
    uninstall(installDir);
}

// A portable copy elsewhere is not the installation's: it keeps running, and
// its start-up registration and the settings stay.
TEST_F(Installer, PortableCopyRunsOnThroughInstallAndUninstall) {
    const auto folder = envPath(L"DAYVANE_PORTABLE");
    ASSERT_TRUE(folder.has_value()) << "DAYVANE_PORTABLE names no unpacked zip (make package)";
    struct Cleanup {
        ~Cleanup() {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Dayvane");
            ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        }
    } cleanup;
    const std::wstring command = L"\"" + (*folder / L"Dayvane.exe").wstring() + L"\" -b";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Dayvane", REG_SZ, command.c_str(),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Dayvane\\Settings", L"Startup", REG_SZ, L"TRUE",
                                5 * sizeof(wchar_t)),
              ERROR_SUCCESS);
    Dayvane portable;
    ASSERT_TRUE(portable.start((*folder / L"Dayvane.exe").wstring()));
    ASSERT_TRUE(portable.waitForWindow());

    ASSERT_EQ(install(), DWORD{0});
    uninstall(installDir);
    EXPECT_TRUE(portable.running()) << "Setup or the uninstaller ended the portable Dayvane";
    EXPECT_EQ(regString(kRunKey, L"Dayvane"), command);
    EXPECT_EQ(regString(L"Software\\Dayvane\\Settings", L"Startup"), L"TRUE");
}

}  // namespace
}  // namespace dv::test
