#include "text_controls.h"

#include <algorithm>

namespace dv {

Label::Label(Form& owner, ControlDesign design, std::string caption)
    : Control(owner, std::move(design)), caption_(std::move(caption)) {}

void Label::click() {
    if (Enabled()) raise("Click", onClick);
}

namespace {
ControlDesign lineBox(std::string name, const LineDesign& l) {
    const int left = std::min(l.x1, l.x2), top = std::min(l.y1, l.y2);
    return {.name = std::move(name),
            .box = {left, top, std::max(l.x1, l.x2) - left, std::max(l.y1, l.y2) - top},
            .foreColor = l.color};
}
}  // namespace

Line::Line(Form& owner, std::string name, LineDesign line)
    : Control(owner, lineBox(std::move(name), line)), line_(line) {}

TextBox::TextBox(Form& owner, ControlDesign design, TextBoxDesign box, std::string text)
    : Control(owner, std::move(design)), box_(box), text_(std::move(text)) {}

void TextBox::setSelStart(int position) {
    if (ControlPeer* p = peer()) p->setSelStart(std::max(0, position));
}

}  // namespace dv
