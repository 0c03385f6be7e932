// The stand-in shell's icons: handles, distinct looks, drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "pixels/picture.h"
#include "platform/platform.h"
#include "render/raster.h"
#include "test_support.h"

namespace vb::platform {
namespace {

using pixels::rgba;
using test::Bytes;

// The icon drawn over a transparent 32x32 buffer; empty when drawing fails.
std::vector<std::uint32_t> pixelsOf(Icon icon, int side = 32) {
    std::vector<std::uint32_t> buffer(static_cast<std::size_t>(side) * side, 0);
    if (!drawIcon(icon, side, side, buffer.data())) buffer.clear();
    destroyIcon(icon);
    return buffer;
}

TEST(SimIcons, EachSourceHasItsOwnLook) {
    std::vector<std::vector<std::uint32_t>> looks = {
        pixelsOf(shellTypeIcon(".txt")),      pixelsOf(shellTypeIcon(".doc")),
        pixelsOf(shellTypeIcon(".png")),      pixelsOf(shellTypeIcon(".")),
        pixelsOf(shellFolderIcon("C:\\x\\")), pixelsOf(shellDriveIcon("C:\\")),
        pixelsOf(shellDriveIcon("A:\\")),     pixelsOf(shellDriveIcon("\\\\server\\share")),
        pixelsOf(shellFallbackIcon()),
    };
    std::set<std::vector<std::uint32_t>> distinct;
    for (const auto& look : looks) {
        ASSERT_EQ(look.size(), 32u * 32u);
        distinct.insert(look);
    }
    EXPECT_EQ(distinct.size(), looks.size());
}

TEST(SimIcons, ExtensionCaseAndDotDoNotMatter) {
    EXPECT_EQ(pixelsOf(shellTypeIcon(".TXT")), pixelsOf(shellTypeIcon(".txt")));
    EXPECT_EQ(pixelsOf(shellTypeIcon("txt")), pixelsOf(shellTypeIcon(".txt")));
    EXPECT_EQ(pixelsOf(shellDriveIcon("D:\\")), pixelsOf(shellDriveIcon("E:\\")));
}

TEST(SimIcons, IconsHaveTransparentCornersAndOpaqueBodies) {
    for (Icon icon :
         {shellTypeIcon(".txt"), shellFolderIcon("x"), shellDriveIcon("C:\\"), shellFallbackIcon()}) {
        auto px = pixelsOf(icon);
        ASSERT_EQ(px.size(), 32u * 32u);
        EXPECT_EQ(pixels::alpha(px[0]), 0);
        EXPECT_EQ(pixels::alpha(px[16 * 32 + 16]), 255);
    }
}

TEST(SimIcons, AssociationFollowsTheExtension) {
    test::TempDir dir;
    std::string file = dir.write("report.TxT", {'x'});
    EXPECT_EQ(pixelsOf(shellFileIcon(file.c_str())), pixelsOf(shellTypeIcon(".txt")));
    EXPECT_EQ(pixelsOf(shellFileIcon(dir.root().c_str())), pixelsOf(shellFolderIcon("x")));
    EXPECT_EQ(shellFileIcon(dir.path("missing.txt").c_str()), nullptr);
    // An icon file shows its own picture.
    std::string ico =
        dir.write("own.ico", test::makeIconFile({{32, 32, 32, test::solidIconDib(32, 32, 0x0000FF)}}));
    auto own = pixelsOf(shellFileIcon(ico.c_str()));
    ASSERT_EQ(own.size(), 32u * 32u);
    EXPECT_EQ(own[100], rgba(0, 0, 255, 255));
}

TEST(SimIcons, InventedAndDestroyedHandlesAreRejected) {
    std::vector<std::uint32_t> buffer(32 * 32, 0);
    EXPECT_FALSE(drawIcon(nullptr, 32, 32, buffer.data()));
    EXPECT_FALSE(drawIcon(reinterpret_cast<Icon>(std::uintptr_t{4242}), 32, 32, buffer.data()));
    destroyIcon(reinterpret_cast<Icon>(std::uintptr_t{4242}));  // harmless
    Icon icon = shellFallbackIcon();
    EXPECT_FALSE(drawIcon(icon, 0, 32, buffer.data()));
    EXPECT_FALSE(drawIcon(icon, 32, 32, nullptr));
    EXPECT_TRUE(drawIcon(icon, 32, 32, buffer.data()));
    destroyIcon(icon);
    EXPECT_FALSE(drawIcon(icon, 32, 32, buffer.data()));
    Icon next = shellFallbackIcon();
    EXPECT_NE(next, icon);  // handles are not reused
    destroyIcon(next);
}

class IconFromFile : public ::testing::Test {
protected:
    // A 2x2 32-bit icon: opaque red, half-transparent red, transparent, opaque blue.
    Icon load() {
        std::vector<Bytes> rows = {{0, 0, 200, 255, 0, 0, 200, 128}, {9, 9, 9, 0, 250, 0, 0, 255}};
        Bytes dib = test::makeIconDib(2, 2, 32, rows, {{0, 0}, {0, 0}});
        path = dir.write("two.ico", test::makeIconFile({{2, 2, 32, dib}}));
        return extractIcon(path.c_str(), 0);
    }
    test::TempDir dir;
    std::string path;
};

// The platform gives colour and coverage; render blends them onto a bar.
TEST_F(IconFromFile, RenderBlendsItOverAnOpaqueTargetWithTheIntegerRule) {
    Icon icon = load();
    ASSERT_NE(icon, nullptr);
    std::optional<pixels::Picture> drawn = pixels::makePicture(2, 2, true);
    ASSERT_TRUE(drawn);
    std::fill(drawn->pixels.begin(), drawn->pixels.end(), rgba(9, 9, 9, 9));  // overwritten, not blended
    ASSERT_TRUE(drawIcon(icon, 2, 2, drawn->pixels.data()));
    destroyIcon(icon);
    std::optional<pixels::Picture> bar = pixels::makePicture(2, 2, false);
    ASSERT_TRUE(bar);
    std::fill(bar->pixels.begin(), bar->pixels.end(), rgba(100, 100, 100));
    render::DrawPicture(*bar, *drawn, 0, 0);
    EXPECT_EQ(bar->pixels[0], rgba(200, 0, 0));
    // (100 * 127 + 200 * 128) div 255 = 150; (100 * 127) div 255 = 49
    EXPECT_EQ(bar->pixels[1], rgba(150, 49, 49));
    EXPECT_EQ(bar->pixels[2], rgba(100, 100, 100));
    EXPECT_EQ(bar->pixels[3], rgba(0, 0, 250));
}

TEST_F(IconFromFile, OverTransparencyKeepsTheIconsOwnPixels) {
    Icon icon = load();
    ASSERT_NE(icon, nullptr);
    std::vector<std::uint32_t> buffer(4, 0);
    ASSERT_TRUE(drawIcon(icon, 2, 2, buffer.data()));
    destroyIcon(icon);
    EXPECT_EQ(buffer[0], rgba(200, 0, 0, 255));
    EXPECT_EQ(buffer[1], rgba(200, 0, 0, 128));
    EXPECT_EQ(buffer[2], 0u);
    EXPECT_EQ(buffer[3], rgba(0, 0, 250, 255));
}

TEST_F(IconFromFile, ScalesByNearestPixel) {
    Icon icon = load();
    ASSERT_NE(icon, nullptr);
    std::vector<std::uint32_t> buffer(16, 0);
    ASSERT_TRUE(drawIcon(icon, 4, 4, buffer.data()));
    destroyIcon(icon);
    EXPECT_EQ(buffer[0], rgba(200, 0, 0, 255));
    EXPECT_EQ(buffer[1 * 4 + 1], rgba(200, 0, 0, 255));
    EXPECT_EQ(buffer[0 * 4 + 3], rgba(200, 0, 0, 128));
    EXPECT_EQ(buffer[3 * 4 + 0], 0u);
    EXPECT_EQ(buffer[3 * 4 + 3], rgba(0, 0, 250, 255));
}

TEST_F(IconFromFile, IconFileCountsOneAndTakesTheImageNearest32) {
    Bytes file = test::makeIconFile({
        {16, 16, 32, test::solidIconDib(16, 32, 0x000010)},
        {32, 32, 4, test::solidIconDib(32, 4, 0x000020)},
        {32, 32, 8, test::solidIconDib(32, 8, 0x000030)},
        {48, 48, 32, test::solidIconDib(48, 32, 0x000040)},
    });
    std::string p = dir.write("many.ico", file);
    EXPECT_EQ(iconCount(p.c_str()), 1);
    auto px = pixelsOf(extractIcon(p.c_str(), 0));
    ASSERT_EQ(px.size(), 32u * 32u);
    EXPECT_EQ(px[33], rgba(0, 0, 0x30, 255));
    EXPECT_EQ(extractIcon(p.c_str(), 1), nullptr);
    EXPECT_EQ(extractIcon(p.c_str(), -1), nullptr);
}

// Icons made from one image's bytes, as the system makes them from a
// resource: at the requested size, or the image's own where a side is 0.
TEST(IconFromResource, MadeAtTheRequestedSize) {
    std::vector<Bytes> rows = {{0, 0, 200, 255, 0, 0, 200, 128}, {9, 9, 9, 0, 250, 0, 0, 255}};
    const Bytes dib = test::makeIconDib(2, 2, 32, rows, {{0, 0}, {0, 0}});
    Size size;

    Icon own = createIconFromResourceEx(dib.data(), dib.size(), 2, 2);
    ASSERT_TRUE(iconSize(own, &size));
    EXPECT_EQ(size.width, 2);
    EXPECT_EQ(size.height, 2);
    auto px = pixelsOf(own, 2);
    EXPECT_EQ(px[1], rgba(200, 0, 0, 128));
    EXPECT_EQ(px[2], 0u);  // transparent: nothing drawn

    Icon zero = createIconFromResourceEx(dib.data(), dib.size(), 0, 0);
    ASSERT_TRUE(iconSize(zero, &size));
    EXPECT_EQ(size.width, 2);
    destroyIcon(zero);

    Icon wide = createIconFromResourceEx(dib.data(), dib.size(), 4, 2);
    ASSERT_TRUE(iconSize(wide, &size));
    EXPECT_EQ(size.width, 4);
    EXPECT_EQ(size.height, 2);
    px = pixelsOf(wide, 2);  // drawn back at 2 x 2 by nearest pixel
    EXPECT_EQ(px[0], rgba(200, 0, 0, 255));

    Icon large = createIconFromResource(dib.data(), dib.size());
    ASSERT_TRUE(iconSize(large, &size));
    EXPECT_EQ(size.width, 32);
    EXPECT_EQ(size.height, 32);
    destroyIcon(large);
    EXPECT_FALSE(iconSize(large, &size));

    EXPECT_EQ(createIconFromResourceEx(dib.data(), dib.size(), -1, 2), nullptr);
    EXPECT_EQ(createIconFromResourceEx(dib.data(), 40, 2, 2), nullptr);  // header only
    EXPECT_EQ(createIconFromResourceEx(nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(createIconFromResource(dib.data(), 10), nullptr);
}

TEST(IconFromResource, BandsDrawTheSameRowsAsTheWhole) {
    Icon icon = shellTypeIcon(".txt");
    ASSERT_NE(icon, nullptr);
    std::vector<std::uint32_t> whole(24 * 24, 0), band(24 * 5, 0);
    ASSERT_TRUE(drawIcon(icon, 24, 24, whole.data()));
    ASSERT_TRUE(drawIconRows(icon, 24, 24, 19, 5, band.data()));
    EXPECT_TRUE(std::equal(band.begin(), band.end(), whole.begin() + 19 * 24));
    EXPECT_FALSE(drawIconRows(icon, 24, 24, 20, 5, band.data()));  // past the last row
    EXPECT_FALSE(drawIconRows(icon, 24, 24, -1, 5, band.data()));
    EXPECT_FALSE(drawIconRows(icon, 24, 24, 0, 0, band.data()));
    destroyIcon(icon);
}

}  // namespace
}  // namespace vb::platform
