#include "win32.h"  // first: the other system headers need it

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>

#include "control_peers.h"

namespace dv::win32 {

namespace {

SYSTEMTIME toSystemTime(const Date& d) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(d.year);
    st.wMonth = static_cast<WORD>(d.month);
    st.wDay = static_cast<WORD>(d.day);
    return st;
}

Date toDate(const SYSTEMTIME& st) { return {st.wYear, st.wMonth, st.wDay}; }

}  // namespace

MonthViewPeer::MonthViewPeer(FormWindow& parent, MonthView& view, MonthViewFonts& fonts)
    // No "Today:" line: in a view this narrow its font would be so small
    // that Wine cuts the bold line short. Today stays circled, and
    // "Refresh Dayvane" goes back to it.
    : ChildPeer(parent, view, createChild(parent, view, MONTHCAL_CLASSW, L"", MCS_NOTODAY)),
      view_(view),
      fonts_(fonts) {
    // Visual styles would draw over the view's own colours.
    ::SetWindowTheme(hwnd(), L"", L"");
    SYSTEMTIME range[2] = {toSystemTime(view.MinDate()), toSystemTime(view.MaxDate())};
    ::SendMessageW(hwnd(), MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
    applyColors();
    fitFont(parent.dpi());
}

void MonthViewPeer::setSelection(const Date& date) {
    SYSTEMTIME st = toSystemTime(date);
    ::SendMessageW(hwnd(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
}

LRESULT MonthViewPeer::onNotify(const NMHDR& header) {
    if (header.code == MCN_SELCHANGE) {
        const auto& change = reinterpret_cast<const NMSELCHANGE&>(header);
        view_.userSelected(toDate(change.stSelStart));
    }
    return 0;
}

void MonthViewPeer::onDpiChanged(int dpi) { fitFont(dpi); }

void MonthViewPeer::applyColors() {
    const std::pair<MonthPart, int> parts[] = {
        {MonthPart::TitleBack, MCSC_TITLEBK}, {MonthPart::TitleText, MCSC_TITLETEXT},
        {MonthPart::MonthBack, MCSC_MONTHBK}, {MonthPart::Text, MCSC_TEXT},
        {MonthPart::TrailingText, MCSC_TRAILINGTEXT}, {MonthPart::Background, MCSC_BACKGROUND}};
    for (const auto& [part, index] : parts) {
        const COLORREF colour = colorOf(monthColour(view_.colors(), part, parent_.highContrast()));
        ::SendMessageW(hwnd(), MCM_SETCOLOR, static_cast<WPARAM>(index), colour);
    }
}

// The largest font, up to the dialog font, at which the whole month fits
// inside the part of the box that is seen.
void MonthViewPeer::fitFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi));
    LOGFONTW lf = metrics.lfMessageFont;
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    RECT visible = client;
    ::MapWindowPoints(hwnd(), parent_.hwnd(), reinterpret_cast<POINT*>(&visible), 2);
    RECT parentClient{};
    ::GetClientRect(parent_.hwnd(), &parentClient);
    const int width = std::min(visible.right, parentClient.right) - visible.left;
    const int height = client.bottom;
    if (HFONT known = fonts_.find(dpi, width, height)) {
        ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(known), TRUE);
        return;
    }
    const int largest = std::abs(lf.lfHeight);
    const int smallest = std::max(6, ::MulDiv(8, dpi, 96));
    UniqueFont font;
    for (int size = largest; size >= smallest; --size) {
        lf.lfHeight = -size;
        font.reset(::CreateFontIndirectW(&lf));
        ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        if (fits(width, height)) break;
    }
    fonts_.keep(dpi, width, height, std::move(font));
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

HFONT MonthViewFonts::find(int dpi, int width, int height) const {
    for (const Entry& e : entries_)
        if (e.dpi == dpi && e.width == width && e.height == height) return e.font.get();
    return nullptr;
}

HFONT MonthViewFonts::keep(int dpi, int width, int height, UniqueFont font) {
    entries_.push_back({dpi, width, height, std::move(font)});
    return entries_.back().font.get();
}

bool MonthViewPeer::fits(int width, int height) const {
    RECT need{};
    if (!::SendMessageW(hwnd(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need))) return false;
    return need.right <= width && need.bottom <= height;
}

// Double-clicks are told by time and distance, as the system does, so that
// they are seen whether or not the control's class asks for them.
LRESULT MonthViewPeer::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ChildPeer::handleMessage(msg, wParam, lParam);
    if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return result;
    const LONG time = ::GetMessageTime();
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const bool doubleClick =
        msg == WM_LBUTTONDBLCLK ||
        (lastDown_ && static_cast<UINT>(time - lastDownTime_) <= ::GetDoubleClickTime() &&
         std::abs(at.x - lastDownAt_.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
         std::abs(at.y - lastDownAt_.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2);
    lastDown_ = !doubleClick;
    lastDownTime_ = time;
    lastDownAt_ = at;
    MonthView& view = view_;  // the click may unload the form and so this peer
    view.click();
    if (doubleClick) view.dblClick();
    return result;
}

}  // namespace dv::win32
