// libjpeg leaves on errors through error_exit, which here longjmps. As with
// PNG, each step that can fail has its own jump point in a frame holding only
// trivially destructible values; the picture is allocated between steps.
#include "images/readers/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace vb::images {
namespace {

constexpr int kMaxScans = 1000;                       // progressive files beyond this are abuse
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (level -1) mean damaged data: give up at once. Stray bytes
// between markers are common in harmless files and are let pass.
void onMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code != JWRN_EXTRANEOUS_DATA) leave(info);
}

void silent(j_common_ptr) {}

void countScans(j_common_ptr info) {
    auto* d = reinterpret_cast<j_decompress_ptr>(info);
    if (d->input_scan_number > kMaxScans) leave(info);
}

bool readHeader(j_decompress_ptr d, ErrorManager* err, const std::uint8_t* data,
                std::size_t size, bool* cmyk) {
    if (setjmp(err->jump)) return false;
    jpeg_mem_src(d, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(d, TRUE) != JPEG_HEADER_OK) return false;
    if (d->image_width < 1 || d->image_height < 1 ||
        d->image_width > static_cast<JDIMENSION>(render::kMaxPictureSide) ||
        d->image_height > static_cast<JDIMENSION>(render::kMaxPictureSide))
        return false;
    *cmyk = d->jpeg_color_space == JCS_CMYK || d->jpeg_color_space == JCS_YCCK;
    d->out_color_space = *cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_start_decompress(d);
    return d->output_components == 4 && d->output_width == d->image_width &&
           d->output_height == d->image_height;
}

bool readRows(j_decompress_ptr d, ErrorManager* err, std::uint32_t* pixels) {
    if (setjmp(err->jump)) return false;
    while (d->output_scanline < d->output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels + std::size_t{d->output_scanline} * d->output_width);
        if (jpeg_read_scanlines(d, &row, 1) != 1) return false;
    }
    return true;
}

// Adobe writes CMYK inverted (0 = full ink), which is what nearly every
// CMYK JPEG in the wild is.
std::uint32_t fromCmyk(const std::uint8_t* p, bool inverted) {
    unsigned c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    return render::rgba(c * k / 255, m * k / 255, y * k / 255);
}

struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    jpeg_progress_mgr progress{};
    bool created = false;
    ~Decompressor() {
        if (created) jpeg_destroy_decompress(&info);
    }
};

bool create(Decompressor* j) {
    j->info.err = jpeg_std_error(&j->err.pub);
    j->err.pub.error_exit = leave;
    j->err.pub.emit_message = onMessage;
    j->err.pub.output_message = silent;
    if (setjmp(j->err.jump)) return false;
    jpeg_create_decompress(&j->info);
    j->created = true;
    j->info.mem->max_memory_to_use = kMaxDecoderMemory;
    j->progress.progress_monitor = countScans;
    j->info.progress = &j->progress;
    return true;
}

}  // namespace

std::optional<render::Picture> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
    Decompressor j;
    bool cmyk = false;
    if (!create(&j) || !readHeader(&j.info, &j.err, data, size, &cmyk)) return std::nullopt;
    std::optional<render::Picture> picture = render::makePicture(
        static_cast<int>(j.info.output_width), static_cast<int>(j.info.output_height), false);
    if (!picture || !readRows(&j.info, &j.err, picture->pixels.data())) return std::nullopt;

    const bool inverted = j.info.saw_Adobe_marker;
    for (std::uint32_t& p : picture->pixels) {
        const auto* b = reinterpret_cast<const std::uint8_t*>(&p);
        p = cmyk ? fromCmyk(b, inverted) : render::rgba(b[0], b[1], b[2]);
    }
    return picture;
}

}  // namespace vb::images
