#include "colours.h"

#include "choice_controls.h"
#include "text_controls.h"

namespace dv {

namespace {
std::optional<Colour> designed(std::optional<unsigned> rgb) {
    if (!rgb) return std::nullopt;
    return Colour{*rgb};
}
}  // namespace

Colour formBackground(const FormDesign& design, bool highContrast) {
    if (highContrast || !design.backColor) return SystemColour::ButtonFace;
    return *design.backColor;
}

ControlColours coloursOf(const Control& control, bool highContrast) {
    if (const auto* line = dynamic_cast<const Line*>(&control))
        return {highContrast ? Colour{SystemColour::ButtonText} : Colour{line->line().color}, std::nullopt};
    if (!highContrast) return {designed(control.design().foreColor), designed(control.BackColor())};
    // Push buttons and month views draw with the system's colours themselves.
    if (dynamic_cast<const CommandButton*>(&control) || dynamic_cast<const MonthView*>(&control)) return {};
    if (dynamic_cast<const TextBox*>(&control)) return {SystemColour::WindowText, SystemColour::Window};
    if (control.design().link) return {SystemColour::HotLight, std::nullopt};
    // A label painted in a colour of its own is one that acts as a button.
    if (dynamic_cast<const Label*>(&control) && control.BackColor())
        return {SystemColour::HighlightText, SystemColour::Highlight};
    return {SystemColour::ButtonText, control.BackColor() ? std::optional<Colour>(SystemColour::ButtonFace)
                                                          : std::nullopt};
}

std::optional<Colour> monthColour(const MonthViewColors& design, MonthPart part, bool highContrast) {
    switch (part) {
        case MonthPart::TitleBack:
            return highContrast ? SystemColour::Highlight : designed(design.titleBack);
        case MonthPart::TitleText:
            return highContrast ? SystemColour::HighlightText : designed(design.titleText);
        case MonthPart::MonthBack:
            return highContrast ? SystemColour::Window : designed(design.monthBack);
        case MonthPart::Text:
            return highContrast ? SystemColour::WindowText : designed(design.text);
        case MonthPart::TrailingText:
            return highContrast ? SystemColour::GrayText : designed(design.trailingText);
        case MonthPart::Background:
            return highContrast ? SystemColour::Window : designed(design.background);
    }
    return std::nullopt;
}

}  // namespace dv
