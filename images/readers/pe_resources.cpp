// Walks a PE file's resource directory: type -> name -> language.
#include "images/readers/pe_resources.h"

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
bool mapRva(const Image& pe, std::uint32_t rva, std::uint32_t length, Span* out) {
    for (unsigned i = 0; i < pe.sectionCount; ++i) {
        const std::uint8_t* s = pe.file.data + pe.sectionTable + i * 40u;
        std::uint32_t va = u32(s + 12), rawSize = u32(s + 16), rawPointer = u32(s + 20);
        if (rva < va || rva - va >= rawSize) continue;
        std::uint32_t inSection = rva - va;
        if (length > rawSize - inSection) return false;
        std::uint64_t offset = std::uint64_t{rawPointer} + inSection;
        std::uint64_t available = rawSize - inSection;
        if (!fits(offset, length, pe.file.size)) return false;
        if (!fits(offset, available, pe.file.size)) available = pe.file.size - offset;
        out->data = pe.file.data + offset;
        out->size = static_cast<std::size_t>(available);
        return true;
    }
    return false;
}

bool openImage(const std::uint8_t* data, std::size_t size, Image* pe) {
    if (!data || size < 64 || data[0] != 'M' || data[1] != 'Z') return false;
    std::uint32_t peOffset = u32(data + 0x3C);
    if (!fits(peOffset, 24, size)) return false;
    const std::uint8_t* sig = data + peOffset;
    if (sig[0] != 'P' || sig[1] != 'E' || sig[2] != 0 || sig[3] != 0) return false;
    std::uint64_t coff = std::uint64_t{peOffset} + 4;
    unsigned sectionCount = u16(data + coff + 2);
    unsigned optionalSize = u16(data + coff + 16);
    std::uint64_t optional = coff + 20;
    if (!fits(optional, optionalSize, size) || optionalSize < 2) return false;

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
            return false;
    }
    if (optionalSize < directories + 3 * 8 || u32(opt + countAt) < 3) return false;
    std::uint32_t resourceRva = u32(opt + directories + 2 * 8);
    if (resourceRva == 0) return false;

    std::uint64_t sectionTable = optional + optionalSize;
    if (!fits(sectionTable, std::uint64_t{sectionCount} * 40, size)) return false;
    pe->file = {data, size};
    pe->sectionTable = static_cast<std::size_t>(sectionTable);
    pe->sectionCount = sectionCount;
    return mapRva(*pe, resourceRva, 16, &pe->resources);
}

struct DirEntry {
    std::uint32_t name = 0;    // an id, or a string offset with the high bit set
    std::uint32_t target = 0;  // a subdirectory with the high bit set, else a data entry
};

bool readDirectory(const Image& pe, std::uint32_t offset, std::vector<DirEntry>* out) {
    const Span& r = pe.resources;
    if (!fits(offset, 16, r.size)) return false;
    unsigned count = u16(r.data + offset + 12) + u16(r.data + offset + 14);
    if (!fits(std::uint64_t{offset} + 16, std::uint64_t{count} * 8, r.size)) return false;
    out->clear();
    for (unsigned i = 0; i < count; ++i) {
        const std::uint8_t* e = r.data + offset + 16 + i * 8u;
        out->push_back({u32(e), u32(e + 4)});
    }
    return true;
}

// The name level of one resource type, in directory order.
bool typeEntries(const Image& pe, std::uint32_t type, std::vector<DirEntry>* out) {
    std::vector<DirEntry> root;
    if (!readDirectory(pe, 0, &root)) return false;
    for (const DirEntry& e : root) {
        if (e.name == type && (e.target & kHighBit)) return readDirectory(pe, e.target & ~kHighBit, out);
    }
    return false;
}

// The data of a resource: its first language that holds data.
bool resourceData(const Image& pe, const DirEntry& named, Span* out) {
    if (!(named.target & kHighBit)) return false;
    std::vector<DirEntry> languages;
    if (!readDirectory(pe, named.target & ~kHighBit, &languages)) return false;
    for (const DirEntry& language : languages) {
        if (language.target & kHighBit) continue;
        if (!fits(language.target, 16, pe.resources.size)) return false;
        const std::uint8_t* d = pe.resources.data + language.target;
        Span span;
        if (!mapRva(pe, u32(d), u32(d + 4), &span)) return false;
        out->data = span.data;
        out->size = u32(d + 4);
        return true;
    }
    return false;
}

bool findById(const std::vector<DirEntry>& entries, std::uint64_t id, const DirEntry** out) {
    if (id >= kHighBit) return false;
    for (const DirEntry& e : entries) {
        if (e.name == id) {
            *out = &e;
            return true;
        }
    }
    return false;
}

bool chooseImage(const std::uint8_t* data, std::size_t size, long long index, int side, bool allowPng,
                 Span* chosen) {
    Image pe;
    std::vector<DirEntry> groups, icons;
    if (!openImage(data, size, &pe) || !typeEntries(pe, kRtGroupIcon, &groups)) return false;
    if (!typeEntries(pe, kRtIcon, &icons)) return false;

    const DirEntry* group = nullptr;
    if (index >= 0) {
        if (index >= static_cast<long long>(groups.size())) return false;
        group = &groups[static_cast<std::size_t>(index)];
    } else if (!findById(groups, static_cast<std::uint64_t>(-(index + 1)) + 1, &group)) {
        return false;
    }
    Span groupData;
    if (!resourceData(pe, *group, &groupData)) return false;
    std::optional<std::vector<IconDirEntry>> entries =
        ReadIconDirectory(groupData.data, groupData.size, IconDirKind::Group);
    if (!entries) return false;

    // Only the images that are really there take part in the choice.
    std::vector<IconDirEntry> present;
    std::vector<Span> images;
    for (IconDirEntry e : *entries) {
        const DirEntry* icon = nullptr;
        Span image;
        if (!findById(icons, e.location, &icon) || !resourceData(pe, *icon, &image)) continue;
        PeekIconImage(image.data, image.size, &e);
        present.push_back(e);
        images.push_back(image);
    }
    int best = ChooseNearestEntry(present, side, allowPng);
    if (best < 0) return false;
    *chosen = images[static_cast<std::size_t>(best)];
    return true;
}

}  // namespace

int PeIconGroupCount(const std::uint8_t* data, std::size_t size) {
    Image pe;
    std::vector<DirEntry> groups;
    if (!openImage(data, size, &pe) || !typeEntries(pe, kRtGroupIcon, &groups)) return 0;
    return static_cast<int>(groups.size());
}

std::optional<IconImageBytes> PeIconImage(const std::uint8_t* data, std::size_t size, long long index,
                                          int side, bool allowPng) {
    Span chosen;
    if (!chooseImage(data, size, index, side, allowPng, &chosen)) return std::nullopt;
    return IconImageBytes{chosen.data, chosen.size};
}

}  // namespace vb::images
