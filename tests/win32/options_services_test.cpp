#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "handles.h"
#include "options_services.h"
#include "support.h"
#include "text.h"

#include <knownfolders.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace dv::test {
namespace {

// --- settings store ------------------------------------------------------------

constexpr char kApp[] = "DayvaneTests Ärger";  // a name of our own, never Dayvane's
const std::wstring kSettingsKey = L"Software\\DayvaneTests \u00c4rger\\Settings";

class RegistrySettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\DayvaneTests \u00c4rger"); }
    void TearDown() override { SetUp(); }

    // Writes a value the way another program might have left it.
    void writeRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        const win32::UniqueKey owned(key);
        ASSERT_EQ(::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }

    win32::RegistrySettings settings;
};

TEST_F(RegistrySettingsTest, SavedStringsReadBackAsTheyWere) {
    const std::vector<std::string> values = {"TRUE", "FULL", "", "Grüße aus 東京", std::string(4096, 'x')};
    for (const std::string& value : values) {
        ASSERT_TRUE(settings.save(kApp, "Settings", "Startup", value)) << value;
        EXPECT_EQ(settings.read(kApp, "Settings", "Startup"), value);
    }
    ASSERT_TRUE(settings.save(kApp, "Settings", "Mode", "BASIC"));
    EXPECT_EQ(settings.read(kApp, "Settings", "Mode"), "BASIC");
    EXPECT_EQ(settings.read(kApp, "Settings", "Startup"), std::string(4096, 'x'));

    // As a string value under HKCU\Software\<application>\<section>.
    wchar_t data[16] = {};
    DWORD bytes = sizeof data;
    EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey.c_str(), L"Mode", RRF_RT_REG_SZ, nullptr, data, &bytes),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, L"BASIC");
}

TEST_F(RegistrySettingsTest, AbsentKeyOrValueReadsEmpty) {
    EXPECT_EQ(settings.read(kApp, "Settings", "Startup"), "");
    ASSERT_TRUE(settings.save(kApp, "Settings", "Mode", "FULL"));
    EXPECT_EQ(settings.read(kApp, "Settings", "Startup"), "");
    EXPECT_EQ(settings.read(kApp, "Other", "Mode"), "");
}

struct RawCase {
    const char* name;
    DWORD type;
    std::wstring data;  // as stored, without any NUL added
    DWORD extraBytes;   // an odd trailing byte, say
    std::string expected;
};

class SettingsLeftByOthers : public RegistrySettingsTest, public ::testing::WithParamInterface<RawCase> {};

TEST_P(SettingsLeftByOthers, ReadAsTextOnlyWhenTheyAreText) {
    const RawCase& c = GetParam();
    std::vector<BYTE> bytes(c.data.size() * sizeof(wchar_t) + c.extraBytes, 0x41);
    std::memcpy(bytes.data(), c.data.data(), c.data.size() * sizeof(wchar_t));
    writeRaw(L"Startup", c.type, bytes.data(), static_cast<DWORD>(bytes.size()));
    EXPECT_EQ(settings.read(kApp, "Settings", "Startup"), c.expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Values, SettingsLeftByOthers,
    ::testing::Values(RawCase{"Dword", REG_DWORD, L"\x0001"s + L'\0', 0, ""},
                      RawCase{"Binary", REG_BINARY, L"TRUE", 0, ""},
                      RawCase{"ExpandString", REG_EXPAND_SZ, L"TRUE"s + L'\0', 0, ""},
                      RawCase{"MultiString", REG_MULTI_SZ, L"TRUE\0\0"s, 0, ""},
                      RawCase{"WithoutNul", REG_SZ, L"TRUE", 0, "TRUE"},
                      RawCase{"WithNul", REG_SZ, L"TRUE"s + L'\0', 0, "TRUE"},
                      RawCase{"TextAfterNul", REG_SZ, L"TRUE\0junk\0"s, 0, "TRUE"},
                      RawCase{"OddByteCount", REG_SZ, L"TRUE", 1, "TRUE"},
                      RawCase{"Empty", REG_SZ, L"", 0, ""},
                      RawCase{"LongestKept", REG_SZ, std::wstring(4096, L'y'), 0, std::string(4096, 'y')},
                      RawCase{"TooLong", REG_SZ, std::wstring(40000, L'y') + L'\0', 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Run value -------------------------------------------------------------------

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::wstring> runValue(const std::wstring& name, DWORD* type = nullptr) {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data, t = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_ANY, &t, data, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    if (type) *type = t;
    return std::wstring(data);
}

class RunKeyTest : public ::testing::Test {
protected:
    void TearDown() override {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        ::RegDeleteValueW(key, kName.c_str());
        ::RegCloseKey(key);
    }
    const std::wstring kName = L"DayvaneTest \u00e9t\u00e9";
    const std::string kNameUtf8 = "DayvaneTest été";
    win32::RunKeyStartup startup;
};

TEST_F(RunKeyTest, WrittenAsAStringWithTheExactCommandLineAndRemoved) {
    const std::string basic = "\"C:\\Program Files\\Dåyvane Tëst\\Dayvane.exe\" -b";
    const std::string full = "\"C:\\Program Files\\Dåyvane Tëst\\Dayvane.exe\"";
    ASSERT_TRUE(startup.write(kNameUtf8, basic));
    DWORD type = 0;
    EXPECT_EQ(runValue(kName, &type), win32::widen(basic));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    ASSERT_TRUE(startup.write(kNameUtf8, full));
    EXPECT_EQ(runValue(kName), win32::widen(full));

    EXPECT_TRUE(startup.remove(kNameUtf8));
    EXPECT_EQ(runValue(kName), std::nullopt);
}

TEST_F(RunKeyTest, RemovingAValueThatIsNotThereSucceeds) {
    const Outcome removed = startup.remove(kNameUtf8);
    EXPECT_TRUE(removed) << removed.reason;
}

TEST_F(RunKeyTest, EmptyNameIsRefusedWithAReasonAndTouchesNothing) {
    const std::optional<std::wstring> defaultBefore = runValue(L"");
    for (const Outcome& o : {startup.write("", "\"C:\\x.exe\""), startup.remove("")}) {
        EXPECT_FALSE(o);
        EXPECT_FALSE(o.reason.empty());
    }
    EXPECT_EQ(runValue(L""), defaultBefore);
}

// --- desktop shortcut ---------------------------------------------------------------

std::wstring desktopFolder() {
    PWSTR raw = nullptr;
    EXPECT_TRUE(SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &raw)));
    std::wstring path = raw ? raw : L"";
    ::CoTaskMemFree(raw);
    return path;
}

struct LoadedLink {
    std::wstring target, arguments, workingFolder, icon;
    int iconIndex = -1;
};

std::optional<LoadedLink> loadLink(const std::wstring& file) {
    win32::ComPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.put()))))
        return std::nullopt;
    win32::ComPtr<IPersistFile> persist;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put()))) ||
        FAILED(persist->Load(file.c_str(), STGM_READ)))
        return std::nullopt;
    LoadedLink out;
    wchar_t text[MAX_PATH * 2] = {};
    link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
    out.target = text;
    text[0] = 0;
    link->GetArguments(text, MAX_PATH * 2);
    out.arguments = text;
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH * 2);
    out.workingFolder = text;
    text[0] = 0;
    link->GetIconLocation(text, MAX_PATH * 2, &out.iconIndex);
    out.icon = text;
    return out;
}

class DesktopShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A real program in a folder with spaces and letters beyond ASCII. (Wine
        // writes a link's path in the ANSI code page, so no letters beyond it.)
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::filesystem::path(temp) / L"D\u00e5yvane T\u00ebst";
        std::filesystem::create_directories(folder_);
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        for (const wchar_t* name : {L"Dayvane.exe", L"Renamed Cal.exe"})
            std::filesystem::copy_file(self, folder_ / name, std::filesystem::copy_options::overwrite_existing);
        link_ = desktopFolder() + L"\\Dayvane.lnk";
        ::DeleteFileW(link_.c_str());
    }
    void TearDown() override {
        ::DeleteFileW(link_.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ShortcutRequest requestFor(const wchar_t* exe) const {
        const std::string target = win32::narrow((folder_ / exe).wstring());
        return {"Dayvane", target, "", win32::narrow(folder_.wstring()), target};
    }

    std::filesystem::path folder_;
    std::wstring link_;
    win32::DesktopShortcutMaker maker;
};

TEST_F(DesktopShortcutTest, LandsInTheDesktopFolderAndLoadsBackWithItsTarget) {
    const DWORD desktop = ::GetFileAttributesW(desktopFolder().c_str());
    ASSERT_NE(desktop, INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(desktop & FILE_ATTRIBUTE_DIRECTORY);

    const ShortcutRequest request = requestFor(L"Dayvane.exe");
    const Outcome made = maker.createOnDesktop(request);
    ASSERT_TRUE(made) << made.reason;
    ASSERT_NE(::GetFileAttributesW(link_.c_str()), INVALID_FILE_ATTRIBUTES) << "no " << win32::narrow(link_);
    const auto link = loadLink(link_);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, win32::widen(request.target));
    EXPECT_EQ(link->arguments, L"");
    EXPECT_EQ(link->workingFolder, folder_.wstring());
    EXPECT_EQ(link->icon, win32::widen(request.icon));
    EXPECT_EQ(link->iconIndex, 0);
}

TEST_F(DesktopShortcutTest, ASecondShortcutReplacesTheFirst) {
    ASSERT_TRUE(maker.createOnDesktop(requestFor(L"Dayvane.exe")));
    const ShortcutRequest renamed = requestFor(L"Renamed Cal.exe");
    ASSERT_TRUE(maker.createOnDesktop(renamed));
    const auto link = loadLink(link_);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->target, win32::widen(renamed.target));
}

TEST_F(DesktopShortcutTest, FileThatCannotBeWrittenGivesTheReason) {
    // A folder of the shortcut's name stands in the way.
    ASSERT_TRUE(::CreateDirectoryW(link_.c_str(), nullptr));
    const Outcome made = maker.createOnDesktop(requestFor(L"Dayvane.exe"));
    ::RemoveDirectoryW(link_.c_str());
    EXPECT_FALSE(made);
    EXPECT_FALSE(made.reason.empty());
}

}  // namespace
}  // namespace dv::test
