// Bitmap files of every depth, both row orders, masks and broken files.
#include <gtest/gtest.h>

#include <climits>

#include "images/readers/bmp_reader.h"
#include "test_support.h"

namespace vb::images {
namespace {

using pixels::rgba;
using test::BmpLayout;
using test::Bytes;

std::optional<pixels::Picture> decode(const Bytes& b) { return DecodeBmp(b.data(), b.size()); }

TEST(BmpReader, OneBitUsesItsTwoColourPalette) {
    BmpLayout s;
    s.width = 3, s.height = 2, s.bitCount = 1;
    s.palette = {0x0A141E, 0xC86432};
    // Top row 1 0 1, bottom row 0 1 1 (most significant bit first).
    auto p = decode(makeBmp(s, {{0xA0}, {0x60}}));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    ASSERT_EQ(p->width, 3);
    ASSERT_EQ(p->height, 2);
    const std::uint32_t a = rgba(0x0A, 0x14, 0x1E), b = rgba(0xC8, 0x64, 0x32);
    EXPECT_EQ(p->at(0, 0), b);
    EXPECT_EQ(p->at(1, 0), a);
    EXPECT_EQ(p->at(2, 0), b);
    EXPECT_EQ(p->at(0, 1), a);
    EXPECT_EQ(p->at(1, 1), b);
    EXPECT_EQ(p->at(2, 1), b);
}

TEST(BmpReader, FourBitTakesHighNibbleFirst) {
    BmpLayout s;
    s.width = 3, s.height = 1, s.bitCount = 4;
    for (std::uint32_t i = 0; i < 16; ++i) s.palette.push_back(i * 0x101010);
    auto p = decode(makeBmp(s, {{0x1F, 0x30}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(0x10, 0x10, 0x10));
    EXPECT_EQ(p->at(1, 0), rgba(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(p->at(2, 0), rgba(0x30, 0x30, 0x30));
}

TEST(BmpReader, EightBitIndexPastAShortPaletteIsBlack) {
    BmpLayout s;
    s.width = 2, s.height = 1, s.bitCount = 8;
    s.palette = {0x112233, 0x445566};
    s.colorsUsed = 2;
    auto p = decode(makeBmp(s, {{1, 200}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(0x44, 0x55, 0x66));
    EXPECT_EQ(p->at(1, 0), rgba(0, 0, 0));
}

TEST(BmpReader, SixteenBitPlainIsFiveFiveFive) {
    BmpLayout s;
    s.width = 3, s.height = 1, s.bitCount = 16;
    // 0x7FFF white; 0x7C00 pure red; 0x0010 blue 16 of 31 -> 16 * 255 / 31 = 131.6 -> 132.
    auto p = decode(makeBmp(s, {{0xFF, 0x7F, 0x00, 0x7C, 0x10, 0x00}}));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(255, 255, 255));
    EXPECT_EQ(p->at(1, 0), rgba(255, 0, 0));
    EXPECT_EQ(p->at(2, 0), rgba(0, 0, 132));
}

TEST(BmpReader, SixteenBitFieldsFiveSixFive) {
    BmpLayout s;
    s.width = 2, s.height = 1, s.bitCount = 16, s.compression = 3;
    s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x001F;
    // 0x07E0 full green; 0x0820: red 1 of 31 -> 8.2 -> 8, green 1 of 63 -> 4.05 -> 4.
    auto p = decode(makeBmp(s, {{0xE0, 0x07, 0x20, 0x08}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(0, 255, 0));
    EXPECT_EQ(p->at(1, 0), rgba(8, 4, 0));
}

TEST(BmpReader, TwentyFourBitBottomUpAndTopDownAgree) {
    // Rows are given top first; the builder stores them in the file's order.
    std::vector<Bytes> rows = {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}};
    BmpLayout s;
    s.width = 2, s.height = 2, s.bitCount = 24;
    for (bool topDown : {false, true}) {
        s.topDown = topDown;
        auto p = decode(makeBmp(s, rows));
        ASSERT_TRUE(p) << topDown;
        EXPECT_FALSE(p->hasAlpha);
        EXPECT_EQ(p->at(0, 0), rgba(3, 2, 1)) << topDown;
        EXPECT_EQ(p->at(1, 0), rgba(6, 5, 4)) << topDown;
        EXPECT_EQ(p->at(0, 1), rgba(9, 8, 7)) << topDown;
        EXPECT_EQ(p->at(1, 1), rgba(12, 11, 10)) << topDown;
    }
}

TEST(BmpReader, BottomUpRowsAreReversed) {
    BmpLayout s;
    s.width = 1, s.height = 3, s.bitCount = 24;
    Bytes file = makeBmp(s, {{0, 0, 1}, {0, 0, 2}, {0, 0, 3}});
    // The first stored row is the bottom one: red 3.
    const std::size_t bits = 14 + 40;
    EXPECT_EQ(file[bits + 2], 3);
    auto p = decode(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(1, 0, 0));
    EXPECT_EQ(p->at(0, 2), rgba(3, 0, 0));
}

TEST(BmpReader, ThirtyTwoBitKeepsItsAlpha) {
    BmpLayout s;
    s.width = 2, s.height = 1, s.bitCount = 32;
    auto p = decode(makeBmp(s, {{10, 20, 30, 0, 40, 50, 60, 128}}));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(30, 20, 10, 0));
    EXPECT_EQ(p->at(1, 0), rgba(60, 50, 40, 128));
}

TEST(BmpReader, ThirtyTwoBitWithAllAlphaZeroIsOpaque) {
    BmpLayout s;
    s.width = 2, s.height = 2, s.bitCount = 32;
    s.topDown = true;
    auto p = decode(makeBmp(s, {{1, 2, 3, 0, 4, 5, 6, 0}, {7, 8, 9, 0, 10, 11, 12, 0}}));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(3, 2, 1, 255));
    EXPECT_EQ(p->at(1, 1), rgba(12, 11, 10, 255));
}

TEST(BmpReader, VersionFiveHeaderWithAlphaMask) {
    BmpLayout s;
    s.width = 1, s.height = 1, s.bitCount = 32, s.compression = 3, s.v5 = true;
    // Red in the low byte, alpha in the second: an unusual but legal layout.
    s.masks[0] = 0x000000FF, s.masks[1] = 0x00FF0000, s.masks[2] = 0xFF000000, s.masks[3] = 0x0000FF00;
    auto p = decode(makeBmp(s, {{0x11, 0x22, 0x33, 0x44}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(0x11, 0x33, 0x44, 0x22));
}

TEST(BmpReader, CoreHeaderWithThreeBytePalette) {
    BmpLayout s;
    s.coreHeader = true;
    s.width = 2, s.height = 1, s.bitCount = 8;
    s.palette.assign(256, 0);
    s.palette[7] = 0xABCDEF;
    auto p = decode(makeBmp(s, {{7, 0}}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(0, 0), rgba(0xAB, 0xCD, 0xEF));
    EXPECT_EQ(p->at(1, 0), rgba(0, 0, 0));
}

TEST(BmpReader, SixteenBySixteenKeepsItsSizeAndRowPadding) {
    BmpLayout s;
    s.width = 5, s.height = 16, s.bitCount = 24;  // 15 bytes a row, padded to 16
    std::vector<Bytes> rows(16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 5; ++x) rows[y].insert(rows[y].end(), {std::uint8_t(x), std::uint8_t(y), 9});
    auto p = decode(makeBmp(s, rows));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->at(4, 15), rgba(9, 15, 4));
    EXPECT_EQ(p->at(2, 7), rgba(9, 7, 2));
}

class BrokenBmp : public ::testing::Test {
protected:
    Bytes valid() {
        BmpLayout s;
        s.width = 4, s.height = 4, s.bitCount = 24;
        return makeBmp(s, std::vector<Bytes>(4, Bytes(12, 0x55)));
    }
    static void set32(Bytes& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
    }
};

TEST_F(BrokenBmp, EveryTruncationIsRefused) {
    Bytes file = valid();
    ASSERT_TRUE(decode(file));
    for (std::size_t n = 0; n < file.size(); ++n) {
        Bytes cut(file.begin(), file.begin() + n);
        EXPECT_FALSE(DecodeBmp(cut.data(), cut.size())) << "length " << n;
    }
}

TEST_F(BrokenBmp, HostileHeaderFieldsAreRefused) {
    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    } cases[] = {
        {"pixel offset past the end", 10, 0xFFFFFFF0u},
        {"pixel offset inside the file header", 10, 4},
        {"width zero", 18, 0},
        {"width negative", 18, 0xFFFFFFFFu},
        {"width above the limit", 18, 16385},
        {"height above the limit", 22, 16385},
        {"height INT_MIN", 22, 0x80000000u},
        {"height zero", 22, 0},
        {"header size larger than the file", 14, 4000},
        {"unknown header size", 14, 20},
        {"seven bits per pixel", 28, 7 | (0u << 16)},
        {"run-length compression", 30, 1},
        {"embedded JPEG", 30, 4},
        {"pixels larger than the file", 18, 16384},
    };
    for (const Case& c : cases) {
        Bytes file = valid();
        if (c.at == 28) {
            file[28] = 7, file[29] = 0;
        } else {
            set32(file, c.at, c.value);
        }
        EXPECT_FALSE(decode(file)) << c.what;
    }
}

TEST_F(BrokenBmp, HugeColourTableCountIsRefusedOrBounded) {
    BmpLayout s;
    s.width = 1, s.height = 1, s.bitCount = 8;
    s.palette = {0x010203};
    s.colorsUsed = 0xFFFFFFFFu;  // only the one entry is really there
    auto p = decode(makeBmp(s, {{0}}));
    // The table would have to hold 256 entries; it holds one, so it is refused.
    EXPECT_FALSE(p);
}

}  // namespace
}  // namespace vb::images
