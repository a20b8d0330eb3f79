#pragma once

#include <atomic>
#include <utility>

#include "win32.h"

#include <objbase.h>

namespace dv::win32 {

namespace detail {
// How many handles the wrappers below hold now. Only the leak test reads it;
// the program's behaviour never depends on it.
inline std::atomic<long>& liveHandleCount() {
    static std::atomic<long> count{0};
    return count;
}
inline void handleAcquired() { liveHandleCount().fetch_add(1, std::memory_order_relaxed); }
inline void handleFreed() { liveHandleCount().fetch_sub(1, std::memory_order_relaxed); }
}  // namespace detail

// Windows, GDI objects, icons, menus, keys and COM pointers held by a
// Unique or ComPtr of this process right now.
inline long liveHandles() { return detail::liveHandleCount().load(std::memory_order_relaxed); }

// Owns one handle and frees it with Free; moves, never copies.
template <typename H, auto Free, H Null = H{}>
class Unique {
public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {
        if (h_ != Null) detail::handleAcquired();
    }
    ~Unique() { reset(); }
    Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Null)) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, Null);  // still counted once
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != Null; }
    H release() {
        if (h_ != Null) detail::handleFreed();  // the caller owns it now
        return std::exchange(h_, Null);
    }
    void reset(H h = Null) {
        if (h_ != Null) {
            Free(h_);
            detail::handleFreed();
        }
        h_ = h;
        if (h_ != Null) detail::handleAcquired();
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
inline void unregisterPowerNotify(HPOWERNOTIFY h) { ::UnregisterPowerSettingNotification(h); }
using UniquePowerNotify = Unique<HPOWERNOTIFY, unregisterPowerNotify>;

// A COM interface pointer that releases what it holds.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept
        : p_(std::exchange(other.p_, nullptr)), counted_(std::exchange(other.counted_, false)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
            counted_ = std::exchange(other.counted_, false);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the out-parameter of a creating call. The pointer counts as live
    // from here (the call may or may not fill it) until it is released.
    T** put() {
        reset();
        detail::handleAcquired();
        counted_ = true;
        return &p_;
    }
    void reset() {
        if (p_) std::exchange(p_, nullptr)->Release();
        if (std::exchange(counted_, false)) detail::handleFreed();
    }

private:
    T* p_ = nullptr;
    bool counted_ = false;
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
