#include "events/dispatcher.h"

#include <cmath>

#include <lua.hpp>

#include "control/bar_control.h"
#include "control/window_properties.h"
#include "events/callback_registry.h"
#include "events/deferred.h"
#include "events/lua_states.h"

namespace vb::events {

namespace {

struct CallArgs {
    int ref;
    const char* name;
    const EventData* event;
    float hover;
};

// The table's keys, in the order of the entry point's upvalues: pushed
// from there, a key costs no hashing and no string-table look-up.
enum Key {
    kObjectName = 1,
    kEventCode,
    kMouse,
    kStateHover,
    kX,
    kY,
    kLeft,
    kRight,
    kMiddle,
    kKeyCount = kMiddle
};
const char* const kKeyNames[kKeyCount] = {
    "ObjectName", "EventCode",      "Mouse",           "StateHover",      "x",
    "y",          "LeftButtonDown", "RightButtonDown", "MiddleButtonDown"};

// A fresh table has no metatable, so raw sets store exactly what
// lua_settable would.
void setNumber(lua_State* L, Key key, double value) {
    lua_pushvalue(L, lua_upvalueindex(key));
    lua_pushnumber(L, value);
    lua_rawset(L, -3);
}

void setBoolean(lua_State* L, Key key, bool value) {
    lua_pushvalue(L, lua_upvalueindex(key));
    lua_pushboolean(L, value);
    lua_rawset(L, -3);
}

// The event of the innermost dispatch under way (a callback can cause
// another), the only one the entry point will read.
const CallArgs* inFlight = nullptr;

// Runs in protected mode: a memory error while building the table must not
// leave the window procedure by longjmp.
int callInProtectedMode(lua_State* L) {
    auto* args = static_cast<const CallArgs*>(lua_touserdata(L, 1));
    // Scripts with the debug library can reach this function in the
    // registry and call it with anything; it reads only the event that
    // is being dispatched.
    if (!args || args != inFlight) return 0;
    lua_settop(L, 0);
    lua_rawgeti(L, LUA_REGISTRYINDEX, args->ref);
    if (lua_type(L, -1) != LUA_TFUNCTION) return 0;
    lua_createtable(L, 0, 3);
    lua_pushvalue(L, lua_upvalueindex(kObjectName));
    lua_pushstring(L, args->name);
    lua_rawset(L, -3);
    setNumber(L, kEventCode, args->event->code);
    lua_pushvalue(L, lua_upvalueindex(kMouse));
    lua_createtable(L, 0, 6);
    setNumber(L, kStateHover, args->hover);
    setNumber(L, kX, args->event->x);
    setNumber(L, kY, args->event->y);
    setBoolean(L, kLeft, args->event->buttons & kLeftButtonBit);
    setBoolean(L, kRight, args->event->buttons & kRightButtonBit);
    setBoolean(L, kMiddle, args->event->buttons & kMiddleButtonBit);
    lua_rawset(L, -3);
    // The callback's own errors end this protected call and are discarded
    // with it: one protected call an event.
    lua_call(L, 1, 0);
    return 0;
}

// The protected entry point, with its keys, is kept in each state's
// registry under this key, so an event allocates nothing but its tables
// (lua_cpcall makes a new closure every time).
char kEntryKey;

// The first event of a state goes through lua_cpcall, which keeps the
// entry point under protection from memory errors, then calls it.
int keepEntryAndCall(lua_State* L) {
    void* args = lua_touserdata(L, 1);
    lua_pushlightuserdata(L, &kEntryKey);
    for (const char* key : kKeyNames) lua_pushstring(L, key);
    lua_pushcclosure(L, callInProtectedMode, kKeyCount);
    lua_pushvalue(L, -1);
    lua_insert(L, -3);
    lua_rawset(L, LUA_REGISTRYINDEX);
    lua_pushlightuserdata(L, args);
    lua_call(L, 1, 0);
    return 0;
}

}  // namespace

float StateHover(int x, int width, int rangeMin, int rangeMax) {
    float p = width > 0 ? static_cast<float>(static_cast<double>(x) / width * 100.0) : 0.0f;
    float v = static_cast<float>((rangeMax - rangeMin) / 100.0 * p + rangeMin);
    float h = std::ceil(v);
    if (h < rangeMin) h = static_cast<float>(rangeMin);
    if (h > rangeMax) h = static_cast<float>(rangeMax);
    return h;
}

void Dispatch(platform::Window canvas, const EventData& event) {
    auto* name = static_cast<const char*>(platform::property(canvas, control::prop::kObjectName));
    auto* L = static_cast<lua_State*>(platform::property(canvas, control::prop::kLuaState));
    auto* bar = static_cast<control::BarControl*>(platform::property(canvas, control::prop::kControl));
    if (!control::IsLiveControl(bar) || bar->Canvas != canvas) return;
    if (!name || name != bar->ObjectName.c_str() || !*name || !L || L != bar->LuaState || !IsStateOpen(L))
        return;
    int ref = LookupCallback(L, name);
    if (ref == 0) return;

    DispatchScope scope;
    std::int32_t range[2] = {0, 0};
    int width = bar->Methods->GetWidth(bar);
    bar->Methods->GetRange(bar, range);
    CallArgs args{ref, name, &event, StateHover(event.x, width, range[0], range[1])};
    const CallArgs* outer = inFlight;
    inFlight = &args;
    int top = lua_gettop(L);
    lua_pushlightuserdata(L, &kEntryKey);
    lua_rawget(L, LUA_REGISTRYINDEX);  // neither allocates nor raises
    // Only our own entry point: a script with the debug library can reach
    // the registry and put something else there.
    if (lua_tocfunction(L, -1) == callInProtectedMode) {
        lua_pushlightuserdata(L, &args);
        lua_pcall(L, 1, 0, 0);
    } else {
        lua_settop(L, top);
        lua_cpcall(L, keepEntryAndCall, &args);
    }
    lua_settop(L, top);
    inFlight = outer;
}

}  // namespace vb::events
