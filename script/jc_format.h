// Layout of the packed class script: the stored block and the "JC" stream.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vb::script {

// Stored block: u32 packed size, u32 unpacked size, then the packed stream.
inline constexpr std::size_t kJcBlockHeaderSize = 8;

// Packed stream: "JC", u32 unpacked size, u32 checksum, then the bit stream.
inline constexpr std::uint8_t kJcSignature[2] = {'J', 'C'};
inline constexpr std::size_t kJcStreamHeaderSize = 10;

// Raw blocks always carry this many bytes.
inline constexpr std::size_t kJcRawBlockSize = 256;

// Near copies of one byte reach back at most this far (codes 2..15).
inline constexpr std::size_t kJcNearMaxOffset = 14;

// Short matches: 7-bit offset, lengths 2..5.
inline constexpr std::size_t kJcShortMaxOffset = 127;
inline constexpr std::size_t kJcShortMinLength = 2;
inline constexpr std::size_t kJcShortMaxLength = 5;

// The index width a stream starts with.
inline constexpr unsigned kJcDefaultIndexWidth = 8;

// A long match copies its stored length plus this much: near offsets have
// short matches for lengths up to 5, and far ones pay off only when longer.
constexpr std::uint64_t jcLengthBonus(std::uint64_t offset) {
    if (offset <= 127) return 4;
    if (offset <= 638) return 0;
    if (offset <= 14334) return 1;
    if (offset <= 65535) return 2;
    return 3;
}

inline std::uint32_t loadLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

inline void storeLe32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

}  // namespace vb::script
