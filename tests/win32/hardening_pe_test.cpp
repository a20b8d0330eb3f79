#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "win32.h"

// The built Dayvane.exe, read as the loader maps it, is hard to exploit: a random base (ASLR), data that
// never executes (DEP), no section both writable and executable, and start-up imports that a DLL dropped
// beside the program cannot stand in for.
namespace dv::test {
namespace {

class ProgramImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring tests = self;
        const std::wstring exe = tests.substr(0, tests.find_last_of(L'\\') + 1) + L"..\\..\\Dayvane.exe";
        module_ = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() { ::FreeLibrary(module_); }
    void SetUp() override {
        ASSERT_NE(module_, nullptr) << "Dayvane.exe does not map as an image";
        // The low bits of the handle mark a resource-only mapping; addresses are offsets from the base.
        base = reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(module_) & ~std::uintptr_t{3});
        const LONG headers = reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew;
        nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + headers);
        ASSERT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC) << "not a PE32+ image";
    }

    static inline HMODULE module_ = nullptr;
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

// Imported the usual way, a DLL is looked for beside the program before wWinMain can lock the search,
// so only these may be: Windows takes them from the system folder whatever lies beside the program (its
// known DLLs, and common controls through the manifest), and under Wine none of them brings in a DLL
// from there either. Everything else is delay-loaded.
TEST_F(ProgramImage, ImportsAtStartOnlyDllsThatCannotBePlanted) {
    const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                              "msvcrt.dll",   "ole32.dll",  "comctl32.dll"};
    const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    int imported = 0;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + table); table && entry->Name; ++entry) {
        std::string dll = base + entry->Name;
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        ++imported;
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), dll), allowed.end())
            << dll << " is imported at start; delay-load it (cmake/delay_import.cmake)";
    }
    EXPECT_GT(imported, 0);
}

}  // namespace
}  // namespace dv::test
