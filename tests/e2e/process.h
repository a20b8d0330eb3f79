#pragma once

// For the install tests: the shared helpers under the names they use.
#include "desktop.h"

namespace dv::e2e {
using namespace dv::test;
inline bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    return pumpUntil(done, timeout);
}
}  // namespace dv::e2e
