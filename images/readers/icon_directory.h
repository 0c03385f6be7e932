// Icon directories: the header of an icon file (entries locate images by
// file offset) and of an RT_GROUP_ICON resource (entries name RT_ICON ids),
// and the two ways of choosing one of their images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <cstddef>
#include <cstdint>

namespace vb::images {

enum class IconDirKind { File, Group };

struct IconDirEntry {
    int width = 0;  // a stored 0 means 256
    int height = 0;
    int bitCount = 0;            // as the directory states it
    std::uint32_t bytes = 0;     // size of the image data
    std::uint32_t location = 0;  // file offset (File) or resource id (Group)
    int depth = 0;               // bits per pixel read from the image itself, when known
    bool png = false;            // the image is stored as a PNG
};

// True when the bytes start like an icon file: reserved 0, type 1.
bool IsIconFileHeader(const std::uint8_t* data, std::size_t size);

// Reads the directory; false unless reserved is 0, type is 1, there is at
// least one entry and every entry lies inside the data. For icon files the
// image ranges are checked against the data too.
std::optional<std::vector<IconDirEntry>> ReadIconDirectory(const std::uint8_t* data, std::size_t size,
                                                           IconDirKind kind);

// Fills `depth` and `png` of an entry from the first bytes of its image.
void PeekIconImage(const std::uint8_t* image, std::size_t size, IconDirEntry* entry);

// Of the entries sized as the first one, the one with the greatest stated
// bit count, the earliest on a tie. -1 when there are none.
int ChooseFirstSizeEntry(const std::vector<IconDirEntry>& entries);

// The entry closest to side x side, then deepest, then earliest; PNG
// entries are passed over when `allowPng` is false. -1 when none qualifies.
int ChooseNearestEntry(const std::vector<IconDirEntry>& entries, int side, bool allowPng);

}  // namespace vb::images
