// Icon files: which entry is chosen, masks, alpha, PNG entries, damage.
#include <gtest/gtest.h>
#include <png.h>

#include "images/readers/ico_reader.h"
#include "test_support.h"

namespace vb::images {
namespace {

using pixels::rgba;
using test::Bytes;
using test::IconEntry;
using test::makeIconFile;
using test::solidIconDib;

std::optional<pixels::Picture> decode(const Bytes& b) { return DecodeIconFile(b.data(), b.size()); }

TEST(IcoReader, ChoosesDeepestEntryOfTheFirstEntrysSize) {
    // First entry 16x16: of the 16x16 ones the 8-bit entries are deepest;
    // the earlier of the two wins. The larger and deeper 32x32 is not a
    // candidate at all.
    Bytes file = makeIconFile({
        {16, 16, 4, solidIconDib(16, 4, 0x102030)},
        {32, 32, 32, solidIconDib(32, 32, 0x405060)},
        {16, 16, 8, solidIconDib(16, 8, 0x708090)},
        {16, 16, 8, solidIconDib(16, 8, 0xA0B0C0)},
        {48, 48, 32, solidIconDib(48, 32, 0xD0E0F0)},
    });
    auto p = decode(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 16);
    EXPECT_EQ(p->height, 16);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(5, 5), rgba(0x70, 0x80, 0x90, 255));
}

TEST(IcoReader, SingleEntryAtEachDepth) {
    for (int bits : {4, 8, 24, 32}) {
        auto p = decode(makeIconFile({{32, 32, bits, solidIconDib(32, bits, 0x336699)}}));
        ASSERT_TRUE(p) << bits;
        EXPECT_EQ(p->width, 32);
        EXPECT_EQ(p->at(31, 31), rgba(0x33, 0x66, 0x99, 255)) << bits;
    }
}

TEST(IcoReader, MaskMakesPixelsTransparent) {
    // 1-bit 2x2: colours by palette, mask top-left and bottom-right.
    std::vector<Bytes> rows = {{0x40}, {0x80}};  // top row: 0 1, bottom row: 1 0
    Bytes dib = test::makeIconDib(2, 2, 1, rows, {{1, 0}, {0, 1}}, {0x000000, 0xFFFFFF});
    auto p = decode(makeIconFile({{2, 2, 1, dib}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0) >> 24, 0u);
    EXPECT_EQ(p->at(1, 0), rgba(255, 255, 255, 255));
    EXPECT_EQ(p->at(0, 1), rgba(255, 255, 255, 255));
    EXPECT_EQ(p->at(1, 1) >> 24, 0u);
}

TEST(IcoReader, ThirtyTwoBitAlphaWinsOverTheMask) {
    std::vector<Bytes> rows = {{1, 2, 3, 200, 4, 5, 6, 0}};
    Bytes dib = test::makeIconDib(2, 1, 32, rows, {{1, 1}});
    auto p = decode(makeIconFile({{2, 1, 32, dib}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(3, 2, 1, 200));
    EXPECT_EQ(p->at(1, 0), rgba(6, 5, 4, 0));
}

TEST(IcoReader, ThirtyTwoBitWithoutAlphaFallsBackToTheMask) {
    std::vector<Bytes> rows = {{1, 2, 3, 0, 4, 5, 6, 0}};
    Bytes dib = test::makeIconDib(2, 1, 32, rows, {{0, 1}});
    auto p = decode(makeIconFile({{2, 1, 32, dib}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(3, 2, 1, 255));
    EXPECT_EQ(p->at(1, 0) >> 24, 0u);
}

TEST(IcoReader, PngCompressedEntry) {
    // 256 is stored as 0; the PNG here is 20x20 with alpha, first in the file.
    std::vector<std::uint32_t> pixels(20 * 20, rgba(10, 200, 30, 128));
    pixels[0] = rgba(1, 2, 3, 0);
    Bytes file = makeIconFile({
        {20, 20, 32, test::makeRgbaPng(20, 20, pixels)},
        {16, 16, 32, solidIconDib(16, 32, 0xFFFFFF)},
    });
    auto p = decode(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 20);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(1, 2, 3, 0));
    EXPECT_EQ(p->at(19, 19), rgba(10, 200, 30, 128));
}

TEST(IcoReader, PngEntryWithoutAlphaIsOpaque) {
    std::vector<Bytes> rows(2, Bytes{9, 8, 7, 9, 8, 7});
    Bytes png = test::makePng(2, 2, PNG_COLOR_TYPE_RGB, 8, rows);
    auto p = decode(makeIconFile({{2, 2, 24, png}}));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(1, 1), rgba(9, 8, 7, 255));
}

TEST(IcoReader, DamagedFilesAreRefused) {
    Bytes good = makeIconFile({{16, 16, 8, solidIconDib(16, 8, 0x123456)}});
    ASSERT_TRUE(decode(good));
    for (std::size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + n);
        EXPECT_FALSE(decode(cut)) << "length " << n;
    }
    Bytes noEntries = good;
    noEntries[4] = noEntries[5] = 0;
    EXPECT_FALSE(decode(noEntries));
    Bytes wrongType = good;
    wrongType[2] = 2;  // a cursor file
    EXPECT_FALSE(decode(wrongType));
    Bytes farOffset = good;
    farOffset[6 + 12] = farOffset[6 + 13] = farOffset[6 + 14] = farOffset[6 + 15] = 0xFF;
    EXPECT_FALSE(decode(farOffset));
    Bytes hugeSize = good;
    hugeSize[6 + 8] = hugeSize[6 + 9] = hugeSize[6 + 10] = hugeSize[6 + 11] = 0xFF;
    EXPECT_FALSE(decode(hugeSize));
    Bytes manyEntries = good;
    manyEntries[4] = manyEntries[5] = 0xFF;  // 65535 entries claimed, one there
    EXPECT_FALSE(decode(manyEntries));
}

TEST(IcoReader, TopDownIconImageIsRefused) {
    Bytes dib = solidIconDib(4, 24, 0x010101);
    dib[8] = 0xF8, dib[9] = dib[10] = dib[11] = 0xFF;  // height -8
    EXPECT_FALSE(decode(makeIconFile({{4, 4, 24, dib}})));
}

}  // namespace
}  // namespace vb::images
