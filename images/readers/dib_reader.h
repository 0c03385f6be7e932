// Decoding of device-independent bitmaps as they are stored in bitmap files,
// icon files and icon resources of executables. Pure byte work with no
// window system behind it: the image library and the stand-in system's
// icon calls share it, so there is one reader of these layouts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "pixels/picture.h"

namespace vb::images {

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
// own alpha at 32 bits unless all zero, else its mask). None for
// anything malformed, truncated or too large.
std::optional<pixels::Picture> DecodeDib(const DibSource& source);

// An icon image (from an icon file or an RT_ICON resource) stored as a DIB.
std::optional<pixels::Picture> DecodeIconDib(const std::uint8_t* data, std::size_t size);

// True when the bytes start with the PNG signature (icons may hold PNGs).
bool IsPngData(const std::uint8_t* data, std::size_t size);

}  // namespace vb::images
