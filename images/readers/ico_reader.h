// Icon files: reserved 0, type 1, then a directory of images stored as DIBs
// (colour bits and an AND mask) or as PNGs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "images/readers/icon_directory.h"
#include "images/readers/row_sink.h"
#include "pixels/picture.h"

namespace vb::images {

// The entry an icon file is loaded from: of the entries sized as the first,
// the one with the greatest bit count, the earliest on a tie. None for a
// malformed directory.
std::optional<IconDirEntry> ChooseIconFileImage(const std::uint8_t* data, std::size_t size);

// One image of an icon, a DIB with its AND mask or a PNG, delivered row by
// row with alpha (a PNG without alpha is opaque). A PNG is never held whole.
bool DecodeIconImageInto(const std::uint8_t* image, std::size_t size, RowSink* sink);

// The chosen image of an icon file decoded at its own size into a picture
// with alpha. None for anything malformed.
std::optional<pixels::Picture> DecodeIconFile(const std::uint8_t* data, std::size_t size);
// The same image delivered row by row: a PNG entry is never held whole.
bool DecodeIconFileInto(const std::uint8_t* data, std::size_t size, RowSink* sink);

}  // namespace vb::images
