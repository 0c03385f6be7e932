// A picture: width x height pixels, each a packed colour value (colour.h),
// rows top to bottom without padding. The floor every other folder stands
// on, so it depends on nothing of ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "pixels/colour.h"

namespace vb::pixels {

// Largest side we ever allocate; keeps width * height * 4 far from overflow.
constexpr int kMaxPictureSide = 16384;

// A read-only view of pixels laid out as in a picture.
struct PixelView {
    int width = 0;
    int height = 0;
    const std::uint32_t* pixels = nullptr;
    bool hasAlpha = false;
};

struct Picture {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;  // straight (not premultiplied) alpha in the top byte
    std::vector<std::uint32_t> pixels;

    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    PixelView view() const { return {width, height, pixels.data(), hasAlpha}; }
};

// A new black picture (alpha 0 when it carries alpha); none for sizes below
// 1 x 1, above kMaxPictureSide a side, or when memory runs out.
inline std::optional<Picture> makePicture(int width, int height, bool hasAlpha = false) {
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide) return std::nullopt;
    Picture picture;
    try {
        picture.pixels.assign(static_cast<std::size_t>(width) * height, 0u);
    } catch (const std::bad_alloc&) {
        // Kept: a picture that cannot be made is an answer its callers act on
        // (a bar keeps its image, a paint leaves a part out and still succeeds).
        return std::nullopt;
    }
    picture.width = width;
    picture.height = height;
    picture.hasAlpha = hasAlpha;
    return picture;
}

}  // namespace vb::pixels
