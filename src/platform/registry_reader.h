#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dv {

enum class RegistryRoot { LocalMachine, CurrentUser };

// The system's status codes, as the registry functions return them.
namespace regstatus {
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kAccessDenied = 5;
inline constexpr long kMoreData = 234;  // the value does not fit the buffer
}  // namespace regstatus

// The system's value types.
namespace regtype {
inline constexpr unsigned long kString = 1;        // REG_SZ
inline constexpr unsigned long kExpandString = 2;  // REG_EXPAND_SZ
inline constexpr unsigned long kBinary = 3;        // REG_BINARY
inline constexpr unsigned long kDword = 4;         // REG_DWORD
inline constexpr unsigned long kMultiString = 7;   // REG_MULTI_SZ
}  // namespace regtype

using RegistryKey = std::uintptr_t;  // 0: no key

// A value as stored: text comes as UTF-16LE code units, terminators and
// all, so that the caller decides how to trim it.
struct RegistryValue {
    unsigned long type = 0;
    std::vector<std::uint8_t> bytes;
};

// Reads the registry and nothing else: keys are opened for reading only.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // key stays 0 when the open fails.
    virtual long openKey(RegistryRoot root, std::string_view path, RegistryKey& key) = 0;
    // A value larger than capacity bytes gives regstatus::kMoreData.
    virtual long queryValue(RegistryKey key, std::string_view name, std::size_t capacity, RegistryValue& value) = 0;
    // Takes 0 too, which it ignores.
    virtual void closeKey(RegistryKey key) = 0;
    // Replaces %NAME% by the environment's value, as REG_EXPAND_SZ text
    // wants; none when the system cannot.
    virtual std::optional<std::string> expandEnvironment(std::string_view text) const = 0;
};

}  // namespace dv
