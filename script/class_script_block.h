// The stored block of the class script, generated at build time by
// velumbar-jc from velumbar_oop.lua (Lua source text, packed).
#pragma once

#include <cstddef>
#include <cstdint>

namespace vb::script {

extern const std::uint8_t kClassScriptBlock[];
extern const std::size_t kClassScriptBlockSize;

}  // namespace vb::script
