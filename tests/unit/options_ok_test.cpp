#include <functional>
#include <map>
#include <string>
#include <vector>

#include "options_dialog_fixture.h"

namespace dv {
namespace {

constexpr char kFull[] = "\"C:\\Program Files\\Dayvane\\Dayvane.exe\"";
constexpr char kBasic[] = "\"C:\\Program Files\\Dayvane\\Dayvane.exe\" -b";
constexpr char kRegistered[] = "Dayvane will start automatically with Windows next time";
constexpr char kRemoved[] = "Removed from Startup Menu";
constexpr char kDenied[] = "Access is denied.";

using RunKey = std::map<std::string, std::string>;
using Act = std::function<void(OptionsDialog&)>;

const Act kNothing = [](OptionsDialog&) {};
const Act kTick = [](OptionsDialog& d) { d.chkstartup.userClicked(); };
const Act kTickTwice = [](OptionsDialog& d) {
    d.chkstartup.userClicked();
    d.chkstartup.userClicked();
};
const Act kLabel4 = [](OptionsDialog& d) { d.Label4.click(); };

struct OkCase {
    const char* name = "";
    // Before: the store and the Run key.
    std::optional<std::string> startup{}, mode{};
    RunKey runBefore{};
    Act act = kNothing;
    // Failures of the platform.
    std::optional<std::string> writeFailure{}, removeFailure{}, failingSave{};
    // After.
    std::optional<std::string> startupAfter{}, modeAfter{};
    RunKey runAfter{};
    std::vector<std::string> prompts{};
};

class OkButton : public OptionsDialogTest, public ::testing::WithParamInterface<OkCase> {};

TEST_P(OkButton, StoresWritesAndTellsWhatHappened) {
    const OkCase& c = GetParam();
    store(c.startup, c.mode);
    fakes.startup.run = c.runBefore;
    fakes.startup.writeFailure = c.writeFailure;
    fakes.startup.removeFailure = c.removeFailure;
    if (c.failingSave) fakes.settings.failingSaves[*c.failingSave] = "The disk is full.";
    dialog.Show();
    c.act(dialog);

    dialog.OKButton.click();

    EXPECT_EQ(fakes.settings.value("Startup"), c.startupAfter);
    EXPECT_EQ(fakes.settings.value("Mode"), c.modeAfter);
    EXPECT_EQ(fakes.startup.run, c.runAfter);
    EXPECT_EQ(fakes.messages.prompts, c.prompts);
    // Whatever happened, OK closes the dialog.
    EXPECT_FALSE(dialog.loaded());
    EXPECT_EQ(fakes.toolkit.alive(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OkButton,
    ::testing::Values(
        OkCase{.name = "FirstUseUncheckedRemovesNothingAndSaysSo",
               .act = kNothing,
               .startupAfter = "FALSE",
               .prompts = {kRemoved}},
        OkCase{.name = "TickRegistersTheFullMode",
               .act = kTick,
               .startupAfter = "TRUE",
               .modeAfter = "FULL",
               .runAfter = {{"Dayvane", kFull}},
               .prompts = {kRegistered}},
        OkCase{.name = "Label4TickRegistersTheFullMode",
               .act = kLabel4,
               .startupAfter = "TRUE",
               .modeAfter = "FULL",
               .runAfter = {{"Dayvane", kFull}},
               .prompts = {kRegistered}},
        OkCase{.name = "StoredBasicUntouchedWritesBasic",
               .startup = "TRUE",
               .mode = "BASIC",
               .runBefore = {{"Dayvane", kBasic}},
               .act = kNothing,
               .startupAfter = "TRUE",
               .modeAfter = "BASIC",
               .runAfter = {{"Dayvane", kBasic}},
               .prompts = {kRegistered}},
        OkCase{.name = "StoredBasicCheckedAnewBecomesFull",
               .startup = "TRUE",
               .mode = "BASIC",
               .runBefore = {{"Dayvane", kBasic}},
               .act = kTickTwice,
               .startupAfter = "TRUE",
               .modeAfter = "FULL",
               .runAfter = {{"Dayvane", kFull}},
               .prompts = {kRegistered}},
        OkCase{.name = "TrueWithoutModeWritesFull",
               .startup = "TRUE",
               .act = kNothing,
               .startupAfter = "TRUE",
               .modeAfter = "FULL",
               .runAfter = {{"Dayvane", kFull}},
               .prompts = {kRegistered}},
        OkCase{.name = "UntickRemovesAndKeepsMode",
               .startup = "TRUE",
               .mode = "FULL",
               .runBefore = {{"Dayvane", kFull}, {"Other", "other.exe"}},
               .act = kTick,
               .startupAfter = "FALSE",
               .modeAfter = "FULL",
               .runAfter = {{"Other", "other.exe"}},
               .prompts = {kRemoved}},
        OkCase{.name = "FalseLeavesAnOldModeAlone",
               .startup = "FALSE",
               .mode = "BASIC",
               .act = kNothing,
               .startupAfter = "FALSE",
               .modeAfter = "BASIC",
               .prompts = {kRemoved}},
        OkCase{.name = "WriteFailsStoresNothingAndSaysWhy",
               .act = kTick,
               .writeFailure = kDenied,
               .prompts = {"Dayvane could not be added to start up: Access is denied."}},
        OkCase{.name = "WriteFailsKeepsTheOldRegistration",
               .startup = "TRUE",
               .mode = "BASIC",
               .runBefore = {{"Dayvane", kBasic}},
               .act = kTickTwice,
               .writeFailure = kDenied,
               .startupAfter = "TRUE",
               .modeAfter = "BASIC",
               .runAfter = {{"Dayvane", kBasic}},
               .prompts = {"Dayvane could not be added to start up: Access is denied."}},
        OkCase{.name = "WriteFailsWithoutReason",
               .act = kTick,
               .writeFailure = "",
               .prompts = {"Dayvane could not be added to start up."}},
        OkCase{.name = "RemoveFailsStoresNothingAndSaysWhy",
               .startup = "TRUE",
               .mode = "FULL",
               .runBefore = {{"Dayvane", kFull}},
               .act = kTick,
               .removeFailure = kDenied,
               .startupAfter = "TRUE",
               .modeAfter = "FULL",
               .runAfter = {{"Dayvane", kFull}},
               .prompts = {"Dayvane could not be removed from start up: Access is denied."}},
        OkCase{.name = "SaveFailsAfterRegisteringIsToldToo",
               .act = kTick,
               .failingSave = "Startup",
               .runAfter = {{"Dayvane", kFull}},
               .prompts = {kRegistered, "Dayvane could not save its start-up setting: The disk is full."}},
        OkCase{.name = "ModeSaveFailsIsToldToo",
               .act = kTick,
               .failingSave = "Mode",
               .startupAfter = "TRUE",
               .runAfter = {{"Dayvane", kFull}},
               .prompts = {kRegistered, "Dayvane could not save its start-up setting: The disk is full."}},
        OkCase{.name = "SaveFailsAfterRemovingIsToldToo",
               .startup = "TRUE",
               .mode = "FULL",
               .runBefore = {{"Dayvane", kFull}},
               .act = kTick,
               .failingSave = "Startup",
               .startupAfter = "TRUE",
               .modeAfter = "FULL",
               .prompts = {kRemoved, "Dayvane could not save its start-up setting: The disk is full."}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RunDataCase {
    const char* name;
    const char* exePath;
    const char* valueName;
    const char* full;
    const char* basic;
};

class RunData : public OptionsDialogTest, public ::testing::WithParamInterface<RunDataCase> {};

// Composed from where the program runs at the moment of OK.
TEST_P(RunData, QuotedPathOfTheRunningExecutable) {
    const RunDataCase& c = GetParam();
    fakes.identity = identityFor(c.exePath);
    dialog.Show();
    dialog.chkstartup.userClicked();
    dialog.OKButton.click();
    EXPECT_EQ(fakes.startup.run, (RunKey{{c.valueName, c.full}}));

    fakes.settings.set("Mode", "BASIC");
    dialog.Show();
    dialog.OKButton.click();
    EXPECT_EQ(fakes.startup.run, (RunKey{{c.valueName, c.basic}}));

    dialog.Show();
    dialog.chkstartup.userClicked();
    dialog.OKButton.click();
    EXPECT_TRUE(fakes.startup.run.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Paths, RunData,
    ::testing::Values(
        RunDataCase{"FolderWithSpaces", "C:\\Program Files\\Dayvane\\Dayvane.exe", "Dayvane",
                    "\"C:\\Program Files\\Dayvane\\Dayvane.exe\"", "\"C:\\Program Files\\Dayvane\\Dayvane.exe\" -b"},
        RunDataCase{"NonAsciiFolder", "D:\\Kalender für Jürgen\\日历\\Dayvane.exe", "Dayvane",
                    "\"D:\\Kalender für Jürgen\\日历\\Dayvane.exe\"",
                    "\"D:\\Kalender für Jürgen\\日历\\Dayvane.exe\" -b"},
        RunDataCase{"RenamedExecutable", "C:\\Tools\\My Calendar.EXE", "My Calendar", "\"C:\\Tools\\My Calendar.EXE\"",
                    "\"C:\\Tools\\My Calendar.EXE\" -b"},
        RunDataCase{"DriveRoot", "C:\\Dayvane.exe", "Dayvane", "\"C:\\Dayvane.exe\"", "\"C:\\Dayvane.exe\" -b"}),
    [](const auto& info) { return std::string(info.param.name); });

// A renamed executable registers under its new name; the old value stays as it was.
TEST_F(OptionsDialogTest, RenamedExecutableLeavesTheOldValueAlone) {
    fakes.startup.run["Dayvane"] = kFull;
    store("TRUE", "FULL");
    fakes.identity = identityFor("C:\\Program Files\\Dayvane\\Cal.exe");
    dialog.Show();
    dialog.chkstartup.userClicked();
    dialog.OKButton.click();
    EXPECT_EQ(fakes.startup.calls, std::vector<std::string>{"remove Cal"});
    EXPECT_EQ(fakes.startup.run, (RunKey{{"Dayvane", kFull}}));
    EXPECT_EQ(fakes.settings.value("Startup"), "FALSE");
}

}  // namespace
}  // namespace dv
