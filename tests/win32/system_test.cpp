#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>

#include "support.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>

// What only the real system shows: the services against the registry, shell and file system (the windows
// read the value kinds), and the built program as the loader maps it.
namespace dv::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

fs::path testProgram() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return self;
}

// HKLM is writable for the Wine user: the key's own rights must refuse.
TEST(RegistryReader, OpensForReadingOnlyAndRefusesNamesWithANul) {
    win32::ReadOnlyRegistry registry;
    RegistryKey key = 0;
    ASSERT_EQ(registry.openKey(RegistryRoot::CurrentUser, "Software", key), ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(reinterpret_cast<HKEY>(key), L"DayvaneTests", 0, REG_SZ, nullptr, 0),
              ERROR_ACCESS_DENIED);
    RegistryValue value;
    EXPECT_NE(registry.queryValue(key, "Nowhere\0Else"s, 64, value), ERROR_SUCCESS);
    EXPECT_NE(registry.openKey(RegistryRoot::CurrentUser, "Software\0Elsewhere"s, key), ERROR_SUCCESS);
    EXPECT_EQ(key, 0u);
}

// An empty name would be the key's default value; the Run value itself is seen end to end.
TEST(RunValue, RemovingAnAbsentValueSucceedsAndAnEmptyNameIsRefused) {
    win32::RunKeyStartup startup;
    EXPECT_TRUE(startup.remove("DayvaneTests absent \xc3\xa9t\xc3\xa9"));
    EXPECT_FALSE(startup.write("", "\"C:\\x.exe\""));
    EXPECT_FALSE(startup.remove(""));
}

// Target, arguments, working folder and icon, as the shell reads them.
std::vector<std::wstring> loadLink(const std::wstring& file) {
    win32::ComPtr<IShellLinkW> link;
    win32::ComPtr<IPersistFile> persist;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(link.put()))) ||
        FAILED(link->QueryInterface(IID_PPV_ARGS(persist.put()))) || FAILED(persist->Load(file.c_str(), STGM_READ)))
        return {};
    wchar_t target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {}, icon[MAX_PATH] = {};
    int index = -1;
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, MAX_PATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &index);
    return {target, arguments, folder, icon + (L"," + std::to_wstring(index))};
}

TEST(DesktopShortcut, LoadsBackAsMadeAndASecondReplacesIt) {
    // Wine writes a link's path in the ANSI code page: no letters beyond it.
    const fs::path folder = fs::temp_directory_path() / L"D\u00e5yvane T\u00ebst";
    fs::create_directories(folder);
    PWSTR desktop = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop));
    const std::wstring link = desktop + std::wstring(L"\\Dayvane.lnk");
    ::CoTaskMemFree(desktop);
    win32::DesktopShortcutMaker maker;
    for (const wchar_t* exe : {L"Dayvane.exe", L"Renamed Cal.exe"}) {
        const std::string target = win32::narrow((folder / exe).wstring());
        fs::copy_file(testProgram(), folder / exe, fs::copy_options::overwrite_existing);
        const Outcome made = maker.createOnDesktop({"Dayvane", target, "", win32::narrow(folder.wstring()), target});
        ASSERT_TRUE(made) << made.reason;
        EXPECT_EQ(loadLink(link), (std::vector<std::wstring>{win32::widen(target), L"", folder.wstring(),
                                                             win32::widen(target) + L",0"}));
    }
    // A folder of the shortcut's name stands in the way.
    ::DeleteFileW(link.c_str());
    ASSERT_TRUE(::CreateDirectoryW(link.c_str(), nullptr));
    const Outcome blocked = maker.createOnDesktop({"Dayvane", "C:\\x.exe", "", "C:\\", "C:\\x.exe"});
    ::RemoveDirectoryW(link.c_str());
    EXPECT_FALSE(blocked);
    EXPECT_FALSE(blocked.reason.empty());
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// Copies of this test program in a folder with blanks and letters beyond ASCII; started with
// DAYVANE_LAUNCHED set, a copy leaves "<its path>.ran".
class LaunchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(root, ignored);
        fs::create_directories(folder, ignored);
        ::SetEnvironmentVariableW(L"DAYVANE_LAUNCHED", L"1");
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"DAYVANE_LAUNCHED", nullptr);
        fs::remove_all(root, ignored);
    }
    std::string copyAt(const fs::path& path) {
        fs::copy_file(testProgram(), path, ignored);
        EXPECT_FALSE(ignored) << ignored.message();
        return win32::narrow(path.wstring());
    }
    static bool ran(const std::string& program) { return fs::exists(win32::widen(program) + L".ran"); }

    const fs::path root = fs::temp_directory_path() / L"DayvaneLaunch";
    const fs::path folder = root / L"Dayvane Tests" / L"Syst\u00e8me d'\u65e5\u672c";
    std::error_code ignored;
};

TEST_F(LaunchFolder, StartsTheProgramItIsGivenAndNoOtherOrSaysWhyNot) {
    // An unquoted command line would run "<root>\Dayvane.exe" first.
    const std::string decoy = copyAt(root / L"Dayvane.exe");
    const std::string program = copyAt(folder / L"msinfo32 copy.exe");
    win32::CreateProcessStart start;
    const Outcome outcome = start.start(program);
    ASSERT_TRUE(outcome) << outcome.reason;
    EXPECT_TRUE(pumpUntil([&] { return ran(program); }, 20s)) << "the program never ran";
    EXPECT_FALSE(ran(decoy));
    for (const std::string& path : {""s, program + ".missing", win32::narrow(folder.wstring()), "C:\\x.exe\0C:\\y"s}) {
        const Outcome failed = start.start(path);
        EXPECT_FALSE(failed) << path;
        EXPECT_FALSE(failed.reason.empty()) << path;
    }
}

TEST_F(LaunchFolder, OnlyOrdinaryFilesCount) {
    const std::string plain = copyAt(folder / L"MSINFO32.EXE"), hidden = copyAt(folder / L"hidden.exe"),
                      system = copyAt(folder / L"system.exe");
    ::SetFileAttributesW(win32::widen(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN);
    ::SetFileAttributesW(win32::widen(system).c_str(), FILE_ATTRIBUTE_SYSTEM);
    const win32::SystemFileQuery files;
    EXPECT_TRUE(files.isOrdinaryFile(plain));
    EXPECT_TRUE(files.isOrdinaryFile(win32::narrow((folder / L"msinfo32.exe").wstring()))) << "in any case";
    for (const std::string& path : {hidden, system, win32::narrow(folder.wstring()), plain + ".missing",
                                    win32::narrow((folder / L"*.EXE").wstring()), ""s, plain + "\0.txt"s,
                                    "C:\\bad|name<>\\MSINFO32.EXE"s})
        EXPECT_FALSE(files.isOrdinaryFile(path)) << path;
}

// The built Dayvane.exe is hard to exploit: a random base (ASLR), data that never executes (DEP), no
// section both writable and executable, and start-up imports that a planted DLL cannot stand in for.
class ProgramImage : public ::testing::Test {
protected:
    void SetUp() override {
        static const HMODULE module = ::LoadLibraryExW((testProgram().parent_path() / L"..\\..\\Dayvane.exe").c_str(),
                                                       nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr) << "Dayvane.exe does not map as an image";
        // Addresses in the image are offsets from its base; the handle's low bits mark a resource-only mapping.
        base = reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(module) & ~std::uintptr_t{3});
        const LONG headers = reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew;
        nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + headers);
        ASSERT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC) << "not a PE32+ image";
    }
    const char* base = nullptr;
    const IMAGE_NT_HEADERS64* nt = nullptr;
};

// A random base needs relocations to move to, and high entropy needs addresses above 2 GiB.
TEST_F(ProgramImage, IsA64BitGuiProgramThatMovesAnywhereAndNeverRunsData) {
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(nt->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED, 0);
    EXPECT_NE(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0);
    EXPECT_GT(nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size, 0u) << "no relocations";
    for (const WORD flag : {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA,
                            IMAGE_DLLCHARACTERISTICS_NX_COMPAT})
        EXPECT_EQ(nt->OptionalHeader.DllCharacteristics & flag, flag)
            << std::hex << "DllCharacteristics 0x" << nt->OptionalHeader.DllCharacteristics;
}

TEST_F(ProgramImage, NoSectionIsBothWritableAndExecutable) {
    constexpr DWORD kExecute = IMAGE_SCN_MEM_EXECUTE, kWrite = IMAGE_SCN_MEM_WRITE;
    int code = 0;
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++s) {
        EXPECT_NE(s->Characteristics & (kExecute | kWrite), kExecute | kWrite)
            << std::string(reinterpret_cast<const char*>(s->Name), 8).c_str();
        code += (s->Characteristics & kExecute) != 0;
    }
    EXPECT_EQ(code, 1) << "code belongs in .text alone";
}

// A DLL imported the usual way is looked for beside the program before wWinMain can lock the search. Only
// these always come from the system folder (known DLLs; common controls through the manifest), under Wine
// too; everything else is delay-loaded.
TEST_F(ProgramImage, ImportsAtStartOnlyDllsThatCannotBePlanted) {
    const std::string allowed[] = {"kernel32.dll", "user32.dll", "gdi32.dll",   "advapi32.dll",
                                   "msvcrt.dll",   "ole32.dll",  "comctl32.dll"};
    const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    int imported = 0;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + table); table && entry->Name; ++entry) {
        std::string dll = base + entry->Name;
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        ++imported;
        EXPECT_NE(std::find(std::begin(allowed), std::end(allowed), dll), std::end(allowed))
            << dll << " is imported at start; delay-load it (cmake/delay_import.cmake)";
    }
    EXPECT_GT(imported, 0);
}

}  // namespace
}  // namespace dv::test
