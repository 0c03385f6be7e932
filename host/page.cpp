#include "host/page.h"

#include <algorithm>

#include "platform/driver.h"

namespace vb::host {

namespace {

constexpr std::uint32_t kPageColour = 0xF0F0F0;
constexpr std::uint32_t kProgressColour = 0xE6E6E6;
constexpr std::uint32_t kInputColour = 0xFFFFFF;
constexpr std::uint32_t kButtonColour = 0xE1E1E1;
constexpr int kMinPageWidth = 640;
constexpr int kMinPageHeight = 480;
constexpr int kMargin = 10;
constexpr int kDialogScreenX = 4000;  // the dialog sits apart from the page

// Messages each object's own window procedure received, by window; kept
// after the object is gone so scripts can still read them.
std::map<platform::Window, std::vector<unsigned>>& messageLog() {
    static std::map<platform::Window, std::vector<unsigned>> log;
    return log;
}

// Property names each object's window carried when its own procedure saw
// WM_DESTROY: what a plug-in left behind on the host's window.
std::map<platform::Window, std::vector<std::string>>& propertiesAtDestroy() {
    static std::map<platform::Window, std::vector<std::string>> names;
    return names;
}

// The procedure each object's window had before ours: the control's own
// on Windows, none (the default procedure) in the stand-in.
std::map<platform::Window, platform::WindowProc>& previousProcs() {
    static std::map<platform::Window, platform::WindowProc> procs;
    return procs;
}

platform::LResult VB_CALLBACK objectProc(platform::Window window, unsigned msg, platform::WParam wParam,
                                         platform::LParam lParam) {
    messageLog()[window].push_back(msg);
    if (msg == platform::wm::Destroy) propertiesAtDestroy()[window] = driver::propertyNames(window);
    auto previous = previousProcs().find(window);
    platform::WindowProc next = previous == previousProcs().end() ? nullptr : previous->second;
    return platform::callWindowProc(next, window, msg, wParam, lParam);
}

driver::ObjectClass classOf(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Progress:
            return driver::ObjectClass::Progress;
        case ObjectKind::Input:
            return driver::ObjectClass::Input;
        default:
            return driver::ObjectClass::Button;
    }
}

std::uint32_t colourOf(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Progress:
            return kProgressColour;
        case ObjectKind::Input:
            return kInputColour;
        default:
            return kButtonColour;
    }
}

}  // namespace

int ObjectTypeNumber(ObjectKind kind) {
    switch (kind) {
        case ObjectKind::Progress:
            return 11;
        case ObjectKind::Input:
            return 7;
        default:
            return 0;
    }
}

Page::Page() {
    page_ = driver::createTopLevel(pixels::Rect{0, 0, kMinPageWidth, kMinPageHeight}, kPageColour);
}

Page& Page::Current() {
    static Page page;
    return page;
}

platform::Window Page::surfaceFor(bool dialog) {
    if (!dialog) return page_;
    if (!platform::isWindow(dialog_))
        dialog_ = driver::createTopLevel(
            pixels::Rect{kDialogScreenX, 0, kDialogScreenX + kMinPageWidth, kMinPageHeight}, kPageColour);
    return dialog_;
}

// The page grows to hold every object with a margin round it.
void Page::fit(platform::Window surface, int right, int bottom) {
    pixels::Rect r;
    if (!platform::windowRect(surface, &r)) return;
    int width = std::max(r.width(), right + kMargin);
    int height = std::max(r.height(), bottom + kMargin);
    if (width != r.width() || height != r.height())
        platform::moveWindow(surface, r.left, r.top, width, height);
}

platform::Window Page::Add(ObjectKind kind, const std::string& name, bool dialog, int x, int y, int width,
                           int height) {
    auto& objects = dialog ? dialogObjects_ : pageObjects_;
    auto existing = objects.find(name);
    if (existing != objects.end() && platform::isWindow(existing->second.window)) return nullptr;
    platform::Window surface = surfaceFor(dialog);
    fit(surface, x + width, y + height);
    platform::WindowProc previous = nullptr;
    platform::Window window =
        driver::createObjectWindow(surface, pixels::Rect{x, y, x + width, y + height}, classOf(kind),
                                   colourOf(kind), objectProc, &previous);
    if (!window) return nullptr;
    previousProcs()[window] = previous;
    objects[name] = HostObject{name, kind, dialog, x, y, width, height, window};
    return window;
}

bool Page::Remove(const std::string& name) {
    for (auto* objects : {&pageObjects_, &dialogObjects_}) {
        auto it = objects->find(name);
        if (it == objects->end() || !platform::isWindow(it->second.window)) continue;
        platform::destroyWindow(it->second.window);
        return true;
    }
    return false;
}

bool Page::Resize(const std::string& name, int width, int height) {
    const HostObject* found = Find(name);
    if (!found) return false;
    auto& objects = found->dialog ? dialogObjects_ : pageObjects_;
    HostObject& object = objects[name];
    fit(surfaceFor(object.dialog), object.x + width, object.y + height);
    object.width = width;
    object.height = height;
    return platform::moveWindow(object.window, object.x, object.y, width, height);
}

const HostObject* Page::FindOn(const std::string& name, bool dialog) const {
    const auto& objects = dialog ? dialogObjects_ : pageObjects_;
    auto it = objects.find(name);
    if (it == objects.end() || !platform::isWindow(it->second.window)) return nullptr;
    return &it->second;
}

const HostObject* Page::Find(const std::string& name) const {
    const HostObject* object = FindOn(name, false);
    return object ? object : FindOn(name, true);
}

const std::vector<unsigned>* Page::Messages(const std::string& name) const {
    // The log outlives the window: a removed object still answers.
    for (const auto* objects : {&pageObjects_, &dialogObjects_}) {
        auto it = objects->find(name);
        if (it == objects->end()) continue;
        auto logged = messageLog().find(it->second.window);
        if (logged != messageLog().end()) return &logged->second;
    }
    return nullptr;
}

platform::Window Page::WindowOf(const std::string& name) const {
    if (const HostObject* live = Find(name)) return live->window;
    for (const auto* objects : {&pageObjects_, &dialogObjects_}) {
        auto it = objects->find(name);
        if (it != objects->end()) return it->second.window;
    }
    return nullptr;
}

std::vector<std::string> Page::Properties(const std::string& name) const {
    for (const auto* objects : {&pageObjects_, &dialogObjects_}) {
        auto it = objects->find(name);
        if (it == objects->end()) continue;
        if (platform::isWindow(it->second.window)) return driver::propertyNames(it->second.window);
        auto seen = propertiesAtDestroy().find(it->second.window);
        if (seen != propertiesAtDestroy().end()) return seen->second;
    }
    return {};
}

pixels::Point Page::Origin(const HostObject& object) const {
    pixels::Rect r;
    platform::windowRect(object.window, &r);
    return pixels::Point{r.left, r.top};
}

}  // namespace vb::host
