// Image files decoded in bounded memory: a fitted image streams through the
// resampler with exactly the pixels of decode-then-fit, and a header's claim
// costs nothing before the data backs it.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <zlib.h>

#include <cstring>
#include <fstream>

#include "images/fit_image.h"
#include "images/image_file.h"
#include "images/readers/bmp_reader.h"
#include "images/readers/ico_reader.h"
#include "images/readers/jpeg_reader.h"
#include "images/readers/png_reader.h"
#include "test_support.h"

namespace vb::images {
namespace {

using test::Bytes;

// Peak resident memory of this process, in megabytes.
double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMeasuresMemory = false;  // the sanitizer's shadow memory swamps the figures
#else
constexpr bool kMeasuresMemory = true;
#endif

Bytes patternRows(int width, int height, int channels) {
    Bytes samples(static_cast<std::size_t>(width) * height * channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::uint8_t>((i * 7 + i / 13) & 0xFF);
    return samples;
}

std::vector<Bytes> splitRows(const Bytes& samples, int width, int height, int channels) {
    std::vector<Bytes> rows;
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    for (int y = 0; y < height; ++y)
        rows.emplace_back(samples.begin() + static_cast<std::ptrdiff_t>(y * stride),
                          samples.begin() + static_cast<std::ptrdiff_t>((y + 1) * stride));
    return rows;
}

std::optional<pixels::Picture> decodeThenFit(std::optional<pixels::Picture> whole) {
    if (whole && (whole->width > kImageBox || whole->height > kImageBox) &&
        !FitImageToBox(*whole, kImageBox, kImageBox))
        return std::nullopt;
    return whole;
}

std::optional<pixels::Picture> streamedFit(const Bytes& file) {
    FitSink sink(kImageBox, kImageBox);
    if (!DecodeImageDataInto(file.data(), file.size(), &sink)) return std::nullopt;
    return sink.Take();
}

void expectSame(const std::optional<pixels::Picture>& a, const std::optional<pixels::Picture>& b) {
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_EQ(a->width, b->width);
    EXPECT_EQ(a->height, b->height);
    EXPECT_EQ(a->hasAlpha, b->hasAlpha);
    EXPECT_EQ(a->pixels, b->pixels);
}

TEST(BoundedDecode, StreamedFitEqualsDecodeThenFit) {
    for (bool interlaced : {false, true}) {
        Bytes rgba = test::makePng(301, 77, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                                   splitRows(patternRows(301, 77, 4), 301, 77, 4), interlaced);
        expectSame(streamedFit(rgba), decodeThenFit(DecodePng(rgba.data(), rgba.size())));
        Bytes rgb = test::makePng(45, 200, PNG_COLOR_TYPE_RGB, 8,
                                  splitRows(patternRows(45, 200, 3), 45, 200, 3), interlaced);
        expectSame(streamedFit(rgb), decodeThenFit(DecodePng(rgb.data(), rgb.size())));
    }
    Bytes jpeg = test::makeJpeg(120, 90, 3, patternRows(120, 90, 3), 90);
    expectSame(streamedFit(jpeg), decodeThenFit(DecodeJpeg(jpeg.data(), jpeg.size())));
    // An icon file whose only entry is a PNG without alpha: opaque, fitted.
    Bytes inner = test::makePng(64, 64, PNG_COLOR_TYPE_RGB, 8, splitRows(patternRows(64, 64, 3), 64, 64, 3));
    Bytes ico = test::makeIconFile({{64, 64, 32, inner}});
    std::optional<pixels::Picture> icon = streamedFit(ico);
    expectSame(icon, decodeThenFit(DecodeIconFile(ico.data(), ico.size())));
    EXPECT_TRUE(icon->hasAlpha);
    EXPECT_EQ(icon->at(5, 5) >> 24, 255u);
    // A picture that fits the box is kept as it is.
    Bytes small = test::makePng(20, 10, PNG_COLOR_TYPE_RGB, 8, splitRows(patternRows(20, 10, 3), 20, 10, 3));
    expectSame(streamedFit(small), DecodePng(small.data(), small.size()));
}

TEST(BoundedDecode, HugeClaimsOnSmallFilesAreRefusedCheaply) {
    Bytes tiny = test::makePng(1, 1, PNG_COLOR_TYPE_GRAY, 1, {{0}});
    Bytes hostilePng = test::claimPngSize(tiny, 16384, 16384);
    Bytes hostileIco = test::makeIconFile({{0, 0, 32, hostilePng}});
    Bytes hostileJpeg =
        test::claimJpegFrame(test::makeJpeg(16, 16, 3, patternRows(16, 16, 3), 50), 16384, 16384);
    const double before = peakMegabytes();
    EXPECT_FALSE(streamedFit(hostilePng)) << hostilePng.size() << " bytes";
    EXPECT_FALSE(streamedFit(hostileIco));
    EXPECT_FALSE(streamedFit(hostileJpeg)) << hostileJpeg.size() << " bytes";
    EXPECT_FALSE(DecodePng(hostilePng.data(), hostilePng.size()));
    EXPECT_FALSE(DecodeJpeg(hostileJpeg.data(), hostileJpeg.size()));
    const double growth = peakMegabytes() - before;
    if (kMeasuresMemory) {
        EXPECT_LT(growth, 16.0) << "peak growth in MB";
    }
    RecordProperty("PeakGrowthMB", std::to_string(growth));
}

// Writes a width x height grey-gradient PNG row by row, so the test itself
// never holds the picture.
void writeLargePng(const std::string& path, int width, int height) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    Bytes row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 255 / width);
            row[3 * x + 1] = static_cast<std::uint8_t>(y * 255 / height);
            row[3 * x + 2] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

TEST(BoundedDecode, LargePngLoadsAsItsFittedIconInLittleMemory) {
    test::TempDir dir;
    const std::string path = dir.path("large.png");
    writeLargePng(path, 8000, 8000);
    const double before = peakMegabytes();
    std::optional<pixels::Picture> icon = LoadImageFile(path.c_str());
    const double growth = peakMegabytes() - before;
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    // The top-left cell averages x and y near 0: dark red and green.
    EXPECT_LT(icon->at(0, 0) & 0xFF, 8u);
    EXPECT_GT(icon->at(31, 0) & 0xFF, 240u);
    if (kMeasuresMemory) {
        EXPECT_LT(growth, 64.0) << "peak growth in MB";
    }
    RecordProperty("PeakGrowthMB", std::to_string(growth));
}

}  // namespace
}  // namespace vb::images

namespace vb::images {
namespace {

// A bitmap is decoded whole, so its data backing a claim is not enough: a
// 1-bit picture just over the held-pixel limit is refused, one at the
// limit loads.
TEST(BoundedDecode, WholeBitmapsStopAtTheHeldPixelLimit) {
    auto oneBit = [](int width, int height) {
        test::BmpLayout s;
        s.width = width, s.height = height, s.bitCount = 1, s.palette = {0x000000, 0xFFFFFF};
        return test::makeBmp(s, std::vector<Bytes>(static_cast<std::size_t>(height),
                                                   Bytes(static_cast<std::size_t>(width + 7) / 8, 0x55)));
    };
    static_assert(kMaxHeldPixels == 4096LL * 4096);
    Bytes over = oneBit(4097, 4096);
    EXPECT_FALSE(DecodeBmp(over.data(), over.size()));
    Bytes at = oneBit(4096, 4096);
    auto picture = DecodeBmp(at.data(), at.size());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->at(0, 0) & 0xFFFFFFu, 0u);
    EXPECT_EQ(picture->at(1, 0) & 0xFFFFFFu, 0xFFFFFFu);
}

}  // namespace
}  // namespace vb::images

namespace vb::images {
namespace {

using pixels::rgba;

// An icon file loads as the system's icon of its chosen image, drawn at its
// own size over transparency: visible pixels are the image's own, hidden
// ones carry nothing. A tall icon is drawn band by band into the sink.
TEST(IconFileImages, DrawnFromTheSystemsIcon) {
    std::vector<Bytes> rows = {{10, 20, 30, 255, 40, 50, 60, 0}, {70, 80, 90, 128, 1, 2, 3, 255}};
    Bytes file = test::makeIconFile({{2, 2, 32, test::makeIconDib(2, 2, 32, rows, {{0, 0}, {0, 0}})}});
    std::optional<pixels::Picture> loaded = DecodeImageData(file.data(), file.size());
    std::optional<pixels::Picture> read = DecodeIconFile(file.data(), file.size());
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(read);
    EXPECT_TRUE(loaded->hasAlpha);
    EXPECT_EQ(loaded->at(0, 0), rgba(30, 20, 10, 255));
    EXPECT_EQ(loaded->at(1, 0), 0u);
    EXPECT_EQ(read->at(1, 0), rgba(60, 50, 40, 0));  // the reader keeps the hidden colour
    EXPECT_EQ(loaded->at(0, 1), rgba(90, 80, 70, 128));
    EXPECT_EQ(loaded->at(1, 1), rgba(3, 2, 1, 255));

    // 40 rows cross the 32-row band; the fitted result equals fitting the
    // reader's whole picture, since every pixel is opaque.
    std::vector<Bytes> tall;
    for (int y = 0; y < 40; ++y) {
        Bytes row;
        for (int x = 0; x < 8; ++x)
            row.insert(row.end(), {std::uint8_t(x * 30), std::uint8_t(y * 6), 7, 255});
        tall.push_back(row);
    }
    Bytes tallFile = test::makeIconFile(
        {{8, 40, 32,
          test::makeIconDib(8, 40, 32, tall, std::vector<std::vector<int>>(40, std::vector<int>(8, 0)))}});
    expectSame(streamedFit(tallFile), decodeThenFit(DecodeIconFile(tallFile.data(), tallFile.size())));
}

}  // namespace
}  // namespace vb::images
