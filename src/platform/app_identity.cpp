#include "app_identity.h"

#include <algorithm>
#include <cctype>

namespace dv {

AppIdentity identityFor(const std::string& exePath) {
    AppIdentity id;
    id.exePath = exePath;
    const auto slash = exePath.find_last_of("\\/");
    id.folder = slash == std::string::npos ? std::string() : exePath.substr(0, slash);
    std::string file = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
    if (file.size() > 4) {
        std::string ext = file.substr(file.size() - 4);
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (ext == ".exe") file.resize(file.size() - 4);
    }
    id.baseName = file;
    return id;
}

}  // namespace dv
