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
class CommandButton;
class PictureBox;
class MonthView;
class Timer;
class CheckBox;
class OptionButton;
class Label;
class Line;
class TextBox;

enum class WindowState { Normal, Minimized };

// Whether the user can see a window at all: shown, not minimised, the
// session unlocked and the display on. The peer reports a change before it
// reaches the screen, so that what the window shows is right at once.
enum class Sight { Seen, Unseen };

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    // Only the kinds of control that have these take notice.
    virtual void setBackColor(unsigned /*color*/) {}
    virtual void setChecked(int /*value*/) {}
    virtual void setSelStart(int /*position*/) {}
};

class MonthViewPeer : public ControlPeer {
public:
    virtual void setSelection(const Date& date) = 0;
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    // Interval 0 stops the timer.
    virtual void arm(int intervalMs) = 0;
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
    virtual std::unique_ptr<ControlPeer> createButton(FormPeer& parent, CommandButton& button) = 0;
    virtual std::unique_ptr<ControlPeer> createPicture(FormPeer& parent, PictureBox& picture) = 0;
    virtual std::unique_ptr<MonthViewPeer> createMonthView(FormPeer& parent, MonthView& view) = 0;
    virtual std::unique_ptr<TimerPeer> createTimer(FormPeer& parent, Timer& timer) = 0;
    virtual std::unique_ptr<ControlPeer> createCheckBox(FormPeer& parent, CheckBox& box) = 0;
    virtual std::unique_ptr<ControlPeer> createOptionButton(FormPeer& parent, OptionButton& option) = 0;
    virtual std::unique_ptr<ControlPeer> createLabel(FormPeer& parent, Label& label) = 0;
    virtual std::unique_ptr<ControlPeer> createLine(FormPeer& parent, Line& line) = 0;
    virtual std::unique_ptr<ControlPeer> createTextBox(FormPeer& parent, TextBox& text) = 0;
};

}  // namespace dv
