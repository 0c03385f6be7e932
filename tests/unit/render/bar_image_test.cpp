// The pre-rendered bar: fills, gradients from stops, and the gloss.
#include <gtest/gtest.h>

#include "pixels/picture.h"
#include "render/bar_image.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

constexpr std::int32_t kRed = 255;  // red + 256 green + 65536 blue
constexpr std::int32_t kBlue = 16711680;
constexpr std::int32_t kGreen = 65280;

Picture build(int w, int h, std::int32_t kind, const std::vector<ColorStop>& stops, std::uint32_t solid,
              int glossy) {
    std::optional<Picture> p = BuildBarImage(w, h, kind, MakeBarStops(stops), solid, glossy);
    EXPECT_TRUE(p);
    return p ? *p : Picture{};
}

}  // namespace

TEST(BarImage, GlossOnAFullChannelMatchesTheWorkedRows) {
    Picture p = build(5, 20, kKindSolid, {}, 0xFFFFFF, 1);
    // Darkened by 220, 121, 110, 11; the upper ten rows then lightened by white at 100.
    EXPECT_EQ(p.at(0, 0), rgba(121, 121, 121));
    EXPECT_EQ(p.at(4, 9), rgba(181, 181, 181));
    EXPECT_EQ(p.at(2, 10), rgba(145, 145, 145));
    EXPECT_EQ(p.at(3, 19), rgba(244, 244, 244));
}

TEST(BarImage, GlossWorksOnEachChannelAlone) {
    Picture p = build(1, 20, kKindSolid, {}, 0x0000FF, 1);
    EXPECT_EQ(p.at(0, 0), rgba(121, 100, 100));  // black rows lighten to 25500 / 255
    EXPECT_EQ(p.at(0, 19), rgba(244, 0, 0));
}

TEST(BarImage, HeightOneWithGlossIsOnlyDarkened) {
    Picture p = build(3, 1, kKindSolid, {}, 0xFFFFFF, 1);
    EXPECT_EQ(p.at(0, 0), rgba(35, 35, 35));  // alpha 220; no light box of height 0
    Picture q = build(1, 1, kKindSolid, {}, rgba(200, 100, 0), 1);
    EXPECT_EQ(q.at(0, 0), rgba(27, 13, 0));  // 7000 / 255, 3500 / 255
}

TEST(BarImage, SolidWithoutGlossIsPlain) {
    Picture p = build(4, 3, kKindSolid, {}, 0xAB123456, 0);
    for (std::uint32_t c : p.pixels) EXPECT_EQ(c, 0x123456u);
}

TEST(BarImage, UnknownKindStaysBlack) {
    Picture p = build(4, 3, 7, {{0.0f, kRed}, {1.0f, kBlue}}, 0xFFFFFF, 0);
    for (std::uint32_t c : p.pixels) EXPECT_EQ(c, 0u);
}

TEST(BarImage, FailsOnlyWhenNoPictureCanBeMade) {
    EXPECT_FALSE(BuildBarImage(0, 10, kKindSolid, MakeBarStops({}), 0, 1));
    EXPECT_FALSE(BuildBarImage(10, -1, kKindGradient, MakeBarStops({}), 0, 1));
    EXPECT_TRUE(BuildBarImage(1, 1, kKindGradient, MakeBarStops({}), 0, 1));
}

TEST(Gradient, RunsFromTheFirstToTheLastStop) {
    Picture p = build(4, 2, kKindGradient, {{0.0f, kRed}, {1.0f, kBlue}}, 0, 0);
    EXPECT_EQ(p.at(0, 0), rgba(255, 0, 0));
    EXPECT_EQ(p.at(1, 1), rgba(191, 0, 63));  // t = 0.25: 191.25, 63.75
    EXPECT_EQ(p.at(2, 0), rgba(127, 0, 127));
    EXPECT_EQ(p.at(3, 1), rgba(63, 0, 191));
}

TEST(Gradient, StopOrderDoesNotMatter) {
    Picture forward = build(50, 3, kKindGradient, {{0.0f, kRed}, {1.0f, kBlue}}, 0, 1);
    Picture backward = build(50, 3, kKindGradient, {{1.0f, kBlue}, {0.0f, kRed}}, 0, 1);
    EXPECT_EQ(forward.pixels, backward.pixels);
}

TEST(Gradient, OfTwoStopsAtOnePlaceTheLaterWins) {
    Picture p = build(100, 1, kKindGradient, {{0.5f, kRed}, {0.5f, kGreen}}, 0, 0);
    EXPECT_EQ(p.at(50, 0), rgba(0, 255, 0));
    EXPECT_EQ(p.at(25, 0), rgba(0, 127, 0));      // halfway from black to the green
    EXPECT_EQ(p.at(75, 0), rgba(127, 255, 127));  // halfway from the green to white
}

TEST(Gradient, InnerStopsRunFromBlackAndTowardWhite) {
    Picture p = build(100, 1, kKindGradient, {{0.2f, kRed}, {0.8f, kBlue}}, 0, 0);
    EXPECT_EQ(p.at(0, 0), rgba(0, 0, 0));
    EXPECT_EQ(p.at(10, 0), rgba(127, 0, 0));  // c = 0.1 / 0.2: 127.49...
    EXPECT_EQ(p.at(21, 0), rgba(250, 0, 4));  // c = 0.01 / 0.6: 250.75, 4.25
    EXPECT_EQ(p.at(50, 0), rgba(127, 0, 127));
    // 0.8 as a 32-bit float lies a hair above column 80's t = 0.8, so that
    // column still mixes toward the stop: 255 x 0.99999998.
    EXPECT_EQ(p.at(80, 0), rgba(0, 0, 254));
    EXPECT_EQ(p.at(90, 0), rgba(127, 127, 255));
    EXPECT_EQ(p.at(99, 0), rgba(242, 242, 255));  // c = 0.19 / 0.2: 242.25
}

TEST(Gradient, WithoutStopsRunsFromBlackToWhite) {
    Picture p = build(256, 1, kKindGradient, {}, 0, 0);
    EXPECT_EQ(p.at(0, 0), rgba(0, 0, 0));
    EXPECT_EQ(p.at(128, 0), rgba(127, 127, 127));
    EXPECT_EQ(p.at(255, 0), rgba(254, 254, 254));  // 255 x 255 / 256 = 254.004
}

TEST(Gradient, ReadsStopsUpToTheUpperBoundOnly) {
    // The trailing element of a bar stop array is no stop, even when not zero.
    BarStops stops = MakeBarStops({{0.0f, kRed}, {1.0f, kRed}});
    stops.back() = ColorStop{0.5f, kBlue};
    std::optional<Picture> p = BuildBarImage(10, 1, kKindGradient, stops, 0, 0);
    ASSERT_TRUE(p);
    for (std::uint32_t c : p->pixels) EXPECT_EQ(c, rgba(255, 0, 0));
}
