// Scaling a loaded picture down into a box, keeping its aspect ratio.
#pragma once

#include <memory>
#include <optional>

#include "images/readers/row_sink.h"
#include "pixels/geometry.h"
#include "pixels/picture.h"
#include "render/row_resampler.h"

namespace vb::images {

// The size a w x h picture takes in the box: only the box side matching the
// picture's longer side limits it, and a picture is never enlarged.
pixels::Size FitSize(int w, int h, int maxWidth, int maxHeight);

// The picture resized to FitSize. False when the picture is empty or the
// resize fails.
bool FitImageToBox(pixels::Picture& picture, int maxWidth, int maxHeight);

// Fits an image into a box as its rows arrive: a picture that fits is kept
// as it is, a larger one goes straight into the resampler, so the full-size
// picture never exists. The result equals FitImageToBox of the whole image.
class FitSink final : public RowSink {
public:
    FitSink(int maxWidth, int maxHeight) : maxWidth_(maxWidth), maxHeight_(maxHeight) {}
    bool Begin(int width, int height, bool hasAlpha) override;
    void Row(int y, const std::uint32_t* pixels) noexcept override;
    std::optional<pixels::Picture> Take();

private:
    int maxWidth_, maxHeight_;
    PictureSink whole_;
    std::unique_ptr<render::RowResampler> reduced_;
};

}  // namespace vb::images
