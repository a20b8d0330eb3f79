#include "peers_win32.h"

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

class ButtonPeer final : public ChildBase {
public:
    ButtonPeer(FormWindow& parent, CommandButton& button)
        : ChildBase(parent, button,
                    createChild(parent, button, L"BUTTON", widen(button.Caption()).c_str(),
                                button.role().isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 0,
                                idFor(parent, button.role()))),
          button_(button) {}

    void onCommand(WORD code) override {
        if (code == BN_CLICKED) button_.click();
    }
    bool answersDialogKey(int id) const override {
        return (id == IDOK && button_.role().isDefault) || (id == IDCANCEL && button_.role().isCancel);
    }
    HBRUSH controlColor(HDC) override { return nullptr; }

private:
    bool intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (msg != WM_SETFOCUS && msg != WM_KILLFOCUS) return false;
        result = ::DefSubclassProc(hwnd(), msg, wParam, lParam);
        parent_.defaultFollowsFocus(msg == WM_SETFOCUS ? hwnd() : nullptr);
        return true;
    }
    CommandButton& button_;
};

// Check boxes and option buttons keep their state in the headless control:
// the native button only shows it.
class CheckBoxPeer final : public ChildBase {
public:
    CheckBoxPeer(FormWindow& parent, CheckBox& box)
        : ChildBase(parent, box, createChild(parent, box, L"BUTTON", widen(box.Caption()).c_str(), BS_3STATE)),
          box_(box) {}

    void onCommand(WORD code) override {
        if (code == BN_CLICKED) box_.userClicked();
    }
    void setChecked(int value) override { ::SendMessageW(hwnd(), BM_SETCHECK, static_cast<WPARAM>(value), 0); }

private:
    CheckBox& box_;
};

class OptionButtonPeer final : public ChildBase {
public:
    OptionButtonPeer(FormWindow& parent, OptionButton& option)
        : ChildBase(parent, option,
                    createChild(parent, option, L"BUTTON", widen(option.Caption()).c_str(), BS_RADIOBUTTON)),
          option_(option) {}

    void onCommand(WORD code) override {
        if (code == BN_CLICKED) option_.userClicked();
    }
    void setChecked(int value) override {
        ::SendMessageW(hwnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    }

private:
    OptionButton& option_;
};

}  // namespace

std::unique_ptr<ControlPeer> makeButtonPeer(FormWindow& parent, CommandButton& button) {
    return std::make_unique<ButtonPeer>(parent, button);
}

std::unique_ptr<ControlPeer> makeCheckBoxPeer(FormWindow& parent, CheckBox& box) {
    return std::make_unique<CheckBoxPeer>(parent, box);
}

std::unique_ptr<ControlPeer> makeOptionButtonPeer(FormWindow& parent, OptionButton& option) {
    return std::make_unique<OptionButtonPeer>(parent, option);
}

}  // namespace dv::win32
