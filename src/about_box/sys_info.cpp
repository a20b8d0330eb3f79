#include "about_box.h"
#include "key_value.h"

namespace dv {

// Every way of failing ends in the one message; nothing is retried.
void AboutBox::StartSysInfo() {
    try {
        if (const auto path = sysInfoPath(); path && services_.processes.start(*path)) return;
    } catch (...) {
        // A failure on the way is told like any other: by the message below.
    }
    messages_.show(kSysInfoUnavailable);
}

// The first location names the program and is taken as it is; the second
// names its folder, which must hold it; the system folder comes last.
std::optional<std::string> AboutBox::sysInfoPath() {
    std::string SysInfoPath;
    if (GetKeyValue(RegistryRoot::LocalMachine, sysinfo::kPathKey, sysinfo::kPathValue, SysInfoPath))
        return SysInfoPath;
    if (GetKeyValue(RegistryRoot::LocalMachine, sysinfo::kLocationKey, sysinfo::kLocationValue, SysInfoPath)) {
        const std::string inLocation = SysInfoPath + std::string(sysinfo::kFileInLocation);
        if (services_.files.isOrdinaryFile(inLocation)) return inLocation;
    }
    if (const std::string folder = services_.files.systemFolder(); !folder.empty()) {
        const std::string inSystem = folder + std::string(sysinfo::kFileInSystemFolder);
        if (services_.files.isOrdinaryFile(inSystem)) return inSystem;
    }
    return std::nullopt;
}

bool AboutBox::GetKeyValue(RegistryRoot KeyRoot, std::string_view KeyName, std::string_view SubKeyRef,
                           std::string& KeyVal) {
    RegistryReader& registry = services_.registry;
    RegistryKey hKey = 0;
    // Closed on every way out, also with whatever a failed open left.
    struct Closer {
        RegistryReader& registry;
        RegistryKey& key;
        ~Closer() { registry.closeKey(key); }
    } closer{registry, hKey};
    RegistryValue value;
    std::optional<std::string> text;
    if (registry.openKey(KeyRoot, KeyName, hKey) == regstatus::kSuccess &&
        registry.queryValue(hKey, SubKeyRef, kKeyValueBytes, value) == regstatus::kSuccess) {
        text = keyValueText(value, KeyVal);
        if (text && value.type == regtype::kExpandString) text = registry.expandEnvironment(*text);
    }
    KeyVal = text.value_or(std::string());
    return text.has_value();
}

}  // namespace dv
