#include "choice_controls.h"

namespace dv {

CheckBox::CheckBox(Form& owner, ControlDesign design, std::string caption)
    : Control(owner, std::move(design)), caption_(std::move(caption)) {}

void CheckBox::setValue(int value) {
    if (value < kUnchecked || value > kGrayed || value == value_) return;
    value_ = value;
    if (ControlPeer* p = peer()) p->setChecked(value_);
    raise("Click", onClick);
}

void CheckBox::userClicked() { setValue(value_ == kUnchecked ? kChecked : kUnchecked); }

void CheckBox::resetToDesign() {
    Control::resetToDesign();
    value_ = kUnchecked;
}

void CheckBox::attached() { peer()->setChecked(value_); }

OptionButton::OptionButton(Form& owner, ControlDesign design, std::string caption)
    : Control(owner, std::move(design)), caption_(std::move(caption)) {}

void OptionButton::store(bool selected) {
    value_ = selected;
    if (ControlPeer* p = peer()) p->setChecked(selected ? 1 : 0);
}

void OptionButton::setValue(bool selected) {
    if (!selected) {
        store(false);
        return;
    }
    for (Control* control : form().controls())
        if (auto* other = dynamic_cast<OptionButton*>(control); other && other != this) other->store(false);
    const bool changed = !value_;
    store(true);
    if (changed) raise("Click", onClick);
}

void OptionButton::resetToDesign() {
    Control::resetToDesign();
    value_ = false;
}

void OptionButton::attached() { peer()->setChecked(value_ ? 1 : 0); }

}  // namespace dv
