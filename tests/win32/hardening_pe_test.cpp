#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "win32.h"

// Reads the built Dayvane.exe as the loader would and checks what makes it
// hard to exploit: a random base (ASLR), data that never executes (DEP), no
// section both writable and executable, and start-up imports that a DLL
// dropped beside the program cannot stand in for.
namespace dv::test {
namespace {

std::wstring builtProgram() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"DAYVANE_EXE", path, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) return path;
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self = path;
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"..\\..\\Dayvane.exe";
}

class ProgramImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream in(std::filesystem::path(builtProgram()), std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
    }
    void SetUp() override {
        const auto* dos = at<IMAGE_DOS_HEADER>(0);
        ASSERT_TRUE(dos && dos->e_magic == IMAGE_DOS_SIGNATURE) << "no MZ header";
        nt = at<IMAGE_NT_HEADERS64>(static_cast<size_t>(dos->e_lfanew));
        ASSERT_TRUE(nt && nt->Signature == IMAGE_NT_SIGNATURE) << "no PE signature";
        ASSERT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC) << "not a PE32+ image";
        const auto* first = IMAGE_FIRST_SECTION(nt);
        const size_t offset = reinterpret_cast<const char*>(first) - bytes_.data();
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const auto* s = at<IMAGE_SECTION_HEADER>(offset + i * sizeof(IMAGE_SECTION_HEADER));
            ASSERT_NE(s, nullptr) << "section table cut short";
            sections.push_back(*s);
        }
    }

    template <typename T>
    static const T* at(size_t offset) {
        return offset + sizeof(T) <= bytes_.size() ? reinterpret_cast<const T*>(bytes_.data() + offset) : nullptr;
    }
    size_t fileOffset(DWORD rva) const {
        for (const IMAGE_SECTION_HEADER& s : sections)
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return s.PointerToRawData + (rva - s.VirtualAddress);
        return bytes_.size();
    }

    static inline std::string bytes_;
    const IMAGE_NT_HEADERS64* nt = nullptr;
    std::vector<IMAGE_SECTION_HEADER> sections;
};

// A random base needs relocations to move to, and high entropy needs
// addresses above 2 GiB.
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
    for (const IMAGE_SECTION_HEADER& s : sections) {
        EXPECT_NE(s.Characteristics & (kExecute | kWrite), kExecute | kWrite)
            << std::string(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8));
        if (s.Characteristics & kExecute) ++code;
    }
    EXPECT_EQ(code, 1) << "code belongs in .text alone";
}

// Imported the usual way, a DLL is looked for beside the program before
// wWinMain can lock the search, so only these may be: Windows takes them
// from the system folder whatever lies beside the program (its known DLLs,
// and common controls through the manifest), and under Wine none of them
// brings in a DLL from there either. Everything else is delay-loaded.
TEST_F(ProgramImage, ImportsAtStartOnlyDllsThatCannotBePlanted) {
    const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                              "msvcrt.dll",   "ole32.dll",  "comctl32.dll"};
    std::vector<std::string> imported;
    const DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t i = fileOffset(table); const auto* entry = at<IMAGE_IMPORT_DESCRIPTOR>(i); i += sizeof *entry) {
        if (entry->Name == 0) break;
        std::string dll;
        for (size_t c = fileOffset(entry->Name); c < bytes_.size() && bytes_[c]; ++c)
            dll += static_cast<char>(std::tolower(static_cast<unsigned char>(bytes_[c])));
        imported.push_back(dll);
    }
    EXPECT_FALSE(imported.empty());
    for (const std::string& dll : imported)
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), dll), allowed.end())
            << dll << " is imported at start; delay-load it (cmake/delay_import.cmake)";
}

}  // namespace
}  // namespace dv::test
