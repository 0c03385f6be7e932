// Sizes in bits of the codes of the "JC" stream, for choosing among them.
#pragma once

#include <cstdint>

#include "script/jc_format.h"

namespace vb::jc {

inline constexpr unsigned kShortMatchBits = 3 + 7 + 2;
inline constexpr unsigned kNearBits = 3 + 4;            // also the zero byte
inline constexpr unsigned kRawBlockBits = 8 * 256 + 1;  // bytes and the "more" bit
inline constexpr unsigned kRawHeaderBits = 3 + 4 + 1;

inline unsigned bitLength(std::uint64_t v) {
    unsigned n = 0;
    while (v != 0) {
        ++n;
        v >>= 1;
    }
    return n;
}

inline unsigned gammaBits(std::uint64_t v) { return 2 * (bitLength(v) - 1); }

// Caller guarantees length >= jcLengthBonus(offset) + 2.
inline unsigned longMatchBits(std::uint64_t offset, std::uint64_t length, unsigned indexWidth) {
    return 2 + gammaBits((offset >> indexWidth) + 3) + indexWidth +
           gammaBits(length - vb::script::jcLengthBonus(offset));
}

inline unsigned repeatMatchBits(std::uint64_t length) { return 2 + 2 + gammaBits(length); }

inline bool longMatchFits(std::uint64_t offset, std::uint64_t length) {
    return length >= vb::script::jcLengthBonus(offset) + 2;
}

}  // namespace vb::jc
