#pragma once

#include "platform/settings_store.h"
#include "platform/shortcut_maker.h"
#include "platform/startup_registry.h"

namespace dv {

// What the options dialog reaches the platform through, besides its message box.
struct OptionsDialogServices {
    SettingsStore& settings;
    StartupRegistry& startup;
    ShortcutMaker& shortcuts;
};

}  // namespace dv
