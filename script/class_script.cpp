#include "script/class_script.h"

#include <cstdlib>

#include <lua.hpp>

#include "script/class_script_block.h"
#include "script/jc_block.h"
#include "script/unpack.h"

namespace vb::script {

namespace {

// The class script is a few kilobytes; a header naming more is corrupt.
constexpr std::uint32_t kMaxScriptSize = 16u << 20;

// Slack past the script's end, as the loader has always allocated.
constexpr std::size_t kBufferSlack = 8;

}  // namespace

void runClassScript(lua_State* L) {
    JcBlock block;
    if (!readJcBlock(kClassScriptBlock, kClassScriptBlockSize, &block)) return;
    if (block.unpackedSize > kMaxScriptSize) return;

    // A plain C buffer: nothing owning may be alive once Lua can raise.
    const std::size_t capacity = std::size_t(block.unpackedSize) + kBufferSlack;
    auto* buffer = static_cast<std::uint8_t*>(std::calloc(capacity, 1));
    if (buffer == nullptr) return;
    const std::size_t size = unpackJc(block.stream, block.packedSize, buffer, capacity);
    if (size == 0 || size != block.unpackedSize) {
        std::free(buffer);
        return;
    }

    // The loaded function holds its own copy of the chunk, so the buffer can
    // go before the chunk runs and perhaps raises.
    const int loaded = luaL_loadbuffer(L, reinterpret_cast<const char*>(buffer), size, "Velumbar::OOP.class");
    std::free(buffer);
    if (loaded != 0) {
        lua_pop(L, 1);
        return;
    }
    lua_call(L, 0, 0);
}

}  // namespace vb::script
