#include "win32.h"  // first: the other system headers need it

#include "control_peers.h"
#include "image.h"

namespace dv::win32 {

namespace {
constexpr wchar_t kPictureClass[] = L"Dayvane.Picture";
// The photo's size at 96 dpi; its source holds twice as many pixels each
// way, so that it is scaled down, never up, from 100 % to 200 %.
constexpr int kPhotoWidth = 200;
constexpr int kPhotoHeight = 150;
}  // namespace

namespace {
HWND createPicture(FormWindow& parent, PictureBox& picture) {
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(parent.instance(), kPictureClass, &wc)) {
        wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = PicturePeer::windowProc;
        wc.hInstance = parent.instance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kPictureClass;
        ::RegisterClassExW(&wc);
    }
    // The photo box shows a sunken border; a plain one is a focus holder.
    HWND hwnd = createChild(parent, picture, kPictureClass, L"", 0, picture.imageResource() ? WS_EX_CLIENTEDGE : 0);
    // Tab never lands in a picture; code may still give it the focus.
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) & ~WS_TABSTOP);
    return hwnd;
}
}  // namespace

PicturePeer::PicturePeer(FormWindow& parent, PictureBox& picture)
    : ChildPeer(parent, picture, createPicture(parent, picture)),
      resource_(picture.imageResource()) {
    ::SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    onDpiChanged(parent.dpi());
}

PicturePeer::~PicturePeer() { ::SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0); }

void PicturePeer::onDpiChanged(int dpi) {
    ChildPeer::onDpiChanged(dpi);
    // Decoded again for each DPI rather than kept: a DPI change is rare.
    if (resource_)
        bitmap_.reset(toBitmap(scaleByArea(decodeJpegResource(parent_.instance(), resource_),
                                           ::MulDiv(kPhotoWidth, dpi, 96), ::MulDiv(kPhotoHeight, dpi, 96))));
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT CALLBACK PicturePeer::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) return 1;  // painted whole in WM_PAINT
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        auto* self = reinterpret_cast<PicturePeer*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self) ::FillRect(dc, &ps.rcPaint, self->backBrush());
        if (self && self->bitmap_) {
            HDC memory = ::CreateCompatibleDC(dc);
            HGDIOBJ old = ::SelectObject(memory, self->bitmap_.get());
            BITMAP bm{};
            ::GetObjectW(self->bitmap_.get(), sizeof bm, &bm);
            ::BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
            ::SelectObject(memory, old);
            ::DeleteDC(memory);
        }
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace dv::win32
