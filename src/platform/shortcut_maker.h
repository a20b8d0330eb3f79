#pragma once

#include <string>

#include "outcome.h"

namespace dv {

struct ShortcutRequest {
    std::string name;           // as the desktop shows it, without ".lnk"
    std::string target;         // full path of the file it starts
    std::string arguments;
    std::string workingFolder;
    std::string icon;           // file holding the icon; its first icon is used
    bool operator==(const ShortcutRequest&) const = default;
};

// Puts shell links on the current user's desktop.
class ShortcutMaker {
public:
    virtual ~ShortcutMaker() = default;
    // Replaces a shortcut of the same name.
    virtual Outcome createOnDesktop(const ShortcutRequest& request) = 0;
};

}  // namespace dv
