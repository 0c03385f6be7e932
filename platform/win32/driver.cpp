// The seam over real windows: the page is a top-level window, objects are
// real progress, edit and button controls. What the screen shows is read
// through WM_PRINTCLIENT, window by window in z-order, because a window DC
// has no pixels under a headless display driver. Input is sent as the
// system delivers it, screen readers' calls go through oleacc, and
// accessibility events arrive through a WinEvent hook.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// These need <windows.h> first.
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "platform/driver.h"
#include "platform/win32/win32.h"

namespace vb::platform::driver {

namespace {

constexpr const char* kPageClass = "VelumbarHostPage";
// Top-level windows sit this far from the screen's corner, so that points a
// little left of or above an object are still on the screen: the system
// keeps the cursor on it.
constexpr int kScreenMargin = 200;

using win32::handle;
using win32::hwnd;

// Properties a control class puts on its own window when it is made (Wine's
// theming leaves "ux_theme" on progress bars): the system's, not something
// a plug-in set, so the bench leaves them out of what it reports.
std::map<HWND, std::vector<std::string>>& ownProperties() {
    static std::map<HWND, std::vector<std::string>> names;
    return names;
}

std::vector<std::string> allPropertyNames(HWND window);

std::vector<HWND>& topLevels() {
    static std::vector<HWND> made;  // oldest first, so the last is on top
    return made;
}

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

// What the page shows is composed once and kept until a message could have
// changed it: every message posted or sent to this thread's windows, other
// than those composing sends, moves this count on.
struct Changes {
    unsigned long long count = 1;
    bool composing = false;
};

Changes& changes() {
    static Changes state;
    return state;
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

// No TranslateMessage: the bench sends characters itself, as scripts ask.
void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        bool ownTimer = msg.message == WM_TIMER && !msg.hwnd && msg.wParam == menuCloser();
        if (!ownTimer) ++changes().count;
        DispatchMessageA(&msg);
    }
}

// ---- pictures ---------------------------------------------------------------

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> out;  // GW_CHILD is the top of the z-order
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) out.push_back(c);
    std::reverse(out.begin(), out.end());
    return out;
}

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

// ---- input ------------------------------------------------------------------

// Pointer and buttons go in as the system's own input (SendInput), so the
// system decides which window gets each message: capture, leave tracking,
// set-cursor, double clicks, and the move it sends when a capture ends.
struct InputState {
    POINT pointer{-100000, -100000};
    long long waitedMs = 0;
    DWORD startTick = 0;
    bool started = false;
};

InputState& input() {
    static InputState state;
    return state;
}

// Input carries the bench's own clock as its time, which moves only by
// Host.Wait, as the stand-in's does: the system's double-click test then
// sees a slow machine never split a double click, and a wait always split
// one.
DWORD inputTime() {
    InputState& in = input();
    if (!in.started) {
        in.startTick = GetTickCount();
        in.started = true;
    }
    return in.startTick + static_cast<DWORD>(in.waitedMs);
}

// Absolute input is in 1/65536 of the screen, mapped back as
// coordinate * size / 65536 rounded down: the smallest value that maps back
// to exactly `pixel`.
LONG absolute(int pixel, int size) {
    if (size <= 0) return 0;
    long long scaled = (static_cast<long long>(pixel) * 65536 + size - 1) / size;
    return static_cast<LONG>(std::clamp<long long>(scaled, 0, 65535));
}

// One input event at the pointer; what it makes is delivered before this
// returns (a window procedure that ends a capture makes more input, which
// the same pump delivers).
void sendPointer(DWORD flags, DWORD data) {
    InputState& in = input();
    INPUT event{};
    event.type = INPUT_MOUSE;
    event.mi.dx = absolute(in.pointer.x, GetSystemMetrics(SM_CXSCREEN));
    event.mi.dy = absolute(in.pointer.y, GetSystemMetrics(SM_CYSCREEN));
    event.mi.mouseData = data;
    event.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    event.mi.time = inputTime();
    SendInput(1, &event, sizeof event);
    pump();
}

// Wine notices that the pointer left a tracked window on a timer of the
// hover time, unless the window it went to tracks the pointer itself;
// Windows posts that leave at once. The bench waits for it, up to a few
// hover times: a window the system still finds under the pointer (Wine's
// test differs from WindowFromPoint's, as with a capture) is not left.
void awaitLeave() {
    UINT hoverMs = 400;
    SystemParametersInfoA(SPI_GETMOUSEHOVERTIME, 0, &hoverMs, 0);
    const UINT limitMs = std::min(3 * hoverMs + 50, 1000u);
    for (UINT waited = 0; waited < limitMs; waited += 5) {
        TRACKMOUSEEVENT tracked{sizeof tracked, TME_QUERY, nullptr, 0};
        if (!TrackMouseEvent(&tracked) || !(tracked.dwFlags & TME_LEAVE) || !tracked.hwndTrack) return;
        if (tracked.hwndTrack == WindowFromPoint(input().pointer)) return;
        Sleep(5);
        pump();
    }
}

DWORD buttonFlag(Button b, bool down) {
    switch (b) {
        case Button::Left:
            return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        case Button::Right:
            return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
        default:
            return down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
    }
}

WPARAM keyFlags() {
    return (GetKeyState(VK_LBUTTON) < 0 ? MK_LBUTTON : 0) | (GetKeyState(VK_RBUTTON) < 0 ? MK_RBUTTON : 0) |
           (GetKeyState(VK_MBUTTON) < 0 ? MK_MBUTTON : 0);
}

HWND mouseTarget() {
    HWND capture = GetCapture();
    if (capture) return capture;
    return hwnd(windowAt(input().pointer.x, input().pointer.y));
}

// ---- accessibility ------------------------------------------------------------

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

void listenForEvents() {
    static HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                                onWinEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    (void)hook;
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

bool pixelAt(int x, int y, std::uint32_t* color) {
    HWND top = topLevelAt(x, y);
    if (!top) return false;
    const Composed& shown = render(top);
    RECT r;
    GetWindowRect(top, &r);
    int cx = x - r.left, cy = y - r.top;
    if (cx < 0 || cy < 0 || cx >= shown.width || cy >= shown.height || shown.pixels.empty()) return false;
    if (color) *color = shown.pixels[static_cast<std::size_t>(cy) * shown.width + cx];
    return true;
}

std::vector<std::uint32_t> renderWindow(Window window, int* width, int* height) {
    *width = *height = 0;
    if (!IsWindow(hwnd(window))) return {};
    const Composed& shown = render(hwnd(window));
    *width = shown.width;
    *height = shown.height;
    return shown.pixels;
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

void mouseMove(int x, int y) {
    input().pointer = POINT{x, y};
    sendPointer(0, 0);
    awaitLeave();
}

void mouseButton(Button button, bool down, int x, int y) {
    InputState& in = input();
    if (in.pointer.x != x || in.pointer.y != y) mouseMove(x, y);
    sendPointer(buttonFlag(button, down), 0);
}

// Posted to the window under the pointer (or the capture), as the stand-in
// does: where the system sends the wheel (the focus, or the window under the
// pointer) is a user setting on Windows.
void mouseWheel(int delta) {
    HWND target = mouseTarget();
    if (!target) return;
    WPARAM wParam = (static_cast<WPARAM>(static_cast<std::uint16_t>(delta)) << 16) | keyFlags();
    PostMessageA(target, WM_MOUSEWHEEL, wParam, MAKELPARAM(input().pointer.x, input().pointer.y));
    pump();
}

namespace {

// Keys are posted to the focus; the thread's key state is moved by hand, as
// real input would move it, so GetKeyState answers as on a desktop.
void setKeyHeld(int virtualKey, bool held) {
    BYTE keys[256];
    if (virtualKey < 0 || virtualKey > 255 || !GetKeyboardState(keys)) return;
    keys[virtualKey] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

void keyDown(int vk) {
    setKeyHeld(vk, true);
    if (HWND focus = GetFocus()) PostMessageA(focus, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
    pump();
}

void keyUp(int vk) {
    setKeyHeld(vk, false);
    if (HWND focus = GetFocus())
        PostMessageA(focus, WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
    pump();
}

void character(int code) {
    if (HWND focus = GetFocus()) PostMessageA(focus, WM_CHAR, static_cast<WPARAM>(code), 1);
    pump();
}

// Moves the bench's double-click clock by the whole amount; sleeps for real
// only a little of it (at most 50 ms), pumping messages meanwhile, so that
// what the system queued in that time is delivered.
void advanceClock(int ms) {
    if (ms <= 0) return;
    input().waitedMs += ms;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(std::min(ms, 50))) {
        pump();
        Sleep(5);
    }
    pump();
}

const char* cursorName() {
    HCURSOR shown = GetCursor();
    if (!shown) return nullptr;
    static const struct {
        LPCSTR id;
        const char* name;
    } kCursors[] = {{IDC_ARROW, "arrow"},       {IDC_CROSS, "cross"},      {IDC_IBEAM, "ibeam"},
                    {IDC_HAND, "hand"},         {IDC_WAIT, "wait"},        {IDC_NO, "no"},
                    {IDC_SIZEALL, "sizeall"},   {IDC_SIZEWE, "sizewe"},    {IDC_SIZENS, "sizens"},
                    {IDC_SIZENWSE, "sizenwse"}, {IDC_SIZENESW, "sizenesw"}};
    for (const auto& c : kCursors)
        if (LoadCursorA(nullptr, c.id) == shown) return c.name;
    return nullptr;
}

namespace {

struct TooltipSearch {
    HWND tool;
    std::string* text;
    bool found;
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
    if (s->text) *s->text = buffer.data();
    s->found = true;
    return FALSE;
}

}  // namespace

bool tooltipText(Window tool, std::string* text) {
    if (!IsWindow(hwnd(tool))) return false;
    TooltipSearch search{hwnd(tool), text, false};
    EnumThreadWindows(GetCurrentThreadId(), searchTooltip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void showWindow(Window window, bool visible) {
    if (IsWindow(hwnd(window))) ShowWindow(hwnd(window), visible ? SW_SHOWNA : SW_HIDE);
    pump();
}

void enableWindow(Window window, bool enabled) {
    if (IsWindow(hwnd(window))) EnableWindow(hwnd(window), enabled);
    pump();
}

// Only a window that answers WM_GETOBJECT itself counts: the system would
// otherwise make a standard object for any window.
bool queryAccessible(Window window, platform::AccessibleDescription* out) {
    HWND w = hwnd(window);
    if (!IsWindow(w)) return false;
    pump();
    LRESULT answer = SendMessageA(w, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
    if (answer <= 0) return false;
    win32::ComPtr<IAccessible> object;
    if (FAILED(ObjectFromLresult(answer, __uuidof(IAccessible), 0, reinterpret_cast<void**>(object.put()))) ||
        !object)
        return false;
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
    out->name = narrow(name);
    out->value = narrow(value);
    long bits = state.vt == VT_I4 ? state.lVal : 0;
    out->unavailable = (bits & STATE_SYSTEM_UNAVAILABLE) != 0;
    out->invisible = (bits & STATE_SYSTEM_INVISIBLE) != 0;
    out->location = pixels::Rect{static_cast<int>(left), static_cast<int>(top),
                                 static_cast<int>(left + width), static_cast<int>(top + height)};
    return ok;
}

std::vector<platform::AccessEvent> accessEvents(Window window) {
    pump();
    std::vector<platform::AccessEvent> out;
    for (const RaisedEvent& e : raisedEvents())
        if (std::find(e.chain.begin(), e.chain.end(), hwnd(window)) != e.chain.end()) out.push_back(e.event);
    return out;
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
