#include "control/canvas_state.h"

#include <unordered_map>

namespace vb::control {

namespace {

// Never destroyed: canvases may still receive messages during exit. Hashed:
// a mouse message over one bar costs the same on a page of a thousand.
std::unordered_map<platform::Window, CanvasState>& states() {
    static auto* byCanvas = new std::unordered_map<platform::Window, CanvasState>;
    return *byCanvas;
}

// Loaded on first use and shared by every bar; number 11 stays empty.
platform::Cursor cachedCursor(int number) {
    static platform::Cursor cache[kCursorHidden + 1] = {};
    static constexpr int kSystemIds[kCursorHidden] = {
        platform::idc::Arrow,  platform::idc::Cross,    platform::idc::IBeam,    platform::idc::Hand,
        platform::idc::Wait,   platform::idc::No,       platform::idc::SizeAll,  platform::idc::SizeWE,
        platform::idc::SizeNS, platform::idc::SizeNWSE, platform::idc::SizeNESW,
    };
    if (number == kCursorHidden) return nullptr;
    if (!cache[number]) cache[number] = platform::systemCursor(kSystemIds[number]);
    return cache[number];
}

}  // namespace

void InitCanvasState(platform::Window canvas) {
    CanvasState state;
    state.cursor = cachedCursor(kCursorDefault);
    states()[canvas] = state;
}

void DropCanvasState(platform::Window canvas) { states().erase(canvas); }

CanvasState* FindCanvasState(platform::Window canvas) {
    auto it = states().find(canvas);
    return it == states().end() ? nullptr : &it->second;
}

void SetCanvasCursorNumber(platform::Window canvas, int number) {
    if (number < kCursorDefault || number > kCursorHidden) return;
    CanvasState* state = FindCanvasState(canvas);
    if (!state) return;
    state->cursorNumber = number;
    state->cursor = cachedCursor(number);
    if (state->mouseInside) platform::setCursor(state->cursor);
}

void SetCanvasCursorHandle(platform::Window canvas, platform::Cursor cursor) {
    CanvasState* state = FindCanvasState(canvas);
    if (!state) return;
    state->cursor = cursor;
    if (state->mouseInside) platform::setCursor(cursor);
}

}  // namespace vb::control
