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
            if (const auto back = control->BackColor()) {
                EXPECT_EQ(coloursOf(*control, false).back, std::optional<Colour>(*back)) << "off: the design's own";
            }
        }
    }
}

// Off: the design's colour where it has one, else the calendar's own; on: the theme's, readable.
TEST(HighContrast, MonthViewsShowTheirDesignOffAndTheThemeOn) {
    using S = SystemColour;
    using P = MonthPart;
    const MonthViewColors design{.titleBack = 0x102030, .text = 0x405060};
    const auto off = [&](P part) { return monthColour(design, part, false); };
    const auto on = [&](P part) { return monthColour(design, part, true); };
    EXPECT_EQ(off(P::TitleBack), Colour{0x102030u});
    EXPECT_EQ(off(P::Text), Colour{0x405060u});
    for (const auto& [part, own] : {std::pair{P::TitleText, S::Window}, {P::MonthBack, S::Window},
                                    {P::TrailingText, S::GrayText}, {P::Background, S::Window}})
        EXPECT_EQ(off(part), Colour{own});
    EXPECT_TRUE(readable(on(P::TitleText), on(P::TitleBack)));
    EXPECT_TRUE(readable(on(P::Text), on(P::MonthBack)));
    EXPECT_EQ(on(P::TrailingText), Colour{S::GrayText});
    EXPECT_EQ(on(P::Background), on(P::MonthBack));
}

}  // namespace
}  // namespace dv
