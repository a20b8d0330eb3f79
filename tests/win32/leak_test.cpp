#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

#include "support.h"

#include <psapi.h>
#include <winternl.h>

// Every window opened and closed many times and the clock run for a long day give back every wrapped
// handle and GDI object, and the process does not grow. DAYVANE_LEAK_CYCLES: make bench runs 500.
namespace dv::test {
namespace {

const int kCycles = std::getenv("DAYVANE_LEAK_CYCLES") ? std::atoi(std::getenv("DAYVANE_LEAK_CYCLES")) : 40;
const int kTicks = 200 * kCycles;
constexpr int kWarmUpCycles = 10;
constexpr double kMiB = 1024.0 * 1024.0;

// The private bytes are added up from the address space: Wine reports no PrivateUsage, and its
// PagefileUsage counts its X11 driver too.
struct Memory { double workingSet = 0, privateBytes = 0; };
Memory memoryNow() {
    Memory m;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        m.workingSet = static_cast<double>(counters.WorkingSetSize);
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            m.privateBytes += static_cast<double>(region.RegionSize);
    return m;
}

// GetGuiResources says 0 under Wine; there the GDI handle table the PEB points at (at 0xF8) is the
// process's own: 0x10000 entries of 24 bytes, each with its type at byte 14.
long gdiObjects() {
    if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(n);
    PROCESS_BASIC_INFORMATION process{};
    ::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr);
    const auto* peb = reinterpret_cast<const char*>(process.PebBaseAddress);
    const auto* table = peb ? *reinterpret_cast<const std::uint8_t* const*>(peb + 0xF8) : nullptr;
    long live = 0;
    for (int i = 0; table && i < 0x10000; ++i) live += table[24 * i + 14] != 0;
    return live;
}

// Wine's month calendar makes a bold font at each WM_SETFONT and frees only the last one it made: the
// views must share one font and get it once a load.
long calendarFonts = 0;
std::set<WPARAM> distinctCalendarFonts;
LRESULT CALLBACK countCalendarFonts(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SETFONT && className(call->hwnd) == MONTHCAL_CLASSW) {
        ++calendarFonts;
        distinctCalendarFonts.insert(call->wParam);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// 1 under Wine, 0 on Windows.
long objectsLeftPerCalendarFont() {
    const long before = gdiObjects();
    HWND view = ::CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, instance(), nullptr);
    for (int i = 0; i < 4; ++i)
        ::SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ::DestroyWindow(view);
    return (gdiObjects() - before) / 4;
}

class LeakCheck : public RealWindows {
protected:
    // Each window opened and closed as a user closes it; the program never unloads the read-me window.
    void cycle() {
        for (Form* form : std::initializer_list<Form*>{&main, &frmstartup, &frmAbout, &ThumbFrm5}) {
            form->Show();
            drain();
            ::SendMessageW(hwndOf(*form), WM_CLOSE, 0, 0);
            drain();
            if (form != &ThumbFrm5) form->Unload();
        }
    }
    // Hidden, as in the notification area: drawing the caption takes Wine a millisecond a time.
    void runClock(int ticks) {
        main.Show();
        main.Hide();
        for (int i = 0; i < ticks; ++i) {
            if (i % 1000 == 0) drain();
            main.Timer1.tick();
        }
        main.Unload();
        drain();
    }
    // A thousand round trips to the shell once left Wine's explorer stuck; the window tests add the real icon.
    fakes::FakeNotifyIcon icon;
    MainWindow main{{toolkit(), messages}, {clock, screen, icon, application}, {}};
};

TEST_F(LeakCheck, EveryWindowOpenedAndClosedAndTheClockRunGiveEverythingBack) {
    // The first rounds load DLLs, fonts and classes that stay for good.
    for (int i = 0; i < kWarmUpCycles; ++i) cycle();
    runClock(kTicks / 10);
    const long perCalendarFont = objectsLeftPerCalendarFont();
    const std::unique_ptr<HHOOK__, decltype(&::UnhookWindowsHookEx)> hook(
        ::SetWindowsHookExW(WH_CALLWNDPROC, countCalendarFonts, nullptr, ::GetCurrentThreadId()),
        ::UnhookWindowsHookEx);
    ASSERT_TRUE(hook);
    const long handlesBefore = win32::liveHandles(), gdiBefore = gdiObjects();
    ASSERT_GT(gdiBefore, 0) << "no count of GDI objects";
    const Memory before = memoryNow();
    ASSERT_GT(before.workingSet, 0) << "no memory figures from K32GetProcessMemoryInfo";
    const auto start = std::chrono::steady_clock::now();

    for (int i = 0; i < kCycles; ++i) {
        cycle();
        ASSERT_EQ(win32::liveHandles(), handlesBefore) << "after cycle " << i + 1;
    }
    runClock(kTicks);

    const Memory after = memoryNow();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(win32::liveHandles(), handlesBefore);
    const long gdiLeft = gdiObjects() - gdiBefore, wineFonts = perCalendarFont * calendarFonts;
    EXPECT_LE(gdiLeft, wineFonts) << "GDI objects left behind, beyond the month calendars' own";
    EXPECT_EQ(calendarFonts, 2 * (kCycles + 1)) << "a font given to each view more than once a load";
    EXPECT_EQ(distinctCalendarFonts.size(), 1u) << "the views' fonts at one DPI";
    EXPECT_LE(after.privateBytes - before.privateBytes, kMiB);
    // Under Wine (its ntdll has wine_get_version) the working set also holds the month calendar's fonts
    // and its X11 side; make bench shows it.
    if (!::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        EXPECT_LE(after.workingSet - before.workingSet, kMiB);
    }
    EXPECT_TRUE(messages.prompts.empty()) << messages.prompts.front();
    EXPECT_EQ(application.quitCalls, kCycles + kWarmUpCycles);
    EXPECT_EQ(icon.removeCalls, kCycles + kWarmUpCycles);
    // make bench reads this line.
    std::printf(
        "leak-check: %d cycles, %d ticks, %.1f s; handles %ld -> %ld; GDI objects %+ld (month calendars' %ld); "
        "working set %+.0f KiB; private %+.0f KiB\n",
        kCycles, kTicks, seconds, handlesBefore, win32::liveHandles(), gdiLeft, wineFonts,
        (after.workingSet - before.workingSet) / 1024, (after.privateBytes - before.privateBytes) / 1024);
}

}  // namespace
}  // namespace dv::test
