// Colour ramps: stop order, clamping, and colours worked out by hand.
#include <gtest/gtest.h>

#include "pixels/picture.h"
#include "render/colour_ramp.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

constexpr std::uint32_t kRed = 0xFF0000FFu;   // opaque red
constexpr std::uint32_t kBlue = 0xFFFF0000u;  // opaque blue

ColourRamp redThenBlue() {
    ColourRamp ramp;
    AddStop(ramp, 0.25f, kRed);
    AddStop(ramp, 0.75f, kBlue);
    return ramp;
}

}  // namespace

TEST(AddStop, KeepsStopsSortedWhateverTheOrderGiven) {
    ColourRamp ramp;
    AddStop(ramp, 0.75f, 1);
    AddStop(ramp, 0.25f, 2);
    AddStop(ramp, 0.5f, 3);
    ASSERT_EQ(ramp.stops.size(), 3u);
    EXPECT_EQ(ramp.stops[0].position, 0.25f);
    EXPECT_EQ(ramp.stops[1].position, 0.5f);
    EXPECT_EQ(ramp.stops[2].position, 0.75f);
    EXPECT_EQ(ramp.stops[1].rgba, 3u);
}

TEST(AddStop, ClampsPositionsIntoZeroToOne) {
    ColourRamp ramp;
    AddStop(ramp, -0.5f, 1);
    AddStop(ramp, 7.0f, 2);
    ASSERT_EQ(ramp.stops.size(), 2u);
    EXPECT_EQ(ramp.stops[0].position, 0.0f);
    EXPECT_EQ(ramp.stops[1].position, 1.0f);
}

TEST(AddStop, EqualPositionReplacesColourSoTheLaterWins) {
    ColourRamp ramp;
    AddStop(ramp, 0.5f, 1);
    AddStop(ramp, 0.5f, 2);
    AddStop(ramp, 2.0f, 3);
    AddStop(ramp, 1.0f, 4);  // equal to the clamped 2.0
    ASSERT_EQ(ramp.stops.size(), 2u);
    EXPECT_EQ(ramp.stops[0].rgba, 2u);
    EXPECT_EQ(ramp.stops[1].rgba, 4u);
}

TEST(ColourAt, WithoutStopsRunsFromBlackToWhite) {
    ColourRamp ramp;
    EXPECT_EQ(ColourAt(ramp, 0.0), 0xFF000000u);
    EXPECT_EQ(ColourAt(ramp, 1.0), 0xFFFFFFFFu);
    EXPECT_EQ(ColourAt(ramp, 0.5), rgba(127, 127, 127, 255));  // 127.5 truncated
    EXPECT_EQ(ColourAt(ramp, 0.25), rgba(63, 63, 63, 255));    // 63.75 truncated
}

TEST(ColourAt, BeforeTheFirstStopMixesFromTheStartColour) {
    ColourRamp ramp = redThenBlue();
    EXPECT_EQ(ColourAt(ramp, 0.0), 0xFF000000u);
    EXPECT_EQ(ColourAt(ramp, 0.125), rgba(127, 0, 0, 255));  // c = 0.5 toward red
}

TEST(ColourAt, BetweenStopsMixesNeighbours) {
    ColourRamp ramp = redThenBlue();
    EXPECT_EQ(ColourAt(ramp, 0.25), kRed);  // at a stop: c = 0 from it
    EXPECT_EQ(ColourAt(ramp, 0.5), rgba(127, 0, 127, 255));
    EXPECT_EQ(ColourAt(ramp, 0.375), rgba(191, 0, 63, 255));  // c = 0.25: 191.25, 63.75
}

TEST(ColourAt, BeyondTheLastStopRunsTowardWhite) {
    ColourRamp ramp = redThenBlue();
    EXPECT_EQ(ColourAt(ramp, 0.75), kBlue);
    EXPECT_EQ(ColourAt(ramp, 0.875), rgba(127, 127, 255, 255));
    EXPECT_EQ(ColourAt(ramp, 1.0), 0xFFFFFFFFu);
}

TEST(ColourAt, ALastStopAtExactlyOneHoldsItsColour) {
    ColourRamp ramp;
    AddStop(ramp, 0.0f, kRed);
    AddStop(ramp, 1.0f, 0xFF00FF00u);
    EXPECT_EQ(ColourAt(ramp, 1.0), 0xFF00FF00u);
    EXPECT_EQ(ColourAt(ramp, 0.5), rgba(127, 127, 0, 255));
}

TEST(ColourAt, MixesAlphaLikeTheOtherChannels) {
    ColourRamp ramp;
    AddStop(ramp, 0.0f, 0x00000000u);
    AddStop(ramp, 1.0f, 0xC8000000u);  // alpha 200
    EXPECT_EQ(alpha(ColourAt(ramp, 0.5)), 100);
    EXPECT_EQ(alpha(ColourAt(ramp, 0.25)), 50);
}

TEST(ColourAt, StopPositionsAreSinglePrecision) {
    // 0.2 as a 32-bit float is 0.2000000030, just above the column parameter
    // 0.2, so that column still mixes toward the stop: 255 x 0.99999998.
    ColourRamp ramp;
    AddStop(ramp, 0.2f, kRed);
    EXPECT_EQ(red(ColourAt(ramp, 0.2)), 254);
    EXPECT_EQ(ColourAt(ramp, static_cast<double>(0.2f)), kRed);
}

TEST(ColourAt, OutOfRangeParametersAreClamped) {
    ColourRamp ramp = redThenBlue();
    EXPECT_EQ(ColourAt(ramp, -3.0), ColourAt(ramp, 0.0));
    EXPECT_EQ(ColourAt(ramp, 9.0), ColourAt(ramp, 1.0));
}

TEST(RampParameter, IsZeroBeforeAndOneAfterTheSegment) {
    ColourRamp ramp;
    LaidRamp laid{&ramp, RampDirection::Horizontal, 0, 20};
    EXPECT_EQ(RampParameter(laid, -5), 0.0);
    EXPECT_EQ(RampParameter(laid, 0), 0.0);
    EXPECT_EQ(RampParameter(laid, 5), 0.25);
    EXPECT_EQ(RampParameter(laid, 10), 0.5);
    EXPECT_EQ(RampParameter(laid, 20), 1.0);
    EXPECT_EQ(RampParameter(laid, 25), 1.0);
    LaidRamp shifted{&ramp, RampDirection::Vertical, 10, 14};
    EXPECT_EQ(RampParameter(shifted, 11), 0.25);
}
