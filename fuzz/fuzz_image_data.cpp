// Untrusted bytes through the image file entry: recognition, then the BMP,
// icon, PNG or JPEG reader. Starts with PNG and JPEG signatures are worth
// seeding the corpus with.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "images/image_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto picture = vb::images::DecodeImageData(data, size);
    if (picture && picture->pixels.size() != std::size_t(picture->width) * picture->height) std::abort();
    return 0;
}
