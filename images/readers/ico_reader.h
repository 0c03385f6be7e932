// Icon files: reserved 0, type 1, then a directory of images stored as DIBs
// (colour bits and an AND mask) or as PNGs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/picture.h"

namespace vb::images {

// Of the entries sized as the first, the one with the greatest bit count
// (the earliest on a tie), decoded at its own size into a picture with
// alpha. None for anything malformed.
std::optional<render::Picture> DecodeIconFile(const std::uint8_t* data, std::size_t size);

}  // namespace vb::images
