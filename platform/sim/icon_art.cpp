// Stand-in shell icons. Every look is drawn from rectangles and a tiny 3x5
// font, so each file type shows its own colour and its own label.
#include "platform/sim/icon_art.h"

#include <cctype>
#include <cstring>

namespace vb::platform::art {
namespace {

constexpr std::uint32_t rgb(unsigned r, unsigned g, unsigned b) {
    return r | (g << 8) | (b << 16) | 0xFF000000u;
}

constexpr std::uint32_t kOutline = rgb(0x60, 0x60, 0x60);
constexpr std::uint32_t kPaper = rgb(0xFF, 0xFF, 0xFF);
constexpr std::uint32_t kFold = rgb(0xD8, 0xD8, 0xD8);
constexpr std::uint32_t kTextLine = rgb(0xA0, 0xA0, 0xA0);

pixels::Picture blank() {
    pixels::Picture img;
    img.width = img.height = kIconSide;
    img.hasAlpha = true;
    img.pixels.assign(kIconSide * kIconSide, 0u);  // fully transparent
    return img;
}

void put(pixels::Picture& img, int x, int y, std::uint32_t c) {
    if (x >= 0 && y >= 0 && x < img.width && y < img.height)
        img.pixels[static_cast<std::size_t>(y) * img.width + x] = c;
}

// Inclusive corners.
void rect(pixels::Picture& img, int x0, int y0, int x1, int y1, std::uint32_t c) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) put(img, x, y, c);
}

void frame(pixels::Picture& img, int x0, int y0, int x1, int y1, std::uint32_t fill, std::uint32_t edge) {
    rect(img, x0, y0, x1, y1, edge);
    rect(img, x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill);
}

// Rows of 3 pixels, left pixel in bit 2; letters A-Z then digits 0-9.
const char* const kGlyphs[36] = {"25755", "65656", "34443", "65556", "74647", "74644", "34553", "55755",
                                 "72227", "11152", "55655", "44447", "57755", "65555", "25552", "65644",
                                 "25563", "65655", "34216", "72222", "55557", "55552", "55775", "55255",
                                 "55222", "71247", "75557", "26227", "61247", "61216", "55711", "74616",
                                 "34757", "71222", "75757", "75716"};

void glyph(pixels::Picture& img, int x0, int y0, char ch, std::uint32_t c) {
    int index = -1;
    if (ch >= 'a' && ch <= 'z')
        index = ch - 'a';
    else if (ch >= '0' && ch <= '9')
        index = 26 + (ch - '0');
    if (index < 0) {
        put(img, x0 + 1, y0 + 4, c);  // anything else shows as a dot
        return;
    }
    for (int row = 0; row < 5; ++row) {
        int bits = kGlyphs[index][row] - '0';
        for (int col = 0; col < 3; ++col)
            if (bits & (4 >> col)) put(img, x0 + col, y0 + row, c);
    }
}

std::uint32_t hashOf(const std::string& text) {
    std::uint32_t h = 2166136261u;  // FNV-1a
    for (char ch : text) h = (h ^ static_cast<std::uint8_t>(ch)) * 16777619u;
    return h;
}

// Hue in degrees at fixed saturation and value: mid-dark colours that
// white letters stand out on.
std::uint32_t accentFor(std::uint32_t hash) {
    const int hue = static_cast<int>(hash % 360);
    const int hi = 200, lo = 70;
    int f = (hue % 60) * (hi - lo) / 60;
    int r = 0, g = 0, b = 0;
    switch (hue / 60) {
        case 0:
            r = hi, g = lo + f, b = lo;
            break;
        case 1:
            r = hi - f, g = hi, b = lo;
            break;
        case 2:
            r = lo, g = hi, b = lo + f;
            break;
        case 3:
            r = lo, g = hi - f, b = hi;
            break;
        case 4:
            r = lo + f, g = lo, b = hi;
            break;
        default:
            r = hi, g = lo, b = hi - f;
            break;
    }
    return rgb(r, g, b);
}

// A page with a folded top-right corner.
pixels::Picture page(std::uint32_t edge, std::uint32_t line, std::uint32_t seed) {
    constexpr int L = 5, R = 26, T = 1, B = 30, F = 7;
    pixels::Picture img = blank();
    frame(img, L, T, R, B, kPaper, edge);
    for (int y = T; y <= T + F; ++y) {
        for (int x = R - F; x <= R; ++x) {
            int dx = x - (R - F), dy = y - T;
            if (dx > dy)
                put(img, x, y, 0u);
            else if (dx == dy || x == R - F || y == T + F)
                put(img, x, y, edge);
            else
                put(img, x, y, kFold);
        }
    }
    for (int i = 0; i < 4; ++i) {
        int end = (i == 0 ? R - F - 2 : R - 3) - static_cast<int>((seed >> (3 * i)) & 7u);
        rect(img, L + 3, 5 + 3 * i, end, 5 + 3 * i, line);
    }
    return img;
}

}  // namespace

pixels::Picture documentIcon(const std::string& extension) {
    std::string ext;
    for (char ch : extension) ext += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (ext.empty()) return page(kOutline, kTextLine, 0);

    const std::uint32_t hash = hashOf(ext);
    const std::uint32_t accent = accentFor(hash);
    pixels::Picture img = page(kOutline, kTextLine, hash >> 9);
    rect(img, 6, 18, 25, 26, accent);
    const int letters = static_cast<int>(ext.size() < 4 ? ext.size() : 4);
    int x = 6 + (20 - (4 * letters - 1)) / 2;
    for (int i = 0; i < letters; ++i, x += 4) glyph(img, x, 20, ext[i], rgb(0xFF, 0xFF, 0xFF));
    return img;
}

pixels::Picture folderIcon() {
    const std::uint32_t edge = rgb(0xB0, 0x80, 0x20), body = rgb(0xF4, 0xC8, 0x50);
    pixels::Picture img = blank();
    frame(img, 2, 5, 13, 10, rgb(0xE0, 0xB0, 0x40), edge);
    frame(img, 2, 9, 29, 27, body, edge);
    rect(img, 3, 12, 28, 12, rgb(0xFC, 0xE4, 0x98));
    return img;
}

pixels::Picture driveIcon(DriveLook look) {
    pixels::Picture img = blank();
    const std::uint32_t edge = rgb(0x40, 0x40, 0x48);
    if (look == DriveLook::Removable) {
        frame(img, 4, 4, 27, 27, rgb(0x30, 0x40, 0x90), edge);
        frame(img, 10, 4, 21, 12, rgb(0xC8, 0xC8, 0xD0), edge);
        rect(img, 17, 6, 19, 10, rgb(0x30, 0x40, 0x90));
        frame(img, 8, 16, 23, 27, kPaper, edge);
        return img;
    }
    const int top = look == DriveLook::Network ? 3 : 10;
    frame(img, 2, top, 29, top + 13, rgb(0xC0, 0xC0, 0xC8), edge);
    rect(img, 3, top + 1, 28, top + 3, rgb(0xE0, 0xE0, 0xE8));
    rect(img, 5, top + 8, 20, top + 8, edge);
    rect(img, 24, top + 8, 26, top + 9, rgb(0x20, 0xD0, 0x40));
    if (look == DriveLook::Network) {
        rect(img, 15, top + 14, 16, top + 21, edge);
        frame(img, 6, top + 22, 25, top + 25, rgb(0x20, 0x90, 0x30), edge);
    }
    return img;
}

pixels::Picture fallbackIcon() {
    const std::uint32_t blue = rgb(0x20, 0x50, 0xC0);
    pixels::Picture img = page(blue, rgb(0x90, 0xB0, 0xE8), 0);
    frame(img, 9, 19, 22, 26, rgb(0xD8, 0xE4, 0xFC), blue);
    return img;
}

DriveLook driveLookOf(const char* root) {
    if (!root) return DriveLook::Fixed;
    if ((root[0] == '\\' && root[1] == '\\') || (root[0] == '/' && root[1] == '/')) return DriveLook::Network;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
    if ((letter == 'A' || letter == 'B') && root[1] == ':') return DriveLook::Removable;
    return DriveLook::Fixed;
}

}  // namespace vb::platform::art
