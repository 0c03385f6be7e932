// Bitmap files: the file header locates the info header and the pixel rows;
// the shared DIB reader does the rest.
#include "images/readers/bmp_reader.h"

#include "images/readers/byte_reader.h"
#include "images/readers/dib_reader.h"

namespace vb::images {

std::optional<pixels::Picture> DecodeBmp(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kFileHeader = 14;
    if (!data || size < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const std::uint32_t bitsOffset = bytes::u32(data + 10);
    if (bitsOffset < kFileHeader + 12 || bitsOffset > size) return std::nullopt;

    DibSource source;
    source.header = data + kFileHeader;
    source.headerBytes = size - kFileHeader;
    source.bits = data + bitsOffset;
    source.bitsBytes = size - bitsOffset;
    return DecodeDib(source);
}

}  // namespace vb::images
