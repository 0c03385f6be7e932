#include "control/window_procs.h"

#include "control/accessible.h"
#include "control/bar_control.h"
#include "control/deferred.h"
#include "control/window_properties.h"

namespace vb::control {

using namespace vb::platform;

namespace {

WindowProc storedProc(Window window, const char* name) {
    return reinterpret_cast<WindowProc>(property(window, name));
}

// A released bar is freed once no event callback is running, since one of
// them may be inside this bar's own message handling.
void releaseWhenIdle(BarControl* bar) {
    RunWhenIdle([bar] {
        if (IsLiveControl(bar)) bar->Methods->Free(bar);
    });
}

}  // namespace

LResult VB_CALLBACK HostWindowProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    // Read before WM_DESTROY removes it, so the host's own procedure still
    // sees every message.
    WindowProc previous = storedProc(window, prop::kOldHostProc);
    if (msg == wm::Size) {
        Rect client;
        if (clientRect(window, &client)) {
            auto container = static_cast<Window>(property(window, prop::kContainer));
            BarControl* bar = ControlOnWindow(window);
            if (isWindow(container)) {
                moveWindow(container, 0, 0, client.width(), client.height());
                if (bar) bar->Methods->Resize(bar, 0, 0, client.width(), client.height(), 1);
            }
        }
    } else if (msg == wm::GetObject) {
        // The covered host control would answer with its own, stale value:
        // a screen reader asking the host object hears the bar instead.
        bool handled = false;
        LResult object = AnswerAccessibleQuery(window, ControlOnWindow(window), wParam, lParam, &handled);
        if (handled) return object;
    } else if (msg == wm::Destroy) {
        if (previous) replaceWindowProc(window, previous);
        removeProperty(window, prop::kOldHostProc);
        removeProperty(window, prop::kContainer);
        removeProperty(window, prop::kControl);
    }
    return callWindowProc(previous, window, msg, wParam, lParam);
}

LResult VB_CALLBACK ContainerWindowProc(Window window, unsigned msg, WParam wParam, LParam lParam) {
    WindowProc previous = storedProc(window, prop::kOldContainerProc);
    LResult result = callWindowProc(previous, window, msg, wParam, lParam);
    if (msg != wm::Destroy) return result;

    auto* name = static_cast<char*>(property(window, prop::kObjectName));
    auto* bar = static_cast<BarControl*>(property(window, prop::kControl));
    if (previous) replaceWindowProc(window, previous);
    delete[] name;
    if (IsLiveControl(bar)) {
        Window canvas = bar->Methods->GetCanvasHandle(bar);
        removeProperty(canvas, prop::kObjectName);
        removeProperty(canvas, prop::kLuaState);
        removeProperty(canvas, prop::kControl);
    }
    removeProperty(window, prop::kObjectName);
    removeProperty(window, prop::kLuaState);
    removeProperty(window, prop::kOldContainerProc);
    removeProperty(window, prop::kControl);
    if (IsLiveControl(bar)) {
        // The host window may outlive its container: it must not keep
        // naming a bar that is about to be released.
        Window host = parentOf(window);
        if (property(host, prop::kControl) == bar) removeProperty(host, prop::kControl);
        if (property(host, prop::kContainer) == window) removeProperty(host, prop::kContainer);
        releaseWhenIdle(bar);
    }
    return result;
}

}  // namespace vb::control
