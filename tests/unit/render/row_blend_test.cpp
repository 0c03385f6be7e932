// The run kernels and the fast paths built on them give exactly the pixels
// of the per-pixel rule they replace.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "render/bar_image.h"
#include "render/colour_ramp.h"
#include "render/raster.h"
#include "render/row_blend.h"
#include "render/text.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

using Pixels = std::vector<std::uint32_t>;

// Every byte value in every channel, in a run whose length is not a
// multiple of four pixels, so the blocks and the remainder both run.
Pixels everyByte() {
    Pixels run;
    for (unsigned i = 0; i < 259; ++i)
        run.push_back(rgba(i & 0xFF, (255 - i) & 0xFF, (i * 7) & 0xFF, (i * 13) & 0xFF));
    return run;
}

const std::uint32_t kColours[] = {0x000000, 0xFFFFFF, 0x3080E0, 0xC812AB34};

}  // namespace

TEST(Div255, IsExactUpTo255Squared) {
    for (unsigned x = 0; x <= 255u * 255u; ++x) ASSERT_EQ(Div255(x), x / 255u) << x;
}

TEST(RowBlend, RunMatchesBlendPixelForEveryByteAndAlpha) {
    const Pixels source = everyByte();
    for (bool hasAlpha : {false, true})
        for (std::uint32_t colour : kColours)
            for (unsigned a = 0; a < 256; ++a) {
                Pixels run = source;
                BlendRun(run.data(), run.size(), TowardColour(colour, std::uint8_t(a), hasAlpha));
                for (std::size_t i = 0; i < run.size(); ++i)
                    ASSERT_EQ(run[i], BlendPixel(source[i], colour, std::uint8_t(a), hasAlpha))
                        << "pixel " << i << " alpha " << a << " colour " << colour;
            }
}

TEST(RowBlend, TwiceIsOneBlendAfterTheOther) {
    const Pixels source = everyByte();
    for (std::size_t n :
         {std::size_t(0), std::size_t(1), std::size_t(3), std::size_t(4), std::size_t(5), source.size()}) {
        ByteBlend first = TowardColour(0, 117, false), second = TowardColour(0xFFFFFF, 100, false);
        Pixels once = source, twice = source;
        BlendRun(once.data(), n, first);
        BlendRun(once.data(), n, second);
        BlendRunTwice(twice.data(), n, first, second);
        EXPECT_EQ(once, twice) << n;
        // Nothing past the run moves.
        EXPECT_TRUE(std::equal(source.begin() + n, source.end(), twice.begin() + n));
    }
}

TEST(RowBlend, WeightsBlendEachByteByItsOwn) {
    std::mt19937 random(7);
    const Pixels source = everyByte();
    std::vector<std::uint8_t> weights(source.size() * 4);
    for (auto& w : weights) w = std::uint8_t(random());
    for (std::uint32_t colour : kColours) {
        Pixels run = source;
        BlendRunByWeights(run.data(), weights.data(), run.size(), colour);
        for (std::size_t i = 0; i < run.size(); ++i)
            for (unsigned byte = 0; byte < 4; ++byte) {
                auto d = std::uint8_t(source[i] >> (8 * byte)), s = std::uint8_t(colour >> (8 * byte));
                ASSERT_EQ(std::uint8_t(run[i] >> (8 * byte)), BlendChannel(d, s, weights[i * 4 + byte]))
                    << i << " " << byte;
            }
    }
}

// Short runs end inside a block; blocks of zero weights are skipped. Each
// byte still follows the rule, and nothing past the run moves.
TEST(RowBlend, WeightsOnShortRunsAndEmptyBlocks) {
    std::mt19937 random(11);
    const Pixels source = everyByte();
    for (std::size_t n = 0; n <= 13; ++n) {
        std::vector<std::uint8_t> weights(n * 4);
        for (std::size_t k = 0; k < weights.size(); ++k)
            weights[k] = (k / 16) % 2 ? 0 : std::uint8_t(random() | 1);  // every other block empty
        Pixels run = source;
        BlendRunByWeights(run.data(), weights.data(), n, 0x3080E0);
        for (std::size_t i = 0; i < n; ++i)
            for (unsigned byte = 0; byte < 4; ++byte) {
                auto d = std::uint8_t(source[i] >> (8 * byte)), s = std::uint8_t(0x3080E0u >> (8 * byte));
                ASSERT_EQ(std::uint8_t(run[i] >> (8 * byte)), BlendChannel(d, s, weights[i * 4 + byte]))
                    << n << " " << i << " " << byte;
            }
        EXPECT_TRUE(std::equal(source.begin() + n, source.end(), run.begin() + n)) << n;
    }
}

TEST(RowBlend, MaskedCopyKeepsOnlyTheMaskedBits) {
    const Pixels source = everyByte();
    Pixels copy(source.size(), 0xDEADBEEF);
    CopyRunMasked(copy.data(), source.data(), source.size() - 1, 0xFFFFFFu);
    for (std::size_t i = 0; i + 1 < source.size(); ++i) ASSERT_EQ(copy[i], source[i] & 0xFFFFFFu);
    EXPECT_EQ(copy.back(), 0xDEADBEEFu);
    Pixels same = source;
    CopyRunMasked(same.data(), same.data(), same.size(), 0xFFFFFFu);
    for (std::size_t i = 0; i < source.size(); ++i) ASSERT_EQ(same[i], source[i] & 0xFFFFFFu);
}

TEST(RampColours, EqualColourAtEveryCoordinate) {
    ColourRamp none, one, three, ends;
    AddStop(one, 0.3f, 0x80FF8040u);
    AddStop(three, 0.0f, 0xFF0000FFu);
    AddStop(three, 0.2f, 0x7700FF00u);  // a hair above 0.2 as a float
    AddStop(three, 1.0f, 0x11FF0000u);
    AddStop(ends, 0.5f, 0x12345678u);
    AddStop(ends, 0.75f, 0x9ABCDEF0u);
    for (const ColourRamp* ramp : {&none, &one, &three, &ends})
        for (auto [from, to] : {std::pair{0, 1000}, std::pair{0, 7}, std::pair{-5, 3}, std::pair{4, 4},
                                std::pair{9, 2}, std::pair{0, 1}})
            for (RampDirection direction : {RampDirection::Horizontal, RampDirection::Vertical}) {
                LaidRamp laid{ramp, direction, from, to};
                const int first = std::min(from, to) - 3, last = std::max(from, to) + 3;
                Pixels line(static_cast<std::size_t>(last - first));
                RampColours(laid, first, last, line.data());
                for (int i = first; i < last; ++i)
                    ASSERT_EQ(line[static_cast<std::size_t>(i - first)],
                              ColourAt(*ramp, RampParameter(laid, i)))
                        << from << ".." << to << " at " << i;
            }
}

namespace {

// The bar image as the rule states it, one pixel at a time: fill, then a
// black ramp from alpha 220 to 0 down the picture, then white at alpha 100
// over the upper half.
Pixels barImageByPixel(int w, int h, std::int32_t kind, const BarStops& stops, std::uint32_t solid,
                       int glossy) {
    ColourRamp fill, gloss;
    for (int i = 0; i < UpperBound(stops); ++i)
        AddStop(fill, stops[static_cast<std::size_t>(i)].position,
                static_cast<std::uint32_t>(stops[static_cast<std::size_t>(i)].colour));
    AddStop(gloss, 0.0f, 0xDC000000u);
    AddStop(gloss, 1.0f, 0x00000000u);
    LaidRamp across{&fill, RampDirection::Horizontal, 0, w}, down{&gloss, RampDirection::Vertical, 0, h};
    Pixels out;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t c = kind == kKindGradient ? ColourAt(fill, RampParameter(across, x))
                              : kind == kKindSolid  ? solid
                                                    : 0;
            c &= 0xFFFFFFu;
            if (glossy) {
                std::uint32_t shade = ColourAt(gloss, RampParameter(down, y));
                c = BlendPixel(c, shade, alpha(shade), false);
                if (y < h / 2) c = BlendPixel(c, 0x64FFFFFFu, 100, false);
            }
            out.push_back(c);
        }
    return out;
}

}  // namespace

TEST(BarImage, EveryKindEqualsThePerPixelRule) {
    const BarStops stops = MakeBarStops({{0.0f, 255}, {0.5f, 65280}, {1.0f, 16711680}});
    const BarStops inside = MakeBarStops({{0.25f, 0x123456}, {0.7f, 0x00FFEE}});
    struct Case {
        int w, h;
        std::int32_t kind;
        const BarStops* stops;
        std::uint32_t solid;
        int glossy;
    } cases[] = {{1000, 40, kKindGradient, &stops, 0, 1}, {37, 9, kKindGradient, &inside, 0, 1},
                 {5, 3, kKindGradient, &inside, 0, 0},    {400, 30, kKindSolid, &stops, 0xFF3080E0, 1},
                 {1, 1, kKindSolid, &stops, 0x3080E0, 1}, {13, 2, kKindSolid, &stops, 0x3080E0, 0},
                 {6, 7, 0, &stops, 0x3080E0, 1}};
    for (const Case& c : cases) {
        std::optional<Picture> image = BuildBarImage(c.w, c.h, c.kind, *c.stops, c.solid, c.glossy);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, c.w);
        EXPECT_EQ(image->height, c.h);
        EXPECT_FALSE(image->hasAlpha);
        EXPECT_EQ(image->pixels, barImageByPixel(c.w, c.h, c.kind, *c.stops, c.solid, c.glossy))
            << c.w << " x " << c.h << " kind " << c.kind;
    }
    EXPECT_FALSE(BuildBarImage(0, 5, kKindSolid, stops, 0, 1));
    EXPECT_FALSE(BuildBarImage(5, kMaxPictureSide + 1, kKindSolid, stops, 0, 1));
}

TEST(BlendRect, BlendsOnlyInsideTheClippedRectangle) {
    for (bool hasAlpha : {false, true}) {
        std::optional<Picture> p = makePicture(9, 5, hasAlpha);
        ASSERT_TRUE(p);
        for (std::size_t i = 0; i < p->pixels.size(); ++i) p->pixels[i] = 0x01020304u * std::uint32_t(i + 1);
        const Pixels before = p->pixels;
        BlendRect(*p, -2, 1, 6, 9, 0x64FFFFFFu);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) {
                std::uint32_t was = before[static_cast<std::size_t>(y * 9 + x)];
                std::uint32_t expected = x < 4 && y >= 1 ? BlendPixel(was, 0x64FFFFFFu, 100, hasAlpha) : was;
                ASSERT_EQ(p->at(x, y), expected) << x << "," << y;
            }
    }
}

namespace {

// Text as the rule states it, one pixel at a time from the coverage: each
// channel toward the colour by its coverage; a touched pixel's alpha composes
// over by its largest coverage, or is 0 on a picture without alpha.
void drawTextByPixel(Picture& target, vb::platform::Font font, int x, int y, std::string_view text,
                     std::uint32_t colour) {
    vb::platform::TextCoverage c;
    ASSERT_TRUE(vb::platform::textCoverage(font, text.data(), text.size(), &c));
    for (int py = 0; py < c.height; ++py)
        for (int px = 0; px < c.width; ++px) {
            int tx = x + c.left + px, ty = y + c.top + py;
            if (tx < 0 || ty < 0 || tx >= target.width || ty >= target.height) continue;
            std::uint8_t w[3];
            for (int k = 0; k < 3; ++k)
                w[k] = vb::platform::CoverageAt(c, static_cast<std::size_t>(py * c.width + px), k);
            if ((w[0] | w[1] | w[2]) == 0) continue;
            std::uint32_t& d = target.at(tx, ty);
            std::uint8_t a = target.hasAlpha ? BlendChannel(alpha(d), 255, std::max({w[0], w[1], w[2]})) : 0;
            d = rgba(BlendChannel(red(d), red(colour), w[0]), BlendChannel(green(d), green(colour), w[1]),
                     BlendChannel(blue(d), blue(colour), w[2]), a);
        }
}

}  // namespace

TEST(TextMask, DrawsThePixelsOfThePerPixelRuleAndIsReusable) {
    vb::platform::FontRequest request;
    request.face = "DejaVu Sans";
    request.height = -12;
    vb::platform::Font font = vb::platform::createFont(request);
    ASSERT_NE(font, nullptr);
    for (bool hasAlpha : {false, true}) {
        TextMask mask;
        ASSERT_TRUE(MakeTextMask(font, "Copying files... 59%", hasAlpha, &mask));
        // Places inside, across each edge and wholly outside.
        for (auto [x, y] : {std::pair{5, 8}, std::pair{-7, -3}, std::pair{60, 20}, std::pair{400, 0}}) {
            std::optional<Picture> ours = makePicture(90, 24, hasAlpha);
            ASSERT_TRUE(ours);
            for (std::size_t i = 0; i < ours->pixels.size(); ++i)
                ours->pixels[i] = 0x40302010u + std::uint32_t(i * 2654435761u % 0xFFFFFF);
            Picture reference = *ours, viaDrawText = *ours;
            for (std::uint32_t colour : {0xFFFFFFu, 0x00000000u, 0x123456u}) {
                DrawTextMask(*ours, mask, x, y, colour);
                DrawText(viaDrawText, font, x, y, "Copying files... 59%", colour);
                drawTextByPixel(reference, font, x, y, "Copying files... 59%", colour);
            }
            EXPECT_EQ(ours->pixels, reference.pixels) << x << "," << y << " alpha " << hasAlpha;
            EXPECT_EQ(viaDrawText.pixels, reference.pixels) << x << "," << y << " alpha " << hasAlpha;
        }
        // A mask made for the other kind of picture draws nothing.
        std::optional<Picture> other = makePicture(90, 24, !hasAlpha);
        ASSERT_TRUE(other);
        const Pixels before = other->pixels;
        DrawTextMask(*other, mask, 5, 8, 0xFFFFFF);
        EXPECT_EQ(other->pixels, before);
    }
    TextMask empty;
    EXPECT_FALSE(MakeTextMask(font, "", false, &empty));
    vb::platform::destroyFont(font);
}
