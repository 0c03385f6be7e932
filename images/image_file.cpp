#include "images/image_file.h"

#include <new>
#include <vector>

#include "images/readers/bmp_reader.h"
#include "images/fit_image.h"
#include "images/readers/ico_reader.h"
#include "images/readers/jpeg_reader.h"
#include "images/readers/png_reader.h"
#include "platform/platform.h"
#include "images/readers/icon_directory.h"

namespace vb::images {

std::optional<render::Picture> DecodeImageData(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 2) return std::nullopt;
    if (data[0] == 'B' && data[1] == 'M') return DecodeBmp(data, size);
    if (IsIconFileHeader(data, size)) return DecodeIconFile(data, size);
    if (std::optional<render::Picture> png = DecodePng(data, size)) return png;
    return DecodeJpeg(data, size);
}

std::optional<render::Picture> LoadImageFile(const char* path) {
    std::vector<std::uint8_t> data;
    if (!path || !platform::readWholeFile(path, &data)) return std::nullopt;
    std::optional<render::Picture> picture = DecodeImageData(data.data(), data.size());
    if (picture && (picture->width > kImageBox || picture->height > kImageBox) &&
        !FitImageToBox(*picture, kImageBox, kImageBox))
        return std::nullopt;
    return picture;
}

}  // namespace vb::images
