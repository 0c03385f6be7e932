// PNG files written and read back through libpng's simple reader.
#include <gtest/gtest.h>

#include <png.h>
#include "tests/unit/support/scratch_folder.h"

#include <cstdio>
#include <string>
#include <vector>

#include "render/png_writer.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

// One folder per test process: tests run in parallel.
std::string tempPath(const char* name) {
    static vb::testing::ScratchFolder folder;
    return folder.path(name);
}

std::vector<std::uint8_t> readRgba(const std::string& path, int* w, int* h, bool* hadAlpha) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<std::uint8_t> pixels;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return pixels;
    *hadAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) pixels.clear();
    *w = static_cast<int>(image.width);
    *h = static_cast<int>(image.height);
    return pixels;
}

}  // namespace

TEST(WritePng, WritesRgbPixelsInOrder) {
    std::optional<Picture> p = makePicture(3, 2);
    ASSERT_TRUE(p);
    p->at(0, 0) = rgba(255, 0, 0);
    p->at(2, 0) = rgba(0, 0, 255);
    p->at(1, 1) = rgba(1, 2, 3);
    std::string path = tempPath("render_rgb.png");
    ASSERT_TRUE(WritePng(*p, path.c_str()));
    int w = 0, h = 0;
    bool hadAlpha = true;
    std::vector<std::uint8_t> px = readRgba(path, &w, &h, &hadAlpha);
    ASSERT_EQ(px.size(), 3u * 2u * 4u);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_FALSE(hadAlpha);
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(px[8 + 2], 255);  // (2,0) blue
    EXPECT_EQ(px[(3 + 1) * 4 + 0], 1);
    EXPECT_EQ(px[(3 + 1) * 4 + 1], 2);
    EXPECT_EQ(px[(3 + 1) * 4 + 2], 3);
    EXPECT_EQ(px[(3 + 1) * 4 + 3], 255);
    std::remove(path.c_str());
}

TEST(WritePng, KeepsAlphaWhenThePictureCarriesIt) {
    std::optional<Picture> p = makePicture(2, 1, true);
    ASSERT_TRUE(p);
    p->at(0, 0) = rgba(10, 20, 30, 40);
    p->at(1, 0) = rgba(50, 60, 70, 255);
    std::string path = tempPath("render_rgba.png");
    ASSERT_TRUE(WritePng(*p, path.c_str()));
    int w = 0, h = 0;
    bool hadAlpha = false;
    std::vector<std::uint8_t> px = readRgba(path, &w, &h, &hadAlpha);
    ASSERT_EQ(px.size(), 8u);
    EXPECT_TRUE(hadAlpha);
    EXPECT_EQ(std::vector<std::uint8_t>(px.begin(), px.end()),
              (std::vector<std::uint8_t>{10, 20, 30, 40, 50, 60, 70, 255}));
    std::remove(path.c_str());
}

TEST(WritePng, FailsCleanly) {
    std::optional<Picture> p = makePicture(2, 2);
    ASSERT_TRUE(p);
    EXPECT_FALSE(WritePng(*p, "/nonexistent-folder/x.png"));
    EXPECT_FALSE(WritePng(*p, nullptr));
    EXPECT_FALSE(WritePng(Picture{}, tempPath("render_empty.png").c_str()));
}
