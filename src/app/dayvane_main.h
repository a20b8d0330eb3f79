#pragma once

#include "platform/app_identity.h"
#include "platform/form.h"
#include "platform/services.h"
#include "options_dialog/options_dialog_services.h"
#include "about_box/about_box_services.h"

namespace dv {

struct Platform {
    Toolkit& toolkit;
    MessageBox& messageBox;
    Clock& clock;
    Screen& screen;
    NotifyIcon& notifyIcon;
    Application& application;
    SingleInstance& instance;
    const AppIdentity& identity;
    OptionsDialogServices& options;
    AboutBoxServices& about;
};

// The whole program: one instance per session, the main window shown at
// start, and a message loop that only "Exit" or the close box ends.
int dayvaneMain(Platform& platform);

}  // namespace dv
