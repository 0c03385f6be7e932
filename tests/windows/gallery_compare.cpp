// Compares the gallery as two backends drew it: every pixel must be equal
// except inside the text rectangles and icon boxes worked out from the bar
// geometry, where each system draws with its own fonts and shell icons.
//
//   gallery_compare GEOMETRY.txt A.png B.png     exit 0 when they agree
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "images/readers/png_reader.h"
#include "platform/platform.h"

namespace {

using vb::pixels::Rect;

// A bar as gallery_geometry.lua wrote it: text is the font size in points
// (-1: the default font, 0: no text), icon the icon's side (0: none).
struct Bar {
    std::string name;
    int x = 0, y = 0, width = 0, height = 0, text = 0, icon = 0;
};

// The paint puts text 5 pixels from the left (after the icon and 5 more
// when there is one), vertically centred. A cell is at most 1.3 em high on
// either system; an outline or shadow adds a pixel on each side.
Rect textRect(const Bar& b) {
    int points = b.text > 0 ? b.text : 9;
    int em = (points * 96 + 71) / 72;
    int half = (em * 13 + 19) / 20 + 2;
    int left = b.icon ? 5 + b.icon + 5 : 5;
    int middle = b.y + b.height / 2;
    return Rect{b.x + left - 1, std::max(b.y, middle - half), b.x + b.width,
                std::min(b.y + b.height, middle + half)};
}

Rect iconRect(const Bar& b) {
    int top = b.y + b.height / 2 - b.icon / 2;
    return Rect{b.x + 5, top, b.x + 5 + b.icon, top + b.icon};
}

bool inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

std::optional<vb::pixels::Picture> readPng(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) return std::nullopt;
    return vb::images::DecodePng(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: gallery_compare GEOMETRY.txt A.png B.png\n");
        return 2;
    }
    std::ifstream geometry(argv[1]);
    std::vector<Rect> masks;
    std::string line;
    int bars = 0;
    while (std::getline(geometry, line)) {
        Bar b;
        std::istringstream fields(line);
        if (!(fields >> b.name >> b.x >> b.y >> b.width >> b.height >> b.text >> b.icon)) continue;
        ++bars;
        if (b.text) masks.push_back(textRect(b));
        if (b.icon) masks.push_back(iconRect(b));
    }
    auto a = readPng(argv[2]);
    auto b = readPng(argv[3]);
    if (bars == 0 || !a || !b) {
        std::fprintf(stderr, "gallery_compare: missing geometry or picture\n");
        return 1;
    }
    if (a->width != b->width || a->height != b->height) {
        std::fprintf(stderr, "gallery_compare: sizes differ: %dx%d and %dx%d\n", a->width, a->height,
                     b->width, b->height);
        return 1;
    }
    long compared = 0, differing = 0;
    for (int y = 0; y < a->height; ++y) {
        for (int x = 0; x < a->width; ++x) {
            bool masked =
                std::any_of(masks.begin(), masks.end(), [&](const Rect& r) { return inside(r, x, y); });
            if (masked) continue;
            ++compared;
            std::uint32_t pa = a->at(x, y) & 0xFFFFFF, pb = b->at(x, y) & 0xFFFFFF;
            if (pa == pb) continue;
            if (differing < 10)
                std::fprintf(stderr, "(%d, %d): %06X and %06X\n", x, y, static_cast<unsigned>(pa),
                             static_cast<unsigned>(pb));
            ++differing;
        }
    }
    std::printf("%d bars, %zu masked rectangles, %ld pixels compared, %ld differ\n", bars, masks.size(),
                compared, differing);
    return differing == 0 ? 0 : 1;
}
