// PNG data from memory through libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "images/readers/row_sink.h"
#include "pixels/picture.h"

namespace vb::images {

// Palette, grey and 16-bit images come out as 8-bit RGB(A); the picture
// carries alpha when the file has an alpha channel or transparency. None
// for anything libpng refuses, truncated data or sides above the limit.
std::optional<pixels::Picture> DecodePng(const std::uint8_t* data, std::size_t size);
// The same image delivered row by row: only an interlaced image is held
// whole meanwhile. False when the sink refuses it or the data is bad.
bool DecodePngInto(const std::uint8_t* data, std::size_t size, RowSink* sink);

}  // namespace vb::images
