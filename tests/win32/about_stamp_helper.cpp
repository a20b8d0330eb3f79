// A harmless program for the launch tests: it leaves "<its own path>.ran"
// beside itself, so a test can tell which copy of it was started.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring self(32768, L'\0');
    self.resize(::GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    HANDLE stamp = ::CreateFileW((self + L".ran").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (stamp == INVALID_HANDLE_VALUE) return 1;
    ::CloseHandle(stamp);
    return 0;
}
