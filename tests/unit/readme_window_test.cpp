#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "fakes/fake_services.h"
#include "readme_window/readme_text.h"
#include "readme_window/readme_window.h"

namespace dv {
namespace {

class ReadmeWindowTest : public ::testing::Test {
protected:
    ReadmeWindowTest() { window.Show(); }
    fakes::FakePlatform fakes;
    ReadmeWindow window{fakes.env()};
    fakes::FakeControlPeer& shown(const Control& c) { return *fakes.toolkit.peer(c); }
    std::optional<unsigned> okColour() { return shown(window.Label3).backColor; }
};

// The text box shows Windows line ends and nothing a dialog font cannot draw.
TEST(ReadmeText, LinesEndInCrLfAndEveryCharacterIsPlainText) {
    const std::string& text = readmeText();
    ASSERT_TRUE(text.ends_with("\r\n"));
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        EXPECT_EQ(text[at - 1], '\r') << "at " << at;
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c >= 0x20; }));
}

// Over the text or the background OK goes back to normal; the title and the focus holder have no handler.
TEST_F(ReadmeWindowTest, OkLightsUpUnderTheMouseAndActivationResetsItAndTheInsertionPoint) {
    window.peerEvent(FormEvent::Activate);
    EXPECT_EQ(okColour(), okcolor::kNormal);
    const std::pair<Control*, unsigned> steps[] = {
        {&window.Label3, okcolor::kHover}, {&window.Text1, okcolor::kNormal}, {&window.Label3, okcolor::kHover},
        {nullptr, okcolor::kNormal},       {&window.Label3, okcolor::kHover}, {&window.Label1, okcolor::kHover},
        {&window.Picture1, okcolor::kHover}};
    for (const auto& [over, colour] : steps) {
        SCOPED_TRACE(over ? over->name() : "background");
        over ? over->mouseMove() : window.peerEvent(FormEvent::MouseMove);
        EXPECT_EQ(okColour(), colour);
    }
    window.Text1.setSelStart(40);
    window.peerEvent(FormEvent::Activate);
    EXPECT_EQ(std::tuple(okColour(), shown(window.Text1).selStart), std::tuple(okcolor::kNormal, 0));
    window.Text1.gotFocus();  // the text never keeps the focus
    EXPECT_TRUE(shown(window.Picture1).focused);
}

TEST_F(ReadmeWindowTest, OkEnterOrEscHidesItAndTheNextShowIsTheSameWindowReset) {
    const auto key = [&](DialogKey k) { window.peerEvent(FormEvent::DialogKey, static_cast<int>(k)); };
    const std::function<void()> ways[] = {
        [&] { window.Label3.click(); }, [&] { key(DialogKey::Enter); }, [&] { key(DialogKey::Escape); }};
    fakes::FakeFormPeer* first = fakes.toolkit.form(window);
    for (const auto& putAway : ways) {
        window.Label3.mouseMove();
        putAway();
        EXPECT_FALSE(window.visible() || first->visible);
        window.Show();
        window.peerEvent(FormEvent::Activate);  // what showing a window brings
        EXPECT_EQ(fakes.toolkit.liveForms(), std::vector{first}) << "hidden, not unloaded";
        EXPECT_EQ(std::tuple(first->visible, okColour()), std::tuple(true, okcolor::kNormal));
    }
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

}  // namespace
}  // namespace dv
