#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "date.h"
#include "geometry.h"

// The services the windows reach the platform through. Each has a Win32
// implementation and a fake for the unit tests.
namespace dv {

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
    // The time of day in the user's long time format.
    virtual std::string longTimeText(const LocalTime& t) const = 0;
};

struct ScreenInfo {
    Rect monitor;   // the primary monitor, in pixels
    Rect workArea;  // the part of it that the taskbar and docked bars leave
    int dpi = 96;   // the primary monitor's DPI
};

class Screen {
public:
    virtual ~Screen() = default;
    virtual ScreenInfo primary() const = 0;
    // The work area of the monitor that holds most of the window (pixels),
    // or the nearest one. With a single monitor, the primary's.
    virtual Rect workAreaOf(const Rect& /*window*/) const { return primary().workArea; }
};

// The user's settings for how windows draw.
class Accessibility {
public:
    virtual ~Accessibility() = default;
    // A high-contrast theme is on: windows draw with the system's colours only.
    virtual bool highContrast() const = 0;
};

// Task-modal: no window of the program takes input while it is up.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void show(std::string_view prompt) = 0;
};

// One icon in the notification area. Its mouse activity comes back to the
// owning form as Form_TrayNotify.
class NotifyIcon {
public:
    virtual ~NotifyIcon() = default;
    virtual bool add(std::uintptr_t ownerWindow, std::string_view tooltip) = 0;
    virtual void remove() = 0;
};

// The rule of the program's lifetime.
class Application {
public:
    virtual ~Application() = default;
    // Runs the message loop until quit; gives the process's exit code.
    virtual int run() = 0;
    // Ends the message loop; the windows are destroyed on the way out.
    virtual void quit() = 0;
    // Runs work once, as soon as the windows shown at start are drawn:
    // for what the first frame does not need. Without a screen, at once.
    virtual void afterFirstFrame(std::function<void()> work) { work(); }
};

// One running Dayvane per user session.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True for the first instance; later ones get false.
    virtual bool acquire() = 0;
    // Asks the running instance to bring its window back.
    virtual void wakeRunning() = 0;
};

}  // namespace dv
