#pragma once

#include <map>

#include "handles.h"
#include "platform/file_query.h"
#include "platform/process_start.h"
#include "platform/registry_reader.h"
#include "platform/shell_open.h"

namespace dv::win32 {

class ShellExecuteOpen final : public ShellOpen {
public:
    void open(std::uintptr_t ownerWindow, std::string_view target, ShowCommand show) override;
};

// Opens keys with KEY_QUERY_VALUE only, which every standard user may.
// Keys the caller leaves open are closed with the reader.
class ReadOnlyRegistry final : public RegistryReader {
public:
    long openKey(RegistryRoot root, std::string_view path, RegistryKey& key) override;
    long queryValue(RegistryKey key, std::string_view name, std::size_t capacity, RegistryValue& value) override;
    void closeKey(RegistryKey key) override;
    std::optional<std::string> expandEnvironment(std::string_view text) const override;

private:
    std::map<RegistryKey, UniqueKey> open_;
};

class SystemFileQuery final : public FileQuery {
public:
    bool isOrdinaryFile(std::string_view path) const override;
    std::string systemFolder() const override;
};

// CreateProcessW with the path as the application name: the system never
// has to guess where an unquoted path with blanks ends.
class CreateProcessStart final : public ProcessStart {
public:
    Outcome start(std::string_view programPath) override;
};

}  // namespace dv::win32
