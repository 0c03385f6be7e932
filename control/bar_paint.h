// The bar's paint: composes background, fill, border, icon and text off
// screen, then shows the result in one copy.
#pragma once

#include <cstdint>

#include "pixels/geometry.h"
#include "render/text.h"

namespace vb::control {

struct BarControl;

// What of a still frame depends on the position: two positions with the
// same key show the same pixels.
struct FrameKey {
    std::int32_t scaleType = -1;  // squeezed or revealed
    int width = 0, height = 0;    // of the bar and of its composed picture
    int pictureWidth = 0, pictureHeight = 0;
    int fillColumns = 0;  // revealed, or the fill squeezed into them
    int borderRight = 0;  // the flat border's right column
    bool operator==(const FrameKey&) const = default;
};

// The text a still frame shows: a copy of the mask drawn and where its
// cell went, so a new text can be compared with it weight by weight.
struct ShownText {
    bool known = false;        // false: the frame's text is not recorded here
    bool drawn = false;        // known, and a text was drawn
    std::uint64_t layout = 0;  // the kept layout the mask was copied from
    int x = 0, y = 0;
    render::TextMask mask;
};

// What the composed picture (and so the canvas) shows, as the last paint
// left it; part of the record. Every change other than the position or the
// text repaints the whole bar at once, so while the frame is still, a move
// within one column needs no drawing, a move to another column only the
// columns it changes, and a new text only the pixels where the old and the
// new text's passes can differ.
struct ShownFrame {
    bool still = false;  // false after a busy band's or a glide's frame
    // The squeeze's kept sums are of the fill as it is now: made or compared
    // by this frame's squeeze, the fill not written since. A move squeezes
    // through them without comparing the fill again.
    bool fillSummed = false;
    FrameKey key;
    pixels::Rect textArea;  // every pixel the text's passes can have touched
    ShownText text;
};

// Slot 0: paints at position unless it equals the current one and no
// repaint is forced. 1 when it painted.
int PaintBar(BarControl* control, std::int32_t position);

// The position as the paint clips it: below the range it shows as 0, above
// it as the range's top.
std::int32_t ClippedPosition(const BarControl* control, std::int32_t position);

// Fill width for a clipped position: spans the range from rangeMin to
// rangeMax, never below 0. A position between two whole ones (a glide's
// frame) gives the width between theirs.
float FillWidth(int width, double p, int rangeMin, int rangeMax);

// The key of a still frame at a clipped position.
FrameKey KeyOfFrame(const BarControl* control, double p);

// One frame at a clipped position, whole or between two whole ones; at a
// whole one it is exactly what PaintBar shows there.
void PaintFrameAt(BarControl* control, double p);
// The frame with a new text, where only the text changed since the last
// still frame: the pixels where the old and the new text's passes can
// differ recomposed and shown, the same pixels as PaintFrameAt makes. False, with nothing drawn, when
// that cannot be known; the caller then repaints the whole bar.
bool RepaintTextArea(BarControl* control);

// The still frame moved to clipped position p, where only the fill's edge
// and the border's right column moved since the last still frame: the
// columns between the old and the new ones recomposed and shown (for a
// scale bar, every column from the left one up to the farthest of those,
// the icon and the text), the same pixels as PaintFrameAt makes. False when
// that cannot be known; the caller then repaints the whole bar.
bool RepaintMovedColumns(BarControl* control, double p);

// One frame of a busy bar: the fill shows only in the band of columns
// [left, left + width), the rest as the background.
void PaintBandFrame(BarControl* control, int left, int width);

}  // namespace vb::control
