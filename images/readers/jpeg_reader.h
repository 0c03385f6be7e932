// JPEG data from memory through libjpeg(-turbo).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "images/readers/row_sink.h"
#include "pixels/picture.h"

namespace vb::images {

// Colour, grey and CMYK images come out as RGB without alpha. Damaged data
// (anything libjpeg would only warn about, such as a premature end) is
// refused rather than shown half grey.
std::optional<pixels::Picture> DecodeJpeg(const std::uint8_t* data, std::size_t size);
// The same image delivered row by row, never held whole.
bool DecodeJpegInto(const std::uint8_t* data, std::size_t size, RowSink* sink);

}  // namespace vb::images
