#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "about_box_fixture.h"
#include "about_box/key_value.h"

namespace dv {
namespace {

using fakes::textValue;
using namespace std::string_literals;

constexpr const char* kOldTool = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
constexpr const char* kOldFolder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";
constexpr const char* kSystemTool = "C:\\Windows\\system32\\msinfo32.exe";

struct SysInfoCase {
    std::string name;
    std::optional<RegistryValue> path{};      // the first location
    std::optional<RegistryValue> location{};  // the second
    std::set<std::string> files{};
    bool startFails = false;
    std::vector<std::string> starts{};  // every start asked for
    bool message = false;
    bool secondConsulted = true;
};

const std::vector<SysInfoCase> kCases = {
    {.name = "FirstLocationIsStartedAsRead",
     .path = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe\0"s),
     .location = std::nullopt,
     .starts = {kOldTool},
     .secondConsulted = false},
    {.name = "FirstLocationIsNotTestedForTheFile",
     .path = textValue(u"D:\\Gone\\msinfo32.exe"),
     .location = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo"),
     .files = {kSystemTool},
     .starts = {"D:\\Gone\\msinfo32.exe"},
     .secondConsulted = false},
    {.name = "FirstLocationThatFailsToStartShowsTheMessageOnly",
     .path = textValue(u"D:\\Gone\\msinfo32.exe"),
     .location = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo"),
     .files = {std::string(kOldFolder) + "\\MSINFO32.EXE", kSystemTool},
     .startFails = true,
     .starts = {"D:\\Gone\\msinfo32.exe"},
     .message = true,
     .secondConsulted = false},
    {.name = "FirstLocationExpandable",
     .path = textValue(u"%SystemRoot%\\system32\\msinfo32.exe\0"s, regtype::kExpandString),
     .location = std::nullopt,
     .starts = {kSystemTool},
     .secondConsulted = false},
    {.name = "FirstLocationOfAnotherTypeStartsNothingAndTellsSo",
     .path = RegistryValue{regtype::kBinary, {1, 2, 3}},
     .location = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo"),
     .files = {std::string(kOldFolder) + "\\MSINFO32.EXE"},
     .starts = {""},
     .message = true,
     .secondConsulted = false},
    {.name = "FirstLocationWithoutDataCountsAsAbsent",
     .path = RegistryValue{regtype::kString, {}},
     .location = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\0"s),
     .files = {std::string(kOldFolder) + "\\MSINFO32.EXE"},
     .starts = {std::string(kOldFolder) + "\\MSINFO32.EXE"}},
    {.name = "SecondLocationWithTheFile",
     .path = std::nullopt,
     .location = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\0"s),
     .files = {std::string(kOldFolder) + "\\MSINFO32.EXE", kSystemTool},
     .starts = {std::string(kOldFolder) + "\\MSINFO32.EXE"}},
    {.name = "SecondLocationWithoutTheFileFallsToTheSystemFolder",
     .path = std::nullopt,
     .location = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\0"s),
     .files = {kSystemTool},
     .starts = {kSystemTool}},
    {.name = "SecondLocationWithoutTheFileAndNoneInTheSystemFolder",
     .path = std::nullopt,
     .location = textValue(u"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\0"s),
     .files = {},
     .message = true},
    {.name = "OnlyTheSystemFolder", .path = std::nullopt, .location = std::nullopt, .files = {kSystemTool},
     .starts = {kSystemTool}},
    {.name = "SystemToolThatFailsToStart",
     .path = std::nullopt,
     .location = std::nullopt,
     .files = {kSystemTool},
     .startFails = true,
     .starts = {kSystemTool},
     .message = true},
    {.name = "Nothing", .path = std::nullopt, .location = std::nullopt, .message = true},
};

class StartSysInfo : public AboutBoxTest, public ::testing::WithParamInterface<SysInfoCase> {};

TEST_P(StartSysInfo, EndsInOneStartOrOneMessage) {
    const SysInfoCase& c = GetParam();
    if (c.path) setPath(*c.path);
    if (c.location) setLocation(*c.location);
    fakes.files.files = c.files;
    if (c.startFails) fakes.processes.failure = "The system cannot find the file specified.";
    box.Show();
    box.cmdSysInfo.click();

    EXPECT_EQ(fakes.processes.attempts, c.starts);
    if (c.message)
        EXPECT_EQ(fakes.messages.prompts, std::vector<std::string>{std::string(kSysInfoUnavailable)});
    else
        EXPECT_TRUE(fakes.messages.prompts.empty());
    EXPECT_EQ(fakes.registry.openCalls, c.secondConsulted ? 2 : 1);
    EXPECT_EQ(fakes.registry.leftOpen(), 0u);
    EXPECT_TRUE(box.visible()) << "the box stays open";
}

INSTANTIATE_TEST_SUITE_P(Paths, StartSysInfo, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

TEST_F(AboutBoxTest, StartSysInfoOpensBothKeysForReadingOnlyUnderTheMachineRoot) {
    // A key that refuses the reader counts as absent, not as the end of the search.
    fakes.registry.keys[{kMachine, std::string(sysinfo::kPathKey)}].openStatus = regstatus::kAccessDenied;
    setLocation(textValue(u"C:\\Tools"));
    fakes.files.files = {"C:\\Tools\\MSINFO32.EXE"};
    box.StartSysInfo();
    EXPECT_EQ(fakes.processes.attempts, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});
    EXPECT_EQ(fakes.registry.closed.size(), 2u);
}

TEST_F(AboutBoxTest, StartSysInfoWithoutAnySystemFolderTellsTheUser) {
    fakes.files.system.clear();
    fakes.files.files = {"\\msinfo32.exe"};
    box.StartSysInfo();
    EXPECT_TRUE(fakes.processes.attempts.empty());
    EXPECT_EQ(fakes.messages.prompts.size(), 1u);
}

TEST_F(AboutBoxTest, EachPressSearchesAfresh) {
    box.StartSysInfo();
    fakes.files.files = {kSystemTool};
    box.StartSysInfo();
    EXPECT_EQ(fakes.messages.prompts.size(), 1u);
    EXPECT_EQ(fakes.processes.attempts, std::vector<std::string>{kSystemTool});
}

// A failure on the way, here a file query that throws, ends in the message
// like every other, not in the runtime's report of a failed handler.
class ThrowingFileQuery final : public FileQuery {
public:
    bool isOrdinaryFile(std::string_view) const override { throw std::runtime_error("bad path"); }
    std::string systemFolder() const override { return "C:\\Windows\\system32"; }
};

TEST(AboutBoxFailure, RuntimeFailureOnTheWayEndsInTheMessage) {
    fakes::FakePlatform fakes;
    ThrowingFileQuery files;
    AboutBox box(fakes.env(), {fakes.shell, fakes.registry, files, fakes.processes}, fakes.identity);
    box.Show();
    box.cmdSysInfo.click();
    EXPECT_EQ(fakes.messages.prompts, std::vector<std::string>{std::string(kSysInfoUnavailable)});
    EXPECT_TRUE(fakes.processes.attempts.empty());
    EXPECT_TRUE(box.visible());
}

}  // namespace
}  // namespace dv
