// The actions that read and change a bar's position, range, text, font
// and gloss.
#include <string>

#include "actions/actions.h"
#include "actions/find_bar.h"
#include "binding/args.h"
#include "binding/last_error.h"

namespace vb::actions {

using namespace vb::binding;
using control::BarControl;

namespace {

const char* readText(lua_State* L, int i) { return CheckStringArg(L, i); }
bool readBoolean(lua_State* L, int i) { return CheckBooleanArg(L, i); }
void pushFalse(lua_State* L) { lua_pushboolean(L, 0); }

}  // namespace

int SetCurrentPosition(lua_State* L) {
    return ApplyToBar(L, ReadIntegerArg, [](BarControl* bar, std::int32_t position) {
        bar->Methods->SetCurrentPosition(bar, position);
    });
}

int GetCurrentPosition(lua_State* L) {
    return AnswerFromBar(
        L, [](lua_State* L, BarControl* bar) { lua_pushnumber(L, bar->Methods->GetCurrentPosition(bar)); });
}

int SetText(lua_State* L) {
    return ApplyToBar(L, readText, [](BarControl* bar, const char* text) {
        bar->Methods->SetText(bar, std::string(text));
    });
}

int GetText(lua_State* L) {
    return AnswerFromBar(L, [](lua_State* L, BarControl* bar) { lua_pushstring(L, bar->Text.c_str()); });
}

int SetUseGlossy(lua_State* L) {
    return ApplyToBar(L, readBoolean,
                      [](BarControl* bar, bool glossy) { bar->Methods->SetUseGlossy(bar, glossy ? 1 : 0); });
}

int GetUseGlossy(lua_State* L) {
    return AnswerFromBar(
        L, [](lua_State* L, BarControl* bar) { lua_pushboolean(L, bar->Methods->GetUseGlossy(bar)); },
        pushFalse);
}

int SetFont(lua_State* L) {
    const char* name = OpenBarAction(L, 4);
    const char* face = CheckStringArg(L, 2);
    std::int32_t size = ReadIntegerArg(L, 3);
    std::int32_t colour = ReadIntegerArg(L, 4);
    std::int32_t style = ReadIntegerArg(L, 5);
    std::int32_t styleColour = ReadIntegerArg(L, 6);
    if (size < 1) {
        SetHostLastError(L, kInvalidFontSize);
        return PushBoolean(L, false);
    }
    BarControl* bar = FindBar(L, name);
    if (!bar) return PushBoolean(L, false);
    int loaded = 0;
    try {
        loaded = bar->Methods->SetFont(bar, std::string(face), size, static_cast<std::uint32_t>(colour),
                                       style, static_cast<std::uint32_t>(styleColour), 0);
    } catch (...) {
        loaded = 0;
    }
    if (!loaded) SetHostLastError(L, kSetFontFailed);
    return PushBoolean(L, loaded);
}

int SetRange(lua_State* L) {
    const char* name = OpenBarAction(L, 3);
    std::int32_t pair[2] = {ReadIntegerArg(L, 2), ReadIntegerArg(L, 3)};
    if (pair[1] > 65535) RaiseScriptError(L, "The maximal range value should be lower than 65535!");
    if (pair[1] <= pair[0])
        RaiseScriptError(L, "The minimal range value should be lower than the maximal value!");
    if (pair[1] <= 0) RaiseScriptError(L, "The maximal range value should always be larger than 0!");
    if (pair[0] < 0) RaiseScriptError(L, "The minimal range value should always be 0 or higher!");
    BarControl* bar = FindBar(L, name);
    bool set = bar != nullptr;
    if (bar) {
        try {
            bar->Methods->SetRange(bar, pair);
            bar->Methods->Rebuild(bar);
        } catch (...) {
            set = false;  // out of memory while the bar was redrawn
        }
    }
    return PushBoolean(L, set);
}

int GetRange(lua_State* L) {
    return AnswerFromBar(L, [](lua_State* L, BarControl* bar) {
        std::int32_t pair[2] = {0, 0};
        bar->Methods->GetRange(bar, pair);
        lua_createtable(L, 0, 2);
        lua_pushnumber(L, pair[0]);
        lua_setfield(L, -2, "Min");
        lua_pushnumber(L, pair[1]);
        lua_setfield(L, -2, "Max");
    });
}

}  // namespace vb::actions
