#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "date.h"
#include "geometry.h"

// The native side of the forms runtime. A peer mirrors a headless form or
// control on screen and reports the user's actions back to it; the rules
// live in the headless objects, never in a peer. A peer must not touch
// itself after reporting an event: the handler may have unloaded its form.
namespace dv {

class Form;
class Control;

enum class WindowState { Normal, Minimized };

// One interface for every kind of control; a kind takes notice only of the
// calls that mean something to it, the rest do nothing.
class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void setEnabled(bool /*enabled*/) {}
    virtual void setVisible(bool /*visible*/) {}
    virtual void setFocus() {}
    virtual bool hasFocus() const { return false; }
    virtual void setBackColor(unsigned /*color*/) {}
    virtual void setChecked(int /*value*/) {}
    virtual void setSelStart(int /*position*/) {}
    virtual void setSelection(const Date& /*date*/) {}
    // Interval 0 stops a timer.
    virtual void arm(int /*intervalMs*/) {}
};

class FormPeer {
public:
    virtual ~FormPeer() = default;
    virtual void setCaption(const std::string& caption) = 0;
    // Makes the window visible, active and frontmost.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void bringToFront() = 0;
    virtual void setWindowState(WindowState state) = 0;
    virtual Size outerSize() const = 0;  // pixels, frame included
    virtual Point position() const = 0;  // outer top-left, pixels
    virtual void moveTo(Point topLeft) = 0;
    virtual int dpi() const = 0;
    virtual std::uintptr_t handle() const = 0;
};

// Makes the peers. The Win32 toolkit makes real windows; the fake one
// records what the logic asked for.
class Toolkit {
public:
    virtual ~Toolkit() = default;
    virtual std::unique_ptr<FormPeer> createForm(Form& form) = 0;
    // A peer of the control's kind (Control::kind).
    virtual std::unique_ptr<ControlPeer> createControl(FormPeer& parent, Control& control) = 0;
};

}  // namespace dv
