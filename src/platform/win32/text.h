#pragma once

#include <string>
#include <string_view>

namespace dv::win32 {

// The window logic speaks UTF-8; Win32 speaks UTF-16.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// A NUL would end a name or path early at the system's boundary, and so
// name another key, value or file.
inline bool holdsNul(std::string_view text) { return text.find('\0') != std::string_view::npos; }

// The text of a system error code, without the trailing line break.
std::string systemMessage(unsigned long error);

}  // namespace dv::win32
