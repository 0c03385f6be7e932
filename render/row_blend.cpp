// The run kernels: fixed blocks of sixteen bytes, so the compiler vectorises
// the inner loops without a scalar remainder of unknown length.
#include "render/row_blend.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vb::render {

namespace {

constexpr std::size_t kBlock = 16;

// Div255 in 16-bit arithmetic: the sum stays below 65,281, so eight bytes
// fit one 128-bit register.
inline std::uint8_t blendByte(std::uint8_t byte, std::uint8_t keep, std::uint16_t add) {
    auto sum = static_cast<std::uint16_t>(byte * keep + add);
    auto rounded = static_cast<std::uint16_t>(sum + 1 + (sum >> 8));
    return static_cast<std::uint8_t>(rounded >> 8);
}

}  // namespace

ByteBlend TowardColour(std::uint32_t colour, std::uint8_t alpha, bool targetHasAlpha) {
    ByteBlend b{};
    for (std::size_t k = 0; k < kBlock; ++k) {
        unsigned shift = 8 * (k % 4);
        bool alphaByte = k % 4 == 3;
        unsigned source = alphaByte ? 255u : (colour >> shift) & 0xFF;
        b.keep[k] = static_cast<std::uint8_t>(alphaByte && !targetHasAlpha ? 0 : 255u - alpha);
        b.add[k] = static_cast<std::uint16_t>(alphaByte && !targetHasAlpha ? 0 : source * alpha);
    }
    return b;
}

void BlendRun(std::uint32_t* pixels, std::size_t n, const ByteBlend& blend) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(pixels);
    const std::size_t count = n * 4;
    std::uint8_t keep[kBlock];
    std::uint16_t add[kBlock];  // local: cannot alias the pixels
    std::memcpy(keep, blend.keep, sizeof keep);
    std::memcpy(add, blend.add, sizeof add);
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock)
        for (std::size_t k = 0; k < kBlock; ++k) bytes[i + k] = blendByte(bytes[i + k], keep[k], add[k]);
    for (std::size_t k = 0; i < count; ++i, ++k) bytes[i] = blendByte(bytes[i], keep[k], add[k]);
}

void BlendRunTwice(std::uint32_t* pixels, std::size_t n, const ByteBlend& first, const ByteBlend& second) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(pixels);
    const std::size_t count = n * 4;
    std::uint8_t keep1[kBlock], keep2[kBlock];
    std::uint16_t add1[kBlock], add2[kBlock];
    std::memcpy(keep1, first.keep, sizeof keep1);
    std::memcpy(add1, first.add, sizeof add1);
    std::memcpy(keep2, second.keep, sizeof keep2);
    std::memcpy(add2, second.add, sizeof add2);
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock)
        for (std::size_t k = 0; k < kBlock; ++k)
            bytes[i + k] = blendByte(blendByte(bytes[i + k], keep1[k], add1[k]), keep2[k], add2[k]);
    for (std::size_t k = 0; i < count; ++i, ++k)
        bytes[i] = blendByte(blendByte(bytes[i], keep1[k], add1[k]), keep2[k], add2[k]);
}

#if defined(__SSE2__)
namespace {

int loadPixel(const std::uint8_t* at) {
    int v;
    std::memcpy(&v, at, 4);
    return v;
}

void storePixel(std::uint8_t* at, int v) { std::memcpy(at, &v, 4); }

// Sixteen bytes moved toward `source` by their own weights: the rule of
// blendByte, eight bytes a register.
inline __m128i blendBlockByWeights(__m128i d, __m128i w, __m128i sourceLo, __m128i sourceHi) {
    const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255), one = _mm_set1_epi16(1);
    auto half = [&](__m128i d16, __m128i w16, __m128i s16) {
        __m128i sum =
            _mm_add_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(full, w16)), _mm_mullo_epi16(s16, w16));
        __m128i rounded = _mm_add_epi16(_mm_add_epi16(sum, one), _mm_srli_epi16(sum, 8));
        return _mm_srli_epi16(rounded, 8);
    };
    __m128i lo = half(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(w, zero), sourceLo);
    __m128i hi = half(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(w, zero), sourceHi);
    return _mm_packus_epi16(lo, hi);
}

}  // namespace

void BlendRunByWeights(std::uint32_t* pixels, const std::uint8_t* weights, std::size_t n,
                       std::uint32_t colour) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(pixels);
    const std::size_t count = n * 4;
    const __m128i zero = _mm_setzero_si128();
    const __m128i source = _mm_set1_epi32(static_cast<int>(colour));
    const __m128i sourceLo = _mm_unpacklo_epi8(source, zero), sourceHi = _mm_unpackhi_epi8(source, zero);
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + i));
        // A weight of 0 keeps the byte: blocks beside the glyphs are skipped.
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(w, zero)) == 0xFFFF) continue;
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + i),
                         blendBlockByWeights(d, w, sourceLo, sourceHi));
    }
    if (i == count) return;
    // The last one to three pixels through one block whose spare bytes
    // weigh 0, loaded and stored a pixel or two at a time.
    const std::size_t rest = count - i;
    auto load = [rest](const std::uint8_t* at) {
        if (rest == 4) return _mm_cvtsi32_si128(loadPixel(at));
        __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
        return rest == 8 ? two : _mm_unpacklo_epi64(two, _mm_cvtsi32_si128(loadPixel(at + 8)));
    };
    __m128i w = load(weights + i);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(w, zero)) == 0xFFFF) return;
    __m128i blended = blendBlockByWeights(load(bytes + i), w, sourceLo, sourceHi);
    if (rest == 4) {
        storePixel(bytes + i, _mm_cvtsi128_si32(blended));
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes + i), blended);
    if (rest == 12) storePixel(bytes + i + 8, _mm_cvtsi128_si32(_mm_srli_si128(blended, 8)));
}
#else
void BlendRunByWeights(std::uint32_t* pixels, const std::uint8_t* weightBytes, std::size_t n,
                       std::uint32_t colour) {
    auto* __restrict bytes = reinterpret_cast<std::uint8_t*>(pixels);
    const std::uint8_t* __restrict weights = weightBytes;
    const std::size_t count = n * 4;
    std::uint8_t source[kBlock];
    for (std::size_t k = 0; k < kBlock; ++k) source[k] = static_cast<std::uint8_t>(colour >> (8 * (k % 4)));
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        // Through local blocks: nothing can alias, so no run-time checks.
        std::uint8_t d[kBlock], w[kBlock];
        std::memcpy(w, weights + i, kBlock);
        // A weight of 0 keeps the byte: blocks beside the glyphs are skipped.
        std::uint64_t halves[2];
        std::memcpy(halves, w, kBlock);
        if ((halves[0] | halves[1]) == 0) continue;
        std::memcpy(d, bytes + i, kBlock);
        for (std::size_t k = 0; k < kBlock; ++k)
            d[k] = blendByte(d[k], static_cast<std::uint8_t>(255 - w[k]),
                             static_cast<std::uint16_t>(source[k] * w[k]));
        std::memcpy(bytes + i, d, kBlock);
    }
    for (std::size_t k = 0; i < count; ++i, ++k) {
        std::uint8_t w = weights[i];
        bytes[i] = blendByte(bytes[i], static_cast<std::uint8_t>(255 - w),
                             static_cast<std::uint16_t>(source[k] * w));
    }
}
#endif

// The two runs never overlap unless they are the same run.
void CopyRunMasked(std::uint32_t* to, const std::uint32_t* from, std::size_t n, std::uint32_t keep) {
    if (to == from) {
        for (std::size_t i = 0; i < n; ++i) to[i] &= keep;
        return;
    }
    if (keep == 0xFFFFFFFFu) {
        std::memmove(to, from, n * 4);
        return;
    }
    std::uint32_t* __restrict out = to;
    const std::uint32_t* __restrict in = from;
    for (std::size_t i = 0; i < n; ++i) out[i] = in[i] & keep;
}

}  // namespace vb::render
