// PNG and JPEG decoding, and which decoder a file is given to.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

#include "images/image_file.h"
#include "images/readers/jpeg_reader.h"
#include "images/readers/png_reader.h"
#include "test_support.h"

namespace vb::images {
namespace {

using pixels::rgba;
using test::Bytes;

std::optional<pixels::Picture> png(const Bytes& b) { return DecodePng(b.data(), b.size()); }
std::optional<pixels::Picture> jpeg(const Bytes& b) { return DecodeJpeg(b.data(), b.size()); }

TEST(PngReader, RgbaKeepsEveryChannel) {
    std::vector<std::uint32_t> pixels = {rgba(1, 2, 3, 4), rgba(250, 128, 0, 255),
                                         rgba(0, 0, 0, 0), rgba(9, 99, 199, 77),
                                         rgba(5, 6, 7, 8), rgba(255, 255, 255, 255)};
    auto p = png(test::makeRgbaPng(3, 2, pixels));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    ASSERT_EQ(p->width, 3);
    ASSERT_EQ(p->height, 2);
    EXPECT_EQ(p->pixels, pixels);
}

TEST(PngReader, RgbWithoutAlpha) {
    auto p = png(test::makePng(2, 1, PNG_COLOR_TYPE_RGB, 8, {{10, 20, 30, 40, 50, 60}}));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(10, 20, 30));
    EXPECT_EQ(p->at(1, 0), rgba(40, 50, 60));
}

TEST(PngReader, PaletteWithTransparency) {
    // Two-bit indexes 0 1 2 3 in one byte; entry 1 half transparent.
    auto p = png(test::makePng(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {{0x1B}}, false,
                               {0xFF0000, 0x00FF00, 0x0000FF, 0x808080}, {255, 128}));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(255, 0, 0, 255));
    EXPECT_EQ(p->at(1, 0), rgba(0, 255, 0, 128));
    EXPECT_EQ(p->at(2, 0), rgba(0, 0, 255, 255));  // past the tRNS list: opaque
    EXPECT_EQ(p->at(3, 0), rgba(128, 128, 128, 255));
}

TEST(PngReader, SixteenBitGreyScalesToEightBits) {
    // 0xFFFF -> 255, 0x8080 -> 128, 0x0101 -> 1 (0x0101 * 255 / 65535 = 1.0).
    auto p = png(test::makePng(3, 1, PNG_COLOR_TYPE_GRAY, 16, {{0xFF, 0xFF, 0x80, 0x80, 0x01, 0x01}}));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(255, 255, 255));
    EXPECT_EQ(p->at(1, 0), rgba(128, 128, 128));
    EXPECT_EQ(p->at(2, 0), rgba(1, 1, 1));
}

TEST(PngReader, GreyWithAlpha) {
    auto p = png(test::makePng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{60, 90}}));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(0, 0), rgba(60, 60, 60, 90));
}

TEST(PngReader, InterlacedMatchesPlain) {
    const int w = 11, h = 9;
    std::vector<Bytes> rows(h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y].insert(rows[y].end(),
                           {std::uint8_t(x * 20), std::uint8_t(y * 25), std::uint8_t(x ^ y), 200});
    auto plain = png(test::makePng(w, h, PNG_COLOR_TYPE_RGBA, 8, rows, false));
    auto adam7 = png(test::makePng(w, h, PNG_COLOR_TYPE_RGBA, 8, rows, true));
    ASSERT_TRUE(plain);
    ASSERT_TRUE(adam7);
    EXPECT_EQ(plain->pixels, adam7->pixels);
    EXPECT_EQ(adam7->at(10, 8), rgba(200, 200, 10 ^ 8, 200));
}

TEST(PngReader, DamageAndLimits) {
    Bytes good = test::makePng(2, 2, PNG_COLOR_TYPE_RGB, 8, {Bytes(6, 7), Bytes(6, 8)});
    ASSERT_TRUE(png(good));
    for (std::size_t n = 0; n < good.size() - 12; ++n) {  // the IEND chunk is not needed
        Bytes cut(good.begin(), good.begin() + n);
        EXPECT_FALSE(png(cut)) << "length " << n;
    }
    Bytes badCrc = good;
    badCrc[29] ^= 0xFF;  // last byte of the IHDR CRC
    EXPECT_FALSE(png(badCrc));
    EXPECT_FALSE(png(test::makePng(16385, 1, PNG_COLOR_TYPE_GRAY, 1, {Bytes(2049, 0)})));
}

TEST(JpegReader, ColourComesBackClose) {
    Bytes samples;
    for (int i = 0; i < 16 * 16; ++i) samples.insert(samples.end(), {200, 100, 50});
    auto p = jpeg(test::makeJpeg(16, 16, 3, samples));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->width, 16);
    const std::uint32_t c = p->at(8, 8);
    EXPECT_NEAR(pixels::red(c), 200, 3);
    EXPECT_NEAR(pixels::green(c), 100, 3);
    EXPECT_NEAR(pixels::blue(c), 50, 3);
    EXPECT_EQ(pixels::alpha(c), 0);
}

TEST(JpegReader, GreyBecomesEqualChannels) {
    auto p = jpeg(test::makeJpeg(8, 8, 1, Bytes(64, 90)));
    ASSERT_TRUE(p);
    const std::uint32_t c = p->at(3, 3);
    EXPECT_NEAR(pixels::red(c), 90, 2);
    EXPECT_EQ(pixels::red(c), pixels::green(c));
    EXPECT_EQ(pixels::green(c), pixels::blue(c));
}

TEST(JpegReader, AdobeCmykIsInverted) {
    // Adobe CMYK stores 255 for no ink: (255, 128, 0, 255) is red 255,
    // green 128, blue 0.
    Bytes samples;
    for (int i = 0; i < 64; ++i) samples.insert(samples.end(), {255, 128, 0, 255});
    auto p = jpeg(test::makeJpeg(8, 8, 4, samples));
    ASSERT_TRUE(p);
    const std::uint32_t c = p->at(4, 4);
    EXPECT_NEAR(pixels::red(c), 255, 4);
    EXPECT_NEAR(pixels::green(c), 128, 4);
    EXPECT_NEAR(pixels::blue(c), 0, 4);
}

TEST(JpegReader, TruncatedOrDamagedIsRefused) {
    Bytes samples(32 * 32 * 3);
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::uint8_t>(i * 7);
    Bytes good = test::makeJpeg(32, 32, 3, samples, 90);
    ASSERT_TRUE(jpeg(good));
    for (std::size_t n : {std::size_t{2}, std::size_t{20}, good.size() / 2, good.size() - 40}) {
        Bytes cut(good.begin(), good.begin() + n);
        EXPECT_FALSE(jpeg(cut)) << "length " << n;
    }
    Bytes notJpeg = {0xFF, 0xD8, 0xFF, 0xFF, 0, 0};
    EXPECT_FALSE(jpeg(notJpeg));
}

TEST(ImageRecognition, FirstBytesChooseTheReader) {
    Bytes pngFile = test::makeRgbaPng(1, 1, {rgba(1, 2, 3, 4)});
    Bytes jpegFile = test::makeJpeg(8, 8, 1, Bytes(64, 0));
    test::BmpLayout s;
    Bytes bmpFile = test::makeBmp(s, {{1, 2, 3}});
    Bytes icoFile = test::makeIconFile({{4, 4, 24, test::solidIconDib(4, 24, 0x010203)}});

    auto fromPng = DecodeImageData(pngFile.data(), pngFile.size());
    ASSERT_TRUE(fromPng);
    EXPECT_EQ(fromPng->at(0, 0), rgba(1, 2, 3, 4));
    EXPECT_TRUE(DecodeImageData(jpegFile.data(), jpegFile.size()));
    auto fromBmp = DecodeImageData(bmpFile.data(), bmpFile.size());
    ASSERT_TRUE(fromBmp);
    EXPECT_EQ(fromBmp->at(0, 0), rgba(3, 2, 1));
    auto fromIco = DecodeImageData(icoFile.data(), icoFile.size());
    ASSERT_TRUE(fromIco);
    EXPECT_EQ(fromIco->at(0, 0), rgba(1, 2, 3, 255));

    // "BM" commits to the bitmap reader even when a PNG follows.
    Bytes bmThenPng = {'B', 'M'};
    bmThenPng.insert(bmThenPng.end(), pngFile.begin(), pngFile.end());
    EXPECT_FALSE(DecodeImageData(bmThenPng.data(), bmThenPng.size()));
    Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(DecodeImageData(text.data(), text.size()));
    EXPECT_FALSE(DecodeImageData(nullptr, 0));
}

TEST(ImageRecognition, RandomBytesNeverCrash) {
    std::srand(7);
    for (int round = 0; round < 300; ++round) {
        Bytes data(static_cast<std::size_t>(std::rand() % 200));
        for (std::uint8_t& b : data) b = static_cast<std::uint8_t>(std::rand());
        if (round % 4 == 0 && data.size() >= 2) data[0] = 'B', data[1] = 'M';
        if (round % 4 == 1 && data.size() >= 4) data[0] = data[1] = 0, data[2] = 1, data[3] = 0;
        if (round % 4 == 2 && data.size() >= 2) data[0] = 0xFF, data[1] = 0xD8;
        auto p = DecodeImageData(data.data(), data.size());
        if (p) {
            EXPECT_GE(p->width, 1);
            EXPECT_EQ(p->pixels.size(), static_cast<std::size_t>(p->width) * p->height);
        }
    }
}

}  // namespace
}  // namespace vb::images
