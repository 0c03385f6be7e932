// The image library: decoding the formats LoadImage reads, fitting a large
// picture into the 32 x 32 box, and building the picture SetIcon shows.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "images/icon_image.h"
#include "images/image_file.h"
#include "images/image_record.h"
#include "images/readers/bmp_reader.h"
#include "images/readers/ico_reader.h"
#include "images/readers/png_reader.h"

using namespace vb::images;
using Bytes = std::vector<std::uint8_t>;

namespace {

void put16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) { put16(b, v & 0xFFFF), put16(b, v >> 16); }

// A 32-bit bottom-up DIB header; `icon` doubles the height for the mask.
Bytes dibHeader(int w, int h, bool icon) {
    Bytes b;
    put32(b, 40), put32(b, w), put32(b, icon ? 2 * h : h), put16(b, 1), put16(b, 32);
    for (int i = 0; i < 6; ++i) put32(b, 0);
    for (int i = 0; i < w * h; ++i)
        for (std::uint8_t v : {std::uint8_t(i), std::uint8_t(i >> 3), std::uint8_t(90), std::uint8_t(200)})
            b.push_back(v);
    if (icon) b.resize(b.size() + static_cast<std::size_t>((w + 31) / 32 * 4) * h, 0);
    return b;
}

Bytes bmp32(int side) {
    Bytes b = {'B', 'M'};
    put32(b, 0), put32(b, 0), put32(b, 54);
    Bytes dib = dibHeader(side, side, false);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

Bytes ico32(int side) {
    Bytes dib = dibHeader(side, side, true);
    Bytes b;
    put16(b, 0), put16(b, 1), put16(b, 1);
    for (std::uint8_t v : {std::uint8_t(side), std::uint8_t(side), std::uint8_t(0), std::uint8_t(0)})
        b.push_back(v);
    put16(b, 1), put16(b, 32), put32(b, static_cast<std::uint32_t>(dib.size())), put32(b, 22);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

Bytes rgbaPng(int side) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = side;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(side) * side * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 / 7);
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    Bytes out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr);
    out.resize(size);
    return out;
}

void BM_DecodeBmp32_32x32(benchmark::State& state) {
    Bytes file = bmp32(32);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeBmp(file.data(), file.size()));
}
BENCHMARK(BM_DecodeBmp32_32x32);

void BM_DecodeIcon32_32x32(benchmark::State& state) {
    Bytes file = ico32(32);
    for (auto _ : state) benchmark::DoNotOptimize(DecodeIconFile(file.data(), file.size()));
}
BENCHMARK(BM_DecodeIcon32_32x32);

void BM_DecodePngRgba(benchmark::State& state) {
    Bytes file = rgbaPng(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(DecodePng(file.data(), file.size()));
}
BENCHMARK(BM_DecodePngRgba)->Arg(32)->Arg(256);

// The whole image-file load: read, decode a 256 x 256 PNG, fit into 32 x 32.
void BM_LoadImageFile_Png256(benchmark::State& state) {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "vb-bench-images.png";
    Bytes file = rgbaPng(256);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    for (auto _ : state) benchmark::DoNotOptimize(LoadImageFile(path.string().c_str()));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LoadImageFile_Png256);

// SetIcon's picture from a shell icon at the largest size.
void BM_BuildIconImage_Type48(benchmark::State& state) {
    ImageHandle h = LoadImageRecord(kExtension, "txt", 0);
    const ImageRecord* record = FindImageRecord(h);
    if (!record) return state.SkipWithError("no icon");
    for (auto _ : state) benchmark::DoNotOptimize(BuildIconImage(*record, 48, 48));
    FreeImageRecord(h);
}
BENCHMARK(BM_BuildIconImage_Type48);

}  // namespace

BENCHMARK_MAIN();
