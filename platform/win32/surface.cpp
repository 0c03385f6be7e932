// The canvas's 24-bit DIB section: kept across resizes (new area white),
// filled from pictures, shown on WM_PAINT and WM_PRINTCLIENT.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "platform/win32/win32.h"

namespace vb::platform::win32 {

namespace {

struct Surface {
    UniqueBitmap bitmap;
    std::uint8_t* bits = nullptr;  // bottom-up rows of blue, green, red
    int width = 0, height = 0, stride = 0;
    bool resizedSincePresent = false;  // parts may have lost what was shown
};

Surface* surfaceOf(HWND canvas) { return reinterpret_cast<Surface*>(GetWindowLongPtrA(canvas, kRecordSlot)); }

int strideFor(int width) { return (width * 3 + 3) & ~3; }

// Row y counted from the top.
std::uint8_t* row(const Surface& s, int y) {
    return s.bits + static_cast<std::size_t>(s.height - 1 - y) * s.stride;
}

}  // namespace

bool resizeSurface(HWND canvas, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    Surface* old = surfaceOf(canvas);
    if (old && old->width == width && old->height == height) return true;
    // A window procedure calls this: nothing may be thrown from here.
    std::unique_ptr<Surface> next(new (std::nothrow) Surface);
    if (!next) return false;
    next->width = width;
    next->height = height;
    next->stride = strideFor(width);
    next->resizedSincePresent = true;
    if (width > 0 && height > 0) {
        void* bits = nullptr;
        next->bitmap.reset(win32::createDibSection(nullptr, width, height, 24, false, &bits));
        next->bits = static_cast<std::uint8_t*>(bits);
        if (!next->bitmap) return false;
        std::memset(next->bits, 0xFF, static_cast<std::size_t>(next->stride) * height);
        if (old && old->bits) {
            int keepRows = std::min(height, old->height);
            std::size_t keepBytes = static_cast<std::size_t>(std::min(width, old->width)) * 3;
            for (int y = 0; y < keepRows; ++y) std::memcpy(row(*next, y), row(*old, y), keepBytes);
        }
    }
    std::unique_ptr<Surface> replaced(old);
    SetWindowLongPtrA(canvas, kRecordSlot, reinterpret_cast<LONG_PTR>(next.release()));
    return true;
}

void freeSurface(HWND canvas) {
    Surface* s = surfaceOf(canvas);
    if (!s) return;
    SetWindowLongPtrA(canvas, kRecordSlot, 0);
    std::unique_ptr<Surface> freed(s);
}

bool paintSurface(HWND canvas, HDC dc, const RECT* area) {
    Surface* s = surfaceOf(canvas);
    if (!s || !s->bitmap || !dc) return false;
    UniqueMemoryDC memory(CreateCompatibleDC(dc));
    if (!memory) return false;
    SelectedObject selected(memory.get(), s->bitmap.get());
    RECT all{0, 0, s->width, s->height};
    const RECT& r = area ? *area : all;
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(), r.left, r.top, SRCCOPY);
    return true;
}

}  // namespace vb::platform::win32

namespace vb::platform {

using namespace win32;

namespace {

// Copies the area into the surface and has the window repaint it, or the
// whole window. A surface resized since the last whole present may have
// lost what it showed outside the area: it gets the whole picture again.
bool present(Window canvas, const pixels::PixelView& picture, const pixels::Rect& requested,
             bool wholeWindow) {
    if (!isWindow(canvas) || !picture.pixels) return false;
    Surface* s = surfaceOf(hwnd(canvas));
    char name[32] = "";
    GetClassNameA(hwnd(canvas), name, sizeof name);
    if (!s || lstrcmpiA(name, kCanvasClass) != 0) return false;
    const pixels::Rect whole{0, 0, picture.width, picture.height};
    wholeWindow = wholeWindow || s->resizedSincePresent;
    const pixels::Rect& area = s->resizedSincePresent ? whole : requested;
    if (area.left <= 0 && area.top <= 0 && area.right >= picture.width && area.bottom >= picture.height)
        s->resizedSincePresent = false;
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min({area.right, picture.width, s->width});
    const int bottom = std::min({area.bottom, picture.height, s->height});
    if ((right <= left || bottom <= top) && !wholeWindow) return true;
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t* from = picture.pixels + static_cast<std::size_t>(y) * picture.width;
        std::uint8_t* to = row(*s, y) + static_cast<std::size_t>(left) * 3;
        for (int x = left; x < right; ++x, to += 3) {
            std::uint32_t c = from[x];
            to[0] = static_cast<std::uint8_t>(c >> 16);
            to[1] = static_cast<std::uint8_t>(c >> 8);
            to[2] = static_cast<std::uint8_t>(c);
        }
    }
    GdiFlush();
    RECT changed{left, top, right, bottom};
    InvalidateRect(hwnd(canvas), wholeWindow ? nullptr : &changed, FALSE);
    return true;
}

}  // namespace

bool presentToCanvas(Window canvas, const pixels::PixelView& picture) {
    return present(canvas, picture, pixels::Rect{0, 0, picture.width, picture.height}, true);
}

bool presentAreaToCanvas(Window canvas, const pixels::PixelView& picture, const pixels::Rect& area) {
    return present(canvas, picture, area, false);
}

}  // namespace vb::platform
