#include "child_base.h"

#include <stdexcept>

#include "text.h"

namespace dv::win32 {

HWND createChild(FormWindow& parent, const Control& control, const wchar_t* className, const wchar_t* text,
                 DWORD style, DWORD exStyle) {
    const ControlDesign& d = control.design();
    DWORD s = WS_CHILD | WS_CLIPSIBLINGS | style;
    if (d.visible) s |= WS_VISIBLE;
    if (!d.enabled) s |= WS_DISABLED;
    if (d.tabIndex >= 0) s |= WS_TABSTOP;
    const RECT r = parent.pixels(d.box);
    HWND hwnd = ::CreateWindowExW(exStyle, className, text, s, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  parent.hwnd(), nullptr, parent.instance(), nullptr);
    if (!hwnd)
        throw std::runtime_error("the control " + d.name + " could not be created: " +
                                 systemMessage(::GetLastError()));
    return hwnd;
}

ChildBase::ChildBase(FormWindow& parent, const Control& control, HWND hwnd)
    : parent_(parent), control_(control), hwnd_(hwnd) {
    ::EnableWindow(hwnd, control.Enabled());
    ::ShowWindow(hwnd, control.Visible() ? SW_SHOWNA : SW_HIDE);
    parent_.addChild(*this);
}

ChildBase::~ChildBase() { parent_.removeChild(*this); }

void ChildBase::setEnabled(bool enabled) { ::EnableWindow(hwnd_.get(), enabled); }
void ChildBase::setVisible(bool visible) { ::ShowWindow(hwnd_.get(), visible ? SW_SHOWNA : SW_HIDE); }
void ChildBase::setFocus() { ::SetFocus(hwnd_.get()); }
bool ChildBase::hasFocus() const { return ::GetFocus() == hwnd_.get(); }

}  // namespace dv::win32
