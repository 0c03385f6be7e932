#include "render/picture.h"

#include <new>

namespace vb::render {

std::optional<Picture> makePicture(int width, int height, bool hasAlpha) {
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        return std::nullopt;
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

}  // namespace vb::render
