#include "images/image_file.h"

#include <algorithm>
#include <new>
#include <vector>

#include "images/fit_image.h"
#include "images/readers/bmp_reader.h"
#include "images/readers/ico_reader.h"
#include "images/readers/icon_directory.h"
#include "images/readers/jpeg_reader.h"
#include "images/readers/png_reader.h"
#include "platform/platform.h"

namespace vb::images {

namespace {

// Notes the size a decoder announces and counts the rows it delivers.
class ProbeSink final : public RowSink {
public:
    bool Begin(int width, int height, bool) override {
        if (static_cast<long long>(width) * height > kMaxHeldPixels) return false;
        size_ = pixels::Size{width, height};
        rows_ = 0;
        return true;
    }
    void Row(int, const std::uint32_t*) noexcept override { ++rows_; }
    bool complete() const { return size_.height > 0 && rows_ == size_.height; }
    pixels::Size size() const { return size_; }

private:
    pixels::Size size_;
    int rows_ = 0;
};

// The icon drawn at its own size over transparency, a band of rows at a
// time, so a large icon is never drawn whole.
bool DrawIconInto(platform::Icon icon, RowSink* sink) {
    constexpr int kBandRows = 32;
    pixels::Size size;
    if (!platform::iconSize(icon, &size) || !sink->Begin(size.width, size.height, true)) return false;
    std::optional<pixels::Picture> band =
        pixels::makePicture(size.width, std::min(kBandRows, size.height), true);
    if (!band) return false;
    for (int top = 0; top < size.height; top += band->height) {
        const int rows = std::min(band->height, size.height - top);
        if (!platform::drawIconRows(icon, size.width, size.height, top, rows, band->pixels.data()))
            return false;
        for (int row = 0; row < rows; ++row)
            sink->Row(top + row, &band->pixels[static_cast<std::size_t>(row) * size.width]);
    }
    return true;
}

// An icon file loads as the system's icon of its chosen image. Our reader
// decodes that image first, into nothing, so the system is only handed an
// image whose data backs the size it claims. The requested size is the
// image's own: the bitmap header's width and half its height, or for a
// PNG image, which has no bitmap header, the PNG's own size.
bool DecodeIconFileAsIcon(const std::uint8_t* data, std::size_t size, RowSink* sink) {
    std::optional<IconDirEntry> entry = ChooseIconFileImage(data, size);
    if (!entry) return false;
    const std::uint8_t* bits = data + entry->location;
    ProbeSink probe;
    if (!DecodeIconImageInto(bits, entry->bytes, &probe) || !probe.complete()) return false;
    platform::OwnedIcon made(
        platform::createIconFromResourceEx(bits, entry->bytes, probe.size().width, probe.size().height));
    if (!made && entry->bitCount != 16) made.reset(platform::createIconFromResource(bits, entry->bytes));
    return made && DrawIconInto(made.get(), sink);
}

}  // namespace

bool DecodeImageDataInto(const std::uint8_t* data, std::size_t size, RowSink* sink) {
    if (!data || !sink || size < 2) return false;
    if (data[0] == 'B' && data[1] == 'M') {
        // A bitmap is no larger than its bytes show; it is decoded whole.
        std::optional<pixels::Picture> bmp = DecodeBmp(data, size);
        if (!bmp || !sink->Begin(bmp->width, bmp->height, bmp->hasAlpha)) return false;
        for (int y = 0; y < bmp->height; ++y)
            sink->Row(y, &bmp->pixels[static_cast<std::size_t>(y) * bmp->width]);
        return true;
    }
    if (IsIconFileHeader(data, size)) return DecodeIconFileAsIcon(data, size, sink);
    if (DecodePngInto(data, size, sink)) return true;
    return DecodeJpegInto(data, size, sink);
}

std::optional<pixels::Picture> DecodeImageData(const std::uint8_t* data, std::size_t size) {
    return DecodeWhole(DecodeImageDataInto, data, size);
}

std::optional<pixels::Picture> LoadImageFile(const char* path) {
    std::vector<std::uint8_t> data;
    if (!path || !platform::readWholeFile(path, &data)) return std::nullopt;
    FitSink fitted(kImageBox, kImageBox);
    if (!DecodeImageDataInto(data.data(), data.size(), &fitted)) return std::nullopt;
    return fitted.Take();
}

}  // namespace vb::images
