#include "toolkit.h"

#include <commctrl.h>

#include "peers_win32.h"

namespace dv::win32 {

namespace {
// Every peer of this toolkit has a FormWindow as its parent.
FormWindow& native(FormPeer& peer) { return static_cast<FormWindow&>(peer); }
}  // namespace

Toolkit::Toolkit(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    owner_.reset(::CreateWindowExW(0, L"STATIC", L"Dayvane", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                   nullptr));
}

std::unique_ptr<FormPeer> Toolkit::createForm(Form& form) {
    return std::make_unique<FormWindow>(instance_, form, owner_.get());
}

std::unique_ptr<ControlPeer> Toolkit::createButton(FormPeer& parent, CommandButton& button) {
    return makeButtonPeer(native(parent), button);
}

std::unique_ptr<ControlPeer> Toolkit::createPicture(FormPeer& parent, PictureBox& picture) {
    return makePicturePeer(native(parent), picture);
}

std::unique_ptr<MonthViewPeer> Toolkit::createMonthView(FormPeer& parent, MonthView& view) {
    return makeMonthViewPeer(native(parent), view, monthViewFonts_);
}

std::unique_ptr<TimerPeer> Toolkit::createTimer(FormPeer& parent, Timer& timer) {
    return makeTimerPeer(native(parent), timer);
}

std::unique_ptr<ControlPeer> Toolkit::createCheckBox(FormPeer& parent, CheckBox& box) {
    return makeCheckBoxPeer(native(parent), box);
}

std::unique_ptr<ControlPeer> Toolkit::createOptionButton(FormPeer& parent, OptionButton& option) {
    return makeOptionButtonPeer(native(parent), option);
}

std::unique_ptr<ControlPeer> Toolkit::createLabel(FormPeer& parent, Label& label) {
    return makeLabelPeer(native(parent), label);
}

std::unique_ptr<ControlPeer> Toolkit::createLine(FormPeer& parent, Line& line) {
    return makeLinePeer(native(parent), line);
}

std::unique_ptr<ControlPeer> Toolkit::createTextBox(FormPeer& parent, TextBox& text) {
    return makeTextBoxPeer(native(parent), text);
}

}  // namespace dv::win32
