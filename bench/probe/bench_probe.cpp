// make bench's measuring program, run under the same Wine as the program it
// measures: bench_probe <program.exe> <window class> <idle s> <caption s> <wineserver pid|0>
// Starts the program, then prints one line of figures:
//   start_ms       CreateProcess to its main window being visible (polled each ms)
//   ws_kib         its working set 3 s after that (K32GetProcessMemoryInfo)
//   cpu_pct        its CPU time over <idle s> of idle with the window shown,
//                  in % of one core (its Linux process's /proc stat: Wine's
//                  GetProcessTimes gives nothing for another process)
//   server_pct     wineserver's CPU over the same time (from /proc), which
//                  serves every Wine program's calls; -1 without its pid
//   wakeups        WM_TIMER messages its thread took per second, counted by a
//                  message hook over 10 s after that (not with <idle s> 0)
//   caption_ms_med, caption_ms_max
//                  how long after each new second its caption changed, over
//                  <caption s> (0 s: not measured)
// Then closes it as its close box would.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double cpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    const auto ms = [](const FILETIME& f) {
        return static_cast<double>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The CPU time of a Linux process, all its threads, in ms, read through
// Wine's Z: drive: schedstat counts nanoseconds, stat only 10 ms ticks.
double linuxCpuMs(unsigned pid) {
    if (!pid) return -1;
    const std::string base = "Z:\\proc\\" + std::to_string(pid) + "\\task\\";
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA((base + "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return -1;
    double ns = 0;
    do {
        if (entry.cFileName[0] == '.') continue;
        ns += std::strtod(readAll(base + entry.cFileName + "\\schedstat").c_str(), nullptr);
    } while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return ns / 1e6;
}

// The Linux process that runs the program: GetProcessTimes tells nothing of
// another process under Wine. Its command line starts with the program, and
// it belongs to this Wine prefix.
unsigned linuxPidOf(const std::wstring& program) {
    const std::wstring file = program.substr(program.find_last_of(L'\\') + 1);
    const std::string name(file.begin(), file.end());
    char prefix[1024] = {};
    const std::string ours = ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix)
                                 ? std::string("WINEPREFIX=") + prefix + '\0'
                                 : std::string();
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA("Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    unsigned found = 0;
    do {
        const std::string dir = entry.cFileName;
        if (dir.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string base = "Z:\\proc\\" + dir + "\\";
        // Its first argument is the program itself (this probe's names it later).
        const std::string command = readAll(base + "cmdline");
        const std::string first = command.substr(0, command.find('\0'));
        if (first.size() < name.size() || first.compare(first.size() - name.size(), name.size(), name) != 0) continue;
        if (!ours.empty() && readAll(base + "environ").find(ours) == std::string::npos) continue;
        found = static_cast<unsigned>(std::stoul(dir));
    } while (!found && ::FindNextFileA(search, &entry));
    ::FindClose(search);
    return found;
}

unsigned msInSecond() {
    FILETIME f;
    ::GetSystemTimePreciseAsFileTime(&f);
    const ULONGLONG t = (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    return static_cast<unsigned>((t / 10000) % 1000);
}

struct Found {
    DWORD pid;
    const wchar_t* cls;
    HWND hwnd;
};

HWND visibleWindow(DWORD pid, const wchar_t* cls) {
    Found found{pid, cls, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<Found*>(data);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            wchar_t name[256] = {};
            ::GetClassNameW(hwnd, name, 256);
            if (owner != f->pid || !::IsWindowVisible(hwnd) || ::lstrcmpW(name, f->cls) != 0) return TRUE;
            f->hwnd = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.hwnd;
}

double median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench_probe program class idle_s caption_s wineserver_pid\n");
        return 2;
    }
    const std::wstring program = argv[1], cls = argv[2];
    const int idleSeconds = _wtoi(argv[3]), captionSeconds = _wtoi(argv[4]);
    const unsigned serverPid = static_cast<unsigned>(_wtoi(argv[5]));
    ::timeBeginPeriod(1);

    std::wstring commandLine = L"\"" + program + L"\"";
    std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const double started = nowMs();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info)) {
        std::fprintf(stderr, "bench_probe: CreateProcess failed: %lu\n", ::GetLastError());
        return 1;
    }
    HWND hwnd = nullptr;
    while (!(hwnd = visibleWindow(info.dwProcessId, cls.c_str())) && nowMs() - started < 30000) ::Sleep(1);
    const double startMs = nowMs() - started;
    if (!hwnd) {
        std::fprintf(stderr, "bench_probe: no window of class %ls\n", cls.c_str());
        ::TerminateProcess(info.hProcess, 1);
        return 1;
    }

    ::WaitForInputIdle(info.hProcess, 10000);
    ::Sleep(3000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::K32GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory);

    // Idle: nobody touches it.
    const unsigned linuxPid = linuxPidOf(program);
    const auto cpu = [&] { return linuxPid ? linuxCpuMs(linuxPid) : cpuMs(info.hProcess); };
    const double cpu0 = cpu(), server0 = linuxCpuMs(serverPid), t0 = nowMs();
    ::Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    const double cpu1 = cpu(), server1 = linuxCpuMs(serverPid), t1 = nowMs();

    // Timer wake-ups, through a message hook in its thread.
    double wakeups = -1;
    HANDLE map = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                      L"Local\\DayvaneBenchTimerCount");
    auto* count = map ? static_cast<volatile LONG*>(::MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, sizeof(LONG))) : nullptr;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring hookDll = self;
    hookDll = hookDll.substr(0, hookDll.find_last_of(L'\\') + 1) + L"timer_hook.dll";
    HMODULE dll = ::LoadLibraryW(hookDll.c_str());
    auto proc =
        dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(dll, "countTimers"))) : nullptr;
    const DWORD thread = ::GetWindowThreadProcessId(hwnd, nullptr);
    if (idleSeconds > 0 && count && proc) {
        if (HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, proc, dll, thread)) {
            ::PostMessageW(hwnd, WM_NULL, 0, 0);  // loads the hook before counting starts
            ::Sleep(1500);
            const LONG before = *count;
            const double h0 = nowMs();
            ::Sleep(10000);
            wakeups = (*count - before) / ((nowMs() - h0) / 1000.0);
            ::UnhookWindowsHookEx(hook);
        }
    }

    // The caption's lag behind each new second.
    std::vector<double> lags;
    wchar_t last[256] = {};
    ::GetWindowTextW(hwnd, last, 256);
    const double c0 = nowMs();
    while (captionSeconds > 0 && nowMs() - c0 < captionSeconds * 1000.0) {
        wchar_t text[256] = {};
        ::GetWindowTextW(hwnd, text, 256);
        if (::lstrcmpW(text, last) != 0) {
            const unsigned ms = msInSecond();
            // Seen just before a boundary means late by almost a second.
            lags.push_back(ms);
            ::lstrcpyW(last, text);
        }
        ::Sleep(1);
    }

    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(info.hProcess, 1);

    const double seconds = (t1 - t0) / 1000.0;
    std::printf("linux_pid=%u start_ms=%.1f ws_kib=%.0f cpu_pct=%.4f server_pct=%.4f wakeups=%.2f caption_ms_med=%.0f "
                "caption_ms_max=%.0f\n",
                linuxPid, startMs, memory.WorkingSetSize / 1024.0, (cpu1 - cpu0) / 10.0 / seconds,
                server0 >= 0 ? (server1 - server0) / 10.0 / seconds : -1.0, wakeups, median(lags),
                lags.empty() ? -1.0 : *std::max_element(lags.begin(), lags.end()));
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}
