#include "colours.h"

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
    const ControlKind kind = control.kind();
    if (kind == ControlKind::Line)
        return {highContrast ? Colour{SystemColour::ButtonText}
                             : Colour{static_cast<const Line&>(control).line().color},
                std::nullopt};
    if (!highContrast) return {designed(control.design().foreColor), designed(control.BackColor())};
    switch (kind) {
        case ControlKind::Button:  // push buttons and month views draw with the system's colours themselves
        case ControlKind::MonthView:
        case ControlKind::Timer:
            return {};
        case ControlKind::TextBox:
            return {SystemColour::WindowText, SystemColour::Window};
        default:
            break;
    }
    if (control.design().link) return {SystemColour::HotLight, std::nullopt};
    // A label painted in a colour of its own is one that acts as a button.
    if (kind == ControlKind::Label && control.BackColor())
        return {SystemColour::HighlightText, SystemColour::Highlight};
    return {SystemColour::ButtonText,
            control.BackColor() ? std::optional<Colour>(SystemColour::ButtonFace) : std::nullopt};
}

Colour monthColour(const MonthViewColors& design, MonthPart part, bool highContrast) {
    using S = SystemColour;
    // For each part: the design's colour, else the system colour the calendar
    // starts with (its title band's stands as the highlight); then the theme's.
    const auto pick = [&](std::optional<unsigned> designed, S own, S theme) -> Colour {
        if (highContrast) return theme;
        if (designed) return *designed;
        return own;
    };
    switch (part) {
        case MonthPart::TitleBack:
            return pick(design.titleBack, S::Highlight, S::Highlight);
        case MonthPart::TitleText:
            return pick(design.titleText, S::Window, S::HighlightText);
        case MonthPart::MonthBack:
            return pick(design.monthBack, S::Window, S::Window);
        case MonthPart::Text:
            return pick(design.text, S::WindowText, S::WindowText);
        case MonthPart::TrailingText:
            return pick(design.trailingText, S::GrayText, S::GrayText);
        case MonthPart::Background:
            return pick(design.background, S::Window, S::Window);
    }
    return S::Window;
}

}  // namespace dv
