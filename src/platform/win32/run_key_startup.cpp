#include "handles.h"
#include "options_services.h"
#include "text.h"
#include "user_registry.h"

namespace dv::win32 {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// An empty name would address the key's default value, which is no program's.
Outcome checkName(std::string_view name) {
    if (name.empty()) return Outcome::failure(systemMessage(ERROR_INVALID_NAME));
    return Outcome::success();
}

}  // namespace

Outcome RunKeyStartup::write(std::string_view name, std::string_view commandLine) {
    if (Outcome ok = checkName(name); !ok) return ok;
    return writeUserString(kRunKey, name, commandLine);
}

Outcome RunKeyStartup::remove(std::string_view name) {
    if (Outcome ok = checkName(name); !ok) return ok;
    HKEY raw = nullptr;
    LSTATUS rc = ::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &raw);
    // Without the key there is no value either: nothing starts.
    if (rc == ERROR_FILE_NOT_FOUND) return Outcome::success();
    if (rc != ERROR_SUCCESS) return Outcome::failure(systemMessage(rc));
    const UniqueKey run(raw);
    rc = ::RegDeleteValueW(run.get(), widen(name).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? Outcome::success()
                                                             : Outcome::failure(systemMessage(rc));
}

}  // namespace dv::win32
