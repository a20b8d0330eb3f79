#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "../fakes/fake_about.h"
#include "about_box/about_box.h"
#include "about_services.h"
#include "support.h"
#include "text.h"

namespace dv::test {
namespace {

using namespace std::string_literals;

const std::wstring kTestKey = L"Software\\DayvaneTests \u00c4bout";
const std::string kTestKeyUtf8 = "Software\\DayvaneTests \xc3\x84" "bout";

// The About box over the real registry and file system; only the launches
// of other programs are recorded instead of made.
class RealRegistry : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey.c_str()); }
    void TearDown() override { SetUp(); }

    void write(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        const win32::UniqueKey owned(key);
        ASSERT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }
    void writeText(const wchar_t* name, const std::wstring& units, DWORD type = REG_SZ) {
        write(name, type, units.data(), static_cast<DWORD>(units.size() * sizeof(wchar_t)));
    }

    std::optional<std::string> read(const std::string& name) {
        std::string value = "stale";
        if (!box.GetKeyValue(RegistryRoot::CurrentUser, kTestKeyUtf8, name, value)) {
            EXPECT_EQ(value, "") << name;
            return std::nullopt;
        }
        return value;
    }

    AppIdentity identity;
    RecordingMessageBox messages;
    win32::ReadOnlyRegistry registry;
    win32::SystemFileQuery files;
    fakes::FakeShellOpen shell;
    fakes::FakeProcessStart processes;
    AboutBox box{{toolkit(), messages}, {shell, registry, files, processes}, identity};
};

std::wstring expanded(const wchar_t* text) {
    wchar_t out[1024] = {};
    ::ExpandEnvironmentStringsW(text, out, 1024);
    return out;
}

TEST_F(RealRegistry, ValuesOfEveryTypeReadBackThroughTheReader) {
    writeText(L"WithNul", L"C:\\Program Files\\Tool\\msinfo32.exe"s + L'\0');
    // Windows keeps it as written; Wine adds a NUL. Either way the text is whole.
    writeText(L"WithoutNul", L"C:\\Tools\\msinfo32.exe");
    writeText(L"TwoNuls", L"abc\0\0"s);
    writeText(L"NonAscii", L"C:\\Programme\\Syst\u00e8me \u65e5\u672c\\a.exe"s + L'\0');
    writeText(L"Fits", std::wstring(511, L'x') + L'\0');
    writeText(L"TooLong", std::wstring(512, L'x') + L'\0');
    write(L"Empty", REG_SZ, nullptr, 0);
    const DWORD number = 0x105;
    write(L"Number", REG_DWORD, &number, sizeof number);
    writeText(L"Expandable", L"%SystemRoot%\\system32\\msinfo32.exe"s + L'\0', REG_EXPAND_SZ);
    const BYTE binary[] = {1, 2, 3, 4};
    write(L"Binary", REG_BINARY, binary, sizeof binary);
    writeText(L"Multi", L"a\0b\0\0"s, REG_MULTI_SZ);

    EXPECT_EQ(read("WithNul"), "C:\\Program Files\\Tool\\msinfo32.exe");
    EXPECT_EQ(read("WithoutNul"), "C:\\Tools\\msinfo32.exe");
    EXPECT_EQ(read("TwoNuls"), "abc\0"s);
    EXPECT_EQ(read("NonAscii"), "C:\\Programme\\Syst\xc3\xa8me \xe6\x97\xa5\xe6\x9c\xac\\a.exe");
    EXPECT_EQ(read("Fits"), std::string(511, 'x'));
    EXPECT_EQ(read("TooLong"), std::nullopt);
    EXPECT_EQ(read("Empty"), std::nullopt);
    EXPECT_EQ(read("Number"), "&h000105");
    EXPECT_EQ(read("Expandable"), win32::narrow(expanded(L"%SystemRoot%\\system32\\msinfo32.exe")));
    EXPECT_EQ(read("Expandable")->find('%'), std::string::npos);
    // Other types count as found and leave the text as it was.
    EXPECT_EQ(read("Binary"), "stale");
    EXPECT_EQ(read("Multi"), "stale");
    EXPECT_EQ(read("Absent"), std::nullopt);
}

TEST_F(RealRegistry, AbsentKeyReadsAsAbsent) {
    std::string value = "stale";
    EXPECT_FALSE(box.GetKeyValue(RegistryRoot::CurrentUser, kTestKeyUtf8 + "\\Nowhere", "PATH", value));
    EXPECT_EQ(value, "");
}

TEST_F(RealRegistry, KeysAreOpenedWithoutAnyRightToWrite) {
    writeText(L"Value", L"x");
    RegistryKey key = 0;
    ASSERT_EQ(registry.openKey(RegistryRoot::CurrentUser, kTestKeyUtf8, key), ERROR_SUCCESS);
    const DWORD number = 1;
    EXPECT_EQ(::RegSetValueExW(reinterpret_cast<HKEY>(key), L"Written", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_ACCESS_DENIED);
    registry.closeKey(key);
    registry.closeKey(0);  // what a failed open leaves: ignored
}

TEST_F(RealRegistry, ReaderRefusesWhatItWasNotGiven) {
    RegistryKey key = 0;
    EXPECT_NE(registry.openKey(RegistryRoot::CurrentUser, "Software\0Elsewhere"s, key), ERROR_SUCCESS);
    EXPECT_EQ(key, 0u);
    RegistryValue value;
    EXPECT_EQ(registry.queryValue(0x1234, "PATH", 1024, value), ERROR_INVALID_HANDLE);
}

// Under Wine the machine key of the tool exists without values, and the
// tool sits in the system folder: the search ends there.
TEST_F(RealRegistry, SysInfoUnderThisSystemIsStartedOrReportedOnce) {
    box.StartSysInfo();
    EXPECT_EQ(processes.attempts.size() + messages.prompts.size(), 1u);
    if (!processes.attempts.empty()) {
        EXPECT_TRUE(files.isOrdinaryFile(processes.attempts[0]));
    }
}

}  // namespace
}  // namespace dv::test
