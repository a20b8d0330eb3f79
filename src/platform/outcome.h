#pragma once

#include <string>

namespace dv {

// What a platform operation that can fail gives back: the logic decides
// what to tell the user, with the system's own reason.
struct Outcome {
    bool ok = true;
    std::string reason;  // the system's text when !ok, e.g. "Access is denied."

    static Outcome success() { return {}; }
    static Outcome failure(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

}  // namespace dv
