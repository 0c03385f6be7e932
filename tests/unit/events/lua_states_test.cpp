// Lua states that close, and new states at the addresses of closed ones:
// callbacks never cross from one to another, and the marker that notices a
// state closing answers only to the state's own close.
#include <cstdlib>

#include <gtest/gtest.h>
#include <lua.hpp>

#include "actions/registration.h"
#include "binding/host_objects.h"
#include "control/bar_control.h"
#include "events/callback_registry.h"
#include "events/dispatcher.h"
#include "events/lua_states.h"
#include "host/globals.h"
#include "host/page.h"

namespace vb::events {
namespace {

// Hands the same block to every state it opens, so a state opened after
// another closed lives at the same address, as the system allocator often
// makes happen by itself.
struct ReusingAllocator {
    void* stateBlock = nullptr;
    std::size_t stateSize = 0;
    bool nextIsState = false;

    static void* allocate(void* ud, void* ptr, std::size_t oldSize, std::size_t newSize) {
        auto* self = static_cast<ReusingAllocator*>(ud);
        if (ptr && ptr == self->stateBlock) {
            if (newSize == 0) return nullptr;  // kept for the next state
            return newSize <= self->stateSize ? ptr : nullptr;
        }
        if (!ptr && self->nextIsState) {
            self->nextIsState = false;
            if (!self->stateBlock) {
                self->stateBlock = std::malloc(newSize);
                self->stateSize = newSize;
            }
            return newSize <= self->stateSize ? self->stateBlock : nullptr;
        }
        (void)oldSize;
        if (newSize == 0) {
            std::free(ptr);
            return nullptr;
        }
        return std::realloc(ptr, newSize);
    }
    lua_State* open() {
        nextIsState = true;
        lua_State* L = lua_newstate(allocate, this);
        luaL_openlibs(L);
        host::InstallHostGlobals(L);
        return L;
    }
    ~ReusingAllocator() { std::free(stateBlock); }
};

void run(lua_State* L, const char* chunk) { ASSERT_EQ(luaL_dostring(L, chunk), 0) << lua_tostring(L, -1); }

double number(lua_State* L, const char* global) {
    lua_getglobal(L, global);
    double n = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return n;
}

platform::Window canvasOf(lua_State* L, const char* name) {
    auto* bar = control::ControlOnWindow(binding::ResolveHostWindow(L, name));
    return bar ? bar->Methods->GetCanvas(bar) : nullptr;
}

TEST(LuaStates, AFinaliserOfAClosingStateCannotSetACallback) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Closing", false, 0, 0, 200, 24);
    ReusingAllocator allocator;
    lua_State* first = allocator.open();
    // Made before registration, so it is finalised after the state's own
    // close marker, while the state is already closing.
    run(first,
        "late = newproxy(true) getmetatable(late).__gc = function()"
        "  lateResult = Velumbar.SetCallback('Closing', function() end) end");
    actions::RegisterActions(first);
    lua_close(first);
    EXPECT_FALSE(IsStateOpen(first));
    EXPECT_EQ(LookupCallback(first, "Closing"), 0) << "a closing state registered a callback";
}

TEST(LuaStates, AStateAtAnAddressSeenBeforeStartsWithNoCallbacks) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Left", false, 0, 40, 200, 24);
    host::Page::Current().Add(host::ObjectKind::Progress, "Other", false, 0, 80, 200, 24);
    ReusingAllocator allocator;
    lua_State* first = allocator.open();
    run(first,
        "late = newproxy(true) getmetatable(late).__gc = function()"
        "  Velumbar.SetCallback('Left', function() end) end");
    actions::RegisterActions(first);
    lua_close(first);
    // Whatever way an entry of the closed state survived, it is not the new one's.
    StoreCallback(first, "Stale", 7);

    lua_State* second = allocator.open();
    ASSERT_EQ(second, first) << "the allocator must reuse the block";
    actions::RegisterActions(second);
    EXPECT_EQ(LookupCallback(second, "Left"), 0) << "a callback of the closed state was inherited";
    EXPECT_EQ(LookupCallback(second, "Stale"), 0) << "an entry of the closed state was inherited";
    // The second state's own references must not be taken for the first's.
    run(second,
        "otherCalls, leftCalls = 0, 0 "
        "assert(Velumbar.SetCallback('Other', function() otherCalls = otherCalls + 1 end)) "
        "assert(Velumbar.Create('Left') and Velumbar.Create('Other'))");
    Dispatch(canvasOf(second, "Left"), EventData{65539, 10, 10, 0});
    EXPECT_EQ(number(second, "otherCalls"), 0) << "an event of Left ran Other's callback";
    // Setting Left's own callback must not release Other's reference.
    run(second,
        "assert(Velumbar.SetCallback('Left', function() leftCalls = leftCalls + 1 end)) "
        "collectgarbage() "
        "local filler = {} for i = 1, 8 do filler[i] = function() end end");
    Dispatch(canvasOf(second, "Other"), EventData{65539, 10, 10, 0});
    Dispatch(canvasOf(second, "Left"), EventData{65539, 10, 10, 0});
    EXPECT_EQ(number(second, "otherCalls"), 1) << "Other's callback was released or replaced";
    EXPECT_EQ(number(second, "leftCalls"), 1);
    lua_close(second);
}

// The marker's finaliser reached through the debug library.
const char* const kFindMarker =
    "for k, v in pairs(debug.getregistry()) do"
    "  local mt = type(v) == 'userdata' and debug.getmetatable(v)"
    "  if mt and type(mt.__gc) == 'function' and type(k) == 'userdata' then"
    "    marker, markerGc = v, mt.__gc end end "
    "assert(markerGc, 'no marker found') ";

TEST(LuaStates, TheCloseMarkerCalledByAScriptClosesNothing) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Marked", false, 0, 120, 200, 24);
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    host::InstallHostGlobals(L);
    actions::RegisterActions(L);
    run(L, kFindMarker);
    run(L,
        "calls = 0 assert(Velumbar.Create('Marked')) "
        "assert(Velumbar.SetCallback('Marked', function() calls = calls + 1 end)) "
        "pcall(markerGc, marker) "
        "coroutine.wrap(function() pcall(markerGc, marker) end)() "
        // Userdata of other sizes: none may be read as the marker.
        "pcall(markerGc, newproxy()) pcall(markerGc, io.stdout) pcall(markerGc, 1)");
    EXPECT_TRUE(IsStateOpen(L)) << "a script's call marked the state closed";
    Dispatch(canvasOf(L, "Marked"), EventData{65539, 10, 10, 0});
    EXPECT_EQ(number(L, "calls"), 1) << "events of the live state were dropped";
    lua_close(L);
    EXPECT_FALSE(IsStateOpen(L)) << "the real close was not noticed";
}

}  // namespace
}  // namespace vb::events
