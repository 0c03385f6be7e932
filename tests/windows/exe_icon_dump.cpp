// Writes what the platform layer reads from an executable's icons: the
// icon count, then the first icon drawn at 32 x 32 over a transparent
// picture, one pixel a line as RRGGBBAA. Built for both backends: the
// stand-in reads the file's own resources, Windows calls ExtractIconA.
//
//   exe_icon_dump EXE OUT
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/platform.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: exe_icon_dump EXE OUT\n");
        return 2;
    }
    constexpr int kSize = 32;
    vb::platform::startup();
    int count = vb::platform::iconCount(argv[1]);
    vb::platform::Icon icon = vb::platform::extractIcon(argv[1], 0);
    std::vector<std::uint32_t> pixels(kSize * kSize, 0);
    bool drawn = icon && vb::platform::drawIcon(icon, kSize, kSize, pixels.data());
    if (icon) vb::platform::destroyIcon(icon);
    FILE* out = std::fopen(argv[2], "w");
    if (!out) return 2;
    std::fprintf(out, "%d\n", count);
    for (std::uint32_t p : pixels)
        std::fprintf(out, "%02X%02X%02X%02X\n", p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF, p >> 24);
    std::fclose(out);
    vb::platform::shutdown();
    if (!drawn) std::fprintf(stderr, "exe_icon_dump: no icon drawn from %s\n", argv[1]);
    return drawn ? 0 : 1;
}
