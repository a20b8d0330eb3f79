#include "dayvane_main.h"

#include "main_window/main_window.h"

namespace dv {

namespace {

// The program's window instances, one of each, alive for the whole run.
struct Windows {
    explicit Windows(Platform& p)
        : frmmain({p.toolkit, p.messageBox}, {p.clock, p.screen, p.notifyIcon, p.application}, {}) {}
    MainWindow frmmain;
};

}  // namespace

int dayvaneMain(Platform& platform) {
    if (!platform.instance.acquire()) {
        platform.instance.wakeRunning();
        return 0;
    }
    Windows windows(platform);
    windows.frmmain.Show();
    return platform.application.run();
}

}  // namespace dv
