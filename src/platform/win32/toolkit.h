#pragma once

#include "handles.h"
#include "peers_win32.h"
#include "platform/peers.h"
#include "win32.h"

namespace dv::win32 {

class Toolkit final : public dv::Toolkit {
public:
    explicit Toolkit(HINSTANCE instance);

    std::unique_ptr<FormPeer> createForm(Form& form) override;
    std::unique_ptr<ControlPeer> createButton(FormPeer& parent, CommandButton& button) override;
    std::unique_ptr<ControlPeer> createPicture(FormPeer& parent, PictureBox& picture) override;
    std::unique_ptr<MonthViewPeer> createMonthView(FormPeer& parent, MonthView& view) override;
    std::unique_ptr<TimerPeer> createTimer(FormPeer& parent, Timer& timer) override;
    std::unique_ptr<ControlPeer> createCheckBox(FormPeer& parent, CheckBox& box) override;
    std::unique_ptr<ControlPeer> createOptionButton(FormPeer& parent, OptionButton& option) override;
    std::unique_ptr<ControlPeer> createLabel(FormPeer& parent, Label& label) override;
    std::unique_ptr<ControlPeer> createLine(FormPeer& parent, Line& line) override;
    std::unique_ptr<ControlPeer> createTextBox(FormPeer& parent, TextBox& text) override;

private:
    HINSTANCE instance_;
    UniqueWindow owner_;  // hidden; owns the forms that keep off the taskbar
    MonthViewFonts monthViewFonts_;
};

}  // namespace dv::win32
