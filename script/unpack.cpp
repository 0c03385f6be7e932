#include "script/unpack.h"

#include <array>
#include <cstring>

#include "script/jc_checksum.h"
#include "script/jc_format.h"

namespace vb::script {

namespace {

// Lengths and offsets never exceed 2^32; a gamma code running past this is
// corrupt, and stopping early keeps the arithmetic far from overflow.
constexpr std::uint64_t kGammaLimit = std::uint64_t(1) << 40;

// Gamma codes a byte at a time: for the next eight bits, four (value,
// more) pairs, how many pairs up to and including the first that ends the
// code (4 when none does), their value bits, and whether one ended it.
struct GammaStep {
    std::uint8_t pairs;
    std::uint8_t value;
    bool ends;
};

constexpr std::array<GammaStep, 256> makeGammaSteps() {
    std::array<GammaStep, 256> steps{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        GammaStep g{0, 0, false};
        for (unsigned pair = 0; pair < 4 && !g.ends; ++pair) {
            unsigned bits = (byte >> (6 - 2 * pair)) & 3;
            g.value = std::uint8_t(g.value << 1 | bits >> 1);
            ++g.pairs;
            g.ends = (bits & 1) == 0;
        }
        steps[byte] = g;
    }
    return steps;
}

constexpr std::array<GammaStep, 256> kGammaSteps = makeGammaSteps();

// 32-bit little-endian words, each read from its top bit down. Reading past
// the last whole word fails the stream; reads then answer 0 so every loop
// still ends. Up to two words wait in a 64-bit buffer, unread bits at the
// top, so most reads neither branch to a refill nor loop.
struct BitReader {
    const std::uint8_t* next;
    const std::uint8_t* end;
    std::uint64_t buffer = 0;
    unsigned count = 0;  // unread bits in the buffer
    bool failed = false;

    void fill() {
        while (count <= 32 && end - next >= 4) {
            buffer |= std::uint64_t(loadLe32(next)) << (32 - count);
            next += 4;
            count += 32;
        }
    }

    // Whether n (<= 32) more bits can be read; when not, the stream fails
    // and what was left is dropped.
    bool have(unsigned n) {
        if (count >= n) return true;
        fill();
        if (count >= n) return true;
        failed = true;
        buffer = 0;
        count = 0;
        return false;
    }

    unsigned bit() {
        if (!have(1)) return 0;
        const unsigned b = unsigned(buffer >> 63);
        buffer <<= 1;
        --count;
        return b;
    }

    // n <= 32; first bit read is the most significant.
    std::uint64_t take(unsigned n) {
        if (n == 0 || !have(n)) return 0;
        const std::uint64_t v = buffer >> (64 - n);
        buffer = n == 64 ? 0 : buffer << n;
        count -= n;
        return v;
    }

    // n <= 63; first bit read is the most significant.
    std::uint64_t bits(unsigned n) {
        if (n <= 32) return take(n);
        const std::uint64_t high = take(n - 32);
        const std::uint64_t low = take(32);
        return failed ? 0 : (high << 32) | low;
    }

    // Interleaved: a value bit, then a bit saying whether another follows.
    // Growing values only grow, so the limit is checked once a byte.
    std::uint64_t gamma() {
        std::uint64_t v = 1;
        while (count >= 8 || (fill(), count >= 8)) {
            const GammaStep& g = kGammaSteps[buffer >> 56];
            v = v << g.pairs | g.value;
            buffer <<= 2 * g.pairs;
            count -= 2 * g.pairs;
            if (v >= kGammaLimit) {
                failed = true;
                return 0;
            }
            if (g.ends) return v;
        }
        for (;;) {
            if (!have(2)) return 0;
            const unsigned pair = unsigned(buffer >> 62);
            buffer <<= 2;
            count -= 2;
            v = 2 * v + (pair >> 1);
            if (v >= kGammaLimit) {
                failed = true;
                return 0;
            }
            if ((pair & 1) == 0) return v;
        }
    }
};

enum class Step { more, end, bad };

// jcLengthBonus without branches: offsets come in no order a predictor
// could learn.
constexpr std::uint64_t lengthBonus(std::uint64_t offset) {
    const std::uint64_t far = std::uint64_t(offset > 638) + (offset > 14334) + (offset > 65535);
    return offset <= 127 ? 4 : far;
}

constexpr bool sameBonusAtEveryBoundary() {
    for (std::uint64_t offset :
         {0ull, 1ull, 127ull, 128ull, 638ull, 639ull, 14334ull, 14335ull, 65535ull, 65536ull, 1ull << 39})
        if (lengthBonus(offset) != jcLengthBonus(offset)) return false;
    return true;
}
static_assert(sameBonusAtEveryBoundary());

struct Decoder {
    BitReader in;
    std::uint8_t* out;
    std::size_t size;  // declared; never written past
    std::size_t pos = 0;
    std::uint64_t lastOffset = 1;
    unsigned indexWidth = kJcDefaultIndexWidth;
    unsigned literalWidth = 0;  // 0 until the stream sets it
    std::uint8_t literalBase = 0;

    Step put(std::uint8_t b) {
        if (pos == size) return Step::bad;
        out[pos++] = b;
        return Step::more;
    }

    // As if byte by byte, so a copy may repeat the bytes it is producing.
    // When the source lies at least sixteen (or eight) bytes back, sixteen
    // (or eight) at a time: each group reads only bytes already written.
    // The last group may run on into bytes not yet produced, which later
    // steps overwrite; never past the declared size.
    Step copy(std::uint64_t offset, std::uint64_t length) {
        if (offset == 0 || offset > pos || length > size - pos) return Step::bad;
        std::uint8_t* dst = out + pos;
        const std::uint8_t* src = dst - offset;
        if (offset >= 16 && size - pos >= ((length + 15) & ~std::uint64_t(15))) {
            for (std::uint64_t k = 0; k < length; k += 16) std::memcpy(dst + k, src + k, 16);
        } else if (offset >= 8 && size - pos >= ((length + 7) & ~std::uint64_t(7))) {
            for (std::uint64_t k = 0; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
        } else {
            for (std::uint64_t k = 0; k < length; ++k) dst[k] = src[k];
        }
        pos += std::size_t(length);
        return Step::more;
    }

    Step literal() {
        if (literalWidth == 0) return Step::bad;
        const std::uint64_t v = in.bits(literalWidth);
        if (in.failed) return Step::bad;
        return put(std::uint8_t(v + literalBase));
    }

    Step longMatch() {
        const std::uint64_t g = in.gamma();
        if (in.failed) return Step::bad;
        if (g == 2) {
            const std::uint64_t length = in.gamma();
            if (in.failed) return Step::bad;
            return copy(lastOffset, length);
        }
        const std::uint64_t high = g - 3;
        const std::uint64_t low = in.bits(indexWidth);
        if (in.failed) return Step::bad;
        // Any offset of 2^40 or more lies before every possible output.
        if (high != 0 && (indexWidth >= 40 || (high >> (40 - indexWidth)) != 0)) return Step::bad;
        const std::uint64_t offset = (high << indexWidth) | low;
        lastOffset = offset;
        const std::uint64_t length = in.gamma();
        if (in.failed) return Step::bad;
        return copy(offset, length + lengthBonus(offset));
    }

    Step shortMatch() {
        const std::uint64_t code = in.bits(9);  // 7 bits of offset, 2 of length
        if (in.failed) return Step::bad;
        const std::uint64_t offset = code >> 2;
        const unsigned length = unsigned(code & 3) + 2;
        if (offset != 0) {
            lastOffset = offset;
            return copy(offset, length);
        }
        if (length == 2) return Step::end;
        indexWidth = unsigned(in.bits(length + 1));
        return in.failed ? Step::bad : Step::more;
    }

    Step rawBlocks() {
        do {
            if (size - pos < kJcRawBlockSize) return Step::bad;
            for (std::size_t k = 0; k < kJcRawBlockSize; ++k) out[pos++] = std::uint8_t(in.bits(8));
            if (in.failed) return Step::bad;
        } while (in.bit() != 0);
        return in.failed ? Step::bad : Step::more;
    }

    Step shortCode() {
        const unsigned v = unsigned(in.bits(4));
        if (in.failed) return Step::bad;
        if (v == 1) return put(0);
        if (v >= 2) return copy(v - 1, 1);
        if (in.bit() != 0) return in.failed ? Step::bad : rawBlocks();
        literalWidth = 7 + in.bit();
        literalBase = literalWidth == 7 ? std::uint8_t(in.bits(8)) : 0;
        return in.failed ? Step::bad : Step::more;
    }

    Step step() {
        // Topped up without a branch to predict while whole words remain:
        // over 32 bits wait, enough for most steps to read without a refill.
        if (in.end - in.next >= 4) {
            const bool room = in.count <= 32;
            const std::uint64_t word = loadLe32(in.next);
            in.buffer |= room ? word << ((32 - in.count) & 63) : 0;
            in.next += room ? 4 : 0;
            in.count += room ? 32 : 0;
        }
        // The commonest step, a literal, in one read when the bits are there.
        if (in.count >= 9 && (in.buffer >> 63) != 0 && literalWidth != 0 && pos < size) {
            const std::uint64_t v = (in.buffer << 1) >> (64 - literalWidth);
            in.buffer <<= 1 + literalWidth;
            in.count -= 1 + literalWidth;
            out[pos++] = std::uint8_t(v + literalBase);
            return Step::more;
        }
        if (in.bit() != 0) return literal();
        if (in.bit() != 0) return longMatch();
        if (in.bit() != 0) return shortCode();
        return in.failed ? Step::bad : shortMatch();
    }
};

}  // namespace

bool jcDeclaredSize(const std::uint8_t* in, std::size_t inSize, std::uint32_t* size) {
    if (in == nullptr || inSize < kJcStreamHeaderSize) return false;
    if (in[0] != kJcSignature[0] || in[1] != kJcSignature[1]) return false;
    *size = loadLe32(in + 2);
    return true;
}

JcUnpackResult unpackJcStream(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                              std::size_t outCapacity) {
    std::uint32_t declared = 0;
    if (!jcDeclaredSize(in, inSize, &declared)) return {};
    if (declared > outCapacity || (declared != 0 && out == nullptr)) return {};
    const std::uint32_t stored = loadLe32(in + 6);

    Decoder d{{in + kJcStreamHeaderSize, in + inSize}, out, declared};
    Step s = Step::more;
    while (s == Step::more) s = d.step();
    if (s != Step::end || d.pos != declared) return {};
    if (stored != 0 && jcChecksum(out, declared) != stored) return {};
    return {true, declared};
}

std::size_t unpackJc(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out, std::size_t outCapacity) {
    const JcUnpackResult r = unpackJcStream(in, inSize, out, outCapacity);
    return r.ok ? r.size : 0;
}

}  // namespace vb::script
