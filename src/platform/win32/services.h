#pragma once

#include <functional>
#include <vector>

#include "handles.h"
#include "platform/app_identity.h"
#include "platform/services.h"

namespace dv::win32 {

// The running executable's path, folder and base name.
AppIdentity runningIdentity();

class SystemClock final : public Clock {
public:
    LocalTime now() const override;
    std::string longTimeText(const LocalTime& t) const override;
};

class PrimaryScreen final : public Screen {
public:
    ScreenInfo primary() const override;
    Rect workAreaOf(const Rect& window) const override;
};

class SystemAccessibility final : public Accessibility {
public:
    bool highContrast() const override;
};

class TaskModalMessageBox final : public MessageBox {
public:
    void show(std::string_view prompt) override;
};

class ShellNotifyIcon final : public NotifyIcon {
public:
    ShellNotifyIcon(HINSTANCE instance, int iconResource) : instance_(instance), iconResource_(iconResource) {}
    ~ShellNotifyIcon() override { remove(); }
    bool add(std::uintptr_t ownerWindow, std::string_view tooltip) override;
    void remove() override;

private:
    HINSTANCE instance_;
    int iconResource_;
    HWND owner_ = nullptr;
    UniqueIcon icon_;
};

class MessageLoop final : public Application {
public:
    int run() override;
    void quit() override;
    // On a timer: it comes only once no window is waiting to be painted,
    // and in whatever message loop runs then (a message box's too).
    void afterFirstFrame(std::function<void()> work) override;

private:
    static LRESULT CALLBACK timerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::vector<std::function<void()>> afterFirstFrame_;
    UniqueWindow timerWindow_;  // message-only
};

class SessionInstance final : public SingleInstance {
public:
    bool acquire() override;
    void wakeRunning() override;

private:
    UniqueHandle mutex_;
};

}  // namespace dv::win32
