// Splits data into the codes of the "JC" stream: lazy matching over the
// match finder, each choice weighed by its size in bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vb::jc {

enum class TokenKind : std::uint8_t {
    literal,     // one byte as a literal
    zero,        // one 0 byte
    near,        // one byte copied from offset 1..14, last offset kept
    shortMatch,  // offset 1..127, length 2..5
    longMatch,   // any offset, length past its bonus
    repeat,      // the last offset again
    raw,         // whole raw blocks of 256 bytes
};

struct Token {
    TokenKind kind;
    std::uint32_t length;
    std::uint32_t offset;  // matches and near copies only
};

// Bytes [start, end) go out as raw blocks; end - start is a multiple of 256.
struct RawSpan {
    std::size_t start;
    std::size_t end;
};

struct ParseSettings {
    unsigned literalBits;  // prefix and value: 8 or 9
    unsigned indexWidth;
    std::span<const RawSpan> raw;  // sorted, not overlapping
};

std::vector<Token> parseTokens(std::span<const std::uint8_t> data, const ParseSettings& settings);

// Size in bits of a token as the settings would code it.
unsigned tokenBits(const Token& t, const ParseSettings& settings);

// Stretches where raw blocks cost less than the tokens found there:
// incompressible data then costs 8 bits a byte instead of 9.
std::vector<RawSpan> chooseRawSpans(const std::vector<Token>& tokens, const ParseSettings& settings);

}  // namespace vb::jc
