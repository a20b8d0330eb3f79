#include "about_services.h"

#include <algorithm>

#include "text.h"

namespace dv::win32 {

namespace {

HKEY rootKey(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

}  // namespace

long ReadOnlyRegistry::openKey(RegistryRoot root, std::string_view path, RegistryKey& key) {
    key = 0;
    if (holdsNul(path)) return ERROR_INVALID_NAME;
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExW(rootKey(root), widen(path).c_str(), 0, KEY_QUERY_VALUE, &opened);
    if (status != ERROR_SUCCESS) return status;
    key = reinterpret_cast<RegistryKey>(opened);
    open_[key] = UniqueKey(opened);
    return ERROR_SUCCESS;
}

long ReadOnlyRegistry::queryValue(RegistryKey key, std::string_view name, std::size_t capacity,
                                  RegistryValue& value) {
    const auto it = open_.find(key);
    if (it == open_.end()) return ERROR_INVALID_HANDLE;
    if (holdsNul(name)) return ERROR_INVALID_NAME;
    std::vector<std::uint8_t> buffer(std::min<std::size_t>(capacity, MAXDWORD), 0);
    DWORD type = 0;
    auto size = static_cast<DWORD>(buffer.size());
    const LSTATUS status =
        ::RegQueryValueExW(it->second.get(), widen(name).c_str(), nullptr, &type, buffer.data(), &size);
    if (status != ERROR_SUCCESS) return status;
    buffer.resize(std::min<std::size_t>(size, buffer.size()));
    value = {type, std::move(buffer)};
    return ERROR_SUCCESS;
}

void ReadOnlyRegistry::closeKey(RegistryKey key) { open_.erase(key); }

std::optional<std::string> ReadOnlyRegistry::expandEnvironment(std::string_view text) const {
    if (holdsNul(text)) return std::nullopt;
    const std::wstring source = widen(text);
    std::wstring expanded(std::max<std::size_t>(source.size() + 1, MAX_PATH), L'\0');
    // A variable may grow the text past any first guess: ask again with the size it needs.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD needed =
            ::ExpandEnvironmentStringsW(source.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0) return std::nullopt;
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);  // the count includes the terminating NUL
            return narrow(expanded);
        }
        expanded.assign(needed, L'\0');
    }
    return std::nullopt;
}

}  // namespace dv::win32
