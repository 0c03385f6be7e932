// Area averaging along one axis, as Resize does it, for the rows of a
// picture whose height stays: the new column i covers [i * S, (i + 1) * S)
// in units where every old column is n wide (S the old width), and its
// value is the weighted sum of the old columns it meets divided by S,
// rounded half up. With the height unchanged every vertical weight is the
// same, so that is exactly Resize's rounded division by S x height.
//
// Red, green and blue ride in one 64-bit word, 21 bits each, so one
// multiply weighs all three: the weights of a new column add up to S, so a
// sum stays below 2^21 while 255 x S (plus the half for rounding) does.
#include "render/squeeze.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "render/raster.h"

namespace vb::render {

namespace {

constexpr std::uint64_t kField = (1u << 21) - 1;

inline std::uint64_t spread(std::uint32_t c) {
    return (c & 0xFFu) | (static_cast<std::uint64_t>(c & 0xFF00u) << 13) |
           (static_cast<std::uint64_t>(c & 0xFF0000u) << 26);
}

// The old columns one new column meets: `first` with weight `firstWeight`,
// then `middle` columns of weight n, then (when lastWeight is not 0) one
// more with weight `lastWeight`.
struct Column {
    int first = 0;
    int middle = 0;
    std::uint32_t firstWeight = 0, lastWeight = 0;
};

// The first `count` new columns of n.
std::vector<Column> columnsFor(int sourceWidth, int n, int count) {
    std::vector<Column> columns(static_cast<std::size_t>(count));
    const long long S = sourceWidth, N = n;
    for (long long i = 0; i < count; ++i) {
        long long lo = i * S, hi = lo + S;
        long long j = lo / N;
        Column& c = columns[static_cast<std::size_t>(i)];
        c.first = static_cast<int>(j);
        c.firstWeight = static_cast<std::uint32_t>(std::min(hi, (j + 1) * N) - lo);
        long long next = j + 1;
        long long endFull = hi / N;  // old columns below this lie wholly inside
        if (next < endFull) c.middle = static_cast<int>(endFull - next);
        long long tail = hi - std::max(endFull, next) * N;
        if (tail > 0 && (j + 1) * N < hi) c.lastWeight = static_cast<std::uint32_t>(tail);
    }
    return columns;
}

// floor(x / d) for x below 2^23 and d below 2^15, by one multiply.
struct Reciprocal {
    std::uint64_t m;
    explicit Reciprocal(std::uint32_t d) : m(((std::uint64_t{1} << 40) + d - 1) / d) {}
    std::uint32_t operator()(std::uint64_t x) const { return static_cast<std::uint32_t>((x * m) >> 40); }
};

}  // namespace

bool SqueezeAcross(pixels::Picture& target, const pixels::Picture& source, int n) {
    if (n < 1 || n > pixels::kMaxPictureSide || !IsWellFormed(target) || !IsWellFormed(source) ||
        source.hasAlpha || source.height != target.height ||
        255LL * source.width + source.width / 2 > static_cast<long long>(kField))
        return false;
    const int shown = std::min(n, target.width);
    std::vector<Column> columns;
    try {
        columns = columnsFor(source.width, n, shown);
    } catch (const std::bad_alloc&) {
        // Kept: false sends the paint to the general path, whose failed copy
        // leaves the fill out and still succeeds.
        return false;
    }
    const std::uint32_t half = static_cast<std::uint32_t>(source.width) / 2;
    const Reciprocal divide(static_cast<std::uint32_t>(source.width));
    const std::uint64_t full = static_cast<std::uint64_t>(n);
    const std::uint32_t alpha = target.hasAlpha ? 0xFF000000u : 0u;  // a copied pixel is opaque
    for (int y = 0; y < target.height; ++y) {
        const std::uint32_t* from = source.pixels.data() + static_cast<std::size_t>(y) * source.width;
        std::uint32_t* to = &target.at(0, y);
        for (int i = 0; i < shown; ++i) {
            const Column& c = columns[static_cast<std::size_t>(i)];
            const std::uint32_t* p = from + c.first;
            std::uint64_t sum = c.firstWeight * spread(p[0]);
            if (c.middle) {
                std::uint64_t inner = 0;
                for (int k = 1; k <= c.middle; ++k) inner += spread(p[k]);
                sum += full * inner;
            }
            if (c.lastWeight) sum += c.lastWeight * spread(p[c.middle + 1]);
            to[i] = divide((sum & kField) + half) | (divide(((sum >> 21) & kField) + half) << 8) |
                    (divide((sum >> 42) + half) << 16) | alpha;
        }
    }
    return true;
}

}  // namespace vb::render
