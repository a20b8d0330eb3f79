#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_reader.h"

namespace dv {

// GetKeyValue reads into a buffer of this many bytes; a longer value does
// not fit and counts as absent.
inline constexpr std::size_t kKeyValueBytes = 1024;

// What GetKeyValue makes of a value read whole. Text (REG_SZ and, still to
// be expanded, REG_EXPAND_SZ) loses its last code unit when that is a NUL,
// and only that one; a 32-bit number (REG_DWORD) loses its last byte when
// that is 0 and becomes "&h" and its bytes in hex, most significant first;
// any other type gives `previous` back. None for a value without data.
std::optional<std::string> keyValueText(const RegistryValue& value, const std::string& previous);

// UTF-16 code units as UTF-8; a lone surrogate becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view units);

}  // namespace dv
