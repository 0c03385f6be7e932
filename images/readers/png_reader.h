// PNG data from memory through libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/picture.h"

namespace vb::images {

// Palette, grey and 16-bit images come out as 8-bit RGB(A); the picture
// carries alpha when the file has an alpha channel or transparency. None
// for anything libpng refuses, truncated data or sides above the limit.
std::optional<render::Picture> DecodePng(const std::uint8_t* data, std::size_t size);

}  // namespace vb::images
