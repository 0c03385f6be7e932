// The host's last-error number, set and cleared through its Lua functions.
#pragma once

#include <lua.hpp>

namespace vb::binding {

enum ErrorCode : int {
    kCouldNotCreate = 457880,
    kInvalidHostObject = 457881,
    kInvalidObject = 457882,
    kInvalidColorObject = 457883,
    kInvalidFontSize = 457884,
    kSetFontFailed = 457885,
    kCouldNotLoadImage = 459880,
    kUnknownLoadImageType = 459881,
    kInvalidImageHandle = 459882,
};

void SetHostLastError(lua_State* L, int code);
void ResetHostLastError(lua_State* L);

}  // namespace vb::binding
