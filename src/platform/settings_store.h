#pragma once

#include <string>
#include <string_view>

#include "outcome.h"

namespace dv {

// Per-user strings addressed by (application, section, key).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // No default: a key that is absent, holds another type or cannot be read
    // reads as the empty string, so nothing left there can upset the caller.
    virtual std::string read(std::string_view application, std::string_view section, std::string_view key) const = 0;
    virtual Outcome save(std::string_view application, std::string_view section, std::string_view key,
                         std::string_view value) = 0;
};

}  // namespace dv
