// Walks a PE file's resource directory: type -> name -> language.
#include "images/readers/pe_resources.h"

#include <optional>
#include <vector>

#include "images/readers/byte_reader.h"
#include "images/readers/icon_directory.h"

namespace vb::images {
namespace {

using bytes::fits;
using bytes::u16;
using bytes::u32;

constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupIcon = 14;
constexpr std::uint32_t kHighBit = 0x80000000u;

struct Span {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

struct Image {
    Span file;
    std::size_t sectionTable = 0;
    unsigned sectionCount = 0;
    Span resources;  // from the root directory to the end of its section's raw data
};

// File bytes for `length` bytes at `rva`, when a section holds them.
std::optional<Span> mapRva(const Image& pe, std::uint32_t rva, std::uint32_t length) {
    for (unsigned i = 0; i < pe.sectionCount; ++i) {
        const std::uint8_t* s = pe.file.data + pe.sectionTable + i * 40u;
        std::uint32_t va = u32(s + 12), rawSize = u32(s + 16), rawPointer = u32(s + 20);
        if (rva < va || rva - va >= rawSize) continue;
        std::uint32_t inSection = rva - va;
        if (length > rawSize - inSection) return std::nullopt;
        std::uint64_t offset = std::uint64_t{rawPointer} + inSection;
        std::uint64_t available = rawSize - inSection;
        if (!fits(offset, length, pe.file.size)) return std::nullopt;
        if (!fits(offset, available, pe.file.size)) available = pe.file.size - offset;
        return Span{pe.file.data + offset, static_cast<std::size_t>(available)};
    }
    return std::nullopt;
}

std::optional<Image> openImage(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 64 || data[0] != 'M' || data[1] != 'Z') return std::nullopt;
    std::uint32_t peOffset = u32(data + 0x3C);
    if (!fits(peOffset, 24, size)) return std::nullopt;
    const std::uint8_t* sig = data + peOffset;
    if (sig[0] != 'P' || sig[1] != 'E' || sig[2] != 0 || sig[3] != 0) return std::nullopt;
    std::uint64_t coff = std::uint64_t{peOffset} + 4;
    unsigned sectionCount = u16(data + coff + 2);
    unsigned optionalSize = u16(data + coff + 16);
    std::uint64_t optional = coff + 20;
    if (!fits(optional, optionalSize, size) || optionalSize < 2) return std::nullopt;

    const std::uint8_t* opt = data + optional;
    std::uint32_t directories = 0, countAt = 0;
    switch (u16(opt)) {
        case 0x10B:
            countAt = 92, directories = 96;
            break;  // PE32
        case 0x20B:
            countAt = 108, directories = 112;
            break;  // PE32+
        default:
            return std::nullopt;
    }
    if (optionalSize < directories + 3 * 8 || u32(opt + countAt) < 3) return std::nullopt;
    std::uint32_t resourceRva = u32(opt + directories + 2 * 8);
    if (resourceRva == 0) return std::nullopt;

    std::uint64_t sectionTable = optional + optionalSize;
    if (!fits(sectionTable, std::uint64_t{sectionCount} * 40, size)) return std::nullopt;
    Image pe;
    pe.file = {data, size};
    pe.sectionTable = static_cast<std::size_t>(sectionTable);
    pe.sectionCount = sectionCount;
    std::optional<Span> resources = mapRva(pe, resourceRva, 16);
    if (!resources) return std::nullopt;
    pe.resources = *resources;
    return pe;
}

struct DirEntry {
    std::uint32_t name = 0;    // an id, or a string offset with the high bit set
    std::uint32_t target = 0;  // a subdirectory with the high bit set, else a data entry
};

std::optional<std::vector<DirEntry>> readDirectory(const Image& pe, std::uint32_t offset) {
    const Span& r = pe.resources;
    if (!fits(offset, 16, r.size)) return std::nullopt;
    unsigned count = u16(r.data + offset + 12) + u16(r.data + offset + 14);
    if (!fits(std::uint64_t{offset} + 16, std::uint64_t{count} * 8, r.size)) return std::nullopt;
    std::vector<DirEntry> entries;
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* e = r.data + offset + 16 + i * 8u;
        entries.push_back({u32(e), u32(e + 4)});
    }
    return entries;
}

// The name level of one resource type, in directory order.
std::optional<std::vector<DirEntry>> typeEntries(const Image& pe, std::uint32_t type) {
    std::optional<std::vector<DirEntry>> root = readDirectory(pe, 0);
    if (!root) return std::nullopt;
    for (const DirEntry& e : *root) {
        if (e.name == type && (e.target & kHighBit)) return readDirectory(pe, e.target & ~kHighBit);
    }
    return std::nullopt;
}

// The data of a resource: its first language that holds data.
std::optional<Span> resourceData(const Image& pe, const DirEntry& named) {
    if (!(named.target & kHighBit)) return std::nullopt;
    std::optional<std::vector<DirEntry>> languages = readDirectory(pe, named.target & ~kHighBit);
    if (!languages) return std::nullopt;
    for (const DirEntry& language : *languages) {
        if (language.target & kHighBit) continue;
        if (!fits(language.target, 16, pe.resources.size)) return std::nullopt;
        const std::uint8_t* d = pe.resources.data + language.target;
        std::optional<Span> span = mapRva(pe, u32(d), u32(d + 4));
        if (!span) return std::nullopt;
        return Span{span->data, u32(d + 4)};
    }
    return std::nullopt;
}

// The entry named `id`, or null.
const DirEntry* findById(const std::vector<DirEntry>& entries, std::uint64_t id) {
    if (id >= kHighBit) return nullptr;
    for (const DirEntry& e : entries)
        if (e.name == id) return &e;
    return nullptr;
}

std::optional<Span> chooseImage(const std::uint8_t* data, std::size_t size, long long index, int side,
                                bool allowPng) {
    std::optional<Image> pe = openImage(data, size);
    if (!pe) return std::nullopt;
    std::optional<std::vector<DirEntry>> groups = typeEntries(*pe, kRtGroupIcon);
    if (!groups) return std::nullopt;
    std::optional<std::vector<DirEntry>> icons = typeEntries(*pe, kRtIcon);
    if (!icons) return std::nullopt;

    const DirEntry* group = nullptr;
    if (index >= 0) {
        if (index >= static_cast<long long>(groups->size())) return std::nullopt;
        group = &(*groups)[static_cast<std::size_t>(index)];
    } else {
        group = findById(*groups, static_cast<std::uint64_t>(-(index + 1)) + 1);
        if (!group) return std::nullopt;
    }
    std::optional<Span> groupData = resourceData(*pe, *group);
    if (!groupData) return std::nullopt;
    std::optional<std::vector<IconDirEntry>> entries =
        ReadIconDirectory(groupData->data, groupData->size, IconDirKind::Group);
    if (!entries) return std::nullopt;

    // Only the images that are really there take part in the choice.
    std::vector<IconDirEntry> present;
    std::vector<Span> images;
    for (IconDirEntry e : *entries) {
        const DirEntry* icon = findById(*icons, e.location);
        std::optional<Span> image = icon ? resourceData(*pe, *icon) : std::nullopt;
        if (!image) continue;
        PeekIconImage(image->data, image->size, &e);
        present.push_back(e);
        images.push_back(*image);
    }
    int best = ChooseNearestEntry(present, side, allowPng);
    if (best < 0) return std::nullopt;
    return images[static_cast<std::size_t>(best)];
}

}  // namespace

int PeIconGroupCount(const std::uint8_t* data, std::size_t size) {
    std::optional<Image> pe = openImage(data, size);
    std::optional<std::vector<DirEntry>> groups = pe ? typeEntries(*pe, kRtGroupIcon) : std::nullopt;
    return groups ? static_cast<int>(groups->size()) : 0;
}

std::optional<IconImageBytes> PeIconImage(const std::uint8_t* data, std::size_t size, long long index,
                                          int side, bool allowPng) {
    std::optional<Span> chosen = chooseImage(data, size, index, side, allowPng);
    if (!chosen) return std::nullopt;
    return IconImageBytes{chosen->data, chosen->size};
}

}  // namespace vb::images
