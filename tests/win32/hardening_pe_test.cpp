#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "win32.h"

// Reads the built Dayvane.exe as the loader would and checks what makes it
// hard to exploit: a random base (ASLR), data that never executes (DEP), no
// section both writable and executable, and start-up imports that a DLL
// dropped beside the program cannot stand in for.
namespace dv::test {
namespace {

struct Section {
    std::string name;
    std::uint32_t address = 0, virtualSize = 0, fileOffset = 0, fileSize = 0, characteristics = 0;
};

class PeFile {
public:
    explicit PeFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) { parse(); }

    const std::string& error() const { return error_; }
    std::uint16_t machine = 0, fileCharacteristics = 0, magic = 0, subsystem = 0, dllCharacteristics = 0;
    std::vector<Section> sections;
    struct Directory {
        std::uint32_t address = 0, size = 0;
    };
    std::vector<Directory> directories;

    // The names of the DLLs in the import table, lower case.
    std::vector<std::string> importedDlls() const {
        std::vector<std::string> names;
        if (directories.size() < 2 || directories[1].address == 0) return names;
        auto at = fileOffset(directories[1].address);
        for (; at && *at + 20 <= bytes_.size(); *at += 20) {
            const std::uint32_t nameRva = u32(*at + 12);
            if (nameRva == 0) break;
            const auto name = fileOffset(nameRva);
            if (!name) break;
            std::string dll;
            for (size_t i = *name; i < bytes_.size() && bytes_[i]; ++i)
                dll += static_cast<char>(std::tolower(bytes_[i]));
            names.push_back(dll);
        }
        return names;
    }

private:
    std::uint16_t u16(size_t at) const {
        return at + 2 <= bytes_.size() ? static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8) : 0;
    }
    std::uint32_t u32(size_t at) const {
        return at + 4 <= bytes_.size()
                   ? static_cast<std::uint32_t>(u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16)
                   : 0;
    }
    std::optional<size_t> fileOffset(std::uint32_t rva) const {
        for (const Section& s : sections)
            if (rva >= s.address && rva < s.address + std::max(s.virtualSize, s.fileSize))
                return size_t{s.fileOffset} + (rva - s.address);
        return std::nullopt;
    }

    void parse() {
        if (u16(0) != 0x5A4D) {
            error_ = "no MZ header";
            return;
        }
        const size_t pe = u32(0x3C);
        if (u32(pe) != 0x00004550) {
            error_ = "no PE signature";
            return;
        }
        const size_t coff = pe + 4;
        machine = u16(coff);
        const std::uint16_t sectionCount = u16(coff + 2);
        const std::uint16_t optionalSize = u16(coff + 16);
        fileCharacteristics = u16(coff + 18);
        const size_t optional = coff + 20;
        magic = u16(optional);
        if (magic != 0x20B) {
            error_ = "not a PE32+ image";
            return;
        }
        subsystem = u16(optional + 68);
        dllCharacteristics = u16(optional + 70);
        const std::uint32_t directoryCount = std::min<std::uint32_t>(u32(optional + 108), 16);
        for (std::uint32_t i = 0; i < directoryCount; ++i)
            directories.push_back({u32(optional + 112 + 8 * i), u32(optional + 116 + 8 * i)});
        for (size_t i = 0, at = optional + optionalSize; i < sectionCount; ++i, at += 40) {
            if (at + 40 > bytes_.size()) {
                error_ = "section table cut short";
                return;
            }
            Section s;
            for (size_t c = 0; c < 8 && bytes_[at + c]; ++c) s.name += static_cast<char>(bytes_[at + c]);
            s.virtualSize = u32(at + 8);
            s.address = u32(at + 12);
            s.fileSize = u32(at + 16);
            s.fileOffset = u32(at + 20);
            s.characteristics = u32(at + 36);
            sections.push_back(s);
        }
    }

    std::vector<std::uint8_t> bytes_;
    std::string error_;
};

std::wstring builtProgram() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"DAYVANE_EXE", path, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) return path;
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self = path;
    return self.substr(0, self.find_last_of(L'\\') + 1) + L"..\\..\\Dayvane.exe";
}

class ProgramImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::ifstream in(std::filesystem::path(builtProgram()), std::ios::binary);
        image_ = PeFile(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    }
    static inline std::optional<PeFile> image_;
    const PeFile& pe() const { return *image_; }
};

constexpr std::uint32_t kExecute = IMAGE_SCN_MEM_EXECUTE, kWrite = IMAGE_SCN_MEM_WRITE;

TEST_F(ProgramImage, IsA64BitWindowsGuiProgram) {
    ASSERT_EQ(pe().error(), "");
    EXPECT_EQ(pe().machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(pe().subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

struct Flag {
    const char* name;
    std::uint16_t bit;
};

class ProgramFlag : public ProgramImage, public ::testing::WithParamInterface<Flag> {};

TEST_P(ProgramFlag, IsSet) {
    ASSERT_EQ(pe().error(), "");
    EXPECT_EQ(pe().dllCharacteristics & GetParam().bit, GetParam().bit)
        << std::hex << "DllCharacteristics 0x" << pe().dllCharacteristics;
}

INSTANTIATE_TEST_SUITE_P(Hardening, ProgramFlag,
                         ::testing::Values(Flag{"DynamicBase", IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE},
                                           Flag{"HighEntropyVa", IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA},
                                           Flag{"NxCompat", IMAGE_DLLCHARACTERISTICS_NX_COMPAT}),
                         [](const auto& info) { return std::string(info.param.name); });

// A random base needs relocations to move to, and high entropy needs
// addresses above 2 GiB.
TEST_F(ProgramImage, CanBeMovedAnywhere) {
    ASSERT_EQ(pe().error(), "");
    EXPECT_EQ(pe().fileCharacteristics & IMAGE_FILE_RELOCS_STRIPPED, 0);
    EXPECT_NE(pe().fileCharacteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE, 0);
    ASSERT_GT(pe().directories.size(), size_t{IMAGE_DIRECTORY_ENTRY_BASERELOC});
    EXPECT_GT(pe().directories[IMAGE_DIRECTORY_ENTRY_BASERELOC].size, 0u) << "no relocations";
}

TEST_F(ProgramImage, NoSectionIsBothWritableAndExecutable) {
    ASSERT_EQ(pe().error(), "");
    ASSERT_FALSE(pe().sections.empty());
    int code = 0;
    for (const Section& s : pe().sections) {
        EXPECT_NE(s.characteristics & (kExecute | kWrite), kExecute | kWrite)
            << s.name << std::hex << " characteristics 0x" << s.characteristics;
        if (s.characteristics & kExecute) ++code;
    }
    EXPECT_EQ(code, 1) << "code belongs in .text alone";
}

// Imported the usual way, a DLL is looked for beside the program before
// wWinMain can lock the search, so only these may be: Windows takes them
// from the system folder whatever lies beside the program (its known DLLs,
// and common controls through the manifest), and under Wine none of them
// brings in a DLL from there either. Everything else is delay-loaded.
TEST_F(ProgramImage, ImportsAtStartOnlyDllsThatCannotBePlanted) {
    ASSERT_EQ(pe().error(), "");
    const std::vector<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                                              "msvcrt.dll",   "ole32.dll",  "comctl32.dll"};
    const auto imported = pe().importedDlls();
    EXPECT_FALSE(imported.empty());
    for (const std::string& dll : imported)
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), dll), allowed.end())
            << dll << " is imported at start; delay-load it (cmake/delay_import.cmake)";
}

}  // namespace
}  // namespace dv::test
