#include <gtest/gtest.h>

#include <algorithm>

#include "about_box/about_box.h"
#include "fakes/fake_services.h"
#include "main_window/main_window.h"
#include "options_dialog/options_dialog.h"
#include "platform/colours.h"
#include "readme_window/readme_window.h"

namespace dv {
namespace {

// The display changes to a 1600 x 1200 monitor with this work area.
struct MoveCase {
    const char* name;
    std::optional<Point> draggedTo;  // none: left where the program placed it
    Rect workArea;
    Point expected;  // of the fake's 185 x 507 px window
};

class DisplayChange : public ::testing::TestWithParam<MoveCase> {};

TEST_P(DisplayChange, MovesOnlyAWindowStillInTheProgramsPlaceOrNoLongerWhole) {
    const MoveCase& c = GetParam();
    fakes::FakePlatform fakes;
    MainWindow main{fakes.env(), {fakes.clock, fakes.screen, fakes.notifyIcon, fakes.application}, {}};
    main.Show();
    if (c.draggedTo) {
        main.moveTo(*c.draggedTo);
        main.peerEvent(FormEvent::MovedByUser);
    }
    fakes.screen.info = {.monitor = {0, 0, 1600, 1200}, .workArea = c.workArea, .dpi = 96};
    main.peerEvent(FormEvent::DisplayChanged);
    EXPECT_EQ(main.position(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayChange,
    ::testing::Values(MoveCase{"ProgramPlacedFollowsTheCorner", {}, {0, 0, 1600, 1160}, {1415, 1160 - 507}},
                      MoveCase{"DraggedAndWholeStays", Point{100, 50}, {0, 0, 1600, 1160}, {100, 50}},
                      MoveCase{"DraggedOffTheBottomComesJustBack", Point{100, 600}, {0, 0, 1600, 1000}, {100, 493}},
                      MoveCase{"DraggedPastTheRightComesJustBack", Point{1500, 100}, {0, 0, 1600, 1200}, {1415, 100}},
                      MoveCase{"TooSmallAWorkAreaKeepsTheTopLeftOnIt", Point{9, 9}, {20, 30, 200, 400}, {20, 30}}),
    [](const auto& info) { return std::string(info.param.name); });

// What a high-contrast theme keeps readable: its text colours on their own backgrounds.
bool readable(const Colour& text, const Colour& back) {
    using S = SystemColour;
    const std::pair<Colour, Colour> pairs[] = {{S::WindowText, S::Window}, {S::HighlightText, S::Highlight},
                                               {S::ButtonText, S::ButtonFace}, {S::HotLight, S::ButtonFace}};
    return std::find(std::begin(pairs), std::end(pairs), std::pair(text, back)) != std::end(pairs);
}

TEST(HighContrast, EveryDesignedColourGivesWayToAReadableSystemPair) {
    fakes::FakePlatform fakes;
    MainWindow main{fakes.env(), {fakes.clock, fakes.screen, fakes.notifyIcon, fakes.application}, {}};
    OptionsDialog options{fakes.env(), fakes.options, fakes.identity};
    AboutBox about{fakes.env(), fakes.about, fakes.identity};
    ReadmeWindow readme{fakes.env()};
    readme.Show();  // the "OK" label takes its colour at activation
    for (const Form* form : std::initializer_list<const Form*>{&main, &options, &about, &readme}) {
        EXPECT_EQ(formBackground(form->design(), true), Colour{SystemColour::ButtonFace});
        for (const Control* control : form->controls()) {
            SCOPED_TRACE(form->design().name + "." + control->name());
            const ControlColours on = coloursOf(*control, true);
            // Without a text colour the system draws it all: no back of its own either.
            EXPECT_TRUE(on.text ? readable(*on.text, on.back.value_or(SystemColour::ButtonFace)) : !on.back);
        }
    }
}

}  // namespace
}  // namespace dv
