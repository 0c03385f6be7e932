// Turns pixels decoded by the shared bitmap readers into a picture.
#pragma once

#include <utility>

#include "platform/sim/icon_dib.h"
#include "render/picture.h"

namespace vb::images {

inline render::Picture PictureFromPixels(platform::DecodedPixels&& decoded) {
    render::Picture picture;
    picture.width = decoded.width;
    picture.height = decoded.height;
    picture.hasAlpha = decoded.hasAlpha;
    picture.pixels = std::move(decoded.pixels);
    return picture;
}

}  // namespace vb::images
