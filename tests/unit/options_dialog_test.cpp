#include <gtest/gtest.h>

#include <algorithm>

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
constexpr char kNotSaved[] = "Dayvane could not save its start-up setting: The disk is full.";

const Act kNothing = [](OptionsDialog&) {};
const Act kTick = [](OptionsDialog& d) { d.chkstartup.userClicked(); };
const Act kLabel4 = [](OptionsDialog& d) { d.Label4.click(); };
const Act kTickTwice = [](OptionsDialog& d) {
    d.chkstartup.userClicked();
    d.chkstartup.userClicked();
};

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
    // "none", "basic" or "full", as the hidden option buttons hold it.
    std::string selectedMode() const {
        if (dialog.optbasic.Value() && dialog.optfull.Value()) return "both";
        if (dialog.optbasic.Value()) return "basic";
        return dialog.optfull.Value() ? "full" : "none";
    }
    // The modes are enabled together or not at all, on screen too.
    std::optional<bool> modesEnabled() const {
        const bool basic = dialog.optbasic.Enabled() && shown(dialog.optbasic).enabled;
        const bool full = dialog.optfull.Enabled() && shown(dialog.optfull).enabled;
        return basic == full ? std::optional(full) : std::nullopt;
    }
};

class OptionsDialogTest : public ::testing::Test, public DialogOnFakes {};

TEST_F(OptionsDialogTest, OnlyTheStartModesAreHiddenAndNoButtonTakesEnterOrEsc) {
    dialog.Show();
    for (const Control* c : dialog.controls())
        EXPECT_EQ(shown(*c).visible, c != &dialog.optfull && c != &dialog.optbasic) << c->name();
    for (const CommandButton* b : {&dialog.OKButton, &dialog.Command1})
        EXPECT_FALSE(b->role().isDefault || b->role().isCancel) << b->name();
}

TEST(OptionsDialogLoad, SettingsGiveTheDialogItsState) {
    const struct { const char* stored; int box; const char* selected; } cases[] = {
        {"-/-", 0, "none"},         {"FALSE/BASIC", 0, "none"}, {"true/FULL", 0, "none"},  {"TRUE /FULL", 0, "none"},
        {"/BASIC", 0, "none"},      {"TRUE/BASIC", 1, "basic"}, {"TRUE/FULL", 1, "full"},  {"TRUE/Basic", 1, "full"},
        {"TRUE/fast", 1, "full"},   {"TRUE/", 1, "full"},       {"TRUE/-", 1, "full"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        DialogOnFakes t;
        t.store(c.stored);
        t.dialog.Show();
        EXPECT_EQ(t.dialog.chkstartup.Value(), c.box);
        EXPECT_EQ(t.shown(t.dialog.chkstartup).checked, c.box);
        EXPECT_EQ(t.modesEnabled(), c.box == 1);
        EXPECT_EQ(t.selectedMode(), c.selected);
        const auto& reads = t.fakes.settings.reads;
        EXPECT_EQ(std::count(reads.begin(), reads.end(), "Mode") > 0, c.box == 1) << "Mode is read only after TRUE";
        EXPECT_TRUE(t.fakes.settings.saves.empty());
        EXPECT_TRUE(t.fakes.messages.prompts.empty());
    }
}

// The box and the label "2." toggle alike; every check selects the full mode, unchecking keeps the selection.
TEST(OptionsDialogToggle, BoxOrLabel4EnablesTheModesAndCheckingSelectsFull) {
    for (const Act toggle : {kTick, kLabel4}) {
        for (const char* stored : {"TRUE/BASIC", "-/-"}) {
            SCOPED_TRACE(stored);
            DialogOnFakes t;
            t.store(stored);
            t.dialog.Show();
            const std::string before = t.selectedMode();
            toggle(t.dialog);
            EXPECT_EQ(t.shown(t.dialog.chkstartup).checked, before == "none" ? 1 : 0);
            if (before != "none") {
                EXPECT_EQ(t.modesEnabled(), false);
                EXPECT_EQ(t.selectedMode(), before);
                toggle(t.dialog);
            }
            EXPECT_EQ(t.dialog.chkstartup.Value(), 1);
            EXPECT_EQ(t.modesEnabled(), true);
            EXPECT_EQ(t.selectedMode(), "full");
            EXPECT_TRUE(t.fakes.settings.saves.empty());
        }
    }
}

TEST_F(OptionsDialogTest, GrayedBoxCountsAsOnAndLabel4ClearsIt) {
    dialog.Show();
    dialog.chkstartup.setValue(kGrayed);
    EXPECT_EQ(modesEnabled(), true);
    EXPECT_EQ(selectedMode(), "full");
    dialog.Label4.click();
    EXPECT_EQ(dialog.chkstartup.Value(), 0);
    EXPECT_EQ(modesEnabled(), false);
}

TEST_F(OptionsDialogTest, CancelStoresNothingAndTheNextOpeningShowsTheStoredState) {
    store("TRUE/BASIC");
    fakes.startup.run["Dayvane"] = kBasic;
    dialog.Show();
    dialog.chkstartup.userClicked();
    dialog.Command1.click();
    EXPECT_FALSE(dialog.loaded());
    EXPECT_TRUE(fakes.settings.saves.empty());
    EXPECT_TRUE(fakes.startup.calls.empty());
    EXPECT_TRUE(fakes.messages.prompts.empty());
    dialog.Show();
    EXPECT_EQ(dialog.chkstartup.Value(), 1);
    EXPECT_EQ(selectedMode(), "basic");
}

TEST(OptionsDialogOk, StoresWritesAndTellsWhatHappened) {
    const struct {
        const char* name;
        const char* stored;
        const char* runBefore;  // Dayvane's Run value; "" for none
        Act act;
        const char* failing;  // "write", "write without reason", "remove", "save Startup", "save Mode"
        const char* storedAfter;
        const char* runAfter;
        std::vector<std::string> prompts;
    } cases[] = {
        {"FirstUseUncheckedRemovesNothingAndSaysSo", "-/-", "", kNothing, "", "FALSE/-", "", {kRemoved}},
        {"TickRegistersTheFullMode", "-/-", "", kTick, "", "TRUE/FULL", kFull, {kRegistered}},
        {"StoredBasicUntouchedWritesBasic", "TRUE/BASIC", kBasic, kNothing, "", "TRUE/BASIC", kBasic, {kRegistered}},
        {"StoredBasicCheckedAnewBecomesFull", "TRUE/BASIC", kBasic, kTickTwice, "", "TRUE/FULL", kFull, {kRegistered}},
        {"TrueWithoutModeWritesFull", "TRUE/-", "", kNothing, "", "TRUE/FULL", kFull, {kRegistered}},
        {"UntickRemovesAndKeepsMode", "TRUE/FULL", kFull, kTick, "", "FALSE/FULL", "", {kRemoved}},
        {"FalseLeavesAnOldModeAlone", "FALSE/BASIC", "", kNothing, "", "FALSE/BASIC", "", {kRemoved}},
        {"WriteFailsStoresNothingAndSaysWhy", "-/-", "", kTick, "write", "-/-", "",
         {"Dayvane could not be added to start up: Access is denied."}},
        {"WriteFailsKeepsTheOldRegistration", "TRUE/BASIC", kBasic, kTickTwice, "write", "TRUE/BASIC", kBasic,
         {"Dayvane could not be added to start up: Access is denied."}},
        {"WriteFailsWithoutReason", "-/-", "", kTick, "write without reason", "-/-", "",
         {"Dayvane could not be added to start up."}},
        {"RemoveFailsStoresNothingAndSaysWhy", "TRUE/FULL", kFull, kTick, "remove", "TRUE/FULL", kFull,
         {"Dayvane could not be removed from start up: Access is denied."}},
        {"SaveFailsAfterRegisteringIsToldToo", "-/-", "", kTick, "save Startup", "-/-", kFull,
         {kRegistered, kNotSaved}},
        {"ModeSaveFailsIsToldToo", "-/-", "", kTick, "save Mode", "TRUE/-", kFull, {kRegistered, kNotSaved}},
        {"SaveFailsAfterRemovingIsToldToo", "TRUE/FULL", kFull, kTick, "save Startup", "TRUE/FULL", "",
         {kRemoved, kNotSaved}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogOnFakes t;
        t.store(c.stored);
        // Another program's value must come through every case untouched.
        t.fakes.startup.run = {{"Other", "other.exe"}};
        if (*c.runBefore) t.fakes.startup.run["Dayvane"] = c.runBefore;
        const std::string failing = c.failing;
        if (failing.starts_with("write")) t.fakes.startup.writeFailure = failing == "write" ? "Access is denied." : "";
        if (failing == "remove") t.fakes.startup.removeFailure = "Access is denied.";
        if (failing.starts_with("save ")) t.fakes.settings.failingSaves[failing.substr(5)] = "The disk is full.";
        t.dialog.Show();
        c.act(t.dialog);

        t.dialog.OKButton.click();
        EXPECT_EQ(t.stored(), c.storedAfter);
        RunKey runAfter{{"Other", "other.exe"}};
        if (*c.runAfter) runAfter["Dayvane"] = c.runAfter;
        EXPECT_EQ(t.fakes.startup.run, runAfter);
        EXPECT_EQ(t.fakes.messages.prompts, c.prompts);
        EXPECT_FALSE(t.dialog.loaded()) << "whatever happened, OK closes the dialog";
    }
}

// Composed from where the program runs at the moment of OK or of the click.
TEST(OptionsDialogPaths, RunValueAndShortcutNameTheRunningExecutable) {
    const struct { const char* exePath; const char* valueName; const char* workingFolder; } cases[] = {
                 {"C:\\Program Files\\Dayvane\\Dayvane.exe", "Dayvane", "C:\\Program Files\\Dayvane"},
                 {"D:\\Kalender für Jürgen\\日历\\Dayvane.exe", "Dayvane", "D:\\Kalender für Jürgen\\日历"},
                 {"C:\\Tools\\My Calendar.EXE", "My Calendar", "C:\\Tools"},
                 {"C:\\Tools\\.exe", ".exe", "C:\\Tools"},
                 {"E:\\Dayvane.exe", "Dayvane", "E:\\"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exePath);
        DialogOnFakes t;
        t.fakes.identity = identityFor(c.exePath);
        const std::string quoted = "\"" + std::string(c.exePath) + "\"";
        t.dialog.Show();
        t.dialog.chkstartup.userClicked();
        t.dialog.OKButton.click();
        EXPECT_EQ(t.fakes.startup.run, (RunKey{{c.valueName, quoted}}));

        t.fakes.settings.set("Mode", "BASIC");
        t.dialog.Show();
        t.dialog.Label2.click();
        t.dialog.OKButton.click();
        EXPECT_EQ(t.fakes.startup.run, (RunKey{{c.valueName, quoted + " -b"}}));
        EXPECT_EQ(t.fakes.shortcuts.requests,
                  (std::vector{ShortcutRequest{"Dayvane", c.exePath, "", c.workingFolder, c.exePath}}));
    }
}

// A renamed executable registers under its new name; the old value stays as it was.
TEST_F(OptionsDialogTest, RenamedExecutableLeavesTheOldValueAlone) {
    fakes.startup.run["Dayvane"] = kFull;
    store("TRUE/FULL");
    fakes.identity = identityFor("C:\\Program Files\\Dayvane\\Cal.exe");
    dialog.Show();
    dialog.chkstartup.userClicked();
    dialog.OKButton.click();
    EXPECT_EQ(fakes.startup.calls, std::vector<std::string>{"remove Cal"});
    EXPECT_EQ(fakes.startup.run, (RunKey{{"Dayvane", kFull}}));
}

TEST_F(OptionsDialogTest, ShortcutIsConfirmedOrItsFailureToldAndTheDialogStaysAsItWas) {
    store("TRUE/BASIC");
    dialog.Show();
    dialog.Label2.click();
    dialog.Label2.click();  // asked again, replaced again
    fakes.shortcuts.failure = "The system cannot find the path specified.";
    dialog.Label2.click();
    EXPECT_EQ(fakes.shortcuts.desktop.size(), 1u);
    EXPECT_EQ(fakes.messages.prompts,
              (std::vector<std::string>{
                  "A short cut in the desktop has been created.", "A short cut in the desktop has been created.",
                  "Dayvane could not create the desktop shortcut: The system cannot find the path specified."}));
    EXPECT_TRUE(dialog.visible());
    EXPECT_EQ(selectedMode(), "basic");
    EXPECT_TRUE(fakes.settings.saves.empty());
    EXPECT_TRUE(fakes.startup.calls.empty());
}

}  // namespace
}  // namespace dv
