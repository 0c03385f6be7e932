// Where a streaming decoder delivers an image: its size first, then each
// row top to bottom. A sink that only needs a reduced copy never holds the
// full picture, so a header's claim costs nothing until the data is there.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "pixels/picture.h"

namespace vb::images {

// The most pixels a decoder holds at once for one image (64 MB of packed
// colours): far below what a 32-bit host can spare, far above any icon.
constexpr long long kMaxHeldPixels = 4096LL * 4096;

class RowSink {
public:
    virtual ~RowSink() = default;
    // The image's size and whether it carries alpha; false refuses it.
    virtual bool Begin(int width, int height, bool hasAlpha) = 0;
    // Row y, `width` packed colours. Called from inside decoder error
    // frames: it must neither throw nor call back into the decoder.
    virtual void Row(int y, const std::uint32_t* pixels) noexcept = 0;
};

// Keeps every row: the whole picture, for images up to kMaxHeldPixels.
class PictureSink final : public RowSink {
public:
    bool Begin(int width, int height, bool hasAlpha) override {
        if (static_cast<long long>(width) * height > kMaxHeldPixels) return false;
        picture_ = pixels::makePicture(width, height, hasAlpha);
        return picture_.has_value();
    }
    void Row(int y, const std::uint32_t* pixels) noexcept override {
        if (!picture_ || y < 0 || y >= picture_->height) return;
        std::uint32_t* dst = &picture_->pixels[static_cast<std::size_t>(y) * picture_->width];
        for (int x = 0; x < picture_->width; ++x) dst[x] = pixels[x];
    }
    std::optional<pixels::Picture> Take() { return std::move(picture_); }

private:
    std::optional<pixels::Picture> picture_;
};

// The whole picture a streaming decoder delivers, up to kMaxHeldPixels.
template <typename Decoder>
std::optional<pixels::Picture> DecodeWhole(Decoder decodeInto, const std::uint8_t* data, std::size_t size) {
    PictureSink sink;
    if (!decodeInto(data, size, &sink)) return std::nullopt;
    return sink.Take();
}

}  // namespace vb::images
