#include <algorithm>
#include <variant>

#include "control_peers.h"

#include <commctrl.h>

#include "text.h"

namespace dv::win32 {

LabelPeer::LabelPeer(FormWindow& parent, Label& label)
    : ChildPeer(parent, label,
                createChild(parent, label, L"STATIC", widen(label.Caption()).c_str(),
                            SS_NOTIFY | SS_NOPREFIX |
                                (label.design().alignment == Alignment::Center ? SS_CENTER : SS_LEFT))),
      label_(label) {}

void LabelPeer::onCommand(WORD code) {
    if (code == STN_CLICKED) label_.click();
    if (code == STN_DBLCLK) label_.dblClick();
}

namespace {
// BeginPaint and EndPaint as a pair.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};
}  // namespace

LRESULT LabelPeer::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!label_.tabStop()) return ChildPeer::handleMessage(msg, wParam, lParam);
    switch (msg) {
        case WM_GETDLGCODE: {
            // Enter would go to the form's default button otherwise.
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            LRESULT code = ChildPeer::handleMessage(msg, wParam, lParam);
            if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            if ((wParam != VK_RETURN && wParam != VK_SPACE) || (lParam & (1 << 30))) break;
            label_.click();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const LRESULT result = ChildPeer::handleMessage(msg, wParam, lParam);
            ::InvalidateRect(hwnd(), nullptr, TRUE);
            return result;
        }
        case WM_PAINT: {
            PaintScope paint(hwnd());
            ChildPeer::handleMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paint.dc()), PRF_CLIENT);
            if (::GetFocus() == hwnd()) drawFocus(paint.dc());
            return 0;
        }
        default:
            break;
    }
    return ChildPeer::handleMessage(msg, wParam, lParam);
}

void LabelPeer::drawFocus(HDC dc) const {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    RECT text = client;
    const std::wstring caption = widen(label_.Caption());
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
    if (label_.design().alignment == Alignment::Center) ::OffsetRect(&text, (client.right - text.right) / 2, 0);
    ::InflateRect(&text, 1, 0);
    ::IntersectRect(&text, &text, &client);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &text);
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
    const Colour colour = coloursOf(line_, parent_.highContrast()).text.value_or(line_.line().color);
    ::SetBkColor(dc, colorOf(colour));
    if (const auto* system = std::get_if<SystemColour>(&colour)) return systemBrush(*system);
    if (!brush_) brush_.reset(::CreateSolidBrush(line_.line().color));
    return brush_.get();
}

}  // namespace dv::win32
