#pragma once

#include <string>

#include "platform/app_identity.h"
#include "platform/shortcut_maker.h"

namespace dv {

// The basic mode only adds "-b" to the command line; the program reads none.
enum class StartMode { Full, Basic };

// The per-user Run value that starts Dayvane at log-on.
struct RunEntry {
    std::string name;         // the executable's base name
    std::string commandLine;
    bool operator==(const RunEntry&) const = default;
};

// The path is quoted: unquoted, a path with spaces makes Windows try each
// prefix that ends at a space as a program of its own first.
RunEntry runEntryFor(const AppIdentity& app, StartMode mode);

// A "Dayvane" shortcut to the executable that is running, so that a renamed
// file still starts, working in its folder and showing its icon.
ShortcutRequest desktopShortcutFor(const AppIdentity& app);

}  // namespace dv
