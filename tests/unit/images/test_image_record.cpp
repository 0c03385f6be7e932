// Loading records of every kind, the registry, fitting and icon pictures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "images/fit_image.h"
#include "images/icon_image.h"
#include "images/image_record.h"
#include "test_support.h"

namespace vb::images {
namespace {

using pixels::rgba;
using test::Bytes;

std::vector<std::uint32_t> filled(int w, int h, std::uint32_t c) {
    return std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, c);
}

class ImageRecords : public ::testing::Test {
protected:
    void TearDown() override { ReleaseAllImages(); }

    ImageHandle loadPng(int w, int h) {
        std::string path = dir.write("p.png", test::makeRgbaPng(w, h, filled(w, h, rgba(10, 20, 30, 255))));
        return LoadImageRecord(kImageFile, path.c_str(), 0);
    }
    const pixels::Picture& pictureOf(ImageHandle h) { return FindImageRecord(h)->picture; }

    test::TempDir dir;
};

TEST_F(ImageRecords, LargePicturesAreFittedInto32) {
    ImageHandle a = loadPng(64, 48);
    ASSERT_NE(a, 0u);
    EXPECT_EQ(pictureOf(a).width, 32);
    EXPECT_EQ(pictureOf(a).height, 24);
    ImageHandle b = loadPng(100, 300);
    ASSERT_NE(b, 0u);
    EXPECT_EQ(pictureOf(b).width, 10);
    EXPECT_EQ(pictureOf(b).height, 32);
    // A uniform picture stays uniform through the smooth resize.
    EXPECT_EQ(pictureOf(b).at(5, 16), rgba(10, 20, 30, 255));
}

TEST_F(ImageRecords, SmallBitmapKeepsItsSizeAndPixels) {
    test::BmpLayout s;
    s.width = 16, s.height = 16, s.bitCount = 24;
    std::vector<Bytes> rows(16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) rows[y].insert(rows[y].end(), {std::uint8_t(x), std::uint8_t(y), 0});
    std::string path = dir.write("small.bmp", test::makeBmp(s, rows));
    ImageHandle h = LoadImageRecord(kImageFile, path.c_str(), 0);
    ASSERT_NE(h, 0u);
    const ImageRecord* r = FindImageRecord(h);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->kind, kImageFile);
    EXPECT_EQ(r->picture.width, 16);
    EXPECT_EQ(r->picture.height, 16);
    EXPECT_EQ(r->picture.at(3, 12), rgba(0, 12, 3));
}

TEST_F(ImageRecords, UnreadableImageFilesGiveNothing) {
    std::string png = dir.write("cut.png", test::makeRgbaPng(8, 8, filled(8, 8, 0)));
    Bytes bytes = test::makeRgbaPng(8, 8, filled(8, 8, 0));
    bytes.resize(bytes.size() / 2);
    std::string cut = dir.write("half.png", bytes);
    std::string empty = dir.write("empty.png", {});
    EXPECT_EQ(LoadImageRecord(kImageFile, cut.c_str(), 0), 0u);
    EXPECT_EQ(LoadImageRecord(kImageFile, empty.c_str(), 0), 0u);
    EXPECT_EQ(LoadImageRecord(kImageFile, dir.path("missing.png").c_str(), 0), 0u);
    EXPECT_EQ(LoadImageRecord(kImageFile, dir.root().c_str(), 0), 0u);
    EXPECT_EQ(ImageRegistrySize(), 0u);
}

TEST_F(ImageRecords, RegistryKeepsLoadOrder) {
    ImageHandle a = LoadImageRecord(kExtension, "txt", 0);
    ImageHandle b = LoadImageRecord(kFolder, "C:\\Temp", 0);
    ImageHandle c = LoadImageRecord(kDrive, "C:\\", 0);
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    ASSERT_NE(c, 0u);
    EXPECT_EQ(ImageRegistryPosition(a), 1);
    EXPECT_EQ(ImageRegistryPosition(b), 2);
    EXPECT_EQ(ImageRegistryPosition(c), 3);
    EXPECT_TRUE(FreeImageRecord(b));
    EXPECT_EQ(ImageRegistryPosition(b), 0);
    EXPECT_EQ(FindImageRecord(b), nullptr);
    EXPECT_EQ(ImageRegistryPosition(c), 2);
    EXPECT_FALSE(FreeImageRecord(b));  // once only
    EXPECT_FALSE(FreeImageRecord(0));
    EXPECT_FALSE(FreeImageRecord(a + 1));  // an invented number
    EXPECT_EQ(FindImageRecord(0), nullptr);
    EXPECT_EQ(ImageRegistrySize(), 2u);
}

TEST_F(ImageRecords, FreeDestroysTheIcon) {
    ImageHandle h = LoadImageRecord(kExtension, "doc", 0);
    ASSERT_NE(h, 0u);
    platform::Icon icon = FindImageRecord(h)->icon.get();
    std::vector<std::uint32_t> buffer(32 * 32, 0);
    ASSERT_TRUE(platform::drawIcon(icon, 32, 32, buffer.data()));
    EXPECT_TRUE(FreeImageRecord(h));
    EXPECT_FALSE(platform::drawIcon(icon, 32, 32, buffer.data()));
}

TEST_F(ImageRecords, TypesOutsideOneToSixAndNullPathsGiveNothing) {
    EXPECT_EQ(LoadImageRecord(0, "x", 0), 0u);
    EXPECT_EQ(LoadImageRecord(7, "x", 0), 0u);
    EXPECT_EQ(LoadImageRecord(-1, "x", 0), 0u);
    EXPECT_EQ(LoadImageRecord(kExtension, nullptr, 0), 0u);
}

TEST_F(ImageRecords, AssociationNeedsAnExistingFile) {
    std::string file = dir.write("notes.txt", {'h', 'i'});
    EXPECT_NE(LoadImageRecord(kAssociation, file.c_str(), 0), 0u);
    EXPECT_EQ(LoadImageRecord(kAssociation, dir.path("gone.txt").c_str(), 0), 0u);
    EXPECT_EQ(LoadImageRecord(kAssociation, dir.root().c_str(), 0), 0u);
    EXPECT_EQ(LoadImageRecord(kAssociation, "", 0), 0u);
}

TEST_F(ImageRecords, ExtensionFolderAndDriveNeedNoFile) {
    EXPECT_NE(LoadImageRecord(kExtension, "no-such-type", 0), 0u);
    EXPECT_NE(LoadImageRecord(kExtension, "", 0), 0u);
    EXPECT_NE(LoadImageRecord(kFolder, "Z:\\nowhere\\", 0), 0u);
    EXPECT_NE(LoadImageRecord(kDrive, "Q:\\", 0), 0u);
}

TEST_F(ImageRecords, ExecutableIconsByIndex) {
    test::PeGroup first{7, u"", {{32, 32, 8, {}}}, {1}};
    test::PeGroup second{9, u"", {{32, 32, 8, {}}}, {2}};
    Bytes pe =
        test::makePe(false, {first, second},
                     {{1, test::solidIconDib(32, 8, 0x112233)}, {2, test::solidIconDib(32, 8, 0x445566)}});
    std::string path = dir.write("tool.exe", pe);
    EXPECT_NE(LoadImageRecord(kExecutable, path.c_str(), 0), 0u);
    EXPECT_NE(LoadImageRecord(kExecutable, path.c_str(), 1), 0u);
    EXPECT_EQ(LoadImageRecord(kExecutable, path.c_str(), 2), 0u);   // past the last icon
    EXPECT_NE(LoadImageRecord(kExecutable, path.c_str(), -9), 0u);  // resource id 9
    EXPECT_EQ(LoadImageRecord(kExecutable, path.c_str(), -8), 0u);
    EXPECT_EQ(LoadImageRecord(kExecutable, dir.path("none.exe").c_str(), 0), 0u);
    EXPECT_EQ(CountIconsInFile(path.c_str()), 2);
}

TEST_F(ImageRecords, CountIconsInFileNeedsAFile) {
    std::string ico = dir.write("a.ico", test::makeIconFile({{16, 16, 8, test::solidIconDib(16, 8, 1)}}));
    std::string text = dir.write("a.txt", {'x'});
    EXPECT_EQ(CountIconsInFile(ico.c_str()), 1);
    EXPECT_EQ(CountIconsInFile(text.c_str()), 0);
    EXPECT_EQ(CountIconsInFile(dir.path("missing.exe").c_str()), 0);
    EXPECT_EQ(CountIconsInFile(dir.root().c_str()), 0);
    EXPECT_EQ(CountIconsInFile(""), 0);
    EXPECT_EQ(CountIconsInFile(nullptr), 0);
}

TEST_F(ImageRecords, ReleaseAllEmptiesTheRegistry) {
    ImageHandle a = loadPng(8, 8);
    ASSERT_NE(LoadImageRecord(kExtension, "txt", 0), 0u);
    ReleaseAllImages();
    EXPECT_EQ(ImageRegistrySize(), 0u);
    EXPECT_EQ(ImageRegistryPosition(a), 0);
}

TEST(ImageHandles, OnlyWholePositiveNumbersAreHandles) {
    EXPECT_EQ(ImageHandleFromNumber(0.0), 0u);
    EXPECT_EQ(ImageHandleFromNumber(-5.0), 0u);
    EXPECT_EQ(ImageHandleFromNumber(1.5), 0u);
    EXPECT_EQ(ImageHandleFromNumber(std::nan("")), 0u);
    EXPECT_EQ(ImageHandleFromNumber(std::numeric_limits<double>::infinity()), 0u);
    EXPECT_EQ(ImageHandleFromNumber(1e300), 0u);
    EXPECT_EQ(ImageHandleFromNumber(18446744073709551616.0), 0u);  // 2^64
    EXPECT_EQ(ImageHandleFromNumber(4096.0), 4096u);
    const ImageHandle h = 0x7ff012345670u;
    EXPECT_EQ(ImageHandleFromNumber(ImageHandleToNumber(h)), h);
}

struct FitCase {
    int w, h, boxW, boxH, wantW, wantH;
};

class FitToBox : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitToBox, Sizes) {
    const FitCase& c = GetParam();
    auto p = pixels::makePicture(c.w, c.h);
    ASSERT_TRUE(p);
    ASSERT_TRUE(FitImageToBox(*p, c.boxW, c.boxH));
    EXPECT_EQ(p->width, c.wantW);
    EXPECT_EQ(p->height, c.wantH);
}

INSTANTIATE_TEST_SUITE_P(Examples, FitToBox,
                         ::testing::Values(FitCase{100, 50, 32, 32, 32, 16}, FitCase{50, 100, 32, 32, 16, 32},
                                           FitCase{20, 10, 32, 32, 20, 10}, FitCase{64, 48, 32, 32, 32, 24},
                                           FitCase{100, 300, 32, 32, 10, 32},
                                           // r = 33 / 32 = 1.03125; 20 / r = 19.39 -> 19
                                           FitCase{33, 20, 32, 32, 32, 19},
                                           // a wide picture is only checked against the width
                                           FitCase{40, 30, 32, 8, 32, 24},
                                           // too thin to keep a row: kept at 1
                                           FitCase{1000, 3, 32, 32, 32, 1}, FitCase{2, 5000, 32, 32, 1, 32}));

TEST(FitToBoxFailure, EmptyPictureIsNotLive) {
    pixels::Picture empty;
    EXPECT_FALSE(FitImageToBox(empty, 32, 32));
}

class IconPictures : public ImageRecords {};

TEST_F(IconPictures, IconsKeepTheirTransparency) {
    ImageHandle h = LoadImageRecord(kExtension, "txt", 0);
    ASSERT_NE(h, 0u);
    for (int side : {16, 24, 32, 48}) {
        auto p = BuildIconImage(*FindImageRecord(h), side, side);
        ASSERT_TRUE(p) << side;
        EXPECT_EQ(p->width, side);
        EXPECT_EQ(p->height, side);
        EXPECT_TRUE(p->hasAlpha);
        EXPECT_EQ(pixels::alpha(p->at(0, 0)), 0) << side;                  // corner: background
        EXPECT_EQ(pixels::alpha(p->at(side / 2, side / 2)), 255) << side;  // the page
    }
}

TEST_F(IconPictures, LoadedImageIsStretchedAndKeepsAlpha) {
    std::string path = dir.write("wide.png", test::makeRgbaPng(32, 16, filled(32, 16, rgba(200, 0, 0, 100))));
    ImageHandle h = LoadImageRecord(kImageFile, path.c_str(), 0);
    ASSERT_NE(h, 0u);
    auto p = BuildIconImage(*FindImageRecord(h), 24, 24);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 24);
    EXPECT_EQ(p->height, 24);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->at(12, 12), rgba(200, 0, 0, 100));
    // The record's own image is untouched.
    EXPECT_EQ(FindImageRecord(h)->picture.width, 32);
}

TEST_F(IconPictures, UnknownKindOrDeadIconGivesNone) {
    ImageRecord odd;
    odd.kind = 9;
    EXPECT_FALSE(BuildIconImage(odd, 16, 16));
    ImageRecord dead;
    dead.kind = kExtension;
    dead.icon.reset(reinterpret_cast<platform::Icon>(std::uintptr_t{12345}));
    EXPECT_FALSE(BuildIconImage(dead, 16, 16));
}

}  // namespace
}  // namespace vb::images
