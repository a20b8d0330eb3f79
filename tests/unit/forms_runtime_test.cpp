#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "fakes/fake_services.h"

namespace dv {
namespace {

class TestForm final : public Form {
public:
    explicit TestForm(FormsEnv env) : Form(env, {.name = "frmTest", .caption = "Design caption"}) {}

    CommandButton button{*this, {.name = "cmdOk", .box = {}, .tabIndex = 0}, "OK"};
    MonthView view{*this, {.name = "mvDay", .box = {}, .tabIndex = 1}, {}};
    CheckBox check{*this, {.name = "chkOn", .box = {}, .tabIndex = 2}, "On"};
    OptionButton first{*this, {.name = "optA", .box = {}, .tabIndex = 3}, "A"};
    OptionButton second{*this, {.name = "optB", .box = {}, .tabIndex = 4}, "B"};
    Label label{*this, {.name = "lblGo", .box = {}}, "Go"};
    TextBox text{*this, {.name = "txtNote", .box = {}, .tabIndex = 5}, {}, "note"};
    Timer timer{*this, "tmrTick", 1000};
    MenuItem menu{*this, "mnuGo", "Go"};
    MenuItem subMenu{*this, "mnuGoOn", "On", &menu};
    int loads = 0;
    std::function<void()> onLoad;

private:
    void Form_Load() override { ++loads; if (onLoad) onLoad(); }
};

class FormsRuntime : public ::testing::Test {
protected:
    FormsRuntime() { form.Show(); }
    fakes::FakePlatform fakes;
    TestForm form{fakes.env()};
    fakes::FakeFormPeer& screen() { return *fakes.toolkit.form(form); }
    fakes::FakeControlPeer& shown(const Control& c) { return *fakes.toolkit.peer(c); }
};

TEST_F(FormsRuntime, ShowLoadsOnceHideKeepsEverythingAndShowingAgainBringsToFront) {
    form.moveTo({5, 6});
    EXPECT_EQ(std::tuple(form.hWnd(), form.dpi(), form.position()), std::tuple(screen().handle(), 96, Point{5, 6}));
    EXPECT_EQ(form.menuItems(), (std::vector<MenuItem*>{&form.menu, &form.subMenu}));
    form.Show();
    EXPECT_EQ(screen().frontCount, 1);
    form.setCaption("Changed");
    form.view.setValue({2030, 7, 14});
    form.Hide();
    EXPECT_FALSE(form.visible() || screen().visible);
    form.bringToFront();  // a hidden window stays hidden
    form.Show();
    EXPECT_EQ(std::tuple(form.loads, screen().frontCount, screen().shownCount), std::tuple(1, 1, 2));
    EXPECT_EQ(screen().caption, "Changed");
    EXPECT_EQ(fakes.toolkit.peer(form.view)->selection, (Date{2030, 7, 14}));
    EXPECT_EQ(fakes.toolkit.created(), 9) << "the form, seven controls and the timer";
}

TEST_F(FormsRuntime, CloseBoxUnloadsAndTheNextShowStartsFromTheDesign) {
    form.setCaption("Changed");
    form.view.setValue({2030, 7, 14});
    form.check.setValue(kChecked);
    form.first.setValue(true);
    for (Control* c : form.controls()) c->setEnabled(false);
    form.peerEvent(FormEvent::QueryUnload);
    EXPECT_FALSE(form.visible());
    EXPECT_EQ(std::tuple(fakes.toolkit.alive(), form.outerSize()), std::tuple(0, Size{}));
    form.Show();
    EXPECT_EQ(std::tuple(form.loads, screen().caption), std::tuple(2, "Design caption"));
    EXPECT_EQ(fakes.toolkit.peer(form.view)->selection, (Date{2005, 12, 6}));
    EXPECT_EQ(std::tuple(form.check.Value(), form.first.Value()), std::tuple(kUnchecked, false));
    for (Control* c : form.controls()) EXPECT_TRUE(c->Enabled()) << c->name();
    EXPECT_TRUE(fakes.toolkit.peer(form.timer)->running());

    form.onLoad = [this] { form.Unload(); };  // a form that unloads itself while loading is not shown
    form.Unload();
    form.Show();
    EXPECT_EQ(std::tuple(form.visible(), fakes.toolkit.alive()), std::tuple(false, 0));
}

// A handler's failure is told with the handler's name; the form goes on.
TEST_F(FormsRuntime, HandlerFailureIsReportedByNameAndTheFormGoesOn) {
    form.onLoad = [] { throw std::runtime_error("disk full"); };
    form.Unload();
    ASSERT_NO_THROW(form.Show());
    form.menu.onClick = [] { throw 42; };
    form.menu.click();
    const std::string in = "Dayvane could not complete frmTest.";
    EXPECT_EQ(fakes.messages.prompts, (std::vector{in + "Form_Load: disk full", in + "mnuGo_Click: an unknown error"}));
    EXPECT_TRUE(form.visible());
}

TEST_F(FormsRuntime, DisabledOrHiddenControlsIgnoreClicksAndFocusButKeepTheirState) {
    int clicks = 0;
    form.button.onClick = [&] { ++clicks; };
    form.label.onClick = [&] { ++clicks; };
    form.view.SetFocus();
    EXPECT_TRUE(form.view.hasFocus());
    form.button.setEnabled(false);
    form.label.setEnabled(false);
    form.text.setVisible(false);
    form.button.click();
    form.label.click();
    form.button.SetFocus();
    form.text.SetFocus();
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(shown(form.button).enabled || shown(form.text).visible);
    EXPECT_FALSE(form.button.hasFocus() || form.text.hasFocus());
    form.check.setEnabled(false);
    form.check.setValue(kChecked);  // by code, even while disabled
    EXPECT_EQ(shown(form.check).checked, kChecked);
    form.text.setSelStart(7);
    EXPECT_EQ(shown(form.text).selStart, 7);
    form.text.setSelStart(-3);
    EXPECT_EQ(shown(form.text).selStart, 0);
}

TEST_F(FormsRuntime, TimerTicksOnlyWhileEnabledAndEveryIntervalChangeRearms) {
    int ticks = 0;
    form.timer.onTimer = [&] { ++ticks; };
    Timer idle(form, "tmrIdle", 500, false);
    form.Unload();
    form.Show();
    EXPECT_FALSE(fakes.toolkit.peer(idle)->running());
    fakes::FakeControlPeer& t = *fakes.toolkit.peer(form.timer);
    EXPECT_EQ(t.interval, 1000);
    t.elapse();
    form.timer.setEnabled(false);
    EXPECT_FALSE(t.running());
    form.timer.setInterval(250);
    form.timer.tick();  // a late message from the system
    EXPECT_EQ(std::tuple(t.running(), ticks), std::tuple(false, 1));
    form.timer.setEnabled(true);
    EXPECT_EQ(t.interval, 250);
    const int arms = t.armCount;
    form.timer.setInterval(250);  // same interval: the wait still starts over
    EXPECT_EQ(std::tuple(t.interval, t.armCount), std::tuple(250, arms + 1));
    form.timer.setInterval(-5);
    form.timer.tick();
    EXPECT_EQ(std::tuple(t.running(), ticks), std::tuple(false, 1));
}

// A check box clicks on every change of its state and ignores other values; an option button's group is the form.
TEST_F(FormsRuntime, CheckBoxAndOptionButtonsClickOnlyOnAChange) {
    int clicks = 0;
    form.check.onClick = [&] { ++clicks; };
    form.first.onClick = [&] { ++clicks; };
    for (int value : {1, 1, 3, -1, 2}) form.check.setValue(value);  // checked twice, out of range, grayed
    EXPECT_EQ(std::tuple(form.check.Value(), shown(form.check).checked, clicks), std::tuple(kGrayed, kGrayed, 2));
    form.check.userClicked();  // a click clears a grayed box
    EXPECT_EQ(std::tuple(form.check.Value(), clicks), std::tuple(kUnchecked, 3));
    form.first.userClicked();
    form.first.userClicked();
    form.second.setValue(true);
    EXPECT_EQ(std::tuple(form.first.Value(), shown(form.first).checked, clicks), std::tuple(false, 0, 4));
    form.second.setValue(false);
    EXPECT_FALSE(form.second.Value() || shown(form.second).checked);
}

TEST_F(FormsRuntime, LineBoxSpansBothEndsWhicheverWayItIsDrawn) {
    const struct { LineDesign line; std::vector<int> box; } cases[] = {  // box: left, top, width, height
        {{120, 600, 5669, 600}, {120, 600, 5549, 0}}, {{40, 90, 10, 20}, {10, 20, 30, 70}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.x1);
        const TwipsBox box = Line(form, "Line1", c.line).design().box;
        EXPECT_EQ((std::vector{box.left, box.top, box.width, box.height}), c.box);
    }
}

// A month view holds a real day in its range; writing Year or Month settles the day or is ignored.
TEST_F(FormsRuntime, MonthViewStaysInRangeOnARealDayAndSelChangeComesFromTheUser) {
    enum Part { kValue, kYear, kMonth };
    const struct { Date start; Part part; int value; Date out; } cases[] = {
        {{1752, 12, 31}, kValue, 0, {1753, 1, 1}},   {{10000, 1, 1}, kValue, 0, {9999, 12, 31}},
        {{2023, 13, 5}, kValue, 0, {2023, 12, 5}},
        {{2024, 2, 30}, kValue, 0, {2024, 2, 29}},   {{2023, 2, 29}, kValue, 0, {2023, 2, 28}},
        {{2024, 1, 31}, kMonth, 2, {2024, 2, 29}},   {{2024, 1, 15}, kMonth, 12, {2024, 12, 15}},
        {{2024, 5, 5}, kMonth, 0, {2024, 5, 5}},     {{2024, 5, 5}, kMonth, 13, {2024, 5, 5}},
        {{2024, 5, 5}, kMonth, 1, {2024, 1, 5}},
        {{2000, 2, 29}, kYear, 1900, {1900, 2, 28}},
        {{2024, 5, 5}, kYear, 1753, {1753, 5, 5}},   {{2024, 5, 5}, kYear, 9999, {9999, 5, 5}},
        {{2024, 5, 5}, kYear, 1752, {2024, 5, 5}},   {{2024, 5, 5}, kYear, 10000, {2024, 5, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        form.view.setValue(c.start);
        if (c.part == kYear) form.view.setYear(c.value);
        if (c.part == kMonth) form.view.setMonth(c.value);
        EXPECT_EQ(form.view.Value(), c.out);
        EXPECT_EQ(fakes.toolkit.peer(form.view)->selection, c.out);
    }
    const MonthViewDesign range{.value = {1999, 5, 5}, .minDate = {2000, 1, 1}, .colors = {}};
    EXPECT_EQ(MonthView(form, {.name = "mvNarrow", .box = {}}, range).Value(), (Date{2000, 1, 1}));

    int changes = 0;  // SelChange comes only when the user changes the day
    form.view.onSelChange = [&] { ++changes; };
    fakes::FakeControlPeer& screen = *fakes.toolkit.peer(form.view);
    screen.pick(form.view.Value());
    screen.pick({2031, 3, 3});
    EXPECT_EQ(std::tuple(changes, form.view.Value()), std::tuple(1, Date{2031, 3, 3}));
    form.view.setValue({1753, 1, 1});  // by code: no event
    screen.pick({1700, 1, 1});         // clamps onto the same day
    EXPECT_EQ(changes, 1);
}

}  // namespace
}  // namespace dv
