// Runs of pixels blended and copied with the integer rule of raster.h,
// written as plain loops over bytes that the compiler turns into vector
// code: each byte is widened to 16 bits, and the division by 255 is done
// exactly with shifts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vb::render {

// x / 255 for every x up to 255 * 255, the largest sum the rule makes.
constexpr unsigned Div255(unsigned x) { return (x + 1 + (x >> 8)) >> 8; }

// How each byte of a pixel moves toward a colour by one weight: the new byte
// is (byte * keep + add) / 255, where keep is 255 - weight and add is
// source * weight. Sixteen entries,
// four pixels, so a run of blocks needs no index arithmetic.
struct ByteBlend {
    std::uint8_t keep[16];
    std::uint16_t add[16];
};

// Red, green and blue toward the colour's channels by alpha; the alpha byte
// composes "over" by the same alpha on a picture with alpha, and is 0 on one
// without.
ByteBlend TowardColour(std::uint32_t colour, std::uint8_t alpha, bool targetHasAlpha);

// n pixels blended in place by one blend, or by `first` and then `second`.
void BlendRun(std::uint32_t* pixels, std::size_t n, const ByteBlend& blend);
void BlendRunTwice(std::uint32_t* pixels, std::size_t n, const ByteBlend& first, const ByteBlend& second);

// n pixels blended in place toward `colour`, each byte by its own weight in
// `weights` (four per pixel, in the pixel's byte order).
void BlendRunByWeights(std::uint32_t* pixels, const std::uint8_t* weights, std::size_t n,
                       std::uint32_t colour);

// n pixels copied with only the bits of `keep`.
void CopyRunMasked(std::uint32_t* to, const std::uint32_t* from, std::size_t n, std::uint32_t keep);

}  // namespace vb::render
