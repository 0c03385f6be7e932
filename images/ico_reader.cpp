// Icon files: the directory and the DIB decoding are shared with the icons
// of executables; PNG entries go through our PNG reader.
#include "images/ico_reader.h"

#include <vector>

#include "images/decoded_picture.h"
#include "images/png_reader.h"
#include "platform/sim/icon_dib.h"
#include "platform/sim/icon_directory.h"

namespace vb::images {

std::optional<render::Picture> DecodeIconFile(const std::uint8_t* data, std::size_t size) {
    std::vector<platform::IconDirEntry> entries;
    try {
        if (!platform::readIconDirectory(data, size, platform::IconDirKind::File, &entries))
            return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const int chosen = platform::chooseFirstSizeEntry(entries);
    if (chosen < 0) return std::nullopt;
    const platform::IconDirEntry& e = entries[static_cast<std::size_t>(chosen)];
    const std::uint8_t* image = data + e.location;

    if (e.png) {
        std::optional<render::Picture> picture = DecodePng(image, e.bytes);
        if (picture && !picture->hasAlpha) {
            // An icon always carries alpha; a PNG without it is opaque.
            for (std::uint32_t& p : picture->pixels) p |= 0xFF000000u;
            picture->hasAlpha = true;
        }
        return picture;
    }
    platform::DecodedPixels decoded;
    if (!platform::decodeIconDib(image, e.bytes, &decoded)) return std::nullopt;
    return PictureFromPixels(std::move(decoded));
}

}  // namespace vb::images
