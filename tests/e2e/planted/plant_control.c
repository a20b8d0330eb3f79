/* The planted-DLL test's control: it loads what Dayvane loads (shell32 at
   start, the imaging component through COM) but leaves the DLL search as it
   is. That the planted DLLs run here shows the test can see a planted DLL
   being loaded at all. */
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

static const GUID kWicFactory = {0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
static const GUID kUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    (void)instance, (void)previous, (void)commandLine, (void)show;
    NOTIFYICONDATAW none = {0};
    none.cbSize = sizeof none;
    Shell_NotifyIconW(NIM_DELETE, &none); /* a static import of shell32 */
    if (SUCCEEDED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))) {
        IUnknown* factory = NULL;
        if (SUCCEEDED(CoCreateInstance(&kWicFactory, NULL, CLSCTX_INPROC_SERVER, &kUnknown, (void**)&factory)))
            factory->lpVtbl->Release(factory);
        CoUninitialize();
    }
    return 0;
}
