#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/settings_store.h"
#include "platform/shortcut_maker.h"
#include "platform/startup_registry.h"

// The options dialog's services: a registry in memory, with failures to order.
namespace dv::fakes {

class FakeSettingsStore final : public SettingsStore {
public:
    using Address = std::tuple<std::string, std::string, std::string>;  // application, section, key

    std::map<Address, std::string> values;
    // Saves of these keys fail with this reason.
    std::map<std::string, std::string> failingSaves;
    mutable std::vector<std::string> reads;  // keys, in order
    std::vector<std::string> saves;          // "key=value", in order, failed ones included

    std::optional<std::string> value(std::string_view key, std::string_view application = "Dayvane",
                                     std::string_view section = "Settings") const {
        const auto it = values.find({std::string(application), std::string(section), std::string(key)});
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    void set(std::string_view key, std::string_view v) { values[{"Dayvane", "Settings", std::string(key)}] = v; }

    std::string read(std::string_view application, std::string_view section, std::string_view key) const override {
        reads.emplace_back(key);
        return value(key, application, section).value_or("");
    }
    Outcome save(std::string_view application, std::string_view section, std::string_view key,
                 std::string_view v) override {
        saves.push_back(std::string(key) + "=" + std::string(v));
        if (const auto it = failingSaves.find(std::string(key)); it != failingSaves.end())
            return Outcome::failure(it->second);
        values[{std::string(application), std::string(section), std::string(key)}] = v;
        return Outcome::success();
    }
};

class FakeStartupRegistry final : public StartupRegistry {
public:
    std::map<std::string, std::string> run;  // the Run key's values
    std::optional<std::string> writeFailure, removeFailure;
    std::vector<std::string> calls;  // "write name", "remove name"

    Outcome write(std::string_view name, std::string_view commandLine) override {
        calls.push_back("write " + std::string(name));
        if (writeFailure) return Outcome::failure(*writeFailure);
        run[std::string(name)] = commandLine;
        return Outcome::success();
    }
    Outcome remove(std::string_view name) override {
        calls.push_back("remove " + std::string(name));
        if (removeFailure) return Outcome::failure(*removeFailure);
        run.erase(std::string(name));  // a missing value counts as removed
        return Outcome::success();
    }
};

class FakeShortcutMaker final : public ShortcutMaker {
public:
    std::optional<std::string> failure;
    std::vector<ShortcutRequest> requests;
    std::map<std::string, ShortcutRequest> desktop;  // by name

    Outcome createOnDesktop(const ShortcutRequest& request) override {
        requests.push_back(request);
        if (failure) return Outcome::failure(*failure);
        desktop[request.name] = request;
        return Outcome::success();
    }
};

}  // namespace dv::fakes
