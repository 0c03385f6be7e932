// Input for the test driver, sent as the system delivers it.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>

#include "platform/win32/driver_shared.h"

namespace vb::platform::driver {

using namespace detail;

namespace {

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

}  // namespace

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

// Moves the bench's double-click clock by the whole amount and waits that
// long for real, pumping messages meanwhile, so that what the system queued
// in that time, timers among it, is delivered as a waiting host would.
void advanceClock(int ms) {
    if (ms <= 0) return;
    input().waitedMs += ms;
    timersSeen().clear();
    DWORD start = GetTickCount();
    for (;;) {
        pump();
        DWORD waited = GetTickCount() - start;
        if (waited >= static_cast<DWORD>(ms)) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms) - waited, QS_ALLINPUT);
    }
    pump();
}

int timerCount(Window window) {
    int count = 0;
    for (const auto& seen : timersSeen())
        if (seen.first == hwnd(window)) ++count;
    return count;
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

}  // namespace vb::platform::driver
