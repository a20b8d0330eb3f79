#pragma once

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

private:
    HINSTANCE instance_;
};

}  // namespace dv::win32
