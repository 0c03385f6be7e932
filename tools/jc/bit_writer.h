// Writes the "JC" bit stream: 32-bit little-endian words, filled from the
// top bit down.
#pragma once

#include <cstdint>
#include <vector>

#include "script/jc_format.h"

namespace vb::jc {

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    // The low n bits of value (n <= 32), most significant first.
    void put(std::uint64_t value, unsigned n) {
        while (n != 0) {
            const unsigned room = 32 - used_;
            const unsigned take = n < room ? n : room;
            const std::uint64_t chunk = (value >> (n - take)) & ((std::uint64_t(1) << take) - 1);
            word_ |= std::uint32_t(chunk << (room - take));
            used_ += take;
            n -= take;
            if (used_ == 32) emitWord();
        }
    }

    // v >= 2: the bits below the leading one, each followed by a bit that
    // says whether another comes.
    void gamma(std::uint64_t v) {
        int top = 63;
        while (((v >> top) & 1) == 0) --top;
        for (int i = top - 1; i >= 0; --i) {
            put((v >> i) & 1, 1);
            put(i > 0 ? 1 : 0, 1);
        }
    }

    // Pads the last word with zero bits.
    void finish() {
        if (used_ != 0) emitWord();
    }

private:
    void emitWord() {
        std::uint8_t bytes[4];
        vb::script::storeLe32(bytes, word_);
        out_.insert(out_.end(), bytes, bytes + 4);
        word_ = 0;
        used_ = 0;
    }

    std::vector<std::uint8_t>& out_;
    std::uint32_t word_ = 0;
    unsigned used_ = 0;
};

}  // namespace vb::jc
