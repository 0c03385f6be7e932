// Run-length encoded bitmaps (RLE8 and RLE4), expanded as the system's
// bitmap calls expand them, and the damaged forms that are refused.
#include <gtest/gtest.h>

#include "images/readers/bmp_reader.h"
#include "test_support.h"

namespace vb::images {
namespace {

using pixels::rgba;
using test::BmpLayout;
using test::Bytes;

std::optional<pixels::Picture> decodeRle(int width, int height, int bitCount, const Bytes& bits) {
    BmpLayout s;
    s.width = width, s.height = height, s.bitCount = bitCount;
    s.compression = bitCount == 8 ? 1 : 2;
    for (std::uint32_t i = 0; i < 16; ++i) s.palette.push_back(i * 0x100000 + 0x0000AA);  // red = 16 i
    s.colorsUsed = 16;
    Bytes file = makeBmpWithBits(s, bits);
    return DecodeBmp(file.data(), file.size());
}

std::uint32_t colour(unsigned index) { return rgba(index * 16, 0, 0xAA); }

TEST(BmpRle, EightBitRunsLiteralsAndEscapes) {
    // Bottom row: a run of three 2s, then an absolute run 5 6 7 (padded);
    // end of line; top row: delta right 1 (and up 0), a run of two 9s; end.
    Bytes bits = {3, 2, 0, 3, 5, 6, 7, 0, 0, 0, 0, 2, 1, 0, 2, 9, 0, 1};
    auto p = decodeRle(6, 2, 8, bits);
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    const unsigned bottom[6] = {2, 2, 2, 5, 6, 7};
    const unsigned top[6] = {0, 9, 9, 0, 0, 0};  // skipped pixels keep entry 0
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(p->at(x, 1), colour(bottom[x])) << "bottom " << x;
        EXPECT_EQ(p->at(x, 0), colour(top[x])) << "top " << x;
    }
}

TEST(BmpRle, FourBitRunsAlternateTheirNibbles) {
    // A run of five from 0x12 gives 1 2 1 2 1; an absolute run of three
    // nibbles 3 4 5 takes two bytes and pads to a word.
    Bytes bits = {5, 0x12, 0, 3, 0x34, 0x50, 0, 1};
    auto p = decodeRle(8, 1, 4, bits);
    ASSERT_TRUE(p);
    const unsigned expected[8] = {1, 2, 1, 2, 1, 3, 4, 5};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(p->at(x, 0), colour(expected[x])) << x;
}

TEST(BmpRle, PixelsPastTheEdgesAreDropped) {
    // A run longer than the row, a delta up past the top, then more runs.
    Bytes bits = {200, 3, 0, 2, 0, 5, 4, 4, 0, 1};
    auto p = decodeRle(4, 2, 8, bits);
    ASSERT_TRUE(p);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(p->at(x, 1), colour(3));
        EXPECT_EQ(p->at(x, 0), colour(0));
    }
}

TEST(BmpRle, DamagedOrImpossibleDataIsRefused) {
    EXPECT_FALSE(decodeRle(4, 1, 8, {4, 1})) << "no end-of-bitmap code";
    EXPECT_FALSE(decodeRle(4, 1, 8, {0, 4, 1, 2})) << "an absolute run cut short";
    EXPECT_FALSE(decodeRle(4, 1, 8, {0, 2, 1})) << "a delta cut short";
    // A 16384 x 16384 claim from a few bytes is refused before allocating.
    EXPECT_FALSE(decodeRle(16384, 16384, 8, {0, 1}));
    // Run-length rows are bottom-up only, and only at 4 and 8 bits.
    BmpLayout s;
    s.width = 2, s.height = 1, s.bitCount = 8, s.compression = 1, s.topDown = true;
    s.palette = {0, 0xFFFFFF};
    Bytes topDown = makeBmpWithBits(s, {2, 1, 0, 1});
    EXPECT_FALSE(DecodeBmp(topDown.data(), topDown.size()));
    s.topDown = false, s.bitCount = 24;
    Bytes deep = makeBmpWithBits(s, {2, 1, 0, 1});
    EXPECT_FALSE(DecodeBmp(deep.data(), deep.size()));
}

}  // namespace
}  // namespace vb::images
