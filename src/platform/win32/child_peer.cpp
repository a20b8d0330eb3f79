#include "child_peer.h"

#include <commctrl.h>

#include <cmath>
#include <stdexcept>

#include "text.h"

namespace dv::win32 {

HWND createChild(FormWindow& parent, const Control& control, const wchar_t* className, const wchar_t* text,
                 DWORD style, DWORD exStyle, int id) {
    const ControlDesign& d = control.design();
    DWORD s = WS_CHILD | WS_CLIPSIBLINGS | style;
    if (d.visible) s |= WS_VISIBLE;
    if (!d.enabled) s |= WS_DISABLED;
    if (d.tabIndex >= 0) s |= WS_TABSTOP;
    const RECT r = parent.pixels(d.box);
    HWND hwnd = ::CreateWindowExW(exStyle, className, text, s, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  parent.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  parent.instance(), nullptr);
    if (!hwnd)
        throw std::runtime_error("the control " + d.name + " could not be created: " +
                                 systemMessage(::GetLastError()));
    return hwnd;
}

HFONT createFont(const FontSpec& font, int dpi) {
    if (font.face.empty()) return nullptr;
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = widen(font.face);
    ::wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&lf);
}

ChildPeer::ChildPeer(FormWindow& parent, Control& control, HWND hwnd)
    : parent_(parent), control_(control), hwnd_(hwnd) {
    ::EnableWindow(hwnd, control.Enabled());
    ::ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
    if (auto color = control.BackColor()) back_.reset(::CreateSolidBrush(*color));
    backColor_ = control.BackColor();
    ::SetWindowSubclass(hwnd, subclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    parent_.addChild(*this);
    onDpiChanged(parent.dpi());
    if (!control.design().toolTip.empty()) addToolTip(control.design().toolTip);
}

// The tooltip watches the control's mouse messages itself (TTF_SUBCLASS).
// Without one the control works the same, so a failure is not reported.
void ChildPeer::addToolTip(const std::string& text) {
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_.hwnd(), nullptr,
                                 parent_.instance(), nullptr);
    if (!tip) return;
    toolTip_.reset(tip);
    std::wstring wide = widen(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    info.hwnd = parent_.hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(hwnd_.get());
    info.hinst = parent_.instance();
    info.lpszText = wide.data();  // copied by the tooltip
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

Layer ChildPeer::layer() const {
    switch (control_.kind()) {
        case ControlKind::Label:
        case ControlKind::Line: return Layer::FormSurface;
        case ControlKind::Picture: return Layer::Window;
        default: return Layer::TabStop;
    }
}

ChildPeer::~ChildPeer() {
    ::RemoveWindowSubclass(hwnd_.get(), subclassProc, 1);
    parent_.removeChild(*this);
}

void ChildPeer::onDpiChanged(int dpi) {
    if (HFONT font = createFont(control_.design().font, dpi)) {
        ::SendMessageW(hwnd_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        font_.reset(font);
    }
}

HBRUSH ChildPeer::controlColor(HDC dc) {
    const ControlDesign& d = control_.design();
    if (d.foreColor) ::SetTextColor(dc, *d.foreColor);
    if (auto color = control_.BackColor()) {
        ::SetBkColor(dc, *color);
        return back_.get();
    }
    // No colour of its own: the form's background shows through.
    ::SetBkMode(dc, TRANSPARENT);
    return parent_.backgroundBrush();
}

void ChildPeer::setEnabled(bool enabled) { ::EnableWindow(hwnd_.get(), enabled); }
void ChildPeer::setVisible(bool visible) { ::ShowWindow(hwnd_.get(), visible ? SW_SHOWNA : SW_HIDE); }
void ChildPeer::setFocus() { ::SetFocus(hwnd_.get()); }
bool ChildPeer::hasFocus() const { return ::GetFocus() == hwnd_.get(); }

void ChildPeer::setBackColor(unsigned color) {
    // Hover colours are set on every mouse move: repaint only on a change.
    if (backColor_ == color) return;
    backColor_ = color;
    back_.reset(::CreateSolidBrush(color));
    ::InvalidateRect(hwnd_.get(), nullptr, TRUE);
}

LRESULT CALLBACK ChildPeer::subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<ChildPeer*>(data);
    switch (msg) {
        case WM_SETCURSOR:
            if (self->control_.design().pointer == Pointer::Hand && LOWORD(lParam) == HTCLIENT) {
                // The system's hand follows the user's pointer scheme and size.
                ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE: {
            const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
            self->control_.mouseMove();
            return result;
        }
        default:
            break;
    }
    return self->handleMessage(msg, wParam, lParam);
}

LRESULT ChildPeer::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(hwnd_.get(), msg, wParam, lParam);
}

}  // namespace dv::win32
