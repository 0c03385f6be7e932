#include "events/canvas_input.h"

#include "control/accessible.h"
#include "control/bar_control.h"
#include "control/canvas_state.h"
#include "control/motion.h"
#include "events/dispatcher.h"

namespace vb::events {

using namespace vb::platform;

namespace {

// One accumulator for the whole process: a partial notch left by one bar
// counts toward the next wheel message of any bar.
int wheelAccumulator = 0;
constexpr int kWheelNotch = 120;

unsigned heldButtons() {
    unsigned buttons = 0;
    if (keyState(vk::LButton) & kKeyHeld) buttons |= kLeftButtonBit;
    if (keyState(vk::RButton) & kKeyHeld) buttons |= kRightButtonBit;
    if (keyState(vk::MButton) & kKeyHeld) buttons |= kMiddleButtonBit;
    return buttons;
}

// Records the mouse and buttons at this message and dispatches at once; a
// nested event keeps its own record, so the outer one is untouched.
void raise(Window canvas, int code) {
    Point client = screenToClient(canvas, messagePos());
    Dispatch(canvas, EventData{code, client.x, client.y, heldButtons()});
}

struct ButtonMessage {
    unsigned bit;
    int downCode;
    int upCode;
    int clickCode;        // -1: none
    int doubleClickCode;  // -1: none
};

bool buttonOf(unsigned msg, ButtonMessage* out, bool* down, bool* doubleClick) {
    static constexpr ButtonMessage kLeft{1, kMouseLeftDown, kMouseLeftUp, kLeftClick, kLeftDoubleClick};
    static constexpr ButtonMessage kRight{2, kMouseRightDown, kMouseRightUp, kRightClick, kRightDoubleClick};
    static constexpr ButtonMessage kMiddle{4, kMouseMiddleDown, kMouseMiddleUp, -1, -1};
    *doubleClick = msg == wm::LButtonDblClk || msg == wm::RButtonDblClk || msg == wm::MButtonDblClk;
    switch (msg) {
        case wm::LButtonDown:
        case wm::LButtonDblClk:
            *out = kLeft;
            *down = true;
            return true;
        case wm::RButtonDown:
        case wm::RButtonDblClk:
            *out = kRight;
            *down = true;
            return true;
        case wm::MButtonDown:
        case wm::MButtonDblClk:
            *out = kMiddle;
            *down = true;
            return true;
        case wm::LButtonUp:
            *out = kLeft;
            *down = false;
            return true;
        case wm::RButtonUp:
            *out = kRight;
            *down = false;
            return true;
        case wm::MButtonUp:
            *out = kMiddle;
            *down = false;
            return true;
        default:
            return false;
    }
}

void buttonPressed(Window canvas, const ButtonMessage& button, bool doubleClick) {
    if (heldButtons() == button.bit) setCapture(canvas);
    raise(canvas, button.downCode);
    if (doubleClick && button.doubleClickCode >= 0) raise(canvas, button.doubleClickCode);
}

void buttonReleased(Window canvas, const ButtonMessage& button, LParam lParam) {
    int x = static_cast<short>(lParam & 0xFFFF);
    int y = static_cast<short>((lParam >> 16) & 0xFFFF);
    Rect r;
    bool inside = windowRect(canvas, &r) && x >= 0 && x < r.width() && y >= 0 && y < r.height();
    if (heldButtons() == 0) releaseCapture();
    raise(canvas, button.upCode);
    if (inside && button.clickCode >= 0) raise(canvas, button.clickCode);
}

LResult canvasMessage(Window canvas, unsigned msg, WParam wParam, LParam lParam) {
    ButtonMessage button{};
    bool down = false, doubleClick = false;
    if (buttonOf(msg, &button, &down, &doubleClick)) {
        if (down)
            buttonPressed(canvas, button, doubleClick);
        else
            buttonReleased(canvas, button, lParam);
        return 0;
    }
    switch (msg) {
        case wm::MouseMove: {
            control::CanvasState* state = control::FindCanvasState(canvas);
            if (state && !state->mouseInside) {
                state->mouseInside = true;
                trackMouseLeave(canvas);
                raise(canvas, kMouseEnter);
            } else {
                raise(canvas, kMouseMove);
            }
            return 0;
        }
        case wm::MouseLeave:
            if (control::CanvasState* state = control::FindCanvasState(canvas)) state->mouseInside = false;
            raise(canvas, kMouseLeave);
            return 0;
        case wm::MouseWheel: {
            wheelAccumulator += static_cast<short>((wParam >> 16) & 0xFFFF);
            int notches = wheelAccumulator / kWheelNotch;
            if (notches != 0) {
                wheelAccumulator -= notches * kWheelNotch;
                raise(canvas, kMouseWheel);
            }
            return 0;
        }
        case wm::KeyDown:
            raise(canvas, kKeyDown);
            return 0;
        case wm::KeyUp:
            raise(canvas, kKeyUp);
            return 0;
        case wm::Char:
            if (wParam >= 32) raise(canvas, kKeyInput);
            return 0;
        case wm::SetFocus:
        case wm::KillFocus:
            raise(canvas, msg == wm::SetFocus ? kFocus : kLostFocus);
            invalidate(canvas);
            return 0;
        case wm::SetCursor:
            if (control::CanvasState* state = control::FindCanvasState(canvas)) {
                setCursor(state->cursor);
                return 1;
            }
            break;
        case wm::GetObject: {
            bool handled = false;
            LResult object = control::AnswerAccessibleQuery(canvas, control::ControlOnWindow(canvas), wParam,
                                                            lParam, &handled);
            if (handled) return object;
            break;
        }
        case wm::Timer:
            if (wParam != control::kMotionTimer) break;
            if (control::BarControl* bar = control::ControlOfCanvas(canvas))
                control::MotionTick(bar);
            else
                killTimer(canvas, wParam);  // its bar is gone
            return 0;
        case wm::NcDestroy:
            disconnectAccessible(canvas);
            control::DropCanvasState(canvas);
            break;
        default:
            break;
    }
    return defaultWindowProc(canvas, msg, wParam, lParam);
}

}  // namespace

// A window procedure is a boundary: what is thrown below it (out of
// memory) ends the message with the default answer.
LResult VB_CALLBACK CanvasInputProc(Window canvas, unsigned msg, WParam wParam, LParam lParam) {
    try {
        return canvasMessage(canvas, msg, wParam, lParam);
    } catch (...) {}
    if (msg == wm::NcDestroy) control::DropCanvasState(canvas);
    return defaultWindowProc(canvas, msg, wParam, lParam);
}

}  // namespace vb::events
