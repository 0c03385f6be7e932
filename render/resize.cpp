// Area-average resampling: every new pixel is the mean of the part of the
// old picture it covers, with exact integer weights. A picture with alpha is
// averaged with each colour weighted by its alpha, so transparent pixels lend
// no colour to their neighbours.
#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "render/raster.h"
#include "render/row_resampler.h"

namespace vb::render {

namespace {

struct Tap {
    int index = 0;
    std::uint32_t weight = 0;
};

// Along one axis, new pixel i spans [i * src, (i + 1) * src) in units where
// every old pixel is dst wide; its taps are the overlaps, summing to src.
struct Axis {
    std::vector<std::size_t> first;  // taps of new pixel i: first[i] .. first[i + 1]
    std::vector<Tap> taps;
};

Axis makeAxis(int src, int dst) {
    Axis axis;
    axis.first.reserve(static_cast<std::size_t>(dst) + 1);
    axis.taps.reserve(static_cast<std::size_t>(src) + dst);
    for (int i = 0; i < dst; ++i) {
        axis.first.push_back(axis.taps.size());
        long long lo = static_cast<long long>(i) * src, hi = lo + src;
        for (long long j = lo / dst; j * dst < hi; ++j) {
            long long overlap = std::min(hi, (j + 1) * dst) - std::max(lo, j * dst);
            if (overlap > 0) axis.taps.push_back({static_cast<int>(j), static_cast<std::uint32_t>(overlap)});
        }
    }
    axis.first.push_back(axis.taps.size());
    return axis;
}

using Sums = std::array<std::uint64_t, 4>;  // red, green, blue, alpha

// Weighted channel values of one pixel: premultiplied when alpha counts.
Sums channels(std::uint32_t p, bool withAlpha) {
    std::uint64_t a = withAlpha ? pixels::alpha(p) : 1;
    return {pixels::red(p) * a, pixels::green(p) * a, pixels::blue(p) * a, withAlpha ? a : 0};
}

// One old row reduced horizontally to the new width.
void reduceRow(const std::uint32_t* pixels, bool withAlpha, const Axis& across, std::vector<Sums>* out) {
    for (std::size_t x = 0; x + 1 < across.first.size(); ++x) {
        Sums sum{};  // kept local so it stays in registers
        for (std::size_t k = across.first[x]; k < across.first[x + 1]; ++k) {
            const Tap& tap = across.taps[k];
            Sums c = channels(pixels[tap.index], withAlpha);
            for (int ch = 0; ch < 4; ++ch) sum[ch] += tap.weight * c[ch];
        }
        (*out)[x] = sum;
    }
}

// Reduced rows of a whole picture. Two are kept: the rows a new row needs
// overlap those of the row before in at most two rows.
struct RowCache {
    struct Slot {
        int row = -1;
        std::vector<Sums> sums;
    };
    std::array<Slot, 2> slots;
    int older = 0;

    const std::vector<Sums>& get(const pixels::Picture& source, const Axis& across, int row) {
        for (const Slot& slot : slots)
            if (slot.row == row) return slot.sums;
        Slot& slot = slots[static_cast<std::size_t>(older)];
        older = 1 - older;
        slot.row = row;
        slot.sums.assign(across.first.size() - 1, Sums{});
        reduceRow(&source.pixels[static_cast<std::size_t>(row) * source.width], source.hasAlpha, across,
                  &slot.sums);
        return slot.sums;
    }
};

// Rounded division by one divisor for many numerators, through its
// reciprocal and then corrected, so the result is exact (numerators stay far
// below 2^53).
struct Divider {
    std::uint64_t d;
    double inverse;
    explicit Divider(std::uint64_t divisor) : d(divisor), inverse(1.0 / divisor) {}
    unsigned operator()(std::uint64_t n) const {
        std::uint64_t x = n + d / 2;
        auto q = static_cast<std::uint64_t>(static_cast<double>(x) * inverse);
        if (q * d > x) --q;
        if ((q + 1) * d <= x) ++q;
        return static_cast<unsigned>(q);
    }
};

std::uint32_t average(const Sums& s, const Divider& area, bool withAlpha) {
    if (!withAlpha) return pixels::rgba(area(s[0]), area(s[1]), area(s[2]));
    std::uint64_t weight = s[3];  // sum of alpha x area
    if (weight == 0) return 0;    // fully transparent: transparent black
    return pixels::rgba(static_cast<unsigned>((s[0] + weight / 2) / weight),
                        static_cast<unsigned>((s[1] + weight / 2) / weight),
                        static_cast<unsigned>((s[2] + weight / 2) / weight), area(weight));
}

std::vector<std::uint32_t> resample(const pixels::Picture& source, int w, int h) {
    Axis across = makeAxis(source.width, w);
    Axis down = makeAxis(source.height, h);
    Divider area(static_cast<std::uint64_t>(source.width) * source.height);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h);
    RowCache cache;
    std::vector<Sums> acc(static_cast<std::size_t>(w));
    for (int y = 0; y < h; ++y) {
        std::fill(acc.begin(), acc.end(), Sums{});
        for (std::size_t k = down.first[static_cast<std::size_t>(y)];
             k < down.first[static_cast<std::size_t>(y) + 1]; ++k) {
            const std::vector<Sums>& row = cache.get(source, across, down.taps[k].index);
            std::uint64_t weight = down.taps[k].weight;
            for (std::size_t x = 0; x < acc.size(); ++x)
                for (int ch = 0; ch < 4; ++ch) acc[x][ch] += weight * row[x][ch];
        }
        for (int x = 0; x < w; ++x)
            out[static_cast<std::size_t>(y) * w + x] =
                average(acc[static_cast<std::size_t>(x)], area, source.hasAlpha);
    }
    return out;
}

}  // namespace

// The same sums as resample(), gathered as the rows arrive: integer sums do
// not depend on their order, so the result is the same to the bit.
struct RowResampler::State {
    Axis across, down;
    std::vector<int> tapRow;  // output row of each vertical tap
    std::size_t nextTap = 0;
    std::vector<Sums> acc;  // every output pixel
    std::vector<Sums> reduced;
};

RowResampler::RowResampler(int srcWidth, int srcHeight, int dstWidth, int dstHeight, bool hasAlpha)
    : srcWidth_(srcWidth),
      srcHeight_(srcHeight),
      dstWidth_(dstWidth),
      dstHeight_(dstHeight),
      hasAlpha_(hasAlpha) {
    const bool sizesOk = srcWidth >= 1 && srcHeight >= 1 && srcWidth <= pixels::kMaxPictureSide &&
                         srcHeight <= pixels::kMaxPictureSide && dstWidth >= 1 && dstHeight >= 1 &&
                         static_cast<long long>(dstWidth) * dstHeight <= kMaxResampledPixels;
    if (!sizesOk) return;
    auto state = std::make_unique<State>();
    state->across = makeAxis(srcWidth, dstWidth);
    state->down = makeAxis(srcHeight, dstHeight);
    state->tapRow.resize(state->down.taps.size());
    for (int y = 0; y < dstHeight; ++y)
        for (std::size_t k = state->down.first[static_cast<std::size_t>(y)];
             k < state->down.first[static_cast<std::size_t>(y) + 1]; ++k)
            state->tapRow[k] = y;
    state->acc.assign(static_cast<std::size_t>(dstWidth) * dstHeight, Sums{});
    state->reduced.assign(static_cast<std::size_t>(dstWidth), Sums{});
    state_ = std::move(state);
}

RowResampler::~RowResampler() = default;

void RowResampler::addRow(int y, const std::uint32_t* pixels) noexcept {
    if (!state_ || y < 0 || y >= srcHeight_ || !pixels) return;
    State& s = *state_;
    // Vertical taps are ordered by output row and then source row, so the
    // source rows they name never go down: a cursor finds this row's taps.
    while (s.nextTap < s.down.taps.size() && s.down.taps[s.nextTap].index < y) ++s.nextTap;
    if (s.nextTap >= s.down.taps.size() || s.down.taps[s.nextTap].index != y) return;
    reduceRow(pixels, hasAlpha_, s.across, &s.reduced);
    for (std::size_t k = s.nextTap; k < s.down.taps.size() && s.down.taps[k].index == y; ++k) {
        const std::uint64_t weight = s.down.taps[k].weight;
        Sums* row = &s.acc[static_cast<std::size_t>(s.tapRow[k]) * dstWidth_];
        for (int x = 0; x < dstWidth_; ++x)
            for (int ch = 0; ch < 4; ++ch) row[x][ch] += weight * s.reduced[static_cast<std::size_t>(x)][ch];
    }
}

std::optional<pixels::Picture> RowResampler::finish() {
    if (!state_) return std::nullopt;
    std::optional<pixels::Picture> out = pixels::makePicture(dstWidth_, dstHeight_, hasAlpha_);
    if (!out) return out;
    Divider area(static_cast<std::uint64_t>(srcWidth_) * srcHeight_);
    for (std::size_t i = 0; i < out->pixels.size(); ++i)
        out->pixels[i] = average(state_->acc[i], area, hasAlpha_);
    return out;
}

bool Resize(pixels::Picture& picture, int w, int h) {
    if (w < 1 || h < 1 || w > pixels::kMaxPictureSide || h > pixels::kMaxPictureSide ||
        !IsWellFormed(picture))
        return false;
    bool done = true;
    if (w != picture.width || h != picture.height) {
        try {
            picture.pixels = resample(picture, w, h);
            picture.width = w;
            picture.height = h;
        } catch (const std::bad_alloc&) {
            // Kept: the picture stays as it was and the paint or the bar's
            // resize goes on, as it does for any failed picture operation.
            done = false;
        }
    }
    return done;
}

}  // namespace vb::render
