#include "events/window_procs.h"

#include "control/accessible.h"
#include "control/bar_control.h"
#include "control/previous_procs.h"
#include "control/window_properties.h"
#include "events/canvas_input.h"
#include "events/deferred.h"

namespace vb::events {

using namespace vb::control;
using namespace vb::platform;

namespace {

// A released bar is freed once no event callback is running, since one of
// them may be inside this bar's own message handling.
void releaseWhenIdle(BarControl* bar) {
    RunWhenIdle([bar] {
        if (IsLiveControl(bar)) bar->Methods->Free(bar);
    });
}

// The host window's "Container", when it is a container we made on it.
Window ourContainer(Window host) {
    auto container = static_cast<Window>(property(host, prop::kContainer));
    return IsContainerOf(container, host) ? container : nullptr;
}

// The bar our container shows, when the container's "iObject" names it.
BarControl* barOfContainer(Window container) {
    auto* bar = static_cast<BarControl*>(property(container, prop::kControl));
    if (!IsLiveControl(bar) || parentOf(bar->Canvas) != container) return nullptr;
    return bar;
}

void followHostSize(Window window) {
    Rect client;
    if (!clientRect(window, &client)) return;
    Window container = ourContainer(window);
    if (!container) return;
    moveWindow(container, 0, 0, client.width(), client.height());
    BarControl* bar = ControlOnWindow(window);
    if (bar && parentOf(bar->Canvas) == container)
        bar->Methods->Resize(bar, 0, 0, client.width(), client.height(), 1);
}

void detachContainer(Window window) {
    BarControl* bar = barOfContainer(window);
    RestorePreviousProc(window);
    if (bar) {
        Window canvas = bar->Methods->GetCanvasHandle(bar);
        removeProperty(canvas, prop::kObjectName);
        removeProperty(canvas, prop::kLuaState);
        removeProperty(canvas, prop::kControl);
    }
    removeProperty(window, prop::kObjectName);
    removeProperty(window, prop::kLuaState);
    removeProperty(window, prop::kOldContainerProc);
    removeProperty(window, prop::kControl);
    if (bar) {
        // The host window may outlive its container: it must not keep
        // naming a bar that is about to be released. The name copy goes
        // with the bar.
        Window host = parentOf(window);
        if (property(host, prop::kControl) == bar) removeProperty(host, prop::kControl);
        if (property(host, prop::kContainer) == window) removeProperty(host, prop::kContainer);
        releaseWhenIdle(bar);
    }
}

}  // namespace

bool AttachBar(lua_State* L, Window host, Window container, BarControl* bar, const char* name,
               std::uint32_t backgroundColor) {
    bar->ObjectName = name;
    bar->LuaState = L;
    // The procedures we replace are kept in our own record: the
    // properties below are for the host to read, and anyone may write them.
    WindowProc previousHost = SubclassWindow(host, HostWindowProc);
    WindowProc previousContainer = SubclassWindow(container, ContainerWindowProc);
    if (!previousHost || !previousContainer) return false;

    setProperty(host, prop::kControl, bar);
    setProperty(host, prop::kContainer, container);
    setBackgroundColor(container, backgroundColor);
    setProperty(host, prop::kOldHostProc, reinterpret_cast<void*>(previousHost));
    setProperty(container, prop::kOldContainerProc, reinterpret_cast<void*>(previousContainer));
    Window canvas = bar->Methods->GetCanvasHandle(bar);
    setCanvasInput(canvas, CanvasInputProc);
    void* nameCopy = const_cast<char*>(bar->ObjectName.c_str());
    for (Window w : {container, canvas}) {
        setProperty(w, prop::kObjectName, nameCopy);
        setProperty(w, prop::kLuaState, L);
        setProperty(w, prop::kControl, bar);
    }
    return true;
}

bool IsContainerOf(Window container, Window host) {
    return container && isOurWindow(container, WindowKind::Container) && parentOf(container) == host;
}

// Window procedures are a boundary: nothing thrown below leaves them, and
// the procedure we replaced sees every message whatever happened here.
LResult VB_CALLBACK HostWindowProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    WindowProc previous = PreviousProc(window);
    try {
        if (msg == wm::Size) {
            followHostSize(window);
        } else if (msg == wm::GetObject) {
            // The covered host control would answer with its own, stale
            // value: a screen reader asking the host object hears the bar.
            bool handled = false;
            LResult object = AnswerAccessibleQuery(window, ControlOnWindow(window), wParam, lParam, &handled);
            if (handled) return object;
        }
    } catch (...) {}
    if (msg == wm::Destroy) {
        RestorePreviousProc(window);
        removeProperty(window, prop::kOldHostProc);
        removeProperty(window, prop::kContainer);
        removeProperty(window, prop::kControl);
    }
    return callWindowProc(previous, window, msg, wParam, lParam);
}

LResult VB_CALLBACK ContainerWindowProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    LResult result = callWindowProc(PreviousProc(window), window, msg, wParam, lParam);
    if (msg != wm::Destroy) return result;
    try {
        detachContainer(window);
    } catch (...) {}
    return result;
}

}  // namespace vb::events
