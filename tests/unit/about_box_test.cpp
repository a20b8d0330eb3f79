#include <algorithm>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "about_box/maker.h"
#include "about_box_fixture.h"

namespace dv {
namespace {

TEST_F(AboutBoxTest, DesignOfTheBoxAndItsControls) {
    const FormDesign& d = box.design();
    EXPECT_EQ(d.clientWidth, 5040);
    EXPECT_EQ(d.clientHeight, 2970);
    EXPECT_EQ(d.border, BorderStyle::FixedDialog);
    EXPECT_FALSE(d.showInTaskbar);
    EXPECT_TRUE(d.centred);

    // Name, left, top, width, height (twips), tab index, in design order.
    using Place = std::tuple<std::string, int, int, int, int, int>;
    std::vector<Place> places;
    for (const Control* c : box.controls()) {
        const ControlDesign& cd = c->design();
        places.emplace_back(cd.name, cd.box.left, cd.box.top, cd.box.width, cd.box.height, cd.tabIndex);
    }
    const std::vector<Place> expected = {
        {"lblTitle", 480, 120, 3885, 360, 2},     {"Line1", 120, 600, 5549, 0, -1},
        {"Label1", 480, 720, 2535, 255, 4},       {"Label2", 480, 1080, 3615, 375, 5},
        {"Label4", 480, 1680, 1935, 255, 6},      {"cmdSysInfo", 480, 2280, 1245, 465, 1},
        {"Command1", 2040, 2280, 1095, 465, 3},   {"cmdOK", 3480, 2280, 1260, 465, 0},
    };
    EXPECT_EQ(places, expected);

    EXPECT_EQ(box.lblTitle.Caption(), "Dayvane-Free Version");
    EXPECT_EQ(box.lblTitle.design().font, (FontSpec{"Times New Roman", 14.25, true, true, false}));
    EXPECT_EQ(box.lblTitle.design().foreColor, 0xC00000u);
    EXPECT_EQ(box.Label4.Caption(), "Visit our Web Site");
    EXPECT_EQ(box.Label4.design().font, (FontSpec{"MS Sans Serif", 8.25, false, false, true}));
    EXPECT_EQ(box.Label4.design().foreColor, 0xFF0000u);
    EXPECT_EQ(box.Label4.design().pointer, Pointer::Hand);
    EXPECT_EQ(box.Label1.Caption(), "");
    EXPECT_EQ(box.Label2.Caption(), "");
    EXPECT_EQ(box.Line1.line().color, 0xFFFFFFu);
    EXPECT_EQ(box.Line1.line().widthPixels, 2);
    // It runs past the client area's right edge, which clips it.
    EXPECT_GT(box.Line1.line().x2, d.clientWidth);

    EXPECT_EQ(box.cmdSysInfo.Caption(), "&System Info...");
    EXPECT_EQ(box.Command1.Caption(), "Contact Us");
    EXPECT_EQ(box.Command1.design().toolTip, "Via Email");
    EXPECT_EQ(box.cmdOK.Caption(), "OK");
    EXPECT_TRUE(box.cmdOK.role().isDefault);
    EXPECT_TRUE(box.cmdOK.role().isCancel);
    for (const CommandButton* b : {&box.cmdSysInfo, &box.Command1})
        EXPECT_FALSE(b->role().isDefault || b->role().isCancel) << b->name();
}

TEST_F(AboutBoxTest, CaptionIsSetAtEveryLoad) {
    EXPECT_NE(box.Caption(), "About Dayvane");
    box.Show();
    EXPECT_EQ(screen()->caption, "About Dayvane");
    box.cmdOK.click();
    box.Show();
    EXPECT_EQ(screen()->caption, "About Dayvane");
}

TEST_F(AboutBoxTest, CaptionFollowsTheApplicationTitle) {
    fakes.identity.title = "Dayvane Beta";
    box.Show();
    EXPECT_EQ(box.Caption(), "About Dayvane Beta");
}

TEST_F(AboutBoxTest, ShownAgainWhileOpenIsTheSameBoxBroughtForward) {
    box.Show();
    fakes::FakeFormPeer* first = screen();
    box.setCaption("changed");  // Form_Load would put it back
    box.Show();
    EXPECT_EQ(screen(), first);
    EXPECT_EQ(first->frontCount, 1);
    EXPECT_EQ(box.Caption(), "changed");
    EXPECT_EQ(fakes.toolkit.liveForms().size(), 1u);
}

class AboutBoxClosing : public AboutBoxTest, public ::testing::WithParamInterface<std::string> {
protected:
    void close() {
        if (GetParam() == "OK") box.cmdOK.click();
        else box.peerEvent(FormEvent::QueryUnload);
    }
};

TEST_P(AboutBoxClosing, UnloadsAndTheNextShowLoadsAfresh) {
    box.Show();
    close();
    EXPECT_FALSE(box.loaded());
    EXPECT_EQ(fakes.toolkit.alive(), 0) << "the window and every control are destroyed";

    box.Show();
    EXPECT_TRUE(box.visible());
    EXPECT_EQ(screen()->caption, "About Dayvane");
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, AboutBoxClosing, ::testing::Values("OK", "CloseBox"));

TEST_F(AboutBoxTest, LinksGoToTheShellWithTheirTargetsAndShowCommands) {
    box.Show();
    box.Command1.click();
    box.Label4.click();
    ASSERT_EQ(fakes.shell.calls.size(), 2u);
    EXPECT_EQ(fakes.shell.calls[0].owner, box.hWnd());
    EXPECT_EQ(fakes.shell.calls[0].target, "mailto:" + std::string(maker::contactEmail()));
    EXPECT_EQ(fakes.shell.calls[0].show, ShowCommand::Maximized);
    EXPECT_EQ(fakes.shell.calls[1].owner, box.hWnd());
    EXPECT_EQ(fakes.shell.calls[1].target, maker::webSite());
    EXPECT_EQ(fakes.shell.calls[1].show, ShowCommand::Normal);
    EXPECT_TRUE(box.visible()) << "the links leave the box open";
    EXPECT_TRUE(fakes.messages.prompts.empty());
}

TEST(MakerAddresses, AreWhatTheShellCanTakeWhole) {
    const std::string email(maker::contactEmail()), site(maker::webSite());
    EXPECT_EQ(std::count(email.begin(), email.end(), '@'), 1) << email;
    EXPECT_TRUE(site.starts_with("https://") || site.starts_with("http://")) << site;
    for (const std::string& address : {email, site})
        EXPECT_EQ(address.find_first_of(" \t\"\\"), std::string::npos) << address;
}

class ThrowingShell final : public ShellOpen {
public:
    void open(std::uintptr_t, std::string_view, ShowCommand) override { throw std::runtime_error("no shell"); }
};

TEST(AboutBoxLinkFailure, MailLinkEndsQuietlyAndWebLinkIsReportedByTheRuntime) {
    fakes::FakePlatform fakes;
    ThrowingShell shell;
    AboutBox box(fakes.env(), {shell, fakes.registry, fakes.files, fakes.processes}, fakes.identity);
    box.Show();
    box.Command1.click();
    EXPECT_TRUE(fakes.messages.prompts.empty());
    box.Label4.click();
    ASSERT_EQ(fakes.messages.prompts.size(), 1u);
    EXPECT_NE(fakes.messages.prompts[0].find("frmAbout.Label4_Click"), std::string::npos);
    EXPECT_TRUE(box.visible());
}

// Through the whole program: the main window's "About" shows the one box.
TEST(AboutBoxInTheProgram, AboutShowsTheSameBoxUntilItIsClosed) {
    fakes::FakePlatform fakes;
    fakes.application.whileRunning = [&] {
        ASSERT_EQ(fakes.toolkit.liveForms().size(), 1u);
        Form& main = fakes.toolkit.liveForms()[0]->form;
        const auto& items = main.menuItems();
        auto about = std::find_if(items.begin(), items.end(), [](const MenuItem* m) { return m->name() == "mnuabout"; });
        ASSERT_NE(about, items.end());
        (*about)->click();
        (*about)->click();
        ASSERT_EQ(fakes.toolkit.liveForms().size(), 2u);
        fakes::FakeFormPeer* box = fakes.toolkit.liveForms()[1];
        EXPECT_EQ(box->caption, "About Dayvane");
        EXPECT_EQ(box->shownCount, 1);
        EXPECT_EQ(box->frontCount, 1);
    };
    Platform platform = fakes.platform();
    dayvaneMain(platform);
    EXPECT_EQ(fakes.toolkit.alive(), 0);
}

}  // namespace
}  // namespace dv
