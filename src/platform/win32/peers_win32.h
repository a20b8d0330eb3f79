#pragma once

#include <memory>
#include <vector>

#include "child_base.h"
#include "form_window.h"
#include "platform/choice_controls.h"
#include "platform/text_controls.h"

namespace dv::win32 {

// The month views' fitted fonts, made once for each DPI and size and shared
// by the views and by every load of their window: Wine's month calendar
// keeps a bold copy of every font it is handed, for good.
class MonthViewFonts {
public:
    HFONT find(int dpi, int width, int height) const;
    HFONT keep(int dpi, int width, int height, UniqueFont font);

private:
    struct Entry {
        int dpi, width, height;
        UniqueFont font;
    };
    std::vector<Entry> entries_;
};

std::unique_ptr<ControlPeer> makeButtonPeer(FormWindow& parent, CommandButton& button);
std::unique_ptr<ControlPeer> makePicturePeer(FormWindow& parent, PictureBox& picture);
std::unique_ptr<MonthViewPeer> makeMonthViewPeer(FormWindow& parent, MonthView& view, MonthViewFonts& fonts);
std::unique_ptr<TimerPeer> makeTimerPeer(FormWindow& parent, Timer& timer);
std::unique_ptr<ControlPeer> makeCheckBoxPeer(FormWindow& parent, CheckBox& box);
std::unique_ptr<ControlPeer> makeOptionButtonPeer(FormWindow& parent, OptionButton& option);
std::unique_ptr<ControlPeer> makeLabelPeer(FormWindow& parent, Label& label);
std::unique_ptr<ControlPeer> makeTextBoxPeer(FormWindow& parent, TextBox& text);
std::unique_ptr<ControlPeer> makeLinePeer(FormWindow& parent, Line& line);

}  // namespace dv::win32
