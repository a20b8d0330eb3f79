#pragma once

#include <string_view>

#include "platform/outcome.h"

namespace dv::win32 {

// Writes a REG_SZ value under HKEY_CURRENT_USER, creating the key.
Outcome writeUserString(const wchar_t* keyPath, std::string_view name, std::string_view value);

}  // namespace dv::win32
