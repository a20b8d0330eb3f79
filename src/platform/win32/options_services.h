#pragma once

#include <string>

#include "platform/settings_store.h"
#include "platform/shortcut_maker.h"
#include "platform/startup_registry.h"
#include "win32.h"

namespace dv::win32 {

// HKEY_CURRENT_USER\Software\<application>\<section>, one REG_SZ per key.
class RegistrySettings final : public SettingsStore {
public:
    std::string read(std::string_view application, std::string_view section, std::string_view key) const override;
    Outcome save(std::string_view application, std::string_view section, std::string_view key,
                 std::string_view value) override;
};

// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run.
class RunKeyStartup final : public StartupRegistry {
public:
    Outcome write(std::string_view name, std::string_view commandLine) override;
    Outcome remove(std::string_view name) override;
};

// A shell link in the current user's Desktop known folder. Needs COM on
// the calling thread.
class DesktopShortcutMaker final : public ShortcutMaker {
public:
    Outcome createOnDesktop(const ShortcutRequest& request) override;
};

}  // namespace dv::win32
