#include <cstdlib>
#include <string>
#include <utility>

#include "main_window_fixture.h"

namespace dv::test {
namespace {

// 0 stands for the DPI the process started with.
class MainWindowAtDpi : public RealMainWindow, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        window.Show();
        pumpFor(std::chrono::milliseconds(20));
        dpi_ = GetParam() ? GetParam() : static_cast<int>(::GetDpiForWindow(hwnd()));
        if (GetParam()) {
            RECT now{};
            ::GetWindowRect(hwnd(), &now);
            // What the system suggests when the window crosses to another monitor.
            suggested_ = {now.left - 37, now.top + 11, now.left - 37 + ::MulDiv(now.right - now.left, dpi_, 96),
                          now.top + 11 + ::MulDiv(now.bottom - now.top, dpi_, 96)};
            ::SendMessageW(hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi_, dpi_), reinterpret_cast<LPARAM>(&suggested_));
            pumpFor(std::chrono::milliseconds(20));
        }
    }

    ::testing::AssertionResult laidOut(HWND child, const Control& control) const {
        if (!child) return ::testing::AssertionFailure() << control.name() << " has no window";
        const TwipsBox& box = control.design().box;
        const RECT expected{twipsToPx(box.left, dpi_), twipsToPx(box.top, dpi_),
                            twipsToPx(box.left, dpi_) + twipsToPx(box.width, dpi_),
                            twipsToPx(box.top, dpi_) + twipsToPx(box.height, dpi_)};
        const RECT r = rectInParent(child);
        if (::EqualRect(&r, &expected)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << control.name() << " at " << r.left << "," << r.top << " " << r.right - r.left << "x"
               << r.bottom - r.top << ", designed " << expected.left << "," << expected.top << " "
               << expected.right - expected.left << "x" << expected.bottom - expected.top;
    }

    static LOGFONTW fontOf(HWND hwnd) {
        LOGFONTW lf{};
        ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf;
    }

    int dpi_ = 96;
    RECT suggested_{};
};

TEST_P(MainWindowAtDpi, ClientAreaHoldsTheDesign) {
    RECT client{}, outer{};
    ::GetClientRect(hwnd(), &client);
    ::GetWindowRect(hwnd(), &outer);
    // The menu may wrap on the narrow window; the design must stay whole.
    EXPECT_EQ(client.right, twipsToPx(2685, dpi_));
    // Also where the window is taller than the screen.
    EXPECT_GE(client.bottom, twipsToPx(6975, dpi_));
    EXPECT_LT(client.bottom, twipsToPx(6975, dpi_) + ::GetSystemMetricsForDpi(SM_CYMENU, dpi_));
    if (GetParam()) {
        EXPECT_EQ(outer.left, suggested_.left);
        EXPECT_EQ(outer.top, suggested_.top);
    }
}

TEST_P(MainWindowAtDpi, ControlsSitOnTheirDesignedBoxes) {
    EXPECT_TRUE(laidOut(::FindWindowExW(hwnd(), nullptr, L"Button", L"Command1"), window.Command1));
    EXPECT_TRUE(laidOut(::FindWindowExW(hwnd(), nullptr, L"Dayvane.Picture", nullptr), window.Picture1));
    EXPECT_TRUE(laidOut(mv1Hwnd(), window.mv1));
    EXPECT_TRUE(laidOut(mv3Hwnd(), window.mv3));
}

TEST_P(MainWindowAtDpi, ControlsUseTheFontOfThisDpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                             static_cast<UINT>(dpi_)));
    EXPECT_EQ(fontOf(::FindWindowExW(hwnd(), nullptr, L"Button", L"Command1")).lfHeight,
              metrics.lfMessageFont.lfHeight);
    // The calendars may take a smaller font to fit, but never one of a lower DPI.
    const int floor = std::max(6, ::MulDiv(8, dpi_, 96));
    for (HWND view : calendars()) {
        const LOGFONTW lf = fontOf(view);
        EXPECT_GE(std::abs(lf.lfHeight), floor);
        EXPECT_LE(std::abs(lf.lfHeight), std::abs(metrics.lfMessageFont.lfHeight));
    }
}

TEST_P(MainWindowAtDpi, WholeMonthFitsInTheVisiblePartOfEachView) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    for (HWND view : calendars()) {
        const RECT box = rectInParent(view);
        RECT need{};
        ASSERT_TRUE(::SendMessageW(view, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need)));
        EXPECT_LE(need.right - need.left, std::min(box.right, client.right) - box.left);
        EXPECT_LE(need.bottom - need.top, box.bottom - box.top);
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, MainWindowAtDpi, ::testing::Values(0, 120, 144, 192), [](const auto& info) {
    return info.param ? std::to_string(info.param) : std::string("AsStarted");
});

}  // namespace
}  // namespace dv::test
