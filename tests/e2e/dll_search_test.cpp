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

// Dayvane locks its DLL search to the system folder as it starts, so that a DLL dropped beside it never runs.
// Wine runs its built-in code for any name Dayvane or the system asks for, so a planted DLL cannot show the
// lock: the running program is asked to load one by its bare name instead, as any code inside it would.
TEST(DllSearch, ARunningDayvaneNeverLoadsADllFromItsOwnFolderByName) {
    wchar_t self[MAX_PATH] = {};
    ASSERT_NE(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const ScratchFolder folder(fs::temp_directory_path() / L"Downloads f\u00fcr Dayvane");
    fs::copy_file(dayvaneExe(), folder.path / L"Dayvane.exe");
    fs::copy_file(fs::path(self).parent_path() / L"probe" / L"dayvane_probe.dll", folder.path / L"dayvane_probe.dll");
    const fs::path marker = folder.path / L"dayvane_probe.dll.loaded";

    Dayvane app;
    ASSERT_TRUE(app.start(folder.path / L"Dayvane.exe"));
    EXPECT_FALSE(loadInto(app.process(), L"dayvane_probe.dll", marker))
        << "Dayvane loaded dayvane_probe.dll from its own folder: its DLL search is not locked to the system folder";
    EXPECT_TRUE(loadInto(app.process(), (folder.path / L"dayvane_probe.dll").wstring(), marker))
        << "the probe did not load even by its full path: this test cannot see a load";
}

}  // namespace
}  // namespace dv::test
