#include "win32.h"  // first: the other system headers need it

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>

#include "peers_win32.h"

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

class MonthViewPeerImpl final : public MonthViewPeer, public ChildWindow {
public:
    MonthViewPeerImpl(FormWindow& parent, MonthView& view, MonthViewFonts& fonts)
        : parent_(parent),
          view_(view),
          fonts_(fonts),
                    // No "Today:" line: in a view this narrow its font would be so small
          // that Wine cuts the bold line short. Today stays circled, and
          // "Refresh Dayvane" goes back to it.
          hwnd_(createChild(parent, view, MONTHCAL_CLASSW, L"", MCS_NOTODAY)) {
        // Visual styles would draw over the view's own colours.
        ::SetWindowTheme(hwnd_.get(), L"", L"");
        SYSTEMTIME range[2] = {toSystemTime(view.MinDate()), toSystemTime(view.MaxDate())};
        ::SendMessageW(hwnd_.get(), MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
        applyColors();
        ::SetWindowSubclass(hwnd_.get(), subclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
        parent_.addChild(*this);
        onDpiChanged(parent.dpi());
    }

    ~MonthViewPeerImpl() override {
        ::RemoveWindowSubclass(hwnd_.get(), subclassProc, 1);
        parent_.removeChild(*this);
    }

    HWND hwnd() const override { return hwnd_.get(); }
    const TwipsBox& box() const override { return view_.design().box; }
    int tabIndex() const override { return view_.design().tabIndex; }

    void setEnabled(bool enabled) override { ::EnableWindow(hwnd_.get(), enabled); }
    void setVisible(bool visible) override { ::ShowWindow(hwnd_.get(), visible ? SW_SHOWNA : SW_HIDE); }
    void setFocus() override { ::SetFocus(hwnd_.get()); }
    bool hasFocus() const override { return ::GetFocus() == hwnd_.get(); }

    void setSelection(const Date& date) override {
        SYSTEMTIME st = toSystemTime(date);
        ::SendMessageW(hwnd_.get(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
    }

    LRESULT onNotify(const NMHDR& header) override {
        if (header.code == MCN_SELCHANGE) {
            const auto& change = reinterpret_cast<const NMSELCHANGE&>(header);
            view_.userSelected(toDate(change.stSelStart));
        }
        return 0;
    }

    void onDpiChanged(int dpi) override { fitFont(dpi); }

private:
    void applyColors() {
        const MonthViewColors& c = view_.colors();
        const std::pair<int, const std::optional<unsigned>*> parts[] = {
            {MCSC_TITLEBK, &c.titleBack},       {MCSC_TITLETEXT, &c.titleText},
            {MCSC_MONTHBK, &c.monthBack},       {MCSC_TEXT, &c.text},
            {MCSC_TRAILINGTEXT, &c.trailingText}, {MCSC_BACKGROUND, &c.background}};
        for (const auto& [part, colour] : parts)
            if (*colour) ::SendMessageW(hwnd_.get(), MCM_SETCOLOR, static_cast<WPARAM>(part), **colour);
    }

    // The largest font, up to the dialog font, at which the whole month
    // fits inside the part of the box that is seen.
    void fitFont(int dpi) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        ::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi));
        LOGFONTW lf = metrics.lfMessageFont;
        RECT client{};
        ::GetClientRect(hwnd_.get(), &client);
        RECT visible = client;
        ::MapWindowPoints(hwnd_.get(), parent_.hwnd(), reinterpret_cast<POINT*>(&visible), 2);
        RECT parentClient{};
        ::GetClientRect(parent_.hwnd(), &parentClient);
        const int width = std::min(visible.right, parentClient.right) - visible.left;
        const int height = client.bottom;
        if (HFONT known = fonts_.find(dpi, width, height)) {
            ::SendMessageW(hwnd_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(known), TRUE);
            return;
        }
        const int largest = std::abs(lf.lfHeight);
        const int smallest = std::max(6, ::MulDiv(8, dpi, 96));
        UniqueFont font;
        for (int size = largest; size >= smallest; --size) {
            lf.lfHeight = -size;
            font.reset(::CreateFontIndirectW(&lf));
            ::SendMessageW(hwnd_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
            if (fits(width, height)) break;
        }
        fonts_.keep(dpi, width, height, std::move(font));
        ::InvalidateRect(hwnd_.get(), nullptr, TRUE);
    }

    bool fits(int width, int height) const {
        RECT need{};
        if (!::SendMessageW(hwnd_.get(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need))) return false;
        return need.right <= width && need.bottom <= height;
    }

    // Double-clicks are told by time and distance, as the system does, so
    // that they are seen whether or not the control's class asks for them.
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
        auto* self = reinterpret_cast<MonthViewPeerImpl*>(data);
        if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return ::DefSubclassProc(hwnd, msg, wParam, lParam);
        const LRESULT result = ::DefSubclassProc(hwnd, msg, wParam, lParam);
        const LONG time = ::GetMessageTime();
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool doubleClick =
            msg == WM_LBUTTONDBLCLK ||
            (self->lastDown_ && static_cast<UINT>(time - self->lastDownTime_) <= ::GetDoubleClickTime() &&
             std::abs(at.x - self->lastDownAt_.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
             std::abs(at.y - self->lastDownAt_.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2);
        self->lastDown_ = !doubleClick;
        self->lastDownTime_ = time;
        self->lastDownAt_ = at;
        MonthView& view = self->view_;
        view.click();
        if (doubleClick) view.dblClick();
        return result;
    }

    FormWindow& parent_;
    MonthView& view_;
    MonthViewFonts& fonts_;
    UniqueWindow hwnd_;
    bool lastDown_ = false;
    LONG lastDownTime_ = 0;
    POINT lastDownAt_{};
};

}  // namespace

HFONT MonthViewFonts::find(int dpi, int width, int height) const {
    for (const Entry& e : entries_)
        if (e.dpi == dpi && e.width == width && e.height == height) return e.font.get();
    return nullptr;
}

HFONT MonthViewFonts::keep(int dpi, int width, int height, UniqueFont font) {
    entries_.push_back({dpi, width, height, std::move(font)});
    return entries_.back().font.get();
}

std::unique_ptr<MonthViewPeer> makeMonthViewPeer(FormWindow& parent, MonthView& view, MonthViewFonts& fonts) {
    return std::make_unique<MonthViewPeerImpl>(parent, view, fonts);
}

}  // namespace dv::win32
