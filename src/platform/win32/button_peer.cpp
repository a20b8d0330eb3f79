#include "peers_win32.h"

#include "text.h"

namespace dv::win32 {

namespace {

class ButtonPeer final : public ChildBase {
public:
    ButtonPeer(FormWindow& parent, CommandButton& button)
        : ChildBase(parent, button,
                    createChild(parent, button, L"BUTTON", widen(button.Caption()).c_str(), BS_PUSHBUTTON)),
          button_(button) {}

    void onCommand(WORD code) override {
        if (code == BN_CLICKED) button_.click();
    }

private:
    CommandButton& button_;
};

}  // namespace

std::unique_ptr<ControlPeer> makeButtonPeer(FormWindow& parent, CommandButton& button) {
    return std::make_unique<ButtonPeer>(parent, button);
}

}  // namespace dv::win32
