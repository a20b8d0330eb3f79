/* Loaded into the measured program by bench_probe's WH_GETMESSAGE hook:
   counts the WM_TIMER messages its thread takes from its queue, that is
   its timer wake-ups, in memory that bench_probe reads. */
#include <windows.h>

static LONG* counter(void) {
    static LONG* shared;
    if (!shared) {
        HANDLE map = OpenFileMappingW(FILE_MAP_WRITE, FALSE, L"Local\\DayvaneBenchTimerCount");
        if (map) shared = (LONG*)MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, sizeof(LONG));
    }
    return shared;
}

__declspec(dllexport) LRESULT CALLBACK countTimers(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && ((const MSG*)lParam)->message == WM_TIMER) {
        LONG* shared = counter();
        if (shared) InterlockedIncrement(shared);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
