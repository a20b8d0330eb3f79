#include "main_window.h"

#include "assets/resource_ids.h"
#include "clock_caption.h"
#include "placement.h"

namespace dv {

namespace {

FormDesign mainWindowDesign() {
    return {.name = "frmmain",
            .caption = "",
            .clientWidth = 2685,
            .clientHeight = 6975,
            .border = BorderStyle::FixedToolWindow,
            .showInTaskbar = false,
            .iconResource = IDI_DAYVANE,
            // Its only button lies outside the window: Enter must not hide the window unseen.
            .enterPressesFocusedButton = false};
}

// The two colour sets; each view keeps the system's title text colour.
MonthViewColors mainViewColors() {
    return {.titleBack = 0x008000,   // green
            .titleText = {},
            .monthBack = 0xC0E0FF,   // light peach
            .text = 0x000000,        // black
            .trailingText = 0x0080FF,  // orange
            .background = 0xC0E0FF};   // light peach
}

MonthViewColors nextViewColors() {
    return {.titleBack = 0x404080,     // brown
            .titleText = {},
            .monthBack = 0xC0FFFF,     // light yellow
            .text = 0x000000,          // black
            .trailingText = 0x808000,  // teal
            .background = 0x80C0FF};   // light orange
}

}  // namespace

MainWindow::MainWindow(FormsEnv env, MainWindowServices services, WindowOpeners openers)
    : Form(env, mainWindowDesign()),
      // Design order: the next-month view was drawn first.
      Command1(*this, {.name = "Command1", .box = {3960, 120, 615, 375}, .tabIndex = 0}, "Command1"),
      mv1(*this, {.name = "mv1", .box = {0, 2160, 2700, 2370}, .tabIndex = 1}, {.colors = mainViewColors()}),
      mv3(*this, {.name = "mv3", .box = {0, 4560, 2700, 2370}, .tabIndex = 2}, {.colors = nextViewColors()}),
      Picture1(*this, {.name = "Picture1", .box = {0, 0, 2700, 2175}, .tabIndex = 4}, IDR_PHOTO),
      Timer1(*this, "Timer1", 1000),
      mnufile(*this, "mnufile", "File"),
      mnuexit(*this, "mnuexit", "Exit", &mnufile),
      mnuOptions(*this, "mnuOptions", "Option"),
      mnustartup(*this, "mnustartup", "Add to start up", &mnuOptions),
      mnushortcut(*this, "mnushortcut", "Create Shortcut", &mnuOptions),
      mnurefresh(*this, "mnurefresh", "Refresh Dayvane", &mnuOptions),
      mnuphoto(*this, "mnuphoto", "Add own photo", &mnuOptions),
      mnuminimise(*this, "mnuminimise", "Minimise"),
      mnuabout(*this, "mnuabout", "About"),
      services_(services),
      openers_(std::move(openers)) {
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Command1.onClick = [this] { Command1_Click(); };
    mv1.onClick = [this] { mv1_Click(); };
    mv1.onDblClick = [this] { mv1_DblClick(); };
    mv1.onSelChange = [this] { mv1_SelChange(); };
    mnuexit.onClick = [this] { mnuexit_Click(); };
    mnustartup.onClick = [this] { if (openers_.options) openers_.options(); };
    mnushortcut.onClick = [this] { if (openers_.options) openers_.options(); };
    mnurefresh.onClick = [this] { mnurefresh_Click(); };
    mnuphoto.onClick = [this] { if (openers_.readme) openers_.readme(); };
    mnuminimise.onClick = [this] { mnuminimise_Click(); };
    mnuabout.onClick = [this] { if (openers_.about) openers_.about(); };
}

void MainWindow::Form_Load() {
    form_center();
    // Nobody sees the icon in the first frame: it waits until that is drawn.
    services_.application.afterFirstFrame([this] {
        if (loaded()) registerIcon();
    });
    // Opens on today rather than on the date the views were designed with.
    mv1.setValue(services_.clock.now().date);
    AdjDate();
    showTime();
}

void MainWindow::Timer1_Timer() {
    showTime();
    if (!iconRegistered_ && ++secondsSinceIconAttempt_ >= kIconRetrySeconds) registerIcon();
}

void MainWindow::showTime() {
    const LocalTime now = services_.clock.now();
    setCaption(clockCaption(services_.clock.longTimeText(now)));
    Timer1.setInterval(msToNextSecond(now));
}

// The clock wakes the program only while someone can see it; coming back
// into sight, the caption is brought up to date before it is drawn.
void MainWindow::Form_SightChanged(Sight sight) {
    Timer1.setEnabled(sight == Sight::Seen);
    if (sight == Sight::Seen) showTime();
}

void MainWindow::Command1_Click() { hideToTray(); }
void MainWindow::mnuminimise_Click() { hideToTray(); }

// Without an icon a hidden window could never come back: minimise instead.
void MainWindow::hideToTray() {
    if (iconRegistered_)
        Hide();
    else
        setWindowState(WindowState::Minimized);
}

void MainWindow::mnuexit_Click() { end(); }

// The close box ends the program like "Exit".
void MainWindow::Form_QueryUnload() { end(); }

void MainWindow::end() {
    if (iconRegistered_) services_.notifyIcon.remove();
    iconRegistered_ = false;
    services_.application.quit();
}

void MainWindow::form_center() {
    moveTo(placeBottomRight(outerSize(), services_.screen.primary()));
    movedByUser_ = false;
}

void MainWindow::Form_MovedByUser() { movedByUser_ = true; }

// A window the user put somewhere stays there, as far as it is still whole
// on its monitor's work area; only one still in the program's place follows
// the corner.
void MainWindow::Form_DisplayChanged() {
    if (!movedByUser_) {
        form_center();
        return;
    }
    const Point at = position();
    const Size size = outerSize();
    const Rect window{at.x, at.y, at.x + size.width, at.y + size.height};
    if (const Point whole = keepWhole(window, services_.screen.workAreaOf(window)); whole != at) moveTo(whole);
}

}  // namespace dv
