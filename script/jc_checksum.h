// Checksum the "JC" stream header stores for its unpacked bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vb::script {

// Sums 32-bit little-endian words with a rotate-like mix. A tail shorter
// than a word is covered by the final four bytes, overlapping the word
// before; fewer than four bytes in all give 0.
std::uint32_t jcChecksum(const std::uint8_t* data, std::size_t size);

}  // namespace vb::script
