#pragma once

#include <map>
#include <vector>

#include "handles.h"
#include "platform/colours.h"
#include "platform/form.h"
#include "platform/peers.h"
#include "platform/services.h"

namespace dv {
class Timer;
}  // namespace dv

namespace dv::win32 {

class ChildPeer;

COLORREF colorOf(const Colour& colour);
HBRUSH systemBrush(SystemColour colour);  // the system's own: never deleted

class FormWindow final : public FormPeer {
public:
    // owner: the hidden window that keeps a form without its own taskbar
    // button off the taskbar; tool windows need none.
    FormWindow(HINSTANCE instance, Form& form, HWND owner, const Accessibility& accessibility);
    ~FormWindow() override;

    void setCaption(const std::string& caption) override;
    void show() override;
    void hide() override;
    void bringToFront() override;
    void setWindowState(WindowState state) override;
    Size outerSize() const override;
    Point position() const override;
    void moveTo(Point topLeft) override;
    int dpi() const override { return dpi_; }
    std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_.get()); }

    HWND hwnd() const { return hwnd_.get(); }
    HINSTANCE instance() const { return instance_; }
    HFONT font() const { return font_.get(); }
    HBRUSH backgroundBrush() const;
    bool highContrast() const { return highContrast_; }
    // The focused push button, or null when the focus left one.
    void defaultFollowsFocus(HWND focusedButton);
    // Pixel rectangle of a design box at the window's DPI.
    RECT pixels(const TwipsBox& box) const;

    void addChild(ChildPeer& child);
    // An id no other child of the window has, above those of the dialog keys.
    int newChildId() { return nextChildId_++; }
    void removeChild(const ChildPeer& child);
    UINT_PTR addTimer(Timer& timer);
    void removeTimer(UINT_PTR id);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void fitClientArea();
    void layoutChildren();
    void updateFont();
    HWND firstTabStop() const;
    void centre();
    LRESULT dialogKey(UINT id);
    ChildPeer* childOf(HWND hwnd) const;
    void coloursChanged();
    void watchSession();
    void updateSight();
    void giveActivationBack();

    HINSTANCE instance_;
    Form& form_;
    const Accessibility& accessibility_;
    bool highContrast_;
    UniqueWindow hwnd_;
    UniqueFont font_;
    UniqueIcon bigIcon_, smallIcon_;
    UniqueBrush background_;
    int dpi_ = 96;
    bool shownOnce_ = false;
    HWND lastFocus_ = nullptr;
    HWND activatedFrom_ = nullptr;  // this thread's window that was active before
    RECT movedFrom_{};  // where the user's move or drag began
    std::vector<ChildPeer*> children_;
    std::map<UINT_PTR, Timer*> timers_;
    UINT_PTR nextTimerId_ = 1;
    int nextChildId_ = 0x10;
    // What the sight is made of, as the messages tell it.
    bool visible_ = false, minimised_ = false, locked_ = false, displayOff_ = false;
    Sight sight_ = Sight::Unseen;
    bool watchingSession_ = false;
    UniquePowerNotify displayNotify_;
};

}  // namespace dv::win32
