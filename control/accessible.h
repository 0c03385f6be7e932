// What screen readers are told about a bar: a progress bar named by its
// text, valued by the percentage it shows. Made from the control record at
// every ask, never kept apart from it.
#pragma once

#include <string>

#include "control/bar_control.h"
#include "platform/platform.h"

namespace vb::control {

// The whole percentage of the range the bar shows, rounded as its fill is.
int ShownPercent(const BarControl* c);
// A bar's accessible name: its text, or nothing when the text is only spaces.
std::string AccessibleName(const std::string& text);

// The description of the bar shown by `canvas`; false when no live bar
// shows there.
bool DescribeCanvas(platform::Window canvas, platform::AccessibleDescription* out);

// Answers WM_GETOBJECT received by `window` (the bar's canvas, or the host
// object's window it covers) with the bar's accessible object.
platform::LResult AnswerAccessibleQuery(platform::Window window, BarControl* bar, platform::WParam wParam,
                                        platform::LParam lParam, bool* handled);

}  // namespace vb::control
