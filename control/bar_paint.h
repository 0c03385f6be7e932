// The bar's paint: composes background, fill, border, icon and text off
// screen, then shows the result in one copy.
#pragma once

#include <cstdint>

namespace vb::control {

struct BarControl;

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

// One frame at a clipped position, whole or between two whole ones; at a
// whole one it is exactly what PaintBar shows there.
void PaintFrameAt(BarControl* control, double p);
// One frame of a busy bar: the fill shows only in the band of columns
// [left, left + width), the rest as the background.
void PaintBandFrame(BarControl* control, int left, int width);

}  // namespace vb::control
