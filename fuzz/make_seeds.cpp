// Writes the seed corpora of the fuzz targets, one folder per target under
// the folder named on the command line: small valid files of every kind the
// readers know, made by the same builders the unit tests use, so no file
// comes from anywhere but this project.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../tests/unit/images/test_support.h"
#include "tools/jc/pack.h"

namespace fs = std::filesystem;
using vb::test::Bytes;

namespace {

fs::path g_root;

void seed(const std::string& target, const std::string& name, const Bytes& data) {
    const fs::path folder = g_root / target;
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

std::vector<Bytes> gradientRows(int width, int height, int bytesPerPixel) {
    std::vector<Bytes> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * bytesPerPixel; ++x)
            rows[y].push_back(static_cast<std::uint8_t>(x * 13 + y * 7));
    return rows;
}

std::vector<std::uint32_t> greyPalette(int n) {
    std::vector<std::uint32_t> p;
    for (int i = 0; i < n; ++i) p.push_back(0x010101u * static_cast<std::uint32_t>(i * 255 / (n - 1)));
    return p;
}

Bytes packedRows(int width, int height, int bitCount) {
    std::vector<Bytes> rows(static_cast<std::size_t>(height));
    const int rowBytes = (width * bitCount + 7) / 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < rowBytes; ++x) rows[y].push_back(static_cast<std::uint8_t>(x * 29 + y));
    Bytes all;
    for (const Bytes& r : rows) all.insert(all.end(), r.begin(), r.end());
    return all;
}

std::vector<Bytes> bitmaps() {
    std::vector<Bytes> out;
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        vb::test::BmpLayout l;
        l.width = 7, l.height = 5, l.bitCount = bits;
        if (bits <= 8) l.palette = greyPalette(1 << bits);
        out.push_back(vb::test::makeBmp(l, gradientRows(7, 5, bits >= 8 ? bits / 8 : 1)));
    }
    vb::test::BmpLayout masks;
    masks.width = 4, masks.height = 3, masks.bitCount = 32, masks.compression = 3, masks.v5 = true;
    masks.masks[0] = 0x00FF0000, masks.masks[1] = 0x0000FF00, masks.masks[2] = 0x000000FF,
    masks.masks[3] = 0xFF000000;
    out.push_back(vb::test::makeBmp(masks, gradientRows(4, 3, 4)));
    vb::test::BmpLayout core;
    core.width = 3, core.height = 3, core.bitCount = 8, core.coreHeader = true,
    core.palette = greyPalette(256);
    out.push_back(vb::test::makeBmp(core, gradientRows(3, 3, 1)));
    return out;
}

// Runs, literals, a delta, line ends and the end code, for RLE8 and RLE4.
const Bytes kRle8 = {3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 2, 1, 0, 2, 7, 0, 0, 0, 1};
const Bytes kRle4 = {4, 0x12, 0, 4, 0x34, 0x56, 0, 0, 0, 2, 1, 0, 3, 0xAB, 0, 0, 0, 0, 1};

std::vector<Bytes> rleBitmaps() {
    std::vector<Bytes> out;
    for (int bits : {8, 4}) {
        vb::test::BmpLayout l;
        l.width = 6, l.height = 3, l.bitCount = bits, l.compression = bits == 8 ? 1 : 2;
        l.palette = greyPalette(bits == 8 ? 256 : 16);
        out.push_back(vb::test::makeBmpWithBits(l, bits == 8 ? kRle8 : kRle4));
    }
    return out;
}

std::vector<Bytes> iconDibs() {
    std::vector<Bytes> out;
    for (int bits : {1, 4, 8, 24, 32}) {
        const int side = 8;
        std::vector<std::vector<int>> mask(side, std::vector<int>(side, 0));
        mask[0][0] = mask[7][7] = 1;
        Bytes rows = packedRows(side, side, bits);
        std::vector<Bytes> split;
        const std::size_t rowBytes = (side * bits + 7) / 8;
        for (int y = 0; y < side; ++y)
            split.emplace_back(rows.begin() + y * rowBytes, rows.begin() + (y + 1) * rowBytes);
        out.push_back(
            vb::test::makeIconDib(side, side, bits, split, mask,
                                  bits <= 8 ? greyPalette(1 << bits) : std::vector<std::uint32_t>{}));
    }
    return out;
}

std::vector<Bytes> pngs() {
    std::vector<Bytes> out;
    out.push_back(vb::test::makePng(5, 4, 2, 8, gradientRows(5, 4, 3)));        // RGB
    out.push_back(vb::test::makePng(5, 4, 6, 8, gradientRows(5, 4, 4), true));  // RGBA, interlaced
    out.push_back(vb::test::makePng(5, 4, 0, 8, gradientRows(5, 4, 1)));        // grey
    out.push_back(vb::test::makePng(5, 4, 4, 16, gradientRows(5, 4, 4)));       // grey+alpha, 16 bits
    out.push_back(vb::test::makePng(8, 2, 3, 2, gradientRows(2, 2, 1), false, greyPalette(4), {0, 128}));
    out.push_back(vb::test::makePng(40, 3, 2, 8, gradientRows(40, 3, 3)));  // wider than the box
    return out;
}

std::vector<Bytes> jpegs() {
    std::vector<Bytes> out;
    for (int components : {1, 3, 4}) {
        Bytes samples;
        for (int i = 0; i < 9 * 6 * components; ++i) samples.push_back(static_cast<std::uint8_t>(i * 11));
        out.push_back(vb::test::makeJpeg(9, 6, components, samples, 75));
    }
    Bytes wide(48 * 4 * 3, 90);
    out.push_back(vb::test::makeJpeg(48, 4, 3, wide, 50));
    return out;
}

std::vector<Bytes> iconFiles(const std::vector<Bytes>& dibs, const std::vector<Bytes>& png) {
    std::vector<Bytes> out;
    out.push_back(vb::test::makeIconFile({{8, 8, 32, dibs.back()}, {8, 8, 8, dibs[2]}}));
    out.push_back(vb::test::makeIconFile({{8, 8, 1, dibs[0]}, {8, 8, 4, dibs[1]}, {8, 8, 24, dibs[3]}}));
    out.push_back(vb::test::makeIconFile({{5, 4, 32, png[1]}}));
    return out;
}

std::vector<Bytes> programs(const std::vector<Bytes>& dibs) {
    std::vector<Bytes> out;
    for (bool plus : {false, true}) {
        vb::test::PeGroup first;
        first.id = 1;
        first.entries = {{8, 8, 32, {}}, {8, 8, 8, {}}};
        first.iconIds = {1, 2};
        vb::test::PeGroup named;
        named.name = u"MAIN";
        named.entries = {{8, 8, 24, {}}};
        named.iconIds = {3};
        out.push_back(vb::test::makePe(plus, {first, named}, {{1, dibs.back()}, {2, dibs[2]}, {3, dibs[3]}}));
    }
    return out;
}

// Load-image inputs: type, icon index, then contents or name.
Bytes loadInput(int type, int index, const Bytes& rest) {
    Bytes b{static_cast<std::uint8_t>(type - 1), static_cast<std::uint8_t>(index)};
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    g_root = argv[1];
    const std::vector<Bytes> bmp = bitmaps(), rle = rleBitmaps(), dib = iconDibs(), png = pngs(),
                             jpeg = jpegs(), ico = iconFiles(dib, png), pe = programs(dib);
    int n = 0;
    auto many = [&](const std::string& target, const std::vector<Bytes>& files) {
        for (const Bytes& f : files) seed(target, "seed" + std::to_string(++n), f);
    };
    many("fuzz_bmp", bmp);
    many("fuzz_bmp", rle);
    many("fuzz_ico", ico);
    many("fuzz_image_data", bmp);
    many("fuzz_image_data", rle);
    many("fuzz_image_data", png);
    many("fuzz_image_data", jpeg);
    many("fuzz_image_data", ico);
    many("fuzz_pe", pe);

    // The RLE target's own framing: mode, width, height, colours, data.
    seed("fuzz_bmp_rle", "rle8", [] {
        Bytes b{0, 5, 2, 0};
        b.insert(b.end(), kRle8.begin(), kRle8.end());
        return b;
    }());
    seed("fuzz_bmp_rle", "rle4", [] {
        Bytes b{1, 5, 2, 16};
        b.insert(b.end(), kRle4.begin(), kRle4.end());
        return b;
    }());

    // Files whose headers claim 16384 x 16384 on a few bytes.
    const Bytes claimPng = vb::test::claimPngSize(vb::test::makePng(1, 1, 0, 1, {{0}}), 16384, 16384);
    const std::vector<Bytes> claims = {claimPng, vb::test::makeIconFile({{0, 0, 32, claimPng}}),
                                       vb::test::claimJpegFrame(jpeg[1], 16384, 16384)};
    many("fuzz_image_data", claims);
    for (const Bytes& f : claims) seed("fuzz_load_image", "seed" + std::to_string(++n), loadInput(6, 0, f));

    for (const Bytes& f : bmp) seed("fuzz_load_image", "seed" + std::to_string(++n), loadInput(6, 0, f));
    for (const Bytes& f : png) seed("fuzz_load_image", "seed" + std::to_string(++n), loadInput(6, 0, f));
    for (const Bytes& f : jpeg) seed("fuzz_load_image", "seed" + std::to_string(++n), loadInput(6, 0, f));
    for (const Bytes& f : ico) seed("fuzz_load_image", "seed" + std::to_string(++n), loadInput(6, 0, f));
    seed("fuzz_load_image", "exe0", loadInput(5, 0, pe[0]));
    seed("fuzz_load_image", "exe-named", loadInput(5, 1, pe[1]));
    seed("fuzz_load_image", "exe-resource-id", loadInput(5, -1, pe[0]));
    seed("fuzz_load_image", "association", loadInput(1, 0, pe[0]));
    seed("fuzz_load_image", "extension", loadInput(2, 0, text("txt")));
    seed("fuzz_load_image", "folder", loadInput(3, 0, text("C:\\Windows")));
    seed("fuzz_load_image", "drive", loadInput(4, 0, text("C:\\")));

    std::string script =
        "local t = {}\nfor i = 1, 40 do t[#t + 1] = string.rep('velumbar ', i % 7) end\nreturn t\n";
    const Bytes plain(script.begin(), script.end());
    seed("fuzz_unpack", "stream", vb::jc::packJcStream(plain));
    seed("fuzz_unpack", "block", vb::jc::packJcBlock(plain));
    seed("fuzz_unpack", "stream-no-checksum", vb::jc::packJcStream(plain, {false}));
    return 0;
}
