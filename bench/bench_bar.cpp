// The bar's paint, its position updates from Lua, and Rebuild.
#include <benchmark/benchmark.h>

#include "bar_page.h"
#include "binding/host_objects.h"
#include "control/bar_control.h"
#include "platform/platform.h"

namespace {

using namespace vb;

void BM_ForcedRepaint400x30OutlinedText(benchmark::State& state) {
    bench::BarPage page("Repaint", 400, 30);
    page.run(bench::kRepaintWithTextSetup);
    control::BarControl* bar = page.bar("Repaint");
    if (!bar) {
        state.SkipWithError("no bar");
        return;
    }
    for (auto _ : state) {
        bar->ForceRedraw = 1;
        bar->Methods->SetCurrentPosition(bar, bar->Position);
        bar->ForceRedraw = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ForcedRepaint400x30OutlinedText);

void BM_UnchangedPositionFromLua(benchmark::State& state) {
    bench::BarPage page("Unchanged", 400, 30);
    page.run("Velumbar.Create('Unchanged') Velumbar.SetCurrentPosition('Unchanged', 50)");
    lua_getglobal(page.L, "Velumbar");
    lua_getfield(page.L, -1, "SetCurrentPosition");
    int function = lua_gettop(page.L);
    for (auto _ : state) {
        lua_pushvalue(page.L, function);
        lua_pushstring(page.L, "Unchanged");
        lua_pushnumber(page.L, 50);
        lua_call(page.L, 2, 1);
        lua_pop(page.L, 1);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnchangedPositionFromLua);

void BM_Rebuild1000x40Gradient(benchmark::State& state) {
    bench::BarPage page("Rebuild", 1000, 40);
    page.run(
        "local h = Velumbar.AllocColor({Index=0, Color=255}, {Index=50, Color=65280},"
        " {Index=100, Color=16711680})"
        "Velumbar.Create('Rebuild', {ColorType = VELUMBAR_GRADIENT, GradientColors = h})");
    control::BarControl* bar = page.bar("Rebuild");
    if (!bar) {
        state.SkipWithError("no bar");
        return;
    }
    for (auto _ : state) bar->Methods->Rebuild(bar);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Rebuild1000x40Gradient);

}  // namespace

BENCHMARK_MAIN();
