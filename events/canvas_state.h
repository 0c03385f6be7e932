// Per-canvas input state: the mouse-inside flag and the chosen cursor.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vb::events {

struct CanvasState {
    bool mouseInside = false;
    int cursorNumber = 0;
    platform::Cursor cursor = nullptr;
};

void InitCanvasState(platform::Window canvas);
void DropCanvasState(platform::Window canvas);
CanvasState* FindCanvasState(platform::Window canvas);

// Cursor numbers 0 to 11; any other number changes nothing.
void SetCanvasCursorNumber(platform::Window canvas, int number);
void SetCanvasCursorHandle(platform::Window canvas, platform::Cursor cursor);

}  // namespace vb::events
