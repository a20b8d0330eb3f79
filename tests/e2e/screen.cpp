#include "screen.h"

#include <filesystem>
#include <fstream>
#include <future>

namespace dv::e2e {

ScreenShot::ScreenShot(RECT r) {
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    // Wine copies nothing at all from a rectangle that leaves the screen.
    if (!::IntersectRect(&r, &r, &screen)) return;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    stride_ = (width_ * 3 + 3) & ~3;
    BITMAPINFO info{};
    info.bmiHeader = header();
    HDC screenDc = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screenDc);
    void* pixels = nullptr;
    if (HBITMAP bitmap = ::CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0)) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width_, height_, screenDc, r.left, r.top, SRCCOPY | CAPTUREBLT);
        ::GdiFlush();
        bits_.assign(static_cast<BYTE*>(pixels), static_cast<BYTE*>(pixels) + stride_ * height_);
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screenDc);
}

BITMAPINFOHEADER ScreenShot::header() const {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width_;
    h.biHeight = height_;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(stride_ * height_);
    return h;
}

bool ScreenShot::save(const std::wstring& path) const {
    const BITMAPINFOHEADER info = header();
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits_.size());
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(reinterpret_cast<const char*>(bits_.data()), static_cast<std::streamsize>(bits_.size()));
    return out.good();
}

int ScreenShot::count(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const BYTE* p = &bits_[static_cast<size_t>(y * stride_ + x * 3)];
            n += RGB(p[2], p[1], p[0]) == colour;
        }
    return n;
}

namespace {

constexpr wchar_t kReferenceClass[] = L"DayvaneTests.Reference";

LRESULT CALLBACK referenceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HMENU expectedMenu() {
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuW(file, MF_STRING, 100, L"Exit");
    HMENU option = ::CreatePopupMenu();
    ::AppendMenuW(option, MF_STRING, 200, L"Add to start up");
    ::AppendMenuW(option, MF_STRING, 201, L"Create Shortcut");
    ::AppendMenuW(option, MF_STRING, 202, L"Refresh Dayvane");
    ::AppendMenuW(option, MF_STRING, 203, L"Add own photo");
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), L"File");
    ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(option), L"Option");
    ::AppendMenuW(bar, MF_STRING, 300, L"Minimise");
    ::AppendMenuW(bar, MF_STRING, 301, L"About");
    return bar;
}

}  // namespace

ReferenceWindow::ReferenceWindow(HWND like, POINT at) {
    RECT r{};
    ::GetWindowRect(like, &r);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(like, GWL_STYLE)) & ~WS_VISIBLE;
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(like, GWL_EXSTYLE));
    std::promise<HWND> created;
    // Its own thread: a menu opened from the keyboard runs a modal loop there.
    thread_ = std::thread([&, style, exStyle, r] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = referenceProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kReferenceClass;
        ::RegisterClassExW(&wc);
        HWND hwnd = ::CreateWindowExW(exStyle, kReferenceClass, L"Reference", style, at.x, at.y, r.right - r.left,
                                      r.bottom - r.top, nullptr, expectedMenu(), wc.hInstance, nullptr);
        if (hwnd) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        created.set_value(hwnd);
        if (!hwnd) return;
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    });
    hwnd_ = created.get_future().get();
}

ReferenceWindow::~ReferenceWindow() {
    if (hwnd_) ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    thread_.join();
}

}  // namespace dv::e2e
