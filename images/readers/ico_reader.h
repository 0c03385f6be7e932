// Icon files: reserved 0, type 1, then a directory of images stored as DIBs
// (colour bits and an AND mask) or as PNGs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "images/readers/row_sink.h"
#include "render/picture.h"

namespace vb::images {

// Of the entries sized as the first, the one with the greatest bit count
// (the earliest on a tie), decoded at its own size into a picture with
// alpha. None for anything malformed.
std::optional<render::Picture> DecodeIconFile(const std::uint8_t* data, std::size_t size);
// The same image delivered row by row: a PNG entry is never held whole.
bool DecodeIconFileInto(const std::uint8_t* data, std::size_t size, RowSink* sink);

}  // namespace vb::images
