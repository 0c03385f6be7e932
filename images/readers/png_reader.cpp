// libpng leaves on errors by longjmp. Each step that can fail sets its own
// jump point in a frame holding only trivially destructible values, so the
// jump never skips a destructor; the picture is allocated between steps.
#include "images/readers/png_reader.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>

namespace vb::images {
namespace {

struct Source {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

void readFromSource(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (count > source->size - source->pos) png_error(png, "truncated");
    std::memcpy(out, source->data + source->pos, count);
    source->pos += count;
}

[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

struct Header {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
    int passes = 1;
};

// Reads the header and asks for 8-bit RGBA rows (filler 0 when no alpha).
bool readHeader(png_structp png, png_infop info, Header* header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->alpha = (type & PNG_COLOR_MASK_ALPHA) || transparency;

    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (transparency) png_set_tRNS_to_alpha(png);
    if (depth == 16) png_set_scale_16(png);
    if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    if (!header->alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    header->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == static_cast<png_size_t>(header->width) * 4;
}

// Rows arrive as 8-bit RGBA bytes, which are the packed colours on a
// little-endian machine.
void toPacked(std::uint32_t* row, png_uint_32 width) {
    if constexpr (std::endian::native != std::endian::little) {
        for (png_uint_32 x = 0; x < width; ++x) {
            const auto* b = reinterpret_cast<const std::uint8_t*>(&row[x]);
            row[x] = pixels::rgba(b[0], b[1], b[2], b[3]);
        }
    }
}

// A plain image streams through one row buffer.
bool streamRows(png_structp png, const Header* header, std::uint32_t* row, RowSink* sink) {
    if (setjmp(png_jmpbuf(png))) return false;
    for (png_uint_32 y = 0; y < header->height; ++y) {
        png_read_row(png, reinterpret_cast<png_bytep>(row), nullptr);
        toPacked(row, header->width);
        sink->Row(static_cast<int>(y), row);
    }
    return true;
}

// An interlaced image needs every row at once: each pass reads each row
// into its final place and libpng merges the passes.
bool readInterlaced(png_structp png, const Header* header, std::uint32_t* pixels) {
    if (setjmp(png_jmpbuf(png))) return false;
    for (int pass = 0; pass < header->passes; ++pass)
        for (png_uint_32 y = 0; y < header->height; ++y)
            png_read_row(png, reinterpret_cast<png_bytep>(pixels + std::size_t{y} * header->width), nullptr);
    return true;
}

struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadStructs() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

}  // namespace

bool DecodePngInto(const std::uint8_t* data, std::size_t size, RowSink* sink) {
    if (!data || !sink || size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
    ReadStructs s;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!s.png) return false;
    s.info = png_create_info_struct(s.png);
    if (!s.info) return false;

    Source source{data, size, 0};
    png_set_read_fn(s.png, &source, readFromSource);
    png_set_user_limits(s.png, pixels::kMaxPictureSide, pixels::kMaxPictureSide);
    png_set_chunk_malloc_max(s.png, 8u << 20);
    png_set_chunk_cache_max(s.png, 256);

    Header header;
    if (!readHeader(s.png, s.info, &header)) return false;
    const int width = static_cast<int>(header.width), height = static_cast<int>(header.height);
    if (!sink->Begin(width, height, header.alpha)) return false;
    if (header.passes == 1) {
        std::optional<pixels::Picture> row = pixels::makePicture(width, 1, header.alpha);
        return row && streamRows(s.png, &header, row->pixels.data(), sink);
    }
    // Held whole, so held to the limit of what one image may take.
    if (static_cast<long long>(width) * height > kMaxHeldPixels) return false;
    std::optional<pixels::Picture> whole = pixels::makePicture(width, height, header.alpha);
    if (!whole || !readInterlaced(s.png, &header, whole->pixels.data())) return false;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = &whole->pixels[static_cast<std::size_t>(y) * width];
        toPacked(row, header.width);
        sink->Row(y, row);
    }
    return true;
}

std::optional<pixels::Picture> DecodePng(const std::uint8_t* data, std::size_t size) {
    return DecodeWhole(DecodePngInto, data, size);
}

}  // namespace vb::images
