// A picture: width x height pixels, each a packed colour value with red in
// the low byte, then green, blue and (when the picture carries alpha) alpha.
#pragma once

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace vb::render {

// Largest side we ever allocate; keeps width * height * 4 far from overflow.
constexpr int kMaxPictureSide = 16384;

struct Picture {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;  // straight (not premultiplied) alpha in the top byte
    std::vector<std::uint32_t> pixels;

    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    platform::PixelView view() const { return {width, height, pixels.data(), hasAlpha}; }
};

// A new black picture (alpha 0 when it carries alpha); none for sizes below
// 1 x 1, above kMaxPictureSide a side, or when memory runs out.
// Header-only: the byte readers, which the stand-in system shares, use
// pictures without the rest of the raster library.
inline std::optional<Picture> makePicture(int width, int height, bool hasAlpha = false) {
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return std::nullopt;
    Picture picture;
    try {
        picture.pixels.assign(static_cast<std::size_t>(width) * height, 0u);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    picture.width = width;
    picture.height = height;
    picture.hasAlpha = hasAlpha;
    return picture;
}

constexpr std::uint8_t red(std::uint32_t c) { return c & 0xFF; }
constexpr std::uint8_t green(std::uint32_t c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t blue(std::uint32_t c) { return (c >> 16) & 0xFF; }
constexpr std::uint8_t alpha(std::uint32_t c) { return (c >> 24) & 0xFF; }
constexpr std::uint32_t rgba(unsigned r, unsigned g, unsigned b, unsigned a = 0) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16) | ((a & 0xFFu) << 24);
}

}  // namespace vb::render
