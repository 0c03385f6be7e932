// The bar's paint: composes background, fill, border, icon and text off
// screen, then shows the result in one copy.
#pragma once

#include <cstdint>

namespace vb::control {

struct BarControl;

// Slot 0: paints at position unless it equals the current one and no
// repaint is forced. 1 when it painted.
int PaintBar(BarControl* control, std::int32_t position);

// Fill width for a (clamped) position: spans the range from RangeMin to
// RangeMax, never below 0.
float FillWidth(int width, int p, int rangeMin, int rangeMax);

}  // namespace vb::control
