// Input state of the stand-in: message position, buttons, capture, focus,
// cursors.
#include <cstdlib>

#include "platform/sim/sim.h"
#include "platform/sim/state.h"

namespace vb::platform {

using namespace vb::sim::detail;

Point messagePos() { return input().messagePos; }

short keyState(int virtualKey) {
    unsigned bit = virtualKey == vk::LButton   ? 1u
                   : virtualKey == vk::RButton ? 2u
                   : virtualKey == vk::MButton ? 4u
                                               : 0u;
    return (input().buttons & bit) ? static_cast<short>(0x8000) : 0;
}

void setCapture(Window window) {
    if (find(window)) input().capture = toId(window);
}

// Ending a capture makes the system send a move at the pointer, as if the
// mouse had moved where it is, so the window under it can set its cursor
// and start its tracking; it arrives after the message being handled.
void releaseCapture() {
    InputState& in = input();
    if (in.capture) in.moveOwed = true;
    in.capture = 0;
}

Window captureWindow() { return input().capture ? toHandle(input().capture) : nullptr; }

void trackMouseLeave(Window window) {
    if (SimWindow* w = find(window)) w->trackingLeave = true;
}

Cursor systemCursor(int idcId) {
    if (!idc::isKnown(idcId)) return nullptr;
    return reinterpret_cast<Cursor>(static_cast<std::uintptr_t>(idcId));
}

void setCursor(Cursor cursor) { input().cursor = cursor; }

void setFocus(Window window) {
    InputState& in = input();
    std::uintptr_t next = find(window) ? toId(window) : 0;
    if (next == in.focus) return;
    std::uintptr_t previous = in.focus;
    in.focus = next;
    if (SimWindow* old = find(previous)) deliver(*old, wm::KillFocus, next, 0);
    if (SimWindow* now = find(next)) deliver(*now, wm::SetFocus, previous, 0);
}

Window focusWindow() { return input().focus ? toHandle(input().focus) : nullptr; }

}  // namespace vb::platform

namespace vb::sim {

using platform::driver::Button;
using platform::driver::windowAt;

using namespace vb::sim::detail;

namespace {

// Windows' defaults: 500 ms between the presses, within a 4 x 4 pixel box.
constexpr long long kDoubleClickMs = 500;
constexpr int kDoubleClickHalfBox = 2;

LParam packPoint(int x, int y) {
    return static_cast<LParam>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(x & 0xFFFF));
}

WParam keyFlags() {
    InputState& in = input();
    WParam flags = 0;
    if (in.buttons & 1) flags |= 0x0001;  // MK_LBUTTON
    if (in.buttons & 2) flags |= 0x0002;  // MK_RBUTTON
    if (in.buttons & 4) flags |= 0x0010;  // MK_MBUTTON
    return flags;
}

// The window mouse messages go to: the capture, else the one under the pointer.
std::uintptr_t mouseTarget() {
    InputState& in = input();
    if (find(in.capture)) return in.capture;
    return toId(windowAt(in.pointer.x, in.pointer.y));
}

void sendToClient(std::uintptr_t id, unsigned msg, WParam wParam) {
    SimWindow* w = find(id);
    if (!w) return;
    Point o = clientOrigin(*w);
    InputState& in = input();
    in.messagePos = in.pointer;
    deliver(*w, msg, wParam, packPoint(in.pointer.x - o.x, in.pointer.y - o.y));
}

// Leave tracking ends when the pointer is no longer over the window.
void checkLeave(std::uintptr_t under) {
    InputState& in = input();
    if (in.hover && in.hover != under) {
        if (SimWindow* old = find(in.hover); old && old->trackingLeave) {
            old->trackingLeave = false;
            in.messagePos = in.pointer;
            deliver(*old, wm::MouseLeave, 0, 0);
        }
    }
    in.hover = under;
}

unsigned buttonBit(Button b) { return b == Button::Left ? 1u : b == Button::Right ? 2u : 4u; }

unsigned downMessage(Button b) {
    return b == Button::Left ? wm::LButtonDown : b == Button::Right ? wm::RButtonDown : wm::MButtonDown;
}

// Before each mouse message, while no window holds the capture, the window
// under the pointer is asked to set the cursor, told which message follows.
void askForCursor(unsigned mouseMsg) {
    InputState& in = input();
    if (find(in.capture)) return;
    std::uintptr_t under = toId(windowAt(in.pointer.x, in.pointer.y));
    if (SimWindow* w = find(under)) {
        in.messagePos = in.pointer;
        deliver(*w, wm::SetCursor, under, 1 | (static_cast<LParam>(mouseMsg) << 16));
    }
}

// The window the pointer left hears of it after the move that took the
// pointer elsewhere, as the system posts the leave while it hands that move
// out; a window holding the capture is left too.
void moveTo(int screenX, int screenY) {
    InputState& in = input();
    in.pointer = Point{screenX, screenY};
    std::uintptr_t under = toId(windowAt(screenX, screenY));
    askForCursor(wm::MouseMove);
    sendToClient(mouseTarget(), wm::MouseMove, keyFlags());
    checkLeave(under);
}

// The moves owed for released captures, once the input that released them
// has been handled. A procedure that takes and ends a capture on every move
// would be owed moves without end; a few are enough for any other.
void deliverOwedMoves() {
    InputState& in = input();
    for (int i = 0; in.moveOwed && i < 16; ++i) {
        in.moveOwed = false;
        moveTo(in.pointer.x, in.pointer.y);
    }
    in.moveOwed = false;
}

void pressOrRelease(Button button, bool down, int screenX, int screenY) {
    InputState& in = input();
    if (in.pointer.x != screenX || in.pointer.y != screenY) moveTo(screenX, screenY);
    unsigned bit = buttonBit(button);
    std::uintptr_t target = mouseTarget();
    if (!down) {
        in.buttons &= ~bit;
        askForCursor(downMessage(button) + 1);
        sendToClient(target, downMessage(button) + 1, keyFlags());
        return;
    }
    in.buttons |= bit;
    unsigned msg = downMessage(button);
    SimWindow* w = find(target);
    bool isDouble = w && w->doubleClicks && in.lastDownWindow == target && in.lastDownMsg == msg &&
                    in.clockMs - in.lastDownTime <= kDoubleClickMs &&
                    std::abs(in.pointer.x - in.lastDownPos.x) <= kDoubleClickHalfBox &&
                    std::abs(in.pointer.y - in.lastDownPos.y) <= kDoubleClickHalfBox;
    askForCursor(isDouble ? msg + 2 : msg);
    if (isDouble) {
        // A third press starts over rather than making another double click.
        in.lastDownWindow = 0;
        sendToClient(target, msg + 2, keyFlags());
    } else {
        in.lastDownWindow = target;
        in.lastDownMsg = msg;
        in.lastDownTime = in.clockMs;
        in.lastDownPos = in.pointer;
        sendToClient(target, msg, keyFlags());
    }
}

}  // namespace

platform::Cursor shownCursor(bool* hidden) {
    if (hidden) *hidden = input().cursor == nullptr;
    return input().cursor;
}

const char* cursorName(platform::Cursor cursor) {
    switch (reinterpret_cast<std::uintptr_t>(cursor)) {
        case idc::Arrow:
            return "arrow";
        case idc::Cross:
            return "cross";
        case idc::IBeam:
            return "ibeam";
        case idc::Hand:
            return "hand";
        case idc::Wait:
            return "wait";
        case idc::No:
            return "no";
        case idc::SizeAll:
            return "sizeall";
        case idc::SizeWE:
            return "sizewe";
        case idc::SizeNS:
            return "sizens";
        case idc::SizeNWSE:
            return "sizenwse";
        case idc::SizeNESW:
            return "sizenesw";
        default:
            return nullptr;
    }
}

}  // namespace vb::sim

namespace vb::platform::driver {

using namespace vb::sim;
using namespace vb::sim::detail;

void mouseMove(int screenX, int screenY) {
    deliverOwedMoves();
    moveTo(screenX, screenY);
    deliverOwedMoves();
}

void mouseButton(Button button, bool down, int screenX, int screenY) {
    deliverOwedMoves();
    pressOrRelease(button, down, screenX, screenY);
    deliverOwedMoves();
}

void mouseWheel(int delta) {
    deliverOwedMoves();
    InputState& in = input();
    SimWindow* w = find(mouseTarget());
    if (!w) return;
    in.messagePos = in.pointer;
    WParam wParam = (static_cast<WParam>(static_cast<std::uint16_t>(delta)) << 16) | keyFlags();
    deliver(*w, wm::MouseWheel, wParam, packPoint(in.pointer.x, in.pointer.y));
}

void keyDown(int virtualKey) {
    if (SimWindow* w = find(input().focus)) {
        input().messagePos = input().pointer;
        deliver(*w, wm::KeyDown, static_cast<WParam>(virtualKey), 1);
    }
}

void keyUp(int virtualKey) {
    if (SimWindow* w = find(input().focus)) {
        input().messagePos = input().pointer;
        deliver(*w, wm::KeyUp, static_cast<WParam>(virtualKey), static_cast<LParam>(0xC0000001u));
    }
}

void character(int code) {
    if (SimWindow* w = find(input().focus)) {
        input().messagePos = input().pointer;
        deliver(*w, wm::Char, static_cast<WParam>(code), 1);
    }
}

void advanceClock(int milliseconds) {
    deliverOwedMoves();
    if (milliseconds > 0) runTimersUntil(input().clockMs + milliseconds);
}

int timerCount(Window window) { return timerCountOf(toId(window)); }

}  // namespace vb::platform::driver
