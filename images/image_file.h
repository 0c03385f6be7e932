// Image files for LoadImage: read whole, recognised by their first bytes,
// decoded, and scaled down to fit the bar's largest loaded size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "images/readers/row_sink.h"
#include "pixels/picture.h"

namespace vb::images {

constexpr int kImageBox = 32;

// "BM" -> bitmap; reserved 0 and type 1 -> icon file, made into the
// system's icon and drawn at its own size; else PNG, then JPEG.
std::optional<pixels::Picture> DecodeImageData(const std::uint8_t* data, std::size_t size);
// The same, delivered row by row into `sink`.
bool DecodeImageDataInto(const std::uint8_t* data, std::size_t size, RowSink* sink);

// The decoded file, fitted into kImageBox x kImageBox when larger.
std::optional<pixels::Picture> LoadImageFile(const char* path);

}  // namespace vb::images
