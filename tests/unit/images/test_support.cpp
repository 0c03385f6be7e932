#include "test_support.h"

#include <jpeglib.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>

namespace vb::test {

void put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

namespace {

void set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

void set16(Bytes& b, std::size_t at, unsigned v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}

void padTo(Bytes& b, std::size_t size) {
    if (b.size() < size) b.resize(size, 0);
}

std::size_t strideOf(int width, int bitCount) {
    return (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
}

void putPalette(Bytes& b, const std::vector<std::uint32_t>& palette, bool threeBytes) {
    for (std::uint32_t c : palette) {
        b.push_back(c & 0xFF);          // blue
        b.push_back((c >> 8) & 0xFF);   // green
        b.push_back((c >> 16) & 0xFF);  // red
        if (!threeBytes) b.push_back(0);
    }
}

}  // namespace

TempDir::TempDir() {
    static int serial = 0;
    root_ = std::filesystem::temp_directory_path() /
            ("vb-images-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(root_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string TempDir::path(const std::string& name) const { return (root_ / name).string(); }

std::string TempDir::write(const std::string& name, const Bytes& data) const {
    std::string p = path(name);
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return p;
}

Bytes makeBmp(const BmpLayout& request, const std::vector<Bytes>& rows) {
    const std::size_t stride = strideOf(request.width, request.bitCount);
    Bytes bits;
    for (int i = 0; i < request.height; ++i) {
        const Bytes& row = rows[request.topDown ? i : request.height - 1 - i];
        Bytes padded = row;
        padded.resize(stride, 0);
        bits.insert(bits.end(), padded.begin(), padded.end());
    }
    return makeBmpWithBits(request, bits);
}

Bytes makeBmpWithBits(const BmpLayout& request, const Bytes& bits) {
    const bool fieldsAfterHeader = !request.v5 && (request.compression == 3 || request.compression == 6);
    const std::size_t headerSize = request.coreHeader ? 12 : request.v5 ? 124 : 40;
    const std::size_t masksSize = fieldsAfterHeader ? (request.compression == 3 ? 12 : 16) : 0;
    const std::size_t paletteSize = request.palette.size() * (request.coreHeader ? 3 : 4);
    const std::size_t offset = 14 + headerSize + masksSize + paletteSize;

    Bytes b{'B', 'M'};
    put32(b, 0);  // file size, set below
    put32(b, 0);
    put32(b, static_cast<std::uint32_t>(offset));
    put32(b, static_cast<std::uint32_t>(headerSize));
    if (request.coreHeader) {
        put16(b, request.width);
        put16(b, request.height);
        put16(b, 1);
        put16(b, request.bitCount);
    } else {
        put32(b, request.width);
        put32(b, request.topDown ? -request.height : request.height);
        put16(b, 1);
        put16(b, request.bitCount);
        put32(b, request.compression);
        put32(b, 0);
        put32(b, 2835);
        put32(b, 2835);
        put32(b, request.colorsUsed);
        put32(b, 0);
        if (request.v5) {
            for (std::uint32_t m : request.masks) put32(b, m);
            padTo(b, 14 + headerSize);
        }
    }
    for (std::size_t i = 0; i < masksSize / 4; ++i) put32(b, request.masks[i]);
    putPalette(b, request.palette, request.coreHeader);
    b.insert(b.end(), bits.begin(), bits.end());
    set32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

Bytes makeIconDib(int width, int height, int bitCount, const std::vector<Bytes>& rows,
                  const std::vector<std::vector<int>>& mask, const std::vector<std::uint32_t>& palette) {
    Bytes b;
    put32(b, 40);
    put32(b, width);
    put32(b, height * 2);
    put16(b, 1);
    put16(b, bitCount);
    for (int i = 0; i < 4; ++i) put32(b, 0);
    put32(b, static_cast<std::uint32_t>(palette.size()));  // colours used
    put32(b, 0);
    putPalette(b, palette, false);
    const std::size_t stride = strideOf(width, bitCount);
    for (int y = height - 1; y >= 0; --y) {
        Bytes padded = rows[y];
        padded.resize(stride, 0);
        b.insert(b.end(), padded.begin(), padded.end());
    }
    const std::size_t maskStride = strideOf(width, 1);
    for (int y = height - 1; y >= 0; --y) {
        Bytes bits(maskStride, 0);
        for (int x = 0; x < width; ++x)
            if (mask[y][x]) bits[x >> 3] |= 0x80 >> (x & 7);
        b.insert(b.end(), bits.begin(), bits.end());
    }
    return b;
}

Bytes solidIconDib(int side, int bitCount, std::uint32_t rgb) {
    std::vector<Bytes> rows(side);
    std::vector<std::vector<int>> mask(side, std::vector<int>(side, 0));
    std::vector<std::uint32_t> palette;
    for (Bytes& row : rows) {
        for (int x = 0; x < side; ++x) {
            if (bitCount == 32) {
                row.insert(row.end(),
                           {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16), 255});
            } else if (bitCount == 24) {
                row.insert(row.end(), {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16)});
            } else if (bitCount == 8) {
                row.push_back(1);
            } else if (bitCount == 4 && x % 2 == 0) {
                row.push_back(0x11);
            }
        }
    }
    if (bitCount <= 8) palette = {0x000000, rgb};
    return makeIconDib(side, side, bitCount, rows, mask, palette);
}

Bytes makeIconFile(const std::vector<IconEntry>& entries) {
    Bytes b;
    put16(b, 0);
    put16(b, 1);
    put16(b, static_cast<unsigned>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (const IconEntry& e : entries) {
        b.push_back(e.width & 0xFF);
        b.push_back(e.height & 0xFF);
        b.push_back(0);
        b.push_back(0);
        put16(b, 1);
        put16(b, e.bitCount);
        put32(b, static_cast<std::uint32_t>(e.image.size()));
        put32(b, offset);
        offset += static_cast<std::uint32_t>(e.image.size());
    }
    for (const IconEntry& e : entries) b.insert(b.end(), e.image.begin(), e.image.end());
    return b;
}

namespace {

void appendToBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

}  // namespace

Bytes makePng(int width, int height, int colorType, int bitDepth, const std::vector<Bytes>& rows,
              bool interlaced, const std::vector<std::uint32_t>& palette, const Bytes& paletteAlpha) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png write failed");
    }
    png_set_write_fn(png, &out, appendToBytes, noFlush);
    png_set_IHDR(png, info, width, height, bitDepth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> entries;
    for (std::uint32_t c : palette) entries.push_back({png_byte(c >> 16), png_byte(c >> 8), png_byte(c)});
    if (!entries.empty()) png_set_PLTE(png, info, entries.data(), static_cast<int>(entries.size()));
    if (!paletteAlpha.empty())
        png_set_tRNS(png, info, paletteAlpha.data(), static_cast<int>(paletteAlpha.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const Bytes& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes makeRgbaPng(int width, int height, const std::vector<std::uint32_t>& pixels) {
    std::vector<Bytes> rows(height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            rows[y].insert(rows[y].end(), {std::uint8_t(p), std::uint8_t(p >> 8), std::uint8_t(p >> 16),
                                           std::uint8_t(p >> 24)});
        }
    return makePng(width, height, PNG_COLOR_TYPE_RGBA, 8, rows);
}

Bytes makeJpeg(int width, int height, int components, const Bytes& samples, int quality) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = width;
    c.image_height = height;
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(samples.data() + std::size_t{c.next_scanline} * width * components);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Layout: headers in the first 0x400 bytes; one section ".rsrc" at RVA
// 0x1000, file offset 0x400, holding the resource tree and the data.
Bytes makePe(bool pe32plus, const std::vector<PeGroup>& groups, const std::vector<PeIcon>& icons) {
    constexpr std::uint32_t kSectionRva = 0x1000, kSectionFile = 0x400;

    // Resource tree: root -> {3: icons, 14: groups} -> name -> language 0 -> data.
    struct Leaf {
        std::uint32_t nameField;
        Bytes data;
    };
    std::vector<Leaf> iconLeaves, groupLeaves;
    for (const PeIcon& icon : icons) iconLeaves.push_back({icon.id, icon.image});
    Bytes strings;
    std::vector<std::size_t> stringAt;
    for (const PeGroup& g : groups) {
        Bytes dir;
        put16(dir, 0);
        put16(dir, 1);
        put16(dir, static_cast<unsigned>(g.entries.size()));
        for (std::size_t i = 0; i < g.entries.size(); ++i) {
            const IconEntry& e = g.entries[i];
            dir.insert(dir.end(), {std::uint8_t(e.width), std::uint8_t(e.height), 0, 0});
            put16(dir, 1);
            put16(dir, e.bitCount);
            std::uint32_t bytes = 0;
            for (const PeIcon& icon : icons)
                if (icon.id == g.iconIds[i]) bytes = static_cast<std::uint32_t>(icon.image.size());
            put32(dir, bytes);
            put16(dir, g.iconIds[i]);
        }
        groupLeaves.push_back({g.id, dir});
    }

    // Sizes: root (16 + 2*8), two type dirs, per leaf a language dir (16 + 8)
    // and a data entry (16).
    auto typeDirSize = [](std::size_t n) { return 16 + 8 * n; };
    const std::size_t rootSize = 16 + 2 * 8;
    const std::size_t iconTypeAt = rootSize;
    const std::size_t groupTypeAt = iconTypeAt + typeDirSize(iconLeaves.size());
    std::size_t cursor = groupTypeAt + typeDirSize(groupLeaves.size());
    const std::size_t languagesAt = cursor;
    const std::size_t leafCount = iconLeaves.size() + groupLeaves.size();
    const std::size_t dataEntriesAt = languagesAt + 24 * leafCount;
    const std::size_t stringsAt = dataEntriesAt + 16 * leafCount;
    for (const PeGroup& g : groups) {
        stringAt.push_back(stringsAt + strings.size());
        if (g.name.empty()) continue;
        put16(strings, static_cast<unsigned>(g.name.size()));
        for (char16_t ch : g.name) put16(strings, ch);
    }
    std::size_t dataAt = (stringsAt + strings.size() + 7) / 8 * 8;

    Bytes r(dataAt, 0);
    auto writeDir = [&](std::size_t at, unsigned named, unsigned ids) {
        set16(r, at + 12, named);
        set16(r, at + 14, ids);
    };
    writeDir(0, 0, 2);
    set32(r, 16, 3);
    set32(r, 20, 0x80000000u | static_cast<std::uint32_t>(iconTypeAt));
    set32(r, 24, 14);
    set32(r, 28, 0x80000000u | static_cast<std::uint32_t>(groupTypeAt));

    std::size_t leafIndex = 0;
    auto writeLeaves = [&](std::size_t typeAt, const std::vector<Leaf>& leaves, bool groupsLevel) {
        unsigned named = 0;
        if (groupsLevel)
            for (const PeGroup& g : groups) named += g.name.empty() ? 0 : 1;
        writeDir(typeAt, named, static_cast<unsigned>(leaves.size()) - named);
        // Named entries first, as the format requires, then ids.
        std::vector<std::size_t> order;
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t i = 0; i < leaves.size(); ++i) {
                bool isNamed = groupsLevel && !groups[i].name.empty();
                if (isNamed == (pass == 0)) order.push_back(i);
            }
        for (std::size_t slot = 0; slot < order.size(); ++slot, ++leafIndex) {
            std::size_t i = order[slot];
            std::size_t entryAt = typeAt + 16 + 8 * slot;
            std::size_t languageAt = languagesAt + 24 * leafIndex;
            std::size_t dataEntryAt = dataEntriesAt + 16 * leafIndex;
            bool isNamed = groupsLevel && !groups[i].name.empty();
            set32(r, entryAt,
                  isNamed ? 0x80000000u | static_cast<std::uint32_t>(stringAt[i]) : leaves[i].nameField);
            set32(r, entryAt + 4, 0x80000000u | static_cast<std::uint32_t>(languageAt));
            writeDir(languageAt, 0, 1);
            set32(r, languageAt + 16, 1033);
            set32(r, languageAt + 20, static_cast<std::uint32_t>(dataEntryAt));
            set32(r, dataEntryAt, kSectionRva + static_cast<std::uint32_t>(r.size()));
            set32(r, dataEntryAt + 4, static_cast<std::uint32_t>(leaves[i].data.size()));
            r.insert(r.end(), leaves[i].data.begin(), leaves[i].data.end());
            while (r.size() % 8) r.push_back(0);
        }
    };
    writeLeaves(iconTypeAt, iconLeaves, false);
    writeLeaves(groupTypeAt, groupLeaves, true);
    std::copy(strings.begin(), strings.end(), r.begin() + stringsAt);

    Bytes b(0x40, 0);
    b[0] = 'M', b[1] = 'Z';
    set32(b, 0x3C, 0x40);
    b.insert(b.end(), {'P', 'E', 0, 0});
    put16(b, pe32plus ? 0x8664 : 0x14C);
    put16(b, 1);  // one section
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    const std::size_t optionalSize = pe32plus ? 240 : 224;
    put16(b, static_cast<unsigned>(optionalSize));
    put16(b, 0x22);
    const std::size_t optional = b.size();
    b.resize(optional + optionalSize, 0);
    set16(b, optional, pe32plus ? 0x20B : 0x10B);
    const std::size_t countAt = optional + (pe32plus ? 108 : 92);
    set32(b, countAt, 16);
    const std::size_t resourceDir = countAt + 4 + 2 * 8;
    set32(b, resourceDir, kSectionRva);
    set32(b, resourceDir + 4, static_cast<std::uint32_t>(r.size()));
    Bytes section(40, 0);
    std::memcpy(section.data(), ".rsrc", 5);
    set32(section, 8, static_cast<std::uint32_t>(r.size()));
    set32(section, 12, kSectionRva);
    set32(section, 16, static_cast<std::uint32_t>(r.size()));
    set32(section, 20, kSectionFile);
    b.insert(b.end(), section.begin(), section.end());
    padTo(b, kSectionFile);
    b.insert(b.end(), r.begin(), r.end());
    return b;
}

// The IHDR of a valid PNG rewritten to claim another size, its CRC fixed.
Bytes claimPngSize(Bytes png, std::uint32_t width, std::uint32_t height) {
    auto put = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) png[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    put(16, width);
    put(20, height);
    put(29, static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17)));
    return png;
}

// The first SOF marker's frame size rewritten.
Bytes claimJpegFrame(Bytes jpeg, std::uint16_t width, std::uint16_t height) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = height >> 8, jpeg[i + 6] = height & 0xFF;
            jpeg[i + 7] = width >> 8, jpeg[i + 8] = width & 0xFF;
            break;
        }
    return jpeg;
}

}  // namespace vb::test
