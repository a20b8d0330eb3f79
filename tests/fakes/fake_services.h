#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dayvane_main.h"
#include "platform/form.h"
#include "platform/services.h"
#include "fake_about.h"
#include "fake_options.h"
#include "fake_toolkit.h"

namespace dv::fakes {

class FakeClock final : public Clock {
public:
    LocalTime time{.date = {2024, 3, 15}, .hour = 9, .minute = 5, .second = 3, .millisecond = 250};

    LocalTime now() const override { return time; }
    std::string longTimeText(const LocalTime& t) const override {
        char text[64];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
        return text;
    }
};

class FakeScreen final : public Screen {
public:
    // 1024 x 768 with a 40 px taskbar at the bottom.
    ScreenInfo info{.monitor = {0, 0, 1024, 768}, .workArea = {0, 0, 1024, 728}, .dpi = 96};

    ScreenInfo primary() const override { return info; }
};

class FakeMessageBox final : public MessageBox {
public:
    std::vector<std::string> prompts;

    void show(std::string_view prompt) override { prompts.emplace_back(prompt); }
};

class FakeNotifyIcon final : public NotifyIcon {
public:
    bool addResult = true;  // what the shell answers to the next add
    bool present = false;   // in the notification area now
    int addCalls = 0;
    int removeCalls = 0;
    std::string tooltip;
    std::uintptr_t owner = 0;

    bool add(std::uintptr_t ownerWindow, std::string_view tip) override {
        ++addCalls;
        owner = ownerWindow;
        tooltip = tip;
        present = addResult;
        return addResult;
    }
    void remove() override {
        ++removeCalls;
        present = false;
    }
};

class FakeApplication final : public Application {
public:
    int exitCode = 0;
    std::function<void()> whileRunning;  // stands in for the message loop
    int runCalls = 0;
    int quitCalls = 0;

    int run() override {
        ++runCalls;
        if (whileRunning) whileRunning();
        return exitCode;
    }
    void quit() override { ++quitCalls; }
};

class FakeSingleInstance final : public SingleInstance {
public:
    bool first = true;
    int acquireCalls = 0;
    int wakeCalls = 0;

    bool acquire() override {
        ++acquireCalls;
        return first;
    }
    void wakeRunning() override { ++wakeCalls; }
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
