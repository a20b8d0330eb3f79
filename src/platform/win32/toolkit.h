#pragma once

#include "handles.h"
#include "control_peers.h"
#include "platform/peers.h"
#include "services.h"
#include "win32.h"

namespace dv::win32 {

class Toolkit final : public dv::Toolkit {
public:
    // The windows follow the system's high-contrast setting, or the one given.
    explicit Toolkit(HINSTANCE instance) : Toolkit(instance, system_) {}
    Toolkit(HINSTANCE instance, const Accessibility& accessibility);

    std::unique_ptr<FormPeer> createForm(Form& form) override;
    std::unique_ptr<ControlPeer> createControl(FormPeer& parent, Control& control) override;

private:
    SystemAccessibility system_;
    const Accessibility& accessibility_;
    HINSTANCE instance_;
    UniqueWindow owner_;  // hidden; owns the forms that keep off the taskbar
    MonthViewFonts monthViewFonts_;
};

}  // namespace dv::win32
