// libjpeg leaves on errors through error_exit, which here longjmps. As with
// PNG, each step that can fail has its own jump point in a frame holding only
// trivially destructible values; the picture is allocated between steps.
#include "images/readers/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace vb::images {
namespace {

constexpr int kMaxScans = 1000;  // progressive files beyond this are abuse
// libjpeg's own buffers: a progressive image keeps its coefficients whole.
constexpr long kMaxDecoderMemory = 64L * 1024 * 1024;

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

bool readHeader(j_decompress_ptr d, ErrorManager* err, const std::uint8_t* data, std::size_t size,
                bool* cmyk) {
    if (setjmp(err->jump)) return false;
    jpeg_mem_src(d, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(d, TRUE) != JPEG_HEADER_OK) return false;
    if (d->image_width < 1 || d->image_height < 1 ||
        d->image_width > static_cast<JDIMENSION>(pixels::kMaxPictureSide) ||
        d->image_height > static_cast<JDIMENSION>(pixels::kMaxPictureSide))
        return false;
    *cmyk = d->jpeg_color_space == JCS_CMYK || d->jpeg_color_space == JCS_YCCK;
    d->out_color_space = *cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_start_decompress(d);
    return d->output_components == 4 && d->output_width == d->image_width &&
           d->output_height == d->image_height;
}

// Adobe writes CMYK inverted (0 = full ink), which is what nearly every
// CMYK JPEG in the wild is.
std::uint32_t fromCmyk(const std::uint8_t* p, bool inverted) {
    unsigned c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    return pixels::rgba(c * k / 255, m * k / 255, y * k / 255);
}

// Each row is read into one buffer, turned into packed colours in place and
// handed on.
bool streamRows(j_decompress_ptr d, ErrorManager* err, bool cmyk, std::uint32_t* row, RowSink* sink) {
    if (setjmp(err->jump)) return false;
    const bool inverted = d->saw_Adobe_marker;
    while (d->output_scanline < d->output_height) {
        const int y = static_cast<int>(d->output_scanline);
        JSAMPROW samples = reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(d, &samples, 1) != 1) return false;
        for (JDIMENSION x = 0; x < d->output_width; ++x) {
            const auto* b = reinterpret_cast<const std::uint8_t*>(&row[x]);
            row[x] = cmyk ? fromCmyk(b, inverted) : pixels::rgba(b[0], b[1], b[2]);
        }
        sink->Row(y, row);
    }
    return true;
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

bool DecodeJpegInto(const std::uint8_t* data, std::size_t size, RowSink* sink) {
    if (!data || !sink || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return false;
    Decompressor j;
    bool cmyk = false;
    if (!create(&j) || !readHeader(&j.info, &j.err, data, size, &cmyk)) return false;
    const int width = static_cast<int>(j.info.output_width), height = static_cast<int>(j.info.output_height);
    if (!sink->Begin(width, height, false)) return false;
    std::optional<pixels::Picture> row = pixels::makePicture(width, 1, false);
    return row && streamRows(&j.info, &j.err, cmyk, row->pixels.data(), sink);
}

std::optional<pixels::Picture> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    return DecodeWhole(DecodeJpegInto, data, size);
}

}  // namespace vb::images
