// Bitmap files ("BM"): 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed
// or with colour masks, bottom-up or top-down.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "pixels/picture.h"

namespace vb::images {

// A 32-bit bitmap carries alpha (all-zero alpha reads as opaque); fewer
// bits give a picture without alpha. None for anything malformed.
std::optional<pixels::Picture> DecodeBmp(const std::uint8_t* data, std::size_t size);

}  // namespace vb::images
