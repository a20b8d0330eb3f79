#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "main_window/main_window.h"
#include "options_dialog_fixture.h"

namespace dv {
namespace {

std::string captionOf(const Control& c) {
    if (auto* b = dynamic_cast<const CommandButton*>(&c)) return b->Caption();
    if (auto* b = dynamic_cast<const CheckBox*>(&c)) return b->Caption();
    if (auto* o = dynamic_cast<const OptionButton*>(&c)) return o->Caption();
    if (auto* l = dynamic_cast<const Label*>(&c)) return l->Caption();
    return "?";
}

TEST_F(OptionsDialogTest, DesignOfTheDialogAndItsControls) {
    const FormDesign& d = dialog.design();
    EXPECT_EQ(d.name, "frmstartup");
    EXPECT_EQ(d.caption, "Dayvane Options");
    EXPECT_EQ(d.clientWidth, 4125);
    EXPECT_EQ(d.clientHeight, 2280);
    EXPECT_EQ(d.border, BorderStyle::FixedSingle);
    EXPECT_TRUE(d.showInTaskbar);
    EXPECT_TRUE(d.centred);
    EXPECT_EQ(d.iconResource, 0);

    // Name, caption, left, top, width, height, tab index, shown; in design order.
    using Place = std::tuple<std::string, std::string, int, int, int, int, int, bool>;
    std::vector<Place> places;
    for (const Control* c : dialog.controls()) {
        const ControlDesign& cd = c->design();
        places.emplace_back(cd.name, captionOf(*c), cd.box.left, cd.box.top, cd.box.width, cd.box.height,
                            cd.tabIndex, cd.visible);
    }
    const std::vector<Place> expected = {
        {"optfull", "Option1", 2760, 0, 255, 255, 1, false},
        {"optbasic", "Option1", 3480, 120, 255, 255, 3, false},
        {"chkstartup", "Click to add Dayvane to startup menu", 600, 240, 3375, 375, 0, true},
        {"Label3", "1.", 240, 360, 255, 255, 7, true},
        {"Label1", "If you wish to automatically start Dayvane when Windows Start, click checkBox above.", 600, 600,
         3255, 615, 5, true},
        {"Label4", "2.", 240, 1320, 255, 255, 8, true},
        {"Label2", "Add Dayvane shortcut to desktop", 600, 1320, 2775, 375, 6, true},
        {"OKButton", "OK", 840, 1800, 855, 375, 2, true},
        {"Command1", "Cancel", 2040, 1800, 735, 375, 4, true},
    };
    EXPECT_EQ(places, expected);

    for (const Control* c : dialog.controls())
        EXPECT_EQ(c->design().pointer, c == &dialog.Label2 ? Pointer::Hand : Pointer::Default) << c->name();
    // Enter and Esc mean nothing here.
    for (const CommandButton* b : {&dialog.OKButton, &dialog.Command1}) {
        EXPECT_FALSE(b->role().isDefault) << b->name();
        EXPECT_FALSE(b->role().isCancel) << b->name();
    }
}

TEST_F(OptionsDialogTest, HiddenStartModesExistAndAreOneGroup) {
    store("TRUE", "BASIC");
    dialog.Show();
    for (const OptionButton* o : {&dialog.optfull, &dialog.optbasic}) {
        ASSERT_NE(fakes.toolkit.peer(*o), nullptr) << o->name();
        EXPECT_FALSE(shown(*o).visible) << o->name();
    }
    EXPECT_EQ(shown(dialog.optbasic).checked, 1);
    dialog.optfull.setValue(true);
    EXPECT_EQ(selectedMode(), "full");
    EXPECT_EQ(shown(dialog.optbasic).checked, 0);
}

struct LoadCase {
    const char* name;
    std::optional<std::string> startup, mode;
    int box;
    bool enabled;
    const char* selected;
};

class DialogLoad : public OptionsDialogTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(DialogLoad, SettingsGiveTheDialogItsState) {
    const LoadCase& c = GetParam();
    store(c.startup, c.mode);
    dialog.Show();
    EXPECT_EQ(dialog.chkstartup.Value(), c.box);
    EXPECT_EQ(shown(dialog.chkstartup).checked, c.box);
    EXPECT_EQ(optionsEnabled(), c.enabled);
    EXPECT_EQ(shown(dialog.optfull).enabled, c.enabled);
    EXPECT_EQ(selectedMode(), c.selected);
    const bool modeRead = std::count(fakes.settings.reads.begin(), fakes.settings.reads.end(), "Mode") > 0;
    EXPECT_EQ(modeRead, c.box == 1) << "Mode is read only when Startup says TRUE";
    EXPECT_TRUE(fakes.settings.saves.empty());
    EXPECT_TRUE(fakes.messages.prompts.empty());
    EXPECT_TRUE(screen()->visible);
}

INSTANTIATE_TEST_SUITE_P(
    StateTable, DialogLoad,
    ::testing::Values(LoadCase{"NothingStored", {}, {}, 0, false, "none"},
                      LoadCase{"False", "FALSE", "BASIC", 0, false, "none"},
                      LoadCase{"LowerCaseTrue", "true", "FULL", 0, false, "none"},
                      LoadCase{"TrueWithBlank", "TRUE ", "FULL", 0, false, "none"},
                      LoadCase{"EmptyStartup", "", "BASIC", 0, false, "none"},
                      LoadCase{"Basic", "TRUE", "BASIC", 1, true, "basic"},
                      LoadCase{"Full", "TRUE", "FULL", 1, true, "full"},
                      LoadCase{"ModeOtherCase", "TRUE", "Basic", 1, true, "full"},
                      LoadCase{"ModeOtherText", "TRUE", "fast", 1, true, "full"},
                      LoadCase{"ModeEmpty", "TRUE", "", 1, true, "full"},
                      LoadCase{"ModeAbsent", "TRUE", {}, 1, true, "full"}),
    [](const auto& info) { return std::string(info.param.name); });

// The box and the label "2." toggle alike; every check selects the full mode.
class Toggle : public OptionsDialogTest, public ::testing::WithParamInterface<const char*> {
protected:
    void toggle() {
        if (std::string(GetParam()) == "Box")
            dialog.chkstartup.userClicked();
        else
            dialog.Label4.click();
    }
};

TEST_P(Toggle, EnablesTheModesAndCheckingSelectsFull) {
    store("TRUE", "BASIC");
    dialog.Show();
    ASSERT_EQ(selectedMode(), "basic");

    toggle();
    EXPECT_EQ(dialog.chkstartup.Value(), 0);
    EXPECT_EQ(shown(dialog.chkstartup).checked, 0);
    EXPECT_EQ(optionsEnabled(), false);
    EXPECT_EQ(selectedMode(), "basic") << "unchecking keeps the selection";

    toggle();
    EXPECT_EQ(dialog.chkstartup.Value(), 1);
    EXPECT_EQ(optionsEnabled(), true);
    EXPECT_EQ(selectedMode(), "full");
    EXPECT_TRUE(fakes.settings.saves.empty());
}

TEST_P(Toggle, FirstCheckOnAnEmptyStoreSelectsFull) {
    dialog.Show();
    ASSERT_EQ(selectedMode(), "none");
    toggle();
    EXPECT_EQ(optionsEnabled(), true);
    EXPECT_EQ(selectedMode(), "full");
}

INSTANTIATE_TEST_SUITE_P(ByBoxOrLabel, Toggle, ::testing::Values("Box", "Label4"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(OptionsDialogTest, GrayedBoxCountsAsOnAndLabel4ClearsIt) {
    dialog.Show();
    dialog.chkstartup.setValue(kGrayed);
    EXPECT_EQ(optionsEnabled(), true);
    EXPECT_EQ(selectedMode(), "full");
    dialog.Label4.click();
    EXPECT_EQ(dialog.chkstartup.Value(), 0);
    EXPECT_EQ(optionsEnabled(), false);
}

TEST_F(OptionsDialogTest, ShowingAgainBringsItForwardWithItsUnsavedState) {
    dialog.Show();
    dialog.chkstartup.userClicked();
    const size_t reads = fakes.settings.reads.size();
    dialog.Show();
    EXPECT_EQ(fakes.settings.reads.size(), reads) << "loaded again";
    EXPECT_EQ(dialog.chkstartup.Value(), 1);
    EXPECT_EQ(screen()->frontCount, 1);
    EXPECT_EQ(screen()->shownCount, 1);
}

class CloseWithoutOk : public OptionsDialogTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CloseWithoutOk, StoresNothingAndTheNextOpeningShowsTheStoredState) {
    store("TRUE", "BASIC");
    fakes.startup.run["Dayvane"] = "\"C:\\Program Files\\Dayvane\\Dayvane.exe\" -b";
    const auto runBefore = fakes.startup.run;
    dialog.Show();
    dialog.chkstartup.userClicked();
    if (std::string(GetParam()) == "Cancel")
        dialog.Command1.click();
    else
        dialog.peerEvent(FormEvent::QueryUnload);

    EXPECT_FALSE(dialog.loaded());
    EXPECT_EQ(fakes.toolkit.alive(), 0);
    EXPECT_TRUE(fakes.settings.saves.empty());
    EXPECT_TRUE(fakes.startup.calls.empty());
    EXPECT_EQ(fakes.startup.run, runBefore);
    EXPECT_TRUE(fakes.messages.prompts.empty());

    dialog.Show();
    EXPECT_EQ(dialog.chkstartup.Value(), 1);
    EXPECT_EQ(selectedMode(), "basic");
}

INSTANTIATE_TEST_SUITE_P(ByButtonOrTitleBar, CloseWithoutOk, ::testing::Values("Cancel", "CloseBox"),
                         [](const auto& info) { return std::string(info.param); });

// Through the program itself: both menu items show the one dialog.
TEST(OptionsDialogInTheProgram, BothMenuItemsShowTheSameDialog) {
    fakes::FakePlatform fakes;
    bool checked = false;
    fakes.application.whileRunning = [&] {
        ASSERT_EQ(fakes.toolkit.liveForms().size(), 1u);
        auto& main = dynamic_cast<MainWindow&>(fakes.toolkit.liveForms()[0]->form);
        main.mnustartup.click();
        ASSERT_EQ(fakes.toolkit.liveForms().size(), 2u);
        fakes::FakeFormPeer& options = *fakes.toolkit.liveForms()[1];
        EXPECT_EQ(options.caption, "Dayvane Options");
        EXPECT_TRUE(options.visible);
        main.mnushortcut.click();
        EXPECT_EQ(fakes.toolkit.liveForms().size(), 2u);
        EXPECT_EQ(options.frontCount, 1);
        checked = true;
    };
    Platform platform = fakes.platform();
    dayvaneMain(platform);
    EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace dv
