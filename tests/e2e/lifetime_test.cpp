#include "process.h"

namespace dv::e2e {
namespace {

using RunningDayvane = StartedDayvaneTest;

TEST_F(RunningDayvane, ExitEndsTheProcessAndTakesTheIconAway) {
    ASSERT_TRUE(waitUntil([&] { return iconKnown(app.hwnd()); }, 5s)) << "no icon to begin with";
    app.choose(kExit);
    DWORD code = 1;
    ASSERT_TRUE(app.waitForExit(10s, &code)) << "still running";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(iconKnown(app.hwnd()));
    EXPECT_TRUE(mainWindows().empty());
}

TEST_F(RunningDayvane, CloseBoxEndsTheProcessAndTakesTheIconAway) {
    ASSERT_TRUE(waitUntil([&] { return iconKnown(app.hwnd()); }, 5s)) << "no icon to begin with";
    app.post(WM_CLOSE);
    DWORD code = 1;
    ASSERT_TRUE(app.waitForExit(10s, &code)) << "still running";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(iconKnown(app.hwnd()));
}

TEST_F(RunningDayvane, SecondStartBringsTheFirstBackAndLeaves) {
    app.choose(kMinimise);
    ASSERT_TRUE(waitUntil([&] { return !::IsWindowVisible(app.hwnd()); }, 5s)) << "still shown";

    Dayvane second;
    ASSERT_TRUE(second.start());
    DWORD code = 1;
    ASSERT_TRUE(second.waitForExit(10s, &code)) << "the second Dayvane stayed";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(mainWindows(), std::vector<HWND>{app.hwnd()});
    EXPECT_TRUE(waitUntil([&] { return ::IsWindowVisible(app.hwnd()) != FALSE; }, 5s)) << "the first stayed hidden";
    EXPECT_TRUE(app.running());
}

}  // namespace
}  // namespace dv::e2e
