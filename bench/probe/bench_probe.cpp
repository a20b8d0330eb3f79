// make bench's measuring program, run under the same Wine as the program it
// measures: bench_probe <program.exe> <window class> <idle s> <caption s> <wineserver pid|0>
// Starts the program, then prints one line of figures:
//   start_ms       CreateProcess to its main window being visible (polled each ms)
//   created_ms     ... to its main window existing, still hidden
//   frame_ms       ... to its first complete frame: the window's client area
//                  on the screen as it stays from then on (captured every few
//                  ms until unchanged for a while) with its caption text set
//   idle_ms        ... to the program first waiting for input after that
//   dlls           the DLLs mapped into it once it first waited for input
//                  after that frame (from /proc/<pid>/maps), and dlls_later
//                  those mapped in the 3 s after
//   ws_kib         its working set 3 s after that (K32GetProcessMemoryInfo)
//   cpu_pct        its CPU time over <idle s> of idle with the window shown,
//                  in % of one core (its Linux process's /proc stat: Wine's
//                  GetProcessTimes gives nothing for another process)
//   server_pct     wineserver's CPU over the same time (from /proc), which
//                  serves every Wine program's calls; -1 without its pid
//   wakeups        WM_TIMER messages its thread took per second, counted by a
//                  message hook over 10 s after that (not with <idle s> 0);
//   wakeups_hidden, wakeups_minimised
//                  the same over 10 s each with its window hidden, then
//                  minimised (as the system does them); -1 when not measured
//   restore_stale_s how many seconds the caption was behind the clock at the
//                  moment the window was shown again (0: never stale)
//   caption_ms_med, caption_ms_max
//                  how long after each new second its caption changed, over
//                  <caption s> (0 s: not measured)
// Then closes it as its close box would.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <exception>
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

// Empty when it cannot be read: a process may end while its /proc is read.
std::string readAll(const std::string& path) {
    try {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    } catch (const std::exception&) {
        return {};
    }
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

// A hash of what the screen shows of the window's client area now.
class ClientCapture {
public:
    explicit ClientCapture(HWND hwnd)
        : hwnd_(hwnd), screen_(::GetDC(nullptr)), memory_(::CreateCompatibleDC(screen_)) {}
    ~ClientCapture() {
        if (bitmap_) ::DeleteObject(bitmap_);
        ::DeleteDC(memory_);
        ::ReleaseDC(nullptr, screen_);
    }
    ClientCapture(const ClientCapture&) = delete;
    ClientCapture& operator=(const ClientCapture&) = delete;

    unsigned long long hash() {
        RECT client{};
        ::GetClientRect(hwnd_, &client);
        POINT origin{0, 0};
        ::ClientToScreen(hwnd_, &origin);
        const int w = client.right, h = client.bottom;
        if (w <= 0 || h <= 0) return 0;
        if (w != width_ || h != height_) {
            if (bitmap_) ::DeleteObject(bitmap_);
            bitmap_ = ::CreateCompatibleBitmap(screen_, w, h);
            width_ = w;
            height_ = h;
            pixels_.resize(static_cast<size_t>(w) * h);
        }
        HGDIOBJ old = ::SelectObject(memory_, bitmap_);
        ::BitBlt(memory_, 0, 0, w, h, screen_, origin.x, origin.y, SRCCOPY);
        ::SelectObject(memory_, old);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        ::GetDIBits(memory_, bitmap_, 0, static_cast<UINT>(h), pixels_.data(), &info, DIB_RGB_COLORS);
        unsigned long long fnv = 1469598103934665603ull;
        for (unsigned p : pixels_) fnv = (fnv ^ (p & 0xFFFFFF)) * 1099511628211ull;
        return fnv;
    }

private:
    HWND hwnd_;
    HDC screen_;
    HDC memory_;
    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<unsigned> pixels_;
};

// The Windows DLLs mapped into a Linux process, by file name, sorted.
std::string dllsOf(unsigned pid) {
    if (!pid) return "?";
    std::istringstream maps(readAll("Z:\\proc\\" + std::to_string(pid) + "\\maps"));
    std::vector<std::string> names;
    for (std::string line; std::getline(maps, line);) {
        const size_t slash = line.rfind('/');
        if (slash == std::string::npos || line.size() < 4 || line.compare(line.size() - 4, 4, ".dll") != 0) continue;
        names.push_back(line.substr(slash + 1, line.size() - slash - 5));
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::string all;
    for (const auto& n : names) all += (all.empty() ? "" : ",") + n;
    return all.empty() ? "-" : all;
}

// WM_TIMER messages per second that the window's thread takes over the
// given seconds, counted by timer_hook.dll; -1 if the hook cannot be set.
double wakeupsPerSecond(HWND hwnd, int seconds) {
    static HANDLE map = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                             L"Local\\DayvaneBenchTimerCount");
    static auto* count =
        map ? static_cast<volatile LONG*>(::MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, sizeof(LONG))) : nullptr;
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring hookDll = self;
    hookDll = hookDll.substr(0, hookDll.find_last_of(L'\\') + 1) + L"timer_hook.dll";
    static HMODULE dll = ::LoadLibraryW(hookDll.c_str());
    auto proc =
        dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(dll, "countTimers"))) : nullptr;
    if (!count || !proc) return -1;
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, proc, dll, ::GetWindowThreadProcessId(hwnd, nullptr));
    if (!hook) return -1;
    ::PostMessageW(hwnd, WM_NULL, 0, 0);  // loads the hook before counting starts
    ::Sleep(1500);
    const LONG before = *count;
    const double t0 = nowMs();
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    const double perSecond = (*count - before) / ((nowMs() - t0) / 1000.0);
    ::UnhookWindowsHookEx(hook);
    return perSecond;
}

// The clock's seconds in a caption ("... 12:34:56" or with AM/PM), or -1.
int captionSeconds(HWND hwnd) {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    const std::wstring t = text;
    const size_t colon = t.rfind(L':');
    if (colon == std::wstring::npos || colon + 2 >= t.size()) return -1;
    const size_t first = t.find(L':');
    if (first == colon || first < 2) return -1;
    return _wtoi(t.substr(first - 2, 2).c_str()) * 3600 + _wtoi(t.substr(first + 1, 2).c_str()) * 60 +
           _wtoi(t.substr(colon + 1, 2).c_str());
}

int secondsOfDayNow() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return st.wHour * 3600 + st.wMinute * 60 + st.wSecond;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench_probe program class idle_s caption_s wineserver_pid [clock]\n");
        return 2;
    }
    const std::wstring program = argv[1], cls = argv[2];
    const int idleSeconds = _wtoi(argv[3]), captionSecondsToWatch = _wtoi(argv[4]);
    const unsigned serverPid = static_cast<unsigned>(_wtoi(argv[5]));
    const bool hasClock = argc > 6 && _wtoi(argv[6]) != 0;
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
    double createdMs = -1;
    while (!(hwnd = visibleWindow(info.dwProcessId, cls.c_str())) && nowMs() - started < 30000) {
        if (createdMs < 0 && ::FindWindowW(cls.c_str(), nullptr)) createdMs = nowMs() - started;
        ::Sleep(1);
    }
    const double startMs = nowMs() - started;
    if (createdMs < 0) createdMs = startMs;
    if (!hwnd) {
        std::fprintf(stderr, "bench_probe: no window of class %ls\n", cls.c_str());
        ::TerminateProcess(info.hProcess, 1);
        return 1;
    }

    // The first complete frame: the first capture of the run of identical
    // ones that lasts until the program has nothing left to draw.
    double frameMs = -1;
    {
        ClientCapture capture(hwnd);
        unsigned long long last = 0;
        double runStart = -1;
        for (double t = nowMs(); t - started < 20000; t = nowMs()) {
            const unsigned long long h = capture.hash();
            const double at = nowMs() - started;
            const bool captioned = !hasClock || captionSeconds(hwnd) >= 0;
            if (h != last || !captioned || runStart < 0) {
                last = h;
                runStart = captioned ? at : -1;
            } else if (at - runStart >= 700) {
                frameMs = runStart;
                break;
            }
            ::Sleep(2);
        }
    }
    const double beforeIdle = nowMs();
    ::WaitForInputIdle(info.hProcess, 10000);
    const double idleMs = std::max(beforeIdle, nowMs()) - started;
    const unsigned linuxPid = linuxPidOf(program);
    const std::string dllsAtFrame = dllsOf(linuxPid);
    ::Sleep(3000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::K32GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory);
    std::string dllsLater = dllsOf(linuxPid);
    {
        std::string extra;
        std::istringstream later(dllsLater);
        for (std::string name; std::getline(later, name, ',');)
            if (("," + dllsAtFrame + ",").find("," + name + ",") == std::string::npos)
                extra += (extra.empty() ? "" : ",") + name;
        dllsLater = extra.empty() ? "-" : extra;
    }

    // Idle: nobody touches it.
    const auto cpu = [&] { return linuxPid ? linuxCpuMs(linuxPid) : cpuMs(info.hProcess); };
    const double cpu0 = cpu(), server0 = linuxCpuMs(serverPid), t0 = nowMs();
    ::Sleep(static_cast<DWORD>(idleSeconds) * 1000);
    const double cpu1 = cpu(), server1 = linuxCpuMs(serverPid), t1 = nowMs();

    // Timer wake-ups shown, hidden and minimised; then the caption when it
    // is seen again.
    double wakeups = -1, wakeupsHidden = -1, wakeupsMinimised = -1;
    int staleSeconds = -1;
    if (idleSeconds > 0) {
        wakeups = wakeupsPerSecond(hwnd, 10);
        ::ShowWindow(hwnd, SW_HIDE);
        wakeupsHidden = wakeupsPerSecond(hwnd, 10);
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ::ShowWindow(hwnd, SW_MINIMIZE);
        wakeupsMinimised = wakeupsPerSecond(hwnd, 10);
        ::ShowWindow(hwnd, SW_HIDE);
        ::Sleep(2100);  // the clock, if it ran, would now be two seconds behind
        ::ShowWindow(hwnd, SW_RESTORE);
        const int shown = captionSeconds(hwnd);
        staleSeconds = shown < 0 ? -1 : (secondsOfDayNow() - shown + 43200) % 43200;
        ::Sleep(500);
    }

    // The caption's lag behind each new second.
    std::vector<double> lags;
    wchar_t last[256] = {};
    ::GetWindowTextW(hwnd, last, 256);
    const double c0 = nowMs();
    while (captionSecondsToWatch > 0 && nowMs() - c0 < captionSecondsToWatch * 1000.0) {
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
    std::printf("linux_pid=%u created_ms=%.1f start_ms=%.1f frame_ms=%.1f idle_ms=%.1f ws_kib=%.0f cpu_pct=%.4f "
                "server_pct=%.4f wakeups=%.2f wakeups_hidden=%.2f wakeups_minimised=%.2f restore_stale_s=%d "
                "caption_ms_med=%.0f caption_ms_max=%.0f dlls=%s dlls_later=%s\n",
                linuxPid, createdMs, startMs, frameMs, idleMs, memory.WorkingSetSize / 1024.0,
                seconds > 0 ? (cpu1 - cpu0) / 10.0 / seconds : -1.0,
                server0 >= 0 && seconds > 0 ? (server1 - server0) / 10.0 / seconds : -1.0, wakeups, wakeupsHidden,
                wakeupsMinimised, staleSeconds, median(lags),
                lags.empty() ? -1.0 : *std::max_element(lags.begin(), lags.end()), dllsAtFrame.c_str(),
                dllsLater.c_str());
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return 0;
}
