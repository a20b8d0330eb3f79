#include "control_peers.h"

#include <commctrl.h>

#include "text.h"

namespace dv::win32 {

namespace {
// The dialog manager sends Enter and Esc as IDOK and IDCANCEL, and finds the
// focused default button by its id.
int idFor(FormWindow& parent, const ButtonRole& role) {
    if (role.isDefault) return IDOK;
    return role.isCancel ? IDCANCEL : parent.newChildId();
}
}  // namespace

ButtonPeer::ButtonPeer(FormWindow& parent, CommandButton& button)
    : ChildPeer(parent, button,
                createChild(parent, button, L"BUTTON", widen(button.Caption()).c_str(),
                            button.role().isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0,
                            idFor(parent, button.role()))),
      button_(button) {}

void ButtonPeer::onCommand(WORD code) {
    if (code == BN_CLICKED) button_.click();
}

LRESULT ButtonPeer::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ChildPeer::handleMessage(msg, wParam, lParam);
    if (msg == WM_SETFOCUS) parent_.defaultFollowsFocus(hwnd());
    if (msg == WM_KILLFOCUS) parent_.defaultFollowsFocus(nullptr);
    return result;
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
