#include <string>
#include <vector>

#include "options_dialog_fixture.h"

namespace dv {
namespace {

struct ShortcutCase {
    const char* name;
    const char* exePath;
    ShortcutRequest expected;
};

class ShortcutRequestFor : public OptionsDialogTest, public ::testing::WithParamInterface<ShortcutCase> {};

TEST_P(ShortcutRequestFor, StartsTheRunningExecutableInItsFolder) {
    fakes.identity = identityFor(GetParam().exePath);
    dialog.Show();
    dialog.Label2.click();
    ASSERT_EQ(fakes.shortcuts.requests.size(), 1u);
    EXPECT_EQ(fakes.shortcuts.requests[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ShortcutRequestFor,
    ::testing::Values(
        ShortcutCase{"Installed",
                     "C:\\Program Files\\Dayvane\\Dayvane.exe",
                     {"Dayvane", "C:\\Program Files\\Dayvane\\Dayvane.exe", "", "C:\\Program Files\\Dayvane",
                      "C:\\Program Files\\Dayvane\\Dayvane.exe"}},
        ShortcutCase{"RenamedNonAscii",
                     "D:\\Outils\\Agenda d'été\\Kalender.exe",
                     {"Dayvane", "D:\\Outils\\Agenda d'été\\Kalender.exe", "", "D:\\Outils\\Agenda d'été",
                      "D:\\Outils\\Agenda d'été\\Kalender.exe"}},
        ShortcutCase{"DriveRoot", "E:\\Dayvane.exe", {"Dayvane", "E:\\Dayvane.exe", "", "E:\\", "E:\\Dayvane.exe"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsDialogTest, ShortcutIsConfirmedAndTheDialogStaysAsItWas) {
    store("TRUE", "BASIC");
    dialog.Show();
    dialog.Label2.click();
    dialog.Label2.click();  // asked again, replaced again
    EXPECT_EQ(fakes.shortcuts.requests.size(), 2u);
    EXPECT_EQ(fakes.shortcuts.desktop.size(), 1u);
    EXPECT_EQ(fakes.messages.prompts, std::vector<std::string>(2, "A short cut in the desktop has been created."));
    EXPECT_TRUE(dialog.visible());
    EXPECT_EQ(dialog.chkstartup.Value(), 1);
    EXPECT_EQ(selectedMode(), "basic");
    EXPECT_TRUE(fakes.settings.saves.empty());
    EXPECT_TRUE(fakes.startup.calls.empty());

    dialog.Command1.click();
    EXPECT_EQ(fakes.shortcuts.desktop.size(), 1u) << "Cancel takes the shortcut away";
}

TEST_F(OptionsDialogTest, ShortcutFailureIsToldWithTheReason) {
    fakes.shortcuts.failure = "The system cannot find the path specified.";
    dialog.Show();
    dialog.Label2.click();
    EXPECT_EQ(fakes.messages.prompts, std::vector<std::string>{
                                          "Dayvane could not create the desktop shortcut: The system cannot find the "
                                          "path specified."});
    EXPECT_TRUE(dialog.visible());
}

}  // namespace
}  // namespace dv
