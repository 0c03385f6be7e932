// Decoding of device-independent bitmaps as they are stored in bitmap files,
// icon files and icon resources of executables. Pure byte work with no
// window system behind it: the image library shares it, so there is one
// reader of these layouts in the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace vb::platform {

// Largest side a decoder accepts; larger claims in a header are refused.
constexpr int kMaxDecodedSide = 16384;

// Decoded pixels: packed values with red in the low byte and alpha in the
// top byte, rows top to bottom. Without alpha the top byte is 0.
struct DecodedPixels {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint32_t> pixels;
};

// Where a bitmap's parts lie. `header` points at the info header, with
// `headerBytes` readable from there. `bits` points at the pixel rows with
// `bitsBytes` readable; null means the rows follow the header, its colour
// masks and its colour table directly (as in icons).
struct DibSource {
    const std::uint8_t* header = nullptr;
    std::size_t headerBytes = 0;
    const std::uint8_t* bits = nullptr;
    std::size_t bitsBytes = 0;
    bool iconImage = false;  // doubled height: colour rows, then a 1-bit AND mask
};

// Decodes 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed or with
// colour masks, bottom-up or top-down. A plain bitmap carries alpha only at
// 32 bits (all-zero alpha reads as opaque); an icon image always does (its
// own alpha at 32 bits unless all zero, else its mask). False, with `out`
// untouched, for anything malformed, truncated or too large.
VB_PLATFORM_API bool decodeDib(const DibSource& source, DecodedPixels* out);

// An icon image (from an icon file or an RT_ICON resource) stored as a DIB.
VB_PLATFORM_API bool decodeIconDib(const std::uint8_t* data, std::size_t size,
                                   DecodedPixels* out);

// True when the bytes start with the PNG signature (icons may hold PNGs).
VB_PLATFORM_API bool isPngData(const std::uint8_t* data, std::size_t size);

}  // namespace vb::platform
