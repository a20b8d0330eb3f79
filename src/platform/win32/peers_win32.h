#pragma once

#include <memory>

#include "child_base.h"
#include "form_window.h"
#include "platform/choice_controls.h"
#include "platform/text_controls.h"

namespace dv::win32 {

std::unique_ptr<ControlPeer> makeButtonPeer(FormWindow& parent, CommandButton& button);
std::unique_ptr<ControlPeer> makePicturePeer(FormWindow& parent, PictureBox& picture);
std::unique_ptr<MonthViewPeer> makeMonthViewPeer(FormWindow& parent, MonthView& view);
std::unique_ptr<TimerPeer> makeTimerPeer(FormWindow& parent, Timer& timer);
std::unique_ptr<ControlPeer> makeCheckBoxPeer(FormWindow& parent, CheckBox& box);
std::unique_ptr<ControlPeer> makeOptionButtonPeer(FormWindow& parent, OptionButton& option);
std::unique_ptr<ControlPeer> makeLabelPeer(FormWindow& parent, Label& label);
std::unique_ptr<ControlPeer> makeTextBoxPeer(FormWindow& parent, TextBox& text);
std::unique_ptr<ControlPeer> makeLinePeer(FormWindow& parent, Line& line);

}  // namespace dv::win32
