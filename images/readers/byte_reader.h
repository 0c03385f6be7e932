// Little-endian reads from untrusted bytes. Callers check the range first;
// these only assemble the value.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vb::images::bytes {

inline std::uint16_t u16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

inline std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::int32_t i32(const std::uint8_t* p) { return static_cast<std::int32_t>(u32(p)); }

// True when [offset, offset + length) lies inside a buffer of `size` bytes,
// without overflowing on hostile values.
inline bool fits(std::uint64_t offset, std::uint64_t length, std::size_t size) {
    return offset <= size && length <= size - offset;
}

}  // namespace vb::images::bytes
