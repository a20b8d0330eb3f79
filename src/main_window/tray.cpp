// The notification-area icon: the way back to the hidden window.
#include "main_window.h"

namespace dv {

void MainWindow::registerIcon() {
    secondsSinceIconAttempt_ = 0;
    iconRegistered_ = services_.notifyIcon.add(hWnd(), kTrayTooltip);
}

void MainWindow::Form_TrayNotify(TrayMouse mouse) {
    // A click of either button, or Enter or Space on the icon.
    if (mouse != TrayMouse::Other) restore();
}

// The shell has restarted and forgotten every icon.
void MainWindow::Form_TaskbarCreated() { registerIcon(); }

// A second start of the program asks the running one to come back.
void MainWindow::Form_RestoreRequested() { restore(); }

void MainWindow::restore() {
    // The caption is right in the first frame after a long time hidden.
    if (!visible()) showTime();
    Show();
    setWindowState(WindowState::Normal);
    bringToFront();
}

}  // namespace dv
