// What a still frame lets a paint leave out: a move within one column draws
// nothing, a move to another column only the columns between the old and
// the new edge, a new text only the area of the old and the new text. Either way
// the compose image and the canvas hold the picture of the whole paint, and
// the whole bar is drawn again wherever anything else may have changed.
#include <algorithm>
#include <string>
#include <vector>

#include "bar_fixture.h"
#include "control/bar_paint.h"
#include "platform/driver.h"

namespace vb::control::testing {
namespace {

using TextAreaTest = BarFixture;
using SameFrameTest = BarFixture;

constexpr std::uint32_t kMarker = 0x123456;

struct Look {
    std::int32_t borderFlags;
    std::int32_t fontStyle;
    bool icon;
};

void dress(BarControl* bar, const Look& look) {
    bar->Methods->SetFont(bar, "Arial", 9, 0xFFFFFF, look.fontStyle, 0x202020, kFontBold);
    if (look.icon) {
        auto icon = pixels::makePicture(16, 16, true);
        ASSERT_TRUE(icon);
        // Half see-through, so a pixel blended twice shows (a fill would make it opaque).
        std::fill(icon->pixels.begin(), icon->pixels.end(), 0x80FF0000u);
        bar->Methods->SetIcon(bar, &*icon);
    }
}

// A change made behind the paint's back, named for the trace.
struct Change {
    const char* what;
    void (*change)(BarControl*);
};

void paintWhole(BarControl* bar) {
    bar->ForceRedraw = 1;
    bar->Methods->SetCurrentPosition(bar, bar->Position);
    bar->ForceRedraw = 0;
}

std::vector<std::uint32_t> canvasOf(BarControl* bar) {
    auto shown = platform::driver::renderWindow(bar->Canvas);
    return shown ? shown->pixels : std::vector<std::uint32_t>{};
}

// The same compose picture and the same canvas.
::testing::AssertionResult showTheSame(BarControl* bar, BarControl* twin) {
    if (bar->ComposeImage->pixels != twin->ComposeImage->pixels)
        return ::testing::AssertionFailure() << "the compose pictures differ";
    if (canvasOf(bar) != canvasOf(twin)) return ::testing::AssertionFailure() << "the canvases differ";
    return ::testing::AssertionSuccess();
}

// The bar moved as a script moves it, its twin moved and painted whole:
// whether they show the same.
::testing::AssertionResult movedAsAWholePaint(BarControl* bar, BarControl* twin, std::int32_t position) {
    bar->Methods->SetCurrentPosition(bar, position);
    twin->Methods->SetCurrentPosition(twin, position);
    paintWhole(twin);
    return showTheSame(bar, twin);
}

TEST_F(TextAreaTest, NewTextGivesTheWholePaintsPicture) {
    const std::vector<Look> looks = {{0, 0, false},
                                     {kBorderFlat, kTextBorder, false},
                                     {kBorderFlat, kTextShadow, true},
                                     {0, kTextBorder, true}};
    // Fill edges before, under and past the text; texts that grow, shrink,
    // vanish, appear and are cut to fit.
    const std::vector<int> positions = {0, 2, 6, 30, 100};
    const std::vector<std::pair<std::string, std::string>> changes = {{"", "50%"},
                                                                      {"50%", "100%"},
                                                                      {"100%", "7%"},
                                                                      {"Working", ""},
                                                                      {"7%", "Wg"},
                                                                      {std::string(60, 'W'), "1%"},
                                                                      {"1%", std::string(60, 'M')},
                                                                      // sharing glyphs with the old text
                                                                      {"37%", "38%"},
                                                                      {"80%", "88%"},
                                                                      {"Copying 5%", "Copying 6%"},
                                                                      {"50%", "50% "}};
    for (std::size_t l = 0; l < looks.size(); ++l) {
        for (int position : positions) {
            BarControl* bar = build(160, 24, looks[l].borderFlags);
            BarControl* twin = build(160, 24, looks[l].borderFlags);
            ASSERT_TRUE(bar && twin);
            dress(bar, looks[l]);
            dress(twin, looks[l]);
            for (const auto& [from, to] : changes) {
                SCOPED_TRACE("look " + std::to_string(l) + ", position " + std::to_string(position) + ", '" +
                             from + "' to '" + to + "'");
                for (BarControl* b : {bar, twin}) {
                    b->Methods->SetText(b, from);
                    b->Methods->SetCurrentPosition(b, position);
                    paintWhole(b);
                }
                bar->Text = to;
                EXPECT_TRUE(RepaintTextArea(bar)) << "the area path taken";
                twin->Text = to;
                paintWhole(twin);
                EXPECT_TRUE(showTheSame(bar, twin));
            }
        }
    }
}

TEST_F(TextAreaTest, OnlyTheTextsAreaIsRepainted) {
    BarControl* bar = build(200, 24);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 40);
    bar->Methods->SetText(bar, "10%");
    bar->ComposeImage->at(190, 12) = kMarker;  // far from any text: a whole paint overwrites it
    EXPECT_EQ(bar->Methods->SetText(bar, "20%"), 1);
    EXPECT_EQ(bar->ComposeImage->at(190, 12), kMarker);
    EXPECT_GT(bar->Shown.textArea.width(), 0);
    EXPECT_LT(bar->Shown.textArea.right, 60);
}

// A new text that keeps the old one's first glyphs redraws from the first
// glyph that differs; a text whose marks are the old ones draws nothing.
TEST_F(TextAreaTest, OnlyThePixelsWhereTheTextsDifferAreRepainted) {
    BarControl* bar = build(200, 24);
    ASSERT_NE(bar, nullptr);
    bar->Methods->SetCurrentPosition(bar, 40);
    bar->Methods->SetText(bar, "10%");
    const int firstGlyph = bar->Shown.textArea.left + 2;  // inside the "1", left of the "0"
    bar->ComposeImage->at(firstGlyph, 12) = kMarker;
    EXPECT_EQ(bar->Methods->SetText(bar, "18%"), 1);
    EXPECT_EQ(bar->ComposeImage->at(firstGlyph, 12), kMarker) << "the shared glyph is left alone";
    const pixels::Rect whole = bar->Shown.textArea;
    bar->ComposeImage->at(whole.left + whole.width() / 2, 12) = kMarker;
    EXPECT_EQ(bar->Methods->SetText(bar, "18% "), 1);  // a blank: the same marks
    EXPECT_EQ(bar->ComposeImage->at(whole.left + whole.width() / 2, 12), kMarker) << "nothing to draw";
}

// Percentages counted up one at a time through SetText, each new text
// compared with the one the area path itself left: the bar shows what a
// twin painted whole shows at every step.
TEST_F(TextAreaTest, CountingUpMatchesTheWholePaintAtEveryStep) {
    for (std::int32_t style : {0, kTextBorder, kTextShadow}) {
        BarControl* bar = build(160, 24, kBorderFlat);
        BarControl* twin = build(160, 24, kBorderFlat);
        ASSERT_TRUE(bar && twin);
        for (BarControl* b : {bar, twin}) {
            dress(b, Look{kBorderFlat, style, false});
            b->Methods->SetCurrentPosition(b, 4);
        }
        for (int percent = 0; percent <= 120; ++percent) {
            SCOPED_TRACE("style " + std::to_string(style) + ", " + std::to_string(percent) + "%");
            const std::string text = std::to_string(percent) + "%";
            ASSERT_EQ(bar->Methods->SetText(bar, text), 1);
            twin->Text = text;
            paintWhole(twin);
            ASSERT_TRUE(showTheSame(bar, twin));
        }
    }
}

// Whatever may have changed since the last paint, or a frame that is not
// the still bar, sends a new text through the whole paint.
TEST_F(TextAreaTest, AnythingElseChangedRepaintsTheWholeBar) {
    const std::vector<Change> cases = {
        {"range changed, not yet painted",
         [](BarControl* b) {
             std::int32_t range[2] = {0, 50};
             b->Methods->SetRange(b, range);
         }},
        {"width changed, not yet painted", [](BarControl* b) { b->Methods->SetWidth(b, 150); }},
        {"busy", [](BarControl* b) { SetBusy(b, true, 1000); }},
        {"scale bar", [](BarControl* b) { b->ScaleType = kScale; }},
        {"never painted still", [](BarControl* b) { b->Shown.still = false; }},
    };
    for (const Change& c : cases) {
        SCOPED_TRACE(c.what);
        BarControl* bar = build(200, 24);
        ASSERT_NE(bar, nullptr);
        bar->Methods->SetCurrentPosition(bar, 40);
        bar->Methods->SetText(bar, "10%");
        c.change(bar);
        bar->ComposeImage->at(120, 12) = kMarker;
        EXPECT_FALSE(RepaintTextArea(bar));
        EXPECT_EQ(bar->ComposeImage->at(120, 12), kMarker) << "nothing drawn when it declines";
        EXPECT_EQ(bar->Methods->SetText(bar, "20%"), 1);
        EXPECT_NE(bar->ComposeImage->at(120, 12), kMarker) << "the whole bar painted";
        StopMotion(bar);
    }
}

// A range ten times the bar's width: ten positions to a column. Each move
// leaves the bar as a twin painted whole at that position, whether the move
// drew or not, for both looks and with a text over the fill's edge.
TEST_F(SameFrameTest, MovesWithinAColumnShowTheWholePaintsPicture) {
    for (std::int32_t scale : {kNoScale, kScale}) {
        BarControl* bar = build(100, 20, kBorderFlat, scale);
        BarControl* twin = build(100, 20, kBorderFlat, scale);
        ASSERT_TRUE(bar && twin);
        std::int32_t range[2] = {0, 1000};
        for (BarControl* b : {bar, twin}) {
            b->Methods->SetRange(b, range);
            b->Methods->SetText(b, "Working");
        }
        int skipped = 0;
        for (std::int32_t position = 0; position <= 1000; position += 3) {
            SCOPED_TRACE("scale " + std::to_string(scale) + ", position " + std::to_string(position));
            bar->ComposeImage->at(99, 19) = kMarker;  // a corner any whole paint overwrites
            bar->Methods->SetCurrentPosition(bar, position);
            skipped += bar->ComposeImage->at(99, 19) == kMarker;
            bar->ComposeImage->at(99, 19) =
                twin->ComposeImage->at(99, 19);  // the marker is ours, not the bar's
            twin->Methods->SetCurrentPosition(twin, position);
            paintWhole(twin);
            ASSERT_TRUE(showTheSame(bar, twin));
        }
        EXPECT_GT(skipped, 100) << "moves within a column draw nothing";
    }
}

// A bar 100 wide with range 0 .. 1000 at 500: ten positions to a column.
BarControl* atHalfOfAWideRange(BarControl* bar) {
    std::int32_t range[2] = {0, 1000};
    bar->Methods->SetRange(bar, range);
    bar->Methods->SetCurrentPosition(bar, 500);
    return bar;
}

TEST_F(SameFrameTest, AMoveToAnotherColumnDrawsItsColumnsAndAForcedPaintAll) {
    BarControl* bar = build(100, 20);
    ASSERT_NE(bar, nullptr);
    atHalfOfAWideRange(bar);
    bar->ComposeImage->at(99, 19) = kMarker;
    bar->ComposeImage->at(51, 10) = kMarker;
    bar->Methods->SetCurrentPosition(bar, 502);
    EXPECT_EQ(bar->ComposeImage->at(51, 10), kMarker) << "the same column";
    bar->Methods->SetCurrentPosition(bar, 520);
    EXPECT_NE(bar->ComposeImage->at(51, 10), kMarker) << "the fill's edge moved over it";
    EXPECT_EQ(bar->ComposeImage->at(99, 19), kMarker) << "columns the move did not reach";
    paintWhole(bar);
    EXPECT_NE(bar->ComposeImage->at(99, 19), kMarker) << "a forced paint draws the whole bar";
}

// Jumps of any size, both ways, past the ends of the range, under the text
// and the icon, squeezed or revealed: each leaves the bar as a twin painted
// whole there.
TEST_F(SameFrameTest, MovesAcrossColumnsShowTheWholePaintsPicture) {
    const std::vector<Look> looks = {{0, 0, false},
                                     {kBorderFlat, kTextBorder, false},
                                     {kBorderFlat, kTextShadow, true},
                                     {kBorderFlat, 0, true}};
    const std::vector<std::int32_t> positions = {1, 0,  2,   3,  30, 29,  8, 100, 99,
                                                 0, 55, 130, -5, 12, 100, 1, 60};
    for (std::int32_t scale : {kNoScale, kScale}) {
        for (std::size_t l = 0; l < looks.size() * 2; ++l) {
            const Look& look = looks[l / 2];
            const std::string text = l % 2 ? "" : "Copying 50%";  // without text the icon stands alone
            BarControl* bar = build(160, 24, look.borderFlags, scale);
            BarControl* twin = build(160, 24, look.borderFlags, scale);
            ASSERT_TRUE(bar && twin);
            for (BarControl* b : {bar, twin}) {
                dress(b, look);
                b->Methods->SetText(b, text);
                b->Methods->SetCurrentPosition(b, 40);
            }
            int drawnInPart = 0;
            for (std::int32_t position : positions) {
                SCOPED_TRACE("scale " + std::to_string(scale) + ", look " + std::to_string(l) +
                             ", position " + std::to_string(position));
                bar->ComposeImage->at(159, 23) = kMarker;  // the last column
                bar->Methods->SetCurrentPosition(bar, position);
                twin->Methods->SetCurrentPosition(twin, position);
                paintWhole(twin);
                if (bar->ComposeImage->at(159, 23) == kMarker) {  // the marker is ours, not the bar's
                    ++drawnInPart;
                    bar->ComposeImage->at(159, 23) = twin->ComposeImage->at(159, 23);
                }
                ASSERT_TRUE(showTheSame(bar, twin));
            }
            // Six moves reach the last column: those to or from the full bar.
            EXPECT_EQ(drawnInPart, 11) << "moves short of the far end draw only their columns";
        }
    }
}

// Range 0 .. 200 on 100 columns: every odd position ends the fill on half a
// column, where the border's right column (rounded half to even) can be the
// first unfilled one.
TEST_F(SameFrameTest, MovesToHalfColumnsShowTheWholePaintsPicture) {
    for (std::int32_t scale : {kNoScale, kScale}) {
        BarControl* bar = build(100, 20, kBorderFlat, scale);
        BarControl* twin = build(100, 20, kBorderFlat, scale);
        ASSERT_TRUE(bar && twin);
        std::int32_t range[2] = {0, 200};
        for (BarControl* b : {bar, twin}) b->Methods->SetRange(b, range);
        for (std::int32_t position : {1, 2, 3, 5, 6, 9, 17, 16, 15, 101, 99, 100, 103, 199, 200, 197, 0, 7}) {
            SCOPED_TRACE("scale " + std::to_string(scale) + ", position " + std::to_string(position));
            ASSERT_TRUE(movedAsAWholePaint(bar, twin, position));
        }
    }
}

// A move after anything but the position changed, or of a frame that is
// not the still bar, is drawn whole.
TEST_F(SameFrameTest, AMoveAfterAnyOtherChangeIsDrawnWhole) {
    const std::vector<Change> cases = {
        {"width changed, not yet painted", [](BarControl* b) { b->Methods->SetWidth(b, 150); }},
        {"text changed, not yet painted", [](BarControl* b) { b->Text = "20%"; }},
        {"scale bar", [](BarControl* b) { b->ScaleType = kScale; }},
        {"never painted still", [](BarControl* b) { b->Shown.still = false; }},
        {"fill with alpha", [](BarControl* b) { b->BarImage->hasAlpha = true; }},
    };
    for (const Change& c : cases) {
        SCOPED_TRACE(c.what);
        BarControl* bar = build(200, 24);
        ASSERT_NE(bar, nullptr);
        bar->Methods->SetText(bar, "10%");
        bar->Methods->SetCurrentPosition(bar, 40);
        c.change(bar);
        bar->ComposeImage->at(190, 12) = kMarker;
        EXPECT_FALSE(RepaintMovedColumns(bar, 45));
        EXPECT_EQ(bar->ComposeImage->at(190, 12), kMarker) << "nothing drawn when it declines";
    }
}

// A bar resized away and back repaints nothing but has a new fill and
// background (each resized twice); the next move must show them, drawn
// whole, and a scale bar's must not squeeze through sums of the old fill.
TEST_F(SameFrameTest, AMoveAfterThePicturesWereResizedAwayAndBackShowsTheNewOnes) {
    for (std::int32_t scale : {kNoScale, kScale}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        BarControl* bar = build(200, 24, kBorderFlat, scale);
        BarControl* twin = build(200, 24, kBorderFlat, scale);
        ASSERT_TRUE(bar && twin);
        const std::vector<std::uint32_t> fill = bar->BarImage->pixels;
        for (BarControl* b : {bar, twin}) {
            b->Methods->SetCurrentPosition(b, 40);
            b->Methods->SetCurrentPosition(b, 60);  // a move: the frame still, its sums vouched for
            b->Methods->SetWidth(b, 77);
            b->Methods->SetWidth(b, 200);
        }
        ASSERT_NE(bar->BarImage->pixels, fill) << "resizing away and back changed the fill";
        EXPECT_TRUE(movedAsAWholePaint(bar, twin, 45));
    }
}

// A canvas whose surface was resized since it was last shown whole may
// have lost part of the picture; a move that draws nothing shows it again.
TEST_F(SameFrameTest, ASurfaceResizedMeanwhileGetsThePictureAgain) {
    BarControl* bar = build(100, 20);
    ASSERT_NE(bar, nullptr);
    atHalfOfAWideRange(bar);
    const std::vector<std::uint32_t> shown = canvasOf(bar);
    platform::moveWindow(bar->Canvas, 0, 0, 10, 10);  // the system's own resize: no paint of ours
    platform::moveWindow(bar->Canvas, 0, 0, 100, 20);
    ASSERT_NE(canvasOf(bar), shown) << "the regrown surface starts white";
    bar->Methods->SetCurrentPosition(bar, 501);
    EXPECT_EQ(canvasOf(bar), shown);
    // The same for a new text with the old one's marks, which draws nothing.
    bar->Methods->SetText(bar, "5%");
    const std::vector<std::uint32_t> withText = canvasOf(bar);
    platform::moveWindow(bar->Canvas, 0, 0, 10, 10);
    platform::moveWindow(bar->Canvas, 0, 0, 100, 20);
    bar->Methods->SetText(bar, "5% ");
    EXPECT_EQ(canvasOf(bar), withText);
    // And for a move to another column, which draws only its columns.
    for (std::int32_t scale : {kNoScale, kScale}) {
        BarControl* moved = build(100, 20, kBorderFlat, scale);
        BarControl* twin = build(100, 20, kBorderFlat, scale);
        ASSERT_TRUE(moved && twin);
        atHalfOfAWideRange(moved);
        platform::moveWindow(moved->Canvas, 0, 0, 10, 10);
        platform::moveWindow(moved->Canvas, 0, 0, 100, 20);
        moved->Methods->SetCurrentPosition(moved, 530);
        atHalfOfAWideRange(twin);
        twin->Methods->SetCurrentPosition(twin, 530);
        EXPECT_EQ(canvasOf(moved), canvasOf(twin)) << "scale " << scale;
    }
}

}  // namespace
}  // namespace vb::control::testing
