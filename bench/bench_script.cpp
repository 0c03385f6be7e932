// Unpacking the class script as the library carries it, beside zlib's
// inflate of the same bytes (compressed at level 9).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include <zlib.h>

#include "script/class_script_block.h"
#include "script/jc_block.h"
#include "script/unpack.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

vb::script::JcBlock classScript() {
    vb::script::JcBlock block;
    vb::script::readJcBlock(vb::script::kClassScriptBlock, vb::script::kClassScriptBlockSize, &block);
    return block;
}

void BM_UnpackClassScript(benchmark::State& state) {
    const vb::script::JcBlock block = classScript();
    Bytes out(block.unpackedSize + 8);
    for (auto _ : state) {
        const std::size_t n = vb::script::unpackJc(block.stream, block.packedSize, out.data(), out.size());
        if (n != block.unpackedSize) state.SkipWithError("class script rejected");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * block.unpackedSize);
    state.counters["ratio"] = double(block.packedSize + 8) / block.unpackedSize;
    state.counters["packed_bytes"] = block.packedSize + 8;
    state.counters["unpacked_bytes"] = block.unpackedSize;
}
BENCHMARK(BM_UnpackClassScript);

void BM_InflateClassScript(benchmark::State& state) {
    const vb::script::JcBlock block = classScript();
    Bytes plain(block.unpackedSize);
    if (vb::script::unpackJc(block.stream, block.packedSize, plain.data(), plain.size()) != plain.size()) {
        state.SkipWithError("class script rejected");
        return;
    }
    uLongf packedSize = compressBound(uLong(plain.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, plain.data(), uLong(plain.size()), 9) != Z_OK) {
        state.SkipWithError("compress2 failed");
        return;
    }
    Bytes out(plain.size());
    for (auto _ : state) {
        uLongf n = uLongf(out.size());
        if (uncompress(out.data(), &n, packed.data(), packedSize) != Z_OK)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * plain.size());
    state.counters["ratio"] = double(packedSize) / plain.size();
    state.counters["packed_bytes"] = double(packedSize);
    state.counters["unpacked_bytes"] = double(plain.size());
}
BENCHMARK(BM_InflateClassScript);

}  // namespace

BENCHMARK_MAIN();
