#pragma once

#include <memory>

#include "child_base.h"
#include "form_window.h"

namespace dv::win32 {

std::unique_ptr<ControlPeer> makeButtonPeer(FormWindow& parent, CommandButton& button);
std::unique_ptr<ControlPeer> makePicturePeer(FormWindow& parent, PictureBox& picture);
std::unique_ptr<MonthViewPeer> makeMonthViewPeer(FormWindow& parent, MonthView& view);
std::unique_ptr<TimerPeer> makeTimerPeer(FormWindow& parent, Timer& timer);

}  // namespace dv::win32
