#pragma once

#include "handles.h"
#include "control_peers.h"
#include "platform/peers.h"
#include "win32.h"

namespace dv::win32 {

class Toolkit final : public dv::Toolkit {
public:
    explicit Toolkit(HINSTANCE instance);

    std::unique_ptr<FormPeer> createForm(Form& form) override;
    std::unique_ptr<ControlPeer> createControl(FormPeer& parent, Control& control) override;

private:
    HINSTANCE instance_;
    UniqueWindow owner_;  // hidden; owns the forms that keep off the taskbar
    MonthViewFonts monthViewFonts_;
};

}  // namespace dv::win32
