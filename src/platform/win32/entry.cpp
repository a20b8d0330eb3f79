#include <cstdlib>
#include <optional>

#include "app/dayvane_main.h"
#include "about_services.h"
#include "assets/resource_ids.h"
#include "handles.h"
#include "options_services.h"
#include "services.h"
#include "toolkit.h"

#if defined(__GLIBCXX__)
// A static libstdc++'s default terminate handler prints the exception's
// demangled type to a stderr that a GUI program does not have, and brings
// the demangler with it. An uncaught exception simply ends the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Only the system folder supplies DLLs, never the folder of the program.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    dv::win32::MessageLoop loop;
    // COM serves the shortcut and the shell later, never the first frame.
    std::optional<dv::win32::ComApartment> com;
    loop.afterFirstFrame([&com] { com.emplace(); });
    dv::win32::Toolkit toolkit(instance);
    dv::win32::TaskModalMessageBox messageBox;
    dv::win32::SystemClock clock;
    dv::win32::PrimaryScreen screen;
    dv::win32::ShellNotifyIcon notifyIcon(instance, IDI_DAYVANE);
    dv::win32::SessionInstance instanceLock;
    const dv::AppIdentity identity = dv::win32::runningIdentity();
    dv::win32::RegistrySettings settings;
    dv::win32::RunKeyStartup startup;
    dv::win32::DesktopShortcutMaker shortcuts;
    dv::OptionsDialogServices options{settings, startup, shortcuts};
    dv::win32::ShellExecuteOpen shell;
    dv::win32::ReadOnlyRegistry registry;
    dv::win32::SystemFileQuery files;
    dv::win32::CreateProcessStart processes;
    dv::AboutBoxServices about{shell, registry, files, processes};
    dv::Platform platform{toolkit, messageBox, clock, screen, notifyIcon, loop, instanceLock, identity, options, about};
    try {
        return dv::dayvaneMain(platform);
    } catch (const std::exception& e) {
        messageBox.show(std::string("Dayvane could not start: ") + e.what());
        return 1;
    }
}
