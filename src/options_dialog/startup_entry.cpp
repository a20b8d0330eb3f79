#include "startup_entry.h"

namespace dv {

RunEntry runEntryFor(const AppIdentity& app, StartMode mode) {
    std::string commandLine = "\"" + app.exePath + "\"";
    if (mode == StartMode::Basic) commandLine += " -b";
    return {app.baseName, commandLine};
}

ShortcutRequest desktopShortcutFor(const AppIdentity& app) {
    // "C:" alone would mean the drive's current folder, not its root.
    std::string folder = app.folder;
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return {.name = app.title, .target = app.exePath, .arguments = "", .workingFolder = folder, .icon = app.exePath};
}

}  // namespace dv
