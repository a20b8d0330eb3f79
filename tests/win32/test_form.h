#pragma once

#include "platform/controls.h"
#include "platform/form.h"
#include "support.h"

namespace dv::test {

// A small form of our own, so that a month view can be tried alone and
// with colours the main window does not use.
class CalendarForm final : public Form {
public:
    explicit CalendarForm(MessageBox& messages, MonthViewColors colors = {})
        : Form({toolkit(), messages}, {.name = "frmcalendar",
                                       .caption = "Calendar",
                                       .clientWidth = 3000,
                                       .clientHeight = 3200,
                                       .border = BorderStyle::FixedSingle}),
          view(*this, {.name = "view", .box = {150, 120, 2700, 2370}, .tabIndex = 0}, {.colors = colors}),
          button(*this, {.name = "button", .box = {150, 2640, 1200, 375}, .tabIndex = 1}, "Press") {}

    HWND hwnd() const { return reinterpret_cast<HWND>(hWnd()); }
    HWND viewHwnd() const { return ::FindWindowExW(hwnd(), nullptr, MONTHCAL_CLASSW, nullptr); }
    HWND buttonHwnd() const { return ::FindWindowExW(hwnd(), nullptr, L"Button", L"Press"); }

    MonthView view;
    CommandButton button;
};

}  // namespace dv::test
