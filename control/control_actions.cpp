// The actions that read and change a bar's position, range, text, font
// and gloss.
#include <string>

#include "binding/actions.h"
#include "binding/args.h"
#include "binding/last_error.h"
#include "binding/lookup.h"
#include "control/bar_control.h"

namespace vb::actions {

using namespace vb::binding;
using control::BarControl;

int SetCurrentPosition(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    const char* name = CheckStringArg(L, 1);
    std::int32_t position = ReadIntegerArg(L, 2);
    BarControl* bar = BarOnHostObject(L, name);
    if (bar) bar->Methods->SetCurrentPosition(bar, position);
    lua_pushboolean(L, bar != nullptr);
    return 1;
}

int GetCurrentPosition(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 1);
    const char* name = CheckStringArg(L, 1);
    BarControl* bar = BarOnHostObject(L, name);
    if (bar) lua_pushnumber(L, bar->Methods->GetCurrentPosition(bar));
    else lua_pushnil(L);
    return 1;
}

int SetText(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    const char* name = CheckStringArg(L, 1);
    const char* text = CheckStringArg(L, 2);
    BarControl* bar = BarOnHostObject(L, name);
    if (bar) {
        try {
            bar->Methods->SetText(bar, std::string(text));
        } catch (...) {
            // Out of memory for the copy: the bar keeps its text.
        }
    }
    lua_pushboolean(L, bar != nullptr);
    return 1;
}

int GetText(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 1);
    const char* name = CheckStringArg(L, 1);
    BarControl* bar = BarOnHostObject(L, name);
    if (!bar) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushstring(L, bar->Text.c_str());
    return 1;
}

int SetFont(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 4);
    const char* name = CheckStringArg(L, 1);
    const char* face = CheckStringArg(L, 2);
    std::int32_t size = ReadIntegerArg(L, 3);
    std::int32_t colour = ReadIntegerArg(L, 4);
    std::int32_t style = ReadIntegerArg(L, 5);
    std::int32_t styleColour = ReadIntegerArg(L, 6);
    if (size < 1) {
        SetHostLastError(L, kInvalidFontSize);
        lua_pushboolean(L, 0);
        return 1;
    }
    BarControl* bar = BarOnHostObject(L, name);
    if (!bar) {
        lua_pushboolean(L, 0);
        return 1;
    }
    int loaded = 0;
    try {
        loaded = bar->Methods->SetFont(bar, std::string(face), size,
                                       static_cast<std::uint32_t>(colour), style,
                                       static_cast<std::uint32_t>(styleColour), 0);
    } catch (...) {
        loaded = 0;
    }
    if (!loaded) SetHostLastError(L, kSetFontFailed);
    lua_pushboolean(L, loaded);
    return 1;
}

int SetRange(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 3);
    const char* name = CheckStringArg(L, 1);
    std::int32_t pair[2] = {ReadIntegerArg(L, 2), ReadIntegerArg(L, 3)};
    if (pair[1] > 65535) RaiseScriptError(L, "The maximal range value should be lower than 65535!");
    if (pair[1] <= pair[0])
        RaiseScriptError(L, "The minimal range value should be lower than the maximal value!");
    if (pair[1] <= 0) RaiseScriptError(L, "The maximal range value should always be larger than 0!");
    if (pair[0] < 0) RaiseScriptError(L, "The minimal range value should always be 0 or higher!");
    BarControl* bar = BarOnHostObject(L, name);
    if (bar) {
        bar->Methods->SetRange(bar, pair);
        bar->Methods->Rebuild(bar);
    }
    lua_pushboolean(L, bar != nullptr);
    return 1;
}

int GetRange(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 1);
    const char* name = CheckStringArg(L, 1);
    BarControl* bar = BarOnHostObject(L, name);
    if (!bar) {
        lua_pushnil(L);
        return 1;
    }
    std::int32_t pair[2] = {0, 0};
    bar->Methods->GetRange(bar, pair);
    lua_createtable(L, 0, 2);
    lua_pushnumber(L, pair[0]);
    lua_setfield(L, -2, "Min");
    lua_pushnumber(L, pair[1]);
    lua_setfield(L, -2, "Max");
    return 1;
}

int SetUseGlossy(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 2);
    const char* name = CheckStringArg(L, 1);
    bool glossy = CheckBooleanArg(L, 2);
    BarControl* bar = BarOnHostObject(L, name);
    if (bar) bar->Methods->SetUseGlossy(bar, glossy ? 1 : 0);
    lua_pushboolean(L, bar != nullptr);
    return 1;
}

int GetUseGlossy(lua_State* L) {
    ResetHostLastError(L);
    CheckArgCount(L, 1);
    const char* name = CheckStringArg(L, 1);
    BarControl* bar = BarOnHostObject(L, name);
    lua_pushboolean(L, bar ? bar->Methods->GetUseGlossy(bar) : 0);
    return 1;
}

}  // namespace vb::actions
