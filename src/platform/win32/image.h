#pragma once

#include <cstdint>
#include <vector>

#include "win32.h"

namespace dv::win32 {

// Pixels in the layout of a 32-bit top-down DIB: blue, green, red, unused.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    explicit operator bool() const { return width > 0 && height > 0; }
};

// The JPEG in an RCDATA resource, or an empty image when it is missing or
// cannot be decoded. Needs no COM: the photo is on screen in the first frame.
Image decodeJpegResource(HINSTANCE instance, int resource);

// The image at another size, each target pixel the average of the source
// area it covers (exact 2:1 halving at 100 %, the source itself at 200 %).
Image scaleByArea(const Image& source, int width, int height);

// A DIB section holding the image, or null.
HBITMAP toBitmap(const Image& image);

}  // namespace dv::win32
