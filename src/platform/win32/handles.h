#pragma once

#include <utility>

#include "win32.h"

#include <objbase.h>

namespace dv::win32 {

// Owns one handle and frees it with Free; moves, never copies.
template <typename H, auto Free, H Null = H{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    ~Unique() { reset(); }
    Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Null)) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, Null));
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Null; }
    H release() { return std::exchange(h_, Null); }
    void reset(H h = Null) {
        if (h_ != Null) Free(h_);
        h_ = h;
    }

private:
    H h_ = Null;
};

inline void destroyWindow(HWND h) { ::DestroyWindow(h); }
inline void deleteObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void destroyIcon(HICON h) { ::DestroyIcon(h); }
inline void destroyMenu(HMENU h) { ::DestroyMenu(h); }
inline void closeHandle(HANDLE h) { ::CloseHandle(h); }
inline void regCloseKey(HKEY h) { ::RegCloseKey(h); }

using UniqueWindow = Unique<HWND, destroyWindow>;
using UniqueFont = Unique<HFONT, deleteObject>;
using UniqueBitmap = Unique<HBITMAP, deleteObject>;
using UniqueBrush = Unique<HBRUSH, deleteObject>;
using UniqueIcon = Unique<HICON, destroyIcon>;
using UniqueMenu = Unique<HMENU, destroyMenu>;
using UniqueHandle = Unique<HANDLE, closeHandle>;
using UniqueKey = Unique<HKEY, regCloseKey>;

// A COM interface pointer that releases what it holds.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the out-parameter of a creating call.
    T** put() {
        reset();
        return &p_;
    }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
    }

private:
    T* p_ = nullptr;
};

// COM for the calling thread, for as long as this lives.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (ok_) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const { return ok_; }

private:
    bool ok_;
};

}  // namespace dv::win32
