// Event dispatch seen from the C side: the Lua stack, the states that own
// callbacks, the hover value and the tooltip tool.
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
#include "platform/sim/sim.h"

namespace vb::events {
namespace {

struct State {
    lua_State* L = luaL_newstate();
    State() {
        luaL_openlibs(L);
        host::InstallHostGlobals(L);
        actions::RegisterActions(L);
    }
    ~State() { lua_close(L); }
    void run(const char* chunk) { ASSERT_EQ(luaL_dostring(L, chunk), 0) << lua_tostring(L, -1); }
    double number(const char* global) {
        lua_getglobal(L, global);
        double n = lua_tonumber(L, -1);
        lua_pop(L, 1);
        return n;
    }
};

platform::Window canvasOf(lua_State* L, const char* name) {
    auto* bar = control::ControlOnWindow(binding::ResolveHostWindow(L, name));
    return bar ? bar->Methods->GetCanvas(bar) : nullptr;
}

TEST(StateHover, PercentOfTheWidthRoundedUpAndClamped) {
    EXPECT_EQ(StateHover(0, 200, 0, 100), 0.0f);
    EXPECT_EQ(StateHover(1, 200, 0, 100), 1.0f);
    EXPECT_EQ(StateHover(199, 200, 0, 100), 100.0f);
    EXPECT_EQ(StateHover(-5, 200, 0, 100), 0.0f);
    EXPECT_EQ(StateHover(400, 200, 0, 100), 100.0f);
    EXPECT_EQ(StateHover(0, 200, 10, 20), 10.0f);
    EXPECT_EQ(StateHover(199, 200, 10, 20), 20.0f);
    EXPECT_EQ(StateHover(3, 7, 0, 65535), 28087.0f);  // 42.857143% of 65535, rounded up
    EXPECT_EQ(StateHover(10, 0, 0, 100), 0.0f) << "a bar without width";
}

TEST(Dispatch, LeavesTheStackAsItWasEvenWhenTheCallbackFails) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Stack", false, 0, 0, 200, 24);
    State s;
    s.run(
        "Velumbar.Create('Stack') calls = 0 "
        "Velumbar.SetCallback('Stack', function(e) calls = calls + 1 error('boom') end)");
    platform::Window canvas = canvasOf(s.L, "Stack");
    ASSERT_NE(canvas, nullptr);
    lua_pushstring(s.L, "sentinel");
    int top = lua_gettop(s.L);
    Dispatch(canvas, EventData{65539, 10, 10, 0});
    Dispatch(canvas, EventData{65539, 11, 10, 0});
    EXPECT_EQ(lua_gettop(s.L), top);
    EXPECT_STREQ(lua_tostring(s.L, -1), "sentinel");
    EXPECT_EQ(s.number("calls"), 2);
}

TEST(Dispatch, EveryEventGetsItsFullTableAndTheRegistryCannotRedirectIt) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Tables", false, 0, 80, 200, 24);
    State s;
    s.run(
        "Velumbar.Create('Tables') seen = {} "
        "Velumbar.SetCallback('Tables', function(e) local m = e.Mouse "
        "  seen[#seen + 1] = table.concat({e.ObjectName, e.EventCode, m.StateHover, m.x, m.y,"
        "    tostring(m.LeftButtonDown), tostring(m.RightButtonDown), tostring(m.MiddleButtonDown)}, ' ') "
        "end)");
    platform::Window canvas = canvasOf(s.L, "Tables");
    ASSERT_NE(canvas, nullptr);
    Dispatch(canvas, EventData{65539, 50, 7, 0});  // the first event keeps the entry point
    // Whatever a script puts under the registry's light keys is not called.
    s.run(
        "for k, v in pairs(debug.getregistry()) do"
        "  if type(k) == 'userdata' and type(v) == 'function' then"
        "    debug.getregistry()[k] = function() hijacked = true end end end");
    Dispatch(canvas, EventData{65540, 100, 3, 5});
    Dispatch(canvas, EventData{65539, 199, 0, 2});
    s.run(
        "assert(not hijacked, 'the registry entry was called') "
        "assert(#seen == 3, #seen) "
        "assert(seen[1] == 'Tables 65539 25 50 7 false false false', seen[1]) "
        "assert(seen[2] == 'Tables 65540 50 100 3 true false true', seen[2]) "
        "assert(seen[3] == 'Tables 65539 100 199 0 false true false', seen[3])");
}

TEST(Dispatch, TheEntryPointCalledByAScriptReadsNoEventButTheOneUnderWay) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Entry", false, 0, 120, 200, 24);
    State s;
    s.run(
        "Velumbar.Create('Entry') calls = 0 "
        "function callEntry() for k, v in pairs(debug.getregistry()) do"
        "  if type(k) == 'userdata' and type(v) == 'function' then"
        "    pcall(v) pcall(v, k) pcall(v, io.stdout) pcall(v, 7) end end end "
        "Velumbar.SetCallback('Entry', function(e) calls = calls + 1 callEntry() end)");
    platform::Window canvas = canvasOf(s.L, "Entry");
    ASSERT_NE(canvas, nullptr);
    Dispatch(canvas, EventData{65539, 50, 7, 0});  // the first event keeps the entry point
    Dispatch(canvas, EventData{65539, 60, 7, 0});
    // Outside any dispatch too: nothing to read, nothing called.
    s.run("callEntry() assert(calls == 2, calls)");
}

TEST(Dispatch, ACallbackIsOnlyCalledInTheStateThatSetIt) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Shared", false, 0, 40, 200, 24);
    State first, second;
    first.run("calls = 0 Velumbar.SetCallback('Shared', function() calls = calls + 1 end)");
    second.run(
        "calls = 0 Velumbar.SetCallback('Shared', function() calls = calls + 100 end)"
        "Velumbar.Create('Shared')");
    platform::Window canvas = canvasOf(second.L, "Shared");
    ASSERT_NE(canvas, nullptr);
    Dispatch(canvas, EventData{65539, 10, 10, 0});
    EXPECT_EQ(second.number("calls"), 100);
    EXPECT_EQ(first.number("calls"), 0) << "the bar was created in the second state";
}

TEST(Tooltip, SettingTwiceLeavesOneTool) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Tip", false, 0, 80, 200, 24);
    State s;
    s.run("Velumbar.Create('Tip') Velumbar.SetTooltip('Tip', 'one')");
    platform::Window tooltip = platform::threadTooltipWindow();
    int before = sim::tooltipToolCount(tooltip);
    s.run("Velumbar.SetTooltip('Tip', 'two')");
    EXPECT_EQ(sim::tooltipToolCount(tooltip), before);
    std::optional<std::string> text = vb::platform::driver::tooltipText(canvasOf(s.L, "Tip"));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "two");
}

TEST(Tooltip, ReleasedBarLeavesNoTool) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Gone", false, 0, 120, 200, 24);
    State s;
    platform::Window tooltip = platform::threadTooltipWindow();
    int before = sim::tooltipToolCount(tooltip);
    s.run("Velumbar.Create('Gone') Velumbar.SetTooltip('Gone', 'tip')");
    platform::Window canvas = canvasOf(s.L, "Gone");
    EXPECT_EQ(sim::tooltipToolCount(tooltip), before + 1);
    // A second bar over the same object replaces the first and its tool.
    s.run("Velumbar.Create('Gone') Velumbar.SetTooltip('Gone', 'again')");
    EXPECT_EQ(sim::tooltipToolCount(tooltip), before + 1);
    EXPECT_FALSE(vb::platform::driver::tooltipText(canvas));
    host::Page::Current().Remove("Gone");
    EXPECT_EQ(sim::tooltipToolCount(tooltip), before);
}

}  // namespace
}  // namespace vb::events

namespace vb::events {
namespace {

TEST(Dispatch, ABarWhoseStateWasClosedCallsNobody) {
    host::Page::Current().Add(host::ObjectKind::Progress, "Orphan", false, 0, 120, 200, 24);
    platform::Window canvas = nullptr;
    lua_State* closed = nullptr;
    {
        State s;
        closed = s.L;
        s.run("Velumbar.Create('Orphan') Velumbar.SetCallback('Orphan', function() end)");
        canvas = canvasOf(s.L, "Orphan");
        ASSERT_NE(canvas, nullptr);
    }
    // The state is closed; the bar and its canvas live on, and an event
    // must not reach into the freed state (the sanitizer build catches it).
    ASSERT_TRUE(platform::isWindow(canvas));
    EXPECT_FALSE(IsStateOpen(closed));
    EXPECT_EQ(LookupCallback(closed, "Orphan"), 0) << "its callbacks are forgotten";
    Dispatch(canvas, EventData{65539, 10, 10, 0});
}

}  // namespace
}  // namespace vb::events
