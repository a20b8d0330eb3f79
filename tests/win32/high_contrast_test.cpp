#include <gtest/gtest.h>

#include "platform/text_controls.h"
#include "support.h"

namespace dv::test {
namespace {

// Wine cannot switch a high-contrast theme on: the test sets what the
// windows read and tells them, as the system does.
class SettableAccessibility final : public Accessibility {
public:
    bool on = false;
    bool highContrast() const override { return on; }
};

// Design colours that no system colour has.
class Painted final : public Form {
public:
    Painted(dv::Toolkit& kit, MessageBox& messages)
        : Form({kit, messages}, {.name = "frmpainted", .caption = "Painted", .clientWidth = 3000, .clientHeight = 3600,
                                 .backColor = 0x123456}),
          view(*this, {.name = "view", .box = {0, 0, 2700, 2370}},
               {.colors = {.titleBack = 0x224466, .monthBack = 0x336699, .text = 0x4488AA}}),
          link(*this, {.name = "link", .box = {0, 2500, 2000, 255}, .tabIndex = 0, .foreColor = 0x5599BB,
                       .link = true}, "Link") {}
    MonthView view;
    Label link;
};

class HighContrastWindows : public ::testing::Test {
protected:
    HWND hwnd() const { return reinterpret_cast<HWND>(form.hWnd()); }
    COLORREF part(int index) const {
        return static_cast<COLORREF>(::SendMessageW(::FindWindowExW(hwnd(), nullptr, MONTHCAL_CLASSW, nullptr),
                                                    MCM_GETCOLOR, static_cast<WPARAM>(index), 0));
    }
    // What the form paints its background and the link's text with.
    std::pair<COLORREF, COLORREF> surface() const {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HBITMAP bitmap = ::CreateBitmap(2, 2, 1, 32, nullptr);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ::SendMessageW(hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const COLORREF back = ::GetPixel(dc, 0, 0);
        ::SendMessageW(hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(::FindWindowExW(hwnd(), nullptr, L"Static", L"Link")));
        const COLORREF text = ::GetTextColor(dc);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        return {back, text};
    }
    static bool systemColour(COLORREF c) {
        for (int i = COLOR_SCROLLBAR; i <= COLOR_MENUBAR; ++i)
            if (::GetSysColor(i) == c) return true;
        return false;
    }

    SettableAccessibility accessibility;
    win32::Toolkit kit{instance(), accessibility};
    RecordingMessageBox messages;
    Painted form{kit, messages};
};

TEST_F(HighContrastWindows, FollowTheSettingAtOnceAndGoBackToTheDesignExactly) {
    form.Show();
    const COLORREF titleTextBefore = part(MCSC_TITLETEXT);
    const int designed[] = {MCSC_TITLEBK, MCSC_MONTHBK, MCSC_TEXT};
    const unsigned design[] = {0x224466, 0x336699, 0x4488AA};

    accessibility.on = true;
    ::SendMessageW(hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    for (int index : {MCSC_TITLEBK, MCSC_TITLETEXT, MCSC_MONTHBK, MCSC_TEXT, MCSC_TRAILINGTEXT, MCSC_BACKGROUND})
        EXPECT_TRUE(systemColour(part(index))) << "month view part " << index;
    const auto [back, text] = surface();
    EXPECT_TRUE(systemColour(back));
    EXPECT_TRUE(systemColour(text));

    accessibility.on = false;
    ::SendMessageW(hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(part(designed[i]), design[i]);
    EXPECT_EQ(part(MCSC_TITLETEXT), titleTextBefore);
    EXPECT_EQ(surface(), std::make_pair(COLORREF{0x123456}, COLORREF{0x5599BB}));
}

}  // namespace
}  // namespace dv::test
