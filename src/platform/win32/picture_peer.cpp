#include "win32.h"  // first: the other system headers need it

#include <wincodec.h>

#include "control_peers.h"

namespace dv::win32 {

namespace {
constexpr wchar_t kPictureClass[] = L"Dayvane.Picture";
}  // namespace

// Decodes the JPEG resource once; scales it for each DPI from the source
// pixels, so the photo stays sharp instead of being stretched on screen.
class Photo {
public:
    Photo(HINSTANCE instance, int resource) {
        HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
        HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
        const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
        if (!bytes) return;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapDecoder> decoder;
        ComPtr<IWICBitmapFrameDecode> frame;
        if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory_.put()))) ||
            FAILED(factory_->CreateStream(stream.put())) ||
            FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)),
                                                ::SizeofResource(instance, found))) ||
            FAILED(factory_->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                                     decoder.put())) ||
            FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory_->CreateFormatConverter(source_.put())) ||
            FAILED(source_->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                       nullptr, 0.0, WICBitmapPaletteTypeCustom)))
            source_.reset();
    }

    // The picture at its natural size for this DPI, or null.
    HBITMAP render(int dpi) const {
        UINT w = 0, h = 0;
        if (!source_ || FAILED(source_->GetSize(&w, &h))) return nullptr;
        const UINT sw = static_cast<UINT>(::MulDiv(static_cast<int>(w), dpi, 96));
        const UINT sh = static_cast<UINT>(::MulDiv(static_cast<int>(h), dpi, 96));
        ComPtr<IWICBitmapScaler> scaler;
        IWICBitmapSource* pixels = source_.get();
        if (sw != w || sh != h) {
            if (FAILED(factory_->CreateBitmapScaler(scaler.put())) ||
                FAILED(scaler->Initialize(source_.get(), sw, sh, WICBitmapInterpolationModeFant)))
                return nullptr;
            pixels = scaler.get();
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = static_cast<LONG>(sw);
        info.bmiHeader.biHeight = -static_cast<LONG>(sh);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || FAILED(pixels->CopyPixels(nullptr, sw * 4, sw * sh * 4, static_cast<BYTE*>(bits))))
            return nullptr;
        return bitmap.release();
    }

private:
    ComPtr<IWICImagingFactory> factory_;
    ComPtr<IWICFormatConverter> source_;
};

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
      photo_(std::make_unique<Photo>(parent.instance(), picture.imageResource())) {
    ::SetWindowLongPtrW(hwnd(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    onDpiChanged(parent.dpi());
}

PicturePeer::~PicturePeer() { ::SetWindowLongPtrW(hwnd(), GWLP_USERDATA, 0); }

void PicturePeer::onDpiChanged(int dpi) {
    ChildPeer::onDpiChanged(dpi);
    bitmap_.reset(photo_->render(dpi));
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
