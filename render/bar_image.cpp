// The completely filled bar: fill, then the glossy highlight.
#include "render/bar_image.h"

#include "render/colour_ramp.h"
#include "render/raster.h"
#include "render/row_blend.h"

#include <algorithm>
#include <new>
#include <vector>

namespace vb::render {

namespace {

constexpr std::uint32_t kGlossTop = 0xDC000000u;     // black at alpha 220
constexpr std::uint32_t kGlossBottom = 0x00000000u;  // black at alpha 0
constexpr std::uint32_t kGlossLight = 0x64FFFFFFu;   // white at alpha 100

// The colours of one row before the gloss, the same in every row: the
// gradient's stops (read from 0 to upper bound - 1) laid across the width,
// or one colour. The picture carries no alpha, so the top byte is 0.
void fillLine(std::vector<std::uint32_t>& line, std::int32_t kind, const BarStops& stops,
              std::uint32_t solidColour) {
    const int width = static_cast<int>(line.size());
    if (kind == kKindGradient) {
        ColourRamp ramp;
        // The last element of a bar stop array is not a stop.
        for (int i = 0; i < UpperBound(stops); ++i)
            AddStop(ramp, stops[static_cast<std::size_t>(i)].position,
                    static_cast<std::uint32_t>(stops[static_cast<std::size_t>(i)].colour));
        LaidRamp laid{&ramp, RampDirection::Horizontal, 0, width};
        RampColours(laid, 0, width, line.data());
        for (std::uint32_t& c : line) c &= 0xFFFFFFu;
    } else {
        std::uint32_t c = kind == kKindSolid ? solidColour & 0xFFFFFFu : 0u;
        std::fill(line.begin(), line.end(), c);
    }
}

// The gloss of row y: darkened from the top down by a black ramp, then the
// upper half lightened.
struct RowGloss {
    ByteBlend shade, light;
    bool lit;
};

RowGloss glossOfRow(const ColourRamp& ramp, int y, int height) {
    LaidRamp laid{&ramp, RampDirection::Vertical, 0, height};
    std::uint32_t shade = ColourAt(ramp, RampParameter(laid, y));
    return {TowardColour(shade, pixels::alpha(shade), false),
            TowardColour(kGlossLight, pixels::alpha(kGlossLight), false), y < height / 2};
}

}  // namespace

std::optional<pixels::Picture> BuildBarImage(int width, int height, std::int32_t kind, const BarStops& stops,
                                             std::uint32_t solidColour, int glossy) {
    std::optional<pixels::Picture> picture;
    if (width < 1 || height < 1 || width > pixels::kMaxPictureSide || height > pixels::kMaxPictureSide)
        return picture;
    const std::size_t w = static_cast<std::size_t>(width);
    ColourRamp gloss;
    AddStop(gloss, 0.0f, kGlossTop);
    AddStop(gloss, 1.0f, kGlossBottom);
    try {
        std::vector<std::uint32_t> line(w);
        fillLine(line, kind, stops, solidColour);
        // Every row made once, in place, without zeroing the picture first.
        pixels::Picture p;
        p.width = width;
        p.height = height;
        p.pixels.reserve(w * static_cast<std::size_t>(height));
        const bool oneColour = kind != kKindGradient;
        for (int y = 0; y < height; ++y) {
            if (glossy == 0) {
                p.pixels.insert(p.pixels.end(), line.begin(), line.end());
                continue;
            }
            RowGloss g = glossOfRow(gloss, y, height);
            if (oneColour) {
                // A solid bar: one colour a row.
                std::uint32_t c = line[0];
                BlendRun(&c, 1, g.shade);
                if (g.lit) BlendRun(&c, 1, g.light);
                p.pixels.insert(p.pixels.end(), w, c);
            } else {
                std::uint32_t* row = &*p.pixels.insert(p.pixels.end(), line.begin(), line.end());
                if (g.lit)
                    BlendRunTwice(row, w, g.shade, g.light);
                else
                    BlendRun(row, w, g.shade);
            }
        }
        picture = std::move(p);
    } catch (const std::bad_alloc&) {
        // Kept: none is an answer; the bar keeps its image, and Create fails
        // with its own code while SetGradientColors still returns true.
        picture.reset();
    }
    return picture;
}

}  // namespace vb::render
