#include "desktop.h"

namespace dv::test {
namespace {

class StartedDayvane : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(mainWindows().empty()) << "a Dayvane from elsewhere is running";
        ASSERT_TRUE(app.start());
    }
    Dayvane app;
};

// One picture of each window as it opens, for a person to look at.
TEST_F(StartedDayvane, EveryWindowOnScreen) {
    EXPECT_TRUE(saveScreenshot(app.hwnd(), L"main"));
    const struct {
        MenuPath item;
        const wchar_t* cls;
        const wchar_t* name;
    } windows[] = {{{3, -1}, L"Dayvane.frmAbout", L"about"},
                   {{1, 3}, L"Dayvane.ThumbFrm5", L"readme"},
                   {kAddToStartUp, L"Dayvane.frmstartup", L"options"}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.name);
        ASSERT_TRUE(app.choose(w.item));
        HWND window = waitForShown(app.processId(), w.cls);
        ASSERT_TRUE(window);
        EXPECT_TRUE(saveScreenshot(window, w.name));
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(pumpUntil([&] { return !::IsWindowVisible(window); }, 10s));
    }
}

TEST_F(StartedDayvane, SecondStartBringsTheRunningWindowBackAndLeaves) {
    ASSERT_TRUE(app.choose({2, -1}));  // Minimise
    ASSERT_TRUE(pumpUntil([&] { return !::IsWindowVisible(app.hwnd()); })) << "Minimise left it shown";
    EXPECT_EQ(runToEnd(inQuotes(dayvaneExe()), 10s), DWORD{0}) << "the second Dayvane failed or stayed";
    EXPECT_TRUE(pumpUntil([&] { return ::IsWindowVisible(app.hwnd()) != FALSE; })) << "the first stayed hidden";

    DWORD code = 1;
    ASSERT_TRUE(app.choose({0, 0}));  // Exit
    EXPECT_TRUE(app.waitForExit(&code)) << "Exit left it running";
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace dv::test
