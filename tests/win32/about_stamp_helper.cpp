// A harmless program for the launch tests: it leaves "<its own path>.ran"
// beside itself, so a test can tell which copy of it was started.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring self(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    if (n == 0 || n >= self.size()) return 1;
    self.resize(n);
    HANDLE stamp = ::CreateFileW((self + L".ran").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (stamp == INVALID_HANDLE_VALUE) return 2;
    ::CloseHandle(stamp);
    return 0;
}
