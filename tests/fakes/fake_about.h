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

struct FakeShellOpen final : ShellOpen {
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
    for (char16_t u : units) value.bytes.insert(value.bytes.end(), {std::uint8_t(u & 0xFF), std::uint8_t(u >> 8)});
    return value;
}

inline RegistryValue dwordValue(std::uint32_t n) {
    return {regtype::kDword, {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)}};
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
    bool expandFails = false;  // else %SystemRoot% is C:\Windows
    std::vector<std::size_t> capacities;  // of every query, in order
    int openCalls = 0;
    int closeCalls = 0;  // 0 included

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
        const auto& values = live_.at(key)->values;
        const auto found = values.find(std::string(name));
        if (found == values.end()) return regstatus::kFileNotFound;
        if (found->second.bytes.size() > capacity) return regstatus::kMoreData;
        value = found->second;
        return regstatus::kSuccess;
    }
    void closeKey(RegistryKey key) override {
        ++closeCalls;
        live_.erase(key);
    }
    std::optional<std::string> expandEnvironment(std::string_view text) const override {
        if (expandFails) return std::nullopt;
        std::string out(text);
        const std::string token = "%SystemRoot%";
        for (auto at = out.find(token); at != std::string::npos; at = out.find(token))
            out.replace(at, token.size(), "C:\\Windows");
        return out;
    }

private:
    std::map<RegistryKey, Key*> live_;
    RegistryKey nextKey_ = 0x1000;
};

struct FakeFileQuery final : FileQuery {
    std::set<std::string> files;  // ordinary files, by full path
    std::string system = "C:\\Windows\\system32";

    bool isOrdinaryFile(std::string_view path) const override { return files.contains(std::string(path)); }
    std::string systemFolder() const override { return system; }
};

struct FakeProcessStart final : ProcessStart {
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
