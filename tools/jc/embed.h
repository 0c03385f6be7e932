// Writes bytes as a C++ source file defining a byte array and its size.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vb::jc {

// symbol may be qualified ("vb::script::kBlock"): the part before the last
// "::" becomes the namespace. The file first includes header, if given, so
// the definitions match its declarations.
std::string embedSource(std::span<const std::uint8_t> bytes, std::string_view symbol,
                        std::string_view header);

}  // namespace vb::jc
