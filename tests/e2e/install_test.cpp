#include <shlobj.h>

#include "desktop.h"

// The release as a user gets it: the signed installer and its uninstaller, run silently, and the portable zip
// unpacked into an awkward folder; scripts/test.sh names them in DAYVANE_SETUP and DAYVANE_PORTABLE.
namespace dv::test {
namespace {

namespace fs = std::filesystem;

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dayvane";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kSettingsKey[] = L"Software\\Dayvane";

fs::path envPath(const wchar_t* name) {
    const wchar_t* value = ::_wgetenv(name);
    return value ? value : L"";
}

fs::path knownFolder(REFKNOWNFOLDERID id) {
    PWSTR raw = nullptr;
    fs::path path = SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &raw)) ? raw : L"";
    ::CoTaskMemFree(raw);
    return path;
}

// Whether the shell link starts that program, read the way the shell reads it.
bool linksTo(const fs::path& link, const fs::path& exe) {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = {};
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(link.c_str(), STGM_READ)))
        shellLink->GetPath(target, MAX_PATH, nullptr, 0);
    if (file) file->Release();
    if (shellLink) shellLink->Release();
    if (SUCCEEDED(com)) ::CoUninitialize();
    std::error_code ec;
    return fs::equivalent(target, exe, ec);
}

// Whether a Dayvane started from that file shows a main window.
bool runningFrom(const fs::path& exe) {
    for (HWND hwnd : mainWindows()) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        wchar_t path[MAX_PATH * 2] = {};
        DWORD size = MAX_PATH * 2;
        const bool named = process && ::QueryFullProcessImageNameW(process, 0, path, &size);
        if (process) ::CloseHandle(process);
        std::error_code ec;
        if (named && fs::equivalent(path, exe, ec)) return true;
    }
    return false;
}

bool keyExists(const wchar_t* key) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    ::RegCloseKey(opened);
    return true;
}

// Ticks "start with Windows" in the options dialog and confirms it, as a user does.
void startWithWindows(const Dayvane& app) {
    ASSERT_TRUE(app.choose(kAddToStartUp));
    HWND dialog = waitForShown(app.processId(), L"Dayvane.frmstartup");
    ASSERT_TRUE(dialog) << "no options dialog";
    ::PostMessageW(childWithText(dialog, L"Click to add Dayvane to startup menu"), BM_CLICK, 0, 0);
    ::PostMessageW(childWithText(dialog, L"OK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(answerMessageBox(app.processId())) << "no message box confirmed it";
    ASSERT_TRUE(pumpUntil([&] { return !::IsWindowVisible(dialog); }, 10s)) << "OK left the options open";
}

class Installer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(setup)) << "DAYVANE_SETUP names no installer (make package)";
        ASSERT_TRUE(mainWindows().empty()) << "a Dayvane is running already";
        ASSERT_FALSE(fs::exists(installDir)) << "installed already: " << installDir.string();
    }
    void TearDown() override {  // a Dayvane that Setup or a session started is no child of the test's
        for (HWND hwnd : mainWindows()) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        pumpUntil([] { return mainWindows().empty(); }, 20s);
    }
    void install(const std::wstring& options = L"") const {
        ASSERT_EQ(runToEnd(inQuotes(setup) + L" /S" + options), DWORD{0});
    }
    // As "Apps & features" does it. The uninstaller hands its work to a copy of itself in the temporary
    // folder, so the end shows as the folder going.
    void uninstall(const fs::path& folder) const {
        const auto command = regString(kUninstallKey, L"UninstallString");
        ASSERT_EQ(command, inQuotes(folder / L"Uninstall.exe"));
        EXPECT_EQ(runToEnd(*command + L" /S"), DWORD{0});
        EXPECT_TRUE(pumpUntil([&] { return !fs::exists(folder) && !keyExists(kUninstallKey); }, 60s))
            << "the uninstaller did not finish";
    }
    const fs::path setup = envPath(L"DAYVANE_SETUP");
    const fs::path installDir = knownFolder(FOLDERID_LocalAppData) / L"Programs" / L"Dayvane";
    const fs::path installed = installDir / L"Dayvane.exe";
    const fs::path startMenuLink = knownFolder(FOLDERID_Programs) / L"Dayvane.lnk";
    const fs::path desktopLink = knownFolder(FOLDERID_Desktop) / L"Dayvane.lnk";
};

TEST_F(Installer, SilentInstallThenUninstallLeavesNothingOfDayvane) {
    ASSERT_NO_FATAL_FAILURE(install());
    std::uintmax_t bytes = 0;
    for (const auto& file : fs::directory_iterator(installDir)) bytes += file.file_size();
    DWORD kib = 0, size = sizeof kib;
    ::RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize", RRF_RT_REG_DWORD, nullptr, &kib, &size);
    EXPECT_GE(kib * 1024ull, bytes) << "the size shown is less than what is installed";
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const auto today = std::to_wstring(now.wYear * 10000 + now.wMonth * 100 + now.wDay);
    EXPECT_EQ(regString(kUninstallKey, L"InstallDate"), today) << "the entry does not carry today as its install date";
    EXPECT_TRUE(linksTo(startMenuLink, installed));
    EXPECT_TRUE(mainWindows().empty()) << "the silent install started Dayvane";

    {  // An uninstaller elsewhere leaves this installation's entry and shortcut.
        const ScratchFolder stray(knownFolder(FOLDERID_Downloads) / L"stray uninstaller");
        fs::copy_file(installDir / L"Uninstall.exe", stray.path / L"Uninstall.exe");
        EXPECT_EQ(runToEnd(inQuotes(stray.path / L"Uninstall.exe") + L" /S _?=" + stray.path.wstring()), DWORD{0});
    }
    EXPECT_TRUE(fs::exists(startMenuLink));
    EXPECT_EQ(regString(kUninstallKey, L"InstallLocation"), installDir.wstring());

    Dayvane app;
    ASSERT_TRUE(app.start(installed));
    ASSERT_NO_FATAL_FAILURE(startWithWindows(app));
    ASSERT_TRUE(app.choose({1, 1}));  // Create shortcut
    HWND dialog = waitForShown(app.processId(), L"Dayvane.frmstartup");
    HWND link = childWithText(dialog, L"Add Dayvane shortcut to desktop");
    ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(answerMessageBox(app.processId())) << "no message box confirmed the shortcut";
    ::PostMessageW(childWithText(dialog, L"Cancel"), BM_CLICK, 0, 0);
    EXPECT_TRUE(linksTo(desktopLink, installed));
    EXPECT_TRUE(regString(kRunKey, L"Dayvane") && keyExists(kSettingsKey));

    uninstall(installDir);  // with Dayvane still running: the uninstaller closes it
    EXPECT_TRUE(app.waitForExit()) << "Dayvane was not closed";
    for (const fs::path& link : {startMenuLink, desktopLink}) EXPECT_FALSE(fs::exists(link)) << link.string();
    EXPECT_FALSE(regString(kRunKey, L"Dayvane") || keyExists(kSettingsKey)) << "start-up entry or settings left";
}

// Setup again while the installed Dayvane runs: the update goes into the folder chosen the first time, or into
// the one it is given, and starts Dayvane again from there.
TEST_F(Installer, UpdateStaysInItsFolderAndRestartsDayvane) {
    const fs::path custom = knownFolder(FOLDERID_Profile) / L"Custom Dayvane";
    ASSERT_NO_FATAL_FAILURE(install(L" /D=" + custom.wstring()));
    Dayvane app;
    ASSERT_TRUE(app.start(custom / L"Dayvane.exe"));

    ASSERT_NO_FATAL_FAILURE(install());
    EXPECT_TRUE(app.waitForExit()) << "the running Dayvane was not closed";
    EXPECT_TRUE(pumpUntil([&] { return runningFrom(custom / L"Dayvane.exe"); }, 20s)) << "Dayvane was not restarted";
    EXPECT_FALSE(fs::exists(installDir)) << "a second copy went into the default folder";
    EXPECT_TRUE(linksTo(startMenuLink, custom / L"Dayvane.exe"));

    ASSERT_NO_FATAL_FAILURE(install(L" /D=" + installDir.wstring()));
    EXPECT_FALSE(fs::exists(custom)) << "a copy stayed in the old folder";
    EXPECT_TRUE(pumpUntil([&] { return runningFrom(installed); }, 20s)) << "Dayvane was not restarted";
    uninstall(installDir);
}

// A portable copy elsewhere is not the installation's: it keeps running, and its start-up entry and settings
// stay, so that the next session still starts it from its folder with blanks and letters beyond ASCII. Under
// Wine plain wineboot starts a session as a log-on does.
TEST_F(Installer, PortableCopyRunsOnAndStartsAgainNextSession) {
    const fs::path portable = envPath(L"DAYVANE_PORTABLE") / L"Dayvane.exe";
    ASSERT_TRUE(fs::exists(portable)) << "DAYVANE_PORTABLE names no unpacked zip (make package)";
    struct Cleanup {
        ~Cleanup() {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Dayvane");
            ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        }
    } cleanup;
    Dayvane app;
    ASSERT_TRUE(app.start(portable));
    ASSERT_NO_FATAL_FAILURE(startWithWindows(app));

    ASSERT_NO_FATAL_FAILURE(install());
    uninstall(installDir);
    EXPECT_TRUE(app.running()) << "Setup or the uninstaller ended the portable Dayvane";
    EXPECT_TRUE(keyExists(kSettingsKey)) << "the uninstaller took the portable copy's settings";
    ::PostMessageW(app.hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.waitForExit()) << "the close box left Dayvane running";
    wchar_t system[MAX_PATH] = {};
    ASSERT_NE(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    ASSERT_TRUE(runToEnd(inQuotes(fs::path(system) / L"wineboot.exe")));
    EXPECT_TRUE(pumpUntil([&] { return runningFrom(portable); }, 30s)) << "the next session did not start Dayvane";
}

}  // namespace
}  // namespace dv::test
