#pragma once

namespace dv {

// Screen rectangle in pixels: right and bottom are exclusive.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// A control's place as designed, in twips relative to the client area.
struct TwipsBox {
    int left = 0, top = 0, width = 0, height = 0;
};

constexpr int kTwipsPerInch = 1440;

// Rounded to the nearest pixel, like MulDiv, so every DPI lays out alike.
constexpr int twipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

// Rounded up: used where a distance is a minimum that must not shrink.
constexpr int twipsToPixelsCeil(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>((scaled + kTwipsPerInch - 1) / kTwipsPerInch);
}

}  // namespace dv
