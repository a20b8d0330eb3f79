#pragma once

#include <string_view>

#include "outcome.h"

namespace dv {

// Starts a program in a normal window with the focus and does not wait
// for it. The path names the program file alone: it is never parsed as a
// command line, so spaces in it cannot pick another program.
class ProcessStart {
public:
    virtual ~ProcessStart() = default;
    virtual Outcome start(std::string_view programPath) = 0;
};

}  // namespace dv
