// Per-canvas input state: the mouse-inside flag and the chosen cursor.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace vb::control {

struct CanvasState {
    bool mouseInside = false;
    int cursorNumber = 0;
    platform::Cursor cursor = nullptr;
};

void InitCanvasState(platform::Window canvas);
void DropCanvasState(platform::Window canvas);
CanvasState* FindCanvasState(platform::Window canvas);

// The cursor numbers scripts pass to SetCursor, as the VLMBR_CURSOR_
// constants name them; 11 hides the pointer.
enum CursorNumber : int {
    kCursorDefault = 0,
    kCursorCross = 1,
    kCursorIBeam = 2,
    kCursorHand = 3,
    kCursorLoading = 4,
    kCursorDenied = 5,
    kCursorMove = 6,
    kCursorHorizontalArrows = 7,
    kCursorVerticalArrows = 8,
    kCursorDiagonalLeftUpRightDown = 9,
    kCursorDiagonalLeftDownRightUp = 10,
    kCursorHidden = 11,
};

// Cursor numbers kCursorDefault to kCursorHidden; any other number changes nothing.
void SetCanvasCursorNumber(platform::Window canvas, int number);
void SetCanvasCursorHandle(platform::Window canvas, platform::Cursor cursor);

}  // namespace vb::control
