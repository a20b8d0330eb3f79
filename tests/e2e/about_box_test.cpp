#include <string>
#include <thread>

#include "about_windows.h"
#include "screen.h"

namespace dv::e2e {
namespace {

constexpr wchar_t kAboutClass[] = L"Dayvane.frmAbout";

class AboutInDayvane : public StartedDayvaneTest {
protected:
    // Nothing the box started outlives the test.
    void TearDown() override { endProcesses(childrenNamed(app.processId(), L"msinfo32.exe")); }

    HWND openAbout() {
        app.choose(kAbout);
        HWND box = nullptr;
        waitUntil([&] { return (box = shownWindow(app.processId(), kAboutClass)) != nullptr; }, 10s);
        // Until the box is active and its focus placed.
        waitUntil([&] { return box && guiOf(box).hwndActive == box && guiOf(box).hwndFocus; }, 10s);
        return box;
    }

};

TEST_F(AboutInDayvane, AboutOpensEscClosesAndAboutAgainOpensAFreshBox) {
    HWND box = openAbout();
    ASSERT_NE(box, nullptr) << "no About box";
    EXPECT_EQ(windowText(box), L"About Dayvane");
    HWND focus = guiOf(box).hwndFocus;
    EXPECT_EQ(windowText(focus), L"OK");
    EXPECT_EQ(::GetParent(focus), box);

    std::this_thread::sleep_for(500ms);  // painted
    RECT r{};
    ::GetWindowRect(box, &r);
    const ScreenShot shot(r);
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(shot.save(screenshotFolder() + L"about.bmp"));
    EXPECT_GT(shot.count(RGB(0, 0, 192)), 50) << "no dark blue title";
    EXPECT_GT(shot.count(RGB(0, 0, 255)), 20) << "no blue web-site link";
    EXPECT_GT(shot.count(RGB(255, 255, 255)), 2 * 300) << "no white line";

    pressKey(focus, VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(box); }, 10s)) << "Esc left the box open";
    EXPECT_TRUE(app.running());

    HWND again = openAbout();
    ASSERT_NE(again, nullptr) << "About opened nothing the second time";
    EXPECT_EQ(windowText(again), L"About Dayvane");
    EXPECT_EQ(windowText(guiOf(again).hwndFocus), L"OK");
    pressKey(guiOf(again).hwndFocus, VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(again); }, 10s)) << "Enter on OK left the box open";
}

TEST_F(AboutInDayvane, SystemInfoStartsTheToolOrSaysItCannotNeverBoth) {
    HWND box = openAbout();
    ASSERT_NE(box, nullptr);
    // Alt+S, as the keyboard sends it.
    ::PostMessageW(guiOf(box).hwndFocus, WM_SYSKEYDOWN, 'S', 1 | (0x1F << 16) | (1 << 29));
    ::PostMessageW(guiOf(box).hwndFocus, WM_SYSKEYUP, 'S', 1 | (0x1F << 16) | (1 << 29) | (3u << 30));

    std::vector<DWORD> tools;
    HWND message = nullptr;
    std::wstring prompt;
    ASSERT_TRUE(waitUntil(
        [&] {
            tools = childrenNamed(app.processId(), L"msinfo32.exe");
            message = messageBoxOf(app.processId(), &prompt);
            return !tools.empty() || message;
        },
        20s))
        << "System Info did nothing";
    if (message) {
        EXPECT_EQ(prompt, L"System Information Is Unavailable At This Time");
        // The message comes only after a start that failed.
        EXPECT_TRUE(childrenNamed(app.processId(), L"msinfo32.exe").empty());
        ::PostMessageW(message, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(waitUntil([&] { return !::IsWindow(message); }, 10s));
    } else {
        EXPECT_EQ(tools.size(), 1u);
        // A start that worked shows no message.
        EXPECT_EQ(messageBoxOf(app.processId()), nullptr);
    }
    EXPECT_TRUE(app.running());
    EXPECT_TRUE(::IsWindowVisible(box)) << "the box stays open";
}

}  // namespace
}  // namespace dv::e2e
