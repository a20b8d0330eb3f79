#include "image.h"

#include <algorithm>
#include <memory>

#include "stb_image.h"

namespace dv::win32 {

Image decodeJpegResource(HINSTANCE instance, int resource) {
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(resource), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!bytes) return {};
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> rgb(
        stbi_load_from_memory(bytes, static_cast<int>(::SizeofResource(instance, found)), &width, &height,
                              &channels, 3),
        stbi_image_free);
    if (!rgb) return {};
    Image image{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
    const unsigned char* p = rgb.get();
    for (std::uint32_t& pixel : image.pixels) {
        pixel = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        p += 3;
    }
    return image;
}

namespace {

// For each target pixel along one axis: the source pixels it covers and
// the share of each, in 1/65536, adding up to 65536.
struct Tap {
    int source;
    std::uint32_t weight;
};

std::vector<std::vector<Tap>> areaTaps(int from, int to) {
    std::vector<std::vector<Tap>> taps(static_cast<size_t>(to));
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * scale, end = (i + 1) * scale;
        std::uint32_t given = 0;
        for (int s = static_cast<int>(begin); s < from && s < end; ++s) {
            const double cover = std::min<double>(s + 1, end) - std::max<double>(s, begin);
            const auto w = static_cast<std::uint32_t>(cover / scale * 65536.0 + 0.5);
            if (w) taps[i].push_back({s, w});
            given += w;
        }
        // Rounding must not darken or brighten: the last tap takes the rest.
        if (!taps[i].empty()) taps[i].back().weight += 65536 - given;
    }
    return taps;
}

}  // namespace

Image scaleByArea(const Image& source, int width, int height) {
    if (!source || width <= 0 || height <= 0) return {};
    if (width == source.width && height == source.height) return source;
    const auto across = areaTaps(source.width, width);
    const auto down = areaTaps(source.height, height);
    // Across first, into 16.16 fixed-point channels; then down.
    std::vector<std::uint32_t> rows(static_cast<size_t>(width) * source.height * 3);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint64_t sum[3] = {};
            for (const Tap& t : across[x]) {
                const std::uint32_t p = source.pixels[static_cast<size_t>(y) * source.width + t.source];
                for (int c = 0; c < 3; ++c) sum[c] += std::uint64_t{(p >> (16 - 8 * c)) & 0xFF} * t.weight;
            }
            for (int c = 0; c < 3; ++c)
                rows[(static_cast<size_t>(y) * width + x) * 3 + c] = static_cast<std::uint32_t>(sum[c]);
        }
    Image out{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint64_t sum[3] = {};
            for (const Tap& t : down[y]) {
                const std::uint32_t* row = &rows[(static_cast<size_t>(t.source) * width + x) * 3];
                for (int c = 0; c < 3; ++c) sum[c] += std::uint64_t{row[c]} * t.weight;
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c) {
                const auto v = static_cast<std::uint32_t>((sum[c] + (std::uint64_t{1} << 31)) >> 32);
                pixel |= std::min<std::uint32_t>(v, 255) << (16 - 8 * c);
            }
            out.pixels[static_cast<size_t>(y) * width + x] = pixel;
        }
    return out;
}

HBITMAP toBitmap(const Image& image) {
    if (!image) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t*>(bits));
    return bitmap;
}

}  // namespace dv::win32
