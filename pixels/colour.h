// Packed colour values: red in the low byte, then green, blue and, where
// transparency is used, alpha in the top byte. No part of the code swaps
// channels, so these are the only place that knows the byte order.
#pragma once

#include <cstdint>

namespace vb::pixels {

constexpr std::uint8_t red(std::uint32_t c) { return c & 0xFF; }
constexpr std::uint8_t green(std::uint32_t c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t blue(std::uint32_t c) { return (c >> 16) & 0xFF; }
constexpr std::uint8_t alpha(std::uint32_t c) { return (c >> 24) & 0xFF; }
constexpr std::uint32_t rgba(unsigned r, unsigned g, unsigned b, unsigned a = 0) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16) | ((a & 0xFFu) << 24);
}

}  // namespace vb::pixels
