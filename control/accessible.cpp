#include "control/accessible.h"

#include "control/bar_paint.h"
#include "render/rounding.h"

namespace vb::control {

int ShownPercent(const BarControl* c) {
    // The paint's own clipping of the position, over a 100-pixel bar.
    int p = ClippedPosition(c, c->Position);
    return static_cast<int>(render::RoundHalfEven(FillWidth(100, p, c->RangeMin, c->RangeMax)));
}

std::string AccessibleName(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos ? std::string() : text;
}

bool DescribeCanvas(platform::Window canvas, platform::AccessibleDescription* out) {
    BarControl* bar = ControlOfCanvas(canvas);
    if (!bar || !platform::isWindow(canvas)) return false;
    // Canvas inside container inside the host object's window.
    platform::Window host = platform::parentOf(platform::parentOf(canvas));
    try {
        platform::AccessibleDescription d;
        d.name = AccessibleName(bar->Text);
        d.busy = bar->Animation.busy;
        if (!d.busy) d.value = std::to_string(ShownPercent(bar)) + "%";
        d.unavailable = host && !platform::isWindowEnabled(host);
        d.invisible = !platform::isWindowVisible(canvas);
        platform::windowRect(canvas, &d.location);
        *out = std::move(d);
        return true;
    } catch (...) {
        return false;  // out of memory: the reader hears nothing rather than the host failing
    }
}

platform::LResult AnswerAccessibleQuery(platform::Window window, BarControl* bar, platform::WParam wParam,
                                        platform::LParam lParam, bool* handled) {
    *handled = false;
    if (!IsLiveControl(bar) || !platform::isWindow(bar->Canvas)) return 0;
    return platform::answerAccessibleQuery(window, bar->Canvas, wParam, lParam, DescribeCanvas, handled);
}

}  // namespace vb::control
