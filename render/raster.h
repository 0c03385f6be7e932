// Raster operations on pictures, clipped to the target, with the integer
// blending rule (d * (255 - a) + s * a) div 255 on every channel.
//
// The alpha byte of the target: a picture without alpha always gets 0 there.
// On a picture that carries alpha, what an operation writes outright (fill,
// line, ramp fill, copy of a source without alpha) is opaque (255), and a
// blend composes alpha "over" the pixel: a' = a + d * (255 - a) div 255, the
// channel rule with a source of 255. A blend therefore never makes a pixel
// more transparent.
#pragma once

#include <cstdint>
#include <optional>

#include "pixels/picture.h"
#include "render/colour_ramp.h"

namespace vb::render {

// Colours are packed values, red in the low byte; alpha (top byte) is used
// only where an operation says so.
void FillRect(pixels::Picture& target, int x, int y, int w, int h, std::uint32_t colour);
// A 1-pixel horizontal or vertical line including both end points, in either
// direction. A slanted line draws nothing: the bar never asks for one.
void DrawLine(pixels::Picture& target, int x1, int y1, int x2, int y2, std::uint32_t colour);
// The two ramps may throw std::bad_alloc (a row of colours), the target
// then partly drawn.
void FillWithRamp(pixels::Picture& target, int x, int y, int w, int h, const LaidRamp& ramp);
void BlendWithRamp(pixels::Picture& target, int x, int y, int w, int h, const LaidRamp& ramp);
void BlendRect(pixels::Picture& target, int x, int y, int w, int h, std::uint32_t rgba);
std::optional<pixels::Picture> CopyPicture(const pixels::Picture& source);
// None when w or h is below 1; the part outside the source stays black
// (transparent black when the source carries alpha). Keeps the alpha flag.
std::optional<pixels::Picture> Crop(const pixels::Picture& source, int x, int y, int w, int h);
// Area-average resample of the whole picture to w x h; alpha is kept.
// False, and the picture unchanged, for sizes below 1 or out of memory.
bool Resize(pixels::Picture& picture, int w, int h);
// Writes source with its top-left at (x, y): blended by its own alpha when
// it carries alpha, copied otherwise.
void DrawPicture(pixels::Picture& target, const pixels::Picture& source, int x, int y);

inline std::uint8_t BlendChannel(std::uint8_t destination, std::uint8_t source, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((destination * (255u - alpha) + source * alpha) / 255u);
}
// Blends red, green and blue of source over destination by alpha; the alpha
// byte follows the rule above for a target with or without alpha.
inline std::uint32_t BlendPixel(std::uint32_t destination, std::uint32_t source, std::uint8_t a,
                                bool targetHasAlpha) {
    std::uint8_t outAlpha = targetHasAlpha ? BlendChannel(pixels::alpha(destination), 255, a) : 0;
    return pixels::rgba(BlendChannel(pixels::red(destination), pixels::red(source), a),
                        BlendChannel(pixels::green(destination), pixels::green(source), a),
                        BlendChannel(pixels::blue(destination), pixels::blue(source), a), outAlpha);
}

// A picture whose sizes and pixel count agree; every operation checks this
// first and leaves anything else alone.
bool IsWellFormed(const pixels::Picture& picture);

}  // namespace vb::render
