// PNG files of pictures through libpng.
#include "render/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "render/raster.h"

namespace vb::render {

namespace {

struct FileCloser {
    std::FILE* file = nullptr;
    ~FileCloser() {
        if (file) std::fclose(file);
    }
};

void packRow(const pixels::Picture& picture, int y, std::uint8_t* row) {
    int channels = picture.hasAlpha ? 4 : 3;
    for (int x = 0; x < picture.width; ++x) {
        std::uint32_t p = picture.at(x, y);
        std::uint8_t* out = row + static_cast<std::size_t>(x) * channels;
        out[0] = pixels::red(p);
        out[1] = pixels::green(p);
        out[2] = pixels::blue(p);
        if (channels == 4) out[3] = pixels::alpha(p);
    }
}

// libpng reports errors by longjmp: everything that owns memory lives in the
// caller, and only plain values are alive here.
bool encode(std::FILE* file, const pixels::Picture& picture, std::uint8_t* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 8, picture.hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        packRow(picture, y, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const pixels::Picture& picture, const char* path) {
    if (!path || !IsWellFormed(picture)) return false;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 4);
    FileCloser out{std::fopen(path, "wb")};
    bool written = out.file && encode(out.file, picture, row.data());
    if (out.file && std::fclose(out.file) != 0) written = false;
    out.file = nullptr;
    return written;
}

}  // namespace vb::render
