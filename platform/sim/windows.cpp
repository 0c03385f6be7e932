// Windows of the stand-in: a tree with properties, replaceable procedures,
// synchronous message delivery and the destruction order Windows uses.
#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

#include "platform/sim/sim.h"
#include "platform/sim/state.h"

namespace vb::sim::detail {

namespace {

// Never destroyed: libraries unloading at exit still talk to their windows.
// Hashed, so finding a window does not grow with the number of windows;
// handles only grow, so their order is the order of creation.
std::unordered_map<std::uintptr_t, std::unique_ptr<SimWindow>>& table() {
    static auto* windows = new std::unordered_map<std::uintptr_t, std::unique_ptr<SimWindow>>;
    return *windows;
}

// The window found last, asked for again and again while one event or one
// paint runs; forgotten when that window goes.
struct LastFound {
    std::uintptr_t id = 0;
    SimWindow* window = nullptr;
};
LastFound& lastFound() {
    static LastFound last;
    return last;
}

// Handles look like the system's: even numbers in a plausible range.
std::uintptr_t nextId() {
    static std::uintptr_t next = 0x10010;
    next += 2;
    return next;
}

LParam packSize(int width, int height) {
    return static_cast<LParam>((static_cast<std::uint32_t>(height & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(width & 0xFFFF));
}

LResult VB_CALLBACK canvasProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    SimWindow* w = find(window);
    if (!w) return 0;
    if (msg == wm::Paint || msg == wm::EraseBkgnd) return 1;  // shown straight from the surface
    if (msg == wm::Size)
        resizeSurface(*w, static_cast<int>(lParam & 0xFFFF), static_cast<int>((lParam >> 16) & 0xFFFF));
    if (w->canvasInput) return w->canvasInput(window, msg, wParam, lParam);
    return defaultWindowProc(window, msg, wParam, lParam);
}

LResult VB_CALLBACK plainProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    return defaultWindowProc(window, msg, wParam, lParam);
}

Window create(std::uintptr_t parent, const Rect& rect, Kind kind, WindowProc proc, std::uint32_t fill,
              bool doubleClicks) {
    if (parent && !find(parent)) return nullptr;
    auto w = std::make_unique<SimWindow>();
    w->id = nextId();
    w->parent = parent;
    w->rect = rect;
    w->kind = kind;
    w->proc = proc ? proc : plainProc;
    w->fill = fill & 0xFFFFFF;
    w->doubleClicks = doubleClicks;
    SimWindow* raw = w.get();
    table()[raw->id] = std::move(w);
    if (parent) find(parent)->children.push_back(raw->id);
    if (kind == Kind::Canvas) resizeSurface(*raw, rect.width(), rect.height());
    deliver(*raw, wm::NcCreate, 0, 0);
    if (find(raw->id)) deliver(*raw, wm::Size, 0, packSize(rect.width(), rect.height()));
    return find(raw->id) ? toHandle(raw->id) : nullptr;
}

void destroyTree(std::uintptr_t id) {
    SimWindow* w = find(id);
    if (!w || w->destroying) return;
    w->destroying = true;
    InputState& in = input();
    if (in.capture == id) in.capture = 0;
    if (in.focus == id) in.focus = 0;
    if (in.hover == id) in.hover = 0;
    deliver(*w, wm::Destroy, 0, 0);
    // Children go after their parent has seen WM_DESTROY, as on Windows.
    w = find(id);
    std::vector<std::uintptr_t> kids = w ? w->children : std::vector<std::uintptr_t>{};
    for (std::uintptr_t child : kids) destroyTree(child);
    w = find(id);
    if (!w) return;
    deliver(*w, wm::NcDestroy, 0, 0);
    if (SimWindow* p = find(w->parent)) {
        auto& siblings = p->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), id), siblings.end());
    }
    dropTimers(id);
    if (lastFound().id == id) lastFound() = {};
    table().erase(id);
}

}  // namespace

bool NoCaseLess::operator()(std::string_view a, std::string_view b) const {
    // Equal bytes need no folding; letters of plain ASCII fold without a
    // call, as they do in every locale the stand-in runs in.
    auto fold = [](unsigned char c) -> int {
        if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
        return std::tolower(c);
    };
    if (a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0) return false;
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        int x = fold(static_cast<unsigned char>(a[i])), y = fold(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

PropertyList::Entry* PropertyList::find(std::string_view name) {
    for (Entry& e : entries)
        if (e.name.size() == name.size() && std::memcmp(e.name.data(), name.data(), name.size()) == 0)
            return &e;
    const NoCaseLess less;
    for (Entry& e : entries)
        if (!less(e.name, name) && !less(name, e.name)) return &e;
    return nullptr;
}

void PropertyList::set(std::string_view name, void* value) {
    if (Entry* e = find(name))
        e->value = value;
    else
        entries.push_back(Entry{std::string(name), value});
}

void* PropertyList::remove(std::string_view name) {
    Entry* e = find(name);
    if (!e) return nullptr;
    void* value = e->value;
    entries.erase(entries.begin() + (e - entries.data()));
    return value;
}

std::vector<std::string> PropertyList::names() const {
    std::vector<std::string> out;
    for (const Entry& e : entries) out.push_back(e.name);
    std::sort(out.begin(), out.end(), NoCaseLess());
    return out;
}

namespace {

SimWindow* lookUp(std::uintptr_t id) {
    auto& t = table();
    auto it = t.find(id);
    return it == t.end() ? nullptr : it->second.get();
}

}  // namespace

SimWindow* find(std::uintptr_t id) {
    LastFound& last = lastFound();
    if (id != 0 && id == last.id) return last.window;
    SimWindow* w = lookUp(id);
    if (w) last = {id, w};
    return w;
}

SimWindow* find(Window window) { return find(toId(window)); }

std::vector<std::uintptr_t> topLevels() {
    std::vector<std::uintptr_t> ids;
    for (const auto& [id, w] : table())
        if (!w->parent) ids.push_back(id);
    std::sort(ids.begin(), ids.end());  // oldest first
    return ids;
}

InputState& input() {
    static InputState state;
    return state;
}

Point clientOrigin(const SimWindow& w) {
    Point p{w.rect.left, w.rect.top};
    // Past the cache: the walk up would push out the window asked about.
    for (const SimWindow* up = lookUp(w.parent); up; up = lookUp(up->parent)) {
        p.x += up->rect.left;
        p.y += up->rect.top;
    }
    return p;
}

LResult deliver(SimWindow& w, unsigned msg, WParam wParam, LParam lParam) {
    return w.proc(toHandle(w.id), msg, wParam, lParam);
}

void resizeSurface(SimWindow& w, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == w.surfaceWidth && height == w.surfaceHeight) return;
    // The old content survives a resize; new area starts white. Without
    // memory for it the old surface stays, as a failed bitmap leaves it.
    std::vector<std::uint32_t> next;
    try {
        next.assign(static_cast<std::size_t>(width) * height, 0xFFFFFFu);
    } catch (const std::bad_alloc&) {
        return;  // kept: the system's own procedure, which never throws
    }
    for (int y = 0; y < std::min(height, w.surfaceHeight); ++y)
        for (int x = 0; x < std::min(width, w.surfaceWidth); ++x)
            next[static_cast<std::size_t>(y) * width + x] =
                w.surface[static_cast<std::size_t>(y) * w.surfaceWidth + x];
    w.surface = std::move(next);
    w.surfaceWidth = width;
    w.surfaceHeight = height;
    w.resizedSincePresent = true;
}

}  // namespace vb::sim::detail

namespace vb::platform {

using namespace vb::sim::detail;

Window createWindow(Window parent, const Rect& rect, WindowKind kind) {
    if (!find(parent)) return nullptr;
    if (kind == WindowKind::Canvas)
        return create(toId(parent), rect, Kind::Canvas, canvasProc, 0xFFFFFF, true);
    return create(toId(parent), rect, Kind::Container, nullptr, 0xFFFFFF, false);
}

bool setCanvasInput(Window canvas, WindowProc input) {
    if (!isOurWindow(canvas, WindowKind::Canvas)) return false;
    find(canvas)->canvasInput = input;
    return true;
}

bool destroyWindow(Window window) {
    if (!find(window)) return false;
    destroyTree(toId(window));
    return true;
}

bool isWindow(Window window) { return find(window) != nullptr; }

bool isOurWindow(Window window, WindowKind kind) {
    SimWindow* w = find(window);
    return w && w->kind == (kind == WindowKind::Canvas ? Kind::Canvas : Kind::Container);
}

Window parentOf(Window window) {
    SimWindow* w = find(window);
    return w && w->parent ? toHandle(w->parent) : nullptr;
}

bool clientRect(Window window, Rect* out) {
    SimWindow* w = find(window);
    if (!w || !out) return false;
    *out = Rect{0, 0, w->rect.width(), w->rect.height()};
    return true;
}

bool windowRect(Window window, Rect* out) {
    SimWindow* w = find(window);
    if (!w || !out) return false;
    Point o = clientOrigin(*w);
    *out = Rect{o.x, o.y, o.x + w->rect.width(), o.y + w->rect.height()};
    return true;
}

bool moveWindow(Window window, int x, int y, int width, int height) {
    SimWindow* w = find(window);
    if (!w) return false;
    width = std::max(width, 0);
    height = std::max(height, 0);
    bool moved = x != w->rect.left || y != w->rect.top;
    bool sized = width != w->rect.width() || height != w->rect.height();
    w->rect = Rect{x, y, x + width, y + height};
    std::uintptr_t id = w->id;
    if (moved) deliver(*w, wm::Move, 0, packSize(x, y));
    if (sized && (w = find(id))) deliver(*w, wm::Size, 0, packSize(width, height));
    return true;
}

Point screenToClient(Window window, Point screen) {
    SimWindow* w = find(window);
    if (!w) return screen;
    Point o = clientOrigin(*w);
    return Point{screen.x - o.x, screen.y - o.y};
}

void setBackgroundColor(Window container, std::uint32_t color) {
    if (SimWindow* w = find(container)) w->fill = color & 0xFFFFFF;
}

void invalidate(Window) {}  // the stand-in shows state directly; nothing to repaint later

bool setProperty(Window window, const char* name, void* value) {
    SimWindow* w = find(window);
    if (!w || !name) return false;
    w->properties.set(name, value);
    return true;
}

void* property(Window window, const char* name) {
    SimWindow* w = find(window);
    if (!w || !name) return nullptr;
    PropertyList::Entry* entry = w->properties.find(name);
    return entry ? entry->value : nullptr;
}

void* removeProperty(Window window, const char* name) {
    SimWindow* w = find(window);
    return w && name ? w->properties.remove(name) : nullptr;
}

WindowProc replaceWindowProc(Window window, WindowProc proc) {
    SimWindow* w = find(window);
    if (!w || !proc) return nullptr;
    WindowProc previous = w->proc;
    w->proc = proc;
    return previous;
}

LResult callWindowProc(WindowProc previous, Window window, unsigned msg, WParam wParam, LParam lParam) {
    if (!previous) return defaultWindowProc(window, msg, wParam, lParam);
    return previous(window, msg, wParam, lParam);
}

LResult defaultWindowProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    SimWindow* w = find(window);
    if (!w) return 0;
    if (msg == wm::SetCursor) {
        // The parent gets the first say, then the class cursor (the arrow).
        if (SimWindow* p = find(w->parent))
            if (deliver(*p, msg, wParam, lParam)) return 1;
        setCursor(systemCursor(idc::Arrow));
        return 0;
    }
    if (msg == wm::MouseActivate) return 1;  // MA_ACTIVATE
    return 0;
}

LResult sendMessage(Window window, unsigned msg, WParam wParam, LParam lParam) {
    SimWindow* w = find(window);
    return w ? deliver(*w, msg, wParam, lParam) : 0;
}

namespace {
int startupCount = 0;
}  // namespace

// Counted, so a test can see that the plug-in prepares the layer once.
void startup() { ++startupCount; }

void shutdown() {}

void keepModuleLoaded(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return;
    // Taking one more reference that is never given back, and marking the
    // object never to be unloaded.
    dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace vb::platform

namespace vb::sim {

int platformStartups() { return platform::startupCount; }

using namespace vb::sim::detail;

Window createTopLevel(const Rect& rect, std::uint32_t fill, WindowProc proc) {
    return create(0, rect, Kind::TopLevel, proc, fill, false);
}

Window createChild(Window parent, const Rect& rect, std::uint32_t fill, WindowProc proc, bool doubleClicks) {
    if (!find(parent)) return nullptr;
    return create(toId(parent), rect, Kind::Plain, proc, fill, doubleClicks);
}

std::size_t liveWindowCount() { return table().size(); }

}  // namespace vb::sim

namespace vb::platform::driver {

using namespace vb::sim;
using namespace vb::sim::detail;

std::vector<Window> children(Window window) {
    std::vector<Window> out;
    if (SimWindow* w = find(window))
        for (std::uintptr_t id : w->children) out.push_back(toHandle(id));
    return out;
}

std::vector<std::string> propertyNames(Window window) {
    std::vector<std::string> names;
    if (SimWindow* w = find(window)) names = w->properties.names();
    return names;
}

}  // namespace vb::platform::driver
