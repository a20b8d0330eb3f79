#include "peers_win32.h"
#include "text.h"

namespace dv::win32 {

namespace {

// A STATIC that reports clicks (SS_NOTIFY), and so also mouse moves.
class LabelPeer final : public ChildBase {
public:
    LabelPeer(FormWindow& parent, Label& label)
        : ChildBase(parent, label,
                    createChild(parent, label, L"STATIC", widen(label.Caption()).c_str(),
                                SS_NOTIFY | SS_NOPREFIX |
                                    (label.design().alignment == Alignment::Center ? SS_CENTER : SS_LEFT))),
          label_(label) {
        // It keeps its place in the tab order, but the dialog manager must not give it the focus.
        ::SetWindowLongPtrW(hwnd(), GWL_STYLE, ::GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~WS_TABSTOP);
    }

    void onCommand(WORD code) override {
        if (code == STN_CLICKED || code == STN_DBLCLK) label_.click();
    }

private:
    Label& label_;
};

// Read-only text reports WM_CTLCOLORSTATIC, so the design's colours apply.
class TextBoxPeer final : public ChildBase {
public:
    TextBoxPeer(FormWindow& parent, TextBox& text)
        : ChildBase(parent, text, create(parent, text)), text_(text) {}

    void onCommand(WORD code) override {
        if (code == EN_SETFOCUS) text_.gotFocus();
    }
    void setSelStart(int position) override { ::SendMessageW(hwnd(), EM_SETSEL, position, position); }

private:
    static HWND create(FormWindow& parent, TextBox& text) {
        const TextBoxDesign& d = text.textDesign();
        DWORD style = ES_LEFT | ES_AUTOHSCROLL;
        if (d.multiLine) style = ES_LEFT | ES_MULTILINE;
        if (d.readOnly) style |= ES_READONLY;
        // The edit control wants CR LF between lines.
        return createChild(parent, text, L"EDIT", widen(text.Text()).c_str(), style,
                           d.border ? WS_EX_CLIENTEDGE : 0);
    }
    TextBox& text_;
};

// A horizontal or vertical line: a child the size of the stroke, filled
// with its colour, so the form's client area clips it like any control.
class LinePeer final : public ChildBase {
public:
    LinePeer(FormWindow& parent, Line& line) : ChildBase(parent, line, create(parent, line)), line_(line) {
        onDpiChanged(parent.dpi());
    }
    void onDpiChanged(int dpi) override {
        ChildBase::onDpiChanged(dpi);
        const RECT r = parent_.pixels(line_.design().box);
        const int stroke = ::MulDiv(line_.line().widthPixels, dpi, 96);
        ::SetWindowPos(hwnd(), nullptr, r.left, r.top, std::max<int>(r.right - r.left, stroke),
                       std::max<int>(r.bottom - r.top, stroke), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    HBRUSH controlColor(HDC dc) override {
        ::SetBkColor(dc, line_.line().color);
        if (!brush_) brush_.reset(::CreateSolidBrush(line_.line().color));
        return brush_.get();
    }

private:
    static HWND create(FormWindow& parent, Line& line) { return createChild(parent, line, L"STATIC", L"", 0); }
    Line& line_;
    UniqueBrush brush_;
};

}  // namespace

std::unique_ptr<ControlPeer> makeLabelPeer(FormWindow& parent, Label& label) {
    return std::make_unique<LabelPeer>(parent, label);
}

std::unique_ptr<ControlPeer> makeTextBoxPeer(FormWindow& parent, TextBox& text) {
    return std::make_unique<TextBoxPeer>(parent, text);
}

std::unique_ptr<ControlPeer> makeLinePeer(FormWindow& parent, Line& line) {
    return std::make_unique<LinePeer>(parent, line);
}

}  // namespace dv::win32
