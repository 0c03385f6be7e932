// A picture squeezed (or stretched) across only, written straight into a
// frame: the pixels of copying it, resizing the copy to n columns at its own
// height and drawing that at (0, 0), without the copy or the resized picture.
#pragma once

#include <cstdint>
#include <vector>

#include "pixels/picture.h"

namespace vb::render {

// What a squeeze of one source can keep between squeezes: a copy of the
// source, and for every row the running sums of its pixels' channels. With
// them a new column's sum takes the same few steps however many old columns
// it covers, and all the rows of a column share its weights, so they are
// done together. Made again when the source is not the one they were made
// from.
struct SqueezeSums {
    int width = 0, height = 0;
    std::vector<std::uint32_t> source;
    // Entry (k, y) holds four floats, the sums of the first k pixels of row
    // y, for k from 0 to width + 1 (the last repeats the whole row's, so a
    // column ending on the right edge reads no farther); rows go in pairs,
    // side by side.
    std::vector<float> sums;
    // A squeeze's own: where each column's right edge lies in the sums, and
    // how far into its old column.
    std::vector<std::size_t> edgeAt;
    std::vector<float> edgePart;
};

// Draws source resampled to n columns over columns 0 .. n - 1 of target
// (clipped to it). Handles a source without alpha as tall as the target,
// n from 1 to kMaxPictureSide, and sizes whose sums fit its packed
// arithmetic; false, with the target untouched, for anything else, which
// the caller then draws the general way.
bool SqueezeAcross(pixels::Picture& target, const pixels::Picture& source, int n);
// How a squeeze through kept sums learns they are of its source: by
// comparing the source with the copy they keep, or on the caller's word
// that the source is unchanged since the sums last served it, when only
// its size is checked.
enum class KeptSums { compare, unchanged };

// The same pixels, through sums kept in `kept` (made or made again as
// needed). Falls back to the squeeze above where sums would cost too much
// memory or the build has no vector unit.
bool SqueezeAcross(pixels::Picture& target, const pixels::Picture& source, int n, SqueezeSums& kept,
                   KeptSums check = KeptSums::compare);

// Whether `kept` holds sums for a source of this size: after a squeeze
// through it that compared, sums of that very source.
bool HoldsSumsFor(const SqueezeSums& kept, const pixels::Picture& source);

// Whether that squeeze may use the wider vectors a processor offers (yes
// unless told otherwise); no runs the way of processors without them, so
// tests can compare both on one machine.
void AllowWideSqueeze(bool allow);

// floor((sum + floor(divisor / 2)) / divisor), the rounded division of the
// squeeze, as its vector path makes it: by one multiply in single
// precision. Exact for divisors up to 8,208 and sums up to 255 x divisor:
// the true quotient of (sum + half + 0.5) lies at least 0.5 / divisor
// inside its unit, farther than the multiply's error of 2^-23 x 256.
std::uint32_t RoundedQuotient(std::uint32_t sum, std::uint32_t divisor);

// The same quotient as the wider vector path makes it: one fused
// multiply-add of the sum by 1 / divisor (rounded to single precision) and
// the bias times it (rounded too). Exact for the same divisors and sums:
// the three roundings stay below 2^-15 for quotients below 256, inside the
// same margin of 0.5 / divisor.
std::uint32_t RoundedQuotientFused(std::uint32_t sum, std::uint32_t divisor);
// Whether the processor has the fused multiply-add that one uses (the
// wider vector path needs it too).
bool HasFusedMultiplyAdd();

}  // namespace vb::render
