#include "dayvane_main.h"

#include "main_window/main_window.h"
#include "options_dialog/options_dialog.h"
#include "about_box/about_box.h"
#include "readme_window/readme_window.h"

namespace dv {

namespace {

// The program's window instances, one of each, alive for the whole run.
struct Windows {
    explicit Windows(Platform& p)
        : frmstartup({p.toolkit, p.messageBox}, p.options, p.identity),
          frmAbout({p.toolkit, p.messageBox}, p.about, p.identity),
          ThumbFrm5({p.toolkit, p.messageBox}),
          frmmain({p.toolkit, p.messageBox}, {p.clock, p.screen, p.notifyIcon, p.application},
                  {.options = [&] { frmstartup.Show(); },
                   .about = [&] { frmAbout.Show(); },
                   .readme = [&] { ThumbFrm5.Show(); }}) {}
    OptionsDialog frmstartup;
    AboutBox frmAbout;
    ReadmeWindow ThumbFrm5;
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
