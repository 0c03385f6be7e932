// Fills, lines, ramps, blends and picture copies, clipped to the target.
#include "render/raster.h"

#include <algorithm>

#include <new>
#include <vector>
#include "render/row_blend.h"

namespace vb::render {

namespace {

// The clipped rectangle [x0, x1) x [y0, y1); empty when x0 >= x1 or y0 >= y1.
struct Span {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// Wide arithmetic so that x + w cannot overflow for any int arguments.
Span clip(const pixels::Picture& target, long long x, long long y, long long w, long long h) {
    Span s;
    if (w <= 0 || h <= 0 || !IsWellFormed(target)) return s;
    long long width = target.width, height = target.height;
    s.x0 = static_cast<int>(std::clamp(x, 0LL, width));
    s.y0 = static_cast<int>(std::clamp(y, 0LL, height));
    s.x1 = static_cast<int>(std::clamp(x + w, 0LL, width));
    s.y1 = static_cast<int>(std::clamp(y + h, 0LL, height));
    return s;
}

// A colour written outright: opaque on a picture with alpha, 0 there otherwise.
std::uint32_t solid(const pixels::Picture& target, std::uint32_t colour) {
    return (colour & 0xFFFFFFu) | (target.hasAlpha ? 0xFF000000u : 0u);
}

void fillSpan(pixels::Picture& target, const Span& s, std::uint32_t colour) {
    std::uint32_t c = solid(target, colour);
    for (int py = s.y0; py < s.y1; ++py) std::fill_n(&target.at(s.x0, py), s.x1 - s.x0, c);
}

// The ramp's colour at every column (horizontal) or row (vertical) of the span.
std::vector<std::uint32_t> rampLine(const LaidRamp& laid, const Span& s) {
    bool horizontal = laid.direction == RampDirection::Horizontal;
    int from = horizontal ? s.x0 : s.y0;
    int to = horizontal ? s.x1 : s.y1;
    std::vector<std::uint32_t> line(static_cast<std::size_t>(to - from));
    RampColours(laid, from, to, line.data());
    return line;
}

template <typename PerPixel>
void applyRamp(pixels::Picture& target, int x, int y, int w, int h, const LaidRamp& laid, PerPixel op) {
    Span s = clip(target, x, y, w, h);
    if (s.empty() || !laid.ramp) return;
    std::vector<std::uint32_t> line = rampLine(laid, s);
    bool horizontal = laid.direction == RampDirection::Horizontal;
    for (int py = s.y0; py < s.y1; ++py) {
        std::uint32_t* row = &target.at(s.x0, py);
        int n = s.x1 - s.x0;
        if (horizontal) {
            for (int i = 0; i < n; ++i) row[i] = op(row[i], line[static_cast<std::size_t>(i)]);
        } else {
            std::uint32_t c = line[static_cast<std::size_t>(py - s.y0)];  // one per row
            for (int i = 0; i < n; ++i) row[i] = op(row[i], c);
        }
    }
}

// Writes source with its top-left at (x, y), each pixel through op.
// source and target are distinct pictures.
template <typename PerPixel>
void place(pixels::Picture& target, const pixels::Picture& source, int x, int y, PerPixel op) {
    Span s = clip(target, x, y, source.width, source.height);
    // Non-empty spans keep x and y within a picture side of the target, so
    // s.x0 - x and s.y0 - y are small.
    for (int py = s.y0; py < s.y1; ++py) {
        const std::uint32_t* from =
            source.pixels.data() + static_cast<std::size_t>(py - y) * source.width + (s.x0 - x);
        std::uint32_t* to = &target.at(s.x0, py);
        for (int i = 0; i < s.x1 - s.x0; ++i) to[i] = op(to[i], from[i]);
    }
}

}  // namespace

bool IsWellFormed(const pixels::Picture& picture) {
    return picture.width >= 1 && picture.height >= 1 && picture.width <= pixels::kMaxPictureSide &&
           picture.height <= pixels::kMaxPictureSide &&
           picture.pixels.size() == static_cast<std::size_t>(picture.width) * picture.height;
}

void FillRect(pixels::Picture& target, int x, int y, int w, int h, std::uint32_t colour) {
    fillSpan(target, clip(target, x, y, w, h), colour);
}

void DrawLine(pixels::Picture& target, int x1, int y1, int x2, int y2, std::uint32_t colour) {
    if (x1 != x2 && y1 != y2) return;
    long long left = std::min(x1, x2), right = std::max(x1, x2);
    long long top = std::min(y1, y2), bottom = std::max(y1, y2);
    fillSpan(target, clip(target, left, top, right - left + 1, bottom - top + 1), colour);
}

void FillWithRamp(pixels::Picture& target, int x, int y, int w, int h, const LaidRamp& ramp) {
    const pixels::Picture& t = target;
    applyRamp(target, x, y, w, h, ramp, [&t](std::uint32_t, std::uint32_t c) {
        return solid(t, c);  // the ramp's alpha plays no part in a fill
    });
}

void BlendWithRamp(pixels::Picture& target, int x, int y, int w, int h, const LaidRamp& ramp) {
    bool hasAlpha = target.hasAlpha;
    if (ramp.direction == RampDirection::Vertical) {
        // One colour a row: each row is a run blended toward it.
        Span s = clip(target, x, y, w, h);
        if (s.empty() || !ramp.ramp) return;
        std::vector<std::uint32_t> line = rampLine(ramp, s);
        for (int py = s.y0; py < s.y1; ++py) {
            std::uint32_t c = line[static_cast<std::size_t>(py - s.y0)];
            BlendRun(&target.at(s.x0, py), static_cast<std::size_t>(s.x1 - s.x0),
                     TowardColour(c, pixels::alpha(c), hasAlpha));
        }
        return;
    }
    applyRamp(target, x, y, w, h, ramp, [hasAlpha](std::uint32_t d, std::uint32_t c) {
        return BlendPixel(d, c, pixels::alpha(c), hasAlpha);
    });
}

void BlendRect(pixels::Picture& target, int x, int y, int w, int h, std::uint32_t colour) {
    Span s = clip(target, x, y, w, h);
    ByteBlend blend = TowardColour(colour, pixels::alpha(colour), target.hasAlpha);
    for (int py = s.y0; py < s.y1; ++py)
        BlendRun(&target.at(s.x0, py), static_cast<std::size_t>(s.x1 - s.x0), blend);
}

std::optional<pixels::Picture> CopyPicture(const pixels::Picture& source) {
    std::optional<pixels::Picture> copy;
    if (!IsWellFormed(source)) return copy;
    try {
        copy = source;
    } catch (const std::bad_alloc&) {
        // Kept: a copy that cannot be made is an answer; the paint leaves the
        // part out and SetIcon shows no icon, and both still succeed.
        copy.reset();
    }
    return copy;
}

std::optional<pixels::Picture> Crop(const pixels::Picture& source, int x, int y, int w, int h) {
    std::optional<pixels::Picture> part;
    if (w < 1 || h < 1 || !IsWellFormed(source)) return part;
    part = pixels::makePicture(w, h, source.hasAlpha);
    // Only a crop that meets the source has anything to copy, and then -x
    // and -y are small enough to negate.
    bool meets = part && static_cast<long long>(x) + w > 0 &&
                 x<source.width&& static_cast<long long>(y) + h> 0 && y < source.height;
    std::uint32_t keep = source.hasAlpha ? 0xFFFFFFFFu : 0xFFFFFFu;  // alpha rides along
    if (meets) place(*part, source, -x, -y, [keep](std::uint32_t, std::uint32_t s) { return s & keep; });
    return part;
}

void DrawPicture(pixels::Picture& target, const pixels::Picture& source, int x, int y) {
    if (!IsWellFormed(source)) return;
    if (&source == &target) {  // onto itself: read from a snapshot
        std::optional<pixels::Picture> snapshot = CopyPicture(source);
        if (snapshot) DrawPicture(target, *snapshot, x, y);
        return;
    }
    const pixels::Picture& t = target;
    if (source.hasAlpha)
        place(target, source, x, y, [&t](std::uint32_t d, std::uint32_t s) {
            return BlendPixel(d, s, pixels::alpha(s), t.hasAlpha);
        });
    else
        place(target, source, x, y, [&t](std::uint32_t, std::uint32_t s) { return solid(t, s); });
}

}  // namespace vb::render
