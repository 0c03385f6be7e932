// What a screen reader and a user see of bars, for the test driver: calls
// through oleacc, accessibility events through a WinEvent hook, and the
// tooltip texts of this thread's tooltip windows.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// These need <windows.h> first.
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/driver_shared.h"

namespace vb::platform::driver {

using namespace detail;

namespace {

struct RaisedEvent {
    std::vector<HWND> chain;  // the window and its ancestors when raised
    platform::AccessEvent event;
};

std::vector<RaisedEvent>& raisedEvents() {
    static std::vector<RaisedEvent> events;
    return events;
}

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object != OBJID_CLIENT || !window) return;
    RaisedEvent raised{{},
                       event == EVENT_OBJECT_NAMECHANGE ? platform::AccessEvent::NameChange
                                                        : platform::AccessEvent::ValueChange};
    for (HWND w = window; w; w = GetAncestor(w, GA_PARENT)) raised.chain.push_back(w);
    raisedEvents().push_back(std::move(raised));
}

std::string narrow(const win32::Bstr& owned) {
    BSTR text = owned.get();
    if (!text) return {};
    int length = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), nullptr, 0,
                                     nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), out.data(), length,
                            nullptr, nullptr);
    return out;
}

}  // namespace

void detail::listenForEvents() {
    static HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                                onWinEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    (void)hook;
}

namespace {

struct TooltipSearch {
    HWND tool;
    std::optional<std::string> text;
};

// Asks each tooltip window of this thread for the tool of the window.
BOOL CALLBACK searchTooltip(HWND candidate, LPARAM data) {
    auto* s = reinterpret_cast<TooltipSearch*>(data);
    char cls[64] = "";
    GetClassNameA(candidate, cls, sizeof cls);
    if (lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0) return TRUE;
    std::vector<char> buffer(4096, '\0');
    TTTOOLINFOA info{};
    info.cbSize = sizeof info;
    info.hwnd = GetParent(s->tool);
    info.uId = reinterpret_cast<UINT_PTR>(s->tool);
    info.lpszText = buffer.data();
    if (!SendMessageA(candidate, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info))) return TRUE;
    info.lpszText = buffer.data();
    SendMessageA(candidate, TTM_GETTEXTA, buffer.size(), reinterpret_cast<LPARAM>(&info));
    s->text = buffer.data();
    return FALSE;
}

}  // namespace

std::optional<std::string> tooltipText(Window tool) {
    if (!IsWindow(hwnd(tool))) return std::nullopt;
    TooltipSearch search{hwnd(tool), std::nullopt};
    EnumThreadWindows(GetCurrentThreadId(), searchTooltip, reinterpret_cast<LPARAM>(&search));
    return search.text;
}

// Only a window that answers WM_GETOBJECT itself counts: the system would
// otherwise make a standard object for any window.
std::optional<platform::AccessibleDescription> queryAccessible(Window window) {
    HWND w = hwnd(window);
    if (!IsWindow(w)) return std::nullopt;
    pump();
    LRESULT answer = SendMessageA(w, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    if (answer <= 0) return std::nullopt;
    win32::ComPtr<IAccessible> object;
    if (FAILED(ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(object.put()))) ||
        !object)
        return std::nullopt;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    win32::Bstr name, value;
    VARIANT state;
    VariantInit(&state);
    long left = 0, top = 0, width = 0, height = 0;
    bool ok = SUCCEEDED(object->get_accState(self, &state)) &&
              SUCCEEDED(object->accLocation(&left, &top, &width, &height, self));
    object->get_accName(self, name.put());
    object->get_accValue(self, value.put());
    if (!ok) return std::nullopt;
    platform::AccessibleDescription d;
    d.name = narrow(name);
    d.value = narrow(value);
    long bits = state.vt == VT_I4 ? state.lVal : 0;
    d.unavailable = (bits & STATE_SYSTEM_UNAVAILABLE) != 0;
    d.invisible = (bits & STATE_SYSTEM_INVISIBLE) != 0;
    d.busy = (bits & STATE_SYSTEM_BUSY) != 0;
    d.location = pixels::Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(left + width),
                              static_cast<int>(top + height)};
    return d;
}

std::vector<platform::AccessEvent> accessEvents(Window window) {
    pump();
    std::vector<platform::AccessEvent> out;
    for (const RaisedEvent& e : raisedEvents())
        if (std::find(e.chain.begin(), e.chain.end(), hwnd(window)) != e.chain.end()) out.push_back(e.event);
    return out;
}

}  // namespace vb::platform::driver
