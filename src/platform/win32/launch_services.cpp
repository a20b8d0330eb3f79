#include "about_services.h"

#include <shellapi.h>

#include "text.h"

namespace dv::win32 {


void ShellExecuteOpen::open(std::uintptr_t ownerWindow, std::string_view target, ShowCommand show) {
    if (target.empty() || holdsNul(target)) return;
    // The shell reports its own failures to the user; the result adds nothing.
    ::ShellExecuteW(reinterpret_cast<HWND>(ownerWindow), L"open", widen(target).c_str(), nullptr, nullptr,
                    show == ShowCommand::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

bool SystemFileQuery::isOrdinaryFile(std::string_view path) const {
    if (path.empty() || holdsNul(path)) return false;
    const DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return (attributes & kNotOrdinary) == 0;
}

std::string SystemFileQuery::systemFolder() const {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return narrow(std::wstring_view(folder, n));
}

Outcome CreateProcessStart::start(std::string_view programPath) {
    if (programPath.empty()) return Outcome::failure("No program was named.");
    if (holdsNul(programPath)) return Outcome::failure("The program's path holds a NUL character.");
    const std::wstring application = widen(programPath);
    // The program's own command line still starts with its name, quoted.
    std::wstring commandLine = L"\"" + application + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started))
        return Outcome::failure(systemMessage(::GetLastError()));
    // Not waited for, not watched.
    UniqueHandle process(started.hProcess), thread(started.hThread);
    return Outcome::success();
}

}  // namespace dv::win32
