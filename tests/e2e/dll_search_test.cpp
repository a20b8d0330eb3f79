#include <filesystem>

#include "desktop.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;

// Runs LoadLibraryW(name) inside the process, as code of its own would; true if the probe's marker shows a load.
bool loadInto(HANDLE process, const std::wstring& name, const fs::path& marker) {
    const SIZE_T bytes = (name.size() + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote || !::WriteProcessMemory(process, remote, name.c_str(), bytes, nullptr)) return false;
    // kernel32 sits at the same address in every process of the session.
    const auto loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
    HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, loadLibrary, remote, 0, nullptr);
    EXPECT_NE(thread, nullptr) << "no thread in Dayvane: " << ::GetLastError();
    if (thread) {
        ::WaitForSingleObject(thread, 30000);
        ::CloseHandle(thread);
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return fs::exists(marker);
}

// Dayvane limits its DLL search to the system folder as it starts, before the
// DLLs it loads late, so that a DLL dropped beside it (in a Downloads folder,
// say) never runs. Under Wine a planted DLL cannot show that: even without the
// lock, Wine runs its own built-in code for every name Dayvane or the system
// asks for. So the running program is asked to load a DLL by its bare name, as
// any code inside it would.
TEST(DllSearch, ARunningDayvaneNeverLoadsADllFromItsOwnFolderByName) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
    const fs::path folder = fs::path(temp) / L"Downloads f\u00fcr Dayvane";
    struct Cleanup {
        fs::path folder;
        ~Cleanup() {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } cleanup{folder};
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(dayvaneExe(), folder / L"Dayvane.exe");
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::copy_file(fs::path(self).parent_path() / L"probe" / L"dayvane_probe.dll", folder / L"dayvane_probe.dll");
    const fs::path marker = folder / L"dayvane_probe.dll.loaded";

    Dayvane app;
    ASSERT_TRUE(app.start((folder / L"Dayvane.exe").wstring()));
    ASSERT_TRUE(app.waitForWindow());
    EXPECT_FALSE(loadInto(app.process(), L"dayvane_probe.dll", marker))
        << "Dayvane loaded dayvane_probe.dll from its own folder: its DLL search is not locked to the system folder";
    EXPECT_TRUE(loadInto(app.process(), (folder / L"dayvane_probe.dll").wstring(), marker))
        << "the probe did not load even by its full path: this test cannot see a load";
}

}  // namespace
}  // namespace dv::test
