#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_services.h"
#include "readme_window/readme_text.h"
#include "readme_window/readme_window.h"

namespace dv {
namespace {

class ReadmeWindowTest : public ::testing::Test {
protected:
    fakes::FakePlatform fakes;
    ReadmeWindow window{fakes.env()};

    fakes::FakeFormPeer* screen() { return fakes.toolkit.form(window); }
    fakes::FakeControlPeer& shown(const Control& c) { return *fakes.toolkit.peer(c); }
    std::optional<unsigned> okColour() { return shown(window.Label3).backColor; }
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(text.substr(from, end - from));
    EXPECT_EQ(from, text.size()) << "nothing may follow the last CR LF";
    return lines;
}

TEST(ReadmeText, IsTheDesignedTextByteForByte) {
    const std::string& text = readmeText();
    const std::vector<std::string> expected = {
        "Thank you for using Free Dayvane.",
        "Hope you find it useful and handy.",
        "",
        "The photo appearing in the calendar can be changed with",
        "one of your favorites photos that can be your friend, family,",
        "boyfriend of girlfriend.",
        "",
        "",
        "",
        "",
        "a price of  USD 5.00. Further, if you wish to have a" + std::string(1, ' '),
        "",
        "priced at 10.00",
        "",
        "If interested, please visit our web site (check \"About\")" + std::string(22, ' '),
        std::string(79, ' '),
        "There are two options provided in this Dayvane.",
        "You are advised to check them out and add" + std::string(1, ' '),
        "Dayvane to startup menu which means the",
        "Dayvane will start automatically with Windows.",
        "",
        "Good day",
        "",
        "Keep Smiling !",
    };
    EXPECT_EQ(linesOf(text), expected);
    // Only CR LF pairs end lines, and every byte is plain ASCII text.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 24);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 24);
    EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                            [](char c) { return c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F); }));
}

TEST_F(ReadmeWindowTest, DesignOfTheWindowAndItsControls) {
    const FormDesign& d = window.design();
    EXPECT_EQ(d.clientWidth, 4635);
    EXPECT_EQ(d.clientHeight, 6030);
    EXPECT_EQ(d.border, BorderStyle::None);
    EXPECT_FALSE(d.showInTaskbar);
    EXPECT_TRUE(d.centred);
    EXPECT_EQ(d.backColor, 0x008000u);

    EXPECT_EQ(window.Label1.Caption(), "ReadMe - Dayvane");
    EXPECT_EQ(window.Label1.design().font, (FontSpec{"Times New Roman", 12, true}));
    EXPECT_EQ(window.Label1.design().foreColor, 0xFFFFFFu);
    EXPECT_FALSE(window.Label1.design().backColor) << "transparent: the window's green shows";
    EXPECT_EQ(window.Picture1.imageResource(), 0);
    EXPECT_EQ(window.Picture1.design().backColor, 0x008000u);
    EXPECT_EQ(window.Label3.Caption(), "OK");
    EXPECT_EQ(window.Label3.design().font, (FontSpec{"MS Sans Serif", 9.75, true}));
    EXPECT_EQ(window.Label3.design().foreColor, 0xFFFF00u);
    EXPECT_EQ(window.Label3.design().alignment, Alignment::Center);
    EXPECT_EQ(window.Text1.Text(), readmeText());
    EXPECT_TRUE(window.Text1.textDesign().multiLine);
    EXPECT_TRUE(window.Text1.textDesign().readOnly);
    EXPECT_EQ(window.Text1.design().backColor, 0xC0E0FFu);
    EXPECT_EQ(window.Text1.design().font, (FontSpec{"MS Sans Serif", 8.25}));

    std::vector<std::pair<std::string, int>> order;
    for (const Control* c : window.controls()) order.emplace_back(c->name(), c->design().tabIndex);
    const std::vector<std::pair<std::string, int>> expected = {
        {"Label1", 0}, {"Picture1", 1}, {"Label3", 2}, {"Text1", 3}};
    EXPECT_EQ(order, expected);
}

TEST_F(ReadmeWindowTest, OkLightsUpUnderTheMouseAndGoesBackOverTextOrBackground) {
    window.Show();
    window.peerEvent(FormEvent::Activate);
    EXPECT_EQ(okColour(), okcolor::kNormal);

    // Each step: where the mouse moves, and the colour it leaves.
    struct Step {
        const char* over;
        unsigned colour;
    };
    const Step steps[] = {
        {"Label3", okcolor::kHover},   {"Text1", okcolor::kNormal}, {"Label3", okcolor::kHover},
        {"form", okcolor::kNormal},    {"Label3", okcolor::kHover},
        // Neither the title nor the focus holder has a handler: the hover stays.
        {"Label1", okcolor::kHover},   {"Picture1", okcolor::kHover},
    };
    for (const Step& step : steps) {
        const std::string over = step.over;
        if (over == "form") window.peerEvent(FormEvent::MouseMove);
        if (over == "Label3") window.Label3.mouseMove();
        if (over == "Text1") window.Text1.mouseMove();
        if (over == "Label1") window.Label1.mouseMove();
        if (over == "Picture1") window.Picture1.mouseMove();
        EXPECT_EQ(okColour(), step.colour) << "after a move over " << over;
    }
    // The next activation resets it, and puts the insertion point first.
    shown(window.Text1).selStart = 40;
    window.peerEvent(FormEvent::Activate);
    EXPECT_EQ(okColour(), okcolor::kNormal);
    EXPECT_EQ(shown(window.Text1).selStart, 0);
}

TEST_F(ReadmeWindowTest, TheTextNeverKeepsTheFocus) {
    window.Show();
    window.Text1.gotFocus();
    EXPECT_TRUE(shown(window.Picture1).focused);
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

class ReadmeWindowAway : public ReadmeWindowTest, public ::testing::WithParamInterface<std::string> {
protected:
    void putAway() {
        const std::string way = GetParam();
        if (way == "OK") window.Label3.click();
        if (way == "Enter") window.peerEvent(FormEvent::DialogKey, static_cast<int>(DialogKey::Enter));
        if (way == "Esc") window.peerEvent(FormEvent::DialogKey, static_cast<int>(DialogKey::Escape));
    }
};

TEST_P(ReadmeWindowAway, HidesAndTheNextShowIsTheSameWindowReset) {
    window.Show();
    window.peerEvent(FormEvent::Activate);
    window.Label3.mouseMove();
    fakes::FakeFormPeer* first = screen();
    putAway();
    EXPECT_FALSE(window.visible());
    EXPECT_TRUE(window.loaded()) << "hidden, not unloaded";
    EXPECT_FALSE(first->visible);

    window.Show();
    window.peerEvent(FormEvent::Activate);  // what showing a window brings
    EXPECT_EQ(screen(), first);
    EXPECT_TRUE(first->visible);
    EXPECT_EQ(okColour(), okcolor::kNormal);
    EXPECT_EQ(fakes.toolkit.liveForms().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Ways, ReadmeWindowAway, ::testing::Values("OK", "Enter", "Esc"));

// Through the whole program: "Add own photo" shows the one read-me window.
TEST(ReadmeWindowInTheProgram, AddOwnPhotoShowsTheSameWindowAgain) {
    fakes::FakePlatform fakes;
    fakes.application.whileRunning = [&] {
        Form& main = fakes.toolkit.liveForms().at(0)->form;
        const auto& items = main.menuItems();
        auto photo = std::find_if(items.begin(), items.end(), [](const MenuItem* m) { return m->name() == "mnuphoto"; });
        ASSERT_NE(photo, items.end());
        (*photo)->click();
        ASSERT_EQ(fakes.toolkit.liveForms().size(), 2u);
        fakes::FakeFormPeer* readme = fakes.toolkit.liveForms()[1];
        auto& window = static_cast<ReadmeWindow&>(readme->form);
        window.Label3.click();
        EXPECT_FALSE(readme->visible);
        (*photo)->click();
        EXPECT_EQ(fakes.toolkit.liveForms().at(1), readme);
        EXPECT_TRUE(readme->visible);
    };
    Platform platform = fakes.platform();
    dayvaneMain(platform);
}

}  // namespace
}  // namespace dv
