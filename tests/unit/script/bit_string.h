// Builds "JC" streams by hand from strings of '0' and '1' (spaces ignored):
// bits fill 32-bit words from the top down, words are stored little-endian.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vb::test {

inline void putLe32(std::vector<std::uint8_t>& v, std::uint32_t w) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(w >> (8 * i)));
}

inline std::vector<std::uint8_t> bitWords(std::string_view bits) {
    std::vector<std::uint8_t> out;
    std::uint32_t word = 0;
    int used = 0;
    for (char c : bits) {
        if (c != '0' && c != '1') continue;
        word = (word << 1) | std::uint32_t(c - '0');
        if (++used == 32) {
            putLe32(out, word);
            word = 0;
            used = 0;
        }
    }
    if (used != 0) putLe32(out, word << (32 - used));
    return out;
}

inline std::vector<std::uint8_t> jcStream(std::uint32_t size, std::uint32_t checksum, std::string_view bits) {
    std::vector<std::uint8_t> s = {'J', 'C'};
    putLe32(s, size);
    putLe32(s, checksum);
    const std::vector<std::uint8_t> words = bitWords(bits);
    s.insert(s.end(), words.begin(), words.end());
    return s;
}

// Bits of v, most significant first.
inline std::string binary(std::uint32_t v, int n) {
    std::string s;
    for (int i = n - 1; i >= 0; --i) s += char('0' + ((v >> i) & 1));
    return s;
}

// The interleaved gamma code of v >= 2: each bit below the leading one,
// followed by 1 when another bit comes and 0 after the last.
inline std::string gammaCode(std::uint64_t v) {
    int top = 63;
    while (((v >> top) & 1) == 0) --top;
    std::string s;
    for (int i = top - 1; i >= 0; --i) {
        s += char('0' + ((v >> i) & 1));
        s += i > 0 ? '1' : '0';
    }
    return s;
}

}  // namespace vb::test
