#include "peers_win32.h"

#include <commctrl.h>

#include <variant>

#include "text.h"

namespace dv::win32 {

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

// A STATIC that reports clicks (SS_NOTIFY), and so also mouse moves. Only
// a link takes the focus (Tab): it shows a focus rectangle around its text,
// and Enter or Space clicks it.
class LabelPeer final : public ChildBase {
public:
    LabelPeer(FormWindow& parent, Label& label)
        : ChildBase(parent, label,
                    createChild(parent, label, L"STATIC", widen(label.Caption()).c_str(),
                                SS_NOTIFY | SS_NOPREFIX |
                                    (label.design().alignment == Alignment::Center ? SS_CENTER : SS_LEFT))),
          label_(label) {}

    void onCommand(WORD code) override {
        if (code == STN_CLICKED) label_.click();
        if (code == STN_DBLCLK) label_.dblClick();
    }

private:
    bool intercept(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (!label_.tabStop()) return false;
        switch (msg) {
            case WM_GETDLGCODE: {
                // Enter would go to the form's default button otherwise.
                const auto* key = reinterpret_cast<const MSG*>(lParam);
                result = ::DefSubclassProc(hwnd(), msg, wParam, lParam);
                if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) result |= DLGC_WANTMESSAGE;
                return true;
            }
            case WM_KEYDOWN:
                if ((wParam != VK_RETURN && wParam != VK_SPACE) || (lParam & (1 << 30))) return false;
                label_.click();
                return true;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                result = ::DefSubclassProc(hwnd(), msg, wParam, lParam);
                ::InvalidateRect(hwnd(), nullptr, TRUE);
                return true;
            case WM_PAINT: {
                PaintScope paint(hwnd());
                ::DefSubclassProc(hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paint.dc()), PRF_CLIENT);
                if (::GetFocus() == hwnd()) drawFocus(paint.dc());
                return true;
            }
            default:
                return false;
        }
    }

    void drawFocus(HDC dc) const {
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
        const Colour colour = coloursOf(line_, parent_.highContrast()).text.value_or(line_.line().color);
        ::SetBkColor(dc, colorOf(colour));
        if (const auto* system = std::get_if<SystemColour>(&colour)) return systemBrush(*system);
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
