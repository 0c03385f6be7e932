// The numbers events carry to Lua callbacks as EventCode; scripts compare
// them with the VLMBR_ constants, which are registered from this list.
#pragma once

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

// Bits of EventData::buttons.
enum ButtonBit : unsigned {
    kLeftButtonBit = 1,
    kRightButtonBit = 2,
    kMiddleButtonBit = 4,
};

}  // namespace vb::events
