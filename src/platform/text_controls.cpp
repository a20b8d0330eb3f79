#include "text_controls.h"

#include <algorithm>

namespace dv {

Label::Label(Form& owner, ControlDesign design, std::string caption)
    : Control(owner, std::move(design)), caption_(std::move(caption)) {}

void Label::click() {
    if (Enabled()) raise("Click", onClick);
}

void Label::dblClick() {
    if (Enabled()) raise("DblClick", onDblClick);
}

void Label::attach(Toolkit& toolkit, FormPeer& parent) { peer_ = toolkit.createLabel(parent, *this); }

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

void Line::attach(Toolkit& toolkit, FormPeer& parent) { peer_ = toolkit.createLine(parent, *this); }

TextBox::TextBox(Form& owner, ControlDesign design, TextBoxDesign box, std::string text)
    : Control(owner, std::move(design)), box_(box), text_(std::move(text)) {}

void TextBox::setSelStart(int position) {
    if (peer_) peer_->setSelStart(std::max(0, position));
}

void TextBox::attach(Toolkit& toolkit, FormPeer& parent) { peer_ = toolkit.createTextBox(parent, *this); }

}  // namespace dv
