#include "form_window.h"

#include <algorithm>
#include <utility>
#include <variant>

#include <commctrl.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include "child_peer.h"
#include "messages.h"
#include "platform/controls.h"
#include "text.h"

namespace dv::win32 {

namespace {

struct Styles {
    DWORD style, exStyle;
};

Styles stylesFor(const FormDesign& design) {
    const DWORD caption = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD ex = WS_EX_CONTROLPARENT;
    if (design.showInTaskbar) ex |= WS_EX_APPWINDOW;
    switch (design.border) {
        case BorderStyle::FixedToolWindow:
            return {caption, ex | WS_EX_TOOLWINDOW};
        case BorderStyle::FixedDialog:
            return {caption | DS_MODALFRAME, ex | WS_EX_DLGMODALFRAME};
        case BorderStyle::FixedSingle:
            return {caption, ex};
        case BorderStyle::None:
            return {WS_POPUP | WS_CLIPCHILDREN, ex};
    }
    return {caption, ex};
}

std::wstring classNameFor(const FormDesign& design) { return kClassPrefix + widen(design.name); }

TrayMouse trayMouse(UINT message) {
    switch (message) {
        case WM_LBUTTONUP: return TrayMouse::LeftUp;
        case WM_RBUTTONUP: return TrayMouse::RightUp;
        case NIN_KEYSELECT: return TrayMouse::KeySelect;
        default: return TrayMouse::Other;
    }
}

// Menu ids are the item's place in the form's list plus kFirstMenuId: the
// dialog manager sends IDOK and IDCANCEL (1, 2) for Enter and Esc, which
// must not run the first menu items.
constexpr UINT kFirstMenuId = 0x100;

// Fires once the first frame is drawn (a timer comes only when no paint is
// waiting): the session and display notifications are not needed before.
constexpr UINT_PTR kWatchSessionTimer = 0xDA7E;

HMENU buildMenu(const Form& form) {
    const auto& items = form.menuItems();
    if (items.empty()) return nullptr;
    HMENU bar = ::CreateMenu();
    std::map<const MenuItem*, HMENU> popups;
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuItem* item = items[i];
        const bool hasChildren =
            std::any_of(items.begin(), items.end(), [&](const MenuItem* m) { return m->parent() == item; });
        HMENU into = item->parent() ? popups[item->parent()] : bar;
        const std::wstring caption = widen(item->caption());
        if (hasChildren) {
            HMENU popup = ::CreatePopupMenu();
            popups[item] = popup;
            ::AppendMenuW(into, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
        } else {
            ::AppendMenuW(into, MF_STRING, kFirstMenuId + i, caption.c_str());
        }
    }
    return bar;
}

HICON loadIcon(HINSTANCE instance, int resource, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(resource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

bool isPushButton(HWND hwnd) {
    return (::SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
}

int systemIndex(SystemColour colour) {
    switch (colour) {
        case SystemColour::Window: return COLOR_WINDOW;
        case SystemColour::WindowText: return COLOR_WINDOWTEXT;
        case SystemColour::Highlight: return COLOR_HIGHLIGHT;
        case SystemColour::HighlightText: return COLOR_HIGHLIGHTTEXT;
        case SystemColour::HotLight: return COLOR_HOTLIGHT;
        case SystemColour::GrayText: return COLOR_GRAYTEXT;
        case SystemColour::ButtonFace: return COLOR_BTNFACE;
        case SystemColour::ButtonText: return COLOR_BTNTEXT;
    }
    return COLOR_WINDOW;
}

}  // namespace

COLORREF colorOf(const Colour& colour) {
    if (const auto* system = std::get_if<SystemColour>(&colour)) return ::GetSysColor(systemIndex(*system));
    return std::get<unsigned>(colour);
}

HBRUSH systemBrush(SystemColour colour) { return ::GetSysColorBrush(systemIndex(colour)); }

FormWindow::FormWindow(HINSTANCE instance, Form& form, HWND owner, const Accessibility& accessibility)
    : instance_(instance), form_(form), accessibility_(accessibility), highContrast_(accessibility.highContrast()) {
    const FormDesign& design = form.design();
    const std::wstring className = classNameFor(design);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, className.c_str(), &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className.c_str();
        ::RegisterClassExW(&wc);
    }
    const Styles styles = stylesFor(design);
    // Created on the primary monitor, so that it starts with that DPI.
    const bool owned = !design.showInTaskbar && design.border != BorderStyle::FixedToolWindow;
    if (design.backColor) background_.reset(::CreateSolidBrush(*design.backColor));
    HWND hwnd = ::CreateWindowExW(styles.exStyle, className.c_str(), widen(form.Caption()).c_str(), styles.style, 0,
                                  0, 100, 100, owned ? owner : nullptr, nullptr, instance, this);
    if (!hwnd) throw std::runtime_error("the window " + design.name + " could not be created: " +
                                        systemMessage(::GetLastError()));
    hwnd_.reset(hwnd);
    dpi_ = static_cast<int>(::GetDpiForWindow(hwnd));
    if (HMENU menu = buildMenu(form); menu && !::SetMenu(hwnd, menu)) ::DestroyMenu(menu);
    if (design.iconResource) {
        bigIcon_.reset(loadIcon(instance, design.iconResource, ::GetSystemMetricsForDpi(SM_CXICON, dpi_)));
        smallIcon_.reset(loadIcon(instance, design.iconResource, ::GetSystemMetricsForDpi(SM_CXSMICON, dpi_)));
        ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
        ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    }
    updateFont();
    fitClientArea();
    if (design.centred) centre();
}

HBRUSH FormWindow::backgroundBrush() const {
    const Colour colour = formBackground(form_.design(), highContrast_);
    if (const auto* system = std::get_if<SystemColour>(&colour)) return systemBrush(*system);
    return background_.get();
}

void FormWindow::coloursChanged() {
    highContrast_ = accessibility_.highContrast();
    for (ChildPeer* child : children_) {
        // Common controls refresh their own system colours on it.
        ::SendMessageW(child->hwnd(), WM_SYSCOLORCHANGE, 0, 0);
        child->onColoursChanged();
    }
    ::RedrawWindow(hwnd_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// As in a dialog box, the focused push button is the default one, so Enter
// presses it; with the focus elsewhere the design's default button is.
void FormWindow::defaultFollowsFocus(HWND focusedButton) {
    if (!form_.design().enterPressesFocusedButton) return;
    for (ChildPeer* child : children_) {
        HWND button = child->hwnd();
        if (!isPushButton(button)) continue;
        const bool isDefault = focusedButton ? button == focusedButton : child->answersDialogKey(IDOK);
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK);
        const DWORD wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if (style != wanted) ::SendMessageW(button, BM_SETSTYLE, wanted, TRUE);
    }
}

void FormWindow::centre() {
    HMONITOR monitor = ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) return;
    const Size size = outerSize();
    const RECT& work = info.rcWork;
    // A window larger than the work area keeps its top-left corner on it.
    moveTo({std::max<int>(work.left, (work.left + work.right - size.width) / 2),
            std::max<int>(work.top, (work.top + work.bottom - size.height) / 2)});
}

// Enter and Esc from the dialog manager go to the default and cancel
// buttons, or to the form when it has none.
LRESULT FormWindow::dialogKey(UINT id) {
    for (ChildPeer* child : children_)
        if (child->answersDialogKey(static_cast<int>(id))) {
            child->onCommand(BN_CLICKED);
            return 0;
        }
    form_.peerEvent(FormEvent::DialogKey, static_cast<int>(id == IDOK ? DialogKey::Enter : DialogKey::Escape));
    return 0;
}

FormWindow::~FormWindow() {
    if (hwnd_) giveActivationBack();
    for (const auto& [id, timer] : timers_) ::KillTimer(hwnd_.get(), id);
    if (watchingSession_) ::WTSUnRegisterSessionNotification(hwnd_.get());
    // The window goes first: it still refers to the font and the icons.
    if (hwnd_) ::SetWindowLongPtrW(hwnd_.get(), GWLP_USERDATA, 0);
    hwnd_.reset();
}

RECT FormWindow::pixels(const TwipsBox& box) const {
    const int left = twipsToPixels(box.left, dpi_);
    const int top = twipsToPixels(box.top, dpi_);
    return {left, top, left + twipsToPixels(box.width, dpi_), top + twipsToPixels(box.height, dpi_)};
}

// The menu bar may wrap on a narrow window, which the frame arithmetic
// cannot know: measure the client area and grow until it is whole.
void FormWindow::fitClientArea() {
    const FormDesign& design = form_.design();
    const int width = twipsToPixels(design.clientWidth, dpi_);
    const int height = twipsToPixels(design.clientHeight, dpi_);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_.get(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(hwnd_.get(), GWL_EXSTYLE));
    RECT outer{0, 0, width, height};
    ::AdjustWindowRectExForDpi(&outer, style, ::GetMenu(hwnd_.get()) != nullptr, exStyle, static_cast<UINT>(dpi_));
    int outerWidth = outer.right - outer.left, outerHeight = outer.bottom - outer.top;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ::SetWindowPos(hwnd_.get(), nullptr, 0, 0, outerWidth, outerHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT client{};
        ::GetClientRect(hwnd_.get(), &client);
        if (client.right >= width && client.bottom >= height) break;
        outerWidth += std::max(0L, width - client.right);
        outerHeight += std::max(0L, height - client.bottom);
    }
}

void FormWindow::updateFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                     static_cast<UINT>(dpi_)))
        font_.reset(::CreateFontIndirectW(&metrics.lfMessageFont));
    for (ChildPeer* child : children_)
        if (!child->choosesOwnFont())
            ::SendMessageW(child->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void FormWindow::layoutChildren() {
    for (ChildPeer* child : children_) {
        const RECT r = pixels(child->box());
        ::SetWindowPos(child->hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormWindow::addChild(ChildPeer& child) {
    // Keep the native order (tab order, and drawing order where controls
    // overlap) the same as the design's tab indices, layer by layer.
    const auto place = [](const ChildPeer* c) { return std::pair(c->layer(), c->tabIndex()); };
    auto at = std::find_if(children_.begin(), children_.end(),
                           [&](const ChildPeer* c) { return place(c) > place(&child); });
    HWND after = at == children_.begin() ? HWND_TOP : (*std::prev(at))->hwnd();
    children_.insert(at, &child);
    ::SetWindowPos(child.hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!child.choosesOwnFont())
        ::SendMessageW(child.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    const RECT r = pixels(child.box());
    ::SetWindowPos(child.hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::removeChild(const ChildPeer& child) {
    std::erase(children_, &child);
    if (lastFocus_ == child.hwnd()) lastFocus_ = nullptr;
}

UINT_PTR FormWindow::addTimer(Timer& timer) {
    const UINT_PTR id = nextTimerId_++;
    timers_[id] = &timer;
    return id;
}

void FormWindow::removeTimer(UINT_PTR id) {
    ::KillTimer(hwnd_.get(), id);
    timers_.erase(id);
}

ChildPeer* FormWindow::childOf(HWND hwnd) const {
    for (ChildPeer* child : children_)
        if (child->hwnd() == hwnd) return child;
    return nullptr;
}

void FormWindow::setCaption(const std::string& caption) { ::SetWindowTextW(hwnd_.get(), widen(caption).c_str()); }

void FormWindow::show() {
    // Chosen before the window shows, so that its activation puts the focus
    // there at once instead of on the window first.
    if (!shownOnce_) {
        shownOnce_ = true;
        lastFocus_ = firstTabStop();
        ::SetTimer(hwnd_.get(), kWatchSessionTimer, USER_TIMER_MINIMUM, nullptr);
    }
    ::ShowWindow(hwnd_.get(), SW_SHOW);
    bringToFront();
    if (lastFocus_ && ::GetActiveWindow() == hwnd_.get()) ::SetFocus(lastFocus_);
}

void FormWindow::hide() {
    giveActivationBack();
    ::ShowWindow(hwnd_.get(), SW_HIDE);
}

// Every form is owned by the toolkit's hidden window, so Windows has no
// visible owner to hand the activation to when the active one goes away and
// would pick any window, often another program's. The window the user came
// from gets it back, as a dialog's owner would.
void FormWindow::giveActivationBack() {
    HWND back = std::exchange(activatedFrom_, nullptr);
    if (::GetActiveWindow() != hwnd_.get() || !back || back == hwnd_.get() || !::IsWindow(back)) return;
    if (::IsWindowVisible(back) && ::IsWindowEnabled(back) && !::IsIconic(back)) ::SetForegroundWindow(back);
}

void FormWindow::bringToFront() {
    ::SetWindowPos(hwnd_.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(hwnd_.get());
}

void FormWindow::setWindowState(WindowState state) {
    if (!::IsWindowVisible(hwnd_.get())) return;
    const bool minimised = ::IsIconic(hwnd_.get()) != FALSE;
    if (state == WindowState::Minimized && !minimised) ::ShowWindow(hwnd_.get(), SW_MINIMIZE);
    if (state == WindowState::Normal && minimised) ::ShowWindow(hwnd_.get(), SW_RESTORE);
}

Size FormWindow::outerSize() const {
    RECT r{};
    ::GetWindowRect(hwnd_.get(), &r);
    return {r.right - r.left, r.bottom - r.top};
}

Point FormWindow::position() const {
    RECT r{};
    ::GetWindowRect(hwnd_.get(), &r);
    return {r.left, r.top};
}

void FormWindow::moveTo(Point topLeft) {
    ::SetWindowPos(hwnd_.get(), nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::watchSession() {
    ::KillTimer(hwnd_.get(), kWatchSessionTimer);
    if (watchingSession_) return;
    watchingSession_ = ::WTSRegisterSessionNotification(hwnd_.get(), NOTIFY_FOR_THIS_SESSION) != FALSE;
    // Windows 8 and later; Windows 10 sends the current state at once.
    displayNotify_.reset(
        ::RegisterPowerSettingNotification(hwnd_.get(), &GUID_SESSION_DISPLAY_STATUS, DEVICE_NOTIFY_WINDOW_HANDLE));
}

// Reported only when it changes. The handler sets the caption or a timer,
// never unloads, so the peer may go on afterwards.
void FormWindow::updateSight() {
    const Sight now = visible_ && !minimised_ && !locked_ && !displayOff_ ? Sight::Seen : Sight::Unseen;
    if (now == sight_) return;
    sight_ = now;
    form_.peerEvent(FormEvent::SightChanged, static_cast<int>(now));
}

// The shown, enabled tab stop with the lowest tab index.
HWND FormWindow::firstTabStop() const {
    HWND first = nullptr;
    int lowest = 0;
    for (const ChildPeer* child : children_) {
        const auto style = ::GetWindowLongPtrW(child->hwnd(), GWL_STYLE);
        const bool canFocus = (style & WS_VISIBLE) && !(style & WS_DISABLED) && (style & WS_TABSTOP);
        if (canFocus && child->tabIndex() >= 0 && (!first || child->tabIndex() < lowest)) {
            first = child->hwnd();
            lowest = child->tabIndex();
        }
    }
    return first;
}

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->hwnd_) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->handle(msg, wParam, lParam);
    } catch (...) {
        // Nothing may cross the window procedure; the handlers report their own failures.
        return 0;
    }
}

// After an event goes to the form, nothing here touches the peer again:
// the handler may have unloaded the form and so destroyed this object.
LRESULT FormWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    HWND hwnd = hwnd_.get();
    if (msg == taskbarCreated && taskbarCreated != 0) {
        form_.peerEvent(FormEvent::TaskbarCreated);
        return 0;
    }
    switch (msg) {
        case kTrayCallbackMessage:
            // Version 4: the low word is the mouse message, whatever the pointer's place.
            form_.peerEvent(FormEvent::TrayNotify, static_cast<int>(trayMouse(LOWORD(lParam))));
            return 0;
        case kRestoreRequestMessage:
            form_.peerEvent(FormEvent::RestoreRequested);
            return 0;
        case DM_GETDEFID: {
            // The dialog manager asks on every Tab and sets the default button's look by the answer.
            HWND focus = ::GetFocus();
            if (form_.design().enterPressesFocusedButton && focus && ::IsChild(hwnd, focus) && isPushButton(focus))
                return MAKELRESULT(::GetDlgCtrlID(focus), DC_HASDEFID);
            for (ChildPeer* child : children_)
                if (child->answersDialogKey(IDOK)) return MAKELRESULT(IDOK, DC_HASDEFID);
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT client{};
            ::GetClientRect(hwnd, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, backgroundBrush());
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (ChildPeer* child = childOf(reinterpret_cast<HWND>(lParam)))
                if (HBRUSH brush = child->controlColor(reinterpret_cast<HDC>(wParam)))
                    return reinterpret_cast<LRESULT>(brush);
            break;
        case WM_MOUSEMOVE:
            form_.peerEvent(FormEvent::MouseMove);
            return 0;
        case WM_COMMAND:
            if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) return dialogKey(LOWORD(wParam));
            if (lParam == 0 && HIWORD(wParam) == 0) {
                const UINT id = LOWORD(wParam);
                const auto& items = form_.menuItems();
                if (id >= kFirstMenuId && id - kFirstMenuId < items.size()) items[id - kFirstMenuId]->click();
                return 0;
            }
            if (ChildPeer* child = childOf(reinterpret_cast<HWND>(lParam))) child->onCommand(HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (ChildPeer* child = childOf(header->hwndFrom)) return child->onNotify(*header);
            break;
        }
        case WM_TIMER:
            if (wParam == kWatchSessionTimer) {
                watchSession();
                return 0;
            }
            if (auto it = timers_.find(wParam); it != timers_.end()) {
                it->second->tick();
                return 0;
            }
            break;
        case WM_CLOSE:
            form_.peerEvent(FormEvent::QueryUnload);
            return 0;
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) form_.peerStateChanged(WindowState::Minimized);
            if (wParam == SIZE_RESTORED) form_.peerStateChanged(WindowState::Normal);
            if (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED) {
                minimised_ = wParam == SIZE_MINIMIZED;
                updateSight();
            }
            return 0;
        // Before the window changes on screen: the first frame then shows
        // what the form made of its new sight.
        case WM_SHOWWINDOW:
            if (lParam == 0) {
                visible_ = wParam != FALSE;
                updateSight();
            }
            break;
        case WM_QUERYOPEN:
            minimised_ = false;
            updateSight();
            return TRUE;
        // Whatever way the window changed (hidden while minimised, then
        // restored, sends neither of the above), the state as it now is.
        case WM_WINDOWPOSCHANGED: {
            const LRESULT result = ::DefWindowProcW(hwnd, msg, wParam, lParam);
            visible_ = ::IsWindowVisible(hwnd) != FALSE;
            minimised_ = ::IsIconic(hwnd) != FALSE;
            updateSight();
            return result;
        }
        case WM_WTSSESSION_CHANGE:
            if (wParam == WTS_SESSION_LOCK || wParam == WTS_SESSION_UNLOCK) {
                locked_ = wParam == WTS_SESSION_LOCK;
                updateSight();
            }
            return 0;
        case WM_POWERBROADCAST:
            if (wParam == PBT_POWERSETTINGCHANGE) {
                const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
                if ((setting->PowerSetting == GUID_SESSION_DISPLAY_STATUS ||
                     setting->PowerSetting == GUID_CONSOLE_DISPLAY_STATE) &&
                    setting->DataLength >= sizeof(DWORD)) {
                    // 0 off, 1 on, 2 dimmed (still seen).
                    displayOff_ = *reinterpret_cast<const DWORD*>(setting->Data) == 0;
                    updateSight();
                }
                return TRUE;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus && ::IsChild(hwnd, focus)) lastFocus_ = focus;
                break;
            }
            if (HWND from = reinterpret_cast<HWND>(lParam);
                from && ::GetWindowThreadProcessId(from, nullptr) == ::GetCurrentThreadId())
                activatedFrom_ = from;
            if (lastFocus_ && ::IsWindow(lastFocus_)) ::SetFocus(lastFocus_);
            else ::DefWindowProcW(hwnd, msg, wParam, lParam);
            form_.peerEvent(FormEvent::Activate);
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wParam);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            ::SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            updateFont();
            fitClientArea();
            layoutChildren();
            for (ChildPeer* child : children_) child->onDpiChanged(dpi_);
            return 0;
        }
        case WM_GETMINMAXINFO: {
            // The frame is fixed, so the design's size must hold even on a
            // screen too small for it; the system's limit would cut the client.
            ::DefWindowProcW(hwnd, msg, wParam, lParam);
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = {SHRT_MAX, SHRT_MAX};
            return 0;
        }
        case WM_DISPLAYCHANGE:
            form_.peerEvent(FormEvent::DisplayChanged);
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) {
                form_.peerEvent(FormEvent::DisplayChanged);
                return 0;
            }
            if (wParam == SPI_SETHIGHCONTRAST) coloursChanged();
            break;
        case WM_SYSCOLORCHANGE:
            coloursChanged();
            break;
        case WM_ENTERSIZEMOVE:
            ::GetWindowRect(hwnd, &movedFrom_);
            break;
        case WM_EXITSIZEMOVE: {
            RECT now{};
            ::GetWindowRect(hwnd, &now);
            if (now.left != movedFrom_.left || now.top != movedFrom_.top) {
                form_.peerEvent(FormEvent::MovedByUser);
                return 0;
            }
            break;
        }
        default:
            break;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace dv::win32
