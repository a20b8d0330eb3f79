#include <gtest/gtest.h>

#include "app/dayvane_main.h"
#include "fakes/fake_services.h"

namespace dv {
namespace {

TEST(DayvaneMain, SecondInstanceWakesTheFirstAndShowsNothing) {
    fakes::FakePlatform fakes;
    fakes.instance.first = false;
    Platform platform = fakes.platform();
    EXPECT_EQ(dayvaneMain(platform), 0);
    EXPECT_EQ(fakes.instance.wakeCalls, 1);
    EXPECT_EQ(fakes.toolkit.created(), 0);
    EXPECT_EQ(fakes.application.runCalls, 0);
    EXPECT_EQ(fakes.notifyIcon.addCalls, 0);
}

TEST(DayvaneMain, FirstInstanceShowsTheMainWindowUntilTheLoopEnds) {
    fakes::FakePlatform fakes;
    fakes.application.exitCode = 3;
    bool checked = false;
    fakes.application.whileRunning = [&] {
        ASSERT_EQ(fakes.toolkit.liveForms().size(), 1u);
        const fakes::FakeFormPeer& main = *fakes.toolkit.liveForms()[0];
        EXPECT_TRUE(main.visible);
        EXPECT_EQ(main.caption, "    Time now is  09:05:03");
        EXPECT_TRUE(fakes.notifyIcon.present);
        checked = true;
    };
    Platform platform = fakes.platform();
    EXPECT_EQ(dayvaneMain(platform), 3);
    EXPECT_TRUE(checked);
    EXPECT_EQ(fakes.instance.wakeCalls, 0);
    EXPECT_EQ(fakes.toolkit.alive(), 0);  // the windows go with the loop
}

}  // namespace
}  // namespace dv
