// The canvas window's input handling: messages become numbered events.
#pragma once

#include "platform/platform.h"

namespace vb::events {

enum EventCode : int {
    kMouseEnter = 65537,
    kMouseLeave = 65538,
    kMouseMove = 65539,
    kMouseLeftDown = 65540,
    kMouseLeftUp = 65541,
    kMouseRightDown = 65542,
    kMouseRightUp = 65543,
    kMouseMiddleDown = 65544,
    kMouseMiddleUp = 65545,
    kMouseWheel = 65546,
    kKeyDown = 65547,
    kKeyUp = 65548,
    kKeyInput = 65549,
    kLeftClick = 0,
    kRightClick = 1,
    kLeftDoubleClick = 2,
    kRightDoubleClick = 3,
    kFocus = 14000,
    kLostFocus = 14001,
};

platform::LResult VB_CALLBACK CanvasInputProc(platform::Window canvas, unsigned msg,
                                              platform::WParam wParam, platform::LParam lParam);

}  // namespace vb::events
