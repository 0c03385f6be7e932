// The completely filled bar: fill, then the glossy highlight.
#include "render/bar_image.h"

#include "render/colour_ramp.h"
#include "render/raster.h"

namespace vb::render {

namespace {

constexpr std::uint32_t kGlossTop = 0xDC000000u;     // black at alpha 220
constexpr std::uint32_t kGlossBottom = 0x00000000u;  // black at alpha 0
constexpr std::uint32_t kGlossLight = 0x64FFFFFFu;   // white at alpha 100

void fillGradient(Picture& picture, const BarStops& stops) {
    ColourRamp ramp;
    // The last element of a bar stop array is not a stop.
    for (int i = 0; i < UpperBound(stops); ++i)
        AddStop(ramp, stops[static_cast<std::size_t>(i)].position,
                static_cast<std::uint32_t>(stops[static_cast<std::size_t>(i)].colour));
    LaidRamp laid{&ramp, RampDirection::Horizontal, 0, picture.width};
    FillWithRamp(picture, 0, 0, picture.width, picture.height, laid);
}

// Darkens from the top down, then lightens the upper half.
void addGloss(Picture& picture) {
    ColourRamp ramp;
    AddStop(ramp, 0.0f, kGlossTop);
    AddStop(ramp, 1.0f, kGlossBottom);
    LaidRamp laid{&ramp, RampDirection::Vertical, 0, picture.height};
    BlendWithRamp(picture, 0, 0, picture.width, picture.height, laid);
    BlendRect(picture, 0, 0, picture.width, picture.height / 2, kGlossLight);
}

}  // namespace

std::optional<Picture> BuildBarImage(int width, int height, std::int32_t kind,
                                     const BarStops& stops, std::uint32_t solidColour, int glossy) {
    std::optional<Picture> picture = makePicture(width, height);
    if (!picture) return picture;
    if (kind == kKindGradient)
        fillGradient(*picture, stops);
    else if (kind == kKindSolid)
        FillRect(*picture, 0, 0, width, height, solidColour);
    if (glossy != 0) addGloss(*picture);
    return picture;
}

}  // namespace vb::render
