// JPEG data from memory through libjpeg(-turbo).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/picture.h"

namespace vb::images {

// Colour, grey and CMYK images come out as RGB without alpha. Damaged data
// (anything libjpeg would only warn about, such as a premature end) is
// refused rather than shown half grey.
std::optional<render::Picture> DecodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace vb::images
