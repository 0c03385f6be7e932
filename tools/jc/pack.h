// The "JC" packer: LZ77 into the stream the class script is stored in.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vb::jc {

struct PackOptions {
    bool checksum = true;  // false stores 0: the unpacker then skips the test
};

// The packed stream: "JC", unpacked size, checksum, bit stream.
// Throws std::length_error for data of 4 GiB or more.
std::vector<std::uint8_t> packJcStream(std::span<const std::uint8_t> data, const PackOptions& options = {});

// The stored block: packed size, unpacked size, then the stream.
std::vector<std::uint8_t> packJcBlock(std::span<const std::uint8_t> data, const PackOptions& options = {});

}  // namespace vb::jc
