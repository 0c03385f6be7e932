// Icon directory reading and image choice.
#include "images/readers/icon_directory.h"

#include <cstdlib>

#include "images/readers/byte_reader.h"
#include "images/readers/dib_reader.h"

namespace vb::images {

bool IsIconFileHeader(const std::uint8_t* data, std::size_t size) {
    return data && size >= 4 && bytes::u16(data) == 0 && bytes::u16(data + 2) == 1;
}

std::optional<std::vector<IconDirEntry>> ReadIconDirectory(const std::uint8_t* data, std::size_t size,
                                                           IconDirKind kind) {
    using namespace bytes;
    if (!IsIconFileHeader(data, size) || size < 6) return std::nullopt;
    const unsigned count = u16(data + 4);
    const std::size_t entrySize = kind == IconDirKind::File ? 16 : 14;
    if (count == 0 || !fits(6, std::uint64_t{count} * entrySize, size)) return std::nullopt;

    std::vector<IconDirEntry> entries;
    entries.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* p = data + 6 + i * entrySize;
        IconDirEntry e;
        e.width = p[0] ? p[0] : 256;
        e.height = p[1] ? p[1] : 256;
        e.bitCount = u16(p + 6);
        e.depth = e.bitCount;
        e.bytes = u32(p + 8);
        e.location = kind == IconDirKind::File ? u32(p + 12) : u16(p + 12);
        if (kind == IconDirKind::File) {
            if (!fits(e.location, e.bytes, size)) return std::nullopt;
            PeekIconImage(data + e.location, e.bytes, &e);
        }
        entries.push_back(e);
    }
    return entries;
}

void PeekIconImage(const std::uint8_t* image, std::size_t size, IconDirEntry* entry) {
    if (!image || !entry) return;
    if (IsPngData(image, size)) {
        entry->png = true;
        entry->depth = 32;
    } else if (size >= 16 && bytes::u32(image) >= 40) {
        entry->depth = bytes::u16(image + 14);
    }
}

int ChooseFirstSizeEntry(const std::vector<IconDirEntry>& entries) {
    int best = -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconDirEntry& e = entries[i];
        if (e.width != entries[0].width || e.height != entries[0].height) continue;
        if (best < 0 || e.bitCount > entries[best].bitCount) best = static_cast<int>(i);
    }
    return best;
}

int ChooseNearestEntry(const std::vector<IconDirEntry>& entries, int side, bool allowPng) {
    int best = -1;
    int bestDistance = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconDirEntry& e = entries[i];
        if (e.png && !allowPng) continue;
        int distance = std::abs(e.width - side) + std::abs(e.height - side);
        if (best < 0 || distance < bestDistance ||
            (distance == bestDistance && e.depth > entries[best].depth)) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace vb::images
