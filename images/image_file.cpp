#include "images/image_file.h"

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

bool DecodeImageDataInto(const std::uint8_t* data, std::size_t size, RowSink* sink) {
    if (!data || !sink || size < 2) return false;
    if (data[0] == 'B' && data[1] == 'M') {
        // A bitmap is no larger than its bytes show; it is decoded whole.
        std::optional<render::Picture> bmp = DecodeBmp(data, size);
        if (!bmp || !sink->Begin(bmp->width, bmp->height, bmp->hasAlpha)) return false;
        for (int y = 0; y < bmp->height; ++y)
            sink->Row(y, &bmp->pixels[static_cast<std::size_t>(y) * bmp->width]);
        return true;
    }
    if (IsIconFileHeader(data, size)) return DecodeIconFileInto(data, size, sink);
    if (DecodePngInto(data, size, sink)) return true;
    return DecodeJpegInto(data, size, sink);
}

std::optional<render::Picture> DecodeImageData(const std::uint8_t* data, std::size_t size) {
    return DecodeWhole(DecodeImageDataInto, data, size);
}

std::optional<render::Picture> LoadImageFile(const char* path) {
    std::vector<std::uint8_t> data;
    if (!path || !platform::readWholeFile(path, &data)) return std::nullopt;
    FitSink fitted(kImageBox, kImageBox);
    if (!DecodeImageDataInto(data.data(), data.size(), &fitted)) return std::nullopt;
    return fitted.Take();
}

}  // namespace vb::images
