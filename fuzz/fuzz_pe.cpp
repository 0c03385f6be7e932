// Untrusted bytes as a PE file: the icon group count and the image chosen
// for a few indexes, decoded when it is a DIB.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "images/readers/dib_reader.h"
#include "images/readers/pe_resources.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int count = vb::images::PeIconGroupCount(data, size);
    if (count < 0) std::abort();
    for (long long index : {0LL, 1LL, -1LL, -2LL, static_cast<long long>(count)}) {
        auto image = vb::images::PeIconImage(data, size, index, 32, true);
        if (!image) continue;
        if (image->data < data || image->size > size || std::size_t(image->data - data) > size - image->size)
            std::abort();
        vb::images::DecodeIconDib(image->data, image->size);
    }
    return 0;
}
