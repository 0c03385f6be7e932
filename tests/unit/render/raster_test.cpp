// Fills, lines, blends, ramps and picture copies: values by hand, clipping
// at every edge, and what happens to the alpha byte.
#include <gtest/gtest.h>

#include <climits>

#include "render/raster.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

Picture blank(int w, int h, bool hasAlpha = false) {
    std::optional<Picture> p = makePicture(w, h, hasAlpha);
    EXPECT_TRUE(p.has_value());
    return p ? *p : Picture{};
}

// Each pixel numbered: red = x, green = y, blue = 7.
Picture numbered(int w, int h) {
    Picture p = blank(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.at(x, y) = rgba(x, y, 7);
    return p;
}

int countColour(const Picture& p, std::uint32_t colour) {
    int n = 0;
    for (std::uint32_t c : p.pixels) n += c == colour;
    return n;
}

constexpr std::uint32_t kWhite = 0xFFFFFF;

}  // namespace

TEST(BlendChannel, FollowsTheIntegerRule) {
    EXPECT_EQ(BlendChannel(100, 200, 0), 100);
    EXPECT_EQ(BlendChannel(100, 200, 255), 200);
    EXPECT_EQ(BlendChannel(100, 200, 128), 150);  // 38300 / 255 = 150.2
    EXPECT_EQ(BlendChannel(255, 0, 220), 35);
    EXPECT_EQ(BlendChannel(35, 255, 100), 121);  // 30925 / 255 = 121.3
    EXPECT_EQ(BlendChannel(0, 255, 1), 1);
    EXPECT_EQ(BlendChannel(255, 255, 77), 255);
}

TEST(FillRect, FillsExactlyTheRectangle) {
    Picture p = blank(6, 5);
    FillRect(p, 1, 2, 3, 2, 0x123456);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            bool inside = x >= 1 && x <= 3 && y >= 2 && y <= 3;
            EXPECT_EQ(p.at(x, y), inside ? 0x123456u : 0u) << x << "," << y;
        }
}

TEST(FillRect, ClipsAtEveryEdgeAndIgnoresAlphaByte) {
    Picture p = blank(5, 5);
    FillRect(p, -2, -2, 4, 4, 0xAB010203);
    EXPECT_EQ(p.at(0, 0), 0x010203u);  // the alpha byte of the colour is not written
    EXPECT_EQ(p.at(1, 1), 0x010203u);
    EXPECT_EQ(p.at(2, 2), 0u);
    EXPECT_EQ(countColour(p, 0x010203), 4);

    Picture q = blank(5, 5);
    FillRect(q, 3, 4, 100, 100, kWhite);
    EXPECT_EQ(countColour(q, kWhite), 2);  // (3,4) and (4,4)

    Picture r = blank(5, 5);
    FillRect(r, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kWhite);  // ends left of 0
    EXPECT_EQ(countColour(r, kWhite), 0);
    FillRect(r, INT_MAX, 0, INT_MAX, 5, kWhite);
    FillRect(r, 0, 0, 0, 5, kWhite);
    FillRect(r, 0, 0, 5, -1, kWhite);
    EXPECT_EQ(countColour(r, kWhite), 0);
    FillRect(r, -10, -10, INT_MAX, INT_MAX, kWhite);
    EXPECT_EQ(countColour(r, kWhite), 25);
}

TEST(DrawLine, IncludesBothEndsInEitherDirection) {
    Picture p = blank(6, 4);
    DrawLine(p, 1, 1, 4, 1, kWhite);
    EXPECT_EQ(countColour(p, kWhite), 4);
    EXPECT_EQ(p.at(1, 1), kWhite);
    EXPECT_EQ(p.at(4, 1), kWhite);
    EXPECT_EQ(p.at(5, 1), 0u);

    Picture q = blank(6, 4);
    DrawLine(q, 2, 3, 2, 0, kWhite);  // upward
    EXPECT_EQ(countColour(q, kWhite), 4);
    EXPECT_EQ(q.at(2, 0), kWhite);
    EXPECT_EQ(q.at(2, 3), kWhite);

    Picture dot = blank(3, 3);
    DrawLine(dot, 1, 1, 1, 1, kWhite);
    EXPECT_EQ(countColour(dot, kWhite), 1);
}

TEST(DrawLine, ClipsAndDropsLinesOutside) {
    Picture p = blank(5, 5);
    DrawLine(p, 2, -10, 2, 10, kWhite);  // through the whole column
    EXPECT_EQ(countColour(p, kWhite), 5);
    DrawLine(p, -3, 1, -1, 1, kWhite);            // left of the picture
    DrawLine(p, 0, 5, 4, 5, kWhite);              // the row just below it
    DrawLine(p, INT_MIN, 0, INT_MAX, 0, kWhite);  // whole first row, no overflow
    EXPECT_EQ(countColour(p, kWhite), 9);
}

TEST(DrawLine, ALineOfTheFrameReachingTheHeightStopsAtTheLastRow) {
    // (0,0)-(0,Height) as the bar's frame draws it: rows 0..Height-1 show.
    Picture p = blank(4, 3);
    DrawLine(p, 0, 0, 0, 3, kWhite);
    EXPECT_EQ(countColour(p, kWhite), 3);
}

TEST(DrawLine, SlantedLinesDrawNothing) {
    Picture p = blank(5, 5);
    DrawLine(p, 0, 0, 4, 4, kWhite);
    EXPECT_EQ(countColour(p, kWhite), 0);
}

TEST(BlendRect, BlendsEachChannelByTheColoursAlpha) {
    Picture p = blank(4, 4);
    FillRect(p, 0, 0, 4, 4, rgba(100, 0, 200));
    BlendRect(p, 1, 1, 2, 2, rgba(200, 255, 0, 128));
    EXPECT_EQ(p.at(1, 1), rgba(150, 128, 99));  // 38300/255, 32640/255, 25400/255
    EXPECT_EQ(p.at(2, 2), rgba(150, 128, 99));
    EXPECT_EQ(p.at(0, 0), rgba(100, 0, 200));
    EXPECT_EQ(p.at(3, 1), rgba(100, 0, 200));
}

TEST(BlendRect, ClipsAndAlphaZeroChangesNothing) {
    Picture p = blank(3, 3);
    FillRect(p, 0, 0, 3, 3, rgba(10, 20, 30));
    BlendRect(p, -5, -5, 6, 6, rgba(255, 255, 255, 255));  // only (0,0)
    EXPECT_EQ(p.at(0, 0), kWhite);
    EXPECT_EQ(countColour(p, kWhite), 1);
    BlendRect(p, 0, 0, 3, 3, rgba(255, 0, 0, 0));
    EXPECT_EQ(p.at(1, 1), rgba(10, 20, 30));
}

TEST(FillWithRamp, LaysTheRampAlongColumns) {
    ColourRamp ramp;  // black to white
    Picture p = blank(4, 2);
    FillWithRamp(p, 0, 0, 4, 2, LaidRamp{&ramp, RampDirection::Horizontal, 0, 4});
    // t = 0, 0.25, 0.5, 0.75: 0, 63.75, 127.5, 191.25 truncated; alpha not written
    const std::uint32_t expected[] = {rgba(0, 0, 0), rgba(63, 63, 63), rgba(127, 127, 127),
                                      rgba(191, 191, 191)};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(p.at(x, y), expected[x]) << x << "," << y;
}

TEST(FillWithRamp, ClippedPartsKeepTheirParameter) {
    ColourRamp ramp;
    Picture p = blank(2, 3);
    // Laid from row -2 to row 2 over rows -2..2: visible rows 0, 1, 2 get t = 0.5, 0.75, 1.
    FillWithRamp(p, 0, -2, 2, 5, LaidRamp{&ramp, RampDirection::Vertical, -2, 2});
    EXPECT_EQ(p.at(0, 0), rgba(127, 127, 127));
    EXPECT_EQ(p.at(1, 1), rgba(191, 191, 191));
    EXPECT_EQ(p.at(0, 2), kWhite);
}

TEST(BlendWithRamp, UsesEachRampColoursAlpha) {
    ColourRamp ramp;
    AddStop(ramp, 0.0f, 0xDC000000u);
    AddStop(ramp, 1.0f, 0x00000000u);
    Picture p = blank(2, 4);
    FillRect(p, 0, 0, 2, 4, kWhite);
    BlendWithRamp(p, 0, 0, 2, 4, LaidRamp{&ramp, RampDirection::Vertical, 0, 4});
    // alpha 220, 165, 110, 55 by row: 255 - alpha
    EXPECT_EQ(p.at(0, 0), rgba(35, 35, 35));
    EXPECT_EQ(p.at(1, 1), rgba(90, 90, 90));
    EXPECT_EQ(p.at(0, 2), rgba(145, 145, 145));
    EXPECT_EQ(p.at(1, 3), rgba(200, 200, 200));
}

TEST(BlendWithRamp, ClipsToTheTarget) {
    ColourRamp ramp;
    AddStop(ramp, 0.0f, 0xFF0000FFu);
    Picture p = blank(3, 3);
    BlendWithRamp(p, 2, 2, 10, 10, LaidRamp{&ramp, RampDirection::Horizontal, 2, 12});
    EXPECT_EQ(p.at(2, 2), 0xFFu);
    EXPECT_EQ(countColour(p, 0xFF), 1);
    BlendWithRamp(p, 0, 0, 3, 3, LaidRamp{nullptr, RampDirection::Horizontal, 0, 3});
    EXPECT_EQ(countColour(p, 0xFF), 1);
}

TEST(AlphaPictures, WritesAreOpaqueAndBlendsComposeOver) {
    Picture p = blank(4, 1, true);
    FillRect(p, 0, 0, 1, 1, rgba(1, 2, 3, 0));
    EXPECT_EQ(p.at(0, 0), rgba(1, 2, 3, 255));
    DrawLine(p, 1, 0, 1, 0, rgba(4, 5, 6, 9));
    EXPECT_EQ(p.at(1, 0), rgba(4, 5, 6, 255));
    BlendRect(p, 2, 0, 1, 1, rgba(255, 255, 255, 100));  // over transparent black
    EXPECT_EQ(p.at(2, 0), rgba(100, 100, 100, 100));
    p.at(3, 0) = rgba(0, 0, 0, 128);
    BlendRect(p, 3, 0, 1, 1, rgba(0, 0, 0, 128));  // 128 + 128 x 127 / 255 = 191.7
    EXPECT_EQ(alpha(p.at(3, 0)), 191);
}

TEST(AlphaPictures, WithoutAlphaTheTopByteStaysZero) {
    Picture p = blank(2, 1);
    BlendRect(p, 0, 0, 2, 1, 0x64FFFFFFu);
    EXPECT_EQ(p.at(0, 0), rgba(100, 100, 100, 0));
}

TEST(CopyPicture, CopiesEverything) {
    Picture p = numbered(3, 2);
    p.hasAlpha = true;
    std::optional<Picture> c = CopyPicture(p);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->pixels, p.pixels);
    EXPECT_TRUE(c->hasAlpha);
    EXPECT_FALSE(CopyPicture(Picture{}));
}

TEST(Crop, TakesThePartAsked) {
    Picture p = numbered(5, 4);
    std::optional<Picture> c = Crop(p, 1, 2, 3, 2);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->width, 3);
    EXPECT_EQ(c->height, 2);
    EXPECT_EQ(c->at(0, 0), rgba(1, 2, 7));
    EXPECT_EQ(c->at(2, 1), rgba(3, 3, 7));
}

TEST(Crop, PartsOutsideTheSourceAreBlack) {
    Picture p = numbered(3, 3);
    FillRect(p, 0, 0, 3, 3, kWhite);
    std::optional<Picture> c = Crop(p, -1, -1, 3, 3);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->at(0, 0), 0u);
    EXPECT_EQ(c->at(0, 2), 0u);
    EXPECT_EQ(c->at(2, 0), 0u);
    EXPECT_EQ(c->at(1, 1), kWhite);
    EXPECT_EQ(countColour(*c, kWhite), 4);

    std::optional<Picture> beyond = Crop(p, 2, 0, 4, 1);
    ASSERT_TRUE(beyond);
    EXPECT_EQ(beyond->at(0, 0), kWhite);
    EXPECT_EQ(beyond->at(1, 0), 0u);

    std::optional<Picture> far = Crop(p, INT_MIN, INT_MAX, 2, 2);
    ASSERT_TRUE(far);
    EXPECT_EQ(countColour(*far, 0), 4);
}

TEST(Crop, FailsBelowOneByOne) {
    Picture p = numbered(3, 3);
    EXPECT_FALSE(Crop(p, 0, 0, 0, 3));
    EXPECT_FALSE(Crop(p, 0, 0, 3, 0));
    EXPECT_FALSE(Crop(p, 0, 0, -1, 2));
    EXPECT_TRUE(Crop(p, 0, 0, 1, 1));
}

TEST(Crop, KeepsAlpha) {
    Picture p = blank(2, 1, true);
    p.at(0, 0) = rgba(9, 8, 7, 66);
    std::optional<Picture> c = Crop(p, 0, 0, 3, 1);
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->hasAlpha);
    EXPECT_EQ(c->at(0, 0), rgba(9, 8, 7, 66));
    EXPECT_EQ(c->at(2, 0), 0u);  // outside: transparent black
}

TEST(DrawPicture, CopiesASourceWithoutAlpha) {
    Picture target = blank(4, 4);
    FillRect(target, 0, 0, 4, 4, kWhite);
    Picture source = numbered(2, 2);
    source.at(1, 1) = 0x05000000u;  // a stray top byte is not meaningful here
    DrawPicture(target, source, 1, 2);
    EXPECT_EQ(target.at(1, 2), rgba(0, 0, 7));
    EXPECT_EQ(target.at(2, 2), rgba(1, 0, 7));
    EXPECT_EQ(target.at(2, 3), 0u);
    EXPECT_EQ(target.at(0, 2), kWhite);
    EXPECT_EQ(target.at(1, 1), kWhite);
}

TEST(DrawPicture, BlendsASourceByItsOwnAlpha) {
    Picture target = blank(3, 1);
    FillRect(target, 0, 0, 3, 1, rgba(100, 0, 200));
    Picture source = blank(3, 1, true);
    source.at(0, 0) = rgba(200, 255, 0, 128);
    source.at(1, 0) = rgba(200, 255, 0, 0);
    source.at(2, 0) = rgba(200, 255, 0, 255);
    DrawPicture(target, source, 0, 0);
    EXPECT_EQ(target.at(0, 0), rgba(150, 128, 99));
    EXPECT_EQ(target.at(1, 0), rgba(100, 0, 200));
    EXPECT_EQ(target.at(2, 0), rgba(200, 255, 0));
}

TEST(DrawPicture, ClipsOnEverySide) {
    Picture source = numbered(3, 3);
    Picture target = blank(4, 4);
    FillRect(target, 0, 0, 4, 4, kWhite);
    DrawPicture(target, source, -2, -1);
    EXPECT_EQ(target.at(0, 0), rgba(2, 1, 7));
    EXPECT_EQ(target.at(0, 1), rgba(2, 2, 7));
    EXPECT_EQ(target.at(1, 0), kWhite);
    DrawPicture(target, source, 3, 3);
    EXPECT_EQ(target.at(3, 3), rgba(0, 0, 7));
    EXPECT_EQ(countColour(target, kWhite), 13);
    DrawPicture(target, source, INT_MIN, INT_MAX);
    DrawPicture(target, source, 4, 0);
    DrawPicture(target, source, 0, -3);
    EXPECT_EQ(countColour(target, kWhite), 13);
}

TEST(DrawPicture, OntoItselfReadsTheOldPixels) {
    Picture p = blank(3, 1);
    p.at(0, 0) = rgba(1, 0, 0);
    p.at(1, 0) = rgba(2, 0, 0);
    p.at(2, 0) = rgba(3, 0, 0);
    DrawPicture(p, p, 1, 0);
    EXPECT_EQ(p.at(0, 0), rgba(1, 0, 0));
    EXPECT_EQ(p.at(1, 0), rgba(1, 0, 0));
    EXPECT_EQ(p.at(2, 0), rgba(2, 0, 0));
}

TEST(DrawPicture, SourceWithoutAlphaMakesAnAlphaTargetOpaque) {
    Picture target = blank(1, 1, true);
    Picture source = blank(1, 1);
    source.at(0, 0) = rgba(5, 6, 7);
    DrawPicture(target, source, 0, 0);
    EXPECT_EQ(target.at(0, 0), rgba(5, 6, 7, 255));
}

TEST(Robustness, MalformedPicturesAreLeftAlone) {
    Picture broken;
    broken.width = 10;
    broken.height = 10;  // but no pixels
    FillRect(broken, 0, 0, 10, 10, kWhite);
    DrawLine(broken, 0, 0, 9, 0, kWhite);
    BlendRect(broken, 0, 0, 10, 10, 0xFFFFFFFFu);
    EXPECT_TRUE(broken.pixels.empty());
    Picture target = blank(2, 2);
    DrawPicture(target, broken, 0, 0);
    EXPECT_EQ(countColour(target, 0), 4);
    EXPECT_FALSE(Crop(broken, 0, 0, 1, 1));
}
