// Untrusted run-length data in a well-formed bitmap: the first four bytes
// choose RLE8 or RLE4, the sides and the palette size, the rest is the
// compressed pixel data. Decoded or refused, never more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "images/readers/bmp_reader.h"

namespace {

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const bool four = data[0] & 1;
    const bool topDown = data[0] & 2;  // the system refuses top-down RLE
    const int width = 1 + data[1] % 96, height = 1 + data[2] % 96;
    const unsigned colours = data[3];
    const std::size_t paletteBytes = 4u * (colours ? colours : (four ? 16u : 256u));
    const std::size_t bitsOffset = 14 + 40 + paletteBytes;

    std::vector<std::uint8_t> file{'B', 'M'};
    put32(file, static_cast<std::uint32_t>(bitsOffset + size - 4));
    put32(file, 0);
    put32(file, static_cast<std::uint32_t>(bitsOffset));
    put32(file, 40);
    put32(file, static_cast<std::uint32_t>(width));
    put32(file, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(file, 1);
    put16(file, four ? 4 : 8);
    put32(file, four ? 2 : 1);  // BI_RLE4, BI_RLE8
    put32(file, static_cast<std::uint32_t>(size - 4));
    put32(file, 2835);
    put32(file, 2835);
    put32(file, colours);
    put32(file, 0);
    for (std::size_t i = 0; i < paletteBytes; ++i) file.push_back(static_cast<std::uint8_t>(i * 37));
    file.insert(file.end(), data + 4, data + size);

    auto picture = vb::images::DecodeBmp(file.data(), file.size());
    if (picture && (topDown || picture->width != width || picture->height != height || picture->hasAlpha ||
                    picture->pixels.size() != std::size_t(width) * height))
        std::abort();
    return 0;
}
