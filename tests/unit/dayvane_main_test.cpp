#include <gtest/gtest.h>

#include <tuple>

#include "about_box/about_box.h"
#include "app/dayvane_main.h"
#include "fakes/fake_services.h"
#include "main_window/main_window.h"
#include "options_dialog/options_dialog.h"
#include "readme_window/readme_window.h"

namespace dv {
namespace {

TEST(DayvaneMain, SecondInstanceWakesTheFirstAndShowsNothing) {
    fakes::FakePlatform fakes;
    fakes.instance.first = false;
    fakes.application.exitCode = 3;
    Platform platform = fakes.platform();
    EXPECT_EQ(dayvaneMain(platform), 0);
    EXPECT_EQ(std::tuple(fakes.instance.wakeCalls, fakes.toolkit.created(), fakes.application.runCalls),
              std::tuple(1, 0, 0));
}

// Each other window exists once: its menu item chosen again brings the same one forward.
TEST(DayvaneMain, FirstInstanceShowsTheMainWindowAndItsMenuOneOfEachWindowUntilTheLoopEnds) {
    fakes::FakePlatform fakes;
    fakes.application.exitCode = 3;
    fakes.application.whileRunning = [&] {
        ASSERT_EQ(fakes.toolkit.liveForms().size(), 1u);
        auto& main = dynamic_cast<MainWindow&>(fakes.toolkit.liveForms()[0]->form);
        EXPECT_TRUE(fakes.toolkit.form(main)->visible && fakes.notifyIcon.present);
        for (MenuItem* item : {&main.mnustartup, &main.mnuabout, &main.mnuphoto, &main.mnushortcut, &main.mnuabout})
            item->click();
        const auto forms = fakes.toolkit.liveForms();
        ASSERT_EQ(forms.size(), 4u);
        EXPECT_TRUE(dynamic_cast<OptionsDialog*>(&forms[1]->form) && dynamic_cast<AboutBox*>(&forms[2]->form) &&
                    dynamic_cast<ReadmeWindow*>(&forms[3]->form));
        for (const fakes::FakeFormPeer* shown : forms) EXPECT_TRUE(shown->visible);
        EXPECT_EQ(std::tuple(forms[1]->frontCount, forms[2]->frontCount, forms[3]->frontCount), std::tuple(1, 1, 0));
    };
    Platform platform = fakes.platform();
    EXPECT_EQ(dayvaneMain(platform), 3);
    EXPECT_EQ(std::tuple(fakes.application.runCalls, fakes.instance.wakeCalls), std::tuple(1, 0));
    EXPECT_EQ(fakes.toolkit.alive(), 0);  // the windows go with the loop
}

}  // namespace
}  // namespace dv
