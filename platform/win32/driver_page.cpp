// The test driver's page and host objects on real windows: the page is a
// top-level window, objects are real progress, edit and button controls.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// These need <windows.h> first.
#include <commctrl.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/driver_shared.h"

namespace vb::platform::driver {
namespace detail {

namespace {

constexpr const char* kPageClass = "VelumbarHostPage";

// Properties a control class puts on its own window when it is made (Wine's
// theming leaves "ux_theme" on progress bars): the system's, not something
// a plug-in set, so the bench leaves them out of what it reports.
std::map<HWND, std::vector<std::string>>& ownProperties() {
    static std::map<HWND, std::vector<std::string>> names;
    return names;
}

std::vector<std::string> allPropertyNames(HWND window);

LRESULT CALLBACK pageProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY && GetPropA(window, "VelumbarShown")) PostQuitMessage(0);
    if (msg == WM_ERASEBKGND || msg == WM_PRINTCLIENT) {
        RECT r;
        GetClientRect(window, &r);
        win32::UniqueBrush brush(
            CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA))));
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush.get());
        return msg == WM_ERASEBKGND ? 1 : 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

LRESULT CALLBACK onSentMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && !changes().composing) ++changes().count;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A menu (an edit control's context menu, say) runs a modal loop of its own
// that would wait for a user; the bench closes it from a timer that loop
// dispatches. A page shown for trying by hand stops the timer.
UINT_PTR& menuCloser() {
    static UINT_PTR timer = 0;
    return timer;
}

void CALLBACK closeMenus(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

}  // namespace

Changes& changes() {
    static Changes state;
    return state;
}

void prepare() {
    static bool done = false;
    if (done) return;
    done = true;
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = pageProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPageClass;
    RegisterClassExA(&wc);
    SetWindowsHookExA(WH_CALLWNDPROC, onSentMessage, nullptr, GetCurrentThreadId());
    menuCloser() = SetTimer(nullptr, 0, 20, closeMenus);
}

std::set<std::pair<HWND, UINT_PTR>>& timersSeen() {
    static std::set<std::pair<HWND, UINT_PTR>> seen;
    return seen;
}

void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        bool ownTimer = msg.message == WM_TIMER && !msg.hwnd && msg.wParam == menuCloser();
        if (!ownTimer) ++changes().count;
        if (msg.message == WM_TIMER && msg.hwnd) timersSeen().insert({msg.hwnd, msg.wParam});
        DispatchMessageA(&msg);
    }
}

std::vector<HWND>& topLevels() {
    static std::vector<HWND> made;  // oldest first, so the last is on top
    return made;
}

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> out;  // GW_CHILD is the top of the z-order
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    std::reverse(out.begin(), out.end());
    return out;
}

bool contains(HWND window, int x, int y) {
    RECT r;
    return IsWindowVisible(window) && GetWindowRect(window, &r) && x >= r.left && y >= r.top && x < r.right &&
           y < r.bottom;
}

HWND topLevelAt(int x, int y) {
    auto& all = topLevels();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (IsWindow(*it) && contains(*it, x, y)) return *it;
    return nullptr;
}

}  // namespace detail

using namespace detail;

const char* backendName() { return "win32"; }

Window createTopLevel(const Rect& rect, std::uint32_t fill) {
    prepare();
    listenForEvents();
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, kPageClass, "velumbar-host",
                                  WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect.left + kScreenMargin,
                                  rect.top + kScreenMargin, rect.width(), rect.height(), nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) return nullptr;
    // COLORREF is red in the low byte, as our colours are.
    SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(fill & 0xFFFFFF));
    topLevels().push_back(window);
    pump();
    return handle(window);
}

Window createObjectWindow(Window parent, const Rect& rect, ObjectClass cls, std::uint32_t, WindowProc logger,
                          WindowProc* previous) {
    const char* className = cls == ObjectClass::Progress ? PROGRESS_CLASSA
                            : cls == ObjectClass::Input  ? "EDIT"
                                                         : "BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (cls == ObjectClass::Input) style |= WS_BORDER | ES_AUTOHSCROLL;
    if (cls == ObjectClass::Button) style |= BS_PUSHBUTTON;
    HWND window = CreateWindowExA(0, className, "", style, rect.left, rect.top, rect.width(), rect.height(),
                                  hwnd(parent), nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window) return nullptr;
    ownProperties()[window] = allPropertyNames(window);
    *previous = platform::replaceWindowProc(handle(window), logger);
    return handle(window);
}

std::vector<Window> children(Window window) {
    std::vector<Window> out;
    if (IsWindow(hwnd(window)))
        for (HWND c : childrenOf(hwnd(window))) out.push_back(handle(c));
    return out;
}

namespace detail {
namespace {

BOOL CALLBACK collectPropertyName(HWND, LPSTR name, HANDLE, ULONG_PTR data) {
    auto* out = reinterpret_cast<std::vector<std::string>*>(data);
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) == 0) {
        char text[256] = "";
        if (GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name)), text, sizeof text))
            out->push_back(text);
    } else {
        out->push_back(name);
    }
    return TRUE;
}

std::vector<std::string> allPropertyNames(HWND window) {
    std::vector<std::string> names;
    EnumPropsExA(window, collectPropertyName, reinterpret_cast<LPARAM>(&names));
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

}  // namespace
}  // namespace detail

std::vector<std::string> propertyNames(Window window) {
    std::vector<std::string> names;
    if (!IsWindow(hwnd(window))) return names;
    names = allPropertyNames(hwnd(window));
    auto own = ownProperties().find(hwnd(window));
    if (own == ownProperties().end()) return names;
    std::erase_if(names, [&](const std::string& name) {
        return std::find(own->second.begin(), own->second.end(), name) != own->second.end();
    });
    return names;
}

void showWindow(Window window, bool visible) {
    if (IsWindow(hwnd(window))) ShowWindow(hwnd(window), visible ? SW_SHOWNA : SW_HIDE);
    pump();
}

void enableWindow(Window window, bool enabled) {
    if (IsWindow(hwnd(window))) EnableWindow(hwnd(window), enabled);
    pump();
}

bool canShow() { return true; }

void showUntilClosed(Window page) {
    HWND window = hwnd(page);
    if (!IsWindow(window)) return;
    if (menuCloser()) KillTimer(nullptr, menuCloser());
    menuCloser() = 0;
    // A caption and a frame round the same client area.
    RECT client;
    GetWindowRect(window, &client);
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_VISIBLE;
    RECT frame = client;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrA(window, GWL_EXSTYLE, 0);
    SetPropA(window, "VelumbarShown", reinterpret_cast<HANDLE>(1));
    SetWindowPos(window, HWND_TOP, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    SetWindowTextA(window, "velumbar-host");
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace vb::platform::driver
