#include "images/fit_image.h"

#include <algorithm>
#include <cmath>

#include "render/raster.h"

namespace vb::images {

bool FitImageToBox(render::Picture& picture, int maxWidth, int maxHeight) {
    const int w = picture.width, h = picture.height;
    if (w < 1 || h < 1 || picture.pixels.size() != static_cast<std::size_t>(w) * h) return false;
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
    if (W == w && H == h) return true;
    return render::Resize(picture, W, H);
}

}  // namespace vb::images
