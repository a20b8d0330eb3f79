// The Run value's command line and the desktop shortcut, made from the path
// of the running executable, whatever that path is: Windows must read the
// same program back from the command line, "-b" must stay an argument, and
// the shortcut must start that file in its folder.
#include "fuzz_input.h"
#include "options_dialog/startup_entry.h"
#include "platform/app_identity.h"

using namespace dv;

namespace {

// argv[0] as Windows takes it from a command line (CommandLineToArgvW and
// the C runtime agree on the first argument): quoted, up to the next quote.
std::string programOf(const std::string& commandLine, std::string& rest) {
    std::string program;
    std::size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const std::size_t close = commandLine.find('"', 1);
        program = commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        i = commandLine.find_first_of(" \t");
        if (i == std::string::npos) i = commandLine.size();
        program = commandLine.substr(0, i);
    }
    rest = commandLine.substr(i);
    return program;
}

bool endsWithExe(const std::string& s) {
    if (s.size() < 4) return false;
    std::string tail = s.substr(s.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return tail == ".exe";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const StartMode mode = in.byte() & 1 ? StartMode::Basic : StartMode::Full;
    const auto bytes = in.rest();
    const std::string path(bytes.begin(), bytes.end());

    const AppIdentity app = identityFor(path);
    const std::size_t slash = path.find_last_of("\\/");
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    fuzz::check(app.exePath == path, "the path is kept as it is");
    fuzz::check(slash == std::string::npos ? app.folder.empty() : app.folder + path[slash] + file == path,
                "folder and file make the path", path);
    fuzz::check(app.baseName == (file.size() > 4 && endsWithExe(file) ? file.substr(0, file.size() - 4) : file),
                "the base name is the file without .exe", path);

    const RunEntry entry = runEntryFor(app, mode);
    fuzz::check(entry.name == app.baseName, "the value is named after the base name");
    // A file name cannot hold a quote or a NUL; with neither, Windows reads
    // back exactly this program, whatever blanks the path has.
    if (path.find_first_of(std::string("\"\0", 2)) == std::string::npos) {
        std::string rest;
        fuzz::check(programOf(entry.commandLine, rest) == path, "Windows starts this program", entry.commandLine);
        fuzz::check(rest == (mode == StartMode::Basic ? " -b" : ""), "-b is an argument of its own", entry.commandLine);
    }

    const ShortcutRequest link = desktopShortcutFor(app);
    fuzz::check(link.target == path && link.icon == path, "the shortcut starts and shows this file");
    fuzz::check(link.name == "Dayvane" && link.arguments.empty(), "a plain \"Dayvane\" shortcut");
    const bool driveOnly = app.folder.size() == 2 && app.folder[1] == ':';
    fuzz::check(link.workingFolder == (driveOnly ? app.folder + "\\" : app.folder), "it works in the file's folder",
                link.workingFolder);
    return 0;
}
