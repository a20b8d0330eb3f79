#pragma once

#include <optional>
#include <variant>

#include "controls.h"
#include "form.h"

namespace dv {

// The system's colours that a high-contrast theme sets.
enum class SystemColour { Window, WindowText, Highlight, HighlightText, HotLight, GrayText, ButtonFace, ButtonText };

// A colour to paint with: the design's own (0x00BBGGRR) or one of the system's.
using Colour = std::variant<unsigned, SystemColour>;

// Under high contrast every designed colour gives way to the system's, in
// pairs that the theme keeps readable; otherwise the design's colours hold
// exactly, and what the design leaves open stays the control's own.
struct ControlColours {
    std::optional<Colour> text;  // none: the control's own text colour
    std::optional<Colour> back;  // none: the form's background shows through
};

Colour formBackground(const FormDesign& design, bool highContrast);
// From the control's current background (the read-me's "OK" changes it).
ControlColours coloursOf(const Control& control, bool highContrast);

enum class MonthPart { TitleBack, TitleText, MonthBack, Text, TrailingText, Background };
inline constexpr MonthPart kMonthParts[] = {MonthPart::TitleBack, MonthPart::TitleText,    MonthPart::MonthBack,
                                            MonthPart::Text,      MonthPart::TrailingText, MonthPart::Background};
// A part the design leaves open has the month calendar's own system colour.
Colour monthColour(const MonthViewColors& design, MonthPart part, bool highContrast);

}  // namespace dv
