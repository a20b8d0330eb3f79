#pragma once

#include "controls.h"

namespace dv {

enum CheckValue { kUnchecked = 0, kChecked = 1, kGrayed = 2 };

// Any change of its state, by the user or by code, raises Click.
class CheckBox final : public Control {
public:
    CheckBox(Form& owner, ControlDesign design, std::string caption);
    const std::string& Caption() const { return caption_; }
    int Value() const { return value_; }
    void setValue(int value);
    void userClicked();  // by the peer: checked becomes unchecked, else checked

    std::function<void()> onClick;

    void resetToDesign() override;

    ControlKind kind() const override { return ControlKind::CheckBox; }
private:
    void attached() override;
    std::string caption_;
    int value_ = kUnchecked;
};

// The option buttons of a form are one group: selecting one clears the
// others. Selecting raises Click; being cleared does not.
class OptionButton final : public Control {
public:
    OptionButton(Form& owner, ControlDesign design, std::string caption);
    const std::string& Caption() const { return caption_; }
    bool Value() const { return value_; }
    void setValue(bool selected);
    void userClicked() { setValue(true); }  // by the peer

    std::function<void()> onClick;

    void resetToDesign() override;

    ControlKind kind() const override { return ControlKind::OptionButton; }
private:
    void attached() override;
    void store(bool selected);
    std::string caption_;
    bool value_ = false;
};

}  // namespace dv
