#pragma once

#include <string>
#include <thread>
#include <vector>

#include "process.h"

namespace dv::e2e {

// What the screen shows in a rectangle (clipped to the screen), 24 bits a
// pixel, bottom row first as a BMP file keeps it.
class ScreenShot {
public:
    explicit ScreenShot(RECT r);
    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return bits_.empty(); }
    bool save(const std::wstring& path) const;
    int count(COLORREF colour) const;
    bool operator==(const ScreenShot& other) const = default;

private:
    BITMAPINFOHEADER header() const;
    int width_ = 0, height_ = 0, stride_ = 0;
    std::vector<BYTE> bits_;
};

// A window of this process with the styles and size of another and the menu
// Dayvane should have. The same system code draws both menus, so they must
// match pixel for pixel: under Wine another process's menu cannot be read.
class ReferenceWindow {
public:
    ReferenceWindow(HWND like, POINT at);
    ~ReferenceWindow();
    ReferenceWindow(const ReferenceWindow&) = delete;
    ReferenceWindow& operator=(const ReferenceWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    std::thread thread_;
    HWND hwnd_ = nullptr;
};

}  // namespace dv::e2e
