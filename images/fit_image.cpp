#include "images/fit_image.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "render/raster.h"

namespace vb::images {

pixels::Size FitSize(int w, int h, int maxWidth, int maxHeight) {
    // The ratio is a 32-bit float, as the host computes it. A side that
    // would come out as 0 (a very thin picture, or an empty box) is kept at
    // 1 pixel: a picture of no pixels cannot be held.
    int W = 0, H = 0;
    if (w >= h) {
        W = std::max(1, std::min(maxWidth, w));
        const float r = static_cast<float>(w) / static_cast<float>(W);
        H = std::max(1, static_cast<int>(std::floor(static_cast<float>(h) / r)));
    } else {
        H = std::max(1, std::min(maxHeight, h));
        const float r = static_cast<float>(h) / static_cast<float>(H);
        W = std::max(1, static_cast<int>(std::floor(static_cast<float>(w) / r)));
    }
    return pixels::Size{W, H};
}

bool FitImageToBox(pixels::Picture& picture, int maxWidth, int maxHeight) {
    const int w = picture.width, h = picture.height;
    if (w < 1 || h < 1 || picture.pixels.size() != static_cast<std::size_t>(w) * h) return false;
    const pixels::Size fitted = FitSize(w, h, maxWidth, maxHeight);
    if (fitted.width == w && fitted.height == h) return true;
    return render::Resize(picture, fitted.width, fitted.height);
}

bool FitSink::Begin(int width, int height, bool hasAlpha) {
    reduced_.reset();  // a sink may be begun again by the next reader tried
    if (width < 1 || height < 1) return false;
    const pixels::Size fitted = FitSize(width, height, maxWidth_, maxHeight_);
    if (fitted.width == width && fitted.height == height) return whole_.Begin(width, height, hasAlpha);
    reduced_ = std::make_unique<render::RowResampler>(width, height, fitted.width, fitted.height, hasAlpha);
    return reduced_->ok();
}

void FitSink::Row(int y, const std::uint32_t* pixels) noexcept {
    if (reduced_)
        reduced_->addRow(y, pixels);
    else
        whole_.Row(y, pixels);
}

std::optional<pixels::Picture> FitSink::Take() { return reduced_ ? reduced_->finish() : whole_.Take(); }

}  // namespace vb::images
