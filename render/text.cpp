// Text on pictures: the platform rasterises coverage, the blend is ours.
#include "render/text.h"

#include <algorithm>

#include "render/raster.h"

namespace vb::render {

int TextWidth(platform::Font font, std::string_view text) {
    return text.empty() ? 0 : platform::textExtent(font, text.data(), text.size()).width;
}

int TextHeight(platform::Font font, std::string_view text) {
    return text.empty() ? 0 : platform::textExtent(font, text.data(), text.size()).height;
}

void DrawText(Picture& target, platform::Font font, int x, int y, std::string_view text,
              std::uint32_t colour) {
    platform::TextCoverage coverage;
    if (text.empty() || !IsWellFormed(target) ||
        !platform::textCoverage(font, text.data(), text.size(), &coverage))
        return;
    std::size_t cells = static_cast<std::size_t>(std::max(coverage.width, 0)) *
                        static_cast<std::size_t>(std::max(coverage.height, 0));
    if (coverage.rgb.size() < cells * 3) return;
    // Where the mask lands, in wide arithmetic, clipped to the target.
    long long left = static_cast<long long>(x) + coverage.left;
    long long top = static_cast<long long>(y) + coverage.top;
    long long x0 = std::max(left, 0LL), x1 = std::min(left + coverage.width, 0LL + target.width);
    long long y0 = std::max(top, 0LL), y1 = std::min(top + coverage.height, 0LL + target.height);
    for (long long py = y0; py < y1; ++py)
        for (long long px = x0; px < x1; ++px) {
            const std::uint8_t* c =
                &coverage.rgb[(static_cast<std::size_t>(py - top) * coverage.width +
                               static_cast<std::size_t>(px - left)) *
                              3];
            if ((c[0] | c[1] | c[2]) == 0) continue;  // untouched behind the glyphs
            std::uint32_t& d = target.at(static_cast<int>(px), static_cast<int>(py));
            std::uint8_t a =
                target.hasAlpha ? BlendChannel(alpha(d), 255, std::max({c[0], c[1], c[2]})) : 0;
            d = rgba(BlendChannel(red(d), red(colour), c[0]),
                     BlendChannel(green(d), green(colour), c[1]),
                     BlendChannel(blue(d), blue(colour), c[2]), a);
        }
}

}  // namespace vb::render
