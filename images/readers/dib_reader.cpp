// DIB decoding for bitmap files and icon images.
#include "images/readers/dib_reader.h"

#include <algorithm>
#include <cstring>

#include "images/readers/byte_reader.h"
#include "images/readers/row_sink.h"

namespace vb::images {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// One colour channel described by a bit mask.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;
};

Channel channelOf(std::uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    while (((mask >> c.shift) & 1u) == 0) ++c.shift;
    c.max = mask >> c.shift;
    return c;
}

// Scales a masked field to 0..255, rounding to nearest; 8-bit fields pass
// through unchanged.
std::uint32_t channelValue(const Channel& c, std::uint32_t v) {
    if (c.mask == 0) return 0;
    std::uint64_t x = (v & c.mask) >> c.shift;  // never above c.max
    if (c.max == 255) return static_cast<std::uint32_t>(x);
    return static_cast<std::uint32_t>((x * 255 + c.max / 2) / c.max);
}

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    Channel red, green, blue, alpha;
    const std::uint8_t* table = nullptr;
    std::uint32_t tableUsed = 0;  // entries we may look up
    int entrySize = 4;
    const std::uint8_t* bits = nullptr;
    std::size_t bitsBytes = 0;
    std::uint32_t compression = kBiRgb;
};

bool validBitCount(int bc) { return bc == 1 || bc == 4 || bc == 8 || bc == 16 || bc == 24 || bc == 32; }

std::optional<Layout> readLayout(const DibSource& s) {
    Layout l;
    using namespace bytes;
    const std::uint8_t* h = s.header;
    if (!h || s.headerBytes < 4) return std::nullopt;
    std::uint32_t headerSize = u32(h);
    std::uint32_t compression = kBiRgb;
    std::uint64_t tableEntries = 0;
    std::uint64_t pos = 0;
    std::int64_t storedHeight = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    bool haveMasks = false;

    if (headerSize == 12) {  // the old core header: 16-bit sizes, 3-byte palette
        if (s.headerBytes < 12) return std::nullopt;
        l.width = u16(h + 4);
        storedHeight = u16(h + 6);
        l.bitCount = u16(h + 10);
        l.entrySize = 3;
        pos = 12;
    } else if (headerSize >= 40 && headerSize <= s.headerBytes) {
        l.width = i32(h + 4);
        storedHeight = i32(h + 8);
        l.bitCount = u16(h + 14);
        compression = u32(h + 16);
        tableEntries = u32(h + 32);
        pos = headerSize;
        if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
            haveMasks = true;
            if (headerSize >= 52) {
                for (int i = 0; i < 3; ++i) masks[i] = u32(h + 40 + 4 * i);
                if (headerSize >= 56) masks[3] = u32(h + 52);
            } else {
                int n = compression == kBiBitfields ? 3 : 4;
                if (!fits(pos, 4u * n, s.headerBytes)) return std::nullopt;
                for (int i = 0; i < n; ++i) masks[i] = u32(h + pos + 4 * i);
                pos += 4u * n;
            }
        }
    } else {
        return std::nullopt;
    }

    if (storedHeight < 0) {
        if (s.iconImage || storedHeight == INT32_MIN) return std::nullopt;
        l.topDown = true;
        storedHeight = -storedHeight;
    }
    l.height = static_cast<int>(s.iconImage ? storedHeight / 2 : storedHeight);
    if (l.width < 1 || l.height < 1) return std::nullopt;
    if (l.width > pixels::kMaxPictureSide || l.height > pixels::kMaxPictureSide) return std::nullopt;
    if (!validBitCount(l.bitCount)) return std::nullopt;
    const bool rle =
        (compression == kBiRle8 && l.bitCount == 8) || (compression == kBiRle4 && l.bitCount == 4);
    // Run-length rows are stored bottom-up only, and never in icons.
    if (rle && (l.topDown || s.iconImage)) return std::nullopt;
    if (compression != kBiRgb && !rle && !(haveMasks && (l.bitCount == 16 || l.bitCount == 32)))
        return std::nullopt;
    l.compression = compression;

    if (!haveMasks && l.bitCount == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;  // 5-5-5
    } else if (!haveMasks && l.bitCount == 32) {
        masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF, masks[3] = 0xFF000000;
    }
    l.red = channelOf(masks[0]);
    l.green = channelOf(masks[1]);
    l.blue = channelOf(masks[2]);
    l.alpha = channelOf(masks[3]);

    if (l.bitCount <= 8) {
        std::uint64_t most = 1u << l.bitCount;
        if (tableEntries == 0) tableEntries = most;
        l.tableUsed = static_cast<std::uint32_t>(std::min(tableEntries, most));
        if (!fits(pos, std::uint64_t{l.tableUsed} * l.entrySize, s.headerBytes)) return std::nullopt;
        l.table = h + pos;
    }
    if (s.bits) {
        l.bits = s.bits;
        l.bitsBytes = s.bitsBytes;
    } else {
        std::uint64_t start = pos + tableEntries * l.entrySize;
        if (!fits(start, 0, s.headerBytes)) return std::nullopt;
        l.bits = h + start;
        l.bitsBytes = s.headerBytes - static_cast<std::size_t>(start);
    }
    return l;
}

std::uint32_t paletteColour(const Layout& l, unsigned index) {
    if (index >= l.tableUsed) return 0;  // outside the table reads as black
    const std::uint8_t* e = l.table + static_cast<std::size_t>(index) * l.entrySize;
    return e[2] | (e[1] << 8) | (static_cast<std::uint32_t>(e[0]) << 16);
}

std::uint32_t maskedColour(const Layout& l, std::uint32_t v) {
    return channelValue(l.red, v) | (channelValue(l.green, v) << 8) | (channelValue(l.blue, v) << 16) |
           (channelValue(l.alpha, v) << 24);
}

void decodeRow(const Layout& l, const std::uint8_t* src, std::uint32_t* dst) {
    const int w = l.width;
    switch (l.bitCount) {
        case 1:
            for (int x = 0; x < w; ++x) dst[x] = paletteColour(l, (src[x >> 3] >> (7 - (x & 7))) & 1u);
            break;
        case 4:
            for (int x = 0; x < w; ++x) dst[x] = paletteColour(l, (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15u);
            break;
        case 8:
            for (int x = 0; x < w; ++x) dst[x] = paletteColour(l, src[x]);
            break;
        case 16:
            for (int x = 0; x < w; ++x) dst[x] = maskedColour(l, bytes::u16(src + 2 * x));
            break;
        case 24:
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = src + 3 * x;
                dst[x] = p[2] | (p[1] << 8) | (static_cast<std::uint32_t>(p[0]) << 16);
            }
            break;
        default:
            for (int x = 0; x < w; ++x) dst[x] = maskedColour(l, bytes::u32(src + 4 * x));
            break;
    }
}

// Run-length encoded rows (RLE8 and RLE4) into palette colours, as the
// system's bitmap calls expand them: pixels that runs skip (by a delta, an
// early end of line or of the bitmap) keep palette entry 0, and what would
// land outside the picture is dropped. False for data that ends before the
// end-of-bitmap code.
bool decodeRle(const Layout& l, std::vector<std::uint32_t>* pixels) {
    const bool four = l.compression == kBiRle4;
    const std::uint8_t* p = l.bits;
    const std::uint8_t* end = l.bits + l.bitsBytes;
    std::fill(pixels->begin(), pixels->end(), paletteColour(l, 0));
    long long x = 0, row = 0;  // row counts up from the bottom
    auto put = [&](unsigned index) {
        if (x < l.width && row < l.height)
            (*pixels)[static_cast<std::size_t>(l.height - 1 - row) * l.width + static_cast<std::size_t>(x)] =
                paletteColour(l, index);
        ++x;
    };
    while (end - p >= 2) {
        const unsigned count = p[0], value = p[1];
        p += 2;
        if (count > 0) {  // a run of one index, or of two alternating nibbles
            for (unsigned i = 0; i < count && x < l.width; ++i)
                put(four ? ((i & 1) ? value & 15u : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            return true;
        } else if (value == 2) {  // delta: right and up
            if (end - p < 2) return false;
            x += p[0];
            row += p[1];
            p += 2;
        } else {  // absolute: `value` literal indices, padded to a whole word
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (static_cast<std::size_t>(end - p) < bytes) return false;
            for (unsigned i = 0; i < value; ++i)
                put(four ? ((i & 1) ? p[i / 2] & 15u : p[i / 2] >> 4) : p[i]);
            p += std::min(padded, static_cast<std::size_t>(end - p));
        }
        if (row >= l.height) return true;  // nothing more could be seen
    }
    return false;
}

}  // namespace

std::optional<pixels::Picture> DecodeDib(const DibSource& source) {
    std::optional<Layout> read = readLayout(source);
    if (!read) return std::nullopt;
    const Layout& l = *read;
    // Held whole, so held to what one image may take, however much data
    // backs the claim.
    if (static_cast<long long>(l.width) * l.height > kMaxHeldPixels) return std::nullopt;
    if (l.compression == kBiRle8 || l.compression == kBiRle4) {
        // A run gives at most 255 pixels for two bytes; allowing twice that
        // for skipped areas, a picture far larger than its data could
        // describe is refused before anything is allocated.
        const std::uint64_t area = std::uint64_t(l.width) * l.height;
        if (area > (std::uint64_t(l.bitsBytes) + 2) * 255) return std::nullopt;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(area));
        if (!decodeRle(l, &pixels)) return std::nullopt;
        return pixels::Picture{l.width, l.height, false, std::move(pixels)};
    }
    const std::uint64_t stride =
        (std::uint64_t{static_cast<std::uint32_t>(l.width)} * l.bitCount + 31) / 32 * 4;
    const std::uint64_t maskStride = source.iconImage ? (std::uint64_t(l.width) + 31) / 32 * 4 : 0;
    if ((stride + maskStride) * l.height > l.bitsBytes) return std::nullopt;

    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(l.width) * l.height);
    for (int row = 0; row < l.height; ++row) {
        int y = l.topDown ? row : l.height - 1 - row;
        decodeRow(l, l.bits + row * stride, &pixels[static_cast<std::size_t>(y) * l.width]);
    }

    bool anyAlpha = false;
    if (l.bitCount == 32)
        anyAlpha = std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) != 0; });
    if (source.iconImage && !anyAlpha) {
        // Without alpha of its own an icon is as transparent as its AND mask says.
        const std::uint8_t* mask = l.bits + stride * l.height;
        for (int row = 0; row < l.height; ++row) {
            const std::uint8_t* m = mask + row * maskStride;
            std::uint32_t* dst = &pixels[static_cast<std::size_t>(l.height - 1 - row) * l.width];
            for (int x = 0; x < l.width; ++x) {
                bool transparent = (m[x >> 3] >> (7 - (x & 7))) & 1u;
                dst[x] = (dst[x] & 0x00FFFFFFu) | (transparent ? 0u : 0xFF000000u);
            }
        }
    } else if (!source.iconImage && l.bitCount == 32 && !anyAlpha) {
        // A 32-bit bitmap that never set its alpha means it to be opaque.
        for (std::uint32_t& p : pixels) p |= 0xFF000000u;
    } else if (!source.iconImage && l.bitCount < 32) {
        for (std::uint32_t& p : pixels) p &= 0x00FFFFFFu;
    }

    return pixels::Picture{l.width, l.height, source.iconImage || l.bitCount == 32, std::move(pixels)};
}

std::optional<pixels::Picture> DecodeIconDib(const std::uint8_t* data, std::size_t size) {
    DibSource source;
    source.header = data;
    source.headerBytes = data ? size : 0;
    source.iconImage = true;
    return DecodeDib(source);
}

bool IsPngData(const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return data && size >= 8 && std::memcmp(data, signature, 8) == 0;
}

}  // namespace vb::images
