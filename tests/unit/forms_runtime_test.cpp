#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "fakes/fake_services.h"
#include "platform/controls.h"
#include "platform/form.h"

namespace dv {
namespace {

using fakes::FakePlatform;

class TestForm final : public Form {
public:
    explicit TestForm(FormsEnv env)
        : Form(env, {.name = "frmTest", .caption = "Design caption", .clientWidth = 3000, .clientHeight = 2000}) {}

    CommandButton button{*this, {.name = "cmdOk", .box = {120, 120, 900, 375}, .tabIndex = 0}, "OK"};
    MonthView view{*this, {.name = "mvDay", .box = {0, 600, 2700, 2370}, .tabIndex = 1}, {}};
    Timer timer{*this, "tmrTick", 1000};
    MenuItem menu{*this, "mnuGo", "Go"};

    int loads = 0;
    std::function<void()> onLoad;

private:
    void Form_Load() override {
        ++loads;
        if (onLoad) onLoad();
    }
};

class FormsRuntime : public ::testing::Test {
protected:
    FakePlatform fakes;
    TestForm form{fakes.env()};
    fakes::FakeFormPeer* peer() { return fakes.toolkit.form(form); }
};

TEST_F(FormsRuntime, ShowLoadsOnceAndShowingAgainBringsToFront) {
    ASSERT_FALSE(form.loaded());
    form.Show();
    ASSERT_NE(peer(), nullptr);
    EXPECT_EQ(form.loads, 1);
    EXPECT_TRUE(peer()->visible);
    EXPECT_EQ(peer()->caption, "Design caption");
    EXPECT_EQ(fakes.toolkit.timer(form.timer)->interval, 1000);

    form.Show();
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(peer()->shownCount, 1);
    EXPECT_EQ(peer()->frontCount, 1);
    EXPECT_EQ(fakes.toolkit.destroyed(), 0);
}

TEST_F(FormsRuntime, HideKeepsStateAndShowBringsItBackAsItWas) {
    form.Show();
    form.setCaption("Changed");
    form.view.setValue({2030, 7, 14});
    form.button.setEnabled(false);
    const int peersBefore = fakes.toolkit.created();

    form.Hide();
    EXPECT_FALSE(peer()->visible);
    EXPECT_TRUE(form.loaded());
    form.bringToFront();  // a hidden window stays hidden
    EXPECT_EQ(peer()->frontCount, 0);

    form.Show();
    EXPECT_EQ(form.loads, 1);
    EXPECT_EQ(fakes.toolkit.created(), peersBefore);
    EXPECT_TRUE(peer()->visible);
    EXPECT_EQ(peer()->caption, "Changed");
    EXPECT_EQ(fakes.toolkit.monthView(form.view)->selection, (Date{2030, 7, 14}));
    EXPECT_FALSE(fakes.toolkit.control(form.button)->enabled);
}

TEST_F(FormsRuntime, UnloadDestroysEveryPeerAndTheNextShowLoadsAfresh) {
    form.Show();
    form.setCaption("Changed");
    form.view.setValue({2030, 7, 14});

    form.Unload();
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(fakes.toolkit.alive(), 0);
    EXPECT_EQ(fakes.toolkit.destroyed(), 4);  // form, button, view, timer

    form.Show();
    EXPECT_EQ(form.loads, 2);
    EXPECT_EQ(form.Caption(), "Design caption");
    EXPECT_EQ(peer()->caption, "Design caption");
    EXPECT_TRUE(peer()->visible);
    // Loaded afresh, the controls start from their design again.
    EXPECT_EQ(form.view.Value(), (Date{2005, 12, 6}));
    EXPECT_EQ(fakes.toolkit.monthView(form.view)->selection, (Date{2005, 12, 6}));
    EXPECT_TRUE(fakes.toolkit.timer(form.timer)->running());
}

TEST_F(FormsRuntime, FormThatUnloadsItselfWhileLoadingIsNotShown) {
    form.onLoad = [this] { form.Unload(); };
    form.Show();
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(fakes.toolkit.alive(), 0);
}

TEST_F(FormsRuntime, DestroyingTheFormDestroysItsPeers) {
    {
        TestForm other(fakes.env());
        other.Show();
        EXPECT_EQ(fakes.toolkit.alive(), 4);
    }
    EXPECT_EQ(fakes.toolkit.alive(), 0);
}

struct HandlerCase {
    const char* name;
    std::function<void(TestForm&, std::function<void()>)> install;
    std::function<void(TestForm&)> raise;
};

class FailingHandler : public FormsRuntime, public ::testing::WithParamInterface<HandlerCase> {};

TEST_P(FailingHandler, IsReportedByNameAndTheFormGoesOn) {
    const HandlerCase& c = GetParam();
    c.install(form, [] { throw std::runtime_error("disk full"); });
    ASSERT_NO_THROW(c.raise(form));
    ASSERT_EQ(fakes.messages.prompts.size(), 1u);
    EXPECT_NE(fakes.messages.prompts[0].find(c.name), std::string::npos) << fakes.messages.prompts[0];
    EXPECT_NE(fakes.messages.prompts[0].find("disk full"), std::string::npos) << fakes.messages.prompts[0];
    EXPECT_TRUE(form.visible());

    int runs = 0;
    c.install(form, [&] { ++runs; });
    c.raise(form);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(fakes.messages.prompts.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, FailingHandler,
    ::testing::Values(
        HandlerCase{"frmTest.Form_Load", [](TestForm& f, auto h) { f.onLoad = h; },
                    [](TestForm& f) { f.Unload(); f.Show(); }},
        HandlerCase{"frmTest.cmdOk_Click", [](TestForm& f, auto h) { f.button.onClick = h; },
                    [](TestForm& f) { f.Show(); f.button.click(); }},
        HandlerCase{"frmTest.mvDay_SelChange", [](TestForm& f, auto h) { f.view.onSelChange = h; },
                    [](TestForm& f) {
                        f.Show();
                        f.view.userSelected(f.view.Value() == Date{2020, 1, 1} ? Date{2020, 1, 2} : Date{2020, 1, 1});
                    }},
        HandlerCase{"frmTest.mvDay_DblClick", [](TestForm& f, auto h) { f.view.onDblClick = h; },
                    [](TestForm& f) { f.Show(); f.view.dblClick(); }},
        HandlerCase{"frmTest.tmrTick_Timer", [](TestForm& f, auto h) { f.timer.onTimer = h; },
                    [](TestForm& f) { f.Show(); f.timer.tick(); }},
        HandlerCase{"frmTest.mnuGo_Click", [](TestForm& f, auto h) { f.menu.onClick = h; },
                    [](TestForm& f) { f.Show(); f.menu.click(); }}),
    [](const auto& info) { return std::string(info.param.name).substr(std::string_view("frmTest.").size()); });

TEST_F(FormsRuntime, FailureThatIsNoExceptionIsReportedToo) {
    form.Show();
    form.button.onClick = [] { throw 42; };
    form.button.click();
    ASSERT_EQ(fakes.messages.prompts.size(), 1u);
    EXPECT_NE(fakes.messages.prompts[0].find("frmTest.cmdOk_Click"), std::string::npos);
}

TEST_F(FormsRuntime, DisabledButtonIgnoresClicksAndFocus) {
    int clicks = 0;
    form.button.onClick = [&] { ++clicks; };
    form.Show();
    form.button.setEnabled(false);
    form.button.click();
    form.button.SetFocus();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(fakes.toolkit.control(form.button)->enabled);
    EXPECT_FALSE(form.button.hasFocus());

    form.button.setEnabled(true);
    form.button.click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormsRuntime, TimerTicksOnlyWhileEnabledAndEveryIntervalChangeRearms) {
    int ticks = 0;
    form.timer.onTimer = [&] { ++ticks; };
    form.Show();
    fakes::FakeTimerPeer& t = *fakes.toolkit.timer(form.timer);

    form.timer.tick();
    EXPECT_EQ(ticks, 1);

    form.timer.setEnabled(false);
    EXPECT_FALSE(t.running());
    form.timer.tick();  // a late message from the system
    EXPECT_EQ(ticks, 1);
    form.timer.setInterval(250);
    EXPECT_FALSE(t.running());

    form.timer.setEnabled(true);
    EXPECT_EQ(t.interval, 250);
    const int arms = t.armCount;
    form.timer.setInterval(250);  // same interval: the wait still starts over
    EXPECT_EQ(t.armCount, arms + 1);

    form.timer.setInterval(0);
    EXPECT_FALSE(t.running());
    form.timer.tick();
    EXPECT_EQ(ticks, 1);
}

TEST_F(FormsRuntime, TimerDesignedDisabledStartsStopped) {
    Timer idle(form, "tmrIdle", 500, false);
    form.Show();
    EXPECT_FALSE(fakes.toolkit.timer(idle)->running());
}

// ---- MonthView ----

struct ClampCase {
    Date in, out;
};

class MonthViewClamp : public FormsRuntime, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(MonthViewClamp, ValueStaysInRangeAndOnARealDay) {
    form.Show();
    form.view.setValue(GetParam().in);
    EXPECT_EQ(form.view.Value(), GetParam().out);
    EXPECT_EQ(fakes.toolkit.monthView(form.view)->selection, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Dates, MonthViewClamp,
                         ::testing::Values(ClampCase{{1752, 12, 31}, {1753, 1, 1}},
                                           ClampCase{{1, 1, 1}, {1753, 1, 1}},
                                           ClampCase{{1753, 1, 1}, {1753, 1, 1}},
                                           ClampCase{{9999, 12, 31}, {9999, 12, 31}},
                                           ClampCase{{10000, 1, 1}, {9999, 12, 31}},
                                           ClampCase{{2024, 2, 30}, {2024, 2, 29}},
                                           ClampCase{{2023, 2, 29}, {2023, 2, 28}},
                                           ClampCase{{2023, 4, 31}, {2023, 4, 30}}));

TEST(MonthViewDesign, ValueOutsideADesignedRangeStartsClamped) {
    FakePlatform fakes;
    TestForm form(fakes.env());
    MonthViewDesign range;
    range.value = {1999, 5, 5};
    range.minDate = {2000, 1, 1};
    range.maxDate = {2000, 12, 31};
    MonthView narrow(form, {.name = "mvNarrow", .box = {}}, range);
    EXPECT_EQ(narrow.Value(), (Date{2000, 1, 1}));
    narrow.setYear(2001);
    EXPECT_EQ(narrow.Value(), (Date{2000, 1, 1}));
}

enum class Part { Year, Month };

struct PartCase {
    Date start;
    Part part;
    int value;
    Date out;
};

class MonthViewPart : public FormsRuntime, public ::testing::WithParamInterface<PartCase> {};

TEST_P(MonthViewPart, WritingYearOrMonthSettlesTheDayOrIsIgnored) {
    const PartCase& c = GetParam();
    form.view.setValue(c.start);
    if (c.part == Part::Year)
        form.view.setYear(c.value);
    else
        form.view.setMonth(c.value);
    EXPECT_EQ(form.view.Value(), c.out);
}

INSTANTIATE_TEST_SUITE_P(Writes, MonthViewPart,
                         ::testing::Values(PartCase{{2024, 1, 31}, Part::Month, 2, {2024, 2, 29}},
                                           PartCase{{2023, 1, 31}, Part::Month, 2, {2023, 2, 28}},
                                           PartCase{{2024, 3, 31}, Part::Month, 4, {2024, 4, 30}},
                                           PartCase{{2024, 1, 15}, Part::Month, 2, {2024, 2, 15}},
                                           PartCase{{2024, 2, 29}, Part::Year, 2023, {2023, 2, 28}},
                                           PartCase{{2000, 2, 29}, Part::Year, 1900, {1900, 2, 28}},
                                           PartCase{{2024, 5, 5}, Part::Year, 1752, {2024, 5, 5}},
                                           PartCase{{2024, 5, 5}, Part::Year, 10000, {2024, 5, 5}},
                                           PartCase{{2024, 5, 5}, Part::Month, 0, {2024, 5, 5}},
                                           PartCase{{2024, 5, 5}, Part::Month, 13, {2024, 5, 5}}));

TEST_F(FormsRuntime, MonthViewUserSelectionRaisesSelChangeOnlyOnAChange) {
    int changes = 0;
    form.view.onSelChange = [&] { ++changes; };
    form.Show();
    fakes::FakeMonthViewPeer& screen = *fakes.toolkit.monthView(form.view);

    screen.pick(form.view.Value());
    EXPECT_EQ(changes, 0);
    screen.pick({2031, 3, 3});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(form.view.Value(), (Date{2031, 3, 3}));

    form.view.setValue({1753, 1, 1});  // by code: no event
    screen.pick({1700, 1, 1});         // clamps onto the same day
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace dv
