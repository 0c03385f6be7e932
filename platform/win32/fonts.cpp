// Fonts and text coverage over GDI: CreateFontA with the request as given,
// text drawn white on black by GDI into a 32-bit DIB section and read back
// per channel as coverage.
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/win32/win32.h"

namespace vb::platform::win32 {

// Released when its thread ends.
HDC scratchDC() {
    thread_local UniqueMemoryDC scratch(CreateCompatibleDC(nullptr));
    return scratch.get();
}

}  // namespace vb::platform::win32

namespace vb::platform {

using namespace win32;

namespace {

constexpr long long kMaxCoverage = 1LL << 26;  // pixels in one text mask

HFONT fontOrDefault(Font font) {
    return font ? reinterpret_cast<HFONT>(font) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// Text cell size with the overhang of a synthesised italic or bold.
SIZE cellSize(HDC dc, const char* text, std::size_t length) {
    SIZE size{0, 0};
    if (length == 0) return size;
    int count = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
    GetTextExtentPoint32A(dc, text, count, &size);
    TEXTMETRICA tm{};
    if (GetTextMetricsA(dc, &tm)) size.cx += tm.tmOverhang;
    return size;
}

}  // namespace

int logicalPixelsPerInchY() {
    WindowDC screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    return dpi > 0 ? dpi : 96;
}

Font createFont(const FontRequest& request) {
    HFONT font = CreateFontA(request.height, 0, 0, 0, request.weight, request.italic, request.underline,
                             request.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             request.proofQuality ? PROOF_QUALITY : DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, request.face.c_str());
    return reinterpret_cast<Font>(font);
}

void destroyFont(Font font) {
    if (isFont(font)) UniqueFont(reinterpret_cast<HFONT>(font)).reset();
}

bool isFont(Font font) { return font && GetObjectType(reinterpret_cast<HGDIOBJ>(font)) == OBJ_FONT; }

Size textExtent(Font font, const char* text, std::size_t length) {
    if (!text || length == 0 || (font && !isFont(font))) return Size{};
    HDC dc = scratchDC();
    SelectedObject selected(dc, fontOrDefault(font));
    SIZE size = cellSize(dc, text, length);
    return Size{size.cx, size.cy};
}

// Glyphs may ink beyond the cell (bold and italic overhangs, negative side
// bearings), so GDI draws into a margin round it and the coverage keeps the
// cell plus whatever ink fell outside it.
bool textCoverage(Font font, const char* text, std::size_t length, TextCoverage* out) {
    if (!out || !text || (font && !isFont(font))) return false;
    *out = TextCoverage{};
    if (length == 0) return true;
    HDC dc = scratchDC();
    SelectedObject selectedFont(dc, fontOrDefault(font));
    SIZE size = cellSize(dc, text, length);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    long long margin = std::max<long long>(tm.tmMaxCharWidth, 1);
    long long width = size.cx + 2 * margin, height = size.cy;
    if (size.cx <= 0 || height <= 0) return true;
    if (width > kMaxCoverage / height) return false;

    void* bits = nullptr;
    UniqueBitmap bitmap(
        win32::createDibSection(dc, static_cast<int>(width), static_cast<int>(height), 32, true, &bits));
    if (!bitmap) return false;
    bool ok = false;
    try {
        std::size_t pixels = static_cast<std::size_t>(width * height);
        std::memset(bits, 0, pixels * 4);
        {
            SelectedObject selectedBitmap(dc, bitmap.get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
            TextOutA(dc, static_cast<int>(margin), 0, text,
                     static_cast<int>(std::min<std::size_t>(length, INT_MAX)));
            GdiFlush();
        }
        // Columns from the cell's left edge (or the first ink left of it) to
        // its right edge (or the last ink right of it).
        const auto* rowsStart = static_cast<const std::uint32_t*>(bits);  // 0x00RRGGBB
        long long first = margin, last = margin + size.cx;                // half-open
        for (long long y = 0; y < height; ++y) {
            const std::uint32_t* row = rowsStart + y * width;
            for (long long x = 0; x < first; ++x)
                if (row[x] & 0xFFFFFF) {
                    first = x;
                    break;
                }
            for (long long x = width - 1; x >= last; --x)
                if (row[x] & 0xFFFFFF) {
                    last = x + 1;
                    break;
                }
        }
        out->left = static_cast<int>(first - margin);
        out->width = static_cast<int>(last - first);
        out->height = static_cast<int>(height);
        out->rgb.resize(static_cast<std::size_t>(out->width) * out->height * 3);
        std::uint8_t* to = out->rgb.data();
        for (long long y = 0; y < height; ++y) {
            const auto* from = reinterpret_cast<const std::uint8_t*>(rowsStart + y * width + first);
            for (long long x = first; x < last; ++x, from += 4, to += 3) {  // blue, green, red
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
            }
        }
        ok = true;
    } catch (...) {
        *out = TextCoverage{};
    }
    return ok;
}

}  // namespace vb::platform
