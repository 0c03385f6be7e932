// The raster work behind one bar: building its image and composing a paint.
#include <benchmark/benchmark.h>

#include "render/bar_image.h"
#include "render/raster.h"
#include "render/text.h"

using namespace vb::pixels;
using namespace vb::render;

namespace {

BarStops threeStops() { return MakeBarStops({{0.0f, 255}, {0.5f, 65280}, {1.0f, 16711680}}); }

void BM_BuildGradientGloss_1000x40(benchmark::State& state) {
    BarStops stops = threeStops();
    for (auto _ : state) {
        std::optional<Picture> p = BuildBarImage(1000, 40, kKindGradient, stops, 0, 1);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_BuildGradientGloss_1000x40);

void BM_BuildSolidGloss_400x30(benchmark::State& state) {
    BarStops stops = MakeBarStops({});
    for (auto _ : state) {
        std::optional<Picture> p = BuildBarImage(400, 30, kKindSolid, stops, 0x3080E0, 1);
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_BuildSolidGloss_400x30);

// A paint that reveals the fill in place: crop to the filled part, draw it
// over the background.
void BM_CropAndDraw_400x30(benchmark::State& state) {
    std::optional<Picture> bar = BuildBarImage(400, 30, kKindGradient, threeStops(), 0, 1);
    std::optional<Picture> compose = makePicture(400, 30);
    if (!bar || !compose) return state.SkipWithError("no picture");
    for (auto _ : state) {
        std::optional<Picture> part = Crop(*bar, 0, 0, 237, 30);
        DrawPicture(*compose, *part, 0, 0);
        benchmark::DoNotOptimize(compose->pixels.data());
    }
}
BENCHMARK(BM_CropAndDraw_400x30);

// A paint that squeezes the fill into the filled part.
void BM_CopyResizeDraw_400x30(benchmark::State& state) {
    std::optional<Picture> bar = BuildBarImage(400, 30, kKindGradient, threeStops(), 0, 1);
    std::optional<Picture> compose = makePicture(400, 30);
    if (!bar || !compose) return state.SkipWithError("no picture");
    for (auto _ : state) {
        std::optional<Picture> copy = CopyPicture(*bar);
        Resize(*copy, 237, 30);
        DrawPicture(*compose, *copy, 0, 0);
        benchmark::DoNotOptimize(compose->pixels.data());
    }
}
BENCHMARK(BM_CopyResizeDraw_400x30);

// The text of a paint with an outline: five draws in the default font.
void BM_DrawTextOutlined(benchmark::State& state) {
    std::optional<Picture> compose = makePicture(400, 30);
    if (!compose) return state.SkipWithError("no picture");
    for (auto _ : state) {
        const int dx[] = {-1, 0, 1, 0, 0}, dy[] = {0, -1, 0, 1, 0};
        for (int i = 0; i < 5; ++i)
            DrawText(*compose, nullptr, 5 + dx[i], 8 + dy[i], "Copying files... 59%", 0xFFFFFF);
        benchmark::DoNotOptimize(compose->pixels.data());
    }
}
BENCHMARK(BM_DrawTextOutlined);

// The text of a progress display drawn from its kept mask, as a paint does:
// "50%" in bold 9-point DejaVu Sans, outlined (five passes).
void BM_TextMaskPasses_Percent(benchmark::State& state) {
    std::optional<Picture> compose = makePicture(400, 30);
    vb::platform::FontRequest request;
    request.face = "DejaVu Sans";
    request.height = -12;
    request.weight = 700;
    vb::platform::OwnedFont font(vb::platform::createFont(request));
    TextMask mask;
    if (!compose || !font || !MakeTextMask(font.get(), "50%", false, &mask))
        return state.SkipWithError("no picture or mask");
    for (auto _ : state) {
        const int dx[] = {-1, 0, 1, 0, 0}, dy[] = {0, -1, 0, 1, 0};
        for (int i = 0; i < 5; ++i) DrawTextMask(*compose, mask, 5 + dx[i], 8 + dy[i], i < 4 ? 0 : 0xFFFFFF);
        benchmark::DoNotOptimize(compose->pixels.data());
    }
    state.counters["mask_px"] = static_cast<double>(mask.width * mask.height);
}
BENCHMARK(BM_TextMaskPasses_Percent);

}  // namespace

BENCHMARK_MAIN();
