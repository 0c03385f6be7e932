#include "script/jc_checksum.h"

#include "script/jc_format.h"

namespace vb::script {

namespace {

std::uint32_t mix(std::uint32_t acc, std::uint32_t w) {
    acc += w;
    return acc ^ ((w << 1) + 1 + (w >> 31));
}

}  // namespace

std::uint32_t jcChecksum(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::uint32_t acc = 0;
    std::size_t i = 0;
    for (; size - i >= 4; i += 4) acc = mix(acc, loadLe32(data + i));
    if (i != size) acc = mix(acc, loadLe32(data + size - 4));
    return acc;
}

}  // namespace vb::script
