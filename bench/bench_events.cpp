// Event dispatch into a trivial Lua callback, beside a bare protected call
// that builds the same table.
#include <benchmark/benchmark.h>

#include "bar_page.h"
#include "binding/host_objects.h"
#include "control/bar_control.h"
#include "events/dispatcher.h"

namespace {

using namespace vb;

void BM_DispatchToTrivialCallback(benchmark::State& state) {
    bench::BarPage page("Events", 200, 24);
    page.run(
        "Velumbar.Create('Events') count = 0 "
        "Velumbar.SetCallback('Events', function(e) count = count + 1 end)");
    auto* bar = control::ControlOnWindow(binding::ResolveHostWindow(page.L, "Events"));
    if (!bar) {
        state.SkipWithError("no bar");
        return;
    }
    platform::Window canvas = bar->Methods->GetCanvas(bar);
    events::EventData event{65539, 40, 10, 0};
    for (auto _ : state) events::Dispatch(canvas, event);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispatchToTrivialCallback);

int buildAndCall(lua_State* L) {
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_createtable(L, 0, 3);
    lua_pushstring(L, "Events");
    lua_setfield(L, -2, "ObjectName");
    lua_pushnumber(L, 65539);
    lua_setfield(L, -2, "EventCode");
    lua_createtable(L, 0, 6);
    lua_pushnumber(L, 20);
    lua_setfield(L, -2, "StateHover");
    lua_pushnumber(L, 40);
    lua_setfield(L, -2, "x");
    lua_pushnumber(L, 10);
    lua_setfield(L, -2, "y");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "LeftButtonDown");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "RightButtonDown");
    lua_pushboolean(L, 0);
    lua_setfield(L, -2, "MiddleButtonDown");
    lua_setfield(L, -2, "Mouse");
    if (lua_pcall(L, 1, 0, 0) != 0) lua_pop(L, 1);
    return 0;
}

void BM_BareProtectedCallWithTable(benchmark::State& state) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    luaL_dostring(L, "count = 0 return function(e) count = count + 1 end");
    lua_pushcclosure(L, buildAndCall, 1);
    int function = lua_gettop(L);
    for (auto _ : state) {
        lua_pushvalue(L, function);
        lua_call(L, 0, 0);
    }
    state.SetItemsProcessed(state.iterations());
    lua_close(L);
}
BENCHMARK(BM_BareProtectedCallWithTable);

}  // namespace

BENCHMARK_MAIN();
