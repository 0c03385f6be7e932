// The row-by-row resampler gives exactly what resizing the whole picture
// gives, at every size, with and without alpha.
#include <gtest/gtest.h>

#include <random>

#include "render/raster.h"
#include "render/row_resampler.h"

namespace vb::render {
namespace {

using namespace vb::pixels;

Picture randomPicture(int w, int h, bool alpha, unsigned seed) {
    Picture p = *makePicture(w, h, alpha);
    std::mt19937 random(seed);
    for (std::uint32_t& px : p.pixels) px = alpha ? random() : random() & 0xFFFFFFu;
    return p;
}

TEST(RowResampler, MatchesResizeOfTheWholePicture) {
    struct Case {
        int w, h, W, H;
    };
    const Case cases[] = {{1, 1, 1, 1},     {7, 5, 3, 2},     {301, 77, 32, 8},
                          {77, 301, 8, 32}, {1000, 3, 32, 1}, {3, 1000, 1, 32},
                          {33, 33, 32, 32}, {16, 16, 48, 48}, {5, 9, 13, 2}};
    unsigned seed = 1;
    for (const Case& c : cases) {
        for (bool alpha : {false, true}) {
            Picture source = randomPicture(c.w, c.h, alpha, seed++);
            Picture whole = source;
            ASSERT_TRUE(Resize(whole, c.W, c.H));
            RowResampler rows(c.w, c.h, c.W, c.H, alpha);
            ASSERT_TRUE(rows.ok());
            for (int y = 0; y < c.h; ++y) rows.addRow(y, &source.pixels[static_cast<std::size_t>(y) * c.w]);
            std::optional<Picture> streamed = rows.finish();
            ASSERT_TRUE(streamed);
            EXPECT_EQ(streamed->hasAlpha, alpha);
            EXPECT_EQ(streamed->pixels, whole.pixels)
                << c.w << "x" << c.h << " -> " << c.W << "x" << c.H << (alpha ? " with alpha" : "");
        }
    }
}

TEST(RowResampler, RefusesWhatItCannotHold) {
    EXPECT_FALSE(RowResampler(0, 10, 1, 1, false).ok());
    EXPECT_FALSE(RowResampler(kMaxPictureSide + 1, 10, 1, 1, false).ok());
    EXPECT_FALSE(RowResampler(10, 10, 0, 1, false).ok());
    EXPECT_FALSE(RowResampler(10000, 10000, 1000, 1000, false).ok()) << "a result too large to sum";
    // Rows out of order or out of range are ignored, not written past the end.
    RowResampler rows(4, 4, 2, 2, false);
    std::uint32_t row[4] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    rows.addRow(-1, row);
    rows.addRow(9, row);
    rows.addRow(3, row);
    rows.addRow(0, row);  // after row 3: too late
    std::optional<Picture> out = rows.finish();
    ASSERT_TRUE(out);
    EXPECT_EQ(out->at(0, 0), 0u);
    EXPECT_EQ(out->at(0, 1), rgba(128, 128, 128));
}

}  // namespace
}  // namespace vb::render
