#include "main_window/placement.h"
#include "main_window_fixture.h"

namespace dv {
namespace {

struct PlaceCase {
    const char* name;
    ScreenInfo screen;
    Size outer;
    Point expected;
};

class Placement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(Placement, BottomRightOfTheWorkAreaAboveTheScreenBottomMargin) {
    const PlaceCase& c = GetParam();
    EXPECT_EQ(placeBottomRight(c.outer, c.screen), c.expected);
}

constexpr Rect kScreen{0, 0, 1024, 768};
constexpr Size kOuter{185, 507};

// At 96 dpi the 400 twips margin is 26.7 px, kept at 27: bottom at most 741.
INSTANTIATE_TEST_SUITE_P(
    Screens, Placement,
    ::testing::Values(PlaceCase{"TaskbarBottom", {kScreen, {0, 0, 1024, 728}, 96}, kOuter, {839, 728 - 507}},
                      PlaceCase{"NoTaskbar", {kScreen, kScreen, 96}, kOuter, {839, 741 - 507}},
                      PlaceCase{"ThinTaskbar", {kScreen, {0, 0, 1024, 766}, 96}, kOuter, {839, 741 - 507}},
                      PlaceCase{"TaskbarRight", {kScreen, {0, 0, 960, 768}, 96}, kOuter, {960 - 185, 741 - 507}},
                      PlaceCase{"TaskbarTop", {kScreen, {0, 40, 1024, 768}, 96}, kOuter, {839, 741 - 507}},
                      PlaceCase{"TooShort", {{0, 0, 640, 480}, {0, 30, 640, 480}, 96}, kOuter, {640 - 185, 30}},
                      PlaceCase{"TooNarrow", {{0, 0, 160, 600}, {20, 0, 160, 560}, 96}, kOuter, {20, 560 - 507}},
                      PlaceCase{"Dpi120", {{0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 120}, {231, 632}, {1049, 1024 - 34 - 632}},
                      PlaceCase{"Dpi144", {{0, 0, 1536, 1152}, {0, 0, 1536, 1152}, 144}, {275, 740}, {1261, 1152 - 40 - 740}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, WindowIsPlacedAtLoadAndAgainWhenTheDisplayChanges) {
    window.Show();
    EXPECT_EQ(screen().right(), 1024);
    EXPECT_EQ(screen().bottom(), 728);

    fakes.screen.info = {.monitor = {0, 0, 1536, 1152}, .workArea = {0, 0, 1470, 1152}, .dpi = 144};
    screen().dpiSetting = 144;
    window.peerEvent(FormEvent::DisplayChanged);
    EXPECT_EQ(screen().right(), 1470);
    EXPECT_EQ(screen().bottom(), 1152 - 40);
}

}  // namespace
}  // namespace dv
