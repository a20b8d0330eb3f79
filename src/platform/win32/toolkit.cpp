#include "toolkit.h"

#include <commctrl.h>

#include "peers_win32.h"

namespace dv::win32 {

namespace {
// Every peer of this toolkit has a FormWindow as its parent.
FormWindow& native(FormPeer& peer) { return static_cast<FormWindow&>(peer); }
}  // namespace

Toolkit::Toolkit(HINSTANCE instance) : instance_(instance) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&icc);
}

std::unique_ptr<FormPeer> Toolkit::createForm(Form& form) { return std::make_unique<FormWindow>(instance_, form); }

std::unique_ptr<ControlPeer> Toolkit::createButton(FormPeer& parent, CommandButton& button) {
    return makeButtonPeer(native(parent), button);
}

std::unique_ptr<ControlPeer> Toolkit::createPicture(FormPeer& parent, PictureBox& picture) {
    return makePicturePeer(native(parent), picture);
}

std::unique_ptr<MonthViewPeer> Toolkit::createMonthView(FormPeer& parent, MonthView& view) {
    return makeMonthViewPeer(native(parent), view);
}

std::unique_ptr<TimerPeer> Toolkit::createTimer(FormPeer& parent, Timer& timer) {
    return makeTimerPeer(native(parent), timer);
}

}  // namespace dv::win32
