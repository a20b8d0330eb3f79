#pragma once

#include <cstdint>
#include <string_view>

namespace dv {

// How the started program's window first appears (the system's SW_ values).
enum class ShowCommand { Normal, Maximized };

// Hands a document, address or "mailto:" link to the shell's "open" verb.
// It returns once the shell has taken the target; whether a program could
// be found for it is the shell's to tell the user, not the caller's.
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual void open(std::uintptr_t ownerWindow, std::string_view target, ShowCommand show) = 0;
};

}  // namespace dv
