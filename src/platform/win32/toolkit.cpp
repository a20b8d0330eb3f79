#include "toolkit.h"

#include <commctrl.h>

#include "control_peers.h"

namespace dv::win32 {

Toolkit::Toolkit(HINSTANCE instance, const Accessibility& accessibility)
    : accessibility_(accessibility), instance_(instance) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    owner_.reset(::CreateWindowExW(0, L"STATIC", L"Dayvane", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                   nullptr));
}

std::unique_ptr<FormPeer> Toolkit::createForm(Form& form) {
    return std::make_unique<FormWindow>(instance_, form, owner_.get(), accessibility_);
}

std::unique_ptr<ControlPeer> Toolkit::createControl(FormPeer& parent, Control& control) {
    auto& form = static_cast<FormWindow&>(parent);  // every form of this toolkit is one
    switch (control.kind()) {
        case ControlKind::Button: return std::make_unique<ButtonPeer>(form, static_cast<CommandButton&>(control));
        case ControlKind::Picture: return std::make_unique<PicturePeer>(form, static_cast<PictureBox&>(control));
        case ControlKind::MonthView:
            return std::make_unique<MonthViewPeer>(form, static_cast<MonthView&>(control), monthViewFonts_);
        case ControlKind::Timer: return std::make_unique<TimerPeer>(form, static_cast<Timer&>(control));
        case ControlKind::CheckBox: return std::make_unique<CheckBoxPeer>(form, static_cast<CheckBox&>(control));
        case ControlKind::OptionButton:
            return std::make_unique<OptionButtonPeer>(form, static_cast<OptionButton&>(control));
        case ControlKind::Label: return std::make_unique<LabelPeer>(form, static_cast<Label&>(control));
        case ControlKind::Line: return std::make_unique<LinePeer>(form, static_cast<Line&>(control));
        case ControlKind::TextBox: return std::make_unique<TextBoxPeer>(form, static_cast<TextBox&>(control));
    }
    return nullptr;
}

}  // namespace dv::win32
