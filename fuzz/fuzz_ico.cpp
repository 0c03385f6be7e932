// Untrusted bytes into the icon file reader, and every entry of the
// directory through the shared DIB decoder and the nearest-size choice.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "images/readers/dib_reader.h"
#include "images/readers/ico_reader.h"
#include "images/readers/icon_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto picture = vb::images::DecodeIconFile(data, size);
    if (picture &&
        (!picture->hasAlpha || picture->pixels.size() != std::size_t(picture->width) * picture->height))
        std::abort();

    if (auto entries = vb::images::ReadIconDirectory(data, size, vb::images::IconDirKind::File)) {
        int nearest = vb::images::ChooseNearestEntry(*entries, 32, false);
        if (nearest >= int(entries->size())) std::abort();
        for (const auto& e : *entries) {
            auto pixels = vb::images::DecodeIconDib(data + e.location, e.bytes);
            if (pixels && pixels->pixels.size() != std::size_t(pixels->width) * pixels->height) std::abort();
        }
    }
    return 0;
}
