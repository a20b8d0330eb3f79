#pragma once

#include <string>

namespace dv {

// Who the program is and where it runs from.
struct AppIdentity {
    std::string title = "Dayvane";  // message boxes, settings, captions
    std::string exePath;            // full path of the running executable
    std::string folder;             // the folder holding it, no trailing backslash
    std::string baseName;           // its file name without ".exe"
};

// Splits a full executable path into folder and base name.
AppIdentity identityFor(const std::string& exePath);

}  // namespace dv
