#pragma once

#include <functional>

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/services.h"

namespace dv {

struct MainWindowServices {
    Clock& clock;
    Screen& screen;
    NotifyIcon& notifyIcon;
    Application& application;
};

// What the menu opens; each shows its window by the runtime's rule.
struct WindowOpeners {
    std::function<void()> options;
    std::function<void()> about;
    std::function<void()> readme;
};

inline constexpr const char* kTrayTooltip = "Dayvane is running";

// The start-up window: photo, main month view, next-month view, clock.
class MainWindow final : public Form {
public:
    MainWindow(FormsEnv env, MainWindowServices services, WindowOpeners openers);

    CommandButton Command1;
    MonthView mv1;
    MonthView mv3;
    PictureBox Picture1;
    Timer Timer1;

    MenuItem mnufile;
    MenuItem mnuexit;
    MenuItem mnuOptions;
    MenuItem mnustartup;
    MenuItem mnushortcut;
    MenuItem mnurefresh;
    MenuItem mnuphoto;
    MenuItem mnuminimise;
    MenuItem mnuabout;

    bool iconRegistered() const { return iconRegistered_; }

    // Procedures of the window.
    void form_center();
    void AdjDate();
    void restore();

private:
    void Form_Load() override;
    void Form_QueryUnload() override;
    void Form_TrayNotify(TrayMouse mouse) override;
    void Form_TaskbarCreated() override;
    void Form_DisplayChanged() override;
    void Form_RestoreRequested() override;
    void Form_MovedByUser() override;
    void Form_SightChanged(Sight sight) override;

    void Timer1_Timer();
    void showTime();
    void Command1_Click();
    void mnuminimise_Click();
    void mnuexit_Click();
    void mnurefresh_Click();
    void mv1_Click();
    void mv1_DblClick();
    void mv1_SelChange();

    void registerIcon();
    void hideToTray();
    void end();

    // A failed add is tried again on the clock's tick, this many seconds apart.
    static constexpr int kIconRetrySeconds = 5;

    MainWindowServices services_;
    WindowOpeners openers_;
    bool iconRegistered_ = false;
    bool movedByUser_ = false;  // since form_center last placed it
    int secondsSinceIconAttempt_ = 0;
};

}  // namespace dv
