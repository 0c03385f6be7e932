// Icon files: the directory and the DIB decoding are shared with the icons
// of executables; PNG entries go through our PNG reader.
#include "images/readers/ico_reader.h"

#include <vector>

#include "images/readers/dib_reader.h"
#include "images/readers/icon_directory.h"
#include "images/readers/png_reader.h"

namespace vb::images {

namespace {

// An icon always carries alpha: a PNG entry without it is opaque.
class OpaqueAlphaSink final : public RowSink {
public:
    explicit OpaqueAlphaSink(RowSink* inner) : inner_(inner) {}
    bool Begin(int width, int height, bool hasAlpha) override {
        opaque_ = !hasAlpha;
        if (opaque_) {
            row_ = pixels::makePicture(width, 1, true);
            if (!row_) return false;
        }
        return inner_->Begin(width, height, true);
    }
    void Row(int y, const std::uint32_t* pixels) noexcept override {
        if (!opaque_) return inner_->Row(y, pixels);
        for (int x = 0; x < row_->width; ++x)
            row_->pixels[static_cast<std::size_t>(x)] = pixels[x] | 0xFF000000u;
        inner_->Row(y, row_->pixels.data());
    }

private:
    RowSink* inner_;
    bool opaque_ = false;
    std::optional<pixels::Picture> row_;
};

}  // namespace

std::optional<IconDirEntry> ChooseIconFileImage(const std::uint8_t* data, std::size_t size) {
    std::optional<std::vector<IconDirEntry>> entries = ReadIconDirectory(data, size, IconDirKind::File);
    const int index = entries ? ChooseFirstSizeEntry(*entries) : -1;
    if (index < 0) return std::nullopt;
    return (*entries)[static_cast<std::size_t>(index)];
}

bool DecodeIconImageInto(const std::uint8_t* image, std::size_t size, RowSink* sink) {
    if (!image || !sink) return false;
    if (IsPngData(image, size)) {
        OpaqueAlphaSink opaque(sink);
        return DecodePngInto(image, size, &opaque);
    }
    // A DIB image is no larger than its bytes show.
    std::optional<pixels::Picture> decoded = DecodeIconDib(image, size);
    if (!decoded || !sink->Begin(decoded->width, decoded->height, true)) return false;
    for (int y = 0; y < decoded->height; ++y)
        sink->Row(y, &decoded->pixels[static_cast<std::size_t>(y) * decoded->width]);
    return true;
}

bool DecodeIconFileInto(const std::uint8_t* data, std::size_t size, RowSink* sink) {
    std::optional<IconDirEntry> entry = sink ? ChooseIconFileImage(data, size) : std::nullopt;
    return entry && DecodeIconImageInto(data + entry->location, entry->bytes, sink);
}

std::optional<pixels::Picture> DecodeIconFile(const std::uint8_t* data, std::size_t size) {
    return DecodeWhole(DecodeIconFileInto, data, size);
}

}  // namespace vb::images
