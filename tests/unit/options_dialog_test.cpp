#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "options_dialog/options_dialog.h"

namespace dv {
namespace {

using RunKey = std::map<std::string, std::string>;
using Act = void (*)(OptionsDialog&);

constexpr char kFull[] = "\"C:\\Program Files\\Dayvane\\Dayvane.exe\"";
constexpr char kBasic[] = "\"C:\\Program Files\\Dayvane\\Dayvane.exe\" -b";
constexpr char kRegistered[] = "Dayvane will start automatically with Windows next time";
constexpr char kRemoved[] = "Removed from Startup Menu";
constexpr char kNotAdded[] = "Dayvane could not be added to start up: Access is denied.";
constexpr char kNotSaved[] = "Dayvane could not save its start-up setting: The disk is full.";

const Act kNothing = [](OptionsDialog&) {};
const Act kTick = [](OptionsDialog& d) { d.chkstartup.userClicked(); };
const Act kLabel4 = [](OptionsDialog& d) { d.Label4.click(); };
const Act kGray = [](OptionsDialog& d) { d.chkstartup.setValue(kGrayed); };
const Act kTickTwice = [](OptionsDialog& d) { kTick(d); kTick(d); };
const Act kGrayThenLabel4 = [](OptionsDialog& d) { kGray(d); kLabel4(d); };

// The options dialog against the fakes. Settings are written "Startup/Mode", "-" for an absent value.
struct DialogOnFakes {
    fakes::FakePlatform fakes;
    OptionsDialog dialog{fakes.env(), fakes.options, fakes.identity};

    void store(const std::string& settings) {
        const std::size_t slash = settings.find('/');
        if (settings.substr(0, slash) != "-") fakes.settings.set("Startup", settings.substr(0, slash));
        if (settings.substr(slash + 1) != "-") fakes.settings.set("Mode", settings.substr(slash + 1));
    }
    std::string stored() const {
        return fakes.settings.value("Startup").value_or("-") + "/" + fakes.settings.value("Mode").value_or("-");
    }
    fakes::FakeControlPeer& shown(const Control& c) const { return *fakes.toolkit.peer(c); }
    // The box as shown, the selected mode, and whether the modes are enabled (together, on screen too).
    std::string state() const {
        const OptionButton& basic = dialog.optbasic;
        const OptionButton& full = dialog.optfull;
        std::string mode = basic.Value() ? (full.Value() ? "both" : "basic") : (full.Value() ? "full" : "none");
        const bool basicOn = basic.Enabled() && shown(basic).enabled;
        const bool fullOn = full.Enabled() && shown(full).enabled;
        const char* enabled = basicOn != fullOn ? "mixed" : (fullOn ? "on" : "off");
        return std::to_string(shown(dialog.chkstartup).checked) + " " + mode + " " + enabled;
    }
};

// Loaded from the settings, changed by the user, then OK (or Cancel): what is stored, registered and told.
// Every check selects the full mode; unchecking keeps the selection; "2." toggles as the box does.
TEST(OptionsDialog, StateTableFromLoadToOk) {
    // runBefore and runAfter: Dayvane's Run value, "" for none; failing: "write", "write without reason",
    // "remove", "save Startup" or "save Mode"; state: after the act, the box, the mode and the modes enabled.
    struct Case {
        const char *name, *stored, *runBefore;
        Act act;
        const char *failing, *state, *storedAfter, *runAfter;
        std::vector<std::string> prompts;
        CommandButton OptionsDialog::*press = &OptionsDialog::OKButton;
    };
    const Case cases[] = {
        {"NothingStoredRemovesNothingAndSaysSo", "-/-", "", kNothing, "", "0 none off", "FALSE/-", "", {kRemoved}},
        {"OnlyUpperCaseTrueCounts", "true/FULL", kFull, kNothing, "", "0 none off", "FALSE/FULL", "", {kRemoved}},
        {"StoredBasicWritesBasic", "TRUE/BASIC", kBasic, kNothing, "", "1 basic on", "TRUE/BASIC", kBasic,
         {kRegistered}},
        {"StoredFullWritesFull", "TRUE/FULL", "", kNothing, "", "1 full on", "TRUE/FULL", kFull, {kRegistered}},
        {"ModeInOtherCaseMeansFull", "TRUE/Basic", "", kNothing, "", "1 full on", "TRUE/FULL", kFull, {kRegistered}},
        {"NoModeMeansFull", "TRUE/-", "", kNothing, "", "1 full on", "TRUE/FULL", kFull, {kRegistered}},
        {"TickRegistersFull", "-/-", "", kTick, "", "1 full on", "TRUE/FULL", kFull, {kRegistered}},
        {"Label4TicksToo", "-/-", "", kLabel4, "", "1 full on", "TRUE/FULL", kFull, {kRegistered}},
        {"UntickKeepsTheModeAndRemoves", "TRUE/FULL", kFull, kTick, "", "0 full off", "FALSE/FULL", "", {kRemoved}},
        {"BasicTickedAnewBecomesFull", "TRUE/BASIC", kBasic, kTickTwice, "", "1 full on", "TRUE/FULL", kFull,
         {kRegistered}},
        {"GrayedEnablesTheModesButRegistersNothing", "-/-", "", kGray, "", "2 full on", "FALSE/-", "", {kRemoved}},
        {"Label4ClearsAGrayedBox", "-/-", "", kGrayThenLabel4, "", "0 full off", "FALSE/-", "", {kRemoved}},
        {"WriteFailsKeepsTheOldRegistration", "TRUE/BASIC", kBasic, kTickTwice, "write", "1 full on", "TRUE/BASIC",
         kBasic, {kNotAdded}},
        {"WriteFailsWithoutReason", "-/-", "", kTick, "write without reason", "1 full on", "-/-", "",
         {"Dayvane could not be added to start up."}},
        {"RemoveFailsStoresNothingAndSaysWhy", "TRUE/FULL", kFull, kTick, "remove", "0 full off", "TRUE/FULL", kFull,
         {"Dayvane could not be removed from start up: Access is denied."}},
        {"SaveFailsAfterRegistering", "-/-", "", kTick, "save Startup", "1 full on", "-/-", kFull,
         {kRegistered, kNotSaved}},
        {"ModeSaveFails", "-/-", "", kTick, "save Mode", "1 full on", "TRUE/-", kFull, {kRegistered, kNotSaved}},
        {"SaveFailsAfterRemoving", "TRUE/FULL", kFull, kTick, "save Startup", "0 full off", "TRUE/FULL", "",
         {kRemoved, kNotSaved}},
        {"CancelStoresNothing", "TRUE/BASIC", kBasic, kTick, "", "0 basic off", "TRUE/BASIC", kBasic, {},
         &OptionsDialog::Command1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogOnFakes t;
        t.store(c.stored);
        t.fakes.startup.run = {{"Other", "other.exe"}};  // another program's value stays untouched
        if (*c.runBefore) t.fakes.startup.run["Dayvane"] = c.runBefore;
        const std::string failing = c.failing;
        if (failing.starts_with("write")) t.fakes.startup.writeFailure = failing == "write" ? "Access is denied." : "";
        if (failing == "remove") t.fakes.startup.removeFailure = "Access is denied.";
        if (failing.starts_with("save ")) t.fakes.settings.failingSaves[failing.substr(5)] = "The disk is full.";
        t.dialog.Show();
        for (const Control* k : t.dialog.controls())  // the start modes are kept out of sight
            EXPECT_EQ(t.shown(*k).visible, k != &t.dialog.optfull && k != &t.dialog.optbasic) << k->name();
        c.act(t.dialog);
        EXPECT_EQ(t.state(), c.state);
        EXPECT_EQ(t.stored(), c.stored) << "nothing saved before OK";
        EXPECT_TRUE(t.fakes.messages.prompts.empty());

        (t.dialog.*c.press).click();
        EXPECT_EQ(t.stored(), c.storedAfter);
        RunKey runAfter{{"Other", "other.exe"}};
        if (*c.runAfter) runAfter["Dayvane"] = c.runAfter;
        EXPECT_EQ(t.fakes.startup.run, runAfter);
        EXPECT_EQ(t.fakes.messages.prompts, c.prompts);
        EXPECT_FALSE(t.dialog.loaded());
    }
}

// Where the program runs at the moment of OK or of the click names the Run value and the shortcut.
TEST(OptionsDialog, RunValueAndShortcutNameTheRunningExecutable) {
    const struct { const char* exePath; const char* valueName; const char* workingFolder; } cases[] = {
        {"C:\\Program Files\\Dayvane\\Dayvane.exe", "Dayvane", "C:\\Program Files\\Dayvane"},
        {"C:\\Tools\\My Calendar.EXE", "My Calendar", "C:\\Tools"},
        {"C:\\Tools\\.exe", ".exe", "C:\\Tools"},
        {"E:\\Dayvane.exe", "Dayvane", "E:\\"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exePath);
        DialogOnFakes t;
        t.store("TRUE/BASIC");
        t.fakes.startup.run["Dayvane"] = kBasic;
        t.dialog.Show();
        t.fakes.identity = identityFor(c.exePath);
        t.dialog.Label2.click();
        t.dialog.OKButton.click();
        EXPECT_EQ(t.fakes.startup.run.at(c.valueName), "\"" + std::string(c.exePath) + "\" -b");
        EXPECT_EQ(t.fakes.shortcuts.requests,
                  (std::vector{ShortcutRequest{"Dayvane", c.exePath, "", c.workingFolder, c.exePath}}));
        t.dialog.Show();
        t.dialog.chkstartup.userClicked();
        t.dialog.OKButton.click();
        // Removed by its own name: the installed copy's value stays.
        const RunKey left = std::string(c.valueName) == "Dayvane" ? RunKey{} : RunKey{{"Dayvane", kBasic}};
        EXPECT_EQ(t.fakes.startup.run, left);
    }
}

TEST(OptionsDialog, ShortcutIsConfirmedOrItsFailureToldAndTheDialogStaysAsItWas) {
    DialogOnFakes t;
    t.store("TRUE/BASIC");
    t.fakes.startup.run["Dayvane"] = "old";
    t.dialog.Show();
    t.dialog.Label2.click();
    t.fakes.shortcuts.failure = "The system cannot find the path specified.";
    t.dialog.Label2.click();
    EXPECT_EQ(t.fakes.shortcuts.requests.size(), 2u);
    EXPECT_EQ(t.fakes.messages.prompts, (std::vector<std::string>{"A short cut in the desktop has been created.",
        "Dayvane could not create the desktop shortcut: The system cannot find the path specified."}));
    EXPECT_TRUE(t.state() == "1 basic on" && t.dialog.visible());
    EXPECT_TRUE(t.stored() == "TRUE/BASIC" && (t.fakes.startup.run == RunKey{{"Dayvane", "old"}}));
}

}  // namespace
}  // namespace dv
