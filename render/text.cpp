// Text on pictures: the platform rasterises coverage, the blend is ours.
#include "render/text.h"

#include <algorithm>

#include "render/raster.h"
#include "render/row_blend.h"

namespace vb::render {

int TextWidth(platform::Font font, std::string_view text) {
    return text.empty() ? 0 : platform::textExtent(font, text.data(), text.size()).width;
}

int TextHeight(platform::Font font, std::string_view text) {
    return text.empty() ? 0 : platform::textExtent(font, text.data(), text.size()).height;
}

bool MakeTextMask(platform::Font font, std::string_view text, bool forAlpha, TextMask* mask) {
    platform::TextCoverage coverage;
    return MakeTextMask(font, text, forAlpha, mask, &coverage);
}

bool MakeTextMask(platform::Font font, std::string_view text, bool forAlpha, TextMask* mask,
                  platform::TextCoverage* scratch) {
    platform::TextCoverage& coverage = *scratch;
    if (text.empty() || !platform::textCoverage(font, text.data(), text.size(), &coverage) ||
        coverage.width <= 0 || coverage.height <= 0)
        return false;
    std::size_t cells = static_cast<std::size_t>(coverage.width) * static_cast<std::size_t>(coverage.height);
    if (coverage.rgb.size() < cells * (coverage.grey ? 1 : 3)) return false;
    mask->left = coverage.left;
    mask->top = coverage.top;
    mask->width = coverage.width;
    mask->height = coverage.height;
    mask->forAlpha = forAlpha;
    mask->weights.resize(cells * 4);
    const std::uint8_t* __restrict c = coverage.rgb.data();
    std::uint8_t* __restrict w = mask->weights.data();
    // A touched pixel's alpha composes over by its largest coverage; on a
    // picture without alpha it becomes 0; an untouched one keeps it.
    const std::uint8_t touchedOnly = forAlpha ? 0 : 255;
    if (coverage.grey) {
        for (std::size_t i = 0; i < cells; ++i) {
            const std::uint8_t grey = c[i];
            w[i * 4] = w[i * 4 + 1] = w[i * 4 + 2] = grey;
            w[i * 4 + 3] = grey ? static_cast<std::uint8_t>(grey | touchedOnly) : 0;
        }
        return true;
    }
    for (std::size_t i = 0; i < cells; ++i, c += 3, w += 4) {
        const std::uint8_t red = c[0], green = c[1], blue = c[2];
        const std::uint8_t largest = std::max(red, std::max(green, blue));
        w[0] = red;
        w[1] = green;
        w[2] = blue;
        w[3] = largest ? static_cast<std::uint8_t>(largest | touchedOnly) : 0;
    }
    return true;
}

void DrawTextMask(pixels::Picture& target, const TextMask& mask, int x, int y, std::uint32_t colour) {
    if (!IsWellFormed(target) || mask.forAlpha != target.hasAlpha || mask.width <= 0 || mask.height <= 0 ||
        mask.weights.size() < static_cast<std::size_t>(mask.width) * mask.height * 4)
        return;
    // Where the mask lands, in wide arithmetic, clipped to the target.
    long long left = static_cast<long long>(x) + mask.left;
    long long top = static_cast<long long>(y) + mask.top;
    long long x0 = std::max(left, 0LL), x1 = std::min(left + mask.width, 0LL + target.width);
    long long y0 = std::max(top, 0LL), y1 = std::min(top + mask.height, 0LL + target.height);
    if (x0 >= x1) return;
    // The alpha byte moves toward 255 on a picture with alpha, toward 0 without.
    std::uint32_t source = (colour & 0xFFFFFFu) | (target.hasAlpha ? 0xFF000000u : 0u);
    for (long long py = y0; py < y1; ++py) {
        const std::uint8_t* weights = &mask.weights[(static_cast<std::size_t>(py - top) * mask.width +
                                                     static_cast<std::size_t>(x0 - left)) *
                                                    4];
        BlendRunByWeights(&target.at(static_cast<int>(x0), static_cast<int>(py)), weights,
                          static_cast<std::size_t>(x1 - x0), source);
    }
}

void DrawText(pixels::Picture& target, platform::Font font, int x, int y, std::string_view text,
              std::uint32_t colour) {
    if (!IsWellFormed(target)) return;
    TextMask mask;
    if (MakeTextMask(font, text, target.hasAlpha, &mask)) DrawTextMask(target, mask, x, y, colour);
}

}  // namespace vb::render
