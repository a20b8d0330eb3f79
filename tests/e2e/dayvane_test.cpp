#include "desktop.h"

namespace dv::test {
namespace {

constexpr wchar_t kMainClass[] = L"Dayvane.frmmain";
constexpr MenuPath kExit{0, 0};
constexpr MenuPath kAddOwnPhoto{1, 3};
constexpr MenuPath kMinimise{2, -1};
constexpr MenuPath kAbout{3, -1};

class StartedDayvane : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(childrenOfClass(nullptr, kMainClass).empty()) << "a Dayvane from elsewhere is running";
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(app.waitForWindow());
    }
    Dayvane app;
};

// One picture of each window as it opens, for a person to look at.
TEST_F(StartedDayvane, EveryWindowOnScreen) {
    EXPECT_TRUE(saveScreenshot(app.hwnd(), L"main"));
    // A tool window, which the shell gives no taskbar button; no size, minimise or maximise box.
    const auto exStyle = ::GetWindowLongPtrW(app.hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE((exStyle & WS_EX_TOOLWINDOW) && !(exStyle & WS_EX_APPWINDOW)) << "a window with a taskbar button";
    EXPECT_FALSE(::GetWindowLongPtrW(app.hwnd(), GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const struct {
        MenuPath item;
        const wchar_t* cls;
        const wchar_t* name;
    } windows[] = {{kAbout, L"Dayvane.frmAbout", L"about"}, {kAddOwnPhoto, L"Dayvane.ThumbFrm5", L"readme"}};
    for (const auto& w : windows) {
        SCOPED_TRACE(testing::Message() << "screenshot " << w.name);
        ASSERT_TRUE(app.choose(w.item));
        HWND window = nullptr;
        ASSERT_TRUE(pumpUntil([&] { return (window = shownWindow(app.processId(), w.cls)) != nullptr; }, 10s));
        EXPECT_TRUE(saveScreenshot(window, w.name));
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(pumpUntil([&] { return !::IsWindowVisible(window); }, 10s));
    }
}

TEST_F(StartedDayvane, SecondStartBringsTheRunningWindowBackAndLeaves) {
    ASSERT_TRUE(app.choose(kMinimise));
    ASSERT_TRUE(pumpUntil([&] { return !::IsWindowVisible(app.hwnd()); })) << "Minimise left it shown";

    Dayvane second;
    ASSERT_TRUE(second.start());
    DWORD code = 1;
    ASSERT_TRUE(second.waitForExit(10s, &code)) << "the second Dayvane stayed";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(pumpUntil([&] { return ::IsWindowVisible(app.hwnd()) != FALSE; })) << "the first stayed hidden";
    EXPECT_EQ(childrenOfClass(nullptr, kMainClass), std::vector<HWND>{app.hwnd()});

    ASSERT_TRUE(app.choose(kExit));
    EXPECT_TRUE(app.waitForExit(10s, &code)) << "Exit left it running";
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace dv::test
