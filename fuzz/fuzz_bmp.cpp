// Untrusted bytes into the bitmap reader: refused or decoded, never more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "images/readers/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto picture = vb::images::DecodeBmp(data, size);
    if (picture &&
        (picture->width < 1 || picture->height < 1 || picture->width > vb::pixels::kMaxPictureSide ||
         picture->pixels.size() != std::size_t(picture->width) * picture->height))
        std::abort();
    return 0;
}
