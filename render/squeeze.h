// A picture squeezed (or stretched) across only, written straight into a
// frame: the pixels of copying it, resizing the copy to n columns at its own
// height and drawing that at (0, 0), without the copy or the resized picture.
#pragma once

#include "pixels/picture.h"

namespace vb::render {

// Draws source resampled to n columns over columns 0 .. n - 1 of target
// (clipped to it). Handles a source without alpha as tall as the target,
// n from 1 to kMaxPictureSide, and sizes whose sums fit its packed
// arithmetic; false, with the target untouched, for anything else, which
// the caller then draws the general way.
bool SqueezeAcross(pixels::Picture& target, const pixels::Picture& source, int n);

// floor((sum + floor(divisor / 2)) / divisor), the rounded division of the
// squeeze, as its vector path makes it: by one multiply in single
// precision. Exact for divisors up to 8,208 and sums up to 255 x divisor:
// the true quotient of (sum + half + 0.5) lies at least 0.5 / divisor
// inside its unit, farther than the multiply's error of 2^-23 x 256.
std::uint32_t RoundedQuotient(std::uint32_t sum, std::uint32_t divisor);

}  // namespace vb::render
