#include <thread>

#include "screen.h"

namespace dv::e2e {
namespace {

class ShownAtDpi : public ::testing::TestWithParam<int> {};

TEST_P(ShownAtDpi, PlacedAndPaintedOnScreen) {
    const int dpi = GetParam();
    ASSERT_TRUE(mainWindows().empty()) << "a Dayvane from elsewhere is running";
    LogPixels logPixels(static_cast<DWORD>(dpi));
    ASSERT_TRUE(logPixels.ok());
    Dayvane app;
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.waitForWindow());
    expectPlacedBottomRight(app.hwnd(), dpi);

    // Time to paint; the clock in the caption changes meanwhile, nothing else.
    std::this_thread::sleep_for(1s);
    RECT r{};
    ::GetWindowRect(app.hwnd(), &r);
    const ScreenShot shot(r);
    ASSERT_FALSE(shot.empty());
    const std::wstring path = screenshotFolder() + L"main-" + std::to_wstring(dpi) + L"dpi.bmp";
    EXPECT_TRUE(shot.save(path));

    // Each calendar's title band shows in its own colour.
    EXPECT_GT(shot.count(RGB(0x00, 0x80, 0x00)), 100) << "no green title of the main calendar";
    EXPECT_GT(shot.count(RGB(0x80, 0x40, 0x40)), 100) << "no brown title of the next month's calendar";
}

INSTANTIATE_TEST_SUITE_P(Dpi, ShownAtDpi, ::testing::Values(96, 144),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace dv::e2e
