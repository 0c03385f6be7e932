// Icon files: the directory and the DIB decoding are shared with the icons
// of executables; PNG entries go through our PNG reader.
#include "images/readers/ico_reader.h"

#include <vector>

#include "images/readers/png_reader.h"
#include "images/readers/dib_reader.h"
#include "images/readers/icon_directory.h"

namespace vb::images {

std::optional<render::Picture> DecodeIconFile(const std::uint8_t* data, std::size_t size) {
    std::vector<IconDirEntry> entries;
    try {
        if (!ReadIconDirectory(data, size, IconDirKind::File, &entries))
            return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    const int chosen = ChooseFirstSizeEntry(entries);
    if (chosen < 0) return std::nullopt;
    const IconDirEntry& e = entries[static_cast<std::size_t>(chosen)];
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
    render::Picture decoded;
    if (!DecodeIconDib(image, e.bytes, &decoded)) return std::nullopt;
    return decoded;
}

}  // namespace vb::images
