#include "binding/args.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/rounding.h"

namespace vb::binding {

namespace {

// Formatted texts of 1024 bytes or more are refused, as the host's buffer is.
constexpr std::size_t kScriptErrorCapacity = 1024;
char scriptErrorText[kScriptErrorCapacity] = "";

[[noreturn]] void raiseFormatted(lua_State* L, const char* message) {
    FormatScriptError(L, message);
    lua_pushstring(L, scriptErrorText);
    lua_error(L);
    // lua_error does not return; this keeps the compiler convinced.
    std::abort();
}

}  // namespace

void CheckArgCount(lua_State* L, int n) {
    if (lua_gettop(L) >= n) return;
    char message[64];
    std::snprintf(message, sizeof message, "%d arguments required.", n);
    raiseFormatted(L, message);
}

const char* CheckStringArg(lua_State* L, int i) {
    const char* text = lua_tolstring(L, i, nullptr);
    if (text) return text;
    char message[64];
    std::snprintf(message, sizeof message, "Argument %d must be a string.", i);
    raiseFormatted(L, message);
}

bool CheckBooleanArg(lua_State* L, int i) {
    if (lua_type(L, i) == LUA_TBOOLEAN) return lua_toboolean(L, i) != 0;
    char message[64];
    std::snprintf(message, sizeof message, "Argument %d must be a boolean.", i);
    raiseFormatted(L, message);
}

double ReadNumberArg(lua_State* L, int i) { return lua_tonumber(L, i); }

std::int32_t RoundToInt(double value) {
    if (std::isnan(value)) return INT32_MIN;
    double rounded = render::RoundHalfEven(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return INT32_MIN;
    return static_cast<std::int32_t>(rounded);
}

std::int32_t ReadIntegerArg(lua_State* L, int i) { return RoundToInt(ReadNumberArg(L, i)); }

std::int32_t ReadTableInteger(lua_State* L, int t, const char* key, std::int32_t fallback) {
    lua_pushstring(L, key);
    lua_gettable(L, t);
    std::int32_t result = lua_isnumber(L, -1) ? RoundToInt(lua_tonumber(L, -1)) : fallback;
    lua_settop(L, -2);
    return result;
}

bool ReadTableBoolean(lua_State* L, int t, const char* key) {
    lua_pushstring(L, key);
    lua_gettable(L, t);
    bool result = lua_type(L, -1) == LUA_TBOOLEAN && lua_toboolean(L, -1);
    lua_settop(L, -2);
    return result;
}

void RaiseScriptError(lua_State* L, const char* message) {
    if (!message || !*message) return;
    raiseFormatted(L, message);
}

void FormatScriptError(lua_State* L, const char* message) {
    lua_getfield(L, LUA_GLOBALSINDEX, "Debug");
    lua_pushstring(L, "GetSyntaxErrorString");
    lua_gettable(L, -2);
    lua_remove(L, -2);
    if (lua_type(L, -1) != LUA_TFUNCTION) {
        lua_settop(L, -2);
        return;
    }
    lua_pushstring(L, message);
    lua_call(L, 1, 1);
    std::size_t length = 0;
    const char* formatted = lua_tolstring(L, -1, &length);
    if (!formatted) {
        formatted = "";
        length = 0;
    }
    if (length >= kScriptErrorCapacity) {
        std::snprintf(scriptErrorText, sizeof scriptErrorText, "%s",
                      "Formatted error string is too long for buffer.");
    } else {
        std::memcpy(scriptErrorText, formatted, length);
        scriptErrorText[length] = '\0';
    }
    lua_settop(L, -2);
}

const char* ScriptErrorText() { return scriptErrorText; }

}  // namespace vb::binding
