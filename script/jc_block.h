// The stored block around a packed stream: u32 packed size, u32 unpacked
// size, then the stream itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "script/jc_format.h"

namespace vb::script {

struct JcBlock {
    const std::uint8_t* stream = nullptr;
    std::uint32_t packedSize = 0;
    std::uint32_t unpackedSize = 0;
};

// Reads the header; false when the block is shorter than the sizes it names.
inline bool readJcBlock(const std::uint8_t* block, std::size_t blockSize, JcBlock* out) {
    if (block == nullptr || blockSize < kJcBlockHeaderSize) return false;
    const std::uint32_t packed = loadLe32(block);
    if (packed > blockSize - kJcBlockHeaderSize) return false;
    out->stream = block + kJcBlockHeaderSize;
    out->packedSize = packed;
    out->unpackedSize = loadLe32(block + 4);
    return true;
}

}  // namespace vb::script
