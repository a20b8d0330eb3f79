#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <tuple>

#include "about_box/about_box.h"
#include "about_box/key_value.h"
#include "about_box/maker.h"
#include "fakes/fake_services.h"

namespace dv {
namespace {

using fakes::dwordValue;
using fakes::textValue;
using namespace std::string_literals;

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr char kSystemTool[] = "C:\\Windows\\system32\\msinfo32.exe";

struct BoxOnFakes {
    fakes::FakePlatform fakes;
    AboutBox box{fakes.env(), fakes.about, fakes.identity};
    void set(std::string_view key, std::string_view name, const RegistryValue& value) {
        fakes.registry.keys[{kMachine, std::string(key)}].values[std::string(name)] = value;
    }
};

class AboutBoxTest : public ::testing::Test, public BoxOnFakes {};

TEST_F(AboutBoxTest, OkUnloadsAndEveryLoadNamesTheApplicationInTheCaption) {
    box.Show();
    box.cmdOK.click();
    EXPECT_EQ(std::tuple(box.loaded(), fakes.toolkit.alive()), std::tuple(false, 0));
    fakes.identity.title = "Dayvane Beta";
    box.Show();
    EXPECT_EQ(fakes.toolkit.form(box)->caption, "About Dayvane Beta");
}

TEST_F(AboutBoxTest, LinksGoToTheShellWithTheirTargetsAndShowCommandsAndLeaveTheBoxOpen) {
    box.Show();
    box.Command1.click();
    box.Label4.click();
    const auto call = [&](std::size_t i) {
        const auto& c = fakes.shell.calls.at(i);
        return std::tuple(c.owner, c.target, c.show);
    };
    EXPECT_EQ(call(0), std::tuple(box.hWnd(), "mailto:" + std::string(maker::contactEmail()), ShowCommand::Maximized));
    EXPECT_EQ(call(1), std::tuple(box.hWnd(), std::string(maker::webSite()), ShowCommand::Normal));
    EXPECT_TRUE(box.visible() && fakes.messages.prompts.empty());
    EXPECT_EQ(std::count(fakes.shell.calls[0].target.begin(), fakes.shell.calls[0].target.end(), '@'), 1);
    EXPECT_TRUE(fakes.shell.calls[1].target.starts_with("http"));
}

struct ThrowingShell final : ShellOpen {
    void open(std::uintptr_t, std::string_view, ShowCommand) override { throw std::runtime_error("no shell"); }
};

struct ThrowingFileQuery final : FileQuery {
    bool isOrdinaryFile(std::string_view) const override { throw std::runtime_error("bad path"); }
    std::string systemFolder() const override { return "C:\\Windows\\system32"; }
};

// The mail link ends quietly (the shell tells the user itself); the web link is reported by the runtime; a
// failure on the way to System Info ends in its own message, not in the runtime's report.
TEST(AboutBoxFailures, MailEndsQuietlyWebIsReportedAndSystemInfoTellsItsMessage) {
    fakes::FakePlatform fakes;
    ThrowingShell shell;
    ThrowingFileQuery files;
    AboutBox box(fakes.env(), {shell, fakes.registry, files, fakes.processes}, fakes.identity);
    box.Show();
    box.Command1.click();
    EXPECT_TRUE(fakes.messages.prompts.empty());
    box.Label4.click();
    box.cmdSysInfo.click();
    ASSERT_EQ(fakes.messages.prompts.size(), 2u);
    EXPECT_NE(fakes.messages.prompts[0].find("frmAbout.Label4_Click"), std::string::npos);
    EXPECT_EQ(fakes.messages.prompts[1], kSysInfoUnavailable);
    EXPECT_TRUE(fakes.processes.attempts.empty() && box.visible());
}

TEST(GetKeyValue, ReadsTrimsAndConvertsAndClosesTheKey) {
    constexpr char kKey[] = "SOFTWARE\\Dayvane Tests";
    const auto bytes = [](unsigned long type, std::size_t count) {
        return RegistryValue{type, std::vector<std::uint8_t>(count, 'x')};
    };
    const struct {
        const char* name;
        std::optional<RegistryValue> stored;  // none: the value is absent
        const char* before;                   // what the caller passes in
        std::optional<std::string> text;      // none: not found, and the text is emptied
        long openStatus = regstatus::kSuccess;
        bool expandFails = false;
    } cases[] = {
        {"TextWithItsNul", textValue(u"C:\\msinfo32.exe\0"s), "", "C:\\msinfo32.exe"},
        {"TextWithoutNul", textValue(u"C:\\msinfo32.exe"), "", "C:\\msinfo32.exe"},
        {"TextWithTwoNulsKeepsOne", textValue(u"abc\0\0"s), "", "abc\0"s},
        {"NonAsciiLetters", textValue(u"\u00e8\u65e5\0"s), "", "\xc3\xa8\xe6\x97\xa5"},
        {"EmptyTextWithItsNul", textValue(u"\0"s), "stale", ""},
        {"Exactly1024Bytes", textValue(std::u16string(512, u'x')), "", std::string(512, 'x')},
        {"Of1025BytesIsTooLong", bytes(regtype::kString, 1025), "stale", std::nullopt},
        {"WithoutDataIsAbsent", RegistryValue{regtype::kString, {}}, "stale", std::nullopt},
        {"OneByteIsNoCharacter", bytes(regtype::kString, 1), "", std::nullopt},
        {"DwordWithAllFourBytes", dwordValue(0x12345678), "", "&h12345678"},
        {"DwordWithoutItsZeroTopByteInUpperCase", dwordValue(0xABCDEF), "", "&hABCDEF"},
        {"ExpandableTextIsExpanded", textValue(u"%SystemRoot%\\a.exe\0"s, regtype::kExpandString), "",
         "C:\\Windows\\a.exe"},
        {"PlainTextIsNotExpanded", textValue(u"%SystemRoot%\\a.exe"), "", "%SystemRoot%\\a.exe"},
        {"ExpandableTextThatCannotBeExpandedIsAbsent", textValue(u"%SystemRoot%\\a.exe"s, regtype::kExpandString),
         "stale", std::nullopt, regstatus::kSuccess, true},
        {"OtherTypeLeavesTheTextAsItWas", bytes(regtype::kBinary, 8), "as it was", "as it was"},
        {"AbsentValue", std::nullopt, "stale", std::nullopt},
        {"OpenRefused", textValue(u"C:\\x.exe"), "stale", std::nullopt, regstatus::kAccessDenied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BoxOnFakes t;
        auto& key = t.fakes.registry.keys[{kMachine, kKey}];
        key.openStatus = c.openStatus;
        if (c.stored) key.values["Value"] = *c.stored;
        t.fakes.registry.expandFails = c.expandFails;
        std::string value = c.before;
        EXPECT_EQ(t.box.GetKeyValue(kMachine, kKey, "Value", value), c.text.has_value());
        EXPECT_EQ(value, c.text.value_or(""));
        EXPECT_FALSE(t.box.GetKeyValue(RegistryRoot::CurrentUser, kKey, "Value", value)) << "only its own root";
        // Read through a buffer of 1024 bytes, and closed on every way out.
        for (std::size_t capacity : t.fakes.registry.capacities) EXPECT_EQ(capacity, kKeyValueBytes);
        EXPECT_EQ(std::tuple(t.fakes.registry.closeCalls, t.fakes.registry.leftOpen()), std::tuple(2, 0u));
    }
}

TEST(Utf8FromUtf16, PairsJoinAndALoneSurrogateBecomesTheReplacementCharacter) {
    const struct { const char* name; std::u16string_view units; std::string utf8; } cases[] = {
        {"OneAndTwoByteEdges", u"\u007f\u0080\u07ff", "\x7f\xc2\x80\xdf\xbf"},
        {"ThreeByteEdges", u"\u0800\uffff", "\xe0\xa0\x80\xef\xbf\xbf"},
        {"FirstAndLastPair", u"\U00010000\U0010FFFF", "\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"},
        {"PairsAfterText", u"a\U0001F600\uff01\U0001F600", "a\xf0\x9f\x98\x80\xef\xbc\x81\xf0\x9f\x98\x80"},
        {"LoneHighBeforeText", u"\xD800!", "\xef\xbf\xbd!"},
        {"LoneLowsAfterText", u"a\xDC00\xDFFF", "a\xef\xbf\xbd\xef\xbf\xbd"},
        {"HighAtTheEndOfTheView", std::u16string_view(u"\xD83D\xDE00", 1), "\xef\xbf\xbd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8FromUtf16(c.units), c.utf8);
    }
}

// The first location names the tool and is taken as it is; the second names its folder, which must hold it;
// the system folder comes last. Every way ends in one start or one message, and the box stays open.
TEST(StartSysInfo, EndsInOneStartOrOneMessage) {
    const std::string oldTool = "C:\\Shared\\MSInfo\\MSINFO32.EXE";
    const std::string gonePath = "D:\\Gone\\msinfo32.exe";
    const RegistryValue oldFolder = textValue(u"C:\\Shared\\MSInfo\0"s);
    const RegistryValue gone = textValue(u"D:\\Gone\\msinfo32.exe");
    const std::optional<RegistryValue> none;
    const struct {
        const char* name;
        std::optional<RegistryValue> path, location;  // the first location, the second
        std::set<std::string> files;
        bool startFails;
        std::vector<std::string> starts;  // every start asked for
        bool message;
        int keysRead;
        long firstKeyStatus = regstatus::kSuccess;
        const char* systemFolder = "C:\\Windows\\system32";
    } cases[] = {
        {"FirstIsNotTestedForTheFile", gone, oldFolder, {kSystemTool}, false, {gonePath}, false, 1},
        {"FirstFailsToStart", gone, oldFolder, {oldTool, kSystemTool}, true, {gonePath}, true, 1},
        {"FirstExpandable", textValue(u"%SystemRoot%\\system32\\msinfo32.exe"s, regtype::kExpandString), none, {},
         false, {kSystemTool}, false, 1},
        {"FirstOfAnotherTypeStartsNothing", RegistryValue{regtype::kBinary, {1, 2}}, oldFolder, {oldTool}, false,
         {""}, true, 1},
        {"FirstWithoutData", RegistryValue{regtype::kString, {}}, oldFolder, {oldTool}, false, {oldTool}, false, 2},
        {"FirstKeyRefusesTheReader", gone, oldFolder, {oldTool}, false, {oldTool}, false, 2, regstatus::kAccessDenied},
        {"SecondWithTheFile", none, oldFolder, {oldTool, kSystemTool}, false, {oldTool}, false, 2},
        {"SecondWithoutTheFile", none, oldFolder, {kSystemTool}, false, {kSystemTool}, false, 2},
        {"SecondWithoutTheFileAndNoSystemTool", none, oldFolder, {}, false, {}, true, 2},
        {"OnlyTheSystemFolder", none, none, {kSystemTool}, false, {kSystemTool}, false, 2},
        {"NoSystemFolderMeansNoTool", none, none, {"\\msinfo32.exe"}, false, {}, true, 2, regstatus::kSuccess, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BoxOnFakes t;
        if (c.path) t.set(sysinfo::kPathKey, sysinfo::kPathValue, *c.path);
        t.fakes.registry.keys[{kMachine, std::string(sysinfo::kPathKey)}].openStatus = c.firstKeyStatus;
        if (c.location) t.set(sysinfo::kLocationKey, sysinfo::kLocationValue, *c.location);
        t.fakes.files.files = c.files;
        t.fakes.files.system = c.systemFolder;
        if (c.startFails) t.fakes.processes.failure = "The system cannot find the file specified.";
        t.box.Show();
        t.box.cmdSysInfo.click();
        EXPECT_EQ(t.fakes.processes.attempts, c.starts);
        EXPECT_EQ(t.fakes.messages.prompts, std::vector<std::string>(c.message, std::string(kSysInfoUnavailable)));
        EXPECT_EQ(std::tuple(t.fakes.registry.openCalls, t.fakes.registry.leftOpen()), std::tuple(c.keysRead, 0u));
        EXPECT_TRUE(t.box.visible());
    }
}

}  // namespace
}  // namespace dv
