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
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <immintrin.h>
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
// The fused way adds the bias after the multiply, so multiplied by it too.
float quotientBiasScaled(std::uint32_t divisor) { return quotientBias(divisor) * quotientScale(divisor); }

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

// The most running sums a squeeze keeps: entries of four floats, 16 MB.
constexpr std::size_t kMaxKeptSums = std::size_t{1} << 20;

// Where entry (k, y) of the sums of a source `width` wide starts: rows in
// pairs, a pair's entries one after the other, rows y and y + 1 side by
// side in each. A squeeze walks a pair's entries from left to right.
constexpr std::size_t kPairEntry = 8;  // floats: four for each row of a pair
std::size_t sumsIndex(std::size_t width, std::size_t k, std::size_t y) {
    return ((y / 2) * (width + 2) + k) * kPairEntry + (y % 2) * 4;
}

// Makes `kept` hold the running sums of `source`'s rows, unless it holds
// them already. Every sum is a whole number below 2^24, so exact as a float.
void keepSumsOf(SqueezeSums& kept, const pixels::Picture& source, KeptSums check) {
    if (HoldsSumsFor(kept, source) && (check == KeptSums::unchanged || kept.source == source.pixels)) return;
    kept.width = kept.height = 0;  // until made whole: a throw below leaves it unusable
    const std::size_t width = static_cast<std::size_t>(source.width);
    const std::size_t height = static_cast<std::size_t>(source.height);
    kept.source = source.pixels;
    kept.sums.assign(((height + 1) / 2) * (width + 2) * 8, 0.0f);
    for (std::size_t y = 0; y < height; ++y) {
        float running[4] = {};
        const std::uint32_t* row = source.pixels.data() + y * width;
        for (std::size_t k = 0; k < width; ++k) {
            // The byte above the colours is not summed: its lane stays 0 and
            // so rounds to 0 without a mask.
            float* entry = &kept.sums[sumsIndex(width, k + 1, y)];
            for (int c = 0; c < 3; ++c)
                entry[c] = running[c] += static_cast<float>((row[k] >> (8 * c)) & 0xFFu);
        }
        std::copy_n(&kept.sums[sumsIndex(width, width, y)], 4, &kept.sums[sumsIndex(width, width + 1, y)]);
    }
    kept.width = source.width;
    kept.height = source.height;
}

// New column i covers [iS, (i + 1)S) where every old column is n wide. With
// P(k) the sum of a row's first k pixels and (i + 1)S = q n + r, the part
// of the row left of the column's right edge weighs n P(q) + r s(q), s(q)
// the pixel at q; a column's sum is that at its right edge less that at
// its left, the left one carried from the column before. Every step is a
// whole number below 2^24, so the floats are exact and the sum is the one
// the weights make.
//
// The columns' right edges, once for all rows: where edge i's entry lies
// from a row's first, and its r as a float. Made before a squeeze by sums
// begins, which then allocates nothing.
void edgesFor(SqueezeSums& kept, int n, int shown) {
    kept.edgeAt.resize(static_cast<std::size_t>(shown));
    kept.edgePart.resize(static_cast<std::size_t>(shown));
    const long long step = kept.width / n, extra = kept.width % n;
    long long q = 0, r = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(shown); ++i) {
        q += step;
        r += extra;
        if (r >= n) {
            r -= n;
            ++q;
        }
        kept.edgeAt[i] = static_cast<std::size_t>(q) * kPairEntry;
        kept.edgePart[i] = static_cast<float>(r);
    }
}

// One row's columns [0, shown), a column at a time along the row, four
// packed into one store.
struct RowSqueeze {
    __m128 wide, bias, scale;
    __m128i opaque;
    __m128i pixel(const float* sums, std::size_t at, float part, __m128& before, __m128& carried) const {
        const __m128 here = _mm_loadu_ps(sums + at);
        const __m128 edge =
            _mm_mul_ps(_mm_set1_ps(part), _mm_sub_ps(_mm_loadu_ps(sums + at + kPairEntry), here));
        const __m128 sum = _mm_sub_ps(_mm_add_ps(_mm_mul_ps(wide, _mm_sub_ps(here, before)), edge), carried);
        before = here;
        carried = edge;
        return _mm_cvttps_epi32(_mm_mul_ps(_mm_add_ps(sum, bias), scale));
    }

    void operator()(std::uint32_t* out, const float* row, const SqueezeSums& kept, int shown) const {
        __m128 before = _mm_setzero_ps(), carried = _mm_setzero_ps();
        const std::size_t* at = kept.edgeAt.data();
        const float* part = kept.edgePart.data();
        int i = 0;
        for (; i + 4 <= shown; i += 4) {
            const __m128i p0 = pixel(row, at[i], part[i], before, carried);
            const __m128i p1 = pixel(row, at[i + 1], part[i + 1], before, carried);
            const __m128i p2 = pixel(row, at[i + 2], part[i + 2], before, carried);
            const __m128i p3 = pixel(row, at[i + 3], part[i + 3], before, carried);
            const __m128i four = _mm_packus_epi16(_mm_packs_epi32(p0, p1), _mm_packs_epi32(p2, p3));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_or_si128(four, opaque));
        }
        for (; i < shown; ++i) {
            const __m128i p = pixel(row, at[i], part[i], before, carried);
            const __m128i one = _mm_packus_epi16(_mm_packs_epi32(p, p), p);
            out[i] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_or_si128(one, opaque)));
        }
    }
};

void squeezeBySums(std::uint32_t* to, std::size_t toStride, SqueezeSums& kept, int n, int shown,
                   std::uint32_t alpha) {
    const std::size_t height = static_cast<std::size_t>(kept.height);
    const RowSqueeze squeezeRow{_mm_set1_ps(static_cast<float>(n)),
                                _mm_set1_ps(quotientBias(static_cast<std::uint32_t>(kept.width))),
                                _mm_set1_ps(quotientScale(static_cast<std::uint32_t>(kept.width))),
                                _mm_set1_epi32(static_cast<int>(alpha))};
    const std::size_t width = static_cast<std::size_t>(kept.width);
    for (std::size_t y = 0; y < height; ++y)
        squeezeRow(to + y * toStride, kept.sums.data() + sumsIndex(width, 0, y), kept, shown);
}

#endif  // __SSE2__

#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define VB_SQUEEZE_AVX2 1
// RowSqueeze::pixel for rows y and y + 1 at once, with fused multiply-adds:
// every step but the last is a whole number below 2^24, so the fused ones
// give the same sums, and the division is RoundedQuotientFused.
struct PairSqueeze {
    __m256 wide, scale, biasScaled;

    __attribute__((target("avx2,fma"))) __m256i pixels(const float* rows, std::size_t at, float part,
                                                       __m256& before, __m256& carried) const {
        const __m256 here = _mm256_loadu_ps(rows + at);
        const __m256 edge =
            _mm256_mul_ps(_mm256_set1_ps(part), _mm256_sub_ps(_mm256_loadu_ps(rows + at + kPairEntry), here));
        const __m256 sum = _mm256_fmadd_ps(wide, _mm256_sub_ps(here, before), _mm256_sub_ps(edge, carried));
        before = here;
        carried = edge;
        return _mm256_cvttps_epi32(_mm256_fmadd_ps(sum, scale, biasScaled));
    }
};

// The same steps, two rows a step: a column's entries for rows y and y + 1
// lie side by side, so one vector holds a pixel of each.
__attribute__((target("avx2,fma"))) void squeezeBySumsAvx2(std::uint32_t* to, std::size_t toStride,
                                                           SqueezeSums& kept, int n, int shown,
                                                           std::uint32_t alpha) {
    const std::size_t height = static_cast<std::size_t>(kept.height);
    const std::size_t width = static_cast<std::size_t>(kept.width);
    const std::uint32_t divisor = static_cast<std::uint32_t>(kept.width);
    const PairSqueeze pair{_mm256_set1_ps(static_cast<float>(n)), _mm256_set1_ps(quotientScale(divisor)),
                           _mm256_set1_ps(quotientBiasScaled(divisor))};
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(alpha));
    const std::size_t* at = kept.edgeAt.data();
    const float* part = kept.edgePart.data();
    std::size_t y = 0;
    for (; y + 2 <= height; y += 2) {
        const float* rows = kept.sums.data() + sumsIndex(width, 0, y);
        std::uint32_t* top = to + y * toStride;
        std::uint32_t* bottom = top + toStride;
        __m256 before = _mm256_setzero_ps(), carried = _mm256_setzero_ps();
        int i = 0;
        for (; i + 4 <= shown; i += 4) {
            const __m256i p0 = pair.pixels(rows, at[i], part[i], before, carried);
            const __m256i p1 = pair.pixels(rows, at[i + 1], part[i + 1], before, carried);
            const __m256i p2 = pair.pixels(rows, at[i + 2], part[i + 2], before, carried);
            const __m256i p3 = pair.pixels(rows, at[i + 3], part[i + 3], before, carried);
            // Within each half: row y's four pixels, then row y + 1's.
            const __m256i eight = _mm256_or_si256(
                _mm256_packus_epi16(_mm256_packs_epi32(p0, p1), _mm256_packs_epi32(p2, p3)), opaque);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(top + i), _mm256_castsi256_si128(eight));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(bottom + i), _mm256_extracti128_si256(eight, 1));
        }
        for (; i < shown; ++i) {
            const __m256i p = pair.pixels(rows, at[i], part[i], before, carried);
            const __m256i two = _mm256_or_si256(_mm256_packus_epi16(_mm256_packs_epi32(p, p), p), opaque);
            top[i] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm256_castsi256_si128(two)));
            bottom[i] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm256_extracti128_si256(two, 1)));
        }
    }
    if (y < height) {  // an odd last row
        const RowSqueeze squeezeRow{_mm_set1_ps(static_cast<float>(n)), _mm_set1_ps(quotientBias(divisor)),
                                    _mm_set1_ps(quotientScale(divisor)), _mm256_castsi256_si128(opaque)};
        squeezeRow(to + y * toStride, kept.sums.data() + sumsIndex(width, 0, y), kept, shown);
    }
}

bool wideAllowed = true;

bool useAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has && wideAllowed;
}
#endif

// What both squeezes check: a source without alpha as tall as the target,
// n in range, sums that fit.
bool canSqueeze(const pixels::Picture& target, const pixels::Picture& source, int n) {
    return n >= 1 && n <= pixels::kMaxPictureSide && IsWellFormed(target) && IsWellFormed(source) &&
           !source.hasAlpha && source.height == target.height &&
           255LL * source.width + source.width / 2 <= static_cast<long long>(kField);
}

}  // namespace

void AllowWideSqueeze(bool allow) {
#if defined(VB_SQUEEZE_AVX2)
    wideAllowed = allow;
#else
    (void)allow;
#endif
}

std::uint32_t RoundedQuotient(std::uint32_t sum, std::uint32_t divisor) {
    return static_cast<std::uint32_t>((static_cast<float>(sum) + quotientBias(divisor)) *
                                      quotientScale(divisor));
}

#if defined(VB_SQUEEZE_AVX2)
// The processor's own fused multiply-add, as the vector path uses it.
__attribute__((target("fma"))) std::uint32_t RoundedQuotientFused(std::uint32_t sum, std::uint32_t divisor) {
    const __m128 fused = _mm_fmadd_ss(_mm_set_ss(static_cast<float>(sum)), _mm_set_ss(quotientScale(divisor)),
                                      _mm_set_ss(quotientBiasScaled(divisor)));
    return static_cast<std::uint32_t>(_mm_cvttss_si32(fused));
}

bool HasFusedMultiplyAdd() { return __builtin_cpu_supports("fma"); }
#else
std::uint32_t RoundedQuotientFused(std::uint32_t sum, std::uint32_t divisor) {
    return static_cast<std::uint32_t>(
        std::fma(static_cast<float>(sum), quotientScale(divisor), quotientBiasScaled(divisor)));
}

bool HasFusedMultiplyAdd() { return false; }
#endif

bool SqueezeAcross(pixels::Picture& target, const pixels::Picture& source, int n) {
    if (!canSqueeze(target, source, n)) return false;
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

bool HoldsSumsFor(const SqueezeSums& kept, const pixels::Picture& source) {
    return kept.width > 0 && kept.width == source.width && kept.height == source.height;
}

bool SqueezeAcross(pixels::Picture& target, const pixels::Picture& source, int n, SqueezeSums& kept,
                   KeptSums check) {
#if defined(__SSE2__)
    if (!canSqueeze(target, source, n)) return false;
    const std::size_t entries =
        (static_cast<std::size_t>(source.width) + 2) * static_cast<std::size_t>(source.height);
    if (entries <= kMaxKeptSums) {
        const int shown = std::min(n, target.width);
        bool ready = false;
        try {
            keepSumsOf(kept, source, check);
            edgesFor(kept, n, shown);
            ready = true;
        } catch (const std::bad_alloc&) {
            // Kept: the squeeze without sums makes the same pixels.
            kept = SqueezeSums{};
        }
        if (ready) {
            const std::uint32_t alpha = target.hasAlpha ? 0xFF000000u : 0u;  // a copied pixel is opaque
            const std::size_t stride = static_cast<std::size_t>(target.width);
#if defined(VB_SQUEEZE_AVX2)
            if (useAvx2()) {
                squeezeBySumsAvx2(target.pixels.data(), stride, kept, n, shown, alpha);
                return true;
            }
#endif
            squeezeBySums(target.pixels.data(), stride, kept, n, shown, alpha);
            return true;
        }
    }
#else
    (void)kept;
    (void)check;
#endif
    return SqueezeAcross(target, source, n);
}

}  // namespace vb::render
