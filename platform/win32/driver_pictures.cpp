// What the screen shows, for the test driver: read through WM_PRINTCLIENT,
// window by window in z-order, because a window DC has no pixels under a
// headless display driver; composed once and kept until a message could
// have changed it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/win32/driver_shared.h"

namespace vb::platform::driver {

using namespace detail;

namespace {

// Paints `window` with its client area's top-left at (x, y) of `dc`, clipped
// to `clip`, then its visible children, bottom first.
void paintTree(HWND window, HDC dc, int x, int y, RECT clip) {
    RECT client;
    GetClientRect(window, &client);
    RECT own{x, y, x + client.right, y + client.bottom}, area;
    if (!IntersectRect(&area, &own, &clip)) return;
    win32::UniqueRegion region(CreateRectRgnIndirect(&area));
    SelectClipRgn(dc, region.get());
    POINT before;
    SetViewportOrgEx(dc, x, y, &before);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    SetViewportOrgEx(dc, before.x, before.y, nullptr);
    SelectClipRgn(dc, nullptr);
    for (HWND child : childrenOf(window)) {
        if (!(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE)) continue;
        POINT p{0, 0};
        MapWindowPoints(child, window, &p, 1);
        paintTree(child, dc, x + p.x, y + p.y, area);
    }
}

struct Composed {
    HWND window = nullptr;
    unsigned long long atChange = 0;
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
};

std::vector<std::uint32_t> compose(HWND window, int width, int height) {
    std::vector<std::uint32_t> out;
    if (width <= 0 || height <= 0) return out;
    void* bits = nullptr;  // top-down blue, green, red, unused
    win32::UniqueBitmap dib(win32::createDibSection(nullptr, width, height, 32, true, &bits));
    win32::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!bits || !dc) return out;
    {
        win32::SelectedObject selected(dc.get(), dib.get());
        changes().composing = true;
        paintTree(window, dc.get(), 0, 0, RECT{0, 0, width, height});
        changes().composing = false;
        GdiFlush();
    }
    std::size_t count = static_cast<std::size_t>(width) * height;
    out.resize(count);
    const std::uint8_t* p = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < count; ++i, p += 4)
        out[i] = static_cast<std::uint32_t>(p[2]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                 (static_cast<std::uint32_t>(p[0]) << 16);
    return out;
}

// Window procedures may have queued repaints and notifications; they run
// before anything is read. The last picture is reused while nothing has
// happened since.
const Composed& render(HWND window) {
    static Composed last;
    pump();
    RECT r;
    GetClientRect(window, &r);
    if (last.window == window && last.atChange == changes().count && last.width == r.right &&
        last.height == r.bottom)
        return last;
    last.pixels = compose(window, r.right, r.bottom);
    last.window = window;
    last.width = r.right;
    last.height = r.bottom;
    last.atChange = changes().count;
    return last;
}

}  // namespace

std::optional<std::uint32_t> pixelAt(int x, int y) {
    HWND top = topLevelAt(x, y);
    if (!top) return std::nullopt;
    const Composed& shown = render(top);
    RECT r;
    GetWindowRect(top, &r);
    int cx = x - r.left, cy = y - r.top;
    if (cx < 0 || cy < 0 || cx >= shown.width || cy >= shown.height || shown.pixels.empty())
        return std::nullopt;
    return shown.pixels[static_cast<std::size_t>(cy) * shown.width + cx];
}

std::optional<WindowPixels> renderWindow(Window window) {
    if (!IsWindow(hwnd(window))) return std::nullopt;
    const Composed& shown = render(hwnd(window));
    return WindowPixels{shown.width, shown.height, shown.pixels};
}

Window windowAt(int x, int y) {
    HWND hit = topLevelAt(x, y);
    for (HWND under = hit; under;) {
        POINT p{x, y};
        ScreenToClient(under, &p);
        HWND child = ChildWindowFromPointEx(under, p, CWP_SKIPINVISIBLE);
        if (!child || child == under) break;
        hit = under = child;
    }
    return handle(hit);
}

}  // namespace vb::platform::driver
