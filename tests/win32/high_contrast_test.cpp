#include <gtest/gtest.h>

#include "platform/text_controls.h"
#include "support.h"

namespace dv::test {
namespace {

// Wine cannot switch high contrast on: the test sets what the windows read
// and notifies them as the system does. The design's colours are no system colour.
struct Settable final : Accessibility {
    bool on = false;
    bool highContrast() const override { return on; }
};

struct Painted final : Form {
    Painted(dv::Toolkit& kit, MessageBox& messages)
        : Form({kit, messages}, {.name = "frmpainted", .caption = "", .clientWidth = 3000, .clientHeight = 3000}),
          view(*this, {.name = "view", .box = {0, 0, 2700, 2370}},
               {.colors = {.titleBack = 0x224466, .text = 0x4488AA}}),
          link(*this, {.name = "link", .box = {0, 2500, 2000, 255}, .foreColor = 0x5599BB, .link = true}, "Link") {}
    MonthView view;
    Label link;
};

bool isSystemColour(COLORREF c) {
    for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i)
        if (::GetSysColor(i) == c) return true;
    return false;
}

TEST(HighContrastWindows, FollowTheSettingAtOnceAndGoBackToTheDesignExactly) {
    Settable accessibility;
    win32::Toolkit kit{instance(), accessibility};
    RecordingMessageBox messages;
    Painted form{kit, messages};
    form.Show();
    HWND hwnd = reinterpret_cast<HWND>(form.hWnd());
    HWND view = ::FindWindowExW(hwnd, nullptr, MONTHCAL_CLASSW, nullptr);
    const auto part = [&](int index) { return static_cast<COLORREF>(::SendMessageW(view, MCM_GETCOLOR, index, 0)); };
    const auto linkText = [&] {
        HDC dc = ::CreateCompatibleDC(nullptr);
        ::SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(::FindWindowExW(hwnd, nullptr, L"Static", L"Link")));
        const COLORREF text = ::GetTextColor(dc);
        ::DeleteDC(dc);
        return text;
    };
    const COLORREF titleText = part(MCSC_TITLETEXT);

    accessibility.on = true;
    ::SendMessageW(hwnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    for (int index : {MCSC_TITLEBK, MCSC_TITLETEXT, MCSC_MONTHBK, MCSC_TEXT, MCSC_TRAILINGTEXT, MCSC_BACKGROUND})
        EXPECT_TRUE(isSystemColour(part(index))) << "month view part " << index;
    EXPECT_TRUE(isSystemColour(linkText()));

    accessibility.on = false;
    ::SendMessageW(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(part(MCSC_TITLEBK), 0x224466u);
    EXPECT_EQ(part(MCSC_TEXT), 0x4488AAu);
    EXPECT_EQ(part(MCSC_TITLETEXT), titleText);
    EXPECT_EQ(linkText(), 0x5599BBu);
}

}  // namespace
}  // namespace dv::test
