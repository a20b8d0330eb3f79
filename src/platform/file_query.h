#pragma once

#include <string>
#include <string_view>

namespace dv {

class FileQuery {
public:
    virtual ~FileQuery() = default;
    // True only for an ordinary file: a folder, a hidden or a system file,
    // a missing one and a path the system cannot parse are all false.
    virtual bool isOrdinaryFile(std::string_view path) const = 0;
    // Where the system keeps its own programs, no trailing backslash;
    // empty when the system cannot say.
    virtual std::string systemFolder() const = 0;
};

}  // namespace dv
