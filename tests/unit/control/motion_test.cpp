// Motion: where a busy band is at a time, how a glide eases, and a busy
// frame against the rule it draws (the background, the fill's columns or
// the whole fill squeezed into the band, the flat border round the band).
#include "control/motion.h"
#include "bar_fixture.h"
#include "control/bar_paint.h"
#include "platform/driver.h"
#include "render/raster.h"

namespace vb::control::testing {
namespace {

TEST(BusyBandTest, EntersAtTheLeftAndLeavesAtTheRightOncePerPeriod) {
    struct Case {
        int width;
        std::uint32_t period, elapsed;
        int left, bandWidth;
    };
    const Case cases[] = {
        {200, 1000, 0, -50, 50},                          // waiting left of the bar
        {200, 1000, 400, 50, 50},                         // 250 columns of travel, 2/5 of the way
        {200, 1000, 999, 199, 50},                        // its last column on the bar's last
        {200, 1000, 1000, -50, 50},                       // the next pass
        {200, 1000, 1200, 0, 50},   {3, 1500, 0, -1, 1},  // a quarter of a narrow bar is still a column
        {0, 1500, 10, 0, 0},                              // nothing to cross
        {200, 0, 10, 0, 0},
    };
    for (const Case& c : cases) {
        Band band = BusyBand(c.width, c.period, c.elapsed);
        EXPECT_EQ(band.left, c.left) << c.width << " at " << c.elapsed;
        EXPECT_EQ(band.width, c.bandWidth) << c.width << " at " << c.elapsed;
    }
    // A clock that wrapped round still gives a place on the way.
    Band late = BusyBand(400, 1500, 0xFFFFFFF0u);
    EXPECT_GE(late.left, -100);
    EXPECT_LT(late.left, 400);
}

TEST(GlideEaseTest, StartsFastAndSettlesAtTheEnd) {
    EXPECT_DOUBLE_EQ(GlideEase(0.0), 0.0);
    EXPECT_DOUBLE_EQ(GlideEase(1.0), 1.0);
    EXPECT_NEAR(GlideEase(0.2), 0.488, 1e-12);
    EXPECT_DOUBLE_EQ(GlideEase(-1.0), 0.0);
    EXPECT_DOUBLE_EQ(GlideEase(3.0), 1.0);
    double previous = 0.0, previousStep = 1.0;
    for (int i = 1; i <= 100; ++i) {
        double now = GlideEase(i / 100.0);
        EXPECT_GT(now, previous);
        EXPECT_LE(now - previous, previousStep + 1e-12) << "an ease-out never speeds up";
        previousStep = now - previous;
        previous = now;
    }
}

using BusyFrameTest = BarFixture;

// The band's frame drawn the plain way: the background, the band's fill
// over it, the flat border round the band, clipped to the bar.
pixels::Picture expectedBandFrame(const BarControl& bar, const pixels::Picture& bandFill, int left) {
    pixels::Picture frame = *bar.BackgroundImage;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < bandFill.width; ++x)
            if (left + x >= 0 && left + x < frame.width) frame.at(left + x, y) = bandFill.at(x, y);
    int right = left + bandFill.width - 1;
    render::DrawLine(frame, left, 0, right, 0, bar.BorderColor);
    render::DrawLine(frame, left, 0, left, bar.Height, bar.BorderColor);
    render::DrawLine(frame, right, 0, right, bar.Height, bar.BorderColor);
    render::DrawLine(frame, left, bar.Height - 1, right, bar.Height - 1, bar.BorderColor);
    return frame;
}

TEST_F(BusyFrameTest, RevealsTheFillsOwnColumnsInTheBand) {
    BarControl* bar = build(200, 24);
    ASSERT_NE(bar, nullptr);
    for (int left : {-20, 0, 70, 180}) {
        PaintBandFrame(bar, left, 50);
        pixels::Picture fill = *pixels::makePicture(50, 24);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 50; ++x)
                if (left + x >= 0 && left + x < 200) fill.at(x, y) = bar->BarImage->at(left + x, y);
        EXPECT_EQ(bar->ComposeImage->pixels, expectedBandFrame(*bar, fill, left).pixels) << left;
    }
}

TEST_F(BusyFrameTest, SqueezesTheWholeFillIntoTheBandForTheScaleLook) {
    BarControl* bar = build(200, 24, kBorderFlat, kScale);
    ASSERT_NE(bar, nullptr);
    auto squeezed = render::CopyPicture(*bar->BarImage);
    ASSERT_TRUE(squeezed);
    ASSERT_TRUE(render::Resize(*squeezed, 50, 24));
    for (int left : {-30, 75, 170}) {
        PaintBandFrame(bar, left, 50);
        EXPECT_EQ(bar->ComposeImage->pixels, expectedBandFrame(*bar, *squeezed, left).pixels) << left;
    }
}

TEST_F(BusyFrameTest, LeavingBusyShowsTheStillBarAndStopsTheTimer) {
    BarControl* bar = build(200, 24);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 30);
    pixels::Picture still = *bar->ComposeImage;
    ASSERT_EQ(SetBusy(bar, true, 1000), 1);
    EXPECT_EQ(platform::driver::timerCount(bar->Canvas), 1);
    EXPECT_NE(bar->ComposeImage->pixels, still.pixels);
    bar->Methods->SetCurrentPosition(bar, 60);
    EXPECT_EQ(bar->Methods->GetCurrentPosition(bar), 60);
    ASSERT_EQ(SetBusy(bar, false, 1000), 1);
    EXPECT_EQ(platform::driver::timerCount(bar->Canvas), 0);
    BarControl* twin = build(200, 24);
    ASSERT_NE(twin, nullptr);
    twin->Methods->SetCurrentPosition(twin, 60);
    EXPECT_EQ(bar->ComposeImage->pixels, twin->ComposeImage->pixels);
}

}  // namespace
}  // namespace vb::control::testing
