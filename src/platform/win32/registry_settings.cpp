#include <optional>

#include "handles.h"
#include "options_services.h"
#include "text.h"
#include "user_registry.h"

namespace dv::win32 {

namespace {

// The settings are single words; anything this long was not written by us.
constexpr size_t kMaxSettingChars = 4096;

std::wstring keyPath(std::string_view application, std::string_view section) {
    return L"Software\\" + widen(application) + L"\\" + widen(section);
}

// A REG_SZ value up to its first NUL; nothing when it is absent, of another
// type, longer than maxChars or cannot be read.
std::optional<std::wstring> readRegistryString(HKEY key, const wchar_t* name, size_t maxChars) {
    DWORD type = 0, bytes = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS || type != REG_SZ ||
        bytes > (maxChars + 1) * sizeof(wchar_t))
        return std::nullopt;
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    // A value changed between the two calls reads as unreadable, not as half.
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    text.resize(got / sizeof(wchar_t));
    // Stored with or without its terminating NUL, or with more than one, the text reads the same.
    if (const size_t nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
    if (text.size() > maxChars) return std::nullopt;
    return text;
}

}  // namespace

std::string RegistrySettings::read(std::string_view application, std::string_view section,
                                   std::string_view key) const {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(application, section).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return {};
    const UniqueKey settings(raw);
    return narrow(readRegistryString(settings.get(), widen(key).c_str(), kMaxSettingChars).value_or(L""));
}

Outcome RegistrySettings::save(std::string_view application, std::string_view section, std::string_view key,
                               std::string_view value) {
    return writeUserString(keyPath(application, section).c_str(), key, value);
}

}  // namespace dv::win32
