#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "about_services.h"
#include "support.h"
#include "text.h"

namespace dv::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

fs::path testFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path();
}

// A folder of its own under the temporary folder, with blanks and
// non-ASCII letters in its name; gone with the test.
class LaunchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        root = fs::path(temp) / L"DayvaneTests Start";
        fs::remove_all(root, ignored);
        folder = root / L"Syst\u00e8me d'\u65e5\u672c";
        ASSERT_TRUE(fs::create_directories(folder, ignored)) << ignored.message();
    }
    void TearDown() override { fs::remove_all(root, ignored); }

    // A copy of the stamp helper, which marks "<path>.ran" when it runs.
    fs::path helperAt(const fs::path& path) {
        fs::copy_file(testFolder() / L"dayvane_stamp_helper.exe", path, fs::copy_options::overwrite_existing, ignored);
        EXPECT_FALSE(ignored) << ignored.message();
        return path;
    }
    static bool ran(const fs::path& program) { return fs::exists(program.wstring() + L".ran"); }

    fs::path root, folder;
    std::error_code ignored;
};

TEST_F(LaunchFolder, StartsTheProgramItIsGivenAndNoOther) {
    // An unquoted command line would run "...\DayvaneTests.exe" first.
    const fs::path decoy = helperAt(fs::path(root.wstring() + L"\\..\\DayvaneTests.exe").lexically_normal());
    const fs::path program = helperAt(folder / L"msinfo32 copy.exe");
    win32::CreateProcessStart start;
    const Outcome outcome = start.start(win32::narrow(program.wstring()));
    ASSERT_TRUE(outcome) << outcome.reason;
    EXPECT_TRUE(pumpUntil([&] { return ran(program); }, std::chrono::seconds(20))) << "the program never ran";
    EXPECT_FALSE(ran(decoy));
    fs::remove(decoy, ignored);
    fs::remove(decoy.wstring() + L".ran", ignored);
}

TEST_F(LaunchFolder, FailedStartsSayWhy) {
    win32::CreateProcessStart start;
    for (const std::string& path : {""s, win32::narrow((folder / L"missing.exe").wstring()),
                                    win32::narrow(folder.wstring()), "C:\\x.exe\0C:\\y.exe"s}) {
        const Outcome outcome = start.start(path);
        EXPECT_FALSE(outcome) << path;
        EXPECT_FALSE(outcome.reason.empty()) << path;
    }
}

TEST_F(LaunchFolder, OnlyOrdinaryFilesCount) {
    const fs::path plain = helperAt(folder / L"MSINFO32.EXE");
    const fs::path hidden = helperAt(folder / L"hidden.exe");
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const fs::path system = helperAt(folder / L"system.exe");
    ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
    win32::SystemFileQuery files;

    EXPECT_TRUE(files.isOrdinaryFile(win32::narrow(plain.wstring())));
    EXPECT_TRUE(files.isOrdinaryFile(win32::narrow((folder / L"msinfo32.exe").wstring()))) << "names match in any case";
    EXPECT_FALSE(files.isOrdinaryFile(win32::narrow(hidden.wstring())));
    EXPECT_FALSE(files.isOrdinaryFile(win32::narrow(system.wstring())));
    EXPECT_FALSE(files.isOrdinaryFile(win32::narrow(folder.wstring()))) << "a folder";
    EXPECT_FALSE(files.isOrdinaryFile(win32::narrow((folder / L"missing.exe").wstring())));
    EXPECT_FALSE(files.isOrdinaryFile(win32::narrow((folder / L"*.EXE").wstring()))) << "a pattern is no file";
    EXPECT_FALSE(files.isOrdinaryFile(""));
    EXPECT_FALSE(files.isOrdinaryFile(win32::narrow(plain.wstring()) + "\0.txt"s));
    EXPECT_FALSE(files.isOrdinaryFile("C:\\bad|name<>\\MSINFO32.EXE"));

    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(SystemFolder, IsAFolderWithoutTrailingBackslash) {
    const std::string folder = win32::SystemFileQuery().systemFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    const DWORD attributes = ::GetFileAttributesW(win32::widen(folder).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
}  // namespace dv::test
