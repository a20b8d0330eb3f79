#pragma once

#include <string_view>

#include "outcome.h"

namespace dv {

// The per-user Run value that makes Windows start a program at log-on.
class StartupRegistry {
public:
    virtual ~StartupRegistry() = default;
    // Writes (or replaces) the value `name` with the command line.
    virtual Outcome write(std::string_view name, std::string_view commandLine) = 0;
    // A value that does not exist counts as removed.
    virtual Outcome remove(std::string_view name) = 0;
};

}  // namespace dv
