#include "control_peers.h"
#include "text.h"

namespace dv::win32 {

namespace {
// The dialog manager sends Enter and Esc as IDOK and IDCANCEL.
int idFor(const ButtonRole& role) { return role.isDefault ? IDOK : role.isCancel ? IDCANCEL : 0; }
}  // namespace

ButtonPeer::ButtonPeer(FormWindow& parent, CommandButton& button)
    : ChildPeer(parent, button,
                createChild(parent, button, L"BUTTON", widen(button.Caption()).c_str(),
                            button.role().isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0, idFor(button.role()))),
      button_(button) {}

void ButtonPeer::onCommand(WORD code) {
    if (code == BN_CLICKED) button_.click();
}

bool ButtonPeer::answersDialogKey(int id) const {
    return (id == IDOK && button_.role().isDefault) || (id == IDCANCEL && button_.role().isCancel);
}

CheckBoxPeer::CheckBoxPeer(FormWindow& parent, CheckBox& box)
    : ChildPeer(parent, box, createChild(parent, box, L"BUTTON", widen(box.Caption()).c_str(), BS_3STATE)),
      box_(box) {}

void CheckBoxPeer::onCommand(WORD code) {
    if (code == BN_CLICKED) box_.userClicked();
}

void CheckBoxPeer::setChecked(int value) { ::SendMessageW(hwnd(), BM_SETCHECK, static_cast<WPARAM>(value), 0); }

OptionButtonPeer::OptionButtonPeer(FormWindow& parent, OptionButton& option)
    : ChildPeer(parent, option,
                createChild(parent, option, L"BUTTON", widen(option.Caption()).c_str(), BS_RADIOBUTTON)),
      option_(option) {}

void OptionButtonPeer::onCommand(WORD code) {
    if (code == BN_CLICKED) option_.userClicked();
}

void OptionButtonPeer::setChecked(int value) {
    ::SendMessageW(hwnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace dv::win32
