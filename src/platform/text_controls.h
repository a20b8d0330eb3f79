#pragma once

#include "controls.h"

namespace dv {

// Text that takes no focus; it may act as a link or a button by its click.
class Label final : public Control {
public:
    Label(Form& owner, ControlDesign design, std::string caption);
    const std::string& Caption() const { return caption_; }
    void click();  // by the peer

    std::function<void()> onClick;


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
