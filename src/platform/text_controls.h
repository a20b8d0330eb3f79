#pragma once

#include "controls.h"

namespace dv {

// Text that takes no focus, unless it is a link; it may act as a link or a
// button by its click. A double-click is a click followed by DblClick, so a
// handler of Click alone acts once.
class Label final : public Control {
public:
    Label(Form& owner, ControlDesign design, std::string caption);
    const std::string& Caption() const { return caption_; }
    bool tabStop() const override { return design().link && Control::tabStop(); }
    void click();     // by the peer: the mouse, or Enter or Space on a link
    void dblClick();  // by the peer, after the click of the same double-click

    std::function<void()> onClick;
    std::function<void()> onDblClick;


    ControlKind kind() const override { return ControlKind::Label; }
private:
    std::string caption_;
};

struct LineDesign {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips
    unsigned color = 0;                  // 0x00BBGGRR
    int widthPixels = 1;
};

// A line drawn on the form's background, clipped by its client area.
class Line final : public Control {
public:
    Line(Form& owner, std::string name, LineDesign line);
    const LineDesign& line() const { return line_; }


    ControlKind kind() const override { return ControlKind::Line; }
private:
    LineDesign line_;
};

struct TextBoxDesign {
    bool multiLine = false;
    bool readOnly = false;
    bool border = true;
};

class TextBox final : public Control {
public:
    TextBox(Form& owner, ControlDesign design, TextBoxDesign box, std::string text);
    const std::string& Text() const { return text_; }
    const TextBoxDesign& textDesign() const { return box_; }
    // Puts the insertion point at the position, with nothing selected.
    void setSelStart(int position);


    ControlKind kind() const override { return ControlKind::TextBox; }
private:
    TextBoxDesign box_;
    std::string text_;
};

}  // namespace dv
