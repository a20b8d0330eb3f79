#pragma once

#include <string>

namespace dv {

// The read-me text as designed: 24 lines, each ended by CR LF.
const std::string& readmeText();

}  // namespace dv
