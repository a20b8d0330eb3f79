#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_query.h"
#include "platform/process_start.h"
#include "platform/registry_reader.h"
#include "platform/shell_open.h"

// The About box's services: a registry, a file system and a shell in memory.
namespace dv::fakes {

class FakeShellOpen final : public ShellOpen {
public:
    struct Call {
        std::uintptr_t owner;
        std::string target;
        ShowCommand show;
    };
    std::vector<Call> calls;

    void open(std::uintptr_t ownerWindow, std::string_view target, ShowCommand show) override {
        calls.push_back({ownerWindow, std::string(target), show});
    }
};

// Text as the registry stores it: UTF-16LE code units, exactly those given
// (a terminating NUL only when the text holds one).
inline RegistryValue textValue(std::u16string_view units, unsigned long type = regtype::kString) {
    RegistryValue value{type, {}};
    for (char16_t u : units) {
        value.bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        value.bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return value;
}

inline RegistryValue dwordValue(std::uint32_t number) {
    RegistryValue value{regtype::kDword, {}};
    for (int i = 0; i < 4; ++i) value.bytes.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return value;
}

// Behaves as the system's registry does for a reader: absent keys and
// values give "not found", a value larger than the buffer "more data".
class FakeRegistryReader final : public RegistryReader {
public:
    struct Key {
        std::map<std::string, RegistryValue> values;
        long openStatus = regstatus::kSuccess;  // e.g. kAccessDenied
    };
    std::map<std::pair<RegistryRoot, std::string>, Key> keys;
    std::map<std::string, std::string> environment{{"SystemRoot", "C:\\Windows"}};
    bool expandFails = false;

    std::vector<std::size_t> capacities;  // of every query, in order
    int openCalls = 0;
    std::vector<RegistryKey> closed;  // every close, 0 included

    void set(RegistryRoot root, const std::string& key, const std::string& name, RegistryValue value) {
        keys[{root, key}].values[name] = std::move(value);
    }
    // Keys opened and not closed.
    std::size_t leftOpen() const { return live_.size(); }

    long openKey(RegistryRoot root, std::string_view path, RegistryKey& key) override {
        ++openCalls;
        key = 0;
        const auto it = keys.find({root, std::string(path)});
        if (it == keys.end()) return regstatus::kFileNotFound;
        if (it->second.openStatus != regstatus::kSuccess) return it->second.openStatus;
        key = nextKey_++;
        live_[key] = &it->second;
        return regstatus::kSuccess;
    }
    long queryValue(RegistryKey key, std::string_view name, std::size_t capacity, RegistryValue& value) override {
        capacities.push_back(capacity);
        const auto it = live_.find(key);
        if (it == live_.end()) return kInvalidHandle;
        const auto found = it->second->values.find(std::string(name));
        if (found == it->second->values.end()) return regstatus::kFileNotFound;
        if (found->second.bytes.size() > capacity) return regstatus::kMoreData;
        value = found->second;
        return regstatus::kSuccess;
    }
    void closeKey(RegistryKey key) override {
        closed.push_back(key);
        live_.erase(key);
    }
    std::optional<std::string> expandEnvironment(std::string_view text) const override {
        if (expandFails) return std::nullopt;
        std::string out(text);
        for (const auto& [name, value] : environment) {
            const std::string token = "%" + name + "%";
            for (std::size_t at = out.find(token); at != std::string::npos; at = out.find(token, at + value.size()))
                out.replace(at, token.size(), value);
        }
        return out;
    }

private:
    static constexpr long kInvalidHandle = 6;
    std::map<RegistryKey, Key*> live_;
    RegistryKey nextKey_ = 0x1000;
};

class FakeFileQuery final : public FileQuery {
public:
    std::set<std::string> files;  // ordinary files, by full path
    std::string system = "C:\\Windows\\system32";
    mutable std::vector<std::string> asked;

    bool isOrdinaryFile(std::string_view path) const override {
        asked.emplace_back(path);
        return files.contains(std::string(path));
    }
    std::string systemFolder() const override { return system; }
};

class FakeProcessStart final : public ProcessStart {
public:
    std::optional<std::string> failure;  // the reason every start fails with
    std::vector<std::string> attempts;   // every path asked for, failed ones included

    Outcome start(std::string_view programPath) override {
        attempts.emplace_back(programPath);
        if (programPath.empty()) return Outcome::failure("No program was named.");
        if (failure) return Outcome::failure(*failure);
        return Outcome::success();
    }
};

}  // namespace dv::fakes
