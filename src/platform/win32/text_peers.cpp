#include <algorithm>

#include "control_peers.h"
#include "text.h"

namespace dv::win32 {

LabelPeer::LabelPeer(FormWindow& parent, Label& label)
    : ChildPeer(parent, label,
                createChild(parent, label, L"STATIC", widen(label.Caption()).c_str(),
                            SS_NOTIFY | SS_NOPREFIX |
                                (label.design().alignment == Alignment::Center ? SS_CENTER : SS_LEFT))),
      label_(label) {
    // It keeps its place in the tab order, but the dialog manager must not give it the focus.
    ::SetWindowLongPtrW(hwnd(), GWL_STYLE, ::GetWindowLongPtrW(hwnd(), GWL_STYLE) & ~WS_TABSTOP);
}

void LabelPeer::onCommand(WORD code) {
    if (code == STN_CLICKED || code == STN_DBLCLK) label_.click();
}

namespace {
HWND createTextBox(FormWindow& parent, TextBox& text) {
    const TextBoxDesign& d = text.textDesign();
    DWORD style = ES_LEFT | ES_AUTOHSCROLL;
    if (d.multiLine) style = ES_LEFT | ES_MULTILINE;
    if (d.readOnly) style |= ES_READONLY;
    // The edit control wants CR LF between lines.
    return createChild(parent, text, L"EDIT", widen(text.Text()).c_str(), style, d.border ? WS_EX_CLIENTEDGE : 0);
}
}  // namespace

TextBoxPeer::TextBoxPeer(FormWindow& parent, TextBox& text)
    : ChildPeer(parent, text, createTextBox(parent, text)), text_(text) {}

void TextBoxPeer::onCommand(WORD code) {
    if (code == EN_SETFOCUS) text_.gotFocus();
}

void TextBoxPeer::setSelStart(int position) { ::SendMessageW(hwnd(), EM_SETSEL, position, position); }

LinePeer::LinePeer(FormWindow& parent, Line& line)
    : ChildPeer(parent, line, createChild(parent, line, L"STATIC", L"", 0)), line_(line) {
    onDpiChanged(parent.dpi());  // the base could not reach this class's override
}

void LinePeer::onDpiChanged(int dpi) {
    ChildPeer::onDpiChanged(dpi);
    const RECT r = parent_.pixels(line_.design().box);
    const int stroke = ::MulDiv(line_.line().widthPixels, dpi, 96);
    ::SetWindowPos(hwnd(), nullptr, r.left, r.top, std::max<int>(r.right - r.left, stroke),
                   std::max<int>(r.bottom - r.top, stroke), SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH LinePeer::controlColor(HDC dc) {
    ::SetBkColor(dc, line_.line().color);
    if (!brush_) brush_.reset(::CreateSolidBrush(line_.line().color));
    return brush_.get();
}

}  // namespace dv::win32
