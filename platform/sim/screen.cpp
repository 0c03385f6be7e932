// What the stand-in screen shows: plain windows in their fill colour,
// canvases from their 24-bit surface, children above parents.
#include <algorithm>

#include "platform/sim/sim.h"
#include "platform/sim/state.h"

namespace vb::sim::detail {
namespace {

std::uint32_t colourAt(const SimWindow& w, int cx, int cy) {
    if (w.kind == Kind::Canvas && cx < w.surfaceWidth && cy < w.surfaceHeight)
        return w.surface[static_cast<std::size_t>(cy) * w.surfaceWidth + cx] & 0xFFFFFF;
    return w.fill;
}

bool contains(const SimWindow& w, Point origin, int x, int y) {
    return x >= origin.x && y >= origin.y && x < origin.x + w.rect.width() && y < origin.y + w.rect.height();
}

// Topmost descendant (or the window itself) at a screen point.
SimWindow* topmostAt(SimWindow& w, int x, int y) {
    Point o = clientOrigin(w);
    if (!w.visible || !contains(w, o, x, y)) return nullptr;
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it)
        if (SimWindow* child = find(*it))
            if (SimWindow* hit = topmostAt(*child, x, y)) return hit;
    return &w;
}

void paintInto(const SimWindow& w, Point origin, Rect clip, std::vector<std::uint32_t>& out, int outWidth) {
    if (!w.visible) return;
    Rect r{origin.x, origin.y, origin.x + w.rect.width(), origin.y + w.rect.height()};
    Rect c{std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
           std::min(r.bottom, clip.bottom)};
    if (c.left >= c.right || c.top >= c.bottom) return;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x)
            out[static_cast<std::size_t>(y) * outWidth + x] = colourAt(w, x - r.left, y - r.top);
    for (std::uintptr_t id : w.children)
        if (const SimWindow* child = find(id))
            paintInto(*child, Point{origin.x + child->rect.left, origin.y + child->rect.top}, c, out,
                      outWidth);
}

}  // namespace
}  // namespace vb::sim::detail

namespace vb::platform {

using namespace vb::sim::detail;

namespace {

// Rows of a picture onto the surface without the top byte. Row pointers
// the compiler knows apart: the copy is vector code.
void copyRows(SimWindow& w, const pixels::PixelView& picture, int left, int top, int right, int bottom) {
    const std::size_t n = static_cast<std::size_t>(right - left);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* __restrict to = w.surface.data() + static_cast<std::size_t>(y) * w.surfaceWidth + left;
        const std::uint32_t* __restrict from =
            picture.pixels + static_cast<std::size_t>(y) * picture.width + left;
        for (std::size_t x = 0; x < n; ++x) to[x] = from[x] & 0xFFFFFFu;
    }
}

}  // namespace

bool presentToCanvas(Window canvas, const pixels::PixelView& picture) {
    SimWindow* w = find(canvas);
    if (!w || w->kind != Kind::Canvas || !picture.pixels) return false;
    w->resizedSincePresent = false;
    copyRows(*w, picture, 0, 0, std::min(picture.width, w->surfaceWidth),
             std::min(picture.height, w->surfaceHeight));
    return true;
}

bool presentAreaToCanvas(Window canvas, const pixels::PixelView& picture, const pixels::Rect& area) {
    SimWindow* w = find(canvas);
    if (!w || w->kind != Kind::Canvas || !picture.pixels) return false;
    // A surface resized since the last whole present may have lost what it
    // showed outside the area: it gets the whole picture again.
    if (w->resizedSincePresent) return presentToCanvas(canvas, picture);
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min({area.right, picture.width, w->surfaceWidth});
    const int bottom = std::min({area.bottom, picture.height, w->surfaceHeight});
    if (right > left && bottom > top) copyRows(*w, picture, left, top, right, bottom);
    return true;
}

}  // namespace vb::platform

namespace vb::sim {

using namespace vb::sim::detail;

}  // namespace vb::sim

namespace vb::platform::driver {

using namespace vb::sim;
using namespace vb::sim::detail;

Window windowAt(int x, int y) {
    // Top-level windows: the last created is on top.
    SimWindow* hit = nullptr;
    for (std::uintptr_t id : topLevels())
        if (SimWindow* w = find(id))
            if (SimWindow* h = topmostAt(*w, x, y)) hit = h;
    return hit ? toHandle(hit->id) : nullptr;
}

std::optional<std::uint32_t> pixelAt(int x, int y) {
    SimWindow* w = find(windowAt(x, y));
    if (!w) return std::nullopt;
    Point o = clientOrigin(*w);
    return colourAt(*w, x - o.x, y - o.y);
}

std::optional<WindowPixels> renderWindow(Window window) {
    SimWindow* w = find(window);
    if (!w) return std::nullopt;
    WindowPixels shown{w->rect.width(), w->rect.height(), {}};
    shown.pixels.assign(static_cast<std::size_t>(shown.width) * shown.height, 0);
    paintInto(*w, Point{0, 0}, Rect{0, 0, shown.width, shown.height}, shown.pixels, shown.width);
    return shown;
}

}  // namespace vb::platform::driver
