// Untrusted bytes into the "JC" unpacker, both as a bare stream and as a
// stored block: it may reject them, but never write outside its output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "script/jc_block.h"
#include "script/unpack.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Declared sizes beyond this are rejected for want of room, as they
    // would be by a caller with a small buffer.
    constexpr std::size_t kRoom = 1 << 20;

    std::uint32_t declared = 0;
    if (vb::script::jcDeclaredSize(data, size, &declared)) {
        std::vector<std::uint8_t> out(declared <= kRoom ? declared : kRoom);
        const vb::script::JcUnpackResult r = vb::script::unpackJcStream(data, size, out.data(), out.size());
        if (r.ok && r.size != declared) std::abort();
    }

    vb::script::JcBlock block;
    if (vb::script::readJcBlock(data, size, &block) && block.unpackedSize <= kRoom) {
        std::vector<std::uint8_t> out(std::size_t(block.unpackedSize) + 8);
        const std::size_t n = vb::script::unpackJc(block.stream, block.packedSize, out.data(), out.size());
        if (n > out.size()) std::abort();
    }
    return 0;
}
