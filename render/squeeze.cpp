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
//
// Where SSE2 is there at compile time, a pixel's four channels ride in one
// vector instead: 16-bit multiply-adds for the weights and the division by
// one multiply in single precision (RoundedQuotient says why it is exact).
#include "render/squeeze.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    int last = 0;  // the column weighed by lastWeight; `first` when that is 0
};

// The first `count` new columns of n. The old column where each new one
// ends, hi / N, steps by S / N and a remainder, so one division serves
// every column (a 64-bit division costs as much as a whole pixel).
std::vector<Column> columnsFor(int sourceWidth, int n, int count) {
    std::vector<Column> columns(static_cast<std::size_t>(count));
    const long long S = sourceWidth, N = n;
    const long long step = S / N, extra = S % N;
    long long j = 0, rest = 0;  // lo / N and lo % N
    for (long long i = 0; i < count; ++i) {
        long long lo = i * S, hi = lo + S;
        long long endFull = j + step, endRest = rest + extra;  // hi / N and hi % N
        if (endRest >= N) {
            endRest -= N;
            ++endFull;
        }
        Column& c = columns[static_cast<std::size_t>(i)];
        c.first = static_cast<int>(j);
        c.firstWeight = static_cast<std::uint32_t>(std::min(hi, (j + 1) * N) - lo);
        long long next = j + 1;
        // Old columns below endFull lie wholly inside.
        if (next < endFull) c.middle = static_cast<int>(endFull - next);
        long long tail = hi - std::max(endFull, next) * N;
        if (tail > 0 && (j + 1) * N < hi) c.lastWeight = static_cast<std::uint32_t>(tail);
        c.last = c.lastWeight ? c.first + c.middle + 1 : c.first;
        j = endFull;
        rest = endRest;
    }
    return columns;
}

// floor(x / d) for x below 2^23 and d below 2^15, by one multiply.
struct Reciprocal {
    std::uint64_t m;
    explicit Reciprocal(std::uint32_t d) : m(((std::uint64_t{1} << 40) + d - 1) / d) {}
    std::uint32_t operator()(std::uint64_t x) const { return static_cast<std::uint32_t>((x * m) >> 40); }
};

// One new pixel of a row, channel by channel in one 64-bit word.
struct PackedSqueeze {
    std::uint64_t full;  // n, the weight of a middle column
    std::uint32_t half;
    Reciprocal divide;

    std::uint32_t operator()(const std::uint32_t* from, const Column& c) const {
        const std::uint32_t* p = from + c.first;
        std::uint64_t sum = c.firstWeight * spread(p[0]);
        if (c.middle) {
            std::uint64_t inner = 0;
            for (int k = 1; k <= c.middle; ++k) inner += spread(p[k]);
            sum += full * inner;
        }
        if (c.lastWeight) sum += c.lastWeight * spread(p[c.middle + 1]);
        return divide((sum & kField) + half) | (divide(((sum >> 21) & kField) + half) << 8) |
               (divide((sum >> 42) + half) << 16);
    }
};

// What RoundedQuotient adds before it multiplies, and the multiplier: the
// half for rounding and 0.5 more, which keeps an exact multiple from
// landing just below its quotient.
float quotientBias(std::uint32_t divisor) { return static_cast<float>(divisor / 2) + 0.5f; }
float quotientScale(std::uint32_t divisor) { return 1.0f / static_cast<float>(divisor); }

#if defined(__SSE2__)
// The middle columns are summed in 16-bit lanes: 128 of them stay below
// 2^15, which the signed multiply-add needs. Wider ones take the packed way.
constexpr int kMaxVectorMiddle = 128;

// A column at a time down all rows, so its weights are made ready once.
void squeezeVector(std::uint32_t* to, std::size_t toStride, const std::uint32_t* from, std::size_t fromStride,
                   int height, const std::vector<Column>& columns, int n, int sourceWidth,
                   std::uint32_t alpha, const PackedSqueeze& packed) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi32(n);  // high words 0: a multiply-add gives n x lane
    const __m128 bias = _mm_set1_ps(quotientBias(static_cast<std::uint32_t>(sourceWidth)));
    const __m128 scale = _mm_set1_ps(quotientScale(static_cast<std::uint32_t>(sourceWidth)));
    const __m128i keep = _mm_set1_epi32(0xFFFFFF), opaque = _mm_set1_epi32(static_cast<int>(alpha));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column& c = columns[i];
        std::uint32_t* out = to + i;
        const std::uint32_t* first = from + c.first;
        const std::uint32_t* last = from + c.last;
        if (c.middle > kMaxVectorMiddle) {
            for (int y = 0; y < height; ++y, out += toStride, first += fromStride)
                *out = packed(first - c.first, c) | alpha;
            continue;
        }
        const __m128i weights = _mm_set1_epi32(static_cast<int>(c.firstWeight | (c.lastWeight << 16)));
        for (int y = 0; y < height; ++y, out += toStride, first += fromStride, last += fromStride) {
            // Words first0 last0 first1 last1 ..., weighed in pairs into 32 bits.
            __m128i ends = _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(*first)),
                                                               _mm_cvtsi32_si128(static_cast<int>(*last))),
                                             zero);
            __m128i sum = _mm_madd_epi16(ends, weights);
            if (c.middle) {
                __m128i inner = zero;
                for (int k = 1; k <= c.middle; ++k)
                    inner = _mm_add_epi16(
                        inner, _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(first[k])), zero));
                sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(inner, zero), full));
            }
            __m128i q = _mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(_mm_cvtepi32_ps(sum), bias), scale));
            q = _mm_or_si128(_mm_and_si128(_mm_packus_epi16(_mm_packs_epi32(q, q), zero), keep), opaque);
            *out = static_cast<std::uint32_t>(_mm_cvtsi128_si32(q));
        }
    }
}
#endif

}  // namespace

std::uint32_t RoundedQuotient(std::uint32_t sum, std::uint32_t divisor) {
    return static_cast<std::uint32_t>((static_cast<float>(sum) + quotientBias(divisor)) *
                                      quotientScale(divisor));
}

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
    const PackedSqueeze packed{static_cast<std::uint64_t>(n), static_cast<std::uint32_t>(source.width) / 2,
                               Reciprocal(static_cast<std::uint32_t>(source.width))};
    const std::uint32_t alpha = target.hasAlpha ? 0xFF000000u : 0u;  // a copied pixel is opaque
#if defined(__SSE2__)
    squeezeVector(target.pixels.data(), static_cast<std::size_t>(target.width), source.pixels.data(),
                  static_cast<std::size_t>(source.width), target.height, columns, n, source.width, alpha,
                  packed);
#else
    for (int y = 0; y < target.height; ++y) {
        const std::uint32_t* from = source.pixels.data() + static_cast<std::size_t>(y) * source.width;
        std::uint32_t* to = &target.at(0, y);
        for (int i = 0; i < shown; ++i) to[i] = packed(from, columns[static_cast<std::size_t>(i)]) | alpha;
    }
#endif
    return true;
}

}  // namespace vb::render
