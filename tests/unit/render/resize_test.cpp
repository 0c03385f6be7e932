// Area-average resizing: every new pixel the mean of the area it covers.
#include <gtest/gtest.h>

#include "render/raster.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

Picture row(std::initializer_list<std::uint32_t> pixels, bool hasAlpha = false) {
    std::optional<Picture> p = makePicture(static_cast<int>(pixels.size()), 1, hasAlpha);
    EXPECT_TRUE(p);
    if (!p) return Picture{};
    p->pixels.assign(pixels);
    return *p;
}

}  // namespace

TEST(Resize, HalvingAveragesPairs) {
    Picture p = row({rgba(0, 10, 0), rgba(100, 20, 0), rgba(200, 30, 1), rgba(50, 40, 3)});
    ASSERT_TRUE(Resize(p, 2, 1));
    EXPECT_EQ(p.width, 2);
    EXPECT_EQ(p.height, 1);
    EXPECT_EQ(p.at(0, 0), rgba(50, 15, 0));
    EXPECT_EQ(p.at(1, 0), rgba(125, 35, 2));
}

TEST(Resize, PartlyCoveredPixelsCountByTheirShare) {
    // Three into two: each new pixel covers one and a half old ones.
    Picture p = row({rgba(0, 0, 0), rgba(90, 0, 0), rgba(210, 0, 0)});
    ASSERT_TRUE(Resize(p, 2, 1));
    EXPECT_EQ(red(p.at(0, 0)), 30);   // (0 x 1 + 90 x 0.5) / 1.5
    EXPECT_EQ(red(p.at(1, 0)), 170);  // (90 x 0.5 + 210 x 1) / 1.5
}

TEST(Resize, GrowingRepeatsPixels) {
    Picture p = row({rgba(0, 0, 0), rgba(255, 255, 255)});
    ASSERT_TRUE(Resize(p, 4, 3));
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(p.at(0, y), 0u);
        EXPECT_EQ(p.at(1, y), 0u);
        EXPECT_EQ(p.at(2, y), 0xFFFFFFu);
        EXPECT_EQ(p.at(3, y), 0xFFFFFFu);
    }
}

TEST(Resize, ShrinksBothWays) {
    std::optional<Picture> p = makePicture(2, 2);
    ASSERT_TRUE(p);
    p->pixels = {rgba(10, 0, 0), rgba(20, 0, 0), rgba(30, 0, 0), rgba(40, 0, 0)};
    ASSERT_TRUE(Resize(*p, 1, 1));
    EXPECT_EQ(p->at(0, 0), rgba(25, 0, 0));
}

TEST(Resize, KeepsAlphaAndWeighsColoursByIt) {
    // Opaque red next to transparent blue: half covered, and no blue bleeds in.
    Picture p = row({rgba(255, 0, 0, 255), rgba(0, 0, 255, 0)}, true);
    ASSERT_TRUE(Resize(p, 1, 1));
    EXPECT_TRUE(p.hasAlpha);
    EXPECT_EQ(p.at(0, 0), rgba(255, 0, 0, 128));  // alpha 127.5, rounded

    Picture clear = row({rgba(9, 9, 9, 0), rgba(9, 9, 9, 0)}, true);
    ASSERT_TRUE(Resize(clear, 1, 1));
    EXPECT_EQ(clear.at(0, 0), 0u);
}

TEST(Resize, SameSizeChangesNothing) {
    Picture p = row({rgba(1, 2, 3), rgba(4, 5, 6)});
    std::vector<std::uint32_t> before = p.pixels;
    ASSERT_TRUE(Resize(p, 2, 1));
    EXPECT_EQ(p.pixels, before);
}

TEST(Resize, FailsBelowOnePixelAndLeavesThePicture) {
    Picture p = row({rgba(1, 2, 3), rgba(4, 5, 6)});
    std::vector<std::uint32_t> before = p.pixels;
    EXPECT_FALSE(Resize(p, 0, 1));
    EXPECT_FALSE(Resize(p, 1, 0));
    EXPECT_FALSE(Resize(p, -4, 3));
    EXPECT_FALSE(Resize(p, kMaxPictureSide + 1, 1));
    EXPECT_EQ(p.width, 2);
    EXPECT_EQ(p.pixels, before);
    Picture empty;
    EXPECT_FALSE(Resize(empty, 3, 3));
}
