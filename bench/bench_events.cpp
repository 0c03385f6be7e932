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
    auto* bar = page.bar("Events");
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

void BM_BareProtectedCallWithTable(benchmark::State& state) {
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    luaL_dostring(L, "count = 0 return function(e) count = count + 1 end");
    lua_pushcclosure(L, bench::CallWithMouseMoveTable, 1);
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
