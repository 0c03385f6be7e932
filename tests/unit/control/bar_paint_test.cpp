// The paint: fill, border, icon and text composed as the bar shows them.
#include <algorithm>
#include <cmath>
#include <string>

#include "bar_fixture.h"
#include "control/bar_paint.h"
#include "render/raster.h"
#include "render/rounding.h"
#include "render/text.h"

namespace vb::control::testing {
namespace {

using PaintTest = BarFixture;

constexpr std::uint32_t kBackground = 0x008C00;

// Columns of a row that differ from the background colour.
int inkColumns(const pixels::Picture& p, int y, int from, int to) {
    int n = 0;
    for (int x = from; x < to; ++x) n += (p.at(x, y) & 0xFFFFFF) != kBackground;
    return n;
}

TEST_F(PaintTest, FillWidthSpansTheRange) {
    EXPECT_FLOAT_EQ(FillWidth(200, 50, 0, 100), 100.0f);
    EXPECT_FLOAT_EQ(FillWidth(200, 15, 10, 20), 100.0f);
    EXPECT_FLOAT_EQ(FillWidth(200, 10, 10, 20), 0.0f);
    EXPECT_FLOAT_EQ(FillWidth(200, 0, 10, 20), 0.0f) << "below the minimum is empty";
    EXPECT_FLOAT_EQ(FillWidth(107, 10, 0, 100), 10.7f);
}

TEST_F(PaintTest, PaintsOnlyWhenThePositionChangesOrARepaintIsForced) {
    BarControl* bar = build(200, 24);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Methods->SetCurrentPosition(bar, 50), 1);
    bar->ComposeImage->at(150, 12) = 0x123456;  // a marker a paint would overwrite
    EXPECT_EQ(bar->Methods->SetCurrentPosition(bar, 50), 0);
    EXPECT_EQ(bar->ComposeImage->at(150, 12), 0x123456u);
    bar->ForceRedraw = 1;
    EXPECT_EQ(bar->Methods->SetCurrentPosition(bar, 50), 1);
    EXPECT_EQ(bar->ComposeImage->at(150, 12) & 0xFFFFFF, kBackground);
    bar->Signature = 0;
    EXPECT_EQ(bar->Methods->SetCurrentPosition(bar, 60), 0) << "a damaged record is not painted";
    EXPECT_EQ(bar->Position, 50);
    bar->Signature = kSignature;
}

TEST_F(PaintTest, SameTextDoesNotRepaintButNewTextDoes) {
    BarControl* bar = build(200, 24);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 0);
    EXPECT_EQ(bar->Methods->SetText(bar, "Hello"), 1);
    EXPECT_GT(inkColumns(*bar->ComposeImage, 12, 2, 100), 5);
    // A marker where the text lies, which a new text's paint overwrites.
    bar->ComposeImage->at(10, 12) = 0x123456;
    EXPECT_EQ(bar->Methods->SetText(bar, "Hello"), 0);
    EXPECT_EQ(bar->ComposeImage->at(10, 12), 0x123456u);
    EXPECT_EQ(bar->Methods->SetText(bar, ""), 1);
    EXPECT_EQ(inkColumns(*bar->ComposeImage, 12, 2, 190), 0) << "no text, nothing drawn";
}

TEST_F(PaintTest, LongTextIsCutToFitWithThreeDots) {
    BarControl* bar = build(100, 24, 0);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 0);
    std::string text(40, 'A');
    bar->Methods->SetText(bar, text);

    // The expected picture: the background with the first k characters and
    // "..." drawn where the paint puts text.
    pixels::Picture expected = *bar->BackgroundImage;
    int cw = render::TextWidth(nullptr, "C");
    ASSERT_GT(cw, 0);
    int k = 100 / cw - 4;
    std::string shown = (k > 0 ? text.substr(0, static_cast<std::size_t>(k)) : "") + "...";
    int th = render::TextHeight(nullptr, text);
    render::DrawText(expected, nullptr, 5, static_cast<int>(std::floor(12.0 - th / 2.0)), shown, 0);
    EXPECT_EQ(bar->ComposeImage->pixels, expected.pixels);
}

TEST_F(PaintTest, IconSitsAtFiveAndCentredAndPushesTheText) {
    BarControl* bar = build(200, 30, 0);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 0);
    auto icon = pixels::makePicture(16, 16, true);
    ASSERT_TRUE(icon);
    for (auto& px : icon->pixels) px = 0xFF0000FFu;  // opaque red
    icon->at(0, 0) = 0;                              // a transparent corner
    EXPECT_EQ(bar->Methods->SetIcon(bar, &*icon), 1);
    EXPECT_EQ(bar->IconWidth, 16);
    EXPECT_EQ(bar->ComposeImage->at(5 + 8, 7 + 8) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(bar->ComposeImage->at(5, 7) & 0xFFFFFF, kBackground) << "transparent corner";
    EXPECT_EQ(bar->ComposeImage->at(4, 15) & 0xFFFFFF, kBackground);
    EXPECT_EQ(bar->ComposeImage->at(21, 15) & 0xFFFFFF, kBackground);

    bar->Methods->SetText(bar, "I");
    EXPECT_EQ(inkColumns(*bar->ComposeImage, 15, 22, 26), 0) << "text starts at 26";
    EXPECT_GT(inkColumns(*bar->ComposeImage, 15, 26, 40), 0);

    // The bar keeps its own copy of the icon.
    icon->pixels.assign(icon->pixels.size(), 0xFF00FF00u);
    bar->ForceRedraw = 1;
    bar->Methods->SetCurrentPosition(bar, 0);
    bar->ForceRedraw = 0;
    EXPECT_EQ(bar->ComposeImage->at(13, 15) & 0xFFFFFF, 0x0000FFu);

    EXPECT_EQ(bar->Methods->SetIcon(bar, nullptr), 1);
    EXPECT_EQ(bar->IconWidth, 0);
    EXPECT_EQ(bar->ComposeImage->at(13, 15) & 0xFFFFFF, kBackground);
}

TEST_F(PaintTest, TextEffectsDrawInTheStyleColour) {
    BarControl* bar = build(200, 24, 0);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 0);
    ASSERT_EQ(bar->Methods->SetFont(bar, "DejaVu Sans", 12, 0xFFFFFF, kTextBorder, 0x0000FF, 0), 1);
    bar->Methods->SetText(bar, "H");
    int red = 0;
    for (auto px : bar->ComposeImage->pixels) red += (px & 0xFFFFFF) == 0x0000FF;
    EXPECT_GT(red, 4) << "outline in the style colour";
    ASSERT_EQ(bar->Methods->SetFont(bar, "DejaVu Sans", 12, 0xFFFFFF, 7, 0x0000FF, 0), 1);
    red = 0;
    for (auto px : bar->ComposeImage->pixels) red += (px & 0xFFFFFF) == 0x0000FF;
    EXPECT_EQ(red, 0) << "an unknown style draws no effect";
}

}  // namespace
}  // namespace vb::control::testing

namespace vb::control::testing {
namespace {

// What a forced repaint shows, with what earlier paints kept or afresh.
pixels::Picture repainted(BarControl* bar, bool afresh) {
    if (afresh) bar->TextCache.reset();
    bar->ForceRedraw = 1;
    bar->Methods->SetCurrentPosition(bar, bar->Position);
    bar->ForceRedraw = 0;
    return *bar->ComposeImage;
}

TEST_F(PaintTest, KeptTextGivesThePixelsOfAFreshLayoutAfterEveryChange) {
    BarControl* bar = build(220, 26);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 40);
    auto check = [&](const char* step) {
        pixels::Picture kept = repainted(bar, false);
        EXPECT_EQ(kept.pixels, repainted(bar, true).pixels) << step;
    };
    bar->Methods->SetText(bar, "First text");
    check("text");
    bar->Methods->SetText(bar, "A second, longer text that will not fit in the bar at all");
    check("text cut to fit");
    bar->Methods->SetFont(bar, "DejaVu Sans", 9, 0xFFFFFF, kTextBorder, 0x000000, kFontBold);
    check("font with outline");
    bar->Methods->SetFont(bar, "DejaVu Serif", 11, 0x00FFFF, kTextShadow, 0x202020, 0);
    check("another font with shadow");
    bar->Methods->SetWidth(bar, 120);  // the composed picture keeps its size
    check("narrower bar");
    bar->Methods->SetCurrentPosition(bar, 77);
    check("new position");
    bar->Methods->SetText(bar, "");
    check("no text");
    bar->Methods->SetText(bar, "Back");
    check("text again");
}

TEST_F(PaintTest, FillRevealedInPlaceMatchesBackgroundThenCroppedFill) {
    BarControl* bar = build(150, 20, 0);
    ASSERT_NE(bar, nullptr);
    for (int position : {-5, 0, 1, 33, 50, 99, 100, 140}) {
        bar->Methods->SetCurrentPosition(bar, position);
        int p = std::clamp(position < bar->RangeMin ? 0 : position, 0, bar->RangeMax);
        int n = static_cast<int>(render::RoundHalfEven(FillWidth(150, p, 0, 100)));
        pixels::Picture expected = *pixels::makePicture(150, 20);
        render::DrawPicture(expected, *bar->BackgroundImage, 0, 0);
        if (p >= 1)
            if (auto part = render::Crop(*bar->BarImage, 0, 0, n, 20))
                render::DrawPicture(expected, *part, 0, 0);
        EXPECT_EQ(bar->ComposeImage->pixels, expected.pixels) << position;
    }
}

// Each new text reuses the kept record's buffers (mask and coverage) from
// the text before, longer or shorter: the pixels are those of a record made
// afresh, for every text in turn.
TEST_F(PaintTest, NewTextsInTurnGiveThePixelsOfAFreshRecord) {
    BarControl* bar = build(260, 24);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetFont(bar, "DejaVu Sans", 9, 0xFFFFFF, kTextBorder, 0x000000, kFontBold);
    const char* texts[] = {"1%",
                           "Copying files... 99%",
                           "7%",
                           "A text far too long to fit into this bar, cut with dots",
                           "x",
                           "100%",
                           "Copying files... 100%",
                           " ",
                           "W"};
    int position = 3;
    for (const char* text : texts) {
        bar->Methods->SetCurrentPosition(bar, position += 11);
        ASSERT_EQ(bar->Methods->SetText(bar, text), 1);
        pixels::Picture reused = *bar->ComposeImage;
        EXPECT_EQ(reused.pixels, repainted(bar, true).pixels) << text;
    }
}

// The scale bar squeezes straight into the frame; the rule it stands for:
// background, then a copy of the bar image resized to floor(f) columns.
TEST_F(PaintTest, SqueezedFillMatchesBackgroundThenResizedCopy) {
    for (int width : {37, 150, 401}) {
        if (platform::isWindow(page_)) platform::destroyWindow(page_);
        BarControl* bar = build(width, 20, 0, kScale);
        ASSERT_NE(bar, nullptr);
        render::BarStops stops = render::MakeBarStops({{0.0f, 0x0000FF}, {0.4f, 0x00FF00}, {1.0f, 0xFF8000}});
        ASSERT_EQ(bar->Methods->SetGradientColors(bar, &stops, 0), 1);
        std::int32_t range[2] = {0, 1000};
        bar->Methods->SetRange(bar, range);
        auto expectRule = [&](int position) {
            bar->Methods->SetCurrentPosition(bar, position);
            int p = std::clamp(position < bar->RangeMin ? 0 : position, 0, bar->RangeMax);
            int n = static_cast<int>(std::floor(FillWidth(width, p, 0, 1000)));
            pixels::Picture expected = *pixels::makePicture(width, 20);
            auto copy = render::CopyPicture(*bar->BarImage);
            ASSERT_TRUE(copy);
            if (n >= 1) render::Resize(*copy, n, 20);
            render::DrawPicture(expected, *bar->BackgroundImage, 0, 0);
            if (n >= 1) render::DrawPicture(expected, *copy, 0, 0);
            ASSERT_EQ(bar->ComposeImage->pixels, expected.pixels) << width << " wide at " << position;
        };
        for (int position = -5; position <= 1010; position += 7) expectRule(position);
        for (int position : {1, 2, 999, 1000}) expectRule(position);
    }
}

TEST_F(PaintTest, SqueezedSolidFillKeptNarrowerStretchesLikeTheRule) {
    // A solid bar image is not rebuilt when the bar grows: the squeeze then
    // stretches the narrower image.
    BarControl* bar = build(90, 16, 0, kScale);
    ASSERT_NE(bar, nullptr);
    bar->BarImage = render::BuildBarImage(31, 16, kColorSolid, render::MakeBarStops({}), 0x3366CC, 1);
    for (int position : {3, 34, 50, 77, 100}) {
        bar->Methods->SetCurrentPosition(bar, position);
        int n = static_cast<int>(std::floor(FillWidth(90, position, 0, 100)));
        pixels::Picture expected = *pixels::makePicture(90, 16);
        auto copy = render::CopyPicture(*bar->BarImage);
        ASSERT_TRUE(copy);
        render::Resize(*copy, n, 16);
        render::DrawPicture(expected, *bar->BackgroundImage, 0, 0);
        render::DrawPicture(expected, *copy, 0, 0);
        EXPECT_EQ(bar->ComposeImage->pixels, expected.pixels) << position;
    }
}

// The squeeze keeps sums of the fill between paints: every way the fill
// changes (rebuilt in a new colour or gloss, resized, or written in place)
// shows in the next paint exactly as the rule draws the new fill.
TEST_F(PaintTest, SqueezeFollowsEveryChangeOfTheFill) {
    BarControl* bar = build(120, 18, 0, kScale);
    ASSERT_NE(bar, nullptr);
    auto expectRule = [&](const char* after, int position) {
        bar->ForceRedraw = 1;
        bar->Methods->SetCurrentPosition(bar, position);
        bar->ForceRedraw = 0;
        const int n = static_cast<int>(std::floor(FillWidth(bar->Width, position, 0, 100)));
        pixels::Picture expected = *pixels::makePicture(bar->Width, bar->Height);
        auto copy = render::CopyPicture(*bar->BarImage);
        ASSERT_TRUE(copy);
        render::Resize(*copy, n, bar->Height);
        render::DrawPicture(expected, *bar->BackgroundImage, 0, 0);
        render::DrawPicture(expected, *copy, 0, 0);
        EXPECT_EQ(bar->ComposeImage->pixels, expected.pixels) << after;
    };
    expectRule("first paint", 61);
    ASSERT_EQ(bar->Methods->SetSolidColor(bar, 0x2040C0), 1);
    expectRule("a new solid colour", 61);
    ASSERT_EQ(bar->Methods->SetUseGlossy(bar, 0), 1);
    expectRule("gloss off", 61);
    render::BarStops stops = render::MakeBarStops({{0.0f, 0xFF0000}, {1.0f, 0x00FFFF}});
    ASSERT_EQ(bar->Methods->SetGradientColors(bar, &stops, 0), 1);
    expectRule("a gradient", 47);
    bar->BarImage->at(3, 9) ^= 0x00FF00;  // written in place, same size
    expectRule("one pixel changed", 47);
    ASSERT_EQ(bar->Methods->Resize(bar, 0, 0, 90, 18, 1), 1);
    expectRule("a narrower bar", 47);
}

}  // namespace
}  // namespace vb::control::testing
