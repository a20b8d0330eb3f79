#include "user_registry.h"

#include "handles.h"
#include "text.h"

namespace dv::win32 {

Outcome writeUserString(const wchar_t* keyPath, std::string_view name, std::string_view value) {
    HKEY raw = nullptr;
    LSTATUS rc = ::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                   nullptr, &raw, nullptr);
    if (rc != ERROR_SUCCESS) return Outcome::failure(systemMessage(rc));
    const UniqueKey key(raw);
    const std::wstring data = widen(value);
    rc = ::RegSetValueExW(key.get(), widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    return rc == ERROR_SUCCESS ? Outcome::success() : Outcome::failure(systemMessage(rc));
}

}  // namespace dv::win32
