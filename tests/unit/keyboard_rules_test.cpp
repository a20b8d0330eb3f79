#include <gtest/gtest.h>

#include <variant>

#include "about_box/about_box.h"
#include "fakes/fake_services.h"
#include "main_window/main_window.h"
#include "main_window/placement.h"
#include "options_dialog/options_dialog.h"
#include "platform/colours.h"
#include "readme_window/readme_window.h"

namespace dv {
namespace {

// A window the user dragged elsewhere stays there when the display changes,
// as far as it is still whole on the work area.
struct MoveCase {
    const char* name;
    std::optional<Point> draggedTo;  // none: left where the program placed it
    Rect newWorkArea;                // on a 1600 x 1200 monitor
    Point expected;
};

class DisplayChange : public ::testing::TestWithParam<MoveCase> {
protected:
    fakes::FakePlatform fakes;
    MainWindow window{fakes.env(), {fakes.clock, fakes.screen, fakes.notifyIcon, fakes.application}, {}};
};

TEST_P(DisplayChange, MovesOnlyAWindowStillInTheProgramsPlaceOrNoLongerWhole) {
    const MoveCase& c = GetParam();
    window.Show();
    if (c.draggedTo) {
        window.moveTo(*c.draggedTo);
        window.peerMovedByUser();
    }
    fakes.screen.info = {.monitor = {0, 0, 1600, 1200}, .workArea = c.newWorkArea, .dpi = 96};
    window.peerDisplayChanged();
    EXPECT_EQ(window.position(), c.expected);
}

// The fake window is 185 x 507 px (frame included) at 96 dpi.
INSTANTIATE_TEST_SUITE_P(
    Cases, DisplayChange,
    ::testing::Values(MoveCase{"ProgramPlacedFollowsTheCorner", {}, {0, 0, 1600, 1160}, {1600 - 185, 1160 - 507}},
                      MoveCase{"DraggedAndWholeStays", Point{100, 50}, {0, 0, 1600, 1160}, {100, 50}},
                      MoveCase{"DraggedOffTheBottomComesJustBack", Point{100, 600}, {0, 0, 1600, 1000},
                               {100, 1000 - 507}},
                      MoveCase{"DraggedUnderATopBarComesJustBelowIt", Point{700, 10}, {0, 40, 1600, 1200},
                               {700, 40}},
                      MoveCase{"DraggedPastTheRightComesJustBack", Point{1500, 100}, {0, 0, 1600, 1200},
                               {1600 - 185, 100}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeepWhole, AWindowLargerThanTheWorkAreaKeepsItsTopLeftOnIt) {
    EXPECT_EQ(keepWhole({-50, -20, 350, 780}, {0, 0, 300, 700}), (Point{0, 0}));
    EXPECT_EQ(keepWhole({900, 900, 1300, 1700}, {0, 0, 300, 700}), (Point{0, 0}));
}

// Every control of every window, under high contrast and without it.
class HighContrast : public ::testing::Test {
protected:
    fakes::FakePlatform fakes;
    MainWindow main{fakes.env(), {fakes.clock, fakes.screen, fakes.notifyIcon, fakes.application}, {}};
    OptionsDialog options{fakes.env(), fakes.options, fakes.identity};
    AboutBox about{fakes.env(), fakes.about, fakes.identity};
    ReadmeWindow readme{fakes.env()};
    std::vector<Form*> forms{&main, &options, &about, &readme};
};

bool isSystem(const std::optional<Colour>& c) { return c && std::holds_alternative<SystemColour>(*c); }

// What the theme keeps readable: its text colours on their own backgrounds.
bool readable(SystemColour text, SystemColour back) {
    using S = SystemColour;
    return (back == S::Window && text == S::WindowText) || (back == S::Highlight && text == S::HighlightText) ||
           (back == S::ButtonFace && (text == S::ButtonText || text == S::HotLight));
}

TEST_F(HighContrast, EveryDesignedColourGivesWayToAReadableSystemPair) {
    readme.Show();  // the "OK" label's colour comes from its activation
    for (Form* form : forms) {
        EXPECT_EQ(formBackground(form->design(), true), Colour{SystemColour::ButtonFace}) << form->design().name;
        for (const Control* control : form->controls()) {
            const ControlColours c = coloursOf(*control, true);
            SCOPED_TRACE(form->design().name + "." + control->name());
            if (!c.text) {  // drawn by the system: nothing of the design may be left
                EXPECT_FALSE(c.back);
                continue;
            }
            ASSERT_TRUE(isSystem(c.text));
            const Colour back = c.back.value_or(SystemColour::ButtonFace);  // else the form's shows through
            ASSERT_TRUE(std::holds_alternative<SystemColour>(back));
            EXPECT_TRUE(readable(std::get<SystemColour>(*c.text), std::get<SystemColour>(back)));
        }
    }
    for (const MonthView* view : {&main.mv1, &main.mv3})
        for (MonthPart part : kMonthParts) EXPECT_TRUE(isSystem(monthColour(view->colors(), part, true)));
}

TEST_F(HighContrast, TurnedOffEveryWindowHasItsDesignedColoursExactly) {
    EXPECT_EQ(formBackground(readme.design(), false), Colour{0x008000u});
    EXPECT_EQ(formBackground(about.design(), false), Colour{SystemColour::ButtonFace});
    const auto rgb = [](std::optional<unsigned> v) { return v ? std::optional<Colour>(*v) : std::nullopt; };
    for (Form* form : forms)
        for (const Control* control : form->controls()) {
            SCOPED_TRACE(form->design().name + "." + control->name());
            const ControlColours c = coloursOf(*control, false);
            if (const auto* line = dynamic_cast<const Line*>(control)) {
                EXPECT_EQ(c.text, Colour{line->line().color});
                continue;
            }
            EXPECT_EQ(c.text, rgb(control->design().foreColor));
            EXPECT_EQ(c.back, rgb(control->BackColor()));
        }
    const MonthViewColors& design = main.mv1.colors();
    EXPECT_EQ(monthColour(design, MonthPart::TitleBack, false), Colour{*design.titleBack});
    EXPECT_EQ(monthColour(design, MonthPart::TitleText, false), Colour{SystemColour::Window}) << "the control's own";
}

}  // namespace
}  // namespace dv
