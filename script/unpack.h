// Unpacker of the "JC" stream that carries the class script.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vb::script {

struct JcUnpackResult {
    bool ok = false;
    std::size_t size = 0;  // bytes written when ok
};

// Decodes one packed stream ("JC", sizes, bit stream) into out. The input is
// untrusted: a stream that is cut short, names a size above outCapacity,
// copies from before the start of the output or past its declared size,
// ends at another size than it declares, or fails its checksum is rejected.
// Nothing is ever written outside out[0, declared size).
JcUnpackResult unpackJcStream(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out,
                              std::size_t outCapacity);

// The same, answering the bytes written, or 0 for a rejected stream.
std::size_t unpackJc(const std::uint8_t* in, std::size_t inSize, std::uint8_t* out, std::size_t outCapacity);

// The unpacked size a stream's header declares; false when the input is too
// short or does not start with the signature.
bool jcDeclaredSize(const std::uint8_t* in, std::size_t inSize, std::uint32_t* size);

}  // namespace vb::script
