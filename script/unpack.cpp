#include "script/unpack.h"

#include "script/jc_checksum.h"
#include "script/jc_format.h"

namespace vb::script {

namespace {

// Lengths and offsets never exceed 2^32; a gamma code running past this is
// corrupt, and stopping early keeps the arithmetic far from overflow.
constexpr std::uint64_t kGammaLimit = std::uint64_t(1) << 40;

// 32-bit little-endian words, each read from its top bit down. Reading past
// the last whole word fails the stream; reads then answer 0 so every loop
// still ends.
struct BitReader {
    const std::uint8_t* next;
    const std::uint8_t* end;
    std::uint32_t word = 0;
    unsigned left = 0;
    bool failed = false;

    bool refill() {
        if (end - next < 4) {
            failed = true;
            return false;
        }
        word = loadLe32(next);
        next += 4;
        left = 32;
        return true;
    }

    unsigned bit() {
        if (left == 0 && !refill()) return 0;
        --left;
        return (word >> left) & 1u;
    }

    // n <= 63; first bit read is the most significant.
    std::uint64_t bits(unsigned n) {
        std::uint64_t v = 0;
        while (n != 0) {
            if (left == 0 && !refill()) return 0;
            const unsigned take = n < left ? n : left;
            left -= take;
            const std::uint64_t mask = (std::uint64_t(1) << take) - 1;
            v = (v << take) | ((std::uint64_t(word) >> left) & mask);
            n -= take;
        }
        return v;
    }

    // Interleaved: a value bit, then a bit saying whether another follows.
    std::uint64_t gamma() {
        std::uint64_t v = 1;
        do {
            v = 2 * v + bit();
            if (v >= kGammaLimit) {
                failed = true;
                return 0;
            }
        } while (bit() != 0);
        return v;
    }
};

enum class Step { more, end, bad };

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

    // Byte by byte, so a copy may repeat the bytes it is producing.
    Step copy(std::uint64_t offset, std::uint64_t length) {
        if (offset == 0 || offset > pos || length > size - pos) return Step::bad;
        std::uint8_t* dst = out + pos;
        const std::uint8_t* src = dst - offset;
        for (std::uint64_t k = 0; k < length; ++k) dst[k] = src[k];
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
        return copy(offset, length + jcLengthBonus(offset));
    }

    Step shortMatch() {
        const std::uint64_t offset = in.bits(7);
        const unsigned length = unsigned(in.bits(2)) + 2;
        if (in.failed) return Step::bad;
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

std::size_t unpackJc(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                     std::size_t outCapacity) {
    const JcUnpackResult r = unpackJcStream(in, inSize, out, outCapacity);
    return r.ok ? r.size : 0;
}

}  // namespace vb::script
