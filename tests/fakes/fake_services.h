#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "app/dayvane_main.h"
#include "platform/form.h"
#include "platform/services.h"
#include "platform/settings_store.h"
#include "platform/shortcut_maker.h"
#include "platform/startup_registry.h"
#include "fake_about.h"
#include "fake_toolkit.h"

// Every service of the program in memory, failures to order.
namespace dv::fakes {

struct FakeClock final : Clock {
    LocalTime time{.date = {2024, 3, 15}, .hour = 9, .minute = 5, .second = 3, .millisecond = 250};

    LocalTime now() const override { return time; }
    std::string longTimeText(const LocalTime& t) const override {
        char text[64];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
        return text;
    }
};

struct FakeScreen final : Screen {
    // 1024 x 768 with a 40 px taskbar at the bottom.
    ScreenInfo info{.monitor = {0, 0, 1024, 768}, .workArea = {0, 0, 1024, 728}, .dpi = 96};
    ScreenInfo primary() const override { return info; }
};

struct FakeMessageBox final : MessageBox {
    std::vector<std::string> prompts;
    void show(std::string_view prompt) override { prompts.emplace_back(prompt); }
};

struct FakeNotifyIcon final : NotifyIcon {
    bool addResult = true;  // what the shell answers to the next add
    bool present = false;   // in the notification area now
    int addCalls = 0, removeCalls = 0;
    std::uintptr_t owner = 0;

    bool add(std::uintptr_t ownerWindow, std::string_view) override {
        ++addCalls;
        owner = ownerWindow;
        return present = addResult;
    }
    void remove() override { present = false; ++removeCalls; }
};

struct FakeApplication final : Application {
    int exitCode = 0;
    std::function<void()> whileRunning;  // stands in for the message loop
    int runCalls = 0, quitCalls = 0;

    int run() override {
        ++runCalls;
        if (whileRunning) whileRunning();
        return exitCode;
    }
    void quit() override { ++quitCalls; }
};

struct FakeSingleInstance final : SingleInstance {
    bool first = true;
    int wakeCalls = 0;
    bool acquire() override { return first; }
    void wakeRunning() override { ++wakeCalls; }
};

// The options dialog's services: the registry in memory.
struct FakeSettingsStore final : SettingsStore {
    std::map<std::tuple<std::string, std::string, std::string>, std::string> values;  // by application, section, key
    std::map<std::string, std::string> failingSaves;  // by key: the reason

    // Dayvane's own settings.
    std::optional<std::string> value(const std::string& key) const {
        const auto it = values.find({"Dayvane", "Settings", key});
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    void set(const std::string& key, const std::string& v) { values[{"Dayvane", "Settings", key}] = v; }

    std::string read(std::string_view application, std::string_view section, std::string_view key) const override {
        const auto it = values.find({std::string(application), std::string(section), std::string(key)});
        return it == values.end() ? "" : it->second;
    }
    Outcome save(std::string_view application, std::string_view section, std::string_view key,
                 std::string_view v) override {
        if (const auto it = failingSaves.find(std::string(key)); it != failingSaves.end())
            return Outcome::failure(it->second);
        values[{std::string(application), std::string(section), std::string(key)}] = v;
        return Outcome::success();
    }
};

struct FakeStartupRegistry final : StartupRegistry {
    std::map<std::string, std::string> run;  // the Run key's values
    std::optional<std::string> writeFailure, removeFailure;

    Outcome write(std::string_view name, std::string_view commandLine) override {
        if (writeFailure) return Outcome::failure(*writeFailure);
        run[std::string(name)] = commandLine;
        return Outcome::success();
    }
    Outcome remove(std::string_view name) override {
        if (removeFailure) return Outcome::failure(*removeFailure);
        run.erase(std::string(name));  // a missing value counts as removed
        return Outcome::success();
    }
};

struct FakeShortcutMaker final : ShortcutMaker {
    std::optional<std::string> failure;
    std::vector<ShortcutRequest> requests;  // failed ones included

    Outcome createOnDesktop(const ShortcutRequest& request) override {
        requests.push_back(request);
        return failure ? Outcome::failure(*failure) : Outcome::success();
    }
};

// Every fake at once. Declare it before the forms that use it.
struct FakePlatform {
    FakeToolkit toolkit;
    FakeMessageBox messages;
    FakeClock clock;
    FakeScreen screen;
    FakeNotifyIcon notifyIcon;
    FakeApplication application;
    FakeSingleInstance instance;
    AppIdentity identity = identityFor("C:\\Program Files\\Dayvane\\Dayvane.exe");
    FakeSettingsStore settings;
    FakeStartupRegistry startup;
    FakeShortcutMaker shortcuts;
    OptionsDialogServices options{settings, startup, shortcuts};
    FakeShellOpen shell;
    FakeRegistryReader registry;
    FakeFileQuery files;
    FakeProcessStart processes;
    AboutBoxServices about{shell, registry, files, processes};

    FormsEnv env() { return {toolkit, messages}; }
    Platform platform() {
        return {toolkit, messages, clock, screen, notifyIcon, application, instance, identity, options, about};
    }
};

}  // namespace dv::fakes
